// List views: their items and columns, streaming the items in Delphi's record layout, and the
// control that lays them out, paints, scrolls and selects them as the Windows 95 list view does.
#include <algorithm>

#include "ComCtrls_Views.h"
#include "ExtCtrls.h"
#include "qt/QtMoreCtrls.h"

namespace {
constexpr int ViewsCheckSize = 13;

// Text in r at the given alignment, cut with an ellipsis when it does not fit.
void ViewsText(TCanvas* c, const TRect& r, const std::string& text, TAlignment a) {
  std::string s = text;
  int room = r.Width() - 4;
  if (c->TextWidth(s) > room) {
    while (!s.empty() && c->TextWidth(s + "...") > room) s.pop_back();
    s += "...";
  }
  int w = c->TextWidth(s);
  int x = a == taLeftJustify ? r.Left + 2 : a == taRightJustify ? r.Right - 2 - w : (r.Left + r.Right - w) / 2;
  c->TextRect(r, x, (r.Top + r.Bottom - c->TextHeight("Ag")) / 2, s);
}

// A Windows 95 check box (state image 1 unchecked, 2 checked for list views).
void ViewsCheckBox(TCanvas* c, int x, int y, bool checked) {
  TRect r = Bounds(x, y, ViewsCheckSize, ViewsCheckSize);
  Frame3D(c, r, clBtnShadow, clBtnHighlight, 1);
  Frame3D(c, r, cl3DDkShadow, cl3DLight, 1);
  c->GetBrush()->SetColor(clWindow);
  c->FillRect(r);
  if (!checked) return;
  c->GetPen()->SetColor(clWindowText);
  for (int i = 0; i < 3; ++i) {
    c->MoveTo(r.Left + 1, r.Top + 3 + i);
    c->LineTo(r.Left + 3, r.Top + 5 + i);
    c->LineTo(r.Left + 8, r.Top + i);
  }
}
}  // namespace

// =============================================================================================
// TListItem
TListItem::TListItem(TListItems* owner) : FOwner(owner), FSubItems(new TStringList) {
  FSubItems->OnChange = [this](TObject*) {
    FSubItemImages.resize(static_cast<size_t>(FSubItems->Count()), -1);
    if (TListView* lv = ListView()) lv->ItemsChanged();
  };
}

TListItem::~TListItem() { delete FSubItems; }

TListView* TListItem::ListView() const { return FOwner ? FOwner->Owner() : nullptr; }
TPersistent* TListItem::GetOwner() const { return FOwner; }
TStrings* TListItem::GetSubItems() const { return FSubItems; }
void TListItem::SetSubItems(TStrings* v) { FSubItems->Assign(v); }

bool TListItem::Changing(TItemChange change) {
  TListView* lv = ListView();
  return !lv || lv->ItemChanging(this, change);
}

void TListItem::Changed(TItemChange change) {
  if (TListView* lv = ListView()) lv->ItemChanged(this, change);
}

void TListItem::SetCaption(const std::string& v) {
  if (v == FCaption || !Changing(ctText)) return;
  FCaption = v;
  Changed(ctText);
}

void TListItem::SetImageIndex(int v) {
  if (v == FImageIndex || !Changing(ctImage)) return;
  FImageIndex = v;
  Changed(ctImage);
}

void TListItem::SetStateIndex(int v) {
  if (v == FStateIndex || !Changing(ctState)) return;
  FStateIndex = v;
  Changed(ctState);
}

void TListItem::SetOverlayIndex(int v) {
  if (v == FOverlayIndex || !Changing(ctImage)) return;
  FOverlayIndex = v;
  Changed(ctImage);
}

int TListItem::SubItemImage(int i) const {
  if (i < 0 || i >= FSubItems->Count()) throw EListError(Format(SListIndexError, i));
  return FSubItemImages[static_cast<size_t>(i)];
}

void TListItem::SetSubItemImage(int i, int v) {
  if (i < 0 || i >= FSubItems->Count()) throw EListError(Format(SListIndexError, i));
  FSubItemImages[static_cast<size_t>(i)] = v;
  Changed(ctImage);
}

void TListItem::SetSelected(bool v) {
  if (v == FSelected) return;
  if (TListView* lv = ListView()) lv->ItemSelected(this, v);
  else FSelected = v;
}

void TListItem::SetFocused(bool v) {
  if (v == FFocused) return;
  TListView* lv = ListView();
  if (lv && v) lv->SetItemFocused(this);
  else if (lv) lv->SetItemFocused(nullptr);
  else FFocused = v;
}

void TListItem::SetChecked(bool v) {
  if (v == FChecked || !Changing(ctState)) return;
  FChecked = v;
  Changed(ctState);
}

void TListItem::SetData(void* v) {
  if (v == FData) return;
  FData = v;
  if (TListView* lv = ListView()) lv->SortIfNeeded(false, true);
}

int TListItem::GetIndex() const { return FOwner ? FOwner->IndexOf(this) : -1; }

void TListItem::Delete() {
  if (FOwner) FOwner->Delete(GetIndex());
  else delete this;
}

void TListItem::MakeVisible(bool partialOK) {
  TListView* lv = ListView();
  int i = GetIndex();
  if (!lv || i < 0) return;
  TRect r = lv->ItemRect(i);
  TRect view = lv->ViewRect();
  OffsetRect(r, -lv->FScroll.X, -lv->FScroll.Y);
  OffsetRect(r, view.Left, view.Top);
  if (partialOK && r.Bottom > view.Top && r.Top < view.Bottom) return;
  lv->ScrollIntoView(lv->ItemRect(i));
}

TRect TListItem::DisplayRect(bool textOnly) const {
  TListView* lv = ListView();
  int i = GetIndex();
  if (!lv || i < 0) return {};
  TRect r = lv->ItemRect(i);
  TRect view = lv->ViewRect();
  OffsetRect(r, view.Left - lv->FScroll.X, view.Top - lv->FScroll.Y);
  if (textOnly && lv->FViewStyle != vsIcon) {
    TImageList* il = lv->GetImages();
    r.Left += (lv->FCheckboxes ? ViewsCheckSize + 3 : 0) + (il ? il->GetWidth() + 2 : 0);
  }
  return r;
}

void TListItem::Assign(TPersistent* source) {
  if (auto* s = Cast<TListItem>(source)) {
    SetCaption(s->FCaption);
    FSubItems->Assign(s->FSubItems);
    FSubItemImages = s->FSubItemImages;
    SetImageIndex(s->FImageIndex);
    SetStateIndex(s->FStateIndex);
    SetOverlayIndex(s->FOverlayIndex);
    SetData(s->FData);
    return;
  }
  TPersistent::Assign(source);
}

// =============================================================================================
// TListItems
TListItems::TListItems(TListView* owner) : FOwner(owner) {}

TListItems::~TListItems() {
  for (TListItem* i : FItems) delete i;
}

TPersistent* TListItems::GetOwner() const { return FOwner; }

TListItem* TListItems::Item(int i) const {
  if (i < 0 || i >= Count()) throw EListError(Format(SListIndexError, i));
  return FItems[static_cast<size_t>(i)];
}

int TListItems::IndexOf(const TListItem* item) const {
  auto it = std::find(FItems.begin(), FItems.end(), item);
  return it == FItems.end() ? -1 : static_cast<int>(it - FItems.begin());
}

TListItem* TListItems::Add() { return InsertAt(Count(), true); }

TListItem* TListItems::Insert(int index) {
  if (index < 0 || index > Count()) throw EListError(Format(SListIndexError, index));
  return InsertAt(index, true);
}

TListItem* TListItems::InsertAt(int index, bool notify) {
  auto* item = new TListItem(this);
  FItems.insert(FItems.begin() + index, item);
  if (notify && FOwner && !FReading) FOwner->OnInsert(FOwner, item);
  Changed();
  return item;
}

void TListItems::Delete(int index) {
  TListItem* item = Item(index);
  if (FOwner) FOwner->ItemDeleting(item);
  FItems.erase(FItems.begin() + index);
  delete item;
  Changed();
}

void TListItems::Clear() {
  if (FItems.empty()) return;
  BeginUpdate();
  while (!FItems.empty()) Delete(Count() - 1);
  EndUpdate();
}

void TListItems::BeginUpdate() { ++FUpdateCount; }

void TListItems::EndUpdate() {
  if (FUpdateCount > 0 && --FUpdateCount == 0) Changed();
}

void TListItems::Changed() {
  if (FOwner && FUpdateCount == 0) FOwner->ItemsChanged();
}

void TListItems::Assign(TPersistent* source) {
  if (auto* s = Cast<TListItems>(source)) {
    if (s == this) return;
    BeginUpdate();
    Clear();
    for (TListItem* from : s->FItems) InsertAt(Count(), false)->Assign(from);
    EndUpdate();
    return;
  }
  TPersistent::Assign(source);
}

void TListItems::DefineProperties(TFiler* filer) {
  filer->DefineBinaryProperty(
      "Data", [this](TStream* s) { ReadData(s); }, [this](TStream* s) { WriteData(s); },
      ViewsItemsToWrite(this, filer, Count() > 0));
}

void TListItems::ReadData(TStream* stream) {
  std::string blob = ViewsReadRest(stream);
  ViewsBlobReader r(blob);
  int32_t size = r.Int();
  if (size < 8 || static_cast<size_t>(size) > blob.size()) throw EReadError(SInvalidBinary);
  r.End = static_cast<size_t>(size);
  int32_t count = r.Int();
  // Each item takes at least its fixed 20 bytes and a length byte.
  if (count < 0 || static_cast<size_t>(count) > r.Left() / 21) throw EReadError(SInvalidBinary);
  struct Row {
    int32_t Image, State, Overlay;
    void* Data;
    std::string Caption;
    std::vector<std::string> Subs;
  };
  std::vector<Row> rows(static_cast<size_t>(count));
  size_t subTotal = 0;
  for (Row& row : rows) {
    row.Image = r.Int();
    row.State = r.Int();
    row.Overlay = r.Int();
    int32_t subs = r.Int();
    row.Data = ViewsDataPtr(r.Int());
    row.Caption = r.ShortString();
    if (subs < 0 || static_cast<size_t>(subs) > r.Left()) throw EReadError(SInvalidBinary);
    for (int32_t j = 0; j < subs; ++j) row.Subs.push_back(r.ShortString());
    subTotal += row.Subs.size();
  }
  // Delphi 5 on: the sub items' images follow the items.
  std::vector<int32_t> subImages;
  if (r.Left() > 0) {
    if (r.Left() != subTotal * 4) throw EReadError(SInvalidBinary);
    for (size_t k = 0; k < subTotal; ++k) subImages.push_back(r.Int());
  }
  FReading = true;
  BeginUpdate();
  try {
    Clear();
    size_t k = 0;
    for (Row& row : rows) {
      TListItem* item = InsertAt(Count(), false);
      item->FCaption = row.Caption;
      item->FImageIndex = row.Image;
      item->FStateIndex = row.State;
      item->FOverlayIndex = row.Overlay;
      item->FData = row.Data;
      for (const std::string& s : row.Subs) item->FSubItems->Add(s);
      for (size_t j = 0; j < row.Subs.size() && !subImages.empty(); ++j) item->FSubItemImages[j] = subImages[k++];
    }
  } catch (...) {
    FReading = false;
    EndUpdate();
    throw;
  }
  FReading = false;
  EndUpdate();
}

void TListItems::WriteData(TStream* stream) const {
  std::string out;
  ViewsPutInt(out, 0);  // size, patched below
  ViewsPutInt(out, Count());
  bool subImages = false;
  for (TListItem* item : FItems) {
    ViewsPutInt(out, item->FImageIndex);
    ViewsPutInt(out, item->FStateIndex);
    ViewsPutInt(out, item->FOverlayIndex);
    ViewsPutInt(out, item->FSubItems->Count());
    ViewsPutInt(out, ViewsDataBits(item->FData));
    ViewsPutShortString(out, item->FCaption);
    for (int j = 0; j < item->FSubItems->Count(); ++j) ViewsPutShortString(out, item->FSubItems->Get(j));
    for (int img : item->FSubItemImages) subImages |= img != -1;
  }
  if (subImages)
    for (TListItem* item : FItems)
      for (int img : item->FSubItemImages) ViewsPutInt(out, img);
  std::string size;
  ViewsPutInt(size, static_cast<int32_t>(out.size()));
  out.replace(0, 4, size);
  stream->WriteBuffer(out.data(), static_cast<int64_t>(out.size()));
}

// =============================================================================================
// TListColumn, TIconOptions
void TListColumn::SetWidth(int v) {
  if (FMinWidth > 0) v = std::max(v, FMinWidth);
  if (FMaxWidth > 0) v = std::min(v, FMaxWidth);
  FWidth = v;
  Changed(false);
}

void TListColumn::Assign(TPersistent* source) {
  if (auto* s = Cast<TListColumn>(source)) {
    FCaption = s->FCaption, FWidth = s->FWidth, FAlignment = s->FAlignment, FAutoSize = s->FAutoSize;
    FImageIndex = s->FImageIndex, FMinWidth = s->FMinWidth, FMaxWidth = s->FMaxWidth, FTag = s->FTag;
    Changed(false);
    return;
  }
  TCollectionItem::Assign(source);
}

TPersistent* TIconOptions::GetOwner() const { return FOwner; }

void TIconOptions::SetArrangement(TIconArrangement v) {
  FArrangement = v;
  if (FOwner) FOwner->ItemsChanged();
}

void TIconOptions::SetWrapText(bool v) {
  FWrapText = v;
  if (FOwner) FOwner->ItemsChanged();
}

void TIconOptions::Assign(TPersistent* source) {
  if (auto* s = Cast<TIconOptions>(source)) {
    FArrangement = s->FArrangement, FAutoArrange = s->FAutoArrange, FWrapText = s->FWrapText;
    if (FOwner) FOwner->ItemsChanged();
    return;
  }
  TPersistent::Assign(source);
}

// =============================================================================================
// TListView
TListView::TListView(TComponent* AOwner)
    : TCustomViewControl(AOwner),
      FItems(new TListItems(this)),
      FColumns(new TControlCollection(this, TListColumn::StaticClass())),
      FIconOptions(new TIconOptions(this)) {}

TListView::~TListView() {
  Destroying();
  DestroyHandle();
  if (FHoverTimer) qtm::StopTimer(FHoverTimer);
  delete FItems;
  delete FColumns;
  delete FIconOptions;
}

void TListView::SetLargeImages(TImageList* v) {
  SetComponentReference(this, FLargeImages, v);
  ItemsChanged();
}

void TListView::Notification(TComponent* c, TOperation op) {
  TCustomViewControl::Notification(c, op);
  if (op == opRemove && c == FLargeImages) FLargeImages = nullptr;
}

void TListView::SetViewStyle(TViewStyle v) {
  FViewStyle = v;
  FScroll = {0, 0};
  ItemsChanged();
}

void TListView::SetMultiSelect(bool v) {
  FMultiSelect = v;
  if (!v) {
    TListItem* first = GetSelected();
    for (TListItem* i : FItems->FItems)
      if (i != first && i->FSelected) ItemSelected(i, false);
  }
}

void TListView::SetSortType(TSortType v) {
  if (v == FSortType) return;
  FSortType = v;
  if (v != stNone && !InState(csLoading)) AlphaSort();
}

void TListView::Loaded() {
  TCustomViewControl::Loaded();
  if (FSortType != stNone) AlphaSort();
}

void TListView::ItemsChanged() {
  if (FItems->FUpdateCount > 0) return;
  UpdateScrollBars();
  Invalidate();
}

// Sorting follows text changes for stText and stBoth, data changes for stData and stBoth.
void TListView::SortIfNeeded(bool textChanged, bool dataChanged) {
  if (FSorting || FItems->FReading || InState(csLoading) || FSortType == stNone) return;
  bool text = textChanged && (FSortType == stText || FSortType == stBoth);
  bool data = dataChanged && (FSortType == stData || FSortType == stBoth);
  if (text || data) AlphaSort();
}

bool TListView::ItemChanging(TListItem* item, TItemChange change) {
  if (FItems->FReading || InState(csLoading)) return true;
  bool allow = true;
  OnChanging(this, item, change, allow);
  return allow;
}

void TListView::ItemChanged(TListItem* item, TItemChange change) {
  if (FItems->FReading || InState(csLoading)) return;
  OnChange(this, item, change);
  SortIfNeeded(change == ctText, false);
  ItemsChanged();
}

void TListView::ItemSelected(TListItem* item, bool selected) {
  if (item->FSelected == selected) return;
  if (selected && !FMultiSelect)
    for (TListItem* other : FItems->FItems)
      if (other != item && other->FSelected) ItemSelected(other, false);
  if (!ItemChanging(item, ctState)) return;
  item->FSelected = selected;
  if (!FItems->FReading && !InState(csLoading)) {
    OnChange(this, item, ctState);
    OnSelectItem(this, item, selected);
  }
  Invalidate();
}

// A deleted item leaves the selection quietly, as the native control drops it.
void TListView::ItemDeleting(TListItem* item) {
  item->FSelected = false;
  item->FFocused = false;
  if (!InState(csDestroying) && !FItems->FReading) OnDeletion(this, item);
  FHot = -1;
  FAnchor = -1;
}

TListItem* TListView::GetSelected() const { return GetNextSelected(nullptr); }

void TListView::SetSelected(TListItem* item) {
  if (!item) {
    ClearSelection();
    return;
  }
  if (FMultiSelect) ClearSelection();
  item->SetSelected(true);
}

TListItem* TListView::GetNextSelected(TListItem* after) const {
  int from = after ? FItems->IndexOf(after) + 1 : 0;
  for (int i = from; i < FItems->Count(); ++i)
    if (FItems->FItems[static_cast<size_t>(i)]->FSelected) return FItems->FItems[static_cast<size_t>(i)];
  return nullptr;
}

int TListView::SelCount() const {
  return static_cast<int>(
      std::count_if(FItems->FItems.begin(), FItems->FItems.end(), [](TListItem* i) { return i->FSelected; }));
}

void TListView::ClearSelection() {
  for (TListItem* i : FItems->FItems)
    if (i->FSelected) ItemSelected(i, false);
}

void TListView::SelectAll() {
  if (!FMultiSelect) return;
  for (TListItem* i : FItems->FItems) ItemSelected(i, true);
}

TListItem* TListView::ItemFocused() const {
  for (TListItem* i : FItems->FItems)
    if (i->FFocused) return i;
  return nullptr;
}

void TListView::SetItemFocused(TListItem* item) {
  for (TListItem* i : FItems->FItems) i->FFocused = i == item;
  Invalidate();
}

bool TListView::AlphaSort() { return CustomSort(nullptr, 0); }

bool TListView::CustomSort(TLVCompare compare, intptr_t data) {
  if (FSorting) return false;
  FSorting = true;
  try {
    std::stable_sort(FItems->FItems.begin(), FItems->FItems.end(), [&](TListItem* a, TListItem* b) {
      int r = 0;
      if (compare) r = compare(a, b, data);
      else if (OnCompare) OnCompare(this, a, b, static_cast<int>(data), r);
      else r = ViewsCompareText(a->FCaption, b->FCaption);
      return r < 0;
    });
  } catch (...) {
    FSorting = false;
    throw;
  }
  FSorting = false;
  FAnchor = -1;
  Invalidate();
  return true;
}

// --- Layout. Report and list rows are LineHeight high; icons sit in a grid of cells.
int TListView::LineHeight() const {
  int h = TCustomViewControl::LineHeight();
  if (TImageList* il = GetImages()) h = std::max(h, il->GetHeight() + 1);
  if (TImageList* st = GetStateImages()) h = std::max(h, st->GetHeight() + 1);
  if (FCheckboxes) h = std::max(h, ViewsCheckSize + 3);
  return h;
}

TRect TListView::HeaderRect() const {
  if (FViewStyle != vsReport || !FShowColumnHeaders) return {};
  return Rect(0, 0, GetClientRect().Width(), TCustomViewControl::LineHeight() + 1);
}

TRect TListView::ViewRect() const {
  TRect r = GetClientRect();
  r.Top += HeaderRect().Height();
  if (r.Top > r.Bottom) r.Top = r.Bottom;
  return r;
}

TListView::TLayout TListView::Layout() const {
  TLayout l;
  TCanvas* c = Canvas();
  c->SetFont(GetFont());
  TImageList* small = GetImages();
  int lead = (FCheckboxes ? ViewsCheckSize + 3 : 0) + (small ? small->GetWidth() + 2 : 0);
  TRect v = ViewRect();
  switch (FViewStyle) {
    case vsIcon: {
      l.CellW = std::max(FLargeImages ? FLargeImages->GetWidth() + 12 : 44, 75);
      l.Cell = (FLargeImages ? FLargeImages->GetHeight() : 32) + 4 + 2 * c->TextHeight("Ag") + 8;
      bool down = FIconOptions->GetArrangement() == iaLeft;
      l.PerLine = std::max(1, down ? v.Height() / l.Cell : v.Width() / l.CellW);
      break;
    }
    case vsSmallIcon:
    case vsList: {
      int w = 0;
      for (TListItem* i : FItems->FItems) w = std::max(w, c->TextWidth(i->FCaption));
      l.CellW = std::min(lead + w + 8, std::max(v.Width(), 40));
      if (FViewStyle == vsSmallIcon) l.CellW = std::max(l.CellW, 75);
      l.Cell = LineHeight();
      l.PerLine = std::max(1, FViewStyle == vsList ? v.Height() / l.Cell : v.Width() / l.CellW);
      break;
    }
    case vsReport: l.Cell = LineHeight(); break;
  }
  return l;
}

// Auto-sized columns share the width the others leave, each at least its MinWidth.
int TListView::ColumnWidth(int i) const {
  TListColumn* col = Column(i);
  if (!col->GetAutoSize()) return col->GetWidth();
  int fixed = 0, autos = 0;
  for (int k = 0; k < FColumns->Count(); ++k) {
    if (Column(k)->GetAutoSize()) ++autos;
    else fixed += Column(k)->GetWidth();
  }
  int w = std::max(0, GetClientRect().Width() - fixed) / std::max(1, autos);
  w = std::max(w, col->GetMinWidth());
  return col->GetMaxWidth() > 0 ? std::min(w, col->GetMaxWidth()) : w;
}

TRect TListView::ItemRect(int index) const { return ItemRect(Layout(), index); }

TRect TListView::ItemRect(const TLayout& l, int index) const {
  switch (FViewStyle) {
    case vsReport: {
      int w = 0;
      for (int i = 0; i < FColumns->Count(); ++i) w += ColumnWidth(i);
      return Rect(0, index * l.Cell, w, (index + 1) * l.Cell);
    }
    case vsList: {
      int col = index / l.PerLine, row = index % l.PerLine;
      return Bounds(col * l.CellW, row * l.Cell, l.CellW, l.Cell);
    }
    default: {
      bool down = FViewStyle == vsIcon && FIconOptions->GetArrangement() == iaLeft;
      int a = index / l.PerLine, b = index % l.PerLine;
      int col = down ? a : b, row = down ? b : a;
      return Bounds(col * l.CellW, row * l.Cell, l.CellW, l.Cell);
    }
  }
}

TSize TListView::ContentExtent() const {
  int n = FItems->Count();
  if (FViewStyle == vsReport) {
    int w = 0;
    for (int i = 0; i < FColumns->Count(); ++i) w += ColumnWidth(i);
    return {FColumns->Count() ? w : 0, FColumns->Count() ? n * LineHeight() : 0};
  }
  if (n == 0) return {0, 0};
  TLayout l = Layout();
  TRect last{};
  for (int i = 0; i < n; ++i) {
    TRect r = ItemRect(l, i);
    last.Right = std::max(last.Right, r.Right);
    last.Bottom = std::max(last.Bottom, r.Bottom);
  }
  return {last.Right, last.Bottom};
}

int TListView::VisibleRowCount() const {
  int h = LineHeight();
  return FViewStyle == vsReport ? std::max(0, ViewRect().Height() / h) : 0;
}

TListItem* TListView::TopItem() const {
  if (FViewStyle != vsReport || FItems->Count() == 0) return nullptr;
  int i = FScroll.Y / LineHeight();
  return i < FItems->Count() ? FItems->Item(i) : nullptr;
}

TListItem* TListView::GetItemAt(int x, int y) const {
  TRect v = ViewRect();
  if (!PtInRect(v, {x, y})) return nullptr;
  int cx = x - v.Left + FScroll.X, cy = y - v.Top + FScroll.Y;
  if (FViewStyle == vsReport && FColumns->Count() == 0) return nullptr;
  TLayout l = Layout();
  for (int i = 0; i < FItems->Count(); ++i) {
    TRect r = ItemRect(l, i);
    if (!PtInRect(r, {cx, cy})) continue;
    // Without RowSelect a report row answers only over its first column's icon and label.
    if (FViewStyle == vsReport && !GetRowSelect()) {
      TListItem* item = FItems->Item(i);
      TImageList* il = GetImages();
      Canvas()->SetFont(GetFont());
      int right = (FCheckboxes ? ViewsCheckSize + 3 : 0) + (il ? il->GetWidth() + 2 : 0) +
                  Canvas()->TextWidth(item->FCaption) + 6;
      right = std::min(right, ColumnWidth(0));
      if (cx >= right) return nullptr;
    }
    return FItems->Item(i);
  }
  return nullptr;
}

int TListView::ColumnAt(int x) const {
  int left = -FScroll.X;
  for (int i = 0; i < FColumns->Count(); ++i) {
    int w = ColumnWidth(i);
    if (x >= left && x < left + w) return i;
    left += w;
  }
  return -1;
}

int TListView::ColumnDividerAt(int x) const {
  int right = -FScroll.X;
  for (int i = 0; i < FColumns->Count(); ++i) {
    right += ColumnWidth(i);
    if (std::abs(x - right) <= 3) return i;
  }
  return -1;
}

// --- Input.
void TListView::FocusIndex(int index, TShiftState shift, bool byMouse) {
  if (FItems->Count() == 0) return;
  index = std::clamp(index, 0, FItems->Count() - 1);
  TListItem* item = FItems->Item(index);
  if (FMultiSelect && shift.Contains(ssShift) && FAnchor >= 0 && FAnchor < FItems->Count()) {
    int a = std::min(FAnchor, index), b = std::max(FAnchor, index);
    for (int i = 0; i < FItems->Count(); ++i) ItemSelected(FItems->Item(i), i >= a && i <= b);
  } else if (FMultiSelect && shift.Contains(ssCtrl)) {
    if (byMouse) ItemSelected(item, !item->FSelected);
    FAnchor = index;
  } else {
    for (TListItem* other : FItems->FItems)
      if (other != item && other->FSelected) ItemSelected(other, false);
    ItemSelected(item, true);
    FAnchor = index;
  }
  SetItemFocused(item);
  ScrollIntoView(ItemRect(index));
}

void TListView::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (!InState(csDesigning)) {
    if (CanFocus() && !Focused()) SetFocus();
    TRect header = HeaderRect();
    if (button == mbLeft && !IsRectEmpty(header) && PtInRect(header, {x, y})) {
      int divider = ColumnDividerAt(x);
      if (divider >= 0) {
        FSizingColumn = divider;
        FSizingOffset = ColumnWidth(divider) - x;
      } else if (FColumnClick) {
        FPressedColumn = ColumnAt(x);
        Invalidate();
      }
    } else if (button == mbLeft || button == mbRight) {
      TListItem* item = GetItemAt(x, y);
      if (item && button == mbLeft && FCheckboxes && !shift.Contains(ssDouble)) {
        TRect r = item->DisplayRect();
        int cx = FViewStyle == vsIcon ? (r.Left + r.Right - ViewsCheckSize) / 2 : r.Left + 2;
        if (x >= cx && x < cx + ViewsCheckSize) item->SetChecked(!item->FChecked);
      }
      if (item) {
        if (!(button == mbRight && item->FSelected)) FocusIndex(item->GetIndex(), shift, true);
      } else if (button == mbLeft && !shift.Contains(ssCtrl) && !shift.Contains(ssShift)) {
        ClearSelection();  // a click on empty space drops the selection
      }
    }
  }
  TCustomViewControl::MouseDown(button, shift, x, y);
}

void TListView::MouseMove(TShiftState shift, int x, int y) {
  if (FSizingColumn >= 0) {
    Column(FSizingColumn)->SetWidth(std::max(0, x + FSizingOffset));
    UpdateScrollBars();
  } else if (!InState(csDesigning)) {
    TListItem* item = GetItemAt(x, y);
    int hot = item ? item->GetIndex() : -1;
    if (GetHotTrack() && (hot != FHot || !FHoverTimer)) {
      // Hot tracking selects the item the mouse rests on, after the system's hover time.
      if (FHoverTimer) qtm::StopTimer(FHoverTimer);
      FHoverTimer = 0;
      if (item && !item->FSelected && HandleAllocated())
        FHoverTimer = qtm::StartTimer(400, [this] {
          qtm::StopTimer(FHoverTimer);
          FHoverTimer = 0;
          if (FHot >= 0 && FHot < FItems->Count()) FocusIndex(FHot, {}, false);
        });
    }
    SetHot(hot);
    bool hand = GetHotTrack() && FHotTrackStyles.Contains(htHandPoint) && item;
    bool divider = !IsRectEmpty(HeaderRect()) && PtInRect(HeaderRect(), {x, y}) && ColumnDividerAt(x) >= 0;
    SetCursor(divider ? crHSplit : hand ? crHandPoint : crDefault);
  }
  TCustomViewControl::MouseMove(shift, x, y);
}

void TListView::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  if (FSizingColumn >= 0) {
    FSizingColumn = -1;
  } else if (FPressedColumn >= 0) {
    int col = FPressedColumn;
    FPressedColumn = -1;
    Invalidate();
    if (PtInRect(HeaderRect(), {x, y}) && ColumnAt(x) == col) OnColumnClick(this, Column(col));
  }
  TCustomViewControl::MouseUp(button, shift, x, y);
}

void TListView::KeyDown(uint16_t& key, TShiftState shift) {
  TCustomViewControl::KeyDown(key, shift);
  if (key == 0 || FItems->Count() == 0) return;
  TListItem* focused = ItemFocused();
  int cur = focused ? focused->GetIndex() : -1;
  TLayout l = Layout();
  int page = std::max(1, FViewStyle == vsReport ? VisibleRowCount() : l.PerLine);
  // Along the grid: report and list go down a column; icons go across a row.
  bool rows = FViewStyle == vsReport || FViewStyle == vsList ||
              (FViewStyle == vsIcon && FIconOptions->GetArrangement() == iaLeft);
  int across = FViewStyle == vsReport ? 0 : rows ? l.PerLine : 1;
  int down = FViewStyle == vsReport || rows ? 1 : l.PerLine;
  int next = cur;
  switch (key) {
    case VK_UP: next = cur < 0 ? 0 : cur - down; break;
    case VK_DOWN: next = cur < 0 ? 0 : cur + down; break;
    case VK_LEFT:
      if (!across) return ScrollBy(-8, 0);
      next = cur < 0 ? 0 : cur - across;
      break;
    case VK_RIGHT:
      if (!across) return ScrollBy(8, 0);
      next = cur < 0 ? 0 : cur + across;
      break;
    case VK_HOME: next = 0; break;
    case VK_END: next = FItems->Count() - 1; break;
    case VK_PRIOR: next = cur - page; break;
    case VK_NEXT: next = cur + page; break;
    case VK_SPACE:
      if (FCheckboxes && focused) focused->SetChecked(!focused->FChecked);
      else if (focused && FMultiSelect && shift.Contains(ssCtrl)) ItemSelected(focused, !focused->FSelected);
      return;
    default: return;
  }
  if (next < 0 || next >= FItems->Count()) next = std::clamp(next, 0, FItems->Count() - 1);
  FocusIndex(next, shift, false);
  key = 0;
}

// --- Painting.
void TListView::PaintHeader(TCanvas* c) {
  TRect header = HeaderRect();
  if (IsRectEmpty(header)) return;
  int b = BorderWidth();
  int x = b - FScroll.X;
  auto button = [&](TRect r, bool pressed) {
    c->GetBrush()->SetColor(clBtnFace);
    c->FillRect(r);
    if (pressed) {
      c->GetBrush()->SetColor(clBtnShadow);
      c->FrameRect(r);
    } else {
      Frame3D(c, r, clBtnHighlight, cl3DDkShadow, 1);
      Frame3D(c, r, clBtnFace, clBtnShadow, 1);
    }
  };
  for (int i = 0; i < FColumns->Count(); ++i) {
    TListColumn* col = Column(i);
    TRect r{x, b, x + ColumnWidth(i), b + header.Height()};
    x = r.Right;
    if (r.Width() <= 0) continue;
    bool pressed = i == FPressedColumn;
    button(r, pressed);
    TRect tr = r;
    InflateRect(tr, -4, -2);
    if (pressed) OffsetRect(tr, 1, 1);
    if (TImageList* il = GetImages(); il && col->GetImageIndex() >= 0) {
      il->Draw(c, tr.Left, (tr.Top + tr.Bottom - il->GetHeight()) / 2, col->GetImageIndex());
      tr.Left += il->GetWidth() + 2;
    }
    c->GetBrush()->SetStyle(bsClear);
    c->GetFont()->SetColor(clBtnText);
    ViewsText(c, tr, col->GetCaption(), col->GetAlignment());
    c->GetBrush()->SetStyle(bsSolid);
  }
  int right = b + GetClientRect().Width();
  if (x < right) button({x, b, right, b + header.Height()}, false);
}

void TListView::PaintItem(TCanvas* c, int index, const TRect& r) {
  TListItem* item = FItems->Item(index);
  OnGetImageIndex(this, item);
  TColor selBack = clHighlight, selFore = clHighlightText;
  bool showSel = item->FSelected && SelectionColors(selBack, selFore);
  bool hot = GetHotTrack() && index == FHot;
  TColor fore = GetFont()->GetColor();
  if (hot) fore = clHighlight;
  c->GetFont()->Assign(GetFont());
  if (GetHotTrack() &&
      ((hot && FHotTrackStyles.Contains(htUnderlineHot)) || (!hot && FHotTrackStyles.Contains(htUnderlineCold)))) {
    TFontStyles st = c->GetFont()->GetStyle();
    st.Include(fsUnderline);
    c->GetFont()->SetStyle(st);
  }
  auto label = [&](TRect lr, const std::string& text, TAlignment a, bool selected) {
    if (selected) {
      c->GetBrush()->SetColor(selBack);
      c->FillRect(lr);
      c->GetFont()->SetColor(selFore);
    } else {
      c->GetFont()->SetColor(fore);
    }
    c->GetBrush()->SetStyle(bsClear);
    ViewsText(c, lr, text, a);
    c->GetBrush()->SetStyle(bsSolid);
  };
  if (FViewStyle == vsIcon) {
    int x = r.Left + r.Width() / 2;
    int y = r.Top + 2;
    if (FCheckboxes) ViewsCheckBox(c, r.Left + 2, y, item->FChecked);
    int ih = FLargeImages ? FLargeImages->GetHeight() : 32;
    if (FLargeImages) FLargeImages->Draw(c, x - FLargeImages->GetWidth() / 2, y, item->FImageIndex);
    y += ih + 4;
    int tw = std::min(r.Width() - 4, c->TextWidth(item->FCaption) + 4);
    TRect lr{x - tw / 2, y, x - tw / 2 + tw, y + c->TextHeight("Ag") + 2};
    label(lr, item->FCaption, taCenter, showSel);
    if (item->FFocused && Focused()) c->DrawFocusRect(lr);
    return;
  }
  int x = r.Left + 2;
  int lh = r.Height();
  if (FCheckboxes) {
    ViewsCheckBox(c, x, r.Top + (lh - ViewsCheckSize) / 2, item->FChecked);
    x += ViewsCheckSize + 3;
  } else if (TImageList* st = GetStateImages(); st && item->FStateIndex >= 0) {
    st->Draw(c, x, r.Top + (lh - st->GetHeight()) / 2, item->FStateIndex);
    x += st->GetWidth() + 2;
  }
  if (TImageList* il = GetImages()) {
    il->Draw(c, x, r.Top + (lh - il->GetHeight()) / 2, item->FImageIndex);
    x += il->GetWidth() + 2;
  }
  int firstRight = FViewStyle == vsReport ? r.Left + (FColumns->Count() ? ColumnWidth(0) : 0) : r.Right;
  int textW = c->TextWidth(item->FCaption) + 6;
  TRect lr{x, r.Top, std::min(firstRight, x + textW), r.Bottom};
  if (FViewStyle == vsReport && GetRowSelect()) lr.Right = r.Right;
  TAlignment align = FViewStyle == vsReport && FColumns->Count() ? Column(0)->GetAlignment() : taLeftJustify;
  if (showSel) {
    c->GetBrush()->SetColor(selBack);
    c->FillRect(lr);
  }
  label({x, r.Top, FViewStyle == vsReport ? firstRight : lr.Right, r.Bottom}, item->FCaption, align, false);
  if (showSel) label({x, r.Top, std::min(firstRight, x + textW), r.Bottom}, item->FCaption, align, true);
  if (FViewStyle == vsReport) {
    int cx = firstRight;
    for (int i = 1; i < FColumns->Count(); ++i) {
      int w = ColumnWidth(i);
      TRect cr{cx, r.Top, cx + w, r.Bottom};
      cx += w;
      if (i - 1 >= item->FSubItems->Count()) continue;
      TRect tr = cr;
      tr.Left += 4;
      tr.Right -= 2;
      int img = item->FSubItemImages[static_cast<size_t>(i - 1)];
      if (TImageList* il = GetImages(); il && img >= 0) {
        il->Draw(c, tr.Left, r.Top + (lh - il->GetHeight()) / 2, img);
        tr.Left += il->GetWidth() + 2;
      }
      bool sel = showSel && GetRowSelect();
      c->GetFont()->SetColor(sel ? selFore : fore);
      c->GetBrush()->SetStyle(bsClear);
      ViewsText(c, tr, item->FSubItems->Get(i - 1), Column(i)->GetAlignment());
      c->GetBrush()->SetStyle(bsSolid);
    }
  }
  if (item->FFocused && Focused()) c->DrawFocusRect(lr);
}

void TListView::Paint() {
  PaintFrame();
  TCanvas* c = Canvas();
  int b = BorderWidth();
  TRect view = ViewRect();
  OffsetRect(view, b, b);
  if (FViewStyle == vsReport && FColumns->Count() == 0) {  // report rows live in columns
    PaintHeader(c);
    return PaintBorder();
  }
  int lineH = LineHeight();
  int first = 0, last = FItems->Count() - 1;
  if (FViewStyle == vsReport) {
    first = FScroll.Y / lineH;
    last = std::min(last, (FScroll.Y + view.Height()) / lineH);
  }
  TLayout l = Layout();
  for (int i = first; i <= last; ++i) {
    TRect r = ItemRect(l, i);
    OffsetRect(r, view.Left - FScroll.X, view.Top - FScroll.Y);
    if (r.Bottom <= view.Top || r.Top >= view.Bottom || r.Right <= view.Left || r.Left >= view.Right) continue;
    PaintItem(c, i, r);
  }
  if (FViewStyle == vsReport && FGridLines) {
    c->GetPen()->SetColor(clBtnFace);
    int bottom = FItems->Count() ? view.Top - FScroll.Y + FItems->Count() * lineH : view.Top;
    for (int y = view.Top - FScroll.Y + lineH - 1; y < std::min(bottom, view.Bottom); y += lineH) {
      if (y < view.Top) continue;
      c->MoveTo(view.Left, y);
      c->LineTo(view.Right, y);
    }
    int x = view.Left - FScroll.X;
    for (int i = 0; i < FColumns->Count(); ++i) {
      x += ColumnWidth(i);
      if (x <= view.Left || x > view.Right) continue;
      c->MoveTo(x - 1, view.Top);
      c->LineTo(x - 1, std::min(bottom, view.Bottom));
    }
  }
  PaintHeader(c);
  PaintBorder();
}
