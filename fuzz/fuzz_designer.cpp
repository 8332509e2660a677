// Fuzz target: the designer engine opens a form file (binary, framed or bare, or text) and saves
// it with its unit, as Open File and Save File As do. Either step may refuse with the library's
// errors; a design that was saved must open again.
#include <cstdlib>
#include <memory>

#include "FuzzForms.h"
#include "KvDsgn.h"

namespace {
std::unique_ptr<TKFormDesigner> FuzzOpen(const std::string& fileName) {
  return std::make_unique<TKFormDesigner>(nullptr, nullptr, fileName, nullptr);
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzRegisterClasses();
  TFuzzFile in("in.dfm", data, size), out("out.dfm"), unit("out.pas");
  try {
    FuzzOpen(in.Path())->WriteUnits(out.Path(), true);
  } catch (const Exception&) {
    return 0;
  }
  try {
    FuzzOpen(out.Path());
  } catch (const Exception&) {
    std::abort();
  }
  return 0;
}
