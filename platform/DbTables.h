// DbTables: the dataset classes that form files name (TTable, TQuery, TDatabase), backed by
// SQLite.
//
// A DatabaseName is, in this order: the DatabaseName of a TDatabase component, an alias, or the
// path of a SQLite file. Aliases come from RegisterDatabaseAlias and from an alias file, read
// once on first use from $KV_ALIASES or else from kvaliases.ini next to the executable:
//
//   ; comment
//   [Aliases]
//   DBDEMOS=/srv/data/demo.db
//   LOCAL=demo.db            ; relative paths are relative to the alias file's folder
//
// Names ignore case. A registered alias wins over the file's. A database file that does not
// exist is an error; nothing is created behind the user's back (CreateDatabaseFile does that).
//
// Columns become fields by their declared type (the base name before any parenthesis, upper
// cased; the first rule that matches wins):
//
//   declared type                                   field type           size
//   INTEGER PRIMARY KEY AUTOINCREMENT, AUTOINC,     ftAutoInc
//     AUTOINCREMENT, COUNTER, IDENTITY
//   BOOLEAN, BOOL, BIT, LOGICAL                     ftBoolean
//   SMALLINT, INT2, TINYINT                         ftSmallint
//   WORD                                            ftWord
//   INTEGER, INT, INT4, INT8, BIGINT, MEDIUMINT     ftInteger (values kept as 64-bit)
//   MONEY, CURRENCY, SMALLMONEY                     ftCurrency
//   NUMERIC(p,s), DECIMAL(p,s) with s > 0           ftBCD                s (decimal places)
//   NUMERIC, DECIMAL otherwise                      ftFloat
//   REAL, FLOAT, DOUBLE, DOUBLE PRECISION           ftFloat
//   DATE / TIME / DATETIME, TIMESTAMP               ftDate / ftTime / ftDateTime
//   VARCHAR(n), CHAR(n), NCHAR(n), NVARCHAR(n),     ftString             n
//     CHARACTER(n), VARYING CHARACTER(n), TEXT(n), STRING(n)
//   CHAR, CHARACTER, NCHAR without n                ftString             1
//   VARCHAR, NVARCHAR, STRING without n             ftString             255
//   TEXT, MEMO, CLOB, LONGTEXT, MEDIUMTEXT, NTEXT   ftMemo
//   BINARY(n) / VARBINARY(n)                        ftBytes / ftVarBytes n
//   GRAPHIC, IMAGE, PICTURE                         ftGraphic
//   BLOB, LONGBLOB, BYTEA                           ftBlob
//   any other name, by SQLite's affinity rules: containing INT ftInteger; CHAR, CLOB or
//     TEXT ftMemo; BLOB ftBlob; REAL, FLOA or DOUB ftFloat; else ftFloat (numeric affinity)
//   no declared type (expressions, untyped columns): by the first non-null value: integer
//     ftInteger, real ftFloat, blob ftBlob, text ftString sized to the longest value
//
// A column is Required when it is NOT NULL without a default and is not the rowid.
// Values are stored as SQLite's own: dates as ISO text ("2024-02-29", "13:05:00",
// "2024-02-29 13:05:00"), booleans as 0 and 1, blobs as blobs.
//
// A dataset reads all rows of its result when it opens (10,000 rows open in a few
// milliseconds); edits are written back at once with parameterised UPDATE, INSERT and DELETE
// statements keyed by rowid, and the row is read back so that defaults, triggers and
// auto-increment values show. Errors from SQLite become EDatabaseError with SQLite's text; a
// locked database waits briefly (DbBusyTimeoutMs) and then reports "database is locked".
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "Db.h"

class TSqlConnection;  // platform/sqlite
class TDBDataSet;

inline constexpr int DbBusyTimeoutMs = 500;

void RegisterDatabaseAlias(const std::string& name, const std::string& path);
// Reads the [Aliases] section of an alias file; EFOpenError when it cannot be read.
void LoadDatabaseAliases(const std::string& fileName);
// The file an alias names, or `name` itself when it is no alias.
std::string ResolveDatabaseName(const std::string& name);
// Creates an empty SQLite database file if there is none; EDatabaseError when it cannot.
void CreateDatabaseFile(const std::string& fileName);

// Registers the dataset, data source and field classes for form files.
void RegisterDbClasses();

KV_ENUM(TTransIsolation, tiDirtyRead, tiReadCommitted, tiRepeatableRead)

// ---------------------------------------------------------------------------------------------
// TDatabase: a named connection that datasets share by its DatabaseName. The file is the
// value of Params' DATABASE or PATH entry when given, else the file of AliasName. SQLite has
// no login and its transactions are serializable: LoginPrompt, TransIsolation, DriverName and
// SessionName are kept for the form files that set them.
class TDatabase : public TComponent {
  KV_CLASS(TDatabase, TComponent)
 public:
  explicit TDatabase(TComponent* owner);
  ~TDatabase() override;

  std::string GetAliasName() const { return FAliasName; }
  void SetAliasName(const std::string& v);
  std::string GetDatabaseName() const { return FDatabaseName; }
  void SetDatabaseName(const std::string& v);
  std::string GetDriverName() const { return FDriverName; }
  void SetDriverName(const std::string& v);
  TStrings* GetParams() const { return FParams; }
  void SetParams(TStrings* v);
  bool GetLoginPrompt() const { return FLoginPrompt; }
  void SetLoginPrompt(bool v) { FLoginPrompt = v; }
  bool GetKeepConnection() const { return FKeepConnection; }
  void SetKeepConnection(bool v) { FKeepConnection = v; }
  std::string GetSessionName() const { return FSessionName; }
  void SetSessionName(const std::string& v) { FSessionName = v; }
  TTransIsolation GetTransIsolation() const { return FTransIsolation; }
  void SetTransIsolation(TTransIsolation v) { FTransIsolation = v; }
  bool GetConnected() const { return FConnection != nullptr; }
  void SetConnected(bool v);
  void Open() { SetConnected(true); }
  void Close() { SetConnected(false); }  // closes the datasets using it first
  std::string FileName() const;

  void StartTransaction();
  void Commit();
  void Rollback();
  bool InTransaction() const;
  // Runs SQL statements without a result; answers the number of rows they changed.
  int Execute(const std::string& sql);

  void Loaded() override;
  // The TDatabase whose DatabaseName is `name`, or nullptr.
  static TDatabase* Find(const std::string& name);

 private:
  friend class TDBDataSet;
  void CheckInactive() const;
  std::string FAliasName, FDatabaseName, FDriverName, FSessionName;
  TStrings* FParams;
  std::shared_ptr<TSqlConnection> FConnection;
  std::vector<TDBDataSet*> FDataSets;  // open datasets on our connection
  TTransIsolation FTransIsolation = tiReadCommitted;
  bool FLoginPrompt = true;
  bool FKeepConnection = true;
  bool FStreamedConnected = false;
};

// ---------------------------------------------------------------------------------------------
// Query parameters, named in SQL text as :Name.
KV_ENUM(TParamType, ptUnknown, ptInput, ptOutput, ptInputOutput, ptResult)

class TParam : public TCollectionItem {
  KV_CLASS(TParam, TCollectionItem)
 public:
  std::string GetName() const { return FName; }
  void SetName(const std::string& v) { FName = v; }
  TFieldType GetDataType() const { return FDataType; }
  void SetDataType(TFieldType v) { FDataType = v; }
  TParamType GetParamType() const { return FParamType; }
  void SetParamType(TParamType v) { FParamType = v; }
  std::string GetDisplayName() const override { return FName; }
  void Assign(TPersistent* source) override;

  bool IsNull() const { return FValue.IsNull(); }
  bool Bound() const { return FBound; }
  void Clear();  // bound to NULL
  const TDbValue& Value() const { return FValue; }
  void SetValue(const TDbValue& v);
  std::string GetAsString() const;
  void SetAsString(const std::string& v);
  int64_t GetAsInteger() const;
  void SetAsInteger(int64_t v);
  double GetAsFloat() const;
  void SetAsFloat(double v);
  bool GetAsBoolean() const { return GetAsInteger() != 0; }
  void SetAsBoolean(bool v);
  void SetAsDateTime(TDateTime v);  // ISO text; date or time alone by DataType

 private:
  void Set(const TDbValue& v, TFieldType type);
  std::string FName;
  TFieldType FDataType = ftUnknown;
  TParamType FParamType = ptUnknown;
  TDbValue FValue;
  bool FBound = false;
};

class TParams : public TCollection {
  KV_CLASS(TParams, TCollection)
 public:
  TParams() : TCollection(TParam::StaticClass()) {}
  TParam* Items(int i) const { return static_cast<TParam*>(TCollection::Items(i)); }
  TParam* FindParam(std::string_view name) const;
  TParam* ParamByName(std::string_view name) const;  // EDatabaseError SParameterNotFound
  TParam* CreateParam(TFieldType type, const std::string& name, TParamType paramType);
};

// ---------------------------------------------------------------------------------------------
// TDBDataSet: a dataset over the result of a SELECT on a SQLite database.
class TDBDataSet : public TDataSet {
  KV_CLASS(TDBDataSet, TDataSet)
 public:
  explicit TDBDataSet(TComponent* owner);
  ~TDBDataSet() override;
  std::string GetDatabaseName() const { return FDatabaseName; }
  void SetDatabaseName(const std::string& v);
  std::string GetSessionName() const { return FSessionName; }
  void SetSessionName(const std::string& v) { FSessionName = v; }
  // The TDatabase component the dataset uses, or nullptr when it opens the file itself.
  TDatabase* Database() const { return TDatabase::Find(FDatabaseName); }
  // True when edits can be written back: not read-only, and the result maps onto the rows
  // of one table.
  bool CanModify() const override;

 protected:
  // The SELECT statement of the dataset.
  virtual std::string SelectSQL(TSqlConnection& c) const = 0;
  virtual const TParams* SelectParams() const { return nullptr; }
  // Whether the result may be written back at all (a query only when RequestLive).
  virtual bool WantLive() const { return true; }
  void InternalOpen(std::vector<TDbRow>& rows) override;
  void InternalInitFieldDefs() override;
  void InternalClose() override;
  void InternalPost(TDbRow& row, const TDbRow* old) override;
  void InternalDelete(const TDbRow& row) override;
  // The connection for DatabaseName, opened on demand; the caller keeps it while it needs it.
  std::shared_ptr<TSqlConnection> Connect();

 private:
  struct TColumn {
    std::string Origin;  // column of the update table; "" for expressions
  };
  void Select(std::vector<TDbRow>* rows);
  void RefreshRow(TDbRow& row);
  std::string FDatabaseName, FSessionName;
  std::shared_ptr<TSqlConnection> FConnection;
  TDatabase* FDatabase = nullptr;  // while open through one
  std::vector<TColumn> FColumns;
  std::string FUpdateTable;  // "" when the result is read-only
};

// ---------------------------------------------------------------------------------------------
KV_ENUM(TTableType, ttDefault, ttParadox, ttDBase, ttASCII)

class TTable : public TDBDataSet {
  KV_CLASS(TTable, TDBDataSet)
 public:
  explicit TTable(TComponent* owner) : TDBDataSet(owner) {}
  // A Paradox or dBASE file name ("customer.db") names the table without its extension
  // when there is no table of the full name.
  std::string GetTableName() const { return FTableName; }
  void SetTableName(const std::string& v);
  bool GetReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool v);
  // The file stays shared: SQLite locks per transaction.
  bool GetExclusive() const { return FExclusive; }
  void SetExclusive(bool v) { FExclusive = v; }
  // Order of the rows: field names separated by ';', or the columns of the named index.
  std::string GetIndexFieldNames() const { return FIndexFieldNames; }
  void SetIndexFieldNames(const std::string& v);
  std::string GetIndexName() const { return FIndexName; }
  void SetIndexName(const std::string& v);
  // Names a BDE driver; the table is SQLite's whatever it says.
  TTableType GetTableType() const { return FTableType; }
  void SetTableType(TTableType v) { FTableType = v; }

 protected:
  std::string SelectSQL(TSqlConnection& c) const override;

 private:
  std::string FTableName, FIndexFieldNames, FIndexName;
  TTableType FTableType = ttDefault;
  bool FExclusive = false;
};

class TQuery : public TDBDataSet {
  KV_CLASS(TQuery, TDBDataSet)
 public:
  explicit TQuery(TComponent* owner);
  ~TQuery() override;
  TStrings* GetSQL() const { return FSQL; }
  void SetSQL(TStrings* v) { FSQL->Assign(v); }
  TParams* GetParams() const { return FParams; }
  void SetParams(TParams* v) { FParams->Assign(v); }
  TParam* ParamByName(std::string_view name) const { return FParams->ParamByName(name); }
  int ParamCount() const { return FParams->Count(); }
  // Parameters are taken from the SQL text (:Name) when it changes.
  bool GetParamCheck() const { return FParamCheck; }
  void SetParamCheck(bool v) { FParamCheck = v; }
  // A live result maps onto the rows of one table (a single-table SELECT); otherwise it is
  // read-only, as in the VCL.
  bool GetRequestLive() const { return FRequestLive; }
  void SetRequestLive(bool v);
  // The BDE's forward-only cursor hint; kept for form files, the results here go both ways.
  bool GetUniDirectional() const { return FUniDirectional; }
  void SetUniDirectional(bool v) { FUniDirectional = v; }
  bool CanModify() const override { return FRequestLive && TDBDataSet::CanModify(); }
  // Parameters left unset take the value of the field of the same name in this data source's
  // current record, and the query runs again when that record changes (a detail query).
  TDataSource* GetDataSource() const;
  void SetDataSource(TDataSource* v);
  // Runs statements without a result (all of them, when the text holds several).
  void ExecSQL();
  int RowsAffected() const { return FRowsAffected; }

  void DefineProperties(TFiler* filer) override;

 protected:
  std::string SelectSQL(TSqlConnection& c) const override;
  const TParams* SelectParams() const override;
  bool WantLive() const override { return FRequestLive; }

 private:
  class TMasterLink;
  void QueryChanged(TObject* sender);
  void MasterChanged();
  std::unique_ptr<TMasterLink> FMasterLink;
  mutable TParams FEffectiveParams;  // the parameters with the master's values filled in
  TStringList* FSQL;
  TParams* FParams;
  int FRowsAffected = -1;
  bool FParamCheck = true;
  bool FRequestLive = false;
  bool FUniDirectional = false;
};
