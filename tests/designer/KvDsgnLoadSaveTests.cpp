// A form file opened in a design and saved again: handler names survive although no code is
// bound to them, and the unit declares the form class with its fields and empty handlers.
#include <unistd.h>

#include <filesystem>

#include "Buttons.h"
#include "DBCtrls.h"
#include "DesignerFixture.h"
#include "Menus.h"
#include "TypInfo.h"

namespace {

namespace fs = std::filesystem;

std::string StreamText(TMemoryStream& s) { return std::string(reinterpret_cast<const char*>(s.Memory()), s.GetSize()); }

void WriteFormFile(const fs::path& path, const std::string& text) {
  TMemoryStream in, out;
  in.WriteBuffer(text.data(), static_cast<int64_t>(text.size()));
  in.SetPosition(0);
  ObjectTextToResource(&in, &out);
  out.SaveToFile(path.string());
}

std::string FormFileText(const fs::path& path) {
  TMemoryStream in, out;
  in.LoadFromFile(path.string());
  ObjectResourceToText(&in, &out);
  return StreamText(out);
}

class LoadSaveTest : public DesignerTest {
 protected:
  void SetUp() override {
    Dir = fs::temp_directory_path() /
          ("kvdsgn-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(Dir);
    fs::create_directories(Dir);
    DesignerTest::SetUp();
  }
  void TearDown() override {
    DesignerTest::TearDown();
    fs::remove_all(Dir);
  }
  fs::path Dir;
};

const char* const kForm7 =
    "object Form7: TForm7\n"
    "  Left = 10\n  Top = 20\n  Width = 320\n  Height = 200\n"
    "  Caption = 'Loaded'\n"
    "  OnCreate = FormCreate\n"
    "  object Button1: TButton\n"
    "    Left = 16\n    Top = 16\n    Width = 75\n    Height = 25\n"
    "    Caption = 'Go'\n"
    "    OnClick = Button1Click\n"
    "  end\n"
    "end\n";

}  // namespace

TEST_F(LoadSaveTest, AFormFileOpensSavesWithItsHandlersAndGeneratesItsUnit) {
  fs::path file = Dir / "Unit7.dfm";
  WriteFormFile(file, kForm7);
  Designer->OpenForm(file.string());
  TKFormDesigner* design = Designer->FDesignerWindow->CurrentDesigner();
  ASSERT_NE(design, Engine);
  TCustomForm* form = design->GetForm();
  EXPECT_EQ(form->GetName(), "Form7");
  EXPECT_EQ(form->GetCaption(), "Loaded");
  // Its file stores no Visible (False, as for almost every form): the design shows all the same,
  // and saving keeps it False.
  EXPECT_FALSE(form->GetVisible());
  EXPECT_TRUE(form->Showing());
  EXPECT_EQ(design->ResName(), "TFORM7");
  EXPECT_TRUE(design->FHasFileName);
  EXPECT_FALSE(design->FModified);
  auto* button = dynamic_cast<TButton*>(form->FindComponent("Button1"));
  ASSERT_NE(button, nullptr);
  // The event names its handler, but no code is bound to the name: calling it does nothing.
  EXPECT_EQ(TObject::MethodName(button->OnClick.Method()), "Button1Click");
  button->OnClick(button);

  button->SetLeft(40);
  design->Modified();
  fs::path saved = Dir / "Saved7.pas";
  design->WriteUnits(saved.string(), true);
  EXPECT_FALSE(design->FModified);
  // The design's file is the form file written, not the unit named in the dialog.
  EXPECT_EQ(design->FFileName, (Dir / "Saved7.dfm").string());

  std::string text = FormFileText(Dir / "Saved7.dfm");
  EXPECT_NE(text.find("object Form7: TForm7"), std::string::npos) << text;
  EXPECT_NE(text.find("Left = 40"), std::string::npos) << text;
  EXPECT_NE(text.find("OnClick = Button1Click"), std::string::npos) << text;
  EXPECT_NE(text.find("OnCreate = FormCreate"), std::string::npos) << text;

  TMemoryStream unit;
  unit.LoadFromFile((Dir / "Saved7.pas").string());
  std::string pas = StreamText(unit);
  EXPECT_EQ(pas.rfind("unit Saved7;\r\n\r\ninterface\r\n", 0), 0u) << pas;
  EXPECT_NE(pas.find("  TForm7 = class(TForm)\r\n    Button1: TButton;\r\n"), std::string::npos) << pas;
  EXPECT_NE(pas.find("    procedure Button1Click(Sender: TObject);\r\n"), std::string::npos) << pas;
  EXPECT_NE(pas.find("var\r\n  Form7: TForm7;\r\n"), std::string::npos) << pas;
  EXPECT_NE(pas.find("procedure TForm7.Button1Click(Sender: TObject);\r\nbegin\r\n  {}\r\nend;\r\n"), std::string::npos)
      << pas;
  EXPECT_EQ(pas.substr(pas.size() - 6), "end.\r\n");

  // The saved file opens again with the change.
  design->Destroy();
  Designer->OpenForm((Dir / "Saved7.dfm").string());
  TCustomForm* again = Designer->FDesignerWindow->CurrentDesigner()->GetForm();
  EXPECT_EQ(static_cast<TControl*>(again->FindComponent("Button1"))->GetLeft(), 40);
}

// A unit a Delphi user can compile: a new design declares a class of its own (TForm1 for Form1),
// which its form file and resource name follow; every component has a field, every handler a
// declaration and body, and the units of the classes used (their ancestors' too) are used.
TEST_F(LoadSaveTest, ANewDesignsUnitDeclaresItsOwnClassItsComponentsAndTheirUnits) {
  Add<TButton>("Button1", 16, 16, 75, 25);
  Add<TSpeedButton>("SpeedButton1", 100, 16, 25, 25);
  Add<TDBNavigator>("DBNavigator1", 16, 60, 240, 25);
  (new TMainMenu(Form()))->SetName("MainMenu1");
  for (const char* name : {"Button1", "DBNavigator1"}) {
    std::unique_ptr<TComponentEditor> editor(GetComponentEditor(Form()->FindComponent(name), Engine));
    editor->Edit();
  }
  auto* edit = Add<TEdit>("Edit1", 16, 100, 120, 21);
  SetMethodProp(edit, GetPropInfo(edit, "OnKeyPress"), Engine->CreateMethod("Edit1KeyPress", nullptr));

  Engine->WriteUnits((Dir / "Unit1.pas").string(), true);
  EXPECT_EQ(Engine->FFileName, (Dir / "Unit1.dfm").string());
  TMemoryStream unit;
  unit.LoadFromFile((Dir / "Unit1.pas").string());
  const std::string pas = StreamText(unit);
  EXPECT_NE(pas.find("  TForm1 = class(TForm)\r\n"), std::string::npos) << pas;
  for (const char* field : {"Button1: TButton;", "SpeedButton1: TSpeedButton;", "DBNavigator1: TDBNavigator;",
                            "MainMenu1: TMainMenu;", "Edit1: TEdit;"})
    EXPECT_NE(pas.find(std::string("\r\n    ") + field + "\r\n"), std::string::npos) << field;
  EXPECT_NE(pas.find("var\r\n  Form1: TForm1;\r\n"), std::string::npos) << pas;
  EXPECT_NE(pas.find("procedure TForm1.Button1Click(Sender: TObject);\r\n"), std::string::npos) << pas;
  EXPECT_NE(pas.find("procedure TForm1.DBNavigator1Click(Sender: TObject; Button: TNavigateBtn);\r\n"),
            std::string::npos)
      << pas;
  // A handler takes var parameters as the event passes them, or it could not change the key.
  EXPECT_NE(pas.find("    procedure Edit1KeyPress(Sender: TObject; var Key: Char);\r\n"), std::string::npos) << pas;
  const size_t uses = pas.find("uses\r\n"), end = pas.find(';', uses);
  ASSERT_NE(uses, std::string::npos) << pas;
  const std::string clause = pas.substr(uses + 6, end - uses - 6) + ",";
  for (const char* u : {"StdCtrls", "Buttons", "ExtCtrls", "DBCtrls", "Menus"}) {
    const std::string name = std::string(" ") + u + ",";
    EXPECT_NE(clause.find(name), std::string::npos) << u << " missing from" << clause;
    EXPECT_EQ(clause.find(name), clause.rfind(name)) << u << " twice in" << clause;
  }
  EXPECT_EQ(clause.find("System"), std::string::npos) << clause;

  const std::string text = FormFileText(Dir / "Unit1.dfm");
  EXPECT_EQ(text.rfind("object Form1: TForm1\r\n", 0), 0u) << text;
  EXPECT_EQ(ReadFileBytes((Dir / "Unit1.dfm").string()).substr(3, 7), std::string("TFORM1\0", 7));
}

TEST_F(LoadSaveTest, FailedSaveLeavesTheOldFileAndTheDesignModified) {
  fs::path target = Dir / "Keep.dfm";
  WriteFormFile(target, kForm7);
  std::string before = FormFileText(target);
  fs::permissions(Dir, fs::perms::owner_read | fs::perms::owner_exec);
  bool writable = ::access(Dir.c_str(), W_OK) == 0;  // root writes anyway
  if (!writable) {
    EXPECT_THROW(Engine->WriteUnits(target.string(), false), Exception);
    EXPECT_TRUE(Engine->FModified);
    EXPECT_EQ(Engine->FFileName, "Form1.DFM");
  }
  fs::permissions(Dir, fs::perms::owner_all);
  EXPECT_EQ(FormFileText(target), before);
  // A path in a folder that does not exist fails the same way, for every user.
  EXPECT_THROW(Engine->WriteUnits((Dir / "missing" / "X.dfm").string(), false), Exception);
  EXPECT_TRUE(Engine->FModified);
  EXPECT_FALSE(Engine->FHasFileName);
}

TEST_F(LoadSaveTest, AFileThatIsNoFormFileOpensNoDesign) {
  fs::path junk = Dir / "junk.dfm";
  TMemoryStream s;
  s.WriteBuffer("not a form", 10);
  s.SaveToFile(junk.string());
  EXPECT_THROW(Designer->OpenForm(junk.string()), Exception);
  EXPECT_EQ(Designer->FDesignerWindow->DesignerCount(), 1);
  EXPECT_THROW(Designer->OpenForm((Dir / "none.dfm").string()), Exception);
  EXPECT_EQ(Designer->FDesignerWindow->DesignerCount(), 1);
}
