#include "BenchDesign.h"

#include <string>

#include "DsgnIntf.h"
#include "KvObjIns.h"
#include "KvReg.h"
#include "StdCtrls.h"
#include "StdReg.h"

TBenchDesign::TBenchDesign(int count, bool showInspector) {
  RegisterStandardClasses();
  KvReg::Register();
  FHost = new TForm(Application);
  FDesigner = new TKvFormDesigner(FHost);
  FDesigner->SetRecoveryFolder("");
  FDesigner->NewForm();
  Engine = FDesigner->FDesignerWindow->CurrentDesigner();
  if (showInspector) {
    Window = FDesigner->ObjectInspector()->Form();
    FDesigner->ObjectInspector()->Show();
  }
  TCustomForm* form = Engine->GetForm();
  form->SetBounds(0, 0, kBenchColumns * kBenchCell + 40, (count / kBenchColumns + 1) * kBenchCell + 60);
  for (int i = 0; i < count; ++i) {
    auto* b = new TButton(form);
    b->SetName("Button" + std::to_string(i + 1));
    b->SetBounds((i % kBenchColumns) * kBenchCell + 4, (i / kBenchColumns) * kBenchCell + 4, kBenchCell - 4,
                 kBenchCell - 4);
    b->SetParent(form);
  }
  Application->ProcessMessages();
  form->Perform(WM_ACTIVATE, WA_CLICKACTIVE, 0);
  Application->ProcessMessages();
}

TBenchDesign::~TBenchDesign() {
  FDesigner->FDesignerWindow->CloseAllDesigners();  // no save prompts
  delete FHost;
  Application->ProcessMessages();
}

void TBenchDesign::SelectAllButtons() {
  TComponentList list;
  for (int i = 0; i < Form()->ComponentCount(); ++i)
    if (dynamic_cast<TButton*>(Form()->Components(i))) list.Add(Form()->Components(i));
  Engine->SetSelections(&list);
  Engine->ShowSelect();  // as a band or a click leaves them: with their handles shown
  Application->ProcessMessages();
}

int TBenchDesign::ButtonCount() const {
  int n = 0;
  for (int i = 0; i < Form()->ComponentCount(); ++i) n += dynamic_cast<TButton*>(Form()->Components(i)) != nullptr;
  return n;
}
