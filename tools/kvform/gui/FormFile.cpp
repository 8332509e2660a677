#include "FormFile.h"

#include "DbTables.h"
#include "Forms.h"

namespace {
// Forms come from anywhere: loading one for any command never writes to the databases it names.
[[maybe_unused]] const bool KvFormDatabasesReadOnly = (SetDatabasesReadOnly(true), true);
}  // namespace

std::unique_ptr<TForm> LoadFormFile(const std::string& fileName, const TLoadProblemProc& onProblem) {
  TFormLoad load;
  load.OnProblem = onProblem;
  return LoadForm(fileName, load);
}
