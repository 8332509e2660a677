// kvform: the command-line tool for form files.
//
// A subcommand is one row of kCommands: its name, its handler (declared in Commands.h) and a
// usage line. Exit status: 0 success, 1 the input or output failed, 2 wrong usage.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "Commands.h"
#include "GuiModule.h"
#include "SysUtils.h"

namespace {

struct TCommand {
  const char* Name;
  TCommandHandler Handler;  // nullptr: in the forms module, exported as ModuleSymbol
  const char* ModuleSymbol;
  const char* Usage;
};

constexpr TCommand kCommands[] = {
    {"totext", CmdToText, nullptr, "totext IN [OUT]     binary form file (resource or bare TPF0) to text"},
    {"tobinary", CmdToBinary, nullptr, "tobinary IN OUT     text form file to a resource-framed binary file"},
    {"check", nullptr, "CmdCheck", "check FILE...       load form files, listing every problem"},
    {"render", nullptr, "CmdRender", "render FILE OUT.png   screenshot of a form, offscreen"},
    {"glyph", nullptr, "CmdGlyph", "glyph ART.txt [--indent N]   Glyph.Data or Picture.Data lines of a pixel-art file"},
    {"inspect", nullptr, "CmdInspect",
     "inspect FILE [COMPONENT] [--kinds MASK] [--expand]   the inspector window's rows for a component"},
    {"resave", nullptr, "CmdResave",
     "resave IN OUT [--unit]   open a form file in a design and save it as OUT (and its unit)"},
    {"unit", nullptr, "CmdUnit", "unit IN             the unit source that saving a design of IN writes"},
};

void PrintUsage(std::FILE* f) {
  std::fprintf(f, "usage: kvform COMMAND ARGS...\n");
  for (const TCommand& c : kCommands) std::fprintf(f, "  kvform %s\n", c.Usage);
}

}  // namespace

int main(int argc, char** argv) {
  // Every command works on forms without showing them: no screen needed, unless one is asked for.
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
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
      TCommandHandler handler = c.Handler ? c.Handler : LoadGuiCommand(c.ModuleSymbol);
      return handler(ctx);
    } catch (const TUsageError& e) {
      std::fprintf(stderr, "kvform %s: %s\nusage: kvform %s\n", c.Name, e.what(), c.Usage);
      return 2;
    } catch (const std::exception& e) {
      if (ctx.Subject.empty()) std::fprintf(stderr, "kvform: %s\n", e.what());
      else std::fprintf(stderr, "kvform: %s: %s\n", ctx.Subject.c_str(), e.what());
      return 1;
    }
  }
  std::fprintf(stderr, "kvform: unknown command '%s'\n", argv[1]);
  PrintUsage(stderr);
  return 2;
}
