#include "KvFrmDsg.h"

#include "Consts.h"
#include "Dialogs.h"
#include "KvAlignP.h"
#include "KvClass.h"
#include "KvConfrm.h"
#include "KvObjIns.h"
#include "KvPalArt.h"
#include "KvReg.h"
#include "KvSelFrm.h"
#include "KvTbNtBk.h"
#include "KvToolOp.h"
#include "StdReg.h"
#include "SysUtils.h"
#include "TypInfo.h"
#include "Windows.h"

KV_IMPLEMENT_CLASS(TKvFormDesigner, "KvFrmDsg") {
  b.Prop("OnDestroy", &TKvFormDesigner::FOnDestroy);
  b.Prop("OnDesignModified", &TKvFormDesigner::OnDesignModified);
  b.Prop("OnSelectionChanged", &TKvFormDesigner::OnSelectionChanged);
  b.Prop("OnSaveQuery", &TKvFormDesigner::OnSaveQuery);
  b.Prop("TypeKinds", &TKvFormDesigner::GetTypeKinds, &TKvFormDesigner::SetTypeKinds)
      .Type(TypeInfoTTypeKinds())
      .Default(KvDesignerTypeKinds);
  b.Prop("CanInsert", &TKvFormDesigner::GetCanInsert, &TKvFormDesigner::SetCanInsert).Default(true);
  b.Prop("CanDelete", &TKvFormDesigner::GetCanDelete, &TKvFormDesigner::SetCanDelete).Default(true);
  b.Prop("SnapToGrid", &TKvFormDesigner::GetSnapToGrid, &TKvFormDesigner::SetSnapToGrid).Default(true);
  b.Prop("DisplayGrid", &TKvFormDesigner::GetDisplayGrid, &TKvFormDesigner::SetDisplayGrid).Default(true);
  b.Prop("HideOnEmpty", &TKvFormDesigner::GetHideOnEmpty, &TKvFormDesigner::SetHideOnEmpty).Default(true);
  b.Prop("ShowOnFirst", &TKvFormDesigner::GetShowOnFirst, &TKvFormDesigner::SetShowOnFirst).Default(true);
  b.Prop("CloseOnHide", &TKvFormDesigner::GetCloseOnHide, &TKvFormDesigner::SetCloseOnHide).Default(true);
  b.Prop("GridX", &TKvFormDesigner::GetGridX, &TKvFormDesigner::SetGridX).Default(8);
  b.Prop("GridY", &TKvFormDesigner::GetGridY, &TKvFormDesigner::SetGridY).Default(8);
}

KV_IMPLEMENT_CLASS(TfmKvFrmDsg, "KvFrmDsg") {
  b.Field("MainMenu1", &TfmKvFrmDsg::MainMenu1);
  b.Field("FileItem", &TfmKvFrmDsg::FileItem);
  b.Field("OpemFileItem", &TfmKvFrmDsg::OpemFileItem);
  b.Field("SaveFileAsItem", &TfmKvFrmDsg::SaveFileAsItem);
  b.Field("ExitItem", &TfmKvFrmDsg::ExitItem);
  b.Field("ViewItem", &TfmKvFrmDsg::ViewItem);
  b.Field("ObjectInspectorItem", &TfmKvFrmDsg::ObjectInspectorItem);
  b.Field("OpenDialog1", &TfmKvFrmDsg::OpenDialog1);
  b.Field("SaveDialog1", &TfmKvFrmDsg::SaveDialog1);
  b.Field("N1", &TfmKvFrmDsg::N1);
  b.Field("PanelSpeedbar", &TfmKvFrmDsg::PanelSpeedbar);
  b.Field("btOpenFile", &TfmKvFrmDsg::btOpenFile);
  b.Field("btSaveFile", &TfmKvFrmDsg::btSaveFile);
  b.Field("SizingToolbar", &TfmKvFrmDsg::SizingToolbar);
  b.Field("btNewForm", &TfmKvFrmDsg::btNewForm);
  b.Field("NewFormItem", &TfmKvFrmDsg::NewFormItem);
  b.Field("ToolsItem", &TfmKvFrmDsg::ToolsItem);
  b.Field("EnvironmentOptionsItem", &TfmKvFrmDsg::EnvironmentOptionsItem);
  b.Field("EditItem", &TfmKvFrmDsg::EditItem);
  b.Field("BringToFrontItem", &TfmKvFrmDsg::BringToFrontItem);
  b.Field("SendToBackItem", &TfmKvFrmDsg::SendToBackItem);
  b.Field("AlignItem", &TfmKvFrmDsg::AlignItem);
  b.Field("AlignmentPaletteItem", &TfmKvFrmDsg::AlignmentPaletteItem);
  b.Field("AligntoGridItem", &TfmKvFrmDsg::AligntoGridItem);
  b.Field("UndoItem", &TfmKvFrmDsg::UndoItem);
  b.Field("RedoItem", &TfmKvFrmDsg::RedoItem);
  b.Field("N3", &TfmKvFrmDsg::N3);
  b.Field("CutItem", &TfmKvFrmDsg::CutItem);
  b.Field("CopyItem", &TfmKvFrmDsg::CopyItem);
  b.Field("PasteItem", &TfmKvFrmDsg::PasteItem);
  b.Field("DeleteItem", &TfmKvFrmDsg::DeleteItem);
  b.Field("N4", &TfmKvFrmDsg::N4);
  b.Field("SizeItem", &TfmKvFrmDsg::SizeItem);
  b.Field("Bevel1", &TfmKvFrmDsg::Bevel1);
  b.Field("KvTabbedNotebook1", &TfmKvFrmDsg::KvTabbedNotebook1);
  b.Field("KvObjectInspector1", &TfmKvFrmDsg::KvObjectInspector1);
  b.Field("PanelPalette", &TfmKvFrmDsg::PanelPalette);
  b.Field("SaveFileItem", &TfmKvFrmDsg::SaveFileItem);
  b.Field("GenerateUnitAsItem", &TfmKvFrmDsg::GenerateUnitAsItem);
  b.Field("CloseItem", &TfmKvFrmDsg::CloseItem);
  b.Field("btSelectForm", &TfmKvFrmDsg::btSelectForm);
  b.Field("N2", &TfmKvFrmDsg::N2);
  b.Field("SelectFormItem", &TfmKvFrmDsg::SelectFormItem);
  b.Method("FormCreate", &TfmKvFrmDsg::FormCreate);
  b.Method("FormShow", &TfmKvFrmDsg::FormShow);
  b.Method("FormActivate", &TfmKvFrmDsg::FormActivate);
  b.Method("FormHide", &TfmKvFrmDsg::FormHide);
  b.Method("FormDestroy", &TfmKvFrmDsg::FormDestroy);
  b.Method("FormCloseQuery", &TfmKvFrmDsg::FormCloseQuery);
  b.Method("NewFormItemClick", &TfmKvFrmDsg::NewFormItemClick);
  b.Method("OpenFileItemClick", &TfmKvFrmDsg::OpenFileItemClick);
  b.Method("SaveFileItemClick", &TfmKvFrmDsg::SaveFileItemClick);
  b.Method("SaveFileAsItemClick", &TfmKvFrmDsg::SaveFileAsItemClick);
  b.Method("GenerateUnitAsItemClick", &TfmKvFrmDsg::GenerateUnitAsItemClick);
  b.Method("CloseItemClick", &TfmKvFrmDsg::CloseItemClick);
  b.Method("UndoItemClick", &TfmKvFrmDsg::UndoItemClick);
  b.Method("RedoItemClick", &TfmKvFrmDsg::RedoItemClick);
  b.Method("CutItemClick", &TfmKvFrmDsg::CutItemClick);
  b.Method("CopyItemClick", &TfmKvFrmDsg::CopyItemClick);
  b.Method("PasteItemClick", &TfmKvFrmDsg::PasteItemClick);
  b.Method("DeleteItemClick", &TfmKvFrmDsg::DeleteItemClick);
  b.Method("AligntoGridItemClick", &TfmKvFrmDsg::AligntoGridItemClick);
  b.Method("BringToFrontItemClick", &TfmKvFrmDsg::BringToFrontItemClick);
  b.Method("SendToBackItemClick", &TfmKvFrmDsg::SendToBackItemClick);
  b.Method("AlignItemClick", &TfmKvFrmDsg::AlignItemClick);
  b.Method("SizeItemClick", &TfmKvFrmDsg::SizeItemClick);
  b.Method("ObjectInspectorItemClick", &TfmKvFrmDsg::ObjectInspectorItemClick);
  b.Method("AlignmentPaletteItemClick", &TfmKvFrmDsg::AlignmentPaletteItemClick);
  b.Method("SelectFormItemClick", &TfmKvFrmDsg::SelectFormItemClick);
  b.Method("EnvironmentOptionsItemClick", &TfmKvFrmDsg::EnvironmentOptionsItemClick);
  b.Method("ExitItemClick", &TfmKvFrmDsg::ExitItemClick);
  b.Method("btCloseClick", &TfmKvFrmDsg::btCloseClick);
  b.Method("SizingToolbarMouseDown", &TfmKvFrmDsg::SizingToolbarMouseDown);
  b.Method("SizingToolbarMouseMove", &TfmKvFrmDsg::SizingToolbarMouseMove);
  b.Method("SizingToolbarMouseUp", &TfmKvFrmDsg::SizingToolbarMouseUp);
}

std::string KvFileNamePart(const std::string& path) {
  size_t cut = path.find_last_of("\\/:");
  return cut == std::string::npos ? path : path.substr(cut + 1);
}

// ---------------------------------------------------------------------------------------------
// TKvFormDesigner

TKvFormDesigner::TKvFormDesigner(TComponent* AOwner) : TComponent(AOwner) {
  // One call sets a host up: the standard components and the kit's own on the palette, with
  // the bitmaps the library draws (a host's ReadDCRFile adds or replaces them, before or after).
  RegisterStandardComponents();
  KvReg::Register();
  AddStandardPaletteBitmaps();
  if (!(AOwner && AOwner->InState(csDesigning)) && !FDesignerWindow) {
    FDesignerWindow = new TfmKvFrmDsg(Application);
    FDesignerWindow->FFormDesigner = this;
  }
}

TKvFormDesigner::~TKvFormDesigner() {
  if (FOnDestroy) FOnDestroy(this);
  if (FDesignerWindow && !FDesignerWindow->InState(csDestroying)) delete FDesignerWindow;
}

void TKvFormDesigner::NewForm() {
  if (FDesignerWindow) FDesignerWindow->OpenDesigner("", nullptr);
}

void TKvFormDesigner::OpenForm(const std::string& fileName) {
  if (FDesignerWindow) FDesignerWindow->OpenDesigner(fileName, nullptr);
}

void TKvFormDesigner::EditForm(TForm* form) {
  if (FDesignerWindow) FDesignerWindow->OpenDesigner("", form);
}

void TKvFormDesigner::CloseForm(TCustomForm* form) {
  if (FDesignerWindow) FDesignerWindow->CloseDesignOf(form);
}

void TKvFormDesigner::Show() {
  if (FDesignerWindow) FDesignerWindow->Show();
}

void TKvFormDesigner::Hide() {
  if (FDesignerWindow) FDesignerWindow->Hide();
}

void TKvFormDesigner::CloseQuery(TObject* sender, bool& canClose) {
  if (!FDesignerWindow) return;
  try {
    FDesignerWindow->FormCloseQuery(sender, canClose);
  } catch (...) {
    canClose = true;
  }
}

void TKvFormDesigner::DesignerChanged(TKFormDesigner* designer) {
  if (FDesignerWindow) FDesignerWindow->DesignerChanged(designer);
}

void TKvFormDesigner::DesignModified(TKFormDesigner* designer) {
  if (FDesignerWindow && FDesignerWindow->Recovery()) FDesignerWindow->Recovery()->Changed(designer);
  if (OnDesignModified) OnDesignModified(this, designer);
}

void TKvFormDesigner::SelectionChanged(TKFormDesigner* designer) {
  if (OnSelectionChanged) OnSelectionChanged(this, designer);
}

int TKvFormDesigner::DesignCount() const { return FDesignerWindow ? FDesignerWindow->DesignerCount() : 0; }

TKFormDesigner* TKvFormDesigner::Designs(int index) const {
  if (index < 0 || index >= DesignCount()) throw EListError(Format(SListIndexError, index));
  return FDesignerWindow->Designer(index);
}

TKFormDesigner* TKvFormDesigner::ActiveDesign() const {
  return FDesignerWindow ? FDesignerWindow->CurrentDesigner() : nullptr;
}

void TKvFormDesigner::Save(TKFormDesigner* design) {
  if (!design->FHasFileName)
    throw EKvDesignError(Format("%s has no file yet: save it with SaveAs", design->GetForm()->GetName()));
  SaveAs(design, design->FFileName);
}

void TKvFormDesigner::SaveAs(TKFormDesigner* design, const std::string& fileName, bool writeUnit) {
  if (FDesignerWindow) FDesignerWindow->WriteDesign(design, fileName, writeUnit);
}

void TKvFormDesigner::SaveToStream(TKFormDesigner* design, TStream* stream, bool asText) {
  const std::string image = design->FormFileImage();
  if (!asText) {
    stream->WriteBuffer(image.data(), static_cast<int64_t>(image.size()));
    return;
  }
  TMemoryStream in;
  in.WriteBuffer(image.data(), static_cast<int64_t>(image.size()));
  in.SetPosition(0);
  ObjectResourceToText(&in, stream);
}

bool TKvFormDesigner::CloseAll(bool discard) {
  if (!FDesignerWindow) return true;
  if (discard) {
    FDesignerWindow->CloseAllDesigners();
    return true;
  }
  bool closed = false;
  FDesignerWindow->FormCloseQuery(this, closed);
  return closed;
}

std::string TKvFormDesigner::GetRecoveryFolder() const {
  return FDesignerWindow && FDesignerWindow->Recovery() ? FDesignerWindow->Recovery()->Folder() : "";
}

void TKvFormDesigner::SetRecoveryFolder(const std::string& folder) {
  if (FDesignerWindow && FDesignerWindow->Recovery()) FDesignerWindow->Recovery()->SetFolder(folder);
}

void TKvFormDesigner::SetRecoveryInterval(unsigned milliseconds) {
  if (FDesignerWindow && FDesignerWindow->Recovery()) FDesignerWindow->Recovery()->SetInterval(milliseconds);
}

bool TKvFormDesigner::IsShortCut(uint16_t key, TShiftState shift) {
  // Ctrl+Y is the other short cut of Redo; a menu item carries one.
  if (key == 'Y' && shift == TShiftState{ssCtrl} && FDesignerWindow && FDesignerWindow->RedoItem) {
    FDesignerWindow->RedoItem->Click();
    return true;
  }
  return FDesignerWindow && FDesignerWindow->MainMenu1 && FDesignerWindow->MainMenu1->IsShortCut(key, shift);
}

TClass TKvFormDesigner::PaletteClass() { return FDesignerWindow ? FDesignerWindow->GetSelectedComponent() : nullptr; }

void TKvFormDesigner::ResetPalette() {
  if (FDesignerWindow) FDesignerWindow->SetPointer();
}

// New designs open below the window, which spans the top of the screen.
int TKvFormDesigner::NewDesignTop() {
  return FDesignerWindow ? FDesignerWindow->GetTop() + FDesignerWindow->GetHeight() : 200;
}

TKvTabbedNotebook* TKvFormDesigner::KvTabbedNotebook1() const {
  return FDesignerWindow ? FDesignerWindow->KvTabbedNotebook1 : nullptr;
}

TKvObjectInspector* TKvFormDesigner::ObjectInspector() const {
  return FDesignerWindow ? FDesignerWindow->KvObjectInspector1 : nullptr;
}

// ---------------------------------------------------------------------------------------------
// TfmKvFrmDsg: the design list.

namespace {
constexpr int KvFrmDsgMinWidth = 600;
constexpr int KvFrmDsgHeight = 108;
constexpr int KvFrmDsgSplitterLimit = 400;
}  // namespace

TfmKvFrmDsg::TfmKvFrmDsg(TComponent* AOwner) : TForm(AOwner) {
  // The classes of the kit that the layout holds.
  RegisterClasses({TKvObjectInspector::StaticClass(), TKvTabbedNotebook::StaticClass(), TKvTabPage::StaticClass()});
  InitInheritedComponent(this, TForm::StaticClass());
}

TfmKvFrmDsg::~TfmKvFrmDsg() {
  // OnDestroy would run in TCustomForm's destructor, after this one: close the designs while
  // the window is still whole, and leave nothing for the base class to call back.
  if (FDesigners) FormDestroy(this);
  OnDestroy = {};
}

void TfmKvFrmDsg::OpenDesigner(const std::string& fileName, TForm* liveForm) {
  // What a crash left comes back before the first design of the session takes a form's name.
  if (!FOfferedRecovery) {
    FOfferedRecovery = true;
    OfferRecovery();
  }
  std::string formName;
  if (!fileName.empty() && ExistFormInScreen(fileName, formName)) {
    ShowOpenForm(formName);
    return;
  }
  auto* designer = new TKFormDesigner(FFormDesigner, KvObjectInspector1, fileName, liveForm);
  FCurrentDesigner = designer;
  try {
    if (FDesigners->Count() == 0 && FFormDesigner && FFormDesigner->GetShowOnFirst()) Show();
    FDesigners->Add(designer);
    UpdateDesignerState();
    designer->OnDesignerDestroy = [this](TObject* sender) { return CloseDesigner(sender); };
    designer->GetForm()->BringToFront();
    // Everything the file held that could not be read, told once.
    if (designer->FLoadProblems.Count() > 0)
      MessageDlg("Parts of " + KvFileNamePart(fileName) +
                     " could not be read. The form is open without them; saving keeps them as they were:\n" +
                     StringReplaceAll(designer->FLoadProblems.GetText(), "\r\n", "\n"),
                 mtWarning, {mbOK});
  } catch (...) {
    designer->Destroy();
    CloseDesigner(designer);
  }
}

bool TfmKvFrmDsg::CloseDesigner(TObject* designer) {
  if (FClosingAll) {
    FCurrentDesigner = nullptr;
    return true;
  }
  const bool ending = Application && Application->Terminated();
  if (!ending && FCurrentDesigner && FCurrentDesigner->FModified && !FCurrentDesigner->FIsLiveForm) {
    const TModalResult answer = AskToSave();
    bool result = true;
    if (answer == mrYes) result = SaveDesignerAs(FCurrentDesigner->FFileName);
    else if (answer == mrCancel) result = false;
    if (!result) return false;
  }
  FCurrentDesigner = nullptr;
  int index = FDesigners->IndexOf(designer);
  int next;
  if (index >= 0) {
    DropCopy(Designer(index));
    FDesigners->Delete(index);
    next = index < FDesigners->Count() ? index : index - 1;
  } else {
    next = FDesigners->Count() - 1;
  }
  if (next >= 0) FCurrentDesigner = Designer(next);
  else if (FFormDesigner && FFormDesigner->GetHideOnEmpty()) Close();
  if (FCurrentDesigner) ShowDesignedForm();
  UpdateDesignerState();
  return true;
}

// A design that closes as the application ends, with no one to ask, keeps its recovery copy
// for the next start; otherwise closing means its changes go.
void TfmKvFrmDsg::DropCopy(TKFormDesigner* design) {
  if (Application && Application->Terminated()) FRecovery->Keep(design);
  else FRecovery->Forget(design);
}

TModalResult TfmKvFrmDsg::AskToSave() {
  TModalResult answer = mrNone;
  if (FFormDesigner && FFormDesigner->OnSaveQuery) FFormDesigner->OnSaveQuery(FFormDesigner, FCurrentDesigner, answer);
  if (answer != mrNone) return answer;
  ShowDesignedForm();
  auto* confirm = new TfmKvConfrm(Application);
  fmKvConfrm = confirm;
  try {
    confirm->MsgLabel->SetCaption("Save Changes to " + KvFileNamePart(FCurrentDesigner->FFileName) + "?");
    answer = confirm->ShowModal();
  } catch (...) {
    delete confirm;
    throw;
  }
  delete confirm;
  return answer;
}

void TfmKvFrmDsg::CloseAllDesigners() {
  FClosingAll = true;
  while (FDesigners->Count() > 0) {
    FCurrentDesigner = Designer(0);
    DropCopy(FCurrentDesigner);
    FCurrentDesigner->Destroy();
    FDesigners->Delete(0);
  }
  FCurrentDesigner = nullptr;
  if (KvObjectInspector1 && !KvObjectInspector1->InState(csDestroying)) KvObjectInspector1->SelectDesigner(nullptr);
  FClosingAll = false;
}

void TfmKvFrmDsg::ShowDesignedForm() {
  if (!FCurrentDesigner || !FCurrentDesigner->GetForm()) return;
  TCustomForm* form = FCurrentDesigner->GetForm();
  if (form->GetWindowState() != wsNormal) form->SetWindowState(wsNormal);
  form->BringToFront();
  // The keyboard goes with it: the design in front is the one the commands act on.
  if (form->GetVisible()) form->SetFocus();
}

// A second design of a form already open would save over the first one's file under the same
// name: the open one comes up instead, and the user hears why nothing was loaded.
void TfmKvFrmDsg::ShowOpenForm(const std::string& formName) {
  for (int i = 0; i < FDesigners->Count(); ++i) {
    if (!SameText(Designer(i)->GetForm()->GetName(), formName)) continue;
    FCurrentDesigner = Designer(i);
    ShowDesignedForm();
    UpdateDesignerState();
    break;
  }
  MessageDlg(Format("A form named %s is already open.", formName), mtInformation, {mbOK});
}

void TfmKvFrmDsg::UpdateDesignerState() {
  if (FAlignPalette) FAlignPalette->Designer = nullptr;
  if (!FFormDesigner || FFormDesigner->InState(csDestroying)) return;
  bool hasDesign = FCurrentDesigner && !FCurrentDesigner->IsTornDown();
  if (hasDesign != SaveFileAsItem->GetEnabled()) {
    for (TMenuItem* item : {SaveFileAsItem, CloseItem, AligntoGridItem, BringToFrontItem, SendToBackItem, AlignItem,
                            SizeItem, SelectFormItem, CutItem, CopyItem, PasteItem, DeleteItem})
      item->SetEnabled(hasDesign);
    btSelectForm->SetEnabled(hasDesign);
  }
  UndoItem->SetCaption(hasDesign ? FCurrentDesigner->UndoCaption() : "Undo");
  UndoItem->SetEnabled(hasDesign && FCurrentDesigner->CanUndo());
  RedoItem->SetCaption(hasDesign ? FCurrentDesigner->RedoCaption() : "Redo");
  RedoItem->SetEnabled(hasDesign && FCurrentDesigner->CanRedo());
  bool canSave = hasDesign && FCurrentDesigner->FModified;
  SaveFileItem->SetEnabled(canSave);
  btSaveFile->SetEnabled(canSave);

  std::string caption =
      (FFormDesigner->GetOwner() ? FFormDesigner->GetOwner()->GetName() : "") + "." + FFormDesigner->GetName();
  if (hasDesign) caption += " - " + FCurrentDesigner->GetForm()->GetName();
  bool canInsert = FFormDesigner->GetCanInsert(), canDelete = FFormDesigner->GetCanDelete();
  caption += canInsert && canDelete ? " (Insert & Delete)"
             : canInsert            ? " (Insert only)"
             : canDelete            ? " (Delete only)"
                                    : " (Modify only)";
  SetCaption(caption);
  if (FAlignPalette) FAlignPalette->Designer = FCurrentDesigner;
}

void TfmKvFrmDsg::DesignerChanged(TKFormDesigner* designer) {
  FCurrentDesigner = designer;
  UpdateDesignerState();
}

TClass TfmKvFrmDsg::GetSelectedComponent() { return KvTabbedNotebook1 ? KvTabbedNotebook1->SelectedClass() : nullptr; }

void TfmKvFrmDsg::SetPointer() {
  if (KvTabbedNotebook1) KvTabbedNotebook1->SetPointer();
}

// ---------------------------------------------------------------------------------------------
// Window events.

void TfmKvFrmDsg::FormCreate(TObject*) {
  FDesigners = new TList();
  KvTabbedNotebook1->GetPages()->Clear();
  SetBounds(0, 0, GetSystemMetrics(SM_CXFULLSCREEN), GetHeight());
  SizingToolbar->SetHeight(60);
  FAlignPalette = new TfmKvAlignP(Application);
  fmKvAlignP = FAlignPalette;
  FRecovery = std::make_unique<TKvRecovery>(this);
}

void TfmKvFrmDsg::FormShow(TObject*) {
  if (KvObjectInspector1) {
    KvObjectInspector1->Show();
    // A tool window: a click on a design must not bury it.
    if (TForm* window = KvObjectInspector1->Form()) window->SetFormStyle(fsStayOnTop);
  }
  UpdateDesignerState();
}

void TfmKvFrmDsg::FormActivate(TObject*) {
  if (!KvObjectInspector1 || !FFormDesigner) return;
  KvObjectInspector1->SetTypeKinds(FFormDesigner->GetTypeKinds());
  if (TForm* window = KvObjectInspector1->Form()) window->SetTop(GetTop() + GetHeight());
}

void TfmKvFrmDsg::FormHide(TObject*) {
  if (FFormDesigner && FFormDesigner->GetCloseOnHide()) {
    bool canClose = false;
    FormCloseQuery(this, canClose);
    CloseAllDesigners();
  }
  if (KvObjectInspector1 && !KvObjectInspector1->InState(csDestroying)) KvObjectInspector1->Hide();
}

void TfmKvFrmDsg::FormDestroy(TObject*) {
  if (!FDesigners) return;
  CloseAllDesigners();
  delete FDesigners;
  FDesigners = nullptr;
  FRecovery.reset();
  if (FAlignPalette && !FAlignPalette->InState(csDestroying)) delete FAlignPalette;
  if (fmKvAlignP == FAlignPalette) fmKvAlignP = nullptr;
  FAlignPalette = nullptr;
  if (FFormDesigner) FFormDesigner->FDesignerWindow = nullptr;
}

void TfmKvFrmDsg::FormCloseQuery(TObject*, bool& canClose) {
  canClose = false;
  for (int i = FDesigners->Count() - 1; i >= 0; --i) {
    FCurrentDesigner = Designer(i);
    if (!CloseDesigner(this)) return;
  }
  CloseAllDesigners();
  canClose = true;
}

// ---------------------------------------------------------------------------------------------
// Commands.

void TfmKvFrmDsg::NewFormItemClick(TObject*) { OpenDesigner("", nullptr); }

void TfmKvFrmDsg::OpenFileItemClick(TObject*) {
  if (OpenDialog1->Execute()) OpenDesigner(OpenDialog1->GetFileName(), nullptr);
}

bool TfmKvFrmDsg::RunSaveDialog(const std::string& filter, const std::string& fileName, const std::string& defaultExt,
                                std::string& chosen) {
  SaveDialog1->SetFilter(filter);
  SaveDialog1->SetFileName(fileName);
  SaveDialog1->SetDefaultExt(defaultExt);
  if (!SaveDialog1->Execute()) return false;
  chosen = SaveDialog1->GetFileName();
  return true;
}

bool TfmKvFrmDsg::RunSaveFormDialog(const std::string& fileName, std::string& chosen) {
  SaveDialog1->SetFilterIndex(FCurrentDesigner->FTextForm ? 2 : 1);
  if (!RunSaveDialog("Delphi form (*.dfm)|*.dfm|Delphi text form (*.dfm)|*.dfm", fileName, ".DFM", chosen))
    return false;
  FCurrentDesigner->FTextForm = SaveDialog1->GetFilterIndex() == 2;
  return true;
}

void TfmKvFrmDsg::WriteDesign(TKFormDesigner* design, const std::string& fileName, bool writeUnit) {
  design->WriteUnits(fileName, writeUnit);
  FRecovery->Forget(design);
  UpdateDesignerState();
}

void TfmKvFrmDsg::OfferRecovery() {
  std::vector<TKvRecoveredDesign> copies = FRecovery->Orphans();
  if (copies.empty()) return;
  std::string list;
  for (const auto& copy : copies)
    list += "\n" + copy.FormName + " (" + (copy.FileName.empty() ? "never saved" : copy.FileName) + "), " + copy.Saved;
  const std::string message = "The designer ended without saving these designs:" + list + "\n\nRestore them?";
  const bool restore = MessageDlg(message, mtConfirmation, {mbYes, mbNo}) == mrYes;
  // A copy that does not open stays, to be offered again.
  for (const auto& copy : copies)
    if (!restore || RestoreDesign(copy)) TKvRecovery::Discard(copy);
}

// The copy opens as the design it was: its own file name, modified, and copied again at once
// in this session before the old copy goes.
bool TfmKvFrmDsg::RestoreDesign(const TKvRecoveredDesign& copy) {
  const int count = DesignerCount();
  OpenDesigner(copy.CopyFile, nullptr);
  if (DesignerCount() == count) return false;
  TKFormDesigner* design = Designer(DesignerCount() - 1);
  design->FHasFileName = !copy.FileName.empty();
  design->FFileName = design->FHasFileName ? copy.FileName : design->GetForm()->GetName() + ".DFM";
  design->FModified = true;
  FRecovery->WriteNow(design);
  UpdateDesignerState();
  return true;
}

void TfmKvFrmDsg::SaveFileItemClick(TObject* sender) {
  if (!FCurrentDesigner) return;
  if (FCurrentDesigner->FHasFileName) WriteCurrent(FCurrentDesigner->FFileName, false);
  else SaveFileAsItemClick(sender);
}

void TfmKvFrmDsg::SaveFileAsItemClick(TObject*) {
  std::string chosen;
  if (FCurrentDesigner && RunSaveFormDialog(FCurrentDesigner->FFileName, chosen)) WriteCurrent(chosen, false);
}

void TfmKvFrmDsg::GenerateUnitAsItemClick(TObject*) {
  std::string chosen;
  if (FCurrentDesigner &&
      RunSaveDialog("Delphi form & unit (*.pas)|*.pas", FCurrentDesigner->FFileName, ".PAS", chosen))
    WriteCurrent(chosen, true);
}

void TfmKvFrmDsg::CloseItemClick(TObject*) {
  if (FCurrentDesigner) CloseDesignOf(FCurrentDesigner->GetForm());
}

// Closing a designed form ends its design (the engine takes the form's close), with the save
// prompt for a modified form file; a live form of the host takes its own input again.
void TfmKvFrmDsg::CloseDesignOf(TCustomForm* form) {
  for (int i = 0; form && i < FDesigners->Count(); ++i) {
    if (Designer(i)->GetForm() != form) continue;
    form->Perform(WM_CLOSE, 0, 0);
    return;
  }
}

bool TfmKvFrmDsg::SaveDesignerAs(const std::string& fileName) {
  if (!FCurrentDesigner) return false;
  std::string target = fileName;
  if (!FCurrentDesigner->FHasFileName && !RunSaveFormDialog(fileName, target)) return false;
  WriteCurrent(target, false);
  return true;
}

void TfmKvFrmDsg::UndoItemClick(TObject*) {
  if (FCurrentDesigner) FCurrentDesigner->Undo();
}

void TfmKvFrmDsg::RedoItemClick(TObject*) {
  if (FCurrentDesigner) FCurrentDesigner->Redo();
}

void TfmKvFrmDsg::CutItemClick(TObject*) {
  if (FCurrentDesigner) FCurrentDesigner->CutSelection();
}

void TfmKvFrmDsg::CopyItemClick(TObject*) {
  if (FCurrentDesigner) FCurrentDesigner->CopySelection();
}

void TfmKvFrmDsg::PasteItemClick(TObject*) {
  if (FCurrentDesigner) FCurrentDesigner->Paste();
}

void TfmKvFrmDsg::DeleteItemClick(TObject*) {
  if (FCurrentDesigner) FCurrentDesigner->DeleteSelection();
}

void TfmKvFrmDsg::AligntoGridItemClick(TObject*) {
  if (FCurrentDesigner) FCurrentDesigner->AlignToGrid(this);
}

void TfmKvFrmDsg::BringToFrontItemClick(TObject*) {
  if (FCurrentDesigner) FCurrentDesigner->BringToFront(this);
}

void TfmKvFrmDsg::SendToBackItemClick(TObject*) {
  if (FCurrentDesigner) FCurrentDesigner->SendToBack(this);
}

void TfmKvFrmDsg::AlignItemClick(TObject*) {
  if (FCurrentDesigner) FCurrentDesigner->Align(this);
}

void TfmKvFrmDsg::SizeItemClick(TObject*) {
  if (FCurrentDesigner) FCurrentDesigner->Size(this);
}

void TfmKvFrmDsg::ObjectInspectorItemClick(TObject*) {
  if (KvObjectInspector1) KvObjectInspector1->Show();
}

void TfmKvFrmDsg::AlignmentPaletteItemClick(TObject*) {
  if (FAlignPalette) FAlignPalette->Show();
}

void TfmKvFrmDsg::SelectFormItemClick(TObject*) {
  if (!FCurrentDesigner) return;
  auto* dialog = new TfmKvSelFrm(Application);
  fmKvSelFrm = dialog;
  try {
    dialog->Edit1->SetText(FCurrentDesigner->GetForm()->GetName());
    for (int i = 0; i < FDesigners->Count(); ++i) dialog->ListBox1->GetItems()->Add(Designer(i)->GetForm()->GetName());
    if (dialog->ShowModal() == mrOk && dialog->ListBox1->GetItemIndex() >= 0) {
      std::string entry = dialog->ListBox1->GetItems()->Get(dialog->ListBox1->GetItemIndex());
      for (int i = 0; i < FDesigners->Count(); ++i) {
        FCurrentDesigner = Designer(i);
        if (FCurrentDesigner->GetForm()->GetName() == entry) break;
      }
      ShowDesignedForm();
      UpdateDesignerState();
    }
  } catch (...) {
    delete dialog;
    fmKvSelFrm = nullptr;
    throw;
  }
  delete dialog;
  fmKvSelFrm = nullptr;
}

void TfmKvFrmDsg::EnvironmentOptionsItemClick(TObject*) {
  if (!FFormDesigner) return;
  auto* dialog = new TfmKvToolOp(Application);
  fmKvToolOp = dialog;
  try {
    dialog->GridX = FFormDesigner->GetGridX();
    dialog->GridY = FFormDesigner->GetGridY();
    dialog->SnapToGrid = FFormDesigner->GetSnapToGrid();
    dialog->DisplayGrid = FFormDesigner->GetDisplayGrid();
    if (dialog->ShowModal() == mrOk) {
      FFormDesigner->SetSnapToGrid(dialog->SnapToGrid);
      FFormDesigner->SetDisplayGrid(dialog->DisplayGrid);
      FFormDesigner->SetGridX(dialog->GridX);
      FFormDesigner->SetGridY(dialog->GridY);
      for (int i = 0; i < FDesigners->Count(); ++i) Designer(i)->GetForm()->Perform(CM_COLORCHANGED, 0, 0);
    }
  } catch (...) {
    delete dialog;
    fmKvToolOp = nullptr;
    throw;
  }
  delete dialog;
  fmKvToolOp = nullptr;
}

// Exit has no handler of its own in a Delphi layout of this window; closing the window is what
// a user expects of it.
void TfmKvFrmDsg::ExitItemClick(TObject*) { Close(); }

void TfmKvFrmDsg::btCloseClick(TObject*) { Close(); }

// ---------------------------------------------------------------------------------------------
// Geometry: a fixed-height bar at least 600 pixels wide; the speed-bar splitter.

void TfmKvFrmDsg::Dispatch(TMessage& message) {
  if (message.Msg == WM_SIZE) {
    if (message.WParam == SIZE_MAXIMIZED) {
      SetBounds(0, 0, GetSystemMetrics(SM_CXFULLSCREEN), KvFrmDsgHeight);
    } else {
      TForm::Dispatch(message);
      if (GetWidth() < KvFrmDsgMinWidth || GetHeight() != KvFrmDsgHeight)
        SetBounds(GetLeft(), GetTop(), std::max(GetWidth(), KvFrmDsgMinWidth), KvFrmDsgHeight);
    }
    Relayout();
    return;
  }
  TForm::Dispatch(message);
}

void TfmKvFrmDsg::Relayout() {
  if (KvTabbedNotebook1) KvTabbedNotebook1->SetAlign(alClient);
  if (PanelPalette) PanelPalette->SetVisible(false);
}

void TfmKvFrmDsg::SizingToolbarMouseDown(TObject*, TMouseButton, TShiftState, int x, int y) {
  FSizing = true;
  FDownPoint = {x, y};
}

void TfmKvFrmDsg::SizingToolbarMouseMove(TObject*, TShiftState, int x, int y) {
  if (!FSizing) return;
  TPoint s = SizingToolbar->ClientToScreen({x, y});
  TPoint p = ScreenToClient(s);
  if (p.X < KvFrmDsgSplitterLimit) {
    SizingToolbar->SetLeft(p.X - 1);
    PanelSpeedbar->SetWidth(s.X - PanelSpeedbar->ClientOrigin().X + 3);
  }
  SizingToolbar->Repaint();
  Relayout();
}

void TfmKvFrmDsg::SizingToolbarMouseUp(TObject*, TMouseButton, TShiftState, int, int) { FSizing = false; }
