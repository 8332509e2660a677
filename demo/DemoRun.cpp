#include "DemoRun.h"

#include <memory>
#include <ostream>

#include "Db.h"
#include "KvReader.h"

namespace {

// What the user typed in the live form but never posted is the live form's alone: closing it
// cancels the edits its data sources left open in the host's tables, so that neither the
// design (whose controls show the same tables) nor the next Run shows the value, and no later
// move in the table posts it.
void CancelUnpostedEdits(TComponent* form) {
  for (int i = 0; i < form->ComponentCount(); ++i) {
    auto* source = dynamic_cast<TDataSource*>(form->Components(i));
    TDataSet* data = source ? source->GetDataSet() : nullptr;
    if (data && (data->State() == dsEdit || data->State() == dsInsert)) data->Cancel();
  }
}

}  // namespace

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
  form->OnClose = [](TObject* sender, TCloseAction& action) {
    CancelUnpostedEdits(static_cast<TComponent*>(sender));
    action = caFree;
  };
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
