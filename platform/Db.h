// Db: datasets, fields, data sources and data links, independent of any database engine.
//
// A dataset holds the rows of its result in memory; an engine (DbTables) fills them when the
// dataset opens and is asked to write each posted or deleted row back. Fields read and write
// the current row, or the row a data link points at while a grid paints its other rows.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "Classes.h"

KV_EXCEPTION(EDatabaseError, Exception);

// The message texts of the database units, as the VCL words them.
namespace DBConsts {
inline constexpr const char* SDeleteRecordQuestion = "Delete record?";
inline constexpr const char* SFieldNotFound = "Field '%s' not found";
inline constexpr const char* SDataSetClosed = "Cannot perform this operation on a closed dataset";
inline constexpr const char* SDataSetOpen = "Cannot perform this operation on an open dataset";
inline constexpr const char* SDataSetEmpty = "Cannot perform this operation on an empty dataset";
inline constexpr const char* SNotEditing = "Dataset not in edit or insert mode";
inline constexpr const char* SDataSetReadOnly = "Cannot modify a read-only dataset";
inline constexpr const char* SFieldReadOnly = "Field '%s' cannot be modified";
inline constexpr const char* SFieldRequired = "Field '%s' must have a value";
inline constexpr const char* SFieldAccessError = "Cannot access field '%s' as type %s";
inline constexpr const char* SFieldRangeError = "%s is not a valid value for field '%s'. The allowed range is %s to %s";
inline constexpr const char* SInvalidIntegerValue = "'%s' is not a valid integer value for field '%s'";
inline constexpr const char* SInvalidFloatValue = "'%s' is not a valid floating point value for field '%s'";
inline constexpr const char* SInvalidBoolValue = "'%s' is not a valid boolean value for field '%s'";
inline constexpr const char* SInvalidDate = "'%s' is not a valid date";
inline constexpr const char* SInvalidTime = "'%s' is not a valid time";
inline constexpr const char* SInvalidDateTime = "'%s' is not a valid date and time";
inline constexpr const char* SDuplicateFieldName = "Duplicate field name '%s'";
inline constexpr const char* SFieldIndexError = "Field index out of range";
inline constexpr const char* SCircularDataLink = "Circular datalinks are not allowed";
inline constexpr const char* SDatabaseNameMissing = "Database name missing";
inline constexpr const char* SNoTableName = "Missing TableName property";
inline constexpr const char* SIndexNotFound = "Index '%s' not found";
inline constexpr const char* SEmptySQLStatement = "No SQL statement available";
inline constexpr const char* SParameterNotFound = "Parameter '%s' not found";
inline constexpr const char* SNoResultSet = "Query did not return a result set";
inline constexpr const char* SDatabaseOpen = "Cannot perform this operation on an open database";
inline constexpr const char* SNoParameterValue = "No value for parameter '%s'";
inline constexpr const char* SRecordChanged = "Record not found or changed by another user";
}  // namespace DBConsts

// Days since 1899-12-30, the fraction being the time of day.
using TDateTime = double;
// ISO text ("2024-02-29", "13:05:00", "2024-02-29 13:05:00"; a 'T' may separate date and
// time, seconds and milliseconds are optional). False for anything else or an invalid date.
bool TryIsoToDateTime(std::string_view text, TDateTime& value);
// The parts of `value` that `date` and `time` ask for; milliseconds only when not zero.
std::string DateTimeToIso(TDateTime value, bool date = true, bool time = true);

// Delphi 3's numbering: form files and the designer's field drop rely on it.
KV_ENUM(TFieldType, ftUnknown, ftString, ftSmallint, ftInteger, ftWord, ftBoolean, ftFloat, ftCurrency, ftBCD, ftDate,
        ftTime, ftDateTime, ftBytes, ftVarBytes, ftAutoInc, ftBlob, ftMemo, ftGraphic, ftFmtMemo, ftParadoxOle,
        ftDBaseOle, ftTypedBinary, ftCursor)
KV_ENUM(TDataSetState, dsInactive, dsBrowse, dsEdit, dsInsert, dsSetKey, dsCalcFields, dsFilter, dsNewValue, dsOldValue,
        dsCurValue)
KV_ENUM(TDataEvent, deFieldChange, deRecordChange, deDataSetChange, deDataSetScroll, deLayoutChange, deUpdateRecord,
        deUpdateState, deCheckBrowseMode, dePropertyChange, deFieldListChange, deFocusControl)
KV_ENUM(TFieldKind, fkData, fkCalculated, fkLookup, fkInternalCalc)
KV_ENUM(TFieldAttribute, faHiddenCol, faReadonly, faRequired, faLink, faUnNamed, faFixed)
KV_SET(TFieldAttributes, TFieldAttribute)

const char* FieldTypeName(TFieldType t);  // "String", "Integer", ... as the VCL names them

// A value as a dataset holds it: what the engine stores, before a field interprets it.
struct TDbValue {
  enum TKind : uint8_t { vkNull, vkInteger, vkFloat, vkText, vkBlob };
  TKind Kind = vkNull;
  int64_t Int = 0;
  double Float = 0;
  std::string Str;  // text (UTF-8) or blob bytes

  static TDbValue Integer(int64_t v) {
    TDbValue r;
    r.Kind = vkInteger;
    r.Int = v;
    return r;
  }
  static TDbValue Real(double v) {
    TDbValue r;
    r.Kind = vkFloat;
    r.Float = v;
    return r;
  }
  static TDbValue Text(std::string v) {
    TDbValue r;
    r.Kind = vkText;
    r.Str = std::move(v);
    return r;
  }
  static TDbValue Blob(std::string v) {
    TDbValue r;
    r.Kind = vkBlob;
    r.Str = std::move(v);
    return r;
  }
  bool IsNull() const { return Kind == vkNull; }
  friend bool operator==(const TDbValue& a, const TDbValue& b);
};

class TField;
class TDataSet;
class TDataSource;
class TDataLink;

KV_EVENT(TFieldNotifyEvent, "Sender: TField", TField*)
KV_EVENT(TFieldGetTextEvent, "Sender: TField; var Text: string; DisplayText: Boolean", TField*, std::string&, bool)
KV_EVENT(TFieldSetTextEvent, "Sender: TField; const Text: string", TField*, const std::string&)
KV_EVENT(TDataSetNotifyEvent, "DataSet: TDataSet", TDataSet*)
KV_EVENT(TDataChangeEvent, "Sender: TObject; Field: TField", TObject*, TField*)

// ---------------------------------------------------------------------------------------------
// Field definitions: the columns of a dataset's result.
class TFieldDef : public TCollectionItem {
  KV_CLASS(TFieldDef, TCollectionItem)
 public:
  std::string GetName() const { return FName; }
  void SetName(const std::string& v) { FName = v; }
  TFieldType GetDataType() const { return FDataType; }
  void SetDataType(TFieldType v) { FDataType = v; }
  int GetSize() const { return FSize; }
  void SetSize(int v) { FSize = v; }
  int GetPrecision() const { return FPrecision; }
  void SetPrecision(int v) { FPrecision = v; }
  TFieldAttributes GetAttributes() const { return FAttributes; }
  void SetAttributes(TFieldAttributes v) { FAttributes = v; }
  // faRequired of Attributes, published as well because Delphi 3 streams it on its own.
  bool Required() const { return FAttributes.Contains(faRequired); }
  bool GetRequired() const { return Required(); }
  void SetRequired(bool v);
  int FieldNo() const { return GetIndex() + 1; }
  // A field of the class that DefaultFieldClass names for the type, owned by `owner`.
  TField* CreateField(TComponent* owner, TDataSet* dataSet) const;
  std::string GetDisplayName() const override { return FName; }

 private:
  std::string FName;
  TFieldType FDataType = ftUnknown;
  int FSize = 0;
  int FPrecision = 0;
  TFieldAttributes FAttributes;
};

class TFieldDefs : public TCollection {
  KV_CLASS(TFieldDefs, TCollection)
 public:
  TFieldDefs() : TCollection(TFieldDef::StaticClass()) {}
  TFieldDef* Items(int i) const { return static_cast<TFieldDef*>(TCollection::Items(i)); }
  TFieldDef* Add(const std::string& name, TFieldType type, int size = 0, bool required = false);
  int IndexOf(std::string_view name) const;      // ignores case; -1 when absent
  TFieldDef* Find(std::string_view name) const;  // EDatabaseError when absent
};

TClass DefaultFieldClass(TFieldType t);  // nullptr for types without a field class

// ---------------------------------------------------------------------------------------------
// TField
class TField : public TComponent {
  KV_CLASS(TField, TComponent)
 public:
  explicit TField(TComponent* owner);
  ~TField() override;

  TDataSet* GetDataSet() const { return FDataSet; }
  void SetDataSet(TDataSet* ds);
  const std::string& GetFieldName() const { return FFieldName; }
  void SetFieldName(const std::string& v);
  TFieldType GetDataType() const { return FDataType; }
  int GetSize() const { return FSize; }
  virtual void SetSize(int v);
  std::string GetDisplayLabel() const { return FDisplayLabel.empty() ? FFieldName : FDisplayLabel; }
  void SetDisplayLabel(const std::string& v);
  bool IsDisplayLabelStored() const { return !FDisplayLabel.empty() && FDisplayLabel != FFieldName; }
  int GetDisplayWidth() const { return FDisplayWidth > 0 ? FDisplayWidth : GetDefaultWidth(); }
  void SetDisplayWidth(int v);
  bool IsDisplayWidthStored() const { return FDisplayWidth > 0; }
  TAlignment GetAlignment() const { return FAlignment; }
  void SetAlignment(TAlignment v);
  bool GetVisible() const { return FVisible; }
  void SetVisible(bool v);
  bool GetReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool v) { FReadOnly = v; }
  bool GetRequired() const { return FRequired; }
  void SetRequired(bool v) { FRequired = v; }
  std::string GetEditMask() const { return FEditMask; }
  void SetEditMask(const std::string& v) { FEditMask = v; }
  TFieldKind GetFieldKind() const { return FFieldKind; }
  void SetFieldKind(TFieldKind v);
  bool GetCalculated() const { return FFieldKind == fkCalculated; }
  void SetCalculated(bool v) { SetFieldKind(v ? fkCalculated : fkData); }
  // Position among the dataset's fields.
  int GetIndex() const;
  void SetIndex(int i);
  // 1-based column of the dataset's result; 0 for calculated or unbound fields.
  int FieldNo() const { return FFieldNo; }
  bool GetCanModify() const;
  virtual bool IsBlob() const { return false; }

  // Values of the dataset's active record.
  bool IsNull() const { return GetValue().IsNull(); }
  void Clear() { SetValue(TDbValue()); }
  const TDbValue& GetValue() const;
  void SetValue(const TDbValue& v);
  virtual std::string GetAsString() const;
  virtual void SetAsString(const std::string& v);
  virtual int64_t GetAsInteger() const;
  virtual void SetAsInteger(int64_t v);
  virtual double GetAsFloat() const;
  virtual void SetAsFloat(double v);
  virtual bool GetAsBoolean() const;
  virtual void SetAsBoolean(bool v);
  virtual TDateTime GetAsDateTime() const;
  virtual void SetAsDateTime(TDateTime v);
  // Text for showing and for editing, through OnGetText / OnSetText when assigned.
  std::string GetDisplayText() const;
  std::string GetText() const;
  void SetText(const std::string& v);
  void FocusControl();

  TFieldNotifyEvent OnChange;
  TFieldNotifyEvent OnValidate;
  TFieldGetTextEvent OnGetText;
  TFieldSetTextEvent OnSetText;

  // Fields are the children of their dataset in a form file.
  bool HasParent() const override { return true; }
  TComponent* GetParentComponent() const override;
  void SetParentComponent(TComponent* value) override;

 protected:
  void SetDataType(TFieldType t) { FDataType = t; }
  virtual int GetDefaultWidth() const { return 10; }
  virtual void GetTextValue(std::string& text, bool displayText) const;
  virtual void SetTextValue(const std::string& text) { SetAsString(text); }
  [[noreturn]] void AccessError(const char* typeName) const;
  [[noreturn]] void ConvertError(const char* fmt, const std::string& text) const;
  // Notifies the dataset and its links that something about the field's look changed.
  void PropertyChanged(bool layout);

 private:
  friend class TDataSet;
  TDataSet* FDataSet = nullptr;
  std::string FFieldName;
  std::string FDisplayLabel;
  std::string FEditMask;
  TFieldType FDataType = ftUnknown;
  int FSize = 0;
  int FDisplayWidth = 0;
  int FFieldNo = 0;
  int FCalcSlot = -1;
  TAlignment FAlignment = taLeftJustify;
  TFieldKind FFieldKind = fkData;
  bool FVisible = true;
  bool FReadOnly = false;
  bool FRequired = false;
};

class TStringField : public TField {
  KV_CLASS(TStringField, TField)
 public:
  explicit TStringField(TComponent* owner);
  std::string GetAsString() const override;
  void SetAsString(const std::string& v) override;  // cut to Size characters
  bool GetTransliterate() const { return FTransliterate; }
  void SetTransliterate(bool v) { FTransliterate = v; }

 protected:
  int GetDefaultWidth() const override { return GetSize(); }

 private:
  bool FTransliterate = true;
};

class TNumericField : public TField {
  KV_CLASS(TNumericField, TField)
 public:
  explicit TNumericField(TComponent* owner);
  // Delphi's format masks: '0' and '#' digits, ',' thousands, '.' decimals, "pos;neg;zero".
  std::string GetDisplayFormat() const { return FDisplayFormat; }
  void SetDisplayFormat(const std::string& v);
  std::string GetEditFormat() const { return FEditFormat; }
  void SetEditFormat(const std::string& v) { FEditFormat = v; }

 protected:
  void GetTextValue(std::string& text, bool displayText) const override;

 private:
  std::string FDisplayFormat;
  std::string FEditFormat;
};

class TIntegerField : public TNumericField {
  KV_CLASS(TIntegerField, TNumericField)
 public:
  explicit TIntegerField(TComponent* owner);
  int64_t GetAsInteger() const override;
  void SetAsInteger(int64_t v) override;  // range checked
  void SetAsFloat(double v) override;
  std::string GetAsString() const override;
  void SetAsString(const std::string& v) override;
  int GetMinValue() const { return FMinValue; }
  void SetMinValue(int v) { FMinValue = v; }
  int GetMaxValue() const { return FMaxValue; }
  void SetMaxValue(int v) { FMaxValue = v; }

 protected:
  TIntegerField(TComponent* owner, TFieldType type, int64_t lo, int64_t hi, int width);
  int GetDefaultWidth() const override { return FWidth; }

 private:
  int64_t FMinRange, FMaxRange;
  int FWidth;
  int FMinValue = 0;
  int FMaxValue = 0;
};

class TSmallintField : public TIntegerField {
  KV_CLASS(TSmallintField, TIntegerField)
 public:
  explicit TSmallintField(TComponent* owner) : TIntegerField(owner, ftSmallint, -32768, 32767, 6) {}
};

class TWordField : public TIntegerField {
  KV_CLASS(TWordField, TIntegerField)
 public:
  explicit TWordField(TComponent* owner) : TIntegerField(owner, ftWord, 0, 65535, 5) {}
};

class TAutoIncField : public TIntegerField {
  KV_CLASS(TAutoIncField, TIntegerField)
 public:
  explicit TAutoIncField(TComponent* owner);
};

class TFloatField : public TNumericField {
  KV_CLASS(TFloatField, TNumericField)
 public:
  explicit TFloatField(TComponent* owner);
  double GetAsFloat() const override;
  void SetAsFloat(double v) override;  // range checked when MinValue or MaxValue is set
  int64_t GetAsInteger() const override;
  void SetAsInteger(int64_t v) override { SetAsFloat(static_cast<double>(v)); }
  std::string GetAsString() const override;
  void SetAsString(const std::string& v) override;
  bool GetCurrency() const { return FCurrency; }
  void SetCurrency(bool v);
  int GetPrecision() const { return FPrecision; }
  void SetPrecision(int v);
  double GetMinValue() const { return FMinValue; }
  void SetMinValue(double v) { FMinValue = v; }
  double GetMaxValue() const { return FMaxValue; }
  void SetMaxValue(double v) { FMaxValue = v; }

 protected:
  TFloatField(TComponent* owner, TFieldType type);
  void GetTextValue(std::string& text, bool displayText) const override;

 private:
  bool FCurrency = false;
  int FPrecision = 15;
  double FMinValue = 0;
  double FMaxValue = 0;
};

class TCurrencyField : public TFloatField {
  KV_CLASS(TCurrencyField, TFloatField)
 public:
  explicit TCurrencyField(TComponent* owner);
};

// Size is the number of decimal places, as in the VCL.
class TBCDField : public TFloatField {
  KV_CLASS(TBCDField, TFloatField)
 public:
  explicit TBCDField(TComponent* owner);
};

class TBooleanField : public TField {
  KV_CLASS(TBooleanField, TField)
 public:
  explicit TBooleanField(TComponent* owner);
  bool GetAsBoolean() const override;
  void SetAsBoolean(bool v) override;
  int64_t GetAsInteger() const override { return GetAsBoolean() ? 1 : 0; }
  void SetAsInteger(int64_t v) override { SetAsBoolean(v != 0); }
  std::string GetAsString() const override;
  // A leading part of the true or false text, ignoring case; "" clears.
  void SetAsString(const std::string& v) override;
  std::string GetDisplayValues() const { return FDisplayValues; }
  void SetDisplayValues(const std::string& v);
  bool IsDisplayValuesStored() const { return FDisplayValues != "True;False"; }

 protected:
  int GetDefaultWidth() const override;

 private:
  std::string FDisplayValues = "True;False";
  std::string FTrueText = "True", FFalseText = "False";
};

// Dates and times are stored as ISO text, so they sort and read well in any SQLite tool.
class TDateTimeField : public TField {
  KV_CLASS(TDateTimeField, TField)
 public:
  explicit TDateTimeField(TComponent* owner);
  TDateTime GetAsDateTime() const override;
  void SetAsDateTime(TDateTime v) override;
  double GetAsFloat() const override { return GetAsDateTime(); }
  void SetAsFloat(double v) override { SetAsDateTime(v); }
  std::string GetAsString() const override;
  void SetAsString(const std::string& v) override;
  // yyyy yy mm m dd d hh h nn n ss s zzz and '/' ':' as themselves; quoted text literally.
  std::string GetDisplayFormat() const { return FDisplayFormat; }
  void SetDisplayFormat(const std::string& v);

 protected:
  TDateTimeField(TComponent* owner, TFieldType type);
  int GetDefaultWidth() const override;
  void GetTextValue(std::string& text, bool displayText) const override;

 private:
  bool HasDate() const { return GetDataType() != ftTime; }
  bool HasTime() const { return GetDataType() != ftDate; }
  std::string FDisplayFormat;
};

class TDateField : public TDateTimeField {
  KV_CLASS(TDateField, TDateTimeField)
 public:
  explicit TDateField(TComponent* owner) : TDateTimeField(owner, ftDate) {}
};

class TTimeField : public TDateTimeField {
  KV_CLASS(TTimeField, TDateTimeField)
 public:
  explicit TTimeField(TComponent* owner) : TDateTimeField(owner, ftTime) {}
};

// Byte strings: AsString gives the bytes as they are.
class TBytesField : public TField {
  KV_CLASS(TBytesField, TField)
 public:
  explicit TBytesField(TComponent* owner);
  void SetAsString(const std::string& v) override;

 protected:
  TBytesField(TComponent* owner, TFieldType type);
};

class TVarBytesField : public TBytesField {
  KV_CLASS(TVarBytesField, TBytesField)
 public:
  explicit TVarBytesField(TComponent* owner) : TBytesField(owner, ftVarBytes) {}
};

class TBlobField : public TField {
  KV_CLASS(TBlobField, TField)
 public:
  explicit TBlobField(TComponent* owner);
  bool IsBlob() const override { return true; }
  void SetAsString(const std::string& v) override;
  TFieldType GetBlobType() const { return GetDataType(); }
  void SetBlobType(TFieldType v) { SetDataType(v); }
  bool GetTransliterate() const { return FTransliterate; }
  void SetTransliterate(bool v) { FTransliterate = v; }
  void LoadFromStream(TStream* s);
  void SaveToStream(TStream* s) const;
  void LoadFromFile(const std::string& fileName);
  void SaveToFile(const std::string& fileName) const;

 protected:
  TBlobField(TComponent* owner, TFieldType type);
  // "(MEMO)" when there is data, "(Memo)" when there is none, as grids show blobs.
  void GetTextValue(std::string& text, bool displayText) const override;

 private:
  bool FTransliterate = false;
};

class TMemoField : public TBlobField {
  KV_CLASS(TMemoField, TBlobField)
 public:
  explicit TMemoField(TComponent* owner);
};

class TGraphicField : public TBlobField {
  KV_CLASS(TGraphicField, TBlobField)
 public:
  explicit TGraphicField(TComponent* owner) : TBlobField(owner, ftGraphic) {}
};

// ---------------------------------------------------------------------------------------------
// The fields of a dataset, in display order; the list does not own them.
class TFields {
 public:
  explicit TFields(TDataSet* ds) : FDataSet(ds) {}
  int Count() const { return static_cast<int>(FList.size()); }
  TField* Fields(int i) const;  // EDatabaseError SFieldIndexError
  TField* operator[](int i) const { return Fields(i); }
  TField* FindField(std::string_view name) const;
  TField* FieldByName(std::string_view name) const;  // EDatabaseError SFieldNotFound
  int IndexOf(const TField* f) const;
  TField* FieldByNumber(int fieldNo) const;
  TDataSet* DataSet() const { return FDataSet; }

 private:
  friend class TDataSet;
  friend class TField;
  TDataSet* FDataSet;
  std::vector<TField*> FList;
};

// ---------------------------------------------------------------------------------------------
// TDataSet
struct TDbRow {
  int64_t Key = 0;               // the engine's identity of the row (SQLite: rowid)
  std::vector<TDbValue> Values;  // by field definition
};

class TDataSet : public TComponent {
  KV_CLASS(TDataSet, TComponent)
 public:
  explicit TDataSet(TComponent* owner);
  ~TDataSet() override;

  bool GetActive() const { return FState != dsInactive; }
  void SetActive(bool v);
  void Open() { SetActive(true); }
  void Close() { SetActive(false); }
  TDataSetState State() const { return FState; }
  bool GetAutoCalcFields() const { return FAutoCalcFields; }
  void SetAutoCalcFields(bool v) { FAutoCalcFields = v; }

  // Navigation.
  void First();
  void Last();
  void Next() { MoveBy(1); }
  void Prior() { MoveBy(-1); }
  int MoveBy(int distance);  // the distance moved
  bool Eof() const { return FEof; }
  bool Bof() const { return FBof; }
  bool IsEmpty() const { return RecordCount() == 0 && FState != dsInsert; }
  int RecordCount() const;
  int GetRecNo() const;  // 1-based; 0 when there is no current record
  void SetRecNo(int v);

  // Editing.
  void Edit();
  void Insert();
  void Append();
  void Post();
  void Cancel();
  void Delete();
  void CheckBrowseMode();  // posts or cancels a pending edit
  void UpdateRecord();     // asks the links to write their pending edits into the fields
  bool Modified() const { return FModified; }
  virtual bool CanModify() const { return !FReadOnly; }

  // Fields.
  TFields& Fields() { return FFields; }
  const TFields& Fields() const { return FFields; }
  TFieldDefs* GetFieldDefs() const { return FFieldDefs; }
  void SetFieldDefs(TFieldDefs* v) { FFieldDefs->Assign(v); }
  bool GetStoreDefs() const { return FStoreDefs; }
  void SetStoreDefs(bool v) { FStoreDefs = v; }
  bool IsFieldDefsStored() const { return FStoreDefs; }
  TField* FieldByName(std::string_view name) const { return FFields.FieldByName(name); }
  TField* FindField(std::string_view name) const { return FFields.FindField(name); }
  void GetFieldNames(TStrings* list) const;
  // Brings FieldDefs up to date with the engine without opening the dataset.
  void UpdateFieldDefs();
  // True when the fields came from FieldDefs at open rather than from the form.
  bool DefaultFields() const { return FDefaultFields; }

  // Controls.
  void DisableControls();
  void EnableControls();
  bool ControlsDisabled() const { return FDisableCount > 0; }

  TDataSetNotifyEvent BeforeOpen, AfterOpen, BeforeClose, AfterClose;
  TDataSetNotifyEvent BeforeInsert, AfterInsert, BeforeEdit, AfterEdit;
  TDataSetNotifyEvent BeforePost, AfterPost, BeforeCancel, AfterCancel;
  TDataSetNotifyEvent BeforeDelete, AfterDelete, BeforeScroll, AfterScroll;
  TDataSetNotifyEvent OnNewRecord, OnCalcFields;

  void GetChildren(const TGetChildProc& proc, TComponent* root) override;
  void SetChildOrder(TComponent* child, int order) override;
  void Loaded() override;

 protected:
  // The engine's part. InternalOpen fills FieldDefs and the rows of the result;
  // InternalInitFieldDefs fills FieldDefs alone.
  virtual void InternalOpen(std::vector<TDbRow>& rows) = 0;
  virtual void InternalInitFieldDefs() = 0;
  virtual void InternalClose() {}
  // Writes a new row (`old` null) or an edited one; may refresh `row` from the engine.
  virtual void InternalPost(TDbRow& row, const TDbRow* old) = 0;
  virtual void InternalDelete(const TDbRow& row) = 0;
  [[noreturn]] void DatabaseError(const std::string& msg) const { throw EDatabaseError(msg); }
  void CheckActive() const;
  void CheckInactive() const;
  bool FReadOnly = false;

 private:
  friend class TField;
  friend class TDataLink;
  friend class TDataSource;
  void DoOpen();
  void DoClose();
  void CreateFields();
  void BindFields();
  void DestroyFields();
  void AddField(TField* f);
  void RemoveField(TField* f);
  void DataEvent(TDataEvent event, TField* field = nullptr, int info = 0);
  void SetState(TDataSetState s);
  void CheckCanModify() const;
  void CheckRequiredFields();
  void Scrolled(int oldRecNo);
  int ViewCount() const;  // rows including one being inserted
  // The row that fields read: the link-chosen row while a grid paints, else the current one.
  const TDbRow* ActiveRow() const;
  const TDbValue& FieldValue(const TField* f) const;
  void SetFieldValue(TField* f, const TDbValue& v);
  void CalculateFields(int row) const;
  const TDbRow* RowAtView(int i) const;

  TFields FFields;
  TFieldDefs* FFieldDefs;
  std::vector<TDbRow> FRows;
  TDbRow FEditRow;  // the record being edited or inserted
  std::vector<TDataSource*> FDataSources;
  TDataSetState FState = dsInactive;
  int FRecNo = -1;       // view index of the current record, -1 when none
  int FInsertFrom = -1;  // the current record before Insert, restored by Cancel
  int FActiveRow = -1;   // view index a data link chose, -1: the current record
  int FDisableCount = 0;
  bool FPendingChange = false;
  TDataSetState FDisabledState = dsInactive;
  mutable std::vector<TDbValue> FCalcValues;
  mutable int FCalcRow = -2;  // view index FCalcValues belong to
  mutable bool FCalculating = false;
  bool FBof = true, FEof = true;
  bool FModified = false;
  bool FDefaultFields = false;
  bool FStreamedActive = false;
  bool FAutoCalcFields = true;
  bool FStoreDefs = false;
};

// ---------------------------------------------------------------------------------------------
// TDataSource: the link between a dataset and the data-aware controls.
class TDataSource : public TComponent {
  KV_CLASS(TDataSource, TComponent)
 public:
  explicit TDataSource(TComponent* owner);
  ~TDataSource() override;
  TDataSet* GetDataSet() const { return FDataSet; }
  void SetDataSet(TDataSet* ds);
  bool GetEnabled() const { return FEnabled; }
  void SetEnabled(bool v);
  bool GetAutoEdit() const { return FAutoEdit; }
  void SetAutoEdit(bool v) { FAutoEdit = v; }
  TDataSetState State() const { return FState; }
  // Puts the dataset into edit state when AutoEdit allows and it is browsing.
  void Edit();
  bool IsLinkedTo(const TDataSet* ds) const;

  TNotifyEvent OnStateChange;
  TDataChangeEvent OnDataChange;
  TNotifyEvent OnUpdateData;

  void Notification(TComponent* c, TOperation op) override;

 private:
  friend class TDataSet;
  friend class TDataLink;
  void DataEvent(TDataEvent event, TField* field, int info);
  void UpdateState();
  TDataSet* FDataSet = nullptr;
  std::vector<TDataLink*> FLinks;
  TDataSetState FState = dsInactive;
  bool FEnabled = true;
  bool FAutoEdit = true;
};

// ---------------------------------------------------------------------------------------------
// TDataLink: what a data-aware control overrides to follow a data source. A link shows a
// window of BufferCount records around the current one (a grid's rows); ActiveRecord chooses
// the one the fields read.
class TDataLink : public TPersistent {
  KV_CLASS(TDataLink, TPersistent)
 public:
  TDataLink() = default;
  ~TDataLink() override;
  TDataSource* GetDataSource() const { return FDataSource; }
  void SetDataSource(TDataSource* ds);
  TDataSet* DataSet() const { return FDataSource ? FDataSource->GetDataSet() : nullptr; }
  bool Active() const { return FActive; }
  bool Editing() const { return FEditing; }
  bool GetReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool v);
  int GetBufferCount() const { return FBufferCount; }
  void SetBufferCount(int v);
  int RecordCount() const;  // records in the window
  int GetActiveRecord() const;
  void SetActiveRecord(int v);
  // Puts the dataset into edit state through the data source; answers whether it is editing.
  bool Edit();
  void UpdateRecord();

 protected:
  virtual void ActiveChanged() {}
  virtual void CheckBrowseMode() {}
  virtual void DataSetChanged() { RecordChanged(nullptr); }
  virtual void DataSetScrolled(int distance) {
    (void)distance;
    DataSetChanged();
  }
  virtual void EditingChanged() {}
  virtual void FocusControl(TField*& field) { (void)field; }
  virtual void LayoutChanged() { DataSetChanged(); }
  virtual void RecordChanged(TField* field) { (void)field; }
  virtual void UpdateData() {}

 private:
  friend class TDataSource;
  void DataEvent(TDataEvent event, TField* field, int info);
  void UpdateState();
  void SetActive(bool v);
  void SetEditing(bool v);
  void FitWindow();
  TDataSource* FDataSource = nullptr;
  int FBufferCount = 1;
  int FFirstRow = 0;  // dataset view index of window row 0
  bool FActive = false;
  bool FEditing = false;
  bool FReadOnly = false;
  bool FUpdating = false;
};

// A link to one field of the data source's dataset, as an edit box has.
class TFieldDataLink : public TDataLink {
  KV_CLASS(TFieldDataLink, TDataLink)
 public:
  std::string GetFieldName() const { return FFieldName; }
  void SetFieldName(const std::string& v);
  TField* Field() const { return FField; }
  TComponent* Control = nullptr;
  bool CanModify() const;
  // Edits the dataset when the field can be modified; answers whether the link is editing.
  bool Edit();
  // The control's value changed: the record will be updated before it is posted.
  void Modified() { FModified = true; }
  // The control drops its changes and shows the field again.
  void Reset();
  bool IsModified() const { return FModified; }

  TNotifyEvent OnDataChange;
  TNotifyEvent OnEditingChange;
  TNotifyEvent OnUpdateData;
  TNotifyEvent OnActiveChange;

 protected:
  void ActiveChanged() override;
  void EditingChanged() override;
  void LayoutChanged() override;
  void RecordChanged(TField* field) override;
  void UpdateData() override;

 private:
  void UpdateField(bool mayRaise);
  std::string FFieldName;
  TField* FField = nullptr;
  bool FModified = false;
};
