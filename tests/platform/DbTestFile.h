// Fixtures of the database tests: a fresh SQLite file per test, and a form with a table on it.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "DbTables.h"
#include "Forms.h"

// The file is named after the suite and the test, so tests running in parallel never share one.
class TDbFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = testing::UnitTest::GetInstance()->current_test_info();
    Path = testing::TempDir() + "kv_" + info->test_suite_name() + "_" + info->name() + ".db";
    std::remove(Path.c_str());
    CreateDatabaseFile(Path);
  }
  void TearDown() override { std::remove(Path.c_str()); }
  void Exec(const std::string& sql) {
    TQuery q(nullptr);
    q.SetDatabaseName(Path);
    q.GetSQL()->SetText(sql);
    q.ExecSQL();
  }
  std::string Path;
};

// A form owning Table1 (on `table` of the test's file) and DataSource1 (on Table1).
class TDbFormTest : public TDbFileTest {
 protected:
  void MakeForm(const std::string& table) {
    Form = new TForm(nullptr);
    Table = new TTable(Form);
    Table->SetName("Table1");
    Table->SetDatabaseName(Path);
    Table->SetTableName(table);
    Source = new TDataSource(Form);
    Source->SetName("DataSource1");
    Source->SetDataSet(Table);
  }
  void TearDown() override {
    delete Form;
    TDbFileTest::TearDown();
  }
  TForm* Form = nullptr;
  TTable* Table = nullptr;
  TDataSource* Source = nullptr;
};
