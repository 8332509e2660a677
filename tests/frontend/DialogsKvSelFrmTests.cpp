// The form-selection dialog: incremental search over the sorted form names.
#include <gtest/gtest.h>

#include <memory>

#include "DialogsUser.h"
#include "KvSelFrm.h"

namespace {

class KvSelFrmTest : public ::testing::Test {
 protected:
  // As the designer window fills it: the current form's name first, then the list.
  void SetUp() override {
    Dialog = std::make_unique<TfmKvSelFrm>(Application);
    Dialog->Edit1->SetText("Form10");
    for (const char* name : {"Form10", "Main", "Form1"}) Dialog->ListBox1->GetItems()->Add(name);
  }
  std::string Selected() const {
    int i = Dialog->ListBox1->GetItemIndex();
    return i < 0 ? "(none)" : Dialog->ListBox1->GetItems()->Get(i);
  }
  // The user clicks the entry called name in the list.
  void ClickEntry(const std::string& name) {
    Dialog->ListBox1->SetItemIndex(Dialog->ListBox1->GetItems()->IndexOf(name));
    Dialog->ListBox1->Perform(WM_COMMAND, MakeWParam(0, LBN_SELCHANGE), 0);
  }
  TDialogUser User;
  std::unique_ptr<TfmKvSelFrm> Dialog;
};

TEST_F(KvSelFrmTest, ActivationSelectsTheCurrentFormAndADoubleClickConfirmsIt) {
  std::string atStart;
  User.Then([&] {
    atStart = Selected();
    Dialog->ListBox1->Perform(WM_COMMAND, MakeWParam(0, LBN_DBLCLK), 0);
  });
  EXPECT_EQ(User.Run(Dialog.get()), mrOk);
  EXPECT_EQ(atStart, "Form10");
  EXPECT_EQ(Selected(), "Form10");
}

TEST_F(KvSelFrmTest, TypingSelectsTheFirstEntryBeginningWithTheTextCaseSensitively) {
  std::vector<std::pair<std::string, bool>> seen;
  auto type = [&](const std::string& text) {
    User.Then([&, text] {
      Dialog->Edit1->SetText(text);
      seen.push_back({Selected(), Dialog->btOk->GetEnabled()});
    });
  };
  type("Form1");
  type("F");
  type("form1");
  type("");
  type("Form100");
  type("M");
  User.Then([this] { TDialogUser::Click(Dialog->btOk); });
  EXPECT_EQ(User.Run(Dialog.get()), mrOk);
  EXPECT_EQ(
      seen,
      (std::vector<std::pair<std::string, bool>>{
          {"Form1", true}, {"Form1", true}, {"(none)", false}, {"(none)", false}, {"(none)", false}, {"Main", true}}));
  EXPECT_EQ(Selected(), "Main");
}

TEST_F(KvSelFrmTest, ClickingAnEntryPutsItsNameInTheEditBox) {
  User.Then([this] {
    ClickEntry("Form1");
    EXPECT_EQ(Dialog->Edit1->GetText(), "Form1");
    ClickEntry("Form10");
    EXPECT_EQ(Dialog->Edit1->GetText(), "Form10");
    EXPECT_EQ(Selected(), "Form10") << "the search for Form10 passes over the shorter Form1";
    EXPECT_TRUE(Dialog->btOk->GetEnabled());
  });
  EXPECT_EQ(User.Run(Dialog.get()), kStillOpen);
}

TEST_F(KvSelFrmTest, WithoutAMatchOnlyCancelOrEscapeLeave) {
  User.Then([this] {
    Dialog->Edit1->SetText("Nothing");
    TDialogUser::PressKey(Dialog->Edit1, VK_RETURN);
  });
  EXPECT_EQ(User.Run(Dialog.get()), kStillOpen) << "the disabled OK button is not pressed by Enter";
  User.Then([this] { TDialogUser::PressKey(Dialog->Edit1, VK_ESCAPE); });
  EXPECT_EQ(User.Run(Dialog.get()), mrCancel);
  EXPECT_EQ(Dialog->BitBtn4->GetCaption(), "&Cancel");
}

}  // namespace
