// Gauges: TGauge.
#include "Gauges.h"

#include <algorithm>
#include <cmath>

KV_IMPLEMENT_CLASS(TGauge, "Gauges") {
  PublishControlProperties(b, {"Align", "Anchors"});
  b.Prop("BackColor", &TGauge::GetBackColor, &TGauge::SetBackColor).Type(TypeInfoTColor()).Default(clWhite);
  b.Prop("BorderStyle", &TGauge::GetBorderStyle, &TGauge::SetBorderStyle)
      .Type(TypeInfoTBorderStyle())
      .Default(bsSingle);
  PublishControlProperties(b, {"Color", "Constraints", "DragCursor", "DragKind", "DragMode", "Enabled"});
  b.Prop("ForeColor", &TGauge::GetForeColor, &TGauge::SetForeColor).Type(TypeInfoTColor()).Default(clBlack);
  PublishControlProperties(b, {"Font"});
  b.Prop("Kind", &TGauge::GetKind, &TGauge::SetKind).Default(gkHorizontalBar);
  b.Prop("MinValue", &TGauge::GetMinValue, &TGauge::SetMinValue).Default(0);
  b.Prop("MaxValue", &TGauge::GetMaxValue, &TGauge::SetMaxValue).Default(100);
  PublishControlProperties(b, {"ParentColor", "ParentFont", "ParentShowHint", "PopupMenu"});
  // No default: Delphi stores Progress always.
  b.Prop("Progress", &TGauge::GetProgress, &TGauge::SetProgress);
  PublishControlProperties(b, {"ShowHint"});
  b.Prop("ShowText", &TGauge::GetShowText, &TGauge::SetShowText).Default(true);
  PublishControlProperties(b, {"Visible", "OnClick", "OnDblClick", "OnDragDrop", "OnDragOver", "OnEndDrag",
                               "OnMouseDown", "OnMouseMove", "OnMouseUp", "OnStartDrag"});
}

void RegisterGaugesClasses() { RegisterClasses({TGauge::StaticClass()}); }

TGauge::TGauge(TComponent* owner) : TGraphicControl(owner) {
  ControlStyle = ControlStyle + TControlStyle{csFramed, csOpaque};
  SetBounds(0, 0, 100, 100);
}

void TGauge::SetKind(TGaugeKind v) {
  if (v == FKind) return;
  FKind = v;
  Invalidate();
}

void TGauge::SetProgress(int v) {
  v = std::clamp(v, FMinValue, FMaxValue);
  if (v == FProgress) return;
  FProgress = v;
  Invalidate();
}

// While a form loads, the range arrives one end at a time: Progress follows it then.
void TGauge::SetMinValue(int v) {
  if (v == FMinValue) return;
  if (v > FMaxValue && !InState(csLoading) && !InState(csReading))
    throw EInvalidOperation(Format("Value must be between %d and %d", -INT32_MAX, FMaxValue));
  FMinValue = v;
  if (FMaxValue < v) FMaxValue = v;
  if (FProgress < v) FProgress = v;
  Invalidate();
}

void TGauge::SetMaxValue(int v) {
  if (v == FMaxValue) return;
  if (v < FMinValue && !InState(csLoading) && !InState(csReading))
    throw EInvalidOperation(Format("Value must be between %d and %d", FMinValue, INT32_MAX));
  FMaxValue = v;
  if (FMinValue > v) FMinValue = v;
  if (FProgress > v) FProgress = v;
  Invalidate();
}

int TGauge::PercentDone() const {
  const int64_t range = static_cast<int64_t>(FMaxValue) - FMinValue;
  if (range <= 0) return 0;
  return static_cast<int>((static_cast<int64_t>(FProgress) - FMinValue) * 100 / range);
}

void TGauge::SetForeColor(TColor v) {
  if (v == FForeColor) return;
  FForeColor = v;
  Invalidate();
}

void TGauge::SetBackColor(TColor v) {
  if (v == FBackColor) return;
  FBackColor = v;
  Invalidate();
}

void TGauge::SetShowText(bool v) {
  if (v == FShowText) return;
  FShowText = v;
  Invalidate();
}

void TGauge::SetBorderStyle(TBorderStyle v) {
  if (v == FBorderStyle) return;
  FBorderStyle = v;
  Invalidate();
}

// The gauge itself, on a black image, in the rectangle inside the border.
void TGauge::PaintKind(TCanvas* c, const TRect& r) const {
  const int pct = PercentDone();
  const int w = r.Right - r.Left, h = r.Bottom - r.Top;
  c->GetPen()->SetColor(FForeColor);
  c->GetPen()->SetWidth(1);
  switch (FKind) {
    case gkText:
      c->GetBrush()->SetColor(FBackColor);
      c->FillRect(r);
      break;
    case gkHorizontalBar:
    case gkVerticalBar: {
      c->GetBrush()->SetColor(FBackColor);
      c->FillRect(r);
      c->GetBrush()->SetColor(FForeColor);
      if (FKind == gkHorizontalBar) {
        if (int fill = w * pct / 100; fill > 0) c->FillRect(Rect(r.Left, r.Top, r.Left + fill, r.Bottom));
      } else if (int fill = h * pct / 100; fill > 0) {
        c->FillRect(Rect(r.Left, r.Bottom - fill, r.Right, r.Bottom));
      }
      break;
    }
    case gkPie: {
      c->GetBrush()->SetColor(GetColor());
      c->FillRect(r);
      c->GetBrush()->SetColor(FBackColor);
      c->Ellipse(r);
      if (pct <= 0) break;
      // Clockwise from twelve o'clock: the arc runs counter-clockwise from the progress back up.
      c->GetBrush()->SetColor(FForeColor);
      const double angle = M_PI * (pct / 50.0 + 0.5), mx = r.Left + w / 2.0, my = r.Top + h / 2.0;
      c->Pie(r.Left, r.Top, r.Right, r.Bottom, static_cast<int>(std::lround(mx - w / 2.0 * std::cos(angle))),
             static_cast<int>(std::lround(my - h / 2.0 * std::sin(angle))), static_cast<int>(std::lround(mx)), r.Top);
      break;
    }
    case gkNeedle: {
      c->GetBrush()->SetColor(GetColor());
      c->FillRect(r);
      // The upper half of an ellipse standing on the bottom edge, and the needle from its centre.
      c->GetBrush()->SetColor(FBackColor);
      c->Pie(r.Left, r.Top, r.Right, r.Bottom + h - 1, r.Right, r.Bottom - 1, r.Left, r.Bottom - 1);
      const int cx = r.Left + w / 2, base = r.Bottom - 1;
      if (pct > 0) {
        const double angle = M_PI * pct / 100;
        c->MoveTo(cx, base);
        c->LineTo(static_cast<int>(std::lround(cx - w / 2.0 * std::cos(angle))),
                  static_cast<int>(std::lround(base - (h - 1) * std::sin(angle))));
      }
      break;
    }
  }
}

void TGauge::Paint() {
  const int w = GetWidth(), h = GetHeight();
  if (w <= 0 || h <= 0) return;
  TRect r = Rect(0, 0, w, h);
  if (FBorderStyle == bsSingle) r = Rect(1, 1, w - 1, h - 1);
  auto blank = [&](TBitmap& b) {
    b.SetSize(w, h);
    b.Canvas()->GetBrush()->SetColor(clBlack);
    b.Canvas()->FillRect(Rect(0, 0, w, h));
  };
  TBitmap image, overlay;
  blank(image);
  blank(overlay);
  if (r.Right > r.Left && r.Bottom > r.Top) PaintKind(overlay.Canvas(), r);
  image.Canvas()->SetCopyMode(cmSrcInvert);
  image.Canvas()->Draw(0, 0, &overlay);
  if (FShowText && r.Right > r.Left && r.Bottom > r.Top) {
    // White text on black, XORed: it inverts whatever lies under each of its pixels.
    TBitmap text;
    blank(text);
    TCanvas* t = text.Canvas();
    t->SetFont(GetFont());
    t->GetFont()->SetColor(clWhite);
    t->GetBrush()->SetStyle(bsClear);
    const std::string s = IntToStr(PercentDone()) + "%";
    const TSize size = t->TextExtent(s);
    t->TextRect(r, r.Left + (r.Right - r.Left - size.cx) / 2, r.Top + (r.Bottom - r.Top - size.cy) / 2, s);
    image.Canvas()->Draw(0, 0, &text);
  }
  image.Canvas()->SetCopyMode(cmSrcCopy);
  if (FBorderStyle == bsSingle) {
    image.Canvas()->GetBrush()->SetColor(clBlack);
    image.Canvas()->FrameRect(Rect(0, 0, w, h));
  }
  Canvas()->SetCopyMode(cmSrcCopy);
  Canvas()->Draw(0, 0, &image);
}
