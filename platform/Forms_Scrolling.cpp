// Scrolling windows: TControlScrollBar, TScrollingWinControl and TScrollBox.
#include <algorithm>

#include "Forms.h"
#include "TypInfo.h"
#include "qt/QtWidgets.h"

KV_IMPLEMENT_CLASS(TControlScrollBar, "Forms") {
  b.Prop("ButtonSize", &TControlScrollBar::GetButtonSize, &TControlScrollBar::SetButtonSize).Default(0);
  b.Prop("Color", &TControlScrollBar::GetColor, &TControlScrollBar::SetColor)
      .Type(TypeInfoTColor())
      .StoredMethod(&TControlScrollBar::IsColorStored);
  b.Prop("Increment", &TControlScrollBar::GetIncrement, &TControlScrollBar::SetIncrement)
      .Type(TypeInfoTScrollBarInc())
      .Default(8);
  b.Prop("Margin", &TControlScrollBar::GetMargin, &TControlScrollBar::SetMargin).Type(TypeInfoWord()).Default(0);
  b.Prop("ParentColor", &TControlScrollBar::GetParentColor, &TControlScrollBar::SetParentColor).Default(true);
  b.Prop("Position", &TControlScrollBar::GetPosition, &TControlScrollBar::SetPosition).Default(0);
  b.Prop("Range", &TControlScrollBar::GetRange, &TControlScrollBar::SetRange)
      .StoredMethod(&TControlScrollBar::IsRangeStored)
      .Default(0);
  b.Prop("Smooth", &TControlScrollBar::GetSmooth, &TControlScrollBar::SetSmooth).Default(false);
  b.Prop("Size", &TControlScrollBar::GetSize, &TControlScrollBar::SetSize).Default(0);
  b.Prop("Style", &TControlScrollBar::GetStyle, &TControlScrollBar::SetStyle).Default(ssRegular);
  b.Prop("ThumbSize", &TControlScrollBar::GetThumbSize, &TControlScrollBar::SetThumbSize).Default(0);
  b.Prop("Tracking", &TControlScrollBar::GetTracking, &TControlScrollBar::SetTracking).Default(false);
  b.Prop("Visible", &TControlScrollBar::GetVisible, &TControlScrollBar::SetVisible).Default(true);
}

KV_IMPLEMENT_CLASS(TScrollingWinControl, "Forms") {
  b.Prop("HorzScrollBar", &TScrollingWinControl::GetHorzScrollBar, &TScrollingWinControl::SetHorzScrollBar);
  b.Prop("VertScrollBar", &TScrollingWinControl::GetVertScrollBar, &TScrollingWinControl::SetVertScrollBar);
}

KV_IMPLEMENT_CLASS(TScrollBox, "Forms") {
  PublishControlProperties(b, {"Align", "Anchors"});
  b.Prop("AutoScroll", &TScrollingWinControl::GetAutoScroll, &TScrollingWinControl::SetAutoScroll).Default(true);
  PublishControlProperties(b, {"BiDiMode"});
  b.Prop("BorderStyle", &TScrollBox::GetBorderStyle, &TScrollBox::SetBorderStyle)
      .Type(TypeInfoTBorderStyle())
      .Default(bsSingle);
  PublishControlProperties(b, {"BorderWidth",      "Constraints",    "DragCursor",  "DragKind",       "DragMode",
                               "Enabled",          "Color",          "Ctl3D",       "Font",           "ParentBiDiMode",
                               "ParentColor",      "ParentCtl3D",    "ParentFont",  "ParentShowHint", "PopupMenu",
                               "ShowHint",         "TabOrder",       "TabStop",     "Visible",        "OnClick",
                               "OnDblClick",       "OnDragDrop",     "OnDragOver",  "OnEndDrag",      "OnEnter",
                               "OnExit",           "OnMouseDown",    "OnMouseMove", "OnMouseUp",      "OnMouseWheel",
                               "OnMouseWheelDown", "OnMouseWheelUp", "OnResize",    "OnStartDrag"});
}

PTypeInfo TypeInfoTScrollBarInc() {
  static PTypeInfo ti = MakeOrdTypeInfo("TScrollBarInc", tkInteger, otSWord, 1, 32767);
  return ti;
}

// =============================================================================================
// TControlScrollBar
void TControlScrollBar::Assign(TPersistent* source) {
  if (auto* s = Cast<TControlScrollBar>(source)) {
    FIncrement = s->FIncrement;
    FMargin = s->FMargin;
    FTracking = s->FTracking;
    FButtonSize = s->FButtonSize;
    FColor = s->FColor;
    FParentColor = s->FParentColor;
    FSize = s->FSize;
    FSmooth = s->FSmooth;
    FStyle = s->FStyle;
    FThumbSize = s->FThumbSize;
    SetVisible(s->FVisible);
    SetRange(s->FRange);
    SetPosition(s->FPosition);
    return;
  }
  TPersistent::Assign(source);
}

TPersistent* TControlScrollBar::GetOwner() const { return FControl; }

bool TControlScrollBar::IsScrollBarVisible() const {
  if (!FControl) return false;
  const TNonClientArea& a = FControl->NonClientArea();
  return (FKind == sbHorizontal ? a.HorzScrollBar : a.VertScrollBar) > 0;
}

int TControlScrollBar::ControlSize() const {
  if (!FControl) return 0;
  TRect r = FControl->GetClientRect();
  return FKind == sbHorizontal ? r.Width() : r.Height();
}

int TControlScrollBar::CalcRange() const { return IsScrollBarVisible() ? std::max(0, FRange - ControlSize()) : 0; }

void TControlScrollBar::SetPosition(int v) {
  if (!FControl || FControl->InState(csReading)) {
    // A stream's Position comes with its children's scrolled places.
    FPosition = v;
    return;
  }
  v = std::clamp(v, 0, CalcRange());
  if (v != FPosition) {
    int delta = FPosition - v;
    FPosition = v;
    if (FKind == sbHorizontal) FControl->ScrollBy(delta, 0);
    else FControl->ScrollBy(0, delta);
    if (TCustomForm* f = GetParentForm(FControl); f && f->GetDesigner() && FControl->InState(csDesigning))
      f->GetDesigner()->Modified();
  }
  if (FControl->HandleAllocated())
    qtw::SetScrollInfo(FControl->Handle(), FKind == sbVertical, CalcRange(), ControlSize(), FPosition, FIncrement,
                       FTracking);
}

void TControlScrollBar::Update() { SetPosition(FPosition); }

void TControlScrollBar::ScrollMessage(uint16_t code, int thumbPos) {
  int page = std::max(1, ControlSize());
  switch (code) {
    case SB_LINEUP: SetPosition(FPosition - FIncrement); break;
    case SB_LINEDOWN: SetPosition(FPosition + FIncrement); break;
    case SB_PAGEUP: SetPosition(FPosition - page); break;
    case SB_PAGEDOWN: SetPosition(FPosition + page); break;
    case SB_THUMBPOSITION: SetPosition(thumbPos); break;
    case SB_THUMBTRACK:
      if (FTracking) SetPosition(thumbPos);
      break;
    case SB_TOP: SetPosition(0); break;
    case SB_BOTTOM: SetPosition(CalcRange()); break;
    default: break;
  }
}

void TControlScrollBar::SetRange(int v) {
  v = std::max(0, v);
  if (!FControl) {
    FRange = v;
    return;
  }
  FControl->FAutoScroll = false;
  bool horz = FKind == sbHorizontal;
  FControl->SetRanges(horz ? v : FControl->FHorzScrollBar->FRange, horz ? FControl->FVertScrollBar->FRange : v);
}

bool TControlScrollBar::IsRangeStored() const { return FControl && !FControl->GetAutoScroll(); }

void TControlScrollBar::SetMargin(int v) {
  FMargin = std::max(0, v);
  if (FControl) FControl->CalcAutoRange();
}

void TControlScrollBar::SetTracking(bool v) {
  FTracking = v;
  if (FControl) Update();
}

void TControlScrollBar::SetVisible(bool v) {
  if (FVisible == v) return;
  FVisible = v;
  if (FControl) FControl->UpdateScrollBars();
}

// The children that grow the content: those kept at the start edge (aligned there, or anchored
// only there); the ones aligned to the far edge keep their room after it.
int TControlScrollBar::AutoRange() const {
  bool horz = FKind == sbHorizontal;
  int extent = 0, farMargin = 0;
  for (int i = 0; i < FControl->ControlCount(); ++i) {
    TControl* c = FControl->Controls(i);
    if (!c->DesignVisible()) continue;
    // Windows outside the tab order are a designer's marks on the form, not its content.
    if (auto* w = Cast<TWinControl>(c); w && !w->TakesTabOrder()) continue;
    TAnchors a = c->GetAnchors();
    TAlign align = c->GetAlign();
    bool startAnchored = horz ? a.Contains(akLeft) && !a.Contains(akRight) : a.Contains(akTop) && !a.Contains(akBottom);
    if (align == (horz ? alLeft : alTop) || (align == alNone && startAnchored))
      extent = std::max(extent, FPosition + (horz ? c->GetLeft() + c->GetWidth() : c->GetTop() + c->GetHeight()));
    else if (align == (horz ? alRight : alBottom)) farMargin += horz ? c->GetWidth() : c->GetHeight();
  }
  return extent + farMargin + FMargin;
}

// =============================================================================================
// TScrollingWinControl
TScrollingWinControl::TScrollingWinControl(TComponent* AOwner)
    : TWinControl(AOwner),
      FHorzScrollBar(new TControlScrollBar(this, sbHorizontal)),
      FVertScrollBar(new TControlScrollBar(this, sbVertical)) {}

TScrollingWinControl::~TScrollingWinControl() {
  Destroying();
  DestroyHandle();
  delete FHorzScrollBar;
  delete FVertScrollBar;
}

void TScrollingWinControl::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.NonClient = true;
}

void TScrollingWinControl::CreateWnd() {
  TWinControl::CreateWnd();
  qtw::SetNonClientArea(FHandle, FNonClient);
  FHorzScrollBar->Update();
  FVertScrollBar->Update();
}

TRect TScrollingWinControl::GetClientRect() const {
  TRect r = FNonClient.ClientRect(FWidth, FHeight);
  return Rect(0, 0, r.Width(), r.Height());
}

TPoint TScrollingWinControl::ClientOrigin() const {
  TPoint p = TWinControl::ClientOrigin();
  TRect r = FNonClient.ClientRect(FWidth, FHeight);
  return {p.X + r.Left, p.Y + r.Top};
}

void TScrollingWinControl::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case WM_HSCROLL:
    case WM_VSCROLL:
      (m.Msg == WM_HSCROLL ? FHorzScrollBar : FVertScrollBar)
          ->ScrollMessage(static_cast<uint16_t>(m.WParam & 0xFFFF), static_cast<uint16_t>((m.WParam >> 16) & 0xFFFF));
      m.Result = 0;
      return;
    case WM_SIZE: UpdateScrollBars(); break;
    case CM_COLORCHANGED:
      FNonClient.PaddingColor = GetColor();
      if (HandleAllocated()) qtw::SetNonClientArea(FHandle, FNonClient);
      break;
    default: break;
  }
  TWinControl::Dispatch(m);
}

void TScrollingWinControl::SetNonClientEdges(int border, int menuBar) {
  if (FNonClient.Border == border && FNonClient.MenuBar == menuBar) return;
  FNonClient.Border = border;
  FNonClient.MenuBar = menuBar;
  NonClientChanged();
}

void TScrollingWinControl::BorderWidthChanged() {
  FNonClient.Padding = GetBorderWidth();
  NonClientChanged();
}

void TScrollingWinControl::NonClientChanged() {
  if (HandleAllocated()) qtw::SetNonClientArea(FHandle, FNonClient);
  UpdateScrollBars();
  Realign();
}

void TScrollingWinControl::UpdateScrollBars() {
  if (FUpdatingScrollBars) return;
  FUpdatingScrollBars = true;
  // Each bar shows when the content does not fit beside the other one; one bar's room can make
  // the other one needed, so the answer settles on the second round.
  TNonClientArea area = FNonClient;
  area.HorzScrollBar = area.VertScrollBar = 0;
  int size = GetSystemMetrics(SM_CXVSCROLL);
  for (int round = 0; round < 2; ++round) {
    TRect c = area.ClientRect(FWidth, FHeight);
    area.HorzScrollBar = FHorzScrollBar->FVisible && FHorzScrollBar->FRange > c.Width() ? size : 0;
    c = area.ClientRect(FWidth, FHeight);
    area.VertScrollBar = FVertScrollBar->FVisible && FVertScrollBar->FRange > c.Height() ? size : 0;
  }
  bool changed = !(area == FNonClient);
  FNonClient = area;
  try {
    if (changed && HandleAllocated()) qtw::SetNonClientArea(FHandle, area);
    FHorzScrollBar->Update();
    FVertScrollBar->Update();
  } catch (...) {
    FUpdatingScrollBars = false;
    throw;
  }
  FUpdatingScrollBars = false;
  if (changed) Realign();
}

void TScrollingWinControl::SetAutoScroll(bool v) {
  if (FAutoScroll == v) return;
  FAutoScroll = v;
  if (v) CalcAutoRange();
  else SetRanges(0, 0);
}

// Both ranges first, then the bars: a position must not be clamped by a half-updated pair.
void TScrollingWinControl::SetRanges(int horz, int vert) {
  if (horz == FHorzScrollBar->FRange && vert == FVertScrollBar->FRange) return;
  FHorzScrollBar->FRange = horz;
  FVertScrollBar->FRange = vert;
  UpdateScrollBars();
}

void TScrollingWinControl::DisableAutoRange() { ++FAutoRangeCount; }

void TScrollingWinControl::EnableAutoRange() {
  if (FAutoRangeCount > 0 && --FAutoRangeCount == 0) CalcAutoRange();
}

void TScrollingWinControl::CalcAutoRange() {
  if (FAutoRangeCount > 0 || !FAutoScroll || InState(csLoading)) return;
  SetRanges(FHorzScrollBar->AutoRange(), FVertScrollBar->AutoRange());
}

void TScrollingWinControl::AlignControls(TControl* aControl, TRect& rect) {
  CalcAutoRange();
  TRect client = GetClientRect();
  rect = Bounds(-FHorzScrollBar->FPosition, -FVertScrollBar->FPosition,
                std::max(FHorzScrollBar->FRange, client.Width()), std::max(FVertScrollBar->FRange, client.Height()));
  TWinControl::AlignControls(aControl, rect);
}

void TScrollingWinControl::BeginLoadedCalls() {
  TWinControl::BeginLoadedCalls();
  DisableAutoRange();
}

// The range first, from the children's streamed places, so that the streamed positions fit;
// aligning measures it again.
void TScrollingWinControl::EndLoadedCalls() {
  EnableAutoRange();
  TWinControl::EndLoadedCalls();
  UpdateScrollBars();
}

void TScrollingWinControl::Loaded() {
  TWinControl::Loaded();
  CalcAutoRange();
  // Within a reader's bracket the range is not measured yet: the bars would clamp the streamed
  // positions to nothing. The bracket's end updates them.
  if (FAutoRangeCount == 0) UpdateScrollBars();
}

void TScrollingWinControl::ScrollInView(TControl* control) {
  if (!control || !ContainsControl(control) || control == this) return;
  TRect r = control->GetClientRect();
  r.Left -= FHorzScrollBar->FMargin;
  r.Right += FHorzScrollBar->FMargin;
  r.Top -= FVertScrollBar->FMargin;
  r.Bottom += FVertScrollBar->FMargin;
  TPoint tl = ScreenToClient(control->ClientToScreen(r.TopLeft()));
  TPoint br = ScreenToClient(control->ClientToScreen(r.BottomRight()));
  TRect client = GetClientRect();
  // The start edge wins when the control is larger than the client area.
  auto bring = [](TControlScrollBar* bar, int start, int end, int extent) {
    if (start < 0) bar->SetPosition(bar->GetPosition() + start);
    else if (end > extent) bar->SetPosition(bar->GetPosition() + std::min(end, start + extent) - extent);
  };
  bring(FHorzScrollBar, tl.X, br.X, client.Width());
  bring(FVertScrollBar, tl.Y, br.Y, client.Height());
}

// =============================================================================================
// TScrollBox
TScrollBox::TScrollBox(TComponent* AOwner) : TScrollingWinControl(AOwner) {
  ControlStyle = {csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
  SetBounds(0, 0, 185, 41);
  SetNonClientEdges(2, 0);
}

void TScrollBox::SetBorderStyle(TBorderStyle v) {
  FBorderStyle = v;
  SetNonClientEdges(v == bsSingle ? 2 : 0, 0);
}
