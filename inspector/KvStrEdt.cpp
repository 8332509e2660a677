#include "KvStrEdt.h"

#include <memory>

#include "StdReg.h"

TfmKvStrEdt* fmKvStrEdt = nullptr;

KV_IMPLEMENT_CLASS(TStringsProperty, "KvStrEdt") {}

KV_IMPLEMENT_CLASS(TfmKvStrEdt, "KvStrEdt") {
  b.Field("Bevel1", &TfmKvStrEdt::Bevel1);
  b.Field("LineCount", &TfmKvStrEdt::LineCount);
  b.Field("Memo", &TfmKvStrEdt::Memo);
  b.Field("CodeWndBtn", &TfmKvStrEdt::CodeWndBtn);
  b.Field("OKButton", &TfmKvStrEdt::OKButton);
  b.Field("CancelButton", &TfmKvStrEdt::CancelButton);
  b.Field("HelpButton", &TfmKvStrEdt::HelpButton);
  b.Field("OpenDialog", &TfmKvStrEdt::OpenDialog);
  b.Field("SaveDialog", &TfmKvStrEdt::SaveDialog);
  b.Field("StringEditorMenu", &TfmKvStrEdt::StringEditorMenu);
  b.Field("LoadItem", &TfmKvStrEdt::LoadItem);
  b.Field("SaveItem", &TfmKvStrEdt::SaveItem);
  b.Field("CodeEditorItem", &TfmKvStrEdt::CodeEditorItem);
  b.Method("FormCreate", &TfmKvStrEdt::FormCreate);
  b.Method("MemoChange", &TfmKvStrEdt::MemoChange);
  b.Method("LoadItemClick", &TfmKvStrEdt::LoadItemClick);
  b.Method("SaveItemClick", &TfmKvStrEdt::SaveItemClick);
  b.Method("CodeEditorItemClick", &TfmKvStrEdt::CodeEditorItemClick);
  b.Method("CodeWndBtnClick", &TfmKvStrEdt::CodeWndBtnClick);
  b.Method("HelpButtonClick", &TfmKvStrEdt::HelpButtonClick);
}

KV_IMPLEMENT_CLASS(TStringsEditor, "KvStrEdt") {}

// ---------------------------------------------------------------------------------------------
// TStringsProperty

void TStringsProperty::Edit() {
  TStringsEditor editor(nullptr);
  editor.SetStrings(Cast<TStrings>(GetObjectValue()));
  if (editor.Execute()) SetOrdValue(reinterpret_cast<intptr_t>(editor.GetStrings()));
}

void TStringsProperty::SetValue(const std::string& value) {
  if (value.empty()) SetOrdValue(0);
}

// ---------------------------------------------------------------------------------------------
// TfmKvStrEdt

TfmKvStrEdt::TfmKvStrEdt(TComponent* AOwner) : TForm(AOwner) {
  RegisterStandardClasses();
  InitInheritedComponent(this, TForm::StaticClass());
  fmKvStrEdt = this;
}

TfmKvStrEdt::~TfmKvStrEdt() {
  if (fmKvStrEdt == this) fmKvStrEdt = nullptr;
}

void TfmKvStrEdt::FormCreate(TObject*) {
  SetHelpContext(0);
  CodeEditorItem->SetEnabled(false);
}

void TfmKvStrEdt::MemoChange(TObject*) { LineCount->SetCaption(IntToStr(Memo->GetLines()->Count()) + " lines"); }

void TfmKvStrEdt::LoadItemClick(TObject*) {
  OpenDialog->SetTitle("Load String list");
  if (!OpenDialog->Execute()) return;
  // Read completely before touching the memo, so that a file that fails halfway loses nothing.
  TStringList lines;
  lines.LoadFromFile(OpenDialog->GetFileName());
  Memo->GetLines()->Assign(&lines);
  CodeEditorItem->SetEnabled(Memo->GetLines()->Count() > 0);
}

void TfmKvStrEdt::SaveItemClick(TObject*) {
  if (Memo->GetLines()->Count() == 0) return;
  SaveDialog->SetTitle("Save String list");
  if (SaveDialog->Execute()) Memo->GetLines()->SaveToFile(SaveDialog->GetFileName());
}

// The code editor belongs to a development environment, which a run-time designer has not;
// the item and the hidden button keep the window's layout and do nothing, as Help does.
void TfmKvStrEdt::CodeEditorItemClick(TObject*) {}
void TfmKvStrEdt::CodeWndBtnClick(TObject*) {}
void TfmKvStrEdt::HelpButtonClick(TObject*) {}

// ---------------------------------------------------------------------------------------------
// TStringsEditor

TStringsEditor::TStringsEditor(TComponent* AOwner) : TComponent(AOwner), FStrings(new TStringList) {
  FForm = new TfmKvStrEdt(this);
}

TStringsEditor::~TStringsEditor() {
  delete FForm;  // leaves the owner's list itself
  delete FStrings;
}

void TStringsEditor::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == opRemove && component == FForm) FForm = nullptr;
}

void TStringsEditor::SetStrings(TStrings* value) { FStrings->Assign(value); }

bool TStringsEditor::Execute() {
  if (!FForm) FForm = new TfmKvStrEdt(this);
  FForm->Memo->GetLines()->Assign(FStrings);
  FForm->OpenDialog->SetOptions({ofHideReadOnly, ofShowHelp, ofFileMustExist});
  // Saving asks before it replaces an existing file: a slip of the mouse must not destroy one.
  FForm->SaveDialog->SetOptions({ofOverwritePrompt, ofHideReadOnly, ofShowHelp, ofPathMustExist});
  FForm->CodeEditorItem->SetEnabled(FStrings->Count() > 0);
  const bool ok = FForm->ShowModal() == mrOk;
  if (ok) FStrings->Assign(FForm->Memo->GetLines());
  return ok;
}
