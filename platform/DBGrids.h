// DBGrids: the data grid. Its rows are a window of the dataset's records (a data link with one
// buffer per visible row); its columns are the persistent Columns of the form, or, when there
// are none, one default column per visible field. In design state it shows the columns' titles
// and never reads the data.
#pragma once

#include <optional>

#include "Db.h"
#include "Grids.h"

KV_ENUM(TDBGridOption, dgEditing, dgAlwaysShowEditor, dgTitles, dgIndicator, dgColumnResize, dgColLines, dgRowLines,
        dgTabs, dgRowSelect, dgAlwaysShowSelection, dgConfirmDelete, dgCancelOnExit, dgMultiSelect)
KV_SET(TDBGridOptions, TDBGridOption)
KV_ENUM(TColumnButtonStyle, cbsAuto, cbsEllipsis, cbsNone)

class TColumn;
class TCustomDBGrid;

KV_EVENT(TDBGridClickEvent, "Column: TColumn", TColumn*)
KV_EVENT(TDrawColumnCellEvent,
         "Sender: TObject; const Rect: TRect; DataCol: Integer; Column: TColumn; State: TGridDrawState", TObject*,
         const TRect&, int, TColumn*, TGridDrawState)

// A column's title. Values not assigned follow the grid (TitleFont, FixedColor) and the field.
class TColumnTitle : public TPersistent {
  KV_CLASS(TColumnTitle, TPersistent)
 public:
  explicit TColumnTitle(TColumn* column = nullptr);
  ~TColumnTitle() override;
  void Assign(TPersistent* source) override;
  std::string GetCaption() const;
  void SetCaption(const std::string& v);
  bool IsCaptionStored() const { return FCaption.has_value(); }
  TAlignment GetAlignment() const { return FAlignment.value_or(taLeftJustify); }
  void SetAlignment(TAlignment v);
  bool IsAlignmentStored() const { return FAlignment.has_value(); }
  TColor GetColor() const;
  void SetColor(TColor v);
  bool IsColorStored() const { return FColor.has_value(); }
  TFont* GetFont() const;
  void SetFont(TFont* v) { FFont->Assign(v); }
  bool IsFontStored() const { return FFontAssigned; }

 private:
  TColumn* FColumn;
  std::optional<std::string> FCaption;
  std::optional<TAlignment> FAlignment;
  std::optional<TColor> FColor;
  TFont* FFont;
  bool FFontAssigned = false;
  mutable bool FSyncing = false;
};

class TColumn : public TCollectionItem {
  KV_CLASS(TColumn, TCollectionItem)
 public:
  TColumn();
  ~TColumn() override;
  void Assign(TPersistent* source) override;
  std::string GetDisplayName() const override;
  TCustomDBGrid* Grid() const;
  // The dataset's field named FieldName; null while the grid is not linked to an open dataset.
  TField* Field() const;

  std::string GetFieldName() const { return FFieldName; }
  void SetFieldName(const std::string& v);
  TColumnTitle* GetTitle() const { return FTitle; }
  void SetTitle(TColumnTitle* v) { FTitle->Assign(v); }
  int GetWidth() const;
  void SetWidth(int v);
  bool IsWidthStored() const { return FWidth.has_value(); }
  TAlignment GetAlignment() const;
  void SetAlignment(TAlignment v);
  bool IsAlignmentStored() const { return FAlignment.has_value(); }
  TColor GetColor() const;
  void SetColor(TColor v);
  bool IsColorStored() const { return FColor.has_value(); }
  TFont* GetFont() const;
  void SetFont(TFont* v) { FFont->Assign(v); }
  bool IsFontStored() const { return FFontAssigned; }
  bool GetReadOnly() const;
  void SetReadOnly(bool v);
  bool IsReadOnlyStored() const { return FReadOnly.has_value(); }
  bool GetVisible() const { return FVisible; }
  void SetVisible(bool v);
  bool GetExpanded() const { return FExpanded; }
  void SetExpanded(bool v) { FExpanded = v; }
  TStrings* GetPickList() const { return FPickList; }
  void SetPickList(TStrings* v) { FPickList->Assign(v); }
  TColumnButtonStyle GetButtonStyle() const { return FButtonStyle; }
  void SetButtonStyle(TColumnButtonStyle v) { FButtonStyle = v; }
  int GetDropDownRows() const { return FDropDownRows; }
  void SetDropDownRows(int v) { FDropDownRows = v; }

 private:
  friend class TColumnTitle;
  TFont* GridFont(bool title) const;
  std::string FFieldName;
  TColumnTitle* FTitle;
  std::optional<int> FWidth;
  std::optional<TAlignment> FAlignment;
  std::optional<TColor> FColor;
  std::optional<bool> FReadOnly;
  TFont* FFont;
  TStrings* FPickList;
  bool FFontAssigned = false;
  mutable bool FSyncing = false;
  bool FVisible = true;
  bool FExpanded = true;
  TColumnButtonStyle FButtonStyle = cbsAuto;
  int FDropDownRows = 7;
};

class TDBGridColumns : public TCollection {
  KV_CLASS(TDBGridColumns, TCollection)
 public:
  explicit TDBGridColumns(TCustomDBGrid* grid = nullptr);
  TCustomDBGrid* Grid() const { return FGrid; }
  TColumn* Items(int i) const { return static_cast<TColumn*>(TCollection::Items(i)); }
  TColumn* Add() { return static_cast<TColumn*>(TCollection::Add()); }
  // The columns were made from the dataset's fields and are not written to the form.
  bool IsDefault() const { return FDefault; }

 protected:
  void Update(TCollectionItem* item) override;
  void Added(TCollectionItem* item) override;

 private:
  friend class TCustomDBGrid;
  TCustomDBGrid* FGrid;
  bool FDefault = false;
  bool FBuilding = false;
};

class TCustomDBGrid : public TCustomGrid {
  KV_CLASS(TCustomDBGrid, TCustomGrid)
 public:
  explicit TCustomDBGrid(TComponent* AOwner);
  ~TCustomDBGrid() override;
  void Dispatch(TMessage& m) override;
  TRect GetClientRect() const override;
  void DefineProperties(TFiler* filer) override;
  void Loaded() override;

  TDataSource* GetDataSource() const;
  void SetDataSource(TDataSource* v);
  TDBGridColumns* GetColumns() const { return FColumns; }
  void SetColumns(TDBGridColumns* v) { FColumns->Assign(v); }
  bool IsColumnsStored() const { return FColumns->Count() > 0 && !FColumns->IsDefault(); }
  TDBGridOptions GetOptions() const { return FOptions; }
  void SetOptions(TDBGridOptions v);
  bool GetReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool v);
  TFont* GetTitleFont() const { return FTitleFont; }
  void SetTitleFont(TFont* v) { FTitleFont->Assign(v); }
  TDataLink* DataLink() const;

  // The column under the current cell, or null.
  TColumn* SelectedColumn() const;
  TField* SelectedField() const;
  int SelectedIndex() const;  // among the visible columns
  void SetSelectedIndex(int v);
  // The columns shown, in order; grid column i (past the indicator) is VisibleColumns()[i].
  const std::vector<TColumn*>& VisibleColumns() const { return FShown; }
  // The text a cell shows: titles, field display texts, nothing for the indicator.
  std::string CellText(int col, int row);

  TDBGridClickEvent OnCellClick;
  TNotifyEvent OnColEnter;
  TNotifyEvent OnColExit;
  TDrawColumnCellEvent OnDrawColumnCell;
  TDBGridClickEvent OnTitleClick;
  TNotifyEvent OnEditButtonClick;

 protected:
  // A notch of the wheel moves the dataset one record.
  bool DoMouseWheelDown(TShiftState shift, TPoint mousePos) override;
  bool DoMouseWheelUp(TShiftState shift, TPoint mousePos) override;
  void DrawCell(int col, int row, const TRect& rect, TGridDrawState state) override;
  bool SelectCell(int col, int row) override;
  std::string GetEditText(int col, int row) override;
  void SetEditText(int col, int row, const std::string& value) override;
  bool CanEditShow() const override;
  void KeyDown(uint16_t& key, TShiftState shift) override;
  void KeyPress(char& key) override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  void BoundsChanged() override;
  void Click() override;
  void DoExit() override;

 private:
  class TGridDataLink;
  friend class TColumn;
  friend class TColumnTitle;
  friend class TDBGridColumns;
  void DataChanged();
  // Rebuilds default columns, the grid's columns, rows and row heights.
  void LayoutChanged();
  void UpdateRowCount();
  // Moves the dataset, first writing what the in-place editor holds.
  void MoveBy(int distance);
  void CommitEdit();
  void SyncCurrentRow();
  void UpdateVertScrollBar();
  void DrawIndicator(const TRect& rect, int dataRow);
  int TitleOffset() const { return FOptions.Contains(dgTitles) ? 1 : 0; }
  int IndicatorOffset() const { return FOptions.Contains(dgIndicator) ? 1 : 0; }
  TColumn* ColumnAt(int col) const;
  bool LinkReady() const;
  void ApplyOptions();
  int AverageCharWidth() const;

  std::unique_ptr<TGridDataLink> FLink;
  TDBGridColumns* FColumns;
  TFont* FTitleFont;
  std::vector<TColumn*> FShown;
  TDBGridOptions FOptions{dgEditing,  dgTitles, dgIndicator,     dgColumnResize, dgColLines,
                          dgRowLines, dgTabs,   dgConfirmDelete, dgCancelOnExit};
  bool FReadOnly = false;
  int FLayoutLock = 0;
  bool FSyncing = false;
  bool FColChanged = false;
  int FTitleDownCol = -1;
  int FTitleDownWidth = 0;
};

class TDBGrid : public TCustomDBGrid {
  KV_CLASS(TDBGrid, TCustomDBGrid)
 public:
  using TCustomDBGrid::TCustomDBGrid;
};

void RegisterDBGridsClasses();
