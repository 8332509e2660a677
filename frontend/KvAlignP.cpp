#include "KvAlignP.h"

#include "KvDsgn.h"
#include "StdReg.h"

TfmKvAlignP* fmKvAlignP = nullptr;

KV_IMPLEMENT_CLASS(TfmKvAlignP, "KvAlignP") {
  b.Field("SpeedButton1", &TfmKvAlignP::SpeedButton1);
  b.Field("SpeedButton2", &TfmKvAlignP::SpeedButton2);
  b.Field("SpeedButton3", &TfmKvAlignP::SpeedButton3);
  b.Field("SpeedButton4", &TfmKvAlignP::SpeedButton4);
  b.Field("SpeedButton5", &TfmKvAlignP::SpeedButton5);
  b.Field("SpeedButton6", &TfmKvAlignP::SpeedButton6);
  b.Field("SpeedButton7", &TfmKvAlignP::SpeedButton7);
  b.Field("SpeedButton8", &TfmKvAlignP::SpeedButton8);
  b.Field("SpeedButton9", &TfmKvAlignP::SpeedButton9);
  b.Field("SpeedButton10", &TfmKvAlignP::SpeedButton10);
  b.Method("SpeedButton1Click", &TfmKvAlignP::SpeedButton1Click);
  b.Method("SpeedButton2Click", &TfmKvAlignP::SpeedButton2Click);
  b.Method("SpeedButton3Click", &TfmKvAlignP::SpeedButton3Click);
  b.Method("SpeedButton4Click", &TfmKvAlignP::SpeedButton4Click);
  b.Method("SpeedButton5Click", &TfmKvAlignP::SpeedButton5Click);
  b.Method("SpeedButton6Click", &TfmKvAlignP::SpeedButton6Click);
  b.Method("SpeedButton7Click", &TfmKvAlignP::SpeedButton7Click);
  b.Method("SpeedButton8Click", &TfmKvAlignP::SpeedButton8Click);
  b.Method("SpeedButton9Click", &TfmKvAlignP::SpeedButton9Click);
  b.Method("SpeedButton10Click", &TfmKvAlignP::SpeedButton10Click);
}

TfmKvAlignP::TfmKvAlignP(TComponent* AOwner) : TForm(AOwner) {
  RegisterStandardClasses();
  InitInheritedComponent(this, TForm::StaticClass());
}

void TfmKvAlignP::Apply(void (TKFormDesigner::*operation)(TObject*), TObject* sender) {
  if (Designer) (Designer->*operation)(sender);
}

void TfmKvAlignP::SpeedButton1Click(TObject* Sender) { Apply(&TKFormDesigner::AlignLeft, Sender); }
void TfmKvAlignP::SpeedButton2Click(TObject* Sender) { Apply(&TKFormDesigner::AlignHorizCenter, Sender); }
void TfmKvAlignP::SpeedButton3Click(TObject* Sender) { Apply(&TKFormDesigner::AlignHorizCenterWindow, Sender); }
void TfmKvAlignP::SpeedButton4Click(TObject* Sender) { Apply(&TKFormDesigner::AlignHorizSpaceEqually, Sender); }
void TfmKvAlignP::SpeedButton5Click(TObject* Sender) { Apply(&TKFormDesigner::AlignRight, Sender); }
void TfmKvAlignP::SpeedButton6Click(TObject* Sender) { Apply(&TKFormDesigner::AlignTops, Sender); }
void TfmKvAlignP::SpeedButton7Click(TObject* Sender) { Apply(&TKFormDesigner::AlignVertCenter, Sender); }
void TfmKvAlignP::SpeedButton8Click(TObject* Sender) { Apply(&TKFormDesigner::AlignVertCenterWindow, Sender); }
void TfmKvAlignP::SpeedButton9Click(TObject* Sender) { Apply(&TKFormDesigner::AlignVertSpaceEqually, Sender); }
void TfmKvAlignP::SpeedButton10Click(TObject* Sender) { Apply(&TKFormDesigner::AlignBottoms, Sender); }
