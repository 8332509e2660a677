// TStrings and TStringList.
#include <algorithm>

#include "Classes.h"
#include "Consts.h"

void TStrings::Error(const char* msg, int data) const { throw EStringListError(Format(msg, data)); }

void TStrings::Put(int i, const std::string& s) {
  TObject* o = GetObject(i);
  Delete(i);
  InsertObject(i, s, o);
}

TObject* TStrings::GetObject(int) const { return nullptr; }
void TStrings::PutObject(int, TObject*) {}

int TStrings::Add(const std::string& s) {
  int i = Count();
  Insert(i, s);
  return i;
}

int TStrings::AddObject(const std::string& s, TObject* o) {
  int i = Add(s);
  PutObject(i, o);
  return i;
}

void TStrings::InsertObject(int i, const std::string& s, TObject* o) {
  Insert(i, s);
  PutObject(i, o);
}

int TStrings::IndexOf(const std::string& s) const {
  for (int i = 0; i < Count(); ++i)
    if (SameText(Get(i), s)) return i;
  return -1;
}

int TStrings::IndexOfName(const std::string& name) const {
  for (int i = 0; i < Count(); ++i) {
    std::string s = Get(i);
    size_t eq = s.find('=');
    if (eq != std::string::npos && SameText(std::string_view(s).substr(0, eq), name)) return i;
  }
  return -1;
}

int TStrings::IndexOfObject(const TObject* o) const {
  for (int i = 0; i < Count(); ++i)
    if (GetObject(i) == o) return i;
  return -1;
}

std::string TStrings::Names(int i) const {
  std::string s = Get(i);
  size_t eq = s.find('=');
  return eq == std::string::npos ? "" : s.substr(0, eq);
}

std::string TStrings::Values(const std::string& name) const {
  int i = IndexOfName(name);
  return i < 0 ? "" : Get(i).substr(name.size() + 1);
}

void TStrings::SetValue(const std::string& name, const std::string& value) {
  int i = IndexOfName(name);
  if (value.empty()) {
    if (i >= 0) Delete(i);
  } else if (i >= 0) {
    Put(i, name + "=" + value);
  } else {
    Add(name + "=" + value);
  }
}

void TStrings::Exchange(int a, int b) {
  std::string sa = Get(a), sb = Get(b);
  TObject *oa = GetObject(a), *ob = GetObject(b);
  Put(a, sb);
  PutObject(a, ob);
  Put(b, sa);
  PutObject(b, oa);
}

void TStrings::Move(int from, int to) {
  if (from == to) return;
  BeginUpdate();
  std::string s = Get(from);
  TObject* o = GetObject(from);
  Delete(from);
  InsertObject(to, s, o);
  EndUpdate();
}

void TStrings::AddStrings(const TStrings* s) {
  BeginUpdate();
  for (int i = 0; i < s->Count(); ++i) AddObject(s->Get(i), s->GetObject(i));
  EndUpdate();
}

void TStrings::Assign(TPersistent* source) {
  if (auto* s = Cast<TStrings>(source)) {
    if (s == this) return;
    BeginUpdate();
    Clear();
    AddStrings(s);
    EndUpdate();
    return;
  }
  TPersistent::Assign(source);
}

bool TStrings::Equals(const TStrings* s) const {
  if (Count() != s->Count()) return false;
  for (int i = 0; i < Count(); ++i)
    if (Get(i) != s->Get(i)) return false;
  return true;
}

std::string TStrings::GetText() const {
  std::string r;
  for (int i = 0; i < Count(); ++i) r += Get(i) + "\r\n";
  return r;
}

void TStrings::SetText(const std::string& text) {
  BeginUpdate();
  Clear();
  size_t start = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' || text[i] == '\n') {
      Add(text.substr(start, i - start));
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      start = i + 1;
    }
  }
  if (start < text.size()) Add(text.substr(start));
  EndUpdate();
}

std::string TStrings::GetCommaText() const {
  std::string r;
  for (int i = 0; i < Count(); ++i) {
    std::string s = Get(i);
    bool quote = s.empty() || s.find_first_of(" ,\"") != std::string::npos ||
                 std::any_of(s.begin(), s.end(), [](char c) { return static_cast<unsigned char>(c) < ' '; });
    if (i) r += ',';
    if (quote) {
      r += '"';
      for (char c : s) r += c == '"' ? std::string("\"\"") : std::string(1, c);
      r += '"';
    } else {
      r += s;
    }
  }
  return r;
}

void TStrings::SetCommaText(const std::string& text) {
  BeginUpdate();
  Clear();
  size_t i = 0;
  auto skipBlanks = [&] {
    while (i < text.size() && static_cast<unsigned char>(text[i]) <= ' ') ++i;
  };
  skipBlanks();
  while (i < text.size()) {
    std::string item;
    if (text[i] == '"') {
      ++i;
      while (i < text.size()) {
        if (text[i] == '"') {
          if (i + 1 < text.size() && text[i + 1] == '"') {
            item += '"';
            i += 2;
            continue;
          }
          ++i;
          break;
        }
        item += text[i++];
      }
    } else {
      while (i < text.size() && text[i] != ',' && static_cast<unsigned char>(text[i]) > ' ') item += text[i++];
    }
    Add(item);
    skipBlanks();
    if (i < text.size() && text[i] == ',') {
      ++i;
      skipBlanks();
    }
  }
  EndUpdate();
}

void TStrings::BeginUpdate() {
  if (FUpdateCount == 0) SetUpdateState(true);
  ++FUpdateCount;
}

void TStrings::EndUpdate() {
  if (--FUpdateCount == 0) SetUpdateState(false);
}

void TStrings::LoadFromFile(const std::string& fileName) {
  TFileStream f(fileName, fmOpenRead);
  LoadFromStream(&f);
}

void TStrings::SaveToFile(const std::string& fileName) const {
  std::string data;
  for (int i = 0; i < Count(); ++i) {
    std::string line = Get(i), ansi;
    data += (TryUtf8ToAnsi(line, ansi) ? ansi : line) + "\r\n";
  }
  WriteFileAtomic(fileName, data);
}

void TStrings::LoadFromStream(TStream* s) {
  int64_t n = s->GetSize() - s->GetPosition();
  std::string data(static_cast<size_t>(std::max<int64_t>(n, 0)), '\0');
  s->ReadBuffer(data.data(), static_cast<int64_t>(data.size()));
  if (data.compare(0, 3, "\xEF\xBB\xBF") == 0) data.erase(0, 3);
  else if (!IsValidUtf8(data)) data = AnsiToUtf8(data);
  SetText(data);
}

void TStrings::SaveToStream(TStream* s) const {
  std::string t = GetText();
  s->WriteBuffer(t.data(), static_cast<int64_t>(t.size()));
}

// Streamed as "Strings": a list of strings.
void TStrings::DefineProperties(TFiler* filer) {
  bool hasData = Count() > 0;
  if (auto* a = Cast<TStrings>(filer->Ancestor)) hasData = !Equals(a);
  filer->DefineProperty(
      "Strings", [this](TReader* r) { ReadData(r); }, [this](TWriter* w) { WriteData(w); }, hasData);
}

void TStrings::ReadData(TReader* r) {
  r->ReadListBegin();
  BeginUpdate();
  Clear();
  while (!r->EndOfList()) Add(r->ReadString());
  EndUpdate();
  r->ReadListEnd();
}

void TStrings::WriteData(TWriter* w) {
  w->WriteListBegin();
  for (int i = 0; i < Count(); ++i) w->WriteString(Get(i));
  w->WriteListEnd();
}

// ---------------------------------------------------------------------------------------------
// TStringList

TStringList::~TStringList() {
  OnChange = nullptr;
  OnChanging = nullptr;
  if (OwnsObjects)
    for (auto& it : FList) delete it.O;
}

void TStringList::CheckIndex(int i) const {
  if (i < 0 || i >= Count()) Error(SListIndexError, i);
}

std::string TStringList::Get(int i) const {
  CheckIndex(i);
  return FList[i].S;
}

void TStringList::Put(int i, const std::string& s) {
  if (FSorted) Error(SSortedListError, 0);
  CheckIndex(i);
  Changing();
  FList[i].S = s;
  Changed();
}

TObject* TStringList::GetObject(int i) const {
  CheckIndex(i);
  return FList[i].O;
}

TObject*& TStringList::ObjectSlot(int i) {
  CheckIndex(i);
  return FList[i].O;
}

void TStringList::PutObject(int i, TObject* o) {
  CheckIndex(i);
  Changing();
  if (OwnsObjects && FList[i].O != o) delete FList[i].O;
  FList[i].O = o;
  Changed();
}

void TStringList::Insert(int i, const std::string& s) {
  if (FSorted) Error(SSortedListError, 0);
  if (i < 0 || i > Count()) Error(SListIndexError, i);
  InsertItem(i, s, nullptr);
}

void TStringList::InsertItem(int i, const std::string& s, TObject* o) {
  Changing();
  FList.insert(FList.begin() + i, Item{s, o});
  Changed();
}

void TStringList::Delete(int i) {
  CheckIndex(i);
  Changing();
  if (OwnsObjects) delete FList[i].O;
  FList.erase(FList.begin() + i);
  Changed();
}

void TStringList::Clear() {
  if (FList.empty()) return;
  Changing();
  if (OwnsObjects)
    for (auto& it : FList) delete it.O;
  FList.clear();
  Changed();
}

int TStringList::Add(const std::string& s) {
  if (!FSorted) {
    InsertItem(Count(), s, nullptr);
    return Count() - 1;
  }
  int i;
  if (Find(s, i)) {
    if (FDuplicates == dupIgnore) return i;
    if (FDuplicates == dupError) Error(SDuplicateString, 0);
  }
  InsertItem(i, s, nullptr);
  return i;
}

int TStringList::CompareStrings(const std::string& a, const std::string& b) const {
  return FCaseSensitive ? CompareStr(a, b) : CompareText(a, b);
}

int TStringList::IndexOf(const std::string& s) const {
  if (!FSorted) {
    for (int i = 0; i < Count(); ++i)
      if (CompareStrings(FList[i].S, s) == 0) return i;
    return -1;
  }
  int i;
  return Find(s, i) ? i : -1;
}

bool TStringList::Find(const std::string& s, int& index) const {
  int lo = 0, hi = Count() - 1;
  bool found = false;
  while (lo <= hi) {
    int mid = (lo + hi) / 2;
    int c = CompareStrings(FList[mid].S, s);
    if (c < 0) {
      lo = mid + 1;
    } else {
      hi = mid - 1;
      if (c == 0) {
        found = true;
        if (FDuplicates != dupAccept) lo = mid;
      }
    }
  }
  index = lo;
  return found;
}

void TStringList::Exchange(int a, int b) {
  CheckIndex(a);
  CheckIndex(b);
  Changing();
  std::swap(FList[a], FList[b]);
  Changed();
}

void TStringList::Sort() {
  CustomSort([](TStringList* l, int a, int b) { return l->CompareStrings(l->FList[a].S, l->FList[b].S); });
}

void TStringList::CustomSort(const std::function<int(TStringList*, int, int)>& compare) {
  if (Count() < 2) return;
  Changing();
  // Sort a permutation so the comparer sees indices into the unsorted list.
  std::vector<int> order(Count());
  for (int i = 0; i < Count(); ++i) order[i] = i;
  std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return compare(this, a, b) < 0; });
  std::vector<Item> sorted;
  sorted.reserve(FList.size());
  for (int i : order) sorted.push_back(FList[i]);
  FList = std::move(sorted);
  Changed();
}

void TStringList::SetSorted(bool v) {
  if (v == FSorted) return;
  if (v) Sort();
  FSorted = v;
}

void TStringList::SetCaseSensitive(bool v) {
  if (v == FCaseSensitive) return;
  FCaseSensitive = v;
  if (FSorted) Sort();
}

void TStringList::SetUpdateState(bool updating) {
  if (updating) Changing();
  else Changed();
}

void TStringList::Changing() {
  if (UpdateCount() == 0 && OnChanging) OnChanging(this);
}

void TStringList::Changed() {
  if (UpdateCount() == 0 && OnChange) OnChange(this);
}
