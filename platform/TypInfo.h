// TypInfo: run-time type information of published properties.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "SysUtils.h"
#include "System.h"

KV_EXCEPTION(EPropertyError, Exception);
KV_EXCEPTION(EPropReadOnly, EPropertyError);
KV_EXCEPTION(EPropWriteOnly, EPropertyError);

// Published property of a class or object by name, ignoring case; nullptr when there is none.
PPropInfo GetPropInfo(TClass cls, std::string_view name);
PPropInfo GetPropInfo(const TObject* obj, std::string_view name);
// The properties whose kind is in `kinds`, parents' first, in publishing order.
std::vector<PPropInfo> GetPropList(TClass cls, TTypeKinds kinds = 0xFFFF);
inline std::vector<PPropInfo> GetPropList(const TObject* obj, TTypeKinds kinds = 0xFFFF) {
  return GetPropList(obj->ClassType(), kinds);
}
// Sorted by name, as the inspector lists them.
std::vector<PPropInfo> GetSortedPropList(TClass cls, TTypeKinds kinds = 0xFFFF);
bool IsPublishedProp(const TObject* obj, std::string_view name);
TTypeKind PropType(const TObject* obj, std::string_view name);

// Whether the property's value is written when the object is streamed, by its stored specifier.
bool IsStoredProp(const TObject* obj, PPropInfo prop);

// Typed access; a property of another kind or without the accessor raises EPropertyError.
int64_t GetOrdProp(const TObject* obj, PPropInfo prop);
void SetOrdProp(TObject* obj, PPropInfo prop, int64_t value);
std::string GetStrProp(const TObject* obj, PPropInfo prop);
void SetStrProp(TObject* obj, PPropInfo prop, const std::string& value);
long double GetFloatProp(const TObject* obj, PPropInfo prop);
void SetFloatProp(TObject* obj, PPropInfo prop, long double value);
TObject* GetObjectProp(const TObject* obj, PPropInfo prop);
void SetObjectProp(TObject* obj, PPropInfo prop, TObject* value);
TMethod GetMethodProp(const TObject* obj, PPropInfo prop);
void SetMethodProp(TObject* obj, PPropInfo prop, const TMethod& value);
// By name; EPropertyError (SUnknownProperty) when the property does not exist.
int64_t GetOrdProp(const TObject* obj, std::string_view name);
void SetOrdProp(TObject* obj, std::string_view name, int64_t value);
std::string GetStrProp(const TObject* obj, std::string_view name);
void SetStrProp(TObject* obj, std::string_view name, const std::string& value);
// Any kind, as text: enumerations by name, sets as "[a,b]", classes by name or class name.
std::string GetPropValueText(const TObject* obj, PPropInfo prop);

std::string GetEnumName(PTypeInfo type, int value);
int GetEnumValue(PTypeInfo type, std::string_view name);  // -1 when unknown; ignores case
std::string SetToString(PTypeInfo setType, uint32_t value, bool brackets = true);
uint32_t StringToSet(PTypeInfo setType, std::string_view text);  // EPropertyError when invalid

// The property kinds as a published set type (TTypeKinds over TTypeKind), for components
// that let a host choose which kinds an inspector lists.
PTypeInfo TypeInfoTTypeKinds();
