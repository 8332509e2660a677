// Values committed in the inspector are undo steps of the design.
#include "DesignText.h"
#include "InspectorFixture.h"
#include "Windows.h"

// The keystrokes of one value are one step; a rename is undone with the references to the
// renamed component.
TEST_F(InspectorTest, CommittedValuesAndRenamesAreUndoneByteForByte) {
  auto* edit = Add<TEdit>("Edit1", 8, 48);
  auto* label = Add<TLabel>("Label1");
  label->SetFocusControl(edit);
  const std::string original = DesignText(Engine);
  Select({label});
  ASSERT_TRUE(GoTo("Caption"));
  Type("ok");
  EXPECT_EQ(label->GetCaption(), "ok");
  EXPECT_EQ(Engine->UndoCaption(), "Undo Change");
  const std::string captioned = DesignText(Engine);
  Engine->Undo();
  EXPECT_EQ(DesignText(Engine), original) << "both keystrokes are one step";
  EXPECT_FALSE(Engine->CanUndo());
  Engine->Redo();
  EXPECT_EQ(DesignText(Engine), captioned);

  Select({Form()->FindComponent("Edit1")});
  ASSERT_TRUE(GoTo("Name"));
  Type("name");
  Key(VK_RETURN);
  ASSERT_NE(Form()->FindComponent("name"), nullptr);
  EXPECT_EQ(Engine->UndoCaption(), "Undo Rename");
  const std::string renamed = DesignText(Engine);
  Engine->Undo();
  EXPECT_EQ(DesignText(Engine), captioned);
  auto* back = Form()->FindComponent("Edit1");
  ASSERT_NE(back, nullptr);
  EXPECT_EQ(static_cast<TLabel*>(Form()->FindComponent("Label1"))->GetFocusControl(), back);
  Engine->Redo();
  EXPECT_EQ(DesignText(Engine), renamed);
  Engine->Undo();
  Engine->Undo();
  EXPECT_EQ(DesignText(Engine), original);
}
