#include "Controls.h"

#include <algorithm>

#include "Consts.h"
#include "Forms.h"
#include "Menus.h"
#include "TypInfo.h"
#include "qt/QtWidgets.h"

KV_IMPLEMENT_CLASS(TControl, "Controls") {
  b.Prop("Left", &TControl::GetLeft, &TControl::SetLeft);
  b.Prop("Top", &TControl::GetTop, &TControl::SetTop);
  b.Prop("Width", &TControl::GetWidth, &TControl::SetWidth);
  b.Prop("Height", &TControl::GetHeight, &TControl::SetHeight);
  b.Prop("AlignWithMargins", &TControl::GetAlignWithMargins, &TControl::SetAlignWithMargins).Default(false);
  b.Prop("Margins", &TControl::GetMargins, &TControl::SetMargins);
  b.Prop("Cursor", &TControl::GetCursor, &TControl::SetCursor).Type(TypeInfoTCursor()).Default(crDefault);
  b.Prop("Hint", &TControl::GetHint, &TControl::SetHint).StoredMethod(&TControl::IsHintStored);
}

KV_IMPLEMENT_CLASS(TWinControl, "Controls") {
  b.Prop("HelpContext", &TWinControl::GetHelpContext, &TWinControl::SetHelpContext)
      .Default(0)
      .StoredMethod(&TControl::IsHelpContextStored);
}

KV_IMPLEMENT_CLASS(TSizeConstraints, "Controls") {
  b.Prop("MaxHeight", &TSizeConstraints::GetMaxHeight, &TSizeConstraints::SetMaxHeight).Default(0);
  b.Prop("MaxWidth", &TSizeConstraints::GetMaxWidth, &TSizeConstraints::SetMaxWidth).Default(0);
  b.Prop("MinHeight", &TSizeConstraints::GetMinHeight, &TSizeConstraints::SetMinHeight).Default(0);
  b.Prop("MinWidth", &TSizeConstraints::GetMinWidth, &TSizeConstraints::SetMinWidth).Default(0);
}

KV_IMPLEMENT_CLASS(TMargins, "Controls") {
  b.Prop("Left", &TMargins::GetLeft, &TMargins::SetLeft).Default(3);
  b.Prop("Top", &TMargins::GetTop, &TMargins::SetTop).Default(3);
  b.Prop("Right", &TMargins::GetRight, &TMargins::SetRight).Default(3);
  b.Prop("Bottom", &TMargins::GetBottom, &TMargins::SetBottom).Default(3);
}

KV_IMPLEMENT_CLASS(TGraphicControl, "Controls") {}
KV_IMPLEMENT_CLASS(TCustomControl, "Controls") {}
KV_IMPLEMENT_CLASS(TControlCanvas, "Controls") {}
KV_IMPLEMENT_CLASS(TDragObject, "Controls") {}
KV_IMPLEMENT_CLASS(TDragControlObject, "Controls") {}

// =============================================================================================
// Types.
PTypeInfo TypeInfoTCaption() {
  static PTypeInfo ti = MakeStringTypeInfo("TCaption");
  return ti;
}

PTypeInfo TypeInfoTTabOrder() {
  static PTypeInfo ti = MakeOrdTypeInfo("TTabOrder", tkInteger, otSWord, -1, 32767);
  return ti;
}

namespace {
const std::pair<TCursor, const char*> kCursors[] = {{crDefault, "crDefault"},
                                                    {crNone, "crNone"},
                                                    {crArrow, "crArrow"},
                                                    {crCross, "crCross"},
                                                    {crIBeam, "crIBeam"},
                                                    {crSize, "crSize"},
                                                    {crSizeNESW, "crSizeNESW"},
                                                    {crSizeNS, "crSizeNS"},
                                                    {crSizeNWSE, "crSizeNWSE"},
                                                    {crSizeWE, "crSizeWE"},
                                                    {crUpArrow, "crUpArrow"},
                                                    {crHourGlass, "crHourGlass"},
                                                    {crDrag, "crDrag"},
                                                    {crNoDrop, "crNoDrop"},
                                                    {crHSplit, "crHSplit"},
                                                    {crVSplit, "crVSplit"},
                                                    {crMultiDrag, "crMultiDrag"},
                                                    {crSQLWait, "crSQLWait"},
                                                    {crNo, "crNo"},
                                                    {crAppStart, "crAppStart"},
                                                    {crHelp, "crHelp"},
                                                    {crHandPoint, "crHandPoint"},
                                                    {crSizeAll, "crSizeAll"}};
}  // namespace

bool CursorToIdent(int32_t cursor, std::string& ident) {
  for (auto& [v, n] : kCursors)
    if (v == cursor) {
      ident = n;
      return true;
    }
  return false;
}

bool IdentToCursor(const std::string& ident, int32_t& cursor) {
  for (auto& [v, n] : kCursors)
    if (SameText(ident, n)) {
      cursor = v;
      return true;
    }
  return false;
}

std::string CursorToString(TCursor cursor) {
  std::string s;
  return CursorToIdent(cursor, s) ? s : IntToStr(cursor);
}

TCursor StringToCursor(const std::string& s) {
  int32_t v;
  if (IdentToCursor(s, v)) return static_cast<TCursor>(v);
  return static_cast<TCursor>(StrToInt(s));
}

PTypeInfo TypeInfoTCursor() {
  static PTypeInfo ti = [] {
    PTypeInfo t = MakeOrdTypeInfo("TCursor", tkInteger, otSWord, -32768, 32767);
    std::vector<std::string> names;
    for (auto& [v, n] : kCursors) names.push_back(n);
    RegisterIntegerConsts(t, IdentToCursor, CursorToIdent, std::move(names));
    return t;
  }();
  return ti;
}

void RaiseUnknownControlProperty(std::string_view name) {
  throw EPropertyError(Format(SUnknownProperty, std::string(name)));
}

TShiftState KeysToShiftState(intptr_t keys) {
  TShiftState s;
  if (keys & MK_SHIFT) s.Include(ssShift);
  if (keys & MK_CONTROL) s.Include(ssCtrl);
  if (keys & MK_LBUTTON) s.Include(ssLeft);
  if (keys & MK_RBUTTON) s.Include(ssRight);
  if (keys & MK_MBUTTON) s.Include(ssMiddle);
  if (GetKeyState(VK_MENU) < 0) s.Include(ssAlt);
  return s;
}

intptr_t ShiftStateToKeys(TShiftState s) {
  intptr_t k = 0;
  if (s.Contains(ssShift)) k |= MK_SHIFT;
  if (s.Contains(ssCtrl)) k |= MK_CONTROL;
  if (s.Contains(ssLeft)) k |= MK_LBUTTON;
  if (s.Contains(ssRight)) k |= MK_RBUTTON;
  if (s.Contains(ssMiddle)) k |= MK_MBUTTON;
  return k;
}

namespace {
bool IsMouseMsg(uint32_t msg) { return msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST; }
// Button releases that leave no button down end the mouse capture, after their delivery.
bool ReleasesCapture(const TMessage& m) {
  return (m.Msg == WM_LBUTTONUP || m.Msg == WM_RBUTTONUP || m.Msg == WM_MBUTTONUP) &&
         (m.WParam & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)) == 0;
}

TControl* gCapture = nullptr;

// The drag in progress.
struct TDragSession {
  TDragObject* Object = nullptr;
  bool OwnObject = false;         // made by BeginDrag, freed when it ends
  TControl* Source = nullptr;     // the control dragged, for OnEndDrag
  TWinControl* Handle = nullptr;  // the window under the cursor, which gets CM_DRAG
  bool Accepted = false;
  // BeginDrag(false): the drag starts once the mouse has moved by Threshold.
  TDragObject* Pending = nullptr;
  TPoint StartPos;
  int Threshold = 5;
};
TDragSession gDrag;
}  // namespace

// =============================================================================================
// Capture and parents.
void SetCaptureControl(TControl* control) { gCapture = control; }

void RouteMouseMessage(TWinControl* receiver, TMessage& m) {
  TControl* cap = gCapture;
  TWinControl* host = cap ? (Cast<TWinControl>(cap) ? static_cast<TWinControl*>(cap) : cap->GetParent()) : nullptr;
  if (!host || cap == receiver) {
    receiver->WindowProc(m);
    return;
  }
  // A windowless control that has the capture is reached through its parent.
  TMessage cm = m;
  cm.LParam = PointToLParam(host->ScreenToClient(receiver->ClientToScreen(TWMMouse(m).Pos())));
  host->WindowProc(cm);
  m.Result = cm.Result;
  if (ReleasesCapture(m)) gCapture = nullptr;
}
TControl* GetCaptureControl() { return gCapture; }

TCustomForm* GetParentForm(const TControl* control) {
  const TControl* c = control;
  while (c && c->GetParent()) c = c->GetParent();
  return Cast<TCustomForm>(const_cast<TControl*>(c));
}

bool DesignerHooked(TControl* control, TMessage& message) {
  TCustomForm* form = GetParentForm(control);
  return form && form->GetDesigner() && form->GetDesigner()->IsDesignMsg(control, message);
}

// =============================================================================================
// TSizeConstraints
void TSizeConstraints::Assign(TPersistent* source) {
  if (auto* c = Cast<TSizeConstraints>(source)) {
    FMaxHeight = c->FMaxHeight;
    FMaxWidth = c->FMaxWidth;
    FMinHeight = c->FMinHeight;
    FMinWidth = c->FMinWidth;
    if (FControl)
      FControl->SetBounds(FControl->GetLeft(), FControl->GetTop(), FControl->GetWidth(), FControl->GetHeight());
    return;
  }
  TPersistent::Assign(source);
}

TPersistent* TSizeConstraints::GetOwner() const { return FControl; }

void TSizeConstraints::Set(int& field, int v) {
  field = std::max(0, v);
  // A maximum below the minimum pulls the minimum down, and the other way round, as in the VCL.
  if (&field == &FMaxHeight && FMaxHeight && FMinHeight > FMaxHeight) FMinHeight = FMaxHeight;
  if (&field == &FMinHeight && FMaxHeight && FMinHeight > FMaxHeight) FMaxHeight = FMinHeight;
  if (&field == &FMaxWidth && FMaxWidth && FMinWidth > FMaxWidth) FMinWidth = FMaxWidth;
  if (&field == &FMinWidth && FMaxWidth && FMinWidth > FMaxWidth) FMaxWidth = FMinWidth;
  if (FControl)
    FControl->SetBounds(FControl->GetLeft(), FControl->GetTop(), FControl->GetWidth(), FControl->GetHeight());
}

void TSizeConstraints::Apply(int& width, int& height) const {
  if (FMaxWidth > 0 && width > FMaxWidth) width = FMaxWidth;
  if (FMinWidth > 0 && width < FMinWidth) width = FMinWidth;
  if (FMaxHeight > 0 && height > FMaxHeight) height = FMaxHeight;
  if (FMinHeight > 0 && height < FMinHeight) height = FMinHeight;
}

// =============================================================================================
// TMargins
void TMargins::Assign(TPersistent* source) {
  if (auto* m = Cast<TMargins>(source)) {
    FLeft = m->FLeft;
    FTop = m->FTop;
    FRight = m->FRight;
    FBottom = m->FBottom;
    if (FControl && FControl->FAlignWithMargins) FControl->RequestAlign();
    return;
  }
  TPersistent::Assign(source);
}

TPersistent* TMargins::GetOwner() const { return FControl; }

void TMargins::Set(int& field, int v) {
  field = std::max(0, v);
  if (FControl && FControl->FAlignWithMargins) FControl->RequestAlign();
}

// =============================================================================================
// TControl
TControl::TControl(TComponent* AOwner)
    : TComponent(AOwner), FFont(new TFont), FConstraints(new TSizeConstraints(this)), FMargins(new TMargins(this)) {
  RegisterLiveControl(this, true);
  WindowProc = [this](TMessage& m) { WndProc(m); };
  ControlStyle = {csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
  FFont->OnChange = TNotifyEvent([this](TObject* s) { FontChanged(s); });
}

TControl::~TControl() {
  Destroying();
  SetAction(nullptr);
  RegisterLiveControl(this, false);
  if (gCapture == this) gCapture = nullptr;
  if (gDrag.Object) {
    if (gDrag.Source == this) gDrag.Source = nullptr;
    if (gDrag.Object->DragTarget == this) gDrag.Object->DragTarget = nullptr;
    if (gDrag.Handle == this) gDrag.Handle = nullptr;
    if (auto* d = Cast<TDragControlObject>(gDrag.Object); d && d->Control == this) DragDone(false);
  }
  if (FParent) FParent->RemoveControl(this);
  delete FFont;
  delete FConstraints;
  delete FMargins;
}

intptr_t TControl::Perform(uint32_t msg, intptr_t wParam, intptr_t lParam) {
  TMessage m{msg, wParam, lParam, 0};
  WindowProc(m);
  return m.Result;
}

void TControl::WndProc(TMessage& m) {
  struct CaptureRelease {
    bool On;
    ~CaptureRelease() {
      if (On) gCapture = nullptr;
    }
  } release{ReleasesCapture(m)};
  if (gDrag.Object && IsMouseMsg(m.Msg)) {
    // While dragging, the mouse drives the drag and nothing else.
    TPoint screen = ClientToScreen(TWMMouse(m).Pos());
    if (m.Msg == WM_MOUSEMOVE) {
      DragTo(screen);
    } else if (m.Msg == WM_LBUTTONUP) {
      DragDone(true);
    }
    return;
  }
  if (InState(csDesigning)) {
    if (DesignerHooked(this, m)) return;
  } else if (IsMouseMsg(m.Msg)) {
    if (gDrag.Pending && gDrag.Source == this) {
      TPoint p = ClientToScreen(TWMMouse(m).Pos());
      if (m.Msg == WM_MOUSEMOVE && (std::abs(p.X - gDrag.StartPos.X) >= gDrag.Threshold ||
                                    std::abs(p.Y - gDrag.StartPos.Y) >= gDrag.Threshold)) {
        gDrag.Object = gDrag.Pending;
        gDrag.Pending = nullptr;
        DragTo(p);
        return;
      }
      if (m.Msg == WM_LBUTTONUP) {
        if (gDrag.OwnObject) delete gDrag.Pending;
        gDrag = TDragSession{};
      }
    }
    if (!ControlStyle.Contains(csDoubleClicks) && m.Msg == WM_LBUTTONDBLCLK) m.Msg = WM_LBUTTONDOWN;
    if (m.Msg == WM_LBUTTONDOWN || m.Msg == WM_LBUTTONDBLCLK) {
      if (FDragMode == dmAutomatic) {
        BeginDrag(false);
        return;
      }
      ControlState.Include(csLButtonDown);
    } else if (m.Msg == WM_LBUTTONUP) {
      ControlState.Exclude(csLButtonDown);
    }
  }
  Dispatch(m);
}

void TControl::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case WM_LBUTTONDOWN: return MouseMessage(m, mbLeft, true, false);
    case WM_RBUTTONDOWN: return MouseMessage(m, mbRight, true, false);
    case WM_MBUTTONDOWN: return MouseMessage(m, mbMiddle, true, false);
    case WM_LBUTTONDBLCLK: return MouseMessage(m, mbLeft, true, true);
    case WM_RBUTTONDBLCLK: return MouseMessage(m, mbRight, true, true);
    case WM_MBUTTONDBLCLK: return MouseMessage(m, mbMiddle, true, true);
    case WM_LBUTTONUP: return MouseMessage(m, mbLeft, false, false);
    case WM_RBUTTONUP: return MouseMessage(m, mbRight, false, false);
    case WM_MBUTTONUP: return MouseMessage(m, mbMiddle, false, false);
    case WM_MOUSEMOVE: {
      TWMMouse mm(m);
      MouseMove(KeysToShiftState(mm.Keys()), mm.XPos(), mm.YPos());
      break;
    }
    case CM_DRAG: return DoCMDrag(m);
    case WM_MOUSEWHEEL:
      MouseWheelHandler(m);
      if (m.Result) return;
      break;
    case CM_MOUSEWHEEL: return CMMouseWheel(m);
    case CM_HITTEST: m.Result = HTCLIENT; return;
    case CM_PARENTCOLORCHANGED: return CMParentColorChanged(m);
    case CM_PARENTFONTCHANGED: return CMParentFontChanged(m);
    case CM_PARENTSHOWHINTCHANGED: return CMParentShowHintChanged(m);
    case CM_COLORCHANGED:
    case CM_FONTCHANGED:
    case CM_ENABLEDCHANGED:
    case CM_TEXTCHANGED: Invalidate(); break;
    case CM_CURSORCHANGED: SetCursor(GetCursor()); break;
    case WM_CANCELMODE:
    case CM_CANCELMODE:
      if (gCapture == this) gCapture = nullptr;
      break;
    default: break;
  }
  DefaultHandler(m);
}

void TControl::DefaultHandler(TMessage&) {}

void TControl::MouseWheelHandler(TMessage& m) {
  TPoint screen = ClientToScreen(TWMMouse(m).Pos());
  m.Result = Perform(CM_MOUSEWHEEL, m.WParam, PointToLParam(screen));
}

void TControl::CMMouseWheel(TMessage& m) {
  TShiftState shift = KeysToShiftState(m.WParam & 0xFFFF);
  int delta = static_cast<int16_t>((m.WParam >> 16) & 0xFFFF);
  m.Result = 0;
  if (DoMouseWheel(shift, delta, TWMMouse(m).Pos())) m.Result = 1;
  else if (FParent) m.Result = FParent->Perform(CM_MOUSEWHEEL, m.WParam, m.LParam);
}

bool TControl::DoMouseWheel(TShiftState shift, int wheelDelta, TPoint mousePos) {
  bool handled = false;
  if (OnMouseWheel) OnMouseWheel(this, shift, wheelDelta, mousePos, handled);
  if (handled) return true;
  // Fine-grained wheels send parts of a notch; whole notches make the up and down events.
  FWheelAccumulator += wheelDelta;
  while (std::abs(FWheelAccumulator) >= WHEEL_DELTA) {
    bool down = FWheelAccumulator < 0;
    FWheelAccumulator += down ? WHEEL_DELTA : -WHEEL_DELTA;
    handled = down ? DoMouseWheelDown(shift, mousePos) : DoMouseWheelUp(shift, mousePos);
  }
  return handled;
}

bool TControl::DoMouseWheelDown(TShiftState shift, TPoint mousePos) {
  bool handled = false;
  if (OnMouseWheelDown) OnMouseWheelDown(this, shift, mousePos, handled);
  return handled;
}

bool TControl::DoMouseWheelUp(TShiftState shift, TPoint mousePos) {
  bool handled = false;
  if (OnMouseWheelUp) OnMouseWheelUp(this, shift, mousePos, handled);
  return handled;
}

void TControl::MouseMessage(TMessage& m, TMouseButton button, bool down, bool dbl) {
  TWMMouse mm(m);
  TShiftState shift = KeysToShiftState(mm.Keys());
  if (down) {
    if (button == mbLeft) {
      if (ControlStyle.Contains(csCaptureMouse)) gCapture = this;
      if (ControlStyle.Contains(csClickEvents)) ControlState.Include(csClicked);
    }
    if (dbl) {
      shift.Include(ssDouble);
      if (button == mbLeft && ControlStyle.Contains(csClickEvents)) DblClick();
    }
    MouseDown(button, shift, mm.XPos(), mm.YPos());
  } else {
    if (button == mbLeft) {
      if (ControlStyle.Contains(csCaptureMouse) && gCapture == this) gCapture = nullptr;
      if (ControlState.Contains(csClicked)) {
        ControlState.Exclude(csClicked);
        if (PtInRect(GetClientRect(), mm.Pos())) Click();
      }
    }
    MouseUp(button, shift, mm.XPos(), mm.YPos());
    if (button == mbRight) DoContextPopup(ClientToScreen(mm.Pos()));
  }
  DefaultHandler(m);
}

void TControl::Click() {
  if (!ExecuteActionClick() && OnClick) OnClick(this);
}
void TControl::DblClick() {
  if (OnDblClick) OnDblClick(this);
}
void TControl::MouseDown(TMouseButton b, TShiftState s, int x, int y) {
  if (OnMouseDown) OnMouseDown(this, b, s, x, y);
}
void TControl::MouseMove(TShiftState s, int x, int y) {
  if (OnMouseMove) OnMouseMove(this, s, x, y);
}
void TControl::MouseUp(TMouseButton b, TShiftState s, int x, int y) {
  if (OnMouseUp) OnMouseUp(this, b, s, x, y);
}
void TControl::Resize() {
  if (OnResize) OnResize(this);
}
bool TControl::DoContextPopup(const TPoint& mousePos) { return ContextPopup(this, mousePos); }

void TControl::SetPopupMenu(TPopupMenu* v) {
  if (FPopupMenu == v) return;
  if (FPopupMenu) FPopupMenu->RemoveFreeNotification(this);
  FPopupMenu = v;
  if (v) v->FreeNotification(this);
}

void TControl::Notification(TComponent* c, TOperation op) {
  TComponent::Notification(c, op);
  if (op == opRemove && c == FPopupMenu) FPopupMenu = nullptr;
  if (op == opRemove) ActionNotification(c);
}

void PublishPopupMenuProperty(TClassBuilderBase& b) {
  TPropInfo* p = b.NewProp("PopupMenu", TypeInfoOf<TPopupMenu*>());
  p->GetObj = [](const TObject* o) -> TObject* { return static_cast<const TControl*>(o)->GetPopupMenu(); };
  p->SetObj = [](TObject* o, TObject* v) { static_cast<TControl*>(o)->SetPopupMenu(static_cast<TPopupMenu*>(v)); };
}

void TControl::ChangeScale(int m, int d) {
  if (m == d) return;
  SetBounds(MulDiv(FLeft, m, d), MulDiv(FTop, m, d), MulDiv(FLeft + FWidth, m, d) - MulDiv(FLeft, m, d),
            MulDiv(FTop + FHeight, m, d) - MulDiv(FTop, m, d));
  if (!FParentFont) FFont->SetSize(MulDiv(FFont->GetSize(), m, d));
}

// --- Parent and z-order.
void TControl::SetParent(TWinControl* value) {
  if (FParent == value) return;
  if (value == this) throw EInvalidOperation("A control cannot have itself as its parent");
  if (FParent) FParent->RemoveControl(this);
  if (value) value->InsertControl(this);
}

void TControl::SetZOrder(bool topMost) {
  if (!FParent) {
    // A window of its own is stacked among the screen's windows.
    if (auto* w = Cast<TWinControl>(this); w && w->HandleAllocated()) qtw::Stack(w->FHandle, topMost);
    return;
  }
  auto move = [&](auto& list) {
    auto it = std::find(list.begin(), list.end(), this);
    if (it == list.end()) return;
    auto* self = *it;
    list.erase(it);
    if (topMost) list.push_back(self);
    else list.insert(list.begin(), self);
  };
  if (auto* w = Cast<TWinControl>(this)) {
    move(FParent->FWinControls);
    for (TWinControl* sib : FParent->FWinControls)
      if (sib->HandleAllocated()) qtw::Raise(sib->FHandle);
    (void)w;
  } else {
    move(FParent->FControls);
  }
  InvalidateControl();
}

void TControl::BringToFront() { SetZOrder(true); }
void TControl::SendToBack() { SetZOrder(false); }

// --- Hints.
std::string GetShortHint(const std::string& hint) { return hint.substr(0, hint.find('|')); }

std::string HintAt(TWinControl* window, const TPoint& p) {
  TControl* c = window->ControlAtPos(p, true);
  if (!c) c = window;
  if (c->InState(csDesigning) || !c->GetShowHint()) return "";
  return GetShortHint(c->GetHint());
}

// --- Bounds.
void TControl::SetBounds(int left, int top, int width, int height) {
  // As Windows does for windows: a size below zero is zero (a grab handle dragged past the
  // opposite edge must not leave a control that cannot be seen, hit or saved sensibly).
  width = std::max(0, width);
  height = std::max(0, height);
  FConstraints->Apply(width, height);
  if (left == FLeft && top == FTop && width == FWidth && height == FHeight) return;
  bool moved = left != FLeft || top != FTop;
  bool sized = width != FWidth || height != FHeight;
  if (FParent && !Is<TWinControl>()) InvalidateControl();  // the old area
  FLeft = left;
  FTop = top;
  FWidth = width;
  FHeight = height;
  BoundsChanged();
  if (Is<TWinControl>()) {
    if (moved) Perform(WM_MOVE, 0, PointToLParam({left, top}));
    if (sized) Perform(WM_SIZE, SIZE_RESTORED, PointToLParam({width, height}));
  }
  if (sized && !InState(csLoading)) Resize();
  RequestAlign();
}

void TControl::BoundsChanged() { InvalidateControl(); }

void TControl::SetClientWidth(int v) { SetWidth(v + FWidth - GetClientRect().Width()); }
void TControl::SetClientHeight(int v) { SetHeight(v + FHeight - GetClientRect().Height()); }

void TControl::SetName(const std::string& name) {
  auto* ownerControl = dynamic_cast<TControl*>(GetOwner());
  bool changeText = ControlStyle.Contains(csSetCaption) && !InState(csLoading) && GetName() == GetText() &&
                    !(ownerControl && ownerControl->InState(csLoading));
  TComponent::SetName(name);
  if (changeText) SetText(name);
}

TPoint TControl::ClientOrigin() const {
  if (!FParent) return {FLeft, FTop};
  TPoint p = FParent->ClientOrigin();
  return {p.X + FLeft, p.Y + FTop};
}

TPoint TControl::ClientToScreen(const TPoint& p) const {
  TPoint o = ClientOrigin();
  return {p.X + o.X, p.Y + o.Y};
}

TPoint TControl::ScreenToClient(const TPoint& p) const {
  TPoint o = ClientOrigin();
  return {p.X - o.X, p.Y - o.Y};
}

void TControl::RequestAlign() {
  if (!FParent) return;
  // Windows outside the tab order are a designer's marks on the form (grab handles, icons): they
  // are never aligned and are no content, so moving them leaves the parent's layout as it is.
  if (auto* w = Cast<TWinControl>(this); w && FAlign == alNone && !w->TakesTabOrder()) return;
  FParent->AlignControl(this);
}

// --- Appearance.
void TControl::SetVisible(bool v) {
  if (FVisible == v) return;
  VisibleChanging();
  FVisible = v;
  Perform(CM_VISIBLECHANGED, v, 0);
  if (auto* w = Cast<TWinControl>(this)) w->UpdateShowing();
  else InvalidateControl();
  RequestAlign();
}

bool TControl::DesignVisible() const {
  return FVisible || (InState(csDesigning) && !ControlStyle.Contains(csNoDesignVisible));
}

void TControl::CheckDesignVisible() {
  if (auto* w = Cast<TWinControl>(this)) w->UpdateShowing();
  else InvalidateControl();
}

void TControl::SetEnabled(bool v) {
  if (FEnabled == v) return;
  FEnabled = v;
  Perform(CM_ENABLEDCHANGED, 0, 0);
}

void TControl::SetColor(TColor v) {
  if (FColor == v) return;
  FColor = v;
  FParentColor = false;
  Perform(CM_COLORCHANGED, 0, 0);
}

void TControl::SetParentColor(bool v) {
  if (FParentColor == v) return;
  FParentColor = v;
  if (v && FParent) Perform(CM_PARENTCOLORCHANGED, 0, 0);
}

void TControl::CMParentColorChanged(TMessage& m) {
  if (FParentColor && FParent) {
    TColor c = m.WParam ? static_cast<TColor>(m.LParam) : FParent->GetColor();
    if (c != FColor) {
      FColor = c;
      Perform(CM_COLORCHANGED, 0, 0);
    }
  }
  DefaultHandler(m);
}

void TControl::FontChanged(TObject*) {
  FParentFont = false;
  Perform(CM_FONTCHANGED, 0, 0);
}

void TControl::SetParentFont(bool v) {
  if (FParentFont == v) return;
  FParentFont = v;
  if (v && FParent) Perform(CM_PARENTFONTCHANGED, 0, 0);
}

void TControl::CMParentFontChanged(TMessage& m) {
  if (FParentFont && FParent) {
    FFont->Assign(FParent->GetFont());  // raises OnChange, which clears the flag
    FParentFont = true;
  }
  DefaultHandler(m);
}

void TControl::SetShowHint(bool v) {
  FShowHint = v;
  FParentShowHint = false;
  Perform(CM_SHOWHINTCHANGED, 0, 0);
}

void TControl::SetParentShowHint(bool v) {
  if (FParentShowHint == v) return;
  FParentShowHint = v;
  if (v && FParent) Perform(CM_PARENTSHOWHINTCHANGED, 0, 0);
}

void TControl::CMParentShowHintChanged(TMessage& m) {
  if (FParentShowHint && FParent) FShowHint = FParent->GetShowHint();
  DefaultHandler(m);
}

void TControl::SetText(const TCaption& v) {
  if (FText == v) return;
  FText = v;
  Perform(CM_TEXTCHANGED, 0, 0);
}

void TControl::SetCursor(TCursor v) {
  bool changed = FCursor != v;
  FCursor = v;
  if (changed) Perform(CM_CURSORCHANGED, 0, 0);
}

void TControl::SetAlign(TAlign v) {
  if (FAlign == v) return;
  FAlign = v;
  RequestAlign();
}

void TControl::SetAnchors(TAnchors v) { FAnchors = v; }

void TControl::SetAlignWithMargins(bool v) {
  if (FAlignWithMargins == v) return;
  FAlignWithMargins = v;
  RequestAlign();
}

void TControl::SetParentBiDiMode(bool v) {
  FParentBiDiMode = v;
  if (v && FParent) FBiDiMode = FParent->FBiDiMode;
}

// --- Painting. A windowless control's pixels belong to its parent's widget.
void TControl::InvalidateControl() {
  if (!FParent || !FParent->HandleAllocated()) return;
  TRect r = BoundsRect();
  qtw::Invalidate(FParent->FHandle, &r);
}

void TControl::Invalidate() { InvalidateControl(); }

void TControl::Update() {
  if (FParent) FParent->Update();
}

void TControl::Repaint() {
  Invalidate();
  Update();
}

void TControl::Changed() { Perform(CM_CHANGED, 0, reinterpret_cast<intptr_t>(this)); }

void TControl::SendCancelMode() {
  if (TCustomForm* f = GetParentForm(this)) f->Perform(CM_CANCELMODE, 0, reinterpret_cast<intptr_t>(this));
}

// --- Streaming.
void TControl::DefineProperties(TFiler* filer) {
  filer->DefineProperty(
      "IsControl", [this](TReader* r) { IsControl = r->ReadBoolean(); },
      [this](TWriter* w) { w->WriteBoolean(IsControl); }, IsControl);
}

TComponent* TControl::GetParentComponent() const { return FParent; }

void TControl::SetParentComponent(TComponent* value) {
  if (auto* w = Cast<TWinControl>(value)) SetParent(w);
}

void TControl::ReadState(TReader* reader) {
  ControlState.Include(csReadingState);
  if (auto* w = Cast<TWinControl>(reader->Parent)) SetParent(w);
  try {
    TComponent::ReadState(reader);
  } catch (...) {
    ControlState.Exclude(csReadingState);
    throw;
  }
  ControlState.Exclude(csReadingState);
  if (FParent && FParentColor) Perform(CM_PARENTCOLORCHANGED, 0, 0);
  if (FParent && FParentFont) Perform(CM_PARENTFONTCHANGED, 0, 0);
}

// =============================================================================================
// Drag and drop.
namespace {
TObject* DragSourceArg() {
  if (auto* d = Cast<TDragControlObject>(gDrag.Object)) return d->Control;
  return gDrag.Object;
}

intptr_t DragMessage(TWinControl* handle, TDragMessage msg, TControl* target, const TPoint& pos) {
  if (!handle) return 0;
  TDragRec rec;
  rec.Pos = pos;
  rec.Source = gDrag.Object;
  rec.Target = target;
  return handle->Perform(CM_DRAG, msg, reinterpret_cast<intptr_t>(&rec));
}

void StartDrag(TControl* source, TDragObject* object) {
  gDrag.Object = object;
  gDrag.Source = source;
  gDrag.Handle = nullptr;
  gDrag.Accepted = false;
  object->DragTarget = nullptr;
  object->Cancelling = false;
}
}  // namespace

TCursor TDragObject::GetDragCursor(bool accepted, int, int) { return accepted ? crDrag : crNoDrop; }

TCursor TDragControlObject::GetDragCursor(bool accepted, int x, int y) {
  return accepted ? Control->GetDragCursor() : TDragObject::GetDragCursor(accepted, x, y);
}

void TDragControlObject::EndDrag(TObject* target, int x, int y) { Control->DoEndDrag(target, x, y); }

void TControl::BeginDrag(bool immediate, int threshold) {
  if (gDrag.Object || gDrag.Pending) return;
  TDragObject* obj = nullptr;
  DoStartDrag(obj);
  bool own = obj == nullptr;
  if (own) obj = new TDragControlObject(this);
  StartDrag(this, obj);
  gDrag.OwnObject = own;
  gCapture = this;
  if (immediate) {
    DragTo(GetCursorPos());
  } else {
    gDrag.Object = nullptr;
    gDrag.Pending = obj;
    gDrag.StartPos = GetCursorPos();
    gDrag.Threshold = threshold < 0 ? (Mouse ? Mouse->DragThreshold : 5) : threshold;
  }
}

bool TControl::Dragging() const { return gDrag.Object && gDrag.Source == this; }

void TControl::EndDrag(bool drop) {
  if (Dragging()) DragDone(drop);
}

void TControl::DoStartDrag(TDragObject*& dragObject) {
  if (OnStartDrag) OnStartDrag(this, dragObject);
}

void TControl::DoEndDrag(TObject* target, int x, int y) {
  if (OnEndDrag) OnEndDrag(this, target, x, y);
}

bool TControl::DoDragOver(TObject* source, int x, int y, TDragState state) {
  bool accept = static_cast<bool>(OnDragOver);
  if (accept) OnDragOver(this, source, x, y, state, accept);
  return accept;
}

void TControl::DragDrop(TObject* source, int x, int y) {
  if (OnDragDrop) OnDragDrop(this, source, x, y);
}

void TControl::DoCMDrag(TMessage& m) {
  TCMDrag dm(m);
  TDragRec* rec = dm.DragRec();
  switch (dm.DragMessage()) {
    case dmFindTarget: {
      TControl* found = this;
      if (auto* w = Cast<TWinControl>(this))
        if (TControl* c = w->ControlAtPos(ScreenToClient(rec->Pos), false)) found = c;
      m.Result = reinterpret_cast<intptr_t>(found);
      break;
    }
    case dmDragEnter:
    case dmDragLeave:
    case dmDragMove:
    case dmDragDrop: {
      auto* target = static_cast<TControl*>(rec->Target);
      if (!target) break;
      TPoint p = target->ScreenToClient(rec->Pos);
      if (auto* obj = Cast<TDragObject>(rec->Source)) obj->DragTargetPos = p;
      if (dm.DragMessage() == dmDragDrop) {
        target->DragDrop(DragSourceArg(), p.X, p.Y);
      } else {
        static const TDragState kStates[] = {dsDragEnter, dsDragLeave, dsDragMove};
        m.Result = target->DoDragOver(DragSourceArg(), p.X, p.Y, kStates[dm.DragMessage()]);
      }
      break;
    }
    default: break;
  }
}

void BeginDragObject(TDragObject* dragObject, TControl* source) {
  if (gDrag.Object || gDrag.Pending || !dragObject) return;
  StartDrag(source, dragObject);
  gDrag.OwnObject = false;
  DragTo(GetCursorPos());
}

TDragObject* DragObject() { return gDrag.Object; }

TWinControl* FindVCLWindow(const TPoint& p) {
  if (!Screen) return nullptr;
  for (int i = 0; i < Screen->FormCount(); ++i) {
    TCustomForm* f = Screen->Forms(i);
    if (!f->Showing() || !PtInRect(Bounds(f->GetLeft(), f->GetTop(), f->GetWidth(), f->GetHeight()), p)) continue;
    TWinControl* w = f;
    for (bool deeper = true; deeper;) {
      deeper = false;
      for (int j = w->ControlCount() - 1; j >= 0; --j) {
        auto* c = Cast<TWinControl>(w->Controls(j));
        if (!c || !c->DesignVisible()) continue;
        TPoint o = c->ClientOrigin();
        if (PtInRect(Bounds(o.X, o.Y, c->GetWidth(), c->GetHeight()), p)) {
          w = c;
          deeper = true;
          break;
        }
      }
    }
    return w;
  }
  return nullptr;
}

TControl* FindDragTarget(const TPoint& p, bool allowDisabled) {
  TWinControl* w = FindVCLWindow(p);
  if (!w) return nullptr;
  TControl* c = w->ControlAtPos(w->ScreenToClient(p), allowDisabled);
  return c ? c : w;
}

void DragTo(const TPoint& p) {
  TDragObject* obj = gDrag.Object;
  if (!obj) return;
  obj->DragPos = p;
  TWinControl* handle = FindVCLWindow(p);
  TControl* target = handle ? reinterpret_cast<TControl*>(DragMessage(handle, dmFindTarget, nullptr, p)) : nullptr;
  if (target != obj->DragTarget) {
    if (obj->DragTarget) DragMessage(gDrag.Handle, dmDragLeave, obj->DragTarget, p);
    if (gDrag.Object != obj) return;  // a handler ended the drag
    obj->DragTarget = target;
    gDrag.Handle = handle;
    if (target) DragMessage(handle, dmDragEnter, target, p);
  }
  if (gDrag.Object != obj) return;
  gDrag.Accepted = target && DragMessage(handle, dmDragMove, target, p) != 0;
  if (gDrag.Object == obj) SetCursor(obj->GetDragCursor(gDrag.Accepted, p.X, p.Y));
}

void DragDone(bool drop) {
  TDragObject* obj = gDrag.Object;
  if (!obj) return;
  TControl* target = obj->DragTarget;
  TPoint p = obj->DragPos;
  bool accepted = drop && target && gDrag.Accepted;
  obj->Cancelling = !drop;
  if (target) DragMessage(gDrag.Handle, accepted ? dmDragDrop : (drop ? dmDragLeave : dmDragCancel), target, p);
  TPoint tp = target ? target->ScreenToClient(p) : TPoint{};
  TObject* endTarget = accepted ? target : nullptr;
  bool own = gDrag.OwnObject;
  gDrag = TDragSession{};
  if (gCapture) gCapture = nullptr;
  obj->Finished(endTarget, tp.X, tp.Y, accepted);
  obj->EndDrag(endTarget, tp.X, tp.Y);
  if (own) delete obj;
  SetCursor(crDefault);
}

// =============================================================================================
// TGraphicControl and TCustomControl.
TGraphicControl::TGraphicControl(TComponent* AOwner) : TControl(AOwner), FCanvas(new TControlCanvas) {
  FCanvas->Control = this;
}

TGraphicControl::~TGraphicControl() {
  Destroying();
  delete FCanvas;
}

void TGraphicControl::Dispatch(TMessage& m) {
  if (m.Msg == WM_PAINT) {
    qtw::TCanvasScope scope(FCanvas, reinterpret_cast<TPaintDC*>(m.WParam));
    FCanvas->SetFont(GetFont());
    Paint();
    return;
  }
  TControl::Dispatch(m);
}

TCustomControl::TCustomControl(TComponent* AOwner) : TWinControl(AOwner), FCanvas(new TControlCanvas) {
  FCanvas->Control = this;
}

TCustomControl::~TCustomControl() {
  Destroying();
  DestroyHandle();  // the window draws through the canvas until it goes
  delete FCanvas;
}

void TCustomControl::PaintWindow(TPaintDC* dc) {
  qtw::TCanvasScope scope(FCanvas, dc);
  FCanvas->SetFont(GetFont());
  Paint();
}
