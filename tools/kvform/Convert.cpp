// kvform totext / tobinary: conversion between binary and text form files.
#include <cstdio>

#include "Classes.h"
#include "Commands.h"

namespace {

std::string_view Contents(TMemoryStream& s) {
  return {reinterpret_cast<const char*>(s.Memory()), static_cast<size_t>(s.GetSize())};
}

}  // namespace

int CmdToText(TCommandContext& ctx) {
  if (ctx.Args.empty() || ctx.Args.size() > 2) throw TUsageError("expected IN [OUT]");
  ctx.Subject = ctx.Args[0];
  TMemoryStream in, out;
  in.LoadFromFile(ctx.Args[0]);
  // Form files come framed by a resource header or bare, starting at "TPF0".
  if (StreamHasResourceHeader(&in)) ObjectResourceToText(&in, &out);
  else ObjectBinaryToText(&in, &out);
  if (ctx.Args.size() == 2) {
    ctx.Subject = ctx.Args[1];
    WriteFileAtomic(ctx.Args[1], Contents(out));
  } else if (std::fwrite(out.Memory(), 1, out.GetSize(), stdout) != static_cast<size_t>(out.GetSize()) ||
             std::fflush(stdout) != 0) {
    throw EInOutError("Cannot write to standard output");
  }
  return 0;
}

int CmdToBinary(TCommandContext& ctx) {
  if (ctx.Args.size() != 2) throw TUsageError("expected IN OUT");
  ctx.Subject = ctx.Args[0];
  TMemoryStream in, out;
  in.LoadFromFile(ctx.Args[0]);
  ObjectTextToResource(&in, &out);
  ctx.Subject = ctx.Args[1];
  WriteFileAtomic(ctx.Args[1], Contents(out));
  return 0;
}
