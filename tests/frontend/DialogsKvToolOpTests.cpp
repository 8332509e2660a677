// The environment options dialog: values in and out, and the grid size checks.
#include <gtest/gtest.h>

#include <memory>

#include "Dialogs.h"
#include "DialogsUser.h"
#include "KvToolOp.h"

namespace {

class KvToolOpTest : public ::testing::Test {
 protected:
  void SetUp() override { Dialog = std::make_unique<TfmKvToolOp>(Application); }
  // Types both grid sizes and presses OK.
  void Confirm(const std::string& x, const std::string& y) {
    User.Then([=, this] {
      Dialog->edGridX->SetText(x);
      Dialog->edGridY->SetText(y);
      TDialogUser::Click(Dialog->Button1);
    });
  }
  TDialogUser User;
  std::unique_ptr<TfmKvToolOp> Dialog;
};

const char* kXMessage = "Grid size X must be an integer between 2 and 128";
const char* kYMessage = "Grid size Y must be an integer between 2 and 128";

TEST_F(KvToolOpTest, ShowsTheCallersSettingsAndHandsBackTheUsersOnOk) {
  Dialog->GridX = 16;
  Dialog->GridY = 4;
  Dialog->SnapToGrid = true;
  Dialog->DisplayGrid = false;
  std::string shownX, shownY;
  bool shownSnap = false, shownDisplay = true;
  User.Then([&] {
    shownX = Dialog->edGridX->GetText();
    shownY = Dialog->edGridY->GetText();
    shownSnap = Dialog->ckSnapToGrid->GetChecked();
    shownDisplay = Dialog->ckDisplayGrid->GetChecked();
    TDialogUser::Click(Dialog->ckSnapToGrid);
    TDialogUser::Click(Dialog->ckDisplayGrid);
  });
  Confirm("2", "128");
  EXPECT_EQ(User.Run(Dialog.get()), mrOk) << "both limits are allowed";
  EXPECT_EQ(shownX, "16");
  EXPECT_EQ(shownY, "4");
  EXPECT_TRUE(shownSnap);
  EXPECT_FALSE(shownDisplay);
  EXPECT_EQ(Dialog->GridX, 2);
  EXPECT_EQ(Dialog->GridY, 128);
  EXPECT_FALSE(Dialog->SnapToGrid);
  EXPECT_TRUE(Dialog->DisplayGrid);
  EXPECT_TRUE(User.Boxes.empty());
}

TEST_F(KvToolOpTest, ASizeOutOfRangeNamesItsAxisAndKeepsTheDialogOpen) {
  Confirm("1", "8");
  Confirm("8", "129");
  Confirm("1", "129");
  EXPECT_EQ(User.Run(Dialog.get()), kStillOpen);
  // With both wrong, the Y message replaces the X one: one box per press.
  EXPECT_EQ(User.Boxes, (std::vector<std::string>{kXMessage, kYMessage, kYMessage}));
  for (int flags : User.BoxFlags) {
    EXPECT_EQ(flags & 0xF0, MB_ICONERROR);
    EXPECT_EQ(MsgDlgButtonsOf(flags), TMsgDlgButtons{mbOK});
  }
  Confirm(" 1 6", "8");
  EXPECT_EQ(User.Run(Dialog.get()), mrOk) << "blanks inside a number are skipped";
  EXPECT_EQ(Dialog->GridX, 16);
}

TEST_F(KvToolOpTest, ALetterOrASignIsNoNumberAndGetsTheRangeMessage) {
  Confirm("1a", "8");
  Confirm("8", "-8");
  Confirm("8", "+8");
  EXPECT_EQ(User.Run(Dialog.get()), kStillOpen);
  EXPECT_EQ(User.Boxes, (std::vector<std::string>{kXMessage, kYMessage, kYMessage}));
}

TEST_F(KvToolOpTest, ATextWithoutDigitsIsReportedAsAConversionErrorAndTheDialogStaysOpen) {
  Confirm("", "8");
  Confirm("8", "   ");
  EXPECT_EQ(User.Run(Dialog.get()), kStillOpen);
  EXPECT_EQ(User.Boxes,
            (std::vector<std::string>{"'' is not a valid integer value.", "'' is not a valid integer value."}));
}

TEST_F(KvToolOpTest, CancelAndEscapeCloseWithoutOk) {
  User.Then([this] { TDialogUser::Click(Dialog->Button2); });
  EXPECT_EQ(User.Run(Dialog.get()), mrCancel);
  User.Then([this] { TDialogUser::PressKey(Dialog->edGridY, VK_ESCAPE); });
  EXPECT_EQ(User.Run(Dialog.get()), mrCancel);
}

}  // namespace
