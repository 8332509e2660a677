#include "KvSize.h"

#include "Consts.h"
#include "Dialogs.h"
#include "KvAlign.h"
#include "KvDsgn.h"
#include "KvToolOp.h"
#include "StdReg.h"

TfmKvSize* fmKvSize = nullptr;

namespace {

bool KvSizeDialog(TKSizeChoice& choice) {
  return KvRunEngineDialog<TfmKvSize>(fmKvSize, [&](TfmKvSize* d) {
    choice.WidthCode = d->WidthGroup->GetItemIndex();
    choice.HeightCode = d->HeightGroup->GetItemIndex();
    choice.Width = d->SizeWidth;
    choice.Height = d->SizeHeight;
  });
}

[[maybe_unused]] const bool KvSizeDialogInstalled = (KSizeDialogProc = KvSizeDialog, true);

}  // namespace

KV_IMPLEMENT_CLASS(TfmKvSize, "KvSize") {
  b.Field("WidthGroup", &TfmKvSize::WidthGroup);
  b.Field("HeightGroup", &TfmKvSize::HeightGroup);
  b.Field("Button1", &TfmKvSize::Button1);
  b.Field("Button2", &TfmKvSize::Button2);
  b.Field("edWidth", &TfmKvSize::edWidth);
  b.Field("edHeight", &TfmKvSize::edHeight);
  b.Method("FormKeyDown", &TfmKvSize::FormKeyDown);
  b.Method("WidthGroupClick", &TfmKvSize::WidthGroupClick);
  b.Method("HeightGroupClick", &TfmKvSize::HeightGroupClick);
  b.Method("Button1Click", &TfmKvSize::Button1Click);
}

bool TryParseSize(const std::string& text, int& value) {
  std::string digits;
  if (!CollectDigits(text, digits) || digits.empty()) return false;
  value = StrToInt(digits);
  return true;
}

namespace {

constexpr int kKvSizeTypedItem = 3;  // "&Width:" / "&Height:"

// The edit box is for the typed size only; choosing that item moves the user there.
void KvSizeFollowGroup(TRadioGroup* group, TEdit* edit) {
  edit->SetEnabled(group->GetItemIndex() == kKvSizeTypedItem);
  if (edit->GetEnabled()) edit->SetFocus();
}

}  // namespace

TfmKvSize::TfmKvSize(TComponent* AOwner) : TForm(AOwner) {
  RegisterStandardClasses();
  InitInheritedComponent(this, TForm::StaticClass());
}

void TfmKvSize::FormKeyDown(TObject*, uint16_t& Key, TShiftState) {
  if (Key == VK_ESCAPE) SetModalResult(mrCancel);
}

void TfmKvSize::WidthGroupClick(TObject*) { KvSizeFollowGroup(WidthGroup, edWidth); }

void TfmKvSize::HeightGroupClick(TObject*) { KvSizeFollowGroup(HeightGroup, edHeight); }

void TfmKvSize::Button1Click(TObject*) {
  std::string message;
  if (WidthGroup->GetItemIndex() == kKvSizeTypedItem && !TryParseSize(edWidth->GetText(), SizeWidth))
    message = Format(SInvalidInteger, edWidth->GetText());
  if (HeightGroup->GetItemIndex() == kKvSizeTypedItem && !TryParseSize(edHeight->GetText(), SizeHeight))
    message = Format(SInvalidInteger, edHeight->GetText());
  if (!message.empty()) MessageDlg(message, mtError, {mbOK}, 0);
  else SetModalResult(mrOk);
}
