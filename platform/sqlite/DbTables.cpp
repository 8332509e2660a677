// DbTables: TDatabase, TTable and TQuery over SQLite.
#include <algorithm>
#include <map>
#include <set>

#include "../Consts.h"
#include "../Forms.h"
#include "SqliteDb.h"

using namespace DBConsts;

KV_IMPLEMENT_CLASS(TDatabase, "DBTables") {
  b.Prop("AliasName", &TDatabase::GetAliasName, &TDatabase::SetAliasName);
  b.Prop("Connected", &TDatabase::GetConnected, &TDatabase::SetConnected).Default(false);
  b.Prop("DatabaseName", &TDatabase::GetDatabaseName, &TDatabase::SetDatabaseName);
  b.Prop("DriverName", &TDatabase::GetDriverName, &TDatabase::SetDriverName);
  b.Prop("KeepConnection", &TDatabase::GetKeepConnection, &TDatabase::SetKeepConnection).Default(true);
  b.Prop("LoginPrompt", &TDatabase::GetLoginPrompt, &TDatabase::SetLoginPrompt).Default(true);
  b.Prop("Params", &TDatabase::GetParams, &TDatabase::SetParams);
  b.Prop("SessionName", &TDatabase::GetSessionName, &TDatabase::SetSessionName);
  b.Prop("TransIsolation", &TDatabase::GetTransIsolation, &TDatabase::SetTransIsolation).Default(tiReadCommitted);
}

KV_IMPLEMENT_CLASS(TParam, "DBTables") {
  b.Prop("DataType", &TParam::GetDataType, &TParam::SetDataType).Default(ftUnknown);
  b.Prop("Name", &TParam::GetName, &TParam::SetName);
  b.Prop("ParamType", &TParam::GetParamType, &TParam::SetParamType).Default(ptUnknown);
}
KV_IMPLEMENT_CLASS(TParams, "DBTables") {}

KV_IMPLEMENT_CLASS(TSession, "DBTables") {
  b.Prop("Active", &TSession::GetActive, &TSession::SetActive).Default(false);
  b.Prop("AutoSessionName", &TSession::GetAutoSessionName, &TSession::SetAutoSessionName).Default(false);
  b.Prop("KeepConnections", &TSession::GetKeepConnections, &TSession::SetKeepConnections).Default(true);
  b.Prop("NetFileDir", &TSession::GetNetFileDir, &TSession::SetNetFileDir);
  b.Prop("PrivateDir", &TSession::GetPrivateDir, &TSession::SetPrivateDir);
  b.Prop("SessionName", &TSession::GetSessionName, &TSession::SetSessionName)
      .StoredMethod(&TSession::IsSessionNameStored);
  b.Prop("SQLHourGlass", &TSession::GetSQLHourGlass, &TSession::SetSQLHourGlass).Default(true);
  b.Prop("OnPassword", &TSession::OnPassword);
  b.Prop("OnStartup", &TSession::OnStartup);
}

KV_IMPLEMENT_CLASS(TSqlDataSet, "DBTables") {
  b.Prop("Active", &TDataSet::GetActive, &TDataSet::SetActive).Default(false);
  b.Prop("AutoCalcFields", &TDataSet::GetAutoCalcFields, &TDataSet::SetAutoCalcFields).Default(true);
  b.Prop("BeforeOpen", &TDataSet::BeforeOpen);
  b.Prop("AfterOpen", &TDataSet::AfterOpen);
  b.Prop("BeforeClose", &TDataSet::BeforeClose);
  b.Prop("AfterClose", &TDataSet::AfterClose);
  b.Prop("BeforeInsert", &TDataSet::BeforeInsert);
  b.Prop("AfterInsert", &TDataSet::AfterInsert);
  b.Prop("BeforeEdit", &TDataSet::BeforeEdit);
  b.Prop("AfterEdit", &TDataSet::AfterEdit);
  b.Prop("BeforePost", &TDataSet::BeforePost);
  b.Prop("AfterPost", &TDataSet::AfterPost);
  b.Prop("BeforeCancel", &TDataSet::BeforeCancel);
  b.Prop("AfterCancel", &TDataSet::AfterCancel);
  b.Prop("BeforeDelete", &TDataSet::BeforeDelete);
  b.Prop("AfterDelete", &TDataSet::AfterDelete);
  b.Prop("BeforeScroll", &TDataSet::BeforeScroll);
  b.Prop("AfterScroll", &TDataSet::AfterScroll);
  b.Prop("OnCalcFields", &TDataSet::OnCalcFields);
  b.Prop("OnNewRecord", &TDataSet::OnNewRecord);
}

KV_IMPLEMENT_CLASS(TDBDataSet, "DBTables") {
  b.Prop("DatabaseName", &TDBDataSet::GetDatabaseName, &TDBDataSet::SetDatabaseName);
  b.Prop("SessionName", &TDBDataSet::GetSessionName, &TDBDataSet::SetSessionName);
}

KV_IMPLEMENT_CLASS(TTable, "DBTables") {
  b.Prop("Exclusive", &TTable::GetExclusive, &TTable::SetExclusive).Default(false);
  b.Prop("FieldDefs", &TDataSet::GetFieldDefs, &TDataSet::SetFieldDefs).StoredMethod(&TDataSet::IsFieldDefsStored);
  b.Prop("IndexFieldNames", &TTable::GetIndexFieldNames, &TTable::SetIndexFieldNames);
  b.Prop("IndexName", &TTable::GetIndexName, &TTable::SetIndexName);
  b.Prop("MasterFields", &TSqlDataSet::GetMasterFields, &TSqlDataSet::SetMasterFields);
  b.Prop("MasterSource", &TSqlDataSet::GetMasterSource, &TSqlDataSet::SetMasterSource);
  b.Prop("ReadOnly", &TTable::GetReadOnly, &TTable::SetReadOnly).Default(false);
  b.Prop("StoreDefs", &TDataSet::GetStoreDefs, &TDataSet::SetStoreDefs).Default(false);
  b.Prop("TableName", &TTable::GetTableName, &TTable::SetTableName);
  b.Prop("TableType", &TTable::GetTableType, &TTable::SetTableType).Default(ttDefault);
}

KV_IMPLEMENT_CLASS(TQuery, "DBTables") {
  b.Prop("DataSource", &TQuery::GetDataSource, &TQuery::SetDataSource);
  b.Prop("ParamCheck", &TQuery::GetParamCheck, &TQuery::SetParamCheck).Default(true);
  b.Prop("Params", &TQuery::GetParams, &TQuery::SetParams).Stored(false);
  b.Prop("RequestLive", &TQuery::GetRequestLive, &TQuery::SetRequestLive).Default(false);
  b.Prop("SQL", &TQuery::GetSQL, &TQuery::SetSQL);
  b.Prop("UniDirectional", &TQuery::GetUniDirectional, &TQuery::SetUniDirectional).Default(false);
}

void RegisterDbClasses() {
  RegisterClasses({TSession::StaticClass(),       TDatabase::StaticClass(),      TTable::StaticClass(),
                   TQuery::StaticClass(),         TDataSource::StaticClass(),    TStringField::StaticClass(),
                   TSmallintField::StaticClass(), TIntegerField::StaticClass(),  TWordField::StaticClass(),
                   TAutoIncField::StaticClass(),  TFloatField::StaticClass(),    TCurrencyField::StaticClass(),
                   TBCDField::StaticClass(),      TBooleanField::StaticClass(),  TDateField::StaticClass(),
                   TTimeField::StaticClass(),     TDateTimeField::StaticClass(), TBytesField::StaticClass(),
                   TVarBytesField::StaticClass(), TBlobField::StaticClass(),     TMemoField::StaticClass(),
                   TGraphicField::StaticClass()});
}

// =============================================================================================
// TDatabase

namespace {
std::vector<TDatabase*>& DatabaseList() {
  static std::vector<TDatabase*> list;
  return list;
}

std::vector<TDBDataSet*>& DbDataSetList() {
  static std::vector<TDBDataSet*> list;
  return list;
}

bool SameSessionName(const std::string& a, const std::string& b) {
  return TSession::IsDefaultName(a) ? TSession::IsDefaultName(b) : SameText(a, b);
}
}  // namespace

TDatabase::TDatabase(TComponent* owner) : TComponent(owner), FParams(new TStringList) {
  DatabaseList().push_back(this);
}

TDatabase::~TDatabase() {
  Destroying();
  Close();
  auto& list = DatabaseList();
  list.erase(std::remove(list.begin(), list.end(), this), list.end());
  delete FParams;
}

TDatabase* TDatabase::Find(const std::string& name, const std::string& sessionName) {
  if (name.empty()) return nullptr;
  for (TDatabase* db : DatabaseList())
    if (SameText(db->FDatabaseName, name) && SameSessionName(db->FSessionName, sessionName)) return db;
  return nullptr;
}

void TDatabase::CheckInactive() const {
  if (FConnection) throw EDatabaseError(SDatabaseOpen);
}

void TDatabase::SetAliasName(const std::string& v) {
  CheckInactive();
  FAliasName = v;
}

void TDatabase::SetDatabaseName(const std::string& v) {
  CheckInactive();
  FDatabaseName = v;
}

void TDatabase::SetDriverName(const std::string& v) {
  CheckInactive();
  FDriverName = v;
}

void TDatabase::SetSessionName(const std::string& v) {
  CheckInactive();
  FSessionName = v;
}

TSession* TDatabase::Session() const { return TSession::Named(FSessionName); }

void TDatabase::SetParams(TStrings* v) { FParams->Assign(v); }

std::string TDatabase::FileName() const {
  for (const char* key : {"DATABASE", "DATABASE NAME", "PATH"})
    if (std::string v = FParams->Values(key); !v.empty()) return v;
  return Session()->ResolveDatabaseName(FAliasName.empty() ? FDatabaseName : FAliasName);
}

// A database of its own, so that its transactions are apart from datasets that open the file
// by name.
void TDatabase::SetConnected(bool v) {
  if (InState(csReading) || InState(csLoading)) {
    FStreamedConnected = v;
    return;
  }
  if (v == GetConnected()) return;
  if (v) return Connect();
  for (TDBDataSet* ds : std::vector<TDBDataSet*>(FDataSets)) ds->Close();
  FConnection.reset();
}

// Also while loading: a dataset read before its database opens it when it opens itself.
void TDatabase::Connect() {
  if (GetConnected()) return;
  Session()->Open();
  FConnection = std::make_shared<TSqlConnection>(FileName(), false, InState(csDesigning));
}

void TDatabase::Loaded() {
  TComponent::Loaded();
  if (!FStreamedConnected) return;
  try {
    Open();
  } catch (const EDatabaseError&) {
    if (!InState(csDesigning)) throw;
  }
}

int TDatabase::Execute(const std::string& sql) {
  Connect();
  return FConnection->Execute(sql);
}

void TDatabase::StartTransaction() { Execute("BEGIN"); }
void TDatabase::Commit() { Execute("COMMIT"); }
void TDatabase::Rollback() { Execute("ROLLBACK"); }

bool TDatabase::InTransaction() const { return FConnection && sqlite3_get_autocommit(FConnection->Handle()) == 0; }

// =============================================================================================
// TSession

namespace {
std::vector<TSession*>& SessionList() {
  static std::vector<TSession*> list;
  return list;
}

// The hourglass of SQLHourGlass while a statement runs; a cursor someone else set stays.
class TSessionHourGlass {
 public:
  explicit TSessionHourGlass(const TSession* s) {
    if (s->GetSQLHourGlass() && Screen && Screen->GetCursor() == crDefault) {
      Screen->SetCursor(crSQLWait);
      FSet = true;
    }
  }
  ~TSessionHourGlass() {
    if (FSet && Screen && Screen->GetCursor() == crSQLWait) Screen->SetCursor(crDefault);
  }
  TSessionHourGlass(const TSessionHourGlass&) = delete;
  TSessionHourGlass& operator=(const TSessionHourGlass&) = delete;

 private:
  bool FSet = false;
};
}  // namespace

TSession* DefaultSession() {
  // Never freed: datasets may still name it while static objects go away.
  static TSession* session = [] {
    auto* s = new TSession(nullptr);
    s->FDefault = true;
    s->FSessionName = "Default";
    // Files opened by name close with their last dataset, as they always have here, so that a
    // file replaced between uses is read afresh; a program may keep them.
    s->FKeepConnections = false;
    return s;
  }();
  return session;
}

TSession::TSession(TComponent* owner) : TComponent(owner) { SessionList().push_back(this); }

TSession::~TSession() {
  Destroying();
  Close();
  auto& list = SessionList();
  list.erase(std::remove(list.begin(), list.end(), this), list.end());
}

bool TSession::IsDefaultName(const std::string& name) { return name.empty() || SameText(name, "Default"); }

TSession* TSession::Find(const std::string& name) {
  if (IsDefaultName(name)) return DefaultSession();
  TSession* found = nullptr;
  for (TSession* s : SessionList())
    if (!s->FDefault && SameText(s->FSessionName, name) && (!found || (s->FActive && !found->FActive))) found = s;
  return found;
}

TSession* TSession::Named(const std::string& name) {
  TSession* s = Find(name);
  if (!s) throw EDatabaseError(Format(SInvalidSessionName, name));
  return s;
}

void TSession::CheckInactive() const {
  if (FActive) throw EDatabaseError(SSessionActive);
}

void TSession::SetSessionName(const std::string& v) {
  if (v == FSessionName) return;
  CheckInactive();
  if (FDefault || IsDefaultName(v)) throw EDatabaseError(Format(SDuplicateSessionName, v));
  FSessionName = v;
}

void TSession::SetAutoSessionName(bool v) {
  if (v == FAutoSessionName) return;
  CheckInactive();
  FAutoSessionName = v;
  UpdateAutoSessionName();
}

// Owner_1, Owner_2, ...: a form created twice gets two sessions.
void TSession::UpdateAutoSessionName() {
  if (!FAutoSessionName || InState(csLoading) || InState(csReading)) return;
  std::string base = Owner() && !Owner()->GetName().empty() ? Owner()->GetName() : "Session";
  std::string name;
  for (int n = 1;; ++n) {
    name = base + "_" + IntToStr(n);
    TSession* other = Find(name);
    if (!other || other == this) break;
  }
  FSessionName = name;
  if (!Owner()) return;
  for (int i = 0; i < Owner()->ComponentCount(); ++i) {
    TComponent* c = Owner()->Components(i);
    if (auto* ds = Cast<TDBDataSet>(c); ds && !ds->GetActive()) ds->FSessionName = name;
    if (auto* db = Cast<TDatabase>(c); db && !db->GetConnected()) db->FSessionName = name;
  }
}

void TSession::SetKeepConnections(bool v) {
  FKeepConnections = v;
  if (!v) DropConnections();
}

void TSession::SetActive(bool v) {
  if (InState(csReading) || InState(csLoading)) {
    FStreamedActive = v;
    return;
  }
  if (v == FActive) return;
  if (v) {
    if (FSessionName.empty()) throw EDatabaseError(SSessionNameMissing);
    // Two sessions may share a name until one of them starts, as a form loaded twice does.
    for (TSession* other : SessionList())
      if (other != this && other->FActive && SameText(other->FSessionName, FSessionName))
        throw EDatabaseError(Format(SDuplicateSessionName, FSessionName));
    FActive = true;
    if (OnStartup) OnStartup(this);
    return;
  }
  for (TDBDataSet* ds : std::vector<TDBDataSet*>(DbDataSetList()))
    if (ds->GetActive() && Find(ds->FSessionName) == this) ds->Close();
  for (TDatabase* db : std::vector<TDatabase*>(DatabaseList()))
    if (Find(db->FSessionName) == this) db->Close();
  for (TDatabase* db : std::vector<TDatabase*>(FTemporary)) delete db;
  FTemporary.clear();
  FKept.clear();
  FActive = false;
}

void TSession::Loaded() {
  TComponent::Loaded();
  UpdateAutoSessionName();
  if (!FStreamedActive) return;
  try {
    SetActive(true);
  } catch (const EDatabaseError&) {
    if (!InState(csDesigning)) throw;
  }
}

std::shared_ptr<TSqlConnection> TSession::Connection(const std::string& fileName, bool readOnly) {
  std::shared_ptr<TSqlConnection> c = SharedConnection(fileName, readOnly);
  if (FKeepConnections && std::find(FKept.begin(), FKept.end(), c) == FKept.end()) FKept.push_back(c);
  return c;
}

void TSession::DropConnections() {
  FKept.clear();
  for (TDatabase* db : std::vector<TDatabase*>(FTemporary))
    if (db->FDataSets.empty()) CloseDatabase(db);
}

void TSession::AddAlias(const std::string& name, const std::string&, TStrings* params) {
  std::string path;
  for (const char* key : {"PATH", "DATABASE", "DATABASE NAME"})
    if (params && path.empty()) path = params->Values(key);
  AddStandardAlias(name, path, "");
}

void TSession::AddStandardAlias(const std::string& name, const std::string& path, const std::string&) {
  if (!IsValidIdent(StringReplaceAll(name, " ", "_"))) throw EDatabaseError(Format(SInvalidAliasName, name));
  if (FDefault) return RegisterDatabaseAlias(name, path);
  for (auto& [n, p] : FAliases)
    if (SameText(n, name)) {
      p = path;
      return;
    }
  FAliases.emplace_back(name, path);
}

void TSession::DeleteAlias(const std::string& name) {
  if (FDefault) {
    if (!UnregisterDatabaseAlias(name)) throw EDatabaseError(Format(SInvalidAliasName, name));
    return;
  }
  auto it = std::find_if(FAliases.begin(), FAliases.end(), [&](const auto& a) { return SameText(a.first, name); });
  if (it == FAliases.end()) throw EDatabaseError(Format(SInvalidAliasName, name));
  FAliases.erase(it);
}

bool TSession::IsAlias(const std::string& name) const {
  for (const auto& a : FAliases)
    if (SameText(a.first, name)) return true;
  for (const auto& a : DatabaseAliases())
    if (SameText(a.first, name)) return true;
  return false;
}

void TSession::GetAliasNames(TStrings* list) const {
  list->BeginUpdate();
  list->Clear();
  for (const auto& a : FAliases) list->Add(a.first);
  for (const auto& a : DatabaseAliases())
    if (std::none_of(FAliases.begin(), FAliases.end(), [&](const auto& own) { return SameText(own.first, a.first); }))
      list->Add(a.first);
  list->EndUpdate();
}

void TSession::GetAliasParams(const std::string& name, TStrings* list) const {
  if (!IsAlias(name)) throw EDatabaseError(Format(SInvalidAliasName, name));
  list->Clear();
  list->Add("PATH=" + ResolveDatabaseName(name));
}

void TSession::GetDatabaseNames(TStrings* list) const {
  TStringList aliases;
  GetAliasNames(&aliases);
  list->BeginUpdate();
  list->Clear();
  for (TDatabase* db : DatabaseList())
    if (Find(db->FSessionName) == this && !db->FDatabaseName.empty()) list->Add(db->FDatabaseName);
  for (int i = 0; i < aliases.Count(); ++i)
    if (list->IndexOf(aliases[i]) < 0) list->Add(aliases[i]);
  list->EndUpdate();
}

void TSession::GetTableNames(const std::string& databaseName, const std::string& pattern, bool systemTables,
                             TStrings* list) {
  Open();
  std::shared_ptr<TSqlConnection> c;
  if (TDatabase* db = FindDatabase(databaseName)) {
    db->Connect();
    c = db->FConnection;
  } else {
    c = Connection(ResolveDatabaseName(databaseName), false);
  }
  std::string like = pattern.empty() ? "%" : StringReplaceAll(StringReplaceAll(pattern, "*", "%"), "?", "_");
  TSqlStatement st(*c,
                   "SELECT name FROM sqlite_master WHERE type IN ('table', 'view') AND name LIKE ? "
                   "ORDER BY name");
  st.Bind(1, TDbValue::Text(like));
  list->BeginUpdate();
  list->Clear();
  while (st.Step()) {
    std::string name = st.Column(0).Str;
    if (systemTables || !StartsText("sqlite_", name)) list->Add(name);
  }
  list->EndUpdate();
}

std::string TSession::ResolveDatabaseName(const std::string& name) const {
  for (const auto& a : FAliases)
    if (SameText(a.first, name)) return a.second;
  return ::ResolveDatabaseName(name);
}

TDatabase* TSession::FindDatabase(const std::string& name) const {
  for (TDatabase* db : DatabaseList())
    if (SameText(db->FDatabaseName, name) && Find(db->FSessionName) == this) return db;
  return nullptr;
}

TDatabase* TSession::OpenDatabase(const std::string& name) {
  TDatabase* db = FindDatabase(name);
  if (!db) {
    db = new TDatabase(nullptr);
    db->FDatabaseName = name;
    db->FSessionName = FSessionName;
    FTemporary.push_back(db);
  }
  try {
    db->Open();
  } catch (...) {
    if (std::find(FTemporary.begin(), FTemporary.end(), db) != FTemporary.end()) CloseDatabase(db);
    throw;
  }
  return db;
}

void TSession::CloseDatabase(TDatabase* database) {
  if (!database) return;
  database->Close();
  auto it = std::find(FTemporary.begin(), FTemporary.end(), database);
  if (it == FTemporary.end()) return;
  FTemporary.erase(it);
  delete database;
}

int TSession::DatabaseCount() const {
  return static_cast<int>(std::count_if(DatabaseList().begin(), DatabaseList().end(),
                                        [this](TDatabase* db) { return Find(db->FSessionName) == this; }));
}

// =============================================================================================
// TParam / TParams

void TParam::Assign(TPersistent* source) {
  if (auto* p = Cast<TParam>(source)) {
    FName = p->FName;
    FDataType = p->FDataType;
    FParamType = p->FParamType;
    FValue = p->FValue;
    FBound = p->FBound;
    return;
  }
  TCollectionItem::Assign(source);
}

void TParam::Set(const TDbValue& v, TFieldType type) {
  FValue = v;
  FBound = true;
  if (FDataType == ftUnknown) FDataType = type;
}

void TParam::Clear() { Set(TDbValue(), FDataType); }
void TParam::SetValue(const TDbValue& v) { Set(v, FDataType); }
void TParam::SetAsString(const std::string& v) { Set(TDbValue::Text(v), ftString); }
void TParam::SetAsInteger(int64_t v) { Set(TDbValue::Integer(v), ftInteger); }
void TParam::SetAsFloat(double v) { Set(TDbValue::Real(v), ftFloat); }
void TParam::SetAsBoolean(bool v) { Set(TDbValue::Integer(v ? 1 : 0), ftBoolean); }

void TParam::SetAsDateTime(TDateTime v) {
  Set(TDbValue::Text(DateTimeToIso(v, FDataType != ftTime, FDataType != ftDate)),
      FDataType == ftUnknown ? ftDateTime : FDataType);
}

std::string TParam::GetAsString() const {
  switch (FValue.Kind) {
    case TDbValue::vkNull: return "";
    case TDbValue::vkInteger: return IntToStr(FValue.Int);
    case TDbValue::vkFloat: return FloatToStr(FValue.Float);
    default: return FValue.Str;
  }
}

int64_t TParam::GetAsInteger() const {
  switch (FValue.Kind) {
    case TDbValue::vkInteger: return FValue.Int;
    case TDbValue::vkFloat: return static_cast<int64_t>(FValue.Float);
    case TDbValue::vkNull: return 0;
    default: return StrToInt64(FValue.Str);
  }
}

double TParam::GetAsFloat() const {
  switch (FValue.Kind) {
    case TDbValue::vkInteger: return static_cast<double>(FValue.Int);
    case TDbValue::vkFloat: return FValue.Float;
    case TDbValue::vkNull: return 0;
    default: return static_cast<double>(StrToFloat(FValue.Str));
  }
}

TParam* TParams::FindParam(std::string_view name) const {
  for (int i = 0; i < Count(); ++i)
    if (SameText(Items(i)->GetName(), name)) return Items(i);
  return nullptr;
}

TParam* TParams::ParamByName(std::string_view name) const {
  TParam* p = FindParam(name);
  if (!p) throw EDatabaseError(Format(SParameterNotFound, name));
  return p;
}

TParam* TParams::CreateParam(TFieldType type, const std::string& name, TParamType paramType) {
  auto* p = static_cast<TParam*>(Add());
  p->SetName(name);
  p->SetDataType(type);
  p->SetParamType(paramType);
  return p;
}

// =============================================================================================
// TDBDataSet

namespace {

bool IsSqlIdentChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
         static_cast<unsigned char>(c) >= 0x80;
}

// Calls `word(start, length)` for each word of SQL text outside quotes and comments, and
// `param(name)` for each :Name. A false answer from `word` stops the scan.
template <class W, class P>
void ScanSqlText(std::string_view sql, W word, P param) {
  size_t i = 0, n = sql.size();
  while (i < n) {
    char c = sql[i];
    if (c == '\'' || c == '"' || c == '`' || c == '[') {
      char close = c == '[' ? ']' : c;
      size_t end = sql.find(close, i + 1);
      i = end == std::string_view::npos ? n : end + 1;
    } else if (c == '-' && i + 1 < n && sql[i + 1] == '-') {
      size_t end = sql.find('\n', i);
      i = end == std::string_view::npos ? n : end + 1;
    } else if (c == '/' && i + 1 < n && sql[i + 1] == '*') {
      size_t end = sql.find("*/", i + 2);
      i = end == std::string_view::npos ? n : end + 2;
    } else if (c == ':' && i + 1 < n && IsSqlIdentChar(sql[i + 1]) && (i == 0 || sql[i - 1] != ':')) {
      size_t start = ++i;
      while (i < n && IsSqlIdentChar(sql[i])) ++i;
      param(std::string(sql.substr(start, i - start)));
    } else if (IsSqlIdentChar(c)) {
      size_t start = i;
      while (i < n && IsSqlIdentChar(sql[i])) ++i;
      if (!word(start, i - start)) return;
    } else {
      ++i;
    }
  }
}

// The SELECT with the rowid as its first column, or "" when its rows cannot map onto the rows
// of one table (grouping, DISTINCT, compound selects, CTEs).
std::string SqlWithRowid(const std::string& sql) {
  size_t selectAt = std::string::npos, wordNo = 0;
  bool ok = true;
  ScanSqlText(
      sql,
      [&](size_t start, size_t len) {
        std::string w = UpperCase(sql.substr(start, len));
        if (wordNo == 0 && w != "SELECT") ok = false;
        if (wordNo == 0) selectAt = start;
        if (wordNo == 1 && (w == "DISTINCT" || w == "ALL")) ok = false;
        if (w == "GROUP" || w == "UNION" || w == "INTERSECT" || w == "EXCEPT" || w == "HAVING" || w == "WINDOW")
          ok = false;
        ++wordNo;
        return ok;
      },
      [](const std::string&) {});
  if (!ok || selectAt == std::string::npos) return "";
  return sql.substr(0, selectAt + 6) + " rowid," + sql.substr(selectAt + 6);
}

}  // namespace

std::vector<std::string> SqlParamNames(std::string_view sql) {
  std::vector<std::string> names;
  ScanSqlText(
      sql, [](size_t, size_t) { return true; },
      [&](const std::string& name) {
        if (std::none_of(names.begin(), names.end(), [&](const std::string& n) { return SameText(n, name); }))
          names.push_back(name);
      });
  return names;
}

// =============================================================================================
// TSqlDataSet

// Follows the master data source: a new current record there runs the detail again.
class TSqlDataSet::TMasterLink : public TDataLink {
 public:
  explicit TMasterLink(TSqlDataSet* ds) : FDataSet(ds) {}

 protected:
  void ActiveChanged() override { FDataSet->MasterChanged(); }
  void RecordChanged(TField* field) override {
    if (!field) FDataSet->MasterChanged();
  }

 private:
  TSqlDataSet* FDataSet;
};

TSqlDataSet::TSqlDataSet(TComponent* owner) : TDataSet(owner), FMasterLink(std::make_unique<TMasterLink>(this)) {}

TSqlDataSet::~TSqlDataSet() {
  Destroying();
  // Close while this part of the object still stands: InternalClose is ours.
  if (GetActive()) {
    BeforeClose = nullptr;
    AfterClose = nullptr;
    Close();
  }
  FMasterLink.reset();
}

TDataSource* TSqlDataSet::GetMasterSource() const { return FMasterLink->GetDataSource(); }

void TSqlDataSet::SetMasterSource(TDataSource* v) {
  if (v && v->IsLinkedTo(this)) throw EDatabaseError(SCircularDataLink);
  FMasterLink->SetDataSource(v);
}

TDataSet* TSqlDataSet::MasterDataSet() const { return FMasterLink->DataSet(); }

void TSqlDataSet::SetMasterFields(const std::string& v) {
  if (v == FMasterFields) return;
  FMasterFields = v;
  MasterChanged();
}

void TSqlDataSet::MasterChanged() {
  if (!GetActive() || InState(csLoading) || InState(csDestroying)) return;
  Close();
  Open();
}

bool TSqlDataSet::CanModify() const {
  return TDataSet::CanModify() && !FUpdateTable.empty() && FConnection && !FConnection->ReadOnly();
}

void TSqlDataSet::FilterRows(std::vector<TDbRow>&) {}

void TSqlDataSet::InternalOpen(std::vector<TDbRow>& rows) {
  FConnection = Connect();
  Select(&rows);
  KeepMasterRows(rows);
  FilterRows(rows);
}

void TSqlDataSet::InternalInitFieldDefs() {
  FConnection = Connect();
  try {
    Select(nullptr);
  } catch (...) {
    InternalClose();
    throw;
  }
  InternalClose();
}

void TSqlDataSet::InternalClose() {
  FConnection.reset();
  FColumns.clear();
  FUpdateTable.clear();
}

namespace {
bool DbValuesMatch(const TDbValue& a, const TDbValue& b) {
  if (a.IsNull() || b.IsNull()) return false;
  auto numeric = [](const TDbValue& v) { return v.Kind == TDbValue::vkInteger || v.Kind == TDbValue::vkFloat; };
  auto number = [](const TDbValue& v) { return v.Kind == TDbValue::vkInteger ? static_cast<double>(v.Int) : v.Float; };
  if (numeric(a) && numeric(b)) return number(a) == number(b);
  auto text = [](const TDbValue& v) {
    return v.Kind == TDbValue::vkInteger ? IntToStr(v.Int) : v.Kind == TDbValue::vkFloat ? FloatToStr(v.Float) : v.Str;
  };
  return text(a) == text(b);
}
}  // namespace

std::vector<TIndexField> ParseIndexFieldNames(const std::string& names) {
  std::vector<TIndexField> out;
  TStringList parts;
  parts.SetText(StringReplaceAll(names, ";", "\n"));
  for (int i = 0; i < parts.Count(); ++i) {
    std::string p = Trim(parts[i]);
    if (p.empty()) continue;
    TIndexField f;
    std::string upper = UpperCase(p);
    auto strip = [&](std::string_view suffix) {
      if (upper.size() > suffix.size() && upper.compare(upper.size() - suffix.size(), suffix.size(), suffix) == 0) {
        p = Trim(p.substr(0, p.size() - suffix.size()));
        return true;
      }
      return false;
    };
    f.Descending = strip(" DESC");
    if (!f.Descending) strip(" ASC");
    f.Name = p;
    out.push_back(f);
  }
  return out;
}

// A detail keeps the rows whose detail fields hold the master's current values.
void TSqlDataSet::KeepMasterRows(std::vector<TDbRow>& rows) const {
  TDataSet* master = MasterDataSet();
  if (FMasterFields.empty() || !master || !master->GetActive()) return;
  std::vector<TIndexField> masterNames = ParseIndexFieldNames(FMasterFields);
  std::vector<TIndexField> detailNames = ParseIndexFieldNames(DetailIndexFields());
  std::vector<std::pair<int, TDbValue>> keys;
  for (size_t i = 0; i < masterNames.size(); ++i) {
    const std::string& detail = i < detailNames.size() ? detailNames[i].Name : masterNames[i].Name;
    int col = GetFieldDefs()->IndexOf(detail);
    if (col < 0) DatabaseError(Format(SFieldNotFound, detail));
    TField* f = master->FieldByName(masterNames[i].Name);
    keys.emplace_back(col, master->IsEmpty() ? TDbValue() : f->GetValue());
  }
  std::erase_if(rows, [&](const TDbRow& r) {
    for (const auto& [col, value] : keys)
      if (!DbValuesMatch(r.Values[col], value)) return true;
    return false;
  });
}

// Runs the dataset's SELECT and describes its columns in FieldDefs; fills `rows` when given.
void TSqlDataSet::Select(std::vector<TDbRow>* rows) {
  TSqlConnection& conn = *FConnection;
  std::string sql = SelectSQL(conn);
  if (Trim(sql).empty()) DatabaseError(SEmptySQLStatement);
  std::unique_ptr<TSqlStatement> st;
  if (WantLive())
    if (std::string keyedSql = SqlWithRowid(sql); !keyedSql.empty()) st = TSqlStatement::TryPrepare(conn, keyedSql);
  bool keyed = st != nullptr;
  if (!st) st = std::make_unique<TSqlStatement>(conn, sql);
  if (st->Empty() || st->ColumnCount() == 0) DatabaseError(SNoResultSet);
  // Opening only reads: "DELETE ... RETURNING" has a result set too.
  if (!sqlite3_stmt_readonly(st->Handle())) DatabaseError(Format(SStatementChangesData, Trim(sql)));
  st->BindParams(SelectParams());
  sqlite3_stmt* h = st->Handle();
  const int first = keyed ? 1 : 0, count = st->ColumnCount();

  // Live when every column comes straight from the table the rowid belongs to.
  std::string table;
  bool live = keyed;
  if (keyed) {
    const char* t = sqlite3_column_table_name(h, 0);
    live = t != nullptr;
    table = t ? t : "";
  }
  for (int i = first; i < count && live; ++i) {
    const char* t = sqlite3_column_table_name(h, i);
    live = t && SameText(t, table) && sqlite3_column_origin_name(h, i);
  }
  FUpdateTable = live ? table : "";

  std::map<std::string, std::set<std::string>> defaults;  // table -> columns with a default
  auto hasDefault = [&](const std::string& tbl, const std::string& col) {
    auto it = defaults.find(tbl);
    if (it == defaults.end()) {
      it = defaults.emplace(tbl, std::set<std::string>()).first;
      TSqlStatement info(conn, "PRAGMA table_info(" + QuoteIdent(tbl) + ")");
      while (info.Step())
        if (sqlite3_column_type(info.Handle(), 4) != SQLITE_NULL)
          it->second.insert(UpperCase(reinterpret_cast<const char*>(sqlite3_column_text(info.Handle(), 1))));
    }
    return it->second.count(UpperCase(col)) > 0;
  };

  GetFieldDefs()->BeginUpdate();
  GetFieldDefs()->Clear();
  FColumns.clear();
  std::vector<int> untyped;
  for (int i = first; i < count; ++i) {
    std::string name = sqlite3_column_name(h, i);
    for (int n = 1; GetFieldDefs()->IndexOf(name) >= 0; ++n)
      name = std::string(sqlite3_column_name(h, i)) + "_" + IntToStr(n);
    const char* decl = sqlite3_column_decltype(h, i);
    int size, precision;
    TFieldType type = FieldTypeOfDecl(decl ? decl : "", size, precision);
    const char* tbl = sqlite3_column_table_name(h, i);
    const char* origin = sqlite3_column_origin_name(h, i);
    bool required = false;
    if (tbl && origin) {
      const char *dataType = nullptr, *collation = nullptr;
      int notNull = 0, primaryKey = 0, autoInc = 0;
      if (sqlite3_table_column_metadata(conn.Handle(), sqlite3_column_database_name(h, i), tbl, origin, &dataType,
                                        &collation, &notNull, &primaryKey, &autoInc) == SQLITE_OK) {
        bool rowidAlias = primaryKey && dataType && SameText(dataType, "INTEGER");
        if (autoInc) type = ftAutoInc;
        required = notNull && !rowidAlias && !hasDefault(tbl, origin);
      }
    }
    if (type == ftUnknown) untyped.push_back(i - first);
    TFieldDef* d = GetFieldDefs()->Add(name, type, size, required);
    d->SetPrecision(precision);
    FColumns.push_back({live && origin ? origin : ""});
  }
  GetFieldDefs()->EndUpdate();

  // Without rows to keep, one row is enough to type the untyped columns.
  std::vector<TDbRow> sample;
  std::vector<TDbRow>& out = rows ? *rows : sample;
  while ((rows || (!untyped.empty() && sample.empty())) && st->Step()) {
    TDbRow r;
    r.Key = keyed ? sqlite3_column_int64(h, 0) : 0;
    r.Values.reserve(count - first);
    for (int i = first; i < count; ++i) r.Values.push_back(st->Column(i));
    out.push_back(std::move(r));
  }
  for (int col : untyped) {
    TFieldDef* d = GetFieldDefs()->Items(col);
    TFieldType type = ftUnknown;
    int longest = 0;
    for (const TDbRow& r : out) {
      const TDbValue& v = r.Values[col];
      if (type == ftUnknown && !v.IsNull())
        type = v.Kind == TDbValue::vkInteger ? ftInteger
               : v.Kind == TDbValue::vkFloat ? ftFloat
               : v.Kind == TDbValue::vkBlob  ? ftBlob
                                             : ftString;
      if (v.Kind == TDbValue::vkText)
        longest = std::max(longest, static_cast<int>(std::count_if(v.Str.begin(), v.Str.end(), [](char c) {
                             return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
                           })));
    }
    if (type == ftUnknown || type == ftString) {
      type = ftString;
      d->SetSize(out.empty() ? 20 : std::max(longest, 1));
    }
    d->SetDataType(type);
  }
}

void TSqlDataSet::InternalPost(TDbRow& row, const TDbRow* old) {
  TSqlConnection& conn = *FConnection;
  std::vector<int> cols;
  for (int i = 0; i < static_cast<int>(FColumns.size()); ++i)
    if (!FColumns[i].Origin.empty() && (old ? !(row.Values[i] == old->Values[i]) : !row.Values[i].IsNull()))
      cols.push_back(i);
  const std::string table = QuoteIdent(FUpdateTable);
  if (old) {
    if (cols.empty()) return;
    std::string sql = "UPDATE " + table + " SET ";
    for (size_t k = 0; k < cols.size(); ++k) sql += (k ? ", " : "") + QuoteIdent(FColumns[cols[k]].Origin) + " = ?";
    TSqlStatement st(conn, sql + " WHERE rowid = ?");
    for (size_t k = 0; k < cols.size(); ++k) st.Bind(static_cast<int>(k + 1), row.Values[cols[k]]);
    st.Bind(static_cast<int>(cols.size() + 1), TDbValue::Integer(row.Key));
    st.Step();
    if (sqlite3_changes(conn.Handle()) == 0) DatabaseError(SRecordChanged);
  } else {
    std::string names, marks;
    for (size_t k = 0; k < cols.size(); ++k) {
      names += (k ? ", " : "") + QuoteIdent(FColumns[cols[k]].Origin);
      marks += k ? ", ?" : "?";
    }
    TSqlStatement st(conn, cols.empty() ? "INSERT INTO " + table + " DEFAULT VALUES"
                                        : "INSERT INTO " + table + " (" + names + ") VALUES (" + marks + ")");
    for (size_t k = 0; k < cols.size(); ++k) st.Bind(static_cast<int>(k + 1), row.Values[cols[k]]);
    st.Step();
    row.Key = sqlite3_last_insert_rowid(conn.Handle());
  }
  RefreshRow(row);
}

// Reads the row back, so that defaults, triggers and SQLite's type affinity show.
void TSqlDataSet::RefreshRow(TDbRow& row) {
  std::string list;
  std::vector<int> cols;
  for (int i = 0; i < static_cast<int>(FColumns.size()); ++i)
    if (!FColumns[i].Origin.empty()) {
      list += (cols.empty() ? "" : ", ") + QuoteIdent(FColumns[i].Origin);
      cols.push_back(i);
    }
  if (cols.empty()) return;
  TSqlStatement st(*FConnection, "SELECT " + list + " FROM " + QuoteIdent(FUpdateTable) + " WHERE rowid = ?");
  st.Bind(1, TDbValue::Integer(row.Key));
  if (!st.Step()) return;
  for (size_t k = 0; k < cols.size(); ++k) row.Values[cols[k]] = st.Column(static_cast<int>(k));
}

void TSqlDataSet::InternalDelete(const TDbRow& row) {
  TSqlStatement st(*FConnection, "DELETE FROM " + QuoteIdent(FUpdateTable) + " WHERE rowid = ?");
  st.Bind(1, TDbValue::Integer(row.Key));
  st.Step();
}

// =============================================================================================
// TDBDataSet

TDBDataSet::TDBDataSet(TComponent* owner) : TSqlDataSet(owner) { DbDataSetList().push_back(this); }

TDBDataSet::~TDBDataSet() {
  Destroying();
  if (GetActive()) {
    BeforeClose = nullptr;
    AfterClose = nullptr;
    Close();
  }
  auto& list = DbDataSetList();
  list.erase(std::remove(list.begin(), list.end(), this), list.end());
}

void TDBDataSet::SetDatabaseName(const std::string& v) {
  if (v == FDatabaseName) return;
  CheckInactive();
  FDatabaseName = v;
}

void TDBDataSet::SetSessionName(const std::string& v) {
  if (v == FSessionName) return;
  CheckInactive();
  FSessionName = v;
}

std::shared_ptr<TSqlConnection> TDBDataSet::Connect() {
  if (FDatabaseName.empty()) DatabaseError(SDatabaseNameMissing);
  TSession* session = DBSession();
  session->Open();
  if (TDatabase* db = Database()) {
    db->Connect();
    return db->FConnection;
  }
  return session->Connection(session->ResolveDatabaseName(FDatabaseName), InState(csDesigning));
}

void TDBDataSet::InternalOpen(std::vector<TDbRow>& rows) {
  TSessionHourGlass hourGlass(DBSession());
  FDatabase = Database();
  if (FDatabase) FDatabase->FDataSets.push_back(this);
  TSqlDataSet::InternalOpen(rows);
}

void TDBDataSet::InternalClose() {
  if (FDatabase) {
    auto& list = FDatabase->FDataSets;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    if (list.empty() && !FDatabase->FKeepConnection) FDatabase->FConnection.reset();
    FDatabase = nullptr;
  }
  TSqlDataSet::InternalClose();
}

// =============================================================================================
// TTable

void TTable::SetTableName(const std::string& v) {
  if (v == FTableName) return;
  CheckInactive();
  FTableName = v;
}

void TTable::SetReadOnly(bool v) {
  if (v == FReadOnly) return;
  CheckInactive();
  FReadOnly = v;
}

void TTable::SetIndexFieldNames(const std::string& v) {
  FIndexFieldNames = v;
  if (!v.empty()) FIndexName.clear();
  if (GetActive()) {
    Close();
    Open();
  }
}

void TTable::SetIndexName(const std::string& v) {
  FIndexName = v;
  if (!v.empty()) FIndexFieldNames.clear();
  if (GetActive()) {
    Close();
    Open();
  }
}

std::string TableSelectSQL(TSqlConnection& conn, const std::string& tableName, const std::string& indexFieldNames,
                           const std::string& indexName, std::vector<std::string>* orderColumns) {
  if (tableName.empty()) throw EDatabaseError(SNoTableName);
  auto find = [&](const std::string& name) {
    TSqlStatement st(conn,
                     "SELECT name FROM sqlite_master WHERE type IN ('table', 'view') AND name = ? COLLATE NOCASE");
    st.Bind(1, TDbValue::Text(name));
    return st.Step() ? st.Column(0).Str : "";
  };
  std::string name = find(tableName);
  std::string ext = LowerCase(ExtractFileExt(tableName));
  if (name.empty() && (ext == ".db" || ext == ".dbf")) name = find(ChangeFileExt(tableName, ""));
  // A table that is not there is left to SQLite to report ("no such table: ...").
  std::string sql = "SELECT * FROM " + QuoteIdent(name.empty() ? tableName : name);
  std::vector<TIndexField> order;
  if (!indexFieldNames.empty()) {
    order = ParseIndexFieldNames(indexFieldNames);
  } else if (!indexName.empty()) {
    TSqlStatement st(conn, "PRAGMA index_info(" + QuoteIdent(indexName) + ")");
    while (st.Step()) order.push_back({st.Column(2).Str, false});
    if (order.empty()) throw EDatabaseError(Format(SIndexNotFound, indexName));
  }
  for (size_t i = 0; i < order.size(); ++i) {
    sql += (i ? ", " : " ORDER BY ") + QuoteIdent(order[i].Name) + (order[i].Descending ? " DESC" : "");
    if (orderColumns) orderColumns->push_back(order[i].Name);
  }
  return sql;
}

std::string TTable::SelectSQL(TSqlConnection& conn) const {
  std::vector<std::string> columns;
  std::string sql = TableSelectSQL(conn, FTableName, FIndexFieldNames, FIndexName, &columns);
  FIndexColumns.clear();
  for (const std::string& c : columns) FIndexColumns += (FIndexColumns.empty() ? "" : ";") + c;
  return sql;
}

std::string TTable::DetailIndexFields() const { return FIndexFieldNames.empty() ? FIndexColumns : FIndexFieldNames; }

// =============================================================================================
// TQuery

TQuery::TQuery(TComponent* owner) : TDBDataSet(owner), FSQL(new TStringList), FParams(new TParams) {
  FParams->SetOwnerPersistent(this);
  FSQL->OnChange = TNotifyEvent(this, &TQuery::QueryChanged);
}

TQuery::~TQuery() {
  Destroying();
  SetMasterSource(nullptr);
  if (GetActive()) {
    BeforeClose = nullptr;
    AfterClose = nullptr;
    Close();
  }
  delete FSQL;
  delete FParams;
}

const TParams* TQuery::SelectParams() const {
  TDataSet* master = MasterDataSet();
  if (!master || !master->GetActive()) return FParams;
  FEffectiveParams.Assign(FParams);
  for (int i = 0; i < FEffectiveParams.Count(); ++i) {
    TParam* p = FEffectiveParams.Items(i);
    if (p->Bound()) continue;
    if (TField* f = master->FindField(p->GetName())) p->SetValue(f->GetValue());
  }
  return &FEffectiveParams;
}

void TQuery::SetRequestLive(bool v) {
  if (v == FRequestLive) return;
  CheckInactive();
  FRequestLive = v;
}

// New text closes the query; parameters of the new text keep the types and values of those
// of the same name.
void TQuery::QueryChanged(TObject*) {
  if (!InState(csReading)) Close();
  if (!FParamCheck) return;
  TParams old;
  old.Assign(FParams);
  FParams->BeginUpdate();
  FParams->Clear();
  for (const std::string& name : SqlParamNames(FSQL->GetText())) {
    if (TParam* was = old.FindParam(name)) static_cast<TParam*>(FParams->Add())->Assign(was);
    else FParams->CreateParam(ftUnknown, name, ptUnknown);
  }
  FParams->EndUpdate();
}

std::string TQuery::SelectSQL(TSqlConnection&) const { return FSQL->GetText(); }

void TQuery::ExecSQL() {
  CheckInactive();
  std::string sql = FSQL->GetText();
  if (Trim(sql).empty()) DatabaseError(SEmptySQLStatement);
  std::shared_ptr<TSqlConnection> conn = Connect();
  FRowsAffected = conn->Execute(sql, FParams);
}

void TQuery::DefineProperties(TFiler* filer) {
  TDBDataSet::DefineProperties(filer);
  filer->DefineProperty(
      "ParamData",
      [this](TReader* r) {
        if (r->ReadValue() != vaCollection) throw EReadError(SInvalidPropertyValue);
        r->ReadCollection(FParams);
      },
      [this](TWriter* w) { w->WriteCollection(FParams); }, FParams->Count() > 0);
}
