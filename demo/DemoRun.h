// DemoRun: the Run command of the demo. It builds the program's view of a design: a new live
// (not designed) form read from the design's form stream as its form file would hold it, so
// that its data-aware controls show the data of the host's tables.
#pragma once

#include <iosfwd>

#include "Forms.h"
#include "KvDsgn.h"

// Streams the design's form into a new form owned by the application and shows it; closing the
// form frees it. The engine's own controls (handles, icons) and the event assignments are left
// out: nothing in the host implements the handlers. Read errors reach the caller and leave no
// form behind.
TForm* RunDesign(TKFormDesigner* design);

// One line per component of form: "Form.Name: Class", followed for a control by its text in
// double quotes, with line breaks written as \r and \n.
void ReportForm(TCustomForm* form, std::ostream& out);
