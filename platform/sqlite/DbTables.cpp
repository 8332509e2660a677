// DbTables: TDatabase, TTable and TQuery over SQLite.
#include <algorithm>
#include <map>
#include <set>

#include "../Consts.h"
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

KV_IMPLEMENT_CLASS(TDBDataSet, "DBTables") {
  b.Prop("Active", &TDataSet::GetActive, &TDataSet::SetActive).Default(false);
  b.Prop("AutoCalcFields", &TDataSet::GetAutoCalcFields, &TDataSet::SetAutoCalcFields).Default(true);
  b.Prop("DatabaseName", &TDBDataSet::GetDatabaseName, &TDBDataSet::SetDatabaseName);
  b.Prop("SessionName", &TDBDataSet::GetSessionName, &TDBDataSet::SetSessionName);
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

KV_IMPLEMENT_CLASS(TTable, "DBTables") {
  b.Prop("Exclusive", &TTable::GetExclusive, &TTable::SetExclusive).Default(false);
  b.Prop("FieldDefs", &TDataSet::GetFieldDefs, &TDataSet::SetFieldDefs).StoredMethod(&TDataSet::IsFieldDefsStored);
  b.Prop("IndexFieldNames", &TTable::GetIndexFieldNames, &TTable::SetIndexFieldNames);
  b.Prop("IndexName", &TTable::GetIndexName, &TTable::SetIndexName);
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
  RegisterClasses({TDatabase::StaticClass(), TTable::StaticClass(), TQuery::StaticClass(),
                   TDataSource::StaticClass(), TStringField::StaticClass(),
                   TSmallintField::StaticClass(), TIntegerField::StaticClass(),
                   TWordField::StaticClass(), TAutoIncField::StaticClass(),
                   TFloatField::StaticClass(), TCurrencyField::StaticClass(),
                   TBCDField::StaticClass(), TBooleanField::StaticClass(),
                   TDateField::StaticClass(), TTimeField::StaticClass(),
                   TDateTimeField::StaticClass(), TBytesField::StaticClass(),
                   TVarBytesField::StaticClass(), TBlobField::StaticClass(),
                   TMemoField::StaticClass(), TGraphicField::StaticClass()});
}

// =============================================================================================
// TDatabase

namespace {
std::vector<TDatabase*>& DatabaseList() {
  static std::vector<TDatabase*> list;
  return list;
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

TDatabase* TDatabase::Find(const std::string& name) {
  if (name.empty()) return nullptr;
  for (TDatabase* db : DatabaseList())
    if (SameText(db->FDatabaseName, name)) return db;
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

void TDatabase::SetParams(TStrings* v) { FParams->Assign(v); }

std::string TDatabase::FileName() const {
  for (const char* key : {"DATABASE", "DATABASE NAME", "PATH"})
    if (std::string v = FParams->Values(key); !v.empty()) return v;
  return ResolveDatabaseName(FAliasName.empty() ? FDatabaseName : FAliasName);
}

// A database of its own, so that its transactions are apart from datasets that open the file
// by name.
void TDatabase::SetConnected(bool v) {
  if (InState(csReading) || InState(csLoading)) {
    FStreamedConnected = v;
    return;
  }
  if (v == GetConnected()) return;
  if (v) {
    FConnection = std::make_shared<TSqlConnection>(FileName());
    return;
  }
  for (TDBDataSet* ds : std::vector<TDBDataSet*>(FDataSets)) ds->Close();
  FConnection.reset();
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
  Open();
  return FConnection->Execute(sql);
}

void TDatabase::StartTransaction() { Execute("BEGIN"); }
void TDatabase::Commit() { Execute("COMMIT"); }
void TDatabase::Rollback() { Execute("ROLLBACK"); }

bool TDatabase::InTransaction() const {
  return FConnection && sqlite3_get_autocommit(FConnection->Handle()) == 0;
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
        if (w == "GROUP" || w == "UNION" || w == "INTERSECT" || w == "EXCEPT" || w == "HAVING" ||
            w == "WINDOW")
          ok = false;
        ++wordNo;
        return ok;
      },
      [](const std::string&) {});
  if (!ok || selectAt == std::string::npos) return "";
  return sql.substr(0, selectAt + 6) + " rowid," + sql.substr(selectAt + 6);
}

}  // namespace

TDBDataSet::TDBDataSet(TComponent* owner) : TDataSet(owner) {}

TDBDataSet::~TDBDataSet() {
  Destroying();
  // Close while this part of the object still stands: InternalClose is ours.
  if (GetActive()) {
    BeforeClose = nullptr;
    AfterClose = nullptr;
    Close();
  }
}

void TDBDataSet::SetDatabaseName(const std::string& v) {
  if (v == FDatabaseName) return;
  CheckInactive();
  FDatabaseName = v;
}

std::shared_ptr<TSqlConnection> TDBDataSet::Connect() {
  if (FConnection) return FConnection;
  if (FDatabaseName.empty()) DatabaseError(SDatabaseNameMissing);
  if (TDatabase* db = Database()) {
    db->Open();
    return db->FConnection;
  }
  return SharedConnection(ResolveDatabaseName(FDatabaseName));
}

bool TDBDataSet::CanModify() const {
  return TDataSet::CanModify() && !FUpdateTable.empty() && FConnection && !FConnection->ReadOnly();
}

void TDBDataSet::InternalOpen(std::vector<TDbRow>& rows) {
  FConnection = Connect();
  FDatabase = Database();
  if (FDatabase) FDatabase->FDataSets.push_back(this);
  Select(&rows);
}

void TDBDataSet::InternalInitFieldDefs() {
  FConnection = Connect();
  try {
    Select(nullptr);
  } catch (...) {
    InternalClose();
    throw;
  }
  InternalClose();
}

void TDBDataSet::InternalClose() {
  if (FDatabase) {
    auto& list = FDatabase->FDataSets;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    if (list.empty() && !FDatabase->FKeepConnection) FDatabase->FConnection.reset();
    FDatabase = nullptr;
  }
  FConnection.reset();
  FColumns.clear();
  FUpdateTable.clear();
}

// Runs the dataset's SELECT and describes its columns in FieldDefs; fills `rows` when given.
void TDBDataSet::Select(std::vector<TDbRow>* rows) {
  TSqlConnection& conn = *FConnection;
  std::string sql = SelectSQL(conn);
  if (Trim(sql).empty()) DatabaseError(SEmptySQLStatement);
  std::unique_ptr<TSqlStatement> st;
  if (WantLive())
    if (std::string keyedSql = SqlWithRowid(sql); !keyedSql.empty()) st = TSqlStatement::TryPrepare(conn, keyedSql);
  bool keyed = st != nullptr;
  if (!st) st = std::make_unique<TSqlStatement>(conn, sql);
  if (st->Empty() || st->ColumnCount() == 0) DatabaseError(SNoResultSet);
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
    for (int n = 1; GetFieldDefs()->IndexOf(name) >= 0; ++n) name = std::string(sqlite3_column_name(h, i)) + "_" + IntToStr(n);
    const char* decl = sqlite3_column_decltype(h, i);
    int size, precision;
    TFieldType type = FieldTypeOfDecl(decl ? decl : "", size, precision);
    const char* tbl = sqlite3_column_table_name(h, i);
    const char* origin = sqlite3_column_origin_name(h, i);
    bool required = false;
    if (tbl && origin) {
      const char *dataType = nullptr, *collation = nullptr;
      int notNull = 0, primaryKey = 0, autoInc = 0;
      if (sqlite3_table_column_metadata(conn.Handle(), sqlite3_column_database_name(h, i), tbl, origin,
                                        &dataType, &collation, &notNull, &primaryKey, &autoInc) == SQLITE_OK) {
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
             : v.Kind == TDbValue::vkFloat   ? ftFloat
             : v.Kind == TDbValue::vkBlob    ? ftBlob
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

void TDBDataSet::InternalPost(TDbRow& row, const TDbRow* old) {
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
void TDBDataSet::RefreshRow(TDbRow& row) {
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

void TDBDataSet::InternalDelete(const TDbRow& row) {
  TSqlStatement st(*FConnection, "DELETE FROM " + QuoteIdent(FUpdateTable) + " WHERE rowid = ?");
  st.Bind(1, TDbValue::Integer(row.Key));
  st.Step();
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

std::string TTable::SelectSQL(TSqlConnection& conn) const {
  if (FTableName.empty()) DatabaseError(SNoTableName);
  auto find = [&](const std::string& name) {
    TSqlStatement st(conn, "SELECT name FROM sqlite_master WHERE type IN ('table', 'view') AND name = ? COLLATE NOCASE");
    st.Bind(1, TDbValue::Text(name));
    return st.Step() ? st.Column(0).Str : "";
  };
  std::string name = find(FTableName);
  std::string ext = LowerCase(ExtractFileExt(FTableName));
  if (name.empty() && (ext == ".db" || ext == ".dbf")) name = find(ChangeFileExt(FTableName, ""));
  // A table that is not there is left to SQLite to report ("no such table: ...").
  std::string sql = "SELECT * FROM " + QuoteIdent(name.empty() ? FTableName : name);
  std::vector<std::string> order;
  if (!FIndexFieldNames.empty()) {
    TStringList parts;
    parts.SetText(StringReplaceAll(FIndexFieldNames, ";", "\n"));
    for (int i = 0; i < parts.Count(); ++i)
      if (std::string p = Trim(parts[i]); !p.empty()) order.push_back(p);
  } else if (!FIndexName.empty()) {
    TSqlStatement st(conn, "PRAGMA index_info(" + QuoteIdent(FIndexName) + ")");
    while (st.Step()) order.push_back(st.Column(2).Str);
    if (order.empty()) DatabaseError(Format(SIndexNotFound, FIndexName));
  }
  for (size_t i = 0; i < order.size(); ++i) sql += (i ? ", " : " ORDER BY ") + QuoteIdent(order[i]);
  return sql;
}

// =============================================================================================
// TQuery

// Follows the master data source: a new current record there runs the query again.
class TQuery::TMasterLink : public TDataLink {
 public:
  explicit TMasterLink(TQuery* query) : FQuery(query) {}

 protected:
  void ActiveChanged() override { FQuery->MasterChanged(); }
  void RecordChanged(TField* field) override {
    if (!field) FQuery->MasterChanged();
  }

 private:
  TQuery* FQuery;
};

TQuery::TQuery(TComponent* owner)
    : TDBDataSet(owner),
      FMasterLink(std::make_unique<TMasterLink>(this)),
      FSQL(new TStringList),
      FParams(new TParams) {
  FParams->SetOwnerPersistent(this);
  FSQL->OnChange = TNotifyEvent(this, &TQuery::QueryChanged);
}

TQuery::~TQuery() {
  Destroying();
  FMasterLink.reset();
  delete FSQL;
  delete FParams;
}

TDataSource* TQuery::GetDataSource() const { return FMasterLink->GetDataSource(); }

void TQuery::SetDataSource(TDataSource* v) {
  if (v && v->GetDataSet() == this) throw EDatabaseError("Circular datalinks are not allowed");
  FMasterLink->SetDataSource(v);
}

const TParams* TQuery::SelectParams() const {
  TDataSet* master = FMasterLink->DataSet();
  if (!master || !master->GetActive()) return FParams;
  FEffectiveParams.Assign(FParams);
  for (int i = 0; i < FEffectiveParams.Count(); ++i) {
    TParam* p = FEffectiveParams.Items(i);
    if (p->Bound()) continue;
    if (TField* f = master->FindField(p->GetName())) p->SetValue(f->GetValue());
  }
  return &FEffectiveParams;
}

// A detail query runs again for each record of its master, unless it is being loaded.
void TQuery::MasterChanged() {
  if (!GetActive() || InState(csLoading) || InState(csDestroying)) return;
  Close();
  Open();
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
  ScanSqlText(FSQL->GetText(), [](size_t, size_t) { return true; }, [&](const std::string& name) {
    if (FParams->FindParam(name)) return;
    if (TParam* was = old.FindParam(name)) static_cast<TParam*>(FParams->Add())->Assign(was);
    else FParams->CreateParam(ftUnknown, name, ptUnknown);
  });
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
