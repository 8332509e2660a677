#include "KvPicEdt.h"

#include "StdReg.h"
#include "TypInfo.h"

TfmPicEdt* fmPicEdt = nullptr;

KV_IMPLEMENT_CLASS(TGraphicProperty, "KvPicEdt") {}
KV_IMPLEMENT_CLASS(TGraphicEditor, "KvPicEdt") {}

KV_IMPLEMENT_CLASS(TfmPicEdt, "KvPicEdt") {
  b.Field("OKButton", &TfmPicEdt::OKButton);
  b.Field("CancelButton", &TfmPicEdt::CancelButton);
  b.Field("HelpButton", &TfmPicEdt::HelpButton);
  b.Field("GroupBox1", &TfmPicEdt::GroupBox1);
  b.Field("ImagePanel", &TfmPicEdt::ImagePanel);
  b.Field("ImagePaintBox", &TfmPicEdt::ImagePaintBox);
  b.Field("Load", &TfmPicEdt::Load);
  b.Field("Save", &TfmPicEdt::Save);
  b.Field("Clear", &TfmPicEdt::Clear);
  b.Field("OpenDialog", &TfmPicEdt::OpenDialog);
  b.Field("SaveDialog", &TfmPicEdt::SaveDialog);
  b.Method("FormCreate", &TfmPicEdt::FormCreate);
  b.Method("FormDestroy", &TfmPicEdt::FormDestroy);
  b.Method("LoadClick", &TfmPicEdt::LoadClick);
  b.Method("SaveClick", &TfmPicEdt::SaveClick);
  b.Method("ClearClick", &TfmPicEdt::ClearClick);
  b.Method("HelpButtonClick", &TfmPicEdt::HelpButtonClick);
  b.Method("ImagePaintBoxPaint", &TfmPicEdt::ImagePaintBoxPaint);
}

KV_IMPLEMENT_CLASS(TPictureEditor, "KvPicEdt") {}

namespace {

constexpr const char* kNoPicture = "(None)";

bool HasGraphic(const TPicture* picture) { return picture->GetGraphic() != nullptr; }

}  // namespace

// ---------------------------------------------------------------------------------------------
// TGraphicProperty

std::string TGraphicProperty::GetValue() {
  TObject* o = GetObjectValue();
  if (!o) return kNoPicture;
  if (auto* picture = Cast<TPicture>(o)) {
    if (!picture->GetGraphic() || picture->GetGraphic()->Empty()) return kNoPicture;
  } else if (auto* graphic = Cast<TGraphic>(o); graphic && graphic->Empty()) {
    return kNoPicture;
  }
  return "(" + o->ClassName() + ")";
}

void TGraphicProperty::SetValue(const std::string& value) {
  if (value.empty()) SetOrdValue(0);
}

void TGraphicProperty::Edit() {
  TPictureEditor editor(nullptr);
  TObject* o = GetObjectValue();
  auto* picture = Cast<TPicture>(o);
  if (picture) editor.SetPicture(picture);
  else editor.GetPicture()->SetGraphic(Cast<TGraphic>(o));
  if (!editor.Execute()) return;
  TPersistent* value = picture ? static_cast<TPersistent*>(editor.GetPicture()) : editor.GetPicture()->GetGraphic();
  SetOrdValue(reinterpret_cast<intptr_t>(value));
}

// ---------------------------------------------------------------------------------------------
// TGraphicEditor

void TGraphicEditor::Edit() {
  TComponent* component = Component();
  PPropInfo prop = component ? GetPropInfo(component, "Picture") : nullptr;
  if (!prop || prop->PropType->Kind != tkClass) return;
  auto* picture = Cast<TPicture>(GetObjectProp(component, prop));
  if (!picture) return;
  TPictureEditor editor(nullptr);
  editor.SetPicture(picture);
  if (!editor.Execute()) return;
  SetOrdProp(component, prop, reinterpret_cast<intptr_t>(editor.GetPicture()));
  // A changed picture is a change of the design: without this, closing it would not ask to save.
  if (Designer()) Designer()->Modified();
}

// ---------------------------------------------------------------------------------------------
// TfmPicEdt

TfmPicEdt::TfmPicEdt(TComponent* AOwner) : TForm(AOwner) {
  RegisterStandardClasses();
  InitInheritedComponent(this, TForm::StaticClass());
  fmPicEdt = this;
}

TfmPicEdt::~TfmPicEdt() {
  // OnDestroy would run in TCustomForm's destructor, after this one: run it while this is a TfmPicEdt.
  if (OnDestroy) OnDestroy(this);
  OnDestroy = {};
  if (fmPicEdt == this) fmPicEdt = nullptr;
}

void TfmPicEdt::FormCreate(TObject*) {
  FPicture = new TPicture;
  Save->SetEnabled(false);
}

void TfmPicEdt::FormDestroy(TObject*) {
  delete FPicture;
  FPicture = nullptr;
}

void TfmPicEdt::UpdateButtons() {
  Save->SetEnabled(HasGraphic(FPicture));
  Clear->SetEnabled(HasGraphic(FPicture));
}

void TfmPicEdt::LoadClick(TObject*) {
  OpenDialog->SetTitle("Load Picture");
  if (!OpenDialog->Execute()) return;
  FPicture->LoadFromFile(OpenDialog->GetFileName());  // keeps the old picture when it raises
  ImagePaintBox->Invalidate();
  UpdateButtons();
}

void TfmPicEdt::SaveClick(TObject*) {
  TGraphic* graphic = FPicture->GetGraphic();
  if (!graphic) return;
  SaveDialog->SetTitle("Save Picture");
  SaveDialog->SetDefaultExt(GraphicExtension(graphic->ClassType()));
  SaveDialog->SetFilter(GraphicFilter(graphic->ClassType()));
  if (SaveDialog->Execute()) FPicture->SaveToFile(SaveDialog->GetFileName());
}

void TfmPicEdt::ClearClick(TObject*) {
  FPicture->SetGraphic(nullptr);
  ImagePaintBox->Invalidate();
  UpdateButtons();
}

void TfmPicEdt::HelpButtonClick(TObject*) { Application->HelpContext(GetHelpContext()); }

// A picture that fits is centred; a larger one is shrunk to the box, keeping its proportions,
// from the top-left corner.
void TfmPicEdt::ImagePaintBoxPaint(TObject*) {
  TCanvas* canvas = ImagePaintBox->Canvas();
  TRect r = ImagePaintBox->GetClientRect();
  const int rw = r.Width(), rh = r.Height();
  const int w = FPicture->GetWidth(), h = FPicture->GetHeight();
  canvas->GetBrush()->SetColor(ImagePaintBox->GetColor());
  if (w > 0) {
    if (w > rw || h > rh) {
      if (w > h) r.Bottom = r.Top + MulDiv(h, rw, w);
      else r.Right = r.Left + MulDiv(w, rh, h);
      canvas->StretchDraw(r, FPicture->GetGraphic());
    } else {
      canvas->Draw(r.Left + (rw - w) / 2, r.Top + (rh - h) / 2, FPicture->GetGraphic());
    }
  } else {
    const int tw = canvas->TextWidth(kNoPicture), th = canvas->TextHeight(kNoPicture);
    canvas->TextOut(r.Left + (rw - tw) / 2, r.Top + (rh - th) / 2, kNoPicture);
  }
}

// ---------------------------------------------------------------------------------------------
// TPictureEditor

TPictureEditor::TPictureEditor(TComponent* AOwner)
    : TComponent(AOwner), FGraphicClass(TGraphic::StaticClass()), FPicture(new TPicture) {
  FForm = new TfmPicEdt(this);
}

TPictureEditor::~TPictureEditor() {
  delete FForm;  // leaves the owner's list itself
  delete FPicture;
}

void TPictureEditor::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == opRemove && component == FForm) FForm = nullptr;
}

void TPictureEditor::SetPicture(TPicture* value) { FPicture->Assign(value); }

bool TPictureEditor::Execute() {
  if (!FForm) FForm = new TfmPicEdt(this);
  FForm->Picture()->Assign(FPicture);
  FForm->OpenDialog->SetOptions({ofHideReadOnly, ofShowHelp, ofFileMustExist});
  // Saving asks before it replaces an existing file: a slip of the mouse must not destroy one.
  FForm->SaveDialog->SetOptions({ofOverwritePrompt, ofHideReadOnly, ofShowHelp, ofPathMustExist});
  for (TOpenDialog* dialog :
       {static_cast<TOpenDialog*>(FForm->OpenDialog), static_cast<TOpenDialog*>(FForm->SaveDialog)}) {
    dialog->SetDefaultExt(GraphicExtension(FGraphicClass));
    dialog->SetFilter(GraphicFilter(FGraphicClass));
  }
  FForm->UpdateButtons();
  const bool ok = FForm->ShowModal() == mrOk;
  if (ok) FPicture->Assign(FForm->Picture());
  return ok;
}

// ---------------------------------------------------------------------------------------------

void RegisterPictureEditors() {
  static bool done = false;
  if (done) return;
  done = true;
  RegisterPropertyEditor(TPicture::StaticClass()->TypeInfo(), nullptr, "", TGraphicProperty::StaticClass());
  RegisterPropertyEditor(TGraphic::StaticClass()->TypeInfo(), nullptr, "", TGraphicProperty::StaticClass());
  RegisterComponentEditor(TImage::StaticClass(), TGraphicEditor::StaticClass());
}
