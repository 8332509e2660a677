// Db: datasets, data sources and data links.
#include "Db.h"

#include <algorithm>

using namespace DBConsts;

KV_IMPLEMENT_CLASS(TDataSet, "Db") {}
KV_IMPLEMENT_CLASS(TDataSource, "Db") {
  b.Prop("AutoEdit", &TDataSource::GetAutoEdit, &TDataSource::SetAutoEdit).Default(true);
  b.Prop("DataSet", &TDataSource::GetDataSet, &TDataSource::SetDataSet);
  b.Prop("Enabled", &TDataSource::GetEnabled, &TDataSource::SetEnabled).Default(true);
  b.Prop("OnStateChange", &TDataSource::OnStateChange);
  b.Prop("OnDataChange", &TDataSource::OnDataChange);
  b.Prop("OnUpdateData", &TDataSource::OnUpdateData);
}
KV_IMPLEMENT_CLASS(TDataLink, "Db") {}
KV_IMPLEMENT_CLASS(TFieldDataLink, "Db") {}

// =============================================================================================
// TFields

TField* TFields::Fields(int i) const {
  if (i < 0 || i >= Count()) throw EDatabaseError(SFieldIndexError);
  return FList[i];
}

TField* TFields::FindField(std::string_view name) const {
  for (TField* f : FList)
    if (SameText(f->GetFieldName(), name)) return f;
  return nullptr;
}

TField* TFields::FieldByName(std::string_view name) const {
  TField* f = FindField(name);
  if (!f) throw EDatabaseError(Format(SFieldNotFound, name));
  return f;
}

int TFields::IndexOf(const TField* f) const {
  auto it = std::find(FList.begin(), FList.end(), f);
  return it == FList.end() ? -1 : static_cast<int>(it - FList.begin());
}

TField* TFields::FieldByNumber(int fieldNo) const {
  for (TField* f : FList)
    if (f->FieldNo() == fieldNo) return f;
  return nullptr;
}

// =============================================================================================
// TDataSet

TDataSet::TDataSet(TComponent* owner) : TComponent(owner), FFields(this), FFieldDefs(new TFieldDefs) {
  FFieldDefs->SetOwnerPersistent(this);
}

TDataSet::~TDataSet() {
  // Data sources drop us here; our owner's event handlers may already be gone, so the
  // dataset closes without calling them.
  Destroying();
  if (GetActive()) {
    InternalClose();
    FRows.clear();
    FState = dsInactive;
  }
  // Persistent fields go with their dataset, although the form owns them, as in the VCL.
  while (!FFields.FList.empty()) delete FFields.FList.back();
  delete FFieldDefs;
}

void TDataSet::CheckActive() const {
  if (FState == dsInactive) DatabaseError(SDataSetClosed);
}

void TDataSet::CheckInactive() const {
  if (FState != dsInactive) DatabaseError(SDataSetOpen);
}

void TDataSet::SetActive(bool v) {
  if (InState(csReading) || InState(csLoading)) {
    FStreamedActive = v;
    return;
  }
  if (v == GetActive()) return;
  if (v) DoOpen();
  else DoClose();
}

void TDataSet::Loaded() {
  TComponent::Loaded();
  if (!FStreamedActive) return;
  try {
    SetActive(true);
  } catch (const EDatabaseError&) {
    // A designed form loads with its dataset closed when the database is out of reach;
    // a running program hears of it.
    if (!InState(csDesigning)) throw;
  }
}

void TDataSet::DoOpen() {
  if (BeforeOpen) BeforeOpen(this);
  FDefaultFields = FFields.Count() == 0;
  try {
    FRows.clear();
    InternalOpen(FRows);
    if (FDefaultFields) CreateFields();
    BindFields();
  } catch (...) {
    if (FDefaultFields) DestroyFields();
    FRows.clear();
    InternalClose();
    throw;
  }
  FRecNo = FRows.empty() ? -1 : 0;
  FBof = true;
  FEof = FRows.empty();
  FActiveRow = -1;
  SetState(dsBrowse);
  DataEvent(deDataSetChange);
  if (AfterOpen) AfterOpen(this);
}

void TDataSet::DoClose() {
  if (BeforeClose) BeforeClose(this);
  InternalClose();
  FRows.clear();
  FEditRow = {};
  FRecNo = -1;
  FBof = FEof = true;
  SetState(dsInactive);
  if (FDefaultFields) DestroyFields();
  for (TField* f : FFields.FList) f->FFieldNo = 0;
  if (AfterClose) AfterClose(this);
}

void TDataSet::UpdateFieldDefs() {
  if (!GetActive()) InternalInitFieldDefs();
}

void TDataSet::CreateFields() {
  for (int i = 0; i < FFieldDefs->Count(); ++i) {
    const TFieldDef* d = FFieldDefs->Items(i);
    if (DefaultFieldClass(d->GetDataType())) d->CreateField(this, this);
  }
}

void TDataSet::DestroyFields() {
  while (!FFields.FList.empty()) delete FFields.FList.back();
}

// Persistent fields find their column by name; a field whose column has gone cannot open.
void TDataSet::BindFields() {
  int slots = 0;
  for (TField* f : FFields.FList) {
    f->FFieldNo = 0;
    f->FCalcSlot = -1;
    if (f->FFieldKind == fkData) {
      int i = FFieldDefs->IndexOf(f->GetFieldName());
      if (i < 0) DatabaseError(Format(SFieldNotFound, f->GetFieldName()));
      f->FFieldNo = i + 1;
    } else {
      f->FCalcSlot = slots++;
    }
  }
  FCalcValues.assign(slots, TDbValue());
  FCalcRow = -2;
}

void TDataSet::AddField(TField* f) {
  CheckInactive();
  if (!f->GetFieldName().empty() && FindField(f->GetFieldName()))
    DatabaseError(Format(SDuplicateFieldName, f->GetFieldName()));
  FFields.FList.push_back(f);
  f->FDataSet = this;
  DataEvent(deFieldListChange);
}

void TDataSet::RemoveField(TField* f) {
  auto& list = FFields.FList;
  list.erase(std::remove(list.begin(), list.end(), f), list.end());
  f->FDataSet = nullptr;
  f->FFieldNo = 0;
  f->FCalcSlot = -1;
  DataEvent(deFieldListChange);
}

void TDataSet::GetChildren(const TGetChildProc& proc, TComponent* root) {
  for (TField* f : std::vector<TField*>(FFields.FList))
    if (f->Owner() == root) proc(f);
}

void TDataSet::SetChildOrder(TComponent* child, int order) {
  if (auto* f = Cast<TField>(child); f && f->GetDataSet() == this) f->SetIndex(order);
}

void TDataSet::GetFieldNames(TStrings* list) const {
  list->BeginUpdate();
  list->Clear();
  if (FFields.Count() > 0) {
    for (TField* f : FFields.FList) list->Add(f->GetFieldName());
  } else {
    const_cast<TDataSet*>(this)->UpdateFieldDefs();
    for (int i = 0; i < FFieldDefs->Count(); ++i) list->Add(FFieldDefs->Items(i)->GetName());
  }
  list->EndUpdate();
}

// ---------------------------------------------------------------------------------------------
// Rows and values

int TDataSet::RecordCount() const { return static_cast<int>(FRows.size()); }

int TDataSet::ViewCount() const { return RecordCount() + (FState == dsInsert ? 1 : 0); }

const TDbRow* TDataSet::RowAtView(int i) const {
  if (i < 0 || i >= ViewCount()) return nullptr;
  if ((FState == dsEdit || FState == dsInsert) && i == FRecNo) return &FEditRow;
  if (FState == dsInsert && i > FRecNo) --i;
  return &FRows[i];
}

const TDbRow* TDataSet::ActiveRow() const { return RowAtView(FActiveRow >= 0 ? FActiveRow : FRecNo); }

const TDbValue& TDataSet::FieldValue(const TField* f) const {
  static const TDbValue null;
  if (f->FCalcSlot >= 0) {
    int row = FActiveRow >= 0 ? FActiveRow : FRecNo;
    if (FCalcRow != row && !FCalculating) CalculateFields(row);
    return FCalcValues[f->FCalcSlot];
  }
  const TDbRow* r = ActiveRow();
  if (!r || f->FFieldNo <= 0 || f->FFieldNo > static_cast<int>(r->Values.size())) return null;
  return r->Values[f->FFieldNo - 1];
}

// Calculated values belong to one row at a time; a grid painting other rows recomputes them.
void TDataSet::CalculateFields(int row) const {
  std::fill(FCalcValues.begin(), FCalcValues.end(), TDbValue());
  FCalcRow = row;
  if (!OnCalcFields || !RowAtView(row)) return;
  auto* self = const_cast<TDataSet*>(this);
  int savedActive = FActiveRow;
  self->FActiveRow = row;
  FCalculating = true;
  try {
    OnCalcFields(self);
  } catch (...) {
    FCalculating = false;
    self->FActiveRow = savedActive;
    throw;
  }
  FCalculating = false;
  self->FActiveRow = savedActive;
}

void TDataSet::SetFieldValue(TField* f, const TDbValue& v) {
  if (f->FCalcSlot >= 0 && FCalculating) {
    FCalcValues[f->FCalcSlot] = v;
    return;
  }
  if (FState != dsEdit && FState != dsInsert) DatabaseError(SNotEditing);
  if (f->FReadOnly || f->FFieldKind != fkData || f->FFieldNo <= 0)
    DatabaseError(Format(SFieldReadOnly, f->GetDisplayLabel()));
  TDbValue& slot = FEditRow.Values[f->FFieldNo - 1];
  TDbValue old = slot;
  slot = v;
  // OnValidate sees the new value through the field; refusing restores the old one.
  if (f->OnValidate) {
    try {
      f->OnValidate(f);
    } catch (...) {
      slot = std::move(old);
      throw;
    }
  }
  FModified = true;
  if (FAutoCalcFields) FCalcRow = -2;
  if (f->OnChange) f->OnChange(f);
  DataEvent(deFieldChange, f);
}

// ---------------------------------------------------------------------------------------------
// Navigation

int TDataSet::GetRecNo() const { return FState == dsInsert || FRecNo < 0 ? 0 : FRecNo + 1; }

void TDataSet::SetRecNo(int v) {
  CheckBrowseMode();
  if (RecordCount() == 0) return;
  MoveBy(std::clamp(v, 1, RecordCount()) - 1 - FRecNo);
}

void TDataSet::Scrolled(int oldRecNo) {
  FActiveRow = -1;
  if (FRecNo != oldRecNo) DataEvent(deDataSetScroll, nullptr, FRecNo - oldRecNo);
  if (AfterScroll) AfterScroll(this);
}

void TDataSet::First() {
  CheckBrowseMode();
  if (BeforeScroll) BeforeScroll(this);
  FRecNo = FRows.empty() ? -1 : 0;
  FBof = true;
  FEof = FRows.empty();
  FActiveRow = -1;
  DataEvent(deDataSetChange);
  if (AfterScroll) AfterScroll(this);
}

void TDataSet::Last() {
  CheckBrowseMode();
  if (BeforeScroll) BeforeScroll(this);
  FRecNo = RecordCount() - 1;
  FEof = true;
  FBof = FRows.empty();
  FActiveRow = -1;
  DataEvent(deDataSetChange);
  if (AfterScroll) AfterScroll(this);
}

int TDataSet::MoveBy(int distance) {
  CheckBrowseMode();
  if (distance == 0) return 0;
  if (BeforeScroll) BeforeScroll(this);
  int old = FRecNo, n = RecordCount();
  int target = FRecNo + distance;
  if (distance > 0) {
    FEof = target >= n;
    FBof = false;
    target = std::min(target, n - 1);
  } else {
    FBof = target < 0;
    FEof = false;
    target = std::max(target, 0);
  }
  if (n == 0) {
    FBof = FEof = true;
    target = -1;
  }
  FRecNo = target;
  Scrolled(old);
  return FRecNo - old;
}

// ---------------------------------------------------------------------------------------------
// Editing

void TDataSet::CheckCanModify() const {
  if (!CanModify()) DatabaseError(SDataSetReadOnly);
}

void TDataSet::SetState(TDataSetState s) {
  if (FState == s) return;
  FState = s;
  FModified = false;
  DataEvent(deUpdateState);
}

void TDataSet::CheckBrowseMode() {
  CheckActive();
  DataEvent(deCheckBrowseMode);
  if (FState == dsEdit || FState == dsInsert) {
    UpdateRecord();
    if (FModified) Post();
    else Cancel();
  }
}

void TDataSet::UpdateRecord() {
  if (FState != dsEdit && FState != dsInsert) DatabaseError(SNotEditing);
  DataEvent(deUpdateRecord);
}

void TDataSet::Edit() {
  if (FState == dsEdit || FState == dsInsert) return;
  CheckActive();
  if (FRows.empty()) return Insert();
  CheckCanModify();
  if (BeforeEdit) BeforeEdit(this);
  FEditRow = FRows[FRecNo];
  SetState(dsEdit);
  DataEvent(deRecordChange);
  if (AfterEdit) AfterEdit(this);
}

void TDataSet::Insert() {
  CheckBrowseMode();
  CheckCanModify();
  if (BeforeInsert) BeforeInsert(this);
  if (BeforeScroll) BeforeScroll(this);
  FInsertFrom = FRecNo;
  FRecNo = std::max(FRecNo, 0);
  FEditRow = TDbRow{0, std::vector<TDbValue>(FFieldDefs->Count())};
  FActiveRow = -1;
  FBof = FEof = false;
  SetState(dsInsert);
  if (OnNewRecord) OnNewRecord(this);
  DataEvent(deDataSetChange);
  if (AfterInsert) AfterInsert(this);
  if (AfterScroll) AfterScroll(this);
}

void TDataSet::Append() {
  CheckBrowseMode();
  CheckCanModify();
  if (BeforeInsert) BeforeInsert(this);
  if (BeforeScroll) BeforeScroll(this);
  FInsertFrom = FRecNo;
  FRecNo = RecordCount();
  FEditRow = TDbRow{0, std::vector<TDbValue>(FFieldDefs->Count())};
  FActiveRow = -1;
  FBof = false;
  FEof = true;
  SetState(dsInsert);
  if (OnNewRecord) OnNewRecord(this);
  DataEvent(deDataSetChange);
  if (AfterInsert) AfterInsert(this);
  if (AfterScroll) AfterScroll(this);
}

void TDataSet::CheckRequiredFields() {
  for (TField* f : FFields.FList)
    if (f->FRequired && f->FFieldKind == fkData && f->IsNull()) {
      f->FocusControl();
      DatabaseError(Format(SFieldRequired, f->GetDisplayLabel()));
    }
}

// When the engine refuses the row, the dataset stays in its edit state with every value kept.
void TDataSet::Post() {
  CheckActive();
  if (FState != dsEdit && FState != dsInsert) return;
  UpdateRecord();
  DataEvent(deCheckBrowseMode);
  if (BeforePost) BeforePost(this);
  CheckRequiredFields();
  TDbRow row = FEditRow;
  bool inserting = FState == dsInsert;
  InternalPost(row, inserting ? nullptr : &FRows[FRecNo]);
  if (inserting) FRows.insert(FRows.begin() + FRecNo, std::move(row));
  else FRows[FRecNo] = std::move(row);
  FEditRow = {};
  SetState(dsBrowse);
  DataEvent(deDataSetChange);
  if (AfterPost) AfterPost(this);
}

void TDataSet::Cancel() {
  if (FState != dsEdit && FState != dsInsert) return;
  if (BeforeCancel) BeforeCancel(this);
  if (FState == dsInsert) FRecNo = std::min(FInsertFrom, RecordCount() - 1);
  FEditRow = {};
  FBof = FEof = FRows.empty();
  SetState(dsBrowse);
  DataEvent(deDataSetChange);
  if (AfterCancel) AfterCancel(this);
}

void TDataSet::Delete() {
  CheckActive();
  if (FState == dsInsert) return Cancel();
  if (FRows.empty()) DatabaseError(SDataSetEmpty);
  DataEvent(deCheckBrowseMode);
  CheckCanModify();
  if (BeforeDelete) BeforeDelete(this);
  if (BeforeScroll) BeforeScroll(this);
  InternalDelete(FRows[FRecNo]);
  FRows.erase(FRows.begin() + FRecNo);
  FRecNo = std::min(FRecNo, RecordCount() - 1);
  FEditRow = {};
  FBof = FEof = FRows.empty();
  FActiveRow = -1;
  if (FState == dsEdit) SetState(dsBrowse);
  DataEvent(deDataSetChange);
  if (AfterDelete) AfterDelete(this);
  if (AfterScroll) AfterScroll(this);
}

// ---------------------------------------------------------------------------------------------
// Notifying data sources

void TDataSet::DisableControls() {
  if (FDisableCount++ == 0) FDisabledState = FState;
}

void TDataSet::EnableControls() {
  if (FDisableCount == 0 || --FDisableCount > 0) return;
  if (FDisabledState != FState) DataEvent(deUpdateState);
  DataEvent(deDataSetChange);
}

void TDataSet::DataEvent(TDataEvent event, TField* field, int info) {
  if (event != deFieldChange && event != deUpdateRecord && event != deCheckBrowseMode && event != deFocusControl &&
      !FCalculating)
    FCalcRow = -2;
  if (ControlsDisabled()) return;
  for (TDataSource* ds : std::vector<TDataSource*>(FDataSources)) ds->DataEvent(event, field, info);
}

// =============================================================================================
// TDataSource

TDataSource::TDataSource(TComponent* owner) : TComponent(owner) {}

TDataSource::~TDataSource() {
  Destroying();
  SetDataSet(nullptr);
  for (TDataLink* l : std::vector<TDataLink*>(FLinks)) l->SetDataSource(nullptr);
}

void TDataSource::SetDataSet(TDataSet* ds) {
  if (ds == FDataSet) return;
  if (FDataSet) {
    auto& list = FDataSet->FDataSources;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    FDataSet->RemoveFreeNotification(this);
  }
  FDataSet = ds;
  if (ds) {
    ds->FDataSources.push_back(this);
    ds->FreeNotification(this);
  }
  UpdateState();
}

void TDataSource::SetEnabled(bool v) {
  FEnabled = v;
  UpdateState();
}

bool TDataSource::IsLinkedTo(const TDataSet* ds) const { return ds && FDataSet == ds; }

void TDataSource::Edit() {
  if (FAutoEdit && FState == dsBrowse) FDataSet->Edit();
}

void TDataSource::Notification(TComponent* c, TOperation op) {
  TComponent::Notification(c, op);
  if (op == opRemove && c == FDataSet) SetDataSet(nullptr);
}

void TDataSource::UpdateState() {
  TDataSetState s = FEnabled && FDataSet ? FDataSet->State() : dsInactive;
  if (s == FState) return;
  FState = s;
  for (TDataLink* l : std::vector<TDataLink*>(FLinks)) l->UpdateState();
  if (OnStateChange) OnStateChange(this);
}

void TDataSource::DataEvent(TDataEvent event, TField* field, int info) {
  if (event == deUpdateState) return UpdateState();
  if (FState == dsInactive) return;
  for (TDataLink* l : std::vector<TDataLink*>(FLinks)) l->DataEvent(event, field, info);
  switch (event) {
    case deFieldChange:
      if (OnDataChange) OnDataChange(this, field);
      break;
    case deRecordChange:
    case deDataSetChange:
    case deDataSetScroll:
    case deLayoutChange:
      if (OnDataChange) OnDataChange(this, nullptr);
      break;
    case deUpdateRecord:
      if (OnUpdateData) OnUpdateData(this);
      break;
    default: break;
  }
}

// =============================================================================================
// TDataLink

TDataLink::~TDataLink() {
  if (FDataSource) {
    auto& list = FDataSource->FLinks;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
  }
}

void TDataLink::SetDataSource(TDataSource* ds) {
  if (ds == FDataSource) return;
  if (FDataSource) {
    auto& list = FDataSource->FLinks;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
  }
  FDataSource = ds;
  if (ds) ds->FLinks.push_back(this);
  UpdateState();
}

void TDataLink::SetReadOnly(bool v) {
  FReadOnly = v;
  UpdateState();
}

void TDataLink::UpdateState() {
  TDataSetState s = FDataSource ? FDataSource->State() : dsInactive;
  SetActive(s != dsInactive);
  SetEditing((s == dsEdit || s == dsInsert) && !FReadOnly);
}

void TDataLink::SetActive(bool v) {
  if (v == FActive) return;
  FActive = v;
  FFirstRow = 0;
  if (v) FitWindow();
  ActiveChanged();
}

void TDataLink::SetEditing(bool v) {
  if (v == FEditing) return;
  FEditing = v;
  EditingChanged();
}

bool TDataLink::Edit() {
  if (!FReadOnly && FDataSource) FDataSource->Edit();
  return FEditing;
}

void TDataLink::UpdateRecord() {
  FUpdating = true;
  try {
    UpdateData();
  } catch (...) {
    FUpdating = false;
    throw;
  }
  FUpdating = false;
}

void TDataLink::SetBufferCount(int v) {
  FBufferCount = std::max(1, v);
  FitWindow();
}

// Keeps the current record inside the window, moving the window as little as it can.
void TDataLink::FitWindow() {
  TDataSet* ds = DataSet();
  if (!ds || !FActive) return;
  int cur = std::max(ds->FRecNo, 0), n = ds->ViewCount();
  if (cur < FFirstRow) FFirstRow = cur;
  if (cur >= FFirstRow + FBufferCount) FFirstRow = cur - FBufferCount + 1;
  if (FFirstRow + FBufferCount > n) FFirstRow = std::max(0, n - FBufferCount);
}

int TDataLink::RecordCount() const {
  TDataSet* ds = DataSet();
  if (!ds || !FActive) return 0;
  return std::clamp(ds->ViewCount() - FFirstRow, 0, FBufferCount);
}

int TDataLink::GetActiveRecord() const {
  TDataSet* ds = DataSet();
  if (!ds || !FActive) return 0;
  return (ds->FActiveRow >= 0 ? ds->FActiveRow : std::max(ds->FRecNo, 0)) - FFirstRow;
}

void TDataLink::SetActiveRecord(int v) {
  TDataSet* ds = DataSet();
  if (!ds || !FActive) return;
  int row = FFirstRow + v;
  ds->FActiveRow = row == ds->FRecNo ? -1 : row;
}

void TDataLink::DataEvent(TDataEvent event, TField* field, int) {
  switch (event) {
    case deFieldChange:
    case deRecordChange:
      if (!FUpdating) RecordChanged(field);
      break;
    case deDataSetChange:
      FitWindow();
      DataSetChanged();
      break;
    case deDataSetScroll: {
      int old = FFirstRow;
      FitWindow();
      DataSetScrolled(FFirstRow - old);
      break;
    }
    case deLayoutChange:
    case deFieldListChange:
      FitWindow();
      LayoutChanged();
      break;
    case deUpdateRecord: UpdateRecord(); break;
    case deCheckBrowseMode: CheckBrowseMode(); break;
    case deFocusControl: FocusControl(field); break;
    default: break;
  }
}

// =============================================================================================
// TFieldDataLink

void TFieldDataLink::SetFieldName(const std::string& v) {
  if (v == FFieldName) return;
  FFieldName = v;
  UpdateField(true);
}

// A running control bound to a field that does not exist is an error the user must see when
// its dataset opens; while designing, or while fields come and go, the link just lets go.
void TFieldDataLink::UpdateField(bool mayRaise) {
  TField* f = nullptr;
  if (Active() && !FFieldName.empty()) {
    bool strict = mayRaise && !(Control && Control->InState(csDesigning));
    f = strict ? DataSet()->FieldByName(FFieldName) : DataSet()->FindField(FFieldName);
  }
  if (f == FField) return;
  FField = f;
  EditingChanged();
  RecordChanged(nullptr);
}

bool TFieldDataLink::CanModify() const { return !GetReadOnly() && FField && FField->GetCanModify(); }

bool TFieldDataLink::Edit() {
  if (CanModify()) TDataLink::Edit();
  return Editing();
}

void TFieldDataLink::Reset() { RecordChanged(nullptr); }

void TFieldDataLink::ActiveChanged() {
  UpdateField(true);
  if (OnActiveChange) OnActiveChange(this);
}

void TFieldDataLink::EditingChanged() {
  if (OnEditingChange) OnEditingChange(this);
}

void TFieldDataLink::LayoutChanged() { UpdateField(false); }

void TFieldDataLink::RecordChanged(TField* field) {
  if (field && field != FField) return;
  FModified = false;
  if (OnDataChange) OnDataChange(this);
}

void TFieldDataLink::UpdateData() {
  if (!FModified) return;
  if (FField && OnUpdateData) OnUpdateData(this);
  FModified = false;
}
