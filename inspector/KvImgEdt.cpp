#include "KvImgEdt.h"

#include <algorithm>
#include <memory>

#include "StdReg.h"

TfmKvImgEdt* fmKvImgEdt = nullptr;

KV_IMPLEMENT_CLASS(TImageListEditor, "KvImgEdt") {}

KV_IMPLEMENT_CLASS(TfmKvImgEdt, "KvImgEdt") {
  b.Field("ImagesLabel", &TfmKvImgEdt::ImagesLabel);
  b.Field("ImageBox", &TfmKvImgEdt::ImageBox);
  b.Field("PreviewLabel", &TfmKvImgEdt::PreviewLabel);
  b.Field("PreviewBox", &TfmKvImgEdt::PreviewBox);
  b.Field("AddButton", &TfmKvImgEdt::AddButton);
  b.Field("DeleteButton", &TfmKvImgEdt::DeleteButton);
  b.Field("LeftButton", &TfmKvImgEdt::LeftButton);
  b.Field("RightButton", &TfmKvImgEdt::RightButton);
  b.Field("ClearButton", &TfmKvImgEdt::ClearButton);
  b.Field("OKButton", &TfmKvImgEdt::OKButton);
  b.Field("CancelButton", &TfmKvImgEdt::CancelButton);
  b.Field("OpenDialog", &TfmKvImgEdt::OpenDialog);
  b.Method("ImageBoxPaint", &TfmKvImgEdt::ImageBoxPaint);
  b.Method("ImageBoxMouseDown", &TfmKvImgEdt::ImageBoxMouseDown);
  b.Method("PreviewBoxPaint", &TfmKvImgEdt::PreviewBoxPaint);
  b.Method("AddButtonClick", &TfmKvImgEdt::AddButtonClick);
  b.Method("DeleteButtonClick", &TfmKvImgEdt::DeleteButtonClick);
  b.Method("LeftButtonClick", &TfmKvImgEdt::LeftButtonClick);
  b.Method("RightButtonClick", &TfmKvImgEdt::RightButtonClick);
  b.Method("ClearButtonClick", &TfmKvImgEdt::ClearButtonClick);
}

// ---------------------------------------------------------------------------------------------
// TImageListEditor

void TImageListEditor::ExecuteVerb(int index) {
  auto* list = dynamic_cast<TImageList*>(Component());
  if (index != 0 || !list) return;
  std::unique_ptr<TfmKvImgEdt> form(new TfmKvImgEdt(Application));
  form->SetCaption((list->Owner() ? list->Owner()->GetName() + "." : std::string()) + list->GetName() + " ImageList");
  form->SetImageList(list);
  if (form->ShowModal() != mrOk) return;
  list->SetBitmapData(form->Images()->BitmapData());
  Designer()->Modified();
}

// ---------------------------------------------------------------------------------------------
// TfmKvImgEdt

TfmKvImgEdt::TfmKvImgEdt(TComponent* AOwner) : TForm(AOwner) {
  RegisterStandardClasses();
  FImages = new TImageList(this);
  InitInheritedComponent(this, TForm::StaticClass());
  OpenDialog->SetOptions({ofHideReadOnly, ofAllowMultiSelect, ofFileMustExist});
  fmKvImgEdt = this;
  Changed();
}

TfmKvImgEdt::~TfmKvImgEdt() {
  if (fmKvImgEdt == this) fmKvImgEdt = nullptr;
}

void TfmKvImgEdt::SetImageList(TImageList* source) {
  FImages->SetWidth(source->GetWidth());
  FImages->SetHeight(source->GetHeight());
  FImages->SetMasked(source->GetMasked());
  FImages->SetAllocBy(source->GetAllocBy());
  FImages->SetBkColor(source->GetBkColor());
  FImages->SetBitmapData(source->BitmapData());
  FSelected = FImages->Count() > 0 ? 0 : -1;
  Changed();
}

void TfmKvImgEdt::AddFile(const std::string& fileName) {
  TPicture picture;
  picture.LoadFromFile(fileName);
  TBitmap image;
  image.SetSize(picture.GetWidth(), picture.GetHeight());
  image.Canvas()->Draw(0, 0, picture.GetGraphic());
  const TColor transparent =
      FImages->GetMasked() && image.GetHeight() > 0 ? image.Canvas()->GetPixel(0, image.GetHeight() - 1) : clNone;
  FSelected = FImages->AddMasked(&image, transparent);
  Changed();
}

void TfmKvImgEdt::Select(int index) {
  FSelected = index >= 0 && index < FImages->Count() ? index : -1;
  Changed();
}

void TfmKvImgEdt::Changed() {
  if (FSelected >= FImages->Count()) FSelected = FImages->Count() - 1;
  const bool has = FSelected >= 0;
  DeleteButton->SetEnabled(has);
  LeftButton->SetEnabled(FSelected > 0);
  RightButton->SetEnabled(has && FSelected < FImages->Count() - 1);
  ClearButton->SetEnabled(FImages->Count() > 0);
  ImageBox->Invalidate();
  PreviewBox->Invalidate();
}

TRect TfmKvImgEdt::CellRect(int i) const {
  const int w = std::max(FImages->GetWidth(), 16) + 8, h = std::max(FImages->GetHeight(), 16) + 8;
  const int perRow = std::max(1, ImageBox->GetWidth() / w);
  return Bounds((i % perRow) * w, (i / perRow) * h, w, h);
}

void TfmKvImgEdt::ImageBoxPaint(TObject*) {
  TCanvas* c = ImageBox->Canvas();
  c->GetBrush()->SetColor(clWindow);
  c->FillRect(Rect(0, 0, ImageBox->GetWidth(), ImageBox->GetHeight()));
  for (int i = 0; i < FImages->Count(); ++i) {
    TRect r = CellRect(i);
    if (i == FSelected) {
      c->GetBrush()->SetColor(clHighlight);
      c->FillRect(r);
    }
    FImages->Draw(c, r.Left + 4, r.Top + 4, i);
  }
}

void TfmKvImgEdt::ImageBoxMouseDown(TObject*, TMouseButton, TShiftState, int X, int Y) {
  for (int i = 0; i < FImages->Count(); ++i)
    if (PtInRect(CellRect(i), {X, Y})) return Select(i);
}

void TfmKvImgEdt::PreviewBoxPaint(TObject*) {
  TCanvas* c = PreviewBox->Canvas();
  const TRect box = Rect(0, 0, PreviewBox->GetWidth(), PreviewBox->GetHeight());
  c->GetBrush()->SetColor(clWindow);
  c->FillRect(box);
  if (FSelected < 0) return;
  TBitmap image;
  image.SetSize(FImages->GetWidth(), FImages->GetHeight());
  image.Canvas()->GetBrush()->SetColor(clWindow);
  image.Canvas()->FillRect(Rect(0, 0, image.GetWidth(), image.GetHeight()));
  FImages->Draw(image.Canvas(), 0, 0, FSelected);
  // As large as the box allows, in whole multiples, centred.
  const int scale = std::max(1, std::min(box.Right / std::max(1, image.GetWidth()), box.Bottom / std::max(1, image.GetHeight())));
  const int w = image.GetWidth() * scale, h = image.GetHeight() * scale;
  c->StretchDraw(Bounds((box.Right - w) / 2, (box.Bottom - h) / 2, w, h), &image);
}

void TfmKvImgEdt::AddButtonClick(TObject*) {
  if (!OpenDialog->Execute()) return;
  for (int i = 0; i < OpenDialog->Files()->Count(); ++i) AddFile(OpenDialog->Files()->Get(i));
}

void TfmKvImgEdt::DeleteButtonClick(TObject*) {
  if (FSelected < 0) return;
  FImages->Delete(FSelected);
  Changed();
}

void TfmKvImgEdt::LeftButtonClick(TObject*) {
  if (FSelected <= 0) return;
  FImages->Move(FSelected, FSelected - 1);
  --FSelected;
  Changed();
}

void TfmKvImgEdt::RightButtonClick(TObject*) {
  if (FSelected < 0 || FSelected >= FImages->Count() - 1) return;
  FImages->Move(FSelected, FSelected + 1);
  ++FSelected;
  Changed();
}

void TfmKvImgEdt::ClearButtonClick(TObject*) {
  FImages->Clear();
  FSelected = -1;
  Changed();
}

// ---------------------------------------------------------------------------------------------

void RegisterImageListEditor() {
  static bool done = false;
  if (done) return;
  done = true;
  RegisterComponentEditor(TImageList::StaticClass(), TImageListEditor::StaticClass());
}
