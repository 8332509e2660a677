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
// These aliases are the default session's; a TSession component adds aliases of its own
// (AddAlias, AddStandardAlias), which the datasets and databases naming its SessionName see
// before the default ones.
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
class TSession;
class TDatabase;

inline constexpr int DbBusyTimeoutMs = 500;

namespace DBConsts {
inline constexpr const char* SInvalidSessionName = "Invalid session name %s";
inline constexpr const char* SDuplicateSessionName = "Duplicate session name '%s'";
inline constexpr const char* SSessionActive = "Cannot perform this operation on an active session";
inline constexpr const char* SInvalidAliasName = "Invalid alias name %s";
inline constexpr const char* SSessionNameMissing = "Session name missing";
inline constexpr const char* SStatementChangesData = "A dataset opens only statements that read data: %s";
}  // namespace DBConsts

void RegisterDatabaseAlias(const std::string& name, const std::string& path);
// False when there was no such alias.
bool UnregisterDatabaseAlias(const std::string& name);
// The aliases (name, file) known to every session, names upper-cased.
std::vector<std::pair<std::string, std::string>> DatabaseAliases();
// Reads the [Aliases] section of an alias file; EFOpenError when it cannot be read.
void LoadDatabaseAliases(const std::string& fileName);
// The file an alias names, or `name` itself when it is no alias.
std::string ResolveDatabaseName(const std::string& name);
// Creates an empty SQLite database file if there is none; EDatabaseError when it cannot.
void CreateDatabaseFile(const std::string& fileName);
// While set, every database file opens read-only, whatever its component asks: a tool that
// checks, draws or resaves a form from elsewhere must not write to the databases it names.
// Components being designed open theirs read-only regardless.
void SetDatabasesReadOnly(bool v);
bool GetDatabasesReadOnly();

// Registers the dataset, data source and field classes for form files.
void RegisterDbClasses();

KV_ENUM(TTransIsolation, tiDirtyRead, tiReadCommitted, tiRepeatableRead)

KV_EVENT(TPasswordEvent, "Sender: TObject; var Continue: Boolean", TObject*, bool&)

// ---------------------------------------------------------------------------------------------
// TSession: a named scope of databases and aliases. The default session ("Default", the one a
// blank SessionName means) is DefaultSession(), whose aliases are those of RegisterDatabaseAlias
// and the alias file. A session starts (OnStartup) when it is made Active or when the first
// dataset or database of it opens; closing it closes them all. While KeepConnections is on, the
// files that its datasets open by name stay open between uses until DropConnections; off, they
// close with their last dataset (the default session starts with it off). SQLHourGlass shows
// crSQLWait while a dataset of the session runs its statement. NetFileDir and PrivateDir are the BDE's Paradox folders,
// kept for form files; SQLite needs neither. OnPassword is never called: SQLite tables have no passwords.
class TSession : public TComponent {
  KV_CLASS(TSession, TComponent)
 public:
  explicit TSession(TComponent* owner);
  ~TSession() override;

  bool GetActive() const { return FActive; }
  void SetActive(bool v);
  void Open() { SetActive(true); }
  void Close() { SetActive(false); }
  // "Default" for the default session. Two sessions of one name cannot both be active.
  std::string GetSessionName() const { return FSessionName; }
  void SetSessionName(const std::string& v);
  bool IsSessionNameStored() const { return !FAutoSessionName; }
  // On: the session names itself after its owner ("Form1_1", ...) and gives that name to the
  // datasets and databases of the same owner.
  bool GetAutoSessionName() const { return FAutoSessionName; }
  void SetAutoSessionName(bool v);
  bool GetKeepConnections() const { return FKeepConnections; }
  void SetKeepConnections(bool v);
  std::string GetNetFileDir() const { return FNetFileDir; }
  void SetNetFileDir(const std::string& v) { FNetFileDir = v; }
  std::string GetPrivateDir() const { return FPrivateDir; }
  void SetPrivateDir(const std::string& v) { FPrivateDir = v; }
  bool GetSQLHourGlass() const { return FSQLHourGlass; }
  void SetSQLHourGlass(bool v) { FSQLHourGlass = v; }

  TPasswordEvent OnPassword;
  TNotifyEvent OnStartup;

  // Aliases of this session; the default session's are global. `params` gives PATH (or
  // DATABASE) = the database file.
  void AddAlias(const std::string& name, const std::string& driver, TStrings* params);
  void AddStandardAlias(const std::string& name, const std::string& path, const std::string& driver);
  void DeleteAlias(const std::string& name);  // EDatabaseError when it is not one of ours
  bool IsAlias(const std::string& name) const;
  void GetAliasNames(TStrings* list) const;
  void GetAliasParams(const std::string& name, TStrings* list) const;
  // The DatabaseNames of the session's TDatabase components, then its aliases.
  void GetDatabaseNames(TStrings* list) const;
  // The tables (and views) of a database of the session; `pattern` matches with * and ?.
  void GetTableNames(const std::string& databaseName, const std::string& pattern, bool systemTables, TStrings* list);
  // The file an alias of this session (or a default one) names, else `name` itself.
  std::string ResolveDatabaseName(const std::string& name) const;
  TDatabase* FindDatabase(const std::string& name) const;
  // The database component of that name, opened; a temporary one owned by the session when
  // there is none. CloseDatabase closes it and frees it when it was temporary.
  TDatabase* OpenDatabase(const std::string& name);
  void CloseDatabase(TDatabase* database);
  // Closes the files kept open for datasets that named them.
  void DropConnections();
  int DatabaseCount() const;

  // The session named `name` ("" or "Default": the default one; an active one first), or nullptr.
  static TSession* Find(const std::string& name);
  // Find, raising EDatabaseError SInvalidSessionName.
  static TSession* Named(const std::string& name);
  static bool IsDefaultName(const std::string& name);

  void Loaded() override;

 private:
  friend class TDBDataSet;
  friend TSession* DefaultSession();
  void CheckInactive() const;
  void UpdateAutoSessionName();
  std::shared_ptr<TSqlConnection> Connection(const std::string& fileName, bool readOnly);
  std::string FSessionName, FNetFileDir, FPrivateDir;
  std::vector<std::pair<std::string, std::string>> FAliases;  // name, file
  std::vector<std::shared_ptr<TSqlConnection>> FKept;
  std::vector<TDatabase*> FTemporary;
  bool FActive = false;
  bool FStreamedActive = false;
  bool FAutoSessionName = false;
  bool FKeepConnections = true;
  bool FSQLHourGlass = true;
  bool FDefault = false;
};

// The session of SessionName "Default", there from the start as in the VCL.
TSession* DefaultSession();

// ---------------------------------------------------------------------------------------------
// TDatabase: a named connection that datasets share by its DatabaseName. The file is the
// value of Params' DATABASE or PATH entry when given, else the file of AliasName as its session
// resolves it. SQLite has no login and its transactions are serializable: LoginPrompt,
// TransIsolation and DriverName are kept for the form files that set them.
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
  void SetSessionName(const std::string& v);
  // The session that SessionName names; EDatabaseError SInvalidSessionName when none does.
  TSession* Session() const;
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
  // The TDatabase of the session named `sessionName` ("" or "Default": the default session)
  // whose DatabaseName is `name`, or nullptr.
  static TDatabase* Find(const std::string& name, const std::string& sessionName = "");

 private:
  friend class TDBDataSet;
  friend class TSession;
  void CheckInactive() const;
  void Connect();
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
// TSqlDataSet: a dataset over the result of a SELECT on a SQLite database, the engine of the
// BDE-style datasets here and of the ADO ones (ADODB). Its descendants say where the
// connection comes from and what the statement is.
//
// A master data source (MasterSource, or DataSource for a query) makes it a detail: when
// MasterFields names fields of the master, only the rows whose detail fields hold the master's
// current values show: the detail fields are the leading fields of IndexFieldNames, or the
// master's field names when there is no index; the dataset runs again whenever the master's
// current record changes. A closed master leaves the detail unfiltered.
class TSqlDataSet : public TDataSet {
  KV_CLASS(TSqlDataSet, TDataSet)
 public:
  explicit TSqlDataSet(TComponent* owner);
  ~TSqlDataSet() override;
  // True when edits can be written back: not read-only, and the result maps onto the rows
  // of one table.
  bool CanModify() const override;
  TDataSource* GetMasterSource() const;
  void SetMasterSource(TDataSource* v);
  std::string GetMasterFields() const { return FMasterFields; }
  void SetMasterFields(const std::string& v);

 protected:
  // The connection to read from, opened on demand; the caller keeps it while it needs it.
  virtual std::shared_ptr<TSqlConnection> Connect() = 0;
  // The SELECT statement of the dataset.
  virtual std::string SelectSQL(TSqlConnection& c) const = 0;
  virtual const TParams* SelectParams() const { return nullptr; }
  // Whether the result may be written back at all (a query only when RequestLive).
  virtual bool WantLive() const { return true; }
  // The fields that order the rows and match a master ("Name;City", ADO's "Name DESC").
  virtual std::string DetailIndexFields() const { return ""; }
  // Rows of the result that the dataset keeps (all by default; MaxRecords, ...).
  virtual void FilterRows(std::vector<TDbRow>& rows);
  // The master's current record changed: the dataset runs again, unless it is being loaded.
  virtual void MasterChanged();
  TDataSet* MasterDataSet() const;
  void InternalOpen(std::vector<TDbRow>& rows) override;
  void InternalInitFieldDefs() override;
  void InternalClose() override;
  void InternalPost(TDbRow& row, const TDbRow* old) override;
  void InternalDelete(const TDbRow& row) override;
  TSqlConnection* Connection() const { return FConnection.get(); }

 private:
  class TMasterLink;
  struct TColumn {
    std::string Origin;  // column of the update table; "" for expressions
  };
  void Select(std::vector<TDbRow>* rows);
  void RefreshRow(TDbRow& row);
  void KeepMasterRows(std::vector<TDbRow>& rows) const;
  std::unique_ptr<TMasterLink> FMasterLink;
  std::string FMasterFields;
  std::shared_ptr<TSqlConnection> FConnection;
  std::vector<TColumn> FColumns;
  std::string FUpdateTable;  // "" when the result is read-only
};

// The names of an IndexFieldNames list ("A;B DESC"), with whether each sorts descending.
struct TIndexField {
  std::string Name;
  bool Descending = false;
};
std::vector<TIndexField> ParseIndexFieldNames(const std::string& names);

// ---------------------------------------------------------------------------------------------
// TDBDataSet: a dataset of a database that DatabaseName names, in the session SessionName names.
class TDBDataSet : public TSqlDataSet {
  KV_CLASS(TDBDataSet, TSqlDataSet)
 public:
  explicit TDBDataSet(TComponent* owner);
  ~TDBDataSet() override;
  std::string GetDatabaseName() const { return FDatabaseName; }
  void SetDatabaseName(const std::string& v);
  std::string GetSessionName() const { return FSessionName; }
  void SetSessionName(const std::string& v);
  // The TDatabase component the dataset uses, or nullptr when it opens the file itself.
  TDatabase* Database() const { return TDatabase::Find(FDatabaseName, FSessionName); }
  TSession* DBSession() const { return TSession::Named(FSessionName); }

 protected:
  std::shared_ptr<TSqlConnection> Connect() override;
  void InternalOpen(std::vector<TDbRow>& rows) override;
  void InternalClose() override;

 private:
  friend class TSession;
  std::string FDatabaseName, FSessionName;
  TDatabase* FDatabase = nullptr;  // while open through one
};

// ---------------------------------------------------------------------------------------------
KV_ENUM(TTableType, ttDefault, ttParadox, ttDBase, ttASCII)

// The SELECT of a whole table ordered by IndexFieldNames ("A;B DESC") or the columns of the
// index IndexName; a Paradox or dBASE file name ("customer.db") names the table without its
// extension when there is no table of the full name.
// `orderColumns` receives the columns it orders by.
std::string TableSelectSQL(TSqlConnection& c, const std::string& tableName, const std::string& indexFieldNames,
                           const std::string& indexName, std::vector<std::string>* orderColumns = nullptr);

class TTable : public TDBDataSet {
  KV_CLASS(TTable, TDBDataSet)
 public:
  explicit TTable(TComponent* owner) : TDBDataSet(owner) {}
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
  std::string DetailIndexFields() const override;

 private:
  std::string FTableName, FIndexFieldNames, FIndexName;
  mutable std::string FIndexColumns;  // of IndexName, found by the last SelectSQL
  TTableType FTableType = ttDefault;
  bool FExclusive = false;
};

// The :Name parameters of SQL text, each once, in order of first use.
std::vector<std::string> SqlParamNames(std::string_view sql);

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
  TDataSource* GetDataSource() const { return GetMasterSource(); }
  void SetDataSource(TDataSource* v) { SetMasterSource(v); }
  // Runs statements without a result (all of them, when the text holds several).
  void ExecSQL();
  int RowsAffected() const { return FRowsAffected; }

  void DefineProperties(TFiler* filer) override;

 protected:
  std::string SelectSQL(TSqlConnection& c) const override;
  const TParams* SelectParams() const override;
  bool WantLive() const override { return FRequestLive; }

 private:
  void QueryChanged(TObject* sender);
  mutable TParams FEffectiveParams;  // the parameters with the master's values filled in
  TStringList* FSQL;
  TParams* FParams;
  int FRowsAffected = -1;
  bool FParamCheck = true;
  bool FRequestLive = false;
  bool FUniDirectional = false;
};
