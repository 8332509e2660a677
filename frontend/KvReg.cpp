#include "KvReg.h"

#include "KvClass.h"
#include "KvFrmDsg.h"
#include "KvObjIns.h"
#include "KvTbNtBk.h"
#include "Tabnotbk.h"

void KvReg::Register() {
  RegisterClasses({TKvSpeedButton::StaticClass(), TTabPage::StaticClass(), TKvTabPage::StaticClass()});
  RegisterComponents(
      "Korvata", {TKvTabbedNotebook::StaticClass(), TKvObjectInspector::StaticClass(), TKvFormDesigner::StaticClass()});
}
