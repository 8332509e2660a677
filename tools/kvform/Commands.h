// kvform's subcommands. Each one lives in its own source file and is listed in main.cpp's table.
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

// Wrong arguments: main prints the command's usage and exits with status 2.
class TUsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Arguments after the subcommand name. A handler returns the exit status; an Exception it lets
// escape is reported as "kvform: <Subject>: <message>" with status 1.
struct TCommandContext {
  std::vector<std::string> Args;
  std::string Subject;  // the file being worked on, named in error messages
};

using TCommandHandler = int (*)(TCommandContext& ctx);

int CmdToText(TCommandContext& ctx);
int CmdToBinary(TCommandContext& ctx);

// The commands that need live forms, in the module kvform-gui (see GuiModule.h), which exports
// each under its own name.
extern "C" {
int CmdCheck(TCommandContext& ctx);
int CmdRender(TCommandContext& ctx);
int CmdGlyph(TCommandContext& ctx);
int CmdInspect(TCommandContext& ctx);
int CmdResave(TCommandContext& ctx);
int CmdUnit(TCommandContext& ctx);
}
