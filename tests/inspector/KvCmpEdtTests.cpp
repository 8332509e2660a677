// Paged containers at design time: a click on a tab shows its page, and the component editors'
// verbs (context menu, double click) add, step through and delete pages of a design.
#include <filesystem>

#include "ComCtrls.h"
#include "DesignerFixture.h"
#include "ExtCtrls.h"
#include "KvCmpEdt.h"
#include "KvTbNtBk.h"
#include "Tabnotbk.h"

namespace {

namespace fs = std::filesystem;

class PageEditorTest : public DesignerTest {
 protected:
  TPageControl* PageControl(int pages) {
    auto* pc = Add<TPageControl>("PageControl1", 16, 16, 300, 200);
    for (int i = 0; i < pages; ++i) {
      auto* sheet = new TTabSheet(Form());
      sheet->SetName("TabSheet" + std::to_string(i + 1));
      sheet->SetPageControl(pc);
    }
    pc->SetActivePageIndex(0);
    return pc;
  }
  // The form-client centre of tab i.
  TPoint TabPoint(TCustomTabControl* tabs, int i) {
    TRect r = tabs->TabRects().at(i);
    return Form()->ScreenToClient(tabs->ClientToScreen({(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2}));
  }
  void Click(TPoint p) {
    Press(p);
    Release(p);
  }
  void RightClick(TPoint p) {
    SendInput(Form(), WM_RBUTTONDOWN, p, MK_RBUTTON);
    SendInput(Form(), WM_RBUTTONUP, p);
  }
  std::vector<std::string> PopupCaptions() {
    std::vector<std::string> out;
    TMenuItem* items = Engine->GetPopupMenu()->Items();
    for (int i = 0; i < items->Count(); ++i) out.push_back(items->Items(i)->GetCaption());
    Engine->GetPopupMenu()->ClosePopup();
    return out;
  }
  void Choose(TPoint at, const std::string& caption) {
    RightClick(at);
    TMenuItem* items = Engine->GetPopupMenu()->Items();
    TMenuItem* item = nullptr;
    for (int i = 0; i < items->Count() && !item; ++i)
      if (items->Items(i)->GetCaption() == caption) item = items->Items(i);
    ASSERT_TRUE(item && TriggerMenuItem(item)) << caption;
    Application->ProcessMessages();
    Engine->GetPopupMenu()->ClosePopup();
  }
  // Saves the design, closes it and opens the file in a new design.
  TCustomForm* SaveAndReopen() {
    fs::path dir = fs::temp_directory_path() / "kvcmpedt";
    fs::create_directories(dir);
    fs::path file = dir / (std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + ".dfm");
    Engine->WriteUnits(file.string(), false);
    Engine->Destroy();
    Engine = nullptr;
    Designer->OpenForm(file.string());
    fs::remove(file);
    return Designer->FDesignerWindow->CurrentDesigner()->GetForm();
  }
};

}  // namespace

TEST_F(PageEditorTest, AClickOnAnotherTabShowsItsPageAndMarksTheDesignModified) {
  TPageControl* pc = PageControl(3);
  auto* onSecond = Add<TButton>("Button1", 8, 8, 75, 25, pc->Pages(1));
  Engine->FModified = false;
  EXPECT_EQ(pc->Perform(CM_DESIGNHITTEST, 0, PointToLParam(pc->ScreenToClient(Form()->ClientToScreen(TabPoint(pc, 0))))), 0);
  EXPECT_FALSE(onSecond->Showing());  // a hidden page is hidden at design time too

  Click(TabPoint(pc, 1));
  EXPECT_EQ(pc->GetActivePage(), pc->Pages(1));
  EXPECT_TRUE(onSecond->Showing());
  EXPECT_FALSE(pc->Pages(0)->Showing());
  EXPECT_EQ(Engine->SelectedComponent(), pc);
  EXPECT_TRUE(Engine->FModified);
  EXPECT_EQ(Engine->DragState(), kdNone);

  // The current tab is the designer's: pressing and dragging it moves the page control.
  Drag(TabPoint(pc, 1), {TabPoint(pc, 1).X + 16, TabPoint(pc, 1).Y + 8});
  EXPECT_EQ(pc->GetActivePage(), pc->Pages(1));
  EXPECT_EQ(pc->GetLeft(), 32);
}

TEST_F(PageEditorTest, TheContextMenuOffersThePageVerbsOfTheControlUnderTheClick) {
  TPageControl* pc = PageControl(0);
  auto* button = Add<TButton>("Button1", 16, 240, 75, 25);
  RightClick({100, 100});
  EXPECT_EQ(PopupCaptions(), (std::vector<std::string>{"New Page", "Next Page", "Previous Page", "-", "Align To &Grid",
                                                       "Bring To &Front", "Send To &Back", "-", "&Align...", "&Size..."}));
  Choose({100, 100}, "New Page");
  ASSERT_EQ(pc->PageCount(), 1);
  TTabSheet* page = pc->Pages(0);
  EXPECT_EQ(page->GetName(), "TabSheet1");
  EXPECT_EQ(page->GetCaption(), "TabSheet1");
  EXPECT_EQ(page->Owner(), Form());
  EXPECT_EQ(Engine->SelectedComponent(), page);
  EXPECT_TRUE(Engine->FModified);

  // A tab sheet has the same verbs, now with Delete Page; a button has none left over.
  RightClick({100, 100});
  EXPECT_EQ(PopupCaptions().at(3), "Delete Page");
  RightClick({20, 250});
  EXPECT_EQ(PopupCaptions().front(), "Align To &Grid");
  EXPECT_EQ(Engine->SelectedComponent(), button);
}

TEST_F(PageEditorTest, DoubleClickAddsUniquelyNamedPagesThatAreSavedAndReadBack) {
  TPageControl* pc = PageControl(0);
  Add<TButton>("TabSheet2", 16, 240, 75, 25);  // the name a second page would take
  SendInput(Form(), WM_LBUTTONDBLCLK, {100, 100}, MK_LBUTTON);
  SendInput(Form(), WM_LBUTTONDBLCLK, {100, 100}, MK_LBUTTON);
  ASSERT_EQ(pc->PageCount(), 2);
  EXPECT_EQ(pc->Pages(1)->GetName(), "TabSheet3");
  EXPECT_EQ(pc->GetActivePage(), pc->Pages(1));
  Add<TEdit>("Edit1", 8, 8, 120, 21, pc->Pages(1));

  TCustomForm* again = SaveAndReopen();
  auto* pc2 = dynamic_cast<TPageControl*>(again->FindComponent("PageControl1"));
  ASSERT_NE(pc2, nullptr);
  ASSERT_EQ(pc2->PageCount(), 2);
  EXPECT_EQ(pc2->Pages(0)->GetName(), "TabSheet1");
  EXPECT_EQ(pc2->Pages(1)->GetCaption(), "TabSheet3");
  EXPECT_EQ(static_cast<TControl*>(again->FindComponent("Edit1"))->GetParent(), pc2->Pages(1));
  EXPECT_EQ(pc2->GetActivePage(), pc2->Pages(1));
}

TEST_F(PageEditorTest, NextPreviousWrapAndDeleteFreesThePageWithItsControls) {
  TPageControl* pc = PageControl(3);
  auto* onFirst = Add<TButton>("Button1", 8, 8, 75, 25, pc->Pages(0));
  Choose({100, 100}, "Previous Page");
  EXPECT_EQ(pc->GetActivePageIndex(), 2);
  Choose({100, 100}, "Next Page");
  EXPECT_EQ(pc->GetActivePageIndex(), 0);

  // The page's control is selected when its page goes: the selection lets go of both first.
  Engine->SelectComponent(onFirst);
  std::unique_ptr<TComponentEditor> editor(GetComponentEditor(pc, Engine));
  ASSERT_EQ(editor->GetVerbCount(), 4);
  editor->ExecuteVerb(3);
  EXPECT_EQ(pc->PageCount(), 2);
  EXPECT_EQ(Form()->FindComponent("Button1"), nullptr);
  EXPECT_EQ(Form()->FindComponent("TabSheet1"), nullptr);
  EXPECT_EQ(Engine->SelectedComponent(), pc);
  EXPECT_EQ(pc->GetActivePage(), pc->Pages(0));
  EXPECT_EQ(Engine->MarkerCount(), 1);
}

TEST_F(PageEditorTest, NotebooksStepThroughTheirPagesAndTheirTabsAnswerClicks) {
  auto* notebook = Add<TNotebook>("Notebook1", 16, 16, 200, 100);
  notebook->GetPages()->Add("Two");  // after "Default"
  auto* tabbed = Add<TTabbedNotebook>("TabbedNotebook1", 16, 130, 300, 150);
  tabbed->GetPages()->Add("Two");
  auto* palette = Add<TKvTabbedNotebook>("KvTabbedNotebook1", 330, 16, 200, 80);
  palette->GetPages()->Add("A");
  palette->GetPages()->Add("B");

  for (TComponent* c : std::initializer_list<TComponent*>{notebook, tabbed, palette}) {
    std::unique_ptr<TComponentEditor> editor(GetComponentEditor(c, Engine));
    ASSERT_EQ(editor->GetVerbCount(), 2) << c->GetName();
    EXPECT_EQ(editor->GetVerb(0), "Next Page");
    const int last = static_cast<TStrings*>(GetObjectProp(c, GetPropInfo(c, "Pages")))->Count() - 1;
    SetOrdProp(c, "PageIndex", 0);
    editor->ExecuteVerb(1);
    EXPECT_EQ(GetOrdProp(c, "PageIndex"), last) << c->GetName();  // back from the first: the last
    Engine->FModified = false;
    editor->Edit();
    EXPECT_EQ(GetOrdProp(c, "PageIndex"), 0) << c->GetName();
    EXPECT_TRUE(Engine->FModified);
  }

  Click(TabPoint(tabbed, 1));
  EXPECT_EQ(tabbed->GetPageIndex(), 1);
  TTabControl* strip = palette->TabStrip();
  Click(TabPoint(strip, 1));
  EXPECT_EQ(palette->GetPageIndex(), 1);
  EXPECT_EQ(Engine->SelectedComponent(), palette);
}
