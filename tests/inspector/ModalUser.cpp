#include "ModalUser.h"

#include "StdReg.h"

namespace {
constexpr uint32_t kModalStep = WM_USER + 0x3A7;
constexpr int kMaxWaits = 200;
}  // namespace

TModalUser::TModalUser(std::function<TCustomForm*()> dialog)
    : FDialog(std::move(dialog)), FPoster(std::make_unique<TPanel>(nullptr)) {
  RegisterStandardClasses();
  FPoster->WindowProc = [this, previous = FPoster->WindowProc](TMessage& m) {
    if (m.Msg != kModalStep) return previous(m);
    Step(static_cast<size_t>(m.WParam), static_cast<int>(m.LParam));
  };
  MessageBoxHook = [this](const std::string& text, const std::string&, int) {
    Boxes.push_back(text);
    return BoxAnswer;
  };
  DialogHook = [this](TCommonDialog* d) {
    auto* file = Cast<TOpenDialog>(d);
    if (!file) return false;
    FileDialogs.push_back({file->GetTitle(), file->GetFilter(), file->GetDefaultExt(), file->GetOptions()});
    const std::string answer = FFileAnswers < Files.size() ? Files[FFileAnswers] : "";
    ++FFileAnswers;
    file->SetFileName(answer);
    return !answer.empty();
  };
}

TModalUser::~TModalUser() {
  MessageBoxHook = nullptr;
  DialogHook = nullptr;
}

TModalUser& TModalUser::Then(std::function<void()> step) {
  FSteps.push_back(std::move(step));
  return *this;
}

void TModalUser::Start() {
  FSteps.push_back([this] {
    if (TCustomForm* d = FDialog()) d->SetModalResult(kStillOpen);
  });
  PostMessage(FPoster.get(), kModalStep, 0, 0);
}

// Waits for the window to be active (a user cannot act sooner); the next step is queued before
// this one runs, so that a step raising an exception (reported by the loop) does not end the chain.
void TModalUser::Step(size_t i, int waits) {
  TCustomForm* d = FDialog();
  if (!d || !d->Active()) {
    if (waits < kMaxWaits) PostMessage(FPoster.get(), kModalStep, static_cast<intptr_t>(i), waits + 1);
    return;
  }
  if (d->GetModalResult() != mrNone) return;
  if (i + 1 < FSteps.size()) PostMessage(FPoster.get(), kModalStep, static_cast<intptr_t>(i + 1), 0);
  ++StepsRun;
  FSteps.at(i)();
}

void TModalUser::Click(TButtonControl* button) { button->Perform(WM_COMMAND, MakeWParam(0, BN_CLICKED), 0); }
