// Recovery copies of modified designs: written after changes at most once per interval, gone
// after a save or a close, offered and restored after a session that ended without closing.
#include <chrono>
#include <filesystem>
#include <thread>

#include "Classes.h"
#include "DesignerFixture.h"
#include "KvRecover.h"
#include "SysUtils.h"

namespace fs = std::filesystem;

namespace {

TfmKvFrmDsg* Window(TKvFormDesigner* d) { return d->FDesignerWindow; }

// The text form of a form file, or "" when there is none.
std::string FormFileText(const std::string& path) {
  if (!FileExists(path)) return "";
  TMemoryStream in, out;
  in.LoadFromFile(path);
  ObjectResourceToText(&in, &out);
  return std::string(reinterpret_cast<const char*>(out.Memory()), out.GetSize());
}

int FilesIn(const std::string& folder, const std::string& ext) {
  int n = 0;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(folder, ec)) n += entry.path().extension() == ext;
  return n;
}

void ProcessUntil(const std::function<bool()>& done) {
  for (int i = 0; i < 400 && !done(); ++i) {
    Application->ProcessMessages();
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
}

// What a session that crashed leaves: a copy of a design, its info and an unheld lock.
void LeaveOrphan(TKFormDesigner* design, const std::string& folder, const std::string& fileName) {
  ForceDirectories(folder);
  const std::string base = folder + "/kv1_1-1";
  design->WriteFormCopy(base + ".dfm");
  WriteFileAtomic(base + ".info", "FileName=" + fileName + "\nFormName=Form1\nSaved=2026-12-08 10:00:00\n");
  WriteFileAtomic(folder + "/kv1_1.lock", "");
}

}  // namespace

TEST_F(DesignerTest, RecoveryCopiesFollowChangesAtMostOncePerIntervalAndGoWithSaveAndClose) {
  TKvRecovery* recovery = Window(Designer)->Recovery();
  EXPECT_EQ(recovery->CopyOf(Engine), "");  // a new blank design has nothing to lose
  Designer->SetRecoveryInterval(300);
  Add<TButton>("Button1", 8, 8, 75, 25);
  Engine->Modified();
  const std::string copy = recovery->CopyOf(Engine);
  ASSERT_NE(copy, "");
  EXPECT_EQ(ExtractFilePath(copy), RecoveryFolder + "/");
  EXPECT_NE(FormFileText(copy).find("object Button1: TButton"), std::string::npos);

  // A change soon after waits for the interval.
  Add<TEdit>("Edit1", 8, 48, 121, 21);
  Engine->Modified();
  EXPECT_EQ(FormFileText(copy).find("Edit1"), std::string::npos);
  ProcessUntil([&] { return FormFileText(copy).find("Edit1") != std::string::npos; });
  EXPECT_NE(FormFileText(copy).find("object Edit1: TEdit"), std::string::npos);

  // Saving removes the copy; the next change makes a new one; closing removes that.
  const std::string saved = (fs::path(RecoveryFolder).parent_path() / "kv-recovery-saved.dfm").string();
  Engine->FHasFileName = true;
  Engine->FFileName = saved;
  Window(Designer)->SaveFileItemClick(nullptr);
  EXPECT_FALSE(Engine->FModified);
  EXPECT_EQ(FilesIn(RecoveryFolder, ".dfm"), 0);
  Engine->Modified();
  ProcessUntil([&] { return FilesIn(RecoveryFolder, ".dfm") == 1; });
  EXPECT_EQ(FilesIn(RecoveryFolder, ".dfm"), 1);
  Engine->FModified = false;
  Form()->Perform(WM_CLOSE, 0, 0);
  EXPECT_EQ(FilesIn(RecoveryFolder, ".dfm"), 0);
  EXPECT_EQ(FilesIn(RecoveryFolder, ".info"), 0);
  DeleteFile(saved);
}

TEST_F(DesignerTest, ACrashedSessionsCopiesAreOfferedAndRestoredAsModifiedDesignsOfTheirFiles) {
  const std::string folder = RecoveryFolder + "/crashed";
  Add<TButton>("Button1", 8, 8, 75, 25);
  LeaveOrphan(Engine, folder, "/home/user/Unit1.dfm");
  Engine->FModified = false;
  Form()->Perform(WM_CLOSE, 0, 0);  // the design of the same form goes, as after a restart
  ASSERT_EQ(Window(Designer)->DesignerCount(), 0);

  // A session that still runs (its lock held) is not offered.
  {
    auto running = TFileLock::TryAcquire(folder + "/kv1_1.lock");
    ASSERT_NE(running, nullptr);
    Designer->SetRecoveryFolder(folder);
    EXPECT_TRUE(Window(Designer)->Recovery()->Orphans().empty());
  }

  std::string asked;
  MessageBoxHook = [&](const std::string& text, const std::string&, int) {
    asked = text;
    return static_cast<int>(mrYes);
  };
  Window(Designer)->OfferRecovery();
  MessageBoxHook = nullptr;
  EXPECT_NE(asked.find("Form1 (/home/user/Unit1.dfm), 2026-12-08 10:00:00"), std::string::npos) << asked;
  ASSERT_EQ(Window(Designer)->DesignerCount(), 1);
  TKFormDesigner* restored = Window(Designer)->Designer(0);
  EXPECT_EQ(restored->FFileName, "/home/user/Unit1.dfm");
  EXPECT_TRUE(restored->FHasFileName);
  EXPECT_TRUE(restored->FModified);
  EXPECT_NE(restored->GetForm()->FindComponent("Button1"), nullptr);
  // The old session's files are gone; the design has a copy of this session.
  EXPECT_FALSE(FileExists(folder + "/kv1_1-1.dfm"));
  EXPECT_FALSE(FileExists(folder + "/kv1_1.lock"));
  EXPECT_NE(Window(Designer)->Recovery()->CopyOf(restored), "");
  EXPECT_TRUE(Window(Designer)->Recovery()->Orphans().empty());
}

TEST_F(DesignerTest, DecliningTheOfferDiscardsTheCopiesAndAFolderThatCannotBeMadeKeepsNone) {
  const std::string folder = RecoveryFolder + "/crashed";
  LeaveOrphan(Engine, folder, "");
  Designer->SetRecoveryFolder(folder);
  MessageBoxHook = [](const std::string&, const std::string&, int) { return static_cast<int>(mrNo); };
  Window(Designer)->OfferRecovery();
  MessageBoxHook = nullptr;
  EXPECT_EQ(Window(Designer)->DesignerCount(), 1);
  EXPECT_EQ(FilesIn(folder, ".dfm") + FilesIn(folder, ".info") + FilesIn(folder, ".lock"), 0);

  // A folder under a file cannot be made: the design goes on without copies.
  WriteFileAtomic(RecoveryFolder + "/file", "");
  Designer->SetRecoveryFolder(RecoveryFolder + "/file/recovery");
  Add<TButton>("Button1", 8, 8, 75, 25);
  Engine->Modified();
  EXPECT_EQ(Window(Designer)->Recovery()->CopyOf(Engine), "");
  EXPECT_TRUE(Engine->FModified);
}
