// Plays the user's part in a modal dialog that the code under test creates and shows itself:
// the steps run one after another from inside its ShowModal loop, once the window is active.
// Message boxes are recorded and answered, and the file dialogs are answered from a list.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Dialogs.h"
#include "ExtCtrls.h"
#include "Forms.h"
#include "StdCtrls.h"

// What ShowModal answers when the steps ran out and the dialog was still open.
constexpr TModalResult kStillOpen = 100;

class TModalUser {
 public:
  // dialog: finds the window once it exists (the unit's global variable, as a rule).
  explicit TModalUser(std::function<TCustomForm*()> dialog);
  ~TModalUser();
  TModalUser(const TModalUser&) = delete;
  TModalUser& operator=(const TModalUser&) = delete;

  TModalUser& Then(std::function<void()> step);
  // Arms the steps; the code that shows the dialog runs next.
  void Start();

  static void Click(TButtonControl* button);

  int StepsRun = 0;
  std::vector<std::string> Boxes;  // texts of the message boxes, in order
  int BoxAnswer = IDOK;
  // What the file dialogs answer, one entry per dialog shown: a file name, or "" to cancel.
  std::vector<std::string> Files;
  struct TFileDialogSeen {
    std::string Title, Filter, DefaultExt;
    TOpenOptions Options;
  };
  std::vector<TFileDialogSeen> FileDialogs;

 private:
  void Step(size_t i, int waits);
  std::function<TCustomForm*()> FDialog;
  std::vector<std::function<void()>> FSteps;
  std::unique_ptr<TPanel> FPoster;  // the steps' messages go here; they die with it
  size_t FFileAnswers = 0;
};
