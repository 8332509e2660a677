// DemoData: the host's data, and the field list from which the user drags database fields onto
// a designed form.
//
// The window owns one open TTable per table of the sample database, named after the table, as a
// Delphi application keeps its tables on a data module. A designed form never owns these
// tables: the data source that a field drop creates points to one of them, so its form file
// records the reference as "DemoData.EMPLOYEE", and whatever reads that file in this program
// (opening it again, or the Run command) finds the table by name among the screen's forms.
#pragma once

#include <string>

#include "DbTables.h"
#include "Forms.h"
#include "KvClass.h"
#include "StdCtrls.h"

// A multi-select list of a data set's fields. Pressing on it (without Shift or Ctrl) and moving
// by the drag threshold drags the selected fields as a TKvDragField.
class TDemoFieldList : public TListBox {
  KV_CLASS(TDemoFieldList, TListBox)
 public:
  explicit TDemoFieldList(TComponent* AOwner);
  ~TDemoFieldList() override;
  // Lists the fields of dataSet (none for nullptr).
  void SetDataSet(TDataSet* dataSet);
  TDataSet* DataSet() const { return FDataSet; }
  void WndProc(TMessage& message) override;
  void DefaultHandler(TMessage& message) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

 protected:
  void DoStartDrag(TDragObject*& dragObject) override;

 private:
  TKvDragField FDrag;
  TDataSet* FDataSet = nullptr;
  bool FArmed = false;  // a plain press that may become a drag
  TPoint FPressPos;
};

// The "Fields" tool window: a combo box of the database's tables and the chosen table's fields.
class TDemoDataForm : public TForm {
  KV_CLASS(TDemoDataForm, TForm)
 public:
  explicit TDemoDataForm(TComponent* AOwner);
  // Opens every table of the SQLite file databaseFile and shows the first one's fields. The
  // database's error reaches the caller; the tables opened before it stay listed.
  void OpenDatabase(const std::string& databaseFile);

  // The table shown in the field list, or nullptr.
  TTable* SelectedTable() const;
  void SelectTable(const std::string& tableName);

  TComboBox* TableCombo;
  TDemoFieldList* FieldList;

 private:
  void TableComboChange(TObject* sender);
};
