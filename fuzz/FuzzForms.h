// Shared by the fuzz targets that read into live components: every registered class, and
// databases opened read-only, as kvform and the designer load forms from strangers.
#pragma once

#include "DbTables.h"
#include "Forms.h"
#include "FuzzSupport.h"
#include "StdReg.h"

inline void FuzzRegisterClasses() {
  static const bool once = (RegisterStandardClasses(), SetDatabasesReadOnly(true), true);
  (void)once;
}

// Reads the stream into the form as `kvform check` does: handler names are accepted without
// code, and every recoverable problem is passed over so that reading goes on. The library's
// own errors are a refusal; anything else leaves the target as a finding.
inline bool FuzzReadForm(TMemoryStream& stream, TForm* form) {
  try {
    TReader reader(&stream, 4096);
    reader.OnFindMethod = [](TReader*, const std::string&, const TMethodEntry*& address, bool& error) {
      address = nullptr;
      error = false;
    };
    reader.OnError = [](TReader*, const std::string&, bool& handled) { handled = true; };
    reader.ReadRootComponent(form);
    return true;
  } catch (const Exception&) {
    return false;
  }
}
