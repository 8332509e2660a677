#include "DialogsUser.h"

#include "StdReg.h"

namespace {
constexpr uint32_t kStepMessage = WM_USER + 0x3A1;
}

TDialogUser::TDialogUser() {
  RegisterStandardClasses();
  MessageBoxHook = [this](const std::string& text, const std::string&, int flags) {
    Boxes.push_back(text);
    BoxFlags.push_back(flags);
    return IDOK;
  };
}

TDialogUser::~TDialogUser() { MessageBoxHook = nullptr; }

TDialogUser& TDialogUser::Then(std::function<void()> step) {
  FSteps.push_back(std::move(step));
  return *this;
}

TModalResult TDialogUser::Run(TCustomForm* dialog) {
  std::vector<std::function<void()>> steps;
  steps.swap(FSteps);
  steps.push_back([dialog] { dialog->SetModalResult(kStillOpen); });
  // One step at a time, each posting the next, the first once the window is active (a user
  // cannot act sooner); a step that closed the dialog ends the session.
  int waits = 0;
  auto previous = dialog->WindowProc;
  dialog->WindowProc = [&, previous, dialog](TMessage& m) {
    if (m.Msg != kStepMessage) return previous(m);
    if (dialog->GetModalResult() != mrNone) return;
    const auto i = static_cast<size_t>(m.WParam);
    if (i == 0 && !dialog->Active() && ++waits < 100) {
      PostMessage(dialog, kStepMessage, 0, 0);
      return;
    }
    // Queued first, so that a step raising an exception (reported by the loop) does not end the chain.
    if (i + 1 < steps.size()) PostMessage(dialog, kStepMessage, static_cast<intptr_t>(i + 1), 0);
    steps.at(i)();
  };
  PostMessage(dialog, kStepMessage, 0, 0);
  TModalResult result = mrNone;
  try {
    result = dialog->ShowModal();
  } catch (...) {
    dialog->WindowProc = previous;
    throw;
  }
  dialog->WindowProc = previous;
  return result;
}

void TDialogUser::Click(TButtonControl* button) { button->Perform(WM_COMMAND, MakeWParam(0, BN_CLICKED), 0); }

void TDialogUser::PressKey(TWinControl* focused, uint16_t key) { focused->Perform(WM_KEYDOWN, key, 0); }
