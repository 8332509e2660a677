// KvDsgn: the event handlers a design names. The host runs no code of a design, so a handler is
// only a name: an entry without code that any event takes. The design's events carry these
// entries, so that the inspector shows the names, renaming reaches every event that shares one,
// and saving writes them into the form file and the unit.
#include <map>
#include <memory>

#include "KvDsgn.h"
#include "SysUtils.h"
#include "TypInfo.h"

// Entries live as long as the program: a host's live form keeps its events after the engine
// that edited it has gone, and a design's stream may be read again after its engine ended.
const TMethodEntry* TKFormDesigner::HandlerEntry(const std::string& name) {
  static std::map<std::string, std::unique_ptr<TMethodEntry>> entries;
  std::unique_ptr<TMethodEntry>& entry = entries[name];
  if (!entry) {
    entry = std::make_unique<TMethodEntry>();
    entry->Name = name;
  }
  return entry.get();
}

namespace {

// Every event of the form and of its components, with its handler's name ("" when empty).
template <class F>
void KvForEachEvent(TComponent* root, F&& fn) {
  auto visit = [&fn](TComponent* c) {
    for (PPropInfo p : GetPropList(c, TypeKindBit(tkMethod))) {
      if (!p->HasGetter()) continue;
      fn(c, p, TObject::MethodName(GetMethodProp(c, p)));
    }
  };
  visit(root);
  for (int i = 0; i < root->ComponentCount(); ++i) visit(root->Components(i));
}

}  // namespace

// A live form's own published method runs as before; any other name only names a handler.
TMethod TKFormDesigner::CreateMethod(const std::string& name, PTypeInfo) {
  TMethod method;
  if (name.empty()) return method;
  method.Code = FForm->ClassType()->FindMethod(name);
  if (!method.Code) method.Code = HandlerEntry(name);
  method.Data = FForm;
  return method;
}

std::string TKFormDesigner::GetMethodName(const TMethod& method) {
  if (!method.Assigned()) return "";
  return TObject::MethodName(method);
}

// The handlers that events of the same type already use, for the inspector's drop-down list.
void TKFormDesigner::GetMethods(PTypeInfo typeData, const TGetStrProc& proc) {
  TStringList names;
  names.SetSorted(true);
  names.SetDuplicates(dupIgnore);
  KvForEachEvent(FForm, [&](TComponent*, PPropInfo p, const std::string& handler) {
    if (!handler.empty() && p->PropType == typeData) names.Add(handler);
  });
  for (int i = 0; i < names.Count(); ++i) proc(names.Get(i));
}

bool TKFormDesigner::MethodExists(const std::string& name) {
  if (FForm->ClassType()->FindMethod(name)) return true;
  bool found = false;
  KvForEachEvent(FForm, [&](TComponent*, PPropInfo, const std::string& handler) {
    found = found || (!handler.empty() && SameText(handler, name));
  });
  return found;
}

// Every event that names the handler names it anew.
void TKFormDesigner::RenameMethod(const std::string& curName, const std::string& newName) {
  if (curName.empty() || newName.empty() || curName == newName) return;
  const TMethod renamed = CreateMethod(newName, nullptr);
  bool changed = false;
  KvForEachEvent(FForm, [&](TComponent* c, PPropInfo p, const std::string& handler) {
    if (handler.empty() || !SameText(handler, curName)) return;
    SetMethodProp(c, p, renamed);
    changed = true;
  });
  if (changed) Modified();
}
