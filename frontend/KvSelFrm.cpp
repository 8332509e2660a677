#include "KvSelFrm.h"

#include "StdReg.h"

TfmKvSelFrm* fmKvSelFrm = nullptr;

KV_IMPLEMENT_CLASS(TfmKvSelFrm, "KvSelFrm") {
  b.Field("ListBox1", &TfmKvSelFrm::ListBox1);
  b.Field("Edit1", &TfmKvSelFrm::Edit1);
  b.Field("btOk", &TfmKvSelFrm::btOk);
  b.Field("BitBtn4", &TfmKvSelFrm::BitBtn4);
  b.Method("FormActivate", &TfmKvSelFrm::FormActivate);
  b.Method("Edit1Change", &TfmKvSelFrm::Edit1Change);
  b.Method("ListBox1Click", &TfmKvSelFrm::ListBox1Click);
  b.Method("ListBox1DblClick", &TfmKvSelFrm::ListBox1DblClick);
}

TfmKvSelFrm::TfmKvSelFrm(TComponent* AOwner) : TForm(AOwner) {
  RegisterStandardClasses();
  InitInheritedComponent(this, TForm::StaticClass());
}

// The caller puts the current form's name into the edit box before showing the dialog.
void TfmKvSelFrm::FormActivate(TObject* Sender) { Edit1Change(Sender); }

void TfmKvSelFrm::Edit1Change(TObject*) {
  const std::string typed = Edit1->GetText();
  int match = -1;
  if (!typed.empty()) {
    TStrings* items = ListBox1->GetItems();
    for (int i = 0; i < items->Count() && match < 0; ++i)
      if (items->Get(i).starts_with(typed)) match = i;
  }
  ListBox1->SetItemIndex(match);
  btOk->SetEnabled(match >= 0);
}

void TfmKvSelFrm::ListBox1Click(TObject*) {
  if (ListBox1->GetItemIndex() >= 0) Edit1->SetText(ListBox1->GetItems()->Get(ListBox1->GetItemIndex()));
}

void TfmKvSelFrm::ListBox1DblClick(TObject*) { SetModalResult(mrOk); }
