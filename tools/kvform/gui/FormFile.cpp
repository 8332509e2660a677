#include "FormFile.h"

#include <cstring>

#include "Classes.h"
#include "DbTables.h"
#include "Forms.h"
#include "StdReg.h"

namespace {

// Forms come from anywhere: loading one for any command never writes to the databases it names.
[[maybe_unused]] const bool KvFormDatabasesReadOnly = (SetDatabasesReadOnly(true), true);

// The form stream of a file, without its resource header: text files are converted first.
void FormStream(const std::string& fileName, TMemoryStream& out) {
  TMemoryStream in;
  in.LoadFromFile(fileName);
  const bool bare = in.GetSize() >= 4 && std::memcmp(in.Memory(), "TPF0", 4) == 0;
  if (StreamHasResourceHeader(&in)) {
    in.ReadResHeader();
    out.CopyFrom(&in, in.GetSize() - in.GetPosition());
  } else if (bare) {
    out.LoadFromStream(&in);
  } else {
    ObjectTextToBinary(&in, &out);
  }
  out.SetPosition(0);
}

}  // namespace

std::unique_ptr<TForm> LoadFormFile(const std::string& fileName, const TLoadProblemProc& onProblem) {
  RegisterStandardClasses();
  TMemoryStream stream;
  FormStream(fileName, stream);
  auto form = std::make_unique<TForm>(nullptr);
  TReader reader(&stream, 4096);
  reader.OnFindMethod = [](TReader*, const std::string&, const TMethodEntry*& address, bool& error) {
    address = nullptr;
    error = false;
  };
  if (onProblem)
    reader.OnError = [&](TReader* r, const std::string& message, bool& handled) {
      onProblem(ReaderComponentPath(r, form.get()), message);
      handled = true;
    };
  reader.ReadRootComponent(form.get());
  return form;
}
