// A host that owns the event loop itself (QApplication::exec) and quits through Qt with modified
// designs open: the loop ends, nothing waits for an answer, and the designs' recovery copies
// stay to be offered at the next start. It ends the application, so it runs in a process of its
// own (ctest runs each test so).
#include <gtest/gtest.h>

#include <unistd.h>

#include <QApplication>
#include <QTimer>
#include <csignal>
#include <filesystem>

#include "KvFrmDsg.h"
#include "KvReg.h"
#include "StdCtrls.h"
#include "StdReg.h"

namespace fs = std::filesystem;

TEST(QtOwnedLoop, QuitWithModifiedDesignsEndsTheLoopAndKeepsTheirRecoveryCopies) {
  if (!::testing::GTEST_FLAG(filter).starts_with("QtOwnedLoop."))
    GTEST_SKIP() << "ends the application: run it alone (--gtest_filter=QtOwnedLoop.*)";
  RegisterStandardClasses();
  KvReg::Register();
  const std::string folder = (fs::temp_directory_path() / ("kv-quit-" + std::to_string(::getpid()))).string();
  fs::remove_all(folder);
  auto* host = new TForm(Application);
  auto* designer = new TKvFormDesigner(host);
  designer->SetRecoveryFolder(folder);
  designer->NewForm();
  designer->NewForm();
  ASSERT_EQ(designer->DesignCount(), 2);
  for (int i = 0; i < 2; ++i) {
    TKFormDesigner* design = designer->Designs(i);
    auto* button = new TButton(design->GetForm());
    button->SetName("Button1");
    button->SetParent(design->GetForm());
    design->Modified();
  }
  host->Show();

  // A quit that waits for an answer nobody gives fails here rather than at ctest's timeout.
  std::signal(SIGALRM, [](int) {
    static const char message[] = "the Qt-owned loop did not end within 20 s of quit()\n";
    (void)!::write(2, message, sizeof message - 1);
    std::_Exit(3);
  });
  ::alarm(20);
  QTimer::singleShot(0, [] { QCoreApplication::quit(); });
  const int code = QApplication::exec();
  ::alarm(0);
  EXPECT_EQ(code, 0);
  EXPECT_TRUE(Application->Terminated());
  EXPECT_EQ(designer->DesignCount(), 0);
  int copies = 0;
  for (const auto& entry : fs::directory_iterator(folder)) copies += entry.path().extension() == ".dfm";
  EXPECT_EQ(copies, 2);
  fs::remove_all(folder);
}
