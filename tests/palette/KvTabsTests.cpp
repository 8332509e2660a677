#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "FormText.h"
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
}

namespace {

using TNames = std::vector<std::string>;

struct KvTabsFixture : ::testing::Test {
  void SetUp() override {
    RegisterStandardClasses();
    RegisterClasses({TKvTabsTestControl::StaticClass(), TKvTabPage::StaticClass()});
    form = std::make_unique<TForm>(nullptr);
    form->SetName("KvTabsForm");
    form->SetBounds(0, 0, 400, 300);
  }
  TKvTabControl* AddTabs(const std::string& pages, TWinControl* parent = nullptr, const char* name = "Tabs1") {
    auto* tc = new TKvTabsTestControl(form.get());
    tc->SetName(name);
    tc->SetParent(parent ? parent : form.get());
    tc->GetPages()->SetText(pages);
    tc->SetPageIndex(0);
    return tc;
  }
  static TNames Captions(TKvTabControl* tc) {
    TNames out;
    for (int i = 0; i < tc->PageCount(); ++i) out.push_back(tc->Page(i)->GetCaption());
    return out;
  }
  // Only the selected page shows and takes input; the strip's tabs and marked tab follow.
  static void ExpectOnlyShown(TKvTabControl* tc, int index) {
    EXPECT_EQ(tc->GetPageIndex(), index);
    for (int i = 0; i < tc->PageCount(); ++i) {
      EXPECT_EQ(tc->Page(i)->GetVisible(), i == index) << "page " << i;
      EXPECT_EQ(tc->Page(i)->GetEnabled(), i == index) << "page " << i;
    }
    EXPECT_EQ(tc->TabStrip()->GetTabIndex(), index);
    EXPECT_EQ(tc->GetTabs()->GetText(), tc->GetPages()->GetText());
  }
  static void ClickTab(TKvTabControl* tc, int i) {
    TRect r = tc->TabStrip()->TabRects().at(i);
    intptr_t at = PointToLParam({r.Left + 5, r.Top + 5});
    tc->TabStrip()->Perform(WM_LBUTTONDOWN, MK_LBUTTON, at);
    tc->TabStrip()->Perform(WM_LBUTTONUP, 0, at);
  }
  // Reads a form stream given as text (or, when empty, the form as written) into a new form.
  std::unique_ptr<TForm> Reload(const std::string& text = "") {
    if (!text.empty()) return ReadFormText(text);
    TMemoryStream bin;
    bin.WriteComponent(form.get());
    bin.SetPosition(0);
    auto copy = std::make_unique<TForm>(nullptr);
    bin.ReadComponent(copy.get());
    return copy;
  }
  std::unique_ptr<TForm> form;
};

// ---------------------------------------------------------------------------------------------
TEST_F(KvTabsFixture, ArrowKeysAndCaptionAcceleratorsChangePagesThenClick) {
  auto* tc = AddTabs("&General\r\n&Advanced\r\nMore\r\n");
  auto* edit = new TEdit(form.get());
  edit->SetParent(tc->Page(0));
  int clicks = 0;
  tc->OnClick = [&](TObject*) { ++clicks; };
  EXPECT_EQ(tc->Perform(WM_GETDLGCODE), DLGC_WANTARROWS);
  tc->Perform(WM_KEYDOWN, VK_LEFT);
  ExpectOnlyShown(tc, 2);
  tc->Perform(WM_KEYDOWN, VK_DOWN);
  ExpectOnlyShown(tc, 0);
  tc->Perform(WM_KEYDOWN, VK_HOME);               // not a page key
  EXPECT_NE(tc->Perform(CM_DIALOGCHAR, 'a'), 0);  // cannot take the focus yet: taken, no change
  EXPECT_EQ(tc->GetPageIndex(), 0);
  EXPECT_EQ(clicks, 2);
  form->Show();
  Application->ProcessMessages();
  edit->SetFocus();
  Application->ProcessMessages();
  EXPECT_NE(form->Perform(CM_DIALOGCHAR, 'a'), 0);
  ExpectOnlyShown(tc, 1);
  EXPECT_TRUE(tc->Focused()) << "focus leaves the hidden page";
  EXPECT_EQ(form->Perform(CM_DIALOGCHAR, 'z'), 0);
  // Through the platform's input to the focused tab control.
  SendInput(form.get(), WM_KEYDOWN, {0, 0}, 0, VK_RIGHT);
  Application->ProcessMessages();
  ExpectOnlyShown(tc, 2);
  EXPECT_EQ(clicks, 4);
}

TEST_F(KvTabsFixture, OnChangeVetoesEveryWayOfChangingThePage) {
  auto* tc = AddTabs("One\r\nTwo\r\nThree\r\n");
  std::vector<int> asked;
  bool allow = false;
  tc->OnChange = [&](TObject*, int newTab, bool& a) { asked.push_back(newTab), a = allow; };
  tc->SetPageIndex(2);
  tc->SetActivePage("two");
  tc->Perform(WM_KEYDOWN, VK_RIGHT);
  ClickTab(tc, 2);
  EXPECT_EQ(asked, (std::vector<int>{2, 1, 1, 2}));
  ExpectOnlyShown(tc, 0);  // the strip, too, is back on the visible page's tab
  allow = true;
  ClickTab(tc, 2);
  ExpectOnlyShown(tc, 2);
  asked.clear();
  tc->SetPageIndex(3);
  tc->SetPageIndex(2);
  tc->SetActivePage("missing");
  EXPECT_TRUE(asked.empty());
}

TEST_F(KvTabsFixture, EditingThePagesKeepsOneVisiblePage) {
  auto* tc = AddTabs("A\r\nB\r\nC\r\nD\r\n");
  tc->SetPageIndex(2);
  tc->GetPages()->Delete(0);  // before the visible one: the same page, one index lower
  ExpectOnlyShown(tc, 1);
  EXPECT_EQ(tc->GetActivePage(), "C");
  tc->GetPages()->Delete(1);  // the visible one: page 0 shows
  ExpectOnlyShown(tc, 0);
  EXPECT_EQ(tc->GetActivePage(), "B");
  delete tc->Page(1);  // a page freed by anyone leaves the list and the strip
  EXPECT_EQ(Captions(tc), TNames{"B"});
  EXPECT_THROW(tc->GetPages()->Delete(1), EStringListError);
  // An inserted page is the one shown; refused, the page shown before stays shown.
  tc->GetPages()->Insert(0, "First");
  ExpectOnlyShown(tc, 0);
  tc->OnChange = [](TObject*, int, bool& a) { a = false; };
  tc->GetPages()->Insert(0, "Late");
  EXPECT_EQ(Captions(tc), (TNames{"Late", "First", "B"}));
  ExpectOnlyShown(tc, 1);
  tc->OnChange = nullptr;
  TStringList none;
  tc->SetPages(&none);
  tc->Perform(WM_KEYDOWN, VK_RIGHT);  // no page to go to
  EXPECT_EQ(tc->PageCount(), 0);
  EXPECT_EQ(tc->GetPageIndex(), -1);
  EXPECT_EQ(tc->GetActivePage(), "");
  EXPECT_EQ(tc->TabStrip()->GetWidth(), 0) << "no pages: no strip";
  tc->GetPages()->Add("New");
  ExpectOnlyShown(tc, 0);
  EXPECT_EQ(tc->TabStrip()->BoundsRect(), tc->GetClientRect());
  EXPECT_EQ(tc->Page(0)->BoundsRect(), tc->TabStrip()->DisplayRect());
}

TEST_F(KvTabsFixture, MoveAndAssignKeepPagesWithTheirControls) {
  auto* tc = AddTabs("A\r\nB\r\nC\r\n");
  auto* onA = new TButton(form.get());
  onA->SetParent(tc->Page(0));
  TKvTabPage* pageA = tc->Page(0);
  int asked = 0;
  tc->OnChange = [&](TObject*, int, bool& a) { ++asked, a = false; };
  static_cast<TKvTabPageAccess*>(tc->GetPages())->Move(0, 2);  // an exchange
  EXPECT_EQ(Captions(tc), (TNames{"C", "B", "A"}));
  EXPECT_EQ(tc->Page(2), pageA);
  ExpectOnlyShown(tc, 2);  // the same page, under its new index: no page change
  EXPECT_EQ(asked, 0);
  tc->OnChange = nullptr;

  TStringList want;
  want.SetText("X\r\nZ\r\nA\r\n");
  tc->SetPages(&want);
  EXPECT_EQ(tc->Page(2), pageA) << "an existing caption keeps its page";
  want.SetText("X\r\nA\r\n");
  tc->SetPages(&want);
  EXPECT_EQ(Captions(tc), (TNames{"X", "A"}));
  EXPECT_EQ(tc->Page(1), pageA);
  EXPECT_EQ(onA->GetParent(), pageA);
  ExpectOnlyShown(tc, 0);
  // Its own captions, or the strip's tabs, with a name twice: the lists are read before they
  // change, so this ends.
  tc->GetPages()->Put(1, "X");
  tc->GetPages()->Assign(tc->GetPages());
  tc->SetPages(tc->GetTabs());
  EXPECT_EQ(Captions(tc), (TNames{"X", "X"}));
  tc->SetTabsPerRow(2);
  EXPECT_EQ(tc->GetTabsPerRow(), 3);
}

// ---------------------------------------------------------------------------------------------
TEST_F(KvTabsFixture, PagesStreamAsUnnamedChildrenNestedOnesToo) {
  auto* tc = AddTabs("General\r\nAdvanced\r\nMore\r\n");
  auto* inner = AddTabs("In1\r\nIn2\r\n", tc->Page(0), "Inner");
  auto* button = new TButton(form.get());
  button->SetName("Button1");
  button->SetParent(tc->Page(1));
  tc->SetPageIndex(1);
  TMemoryStream bin, text;
  bin.WriteComponent(form.get());
  bin.SetPosition(0);
  ObjectBinaryToText(&bin, &text);
  std::string t(reinterpret_cast<const char*>(text.Memory()), text.GetSize());
  size_t page = t.find("object TKvTabPage\r\n");
  ASSERT_NE(page, std::string::npos) << t;
  std::string pageText = t.substr(page, std::min(t.find("end", page), t.find("object", page + 1)) - page);
  EXPECT_NE(pageText.find("Caption = 'General'"), std::string::npos) << pageText;
  for (const char* prop : {"Width", "Height", "Visible", "Enabled", "TabOrder"})
    EXPECT_EQ(pageText.find(prop), std::string::npos) << prop << " in " << pageText;

  auto copy = Reload();
  auto* tc2 = static_cast<TKvTabControl*>(copy->FindComponent("Tabs1"));
  auto* inner2 = static_cast<TKvTabControl*>(copy->FindComponent("Inner"));
  ASSERT_TRUE(tc2 && inner2);
  EXPECT_EQ(Captions(tc2), Captions(tc));  // no default page, and none lost to the inner one
  EXPECT_EQ(Captions(inner2), Captions(inner));
  ExpectOnlyShown(tc2, 1);
  EXPECT_EQ(inner2->GetParent(), tc2->Page(0));
  EXPECT_EQ(static_cast<TControl*>(copy->FindComponent("Button1"))->GetParent(), tc2->Page(1));
  EXPECT_EQ(tc2->Page(1)->BoundsRect(), tc2->TabStrip()->DisplayRect());
  tc2->GetPages()->Delete(1);  // the copy edits as the original does
  ExpectOnlyShown(tc2, 0);
}

TEST_F(KvTabsFixture, StoredPageIndexOutsideThePagesFallsBack) {
  auto read = [&](const std::string& body) {
    return Reload("object KvTabsForm: TForm\r\n  object Tabs1: TKvTabsTestControl\r\n" + body + "  end\r\nend\r\n");
  };
  auto two = read(
      "    PageIndex = 5\r\n    object TKvTabPage\r\n      Caption = 'A'\r\n    end\r\n"
      "    object TKvTabPage\r\n      Caption = 'B'\r\n    end\r\n");
  auto* tc = static_cast<TKvTabControl*>(two->FindComponent("Tabs1"));
  ASSERT_NE(tc, nullptr);
  EXPECT_EQ(Captions(tc), (TNames{"A", "B"}));
  ExpectOnlyShown(tc, 0);
  auto none = read("    PageIndex = 1\r\n");
  tc = static_cast<TKvTabControl*>(none->FindComponent("Tabs1"));
  ASSERT_NE(tc, nullptr);
  EXPECT_EQ(tc->PageCount(), 0);
  EXPECT_EQ(tc->GetPageIndex(), -1);
}

}  // namespace
