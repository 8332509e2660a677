#include <gtest/gtest.h>

#include <algorithm>

#include "ControlsTests.h"
#include "StreamCheck.h"
#include "TypInfo.h"

namespace {

// A designed form: the form and everything it owns in design state, with a recording designer.
struct DesignedForm : ::testing::Test {
  TForm* Form = nullptr;
  TTestPanel* Panel = nullptr;
  TTestShape* Shape = nullptr;
  TTestDesigner Designer;

  void SetUp() override {
    RegisterControlTestClasses();
    Form = new TForm(nullptr);
    Form->SetBounds(100, 100, 300, 200);
    Panel = new TTestPanel(Form);
    Panel->SetBounds(10, 10, 150, 100);
    Panel->SetParent(Form);
    Shape = new TTestShape(Form);
    Shape->SetBounds(20, 30, 40, 20);
    Shape->SetParent(Panel);
    Form->SetDesigning(true);
    Form->SetDesigner(&Designer);
    ShowAndSettle(Form);
    Designer.Seen.clear();
  }
  void TearDown() override {
    Form->SetDesigner(nullptr);
    delete Form;
    Application->ProcessMessages();
  }
};

TEST(Messages, NumbersAndPacking) {
  EXPECT_EQ(CM_COLORCHANGED, 0xB00Du);
  EXPECT_EQ(CM_DRAG, 0xB02Fu);
  EXPECT_EQ(CM_CONTROLLISTCHANGE, 0xB02Cu);
  EXPECT_EQ(WM_RBUTTONDBLCLK, 518u);
  EXPECT_EQ(WM_SIZING, 532u);
  TMessage m{WM_MOUSEMOVE, MK_SHIFT, PointToLParam({-5, 300}), 0};
  TWMMouse mm(m);
  EXPECT_EQ(mm.XPos(), -5);
  EXPECT_EQ(mm.YPos(), 300);
  EXPECT_EQ(KeysToShiftState(MK_SHIFT | MK_LBUTTON | MK_CONTROL), (TShiftState{ssShift, ssLeft, ssCtrl}));
  TMessage sel{WM_MENUSELECT, MakeWParam(7, MF_POPUP), 1234, 0};
  EXPECT_EQ(TWMMenuSelect(sel).IDItem(), 7);
  EXPECT_EQ(TWMMenuSelect(sel).MenuFlag(), MF_POPUP);
}

TEST_F(DesignedForm, MouseMessagesReachTheDesignerFirstWithTheRightSender) {
  Panel->Perform(WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, PointToLParam({100, 80}));
  const TSeenMessage* s = Designer.Find(Panel, WM_LBUTTONDOWN);
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->WParam, MK_LBUTTON | MK_SHIFT);
  EXPECT_TRUE(Panel->Downs.empty());  // swallowed

  // Over the windowless child: the parent routes it, the child is the sender, in its coordinates.
  Panel->Perform(WM_RBUTTONDOWN, MK_RBUTTON, PointToLParam({25, 35}));
  s = Designer.Find(Shape, WM_RBUTTONDOWN);
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(LParamToPoint(s->LParam), (TPoint{5, 5}));
  EXPECT_FALSE(Designer.Saw(Panel, WM_RBUTTONDOWN));
  EXPECT_EQ(std::count(Shape->Messages.begin(), Shape->Messages.end(), WM_RBUTTONDOWN), 0);

  for (uint32_t msg : {WM_MOUSEMOVE, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_RBUTTONUP, WM_RBUTTONDBLCLK}) {
    Panel->Perform(msg, 0, PointToLParam({30, 40}));
    EXPECT_TRUE(Designer.Saw(Shape, msg)) << msg;
  }

  // Declined: the control handles it.
  Designer.Swallow = [](TControl*, TMessage&) { return false; };
  Panel->Perform(WM_LBUTTONDOWN, MK_LBUTTON, PointToLParam({100, 80}));
  ASSERT_EQ(Panel->Downs.size(), 1u);
  EXPECT_EQ(Panel->Downs[0].second, (TPoint{100, 80}));
  EXPECT_EQ(GetCapture(), Panel);  // a left press captures the mouse...
  Panel->Perform(WM_LBUTTONUP, 0, PointToLParam({100, 80}));
  EXPECT_EQ(GetCapture(), nullptr);  // ...until the release
  Panel->Perform(WM_LBUTTONDOWN, MK_LBUTTON, PointToLParam({25, 35}));
  EXPECT_EQ(Shape->Messages.back(), WM_LBUTTONDOWN);
  Panel->Perform(WM_LBUTTONUP, 0, PointToLParam({25, 35}));
}

TEST_F(DesignedForm, InvisibleWindowlessChildrenStillTakeTheMouseWhileDesigning) {
  Shape->SetVisible(false);
  Panel->Perform(WM_LBUTTONDOWN, MK_LBUTTON, PointToLParam({25, 35}));
  EXPECT_TRUE(Designer.Saw(Shape, WM_LBUTTONDOWN));
  Shape->ControlStyle.Include(csNoDesignVisible);
  Panel->Perform(WM_LBUTTONDOWN, MK_LBUTTON, PointToLParam({25, 35}));
  EXPECT_TRUE(Designer.Saw(Panel, WM_LBUTTONDOWN));
}

TEST_F(DesignedForm, NotificationsPaintKeysBoundsCloseAndActivationAreOffered) {
  Form->Perform(WM_KEYDOWN, VK_DELETE, 0);
  EXPECT_TRUE(Designer.Saw(Form, WM_KEYDOWN));

  Panel->SetBounds(12, 14, 160, 100);
  EXPECT_TRUE(Designer.Saw(Panel, WM_MOVE));
  EXPECT_TRUE(Designer.Saw(Panel, WM_SIZE));
  EXPECT_EQ(LParamToPoint(Designer.Find(Panel, WM_SIZE)->LParam), (TPoint{160, 100}));

  Form->SetColor(clRed);
  EXPECT_TRUE(Designer.Saw(Form, CM_COLORCHANGED));
  EXPECT_TRUE(Designer.Saw(Panel, CM_PARENTCOLORCHANGED));
  EXPECT_TRUE(Designer.Saw(Shape, CM_PARENTCOLORCHANGED));  // the panel passes it on

  auto* extra = new TTestShape(Form);
  extra->SetParent(Form);
  EXPECT_TRUE(Designer.Saw(Form, CM_CONTROLLISTCHANGE));
  EXPECT_TRUE(Designer.Saw(Form, CM_CONTROLCHANGE));

  Form->Perform(WM_ACTIVATE, WA_ACTIVE, 0);
  EXPECT_TRUE(Designer.Saw(Form, WM_ACTIVATE));

  Form->Perform(WM_CLOSE, 0, 0);
  EXPECT_TRUE(Designer.Saw(Form, WM_CLOSE));
  EXPECT_TRUE(Form->GetVisible());  // swallowed: the form did not close

  Designer.Seen.clear();
  Form->Repaint();
  EXPECT_TRUE(Designer.Saw(Form, WM_PAINT));
  EXPECT_TRUE(Designer.Saw(Form, WM_ERASEBKGND));
  Panel->Repaint();
  EXPECT_TRUE(Designer.Saw(Panel, WM_PAINT));
  EXPECT_TRUE(Designer.Saw(Shape, WM_PAINT));  // painted by the panel, offered as its own
}

TEST_F(DesignedForm, ToolkitInputBecomesMessagesWithClientCoordinatesAndCursorFirst) {
  SendInput(Panel, WM_MOUSEMOVE, {40, 50}, MK_SHIFT);
  ASSERT_GE(Designer.Seen.size(), 2u);
  EXPECT_EQ(Designer.Seen[0].Msg, WM_SETCURSOR);
  EXPECT_EQ(Designer.Seen[0].Sender, Panel);
  const TSeenMessage* move = Designer.Find(Panel, WM_MOUSEMOVE);
  ASSERT_NE(move, nullptr);
  EXPECT_EQ(LParamToPoint(move->LParam), (TPoint{40, 50}));
  EXPECT_EQ(move->WParam, MK_SHIFT);
  // The platform cursor follows the event.
  EXPECT_EQ(GetCursorPos(), Panel->ClientToScreen({40, 50}));

  SendInput(Form, WM_LBUTTONDOWN, {30, 40}, MK_CONTROL);  // over the panel's shape
  const TSeenMessage* down = Designer.Find(Shape, WM_LBUTTONDOWN);
  ASSERT_NE(down, nullptr);
  EXPECT_EQ(LParamToPoint(down->LParam), (TPoint{0, 0}));
  EXPECT_EQ(down->WParam, MK_CONTROL | MK_LBUTTON);
  SendInput(Form, WM_LBUTTONUP, {30, 40});

  // Keys: nothing takes the focus while designing, so they reach the form.
  SendInput(Form, WM_KEYDOWN, {}, 0, VK_DELETE);
  const TSeenMessage* key = Designer.Find(Form, WM_KEYDOWN);
  ASSERT_NE(key, nullptr);
  EXPECT_EQ(key->WParam, VK_DELETE);
  EXPECT_FALSE(Panel->Focused());
}

TEST_F(DesignedForm, TheCursorComesFromTheControlUnderTheMouseUnlessSwallowedOrOverridden) {
  Designer.Swallow = [](TControl*, TMessage&) { return false; };
  Shape->SetCursor(crHandPoint);
  Panel->SetCursor(crCross);
  SendInput(Panel, WM_MOUSEMOVE, {25, 35});
  EXPECT_EQ(GetCursor(), crHandPoint);
  SendInput(Panel, WM_MOUSEMOVE, {100, 80});
  EXPECT_EQ(GetCursor(), crCross);
  Screen->SetCursor(crHourGlass);
  SendInput(Panel, WM_MOUSEMOVE, {25, 35});
  EXPECT_EQ(GetCursor(), crHourGlass);
  Screen->SetCursor(crDefault);
  // The designer keeps the cursor it chose by swallowing WM_SETCURSOR.
  Designer.Swallow = [](TControl*, TMessage& m) { return m.Msg == WM_SETCURSOR; };
  SetCursor(crSizeAll);
  SendInput(Panel, WM_MOUSEMOVE, {25, 35});
  EXPECT_EQ(GetCursor(), crSizeAll);
}

TEST_F(DesignedForm, TheDesignersAnswerDecidesWhetherTheNativeButtonClicks) {
  auto* button = new TTestButton(Form);
  button->SetBounds(170, 10, 80, 30);
  button->SetParent(Form);
  Application->ProcessMessages();
  int clicks = 0;
  button->OnClick = [&](TObject*) { ++clicks; };

  SendInput(button, WM_LBUTTONDOWN, {10, 10}, MK_LBUTTON);
  SendInput(button, WM_LBUTTONUP, {10, 10});
  EXPECT_TRUE(Designer.Saw(button, WM_LBUTTONDOWN));
  EXPECT_EQ(clicks, 0);

  Designer.Swallow = [](TControl*, TMessage&) { return false; };
  SendInput(button, WM_LBUTTONDOWN, {10, 10}, MK_LBUTTON);
  SendInput(button, WM_LBUTTONUP, {10, 10});
  EXPECT_EQ(clicks, 1);

  // The per-control switch: out of design state, the control skips the designer.
  Designer.Swallow = TTestDesigner::EngineLike;
  Designer.Seen.clear();
  button->SetDesigning(false, false);
  SendInput(button, WM_LBUTTONDOWN, {10, 10}, MK_LBUTTON);
  SendInput(button, WM_LBUTTONUP, {10, 10});
  EXPECT_FALSE(Designer.Saw(button, WM_LBUTTONDOWN));
  EXPECT_EQ(clicks, 2);
}

TEST_F(DesignedForm, InnerWidgetsOfANativeControlReportAsTheControl) {
  auto* combo = new TTestCombo(Form);
  combo->SetBounds(170, 60, 100, 24);
  combo->SetParent(Form);
  Application->ProcessMessages();
  SendInput(combo, WM_LBUTTONDOWN, {10, 8}, MK_LBUTTON);  // lands on the combo's line edit
  const TSeenMessage* s = Designer.Find(combo, WM_LBUTTONDOWN);
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(LParamToPoint(s->LParam), (TPoint{10, 8}));
  SendInput(combo, WM_LBUTTONUP, {10, 8});
}

TEST_F(DesignedForm, EraseAnsweredTrueLeavesTheBackgroundToTheGrid) {
  Form->SetColor(clWhite);
  Designer.OnPaintGrid = [this] {
    TCanvas* c = Form->Canvas();
    c->SetPixel(2, 2, clBlack);
  };
  // Grid off: the designer declines the erase and the form fills its background.
  Designer.Swallow = [](TControl*, TMessage& m) { return m.Msg != WM_ERASEBKGND && m.Msg != WM_PAINT; };
  EXPECT_EQ(PixelAt(Form, 200, 150), clWhite);
  EXPECT_EQ(PixelAt(Form, 2, 2), clBlack);
  EXPECT_GT(Designer.GridPaints, 0);

  // Grid on: the erase is swallowed, the grid paints the background instead.
  Designer.OnPaintGrid = [this] {
    TCanvas* c = Form->Canvas();
    c->GetBrush()->SetColor(clYellow);
    c->FillRect(Form->GetClientRect());
  };
  Designer.Swallow = [](TControl*, TMessage& m) { return m.Msg == WM_ERASEBKGND; };
  EXPECT_EQ(PixelAt(Form, 200, 150), clYellow);
}

TEST_F(DesignedForm, InvisibleControlsAreDrawnWhileDesigningOnly) {
  Designer.Swallow = [](TControl*, TMessage&) { return false; };
  Form->SetColor(clWhite);
  Panel->SetColor(clBlue);
  Shape->SetColor(clRed);
  Panel->SetVisible(false);
  Shape->SetVisible(false);
  Application->ProcessMessages();
  EXPECT_FALSE(Panel->GetVisible());
  EXPECT_EQ(PixelAt(Form, 15, 15), clBlue);
  EXPECT_EQ(PixelAt(Form, 10 + 25, 10 + 35), clRed);

  Form->SetDesigner(nullptr);
  Form->SetDesigning(false);
  Form->UpdateDesignState();
  EXPECT_EQ(PixelAt(Form, 15, 15), clWhite);
}

TEST(Controls, ScreenshotShowsControlsWhereTheirBoundsSay) {
  RegisterControlTestClasses();
  TForm form(nullptr);
  form.SetBounds(50, 60, 200, 150);
  form.SetColor(clWhite);
  auto* panel = new TTestPanel(&form);
  panel->SetBounds(10, 20, 80, 60);
  panel->SetColor(clBlue);
  panel->SetParent(&form);
  auto* shape = new TTestShape(&form);
  shape->SetBounds(5, 5, 20, 10);
  shape->SetColor(clRed);
  shape->SetParent(panel);
  auto* top = new TTestShape(&form);
  top->SetBounds(120, 100, 30, 30);
  top->SetColor(clLime);
  top->SetParent(&form);
  ShowAndSettle(&form);
  EXPECT_EQ(PixelAt(&form, 9, 19), clWhite);
  EXPECT_EQ(PixelAt(&form, 10, 20), clBlue);
  EXPECT_EQ(PixelAt(&form, 89, 79), clBlue);
  EXPECT_EQ(PixelAt(&form, 90, 80), clWhite);
  EXPECT_EQ(PixelAt(&form, 15, 25), clRed);
  EXPECT_EQ(PixelAt(&form, 34, 34), clRed);
  EXPECT_EQ(PixelAt(&form, 35, 35), clBlue);
  EXPECT_EQ(PixelAt(&form, 135, 115), clLime);
  // Moving a windowless control repaints both places.
  top->SetLeft(0);
  EXPECT_EQ(PixelAt(&form, 135, 115), clWhite);
  EXPECT_EQ(PixelAt(&form, 15, 115), clLime);
  // A windowed control stays above windowless siblings whatever their order.
  top->SetBounds(5, 30, 30, 30);
  top->BringToFront();
  EXPECT_EQ(PixelAt(&form, 20, 40), clBlue);
  EXPECT_EQ(PixelAt(&form, 7, 40), clLime);
}

TEST(Controls, AWindowMadeBeforeShowingKeepsItsControlsVisibility) {
  RegisterControlTestClasses();
  TForm form(nullptr);
  form.SetBounds(0, 0, 100, 100);
  form.SetColor(clWhite);
  auto* hidden = new TTestPanel(&form);
  hidden->SetBounds(0, 0, 50, 50);
  hidden->SetColor(clRed);
  hidden->SetVisible(false);
  hidden->SetParent(&form);
  hidden->HandleNeeded();  // windows made while the form is not showing
  EXPECT_FALSE(form.Showing());
  ShowAndSettle(&form);
  EXPECT_EQ(PixelAt(&form, 10, 10), clWhite);
  hidden->SetVisible(true);
  EXPECT_EQ(PixelAt(&form, 10, 10), clRed);
}

TEST(Controls, PostedMessagesArriveInOrderAfterTheCurrentMessage) {
  RegisterControlTestClasses();
  TForm form(nullptr);
  std::vector<intptr_t> order;
  auto* panel = new TTestPanel(&form);
  panel->SetParent(&form);
  auto original = panel->WindowProc;
  panel->WindowProc = [&](TMessage& m) {
    if (m.Msg >= WM_USER && m.Msg < CM_BASE) {
      order.push_back(m.WParam);
      if (m.WParam == 1) {
        PostMessage(panel, WM_USER, 3, 0);
        order.push_back(100);  // still inside message 1
      }
      return;
    }
    original(m);
  };
  PostMessage(panel, WM_USER, 1, 0);
  PostMessage(panel, WM_USER, 2, 0);
  EXPECT_TRUE(order.empty());
  EXPECT_EQ(SendMessage(panel, CM_HITTEST, 0, 0), HTCLIENT);
  Application->ProcessMessages();
  EXPECT_EQ(order, (std::vector<intptr_t>{1, 100, 2, 3}));

  // Messages for a control destroyed meanwhile are dropped.
  PostMessage(panel, WM_USER, 4, 0);
  delete panel;
  Application->ProcessMessages();
  EXPECT_EQ(order.size(), 4u);
  EXPECT_FALSE(PostMessage(nullptr, WM_USER, 0, 0));
}

TEST_F(DesignedForm, CaptureSendsEveryMouseMessageToOneControlUntilRelease) {
  SetCapture(Shape);
  EXPECT_EQ(GetCapture(), Shape);
  SendInput(Form, WM_MOUSEMOVE, {250, 150});  // far from the shape
  const TSeenMessage* s = Designer.Find(Shape, WM_MOUSEMOVE);
  ASSERT_NE(s, nullptr);
  TPoint expected = Shape->ScreenToClient(Form->ClientToScreen({250, 150}));
  EXPECT_EQ(LParamToPoint(s->LParam), expected);
  EXPECT_FALSE(Designer.Saw(Form, WM_MOUSEMOVE));
  SendInput(Form, WM_LBUTTONUP, {250, 150});
  EXPECT_TRUE(Designer.Saw(Shape, WM_LBUTTONUP));
  EXPECT_EQ(GetCapture(), nullptr);  // released at the button release

  // A release that leaves another button down keeps it.
  SetCapture(Panel);
  Panel->Perform(WM_RBUTTONUP, MK_LBUTTON, 0);
  EXPECT_EQ(GetCapture(), Panel);
  ReleaseCapture();
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST(Controls, ClipCursorConfinesTheReportedAndSetPosition) {
  TRect clip = Rect(100, 100, 200, 150);
  SetCursorPos(50, 60);
  ClipCursor(&clip);
  EXPECT_EQ(GetCursorPos(), (TPoint{100, 100}));
  SetCursorPos(500, 120);
  EXPECT_EQ(GetCursorPos(), (TPoint{199, 120}));
  TRect got;
  GetClipCursor(got);
  EXPECT_EQ(got, clip);
  ClipCursor(nullptr);
  SetCursorPos(500, 120);
  EXPECT_EQ(GetCursorPos(), (TPoint{500, 120}));
}

TEST(Controls, AlignLaysOutChildrenInTheVclOrder) {
  RegisterControlTestClasses();
  TForm form(nullptr);
  form.SetBounds(0, 0, 400, 300);
  auto make = [&](TAlign a, int w, int h) {
    auto* p = new TTestPanel(&form);
    p->SetBounds(0, 0, w, h);
    p->SetParent(&form);
    p->SetAlign(a);
    return p;
  };
  TTestPanel* client = make(alClient, 10, 10);
  TTestPanel* left = make(alLeft, 50, 10);
  TTestPanel* top = make(alTop, 10, 30);
  TTestPanel* bottom = make(alBottom, 10, 20);
  TTestPanel* right = make(alRight, 60, 10);
  EXPECT_EQ(top->BoundsRect(), Rect(0, 0, 400, 30));
  EXPECT_EQ(bottom->BoundsRect(), Rect(0, 280, 400, 300));
  EXPECT_EQ(left->BoundsRect(), Rect(0, 30, 50, 280));
  EXPECT_EQ(right->BoundsRect(), Rect(340, 30, 400, 280));
  EXPECT_EQ(client->BoundsRect(), Rect(50, 30, 340, 280));
  // Resizing the parent realigns; a second top control goes below the first by position.
  TTestPanel* top2 = make(alTop, 10, 10);
  top2->SetTop(100);
  form.SetBounds(0, 0, 500, 400);
  EXPECT_EQ(top2->BoundsRect(), Rect(0, 30, 500, 40));
  EXPECT_EQ(client->BoundsRect(), Rect(50, 40, 440, 380));
  // Invisible aligned controls give up their space (unless designing).
  top->SetVisible(false);
  EXPECT_EQ(top2->BoundsRect(), Rect(0, 0, 500, 10));
}

TEST(Controls, AnchorsFollowTheParentsEdges) {
  RegisterControlTestClasses();
  TForm form(nullptr);
  form.SetBounds(0, 0, 300, 200);
  auto* p = new TTestPanel(&form);
  p->SetParent(&form);
  p->SetBounds(200, 150, 50, 20);
  p->SetAnchors(TAnchors{akRight, akBottom});
  auto* stretch = new TTestPanel(&form);
  stretch->SetParent(&form);
  stretch->SetBounds(10, 10, 100, 20);
  stretch->SetAnchors(TAnchors{akLeft, akTop, akRight});
  form.SetBounds(0, 0, 350, 220);
  EXPECT_EQ(p->BoundsRect(), Rect(250, 170, 300, 190));
  EXPECT_EQ(stretch->BoundsRect(), Rect(10, 10, 160, 30));
}

TEST(Controls, AlignWithMarginsKeepsTheMarginsClearAndMarginsStream) {
  RegisterControlTestClasses();
  TForm form(nullptr);
  form.SetName("Form1");
  form.SetBounds(0, 0, 400, 300);
  auto make = [&](const char* name, TAlign a, int w, int h) {
    auto* p = new TTestPanel(&form);
    p->SetName(name);
    p->SetBounds(0, 0, w, h);
    p->SetParent(&form);
    p->SetAlign(a);
    return p;
  };
  TTestPanel* top = make("Top1", alTop, 10, 30);
  TTestPanel* client = make("Client1", alClient, 10, 10);
  top->GetMargins()->SetLeft(5);  // no effect until aligned with margins
  EXPECT_EQ(top->BoundsRect(), Rect(0, 0, 400, 30));
  top->SetAlignWithMargins(true);
  EXPECT_EQ(top->BoundsRect(), Rect(5, 3, 397, 33));
  EXPECT_EQ(client->BoundsRect(), Rect(0, 36, 400, 300));  // below the bottom margin
  client->SetAlignWithMargins(true);
  client->GetMargins()->SetBottom(0);
  EXPECT_EQ(client->BoundsRect(), Rect(3, 39, 397, 300));
  std::string text = StreamAsText(&form);
  EXPECT_NE(text.find("AlignWithMargins = True\r\n    Margins.Left = 5\r\n"), std::string::npos) << text;
  EXPECT_EQ(text.find("Margins.Top"), std::string::npos) << text;  // the defaults stay out
}

TEST(Controls, ConstraintsLimitTheSizeAndStreamAsSubProperties) {
  RegisterControlTestClasses();
  TForm form(nullptr);
  form.SetBounds(0, 0, 300, 200);
  form.GetConstraints()->SetMinWidth(250);
  form.GetConstraints()->SetMaxHeight(150);
  EXPECT_EQ(form.GetHeight(), 150);  // applied at once
  form.SetBounds(0, 0, 100, 400);
  EXPECT_EQ(form.BoundsRect(), Rect(0, 0, 250, 150));
  form.GetConstraints()->SetMinHeight(180);  // above the maximum: the maximum follows
  EXPECT_EQ(form.GetConstraints()->GetMaxHeight(), 180);
  EXPECT_EQ(form.GetHeight(), 180);
  PPropInfo p = GetPropInfo(&form, "Constraints");
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(GetObjectProp(&form, p), form.GetConstraints());
}

TEST(Controls, ZOrderAndStreamingChildrenOrder) {
  RegisterControlTestClasses();
  TForm form(nullptr);
  auto* a = new TTestPanel(&form);
  a->SetParent(&form);
  auto* s = new TTestShape(&form);
  s->SetParent(&form);
  auto* b = new TTestPanel(&form);
  b->SetParent(&form);
  auto* timer = new TTestTimer(&form);
  auto* foreign = new TTestPanel(nullptr);  // not owned by the form: not streamed with it
  foreign->SetParent(&form);
  // Windowless controls first, then windowed ones, each in z-order.
  EXPECT_EQ(form.Controls(0), s);
  EXPECT_EQ(form.Controls(1), a);
  a->BringToFront();
  EXPECT_EQ(form.Controls(form.ControlCount() - 1), a);
  b->SendToBack();
  EXPECT_EQ(form.Controls(1), b);
  std::vector<TComponent*> children;
  form.GetChildren([&](TComponent* c) { children.push_back(c); }, &form);
  EXPECT_EQ(children, (std::vector<TComponent*>{timer, s, b, a}));
  delete foreign;
  EXPECT_EQ(form.ControlCount(), 3);
}

TEST(Controls, TabOrderIsAPositionAmongWindowedSiblings) {
  RegisterControlTestClasses();
  TForm form(nullptr);
  std::vector<TTestPanel*> p;
  for (int i = 0; i < 3; ++i) {
    p.push_back(new TTestPanel(&form));
    p.back()->SetParent(&form);
    p.back()->SetTabStop(true);
  }
  EXPECT_EQ(p[2]->GetTabOrder(), 2);
  p[2]->SetTabOrder(0);
  EXPECT_EQ(p[0]->GetTabOrder(), 1);
  p[1]->SetTabOrder(99);  // past the end: last
  EXPECT_EQ(p[1]->GetTabOrder(), 2);
  ShowAndSettle(&form);
  EXPECT_EQ(form.FindNextControl(p[2], true, true, false), p[0]);
  EXPECT_EQ(form.FindNextControl(p[1], true, true, false), p[2]);  // wraps
  EXPECT_EQ(form.FindNextControl(p[2], false, true, false), p[1]);
  p[0]->SetTabStop(false);
  EXPECT_EQ(form.FindNextControl(p[2], true, true, false), p[1]);
}

TEST(Controls, DestroyingAParentDestroysItsChildControls) {
  RegisterControlTestClasses();
  TForm form(nullptr);
  auto* panel = new TTestPanel(&form);
  panel->SetParent(&form);
  auto* inner = new TTestPanel(&form);
  inner->SetParent(panel);
  auto* shape = new TTestShape(&form);
  shape->SetParent(inner);
  ShowAndSettle(&form);
  EXPECT_EQ(form.ComponentCount(), 3);
  delete panel;
  EXPECT_EQ(form.ComponentCount(), 0);
  EXPECT_EQ(form.ControlCount(), 0);
}

TEST(Controls, ParentColorAndFontFollowUntilSetDirectly) {
  RegisterControlTestClasses();
  TForm form(nullptr);
  auto* panel = new TTestPanel(&form);
  panel->SetParent(&form);
  auto* shape = new TTestShape(&form);
  shape->SetParent(panel);
  panel->SetColor(clTeal);
  EXPECT_EQ(shape->GetColor(), clTeal);
  EXPECT_TRUE(shape->GetParentColor());
  shape->SetColor(clRed);
  EXPECT_FALSE(shape->GetParentColor());
  panel->SetColor(clNavy);
  EXPECT_EQ(shape->GetColor(), clRed);
  form.GetFont()->SetSize(14);
  EXPECT_EQ(panel->GetFont()->GetSize(), 14);
  EXPECT_TRUE(panel->GetParentFont());
  panel->GetFont()->SetName("Arial");
  EXPECT_FALSE(panel->GetParentFont());
}

TEST(Controls, CursorPropertiesStreamAsIdentifiers) {
  RegisterControlTestClasses();
  TTestPanel panel(nullptr);
  PPropInfo cursor = GetPropInfo(&panel, "Cursor");
  ASSERT_NE(cursor, nullptr);
  EXPECT_EQ(cursor->PropType->Name, "TCursor");
  panel.SetCursor(crHandPoint);
  std::string ident;
  ASSERT_TRUE(FindIntToIdent(cursor->PropType)(crHandPoint, ident));
  EXPECT_EQ(ident, "crHandPoint");
  EXPECT_EQ(StringToCursor("crSizeNWSE"), crSizeNWSE);
  EXPECT_EQ(StringToCursor("-30"), -30);
  EXPECT_EQ(CursorToString(-30), "-30");
  EXPECT_EQ(GetPropInfo(&panel, "Caption")->PropType->Name, "TCaption");
  EXPECT_EQ(GetPropInfo(&panel, "Color")->PropType->Name, "TColor");
  TClassInfo::Tables tables;
  TClassBuilder<TTestPanel> b(TTestPanel::StaticClass(), &tables);
  EXPECT_THROW(PublishControlProperties(b, {"OnClick", "Nope"}), EPropertyError);
}

TEST(Controls, XorFrameIsErasedByDrawingItAgain) {
  RegisterControlTestClasses();
  TForm form(nullptr);
  form.SetBounds(0, 0, 200, 150);
  form.SetColor(clWhite);
  auto* panel = new TTestPanel(&form);
  panel->SetBounds(20, 20, 100, 80);
  panel->SetColor(clWhite);
  panel->SetParent(&form);
  ShowAndSettle(&form);
  TRect band = Rect(10, 10, 110, 61);
  DrawXorFrame(&form, band);  // above the panel too, every other pixel of the border
  EXPECT_EQ(PixelAt(&form, 10, 10), clBlack);
  EXPECT_EQ(PixelAt(&form, 11, 10), clWhite);
  EXPECT_EQ(PixelAt(&form, 30, 60), clBlack);  // over the panel
  EXPECT_EQ(PixelAt(&form, 109, 59), clBlack);
  EXPECT_EQ(PixelAt(&form, 50, 30), clWhite);
  DrawXorFrame(&form, band);
  EXPECT_EQ(PixelAt(&form, 10, 10), clWhite);
  EXPECT_EQ(PixelAt(&form, 30, 60), clWhite);
}

TEST(Controls, OutsidePaintingAFormsCanvasDrawsAnInvertingBand) {
  TForm form(nullptr);
  form.SetBounds(0, 0, 200, 150);
  form.SetColor(clWhite);
  ShowAndSettle(&form);
  TCanvas* c = form.Canvas();
  c->GetPen()->SetMode(pmNotXor);
  c->GetPen()->SetStyle(psSolid);
  c->GetPen()->SetColor(clBlack);
  c->GetBrush()->SetStyle(bsClear);
  c->Rectangle(20, 20, 80, 60);
  EXPECT_EQ(PixelAt(&form, 20, 20), clBlack);
  EXPECT_EQ(PixelAt(&form, 79, 59), clBlack);
  EXPECT_EQ(PixelAt(&form, 50, 40), clWhite);
  c->Rectangle(20, 20, 80, 60);
  EXPECT_EQ(PixelAt(&form, 20, 20), clWhite);
  EXPECT_EQ(PixelAt(&form, 79, 59), clWhite);
}

// --- Drag and drop.
struct HostDrag : TDragObject {
  KV_CLASS(HostDrag, TDragObject)
 public:
  int Ended = 0;
  void EndDrag(TObject*, int, int) override { ++Ended; }
};
KV_IMPLEMENT_CLASS(HostDrag, "TestControls") {}

TEST_F(DesignedForm, AHostsDragReachesTheDesignedFormAsCmDrag) {
  std::vector<intptr_t> codes;
  Designer.Swallow = [&](TControl* sender, TMessage& m) {
    if (m.Msg != CM_DRAG) return false;
    EXPECT_EQ(sender, Panel);
    codes.push_back(m.WParam);
    m.Result = m.WParam == dmFindTarget ? reinterpret_cast<intptr_t>(sender) : 1;
    return true;
  };
  HostDrag drag;
  SetCursorPos(0, 0);
  BeginDragObject(&drag);
  EXPECT_EQ(DragObject(), &drag);
  DragTo(Panel->ClientToScreen({50, 50}));
  DragTo(Panel->ClientToScreen({60, 50}));
  DragDone(true);
  EXPECT_EQ(codes,
            (std::vector<intptr_t>{dmFindTarget, dmDragEnter, dmDragMove, dmFindTarget, dmDragMove, dmDragDrop}));
  EXPECT_EQ(DragObject(), nullptr);
  EXPECT_EQ(drag.Ended, 1);
}

TEST(Controls, AutomaticDragMovesOverTargetsAndDropsOnTheAcceptingOne) {
  RegisterControlTestClasses();
  TForm form(nullptr);
  form.SetBounds(100, 100, 300, 200);
  auto* source = new TTestPanel(&form);
  source->SetBounds(10, 10, 50, 50);
  source->SetParent(&form);
  source->SetDragMode(dmAutomatic);
  auto* target = new TTestShape(&form);
  target->SetBounds(150, 20, 60, 60);
  target->SetParent(&form);
  std::vector<std::string> log;
  target->OnDragOver = [&](TObject*, TObject* src, int x, int y, TDragState st, bool& accept) {
    log.push_back(Format("over %d %d,%d", static_cast<int>(st), x, y));
    accept = src == source;
  };
  target->OnDragDrop = [&](TObject*, TObject* src, int x, int y) {
    log.push_back(Format("drop %d,%d %s", x, y, src == source ? "src" : "?"));
  };
  source->OnEndDrag = [&](TObject*, TObject* t, int, int) { log.push_back(t == target ? "end target" : "end"); };
  ShowAndSettle(&form);

  SendInput(source, WM_LBUTTONDOWN, {5, 5}, MK_LBUTTON);
  EXPECT_EQ(DragObject(), nullptr);  // waits for the threshold
  SendInput(source, WM_MOUSEMOVE, {6, 6}, MK_LBUTTON);
  EXPECT_EQ(DragObject(), nullptr);
  SendInput(source, WM_MOUSEMOVE, {150, 20}, MK_LBUTTON);  // form (160,30) = target (10,10)
  ASSERT_NE(DragObject(), nullptr);
  SendInput(source, WM_MOUSEMOVE, {151, 22}, MK_LBUTTON);
  SendInput(source, WM_LBUTTONUP, {151, 22});
  EXPECT_EQ(DragObject(), nullptr);
  EXPECT_EQ(log,
            (std::vector<std::string>{"over 0 10,10", "over 2 10,10", "over 2 11,12", "drop 11,12 src", "end target"}));
}

}  // namespace

TEST(ControlsCaption, FollowsTheNameWhileTheyAreEqualButNotWhenLoading) {
  TForm form(nullptr);
  auto* button = new TTestButton(&form);
  button->SetName("Button1");
  EXPECT_EQ(button->GetText(), "Button1");
  button->SetName("OkButton");
  EXPECT_EQ(button->GetText(), "OkButton");
  button->SetText("Ok");
  button->SetName("Button2");
  EXPECT_EQ(button->GetText(), "Ok");  // a caption of its own stays
  auto* loaded = new TTestButton(&form);
  loaded->Loading();
  loaded->SetName("Button3");
  EXPECT_EQ(loaded->GetText(), "");
}
