// KvDsgn: the selection in its three forms (FSelections for the inspector, FSelected for the
// surface, FSaveList with the grab handles) and the handles' own resize drag.
#include "KvDsgn.h"

#include <algorithm>
#include <exception>

#include "Windows.h"

KV_IMPLEMENT_CLASS(TKvDot, "KvDsgn") {}
KV_IMPLEMENT_CLASS(TKSaveBitmaps, "KvDsgn") {}

namespace {

constexpr TColor KvDotMultiColor = 0x808080;
constexpr TCursor KvDotCursors[] = {crSizeNWSE, crSizeNESW, crSizeNESW, crSizeNWSE,
                                    crSizeNS,   crSizeNS,   crSizeWE,   crSizeWE};

// A control's client origin in its parent's client coordinates, extended by its size.
TRect KvDsgnRectInParent(TControl* c) {
  TPoint p = c->GetParent() ? c->GetParent()->ScreenToClient(c->ClientOrigin()) : TPoint{};
  return Bounds(p.X, p.Y, c->GetWidth(), c->GetHeight());
}

// The component a surface item stands for: an icon's component, else the item itself.
TComponent* KvDsgnComponentOf(TComponent* item) {
  if (auto* icon = dynamic_cast<TKvIcon*>(item)) return icon->Component();
  return item;
}

bool KvDsgnIsMouseMessage(uint32_t msg) { return (msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST) || msg == WM_SETCURSOR; }

bool KvDsgnIsKeyMessage(uint32_t msg) { return msg >= WM_KEYFIRST && msg <= WM_KEYLAST; }

}  // namespace

// ---------------------------------------------------------------------------------------------
// TKDotBatch

TKDotBatch::TKDotBatch() : FOwner(!FCurrent), FUncaught(std::uncaught_exceptions()) {
  if (FOwner) FCurrent = this;
}

// A destructor must not throw: a failure while the parents realign or repaint (a handler of
// the host's) goes to the application's exception handling, as one in a message handler does,
// unless an exception is already leaving the pass.
TKDotBatch::~TKDotBatch() {
  if (!FOwner) return;
  FCurrent = nullptr;
  const bool unwinding = std::uncaught_exceptions() > FUncaught;
  bool failed = false;
  auto report = [&] {
    failed = true;
    if (!unwinding && Application) Application->HandleException(nullptr);
  };
  for (TWinControl* parent : FParents) {
    try {
      parent->EnableAlign();
    } catch (...) {
      if (!failed) report();
    }
  }
  if (FPaint && !failed) {
    try {
      // One synchronous paint takes every area invalidated since.
      FPaint->Update();
    } catch (...) {
      report();
    }
  }
}

void TKDotBatch::Touch(TWinControl* parent) {
  // A pass inside another one leaves the parents to the outer pass, which ends last and lets
  // them realign; held here, they would never align again.
  if (!FOwner) {
    FCurrent->Touch(parent);
    return;
  }
  if (!parent || std::find(FParents.begin(), FParents.end(), parent) != FParents.end()) return;
  parent->DisableAlign();
  FParents.push_back(parent);
}

bool TKDotBatch::OnTop(TKvDot* dot) {
  TWinControl* parent = dot->GetParent();
  if (!parent) return true;
  auto [it, fresh] = FOnTop.try_emplace(parent);
  if (fresh) {
    // Windowed children come last in the child list, topmost last: the handles above the
    // topmost other control.
    for (int i = parent->ControlCount() - 1; i >= 0; --i) {
      auto* above = dynamic_cast<TKvDot*>(parent->Controls(i));
      if (!above) break;
      it->second.insert(above);
    }
  }
  return it->second.count(dot) != 0;
}

void TKDotBatch::Raised(TKvDot* dot) {
  if (auto it = FOnTop.find(dot->GetParent()); it != FOnTop.end()) it->second.insert(dot);
}

void TKDotBatch::Forget(TKvDot* dot) {
  for (auto& [parent, dots] : FOnTop) dots.erase(dot);
  if (FPaint == dot) FPaint = nullptr;
}

// ---------------------------------------------------------------------------------------------
// TKvDot

// A handle has no owner: the form hears of every insertion and removal among its components,
// and so would each of its thousands of components of every handle. It goes with its marker,
// or with its parent like every child control.
TKvDot::TKvDot(TKSizeKind kind, TKFormDesigner* designer)
    : TWinControl(nullptr), FKind(kind), FDesigner(designer), FForm(designer->FForm) {
  SetDesigning(true, false);
  SetBounds(0, 0, 0, 0);
  SetEnabled(true);
  SetVisible(false);
  SetColor(clBlack);
  SetCursor(KvDotCursors[kind]);
  OnMouseDown = [this](TObject* s, TMouseButton b, TShiftState sh, int x, int y) { DotMouseDown(s, b, sh, x, y); };
  OnMouseMove = [this](TObject* s, TShiftState sh, int x, int y) { DotMouseMove(s, sh, x, y); };
  OnMouseUp = [this](TObject* s, TMouseButton b, TShiftState sh, int x, int y) { DotMouseUp(s, b, sh, x, y); };
}

// An enabled handle takes its own mouse input and cursor: it leaves design state while the
// message is handled. A disabled one is routed through the engine like any design control, and
// every other message is the handle's own, except keys: a handle that the toolkit gave the
// focus must not keep Delete from the engine.
void TKvDot::WndProc(TMessage& message) {
  if ((KvDsgnIsMouseMessage(message.Msg) && !GetEnabled()) || KvDsgnIsKeyMessage(message.Msg)) {
    TWinControl::WndProc(message);
    return;
  }
  bool designing = InState(csDesigning);
  if (designing) SetDesigning(false, false);
  try {
    TWinControl::WndProc(message);
  } catch (...) {
    if (designing && !InState(csDestroying)) SetDesigning(true, false);
    throw;
  }
  if (designing && !InState(csDestroying)) SetDesigning(true, false);
}

// A handle left to a form that goes may outlive its engine: it asks nothing of it here.
TKvDot::~TKvDot() {
  if (TKDotBatch* batch = TKDotBatch::Current()) batch->Forget(this);
}

void TKvDot::SetShown(bool shown) {
  if (!shown) SetBounds(0, 0, 0, 0);
  if (TKDotBatch* batch = TKDotBatch::Current()) {
    Invalidate();
    if (shown) batch->Paint(this);
  } else {
    Repaint();
  }
}

void TKvDot::SetControl(TControl* control, bool multi) {
  FControl = control;
  SetEnabled(!multi);
}

void TKvDot::DotMouseDown(TObject*, TMouseButton, TShiftState, int, int) {
  FMoved = false;
  FDesigner->EndDragUndo();
  FDesigner->FDrag = kdSize;
  FDesigner->BeginDragUndo();
  FLastPos = GetCursorPos();
  if (FOnBeginSize) FOnBeginSize(this);
}

void TKvDot::DotMouseMove(TObject*, TShiftState, int, int) {
  if (FDesigner->FDrag == kdNone || !FControl) return;
  TPoint c = GetCursorPos();
  TPoint d{c.X - FLastPos.X, c.Y - FLastPos.Y};
  if (FDesigner->GetSnapToGrid()) {
    TPoint g = FDesigner->GetGridXY();
    d = {KvRoundHalfEven(static_cast<double>(d.X) / g.X) * g.X, KvRoundHalfEven(static_cast<double>(d.Y) / g.Y) * g.Y};
  }
  int l = FControl->GetLeft(), t = FControl->GetTop(), w = FControl->GetWidth(), h = FControl->GetHeight();
  TRect r;  // Left, Top, Width, Height
  switch (FKind) {
    case LT: r = {l + d.X, t + d.Y, w - d.X, h - d.Y}; break;
    case LB: r = {l + d.X, t, w - d.X, h + d.Y}; break;
    case RT: r = {l, t + d.Y, w + d.X, h - d.Y}; break;
    case RB: r = {l, t, w + d.X, h + d.Y}; break;
    case MT: r = {l, t + d.Y, w, h - d.Y}; break;
    case MB: r = {l, t, w, h + d.Y}; break;
    case ML: r = {l + d.X, t, w - d.X, h}; break;
    case MR: r = {l, t, w + d.X, h}; break;
  }
  FDesigner->SetPropBounds(r);
  TPoint next;
  switch (FKind) {
    case LT:
    case MT:
    case ML: next = {r.Left, r.Top}; break;
    case LB:
    case MB: next = {r.Left, r.Bottom}; break;
    case RT:
    case MR: next = {r.Right, r.Top}; break;
    case RB: next = {r.Right, r.Bottom}; break;
  }
  if (next != FLastPos) FMoved = true;
  FLastPos = next;
}

void TKvDot::DotMouseUp(TObject*, TMouseButton, TShiftState, int, int) {
  if (FMoved) FDesigner->Modified();
  FDesigner->EndDragUndo();
  FDesigner->FDrag = kdNone;
  if (FOnEndSize) FOnEndSize(this);
}

// ---------------------------------------------------------------------------------------------
// TKSaveBitmaps

TKSaveBitmaps::TKSaveBitmaps(TKFormDesigner* designer, TControl* control, bool multi)
    : FForm(designer->FForm), FDesigner(designer) {
  for (int k = LT; k <= MR; ++k) FDots.Add(nullptr);
  Attach(control, multi);
}

TKSaveBitmaps::~TKSaveBitmaps() {
  FDestroying = true;
  TKDotBatch batch;
  // While the form itself goes, it frees the handles on it and its controls.
  bool formGoes = FForm->InState(csDestroying);
  for (int k = MR; k >= LT; --k) {
    TKvDot* dot = MadeDot(k);
    if (!dot || formGoes) continue;
    batch.Touch(dot->GetParent());
    delete dot;
  }
}

TKvDot* TKSaveBitmaps::Dot(TKSizeKind kind) {
  if (TKvDot* dot = MadeDot(kind)) return dot;
  auto* dot = new TKvDot(kind, FDesigner);
  FDots.Put(kind, dot);
  dot->FOnBeginSize = [this](TObject*) { HideDots(); };
  dot->FOnEndSize = [this](TObject*) { UpdateDots(); };
  ParentDot(dot);
  dot->SetControl(FControl, FMulti);
  return dot;
}

void TKSaveBitmaps::ParentDot(TKvDot* dot) {
  TWinControl* parent = FControl == FForm ? FForm : FControl->GetParent();
  if (dot->GetParent() == parent) return;
  TKDotBatch* batch = TKDotBatch::Current();
  if (batch) {
    batch->Touch(dot->GetParent());
    batch->Touch(parent);
  }
  FDesigner->FState.Include(dsBusy);
  try {
    dot->SetParent(parent);
  } catch (...) {
    FDesigner->FState.Exclude(dsBusy);
    throw;
  }
  FDesigner->FState.Exclude(dsBusy);
  if (batch && parent) batch->Raised(dot);  // a new child is the topmost
}

void TKSaveBitmaps::Attach(TControl* control, bool multi) {
  FControl = control;
  FMulti = multi;
  FColor = multi ? KvDotMultiColor : clBlack;
  for (int k = LT; k <= MR; ++k) {
    TKvDot* dot = MadeDot(k);
    if (!dot) continue;
    dot->SetShown(false);
    ParentDot(dot);
    dot->SetControl(control, multi);
  }
}

void TKSaveBitmaps::SetMulti(bool multi) {
  FMulti = multi;
  for (int k = LT; k <= MR; ++k) {
    TKvDot* dot = MadeDot(k);
    if (!dot) continue;
    dot->SetShown(false);
    dot->SetControl(dot->FControl, multi);
  }
  FColor = multi ? KvDotMultiColor : clBlack;
}

void TKSaveBitmaps::UpdateDots() {
  if (FDestroying || FControl == FForm || dynamic_cast<TKvDot*>(FControl)) return;
  TKDotBatch batch;
  TRect r = KvDsgnRectInParent(FControl);
  TPoint m{r.Left + FControl->GetWidth() / 2, r.Top + FControl->GetHeight() / 2};
  if (FMulti) {
    r.Left += 3;
    r.Top += 3;
    r.Right -= 2;
    r.Bottom -= 2;
  }
  PlaceDot(LT, r.Left, r.Top);
  PlaceDot(LB, r.Left, r.Bottom);
  PlaceDot(RT, r.Right, r.Top);
  PlaceDot(RB, r.Right, r.Bottom);
  if (!FMulti) {
    PlaceDot(MT, m.X, r.Top);
    PlaceDot(MB, m.X, r.Bottom);
    PlaceDot(ML, r.Left, m.Y);
    PlaceDot(MR, r.Right, m.Y);
  }
}

void TKSaveBitmaps::HideDots() {
  TKDotBatch batch;
  for (int k = LT; k <= MR; ++k)
    if (TKvDot* dot = MadeDot(k)) {
      batch.Touch(dot->GetParent());
      dot->SetShown(false);
    }
  // A synchronous paint of the control paints every area uncovered since, as its repaint did.
  if (FControl) batch.Paint(FControl);
}

void TKSaveBitmaps::PlaceDot(TKSizeKind kind, int x, int y) {
  TKvDot* dot = Dot(kind);
  TKDotBatch* batch = TKDotBatch::Current();  // UpdateDots runs one
  batch->Touch(dot->GetParent());
  dot->SetBounds(x - 3, y - 3, 5, 5);
  dot->SetColor(FColor);
  // Handles stay above the controls of their parent.
  if (!batch->OnTop(dot)) {
    dot->BringToFront();
    batch->Raised(dot);
  }
  dot->SetShown(true);
}

// ---------------------------------------------------------------------------------------------
// Engine selection operations.

void TKFormDesigner::ResetSelections() {
  delete FSelections;
  FSelections = new TComponentList();
}

void TKFormDesigner::SetSelected(TComponent* item) {
  if (item == FSelected) return;
  FSelected = item;
  FSelectedComponent = KvDsgnComponentOf(item);
  if (FShowHandles) ShowSelect();
  SelectionUpdated(item != nullptr);
}

void TKFormDesigner::SelectionUpdated(bool any) {
  if (FObjectInspector) FObjectInspector->ObjectChanged(any ? this : nullptr);
  if (!FFormDesigner) return;
  std::vector<TComponent*> now;
  now.reserve(FSelections->Count() + 1);
  for (int i = 0; i < FSelections->Count(); ++i) now.push_back(FSelections->Items(i));
  if (FSelected && (now.size() != 1 || now[0] != FSelected)) now.push_back(FSelected);
  if (now == FToldSelection) return;
  FToldSelection = std::move(now);
  FFormDesigner->SelectionChanged(this);
}

TKvIcon* TKFormDesigner::IconOf(TComponent* component) const {
  int i = FIconComponents->IndexOf(component);
  return i < 0 ? nullptr : Icon(i);
}

void TKFormDesigner::SelectComponent(TPersistent* instance) {
  auto* item = dynamic_cast<TComponent*>(instance);
  if (item)
    if (TKvIcon* icon = IconOf(item)) item = icon;
  bool alreadyAlone = FSaveList->Count() == 1 && FSelected && FSelected == item;
  if (!alreadyAlone) {
    if (auto* control = dynamic_cast<TControl*>(item)) SetSaveList(0, control, false);
    else ClearSaveList(0);
  }
  ResetSelections();
  if (item) FSelections->Add(KvDsgnComponentOf(item));
  SetSelected(item);
}

void TKFormDesigner::SetSelections(TComponentList* list) {
  TKDotBatch batch;
  bool multi = list->Count() > 1;
  ClearSaveList(0);
  ResetSelections();
  // The icon of each non-visual component, looked up once for the whole list.
  std::unordered_map<TComponent*, TKvIcon*> icons;
  for (int j = 0; j < FIconComponents->Count(); ++j)
    icons.emplace(static_cast<TComponent*>(FIconComponents->Get(j)), static_cast<TKvIcon*>(FIcons->Get(j)));
  for (int i = 0; i < list->Count(); ++i) {
    TComponent* item = list->Items(i);
    if (auto* icon = dynamic_cast<TKvIcon*>(item)) {
      AddSaveList(icon, multi);
      FSelections->Add(icon->Component());
      continue;
    }
    FSelections->Add(item);
    auto j = icons.find(item);
    AddSaveList(j != icons.end() ? j->second : item, multi);
  }
  InternalSetSelections();
}

void TKFormDesigner::GetSelections(TComponentList* list) {
  for (int i = 0; i < FSelections->Count(); ++i) list->Add(FSelections->Items(i));
}

void TKFormDesigner::InternalSetSelections() {
  if (FSelections->Count() == 0) return;
  FSelected = FSelections->Count() == 1 ? FSelections->Items(0) : nullptr;
  FSelectedComponent = FSelected;
  SelectionUpdated(true);
}

bool TKFormDesigner::AddOrRemoveComponent(TComponent* item) {
  TKDotBatch batch;
  ResetSelections();
  bool added = true;
  int n = FSaveList->Count();
  for (int i = n - 1; i >= 0; --i) {
    TKSaveBitmaps* marker = Marker(i);
    if (marker->FControl == item) {
      delete marker;
      FSaveList->Delete(i);
      added = false;
    } else {
      FSelections->Add(KvDsgnComponentOf(marker->FControl));
    }
  }
  if (added) {
    FSelections->Add(KvDsgnComponentOf(item));
    AddSaveList(item, FSelections->Count() > 1);
  }
  if (n == 1 && FSelections->Count() > 1) Marker(0)->SetMulti(true);
  else if (n > 1 && FSelections->Count() == 1) Marker(0)->SetMulti(false);
  if (FSelections->Count() == 0) SelectComponent(FForm);
  else InternalSetSelections();
  return added;
}

void TKFormDesigner::ClearSaveList(int first) {
  TKDotBatch batch;
  for (int i = FSaveList->Count() - 1; i >= first; --i) {
    delete Marker(i);
    FSaveList->Delete(i);
  }
}

void TKFormDesigner::SetSaveList(int index, TComponent* control, bool multi) {
  auto* c = dynamic_cast<TControl*>(control);
  if (!c) return;
  TKDotBatch batch;
  if (index < FSaveList->Count()) {
    Marker(index)->Attach(c, multi);
    ClearSaveList(index + 1);
  } else {
    AddSaveList(c, multi);
  }
}

void TKFormDesigner::AddSaveList(TComponent* control, bool multi) {
  if (auto* c = dynamic_cast<TControl*>(control)) FSaveList->Add(new TKSaveBitmaps(this, c, multi));
}

void TKFormDesigner::ShowSelect() {
  TKDotBatch batch;
  for (int i = 0; i < FSaveList->Count(); ++i) Marker(i)->UpdateDots();
}

// The handles are windows of their own: what they leave uncovered is painted again by the
// toolkit, and the marked controls need no repaint of their own.
void TKFormDesigner::HideSelect() {
  TKDotBatch batch;
  for (int i = FSaveList->Count() - 1; i >= 0; --i) Marker(i)->HideDots();
}

bool TKFormDesigner::IsIncludeSelections(TControl* control) const {
  for (int i = 0; i < FSaveList->Count(); ++i)
    if (Marker(i)->FControl == control) return true;
  return false;
}

TComponent* TKFormDesigner::OneOfSelections(TComponent* item) const {
  if (FSaveList->Count() <= 1) return nullptr;
  auto* control = dynamic_cast<TControl*>(item);
  return control && IsIncludeSelections(control) ? item : nullptr;
}

void TKFormDesigner::KeepSiblings(TWinControl* parent) {
  TKDotBatch batch;
  ResetSelections();
  for (int i = FSaveList->Count() - 1; i >= 0; --i) {
    TKSaveBitmaps* marker = Marker(i);
    if (marker->FControl->GetParent() == parent) {
      FSelections->Add(KvDsgnComponentOf(marker->FControl));
    } else {
      delete marker;
      FSaveList->Delete(i);
    }
  }
  HideSelect();
  InternalSetSelections();
}

void TKFormDesigner::SetPropBounds(TRect& r) {
  auto* control = dynamic_cast<TControl*>(FSelected);
  if (!control) return;
  control->SetBounds(r.Left, r.Top, r.Right, r.Bottom);
  TPoint o = control->ClientOrigin();
  r = Bounds(o.X, o.Y, control->GetWidth(), control->GetHeight());
}
