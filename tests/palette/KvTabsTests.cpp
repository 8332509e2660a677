#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "Forms.h"
#include "KvTabs.h"
#include "StdCtrls.h"
#include "StdReg.h"

// A tab control whose properties are published, so that it can go through a form stream.
class TKvTabsTestControl : public TKvTabControl {
  KV_CLASS(TKvTabsTestControl, TKvTabControl)
 public:
  using TKvTabControl::TKvTabControl;
};

KV_IMPLEMENT_CLASS(TKvTabsTestControl, "KvTabsTests") {
  b.Prop("PageIndex", &TKvTabControl::GetPageIndex, &TKvTabControl::SetPageIndex).Default(0);
  b.Prop("Pages", &TKvTabControl::GetPages, &TKvTabControl::SetPages).Stored(false);
}

namespace {

struct KvTabsFixture : ::testing::Test {
  void SetUp() override {
    RegisterStandardClasses();
    RegisterClasses({TKvTabsTestControl::StaticClass(), TKvTabPage::StaticClass()});
    form = std::make_unique<TForm>(nullptr);
    form->SetName("KvTabsForm");
    form->SetBounds(0, 0, 400, 300);
  }
  TKvTabsTestControl* AddTabs(const char* name, TWinControl* parent, const std::string& pages) {
    auto* tc = new TKvTabsTestControl(form.get());
    tc->SetName(name);
    tc->SetParent(parent);
    tc->GetPages()->SetText(pages);
    return tc;
  }
  TKvTabsTestControl* AddTabs(const std::string& pages) { return AddTabs("Tabs1", form.get(), pages); }
  static std::vector<std::string> Captions(TKvTabControl* tc) {
    std::vector<std::string> out;
    for (int i = 0; i < tc->PageCount(); ++i) out.push_back(tc->Page(i)->GetCaption());
    return out;
  }
  static std::vector<std::string> StripTabs(TKvTabControl* tc) {
    std::vector<std::string> out;
    for (int i = 0; i < tc->GetTabs()->Count(); ++i) out.push_back(tc->GetTabs()->Get(i));
    return out;
  }
  // Only the selected page shows and takes input; the strip marks its tab.
  static void ExpectOnlyShown(TKvTabControl* tc, int index) {
    EXPECT_EQ(tc->GetPageIndex(), index);
    for (int i = 0; i < tc->PageCount(); ++i) {
      EXPECT_EQ(tc->Page(i)->GetVisible(), i == index) << "page " << i;
      EXPECT_EQ(tc->Page(i)->GetEnabled(), i == index) << "page " << i;
    }
    EXPECT_EQ(tc->TabStrip()->GetTabIndex(), index);
    EXPECT_EQ(StripTabs(tc), Captions(tc));
  }
  static void ClickTab(TKvTabControl* tc, int i) {
    TRect r = tc->TabStrip()->TabRects().at(i);
    TPoint p{(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
    tc->TabStrip()->Perform(WM_LBUTTONDOWN, MK_LBUTTON, PointToLParam(p));
    tc->TabStrip()->Perform(WM_LBUTTONUP, 0, PointToLParam(p));
  }
  std::unique_ptr<TForm> Reload(const std::string& text) {
    TMemoryStream in, bin;
    in.Write(text.data(), static_cast<int64_t>(text.size()));
    in.SetPosition(0);
    ObjectTextToBinary(&in, &bin);
    bin.SetPosition(0);
    auto copy = std::make_unique<TForm>(nullptr);
    bin.ReadComponent(copy.get());
    return copy;
  }
  std::unique_ptr<TForm> Reload() {
    TMemoryStream s;
    s.WriteComponent(form.get());
    s.SetPosition(0);
    auto copy = std::make_unique<TForm>(nullptr);
    s.ReadComponent(copy.get());
    return copy;
  }
  std::unique_ptr<TForm> form;
};

// ---------------------------------------------------------------------------------------------
TEST_F(KvTabsFixture, NewTabControlHasOneDefaultPage) {
  auto* tc = new TKvTabsTestControl(form.get());
  tc->SetParent(form.get());
  EXPECT_EQ(Captions(tc), std::vector<std::string>{"Default"});
  ExpectOnlyShown(tc, 0);
  EXPECT_EQ(tc->GetWidth(), 300);
  EXPECT_EQ(tc->GetHeight(), 250);
  EXPECT_TRUE(tc->GetTabStop());
  // The page fills the strip's area below the tabs.
  TRect area = tc->TabStrip()->DisplayRect();
  EXPECT_EQ(tc->Page(0)->BoundsRect(), area);
  EXPECT_GT(area.Top, 10);
}

TEST_F(KvTabsFixture, ArrowKeysWrapAroundThePagesAndClick) {
  auto* tc = AddTabs("A\r\nB\r\nC\r\n");
  tc->SetPageIndex(0);
  int clicks = 0;
  tc->OnClick = [&](TObject* s) { EXPECT_EQ(s, tc); ++clicks; };
  EXPECT_EQ(tc->Perform(WM_GETDLGCODE), DLGC_WANTARROWS);
  tc->Perform(WM_KEYDOWN, VK_LEFT);
  ExpectOnlyShown(tc, 2);
  EXPECT_EQ(clicks, 1);
  tc->Perform(WM_KEYDOWN, VK_DOWN);
  ExpectOnlyShown(tc, 0);
  tc->Perform(WM_KEYDOWN, VK_UP);
  tc->Perform(WM_KEYDOWN, VK_UP);
  ExpectOnlyShown(tc, 1);
  tc->Perform(WM_KEYDOWN, VK_HOME);  // not a page key
  ExpectOnlyShown(tc, 1);
  EXPECT_EQ(clicks, 4);

  // Through the platform's input, to the focused tab control.
  form->Show();
  Application->ProcessMessages();
  tc->SetFocus();
  Application->ProcessMessages();
  ASSERT_TRUE(tc->Focused());
  SendInput(form.get(), WM_KEYDOWN, {0, 0}, 0, VK_RIGHT);
  Application->ProcessMessages();
  ExpectOnlyShown(tc, 2);
  EXPECT_EQ(clicks, 5);

  // Without pages the keys do nothing.
  tc->GetPages()->Clear();
  tc->Perform(WM_KEYDOWN, VK_RIGHT);
  EXPECT_EQ(tc->GetPageIndex(), -1);
}

TEST_F(KvTabsFixture, OnChangeVetoesEveryWayOfChangingThePage) {
  auto* tc = AddTabs("One\r\nTwo\r\nThree\r\n");
  tc->SetPageIndex(0);
  std::vector<int> asked;
  bool allow = false;
  tc->OnChange = [&](TObject*, int newTab, bool& a) { asked.push_back(newTab), a = allow; };
  tc->SetPageIndex(2);
  tc->SetActivePage("two");
  tc->Perform(WM_KEYDOWN, VK_RIGHT);
  ClickTab(tc, 2);
  EXPECT_EQ(asked, (std::vector<int>{2, 1, 1, 2}));
  // Nothing moved, and the strip went back to the visible page's tab after the click.
  ExpectOnlyShown(tc, 0);
  allow = true;
  ClickTab(tc, 2);
  ExpectOnlyShown(tc, 2);
  EXPECT_EQ(tc->GetActivePage(), "Three");
  // Out of range, or the page shown already: nothing is asked.
  asked.clear();
  tc->SetPageIndex(3);
  tc->SetPageIndex(-1);
  tc->SetPageIndex(2);
  tc->SetActivePage("missing");
  EXPECT_TRUE(asked.empty());
  ExpectOnlyShown(tc, 2);
}

TEST_F(KvTabsFixture, ClickOnATabThroughThePlatformShowsItsPage) {
  auto* tc = AddTabs("One\r\nTwo\r\n");
  tc->SetPageIndex(0);
  form->Show();
  Application->ProcessMessages();
  TRect r = tc->TabStrip()->TabRects().at(1);
  TPoint p{tc->GetLeft() + (r.Left + r.Right) / 2, tc->GetTop() + (r.Top + r.Bottom) / 2};
  SendInput(form.get(), WM_LBUTTONDOWN, p, MK_LBUTTON);
  SendInput(form.get(), WM_LBUTTONUP, p);
  Application->ProcessMessages();
  ExpectOnlyShown(tc, 1);
  EXPECT_TRUE(tc->Focused()) << "the arrows go on from the clicked tab";
}

TEST_F(KvTabsFixture, DeletingPagesKeepsAVisiblePage) {
  auto* tc = AddTabs("A\r\nB\r\nC\r\nD\r\n");
  tc->SetPageIndex(2);
  tc->GetPages()->Delete(0);  // before the visible one: same page, one index lower
  EXPECT_EQ(Captions(tc), (std::vector<std::string>{"B", "C", "D"}));
  ExpectOnlyShown(tc, 1);
  EXPECT_EQ(tc->GetActivePage(), "C");
  tc->GetPages()->Delete(1);  // the visible one: page 0 shows
  ExpectOnlyShown(tc, 0);
  EXPECT_EQ(tc->GetActivePage(), "B");
  // A page freed by anyone leaves the list and the strip with it.
  delete tc->Page(1);
  EXPECT_EQ(Captions(tc), std::vector<std::string>{"B"});
  ExpectOnlyShown(tc, 0);
  EXPECT_THROW(tc->GetPages()->Delete(1), EStringListError);
  EXPECT_THROW(tc->GetPages()->Insert(3, "X"), EStringListError);
  tc->GetPages()->Delete(0);
  EXPECT_EQ(tc->PageCount(), 0);
  EXPECT_EQ(tc->GetPageIndex(), -1);
  EXPECT_EQ(tc->GetActivePage(), "");
  EXPECT_EQ(tc->TabStrip()->GetWidth(), 0) << "no pages: no strip";
  tc->GetPages()->Add("New");
  ExpectOnlyShown(tc, 0);
  EXPECT_EQ(tc->TabStrip()->BoundsRect(), tc->GetClientRect());
}

TEST_F(KvTabsFixture, InsertedPageIsTheOnlyVisibleOne) {
  auto* tc = AddTabs("A\r\nB\r\n");
  tc->SetPageIndex(1);
  tc->GetPages()->Insert(0, "First");
  EXPECT_EQ(Captions(tc), (std::vector<std::string>{"First", "A", "B"}));
  ExpectOnlyShown(tc, 0);
  // Refused, the page shown before stays shown, under its new index.
  tc->SetPageIndex(2);
  tc->OnChange = [](TObject*, int, bool& a) { a = false; };
  tc->GetPages()->Insert(1, "Late");
  EXPECT_EQ(Captions(tc), (std::vector<std::string>{"First", "Late", "A", "B"}));
  ExpectOnlyShown(tc, 3);
}

TEST_F(KvTabsFixture, MoveExchangesPagesWithTheirControls) {
  auto* tc = AddTabs("A\r\nB\r\nC\r\n");
  tc->SetPageIndex(0);
  auto* onA = new TButton(form.get());
  onA->SetName("OnA");
  onA->SetParent(tc->Page(0));
  TKvTabPage* pageA = tc->Page(0);
  int asked = 0;
  tc->OnChange = [&](TObject*, int, bool& a) { ++asked, a = false; };
  static_cast<TKvTabPageAccess*>(tc->GetPages())->Move(0, 2);
  EXPECT_EQ(Captions(tc), (std::vector<std::string>{"C", "B", "A"}));
  EXPECT_EQ(tc->Page(2), pageA);
  EXPECT_EQ(onA->GetParent(), pageA);
  // The visible page stays visible under its new index; that is no page change.
  ExpectOnlyShown(tc, 2);
  EXPECT_EQ(asked, 0);
  tc->GetPages()->Exchange(1, 2);
  EXPECT_EQ(Captions(tc), (std::vector<std::string>{"C", "A", "B"}));
  ExpectOnlyShown(tc, 1);
  tc->GetPages()->Exchange(0, 2);
  ExpectOnlyShown(tc, 1);
}

TEST_F(KvTabsFixture, AssignKeepsMatchingPagesInTheGivenOrder) {
  auto* tc = AddTabs("X\r\nZ\r\nY\r\n");
  auto* onY = new TButton(form.get());
  onY->SetName("OnY");
  onY->SetParent(tc->Page(2));
  TKvTabPage* pageY = tc->Page(2);
  TStringList want;
  want.SetText("X\r\nY\r\n");
  tc->SetPages(&want);
  EXPECT_EQ(Captions(tc), (std::vector<std::string>{"X", "Y"}));
  EXPECT_EQ(tc->Page(1), pageY);
  EXPECT_EQ(onY->GetParent(), pageY);
  ExpectOnlyShown(tc, 0);
  // New names become pages; matching ignores case, so the old spelling stays.
  want.SetText("W\r\nx\r\nY\r\n");
  tc->GetPages()->Assign(&want);
  EXPECT_EQ(Captions(tc), (std::vector<std::string>{"W", "X", "Y"}));
  EXPECT_EQ(tc->Page(2), pageY);
  // Assigned its own captions, or the strip's tabs, with a name twice: done, nothing lost.
  tc->GetPages()->Put(1, "W");
  tc->GetPages()->Assign(tc->GetPages());
  tc->SetPages(tc->GetTabs());
  EXPECT_EQ(Captions(tc), (std::vector<std::string>{"W", "W", "Y"}));
  EXPECT_EQ(tc->Page(2), pageY);
  // Assigning nothing leaves no page.
  want.Clear();
  tc->SetPages(&want);
  EXPECT_EQ(tc->PageCount(), 0);
  EXPECT_EQ(tc->GetPageIndex(), -1);
  EXPECT_EQ(form->FindComponent("OnY"), nullptr) << "controls go with their page";
}

TEST_F(KvTabsFixture, PropertiesFollowTheStrip) {
  auto* tc = AddTabs("&General\r\nAdvanced\r\n");
  tc->SetPageIndex(0);
  tc->SetTabsPerRow(2);
  EXPECT_EQ(tc->GetTabsPerRow(), 3);
  tc->SetTabsPerRow(5);
  EXPECT_EQ(tc->GetTabsPerRow(), 5);
  EXPECT_EQ(tc->GetIndexForPage("Advanced"), 1);
  EXPECT_EQ(tc->GetIndexForPage("advanced"), -1);
  tc->GetPages()->Put(1, "More");
  EXPECT_EQ(StripTabs(tc), (std::vector<std::string>{"&General", "More"}));
  EXPECT_EQ(tc->GetTabFont(), tc->TabStrip()->GetFont());
  EXPECT_EQ(tc->GetTabFont()->GetColor(), clBtnText);
  // A larger tab font makes taller tabs; the pages move down with them.
  int top = tc->Page(0)->GetTop();
  tc->GetTabFont()->SetSize(20);
  EXPECT_GT(tc->Page(0)->GetTop(), top);
  // TabIndex puts the strip on a tab; Change then shows its page.
  tc->SetTabIndex(1);
  EXPECT_EQ(tc->TabStrip()->GetTabIndex(), 1);
  EXPECT_EQ(tc->GetPageIndex(), 0);
  tc->SetTabIndex(5);  // no such tab: the strip stays
  EXPECT_EQ(tc->TabStrip()->GetTabIndex(), 1);
}

TEST_F(KvTabsFixture, AcceleratorOfACaptionSelectsItsPage) {
  auto* tc = AddTabs("&General\r\n&Advanced\r\n");
  tc->SetPageIndex(0);
  auto* edit = new TEdit(form.get());
  edit->SetParent(tc->Page(0));
  int clicks = 0;
  tc->OnClick = [&](TObject*) { ++clicks; };
  // Before the form shows, the tab control cannot take the focus: the character is taken,
  // the page stays.
  EXPECT_NE(tc->Perform(CM_DIALOGCHAR, 'a'), 0);
  EXPECT_EQ(tc->GetPageIndex(), 0);
  EXPECT_EQ(clicks, 0);
  form->Show();
  Application->ProcessMessages();
  edit->SetFocus();
  Application->ProcessMessages();
  EXPECT_NE(form->Perform(CM_DIALOGCHAR, 'a'), 0);
  Application->ProcessMessages();
  ExpectOnlyShown(tc, 1);
  EXPECT_EQ(clicks, 1);
  EXPECT_TRUE(tc->Focused()) << "focus leaves the hidden page";
  EXPECT_EQ(form->GetActiveControl(), tc);
  // A character that no caption has goes on to the controls on the pages.
  EXPECT_EQ(form->Perform(CM_DIALOGCHAR, 'z'), 0);
}

// ---------------------------------------------------------------------------------------------
TEST_F(KvTabsFixture, PagesStreamAsUnnamedChildrenWithTheirControls) {
  auto* tc = AddTabs("General\r\nAdvanced\r\n");
  tc->SetPageIndex(1);
  auto* button = new TButton(form.get());
  button->SetName("Button1");
  button->SetParent(tc->Page(1));
  button->SetCaption("Press");
  TMemoryStream bin, text;
  bin.WriteComponent(form.get());
  bin.SetPosition(0);
  ObjectBinaryToText(&bin, &text);
  std::string t(reinterpret_cast<const char*>(text.Memory()), text.GetSize());
  EXPECT_NE(t.find("object TKvTabPage\r\n"), std::string::npos) << t;
  EXPECT_NE(t.find("Caption = 'Advanced'"), std::string::npos) << t;
  // A page stores its caption and place only: the tab control sizes, shows and enables it.
  size_t page = t.find("object TKvTabPage");
  std::string pageText = t.substr(page, t.find("end", page) - page);
  for (const char* prop : {"Width", "Height", "Visible", "Enabled", "TabOrder"})
    EXPECT_EQ(pageText.find(prop), std::string::npos) << prop << " in " << pageText;

  auto copy = Reload();
  auto* tc2 = static_cast<TKvTabControl*>(copy->FindComponent("Tabs1"));
  ASSERT_NE(tc2, nullptr);
  EXPECT_EQ(Captions(tc2), (std::vector<std::string>{"General", "Advanced"}));  // no default page
  ExpectOnlyShown(tc2, 1);
  auto* button2 = static_cast<TControl*>(copy->FindComponent("Button1"));
  ASSERT_NE(button2, nullptr);
  EXPECT_EQ(button2->GetParent(), tc2->Page(1));
  EXPECT_EQ(tc2->Page(0)->GetParent(), tc2->TabStrip());
  EXPECT_EQ(tc2->Page(0)->Owner(), tc2->TabStrip());
  EXPECT_EQ(tc2->Page(1)->BoundsRect(), tc2->TabStrip()->DisplayRect());
  // The copy works as the original: pages edit and switch.
  tc2->GetPages()->Delete(0);
  ExpectOnlyShown(tc2, 0);
  EXPECT_EQ(button2->GetParent(), tc2->Page(0));
}

TEST_F(KvTabsFixture, NestedTabControlsEachKeepTheirPages) {
  auto* outer = AddTabs("Outer1\r\nOuter2\r\nOuter3\r\n");
  AddTabs("Inner", outer->Page(0), "In1\r\nIn2\r\n");
  auto copy = Reload();
  auto* outer2 = static_cast<TKvTabControl*>(copy->FindComponent("Tabs1"));
  auto* inner2 = static_cast<TKvTabControl*>(copy->FindComponent("Inner"));
  ASSERT_TRUE(outer2 && inner2);
  EXPECT_EQ(Captions(outer2), (std::vector<std::string>{"Outer1", "Outer2", "Outer3"}));
  EXPECT_EQ(Captions(inner2), (std::vector<std::string>{"In1", "In2"}));
  EXPECT_EQ(inner2->GetParent(), outer2->Page(0));
}

TEST_F(KvTabsFixture, StoredPageIndexOutsideThePagesFallsBack) {
  const char* head = "object KvTabsForm: TForm\r\n  object Tabs1: TKvTabsTestControl\r\n";
  auto read = [&](const std::string& body) {
    return Reload(std::string(head) + body + "  end\r\nend\r\n");
  };
  auto two = read(
      "    PageIndex = 5\r\n"
      "    object TKvTabPage\r\n      Caption = 'A'\r\n    end\r\n"
      "    object TKvTabPage\r\n      Caption = 'B'\r\n    end\r\n");
  auto* tc = static_cast<TKvTabControl*>(two->FindComponent("Tabs1"));
  ASSERT_NE(tc, nullptr);
  EXPECT_EQ(Captions(tc), (std::vector<std::string>{"A", "B"}));
  ExpectOnlyShown(tc, 0);
  auto none = read("    PageIndex = 1\r\n");
  tc = static_cast<TKvTabControl*>(none->FindComponent("Tabs1"));
  ASSERT_NE(tc, nullptr);
  EXPECT_EQ(tc->PageCount(), 0);
  EXPECT_EQ(tc->GetPageIndex(), -1);
  EXPECT_EQ(tc->GetActivePage(), "");
}

}  // namespace
