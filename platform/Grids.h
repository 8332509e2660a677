// Grids: TCustomGrid, TDrawGrid and TStringGrid, painted by the library cell by cell as the VCL
// paints them, with real scroll bars, keyboard navigation, column and row sizing by mouse and
// an in-place editor.
//
// Coordinates are client coordinates: the border of a bsSingle grid and its scroll bars lie
// outside the client area, as they do in Windows.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "Controls.h"
#include "Forms.h"

KV_ENUM(TGridOption, goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect, goDrawFocusSelected,
        goRowSizing, goColSizing, goRowMoving, goColMoving, goEditing, goTabs, goRowSelect, goAlwaysShowEditor,
        goThumbTracking)
KV_SET(TGridOptions, TGridOption)
KV_ENUM(TGridDrawStateFlag, gdSelected, gdFocused, gdFixed)
KV_SET(TGridDrawState, TGridDrawStateFlag)

struct TGridCoord {
  int X = 0;
  int Y = 0;
  friend bool operator==(const TGridCoord&, const TGridCoord&) = default;
};
// A block of cells, inclusive: Left/Right are columns, Top/Bottom rows.
struct TGridRect {
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;
  friend bool operator==(const TGridRect&, const TGridRect&) = default;
};

KV_EVENT(TSelectCellEvent, "Sender: TObject; ACol, ARow: Longint; var CanSelect: Boolean", TObject*, int, int, bool&)
KV_EVENT(TDrawCellEvent, "Sender: TObject; ACol, ARow: Longint; Rect: TRect; State: TGridDrawState", TObject*, int, int,
         TRect, TGridDrawState)
KV_EVENT(TGetEditEvent, "Sender: TObject; ACol, ARow: Longint; var Value: string", TObject*, int, int, std::string&)
KV_EVENT(TSetEditEvent, "Sender: TObject; ACol, ARow: Longint; const Value: string", TObject*, int, int,
         const std::string&)
KV_EVENT(TMovedEvent, "Sender: TObject; FromIndex, ToIndex: Longint", TObject*, int, int)

class TCustomGrid;

// The grid's editor: the toolkit's line edit over the current cell.
class TInplaceEdit : public TWinControl {
  KV_CLASS(TInplaceEdit, TWinControl)
 public:
  explicit TInplaceEdit(TComponent* AOwner);
  TCustomGrid* Grid() const { return FGrid; }
  std::string GetEditText() const;
  void SetEditText(const std::string& s);
  void SelectAll();
  void Dispatch(TMessage& m) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void KeyDown(uint16_t& key, TShiftState shift) override;
  void KeyPress(char& key) override;

 private:
  friend class TCustomGrid;
  TCustomGrid* FGrid = nullptr;
  std::string FText;  // mirrors the widget's text
};

class TCustomGrid : public TCustomControl {
  KV_CLASS(TCustomGrid, TCustomControl)
 public:
  explicit TCustomGrid(TComponent* AOwner);
  ~TCustomGrid() override;
  void WndProc(TMessage& m) override;
  void Dispatch(TMessage& m) override;
  TRect GetClientRect() const override;
  TPoint ClientOrigin() const override;
  void DefineProperties(TFiler* filer) override;
  void Loaded() override;

  // --- Size of the grid.
  int GetColCount() const { return FColCount; }
  void SetColCount(int v);
  int GetRowCount() const { return FRowCount; }
  void SetRowCount(int v);
  int GetFixedCols() const { return FFixedCols; }
  void SetFixedCols(int v);
  int GetFixedRows() const { return FFixedRows; }
  void SetFixedRows(int v);
  int GetDefaultColWidth() const { return FDefaultColWidth; }
  void SetDefaultColWidth(int v);
  int GetDefaultRowHeight() const { return FDefaultRowHeight; }
  void SetDefaultRowHeight(int v);
  int ColWidths(int col) const;
  void SetColWidths(int col, int width);
  int RowHeights(int row) const;
  void SetRowHeights(int row, int height);
  int GetGridLineWidth() const { return FGridLineWidth; }
  void SetGridLineWidth(int v);

  // --- Appearance.
  TColor GetFixedColor() const { return FFixedColor; }
  void SetFixedColor(TColor v);
  TGridOptions GetOptions() const { return FOptions; }
  void SetOptions(TGridOptions v);
  TScrollStyle GetScrollBars() const { return FScrollBars; }
  void SetScrollBars(TScrollStyle v);
  TBorderStyle GetBorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle v);
  bool GetDefaultDrawing() const { return FDefaultDrawing; }
  void SetDefaultDrawing(bool v) {
    FDefaultDrawing = v;
    Invalidate();
  }

  // --- Position and selection.
  int GetCol() const { return FCurrent.X; }
  void SetCol(int v) { FocusCell(v, FCurrent.Y, true); }
  int GetRow() const { return FCurrent.Y; }
  void SetRow(int v) { FocusCell(FCurrent.X, v, true); }
  int GetTopRow() const { return FTopLeft.Y; }
  void SetTopRow(int v);
  int GetLeftCol() const { return FTopLeft.X; }
  void SetLeftCol(int v);
  TGridRect GetSelection() const;
  void SetSelection(const TGridRect& r);
  int VisibleColCount() const;
  int VisibleRowCount() const;
  bool GetEditorMode() const { return FEditorMode; }
  void SetEditorMode(bool v);
  TInplaceEdit* InplaceEditor() const { return FEditor; }

  // --- Geometry. An empty rectangle for a cell scrolled out of view.
  TRect CellRect(int col, int row) const;
  TGridCoord MouseCoord(int x, int y) const;  // -1 parts when outside the cells
  void MouseToCell(int x, int y, int& col, int& row) const;

  // --- Published events.
  TSelectCellEvent OnSelectCell;
  TNotifyEvent OnTopLeftChanged;
  TDrawCellEvent OnDrawCell;
  TGetEditEvent OnGetEditText;
  TSetEditEvent OnSetEditText;
  TMovedEvent OnColumnMoved;
  TMovedEvent OnRowMoved;

  bool IsColWidthsStored() const;
  bool IsRowHeightsStored() const;

 protected:
  // A notch of the wheel scrolls three rows, unless the wheel events handled it.
  bool DoMouseWheelDown(TShiftState shift, TPoint mousePos) override;
  bool DoMouseWheelUp(TShiftState shift, TPoint mousePos) override;
  virtual void DrawCell(int col, int row, const TRect& rect, TGridDrawState state);
  virtual bool SelectCell(int col, int row);
  virtual std::string GetEditText(int col, int row);
  virtual void SetEditText(int col, int row, const std::string& value);
  virtual bool CanEditShow() const;
  virtual void TopLeftChanged();
  virtual void SizeChanged(int oldColCount, int oldRowCount) { (void)oldColCount, (void)oldRowCount; }
  virtual void ColumnMoved(int from, int to);
  virtual void RowMoved(int from, int to);
  void InvalidateCell(int col, int row);
  void Paint() override;
  void KeyDown(uint16_t& key, TShiftState shift) override;
  void KeyPress(char& key) override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  void BoundsChanged() override;
  // Moves the current cell (after SelectCell agrees); extends the selection when asked.
  void FocusCell(int col, int row, bool moveAnchor);

 private:
  friend class TInplaceEdit;
  struct Axis;
  Axis HorzAxis() const;
  Axis VertAxis() const;
  int BorderWidth() const;
  void UpdateScrollBars();
  void ClampTopLeft();
  void MakeVisible(int col, int row);
  void ShowEditor();
  void HideEditor();
  void UpdateEditor();
  void CommitEditor();
  int SizingLineAt(int x, int y, bool& vertical) const;
  void ReadColWidths(TReader* r);
  void WriteColWidths(TWriter* w);
  void ReadRowHeights(TReader* r);
  void WriteRowHeights(TWriter* w);

  int FColCount = 5;
  int FRowCount = 5;
  int FFixedCols = 1;
  int FFixedRows = 1;
  int FDefaultColWidth = 64;
  int FDefaultRowHeight = 24;
  int FGridLineWidth = 1;
  std::vector<int> FColWidths;  // empty: all at the default
  std::vector<int> FRowHeights;
  TColor FFixedColor = clBtnFace;
  TGridOptions FOptions{goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect};
  TScrollStyle FScrollBars = ssBoth;
  TBorderStyle FBorderStyle = bsSingle;
  bool FDefaultDrawing = true;
  bool FEditorMode = false;
  TGridCoord FCurrent{1, 1};
  TGridCoord FAnchor{1, 1};
  TGridCoord FTopLeft{1, 1};
  TInplaceEdit* FEditor = nullptr;
  // Mouse state: sizing a column (or row), or selecting.
  enum class TMouseState { None, Selecting, ColSizing, RowSizing };
  TMouseState FMouseState = TMouseState::None;
  int FSizingIndex = -1;
  int FSizingPos = 0;
  int FSizingOffset = 0;
  bool FScrollBarsShown[2] = {false, false};  // horizontal, vertical
};

class TDrawGrid : public TCustomGrid {
  KV_CLASS(TDrawGrid, TCustomGrid)
 public:
  using TCustomGrid::TCustomGrid;
};

class TStringGrid;

// The strings of one column or one row of a string grid.
class TStringGridStrings : public TStrings {
  KV_CLASS(TStringGridStrings, TStrings)
 public:
  TStringGridStrings(TStringGrid* grid, bool column, int index) : FGrid(grid), FColumn(column), FIndex(index) {}
  int Count() const override;
  std::string Get(int i) const override;
  void Put(int i, const std::string& s) override;
  TObject* GetObject(int i) const override;
  void PutObject(int i, TObject* o) override;
  void Insert(int i, const std::string& s) override;
  void Delete(int i) override;
  void Clear() override;
  int Add(const std::string& s) override;

 private:
  TStringGrid* FGrid;
  bool FColumn;
  int FIndex;
  int FAdded = 0;  // where Add writes next
};

class TStringGrid : public TDrawGrid {
  KV_CLASS(TStringGrid, TDrawGrid)
 public:
  explicit TStringGrid(TComponent* AOwner);
  ~TStringGrid() override;
  std::string Cells(int col, int row) const;
  void SetCells(int col, int row, const std::string& s);
  TObject* Objects(int col, int row) const;
  void SetObjects(int col, int row, TObject* o);
  // Live views of one column or row; assigning to one fills the cells.
  TStrings* Cols(int col);
  TStrings* Rows(int row);
  void SetCols(int col, TStrings* s) { Cols(col)->Assign(s); }
  void SetRows(int row, TStrings* s) { Rows(row)->Assign(s); }

 protected:
  void DrawCell(int col, int row, const TRect& rect, TGridDrawState state) override;
  std::string GetEditText(int col, int row) override;
  void SetEditText(int col, int row, const std::string& value) override;
  void SizeChanged(int oldColCount, int oldRowCount) override;
  void ColumnMoved(int from, int to) override;
  void RowMoved(int from, int to) override;

 private:
  struct Cell {
    std::string S;
    TObject* O = nullptr;
  };
  // Cells by row then column, sized RowCount x ColCount.
  std::vector<std::vector<Cell>> FCells;
  std::map<std::pair<bool, int>, std::unique_ptr<TStringGridStrings>> FViews;
};

void RegisterGridsClasses();
