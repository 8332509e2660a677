#include "StdReg.h"

#include "ComCtrls.h"
#include "ComCtrls.h"
#include "DbTables.h"
#include "Forms.h"
#include "StdCtrls.h"

void RegisterStandardClasses() {
  static bool done = false;
  if (done) return;
  done = true;
  RegisterClasses({TForm::StaticClass()});
  RegisterDbClasses();
  RegisterCommonControlClasses();
  RegisterCommonControlClasses();
  RegisterStdCtrlsClasses();
}
