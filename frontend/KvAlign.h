// KvAlign: the alignment dialog. The engine runs it (KAlignDialogProc) and reads each group's
// item index as its alignment code: 0 no change, 1 left sides / tops, 2 centres, 3 right
// sides / bottoms, 4 equal spacing, 5 centre in the window.
#pragma once

#include <functional>

#include "ExtCtrls.h"
#include "Forms.h"
#include "StdCtrls.h"

class TfmKvAlign : public TForm {
  KV_CLASS(TfmKvAlign, TForm)
 public:
  explicit TfmKvAlign(TComponent* AOwner);

  TButton* Button1 = nullptr;
  TButton* Button2 = nullptr;
  TRadioGroup* HorizontalGroup = nullptr;
  TRadioGroup* VerticalGroup = nullptr;
  void FormKeyDown(TObject* Sender, uint16_t& Key, TShiftState Shift);
};

extern TfmKvAlign* fmKvAlign;

// Runs one of the engine's dialogs modally: kept in its unit's global variable while it runs,
// freed after; onOk reads it when the user confirmed.
template <class TDialog>
bool KvRunEngineDialog(TDialog*& global, const std::function<void(TDialog*)>& onOk) {
  auto* dialog = new TDialog(Application);
  global = dialog;
  try {
    bool ok = dialog->ShowModal() == mrOk;
    if (ok) onOk(dialog);
    global = nullptr;
    delete dialog;
    return ok;
  } catch (...) {
    global = nullptr;
    delete dialog;
    throw;
  }
}
