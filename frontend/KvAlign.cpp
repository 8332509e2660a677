#include "KvAlign.h"

#include "KvDsgn.h"
#include "StdReg.h"

TfmKvAlign* fmKvAlign = nullptr;

namespace {

bool KvAlignDialog(TKAlignChoice& choice) {
  return KvRunEngineDialog<TfmKvAlign>(fmKvAlign, [&](TfmKvAlign* d) {
    choice.Horizontal = d->HorizontalGroup->GetItemIndex();
    choice.Vertical = d->VerticalGroup->GetItemIndex();
  });
}

[[maybe_unused]] const bool KvAlignDialogInstalled = (KAlignDialogProc = KvAlignDialog, true);

}  // namespace

KV_IMPLEMENT_CLASS(TfmKvAlign, "KvAlign") {
  b.Field("Button1", &TfmKvAlign::Button1);
  b.Field("Button2", &TfmKvAlign::Button2);
  b.Field("HorizontalGroup", &TfmKvAlign::HorizontalGroup);
  b.Field("VerticalGroup", &TfmKvAlign::VerticalGroup);
  b.Method("FormKeyDown", &TfmKvAlign::FormKeyDown);
}

TfmKvAlign::TfmKvAlign(TComponent* AOwner) : TForm(AOwner) {
  RegisterStandardClasses();
  InitInheritedComponent(this, TForm::StaticClass());
}

void TfmKvAlign::FormKeyDown(TObject*, uint16_t& Key, TShiftState) {
  if (Key == VK_ESCAPE) SetModalResult(mrCancel);
}
