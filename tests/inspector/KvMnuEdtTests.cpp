// The menu designer: items and sub-menus added, inserted, reordered and deleted on a design's
// menu, edited in place, named from their captions, and saved with the form.
#include <filesystem>

#include "DesignerFixture.h"
#include "KvMnuEdt.h"
#include "Menus.h"

namespace {

namespace fs = std::filesystem;

class MenuDesignerTest : public DesignerTest {
 protected:
  void SetUp() override {
    DesignerTest::SetUp();
    Menu = static_cast<TMainMenu*>(Engine->CreateComponent(TMainMenu::StaticClass(), Form(), 40, 40, 0, 0));
  }
  void TearDown() override {
    delete fmKvMnuEdt;
    DesignerTest::TearDown();
  }
  // Opens the menu designer as a double click on the menu's icon does.
  TfmKvMnuEdt* Open() {
    TKvIcon* icon = Engine->IconOf(Menu);
    TPoint p = Form()->ScreenToClient(icon->ClientToScreen({10, 10}));
    SendInput(Form(), WM_LBUTTONDBLCLK, p, MK_LBUTTON);
    return fmKvMnuEdt;
  }
  void Type(TfmKvMnuEdt* w, const std::string& caption) {
    // Keystroke by keystroke, as the edit box reports them.
    for (size_t n = 1; n <= caption.size(); ++n) w->CaptionEdit->SetText(caption.substr(0, n));
  }
  // A short cut picked from the list (a combo box reports the user's choices only).
  void PickShortCut(TfmKvMnuEdt* w, const std::string& text) {
    w->ShortCutCombo->SetText(text);
    w->ShortCutComboChange(w->ShortCutCombo);
  }
  std::vector<std::string> Names(TfmKvMnuEdt* w) {
    std::vector<std::string> out;
    for (TMenuItem* item : w->Entries()) out.push_back(item->GetName());
    return out;
  }
  TMainMenu* Menu = nullptr;
};

}  // namespace

TEST_F(MenuDesignerTest, ItemsAreNamedFromTheirCaptionsAndFollowEveryEdit) {
  EXPECT_EQ(Form()->GetMenu(), Menu);  // the form's first main menu is its menu bar
  TfmKvMnuEdt* w = Open();
  ASSERT_NE(w, nullptr);
  EXPECT_TRUE(w->GetVisible());
  EXPECT_EQ(w->Menu(), Menu);
  EXPECT_EQ(w->GetCaption(), "Form1.MainMenu1");

  w->AddButtonClick(w);
  EXPECT_EQ(Names(w), (std::vector<std::string>{"N1"}));
  Type(w, "&File");
  w->SubMenuButtonClick(w);
  Type(w, "&Open...");
  PickShortCut(w, "Ctrl+O");
  w->AddButtonClick(w);
  Type(w, "-");
  w->AddButtonClick(w);
  Type(w, "1 &Recent");
  EXPECT_EQ(Names(w), (std::vector<std::string>{"File1", "Open1", "N1", "N2"}));
  TMenuItem* open = Menu->Items()->Items(0)->Items(0);
  EXPECT_EQ(open->GetCaption(), "&Open...");
  EXPECT_EQ(open->GetShortCut(), ShortCut('O', {ssCtrl}));
  EXPECT_EQ(open->Owner(), Form());
  EXPECT_TRUE(Menu->Items()->Items(0)->Items(1)->IsLine());
  EXPECT_EQ(w->ItemList->GetItems()->Get(1), "    &Open...   Ctrl+O");

  // The picked item is the design's selection; what the inspector changes shows in the list.
  w->ItemList->SetItemIndex(1);
  w->ItemListClick(w->ItemList);
  EXPECT_EQ(Engine->SelectedComponent(), open);
  EXPECT_EQ(w->CaptionEdit->GetText(), "&Open...");
  EXPECT_EQ(w->ShortCutCombo->GetText(), "Ctrl+O");
  SetStrProp(open, "Caption", "&Load");
  SetOrdProp(open, "Checked", 1);
  EXPECT_EQ(w->ItemList->GetItems()->Get(1), "    &Load   Ctrl+O");
  EXPECT_EQ(w->CaptionEdit->GetText(), "&Load");
  EXPECT_TRUE(w->CheckedBox->GetChecked());
  w->EnabledBox->SetChecked(false);
  EXPECT_FALSE(open->GetEnabled());
  PickShortCut(w, "(None)");
  EXPECT_EQ(open->GetShortCut(), 0);
  EXPECT_EQ(open->GetName(), "Open1");  // only the designer's own captions rename
}

TEST_F(MenuDesignerTest, InsertMoveAndDeleteKeepTheTreeAndTheSelectionSound) {
  TfmKvMnuEdt* w = Open();
  for (const char* caption : {"A", "B", "C"}) {
    w->AddButtonClick(w);
    Type(w, caption);
  }
  w->SelectItem(Menu->Items()->Items(1));
  w->InsertButtonClick(w);  // before B
  Type(w, "X");
  w->SubMenuButtonClick(w);
  Type(w, "Y");
  EXPECT_EQ(Names(w), (std::vector<std::string>{"A1", "X1", "Y1", "B1", "C1"}));
  w->SelectItem(Menu->Items()->Items(1));
  w->DownButtonClick(w);
  w->DownButtonClick(w);
  w->DownButtonClick(w);  // already last: stays
  EXPECT_EQ(Names(w), (std::vector<std::string>{"A1", "B1", "C1", "X1", "Y1"}));
  w->UpButtonClick(w);
  EXPECT_EQ(Names(w), (std::vector<std::string>{"A1", "B1", "X1", "Y1", "C1"}));

  // X goes with its sub-item Y while it is the design's selection; C takes its place.
  Engine->FModified = false;
  EXPECT_EQ(Engine->SelectedComponent(), Menu->Items()->Items(2));
  w->DeleteButtonClick(w);
  EXPECT_EQ(Names(w), (std::vector<std::string>{"A1", "B1", "C1"}));
  EXPECT_EQ(Form()->FindComponent("Y1"), nullptr);
  EXPECT_EQ(w->SelectedItem(), Menu->Items()->Items(2));
  EXPECT_EQ(Engine->SelectedComponent(), Menu->Items()->Items(2));
  EXPECT_TRUE(Engine->FModified);
  // The last item of a sub-menu goes: its parent is selected.
  w->SelectItem(Menu->Items()->Items(0));
  w->SubMenuButtonClick(w);
  w->DeleteButtonClick(w);
  EXPECT_EQ(w->SelectedItem(), Menu->Items()->Items(0));
}

TEST_F(MenuDesignerTest, TheMenuIsSavedAndReadBackAndTheWindowLetsGoOfAClosedDesignsMenu) {
  TfmKvMnuEdt* w = Open();
  w->AddButtonClick(w);
  Type(w, "&Edit");
  w->SubMenuButtonClick(w);
  Type(w, "&Copy");
  PickShortCut(w, "Ctrl+C");
  w->CheckedBox->SetChecked(true);

  fs::path file = fs::temp_directory_path() / "kvmnuedt-saved.dfm";
  Engine->WriteUnits(file.string(), false);
  // The menu goes with its design: the window is left empty and hidden, its buttons inert.
  Engine->Destroy();
  Engine = nullptr;
  EXPECT_EQ(w->Menu(), nullptr);
  EXPECT_TRUE(w->Entries().empty());
  EXPECT_FALSE(w->GetVisible());
  w->AddButtonClick(w);
  EXPECT_TRUE(w->Entries().empty());

  Designer->OpenForm(file.string());
  fs::remove(file);
  TCustomForm* again = Designer->FDesignerWindow->CurrentDesigner()->GetForm();
  auto* copy = dynamic_cast<TMenuItem*>(again->FindComponent("Copy1"));
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(copy->Parent(), again->FindComponent("Edit1"));
  EXPECT_EQ(copy->GetShortCut(), ShortCut('C', {ssCtrl}));
  EXPECT_TRUE(copy->GetChecked());
  EXPECT_EQ(again->GetMenu(), again->FindComponent("MainMenu1"));
}
