#include "StdReg.h"

#include "ComCtrls.h"
#include "DBCtrls.h"
#include "DBGrids.h"
#include "DbTables.h"
#include "Dialogs.h"
#include "Forms.h"
#include "Menus.h"
#include "Spin.h"
#include "ActnList.h"
#include "Buttons.h"
#include "ExtCtrlsMore.h"
#include "Tabnotbk.h"

void RegisterStandardClasses() {
  static bool done = false;
  if (done) return;
  done = true;
  RegisterClasses({TForm::StaticClass()});
  RegisterDbClasses();
  RegisterDBCtrlsClasses();
  RegisterDBGridsClasses();
  RegisterCommonControlClasses();
  RegisterStdCtrlsClasses(), RegisterExtCtrlsClasses(), RegisterButtonsClasses();
  RegisterMenusClasses(), RegisterDialogsClasses();
  RegisterExtCtrlsMoreClasses();
  RegisterTabnotbkClasses();
  RegisterSpinClasses();
  RegisterActnListClasses();
}
