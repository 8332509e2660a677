// TWinControl: child lists, window handles, showing, painting, alignment, focus and keys.
#include <algorithm>

#include "Consts.h"
#include "Controls.h"
#include "Forms.h"
#include "Menus.h"
#include "qt/QtWidgets.h"

TWinControl::TWinControl(TComponent* AOwner) : TControl(AOwner) {}

TWinControl::~TWinControl() {
  Destroying();
  // Child controls go with their parent, as in the VCL; their owners hear of it.
  while (ControlCount() > 0) {
    TControl* c = Controls(ControlCount() - 1);
    RemoveControl(c);
    delete c;
  }
  if (FParent) FParent->RemoveControl(this);
  DestroyHandle();
}

// --- Messages.
void TWinControl::WndProc(TMessage& m) {
  if (m.Msg >= WM_MOUSEFIRST && m.Msg <= WM_MOUSELAST) {
    if (!DragObject() && IsControlMouseMsg(m)) return;
  } else if (m.Msg >= WM_KEYFIRST && m.Msg <= WM_KEYLAST) {
    if (DragObject()) {
      if (m.Msg == WM_KEYDOWN && m.WParam == VK_ESCAPE) DragDone(false);
      return;
    }
  }
  TControl::WndProc(m);
}

bool TWinControl::IsControlMouseMsg(TMessage& m) {
  TControl* c = nullptr;
  TPoint p = TWMMouse(m).Pos();
  if (TControl* cap = GetCaptureControl()) {
    if (cap->GetParent() != this || cap->Is<TWinControl>()) return false;
    c = cap;
  } else {
    c = ControlAtPos(p, false);
  }
  if (!c) return false;
  TMessage cm = m;
  cm.LParam = PointToLParam({p.X - c->GetLeft(), p.Y - c->GetTop()});
  c->WindowProc(cm);
  m.Result = cm.Result;
  return true;
}

void TWinControl::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case WM_PAINT: return WMPaint(m);
    case WM_ERASEBKGND: return WMEraseBkgnd(m);
    case WM_SIZE: Realign(); break;
    case WM_SETFOCUS:
      if (TCustomForm* f = GetParentForm(this); f && f != this) f->FActiveControl = this;
      // A control that takes the focus scrolls into view in the scrolling windows around it.
      for (TWinControl* p = FParent; p; p = p->FParent)
        if (auto* s = Cast<TScrollingWinControl>(p); s && s->GetAutoScroll()) s->ScrollInView(this);
      DoEnter();
      break;
    case WM_KILLFOCUS: DoExit(); break;
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_CHAR:
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
    case WM_SYSCHAR: return WMKey(m);
    case WM_SETCURSOR: {
      TCursor cur = Screen ? Screen->GetCursor() : crDefault;
      if (cur == crDefault) {
        TControl* c = ControlAtPos(ScreenToClient(GetCursorPos()), false);
        cur = (c ? c : this)->GetCursor();
      }
      if (HandleAllocated()) qtw::SetCursorShape(FHandle, cur);
      ::SetCursor(cur);
      m.Result = 1;
      return;
    }
    case CM_COLORCHANGED: NotifyControls(CM_PARENTCOLORCHANGED); break;
    case CM_FONTCHANGED:
      if (HandleAllocated()) qtw::SetFont(FHandle, *GetFont());
      NotifyControls(CM_PARENTFONTCHANGED);
      break;
    case CM_SHOWHINTCHANGED: NotifyControls(CM_PARENTSHOWHINTCHANGED); break;
    case CM_PARENTCTL3DCHANGED:
      if (FParentCtl3D && FParent) {
        SetCtl3D(FParent->FCtl3D);
        FParentCtl3D = true;
      }
      break;
    case CM_CTL3DCHANGED: Invalidate(); break;
    case CM_ENABLEDCHANGED:
      if (HandleAllocated()) qtw::SetEnabled(FHandle, GetEnabled());
      break;
    case CM_TEXTCHANGED:
      if (HandleAllocated()) qtw::SetText(FHandle, FText);
      break;
    case CM_DIALOGKEY:
    case CM_DIALOGCHAR:
      // Offered to every child in turn until one takes it, as the VCL broadcasts them.
      for (int i = 0; i < ControlCount() && m.Result == 0; ++i) {
        TControl* c = Controls(i);
        if (c->GetVisible()) m.Result = c->Perform(m.Msg, m.WParam, m.LParam);
      }
      if (m.Result) return;
      break;
    default: break;
  }
  TControl::Dispatch(m);
}

void TWinControl::DefaultHandler(TMessage& m) { PassToNative(this, m); }

void TWinControl::NotifyControls(uint32_t msg) {
  for (int i = 0; i < ControlCount(); ++i) Controls(i)->Perform(msg, 0, 0);
}

// --- Child controls.
TControl* TWinControl::Controls(int i) const {
  int n = static_cast<int>(FControls.size());
  if (i < 0 || i >= ControlCount()) throw EListError(Format(SListIndexError, i));
  return i < n ? FControls[i] : FWinControls[i - n];
}

bool TWinControl::ContainsControl(const TControl* c) const {
  while (c && c != this) c = c->GetParent();
  return c == this;
}

void TWinControl::InsertControl(TControl* c) {
  c->ValidateContainer(this);
  Perform(CM_CONTROLLISTCHANGE, reinterpret_cast<intptr_t>(c), 1);
  c->FParent = this;
  if (auto* w = Cast<TWinControl>(c)) {
    FWinControls.push_back(w);
    if (w->TakesTabOrder()) FTabList.push_back(w);
  } else {
    FControls.push_back(c);
  }
  if (!c->InState(csReading)) {
    if (c->FParentColor) c->Perform(CM_PARENTCOLORCHANGED, 0, 0);
    if (c->FParentFont) c->Perform(CM_PARENTFONTCHANGED, 0, 0);
    if (c->FParentShowHint) c->Perform(CM_PARENTSHOWHINTCHANGED, 0, 0);
    if (auto* w = Cast<TWinControl>(c); w && w->FParentCtl3D) w->Perform(CM_PARENTCTL3DCHANGED, 0, 0);
    if (auto* w = Cast<TWinControl>(c)) w->UpdateShowing();
    else c->InvalidateControl();
    AlignControl(c);
  } else if (auto* w = Cast<TWinControl>(c)) {
    w->UpdateShowing();
  }
  Perform(CM_CONTROLCHANGE, reinterpret_cast<intptr_t>(c), 1);
}

void TWinControl::RemoveControl(TControl* c) {
  bool quiet = InState(csDestroying);
  if (!quiet) Perform(CM_CONTROLCHANGE, reinterpret_cast<intptr_t>(c), 0);
  if (auto* w = Cast<TWinControl>(c)) {
    if (TCustomForm* f = GetParentForm(this); f && f->FActiveControl && w->ContainsControl(f->FActiveControl))
      f->FActiveControl = nullptr;
    w->DestroyHandle();
    FWinControls.erase(std::remove(FWinControls.begin(), FWinControls.end(), w), FWinControls.end());
    FTabList.erase(std::remove(FTabList.begin(), FTabList.end(), w), FTabList.end());
  } else {
    c->InvalidateControl();
    FControls.erase(std::remove(FControls.begin(), FControls.end(), c), FControls.end());
  }
  c->FParent = nullptr;
  if (!quiet) {
    Perform(CM_CONTROLLISTCHANGE, reinterpret_cast<intptr_t>(c), 0);
    Realign();
  }
}

TControl* TWinControl::ControlAtPos(const TPoint& p, bool allowDisabled) const {
  for (auto it = FControls.rbegin(); it != FControls.rend(); ++it) {
    TControl* c = *it;
    bool candidate =
        c->InState(csDesigning) ? c->DesignVisible() : c->GetVisible() && (c->GetEnabled() || allowDisabled);
    if (!candidate || !PtInRect(c->BoundsRect(), p)) continue;
    if (c->Perform(CM_HITTEST, 0, PointToLParam({p.X - c->GetLeft(), p.Y - c->GetTop()})) != 0) return c;
  }
  return nullptr;
}

void TWinControl::GetChildren(const TGetChildProc& proc, TComponent* root) {
  for (int i = 0; i < ControlCount(); ++i)
    if (Controls(i)->Owner() == root) proc(Controls(i));
}

void TWinControl::SetChildOrder(TComponent* child, int order) {
  auto* c = Cast<TControl>(child);
  if (!c || c->GetParent() != this) return;
  auto place = [order](auto& list, auto* item) {
    auto it = std::find(list.begin(), list.end(), item);
    if (it == list.end()) return;
    list.erase(it);
    list.insert(list.begin() + std::clamp<ptrdiff_t>(order, 0, static_cast<ptrdiff_t>(list.size())), item);
  };
  if (auto* w = Cast<TWinControl>(c)) {
    place(FWinControls, w);
    for (TWinControl* sib : FWinControls)
      if (sib->HandleAllocated()) qtw::Raise(sib->FHandle);
  } else {
    place(FControls, c);
    c->InvalidateControl();
  }
}

// Alignment waits for the whole stream, as the controls' sizes arrive one property at a time.
void TWinControl::Loaded() {
  TControl::Loaded();
  if (!ControlState.Contains(csAlignmentNeeded)) return;
  if (!FInLoadedCalls) return Realign();
  // Aligned as read, while the children still load; what their Loaded calls change realigns
  // once more, when the reader's bracket ends.
  if (FAlignLevel == 1) {
    TRect r = GetClientRect();
    AlignControls(nullptr, r);
  }
}

void TWinControl::BeginLoadedCalls() {
  DisableAlign();
  FInLoadedCalls = true;
}

void TWinControl::EndLoadedCalls() {
  FInLoadedCalls = false;
  EnableAlign();
}

// --- Alignment.
void TWinControl::DisableAlign() { ++FAlignLevel; }

void TWinControl::EnableAlign() {
  if (--FAlignLevel == 0 && ControlState.Contains(csAlignmentNeeded)) Realign();
}

void TWinControl::Realign() { AlignControl(nullptr); }

void TWinControl::AlignControl(TControl* aControl) {
  if (FAlignLevel > 0 || InState(csLoading) || ControlState.Contains(csReadingState)) {
    ControlState.Include(csAlignmentNeeded);
    return;
  }
  TRect r = GetClientRect();
  AlignControls(aControl, r);
}

void TWinControl::AlignControls(TControl*, TRect& rect) {
  ++FAlignLevel;
  ControlState.Exclude(csAlignmentNeeded);
  std::vector<TControl*> all;
  all.reserve(ControlCount());
  for (int i = 0; i < ControlCount(); ++i) all.push_back(Controls(i));
  // Anchored controls follow the edges of the client area they are anchored to.
  TRect client = GetClientRect();
  TSize size{client.Width(), client.Height()};
  int dx = size.cx - FOldClientSize.cx, dy = size.cy - FOldClientSize.cy;
  if ((FOldClientSize.cx || FOldClientSize.cy) && (dx || dy)) {
    for (TControl* c : all) {
      if (c->FAlign != alNone) continue;
      TAnchors a = c->FAnchors;
      int l = c->FLeft, t = c->FTop, w = c->FWidth, h = c->FHeight;
      if (a.Contains(akRight)) (a.Contains(akLeft) ? w : l) += dx;
      if (a.Contains(akBottom)) (a.Contains(akTop) ? h : t) += dy;
      c->SetBounds(l, t, w, h);
    }
  }
  FOldClientSize = size;
  for (TAlign align : {alTop, alBottom, alLeft, alRight, alClient}) {
    std::vector<TControl*> list;
    for (TControl* c : all)
      if (c->FAlign == align && c->DesignVisible()) list.push_back(c);
    std::stable_sort(list.begin(), list.end(), [align](TControl* a, TControl* b) {
      switch (align) {
        case alTop: return a->FTop < b->FTop;
        case alBottom: return a->FTop + a->FHeight > b->FTop + b->FHeight;
        case alLeft: return a->FLeft < b->FLeft;
        case alRight: return a->FLeft + a->FWidth > b->FLeft + b->FWidth;
        default: return false;
      }
    });
    for (TControl* c : list) {
      int w = c->FWidth, h = c->FHeight;
      // A control aligned with its margins keeps them clear around it.
      TRect m = c->FAlignWithMargins ? c->FMargins->Rect() : TRect{};
      TRect in{rect.Left + m.Left, rect.Top + m.Top, rect.Right - m.Right, rect.Bottom - m.Bottom};
      switch (align) {
        case alTop:
          c->SetBounds(in.Left, in.Top, in.Width(), h);
          rect.Top = in.Top + h + m.Bottom;
          break;
        case alBottom:
          c->SetBounds(in.Left, in.Bottom - h, in.Width(), h);
          rect.Bottom = in.Bottom - h - m.Top;
          break;
        case alLeft:
          c->SetBounds(in.Left, in.Top, w, in.Height());
          rect.Left = in.Left + w + m.Right;
          break;
        case alRight:
          c->SetBounds(in.Right - w, in.Top, w, in.Height());
          rect.Right = in.Right - w - m.Left;
          break;
        default: c->SetBounds(in.Left, in.Top, std::max(0, in.Width()), std::max(0, in.Height())); break;
      }
    }
  }
  --FAlignLevel;
}

void TWinControl::ScrollBy(int dx, int dy) {
  if (!dx && !dy) return;
  DisableAlign();
  try {
    for (int i = 0; i < ControlCount(); ++i) {
      TControl* c = Controls(i);
      c->SetBounds(c->FLeft + dx, c->FTop + dy, c->FWidth, c->FHeight);
    }
  } catch (...) {
    EnableAlign();
    throw;
  }
  EnableAlign();
}

// --- Window handle and showing.
TWindowHandle* TWinControl::Handle() {
  if (!FHandle) CreateHandle();
  return FHandle;
}

void TWinControl::CreateParams(TCreateParams& params) {
  params.Caption = FText;
  params.Bounds = BoundsRect();
  params.WndParent = FParent;
  params.TopLevel = FParent == nullptr;
}

void TWinControl::CreateHandle() {
  if (FHandle) return;
  if (FParent) FParent->Handle();
  CreateWnd();
}

void TWinControl::CreateWnd() {
  TCreateParams params;
  CreateParams(params);
  FHandle = qtw::CreateHandle(this, params);
  // Shown by UpdateShowing; a window made early (Handle asked for) must not show by itself.
  qtw::SetVisible(FHandle, FParent != nullptr && DesignVisible());
  qtw::SetEnabled(FHandle, GetEnabled());
  qtw::SetFocusable(FHandle, !InState(csDesigning));
  // A child with its parent's font gets it from its parent widget.
  if (!GetParentFont() || !FParent) qtw::SetFont(FHandle, *GetFont());
  if (GetCursor() != crDefault) qtw::SetCursorShape(FHandle, GetCursor());
  if (TCanvas* canvas = GetControlCanvas()) qtw::AttachCanvas(FHandle, canvas);
  // A late-made window goes below the siblings that are above it in z-order.
  if (FParent) {
    auto& sibs = FParent->FWinControls;
    auto it = std::find(sibs.begin(), sibs.end(), this);
    for (++it; it < sibs.end(); ++it)
      if ((*it)->FHandle) qtw::Raise((*it)->FHandle);
  }
}

void TWinControl::DestroyHandle() {
  if (!FHandle) return;
  for (TWinControl* w : FWinControls) w->DestroyHandle();
  DestroyWnd();
}

void TWinControl::DestroyWnd() {
  qtw::DestroyHandle(FHandle);
  FHandle = nullptr;
  FShowing = false;
}

// A designed control shows whatever its Visible says, and so does a designed form: a form file
// stores Visible = False for almost every form, and its design must still be seen.
void TWinControl::UpdateShowing() {
  bool visible = FParent || Cast<TCustomForm>(this) ? DesignVisible() : GetVisible();
  bool show = visible && (!FParent || FParent->FShowing);
  if (show && !FHandle) CreateHandle();
  if (FHandle) qtw::SetVisible(FHandle, visible);
  if (show == FShowing) return;
  FShowing = show;
  for (size_t i = 0; i < FWinControls.size(); ++i) FWinControls[i]->UpdateShowing();
  Perform(CM_SHOWINGCHANGED, 0, 0);
}

void TWinControl::UpdateDesignState() {
  if (FHandle) qtw::SetFocusable(FHandle, !InState(csDesigning));
  UpdateShowing();
  for (TControl* c : FControls) c->InvalidateControl();
  for (size_t i = 0; i < FWinControls.size(); ++i) FWinControls[i]->UpdateDesignState();
}

void TWinControl::BoundsChanged() {
  if (FHandle && !FFromWindow) qtw::SetBounds(FHandle, BoundsRect());
}

void TWinControl::UpdateBoundsFromWindow(const TRect& r) {
  FFromWindow = true;
  try {
    SetBounds(r.Left, r.Top, r.Width(), r.Height());
  } catch (...) {
    FFromWindow = false;
    throw;
  }
  FFromWindow = false;
}

void TWinControl::InvalidateControl() {
  if (FHandle) qtw::Invalidate(FHandle, nullptr);
}

void TWinControl::Invalidate() { InvalidateControl(); }

void TWinControl::Update() {
  if (FHandle) qtw::UpdateNow(FHandle);
}

void TWinControl::Repaint() {
  Invalidate();
  Update();
}

// --- Painting.
void TWinControl::WMPaint(TMessage& m) {
  // Native widgets paint themselves (no paint context comes with their WM_PAINT).
  if (auto* dc = reinterpret_cast<TPaintDC*>(m.WParam)) PaintHandler(dc);
  else DefaultHandler(m);
}

void TWinControl::PaintHandler(TPaintDC* dc) {
  TMessage erase{WM_ERASEBKGND, reinterpret_cast<intptr_t>(dc), 0, 0};
  WindowProc(erase);
  PaintWindow(dc);
  PaintControls(dc, nullptr);
}

void TWinControl::WMEraseBkgnd(TMessage& m) {
  if (auto* dc = reinterpret_cast<TPaintDC*>(m.WParam)) qtw::FillRect(dc, GetClientRect(), GetColor());
  m.Result = 1;
}

void TWinControl::PaintWindow(TPaintDC*) {}

void TWinControl::PaintControls(TPaintDC* dc, TControl* first) {
  auto it = first ? std::find(FControls.begin(), FControls.end(), first) : FControls.begin();
  TRect clip = qtw::ClipBox(dc);
  for (; it != FControls.end(); ++it) {
    TControl* c = *it;
    TRect r = c->BoundsRect(), common;
    if (!c->DesignVisible() || !IntersectRect(common, r, clip)) continue;
    qtw::PushClip(dc, r.TopLeft(), Rect(0, 0, r.Width(), r.Height()));
    c->Perform(WM_PAINT, reinterpret_cast<intptr_t>(dc), 0);
    qtw::PopClip(dc);
  }
}

// --- Focus and tab order.
bool TWinControl::CanFocus() const {
  for (const TWinControl* w = this; w; w = w->FParent)
    if (!w->GetVisible() || !w->GetEnabled()) return false;
  return !InState(csDesigning);
}

bool TWinControl::Focused() const { return FHandle && qtw::Focused(FHandle); }

void TWinControl::SetFocus() {
  if (TCustomForm* f = GetParentForm(this); f && f != this) f->FocusControl(this);
  else if (FHandle) qtw::SetFocus(FHandle);
}

TTabOrder TWinControl::GetTabOrder() const {
  if (!FParent) return -1;
  auto& l = FParent->FTabList;
  auto it = std::find(l.begin(), l.end(), this);
  return it == l.end() ? -1 : static_cast<int>(it - l.begin());
}

void TWinControl::SetTabOrder(TTabOrder v) {
  if (ControlState.Contains(csReadingState)) {
    FReadTabOrder = v;
    return;
  }
  if (!FParent || v < 0) return;
  auto& l = FParent->FTabList;
  auto it = std::find(l.begin(), l.end(), this);
  if (it == l.end()) return;
  l.erase(it);
  l.insert(l.begin() + std::min<size_t>(v, l.size()), this);
}

void TWinControl::ReadState(TReader* reader) {
  FReadTabOrder = -1;
  TControl::ReadState(reader);
  if (FParent && FParentCtl3D) Perform(CM_PARENTCTL3DCHANGED, 0, 0);
  // Children read with their parent take the orders they were read with, all at once.
  std::vector<TWinControl*> byOrder(FWinControls.size());
  for (TWinControl* w : FWinControls)
    if (w->FReadTabOrder >= 0 && w->FReadTabOrder < static_cast<int>(byOrder.size())) byOrder[w->FReadTabOrder] = w;
  for (size_t i = 0; i < byOrder.size(); ++i)
    if (byOrder[i]) byOrder[i]->SetTabOrder(static_cast<TTabOrder>(i));
  for (TWinControl* w : FWinControls) w->FReadTabOrder = -1;
  // Read into a parent that is not being read (pasted): its place is taken now.
  if (FParent && !FParent->ControlState.Contains(csReadingState) && FReadTabOrder >= 0) {
    SetTabOrder(FReadTabOrder);
    FReadTabOrder = -1;
  }
}

void TWinControl::SetTabStop(bool v) {
  if (FTabStop == v) return;
  FTabStop = v;
  Perform(CM_TABSTOPCHANGED, 0, 0);
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& list) {
  for (TWinControl* w : FTabList) {
    list.push_back(w);
    w->GetTabOrderList(list);
  }
}

TWinControl* TWinControl::FindNextControl(TWinControl* cur, bool goForward, bool checkTabStop, bool checkParent) {
  std::vector<TWinControl*> list;
  GetTabOrderList(list);
  if (list.empty()) return nullptr;
  int n = static_cast<int>(list.size());
  auto at = std::find(list.begin(), list.end(), cur);
  int start = at == list.end() ? (goForward ? n - 1 : 0) : static_cast<int>(at - list.begin());
  int i = start;
  do {
    i = goForward ? (i + 1) % n : (i + n - 1) % n;
    TWinControl* w = list[i];
    if (w != cur && w->CanFocus() && (!checkTabStop || w->FTabStop) && (!checkParent || w->FParent == this)) return w;
  } while (i != start);
  return nullptr;
}

void TWinControl::SelectNext(TWinControl* cur, bool goForward, bool checkTabStop) {
  if (TWinControl* w = FindNextControl(cur, goForward, checkTabStop, !checkTabStop)) w->SetFocus();
}

void TWinControl::DoEnter() {
  if (OnEnter) OnEnter(this);
}
void TWinControl::DoExit() {
  if (OnExit) OnExit(this);
}

// --- Keys: a form with KeyPreview sees them first; a key zeroed by a handler stops there.
void TWinControl::WMKey(TMessage& m) {
  TShiftState shift;
  if (GetKeyState(VK_SHIFT) < 0) shift.Include(ssShift);
  if (GetKeyState(VK_CONTROL) < 0) shift.Include(ssCtrl);
  if (GetKeyState(VK_MENU) < 0) shift.Include(ssAlt);
  bool handled = false;
  if (m.Msg == WM_CHAR || m.Msg == WM_SYSCHAR) {
    char c = static_cast<char>(m.WParam);
    handled = DoKeyPress(c);
    m.WParam = static_cast<unsigned char>(c);
  } else {
    uint16_t key = static_cast<uint16_t>(m.WParam);
    bool down = m.Msg == WM_KEYDOWN || m.Msg == WM_SYSKEYDOWN;
    // Menu short cuts come first, as the VCL's CN_KEYDOWN offers them.
    if (down && !InState(csDesigning) && IsMenuKey(this, key, shift)) return;
    handled = down ? DoKeyDown(key, shift) : DoKeyUp(key, shift);
    m.WParam = key;
    if (!handled && m.Msg == WM_KEYDOWN && key == VK_TAB && !shift.Contains(ssCtrl)) {
      if (TCustomForm* f = GetParentForm(this)) {
        f->SelectNext(this, !shift.Contains(ssShift), true);
        return;
      }
    }
  }
  if (!handled && !DialogKey(m, shift)) TControl::Dispatch(m);
}

bool TWinControl::DialogKey(const TMessage& m, TShiftState shift) {
  if (InState(csDesigning)) return false;
  TCustomForm* f = GetParentForm(this);
  if (!f) return false;
  bool down = m.Msg == WM_KEYDOWN && (m.WParam == VK_RETURN || m.WParam == VK_ESCAPE);
  bool chr = m.Msg == WM_CHAR || m.Msg == WM_SYSCHAR;
  if (!down && !chr) return false;
  intptr_t code = Perform(WM_GETDLGCODE, 0, 0);
  if (down && !(code & DLGC_WANTALLKEYS)) return f->Perform(CM_DIALOGKEY, m.WParam, m.LParam) != 0;
  if (chr && (!(code & DLGC_WANTCHARS) || shift.Contains(ssAlt) || m.Msg == WM_SYSCHAR))
    return f->Perform(CM_DIALOGCHAR, m.WParam, m.LParam) != 0;
  return false;
}

void TWinControl::SetCtl3D(bool v) {
  FParentCtl3D = false;
  if (FCtl3D == v) return;
  FCtl3D = v;
  Perform(CM_CTL3DCHANGED, 0, 0);
  NotifyControls(CM_PARENTCTL3DCHANGED);
}

void TWinControl::SetParentCtl3D(bool v) {
  FParentCtl3D = v;
  if (v && FParent) Perform(CM_PARENTCTL3DCHANGED, 0, 0);
}

void TWinControl::SetBorderWidth(TBorderWidth v) {
  v = std::max(0, v);
  if (FBorderWidth == v) return;
  FBorderWidth = v;
  BorderWidthChanged();
}

void TWinControl::BorderWidthChanged() {
  Realign();
  Invalidate();
}

PTypeInfo TypeInfoTBorderWidth() {
  static PTypeInfo ti = MakeOrdTypeInfo("TBorderWidth", tkInteger, otSLong, 0, INT32_MAX);
  return ti;
}

bool TWinControl::DoKeyDown(uint16_t& key, TShiftState shift) {
  TCustomForm* f = GetParentForm(this);
  if (f && f != this && f->GetKeyPreview() && f->DoKeyDown(key, shift)) return true;
  KeyDown(key, shift);
  return key == 0;
}

bool TWinControl::DoKeyPress(char& key) {
  TCustomForm* f = GetParentForm(this);
  if (f && f != this && f->GetKeyPreview() && f->DoKeyPress(key)) return true;
  KeyPress(key);
  return key == 0;
}

bool TWinControl::DoKeyUp(uint16_t& key, TShiftState shift) {
  TCustomForm* f = GetParentForm(this);
  if (f && f != this && f->GetKeyPreview() && f->DoKeyUp(key, shift)) return true;
  KeyUp(key, shift);
  return key == 0;
}

void TWinControl::KeyDown(uint16_t& key, TShiftState shift) {
  if (OnKeyDown) OnKeyDown(this, key, shift);
}
void TWinControl::KeyPress(char& key) {
  if (OnKeyPress) OnKeyPress(this, key);
}
void TWinControl::KeyUp(uint16_t& key, TShiftState shift) {
  if (OnKeyUp) OnKeyUp(this, key, shift);
}

void DrawXorFrame(TWinControl* control, const TRect& r) {
  if (control) qtw::ToggleXorFrame(control->Handle(), r);
}

void GrabWindow(TWinControl* control, TBitmap* bitmap, bool withNonClient) {
  qtw::Grab(control->Handle(), bitmap, withNonClient);
}

void ShiftMouseInsideBorder(TMessage& m, int border) {
  if (m.Msg < WM_MOUSEFIRST || m.Msg >= WM_MOUSEWHEEL || border == 0) return;
  TPoint p = TWMMouse(m).Pos();
  m.LParam = PointToLParam({p.X - border, p.Y - border});
}

void SendInput(TWinControl* control, uint32_t msg, const TPoint& client, intptr_t keys, uint16_t vk) {
  qtw::SendInput(control->Handle(), msg, client, keys, vk);
}
