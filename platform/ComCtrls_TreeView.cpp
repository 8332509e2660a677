// Tree views: their nodes, streaming the nodes in Delphi's record layout, and the control that
// paints, expands, scrolls and selects them as the Windows 95 tree view does.
#include <algorithm>

#include "ComCtrls_Views.h"
#include "qt/QtMoreCtrls.h"

namespace {
constexpr uint16_t ViewsVkMultiply = 0x6A, ViewsVkAdd = 0x6B, ViewsVkSubtract = 0x6D;
}  // namespace

// =============================================================================================
// TTreeNode
TTreeNode::TTreeNode(TTreeNodes* owner) : FOwner(owner) {}

// Descendants go from a work list, not by recursion: a read tree may nest deeper than the stack.
TTreeNode::~TTreeNode() {
  std::vector<TTreeNode*> doomed = std::move(FChildren);
  while (!doomed.empty()) {
    TTreeNode* n = doomed.back();
    doomed.pop_back();
    doomed.insert(doomed.end(), n->FChildren.begin(), n->FChildren.end());
    n->FChildren.clear();
    delete n;
  }
}

TTreeView* TTreeNode::TreeView() const { return FOwner ? FOwner->Owner() : nullptr; }
TPersistent* TTreeNode::GetOwner() const { return FOwner; }

TTreeNode* TTreeNode::Parent() const { return FParent && FOwner && FParent == FOwner->FRoot ? nullptr : FParent; }

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

void TTreeNode::SetExpandedState(bool expand) {
  if (expand ? FExpanded || !GetHasChildren() : !FExpanded) return;
  if (TTreeView* tv = TreeView()) tv->DoExpand(this, expand);
  else FExpanded = expand;
}

// The subtree in pre-order from a work list: its depth is the file's to choose, not the stack's.
// Children are taken after their parent expands, which may add them. The view lays its rows
// out once, at the end.
void TTreeNode::SetSubtreeExpanded(bool expand) {
  if (FOwner) FOwner->BeginUpdate();
  try {
    std::vector<TTreeNode*> todo{this};
    while (!todo.empty()) {
      TTreeNode* n = todo.back();
      todo.pop_back();
      n->SetExpandedState(expand);
      todo.insert(todo.end(), n->FChildren.rbegin(), n->FChildren.rend());
    }
  } catch (...) {
    if (FOwner) FOwner->EndUpdate();
    throw;
  }
  if (FOwner) FOwner->EndUpdate();
}

void TTreeNode::Expand(bool recurse) {
  if (recurse) SetSubtreeExpanded(true);
  else SetExpandedState(true);
}

void TTreeNode::Collapse(bool recurse) {
  if (recurse) SetSubtreeExpanded(false);
  else SetExpandedState(false);
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
  if (row >= 0)
    tv->ScrollIntoView(Rect(tv->FScroll.X, row * tv->LineHeight(), tv->FScroll.X + 1, (row + 1) * tv->LineHeight()));
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

TTreeNode* TTreeNodes::Add(TTreeNode* sibling, const std::string& text) {
  return AddNode(sibling, text, nullptr, naAdd);
}
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
    at = mode == naAdd ? parent->FChildren.size()
         : mode == naAddFirst
             ? 0
             : static_cast<size_t>(relative ? relative->Index() : static_cast<int>(parent->FChildren.size()));
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
  // Deepest last child first, each node after its children, walking up instead of recursing.
  for (TTreeNode* n = node;;) {
    while (!n->FChildren.empty()) n = n->FChildren.back();
    TTreeNode* parent = n->FParent;
    bool last = n == node;
    if (FOwner) FOwner->NodeDeleting(n);
    Detach(n);
    delete n;
    if (last) break;
    n = parent;
  }
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
    // open holds the top level and every open parent: its size is the level of this node.
    if (open.size() > static_cast<size_t>(MaxTreeDepth)) throw EReadError(Format(STreeTooDeep, MaxTreeDepth));
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
  auto before = [&](TTreeNode* a, TTreeNode* b) {
    int r = 0;
    if (compare) r = compare(a, b, data);
    else if (OnCompare) OnCompare(this, a, b, static_cast<int>(data), r);
    else r = ViewsCompareText(a->FText, b->FText);
    return r < 0;
  };
  std::vector<TTreeNode*> todo{parent};  // a work list: trees may nest deeper than the stack
  while (!todo.empty()) {
    TTreeNode* n = todo.back();
    todo.pop_back();
    std::stable_sort(n->FChildren.begin(), n->FChildren.end(), before);
    if (recurse) todo.insert(todo.end(), n->FChildren.begin(), n->FChildren.end());
  }
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
    bool onItem =
        hit == THit::Icon || hit == THit::Label || (GetRowSelect() && hit != THit::Nowhere && hit != THit::Button);
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
