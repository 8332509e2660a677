#include "System.h"

#include <algorithm>
#include <cstring>

#include "Consts.h"
#include "SysUtils.h"
#include "TypInfo.h"

constinit const TClassInfo TObject::ClassInfo_{
    "TObject", nullptr, "System", nullptr, [](TClass, TClassInfo::Tables*) {}, {}, {}};

// ---------------------------------------------------------------------------------------------
// Class records

const TClassInfo::Tables& TClassInfo::GetTables() const {
  if (FTables) return *FTables;
  auto t = std::make_unique<Tables>();
  if (Parent) t->All = Parent->GetTables().All;
  Publish(this, t.get());
  // A property published again by a descendant (to change its default, say) keeps its place.
  for (auto& own : t->Own) {
    auto same = std::find_if(t->All.begin(), t->All.end(), [&](PPropInfo p) { return SameText(p->Name, own->Name); });
    if (same != t->All.end()) *same = own.get();
    else t->All.push_back(own.get());
  }
  for (size_t i = 0; i < t->All.size(); ++i) const_cast<TPropInfo*>(t->All[i])->NameIndex = static_cast<int>(i);
  FTables = std::move(t);
  return *FTables;
}

PTypeInfo TClassInfo::TypeInfo() const {
  if (!FType) {
    FType = std::make_unique<TTypeInfo>();
    FType->Kind = tkClass;
    FType->Name = Name;
    FType->ClassType = this;
    FType->UnitName = UnitName;
  }
  return FType.get();
}

bool TClassInfo::InheritsFrom(TClass c) const {
  for (TClass k = this; k; k = k->Parent)
    if (k == c) return true;
  return false;
}

const TMethodEntry* TClassInfo::FindMethod(std::string_view name) const {
  for (TClass k = this; k; k = k->Parent)
    for (auto& m : k->GetTables().Methods)
      if (SameText(m->Name, name)) return m.get();
  return nullptr;
}

const TFieldEntry* TClassInfo::FindField(std::string_view name) const {
  for (TClass k = this; k; k = k->Parent)
    for (auto& f : k->GetTables().Fields)
      if (SameText(f.Name, name)) return &f;
  return nullptr;
}

TObject* TClassInfo::Create(TComponent* owner) const {
  if (!Factory) throw EInvalidCast(Format("Cannot create an instance of the abstract class %s", Name));
  return Factory(owner);
}

TPropInfo* TClassBuilderBase::NewProp(std::string_view name, PTypeInfo type) {
  auto p = std::make_unique<TPropInfo>();
  p->Name = std::string(name);
  p->PropType = type;
  p->Owner = FClass;
  FTables->Own.push_back(std::move(p));
  return FTables->Own.back().get();
}

void TClassBuilderBase::AddMethod(std::string_view name, const std::type_info& sig, std::shared_ptr<const void> thunk) {
  auto m = std::make_unique<TMethodEntry>();
  m->Name = std::string(name);
  m->Owner = FClass;
  m->Signature = &sig;
  m->Thunk = std::move(thunk);
  FTables->Methods.push_back(std::move(m));
}

// ---------------------------------------------------------------------------------------------
// TObject

TMethod TObject::MethodAddress(std::string_view name) const {
  TMethod m;
  m.Code = ClassType()->FindMethod(name);
  if (m.Code) m.Data = const_cast<TObject*>(this);
  return m;
}

std::string TObject::MethodName(const TMethod& m) { return m.Code ? m.Code->Name : std::string(); }

void RaiseMethodMismatch(const std::string& name) { throw EInvalidCast(Format(SMethodTypeMismatch, name)); }

void RaiseInvalidCast(const TObject* o, TClass target) {
  throw EInvalidCast(Format("Invalid class typecast: %s is not a %s", o->ClassName(), target->Name));
}

// ---------------------------------------------------------------------------------------------
// Type records of the built-in types

namespace {

std::vector<std::string> SplitNames(const char* names) {
  std::vector<std::string> r;
  std::string cur;
  for (const char* p = names;; ++p) {
    if (*p == ',' || *p == 0) {
      std::string t = Trim(cur);
      if (!t.empty()) r.push_back(t);
      cur.clear();
      if (*p == 0) break;
    } else {
      cur += *p;
    }
  }
  return r;
}

}  // namespace

PTypeInfo MakeOrdTypeInfo(const char* name, TTypeKind kind, TOrdType ot, int64_t lo, int64_t hi) {
  auto* t = new TTypeInfo;  // type records live as long as the program
  t->Kind = kind;
  t->Name = name;
  t->OrdType = ot;
  t->MinValue = lo;
  t->MaxValue = hi;
  return t;
}

PTypeInfo MakeStringTypeInfo(const char* name) {
  auto* t = new TTypeInfo;
  t->Kind = tkLString;
  t->Name = name;
  return t;
}

PTypeInfo MakeEnumTypeInfo(const char* name, const char* names, const char* unit) {
  auto* t = new TTypeInfo;
  t->Kind = tkEnumeration;
  t->Name = name;
  t->NameList = SplitNames(names);
  t->OrdType = t->NameList.size() <= 256 ? otUByte : otUWord;
  t->MinValue = 0;
  t->MaxValue = static_cast<int64_t>(t->NameList.size()) - 1;
  t->UnitName = unit;
  return t;
}

PTypeInfo MakeSetTypeInfo(const char* name, PTypeInfo elem) {
  auto* t = new TTypeInfo;
  t->Kind = tkSet;
  t->Name = name;
  t->CompType = elem;
  t->OrdType = otULong;
  return t;
}

PTypeInfo MakeMethodTypeInfo(const char* name, const char* params, const char* result) {
  auto* t = new TTypeInfo;
  t->Kind = tkMethod;
  t->Name = name;
  t->ResultType = result;
  t->MethodKind = *result ? mkFunction : mkProcedure;
  // "Sender: TObject; var Key: Word; const A, B: Integer"
  std::string_view rest = params;
  while (!rest.empty()) {
    size_t semi = rest.find(';');
    std::string group = Trim(rest.substr(0, semi));
    rest = semi == std::string_view::npos ? std::string_view() : rest.substr(semi + 1);
    if (group.empty()) continue;
    uint8_t flags = 0;
    static const std::pair<const char*, uint8_t> kFlags[] = {{"var ", pfVar}, {"const ", pfConst}, {"out ", pfOut}};
    for (auto& [word, f] : kFlags)
      if (StartsText(word, group)) {
        flags = f;
        group = Trim(group.substr(std::strlen(word)));
      }
    size_t colon = group.find(':');
    std::string typeName = colon == std::string::npos ? "" : Trim(group.substr(colon + 1));
    for (auto& n : SplitNames(group.substr(0, colon).c_str())) t->Params.push_back(TParamInfo{flags, n, typeName});
  }
  return t;
}

namespace {
PTypeInfo MakeFloat(const char* name, TFloatType ft) {
  auto* t = new TTypeInfo;
  t->Kind = tkFloat;
  t->Name = name;
  t->FloatType = ft;
  return t;
}
}  // namespace

#define KV_BUILTIN(Fn, Expr)    \
  PTypeInfo Fn() {              \
    static PTypeInfo ti = Expr; \
    return ti;                  \
  }
KV_BUILTIN(TypeInfoInteger, MakeOrdTypeInfo("Integer", tkInteger, otSLong, INT32_MIN, INT32_MAX))
KV_BUILTIN(TypeInfoCardinal, MakeOrdTypeInfo("Cardinal", tkInteger, otULong, 0, UINT32_MAX))
KV_BUILTIN(TypeInfoSmallint, MakeOrdTypeInfo("Smallint", tkInteger, otSWord, INT16_MIN, INT16_MAX))
KV_BUILTIN(TypeInfoWord, MakeOrdTypeInfo("Word", tkInteger, otUWord, 0, UINT16_MAX))
KV_BUILTIN(TypeInfoByte, MakeOrdTypeInfo("Byte", tkInteger, otUByte, 0, UINT8_MAX))
KV_BUILTIN(TypeInfoBoolean, MakeEnumTypeInfo("Boolean", "False, True", "System"))
KV_BUILTIN(TypeInfoChar, MakeOrdTypeInfo("Char", tkChar, otUByte, 0, 255))
KV_BUILTIN(TypeInfoString, MakeStringTypeInfo("string"))
KV_BUILTIN(TypeInfoInt64, MakeOrdTypeInfo("Int64", tkInteger, otSLong, INT64_MIN, INT64_MAX))
KV_BUILTIN(TypeInfoExtended, MakeFloat("Extended", ftExtended))
KV_BUILTIN(TypeInfoDouble, MakeFloat("Double", ftDouble))
KV_BUILTIN(TypeInfoSingle, MakeFloat("Single", ftSingle))
#undef KV_BUILTIN
