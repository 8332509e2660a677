#include "Classes.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <map>

#include "Consts.h"

KV_IMPLEMENT_CLASS(TList, "Classes") {}
KV_IMPLEMENT_CLASS(TStream, "Classes") {}
KV_IMPLEMENT_CLASS(TMemoryStream, "Classes") {}
KV_IMPLEMENT_CLASS(TFileStream, "Classes") {}
KV_IMPLEMENT_CLASS(TPersistent, "Classes") {}
KV_IMPLEMENT_CLASS(TStrings, "Classes") {}
KV_IMPLEMENT_CLASS(TStringList, "Classes") {}
KV_IMPLEMENT_CLASS(TCollectionItem, "Classes") {}
KV_IMPLEMENT_CLASS(TCollection, "Classes") {}
KV_IMPLEMENT_CLASS(TComponent, "Classes") {
  b.Prop("Name", &TComponent::GetName, &TComponent::SetName).Stored(false);
  b.Prop("Tag", &TComponent::GetTag, &TComponent::SetTag).Default(0);
}

// ---------------------------------------------------------------------------------------------
// TList

namespace {
[[noreturn]] void ListError(const char* msg, int64_t data) { throw EListError(Format(msg, data)); }
}  // namespace

void* TList::Get(int i) const {
  if (i < 0 || i >= Count()) ListError(SListIndexError, i);
  return FItems[i];
}

void TList::Put(int i, void* p) {
  if (i < 0 || i >= Count()) ListError(SListIndexError, i);
  FItems[i] = p;
}

int TList::Add(void* p) {
  FItems.push_back(p);
  return Count() - 1;
}

void TList::Insert(int i, void* p) {
  if (i < 0 || i > Count()) ListError(SListIndexError, i);
  FItems.insert(FItems.begin() + i, p);
}

void TList::Delete(int i) {
  if (i < 0 || i >= Count()) ListError(SListIndexError, i);
  FItems.erase(FItems.begin() + i);
}

int TList::Remove(void* p) {
  int i = IndexOf(p);
  if (i >= 0) Delete(i);
  return i;
}

int TList::IndexOf(const void* p) const {
  auto it = std::find(FItems.begin(), FItems.end(), p);
  return it == FItems.end() ? -1 : static_cast<int>(it - FItems.begin());
}

void TList::Move(int from, int to) {
  if (from == to) return;
  void* p = Get(from);
  Delete(from);
  Insert(to, p);
}

void TList::Exchange(int a, int b) {
  void* p = Get(a);
  Put(a, Get(b));
  Put(b, p);
}

// ---------------------------------------------------------------------------------------------
// TStream

void TStream::SetSize(int64_t) {}

int64_t TStream::GetSize() {
  int64_t pos = Seek(0, soCurrent);
  int64_t size = Seek(0, soEnd);
  Seek(pos, soBeginning);
  return size;
}

void TStream::ReadBuffer(void* buffer, int64_t count) {
  if (count != 0 && Read(buffer, count) != count) throw EReadError(SReadError);
}

void TStream::WriteBuffer(const void* buffer, int64_t count) {
  if (count != 0 && Write(buffer, count) != count) throw EWriteError(SWriteError);
}

int64_t TStream::CopyFrom(TStream* source, int64_t count) {
  if (count == 0) {
    source->SetPosition(0);
    count = source->GetSize();
  }
  int64_t result = count;
  uint8_t buf[65536];
  while (count > 0) {
    int64_t n = std::min<int64_t>(count, sizeof buf);
    source->ReadBuffer(buf, n);
    WriteBuffer(buf, n);
    count -= n;
  }
  return result;
}

void TStream::ReadResHeader() {
  uint8_t b = 0;
  uint16_t type = 0;
  if (Read(&b, 1) != 1 || b != 0xFF) throw EInvalidImage(SInvalidImage);
  if (Read(&type, 2) != 2 || type != 10) throw EInvalidImage(SInvalidImage);
  int nameLen = 0;
  do {
    if (Read(&b, 1) != 1 || ++nameLen > 256) throw EInvalidImage(SInvalidImage);
  } while (b != 0);
  uint16_t flags;
  uint32_t size;
  if (Read(&flags, 2) != 2 || Read(&size, 4) != 4) throw EInvalidImage(SInvalidImage);
}

int64_t TStream::WriteResourceHeader(const std::string& resName) {
  std::string name;
  if (!TryUtf8ToAnsi(resName, name)) name = resName;
  name = UpperCase(name.substr(0, 63));
  std::string h;
  h += '\xFF';
  h += '\x0A';
  h += '\x00';
  h += name;
  h += '\0';
  h += '\x30';
  h += '\x10';
  h.append(4, '\0');
  WriteBuffer(h.data(), static_cast<int64_t>(h.size()));
  return GetPosition();
}

void TStream::FixupResourceHeader(int64_t dataStart) {
  int64_t end = GetPosition();
  uint32_t size = static_cast<uint32_t>(end - dataStart);
  SetPosition(dataStart - 4);
  WriteBuffer(&size, 4);
  SetPosition(end);
}

void TStream::WriteComponent(TComponent* instance) {
  TWriter w(this, 4096);
  w.WriteRootComponent(instance);
}

void TStream::WriteComponentRes(const std::string& resName, TComponent* instance) {
  int64_t start = WriteResourceHeader(resName);
  WriteComponent(instance);
  FixupResourceHeader(start);
}

TComponent* TStream::ReadComponent(TComponent* instance) {
  TReader r(this, 4096);
  return r.ReadRootComponent(instance);
}

TComponent* TStream::ReadComponentRes(TComponent* instance) {
  ReadResHeader();
  return ReadComponent(instance);
}

// ---------------------------------------------------------------------------------------------
// TMemoryStream

int64_t TMemoryStream::Read(void* buffer, int64_t count) {
  int64_t n = std::max<int64_t>(0, std::min<int64_t>(count, static_cast<int64_t>(FData.size()) - FPosition));
  if (n > 0) std::memcpy(buffer, FData.data() + FPosition, n);
  FPosition += n;
  return n;
}

int64_t TMemoryStream::Write(const void* buffer, int64_t count) {
  if (count <= 0) return 0;
  if (FPosition + count > static_cast<int64_t>(FData.size())) FData.resize(FPosition + count);
  std::memcpy(FData.data() + FPosition, buffer, count);
  FPosition += count;
  return count;
}

int64_t TMemoryStream::Seek(int64_t offset, TSeekOrigin origin) {
  switch (origin) {
    case soBeginning: FPosition = offset; break;
    case soCurrent: FPosition += offset; break;
    case soEnd: FPosition = static_cast<int64_t>(FData.size()) + offset; break;
  }
  if (FPosition < 0) FPosition = 0;
  return FPosition;
}

void TMemoryStream::SetSize(int64_t size) {
  FData.resize(size);
  if (FPosition > size) FPosition = size;
}

void TMemoryStream::Clear() {
  FData.clear();
  FPosition = 0;
}

void TMemoryStream::LoadFromStream(TStream* s) {
  s->SetPosition(0);
  int64_t n = s->GetSize();
  FData.resize(n);
  s->ReadBuffer(FData.data(), n);
  FPosition = 0;
}

void TMemoryStream::LoadFromFile(const std::string& fileName) {
  std::string bytes = ReadFileBytes(fileName);
  FData.assign(bytes.begin(), bytes.end());
  FPosition = 0;
}

void TMemoryStream::SaveToStream(TStream* s) { s->WriteBuffer(FData.data(), static_cast<int64_t>(FData.size())); }

void TMemoryStream::SaveToFile(const std::string& fileName) {
  WriteFileAtomic(fileName, std::string_view(reinterpret_cast<const char*>(FData.data()), FData.size()));
}

// ---------------------------------------------------------------------------------------------
// TFileStream

TFileStream::TFileStream(const std::string& fileName, uint16_t mode) : FFileName(fileName) {
  if (mode == fmCreate) {
    FHandle = ::open(fileName.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (FHandle < 0) throw EFCreateError(Format(SFCreateError, fileName) + ": " + std::strerror(errno));
    return;
  }
  int access = (mode & 3) == fmOpenWrite ? O_WRONLY : (mode & 3) == fmOpenReadWrite ? O_RDWR : O_RDONLY;
  FHandle = ::open(fileName.c_str(), access | O_CLOEXEC);
  if (FHandle < 0) throw EFOpenError(Format(SFOpenError, fileName) + ": " + std::strerror(errno));
  struct stat st;
  if (fstat(FHandle, &st) == 0 && S_ISDIR(st.st_mode)) {
    ::close(FHandle);
    FHandle = -1;
    throw EFOpenError(Format(SFOpenError, fileName) + ": is a directory");
  }
}

TFileStream::~TFileStream() {
  if (FHandle >= 0) ::close(FHandle);
}

int64_t TFileStream::Read(void* buffer, int64_t count) {
  int64_t done = 0;
  while (done < count) {
    ssize_t n = ::read(FHandle, static_cast<char*>(buffer) + done, count - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += n;
  }
  return done;
}

int64_t TFileStream::Write(const void* buffer, int64_t count) {
  int64_t done = 0;
  while (done < count) {
    ssize_t n = ::write(FHandle, static_cast<const char*>(buffer) + done, count - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += n;
  }
  return done;
}

int64_t TFileStream::Seek(int64_t offset, TSeekOrigin origin) {
  int whence = origin == soBeginning ? SEEK_SET : origin == soCurrent ? SEEK_CUR : SEEK_END;
  off_t r = ::lseek(FHandle, offset, whence);
  return r < 0 ? -1 : r;
}

void TFileStream::SetSize(int64_t size) {
  if (::ftruncate(FHandle, size) != 0) throw EWriteError(SWriteError);
}

std::string ReadFileBytes(const std::string& fileName) {
  TFileStream f(fileName, fmOpenRead);
  std::string data;
  char buf[65536];
  for (int64_t n; (n = f.Read(buf, sizeof buf)) > 0;) data.append(buf, n);
  return data;
}

namespace {

[[noreturn]] void ThrowCreateError(const std::string& fileName, int err) {
  throw EFCreateError(Format(SFCreateError, fileName) + ": " + std::strerror(err));
}

// The file a save replaces: saving through a symbolic link replaces what it points to and
// keeps the link, as editors do.
std::string SaveTarget(const std::string& fileName) {
  std::string target = fileName;
  for (int hops = 0; hops < 40; ++hops) {
    char buf[4096];
    ssize_t n = ::readlink(target.c_str(), buf, sizeof buf);
    if (n < 0 || n == static_cast<ssize_t>(sizeof buf)) return target;
    std::string link(buf, static_cast<size_t>(n));
    size_t slash = target.rfind('/');
    target = link[0] == '/' || slash == std::string::npos ? link : target.substr(0, slash + 1) + link;
  }
  return target;
}

std::string FolderOf(const std::string& path) {
  size_t slash = path.rfind('/');
  return slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
}

// A new temporary file beside the target, created exclusively so that no other file (a
// leftover of a killed save, a link planted there) is ever written through. It takes the
// target's permissions when the target exists.
int CreateTempBeside(const std::string& target, std::string& tmp) {
  struct stat st;
  const bool exists = ::stat(target.c_str(), &st) == 0;
  static std::atomic<unsigned> sequence{0};
  for (int attempt = 0; attempt < 100; ++attempt) {
    tmp = target + Format(".%d-%u.tmp~", static_cast<int>(::getpid()), sequence++);
    int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0) {
      if (exists) (void)::fchmod(fd, st.st_mode & 07777);
      return fd;
    }
    if (errno != EEXIST) return -1;
  }
  return -1;
}

int WriteAll(int fd, std::string_view data) {
  for (size_t done = 0; done < data.size();) {
    ssize_t n = ::write(fd, data.data() + done, data.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return n < 0 ? errno : ENOSPC;
    done += static_cast<size_t>(n);
  }
  return 0;
}

}  // namespace

void WriteFileAtomic(const std::string& fileName, std::string_view data) {
  const std::string target = SaveTarget(fileName);
  std::string tmp;
  int fd = CreateTempBeside(target, tmp);
  if (fd < 0) ThrowCreateError(fileName, errno);
  int err = WriteAll(fd, data);
  if (!err && ::fsync(fd) != 0) err = errno;
  if (::close(fd) != 0 && !err) err = errno;
  if (!err && ::rename(tmp.c_str(), target.c_str()) != 0) err = errno;
  if (err) {
    ::unlink(tmp.c_str());
    ThrowCreateError(fileName, err);
  }
  // The rename is durable only once the folder that holds the new name is on disk.
  int dir = ::open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    (void)::fsync(dir);
    ::close(dir);
  }
}

// ---------------------------------------------------------------------------------------------
// TPersistent

void TPersistent::Assign(TPersistent* source) {
  if (source) {
    source->AssignTo(this);
    return;
  }
  AssignError(nullptr);
}

void TPersistent::AssignTo(TPersistent* dest) { dest->AssignError(this); }

void TPersistent::AssignError(TPersistent* source) {
  throw EConvertError(Format(SAssignError, source ? source->ClassName() : std::string("nil"), ClassName()));
}

std::string TPersistent::GetNamePath() const { return ClassName(); }

void TPersistent::DefineProperties(TFiler*) {}

// ---------------------------------------------------------------------------------------------
// TComponent

TComponent::TComponent(TComponent* AOwner) {
  if (AOwner) AOwner->InsertComponent(this);
}

TComponent::~TComponent() {
  Destroying();
  DestroyComponents();
  if (FOwner) FOwner->RemoveComponent(this);
}

void TComponent::Destroying() {
  if (FNotifiedDestroying) return;
  FNotifiedDestroying = true;
  FComponentState.Include(csDestroying);
  for (TComponent* c : FComponents) c->FComponentState.Include(csDestroying);
  // Tell everyone who asked; each may remove itself from our list while we iterate.
  while (!FFreeNotifies.empty()) {
    TComponent* c = FFreeNotifies.back();
    FFreeNotifies.pop_back();
    auto& theirs = c->FFreeNotifies;
    theirs.erase(std::remove(theirs.begin(), theirs.end(), this), theirs.end());
    c->Notification(this, opRemove);
  }
}

TComponent* TComponent::Components(int i) const {
  if (i < 0 || i >= ComponentCount()) ListError(SListIndexError, i);
  return FComponents[i];
}

int TComponent::GetComponentIndex() const {
  if (!FOwner) return -1;
  auto& l = FOwner->FComponents;
  return static_cast<int>(std::find(l.begin(), l.end(), this) - l.begin());
}

void TComponent::SetComponentIndex(int i) {
  if (!FOwner) return;
  auto& l = FOwner->FComponents;
  int cur = GetComponentIndex();
  i = std::clamp(i, 0, static_cast<int>(l.size()) - 1);
  if (cur == i) return;
  l.erase(l.begin() + cur);
  l.insert(l.begin() + i, this);
}

TComponent* TComponent::FindComponent(std::string_view name) const {
  if (name.empty()) return nullptr;
  if (FNameIndex) {
    auto it = FNameIndex->find(UpperCase(name));
    return it == FNameIndex->end() ? nullptr : it->second;
  }
  for (TComponent* c : FComponents)
    if (SameText(c->FName, name)) return c;
  return nullptr;
}

namespace {
constexpr size_t kNameIndexThreshold = 32;
}

void TComponent::IndexName(TComponent* c, bool add) {
  if (!FNameIndex && add && FComponents.size() >= kNameIndexThreshold) {
    FNameIndex = std::make_unique<std::unordered_map<std::string, TComponent*>>();
    for (TComponent* o : FComponents)
      if (o != c && !o->FName.empty()) FNameIndex->emplace(UpperCase(o->FName), o);
  }
  if (!FNameIndex || c->FName.empty()) return;
  if (add) {
    FNameIndex->emplace(UpperCase(c->FName), c);
  } else {
    auto it = FNameIndex->find(UpperCase(c->FName));
    if (it != FNameIndex->end() && it->second == c) FNameIndex->erase(it);
  }
}

void TComponent::InsertComponent(TComponent* c) {
  if (!c->FName.empty()) ValidateRename(c, "", c->FName);
  if (c->FOwner) c->FOwner->RemoveComponent(c);
  ValidateContainer(c);
  Insert(c);
  c->SetReference(true);
  if (InState(csDesigning)) c->SetDesigning(true);
  Notification(c, opInsert);
}

void TComponent::RemoveComponent(TComponent* c) {
  Notification(c, opRemove);
  c->SetReference(false);
  Remove(c);
}

void TComponent::SetReference(bool enable) {
  if (!FOwner || FName.empty()) return;
  const TFieldEntry* f = FOwner->ClassType()->FindField(FName);
  if (!f) return;
  // Clearing goes by identity: during destruction our class is no longer what it was.
  if (!enable && f->Get(FOwner) == static_cast<TObject*>(this)) f->Set(FOwner, nullptr);
  else if (enable && InheritsFrom(f->FieldClass)) f->Set(FOwner, this);
}

void TComponent::Insert(TComponent* c) {
  FComponents.push_back(c);
  c->FOwner = this;
  IndexName(c, true);
}

void TComponent::Remove(TComponent* c) {
  IndexName(c, false);
  // The newest component is the likeliest to go (owners free in reverse order).
  auto it = std::find(FComponents.rbegin(), FComponents.rend(), c);
  if (it != FComponents.rend()) FComponents.erase(std::next(it).base());
  c->FOwner = nullptr;
}

// Only components that others watch are announced while they go; the rest leave silently,
// which keeps freeing a large owner linear.
void TComponent::DestroyComponents() {
  while (!FComponents.empty()) {
    TComponent* c = FComponents.back();
    if (c->InState(csFreeNotification)) RemoveComponent(c);
    else Remove(c);
    delete c;
  }
}

void TComponent::Notification(TComponent* c, TOperation op) {
  if (op == opRemove && c) RemoveFreeNotification(c);
  // While a stream is read into us, components arrive by the thousand and none of their
  // siblings needs to hear of each one; removals are always passed on.
  if (op == opInsert && InState(csLoading)) return;
  // Owned components hear of every insertion and removal among their siblings, as in the VCL,
  // so that references between them can be dropped. Each may remove others while we iterate.
  for (size_t i = FComponents.size(); i-- > 0;) {
    if (i >= FComponents.size()) i = FComponents.size() - 1;
    if (FComponents.empty()) break;
    FComponents[i]->Notification(c, op);
  }
}

void TComponent::FreeNotification(TComponent* c) {
  if (!c || c == this) return;
  if (std::find(FFreeNotifies.begin(), FFreeNotifies.end(), c) == FFreeNotifies.end()) {
    FFreeNotifies.push_back(c);
    c->FreeNotification(this);
  }
  FComponentState.Include(csFreeNotification);
}

void TComponent::RemoveFreeNotification(TComponent* c) {
  auto it = std::find(FFreeNotifies.begin(), FFreeNotifies.end(), c);
  if (it == FFreeNotifies.end()) return;
  FFreeNotifies.erase(it);
  c->RemoveFreeNotification(this);
}

void TComponent::SetName(const std::string& name) {
  if (FName == name) return;
  if (!name.empty() && !IsValidIdent(name)) throw EComponentError(Format(SInvalidName, name));
  if (FOwner) FOwner->ValidateRename(this, FName, name);
  else ValidateRename(nullptr, FName, name);
  SetReference(false);
  if (FOwner) FOwner->IndexName(this, false);
  ChangeName(name);
  if (FOwner) FOwner->IndexName(this, true);
  SetReference(true);
}

void TComponent::ValidateRename(TComponent* c, const std::string& curName, const std::string& newName) {
  if (c && !SameText(curName, newName)) {
    TComponent* other = FindComponent(newName);
    if (other && other != c) throw EComponentError(Format(SDuplicateName, newName));
  }
}

void TComponent::SetDesigning(bool value, bool setChildren) {
  if (value) FComponentState.Include(csDesigning);
  else FComponentState.Exclude(csDesigning);
  if (setChildren)
    for (TComponent* c : FComponents) c->SetDesigning(value, true);
}

void TComponent::SetAncestor(bool value) {
  if (value) FComponentState.Include(csAncestor);
  else FComponentState.Exclude(csAncestor);
  for (TComponent* c : FComponents) c->SetAncestor(value);
}

void TComponent::SetReading(bool value) {
  if (value) FComponentState.Include(csReading);
  else FComponentState.Exclude(csReading);
}

void TComponent::SetWriting(bool value) {
  if (value) FComponentState.Include(csWriting);
  else FComponentState.Exclude(csWriting);
}

void TComponent::Loaded() { FComponentState.Exclude(csLoading); }

std::string TComponent::GetNamePath() const { return FName; }

void TComponent::ReadState(TReader* reader) { reader->ReadData(this); }

void TComponent::WriteState(TWriter* writer) { writer->WriteData(this); }

void TComponent::GetChildren(const TGetChildProc&, TComponent*) {}

void TComponent::SetChildOrder(TComponent*, int) {}

// A non-visual component's design position lives in DesignInfo: left in the low 16 bits, top
// in the high 16 bits, each signed; form streams carry them as Left and Top.
void TComponent::DefineProperties(TFiler* filer) {
  int32_t ancestorInfo = 0;
  if (auto* a = Cast<TComponent>(filer->Ancestor)) ancestorInfo = a->FDesignInfo;
  filer->DefineProperty(
      "Left", [this](TReader* r) { ReadLeft(r); }, [this](TWriter* w) { WriteLeft(w); },
      static_cast<int16_t>(FDesignInfo) != static_cast<int16_t>(ancestorInfo));
  filer->DefineProperty(
      "Top", [this](TReader* r) { ReadTop(r); }, [this](TWriter* w) { WriteTop(w); },
      static_cast<int16_t>(FDesignInfo >> 16) != static_cast<int16_t>(ancestorInfo >> 16));
}

void TComponent::ReadLeft(TReader* r) {
  uint16_t left = static_cast<uint16_t>(r->ReadInteger());
  FDesignInfo = static_cast<int32_t>((static_cast<uint32_t>(FDesignInfo) & 0xFFFF0000u) | left);
}

void TComponent::ReadTop(TReader* r) {
  uint16_t top = static_cast<uint16_t>(r->ReadInteger());
  FDesignInfo =
      static_cast<int32_t>((static_cast<uint32_t>(FDesignInfo) & 0xFFFFu) | (static_cast<uint32_t>(top) << 16));
}

void TComponent::WriteLeft(TWriter* w) { w->WriteInteger(static_cast<int16_t>(FDesignInfo)); }

void TComponent::WriteTop(TWriter* w) { w->WriteInteger(static_cast<int16_t>(FDesignInfo >> 16)); }

// ---------------------------------------------------------------------------------------------
// TCollection

TCollectionItem::~TCollectionItem() {
  if (FCollection) FCollection->RemoveItem(this);
}

void TCollectionItem::SetCollection(TCollection* c) {
  if (c == FCollection) return;
  if (FCollection) FCollection->RemoveItem(this);
  if (c) c->InsertItem(this);
}

int TCollectionItem::GetIndex() const {
  if (!FCollection) return -1;
  auto& l = FCollection->FItems;
  return static_cast<int>(std::find(l.begin(), l.end(), this) - l.begin());
}

void TCollectionItem::SetIndex(int i) {
  int cur = GetIndex();
  if (cur < 0 || i == cur) return;
  auto& l = FCollection->FItems;
  i = std::clamp(i, 0, static_cast<int>(l.size()) - 1);
  l.erase(l.begin() + cur);
  l.insert(l.begin() + i, this);
  Changed(true);
}

std::string TCollectionItem::GetDisplayName() const { return ClassName(); }

std::string TCollectionItem::GetNamePath() const {
  if (!FCollection) return ClassName();
  return Format("%s[%d]", FCollection->GetNamePath(), GetIndex());
}

TPersistent* TCollectionItem::GetOwner() const { return FCollection; }

void TCollectionItem::Changed(bool allItems) {
  if (FCollection && FCollection->FUpdateCount == 0) FCollection->Update(allItems ? nullptr : this);
}

TCollection::TCollection(TClass itemClass) : FItemClass(itemClass) {}

TCollection::~TCollection() {
  FUpdateCount = 1;
  Clear();
}

TCollectionItem* TCollection::Items(int i) const {
  if (i < 0 || i >= Count()) ListError(SListIndexError, i);
  return FItems[i];
}

TCollectionItem* TCollection::Add() {
  auto* item = static_cast<TCollectionItem*>(FItemClass->Create(nullptr));
  item->SetCollection(this);
  Added(item);
  return item;
}

TCollectionItem* TCollection::Insert(int i) {
  TCollectionItem* item = Add();
  item->SetIndex(i);
  return item;
}

void TCollection::Delete(int i) { delete Items(i); }

void TCollection::Clear() {
  if (FItems.empty()) return;
  BeginUpdate();
  while (!FItems.empty()) delete FItems.back();
  EndUpdate();
}

TCollectionItem* TCollection::FindItemID(int id) const {
  for (auto* i : FItems)
    if (i->FID == id) return i;
  return nullptr;
}

void TCollection::BeginUpdate() { ++FUpdateCount; }

void TCollection::EndUpdate() {
  if (--FUpdateCount == 0) Changed();
}

void TCollection::Changed() {
  if (FUpdateCount == 0) Update(nullptr);
}

void TCollection::InsertItem(TCollectionItem* item) {
  if (!item->InheritsFrom(FItemClass)) throw EInvalidCast(Format(SAssignError, item->ClassName(), FItemClass->Name));
  FItems.push_back(item);
  item->FCollection = this;
  item->FID = FNextID++;
  Changed();
}

void TCollection::RemoveItem(TCollectionItem* item) {
  FItems.erase(std::remove(FItems.begin(), FItems.end(), item), FItems.end());
  item->FCollection = nullptr;
  Changed();
}

void TCollection::Assign(TPersistent* source) {
  auto* src = Cast<TCollection>(source);
  if (!src) return TPersistent::Assign(source);
  BeginUpdate();
  Clear();
  for (auto* item : src->FItems) Add()->Assign(item);
  EndUpdate();
}

std::string TCollection::GetNamePath() const {
  if (!FOwner) return ClassName();
  std::string owner = FOwner->GetNamePath();
  if (owner.empty()) return ClassName();
  // The property under which the owner publishes this collection.
  for (PPropInfo p : FOwner->ClassType()->Properties())
    if (p->PropType->Kind == tkClass && p->GetObj && p->GetObj(FOwner) == this) return owner + "." + p->Name;
  return owner;
}

// ---------------------------------------------------------------------------------------------
// Registries

namespace {

struct LessText {
  bool operator()(const std::string& a, const std::string& b) const { return CompareText(a, b) < 0; }
};

std::map<std::string, TClass, LessText>& ClassRegistry() {
  static std::map<std::string, TClass, LessText> r;
  return r;
}

struct IntConsts {
  TIdentToInt ToInt;
  TIntToIdent ToIdent;
  std::vector<std::string> Names;
};
std::map<PTypeInfo, IntConsts>& IntConstRegistry() {
  static std::map<PTypeInfo, IntConsts> r;
  return r;
}

}  // namespace

void RegisterClass(TClass c) {
  auto& r = ClassRegistry();
  auto it = r.find(c->Name);
  if (it != r.end()) {
    if (it->second == c) return;
    throw EFilerError(Format(SDuplicateClass, c->Name));
  }
  r.emplace(c->Name, c);
}

void RegisterClasses(std::initializer_list<TClass> classes) {
  for (TClass c : classes) RegisterClass(c);
}

void UnRegisterClass(TClass c) {
  auto& r = ClassRegistry();
  auto it = r.find(c->Name);
  if (it != r.end() && it->second == c) r.erase(it);
}

TClass GetClass(std::string_view name) {
  auto& r = ClassRegistry();
  auto it = r.find(std::string(name));
  return it == r.end() ? nullptr : it->second;
}

TClass FindClass(std::string_view name) {
  TClass c = GetClass(name);
  if (!c) throw EClassNotFound(Format(SClassNotFound, name));
  return c;
}

TRegisterComponentsProc RegisterComponentsProc = nullptr;
TRegisterNoIconProc RegisterNoIconProc = nullptr;
TFindGlobalComponent FindGlobalComponent = nullptr;

void RegisterComponents(const std::string& page, const TComponentClasses& classes) {
  if (!RegisterComponentsProc) throw EComponentError("Component registration is not available");
  RegisterComponentsProc(page, classes);
}

void RegisterNoIcon(const TComponentClasses& classes) {
  if (!RegisterNoIconProc) throw EComponentError("Component registration is not available");
  RegisterNoIconProc(classes);
}

void RegisterIntegerConsts(PTypeInfo intType, TIdentToInt identToInt, TIntToIdent intToIdent,
                           std::vector<std::string> names) {
  IntConstRegistry()[intType] = {identToInt, intToIdent, std::move(names)};
}

const std::vector<std::string>* FindIntegerConstNames(PTypeInfo intType) {
  auto& r = IntConstRegistry();
  auto it = r.find(intType);
  return it == r.end() || it->second.Names.empty() ? nullptr : &it->second.Names;
}

TIdentToInt FindIdentToInt(PTypeInfo intType) {
  auto& r = IntConstRegistry();
  auto it = r.find(intType);
  return it == r.end() ? nullptr : it->second.ToInt;
}

TIntToIdent FindIntToIdent(PTypeInfo intType) {
  auto& r = IntConstRegistry();
  auto it = r.find(intType);
  return it == r.end() ? nullptr : it->second.ToIdent;
}
