// KvObjIns: the inspector component and the row list.
#include "KvObjIns.h"

#include "ExtCtrls.h"
#include "KvCmpEdt.h"
#include "KvImgEdt.h"
#include "KvMnuEdt.h"
#include "KvStrEdt.h"
#include "StdReg.h"
#include "SysUtils.h"
#include "TypInfo.h"
#include "Windows.h"

KV_IMPLEMENT_CLASS(TKvObjectInspector, "KvObjIns") {
  b.Prop("OnDestroy", &TKvObjectInspector::FOnDestroy);
  b.Prop("TypeKinds", &TKvObjectInspector::GetTypeKinds, &TKvObjectInspector::SetTypeKinds)
      .Type(TypeInfoTTypeKinds())
      .Default(KvInspectorTypeKinds);
  b.Prop("CanDelete", &TKvObjectInspector::GetCanDelete, &TKvObjectInspector::SetCanDelete).Default(false);
}

// ---------------------------------------------------------------------------------------------
// TKvInspectorRows

namespace {

// Deeper keys would need a third character and no longer sort as levels do.
constexpr int KvMaxRowLevel = 9;

std::string KvLevelKey(int level) { return Format("%2d", level); }

}  // namespace

TKvInspectorRows::TKvInspectorRows() : FItems(new TStringList()) {}

TKvInspectorRows::~TKvInspectorRows() {
  Clear();
  delete FItems;
}

void TKvInspectorRows::Build(TComponentList* components, TTypeKinds kinds, TFormDesigner* designer) {
  Clear();
  FInsertAt = 0;
  FLevelKey = KvLevelKey(0);
  GetComponentProperties(components, kinds, designer, [this](TPropertyEditor* e) { AddEditor(e); });
}

void TKvInspectorRows::Clear() {
  for (int i = FItems->Count() - 1; i >= 0; --i) delete FItems->GetObject(i);
  FItems->Clear();
}

TPropertyEditor* TKvInspectorRows::Editor(int i) const { return static_cast<TPropertyEditor*>(FItems->GetObject(i)); }

int TKvInspectorRows::Level(int i) const { return StrToInt(Trim(FItems->Get(i))); }

bool TKvInspectorRows::Expanded(int i) const { return i + 1 < FItems->Count() && FItems->Get(i + 1) > FItems->Get(i); }

void TKvInspectorRows::AddEditor(TPropertyEditor* editor) {
  FItems->InsertObject(FInsertAt, FLevelKey, editor);
  ++FInsertAt;
  ++FAddedCount;
}

int TKvInspectorRows::Toggle(int i) {
  const std::string key = FItems->Get(i);
  if (Expanded(i)) {
    int removed = 0;
    while (i + 1 < FItems->Count() && FItems->Get(i + 1) > key) {
      delete FItems->GetObject(i + 1);
      FItems->Delete(i + 1);
      ++removed;
    }
    return -removed;
  }
  int level = Level(i);
  if (level >= KvMaxRowLevel) return 0;
  FInsertAt = i + 1;
  FLevelKey = KvLevelKey(level + 1);
  FAddedCount = 0;
  Editor(i)->GetProperties([this](TPropertyEditor* e) { AddEditor(e); });
  return FAddedCount;
}

void TKvInspectorRows::ExpandAll() {
  for (int i = 0; i < Count(); ++i)
    if (!Expanded(i) && Editor(i)->GetAttributes().Contains(paSubProperties)) Toggle(i);
}

std::string TKvInspectorRows::Caption(int i, std::string& name) const {
  TPropertyEditor* editor = Editor(i);
  name = editor->GetName();
  std::string caption(std::min(2 * Level(i), 20), ' ');
  if (editor->GetAttributes().Contains(paSubProperties)) caption += Expanded(i) ? "- " : "+";
  else caption += "  ";
  return caption + name;
}

std::string TKvInspectorRows::Value(int i, bool forEdit) const {
  TPropertyEditor* editor = Editor(i);
  if (forEdit || editor->AllEqual()) return editor->GetValue();
  return "";
}

std::string StripRowMarks(const std::string& caption) {
  std::string name;
  for (char c : caption)
    if (c != ' ' && c != '+' && c != '-') name += c;
  return name;
}

// ---------------------------------------------------------------------------------------------
// TKvObjectInspector

TKvObjectInspector::TKvObjectInspector(TComponent* AOwner) : TComponent(AOwner) {
  // What the designs it shows are made of: a host needs no registration of its own.
  RegisterStandardClasses();
  // Every string list property is edited with the string list editor from now on, also when a
  // host registered another editor for them after an earlier inspector.
  RegisterPropertyEditor(TStrings::StaticClass()->TypeInfo(), nullptr, "", TStringsProperty::StaticClass());
  RegisterPageEditors();
  RegisterMenuEditor();
  RegisterImageListEditor();
  FForm = new TfmKvObjIns(Application);
  FForm->FInspector = this;
}

TKvObjectInspector::~TKvObjectInspector() {
  if (FOnDestroy) FOnDestroy(this);
  // An engine of EditForm refers to this component: it ends with it, leaving the host's form.
  if (TKFormDesigner* designer = FEditDesigner) {
    FEditDesigner = nullptr;
    designer->OnDesignerDestroy = {};
    designer->Destroy();
  }
  if (FForm) {
    FForm->FInspector = nullptr;
    if (!FForm->InState(csDestroying)) delete FForm;
    FForm = nullptr;
  }
}

void TKvObjectInspector::Show() {
  if (FForm) FForm->Show();
}

void TKvObjectInspector::Hide() {
  if (FForm) FForm->Hide();
}

TComboBox* TKvObjectInspector::ComponentList() const { return FForm ? FForm->ComponentList : nullptr; }

void TKvObjectInspector::SelectDesigner(TFormDesigner* designer) {
  if (FForm) FForm->SelectDesigner(designer);
}

void TKvObjectInspector::RefreshGrid() {
  if (FForm) FForm->RefreshGrid();
}

void TKvObjectInspector::FormNotification(TComponent* component, TOperation operation) {
  if (FForm) FForm->FormNotification(component, operation);
}

void TKvObjectInspector::ObjectChanged(TKFormDesigner* designer) {
  if (FForm) PostMessage(FForm, KM_OBJECTCHANGED, 0, reinterpret_cast<intptr_t>(designer));
}

void TKvObjectInspector::ObjectModified(TKFormDesigner* designer) {
  if (FForm) PostMessage(FForm, KM_OBJECTMODIFIED, 0, reinterpret_cast<intptr_t>(designer));
}

void TKvObjectInspector::ShowMethod(TKFormDesigner* designer, const std::string& name) {
  if (!FForm) return;
  FForm->FMethodToShow = name;
  PostMessage(FForm, KM_SHOWMETHOD, 0, reinterpret_cast<intptr_t>(designer));
}

void TKvObjectInspector::EditForm(TForm* form) {
  if (FEditDesigner && !FEditDesigner->IsTornDown()) FEditDesigner->Destroy();
  FEditDesigner = nullptr;
  auto* designer = new TKFormDesigner(nullptr, this, "", form);
  FEditDesigner = designer;
  designer->OnDesignerDestroy = [this](TObject* sender) { return DesignerClosing(sender); };
}

bool TKvObjectInspector::DesignerClosing(TObject*) {
  FEditDesigner = nullptr;
  if (FForm) {
    FForm->FDesigner = nullptr;
    FForm->Close();
  }
  return true;
}
