// The Win 3.1 file controls over a real temporary directory tree: what they list, how linked
// controls follow each other, bad input, and streaming.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>

#include "FileCtrl.h"
#include "StdReg.h"
#include "StreamCheck.h"

namespace fs = std::filesystem;

namespace {

struct FileCtrlFixture : ::testing::Test {
  void SetUp() override {
    RegisterStandardClasses();
    root =
        fs::temp_directory_path() / ("kvfilectrl_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                                     "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(root);
    fs::create_directories(root / "beta" / "inner");
    fs::create_directories(root / "Alpha");
    fs::create_directories(root / ".hidden");
    for (const char* f : {"readme.TXT", "notes.txt", "main.pas", "main.dfm", "noext", ".dotfile"}) Touch(root / f);
    Touch(root / "beta" / "b.txt");
    rootPath = fs::canonical(root).string();
    form = std::make_unique<TForm>(nullptr);
    form->SetBounds(0, 0, 500, 400);
  }
  void TearDown() override {
    form.reset();
    fs::remove_all(root);
  }
  static void Touch(const fs::path& p) { std::ofstream(p) << "x"; }
  template <class T>
  T* Add(const char* name) {
    auto* c = new T(form.get());
    c->SetName(name);
    if constexpr (std::is_base_of_v<TControl, T>) c->SetParent(form.get());
    return c;
  }
  static std::vector<std::string> Items(TStrings* s) {
    std::vector<std::string> v;
    for (int i = 0; i < s->Count(); ++i) v.push_back(s->Get(i));
    return v;
  }
  fs::path root;
  std::string rootPath;
  std::unique_ptr<TForm> form;
};

// The path from "/" down to the directory, then its visible subdirectories sorted without case.
TEST_F(FileCtrlFixture, DirectoryListShowsPathThenSubdirectories) {
  auto* dirs = Add<TDirectoryListBox>("DirectoryListBox1");
  dirs->SetDirectory(rootPath);
  EXPECT_EQ(dirs->GetDirectory(), rootPath);
  std::vector<std::string> items = Items(dirs->GetItems());
  std::vector<std::string> expected{"/"};
  for (const auto& part : fs::path(rootPath).relative_path()) expected.push_back(part.string());
  const int current = static_cast<int>(expected.size()) - 1;
  expected.push_back("Alpha");
  expected.push_back("beta");
  EXPECT_EQ(items, expected);
  EXPECT_EQ(dirs->CurrentIndex(), current);
  EXPECT_EQ(dirs->GetItemIndex(), current);
  EXPECT_EQ(dirs->GetItemPath(0), "/");
  EXPECT_EQ(dirs->GetItemPath(current), rootPath);
  EXPECT_EQ(dirs->GetItemPath(current + 2), rootPath + "/beta");
  EXPECT_EQ(dirs->GetItemPath(current - 1), fs::path(rootPath).parent_path().string());
  EXPECT_THROW(dirs->GetItemPath(static_cast<int>(items.size())), EListError);

  // Opening a subdirectory, then going up through the path; relative paths start from the current one.
  dirs->SetItemIndex(current + 2);
  dirs->OpenCurrent();
  EXPECT_EQ(dirs->GetDirectory(), rootPath + "/beta");
  EXPECT_EQ(dirs->GetItems()->Get(dirs->GetItems()->Count() - 1), "inner");
  dirs->SetDirectory("inner/..");
  EXPECT_EQ(dirs->GetDirectory(), rootPath + "/beta");
  dirs->SetDirectory("/");
  EXPECT_EQ(dirs->GetItems()->Get(0), "/");
  EXPECT_EQ(dirs->CurrentIndex(), 0);
  EXPECT_EQ(dirs->GetItemPath(1), "/" + dirs->GetItems()->Get(1));
}

TEST_F(FileCtrlFixture, BadDirectoriesRaiseAndKeepTheCurrentOne) {
  auto* dirs = Add<TDirectoryListBox>("DirectoryListBox1");
  auto* files = Add<TFileListBox>("FileListBox1");
  dirs->SetDirectory(rootPath);
  files->SetDirectory(rootPath);
  int changes = 0;
  dirs->OnChange = [&](TObject*) { ++changes; };
  EXPECT_THROW(dirs->SetDirectory(rootPath + "/missing"), EInOutError);
  EXPECT_THROW(dirs->SetDirectory(rootPath + "/main.pas"), EInOutError);  // a file, not a directory
  EXPECT_THROW(files->SetDirectory(rootPath + "/missing"), EInOutError);
  EXPECT_THROW(dirs->SetDrive('c'), EInOutError);
  EXPECT_EQ(dirs->GetDirectory(), rootPath);
  EXPECT_EQ(files->GetDirectory(), rootPath);
  EXPECT_EQ(changes, 0);
  // Setting the same directory again is no change.
  dirs->SetDirectory(rootPath + "/");
  EXPECT_EQ(changes, 0);
}

TEST_F(FileCtrlFixture, FileListFiltersByMaskAndFileType) {
  auto* files = Add<TFileListBox>("FileListBox1");
  files->SetDirectory(rootPath);
  // *.* is every plain file, with or without an extension; hidden ones and directories stay out.
  EXPECT_EQ(Items(files->GetItems()),
            (std::vector<std::string>{"main.dfm", "main.pas", "noext", "notes.txt", "readme.TXT"}));
  files->SetMask("*.txt;*.PAS");
  EXPECT_EQ(Items(files->GetItems()), (std::vector<std::string>{"main.pas", "notes.txt", "readme.TXT"}));
  files->SetMask("ma?n.*");
  EXPECT_EQ(Items(files->GetItems()), (std::vector<std::string>{"main.dfm", "main.pas"}));
  files->SetMask("noext.*");
  EXPECT_EQ(Items(files->GetItems()), (std::vector<std::string>{"noext"}));
  files->SetMask("");
  EXPECT_EQ(files->GetMask(), "*.*");

  files->SetFileType(TFileType{ftNormal, ftDirectory, ftHidden});
  std::vector<std::string> all = Items(files->GetItems());
  EXPECT_NE(std::find(all.begin(), all.end(), "[beta]"), all.end());
  EXPECT_NE(std::find(all.begin(), all.end(), "[.hidden]"), all.end());
  EXPECT_NE(std::find(all.begin(), all.end(), ".dotfile"), all.end());
  // Directories only.
  files->SetFileType(TFileType{ftDirectory});
  EXPECT_EQ(Items(files->GetItems()), (std::vector<std::string>{"[..]", "[Alpha]", "[beta]"}));
  files->SetItemIndex(2);
  EXPECT_EQ(files->GetFileName(), rootPath + "/beta");
  files->SetItemIndex(0);
  EXPECT_EQ(files->GetFileName(), rootPath + "/..");
}

TEST_F(FileCtrlFixture, FileNameSelectsAndFillsTheFileEdit) {
  auto* files = Add<TFileListBox>("FileListBox1");
  auto* edit = Add<TEdit>("Edit1");
  files->SetDirectory(rootPath);
  files->SetFileEdit(edit);
  EXPECT_EQ(edit->GetText(), "*.*");  // nothing selected: the mask
  int changes = 0;
  files->OnChange = [&](TObject*) { ++changes; };
  files->SetFileName("notes.txt");
  EXPECT_EQ(files->GetFileName(), rootPath + "/notes.txt");
  EXPECT_EQ(edit->GetText(), "notes.txt");
  EXPECT_GE(changes, 1);
  // A full path elsewhere changes the directory first.
  files->SetFileName(rootPath + "/beta/b.txt");
  EXPECT_EQ(files->GetDirectory(), rootPath + "/beta");
  EXPECT_EQ(files->GetFileName(), rootPath + "/beta/b.txt");
  // A name that is not there selects nothing.
  files->SetFileName("nothing.here");
  EXPECT_EQ(files->GetItemIndex(), -1);
  EXPECT_EQ(files->GetFileName(), "");
  EXPECT_EQ(edit->GetText(), "*.*");
  // Multi-selection keeps one file selected by FileName.
  files->SetMultiSelect(true);
  files->SetFileName("b.txt");
  EXPECT_EQ(files->SelCount(), 1);
  // The edit going away leaves no dangling link.
  delete edit;
  EXPECT_EQ(files->GetFileEdit(), nullptr);
  files->SetFileName("b.txt");
}

// Drive -> directory list -> file list and label; filter -> file list.
TEST_F(FileCtrlFixture, LinkedControlsFollowEachOther) {
  auto* drive = Add<TDriveComboBox>("DriveComboBox1");
  auto* dirs = Add<TDirectoryListBox>("DirectoryListBox1");
  auto* files = Add<TFileListBox>("FileListBox1");
  auto* filter = Add<TFilterComboBox>("FilterComboBox1");
  auto* label = Add<TLabel>("Label1");
  dirs->SetDirectory(rootPath);
  dirs->SetFileList(files);
  dirs->SetDirLabel(label);
  filter->SetFileList(files);
  drive->SetDirList(dirs);
  EXPECT_EQ(files->GetDirectory(), rootPath);
  EXPECT_EQ(label->GetCaption(), MinimizeName(rootPath, label->Canvas(), dirs->GetWidth()));

  dirs->SetDirectory("beta");
  EXPECT_EQ(files->GetDirectory(), rootPath + "/beta");
  EXPECT_EQ(Items(files->GetItems()), std::vector<std::string>{"b.txt"});
  EXPECT_NE(label->GetCaption().find("beta"), std::string::npos);

  filter->SetFilter("Pascal (*.pas)|*.pas|Text|*.txt;*.TXT|All|*.*");
  EXPECT_EQ(Items(filter->GetItems()), (std::vector<std::string>{"Pascal (*.pas)", "Text", "All"}));
  EXPECT_EQ(filter->GetMask(), "*.pas");
  EXPECT_EQ(files->GetMask(), "*.pas");
  EXPECT_EQ(files->GetItems()->Count(), 0);
  filter->SetItemIndex(1);
  EXPECT_EQ(filter->GetMask(), "*.txt;*.TXT");

  // The one drive of this system: the root.
  EXPECT_EQ(Items(drive->GetItems()), std::vector<std::string>{"/"});
  EXPECT_EQ(drive->GetDrive(), '/');
  EXPECT_THROW(drive->SetDrive('d'), EInOutError);
  drive->SetDrive('/');
  EXPECT_EQ(dirs->GetDirectory(), "/");
  EXPECT_EQ(files->GetDirectory(), "/");

  // Freed links are forgotten.
  delete files;
  EXPECT_EQ(dirs->GetFileList(), nullptr);
  EXPECT_EQ(filter->GetFileList(), nullptr);
  dirs->SetDirectory(rootPath);
  delete dirs;
  EXPECT_EQ(drive->GetDirList(), nullptr);
  drive->SetDrive('/');
}

TEST_F(FileCtrlFixture, BadFilterRaisesAndKeepsTheOldOne) {
  auto* filter = Add<TFilterComboBox>("FilterComboBox1");
  EXPECT_EQ(filter->GetMask(), "*.*");
  EXPECT_THROW(filter->SetFilter("Text files|*.txt|Orphan"), EInvalidOperation);
  EXPECT_EQ(filter->GetFilter(), "All files (*.*)|*.*");
  EXPECT_EQ(filter->GetItems()->Count(), 1);
  filter->SetFilter("");
  EXPECT_EQ(filter->GetItems()->Count(), 0);
  EXPECT_EQ(filter->GetMask(), "*.*");
}

TEST(FileCtrlMinimizeName, DropsLeadingDirectories) {
  EXPECT_EQ(MinimizeName("/a/b/c/name.txt", nullptr, 1000), "/a/b/c/name.txt");
  // Without a canvas a character counts six pixels.
  EXPECT_EQ(MinimizeName("/a/b/c/name.txt", nullptr, 6 * 14), ".../c/name.txt");
  EXPECT_EQ(MinimizeName("/a/b/c/name.txt", nullptr, 6), ".../name.txt");
}

// The links and the non-default properties survive a form stream; the default mask and
// filter, the directories (run-time state) are not written.
TEST_F(FileCtrlFixture, LinkedControlsRoundTrip) {
  auto* drive = Add<TDriveComboBox>("DriveComboBox1");
  auto* dirs = Add<TDirectoryListBox>("DirectoryListBox1");
  auto* files = Add<TFileListBox>("FileListBox1");
  auto* filter = Add<TFilterComboBox>("FilterComboBox1");
  auto* edit = Add<TEdit>("Edit1");
  auto* label = Add<TLabel>("Label1");
  dirs->SetFileList(files);
  dirs->SetDirLabel(label);
  drive->SetDirList(dirs);
  drive->SetTextCase(tcUpperCase);
  filter->SetFileList(files);
  files->SetFileEdit(edit);
  files->SetShowGlyphs(true);
  files->SetMultiSelect(true);
  std::string text = ExpectRoundTrip(form.get(), files);
  EXPECT_EQ(text.find("Mask ="), std::string::npos) << text;
  EXPECT_EQ(text.find("Filter ="), std::string::npos) << text;
  EXPECT_EQ(text.find("Directory ="), std::string::npos) << text;
  EXPECT_NE(text.find("FileEdit = Edit1"), std::string::npos) << text;
  EXPECT_NE(text.find("ItemHeight = 16"), std::string::npos) << text;  // always stored, as Delphi does
  ExpectDefaultsOmitted(files, text);
  ExpectRoundTrip(form.get(), dirs);
  ExpectRoundTrip(form.get(), drive);
  files->SetMask("*.pas");
  filter->SetFilter("Pascal|*.pas");
  text = ExpectRoundTrip(form.get(), filter);
  EXPECT_NE(text.find("Filter = 'Pascal|*.pas'"), std::string::npos) << text;
  EXPECT_NE(text.find("Mask = '*.pas'"), std::string::npos) << text;

  // Read back, the copies are linked to each other, not to the originals.
  TMemoryStream s;
  s.WriteComponent(form.get());
  s.SetPosition(0);
  auto copy = std::make_unique<TForm>(nullptr);
  s.ReadComponent(copy.get());
  auto* dirs2 = Cast<TDirectoryListBox>(copy->FindComponent("DirectoryListBox1"));
  auto* files2 = Cast<TFileListBox>(copy->FindComponent("FileListBox1"));
  ASSERT_TRUE(dirs2 && files2);
  EXPECT_EQ(dirs2->GetFileList(), files2);
  EXPECT_EQ(Cast<TDriveComboBox>(copy->FindComponent("DriveComboBox1"))->GetDirList(), dirs2);
  EXPECT_EQ(files2->GetFileEdit(), copy->FindComponent("Edit1"));
  dirs2->SetDirectory(rootPath);
  EXPECT_EQ(files2->GetDirectory(), rootPath);
  EXPECT_EQ(files->GetDirectory() == rootPath, false);
}

}  // namespace
