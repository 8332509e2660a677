// ADODB: the ADO components of form files (TADOConnection, TADODataSet, TADOTable, TADOQuery,
// TADOStoredProc, TADOCommand), served by SQLite through the same engine as DbTables.
//
// A connection string is ADO's "Key=Value;..." text (values may be quoted with " or '). Its
// Data Source, when it names a SQLite database file, is opened whatever the Provider says, so a
// form written for Jet or ACE runs on a copy of its data converted to SQLite. Anything else
// fails as ADO fails on a machine without that provider, with ADO's words, and no file is ever
// created:
//
//   Data Source names a missing file         EOleException "Could not find file '<path>'."
//   an existing file that is not SQLite's    EOleException "Provider cannot be found. It may
//     (an .mdb), or a server provider          not be properly installed."
//     (SQLOLEDB, MSDAORA, ...)
//   neither Provider nor Data Source         EOleException "[Microsoft][ODBC Driver Manager]
//                                              Data source name not found and no default driver
//                                              specified"
//
// "File Name=x.udl" reads the connection string from that data link file (UTF-16 or 8-bit).
// Mode cmRead opens the file read-only; the share-deny modes take SQLite's exclusive lock.
// SQLite has no login: LoginPrompt only decides whether OnLogin is called (with the User ID and
// Password of the connection string); no dialog is shown. SQLite has no stored procedures:
// opening a TADOStoredProc, or a command of type cmdStoredProc, raises EADOError. Transactions
// are SQLite's (serializable whatever IsolationLevel says); Attributes xaCommitRetaining and
// xaAbortRetaining start the next transaction as ADO does. A dataset reads its whole result as a
// client cursor (CursorLocation clUseClient) would; IndexFieldNames ("Name;City DESC") sorts it,
// Filter (with Filtered) keeps the rows ADO's filter syntax selects, translated to SQL; LockType
// ltReadOnly makes it read-only, any other lock type writes each post straight through.
// CursorType, CacheSize, ConnectionTimeout, CommandTimeout, ExecuteOptions, MarshalOptions,
// EnableBCD and Prepared are kept for the form files that set them.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "DbTables.h"

// ComObj's exceptions, which ADO errors arrive as.
KV_EXCEPTION(EOleError, Exception);
KV_EXCEPTION(EOleSysError, EOleError);
KV_EXCEPTION(EOleException, EOleSysError);
// ADODB's own errors.
KV_EXCEPTION(EADOError, EDatabaseError);

namespace ADOConsts {
inline constexpr const char* SMissingConnection = "Missing Connection or ConnectionString";
inline constexpr const char* SMissingCommandText = "Missing %s property";
inline constexpr const char* SNoResultSet = "CommandText does not return a result set";
inline constexpr const char* SProviderNotFound = "Provider cannot be found. It may not be properly installed.";
inline constexpr const char* SFileNotFound = "Could not find file '%s'.";
inline constexpr const char* SNoDefaultDriver =
    "[Microsoft][ODBC Driver Manager] Data source name not found and no default driver specified";
inline constexpr const char* SNoStoredProcedures = "SQLite has no stored procedures: %s cannot run";
inline constexpr const char* SNoRecordsetFiles = "Recordset files cannot be opened here: %s";
inline constexpr const char* SNoTransaction = "No transaction is active";
inline constexpr const char* SConnectionOpen = "Operation is not allowed when the object is open.";
inline constexpr const char* SRangeError = "Range check error";
inline constexpr const char* SOperationCancelled = "Operation has been cancelled by the user.";
}  // namespace ADOConsts

KV_ENUM(TConnectMode, cmUnknown, cmRead, cmWrite, cmReadWrite, cmShareDenyRead, cmShareDenyWrite, cmShareExclusive,
        cmShareDenyNone)
KV_ENUM(TCursorLocation, clUseServer, clUseClient)
KV_ENUM(TCursorType, ctUnspecified, ctOpenForwardOnly, ctKeyset, ctDynamic, ctStatic)
KV_ENUM(TADOLockType, ltUnspecified, ltReadOnly, ltPessimistic, ltOptimistic, ltBatchOptimistic)
KV_ENUM(TCommandType, cmdUnknown, cmdText, cmdTable, cmdStoredProc, cmdFile, cmdTableDirect)
KV_ENUM(TIsolationLevel, ilUnspecified, ilChaos, ilReadUncommitted, ilBrowse, ilCursorStability, ilReadCommitted,
        ilRepeatableRead, ilSerializable, ilIsolated)
KV_ENUM(TXactAttribute, xaCommitRetaining, xaAbortRetaining)
KV_SET(TXactAttributes, TXactAttribute)
KV_ENUM(TConnectOption, coConnectUnspecified, coAsyncConnect)
KV_ENUM(TExecuteOption, eoAsyncExecute, eoAsyncFetch, eoAsyncFetchNonBlocking, eoExecuteNoRecords)
KV_SET(TExecuteOptions, TExecuteOption)
KV_ENUM(TMarshalOption, moMarshalAll, moMarshalModifiedOnly)
KV_ENUM(TEventStatus, esOK, esErrorsOccured, esCantDeny, esCancel, esUnwantedEvent)
KV_ENUM(TParameterDirection, pdUnknown, pdInput, pdOutput, pdInputOutput, pdReturnValue)
KV_ENUM(TParameterAttribute, paSigned, paNullable, paLong)
KV_SET(TParameterAttributes, TParameterAttribute)

class TADOConnection;
class TCustomADODataSet;

KV_EVENT(TLoginEvent, "Sender: TObject; Username, Password: string", TObject*, std::string, std::string)
KV_EVENT(TWillConnectEvent,
         "Connection: TADOConnection; var ConnectionString, UserID, Password: WideString; "
         "var ConnectOptions: TConnectOption; var EventStatus: TEventStatus",
         TADOConnection*, std::string&, std::string&, std::string&, TConnectOption&, TEventStatus&)
KV_EVENT(TConnectErrorEvent, "Connection: TADOConnection; Error: Error; var EventStatus: TEventStatus", TADOConnection*,
         const std::string&, TEventStatus&)
KV_EVENT(TDisconnectEvent, "Connection: TADOConnection; var EventStatus: TEventStatus", TADOConnection*, TEventStatus&)
KV_EVENT(TBeginTransCompleteEvent,
         "Connection: TADOConnection; TransactionLevel: Integer; const Error: Error; var EventStatus: TEventStatus",
         TADOConnection*, int, const std::string&, TEventStatus&)
KV_EVENT(TExecuteCompleteEvent,
         "Connection: TADOConnection; RecordsAffected: Integer; const Error: Error; var EventStatus: TEventStatus; "
         "const Command: _Command; const Recordset: _Recordset",
         TADOConnection*, int, const std::string&, TEventStatus&, TObject*, TObject*)

// The parts of a connection string, keys as written; Value answers "" for a missing key.
class TADOConnectionString {
 public:
  explicit TADOConnectionString(const std::string& text);
  std::string Value(std::string_view key) const;
  bool Has(std::string_view key) const;
  const std::vector<std::pair<std::string, std::string>>& Items() const { return FItems; }

 private:
  std::vector<std::pair<std::string, std::string>> FItems;
};

// ---------------------------------------------------------------------------------------------
// TADOConnection
class TADOConnection : public TComponent {
  KV_CLASS(TADOConnection, TComponent)
 public:
  explicit TADOConnection(TComponent* owner);
  ~TADOConnection() override;

  bool GetConnected() const { return FConnection != nullptr; }
  void SetConnected(bool v);
  void Open() { SetConnected(true); }
  void Open(const std::string& userID, const std::string& password);
  void Close() { SetConnected(false); }  // closes the datasets using it first
  std::string GetConnectionString() const { return FConnectionString; }
  void SetConnectionString(const std::string& v);
  // The connection string's Provider, else the one set, else ADO's default MSDASQL.1.
  std::string GetProvider() const;
  void SetProvider(const std::string& v);
  bool IsProviderStored() const { return !FProvider.empty(); }
  std::string GetDefaultDatabase() const { return FDefaultDatabase; }
  void SetDefaultDatabase(const std::string& v) { FDefaultDatabase = v; }
  bool GetLoginPrompt() const { return FLoginPrompt; }
  void SetLoginPrompt(bool v) { FLoginPrompt = v; }
  bool GetKeepConnection() const { return FKeepConnection; }
  void SetKeepConnection(bool v) { FKeepConnection = v; }
  TConnectMode GetMode() const { return FMode; }
  void SetMode(TConnectMode v);
  TCursorLocation GetCursorLocation() const { return FCursorLocation; }
  void SetCursorLocation(TCursorLocation v) { FCursorLocation = v; }
  int GetConnectionTimeout() const { return FConnectionTimeout; }
  void SetConnectionTimeout(int v) { FConnectionTimeout = v; }
  int GetCommandTimeout() const { return FCommandTimeout; }
  void SetCommandTimeout(int v) { FCommandTimeout = v; }
  TIsolationLevel GetIsolationLevel() const { return FIsolationLevel; }
  void SetIsolationLevel(TIsolationLevel v) { FIsolationLevel = v; }
  TXactAttributes GetAttributes() const { return FAttributes; }
  void SetAttributes(TXactAttributes v) { FAttributes = v; }
  TConnectOption GetConnectOptions() const { return FConnectOptions; }
  void SetConnectOptions(TConnectOption v) { FConnectOptions = v; }

  // Transactions; BeginTrans answers the nesting level (1: SQLite does not nest them).
  int BeginTrans();
  void CommitTrans();
  void RollbackTrans();
  bool InTransaction() const;
  // Runs statements without a result; answers the number of rows they changed.
  int Execute(const std::string& commandText);
  void GetTableNames(TStrings* list, bool systemTables = false);
  void GetFieldNames(const std::string& tableName, TStrings* list);
  void GetProcedureNames(TStrings* list);  // SQLite has none: the list is emptied
  int DataSetCount() const { return static_cast<int>(FDataSets.size()); }
  // The SQLite file the connection string names (after resolving a .udl file).
  std::string DataSourceFile() const;

  TNotifyEvent AfterConnect, BeforeConnect, AfterDisconnect, BeforeDisconnect;
  TLoginEvent OnLogin;
  TWillConnectEvent OnWillConnect;
  TConnectErrorEvent OnConnectComplete;
  TDisconnectEvent OnDisconnect;
  TBeginTransCompleteEvent OnBeginTransComplete;
  TConnectErrorEvent OnCommitTransComplete;
  TConnectErrorEvent OnRollbackTransComplete;
  TExecuteCompleteEvent OnExecuteComplete;

  void Loaded() override;
  // The open SQLite connection; opens on demand.
  std::shared_ptr<TSqlConnection> Connection();

 private:
  friend class TCustomADODataSet;
  void CheckDisconnected() const;
  void DoConnect(std::string userID, std::string password);
  std::string FConnectionString, FProvider, FDefaultDatabase;
  std::shared_ptr<TSqlConnection> FConnection;
  std::vector<TCustomADODataSet*> FDataSets;  // open datasets on our connection
  TConnectMode FMode = cmUnknown;
  TCursorLocation FCursorLocation = clUseClient;
  TIsolationLevel FIsolationLevel = ilCursorStability;
  TXactAttributes FAttributes;
  TConnectOption FConnectOptions = coConnectUnspecified;
  int FConnectionTimeout = 15;
  int FCommandTimeout = 30;
  bool FLoginPrompt = true;
  bool FKeepConnection = true;
  bool FStreamedConnected = false;
};

// Opens what a connection string names, as TADOConnection does (see the table above).
std::shared_ptr<TSqlConnection> OpenADOConnection(const std::string& connectionString, const std::string& provider = "",
                                                  TConnectMode mode = cmUnknown);

// ---------------------------------------------------------------------------------------------
// Parameters of a command: ":Name" or "?" in its text. Value keeps how a form file gave it
// (integer, float, currency, date, string, boolean, Null), and writes it back the same way.
class TParameter : public TCollectionItem {
  KV_CLASS(TParameter, TCollectionItem)
 public:
  std::string GetName() const { return FName; }
  void SetName(const std::string& v) { FName = v; }
  TFieldType GetDataType() const { return FDataType; }
  void SetDataType(TFieldType v) { FDataType = v; }
  TParameterDirection GetDirection() const { return FDirection; }
  void SetDirection(TParameterDirection v) { FDirection = v; }
  int GetSize() const { return FSize; }
  void SetSize(int v) { FSize = v; }
  TParameterAttributes GetAttributes() const { return FAttributes; }
  void SetAttributes(TParameterAttributes v) { FAttributes = v; }
  int GetNumericScale() const { return FNumericScale; }
  void SetNumericScale(int v);
  int GetPrecision() const { return FPrecision; }
  void SetPrecision(int v);
  std::string GetDisplayName() const override { return FName; }
  void Assign(TPersistent* source) override;
  void DefineProperties(TFiler* filer) override;

  // The value: unassigned (Empty) until set; Null binds NULL.
  bool IsEmpty() const { return FKind == vkEmpty; }
  bool IsNull() const { return FKind == vkEmpty || FKind == vkNull; }
  void Clear() { FKind = vkNull; }
  void SetAsString(const std::string& v);
  void SetAsInteger(int64_t v);
  void SetAsFloat(double v);
  void SetAsBoolean(bool v);
  void SetAsDateTime(TDateTime v);
  void SetAsCurrency(double v);
  std::string GetAsString() const;
  int64_t GetAsInteger() const;
  double GetAsFloat() const;
  // The value as SQLite stores it for DataType: dates as ISO text, booleans as 0 and 1.
  TDbValue SqlValue() const;

 private:
  enum TKind : uint8_t { vkEmpty, vkNull, vkInteger, vkFloat, vkCurrency, vkDate, vkString, vkBoolean };
  std::string FName;
  TFieldType FDataType = ftUnknown;
  TParameterDirection FDirection = pdInput;
  TParameterAttributes FAttributes;
  int FSize = 0;
  int FNumericScale = 0;
  int FPrecision = 0;
  TKind FKind = vkEmpty;
  int64_t FInt = 0;
  double FFloat = 0;
  std::string FStr;
};

class TParameters : public TCollection {
  KV_CLASS(TParameters, TCollection)
 public:
  TParameters() : TCollection(TParameter::StaticClass()) {}
  TParameter* Items(int i) const { return static_cast<TParameter*>(TCollection::Items(i)); }
  TParameter* AddParameter() { return static_cast<TParameter*>(Add()); }
  TParameter* CreateParameter(const std::string& name, TFieldType type, TParameterDirection direction, int size);
  TParameter* FindParam(std::string_view name) const;
  TParameter* ParamByName(std::string_view name) const;  // EADOError SParameterNotFound
  // Makes the list the parameters of `sql`, keeping those of the same names.
  void ParseSQL(const std::string& sql);
  // The input parameters as DbTables binds them (by name, and by position for "?").
  void ToParams(TParams& out) const;
};

// ---------------------------------------------------------------------------------------------
// TCustomADODataSet: the dataset side of ADO over the SQLite engine.
class TCustomADODataSet : public TSqlDataSet {
  KV_CLASS(TCustomADODataSet, TSqlDataSet)
 public:
  explicit TCustomADODataSet(TComponent* owner);
  ~TCustomADODataSet() override;

  TADOConnection* GetConnection() const { return FConnection; }
  void SetConnection(TADOConnection* v);
  // A connection of the dataset's own, used when Connection is not set.
  std::string GetConnectionString() const { return FConnectionString; }
  void SetConnectionString(const std::string& v);
  std::string GetCommandText() const { return FCommandText; }
  void SetCommandText(const std::string& v);
  TCommandType GetCommandType() const { return FCommandType; }
  void SetCommandType(TCommandType v);
  TParameters* GetParameters() const { return FParameters; }
  void SetParameters(TParameters* v) { FParameters->Assign(v); }
  bool GetParamCheck() const { return FParamCheck; }
  void SetParamCheck(bool v) { FParamCheck = v; }
  TCursorType GetCursorType() const { return FCursorType; }
  void SetCursorType(TCursorType v) { FCursorType = v; }
  TADOLockType GetLockType() const { return FLockType; }
  void SetLockType(TADOLockType v);
  TCursorLocation GetCursorLocation() const { return FCursorLocation; }
  void SetCursorLocation(TCursorLocation v) { FCursorLocation = v; }
  int GetCommandTimeout() const { return FCommandTimeout; }
  void SetCommandTimeout(int v) { FCommandTimeout = v; }
  int GetCacheSize() const { return FCacheSize; }
  void SetCacheSize(int v) { FCacheSize = v; }
  // At most this many rows are read; 0 reads all.
  int GetMaxRecords() const { return FMaxRecords; }
  void SetMaxRecords(int v);
  bool GetEnableBCD() const { return FEnableBCD; }
  void SetEnableBCD(bool v) { FEnableBCD = v; }
  bool GetPrepared() const { return FPrepared; }
  void SetPrepared(bool v) { FPrepared = v; }
  TExecuteOptions GetExecuteOptions() const { return FExecuteOptions; }
  void SetExecuteOptions(TExecuteOptions v) { FExecuteOptions = v; }
  TMarshalOption GetMarshalOptions() const { return FMarshalOptions; }
  void SetMarshalOptions(TMarshalOption v) { FMarshalOptions = v; }
  std::string GetIndexFieldNames() const { return FIndexFieldNames; }
  void SetIndexFieldNames(const std::string& v);
  // ADO's filter text: "Name = 'Smith' AND Age > 30", LIKE with * or % wildcards.
  std::string GetFilter() const { return FFilter; }
  void SetFilter(const std::string& v);
  bool GetFiltered() const { return FFiltered; }
  void SetFiltered(bool v);
  TDataSource* GetDataSource() const { return GetMasterSource(); }
  void SetDataSource(TDataSource* v) { SetMasterSource(v); }
  bool CanModify() const override { return FLockType != ltReadOnly && TSqlDataSet::CanModify(); }
  void Requery();

  void Loaded() override;
  void Notification(TComponent* c, TOperation op) override;
  void DefineProperties(TFiler* filer) override;

 protected:
  std::shared_ptr<TSqlConnection> Connect() override;
  std::string SelectSQL(TSqlConnection& c) const override;
  const TParams* SelectParams() const override;
  std::string DetailIndexFields() const override { return FIndexFieldNames; }
  void FilterRows(std::vector<TDbRow>& rows) override;
  void InternalClose() override;
  // The SQL of CommandText by CommandType; EADOError where SQLite cannot serve it.
  virtual std::string CommandSQL(TSqlConnection& c) const;
  // What a missing CommandText is called in the error ("CommandText", "SQL", "TableName").
  virtual const char* CommandPropName() const { return "CommandText"; }
  // The connection for commands run without a result (ExecSQL).
  std::shared_ptr<TSqlConnection> CommandConnection();
  void ParametersChanged();
  int FRowsAffected = -1;

 private:
  void Reopen();
  TADOConnection* FConnection = nullptr;
  TADOConnection* FOpenedOn = nullptr;  // while open through a connection component
  std::string FConnectionString, FCommandText, FIndexFieldNames, FFilter;
  TParameters* FParameters;
  mutable TParams FBound;  // the parameters as bound, with a master's values filled in
  TCommandType FCommandType = cmdText;
  TCursorType FCursorType = ctKeyset;
  TADOLockType FLockType = ltOptimistic;
  TCursorLocation FCursorLocation = clUseClient;
  TExecuteOptions FExecuteOptions;
  TMarshalOption FMarshalOptions = moMarshalAll;
  int FCommandTimeout = 30;
  int FCacheSize = 1;
  int FMaxRecords = 0;
  bool FParamCheck = true;
  bool FEnableBCD = true;
  bool FPrepared = false;
  bool FFiltered = false;
};

class TADODataSet : public TCustomADODataSet {
  KV_CLASS(TADODataSet, TCustomADODataSet)
 public:
  explicit TADODataSet(TComponent* owner) : TCustomADODataSet(owner) {}
};

class TADOTable : public TCustomADODataSet {
  KV_CLASS(TADOTable, TCustomADODataSet)
 public:
  explicit TADOTable(TComponent* owner);
  std::string GetTableName() const { return GetCommandText(); }
  void SetTableName(const std::string& v) { SetCommandText(v); }
  bool GetReadOnly() const { return GetLockType() == ltReadOnly; }
  void SetReadOnly(bool v) { SetLockType(v ? ltReadOnly : ltOptimistic); }
  bool GetTableDirect() const { return GetCommandType() == cmdTableDirect; }
  void SetTableDirect(bool v) { SetCommandType(v ? cmdTableDirect : cmdTable); }

 protected:
  const char* CommandPropName() const override { return "TableName"; }
};

class TADOQuery : public TCustomADODataSet {
  KV_CLASS(TADOQuery, TCustomADODataSet)
 public:
  explicit TADOQuery(TComponent* owner);
  ~TADOQuery() override;
  TStrings* GetSQL() const { return FSQL; }
  void SetSQL(TStrings* v) { FSQL->Assign(v); }
  // Runs the statements of SQL; answers the rows they changed.
  int ExecSQL();
  int RowsAffected() const { return FRowsAffected; }

 protected:
  const char* CommandPropName() const override { return "SQL"; }

 private:
  void SQLChanged(TObject* sender);
  TStringList* FSQL;
};

// SQLite has no stored procedures: the component keeps its properties and fails to run.
class TADOStoredProc : public TCustomADODataSet {
  KV_CLASS(TADOStoredProc, TCustomADODataSet)
 public:
  explicit TADOStoredProc(TComponent* owner);
  std::string GetProcedureName() const { return GetCommandText(); }
  void SetProcedureName(const std::string& v) { SetCommandText(v); }
  void ExecProc();

 protected:
  const char* CommandPropName() const override { return "ProcedureName"; }
};

// A command without a dataset: Execute runs CommandText and answers the rows it changed.
class TADOCommand : public TComponent {
  KV_CLASS(TADOCommand, TComponent)
 public:
  explicit TADOCommand(TComponent* owner);
  ~TADOCommand() override;
  TADOConnection* GetConnection() const { return FConnection; }
  void SetConnection(TADOConnection* v);
  std::string GetConnectionString() const { return FConnectionString; }
  void SetConnectionString(const std::string& v) { FConnectionString = v; }
  std::string GetCommandText() const { return FCommandText; }
  void SetCommandText(const std::string& v);
  TCommandType GetCommandType() const { return FCommandType; }
  void SetCommandType(TCommandType v) { FCommandType = v; }
  TParameters* GetParameters() const { return FParameters; }
  void SetParameters(TParameters* v) { FParameters->Assign(v); }
  bool GetParamCheck() const { return FParamCheck; }
  void SetParamCheck(bool v) { FParamCheck = v; }
  int GetCommandTimeout() const { return FCommandTimeout; }
  void SetCommandTimeout(int v) { FCommandTimeout = v; }
  TExecuteOptions GetExecuteOptions() const { return FExecuteOptions; }
  void SetExecuteOptions(TExecuteOptions v) { FExecuteOptions = v; }
  bool GetPrepared() const { return FPrepared; }
  void SetPrepared(bool v) { FPrepared = v; }
  int Execute();

  void Notification(TComponent* c, TOperation op) override;
  void DefineProperties(TFiler* filer) override;

 private:
  TADOConnection* FConnection = nullptr;
  std::string FConnectionString, FCommandText;
  TParameters* FParameters;
  TCommandType FCommandType = cmdText;
  TExecuteOptions FExecuteOptions;
  int FCommandTimeout = 30;
  bool FParamCheck = true;
  bool FPrepared = false;
};

// The field ADO gives text columns of the wide (N...) types. Text is UTF-8 here whatever the
// column, so it is a string field; FixedChar (CHAR rather than VARCHAR) pads values to Size.
// It belongs to Delphi's DB unit and is registered with the ADO classes that create it.
class TWideStringField : public TStringField {
  KV_CLASS(TWideStringField, TStringField)
 public:
  explicit TWideStringField(TComponent* owner) : TStringField(owner) {}
  bool GetFixedChar() const { return FFixedChar; }
  void SetFixedChar(bool v) { FFixedChar = v; }
  std::string GetAsString() const override;

 private:
  bool FFixedChar = false;
};

// Registers the ADO classes for form files.
void RegisterADODBClasses();
