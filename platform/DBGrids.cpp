#include <algorithm>

#include "DBGrids.h"
#include "Dialogs.h"
#include "Messages.h"
#include "qt/QtComCtrls.h"

namespace {
constexpr int kIndicatorWidth = 11;

// Points the data link's fields at one row of its window for as long as it lives.
class TActiveRecordScope {
 public:
  TActiveRecordScope(TDataLink* link, int record) : FLink(link), FOld(link->GetActiveRecord()) {
    link->SetActiveRecord(record);
  }
  ~TActiveRecordScope() { FLink->SetActiveRecord(FOld); }

 private:
  TDataLink* FLink;
  int FOld;
};
}  // namespace

// The grid's window of records.
class TCustomDBGrid::TGridDataLink : public TDataLink {
 public:
  explicit TGridDataLink(TCustomDBGrid* grid) : FGrid(grid) {}

 protected:
  void ActiveChanged() override { FGrid->LayoutChanged(); }
  void DataSetChanged() override { FGrid->DataChanged(); }
  void DataSetScrolled(int) override { FGrid->DataChanged(); }
  void EditingChanged() override { FGrid->Invalidate(); }
  void LayoutChanged() override { FGrid->LayoutChanged(); }
  void RecordChanged(TField*) override { FGrid->Invalidate(); }
  void UpdateData() override { FGrid->CommitEdit(); }

 private:
  TCustomDBGrid* FGrid;
};

KV_IMPLEMENT_CLASS(TColumnTitle, "DBGrids") {
  b.Prop("Alignment", &TColumnTitle::GetAlignment, &TColumnTitle::SetAlignment)
      .StoredMethod(&TColumnTitle::IsAlignmentStored, false);
  b.Prop("Caption", &TColumnTitle::GetCaption, &TColumnTitle::SetCaption)
      .StoredMethod(&TColumnTitle::IsCaptionStored, false);
  b.Prop("Color", &TColumnTitle::GetColor, &TColumnTitle::SetColor)
      .Type(TypeInfoTColor())
      .StoredMethod(&TColumnTitle::IsColorStored, false);
  b.Prop("Font", &TColumnTitle::GetFont, &TColumnTitle::SetFont).StoredMethod(&TColumnTitle::IsFontStored, false);
}

KV_IMPLEMENT_CLASS(TColumn, "DBGrids") {
  b.Prop("Alignment", &TColumn::GetAlignment, &TColumn::SetAlignment).StoredMethod(&TColumn::IsAlignmentStored, false);
  b.Prop("ButtonStyle", &TColumn::GetButtonStyle, &TColumn::SetButtonStyle).Default(cbsAuto);
  b.Prop("Color", &TColumn::GetColor, &TColumn::SetColor)
      .Type(TypeInfoTColor())
      .StoredMethod(&TColumn::IsColorStored, false);
  b.Prop("DropDownRows", &TColumn::GetDropDownRows, &TColumn::SetDropDownRows).Default(7);
  b.Prop("Expanded", &TColumn::GetExpanded, &TColumn::SetExpanded).Default(true);
  b.Prop("FieldName", &TColumn::GetFieldName, &TColumn::SetFieldName);
  b.Prop("Font", &TColumn::GetFont, &TColumn::SetFont).StoredMethod(&TColumn::IsFontStored, false);
  b.Prop("PickList", &TColumn::GetPickList, &TColumn::SetPickList);
  b.Prop("ReadOnly", &TColumn::GetReadOnly, &TColumn::SetReadOnly).StoredMethod(&TColumn::IsReadOnlyStored, false);
  b.Prop("Title", &TColumn::GetTitle, &TColumn::SetTitle);
  b.Prop("Width", &TColumn::GetWidth, &TColumn::SetWidth).StoredMethod(&TColumn::IsWidthStored, false);
  b.Prop("Visible", &TColumn::GetVisible, &TColumn::SetVisible);  // written even when True, as Delphi does
}

KV_IMPLEMENT_CLASS(TDBGridColumns, "DBGrids") {}
KV_IMPLEMENT_CLASS(TCustomDBGrid, "DBGrids") {}

KV_IMPLEMENT_CLASS(TDBGrid, "DBGrids") {
  PublishControlProperties(b, {"Align", "Anchors", "BiDiMode"});
  b.Prop("BorderStyle", &TCustomGrid::GetBorderStyle, &TCustomGrid::SetBorderStyle)
      .Type(TypeInfoTBorderStyle())
      .Default(bsSingle);
  PublishControlProperties(b, {"Color"});
  b.Prop("Columns", &TCustomDBGrid::GetColumns, &TCustomDBGrid::SetColumns)
      .StoredMethod(&TCustomDBGrid::IsColumnsStored, false);
  PublishControlProperties(b, {"Constraints", "Ctl3D"});
  b.Prop("DataSource", &TCustomDBGrid::GetDataSource, &TCustomDBGrid::SetDataSource);
  b.Prop("DefaultDrawing", &TCustomGrid::GetDefaultDrawing, &TCustomGrid::SetDefaultDrawing).Default(true);
  PublishControlProperties(b, {"DragCursor", "DragKind", "DragMode", "Enabled"});
  b.Prop("FixedColor", &TCustomGrid::GetFixedColor, &TCustomGrid::SetFixedColor)
      .Type(TypeInfoTColor())
      .Default(clBtnFace);
  PublishControlProperties(b, {"Font", "ImeMode", "ImeName"});
  b.Prop("Options", &TCustomDBGrid::GetOptions, &TCustomDBGrid::SetOptions)
      .Default(TDBGridOptions{dgEditing, dgTitles, dgIndicator, dgColumnResize, dgColLines, dgRowLines, dgTabs,
                              dgConfirmDelete, dgCancelOnExit});
  PublishControlProperties(b, {"ParentBiDiMode"});
  b.Prop("ParentColor", &TControl::GetParentColor, &TControl::SetParentColor).Default(false);
  PublishControlProperties(b, {"ParentCtl3D", "ParentFont", "ParentShowHint", "PopupMenu"});
  b.Prop("ReadOnly", &TCustomDBGrid::GetReadOnly, &TCustomDBGrid::SetReadOnly).Default(false);
  PublishControlProperties(b, {"ShowHint", "TabOrder"});
  PublishTabStop(b, true);
  b.Prop("TitleFont", &TCustomDBGrid::GetTitleFont, &TCustomDBGrid::SetTitleFont);
  PublishControlProperties(b, {"Visible"});
  b.Prop("OnCellClick", &TCustomDBGrid::OnCellClick);
  b.Prop("OnColEnter", &TCustomDBGrid::OnColEnter);
  b.Prop("OnColExit", &TCustomDBGrid::OnColExit);
  b.Prop("OnColumnMoved", &TCustomGrid::OnColumnMoved);
  b.Prop("OnDrawColumnCell", &TCustomDBGrid::OnDrawColumnCell);
  PublishControlProperties(b, {"OnDblClick", "OnDragDrop", "OnDragOver"});
  b.Prop("OnEditButtonClick", &TCustomDBGrid::OnEditButtonClick);
  PublishControlProperties(b, {"OnEndDrag", "OnEnter", "OnExit", "OnKeyDown", "OnKeyPress", "OnKeyUp", "OnStartDrag"});
  b.Prop("OnTitleClick", &TCustomDBGrid::OnTitleClick);
}

// ---------------------------------------------------------------------------------------------
// TColumnTitle and TColumn: unassigned values follow the grid and the field, and are not written.

TColumnTitle::TColumnTitle(TColumn* column) : FColumn(column), FFont(new TFont) {
  FFont->OnChange = [this](TObject*) {
    if (FSyncing) return;
    FFontAssigned = true;
    if (FColumn) FColumn->Changed(false);
  };
}

TColumnTitle::~TColumnTitle() { delete FFont; }

void TColumnTitle::Assign(TPersistent* source) {
  auto* t = dynamic_cast<TColumnTitle*>(source);
  if (!t) return TPersistent::Assign(source);
  FCaption = t->FCaption;
  FAlignment = t->FAlignment;
  FColor = t->FColor;
  if (t->FFontAssigned) FFont->Assign(t->FFont);
}

std::string TColumnTitle::GetCaption() const {
  if (FCaption) return *FCaption;
  if (!FColumn) return "";
  if (TField* f = FColumn->Field()) return f->GetDisplayLabel();
  return FColumn->GetFieldName();
}

void TColumnTitle::SetCaption(const std::string& v) {
  FCaption = v;
  if (FColumn) FColumn->Changed(false);
}

void TColumnTitle::SetAlignment(TAlignment v) {
  FAlignment = v;
  if (FColumn) FColumn->Changed(false);
}

TColor TColumnTitle::GetColor() const {
  if (FColor) return *FColor;
  TCustomDBGrid* g = FColumn ? FColumn->Grid() : nullptr;
  return g ? g->GetFixedColor() : clBtnFace;
}

void TColumnTitle::SetColor(TColor v) {
  FColor = v;
  if (FColumn) FColumn->Changed(false);
}

TFont* TColumnTitle::GetFont() const {
  TFont* gridFont = FColumn ? FColumn->GridFont(true) : nullptr;
  if (!FFontAssigned && gridFont) {
    FSyncing = true;
    FFont->Assign(gridFont);
    FSyncing = false;
  }
  return FFont;
}

TColumn::TColumn() : FTitle(new TColumnTitle(this)), FFont(new TFont), FPickList(new TStringList) {
  FFont->OnChange = [this](TObject*) {
    if (FSyncing) return;
    FFontAssigned = true;
    Changed(false);
  };
}

TColumn::~TColumn() {
  delete FTitle;
  delete FFont;
  delete FPickList;
}

void TColumn::Assign(TPersistent* source) {
  auto* c = dynamic_cast<TColumn*>(source);
  if (!c) return TCollectionItem::Assign(source);
  FFieldName = c->FFieldName;
  FTitle->Assign(c->FTitle);
  FWidth = c->FWidth;
  FAlignment = c->FAlignment;
  FColor = c->FColor;
  FReadOnly = c->FReadOnly;
  if (c->FFontAssigned) FFont->Assign(c->FFont);
  FPickList->Assign(c->FPickList);
  FVisible = c->FVisible;
  FExpanded = c->FExpanded;
  FButtonStyle = c->FButtonStyle;
  FDropDownRows = c->FDropDownRows;
  Changed(true);
}

std::string TColumn::GetDisplayName() const {
  return FFieldName.empty() ? TCollectionItem::GetDisplayName() : FFieldName;
}

TCustomDBGrid* TColumn::Grid() const {
  auto* cols = dynamic_cast<TDBGridColumns*>(Collection());
  return cols ? cols->Grid() : nullptr;
}

TField* TColumn::Field() const {
  TCustomDBGrid* g = Grid();
  if (!g || !g->LinkReady() || FFieldName.empty()) return nullptr;
  return g->FLink->DataSet()->FindField(FFieldName);
}

TFont* TColumn::GridFont(bool title) const {
  TCustomDBGrid* g = Grid();
  return g ? (title ? g->GetTitleFont() : g->GetFont()) : nullptr;
}

void TColumn::SetFieldName(const std::string& v) {
  FFieldName = v;
  Changed(true);
}

// Wide enough for DisplayWidth average characters or the title, whichever is wider.
int TColumn::GetWidth() const {
  if (FWidth) return *FWidth;
  TCustomDBGrid* g = Grid();
  TField* f = Field();
  if (!g || !f) return 64;
  TCanvas* c = g->Canvas();
  c->SetFont(FTitle->GetFont());
  int title = c->TextWidth(FTitle->GetCaption());
  return std::max(f->GetDisplayWidth() * g->AverageCharWidth(), title) + 4;
}

void TColumn::SetWidth(int v) {
  FWidth = v;
  Changed(false);
}

TAlignment TColumn::GetAlignment() const {
  if (FAlignment) return *FAlignment;
  TField* f = Field();
  return f ? f->GetAlignment() : taLeftJustify;
}

void TColumn::SetAlignment(TAlignment v) {
  FAlignment = v;
  Changed(false);
}

TColor TColumn::GetColor() const {
  if (FColor) return *FColor;
  TCustomDBGrid* g = Grid();
  return g ? g->GetColor() : clWindow;
}

void TColumn::SetColor(TColor v) {
  FColor = v;
  Changed(false);
}

TFont* TColumn::GetFont() const {
  TFont* gridFont = GridFont(false);
  if (!FFontAssigned && gridFont) {
    FSyncing = true;
    FFont->Assign(gridFont);
    FSyncing = false;
  }
  return FFont;
}

bool TColumn::GetReadOnly() const {
  if (FReadOnly) return *FReadOnly;
  TField* f = Field();
  return f && f->GetReadOnly();
}

void TColumn::SetReadOnly(bool v) {
  FReadOnly = v;
  Changed(false);
}

void TColumn::SetVisible(bool v) {
  FVisible = v;
  Changed(true);
}

TDBGridColumns::TDBGridColumns(TCustomDBGrid* grid) : TCollection(TColumn::StaticClass()), FGrid(grid) {
  SetOwnerPersistent(grid);
}

// Changing one column customizes the set: default columns rebuilt from the fields would
// lose the change (and free the column its caller still holds).
void TDBGridColumns::Update(TCollectionItem* item) {
  if (FBuilding) return;
  if (item) FDefault = false;
  if (FGrid) FGrid->LayoutChanged();
}

// A column added by the user or a form makes the whole set persistent.
void TDBGridColumns::Added(TCollectionItem*) {
  if (!FBuilding) FDefault = false;
}

// ---------------------------------------------------------------------------------------------
// TCustomDBGrid

TCustomDBGrid::TCustomDBGrid(TComponent* AOwner)
    : TCustomGrid(AOwner),
      FLink(std::make_unique<TGridDataLink>(this)),
      FColumns(new TDBGridColumns(this)),
      FTitleFont(new TFont) {
  FTitleFont->Assign(GetFont());
  FTitleFont->OnChange = [this](TObject*) { LayoutChanged(); };
  SetBounds(GetLeft(), GetTop(), 320, 120);
  LayoutChanged();
}

TCustomDBGrid::~TCustomDBGrid() {
  Destroying();
  FLink->SetDataSource(nullptr);
  delete FColumns;
  FColumns = nullptr;
  delete FTitleFont;
}

TDataSource* TCustomDBGrid::GetDataSource() const { return FLink->GetDataSource(); }
TDataLink* TCustomDBGrid::DataLink() const { return FLink.get(); }

void TCustomDBGrid::SetDataSource(TDataSource* v) {
  FLink->SetDataSource(v);
  LayoutChanged();
}

void TCustomDBGrid::SetOptions(TDBGridOptions v) {
  if (v.Contains(dgRowSelect)) v.Exclude(dgAlwaysShowEditor);
  FOptions = v;
  LayoutChanged();
}

void TCustomDBGrid::SetReadOnly(bool v) {
  FReadOnly = v;
  LayoutChanged();
}

// Column widths belong to the columns; the grid's own ColWidths are not written.
void TCustomDBGrid::DefineProperties(TFiler* filer) { TCustomControl::DefineProperties(filer); }

void TCustomDBGrid::Loaded() {
  TCustomGrid::Loaded();
  LayoutChanged();
}

bool TCustomDBGrid::LinkReady() const { return FLink->Active() && !InState(csDesigning); }

int TCustomDBGrid::AverageCharWidth() const {
  TCanvas* c = Canvas();
  c->SetFont(GetFont());
  return (c->TextWidth("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ") / 26 + 1) / 2;
}

void TCustomDBGrid::ApplyOptions() {
  TGridOptions o{goFixedVertLine, goFixedHorzLine, goDrawFocusSelected};
  if (FOptions.Contains(dgColLines)) o.Include(goVertLine);
  if (FOptions.Contains(dgRowLines)) o.Include(goHorzLine);
  if (FOptions.Contains(dgColumnResize)) o.Include(goColSizing);
  if (FOptions.Contains(dgEditing) && !FReadOnly) o.Include(goEditing);
  if (FOptions.Contains(dgAlwaysShowEditor)) o.Include(goAlwaysShowEditor);
  if (FOptions.Contains(dgTabs)) o.Include(goTabs);
  if (FOptions.Contains(dgRowSelect)) o.Include(goRowSelect);
  TCustomGrid::SetOptions(o);
}

void TCustomDBGrid::LayoutChanged() {
  if (FLayoutLock || !FColumns || InState(csLoading) || InState(csDestroying)) return;
  ++FLayoutLock;
  const int selected = GetCol() - IndicatorOffset();  // the column the user is on stays selected
  if (FColumns->Count() == 0 || FColumns->IsDefault()) {
    FColumns->FBuilding = true;
    FColumns->Clear();
    if (LinkReady()) {
      TFields& fields = FLink->DataSet()->Fields();
      for (int i = 0; i < fields.Count(); ++i)
        if (fields[i]->GetVisible()) FColumns->Add()->SetFieldName(fields[i]->GetFieldName());
    }
    FColumns->FDefault = FColumns->Count() > 0;
    FColumns->FBuilding = false;
  }
  FShown.clear();
  for (int i = 0; i < FColumns->Count(); ++i)
    if (FColumns->Items(i)->GetVisible()) FShown.push_back(FColumns->Items(i));
  ApplyOptions();
  TCanvas* c = Canvas();
  c->SetFont(GetFont());
  int textHeight = c->TextHeight("Wg");
  c->SetFont(FTitleFont);
  SetDefaultRowHeight(std::max(textHeight, c->TextHeight("Wg")) + 3);
  // Fixed counts first drop to 0 so no intermediate size is refused.
  SetFixedCols(0);
  SetFixedRows(0);
  const int ind = IndicatorOffset();
  SetColCount(ind + std::max<int>(1, static_cast<int>(FShown.size())));
  SetFixedCols(ind);
  if (ind) SetColWidths(0, kIndicatorWidth);
  for (size_t i = 0; i < FShown.size(); ++i) SetColWidths(ind + static_cast<int>(i), FShown[i]->GetWidth());
  UpdateRowCount();
  SetFixedRows(TitleOffset());
  if (selected > 0 && selected < static_cast<int>(FShown.size())) {
    FSyncing = true;
    SetCol(ind + selected);
    FSyncing = false;
  }
  --FLayoutLock;
  DataChanged();
}

// One buffered record per fully visible row; the grid never scrolls itself vertically.
void TCustomDBGrid::UpdateRowCount() {
  int line = FOptions.Contains(dgRowLines) ? GetGridLineWidth() : 0;
  int rowHeight = GetDefaultRowHeight() + line;
  int room = GetClientRect().Height() - TitleOffset() * rowHeight;
  int rows = 1;
  if (LinkReady()) {
    FLink->SetBufferCount(std::max(1, room / rowHeight));
    rows = std::max(1, FLink->RecordCount());
  }
  SetRowCount(TitleOffset() + rows);
}

void TCustomDBGrid::DataChanged() {
  if (FLayoutLock || InState(csLoading) || InState(csDestroying)) return;
  ++FLayoutLock;
  UpdateRowCount();
  --FLayoutLock;
  SyncCurrentRow();
  if (GetEditorMode() && InplaceEditor()) InplaceEditor()->SetEditText(GetEditText(GetCol(), GetRow()));
  Invalidate();
  UpdateVertScrollBar();
}

void TCustomDBGrid::SyncCurrentRow() {
  if (!LinkReady()) return;
  int target = TitleOffset() + std::max(0, FLink->GetActiveRecord());
  if (target == GetRow() || target >= GetRowCount()) return;
  FSyncing = true;
  try {
    SetRow(target);
  } catch (...) {
    FSyncing = false;
    throw;
  }
  FSyncing = false;
}

// The vertical bar stands for the dataset (one position per record), not for the grid's rows.
void TCustomDBGrid::UpdateVertScrollBar() {
  TScrollStyle s = GetScrollBars();
  bool want = s == ssVertical || s == ssBoth;
  int count = LinkReady() ? FLink->DataSet()->RecordCount() : 0;
  int pos = LinkReady() ? std::max(0, FLink->DataSet()->GetRecNo() - 1) : 0;
  qtc::SetScrollBar(this, true, want, std::max(0, count - 1), 1, pos, GetBorderStyle() == bsSingle ? 2 : 0, false);
}

TRect TCustomDBGrid::GetClientRect() const {
  TRect r = TCustomGrid::GetClientRect();
  TScrollStyle s = GetScrollBars();
  if (s == ssVertical || s == ssBoth) r.Right = std::max(0, r.Right - qtc::ScrollBarSize());
  return r;
}

void TCustomDBGrid::BoundsChanged() {
  TCustomGrid::BoundsChanged();
  DataChanged();
}

// Past the grid's own scrolling: the rows are the dataset's records.
bool TCustomDBGrid::DoMouseWheelDown(TShiftState shift, TPoint mousePos) {
  if (TCustomControl::DoMouseWheelDown(shift, mousePos)) return true;
  if (LinkReady()) MoveBy(1);
  return true;
}

bool TCustomDBGrid::DoMouseWheelUp(TShiftState shift, TPoint mousePos) {
  if (TCustomControl::DoMouseWheelUp(shift, mousePos)) return true;
  if (LinkReady()) MoveBy(-1);
  return true;
}

void TCustomDBGrid::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case WM_VSCROLL: {
      if (!LinkReady()) return;
      TDataSet* ds = FLink->DataSet();
      auto code = static_cast<uint16_t>(m.WParam & 0xFFFF);
      int pos = static_cast<uint16_t>((m.WParam >> 16) & 0xFFFF);
      int page = std::max(1, FLink->GetBufferCount());
      CommitEdit();
      switch (code) {
        case SB_LINEUP: MoveBy(-1); break;
        case SB_LINEDOWN: MoveBy(1); break;
        case SB_PAGEUP: MoveBy(-page); break;
        case SB_PAGEDOWN: MoveBy(page); break;
        case SB_THUMBPOSITION:
        case SB_THUMBTRACK: ds->SetRecNo(pos + 1); break;
        case SB_TOP: ds->First(); break;
        case SB_BOTTOM: ds->Last(); break;
        default: break;
      }
      return;
    }
    case WM_SIZE:
      TCustomGrid::Dispatch(m);
      DataChanged();
      return;
    case CM_FONTCHANGED:
      TCustomGrid::Dispatch(m);
      LayoutChanged();
      return;
    default: break;
  }
  TCustomGrid::Dispatch(m);
}

TColumn* TCustomDBGrid::ColumnAt(int col) const {
  int i = col - IndicatorOffset();
  return i >= 0 && i < static_cast<int>(FShown.size()) ? FShown[i] : nullptr;
}

TColumn* TCustomDBGrid::SelectedColumn() const { return ColumnAt(GetCol()); }

TField* TCustomDBGrid::SelectedField() const {
  TColumn* c = SelectedColumn();
  return c ? c->Field() : nullptr;
}

int TCustomDBGrid::SelectedIndex() const { return GetCol() - IndicatorOffset(); }

void TCustomDBGrid::SetSelectedIndex(int v) { SetCol(v + IndicatorOffset()); }

std::string TCustomDBGrid::CellText(int col, int row) {
  TColumn* column = ColumnAt(col);
  if (!column) return "";
  if (row < TitleOffset()) return column->GetTitle()->GetCaption();
  TField* f = column->Field();
  int record = row - TitleOffset();
  if (!f || record >= FLink->RecordCount()) return "";
  TActiveRecordScope scope(FLink.get(), record);
  return f->GetDisplayText();
}

void TCustomDBGrid::DrawIndicator(const TRect& r, int record) {
  if (!LinkReady() || record != FLink->GetActiveRecord()) return;
  TCanvas* c = Canvas();
  int cx = (r.Left + r.Right) / 2, cy = (r.Top + r.Bottom) / 2;
  c->GetPen()->SetColor(clBlack);
  c->GetBrush()->SetColor(clBlack);
  switch (FLink->DataSet()->State()) {
    case dsEdit:  // an I-beam: the record is being edited
      c->MoveTo(cx, cy - 5), c->LineTo(cx, cy + 5);
      c->MoveTo(cx - 2, cy - 5), c->LineTo(cx + 3, cy - 5);
      c->MoveTo(cx - 2, cy + 5), c->LineTo(cx + 3, cy + 5);
      break;
    case dsInsert:
      c->GetBrush()->SetStyle(bsClear);
      c->TextOut(cx - c->TextWidth("*") / 2, cy - c->TextHeight("*") / 2, "*");
      break;
    default: c->Polygon({{cx - 2, cy - 4}, {cx - 2, cy + 4}, {cx + 2, cy}}); break;
  }
}

void TCustomDBGrid::DrawCell(int col, int row, const TRect& rect, TGridDrawState state) {
  const int title = TitleOffset();
  if (col < IndicatorOffset()) {
    if (row >= title) DrawIndicator(rect, row - title);
    return;
  }
  TColumn* column = ColumnAt(col);
  if (!column) return;
  TCanvas* c = Canvas();
  TAlignment align;
  if (row < title) {
    c->SetFont(column->GetTitle()->GetFont());
    c->GetBrush()->SetColor(column->GetTitle()->GetColor());
    align = column->GetTitle()->GetAlignment();
  } else {
    bool highlight = state.Contains(gdSelected) && (Focused() || (InplaceEditor() && InplaceEditor()->Focused()) ||
                                                    FOptions.Contains(dgAlwaysShowSelection));
    c->SetFont(column->GetFont());
    c->GetBrush()->SetColor(highlight ? clHighlight : column->GetColor());
    if (highlight) c->GetFont()->SetColor(clHighlightText);
    align = column->GetAlignment();
  }
  int record = row - title;
  bool hasRecord = row >= title && LinkReady() && record < FLink->RecordCount();
  if (GetDefaultDrawing()) {
    c->FillRect(rect);
    std::string text = CellText(col, row);
    int w = c->TextWidth(text), x = rect.Left + 2;
    if (align == taRightJustify) x = rect.Right - w - 3;
    else if (align == taCenter) x = rect.Left + (rect.Width() - w) / 2;
    c->TextRect(rect, x, rect.Top + 2, text);
  }
  if (hasRecord && OnDrawColumnCell) {
    TActiveRecordScope scope(FLink.get(), record);
    OnDrawColumnCell(this, rect, col - IndicatorOffset(), column, state);
  }
}

void TCustomDBGrid::CommitEdit() {
  if (GetEditorMode() && InplaceEditor()) SetEditText(GetCol(), GetRow(), InplaceEditor()->GetEditText());
}

void TCustomDBGrid::MoveBy(int distance) {
  CommitEdit();
  FLink->DataSet()->MoveBy(distance);
}

bool TCustomDBGrid::SelectCell(int col, int row) {
  if (FSyncing) return true;
  if (!TCustomGrid::SelectCell(col, row)) return false;
  if (col != GetCol()) {
    OnColExit(this);
    FColChanged = true;
  }
  if (row == GetRow() || !LinkReady()) return true;
  MoveBy(row - GetRow());
  // The dataset may stop short (or the window shift): the grid follows the dataset.
  return GetRow() == row;
}

std::string TCustomDBGrid::GetEditText(int col, int) {
  TColumn* column = ColumnAt(col);
  TField* f = column ? column->Field() : nullptr;
  return f ? f->GetText() : "";
}

void TCustomDBGrid::SetEditText(int col, int, const std::string& value) {
  if (FSyncing || !LinkReady()) return;
  TColumn* column = ColumnAt(col);
  TField* f = column ? column->Field() : nullptr;
  if (!f || column->GetReadOnly() || !f->GetCanModify()) return;
  if (f->GetText() == value || !FLink->Edit()) return;
  f->SetText(value);
}

bool TCustomDBGrid::CanEditShow() const {
  if (!TCustomGrid::CanEditShow() || !LinkReady() || FReadOnly) return false;
  TColumn* column = ColumnAt(GetCol());
  TField* f = column ? column->Field() : nullptr;
  return f && !column->GetReadOnly() && f->GetCanModify();
}

void TCustomDBGrid::KeyDown(uint16_t& key, TShiftState shift) {
  if (!LinkReady() || InState(csDesigning)) return TCustomGrid::KeyDown(key, shift);
  TDataSet* ds = FLink->DataSet();
  const bool ctrl = shift.Contains(ssCtrl);
  const bool canEdit = FOptions.Contains(dgEditing) && !FReadOnly && ds->CanModify();
  const int page = std::max(1, FLink->GetBufferCount());
  switch (key) {
    case VK_UP: MoveBy(-1); break;
    case VK_DOWN:
      // Past the last record a new one is appended, unless one is already being inserted.
      if (ds->State() == dsInsert && !ds->Modified()) break;
      MoveBy(1);
      if (ds->Eof() && canEdit) ds->Append();
      break;
    case VK_PRIOR: MoveBy(-page); break;
    case VK_NEXT: MoveBy(page); break;
    case VK_HOME:
      if (!ctrl) return TCustomGrid::KeyDown(key, shift);
      CommitEdit();
      ds->First();
      break;
    case VK_END:
      if (!ctrl) return TCustomGrid::KeyDown(key, shift);
      CommitEdit();
      ds->Last();
      break;
    case VK_INSERT:
      if (!canEdit) return;
      CommitEdit();
      ds->Insert();
      break;
    case VK_DELETE:
      if (!ctrl || !canEdit || ds->IsEmpty()) return TCustomGrid::KeyDown(key, shift);
      if (!FOptions.Contains(dgConfirmDelete) ||
          MessageDlg(DBConsts::SDeleteRecordQuestion, mtConfirmation, TMsgDlgButtons{mbOK, mbCancel}) == mrOk)
        ds->Delete();
      break;
    default: return TCustomGrid::KeyDown(key, shift);
  }
  key = 0;
}

// Escape drops the edits of the record, as well as closing the editor.
void TCustomDBGrid::KeyPress(char& key) {
  if (key == 27 && LinkReady()) {
    TDataSet* ds = FLink->DataSet();
    if (ds->State() == dsEdit || ds->State() == dsInsert) ds->Cancel();
  }
  TCustomGrid::KeyPress(key);
}

void TCustomDBGrid::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TGridCoord cell = MouseCoord(x, y);
  FTitleDownCol = button == mbLeft && cell.Y >= 0 && cell.Y < TitleOffset() && ColumnAt(cell.X) ? cell.X : -1;
  if (FTitleDownCol >= 0) FTitleDownWidth = ColWidths(FTitleDownCol);
  TCustomGrid::MouseDown(button, shift, x, y);
}

void TCustomDBGrid::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  TCustomGrid::MouseUp(button, shift, x, y);
  if (button != mbLeft) return;
  // A drag on a title line resized a column: the column keeps the width.
  bool resized = false;
  ++FLayoutLock;
  for (size_t i = 0; i < FShown.size(); ++i) {
    int w = ColWidths(IndicatorOffset() + static_cast<int>(i));
    if (w != FShown[i]->GetWidth()) {
      FShown[i]->SetWidth(w);
      resized = true;
    }
  }
  --FLayoutLock;
  TGridCoord cell = MouseCoord(x, y);
  if (FTitleDownCol >= 0 && !resized && cell.X == FTitleDownCol && ColWidths(cell.X) == FTitleDownWidth)
    OnTitleClick(ColumnAt(cell.X));
  else if (cell.Y >= TitleOffset() && ColumnAt(cell.X) && !InState(csDesigning)) OnCellClick(ColumnAt(cell.X));
  FTitleDownCol = -1;
}

void TCustomDBGrid::Click() {
  if (FSyncing) return;
  if (FColChanged) {
    FColChanged = false;
    OnColEnter(this);
  }
  TCustomGrid::Click();
}

// Leaving the grid drops a new record nothing was typed into.
void TCustomDBGrid::DoExit() {
  if (FOptions.Contains(dgCancelOnExit) && LinkReady()) {
    TDataSet* ds = FLink->DataSet();
    if (ds->State() == dsInsert && !ds->Modified()) ds->Cancel();
  }
  TCustomGrid::DoExit();
}

void RegisterDBGridsClasses() { RegisterClasses({TDBGrid::StaticClass()}); }
