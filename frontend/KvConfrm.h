// KvConfrm: asks whether to save a modified design before it closes. The caller words the
// question in MsgLabel and reads the answer from the modal result (Yes, No or Cancel).
#pragma once

#include "Buttons.h"
#include "ExtCtrls.h"
#include "Forms.h"
#include "StdCtrls.h"

class TfmKvConfrm : public TForm {
  KV_CLASS(TfmKvConfrm, TForm)
 public:
  explicit TfmKvConfrm(TComponent* AOwner);

  TImage* Image1 = nullptr;
  TBitBtn* BitBtn1 = nullptr;
  TBitBtn* BitBtn2 = nullptr;
  TBitBtn* BitBtn3 = nullptr;
  TLabel* MsgLabel = nullptr;
};

extern TfmKvConfrm* fmKvConfrm;
