// KvSelFrm: picks one of the open designs by its form name. Typing in the edit box selects the
// first listed name that begins with the text (case matters); OK needs a selection.
#pragma once

#include "Buttons.h"
#include "Forms.h"
#include "StdCtrls.h"

class TfmKvSelFrm : public TForm {
  KV_CLASS(TfmKvSelFrm, TForm)
 public:
  explicit TfmKvSelFrm(TComponent* AOwner);

  TListBox* ListBox1 = nullptr;
  TEdit* Edit1 = nullptr;
  TBitBtn* btOk = nullptr;
  TBitBtn* BitBtn4 = nullptr;
  void FormActivate(TObject* Sender);
  void Edit1Change(TObject* Sender);
  void ListBox1Click(TObject* Sender);
  void ListBox1DblClick(TObject* Sender);
};

extern TfmKvSelFrm* fmKvSelFrm;
