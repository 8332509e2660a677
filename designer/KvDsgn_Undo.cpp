// KvDsgn: undo and redo. A step names its components, never holds them: a component freed and
// read back by an undo is another object, and names are what the design's references use too.
#include <algorithm>
#include <exception>
#include <unordered_set>

#include "KvDsgn.h"
#include "TypInfo.h"

namespace {

// The place of item among the entries of a list that count (the list's own order, item itself
// included), and the list index that puts item at such a place again.
template <class Get, class Counts>
int KvUndoPlace(int count, Get get, Counts counts, const void* item) {
  int place = 0;
  for (int i = 0; i < count; ++i) {
    auto* entry = get(i);
    if (entry == item) return place;
    if (counts(entry)) ++place;
  }
  return -1;
}

template <class Get, class Counts>
int KvUndoIndex(int count, Get get, Counts counts, const void* item, int place) {
  int seen = 0, index = 0;
  for (int i = 0; i < count; ++i) {
    auto* entry = get(i);
    if (entry == item) continue;
    if (counts(entry) && seen++ == place) return index;
    ++index;
  }
  return index;
}

// A parent orders its windowed and its other controls apart: a control's z-order is its place
// among the siblings of its kind.
std::vector<TControl*> KvUndoSameKind(TControl* control) {
  std::vector<TControl*> kind;
  TWinControl* parent = control->GetParent();
  const bool windowed = dynamic_cast<TWinControl*>(control) != nullptr;
  for (int i = 0; i < parent->ControlCount(); ++i)
    if (TControl* c = parent->Controls(i); (dynamic_cast<TWinControl*>(c) != nullptr) == windowed) kind.push_back(c);
  return kind;
}

// The components written with c (its children, theirs, ...), c first.
void KvUndoFamily(TComponent* c, TComponent* root, std::vector<TComponent*>& out) {
  out.push_back(c);
  c->GetChildren([&](TComponent* child) { KvUndoFamily(child, root, out); }, root);
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Recording.

TKUndoScope::TKUndoScope(TKFormDesigner* designer, std::string caption, const std::vector<TComponent*>& affected,
                         bool whole, std::string mergeKey)
    : FDesigner(designer),
      FCaption(std::move(caption)),
      FMergeKey(std::move(mergeKey)),
      FExceptions(std::uncaught_exceptions()) {
  FDesigner->BeginUndo(affected, whole);
}

TKUndoScope::~TKUndoScope() {
  if (std::uncaught_exceptions() > FExceptions) {
    FDesigner->CancelUndo();
    return;
  }
  try {
    FDesigner->EndUndo(FCaption, FMergeKey);
  } catch (...) {
    FDesigner->CancelUndo();  // a step that cannot be written is lost, never the design
  }
}

std::vector<std::string> TKFormDesigner::SelectionNames() const {
  std::vector<std::string> names;
  for (int i = 0; i < FSelections->Count(); ++i)
    if (TComponent* c = FSelections->Items(i); c != FForm) names.push_back(c->GetName());
  return names;
}

TKUndoPiece TKFormDesigner::CaptureUndoPiece(TComponent* c, bool whole) const {
  TKUndoPiece piece;
  if (!c) return piece;
  piece.Name = c->GetName();
  auto* control = dynamic_cast<TControl*>(c);
  const bool listable = control && !IconOf(c);
  if (listable && control->GetParent()) {
    TWinControl* parent = control->GetParent();
    if (parent != FForm) piece.Parent = parent->GetName();
    const std::vector<TControl*> kind = KvUndoSameKind(control);
    piece.ZOrder = KvUndoPlace(
        static_cast<int>(kind.size()), [&kind](int i) { return kind[i]; }, [this](TControl* x) { return Listable(x); },
        control);
  }
  if (auto* windowed = dynamic_cast<TWinControl*>(c)) piece.TabOrder = windowed->GetTabOrder();
  if (!whole) {
    TControl* shown = control ? control : IconOf(c);
    if (shown) piece.Bounds = {shown->GetLeft(), shown->GetTop(), shown->GetWidth(), shown->GetHeight()};
    return piece;
  }
  TMemoryStream stream;
  {
    TWriter writer(&stream, 4096);
    writer.Root = FForm;
    writer.LookupRoot = FForm;
    writer.WriteSignature();
    writer.WriteComponent(c);
  }
  piece.Stream.assign(reinterpret_cast<const char*>(stream.Memory()), static_cast<size_t>(stream.GetSize()));
  std::vector<TComponent*> family;
  KvUndoFamily(c, FForm, family);
  for (TComponent* member : family)
    piece.Creation.emplace_back(member->GetName(),
                                KvUndoPlace(
                                    FForm->ComponentCount(), [this](int i) { return FForm->Components(i); },
                                    [this](TComponent* x) { return Listable(x); }, member));
  return piece;
}

void TKFormDesigner::BeginUndo(const std::vector<TComponent*>& affected, bool whole) {
  if (FUndoDepth++ > 0) return;
  FUndoWhole = whole;
  FUndoItems.clear();
  std::unordered_set<TComponent*> taken;
  for (TComponent* c : affected) {
    if (auto* icon = dynamic_cast<TKvIcon*>(c)) c = icon->Component();
    if (!c || c == FForm || !Listable(c) || !taken.insert(c).second) continue;
    FUndoItems.push_back(c);
  }
  // A whole piece carries its children: a child of another affected control is no piece of its own.
  if (whole)
    std::erase_if(FUndoItems, [&taken](TComponent* c) {
      auto* control = dynamic_cast<TControl*>(c);
      for (TControl* p = control ? control->GetParent() : nullptr; p; p = p->GetParent())
        if (taken.count(p)) return true;
      return false;
    });
  FUndoBefore = {};
  FUndoBefore.Selection = SelectionNames();
  for (TComponent* c : FUndoItems) FUndoBefore.Pieces.push_back(CaptureUndoPiece(c, whole));
  if (whole) CaptureUndoLinks(FUndoBefore);
}

// Freeing a component clears the references of the rest of the design to it: a state keeps
// them, so that what comes back is referred to again.
void TKFormDesigner::CaptureUndoLinks(TKUndoState& state) const {
  std::unordered_set<TComponent*> family;
  for (TComponent* c : FUndoItems)
    if (c) {
      std::vector<TComponent*> members;
      KvUndoFamily(c, FForm, members);
      family.insert(members.begin(), members.end());
    }
  if (family.empty()) return;
  auto scan = [&](TComponent* c) {
    if (family.count(c)) return;
    for (PPropInfo p : GetPropList(c, TypeKindBit(tkClass))) {
      if (!p->HasGetter() || !p->HasSetter()) continue;
      auto* target = dynamic_cast<TComponent*>(GetObjectProp(c, p));
      if (target && family.count(target))
        state.Links.push_back({c == FForm ? "" : c->GetName(), p->Name, target->GetName()});
    }
  };
  scan(FForm);
  for (int i = 0; i < FForm->ComponentCount(); ++i)
    if (Listable(FForm->Components(i))) scan(FForm->Components(i));
}

void TKFormDesigner::AddUndo(TComponent* created) {
  if (FUndoDepth == 0 || !created) return;
  FUndoItems.push_back(created);
  FUndoBefore.Pieces.emplace_back();
}

void TKFormDesigner::CancelUndo() {
  if (FUndoDepth > 0) --FUndoDepth;
  if (FUndoDepth == 0) FUndoItems.clear();
}

void TKFormDesigner::EndUndo(const std::string& caption, const std::string& mergeKey) {
  if (FUndoDepth == 0 || --FUndoDepth > 0) return;
  TKUndoStep step;
  step.Caption = caption;
  step.MergeKey = mergeKey;
  step.Whole = FUndoWhole;
  step.Before = std::move(FUndoBefore);
  for (TComponent* c : FUndoItems) step.After.Pieces.push_back(CaptureUndoPiece(c, FUndoWhole));
  if (FUndoWhole) CaptureUndoLinks(step.After);
  FUndoItems.clear();
  if (step.Before.Pieces == step.After.Pieces) return;
  step.After.Selection = SelectionNames();
  FUndo.Push(std::move(step));
  if (FFormDesigner) FFormDesigner->DesignerChanged(this);  // the Edit menu names the new step
}

// ---------------------------------------------------------------------------------------------
// Undoing and redoing.

std::string TKFormDesigner::UndoCaption() const {
  return FUndo.CanUndo() ? "Undo " + FUndo.UndoStep().Caption : "Undo";
}

std::string TKFormDesigner::RedoCaption() const {
  return FUndo.CanRedo() ? "Redo " + FUndo.RedoStep().Caption : "Redo";
}

void TKFormDesigner::Undo() {
  if (!FUndo.CanUndo() || FDrag != kdNone || FUndoDepth > 0) return;
  const TKUndoStep& step = FUndo.UndoStep();
  FUndo.StepBack();
  ApplyUndo(step.After, step.Before, step.Whole);
}

void TKFormDesigner::Redo() {
  if (!FUndo.CanRedo() || FDrag != kdNone || FUndoDepth > 0) return;
  const TKUndoStep& step = FUndo.RedoStep();
  FUndo.StepForward();
  ApplyUndo(step.Before, step.After, step.Whole);
}

void TKFormDesigner::ApplyUndo(const TKUndoState& from, const TKUndoState& to, bool whole) {
  // Nothing the inspector shows may be freed under it.
  if (whole) SelectComponent(FForm);
  if (whole) ApplyUndoWhole(from, to);
  else ApplyUndoBounds(to);
  TComponentList selection;
  for (const std::string& name : to.Selection)
    if (TComponent* c = FForm->FindComponent(name)) {
      TKvIcon* icon = IconOf(c);
      selection.Add(icon ? static_cast<TComponent*>(icon) : c);
    }
  if (selection.Count() > 0) SetSelections(&selection);
  UndoDone();
}

void TKFormDesigner::UndoDone() {
  FModified = !FUndo.AtSaved();
  ShowSelect();
  if (FObjectInspector) FObjectInspector->ObjectModified(this);
  if (!FFormDesigner) return;
  FFormDesigner->DesignerChanged(this);
  FFormDesigner->DesignModified(this);
}

namespace {

void KvUndoSetZOrder(TControl* control, int place, const std::function<bool(TControl*)>& counts) {
  TWinControl* parent = control->GetParent();
  if (!parent || place < 0) return;
  const std::vector<TControl*> kind = KvUndoSameKind(control);
  auto get = [&kind](int i) { return kind[i]; };
  const int count = static_cast<int>(kind.size());
  // Reordering raises every sibling window: a control in its place already stays.
  if (KvUndoPlace(count, get, counts, control) == place) return;
  parent->SetChildOrder(control, KvUndoIndex(count, get, counts, control, place));
}

}  // namespace

void TKFormDesigner::ApplyUndoBounds(const TKUndoState& to) {
  TKDotBatch batch;
  std::vector<std::pair<int, TControl*>> zorders;
  for (const TKUndoPiece& piece : to.Pieces) {
    TComponent* c = FForm->FindComponent(piece.Name);
    if (!c) continue;
    auto* control = dynamic_cast<TControl*>(c);
    TControl* shown = control ? control : IconOf(c);
    if (!shown) continue;
    const TRect& b = piece.Bounds;
    shown->SetBounds(b.Left, b.Top, b.Right, b.Bottom);
    if (control) zorders.emplace_back(piece.ZOrder, control);
  }
  std::sort(zorders.begin(), zorders.end(), [](auto& a, auto& b) { return a.first < b.first; });
  for (auto& [place, control] : zorders) KvUndoSetZOrder(control, place, [this](TControl* x) { return Listable(x); });
}

void TKFormDesigner::ApplyUndoWhole(const TKUndoState& from, const TKUndoState& to) {
  std::vector<TComponent*> doomed;
  for (const TKUndoPiece& piece : from.Pieces)
    if (TComponent* c = piece.Name.empty() ? nullptr : FForm->FindComponent(piece.Name)) doomed.push_back(c);
  for (TComponent* c : doomed) {
    if (TKvIcon* icon = IconOf(c)) {
      DestroyIcon(icon);
      delete icon;
      continue;
    }
    if (auto* control = dynamic_cast<TControl*>(c)) control->SetParent(nullptr);
    delete c;
  }

  std::vector<std::pair<int, TControl*>> zorders;
  std::vector<std::pair<int, TWinControl*>> tabOrders;
  std::vector<std::pair<int, TComponent*>> creation;
  // The pieces of one parent are read in one go, so that references between them resolve; the
  // form's come first, as non-visual components are what the others refer to most.
  std::vector<std::string> parents;
  for (const TKUndoPiece& piece : to.Pieces)
    if (!piece.Name.empty() && std::find(parents.begin(), parents.end(), piece.Parent) == parents.end())
      parents.push_back(piece.Parent);
  std::stable_partition(parents.begin(), parents.end(), [](const std::string& p) { return p.empty(); });
  for (const std::string& parentName : parents) {
    auto* parent = parentName.empty() ? FForm : dynamic_cast<TWinControl*>(FForm->FindComponent(parentName));
    if (!parent) throw EComponentError("Cannot restore the components of " + parentName + ": it is gone");
    TMemoryStream stream;
    std::vector<const TKUndoPiece*> pieces;
    for (const TKUndoPiece& piece : to.Pieces)
      if (!piece.Name.empty() && piece.Parent == parentName) {
        stream.Write(piece.Stream.data(), static_cast<int64_t>(piece.Stream.size()));
        pieces.push_back(&piece);
      }
    const uint8_t endOfList = 0;
    stream.Write(&endOfList, 1);
    stream.SetPosition(0);
    TReader reader(&stream, 4096);
    reader.OnFindMethod = [this](TReader* r, const std::string& name, const TMethodEntry*& address, bool& error) {
      FindMethod(r, name, address, error);
    };
    reader.ReadComponents(FForm, parent, nullptr);
    for (const TKUndoPiece* piece : pieces) {
      TComponent* made = FForm->FindComponent(piece->Name);
      if (!made) continue;
      if (auto* control = dynamic_cast<TControl*>(made)) zorders.emplace_back(piece->ZOrder, control);
      if (auto* windowed = dynamic_cast<TWinControl*>(made)) tabOrders.emplace_back(piece->TabOrder, windowed);
      for (const auto& [name, place] : piece->Creation)
        if (TComponent* member = FForm->FindComponent(name)) {
          creation.emplace_back(place, member);
          CreateIcon(member);
        }
    }
  }
  auto byPlace = [](auto& a, auto& b) { return a.first < b.first; };
  std::sort(creation.begin(), creation.end(), byPlace);
  for (auto& [place, c] : creation)
    c->SetComponentIndex(KvUndoIndex(
        FForm->ComponentCount(), [this](int i) { return FForm->Components(i); },
        [this](TComponent* x) { return Listable(x); }, c, place));
  std::sort(zorders.begin(), zorders.end(), byPlace);
  for (auto& [place, control] : zorders) KvUndoSetZOrder(control, place, [this](TControl* x) { return Listable(x); });
  std::sort(tabOrders.begin(), tabOrders.end(), byPlace);
  for (auto& [order, windowed] : tabOrders)
    if (order >= 0) windowed->SetTabOrder(static_cast<TTabOrder>(order));
  for (const TKUndoLink& link : to.Links) {
    TComponent* source = link.From.empty() ? FForm : FForm->FindComponent(link.From);
    TComponent* target = FForm->FindComponent(link.Target);
    PPropInfo prop = source ? GetPropInfo(source, link.Prop) : nullptr;
    if (prop && target) SetObjectProp(source, prop, target);
  }
  BringToFrontIcons();
}
