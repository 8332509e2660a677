#include "TypInfo.h"

#include <algorithm>

#include "Consts.h"

PPropInfo GetPropInfo(TClass cls, std::string_view name) {
  for (PPropInfo p : cls->Properties())
    if (SameText(p->Name, name)) return p;
  return nullptr;
}

PPropInfo GetPropInfo(const TObject* obj, std::string_view name) { return GetPropInfo(obj->ClassType(), name); }

std::vector<PPropInfo> GetPropList(TClass cls, TTypeKinds kinds) {
  std::vector<PPropInfo> r;
  for (PPropInfo p : cls->Properties())
    if (kinds & TypeKindBit(p->PropType->Kind)) r.push_back(p);
  return r;
}

std::vector<PPropInfo> GetSortedPropList(TClass cls, TTypeKinds kinds) {
  auto r = GetPropList(cls, kinds);
  std::stable_sort(r.begin(), r.end(), [](PPropInfo a, PPropInfo b) { return CompareText(a->Name, b->Name) < 0; });
  return r;
}

bool IsPublishedProp(const TObject* obj, std::string_view name) { return GetPropInfo(obj, name) != nullptr; }

namespace {

PPropInfo Require(const TObject* obj, std::string_view name) {
  PPropInfo p = GetPropInfo(obj, name);
  if (!p) throw EPropertyError(Format(SUnknownProperty, name));
  return p;
}

[[noreturn]] void KindError(PPropInfo p) { throw EPropertyError(Format(SInvalidPropertyType, p->PropType->Name)); }

void CheckReadable(PPropInfo p, bool has) {
  if (!has) {
    if (!p->HasGetter()) throw EPropWriteOnly(SWriteOnlyProperty);
    KindError(p);
  }
}

void CheckWritable(PPropInfo p, bool has) {
  if (!has) {
    if (!p->HasSetter()) throw EPropReadOnly(SReadOnlyProperty);
    KindError(p);
  }
}

}  // namespace

TTypeKind PropType(const TObject* obj, std::string_view name) { return Require(obj, name)->PropType->Kind; }

bool IsStoredProp(const TObject* obj, PPropInfo prop) {
  if (prop->StoredKind == skConstant) return prop->StoredConst;
  return prop->StoredProc ? prop->StoredProc(obj) : true;
}

int64_t GetOrdProp(const TObject* obj, PPropInfo prop) {
  if (prop->GetObj) return reinterpret_cast<intptr_t>(prop->GetObj(obj));
  CheckReadable(prop, static_cast<bool>(prop->GetOrd));
  return prop->GetOrd(obj);
}

void SetOrdProp(TObject* obj, PPropInfo prop, int64_t value) {
  if (prop->SetObj) return prop->SetObj(obj, reinterpret_cast<TObject*>(static_cast<intptr_t>(value)));
  CheckWritable(prop, static_cast<bool>(prop->SetOrd));
  prop->SetOrd(obj, value);
}

std::string GetStrProp(const TObject* obj, PPropInfo prop) {
  CheckReadable(prop, static_cast<bool>(prop->GetStr));
  return prop->GetStr(obj);
}

void SetStrProp(TObject* obj, PPropInfo prop, const std::string& value) {
  CheckWritable(prop, static_cast<bool>(prop->SetStr));
  prop->SetStr(obj, value);
}

long double GetFloatProp(const TObject* obj, PPropInfo prop) {
  CheckReadable(prop, static_cast<bool>(prop->GetFloat));
  return prop->GetFloat(obj);
}

void SetFloatProp(TObject* obj, PPropInfo prop, long double value) {
  CheckWritable(prop, static_cast<bool>(prop->SetFloat));
  prop->SetFloat(obj, value);
}

TObject* GetObjectProp(const TObject* obj, PPropInfo prop) {
  CheckReadable(prop, static_cast<bool>(prop->GetObj));
  return prop->GetObj(obj);
}

void SetObjectProp(TObject* obj, PPropInfo prop, TObject* value) {
  CheckWritable(prop, static_cast<bool>(prop->SetObj));
  TClass want = prop->PropType->ClassType;
  if (value && want && !value->InheritsFrom(want)) throw EPropertyError(SInvalidPropertyValue);
  prop->SetObj(obj, value);
}

TMethod GetMethodProp(const TObject* obj, PPropInfo prop) {
  CheckReadable(prop, static_cast<bool>(prop->GetMeth));
  return prop->GetMeth(obj);
}

void SetMethodProp(TObject* obj, PPropInfo prop, const TMethod& value) {
  CheckWritable(prop, static_cast<bool>(prop->SetMeth));
  prop->SetMeth(obj, value);
}

int64_t GetOrdProp(const TObject* obj, std::string_view name) { return GetOrdProp(obj, Require(obj, name)); }
void SetOrdProp(TObject* obj, std::string_view name, int64_t value) { SetOrdProp(obj, Require(obj, name), value); }
std::string GetStrProp(const TObject* obj, std::string_view name) { return GetStrProp(obj, Require(obj, name)); }
void SetStrProp(TObject* obj, std::string_view name, const std::string& value) {
  SetStrProp(obj, Require(obj, name), value);
}

std::string GetPropValueText(const TObject* obj, PPropInfo prop) {
  PTypeInfo t = prop->PropType;
  switch (t->Kind) {
    case tkInteger: return IntToStr(GetOrdProp(obj, prop));
    case tkChar: return std::string(1, static_cast<char>(GetOrdProp(obj, prop)));
    case tkEnumeration: return GetEnumName(t, static_cast<int>(GetOrdProp(obj, prop)));
    case tkSet: return SetToString(t, static_cast<uint32_t>(GetOrdProp(obj, prop)));
    case tkFloat: return FloatToStr(GetFloatProp(obj, prop));
    case tkString:
    case tkLString:
    case tkWString: return GetStrProp(obj, prop);
    case tkClass: {
      TObject* o = GetObjectProp(obj, prop);
      return o ? "(" + o->ClassName() + ")" : "";
    }
    case tkMethod: return TObject::MethodName(GetMethodProp(obj, prop));
    default: return "";
  }
}

std::string GetEnumName(PTypeInfo type, int value) {
  if (type->Kind == tkInteger || type->Kind == tkChar) return IntToStr(value);
  if (value < 0 || value >= static_cast<int>(type->NameList.size())) return "";
  return type->NameList[value];
}

int GetEnumValue(PTypeInfo type, std::string_view name) {
  for (size_t i = 0; i < type->NameList.size(); ++i)
    if (SameText(type->NameList[i], name)) return static_cast<int>(i);
  return -1;
}

std::string SetToString(PTypeInfo setType, uint32_t value, bool brackets) {
  std::string r;
  PTypeInfo elem = setType->CompType;
  for (int i = 0; i < 32; ++i)
    if (value & (1u << i)) {
      if (!r.empty()) r += ',';
      r += GetEnumName(elem, i);
    }
  return brackets ? "[" + r + "]" : r;
}

uint32_t StringToSet(PTypeInfo setType, std::string_view text) {
  std::string t = Trim(text);
  if (!t.empty() && t.front() == '[') t.erase(0, 1);
  if (!t.empty() && t.back() == ']') t.pop_back();
  uint32_t r = 0;
  size_t pos = 0;
  while (pos <= t.size()) {
    size_t comma = t.find(',', pos);
    std::string name =
        Trim(std::string_view(t).substr(pos, comma == std::string::npos ? std::string::npos : comma - pos));
    if (!name.empty()) {
      int v = GetEnumValue(setType->CompType, name);
      if (v < 0 || v > 31) throw EPropertyError(Format(SInvalidPropertyElement, name));
      r |= 1u << v;
    }
    if (comma == std::string::npos) break;
    pos = comma + 1;
  }
  return r;
}

PTypeInfo TypeInfoTTypeKinds() {
  static PTypeInfo kinds = MakeSetTypeInfo(
      "TTypeKinds", MakeEnumTypeInfo("TTypeKind",
                                     "tkUnknown, tkInteger, tkChar, tkEnumeration, tkFloat, tkString, tkSet, "
                                     "tkClass, tkMethod, tkWChar, tkLString, tkWString, tkVariant, tkArray, "
                                     "tkRecord, tkInterface"));
  return kinds;
}
