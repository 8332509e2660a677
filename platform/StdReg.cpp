#include "StdReg.h"

#include "DbTables.h"
#include "Forms.h"

void RegisterStandardClasses() {
  static bool done = false;
  if (done) return;
  done = true;
  RegisterClasses({TForm::StaticClass()});
  RegisterDbClasses();
}
