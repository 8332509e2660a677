// kvform resave / unit: a form file through the designer engine's loading and saving, as the
// designer opens it (OpenForm) and saves it (Save, Generate Unit As).
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>

#include "Commands.h"
#include "KvDsgn.h"
#include "StdReg.h"

namespace fs = std::filesystem;

namespace {

// An engine on the form file, offscreen, without designer or inspector component.
std::unique_ptr<TKFormDesigner> OpenDesign(const std::string& fileName) {
  RegisterStandardClasses();
  return std::make_unique<TKFormDesigner>(nullptr, nullptr, fileName, nullptr);
}

// A folder of its own under the system's temporary folder, removed with everything in it.
class TTempFolder {
 public:
  TTempFolder() {
    std::string pattern = (fs::temp_directory_path() / "kvform-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw EFCreateError("Cannot create a temporary folder");
    FPath = pattern;
  }
  ~TTempFolder() {
    std::error_code ec;
    fs::remove_all(FPath, ec);
  }
  TTempFolder(const TTempFolder&) = delete;
  TTempFolder& operator=(const TTempFolder&) = delete;
  const fs::path& Path() const { return FPath; }

 private:
  fs::path FPath;
};

bool IsUnitFile(const fs::path& p) { return SameText(p.extension().string(), ".pas"); }

}  // namespace

int CmdResave(TCommandContext& ctx) {
  std::vector<std::string> files;
  bool writeUnit = false;
  for (const std::string& a : ctx.Args) {
    if (a == "--unit") writeUnit = true;
    else files.push_back(a);
  }
  if (files.size() != 2) throw TUsageError("expected IN OUT [--unit]");
  ctx.Subject = files[0];
  auto design = OpenDesign(files[0]);
  ctx.Subject = files[1];
  design->WriteUnits(files[1], writeUnit);
  return 0;
}

// The unit is the one a save under the same file name writes; it is saved into an empty folder
// of its own and printed from there.
int CmdUnit(TCommandContext& ctx) {
  if (ctx.Args.size() != 1) throw TUsageError("expected IN");
  ctx.Subject = ctx.Args[0];
  auto design = OpenDesign(ctx.Args[0]);
  TTempFolder folder;
  design->WriteUnits((folder.Path() / fs::path(ctx.Args[0]).filename()).string(), true);
  for (const auto& e : fs::directory_iterator(folder.Path())) {
    if (!IsUnitFile(e.path())) continue;
    const std::string text = ReadFileBytes(e.path().string());
    if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size() || std::fflush(stdout) != 0)
      throw EInOutError("Cannot write to standard output");
    return 0;
  }
  throw EFOpenError("No unit was written");
}
