#include <gtest/gtest.h>

#include "ControlsTests.h"
#include "ExtCtrls.h"
#include "FormFixture.h"
#include "StdReg.h"
#include "StreamCheck.h"

namespace {

struct ExtForm : Form1Fixture {
  void SetUp() override {
    Form1Fixture::SetUp();
    Form->SetColor(clBtnFace);
  }
  template <class T>
  T* Add(const char* name, int x, int y, int w, int h) {
    auto* c = new T(Form);
    c->SetName(name);
    c->SetBounds(x, y, w, h);
    c->SetParent(Form);
    return c;
  }
};

TEST_F(ExtForm, EveryClassRoundTripsWithDefaultsLeftOut) {
  auto* panel = Add<TPanel>("Panel1", 1, 2, 100, 50);
  panel->SetBevelInner(bvLowered);
  panel->SetBevelOuter(bvNone);
  panel->SetBevelWidth(3);
  panel->SetBorderWidth(2);
  panel->SetBorderStyle(bsSingle);
  panel->SetAlignment(taLeftJustify);
  panel->SetCaption("Caption");
  panel->SetColor(clAqua);
  auto* bevel = Add<TBevel>("Bevel1", 3, 4, 20, 20);
  bevel->SetShape(bsTopLine);
  bevel->SetStyle(bsRaised);
  auto* shape = Add<TShape>("Shape1", 5, 6, 30, 30);
  shape->SetShape(stRoundSquare);
  shape->GetPen()->SetWidth(3);
  shape->GetBrush()->SetColor(clRed);
  auto* image = Add<TImage>("Image1", 7, 8, 30, 30);
  TBitmap bmp;
  bmp.SetSize(4, 3);
  bmp.Canvas()->SetPixel(1, 1, clBlue);
  image->GetPicture()->SetBitmap(&bmp);
  image->SetStretch(true);
  image->SetCenter(true);
  image->SetTransparent(true);
  auto* box = Add<TPaintBox>("PaintBox1", 9, 10, 30, 30);
  box->SetColor(clYellow);
  auto* group = Add<TRadioGroup>("RadioGroup1", 11, 12, 150, 90);
  group->GetItems()->SetText("one\r\ntwo\r\nthree\r\n");
  group->SetItemIndex(2);
  group->SetColumns(2);
  for (TComponent* c : std::initializer_list<TComponent*>{panel, bevel, shape, image, box, group}) {
    SCOPED_TRACE(c->GetName());
    ExpectDefaultsOmitted(c, ExpectRoundTrip(Form, c));
  }
  std::string text = StreamAsText(Form);
  EXPECT_NE(text.find("Picture.Data = {"), std::string::npos);
  EXPECT_EQ(text.find("object TGroupButton"), std::string::npos) << "a radio group's buttons are its own";
  EXPECT_EQ(text.find(": TRadioButton"), std::string::npos);
}

TEST_F(ExtForm, PanelAndBevelPaintTheVclsThreeDFrames) {
  auto* raised = Add<TPanel>("Raised", 10, 10, 60, 40);
  auto* lowered = Add<TPanel>("Lowered", 100, 10, 60, 40);
  lowered->SetBevelOuter(bvLowered);
  lowered->SetBevelInner(bvRaised);
  lowered->SetBevelWidth(2);
  Add<TBevel>("Bevel", 200, 10, 50, 30);
  auto* line = Add<TBevel>("Line", 200, 60, 50, 10);
  line->SetShape(bsTopLine);
  ShowAndSettle(Form);
  const TColor hi = ColorToRGB(clBtnHighlight), sh = ColorToRGB(clBtnShadow), face = ColorToRGB(clBtnFace);
  EXPECT_EQ(PixelAt(raised, 0, 0), hi);
  EXPECT_EQ(PixelAt(raised, 59, 39), sh);
  EXPECT_EQ(PixelAt(raised, 0, 39), sh) << "the bottom line covers the corner";
  EXPECT_EQ(PixelAt(raised, 59, 0), sh);
  EXPECT_EQ(PixelAt(raised, 1, 1), face);
  // Outer lowered bevel two pixels wide, then the raised inner one.
  EXPECT_EQ(PixelAt(lowered, 1, 1), sh);
  EXPECT_EQ(PixelAt(lowered, 58, 38), hi);
  EXPECT_EQ(PixelAt(lowered, 2, 2), hi);
  EXPECT_EQ(PixelAt(lowered, 57, 37), sh);
  EXPECT_EQ(lowered->GetClientRect(), Rect(4, 4, 56, 36));
  EXPECT_EQ(PixelAt(Form, 200, 10), sh) << "a lowered box is dark top-left";
  EXPECT_EQ(PixelAt(Form, 249, 39), hi);
  EXPECT_EQ(PixelAt(Form, 225, 60), sh);
  EXPECT_EQ(PixelAt(Form, 225, 61), hi);
  EXPECT_EQ(PixelAt(Form, 225, 62), face);
}

TEST_F(ExtForm, AlignedChildrenStayInsideThePanelsBevels) {
  auto* panel = Add<TPanel>("Panel", 0, 0, 100, 80);
  panel->SetBorderWidth(3);
  auto* child = new TPanel(Form);
  child->SetParent(panel);
  child->SetAlign(alClient);
  EXPECT_EQ(child->BoundsRect(), Rect(4, 4, 96, 76));
}

TEST_F(ExtForm, ShapeAndImagePaintWhereTheirPropertiesSay) {
  auto* shape = Add<TShape>("Shape", 10, 10, 40, 20);
  shape->SetShape(stSquare);
  shape->GetBrush()->SetColor(clRed);
  auto* image = Add<TImage>("Image", 100, 100, 40, 40);
  TBitmap bmp;
  bmp.SetSize(10, 10);
  bmp.Canvas()->GetBrush()->SetColor(clBlue);
  bmp.Canvas()->FillRect(Rect(0, 0, 10, 10));
  image->GetPicture()->SetBitmap(&bmp);
  image->SetCenter(true);
  ShowAndSettle(Form);
  EXPECT_EQ(PixelAt(Form, 30, 20), clRed) << "square centred in the wide bounds";
  EXPECT_NE(PixelAt(Form, 12, 20), clRed);
  EXPECT_EQ(PixelAt(Form, 120, 120), clBlue);
  EXPECT_NE(PixelAt(Form, 102, 102), clBlue);
  image->SetStretch(true);
  Application->ProcessMessages();
  EXPECT_EQ(PixelAt(Form, 102, 102), clBlue);
  image->SetAutoSize(true);
  EXPECT_EQ(image->GetWidth(), 10);
}

TEST_F(ExtForm, PaintBoxPaintsThroughOnPaint) {
  auto* box = Add<TPaintBox>("Box", 20, 20, 30, 30);
  box->OnPaint = [box](TObject*) {
    box->Canvas()->GetBrush()->SetColor(clLime);
    box->Canvas()->FillRect(Rect(5, 5, 10, 10));
  };
  ShowAndSettle(Form);
  EXPECT_EQ(PixelAt(Form, 27, 27), clLime);
  EXPECT_NE(PixelAt(Form, 22, 22), clLime);
}

TEST_F(ExtForm, RadioGroupsButtonsFollowItemsAndItemIndex) {
  auto* group = Add<TRadioGroup>("Group", 10, 10, 200, 100);
  group->GetItems()->SetText("a\r\nb\r\nc\r\n");
  ASSERT_EQ(group->ButtonCount(), 3);
  group->SetItemIndex(1);
  EXPECT_TRUE(group->Buttons(1)->GetChecked());
  group->SetItemIndex(7);
  EXPECT_EQ(group->GetItemIndex(), 2);
  int clicks = 0;
  group->OnClick = [&](TObject*) { ++clicks; };
  ShowAndSettle(Form);
  TRadioButton* first = group->Buttons(0);
  first->Perform(WM_COMMAND, MakeWParam(0, BN_CLICKED), 0);
  EXPECT_EQ(group->GetItemIndex(), 0);
  EXPECT_FALSE(group->Buttons(2)->GetChecked());
  EXPECT_EQ(clicks, 1);
  group->SetColumns(3);
  EXPECT_EQ(group->Buttons(2)->GetTop(), group->Buttons(0)->GetTop());
  group->SetItemIndex(2);
  group->GetItems()->Delete(2);
  EXPECT_EQ(group->ButtonCount(), 2);
  EXPECT_EQ(group->GetItemIndex(), 1) << "an index past the items falls back to the last one";
  EXPECT_TRUE(group->Buttons(1)->GetChecked());
}

}  // namespace
