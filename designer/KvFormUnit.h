// KvFormUnit: the Pascal unit source of a designed form, built from what a save gathers from the
// form image (the reader's unit names, field lines and event sections). A pure function, so the
// text can be checked without a design or a file.
#pragma once

#include <string>

#include "Classes.h"

// The unit `unitName` declaring `formClassName` (derived from TForm) with the field lines as
// given, one handler declaration and one empty body per handler named in `events`, and the form
// variable (the class name without its first character). Lines end with CR LF. The uses clause
// lists `units` in order, wrapped after the name that takes a line past 70 characters; with no
// units there is no uses clause.
std::string FormUnitText(const std::string& unitName, const std::string& formClassName, const TStrings& units,
                         const TStrings& fields, const TStrings& events);
