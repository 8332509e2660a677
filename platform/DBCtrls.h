// DBCtrls: data-aware controls. Each shows one field of the current record of its data source
// and, when the user changes it, edits the record. In design state they show their own name
// and never touch the data.
#pragma once

#include "Buttons.h"
#include "Db.h"
#include "StdCtrls.h"

// The field link of a data-aware control, published by every such control as DataField and
// DataSource. The control answers the link through the three callbacks.
class TDataAware {
 public:
  TDataAware(TControl* control, std::function<void()> dataChange, std::function<void()> updateData,
             std::function<void()> editingChange = nullptr);
  std::string GetDataField() const { return FLink.GetFieldName(); }
  void SetDataField(const std::string& v);
  TDataSource* GetDataSource() const { return FLink.GetDataSource(); }
  void SetDataSource(TDataSource* v);
  TField* Field() const { return FLink.Field(); }
  TFieldDataLink* DataLink() { return &FLink; }

 protected:
  // The text a control shows: the field's text, its own name while designing, else nothing.
  std::string FieldText(bool forEditing) const;
  TFieldDataLink FLink;

 private:
  // While designing nothing is read from the data, so the control shows its name as soon as
  // it is linked.
  void RefreshWhileDesigning();
  TControl* FControl;
  std::function<void()> FDataChange;
};

// DataField and DataSource, published by every data-aware control after its own properties.
template <class C>
void PublishDataLink(TClassBuilder<C>& b) {
  b.Prop("DataField", &TDataAware::GetDataField, &TDataAware::SetDataField);
  b.Prop("DataSource", &TDataAware::GetDataSource, &TDataAware::SetDataSource);
}

class TDBEdit : public TEdit, public TDataAware {
  KV_CLASS(TDBEdit, TEdit)
 public:
  explicit TDBEdit(TComponent* AOwner);
  bool GetReadOnly() const { return FLink.GetReadOnly(); }
  void SetReadOnly(bool v);

 protected:
  void Change() override;
  void KeyPress(char& key) override;
  void KeyDown(uint16_t& key, TShiftState shift) override;
  void DoEnter() override;
  void DoExit() override;

 private:
  void DataChange();
  void UpdateData();
  void EditingChange();
  bool FFocused = false;
};

class TDBText : public TCustomLabel, public TDataAware {
  KV_CLASS(TDBText, TCustomLabel)
 public:
  explicit TDBText(TComponent* AOwner);

 private:
  void DataChange();
};

class TDBMemo : public TMemo, public TDataAware {
  KV_CLASS(TDBMemo, TMemo)
 public:
  explicit TDBMemo(TComponent* AOwner);
  bool GetReadOnly() const { return FLink.GetReadOnly(); }
  void SetReadOnly(bool v);

 protected:
  void Change() override;
  void KeyPress(char& key) override;
  void DoExit() override;

 private:
  void DataChange();
  void UpdateData();
  void EditingChange();
};

// Checked when the field's text is ValueChecked (or a Boolean field is True); a field whose
// value is neither shows the grayed state.
class TDBCheckBox : public TCheckBox, public TDataAware {
  KV_CLASS(TDBCheckBox, TCheckBox)
 public:
  explicit TDBCheckBox(TComponent* AOwner);
  bool GetReadOnly() const { return FLink.GetReadOnly(); }
  void SetReadOnly(bool v) { FLink.SetReadOnly(v); }
  std::string GetValueChecked() const { return FValueChecked; }
  void SetValueChecked(const std::string& v);
  std::string GetValueUnchecked() const { return FValueUnchecked; }
  void SetValueUnchecked(const std::string& v);
  bool IsValueCheckedStored() const { return FValueChecked != "True"; }
  bool IsValueUncheckedStored() const { return FValueUnchecked != "False"; }

 protected:
  void Toggle() override;

 private:
  void DataChange();
  void UpdateData();
  TCheckBoxState FieldState() const;
  std::string FValueChecked = "True";
  std::string FValueUnchecked = "False";
};

class TDBComboBox : public TComboBox, public TDataAware {
  KV_CLASS(TDBComboBox, TComboBox)
 public:
  explicit TDBComboBox(TComponent* AOwner);
  bool GetReadOnly() const { return FLink.GetReadOnly(); }
  void SetReadOnly(bool v) { FLink.SetReadOnly(v); }

 protected:
  void Change() override;
  void DoExit() override;

 private:
  void DataChange();
  void UpdateData();
};

class TDBListBox : public TListBox, public TDataAware {
  KV_CLASS(TDBListBox, TListBox)
 public:
  explicit TDBListBox(TComponent* AOwner);
  bool GetReadOnly() const { return FLink.GetReadOnly(); }
  void SetReadOnly(bool v) { FLink.SetReadOnly(v); }

 protected:
  void Click() override;

 private:
  void DataChange();
  void UpdateData();
};

// A picture held in a blob field (a BMP file, an icon, PNG, JPEG or GIF bytes, or Delphi's
// graphic-field layout with its 8-byte header).
class TDBImage : public TCustomControl, public TDataAware {
  KV_CLASS(TDBImage, TCustomControl)
 public:
  explicit TDBImage(TComponent* AOwner);
  ~TDBImage() override;
  TPicture* GetPicture() const { return FPicture; }
  bool GetStretch() const { return FStretch; }
  void SetStretch(bool v);
  bool GetCenter() const { return FCenter; }
  void SetCenter(bool v);
  bool GetReadOnly() const { return FLink.GetReadOnly(); }
  void SetReadOnly(bool v) { FLink.SetReadOnly(v); }
  TBorderStyle GetBorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle v);
  // Loads the field's picture now; a field that holds no readable picture shows nothing.
  void LoadPicture();

 protected:
  void Paint() override;

 private:
  void DataChange();
  TPicture* FPicture;
  bool FStretch = false;
  bool FCenter = true;
  TBorderStyle FBorderStyle = bsSingle;
  bool FPictureLoaded = false;
};

KV_ENUM(TNavigateBtn, nbFirst, nbPrior, nbNext, nbLast, nbInsert, nbDelete, nbEdit, nbPost, nbCancel, nbRefresh)
KV_SET(TButtonSet, TNavigateBtn)
KV_EVENT(ENavClick, "Sender: TObject; Button: TNavigateBtn", TObject*, TNavigateBtn)

// A bar of speed buttons moving and editing the data source's dataset. A button is enabled
// only when its action can be done: First and Prior not at Bof, Post and Cancel only while
// editing, and so on.
class TDBNavigator : public TCustomPanel {
  KV_CLASS(TDBNavigator, TCustomPanel)
 public:
  explicit TDBNavigator(TComponent* AOwner);
  ~TDBNavigator() override;
  TDataSource* GetDataSource() const;
  void SetDataSource(TDataSource* v);
  TButtonSet GetVisibleButtons() const { return FVisibleButtons; }
  void SetVisibleButtons(TButtonSet v);
  bool GetFlat() const { return FFlat; }
  void SetFlat(bool v);
  bool GetConfirmDelete() const { return FConfirmDelete; }
  void SetConfirmDelete(bool v) { FConfirmDelete = v; }
  // One hint per button in TNavigateBtn order; an empty or missing line keeps the default.
  TStrings* GetHints() const { return FHints; }
  void SetHints(TStrings* v) { FHints->Assign(v); }
  bool IsHintsStored() const { return FHints->Count() > 0; }
  TSpeedButton* Buttons(TNavigateBtn b) const { return FButtons[static_cast<int>(b)]; }
  // Does what the button does, as a click on it would.
  void BtnClick(TNavigateBtn button);

  ENavClick BeforeAction;
  ENavClick OnClick;

 protected:
  void BoundsChanged() override;

 private:
  class TNavDataLink;
  void UpdateButtons();
  void UpdateHints();
  void ArrangeButtons();
  std::unique_ptr<TNavDataLink> FLink;
  TSpeedButton* FButtons[10] = {};
  TStrings* FHints;
  TButtonSet FVisibleButtons{nbFirst, nbPrior, nbNext, nbLast, nbInsert, nbDelete, nbEdit, nbPost, nbCancel, nbRefresh};
  bool FFlat = false;
  bool FConfirmDelete = true;
};

// Selecting an item writes its Values line (or, without one, the item's text) into the field.
class TDBRadioGroup : public TRadioGroup, public TDataAware {
  KV_CLASS(TDBRadioGroup, TRadioGroup)
 public:
  explicit TDBRadioGroup(TComponent* AOwner);
  ~TDBRadioGroup() override;
  void Loaded() override;
  bool GetReadOnly() const { return FLink.GetReadOnly(); }
  void SetReadOnly(bool v) { FLink.SetReadOnly(v); }
  TStrings* GetValues() const { return FValues; }
  void SetValues(TStrings* v) { FValues->Assign(v); }
  // The value of the selected item ("" when none).
  std::string GetValue() const;

 protected:
  void Click() override;

 private:
  void DataChange();
  void UpdateData();
  TStrings* FValues;
};

// A drop-down list of ListField of ListSource's records; choosing one writes its KeyField value
// into DataField. Without a DataSource it just holds the chosen KeyValue.
class TDBLookupComboBox : public TCustomComboBox, public TDataAware {
  KV_CLASS(TDBLookupComboBox, TCustomComboBox)
 public:
  explicit TDBLookupComboBox(TComponent* AOwner);
  ~TDBLookupComboBox() override;
  TDataSource* GetListSource() const;
  void SetListSource(TDataSource* v);
  std::string GetListField() const { return FListField; }
  void SetListField(const std::string& v);
  std::string GetKeyField() const { return FKeyField; }
  void SetKeyField(const std::string& v);
  std::string GetKeyValue() const { return FKeyValue; }
  void SetKeyValue(const std::string& v);
  bool GetReadOnly() const { return FLink.GetReadOnly(); }
  void SetReadOnly(bool v) { FLink.SetReadOnly(v); }

 protected:
  void Change() override;

 private:
  class TListLink;
  void ListChanged();
  void ShowKey();
  void DataChange();
  void UpdateData();
  std::unique_ptr<TListLink> FListLink;
  std::string FListField, FKeyField, FKeyValue;
  std::vector<std::string> FKeys;  // KeyField of each item
  bool FUpdating = false;
};

void RegisterDBCtrlsClasses();
