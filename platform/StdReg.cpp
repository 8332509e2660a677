#include "StdReg.h"

#include "ADODB.h"
#include "ActnList.h"
#include "Buttons.h"
#include "CheckLst.h"
#include "ColorGrd.h"
#include "ComCtrls.h"
#include "DBActns.h"
#include "DBCtrls.h"
#include "DBGrids.h"
#include "DbTables.h"
#include "Dialogs.h"
#include "ExtCtrls.h"
#include "FileCtrl.h"
#include "Forms.h"
#include "Gauges.h"
#include "Grids.h"
#include "MPlayer.h"
#include "Mask.h"
#include "Menus.h"
#include "Spin.h"
#include "StdActns.h"
#include "StdCtrls.h"
#include "Tabnotbk.h"
#include "XPMan.h"

void RegisterStandardClasses() {
  static bool done = false;
  if (done) return;
  done = true;
  RegisterClasses({TForm::StaticClass(), TScrollBox::StaticClass()});
  RegisterStdCtrlsClasses();
  RegisterMaskClasses();
  RegisterCheckLstClasses();
  RegisterExtCtrlsClasses();
  RegisterButtonsClasses();
  RegisterMenusClasses();
  RegisterDialogsClasses();
  RegisterCommonControlClasses();
  RegisterTabnotbkClasses();
  RegisterSpinClasses();
  RegisterFileCtrlClasses();
  RegisterMPlayerClasses();
  RegisterColorGrdClasses();
  RegisterCoolBarClasses();
  RegisterActnListClasses();
  RegisterStdActnsClasses();
  RegisterDbClasses();
  RegisterDBActnsClasses();
  RegisterADODBClasses();
  RegisterGaugesClasses();
  RegisterXPManClasses();
  RegisterDBCtrlsClasses();
  RegisterDBGridsClasses();
}

void RegisterStandardComponents() {
  // Also the classes that appear in streams only (tab sheets, menu items, fields, ...) and the
  // property editors that go with the units.
  RegisterStandardClasses();
  RegisterComponents("Standard", {TMainMenu::StaticClass(), TPopupMenu::StaticClass(), TLabel::StaticClass(),
                                  TEdit::StaticClass(), TMemo::StaticClass(), TButton::StaticClass(),
                                  TCheckBox::StaticClass(), TRadioButton::StaticClass(), TListBox::StaticClass(),
                                  TComboBox::StaticClass(), TScrollBar::StaticClass(), TGroupBox::StaticClass(),
                                  TRadioGroup::StaticClass(), TPanel::StaticClass(), TActionList::StaticClass()});
  RegisterComponents("Additional", {TBitBtn::StaticClass(), TSpeedButton::StaticClass(), TStringGrid::StaticClass(),
                                    TDrawGrid::StaticClass(), TImage::StaticClass(), TShape::StaticClass(),
                                    TBevel::StaticClass(), TSplitter::StaticClass(), TStaticText::StaticClass()});
  RegisterComponents("Win32", {TTabControl::StaticClass(), TPageControl::StaticClass(), TImageList::StaticClass(),
                               TRichEdit::StaticClass(), TTrackBar::StaticClass(), TProgressBar::StaticClass(),
                               TUpDown::StaticClass(), TDateTimePicker::StaticClass(), TTreeView::StaticClass(),
                               TListView::StaticClass(), THeaderControl::StaticClass(), TStatusBar::StaticClass(),
                               TToolBar::StaticClass(), TCoolBar::StaticClass(), TXPManifest::StaticClass()});
  RegisterComponents("System", {TTimer::StaticClass(), TPaintBox::StaticClass(), TMediaPlayer::StaticClass()});
  RegisterComponents("Data Access", {TDataSource::StaticClass(), TTable::StaticClass(), TQuery::StaticClass(),
                                     TDatabase::StaticClass(), TSession::StaticClass()});
  RegisterComponents(
      "Data Controls",
      {TDBGrid::StaticClass(), TDBNavigator::StaticClass(), TDBText::StaticClass(), TDBEdit::StaticClass(),
       TDBMemo::StaticClass(), TDBImage::StaticClass(), TDBListBox::StaticClass(), TDBComboBox::StaticClass(),
       TDBCheckBox::StaticClass(), TDBRadioGroup::StaticClass(), TDBLookupComboBox::StaticClass()});
  RegisterComponents("ADO", {TADOConnection::StaticClass(), TADOCommand::StaticClass(), TADODataSet::StaticClass(),
                             TADOTable::StaticClass(), TADOQuery::StaticClass(), TADOStoredProc::StaticClass()});
  RegisterComponents("Dialogs",
                     {TOpenDialog::StaticClass(), TSaveDialog::StaticClass(), TOpenPictureDialog::StaticClass(),
                      TSavePictureDialog::StaticClass(), TFontDialog::StaticClass(), TColorDialog::StaticClass(),
                      TPrintDialog::StaticClass(), TPrinterSetupDialog::StaticClass(), TFindDialog::StaticClass(),
                      TReplaceDialog::StaticClass()});
  RegisterComponents("Win 3.1",
                     {TDirectoryListBox::StaticClass(), TFileListBox::StaticClass(), TDriveComboBox::StaticClass(),
                      TFilterComboBox::StaticClass(), THeader::StaticClass()});
  RegisterComponents("Samples", {TColorGrid::StaticClass(), TSpinButton::StaticClass(), TGauge::StaticClass()});
  // Parts of other components, which a designed form shows through their owners.
  RegisterNoIcon({TMenuItem::StaticClass(), TField::StaticClass(), TAction::StaticClass()});
}
