// The string list editor: the property editor's row and dialog, the window's line counter and
// its load and save commands, driven through the real modal window.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "Consts.h"
#include "CountingDesigner.h"
#include "KvStrEdt.h"
#include "ModalUser.h"
#include "TypInfo.h"

namespace fs = std::filesystem;

namespace {

std::vector<std::string> LinesOf(const TStrings* s) {
  std::vector<std::string> r;
  for (int i = 0; i < s->Count(); ++i) r.push_back(s->Get(i));
  return r;
}

void SetLines(TStrings* s, const std::vector<std::string>& lines) {
  s->Clear();
  for (const auto& l : lines) s->Add(l);
}

std::string ReadFile(const fs::path& p) {
  std::ifstream f(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(f), {}};
}

class KvStrEdtTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Dir = fs::temp_directory_path() /
          ("kvstredt-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(Dir);
    fs::create_directories(Dir);
    Owner = std::make_unique<TForm>(nullptr);
    Memo = new TMemo(Owner.get());
    Memo->SetParent(Owner.get());
    ListBox = new TListBox(Owner.get());
    ListBox->SetParent(Owner.get());
  }
  void TearDown() override { fs::remove_all(Dir); }

  // The property editor of an inspector row for the list property of each component given.
  std::unique_ptr<TStringsProperty> Row(std::vector<std::pair<TPersistent*, const char*>> properties) {
    auto ed = std::make_unique<TStringsProperty>();
    ed->Setup(&Designer, static_cast<int>(properties.size()));
    for (size_t i = 0; i < properties.size(); ++i) {
      auto [component, name] = properties[i];
      ed->SetPropEntry(static_cast<int>(i), component, GetPropInfo(component, name));
    }
    return ed;
  }

  TfmKvStrEdt* Window() const { return fmKvStrEdt; }

  fs::path Dir;
  TCountingDesigner Designer;
  std::unique_ptr<TForm> Owner;
  TMemo* Memo = nullptr;
  TListBox* ListBox = nullptr;
  TModalUser User{[] { return static_cast<TCustomForm*>(fmKvStrEdt); }};
};

TEST_F(KvStrEdtTest, TheRowReadsTStringsAndOnlyAnEmptyTextReachesTheSetter) {
  auto row = Row({{Memo, "Lines"}});
  EXPECT_EQ(row->GetValue(), "[TStrings]");
  SetLines(Memo->GetLines(), {"a", "b"});
  SetLines(ListBox->GetItems(), {"c"});
  EXPECT_EQ(row->GetValue(), "[TStrings]");
  EXPECT_EQ(Row({{Memo, "Lines"}, {ListBox, "Items"}})->GetValue(), "[TStrings]");
  EXPECT_EQ(row->GetAttributes(), TPropertyAttributes{paDialog});
  row->SetValue("ignored text");
  // nil reaches the setter, which refuses it: the lines stay.
  try {
    row->SetValue("");
    FAIL() << "a memo's lines cannot become nil";
  } catch (const EConvertError& e) {
    EXPECT_EQ(std::string(e.what()).rfind("Cannot assign a nil to a ", 0), 0u) << e.what();
  }
  EXPECT_EQ(LinesOf(Memo->GetLines()), (std::vector<std::string>{"a", "b"}));
}

TEST_F(KvStrEdtTest, OkCopiesTheTypedLinesToEverySelectedComponent) {
  SetLines(Memo->GetLines(), {"one", "two"});
  std::string counterAtStart, counterAfterTyping;
  bool codeItemAtStart = false;
  User.Then([&] {
        counterAtStart = Window()->LineCount->GetCaption();
        codeItemAtStart = Window()->CodeEditorItem->GetEnabled();
        EXPECT_EQ(LinesOf(Window()->Memo->GetLines()), (std::vector<std::string>{"one", "two"}));
        Window()->Memo->SetText("x\r\ny\r\nz");
        counterAfterTyping = Window()->LineCount->GetCaption();
      })
      .Then([&] { TModalUser::Click(Window()->OKButton); });
  User.Start();
  Row({{Memo, "Lines"}, {ListBox, "Items"}})->Edit();
  EXPECT_EQ(User.StepsRun, 2);
  EXPECT_EQ(counterAtStart, "2 lines") << "counted as soon as the dialog shows";
  EXPECT_TRUE(codeItemAtStart);
  EXPECT_EQ(counterAfterTyping, "3 lines");
  const std::vector<std::string> typed{"x", "y", "z"};
  EXPECT_EQ(LinesOf(Memo->GetLines()), typed);
  EXPECT_EQ(LinesOf(ListBox->GetItems()), typed);
  EXPECT_EQ(Designer.ModifiedCount, 1);
  EXPECT_EQ(fmKvStrEdt, nullptr) << "the window goes with its editor";
}

TEST_F(KvStrEdtTest, CancelEscapeAndTheCloseBoxLeaveTheListAlone) {
  const std::vector<std::string> before{"keep", "these"};
  for (int way = 0; way < 3; ++way) {
    SetLines(Memo->GetLines(), before);
    TModalUser user([] { return static_cast<TCustomForm*>(fmKvStrEdt); });
    TModalResult closedWith = mrNone;
    user.Then([&] { Window()->Memo->SetText("changed"); }).Then([&] {
      if (way == 0) TModalUser::Click(Window()->CancelButton);
      if (way == 1) Window()->OKButton->Perform(WM_KEYDOWN, VK_ESCAPE, 0);
      if (way == 2) Window()->Close();
      closedWith = Window()->GetModalResult();
    });
    user.Start();
    Row({{Memo, "Lines"}})->Edit();
    EXPECT_EQ(closedWith, mrCancel) << way;
    EXPECT_EQ(LinesOf(Memo->GetLines()), before) << way;
  }
  EXPECT_EQ(Designer.ModifiedCount, 0);
}

TEST_F(KvStrEdtTest, AnEmptyListCountsNoLinesAndOffersNoCodeEditorNorSave) {
  std::string counter;
  bool codeItem = true;
  User.Then([&] {
    counter = Window()->LineCount->GetCaption();
    codeItem = Window()->CodeEditorItem->GetEnabled();
    Window()->SaveItem->Click();
  });
  User.Start();
  TStringsEditor editor(nullptr);
  EXPECT_FALSE(editor.Execute());
  EXPECT_EQ(counter, "0 lines");
  EXPECT_FALSE(codeItem);
  EXPECT_TRUE(User.FileDialogs.empty()) << "saving nothing shows no dialog";
}

TEST_F(KvStrEdtTest, SavedLinesLoadBackAndTheDialogsCarryTheirTitlesAndFilter) {
  const fs::path file = Dir / "list.txt";
  User.Files = {file.string(), file.string()};
  std::vector<std::string> loaded;
  std::string counterAfterLoad;
  bool codeItemAfterLoad = false;
  User.Then([&] {
        Window()->Memo->SetText("alpha\r\nbeta gamma\r\n\r\ndelta");
        Window()->SaveItem->Click();
        Window()->Memo->Clear();
        Window()->LoadItem->Click();
        loaded = LinesOf(Window()->Memo->GetLines());
        counterAfterLoad = Window()->LineCount->GetCaption();
        codeItemAfterLoad = Window()->CodeEditorItem->GetEnabled();
        Window()->CodeEditorItem->Click();  // does nothing
      })
      .Then([&] { TModalUser::Click(Window()->OKButton); });
  User.Start();
  TStringsEditor editor(nullptr);
  EXPECT_TRUE(editor.Execute());
  EXPECT_EQ(ReadFile(file), "alpha\r\nbeta gamma\r\n\r\ndelta\r\n");
  const std::vector<std::string> lines{"alpha", "beta gamma", "", "delta"};
  EXPECT_EQ(loaded, lines);
  EXPECT_EQ(LinesOf(editor.GetStrings()), lines);
  EXPECT_EQ(counterAfterLoad, "4 lines");
  EXPECT_TRUE(codeItemAfterLoad);
  ASSERT_EQ(User.FileDialogs.size(), 2u);
  const std::string filter =
      "Text files (*.TXT)|*.TXT|Config files (*.SYS;*.INI)|*.SYS;*.INI|Batch files (*.BAT)|*.BAT|All files (*.*)|*.*";
  EXPECT_EQ(User.FileDialogs[0].Title, "Save String list");
  EXPECT_EQ(User.FileDialogs[1].Title, "Load String list");
  EXPECT_EQ(User.FileDialogs[0].Filter, filter);
  EXPECT_EQ(User.FileDialogs[1].Filter, filter);
  EXPECT_EQ(User.FileDialogs[1].DefaultExt, "TXT");
  EXPECT_EQ(User.FileDialogs[1].Options, (TOpenOptions{ofHideReadOnly, ofShowHelp, ofFileMustExist}));
  EXPECT_TRUE(User.FileDialogs[0].Options.Contains(ofOverwritePrompt));
  EXPECT_TRUE(User.Boxes.empty());
}

TEST_F(KvStrEdtTest, SavingOverAnExistingFileAsksFirstAndNoKeepsIt) {
  const fs::path file = Dir / "precious.txt";
  std::ofstream(file) << "precious\r\n";
  User.Files = {file.string()};
  User.BoxAnswer = IDNO;
  User.Then([&] { Window()->SaveItem->Click(); }).Then([&] { TModalUser::Click(Window()->OKButton); });
  User.Start();
  TStringsEditor editor(nullptr);
  TStringList lines;
  lines.Add("new");
  editor.SetStrings(&lines);
  EXPECT_TRUE(editor.Execute());
  ASSERT_EQ(User.Boxes.size(), 1u);
  EXPECT_EQ(User.Boxes[0], Format(SFileExistsReplace, file.string()));
  EXPECT_EQ(ReadFile(file), "precious\r\n");
}

TEST_F(KvStrEdtTest, AFileThatCannotBeReadOrWrittenIsReportedAndTheMemoKeepsItsLines) {
  const fs::path gone = Dir / "gone.txt";
  const fs::path folder = Dir / "folder.txt";
  fs::create_directories(folder);
  std::ofstream(gone) << "there when chosen\r\n";
  User.Files = {gone.string(), folder.string()};
  User.BoxAnswer = IDYES;
  std::vector<std::string> afterLoad, afterSave;
  User.Then([&] {
        // The file goes between choosing it and reading it.
        Window()->OpenDialog->OnClose = [&](TObject*) { fs::remove(gone); };
        Window()->LoadItem->Click();
      })
      .Then([&] {
        afterLoad = LinesOf(Window()->Memo->GetLines());
        Window()->SaveItem->Click();
      })
      .Then([&] {
        afterSave = LinesOf(Window()->Memo->GetLines());
        TModalUser::Click(Window()->OKButton);
      });
  User.Start();
  TStringsEditor editor(nullptr);
  TStringList lines;
  SetLines(&lines, {"mine", "ours"});
  editor.SetStrings(&lines);
  EXPECT_TRUE(editor.Execute());
  EXPECT_EQ(afterLoad, (std::vector<std::string>{"mine", "ours"}));
  EXPECT_EQ(afterSave, (std::vector<std::string>{"mine", "ours"}));
  EXPECT_EQ(LinesOf(editor.GetStrings()), (std::vector<std::string>{"mine", "ours"}));
  ASSERT_GE(User.Boxes.size(), 2u);
  EXPECT_TRUE(User.Boxes.front().starts_with(Format(SFOpenError, gone.string()))) << User.Boxes.front();
  EXPECT_TRUE(User.Boxes.back().starts_with(Format(SFCreateError, folder.string()))) << User.Boxes.back();
  EXPECT_TRUE(fs::is_directory(folder));
}

// A component whose list property is unset, as a host's own class may leave it.
class TNilLines : public TComponent {
  KV_CLASS(TNilLines, TComponent)
 public:
  using TComponent::TComponent;
  TStrings* GetLines() const { return nullptr; }
  void SetLines(TStrings*) { ADD_FAILURE() << "nothing to write"; }
};

}  // namespace

KV_IMPLEMENT_CLASS(TNilLines, "KvStrEdtTests") { b.Prop("Lines", &TNilLines::GetLines, &TNilLines::SetLines); }

namespace {

TEST_F(KvStrEdtTest, AnUnsetListRaisesTheAssignErrorWithoutShowingTheDialog) {
  TNilLines holder(nullptr);
  User.Then([&] { ADD_FAILURE() << "no dialog for an unset list"; });
  User.Start();
  auto row = Row({{&holder, "Lines"}});
  EXPECT_EQ(row->GetValue(), "[TStrings]");
  try {
    row->Edit();
    FAIL() << "no list to copy";
  } catch (const EConvertError& e) {
    EXPECT_STREQ(e.what(), "Cannot assign a nil to a TStringList");
  }
  EXPECT_EQ(fmKvStrEdt, nullptr);
}

}  // namespace
