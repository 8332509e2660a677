// Datasets over real SQLite files: schema to fields, navigation, edits, links, errors, streaming.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <memory>

#include "Classes.h"
#include "Db.h"
#include "DbTables.h"
#include "DbTestFile.h"
#include "TypInfo.h"

namespace {

// A root that streams only components without a parent, as a form does: persistent fields
// are written inside their dataset.
class TDbTestRoot : public TComponent {
  KV_CLASS(TDbTestRoot, TComponent)
 public:
  explicit TDbTestRoot(TComponent* owner) : TComponent(owner) {}
  void GetChildren(const TGetChildProc& proc, TComponent*) override {
    for (int i = 0; i < ComponentCount(); ++i)
      if (!Components(i)->HasParent()) proc(Components(i));
  }
};

}  // namespace

KV_IMPLEMENT_CLASS(TDbTestRoot, "DbTests") {}

namespace {

std::string MessageOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const Exception& e) {
    return e.Message();
  }
  return "(no exception)";
}

class DbTest : public TDbFileTest {
 protected:
  void SetUp() override {
    RegisterDbClasses();
    TDbFileTest::SetUp();
  }
  // People: three rows, ids 1..3.
  void MakePeople() {
    Exec(
        "CREATE TABLE people (id INTEGER PRIMARY KEY AUTOINCREMENT, name VARCHAR(30) NOT NULL, "
        "age SMALLINT, active BOOLEAN DEFAULT 1, born DATE, CHECK (age IS NULL OR age >= 0));"
        "INSERT INTO people (name, age, active, born) VALUES ('Ann', 31, 1, '1993-04-01');"
        "INSERT INTO people (name, age, active, born) VALUES ('Bob', 45, 0, NULL);"
        "INSERT INTO people (name, age, active, born) VALUES ('Cid', NULL, 1, '2001-12-31');");
  }
  std::unique_ptr<TTable> Table(const std::string& name = "people") {
    auto t = std::make_unique<TTable>(nullptr);
    t->SetDatabaseName(Path);
    t->SetTableName(name);
    return t;
  }
  std::string Scalar(const std::string& sql) {
    TQuery q(nullptr);
    q.SetDatabaseName(Path);
    q.GetSQL()->SetText(sql);
    q.Open();
    return q.Fields()[0]->GetAsString();
  }
};

// ---------------------------------------------------------------------------------------------
// Schema to fields

TEST_F(DbTest, DeclaredTypesGiveFieldTypesSizesAndWidths) {
  Exec(
      "CREATE TABLE t (id INTEGER PRIMARY KEY AUTOINCREMENT, name VARCHAR(30) NOT NULL, code CHAR(3), "
      "notes TEXT, memo MEMO, qty SMALLINT, cnt INT, w WORD, price MONEY, amount DECIMAL(10,2), "
      "num NUMERIC, ratio DOUBLE PRECISION, flag BOOLEAN, born DATE, at TIME, stamp TIMESTAMP, "
      "pic GRAPHIC, data BLOB, raw BINARY(8), odd SOMETHING, longint BIGINT, txt NVARCHAR, "
      "dflt VARCHAR(5) NOT NULL DEFAULT 'x')");
  auto t = Table("t");
  t->Open();
  struct Want {
    const char* name;
    TFieldType type;
    TClass cls;
    int size;
    int width;
  };
  const Want want[] = {
      {"id", ftAutoInc, TAutoIncField::StaticClass(), 0, 11},
      {"name", ftString, TStringField::StaticClass(), 30, 30},
      {"code", ftString, TStringField::StaticClass(), 3, 3},
      {"notes", ftMemo, TMemoField::StaticClass(), 0, 10},
      {"memo", ftMemo, TMemoField::StaticClass(), 0, 10},
      {"qty", ftSmallint, TSmallintField::StaticClass(), 0, 6},
      {"cnt", ftInteger, TIntegerField::StaticClass(), 0, 11},
      {"w", ftWord, TWordField::StaticClass(), 0, 5},
      {"price", ftCurrency, TCurrencyField::StaticClass(), 0, 10},
      {"amount", ftBCD, TBCDField::StaticClass(), 2, 10},
      {"num", ftFloat, TFloatField::StaticClass(), 0, 10},
      {"ratio", ftFloat, TFloatField::StaticClass(), 0, 10},
      {"flag", ftBoolean, TBooleanField::StaticClass(), 0, 5},
      {"born", ftDate, TDateField::StaticClass(), 0, 10},
      {"at", ftTime, TTimeField::StaticClass(), 0, 10},
      {"stamp", ftDateTime, TDateTimeField::StaticClass(), 0, 18},
      {"pic", ftGraphic, TGraphicField::StaticClass(), 0, 10},
      {"data", ftBlob, TBlobField::StaticClass(), 0, 10},
      {"raw", ftBytes, TBytesField::StaticClass(), 8, 10},
      {"odd", ftFloat, TFloatField::StaticClass(), 0, 10},
      {"longint", ftInteger, TIntegerField::StaticClass(), 0, 11},
      {"txt", ftString, TStringField::StaticClass(), 255, 255},
      {"dflt", ftString, TStringField::StaticClass(), 5, 5},
  };
  ASSERT_EQ(t->Fields().Count(), static_cast<int>(std::size(want)));
  for (size_t i = 0; i < std::size(want); ++i) {
    SCOPED_TRACE(want[i].name);
    TField* f = t->Fields()[static_cast<int>(i)];
    EXPECT_EQ(f->GetFieldName(), want[i].name);
    EXPECT_EQ(f->GetDataType(), want[i].type);
    EXPECT_EQ(f->ClassType(), want[i].cls);
    EXPECT_EQ(f->GetSize(), want[i].size);
    EXPECT_EQ(f->GetDisplayWidth(), want[i].width);
    EXPECT_EQ(f->GetDisplayLabel(), want[i].name);
    EXPECT_EQ(f->FieldNo(), static_cast<int>(i) + 1);
    EXPECT_EQ(f->Owner(), t.get());
  }
  // NOT NULL without a default is required; the rowid and a defaulted column are not.
  EXPECT_TRUE(t->FieldByName("name")->GetRequired());
  EXPECT_FALSE(t->FieldByName("id")->GetRequired());
  EXPECT_FALSE(t->FieldByName("dflt")->GetRequired());
  EXPECT_EQ(t->FieldByName("price")->GetAlignment(), taRightJustify);
  t->Close();
  EXPECT_EQ(t->Fields().Count(), 0) << "fields made from the schema go with the open dataset";
}

TEST_F(DbTest, FieldDefsAndNamesWithoutOpening) {
  MakePeople();
  auto t = Table();
  TStringList names;
  t->GetFieldNames(&names);
  EXPECT_EQ(names.GetCommaText(), "id,name,age,active,born");
  EXPECT_FALSE(t->GetActive());
  EXPECT_EQ(t->GetFieldDefs()->Items(1)->GetSize(), 30);
}

TEST_F(DbTest, ExpressionColumnsAreTypedByTheirValues) {
  MakePeople();
  TQuery q(nullptr);
  q.SetDatabaseName(Path);
  q.GetSQL()->SetText("SELECT count(*) AS n, upper(name) || '!' AS shout, avg(age) AS mean FROM people");
  q.Open();
  EXPECT_EQ(q.FieldByName("n")->GetDataType(), ftInteger);
  EXPECT_EQ(q.FieldByName("shout")->GetDataType(), ftString);
  EXPECT_EQ(q.FieldByName("shout")->GetSize(), 4);
  EXPECT_EQ(q.FieldByName("mean")->GetDataType(), ftFloat);
  EXPECT_EQ(q.FieldByName("mean")->GetAsFloat(), 38.0);
}

// ---------------------------------------------------------------------------------------------
// Navigation

TEST_F(DbTest, NavigationSetsBofAndEofAsDelphiDoes) {
  MakePeople();
  auto t = Table();
  t->Open();
  TField* name = t->FieldByName("NAME");
  EXPECT_EQ(t->RecordCount(), 3);
  EXPECT_TRUE(t->Bof());
  EXPECT_FALSE(t->Eof());
  EXPECT_EQ(name->GetAsString(), "Ann");
  t->Next();
  EXPECT_FALSE(t->Bof());
  EXPECT_EQ(t->GetRecNo(), 2);
  t->Next();
  EXPECT_EQ(name->GetAsString(), "Cid");
  EXPECT_FALSE(t->Eof()) << "Eof comes from trying to pass the last record";
  t->Next();
  EXPECT_TRUE(t->Eof());
  EXPECT_EQ(name->GetAsString(), "Cid");
  t->Prior();
  EXPECT_FALSE(t->Eof());
  EXPECT_EQ(name->GetAsString(), "Bob");
  t->Last();
  EXPECT_TRUE(t->Eof());
  EXPECT_EQ(t->MoveBy(-10), -2);
  EXPECT_TRUE(t->Bof());
  t->SetRecNo(3);
  EXPECT_EQ(name->GetAsString(), "Cid");

  int visited = 0;
  for (t->First(); !t->Eof(); t->Next()) ++visited;
  EXPECT_EQ(visited, 3);
}

TEST_F(DbTest, EmptyTableIsBothBofAndEof) {
  Exec("CREATE TABLE e (a INTEGER)");
  auto t = Table("e");
  t->Open();
  EXPECT_TRUE(t->Bof());
  EXPECT_TRUE(t->Eof());
  EXPECT_TRUE(t->IsEmpty());
  EXPECT_EQ(t->GetRecNo(), 0);
  t->Next();
  t->Prior();
  EXPECT_TRUE(t->Bof() && t->Eof());
  EXPECT_TRUE(t->FieldByName("a")->IsNull());
  EXPECT_EQ(MessageOf([&] { t->Delete(); }), "Cannot perform this operation on an empty dataset");
}

TEST_F(DbTest, LargeTableOpensWithEveryRow) {
  Exec(
      "CREATE TABLE big (id INTEGER PRIMARY KEY, name VARCHAR(20));"
      "WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c WHERE x < 10000) "
      "INSERT INTO big SELECT x, 'row ' || x FROM c");
  auto t = Table("big");
  t->Open();
  EXPECT_EQ(t->RecordCount(), 10000);
  t->Last();
  EXPECT_EQ(t->FieldByName("name")->GetAsString(), "row 10000");
}

TEST_F(DbTest, IndexFieldNamesAndIndexNameOrderTheRows) {
  MakePeople();
  Exec("CREATE INDEX by_age ON people (age)");
  auto t = Table();
  t->SetIndexFieldNames("active;name");
  t->Open();
  EXPECT_EQ(t->FieldByName("name")->GetAsString(), "Bob");
  t->SetIndexName("by_age");
  EXPECT_TRUE(t->FieldByName("age")->IsNull()) << "NULL sorts first";
  t->Close();
  t->SetIndexName("nope");
  EXPECT_EQ(MessageOf([&] { t->Open(); }), "Index 'nope' not found");
}

// ---------------------------------------------------------------------------------------------
// Edits

TEST_F(DbTest, EditInsertDeleteAreWrittenToTheFile) {
  MakePeople();
  {
    auto t = Table();
    t->Open();
    t->Next();
    t->Edit();
    EXPECT_EQ(t->State(), dsEdit);
    t->FieldByName("name")->SetAsString("Bobby");
    t->FieldByName("active")->SetAsBoolean(true);
    t->FieldByName("born")->SetAsString("1980-02-29");
    t->Post();
    EXPECT_EQ(t->State(), dsBrowse);

    t->Append();
    t->FieldByName("name")->SetAsString("Dee");
    t->Post();
    EXPECT_EQ(t->RecordCount(), 4);
    EXPECT_EQ(t->FieldByName("id")->GetAsInteger(), 4) << "the row is read back after insert";
    EXPECT_TRUE(t->FieldByName("active")->GetAsBoolean()) << "column default shows";

    t->First();
    t->Delete();
    EXPECT_EQ(t->RecordCount(), 3);
    EXPECT_EQ(t->FieldByName("name")->GetAsString(), "Bobby");
  }
  auto t = Table();
  t->Open();
  EXPECT_EQ(t->RecordCount(), 3);
  EXPECT_EQ(t->FieldByName("name")->GetAsString(), "Bobby");
  EXPECT_TRUE(t->FieldByName("active")->GetAsBoolean());
  EXPECT_EQ(t->FieldByName("born")->GetAsString(), "1980-02-29");
  t->Last();
  EXPECT_EQ(t->FieldByName("name")->GetAsString(), "Dee");
  // Stored as SQLite's own values: ISO text and 0/1.
  EXPECT_EQ(Scalar("SELECT typeof(born) || ' ' || born || ' ' || typeof(active) FROM people WHERE id = 2"),
            "text 1980-02-29 integer");
}

TEST_F(DbTest, CancelRestoresAndInsertCancelReturnsToTheRecord) {
  MakePeople();
  auto t = Table();
  t->Open();
  t->Next();
  t->Edit();
  t->FieldByName("name")->SetAsString("Zed");
  t->Cancel();
  EXPECT_EQ(t->FieldByName("name")->GetAsString(), "Bob");
  t->Insert();
  EXPECT_TRUE(t->FieldByName("name")->IsNull());
  t->Cancel();
  EXPECT_EQ(t->FieldByName("name")->GetAsString(), "Bob");
  EXPECT_EQ(t->RecordCount(), 3);
  EXPECT_EQ(Scalar("SELECT name FROM people WHERE id = 2"), "Bob");
}

TEST_F(DbTest, InsertPlacesTheRowBeforeTheCurrentOne) {
  MakePeople();
  auto t = Table();
  t->Open();
  t->Next();
  t->Insert();
  t->FieldByName("name")->SetAsString("New");
  EXPECT_EQ(t->GetRecNo(), 0);
  t->Post();
  EXPECT_EQ(t->GetRecNo(), 2);
  t->Next();
  EXPECT_EQ(t->FieldByName("name")->GetAsString(), "Bob");
}

TEST_F(DbTest, NullsReadAsEmptyAndClearWritesNull) {
  MakePeople();
  auto t = Table();
  t->Open();
  t->Last();
  TField* age = t->FieldByName("age");
  EXPECT_TRUE(age->IsNull());
  EXPECT_EQ(age->GetAsString(), "");
  EXPECT_EQ(age->GetAsInteger(), 0);
  t->First();
  t->Edit();
  age->SetAsString("");
  EXPECT_TRUE(age->IsNull());
  t->Post();
  EXPECT_EQ(Scalar("SELECT typeof(age) FROM people WHERE id = 1"), "null");
}

TEST_F(DbTest, RefusedPostKeepsTheEdit) {
  MakePeople();
  Exec("CREATE UNIQUE INDEX uniq_name ON people (name)");
  auto t = Table();
  t->Open();
  t->Edit();
  t->FieldByName("name")->SetAsString("Bob");
  t->FieldByName("age")->SetAsInteger(20);
  EXPECT_EQ(MessageOf([&] { t->Post(); }), "UNIQUE constraint failed: people.name");
  EXPECT_EQ(t->State(), dsEdit);
  EXPECT_EQ(t->FieldByName("age")->GetAsInteger(), 20);
  t->FieldByName("age")->SetAsInteger(-1);
  EXPECT_NE(MessageOf([&] { t->Post(); }).find("CHECK constraint failed"), std::string::npos);
  t->FieldByName("name")->SetAsString("Ann2");
  t->FieldByName("age")->SetAsInteger(20);
  t->Post();
  EXPECT_EQ(Scalar("SELECT name || age FROM people WHERE id = 1"), "Ann220");

  t->Append();
  EXPECT_EQ(MessageOf([&] { t->Post(); }), "Field 'name' must have a value");
  EXPECT_EQ(t->State(), dsInsert);
  t->Cancel();
  EXPECT_EQ(t->RecordCount(), 3);
}

TEST_F(DbTest, FieldsRefuseWritesOutsideEditAndValuesTheyCannotHold) {
  MakePeople();
  auto t = Table();
  t->Open();
  TField* age = t->FieldByName("age");
  EXPECT_EQ(MessageOf([&] { age->SetAsInteger(3); }), "Dataset not in edit or insert mode");
  t->Edit();
  EXPECT_EQ(MessageOf([&] { age->SetAsString("abc"); }), "'abc' is not a valid integer value for field 'age'");
  EXPECT_EQ(MessageOf([&] { age->SetAsInteger(40000); }),
            "40000 is not a valid value for field 'age'. The allowed range is -32768 to 32767");
  EXPECT_EQ(MessageOf([&] { t->FieldByName("born")->SetAsString("2023-02-29"); }), "'2023-02-29' is not a valid date");
  EXPECT_EQ(age->GetAsInteger(), 31) << "refused values leave the field as it was";
  age->OnValidate = [](TField* f) {
    if (f->GetAsInteger() > 150) throw EDatabaseError("too old");
  };
  EXPECT_EQ(MessageOf([&] { age->SetAsInteger(200); }), "too old");
  EXPECT_EQ(age->GetAsInteger(), 31);
  t->FieldByName("id")->SetReadOnly(true);
  EXPECT_EQ(MessageOf([&] { t->FieldByName("id")->SetAsInteger(9); }), "Field 'id' cannot be modified");
}

TEST_F(DbTest, FieldTextFollowsTypeAndFormat) {
  MakePeople();
  Exec("CREATE TABLE m (price MONEY, ratio REAL, stamp DATETIME, notes TEXT)");
  Exec("INSERT INTO m VALUES (1234.5, 0.125, '2024-02-29 13:05:00', 'hello')");
  auto t = Table("m");
  t->Open();
  EXPECT_EQ(t->FieldByName("price")->GetDisplayText(), "1,234.50");
  EXPECT_EQ(t->FieldByName("price")->GetText(), "1234.50");
  auto* ratio = As<TFloatField>(t->FieldByName("ratio"));
  EXPECT_EQ(ratio->GetAsString(), "0.125");
  ratio->SetDisplayFormat("0.0%;(0.0)");
  EXPECT_EQ(ratio->GetDisplayText(), "0.1%");
  auto* stamp = As<TDateTimeField>(t->FieldByName("stamp"));
  EXPECT_EQ(stamp->GetAsString(), "2024-02-29 13:05:00");
  stamp->SetDisplayFormat("dd/mm/yyyy hh:nn");
  EXPECT_EQ(stamp->GetDisplayText(), "29/02/2024 13:05");
  TDateTime d;
  ASSERT_TRUE(TryIsoToDateTime("2024-02-29", d));
  EXPECT_EQ(std::floor(stamp->GetAsDateTime()), d);
  EXPECT_EQ(d, 45351.0);  // Delphi's day number
  EXPECT_EQ(t->FieldByName("notes")->GetDisplayText(), "(MEMO)");
  EXPECT_EQ(t->FieldByName("notes")->GetAsString(), "hello");

  auto p = Table();
  p->Open();
  auto* active = As<TBooleanField>(p->FieldByName("active"));
  EXPECT_EQ(active->GetAsString(), "True");
  active->SetDisplayValues("Yes;No");
  EXPECT_EQ(active->GetDisplayWidth(), 3);
  p->Edit();
  active->SetAsString("n");
  EXPECT_FALSE(active->GetAsBoolean());
  EXPECT_EQ(MessageOf([&] { active->SetAsString("maybe"); }),
            "'maybe' is not a valid boolean value for field 'active'");
  p->FieldByName("name")->SetAsString(std::string(40, 'x'));
  EXPECT_EQ(p->FieldByName("name")->GetAsString().size(), 30u) << "strings are cut to Size";
}

TEST_F(DbTest, FieldByNameNamesTheMissingField) {
  MakePeople();
  auto t = Table();
  t->Open();
  EXPECT_EQ(t->FindField("nope"), nullptr);
  EXPECT_EQ(MessageOf([&] { t->FieldByName("nope"); }), "Field 'nope' not found");
  t->Close();
  EXPECT_EQ(MessageOf([&] { t->First(); }), "Cannot perform this operation on a closed dataset");
}

TEST(DbText, IsoDatesMapToDelphiDayNumbers) {
  TDateTime v;
  ASSERT_TRUE(TryIsoToDateTime("1899-12-30", v));
  EXPECT_EQ(v, 0.0);
  // Before the epoch the day counts down while the time still counts up.
  ASSERT_TRUE(TryIsoToDateTime("1899-12-29 06:00", v));
  EXPECT_EQ(v, -1.25);
  EXPECT_EQ(DateTimeToIso(-1.25), "1899-12-29 06:00:00");
  ASSERT_TRUE(TryIsoToDateTime("2000-01-01T12:00:00.5", v));
  EXPECT_EQ(DateTimeToIso(v), "2000-01-01 12:00:00.500");
  EXPECT_EQ(DateTimeToIso(v, false, true), "12:00:00.500");
  ASSERT_TRUE(TryIsoToDateTime("23:59:59", v));
  EXPECT_EQ(DateTimeToIso(v, false, true), "23:59:59");
  for (const char* bad : {"2024-13-01", "2023-02-29", "2024-01-01 24:00", "12:60", "2024-1-01", "today", ""})
    EXPECT_FALSE(TryIsoToDateTime(bad, v)) << bad;
}

TEST_F(DbTest, NumberMasksHaveSectionsForNegativeAndZero) {
  Exec(
      "CREATE TABLE n (v REAL); INSERT INTO n VALUES (1234.5); INSERT INTO n VALUES (-2); "
      "INSERT INTO n VALUES (0); INSERT INTO n VALUES (0.5)");
  auto t = Table("n");
  t->Open();
  auto* v = As<TFloatField>(t->FieldByName("v"));
  std::vector<std::string> got;
  for (const char* mask : {"#,##0.00;(#,##0.00);'Zero'", "0000", "#.##", "$0.0 'each'"})
    for (v->SetDisplayFormat(mask), t->First(); !t->Eof(); t->Next()) got.push_back(v->GetDisplayText());
  EXPECT_EQ(got,
            (std::vector<std::string>{"1,234.50", "(2.00)", "Zero", "0.50", "1235", "-0002", "0000", "0001", "1234.5",
                                      "-2", "", ".5", "$1234.5 each", "-$2.0 each", "$0.0 each", "$0.5 each"}));
}

TEST_F(DbTest, BlobsKeepTheirBytes) {
  Exec("CREATE TABLE b (data BLOB, pic GRAPHIC)");
  Exec("INSERT INTO b DEFAULT VALUES");
  const std::string bytes("\x00\x01\xFF\x00zz", 6);
  {
    auto t = Table("b");
    t->Open();
    auto* data = As<TBlobField>(t->FieldByName("data"));
    EXPECT_EQ(data->GetDisplayText(), "(Blob)");
    t->Edit();
    TMemoryStream in;
    in.Write(bytes.data(), static_cast<int64_t>(bytes.size()));
    in.SetPosition(0);
    data->LoadFromStream(&in);
    t->Post();
  }
  auto t = Table("b");
  t->Open();
  auto* data = As<TBlobField>(t->FieldByName("data"));
  TMemoryStream out;
  data->SaveToStream(&out);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(out.Memory()), static_cast<size_t>(out.GetSize())), bytes);
  EXPECT_EQ(data->GetDisplayText(), "(BLOB)");
  EXPECT_EQ(t->FieldByName("pic")->GetDisplayText(), "(Graphic)");
  EXPECT_EQ(Scalar("SELECT typeof(data) || length(data) FROM b"), "blob6");
}

TEST_F(DbTest, DatabaseTransactionsCoverItsDataSets) {
  MakePeople();
  TDatabase db(nullptr);
  db.SetDatabaseName("Tx");
  db.GetParams()->Add("DATABASE=" + Path);
  TTable t(nullptr);
  t.SetDatabaseName("Tx");
  t.SetTableName("people");
  t.Open();
  db.StartTransaction();
  t.Edit();
  t.FieldByName("age")->SetAsInteger(99);
  t.Post();
  db.Rollback();
  EXPECT_FALSE(db.InTransaction());
  EXPECT_EQ(Scalar("SELECT age FROM people WHERE id = 1"), "31");
  db.StartTransaction();
  t.Next();
  t.Delete();
  db.Commit();
  EXPECT_EQ(Scalar("SELECT count(*) FROM people"), "2");
}

TEST(DbFieldProps, DefaultsAreNotStoredAndChangesAre) {
  TStringField s(nullptr);
  // What a form file gets: the stored specifier, then the default of an ordinal.
  auto stored = [](TObject* o, const char* name) {
    PPropInfo p = GetPropInfo(o, name);
    return IsStoredProp(o, p) &&
           (p->PropType->Kind == tkLString || p->Default == NoDefault || GetOrdProp(o, p) != p->Default);
  };
  EXPECT_EQ(s.GetDisplayWidth(), 20);
  EXPECT_FALSE(stored(&s, "Size"));
  EXPECT_FALSE(stored(&s, "DisplayWidth"));
  s.SetSize(8);
  EXPECT_EQ(s.GetDisplayWidth(), 8) << "a string's width follows its size";
  s.SetDisplayWidth(3);
  EXPECT_TRUE(stored(&s, "Size"));
  EXPECT_TRUE(stored(&s, "DisplayWidth"));
  s.SetFieldName("CODE");
  s.SetDisplayLabel("CODE");
  EXPECT_FALSE(stored(&s, "DisplayLabel"));
  TBooleanField b(nullptr);
  EXPECT_FALSE(stored(&b, "DisplayValues"));
  b.SetDisplayValues("Ja;Nein");
  EXPECT_TRUE(stored(&b, "DisplayValues"));
  EXPECT_EQ(b.GetDisplayWidth(), 4);
  TIntegerField i(nullptr);
  EXPECT_EQ(i.GetAlignment(), taRightJustify);
  EXPECT_FALSE(stored(&i, "Alignment"));
  EXPECT_EQ(FieldTypeName(ftAutoInc), std::string("AutoInc"));
  EXPECT_EQ(GetEnumName(TypeInfoOf<TFieldType>(), 22), "ftCursor");
}

// ---------------------------------------------------------------------------------------------
// Errors from SQLite

TEST_F(DbTest, MissingFileAndTableAreReportedAndNothingIsCreated) {
  std::string missing = testing::TempDir() + "kvdb_no_such_file.db";
  std::remove(missing.c_str());
  TTable t(nullptr);
  t.SetDatabaseName(missing);
  t.SetTableName("people");
  EXPECT_EQ(MessageOf([&] { t.Open(); }), "unable to open database file: " + missing);
  EXPECT_FALSE(FileExists(missing));
  EXPECT_FALSE(t.GetActive());

  auto t2 = Table("nothere");
  EXPECT_EQ(MessageOf([&] { t2->Open(); }), "no such table: nothere");
  EXPECT_FALSE(t2->GetActive());
  EXPECT_EQ(t2->Fields().Count(), 0);
}

TEST_F(DbTest, LockedDatabaseIsReportedWithoutHanging) {
  MakePeople();
  TDatabase locker(nullptr);
  locker.SetDatabaseName("Locker");
  locker.SetAliasName(Path);
  locker.Execute("BEGIN EXCLUSIVE");
  EXPECT_TRUE(locker.InTransaction());
  auto t = Table();
  auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(MessageOf([&] { t->Open(); }), "database is locked");
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
  locker.Rollback();
  t->Open();
  EXPECT_EQ(t->RecordCount(), 3);

  // A write refused by a lock leaves the edit in place as well.
  t->Edit();
  t->FieldByName("age")->SetAsInteger(32);
  locker.Execute("BEGIN EXCLUSIVE");
  EXPECT_EQ(MessageOf([&] { t->Post(); }), "database is locked");
  EXPECT_EQ(t->State(), dsEdit);
  locker.Rollback();
  t->Post();
  EXPECT_EQ(Scalar("SELECT age FROM people WHERE id = 1"), "32");
}

// ---------------------------------------------------------------------------------------------
// Databases, aliases, queries

TEST_F(DbTest, DatabaseComponentsAndAliasesNameFiles) {
  MakePeople();
  RegisterDatabaseAlias("KVTESTALIAS", Path);
  auto t = Table();
  t->SetDatabaseName("kvtestalias");
  t->Open();
  EXPECT_EQ(t->RecordCount(), 3);

  std::string ini = testing::TempDir() + "kvdb_aliases.ini";
  {
    TStringList lines;
    lines.SetText("; test aliases\n[Other]\nKVFILEALIAS=wrong.db\n[Aliases]\nKVFILEALIAS=" + ExtractFileName(Path) +
                  "\n");
    lines.SaveToFile(ini);
  }
  LoadDatabaseAliases(ini);
  std::remove(ini.c_str());
  EXPECT_EQ(ResolveDatabaseName("kvFileAlias"), testing::TempDir() + ExtractFileName(Path));

  TDatabase db(nullptr);
  db.SetDatabaseName("Sales");
  db.SetAliasName("KVFILEALIAS");
  TTable viaDb(nullptr);
  viaDb.SetDatabaseName("sales");
  viaDb.SetTableName("PEOPLE.DB");  // a Paradox file name finds the table
  viaDb.Open();
  EXPECT_TRUE(db.GetConnected());
  EXPECT_EQ(viaDb.RecordCount(), 3);
  EXPECT_EQ(MessageOf([&] { db.SetAliasName("x"); }), "Cannot perform this operation on an open database");
  db.Close();
  EXPECT_FALSE(viaDb.GetActive()) << "closing a database closes its datasets";
}

TEST_F(DbTest, QueryParamsAndLiveness) {
  MakePeople();
  TQuery q(nullptr);
  q.SetDatabaseName(Path);
  q.GetSQL()->SetText("SELECT id, name FROM people WHERE age > :MinAge AND name <> ':skip' -- :notaparam\nORDER BY id");
  ASSERT_EQ(q.ParamCount(), 1);
  EXPECT_EQ(MessageOf([&] { q.Open(); }), "No value for parameter 'MinAge'");
  q.ParamByName("minage")->SetAsInteger(40);
  q.Open();
  EXPECT_EQ(q.RecordCount(), 1);
  EXPECT_FALSE(q.CanModify());
  EXPECT_EQ(MessageOf([&] { q.Edit(); }), "Cannot modify a read-only dataset");
  q.Close();

  q.SetRequestLive(true);
  q.GetSQL()->SetText("SELECT name, age FROM people WHERE age > :MinAge");
  EXPECT_EQ(q.ParamByName("MinAge")->GetAsInteger(), 40) << "values survive a new text";
  q.ParamByName("MinAge")->SetAsInteger(0);
  q.Open();
  ASSERT_TRUE(q.CanModify());
  q.Edit();
  q.FieldByName("age")->SetAsInteger(46);
  q.Next();
  EXPECT_EQ(Scalar("SELECT age FROM people WHERE name = 'Ann'"), "46") << "scrolling posts the edit";
  q.Close();

  q.GetSQL()->SetText("SELECT p.name, q.name AS other FROM people p JOIN people q ON q.id = p.id + 1");
  q.Open();
  EXPECT_FALSE(q.CanModify()) << "a join is read-only even when live is asked for";
  q.Close();
  q.GetSQL()->SetText("SELECT DISTINCT active FROM people");
  q.Open();
  EXPECT_FALSE(q.CanModify());
  q.Close();
  q.GetSQL()->SetText("DELETE FROM people WHERE age IS NULL");
  EXPECT_EQ(MessageOf([&] { q.Open(); }), "Query did not return a result set");
  q.ExecSQL();
  EXPECT_EQ(q.RowsAffected(), 1);
}

// ---------------------------------------------------------------------------------------------
// Data sources and links

TEST_F(DbTest, DataSourceTellsOfScrollsEditsAndStates) {
  MakePeople();
  auto t = Table();
  TDataSource ds(nullptr);
  ds.SetDataSet(t.get());
  std::vector<std::string> log;
  ds.OnDataChange = [&](TObject*, TField* f) { log.push_back(f ? "field " + f->GetFieldName() : "data"); };
  ds.OnStateChange = [&](TObject*) { log.push_back("state " + IntToStr(ds.State())); };
  t->Open();
  EXPECT_EQ(log, (std::vector<std::string>{"state 1", "data"}));
  log.clear();
  t->Next();
  t->Next();
  t->Next();  // at the end: no move, no change
  EXPECT_EQ(log, (std::vector<std::string>{"data", "data"}));
  log.clear();
  ds.Edit();
  t->FieldByName("age")->SetAsInteger(1);
  EXPECT_EQ(log, (std::vector<std::string>{"state 2", "data", "field age"}));
  log.clear();
  t->DisableControls();
  t->Cancel();
  t->First();
  EXPECT_TRUE(log.empty());
  t->EnableControls();
  EXPECT_EQ(log, (std::vector<std::string>{"state 1", "data"}));

  ds.SetAutoEdit(false);
  ds.Edit();
  EXPECT_EQ(t->State(), dsBrowse);
  t.reset();
  EXPECT_EQ(ds.GetDataSet(), nullptr) << "a freed dataset lets go of its sources";
  EXPECT_EQ(ds.State(), dsInactive);
}

TEST_F(DbTest, FieldDataLinkFollowsItsField) {
  MakePeople();
  auto t = Table();
  TDataSource ds(nullptr);
  ds.SetDataSet(t.get());
  TFieldDataLink link;
  link.SetDataSource(&ds);
  link.SetFieldName("name");
  std::vector<std::string> shown;
  std::string typed;
  link.OnDataChange = [&](TObject*) { shown.push_back(link.Field() ? link.Field()->GetAsString() : "-"); };
  link.OnUpdateData = [&](TObject*) { link.Field()->SetAsString(typed); };
  EXPECT_EQ(link.Field(), nullptr);
  t->Open();
  ASSERT_EQ(link.Field(), t->FieldByName("name"));
  t->Next();
  t->FieldByName("age")->GetAsString();
  EXPECT_EQ(shown, (std::vector<std::string>{"Ann", "Ann", "Bob"}));

  // A control edits: the link puts the dataset into edit, and the typed text is posted.
  EXPECT_TRUE(link.Edit());
  EXPECT_TRUE(link.Editing());
  typed = "Robert";
  link.Modified();
  t->Post();
  EXPECT_EQ(Scalar("SELECT name FROM people WHERE id = 2"), "Robert");
  EXPECT_FALSE(link.Editing());

  link.SetReadOnly(true);
  EXPECT_FALSE(link.Edit());
  EXPECT_EQ(t->State(), dsBrowse);
  t->Close();
  EXPECT_EQ(link.Field(), nullptr);
  EXPECT_FALSE(link.Active());
  link.SetFieldName("nope");
  EXPECT_EQ(MessageOf([&] { t->Open(); }), "Field 'nope' not found");
}

TEST_F(DbTest, LinkWindowLetsAGridReadOtherRowsAndCalculatedFields) {
  MakePeople();
  auto t = Table();
  auto* calc = new TStringField(t.get());
  calc->SetFieldName("Shout");
  calc->SetFieldKind(fkCalculated);
  calc->SetDataSet(t.get());
  auto* name = new TStringField(t.get());
  name->SetFieldName("name");
  name->SetDataSet(t.get());
  t->OnCalcFields = [&](TDataSet*) { calc->SetAsString(UpperCase(name->GetAsString())); };
  TDataSource ds(nullptr);
  ds.SetDataSet(t.get());
  TDataLink grid;
  grid.SetDataSource(&ds);
  grid.SetBufferCount(2);
  t->Open();
  EXPECT_EQ(t->Fields().Count(), 2) << "persistent fields replace the schema's";
  EXPECT_EQ(calc->GetAsString(), "ANN");
  t->Last();
  EXPECT_EQ(grid.RecordCount(), 2);
  EXPECT_EQ(grid.GetActiveRecord(), 1);
  grid.SetActiveRecord(0);
  EXPECT_EQ(name->GetAsString(), "Bob");
  EXPECT_EQ(calc->GetAsString(), "BOB");
  grid.SetActiveRecord(1);
  EXPECT_EQ(calc->GetAsString(), "CID");
  EXPECT_EQ(MessageOf([&] {
              t->Edit();
              calc->SetAsString("x");
            }),
            "Field 'Shout' cannot be modified");
}

// ---------------------------------------------------------------------------------------------
// Form streams

TEST_F(DbTest, PersistentFieldsStreamAsChildrenOfTheirDataSet) {
  MakePeople();
  TMemoryStream stream;
  {
    TDbTestRoot root(nullptr);
    root.SetName("Form1");
    auto* t = new TTable(&root);
    t->SetName("Table1");
    t->SetDatabaseName(Path);
    t->SetTableName("people");
    auto* name = new TStringField(&root);
    name->SetName("Table1Name");
    name->SetFieldName("name");
    name->SetSize(30);
    name->SetDisplayLabel("Full name");
    name->SetDataSet(t);
    auto* id = new TAutoIncField(&root);
    id->SetName("Table1Id");
    id->SetFieldName("id");
    id->SetDataSet(t);
    id->SetIndex(0);
    t->Open();
    auto* src = new TDataSource(&root);
    src->SetName("DataSource1");
    src->SetDataSet(t);
    stream.WriteComponent(&root);
  }
  stream.SetPosition(0);
  TMemoryStream text;
  ObjectBinaryToText(&stream, &text);
  std::string s = StringReplaceAll(
      std::string(reinterpret_cast<const char*>(text.Memory()), static_cast<size_t>(text.GetSize())), "\r", "");
  // Nested in the table, in their order, without a DataSet property of their own.
  EXPECT_NE(s.find("  object Table1: TTable\n    Active = True\n"), std::string::npos) << s;
  EXPECT_NE(s.find("    object Table1Id: TAutoIncField\n      FieldName = 'id'\n    end\n"
                   "    object Table1Name: TStringField\n      DisplayLabel = 'Full name'\n"
                   "      FieldName = 'name'\n      Size = 30\n    end\n  end\n"),
            std::string::npos)
      << s;

  TDbTestRoot root(nullptr);
  stream.SetPosition(0);
  TReader reader(&stream);
  reader.ReadRootComponent(&root);
  auto* t = As<TTable>(root.FindComponent("Table1"));
  ASSERT_NE(t, nullptr);
  EXPECT_TRUE(t->GetActive());
  ASSERT_EQ(t->Fields().Count(), 2);
  TField* id = t->Fields()[0];
  TField* name = t->Fields()[1];
  EXPECT_EQ(id->GetName(), "Table1Id");
  EXPECT_EQ(id->Owner(), &root);
  EXPECT_EQ(name->GetFieldName(), "name");
  EXPECT_EQ(name->GetSize(), 30);
  EXPECT_EQ(name->GetDisplayLabel(), "Full name");
  EXPECT_EQ(name->GetAsString(), "Ann");
  EXPECT_EQ(As<TDataSource>(root.FindComponent("DataSource1"))->GetDataSet(), t);
  delete t;
  EXPECT_EQ(root.FindComponent("Table1Name"), nullptr) << "fields go with their dataset";
  EXPECT_EQ(root.ComponentCount(), 1);
}

TEST_F(DbTest, QuerySQLAndParamsStream) {
  TMemoryStream stream;
  {
    TDbTestRoot root(nullptr);
    root.SetName("Form1");
    auto* q = new TQuery(&root);
    q->SetName("Query1");
    q->SetDatabaseName("DBDEMOS");
    q->GetSQL()->SetText("select * from customer\nwhere CustNo = :CustNo");
    q->ParamByName("CustNo")->SetDataType(ftInteger);
    q->SetRequestLive(true);
    q->SetUniDirectional(true);
    stream.WriteComponent(&root);
  }
  stream.SetPosition(0);
  TMemoryStream text;
  ObjectBinaryToText(&stream, &text);
  std::string s = StringReplaceAll(
      std::string(reinterpret_cast<const char*>(text.Memory()), static_cast<size_t>(text.GetSize())), "\r", "");
  EXPECT_NE(s.find("SQL.Strings = (\n      'select * from customer'"), std::string::npos) << s;
  EXPECT_NE(s.find("ParamData = <\n      item\n        DataType = ftInteger\n        Name = 'CustNo'"),
            std::string::npos)
      << s;

  stream.SetPosition(0);
  TDbTestRoot root(nullptr);
  TReader reader(&stream);
  reader.ReadRootComponent(&root);
  auto* q = As<TQuery>(root.FindComponent("Query1"));
  ASSERT_NE(q, nullptr);
  EXPECT_EQ(q->GetSQL()->Count(), 2);
  EXPECT_TRUE(q->GetRequestLive());
  EXPECT_TRUE(q->GetUniDirectional());
  ASSERT_EQ(q->ParamCount(), 1);
  EXPECT_EQ(q->ParamByName("custno")->GetDataType(), ftInteger);
}

}  // namespace

TEST_F(DbTest, DetailQueryTakesUnsetParametersFromItsMaster) {
  Exec("CREATE TABLE depts (code INTEGER, title VARCHAR(20))");
  Exec("INSERT INTO depts VALUES (10, 'Sales'), (20, 'Research')");
  Exec("CREATE TABLE staff (name VARCHAR(20), code INTEGER)");
  Exec("INSERT INTO staff VALUES ('Ann', 10), ('Bob', 20), ('Cid', 20)");
  TTable depts(nullptr);
  depts.SetDatabaseName(Path);
  depts.SetTableName("depts");
  TDataSource master(nullptr);
  master.SetDataSet(&depts);
  TQuery staff(nullptr);
  staff.SetDatabaseName(Path);
  staff.GetSQL()->SetText("SELECT name FROM staff WHERE code = :code ORDER BY name");
  staff.SetDataSource(&master);
  depts.Open();
  staff.Open();
  EXPECT_EQ(staff.RecordCount(), 1);
  EXPECT_EQ(staff.FieldByName("name")->GetAsString(), "Ann");
  depts.Next();  // the detail follows its master's record
  EXPECT_EQ(staff.RecordCount(), 2);
  EXPECT_EQ(staff.FieldByName("name")->GetAsString(), "Bob");
  staff.ParamByName("code")->SetAsInteger(10);  // a parameter that is set wins
  staff.Close();
  staff.Open();
  EXPECT_EQ(staff.RecordCount(), 1);
  TDataSource own(nullptr);
  own.SetDataSet(&staff);
  EXPECT_THROW(staff.SetDataSource(&own), EDatabaseError);
}
