// The inspector component and its window: rows, expansion, geometry, the component list, the
// engine's messages and the engines and windows that go first.
#include "InspectorFixture.h"

#include "Classes.h"
#include "ExtCtrls.h"
#include "StdReg.h"
#include "Windows.h"

// --- The component.

TEST(KvObjectInspector, DefaultsAreNotStoredAndWindowIsMade) {
  RegisterStandardClasses();
  auto* owner = new TForm(Application);
  auto* inspector = new TKvObjectInspector(owner);
  inspector->SetName("Inspector1");
  EXPECT_EQ(inspector->GetTypeKinds(), 0x047E);
  EXPECT_FALSE(inspector->GetCanDelete());
  ASSERT_NE(inspector->Form(), nullptr);
  EXPECT_EQ(inspector->ComponentList(), inspector->Form()->ComponentList);
  EXPECT_FALSE(inspector->Form()->GetVisible());
  EXPECT_FALSE(inspector->Form()->PropertyGrid->GetVisible());  // no designer: no grid

  TMemoryStream s;
  s.WriteComponent(inspector);
  std::string bytes(reinterpret_cast<const char*>(s.Memory()), s.GetSize());
  EXPECT_EQ(bytes.find("TypeKinds"), std::string::npos);
  EXPECT_EQ(bytes.find("CanDelete"), std::string::npos);
  delete owner;
}

TEST(KvObjectInspector, OnDestroyRunsFirstAndAWindowFreedFirstLeavesForwardingHarmless) {
  RegisterStandardClasses();
  auto* inspector = new TKvObjectInspector(nullptr);
  TfmKvObjIns* window = inspector->Form();
  bool windowAlive = false;
  inspector->FOnDestroy = [&](TObject* sender) {
    EXPECT_EQ(sender, inspector);
    windowAlive = inspector->Form() == window;
  };
  delete window;  // as the application does at shutdown
  EXPECT_EQ(inspector->Form(), nullptr);
  EXPECT_EQ(inspector->ComponentList(), nullptr);
  inspector->Show();
  inspector->Hide();
  inspector->SelectDesigner(nullptr);
  inspector->RefreshGrid();
  inspector->FormNotification(inspector, opRemove);
  delete inspector;
  EXPECT_FALSE(windowAlive);

  auto* second = new TKvObjectInspector(nullptr);
  second->FOnDestroy = [&](TObject*) { windowAlive = second->Form() != nullptr; };
  delete second;
  EXPECT_TRUE(windowAlive);  // OnDestroy came before the window went
}

TEST(KvObjectInspector, EditFormEnginesEndWithTheirFormOrTheComponent) {
  RegisterStandardClasses();
  auto* host1 = new TForm(Application);
  host1->SetName("Live1");
  auto* host2 = new TForm(Application);
  host2->SetName("Live2");
  auto* inspector = new TKvObjectInspector(nullptr);
  inspector->EditForm(host1);
  ASSERT_NE(inspector->EditDesigner(), nullptr);
  EXPECT_EQ(host1->GetDesigner(), inspector->EditDesigner());
  inspector->EditForm(host2);
  // The first engine went before the second came (which may take its address).
  EXPECT_EQ(host1->GetDesigner(), nullptr);
  EXPECT_FALSE(host1->InState(csDesigning));
  ASSERT_NE(inspector->EditDesigner(), nullptr);
  EXPECT_EQ(inspector->EditDesigner()->GetForm(), host2);
  Application->ProcessMessages();
  EXPECT_EQ(inspector->Form()->Designer(), inspector->EditDesigner());

  // Closing the edited form (its close box) ends its design and hides the window.
  inspector->Show();
  host2->Perform(WM_CLOSE, 0, 0);
  Application->ProcessMessages();
  EXPECT_EQ(inspector->EditDesigner(), nullptr);
  EXPECT_FALSE(inspector->Form()->GetVisible());
  EXPECT_EQ(inspector->Form()->Designer(), nullptr);

  // The component goes first: its engine ends with it, the host's form stays.
  inspector->EditForm(host1);
  TKFormDesigner* engine = inspector->EditDesigner();
  delete inspector;
  EXPECT_FALSE(TKFormDesigner::Exists(engine));
  EXPECT_EQ(host1->GetDesigner(), nullptr);
  Application->ProcessMessages();  // its posted messages find no window and no engine
  delete host1;
  delete host2;
}

// --- Rows.

TEST_F(InspectorTest, RowsOfOneComponentCarryLevelKeysAndThePathNamesIt) {
  auto* b = Add<TButton>("Button1");
  Select({b});
  EXPECT_EQ(Window->ComponentPath->GetCaption(), "Button1: TButton");
  EXPECT_TRUE(Window->PropertyGrid->GetVisible());
  int caption = RowOf("Caption");
  ASSERT_GE(caption, 0);
  EXPECT_EQ(Cell(0, caption), "  Caption");
  EXPECT_EQ(Cell(1, caption), "Button1");
  int font = RowOf("Font");
  ASSERT_GE(font, 0);
  EXPECT_EQ(Cell(0, font), "+Font");
  for (int i = 0; i < Window->Rows()->Count(); ++i) EXPECT_EQ(Window->Rows()->Items()->Get(i), " 0");
  EXPECT_EQ(RowOf("OnClick"), -1);  // the designer's default kinds leave events out
}

TEST_F(InspectorTest, SeveralComponentsShowOnlyAgreeingValuesAndNoPath) {
  auto* a = Add<TButton>("Button1", 8, 8);
  auto* b = Add<TButton>("Button2", 8, 48);
  Select({a, b});
  EXPECT_EQ(Window->ComponentPath->GetCaption(), "");
  EXPECT_EQ(RowOf("Name"), -1);  // never multi-select
  ASSERT_TRUE(GoTo("Top"));
  EXPECT_EQ(Cell(1, RowOf("Top")), "");
  EXPECT_EQ(Cell(1, RowOf("Left")), "8");
  EXPECT_EQ(Window->ValueEdit->GetText(), "8");  // the first component's value
  Type("40");
  Key(VK_RETURN);
  EXPECT_EQ(a->GetTop(), 40);
  EXPECT_EQ(b->GetTop(), 40);
  EXPECT_EQ(Cell(1, RowOf("Top")), "40");
}

TEST_F(InspectorTest, RebuildKeepsTheCurrentRowByNameOrTheLastBeforeIt) {
  auto* b = Add<TButton>("Button1");
  auto* l = Add<TLabel>("Label1", 8, 60);
  auto* e = Add<TEdit>("Edit1", 8, 100);
  Select({b});
  ASSERT_TRUE(GoTo("Caption"));
  Select({l});
  EXPECT_EQ(StripRowMarks(Cell(0, Window->PropertyGrid->GetRow())), "Caption");
  Select({e});  // an edit has no Caption: the last name before it
  std::string now = StripRowMarks(Cell(0, Window->PropertyGrid->GetRow()));
  EXPECT_LT(now, "Caption");
  int next = Window->PropertyGrid->GetRow() + 1;
  if (next < Window->Rows()->Count()) {
    EXPECT_GT(StripRowMarks(Cell(0, next)), "Caption");
  }
  EXPECT_EQ(Window->CurrentRow(), Window->PropertyGrid->GetRow());
}

TEST_F(InspectorTest, ExpansionAtAnyDepthAndCollapseTakesNestedRows) {
  auto* b = Add<TButton>("Button1");
  Select({b});
  const int count = Window->Rows()->Count();
  ASSERT_TRUE(GoTo("Caption"));
  Window->NamePanelDblClick(nullptr);  // no sub-properties: nothing happens
  EXPECT_EQ(Window->Rows()->Count(), count);

  ASSERT_TRUE(GoTo("Font"));
  int font = Window->PropertyGrid->GetRow();
  Window->NamePanelDblClick(nullptr);
  EXPECT_EQ(Cell(0, font), "- Font");
  EXPECT_EQ(Window->PropertyGrid->GetRow(), font);
  int style = RowOf("Style");
  ASSERT_GT(style, font);
  EXPECT_EQ(Window->Rows()->Items()->Get(style), " 1");
  EXPECT_EQ(Cell(0, style), "  +Style");
  Window->PropertyGrid->SetRow(style);
  Window->NamePanelDblClick(nullptr);
  int bold = RowOf("fsBold");
  ASSERT_GT(bold, style);
  EXPECT_EQ(Window->Rows()->Items()->Get(bold), " 2");
  EXPECT_EQ(Cell(0, bold), "      fsBold");

  Window->PropertyGrid->SetRow(font);
  Window->NamePanelDblClick(nullptr);
  EXPECT_EQ(Window->Rows()->Count(), count);
  EXPECT_EQ(RowOf("fsBold"), -1);
  Window->NamePanelDblClick(nullptr);  // expanding again shows only the direct sub-rows
  EXPECT_EQ(RowOf("fsBold"), -1);
  EXPECT_EQ(Cell(0, RowOf("Style")), "  +Style");
}

TEST_F(InspectorTest, ExpandingNearTheBottomScrollsJustEnoughButKeepsTheRowOnScreen) {
  auto* b = Add<TButton>("Button1");
  Select({b});
  TStringGrid* g = Window->PropertyGrid;
  // A window of a few rows, so that Font can be the last one shown.
  Window->SetHeight(SizeOverhead + 2 * RowPitch);
  Pump();
  ASSERT_TRUE(GoTo("Font"));
  int font = g->GetRow();
  ASSERT_LT(g->VisibleRowCount(), font);
  // Put Font on the last visible line.
  g->SetTopRow(std::max(0, font - g->VisibleRowCount() + 1));
  ASSERT_EQ(g->GetTopRow() + g->VisibleRowCount() - 1, font);
  int top = g->GetTopRow();
  Window->NamePanelDblClick(nullptr);
  int added = Window->Rows()->Count() - RowOf("Font") - 1;  // at least the font's sub-rows
  ASSERT_GT(added, 0);
  EXPECT_EQ(g->GetRow(), font);
  EXPECT_GT(g->GetTopRow(), top);
  EXPECT_LE(g->GetTopRow(), font);  // never scrolled off the top
}

TEST_F(InspectorTest, ColumnsKeepTheirMinimumsAndTheWindowSnapsToWholeRows) {
  auto* b = Add<TButton>("Button1");
  Select({b});
  TStringGrid* g = Window->PropertyGrid;
  auto drag = [&](int x) {
    Window->SeperatorPanelMouseDown(nullptr, mbLeft, {}, 0, 0);
    TPoint p = Window->SeperatorPanel->ScreenToClient(g->ClientToScreen({x, 5}));
    Window->SeperatorPanelMouseMove(nullptr, {}, p.X, p.Y);
    Window->SeperatorPanelMouseUp(nullptr, mbLeft, {}, p.X, p.Y);
  };
  drag(-50);
  EXPECT_EQ(Window->SeperatorPanel->GetLeft(), 36);
  EXPECT_EQ(g->ColWidths(0), 34);
  drag(5000);
  const int reserve = g->GetRowCount() * RowPitch - 1 > g->GetHeight() ? RowPitch : 0;
  EXPECT_EQ(g->GetWidth() - reserve - Window->SeperatorPanel->GetLeft(), 39);  // 36 + 3
  EXPECT_EQ(g->ColWidths(1), 36 + 2);
  EXPECT_EQ(Window->NamePanel->GetWidth(), Window->SeperatorPanel->GetLeft());

  ASSERT_GT(RowPitch, 0);  // measured by showing
  EXPECT_EQ((Window->GetHeight() - SizeOverhead) % RowPitch, 0);
  TRect r{0, 0, 200, 40};
  Window->Perform(WM_SIZING, 6, reinterpret_cast<intptr_t>(&r));
  EXPECT_EQ(r.Bottom, SizeOverhead);
  r = {10, 20, 200, 20 + SizeOverhead + 5 * RowPitch + RowPitch / 2 - 1};
  EXPECT_EQ(Window->Perform(WM_SIZING, 6, reinterpret_cast<intptr_t>(&r)), 1);
  EXPECT_EQ(r.Bottom - r.Top, SizeOverhead + 5 * RowPitch);
}

TEST_F(InspectorTest, ScrolledOutRowHasNoPanels) {
  auto* b = Add<TButton>("Button1");
  Select({b});
  TStringGrid* g = Window->PropertyGrid;
  g->SetRow(0);
  EXPECT_TRUE(Window->NamePanel->GetVisible());
  g->SetTopRow(g->GetRowCount() - g->VisibleRowCount());
  ASSERT_GT(g->GetTopRow(), 0);
  EXPECT_FALSE(Window->NamePanel->GetVisible());
  EXPECT_FALSE(Window->ValuePanel->GetVisible());
  g->SetTopRow(0);
  EXPECT_TRUE(Window->NamePanel->GetVisible());
}

// --- The component list.

TEST_F(InspectorTest, ComponentListIsSortedListsTheFormAndSelects) {
  auto* b = Add<TButton>("zButton");
  Add<TLabel>("aLabel", 8, 60);
  auto* unnamed = new TPanel(Form());
  unnamed->SetParent(Form());
  Select({b});
  Window->ComponentListDropDown(nullptr);
  TStrings* items = Window->ComponentList->GetItems();
  std::vector<std::string> names;
  for (int i = 0; i < items->Count(); ++i) names.push_back(items->Get(i));
  EXPECT_EQ(names, (std::vector<std::string>{"aLabel", Form()->GetName(), "zButton"}));
  EXPECT_EQ(Window->ComponentList->GetItemIndex(), 2);
  Window->ComponentList->SetItemIndex(0);
  Window->ComponentListChange(nullptr);
  Pump();
  EXPECT_EQ(Window->ComponentPath->GetCaption(), "aLabel: TLabel");
}

// --- Engines and components that go while messages about them are queued.

TEST_F(InspectorTest, ChangeMessageOfAFreedEngineTouchesNothing) {
  auto* other = new TKFormDesigner(nullptr, Inspector, "", nullptr);
  Pump();
  PostMessage(Window, KM_OBJECTCHANGED, 0, reinterpret_cast<intptr_t>(other));
  PostMessage(Window, KM_OBJECTMODIFIED, 0, reinterpret_cast<intptr_t>(other));
  other->Destroy();
  Pump();  // under ASan a use of the freed engine fails here
  EXPECT_EQ(Window->Designer(), nullptr);
  EXPECT_FALSE(Window->PropertyGrid->GetVisible());
}

TEST_F(InspectorTest, DeletingTheInspectedComponentDropsItsRowsAtOnce) {
  auto* b = Add<TButton>("Button1");
  Select({b});
  ASSERT_GT(Window->Rows()->Count(), 0);
  // A modification queued before the component goes must not read its freed properties.
  PostMessage(Window, KM_OBJECTMODIFIED, 0, reinterpret_cast<intptr_t>(Engine));
  Form()->Perform(WM_ACTIVATE, WA_CLICKACTIVE, 0);
  Engine->KeyDown(b, VK_DELETE);
  EXPECT_EQ(Window->Rows()->Count(), 0);
  Pump();
  EXPECT_EQ(Form()->FindComponent("Button1"), nullptr);
}
