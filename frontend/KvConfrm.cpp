#include "KvConfrm.h"

#include "StdReg.h"

TfmKvConfrm* fmKvConfrm = nullptr;

KV_IMPLEMENT_CLASS(TfmKvConfrm, "KvConfrm") {
  b.Field("Image1", &TfmKvConfrm::Image1);
  b.Field("BitBtn1", &TfmKvConfrm::BitBtn1);
  b.Field("BitBtn2", &TfmKvConfrm::BitBtn2);
  b.Field("BitBtn3", &TfmKvConfrm::BitBtn3);
  b.Field("MsgLabel", &TfmKvConfrm::MsgLabel);
}

TfmKvConfrm::TfmKvConfrm(TComponent* AOwner) : TForm(AOwner) {
  RegisterStandardClasses();
  InitInheritedComponent(this, TForm::StaticClass());
  // A No button is a cancel button by its kind, and comes first: Escape would throw the
  // changes away. Escape keeps the design open instead.
  BitBtn2->SetCancel(false);
}
