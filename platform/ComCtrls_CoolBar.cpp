// TCoolBar and its bands: rows of bands, each a grip, an image, a caption and a child control,
// laid out and drawn here the way the Windows rebar does it.
#include <algorithm>

#include "ComCtrls.h"
#include "ExtCtrls.h"
#include "SysUtils.h"
#include "qt/QtWidgets.h"

// =============================================================================================
// TCoolBand
TCoolBand::TCoolBand() : FBitmap(new TBitmap) {
  FBitmap->OnChange = [this](TObject*) {
    FParentBitmap = false;
    Changed(false);
  };
}

TCoolBand::~TCoolBand() {
  if (FControl)
    if (TCoolBar* bar = CoolBar()) FControl->RemoveFreeNotification(bar);
  delete FBitmap;
}

TCoolBar* TCoolBand::CoolBar() const {
  auto* bands = Cast<TCoolBands>(Collection());
  return bands ? bands->CoolBar() : nullptr;
}

void TCoolBand::SetControl(TWinControl* v) {
  if (FControl == v) return;
  TCoolBar* bar = CoolBar();
  if (bar && v == bar) throw EInvalidOperation("A cool band cannot hold its own cool bar");
  // A control sits in one band at a time.
  if (bar && v)
    if (TCoolBand* other = bar->GetBands()->FindBand(v); other && other != this) other->FControl = nullptr;
  if (bar && FControl) FControl->RemoveFreeNotification(bar);
  FControl = v;
  if (bar && v) {
    v->FreeNotification(bar);
    if (v->GetParent() != bar) v->SetParent(bar);
  }
  Changed(true);
}

void TCoolBand::SetBitmap(TBitmap* v) { FBitmap->Assign(v); }
bool TCoolBand::IsBitmapStored() const { return !FParentBitmap && !FBitmap->Empty(); }

void TCoolBand::Assign(TPersistent* source) {
  if (auto* s = Cast<TCoolBand>(source)) {
    FText = s->FText, FWidth = s->FWidth, FMinHeight = s->FMinHeight, FMinWidth = s->FMinWidth;
    FBreak = s->FBreak, FFixedSize = s->FFixedSize, FFixedBackground = s->FFixedBackground;
    FHorizontalOnly = s->FHorizontalOnly, FVisible = s->FVisible, FImageIndex = s->FImageIndex;
    FColor = s->FColor, FParentColor = s->FParentColor, FBorderStyle = s->FBorderStyle;
    FBitmap->Assign(s->FBitmap);
    FParentBitmap = s->FParentBitmap;
    SetControl(s->FControl);
    return;
  }
  TCollectionItem::Assign(source);
}

// =============================================================================================
// TCoolBands
TCoolBands::TCoolBands(TCoolBar* coolBar) : TCollection(TCoolBand::StaticClass()), FCoolBar(coolBar) {
  SetOwnerPersistent(coolBar);
}

TCoolBand* TCoolBands::FindBand(const TControl* c) const {
  for (int i = 0; i < Count(); ++i)
    if (Items(i)->GetControl() == c) return Items(i);
  return nullptr;
}

void TCoolBands::Update(TCollectionItem*) {
  if (FCoolBar) FCoolBar->BandsChanged();
}

// =============================================================================================
// TCoolBar
TCoolBar::TCoolBar(TComponent* AOwner) : TCustomControl(AOwner), FBitmap(new TBitmap) {
  ControlStyle = {csAcceptsControls, csCaptureMouse, csClickEvents, csDoubleClicks, csOpaque};
  FBands = new TCoolBands(this);
  FBitmap->OnChange = [this](TObject*) { Invalidate(); };
  SetBounds(0, 0, 150, 75);
  SetAlign(alTop);
}

TCoolBar::~TCoolBar() {
  Destroying();
  DestroyHandle();
  delete FBands;
  delete FBitmap;
}

TNonClientArea TCoolBar::EdgeArea() const {
  TNonClientArea a;
  if (!FEdgeBorders.Empty()) a.Border = (FEdgeInner != esNone ? 1 : 0) + (FEdgeOuter != esNone ? 1 : 0);
  return a;
}

TRect TCoolBar::GetClientRect() const {
  TRect r = EdgeArea().ClientRect(FWidth, FHeight);
  return Rect(0, 0, r.Width(), r.Height());
}

TPoint TCoolBar::ClientOrigin() const {
  TPoint p = TCustomControl::ClientOrigin();
  TRect r = EdgeArea().ClientRect(FWidth, FHeight);
  return {p.X + r.Left, p.Y + r.Top};
}

void TCoolBar::CreateParams(TCreateParams& params) {
  TCustomControl::CreateParams(params);
  params.NonClient = true;
}

void TCoolBar::CreateWnd() {
  TCustomControl::CreateWnd();
  qtw::SetNonClientArea(FHandle, EdgeArea());
}

void TCoolBar::EdgesChanged() {
  if (HandleAllocated()) qtw::SetNonClientArea(FHandle, EdgeArea());
  BandsChanged();
}

void TCoolBar::SetAutoSize(bool v) {
  FAutoSize = v;
  BandsChanged();
}
void TCoolBar::SetBandBorderStyle(TBorderStyle v) {
  FBandBorderStyle = v;
  BandsChanged();
}
void TCoolBar::SetFixedSize(bool v) {
  FFixedSize = v;
  BandsChanged();
}
void TCoolBar::SetShowText(bool v) {
  FShowText = v;
  BandsChanged();
}
void TCoolBar::SetVertical(bool v) {
  FVertical = v;
  BandsChanged();
}
void TCoolBar::SetBitmap(TBitmap* v) { FBitmap->Assign(v); }

void TCoolBar::SetImages(TImageList* v) {
  SetComponentReference(this, FImages, v);
  BandsChanged();
}

void TCoolBar::Notification(TComponent* c, TOperation op) {
  TCustomControl::Notification(c, op);
  if (op != opRemove) return;
  if (c == FImages) FImages = nullptr;
  // A freed control takes its band with it, as one taken off the bar does.
  // (Compared as components: a control being freed may no longer answer as a control.)
  for (int i = FBands ? FBands->Count() - 1 : -1; i >= 0; --i) {
    TCoolBand* band = FBands->Items(i);
    if (static_cast<TComponent*>(band->GetControl()) != c) continue;
    band->SetControl(nullptr);
    if (!InState(csDestroying)) delete band;
  }
}

void TCoolBar::BandsChanged() {
  if (InState(csLoading) || InState(csReading) || InState(csDestroying)) return;
  Realign();
  Invalidate();
  OnChange(this);
}

void TCoolBar::Loaded() {
  TCustomControl::Loaded();
  // The band controls are known only now (references are fixed up after reading).
  for (int i = 0; i < FBands->Count(); ++i)
    if (TWinControl* c = FBands->Items(i)->GetControl()) {
      c->FreeNotification(this);
      if (c->GetParent() != this) c->SetParent(this);
    }
  Realign();
}

// A control put on the bar gets a band of its own; a control taken off loses its band.
void TCoolBar::Dispatch(TMessage& m) {
  if (m.Msg == CM_CONTROLCHANGE && !InState(csLoading) && !InState(csReading) && !InState(csDestroying)) {
    auto* c = reinterpret_cast<TControl*>(m.WParam);
    TCustomControl::Dispatch(m);
    if (m.LParam) {
      auto* w = Cast<TWinControl>(c);
      if (w && !w->InState(csReading) && !FBands->FindBand(w)) {
        TCoolBand* band = FBands->Add();
        band->SetWidth(w->GetWidth() + BandHeaderSize(band) + BandMargin);
        band->SetMinHeight(w->GetHeight());
        band->SetControl(w);
      }
    } else if (TCoolBand* band = FBands->FindBand(c)) {
      delete band;
    }
    return;
  }
  TCustomControl::Dispatch(m);
}

// The grip, image and text before a band's control.
int TCoolBar::BandHeaderSize(const TCoolBand* band) const {
  int size = FFixedSize || band->GetFixedSize() ? 2 : GripSize;
  if (FImages && band->GetImageIndex() >= 0) size += (FVertical ? FImages->GetHeight() : FImages->GetWidth()) + 2;
  if (FShowText && !band->GetText().empty()) {
    TCanvas* c = Canvas();
    c->SetFont(GetFont());
    size += (FVertical ? c->TextHeight(band->GetText()) : c->TextWidth(band->GetText())) + 4;
  }
  return size;
}

// The bands place their controls whatever the controls' own Align says (a tool bar is alTop).
void TCoolBar::AlignControls(TControl* aControl, TRect& rect) {
  if (FLayingOut) return;  // a band control moving asks again
  TCustomControl::AlignControls(aControl, rect);
  LayoutBands();
}

// Rows of bands: a band with Break starts a new row; a band is as wide as its Width (at least
// its header, MinWidth and margin), the last of a row reaches the end. The controls fill their
// bands after the header, as tall as the row, which is as tall as its tallest MinHeight.
// Vertical bars do the same with the axes exchanged.
void TCoolBar::LayoutBands() {
  if (FLayingOut || !FBands) return;
  FLayingOut = true;
  TRect client = GetClientRect();
  const int extent = FVertical ? client.Height() : client.Width();
  const int gap = FBandBorderStyle == bsSingle ? 4 : 2;
  auto place = [this](int along, int across, int length, int thickness) {
    return FVertical ? Bounds(across, along, thickness, length) : Bounds(along, across, length, thickness);
  };
  std::vector<std::vector<TCoolBand*>> rows;
  for (int i = 0; i < FBands->Count(); ++i) {
    TCoolBand* band = FBands->Items(i);
    band->BandRect = TRect{};
    if (!band->GetVisible() || (FVertical && band->GetHorizontalOnly())) continue;
    if (rows.empty() || band->GetBreak()) rows.emplace_back();
    rows.back().push_back(band);
  }
  int across = 0;
  for (const auto& row : rows) {
    int thickness = 0;
    for (TCoolBand* band : row) thickness = std::max(thickness, band->GetMinHeight());
    int along = 0;
    for (size_t k = 0; k < row.size(); ++k) {
      TCoolBand* band = row[k];
      int header = BandHeaderSize(band);
      int least = header + band->GetMinWidth() + BandMargin;
      int length = k + 1 == row.size() ? std::max(extent - along, least) : std::max(band->GetWidth(), least);
      band->BandRect = place(along, across, length, thickness);
      if (TWinControl* c = band->GetControl(); c && c->GetParent() == this)
        c->SetBoundsRect(place(along + header, across, std::max(0, length - header - BandMargin), thickness));
      along += length;
    }
    across += thickness + gap;
  }
  FRowCount = static_cast<int>(rows.size());
  if (FAutoSize && !rows.empty()) {
    TNonClientArea a = EdgeArea();
    int size = across - gap + 2 * a.Border;
    if (FVertical) SetWidth(size);
    else SetHeight(size);
  }
  FLayingOut = false;
}

void TCoolBar::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TCustomControl::MouseDown(button, shift, x, y);
  if (button != mbLeft || FFixedSize) return;
  TCoolBand* previous = nullptr;
  for (int i = 0; i < FBands->Count(); ++i) {
    TCoolBand* band = FBands->Items(i);
    TRect r = band->BandRect;
    if (IsRectEmpty(r)) continue;
    int along = FVertical ? y - r.Top : x - r.Left;
    bool sameRow = previous && (FVertical ? previous->BandRect.Left == r.Left : previous->BandRect.Top == r.Top);
    if (PtInRect(r, TPoint{x, y}) && along < GripSize && sameRow && !band->GetFixedSize() &&
        !previous->GetFixedSize()) {
      FSizing = previous;
      FSizingOffset = along;
      return;
    }
    previous = band;
  }
}

void TCoolBar::MouseMove(TShiftState shift, int x, int y) {
  TCustomControl::MouseMove(shift, x, y);
  if (!FSizing) return;
  bool present = false;
  for (int i = 0; i < FBands->Count(); ++i) present = present || FBands->Items(i) == FSizing;
  if (!present) {
    FSizing = nullptr;
    return;
  }
  TRect r = FSizing->BandRect;
  FSizing->SetWidth((FVertical ? y - r.Top : x - r.Left) - FSizingOffset);
}

void TCoolBar::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  TCustomControl::MouseUp(button, shift, x, y);
  FSizing = nullptr;
}

void TCoolBar::Paint() {
  TCanvas* c = Canvas();
  TRect client = GetClientRect();
  c->GetBrush()->SetColor(GetColor());
  c->FillRect(client);
  if (!FBitmap->Empty())
    for (int y = 0; y < client.Bottom; y += FBitmap->GetHeight())
      for (int x = 0; x < client.Right; x += FBitmap->GetWidth()) c->Draw(x, y, FBitmap);
  c->SetFont(GetFont());
  for (int i = 0; i < FBands->Count(); ++i) {
    TCoolBand* band = FBands->Items(i);
    TRect r = band->BandRect;
    if (IsRectEmpty(r)) continue;
    if (!band->GetParentColor()) {
      c->GetBrush()->SetColor(band->GetColor());
      c->FillRect(r);
    }
    if (!band->GetParentBitmap() && !band->GetBitmap()->Empty()) c->StretchDraw(r, band->GetBitmap());
    // Etched separators between bands and rows.
    if (FBandBorderStyle == bsSingle) {
      c->GetPen()->SetColor(clBtnShadow);
      c->MoveTo(r.Left, r.Bottom + 1);
      c->LineTo(r.Right, r.Bottom + 1);
      c->MoveTo(r.Right - 2, r.Top);
      c->LineTo(r.Right - 2, r.Bottom);
      c->GetPen()->SetColor(clBtnHighlight);
      c->MoveTo(r.Left, r.Bottom + 2);
      c->LineTo(r.Right, r.Bottom + 2);
      c->MoveTo(r.Right - 1, r.Top);
      c->LineTo(r.Right - 1, r.Bottom);
    }
    int pos = FVertical ? r.Top : r.Left;
    if (!FFixedSize && !band->GetFixedSize()) {
      // The grip: a raised bar along the band's start.
      TRect grip = FVertical ? Rect(r.Left + 2, r.Top + 2, r.Right - 2, r.Top + 5)
                             : Rect(r.Left + 2, r.Top + 2, r.Left + 5, r.Bottom - 2);
      c->GetPen()->SetColor(clBtnHighlight);
      c->MoveTo(grip.Left, grip.Bottom - 1);
      c->LineTo(grip.Left, grip.Top);
      c->LineTo(grip.Right - 1, grip.Top);
      c->GetPen()->SetColor(clBtnShadow);
      c->LineTo(grip.Right - 1, grip.Bottom - 1);
      c->LineTo(grip.Left - 1, grip.Bottom - 1);
      pos += GripSize;
    } else {
      pos += 2;
    }
    if (FImages && band->GetImageIndex() >= 0) {
      if (FVertical) {
        FImages->Draw(c, r.Left + (r.Width() - FImages->GetWidth()) / 2, pos, band->GetImageIndex());
        pos += FImages->GetHeight() + 2;
      } else {
        FImages->Draw(c, pos, r.Top + (r.Height() - FImages->GetHeight()) / 2, band->GetImageIndex());
        pos += FImages->GetWidth() + 2;
      }
    }
    if (FShowText && !band->GetText().empty()) {
      c->GetBrush()->SetStyle(bsClear);
      c->GetFont()->SetColor(clBtnText);
      TSize ext = c->TextExtent(band->GetText());
      if (FVertical) c->TextOut(r.Left + (r.Width() - ext.cx) / 2, pos, band->GetText());
      else c->TextOut(pos, r.Top + (r.Height() - ext.cy) / 2, band->GetText());
      c->GetBrush()->SetStyle(bsSolid);
    }
  }
}

// =============================================================================================
// Published properties, in the VCL's order.
KV_IMPLEMENT_CLASS(TCoolBand, "ComCtrls") {
  b.Prop("Bitmap", &TCoolBand::GetBitmap, &TCoolBand::SetBitmap).StoredMethod(&TCoolBand::IsBitmapStored, false);
  b.Prop("BorderStyle", &TCoolBand::GetBorderStyle, &TCoolBand::SetBorderStyle)
      .Type(TypeInfoTBorderStyle())
      .Default(bsNone);
  b.Prop("Break", &TCoolBand::GetBreak, &TCoolBand::SetBreak).Default(true);
  b.Prop("Color", &TCoolBand::GetColor, &TCoolBand::SetColor)
      .Type(TypeInfoTColor())
      .StoredMethod(&TCoolBand::IsColorStored, false);
  b.Prop("Control", &TCoolBand::GetControl, &TCoolBand::SetControl);
  b.Prop("FixedBackground", &TCoolBand::GetFixedBackground, &TCoolBand::SetFixedBackground).Default(true);
  b.Prop("FixedSize", &TCoolBand::GetFixedSize, &TCoolBand::SetFixedSize).Default(false);
  b.Prop("HorizontalOnly", &TCoolBand::GetHorizontalOnly, &TCoolBand::SetHorizontalOnly).Default(false);
  b.Prop("ImageIndex", &TCoolBand::GetImageIndex, &TCoolBand::SetImageIndex);
  b.Prop("MinHeight", &TCoolBand::GetMinHeight, &TCoolBand::SetMinHeight).Default(TCoolBand::DefaultMinHeight);
  b.Prop("MinWidth", &TCoolBand::GetMinWidth, &TCoolBand::SetMinWidth).Default(0);
  b.Prop("ParentColor", &TCoolBand::GetParentColor, &TCoolBand::SetParentColor).Default(true);
  b.Prop("ParentBitmap", &TCoolBand::GetParentBitmap, &TCoolBand::SetParentBitmap).Default(true);
  b.Prop("Text", &TCoolBand::GetText, &TCoolBand::SetText);
  b.Prop("Visible", &TCoolBand::GetVisible, &TCoolBand::SetVisible).Default(true);
  b.Prop("Width", &TCoolBand::GetWidth, &TCoolBand::SetWidth);
}

KV_IMPLEMENT_CLASS(TCoolBands, "ComCtrls") {}

KV_IMPLEMENT_CLASS(TCoolBar, "ComCtrls") {
  b.Prop("Align", &TControl::GetAlign, &TControl::SetAlign).Default(alTop);
  PublishControlProperties(b, {"Anchors"});
  b.Prop("AutoSize", &TCoolBar::GetAutoSize, &TCoolBar::SetAutoSize).Default(false);
  b.Prop("BandBorderStyle", &TCoolBar::GetBandBorderStyle, &TCoolBar::SetBandBorderStyle)
      .Type(TypeInfoTBorderStyle())
      .Default(bsSingle);
  b.Prop("Bands", &TCoolBar::GetBands, &TCoolBar::SetBands);
  PublishControlProperties(b, {"BiDiMode", "Color", "Constraints", "Ctl3D", "DragCursor", "DragKind", "DragMode"});
  b.Prop("EdgeBorders", &TCoolBar::GetEdgeBorders, &TCoolBar::SetEdgeBorders)
      .Default(TEdgeBorders{ebLeft, ebTop, ebRight, ebBottom});
  b.Prop("EdgeInner", &TCoolBar::GetEdgeInner, &TCoolBar::SetEdgeInner).Default(esRaised);
  b.Prop("EdgeOuter", &TCoolBar::GetEdgeOuter, &TCoolBar::SetEdgeOuter).Default(esLowered);
  PublishControlProperties(b, {"Enabled"});
  b.Prop("FixedSize", &TCoolBar::GetFixedSize, &TCoolBar::SetFixedSize).Default(false);
  b.Prop("FixedOrder", &TCoolBar::GetFixedOrder, &TCoolBar::SetFixedOrder).Default(false);
  PublishControlProperties(b, {"Font"});
  b.Prop("Images", &TCoolBar::GetImages, &TCoolBar::SetImages);
  PublishControlProperties(b, {"ParentBiDiMode", "ParentColor", "ParentFont", "ParentShowHint"});
  b.Prop("Bitmap", &TCoolBar::GetBitmap, &TCoolBar::SetBitmap).StoredMethod(&TCoolBar::IsBitmapStored, false);
  PublishControlProperties(b, {"PopupMenu", "ShowHint"});
  b.Prop("ShowText", &TCoolBar::GetShowText, &TCoolBar::SetShowText).Default(true);
  b.Prop("Vertical", &TCoolBar::GetVertical, &TCoolBar::SetVertical).Default(false);
  PublishControlProperties(b, {"Visible"});
  b.Prop("OnChange", &TCoolBar::OnChange);
  PublishControlProperties(b, {"OnClick", "OnDblClick", "OnDragDrop", "OnDragOver", "OnEndDrag", "OnMouseDown",
                               "OnMouseMove", "OnMouseUp", "OnResize", "OnStartDrag"});
}

void RegisterCoolBarClasses() { RegisterClasses({TCoolBar::StaticClass(), TCoolBand::StaticClass()}); }
