// The corpus of real form files through `kvform check`: a file made only of classes the library
// registers loads without a problem; the others fail only for classes it does not know.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <regex>
#include <set>

namespace fs = std::filesystem;

namespace {

#ifndef KV_BIN_DIR
#define KV_BIN_DIR ""
#endif
#ifndef KV_CORPUS_DIR
#define KV_CORPUS_DIR ""
#endif

std::string RunCommand(const std::string& command) {
  std::string out;
  FILE* p = popen(command.c_str(), "r");
  if (!p) return out;
  char buf[4096];
  while (size_t n = fread(buf, 1, sizeof buf, p)) out.append(buf, n);
  pclose(p);
  return out;
}

TEST(CorpusLoad, StandardClassFormsLoadCleanlyOthersOnlyLackTheirClasses) {
  fs::path exe = fs::path(KV_BIN_DIR) / "kvform";
  fs::path corpus = KV_CORPUS_DIR;
  if (!fs::exists(exe) || !fs::exists(corpus / "binary")) GTEST_SKIP() << "kvform or the corpus is missing";
  std::string files;
  int count = 0;
  for (const char* dir : {"binary", "text"})
    for (const auto& e : fs::directory_iterator(corpus / dir)) {
      files += " '" + e.path().string() + "'";
      ++count;
    }
  std::string out = RunCommand("QT_QPA_PLATFORM=offscreen '" + exe.string() + "' check" + files + " 2>&1");
  // Per file: the unknown classes, and the problems that are not about an unknown class.
  std::map<std::string, std::set<std::string>> unknown;
  std::map<std::string, std::vector<std::string>> other;
  int ok = 0;
  const std::regex notFound("Class (\\w+) not found");
  size_t pos = 0;
  while (pos < out.size()) {
    size_t eol = out.find('\n', pos);
    std::string line = out.substr(pos, eol - pos);
    pos = eol == std::string::npos ? out.size() : eol + 1;
    size_t colon = line.find(".dfm: ");
    if (colon == std::string::npos) continue;
    std::string file = line.substr(0, colon + 4), rest = line.substr(colon + 6);
    std::smatch m;
    if (rest == "ok") ++ok;
    else if (std::regex_search(rest, m, notFound)) unknown[file].insert(m[1]);
    else other[file].push_back(rest);
  }
  EXPECT_EQ(ok + static_cast<int>(unknown.size() + other.size()) >= count, true) << out;
  EXPECT_GT(ok, 0);
  // Problems that belong to no class of the standard control units: data-access properties
  // (lookup fields among them) and database files of another machine, dialog options, the
  // form's MDI window menu, an inherited form without its ancestor's file, and Margins, which
  // came with Delphi 2006.
  const std::regex elsewhere(
      "Property (DataSource|UniDirectional|Required|WindowMenu|FileEditStyle|Margins|LookupDataSet|"
      "LookupKeyFields|LookupResultField|KeyFields|LookupCache|Lookup) does not exist|"
      "Ancestor for '\\w+' not found|unable to open database|Could not find file");
  for (const auto& [file, problems] : other) {
    // A component of an unknown class takes its children's properties with it; those files
    // are listed with their classes below and judged by them.
    if (unknown.count(file)) continue;
    for (const auto& p : problems)
      if (!std::regex_search(p, elsewhere)) ADD_FAILURE() << file << " uses only registered classes but: " << p;
  }
  for (const auto& [file, classes] : unknown) {
    std::string list;
    for (const auto& c : classes) list += " " + c;
    std::printf("not standard: %s:%s\n", fs::path(file).filename().c_str(), list.c_str());
  }
  std::printf("%d of %d corpus files load without a problem\n", ok, count);
}

}  // namespace
