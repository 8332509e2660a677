// KvReader: the filtering form stream reader.
#include "KvReader.h"

#include <algorithm>

#include "Consts.h"
#include "KvStub.h"
#include "TypInfo.h"

KV_IMPLEMENT_CLASS(TKReader, "KvReader") {}

namespace {

// The uses clause of every form unit.
constexpr const char* kKvReaderStandardUnits[] = {"Messages", "Windows",  "SysUtils", "Classes",
                                                  "Graphics", "Controls", "Forms",    "Dialogs"};

// "(Sender: TObject; var Key: Word)"; no parameters, "". A handler must take its parameters as
// the event passes them: without its var, a key handler could not change the key, and Delphi
// refuses to bind a handler whose parameter list differs from the event's.
std::string KvReaderParamText(PTypeInfo methodType) {
  std::string text;
  for (const TParamInfo& p : methodType->Params) {
    text += text.empty() ? "(" : "; ";
    if (p.Flags & pfVar) text += "var ";
    else if (p.Flags & pfConst) text += "const ";
    else if (p.Flags & pfOut) text += "out ";
    text += p.Name + ": " + p.TypeName;
  }
  return text.empty() ? text : text + ")";
}

bool KvReaderIsIntegerTag(TValueType v) { return v == vaInt8 || v == vaInt16 || v == vaInt32; }

// Saves the reader's record of the component being read and puts it back on every way out.
class TKvReaderComponentScope {
 public:
  TKvReaderComponentScope(std::string& className, std::string& compName, TPersistent*& instance, int& level)
      : FClassName(className),
        FCompName(compName),
        FInstance(instance),
        FLevel(level),
        FSavedClassName(className),
        FSavedCompName(compName),
        FSavedInstance(instance) {
    ++FLevel;
  }
  ~TKvReaderComponentScope() {
    FClassName = std::move(FSavedClassName);
    FCompName = std::move(FSavedCompName);
    FInstance = FSavedInstance;
    --FLevel;
  }
  TKvReaderComponentScope(const TKvReaderComponentScope&) = delete;
  TKvReaderComponentScope& operator=(const TKvReaderComponentScope&) = delete;

 private:
  std::string& FClassName;
  std::string& FCompName;
  TPersistent*& FInstance;
  int& FLevel;
  std::string FSavedClassName;
  std::string FSavedCompName;
  TPersistent* FSavedInstance;
};

}  // namespace

TKReader::TKReader(TStream* stream, int bufSize) : TReader(stream, bufSize) {}

TKReader::~TKReader() = default;

void TKReader::Initialize(const std::string& resName, const TStrings* events) {
  Units.Clear();
  for (const char* u : kKvReaderStandardUnits) Units.Add(u);
  Events.Clear();
  Fields.Clear();
  ApplyEvents = events != nullptr;
  if (events) Events.AddStrings(events);
  OutStream.Clear();
  FDataStart = OutStream.WriteResourceHeader(resName);
  FWriter = std::make_unique<TWriter>(&OutStream, 4096);
  FWriter->WriteSignature();
}

void TKReader::Finalize() {
  FWriter->FlushBuffer();
  FWriter.reset();
  OutStream.FixupResourceHeader(FDataStart);
}

// --- Copying --------------------------------------------------------------------------------

void TKReader::CopyRead(const std::function<void()>& read) {
  const int64_t start = Position();
  read();
  int64_t count = Position() - start;
  SetPosition(start);
  uint8_t piece[4096];
  while (count > 0) {
    const int64_t n = std::min<int64_t>(count, sizeof piece);
    Read(piece, n);
    FWriter->Write(piece, n);
    count -= n;
  }
}

void TKReader::CopyComponent(bool withHeader) {
  CopyRead([this, withHeader] { SkipComponent(withHeader); });
}

void TKReader::CopyProperty() {
  CopyRead([this] { SkipProperty(); });
}

void TKReader::CopyValue() {
  CopyRead([this] { SkipValue(); });
}

// --- Components -----------------------------------------------------------------------------

// A named record stands for the root's component of that name; an unnamed one for the root's
// first component of its class. A component of another class than the record's is a different
// component that took over the name since the stream was written, so it does not count.
TComponent* TKReader::FindComponentInRoot() const {
  if (!Root) return nullptr;
  if (!FCompName.empty()) {
    TComponent* c = Root->FindComponent(FCompName);
    return c && SameText(KvStreamedClassName(c), FClassName) ? c : nullptr;
  }
  for (int i = 0; i < Root->ComponentCount(); ++i)
    if (SameText(KvStreamedClassName(Root->Components(i)), FClassName)) return Root->Components(i);
  return nullptr;
}

// Components the engine does not list are left out, and so is one whose class publishes a
// property under the component's own name that the engine reports as not stored.
bool TKReader::Saved(TComponent* component) const {
  if (Listable && !Listable(component)) return false;
  PPropInfo namesake = IsStoredProp ? GetPropInfo(component, FCompName) : nullptr;
  return !namesake || IsStoredProp(component, namesake);
}

void TKReader::ReadComponent(TComponent* component, const std::string& newClassName, std::string& className) {
  TReaderDepth depth(this);
  uint8_t flags;
  int childPos;
  ReadPrefix(flags, childPos);  // the output carries no prefixes
  TKvReaderComponentScope scope(FClassName, FCompName, FInstance, FLevel);
  FClassName = ReadStr();
  FCompName = ReadStr();
  if (!component) component = FindComponentInRoot();
  if (!component) {
    FWriter->WriteStr(FClassName);
    FWriter->WriteStr(FCompName);
    CopyComponent(false);
    return;
  }
  if (!Saved(component)) {
    SkipComponent(false);
    return;
  }
  if (!ApplyEvents && FLevel > 1) {
    AddClassUnits(component->ClassType());
    // A field needs a name; an unnamed component (found by its class) gets none.
    if (!FCompName.empty()) Fields.Add("    " + FCompName + ": " + FClassName + ";");
  }
  if (!newClassName.empty()) FClassName = newClassName;
  className = FClassName;
  FWriter->WriteStr(FClassName);
  FWriter->WriteStr(FCompName);
  if (!ApplyEvents) Events.Add("[" + SectionKey() + "]");
  ReadData(component);
}

const std::string& TKReader::SectionKey() const { return FLevel == 1 ? FClassName : FCompName; }

void TKReader::ReadData(TComponent* instance) {
  FInstance = instance;
  // A stub has no run-time type information for what it holds: its record goes as it stands.
  const bool stub = KvIsStub(instance);
  while (!EndOfList()) stub ? CopyProperty() : ReadProperty(instance);
  if (ApplyEvents) WriteEvents(SectionKey());
  ReadListEnd();
  FWriter->WriteListEnd();
  while (!EndOfList()) {
    std::string className;
    ReadComponent(nullptr, "", className);
  }
  ReadListEnd();
  FWriter->WriteListEnd();
}

// Writes the assignments of the section "[key]" of Events: "OnClick = Button1Click(...)" gives
// the property OnClick with the identifier Button1Click.
void TKReader::WriteEvents(const std::string& key) {
  const std::string header = "[" + key + "]";
  int i = 0;
  while (i < Events.Count() && !SameText(Events[i], header)) ++i;
  for (++i; i < Events.Count() && !Events[i].starts_with('['); ++i) {
    const std::string line = Events[i];
    const size_t eq = line.find(" = ");
    if (eq == std::string::npos) continue;
    const std::string handler = line.substr(eq + 3, line.find('(', eq + 3) - (eq + 3));
    if (eq == 0 || handler.empty()) continue;
    FWriter->WriteStr(line.substr(0, eq));
    FWriter->WriteIdent(handler);
  }
}

// --- Properties -----------------------------------------------------------------------------

void TKReader::AddUnit(const std::string& unitName) {
  // System is every unit's implicit first use; naming it in a uses clause does not compile.
  if (!unitName.empty() && !SameText(unitName, "System") && Units.IndexOf(unitName) < 0) Units.Add(unitName);
}

// A component's unit and its ancestors' (a TDBNavigator is a panel: ExtCtrls, then DBCtrls),
// so that the unit compiles with every class its declaration names or inherits from.
void TKReader::AddClassUnits(TClass cls) {
  if (!cls) return;
  AddClassUnits(cls->Parent);
  AddUnit(cls->UnitName ? cls->UnitName : "");
}

void TKReader::ReadProperty(TPersistent* instance) {
  FPropPath.clear();
  try {
    FPropPath = ReadStr();
    TPersistent* target = instance;
    size_t start = 0;
    for (size_t dot; (dot = FPropPath.find('.', start)) != std::string::npos; start = dot + 1) {
      FPropName = FPropPath.substr(start, dot - start);
      PPropInfo p = GetPropInfo(target, FPropName);
      if (!p) PropertyError(FPropName);
      TObject* value = nullptr;
      if (p->PropType->Kind == tkClass) {
        value = p->GetObj ? p->GetObj(target) : nullptr;
        AddUnit(p->PropType->UnitName);
      }
      if (!value || !value->Is<TPersistent>()) {
        SkipValue();
        ReadError(SInvalidPropertyPath);
      }
      target = static_cast<TPersistent*>(value);
    }
    FPropName = FPropPath.substr(start);
    if (PPropInfo p = GetPropInfo(target, FPropName)) {
      ReadPropValue(target, p);
    } else {
      // Values a class streams itself (Lines.Strings, Glyph.Data, TextHeight, the Left and Top
      // of non-visual components) and properties the live class lacks travel as they are.
      FWriter->WriteStr(FPropPath);
      CopyValue();
    }
  } catch (const Exception& e) {
    std::string name;
    if (auto* c = Cast<TComponent>(instance)) name = c->GetName();
    if (name.empty()) name = instance->ClassName();
    throw EReadError(Format(SPropertyException, name, FPropPath, e.Message()));
  }
}

void TKReader::ReadPropValue(TPersistent* instance, PPropInfo prop) {
  const TTypeKind kind = prop->PropType->Kind;
  // A collection is filled through its getter, as the platform reader does.
  if (!prop->HasSetter() && !(kind == tkClass && NextValue() == vaCollection)) ReadError(SReadOnlyProperty);
  if (kind == tkMethod && instance == FInstance) {
    // The component's own events: assignments leave the stream, nil ones stay.
    if (NextValue() == vaNil) {
      FWriter->WriteStr(FPropPath);
      CopyValue();
      return;
    }
    const std::string handler = ReadIdent();
    if (!ApplyEvents) AddEvent(prop, handler);
    return;
  }
  FWriter->WriteStr(FPropPath);
  switch (kind) {
    case tkInteger:
      CopyRead([this] {
        if (NextValue() == vaIdent) ReadIdent();  // a named constant such as clBtnFace
        else ReadInt64();
      });
      break;
    case tkChar: CopyRead([this] { ReadChar(); }); break;
    case tkEnumeration: CopyRead([this] { ReadIdent(); }); break;
    case tkFloat: CopyRead([this] { ReadFloat(); }); break;
    case tkString:
    case tkLString:
    case tkWString: CopyRead([this] { ReadString(); }); break;
    case tkSet: ReadSet(prop->PropType); break;
    case tkClass:
      switch (NextValue()) {
        case vaNil: CopyValue(); break;
        case vaCollection: {
          auto* collection = Cast<TCollection>(GetObjectProp(instance, prop));
          if (!collection) {
            SkipValue();
            ReadError(SInvalidPropertyValue);
          }
          ReadValue();
          FWriter->WriteValue(vaCollection);
          ReadCollection(collection);
          break;
        }
        default: CopyRead([this] { ReadIdent(); });  // a component reference
      }
      break;
    default:
      // Events of sub-objects and collection items, and kinds that this library never streams
      // (wide chars, variants), are kept as they stand: moving an event up to the component
      // would give it a property it may not have.
      CopyValue();
  }
}

void TKReader::AddEvent(PPropInfo prop, const std::string& handler) {
  Events.Add(FPropName + " = " + handler + KvReaderParamText(prop->PropType));
}

void TKReader::ReadSet(PTypeInfo setType) {
  CopyRead([this, setType] { TReader::ReadSet(setType); });
}

// Items are matched by index with the live collection's items. An item the live collection does
// not have is copied as it stands: filling the live collection up would change the design.
void TKReader::ReadCollection(TCollection* collection) {
  TReaderDepth depth(this);
  int64_t index = 0;  // an index read at the top of int32 must not overflow when counted on
  while (!EndOfList()) {
    if (KvReaderIsIntegerTag(NextValue())) CopyRead([this, &index] { index = ReadInteger(); });
    ReadListBegin();
    FWriter->WriteListBegin();
    TCollectionItem* item = index >= 0 && index < collection->Count() ? collection->Items(index) : nullptr;
    while (!EndOfList()) item ? ReadProperty(item) : CopyProperty();
    ReadListEnd();
    FWriter->WriteListEnd();
    ++index;
  }
  ReadListEnd();
  FWriter->WriteListEnd();
}
