// kvform render: shows a form offscreen and saves what it looks like as a PNG file.
#include <cstdio>

#include "Commands.h"
#include "FormFile.h"
#include "Forms.h"

int CmdRender(TCommandContext& ctx) {
  if (ctx.Args.size() != 2) throw TUsageError("expected FILE OUT.png");
  ctx.Subject = ctx.Args[0];
  auto form = LoadFormFile(ctx.Args[0], [](const std::string& path, const std::string& message) {
    std::fprintf(stderr, "kvform: warning: %s: %s\n", path.c_str(), message.c_str());
  });
  form->SetPosition(poDesigned);
  form->Show();
  for (int i = 0; i < 5; ++i) Application->ProcessMessages();
  TBitmap shot;
  GrabWindow(form.get(), &shot, true);
  ctx.Subject = ctx.Args[1];
  shot.SaveToPngFile(ctx.Args[1]);
  return 0;
}
