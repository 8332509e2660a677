#include "FileCtrl.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>

#include "Consts.h"
#include "ExtCtrls.h"
#include "SysUtils.h"

namespace fs = std::filesystem;

const char* const FileCtrlDefaultFilter = "All files (*.*)|*.*";

namespace {
// Win 3.1 style glyphs, 16 pixels wide.
void FileCtrlFolderGlyph(TCanvas* c, int x, int y, bool open) {
  c->GetPen()->SetColor(clBlack);
  c->GetBrush()->SetStyle(bsSolid);
  c->GetBrush()->SetColor(open ? clOlive : clYellow);
  c->Polygon({{x, y + 1}, {x + 5, y + 1}, {x + 6, y + 3}, {x + 13, y + 3}, {x + 13, y + 12}, {x, y + 12}});
  if (open) {
    c->GetBrush()->SetColor(clYellow);
    c->Polygon({{x + 3, y + 6}, {x + 16, y + 6}, {x + 13, y + 12}, {x, y + 12}});
  }
}

void FileCtrlFileGlyph(TCanvas* c, int x, int y) {
  c->GetPen()->SetColor(clBlack);
  c->GetBrush()->SetStyle(bsSolid);
  c->GetBrush()->SetColor(clWhite);
  c->Polygon({{x + 2, y}, {x + 9, y}, {x + 12, y + 3}, {x + 12, y + 13}, {x + 2, y + 13}});
  c->MoveTo(x + 9, y);
  c->LineTo(x + 9, y + 3);
  c->LineTo(x + 12, y + 3);
  c->GetPen()->SetColor(clGray);
  for (int ly = y + 5; ly < y + 12; ly += 2) {
    c->MoveTo(x + 4, ly);
    c->LineTo(x + 10, ly);
  }
}

void FileCtrlDriveGlyph(TCanvas* c, int x, int y) {
  c->GetPen()->SetColor(clBlack);
  c->GetBrush()->SetStyle(bsSolid);
  c->GetBrush()->SetColor(clSilver);
  c->Rectangle(x, y + 4, x + 16, y + 11);
  c->GetBrush()->SetColor(clLime);
  c->FillRect(Rect(x + 11, y + 8, x + 14, y + 9));
}

// The item's background and text colours as the list boxes draw them.
void FileCtrlItemColors(TCanvas* c, const TRect& r, bool selected) {
  c->GetBrush()->SetStyle(bsSolid);
  c->GetBrush()->SetColor(selected ? clHighlight : clWindow);
  c->FillRect(r);
  c->GetFont()->SetColor(selected ? clHighlightText : clWindowText);
}

void FileCtrlItemText(TCanvas* c, int x, const TRect& r, const std::string& text) {
  c->GetBrush()->SetStyle(bsClear);
  c->TextOut(x, r.Top + std::max(0, (r.Height() - c->TextHeight("Wg")) / 2), text);
  c->GetBrush()->SetStyle(bsSolid);
}

// DOS wildcard matching, case-insensitive; "*.*" matches names without a dot too.
bool FileCtrlMatch(std::string_view name, std::string_view mask) {
  if (mask == "*.*" || mask == "*") return true;
  size_t n = 0, m = 0, starM = std::string_view::npos, starN = 0;
  auto eq = [](char a, char b) {
    return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
  };
  while (n < name.size()) {
    if (m < mask.size() && (mask[m] == '?' || eq(mask[m], name[n]))) {
      ++n, ++m;
    } else if (m < mask.size() && mask[m] == '*') {
      starM = m++;
      starN = n;
    } else if (starM != std::string_view::npos) {
      m = starM + 1;
      n = ++starN;
    } else {
      return false;
    }
  }
  while (m < mask.size() && mask[m] == '*') ++m;
  // "name.*" also matches "name" without an extension, as on DOS.
  if (m + 2 == mask.size() && mask[m] == '.' && mask[m + 1] == '*') return true;
  return m == mask.size();
}

bool FileCtrlMatchesAny(const std::string& name, const std::string& masks) {
  size_t start = 0;
  while (start <= masks.size()) {
    size_t end = masks.find(';', start);
    if (end == std::string::npos) end = masks.size();
    std::string one = Trim(masks.substr(start, end - start));
    if (!one.empty() && FileCtrlMatch(name, one)) return true;
    start = end + 1;
  }
  return false;
}

// An absolute, normalised directory path; EInOutError when it is not an existing directory.
std::string FileCtrlCheckedDir(const std::string& base, const std::string& path) {
  fs::path p(path);
  if (p.is_relative()) p = fs::path(base.empty() ? fs::current_path().string() : base) / p;
  p = p.lexically_normal();
  std::string s = p.string();
  while (s.size() > 1 && s.back() == '/') s.pop_back();
  std::error_code ec;
  if (!fs::is_directory(s, ec)) throw EInOutError(Format("Path not found: '%s'", path));
  return s;
}

std::string FileCtrlCurrentDir() {
  std::error_code ec;
  fs::path p = fs::current_path(ec);
  return ec ? std::string("/") : p.string();
}

// The one drive of a Unix file system is its root.
void FileCtrlCheckDrive(char drive) {
  if (drive != '/')
    throw EInOutError(Format("Drive %s: does not exist; this system has the one root '/'", std::string(1, drive)));
}

std::string FileCtrlJoin(const std::string& dir, const std::string& name) {
  return dir == "/" ? "/" + name : dir + "/" + name;
}
}  // namespace

std::string MinimizeName(const std::string& fileName, TCanvas* canvas, int maxLen) {
  auto width = [&](const std::string& s) { return canvas ? canvas->TextWidth(s) : static_cast<int>(s.size()) * 6; };
  if (width(fileName) <= maxLen) return fileName;
  // Drop leading directories one by one: "/a/b/c/name" -> ".../b/c/name" -> ".../c/name".
  std::string rest = fileName;
  while (true) {
    size_t slash = rest.find('/', 1);
    if (slash == std::string::npos) break;
    rest = rest.substr(slash);
    std::string candidate = "..." + rest;
    if (width(candidate) <= maxLen) return candidate;
  }
  return "..." + rest;
}

// =============================================================================================
// TDirectoryListBox
TDirectoryListBox::TDirectoryListBox(TComponent* AOwner) : TCustomListBox(AOwner) {
  SetBounds(0, 0, 145, 97);
  SetStyle(lbOwnerDrawFixed);
  SetItemHeight(16);
  OnDrawItem = [this](TWinControl*, int i, TRect r, TOwnerDrawState s) { DrawItem(i, r, s); };
  FDirectory = FileCtrlCurrentDir();
  ReadDirectoryNames();
}

TDirectoryListBox::~TDirectoryListBox() {
  Destroying();
  SetDirLabel(nullptr);
  SetFileList(nullptr);
}

void TDirectoryListBox::ReadDirectoryNames() {
  FPathParts.clear();
  FPathParts.push_back("/");
  for (const auto& part : fs::path(FDirectory).relative_path()) FPathParts.push_back(part.string());
  std::vector<std::string> subdirs;
  std::error_code ec;
  for (fs::directory_iterator it(FDirectory, fs::directory_options::skip_permission_denied, ec), end; !ec && it != end;
       it.increment(ec)) {
    std::string name = it->path().filename().string();
    std::error_code dec;
    // Hidden directories stay out, as FindFirst with faDirectory leaves them out.
    if (!name.empty() && name[0] != '.' && it->is_directory(dec)) subdirs.push_back(name);
  }
  std::sort(subdirs.begin(), subdirs.end(), [](const std::string& a, const std::string& b) {
    int c = CompareText(a, b);
    return c != 0 ? c < 0 : a < b;
  });
  TStrings* items = GetItems();
  items->BeginUpdate();
  items->Clear();
  for (const auto& p : FPathParts) items->Add(p);
  for (const auto& s : subdirs) items->Add(s);
  items->EndUpdate();
  FCurrentIndex = static_cast<int>(FPathParts.size()) - 1;
  SetItemIndex(FCurrentIndex);
}

std::string TDirectoryListBox::GetItemPath(int index) const {
  if (index < 0 || index >= GetItems()->Count()) throw EListError(Format(SListIndexError, index));
  if (index <= FCurrentIndex) {
    std::string path = "/";
    for (int i = 1; i <= index; ++i) path = FileCtrlJoin(path, FPathParts[i]);
    return path;
  }
  return FileCtrlJoin(FDirectory, GetItems()->Get(index));
}

void TDirectoryListBox::SetDirectory(const std::string& v) {
  if (v.empty()) return;
  std::string dir = FileCtrlCheckedDir(FDirectory, v);
  if (dir == FDirectory) return;
  FDirectory = dir;
  ReadDirectoryNames();
  Change();
}

void TDirectoryListBox::SetDrive(char v) {
  FileCtrlCheckDrive(v);
  SetDirectory("/");
}

void TDirectoryListBox::Update() {
  std::error_code ec;
  // A directory that went away falls back to the nearest existing parent.
  while (FDirectory != "/" && !fs::is_directory(FDirectory, ec))
    FDirectory = fs::path(FDirectory).parent_path().string();
  ReadDirectoryNames();
  TCustomListBox::Update();
}

void TDirectoryListBox::Change() {
  if (FFileList) FFileList->SetDirectory(FDirectory);
  UpdateDirLabel();
  OnChange(this);
}

void TDirectoryListBox::UpdateDirLabel() {
  if (!FDirLabel) return;
  int width = FDirLabel->GetAutoSize() ? GetWidth() : FDirLabel->GetWidth();
  FDirLabel->SetCaption(MinimizeName(FDirectory, FDirLabel->Canvas(), width));
}

void TDirectoryListBox::OpenCurrent() {
  int i = GetItemIndex();
  if (i >= 0) SetDirectory(GetItemPath(i));
}

void TDirectoryListBox::DblClick() {
  OpenCurrent();
  TCustomListBox::DblClick();
}

void TDirectoryListBox::KeyPress(char& key) {
  TCustomListBox::KeyPress(key);
  if (key == '\r') OpenCurrent();
}

void TDirectoryListBox::Resize() {
  TCustomListBox::Resize();
  UpdateDirLabel();
}

void TDirectoryListBox::Loaded() {
  TCustomListBox::Loaded();
  SetItemIndex(FCurrentIndex);
}

void TDirectoryListBox::SetDirLabel(TLabel* v) {
  SetComponentReference(this, FDirLabel, v);
  UpdateDirLabel();
}

void TDirectoryListBox::SetFileList(TFileListBox* v) {
  SetComponentReference(this, FFileList, v);
  if (FFileList && !InState(csDestroying)) FFileList->SetDirectory(FDirectory);
}

void TDirectoryListBox::Notification(TComponent* c, TOperation op) {
  TCustomListBox::Notification(c, op);
  if (op != opRemove) return;
  if (c == FDirLabel) FDirLabel = nullptr;
  if (c == FFileList) FFileList = nullptr;
}

// The path's folders open and indented by level, the subdirectories closed one level deeper.
void TDirectoryListBox::DrawItem(int index, const TRect& r, TOwnerDrawState state) {
  TCanvas* c = Canvas();
  FileCtrlItemColors(c, r, state.Contains(odSelected));
  bool inPath = index <= FCurrentIndex;
  int offset = (inPath ? index : FCurrentIndex + 1) * 4 + 2;
  FileCtrlFolderGlyph(c, r.Left + offset, r.Top + (r.Height() - 13) / 2, inPath);
  FileCtrlItemText(c, r.Left + offset + 16 + 4, r, GetItems()->Get(index));
}

// =============================================================================================
// TFileListBox
TFileListBox::TFileListBox(TComponent* AOwner) : TCustomListBox(AOwner) {
  SetBounds(0, 0, 145, 97);
  SetStyle(lbOwnerDrawFixed);
  SetItemHeight(16);
  OnDrawItem = [this](TWinControl*, int i, TRect r, TOwnerDrawState s) { DrawItem(i, r, s); };
  FDirectory = FileCtrlCurrentDir();
  ReadFileNames();
}

TFileListBox::~TFileListBox() {
  Destroying();
  SetFileEdit(nullptr);
}

void TFileListBox::ReadFileNames() {
  struct Entry {
    std::string text;
    bool dir;
  };
  std::vector<Entry> entries;
  std::error_code ec;
  for (fs::directory_iterator it(FDirectory, fs::directory_options::skip_permission_denied, ec), end; !ec && it != end;
       it.increment(ec)) {
    std::string name = it->path().filename().string();
    std::error_code dec;
    bool dir = it->is_directory(dec);
    bool hidden = !name.empty() && name[0] == '.';
    auto perms = it->status(dec).permissions();
    bool readOnly = !dec && (perms & fs::perms::owner_write) == fs::perms::none;
    // As FindFirst does: hidden files and directories only when asked for; the others when
    // normal files are asked for or one of their attributes is.
    if (hidden && !FFileType.Contains(ftHidden)) continue;
    if (dir) {
      if (!FFileType.Contains(ftDirectory)) continue;
    } else {
      bool wanted = FFileType.Contains(ftNormal) || FFileType.Contains(ftArchive) ||
                    (readOnly && FFileType.Contains(ftReadOnly)) || (hidden && FFileType.Contains(ftHidden));
      if (!wanted) continue;
    }
    if (!FileCtrlMatchesAny(name, FMask)) continue;
    entries.push_back({dir ? "[" + name + "]" : name, dir});
  }
  // Directories first ("[..]" leading them), then files, each without regard to case.
  if (FFileType.Contains(ftDirectory) && FDirectory != "/") entries.push_back({"[..]", true});
  std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
    if (a.dir != b.dir) return a.dir;
    if ((a.text == "[..]") != (b.text == "[..]")) return a.text == "[..]";
    int c = CompareText(a.text, b.text);
    return c != 0 ? c < 0 : a.text < b.text;
  });
  TStrings* items = GetItems();
  items->BeginUpdate();
  items->Clear();
  FIsDir.clear();
  for (const auto& e : entries) {
    items->Add(e.text);
    FIsDir.push_back(e.dir);
  }
  items->EndUpdate();
  SetItemIndex(-1);
}

void TFileListBox::Update() {
  ReadFileNames();
  TCustomListBox::Update();
}

void TFileListBox::SetDirectory(const std::string& v) {
  if (v.empty()) return;
  std::string dir = FileCtrlCheckedDir(FDirectory, v);
  if (dir == FDirectory) return;
  FDirectory = dir;
  ReadFileNames();
  Change();
}

void TFileListBox::SetMask(const std::string& v) {
  std::string mask = v.empty() ? "*.*" : v;
  if (mask == FMask) return;
  FMask = mask;
  ReadFileNames();
  Change();
}

void TFileListBox::SetFileType(TFileType v) {
  if (v == FFileType) return;
  FFileType = v;
  ReadFileNames();
  Change();
}

void TFileListBox::SetShowGlyphs(bool v) {
  FShowGlyphs = v;
  Invalidate();
}

std::string TFileListBox::GetFileName() const {
  int i = GetItemIndex();
  if (i < 0 || i >= GetItems()->Count()) return "";
  std::string name = GetItems()->Get(i);
  if (i < static_cast<int>(FIsDir.size()) && FIsDir[i]) name = name.substr(1, name.size() - 2);
  return FileCtrlJoin(FDirectory, name);
}

void TFileListBox::SetFileName(const std::string& v) {
  std::string name = v;
  size_t slash = v.rfind('/');
  if (slash != std::string::npos) {
    SetDirectory(slash == 0 ? "/" : v.substr(0, slash));
    name = v.substr(slash + 1);
  }
  int found = -1;
  for (int i = 0; i < GetItems()->Count() && found < 0; ++i) {
    std::string item = GetItems()->Get(i);
    if (i < static_cast<int>(FIsDir.size()) && FIsDir[i]) item = item.substr(1, item.size() - 2);
    if (item == name) found = i;
  }
  if (GetMultiSelect())
    for (int i = 0; i < GetItems()->Count(); ++i) SetSelected(i, i == found);
  SetItemIndex(found);
  Change();
}

void TFileListBox::Click() {
  TCustomListBox::Click();
  Change();
}

void TFileListBox::Change() {
  UpdateFileEdit();
  OnChange(this);
}

void TFileListBox::UpdateFileEdit() {
  if (!FFileEdit) return;
  std::string file = GetFileName();
  FFileEdit->SetText(file.empty() ? FMask : ExtractFileName(file));
}

void TFileListBox::SetFileEdit(TEdit* v) {
  SetComponentReference(this, FFileEdit, v);
  if (!InState(csDestroying)) UpdateFileEdit();
}

void TFileListBox::Notification(TComponent* c, TOperation op) {
  TCustomListBox::Notification(c, op);
  if (op == opRemove && c == FFileEdit) FFileEdit = nullptr;
}

void TFileListBox::DrawItem(int index, const TRect& r, TOwnerDrawState state) {
  TCanvas* c = Canvas();
  FileCtrlItemColors(c, r, state.Contains(odSelected));
  int x = r.Left + 2;
  if (FShowGlyphs) {
    bool dir = index < static_cast<int>(FIsDir.size()) && FIsDir[index];
    if (dir) FileCtrlFolderGlyph(c, x, r.Top + (r.Height() - 13) / 2, false);
    else FileCtrlFileGlyph(c, x, r.Top + (r.Height() - 14) / 2);
    x += 16 + 4;
  }
  FileCtrlItemText(c, x, r, GetItems()->Get(index));
}

// =============================================================================================
// TDriveComboBox
TDriveComboBox::TDriveComboBox(TComponent* AOwner) : TCustomComboBox(AOwner) {
  SetStyle(csOwnerDrawFixed);
  OnDrawItem = [this](TWinControl*, int i, TRect r, TOwnerDrawState s) { DrawItem(i, r, s); };
  BuildList();
}

TDriveComboBox::~TDriveComboBox() {
  Destroying();
  SetDirList(nullptr);
}

// A Unix file system has no drive letters: its single root "/" is the one entry.
void TDriveComboBox::BuildList() {
  std::string text = "/";
  GetItems()->SetText(FTextCase == tcUpperCase ? UpperCase(text) : LowerCase(text));
  SetItemIndex(0);
}

void TDriveComboBox::SetDrive(char v) {
  FileCtrlCheckDrive(v);
  FDrive = v;
  SetItemIndex(0);
  if (FDirList) FDirList->SetDrive(v);
}

void TDriveComboBox::SetTextCase(TTextCase v) {
  FTextCase = v;
  BuildList();
}

void TDriveComboBox::Change() {
  if (GetItemIndex() >= 0) FDrive = '/';
  if (FDirList) FDirList->SetDrive(FDrive);
  TCustomComboBox::Change();
}

void TDriveComboBox::SetDirList(TDirectoryListBox* v) { SetComponentReference(this, FDirList, v); }

void TDriveComboBox::Notification(TComponent* c, TOperation op) {
  TCustomComboBox::Notification(c, op);
  if (op == opRemove && c == FDirList) FDirList = nullptr;
}

void TDriveComboBox::DrawItem(int index, const TRect& r, TOwnerDrawState state) {
  TCanvas* c = Canvas();
  FileCtrlItemColors(c, r, state.Contains(odSelected));
  FileCtrlDriveGlyph(c, r.Left + 2, r.Top + (r.Height() - 14) / 2);
  FileCtrlItemText(c, r.Left + 22, r, GetItems()->Get(index));
}

// =============================================================================================
// TFilterComboBox
bool TFilterComboBox::IsFilterStored() const { return FFilter != FileCtrlDefaultFilter; }

TFilterComboBox::TFilterComboBox(TComponent* AOwner) : TCustomComboBox(AOwner), FFilter(FileCtrlDefaultFilter) {
  SetStyle(csDropDownList);
  BuildList();
}

TFilterComboBox::~TFilterComboBox() {
  Destroying();
  SetFileList(nullptr);
}

void TFilterComboBox::SetFilter(const std::string& v) {
  // Checked before anything changes, so a bad filter leaves the old one.
  size_t bars = std::count(v.begin(), v.end(), '|');
  if (!v.empty() && bars % 2 == 0) throw EInvalidOperation(Format("Invalid filter: '%s'", v));
  FFilter = v;
  BuildList();
  if (!InState(csLoading)) Change();
}

void TFilterComboBox::BuildList() {
  std::vector<std::string> parts;
  size_t start = 0;
  while (!FFilter.empty() && start <= FFilter.size()) {
    size_t end = FFilter.find('|', start);
    if (end == std::string::npos) end = FFilter.size();
    parts.push_back(FFilter.substr(start, end - start));
    start = end + 1;
  }
  FMasks.clear();
  TStrings* items = GetItems();
  items->BeginUpdate();
  items->Clear();
  for (size_t i = 0; i + 1 < parts.size(); i += 2) {
    items->Add(parts[i]);
    FMasks.push_back(parts[i + 1]);
  }
  items->EndUpdate();
  SetItemIndex(FMasks.empty() ? -1 : 0);
}

std::string TFilterComboBox::GetMask() const {
  int i = GetItemIndex();
  return i >= 0 && i < static_cast<int>(FMasks.size()) ? FMasks[i] : "*.*";
}

void TFilterComboBox::Change() {
  if (FFileList) FFileList->SetMask(GetMask());
  TCustomComboBox::Change();
}

void TFilterComboBox::Loaded() {
  TCustomComboBox::Loaded();
  if (GetItemIndex() < 0 && !FMasks.empty()) SetItemIndex(0);
}

void TFilterComboBox::SetFileList(TFileListBox* v) {
  SetComponentReference(this, FFileList, v);
  if (FFileList && !InState(csDestroying)) FFileList->SetMask(GetMask());
}

void TFilterComboBox::Notification(TComponent* c, TOperation op) {
  TCustomComboBox::Notification(c, op);
  if (op == opRemove && c == FFileList) FFileList = nullptr;
}

// =============================================================================================
// Published properties, in the VCL's order.
KV_IMPLEMENT_CLASS(TDirectoryListBox, "FileCtrl") {
  PublishControlProperties(b, {"Align", "Anchors", "BiDiMode"});
  PublishWindowColor(b);
  b.Prop("Columns", &TCustomListBox::GetColumns, &TCustomListBox::SetColumns).Default(0);
  PublishControlProperties(b, {"Constraints", "Ctl3D"});
  b.Prop("DirLabel", &TDirectoryListBox::GetDirLabel, &TDirectoryListBox::SetDirLabel);
  PublishControlProperties(b, {"DragCursor", "DragKind", "DragMode", "Enabled"});
  b.Prop("FileList", &TDirectoryListBox::GetFileList, &TDirectoryListBox::SetFileList);
  PublishControlProperties(b, {"Font", "ImeMode", "ImeName"});
  b.Prop("IntegralHeight", &TCustomListBox::GetIntegralHeight, &TCustomListBox::SetIntegralHeight).Default(false);
  b.Prop("ItemHeight", &TCustomListBox::GetItemHeight, &TCustomListBox::SetItemHeight);
  PublishControlProperties(
      b, {"ParentBiDiMode", "ParentCtl3D", "ParentFont", "ParentShowHint", "PopupMenu", "ShowHint", "TabOrder"});
  PublishTabStop(b, true);
  PublishControlProperties(b, {"Visible"});
  b.Prop("OnChange", &TDirectoryListBox::OnChange);
  PublishControlProperties(
      b, {"OnClick", "OnDblClick", "OnDragDrop", "OnDragOver", "OnEndDrag", "OnEnter", "OnExit", "OnKeyDown",
          "OnKeyPress", "OnKeyUp", "OnMouseDown", "OnMouseMove", "OnMouseUp", "OnStartDrag"});
}

KV_IMPLEMENT_CLASS(TFileListBox, "FileCtrl") {
  PublishControlProperties(b, {"Align", "Anchors", "BiDiMode"});
  PublishWindowColor(b);
  PublishControlProperties(b, {"Constraints", "Ctl3D", "DragCursor", "DragKind", "DragMode", "Enabled"});
  b.Prop("ExtendedSelect", &TCustomListBox::GetExtendedSelect, &TCustomListBox::SetExtendedSelect).Default(true);
  b.Prop("FileEdit", &TFileListBox::GetFileEdit, &TFileListBox::SetFileEdit);
  b.Prop("FileType", &TFileListBox::GetFileType, &TFileListBox::SetFileType).Default(TFileType{ftNormal});
  PublishControlProperties(b, {"Font", "ImeMode", "ImeName"});
  b.Prop("IntegralHeight", &TCustomListBox::GetIntegralHeight, &TCustomListBox::SetIntegralHeight).Default(false);
  b.Prop("ItemHeight", &TCustomListBox::GetItemHeight, &TCustomListBox::SetItemHeight);
  b.Prop("Mask", &TFileListBox::GetMask, &TFileListBox::SetMask).StoredMethod(&TFileListBox::IsMaskStored, false);
  b.Prop("MultiSelect", &TCustomListBox::GetMultiSelect, &TCustomListBox::SetMultiSelect).Default(false);
  PublishControlProperties(b, {"ParentBiDiMode", "ParentCtl3D", "ParentFont", "ParentShowHint", "PopupMenu"});
  b.Prop("ShowGlyphs", &TFileListBox::GetShowGlyphs, &TFileListBox::SetShowGlyphs).Default(false);
  PublishControlProperties(b, {"ShowHint", "TabOrder"});
  PublishTabStop(b, true);
  PublishControlProperties(b, {"Visible"});
  b.Prop("OnChange", &TFileListBox::OnChange);
  PublishControlProperties(
      b, {"OnClick", "OnDblClick", "OnDragDrop", "OnDragOver", "OnEndDrag", "OnEnter", "OnExit", "OnKeyDown",
          "OnKeyPress", "OnKeyUp", "OnMouseDown", "OnMouseMove", "OnMouseUp", "OnStartDrag"});
}

KV_IMPLEMENT_CLASS(TDriveComboBox, "FileCtrl") {
  PublishControlProperties(b, {"Anchors", "BiDiMode"});
  PublishWindowColor(b);
  PublishControlProperties(b, {"Constraints", "Ctl3D"});
  b.Prop("DirList", &TDriveComboBox::GetDirList, &TDriveComboBox::SetDirList);
  PublishControlProperties(b, {"DragMode", "DragCursor", "Enabled", "Font", "ImeMode", "ImeName", "ParentBiDiMode",
                               "ParentCtl3D", "ParentFont", "ParentShowHint", "PopupMenu", "ShowHint", "TabOrder"});
  PublishTabStop(b, true);
  b.Prop("TextCase", &TDriveComboBox::GetTextCase, &TDriveComboBox::SetTextCase).Default(tcLowerCase);
  PublishControlProperties(b, {"Visible"});
  b.Prop("OnChange", &TCustomComboBox::OnChange);
  PublishControlProperties(b, {"OnClick", "OnDblClick", "OnDragDrop", "OnDragOver"});
  b.Prop("OnDropDown", &TCustomComboBox::OnDropDown);
  PublishControlProperties(b, {"OnEndDrag", "OnEnter", "OnExit", "OnKeyDown", "OnKeyPress", "OnKeyUp", "OnStartDrag"});
}

KV_IMPLEMENT_CLASS(TFilterComboBox, "FileCtrl") {
  PublishControlProperties(b, {"Anchors", "BiDiMode"});
  PublishWindowColor(b);
  PublishControlProperties(b, {"Constraints", "Ctl3D", "DragMode", "DragCursor", "Enabled"});
  b.Prop("FileList", &TFilterComboBox::GetFileList, &TFilterComboBox::SetFileList);
  b.Prop("Filter", &TFilterComboBox::GetFilter, &TFilterComboBox::SetFilter)
      .StoredMethod(&TFilterComboBox::IsFilterStored, false);
  PublishControlProperties(b, {"Font", "ImeName", "ImeMode", "ParentBiDiMode", "ParentCtl3D", "ParentFont",
                               "ParentShowHint", "PopupMenu", "ShowHint", "TabOrder"});
  PublishTabStop(b, true);
  PublishControlProperties(b, {"Visible"});
  b.Prop("OnChange", &TCustomComboBox::OnChange);
  PublishControlProperties(b, {"OnClick", "OnDblClick", "OnDragDrop", "OnDragOver"});
  b.Prop("OnDropDown", &TCustomComboBox::OnDropDown);
  PublishControlProperties(b, {"OnEndDrag", "OnEnter", "OnExit", "OnKeyDown", "OnKeyPress", "OnKeyUp", "OnStartDrag"});
}

void RegisterFileCtrlClasses() {
  RegisterClasses({TDirectoryListBox::StaticClass(), TFileListBox::StaticClass(), TDriveComboBox::StaticClass(),
                   TFilterComboBox::StaticClass()});
}
