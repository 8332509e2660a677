#include "KvRecover.h"

#include <unistd.h>

#include <algorithm>
#include <ctime>
#include <filesystem>

#include "Classes.h"
#include "KvDsgn.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* KvLockExt = ".lock";
constexpr const char* KvInfoExt = ".info";

// The info file beside a copy: "Name=Value" lines in UTF-8.
std::string InfoText(const TKFormDesigner* design) {
  char saved[32];
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  std::strftime(saved, sizeof saved, "%Y-%m-%d %H:%M:%S", &local);
  return "FileName=" + (design->FHasFileName ? design->FFileName : std::string()) + "\n" +
         "FormName=" + design->GetForm()->GetName() + "\n" + "Saved=" + saved + "\n";
}

std::string InfoValue(const std::string& text, const std::string& name) {
  const std::string key = name + "=";
  for (size_t at = 0; at < text.size();) {
    size_t end = text.find('\n', at);
    if (end == std::string::npos) end = text.size();
    if (text.compare(at, key.size(), key) == 0) return text.substr(at + key.size(), end - at - key.size());
    at = end + 1;
  }
  return "";
}

// The session of a copy "<session>-<n>.dfm": its path up to the last '-'.
std::string SessionOf(const std::string& copyFile) { return copyFile.substr(0, copyFile.rfind('-')); }

std::vector<fs::path> SessionInfos(const std::string& session) {
  std::vector<fs::path> infos;
  const fs::path prefix(session + "-");
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(prefix.parent_path(), ec)) {
    const std::string name = entry.path().string();
    if (name.starts_with(prefix.string()) && entry.path().extension() == KvInfoExt) infos.push_back(entry.path());
  }
  return infos;
}

}  // namespace

TKvRecovery::TKvRecovery(TComponent* timerOwner) : FTimer(new TTimer(timerOwner)), FFolder(DefaultFolder()) {
  FTimer->SetEnabled(false);
  FTimer->SetOnTimer([this](TObject* sender) { OnTimer(sender); });
}

// A session that ends this way closed its designs: nothing is left to recover.
TKvRecovery::~TKvRecovery() {
  FTimer->SetOnTimer({});
  while (!FCopies.empty()) Forget(FCopies.begin()->first);
  EndSession();
}

// The session holds its lock only while it has copies, so a clean exit leaves nothing behind.
void TKvRecovery::EndSession() {
  if (!FLock) return;
  FLock.reset();
  if (!FKeepSession) DeleteFile(FSession + KvLockExt);
  FSession.clear();
}

std::string TKvRecovery::DefaultFolder() { return GetUserDataDir() + "/KvKit/recovery"; }

void TKvRecovery::SetFolder(const std::string& folder) {
  if (folder == FFolder) return;
  // The copies move with the designs: written again in the new folder.
  while (!FCopies.empty()) Forget(FCopies.begin()->first);
  EndSession();
  FFolder = folder;
}

void TKvRecovery::Changed(TKFormDesigner* design) {
  if (FFolder.empty() || !design || design->FIsLiveForm) return;
  FCopies[design].Pending = true;
  const auto now = std::chrono::steady_clock::now();
  if (!FWrote || now - FLastWrite >= FInterval) {
    WritePending();
  } else if (!FTimer->GetEnabled()) {
    auto wait = std::chrono::duration_cast<std::chrono::milliseconds>(FInterval - (now - FLastWrite));
    FTimer->SetInterval(static_cast<unsigned>(std::max<int64_t>(wait.count(), 1)));
    FTimer->SetEnabled(true);
  }
}

void TKvRecovery::WriteNow(TKFormDesigner* design) {
  if (FFolder.empty() || !design || design->FIsLiveForm) return;
  Write(design, FCopies[design]);
}

void TKvRecovery::Keep(TKFormDesigner* design) {
  auto it = FCopies.find(design);
  if (FFolder.empty() || !design->FModified || design->FIsLiveForm) return Forget(design);
  if (it == FCopies.end()) it = FCopies.emplace(design, TCopy{}).first;
  Write(design, it->second);
  if (it->second.Pending) return Forget(design);  // not written: nothing to keep
  FKeepSession = true;
  FCopies.erase(it);
}

void TKvRecovery::Forget(TKFormDesigner* design) {
  auto it = FCopies.find(design);
  if (it == FCopies.end()) return;
  if (!it->second.Base.empty()) {
    DeleteFile(it->second.Base + KvInfoExt);
    DeleteFile(it->second.Base + ".dfm");
  }
  FCopies.erase(it);
  if (FCopies.empty() && !FKeepSession) EndSession();
}

std::string TKvRecovery::CopyOf(TKFormDesigner* design) const {
  auto it = FCopies.find(design);
  return it == FCopies.end() || it->second.Base.empty() ? "" : it->second.Base + ".dfm";
}

void TKvRecovery::OnTimer(TObject*) { WritePending(); }

void TKvRecovery::WritePending() {
  FTimer->SetEnabled(false);
  FLastWrite = std::chrono::steady_clock::now();
  FWrote = true;
  for (auto& [design, copy] : FCopies)
    if (copy.Pending) Write(design, copy);
}

// A copy that cannot be written must not get in the user's way: the design itself is whole, and
// the next change tries again.
void TKvRecovery::Write(TKFormDesigner* design, TCopy& copy) {
  if (!StartSession() || design->IsTornDown()) return;
  if (copy.Base.empty())
    copy.Base = FSession + "-" + std::to_string(FNextNumber++);
  try {
    // The info file last: a copy counts once both are whole.
    design->WriteFormCopy(copy.Base + ".dfm");
    WriteFileAtomic(copy.Base + KvInfoExt, InfoText(design));
    copy.Pending = false;
  } catch (const Exception&) {
  }
}

bool TKvRecovery::StartSession() {
  if (FLock) return true;
  if (FFolder.empty() || !ForceDirectories(FFolder)) return false;
  const auto stamp = std::chrono::duration_cast<std::chrono::milliseconds>(
      std::chrono::system_clock::now().time_since_epoch());
  FSession = FFolder + "/kv" + std::to_string(::getpid()) + "_" + std::to_string(stamp.count());
  FLock = TFileLock::TryAcquire(FSession + KvLockExt);
  return FLock != nullptr;
}

std::vector<TKvRecoveredDesign> TKvRecovery::Orphans() {
  std::vector<TKvRecoveredDesign> found;
  std::error_code ec;
  if (FFolder.empty()) return found;
  for (const auto& entry : fs::directory_iterator(FFolder, ec)) {
    if (entry.path().extension() != KvLockExt) continue;
    std::string session = entry.path().string();
    session.resize(session.size() - std::string(KvLockExt).size());
    if (session == FSession || !TFileLock::TryAcquire(entry.path().string())) continue;  // ours, or running
    const std::vector<fs::path> infos = SessionInfos(session);
    if (infos.empty()) DeleteFile(entry.path().string());  // a session that ended before its first copy
    for (const fs::path& info : infos) {
      TKvRecoveredDesign copy;
      copy.CopyFile = fs::path(info).replace_extension(".dfm").string();
      if (!FileExists(copy.CopyFile)) continue;
      std::string text;
      try {
        text = ReadFileBytes(info.string());
      } catch (const Exception&) {
        continue;
      }
      copy.FileName = InfoValue(text, "FileName");
      copy.FormName = InfoValue(text, "FormName");
      copy.Saved = InfoValue(text, "Saved");
      found.push_back(copy);
    }
  }
  std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) { return a.Saved < b.Saved; });
  return found;
}

void TKvRecovery::Discard(const TKvRecoveredDesign& copy) {
  DeleteFile(ChangeFileExt(copy.CopyFile, KvInfoExt));
  DeleteFile(copy.CopyFile);
  const std::string session = SessionOf(copy.CopyFile);
  if (SessionInfos(session).empty()) DeleteFile(session + KvLockExt);
}
