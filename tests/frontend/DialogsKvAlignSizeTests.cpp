// The alignment and size dialogs: the codes the engine reads, the typed sizes, and Escape.
#include <gtest/gtest.h>

#include <memory>

#include "DialogsUser.h"
#include "KvAlign.h"
#include "KvSize.h"

namespace {

void Choose(TRadioGroup* group, int item) { TDialogUser::Click(group->Buttons(item)); }

TEST(KvAlign, TheChosenItemsAreTheCodesAndEnterConfirms) {
  TDialogUser user;
  auto dialog = std::make_unique<TfmKvAlign>(Application);
  EXPECT_EQ(dialog->HorizontalGroup->GetItemIndex(), 0);
  EXPECT_EQ(dialog->VerticalGroup->GetItemIndex(), 0);
  user.Then([&] {
    Choose(dialog->HorizontalGroup, 5);
    Choose(dialog->VerticalGroup, 3);
    TDialogUser::PressKey(dialog->VerticalGroup->Buttons(3), VK_RETURN);
  });
  EXPECT_EQ(user.Run(dialog.get()), mrOk) << "keys other than Escape reach the dialog";
  EXPECT_EQ(dialog->HorizontalGroup->GetItemIndex(), 5);
  EXPECT_EQ(dialog->VerticalGroup->GetItemIndex(), 3);
}

TEST(KvAlign, EscapeCancelsFromAnyControl) {
  TDialogUser user;
  auto dialog = std::make_unique<TfmKvAlign>(Application);
  user.Then([&] { TDialogUser::PressKey(dialog->HorizontalGroup->Buttons(2), VK_ESCAPE); });
  EXPECT_EQ(user.Run(dialog.get()), mrCancel);
  user.Then([&] { TDialogUser::PressKey(dialog->Button1, VK_ESCAPE); });
  EXPECT_EQ(user.Run(dialog.get()), mrCancel);
}

class KvSizeTest : public ::testing::Test {
 protected:
  void SetUp() override { Dialog = std::make_unique<TfmKvSize>(Application); }
  TDialogUser User;
  std::unique_ptr<TfmKvSize> Dialog;
};

TEST_F(KvSizeTest, TheTypedItemEnablesAndFocusesItsBoxAndNoChangeDisablesItAgain) {
  User.Then([this] {
    EXPECT_FALSE(Dialog->edWidth->GetEnabled());
    EXPECT_FALSE(Dialog->edHeight->GetEnabled());
    Choose(Dialog->WidthGroup, 3);
    EXPECT_TRUE(Dialog->edWidth->GetEnabled());
    EXPECT_EQ(Dialog->GetActiveControl(), Dialog->edWidth);
    EXPECT_FALSE(Dialog->edHeight->GetEnabled()) << "each group has its own box";
    Dialog->edWidth->SetText("40");
    Choose(Dialog->WidthGroup, 0);
    EXPECT_FALSE(Dialog->edWidth->GetEnabled());
    EXPECT_EQ(Dialog->edWidth->GetText(), "40") << "the text stays";
    Choose(Dialog->HeightGroup, 3);
    EXPECT_TRUE(Dialog->edHeight->GetEnabled());
    EXPECT_EQ(Dialog->GetActiveControl(), Dialog->edHeight);
    Choose(Dialog->HeightGroup, 2);
    EXPECT_FALSE(Dialog->edHeight->GetEnabled());
  });
  EXPECT_EQ(User.Run(Dialog.get()), kStillOpen);
}

TEST_F(KvSizeTest, AnEmptyOrInvalidSizeIsReportedAndOnlyTheHeightsWhenBothAre) {
  Dialog->SizeWidth = 7;
  Dialog->SizeHeight = 9;
  User.Then([this] {
    Choose(Dialog->WidthGroup, 3);
    TDialogUser::Click(Dialog->Button1);
    Dialog->edWidth->SetText("abc");
    Choose(Dialog->HeightGroup, 3);
    Dialog->edHeight->SetText("-5");
    TDialogUser::Click(Dialog->Button1);
  });
  EXPECT_EQ(User.Run(Dialog.get()), kStillOpen);
  EXPECT_EQ(User.Boxes,
            (std::vector<std::string>{"'' is not a valid integer value", "'-5' is not a valid integer value"}));
  EXPECT_EQ(User.BoxFlags.at(0) & 0xF0, MB_ICONERROR);
  EXPECT_EQ(Dialog->SizeWidth, 7) << "a failed parse keeps the previous value";
  EXPECT_EQ(Dialog->SizeHeight, 9);
}

TEST_F(KvSizeTest, OkHandsBackTheTypedSizesWithBlanksSkipped) {
  User.Then([this] {
    Choose(Dialog->WidthGroup, 3);
    Dialog->edWidth->SetText(" 1 2");
    Choose(Dialog->HeightGroup, 3);
    Dialog->edHeight->SetText("0");
    TDialogUser::Click(Dialog->Button1);
  });
  EXPECT_EQ(User.Run(Dialog.get()), mrOk);
  EXPECT_EQ(Dialog->SizeWidth, 12);
  EXPECT_EQ(Dialog->SizeHeight, 0);
  EXPECT_TRUE(User.Boxes.empty());
}

TEST_F(KvSizeTest, AnUnusedBoxIsNotChecked) {
  User.Then([this] {
    Choose(Dialog->WidthGroup, 3);
    Dialog->edWidth->SetText("junk");
    Choose(Dialog->WidthGroup, 1);
    TDialogUser::Click(Dialog->Button1);
  });
  EXPECT_EQ(User.Run(Dialog.get()), mrOk);
  EXPECT_EQ(Dialog->WidthGroup->GetItemIndex(), 1);
  EXPECT_TRUE(User.Boxes.empty());
}

TEST_F(KvSizeTest, ASizeBeyondTheIntegerRangeIsAConversionErrorAndEscapeCancels) {
  User.Then([this] {
    Choose(Dialog->HeightGroup, 3);
    Dialog->edHeight->SetText("2147483648");
    TDialogUser::Click(Dialog->Button1);
  });
  User.Then([this] { TDialogUser::PressKey(Dialog->edHeight, VK_ESCAPE); });
  EXPECT_EQ(User.Run(Dialog.get()), mrCancel);
  EXPECT_EQ(User.Boxes, (std::vector<std::string>{"'2147483648' is not a valid integer value."}));
}

}  // namespace
