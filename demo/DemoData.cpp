#include "DemoData.h"

#include <cstdlib>
#include <vector>

#include "SysUtils.h"

KV_IMPLEMENT_CLASS(TDemoFieldList, "DemoData") {}
KV_IMPLEMENT_CLASS(TDemoDataForm, "DemoData") {}

// =============================================================================================
// TDemoFieldList

TDemoFieldList::TDemoFieldList(TComponent* AOwner) : TListBox(AOwner), FDrag(this) { SetMultiSelect(true); }

TDemoFieldList::~TDemoFieldList() { EndDrag(false); }  // the drag object goes with the list

void TDemoFieldList::SetDataSet(TDataSet* dataSet) {
  if (FDataSet) FDataSet->RemoveFreeNotification(this);
  FDataSet = dataSet;
  Clear();
  if (!dataSet) return;
  dataSet->FreeNotification(this);
  dataSet->GetFieldNames(GetItems());
}

void TDemoFieldList::WndProc(TMessage& message) {
  // The drag begins only once the press has moved by the threshold, so that the list has
  // already taken the press as a selection click, and a press on nothing drags nothing.
  switch (message.Msg) {
    case WM_LBUTTONDOWN:
      FArmed = (message.WParam & (MK_SHIFT | MK_CONTROL)) == 0;
      FPressPos = TWMMouse(message).Pos();
      break;
    case WM_MOUSEMOVE: {
      TPoint p = TWMMouse(message).Pos();
      int threshold = Mouse ? Mouse->DragThreshold : 5;
      if (FArmed && !Dragging() && SelCount() > 0 &&
          (std::abs(p.X - FPressPos.X) >= threshold || std::abs(p.Y - FPressPos.Y) >= threshold))
        BeginDrag(true);
      break;
    }
    case WM_LBUTTONUP: FArmed = false; break;
    default: break;
  }
  TListBox::WndProc(message);
}

void TDemoFieldList::DefaultHandler(TMessage& message) {
  // While a plain press is held the list does not turn moves into a new range selection, which
  // would drop the fields the user selected before pressing.
  if (FArmed && message.Msg == WM_MOUSEMOVE) return;
  TListBox::DefaultHandler(message);
}

void TDemoFieldList::Notification(TComponent* AComponent, TOperation Operation) {
  TListBox::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FDataSet) {
    FDataSet = nullptr;
    if (!InState(csDestroying)) Clear();
  }
}

void TDemoFieldList::DoStartDrag(TDragObject*& dragObject) {
  FDrag.FieldList->Clear();
  for (int i = 0; FDataSet && i < GetItems()->Count(); ++i)
    if (GetSelected(i)) FDrag.FieldList->Add(FDataSet->FieldByName(GetItems()->Get(i)));
  dragObject = &FDrag;
  TListBox::DoStartDrag(dragObject);
}

// =============================================================================================
// TDemoDataForm

TDemoDataForm::TDemoDataForm(TComponent* AOwner) : TForm(AOwner) {
  SetName("DemoData");
  SetCaption("Fields");
  SetBorderStyle(bsSizeToolWin);
  SetColor(clBtnFace);

  TableCombo = new TComboBox(this);
  TableCombo->SetStyle(csDropDownList);
  TableCombo->SetAlign(alTop);
  TableCombo->SetParent(this);
  TableCombo->OnChange = [this](TObject* sender) { TableComboChange(sender); };

  FieldList = new TDemoFieldList(this);
  FieldList->SetAlign(alClient);
  FieldList->SetParent(this);
}

void TDemoDataForm::OpenDatabase(const std::string& databaseFile) {
  std::vector<std::string> names;
  {
    TQuery query(nullptr);
    query.SetDatabaseName(databaseFile);
    // In the order they were created, which is the order the database's author chose.
    query.GetSQL()->SetText(
        "SELECT name FROM sqlite_master WHERE type = 'table' "
        "AND name NOT LIKE 'sqlite!_%' ESCAPE '!' ORDER BY rowid");
    query.Open();
    for (; !query.Eof(); query.Next()) names.push_back(query.Fields()[0]->GetAsString());
  }
  for (const std::string& name : names) {
    auto* table = new TTable(this);
    try {
      // A form file refers to the table by this name; a table name that is no identifier
      // gets a numbered one.
      std::string componentName = name;
      for (int n = 1; !IsValidIdent(componentName) || FindComponent(componentName); ++n)
        componentName = "Table" + IntToStr(n);
      table->SetName(componentName);
      table->SetDatabaseName(databaseFile);
      table->SetTableName(name);
      table->Open();
    } catch (...) {
      delete table;
      throw;
    }
    TableCombo->GetItems()->AddObject(name, table);
    if (TableCombo->GetItemIndex() < 0) SelectTable(name);
  }
}

TTable* TDemoDataForm::SelectedTable() const {
  int i = TableCombo->GetItemIndex();
  return i < 0 ? nullptr : static_cast<TTable*>(TableCombo->GetItems()->GetObject(i));
}

void TDemoDataForm::SelectTable(const std::string& tableName) {
  TableCombo->SetItemIndex(TableCombo->GetItems()->IndexOf(tableName));
  FieldList->SetDataSet(SelectedTable());
}

void TDemoDataForm::TableComboChange(TObject*) { FieldList->SetDataSet(SelectedTable()); }
