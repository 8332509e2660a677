#include "KvToolOp.h"

#include "Dialogs.h"
#include "StdReg.h"

TfmKvToolOp* fmKvToolOp = nullptr;

KV_IMPLEMENT_CLASS(TfmKvToolOp, "KvToolOp") {
  b.Field("FormDesignerGroup", &TfmKvToolOp::FormDesignerGroup);
  b.Field("ckSnapToGrid", &TfmKvToolOp::ckSnapToGrid);
  b.Field("edGridX", &TfmKvToolOp::edGridX);
  b.Field("edGridY", &TfmKvToolOp::edGridY);
  b.Field("Label1", &TfmKvToolOp::Label1);
  b.Field("Label2", &TfmKvToolOp::Label2);
  b.Field("Button1", &TfmKvToolOp::Button1);
  b.Field("Button2", &TfmKvToolOp::Button2);
  b.Field("ckDisplayGrid", &TfmKvToolOp::ckDisplayGrid);
  b.Method("FormShow", &TfmKvToolOp::FormShow);
  b.Method("Button1Click", &TfmKvToolOp::Button1Click);
}

bool CollectDigits(std::string_view text, std::string& digits) {
  digits.clear();
  for (char c : text) {
    if (c == ' ') continue;
    if (c < '0' || c > '9') return false;
    digits += c;
  }
  return true;
}

namespace {

// Anything but blanks and digits is no grid size at all (0, out of range). A text without digits
// is left to the conversion, whose error the application reports.
int KvToolOpGridSize(const std::string& text) {
  std::string digits;
  return CollectDigits(text, digits) ? StrToInt(digits) : 0;
}

bool KvToolOpGridSizeValid(int size) { return size >= 2 && size <= 128; }

}  // namespace

TfmKvToolOp::TfmKvToolOp(TComponent* AOwner) : TForm(AOwner) {
  RegisterStandardClasses();
  InitInheritedComponent(this, TForm::StaticClass());
}

void TfmKvToolOp::FormShow(TObject*) {
  edGridX->SetText(IntToStr(GridX));
  edGridY->SetText(IntToStr(GridY));
  ckSnapToGrid->SetChecked(SnapToGrid);
  ckDisplayGrid->SetChecked(DisplayGrid);
}

void TfmKvToolOp::Button1Click(TObject*) {
  GridX = KvToolOpGridSize(edGridX->GetText());
  GridY = KvToolOpGridSize(edGridY->GetText());
  SnapToGrid = ckSnapToGrid->GetChecked();
  DisplayGrid = ckDisplayGrid->GetChecked();
  std::string message;
  if (!KvToolOpGridSizeValid(GridX)) message = "Grid size X must be an integer between 2 and 128";
  if (!KvToolOpGridSizeValid(GridY)) message = "Grid size Y must be an integer between 2 and 128";
  if (!message.empty()) MessageDlg(message, mtError, {mbOK}, 0);
  else SetModalResult(mrOk);
}
