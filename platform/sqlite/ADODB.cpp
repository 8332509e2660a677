// ADODB: ADO's components over the SQLite engine of DbTables.
#include "../ADODB.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <fstream>

#include "../Consts.h"
#include "../TypInfo.h"
#include "SqliteDb.h"

using namespace DBConsts;

KV_IMPLEMENT_CLASS(TADOConnection, "ADODB") {
  b.Prop("Attributes", &TADOConnection::GetAttributes, &TADOConnection::SetAttributes).Default(TXactAttributes{});
  b.Prop("CommandTimeout", &TADOConnection::GetCommandTimeout, &TADOConnection::SetCommandTimeout).Default(30);
  b.Prop("Connected", &TADOConnection::GetConnected, &TADOConnection::SetConnected).Default(false);
  b.Prop("ConnectionString", &TADOConnection::GetConnectionString, &TADOConnection::SetConnectionString);
  b.Prop("ConnectionTimeout", &TADOConnection::GetConnectionTimeout, &TADOConnection::SetConnectionTimeout).Default(15);
  b.Prop("ConnectOptions", &TADOConnection::GetConnectOptions, &TADOConnection::SetConnectOptions)
      .Default(coConnectUnspecified);
  b.Prop("CursorLocation", &TADOConnection::GetCursorLocation, &TADOConnection::SetCursorLocation).Default(clUseClient);
  b.Prop("DefaultDatabase", &TADOConnection::GetDefaultDatabase, &TADOConnection::SetDefaultDatabase);
  b.Prop("IsolationLevel", &TADOConnection::GetIsolationLevel, &TADOConnection::SetIsolationLevel)
      .Default(ilCursorStability);
  b.Prop("KeepConnection", &TADOConnection::GetKeepConnection, &TADOConnection::SetKeepConnection).Default(true);
  b.Prop("LoginPrompt", &TADOConnection::GetLoginPrompt, &TADOConnection::SetLoginPrompt).Default(true);
  b.Prop("Mode", &TADOConnection::GetMode, &TADOConnection::SetMode).Default(cmUnknown);
  b.Prop("Provider", &TADOConnection::GetProvider, &TADOConnection::SetProvider)
      .StoredMethod(&TADOConnection::IsProviderStored);
  b.Prop("AfterConnect", &TADOConnection::AfterConnect);
  b.Prop("BeforeConnect", &TADOConnection::BeforeConnect);
  b.Prop("AfterDisconnect", &TADOConnection::AfterDisconnect);
  b.Prop("BeforeDisconnect", &TADOConnection::BeforeDisconnect);
  b.Prop("OnBeginTransComplete", &TADOConnection::OnBeginTransComplete);
  b.Prop("OnCommitTransComplete", &TADOConnection::OnCommitTransComplete);
  b.Prop("OnConnectComplete", &TADOConnection::OnConnectComplete);
  b.Prop("OnDisconnect", &TADOConnection::OnDisconnect);
  b.Prop("OnExecuteComplete", &TADOConnection::OnExecuteComplete);
  b.Prop("OnLogin", &TADOConnection::OnLogin);
  b.Prop("OnRollbackTransComplete", &TADOConnection::OnRollbackTransComplete);
  b.Prop("OnWillConnect", &TADOConnection::OnWillConnect);
}

KV_IMPLEMENT_CLASS(TParameter, "ADODB") {
  b.Prop("Name", &TParameter::GetName, &TParameter::SetName);
  b.Prop("Attributes", &TParameter::GetAttributes, &TParameter::SetAttributes).Default(TParameterAttributes{});
  b.Prop("DataType", &TParameter::GetDataType, &TParameter::SetDataType).Default(ftUnknown);
  b.Prop("Direction", &TParameter::GetDirection, &TParameter::SetDirection).Default(pdInput);
  b.Prop("NumericScale", &TParameter::GetNumericScale, &TParameter::SetNumericScale).Default(0);
  b.Prop("Precision", &TParameter::GetPrecision, &TParameter::SetPrecision).Default(0);
  b.Prop("Size", &TParameter::GetSize, &TParameter::SetSize).Default(0);
}
KV_IMPLEMENT_CLASS(TParameters, "ADODB") {}

KV_IMPLEMENT_CLASS(TCustomADODataSet, "ADODB") {}

// The published set of each dataset class, in Delphi 7's order; Parameters is written by
// DefineProperties so that an empty list is stored as "<>" as Delphi stores it.
namespace {
template <class C>
void ADOPublishConnection(TClassBuilder<C>& b) {
  b.Prop("CacheSize", &TCustomADODataSet::GetCacheSize, &TCustomADODataSet::SetCacheSize).Default(1);
  b.Prop("Connection", &TCustomADODataSet::GetConnection, &TCustomADODataSet::SetConnection);
  b.Prop("ConnectionString", &TCustomADODataSet::GetConnectionString, &TCustomADODataSet::SetConnectionString);
  b.Prop("CursorLocation", &TCustomADODataSet::GetCursorLocation, &TCustomADODataSet::SetCursorLocation)
      .Default(clUseClient);
  b.Prop("CursorType", &TCustomADODataSet::GetCursorType, &TCustomADODataSet::SetCursorType).Default(ctKeyset);
  b.Prop("EnableBCD", &TCustomADODataSet::GetEnableBCD, &TCustomADODataSet::SetEnableBCD).Default(true);
  b.Prop("ExecuteOptions", &TCustomADODataSet::GetExecuteOptions, &TCustomADODataSet::SetExecuteOptions)
      .Default(TExecuteOptions{});
  b.Prop("Filter", &TCustomADODataSet::GetFilter, &TCustomADODataSet::SetFilter);
  b.Prop("Filtered", &TCustomADODataSet::GetFiltered, &TCustomADODataSet::SetFiltered).Default(false);
  b.Prop("LockType", &TCustomADODataSet::GetLockType, &TCustomADODataSet::SetLockType).Default(ltOptimistic);
  b.Prop("MarshalOptions", &TCustomADODataSet::GetMarshalOptions, &TCustomADODataSet::SetMarshalOptions)
      .Default(moMarshalAll);
  b.Prop("MaxRecords", &TCustomADODataSet::GetMaxRecords, &TCustomADODataSet::SetMaxRecords).Default(0);
}

template <class C>
void ADOPublishParameters(TClassBuilder<C>& b) {
  b.Prop("ParamCheck", &C::GetParamCheck, &C::SetParamCheck).Default(true);
  b.Prop("Parameters", &C::GetParameters, &C::SetParameters).Stored(false);
  b.Prop("Prepared", &C::GetPrepared, &C::SetPrepared).Default(false);
}
}  // namespace

KV_IMPLEMENT_CLASS(TADODataSet, "ADODB") {
  ADOPublishConnection(b);
  b.Prop("CommandText", &TCustomADODataSet::GetCommandText, &TCustomADODataSet::SetCommandText);
  b.Prop("CommandTimeout", &TCustomADODataSet::GetCommandTimeout, &TCustomADODataSet::SetCommandTimeout).Default(30);
  b.Prop("CommandType", &TCustomADODataSet::GetCommandType, &TCustomADODataSet::SetCommandType).Default(cmdText);
  b.Prop("DataSource", &TCustomADODataSet::GetDataSource, &TCustomADODataSet::SetDataSource);
  b.Prop("IndexFieldNames", &TCustomADODataSet::GetIndexFieldNames, &TCustomADODataSet::SetIndexFieldNames);
  b.Prop("MasterFields", &TSqlDataSet::GetMasterFields, &TSqlDataSet::SetMasterFields);
  ADOPublishParameters(b);
}

KV_IMPLEMENT_CLASS(TADOTable, "ADODB") {
  ADOPublishConnection(b);
  b.Prop("CommandTimeout", &TCustomADODataSet::GetCommandTimeout, &TCustomADODataSet::SetCommandTimeout).Default(30);
  b.Prop("IndexFieldNames", &TCustomADODataSet::GetIndexFieldNames, &TCustomADODataSet::SetIndexFieldNames);
  b.Prop("MasterFields", &TSqlDataSet::GetMasterFields, &TSqlDataSet::SetMasterFields);
  b.Prop("MasterSource", &TSqlDataSet::GetMasterSource, &TSqlDataSet::SetMasterSource);
  b.Prop("ReadOnly", &TADOTable::GetReadOnly, &TADOTable::SetReadOnly).Default(false);
  b.Prop("TableDirect", &TADOTable::GetTableDirect, &TADOTable::SetTableDirect).Default(false);
  b.Prop("TableName", &TADOTable::GetTableName, &TADOTable::SetTableName);
}

KV_IMPLEMENT_CLASS(TADOQuery, "ADODB") {
  ADOPublishConnection(b);
  b.Prop("CommandTimeout", &TCustomADODataSet::GetCommandTimeout, &TCustomADODataSet::SetCommandTimeout).Default(30);
  b.Prop("DataSource", &TCustomADODataSet::GetDataSource, &TCustomADODataSet::SetDataSource);
  ADOPublishParameters(b);
  b.Prop("SQL", &TADOQuery::GetSQL, &TADOQuery::SetSQL);
}

KV_IMPLEMENT_CLASS(TADOStoredProc, "ADODB") {
  ADOPublishConnection(b);
  b.Prop("CommandTimeout", &TCustomADODataSet::GetCommandTimeout, &TCustomADODataSet::SetCommandTimeout).Default(30);
  b.Prop("ProcedureName", &TADOStoredProc::GetProcedureName, &TADOStoredProc::SetProcedureName);
  ADOPublishParameters(b);
}

KV_IMPLEMENT_CLASS(TADOCommand, "ADODB") {
  b.Prop("CommandText", &TADOCommand::GetCommandText, &TADOCommand::SetCommandText);
  b.Prop("CommandTimeout", &TADOCommand::GetCommandTimeout, &TADOCommand::SetCommandTimeout).Default(30);
  b.Prop("CommandType", &TADOCommand::GetCommandType, &TADOCommand::SetCommandType).Default(cmdText);
  b.Prop("Connection", &TADOCommand::GetConnection, &TADOCommand::SetConnection);
  b.Prop("ConnectionString", &TADOCommand::GetConnectionString, &TADOCommand::SetConnectionString);
  b.Prop("ExecuteOptions", &TADOCommand::GetExecuteOptions, &TADOCommand::SetExecuteOptions).Default(TExecuteOptions{});
  ADOPublishParameters(b);
}

KV_IMPLEMENT_CLASS(TWideStringField, "Db") {
  b.Prop("FixedChar", &TWideStringField::GetFixedChar, &TWideStringField::SetFixedChar).Default(false);
}

void RegisterADODBClasses() {
  RegisterClasses({TWideStringField::StaticClass(), TADOConnection::StaticClass(), TADODataSet::StaticClass(),
                   TADOTable::StaticClass(), TADOQuery::StaticClass(), TADOStoredProc::StaticClass(),
                   TADOCommand::StaticClass()});
}

std::string TWideStringField::GetAsString() const {
  std::string s = TStringField::GetAsString();
  if (!FFixedChar || IsNull()) return s;
  // Pads by characters, not bytes.
  int chars = static_cast<int>(
      std::count_if(s.begin(), s.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
  if (chars < GetSize()) s.append(static_cast<size_t>(GetSize() - chars), ' ');
  return s;
}

// =============================================================================================
// Connection strings

TADOConnectionString::TADOConnectionString(const std::string& text) {
  size_t i = 0, n = text.size();
  while (i < n) {
    size_t eq = text.find('=', i);
    if (eq == std::string::npos) break;
    std::string key = Trim(text.substr(i, eq - i));
    if (size_t semi = key.rfind(';'); semi != std::string::npos) key = Trim(key.substr(semi + 1));
    i = eq + 1;
    while (i < n && text[i] == ' ') ++i;
    std::string value;
    if (i < n && (text[i] == '"' || text[i] == '\'')) {
      // A quoted value; the quote doubled stands for itself.
      const char q = text[i++];
      while (i < n) {
        if (text[i] == q && i + 1 < n && text[i + 1] == q) {
          value += q;
          i += 2;
        } else if (text[i] == q) {
          ++i;
          break;
        } else {
          value += text[i++];
        }
      }
      size_t semi = text.find(';', i);
      i = semi == std::string::npos ? n : semi + 1;
    } else {
      size_t semi = text.find(';', i);
      value = Trim(text.substr(i, semi == std::string::npos ? std::string::npos : semi - i));
      i = semi == std::string::npos ? n : semi + 1;
    }
    if (!key.empty()) FItems.emplace_back(key, value);
  }
}

bool TADOConnectionString::Has(std::string_view key) const {
  return std::any_of(FItems.begin(), FItems.end(), [&](const auto& kv) { return SameText(kv.first, key); });
}

std::string TADOConnectionString::Value(std::string_view key) const {
  for (const auto& [k, v] : FItems)
    if (SameText(k, key)) return v;
  return "";
}

namespace {

// SQLite's file header, or an empty file, which SQLite takes for an empty database.
bool ADOIsSqliteFile(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  if (!f) return false;
  char head[16] = {};
  f.read(head, sizeof head);
  return f.gcount() == 0 || (f.gcount() == 16 && std::memcmp(head, "SQLite format 3", 16) == 0);
}

// A data link file: "[oledb]", a comment, then the connection string; UTF-16 as Windows
// writes it, or 8-bit.
std::string ADOReadUdlFile(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  if (!f) throw EOleException(Format(ADOConsts::SFileNotFound, path));
  std::string bytes((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
  std::string text = bytes;
  if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
      static_cast<unsigned char>(bytes[1]) == 0xFE) {
    std::u16string u;
    for (size_t i = 2; i + 1 < bytes.size(); i += 2)
      u +=
          static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) | (static_cast<unsigned char>(bytes[i + 1]) << 8));
    text = Utf16ToUtf8(u);
  }
  TStringList lines;
  lines.SetText(text);
  for (int i = 0; i < lines.Count(); ++i) {
    std::string line = Trim(lines[i]);
    if (!line.empty() && line[0] != '[' && line[0] != ';') return line;
  }
  return "";
}

// Jet, ACE, SQLite's own providers and ODBC take a file; the others name a server.
bool ADOIsFileProvider(const std::string& provider) {
  std::string p = UpperCase(provider);
  return p.empty() || p.find("JET") != std::string::npos || p.find("ACE") != std::string::npos ||
         p.find("SQLITE") != std::string::npos || p.find("MSDASQL") != std::string::npos;
}

}  // namespace

std::shared_ptr<TSqlConnection> OpenADOConnection(const std::string& connectionString, const std::string& provider,
                                                  TConnectMode mode) {
  TADOConnectionString cs(connectionString);
  if (std::string udl = cs.Value("File Name"); !udl.empty())
    return OpenADOConnection(ADOReadUdlFile(udl), provider, mode);
  std::string prov = cs.Has("Provider") ? cs.Value("Provider") : provider;
  std::string source = cs.Value("Data Source");
  if (source.empty()) source = cs.Value("DBQ");
  if (source.empty())
    throw EOleException(prov.empty() || StartsText("MSDASQL", prov) ? ADOConsts::SNoDefaultDriver
                                                                    : ADOConsts::SProviderNotFound);
  if (FileExists(source)) {
    if (!ADOIsSqliteFile(source)) throw EOleException(ADOConsts::SProviderNotFound);
  } else {
    throw EOleException(ADOIsFileProvider(prov) ? Format(ADOConsts::SFileNotFound, source)
                                                : std::string(ADOConsts::SProviderNotFound));
  }
  auto c = std::make_shared<TSqlConnection>(source, false, mode == cmRead);
  if (mode == cmShareExclusive || mode == cmShareDenyWrite || mode == cmShareDenyRead)
    c->Execute("PRAGMA locking_mode = EXCLUSIVE");
  return c;
}

// =============================================================================================
// TADOConnection

TADOConnection::TADOConnection(TComponent* owner) : TComponent(owner) {}

TADOConnection::~TADOConnection() {
  Destroying();
  AfterDisconnect = nullptr;
  BeforeDisconnect = nullptr;
  OnDisconnect = nullptr;
  Close();
}

void TADOConnection::CheckDisconnected() const {
  if (FConnection) throw EOleException(ADOConsts::SConnectionOpen);
}

void TADOConnection::SetConnectionString(const std::string& v) {
  if (v == FConnectionString) return;
  CheckDisconnected();
  FConnectionString = v;
}

std::string TADOConnection::GetProvider() const {
  TADOConnectionString cs(FConnectionString);
  if (cs.Has("Provider")) return cs.Value("Provider");
  return FProvider.empty() ? "MSDASQL.1" : FProvider;
}

void TADOConnection::SetProvider(const std::string& v) {
  if (v == FProvider) return;
  CheckDisconnected();
  FProvider = v;
}

void TADOConnection::SetMode(TConnectMode v) {
  if (v == FMode) return;
  CheckDisconnected();
  FMode = v;
}

std::string TADOConnection::DataSourceFile() const {
  TADOConnectionString cs(FConnectionString);
  if (std::string udl = cs.Value("File Name"); !udl.empty()) cs = TADOConnectionString(ADOReadUdlFile(udl));
  return cs.Value("Data Source").empty() ? cs.Value("DBQ") : cs.Value("Data Source");
}

void TADOConnection::SetConnected(bool v) {
  if (InState(csReading) || InState(csLoading)) {
    FStreamedConnected = v;
    return;
  }
  if (v == GetConnected()) return;
  if (v) return DoConnect("", "");
  if (BeforeDisconnect) BeforeDisconnect(this);
  for (TCustomADODataSet* ds : std::vector<TCustomADODataSet*>(FDataSets)) ds->Close();
  FConnection.reset();
  TEventStatus status = esOK;
  if (OnDisconnect) OnDisconnect(this, status);
  if (AfterDisconnect) AfterDisconnect(this);
}

void TADOConnection::Open(const std::string& userID, const std::string& password) {
  if (!GetConnected()) DoConnect(userID, password);
}

void TADOConnection::DoConnect(std::string userID, std::string password) {
  if (BeforeConnect) BeforeConnect(this);
  TADOConnectionString cs(FConnectionString);
  if (userID.empty()) userID = cs.Value("User ID");
  if (password.empty()) password = cs.Value("Password");
  // SQLite asks for no login; the handler still hears of it, as it would before a dialog.
  if (FLoginPrompt && OnLogin) OnLogin(this, userID, password);
  std::string text = FConnectionString;
  TConnectOption options = FConnectOptions;
  TEventStatus status = esOK;
  if (OnWillConnect) OnWillConnect(this, text, userID, password, options, status);
  if (status == esCancel) throw EOleException(ADOConsts::SOperationCancelled);
  try {
    FConnection = OpenADOConnection(text, FProvider, InState(csDesigning) ? cmRead : FMode);
  } catch (const Exception& e) {
    status = esErrorsOccured;
    if (OnConnectComplete) OnConnectComplete(this, e.Message(), status);
    throw;
  }
  if (OnConnectComplete) OnConnectComplete(this, "", status);
  if (AfterConnect) AfterConnect(this);
}

// A designed form loads with the connection closed when its database is out of reach; a
// running program hears of it.
void TADOConnection::Loaded() {
  TComponent::Loaded();
  if (!FStreamedConnected) return;
  try {
    Open();
  } catch (const EOleException&) {
    if (!InState(csDesigning)) throw;
  } catch (const EDatabaseError&) {
    if (!InState(csDesigning)) throw;
  }
}

std::shared_ptr<TSqlConnection> TADOConnection::Connection() {
  Open();
  return FConnection;
}

int TADOConnection::BeginTrans() {
  Connection()->Execute("BEGIN");
  TEventStatus status = esOK;
  if (OnBeginTransComplete) OnBeginTransComplete(this, 1, "", status);
  return 1;
}

void TADOConnection::CommitTrans() {
  if (!InTransaction()) throw EOleException(ADOConsts::SNoTransaction);
  FConnection->Execute("COMMIT");
  TEventStatus status = esOK;
  if (OnCommitTransComplete) OnCommitTransComplete(this, "", status);
  if (FAttributes.Contains(xaCommitRetaining)) BeginTrans();
}

void TADOConnection::RollbackTrans() {
  if (!InTransaction()) throw EOleException(ADOConsts::SNoTransaction);
  FConnection->Execute("ROLLBACK");
  TEventStatus status = esOK;
  if (OnRollbackTransComplete) OnRollbackTransComplete(this, "", status);
  if (FAttributes.Contains(xaAbortRetaining)) BeginTrans();
}

bool TADOConnection::InTransaction() const { return FConnection && sqlite3_get_autocommit(FConnection->Handle()) == 0; }

int TADOConnection::Execute(const std::string& commandText) {
  int rows = Connection()->Execute(commandText);
  TEventStatus status = esOK;
  if (OnExecuteComplete) OnExecuteComplete(this, rows, "", status, nullptr, nullptr);
  return rows;
}

void TADOConnection::GetTableNames(TStrings* list, bool systemTables) {
  TSqlStatement st(*Connection(), "SELECT name FROM sqlite_master WHERE type IN ('table', 'view') ORDER BY name");
  list->BeginUpdate();
  list->Clear();
  while (st.Step())
    if (std::string name = st.Column(0).Str; systemTables || !StartsText("sqlite_", name)) list->Add(name);
  list->EndUpdate();
}

void TADOConnection::GetFieldNames(const std::string& tableName, TStrings* list) {
  TSqlStatement st(*Connection(), "PRAGMA table_info(" + QuoteIdent(tableName) + ")");
  list->BeginUpdate();
  list->Clear();
  while (st.Step()) list->Add(st.Column(1).Str);
  list->EndUpdate();
  if (list->Count() == 0) throw EOleException("no such table: " + tableName);
}

void TADOConnection::GetProcedureNames(TStrings* list) {
  Connection();
  list->Clear();
}

// =============================================================================================
// TParameter / TParameters

void TParameter::SetNumericScale(int v) {
  if (v < 0 || v > 255) throw ERangeError(ADOConsts::SRangeError);
  FNumericScale = v;
}

void TParameter::SetPrecision(int v) {
  if (v < 0 || v > 255) throw ERangeError(ADOConsts::SRangeError);
  FPrecision = v;
}

void TParameter::Assign(TPersistent* source) {
  if (auto* p = Cast<TParameter>(source)) {
    FName = p->FName;
    FDataType = p->FDataType;
    FDirection = p->FDirection;
    FAttributes = p->FAttributes;
    FSize = p->FSize;
    FNumericScale = p->FNumericScale;
    FPrecision = p->FPrecision;
    FKind = p->FKind;
    FInt = p->FInt;
    FFloat = p->FFloat;
    FStr = p->FStr;
    return;
  }
  TCollectionItem::Assign(source);
}

void TParameter::SetAsString(const std::string& v) {
  FKind = vkString;
  FStr = v;
  if (FDataType == ftUnknown) FDataType = ftString;
}

void TParameter::SetAsInteger(int64_t v) {
  FKind = vkInteger;
  FInt = v;
  if (FDataType == ftUnknown) FDataType = ftInteger;
}

void TParameter::SetAsFloat(double v) {
  FKind = vkFloat;
  FFloat = v;
  if (FDataType == ftUnknown) FDataType = ftFloat;
}

void TParameter::SetAsCurrency(double v) {
  FKind = vkCurrency;
  FFloat = v;
  if (FDataType == ftUnknown) FDataType = ftCurrency;
}

void TParameter::SetAsBoolean(bool v) {
  FKind = vkBoolean;
  FInt = v ? 1 : 0;
  if (FDataType == ftUnknown) FDataType = ftBoolean;
}

void TParameter::SetAsDateTime(TDateTime v) {
  FKind = vkDate;
  FFloat = v;
  if (FDataType == ftUnknown) FDataType = ftDateTime;
}

std::string TParameter::GetAsString() const {
  switch (FKind) {
    case vkEmpty:
    case vkNull: return "";
    case vkInteger: return IntToStr(FInt);
    case vkBoolean: return FInt ? "True" : "False";
    case vkDate: return DateTimeToIso(FFloat);
    case vkString: return FStr;
    default: return FloatToStr(FFloat);
  }
}

int64_t TParameter::GetAsInteger() const {
  switch (FKind) {
    case vkEmpty:
    case vkNull: return 0;
    case vkInteger:
    case vkBoolean: return FInt;
    case vkString: return StrToInt64(FStr);
    default: return static_cast<int64_t>(FFloat);
  }
}

double TParameter::GetAsFloat() const {
  switch (FKind) {
    case vkEmpty:
    case vkNull: return 0;
    case vkInteger:
    case vkBoolean: return static_cast<double>(FInt);
    case vkString: return static_cast<double>(StrToFloat(FStr));
    default: return FFloat;
  }
}

TDbValue TParameter::SqlValue() const {
  const bool date = FDataType == ftDate || FDataType == ftTime || FDataType == ftDateTime;
  auto iso = [&](double v) { return TDbValue::Text(DateTimeToIso(v, FDataType != ftTime, FDataType != ftDate)); };
  switch (FKind) {
    case vkEmpty:
    case vkNull: return TDbValue();
    case vkInteger: return date ? iso(static_cast<double>(FInt)) : TDbValue::Integer(FInt);
    case vkBoolean: return TDbValue::Integer(FInt);
    case vkDate: return iso(FFloat);
    case vkString: return TDbValue::Text(FStr);
    default: return date ? iso(FFloat) : TDbValue::Real(FFloat);
  }
}

// Value is a Variant: its stream tag tells its type, and is written back the same.
void TParameter::DefineProperties(TFiler* filer) {
  TCollectionItem::DefineProperties(filer);
  filer->DefineProperty(
      "Value",
      [this](TReader* r) {
        switch (r->NextValue()) {
          case vaNull:
          case vaNil:
            r->ReadValue();
            FKind = vkNull;
            break;
          case vaInt8:
          case vaInt16:
          case vaInt32:
          case vaInt64:
            FInt = r->ReadInt64();
            FKind = vkInteger;
            break;
          case vaExtended:
            FFloat = static_cast<double>(r->ReadFloat());
            FKind = vkFloat;
            break;
          case vaSingle:
            FFloat = r->ReadSingle();
            FKind = vkFloat;
            break;
          case vaCurrency:
            FFloat = static_cast<double>(r->ReadCurrency()) / 10000;
            FKind = vkCurrency;
            break;
          case vaDate:
            FFloat = r->ReadDate();
            FKind = vkDate;
            break;
          case vaFalse:
          case vaTrue:
            FInt = r->ReadBoolean() ? 1 : 0;
            FKind = vkBoolean;
            break;
          case vaString:
          case vaLString:
          case vaWString:
          case vaUTF8String:
            FStr = r->ReadString();
            FKind = vkString;
            break;
          default: throw EReadError(SInvalidPropertyValue);
        }
      },
      [this](TWriter* w) {
        switch (FKind) {
          case vkInteger: w->WriteInteger(FInt); break;
          case vkFloat: w->WriteFloat(FFloat); break;
          case vkCurrency: w->WriteCurrency(static_cast<int64_t>(FFloat * 10000 + (FFloat < 0 ? -0.5 : 0.5))); break;
          case vkDate: w->WriteDate(FFloat); break;
          case vkBoolean: w->WriteBoolean(FInt != 0); break;
          case vkString: w->WriteString(FStr); break;
          default: w->WriteValue(vaNull); break;
        }
      },
      FKind != vkEmpty);
}

TParameter* TParameters::CreateParameter(const std::string& name, TFieldType type, TParameterDirection direction,
                                         int size) {
  TParameter* p = AddParameter();
  p->SetName(name);
  p->SetDataType(type);
  p->SetDirection(direction);
  p->SetSize(size);
  return p;
}

TParameter* TParameters::FindParam(std::string_view name) const {
  for (int i = 0; i < Count(); ++i)
    if (SameText(Items(i)->GetName(), name)) return Items(i);
  return nullptr;
}

TParameter* TParameters::ParamByName(std::string_view name) const {
  TParameter* p = FindParam(name);
  if (!p) throw EADOError(Format(SParameterNotFound, name));
  return p;
}

void TParameters::ParseSQL(const std::string& sql) {
  TParameters old;
  old.Assign(this);
  BeginUpdate();
  Clear();
  for (const std::string& name : SqlParamNames(sql)) {
    if (TParameter* was = old.FindParam(name)) AddParameter()->Assign(was);
    else CreateParameter(name, ftUnknown, pdInput, 0);
  }
  EndUpdate();
}

void TParameters::ToParams(TParams& out) const {
  out.Clear();
  for (int i = 0; i < Count(); ++i) {
    const TParameter* p = Items(i);
    if (p->GetDirection() == pdOutput || p->GetDirection() == pdReturnValue) continue;
    TParam* b = out.CreateParam(p->GetDataType(), p->GetName(), ptInput);
    if (!p->IsEmpty()) b->SetValue(p->SqlValue());
  }
}

// =============================================================================================
// TCustomADODataSet

namespace {

// ADO's filter text as an SQL condition: a LIKE pattern's * and ? become % and _, #dates#
// become quoted text; the rest (AND, OR, comparisons, quoted strings) is SQL already.
std::string ADOFilterToSql(const std::string& filter) {
  std::string out, lastWord;
  size_t i = 0, n = filter.size();
  while (i < n) {
    char c = filter[i];
    if (c == '\'' || c == '#') {
      // A quoted value; in '...' a doubled quote stands for itself.
      std::string body;
      ++i;
      while (i < n) {
        if (filter[i] == c && c == '\'' && i + 1 < n && filter[i + 1] == c) {
          body += c;
          i += 2;
        } else if (filter[i] == c) {
          ++i;
          break;
        } else {
          body += filter[i++];
        }
      }
      if (SameText(lastWord, "LIKE")) {
        std::replace(body.begin(), body.end(), '*', '%');
        std::replace(body.begin(), body.end(), '?', '_');
      }
      out += QuotedStr(body);
      lastWord.clear();
    } else if (std::isalnum(static_cast<unsigned char>(c)) || c == '_') {
      size_t start = i;
      while (i < n && (std::isalnum(static_cast<unsigned char>(filter[i])) || filter[i] == '_')) ++i;
      lastWord = filter.substr(start, i - start);
      out += lastWord;
    } else {
      out += c;
      ++i;
    }
  }
  return out;
}

int ADOCompareValues(const TDbValue& a, const TDbValue& b) {
  if (a.IsNull() || b.IsNull()) return a.IsNull() == b.IsNull() ? 0 : a.IsNull() ? -1 : 1;
  auto numeric = [](const TDbValue& v) { return v.Kind == TDbValue::vkInteger || v.Kind == TDbValue::vkFloat; };
  auto number = [](const TDbValue& v) { return v.Kind == TDbValue::vkInteger ? static_cast<double>(v.Int) : v.Float; };
  if (numeric(a) && numeric(b)) return number(a) < number(b) ? -1 : number(a) > number(b) ? 1 : 0;
  if (numeric(a) != numeric(b)) return numeric(a) ? -1 : 1;  // SQLite's order: numbers before text
  return CompareText(a.Str, b.Str);
}

}  // namespace

TCustomADODataSet::TCustomADODataSet(TComponent* owner) : TSqlDataSet(owner), FParameters(new TParameters) {
  FParameters->SetOwnerPersistent(this);
}

TCustomADODataSet::~TCustomADODataSet() {
  Destroying();
  if (GetActive()) {
    BeforeClose = nullptr;
    AfterClose = nullptr;
    Close();
  }
  SetConnection(nullptr);
  delete FParameters;
}

void TCustomADODataSet::SetConnection(TADOConnection* v) {
  if (v == FConnection) return;
  CheckInactive();
  if (FConnection) FConnection->RemoveFreeNotification(this);
  FConnection = v;
  if (v) {
    v->FreeNotification(this);
    FConnectionString.clear();  // one or the other, as in the VCL
  }
}

void TCustomADODataSet::SetConnectionString(const std::string& v) {
  if (v == FConnectionString) return;
  CheckInactive();
  FConnectionString = v;
  if (!v.empty()) SetConnection(nullptr);
}

void TCustomADODataSet::Notification(TComponent* c, TOperation op) {
  TSqlDataSet::Notification(c, op);
  if (op == opRemove && c == FConnection) FConnection = nullptr;
}

void TCustomADODataSet::SetCommandText(const std::string& v) {
  if (v == FCommandText) return;
  if (!InState(csReading)) Close();
  FCommandText = v;
  if (FParamCheck && (FCommandType == cmdText || FCommandType == cmdUnknown)) FParameters->ParseSQL(v);
}

void TCustomADODataSet::SetCommandType(TCommandType v) {
  if (v == FCommandType) return;
  CheckInactive();
  FCommandType = v;
}

void TCustomADODataSet::SetLockType(TADOLockType v) {
  if (v == FLockType) return;
  CheckInactive();
  FLockType = v;
}

void TCustomADODataSet::SetMaxRecords(int v) {
  if (v < 0) throw ERangeError(ADOConsts::SRangeError);
  FMaxRecords = v;
}

void TCustomADODataSet::Reopen() {
  if (!GetActive() || InState(csLoading)) return;
  Close();
  Open();
}

void TCustomADODataSet::SetIndexFieldNames(const std::string& v) {
  if (v == FIndexFieldNames) return;
  FIndexFieldNames = v;
  Reopen();
}

void TCustomADODataSet::SetFilter(const std::string& v) {
  if (v == FFilter) return;
  FFilter = v;
  if (FFiltered) Reopen();
}

void TCustomADODataSet::SetFiltered(bool v) {
  if (v == FFiltered) return;
  FFiltered = v;
  Reopen();
}

void TCustomADODataSet::Requery() {
  CheckActive();
  Close();
  Open();
}

void TCustomADODataSet::Loaded() {
  try {
    TSqlDataSet::Loaded();
  } catch (const EOleException&) {
    if (!InState(csDesigning)) throw;
  }
}

void TCustomADODataSet::DefineProperties(TFiler* filer) {
  TSqlDataSet::DefineProperties(filer);
  if (!GetPropInfo(this, "Parameters")) return;
  filer->DefineProperty(
      "Parameters",
      [this](TReader* r) {
        if (r->ReadValue() != vaCollection) throw EReadError(SInvalidPropertyValue);
        r->ReadCollection(FParameters);
      },
      [this](TWriter* w) { w->WriteCollection(FParameters); }, true);
}

namespace {
// A command's connection: its connection component's, else one of its own connection string.
std::shared_ptr<TSqlConnection> ADOCommandConnection(TADOConnection* connection, const std::string& connectionString,
                                                     bool designing) {
  if (connection) return connection->Connection();
  if (!connectionString.empty()) return OpenADOConnection(connectionString, "", designing ? cmRead : cmUnknown);
  throw EADOError(ADOConsts::SMissingConnection);
}
}  // namespace

std::shared_ptr<TSqlConnection> TCustomADODataSet::CommandConnection() {
  return ADOCommandConnection(FConnection, FConnectionString, InState(csDesigning));
}

std::shared_ptr<TSqlConnection> TCustomADODataSet::Connect() {
  std::shared_ptr<TSqlConnection> c = CommandConnection();
  if (FConnection && !FOpenedOn) {
    FOpenedOn = FConnection;
    FOpenedOn->FDataSets.push_back(this);
  }
  return c;
}

void TCustomADODataSet::InternalClose() {
  if (FOpenedOn) {
    auto& list = FOpenedOn->FDataSets;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    TADOConnection* conn = FOpenedOn;
    FOpenedOn = nullptr;
    if (list.empty() && !conn->GetKeepConnection() && !conn->InState(csDestroying)) conn->Close();
  }
  TSqlDataSet::InternalClose();
}

std::string TCustomADODataSet::CommandSQL(TSqlConnection& c) const {
  std::string text = Trim(FCommandText);
  if (text.empty()) throw EADOError(Format(ADOConsts::SMissingCommandText, CommandPropName()));
  switch (FCommandType) {
    case cmdStoredProc: throw EADOError(Format(ADOConsts::SNoStoredProcedures, text));
    case cmdFile: throw EADOError(Format(ADOConsts::SNoRecordsetFiles, text));
    case cmdTable:
    case cmdTableDirect: return TableSelectSQL(c, text, "", "");
    case cmdUnknown:
      // ADO tries the text as a table name first.
      if (IsValidIdent(text)) return TableSelectSQL(c, text, "", "");
      return FCommandText;
    default: return FCommandText;
  }
}

// A filter on a table's rows keeps them live; on a statement's result, the result is read-only.
std::string TCustomADODataSet::SelectSQL(TSqlConnection& c) const {
  std::string sql = CommandSQL(c);
  if (!FFiltered || Trim(FFilter).empty()) return sql;
  std::string condition = ADOFilterToSql(FFilter);
  const bool table = FCommandType == cmdTable || FCommandType == cmdTableDirect ||
                     (FCommandType == cmdUnknown && IsValidIdent(Trim(FCommandText)));
  if (table) return sql + " WHERE (" + condition + ")";
  return "SELECT * FROM (" + sql + ") WHERE (" + condition + ")";
}

const TParams* TCustomADODataSet::SelectParams() const {
  FParameters->ToParams(FBound);
  TDataSet* master = MasterDataSet();
  if (master && master->GetActive() && !master->IsEmpty())
    for (int i = 0; i < FBound.Count(); ++i) {
      TParam* p = FBound.Items(i);
      if (p->Bound()) continue;
      if (TField* f = master->FindField(p->GetName())) p->SetValue(f->GetValue());
    }
  return &FBound;
}

// ADO's client cursor: at most MaxRecords rows, sorted by IndexFieldNames.
void TCustomADODataSet::FilterRows(std::vector<TDbRow>& rows) {
  if (FMaxRecords > 0 && static_cast<int>(rows.size()) > FMaxRecords) rows.resize(FMaxRecords);
  std::vector<std::pair<int, bool>> keys;
  for (const TIndexField& f : ParseIndexFieldNames(FIndexFieldNames)) {
    int col = GetFieldDefs()->IndexOf(f.Name);
    if (col < 0) DatabaseError(Format(SFieldNotFound, f.Name));
    keys.emplace_back(col, f.Descending);
  }
  if (keys.empty()) return;
  std::stable_sort(rows.begin(), rows.end(), [&](const TDbRow& a, const TDbRow& b) {
    for (const auto& [col, desc] : keys)
      if (int c = ADOCompareValues(a.Values[col], b.Values[col]); c != 0) return desc ? c > 0 : c < 0;
    return false;
  });
}

// =============================================================================================
// TADOTable / TADOQuery / TADOStoredProc

TADOTable::TADOTable(TComponent* owner) : TCustomADODataSet(owner) { SetCommandType(cmdTable); }

TADOQuery::TADOQuery(TComponent* owner) : TCustomADODataSet(owner), FSQL(new TStringList) {
  FSQL->OnChange = TNotifyEvent(this, &TADOQuery::SQLChanged);
}

TADOQuery::~TADOQuery() {
  Destroying();
  if (GetActive()) {
    BeforeClose = nullptr;
    AfterClose = nullptr;
    Close();
  }
  delete FSQL;
}

void TADOQuery::SQLChanged(TObject*) { SetCommandText(FSQL->GetText()); }

int TADOQuery::ExecSQL() {
  if (Trim(FSQL->GetText()).empty()) throw EADOError(Format(ADOConsts::SMissingCommandText, "SQL"));
  std::shared_ptr<TSqlConnection> c = CommandConnection();
  TParams params;
  GetParameters()->ToParams(params);
  FRowsAffected = c->Execute(FSQL->GetText(), &params);
  return FRowsAffected;
}

TADOStoredProc::TADOStoredProc(TComponent* owner) : TCustomADODataSet(owner) { SetCommandType(cmdStoredProc); }

void TADOStoredProc::ExecProc() {
  CommandConnection();
  throw EADOError(Format(ADOConsts::SNoStoredProcedures, GetProcedureName()));
}

// =============================================================================================
// TADOCommand

TADOCommand::TADOCommand(TComponent* owner) : TComponent(owner), FParameters(new TParameters) {
  FParameters->SetOwnerPersistent(this);
}

TADOCommand::~TADOCommand() {
  Destroying();
  SetConnection(nullptr);
  delete FParameters;
}

void TADOCommand::SetConnection(TADOConnection* v) {
  if (v == FConnection) return;
  if (FConnection) FConnection->RemoveFreeNotification(this);
  FConnection = v;
  if (v) v->FreeNotification(this);
}

void TADOCommand::Notification(TComponent* c, TOperation op) {
  TComponent::Notification(c, op);
  if (op == opRemove && c == FConnection) FConnection = nullptr;
}

void TADOCommand::SetCommandText(const std::string& v) {
  FCommandText = v;
  if (FParamCheck && (FCommandType == cmdText || FCommandType == cmdUnknown)) FParameters->ParseSQL(v);
}

void TADOCommand::DefineProperties(TFiler* filer) {
  TComponent::DefineProperties(filer);
  filer->DefineProperty(
      "Parameters",
      [this](TReader* r) {
        if (r->ReadValue() != vaCollection) throw EReadError(SInvalidPropertyValue);
        r->ReadCollection(FParameters);
      },
      [this](TWriter* w) { w->WriteCollection(FParameters); }, true);
}

int TADOCommand::Execute() {
  std::shared_ptr<TSqlConnection> c = ADOCommandConnection(FConnection, FConnectionString, InState(csDesigning));
  std::string text = Trim(FCommandText);
  if (text.empty()) throw EADOError(Format(ADOConsts::SMissingCommandText, "CommandText"));
  switch (FCommandType) {
    case cmdStoredProc: throw EADOError(Format(ADOConsts::SNoStoredProcedures, text));
    case cmdFile: throw EADOError(Format(ADOConsts::SNoRecordsetFiles, text));
    case cmdTable:
    case cmdTableDirect: {
      // A table's rows come back as a recordset, which changes nothing.
      TSqlStatement st(*c, TableSelectSQL(*c, text, "", ""));
      return 0;
    }
    default: {
      TParams params;
      FParameters->ToParams(params);
      return c->Execute(FCommandText, &params);
    }
  }
}
