#include <gtest/gtest.h>

#include "Buttons.h"
#include "ControlsTests.h"
#include "FormFixture.h"
#include "StdReg.h"
#include "StreamCheck.h"

namespace {

struct ButtonsForm : Form1Fixture {
  TSpeedButton* Speed(const char* name, int x, int group) {
    auto* b = new TSpeedButton(Form);
    b->SetName(name);
    b->SetBounds(x, 10, 25, 25);
    b->SetParent(Form);
    b->SetGroupIndex(group);
    return b;
  }
  void ClickOn(TControl* c) {
    Form->Perform(WM_LBUTTONDOWN, MK_LBUTTON, PointToLParam({c->GetLeft() + 5, c->GetTop() + 5}));
    Form->Perform(WM_LBUTTONUP, 0, PointToLParam({c->GetLeft() + 5, c->GetTop() + 5}));
  }
};

TEST_F(ButtonsForm, EveryClassRoundTripsWithDefaultsLeftOut) {
  auto* speed = Speed("SpeedButton1", 1, 3);
  speed->SetAllowAllUp(true);
  speed->SetDown(true);
  speed->SetFlat(true);
  speed->SetLayout(blGlyphTop);
  speed->SetMargin(2);
  speed->SetSpacing(-1);
  speed->SetNumGlyphs(2);
  speed->SetCaption("Go");
  speed->GetGlyph()->SetSize(32, 16);
  auto* custom = new TBitBtn(Form);
  custom->SetName("BitBtn1");
  custom->SetParent(Form);
  custom->SetCaption("Mine");
  custom->GetGlyph()->SetSize(16, 16);
  custom->SetLayout(blGlyphRight);
  custom->SetStyle(bsNew);
  auto* ok = new TBitBtn(Form);
  ok->SetName("BitBtn2");
  ok->SetParent(Form);
  ok->SetKind(bkOK);
  for (TComponent* c : std::initializer_list<TComponent*>{speed, custom, ok}) {
    SCOPED_TRACE(c->GetName());
    ExpectDefaultsOmitted(c, ExpectRoundTrip(Form, c));
  }
  std::string text = StreamAsText(Form);
  size_t okAt = text.find("object BitBtn2");
  std::string okBlock = text.substr(okAt, text.find("end", okAt) - okAt);
  EXPECT_NE(okBlock.find("Kind = bkOK"), std::string::npos);
  EXPECT_EQ(okBlock.find("Glyph.Data"), std::string::npos) << "the kind's glyph comes back from Kind";
  EXPECT_EQ(okBlock.find("Caption"), std::string::npos);
  EXPECT_EQ(okBlock.find("ModalResult"), std::string::npos);
  EXPECT_NE(text.find("Glyph.Data = {"), std::string::npos);
}

TEST_F(ButtonsForm, GroupedSpeedButtonsStayDownOneAtATime) {
  auto* a = Speed("A", 10, 1);
  auto* b = Speed("B", 40, 1);
  auto* other = Speed("C", 70, 2);
  auto* plain = Speed("D", 100, 0);
  other->SetDown(true);
  a->SetDown(true);
  b->SetDown(true);
  EXPECT_FALSE(a->GetDown());
  EXPECT_TRUE(b->GetDown());
  EXPECT_TRUE(other->GetDown()) << "another group";
  b->SetDown(false);
  EXPECT_TRUE(b->GetDown()) << "the last one down stays down without AllowAllUp";
  a->SetAllowAllUp(true);
  EXPECT_TRUE(b->GetAllowAllUp()) << "AllowAllUp is the group's";
  b->SetDown(false);
  EXPECT_FALSE(b->GetDown());
  plain->SetDown(true);
  EXPECT_FALSE(plain->GetDown()) << "a button of no group never stays down";
  // The mouse: a click toggles a grouped button and clicks it once.
  int clicks = 0;
  a->OnClick = [&](TObject*) { ++clicks; };
  ShowAndSettle(Form);
  ClickOn(a);
  EXPECT_TRUE(a->GetDown());
  EXPECT_EQ(clicks, 1);
  ClickOn(a);
  EXPECT_FALSE(a->GetDown());
  // Released outside: no click, no toggle.
  Form->Perform(WM_LBUTTONDOWN, MK_LBUTTON, PointToLParam({15, 15}));
  Form->Perform(WM_MOUSEMOVE, MK_LBUTTON, PointToLParam({300, 200}));
  Form->Perform(WM_LBUTTONUP, 0, PointToLParam({300, 200}));
  EXPECT_FALSE(a->GetDown());
  EXPECT_EQ(clicks, 2);
}

TEST_F(ButtonsForm, SpeedButtonLooksPressedWhileDown) {
  auto* b = Speed("B", 10, 1);
  ShowAndSettle(Form);
  const TColor hi = ColorToRGB(clBtnHighlight);
  EXPECT_EQ(PixelAt(Form, 10, 10), hi) << "raised: light top-left";
  b->SetDown(true);
  Application->ProcessMessages();
  EXPECT_NE(PixelAt(Form, 10, 10), hi);
  EXPECT_EQ(PixelAt(Form, 34, 34), hi) << "sunken: light bottom-right";
}

TEST_F(ButtonsForm, BitBtnKindsBringCaptionResultDefaultsAndGlyph) {
  struct Want {
    TBitBtnKind Kind;
    const char* Caption;
    TModalResult Result;
  };
  const Want wants[] = {{bkOK, "OK", mrOk},
                        {bkCancel, "Cancel", mrCancel},
                        {bkHelp, "&Help", mrNone},
                        {bkYes, "&Yes", mrYes},
                        {bkNo, "&No", mrNo},
                        {bkClose, "&Close", mrNone},
                        {bkAbort, "Abort", mrAbort},
                        {bkRetry, "&Retry", mrRetry},
                        {bkIgnore, "&Ignore", mrIgnore},
                        {bkAll, "&All", mrAll}};
  for (const Want& w : wants) {
    TBitBtn b(nullptr);
    b.SetKind(w.Kind);
    EXPECT_EQ(b.GetCaption(), w.Caption);
    EXPECT_EQ(b.GetModalResult(), w.Result);
    EXPECT_EQ(b.GetDefault(), w.Kind == bkOK || w.Kind == bkYes);
    EXPECT_EQ(b.GetCancel(), w.Kind == bkCancel || w.Kind == bkNo);
    EXPECT_EQ(b.GetNumGlyphs(), 2);
    ASSERT_EQ(b.GetGlyph()->GetWidth(), 36);
    // Something is drawn on the key colour, and the disabled half is grey.
    int drawn = 0, grey = 0;
    for (int y = 0; y < 18; ++y)
      for (int x = 0; x < 18; ++x) {
        drawn += b.GetGlyph()->Canvas()->GetPixel(x, y) != clOlive;
        grey += b.GetGlyph()->Canvas()->GetPixel(18 + x, y) == clGray;
      }
    EXPECT_GT(drawn, 10) << w.Caption;
    EXPECT_GT(grey, 10) << w.Caption;
  }
  TBitBtn ok(nullptr);
  ok.SetKind(bkOK);
  EXPECT_EQ(ok.GetGlyph()->Canvas()->GetPixel(7, 13), clGreen) << "a green check mark";
  TBitBtn cancel(nullptr);
  cancel.SetKind(bkCancel);
  EXPECT_EQ(cancel.GetGlyph()->Canvas()->GetPixel(9, 9), clRed) << "a red cross";
  TBitmap mine;
  mine.SetSize(16, 16);
  ok.SetGlyph(&mine);
  EXPECT_EQ(ok.GetKind(), bkCustom) << "a glyph of one's own makes the button custom";
}

TEST_F(ButtonsForm, BitBtnOkClosesAModalFormWithItsResult) {
  auto* ok = new TBitBtn(Form);
  ok->SetParent(Form);
  ok->SetKind(bkOK);
  PostMessage(ok, WM_COMMAND, MakeWParam(0, BN_CLICKED), 0);
  EXPECT_EQ(Form->ShowModal(), mrOk);
}

}  // namespace

// Speed buttons have no window of their own: the hint over them comes from the one under the
// pointer in their parent.
TEST(Hints, TheHintShownIsTheShortHintOfTheControlUnderThePointer) {
  TForm form(nullptr);
  form.SetShowHint(true);
  auto* first = new TSpeedButton(&form);
  first->SetBounds(0, 0, 24, 24);
  first->SetHint("Open file|Opens a form file");
  first->SetParent(&form);
  auto* second = new TSpeedButton(&form);
  second->SetBounds(24, 0, 24, 24);
  second->SetHint("Save file");
  second->SetParent(&form);
  EXPECT_EQ(HintAt(&form, {10, 10}), "Open file");
  EXPECT_EQ(HintAt(&form, {30, 10}), "Save file");
  EXPECT_EQ(HintAt(&form, {100, 100}), "");  // the form has none
  second->SetShowHint(false);
  EXPECT_EQ(HintAt(&form, {30, 10}), "");
  form.SetDesigning(true);
  EXPECT_EQ(HintAt(&form, {10, 10}), "");
}
