#include "DesignerFixture.h"

#include <unistd.h>

#include <filesystem>

#include "KvReg.h"
#include "StdReg.h"

namespace {

constexpr uint32_t KM_ANSWER = WM_USER + 77;

// Gets a posted message, delivered by the modal loop of the dialog under test, answers that
// dialog and releases itself. A dialog already answered is left to its loop: the message comes
// again (a bounded number of times) until the next dialog runs.
class TModalAnswerer : public TForm {
 public:
  TModalAnswerer(TModalResult result, std::function<void(TCustomForm*)> fill)
      : TForm(nullptr), FResult(result), FFill(std::move(fill)) {}
  void WndProc(TMessage& m) override {
    if (m.Msg != KM_ANSWER) return TForm::WndProc(m);
    for (int i = 0; i < Screen->FormCount(); ++i) {
      TCustomForm* f = Screen->Forms(i);
      if (f->FormState.Contains(fsModal) && f->GetModalResult() == mrNone) {
        if (FFill) FFill(f);
        if (f->GetModalResult() == mrNone) f->SetModalResult(FResult);
        Release();
        return;
      }
    }
    if (++FTries < 20000) PostMessage(this, KM_ANSWER, 0, 0);
    else Release();  // no dialog came: the test's own checks tell
  }

 private:
  TModalResult FResult;
  std::function<void(TCustomForm*)> FFill;
  int FTries = 0;
};

}  // namespace

void AnswerNextModal(TModalResult result, std::function<void(TCustomForm*)> fill) {
  PostMessage(new TModalAnswerer(result, std::move(fill)), KM_ANSWER, 0, 0);
}

void DesignerTest::SetUp() {
  RegisterStandardClasses();
  KvReg::Register();
  Host = new TForm(Application);
  Host->SetName("HostForm");
  Designer = new TKvFormDesigner(Host);
  Designer->SetName("KvFormDesigner1");
  // Recovery copies of this test's designs go to a folder of its own, so that no other run's
  // leftovers are offered here.
  RecoveryFolder = (std::filesystem::temp_directory_path() /
                    ("kv-recovery-" + std::to_string(::getpid()) + "-" +
                     testing::UnitTest::GetInstance()->current_test_info()->name()))
                       .string();
  std::filesystem::remove_all(RecoveryFolder);
  Designer->SetRecoveryFolder(RecoveryFolder);
  Designer->NewForm();
  Engine = Designer->FDesignerWindow->CurrentDesigner();
  ASSERT_NE(Engine, nullptr);
  Application->ProcessMessages();
  Form()->Perform(WM_ACTIVATE, WA_CLICKACTIVE, 0);  // as the user's first click on it does
}

void DesignerTest::TearDown() {
  Designer->FDesignerWindow->CloseAllDesigners();  // no save prompts
  delete Host;                                     // the designer component, its window and the designs go with it
  Application->ProcessMessages();
  std::filesystem::remove_all(RecoveryFolder);
}

void DesignerTest::Press(TPoint p, intptr_t keys) { SendInput(Form(), WM_LBUTTONDOWN, p, MK_LBUTTON | keys); }

void DesignerTest::MoveTo(TPoint p, intptr_t keys) { SendInput(Form(), WM_MOUSEMOVE, p, keys); }

void DesignerTest::Release(TPoint p) { SendInput(Form(), WM_LBUTTONUP, p); }

void DesignerTest::Drag(TPoint from, TPoint to, intptr_t keys) {
  Press(from, keys);
  MoveTo(to, MK_LBUTTON | keys);
  Release(to);
}

std::vector<TComponent*> DesignerTest::Selection() const {
  TComponentList list;
  Engine->GetSelections(&list);
  std::vector<TComponent*> out;
  for (int i = 0; i < list.Count(); ++i) out.push_back(list[i]);
  return out;
}
