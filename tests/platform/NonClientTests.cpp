// The non-client area of forms and scroll boxes: the menu bar above the client area, scroll
// bars that move the children, and client coordinates everywhere.
#include <gtest/gtest.h>

#include <memory>

#include "Consts.h"
#include "ControlsTests.h"
#include "FormText.h"
#include "Menus.h"
#include "StdReg.h"
#include "StreamCheck.h"
#include "TypInfo.h"

namespace {

TMainMenu* FileMenu(TComponent* owner) {
  return NewMenu(owner, "MainMenu1", {NewItem("&File", 0, false, true, nullptr, 0, "File1")});
}

class NonClientTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterStandardClasses();
    RegisterControlTestClasses();
  }
};

// --- The menu bar.

TEST_F(NonClientTest, MenuBarSitsAboveTheClientAreaAndItsControls) {
  TForm form(nullptr);
  form.SetBounds(100, 100, 300, 200);
  auto* panel = new TTestPanel(&form);
  panel->SetParent(&form);
  panel->SetBounds(0, 0, 60, 30);
  panel->SetColor(clRed);
  form.SetMenu(FileMenu(&form));
  ShowAndSettle(&form);

  int bar = form.NonClientArea().MenuBar;
  ASSERT_GT(bar, 10);
  EXPECT_EQ(form.GetHeight(), 200);  // the window keeps its outer size
  EXPECT_EQ(form.GetClientHeight(), 200 - bar);
  EXPECT_EQ(form.ClientOrigin(), (TPoint{100, 100 + bar}));
  EXPECT_EQ(panel->ClientOrigin(), (TPoint{100, 100 + bar}));
  // The whole window: the bar on top, the panel whole below it.
  TBitmap shot;
  GrabWindow(&form, &shot, true);
  EXPECT_EQ(shot.GetHeight(), 200);
  EXPECT_NE(shot.Canvas()->GetPixel(5, bar - 2), clRed);
  EXPECT_EQ(shot.Canvas()->GetPixel(5, bar), clRed);
  EXPECT_EQ(shot.Canvas()->GetPixel(59, bar + 29), clRed);
  // The client area alone starts with the panel.
  EXPECT_EQ(PixelAt(&form, 0, 0), clRed);
  EXPECT_NE(PixelAt(&form, 0, 30), clRed);
}

TEST_F(NonClientTest, MouseMessagesOnTheFormAreInClientCoordinates) {
  TForm form(nullptr);
  form.SetBounds(50, 40, 300, 200);
  form.SetMenu(FileMenu(&form));
  auto* shape = new TTestShape(&form);
  shape->SetParent(&form);
  shape->SetBounds(40, 50, 20, 20);
  TPoint down{-1, -1};
  form.OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int x, int y) { down = {x, y}; };
  ShowAndSettle(&form);

  SendInput(&form, WM_LBUTTONDOWN, {100, 120}, MK_LBUTTON);
  SendInput(&form, WM_LBUTTONUP, {100, 120});
  EXPECT_EQ(down, (TPoint{100, 120}));
  // The platform's cursor position agrees with the client origin.
  EXPECT_EQ(form.ScreenToClient(GetCursorPos()), (TPoint{100, 120}));
  // A windowless child is hit where it is painted.
  SendInput(&form, WM_LBUTTONDOWN, {45, 55}, MK_LBUTTON);
  SendInput(&form, WM_LBUTTONUP, {45, 55});
  EXPECT_NE(std::find(shape->Messages.begin(), shape->Messages.end(), WM_LBUTTONDOWN), shape->Messages.end());
  EXPECT_EQ(down, (TPoint{100, 120}));
}

TEST_F(NonClientTest, XorFrameAndGrabUseClientCoordinates) {
  TForm form(nullptr);
  form.SetBounds(0, 0, 200, 150);
  form.SetMenu(FileMenu(&form));
  ShowAndSettle(&form);
  TColor before = PixelAt(&form, 10, 10);
  DrawXorFrame(&form, Rect(10, 10, 40, 30));
  Application->ProcessMessages();
  EXPECT_EQ(PixelAt(&form, 10, 10), static_cast<TColor>(ColorToRGB(before) ^ 0xFFFFFF));
  EXPECT_EQ(PixelAt(&form, 10, 9), before);
  DrawXorFrame(&form, Rect(10, 10, 40, 30));
  Application->ProcessMessages();
  EXPECT_EQ(PixelAt(&form, 10, 10), before);
}

TEST_F(NonClientTest, StoredClientSizeIsTheClientAreaWithAMenu) {
  const char* text = R"(object Form1: TForm
  Left = 0
  Top = 0
  AutoScroll = False
  Caption = 'Client'
  ClientHeight = 200
  ClientWidth = 300
  Menu = MainMenu1
  PixelsPerInch = 96
  TextHeight = 13
  object MainMenu1: TMainMenu
    object File1: TMenuItem
      Caption = '&File'
    end
  end
end
)";
  std::unique_ptr<TCustomForm> form(ReadFormText(text));
  int bar = form->NonClientArea().MenuBar;
  ASSERT_GT(bar, 0);
  EXPECT_EQ(form->GetClientHeight(), 200);
  EXPECT_EQ(form->GetClientWidth(), 300);
  EXPECT_EQ(form->GetHeight(), 200 + bar);
  // Without AutoScroll the client size is what is written, as Delphi writes it.
  std::string written = StreamAsText(form.get());
  EXPECT_NE(written.find("ClientHeight = 200"), std::string::npos) << written;
  EXPECT_EQ(written.find("  Height ="), std::string::npos) << written;
  std::unique_ptr<TCustomForm> again(ReadFormText(written));
  EXPECT_EQ(again->GetClientHeight(), 200);
  EXPECT_EQ(again->GetHeight(), 200 + bar);
}

TEST_F(NonClientTest, StoredHeightIsTheOuterSizeWithAMenu) {
  const char* text = R"(object Form1: TForm
  Left = 0
  Top = 0
  Width = 320
  Height = 240
  Menu = MainMenu1
  PixelsPerInch = 96
  TextHeight = 13
  object MainMenu1: TMainMenu
    object File1: TMenuItem
      Caption = '&File'
    end
  end
end
)";
  std::unique_ptr<TCustomForm> form(ReadFormText(text));
  EXPECT_EQ(form->GetHeight(), 240);
  EXPECT_EQ(form->GetClientHeight(), 240 - form->NonClientArea().MenuBar);
  std::string written = StreamAsText(form.get());
  EXPECT_NE(written.find("Height = 240"), std::string::npos) << written;
  EXPECT_EQ(written.find("ClientHeight"), std::string::npos) << written;
}

TEST_F(NonClientTest, MenuBarComesAndGoesWithVisibleEntries) {
  TForm form(nullptr);
  form.SetBounds(0, 0, 300, 200);
  auto* client = new TTestPanel(&form);
  client->SetParent(&form);
  client->SetAlign(alClient);
  auto* menu = NewMenu(&form, "MainMenu1", {});
  form.SetMenu(menu);
  EXPECT_EQ(form.NonClientArea().MenuBar, 0);  // nothing to show yet
  auto* item = NewItem("&File", 0, false, true, nullptr, 0, "File1");
  menu->Items()->Add(item);
  int bar = form.NonClientArea().MenuBar;
  ASSERT_GT(bar, 0);
  EXPECT_EQ(client->GetHeight(), 200 - bar);  // aligned controls give the room up
  item->SetVisible(false);
  EXPECT_EQ(form.NonClientArea().MenuBar, 0);
  EXPECT_EQ(client->GetHeight(), 200);
  item->SetVisible(true);
  // A dialog shows no menu bar at run time.
  form.SetBorderStyle(bsDialog);
  EXPECT_EQ(form.NonClientArea().MenuBar, 0);
  form.SetBorderStyle(bsSizeable);
  EXPECT_EQ(form.NonClientArea().MenuBar, bar);
  delete menu;
  EXPECT_EQ(form.NonClientArea().MenuBar, 0);
  EXPECT_EQ(form.GetClientHeight(), 200);
}

TEST_F(NonClientTest, OneMenuBarBelongsToOneForm) {
  TForm first(nullptr), second(nullptr);
  TMainMenu* menu = FileMenu(&first);
  first.SetMenu(menu);
  try {
    second.SetMenu(menu);
    FAIL() << "a second form took the menu";
  } catch (const EInvalidOperation& e) {
    EXPECT_EQ(e.Message(), Format(SDuplicateMenus, "MainMenu1"));
  }
  EXPECT_EQ(second.GetMenu(), nullptr);
  EXPECT_GT(first.NonClientArea().MenuBar, 0);
  // Once the first form lets it go, it is free.
  first.SetMenu(nullptr);
  second.SetMenu(menu);
  EXPECT_GT(second.NonClientArea().MenuBar, 0);
  EXPECT_EQ(first.NonClientArea().MenuBar, 0);
}

// --- Scrolling.

// A 300 x 200 form, no menu, with a panel at (8, 8) and another far beyond the client area.
struct TScrolledForm {
  TForm Form{nullptr};
  TTestPanel* Near;
  TTestPanel* Far;
  TScrolledForm() {
    Form.SetName("Form1");
    Form.SetBounds(0, 0, 300, 200);
    Near = new TTestPanel(&Form);
    Near->SetName("Near");
    Near->SetParent(&Form);
    Near->SetBounds(8, 8, 50, 30);
    Far = new TTestPanel(&Form);
    Far->SetName("Far");
    Far->SetParent(&Form);
    Far->SetBounds(350, 300, 75, 25);
  }
};

TEST_F(NonClientTest, AutoScrollShowsBarsForControlsBeyondTheClientArea) {
  TScrolledForm f;
  int s = GetSystemMetrics(SM_CXVSCROLL);
  EXPECT_EQ(f.Form.GetHorzScrollBar()->GetRange(), 425);
  EXPECT_EQ(f.Form.GetVertScrollBar()->GetRange(), 325);
  EXPECT_TRUE(f.Form.GetHorzScrollBar()->IsScrollBarVisible());
  EXPECT_TRUE(f.Form.GetVertScrollBar()->IsScrollBarVisible());
  EXPECT_EQ(f.Form.GetClientRect(), Rect(0, 0, 300 - s, 200 - s));
  EXPECT_EQ(f.Form.GetVertScrollBar()->CalcRange(), 325 - (200 - s));
  // Brought within reach, the bars go; a right-anchored control does not count.
  f.Far->SetBounds(200, 100, 75, 25);
  EXPECT_FALSE(f.Form.GetHorzScrollBar()->IsScrollBarVisible());
  EXPECT_FALSE(f.Form.GetVertScrollBar()->IsScrollBarVisible());
  EXPECT_EQ(f.Form.GetClientRect(), Rect(0, 0, 300, 200));
  f.Far->SetAnchors(TAnchors{akRight, akBottom});
  f.Far->SetLeft(500);
  EXPECT_FALSE(f.Form.GetHorzScrollBar()->IsScrollBarVisible());
  // One bar's room can make the other needed: 190 px tall content fits 200 but not 200 - s.
  f.Far->SetAnchors(TAnchors{akLeft, akTop});
  f.Far->SetBounds(8, 165, 75, 25);
  EXPECT_FALSE(f.Form.GetVertScrollBar()->IsScrollBarVisible());
  f.Near->SetLeft(400);
  EXPECT_TRUE(f.Form.GetHorzScrollBar()->IsScrollBarVisible());
  EXPECT_TRUE(f.Form.GetVertScrollBar()->IsScrollBarVisible());
}

TEST_F(NonClientTest, ScrollMessagesMoveTheChildrenWithinTheRange) {
  TScrolledForm f;
  ShowAndSettle(&f.Form);
  TControlScrollBar* v = f.Form.GetVertScrollBar();
  f.Form.Perform(WM_VSCROLL, MakeWParam(SB_LINEDOWN, 0), 0);
  EXPECT_EQ(v->GetPosition(), 8);  // one Increment
  EXPECT_EQ(f.Near->GetTop(), 0);
  EXPECT_EQ(f.Far->GetTop(), 292);
  f.Form.Perform(WM_VSCROLL, MakeWParam(SB_THUMBPOSITION, 1000), 0);
  EXPECT_EQ(v->GetPosition(), v->CalcRange());
  EXPECT_EQ(f.Far->GetTop() + f.Far->GetHeight(), f.Form.GetClientHeight());  // the far edge in view
  f.Form.Perform(WM_VSCROLL, MakeWParam(SB_THUMBTRACK, 20), 0);
  EXPECT_EQ(v->GetPosition(), v->CalcRange());  // not tracking: only the release moves
  f.Form.Perform(WM_VSCROLL, MakeWParam(SB_TOP, 0), 0);
  EXPECT_EQ(v->GetPosition(), 0);
  EXPECT_EQ(f.Near->GetTop(), 8);
  f.Far->SetLeft(650);
  f.Form.Perform(WM_HSCROLL, MakeWParam(SB_PAGEDOWN, 0), 0);
  EXPECT_EQ(f.Form.GetHorzScrollBar()->GetPosition(), f.Form.GetClientWidth());
  EXPECT_EQ(f.Near->GetLeft(), 8 - f.Form.GetClientWidth());
  // The content's range stays what it was: the children moved by the position.
  EXPECT_EQ(f.Form.GetHorzScrollBar()->GetRange(), 725);
  // Painting follows: the panel's pixels are where it now is.
  f.Form.GetHorzScrollBar()->SetPosition(0);
  v->SetPosition(4);
  f.Near->SetColor(clLime);
  Application->ProcessMessages();
  EXPECT_EQ(PixelAt(&f.Form, 8, 4), clLime);
  EXPECT_NE(PixelAt(&f.Form, 8, 36), clLime);
}

TEST_F(NonClientTest, DesignerSeesScrollMessagesFirst) {
  TScrolledForm f;
  TTestDesigner designer;
  f.Form.SetDesigning(true);
  f.Form.SetDesigner(&designer);
  ShowAndSettle(&f.Form);
  f.Form.Perform(WM_VSCROLL, MakeWParam(SB_LINEDOWN, 0), 0);
  EXPECT_TRUE(designer.Saw(&f.Form, WM_VSCROLL));
  EXPECT_EQ(f.Form.GetVertScrollBar()->GetPosition(), 0);  // swallowed
  designer.Swallow = [](TControl*, TMessage&) { return false; };
  int modified = designer.ModifiedCount;
  f.Form.Perform(WM_VSCROLL, MakeWParam(SB_LINEDOWN, 0), 0);
  EXPECT_EQ(f.Form.GetVertScrollBar()->GetPosition(), 8);
  EXPECT_GT(designer.ModifiedCount, modified);  // the children's stored places changed
  f.Form.SetDesigner(nullptr);
}

TEST_F(NonClientTest, StreamedPositionComesWithTheScrolledPlaces) {
  TScrolledForm f;
  f.Form.GetVertScrollBar()->SetPosition(40);
  ASSERT_EQ(f.Far->GetTop(), 260);
  std::string text = StreamAsText(&f.Form);
  EXPECT_NE(text.find("VertScrollBar.Position = 40"), std::string::npos) << text;
  EXPECT_EQ(text.find("VertScrollBar.Range"), std::string::npos) << text;  // AutoScroll measures it
  std::unique_ptr<TCustomForm> copy(ReadFormText(text));
  EXPECT_EQ(copy->GetVertScrollBar()->GetPosition(), 40);
  auto* far = As<TControl>(copy->FindComponent(f.Far->GetName()));
  ASSERT_NE(far, nullptr);
  EXPECT_EQ(far->GetTop(), 260);
  EXPECT_EQ(copy->GetVertScrollBar()->GetRange(), 325);
}

TEST_F(NonClientTest, RangeWithoutAutoScrollIsKeptAndStored) {
  TForm form(nullptr);
  form.SetBounds(0, 0, 300, 200);
  form.GetVertScrollBar()->SetRange(500);
  EXPECT_FALSE(form.GetAutoScroll());  // a range of one's own turns the measuring off
  EXPECT_TRUE(form.GetVertScrollBar()->IsScrollBarVisible());
  EXPECT_FALSE(form.GetHorzScrollBar()->IsScrollBarVisible());
  form.GetVertScrollBar()->SetVisible(false);
  EXPECT_EQ(form.GetClientRect(), Rect(0, 0, 300, 200));
  EXPECT_EQ(form.GetVertScrollBar()->CalcRange(), 0);
  form.GetVertScrollBar()->SetVisible(true);
  std::string text = StreamAsText(&form);
  EXPECT_NE(text.find("VertScrollBar.Range = 500"), std::string::npos) << text;
  EXPECT_NE(text.find("AutoScroll = False"), std::string::npos) << text;
  EXPECT_NE(text.find("  Height = 200"), std::string::npos) << text;  // a range keeps the form size stored
  // Back to AutoScroll: the range is the children's again.
  form.SetAutoScroll(true);
  EXPECT_EQ(form.GetVertScrollBar()->GetRange(), 0);
  EXPECT_FALSE(form.GetVertScrollBar()->IsScrollBarVisible());
}

TEST_F(NonClientTest, FocusedControlScrollsIntoView) {
  TScrolledForm f;
  auto* button = new TTestButton(&f.Form);
  button->SetParent(&f.Form);
  button->SetBounds(360, 260, 75, 25);
  button->SetTabStop(true);
  ShowAndSettle(&f.Form);
  button->SetFocus();
  Application->ProcessMessages();
  ASSERT_TRUE(button->Focused());
  TRect client = f.Form.GetClientRect();
  EXPECT_GE(button->GetLeft(), 0);
  EXPECT_LE(button->GetLeft() + button->GetWidth(), client.Right);
  EXPECT_LE(button->GetTop() + button->GetHeight(), client.Bottom);
  EXPECT_GT(f.Form.GetVertScrollBar()->GetPosition(), 0);
  // A control larger than the client area shows its start.
  f.Form.ScrollInView(f.Near);
  EXPECT_EQ(f.Near->GetTop(), 8 - f.Form.GetVertScrollBar()->GetPosition());
  EXPECT_GE(f.Near->GetTop(), 0);
}

TEST_F(NonClientTest, ScrollBoxKeepsItsBorderAndScrollsItsChildren) {
  TForm form(nullptr);
  form.SetName("Form1");
  form.SetBounds(0, 0, 400, 300);
  auto* box = new TScrollBox(&form);
  box->SetName("ScrollBox1");
  box->SetParent(&form);
  box->SetBounds(10, 20, 150, 100);
  auto* inner = new TTestPanel(&form);
  inner->SetName("Inner");
  inner->SetParent(box);
  inner->SetBounds(4, 120, 50, 30);
  int s = GetSystemMetrics(SM_CXVSCROLL);
  EXPECT_EQ(box->GetClientRect(), Rect(0, 0, 150 - 4 - s, 100 - 4));
  EXPECT_EQ(box->ClientOrigin(), (TPoint{12, 22}));
  EXPECT_EQ(inner->ClientOrigin(), (TPoint{16, 142}));
  box->GetVertScrollBar()->SetPosition(100);
  EXPECT_EQ(inner->GetTop(), 120 - box->GetVertScrollBar()->GetPosition());
  box->SetBorderStyle(bsNone);
  EXPECT_EQ(box->ClientOrigin(), (TPoint{10, 20}));
  box->GetVertScrollBar()->SetPosition(0);
  box->SetBorderStyle(bsSingle);
  box->GetHorzScrollBar()->SetVisible(false);
  box->SetColor(clYellow);
  std::string text = ExpectRoundTrip(&form, box);
  ExpectDefaultsOmitted(box, text);
  EXPECT_NE(text.find("HorzScrollBar.Visible = False"), std::string::npos) << text;
  EXPECT_EQ(text.find("BorderStyle"), std::string::npos) << text;
}

TEST_F(NonClientTest, AutoSizeFormFitsItsControlsBelowTheMenuBar) {
  TScrolledForm f;
  f.Form.SetMenu(FileMenu(&f.Form));
  f.Form.SetAutoSize(true);
  EXPECT_EQ(f.Form.GetClientWidth(), 425);
  EXPECT_EQ(f.Form.GetClientHeight(), 325);
  EXPECT_EQ(f.Form.GetHeight(), 325 + f.Form.NonClientArea().MenuBar);
  EXPECT_FALSE(f.Form.GetVertScrollBar()->IsScrollBarVisible());
  f.Far->SetBounds(100, 50, 20, 20);
  EXPECT_EQ(f.Form.GetClientWidth(), 120);
  EXPECT_EQ(f.Form.GetClientHeight(), 70);
}

}  // namespace
