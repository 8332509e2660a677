#include "Buttons.h"

#include <algorithm>
#include <cmath>

#include "TypInfo.h"
#include "qt/QtStdCtrls.h"

PTypeInfo TypeInfoTNumGlyphs() {
  static PTypeInfo ti = MakeOrdTypeInfo("TNumGlyphs", tkInteger, otSByte, 1, 4);
  return ti;
}

KV_IMPLEMENT_CLASS(TSpeedButton, "Buttons") {
  PublishControlProperty(b, "Action");
  b.Prop("AllowAllUp", &TSpeedButton::GetAllowAllUp, &TSpeedButton::SetAllowAllUp).Default(false);
  PublishControlProperties(b, {"Anchors", "BiDiMode", "Constraints"});
  // GroupIndex before Down: a stream's Down needs the group to hold.
  b.Prop("GroupIndex", &TSpeedButton::GetGroupIndex, &TSpeedButton::SetGroupIndex).Default(0);
  b.Prop("Down", &TSpeedButton::GetDown, &TSpeedButton::SetDown)
      .Default(false)
      .StoredMethod(&TControl::IsCheckedStored);
  PublishControlProperties(b, {"Caption", "Enabled"});
  b.Prop("Flat", &TSpeedButton::GetFlat, &TSpeedButton::SetFlat).Default(false);
  PublishControlProperties(b, {"Font"});
  b.Prop("Glyph", &TSpeedButton::GetGlyph, &TSpeedButton::SetGlyph);
  b.Prop("Layout", &TSpeedButton::GetLayout, &TSpeedButton::SetLayout).Default(blGlyphLeft);
  b.Prop("Margin", &TSpeedButton::GetMargin, &TSpeedButton::SetMargin).Default(-1);
  b.Prop("NumGlyphs", &TSpeedButton::GetNumGlyphs, &TSpeedButton::SetNumGlyphs).Type(TypeInfoTNumGlyphs()).Default(1);
  PublishControlProperties(b, {"ParentBiDiMode", "ParentFont", "ParentShowHint", "PopupMenu", "ShowHint"});
  b.Prop("Spacing", &TSpeedButton::GetSpacing, &TSpeedButton::SetSpacing).Default(4);
  b.Prop("Transparent", &TSpeedButton::GetTransparent, &TSpeedButton::SetTransparent).Default(true);
  PublishControlProperties(b, {"Visible", "OnClick", "OnDblClick", "OnMouseDown", "OnMouseMove", "OnMouseUp"});
}

KV_IMPLEMENT_CLASS(TBitBtn, "Buttons") {
  PublishControlProperties(b, {"Action", "Anchors", "BiDiMode"});
  b.Prop("Cancel", &TButton::GetCancel, &TButton::SetCancel).Default(false).StoredMethod(&TBitBtn::IsCustom);
  b.Prop("Caption", &TControl::GetCaption, &TControl::SetCaption)
      .Type(TypeInfoTCaption())
      .StoredMethod(&TBitBtn::IsCustomCaption);
  PublishControlProperties(b, {"Constraints"});
  b.Prop("Default", &TButton::GetDefault, &TButton::SetDefault).Default(false).StoredMethod(&TBitBtn::IsCustom);
  PublishControlProperties(b, {"DragCursor", "DragKind", "DragMode", "Enabled", "Font"});
  b.Prop("Glyph", &TBitBtn::GetGlyph, &TBitBtn::SetGlyph).StoredMethod(&TBitBtn::IsCustom);
  b.Prop("Kind", &TBitBtn::GetKind, &TBitBtn::SetKind).Default(bkCustom);
  b.Prop("Layout", &TBitBtn::GetLayout, &TBitBtn::SetLayout).Default(blGlyphLeft);
  b.Prop("Margin", &TBitBtn::GetMargin, &TBitBtn::SetMargin).Default(-1);
  b.Prop("ModalResult", &TButton::GetModalResult, &TButton::SetModalResult)
      .Type(TypeInfoTModalResult())
      .Default(0)
      .StoredMethod(&TBitBtn::IsCustom);
  b.Prop("NumGlyphs", &TBitBtn::GetNumGlyphs, &TBitBtn::SetNumGlyphs)
      .Type(TypeInfoTNumGlyphs())
      .Default(1)
      .StoredMethod(&TBitBtn::IsCustom);
  PublishControlProperties(b, {"ParentBiDiMode", "ParentFont", "ParentShowHint", "PopupMenu", "ShowHint"});
  b.Prop("Spacing", &TBitBtn::GetSpacing, &TBitBtn::SetSpacing).Default(4);
  b.Prop("Style", &TBitBtn::GetStyle, &TBitBtn::SetStyle).Default(bsAutoDetect);
  PublishControlProperties(b, {"TabOrder"});
  PublishTabStop(b, true);
  PublishControlProperties(
      b, {"Visible", "OnClick", "OnDragDrop", "OnDragOver", "OnEndDrag", "OnEnter", "OnExit", "OnKeyDown", "OnKeyPress",
          "OnKeyUp", "OnMouseDown", "OnMouseMove", "OnMouseUp", "OnStartDrag"});
}

void RegisterButtonsClasses() { RegisterClasses({TSpeedButton::StaticClass(), TBitBtn::StaticClass()}); }

// =============================================================================================
// Kinds and their glyphs.
namespace {
struct TKindInfo {
  const char* Caption;
  TModalResult Result;
};
constexpr TKindInfo kKinds[] = {{"", mrNone},        {"OK", mrOk},          {"Cancel", mrCancel}, {"&Help", mrNone},
                                {"&Yes", mrYes},     {"&No", mrNo},         {"&Close", mrNone},   {"Abort", mrAbort},
                                {"&Retry", mrRetry}, {"&Ignore", mrIgnore}, {"&All", mrAll}};

constexpr int kGlyph = 18;
constexpr TColor kGlyphBack = clOlive;  // the key colour: the bottom-left pixel

void ThickLine(TCanvas* c, TColor color, int width, std::initializer_list<TPoint> points) {
  c->GetPen()->SetColor(color);
  c->GetPen()->SetWidth(width);
  c->Polyline(std::vector<TPoint>(points));
  c->GetPen()->SetWidth(1);
}

void DrawKind(TCanvas* c, TBitBtnKind kind) {
  switch (kind) {
    case bkOK:
    case bkYes: ThickLine(c, clGreen, 3, {{3, 9}, {7, 13}, {15, 4}}); break;
    case bkAll:
      ThickLine(c, clGreen, 2, {{1, 9}, {4, 12}, {10, 5}});
      ThickLine(c, clGreen, 2, {{7, 10}, {10, 13}, {17, 5}});
      break;
    case bkCancel:
      ThickLine(c, clRed, 3, {{4, 4}, {14, 14}});
      ThickLine(c, clRed, 3, {{14, 4}, {4, 14}});
      break;
    case bkNo:
      c->GetPen()->SetColor(clRed);
      c->GetPen()->SetWidth(2);
      c->GetBrush()->SetStyle(bsClear);
      c->Ellipse(2, 2, 16, 16);
      c->GetPen()->SetWidth(1);
      ThickLine(c, clRed, 2, {{5, 13}, {13, 5}});
      break;
    case bkAbort:
      c->GetPen()->SetColor(clMaroon);
      c->GetBrush()->SetColor(clRed);
      c->Ellipse(1, 1, 17, 17);
      ThickLine(c, clWhite, 2, {{6, 6}, {12, 12}});
      ThickLine(c, clWhite, 2, {{12, 6}, {6, 12}});
      break;
    case bkRetry: {
      // A circular arrow, open at the top right, its head pointing there.
      std::vector<TPoint> arc;
      for (int a = 40; a <= 330; a += 15) {
        double r = a * 3.14159265 / 180;
        arc.push_back({9 + static_cast<int>(6 * std::cos(r)), 9 - static_cast<int>(6 * std::sin(r))});
      }
      c->GetPen()->SetColor(clGreen);
      c->GetPen()->SetWidth(2);
      c->Polyline(arc);
      c->GetPen()->SetWidth(1);
      c->GetBrush()->SetColor(clGreen);
      c->Polygon({{11, 1}, {16, 5}, {10, 7}});
      break;
    }
    case bkHelp:
      c->GetFont()->SetName("Arial");
      c->GetFont()->SetHeight(-16);
      c->GetFont()->SetStyle(TFontStyles{fsBold});
      c->GetFont()->SetColor(clNavy);
      c->GetBrush()->SetStyle(bsClear);
      c->TextOut((kGlyph - c->TextWidth("?")) / 2, (kGlyph - c->TextHeight("?")) / 2, "?");
      break;
    case bkClose:
      // An open door: the frame, the door swung in, its knob.
      c->GetPen()->SetColor(clBlack);
      c->GetBrush()->SetColor(clTeal);
      c->Rectangle(4, 1, 15, 17);
      c->GetBrush()->SetColor(clYellow);
      c->Polygon({{4, 1}, {11, 4}, {11, 17}, {4, 16}});
      c->SetPixel(9, 10, clBlack);
      break;
    case bkIgnore:
      // A walking figure: head, body, legs mid-stride.
      c->GetPen()->SetColor(clNavy);
      c->GetBrush()->SetColor(clNavy);
      c->Ellipse(7, 1, 11, 5);
      ThickLine(c, clNavy, 2, {{9, 5}, {8, 11}});
      ThickLine(c, clNavy, 2, {{8, 11}, {5, 16}});
      ThickLine(c, clNavy, 2, {{8, 11}, {12, 16}});
      ThickLine(c, clNavy, 2, {{5, 8}, {9, 6}, {13, 9}});
      break;
    case bkCustom: break;
  }
}
}  // namespace

std::string BitBtnCaption(TBitBtnKind kind) { return kKinds[kind].Caption; }
TModalResult BitBtnModalResult(TBitBtnKind kind) { return kKinds[kind].Result; }

void DrawBitBtnGlyph(TBitBtnKind kind, TBitmap* strip) {
  strip->SetSize(2 * kGlyph, kGlyph);
  TCanvas* c = strip->Canvas();
  c->GetBrush()->SetColor(kGlyphBack);
  c->FillRect(Rect(0, 0, 2 * kGlyph, kGlyph));
  DrawKind(c, kind);
  // The disabled glyph: the same shape, grey, with a highlight below-right as Windows embosses.
  for (int y = 0; y < kGlyph; ++y)
    for (int x = 0; x < kGlyph; ++x)
      if (c->GetPixel(x, y) != kGlyphBack) {
        if (x + 1 < kGlyph && y + 1 < kGlyph) c->SetPixel(kGlyph + x + 1, y + 1, clWhite);
      }
  for (int y = 0; y < kGlyph; ++y)
    for (int x = 0; x < kGlyph; ++x)
      if (c->GetPixel(x, y) != kGlyphBack) c->SetPixel(kGlyph + x, y, clGray);
}

void CalcButtonLayout(TCanvas* canvas, const TRect& client, const std::string& caption, TSize glyph,
                      TButtonLayout layout, int margin, int spacing, TPoint& glyphPos, TRect& textBounds) {
  TRect tr = Rect(0, 0, client.Width(), 0);
  TSize text{};
  if (!caption.empty()) {
    DrawText(canvas, caption, tr, DT_SINGLELINE | DT_CALCRECT);
    text = {tr.Width(), tr.Height()};
  }
  const TSize size{client.Width(), client.Height()};
  const bool horizontal = layout == blGlyphLeft || layout == blGlyphRight;
  TPoint tp;
  if (horizontal) {
    glyphPos.Y = (size.cy - glyph.cy + 1) / 2;
    tp.Y = (size.cy - text.cy + 1) / 2;
  } else {
    glyphPos.X = (size.cx - glyph.cx + 1) / 2;
    tp.X = (size.cx - text.cx + 1) / 2;
  }
  if (caption.empty() || glyph.cx == 0) spacing = 0;
  const int g = horizontal ? glyph.cx : glyph.cy, t = horizontal ? text.cx : text.cy,
            s = horizontal ? size.cx : size.cy;
  if (margin == -1) {
    if (spacing == -1) {
      margin = (s - (g + t)) / 3;
      spacing = margin;
    } else {
      margin = (s - (g + spacing + t) + 1) / 2;
    }
  } else if (spacing == -1) {
    spacing = (s - (margin + g) - t) / 2;
  }
  switch (layout) {
    case blGlyphLeft:
      glyphPos.X = margin;
      tp.X = glyphPos.X + glyph.cx + spacing;
      break;
    case blGlyphRight:
      glyphPos.X = size.cx - margin - glyph.cx;
      tp.X = glyphPos.X - spacing - text.cx;
      break;
    case blGlyphTop:
      glyphPos.Y = margin;
      tp.Y = glyphPos.Y + glyph.cy + spacing;
      break;
    case blGlyphBottom:
      glyphPos.Y = size.cy - margin - glyph.cy;
      tp.Y = glyphPos.Y - spacing - text.cy;
      break;
  }
  glyphPos.X += client.Left;
  glyphPos.Y += client.Top;
  textBounds = Bounds(tp.X + client.Left, tp.Y + client.Top, text.cx, text.cy);
}

// =============================================================================================
// TSpeedButton
TSpeedButton::TSpeedButton(TComponent* AOwner) : TGraphicControl(AOwner), FGlyph(new TBitmap) {
  ControlStyle = {csCaptureMouse, csDoubleClicks};
  SetBounds(0, 0, 23, 22);
  FGlyph->OnChange = [this](TObject*) { Invalidate(); };
}

TSpeedButton::~TSpeedButton() {
  Destroying();
  delete FGlyph;
}

void TSpeedButton::Paint() {
  TCanvas* c = Canvas();
  if (!GetEnabled()) {
    FState = bsDisabled;
    FDragging = false;
  } else if (FState == bsDisabled) {
    FState = FDown && FGroupIndex != 0 ? bsExclusive : bsUp;
  }
  TRect r = Rect(0, 0, FWidth, FHeight);
  const bool pressed = FState == bsDown || FState == bsExclusive;
  c->GetBrush()->SetStyle(bsSolid);
  c->GetBrush()->SetColor(clBtnFace);
  if (!FFlat || !FTransparent || pressed) c->FillRect(r);
  if (FFlat) {
    // A flat button shows its edge only under the mouse, pressed or down.
    if (pressed || (FMouseInControl && FState != bsDisabled) || InState(csDesigning)) {
      TRect fr = r;
      Frame3D(c, fr, pressed ? clBtnShadow : clBtnHighlight, pressed ? clBtnHighlight : clBtnShadow, 1);
    }
  } else {
    TRect fr = r;
    if (pressed) {
      Frame3D(c, fr, cl3DDkShadow, clBtnHighlight, 1);
      Frame3D(c, fr, clBtnShadow, cl3DLight, 1);
    } else {
      Frame3D(c, fr, clBtnHighlight, cl3DDkShadow, 1);
      Frame3D(c, fr, cl3DLight, clBtnShadow, 1);
    }
  }
  if (FState == bsExclusive && !FFlat) {
    // Down and not pressed: the face dithered with the highlight, as Windows shows a latched button.
    TBitmap pattern;
    pattern.SetSize(8, 8);
    for (int y = 0; y < 8; ++y)
      for (int x = 0; x < 8; ++x) pattern.Canvas()->SetPixel(x, y, (x + y) % 2 ? clBtnFace : clBtnHighlight);
    c->GetBrush()->SetBitmap(&pattern);
    c->FillRect(Rect(2, 2, FWidth - 2, FHeight - 2));
    c->GetBrush()->SetBitmap(nullptr);
  }
  TRect client = Rect(1, 1, FWidth - 1, FHeight - 1);
  if (pressed) OffsetRect(client, 1, 1);
  c->SetFont(GetFont());
  TSize glyph{};
  if (!FGlyph->Empty()) glyph = {FGlyph->GetWidth() / std::max(1, FNumGlyphs), FGlyph->GetHeight()};
  TPoint gp;
  TRect tr;
  CalcButtonLayout(c, client, GetCaption(), glyph, FLayout, FMargin, FSpacing, gp, tr);
  if (glyph.cx > 0) {
    // Glyph images: up, disabled, clicked, down; a missing one falls back to the first.
    int index = FState == bsDisabled ? 1 : FState == bsDown ? 2 : FState == bsExclusive ? 3 : 0;
    if (index >= FNumGlyphs) index = 0;
    TBitmap part;
    part.SetSize(glyph.cx, glyph.cy);
    part.Canvas()->CopyRect(Rect(0, 0, glyph.cx, glyph.cy), FGlyph->Canvas(),
                            Bounds(index * glyph.cx, 0, glyph.cx, glyph.cy));
    part.SetTransparent(true);
    c->Draw(gp.X, gp.Y, &part);
  }
  if (!GetCaption().empty()) {
    if (FState == bsDisabled) {
      TRect sr = tr;
      OffsetRect(sr, 1, 1);
      c->GetFont()->SetColor(clBtnHighlight);
      DrawText(c, GetCaption(), sr, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
      c->GetFont()->SetColor(clBtnShadow);
    }
    DrawText(c, GetCaption(), tr, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
  }
}

void TSpeedButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TGraphicControl::MouseDown(button, shift, x, y);
  if (button != mbLeft || !GetEnabled()) return;
  if (!FDown) {
    FState = bsDown;
    Invalidate();
  }
  FDragging = true;
}

void TSpeedButton::MouseMove(TShiftState shift, int x, int y) {
  TGraphicControl::MouseMove(shift, x, y);
  if (!FDragging) return;
  TButtonState s = FDown ? bsExclusive : bsUp;
  if (PtInRect(Rect(0, 0, FWidth, FHeight), {x, y})) s = FDown ? bsExclusive : bsDown;
  if (s != FState) {
    FState = s;
    Invalidate();
  }
}

void TSpeedButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  TGraphicControl::MouseUp(button, shift, x, y);
  if (!FDragging) return;
  FDragging = false;
  const bool doClick = PtInRect(Rect(0, 0, FWidth, FHeight), {x, y});
  if (FGroupIndex == 0) {
    FState = bsUp;
    FMouseInControl = false;
    Invalidate();
  } else if (doClick) {
    SetDown(!FDown);
    if (FDown) Invalidate();
  } else {
    if (FDown) FState = bsExclusive;
    Invalidate();
  }
  if (doClick) Click();
}

void TSpeedButton::Click() { TGraphicControl::Click(); }

void TSpeedButton::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case CM_BUTTONPRESSED: {
      auto* sender = reinterpret_cast<TSpeedButton*>(m.LParam);
      if (m.WParam == FGroupIndex && sender != this) {
        if (sender->FDown && FDown) {
          FDown = false;
          FState = bsUp;
          Invalidate();
        }
        FAllowAllUp = sender->FAllowAllUp;
      }
      return;
    }
    case CM_DIALOGCHAR:
      if (IsAccel(static_cast<uint16_t>(m.WParam), GetCaption()) && GetEnabled() && GetVisible() && GetParent() &&
          GetParent()->Showing()) {
        Click();
        m.Result = 1;
        return;
      }
      break;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
      FMouseInControl = m.Msg == CM_MOUSEENTER;
      if (FFlat) Invalidate();
      break;
    default: break;
  }
  TGraphicControl::Dispatch(m);
}

void TSpeedButton::UpdateExclusive() {
  if (FGroupIndex == 0 || !GetParent()) return;
  TWinControl* p = GetParent();
  for (int i = 0; i < p->ControlCount(); ++i)
    if (p->Controls(i) != this)
      p->Controls(i)->Perform(CM_BUTTONPRESSED, FGroupIndex, reinterpret_cast<intptr_t>(this));
}

void TSpeedButton::SetDown(bool v) {
  if (FGroupIndex == 0) v = false;
  if (v == FDown) return;
  // The only button down in a group stays down unless the group allows all up.
  if (FDown && !FAllowAllUp) return;
  FDown = v;
  FState = v ? bsExclusive : bsUp;
  Invalidate();
  if (v) UpdateExclusive();
}

void TSpeedButton::SetAllowAllUp(bool v) {
  if (FAllowAllUp == v) return;
  FAllowAllUp = v;
  UpdateExclusive();
}

void TSpeedButton::SetGroupIndex(int v) {
  if (FGroupIndex == v) return;
  FGroupIndex = v;
  UpdateExclusive();
}

void TSpeedButton::SetFlat(bool v) {
  FFlat = v;
  Invalidate();
}
void TSpeedButton::SetNumGlyphs(TNumGlyphs v) {
  FNumGlyphs = std::clamp(v, 1, 4);
  Invalidate();
}
void TSpeedButton::SetLayout(TButtonLayout v) {
  FLayout = v;
  Invalidate();
}
void TSpeedButton::SetMargin(int v) {
  FMargin = std::max(-1, v);
  Invalidate();
}
void TSpeedButton::SetSpacing(int v) {
  FSpacing = v;
  Invalidate();
}
void TSpeedButton::SetTransparent(bool v) {
  FTransparent = v;
  Invalidate();
}

// =============================================================================================
// TBitBtn
TBitBtn::TBitBtn(TComponent* AOwner) : TButton(AOwner), FGlyph(new TBitmap) {
  FGlyph->OnChange = [this](TObject*) { GlyphChanged(); };
}

TBitBtn::~TBitBtn() {
  Destroying();
  DestroyHandle();
  delete FGlyph;
}

void TBitBtn::CreateWnd() {
  TButton::CreateWnd();
  GlyphChanged();
  qtstd::SetLeftText(FHandle, FLayout == blGlyphRight);
}

void TBitBtn::GlyphChanged() {
  // A glyph of the user's own makes the button custom, as the VCL's does.
  if (!FSettingKind && FKind != bkCustom && !InState(csLoading) && !InState(csReading)) FKind = bkCustom;
  if (HandleAllocated()) qtstd::SetButtonGlyph(FHandle, FGlyph, FNumGlyphs);
}

void TBitBtn::SetGlyph(TBitmap* v) { FGlyph->Assign(v); }

void TBitBtn::SetKind(TBitBtnKind v) {
  if (v == FKind) return;
  if (v != bkCustom) {
    SetDefault(v == bkOK || v == bkYes);
    SetCancel(v == bkCancel || v == bkNo);
    // A caption read before the kind is the user's own.
    bool reading = InState(csLoading) || InState(csReading);
    if (!reading || GetCaption().empty()) SetCaption(BitBtnCaption(v));
    SetModalResult(BitBtnModalResult(v));
    FSettingKind = true;
    DrawBitBtnGlyph(v, FGlyph);
    FNumGlyphs = 2;
    FSettingKind = false;
    GlyphChanged();
  }
  FKind = v;
}

void TBitBtn::SetNumGlyphs(TNumGlyphs v) {
  FNumGlyphs = std::clamp(v, 1, 4);
  if (HandleAllocated()) qtstd::SetButtonGlyph(FHandle, FGlyph, FNumGlyphs);
}

void TBitBtn::SetLayout(TButtonLayout v) {
  FLayout = v;
  if (HandleAllocated()) qtstd::SetLeftText(FHandle, v == blGlyphRight);
}

void TBitBtn::Click() {
  TCustomForm* f = GetParentForm(this);
  if (FKind == bkClose && f) {
    f->Close();
    TButtonControl::Click();
    return;
  }
  TButton::Click();
}
