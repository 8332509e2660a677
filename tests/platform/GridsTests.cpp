#include <gtest/gtest.h>

#include <memory>

#include "ComCtrls.h"
#include "ControlsTests.h"
#include "Grids.h"
#include "StreamCheck.h"

namespace {

struct GridFixture : ::testing::Test {
  void SetUp() override {
    RegisterCommonControlClasses();
    form = std::make_unique<TForm>(nullptr);
    form->SetBounds(0, 0, 400, 300);
    grid = new TStringGrid(form.get());
    grid->SetName("Grid1");
    grid->SetParent(form.get());
  }
  std::unique_ptr<TForm> form;
  TStringGrid* grid = nullptr;
};

TEST_F(GridFixture, CellsFollowRowAndColumnCounts) {
  grid->SetCells(4, 4, "corner");
  grid->SetColCount(3);
  grid->SetRowCount(3);
  EXPECT_EQ(grid->Cells(4, 4), "");
  EXPECT_THROW(grid->SetCells(4, 4, "x"), Exception);
  grid->SetColCount(6);
  grid->SetRowCount(6);
  // Cells that came back are empty, not the old contents.
  EXPECT_EQ(grid->Cells(4, 4), "");
  grid->SetCells(5, 5, "far");
  EXPECT_EQ(grid->Cols(5)->Get(5), "far");
  EXPECT_EQ(grid->Rows(5)->Count(), 6);
  // A list assigned to a row fills its cells from the left.
  TStringList l;
  l.SetCommaText("a,b,c");
  grid->SetRows(2, &l);
  EXPECT_EQ(grid->Cells(0, 2), "a");
  EXPECT_EQ(grid->Cells(2, 2), "c");
  EXPECT_THROW(grid->Rows(2)->Insert(0, "x"), Exception);
}

TEST_F(GridFixture, FixedCountsStayBelowCounts) {
  EXPECT_THROW(grid->SetFixedRows(5), Exception);
  grid->SetRowCount(1);
  EXPECT_EQ(grid->GetFixedRows(), 0);
}

TEST_F(GridFixture, CellRectAndMouseToCellAgreeWhenScrolled) {
  grid->SetBorderStyle(bsNone);
  grid->SetScrollBars(ssNone);
  grid->SetBounds(0, 0, 200, 100);
  grid->SetRowCount(50);
  grid->SetColCount(20);
  EXPECT_EQ(grid->CellRect(0, 0), Rect(0, 0, 64, 24));
  EXPECT_EQ(grid->CellRect(1, 1), Rect(65, 25, 129, 49));
  grid->SetTopRow(10);
  grid->SetLeftCol(4);
  EXPECT_EQ(grid->GetTopRow(), 10);
  // Scrolled off above/left: empty; the first scrolled cell sits after the fixed ones.
  EXPECT_EQ(grid->CellRect(1, 1), TRect{});
  EXPECT_EQ(grid->CellRect(4, 10), Rect(65, 25, 129, 49));
  // Far below the client area: empty.
  EXPECT_EQ(grid->CellRect(4, 40), TRect{});
  for (int row : {0, 10, 11}) {
    for (int col : {0, 4, 5}) {
      TRect r = grid->CellRect(col, row);
      int c = -2, rw = -2;
      grid->MouseToCell(r.Left + 1, r.Top + 1, c, rw);
      EXPECT_EQ(c, col);
      EXPECT_EQ(rw, row);
    }
  }
  int c = 0, r = 0;
  grid->MouseToCell(-5, 3, c, r);
  EXPECT_EQ(c, -1);
}

TEST_F(GridFixture, VisibleRowCountFromClientHeight) {
  grid->SetBorderStyle(bsNone);
  grid->SetScrollBars(ssNone);
  grid->SetRowCount(100);
  grid->SetFixedRows(0);
  grid->SetDefaultRowHeight(15);
  grid->SetHeight(16 * 11 - 2);  // the eleventh row misses one pixel
  EXPECT_EQ(grid->VisibleRowCount(), 10);
  grid->SetHeight(16 * 11 - 1);  // only its grid line is cut off
  EXPECT_EQ(grid->VisibleRowCount(), 11);
  // A bordered grid loses its border from the client area.
  grid->SetBorderStyle(bsSingle);
  EXPECT_EQ(grid->GetClientHeight(), 16 * 11 - 1 - 4);
  EXPECT_EQ(grid->VisibleRowCount(), 10);
  // TopRow cannot scroll past where the last row fills the bottom.
  grid->SetTopRow(1000);
  EXPECT_EQ(grid->GetTopRow() + grid->VisibleRowCount(), 100);
}

TEST_F(GridFixture, SelectCellVetoKeepsCurrentCellButClicks) {
  int clicks = 0;
  grid->OnClick = [&](TObject*) { ++clicks; };
  grid->OnSelectCell = [](TObject*, int, int row, bool& can) { can = row != 3; };
  grid->SetRow(2);
  EXPECT_EQ(grid->GetRow(), 2);
  grid->SetRow(3);
  EXPECT_EQ(grid->GetRow(), 2);
  EXPECT_EQ(clicks, 2);
  EXPECT_THROW(grid->SetRow(99), Exception);
}

TEST_F(GridFixture, KeysMoveWithinScrollableCellsAndExtendSelection) {
  grid->Perform(WM_KEYDOWN, VK_UP, 0);
  EXPECT_EQ(grid->GetRow(), 1);  // clamped at the fixed row
  grid->Perform(WM_KEYDOWN, VK_LEFT, 0);
  EXPECT_EQ(grid->GetCol(), 1);
  grid->Perform(WM_KEYDOWN, VK_END, 0);
  EXPECT_EQ(grid->GetCol(), 4);
  grid->Perform(WM_KEYDOWN, VK_NEXT, 0);
  EXPECT_EQ(grid->GetRow(), 4);
  grid->SetRow(1);
  grid->SetCol(1);
  TGridRect before = grid->GetSelection();
  EXPECT_EQ(before, (TGridRect{1, 1, 1, 1}));
  grid->SetSelection({1, 1, 3, 2});
  EXPECT_EQ(grid->GetSelection(), (TGridRect{1, 1, 3, 2}));
  grid->SetOptions(grid->GetOptions() + TGridOptions{goRowSelect});
  EXPECT_EQ(grid->GetSelection().Left, 1);
  EXPECT_EQ(grid->GetSelection().Right, 4);
}

TEST_F(GridFixture, ColWidthsStreamOnlyWhenChanged) {
  std::string text = ExpectRoundTrip(form.get(), grid);
  EXPECT_EQ(text.find("ColWidths"), std::string::npos);
  grid->SetColWidths(2, 64);  // same as the default
  EXPECT_EQ(StreamAsText(form.get()).find("ColWidths"), std::string::npos);
  grid->SetColWidths(2, 100);
  grid->SetRowHeights(0, 30);
  grid->SetOptions(TGridOptions{goHorzLine, goEditing, goThumbTracking});
  grid->SetFixedColor(clRed);
  grid->SetDefaultRowHeight(15);  // resets the heights set before
  grid->SetRowHeights(1, 40);
  text = ExpectRoundTrip(form.get(), grid);
  ExpectDefaultsOmitted(grid, text);
  EXPECT_NE(text.find("ColWidths = (\r\n      64\r\n      64\r\n      100"), std::string::npos) << text;
  EXPECT_NE(text.find("RowHeights = (\r\n      15\r\n      40"), std::string::npos) << text;
  TForm copy(nullptr);
  TMemoryStream s;
  s.WriteComponent(form.get());
  s.SetPosition(0);
  s.ReadComponent(&copy);
  auto* back = static_cast<TStringGrid*>(copy.FindComponent("Grid1"));
  EXPECT_EQ(back->ColWidths(2), 100);
  EXPECT_EQ(back->RowHeights(1), 40);
  EXPECT_EQ(back->RowHeights(0), 15);
}

TEST_F(GridFixture, EditorWritesCellsAndOnSetEditText) {
  std::vector<std::string> seen;
  grid->OnSetEditText = [&](TObject*, int, int, const std::string& v) { seen.push_back(v); };
  grid->SetOptions(grid->GetOptions() + TGridOptions{goEditing});
  grid->SetCells(1, 1, "old");
  form->Show();
  char k = 'n';
  grid->Perform(WM_CHAR, k, 0);
  ASSERT_TRUE(grid->GetEditorMode());
  EXPECT_EQ(grid->Cells(1, 1), "n");
  grid->Perform(WM_CHAR, '\r', 0);
  EXPECT_FALSE(grid->GetEditorMode());
  EXPECT_FALSE(seen.empty());
}

TEST_F(GridFixture, DraggingAFixedRowLineSizesTheColumn) {
  grid->SetBorderStyle(bsNone);
  grid->SetOptions(grid->GetOptions() + TGridOptions{goColSizing});
  form->Show();
  int line = grid->CellRect(1, 0).Right;
  grid->Perform(WM_LBUTTONDOWN, MK_LBUTTON, PointToLParam({line, 5}));
  grid->Perform(WM_MOUSEMOVE, MK_LBUTTON, PointToLParam({line + 30, 5}));
  grid->Perform(WM_LBUTTONUP, 0, PointToLParam({line + 30, 5}));
  EXPECT_EQ(grid->ColWidths(1), 94);
  // The same drag over a scrollable row selects instead.
  grid->Perform(WM_LBUTTONDOWN, MK_LBUTTON,
                PointToLParam({grid->CellRect(2, 2).Left + 3, grid->CellRect(2, 2).Top + 3}));
  grid->Perform(WM_LBUTTONUP, 0, 0);
  EXPECT_EQ(grid->GetCol(), 2);
  EXPECT_EQ(grid->GetRow(), 2);
}

TEST_F(GridFixture, ScrollBarShowsOnlyWhenRowsOverflow) {
  grid->SetBorderStyle(bsNone);
  grid->SetBounds(0, 0, 330, 200);
  int full = grid->GetClientWidth();
  grid->SetRowCount(100);
  EXPECT_LT(grid->GetClientWidth(), full);
  grid->SetRowCount(2);
  EXPECT_EQ(grid->GetClientWidth(), full);
}

}  // namespace
