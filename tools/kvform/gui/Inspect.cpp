// kvform inspect: the rows an object inspector shows for a component of a form.
#include <cstdio>

#include "Commands.h"
#include "DsgnIntf.h"
#include "FormFile.h"
#include "Forms.h"

namespace {

std::string AttributeText(TPropertyAttributes a) {
  return SetToString(TypeInfoOf<TPropertyAttributes>(), a.Mask());
}

// One line per editor, sub-properties two blanks deeper; objects nest at most a few levels.
void PrintRows(TPropertyEditor* ed, int level) {
  std::string value;
  try {
    value = ed->AllEqual() ? ed->GetValue() : "";
  } catch (const Exception& e) {
    value = "<" + e.Message() + ">";
  }
  TPropertyAttributes attrs = ed->GetAttributes();
  std::printf("%s%s = %s  %s\n", std::string(2 * level, ' ').c_str(), ed->GetName().c_str(), value.c_str(),
              AttributeText(attrs).c_str());
  if (attrs.Contains(paSubProperties) && level < 8)
    ed->GetProperties([&](TPropertyEditor* sub) {
      std::unique_ptr<TPropertyEditor> owned(sub);
      PrintRows(sub, level + 1);
    });
}

}  // namespace

int CmdInspect(TCommandContext& ctx) {
  std::vector<std::string> args;
  TTypeKinds kinds = 0x0EFE;
  for (size_t i = 0; i < ctx.Args.size(); ++i) {
    if (ctx.Args[i] == "--kinds") {
      int v;
      if (i + 1 >= ctx.Args.size() || !TryStrToInt(ctx.Args[i + 1], v) || v < 0 || v > 0xFFFF)
        throw TUsageError("--kinds takes a 16-bit mask such as 0x0EFE or $0EFE");
      kinds = static_cast<TTypeKinds>(v);
      ++i;
    } else {
      args.push_back(ctx.Args[i]);
    }
  }
  if (args.empty() || args.size() > 2) throw TUsageError("expected FILE [COMPONENT] [--kinds MASK]");
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
  GetComponentProperties(&list, kinds, nullptr, [](TPropertyEditor* ed) {
    std::unique_ptr<TPropertyEditor> owned(ed);
    PrintRows(ed, 0);
  });
  return 0;
}
