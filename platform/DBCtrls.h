// DBCtrls: data-aware controls. Each shows one field of the current record of its data source
// and, when the user changes it, edits the record. In design state they show their own name
// and never touch the data.
#pragma once

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

void RegisterDBCtrlsClasses();
