#include "StdReg.h"

#include "ActnList.h"
#include "Buttons.h"
#include "CheckLst.h"
#include "ComCtrls.h"
#include "DBCtrls.h"
#include "DBGrids.h"
#include "DbTables.h"
#include "Dialogs.h"
#include "ExtCtrlsMore.h"
#include "Forms.h"
#include "Mask.h"
#include "Menus.h"
#include "Spin.h"
#include "StdCtrls.h"
#include "Tabnotbk.h"

void RegisterStandardClasses() {
  static bool done = false;
  if (done) return;
  done = true;
  RegisterClasses({TForm::StaticClass(), TScrollBox::StaticClass()});
  RegisterStdCtrlsClasses();
  RegisterMaskClasses();
  RegisterCheckLstClasses();
  RegisterExtCtrlsClasses();
  RegisterExtCtrlsMoreClasses();
  RegisterButtonsClasses();
  RegisterMenusClasses();
  RegisterDialogsClasses();
  RegisterCommonControlClasses();
  RegisterTabnotbkClasses();
  RegisterSpinClasses();
  RegisterActnListClasses();
  RegisterDbClasses();
  RegisterDBCtrlsClasses();
  RegisterDBGridsClasses();
}
