// KvObjIns: the object inspector. TKvObjectInspector is the component a host drops on its form:
// it carries the inspector's settings, owns the inspector window TfmKvObjIns and can attach an
// engine of its own to a live form (EditForm). The window lists the published properties of an
// engine's selection as rows of a two-column grid, with sub-properties expanded in place, and
// edits the current row's value with an edit box, a drop-down list or a dialog button.
//
// TKvInspectorRows, the row list, is shared with `kvform inspect`, so that the tool lists exactly
// the rows the window shows.
#pragma once

#include <string>
#include <vector>

#include "Buttons.h"
#include "Classes.h"
#include "DsgnIntf.h"
#include "ExtCtrls.h"
#include "Forms.h"
#include "Grids.h"
#include "KvDsgn.h"
#include "StdCtrls.h"

class TfmKvObjIns;
class TKvTabbedNotebook;

constexpr TTypeKinds KvInspectorTypeKinds = 0x047E;
// Posted by the inspector component to its window after the engine's messages (second
// parameter: the engine): show the handler the engine named.
constexpr uint32_t KM_SHOWMETHOD = KM_OBJECTMODIFIED + 1;

// The rows of an inspector. Item i of Items() is row i: its string the level key (the nesting
// level formatted "%2d", so that keys order as levels do), its object the row's property
// editor, owned by the list.
class TKvInspectorRows {
 public:
  TKvInspectorRows();
  ~TKvInspectorRows();
  TKvInspectorRows(const TKvInspectorRows&) = delete;
  TKvInspectorRows& operator=(const TKvInspectorRows&) = delete;

  // The top-level rows of the properties common to the components, of the kinds given.
  void Build(TComponentList* components, TTypeKinds kinds, TFormDesigner* designer);
  // Frees every editor, last row first.
  void Clear();
  int Count() const { return FItems->Count(); }
  TStringList* Items() const { return FItems; }
  TPropertyEditor* Editor(int i) const;
  int Level(int i) const;
  // The row after i exists and lies deeper.
  bool Expanded(int i) const;
  // Collapses an expanded row (its sub-rows at every depth go) or expands it by its direct
  // sub-properties; the change in the number of rows.
  int Toggle(int i);
  // Indent, mark ("- " expanded, "+" collapsed, two blanks without sub-properties) and name.
  std::string Caption(int i, std::string& name) const;
  // The editor's value; for display (forEdit false) empty when the components disagree.
  std::string Value(int i, bool forEdit) const;
  // Expands every row, nested ones too, down to the deepest level a key can show.
  void ExpandAll();

 private:
  void AddEditor(TPropertyEditor* editor);
  TStringList* FItems;
  int FInsertAt = 0;
  std::string FLevelKey;
  int FAddedCount = 0;
};

// The caption without its indent and mark: the property name.
std::string StripRowMarks(const std::string& caption);

class TKvObjectInspector : public TComponent, public IKInspectorHost {
  KV_CLASS(TKvObjectInspector, TComponent)
 public:
  explicit TKvObjectInspector(TComponent* AOwner);
  ~TKvObjectInspector() override;

  TTypeKinds GetTypeKinds() const override { return FTypeKinds; }
  void SetTypeKinds(TTypeKinds v) { FTypeKinds = v; }
  bool GetCanDelete() const override { return FCanDelete; }
  void SetCanDelete(bool v) { FCanDelete = v; }

  // The forwarding operations do nothing once the window is gone (the application frees it
  // first at shutdown).
  void Show();
  void Hide();
  TfmKvObjIns* Form() const { return FForm; }
  TComboBox* ComponentList() const;
  void SelectDesigner(TFormDesigner* designer);
  void RefreshGrid();
  void FormNotification(TComponent* component, TOperation operation) override;
  // Posted to the window, which handles them after the engine's current message.
  void ObjectChanged(TKFormDesigner* designer) override;
  void ObjectModified(TKFormDesigner* designer) override;
  // Posted as well, so that the window shows the row once it has rebuilt its rows.
  void ShowMethod(TKFormDesigner* designer, const std::string& name) override;
  // Attaches an engine of this component's own to a live form, ending the previous one.
  void EditForm(TForm* form);
  TKFormDesigner* EditDesigner() const { return FEditDesigner; }

  TTypeKinds FTypeKinds = KvInspectorTypeKinds;
  bool FCanDelete = false;
  TNotifyEvent FOnDestroy;

 private:
  friend class TfmKvObjIns;
  bool DesignerClosing(TObject* sender);

  TKFormDesigner* FEditDesigner = nullptr;
  TfmKvObjIns* FForm = nullptr;
};

// Height of a grid row plus its line, and the window height outside the grid plus three rows:
// measured by the first showing of an inspector window, shared by all of them.
extern int RowPitch;
extern int SizeOverhead;

// The inspector window. Its layout comes from forms/KvObjIns.dfm.
class TfmKvObjIns : public TForm {
  KV_CLASS(TfmKvObjIns, TForm)
 public:
  explicit TfmKvObjIns(TComponent* AOwner);
  ~TfmKvObjIns() override;
  void Dispatch(TMessage& message) override;

  // Inspects the current selection of the designer; nil leaves the window empty.
  void SelectDesigner(TFormDesigner* designer);
  // Re-reads the captions and values of all rows; the row to select (the old current row found
  // by name, else the last row whose name sorts before it, else 0).
  int RefreshGrid();
  // A component of the inspected form is inserted or removed. Rows of a removed component go
  // at once, before any of their editors could reach it.
  void FormNotification(TComponent* component, TOperation operation);
  // Makes current the row of the event whose handler is name; nothing when no event row has it.
  void ShowMethod(const std::string& name);
  TFormDesigner* Designer() const { return FDesigner; }
  TKvInspectorRows* Rows() const { return FEditors; }
  int CurrentRow() const { return FRow; }

  // --- Event handlers, bound by name from the layout.
  void FormCreate(TObject* sender);
  void FormDestroy(TObject* sender);
  void FormResize(TObject* sender);
  void FormShow(TObject* sender);
  void ComponentListChange(TObject* sender);
  void ComponentListDropDown(TObject* sender);
  void PropertyGridSelectCell(TObject* sender, int col, int row, bool& canSelect);
  void PropertyGridTopLeftChanged(TObject* sender);
  void NamePanelClick(TObject* sender);
  void NamePanelDblClick(TObject* sender);
  void SeperatorPanelMouseDown(TObject* sender, TMouseButton button, TShiftState shift, int x, int y);
  void SeperatorPanelMouseMove(TObject* sender, TShiftState shift, int x, int y);
  void SeperatorPanelMouseUp(TObject* sender, TMouseButton button, TShiftState shift, int x, int y);
  void ValueEditChanged(TObject* sender);
  void ValueEditExit(TObject* sender);
  void ValueEditKeyDown(TObject* sender, uint16_t& key, TShiftState shift);
  void ValueListChange(TObject* sender);
  void ValueListClick(TObject* sender);
  void ValueListDropDown(TObject* sender);
  void ValueListExit(TObject* sender);
  void ValueListKeyDown(TObject* sender, uint16_t& key, TShiftState shift);
  void EditButtonClick(TObject* sender);

  // --- Published members (the layout creates them).
  TPanel* ComponentPanel = nullptr;
  TComboBox* ComponentList = nullptr;
  TPanel* ComponentPath = nullptr;
  TKvTabbedNotebook* KvTabbedNotebook1 = nullptr;
  TPanel* GridPanel1 = nullptr;
  TStringGrid* PropertyGrid = nullptr;
  TPanel* NamePanel = nullptr;
  TPanel* ValuePanel = nullptr;
  TPanel* SeperatorPanel = nullptr;
  TEdit* ValueEdit = nullptr;
  TComboBox* ValueList = nullptr;
  TBitBtn* EditButton = nullptr;

 private:
  friend class TKvObjectInspector;
  // The designer as the engine it is, when it is one.
  TKFormDesigner* Engine() const;
  bool DesignerGone() const;
  void ClearEditors();
  void HideGrid();
  void ArrangeColumns(int x, int row);
  void PlaceRowPanels(int col, int row);
  void SelectRow(int row);
  void FocusValueEditor();
  std::string GetRowValue(int row, bool forEdit);
  std::string SetRowValue(int row, const std::string& text);
  bool IsStringKind(int row) const;
  void CommitEditor(TWinControl* editor, bool shown);
  void FillValueList(TComboBox* target, int row);
  void HandleEditorKey(uint16_t& key, void (TfmKvObjIns::*exitHandler)(TObject*));
  void WMSizing(TMessage& message);
  // The row pitch in use: the measured one, or the grid's own before the first showing.
  int Pitch() const;

  std::string FMethodToShow;  // for the posted KM_SHOWMETHOD
  bool FShowEdit = false;
  bool FShowButton = false;
  bool FShowList = false;
  bool FDirty = false;
  bool FReady = false;
  std::string FValueText;
  TFormDesigner* FDesigner = nullptr;
  int FRow = 0;  // as a new form's fields start: FormCreate's SelectRow(-1) then hides the grid
  bool FSplitting = false;
  bool FScrolling = false;
  TComponent* FSelected = nullptr;
  TKvInspectorRows* FEditors = nullptr;
  TComboBox* FValueTarget = nullptr;
  TKvObjectInspector* FInspector = nullptr;
  // The components the rows edit.
  std::vector<TComponent*> FInspected;
};
