// Gauges: TGauge, the Samples page's progress gauge. It draws as Delphi's does: the gauge is
// painted into an off-screen bitmap, and the percentage text is laid over it inverted (XOR), so
// the text shows in the inverse of whichever colour it crosses, bar or background.
#pragma once

#include "Controls.h"
#include "Forms.h"

KV_ENUM(TGaugeKind, gkText, gkHorizontalBar, gkVerticalBar, gkPie, gkNeedle)

class TGauge : public TGraphicControl {
  KV_CLASS(TGauge, TGraphicControl)
 public:
  explicit TGauge(TComponent* owner);

  TGaugeKind GetKind() const { return FKind; }
  void SetKind(TGaugeKind v);
  // Progress is kept within MinValue..MaxValue; MinValue cannot pass MaxValue nor the other way.
  int GetProgress() const { return FProgress; }
  void SetProgress(int v);
  int GetMinValue() const { return FMinValue; }
  void SetMinValue(int v);
  int GetMaxValue() const { return FMaxValue; }
  void SetMaxValue(int v);
  void AddProgress(int value) { SetProgress(FProgress + value); }
  // 0..100; 0 when the range is empty.
  int PercentDone() const;
  TColor GetForeColor() const { return FForeColor; }
  void SetForeColor(TColor v);
  TColor GetBackColor() const { return FBackColor; }
  void SetBackColor(TColor v);
  bool GetShowText() const { return FShowText; }
  void SetShowText(bool v);
  // bsSingle: a one-pixel black frame around the gauge.
  TBorderStyle GetBorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle v);

 protected:
  void Paint() override;

 private:
  void PaintKind(TCanvas* c, const TRect& r) const;
  TGaugeKind FKind = gkHorizontalBar;
  int FProgress = 0;
  int FMinValue = 0;
  int FMaxValue = 100;
  TColor FForeColor = clBlack;
  TColor FBackColor = clWhite;
  bool FShowText = true;
  TBorderStyle FBorderStyle = bsSingle;
};

void RegisterGaugesClasses();
