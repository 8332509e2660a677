// Data-aware controls over a real SQLite table.
#include <gtest/gtest.h>

#include <cstdio>

#include "ControlsTests.h"
#include "DBCtrls.h"
#include "DbTables.h"
#include "DbTestFile.h"
#include "Forms.h"
#include "StdReg.h"
#include "StreamCheck.h"

namespace {

class DBCtrlsTest : public TDbFormTest {
 protected:
  void SetUp() override {
    RegisterStandardClasses();
    TDbFileTest::SetUp();
    Exec("CREATE TABLE people (id INTEGER PRIMARY KEY, name VARCHAR(20), active BOOLEAN, note TEXT, photo GRAPHIC)");
    Exec("INSERT INTO people (name, active, note) VALUES ('Ada', 1, 'first line')");
    Exec("INSERT INTO people (name, active, note) VALUES ('Brian', 0, NULL)");
    MakeForm("people");
  }
  template <class T>
  T* Bound(const char* name, const char* field) {
    auto* c = new T(Form);
    c->SetName(name);
    c->SetParent(Form);
    c->SetDataSource(Source);
    c->SetDataField(field);
    return c;
  }
};

}  // namespace

TEST_F(DBCtrlsTest, ControlsShowTheCurrentRecordAndFollowNavigation) {
  auto* edit = Bound<TDBEdit>("Edit1", "NAME");
  auto* text = Bound<TDBText>("Text1", "name");
  auto* memo = Bound<TDBMemo>("Memo1", "note");
  auto* check = Bound<TDBCheckBox>("Check1", "active");
  // Named in code, it shows its name (as a VCL control does) until its data is open.
  EXPECT_EQ(edit->GetText(), "Edit1");
  Table->Open();
  EXPECT_EQ(edit->GetText(), "Ada");
  EXPECT_EQ(edit->GetMaxLength(), 20);  // from the field's size
  EXPECT_EQ(text->GetCaption(), "Ada");
  EXPECT_EQ(memo->GetLines()->Get(0), "first line");
  EXPECT_TRUE(check->GetChecked());
  Table->Next();
  EXPECT_EQ(edit->GetText(), "Brian");
  EXPECT_EQ(text->GetCaption(), "Brian");
  EXPECT_EQ(memo->GetText(), "");
  EXPECT_EQ(check->GetState(), cbUnchecked);
  Table->Close();
  EXPECT_EQ(edit->GetText(), "");
}

TEST_F(DBCtrlsTest, EditsReachTheTableThroughPost) {
  auto* edit = Bound<TDBEdit>("Edit1", "NAME");
  Table->Open();
  EXPECT_TRUE(edit->GetReadOnly() == false);
  Table->Edit();
  edit->SetText("Ada Lovelace");
  Table->Post();
  Table->Close();
  Table->Open();
  EXPECT_EQ(Table->FieldByName("name")->GetAsString(), "Ada Lovelace");
  EXPECT_EQ(edit->GetText(), "Ada Lovelace");
}

TEST_F(DBCtrlsTest, CheckBoxClickTogglesTheField) {
  auto* check = Bound<TDBCheckBox>("Check1", "active");
  Table->Open();
  ASSERT_TRUE(check->GetChecked());
  check->Perform(WM_COMMAND, MakeWParam(0, BN_CLICKED), 0);
  EXPECT_EQ(Table->State(), dsEdit);
  EXPECT_FALSE(Table->FieldByName("active")->GetAsBoolean());
  Table->Post();
  check->SetReadOnly(true);
  check->Perform(WM_COMMAND, MakeWParam(0, BN_CLICKED), 0);  // refused: the field keeps its value
  EXPECT_FALSE(Table->FieldByName("active")->GetAsBoolean());
  EXPECT_EQ(Table->State(), dsBrowse);
}

TEST_F(DBCtrlsTest, ImageShowsThePictureOfAGraphicField) {
  TBitmap bmp;
  bmp.SetWidth(7);
  bmp.SetHeight(5);
  TMemoryStream bytes;
  bmp.SaveToStream(&bytes);
  Table->Open();
  Table->Edit();
  auto* blob = static_cast<TBlobField*>(Table->FieldByName("photo"));
  bytes.SetPosition(0);
  blob->LoadFromStream(&bytes);
  Table->Post();
  auto* image = Bound<TDBImage>("Image1", "photo");
  EXPECT_EQ(image->GetPicture()->GetWidth(), 7);
  EXPECT_EQ(image->GetPicture()->GetHeight(), 5);
  Table->Next();  // no picture there
  EXPECT_EQ(image->GetPicture()->GetGraphic(), nullptr);
  Table->Edit();
  Table->FieldByName("photo")->SetAsString("not a picture");
  image->LoadPicture();
  EXPECT_EQ(image->GetPicture()->GetGraphic(), nullptr);
  Table->Cancel();
}

// While designing, an image shows its record's picture as the other controls show their data;
// only without one does it name itself.
TEST_F(DBCtrlsTest, ADesignedImageShowsThePictureOfItsRecord) {
  TBitmap bmp;
  bmp.SetWidth(8);
  bmp.SetHeight(8);
  bmp.Canvas()->GetBrush()->SetColor(clRed);
  bmp.Canvas()->FillRect(Rect(0, 0, 8, 8));
  TMemoryStream bytes;
  bmp.SaveToStream(&bytes);
  Table->Open();
  Table->Edit();
  bytes.SetPosition(0);
  static_cast<TBlobField*>(Table->FieldByName("photo"))->LoadFromStream(&bytes);
  Table->Post();
  Form->SetDesigning(true);
  auto* image = Bound<TDBImage>("Image1", "photo");
  image->SetBounds(0, 0, 40, 40);
  Form->SetBounds(0, 0, 100, 100);
  ShowAndSettle(Form);
  EXPECT_EQ(PixelAt(Form, 20, 20), clRed);
}

TEST_F(DBCtrlsTest, DesignStateShowsNamesAndStreamsTheLinks) {
  Form->SetDesigning(true);
  auto* edit = Bound<TDBEdit>("Edit1", "NAME");
  auto* check = Bound<TDBCheckBox>("Check1", "active");
  check->SetValueChecked("Yes;Y");
  EXPECT_EQ(edit->GetText(), "Edit1");
  Form->SetDesigning(false);
  std::string text = StreamAsText(Form);
  EXPECT_NE(text.find("DataField = 'NAME'"), std::string::npos);
  EXPECT_NE(text.find("DataSource = DataSource1"), std::string::npos);
  ExpectRoundTrip(Form, check);
  EXPECT_NE(text.find("ValueChecked = 'Yes;Y'"), std::string::npos);
  EXPECT_EQ(text.find("ValueUnchecked"), std::string::npos);  // at its default
}

// The record's values belong to the table: a form file holds only how the controls show them.
TEST_F(DBCtrlsTest, FormFilesHoldNoRecordValues) {
  Bound<TDBEdit>("Edit1", "name");
  Bound<TDBMemo>("Memo1", "note");
  Bound<TDBCheckBox>("Check1", "active");
  Bound<TDBComboBox>("Combo1", "name");
  auto* list = Bound<TDBListBox>("List1", "name");
  list->GetItems()->Add("Ada");
  list->GetItems()->Add("Brian");
  auto* radio = Bound<TDBRadioGroup>("Radio1", "name");
  radio->GetItems()->Add("Ada");
  radio->GetItems()->Add("Brian");
  Table->Open();
  Table->Edit();
  Table->FieldByName("name")->SetAsString("Brian");  // typed, never posted
  std::string text = StreamAsText(Form);
  Table->Cancel();
  for (const char* value : {"Text = ", "Lines.Strings", "State = ", "Checked = ", "ItemIndex = "})
    EXPECT_EQ(text.find(value), std::string::npos) << value << " in\n" << text;
  // Their own settings stay: the choices of the list and the radio group.
  EXPECT_NE(text.find("Items.Strings"), std::string::npos);
  EXPECT_NE(text.find("DataField = 'name'"), std::string::npos);
}
