#include "DemoRun.h"

#include <memory>
#include <ostream>

#include "KvReader.h"

TForm* RunDesign(TKFormDesigner* design) {
  TCustomForm* designed = design->GetForm();
  TMemoryStream image;
  image.WriteComponent(designed);
  image.SetPosition(0);

  // The reader that saving uses, in its collecting mode: it keeps what the engine lists and
  // takes the event assignments out.
  TKReader clean(&image);
  design->FilterFormStream(clean, nullptr, "");

  // References to the host's tables ("DemoData.EMPLOYEE") resolve among the screen's forms; the
  // root takes a free name when the design's own is taken.
  auto form = std::make_unique<TForm>(Application);
  clean.OutStream.SetPosition(0);
  clean.OutStream.ReadComponentRes(form.get());
  form->OnClose = [](TObject*, TCloseAction& action) { action = caFree; };
  form->Show();
  return form.release();
}

void ReportForm(TCustomForm* form, std::ostream& out) {
  for (int i = 0; i < form->ComponentCount(); ++i) {
    TComponent* c = form->Components(i);
    out << form->GetName() << '.' << c->GetName() << ": " << c->ClassName();
    if (auto* control = dynamic_cast<TControl*>(c)) {
      out << " \"";
      for (char ch : control->GetText()) {
        if (ch == '\r') out << "\\r";
        else if (ch == '\n') out << "\\n";
        else out << ch;
      }
      out << '"';
    }
    out << '\n';
  }
  out.flush();
}
