// KvSize: the size dialog. The engine runs it and reads each group's item index: 0 no change,
// 1 shrink to the smallest, 2 grow to the largest, 3 the typed value (SizeWidth, SizeHeight).
#pragma once

#include <string>

#include "ExtCtrls.h"
#include "Forms.h"
#include "StdCtrls.h"

// A size the user typed: blanks are skipped, and the text must hold only digits, at least one.
// A value beyond the integer range raises EConvertError.
bool TryParseSize(const std::string& text, int& value);

class TfmKvSize : public TForm {
  KV_CLASS(TfmKvSize, TForm)
 public:
  explicit TfmKvSize(TComponent* AOwner);

  TRadioGroup* WidthGroup = nullptr;
  TRadioGroup* HeightGroup = nullptr;
  TButton* Button1 = nullptr;
  TButton* Button2 = nullptr;
  TEdit* edWidth = nullptr;
  TEdit* edHeight = nullptr;
  void FormKeyDown(TObject* Sender, uint16_t& Key, TShiftState Shift);
  void WidthGroupClick(TObject* Sender);
  void HeightGroupClick(TObject* Sender);
  void Button1Click(TObject* Sender);

  // The typed sizes after OK, for the groups whose item 3 is chosen.
  int SizeWidth = 0;
  int SizeHeight = 0;
};

extern TfmKvSize* fmKvSize;
