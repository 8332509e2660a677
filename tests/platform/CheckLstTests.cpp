// The check list box: check states that travel with their items, the user's toggling in the
// VCL's order, and streaming.
#include <gtest/gtest.h>

#include "CheckLst.h"
#include "ControlsTests.h"
#include "StdReg.h"
#include "StreamCheck.h"

namespace {

struct CheckListForm : ::testing::Test {
  TForm* Form = nullptr;
  TCheckListBox* List = nullptr;
  void SetUp() override {
    RegisterStandardClasses();
    Form = new TForm(nullptr);
    Form->SetName("Form1");
    List = new TCheckListBox(Form);
    List->SetName("CheckListBox1");
    List->SetParent(Form);
    for (const char* s : {"alpha", "beta", "gamma"}) List->GetItems()->Add(s);
  }
  void TearDown() override {
    delete Form;
    Application->ProcessMessages();
  }
};

TEST_F(CheckListForm, StatesTravelWithTheirItemsAndObjectsStayTheUsers) {
  TStrings* items = List->GetItems();
  List->SetChecked(1, true);
  List->SetState(2, cbGrayed);
  List->SetItemEnabled(0, false);
  items->Insert(0, "first");
  EXPECT_TRUE(List->GetChecked(2));
  EXPECT_EQ(List->GetState(3), cbGrayed);
  EXPECT_FALSE(List->GetItemEnabled(1));
  EXPECT_EQ(List->GetState(0), cbUnchecked);  // a new item starts unchecked and enabled
  EXPECT_TRUE(List->GetItemEnabled(0));
  items->Delete(0);
  items->Exchange(0, 2);
  EXPECT_EQ(items->Get(0), "gamma");
  EXPECT_EQ(List->GetState(0), cbGrayed);
  EXPECT_TRUE(List->GetItemEnabled(0));
  EXPECT_FALSE(List->GetItemEnabled(2));
  List->SetSorted(true);
  EXPECT_EQ(items->Get(1), "beta");
  EXPECT_TRUE(List->GetChecked(1));
  TCheckListBox other(nullptr);  // any object will do as the user's
  items->PutObject(1, &other);
  EXPECT_EQ(items->GetObject(1), &other);
  EXPECT_TRUE(List->GetChecked(1));
  EXPECT_EQ(items->GetObject(0), nullptr);
  items->PutObject(1, nullptr);
  EXPECT_THROW(List->GetState(7), EStringListError);
}

TEST_F(CheckListForm, TogglingFollowsTheVclOrderAndSkipsDisabledItems) {
  int clicks = 0;
  List->OnClickCheck = [&](TObject*) { ++clicks; };
  ShowAndSettle(Form);
  List->SetFocus();
  List->SetItemIndex(1);
  Application->ProcessMessages();
  SendInput(Form, WM_KEYDOWN, {0, 0}, 0, VK_SPACE);  // the toolkit toggles the focused item
  Application->ProcessMessages();
  EXPECT_EQ(List->GetState(1), cbChecked);
  EXPECT_EQ(clicks, 1);
  auto toggle = [&](int i) { List->Perform(WM_COMMAND, MakeWParam(0, LBN_CHECKCHANGE), i); };
  toggle(1);
  EXPECT_EQ(List->GetState(1), cbUnchecked);
  List->SetAllowGrayed(true);
  toggle(1);
  toggle(1);
  EXPECT_EQ(List->GetState(1), cbGrayed);
  toggle(1);
  EXPECT_EQ(List->GetState(1), cbUnchecked);
  EXPECT_EQ(clicks, 5);
  List->SetItemEnabled(2, false);
  toggle(2);
  EXPECT_EQ(List->GetState(2), cbUnchecked);
  EXPECT_EQ(clicks, 5);
  toggle(99);  // no such item: nothing happens
  EXPECT_EQ(clicks, 5);
}

TEST_F(CheckListForm, RoundTripsWithDefaultsLeftOut) {
  List->SetAllowGrayed(true);
  List->SetFlat(false);
  List->SetColumns(2);
  std::string text = ExpectRoundTrip(Form, List);
  ExpectDefaultsOmitted(List, text);
  EXPECT_NE(text.find("Items.Strings = (\r\n      'alpha'"), std::string::npos) << text;
}

}  // namespace
