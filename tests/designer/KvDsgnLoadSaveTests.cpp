// A form file opened in a design and saved again: handler names survive although no code is
// bound to them, and the unit declares the form class with its fields and empty handlers.
#include <unistd.h>

#include <filesystem>

#include "DesignerFixture.h"

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
  EXPECT_EQ(design->FFileName, saved.string());

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
