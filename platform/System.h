// System: the root class, metaclasses, run-time type records and method pointers.
//
// Every class of the library declares itself with KV_CLASS inside its body and defines its
// class record with KV_IMPLEMENT_CLASS in its unit's source, where it also publishes its
// properties and methods:
//
//   class TButton : public TButtonControl {
//     KV_CLASS(TButton, TButtonControl)
//    public: ...
//   };
//
//   KV_IMPLEMENT_CLASS(TButton, "StdCtrls") {
//     b.Prop("Cancel", &TButton::GetCancel, &TButton::SetCancel).Default(false);
//     b.Prop("OnClick", &TButton::FOnClick);
//   }
#pragma once

#include <climits>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <typeinfo>
#include <vector>

// KV_UNIT names a namespace of its own for each source file of the libraries: the unity build
// (CMake's UNITY_BUILD_UNIQUE_ID) defines it per file, so that file-local helpers of files
// compiled together cannot clash, whatever their names:
//   namespace { namespace KV_UNIT { std::string Helper(); } }   ...   KV_UNIT::Helper()
// A file compiled alone has its own anonymous namespace, and KV_UNIT is empty.
#ifndef KV_UNIT
#define KV_UNIT
#endif

class TObject;
class TComponent;
struct TClassInfo;
struct TTypeInfo;
struct TPropInfo;
struct TMethodEntry;
using TClass = const TClassInfo*;
using PTypeInfo = const TTypeInfo*;
using PPropInfo = const TPropInfo*;

// ---------------------------------------------------------------------------------------------
// Type kinds, numbered as Delphi 3 numbers them; TTypeKinds is a 16-bit mask, bit n for kind n.
enum TTypeKind : uint8_t {
  tkUnknown,
  tkInteger,
  tkChar,
  tkEnumeration,
  tkFloat,
  tkString,
  tkSet,
  tkClass,
  tkMethod,
  tkWChar,
  tkLString,
  tkWString,
  tkVariant,
  tkArray,
  tkRecord,
  tkInterface
};
using TTypeKinds = uint16_t;
constexpr TTypeKinds TypeKindBit(TTypeKind k) { return static_cast<TTypeKinds>(1u << k); }
constexpr TTypeKinds tkAny = 0xFFFF;

enum TOrdType : uint8_t { otSByte, otUByte, otSWord, otUWord, otSLong, otULong };
enum TFloatType : uint8_t { ftSingle, ftDouble, ftExtended, ftComp, ftCurr };
enum TMethodKind : uint8_t { mkProcedure, mkFunction };
enum TParamFlag : uint8_t { pfVar = 1, pfConst = 2, pfArray = 4, pfAddress = 8, pfReference = 16, pfOut = 32 };

struct TParamInfo {
  uint8_t Flags = 0;  // TParamFlag bits
  std::string Name;
  std::string TypeName;
};

// One record per type. Only the members of the record's kind are meaningful.
struct TTypeInfo {
  TTypeKind Kind = tkUnknown;
  std::string Name;
  // ordinals
  TOrdType OrdType = otSLong;
  int64_t MinValue = INT32_MIN;
  int64_t MaxValue = INT32_MAX;
  std::vector<std::string> NameList;  // enumeration value names
  std::string UnitName;               // enumerations and classes
  PTypeInfo CompType = nullptr;       // sets: the element type
  TFloatType FloatType = ftExtended;  // floats
  TClass ClassType = nullptr;         // classes
  TMethodKind MethodKind = mkProcedure;
  std::vector<TParamInfo> Params;  // method types
  std::string ResultType;
};

// ---------------------------------------------------------------------------------------------
// Method pointers. A TMethod is either a published method of an object (Code names its entry
// in the class's method table, so a form stream can bind and name it) or a C++ closure.
struct TMethod {
  const TMethodEntry* Code = nullptr;
  TObject* Data = nullptr;
  std::shared_ptr<const void> Closure;          // a std::function<void(Args...)>
  const std::type_info* ClosureType = nullptr;  // typeid of that std::function
  bool Assigned() const { return Code != nullptr || Closure != nullptr; }
  friend bool operator==(const TMethod& a, const TMethod& b) {
    return a.Code == b.Code && a.Data == b.Data && a.Closure == b.Closure;
  }
};

// A published method: its name and a thunk `std::function<void(TObject*, Args...)>`.
struct TMethodEntry {
  std::string Name;
  TClass Owner = nullptr;
  const std::type_info* Signature = nullptr;  // typeid of the thunk's std::function
  std::shared_ptr<const void> Thunk;
};

[[noreturn]] void RaiseMethodMismatch(const std::string& name);

// An event slot with argument types Args. Declare a named event type with KV_EVENT.
template <class... Args>
class TEvent {
 public:
  using Function = std::function<void(Args...)>;
  using Thunk = std::function<void(TObject*, Args...)>;

  TEvent() = default;
  TEvent(std::nullptr_t) {}
  template <class F,
            class = std::enable_if_t<std::is_invocable_v<F&, Args...> && !std::is_base_of_v<TEvent, std::decay_t<F>>>>
  TEvent(F&& f) {
    auto fn = std::make_shared<const Function>(std::forward<F>(f));
    FMethod.Closure = fn;
    FMethod.ClosureType = &typeid(Function);
  }
  // A member function of an object: `OnClick = {this, &TForm1::Button1Click}`.
  template <class C>
  TEvent(C* obj, void (C::*fn)(Args...)) : TEvent([obj, fn](Args... a) { (obj->*fn)(a...); }) {
    FMethod.Data = obj;
  }

  explicit operator bool() const { return FMethod.Assigned(); }
  void operator()(Args... a) const {
    if (FMethod.Code) {
      if (FMethod.Code->Thunk) (*static_cast<const Thunk*>(FMethod.Code->Thunk.get()))(FMethod.Data, a...);
    } else if (FMethod.Closure) {
      (*static_cast<const Function*>(FMethod.Closure.get()))(a...);
    }
  }

  const TMethod& Method() const { return FMethod; }
  // Takes a generic method; a published method or closure of another signature is refused. An
  // entry without a signature only names a handler (one a designed form names and its host
  // lacks): any event takes it, and calling it does nothing.
  void SetMethod(const TMethod& m) {
    if (m.Code && m.Code->Signature && *m.Code->Signature != typeid(Thunk)) RaiseMethodMismatch(m.Code->Name);
    if (!m.Code && m.Closure && *m.ClosureType != typeid(Function)) RaiseMethodMismatch("closure");
    FMethod = m;
  }
  friend bool operator==(const TEvent& a, const TEvent& b) { return a.FMethod == b.FMethod; }

 private:
  TMethod FMethod;
};

// ---------------------------------------------------------------------------------------------
// Published properties.
enum TStoredKind : uint8_t { skConstant, skField, skVirtualMethod, skStaticMethod };
constexpr int32_t NoDefault = INT32_MIN;  // the VCL's $80000000
constexpr int32_t NoIndex = INT32_MIN;

struct TPropInfo {
  PTypeInfo PropType = nullptr;
  std::string Name;
  TClass Owner = nullptr;  // the class that published it
  int32_t Index = NoIndex;
  int32_t Default = NoDefault;
  int NameIndex = 0;  // position in the class's full property list
  TStoredKind StoredKind = skConstant;
  bool StoredConst = true;
  std::function<bool(const TObject*)> StoredProc;  // field or method
  // Typed accessors; which pair is set follows PropType->Kind. Ordinals (integer, char,
  // enumeration, set) travel as int64; class properties as object pointers.
  std::function<int64_t(const TObject*)> GetOrd;
  std::function<void(TObject*, int64_t)> SetOrd;
  std::function<std::string(const TObject*)> GetStr;
  std::function<void(TObject*, const std::string&)> SetStr;
  std::function<long double(const TObject*)> GetFloat;
  std::function<void(TObject*, long double)> SetFloat;
  std::function<TObject*(const TObject*)> GetObj;
  std::function<void(TObject*, TObject*)> SetObj;
  std::function<TMethod(const TObject*)> GetMeth;
  std::function<void(TObject*, const TMethod&)> SetMeth;
  bool HasGetter() const { return GetOrd || GetStr || GetFloat || GetObj || GetMeth; }
  bool HasSetter() const { return SetOrd || SetStr || SetFloat || SetObj || SetMeth; }
};

// A published field: a component pointer of a form class, set by name when the component of
// that name is inserted into (or renamed within, or removed from) the form.
struct TFieldEntry {
  std::string Name;
  TClass FieldClass = nullptr;
  std::function<void(TObject* self, TObject* value)> Set;
  std::function<TObject*(const TObject* self)> Get;
};

// ---------------------------------------------------------------------------------------------
// Class records.
struct TClassInfo {
  const char* Name;
  TClass Parent;
  const char* UnitName;
  TObject* (*Factory)(TComponent* owner);  // null for classes that cannot be built by reference
  struct Tables;
  void (*Publish)(TClass cls, Tables* t);

  // Filled on first use from Publish.
  struct Tables {
    std::vector<std::unique_ptr<TPropInfo>> Own;
    std::vector<PPropInfo> All;  // parents' first, in publishing order
    std::vector<std::unique_ptr<TMethodEntry>> Methods;
    std::vector<TFieldEntry> Fields;
  };
  mutable std::unique_ptr<Tables> FTables;
  mutable std::unique_ptr<TTypeInfo> FType;  // apart from the tables: a class may refer to itself
  const Tables& GetTables() const;

  bool InheritsFrom(TClass c) const;
  PTypeInfo TypeInfo() const;
  const std::vector<PPropInfo>& Properties() const { return GetTables().All; }
  const TMethodEntry* FindMethod(std::string_view name) const;  // searches parents too
  const TFieldEntry* FindField(std::string_view name) const;    // searches parents too
  TObject* Create(TComponent* owner = nullptr) const;           // EComponentError if abstract
};

// ---------------------------------------------------------------------------------------------
// TObject
class TObject {
 public:
  TObject() = default;
  TObject(const TObject&) = delete;
  TObject& operator=(const TObject&) = delete;
  virtual ~TObject() = default;

  static const TClassInfo ClassInfo_;
  static constexpr TClass StaticClass() { return &ClassInfo_; }
  virtual TClass ClassType() const { return &ClassInfo_; }
  std::string ClassName() const { return ClassType()->Name; }
  TClass ClassParent() const { return ClassType()->Parent; }
  std::string UnitName() const { return ClassType()->UnitName; }
  bool InheritsFrom(TClass c) const { return ClassType()->InheritsFrom(c); }
  template <class T>
  bool Is() const {
    return InheritsFrom(T::StaticClass());
  }
  // The published method of this object's class called `name`, or an unassigned method.
  TMethod MethodAddress(std::string_view name) const;
  // The name of a published method of this object's class, or "".
  static std::string MethodName(const TMethod& m);
};

// A checked downcast in the spirit of `as`: null stays null, a wrong class raises EInvalidCast.
[[noreturn]] void RaiseInvalidCast(const TObject* o, TClass target);
template <class T>
T* As(TObject* o) {
  if (o && !o->Is<T>()) RaiseInvalidCast(o, T::StaticClass());
  return static_cast<T*>(o);
}
template <class T>
T* Cast(TObject* o) {
  return o && o->Is<T>() ? static_cast<T*>(o) : nullptr;
}

// ---------------------------------------------------------------------------------------------
// Type info of C++ types. Declared per type through KV_ENUM, KV_SET, KV_EVENT, or as overloads
// of KvTypeInfo(const T*) for named integer types.
PTypeInfo TypeInfoInteger();
PTypeInfo TypeInfoCardinal();
PTypeInfo TypeInfoSmallint();
PTypeInfo TypeInfoWord();
PTypeInfo TypeInfoByte();
PTypeInfo TypeInfoBoolean();
PTypeInfo TypeInfoChar();
PTypeInfo TypeInfoString();
PTypeInfo TypeInfoExtended();
PTypeInfo TypeInfoDouble();
PTypeInfo TypeInfoSingle();
PTypeInfo TypeInfoInt64();

inline PTypeInfo KvTypeInfo(const int*) { return TypeInfoInteger(); }
inline PTypeInfo KvTypeInfo(const unsigned*) { return TypeInfoCardinal(); }
inline PTypeInfo KvTypeInfo(const int16_t*) { return TypeInfoSmallint(); }
inline PTypeInfo KvTypeInfo(const uint16_t*) { return TypeInfoWord(); }
inline PTypeInfo KvTypeInfo(const uint8_t*) { return TypeInfoByte(); }
inline PTypeInfo KvTypeInfo(const bool*) { return TypeInfoBoolean(); }
inline PTypeInfo KvTypeInfo(const char*) { return TypeInfoChar(); }
inline PTypeInfo KvTypeInfo(const std::string*) { return TypeInfoString(); }
inline PTypeInfo KvTypeInfo(const long double*) { return TypeInfoExtended(); }
inline PTypeInfo KvTypeInfo(const double*) { return TypeInfoDouble(); }
inline PTypeInfo KvTypeInfo(const float*) { return TypeInfoSingle(); }
inline PTypeInfo KvTypeInfo(const int64_t*) { return TypeInfoInt64(); }
template <class T, class = std::enable_if_t<std::is_base_of_v<TObject, T>>>
PTypeInfo KvTypeInfo(T* const*) {
  return T::StaticClass()->TypeInfo();
}

template <class T>
PTypeInfo TypeInfoOf() {
  return KvTypeInfo(static_cast<const T*>(nullptr));
}

// Builders used by the declaration macros.
PTypeInfo MakeEnumTypeInfo(const char* name, const char* names, const char* unit = "");
PTypeInfo MakeSetTypeInfo(const char* name, PTypeInfo elem);
// `params` in Pascal syntax: "Sender: TObject; var Key: Word; Shift: TShiftState".
PTypeInfo MakeMethodTypeInfo(const char* name, const char* params, const char* result = "");
PTypeInfo MakeOrdTypeInfo(const char* name, TTypeKind kind, TOrdType ot, int64_t lo, int64_t hi);
PTypeInfo MakeStringTypeInfo(const char* name);

// A Delphi set of an enumeration with at most 32 values, as a bit mask.
template <class E>
class TSet {
 public:
  constexpr TSet() = default;
  constexpr TSet(std::initializer_list<E> l) {
    for (E e : l) FBits |= Bit(e);
  }
  static constexpr TSet FromMask(uint32_t m) {
    TSet s;
    s.FBits = m;
    return s;
  }
  constexpr uint32_t Mask() const { return FBits; }
  constexpr bool Contains(E e) const { return (FBits & Bit(e)) != 0; }
  constexpr bool Empty() const { return FBits == 0; }
  constexpr TSet& Include(E e) {
    FBits |= Bit(e);
    return *this;
  }
  constexpr TSet& Exclude(E e) {
    FBits &= ~Bit(e);
    return *this;
  }
  constexpr TSet operator+(TSet o) const { return FromMask(FBits | o.FBits); }
  constexpr TSet operator-(TSet o) const { return FromMask(FBits & ~o.FBits); }
  constexpr TSet operator*(TSet o) const { return FromMask(FBits & o.FBits); }
  constexpr TSet operator<<(E e) const { return FromMask(FBits | Bit(e)); }
  constexpr TSet operator>>(E e) const { return FromMask(FBits & ~Bit(e)); }
  constexpr bool operator==(const TSet& o) const { return FBits == o.FBits; }

 private:
  static constexpr uint32_t Bit(E e) { return 1u << static_cast<unsigned>(e); }
  uint32_t FBits = 0;
};

// Enumeration type with value names taken from the declaration itself.
#define KV_ENUM(Name, ...)                                       \
  enum Name : uint8_t { __VA_ARGS__ };                           \
  inline PTypeInfo KvTypeInfo(const Name*) {                     \
    static PTypeInfo ti = MakeEnumTypeInfo(#Name, #__VA_ARGS__); \
    return ti;                                                   \
  }

// Named set type over an enumeration declared with KV_ENUM.
#define KV_SET(Name, Elem)                                            \
  struct Name : TSet<Elem> {                                          \
    using TSet<Elem>::TSet;                                           \
    constexpr Name(TSet<Elem> s) : TSet<Elem>(s) {}                   \
  };                                                                  \
  inline PTypeInfo KvTypeInfo(const Name*) {                          \
    static PTypeInfo ti = MakeSetTypeInfo(#Name, TypeInfoOf<Elem>()); \
    return ti;                                                        \
  }

// Named event type: KV_EVENT(TNotifyEvent, "Sender: TObject", TObject*).
#define KV_EVENT(Name, Params, ...)                          \
  struct Name : TEvent<__VA_ARGS__> {                        \
    using TEvent<__VA_ARGS__>::TEvent;                       \
  };                                                         \
  inline PTypeInfo KvTypeInfo(const Name*) {                 \
    static PTypeInfo ti = MakeMethodTypeInfo(#Name, Params); \
    return ti;                                               \
  }

KV_EVENT(TNotifyEvent, "Sender: TObject", TObject*)

// ---------------------------------------------------------------------------------------------
// Publishing properties and methods.
class TPropBuilder {
 public:
  explicit TPropBuilder(TPropInfo* p) : P(p) {}
  TPropBuilder& Default(int64_t v) {
    P->Default = static_cast<int32_t>(v);
    return *this;
  }
  template <class E>
  TPropBuilder& Default(TSet<E> s) {
    P->Default = static_cast<int32_t>(s.Mask());
    return *this;
  }
  TPropBuilder& NoDefaultValue() {
    P->Default = NoDefault;
    return *this;
  }
  TPropBuilder& Type(PTypeInfo t) {
    P->PropType = t;
    return *this;
  }
  TPropBuilder& Index(int32_t i) {
    P->Index = i;
    return *this;
  }
  TPropBuilder& Stored(bool v) {
    P->StoredKind = skConstant;
    P->StoredConst = v;
    return *this;
  }
  template <class C>
  TPropBuilder& StoredField(bool C::*f) {
    P->StoredKind = skField;
    P->StoredProc = [f](const TObject* o) { return static_cast<const C*>(o)->*f; };
    return *this;
  }
  // `virtualMethod` says which kind of method the stored specifier names; a virtual one is
  // called with the property's index when it takes an int.
  template <class C>
  TPropBuilder& StoredMethod(bool (C::*m)() const, bool virtualMethod = true) {
    P->StoredKind = virtualMethod ? skVirtualMethod : skStaticMethod;
    P->StoredProc = [m](const TObject* o) { return (static_cast<const C*>(o)->*m)(); };
    return *this;
  }
  template <class C>
  TPropBuilder& StoredMethod(bool (C::*m)(int) const, bool virtualMethod = true) {
    P->StoredKind = virtualMethod ? skVirtualMethod : skStaticMethod;
    int32_t idx = P->Index;
    P->StoredProc = [m, idx](const TObject* o) { return (static_cast<const C*>(o)->*m)(idx); };
    return *this;
  }

 private:
  TPropInfo* P;
};

class TClassBuilderBase {
 public:
  explicit TClassBuilderBase(TClass cls, TClassInfo::Tables* t) : FClass(cls), FTables(t) {}
  TPropInfo* NewProp(std::string_view name, PTypeInfo type);
  void AddMethod(std::string_view name, const std::type_info& sig, std::shared_ptr<const void> thunk);

 protected:
  TClass FClass;
  TClassInfo::Tables* FTables;
};

namespace kvdetail {
template <class T>
constexpr bool IsSetV = requires(const T& t) {
  { t.Mask() } -> std::same_as<uint32_t>;
};
template <class T>
using Bare = std::remove_cv_t<std::remove_reference_t<T>>;
}  // namespace kvdetail

template <class C>
class TClassBuilder : public TClassBuilderBase {
 public:
  using TClassBuilderBase::TClassBuilderBase;

  // Accessors may belong to C or to any of its ancestors.
  // Read-write property through a getter and a setter.
  template <class G, class BG, class BS, class V>
  TPropBuilder Prop(std::string_view name, G (BG::*get)() const, void (BS::*set)(V)) {
    using T = kvdetail::Bare<G>;
    TPropInfo* p = NewProp(name, TypeInfoOf<T>());
    Bind<T>(
        p, [get](const TObject* o) -> T { return (static_cast<const C*>(o)->*get)(); },
        [set](TObject* o, const T& v) { (static_cast<C*>(o)->*set)(v); });
    return TPropBuilder(p);
  }
  // Read-only property.
  template <class G, class BG>
  TPropBuilder Prop(std::string_view name, G (BG::*get)() const) {
    using T = kvdetail::Bare<G>;
    TPropInfo* p = NewProp(name, TypeInfoOf<T>());
    Bind<T>(
        p, [get](const TObject* o) -> T { return (static_cast<const C*>(o)->*get)(); }, nullptr);
    return TPropBuilder(p);
  }
  // Property read from a field and written through a setter.
  template <class T, class BF, class BS, class V>
  requires(!std::is_function_v<T>) TPropBuilder Prop(std::string_view name, T BF::*field, void (BS::*set)(V)) {
    TPropInfo* p = NewProp(name, TypeInfoOf<T>());
    Bind<T>(
        p, [field](const TObject* o) -> T { return static_cast<const C*>(o)->*field; },
        [set](TObject* o, const T& v) { (static_cast<C*>(o)->*set)(v); });
    return TPropBuilder(p);
  }
  // Property read and written directly on a field (events, plain values).
  template <class T, class BF>
  requires(!std::is_function_v<T>) TPropBuilder Prop(std::string_view name, T BF::*field) {
    TPropInfo* p = NewProp(name, TypeInfoOf<T>());
    Bind<T>(
        p, [field](const TObject* o) -> T { return static_cast<const C*>(o)->*field; },
        [field](TObject* o, const T& v) { static_cast<C*>(o)->*field = v; });
    return TPropBuilder(p);
  }

  // A published field holding a component of the form.
  template <class T, class BF>
  void Field(std::string_view name, T* BF::*field) {
    static_assert(std::is_base_of_v<TObject, T>, "published fields hold objects");
    TFieldEntry f;
    f.Name = std::string(name);
    f.FieldClass = T::StaticClass();
    f.Set = [field](TObject* self, TObject* v) { static_cast<C*>(self)->*field = static_cast<T*>(v); };
    f.Get = [field](const TObject* self) -> TObject* { return static_cast<const C*>(self)->*field; };
    FTables->Fields.push_back(std::move(f));
  }

  // A published method, bindable by name from a form stream.
  template <class B, class... A>
  void Method(std::string_view name, void (B::*fn)(A...)) {
    using Thunk = typename TEvent<A...>::Thunk;
    auto thunk = std::make_shared<const Thunk>([fn](TObject* self, A... a) { (static_cast<C*>(self)->*fn)(a...); });
    AddMethod(name, typeid(Thunk), thunk);
  }

 private:
  template <class T, class Get, class Set>
  static void Bind(TPropInfo* p, Get get, Set set) {
    constexpr bool hasSet = !std::is_same_v<Set, std::nullptr_t>;
    if constexpr (std::is_same_v<T, std::string>) {
      p->GetStr = get;
      if constexpr (hasSet) p->SetStr = set;
    } else if constexpr (std::is_floating_point_v<T>) {
      p->GetFloat = [get](const TObject* o) { return static_cast<long double>(get(o)); };
      if constexpr (hasSet) p->SetFloat = [set](TObject* o, long double v) { set(o, static_cast<T>(v)); };
    } else if constexpr (std::is_pointer_v<T>) {
      p->GetObj = [get](const TObject* o) -> TObject* { return get(o); };
      if constexpr (hasSet)
        p->SetObj = [set](TObject* o, TObject* v) {
          set(o, static_cast<T>(v));  // callers check the class against the property's type
        };
    } else if constexpr (kvdetail::IsSetV<T>) {
      p->GetOrd = [get](const TObject* o) { return static_cast<int64_t>(get(o).Mask()); };
      if constexpr (hasSet)
        p->SetOrd = [set](TObject* o, int64_t v) { set(o, T(T::FromMask(static_cast<uint32_t>(v)))); };
    } else if constexpr (requires(const T& t) { t.Method(); }) {
      p->GetMeth = [get](const TObject* o) { return get(o).Method(); };
      if constexpr (hasSet)
        p->SetMeth = [set](TObject* o, const TMethod& m) {
          T e;
          e.SetMethod(m);
          set(o, e);
        };
    } else {
      static_assert(std::is_integral_v<T> || std::is_enum_v<T>, "unsupported property type");
      p->GetOrd = [get](const TObject* o) { return static_cast<int64_t>(get(o)); };
      if constexpr (hasSet) p->SetOrd = [set](TObject* o, int64_t v) { set(o, static_cast<T>(v)); };
    }
  }
};

namespace kvdetail {
template <class T>
TObject* Factory(TComponent* owner) {
  if constexpr (std::is_abstract_v<T>) {
    return nullptr;
  } else if constexpr (std::is_constructible_v<T, TComponent*>) {
    return new T(owner);
  } else if constexpr (std::is_default_constructible_v<T>) {
    return new T();
  } else {
    return nullptr;
  }
}
template <class T>
constexpr auto FactoryFor() -> TObject* (*)(TComponent*) {
  if constexpr (std::is_abstract_v<T> ||
                (!std::is_constructible_v<T, TComponent*> && !std::is_default_constructible_v<T>))
    return nullptr;
  else return &Factory<T>;
}
}  // namespace kvdetail

#define KV_CLASS(Cls, Base)                                     \
 public:                                                        \
  using inherited = Base;                                       \
  static const TClassInfo ClassInfo_;                           \
  static constexpr TClass StaticClass() { return &ClassInfo_; } \
  TClass ClassType() const override { return &ClassInfo_; }     \
                                                                \
 private:

// Defines the class record; the block that follows publishes properties and methods on `b`.
#define KV_IMPLEMENT_CLASS(Cls, Unit)                                                \
  static void KvPublish_##Cls(TClassBuilder<Cls>& b);                                \
  constinit const TClassInfo Cls::ClassInfo_{#Cls,                                   \
                                             Cls::inherited::StaticClass(),          \
                                             Unit,                                   \
                                             kvdetail::FactoryFor<Cls>(),            \
                                             [](TClass cls, TClassInfo::Tables* t) { \
                                               TClassBuilder<Cls> builder(cls, t);   \
                                               KvPublish_##Cls(builder);             \
                                             },                                      \
                                             {},                                     \
                                             {}};                                    \
  static void KvPublish_##Cls([[maybe_unused]] TClassBuilder<Cls>& b)
