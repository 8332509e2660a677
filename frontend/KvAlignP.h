// KvAlignP: the alignment palette, a small tool window whose ten buttons align the selected
// controls of the current design. The designer window creates it once and keeps Designer
// pointing at the current design.
#pragma once

#include "Buttons.h"
#include "Forms.h"

class TKFormDesigner;

class TfmKvAlignP : public TForm {
  KV_CLASS(TfmKvAlignP, TForm)
 public:
  explicit TfmKvAlignP(TComponent* AOwner);

  TSpeedButton* SpeedButton1 = nullptr;
  TSpeedButton* SpeedButton2 = nullptr;
  TSpeedButton* SpeedButton3 = nullptr;
  TSpeedButton* SpeedButton4 = nullptr;
  TSpeedButton* SpeedButton5 = nullptr;
  TSpeedButton* SpeedButton6 = nullptr;
  TSpeedButton* SpeedButton7 = nullptr;
  TSpeedButton* SpeedButton8 = nullptr;
  TSpeedButton* SpeedButton9 = nullptr;
  TSpeedButton* SpeedButton10 = nullptr;
  void SpeedButton1Click(TObject* Sender);
  void SpeedButton2Click(TObject* Sender);
  void SpeedButton3Click(TObject* Sender);
  void SpeedButton4Click(TObject* Sender);
  void SpeedButton5Click(TObject* Sender);
  void SpeedButton6Click(TObject* Sender);
  void SpeedButton7Click(TObject* Sender);
  void SpeedButton8Click(TObject* Sender);
  void SpeedButton9Click(TObject* Sender);
  void SpeedButton10Click(TObject* Sender);

  // The design the buttons act on; nullptr while there is none (the buttons then do nothing).
  // Set by the designer window whenever its current design changes.
  TKFormDesigner* Designer = nullptr;

 private:
  void Apply(void (TKFormDesigner::*operation)(TObject*), TObject* sender);
};

extern TfmKvAlignP* fmKvAlignP;
