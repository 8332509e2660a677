// Event rows: a handler name typed into OnClick is kept by the design, offered to other events
// of the same type, renamed everywhere at once, and saved into the form file and the unit.
#include <unistd.h>

#include <filesystem>

#include "InspectorFixture.h"
#include "Windows.h"

namespace {

namespace fs = std::filesystem;

std::string FileText(const fs::path& path, bool formFile) {
  TMemoryStream in, out;
  in.LoadFromFile(path.string());
  if (!formFile) return std::string(reinterpret_cast<const char*>(in.Memory()), in.GetSize());
  ObjectResourceToText(&in, &out);
  return std::string(reinterpret_cast<const char*>(out.Memory()), out.GetSize());
}

size_t Occurrences(const std::string& text, const std::string& part) {
  size_t n = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

class InspectorEventTest : public InspectorTest {
 protected:
  void SetUp() override {
    InspectorTest::SetUp();
    Inspector->SetTypeKinds(Designer->GetTypeKinds() | TypeKindBit(tkMethod));
    Dir = fs::temp_directory_path() / ("kvobjins-" + std::to_string(::getpid()));
    fs::create_directories(Dir);
  }
  void TearDown() override {
    InspectorTest::TearDown();
    fs::remove_all(Dir);
  }
  // Types the text into the drop-down editor of the current row and presses Enter.
  void TypeInList(const std::string& text) {
    Window->ValueList->SetFocus();
    Window->ValueList->SetText(text);
    Window->ValueListChange(nullptr);
    Key(VK_RETURN);
  }
  std::string Handler(TButton* b) { return TObject::MethodName(b->OnClick.Method()); }
  fs::path Dir;
};

}  // namespace

TEST_F(InspectorEventTest, ATypedHandlerIsKeptSharedRenamedAndSaved) {
  auto* one = Add<TButton>("Button1");
  auto* two = Add<TButton>("Button2", 8, 60);
  Select({one});
  ASSERT_TRUE(GoTo("OnClick"));
  ASSERT_TRUE(Window->ValueList->GetVisible());
  TypeInList("Button1Click");
  EXPECT_TRUE(Boxes.empty());
  EXPECT_EQ(Handler(one), "Button1Click");
  EXPECT_EQ(Cell(1, RowOf("OnClick")), "Button1Click");
  one->OnClick(one);  // a name only: the host runs no code of the design

  // The second button's list offers the handler; picking it shares it.
  Select({two});
  ASSERT_TRUE(GoTo("OnClick"));
  Window->ValueListDropDown(nullptr);
  TStrings* items = Window->ValueList->GetItems();
  ASSERT_EQ(items->Count(), 1);
  EXPECT_EQ(items->Get(0), "Button1Click");
  Window->ValueList->SetItemIndex(0);
  Window->ValueListClick(nullptr);
  EXPECT_EQ(Handler(two), "Button1Click");

  // A new name for a handler in use renames it for every event that shares it; an invalid one
  // is refused.
  TypeInList("Clicked");
  EXPECT_EQ(Handler(one), "Clicked");
  EXPECT_EQ(Handler(two), "Clicked");
  Boxes.clear();
  TypeInList("9lives");
  EXPECT_EQ(Boxes.size(), 1u);
  EXPECT_EQ(Handler(two), "Clicked");

  Engine->WriteUnits((Dir / "Unit1.pas").string(), true);
  const std::string form = FileText(Dir / "Unit1.dfm", true);
  EXPECT_EQ(Occurrences(form, "OnClick = Clicked"), 2u) << form;
  const std::string unit = FileText(Dir / "Unit1.pas", false);
  // Components inserted after the design began are declared too.
  EXPECT_NE(unit.find("    Button1: TButton;\r\n    Button2: TButton;\r\n"), std::string::npos) << unit;
  EXPECT_EQ(Occurrences(unit, "    procedure Clicked(Sender: TObject);\r\n"), 1u) << unit;
  EXPECT_NE(unit.find(".Clicked(Sender: TObject);\r\nbegin\r\n  {}\r\nend;\r\n"), std::string::npos) << unit;

  // Clearing an event takes it out of the file.
  Select({one});
  ASSERT_TRUE(GoTo("OnClick"));
  TypeInList("");
  EXPECT_FALSE(one->OnClick);
  Engine->WriteUnits((Dir / "Unit1.pas").string(), true);
  EXPECT_EQ(Occurrences(FileText(Dir / "Unit1.dfm", true), "OnClick = Clicked"), 1u);
}
