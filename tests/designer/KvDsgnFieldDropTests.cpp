// Database fields dragged from the host onto a design: the labelled data-aware controls, their
// placement, and the data sources they are bound to.
#include <cstdio>
#include <initializer_list>

#include "DBCtrls.h"
#include "DbTables.h"
#include "DesignText.h"
#include "DesignerFixture.h"

namespace {

// A design next to a host that owns two open tables of a fresh SQLite file, as a host keeps
// its tables outside the designed form.
class FieldDropTest : public DesignerTest {
 protected:
  void SetUp() override {
    DesignerTest::SetUp();
    Path = testing::TempDir() + "kv_fielddrop_" + testing::UnitTest::GetInstance()->current_test_info()->name() + ".db";
    std::remove(Path.c_str());
    CreateDatabaseFile(Path);
    TQuery create(nullptr);
    create.SetDatabaseName(Path);
    create.GetSQL()->SetText(
        "CREATE TABLE PEOPLE (Name VARCHAR(20), Notes MEMO, Active BOOLEAN, Photo GRAPHIC, Age INTEGER);"
        "CREATE TABLE CITY (Town VARCHAR(12));");
    create.ExecSQL();
    People = OpenTable("PEOPLE");
    City = OpenTable("CITY");
  }

  void TearDown() override {
    DesignerTest::TearDown();  // the host frees its tables
    std::remove(Path.c_str());
  }

  TTable* OpenTable(const std::string& name) {
    auto* table = new TTable(Host);
    table->SetName(name);
    table->SetDatabaseName(Path);
    table->SetTableName(name);
    table->Open();
    return table;
  }

  // Drags the fields from the host and drops them at a form-client point, through the
  // platform's drag and drop.
  void DropFields(std::initializer_list<TField*> fields, TPoint at) {
    TKvDragField drag(Host);
    for (TField* f : fields) drag.FieldList->Add(f);
    TPoint screen = Form()->ClientToScreen(at);
    SetCursorPos(screen.X, screen.Y);
    BeginDragObject(&drag, Host);
    DragDone(true);
  }

  template <class T>
  T* Named(const std::string& name) const {
    return dynamic_cast<T*>(Form()->FindComponent(name));
  }

  int DataSourceCount() const {
    int n = 0;
    for (int i = 0; i < Form()->ComponentCount(); ++i)
      n += dynamic_cast<TDataSource*>(Form()->Components(i)) != nullptr;
    return n;
  }

  std::string Path;
  TTable* People = nullptr;
  TTable* City = nullptr;
};

}  // namespace

TEST_F(FieldDropTest, StringAndMemoStackLabelsAndControlsSharingANewDataSource) {
  Engine->FModified = false;
  DropFields({People->FieldByName("Name"), People->FieldByName("Notes")}, {10, 10});

  auto* label1 = Named<TLabel>("Label1");
  auto* edit = Named<TDBEdit>("DBEdit1");
  auto* label2 = Named<TLabel>("Label2");
  auto* memo = Named<TDBMemo>("DBMemo1");
  auto* source = Named<TDataSource>("DataSource1");
  ASSERT_TRUE(label1 && edit && label2 && memo && source);
  EXPECT_EQ(label1->GetCaption(), "Name");
  EXPECT_EQ(label2->GetCaption(), "Notes");
  EXPECT_EQ(label1->BoundsRect().TopLeft(), (TPoint{10, 10}));
  EXPECT_EQ(edit->BoundsRect().TopLeft(), (TPoint{10, 10 + label1->GetHeight() + 3}));
  EXPECT_EQ(label2->BoundsRect().TopLeft(), (TPoint{10, edit->GetTop() + edit->GetHeight() + 7}));
  EXPECT_EQ(memo->BoundsRect().TopLeft(), (TPoint{10, label2->GetTop() + label2->GetHeight() + 3}));
  EXPECT_GT(label1->GetHeight(), 0);
  // Wide enough for the field's display width (20 for a VARCHAR(20)) in the form's font.
  EXPECT_EQ(edit->GetWidth(), Form()->Canvas()->TextWidth("#") * 20);

  EXPECT_EQ(label1->GetFocusControl(), edit);
  EXPECT_EQ(label2->GetFocusControl(), memo);
  EXPECT_EQ(edit->GetDataSource(), source);
  EXPECT_EQ(memo->GetDataSource(), source);
  EXPECT_EQ(edit->GetDataField(), "Name");
  EXPECT_EQ(memo->GetDataField(), "Notes");
  EXPECT_EQ(source->GetDataSet(), People);
  EXPECT_EQ(DataSourceCount(), 1);
  // The new data source's icon goes to the middle of the form.
  TKvIcon* icon = Engine->IconOf(source);
  ASSERT_NE(icon, nullptr);
  EXPECT_EQ(icon->BoundsRect().TopLeft(), (TPoint{Form()->GetWidth() / 2, Form()->GetHeight() / 2}));

  EXPECT_EQ(Selection(), (std::vector<TComponent*>{memo}));  // the last one created
  EXPECT_TRUE(Engine->FModified);                            // new controls are work to be saved
}

TEST_F(FieldDropTest, BooleanBecomesAnUnlabelledCheckBoxSevenPixelsBelow) {
  Designer->SetCanInsert(false);  // palette insertion only: drops still insert
  DropFields({People->FieldByName("Name"), People->FieldByName("Active")}, {16, 16});

  auto* label = Named<TLabel>("Label1");
  auto* edit = Named<TDBEdit>("DBEdit1");
  auto* check = Named<TDBCheckBox>("DBCheckBox1");
  ASSERT_TRUE(label && edit && check);
  EXPECT_EQ(Named<TLabel>("Label2"), nullptr);
  EXPECT_EQ(label->BoundsRect().TopLeft(), (TPoint{16, 16}));
  EXPECT_EQ(edit->BoundsRect().TopLeft(), (TPoint{16, 16 + label->GetHeight() + 3}));
  EXPECT_EQ(check->BoundsRect().TopLeft(), (TPoint{16, edit->GetTop() + edit->GetHeight() + 7}));
  EXPECT_EQ(check->GetCaption(), "Active");
  EXPECT_EQ(check->GetDataField(), "Active");
  EXPECT_EQ(check->GetDataSource(), edit->GetDataSource());
  EXPECT_EQ(DataSourceCount(), 1);
}

TEST_F(FieldDropTest, GraphicsGetALabelledImageAndAnExistingDataSourceIsReused) {
  auto* existing = new TDataSource(Form());
  existing->SetName("PeopleSource");
  existing->SetDataSet(People);
  DropFields({People->FieldByName("Photo"), People->FieldByName("Age")}, {24, 24});

  auto* image = Named<TDBImage>("DBImage1");
  auto* age = Named<TDBEdit>("DBEdit1");
  ASSERT_TRUE(image && age);
  EXPECT_EQ(Named<TLabel>("Label1")->GetFocusControl(), image);
  EXPECT_EQ(image->GetDataSource(), existing);
  EXPECT_EQ(age->GetDataSource(), existing);
  EXPECT_EQ(DataSourceCount(), 1);

  // A second drop of the same data set still makes none.
  DropFields({People->FieldByName("Name")}, {300, 24});
  EXPECT_EQ(Named<TDBEdit>("DBEdit2")->GetDataSource(), existing);
  EXPECT_EQ(DataSourceCount(), 1);
}

TEST_F(FieldDropTest, FieldsOfTwoDataSetsBindToOneDataSourceEach) {
  DropFields({People->FieldByName("Name"), City->FieldByName("Town"), People->FieldByName("Age")}, {10, 10});

  auto* name = Named<TDBEdit>("DBEdit1");
  auto* town = Named<TDBEdit>("DBEdit2");
  auto* age = Named<TDBEdit>("DBEdit3");
  ASSERT_TRUE(name && town && age);
  EXPECT_EQ(DataSourceCount(), 2);
  EXPECT_EQ(name->GetDataSource()->GetDataSet(), People);
  EXPECT_EQ(town->GetDataSource()->GetDataSet(), City);
  EXPECT_EQ(age->GetDataSource(), name->GetDataSource());
  EXPECT_NE(town->GetDataSource(), name->GetDataSource());
}

TEST_F(FieldDropTest, DroppedOnAControlTheFieldsGoToTheContainerAroundIt) {
  auto* panel = Add<TPanel>("Panel1", 100, 80, 300, 200);
  Add<TEdit>("Edit1", 20, 20, 120, 21, panel);
  DropFields({People->FieldByName("Name")}, {130, 110});  // over Edit1

  auto* label = Named<TLabel>("Label1");
  auto* edit = Named<TDBEdit>("DBEdit1");
  ASSERT_TRUE(label && edit);
  EXPECT_EQ(label->GetParent(), panel);
  EXPECT_EQ(edit->GetParent(), panel);
  EXPECT_EQ(label->BoundsRect().TopLeft(), (TPoint{30, 30}));  // the same point, panel-client
}

TEST_F(FieldDropTest, OnlyFieldDragsAreAcceptedAndTheFormClaimsTheDrop) {
  TKvDragField fields(Host);
  fields.FieldList->Add(People->FieldByName("Name"));
  TDragControlObject other(Host);
  TDragRec rec;
  rec.Pos = Form()->ClientToScreen({40, 40});
  rec.Target = Form();
  auto drag = [&](TDragMessage code, TObject* source) {
    rec.Source = source;
    return Form()->Perform(CM_DRAG, code, reinterpret_cast<intptr_t>(&rec));
  };
  EXPECT_EQ(drag(dmDragMove, &fields), 1);
  EXPECT_EQ(drag(dmDragMove, &other), 0);
  for (TDragMessage code : {dmDragEnter, dmDragLeave, dmDragCancel}) EXPECT_EQ(drag(code, &other), 1);
  EXPECT_EQ(drag(dmFindTarget, &other), reinterpret_cast<intptr_t>(static_cast<TControl*>(Form())));

  int before = Form()->ComponentCount();
  drag(dmDragDrop, &other);
  EXPECT_EQ(Form()->ComponentCount(), before);

  // Through the platform: the cursor over the form tells the user which drag it takes.
  SetCursorPos(rec.Pos.X, rec.Pos.Y);
  BeginDragObject(&other, Host);
  EXPECT_EQ(GetCursor(), crNoDrop);
  DragDone(false);
  BeginDragObject(&fields, Host);
  EXPECT_EQ(GetCursor(), crDrag);
  DragDone(false);
  EXPECT_EQ(Form()->ComponentCount(), before);  // cancelled: nothing dropped
}

// A drop is one step: undone, its labels, controls and new data source go; redone, they come
// back bound as they were.
TEST_F(FieldDropTest, ADropIsOneUndoStepWithItsLabelsAndDataSource) {
  const std::string before = DesignText(Engine);
  DropFields({People->FieldByName("Name"), People->FieldByName("Notes")}, {10, 10});
  const std::string after = DesignText(Engine);
  ASSERT_EQ(Engine->UndoCaption(), "Undo Insert");
  Engine->Undo();
  EXPECT_EQ(DesignText(Engine), before);
  EXPECT_EQ(DataSourceCount(), 0);
  EXPECT_EQ(Engine->IconCount(), 0);
  Engine->Redo();
  EXPECT_EQ(DesignText(Engine), after);
  auto* edit = Named<TDBEdit>("DBEdit1");
  auto* source = Named<TDataSource>("DataSource1");
  ASSERT_TRUE(edit && source);
  EXPECT_EQ(edit->GetDataSource(), source);
  EXPECT_EQ(source->GetDataSet(), People);
  EXPECT_EQ(Named<TLabel>("Label1")->GetFocusControl(), edit);
  EXPECT_NE(Engine->IconOf(source), nullptr);
}
