// kvform inspect: the rows the object inspector window shows for a component of a form, built
// by the window's own row list; --expand opens every row with sub-properties.
#include <cstdio>

#include "Commands.h"
#include "DsgnIntf.h"
#include "FormFile.h"
#include "Forms.h"
#include "KvObjIns.h"

namespace {

// One line per row, as the inspector window's two columns show it: the caption with its indent
// and mark, then the value text.
void PrintRows(const TKvInspectorRows& rows) {
  for (int i = 0; i < rows.Count(); ++i) {
    std::string name, value;
    try {
      value = rows.Value(i, false);
    } catch (const Exception& e) {
      value = "<" + e.Message() + ">";
    }
    std::printf("%s = %s\n", rows.Caption(i, name).c_str(), value.c_str());
  }
}

}  // namespace

int CmdInspect(TCommandContext& ctx) {
  std::vector<std::string> args;
  TTypeKinds kinds = 0x0EFE;
  bool expand = false;
  for (size_t i = 0; i < ctx.Args.size(); ++i) {
    if (ctx.Args[i] == "--expand") {
      expand = true;
    } else if (ctx.Args[i] == "--kinds") {
      int v;
      if (i + 1 >= ctx.Args.size() || !TryStrToInt(ctx.Args[i + 1], v) || v < 0 || v > 0xFFFF)
        throw TUsageError("--kinds takes a 16-bit mask such as 0x0EFE or $0EFE");
      kinds = static_cast<TTypeKinds>(v);
      ++i;
    } else {
      args.push_back(ctx.Args[i]);
    }
  }
  if (args.empty() || args.size() > 2) throw TUsageError("expected FILE [COMPONENT] [--kinds MASK] [--expand]");
  ctx.Subject = args[0];
  auto form = LoadFormFile(args[0], [](const std::string& path, const std::string& message) {
    std::fprintf(stderr, "kvform: warning: %s: %s\n", path.c_str(), message.c_str());
  });
  TComponent* target = form.get();
  if (args.size() == 2 && !SameText(args[1], form->GetName())) {
    target = form->FindComponent(args[1]);
    if (!target) throw EComponentError(Format("Component %s not found", args[1]));
  }
  TComponentList list;
  list.Add(target);
  TKvInspectorRows rows;
  rows.Build(&list, kinds, nullptr);
  if (expand) rows.ExpandAll();
  PrintRows(rows);
  return 0;
}
