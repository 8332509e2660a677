// ADODB over SQLite: connection strings, datasets, parameters, commands; master-detail and
// sessions of DbTables; the corpus's ADO forms.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include "ADODB.h"
#include "DbTestFile.h"
#include "FormText.h"
#include "Forms.h"
#include "StdReg.h"
#include "SysUtils.h"

namespace {

std::string ErrorOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const Exception& e) {
    return std::string(e.ClassName()) + ": " + e.Message();
  }
  return "(no exception)";
}

std::string FormText(TComponent* root) {
  TMemoryStream bin, text;
  bin.WriteComponent(root);
  bin.SetPosition(0);
  ObjectBinaryToText(&bin, &text);
  return StringReplaceAll(
      std::string(reinterpret_cast<const char*>(text.Memory()), static_cast<size_t>(text.GetSize())), "\r", "");
}

std::string CorpusText(const char* prefix) {
  for (const auto& e : std::filesystem::directory_iterator(std::string(KV_CORPUS_DIR) + "/text"))
    if (e.path().filename().string().rfind(prefix, 0) == 0) {
      std::ifstream f(e.path(), std::ios::binary);
      return std::string((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
    }
  return "";
}

class ADOTest : public TDbFileTest {
 protected:
  void SetUp() override {
    TDbFileTest::SetUp();
    RegisterStandardClasses();
    Exec(
        "CREATE TABLE people (id INTEGER PRIMARY KEY, name VARCHAR(20), dept INTEGER);"
        "INSERT INTO people (name, dept) VALUES ('Ann', 1), ('bob', 2), ('Cid', 1), ('Dee', 3);"
        "CREATE TABLE depts (no INTEGER PRIMARY KEY, title VARCHAR(20));"
        "INSERT INTO depts VALUES (1, 'Sales'), (2, 'Tech'), (3, 'Staff');");
    Conn = new TADOConnection(nullptr);
    Conn->SetLoginPrompt(false);
    Conn->SetConnectionString("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + Path + ";Persist Security Info=False");
  }
  void TearDown() override {
    delete Conn;
    TDbFileTest::TearDown();
  }
  std::vector<std::string> Column(TDataSet* ds, const char* field) {
    std::vector<std::string> out;
    for (ds->First(); !ds->Eof(); ds->Next()) out.push_back(ds->FieldByName(field)->GetAsString());
    return out;
  }
  TADOConnection* Conn = nullptr;
};

using Names = std::vector<std::string>;

TEST_F(ADOTest, ConnectionStringsOpenSqliteFilesAndFailAsADOElsewhere) {
  TADOConnectionString cs("Provider=SQLOLEDB.1; Data Source = \"a;b\"\"c\" ;User ID='me';Password=");
  EXPECT_EQ(cs.Value("provider"), "SQLOLEDB.1");
  EXPECT_EQ(cs.Value("Data Source"), "a;b\"c");
  EXPECT_EQ(cs.Value("User ID"), "me");
  EXPECT_TRUE(cs.Has("Password"));
  EXPECT_FALSE(cs.Has("Mode"));

  // A Jet provider over a SQLite file: the file is served.
  Conn->Open();
  EXPECT_TRUE(Conn->GetConnected());
  TStringList tables;
  Conn->GetTableNames(&tables);
  EXPECT_EQ(tables.GetText(), "depts\r\npeople\r\n");
  EXPECT_EQ(Conn->GetProvider(), "Microsoft.Jet.OLEDB.4.0");
  EXPECT_EQ(ErrorOf([&] { Conn->SetConnectionString(""); }),
            "EOleException: Operation is not allowed when the object is open.");
  Conn->Close();

  const std::string missing = testing::TempDir() + "kv_ado_missing.mdb";
  std::remove(missing.c_str());
  Conn->SetConnectionString("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + missing);
  EXPECT_EQ(ErrorOf([&] { Conn->Open(); }), "EOleException: Could not find file '" + missing + "'.");
  EXPECT_FALSE(FileExists(missing)) << "nothing is created";
  EXPECT_FALSE(Conn->GetConnected());

  const std::string notSqlite = testing::TempDir() + "kv_ado_jet.mdb";
  { std::ofstream(notSqlite, std::ios::binary) << std::string("\0\1\0\0Standard Jet DB", 19); }
  Conn->SetConnectionString("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + notSqlite);
  EXPECT_EQ(ErrorOf([&] { Conn->Open(); }),
            "EOleException: Provider cannot be found. It may not be properly installed.");
  std::remove(notSqlite.c_str());

  Conn->SetConnectionString("");
  Conn->SetProvider("SQLOLEDB.1");
  EXPECT_EQ(Conn->GetProvider(), "SQLOLEDB.1");
  EXPECT_EQ(ErrorOf([&] { Conn->Open(); }),
            "EOleException: Provider cannot be found. It may not be properly installed.");
  Conn->SetConnectionString("Data Source=MYSERVER;Initial Catalog=Shop");
  EXPECT_EQ(ErrorOf([&] { Conn->Open(); }),
            "EOleException: Provider cannot be found. It may not be properly installed.");
  Conn->SetProvider("");
  Conn->SetConnectionString("");
  EXPECT_EQ(Conn->GetProvider(), "MSDASQL.1");
  EXPECT_EQ(ErrorOf([&] { Conn->Open(); }),
            "EOleException: [Microsoft][ODBC Driver Manager] Data source name not found and no default driver "
            "specified");

  // A data link file names the database.
  const std::string udl = testing::TempDir() + "kv_ado.udl";
  {
    std::ofstream(udl) << "[oledb]\n; Everything after this line is an OLE DB initstring\nData Source=" << Path << "\n";
  }
  Conn->SetConnectionString("File Name=" + udl);
  Conn->Open();
  EXPECT_EQ(Conn->DataSourceFile(), Path);
  Conn->Close();
  std::remove(udl.c_str());
}

TEST_F(ADOTest, ConnectionEventsLoginModesAndTransactions) {
  std::vector<std::string> seen;
  Conn->BeforeConnect = [&](TObject*) { seen.push_back("before"); };
  Conn->AfterConnect = [&](TObject*) { seen.push_back("after"); };
  Conn->OnLogin = [&](TObject*, std::string user, std::string password) {
    seen.push_back("login " + user + "/" + password);
  };
  Conn->AfterDisconnect = [&](TObject*) { seen.push_back("gone"); };
  Conn->Open();
  Conn->Close();
  EXPECT_EQ(seen, (Names{"before", "after", "gone"})) << "no login without LoginPrompt";
  seen.clear();
  Conn->SetLoginPrompt(true);
  Conn->Open("sa", "secret");
  EXPECT_EQ(seen, (Names{"before", "login sa/secret", "after"}));

  TADOTable t(nullptr);
  t.SetConnection(Conn);
  t.SetTableName("people");
  t.Open();
  EXPECT_EQ(Conn->DataSetCount(), 1);
  EXPECT_EQ(Conn->BeginTrans(), 1);
  EXPECT_TRUE(Conn->InTransaction());
  t.Edit();
  t.FieldByName("name")->SetAsString("Zed");
  t.Post();
  Conn->RollbackTrans();
  EXPECT_FALSE(Conn->InTransaction());
  t.Requery();
  EXPECT_EQ(t.FieldByName("name")->GetAsString(), "Ann") << "rolled back";
  EXPECT_EQ(ErrorOf([&] { Conn->CommitTrans(); }), "EOleException: No transaction is active");
  Conn->SetAttributes(TXactAttributes{xaCommitRetaining});
  Conn->BeginTrans();
  Conn->CommitTrans();
  EXPECT_TRUE(Conn->InTransaction()) << "CommitRetaining starts the next one";
  Conn->SetAttributes(TXactAttributes{});
  Conn->CommitTrans();
  EXPECT_EQ(Conn->Execute("UPDATE people SET dept = 9 WHERE dept = 1"), 2);

  Conn->Close();
  EXPECT_FALSE(t.GetActive()) << "closing the connection closes its datasets";
  Conn->SetMode(cmRead);
  t.Open();
  EXPECT_FALSE(t.CanModify()) << "cmRead opens the file read-only";
  t.Close();
  Conn->Close();
  Conn->SetMode(cmUnknown);
  Conn->SetKeepConnection(false);
  t.Open();
  t.Close();
  EXPECT_FALSE(Conn->GetConnected()) << "without KeepConnection the last dataset closes it";

  // OnWillConnect may redirect the connection or refuse it.
  std::string error;
  Conn->OnConnectComplete = [&](TADOConnection*, const std::string& e, TEventStatus&) { error = e; };
  Conn->OnWillConnect = [&](TADOConnection*, std::string& text, std::string&, std::string&, TConnectOption&,
                            TEventStatus& status) {
    if (text.empty()) status = esCancel;
    else text = "Data Source=" + Path + ".nothere";
  };
  EXPECT_EQ(ErrorOf([&] { Conn->Open(); }), "EOleException: Could not find file '" + Path + ".nothere'.");
  EXPECT_EQ(error, "Could not find file '" + Path + ".nothere'.");
  Conn->SetConnectionString("");
  EXPECT_EQ(ErrorOf([&] { Conn->Open(); }), "EOleException: Operation has been cancelled by the user.");
}

TEST_F(ADOTest, TablesSortFilterAndWriteThrough) {
  TADOTable t(nullptr);
  EXPECT_EQ(ErrorOf([&] { t.Open(); }), "EADOError: Missing Connection or ConnectionString");
  t.SetConnectionString("Data Source=" + Path);
  EXPECT_EQ(ErrorOf([&] { t.Open(); }), "EADOError: Missing TableName property");
  t.SetTableName("people");
  t.SetIndexFieldNames("dept DESC;name");
  t.Open();
  EXPECT_EQ(Column(&t, "name"), (Names{"Dee", "bob", "Ann", "Cid"}));
  t.SetFilter("name LIKE 'c*' OR name = 'Dee'");
  t.SetFiltered(true);
  EXPECT_EQ(Column(&t, "name"), (Names{"Dee", "Cid"})) << "ADO's * wildcard, case-insensitive";
  t.First();
  t.Edit();
  t.FieldByName("name")->SetAsString("Dora");
  t.Post();
  t.SetFiltered(false);
  t.SetIndexFieldNames("");
  EXPECT_EQ(Column(&t, "name"), (Names{"Ann", "bob", "Cid", "Dora"})) << "a filtered table stays live";
  t.Close();
  t.SetMaxRecords(2);
  t.SetReadOnly(true);
  t.Open();
  EXPECT_EQ(t.RecordCount(), 2);
  EXPECT_FALSE(t.CanModify());
  t.Close();
  t.SetTableName("nosuch");
  EXPECT_EQ(ErrorOf([&] { t.Open(); }), "EDatabaseError: no such table: nosuch");
}

TEST_F(ADOTest, WideStringFieldsPadFixedCharValues) {
  TForm form(nullptr);
  auto* t = new TADOTable(&form);
  t->SetConnection(Conn);
  t->SetTableName("people");
  auto* name = new TWideStringField(&form);
  name->SetFieldName("name");
  name->SetSize(6);
  name->SetDataSet(t);
  t->Open();
  EXPECT_EQ(name->GetAsString(), "Ann");
  t->Close();
  name->SetFixedChar(true);
  t->Open();
  EXPECT_EQ(name->GetAsString(), "Ann   ");
  t->Edit();
  name->Clear();
  EXPECT_EQ(name->GetAsString(), "") << "NULL is not padded";
  t->Cancel();
}

TEST_F(ADOTest, QueryParametersExecSQLAndCommands) {
  TADOQuery q(nullptr);
  q.SetConnection(Conn);
  q.GetSQL()->SetText("SELECT name FROM people WHERE dept = :Dept AND name <> :Skip ORDER BY name");
  ASSERT_EQ(q.GetParameters()->Count(), 2);
  EXPECT_EQ(q.GetParameters()->Items(0)->GetName(), "Dept");
  EXPECT_EQ(q.GetParameters()->Items(1)->GetDirection(), pdInput);
  EXPECT_EQ(ErrorOf([&] { q.Open(); }), "EDatabaseError: No value for parameter 'Dept'");
  q.GetParameters()->ParamByName("Dept")->SetAsInteger(1);
  q.GetParameters()->ParamByName("skip")->SetAsString("Cid");
  q.Open();
  EXPECT_EQ(Column(&q, "name"), (Names{"Ann"}));
  EXPECT_TRUE(q.CanModify()) << "ADO's results of one table are live";
  // New text keeps the values of the parameters it still has.
  q.GetSQL()->SetText("SELECT name FROM people WHERE dept = :DEPT");
  EXPECT_FALSE(q.GetActive());
  ASSERT_EQ(q.GetParameters()->Count(), 1);
  EXPECT_EQ(q.GetParameters()->Items(0)->GetAsInteger(), 1);
  EXPECT_EQ(ErrorOf([&] { q.GetParameters()->ParamByName("Nope"); }), "EADOError: Parameter 'Nope' not found");

  q.GetSQL()->SetText("UPDATE people SET dept = :To WHERE dept = :From");
  q.GetParameters()->ParamByName("To")->SetAsInteger(7);
  q.GetParameters()->ParamByName("From")->SetAsInteger(1);
  EXPECT_EQ(q.ExecSQL(), 2);
  EXPECT_EQ(q.RowsAffected(), 2);
  q.GetSQL()->Clear();
  EXPECT_EQ(ErrorOf([&] { q.ExecSQL(); }), "EADOError: Missing SQL property");

  // Dates go in as ISO text, whatever tag the form file gave them.
  TADOCommand cmd(nullptr);
  cmd.SetConnection(Conn);
  cmd.SetCommandText("CREATE TABLE log (at DATETIME, note TEXT)");
  cmd.Execute();
  cmd.SetCommandText("INSERT INTO log VALUES (?, ?)");
  EXPECT_EQ(cmd.GetParameters()->Count(), 0) << "positional marks make no named parameters";
  TParameter* at = cmd.GetParameters()->CreateParameter("at", ftDateTime, pdInput, 0);
  at->SetAsDateTime(37774.5);
  cmd.GetParameters()->CreateParameter("note", ftString, pdInput, 0)->SetAsString("noon");
  EXPECT_EQ(cmd.Execute(), 1);
  TADODataSet ds(nullptr);
  ds.SetConnection(Conn);
  ds.SetCommandText("log");
  ds.SetCommandType(cmdTable);
  ds.Open();
  EXPECT_EQ(ds.FieldByName("at")->GetAsString(), "2003-06-02 12:00:00");
}

TEST_F(ADOTest, StoredProceduresAndRecordsetFilesFailClearly) {
  TADOStoredProc sp(nullptr);
  sp.SetConnection(Conn);
  sp.SetProcedureName("MRegister;1");
  EXPECT_EQ(ErrorOf([&] { sp.Open(); }), "EADOError: SQLite has no stored procedures: MRegister;1 cannot run");
  EXPECT_FALSE(sp.GetActive());
  EXPECT_EQ(ErrorOf([&] { sp.ExecProc(); }), "EADOError: SQLite has no stored procedures: MRegister;1 cannot run");
  TADODataSet ds(nullptr);
  ds.SetConnection(Conn);
  ds.SetCommandType(cmdFile);
  ds.SetCommandText("people.adtg");
  EXPECT_EQ(ErrorOf([&] { ds.Open(); }), "EADOError: Recordset files cannot be opened here: people.adtg");
  TADOCommand cmd(nullptr);
  cmd.SetConnection(Conn);
  cmd.SetCommandType(cmdStoredProc);
  cmd.SetCommandText("sp_who");
  EXPECT_EQ(ErrorOf([&] { cmd.Execute(); }), "EADOError: SQLite has no stored procedures: sp_who cannot run");
  delete Conn;
  Conn = nullptr;
  EXPECT_EQ(ds.GetConnection(), nullptr) << "a freed connection is forgotten";
}

TEST_F(ADOTest, DetailsFollowTheirMastersRecord) {
  TForm form(nullptr);
  auto* depts = new TTable(&form);
  depts->SetDatabaseName(Path);
  depts->SetTableName("depts");
  auto* src = new TDataSource(&form);
  src->SetDataSet(depts);
  auto* people = new TTable(&form);
  people->SetDatabaseName(Path);
  people->SetTableName("people");
  people->SetIndexFieldNames("dept;name");
  people->SetMasterSource(src);
  people->SetMasterFields("no");
  people->Open();
  EXPECT_EQ(people->RecordCount(), 4) << "a closed master filters nothing";
  depts->Open();
  EXPECT_EQ(Column(people, "name"), (Names{"Ann", "Cid"}));
  depts->Next();
  EXPECT_EQ(Column(people, "name"), (Names{"bob"}));
  // The ADO table of the corpus' data module: the same, through a query master.
  auto* master = new TADOQuery(&form);
  master->SetConnection(Conn);
  master->GetSQL()->SetText("SELECT no AS dept_no FROM depts ORDER BY no DESC");
  auto* msrc = new TDataSource(&form);
  msrc->SetDataSet(master);
  auto* detail = new TADOTable(&form);
  detail->SetConnection(Conn);
  detail->SetTableName("people");
  detail->SetIndexFieldNames("dept");
  detail->SetMasterFields("dept_no");
  detail->SetMasterSource(msrc);
  master->Open();
  detail->Open();
  EXPECT_EQ(Column(detail, "name"), (Names{"Dee"}));
  master->Last();
  EXPECT_EQ(Column(detail, "name"), (Names{"Ann", "Cid"}));
  EXPECT_EQ(ErrorOf([&] { detail->SetMasterFields("nosuch"); }), "EDatabaseError: Field 'nosuch' not found");
  EXPECT_FALSE(detail->GetActive());
  auto* own = new TDataSource(&form);
  own->SetDataSet(people);
  EXPECT_EQ(ErrorOf([&] { people->SetMasterSource(own); }), "EDatabaseError: Circular datalinks are not allowed");
}

TEST_F(ADOTest, SessionsHaveTheirOwnAliasesAndDatabases) {
  TForm form(nullptr);
  form.SetName("Form1");
  auto* s = new TSession(&form);
  int startups = 0;
  s->OnStartup = [&](TObject*) { ++startups; };
  s->SetSessionName("S1");
  EXPECT_EQ(TSession::Find("s1"), s);
  EXPECT_EQ(TSession::Find(""), DefaultSession());
  EXPECT_EQ(DefaultSession()->GetSessionName(), "Default");
  TSession other(nullptr);
  other.SetSessionName("S1");
  other.Open();
  EXPECT_EQ(TSession::Find("S1"), &other) << "the active one of a name";
  EXPECT_EQ(ErrorOf([&] { s->Open(); }), "EDatabaseError: Duplicate session name 'S1'");
  other.Close();
  other.SetSessionName("Other");
  s->AddStandardAlias("KVPEOPLE", Path, "STANDARD");
  EXPECT_TRUE(s->IsAlias("kvpeople"));
  EXPECT_FALSE(DefaultSession()->IsAlias("KVPEOPLE"));

  auto* t = new TTable(&form);
  t->SetDatabaseName("KVPEOPLE");
  t->SetTableName("people");
  EXPECT_NE(ErrorOf([&] { t->Open(); }), "(no exception)") << "the default session has no such alias";
  t->SetSessionName("S1");
  t->Open();
  EXPECT_EQ(t->RecordCount(), 4);
  EXPECT_TRUE(s->GetActive());
  EXPECT_EQ(startups, 1);
  EXPECT_EQ(ErrorOf([&] { s->SetSessionName("S2"); }),
            "EDatabaseError: Cannot perform this operation on an active session");
  TStringList names;
  s->GetTableNames("KVPEOPLE", "p*", false, &names);
  EXPECT_EQ(names.GetText(), "people\r\n");
  s->Close();
  EXPECT_FALSE(t->GetActive()) << "closing a session closes its datasets";

  // A database component of the session is what its datasets of that name use.
  auto* db = new TDatabase(&form);
  db->SetDatabaseName("Shop");
  db->SetSessionName("S1");
  db->GetParams()->Add("PATH=" + Path);
  EXPECT_EQ(TDatabase::Find("Shop"), nullptr);
  EXPECT_EQ(TDatabase::Find("shop", "S1"), db);
  t->SetDatabaseName("Shop");
  t->Open();
  EXPECT_TRUE(db->GetConnected());
  EXPECT_EQ(s->DatabaseCount(), 1);
  TDatabase* temp = s->OpenDatabase("KVPEOPLE");
  EXPECT_NE(temp, db);
  EXPECT_EQ(s->DatabaseCount(), 2);
  s->CloseDatabase(temp);
  EXPECT_EQ(s->DatabaseCount(), 1);
  t->Close();
  t->SetSessionName("Nowhere");
  EXPECT_EQ(ErrorOf([&] { t->Open(); }), "EDatabaseError: Invalid session name Nowhere");

  // AutoSessionName: named after the owner, given to its datasets.
  delete s;
  auto* autoS = new TSession(&form);
  autoS->SetAutoSessionName(true);
  EXPECT_EQ(autoS->GetSessionName(), "Form1_1");
  EXPECT_EQ(t->GetSessionName(), "Form1_1");
  EXPECT_EQ(db->GetSessionName(), "Form1_1");
}

// A kept connection still reads a file that was moved away; a dropped one does not.
TEST_F(ADOTest, SessionsKeepConnectionsUntilDropped) {
  const std::string moved = Path + ".moved";
  TSession s(nullptr);
  s.SetSessionName("Keeper");
  s.AddStandardAlias("KEPT", Path, "");
  TTable t(nullptr);
  t.SetSessionName("Keeper");
  t.SetDatabaseName("KEPT");
  t.SetTableName("people");
  t.Open();
  t.Close();
  ASSERT_EQ(std::rename(Path.c_str(), moved.c_str()), 0);
  t.Open();
  EXPECT_EQ(t.RecordCount(), 4);
  t.Close();
  s.DropConnections();
  EXPECT_NE(ErrorOf([&] { t.Open(); }), "(no exception)");
  std::rename(moved.c_str(), Path.c_str());

  // The default session keeps nothing.
  EXPECT_FALSE(DefaultSession()->GetKeepConnections());
  TTable d(nullptr);
  d.SetDatabaseName(Path);
  d.SetTableName("people");
  d.Open();
  d.Close();
  std::rename(Path.c_str(), moved.c_str());
  EXPECT_NE(ErrorOf([&] { d.Open(); }), "(no exception)");
  std::rename(moved.c_str(), Path.c_str());
}

TEST_F(ADOTest, StoredActiveOnAMissingDatabaseFailsAtLoadOrLoadsClosedInDesign) {
  const std::string text =
      "object Form1: TForm1\n"
      "  object ADOConnection1: TADOConnection\n"
      "    Connected = True\n"
      "    ConnectionString = 'Provider=Microsoft.ACE.OLEDB.12.0;Data Source=C:\\data\\x.accdb;'\n"
      "    LoginPrompt = False\n"
      "  end\n"
      "  object ADOQuery1: TADOQuery\n"
      "    Active = True\n"
      "    Connection = ADOConnection1\n"
      "    Parameters = <>\n"
      "    SQL.Strings = (\n"
      "      'select * from t')\n"
      "  end\n"
      "end\n";
  EXPECT_EQ(ErrorOf([&] { ReadFormText(text); }), "EOleException: Could not find file 'C:\\data\\x.accdb'.");
  auto form = ReadFormText(text, true);
  auto* q = static_cast<TADOQuery*>(form->FindComponent("ADOQuery1"));
  ASSERT_NE(q, nullptr);
  EXPECT_FALSE(q->GetActive());
  EXPECT_EQ(q->GetConnection(), form->FindComponent("ADOConnection1"));
  // The same form on this machine's copy of the data opens.
  std::string here = StringReplaceAll(text, "C:\\data\\x.accdb", Path);
  here = StringReplaceAll(here, "select * from t", "select * from depts");
  form = ReadFormText(here);
  q = static_cast<TADOQuery*>(form->FindComponent("ADOQuery1"));
  EXPECT_TRUE(q->GetActive());
  EXPECT_EQ(q->RecordCount(), 3);
}

TEST(ADOStreaming, CorpusDataModuleRoundTripsWithItsParameters) {
  RegisterStandardClasses();
  std::string text = CorpusText("038_");
  if (text.empty()) GTEST_SKIP() << "corpus missing";
  std::vector<std::string> problems;
  auto form = ReadFormText(text, true, &problems);
  for (const std::string& p : problems)
    EXPECT_TRUE(p.find("Lookup") != std::string::npos || p.find("KeyFields") != std::string::npos) << p;
  auto* conn = static_cast<TADOConnection*>(form->FindComponent("ADOConnection"));
  ASSERT_NE(conn, nullptr);
  EXPECT_EQ(conn->GetCommandTimeout(), 5);
  EXPECT_FALSE(conn->GetKeepConnection());
  EXPECT_EQ(conn->GetProvider(), "SQLOLEDB.1");
  auto* sp = static_cast<TADOStoredProc*>(form->FindComponent("ASP_HMIS"));
  ASSERT_NE(sp, nullptr);
  TParameters* params = sp->GetParameters();
  ASSERT_EQ(params->Count(), 4);
  EXPECT_EQ(params->Items(0)->GetDirection(), pdReturnValue);
  EXPECT_EQ(params->Items(0)->GetPrecision(), 10);
  EXPECT_EQ(params->Items(1)->GetAttributes(), TParameterAttributes{paNullable});
  EXPECT_EQ(params->Items(2)->GetAsString(), "2003-06-02 23:00:00");
  EXPECT_DOUBLE_EQ(params->Items(3)->GetAsFloat(), 2.5) << "a text form's currency is scaled by 10000";
  auto* cm = static_cast<TADOTable*>(form->FindComponent("AT_CMoney"));
  EXPECT_EQ(cm->GetMasterSource(), form->FindComponent("DS_TCMoney"));
  EXPECT_EQ(cm->GetMasterFields(), "TCM_ID");
  EXPECT_EQ(cm->GetCursorType(), ctStatic);
  auto* wide = static_cast<TWideStringField*>(form->FindComponent("AT_CMoneyCM_Name"));
  ASSERT_NE(wide, nullptr);
  EXPECT_TRUE(wide->GetFixedChar());
  EXPECT_EQ(wide->GetSize(), 40);

  const std::string saved = FormText(form.get());
  for (const char* expected :
       {"    Provider = 'SQLOLEDB.1'\n", "    Parameters = <>\n", "        Direction = pdReturnValue\n",
        "        Value = 37774d\n", "        Value = 25000c\n", "        Value = 0\n", "    MasterFields = 'TCM_ID'\n",
        "    ProcedureName = 'MRegister;1'\n", "    CursorType = ctStatic\n"})
    EXPECT_NE(saved.find(expected), std::string::npos) << expected << "\n" << saved;
  EXPECT_EQ(saved.find("ConnectionString"), std::string::npos) << "nothing set, nothing stored";
  EXPECT_EQ(saved.find("Active"), std::string::npos);
  // Read back and written again, the text stands.
  EXPECT_EQ(FormText(ReadFormText(saved, true).get()), saved);
}

TEST(ADOStreaming, CorpusFormsOfConnectionsAndManifestsLoad) {
  RegisterStandardClasses();
  for (const char* prefix : {"006_", "040_", "042_"}) {
    std::string text = CorpusText(prefix);
    if (text.empty()) GTEST_SKIP() << "corpus missing";
    std::vector<std::string> problems;
    SCOPED_TRACE(prefix);
    std::unique_ptr<TForm> form;
    std::string error = ErrorOf([&] { form = ReadFormText(text, true, &problems); });
    EXPECT_EQ(error, "(no exception)");
    for (const std::string& p : problems)
      for (const char* mine :
           {"TADO", "TXPManifest", "Parameters", "Connection", "CommandText", "CursorType", "Provider"})
        EXPECT_EQ(p.find(mine), std::string::npos) << p;
  }
}

TEST(DbFieldDefs, DelphiThreeStreamsRequiredOfItsOwn) {
  RegisterStandardClasses();
  TFieldDefs defs;
  TFieldDef* d = defs.Add("CustNo", ftFloat, 0, false);
  d->SetRequired(true);
  EXPECT_TRUE(d->Required());
  EXPECT_TRUE(d->GetAttributes().Contains(faRequired));
  d->SetRequired(false);
  EXPECT_EQ(d->GetAttributes(), TFieldAttributes{});
  PPropInfo required = GetPropInfo(d, "Required");
  ASSERT_NE(required, nullptr);
  SetOrdProp(d, required, 1);
  EXPECT_TRUE(d->Required()) << "a stream's Required = True reaches Attributes";
}

}  // namespace
