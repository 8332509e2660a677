// Classes: lists, string lists, streams, persistent objects, components, collections, the
// class registry and form streaming (TReader/TWriter, text conversion).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "SysUtils.h"
#include "System.h"
#include "TypInfo.h"

KV_EXCEPTION(EStreamError, Exception);
KV_EXCEPTION(EFCreateError, EStreamError);
KV_EXCEPTION(EFOpenError, EStreamError);
KV_EXCEPTION(EFilerError, EStreamError);
KV_EXCEPTION(EReadError, EFilerError);
KV_EXCEPTION(EWriteError, EFilerError);
KV_EXCEPTION(EClassNotFound, EFilerError);
KV_EXCEPTION(EMethodNotFound, EFilerError);
KV_EXCEPTION(EInvalidImage, EFilerError);
KV_EXCEPTION(EResNotFound, Exception);
KV_EXCEPTION(EListError, Exception);
KV_EXCEPTION(EStringListError, Exception);
KV_EXCEPTION(EComponentError, Exception);
KV_EXCEPTION(EParserError, Exception);
KV_EXCEPTION(EInvalidOperation, Exception);

class TPersistent;
class TComponent;
class TFiler;
class TReader;
class TWriter;
class TStream;

// ---------------------------------------------------------------------------------------------
// TList: an ordered list of pointers.
class TList : public TObject {
  KV_CLASS(TList, TObject)
 public:
  int Count() const { return static_cast<int>(FItems.size()); }
  void* Get(int i) const;
  void Put(int i, void* p);
  void* operator[](int i) const { return Get(i); }
  int Add(void* p);
  void Insert(int i, void* p);
  void Delete(int i);
  int Remove(void* p);
  int IndexOf(const void* p) const;
  void Move(int from, int to);
  void Exchange(int a, int b);
  void Clear() { FItems.clear(); }
  void* First() const { return Get(0); }
  void* Last() const { return Get(Count() - 1); }
  std::vector<void*>& Items() { return FItems; }

 private:
  std::vector<void*> FItems;
};

// ---------------------------------------------------------------------------------------------
// Streams.
enum TSeekOrigin { soBeginning, soCurrent, soEnd };

class TStream : public TObject {
  KV_CLASS(TStream, TObject)
 public:
  virtual int64_t Read(void* buffer, int64_t count) = 0;
  virtual int64_t Write(const void* buffer, int64_t count) = 0;
  virtual int64_t Seek(int64_t offset, TSeekOrigin origin) = 0;
  virtual void SetSize(int64_t size);

  int64_t GetPosition() { return Seek(0, soCurrent); }
  void SetPosition(int64_t p) { Seek(p, soBeginning); }
  int64_t GetSize();
  void ReadBuffer(void* buffer, int64_t count);         // EReadError when short
  void WriteBuffer(const void* buffer, int64_t count);  // EWriteError when short
  int64_t CopyFrom(TStream* source, int64_t count);     // count 0: the whole source

  // The 16-bit resource header that frames a form file (0xFF, type 10, name, 0x1030, size).
  void ReadResHeader();  // EInvalidImage on anything else
  // Writes a header with a size placeholder; returns where the data starts.
  int64_t WriteResourceHeader(const std::string& resName);
  // Patches the size of the header written by WriteResourceHeader.
  void FixupResourceHeader(int64_t dataStart);

  // Components as bare form streams and as resource-framed form files.
  void WriteComponent(TComponent* instance);
  void WriteComponentRes(const std::string& resName, TComponent* instance);
  TComponent* ReadComponent(TComponent* instance);
  TComponent* ReadComponentRes(TComponent* instance);
};

class TMemoryStream : public TStream {
  KV_CLASS(TMemoryStream, TStream)
 public:
  int64_t Read(void* buffer, int64_t count) override;
  int64_t Write(const void* buffer, int64_t count) override;
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  void SetSize(int64_t size) override;
  void Clear();
  void LoadFromStream(TStream* s);
  void LoadFromFile(const std::string& fileName);
  void SaveToStream(TStream* s);
  void SaveToFile(const std::string& fileName);
  uint8_t* Memory() { return FData.data(); }
  const uint8_t* Memory() const { return FData.data(); }
  std::vector<uint8_t>& Bytes() { return FData; }

 private:
  std::vector<uint8_t> FData;
  int64_t FPosition = 0;
};

// Open modes: fmCreate, or fmOpenRead / fmOpenWrite / fmOpenReadWrite (share flags accepted).
constexpr uint16_t fmCreate = 0xFFFF;
constexpr uint16_t fmOpenRead = 0x0000;
constexpr uint16_t fmOpenWrite = 0x0001;
constexpr uint16_t fmOpenReadWrite = 0x0002;
constexpr uint16_t fmShareExclusive = 0x0010;
constexpr uint16_t fmShareDenyWrite = 0x0020;
constexpr uint16_t fmShareDenyNone = 0x0040;

class TFileStream : public TStream {
  KV_CLASS(TFileStream, TStream)
 public:
  TFileStream(const std::string& fileName, uint16_t mode);  // EFOpenError / EFCreateError
  ~TFileStream() override;
  int64_t Read(void* buffer, int64_t count) override;
  int64_t Write(const void* buffer, int64_t count) override;
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  void SetSize(int64_t size) override;
  const std::string& FileName() const { return FFileName; }

 private:
  std::string FFileName;
  int FHandle = -1;
};

// Reads a whole file; EFOpenError when it cannot be opened.
std::string ReadFileBytes(const std::string& fileName);

// Writes a file so that the target is either the old or the complete new content: the data
// goes to a temporary file in the same folder, which replaces the target only when complete.
void WriteFileAtomic(const std::string& fileName, std::string_view data);  // EFCreateError

// ---------------------------------------------------------------------------------------------
// TPersistent
class TPersistent : public TObject {
  KV_CLASS(TPersistent, TObject)
 public:
  virtual void Assign(TPersistent* source);
  virtual std::string GetNamePath() const;
  virtual void DefineProperties(TFiler* filer);
  virtual TPersistent* GetOwner() const { return nullptr; }

 protected:
  virtual void AssignTo(TPersistent* dest);
  [[noreturn]] void AssignError(TPersistent* source);
};

// ---------------------------------------------------------------------------------------------
// String lists.
KV_ENUM(TDuplicates, dupIgnore, dupAccept, dupError)

class TStrings : public TPersistent {
  KV_CLASS(TStrings, TPersistent)
 public:
  virtual int Count() const = 0;
  virtual std::string Get(int i) const = 0;
  virtual void Put(int i, const std::string& s);
  virtual TObject* GetObject(int i) const;
  virtual void PutObject(int i, TObject* o);
  virtual void Insert(int i, const std::string& s) = 0;
  virtual void Delete(int i) = 0;
  virtual void Clear() = 0;
  virtual int Add(const std::string& s);
  virtual int AddObject(const std::string& s, TObject* o);
  virtual int IndexOf(const std::string& s) const;
  virtual void Exchange(int a, int b);
  void Move(int from, int to);
  void InsertObject(int i, const std::string& s, TObject* o);
  int IndexOfName(const std::string& name) const;
  int IndexOfObject(const TObject* o) const;
  std::string Names(int i) const;
  std::string Values(const std::string& name) const;
  void SetValue(const std::string& name, const std::string& value);
  void AddStrings(const TStrings* s);
  void Assign(TPersistent* source) override;
  bool Equals(const TStrings* s) const;
  std::string operator[](int i) const { return Get(i); }

  // Lines joined by CR LF (each line ended by one); SetText splits on CR LF, LF or CR.
  virtual std::string GetText() const;
  virtual void SetText(const std::string& text);
  std::string GetCommaText() const;
  void SetCommaText(const std::string& text);

  void BeginUpdate();
  void EndUpdate();
  int UpdateCount() const { return FUpdateCount; }

  // Text files: lines ended by CR LF; read from UTF-8 (with or without BOM) or the ANSI code page.
  void LoadFromFile(const std::string& fileName);
  void SaveToFile(const std::string& fileName) const;
  void LoadFromStream(TStream* s);
  void SaveToStream(TStream* s) const;

  void DefineProperties(TFiler* filer) override;

 protected:
  virtual void SetUpdateState(bool updating) { (void)updating; }
  [[noreturn]] void Error(const char* msg, int data) const;

 private:
  void ReadData(TReader* r);
  void WriteData(TWriter* w);
  int FUpdateCount = 0;
};

class TStringList : public TStrings {
  KV_CLASS(TStringList, TStrings)
 public:
  TStringList() = default;
  ~TStringList() override;
  int Count() const override { return static_cast<int>(FList.size()); }
  std::string Get(int i) const override;
  void Put(int i, const std::string& s) override;
  TObject* GetObject(int i) const override;
  void PutObject(int i, TObject* o) override;
  void Insert(int i, const std::string& s) override;
  void Delete(int i) override;
  void Clear() override;
  int Add(const std::string& s) override;
  int IndexOf(const std::string& s) const override;
  void Exchange(int a, int b) override;
  // Binary search of a sorted list (ignoring case); index is where s is or would go.
  virtual bool Find(const std::string& s, int& index) const;
  virtual void Sort();
  void CustomSort(const std::function<int(TStringList*, int, int)>& compare);

  bool GetSorted() const { return FSorted; }
  void SetSorted(bool v);
  TDuplicates GetDuplicates() const { return FDuplicates; }
  void SetDuplicates(TDuplicates d) { FDuplicates = d; }
  bool GetCaseSensitive() const { return FCaseSensitive; }
  void SetCaseSensitive(bool v);
  // When set, the list frees its objects when they are removed or the list is destroyed.
  bool OwnsObjects = false;

  TNotifyEvent OnChange;
  TNotifyEvent OnChanging;

 protected:
  void SetUpdateState(bool updating) override;
  virtual void Changed();
  virtual void Changing();
  int CompareStrings(const std::string& a, const std::string& b) const;
  // The object slot of item i, for descendants that keep data of their own there (no change
  // notification).
  TObject*& ObjectSlot(int i);

 private:
  struct Item {
    std::string S;
    TObject* O = nullptr;
  };
  void InsertItem(int i, const std::string& s, TObject* o);
  void CheckIndex(int i) const;
  std::vector<Item> FList;
  bool FSorted = false;
  bool FCaseSensitive = false;
  TDuplicates FDuplicates = dupIgnore;
};

// ---------------------------------------------------------------------------------------------
// Components.
KV_ENUM(TComponentStateFlag, csLoading, csReading, csWriting, csDestroying, csDesigning, csAncestor, csUpdating,
        csFixups, csFreeNotification, csInline, csDesignInstance)
KV_SET(TComponentState, TComponentStateFlag)
KV_ENUM(TOperation, opInsert, opRemove)
KV_ENUM(TAlignment, taLeftJustify, taRightJustify, taCenter)

using TGetChildProc = std::function<void(TComponent*)>;

class TComponent : public TPersistent {
  KV_CLASS(TComponent, TPersistent)
 public:
  explicit TComponent(TComponent* AOwner);
  ~TComponent() override;

  TComponent* GetOwner() const override { return FOwner; }
  TComponent* Owner() const { return FOwner; }
  int ComponentCount() const { return static_cast<int>(FComponents.size()); }
  TComponent* Components(int i) const;
  int GetComponentIndex() const;
  void SetComponentIndex(int i);
  TComponent* FindComponent(std::string_view name) const;
  void InsertComponent(TComponent* c);
  void RemoveComponent(TComponent* c);
  void DestroyComponents();

  const std::string& GetName() const { return FName; }
  virtual void SetName(const std::string& name);
  int GetTag() const { return FTag; }
  void SetTag(int t) { FTag = t; }
  int32_t GetDesignInfo() const { return FDesignInfo; }
  void SetDesignInfo(int32_t v) { FDesignInfo = v; }

  TComponentState ComponentState() const { return FComponentState; }
  bool InState(TComponentStateFlag f) const { return FComponentState.Contains(f); }
  void SetDesigning(bool value, bool setChildren = true);
  void SetAncestor(bool value);
  void Loading() { FComponentState.Include(csLoading); }
  void SetReading(bool value);
  void SetWriting(bool value);
  virtual void Loaded();
  // A reader calls these on each component it read before the first Loaded and after the
  // last: work every child's Loaded would redo on its parent (realigning it) waits for the end,
  // so that loading stays linear in the number of components.
  virtual void BeginLoadedCalls() {}
  virtual void EndLoadedCalls() {}
  // Marks the component as being destroyed and tells those that asked for it. Safe to call
  // early from a derived destructor so that listeners still see the full object.
  void Destroying();

  void FreeNotification(TComponent* c);
  void RemoveFreeNotification(TComponent* c);
  virtual void Notification(TComponent* c, TOperation op);

  std::string GetNamePath() const override;

  // Streaming.
  virtual void ReadState(TReader* reader);
  virtual void WriteState(TWriter* writer);
  void DefineProperties(TFiler* filer) override;
  virtual void GetChildren(const TGetChildProc& proc, TComponent* root);
  virtual TComponent* GetChildOwner() { return nullptr; }
  virtual TComponent* GetChildParent() { return this; }
  virtual void SetChildOrder(TComponent* child, int order);
  virtual bool HasParent() const { return false; }
  virtual TComponent* GetParentComponent() const { return nullptr; }
  virtual void SetParentComponent(TComponent* value) { (void)value; }
  virtual void ValidateRename(TComponent* c, const std::string& curName, const std::string& newName);
  virtual void ValidateContainer(TComponent* c) { (void)c; }
  virtual void ValidateInsert(TComponent* c) { (void)c; }

 protected:
  virtual void ChangeName(const std::string& name) { FName = name; }

 private:
  void Insert(TComponent* c);
  void Remove(TComponent* c);
  // Points the owner's published field of our name at us (or clears it).
  void SetReference(bool enable);
  void ReadLeft(TReader* r);
  void ReadTop(TReader* r);
  void WriteLeft(TWriter* w);
  void WriteTop(TWriter* w);

  TComponent* FOwner = nullptr;
  std::vector<TComponent*> FComponents;
  // Upper-cased names of the owned components, built once there are many of them, so that
  // loading a large form does not look names up linearly.
  std::unique_ptr<std::unordered_map<std::string, TComponent*>> FNameIndex;
  void IndexName(TComponent* c, bool add);
  std::vector<TComponent*> FFreeNotifies;
  std::string FName;
  int FTag = 0;
  int32_t FDesignInfo = 0;
  TComponentState FComponentState;
  bool FNotifiedDestroying = false;
};

// ---------------------------------------------------------------------------------------------
// Collections.
class TCollection;

class TCollectionItem : public TPersistent {
  KV_CLASS(TCollectionItem, TPersistent)
 public:
  TCollectionItem() = default;
  ~TCollectionItem() override;
  TCollection* Collection() const { return FCollection; }
  void SetCollection(TCollection* c);
  int GetIndex() const;
  void SetIndex(int i);
  int ID() const { return FID; }
  virtual std::string GetDisplayName() const;
  std::string GetNamePath() const override;
  TPersistent* GetOwner() const override;

 protected:
  void Changed(bool allItems);

 private:
  friend class TCollection;
  TCollection* FCollection = nullptr;
  int FID = 0;
};

class TCollection : public TPersistent {
  KV_CLASS(TCollection, TPersistent)
 public:
  explicit TCollection(TClass itemClass = TCollectionItem::StaticClass());
  ~TCollection() override;
  TClass ItemClass() const { return FItemClass; }
  int Count() const { return static_cast<int>(FItems.size()); }
  TCollectionItem* Items(int i) const;
  TCollectionItem* Add();
  TCollectionItem* Insert(int i);
  void Delete(int i);
  void Clear();
  TCollectionItem* FindItemID(int id) const;
  void BeginUpdate();
  void EndUpdate();
  void Assign(TPersistent* source) override;
  std::string GetNamePath() const override;
  // Sets the persistent that owns the collection (used for name paths).
  void SetOwnerPersistent(TPersistent* owner) { FOwner = owner; }
  TPersistent* GetOwner() const override { return FOwner; }

 protected:
  virtual void Update(TCollectionItem* item) { (void)item; }
  virtual void Added(TCollectionItem* item) { (void)item; }
  void Changed();

 private:
  friend class TCollectionItem;
  void InsertItem(TCollectionItem* item);
  void RemoveItem(TCollectionItem* item);
  TClass FItemClass;
  std::vector<TCollectionItem*> FItems;
  TPersistent* FOwner = nullptr;
  int FNextID = 0;
  int FUpdateCount = 0;
};

// ---------------------------------------------------------------------------------------------
// The class registry and component registration.
void RegisterClass(TClass c);
void RegisterClasses(std::initializer_list<TClass> classes);
void UnRegisterClass(TClass c);
TClass GetClass(std::string_view name);   // nullptr when not registered
TClass FindClass(std::string_view name);  // EClassNotFound when not registered

using TComponentClasses = std::vector<TClass>;
using TRegisterComponentsProc = void (*)(const std::string& page, const TComponentClasses& classes);
using TRegisterNoIconProc = void (*)(const TComponentClasses& classes);
extern TRegisterComponentsProc RegisterComponentsProc;
extern TRegisterNoIconProc RegisterNoIconProc;
void RegisterComponents(const std::string& page, const TComponentClasses& classes);
void RegisterNoIcon(const TComponentClasses& classes);

// Named integer constants of an integer type (colour names, cursor names, ...), used by the
// filers to read and write such values as identifiers.
using TIdentToInt = bool (*)(const std::string& ident, int32_t& value);
using TIntToIdent = bool (*)(int32_t value, std::string& ident);
// `names` lists the identifiers in the order an editor offers them.
void RegisterIntegerConsts(PTypeInfo intType, TIdentToInt identToInt, TIntToIdent intToIdent,
                           std::vector<std::string> names = {});
TIdentToInt FindIdentToInt(PTypeInfo intType);
TIntToIdent FindIntToIdent(PTypeInfo intType);
const std::vector<std::string>* FindIntegerConstNames(PTypeInfo intType);  // nullptr when none

// A hook through which a reader finds top-level components (forms) by name, so that a root's
// name can be made unique and cross-form references resolved.
using TFindGlobalComponent = TComponent* (*)(const std::string& name);
extern TFindGlobalComponent FindGlobalComponent;

// ---------------------------------------------------------------------------------------------
// Filers: the binary form stream.
enum TValueType : uint8_t {
  vaNull,
  vaList,
  vaInt8,
  vaInt16,
  vaInt32,
  vaExtended,
  vaString,
  vaIdent,
  vaFalse,
  vaTrue,
  vaBinary,
  vaSet,
  vaLString,
  vaNil,
  vaCollection,
  vaSingle,
  vaCurrency,
  vaDate,
  vaWString,
  vaInt64,
  vaUTF8String
};
constexpr uint8_t vaLastKnown = vaUTF8String;
enum TFilerFlagBits : uint8_t { ffInherited = 1, ffChildPos = 2, ffInline = 4 };

using TReaderProc = std::function<void(TReader*)>;
using TWriterProc = std::function<void(TWriter*)>;
using TStreamProc = std::function<void(TStream*)>;

class TFiler : public TObject {
  KV_CLASS(TFiler, TObject)
 public:
  TFiler(TStream* stream, int bufSize);
  TStream* Stream() const { return FStream; }
  TComponent* Root = nullptr;
  TComponent* LookupRoot = nullptr;
  TPersistent* Ancestor = nullptr;
  bool IgnoreChildren = false;
  virtual void DefineProperty(const std::string& name, const TReaderProc& readData, const TWriterProc& writeData,
                              bool hasData) = 0;
  virtual void DefineBinaryProperty(const std::string& name, const TStreamProc& readData, const TStreamProc& writeData,
                                    bool hasData) = 0;

 protected:
  TStream* FStream;
  std::vector<uint8_t> FBuffer;
  int FBufPos = 0;
  int FBufEnd = 0;
};

// Reader events.
class TReader;
KV_EVENT(TFindMethodEvent, "Reader: TReader; const MethodName: string; var Address: Pointer; var Error: Boolean",
         TReader*, const std::string&, const TMethodEntry*&, bool&)
KV_EVENT(TReaderError, "Reader: TReader; const Message: string; var Handled: Boolean", TReader*, const std::string&,
         bool&)
KV_EVENT(TSetNameEvent, "Reader: TReader; Component: TComponent; var Name: string", TReader*, TComponent*, std::string&)
KV_EVENT(TFindComponentClassEvent, "Reader: TReader; const ClassName: string; var ComponentClass: TComponentClass",
         TReader*, const std::string&, TClass&)
KV_EVENT(TCreateComponentEvent, "Reader: TReader; ComponentClass: TComponentClass; var Component: TComponent", TReader*,
         TClass, TComponent*&)

class TReader : public TFiler {
  KV_CLASS(TReader, TFiler)
 public:
  TReader(TStream* stream, int bufSize = 4096);
  // Gives back the bytes buffered but not read, so the stream stands after what was read.
  ~TReader() override;

  TComponent* Owner = nullptr;
  TComponent* Parent = nullptr;
  TFindMethodEvent OnFindMethod;
  TReaderError OnError;
  TSetNameEvent OnSetName;
  TFindComponentClassEvent OnFindComponentClass;
  TCreateComponentEvent OnCreateComponent;
  // A handler name read for an event property of instance. Set, it binds the event itself and
  // answers true; answering false leaves the name to OnFindMethod and the root's methods.
  std::function<bool(TPersistent* instance, PPropInfo prop, const std::string& name)> OnBindMethod;

  // Offset in the stream of the next byte to read.
  int64_t Position() const;
  void SetPosition(int64_t p);

  // Primitives.
  void Read(void* buf, int64_t count);
  void ReadSignature();
  void ReadPrefix(uint8_t& flags, int& childPos);
  TValueType ReadValue();
  TValueType NextValue();
  bool EndOfList();
  void ReadListBegin();
  void ReadListEnd();
  void CheckValue(TValueType v);
  int32_t ReadInteger();
  int64_t ReadInt64();
  char ReadChar();
  long double ReadFloat();
  float ReadSingle();
  double ReadDate();
  int64_t ReadCurrency();    // scaled by 10000
  std::string ReadString();  // any string tag, as UTF-8
  std::string ReadIdent();   // identifier, False, True, nil, Null
  bool ReadBoolean();
  std::string ReadStr();     // short string, decoded from the ANSI code page
  std::string ReadRawStr();  // short string, bytes as they stand
  void SkipValue();
  uint32_t ReadSet(PTypeInfo setType);

  // Components.
  TComponent* ReadRootComponent(TComponent* root);
  TComponent* ReadComponent(TComponent* component);
  void ReadComponents(TComponent* owner, TComponent* parent, const TGetChildProc& proc);
  virtual void ReadData(TComponent* instance);
  void ReadProperty(TPersistent* instance);
  void ReadPropValue(TPersistent* instance, PPropInfo prop);
  void ReadCollection(class TCollection* c);
  void DefineProperty(const std::string& name, const TReaderProc& readData, const TWriterProc& writeData,
                      bool hasData) override;
  void DefineBinaryProperty(const std::string& name, const TStreamProc& readData, const TStreamProc& writeData,
                            bool hasData) override;
  void FixupReferences();
  const std::string& PropName() const { return FPropName; }

 protected:
  // Offered every recoverable error; True means handled (the reader goes on).
  virtual bool Error(const std::string& message);
  void CallLoaded(const std::vector<TComponent*>& loaded);
  virtual const TMethodEntry* FindMethod(TComponent* root, const std::string& methodName);
  [[noreturn]] void ReadError(const std::string& message);
  [[noreturn]] void PropertyError(const std::string& name);
  void SkipComponent(bool skipHeader);
  void SkipSetBody();
  void SkipProperty();
  TClass FindComponentClass(const std::string& className);

  std::string FPropName;

 private:
  void ReadDataInner(TComponent* instance);
  void ReadBytes(void* buf, int64_t count);
  uint8_t ReadByte();
  void ReadBufferFill();
  void CheckAvailable(int64_t count);
  uint32_t ReadStringLength(int unitSize);
  void CountComponent();
  std::string FindUniqueName(const std::string& name);
  struct Fixup {
    TPersistent* Instance;
    PPropInfo Prop;
    std::string Name;
  };
  std::vector<Fixup>* FFixups = nullptr;
  std::vector<TComponent*>* FLoaded = nullptr;
  int64_t FStreamSize = 0;
  int64_t FBufStart = 0;  // stream offset of FBuffer[0]
  int FDepth = 0;
  int FComponentCount = 0;
  bool FCanHandleExcepts = false;
  friend struct TReaderDepth;
};

// Where a reader is, for its error reports: the component being read as a dotted path from the
// root ("Form1.Panel1.Button1").
std::string ReaderComponentPath(TReader* reader, TComponent* root);

// Counts the nesting of lists, collections and components for the lifetime of one recursive
// read, so that hostile input is refused (EReadError) rather than recursed into without bound.
struct TReaderDepth {
  explicit TReaderDepth(TReader* r);
  ~TReaderDepth();
  TReaderDepth(const TReaderDepth&) = delete;
  TReaderDepth& operator=(const TReaderDepth&) = delete;
  TReader* R;
};

class TWriter : public TFiler {
  KV_CLASS(TWriter, TFiler)
 public:
  TWriter(TStream* stream, int bufSize = 4096);
  ~TWriter() override;  // flushes
  void FlushBuffer();
  int64_t Position() const;

  void Write(const void* buf, int64_t count);
  void WriteSignature();
  void WritePrefix(uint8_t flags, int childPos);
  void WriteValue(TValueType v);
  void WriteListBegin();
  void WriteListEnd();
  void WriteInteger(int64_t v);  // smallest tag of 2, 3, 4 (19 beyond 32 bits)
  void WriteChar(char c);
  void WriteFloat(long double v);
  void WriteSingle(float v);
  void WriteCurrency(int64_t scaled);
  void WriteDate(double v);
  // UTF-8 in; 8-bit in the ANSI code page when it can be, tag 6 up to 255 bytes or 12 beyond;
  // otherwise a wide string (tag 18).
  void WriteString(const std::string& s);
  void WriteWideString(const std::u16string& s);
  void WriteIdent(const std::string& ident);  // False, True, nil become tags 8, 9, 13
  void WriteBoolean(bool v);
  void WriteStr(const std::string& s);       // short string, encoded into the ANSI code page
  void WriteRawStr(std::string_view bytes);  // short string, bytes as they stand
  void WriteSet(PTypeInfo setType, uint32_t value);

  void WriteRootComponent(TComponent* root);
  void WriteComponent(TComponent* component);
  void WriteData(TComponent* instance);
  void WriteProperties(TPersistent* instance);
  void WriteProperty(TPersistent* instance, PPropInfo prop);
  void WriteCollection(TCollection* c);
  void DefineProperty(const std::string& name, const TReaderProc& readData, const TWriterProc& writeData,
                      bool hasData) override;
  void DefineBinaryProperty(const std::string& name, const TStreamProc& readData, const TStreamProc& writeData,
                            bool hasData) override;

 private:
  void WritePropName(const std::string& name);
  std::string ComponentReference(TComponent* c) const;
  std::string FPropPath;
};

// ---------------------------------------------------------------------------------------------
// What a form may declare (README, "Form files from strangers"). The readers and both conversions
// refuse more with EReadError (EParserError for text) before the input costs memory or time in
// proportion to what it claims; a name longer than a short string is refused when text converts.
constexpr int MaxFormNesting = 256;                           // objects, lists, collections
constexpr int MaxFormComponents = 65536;                      // objects in one form, root included
constexpr int64_t MaxFormSize = int64_t{64} << 20;            // bytes of a form stream or text form
constexpr int64_t MaxFormStringSize = int64_t{16} << 20;      // bytes of one stored string value
constexpr int64_t MaxFormTextString = MaxFormStringSize / 2;  // characters of one in a text form
constexpr int MaxFormNameLength = 255;                        // names and property paths, in bytes
constexpr int MaxTreeDepth = 1 << 18;                         // levels of a tree view's items

// ---------------------------------------------------------------------------------------------
// Conversion between the binary form stream and the Delphi text form format. The binary side
// may carry a resource header (the *Resource* forms) or start at "TPF0". Errors: EReadError
// naming the byte offset for binary input, EParserError naming the line for text input.
void ObjectBinaryToText(TStream* input, TStream* output);
void ObjectTextToBinary(TStream* input, TStream* output);
void ObjectResourceToText(TStream* input, TStream* output);
void ObjectTextToResource(TStream* input, TStream* output);
// True when the stream (at its position) starts with a resource header rather than "TPF0".
bool StreamHasResourceHeader(TStream* s);
