#include "KvObjIns.h"

#include "ExtCtrls.h"
#include "TypInfo.h"
#include "Windows.h"

KV_IMPLEMENT_CLASS(TKvObjectInspector, "KvObjIns") {
  b.Prop("OnDestroy", &TKvObjectInspector::FOnDestroy);
  b.Prop("TypeKinds", &TKvObjectInspector::GetTypeKinds, &TKvObjectInspector::SetTypeKinds)
      .Type(TypeInfoTTypeKinds())
      .Default(KvInspectorTypeKinds);
  b.Prop("CanDelete", &TKvObjectInspector::GetCanDelete, &TKvObjectInspector::SetCanDelete)
      .Default(false);
}

TKvObjectInspector::TKvObjectInspector(TComponent* AOwner) : TComponent(AOwner) {
  // Form files of designed forms may hold bevels although no palette page offers them.
  RegisterClass(TBevel::StaticClass());
}

TKvObjectInspector::~TKvObjectInspector() {
  if (FOnDestroy) FOnDestroy(this);
  // An engine of EditForm refers to this component: it ends with it, leaving the host's form.
  if (TKFormDesigner* designer = FEditDesigner) {
    FEditDesigner = nullptr;
    designer->OnDesignerDestroy = {};
    designer->Destroy();
  }
  if (FForm && !FForm->InState(csDestroying)) delete FForm;
}

void TKvObjectInspector::Show() {
  if (FForm) FForm->Show();
}

void TKvObjectInspector::Hide() {
  if (FForm) FForm->Hide();
}

void TKvObjectInspector::SelectDesigner(TFormDesigner*) {}

void TKvObjectInspector::RefreshGrid() {}

void TKvObjectInspector::FormNotification(TComponent*, TOperation) {}

void TKvObjectInspector::ObjectChanged(TKFormDesigner* designer) {
  if (FForm) PostMessage(FForm, KM_OBJECTCHANGED, 0, reinterpret_cast<intptr_t>(designer));
}

void TKvObjectInspector::ObjectModified(TKFormDesigner* designer) {
  if (FForm) PostMessage(FForm, KM_OBJECTMODIFIED, 0, reinterpret_cast<intptr_t>(designer));
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
  if (FForm) FForm->Close();
  return true;
}
