// Cut, copy and paste of components as text form objects.
#include "DesignText.h"
#include "DesignerFixture.h"
#include "TypInfo.h"

namespace {

class ClipboardTest : public DesignerTest {
 protected:
  void SetUp() override {
    DesignerTest::SetUp();
    auto* panel = Add<TPanel>("Panel1", 16, 16, 200, 120);
    auto* edit = Add<TEdit>("Edit1", 8, 8, 100, 24, panel);
    auto* label = Add<TLabel>("Label1", 240, 16, 60, 16);
    label->SetFocusControl(edit);
    auto* button = Add<TButton>("Button1", 240, 64, 75, 25);
    SetMethodProp(button, GetPropInfo(button, "OnClick"), Engine->CreateMethod("Button1Click", nullptr));
    Application->ProcessMessages();
  }
  TComponent* Named(const std::string& name) const { return Form()->FindComponent(name); }
  void Select(std::initializer_list<const char*> names) {
    TComponentList list;
    for (const char* n : names) list.Add(Named(n));
    Engine->SetSelections(&list);
  }
};

}  // namespace

// Copies land a grid step off their originals under the next free names; the label refers to
// the copied edit, the button keeps its handler's name; the paste is one undo step.
TEST_F(ClipboardTest, PasteRenamesFollowsReferencesKeepsHandlersAndIsOneStep) {
  Select({"Label1", "Panel1", "Button1"});
  const std::string text = Engine->SelectionText();
  const size_t panel = text.find("object Panel1: TPanel"), label = text.find("object Label1: TLabel");
  ASSERT_NE(panel, std::string::npos);
  EXPECT_LT(panel, label) << "creation order";
  EXPECT_NE(text.find("object Edit1: TEdit"), std::string::npos) << "children go along";

  const std::string before = DesignText(Engine);
  Engine->SelectComponent(Form());
  Engine->PasteText(text);
  auto* panel2 = dynamic_cast<TPanel*>(Named("Panel2"));
  auto* edit2 = dynamic_cast<TEdit*>(Named("Edit2"));
  auto* label2 = dynamic_cast<TLabel*>(Named("Label2"));
  auto* button2 = dynamic_cast<TButton*>(Named("Button2"));
  ASSERT_TRUE(panel2 && edit2 && label2 && button2);
  EXPECT_EQ(edit2->GetParent(), panel2);
  EXPECT_EQ(label2->GetFocusControl(), edit2);
  EXPECT_EQ(static_cast<TLabel*>(Named("Label1"))->GetFocusControl(), Named("Edit1"));
  EXPECT_EQ(TObject::MethodName(GetMethodProp(button2, GetPropInfo(button2, "OnClick"))), "Button1Click");
  const TPoint grid = Engine->GetGridXY();
  EXPECT_EQ(panel2->BoundsRect().TopLeft(), (TPoint{16 + grid.X, 16 + grid.Y}));
  EXPECT_EQ(Selection().size(), 3u);
  EXPECT_TRUE(Engine->FModified);

  const std::string after = DesignText(Engine);
  EXPECT_EQ(Engine->UndoCaption(), "Undo Paste");
  Engine->Undo();
  EXPECT_EQ(DesignText(Engine), before);
  Engine->Redo();
  EXPECT_EQ(DesignText(Engine), after);
}

TEST_F(ClipboardTest, BadTextChangesNothingAndNamesAnUnregisteredClass) {
  const std::string before = DesignText(Engine);
  EXPECT_THROW(Engine->PasteText("object Button9: TButton\r\n  Left = \r\nend"), Exception);
  EXPECT_THROW(Engine->PasteText("just words"), Exception);
  try {
    Engine->PasteText("object Panel9: TPanel\r\n  object X1: TNoSuchControl\r\n  end\r\nend");
    ADD_FAILURE() << "no error";
  } catch (const EClassNotFound& e) {
    EXPECT_NE(e.Message().find("TNoSuchControl"), std::string::npos) << e.Message();
  }
  EXPECT_EQ(DesignText(Engine), before);
  EXPECT_EQ(Named("Panel9"), nullptr);
  EXPECT_FALSE(Engine->CanUndo());
}

TEST_F(ClipboardTest, CutIsOneStepAndCopyIntoAnotherDesignKeepsEveryProperty) {
  Select({"Panel1", "Button1"});
  const std::string text = Engine->SelectionText();
  Engine->CopySelection();

  Designer->NewForm();
  TKFormDesigner* other = Designer->FDesignerWindow->CurrentDesigner();
  ASSERT_NE(other, Engine);
  other->SelectComponent(other->GetForm());
  other->Paste();
  EXPECT_EQ(other->SelectionText(), text);

  const std::string before = DesignText(Engine);
  Engine->CutSelection();
  EXPECT_EQ(Named("Panel1"), nullptr);
  EXPECT_EQ(Engine->UndoCaption(), "Undo Cut");
  Engine->Undo();
  EXPECT_EQ(DesignText(Engine), before);
}
