// kvform check: loads form files into live components and reports every problem met.
#include <cstdio>

#include "Commands.h"
#include "FormFile.h"
#include "Forms.h"

int CmdCheck(TCommandContext& ctx) {
  if (ctx.Args.empty()) throw TUsageError("expected FILE...");
  int status = 0;
  for (const std::string& file : ctx.Args) {
    int problems = 0;
    try {
      LoadFormFile(file, [&](const std::string& path, const std::string& message) {
        std::printf("%s: %s: %s\n", file.c_str(), path.c_str(), message.c_str());
        ++problems;
      });
    } catch (const std::exception& e) {
      // A file that cannot be read at all is one problem; the next file still gets its turn.
      std::printf("%s: %s\n", file.c_str(), e.what());
      ++problems;
    }
    if (problems == 0) std::printf("%s: ok\n", file.c_str());
    else status = 1;
  }
  return status;
}
