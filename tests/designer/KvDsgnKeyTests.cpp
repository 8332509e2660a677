// The design's own keys: moving and sizing by keyboard, and selecting by keyboard.
#include "DesignText.h"
#include "DesignerFixture.h"

namespace {

class KeyTest : public DesignerTest {
 protected:
  void SetUp() override {
    DesignerTest::SetUp();
    Panel = Add<TPanel>("Panel1", 16, 16, 200, 120);
    Edit = Add<TEdit>("Edit1", 8, 8, 100, 24, Panel);
    Check = Add<TCheckBox>("CheckBox1", 8, 48, 100, 24, Panel);
    Button = Add<TButton>("Button1", 240, 64, 75, 25);
    Application->ProcessMessages();
  }
  void Key(uint16_t key, TShiftState shift = {}) { EXPECT_TRUE(Engine->KeyCommand(key, shift)); }

  TPanel* Panel = nullptr;
  TEdit* Edit = nullptr;
  TCheckBox* Check = nullptr;
  TButton* Button = nullptr;
};

}  // namespace

// A run of nudges is one step; moving by a grid step and sizing are steps of their own.
TEST_F(KeyTest, ArrowsMoveAndSizeAndARunOfNudgesIsOneStep) {
  const std::string original = DesignText(Engine);
  Engine->SelectComponent(Button);
  Engine->FModified = false;
  Key(VK_RIGHT, {ssCtrl});
  Key(VK_RIGHT, {ssCtrl});
  Key(VK_UP, {ssCtrl});
  EXPECT_EQ(Button->BoundsRect(), Bounds(242, 63, 75, 25));
  EXPECT_TRUE(Engine->FModified);
  EXPECT_EQ(Engine->UndoStack().Count(), 1u);
  EXPECT_EQ(Engine->UndoCaption(), "Undo Move");

  const TPoint grid = Engine->GetGridXY();
  Key(VK_DOWN, {ssCtrl, ssShift});
  EXPECT_EQ(Button->GetTop(), 63 + grid.Y);
  EXPECT_EQ(Engine->UndoStack().Count(), 1u) << "still the same run";
  Key(VK_LEFT, {ssShift});
  EXPECT_EQ(Button->GetWidth(), 74);
  EXPECT_EQ(Engine->UndoCaption(), "Undo Size");
  EXPECT_EQ(Engine->UndoStack().Count(), 2u);
  // The handles follow the control.
  EXPECT_EQ(Engine->Marker(0)->FControl, Button);

  TComponentList two;
  two.Add(Edit);
  two.Add(Check);
  Engine->SetSelections(&two);
  EXPECT_TRUE(Engine->KeyCommand(VK_RIGHT, {ssShift}));
  EXPECT_EQ(Edit->GetWidth(), 100) << "sizing takes one control only";
  Key(VK_RIGHT, {ssCtrl});
  EXPECT_EQ(Edit->GetLeft(), 9);
  EXPECT_EQ(Check->GetLeft(), 9);

  while (Engine->CanUndo()) Engine->Undo();
  EXPECT_EQ(DesignText(Engine), original);
  EXPECT_FALSE(Engine->KeyCommand(VK_RIGHT, {}));
}

TEST_F(KeyTest, EscTabAndCtrlASelect) {
  Engine->SelectComponent(Edit);
  Key(VK_ESCAPE);
  EXPECT_EQ(Selection(), std::vector<TComponent*>{Panel});
  Key(VK_ESCAPE);
  EXPECT_EQ(Selection(), std::vector<TComponent*>{Form()});

  // Creation order, round at both ends.
  Key(VK_TAB);
  EXPECT_EQ(Selection(), std::vector<TComponent*>{Panel});
  Key(VK_TAB);
  EXPECT_EQ(Selection(), std::vector<TComponent*>{Edit});
  Key(VK_TAB, {ssShift});
  Key(VK_TAB, {ssShift});
  EXPECT_EQ(Selection(), std::vector<TComponent*>{Button});

  Engine->SelectComponent(Check);
  Key('A', {ssCtrl});
  EXPECT_EQ(Selection(), (std::vector<TComponent*>{Edit, Check}));
  Engine->SelectComponent(Form());
  Key('A', {ssCtrl});
  EXPECT_EQ(Selection(), (std::vector<TComponent*>{Panel, Button}));
}
