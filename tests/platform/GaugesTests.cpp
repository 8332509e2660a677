// TGauge: range rules, streaming, and what each kind draws; TXPManifest streams as a bare
// component; TCanvas.Pie follows GDI's radials.
#include <gtest/gtest.h>

#include "ControlsTests.h"
#include "Gauges.h"
#include "StdReg.h"
#include "StreamCheck.h"
#include "XPMan.h"

namespace {

struct GaugeForm : ::testing::Test {
  TForm* Form = nullptr;
  TGauge* Gauge = nullptr;
  void SetUp() override {
    RegisterStandardClasses();
    Form = new TForm(nullptr);
    Form->SetName("Form1");
    Form->SetBounds(50, 50, 300, 200);
    Form->SetColor(clBtnFace);
    Gauge = new TGauge(Form);
    Gauge->SetName("Gauge1");
    Gauge->SetBounds(10, 10, 101, 41);
    Gauge->SetParent(Form);
    Gauge->SetForeColor(clNavy);
    Gauge->SetBackColor(clWhite);
    Gauge->SetShowText(false);
  }
  void TearDown() override {
    delete Form;
    Application->ProcessMessages();
  }
  TColor At(int x, int y) { return PixelAt(Form, 10 + x, 10 + y); }
};

TEST_F(GaugeForm, ProgressStaysInItsRangeAndGivesThePercentage) {
  EXPECT_EQ(Gauge->GetKind(), gkHorizontalBar);
  Gauge->SetProgress(150);
  EXPECT_EQ(Gauge->GetProgress(), 100);
  Gauge->SetMinValue(20);
  Gauge->SetMaxValue(60);
  EXPECT_EQ(Gauge->GetProgress(), 60);
  Gauge->SetProgress(30);
  EXPECT_EQ(Gauge->PercentDone(), 25);
  Gauge->AddProgress(-100);
  EXPECT_EQ(Gauge->GetProgress(), 20);
  EXPECT_THROW(Gauge->SetMaxValue(10), EInvalidOperation);
  EXPECT_THROW(Gauge->SetMinValue(61), EInvalidOperation);
  Gauge->SetMaxValue(20);
  EXPECT_EQ(Gauge->PercentDone(), 0) << "an empty range is not a division by zero";
}

TEST_F(GaugeForm, StreamsProgressAlwaysAndDefaultsNever) {
  Gauge->SetKind(gkPie);
  Gauge->SetMaxValue(60);
  auto* xp = new TXPManifest(Form);
  xp->SetName("XPManifest1");
  const std::string text = ExpectRoundTrip(Form, Gauge);
  EXPECT_NE(text.find("Progress = 0"), std::string::npos) << text;
  EXPECT_NE(text.find("Kind = gkPie"), std::string::npos);
  EXPECT_NE(text.find("ForeColor = clNavy"), std::string::npos);
  EXPECT_EQ(text.find("BackColor"), std::string::npos);
  EXPECT_EQ(text.find("BorderStyle"), std::string::npos);
  EXPECT_NE(text.find("object XPManifest1: TXPManifest"), std::string::npos);
  ExpectDefaultsOmitted(Gauge, text);
}

// The gauge is 101 x 41 with a one-pixel frame: the bar runs over x = 1..99.
TEST_F(GaugeForm, BarsFillByThePercentage) {
  ShowAndSettle(Form);
  EXPECT_EQ(At(0, 20), clBlack) << "the frame of bsSingle";
  EXPECT_EQ(At(5, 20), clWhite) << "0 %: all background";
  Gauge->SetProgress(50);
  Application->ProcessMessages();
  EXPECT_EQ(At(5, 20), clNavy);
  EXPECT_EQ(At(45, 20), clNavy);
  EXPECT_EQ(At(55, 20), clWhite);
  Gauge->SetProgress(100);
  Application->ProcessMessages();
  EXPECT_EQ(At(98, 20), clNavy);
  Gauge->SetKind(gkVerticalBar);
  Gauge->SetProgress(50);
  Application->ProcessMessages();
  EXPECT_EQ(At(50, 35), clNavy) << "a vertical bar grows from the bottom";
  EXPECT_EQ(At(50, 5), clWhite);
  Gauge->SetBorderStyle(bsNone);
  Application->ProcessMessages();
  EXPECT_EQ(At(0, 35), clNavy);
}

TEST_F(GaugeForm, TextIsInvertedWhereItCrossesTheBar) {
  Gauge->SetForeColor(clBlack);
  Gauge->SetShowText(true);
  Gauge->SetBounds(10, 10, 121, 41);
  Gauge->GetFont()->SetSize(20);
  Gauge->GetFont()->SetStyle(TFontStyles{fsBold});
  Gauge->SetProgress(50);
  ShowAndSettle(Form);
  // "50%" is centred: its left half lies on the black bar in white, its right half on the
  // white background in black.
  int whiteOnBar = 0, blackOnBack = 0;
  for (int y = 8; y < 33; ++y) {
    for (int x = 30; x < 60; ++x) whiteOnBar += At(x, y) == clWhite;
    for (int x = 61; x < 92; ++x) blackOnBack += At(x, y) == clBlack;
  }
  EXPECT_GT(whiteOnBar, 20);
  EXPECT_GT(blackOnBack, 20);
}

TEST_F(GaugeForm, PieFillsClockwiseFromTwelveAndTheNeedlePoints) {
  Gauge->SetBounds(10, 10, 81, 81);
  Gauge->SetKind(gkPie);
  Gauge->SetProgress(25);
  ShowAndSettle(Form);
  EXPECT_EQ(At(55, 25), clNavy) << "the first quarter is the top right";
  EXPECT_EQ(At(25, 25), clWhite);
  EXPECT_EQ(At(55, 55), clWhite);
  EXPECT_EQ(At(2, 2), ColorToRGB(clBtnFace)) << "outside the ellipse: the gauge's colour";
  Gauge->SetProgress(75);
  Application->ProcessMessages();
  EXPECT_EQ(At(25, 55), clNavy);
  EXPECT_EQ(At(25, 25), clWhite);
  Gauge->SetProgress(100);
  Application->ProcessMessages();
  EXPECT_EQ(At(25, 25), clNavy) << "a full pie";
  Gauge->SetKind(gkNeedle);
  Gauge->SetProgress(50);
  Application->ProcessMessages();
  EXPECT_EQ(At(40, 30), clNavy) << "half way: the needle stands upright";
  EXPECT_EQ(At(20, 60), clWhite);
}

}  // namespace
