#include "Grids.h"

#include <algorithm>
#include <climits>

#include "qt/QtComCtrls.h"
#include "qt/QtWidgets.h"

KV_EXCEPTION(EInvalidGridOperation, Exception);

namespace {
constexpr const char* SIndexOutOfRange = "Grid index out of range";
constexpr const char* SFixedColTooBig = "Fixed column count must be less than column count";
constexpr const char* SFixedRowTooBig = "Fixed row count must be less than row count";
constexpr const char* SInvalidStringGridOp = "Cannot insert or delete rows from grid";
constexpr int kSizingMargin = 3;  // pixels either side of a line that start sizing
}  // namespace

// =============================================================================================
// One axis of the grid: columns across or rows down, in client pixels.
struct TCustomGrid::Axis {
  int Fixed;
  int Count;
  int First;   // first scrollable cell shown
  int Extent;  // client extent
  int Line;    // effective grid line width
  const std::vector<int>* Sizes;
  int Default;

  int Size(int i) const { return i < static_cast<int>(Sizes->size()) ? (*Sizes)[i] : Default; }
  int FixedBoundary() const {
    int p = 0;
    for (int i = 0; i < Fixed; ++i) p += Size(i) + Line;
    return p;
  }
  // Start of cell i, or INT_MIN for a scrollable cell scrolled off before First.
  int Pos(int i) const {
    if (i >= Fixed && i < First) return INT_MIN;
    int p = 0;
    for (int j = 0; j < std::min(i, Fixed); ++j) p += Size(j) + Line;
    for (int j = First; j < i; ++j) p += Size(j) + Line;
    return p;
  }
  // The last cell that shows whole; First when none does, as the VCL counts.
  int LastFullVisible() const {
    int boundary = FixedBoundary(), last = First;
    for (int i = First; i < Count; ++i) {
      boundary += Size(i) + Line;
      if (boundary > Extent + Line) break;
      last = i;
    }
    return last;
  }
  // The largest First that still fills the extent.
  int MaxFirst() const {
    int result = Count - 1, line = Extent + Line, fixedEnd = FixedBoundary();
    for (int i = Count - 1; i >= Fixed; --i) {
      line -= Size(i) + Line;
      if (line < fixedEnd) break;
      result = i;
    }
    return std::max(Fixed, result);
  }
  int CellAt(int x) const {
    if (x < 0) return -1;
    int p = 0;
    for (int i = 0; i < Fixed; ++i) {
      p += Size(i) + Line;
      if (x < p) return i;
    }
    for (int i = First; i < Count && p <= Extent; ++i) {
      p += Size(i) + Line;
      if (x < p) return i;
    }
    return -1;
  }
};

// =============================================================================================
// TInplaceEdit
TInplaceEdit::TInplaceEdit(TComponent* AOwner) : TWinControl(AOwner) {
  FGrid = Cast<TCustomGrid>(AOwner);
  SetVisible(false);
  SetTabStop(false);
}

void TInplaceEdit::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.WinClassName = "EDIT";
  params.Caption = FText;
}

std::string TInplaceEdit::GetEditText() const { return FText; }

void TInplaceEdit::SetEditText(const std::string& s) {
  FText = s;
  if (HandleAllocated()) qtw::SetText(FHandle, s);
}

void TInplaceEdit::SelectAll() {
  if (HandleAllocated()) qtc::SetSelection(FHandle, 0, static_cast<int>(FText.size()));
}

void TInplaceEdit::Dispatch(TMessage& m) {
  if (m.Msg == WM_COMMAND && (m.WParam >> 16) == EN_CHANGE) {
    FText = qtc::GetText(FHandle);
    if (FGrid) FGrid->SetEditText(FGrid->GetCol(), FGrid->GetRow(), FText);
    return;
  }
  TWinControl::Dispatch(m);
}

// Keys that move between cells belong to the grid.
void TInplaceEdit::KeyDown(uint16_t& key, TShiftState shift) {
  TWinControl::KeyDown(key, shift);
  if (!FGrid) return;
  bool tabs = FGrid->GetOptions().Contains(goTabs);
  if (key == VK_UP || key == VK_DOWN || key == VK_PRIOR || key == VK_NEXT || (key == VK_TAB && tabs)) {
    FGrid->KeyDown(key, shift);
    key = 0;
  }
}

void TInplaceEdit::KeyPress(char& key) {
  TWinControl::KeyPress(key);
  if (FGrid && (key == '\r' || key == 27)) {
    FGrid->KeyPress(key);
    key = 0;
  }
}

// =============================================================================================
// TCustomGrid
TCustomGrid::TCustomGrid(TComponent* AOwner) : TCustomControl(AOwner) {
  ControlStyle = {csCaptureMouse, csOpaque, csDoubleClicks};
  FWidth = 320;
  FHeight = 120;
  SetColor(clWindow);
  SetParentColor(false);
  SetTabStop(true);
}

TCustomGrid::~TCustomGrid() {
  Destroying();
  DestroyHandle();
}

TCustomGrid::Axis TCustomGrid::HorzAxis() const {
  TRect r = GetClientRect();
  return {FFixedCols,  FColCount,       FTopLeft.X, r.Width(), FOptions.Contains(goVertLine) ? FGridLineWidth : 0,
          &FColWidths, FDefaultColWidth};
}

TCustomGrid::Axis TCustomGrid::VertAxis() const {
  TRect r = GetClientRect();
  return {FFixedRows,   FRowCount,        FTopLeft.Y, r.Height(), FOptions.Contains(goHorzLine) ? FGridLineWidth : 0,
          &FRowHeights, FDefaultRowHeight};
}

// Windows' client edge is two pixels deep; without Ctl3D it is a one-pixel line.
int TCustomGrid::BorderWidth() const { return FBorderStyle == bsSingle ? (GetCtl3D() ? 2 : 1) : 0; }

TRect TCustomGrid::GetClientRect() const {
  int b = 2 * BorderWidth(), s = qtc::ScrollBarSize();
  return Rect(0, 0, std::max(0, FWidth - b - (FScrollBarsShown[1] ? s : 0)),
              std::max(0, FHeight - b - (FScrollBarsShown[0] ? s : 0)));
}

TPoint TCustomGrid::ClientOrigin() const {
  TPoint p = TCustomControl::ClientOrigin();
  return {p.X + BorderWidth(), p.Y + BorderWidth()};
}

// Mouse messages arrive in window coordinates; the grid works in client ones.
void TCustomGrid::WndProc(TMessage& m) {
  ShiftMouseInsideBorder(m, BorderWidth());
  TCustomControl::WndProc(m);
}

void TCustomGrid::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case WM_VSCROLL:
    case WM_HSCROLL: {
      uint16_t code = static_cast<uint16_t>(m.WParam & 0xFFFF);
      int pos = static_cast<uint16_t>((m.WParam >> 16) & 0xFFFF);
      if (code == SB_THUMBPOSITION || code == SB_THUMBTRACK) {
        if (m.Msg == WM_VSCROLL) SetTopRow(FFixedRows + pos);
        else SetLeftCol(FFixedCols + pos);
      }
      return;
    }
    case WM_SIZE:
    case CM_CTL3DCHANGED:  // the border's depth
      UpdateScrollBars();
      UpdateEditor();
      break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: InvalidateCell(FCurrent.X, FCurrent.Y); break;
    default: break;
  }
  TCustomControl::Dispatch(m);
}

void TCustomGrid::BoundsChanged() {
  TCustomControl::BoundsChanged();
  UpdateScrollBars();
}

void TCustomGrid::Loaded() {
  TCustomControl::Loaded();
  ClampTopLeft();
  UpdateScrollBars();
}

// --- Size of the grid.
void TCustomGrid::SetColCount(int v) {
  if (v < 1) v = 1;
  if (v == FColCount) return;
  int old = FColCount;
  if (v <= FFixedCols) FFixedCols = v - 1;
  FColCount = v;
  if (static_cast<int>(FColWidths.size()) > v) FColWidths.resize(v);
  FCurrent.X = std::clamp(FCurrent.X, FFixedCols, v - 1);
  FAnchor.X = std::clamp(FAnchor.X, FFixedCols, v - 1);
  SizeChanged(old, FRowCount);
  ClampTopLeft();
  UpdateScrollBars();
  Invalidate();
}

void TCustomGrid::SetRowCount(int v) {
  if (v < 1) v = 1;
  if (v == FRowCount) return;
  int old = FRowCount;
  if (v <= FFixedRows) FFixedRows = v - 1;
  FRowCount = v;
  if (static_cast<int>(FRowHeights.size()) > v) FRowHeights.resize(v);
  FCurrent.Y = std::clamp(FCurrent.Y, FFixedRows, v - 1);
  FAnchor.Y = std::clamp(FAnchor.Y, FFixedRows, v - 1);
  SizeChanged(FColCount, old);
  ClampTopLeft();
  UpdateScrollBars();
  Invalidate();
}

void TCustomGrid::SetFixedCols(int v) {
  if (v < 0) throw EInvalidGridOperation(SIndexOutOfRange);
  if (v >= FColCount) throw EInvalidGridOperation(SFixedColTooBig);
  FFixedCols = v;
  FTopLeft.X = FCurrent.X = FAnchor.X = v;
  ClampTopLeft();
  UpdateScrollBars();
  Invalidate();
}

void TCustomGrid::SetFixedRows(int v) {
  if (v < 0) throw EInvalidGridOperation(SIndexOutOfRange);
  if (v >= FRowCount) throw EInvalidGridOperation(SFixedRowTooBig);
  FFixedRows = v;
  FTopLeft.Y = FCurrent.Y = FAnchor.Y = v;
  ClampTopLeft();
  UpdateScrollBars();
  Invalidate();
}

// A new default size resets every column (or row) to it, as the VCL does.
void TCustomGrid::SetDefaultColWidth(int v) {
  FColWidths.clear();
  FDefaultColWidth = v;
  UpdateScrollBars();
  UpdateEditor();
  Invalidate();
}

void TCustomGrid::SetDefaultRowHeight(int v) {
  FRowHeights.clear();
  FDefaultRowHeight = v;
  UpdateScrollBars();
  UpdateEditor();
  Invalidate();
}

int TCustomGrid::ColWidths(int col) const { return HorzAxis().Size(col); }
int TCustomGrid::RowHeights(int row) const { return VertAxis().Size(row); }

void TCustomGrid::SetColWidths(int col, int width) {
  if (col < 0 || col >= FColCount) throw EInvalidGridOperation(SIndexOutOfRange);
  if (FColWidths.empty()) FColWidths.assign(FColCount, FDefaultColWidth);
  else if (static_cast<int>(FColWidths.size()) < FColCount) FColWidths.resize(FColCount, FDefaultColWidth);
  FColWidths[col] = std::max(0, width);
  UpdateScrollBars();
  UpdateEditor();
  Invalidate();
}

void TCustomGrid::SetRowHeights(int row, int height) {
  if (row < 0 || row >= FRowCount) throw EInvalidGridOperation(SIndexOutOfRange);
  if (FRowHeights.empty()) FRowHeights.assign(FRowCount, FDefaultRowHeight);
  else if (static_cast<int>(FRowHeights.size()) < FRowCount) FRowHeights.resize(FRowCount, FDefaultRowHeight);
  FRowHeights[row] = std::max(0, height);
  UpdateScrollBars();
  UpdateEditor();
  Invalidate();
}

void TCustomGrid::SetGridLineWidth(int v) {
  FGridLineWidth = std::max(0, v);
  UpdateScrollBars();
  Invalidate();
}

void TCustomGrid::SetFixedColor(TColor v) {
  FFixedColor = v;
  Invalidate();
}

void TCustomGrid::SetOptions(TGridOptions v) {
  FOptions = v;
  if (v.Contains(goRowSelect)) {
    FCurrent.X = FFixedCols;
    FAnchor.X = FColCount - 1;
  }
  if (v.Contains(goAlwaysShowEditor) && v.Contains(goEditing)) ShowEditor();
  else if (!v.Contains(goEditing)) HideEditor();
  UpdateScrollBars();
  Invalidate();
}

void TCustomGrid::SetScrollBars(TScrollStyle v) {
  FScrollBars = v;
  UpdateScrollBars();
  Invalidate();
}

void TCustomGrid::SetBorderStyle(TBorderStyle v) {
  FBorderStyle = v;
  UpdateScrollBars();
  Invalidate();
}

// --- Position and selection.
void TCustomGrid::ClampTopLeft() {
  FTopLeft.X = std::clamp(FTopLeft.X, FFixedCols, std::max(FFixedCols, HorzAxis().MaxFirst()));
  FTopLeft.Y = std::clamp(FTopLeft.Y, FFixedRows, std::max(FFixedRows, VertAxis().MaxFirst()));
}

void TCustomGrid::SetTopRow(int v) {
  int old = FTopLeft.Y;
  FTopLeft.Y = v;
  ClampTopLeft();
  if (FTopLeft.Y != old) TopLeftChanged();
}

void TCustomGrid::SetLeftCol(int v) {
  int old = FTopLeft.X;
  FTopLeft.X = v;
  ClampTopLeft();
  if (FTopLeft.X != old) TopLeftChanged();
}

void TCustomGrid::TopLeftChanged() {
  UpdateScrollBars();
  UpdateEditor();
  Invalidate();
  OnTopLeftChanged(this);
}

TGridRect TCustomGrid::GetSelection() const {
  TGridRect r{std::min(FAnchor.X, FCurrent.X), std::min(FAnchor.Y, FCurrent.Y), std::max(FAnchor.X, FCurrent.X),
              std::max(FAnchor.Y, FCurrent.Y)};
  if (FOptions.Contains(goRowSelect)) {
    r.Left = FFixedCols;
    r.Right = FColCount - 1;
  }
  return r;
}

void TCustomGrid::SetSelection(const TGridRect& r) {
  FAnchor = {r.Right, r.Bottom};
  FocusCell(r.Left, r.Top, false);
}

int TCustomGrid::VisibleColCount() const {
  Axis h = HorzAxis();
  return h.Count > h.Fixed ? h.LastFullVisible() - h.First + 1 : 0;
}

int TCustomGrid::VisibleRowCount() const {
  Axis v = VertAxis();
  return v.Count > v.Fixed ? v.LastFullVisible() - v.First + 1 : 0;
}

void TCustomGrid::MakeVisible(int col, int row) {
  TGridCoord old = FTopLeft;
  auto clampIn = [](const Axis& a, int cell, int& first) {
    if (cell < a.Fixed) return;
    if (cell < first) {
      first = cell;
    } else {
      Axis t = a;
      while (t.First < cell && t.LastFullVisible() < cell) ++t.First;
      first = t.First;
    }
  };
  clampIn(HorzAxis(), col, FTopLeft.X);
  clampIn(VertAxis(), row, FTopLeft.Y);
  ClampTopLeft();
  if (!(old == FTopLeft)) TopLeftChanged();
}

void TCustomGrid::FocusCell(int col, int row, bool moveAnchor) {
  if (col < 0 || row < 0 || col >= FColCount || row >= FRowCount) throw EInvalidGridOperation(SIndexOutOfRange);
  if (SelectCell(col, row)) {
    bool moved = !(FCurrent == TGridCoord{col, row});
    if (moved && FEditorMode) CommitEditor();
    if (!FOptions.Contains(goAlwaysShowEditor)) HideEditor();
    FCurrent = {col, row};
    if (moveAnchor || !FOptions.Contains(goRangeSelect)) {
      FAnchor = FCurrent;
      if (FOptions.Contains(goRowSelect)) FAnchor.X = FColCount - 1;
    }
    if (FOptions.Contains(goRowSelect)) FCurrent.X = FFixedCols;
    MakeVisible(FCurrent.X, FCurrent.Y);
    Invalidate();
    if (FOptions.Contains(goAlwaysShowEditor) && FOptions.Contains(goEditing)) ShowEditor();
    else UpdateEditor();
  }
  Click();
}

bool TCustomGrid::SelectCell(int col, int row) {
  bool can = true;
  OnSelectCell(this, col, row, can);
  return can;
}

// --- Geometry.
TRect TCustomGrid::CellRect(int col, int row) const {
  Axis h = HorzAxis(), v = VertAxis();
  if (col < 0 || row < 0 || col >= FColCount || row >= FRowCount) return {};
  if (col > h.LastFullVisible() + 1 || row > v.LastFullVisible() + 1) return {};
  int x = h.Pos(col), y = v.Pos(row);
  if (x == INT_MIN || y == INT_MIN || x > h.Extent || y > v.Extent) return {};
  return {x, y, std::min(x + h.Size(col), h.Extent), std::min(y + v.Size(row), v.Extent)};
}

TGridCoord TCustomGrid::MouseCoord(int x, int y) const {
  TGridCoord c{HorzAxis().CellAt(x), VertAxis().CellAt(y)};
  if (c.X < 0 || c.Y < 0) return {-1, -1};
  return c;
}

void TCustomGrid::MouseToCell(int x, int y, int& col, int& row) const {
  TGridCoord c = MouseCoord(x, y);
  col = c.X;
  row = c.Y;
}

void TCustomGrid::InvalidateCell(int col, int row) {
  TRect r = CellRect(col, row);
  if (IsRectEmpty(r)) return;
  // The whole row when rows are selected, as the focus frame spans it.
  Invalidate();
}

// --- Scroll bars.
void TCustomGrid::UpdateScrollBars() {
  bool wantH = FScrollBars == ssHorizontal || FScrollBars == ssBoth;
  bool wantV = FScrollBars == ssVertical || FScrollBars == ssBoth;
  FScrollBarsShown[0] = FScrollBarsShown[1] = false;
  // Each bar shows only when its axis does not fit; one bar's space can make the other needed.
  for (int pass = 0; pass < 2; ++pass) {
    FScrollBarsShown[1] = wantV && VertAxis().MaxFirst() > FFixedRows;
    FScrollBarsShown[0] = wantH && HorzAxis().MaxFirst() > FFixedCols;
  }
  ClampTopLeft();
  if (!HandleAllocated()) return;
  bool track = FOptions.Contains(goThumbTracking);
  qtc::SetScrollBar(this, false, FScrollBarsShown[0], HorzAxis().MaxFirst() - FFixedCols,
                    std::max(1, VisibleColCount()), FTopLeft.X - FFixedCols, BorderWidth(), track);
  qtc::SetScrollBar(this, true, FScrollBarsShown[1], VertAxis().MaxFirst() - FFixedRows, std::max(1, VisibleRowCount()),
                    FTopLeft.Y - FFixedRows, BorderWidth(), track);
}

bool TCustomGrid::DoMouseWheelDown(TShiftState shift, TPoint mousePos) {
  if (TCustomControl::DoMouseWheelDown(shift, mousePos)) return true;
  SetTopRow(FTopLeft.Y + 3);
  return true;
}

bool TCustomGrid::DoMouseWheelUp(TShiftState shift, TPoint mousePos) {
  if (TCustomControl::DoMouseWheelUp(shift, mousePos)) return true;
  SetTopRow(FTopLeft.Y - 3);
  return true;
}

// --- Painting.
void TCustomGrid::Paint() {
  TCanvas* c = Canvas();
  int b = BorderWidth();
  TRect client = GetClientRect();
  OffsetRect(client, b, b);
  if (b) {
    TRect outer = Rect(0, 0, FWidth, FHeight);
    auto edge = [c](const TRect& r, TColor tl, TColor br) {
      c->GetPen()->SetColor(tl);
      c->MoveTo(r.Left, r.Bottom - 1);
      c->LineTo(r.Left, r.Top);
      c->LineTo(r.Right - 1, r.Top);
      c->GetPen()->SetColor(br);
      c->LineTo(r.Right - 1, r.Bottom - 1);
      c->LineTo(r.Left - 1, r.Bottom - 1);
    };
    if (b == 1) {
      edge(outer, clWindowFrame, clWindowFrame);
    } else {
      edge(outer, clBtnShadow, clBtnHighlight);
      InflateRect(outer, -1, -1);
      edge(outer, cl3DDkShadow, cl3DLight);
    }
  }
  Axis h = HorzAxis(), v = VertAxis();
  TGridRect sel = GetSelection();
  bool focused = Focused();
  auto cellsOf = [](const Axis& a) {
    std::vector<int> cells;
    for (int i = 0; i < a.Fixed; ++i) cells.push_back(i);
    int p = a.FixedBoundary();
    for (int i = a.First; i < a.Count && p < a.Extent; ++i) {
      cells.push_back(i);
      p += a.Size(i) + a.Line;
    }
    return cells;
  };
  // Background beyond the last cells.
  c->GetBrush()->SetColor(GetColor());
  c->FillRect(client);
  for (int row : cellsOf(v)) {
    for (int col : cellsOf(h)) {
      int x = h.Pos(col), y = v.Pos(row);
      TRect r{x, y, x + h.Size(col), y + v.Size(row)};
      TGridDrawState state;
      bool fixed = col < FFixedCols || row < FFixedRows;
      if (fixed) state.Include(gdFixed);
      else {
        if (col >= sel.Left && col <= sel.Right && row >= sel.Top && row <= sel.Bottom) state.Include(gdSelected);
        if (focused && col == FCurrent.X && row == FCurrent.Y) state.Include(gdFocused);
      }
      TRect onCanvas = r;
      OffsetRect(onCanvas, b, b);
      // Lines right of and below the cell.
      bool vline = fixed ? FOptions.Contains(goFixedVertLine) : FOptions.Contains(goVertLine);
      bool hline = fixed ? FOptions.Contains(goFixedHorzLine) : FOptions.Contains(goHorzLine);
      TColor lineColor = fixed ? clBlack : (ColorToRGB(GetColor()) == clSilver ? clGray : clSilver);
      c->GetBrush()->SetColor(lineColor);
      if (h.Line && vline)
        c->FillRect({onCanvas.Right, onCanvas.Top, onCanvas.Right + h.Line, onCanvas.Bottom + v.Line});
      if (v.Line && hline)
        c->FillRect({onCanvas.Left, onCanvas.Bottom, onCanvas.Right + h.Line, onCanvas.Bottom + v.Line});
      // The cell itself.
      bool highlight =
          state.Contains(gdSelected) &&
          (!state.Contains(gdFocused) || FOptions.Contains(goDrawFocusSelected) || FOptions.Contains(goRowSelect));
      c->GetFont()->Assign(GetFont());
      if (fixed) {
        c->GetBrush()->SetColor(FFixedColor);
      } else if (highlight) {
        c->GetBrush()->SetColor(clHighlight);
        c->GetFont()->SetColor(clHighlightText);
      } else {
        c->GetBrush()->SetColor(GetColor());
      }
      if (FDefaultDrawing) c->FillRect(onCanvas);
      DrawCell(col, row, onCanvas, state);
      if (FDefaultDrawing && fixed && FOptions.Contains(goFixedVertLine) && FOptions.Contains(goFixedHorzLine)) {
        c->GetPen()->SetColor(clBtnHighlight);
        c->MoveTo(onCanvas.Left, onCanvas.Bottom - 1);
        c->LineTo(onCanvas.Left, onCanvas.Top);
        c->LineTo(onCanvas.Right, onCanvas.Top);
        c->GetPen()->SetColor(clBtnShadow);
        c->MoveTo(onCanvas.Right - 1, onCanvas.Top + 1);
        c->LineTo(onCanvas.Right - 1, onCanvas.Bottom - 1);
        c->LineTo(onCanvas.Left, onCanvas.Bottom - 1);
      }
      if (FDefaultDrawing && state.Contains(gdFocused) && !FOptions.Contains(goRowSelect) && !FEditorMode)
        c->DrawFocusRect(onCanvas);
    }
  }
}

void TCustomGrid::DrawCell(int col, int row, const TRect& rect, TGridDrawState state) {
  OnDrawCell(this, col, row, rect, state);
}

// --- Editing.
std::string TCustomGrid::GetEditText(int col, int row) {
  std::string s;
  OnGetEditText(this, col, row, s);
  return s;
}

void TCustomGrid::SetEditText(int col, int row, const std::string& value) { OnSetEditText(this, col, row, value); }

bool TCustomGrid::CanEditShow() const {
  return FOptions.Contains(goEditing) && !FOptions.Contains(goRowSelect) && !InState(csDesigning);
}

void TCustomGrid::SetEditorMode(bool v) {
  if (v) ShowEditor();
  else {
    CommitEditor();
    HideEditor();
  }
}

void TCustomGrid::ShowEditor() {
  if (!CanEditShow()) return;
  if (!FEditor) FEditor = new TInplaceEdit(this);
  FEditorMode = true;
  FEditor->SetEditText(GetEditText(FCurrent.X, FCurrent.Y));
  if (FEditor->GetParent() != this) FEditor->SetParent(this);
  UpdateEditor();
  FEditor->Show();
  if (Focused() || FEditor->Focused()) FEditor->SetFocus();
  FEditor->SelectAll();
}

void TCustomGrid::HideEditor() {
  if (!FEditorMode) return;
  FEditorMode = false;
  bool hadFocus = FEditor && FEditor->Focused();
  if (FEditor) FEditor->Hide();
  if (hadFocus && CanFocus()) SetFocus();
  Invalidate();
}

void TCustomGrid::CommitEditor() {
  if (FEditorMode && FEditor) SetEditText(FCurrent.X, FCurrent.Y, FEditor->GetEditText());
}

void TCustomGrid::UpdateEditor() {
  if (!FEditorMode || !FEditor) return;
  TRect r = CellRect(FCurrent.X, FCurrent.Y);
  if (IsRectEmpty(r)) {
    FEditor->SetBounds(-1000, -1000, 0, 0);
    return;
  }
  OffsetRect(r, BorderWidth(), BorderWidth());
  FEditor->SetBounds(r.Left, r.Top, r.Width(), r.Height());
}

// --- Keyboard.
void TCustomGrid::KeyDown(uint16_t& key, TShiftState shift) {
  TCustomControl::KeyDown(key, shift);
  if (key == 0) return;
  int col = FCurrent.X, row = FCurrent.Y;
  int page = std::max(1, VisibleRowCount());
  bool ctrl = shift.Contains(ssCtrl);
  switch (key) {
    case VK_UP: --row; break;
    case VK_DOWN: ++row; break;
    case VK_LEFT:
      if (FOptions.Contains(goRowSelect)) {
        SetLeftCol(FTopLeft.X - 1);
        key = 0;
        return;
      }
      --col;
      break;
    case VK_RIGHT:
      if (FOptions.Contains(goRowSelect)) {
        SetLeftCol(FTopLeft.X + 1);
        key = 0;
        return;
      }
      ++col;
      break;
    case VK_PRIOR: row -= page; break;
    case VK_NEXT: row += page; break;
    case VK_HOME:
      if (ctrl) row = FFixedRows;
      else col = FFixedCols;
      break;
    case VK_END:
      if (ctrl) row = FRowCount - 1;
      else col = FColCount - 1;
      break;
    case VK_TAB:
      if (!FOptions.Contains(goTabs)) return;
      if (shift.Contains(ssShift)) {
        if (--col < FFixedCols) {
          col = FColCount - 1;
          --row;
        }
      } else if (++col >= FColCount) {
        col = FFixedCols;
        ++row;
      }
      if (row < FFixedRows || row >= FRowCount) return;
      break;
    case VK_F1 + 1:  // F2
      SetEditorMode(true);
      key = 0;
      return;
    default: return;
  }
  key = 0;
  col = std::clamp(col, FFixedCols, FColCount - 1);
  row = std::clamp(row, FFixedRows, FRowCount - 1);
  bool extend = shift.Contains(ssShift) && FOptions.Contains(goRangeSelect) && key != VK_TAB;
  FocusCell(col, row, !extend);
}

void TCustomGrid::KeyPress(char& key) {
  TCustomControl::KeyPress(key);
  if (!FOptions.Contains(goEditing) || key == 0) return;
  if (key == '\r') {
    if (FEditorMode) SetEditorMode(false);
    else ShowEditor();
    key = 0;
  } else if (key == 27) {
    if (!FOptions.Contains(goAlwaysShowEditor)) HideEditor();
    key = 0;
  } else if (!FEditorMode && static_cast<unsigned char>(key) >= 32) {
    // Typing starts editing with the typed character in place of the cell's text.
    ShowEditor();
    if (FEditorMode) {
      FEditor->SetEditText(std::string(1, key));
      SetEditText(FCurrent.X, FCurrent.Y, FEditor->GetEditText());
      if (FEditor->HandleAllocated()) qtc::SetSelection(FEditor->Handle(), 1, 0);
    }
    key = 0;
  }
}

// --- Mouse.
// The column (or row) whose trailing line is within reach of the point, or -1.
int TCustomGrid::SizingLineAt(int x, int y, bool& vertical) const {
  Axis h = HorzAxis(), v = VertAxis();
  if (FOptions.Contains(goColSizing) && (FFixedRows == 0 || y < v.FixedBoundary())) {
    for (int col = 0; col < FColCount; ++col) {
      int p = h.Pos(col);
      if (p == INT_MIN) continue;
      if (p > h.Extent) break;
      int line = p + h.Size(col);
      if (x >= line - kSizingMargin && x <= line + h.Line + kSizingMargin) {
        vertical = true;
        return col;
      }
    }
  }
  if (FOptions.Contains(goRowSizing) && (FFixedCols == 0 || x < h.FixedBoundary())) {
    for (int row = 0; row < FRowCount; ++row) {
      int p = v.Pos(row);
      if (p == INT_MIN) continue;
      if (p > v.Extent) break;
      int line = p + v.Size(row);
      if (y >= line - kSizingMargin && y <= line + v.Line + kSizingMargin) {
        vertical = false;
        return row;
      }
    }
  }
  return -1;
}

void TCustomGrid::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (button == mbLeft && !InState(csDesigning)) {
    if (CanFocus() && !Focused() && !(FEditor && FEditor->Focused())) SetFocus();
    if (shift.Contains(ssDouble)) {
      DblClick();
    } else {
      bool vertical = false;
      int line = SizingLineAt(x, y, vertical);
      if (line >= 0) {
        FMouseState = vertical ? TMouseState::ColSizing : TMouseState::RowSizing;
        FSizingIndex = line;
        FSizingPos = vertical ? x : y;
        FSizingOffset = vertical ? ColWidths(line) - x : RowHeights(line) - y;
      } else {
        TGridCoord cell = MouseCoord(x, y);
        if (cell.X >= FFixedCols && cell.Y >= FFixedRows) {
          bool again = cell == FCurrent;
          FMouseState = TMouseState::Selecting;
          FocusCell(cell.X, cell.Y, !(shift.Contains(ssShift) && FOptions.Contains(goRangeSelect)));
          if (again && FOptions.Contains(goEditing) && !FEditorMode) ShowEditor();
        }
      }
    }
  }
  TCustomControl::MouseDown(button, shift, x, y);
}

void TCustomGrid::MouseMove(TShiftState shift, int x, int y) {
  switch (FMouseState) {
    case TMouseState::ColSizing: SetColWidths(FSizingIndex, std::max(1, x + FSizingOffset)); break;
    case TMouseState::RowSizing: SetRowHeights(FSizingIndex, std::max(1, y + FSizingOffset)); break;
    case TMouseState::Selecting: {
      TGridCoord cell = MouseCoord(x, y);
      if (FOptions.Contains(goRangeSelect) && cell.X >= FFixedCols && cell.Y >= FFixedRows && !(cell == FCurrent))
        FocusCell(cell.X, cell.Y, false);
      break;
    }
    case TMouseState::None: {
      bool vertical = false;
      if (!InState(csDesigning) && HandleAllocated()) {
        int line = SizingLineAt(x, y, vertical);
        qtw::SetCursorShape(FHandle, line < 0 ? GetCursor() : vertical ? crHSplit : crVSplit);
      }
      break;
    }
  }
  TCustomControl::MouseMove(shift, x, y);
}

void TCustomGrid::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  FMouseState = TMouseState::None;
  TCustomControl::MouseUp(button, shift, x, y);
}

void TCustomGrid::ColumnMoved(int from, int to) { OnColumnMoved(this, from, to); }
void TCustomGrid::RowMoved(int from, int to) { OnRowMoved(this, from, to); }

// --- Streaming: explicit sizes as the lists "ColWidths" and "RowHeights".
bool TCustomGrid::IsColWidthsStored() const {
  return std::any_of(FColWidths.begin(), FColWidths.end(), [this](int w) { return w != FDefaultColWidth; });
}

bool TCustomGrid::IsRowHeightsStored() const {
  return std::any_of(FRowHeights.begin(), FRowHeights.end(), [this](int h) { return h != FDefaultRowHeight; });
}

void TCustomGrid::DefineProperties(TFiler* filer) {
  TCustomControl::DefineProperties(filer);
  filer->DefineProperty(
      "ColWidths", [this](TReader* r) { ReadColWidths(r); }, [this](TWriter* w) { WriteColWidths(w); },
      IsColWidthsStored());
  filer->DefineProperty(
      "RowHeights", [this](TReader* r) { ReadRowHeights(r); }, [this](TWriter* w) { WriteRowHeights(w); },
      IsRowHeightsStored());
}

// A list longer than the grid (a file edited by hand) loses its extra entries.
void TCustomGrid::ReadColWidths(TReader* r) {
  r->ReadListBegin();
  for (int i = 0; !r->EndOfList(); ++i) {
    int v = r->ReadInteger();
    if (i < FColCount) SetColWidths(i, v);
  }
  r->ReadListEnd();
}

void TCustomGrid::WriteColWidths(TWriter* w) {
  w->WriteListBegin();
  for (int i = 0; i < FColCount; ++i) w->WriteInteger(ColWidths(i));
  w->WriteListEnd();
}

void TCustomGrid::ReadRowHeights(TReader* r) {
  r->ReadListBegin();
  for (int i = 0; !r->EndOfList(); ++i) {
    int v = r->ReadInteger();
    if (i < FRowCount) SetRowHeights(i, v);
  }
  r->ReadListEnd();
}

void TCustomGrid::WriteRowHeights(TWriter* w) {
  w->WriteListBegin();
  for (int i = 0; i < FRowCount; ++i) w->WriteInteger(RowHeights(i));
  w->WriteListEnd();
}

// =============================================================================================
// TStringGrid
TStringGrid::TStringGrid(TComponent* AOwner) : TDrawGrid(AOwner) {
  FCells.assign(GetRowCount(), std::vector<Cell>(GetColCount()));
}

TStringGrid::~TStringGrid() { Destroying(); }

void TStringGrid::SizeChanged(int, int) {
  FCells.resize(GetRowCount());
  for (auto& row : FCells) row.resize(GetColCount());
}

std::string TStringGrid::Cells(int col, int row) const {
  if (row < 0 || col < 0 || row >= static_cast<int>(FCells.size()) || col >= static_cast<int>(FCells[row].size()))
    return "";
  return FCells[row][col].S;
}

void TStringGrid::SetCells(int col, int row, const std::string& s) {
  if (row < 0 || col < 0 || row >= GetRowCount() || col >= GetColCount()) throw EInvalidGridOperation(SIndexOutOfRange);
  FCells[row][col].S = s;
  InvalidateCell(col, row);
}

TObject* TStringGrid::Objects(int col, int row) const {
  if (row < 0 || col < 0 || row >= GetRowCount() || col >= GetColCount()) return nullptr;
  return FCells[row][col].O;
}

void TStringGrid::SetObjects(int col, int row, TObject* o) {
  if (row < 0 || col < 0 || row >= GetRowCount() || col >= GetColCount()) throw EInvalidGridOperation(SIndexOutOfRange);
  FCells[row][col].O = o;
}

TStrings* TStringGrid::Cols(int col) {
  auto& v = FViews[{true, col}];
  if (!v) v = std::make_unique<TStringGridStrings>(this, true, col);
  return v.get();
}

TStrings* TStringGrid::Rows(int row) {
  auto& v = FViews[{false, row}];
  if (!v) v = std::make_unique<TStringGridStrings>(this, false, row);
  return v.get();
}

void TStringGrid::DrawCell(int col, int row, const TRect& rect, TGridDrawState state) {
  if (GetDefaultDrawing()) Canvas()->TextRect(rect, rect.Left + 2, rect.Top + 2, Cells(col, row));
  TDrawGrid::DrawCell(col, row, rect, state);
}

std::string TStringGrid::GetEditText(int col, int row) {
  std::string s = Cells(col, row);
  OnGetEditText(this, col, row, s);
  return s;
}

void TStringGrid::SetEditText(int col, int row, const std::string& value) {
  SetCells(col, row, value);
  TDrawGrid::SetEditText(col, row, value);
}

void TStringGrid::ColumnMoved(int from, int to) {
  for (auto& row : FCells) {
    Cell c = row[from];
    row.erase(row.begin() + from);
    row.insert(row.begin() + to, c);
  }
  TDrawGrid::ColumnMoved(from, to);
}

void TStringGrid::RowMoved(int from, int to) {
  auto r = std::move(FCells[from]);
  FCells.erase(FCells.begin() + from);
  FCells.insert(FCells.begin() + to, std::move(r));
  TDrawGrid::RowMoved(from, to);
}

// --- TStringGridStrings
int TStringGridStrings::Count() const { return FColumn ? FGrid->GetRowCount() : FGrid->GetColCount(); }

std::string TStringGridStrings::Get(int i) const { return FColumn ? FGrid->Cells(FIndex, i) : FGrid->Cells(i, FIndex); }

void TStringGridStrings::Put(int i, const std::string& s) {
  if (FColumn) FGrid->SetCells(FIndex, i, s);
  else FGrid->SetCells(i, FIndex, s);
}

TObject* TStringGridStrings::GetObject(int i) const {
  return FColumn ? FGrid->Objects(FIndex, i) : FGrid->Objects(i, FIndex);
}

void TStringGridStrings::PutObject(int i, TObject* o) {
  if (FColumn) FGrid->SetObjects(FIndex, i, o);
  else FGrid->SetObjects(i, FIndex, o);
}

void TStringGridStrings::Insert(int, const std::string&) { throw EInvalidGridOperation(SInvalidStringGridOp); }
void TStringGridStrings::Delete(int) { throw EInvalidGridOperation(SInvalidStringGridOp); }

void TStringGridStrings::Clear() {
  for (int i = 0; i < Count(); ++i) {
    Put(i, "");
    PutObject(i, nullptr);
  }
  FAdded = 0;
}

// Fills the line from its start, so that assigning a list to a row or column sets its cells.
int TStringGridStrings::Add(const std::string& s) {
  if (FAdded >= Count()) throw EInvalidGridOperation(SIndexOutOfRange);
  Put(FAdded, s);
  return FAdded++;
}

// =============================================================================================
KV_IMPLEMENT_CLASS(TInplaceEdit, "Grids") {}
KV_IMPLEMENT_CLASS(TCustomGrid, "Grids") {}

KV_IMPLEMENT_CLASS(TDrawGrid, "Grids") {
  PublishControlProperties(b, {"Align", "Anchors", "BiDiMode"});
  b.Prop("BorderStyle", &TCustomGrid::GetBorderStyle, &TCustomGrid::SetBorderStyle)
      .Type(TypeInfoTBorderStyle())
      .Default(bsSingle);
  PublishControlProperties(b, {"Color"});
  b.Prop("ColCount", &TCustomGrid::GetColCount, &TCustomGrid::SetColCount).Default(5);
  PublishControlProperties(b, {"Constraints", "Ctl3D"});
  b.Prop("DefaultColWidth", &TCustomGrid::GetDefaultColWidth, &TCustomGrid::SetDefaultColWidth).Default(64);
  b.Prop("DefaultRowHeight", &TCustomGrid::GetDefaultRowHeight, &TCustomGrid::SetDefaultRowHeight).Default(24);
  b.Prop("DefaultDrawing", &TCustomGrid::GetDefaultDrawing, &TCustomGrid::SetDefaultDrawing).Default(true);
  PublishControlProperties(b, {"DragCursor", "DragKind", "DragMode", "Enabled"});
  b.Prop("FixedColor", &TCustomGrid::GetFixedColor, &TCustomGrid::SetFixedColor)
      .Type(TypeInfoTColor())
      .Default(clBtnFace);
  b.Prop("FixedCols", &TCustomGrid::GetFixedCols, &TCustomGrid::SetFixedCols).Default(1);
  b.Prop("RowCount", &TCustomGrid::GetRowCount, &TCustomGrid::SetRowCount).Default(5);
  b.Prop("FixedRows", &TCustomGrid::GetFixedRows, &TCustomGrid::SetFixedRows).Default(1);
  PublishControlProperties(b, {"Font"});
  b.Prop("GridLineWidth", &TCustomGrid::GetGridLineWidth, &TCustomGrid::SetGridLineWidth).Default(1);
  b.Prop("Options", &TCustomGrid::GetOptions, &TCustomGrid::SetOptions)
      .Default(TGridOptions{goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect});
  PublishControlProperties(b, {"ParentBiDiMode"});
  // A grid has the window's colour of its own, as an edit has.
  b.Prop("ParentColor", &TControl::GetParentColor, &TControl::SetParentColor).Default(false);
  PublishControlProperties(b, {"ParentCtl3D", "ParentFont", "ParentShowHint", "PopupMenu"});
  b.Prop("ScrollBars", &TCustomGrid::GetScrollBars, &TCustomGrid::SetScrollBars).Default(ssBoth);
  PublishControlProperties(b, {"ShowHint", "TabOrder"});
  PublishTabStop(b, true);
  PublishControlProperties(b, {"Visible"});
  b.Prop("VisibleColCount", &TCustomGrid::VisibleColCount);
  b.Prop("VisibleRowCount", &TCustomGrid::VisibleRowCount);
  PublishControlProperties(b, {"OnClick"});
  b.Prop("OnColumnMoved", &TCustomGrid::OnColumnMoved);
  PublishControlProperties(b, {"OnDblClick", "OnDragDrop", "OnDragOver"});
  b.Prop("OnDrawCell", &TCustomGrid::OnDrawCell);
  PublishControlProperties(b, {"OnEndDrag", "OnEnter", "OnExit"});
  b.Prop("OnGetEditText", &TCustomGrid::OnGetEditText);
  PublishControlProperties(b, {"OnKeyDown", "OnKeyPress", "OnKeyUp", "OnMouseDown", "OnMouseMove", "OnMouseUp",
                               "OnMouseWheelDown", "OnMouseWheelUp"});
  b.Prop("OnRowMoved", &TCustomGrid::OnRowMoved);
  b.Prop("OnSelectCell", &TCustomGrid::OnSelectCell);
  b.Prop("OnSetEditText", &TCustomGrid::OnSetEditText);
  PublishControlProperties(b, {"OnStartDrag"});
  b.Prop("OnTopLeftChanged", &TCustomGrid::OnTopLeftChanged);
}

KV_IMPLEMENT_CLASS(TStringGridStrings, "Grids") {}
KV_IMPLEMENT_CLASS(TStringGrid, "Grids") {}

void RegisterGridsClasses() { RegisterClasses({TDrawGrid::StaticClass(), TStringGrid::StaticClass()}); }
