// Undo and redo of the design gestures: each one undone gives the design's saved text byte for
// byte, redone gives the text after it again.
#include <random>

#include "DesignText.h"
#include "DesignerFixture.h"

namespace {

class UndoTest : public DesignerTest {
 protected:
  void SetUp() override {
    DesignerTest::SetUp();
    Panel = Add<TPanel>("Panel1", 16, 16, 200, 120);
    Edit = Add<TEdit>("Edit1", 8, 8, 100, 24, Panel);
    Add<TCheckBox>("CheckBox1", 8, 48, 100, 24, Panel);
    Label = Add<TLabel>("Label1", 240, 16, 60, 16);
    Label->SetFocusControl(Edit);
    Add<TButton>("Button1", 240, 64, 75, 25);
    Add<TButton>("Button2", 240, 120, 75, 25);
    Application->ProcessMessages();
  }

  TComponent* Named(const std::string& name) const { return Form()->FindComponent(name); }
  void Select(std::initializer_list<const char*> names) {
    TComponentList list;
    for (const char* n : names) list.Add(Named(n));
    Engine->SetSelections(&list);
  }
  void Delete() { Form()->Perform(WM_KEYDOWN, VK_DELETE, 0); }
  int ZOrder(const std::string& name) const {
    for (int i = 0; i < Form()->ControlCount(); ++i)
      if (Form()->Controls(i)->GetName() == name) return i;
    return -1;
  }
  void DragBy(const std::string& name, int dx, int dy) {
    auto* c = static_cast<TControl*>(Named(name));
    TPoint p = Form()->ScreenToClient(c->ClientToScreen({3, 3}));
    Drag(p, {p.X + dx, p.Y + dy});
  }

  // The gesture just made is the last step: undone it gives `before`, redone the text after it.
  void ExpectUndoRedo(const std::string& before, const std::string& caption) {
    const std::string after = DesignText(Engine);
    ASSERT_NE(before, after) << caption << " changed nothing";
    EXPECT_EQ(Engine->UndoCaption(), "Undo " + caption);
    Engine->Undo();
    EXPECT_EQ(DesignText(Engine), before) << "undo " << caption;
    EXPECT_EQ(Engine->RedoCaption(), "Redo " + caption);
    Engine->Redo();
    EXPECT_EQ(DesignText(Engine), after) << "redo " << caption;
  }

  TPanel* Panel = nullptr;
  TEdit* Edit = nullptr;
  TLabel* Label = nullptr;
};

}  // namespace

TEST_F(UndoTest, EachGestureUndoneAndRedoneGivesTheTextByteForByte) {
  std::string before = DesignText(Engine);
  DragBy("Button1", 24, 16);
  ExpectUndoRedo(before, "Move");
  EXPECT_EQ(Selection(), std::vector<TComponent*>{Named("Button1")});

  Select({"Button1", "Button2"});
  before = DesignText(Engine);
  Engine->AlignLeft();
  ExpectUndoRedo(before, "Align");

  Select({"Button2"});
  before = DesignText(Engine);
  Engine->SendToBack();
  ExpectUndoRedo(before, "Send To Back");
  before = DesignText(Engine);
  Engine->BringToFront();
  ExpectUndoRedo(before, "Bring To Front");

  static_cast<TControl*>(Named("Button2"))->SetLeft(243);  // off the grid
  before = DesignText(Engine);
  Engine->AlignToGrid();
  ExpectUndoRedo(before, "Align To Grid");

  auto* saved = KSizeDialogProc;
  KSizeDialogProc = [](TKSizeChoice& c) {
    c.WidthCode = 3;
    c.Width = 140;
    return true;
  };
  before = DesignText(Engine);
  Engine->Size();
  KSizeDialogProc = saved;
  ExpectUndoRedo(before, "Size");
}

// The panel comes back with its children, in its place among its siblings, and a reference
// from outside it to one of its children takes up the restored child.
TEST_F(UndoTest, DeletingAPanelWithChildrenIsUndoneWithReferencesAndOrder) {
  const std::string before = DesignText(Engine);
  const int place = ZOrder("Panel1");
  Select({"Panel1"});
  Delete();
  ASSERT_EQ(Named("Edit1"), nullptr);
  EXPECT_EQ(Label->GetFocusControl(), nullptr);
  ExpectUndoRedo(before, "Delete");
  Engine->Undo();
  auto* edit = dynamic_cast<TEdit*>(Named("Edit1"));
  ASSERT_NE(edit, nullptr);
  EXPECT_EQ(edit->GetParent(), Named("Panel1"));
  EXPECT_EQ(Label->GetFocusControl(), edit);
  EXPECT_EQ(ZOrder("Panel1"), place);
  EXPECT_EQ(Selection(), std::vector<TComponent*>{Named("Panel1")});
}

TEST_F(UndoTest, ModifiedFollowsTheStepsAndANewGestureDropsRedo) {
  const std::string file = RecoveryFolder + "/Saved.dfm";
  std::filesystem::create_directories(RecoveryFolder);
  Engine->WriteUnits(file, false);
  ASSERT_FALSE(Engine->FModified);
  EXPECT_FALSE(Engine->CanUndo());

  DragBy("Button1", 16, 0);
  EXPECT_TRUE(Engine->FModified);
  Engine->Undo();
  EXPECT_FALSE(Engine->FModified) << "back at the saved state";
  Engine->Redo();
  EXPECT_TRUE(Engine->FModified);
  Engine->Undo();

  DragBy("Button2", 0, 16);
  EXPECT_FALSE(Engine->CanRedo());
  EXPECT_EQ(Engine->RedoCaption(), "Redo");
  Engine->Undo();
  EXPECT_FALSE(Engine->FModified);
  EXPECT_FALSE(Engine->CanUndo());
}

TEST_F(UndoTest, TheEditMenuNamesTheStepAndRunsIt) {
  TfmKvFrmDsg* window = Designer->FDesignerWindow;
  EXPECT_FALSE(window->UndoItem->GetEnabled());
  DragBy("Button1", 16, 8);
  EXPECT_EQ(window->UndoItem->GetCaption(), "Undo Move");
  EXPECT_TRUE(window->UndoItem->GetEnabled());
  EXPECT_FALSE(window->RedoItem->GetEnabled());
  const std::string moved = DesignText(Engine);
  window->UndoItem->Click();
  EXPECT_EQ(window->RedoItem->GetCaption(), "Redo Move");
  EXPECT_TRUE(window->RedoItem->GetEnabled());
  EXPECT_FALSE(window->UndoItem->GetEnabled());
  // Ctrl+Y on the design redoes too.
  EXPECT_TRUE(Designer->IsShortCut('Y', TShiftState{ssCtrl}));
  EXPECT_EQ(DesignText(Engine), moved);
}

// Random gestures of every recorded kind, then as many undos: the design as it began.
TEST_F(UndoTest, HundredRandomGesturesThenHundredUndosGiveTheOriginalText) {
  const std::string original = DesignText(Engine);
  std::mt19937 random(19);
  const std::vector<std::string> names = {"Panel1", "Label1", "Button1", "Button2", "Edit1", "CheckBox1"};
  auto pick = [&]() -> std::string {
    for (;;)
      if (const std::string& n = names[random() % names.size()]; Named(n)) return n;
  };
  int attempts = 0;
  while (Engine->UndoStack().Count() < 100 && ++attempts < 1000) {
    const std::string name = pick();
    Select({name.c_str()});
    switch (random() % 7) {
      case 0:
        Select({"Button1", "Button2"});
        if (random() % 2) Engine->AlignLeft();
        else Engine->AlignTops();
        break;
      case 1: Engine->BringToFront(); break;
      case 2: Engine->SendToBack(); break;
      case 3:
        // The buttons stay, so that there is always something to align.
        if (name != "Button1" && name != "Button2") Delete();
        break;
      default: DragBy(name, static_cast<int>(random() % 5) * 8 - 16, static_cast<int>(random() % 5) * 8 - 16);
    }
  }
  ASSERT_EQ(Engine->UndoStack().Count(), 100u);
  for (int i = 0; i < 100; ++i) Engine->Undo();
  EXPECT_FALSE(Engine->CanUndo());
  EXPECT_EQ(DesignText(Engine), original);
}
