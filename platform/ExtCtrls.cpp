#include "ExtCtrls.h"

#include <algorithm>

#include "TypInfo.h"
#include "qt/QtMoreCtrls.h"

PTypeInfo TypeInfoTBevelWidth() {
  static PTypeInfo ti = MakeOrdTypeInfo("TBevelWidth", tkInteger, otSLong, 1, INT32_MAX);
  return ti;
}

namespace {
// Controls that draw on their parent's face publish the button-face colour as their own.
template <class C>
void PublishFaceColor(TClassBuilder<C>& b) {
  b.Prop("Color", &TControl::GetColor, &TControl::SetColor)
      .Type(TypeInfoTColor())
      .Default(clBtnFace)
      .StoredMethod(&TControl::IsColorStored);
}
}  // namespace

KV_IMPLEMENT_CLASS(TCustomPanel, "ExtCtrls") {}
KV_IMPLEMENT_CLASS(TPanel, "ExtCtrls") {
  PublishControlProperties(b, {"Align"});
  b.Prop("Alignment", &TCustomPanel::GetAlignment, &TCustomPanel::SetAlignment).Default(taCenter);
  PublishControlProperties(b, {"Anchors"});
  b.Prop("BevelInner", &TCustomPanel::GetBevelInner, &TCustomPanel::SetBevelInner).Default(bvNone);
  b.Prop("BevelOuter", &TCustomPanel::GetBevelOuter, &TCustomPanel::SetBevelOuter).Default(bvRaised);
  b.Prop("BevelWidth", &TCustomPanel::GetBevelWidth, &TCustomPanel::SetBevelWidth)
      .Type(TypeInfoTBevelWidth())
      .Default(1);
  PublishControlProperties(b, {"BiDiMode"});
  PublishControlProperties(b, {"BorderWidth"});
  b.Prop("BorderStyle", &TCustomPanel::GetBorderStyle, &TCustomPanel::SetBorderStyle)
      .Type(TypeInfoTBorderStyle())
      .Default(bsNone);
  PublishControlProperties(b, {"Caption"});
  PublishFaceColor(b);
  PublishControlProperties(b, {"Constraints", "Ctl3D", "DragCursor", "DragKind", "DragMode", "Enabled"});
  b.Prop("FullRepaint", &TCustomPanel::GetFullRepaint, &TCustomPanel::SetFullRepaint).Default(true);
  PublishControlProperties(b, {"Font"});
  b.Prop("Locked", &TCustomPanel::GetLocked, &TCustomPanel::SetLocked).Default(false);
  b.Prop("ParentBackground", &TCustomPanel::GetParentBackground, &TCustomPanel::SetParentBackground).Default(true);
  PublishControlProperties(b, {"ParentBiDiMode"});
  b.Prop("ParentColor", &TControl::GetParentColor, &TControl::SetParentColor).Default(false);
  PublishControlProperties(
      b, {"ParentCtl3D", "ParentFont",  "ParentShowHint", "PopupMenu",  "ShowHint",   "TabOrder",   "TabStop",
          "Visible",     "OnClick",     "OnDblClick",     "OnDragDrop", "OnDragOver", "OnEndDrag",  "OnEnter",
          "OnExit",      "OnMouseDown", "OnMouseMove",    "OnMouseUp",  "OnResize",   "OnStartDrag"});
}

KV_IMPLEMENT_CLASS(TBevel, "ExtCtrls") {
  PublishControlProperties(b, {"Align", "Anchors", "Constraints", "ParentShowHint"});
  b.Prop("Shape", &TBevel::GetShape, &TBevel::SetShape).Default(bsBox);
  PublishControlProperties(b, {"PopupMenu", "ShowHint"});
  b.Prop("Style", &TBevel::GetStyle, &TBevel::SetStyle).Default(bsLowered);
  PublishControlProperties(b, {"Visible"});
}

KV_IMPLEMENT_CLASS(TShape, "ExtCtrls") {
  PublishControlProperties(b, {"Align", "Anchors"});
  b.Prop("Brush", &TShape::GetBrush, &TShape::SetBrush);
  PublishControlProperties(b, {"Constraints", "DragCursor", "DragKind", "DragMode", "Enabled", "ParentShowHint"});
  b.Prop("Pen", &TShape::GetPen, &TShape::SetPen);
  b.Prop("Shape", &TShape::GetShape, &TShape::SetShape).Default(stRectangle);
  PublishControlProperties(b, {"PopupMenu", "ShowHint", "Visible", "OnDragDrop", "OnDragOver", "OnEndDrag",
                               "OnMouseDown", "OnMouseMove", "OnMouseUp", "OnStartDrag"});
}

KV_IMPLEMENT_CLASS(TImage, "ExtCtrls") {
  PublishControlProperties(b, {"Align", "Anchors"});
  b.Prop("AutoSize", &TImage::GetAutoSize, &TImage::SetAutoSize).Default(false);
  b.Prop("Center", &TImage::GetCenter, &TImage::SetCenter).Default(false);
  PublishControlProperties(b, {"Constraints", "DragCursor", "DragKind", "DragMode", "Enabled"});
  b.Prop("IncrementalDisplay", &TImage::GetIncrementalDisplay, &TImage::SetIncrementalDisplay).Default(false);
  PublishControlProperties(b, {"ParentShowHint"});
  b.Prop("Picture", &TImage::GetPicture, &TImage::SetPicture);
  PublishControlProperties(b, {"PopupMenu", "ShowHint"});
  b.Prop("Stretch", &TImage::GetStretch, &TImage::SetStretch).Default(false);
  b.Prop("Transparent", &TImage::GetTransparent, &TImage::SetTransparent).Default(false);
  PublishControlProperties(b, {"Visible", "OnClick", "OnDblClick", "OnDragDrop", "OnDragOver", "OnEndDrag",
                               "OnMouseDown", "OnMouseMove", "OnMouseUp", "OnStartDrag"});
}

KV_IMPLEMENT_CLASS(TPaintBox, "ExtCtrls") {
  PublishControlProperties(b, {"Align",      "Anchors",   "Color",       "Constraints", "DragCursor", "DragKind",
                               "DragMode",   "Enabled",   "Font",        "ParentColor", "ParentFont", "ParentShowHint",
                               "PopupMenu",  "ShowHint",  "Visible",     "OnClick",     "OnDblClick", "OnDragDrop",
                               "OnDragOver", "OnEndDrag", "OnMouseDown", "OnMouseMove", "OnMouseUp"});
  b.Prop("OnPaint", &TPaintBox::OnPaint);
  PublishControlProperties(b, {"OnStartDrag"});
}

KV_IMPLEMENT_CLASS(TCustomRadioGroup, "ExtCtrls") {}
KV_IMPLEMENT_CLASS(TRadioGroup, "ExtCtrls") {
  PublishControlProperties(b, {"Align", "Anchors", "BiDiMode", "Caption", "Color"});
  b.Prop("Columns", &TCustomRadioGroup::GetColumns, &TCustomRadioGroup::SetColumns).Default(1);
  PublishControlProperties(b, {"Constraints", "Ctl3D", "DragCursor", "DragKind", "DragMode", "Enabled", "Font"});
  b.Prop("ItemIndex", &TCustomRadioGroup::GetItemIndex, &TCustomRadioGroup::SetItemIndex).Default(-1);
  b.Prop("Items", &TCustomRadioGroup::GetItems, &TCustomRadioGroup::SetItems);
  PublishControlProperties(b, {"ParentBiDiMode", "ParentColor", "ParentCtl3D", "ParentFont", "ParentShowHint",
                               "PopupMenu", "ShowHint", "TabOrder", "TabStop", "Visible", "OnClick", "OnDragDrop",
                               "OnDragOver", "OnEndDrag", "OnEnter", "OnExit", "OnStartDrag"});
}

// A radio button of a radio group: its clicks are the group's.
class TGroupButton : public TRadioButton {
  KV_CLASS(TGroupButton, TRadioButton)
 public:
  explicit TGroupButton(TCustomRadioGroup* group) : TRadioButton(group), FGroup(group) {}
  void Click() override {
    TRadioButton::Click();
    FGroup->ButtonClicked(this);
  }

 private:
  TCustomRadioGroup* FGroup;
};
KV_IMPLEMENT_CLASS(TGroupButton, "ExtCtrls") {}

KV_IMPLEMENT_CLASS(TTimer, "ExtCtrls") {
  b.Prop("Enabled", &TTimer::GetEnabled, &TTimer::SetEnabled).Default(true);
  b.Prop("Interval", &TTimer::GetInterval, &TTimer::SetInterval).Default(1000);
  b.Prop("OnTimer", &TTimer::GetOnTimer, &TTimer::SetOnTimer);
}

void RegisterExtCtrlsClasses() {
  RegisterClasses({TPanel::StaticClass(), TBevel::StaticClass(), TShape::StaticClass(), TImage::StaticClass(),
                   TPaintBox::StaticClass(), TRadioGroup::StaticClass(), TNotebook::StaticClass(), TPage::StaticClass(),
                   TTimer::StaticClass(), TSplitter::StaticClass(), THeader::StaticClass()});
}

// =============================================================================================
namespace {
// The edges of r as one-pixel fills: top and left in topColor, then bottom and right in
// bottomColor, which takes the top-right and bottom-left corners, as the VCL's polylines do.
void EdgeRect(TCanvas* canvas, const TRect& r, TColor topColor, TColor bottomColor) {
  TBrush* brush = canvas->GetBrush();
  brush->SetStyle(bsSolid);
  brush->SetColor(topColor);
  canvas->FillRect(Rect(r.Left, r.Top, r.Right, r.Top + 1));
  canvas->FillRect(Rect(r.Left, r.Top, r.Left + 1, r.Bottom));
  brush->SetColor(bottomColor);
  canvas->FillRect(Rect(r.Right - 1, r.Top, r.Right, r.Bottom));
  canvas->FillRect(Rect(r.Left, r.Bottom - 1, r.Right, r.Bottom));
}
}  // namespace

void Frame3D(TCanvas* canvas, TRect& rect, TColor topColor, TColor bottomColor, int width) {
  for (; width > 0 && !IsRectEmpty(rect); --width) {
    EdgeRect(canvas, rect, topColor, bottomColor);
    InflateRect(rect, -1, -1);
  }
}

namespace {
void BevelColors(TPanelBevel bevel, TColor& top, TColor& bottom) {
  top = bevel == bvLowered ? clBtnShadow : clBtnHighlight;
  bottom = bevel == bvLowered ? clBtnHighlight : clBtnShadow;
}
}  // namespace

// =============================================================================================
// TCustomPanel
TCustomPanel::TCustomPanel(TComponent* AOwner) : TCustomControl(AOwner) {
  ControlStyle = {csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption,
                  csOpaque,          csDoubleClicks, csReplicatable};
  SetBounds(0, 0, 185, 41);
  SetColor(clBtnFace);
}

TRect TCustomPanel::GetClientRect() const {
  TRect r = Rect(0, 0, FWidth, FHeight);
  int inset = GetBorderWidth() + (FBevelOuter != bvNone ? FBevelWidth : 0) + (FBevelInner != bvNone ? FBevelWidth : 0) +
              (FBorderStyle == bsSingle ? (GetCtl3D() ? 2 : 1) : 0);
  InflateRect(r, -inset, -inset);
  return r;
}

void TCustomPanel::Paint() {
  TCanvas* c = Canvas();
  TRect r = Rect(0, 0, FWidth, FHeight);
  TColor top, bottom;
  if (FBorderStyle == bsSingle && GetCtl3D()) {
    // The sunken client edge Windows draws around a bordered window.
    Frame3D(c, r, clBtnShadow, clBtnHighlight, 1);
    Frame3D(c, r, cl3DDkShadow, cl3DLight, 1);
  } else if (FBorderStyle == bsSingle) {
    Frame3D(c, r, clWindowFrame, clWindowFrame, 1);  // a flat window's one-pixel border
  }
  if (FBevelOuter != bvNone) {
    BevelColors(FBevelOuter, top, bottom);
    Frame3D(c, r, top, bottom, FBevelWidth);
  }
  Frame3D(c, r, GetColor(), GetColor(), GetBorderWidth());
  if (FBevelInner != bvNone) {
    BevelColors(FBevelInner, top, bottom);
    Frame3D(c, r, top, bottom, FBevelWidth);
  }
  c->GetBrush()->SetColor(GetColor());
  c->GetBrush()->SetStyle(bsSolid);
  c->FillRect(r);
  c->SetFont(GetFont());
  if (!GetEnabled()) c->GetFont()->SetColor(clGrayText);
  unsigned align = FAlignment == taRightJustify ? DT_RIGHT : FAlignment == taCenter ? DT_CENTER : DT_LEFT;
  DrawText(c, GetCaption(), r, DT_SINGLELINE | DT_VCENTER | DT_EXPANDTABS | align);
}

void TCustomPanel::Dispatch(TMessage& m) {
  if (m.Msg == CM_TEXTCHANGED || m.Msg == CM_FONTCHANGED) Invalidate();
  TCustomControl::Dispatch(m);
}

void TCustomPanel::Changed() {
  Realign();
  Invalidate();
}

void TCustomPanel::SetAlignment(TAlignment v) {
  FAlignment = v;
  Invalidate();
}
void TCustomPanel::SetBevelInner(TPanelBevel v) {
  FBevelInner = v;
  Changed();
}
void TCustomPanel::SetBevelOuter(TPanelBevel v) {
  FBevelOuter = v;
  Changed();
}
void TCustomPanel::SetBevelWidth(TBevelWidth v) {
  FBevelWidth = std::max(1, v);
  Changed();
}
void TCustomPanel::SetBorderStyle(TBorderStyle v) {
  FBorderStyle = v;
  Changed();
}

// =============================================================================================
// TBevel
TBevel::TBevel(TComponent* AOwner) : TGraphicControl(AOwner) {
  ControlStyle = ControlStyle + TControlStyle{csReplicatable};
  SetBounds(0, 0, 50, 50);
}

void TBevel::Paint() {
  TCanvas* c = Canvas();
  const TColor c1 = FStyle == bsLowered ? clBtnShadow : clBtnHighlight;
  const TColor c2 = FStyle == bsLowered ? clBtnHighlight : clBtnShadow;
  const int w = FWidth, h = FHeight;
  auto fill = [c](TColor color, const TRect& r) {
    c->GetBrush()->SetStyle(bsSolid);
    c->GetBrush()->SetColor(color);
    c->FillRect(r);
  };
  switch (FShape) {
    case bsBox: EdgeRect(c, Rect(0, 0, w, h), c1, c2); break;
    case bsFrame:
      // Etched: the light frame one pixel down-right of the dark one.
      EdgeRect(c, Rect(1, 1, w, h), c2, c2);
      EdgeRect(c, Rect(0, 0, w - 1, h - 1), c1, c1);
      break;
    case bsTopLine:
      fill(c1, Rect(0, 0, w, 1));
      fill(c2, Rect(0, 1, w, 2));
      break;
    case bsBottomLine:
      fill(c1, Rect(0, h - 2, w, h - 1));
      fill(c2, Rect(0, h - 1, w, h));
      break;
    case bsLeftLine:
      fill(c1, Rect(0, 0, 1, h));
      fill(c2, Rect(1, 0, 2, h));
      break;
    case bsRightLine:
      fill(c1, Rect(w - 2, 0, w - 1, h));
      fill(c2, Rect(w - 1, 0, w, h));
      break;
    case bsSpacer:
      if (InState(csDesigning)) {
        c->GetPen()->SetStyle(psDot);
        c->GetPen()->SetColor(clBlack);
        c->GetBrush()->SetStyle(bsClear);
        c->Rectangle(0, 0, w, h);
        c->GetPen()->SetStyle(psSolid);
      }
      break;
  }
}

void TBevel::SetShape(TBevelShape v) {
  FShape = v;
  Invalidate();
}
void TBevel::SetStyle(TBevelStyle v) {
  FStyle = v;
  Invalidate();
}

// =============================================================================================
// TShape
TShape::TShape(TComponent* AOwner) : TGraphicControl(AOwner), FPen(new TPen), FBrush(new TBrush) {
  ControlStyle = ControlStyle + TControlStyle{csReplicatable};
  SetBounds(0, 0, 65, 65);
  FPen->OnChange = [this](TObject*) { Invalidate(); };
  FBrush->OnChange = [this](TObject*) { Invalidate(); };
}

TShape::~TShape() {
  Destroying();
  delete FPen;
  delete FBrush;
}

void TShape::Paint() {
  TCanvas* c = Canvas();
  c->SetPen(FPen);
  c->SetBrush(FBrush);
  const int pw = FPen->GetWidth();
  int x = pw / 2, y = x;
  int w = FWidth - pw + 1, h = FHeight - pw + 1;
  if (pw == 0) {
    --w;
    --h;
  }
  const int s = std::min(w, h);
  if (FShape == stSquare || FShape == stRoundSquare || FShape == stCircle) {
    x += (w - s) / 2;
    y += (h - s) / 2;
    w = h = s;
  }
  switch (FShape) {
    case stRectangle:
    case stSquare: c->Rectangle(x, y, x + w, y + h); break;
    case stRoundRect:
    case stRoundSquare: c->RoundRect(x, y, x + w, y + h, s / 4, s / 4); break;
    case stEllipse:
    case stCircle: c->Ellipse(x, y, x + w, y + h); break;
  }
}

void TShape::SetShape(TShapeType v) {
  FShape = v;
  Invalidate();
}

// =============================================================================================
// TImage
TImage::TImage(TComponent* AOwner) : TGraphicControl(AOwner), FPicture(new TPicture) {
  ControlStyle = ControlStyle + TControlStyle{csReplicatable};
  SetBounds(0, 0, 105, 105);
  FPicture->OnChange = [this](TObject*) { PictureChanged(); };
}

TImage::~TImage() {
  Destroying();
  delete FPicture;
}

TRect TImage::DestRect() const {
  const int w = FPicture->GetWidth(), h = FPicture->GetHeight();
  if (FStretch) return Rect(0, 0, FWidth, FHeight);
  if (FCenter) return Bounds((FWidth - w) / 2, (FHeight - h) / 2, w, h);
  return Rect(0, 0, w, h);
}

void TImage::Paint() {
  TCanvas* c = Canvas();
  if (InState(csDesigning)) {
    c->GetPen()->SetStyle(psDash);
    c->GetPen()->SetColor(clBlack);
    c->GetBrush()->SetStyle(bsClear);
    c->Rectangle(0, 0, FWidth, FHeight);
    c->GetPen()->SetStyle(psSolid);
  }
  if (TGraphic* g = FPicture->GetGraphic(); g && !g->Empty()) c->StretchDraw(DestRect(), g);
}

void TImage::PictureChanged() {
  if (TGraphic* g = FPicture->GetGraphic()) {
    if (g->GetTransparent() != FTransparent && !g->Is<TIcon>()) g->SetTransparent(FTransparent);
    if (FAutoSize && g->GetWidth() > 0 && g->GetHeight() > 0) SetBounds(FLeft, FTop, g->GetWidth(), g->GetHeight());
  }
  Invalidate();
}

void TImage::SetAutoSize(bool v) {
  FAutoSize = v;
  PictureChanged();
}
void TImage::SetCenter(bool v) {
  FCenter = v;
  Invalidate();
}
void TImage::SetStretch(bool v) {
  FStretch = v;
  Invalidate();
}
void TImage::SetTransparent(bool v) {
  FTransparent = v;
  PictureChanged();
}

// =============================================================================================
// TPaintBox
TPaintBox::TPaintBox(TComponent* AOwner) : TGraphicControl(AOwner) {
  ControlStyle = ControlStyle + TControlStyle{csReplicatable};
  SetBounds(0, 0, 105, 105);
}

void TPaintBox::Paint() {
  TCanvas* c = Canvas();
  c->SetFont(GetFont());
  c->GetBrush()->SetColor(GetColor());
  if (InState(csDesigning)) {
    c->GetPen()->SetStyle(psDash);
    c->GetPen()->SetColor(clBlack);
    c->GetBrush()->SetStyle(bsClear);
    c->Rectangle(0, 0, FWidth, FHeight);
    c->GetPen()->SetStyle(psSolid);
    c->GetBrush()->SetStyle(bsSolid);
  }
  if (OnPaint) OnPaint(this);
}

// =============================================================================================
// TCustomRadioGroup
TCustomRadioGroup::TCustomRadioGroup(TComponent* AOwner)
    : TCustomGroupBox(AOwner), FItems(new TCustomListControlItems) {
  ControlStyle = {csSetCaption, csDoubleClicks};
  FItems->OnItemsChanged = [this] { ItemsChanged(); };
}

TCustomRadioGroup::~TCustomRadioGroup() {
  Destroying();
  // The buttons go with the group's window children; the list must not outlive them.
  for (TRadioButton* b : FButtons) delete b;
  FButtons.clear();
  delete FItems;
}

void TCustomRadioGroup::ItemsChanged() {
  FUpdating = true;
  while (static_cast<int>(FButtons.size()) > FItems->Count()) {
    delete FButtons.back();
    FButtons.pop_back();
  }
  while (static_cast<int>(FButtons.size()) < FItems->Count()) {
    auto* b = new TGroupButton(this);
    b->SetParent(this);
    FButtons.push_back(b);
  }
  for (int i = 0; i < FItems->Count(); ++i) {
    FButtons[i]->SetCaption(FItems->Get(i));
    FButtons[i]->SetEnabled(GetEnabled());
  }
  if (!InState(csLoading) && FItemIndex >= FItems->Count()) FItemIndex = FItems->Count() - 1;
  for (int i = 0; i < static_cast<int>(FButtons.size()); ++i) FButtons[i]->SetChecked(i == FItemIndex);
  FUpdating = false;
  ArrangeButtons();
}

void TCustomRadioGroup::ArrangeButtons() {
  if (FButtons.empty()) return;
  TCanvas* c = Canvas();
  c->SetFont(GetFont());
  const int textHeight = c->TextHeight("0");
  const int n = static_cast<int>(FButtons.size());
  const int perCol = (n + FColumns - 1) / FColumns;
  const int buttonWidth = (FWidth - 10) / FColumns;
  const int room = FHeight - textHeight - 5;
  const int buttonHeight = room / perCol;
  const int topMargin = textHeight + 1 + (room % perCol) / 2;
  for (int i = 0; i < n; ++i)
    FButtons[i]->SetBounds((i / perCol) * buttonWidth + 8, (i % perCol) * buttonHeight + topMargin, buttonWidth,
                           buttonHeight);
}

void TCustomRadioGroup::ButtonClicked(TRadioButton* button) {
  if (FUpdating) return;
  auto it = std::find(FButtons.begin(), FButtons.end(), button);
  if (it == FButtons.end()) return;
  FItemIndex = static_cast<int>(it - FButtons.begin());
  Click();
}

void TCustomRadioGroup::Loaded() {
  TCustomGroupBox::Loaded();
  if (FItemIndex >= FItems->Count()) FItemIndex = -1;
  ItemsChanged();
}

void TCustomRadioGroup::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case WM_SIZE:
    case CM_FONTCHANGED:
      TCustomGroupBox::Dispatch(m);
      ArrangeButtons();
      return;
    case CM_ENABLEDCHANGED:
      for (TRadioButton* b : FButtons) b->SetEnabled(GetEnabled());
      break;
    default: break;
  }
  TCustomGroupBox::Dispatch(m);
}

void TCustomRadioGroup::SetItemIndex(int v) {
  if (InState(csLoading) || InState(csReading)) {
    FItemIndex = v;
    return;
  }
  FItemIndex = std::clamp(v, -1, static_cast<int>(FButtons.size()) - 1);
  FUpdating = true;
  for (int i = 0; i < static_cast<int>(FButtons.size()); ++i) FButtons[i]->SetChecked(i == FItemIndex);
  FUpdating = false;
}

void TCustomRadioGroup::SetColumns(int v) {
  FColumns = std::clamp(v, 1, 16);
  ArrangeButtons();
  Invalidate();
}

// =============================================================================================
// TTimer
TTimer::TTimer(TComponent* AOwner) : TComponent(AOwner) {}

TTimer::~TTimer() {
  if (FTimerId) qtm::StopTimer(FTimerId);
}

void TTimer::UpdateTimer() {
  if (FTimerId) qtm::StopTimer(FTimerId);
  FTimerId = 0;
  if (FInterval == 0 || !FEnabled || !FOnTimer || InState(csDesigning) || InState(csLoading)) return;
  FTimerId = qtm::StartTimer(static_cast<int>(FInterval), [this] { Timer(); });
}

void TTimer::SetEnabled(bool v) {
  if (v == FEnabled) return;
  FEnabled = v;
  UpdateTimer();
}

void TTimer::SetInterval(unsigned v) {
  if (v == FInterval) return;
  FInterval = v;
  UpdateTimer();
}

void TTimer::SetOnTimer(TNotifyEvent v) {
  FOnTimer = v;
  UpdateTimer();
}

void TTimer::Loaded() {
  TComponent::Loaded();
  UpdateTimer();
}

void TTimer::Timer() { FOnTimer(this); }

// =============================================================================================
TRect DrawButtonFace(TCanvas* c, const TRect& r, bool down) {
  c->GetBrush()->SetStyle(bsSolid);
  c->GetBrush()->SetColor(clBtnFace);
  c->FillRect(r);
  c->GetBrush()->SetColor(clBlack);
  c->FrameRect(r);
  TRect in = r;
  InflateRect(in, -1, -1);
  if (down) {
    c->GetPen()->SetColor(clBtnShadow);
    c->MoveTo(in.Left, in.Bottom - 1);
    c->LineTo(in.Left, in.Top);
    c->LineTo(in.Right, in.Top);
    OffsetRect(in, 1, 1);
    return in;
  }
  Frame3D(c, in, clBtnHighlight, clBtnShadow, 1);
  return in;
}
