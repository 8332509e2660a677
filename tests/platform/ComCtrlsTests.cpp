#include <gtest/gtest.h>

#include <memory>

#include "ComCtrls.h"
#include "ControlsTests.h"
#include "FormFixture.h"
#include "StreamCheck.h"

namespace {

struct ComCtrlsFixture : FormFixture {};

TEST_F(ComCtrlsFixture, StatusBarPanelsRoundTrip) {
  auto* sb = Add<TStatusBar>("StatusBar1");
  auto* p = static_cast<TStatusPanel*>(sb->GetPanels()->Add());
  p->SetText("Ready");
  p->SetWidth(120);
  p->SetBevel(pbRaised);
  static_cast<TStatusPanel*>(sb->GetPanels()->Add())->SetAlignment(taCenter);
  sb->SetSimpleText("simple");
  sb->SetSizeGrip(false);
  std::string text = ExpectRoundTrip(form.get(), sb);
  ExpectDefaultsOmitted(sb, text);
  EXPECT_NE(text.find("Panels = <"), std::string::npos) << text;
  EXPECT_NE(text.find("Bevel = pbRaised"), std::string::npos);
}

TEST_F(ComCtrlsFixture, ListViewColumnsAndItemsRoundTrip) {
  auto* lv = Add<TListView>("ListView1");
  auto* col = static_cast<TListColumn*>(lv->GetColumns()->Add());
  col->SetCaption("Name");
  col->SetWidth(90);
  lv->SetViewStyle(vsReport);
  lv->GetItems()->Add()->SetCaption("Hello");
  auto* tv = Add<TTreeView>("TreeView1");
  tv->GetItems()->AddChild(tv->GetItems()->Add(nullptr, "Root"), "Leaf");
  tv->SetIndent(25);
  std::string text = ExpectRoundTrip(form.get(), lv);
  ExpectDefaultsOmitted(lv, text);
  ExpectRoundTrip(form.get(), tv);
  std::unique_ptr<TForm> copy = Reload();
  EXPECT_EQ(static_cast<TListView*>(copy->FindComponent("ListView1"))->GetItems()->Item(0)->GetCaption(), "Hello");
  EXPECT_EQ(static_cast<TTreeView*>(copy->FindComponent("TreeView1"))->GetItems()->Count(), 2);
  EXPECT_NE(text.find("Items.Data = {"), std::string::npos) << text;
}

TEST_F(ComCtrlsFixture, ImageListKeepsItsBitmapBytesAndDecodesAPlainStrip) {
  auto* il = new TImageList(form.get());
  il->SetName("ImageList1");
  TBitmap strip;
  strip.SetSize(32, 16);
  TMemoryStream bmp;
  strip.SaveToStream(&bmp);
  std::string bytes = "IL\x01\x01" + std::string(reinterpret_cast<const char*>(bmp.Memory()), bmp.GetSize());
  il->SetBitmapData(bytes);
  EXPECT_EQ(il->Count(), 2);
  std::unique_ptr<TForm> copy = Reload();
  auto* back = static_cast<TImageList*>(copy->FindComponent("ImageList1"));
  EXPECT_EQ(back->BitmapData(), bytes);
  // Bytes that hold no bitmap still come back unchanged.
  il->SetBitmapData("IL not a bitmap");
  EXPECT_EQ(il->Count(), 0);
}

TEST_F(ComCtrlsFixture, PageControlChangesUnlessVetoed) {
  auto* pc = Add<TPageControl>("PageControl1");
  auto* a = new TTabSheet(form.get());
  a->SetName("TabA");
  a->SetCaption("A");
  a->SetPageControl(pc);
  auto* b = new TTabSheet(form.get());
  b->SetName("TabB");
  b->SetCaption("B");
  b->SetPageControl(pc);
  EXPECT_EQ(pc->GetActivePage(), a);
  form->Show();
  bool allow = false;
  int changes = 0;
  pc->OnChanging = [&](TObject*, bool& ok) { ok = allow; };
  pc->OnChange = [&](TObject*) { ++changes; };
  TRect tabB = pc->TabRects()[1];
  pc->Perform(WM_LBUTTONDOWN, MK_LBUTTON, PointToLParam({tabB.Left + 3, tabB.Top + 3}));
  pc->Perform(WM_LBUTTONUP, 0, PointToLParam({tabB.Left + 3, tabB.Top + 3}));
  EXPECT_EQ(pc->GetActivePage(), a);
  allow = true;
  pc->Perform(WM_LBUTTONDOWN, MK_LBUTTON, PointToLParam({tabB.Left + 3, tabB.Top + 3}));
  pc->Perform(WM_LBUTTONUP, 0, PointToLParam({tabB.Left + 3, tabB.Top + 3}));
  EXPECT_EQ(pc->GetActivePage(), b);
  EXPECT_EQ(changes, 1);
  EXPECT_TRUE(b->GetVisible());
  EXPECT_FALSE(a->GetVisible());
  // Hiding a tab takes it out of the strip, not out of the pages.
  a->SetTabVisible(false);
  EXPECT_EQ(pc->TabRects().size(), 1u);
  EXPECT_EQ(pc->PageCount(), 2);
  std::string text = ExpectRoundTrip(form.get(), pc);
  EXPECT_NE(text.find("ActivePage = TabB"), std::string::npos);
  EXPECT_EQ(text.find(" Visible = False"), std::string::npos) << "pages do not store their visibility";
}

TEST_F(ComCtrlsFixture, RangesClampAndStep) {
  auto* pb = Add<TProgressBar>("ProgressBar1");
  pb->SetMax(50);
  pb->SetPosition(70);
  EXPECT_EQ(pb->GetPosition(), 50);
  pb->SetPosition(45);
  pb->StepIt();
  EXPECT_EQ(pb->GetPosition(), 5);
  auto* tb = Add<TTrackBar>("TrackBar1");
  int changes = 0;
  tb->OnChange = [&](TObject*) { ++changes; };
  tb->SetPosition(20);
  EXPECT_EQ(tb->GetPosition(), 10);
  EXPECT_EQ(changes, 1);
  auto* ud = Add<TUpDown>("UpDown1");
  ud->SetMax(3);
  ud->SetWrap(true);
  ud->SetPosition(3);
  ud->Step(btNext);
  EXPECT_EQ(ud->GetPosition(), 0);
  ud->SetWrap(false);
  ud->Step(btPrev);
  EXPECT_EQ(ud->GetPosition(), 0);
  ExpectDefaultsOmitted(pb, ExpectRoundTrip(form.get(), pb));
  ExpectDefaultsOmitted(tb, ExpectRoundTrip(form.get(), tb));
  ExpectDefaultsOmitted(ud, ExpectRoundTrip(form.get(), ud));
}

TEST_F(ComCtrlsFixture, ToolBarLaysOutButtonsAndGroupsChecks) {
  auto* bar = Add<TToolBar>("ToolBar1");
  TToolButton* buttons[3];
  for (int i = 0; i < 3; ++i) {
    buttons[i] = new TToolButton(form.get());
    buttons[i]->SetName("ToolButton" + std::to_string(i + 1));
    buttons[i]->SetLeft(i * 30);
    buttons[i]->SetParent(bar);
    buttons[i]->SetStyle(tbsCheck);
    buttons[i]->SetGrouped(true);
  }
  bar->Realign();
  EXPECT_EQ(buttons[1]->GetLeft(), 23);
  buttons[0]->SetDown(true);
  buttons[2]->SetDown(true);
  EXPECT_FALSE(buttons[0]->GetDown());
  std::string text = ExpectRoundTrip(form.get(), bar);
  ExpectDefaultsOmitted(bar, text);
  ExpectRoundTrip(form.get(), buttons[2]);
}

TEST_F(ComCtrlsFixture, TabControlAndHeaderRoundTrip) {
  auto* tc = Add<TTabControl>("TabControl1");
  tc->GetTabs()->SetCommaText("One,Two,Three");
  tc->SetTabIndex(2);
  tc->SetMultiLine(true);
  ExpectDefaultsOmitted(tc, ExpectRoundTrip(form.get(), tc));
  tc->SetTabIndex(7);  // out of range: ignored
  EXPECT_EQ(tc->GetTabIndex(), 2);
  auto* hc = Add<THeaderControl>("HeaderControl1");
  static_cast<THeaderSection*>(hc->GetSections()->Add())->SetText("Col");
  ExpectDefaultsOmitted(hc, ExpectRoundTrip(form.get(), hc));
  auto* dt = Add<TDateTimePicker>("DateTimePicker1");
  dt->SetDateTime(36892.5);
  dt->SetKind(dtkTime);
  ExpectRoundTrip(form.get(), dt);
  EXPECT_DOUBLE_EQ(dt->GetDate(), 36892);
  auto* re = Add<TRichEdit>("RichEdit1");
  re->GetLines()->SetText("first\r\nsecond\r\n");
  re->SetPlainText(true);
  ExpectDefaultsOmitted(re, ExpectRoundTrip(form.get(), re));
}

}  // namespace
