// The data grid, the navigator, the radio group and the lookup combo over a real SQLite table.
#include <gtest/gtest.h>

#include <cstdio>

#include "DBCtrls.h"
#include "DBGrids.h"
#include "DbTables.h"
#include "DbTestFile.h"
#include "FormText.h"
#include "Forms.h"
#include "StdReg.h"
#include "StreamCheck.h"

namespace {

class DBGridsTest : public TDbFormTest {
 protected:
  void SetUp() override {
    RegisterStandardClasses();
    TDbFileTest::SetUp();
    Exec("CREATE TABLE people (id INTEGER PRIMARY KEY, name VARCHAR(20), dept INTEGER, kind VARCHAR(1))");
    Exec("CREATE TABLE depts (code INTEGER PRIMARY KEY, title VARCHAR(30))");
    Exec("INSERT INTO depts VALUES (10, 'Sales'), (20, 'Research')");
    for (const char* n : {"Ada", "Brian", "Carl", "Dora", "Emil", "Fay", "Gus", "Hal", "Ivy", "Jon"})
      Exec(std::string("INSERT INTO people (name, dept, kind) VALUES ('") + n + "', 10, 'A')");
    MakeForm("people");
    Form->SetBounds(0, 0, 500, 300);
  }
  void TearDown() override {
    TDbFormTest::TearDown();
    MessageBoxHook = nullptr;
  }
  TDBGrid* NewGrid() {
    auto* g = new TDBGrid(Form);
    g->SetName("DBGrid1");
    g->SetParent(Form);
    g->SetBounds(0, 0, 400, 120);
    g->SetDataSource(Source);
    return g;
  }
};

}  // namespace

TEST_F(DBGridsTest, DefaultColumnsShowRowsAndFollowTheDataset) {
  auto* grid = NewGrid();
  EXPECT_EQ(grid->GetColumns()->Count(), 0);  // closed: no fields, no columns
  Table->Open();
  Table->FieldByName("name")->SetDisplayLabel("Full name");
  ASSERT_EQ(grid->VisibleColumns().size(), 4u);
  EXPECT_TRUE(grid->GetColumns()->IsDefault());
  EXPECT_EQ(grid->CellText(2, 0), "Full name");  // title from DisplayLabel
  EXPECT_EQ(grid->CellText(2, 1), "Ada");
  EXPECT_EQ(grid->CellText(2, 2), "Brian");
  EXPECT_EQ(grid->CellText(0, 1), "");  // the indicator
  // The name column is wide enough for its 20 characters of DisplayWidth.
  EXPECT_GT(grid->GetColumns()->Items(1)->GetWidth(), grid->GetColumns()->Items(0)->GetWidth());
  int rows = grid->DataLink()->GetBufferCount();
  EXPECT_GT(rows, 1);
  EXPECT_LT(rows, 10);  // a window of the ten records, not all of them
  Table->Last();
  EXPECT_EQ(grid->GetRow(), rows);  // the last record sits on the bottom row
  EXPECT_EQ(grid->CellText(2, rows), "Jon");
  Table->First();
  EXPECT_EQ(grid->GetRow(), 1);
  EXPECT_EQ(grid->CellText(2, 1), "Ada");
  Table->Close();
  EXPECT_EQ(grid->GetColumns()->Count(), 0);
  EXPECT_EQ(StreamAsText(Form).find("Columns = "), std::string::npos);  // default columns are not written
}

TEST_F(DBGridsTest, KeyboardAndScrollBarMoveTheDataset) {
  auto* grid = NewGrid();
  Table->Open();
  grid->Perform(WM_KEYDOWN, VK_DOWN, 0);
  EXPECT_EQ(Table->FieldByName("name")->GetAsString(), "Brian");
  EXPECT_EQ(grid->GetRow(), 2);
  grid->Perform(WM_KEYDOWN, VK_END, 0);  // End alone moves to the last column, not the record
  EXPECT_EQ(Table->GetRecNo(), 2);
  grid->Perform(WM_VSCROLL, MakeWParam(4 /* SB_THUMBPOSITION */, 8), 0);
  EXPECT_EQ(Table->GetRecNo(), 9);
  grid->Perform(WM_KEYDOWN, VK_UP, 0);
  EXPECT_EQ(Table->GetRecNo(), 8);
}

TEST_F(DBGridsTest, EditingACellPostsWhenLeavingTheRow) {
  auto* grid = NewGrid();
  Table->Open();
  grid->SetSelectedIndex(1);  // the name column
  grid->SetEditorMode(true);
  ASSERT_TRUE(grid->GetEditorMode());
  EXPECT_EQ(grid->InplaceEditor()->GetEditText(), "Ada");
  grid->InplaceEditor()->SetEditText("Ada Lovelace");
  grid->Perform(WM_KEYDOWN, VK_DOWN, 0);
  EXPECT_EQ(Table->State(), dsBrowse);
  Table->Close();
  Table->Open();
  EXPECT_EQ(Table->FieldByName("name")->GetAsString(), "Ada Lovelace");
}

TEST_F(DBGridsTest, ReadOnlyColumnsAndGridRefuseTheEditor) {
  auto* grid = NewGrid();
  Table->Open();
  grid->SetSelectedIndex(1);
  grid->GetColumns()->Items(1)->SetReadOnly(true);
  grid->SetEditorMode(true);
  EXPECT_FALSE(grid->GetEditorMode());
  grid->GetColumns()->Items(1)->SetReadOnly(false);
  grid->SetReadOnly(true);
  grid->SetEditorMode(true);
  EXPECT_FALSE(grid->GetEditorMode());
  EXPECT_EQ(Table->State(), dsBrowse);
}

TEST_F(DBGridsTest, PersistentColumnsRoundTripAndLoadFromDelphiText) {
  auto* grid = NewGrid();
  TColumn* c = grid->GetColumns()->Add();
  c->SetFieldName("name");
  c->GetTitle()->SetCaption("Who");
  c->SetWidth(90);
  c->GetPickList()->Add("Ada");
  c = grid->GetColumns()->Add();
  c->SetFieldName("dept");
  c->SetVisible(false);
  std::string text = ExpectRoundTrip(Form, grid);
  EXPECT_NE(text.find("Columns = <"), std::string::npos);
  EXPECT_NE(text.find("Title.Caption = 'Who'"), std::string::npos);
  EXPECT_EQ(text.find("Title.Font"), std::string::npos);  // follows TitleFont: not written
  EXPECT_EQ(text.find("ColWidths"), std::string::npos);
  Table->Open();
  ASSERT_EQ(grid->VisibleColumns().size(), 1u);  // the hidden column takes no grid column
  EXPECT_EQ(grid->CellText(1, 0), "Who");
  EXPECT_EQ(grid->CellText(1, 1), "Ada");
  EXPECT_EQ(grid->ColWidths(1), 90);

  const char* dfm =
      "object Form2: TForm\n  Left = 0\n  Top = 0\n  Width = 400\n  Height = 300\n"
      "  object DBGrid2: TDBGrid\n    Left = 8\n    Top = 8\n    Width = 300\n    Height = 120\n"
      "    TabOrder = 0\n    TitleFont.Charset = DEFAULT_CHARSET\n    TitleFont.Color = clWindowText\n"
      "    TitleFont.Height = -11\n    TitleFont.Name = 'MS Sans Serif'\n    TitleFont.Style = []\n"
      "    Columns = <\n      item\n        Expanded = False\n        FieldName = 'R_N'\n        Visible = False\n"
      "      end\n      item\n        Expanded = False\n        FieldName = 'Note'\n"
      "        PickList.Strings = (\n          'one'\n          'two')\n        Title.Caption = 'Remark'\n"
      "        Width = 77\n        Visible = True\n      end>\n  end\nend\n";
  std::unique_ptr<TForm> loaded = ReadFormText(dfm);
  auto* g2 = static_cast<TDBGrid*>(loaded->FindComponent("DBGrid2"));
  ASSERT_NE(g2, nullptr);
  ASSERT_EQ(g2->GetColumns()->Count(), 2);
  EXPECT_FALSE(g2->GetColumns()->IsDefault());
  TColumn* note = g2->GetColumns()->Items(1);
  EXPECT_EQ(note->GetTitle()->GetCaption(), "Remark");
  EXPECT_EQ(note->GetPickList()->Count(), 2);
  EXPECT_FALSE(note->GetExpanded());
  EXPECT_EQ(g2->ColWidths(1), 77);  // R_N is hidden
  EXPECT_EQ(g2->GetTitleFont()->GetHeight(), -11);
}

TEST_F(DBGridsTest, DesignStateShowsTitlesWithoutReadingData) {
  Form->SetDesigning(true);
  auto* grid = NewGrid();
  grid->GetColumns()->Add()->SetFieldName("name");
  Table->Open();
  EXPECT_EQ(grid->CellText(1, 0), "name");
  EXPECT_EQ(grid->CellText(1, 1), "");
  EXPECT_EQ(grid->GetRowCount(), 2);
}

TEST_F(DBGridsTest, NavigatorMovesAndEnablesButtons) {
  auto* nav = new TDBNavigator(Form);
  nav->SetParent(Form);
  nav->SetDataSource(Source);
  EXPECT_FALSE(nav->Buttons(nbNext)->GetEnabled());  // closed
  Table->Open();
  EXPECT_FALSE(nav->Buttons(nbFirst)->GetEnabled());
  EXPECT_FALSE(nav->Buttons(nbPrior)->GetEnabled());
  EXPECT_TRUE(nav->Buttons(nbNext)->GetEnabled());
  EXPECT_FALSE(nav->Buttons(nbPost)->GetEnabled());
  std::vector<TNavigateBtn> clicked;
  nav->OnClick = [&](TObject*, TNavigateBtn b) { clicked.push_back(b); };
  nav->Buttons(nbLast)->Click();
  EXPECT_EQ(Table->GetRecNo(), 10);
  EXPECT_FALSE(nav->Buttons(nbNext)->GetEnabled());
  EXPECT_TRUE(nav->Buttons(nbPrior)->GetEnabled());
  nav->BtnClick(nbPrior);
  EXPECT_EQ(Table->GetRecNo(), 9);
  nav->BtnClick(nbEdit);
  EXPECT_TRUE(nav->Buttons(nbPost)->GetEnabled());
  EXPECT_TRUE(nav->Buttons(nbCancel)->GetEnabled());
  EXPECT_FALSE(nav->Buttons(nbEdit)->GetEnabled());
  EXPECT_FALSE(nav->Buttons(nbRefresh)->GetEnabled());
  nav->BtnClick(nbCancel);
  EXPECT_FALSE(nav->Buttons(nbPost)->GetEnabled());
  EXPECT_EQ(clicked, (std::vector<TNavigateBtn>{nbLast, nbPrior, nbEdit, nbCancel}));
  EXPECT_EQ(nav->Buttons(nbNext)->GetHint(), "Next record");
  nav->GetHints()->Add("Go to start");
  EXPECT_EQ(nav->Buttons(nbFirst)->GetHint(), "Go to start");
}

TEST_F(DBGridsTest, NavigatorDeleteAsksFirst) {
  auto* nav = new TDBNavigator(Form);
  nav->SetParent(Form);
  nav->SetDataSource(Source);
  Table->Open();
  std::string asked;
  int answer = 2;  // IDCANCEL
  MessageBoxHook = [&](const std::string& text, const std::string&, int) {
    asked = text;
    return answer;
  };
  nav->BtnClick(nbDelete);
  EXPECT_EQ(asked, "Delete record?");
  EXPECT_EQ(Table->RecordCount(), 10);
  answer = 1;  // IDOK
  nav->BtnClick(nbDelete);
  EXPECT_EQ(Table->RecordCount(), 9);
  nav->SetConfirmDelete(false);
  asked.clear();
  nav->BtnClick(nbDelete);
  EXPECT_EQ(asked, "");
  Table->Close();
  Table->Open();
  EXPECT_EQ(Table->RecordCount(), 8);
  EXPECT_EQ(Table->FieldByName("name")->GetAsString(), "Carl");
}

TEST_F(DBGridsTest, RadioGroupWritesValues) {
  auto* radio = new TDBRadioGroup(Form);
  radio->SetParent(Form);
  radio->GetItems()->SetText("Alpha\nBeta\nGamma");
  radio->GetValues()->SetText("A\nB");  // Gamma has no value: its text is written
  radio->SetDataSource(Source);
  radio->SetDataField("kind");
  Table->Open();
  EXPECT_EQ(radio->GetItemIndex(), 0);
  radio->Buttons(1)->Perform(WM_COMMAND, MakeWParam(0, BN_CLICKED), 0);
  EXPECT_EQ(Table->FieldByName("kind")->GetAsString(), "B");
  radio->Buttons(2)->Perform(WM_COMMAND, MakeWParam(0, BN_CLICKED), 0);
  EXPECT_EQ(Table->FieldByName("kind")->GetAsString(), "G");  // cut to the field's size
  Table->Cancel();
  EXPECT_EQ(radio->GetItemIndex(), 0);
  Table->Next();
  Table->Edit();
  Table->FieldByName("kind")->SetAsString("B");
  EXPECT_EQ(radio->GetItemIndex(), 1);
  Table->Cancel();
}

TEST_F(DBGridsTest, LookupComboWritesTheKey) {
  auto* depts = new TTable(Form);
  depts->SetDatabaseName(Path);
  depts->SetTableName("depts");
  auto* listSource = new TDataSource(Form);
  listSource->SetDataSet(depts);
  auto* combo = new TDBLookupComboBox(Form);
  combo->SetParent(Form);
  combo->SetDataSource(Source);
  combo->SetDataField("dept");
  combo->SetListSource(listSource);
  combo->SetListField("title");
  combo->SetKeyField("code");
  depts->Open();
  Table->Open();
  ASSERT_EQ(combo->GetItems()->Count(), 2);
  EXPECT_EQ(combo->GetItems()->Get(1), "Research");
  EXPECT_EQ(combo->GetItemIndex(), 0);  // dept 10: Sales
  combo->HandleNeeded();                // a selection by the user comes from the combo's window
  combo->SetItemIndex(1);
  combo->Perform(WM_COMMAND, MakeWParam(0, CBN_SELCHANGE), 0);
  EXPECT_EQ(Table->FieldByName("dept")->GetAsInteger(), 20);
  Table->Post();
  EXPECT_EQ(depts->GetRecNo(), 1);  // reading the list left its dataset alone
  Table->Close();
  Table->Open();
  EXPECT_EQ(Table->FieldByName("dept")->GetAsInteger(), 20);
  EXPECT_EQ(combo->GetKeyValue(), "20");
}

// A speed button draws its glyph without the colour of the glyph's bottom-left pixel.
TEST_F(DBGridsTest, EveryNavigatorButtonHasAVisibleGlyph) {
  TDBNavigator nav(Form);
  for (int b = nbFirst; b <= nbRefresh; ++b) {
    TBitmap* glyph = nav.Buttons(static_cast<TNavigateBtn>(b))->GetGlyph();
    TCanvas* c = glyph->Canvas();
    TColor transparent = c->GetPixel(0, glyph->GetHeight() - 1);
    EXPECT_EQ(transparent, ColorToRGB(clBtnFace)) << "button " << b;
    int drawn = 0;
    for (int y = 0; y < glyph->GetHeight(); ++y)
      for (int x = 0; x < glyph->GetWidth(); ++x) drawn += c->GetPixel(x, y) != transparent;
    EXPECT_GT(drawn, 8) << "button " << b;
  }
}
