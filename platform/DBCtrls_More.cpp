// The navigator, the data-aware radio group and the lookup combo box.
#include <algorithm>

#include "DBCtrls.h"
#include "Dialogs.h"

namespace {

constexpr int kButtonCount = 10;
const char* const kDefaultHints[kButtonCount] = {"First record",  "Prior record",  "Next record", "Last record",
                                                 "Insert record", "Delete record", "Edit record", "Post edit",
                                                 "Cancel edit",   "Refresh data"};
const char* const kButtonNames[kButtonCount] = {"First",  "Prior", "Next", "Last",   "Insert",
                                                "Delete", "Edit",  "Post", "Cancel", "Refresh"};

// The glyph of a button, drawn in black on the button face (the bottom-left pixel, which
// speed buttons treat as transparent).
void DrawNavGlyph(TNavigateBtn kind, TBitmap* bmp) {
  bmp->SetWidth(11);
  bmp->SetHeight(11);
  TCanvas* c = bmp->Canvas();
  c->GetBrush()->SetColor(clBtnFace);
  c->FillRect(Rect(0, 0, 11, 11));
  c->GetPen()->SetColor(clBlack);
  c->GetBrush()->SetColor(clBlack);
  auto left = [c](int x) { c->Polygon({{x + 4, 1}, {x + 4, 9}, {x, 5}}); };
  auto right = [c](int x) { c->Polygon({{x, 1}, {x, 9}, {x + 4, 5}}); };
  auto bar = [c](int x) { c->FillRect(Rect(x, 1, x + 2, 10)); };
  switch (kind) {
    case nbFirst: bar(1), left(4); break;
    case nbPrior: left(3); break;
    case nbNext: right(3); break;
    case nbLast: right(2), bar(8); break;
    case nbInsert: c->FillRect(Rect(1, 4, 10, 6)), c->FillRect(Rect(4, 1, 6, 10)); break;
    case nbDelete: c->FillRect(Rect(1, 4, 10, 6)); break;
    case nbEdit: c->Polygon({{1, 7}, {9, 7}, {5, 3}}); break;
    case nbPost:
      c->MoveTo(1, 5), c->LineTo(4, 8), c->LineTo(10, 2);
      c->MoveTo(1, 6), c->LineTo(4, 9), c->LineTo(10, 3);
      break;
    case nbCancel:
      // Clear of the bottom-left pixel: it holds the transparent colour.
      c->MoveTo(1, 1), c->LineTo(9, 9), c->MoveTo(2, 1), c->LineTo(10, 9);
      c->MoveTo(9, 1), c->LineTo(1, 9), c->MoveTo(10, 1), c->LineTo(2, 9);
      break;
    case nbRefresh:
      c->GetBrush()->SetStyle(bsClear);
      c->Ellipse(1, 1, 10, 10);
      c->GetBrush()->SetStyle(bsSolid);
      c->GetBrush()->SetColor(clBtnFace);
      c->FillRect(Rect(6, 0, 11, 5));
      c->GetBrush()->SetColor(clBlack);
      c->Polygon({{6, 0}, {10, 4}, {6, 4}});
      break;
  }
}

bool IsEditing(TDataSet* ds) { return ds->State() == dsEdit || ds->State() == dsInsert; }

}  // namespace

KV_IMPLEMENT_CLASS(TDBNavigator, "DBCtrls") {
  PublishControlProperties(b, {"Align", "Anchors"});
  b.Prop("ConfirmDelete", &TDBNavigator::GetConfirmDelete, &TDBNavigator::SetConfirmDelete).Default(true);
  PublishControlProperties(b, {"Constraints", "Ctl3D"});
  b.Prop("DataSource", &TDBNavigator::GetDataSource, &TDBNavigator::SetDataSource);
  PublishControlProperties(b, {"DragCursor", "DragKind", "DragMode", "Enabled"});
  b.Prop("Flat", &TDBNavigator::GetFlat, &TDBNavigator::SetFlat).Default(false);
  b.Prop("Hints", &TDBNavigator::GetHints, &TDBNavigator::SetHints).StoredMethod(&TDBNavigator::IsHintsStored, false);
  PublishControlProperties(b, {"ParentCtl3D", "ParentShowHint", "PopupMenu", "ShowHint", "TabOrder", "TabStop"});
  b.Prop("VisibleButtons", &TDBNavigator::GetVisibleButtons, &TDBNavigator::SetVisibleButtons)
      .Default(TButtonSet{nbFirst, nbPrior, nbNext, nbLast, nbInsert, nbDelete, nbEdit, nbPost, nbCancel, nbRefresh});
  PublishControlProperties(b, {"Visible"});
  b.Prop("BeforeAction", &TDBNavigator::BeforeAction);
  b.Prop("OnClick", &TDBNavigator::OnClick);
  PublishControlProperties(
      b, {"OnDblClick", "OnDragDrop", "OnDragOver", "OnEndDrag", "OnEnter", "OnExit", "OnResize", "OnStartDrag"});
}

KV_IMPLEMENT_CLASS(TDBRadioGroup, "DBCtrls") {
  b.Prop("ItemIndex", &TCustomRadioGroup::GetItemIndex, &TCustomRadioGroup::SetItemIndex).Default(-1).Stored(false);
  PublishDataLink(b);
  b.Prop("ReadOnly", &TDBRadioGroup::GetReadOnly, &TDBRadioGroup::SetReadOnly).Default(false);
  b.Prop("Values", &TDBRadioGroup::GetValues, &TDBRadioGroup::SetValues);
}

KV_IMPLEMENT_CLASS(TDBLookupComboBox, "DBCtrls") {
  PublishControlProperties(b, {"Anchors", "Color", "Constraints", "Ctl3D"});
  PublishDataLink(b);
  PublishControlProperties(b, {"DragCursor", "DragKind", "DragMode"});
  b.Prop("DropDownCount", &TCustomComboBox::GetDropDownCount, &TCustomComboBox::SetDropDownCount).Default(8);
  PublishControlProperties(b, {"Enabled", "Font", "ImeMode", "ImeName"});
  b.Prop("KeyField", &TDBLookupComboBox::GetKeyField, &TDBLookupComboBox::SetKeyField);
  b.Prop("ListField", &TDBLookupComboBox::GetListField, &TDBLookupComboBox::SetListField);
  b.Prop("ListSource", &TDBLookupComboBox::GetListSource, &TDBLookupComboBox::SetListSource);
  PublishControlProperties(b, {"ParentColor", "ParentCtl3D", "ParentFont", "ParentShowHint", "PopupMenu"});
  b.Prop("ReadOnly", &TDBLookupComboBox::GetReadOnly, &TDBLookupComboBox::SetReadOnly).Default(false);
  PublishControlProperties(b, {"ShowHint", "TabOrder", "TabStop", "Visible", "OnClick", "OnDragDrop", "OnDragOver",
                               "OnEndDrag", "OnEnter", "OnExit", "OnKeyDown", "OnKeyPress", "OnKeyUp", "OnStartDrag"});
}

// ---------------------------------------------------------------------------------------------
// TDBNavigator

class TDBNavigator::TNavDataLink : public TDataLink {
 public:
  explicit TNavDataLink(TDBNavigator* nav) : FNav(nav) {}

 protected:
  void ActiveChanged() override { FNav->UpdateButtons(); }
  void DataSetChanged() override { FNav->UpdateButtons(); }
  void EditingChanged() override { FNav->UpdateButtons(); }

 private:
  TDBNavigator* FNav;
};

TDBNavigator::TDBNavigator(TComponent* AOwner)
    : TCustomPanel(AOwner), FLink(std::make_unique<TNavDataLink>(this)), FHints(new TStringList) {
  SetBevelOuter(bvNone);
  SetCaption("");
  for (int i = 0; i < kButtonCount; ++i) {
    auto kind = static_cast<TNavigateBtn>(i);
    auto* btn = new TSpeedButton(this);
    DrawNavGlyph(kind, btn->GetGlyph());
    btn->OnClick = [this, kind](TObject*) { BtnClick(kind); };
    btn->SetParent(this);
    FButtons[i] = btn;
  }
  static_cast<TStringList*>(FHints)->OnChange = [this](TObject*) { UpdateHints(); };
  UpdateHints();
  SetBounds(GetLeft(), GetTop(), 240, 25);
  UpdateButtons();
}

TDBNavigator::~TDBNavigator() {
  Destroying();
  FLink->SetDataSource(nullptr);
  delete FHints;
}

TDataSource* TDBNavigator::GetDataSource() const { return FLink->GetDataSource(); }

void TDBNavigator::SetDataSource(TDataSource* v) {
  FLink->SetDataSource(v);
  UpdateButtons();
}

void TDBNavigator::SetVisibleButtons(TButtonSet v) {
  FVisibleButtons = v;
  for (int i = 0; i < kButtonCount; ++i) FButtons[i]->SetVisible(v.Contains(static_cast<TNavigateBtn>(i)));
  ArrangeButtons();
}

void TDBNavigator::SetFlat(bool v) {
  FFlat = v;
  for (TSpeedButton* b : FButtons) b->SetFlat(v);
}

void TDBNavigator::UpdateHints() {
  for (int i = 0; i < kButtonCount; ++i) {
    std::string h = i < FHints->Count() ? FHints->Get(i) : "";
    FButtons[i]->SetHint(h.empty() ? kDefaultHints[i] : h);
  }
}

void TDBNavigator::BoundsChanged() {
  TCustomPanel::BoundsChanged();
  ArrangeButtons();
}

// The visible buttons share the width; what does not divide evenly is split around them.
void TDBNavigator::ArrangeButtons() {
  int n = 0;
  for (TSpeedButton* b : FButtons) n += b->GetVisible() ? 1 : 0;
  if (n == 0) return;
  int w = GetWidth() / n, x = (GetWidth() - w * n) / 2;
  for (TSpeedButton* b : FButtons) {
    if (!b->GetVisible()) continue;
    b->SetBounds(x, 0, w, GetHeight());
    x += w;
  }
}

void TDBNavigator::UpdateButtons() {
  if (InState(csDesigning)) return;
  TDataSet* ds = FLink->Active() ? FLink->DataSet() : nullptr;
  bool active = ds != nullptr;
  bool editing = active && IsEditing(ds);
  bool canModify = active && ds->CanModify();
  bool up = active && !ds->Bof(), down = active && !ds->Eof();
  const bool enabled[kButtonCount] = {up,
                                      up,
                                      down,
                                      down,
                                      canModify,
                                      canModify && !ds->IsEmpty(),
                                      canModify && !editing,
                                      editing,
                                      editing,
                                      active && !editing};
  for (int i = 0; i < kButtonCount; ++i) FButtons[i]->SetEnabled(enabled[i]);
}

void TDBNavigator::BtnClick(TNavigateBtn button) {
  if (InState(csDesigning) || !FLink->Active()) return;
  BeforeAction(this, button);
  TDataSet* ds = FLink->DataSet();
  switch (button) {
    case nbFirst: ds->First(); break;
    case nbPrior: ds->Prior(); break;
    case nbNext: ds->Next(); break;
    case nbLast: ds->Last(); break;
    case nbInsert: ds->Insert(); break;
    case nbDelete:
      if (!FConfirmDelete ||
          MessageDlg(DBConsts::SDeleteRecordQuestion, mtConfirmation, TMsgDlgButtons{mbOK, mbCancel}) == mrOk)
        ds->Delete();
      break;
    case nbEdit: ds->Edit(); break;
    case nbPost: ds->Post(); break;
    case nbCancel: ds->Cancel(); break;
    case nbRefresh: {
      // Reads the table again, staying on the same record number.
      int recNo = ds->GetRecNo();
      ds->DisableControls();
      try {
        ds->Close();
        ds->Open();
        if (recNo > 0) ds->SetRecNo(std::min(recNo, ds->RecordCount()));
      } catch (...) {
        ds->EnableControls();
        throw;
      }
      ds->EnableControls();
      break;
    }
  }
  OnClick(this, button);
}

// ---------------------------------------------------------------------------------------------
// TDBRadioGroup

TDBRadioGroup::TDBRadioGroup(TComponent* AOwner)
    : TRadioGroup(AOwner),
      TDataAware(
          this, [this] { DataChange(); }, [this] { UpdateData(); }),
      FValues(new TStringList) {
  static_cast<TStringList*>(FValues)->OnChange = [this](TObject*) { DataChange(); };
}

TDBRadioGroup::~TDBRadioGroup() { delete FValues; }

void TDBRadioGroup::Loaded() {
  TRadioGroup::Loaded();
  DataChange();
}

std::string TDBRadioGroup::GetValue() const {
  int i = GetItemIndex();
  if (i < 0 || i >= GetItems()->Count()) return "";
  return i < FValues->Count() ? FValues->Get(i) : GetItems()->Get(i);
}

void TDBRadioGroup::DataChange() {
  TField* f = Field();
  if (!f) return SetItemIndex(-1);
  std::string text = f->GetText();
  int i = FValues->IndexOf(text);
  if (i < 0) i = GetItems()->IndexOf(text);
  SetItemIndex(i);
}

void TDBRadioGroup::UpdateData() { Field()->SetText(GetValue()); }

// Starting the edit re-reads the record, which would put back the old choice: keep the new one.
void TDBRadioGroup::Click() {
  const int chosen = GetItemIndex();
  if (FLink.Edit()) {
    SetItemIndex(chosen);
    FLink.Modified();
    FLink.UpdateRecord();
  } else {
    DataChange();  // not editable: the selection goes back to the field's value
  }
  TRadioGroup::Click();
}

// ---------------------------------------------------------------------------------------------
// TDBLookupComboBox

// Follows the list source with a window wide enough for all its records, so the items are read
// without moving the list's dataset.
class TDBLookupComboBox::TListLink : public TDataLink {
 public:
  explicit TListLink(TDBLookupComboBox* combo) : FCombo(combo) {}

 protected:
  void ActiveChanged() override { FCombo->ListChanged(); }
  void DataSetChanged() override { FCombo->ListChanged(); }
  void LayoutChanged() override { FCombo->ListChanged(); }

 private:
  TDBLookupComboBox* FCombo;
};

TDBLookupComboBox::TDBLookupComboBox(TComponent* AOwner)
    : TCustomComboBox(AOwner),
      TDataAware(
          this, [this] { DataChange(); }, [this] { UpdateData(); }),
      FListLink(std::make_unique<TListLink>(this)) {
  SetStyle(csDropDownList);
}

TDBLookupComboBox::~TDBLookupComboBox() {
  Destroying();
  FListLink->SetDataSource(nullptr);
}

TDataSource* TDBLookupComboBox::GetListSource() const { return FListLink->GetDataSource(); }

void TDBLookupComboBox::SetListSource(TDataSource* v) {
  FListLink->SetDataSource(v);
  ListChanged();
}

void TDBLookupComboBox::SetListField(const std::string& v) {
  FListField = v;
  ListChanged();
}

void TDBLookupComboBox::SetKeyField(const std::string& v) {
  FKeyField = v;
  ListChanged();
}

void TDBLookupComboBox::SetKeyValue(const std::string& v) {
  FKeyValue = v;
  ShowKey();
}

void TDBLookupComboBox::ListChanged() {
  if (FUpdating || InState(csLoading)) return;
  FUpdating = true;
  TStrings* items = GetItems();
  items->Clear();
  FKeys.clear();
  if (InState(csDesigning)) {
    items->Add(GetName());
  } else if (FListLink->Active()) {
    TDataSet* ds = FListLink->DataSet();
    // ListField may name several fields; the list shows the first.
    TField* list = ds->FindField(Trim(FListField.substr(0, FListField.find(';'))));
    TField* key = ds->FindField(FKeyField);
    if (list && key) {
      FListLink->SetBufferCount(std::max(1, ds->RecordCount()));
      int old = FListLink->GetActiveRecord();
      for (int i = 0; i < FListLink->RecordCount(); ++i) {
        FListLink->SetActiveRecord(i);
        items->Add(list->GetDisplayText());
        FKeys.push_back(key->GetText());
      }
      FListLink->SetActiveRecord(old);
    }
  }
  FUpdating = false;
  ShowKey();
}

void TDBLookupComboBox::ShowKey() {
  FUpdating = true;
  if (InState(csDesigning)) {
    SetItemIndex(GetItems()->Count() > 0 ? 0 : -1);
  } else {
    auto it = std::find(FKeys.begin(), FKeys.end(), FKeyValue);
    SetItemIndex(it == FKeys.end() ? -1 : static_cast<int>(it - FKeys.begin()));
  }
  FUpdating = false;
}

void TDBLookupComboBox::DataChange() {
  if (TField* f = Field()) FKeyValue = f->GetText();
  else if (GetDataSource()) FKeyValue.clear();
  ShowKey();
}

void TDBLookupComboBox::UpdateData() { Field()->SetText(FKeyValue); }

void TDBLookupComboBox::Change() {
  if (FUpdating) return;
  int i = GetItemIndex();
  if (i >= 0 && i < static_cast<int>(FKeys.size())) {
    if (!Field()) {
      FKeyValue = FKeys[i];
    } else if (const std::string key = FKeys[i]; FLink.Edit()) {
      FKeyValue = key;  // starting the edit re-read the record's old key
      ShowKey();
      FLink.Modified();
      FLink.UpdateRecord();
    } else {
      ShowKey();  // not editable: back to the field's value
    }
  }
  TCustomComboBox::Change();
}
