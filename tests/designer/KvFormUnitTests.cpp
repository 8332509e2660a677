// The unit source of a form, built from the lists a save gathers.
#include <gtest/gtest.h>

#include <memory>

#include "KvFormUnit.h"

namespace {

// A string list from lines separated by '\n'.
std::unique_ptr<TStringList> Lines(const std::string& text) {
  auto list = std::make_unique<TStringList>();
  list->SetText(text);
  return list;
}

std::string UnitWith(const std::string& units, const std::string& fields = "", const std::string& events = "") {
  return FormUnitText("Unit1", "TForm1", *Lines(units), *Lines(fields), *Lines(events));
}

// The lines between "uses" and the empty line after the clause, each ended by CR LF.
std::string UsesClause(const std::string& unit) {
  const size_t start = unit.find("uses\r\n");
  if (start == std::string::npos) return "";
  return unit.substr(start + 6, unit.find("\r\n\r\n", start) + 2 - start - 6);
}

TEST(FormUnitText, AnEmptyFormIsACompleteUnitWithCrLfLineEnds) {
  EXPECT_EQ(FormUnitText("Blank", "TForm", TStringList(), TStringList(), TStringList()),
            "unit Blank;\r\n\r\ninterface\r\n\r\n"
            "type\r\n  TForm = class(TForm)\r\n  private\r\n  protected\r\n  public\r\n  end;\r\n\r\n"
            "var\r\n  Form: TForm;\r\n\r\n"
            "implementation\r\n\r\n{$R *.DFM}\r\n\r\nend.\r\n");
}

TEST(FormUnitText, UsesClauseBreaksAfterTheUnitThatTakesALinePastSeventyCharacters) {
  // "  " + 6 names of 9 letters + ", " each = 68; the seventh name takes the line to 79.
  std::string units;
  for (int i = 0; i < 7; ++i) units += "Abcdefghi\n";
  const std::string fullLine = "  Abcdefghi, Abcdefghi, Abcdefghi, Abcdefghi, Abcdefghi, Abcdefghi, Abcdefghi,\r\n";
  EXPECT_EQ(UsesClause(UnitWith(units + "Last\n")), fullLine + "  Last;\r\n");
  // A line of exactly 70 characters (with its ", ") stays open.
  EXPECT_EQ(UsesClause(UnitWith("Abcdefghijk\n" + units.substr(0, 50) + "X\n")),
            "  Abcdefghijk, Abcdefghi, Abcdefghi, Abcdefghi, Abcdefghi, Abcdefghi, X;\r\n");
  // The last name never leaves an empty line behind, however long its line.
  EXPECT_EQ(UsesClause(UnitWith(units)),
            "  Abcdefghi, Abcdefghi, Abcdefghi, Abcdefghi, Abcdefghi, Abcdefghi, Abcdefghi;\r\n");
  // Long lists wrap more than once.
  EXPECT_EQ(UsesClause(UnitWith(units + units + "Z\n")), fullLine + fullLine + "  Z;\r\n");
}

TEST(FormUnitText, WithoutUnitsThereIsNoUsesClause) {
  const std::string unit = UnitWith("");
  EXPECT_EQ(unit.find("uses"), std::string::npos) << unit;
  EXPECT_NE(unit.find("interface\r\n\r\ntype\r\n"), std::string::npos) << unit;
}

TEST(FormUnitText, HandlersAreDeclaredOnceInOrderOfFirstUseWithEmptyBodies) {
  const std::string unit = UnitWith("Forms\n", "    Button1: TButton;\n    Edit1: TEdit;\n",
                                    "[TForm1]\nOnCreate = FormCreate(Sender: TObject)\n"
                                    "[Button1]\nOnClick = Click(Sender: TObject)\n"
                                    "[Edit1]\nOnKeyPress = Edit1KeyPress(Sender: TObject; var Key: Char)\n"
                                    "OnClick = CLICK(Sender: TObject)\n");
  EXPECT_NE(unit.find("  TForm1 = class(TForm)\r\n    Button1: TButton;\r\n    Edit1: TEdit;\r\n"
                      "    procedure FormCreate(Sender: TObject);\r\n"
                      "    procedure Click(Sender: TObject);\r\n"
                      "    procedure Edit1KeyPress(Sender: TObject; var Key: Char);\r\n  private\r\n"),
            std::string::npos)
      << unit;
  EXPECT_TRUE(
      unit.ends_with("{$R *.DFM}\r\n\r\n"
                     "procedure TForm1.FormCreate(Sender: TObject);\r\nbegin\r\n  {}\r\nend;\r\n\r\n"
                     "procedure TForm1.Click(Sender: TObject);\r\nbegin\r\n  {}\r\nend;\r\n\r\n"
                     "procedure TForm1.Edit1KeyPress(Sender: TObject; var Key: Char);\r\n"
                     "begin\r\n  {}\r\nend;\r\n\r\nend.\r\n"))
      << unit;
  EXPECT_EQ(unit.find("CLICK"), std::string::npos) << unit;
  EXPECT_EQ(unit.find("[Button1]"), std::string::npos) << unit;
}

TEST(FormUnitText, TheFormVariableIsTheClassNameWithoutItsFirstCharacter) {
  EXPECT_NE(FormUnitText("U", "XMain", TStringList(), TStringList(), TStringList()).find("var\r\n  Main: XMain;\r\n"),
            std::string::npos);
  EXPECT_NE(FormUnitText("U", "", TStringList(), TStringList(), TStringList()).find("var\r\n  : ;\r\n"),
            std::string::npos);
}

}  // namespace
