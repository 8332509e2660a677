// KvFrmDsg: the designer component a host drops on its form, and its tool window: menu, speed
// bar and component palette across the top of the screen, holding the list of open designs.
#pragma once

#include <string>

#include "Buttons.h"
#include "Dialogs.h"
#include "ExtCtrls.h"
#include "Forms.h"
#include "KvDsgn.h"
#include "KvRecover.h"
#include "Menus.h"

class TfmKvFrmDsg;
class TKvTabbedNotebook;
class TfmKvAlignP;
class TKvObjectInspector;

constexpr TTypeKinds KvDesignerTypeKinds = 0x0EFE;

// A request of the host that the designer cannot carry out (saving a design that has no file).
KV_EXCEPTION(EKvDesignError, Exception);

// Something happened to a design of the designer component (Sender).
KV_EVENT(TKvDesignEvent, "Sender: TObject; Design: TKFormDesigner", TObject*, TKFormDesigner*)
// A modified design is about to close: Answer mrYes saves it (through the save dialog when it
// has no file yet), mrNo closes it with its changes lost, mrCancel keeps it open. Answer comes
// in as mrNone; left so, the designer asks the user as it does without a handler.
KV_EVENT(TKvSaveQueryEvent, "Sender: TObject; Design: TKFormDesigner; var Answer: TModalResult", TObject*,
         TKFormDesigner*, TModalResult&)

// The designer component. A host creates one (owned by its main form), then opens designs with
// NewForm, OpenForm or EditForm; the designer window, the palette and the object inspector come
// with it. Everything a host does from code goes through the members below; the window and the
// engines (TKFormDesigner) stay reachable for what they offer beyond that.
class TKvFormDesigner : public TComponent, public IKDesignerHost {
  KV_CLASS(TKvFormDesigner, TComponent)
 public:
  explicit TKvFormDesigner(TComponent* AOwner);
  ~TKvFormDesigner() override;

  // --- Opening designs: a blank form, a form file, or a live form of the host (whose controls
  // get their behaviour back when its design closes).
  void NewForm();
  void OpenForm(const std::string& fileName);
  void EditForm(TForm* form);
  // Ends the design of form, as the designer window's File > Close does for the current design:
  // a live form of the host (EditForm) takes its own input again. Nothing when form is not
  // being designed.
  void CloseForm(TCustomForm* form);
  void Show();
  void Hide();
  // Signature of a form's OnCloseQuery, so a host routes its own close query through it.
  void CloseQuery(TObject* sender, bool& canClose);

  // --- The open designs, in the order they were opened; the active one is where the commands
  // of the designer window act. A design's file name is design->FFileName (FHasFileName says
  // whether it was ever saved or loaded) and its state design->FModified.
  int DesignCount() const;
  TKFormDesigner* Designs(int index) const;  // EListError outside 0..DesignCount()-1
  TKFormDesigner* ActiveDesign() const;      // nil without designs
  // Saves a design to its own file (EKvDesignError when it never had one), or to fileName with,
  // on request, its unit source (.pas) beside it. The design is then unmodified.
  void Save(TKFormDesigner* design);
  void SaveAs(TKFormDesigner* design, const std::string& fileName, bool writeUnit = false);
  // Writes the design's form file to a stream: binary (resource header and form stream, as a .dfm
  // file holds it) or text. The design stays as it is.
  void SaveToStream(TKFormDesigner* design, TStream* stream, bool asText = false);
  // Closes every design. With discard, at once and without a question (changes are lost, and so
  // are their recovery copies); otherwise each modified design is asked about (OnSaveQuery, else
  // the save prompt), and a Cancel stops there. Answers whether every design closed.
  bool CloseAll(bool discard);

  // --- Events.
  TKvDesignEvent OnDesignModified;    // a gesture changed the design (once per gesture)
  TKvDesignEvent OnSelectionChanged;  // the design's selection became another one
  TKvSaveQueryEvent OnSaveQuery;      // see TKvSaveQueryEvent
  TKvTabbedNotebook* KvTabbedNotebook1() const;
  TKvObjectInspector* ObjectInspector() const;

  TTypeKinds GetTypeKinds() const override { return FTypeKinds; }
  void SetTypeKinds(TTypeKinds v) { FTypeKinds = v; }
  bool GetCanInsert() const override { return FCanInsert; }
  void SetCanInsert(bool v) { FCanInsert = v; }
  bool GetCanDelete() const override { return FCanDelete; }
  void SetCanDelete(bool v) { FCanDelete = v; }
  bool GetSnapToGrid() const override { return FSnapToGrid; }
  void SetSnapToGrid(bool v) { FSnapToGrid = v; }
  bool GetDisplayGrid() const override { return FDisplayGrid; }
  void SetDisplayGrid(bool v) { FDisplayGrid = v; }
  bool GetHideOnEmpty() const { return FHideOnEmpty; }
  void SetHideOnEmpty(bool v) { FHideOnEmpty = v; }
  bool GetShowOnFirst() const { return FShowOnFirst; }
  void SetShowOnFirst(bool v) { FShowOnFirst = v; }
  bool GetCloseOnHide() const { return FCloseOnHide; }
  void SetCloseOnHide(bool v) { FCloseOnHide = v; }
  int GetGridX() const override { return FGridX; }
  void SetGridX(int v) { FGridX = v; }
  int GetGridY() const override { return FGridY; }
  void SetGridY(int v) { FGridY = v; }
  // Where recovery copies of modified designs go (the user's data folder unless set; "" keeps
  // none), and how often at most they are written.
  std::string GetRecoveryFolder() const;
  void SetRecoveryFolder(const std::string& folder);
  void SetRecoveryInterval(unsigned milliseconds);

  // What its designs ask of it.
  TClass PaletteClass() override;
  void ResetPalette() override;
  int NewDesignTop() override;
  void DesignerChanged(TKFormDesigner* designer) override;
  void DesignModified(TKFormDesigner* designer) override;
  void SelectionChanged(TKFormDesigner* designer) override;
  bool IsShortCut(uint16_t key, TShiftState shift) override;

  TfmKvFrmDsg* FDesignerWindow = nullptr;
  TNotifyEvent FOnDestroy;

 private:
  TTypeKinds FTypeKinds = KvDesignerTypeKinds;
  bool FCanInsert = true;
  bool FCanDelete = true;
  bool FSnapToGrid = true;
  bool FDisplayGrid = true;
  bool FHideOnEmpty = true;
  bool FShowOnFirst = true;
  bool FCloseOnHide = true;
  int FGridX = 8;
  int FGridY = 8;
};

// The designer window. Its layout comes from forms/KvFrmDsg.dfm.
class TfmKvFrmDsg : public TForm {
  KV_CLASS(TfmKvFrmDsg, TForm)
 public:
  explicit TfmKvFrmDsg(TComponent* AOwner);
  ~TfmKvFrmDsg() override;
  void Dispatch(TMessage& message) override;

  // --- The design list.
  void OpenDesigner(const std::string& fileName, TForm* liveForm);
  bool CloseDesigner(TObject* designer);
  // Ends the design of form, if one is open.
  void CloseDesignOf(TCustomForm* form);
  void CloseAllDesigners();
  void ShowDesignedForm();
  void ShowOpenForm(const std::string& formName);
  void UpdateDesignerState();
  bool SaveDesignerAs(const std::string& fileName);
  // Writes a design's files and drops its recovery copy.
  void WriteDesign(TKFormDesigner* design, const std::string& fileName, bool writeUnit);
  TKFormDesigner* CurrentDesigner() const { return FCurrentDesigner; }
  int DesignerCount() const { return FDesigners ? FDesigners->Count() : 0; }
  TKFormDesigner* Designer(int i) const { return static_cast<TKFormDesigner*>(FDesigners->Get(i)); }
  TKvRecovery* Recovery() const { return FRecovery.get(); }
  // Offers the designs that a session which ended without closing them left behind; Yes opens
  // each as a modified design of its own file, No discards them. The first design a window
  // opens asks first.
  void OfferRecovery();

  // --- Services the engine calls.
  TClass GetSelectedComponent();
  void SetPointer();
  void DesignerChanged(TKFormDesigner* designer);
  void ModifyDesigner() {}

  // --- Event handlers, bound by name from the layout.
  void FormCreate(TObject* sender);
  void FormShow(TObject* sender);
  void FormActivate(TObject* sender);
  void FormHide(TObject* sender);
  void FormDestroy(TObject* sender);
  void FormCloseQuery(TObject* sender, bool& canClose);
  void NewFormItemClick(TObject* sender);
  void OpenFileItemClick(TObject* sender);
  void SaveFileItemClick(TObject* sender);
  void SaveFileAsItemClick(TObject* sender);
  void GenerateUnitAsItemClick(TObject* sender);
  void CloseItemClick(TObject* sender);
  void UndoItemClick(TObject* sender);
  void RedoItemClick(TObject* sender);
  void CutItemClick(TObject* sender);
  void CopyItemClick(TObject* sender);
  void PasteItemClick(TObject* sender);
  void DeleteItemClick(TObject* sender);
  void AligntoGridItemClick(TObject* sender);
  void BringToFrontItemClick(TObject* sender);
  void SendToBackItemClick(TObject* sender);
  void AlignItemClick(TObject* sender);
  void SizeItemClick(TObject* sender);
  void ObjectInspectorItemClick(TObject* sender);
  void AlignmentPaletteItemClick(TObject* sender);
  void SelectFormItemClick(TObject* sender);
  void EnvironmentOptionsItemClick(TObject* sender);
  void ExitItemClick(TObject* sender);
  void btCloseClick(TObject* sender);
  void SizingToolbarMouseDown(TObject* sender, TMouseButton button, TShiftState shift, int x, int y);
  void SizingToolbarMouseMove(TObject* sender, TShiftState shift, int x, int y);
  void SizingToolbarMouseUp(TObject* sender, TMouseButton button, TShiftState shift, int x, int y);

  // --- Published members (the layout creates them).
  TMainMenu* MainMenu1 = nullptr;
  TMenuItem* FileItem = nullptr;
  TMenuItem* OpemFileItem = nullptr;
  TMenuItem* SaveFileAsItem = nullptr;
  TMenuItem* ExitItem = nullptr;
  TMenuItem* ViewItem = nullptr;
  TMenuItem* ObjectInspectorItem = nullptr;
  TOpenDialog* OpenDialog1 = nullptr;
  TSaveDialog* SaveDialog1 = nullptr;
  TMenuItem* N1 = nullptr;
  TPanel* PanelSpeedbar = nullptr;
  TBitBtn* btOpenFile = nullptr;
  TBitBtn* btSaveFile = nullptr;
  TPanel* SizingToolbar = nullptr;
  TBitBtn* btNewForm = nullptr;
  TMenuItem* NewFormItem = nullptr;
  TMenuItem* ToolsItem = nullptr;
  TMenuItem* EnvironmentOptionsItem = nullptr;
  TMenuItem* EditItem = nullptr;
  TMenuItem* BringToFrontItem = nullptr;
  TMenuItem* SendToBackItem = nullptr;
  TMenuItem* AlignItem = nullptr;
  TMenuItem* AlignmentPaletteItem = nullptr;
  TMenuItem* AligntoGridItem = nullptr;
  TMenuItem* UndoItem = nullptr;
  TMenuItem* RedoItem = nullptr;
  TMenuItem* N3 = nullptr;
  TMenuItem* CutItem = nullptr;
  TMenuItem* CopyItem = nullptr;
  TMenuItem* PasteItem = nullptr;
  TMenuItem* DeleteItem = nullptr;
  TMenuItem* N4 = nullptr;
  TMenuItem* SizeItem = nullptr;
  TBevel* Bevel1 = nullptr;
  TKvTabbedNotebook* KvTabbedNotebook1 = nullptr;
  TKvObjectInspector* KvObjectInspector1 = nullptr;
  TPanel* PanelPalette = nullptr;
  TMenuItem* SaveFileItem = nullptr;
  TMenuItem* GenerateUnitAsItem = nullptr;
  TMenuItem* CloseItem = nullptr;
  TBitBtn* btSelectForm = nullptr;
  TMenuItem* N2 = nullptr;
  TMenuItem* SelectFormItem = nullptr;

  TKvFormDesigner* FFormDesigner = nullptr;

 private:
  void Relayout();
  bool RunSaveDialog(const std::string& filter, const std::string& fileName, const std::string& defaultExt,
                     std::string& chosen);
  void WriteCurrent(const std::string& fileName, bool writeUnit) { WriteDesign(FCurrentDesigner, fileName, writeUnit); }
  // The answer to the save prompt of the current design: the host's, else the user's.
  TModalResult AskToSave();
  bool RestoreDesign(const TKvRecoveredDesign& copy);
  void DropCopy(TKFormDesigner* design);
  // The save dialog for a form file, offering both formats with the design's own chosen; the
  // choice becomes the design's format.
  bool RunSaveFormDialog(const std::string& fileName, std::string& chosen);

  bool FClosingAll = false;
  TList* FDesigners = nullptr;
  TKFormDesigner* FCurrentDesigner = nullptr;
  bool FSizing = false;
  TPoint FDownPoint;
  TfmKvAlignP* FAlignPalette = nullptr;  // made at creation, owned by the application
  std::unique_ptr<TKvRecovery> FRecovery;
  bool FOfferedRecovery = false;
};

// The file-name part of a path: the text after the last '\', '/' or ':'.
std::string KvFileNamePart(const std::string& path);
