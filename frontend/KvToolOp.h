// KvToolOp: the environment options dialog, where the user sets the designer's grid.
#pragma once

#include <string>
#include <string_view>

#include "Forms.h"
#include "StdCtrls.h"

// The digits of a number the user typed, blanks skipped. False when any other character (a
// sign included) is in the text; digits may then be incomplete.
bool CollectDigits(std::string_view text, std::string& digits);

class TfmKvToolOp : public TForm {
  KV_CLASS(TfmKvToolOp, TForm)
 public:
  explicit TfmKvToolOp(TComponent* AOwner);

  TGroupBox* FormDesignerGroup = nullptr;
  TCheckBox* ckSnapToGrid = nullptr;
  TEdit* edGridX = nullptr;
  TEdit* edGridY = nullptr;
  TLabel* Label1 = nullptr;
  TLabel* Label2 = nullptr;
  TButton* Button1 = nullptr;
  TButton* Button2 = nullptr;
  TCheckBox* ckDisplayGrid = nullptr;
  void FormShow(TObject* Sender);
  void Button1Click(TObject* Sender);

  // Set by the caller before ShowModal, read back after OK; match the stored layout until set.
  int GridX = 8;
  int GridY = 8;
  bool SnapToGrid = false;
  bool DisplayGrid = false;
};

extern TfmKvToolOp* fmKvToolOp;
