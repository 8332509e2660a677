// List and tree views: their item models, streaming in Delphi's record layout, and the
// controls that paint, scroll and select them as the Windows 95 common controls do.
#include <algorithm>
#include <cstring>

#include "ComCtrls.h"
#include "Consts.h"
#include "ExtCtrls.h"
#include "qt/QtComCtrls.h"
#include "qt/QtMoreCtrls.h"

namespace {
constexpr uint16_t ViewsVkMultiply = 0x6A, ViewsVkAdd = 0x6B, ViewsVkSubtract = 0x6D;
constexpr int ViewsCheckSize = 13;

// Bounds-checked reader over a stored blob: short data is Delphi's "Stream read error".
struct ViewsBlobReader {
  const std::string& B;
  size_t Pos = 0;
  size_t End;
  explicit ViewsBlobReader(const std::string& b) : B(b), End(b.size()) {}
  size_t Left() const { return End - Pos; }
  void Need(size_t n) const {
    if (n > Left()) throw EReadError(SReadError);
  }
  int32_t Int() {
    Need(4);
    uint32_t v = static_cast<uint8_t>(B[Pos]) | static_cast<uint8_t>(B[Pos + 1]) << 8 |
                 static_cast<uint8_t>(B[Pos + 2]) << 16 | static_cast<uint32_t>(static_cast<uint8_t>(B[Pos + 3])) << 24;
    Pos += 4;
    return static_cast<int32_t>(v);
  }
  std::string ShortString() {
    Need(1);
    size_t n = static_cast<uint8_t>(B[Pos]);
    Need(1 + n);
    std::string s = AnsiToUtf8(std::string_view(B).substr(Pos + 1, n));  // stored in the ANSI code page
    Pos += 1 + n;
    return s;
  }
};

std::string ViewsReadRest(TStream* s) {
  std::string b(static_cast<size_t>(std::max<int64_t>(0, s->GetSize() - s->GetPosition())), '\0');
  s->ReadBuffer(b.data(), static_cast<int64_t>(b.size()));
  return b;
}

void ViewsPutInt(std::string& out, int32_t v) {
  auto u = static_cast<uint32_t>(v);
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((u >> (8 * i)) & 0xFF));
}

// Delphi's short strings hold at most 255 characters of the ANSI code page; longer text is cut
// as Delphi cut it, and text the code page cannot hold goes as its UTF-8 bytes.
std::string ViewsShortAnsi(const std::string& s) {
  std::string ansi;
  if (!TryUtf8ToAnsi(s, ansi)) ansi = s;
  if (ansi.size() > 255) ansi.resize(255);
  return ansi;
}

void ViewsPutShortString(std::string& out, const std::string& s) {
  std::string ansi = ViewsShortAnsi(s);
  out.push_back(static_cast<char>(ansi.size()));
  out += ansi;
}

int32_t ViewsDataBits(void* p) { return static_cast<int32_t>(reinterpret_cast<intptr_t>(p)); }
void* ViewsDataPtr(int32_t v) { return reinterpret_cast<void*>(static_cast<intptr_t>(v)); }

// The comparison the controls sort by without OnCompare (lstrcmp's order: letters ignoring
// case first, lower case before upper case on a tie).
int ViewsCompareText(const std::string& a, const std::string& b) {
  size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    int x = std::tolower(static_cast<unsigned char>(a[i])), y = std::tolower(static_cast<unsigned char>(b[i]));
    if (x != y) return x < y ? -1 : 1;
  }
  if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
  for (size_t i = 0; i < n; ++i)
    if (a[i] != b[i]) return std::islower(static_cast<unsigned char>(a[i])) ? -1 : 1;
  return 0;
}

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

void ViewsSetImageLink(TComponent* self, TImageList*& field, TImageList* v) {
  if (field) field->RemoveFreeNotification(self);
  field = v;
  if (v) v->FreeNotification(self);
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

// Items equal to an inherited form's are not written again.
template <class Items>
bool ViewsItemsToWrite(const Items* self, TFiler* filer, bool any) {
  auto* a = Cast<Items>(filer->Ancestor);
  if (!a) return any;
  TMemoryStream mine, theirs;
  self->WriteData(&mine);
  a->WriteData(&theirs);
  return mine.GetSize() != theirs.GetSize() ||
         std::memcmp(mine.Memory(), theirs.Memory(), static_cast<size_t>(mine.GetSize())) != 0;
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
// TTreeNode
TTreeNode::TTreeNode(TTreeNodes* owner) : FOwner(owner) {}

TTreeNode::~TTreeNode() {
  for (TTreeNode* n : FChildren) delete n;
}

TTreeView* TTreeNode::TreeView() const { return FOwner ? FOwner->Owner() : nullptr; }
TPersistent* TTreeNode::GetOwner() const { return FOwner; }

TTreeNode* TTreeNode::Parent() const {
  return FParent && FOwner && FParent == FOwner->FRoot ? nullptr : FParent;
}

void TTreeNode::SetText(const std::string& v) {
  if (v == FText) return;
  FText = v;
  if (TTreeView* tv = TreeView()) tv->SortIfNeeded(FParent, true, false);
}

void TTreeNode::SetImageIndex(int v) {
  FImageIndex = v;
  if (TTreeView* tv = TreeView()) tv->Invalidate();
}

void TTreeNode::SetSelectedIndex(int v) {
  FSelectedIndex = v;
  if (TTreeView* tv = TreeView()) tv->Invalidate();
}

void TTreeNode::SetStateIndex(int v) {
  FStateIndex = v;
  if (TTreeView* tv = TreeView()) tv->NodesChanged();  // the state image takes room
}

void TTreeNode::SetOverlayIndex(int v) {
  FOverlayIndex = v;
  if (TTreeView* tv = TreeView()) tv->Invalidate();
}

void TTreeNode::SetData(void* v) {
  if (v == FData) return;
  FData = v;
  if (TTreeView* tv = TreeView()) tv->SortIfNeeded(FParent, false, true);
}

TTreeNode* TTreeNode::Item(int i) const {
  if (i < 0 || i >= Count()) throw EListError(Format(SListIndexError, i));
  return FChildren[static_cast<size_t>(i)];
}

int TTreeNode::Index() const {
  if (!FParent) return -1;
  auto& s = FParent->FChildren;
  return static_cast<int>(std::find(s.begin(), s.end(), this) - s.begin());
}

int TTreeNode::AbsoluteIndex() const {
  int i = -1;
  for (const TTreeNode* n = this; n; n = n->GetPrev()) ++i;
  return i;
}

int TTreeNode::Level() const {
  int l = 0;
  for (const TTreeNode* p = Parent(); p; p = p->Parent()) ++l;
  return l;
}

void TTreeNode::SetExpanded(bool v) {
  if (v) Expand(false);
  else Collapse(false);
}

bool TTreeNode::GetSelected() const {
  TTreeView* tv = TreeView();
  return tv && tv->FSelected == this;
}

void TTreeNode::SetSelected(bool v) {
  TTreeView* tv = TreeView();
  if (!tv) return;
  if (v) tv->SetSelected(this);
  else if (tv->FSelected == this) tv->SetSelected(nullptr);
}

bool TTreeNode::GetFocused() const { return GetSelected(); }
void TTreeNode::SetFocused(bool v) { SetSelected(v); }

void TTreeNode::SetHasChildren(bool v) {
  FHasChildren = v;
  if (TTreeView* tv = TreeView()) tv->Invalidate();
}

bool TTreeNode::IsVisible() const {
  for (const TTreeNode* p = Parent(); p; p = p->Parent())
    if (!p->FExpanded) return false;
  return true;
}

bool TTreeNode::HasAsParent(const TTreeNode* node) const {
  if (!node) return false;
  for (const TTreeNode* p = Parent(); p; p = p->Parent())
    if (p == node) return true;
  return false;
}

TTreeNode* TTreeNode::GetFirstChild() const { return FChildren.empty() ? nullptr : FChildren.front(); }
TTreeNode* TTreeNode::GetLastChild() const { return FChildren.empty() ? nullptr : FChildren.back(); }

TTreeNode* TTreeNode::GetNextSibling() const {
  if (!FParent) return nullptr;
  int i = Index();
  return i + 1 < FParent->Count() ? FParent->FChildren[static_cast<size_t>(i + 1)] : nullptr;
}

TTreeNode* TTreeNode::GetPrevSibling() const {
  if (!FParent) return nullptr;
  int i = Index();
  return i > 0 ? FParent->FChildren[static_cast<size_t>(i - 1)] : nullptr;
}

TTreeNode* TTreeNode::GetNext() const {
  if (!FChildren.empty()) return FChildren.front();
  for (const TTreeNode* n = this; n; n = n->Parent())
    if (TTreeNode* s = n->GetNextSibling()) return s;
  return nullptr;
}

TTreeNode* TTreeNode::GetPrev() const {
  TTreeNode* n = GetPrevSibling();
  if (!n) return Parent();
  while (!n->FChildren.empty()) n = n->FChildren.back();
  return n;
}

TTreeNode* TTreeNode::GetNextVisible() const {
  if (FExpanded && !FChildren.empty()) return FChildren.front();
  for (const TTreeNode* n = this; n; n = n->Parent())
    if (TTreeNode* s = n->GetNextSibling()) return s;
  return nullptr;
}

TTreeNode* TTreeNode::GetPrevVisible() const {
  TTreeNode* n = GetPrevSibling();
  if (!n) return Parent();
  while (n->FExpanded && !n->FChildren.empty()) n = n->FChildren.back();
  return n;
}

void TTreeNode::Expand(bool recurse) {
  TTreeView* tv = TreeView();
  if (!FExpanded && GetHasChildren()) {
    if (tv) tv->DoExpand(this, true);
    else FExpanded = true;
  }
  if (recurse)
    for (TTreeNode* c : std::vector<TTreeNode*>(FChildren)) c->Expand(true);
}

void TTreeNode::Collapse(bool recurse) {
  TTreeView* tv = TreeView();
  if (FExpanded) {
    if (tv) tv->DoExpand(this, false);
    else FExpanded = false;
  }
  if (recurse)
    for (TTreeNode* c : std::vector<TTreeNode*>(FChildren)) c->Collapse(true);
}

void TTreeNode::Delete() {
  if (FOwner) FOwner->Delete(this);
  else delete this;
}

void TTreeNode::DeleteChildren() {
  if (FOwner) FOwner->BeginUpdate();
  while (!FChildren.empty()) FChildren.back()->Delete();
  FHasChildren = false;
  if (FOwner) FOwner->EndUpdate();
}

void TTreeNode::MoveTo(TTreeNode* destination, TNodeAttachMode mode) {
  if (!FOwner || destination == this || (destination && destination->HasAsParent(this))) return;
  FOwner->Detach(this);
  FOwner->Attach(this, destination, mode);
  FOwner->Changed();
}

bool TTreeNode::AlphaSort() { return CustomSort(nullptr, 0); }

bool TTreeNode::CustomSort(TTVCompare compare, intptr_t data) {
  TTreeView* tv = TreeView();
  if (!tv) return false;
  tv->SortChildren(this, compare, data, false);
  tv->NodesChanged();
  return true;
}

void TTreeNode::MakeVisible() {
  for (TTreeNode* p = Parent(); p; p = p->Parent()) p->Expand(false);
  TTreeView* tv = TreeView();
  if (!tv) return;
  int row = tv->RowOf(this);
  if (row >= 0) tv->ScrollIntoView(Rect(tv->FScroll.X, row * tv->LineHeight(), tv->FScroll.X + 1, (row + 1) * tv->LineHeight()));
}

TRect TTreeNode::DisplayRect(bool textOnly) const {
  TTreeView* tv = TreeView();
  return tv ? tv->NodeRect(this, textOnly) : TRect{};
}

void TTreeNode::Assign(TPersistent* source) {
  if (auto* s = Cast<TTreeNode>(source)) {
    FText = s->FText;
    FImageIndex = s->FImageIndex, FSelectedIndex = s->FSelectedIndex;
    FStateIndex = s->FStateIndex, FOverlayIndex = s->FOverlayIndex;
    FData = s->FData;
    FHasChildren = s->FHasChildren;
    if (TTreeView* tv = TreeView()) tv->NodesChanged();
    return;
  }
  TPersistent::Assign(source);
}

// =============================================================================================
// TTreeNodes
TTreeNodes::TTreeNodes(TTreeView* owner) : FOwner(owner), FRoot(new TTreeNode(this)) { FRoot->FExpanded = true; }

TTreeNodes::~TTreeNodes() { delete FRoot; }

TPersistent* TTreeNodes::GetOwner() const { return FOwner; }

int TTreeNodes::Count() const {
  int n = 0;
  for (TTreeNode* p = GetFirstNode(); p; p = p->GetNext()) ++n;
  return n;
}

TTreeNode* TTreeNodes::Item(int absoluteIndex) const {
  TTreeNode* p = absoluteIndex >= 0 ? GetFirstNode() : nullptr;
  for (int i = 0; p && i < absoluteIndex; ++i) p = p->GetNext();
  if (!p) throw EListError(Format(SListIndexError, absoluteIndex));
  return p;
}

TTreeNode* TTreeNodes::GetFirstNode() const { return FRoot->GetFirstChild(); }

TTreeNode* TTreeNodes::Add(TTreeNode* sibling, const std::string& text) { return AddNode(sibling, text, nullptr, naAdd); }
TTreeNode* TTreeNodes::AddObject(TTreeNode* sibling, const std::string& text, void* data) {
  return AddNode(sibling, text, data, naAdd);
}
TTreeNode* TTreeNodes::AddFirst(TTreeNode* sibling, const std::string& text) {
  return AddNode(sibling, text, nullptr, naAddFirst);
}
TTreeNode* TTreeNodes::AddChild(TTreeNode* parent, const std::string& text) {
  return AddNode(parent, text, nullptr, naAddChild);
}
TTreeNode* TTreeNodes::AddChildObject(TTreeNode* parent, const std::string& text, void* data) {
  return AddNode(parent, text, data, naAddChild);
}
TTreeNode* TTreeNodes::AddChildFirst(TTreeNode* parent, const std::string& text) {
  return AddNode(parent, text, nullptr, naAddChildFirst);
}
TTreeNode* TTreeNodes::Insert(TTreeNode* sibling, const std::string& text) {
  return AddNode(sibling, text, nullptr, naInsert);
}
TTreeNode* TTreeNodes::InsertObject(TTreeNode* sibling, const std::string& text, void* data) {
  return AddNode(sibling, text, data, naInsert);
}

TTreeNode* TTreeNodes::AddNode(TTreeNode* relative, const std::string& text, void* data, TNodeAttachMode mode) {
  if (relative && relative->FOwner != this) throw EInvalidOperation(SInvalidPropertyValue);
  auto* node = new TTreeNode(this);
  node->FText = text;
  node->FData = data;
  Attach(node, relative, mode);
  if (FOwner && !FReading) FOwner->SortIfNeeded(node->FParent, true, false);
  Changed();
  return node;
}

// Places a detached node relative to another (nullptr: the top level).
void TTreeNodes::Attach(TTreeNode* node, TTreeNode* relative, TNodeAttachMode mode) {
  TTreeNode* parent;
  size_t at;
  if (mode == naAddChild || mode == naAddChildFirst) {
    parent = relative ? relative : FRoot;
    at = mode == naAddChild ? parent->FChildren.size() : 0;
  } else {
    parent = relative ? relative->FParent : FRoot;
    at = mode == naAdd ? parent->FChildren.size() : mode == naAddFirst ? 0 : static_cast<size_t>(relative ? relative->Index() : static_cast<int>(parent->FChildren.size()));
  }
  node->FParent = parent;
  parent->FChildren.insert(parent->FChildren.begin() + static_cast<ptrdiff_t>(at), node);
}

void TTreeNodes::Detach(TTreeNode* node) {
  TTreeNode* p = node->FParent;
  if (!p) return;
  p->FChildren.erase(std::find(p->FChildren.begin(), p->FChildren.end(), node));
  node->FParent = nullptr;
  if (p->FChildren.empty() && p != FRoot) p->FExpanded = false;
}

void TTreeNodes::Delete(TTreeNode* node) {
  if (!node || node->FOwner != this || node == FRoot) return;
  BeginUpdate();
  while (!node->FChildren.empty()) Delete(node->FChildren.back());
  if (FOwner) FOwner->NodeDeleting(node);
  Detach(node);
  delete node;
  EndUpdate();
}

void TTreeNodes::Clear() {
  if (FRoot->FChildren.empty()) return;
  if (FOwner) FOwner->FSelected = nullptr;  // all go: no selection moves from node to node
  BeginUpdate();
  while (!FRoot->FChildren.empty()) Delete(FRoot->FChildren.back());
  EndUpdate();
}

void TTreeNodes::BeginUpdate() { ++FUpdateCount; }

void TTreeNodes::EndUpdate() {
  if (FUpdateCount > 0 && --FUpdateCount == 0) Changed();
}

void TTreeNodes::Changed() {
  if (FOwner && FUpdateCount == 0) FOwner->NodesChanged();
}

void TTreeNodes::Assign(TPersistent* source) {
  if (auto* s = Cast<TTreeNodes>(source)) {
    if (s == this) return;
    BeginUpdate();
    Clear();
    // Copy level by level without recursion: (source node, copy's parent).
    std::vector<std::pair<TTreeNode*, TTreeNode*>> todo;
    for (auto it = s->FRoot->FChildren.rbegin(); it != s->FRoot->FChildren.rend(); ++it) todo.push_back({*it, FRoot});
    while (!todo.empty()) {
      auto [from, parent] = todo.back();
      todo.pop_back();
      auto* n = new TTreeNode(this);
      Attach(n, parent == FRoot ? nullptr : parent, naAddChild);
      n->Assign(from);
      n->FExpanded = from->FExpanded;
      for (auto it = from->FChildren.rbegin(); it != from->FChildren.rend(); ++it) todo.push_back({*it, n});
    }
    EndUpdate();
    return;
  }
  TPersistent::Assign(source);
}

void TTreeNodes::DefineProperties(TFiler* filer) {
  filer->DefineBinaryProperty(
      "Data", [this](TStream* s) { ReadData(s); }, [this](TStream* s) { WriteData(s); },
      ViewsItemsToWrite(this, filer, GetFirstNode() != nullptr));
}

void TTreeNodes::ReadData(TStream* stream) {
  std::string blob = ViewsReadRest(stream);
  ViewsBlobReader r(blob);
  struct Rec {
    int32_t Image, Selected, State, Overlay;
    void* Data;
    std::string Text;
    int Parent;  // index into the records, -1 for the top level
  };
  std::vector<Rec> recs;
  // Pending children per open parent, walked depth first without recursion.
  std::vector<std::pair<int, int32_t>> open;  // (record, children still to read)
  int32_t top = r.Int();
  constexpr size_t MinNode = 4 + 24 + 1;
  if (top < 0 || static_cast<size_t>(top) > r.Left() / MinNode) throw EReadError(SInvalidBinary);
  open.push_back({-1, top});
  while (!open.empty()) {
    if (open.back().second == 0) {
      open.pop_back();
      continue;
    }
    --open.back().second;
    int32_t size = r.Int();
    // The fixed part (four images, data, child count) is 24 bytes, then the text.
    if (size < 25 || size > 24 + 256) throw EReadError(SInvalidBinary);
    r.Need(static_cast<size_t>(size));
    size_t start = r.Pos;
    Rec rec;
    rec.Image = r.Int();
    rec.Selected = r.Int();
    rec.State = r.Int();
    rec.Overlay = r.Int();
    rec.Data = ViewsDataPtr(r.Int());
    int32_t children = r.Int();
    rec.Text = r.ShortString();
    if (r.Pos - start > static_cast<size_t>(size)) throw EReadError(SInvalidBinary);
    r.Pos = start + static_cast<size_t>(size);
    if (children < 0 || static_cast<size_t>(children) > r.Left() / MinNode) throw EReadError(SInvalidBinary);
    rec.Parent = open.back().first;
    recs.push_back(std::move(rec));
    open.push_back({static_cast<int>(recs.size()) - 1, children});
  }
  FReading = true;
  BeginUpdate();
  try {
    Clear();
    std::vector<TTreeNode*> made;
    made.reserve(recs.size());
    for (const Rec& rec : recs) {
      auto* n = new TTreeNode(this);
      Attach(n, rec.Parent < 0 ? nullptr : made[static_cast<size_t>(rec.Parent)], naAddChild);
      n->FText = rec.Text;
      n->FImageIndex = rec.Image;
      n->FSelectedIndex = rec.Selected;
      n->FStateIndex = rec.State;
      n->FOverlayIndex = rec.Overlay;
      n->FData = rec.Data;
      made.push_back(n);
    }
  } catch (...) {
    FReading = false;
    EndUpdate();
    throw;
  }
  FReading = false;
  EndUpdate();
}

void TTreeNodes::WriteData(TStream* stream) const {
  std::string out;
  ViewsPutInt(out, FRoot->Count());
  for (TTreeNode* n = GetFirstNode(); n; n = n->GetNext()) {
    ViewsPutInt(out, static_cast<int32_t>(24 + 1 + ViewsShortAnsi(n->FText).size()));
    ViewsPutInt(out, n->FImageIndex);
    ViewsPutInt(out, n->FSelectedIndex);
    ViewsPutInt(out, n->FStateIndex);
    ViewsPutInt(out, n->FOverlayIndex);
    ViewsPutInt(out, ViewsDataBits(n->FData));
    ViewsPutInt(out, n->Count());
    ViewsPutShortString(out, n->FText);
  }
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
// TCustomViewControl
TCustomViewControl::TCustomViewControl(TComponent* AOwner) : TCustomControl(AOwner) {
  ControlStyle = {csCaptureMouse, csClickEvents, csDoubleClicks, csOpaque, csDisplayDragImage};
  FWidth = 121;
  FHeight = 97;
  SetColor(clWindow);
  SetParentColor(false);
  SetTabStop(true);
}

TCustomViewControl::~TCustomViewControl() {
  Destroying();
  DestroyHandle();
}

void TCustomViewControl::SetImageLink(TImageList*& field, TImageList* v) {
  ViewsSetImageLink(this, field, v);
  UpdateScrollBars();
  Invalidate();
}

void TCustomViewControl::SetImages(TImageList* v) { SetImageLink(FImages, v); }
void TCustomViewControl::SetStateImages(TImageList* v) { SetImageLink(FStateImages, v); }

void TCustomViewControl::Notification(TComponent* c, TOperation op) {
  TCustomControl::Notification(c, op);
  if (op != opRemove) return;
  if (c == FImages) FImages = nullptr;
  if (c == FStateImages) FStateImages = nullptr;
}

TRect TCustomViewControl::GetClientRect() const {
  int b = 2 * BorderWidth(), s = qtc::ScrollBarSize();
  return Rect(0, 0, std::max(0, FWidth - b - (FScrollBarsShown[1] ? s : 0)),
              std::max(0, FHeight - b - (FScrollBarsShown[0] ? s : 0)));
}

TPoint TCustomViewControl::ClientOrigin() const {
  TPoint p = TCustomControl::ClientOrigin();
  return {p.X + BorderWidth(), p.Y + BorderWidth()};
}

TRect TCustomViewControl::ViewRect() const { return GetClientRect(); }

int TCustomViewControl::LineHeight() const {
  Canvas()->SetFont(GetFont());
  return Canvas()->TextHeight("Ag") + 3;
}

// Mouse messages arrive in window coordinates; the view works in client ones.
void TCustomViewControl::WndProc(TMessage& m) {
  ShiftMouseInsideBorder(m, BorderWidth());
  TCustomControl::WndProc(m);
}

void TCustomViewControl::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case WM_VSCROLL:
    case WM_HSCROLL: {
      uint16_t code = static_cast<uint16_t>(m.WParam & 0xFFFF);
      int pos = static_cast<uint16_t>((m.WParam >> 16) & 0xFFFF);
      if (code == SB_THUMBPOSITION || code == SB_THUMBTRACK) {
        if (m.Msg == WM_VSCROLL) ScrollBy(0, pos - FScroll.Y);
        else ScrollBy(pos - FScroll.X, 0);
      }
      return;
    }
    case WM_MOUSEWHEEL: {
      int delta = static_cast<int16_t>((m.WParam >> 16) & 0xFFFF);
      ScrollBy(0, (delta < 0 ? 3 : -3) * LineHeight());
      return;
    }
    case WM_SIZE:
      UpdateScrollBars();
      break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      Invalidate();  // the selection changes colour
      break;
    case CM_MOUSELEAVE:
      SetHot(-1);
      break;
    case WM_GETDLGCODE:
      m.Result = DLGC_WANTARROWS;
      return;
    default: break;
  }
  TCustomControl::Dispatch(m);
}

void TCustomViewControl::Loaded() {
  TCustomControl::Loaded();
  UpdateScrollBars();
}

void TCustomViewControl::CreateWnd() {
  TCustomControl::CreateWnd();
  UpdateScrollBars();
}

void TCustomViewControl::UpdateScrollBars() {
  TSize content = ContentExtent();
  FScrollBarsShown[0] = FScrollBarsShown[1] = false;
  // One bar's space can make the other needed.
  for (int pass = 0; pass < 2; ++pass) {
    TRect v = ViewRect();
    FScrollBarsShown[1] = content.cy > v.Height();
    FScrollBarsShown[0] = content.cx > v.Width();
  }
  TRect v = ViewRect();
  int maxX = std::max(0, content.cx - v.Width()), maxY = std::max(0, content.cy - v.Height());
  FScroll.X = std::clamp(FScroll.X, 0, maxX);
  FScroll.Y = std::clamp(FScroll.Y, 0, maxY);
  if (!HandleAllocated()) return;
  qtc::SetScrollBar(this, false, FScrollBarsShown[0], maxX, std::max(1, v.Width()), FScroll.X, BorderWidth(), true);
  qtc::SetScrollBar(this, true, FScrollBarsShown[1], maxY, std::max(1, v.Height()), FScroll.Y, BorderWidth(), true);
}

void TCustomViewControl::ScrollBy(int dx, int dy) {
  TPoint old = FScroll;
  FScroll.X += dx;
  FScroll.Y += dy;
  UpdateScrollBars();
  if (FScroll.X != old.X || FScroll.Y != old.Y) Invalidate();
}

// Scrolls so that a rectangle in content coordinates shows, vertically first.
void TCustomViewControl::ScrollIntoView(const TRect& r) {
  TRect v = ViewRect();
  int dy = 0, dx = 0;
  if (r.Top < FScroll.Y) dy = r.Top - FScroll.Y;
  else if (r.Bottom > FScroll.Y + v.Height()) dy = std::min(r.Top - FScroll.Y, r.Bottom - FScroll.Y - v.Height());
  if (r.Left < FScroll.X) dx = r.Left - FScroll.X;
  else if (r.Right > FScroll.X + v.Width()) dx = std::min(r.Left - FScroll.X, r.Right - FScroll.X - v.Width());
  if (dx || dy) ScrollBy(dx, dy);
}

void TCustomViewControl::PaintFrame() {
  TCanvas* c = Canvas();
  c->GetBrush()->SetColor(GetColor());
  c->FillRect(Rect(0, 0, FWidth, FHeight));
  PaintBorder();
  // The corner between two scroll bars.
  if (FScrollBarsShown[0] && FScrollBarsShown[1]) {
    int s = qtc::ScrollBarSize(), b = BorderWidth();
    c->GetBrush()->SetColor(clBtnFace);
    c->FillRect(Rect(FWidth - b - s, FHeight - b - s, FWidth - b, FHeight - b));
  }
}

void TCustomViewControl::PaintBorder() {
  if (FBorderStyle != bsSingle) return;
  TCanvas* c = Canvas();
  TRect r = Rect(0, 0, FWidth, FHeight);
  if (GetCtl3D()) {
    Frame3D(c, r, clBtnShadow, clBtnHighlight, 1);
    Frame3D(c, r, cl3DDkShadow, cl3DLight, 1);
  } else {
    Frame3D(c, r, clWindowFrame, clWindowFrame, 1);
  }
}

bool TCustomViewControl::SelectionColors(TColor& back, TColor& fore) const {
  if (Focused() || InState(csDesigning)) {
    back = clHighlight, fore = clHighlightText;
    return true;
  }
  if (FHideSelection) return false;
  back = clBtnFace, fore = GetFont()->GetColor();
  return true;
}

void TCustomViewControl::SetHot(int hot) {
  if (hot == FHot) return;
  FHot = hot;
  if (FHotTrack) Invalidate();
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
  ViewsSetImageLink(this, FLargeImages, v);
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
  return static_cast<int>(std::count_if(FItems->FItems.begin(), FItems->FItems.end(), [](TListItem* i) { return i->FSelected; }));
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
  if (GetHotTrack() && ((hot && FHotTrackStyles.Contains(htUnderlineHot)) ||
                        (!hot && FHotTrackStyles.Contains(htUnderlineCold)))) {
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

// =============================================================================================
// TTreeView
TTreeView::TTreeView(TComponent* AOwner) : TCustomViewControl(AOwner), FItems(new TTreeNodes(this)) {}

TTreeView::~TTreeView() {
  Destroying();
  DestroyHandle();
  if (FChangeTimer) qtm::StopTimer(FChangeTimer);
  FSelected = nullptr;
  delete FItems;
}

void TTreeView::SetIndent(int v) {
  FIndent = std::max(0, v);
  NodesChanged();
}

void TTreeView::SetSortType(TSortType v) {
  if (v == FSortType) return;
  FSortType = v;
  if (v != stNone && !InState(csLoading)) AlphaSort();
}

void TTreeView::Loaded() {
  TCustomViewControl::Loaded();
  if (FSortType != stNone) AlphaSort();
}

void TTreeView::NodesChanged() {
  if (FItems->FUpdateCount > 0) return;
  UpdateScrollBars();
  Invalidate();
}

void TTreeView::NodeDeleting(TTreeNode* node) {
  if (FSelected == node) {
    // The selection moves to a neighbour, as the native control moves it.
    TTreeNode* next = node->GetNextSibling();
    if (!next) next = node->GetPrevSibling();
    if (!next) next = node->Parent();
    if (InState(csDestroying)) FSelected = nullptr;
    else SelectNode(next);
    if (FSelected == node) FSelected = nullptr;
  }
  if (!InState(csDestroying) && !FItems->FReading) OnDeletion(this, node);
  FHot = -1;
}

void TTreeView::SortIfNeeded(TTreeNode* parent, bool textChanged, bool dataChanged) {
  if (FItems->FReading || InState(csLoading) || FSortType == stNone || !parent) return;
  bool text = textChanged && (FSortType == stText || FSortType == stBoth);
  bool data = dataChanged && (FSortType == stData || FSortType == stBoth);
  if (text || data) SortChildren(parent, nullptr, 0, false);
  NodesChanged();
}

void TTreeView::SortChildren(TTreeNode* parent, TTVCompare compare, intptr_t data, bool recurse) {
  std::stable_sort(parent->FChildren.begin(), parent->FChildren.end(), [&](TTreeNode* a, TTreeNode* b) {
    int r = 0;
    if (compare) r = compare(a, b, data);
    else if (OnCompare) OnCompare(this, a, b, static_cast<int>(data), r);
    else r = ViewsCompareText(a->FText, b->FText);
    return r < 0;
  });
  if (recurse)
    for (TTreeNode* c : parent->FChildren) SortChildren(c, compare, data, true);
}

bool TTreeView::AlphaSort() { return CustomSort(nullptr, 0); }

bool TTreeView::CustomSort(TTVCompare compare, intptr_t data) {
  SortChildren(FItems->FRoot, compare, data, true);
  NodesChanged();
  return true;
}

std::vector<TTreeNode*> TTreeView::VisibleNodes() const {
  std::vector<TTreeNode*> out;
  for (TTreeNode* n = FItems->GetFirstNode(); n; n = n->GetNextVisible()) out.push_back(n);
  return out;
}

int TTreeView::RowOf(const TTreeNode* node) const {
  if (!node || !node->IsVisible()) return -1;
  int row = 0;
  for (TTreeNode* n = FItems->GetFirstNode(); n; n = n->GetNextVisible(), ++row)
    if (n == node) return row;
  return -1;
}

int TTreeView::LineHeight() const {
  int h = TCustomViewControl::LineHeight();
  if (TImageList* il = GetImages()) h = std::max(h, il->GetHeight() + 1);
  if (TImageList* st = GetStateImages()) h = std::max(h, st->GetHeight() + 1);
  return std::max(h, 16);
}

// Each level indents by Indent; the root level too when root lines and buttons show.
int TTreeView::TextLeft(const TTreeNode* node) const {
  int level = node->Level() + (FShowRoot && (FShowLines || FShowButtons) ? 1 : 0);
  int x = 2 + level * FIndent;
  if (TImageList* st = GetStateImages(); st && node->FStateIndex >= 0) x += st->GetWidth();
  return x;
}

TRect TTreeView::NodeRect(const TTreeNode* node, bool textOnly) const {
  int row = RowOf(node);
  if (row < 0) return {};
  int h = LineHeight();
  TRect v = ViewRect();
  int top = v.Top + row * h - FScroll.Y;
  if (!textOnly) return Rect(v.Left, top, v.Right, top + h);
  Canvas()->SetFont(GetFont());
  int x = TextLeft(node) + (GetImages() ? GetImages()->GetWidth() + 2 : 0) - FScroll.X + v.Left;
  return Rect(x, top, x + Canvas()->TextWidth(node->FText) + 4, top + h);
}

TSize TTreeView::ContentExtent() const {
  Canvas()->SetFont(GetFont());
  int w = 0, rows = 0;
  int img = GetImages() ? GetImages()->GetWidth() + 2 : 0;
  for (TTreeNode* n = FItems->GetFirstNode(); n; n = n->GetNextVisible(), ++rows)
    w = std::max(w, TextLeft(n) + img + Canvas()->TextWidth(n->FText) + 6);
  return {w, rows * LineHeight()};
}

TTreeNode* TTreeView::TopItem() const {
  auto nodes = VisibleNodes();
  size_t i = static_cast<size_t>(FScroll.Y / LineHeight());
  return i < nodes.size() ? nodes[i] : nullptr;
}

TTreeView::THit TTreeView::HitTest(int x, int y, TTreeNode** node) const {
  *node = nullptr;
  TRect v = ViewRect();
  if (!PtInRect(v, {x, y})) return THit::Nowhere;
  int row = (y - v.Top + FScroll.Y) / LineHeight();
  auto nodes = VisibleNodes();
  if (row < 0 || static_cast<size_t>(row) >= nodes.size()) return THit::Nowhere;
  TTreeNode* n = nodes[static_cast<size_t>(row)];
  *node = n;
  int cx = x - v.Left + FScroll.X;
  int left = TextLeft(n);
  int img = GetImages() ? GetImages()->GetWidth() + 2 : 0;
  if (cx < left) {
    bool rootButton = n->Parent() || (FShowRoot && (FShowLines || FShowButtons));
    int mid = left - FIndent / 2 - (GetStateImages() && n->FStateIndex >= 0 ? GetStateImages()->GetWidth() : 0);
    if (FShowButtons && rootButton && n->GetHasChildren() && std::abs(cx - mid) <= 6) return THit::Button;
    return THit::Indent;
  }
  if (cx < left + img) return THit::Icon;
  Canvas()->SetFont(GetFont());
  if (cx < left + img + Canvas()->TextWidth(n->FText) + 4) return THit::Label;
  return THit::Right;
}

TTreeNode* TTreeView::GetNodeAt(int x, int y) const {
  TTreeNode* n;
  THit h = HitTest(x, y, &n);
  return h == THit::Nowhere ? nullptr : n;
}

// Expands or collapses through OnExpanding/OnCollapsing; a collapse hiding the selection
// selects the collapsed node.
bool TTreeView::DoExpand(TTreeNode* node, bool expand) {
  if (node->FExpanded == expand) return true;
  bool allow = true;
  if (!FItems->FReading && !InState(csLoading)) {
    if (expand) OnExpanding(this, node, allow);
    else OnCollapsing(this, node, allow);
  }
  if (!allow) return false;
  if (expand && !node->GetHasChildren()) return false;
  node->FExpanded = expand;
  if (!expand && FSelected && FSelected->HasAsParent(node)) SelectNode(node);
  if (!FItems->FReading && !InState(csLoading)) {
    if (expand) OnExpanded(this, node);
    else OnCollapsed(this, node);
  }
  NodesChanged();
  return true;
}

void TTreeView::SetSelected(TTreeNode* node) {
  if (node && node->FOwner != FItems) return;
  SelectNode(node);
}

void TTreeView::SelectNode(TTreeNode* node) {
  if (node == FSelected) return;
  bool events = !InState(csLoading) && !InState(csDestroying) && !FItems->FReading;
  if (events && node) {
    bool allow = true;
    OnChanging(this, node, allow);
    if (!allow) return;
  }
  TTreeNode* old = FSelected;
  FSelected = node;
  if (node) {
    for (TTreeNode* p = node->Parent(); p; p = p->Parent())
      if (!p->FExpanded) DoExpand(p, true);
    if (FAutoExpand && !InState(csDesigning)) {
      if (old)
        for (TTreeNode* p = old; p; p = p->Parent())
          if (p != node && !node->HasAsParent(p)) DoExpand(p, false);
      if (FSelected == node) DoExpand(node, true);
    }
    node->MakeVisible();
  }
  Invalidate();
  if (!events) return;
  if (FChangeDelay > 0 && HandleAllocated()) {
    // The change is reported once the selection has stayed put for ChangeDelay ms.
    if (FChangeTimer) qtm::StopTimer(FChangeTimer);
    FChangeTimer = qtm::StartTimer(FChangeDelay, [this] { FireChange(); });
  } else {
    OnChange(this, FSelected);
  }
}

void TTreeView::FireChange() {
  if (FChangeTimer) qtm::StopTimer(FChangeTimer);
  FChangeTimer = 0;
  OnChange(this, FSelected);
}

void TTreeView::FullExpand() {
  for (TTreeNode* n = FItems->GetFirstNode(); n; n = n->GetNextSibling()) n->Expand(true);
}

void TTreeView::FullCollapse() {
  for (TTreeNode* n = FItems->GetFirstNode(); n; n = n->GetNextSibling()) n->Collapse(true);
}

void TTreeView::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (!InState(csDesigning)) {
    if (CanFocus() && !Focused()) SetFocus();
    TTreeNode* n;
    THit hit = HitTest(x, y, &n);
    bool onItem = hit == THit::Icon || hit == THit::Label || (GetRowSelect() && hit != THit::Nowhere && hit != THit::Button);
    if (button == mbLeft) {
      if (hit == THit::Button && !shift.Contains(ssDouble)) {
        DoExpand(n, !n->FExpanded);
      } else if (onItem) {
        SelectNode(n);
        if (shift.Contains(ssDouble) && FSelected == n) DoExpand(n, !n->FExpanded);
      }
    } else if (button == mbRight && FRightClickSelect && onItem) {
      SelectNode(n);
    }
  }
  TCustomViewControl::MouseDown(button, shift, x, y);
}

void TTreeView::MouseMove(TShiftState shift, int x, int y) {
  if (!InState(csDesigning)) {
    TTreeNode* n;
    THit hit = HitTest(x, y, &n);
    SetHot(hit == THit::Label || hit == THit::Icon ? RowOf(n) : -1);
  }
  TCustomViewControl::MouseMove(shift, x, y);
}

void TTreeView::KeyDown(uint16_t& key, TShiftState shift) {
  TCustomViewControl::KeyDown(key, shift);
  if (key == 0) return;
  TTreeNode* cur = FSelected;
  TTreeNode* next = nullptr;
  int page = std::max(1, ViewRect().Height() / LineHeight() - 1);
  switch (key) {
    case VK_UP: next = cur ? cur->GetPrevVisible() : FItems->GetFirstNode(); break;
    case VK_DOWN: next = cur ? cur->GetNextVisible() : FItems->GetFirstNode(); break;
    case VK_HOME: next = FItems->GetFirstNode(); break;
    case VK_END: {
      auto nodes = VisibleNodes();
      next = nodes.empty() ? nullptr : nodes.back();
      break;
    }
    case VK_PRIOR:
    case VK_NEXT: {
      next = cur ? cur : FItems->GetFirstNode();
      for (int i = 0; i < page && next; ++i) {
        TTreeNode* step = key == VK_NEXT ? next->GetNextVisible() : next->GetPrevVisible();
        if (!step) break;
        next = step;
      }
      break;
    }
    case VK_LEFT:
      if (!cur) return;
      if (cur->FExpanded) DoExpand(cur, false);
      else next = cur->Parent();
      break;
    case VK_RIGHT:
      if (!cur) return;
      if (!cur->FExpanded && cur->GetHasChildren()) DoExpand(cur, true);
      else next = cur->GetFirstChild();
      break;
    case ViewsVkAdd:
      if (cur) DoExpand(cur, true);
      break;
    case ViewsVkSubtract:
      if (cur) DoExpand(cur, false);
      break;
    case ViewsVkMultiply:
      if (cur) cur->Expand(true);
      break;
    case VK_RETURN:
      if (cur) DoExpand(cur, !cur->FExpanded);
      return;
    default: return;
  }
  if (next) SelectNode(next);
  key = 0;
}

// '+' and '-' typed as characters (main keyboard) expand and collapse as the keypad keys do.
void TTreeView::KeyPress(char& key) {
  TCustomViewControl::KeyPress(key);
  if (!FSelected || (key != '+' && key != '-' && key != '*')) return;
  if (key == '*') FSelected->Expand(true);
  else DoExpand(FSelected, key == '+');
  key = 0;
}

void TTreeView::Paint() {
  PaintFrame();
  TCanvas* c = Canvas();
  int b = BorderWidth();
  TRect view = ViewRect();
  OffsetRect(view, b, b);
  int h = LineHeight();
  TImageList* il = GetImages();
  TImageList* st = GetStateImages();
  int imgW = il ? il->GetWidth() + 2 : 0;
  bool rootLines = FShowRoot && (FShowLines || FShowButtons);
  auto nodes = VisibleNodes();
  int first = FScroll.Y / h;
  int ox = view.Left - FScroll.X, oy = view.Top - FScroll.Y;
  // Dotted lines, as the native control draws them: every other pixel.
  auto dotsV = [&](int x, int y1, int y2) {
    for (int y = y1 + ((x + y1) & 1); y < y2; y += 2)
      if (y >= view.Top && y < view.Bottom && x >= view.Left && x < view.Right) c->SetPixel(x, y, clBtnShadow);
  };
  auto dotsH = [&](int x1, int x2, int y) {
    for (int x = x1 + ((x1 + y) & 1); x < x2; x += 2)
      if (y >= view.Top && y < view.Bottom && x >= view.Left && x < view.Right) c->SetPixel(x, y, clBtnShadow);
  };
  for (size_t row = static_cast<size_t>(std::max(0, first)); row < nodes.size(); ++row) {
    int top = oy + static_cast<int>(row) * h;
    if (top >= view.Bottom) break;
    TTreeNode* n = nodes[row];
    int left = ox + TextLeft(n) - (st && n->FStateIndex >= 0 ? st->GetWidth() : 0);
    int mid = top + h / 2;
    bool hasLine = n->Parent() || rootLines;
    if (FShowLines) {
      // This node's own connector, then the verticals of ancestors that have later siblings.
      if (hasLine) {
        int lx = left - FIndent / 2 - 1;
        dotsH(lx, left - 2, mid);
        bool firstTop = !n->Parent() && !n->GetPrevSibling();
        dotsV(lx, firstTop ? mid : top, n->GetNextSibling() ? top + h : mid + 1);
      }
      int lx = left - FIndent / 2 - 1;
      for (TTreeNode* p = n->Parent(); p; p = p->Parent()) {
        lx -= FIndent;
        if (p->GetNextSibling() && (p->Parent() || rootLines)) dotsV(lx, top, top + h);
      }
    }
    if (FShowButtons && hasLine && n->GetHasChildren()) {
      int bx = left - FIndent / 2 - 1;
      TRect br{bx - 4, mid - 4, bx + 5, mid + 5};
      c->GetBrush()->SetColor(clWindow);
      c->FillRect(br);
      c->GetBrush()->SetColor(clBtnShadow);
      c->FrameRect(br);
      c->GetPen()->SetColor(clWindowText);
      c->MoveTo(bx - 2, mid);
      c->LineTo(bx + 3, mid);
      if (!n->FExpanded) {
        c->MoveTo(bx, mid - 2);
        c->LineTo(bx, mid + 3);
      }
    }
    int x = left;
    if (st && n->FStateIndex >= 0) {
      st->Draw(c, x, top + (h - st->GetHeight()) / 2, n->FStateIndex);
      x += st->GetWidth();
    }
    bool selected = n == FSelected;
    if (il) {
      OnGetImageIndex(this, n);
      if (selected) OnGetSelectedIndex(this, n);
      il->Draw(c, x, top + (h - il->GetHeight()) / 2, selected ? n->FSelectedIndex : n->FImageIndex);
      if (n->FOverlayIndex >= 0) il->Draw(c, x, top + (h - il->GetHeight()) / 2, n->FOverlayIndex);
      x += imgW;
    }
    c->GetFont()->Assign(GetFont());
    TRect lr{x, top + 1, x + c->TextWidth(n->FText) + 4, top + h - 1};
    if (GetRowSelect()) lr.Right = view.Right;
    TColor back = clHighlight, fore = clHighlightText;
    bool hot = GetHotTrack() && FHot == static_cast<int>(row);
    if (hot) {
      TFontStyles s = c->GetFont()->GetStyle();
      s.Include(fsUnderline);
      c->GetFont()->SetStyle(s);
      c->GetFont()->SetColor(clHighlight);
    }
    if (selected && SelectionColors(back, fore)) {
      c->GetBrush()->SetColor(back);
      c->FillRect(lr);
      c->GetFont()->SetColor(fore);
    }
    c->GetBrush()->SetStyle(bsClear);
    c->TextOut(x + 2, top + (h - c->TextHeight("Ag")) / 2, n->FText);
    c->GetBrush()->SetStyle(bsSolid);
    if (selected && Focused()) c->DrawFocusRect(lr);
  }
  PaintBorder();
}
