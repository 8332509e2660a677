// kvform render: shows a form offscreen and saves what it looks like as a PNG file.
#include <cstdio>

#include "Classes.h"
#include "Commands.h"
#include "Consts.h"
#include "FormFile.h"
#include "Forms.h"
#include "SysUtils.h"
#include "qt/QtStdCtrls.h"

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
  ctx.Subject = ctx.Args[1];  // from here on a failure is the output's, not the form's
  if (!qtstd::SavePng(&shot, ctx.Args[1])) {
    // The encoder gives no reason; opening the file ourselves does (and throws it) when the
    // file is what failed.
    TFileStream probe(ctx.Args[1], fmCreate);
    throw EFCreateError(Format(SFCreateError, ctx.Args[1]) + ": the PNG encoder failed");
  }
  return 0;
}
