// KvDsgn: cut, copy and paste of components as text form objects.
#include <algorithm>
#include <cctype>
#include <limits>
#include <unordered_map>
#include <unordered_set>

#include "Clipbrd.h"
#include "Consts.h"
#include "KvDsgn.h"
#include "SysUtils.h"
#include "TypInfo.h"

namespace {

// A walk over a binary form stream that takes the class of every object and the extent of each
// object at the top level without creating anything.
class TKPasteScanner : public TReader {
 public:
  using TReader::TReader;

  void ScanObject(std::vector<std::string>& classes) {
    TReaderDepth depth(this);
    uint8_t flags;
    int childPos;
    ReadPrefix(flags, childPos);
    classes.push_back(ReadStr());
    ReadStr();
    while (!EndOfList()) SkipProperty();
    ReadListEnd();
    while (!EndOfList()) ScanObject(classes);
    ReadListEnd();
  }
};

// The text is wrapped in one holder object, so that the text converter reads any number of
// objects at once and names the line of the first fault.
constexpr const char* KvPasteHolder = "object KvPasteHolder: TKvPasteHolder\r\n";

std::string KvPasteStemOf(const std::string& name) {
  size_t end = name.size();
  while (end > 0 && std::isdigit(static_cast<unsigned char>(name[end - 1]))) --end;
  return name.substr(0, end);
}

void KvPasteFamily(TComponent* c, TComponent* root, std::vector<TComponent*>& out) {
  out.push_back(c);
  c->GetChildren([&](TComponent* child) { KvPasteFamily(child, root, out); }, root);
}

}  // namespace

std::string TKFormDesigner::SelectionText() {
  std::vector<TComponent*> items;
  for (int i = 0; i < FSelections->Count(); ++i)
    if (TComponent* c = FSelections->Items(i); c != FForm && Listable(c)) items.push_back(c);
  // A child of another selected control goes with that one.
  std::unordered_set<TComponent*> taken(items.begin(), items.end());
  std::erase_if(items, [&taken](TComponent* c) {
    auto* control = dynamic_cast<TControl*>(c);
    for (TControl* p = control ? control->GetParent() : nullptr; p; p = p->GetParent())
      if (taken.count(p)) return true;
    return false;
  });
  std::sort(items.begin(), items.end(),
            [](TComponent* a, TComponent* b) { return a->GetComponentIndex() < b->GetComponentIndex(); });
  std::string text;
  for (TComponent* c : items) {
    TMemoryStream binary, out;
    {
      TWriter writer(&binary, 4096);
      writer.Root = FForm;
      writer.LookupRoot = FForm;
      writer.WriteSignature();
      writer.WriteComponent(c);
    }
    binary.SetPosition(0);
    ObjectBinaryToText(&binary, &out);
    text.append(reinterpret_cast<const char*>(out.Memory()), static_cast<size_t>(out.GetSize()));
  }
  return text;
}

void TKFormDesigner::CopySelection() {
  const std::string text = SelectionText();
  if (!text.empty()) Clipboard()->SetAsText(text);
}

void TKFormDesigner::CutSelection() {
  const std::string text = SelectionText();
  if (text.empty() || !GetCanDelete()) return;
  Clipboard()->SetAsText(text);
  DeleteSelection("Cut");
}

void TKFormDesigner::Paste() { PasteText(Clipboard()->GetAsText()); }

void TKFormDesigner::PasteText(const std::string& text) {
  if (!GetCanInsert()) return;
  // Everything is converted and checked before the design changes.
  TMemoryStream source, binary;
  const std::string wrapped = KvPasteHolder + text + "\r\nend\r\n";
  source.Write(wrapped.data(), static_cast<int64_t>(wrapped.size()));
  source.SetPosition(0);
  ObjectTextToBinary(&source, &binary);
  binary.SetPosition(0);
  std::vector<std::pair<int64_t, int64_t>> objects;  // extents of the pasted objects
  {
    TKPasteScanner scan(&binary, 4096);
    scan.ReadSignature();
    uint8_t flags;
    int childPos;
    scan.ReadPrefix(flags, childPos);
    scan.ReadStr();
    scan.ReadStr();
    while (!scan.EndOfList()) scan.SkipValue();
    scan.ReadListEnd();
    std::vector<std::string> classes;
    while (!scan.EndOfList()) {
      const int64_t start = scan.Position();
      scan.ScanObject(classes);
      objects.emplace_back(start, scan.Position());
    }
    for (const std::string& cls : classes)
      if (!GetClass(cls)) throw EClassNotFound(Format(SClassNotFound, cls));
  }
  if (objects.empty()) return;
  TMemoryStream list;
  for (auto [start, end] : objects) {
    list.Write("TPF0", 4);
    list.Write(static_cast<const uint8_t*>(binary.Memory()) + start, end - start);
  }
  const uint8_t endOfList = 0;
  list.Write(&endOfList, 1);
  list.SetPosition(0);

  TControl* target = dynamic_cast<TControl*>(FSelected);
  if (!target || dynamic_cast<TKvIcon*>(target)) target = FForm;
  auto* parent = static_cast<TWinControl*>(InsertionParent(target));

  TKUndoScope undo(this, "Paste", {}, true);
  std::unordered_map<std::string, std::string> renamed;  // pasted name -> name given
  std::vector<TComponent*> pasted;
  TReader reader(&list, 4096);
  reader.OnFindMethod = [this](TReader* r, const std::string& name, const TMethodEntry*& address, bool& error) {
    FindMethod(r, name, address, error);
  };
  std::unordered_map<std::string, int> nextNumber;  // per stem: the search goes on from there
  reader.OnSetName = [this, &renamed, &nextNumber](TReader*, TComponent*, std::string& name) {
    auto taken = [this](const std::string& n) {
      return n.empty() || FForm->FindComponent(n) || (Application && Application->FindComponent(n));
    };
    if (!taken(name)) return;
    const std::string stem = KvPasteStemOf(name);
    int& i = nextNumber.try_emplace(stem, 1).first->second;
    std::string given;
    while (taken(given = stem + IntToStr(i))) ++i;
    renamed[name] = given;
    name = given;
  };
  try {
    reader.ReadComponents(FForm, parent, [&pasted](TComponent* c) { pasted.push_back(c); });
  } catch (...) {
    for (TComponent* c : pasted) delete c;
    throw;
  }
  std::vector<TComponent*> family;
  for (TComponent* c : pasted) KvPasteFamily(c, FForm, family);
  // A reference to a pasted component found its namesake in the design: it follows the copy.
  const std::unordered_set<TComponent*> mine(family.begin(), family.end());
  for (TComponent* c : family)
    for (PPropInfo p : GetPropList(c, TypeKindBit(tkClass))) {
      if (!p->HasGetter() || !p->HasSetter()) continue;
      auto* value = dynamic_cast<TComponent*>(GetObjectProp(c, p));
      if (!value || mine.count(value)) continue;
      auto it = renamed.find(value->GetName());
      if (it != renamed.end())
        if (TComponent* copy = FForm->FindComponent(it->second)) SetObjectProp(c, p, copy);
    }
  // Pasted onto the spot of a control already there, the copies move a grid step.
  bool onSpot = false;
  for (TComponent* c : pasted)
    if (auto* control = dynamic_cast<TControl*>(c))
      for (int i = 0; i < parent->ControlCount() && !onSpot; ++i) {
        TControl* other = parent->Controls(i);
        onSpot = !mine.count(other) && Listable(other) && other->GetLeft() == control->GetLeft() &&
                 other->GetTop() == control->GetTop();
      }
  const TPoint grid = GetGridXY();
  TComponentList selection;
  for (TComponent* c : pasted) {
    AddUndo(c);
    // Copies come last in the tab order: the originals keep their places.
    if (auto* windowed = dynamic_cast<TWinControl*>(c)) windowed->SetTabOrder(std::numeric_limits<TTabOrder>::max());
    if (auto* control = dynamic_cast<TControl*>(c)) {
      if (onSpot)
        control->SetBounds(control->GetLeft() + grid.X, control->GetTop() + grid.Y, control->GetWidth(),
                           control->GetHeight());
      selection.Add(control);
    }
  }
  for (TComponent* c : family)
    if (TKvIcon* icon = CreateIcon(c); icon && std::find(pasted.begin(), pasted.end(), c) != pasted.end())
      selection.Add(icon);
  if (parent == FForm) BringToFrontIcons();
  if (selection.Count() > 0) SetSelections(&selection);
  Modified();
}
