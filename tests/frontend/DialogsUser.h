// Plays the user's part in the kit's modal dialogs: steps run one after another from inside
// ShowModal's message loop, and every message box is recorded and answered with OK.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "Forms.h"
#include "StdCtrls.h"

// What ShowModal answers when the steps ran out and the dialog was still open.
constexpr TModalResult kStillOpen = 100;

class TDialogUser {
 public:
  TDialogUser();
  ~TDialogUser();
  TDialogUser(const TDialogUser&) = delete;
  TDialogUser& operator=(const TDialogUser&) = delete;

  // Queues a step for the next Run.
  TDialogUser& Then(std::function<void()> step);
  // Shows dialog modally, runs the queued steps and answers its modal result (kStillOpen when
  // no step closed it).
  TModalResult Run(TCustomForm* dialog);

  // The user's gestures, as the toolkit reports them to the controls.
  static void Click(TButtonControl* button);
  static void PressKey(TWinControl* focused, uint16_t key);

  std::vector<std::string> Boxes;  // texts of the message boxes shown, in order
  std::vector<int> BoxFlags;

 private:
  std::vector<std::function<void()>> FSteps;
};
