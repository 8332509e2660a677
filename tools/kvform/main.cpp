// kvform: the command-line tool for form files.
//
// A subcommand is one row of kCommands: its name, its handler (declared in Commands.h) and a
// usage line. Exit status: 0 success, 1 the input or output failed, 2 wrong usage.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "Commands.h"
#include "DbTables.h"
#include "SysUtils.h"

namespace {

struct TCommand {
  const char* Name;
  TCommandHandler Handler;
  const char* Usage;
};

constexpr TCommand kCommands[] = {
    {"totext", CmdToText, "totext IN [OUT]     binary form file (resource or bare TPF0) to text"},
    {"tobinary", CmdToBinary, "tobinary IN OUT     text form file to a resource-framed binary file"},
    {"check", CmdCheck, "check FILE...       load form files, listing every problem"}, {"render", CmdRender, "render FILE OUT.png   screenshot of a form, offscreen"},
    {"glyph", CmdGlyph, "glyph ART.txt [--indent N]   Glyph.Data or Picture.Data lines of a pixel-art file"},
    {"inspect", CmdInspect, "inspect FILE [COMPONENT] [--kinds MASK]   the inspector's rows for a component"},
    {"resave", CmdResave, "resave IN OUT [--unit]   open a form file in a design and save it as OUT (and its unit)"},
    {"unit", CmdUnit, "unit IN             the unit source that saving a design of IN writes"},
};

void PrintUsage(std::FILE* f) {
  std::fprintf(f, "usage: kvform COMMAND ARGS...\n");
  for (const TCommand& c : kCommands) std::fprintf(f, "  kvform %s\n", c.Usage);
}

}  // namespace

int main(int argc, char** argv) {
  // Every command works on forms without showing them: no screen needed, unless one is asked for.
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  // Forms come from anywhere: loading one never writes to the databases it names.
  SetDatabasesReadOnly(true);
  if (argc < 2) {
    PrintUsage(stderr);
    return 2;
  }
  const std::string_view name = argv[1];
  if (name == "-h" || name == "--help" || name == "help") {
    PrintUsage(stdout);
    return 0;
  }
  for (const TCommand& c : kCommands) {
    if (name != c.Name) continue;
    TCommandContext ctx{std::vector<std::string>(argv + 2, argv + argc), ""};
    try {
      return c.Handler(ctx);
    } catch (const TUsageError& e) {
      std::fprintf(stderr, "kvform %s: %s\nusage: kvform %s\n", c.Name, e.what(), c.Usage);
      return 2;
    } catch (const std::exception& e) {
      std::fprintf(stderr, "kvform: %s: %s\n", ctx.Subject.c_str(), e.what());
      return 1;
    }
  }
  std::fprintf(stderr, "kvform: unknown command '%s'\n", argv[1]);
  PrintUsage(stderr);
  return 2;
}
