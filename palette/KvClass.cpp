#include "KvClass.h"

#include <cstring>
#include <memory>

#include "Consts.h"
#include "Forms.h"

KV_IMPLEMENT_CLASS(TD80Class, "KvClass") {}
KV_IMPLEMENT_CLASS(TKvIcon, "KvClass") {}
KV_IMPLEMENT_CLASS(TKvSpeedButton, "KvClass") {}
KV_IMPLEMENT_CLASS(TKvDragField, "KvClass") {}

TStringList* RegisteredPages = nullptr;
int32_t RegisteredComponentCount = 0;
TList* NoIconClasses = nullptr;
TStringList* ComponentBitmaps = nullptr;
TBitmap* DefaultBitmap = nullptr;

namespace {
constexpr const char* KvClassSNotAComponentClass = "Only component classes can be registered";
constexpr const char* KvClassSRegistryExists = "The component registry exists already";
constexpr const char* KvClassUnknownBitmap = "KVUNKNOWN";

TD80Class* KvClassHolder = nullptr;

// TList keeps untyped pointers; class records are constant.
void* KvClassItem(TClass c) { return const_cast<TClassInfo*>(c); }

// Checked before anything is registered, so a bad array leaves the registry as it was.
void KvClassCheckComponentClasses(const TComponentClasses& classes) {
  for (TClass c : classes)
    if (!c || !c->InheritsFrom(TComponent::StaticClass())) throw EComponentError(KvClassSNotAComponentClass);
}
}  // namespace

// =============================================================================================
// The holder
TD80Class::TD80Class(TComponent* AOwner) : TComponent(AOwner) {
  if (KvClassHolder) throw EComponentError(KvClassSRegistryExists);
  KvClassHolder = this;
  DefaultBitmap = new TBitmap;
  ComponentBitmaps = new TStringList;
  ComponentBitmaps->OwnsObjects = true;
  NoIconClasses = new TList;
  RegisteredPages = new TStringList;
  RegisteredPages->OwnsObjects = true;
  RegisteredComponentCount = 0;
  // Another environment's handler stays: then nothing registers here (no chaining).
  if (!RegisterComponentsProc) {
    RegisterComponentsProc = KRegisterComponents;
    RegisterNoIconProc = KRegisterNoIconProc;
  }
}

TD80Class::~TD80Class() {
  // A registration after this point gets the library's "not available" error rather than
  // writing into freed lists.
  if (RegisterComponentsProc == KRegisterComponents) RegisterComponentsProc = nullptr;
  if (RegisterNoIconProc == KRegisterNoIconProc) RegisterNoIconProc = nullptr;
  delete RegisteredPages;
  RegisteredPages = nullptr;
  delete NoIconClasses;
  NoIconClasses = nullptr;
  delete ComponentBitmaps;
  ComponentBitmaps = nullptr;
  delete DefaultBitmap;
  DefaultBitmap = nullptr;
  KvClassHolder = nullptr;
}

namespace {
// The unit's start-up and shut-down: the registry lives from the library's load until the
// process ends. It has no owner: the application object is made by another unit's start-up,
// whose order relative to this one is not fixed (the unity build even links the units in
// reverse), and that object lives until the process ends anyway.
struct TKvClassUnit {
  TKvClassUnit() { new TD80Class(nullptr); }
  ~TKvClassUnit() {
    if (KvClassHolder && !KvClassHolder->InState(csDestroying)) delete KvClassHolder;
  }
} KvClassUnit;
}  // namespace

// =============================================================================================
// Registration
void KRegisterComponents(const std::string& Page, const TComponentClasses& ComponentClasses) {
  KvClassCheckComponentClasses(ComponentClasses);
  for (TClass c : ComponentClasses) {
    RegisterClass(c);
    if (Page.empty()) continue;
    int page = RegisteredPages->IndexOf(Page);
    if (page < 0) page = RegisteredPages->AddObject(Page, new TList);
    auto* classes = static_cast<TList*>(RegisteredPages->GetObject(page));
    if (classes->IndexOf(c) >= 0) continue;
    classes->Add(KvClassItem(c));
    ++RegisteredComponentCount;
  }
}

void KRegisterNoIconProc(const TComponentClasses& ComponentClasses) {
  KvClassCheckComponentClasses(ComponentClasses);
  for (TClass c : ComponentClasses) {
    if (NoIconClasses->IndexOf(c) >= 0) continue;
    NoIconClasses->Add(KvClassItem(c));
    RegisterClass(c);
  }
}

bool IsNoIcon(const TComponent* AComponent) {
  if (!AComponent) return false;
  for (int i = 0; i < NoIconClasses->Count(); ++i)
    if (AComponent->InheritsFrom(ClassItem(NoIconClasses, i))) return true;
  return false;
}

// =============================================================================================
// Palette bitmaps
TBitmap* GetComponentBitmapByName(const std::string& Name) {
  int i = ComponentBitmaps->IndexOf(UpperCase(Name));
  if (i < 0) i = ComponentBitmaps->IndexOf(KvClassUnknownBitmap);
  return i < 0 ? nullptr : static_cast<TBitmap*>(ComponentBitmaps->GetObject(i));
}

TBitmap* GetComponentBitmap(TClass AClass) {
  int i = -1;
  for (TClass c = AClass; c && i < 0; c = c->Parent) i = ComponentBitmaps->IndexOf(UpperCase(c->Name));
  if (i < 0) i = ComponentBitmaps->IndexOf(KvClassUnknownBitmap);
  return i < 0 ? DefaultBitmap : static_cast<TBitmap*>(ComponentBitmaps->GetObject(i));
}

namespace {
// One entry of a 32-bit resource file: the header (data size, header size, type, name, then
// fixed fields) and the data, padded to a 4-byte boundary. Types and names are either an
// ordinal (0xFFFF, number) or a zero-terminated 16-bit string.
struct TKvClassResEntry {
  int Type = -1;       // the ordinal type; -1 for a type given by name
  bool Named = false;  // the entry has a name that is a string, not empty
  std::string Name;
  size_t DataAt = 0;
  size_t DataSize = 0;
  size_t Next = 0;
};

constexpr uint16_t KvClassRtBitmap = 2;

// Bounds-checked little-endian reads over the memory copy of a resource file.
class TKvClassResReader {
 public:
  TKvClassResReader(const uint8_t* data, size_t size) : FData(data), FSize(size) {}

  TKvClassResEntry Entry(size_t at) const {
    TKvClassResEntry e;
    if (FSize - at < 8) Truncated();
    e.DataSize = U32(at);
    const size_t headerSize = U32(at + 4);
    if (headerSize > FSize - at) Truncated();
    if (headerSize < 8) throw EReadError(SInvalidImage);
    const size_t headerEnd = at + headerSize;
    std::string typeName;
    size_t p = Id(at + 8, headerEnd, e.Type, typeName);
    int nameOrdinal = 0;
    Id(p, headerEnd, nameOrdinal, e.Name);
    e.Named = nameOrdinal < 0 && !e.Name.empty();
    if (e.DataSize > FSize - headerEnd) Truncated();
    e.DataAt = headerEnd;
    e.Next = (headerEnd + e.DataSize + 3) & ~size_t(3);
    return e;
  }

 private:
  uint16_t U16(size_t at) const { return static_cast<uint16_t>(FData[at] | FData[at + 1] << 8); }
  uint32_t U32(size_t at) const { return U16(at) | static_cast<uint32_t>(U16(at + 2)) << 16; }
  [[noreturn]] void Truncated() const { throw EReadError(Format(SStreamTruncated, FSize)); }

  // Reads a type or name inside [at, end): ordinal >= 0 for a numbered one, -1 and the name
  // for a named one. Answers the position after it.
  size_t Id(size_t at, size_t end, int& ordinal, std::string& name) const {
    if (end - at < 2) throw EReadError(SInvalidImage);
    if (U16(at) == 0xFFFF) {
      if (end - at < 4) throw EReadError(SInvalidImage);
      ordinal = U16(at + 2);
      return at + 4;
    }
    std::u16string chars;
    for (;; at += 2) {
      if (end - at < 2) throw EReadError(SInvalidImage);  // no terminator inside the header
      if (char16_t c = U16(at)) chars += c;
      else break;
    }
    ordinal = -1;
    name = Utf16ToUtf8(chars);
    return at + 2;
  }

  const uint8_t* FData;
  size_t FSize;
};

// Loads the DIB of a bitmap resource (it has no file header) and files it under name.
void KvClassAddBitmap(const std::string& name, const uint8_t* dib, size_t size) {
  TMemoryStream file;
  const uint32_t fileSize = static_cast<uint32_t>(14 + size);
  const uint32_t zero = 0;
  file.WriteBuffer("BM", 2);
  file.WriteBuffer(&fileSize, 4);
  file.WriteBuffer(&zero, 4);
  file.WriteBuffer(&zero, 4);  // bits offset 0: the bits follow the colour table
  file.WriteBuffer(dib, static_cast<int64_t>(size));
  file.SetPosition(0);
  auto bitmap = std::make_unique<TBitmap>();
  bitmap->LoadFromStream(&file);
  int old = ComponentBitmaps->IndexOf(name);
  if (old >= 0) ComponentBitmaps->Delete(old);
  ComponentBitmaps->AddObject(name, bitmap.release());
}
}  // namespace

void ReadDCRFile(const std::string& FileName) {
  TMemoryStream file;
  file.LoadFromFile(FileName);
  const uint8_t* data = file.Memory();
  const size_t size = file.Bytes().size();
  // Every 32-bit resource file starts with an empty entry of this header; a 16-bit one (of
  // Delphi 1) starts with its first resource instead.
  static constexpr uint8_t lead[16] = {0, 0, 0, 0, 0x20, 0, 0, 0, 0xFF, 0xFF, 0, 0, 0xFF, 0xFF, 0, 0};
  if (size < 32 || std::memcmp(data, lead, sizeof lead) != 0) throw EReadError(SInvalidImage);
  TKvClassResReader reader(data, size);
  for (size_t at = 32; at < size;) {
    TKvClassResEntry e = reader.Entry(at);
    // A bitmap named by number cannot be a class's.
    if (e.Type == KvClassRtBitmap && e.Named) KvClassAddBitmap(e.Name, data + e.DataAt, e.DataSize);
    at = e.Next;
  }
}

// =============================================================================================
// TKvIcon
void TKvIcon::SetComponent(TComponent* AComponent) {
  if (FComponent && FComponent != AComponent) FComponent->RemoveFreeNotification(this);
  FComponent = AComponent;
  if (!AComponent) return;
  AComponent->FreeNotification(this);
  const auto info = static_cast<uint32_t>(AComponent->GetDesignInfo());
  SetBounds(static_cast<int16_t>(info & 0xFFFF), static_cast<int16_t>(info >> 16), Size, Size);
}

void TKvIcon::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  (void)AWidth, (void)AHeight;
  if (FComponent)
    FComponent->SetDesignInfo(
        static_cast<int32_t>(static_cast<uint16_t>(ALeft) | static_cast<uint32_t>(static_cast<uint16_t>(ATop)) << 16));
  inherited::SetBounds(ALeft, ATop, Size, Size);
}

void TKvIcon::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FComponent) FComponent = nullptr;
}

// =============================================================================================
// TKvSpeedButton
TKvSpeedButton::TKvSpeedButton(TComponent* AOwner) : TSpeedButton(AOwner) { ControlStyle.Include(csNoDesignVisible); }

TKvSpeedButton::~TKvSpeedButton() {
  if (ButtonList) ButtonList->Remove(this);
  if (OnDestroy) OnDestroy(this);
}

// =============================================================================================
// TKvDragField
TKvDragField::TKvDragField(TControl* AControl) : TDragControlObject(AControl), FieldList(new TList) {}

TKvDragField::~TKvDragField() { delete FieldList; }

// =============================================================================================
// ExistFormInScreen
bool ExistFormInScreen(const std::string& FileName, std::string& FormName) {
  TMemoryStream file, converted;
  file.LoadFromFile(FileName);
  TStream* stream = &file;
  // A binary form file has its resource header (a bare form stream is refused here); anything
  // else is read as a text form file.
  if (StreamHasResourceHeader(&file) || (file.GetSize() >= 4 && std::memcmp(file.Memory(), "TPF0", 4) == 0)) {
    file.ReadResHeader();
  } else {
    ObjectTextToBinary(&file, &converted);
    converted.SetPosition(0);
    stream = &converted;
  }
  {
    TReader reader(stream);
    reader.ReadSignature();
    uint8_t flags;
    int childPos;
    reader.ReadPrefix(flags, childPos);  // an inherited form's root carries one
    reader.ReadStr();                    // the root's class name
    FormName = reader.ReadStr();
  }
  // An unnamed root is no form's name: it must not pick whichever screen form is unnamed.
  if (FormName.empty()) return false;
  for (int i = 0; i < Screen->FormCount(); ++i) {
    TCustomForm* form = Screen->Forms(i);
    if (SameText(form->GetName(), FormName)) {
      form->Show();
      return true;
    }
  }
  return false;
}
