#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <thread>

#include "ActnList.h"
#include "ControlsTests.h"
#include "ExtCtrls.h"
#include "FormFixture.h"
#include "Spin.h"
#include "StdReg.h"
#include "StreamCheck.h"
#include "Tabnotbk.h"

namespace {

struct MoreCtrlsFixture : FormFixture {
  static intptr_t Pos(int x, int y) { return (static_cast<intptr_t>(y) << 16) | (x & 0xFFFF); }
};

// ---------------------------------------------------------------------------------------------
TEST_F(MoreCtrlsFixture, TabbedNotebookVetoesPageChangesThroughOnChange) {
  auto* nb = Add<TTabbedNotebook>("TabbedNotebook1");
  nb->GetPages()->SetText("One\r\nTwo\r\nThree\r\n");
  ASSERT_EQ(nb->PageCount(), 3);
  EXPECT_EQ(nb->GetActivePage(), "One");
  int asked = -1;
  bool allow = false;
  nb->OnChange = [&](TObject*, int newTab, bool& a) { asked = newTab, a = allow; };
  nb->SetPageIndex(2);
  EXPECT_EQ(asked, 2);
  EXPECT_EQ(nb->GetPageIndex(), 0);
  EXPECT_TRUE(nb->Page(0)->GetVisible());
  allow = true;
  nb->SetActivePage("Three");
  EXPECT_EQ(nb->GetPageIndex(), 2);
  EXPECT_TRUE(nb->Page(2)->GetVisible());
  EXPECT_FALSE(nb->Page(0)->GetVisible());
  // Deleting the active page falls back to a page that exists.
  nb->GetPages()->Delete(2);
  EXPECT_EQ(nb->PageCount(), 2);
  EXPECT_EQ(nb->GetPageIndex(), 1);
  EXPECT_TRUE(nb->Page(1)->GetVisible());
}

TEST_F(MoreCtrlsFixture, TabbedNotebookStreamsUnnamedPagesWithTheirControls) {
  auto* nb = Add<TTabbedNotebook>("TabbedNotebook1");
  nb->GetPages()->SetText("General\r\nAdvanced\r\n");
  nb->SetPageIndex(1);
  nb->SetTabsPerRow(4);
  nb->GetTabFont()->SetSize(10);
  auto* edit = new TSpinEdit(form.get());
  edit->SetName("Spin1");
  edit->SetParent(nb->Page(1));
  std::string text = ExpectRoundTrip(form.get(), nb);
  ExpectDefaultsOmitted(nb, text);
  EXPECT_NE(text.find("object TTabPage\r\n"), std::string::npos) << text;
  EXPECT_NE(text.find("Caption = 'Advanced'"), std::string::npos) << text;
  EXPECT_EQ(text.find("Pages"), std::string::npos) << text;

  auto copy = Reload();
  auto* nb2 = static_cast<TTabbedNotebook*>(copy->FindComponent("TabbedNotebook1"));
  ASSERT_NE(nb2, nullptr);
  ASSERT_EQ(nb2->PageCount(), 2);  // the default page was replaced by the stored ones
  EXPECT_EQ(nb2->GetPages()->GetText(), "General\r\nAdvanced\r\n");
  EXPECT_EQ(nb2->GetActivePage(), "Advanced");
  EXPECT_TRUE(nb2->Page(1)->GetVisible());
  auto* spin2 = copy->FindComponent("Spin1");
  ASSERT_NE(spin2, nullptr);
  EXPECT_EQ(static_cast<TControl*>(spin2)->GetParent(), nb2->Page(1));
  EXPECT_EQ(nb2->Page(0)->Owner(), nb2);
}

TEST_F(MoreCtrlsFixture, NotebookPageIndexAndActivePageFollowEachOther) {
  auto* nb = Add<TNotebook>("Notebook1");
  EXPECT_EQ(nb->GetPages()->GetText(), "Default\r\n");
  nb->GetPages()->Add("Second");
  nb->GetPages()->Insert(0, "First");
  int changes = 0;
  nb->OnPageChanged = [&](TObject*) { ++changes; };
  nb->SetActivePage("Second");
  EXPECT_EQ(nb->GetPageIndex(), 2);
  nb->SetPageIndex(0);
  EXPECT_EQ(nb->GetActivePage(), "First");
  nb->SetActivePage("missing");  // no such page: nothing moves
  nb->SetPageIndex(7);
  EXPECT_EQ(nb->GetPageIndex(), 0);
  EXPECT_EQ(changes, 2);
  EXPECT_TRUE(nb->Page(0)->GetVisible());
  EXPECT_FALSE(nb->Page(2)->GetVisible());
  nb->GetPages()->Put(0, "Renamed");
  EXPECT_EQ(nb->GetActivePage(), "Renamed");

  std::string text = ExpectRoundTrip(form.get(), nb);
  ExpectDefaultsOmitted(nb, text);
  EXPECT_NE(text.find("object TPage\r\n"), std::string::npos) << text;
  nb->SetPageIndex(1);
  auto copy = Reload();
  auto* nb2 = static_cast<TNotebook*>(copy->FindComponent("Notebook1"));
  ASSERT_EQ(nb2->PageCount(), 3);
  EXPECT_EQ(nb2->GetActivePage(), "Default");
}

// ---------------------------------------------------------------------------------------------
TEST_F(MoreCtrlsFixture, TimerFiresThroughTheEventLoopUntilDisabled) {
  auto* t = Add<TTimer>("Timer1");
  t->SetInterval(5);
  int ticks = 0;
  t->SetOnTimer([&](TObject*) {
    if (++ticks == 3) t->SetEnabled(false);  // stopping from its own handler
  });
  EXPECT_TRUE(t->Active());
  auto until = std::chrono::steady_clock::now() + std::chrono::seconds(2);
  while (ticks < 3 && std::chrono::steady_clock::now() < until) {
    Application->ProcessMessages();
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  EXPECT_EQ(ticks, 3);
  EXPECT_FALSE(t->Active());
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  Application->ProcessMessages();
  EXPECT_EQ(ticks, 3);
  t->SetEnabled(true);
  t->SetInterval(0);  // no interval, no ticking
  EXPECT_FALSE(t->Active());

  t->SetInterval(250);
  t->SetEnabled(false);
  std::string text = ExpectRoundTrip(form.get(), t);
  ExpectDefaultsOmitted(t, text);
}

// ---------------------------------------------------------------------------------------------
TEST_F(MoreCtrlsFixture, SplitterDragResizesItsNeighbourWithinMinSize) {
  auto* left = Add<TNotebook>("Left");
  left->SetAlign(alLeft);
  left->SetWidth(100);
  auto* split = Add<TSplitter>("Splitter1");
  split->SetLeft(150);  // lands after the panel
  ASSERT_EQ(split->GetLeft(), 100);
  ASSERT_EQ(split->FindControl(), left);
  int moved = 0;
  split->OnMoved = [&](TObject*) { ++moved; };
  split->Perform(WM_LBUTTONDOWN, MK_LBUTTON, Pos(1, 10));
  split->Perform(WM_MOUSEMOVE, MK_LBUTTON, Pos(41, 10));
  EXPECT_EQ(left->GetWidth(), 100);  // the pattern style waits for the release
  split->Perform(WM_LBUTTONUP, 0, Pos(41, 10));
  EXPECT_EQ(left->GetWidth(), 140);
  EXPECT_EQ(split->GetLeft(), 140);
  EXPECT_EQ(moved, 1);

  split->SetResizeStyle(rsUpdate);
  split->SetMinSize(50);
  split->Perform(WM_LBUTTONDOWN, MK_LBUTTON, Pos(1, 10));
  split->Perform(WM_MOUSEMOVE, MK_LBUTTON, Pos(-199, 10));
  EXPECT_EQ(left->GetWidth(), 50);  // live, and not below MinSize
  split->Perform(WM_LBUTTONUP, 0, Pos(1, 10));
  EXPECT_EQ(left->GetWidth(), 50);

  split->SetBeveled(false);
  std::string text = ExpectRoundTrip(form.get(), split);
  ExpectDefaultsOmitted(split, text);
  EXPECT_NE(text.find("ResizeStyle = rsUpdate"), std::string::npos);
}

// ---------------------------------------------------------------------------------------------
TEST_F(MoreCtrlsFixture, SpinEditClampsAndKeepsTextWithValue) {
  auto* s = Add<TSpinEdit>("SpinEdit1");
  s->SetValue(-12345);  // equal limits: no clamping
  EXPECT_EQ(s->GetValue(), -12345);
  s->SetMaxValue(10);
  EXPECT_EQ(s->GetValue(), 0);  // now limited to 0..10
  s->SetValue(99);
  EXPECT_EQ(s->GetValue(), 10);
  EXPECT_EQ(s->GetText(), "10");
  s->SetEditText("7");
  EXPECT_EQ(s->GetValue(), 7);
  s->SetEditText("7x");
  EXPECT_EQ(s->GetValue(), 7);
  s->SetIncrement(5);
  s->StepBy(true);
  EXPECT_EQ(s->GetValue(), 10);
  s->StepBy(false), s->StepBy(false), s->StepBy(false);
  EXPECT_EQ(s->GetValue(), 0);
  form->Show();
  EXPECT_EQ(s->GetValue(), 0);

  s->SetMinValue(-5);
  s->SetValue(-3);
  s->SetEditorEnabled(false);
  s->SetMaxLength(4);
  std::string text = ExpectRoundTrip(form.get(), s);
  ExpectDefaultsOmitted(s, text);
  EXPECT_NE(text.find("Value = -3"), std::string::npos) << text;
}

// ---------------------------------------------------------------------------------------------
TEST_F(MoreCtrlsFixture, ActionsStreamAsChildrenOfTheirListAndExecuteThroughIt) {
  auto* list = Add<TActionList>("ActionList1");
  auto* open = Add<TAction>("FileOpen");
  open->SetActionList(list);
  open->SetCaption("&Open...");
  open->SetCategory("File");
  open->SetShortCut(ShortCut('O', TShiftState{ssCtrl}));
  open->SetImageIndex(3);
  open->SetChecked(true);
  auto* quit = Add<TAction>("FileExit");
  quit->SetActionList(list);
  quit->SetEnabled(false);

  int ran = 0;
  open->OnExecute = [&](TObject*) { ++ran; };
  EXPECT_TRUE(open->Execute());
  EXPECT_EQ(ran, 1);
  bool handled = true;
  list->OnExecute = [&](TObject* a, bool& h) { h = handled && a == open; };
  EXPECT_TRUE(open->Execute());
  EXPECT_EQ(ran, 1);  // the list took it
  handled = false;
  open->Execute();
  EXPECT_EQ(ran, 2);
  quit->OnUpdate = [&](TObject*) { quit->SetEnabled(true); };
  EXPECT_FALSE(quit->Execute());  // enabled by its update, but has nothing to run
  EXPECT_TRUE(quit->GetEnabled());
  list->OnExecute = nullptr;
  open->OnExecute = nullptr;

  std::string text = ExpectRoundTrip(form.get(), list);
  ExpectDefaultsOmitted(open, text);
  size_t listAt = text.find("object ActionList1"), openAt = text.find("object FileOpen"),
         end = text.find("end", openAt);
  EXPECT_LT(listAt, openAt);
  EXPECT_NE(text.find("ShortCut = 16463"), std::string::npos) << text;
  auto copy = Reload();
  auto* list2 = static_cast<TActionList*>(copy->FindComponent("ActionList1"));
  ASSERT_EQ(list2->ActionCount(), 2);
  EXPECT_EQ(list2->Actions(0)->GetName(), "FileOpen");
  EXPECT_EQ(list2->Actions(0)->Owner(), copy.get());
  EXPECT_EQ(list2->Actions(0)->GetCategory(), "File");
  EXPECT_NE(end, std::string::npos);
  delete open;
  EXPECT_EQ(list->ActionCount(), 1);
}

}  // namespace
