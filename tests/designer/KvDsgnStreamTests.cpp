// Loading form files into a design and saving designs as form files and units.
#include <gtest/gtest.h>

#include <filesystem>

#include "KvDsgn.h"
#include "StdReg.h"

namespace fs = std::filesystem;

namespace {

std::string FileText(const fs::path& file) {
  TMemoryStream in, out;
  in.LoadFromFile(file.string());
  ObjectResourceToText(&in, &out);
  return std::string(reinterpret_cast<const char*>(out.Memory()), static_cast<size_t>(out.GetSize()));
}

// A temporary folder per test, and designs opened from form files written into it as text.
class DesignStreamTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterStandardClasses();
    Dir = fs::temp_directory_path() / ("kvdsgn-stream-" + std::to_string(::getpid()) + "-" +
                                       ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(Dir);
  }
  void TearDown() override {
    Design.reset();
    std::error_code ec;
    fs::remove_all(Dir, ec);
  }

  fs::path WriteForm(const std::string& name, const std::string& text) {
    TMemoryStream in, out;
    in.Write(text.data(), static_cast<int64_t>(text.size()));
    in.SetPosition(0);
    ObjectTextToResource(&in, &out);
    out.SaveToFile((Dir / name).string());
    return Dir / name;
  }
  void Open(const fs::path& file) {
    Design = std::make_unique<TKFormDesigner>(nullptr, nullptr, file.string(), nullptr);
  }
  std::string Unit(const std::string& name) { return ReadFileBytes((Dir / name).string()); }

  fs::path Dir;
  std::unique_ptr<TKFormDesigner> Design;
};

const char* kForm2 = R"(object Form2: TForm2
  Caption = 'Second'
  OnCreate = FormCreate
  object Button1: TButton
    Left = 8
    Top = 8
    Caption = 'OK'
    OnClick = Button1Click
  end
  object Edit1: TEdit
    Left = 8
    Top = 40
    OnKeyPress = Edit1KeyPress
  end
end
)";

TEST_F(DesignStreamTest, HandlerNamesTheHostLacksSurviveLoadAndSave) {
  Open(WriteForm("Unit2.dfm", kForm2));
  auto* button = static_cast<TButton*>(Design->GetForm()->FindComponent("Button1"));
  ASSERT_NE(button, nullptr);
  // Nothing of the host to bind to: the event carries the handler's name only.
  EXPECT_EQ(TObject::MethodName(button->OnClick.Method()), "Button1Click");
  EXPECT_EQ(Design->ResName(), "TFORM2");
  Design->FModified = true;

  Design->WriteUnits((Dir / "Saved.dfm").string(), false);
  const std::string text = FileText(Dir / "Saved.dfm");
  EXPECT_NE(text.find("object Form2: TForm2\r\n"), std::string::npos) << text;
  EXPECT_NE(text.find("  OnCreate = FormCreate\r\n"), std::string::npos) << text;
  EXPECT_NE(text.find("    OnClick = Button1Click\r\n"), std::string::npos) << text;
  EXPECT_NE(text.find("    OnKeyPress = Edit1KeyPress\r\n"), std::string::npos) << text;
  EXPECT_FALSE(fs::exists(Dir / "Saved.pas"));
  EXPECT_TRUE(Design->FHasFileName);
  EXPECT_FALSE(Design->FModified);
  EXPECT_EQ(Design->FFileName, (Dir / "Saved.dfm").string());

  // A second save writes the same names again.
  Design->WriteUnits((Dir / "Again.dfm").string(), false);
  EXPECT_EQ(FileText(Dir / "Again.dfm"), text);
}

TEST_F(DesignStreamTest, UnitDeclaresTheFormItsFieldsAndItsHandlers) {
  Open(WriteForm("Unit2.dfm", kForm2));
  Design->WriteUnits((Dir / "Unit2.dfm").string(), true);
  EXPECT_EQ(Unit("Unit2.pas"),
            "unit Unit2;\r\n\r\ninterface\r\n\r\nuses\r\n"
            "  Messages, Windows, SysUtils, Classes, Graphics, Controls, Forms, Dialogs,\r\n  StdCtrls;\r\n\r\n"
            "type\r\n  TForm2 = class(TForm)\r\n    Button1: TButton;\r\n    Edit1: TEdit;\r\n"
            "    procedure FormCreate(Sender: TObject);\r\n"
            "    procedure Button1Click(Sender: TObject);\r\n"
            "    procedure Edit1KeyPress(Sender: TObject; var Key: Char);\r\n"
            "  private\r\n  protected\r\n  public\r\n  end;\r\n\r\nvar\r\n  Form2: TForm2;\r\n\r\n"
            "implementation\r\n\r\n{$R *.DFM}\r\n\r\n"
            "procedure TForm2.FormCreate(Sender: TObject);\r\nbegin\r\n  {}\r\nend;\r\n\r\n"
            "procedure TForm2.Button1Click(Sender: TObject);\r\nbegin\r\n  {}\r\nend;\r\n\r\n"
            "procedure TForm2.Edit1KeyPress(Sender: TObject; var Key: Char);\r\nbegin\r\n  {}\r\nend;\r\n\r\n"
            "end.\r\n");
}

TEST_F(DesignStreamTest, UnitOfAFormWithoutHandlersHasNoProcedures) {
  Open(WriteForm("Plain.dfm", "object Form5: TForm5\n  object Label1: TLabel\n  end\nend\n"));
  Design->WriteUnits((Dir / "Plain.dfm").string(), true);
  const std::string unit = Unit("Plain.pas");
  EXPECT_EQ(unit.find("procedure"), std::string::npos) << unit;
  EXPECT_NE(unit.find("    Label1: TLabel;\r\n  private\r\n"), std::string::npos) << unit;
  EXPECT_TRUE(unit.ends_with("implementation\r\n\r\n{$R *.DFM}\r\n\r\nend.\r\n")) << unit;
}

TEST_F(DesignStreamTest, UsesClauseBreaksAfterTheUnitThatPassesSeventyCharacters) {
  // The grid's unit and its base class's join the standard eight.
  Open(WriteForm("Grid.dfm", R"(object Form6: TForm6
  object DBGrid1: TDBGrid
    Columns = <
      item
        Title.Caption = 'Name'
      end>
  end
end
)"));
  Design->WriteUnits((Dir / "Grid.dfm").string(), true);
  EXPECT_NE(Unit("Grid.pas")
                .find("uses\r\n"
                      "  Messages, Windows, SysUtils, Classes, Graphics, Controls, Forms, Dialogs,\r\n"
                      "  Grids, DBGrids;\r\n\r\ntype\r\n"),
            std::string::npos)
      << Unit("Grid.pas");
}

TEST_F(DesignStreamTest, FileNamesLoseTheirExtensionFromTheFirstDotAndKeepItsCase) {
  Open(WriteForm("Unit2.dfm", kForm2));
  Design->WriteUnits((Dir / "Form3").string(), true);
  EXPECT_TRUE(fs::exists(Dir / "Form3.DFM"));
  EXPECT_TRUE(Unit("Form3.PAS").starts_with("unit Form3;\r\n"));
  Design->WriteUnits((Dir / "UNIT4.Dfm").string(), true);
  EXPECT_TRUE(fs::exists(Dir / "UNIT4.DFM"));
  EXPECT_TRUE(fs::exists(Dir / "UNIT4.PAS"));
  Design->WriteUnits((Dir / "my.form.dfm").string(), true);
  EXPECT_TRUE(fs::exists(Dir / "my.dfm"));
  EXPECT_TRUE(Unit("my.pas").starts_with("unit my;\r\n"));
  EXPECT_EQ(Design->FFileName, (Dir / "my.dfm").string());  // the file written
  // Saving under the name it was opened from replaces that file, whatever the file system.
  const std::string before = ReadFileBytes((Dir / "Unit2.dfm").string());
  Design->GetForm()->SetCaption("Changed");
  Design->WriteUnits((Dir / "Unit2.dfm").string(), false);
  EXPECT_NE(ReadFileBytes((Dir / "Unit2.dfm").string()), before);
}

TEST_F(DesignStreamTest, AHandlerSharedByEventsIsDeclaredOnce) {
  Open(WriteForm("Shared.dfm", R"(object Form7: TForm7
  object Button1: TButton
    OnClick = ButtonClick
  end
  object Button2: TButton
    OnClick = buttonclick
    OnEnter = Button2Enter
  end
end
)"));
  Design->WriteUnits((Dir / "Shared.dfm").string(), true);
  const std::string unit = Unit("Shared.pas");
  EXPECT_NE(
      unit.find("    procedure ButtonClick(Sender: TObject);\r\n    procedure Button2Enter(Sender: TObject);\r\n"),
      std::string::npos)
      << unit;
  EXPECT_EQ(unit.find("procedure TForm7.ButtonClick"), unit.rfind("procedure TForm7.ButtonClick")) << unit;
  EXPECT_EQ(unit.find("buttonclick"), std::string::npos) << unit;
  // Both events keep their handler in the form file.
  const std::string text = FileText(Dir / "Shared.dfm");
  EXPECT_NE(text.find("OnClick = ButtonClick"), std::string::npos) << text;
  EXPECT_NE(text.find("OnClick = buttonclick"), std::string::npos) << text;
}

TEST_F(DesignStreamTest, AFailedSaveKeepsTheOldFileAndTheDesignsState) {
  Open(WriteForm("Unit2.dfm", kForm2));
  Design->WriteUnits((Dir / "Old.dfm").string(), false);
  const std::string old = ReadFileBytes((Dir / "Old.dfm").string());
  Design->GetForm()->FindComponent("Button1")->SetName("Renamed");
  Design->FModified = true;
  Design->FHasFileName = false;
  // The unit's place is taken by a folder: the save fails before the form file is replaced.
  fs::create_directory(Dir / "Old.pas");
  EXPECT_THROW(Design->WriteUnits((Dir / "Old.dfm").string(), true), EStreamError);
  EXPECT_EQ(ReadFileBytes((Dir / "Old.dfm").string()), old);
  EXPECT_TRUE(Design->FModified);
  EXPECT_FALSE(Design->FHasFileName);
  EXPECT_EQ(Design->FFileName, (Dir / "Old.dfm").string());  // from the save before
  for (const auto& e : fs::directory_iterator(Dir))          // no half-written leftovers
    EXPECT_TRUE(e.path().filename() == "Unit2.dfm" || e.path().stem() == "Old") << e.path();
}

TEST_F(DesignStreamTest, ResourceNameIsCutAtSeventySixCharacters) {
  const std::string longName = "T" + std::string(99, 'F');
  // The platform's writer keeps names to 63 characters; a file may hold a longer one.
  std::string bytes = ReadFileBytes(WriteForm("Long.dfm", "object LongForm: TLongForm\nend\n").string());
  ASSERT_EQ(bytes.substr(3, 10), std::string("TLONGFORM\0", 10));
  bytes.replace(3, 9, longName);
  WriteFileAtomic((Dir / "Long.dfm").string(), bytes);
  Open(Dir / "Long.dfm");
  EXPECT_EQ(Design->ResName(), longName.substr(0, 76));
  EXPECT_EQ(Design->GetForm()->GetName(), "LongForm");
}

}  // namespace
