// Window details that form files of later VCL versions rely on: the mouse wheel's path through
// the controls, Ctl3D inherited from the parent, BorderWidth bands, the tab order a stream
// gives, and components that fail to finish loading.
#include <gtest/gtest.h>

#include <memory>

#include "ControlsTests.h"
#include "Db.h"
#include "DbTables.h"
#include "FormText.h"
#include "Grids.h"
#include "StdCtrls.h"
#include "StdReg.h"

namespace {

struct WinDetails : ::testing::Test {
  void SetUp() override {
    RegisterStandardClasses();
    RegisterControlTestClasses();
  }
};

// One notch of the wheel over `control`, at client point `at` (negative delta: towards the user).
intptr_t Wheel(TControl* control, int delta, TPoint at = {5, 5}) {
  return control->Perform(WM_MOUSEWHEEL, MakeWParam(0, static_cast<uint16_t>(delta)), PointToLParam(at));
}

// --- The wheel.

TEST_F(WinDetails, TheWheelBubblesFromTheControlToItsFormUntilHandled) {
  TForm form(nullptr);
  form.SetBounds(100, 100, 300, 200);
  auto* panel = new TTestPanel(&form);
  panel->SetParent(&form);
  panel->SetBounds(10, 10, 100, 100);
  std::vector<std::string> heard;
  TPoint where{};
  int delta = 0;
  form.OnMouseWheel = [&](TObject* s, TShiftState, int d, TPoint p, bool&) {
    heard.push_back("form " + static_cast<TComponent*>(s)->ClassName());
    delta = d;
    where = p;
  };
  form.OnMouseWheelDown = [&](TObject*, TShiftState, TPoint, bool&) { heard.push_back("form down"); };
  ShowAndSettle(&form);

  // Nobody handles it: the panel's turn passes, the form hears it with screen coordinates.
  EXPECT_EQ(Wheel(panel, -WHEEL_DELTA, {7, 8}), 0);
  EXPECT_EQ(heard, (std::vector<std::string>{"form TForm", "form down"}));
  EXPECT_EQ(delta, -WHEEL_DELTA);
  EXPECT_EQ(where, panel->ClientToScreen({7, 8}));

  // A control that handles it keeps it from its form.
  heard.clear();
  panel->OnMouseWheelUp = [&](TObject*, TShiftState, TPoint, bool& handled) {
    heard.push_back("panel up");
    handled = true;
  };
  EXPECT_EQ(Wheel(panel, WHEEL_DELTA), 1);
  EXPECT_EQ(heard, (std::vector<std::string>{"panel up"}));
}

TEST_F(WinDetails, PartNotchesAddUpToWholeOnes) {
  TForm form(nullptr);
  int downs = 0, ups = 0;
  form.OnMouseWheelDown = [&](TObject*, TShiftState, TPoint, bool&) { ++downs; };
  form.OnMouseWheelUp = [&](TObject*, TShiftState, TPoint, bool&) { ++ups; };
  Wheel(&form, -40);
  Wheel(&form, -40);
  EXPECT_EQ(downs, 0);
  Wheel(&form, -40);
  EXPECT_EQ(downs, 1);
  Wheel(&form, 2 * WHEEL_DELTA);
  EXPECT_EQ(ups, 2);
  EXPECT_EQ(downs, 1);
}

TEST_F(WinDetails, AGridScrollsByTheWheelUnlessItsEventsTakeIt) {
  TForm form(nullptr);
  form.SetBounds(0, 0, 300, 200);
  auto* grid = new TStringGrid(&form);
  grid->SetParent(&form);
  grid->SetBounds(0, 0, 200, 150);
  grid->SetRowCount(100);
  bool formHeard = false;
  form.OnMouseWheel = [&](TObject*, TShiftState, int, TPoint, bool&) { formHeard = true; };
  ShowAndSettle(&form);

  Wheel(grid, -WHEEL_DELTA);
  EXPECT_EQ(grid->GetTopRow(), 4);
  EXPECT_FALSE(formHeard) << "the grid used the wheel";
  Wheel(grid, WHEEL_DELTA);
  EXPECT_EQ(grid->GetTopRow(), 1);

  grid->OnMouseWheelDown = [](TObject*, TShiftState, TPoint, bool& handled) { handled = true; };
  Wheel(grid, -WHEEL_DELTA);
  EXPECT_EQ(grid->GetTopRow(), 1);
}

// --- Ctl3D.

TEST_F(WinDetails, Ctl3DFollowsTheParentUntilSetAndAGridDrawsAFlatBorderWithoutIt) {
  TForm form(nullptr);
  form.SetBounds(0, 0, 300, 200);
  auto* grid = new TStringGrid(&form);
  grid->SetParent(&form);
  grid->SetBounds(10, 10, 200, 150);
  grid->SetFixedCols(0);
  grid->SetFixedRows(0);
  ShowAndSettle(&form);
  // Two pixels of edge, the inner one dark; (11, 40) is beside the second row's first cell.
  EXPECT_EQ(PixelAt(&form, 10, 10), ColorToRGB(clBtnShadow));
  EXPECT_EQ(PixelAt(&form, 11, 40), ColorToRGB(cl3DDkShadow));
  int firstCell = grid->CellRect(0, 0).Left;

  form.SetCtl3D(false);
  Application->ProcessMessages();
  EXPECT_FALSE(grid->GetCtl3D());
  EXPECT_TRUE(grid->GetParentCtl3D());
  EXPECT_EQ(PixelAt(&form, 10, 10), ColorToRGB(clWindowFrame));
  EXPECT_EQ(PixelAt(&form, 11, 40), ColorToRGB(clWindow)) << "one pixel, then the cells";
  EXPECT_EQ(grid->CellRect(0, 0).Left, firstCell) << "cells are in client coordinates";

  // Set on the control itself, it no longer follows.
  grid->SetCtl3D(true);
  form.SetCtl3D(false);
  EXPECT_TRUE(grid->GetCtl3D());
  EXPECT_FALSE(grid->GetParentCtl3D());
  grid->SetParentCtl3D(true);
  EXPECT_FALSE(grid->GetCtl3D());
}

// --- BorderWidth.

TEST_F(WinDetails, AFormsBorderWidthIsABandInItsColourAroundTheClientArea) {
  TForm form(nullptr);
  form.SetBounds(100, 100, 300, 200);
  form.SetColor(clYellow);
  auto* panel = new TTestPanel(&form);
  panel->SetParent(&form);
  panel->SetAlign(alClient);
  panel->SetColor(clRed);
  form.SetBorderWidth(8);
  ShowAndSettle(&form);

  EXPECT_EQ(form.GetClientWidth(), 300 - 16);
  EXPECT_EQ(form.GetClientHeight(), 200 - 16);
  EXPECT_EQ(panel->BoundsRect(), Rect(0, 0, 284, 184)) << "children live inside the band";
  EXPECT_EQ(form.ClientOrigin(), (TPoint{108, 108}));
  TBitmap shot;
  GrabWindow(&form, &shot, true);
  EXPECT_EQ(shot.Canvas()->GetPixel(3, 3), clYellow);
  EXPECT_EQ(shot.Canvas()->GetPixel(8, 8), clRed);
  EXPECT_EQ(shot.Canvas()->GetPixel(292, 192), clYellow);

  form.SetBorderWidth(-3);
  EXPECT_EQ(form.GetBorderWidth(), 0);
  EXPECT_EQ(form.GetClientWidth(), 300);
}

TEST_F(WinDetails, BorderWidthOfFormsAndToolBarsStreams) {
  std::unique_ptr<TCustomForm> form(
      ReadFormText("object Form1: TForm\n  BorderWidth = 4\n  object ToolBar1: TToolBar\n    Left = 0\n    Top = 0\n"
                   "    Width = 200\n    Height = 40\n    BorderWidth = 3\n"
                   "    object ToolButton1: TToolButton\n      Left = 0\n      Top = 0\n    end\n  end\nend\n"));
  EXPECT_EQ(form->GetBorderWidth(), 4);
  auto* bar = As<TWinControl>(form->FindComponent("ToolBar1"));
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(bar->GetBorderWidth(), 3);
  auto* button = As<TControl>(form->FindComponent("ToolButton1"));
  bar->Realign();
  EXPECT_EQ(button->GetLeft(), 3) << "buttons start inside the band";
  EXPECT_EQ(button->GetTop(), 5);
}

// --- Tab order from a stream.

TEST_F(WinDetails, TabOrderReadFromAStreamIsSortedOnceAllSiblingsAreThere) {
  // Listed in creation order; their tab orders run backwards, which applying each as read
  // (while later siblings are missing) gets wrong.
  std::unique_ptr<TCustomForm> form(
      ReadFormText("object Form1: TForm\n"
                   "  object A: TEdit\n    Left = 0\n    Top = 0\n    TabOrder = 2\n  end\n"
                   "  object B: TEdit\n    Left = 0\n    Top = 30\n    TabOrder = 1\n  end\n"
                   "  object C: TEdit\n    Left = 0\n    Top = 60\n    TabOrder = 0\n  end\n"
                   "  object P: TPanel\n    Left = 0\n    Top = 90\n    TabOrder = 3\n"
                   "    object D: TEdit\n      Left = 0\n      Top = 0\n      TabOrder = 1\n    end\n"
                   "    object E: TEdit\n      Left = 0\n      Top = 30\n      TabOrder = 0\n    end\n"
                   "  end\nend\n"));
  auto order = [&](const char* name) { return As<TWinControl>(form->FindComponent(name))->GetTabOrder(); };
  EXPECT_EQ(order("A"), 2);
  EXPECT_EQ(order("B"), 1);
  EXPECT_EQ(order("C"), 0);
  EXPECT_EQ(order("P"), 3);
  EXPECT_EQ(order("D"), 1);
  EXPECT_EQ(order("E"), 0);
  // After reading, TabOrder moves a control at once again.
  As<TWinControl>(form->FindComponent("A"))->SetTabOrder(0);
  EXPECT_EQ(order("C"), 1);
}

// --- Loading that fails at the end.

TEST_F(WinDetails, AComponentThatCannotFinishLoadingIsOneProblemAndTheRestLoad) {
  const std::string text =
      "object Form1: TForm\n"
      "  object Table1: TTable\n    Active = True\n    DatabaseName = '/nonexistent/folder/x.db'\n"
      "    TableName = 'people'\n  end\n"
      "  object Edit1: TEdit\n    Left = 4\n    Top = 4\n    Text = 'after'\n  end\nend\n";
  TMemoryStream src, bin;
  src.Write(text.data(), static_cast<int64_t>(text.size()));
  src.SetPosition(0);
  ObjectTextToBinary(&src, &bin);

  // Without an error handler the failure is the reader's, as in the VCL.
  {
    bin.SetPosition(0);
    TForm form(nullptr);
    TReader reader(&bin);
    EXPECT_THROW(reader.ReadRootComponent(&form), EDatabaseError);
  }
  // With one it is reported on the component and every other component finishes loading.
  bin.SetPosition(0);
  TForm form(nullptr);
  TReader reader(&bin);
  std::vector<std::string> problems;
  reader.OnError = [&](TReader* r, const std::string& message, bool& handled) {
    problems.push_back(static_cast<TComponent*>(r->Parent)->GetName() + ": " + message);
    handled = true;
  };
  reader.ReadRootComponent(&form);
  ASSERT_EQ(problems.size(), 1u);
  EXPECT_EQ(problems[0].rfind("Table1: ", 0), 0u) << problems[0];
  auto* table = As<TTable>(form.FindComponent("Table1"));
  EXPECT_FALSE(table->GetActive());
  auto* edit = As<TEdit>(form.FindComponent("Edit1"));
  EXPECT_FALSE(edit->InState(csLoading));
  EXPECT_EQ(edit->GetText(), "after");
}

}  // namespace

namespace {

TEST_F(WinDetails, ReadPagesFillThePageControlAndTheirAlignedControlsFillThem) {
  std::unique_ptr<TCustomForm> form(ReadFormText(
      "object Form1: TForm\n  Left = 0\n  Top = 0\n  Width = 300\n  Height = 200\n"
      "  object PageControl1: TPageControl\n    Left = 0\n    Top = 0\n    Width = 280\n    Height = 160\n"
      "    ActivePage = TabSheet2\n    Align = alClient\n"
      "    object TabSheet1: TTabSheet\n      Caption = 'One'\n    end\n"
      "    object TabSheet2: TTabSheet\n      Caption = 'Two'\n"
      "      object Panel1: TPanel\n        Left = 0\n        Top = 0\n        Width = 10\n        Height = 10\n"
      "        Align = alClient\n      end\n    end\n  end\nend\n"));
  auto* pc = As<TWinControl>(form->FindComponent("PageControl1"));
  auto* sheet = As<TWinControl>(form->FindComponent("TabSheet2"));
  auto* panel = As<TControl>(form->FindComponent("Panel1"));
  ASSERT_TRUE(pc && sheet && panel);
  EXPECT_GT(sheet->GetWidth(), pc->GetWidth() - 20);
  EXPECT_GT(sheet->GetHeight(), pc->GetHeight() - 40);
  EXPECT_EQ(panel->BoundsRect(), sheet->GetClientRect());
}

}  // namespace
