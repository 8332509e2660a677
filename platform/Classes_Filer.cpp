// TFiler, TReader and TWriter: the binary form stream.
#include <cfloat>
#include <cstring>

#include "Classes.h"
#include "Consts.h"

static_assert(LDBL_MANT_DIG == 64, "form streams store floats as 80-bit extended values");

KV_IMPLEMENT_CLASS(TFiler, "Classes") {}
KV_IMPLEMENT_CLASS(TReader, "Classes") {}
KV_IMPLEMENT_CLASS(TWriter, "Classes") {}

namespace {
constexpr char kSignature[4] = {'T', 'P', 'F', '0'};
}  // namespace

TFiler::TFiler(TStream* stream, int bufSize) : FStream(stream), FBuffer(std::max(bufSize, 16)) {}

// =============================================================================================
// TReader

TReaderDepth::TReaderDepth(TReader* r) : R(r) {
  if (++R->FDepth > MaxFormNesting) {
    --R->FDepth;
    throw EReadError(Format("Nesting too deep at offset %d", R->Position()));
  }
}

TReaderDepth::~TReaderDepth() { --R->FDepth; }

TReader::TReader(TStream* stream, int bufSize) : TFiler(stream, bufSize) {
  FBufStart = stream->GetPosition();
  FStreamSize = stream->GetSize();
  if (FStreamSize - FBufStart > MaxFormSize)
    throw EReadError(Format(SFormTooLarge, FStreamSize - FBufStart, MaxFormSize));
}

TReader::~TReader() {
  // Leave the stream just after the last byte consumed.
  if (FBufEnd != FBufPos) FStream->SetPosition(Position());
}

int64_t TReader::Position() const { return FBufStart + FBufPos; }

void TReader::SetPosition(int64_t p) {
  if (p >= FBufStart && p <= FBufStart + FBufEnd) {
    FBufPos = static_cast<int>(p - FBufStart);
    return;
  }
  FStream->SetPosition(p);
  FBufStart = p;
  FBufPos = FBufEnd = 0;
}

void TReader::ReadBufferFill() {
  FBufStart += FBufEnd;
  FStream->SetPosition(FBufStart);
  FBufPos = 0;
  FBufEnd = static_cast<int>(FStream->Read(FBuffer.data(), static_cast<int64_t>(FBuffer.size())));
  if (FBufEnd <= 0) {
    FBufEnd = 0;
    throw EReadError(Format(SStreamTruncated, FBufStart));
  }
}

void TReader::CheckAvailable(int64_t count) {
  if (count < 0 || count > FStreamSize - Position()) throw EReadError(Format(SStreamTruncated, Position()));
}

// The length of a long string value, in units of `unitSize` bytes, checked against what is left
// and then against the limit on strings.
uint32_t TReader::ReadStringLength(int unitSize) {
  uint32_t len;
  ReadBytes(&len, 4);
  CheckAvailable(static_cast<int64_t>(len) * unitSize);
  if (static_cast<int64_t>(len) * unitSize > MaxFormStringSize)
    throw EReadError(Format("%s at offset %d", Format(SStringTooLong, MaxFormStringSize), Position() - 4));
  return len;
}

// Components are counted as they are read, so that a form of millions is refused after a
// bounded number rather than once they fill memory.
void TReader::CountComponent() {
  if (++FComponentCount > MaxFormComponents)
    throw EReadError(Format("%s at offset %d", Format(STooManyComponents, MaxFormComponents), Position()));
}

void TReader::ReadBytes(void* buf, int64_t count) {
  CheckAvailable(count);
  auto* out = static_cast<uint8_t*>(buf);
  while (count > 0) {
    if (FBufPos == FBufEnd) ReadBufferFill();
    int n = static_cast<int>(std::min<int64_t>(count, FBufEnd - FBufPos));
    std::memcpy(out, FBuffer.data() + FBufPos, n);
    FBufPos += n;
    out += n;
    count -= n;
  }
}

uint8_t TReader::ReadByte() {
  if (FBufPos == FBufEnd) ReadBufferFill();
  return FBuffer[FBufPos++];
}

void TReader::Read(void* buf, int64_t count) { ReadBytes(buf, count); }

void TReader::ReadSignature() {
  char sig[4];
  int64_t at = Position();
  if (FStreamSize - at < 4) throw EReadError(SInvalidImage);
  ReadBytes(sig, 4);
  if (std::memcmp(sig, kSignature, 4) != 0) throw EReadError(SInvalidImage);
}

void TReader::ReadPrefix(uint8_t& flags, int& childPos) {
  flags = 0;
  childPos = 0;
  if ((NextValue() & 0xF0) != 0xF0) return;
  flags = ReadByte() & 0x0F;
  if (flags & ffChildPos) childPos = ReadInteger();
}

TValueType TReader::ReadValue() {
  int64_t at = Position();
  uint8_t v = ReadByte();
  if (v > vaLastKnown) throw EReadError(Format(SInvalidValueTag, v, at));
  return static_cast<TValueType>(v);
}

TValueType TReader::NextValue() {
  if (FBufPos == FBufEnd) ReadBufferFill();
  return static_cast<TValueType>(FBuffer[FBufPos]);
}

bool TReader::EndOfList() { return NextValue() == vaNull; }

void TReader::CheckValue(TValueType v) {
  int64_t at = Position();
  if (ReadValue() != v) {
    SetPosition(at);
    SkipValue();
    throw EReadError(SInvalidPropertyValue);
  }
}

void TReader::ReadListBegin() { CheckValue(vaList); }

void TReader::ReadListEnd() {
  int64_t at = Position();
  if (ReadByte() != vaNull) throw EReadError(Format("End of list expected at offset %d", at));
}

int32_t TReader::ReadInteger() {
  switch (ReadValue()) {
    case vaInt8: {
      int8_t v;
      ReadBytes(&v, 1);
      return v;
    }
    case vaInt16: {
      int16_t v;
      ReadBytes(&v, 2);
      return v;
    }
    case vaInt32: {
      int32_t v;
      ReadBytes(&v, 4);
      return v;
    }
    default: throw EReadError(SInvalidPropertyValue);
  }
}

int64_t TReader::ReadInt64() {
  if (NextValue() != vaInt64) return ReadInteger();
  ReadValue();
  int64_t v;
  ReadBytes(&v, 8);
  return v;
}

char TReader::ReadChar() {
  CheckValue(vaString);
  uint8_t len = ReadByte();
  std::string s(len, '\0');
  ReadBytes(s.data(), len);
  if (len != 1) throw EReadError(SInvalidPropertyValue);
  return s[0];
}

long double TReader::ReadFloat() {
  switch (NextValue()) {
    case vaExtended: {
      ReadValue();
      long double v = 0;
      ReadBytes(&v, 10);
      return v;
    }
    case vaSingle: return ReadSingle();
    case vaDate: return ReadDate();
    case vaCurrency: return static_cast<long double>(ReadCurrency()) / 10000;
    default: return ReadInt64();
  }
}

float TReader::ReadSingle() {
  if (NextValue() != vaSingle) return static_cast<float>(ReadInt64());
  ReadValue();
  float v;
  ReadBytes(&v, 4);
  return v;
}

double TReader::ReadDate() {
  if (NextValue() != vaDate) return static_cast<double>(ReadInt64());
  ReadValue();
  double v;
  ReadBytes(&v, 8);
  return v;
}

int64_t TReader::ReadCurrency() {
  if (NextValue() != vaCurrency) return ReadInt64() * 10000;
  ReadValue();
  int64_t v;
  ReadBytes(&v, 8);
  return v;
}

std::string TReader::ReadRawStr() {
  uint8_t len = ReadByte();
  std::string s(len, '\0');
  ReadBytes(s.data(), len);
  return s;
}

std::string TReader::ReadStr() { return AnsiToUtf8(ReadRawStr()); }

std::string TReader::ReadString() {
  switch (ReadValue()) {
    case vaString: return ReadStr();
    case vaLString: {
      const uint32_t len = ReadStringLength(1);
      std::string s(len, '\0');
      ReadBytes(s.data(), len);
      return AnsiToUtf8(s);
    }
    case vaWString: {
      const uint32_t len = ReadStringLength(2);
      std::u16string w(len, u'\0');
      ReadBytes(w.data(), static_cast<int64_t>(len) * 2);
      return Utf16ToUtf8(w);
    }
    case vaUTF8String: {
      const uint32_t len = ReadStringLength(1);
      std::string s(len, '\0');
      ReadBytes(s.data(), len);
      return s;
    }
    default: throw EReadError(SInvalidPropertyValue);
  }
}

std::string TReader::ReadIdent() {
  switch (ReadValue()) {
    case vaIdent: return ReadStr();
    case vaFalse: return "False";
    case vaTrue: return "True";
    case vaNil: return "nil";
    case vaNull: return "Null";
    default: throw EReadError(SInvalidPropertyValue);
  }
}

bool TReader::ReadBoolean() {
  TValueType v = ReadValue();
  if (v != vaTrue && v != vaFalse) throw EReadError(SInvalidPropertyValue);
  return v == vaTrue;
}

void TReader::SkipSetBody() {
  while (!ReadRawStr().empty()) {}
}

void TReader::SkipValue() {
  TReaderDepth depth(this);
  auto skipBytes = [this](int64_t n) {
    CheckAvailable(n);
    SetPosition(Position() + n);
  };
  auto skipCounted = [&](int64_t unit) {
    uint32_t len;
    ReadBytes(&len, 4);
    skipBytes(static_cast<int64_t>(len) * unit);
  };
  switch (ReadValue()) {
    case vaNull:
    case vaFalse:
    case vaTrue:
    case vaNil: break;
    case vaList:
      while (!EndOfList()) SkipValue();
      ReadListEnd();
      break;
    case vaInt8: skipBytes(1); break;
    case vaInt16: skipBytes(2); break;
    case vaInt32: skipBytes(4); break;
    case vaExtended: skipBytes(10); break;
    case vaString:
    case vaIdent: ReadRawStr(); break;
    case vaBinary:
    case vaLString:
    case vaUTF8String: skipCounted(1); break;
    case vaWString: skipCounted(2); break;
    case vaSet: SkipSetBody(); break;
    case vaCollection:
      while (!EndOfList()) {
        if (NextValue() == vaInt8 || NextValue() == vaInt16 || NextValue() == vaInt32) ReadInteger();
        ReadListBegin();
        while (!EndOfList()) SkipProperty();
        ReadListEnd();
      }
      ReadListEnd();
      break;
    case vaSingle: skipBytes(4); break;
    case vaCurrency:
    case vaDate:
    case vaInt64: skipBytes(8); break;
  }
}

void TReader::SkipProperty() {
  ReadRawStr();
  SkipValue();
}

void TReader::SkipComponent(bool skipHeader) {
  TReaderDepth depth(this);
  if (skipHeader) {
    uint8_t flags;
    int pos;
    ReadPrefix(flags, pos);
    ReadRawStr();
    ReadRawStr();
  }
  while (!EndOfList()) SkipProperty();
  ReadListEnd();
  while (!EndOfList()) SkipComponent(true);
  ReadListEnd();
}

uint32_t TReader::ReadSet(PTypeInfo setType) {
  int64_t at = Position();
  if (ReadValue() != vaSet) {
    SetPosition(at);
    SkipValue();
    throw EReadError(SInvalidPropertyValue);
  }
  uint32_t result = 0;
  for (;;) {
    std::string name = ReadStr();
    if (name.empty()) break;
    int v = GetEnumValue(setType->CompType, name);
    if (v < 0 || v > 31) {
      SkipSetBody();
      throw EReadError(SInvalidPropertyValue);
    }
    result |= 1u << v;
  }
  return result;
}

bool TReader::Error(const std::string& message) {
  bool handled = false;
  if (OnError) OnError(this, message, handled);
  return handled;
}

void TReader::ReadError(const std::string& message) { throw EReadError(message); }

void TReader::PropertyError(const std::string& name) {
  SkipValue();
  ReadError(Format(SUnknownProperty, name));
}

const TMethodEntry* TReader::FindMethod(TComponent* root, const std::string& methodName) {
  const TMethodEntry* address = root ? root->ClassType()->FindMethod(methodName) : nullptr;
  bool error = address == nullptr;
  if (OnFindMethod) OnFindMethod(this, methodName, address, error);
  if (error) ReadError(Format(SMethodNotFound, methodName));
  return address;
}

TClass TReader::FindComponentClass(const std::string& className) {
  TClass cls = nullptr;
  if (OnFindComponentClass) OnFindComponentClass(this, className, cls);
  if (!cls) cls = GetClass(className);
  if (!cls || !cls->InheritsFrom(TComponent::StaticClass())) throw EClassNotFound(Format(SClassNotFound, className));
  return cls;
}

std::string TReader::FindUniqueName(const std::string& name) {
  if (!FindGlobalComponent || name.empty()) return name;
  std::string result = name;
  for (int i = 1;; ++i) {
    TComponent* other = FindGlobalComponent(result);
    if (!other || other == Root) return result;
    result = Format("%s_%d", name, i);
  }
}

void TReader::DefineProperty(const std::string& name, const TReaderProc& readData, const TWriterProc&, bool) {
  if (readData && SameText(name, FPropName)) {
    readData(this);
    FPropName.clear();
  }
}

void TReader::DefineBinaryProperty(const std::string& name, const TStreamProc& readData, const TStreamProc&, bool) {
  if (!readData || !SameText(name, FPropName)) return;
  if (ReadValue() != vaBinary) {
    SetPosition(Position() - 1);
    SkipValue();
    ReadError(SInvalidPropertyValue);
  }
  uint32_t len;
  ReadBytes(&len, 4);
  CheckAvailable(len);
  TMemoryStream data;
  data.SetSize(len);
  ReadBytes(data.Memory(), len);
  data.SetPosition(0);
  readData(&data);
  FPropName.clear();
}

void TReader::ReadProperty(TPersistent* instance) {
  std::string path;
  try {
    path = ReadStr();
    try {
      TPersistent* target = instance;
      FCanHandleExcepts = true;
      size_t start = 0;
      for (;;) {
        size_t dot = path.find('.', start);
        FPropName = path.substr(start, dot == std::string::npos ? std::string::npos : dot - start);
        if (dot == std::string::npos) break;
        PPropInfo p = GetPropInfo(target, FPropName);
        if (!p) PropertyError(FPropName);
        TObject* value = p->PropType->Kind == tkClass && p->GetObj ? p->GetObj(target) : nullptr;
        if (!value || !value->Is<TPersistent>()) {
          SkipValue();
          ReadError(SInvalidPropertyPath);
        }
        target = static_cast<TPersistent*>(value);
        start = dot + 1;
      }
      if (PPropInfo p = GetPropInfo(target, FPropName)) {
        ReadPropValue(target, p);
      } else {
        // A value the class streams itself; a failure inside cannot be skipped reliably.
        FCanHandleExcepts = false;
        target->DefineProperties(this);
        FCanHandleExcepts = true;
        if (!FPropName.empty()) PropertyError(FPropName);
      }
    } catch (const Exception& e) {
      std::string name;
      if (auto* c = Cast<TComponent>(instance)) name = c->GetName();
      if (name.empty()) name = instance->ClassName();
      throw EReadError(Format(SPropertyException, name, path, e.Message()));
    }
  } catch (const Exception& e) {
    if (!FCanHandleExcepts || !Error(e.Message())) throw;
  }
}

void TReader::ReadPropValue(TPersistent* instance, PPropInfo prop) {
  if (!prop->HasSetter() && !(prop->PropType->Kind == tkClass && NextValue() == vaCollection))
    ReadError(SReadOnlyProperty);
  PTypeInfo type = prop->PropType;
  switch (type->Kind) {
    case tkInteger:
      if (NextValue() == vaIdent) {
        std::string ident = ReadIdent();
        int32_t v;
        TIdentToInt toInt = FindIdentToInt(type);
        if (!toInt || !toInt(ident, v)) ReadError(SInvalidPropertyValue);
        SetOrdProp(instance, prop, v);
      } else {
        SetOrdProp(instance, prop, ReadInt64());
      }
      break;
    case tkChar: SetOrdProp(instance, prop, static_cast<uint8_t>(ReadChar())); break;
    case tkEnumeration: {
      int v = GetEnumValue(type, ReadIdent());
      if (v < 0) ReadError(SInvalidPropertyValue);
      SetOrdProp(instance, prop, v);
      break;
    }
    case tkFloat: SetFloatProp(instance, prop, ReadFloat()); break;
    case tkString:
    case tkLString:
    case tkWString: SetStrProp(instance, prop, ReadString()); break;
    case tkSet: SetOrdProp(instance, prop, ReadSet(type)); break;
    case tkClass:
      switch (NextValue()) {
        case vaNil:
          ReadValue();
          SetObjectProp(instance, prop, nullptr);
          break;
        case vaCollection: {
          ReadValue();
          auto* c = Cast<TCollection>(GetObjectProp(instance, prop));
          if (!c) {
            SetPosition(Position() - 1);
            SkipValue();
            ReadError(SInvalidPropertyValue);
          }
          ReadCollection(c);
          break;
        }
        default: {
          std::string ident = ReadIdent();
          if (!type->ClassType || !type->ClassType->InheritsFrom(TComponent::StaticClass()))
            ReadError(SInvalidPropertyValue);
          if (FFixups) FFixups->push_back({instance, prop, ident});
          break;
        }
      }
      break;
    case tkMethod:
      if (NextValue() == vaNil) {
        ReadValue();
        SetMethodProp(instance, prop, TMethod());
      } else {
        std::string name = ReadIdent();
        if (OnBindMethod && OnBindMethod(instance, prop, name)) break;
        TMethod m;
        m.Code = FindMethod(Root, name);
        m.Data = Root;
        if (m.Code) SetMethodProp(instance, prop, m);
      }
      break;
    default: SkipValue(); ReadError(Format(SInvalidPropertyType, type->Name));
  }
}

void TReader::ReadCollection(TCollection* c) {
  TReaderDepth depth(this);
  c->BeginUpdate();
  try {
    if (!EndOfList()) c->Clear();
    while (!EndOfList()) {
      TValueType next = NextValue();
      if (next == vaInt8 || next == vaInt16 || next == vaInt32) ReadInteger();
      TCollectionItem* item = c->Add();
      ReadListBegin();
      while (!EndOfList()) ReadProperty(item);
      ReadListEnd();
    }
    ReadListEnd();
  } catch (...) {
    c->EndUpdate();
    throw;
  }
  c->EndUpdate();
}

void TReader::FixupReferences() {
  if (!FFixups) return;
  for (auto& f : *FFixups) {
    // "Name", "Owner.Name" or "Form.Name": found in the root, else among global components.
    std::string_view rest = f.Name;
    TComponent* c = nullptr;
    size_t dot = rest.find('.');
    std::string first(rest.substr(0, dot));
    if (Root && SameText(Root->GetName(), first)) c = Root;
    else if (Root && (c = Root->FindComponent(first)) != nullptr) {
    } else if (FindGlobalComponent) {
      c = FindGlobalComponent(first);
    }
    while (c && dot != std::string_view::npos) {
      rest = rest.substr(dot + 1);
      dot = rest.find('.');
      std::string part(rest.substr(0, dot));
      c = SameText(part, "Owner") ? c->Owner() : c->FindComponent(part);
    }
    // A reference to a component that is not there stays nil, as it would in the VCL until
    // the other form loads.
    if (c && (!f.Prop->PropType->ClassType || c->InheritsFrom(f.Prop->PropType->ClassType)))
      SetObjectProp(f.Instance, f.Prop, c);
  }
  FFixups->clear();
}

void TReader::ReadData(TComponent* instance) {
  if (FFixups) return ReadDataInner(instance);
  std::vector<Fixup> fixups;
  FFixups = &fixups;
  try {
    ReadDataInner(instance);
    FixupReferences();
  } catch (...) {
    FFixups = nullptr;
    throw;
  }
  FFixups = nullptr;
}

void TReader::ReadDataInner(TComponent* instance) {
  while (!EndOfList()) ReadProperty(instance);
  ReadListEnd();
  TComponent* oldParent = Parent;
  TComponent* oldOwner = Owner;
  Parent = instance->GetChildParent();
  Owner = instance->GetChildOwner();
  if (!Owner) Owner = Root;
  try {
    while (!EndOfList()) ReadComponent(nullptr);
    ReadListEnd();
  } catch (...) {
    Parent = oldParent;
    Owner = oldOwner;
    throw;
  }
  Parent = oldParent;
  Owner = oldOwner;
}

TComponent* TReader::ReadComponent(TComponent* component) {
  TReaderDepth depth(this);
  CountComponent();
  uint8_t flags;
  int childPos;
  ReadPrefix(flags, childPos);
  std::string className = ReadStr();
  std::string compName = ReadStr();
  TComponent* result = component;
  bool created = false;
  if (!result) {
    try {
      if (flags & ffInherited) {
        TComponent* owner = Owner ? Owner : Root;
        result = owner ? owner->FindComponent(compName) : nullptr;
        if (!result) throw EReadError(Format(SAncestorNotFound, compName));
      } else {
        TClass cls = FindComponentClass(className);
        TComponent* made = nullptr;
        if (OnCreateComponent) OnCreateComponent(this, cls, made);
        if (!made) made = static_cast<TComponent*>(cls->Create(Owner));
        result = made;
        created = true;
        result->Loading();
        std::string name = compName;
        if (OnSetName) OnSetName(this, result, name);
        result->SetName(name);
      }
    } catch (const Exception& e) {
      if (created) delete result;
      SkipComponent(false);
      if (!Error(e.Message())) throw;
      return nullptr;
    }
  }
  try {
    result->Loading();
    result->SetReading(true);
    if (Parent && result != Parent) result->SetParentComponent(Parent);
    result->ReadState(this);
    result->SetReading(false);
    if ((flags & ffChildPos) && Parent) Parent->SetChildOrder(result, childPos);
    if (FLoaded && created) FLoaded->push_back(result);
  } catch (...) {
    if (created) delete result;
    throw;
  }
  return result;
}

TComponent* TReader::ReadRootComponent(TComponent* root) {
  TReaderDepth depth(this);  // the root is a level too, as the text form counts it
  CountComponent();
  ReadSignature();
  uint8_t flags;
  int childPos;
  ReadPrefix(flags, childPos);
  TComponent* result = root;
  bool created = false;
  std::string className = ReadStr();
  std::string name = ReadStr();
  try {
    if (!result) {
      result = static_cast<TComponent*>(FindComponentClass(className)->Create(nullptr));
      created = true;
      result->SetName(name);
    } else if (!result->InState(csDesigning)) {
      result->Loading();
      result->SetReading(true);
      Root = result;
      result->SetName(FindUniqueName(name));
    }
    Root = result;
    LookupRoot = result;
    std::vector<TComponent*> loaded{result};
    FLoaded = &loaded;
    Owner = result;
    result->Loading();
    result->SetReading(true);
    result->ReadState(this);
    result->SetReading(false);
    FLoaded = nullptr;
    CallLoaded(loaded);
  } catch (...) {
    FLoaded = nullptr;
    if (created) delete result;
    throw;
  }
  return result;
}

void TReader::ReadComponents(TComponent* owner, TComponent* parent, const TGetChildProc& proc) {
  Root = owner;
  LookupRoot = owner;
  Owner = owner;
  Parent = parent;
  std::vector<TComponent*> loaded;
  FLoaded = &loaded;
  std::vector<Fixup> fixups;
  FFixups = &fixups;
  try {
    while (!EndOfList()) {
      ReadSignature();
      TComponent* c = ReadComponent(nullptr);
      if (c && proc) proc(c);
    }
    ReadListEnd();
    FixupReferences();
  } catch (...) {
    FLoaded = nullptr;
    FFixups = nullptr;
    throw;
  }
  FLoaded = nullptr;
  FFixups = nullptr;
  CallLoaded(loaded);
}

// A component that fails to finish loading (a dataset whose database is not there) is one more
// problem for OnError; the components after it still finish theirs. Their Loaded calls are
// bracketed, so that a parent realigns once after all its children rather than after each.
// The brackets close last read first: a parent's realigning may free children it made (a tab
// set rebuilding its pages), which by then are done with theirs.
void TReader::CallLoaded(const std::vector<TComponent*>& loaded) {
  for (TComponent* c : loaded) c->BeginLoadedCalls();
  size_t open = loaded.size();  // brackets still open: loaded[0, open)
  auto each = [&](TComponent* c, void (TComponent::*step)()) {
    try {
      (c->*step)();
    } catch (const Exception& e) {
      Parent = c;
      if (!Error(e.Message())) throw;
    }
  };
  try {
    for (TComponent* c : loaded) each(c, &TComponent::Loaded);
    while (open > 0) {
      --open;
      each(loaded[open], &TComponent::EndLoadedCalls);
    }
  } catch (...) {
    // The failure OnError refused is the one to report; the other brackets still close.
    while (open > 0) {
      try {
        loaded[--open]->EndLoadedCalls();
      } catch (...) {}
    }
    throw;
  }
}

std::string ReaderComponentPath(TReader* r, TComponent* root) {
  std::string path;
  for (TComponent* c = r->Parent; c && c != root; c = c->GetParentComponent())
    path = (c->GetName().empty() ? c->ClassName() : c->GetName()) + (path.empty() ? "" : "." + path);
  std::string rootName = root->GetName().empty() ? root->ClassName() : root->GetName();
  return path.empty() ? rootName : rootName + "." + path;
}

// =============================================================================================
// TWriter

TWriter::TWriter(TStream* stream, int bufSize) : TFiler(stream, bufSize) {}

TWriter::~TWriter() {
  try {
    FlushBuffer();
  } catch (...) {
    // A destructor cannot report; callers that care flush explicitly first.
  }
}

void TWriter::FlushBuffer() {
  if (FBufPos == 0) return;
  int n = FBufPos;
  FBufPos = 0;
  FStream->WriteBuffer(FBuffer.data(), n);
}

int64_t TWriter::Position() const { return FStream->GetPosition() + FBufPos; }

void TWriter::Write(const void* buf, int64_t count) {
  const auto* in = static_cast<const uint8_t*>(buf);
  while (count > 0) {
    if (FBufPos == static_cast<int>(FBuffer.size())) FlushBuffer();
    int n = static_cast<int>(std::min<int64_t>(count, static_cast<int64_t>(FBuffer.size()) - FBufPos));
    std::memcpy(FBuffer.data() + FBufPos, in, n);
    FBufPos += n;
    in += n;
    count -= n;
  }
}

void TWriter::WriteSignature() { Write(kSignature, 4); }

void TWriter::WritePrefix(uint8_t flags, int childPos) {
  if (!flags) return;
  uint8_t b = 0xF0 | (flags & 0x0F);
  Write(&b, 1);
  if (flags & ffChildPos) WriteInteger(childPos);
}

void TWriter::WriteValue(TValueType v) {
  uint8_t b = v;
  Write(&b, 1);
}

void TWriter::WriteListBegin() { WriteValue(vaList); }
void TWriter::WriteListEnd() { WriteValue(vaNull); }

void TWriter::WriteInteger(int64_t v) {
  if (v >= INT8_MIN && v <= INT8_MAX) {
    WriteValue(vaInt8);
    int8_t b = static_cast<int8_t>(v);
    Write(&b, 1);
  } else if (v >= INT16_MIN && v <= INT16_MAX) {
    WriteValue(vaInt16);
    int16_t w = static_cast<int16_t>(v);
    Write(&w, 2);
  } else if (v >= INT32_MIN && v <= INT32_MAX) {
    WriteValue(vaInt32);
    int32_t d = static_cast<int32_t>(v);
    Write(&d, 4);
  } else {
    WriteValue(vaInt64);
    Write(&v, 8);
  }
}

void TWriter::WriteChar(char c) { WriteString(std::string(1, c)); }

void TWriter::WriteFloat(long double v) {
  WriteValue(vaExtended);
  Write(&v, 10);
}

void TWriter::WriteSingle(float v) {
  WriteValue(vaSingle);
  Write(&v, 4);
}

void TWriter::WriteCurrency(int64_t scaled) {
  WriteValue(vaCurrency);
  Write(&scaled, 8);
}

void TWriter::WriteDate(double v) {
  WriteValue(vaDate);
  Write(&v, 8);
}

void TWriter::WriteString(const std::string& s) {
  std::string ansi;
  if (!TryUtf8ToAnsi(s, ansi)) return WriteWideString(Utf8ToUtf16(s));
  if (ansi.size() <= 255) {
    WriteValue(vaString);
    WriteRawStr(ansi);
  } else {
    WriteValue(vaLString);
    uint32_t len = static_cast<uint32_t>(ansi.size());
    Write(&len, 4);
    Write(ansi.data(), len);
  }
}

void TWriter::WriteWideString(const std::u16string& s) {
  WriteValue(vaWString);
  uint32_t len = static_cast<uint32_t>(s.size());
  Write(&len, 4);
  Write(s.data(), static_cast<int64_t>(len) * 2);
}

void TWriter::WriteIdent(const std::string& ident) {
  if (SameText(ident, "False")) WriteValue(vaFalse);
  else if (SameText(ident, "True")) WriteValue(vaTrue);
  else if (SameText(ident, "nil")) WriteValue(vaNil);
  else if (SameText(ident, "Null")) WriteValue(vaNull);
  else {
    WriteValue(vaIdent);
    WriteStr(ident);
  }
}

void TWriter::WriteBoolean(bool v) { WriteValue(v ? vaTrue : vaFalse); }

// Names travel as short strings: one that cannot be written whole is refused, never cut.
void TWriter::WriteRawStr(std::string_view bytes) {
  if (bytes.size() > 255) throw EWriteError(Format(SNameTooLong, bytes.substr(0, 64)));
  uint8_t len = static_cast<uint8_t>(bytes.size());
  Write(&len, 1);
  Write(bytes.data(), len);
}

void TWriter::WriteStr(const std::string& s) {
  std::string ansi;
  if (!TryUtf8ToAnsi(s, ansi)) throw EWriteError(Format(SInvalidName, s));
  WriteRawStr(ansi);
}

void TWriter::WriteSet(PTypeInfo setType, uint32_t value) {
  WriteValue(vaSet);
  for (int i = 0; i < 32; ++i)
    if (value & (1u << i)) WriteStr(GetEnumName(setType->CompType, i));
  WriteStr("");
}

void TWriter::WriteRootComponent(TComponent* root) {
  Root = root;
  LookupRoot = root;
  Ancestor = nullptr;
  WriteSignature();
  WriteComponent(root);
}

void TWriter::WriteComponent(TComponent* component) {
  component->SetWriting(true);
  try {
    component->WriteState(this);
  } catch (...) {
    component->SetWriting(false);
    throw;
  }
  component->SetWriting(false);
}

void TWriter::WriteData(TComponent* instance) {
  WritePrefix(instance->InState(csInline) ? ffInline : 0, 0);
  WriteStr(instance->ClassName());
  WriteStr(instance->GetName());
  WriteProperties(instance);
  WriteListEnd();
  instance->GetChildren([this](TComponent* c) { WriteComponent(c); }, Root);
  WriteListEnd();
}

void TWriter::WriteProperties(TPersistent* instance) {
  for (PPropInfo p : instance->ClassType()->Properties())
    if (IsStoredProp(instance, p)) WriteProperty(instance, p);
  instance->DefineProperties(this);
}

void TWriter::WritePropName(const std::string& name) { WriteStr(FPropPath + name); }

std::string TWriter::ComponentReference(TComponent* c) const {
  if (c->Owner() == LookupRoot) return c->GetName();
  if (c == LookupRoot) return "Owner";
  if (c->Owner() && !c->Owner()->GetName().empty() && !c->GetName().empty())
    return c->Owner()->GetName() + "." + c->GetName();
  if (!c->GetName().empty()) return c->GetName() + ".Owner";
  return "";
}

void TWriter::WriteProperty(TPersistent* instance, PPropInfo prop) {
  if (!prop->HasSetter() || !prop->HasGetter()) return;
  PTypeInfo type = prop->PropType;
  switch (type->Kind) {
    case tkInteger:
    case tkChar:
    case tkEnumeration:
    case tkSet: {
      int64_t v = GetOrdProp(instance, prop);
      if (prop->Default != NoDefault && v == prop->Default) return;
      // Sets and small ordinals store their default as the low 32 bits.
      if (prop->Default != NoDefault && type->Kind == tkSet &&
          static_cast<uint32_t>(v) == static_cast<uint32_t>(prop->Default))
        return;
      WritePropName(prop->Name);
      switch (type->Kind) {
        case tkInteger: {
          std::string ident;
          TIntToIdent toIdent = FindIntToIdent(type);
          if (toIdent && v >= INT32_MIN && v <= INT32_MAX && toIdent(static_cast<int32_t>(v), ident)) WriteIdent(ident);
          else WriteInteger(v);
          break;
        }
        case tkChar: WriteChar(static_cast<char>(v)); break;
        case tkEnumeration: WriteIdent(GetEnumName(type, static_cast<int>(v))); break;
        default: WriteSet(type, static_cast<uint32_t>(v)); break;
      }
      break;
    }
    case tkFloat: {
      long double v = GetFloatProp(instance, prop);
      if (v == 0) return;
      WritePropName(prop->Name);
      switch (type->FloatType) {
        case ftSingle: WriteSingle(static_cast<float>(v)); break;
        case ftCurr: WriteCurrency(static_cast<int64_t>(v * 10000)); break;
        default:
          if (type->Name == "TDateTime") WriteDate(static_cast<double>(v));
          else WriteFloat(v);
      }
      break;
    }
    case tkString:
    case tkLString:
    case tkWString: {
      std::string v = GetStrProp(instance, prop);
      if (v.empty()) return;
      WritePropName(prop->Name);
      WriteString(v);
      break;
    }
    case tkMethod: {
      TMethod m = GetMethodProp(instance, prop);
      if (!m.Code) return;  // closures bound in code are not part of a form
      WritePropName(prop->Name);
      WriteIdent(m.Code->Name);
      break;
    }
    case tkClass: {
      TObject* v = GetObjectProp(instance, prop);
      if (!v) return;
      if (auto* c = Cast<TComponent>(v)) {
        std::string ref = ComponentReference(c);
        if (ref.empty()) return;
        WritePropName(prop->Name);
        WriteIdent(ref);
      } else if (auto* coll = Cast<TCollection>(v)) {
        if (coll->Count() == 0) return;
        WritePropName(prop->Name);
        WriteCollection(coll);
      } else if (auto* p = Cast<TPersistent>(v)) {
        std::string saved = FPropPath;
        FPropPath += prop->Name + ".";
        WriteProperties(p);
        FPropPath = saved;
      }
      break;
    }
    default: break;
  }
}

void TWriter::WriteCollection(TCollection* c) {
  WriteValue(vaCollection);
  std::string saved = FPropPath;
  FPropPath.clear();
  for (int i = 0; i < c->Count(); ++i) {
    WriteListBegin();
    WriteProperties(c->Items(i));
    WriteListEnd();
  }
  FPropPath = saved;
  WriteListEnd();
}

void TWriter::DefineProperty(const std::string& name, const TReaderProc&, const TWriterProc& writeData, bool hasData) {
  if (!hasData || !writeData) return;
  WritePropName(name);
  writeData(this);
}

void TWriter::DefineBinaryProperty(const std::string& name, const TStreamProc&, const TStreamProc& writeData,
                                   bool hasData) {
  if (!hasData || !writeData) return;
  WritePropName(name);
  TMemoryStream data;
  writeData(&data);
  WriteValue(vaBinary);
  uint32_t len = static_cast<uint32_t>(data.GetSize());
  Write(&len, 4);
  Write(data.Memory(), len);
}
