// The SQLite side of DbTables: connections, statements and the declared-type mapping.
#pragma once

#include <sqlite3.h>

#include <memory>
#include <string>
#include <string_view>

#include "../DbTables.h"

class TSqlConnection {
 public:
  // Opens an existing file for reading and writing (read-only when the file is, when asked, or
  // while GetDatabasesReadOnly); a missing file raises EDatabaseError naming it.
  explicit TSqlConnection(const std::string& fileName, bool create = false, bool readOnly = false);
  ~TSqlConnection();
  TSqlConnection(const TSqlConnection&) = delete;
  TSqlConnection& operator=(const TSqlConnection&) = delete;

  sqlite3* Handle() const { return FDb; }
  const std::string& FileName() const { return FFileName; }
  bool ReadOnly() const { return sqlite3_db_readonly(FDb, "main") == 1; }
  [[noreturn]] void RaiseError() const;
  // Runs every statement of `sql`, binding `params` by name; answers the rows changed.
  int Execute(const std::string& sql, const TParams* params = nullptr);

 private:
  sqlite3* FDb = nullptr;
  std::string FFileName;
};

// The connection that datasets of one file share while any of them is open; read-only ones
// apart from the others.
std::shared_ptr<TSqlConnection> SharedConnection(const std::string& fileName, bool readOnly = false);

class TSqlStatement {
 public:
  // Prepares the first statement of `sql`; Tail() is what follows it. EDatabaseError on a
  // syntax error, a missing table and the like.
  TSqlStatement(TSqlConnection& c, std::string_view sql);
  ~TSqlStatement() { sqlite3_finalize(FStmt); }
  TSqlStatement(const TSqlStatement&) = delete;
  TSqlStatement& operator=(const TSqlStatement&) = delete;
  // Null when the prepare failed rather than raising (the text holds no statement either).
  static std::unique_ptr<TSqlStatement> TryPrepare(TSqlConnection& c, std::string_view sql);

  sqlite3_stmt* Handle() const { return FStmt; }
  bool Empty() const { return FStmt == nullptr; }
  std::string_view Tail() const { return FTail; }
  void Bind(int index, const TDbValue& v);  // 1-based
  // By name; a nameless "?" takes the parameter at its position.
  void BindParams(const TParams* params);
  bool Step();  // true while there is a row; EDatabaseError on failure
  int ColumnCount() const { return sqlite3_column_count(FStmt); }
  TDbValue Column(int i) const;

 private:
  TSqlStatement() = default;
  TSqlConnection* FConn = nullptr;
  sqlite3_stmt* FStmt = nullptr;
  std::string_view FTail;
};

// The field type of a declared column type (see the table in DbTables.h), with the field's
// size and precision; ftUnknown when nothing is declared.
TFieldType FieldTypeOfDecl(std::string_view declared, int& size, int& precision);

// "name" quoted for SQL text.
std::string QuoteIdent(std::string_view name);
