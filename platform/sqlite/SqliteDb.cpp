// SQLite connections and statements, database aliases and the declared-type mapping.
#include "SqliteDb.h"

#include <cstdlib>
#include <filesystem>
#include <map>

#include "../Db.h"

using namespace DBConsts;

// =============================================================================================
// Connections

namespace {
bool gDatabasesReadOnly = false;
}  // namespace

void SetDatabasesReadOnly(bool v) { gDatabasesReadOnly = v; }
bool GetDatabasesReadOnly() { return gDatabasesReadOnly; }

TSqlConnection::TSqlConnection(const std::string& fileName, bool create, bool readOnly) : FFileName(fileName) {
  if (fileName.empty()) throw EDatabaseError(SDatabaseNameMissing);
  readOnly = readOnly || gDatabasesReadOnly;
  int flags = readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE | (create ? SQLITE_OPEN_CREATE : 0);
  int rc = sqlite3_open_v2(fileName.c_str(), &FDb, flags, nullptr);
  if (rc != SQLITE_OK) {
    std::string msg = FDb ? sqlite3_errmsg(FDb) : sqlite3_errstr(rc);
    sqlite3_close(FDb);
    FDb = nullptr;
    throw EDatabaseError(msg + ": " + fileName);
  }
  sqlite3_extended_result_codes(FDb, 0);
  sqlite3_busy_timeout(FDb, DbBusyTimeoutMs);
}

TSqlConnection::~TSqlConnection() { sqlite3_close_v2(FDb); }

void TSqlConnection::RaiseError() const { throw EDatabaseError(sqlite3_errmsg(FDb)); }

int TSqlConnection::Execute(const std::string& sql, const TParams* params) {
  int changes = 0;
  std::string_view rest = sql;
  while (true) {
    TSqlStatement st(*this, rest);
    if (st.Empty()) break;
    st.BindParams(params);
    while (st.Step()) {}
    changes += sqlite3_changes(FDb);
    rest = st.Tail();
  }
  return changes;
}

std::shared_ptr<TSqlConnection> SharedConnection(const std::string& fileName, bool readOnly) {
  static std::map<std::string, std::weak_ptr<TSqlConnection>> open;
  readOnly = readOnly || gDatabasesReadOnly;
  std::error_code ec;
  std::string key = std::filesystem::weakly_canonical(fileName, ec).string();
  if (ec) key = fileName;
  if (readOnly) key.insert(0, "r:");
  if (auto c = open[key].lock()) return c;
  auto c = std::make_shared<TSqlConnection>(fileName, false, readOnly);
  open[key] = c;
  return c;
}

void CreateDatabaseFile(const std::string& fileName) { TSqlConnection c(fileName, true); }

// =============================================================================================
// Statements

TSqlStatement::TSqlStatement(TSqlConnection& c, std::string_view sql) : FConn(&c) {
  const char* tail = nullptr;
  if (sqlite3_prepare_v2(c.Handle(), sql.data(), static_cast<int>(sql.size()), &FStmt, &tail) != SQLITE_OK)
    c.RaiseError();
  FTail = tail ? sql.substr(static_cast<size_t>(tail - sql.data())) : std::string_view();
}

std::unique_ptr<TSqlStatement> TSqlStatement::TryPrepare(TSqlConnection& c, std::string_view sql) {
  std::unique_ptr<TSqlStatement> st(new TSqlStatement);
  st->FConn = &c;
  const char* tail = nullptr;
  if (sqlite3_prepare_v2(c.Handle(), sql.data(), static_cast<int>(sql.size()), &st->FStmt, &tail) != SQLITE_OK ||
      !st->FStmt)
    return nullptr;
  return st;
}

void TSqlStatement::Bind(int index, const TDbValue& v) {
  int rc = SQLITE_OK;
  switch (v.Kind) {
    case TDbValue::vkNull: rc = sqlite3_bind_null(FStmt, index); break;
    case TDbValue::vkInteger: rc = sqlite3_bind_int64(FStmt, index, v.Int); break;
    case TDbValue::vkFloat: rc = sqlite3_bind_double(FStmt, index, v.Float); break;
    case TDbValue::vkText:
      rc = sqlite3_bind_text64(FStmt, index, v.Str.data(), v.Str.size(), SQLITE_TRANSIENT, SQLITE_UTF8);
      break;
    case TDbValue::vkBlob: rc = sqlite3_bind_blob64(FStmt, index, v.Str.data(), v.Str.size(), SQLITE_TRANSIENT); break;
  }
  if (rc != SQLITE_OK) FConn->RaiseError();
}

void TSqlStatement::BindParams(const TParams* params) {
  int n = sqlite3_bind_parameter_count(FStmt);
  for (int i = 1; i <= n; ++i) {
    const char* name = sqlite3_bind_parameter_name(FStmt, i);
    std::string_view bare = name ? std::string_view(name).substr(1) : std::string_view();
    TParam* p = !params                ? nullptr
                : name                 ? params->FindParam(bare)
                : i <= params->Count() ? params->Items(i - 1)
                                       : nullptr;
    if (!p) throw EDatabaseError(Format(SParameterNotFound, bare));
    if (!p->Bound()) throw EDatabaseError(Format(SNoParameterValue, bare));
    Bind(i, p->Value());
  }
}

bool TSqlStatement::Step() {
  int rc = sqlite3_step(FStmt);
  if (rc == SQLITE_ROW) return true;
  if (rc == SQLITE_DONE) return false;
  std::string msg = sqlite3_errmsg(FConn->Handle());
  sqlite3_reset(FStmt);  // leaves the connection without a pending statement or lock
  throw EDatabaseError(msg);
}

TDbValue TSqlStatement::Column(int i) const {
  switch (sqlite3_column_type(FStmt, i)) {
    case SQLITE_INTEGER: return TDbValue::Integer(sqlite3_column_int64(FStmt, i));
    case SQLITE_FLOAT: return TDbValue::Real(sqlite3_column_double(FStmt, i));
    case SQLITE_TEXT: {
      auto* p = reinterpret_cast<const char*>(sqlite3_column_text(FStmt, i));
      return TDbValue::Text(std::string(p, static_cast<size_t>(sqlite3_column_bytes(FStmt, i))));
    }
    case SQLITE_BLOB: {
      auto* p = static_cast<const char*>(sqlite3_column_blob(FStmt, i));
      return TDbValue::Blob(p ? std::string(p, static_cast<size_t>(sqlite3_column_bytes(FStmt, i))) : "");
    }
    default: return TDbValue();
  }
}

std::string QuoteIdent(std::string_view name) { return "\"" + StringReplaceAll(name, "\"", "\"\"") + "\""; }

// =============================================================================================
// DbAliases

namespace {

struct TDbAliasTable {
  std::map<std::string, std::string> Paths;  // by upper-cased name
  bool Loaded = false;
};

TDbAliasTable& DbAliases() {
  static TDbAliasTable t;
  return t;
}

std::filesystem::path DbExecutableFolder() {
  std::error_code ec;
  auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  return ec ? std::filesystem::path() : exe.parent_path();
}

// The alias file is optional; a host that names one that is not there gets no aliases from it.
void EnsureDbAliasesLoaded() {
  TDbAliasTable& t = DbAliases();
  if (t.Loaded) return;
  t.Loaded = true;
  std::string file;
  if (const char* env = std::getenv("KV_ALIASES"); env && *env) file = env;
  else if (auto dir = DbExecutableFolder(); !dir.empty()) file = (dir / "kvaliases.ini").string();
  if (!file.empty() && FileExists(file)) LoadDatabaseAliases(file);
}

}  // namespace

void LoadDatabaseAliases(const std::string& fileName) {
  DbAliases().Loaded = true;  // an explicit file stands in for the default one
  TStringList lines;
  lines.LoadFromFile(fileName);
  std::filesystem::path base = std::filesystem::path(fileName).parent_path();
  bool inAliases = false;
  for (int i = 0; i < lines.Count(); ++i) {
    std::string line = Trim(lines[i]);
    if (line.empty() || line[0] == ';' || line[0] == '#') continue;
    if (line[0] == '[') {
      inAliases = SameText(line, "[Aliases]");
      continue;
    }
    size_t eq = line.find('=');
    if (!inAliases || eq == std::string::npos) continue;
    std::string value = Trim(line.substr(eq + 1));
    if (size_t semi = value.find(" ;"); semi != std::string::npos) value = Trim(value.substr(0, semi));
    std::filesystem::path p(value);
    if (p.is_relative() && !value.empty()) p = base / p;
    DbAliases().Paths[UpperCase(Trim(line.substr(0, eq)))] = p.string();
  }
}

void RegisterDatabaseAlias(const std::string& name, const std::string& path) {
  EnsureDbAliasesLoaded();
  DbAliases().Paths[UpperCase(name)] = path;
}

bool UnregisterDatabaseAlias(const std::string& name) {
  EnsureDbAliasesLoaded();
  return DbAliases().Paths.erase(UpperCase(name)) > 0;
}

std::vector<std::pair<std::string, std::string>> DatabaseAliases() {
  EnsureDbAliasesLoaded();
  return {DbAliases().Paths.begin(), DbAliases().Paths.end()};
}

std::string ResolveDatabaseName(const std::string& name) {
  EnsureDbAliasesLoaded();
  auto it = DbAliases().Paths.find(UpperCase(name));
  return it == DbAliases().Paths.end() ? name : it->second;
}

// =============================================================================================
// Declared types

TFieldType FieldTypeOfDecl(std::string_view declared, int& size, int& precision) {
  size = 0;
  precision = 0;
  std::string decl = UpperCase(Trim(declared));
  if (decl.empty()) return ftUnknown;
  std::string base = decl, args;
  if (size_t open = decl.find('('); open != std::string::npos) {
    base = Trim(decl.substr(0, open));
    size_t close = decl.find(')', open);
    args = decl.substr(open + 1, close == std::string::npos ? std::string::npos : close - open - 1);
  }
  int n1 = -1, n2 = -1;
  if (!args.empty()) {
    size_t comma = args.find(',');
    n1 = StrToIntDef(Trim(args.substr(0, comma)), -1);
    if (comma != std::string::npos) n2 = StrToIntDef(Trim(args.substr(comma + 1)), -1);
  }
  auto is = [&](std::initializer_list<const char*> names) {
    for (const char* n : names)
      if (base == n) return true;
    return false;
  };
  if (is({"AUTOINC", "AUTOINCREMENT", "COUNTER", "IDENTITY"})) return ftAutoInc;
  if (is({"BOOLEAN", "BOOL", "BIT", "LOGICAL"})) return ftBoolean;
  if (is({"SMALLINT", "INT2", "TINYINT"})) return ftSmallint;
  if (is({"WORD"})) return ftWord;
  if (is({"INTEGER", "INT", "INT4", "INT8", "BIGINT", "MEDIUMINT"})) return ftInteger;
  if (is({"MONEY", "CURRENCY", "SMALLMONEY"})) return ftCurrency;
  if (is({"NUMERIC", "DECIMAL"})) {
    if (n2 > 0) {
      size = n2;
      precision = n1;
      return ftBCD;
    }
    return ftFloat;
  }
  if (is({"REAL", "FLOAT", "DOUBLE", "DOUBLE PRECISION"})) return ftFloat;
  if (is({"DATE"})) return ftDate;
  if (is({"TIME"})) return ftTime;
  if (is({"DATETIME", "TIMESTAMP"})) return ftDateTime;
  bool sized = n1 > 0;
  if (is({"VARCHAR", "CHAR", "NCHAR", "NVARCHAR", "CHARACTER", "VARYING CHARACTER", "NATIVE CHARACTER", "STRING"}) ||
      (sized && is({"TEXT"}))) {
    size = sized ? n1 : is({"VARCHAR", "NVARCHAR", "STRING", "VARYING CHARACTER"}) ? 255 : 1;
    return ftString;
  }
  if (is({"TEXT", "MEMO", "CLOB", "LONGTEXT", "MEDIUMTEXT", "NTEXT"})) return ftMemo;
  if (is({"BINARY", "VARBINARY"}) && sized) {
    size = n1;
    return base == "BINARY" ? ftBytes : ftVarBytes;
  }
  if (is({"GRAPHIC", "IMAGE", "PICTURE"})) return ftGraphic;
  if (is({"BLOB", "LONGBLOB", "BYTEA"})) return ftBlob;
  // SQLite's affinity rules, in its order.
  auto has = [&](const char* s) { return base.find(s) != std::string::npos; };
  if (has("INT")) return ftInteger;
  if (has("CHAR") || has("CLOB") || has("TEXT")) return ftMemo;
  if (has("BLOB")) return ftBlob;
  return ftFloat;
}
