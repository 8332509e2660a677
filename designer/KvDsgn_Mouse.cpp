// KvDsgn: mouse and keys on the design surface: insertion by palette click, selection by click,
// Shift-click and rubber band, moving by dragging, Delete, the context menu, the component
// editor on double click, and the designed form's own menu.
#include "KvDsgn.h"

#include <memory>

#include "Windows.h"

namespace {

TRect KvMouseScreenRect(TControl* c) {
  TPoint o = c->ClientOrigin();
  return Bounds(o.X, o.Y, c->GetWidth(), c->GetHeight());
}

TRect KvMouseClientAreaOnScreen(TControl* c) {
  TRect r = c->GetClientRect();
  TPoint o = c->ClientOrigin();
  OffsetRect(r, o.X, o.Y);
  return r;
}

bool KvMouseAcceptsControls(TControl* c) { return c->ControlStyle.Contains(csAcceptsControls); }

TShiftState KvMouseShiftState() {
  TShiftState shift;
  if (GetKeyState(VK_SHIFT) < 0) shift.Include(ssShift);
  if (GetKeyState(VK_CONTROL) < 0) shift.Include(ssCtrl);
  if (GetKeyState(VK_MENU) < 0) shift.Include(ssAlt);
  return shift;
}

}  // namespace

TControl* TKFormDesigner::ControlAt(TWinControl* root, const TPoint& s) {
  std::function<TControl*(TControl*)> search = [&](TControl* control) -> TControl* {
    auto* w = dynamic_cast<TWinControl*>(control);
    if (!w) return nullptr;
    TRect bounds = KvMouseScreenRect(w);
    for (int i = w->ControlCount() - 1; i >= 0; --i) {
      TControl* c = w->Controls(i);
      if (!Selectable(c)) continue;
      if (TControl* found = search(c)) return found;
      TRect v;
      IntersectRect(v, KvMouseScreenRect(c), bounds);
      if ((dynamic_cast<TKvIcon*>(c) || !c->GetName().empty()) && PtInRect(v, s) &&
          c->Perform(CM_HITTEST, 0, PointToLParam(c->ClientOrigin())) != 0)
        return c;
    }
    return nullptr;
  };
  TControl* found = search(root);
  return found ? found : root;
}

TControl* TKFormDesigner::InsertionParent(TControl* target) const {
  while (target->GetParent() && !KvMouseAcceptsControls(target)) target = target->GetParent();
  return target;
}

bool TKFormDesigner::ControlWantsMouse(TControl* sender, int x, int y) {
  if (!sender || !sender->GetParent()) return false;
  TPoint p = sender->ScreenToClient(FForm->ClientToScreen({x, y}));
  return sender->Perform(CM_DESIGNHITTEST, 0, PointToLParam(p)) != 0;
}

bool TKFormDesigner::MouseDown(TControl* sender, TMouseButton button, TMessage& message) {
  if (FDrag != kdNone) return false;
  EndDragUndo();  // a release that never came
  // A press makes the design the active window, keys included, even where no window manager
  // activates windows on click.
  if (!FForm->Active() && FForm->GetVisible()) FForm->SetFocus();
  FMoved = false;
  SetCapture(FCaptureLabel);
  TRect clip = KvMouseScreenRect(FForm);

  FLastPos = GetCursorPos();
  FShift = KeysToShiftState(message.WParam);
  FDownPos = FForm->ScreenToClient(FLastPos);
  FBandPos = FDownPos;
  FShowHandles = true;
  TPoint p = FForm->ClientToScreen(FDownPos);
  TControl* target = ControlAt(FForm, p);
  // Asked now: a Shift-click that takes a control out of the selection frees the grey handle
  // that may be the sender.
  const bool senderWantsMouse = ControlWantsMouse(sender, FDownPos.X, FDownPos.Y);

  if (button == mbRight) {
    if (OneOfSelections(target)) {
      if (target->GetParent()) {
        KeepSiblings(target->GetParent());
        ShowSelect();
      } else {
        SelectComponent(target);
      }
    } else {
      SelectComponent(target);
    }
    ReleaseCapture();
    PrepareVerbs(FSelectedComponent);
    FPopupMenu->Popup(p.X, p.Y);
    return true;
  }

  if (TClass cls = FFormDesigner ? FFormDesigner->PaletteClass() : nullptr) {
    FFormDesigner->ResetPalette();
    if (GetCanInsert()) {
      ReleaseCapture();
      TKUndoScope undo(this, "Insert", {}, true);
      CreateComponent(cls, InsertionParent(target), FDownPos.X, FDownPos.Y, 0, 0);
      Modified();
      return true;
    }
  }

  FTarget = target;
  bool moveGroup = false;
  if (FShift.Contains(ssCtrl) && target != FForm && dynamic_cast<TWinControl*>(target)) {
    SelectComponent(FForm);
    if (KvMouseAcceptsControls(target)) clip = KvMouseClientAreaOnScreen(target);
  } else if (FShift.Contains(ssShift) && target != FForm) {
    if (FSelected == FForm) SelectComponent(target);
    else AddOrRemoveComponent(target);
    ShowSelect();
  } else {
    FShowHandles = false;
    HideSelect();
    if (target != FForm && !senderWantsMouse) SetCursor(crHandPoint);
    FTarget = FForm;
    if (OneOfSelections(target)) {
      if (target->GetParent()) KeepSiblings(target->GetParent());
      else SelectComponent(target);
      moveGroup = true;
    } else {
      SelectComponent(target);
    }
    if (target->GetParent()) clip = KvMouseClientAreaOnScreen(target->GetParent());
  }
  FShowHandles = true;
  ClipCursor(&clip);
  FDrag = moveGroup ? kdGroup : kdPressed;
  return !senderWantsMouse;
}

bool TKFormDesigner::MouseMove(TControl* sender) {
  TPoint c = GetCursorPos();
  TPoint q = FForm->ScreenToClient(c);
  if (ControlWantsMouse(sender, q.X, q.Y)) return false;
  if (!FActive || FDrag == kdNone) return false;
  TPoint d = SnapStep({c.X - FLastPos.X, c.Y - FLastPos.Y});
  if ((d.X || d.Y) && (FDrag == kdGroup || FSelected != FForm)) BeginDragUndo();
  if (FDrag == kdGroup) {
    if (FShift.Contains(ssShift)) return false;
    for (int i = 0; i < FSaveList->Count(); ++i) {
      TControl* m = Marker(i)->FControl;
      m->SetBounds(m->GetLeft() + d.X, m->GetTop() + d.Y, m->GetWidth(), m->GetHeight());
    }
  } else if (FSelected == FForm) {
    EraseBand();
    DrawBand(q);
    return true;
  } else {
    auto* selected = dynamic_cast<TControl*>(FSelected);
    if (FShift.Contains(ssShift) || !selected) return false;
    TRect r{selected->GetLeft() + d.X, selected->GetTop() + d.Y, selected->GetWidth(), selected->GetHeight()};
    SetPropBounds(r);
  }
  TPoint next{FLastPos.X + d.X, FLastPos.Y + d.Y};
  if (next != FLastPos) FMoved = true;
  FLastPos = next;
  return true;
}

void TKFormDesigner::DrawBand(const TPoint& p) {
  if (FDrag != kdPressed || FSelected != FForm) return;
  FBandPos = p;
  InvertBand();
  FDrag = kdBand;
}

void TKFormDesigner::EraseBand() {
  if (FDrag != kdBand) return;
  InvertBand();
  FDrag = kdPressed;
}

// The inverting frame over the form: drawing the same rectangle again erases it.
void TKFormDesigner::InvertBand() {
  TRect band{std::min(FDownPos.X, FBandPos.X), std::min(FDownPos.Y, FBandPos.Y), std::max(FDownPos.X, FBandPos.X),
             std::max(FDownPos.Y, FBandPos.Y)};
  if (!IsRectEmpty(band)) DrawXorFrame(FForm, band);
}

bool TKFormDesigner::SelectInBand() {
  if (FBandPos.X < FDownPos.X) std::swap(FBandPos.X, FDownPos.X);
  if (FBandPos.Y < FDownPos.Y) std::swap(FBandPos.Y, FDownPos.Y);
  TRect band{FDownPos.X, FDownPos.Y, FBandPos.X, FBandPos.Y};
  std::vector<TComponent*> candidates;
  if (FTarget == FForm) {
    for (int i = 0; i < FForm->ComponentCount(); ++i) candidates.push_back(FForm->Components(i));
  } else if (auto* container = dynamic_cast<TWinControl*>(FTarget)) {
    for (int i = 0; i < container->ControlCount(); ++i) candidates.push_back(container->Controls(i));
  }
  TComponentList taken;
  for (TComponent* c : candidates) {
    if (!Selectable(c)) continue;
    auto* control = static_cast<TControl*>(c);
    TPoint o = FForm->ScreenToClient(control->ClientOrigin());
    TRect hit;
    if (IntersectRect(hit, Bounds(o.X, o.Y, control->GetWidth(), control->GetHeight()), band)) taken.Add(c);
  }
  if (taken.Count() == 0) return false;
  SetSelections(&taken);
  return true;
}

bool TKFormDesigner::MouseUp(TMessage&) {
  if (FDrag == kdNone) return false;
  EraseBand();
  // A press on the selected form selects what the band from it to the release point touches.
  if (FDrag != kdGroup && FSelected == FForm) {
    FBandPos = FForm->ScreenToClient(GetCursorPos());
    SelectInBand();
  }
  if (FMoved) Modified();
  EndDragUndo();
  ShowSelect();
  ClipCursor(nullptr);
  FDrag = kdNone;
  return true;
}

bool TKFormDesigner::KeepCursor() { return FActive && FDrag != kdNone; }

bool TKFormDesigner::DoubleClick(TMessage&) {
  TPoint cursor = GetCursorPos();
  FDownPos = FForm->ScreenToClient(cursor);
  TControl* target = ControlAt(FForm, cursor);
  FShowHandles = true;
  SelectComponent(target);
  if (TComponentEditor* editor = GetComponentEditor(FSelectedComponent, this)) {
    try {
      editor->Edit();
    } catch (...) {
      delete editor;
      throw;
    }
    delete editor;
  }
  if (Application) Application->ProcessMessages();
  return true;
}

void TKFormDesigner::PrepareVerbs(TComponent* component) {
  TMenuItem* items = FPopupMenu->Items();
  for (; FVerbItems > 0; --FVerbItems) {
    TMenuItem* old = items->Items(0);
    items->Delete(0);
    delete old;
  }
  if (!component) return;
  std::unique_ptr<TComponentEditor> editor(GetComponentEditor(component, this));
  const int count = editor->GetVerbCount();
  if (count == 0) return;
  const std::string name = component->GetName();
  for (int i = 0; i < count; ++i) {
    TNotifyEvent onClick = [this, component, name, i](TObject*) { RunVerb(component, name, i); };
    items->Insert(i, NewItem(editor->GetVerb(i), 0, false, true, onClick, 0, ""));
  }
  items->Insert(count, NewLine());
  FVerbItems = count + 1;
}

void TKFormDesigner::RunVerb(TComponent* component, const std::string& name, int index) {
  if (component != FForm && GetComponent(name) != component) return;
  std::unique_ptr<TComponentEditor> editor(GetComponentEditor(component, this));
  editor->ExecuteVerb(index);
}

bool TKFormDesigner::KeyDown(TControl*, uint16_t key) {
  const TShiftState shift = KvMouseShiftState();
  if (KeyCommand(key, shift)) return true;
  // The user works on the design: the commands of the designer window answer there too.
  if (key != VK_DELETE) return FFormDesigner && FFormDesigner->IsShortCut(key, shift);
  return DeleteSelection("Delete");
}

bool TKFormDesigner::DeleteSelection(const std::string& caption) {
  if (!GetCanDelete()) return false;
  if (FSelected == FForm) return false;
  std::vector<TComponent*> doomed;
  std::vector<TComponent*> marked = MarkedControls();
  TKUndoScope undo(this, caption, marked, true);
  {
    // The markers leave the list before the design is marked modified: placing handles that
    // go at once would cost a window each.
    TKDotBatch batch;
    std::vector<std::unique_ptr<TKSaveBitmaps>> markers;
    for (int i = 0; i < FSaveList->Count(); ++i) {
      doomed.push_back(Marker(i)->FControl);
      markers.emplace_back(Marker(i));
    }
    FSaveList->Clear();
    if (!markers.empty()) Modified();
  }
  // Freeing a container frees its child controls too: only what is still among the form's
  // components is freed, and the form tells the engine of each one that leaves it.
  std::unordered_set<TComponent*> alive;
  alive.reserve(FForm->ComponentCount());
  for (int i = 0; i < FForm->ComponentCount(); ++i) alive.insert(FForm->Components(i));
  FAlive = &alive;
  try {
    for (TComponent* item : doomed) {
      if (!alive.count(item)) continue;
      if (auto* control = dynamic_cast<TControl*>(item)) control->SetParent(nullptr);
      if (auto* icon = dynamic_cast<TKvIcon*>(item)) DestroyIcon(icon);
      delete item;
    }
  } catch (...) {
    FAlive = nullptr;
    throw;
  }
  FAlive = nullptr;
  SelectComponent(LastSelectable());
  return true;
}

TComponent* TKFormDesigner::LastSelectable() {
  TComponent* found = FForm;
  TComponent* owner = FForm;
  for (;;) {
    TComponent* next = nullptr;
    for (int i = owner->ComponentCount() - 1; i >= 0; --i)
      if (Selectable(owner->Components(i))) {
        next = owner->Components(i);
        break;
      }
    if (!next) return found;
    found = next;
    owner = next;
  }
}

bool TKFormDesigner::MenuSelect(TControl*, TMessage& message) {
  TWMMenuSelect select(message);
  if (select.Menu() == 0) return false;
  TComponent* item = nullptr;
  for (int i = 0; i < FForm->ComponentCount() && !item; ++i) {
    TComponent* c = FForm->Components(i);
    if (auto* menu = dynamic_cast<TMenu*>(c); menu && static_cast<intptr_t>(menu->Handle()) == select.Menu()) {
      FMenu = menu;
      TMenuItem* items = menu->Items();
      int index = select.IDItem();
      // An entry that opens a sub-menu comes by its index, a plain command entry by its command
      // number (taken as an index, it would pick some other entry).
      if (!(select.MenuFlag() & MF_POPUP)) item = menu->FindItem(index, fkCommand);
      else if (items->Count() > 0) item = index < items->Count() ? items->Items(index) : items->Items(0);
      if (!item) break;
    } else if (auto* mi = dynamic_cast<TMenuItem*>(c); mi && static_cast<intptr_t>(mi->Handle()) == select.Menu()) {
      item = FMenu ? FMenu->FindItem(select.IDItem(), fkCommand) : nullptr;
      break;
    }
  }
  if (!item) return false;
  SelectComponent(item);
  return true;
}

std::vector<TComponent*> TKFormDesigner::MarkedControls() const {
  std::vector<TComponent*> marked;
  for (int i = 0; i < FSaveList->Count(); ++i) marked.push_back(Marker(i)->FControl);
  return marked;
}

void TKFormDesigner::BeginDragUndo() {
  if (FDragUndo) return;
  FDragUndo = true;
  BeginUndo(MarkedControls(), false);
}

void TKFormDesigner::EndDragUndo() {
  if (!FDragUndo) return;
  FDragUndo = false;
  EndUndo(FDrag == kdSize ? "Size" : "Move");
}
