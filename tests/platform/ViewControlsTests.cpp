// List and tree views: their items in Delphi's stream layout, sorting, and selection and
// expansion driven by real mouse and key messages.
#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <memory>

#include "ComCtrls.h"
#include "FormFixture.h"
#include "FormText.h"
#include "StreamCheck.h"

namespace {

std::string ViewBytes(TMemoryStream& s) {
  return std::string(reinterpret_cast<const char*>(s.Memory()), static_cast<size_t>(s.GetSize()));
}

template <class Items>
std::string WriteItems(Items* items) {
  TMemoryStream s;
  items->WriteData(&s);
  return ViewBytes(s);
}

template <class Items>
void ReadItems(Items* items, const std::string& bytes) {
  TMemoryStream s;
  s.Write(bytes.data(), static_cast<int64_t>(bytes.size()));
  s.SetPosition(0);
  items->ReadData(&s);
}

std::string Le(int32_t v) {
  std::string out(4, '\0');
  for (int i = 0; i < 4; ++i)
    out[static_cast<size_t>(i)] = static_cast<char>((static_cast<uint32_t>(v) >> (8 * i)) & 0xFF);
  return out;
}

// The Items.Data of the first tree view in a text form file, as bytes.
std::string CorpusTreeData(const std::string& file) {
  std::ifstream in(std::string(KV_CORPUS_DIR) + "/text/" + file, std::ios::binary);
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  size_t at = text.find(": TTreeView");
  at = at == std::string::npos ? at : text.find("Items.Data = {", at);
  if (at == std::string::npos) return {};
  std::string hex;
  for (size_t i = at + 14; i < text.size() && text[i] != '}'; ++i)
    if (std::isxdigit(static_cast<unsigned char>(text[i]))) hex += text[i];
  std::string out;
  for (size_t i = 0; i + 1 < hex.size(); i += 2)
    out.push_back(static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16)));
  return out;
}

struct ViewFixture : FormFixture {
  // A view at (10, 10), 200 x 120.
  template <class T>
  T* Add(const char* name) {
    T* c = FormFixture::Add<T>(name);
    c->SetBounds(10, 10, 200, 120);
    return c;
  }
  // Window coordinates of a client point (the views have a two-pixel border).
  static intptr_t At(int x, int y) { return PointToLParam({x + 2, y + 2}); }
  static void Click(TWinControl* c, int x, int y, bool dbl = false) {
    c->Perform(dbl ? WM_LBUTTONDBLCLK : WM_LBUTTONDOWN, MK_LBUTTON, At(x, y));
    c->Perform(WM_LBUTTONUP, 0, At(x, y));
  }
  static void Key(TWinControl* c, uint16_t vk) { c->Perform(WM_KEYDOWN, vk, 0); }
};

// --- Streams -------------------------------------------------------------------------------

TEST_F(ViewFixture, CorpusTreeDataReadsLevelsAndImagesAndWritesBackByteForByte) {
  std::string data = CorpusTreeData("024_old-delphi-codes_GUI_no2-Unit1.dfm");
  if (data.empty()) GTEST_SKIP() << "no corpus";
  auto* tv = Add<TTreeView>("TreeView1");
  TTreeNodes* nodes = tv->GetItems();
  ReadItems(nodes, data);
  ASSERT_EQ(nodes->Count(), 12);
  EXPECT_EQ(nodes->TopCount(), 6);
  TTreeNode* mail = nodes->GetFirstNode();
  EXPECT_EQ(mail->GetText(),
            "Postal\xC3\xA1"
            "da");  // ANSI 0xE1 read as UTF-8
  EXPECT_EQ(mail->Count(), 3);
  EXPECT_EQ(mail->GetImageIndex(), 8);
  EXPECT_EQ(mail->GetSelectedIndex(), 8);
  EXPECT_EQ(mail->GetStateIndex(), -1);
  EXPECT_EQ(mail->Item(0)->Level(), 1);
  EXPECT_EQ(mail->Item(0)->Parent(), mail);
  EXPECT_EQ(mail->Item(0)->GetImageIndex(), 5);
  EXPECT_EQ(nodes->Item(4)->GetText(), "Be\xC3\xA1ll\xC3\xADt\xC3\xA1sok");
  EXPECT_EQ(nodes->Item(4)->Level(), 0);
  EXPECT_EQ(nodes->Item(11)->GetImageIndex(), 15);
  EXPECT_EQ(WriteItems(nodes), data);
}

TEST_F(ViewFixture, ListItemsBuiltInCodeSurviveAFormRoundTrip) {
  auto* lv = Add<TListView>("ListView1");
  lv->SetViewStyle(vsReport);
  static_cast<TListColumn*>(lv->GetColumns()->Add())->SetCaption("Name");
  static_cast<TListColumn*>(lv->GetColumns()->Add())->SetCaption("Size");
  TListItems* items = lv->GetItems();
  TListItem* a = items->Add();
  a->SetCaption("readme.txt");
  a->GetSubItems()->Add("12 KB");
  a->GetSubItems()->Add("");
  a->SetImageIndex(3);
  a->SetStateIndex(1);
  a->SetOverlayIndex(2);
  TListItem* b = items->Add();
  b->SetCaption(std::string(300, 'x'));  // a short string keeps 255
  b->SetImageIndex(-1);
  items->Insert(0)->SetCaption("first");
  std::string text = ExpectRoundTrip(form.get(), lv);
  ExpectDefaultsOmitted(lv, text);

  std::unique_ptr<TForm> copy = Reload();
  TListItems* got = static_cast<TListView*>(copy->FindComponent("ListView1"))->GetItems();
  ASSERT_EQ(got->Count(), 3);
  EXPECT_EQ(got->Item(0)->GetCaption(), "first");
  EXPECT_EQ(got->Item(0)->GetImageIndex(), 0);  // the VCL's default
  EXPECT_EQ(got->Item(1)->GetCaption(), "readme.txt");
  EXPECT_EQ(got->Item(1)->GetSubItems()->Count(), 2);
  EXPECT_EQ(got->Item(1)->GetSubItems()->Get(0), "12 KB");
  EXPECT_EQ(got->Item(1)->GetImageIndex(), 3);
  EXPECT_EQ(got->Item(1)->GetStateIndex(), 1);
  EXPECT_EQ(got->Item(1)->GetOverlayIndex(), 2);
  EXPECT_EQ(got->Item(2)->GetCaption(), std::string(255, 'x'));
  EXPECT_EQ(got->Item(2)->GetImageIndex(), -1);
  // Without sub item images the stream is exactly Delphi 3's: 8 + items of 21 + text bytes.
  EXPECT_EQ(WriteItems(items).size(), 8u + 3 * 21 + 5 + 10 + 6 + 1 + 255);
}

TEST_F(ViewFixture, SubItemImagesGoInDelphi5sTrailerAndReadBack) {
  auto* lv = Add<TListView>("ListView1");
  TListItem* a = lv->GetItems()->Add();
  a->SetCaption("a");
  a->GetSubItems()->Add("s1");
  a->GetSubItems()->Add("s2");
  EXPECT_EQ(a->SubItemImage(1), -1);
  a->SetSubItemImage(1, 7);
  EXPECT_THROW(a->SetSubItemImage(2, 1), EListError);
  std::string bytes = WriteItems(lv->GetItems());
  EXPECT_EQ(bytes.substr(bytes.size() - 8), Le(-1) + Le(7));
  EXPECT_EQ(bytes.substr(0, 4), Le(static_cast<int32_t>(bytes.size())));
  auto* other = Add<TListView>("ListView2");
  ReadItems(other->GetItems(), bytes);
  EXPECT_EQ(other->GetItems()->Item(0)->SubItemImage(1), 7);
  EXPECT_EQ(other->GetItems()->Item(0)->GetSubItems()->Get(1), "s2");
}

TEST_F(ViewFixture, TreeBuiltInCodeKeepsLevelsThroughItsStream) {
  auto* tv = Add<TTreeView>("TreeView1");
  TTreeNodes* n = tv->GetItems();
  TTreeNode* root = n->Add(nullptr, "Root");
  TTreeNode* kid = n->AddChild(root, "Kid");
  n->AddChild(kid, "Grandkid")->SetImageIndex(4);
  n->AddChildFirst(root, "Elder");
  n->Insert(root, "Before");
  n->Add(root, "After")->SetStateIndex(2);
  auto* copy = Add<TTreeView>("TreeView2");
  ReadItems(copy->GetItems(), WriteItems(n));
  std::vector<std::string> got;
  for (TTreeNode* p = copy->GetItems()->GetFirstNode(); p; p = p->GetNext())
    got.push_back(std::to_string(p->Level()) + p->GetText());
  EXPECT_EQ(got, (std::vector<std::string>{"0Before", "0Root", "1Elder", "1Kid", "2Grandkid", "0After"}));
  EXPECT_EQ(copy->GetItems()->Item(4)->GetImageIndex(), 4);
  EXPECT_EQ(copy->GetItems()->Item(5)->GetStateIndex(), 2);
  // Moving a node takes its children along; a node cannot move under itself.
  kid->MoveTo(nullptr, naAdd);
  EXPECT_EQ(kid->Level(), 0);
  EXPECT_EQ(kid->GetFirstChild()->Level(), 1);
  root->MoveTo(root, naAddChild);
  EXPECT_EQ(root->Level(), 0);
}

TEST_F(ViewFixture, MalformedItemDataRaisesReadErrorAndKeepsTheItems) {
  auto* lv = Add<TListView>("ListView1");
  lv->GetItems()->Add()->SetCaption("kept");
  std::string good = WriteItems(lv->GetItems());
  const std::vector<std::string> badLists = {
      "",                                                                  // no header
      Le(100) + Le(1),                                                     // size beyond the data
      Le(8) + Le(-1),                                                      // negative count
      Le(12) + Le(1) + Le(0),                                              // item cut short
      good.substr(0, good.size() - 2),                                     // caption cut short
      Le(static_cast<int32_t>(good.size() + 3)) + good.substr(4) + "abc",  // a trailer that is not images
      Le(8 + 25) + Le(1) + Le(0) + Le(0) + Le(0) + Le(1000000) + Le(0) + std::string(1, '\0'),  // sub items
  };
  for (const std::string& bad : badLists) {
    SCOPED_TRACE(bad.size());
    EXPECT_THROW(ReadItems(lv->GetItems(), bad), EReadError);
    ASSERT_EQ(lv->GetItems()->Count(), 1);
    EXPECT_EQ(lv->GetItems()->Item(0)->GetCaption(), "kept");
  }
  auto* tv = Add<TTreeView>("TreeView1");
  tv->GetItems()->Add(nullptr, "kept");
  std::string node = Le(0) + Le(0) + Le(-1) + Le(-1) + Le(0);
  const std::vector<std::string> badTrees = {
      "",
      Le(-3),
      Le(1),                                                            // node missing
      Le(1) + Le(25) + node + Le(0),                                    // record shorter than its size
      Le(1) + Le(10) + node + Le(0) + std::string(1, '\0'),             // size below the fixed part
      Le(1) + Le(29) + node + Le(0) + std::string(1, '\x09') + "abcd",  // text beyond the record
      Le(1) + Le(25) + node + Le(0x7FFFFFFF) + std::string(1, '\0'),    // children that are not there
      Le(2) + Le(25) + node + Le(0) + std::string(1, '\0'),             // second node missing
  };
  for (const std::string& bad : badTrees) {
    SCOPED_TRACE(bad.size());
    EXPECT_THROW(ReadItems(tv->GetItems(), bad), EReadError);
    ASSERT_EQ(tv->GetItems()->Count(), 1);
  }
  // Deep nesting is read without recursion.
  std::string deep = Le(1);
  for (int i = 0; i < 20000; ++i) deep += Le(25) + node + Le(i + 1 < 20000 ? 1 : 0) + std::string(1, '\0');
  ReadItems(tv->GetItems(), deep);
  EXPECT_EQ(tv->GetItems()->Count(), 20000);
}

TEST_F(ViewFixture, MalformedDataInAFormStreamFailsTheLoadCleanly) {
  const char* text =
      "object F: TForm\n"
      "  object TreeView1: TTreeView\n"
      "    Items.Data = {0100000019000000}\n"
      "  end\n"
      "end\n";
  EXPECT_THROW(ReadFormText(text), EReadError);
}

// --- Sorting -------------------------------------------------------------------------------

TEST_F(ViewFixture, ListSortsByTextOnChangesAndByOnCompareWhenAssigned) {
  auto* lv = Add<TListView>("ListView1");
  TListItems* items = lv->GetItems();
  for (const char* s : {"pear", "Apple", "apple", "fig"}) items->Add()->SetCaption(s);
  lv->SetSortType(stText);
  auto captions = [&] {
    std::string out;
    for (int i = 0; i < items->Count(); ++i) out += items->Item(i)->GetCaption() + ",";
    return out;
  };
  EXPECT_EQ(captions(), "apple,Apple,fig,pear,");
  items->Add()->SetCaption("banana");
  EXPECT_EQ(captions(), "apple,Apple,banana,fig,pear,");
  items->Item(0)->SetCaption("zucchini");
  EXPECT_EQ(captions(), "Apple,banana,fig,pear,zucchini,");
  // stData sorts on data changes, through OnCompare.
  lv->SetSortType(stNone);
  int calls = 0;
  lv->OnCompare = [&](TObject*, TListItem* a, TListItem* b, int, int& r) {
    ++calls;
    r = static_cast<int>(reinterpret_cast<intptr_t>(b->GetData()) - reinterpret_cast<intptr_t>(a->GetData()));
  };
  for (int i = 0; i < items->Count(); ++i) items->Item(i)->SetData(reinterpret_cast<void*>(static_cast<intptr_t>(i)));
  lv->SetSortType(stData);
  EXPECT_GT(calls, 0);
  EXPECT_EQ(captions(), "zucchini,pear,fig,banana,Apple,");
  items->Item(4)->SetData(reinterpret_cast<void*>(intptr_t{99}));
  EXPECT_EQ(items->Item(0)->GetCaption(), "Apple");
  items->Item(4)->SetImageIndex(5);  // not a data change: no sort
  EXPECT_EQ(items->Item(4)->GetImageIndex(), 5);
  lv->CustomSort(
      [](TListItem* a, TListItem* b, intptr_t) {
        return static_cast<int>(a->GetCaption().size()) - static_cast<int>(b->GetCaption().size());
      },
      0);
  EXPECT_EQ(captions(), "fig,pear,Apple,banana,zucchini,");
}

TEST_F(ViewFixture, TreeSortsEachLevelAndSortsNewNodesIntoPlace) {
  auto* tv = Add<TTreeView>("TreeView1");
  TTreeNodes* n = tv->GetItems();
  TTreeNode* b = n->Add(nullptr, "b");
  n->Add(nullptr, "a");
  n->AddChild(b, "y");
  n->AddChild(b, "x");
  tv->SetSortType(stText);
  EXPECT_EQ(n->GetFirstNode()->GetText(), "a");
  EXPECT_EQ(b->GetFirstChild()->GetText(), "x");
  n->AddChild(b, "w");
  EXPECT_EQ(b->GetFirstChild()->GetText(), "w");
  b->GetFirstChild()->SetText("z");
  EXPECT_EQ(b->GetLastChild()->GetText(), "z");
  tv->OnCompare = [](TObject*, TTreeNode* x, TTreeNode* y, int, int& r) { r = y->GetText().compare(x->GetText()); };
  tv->AlphaSort();
  EXPECT_EQ(n->GetFirstNode()->GetText(), "b");
  EXPECT_EQ(b->GetFirstChild()->GetText(), "z");
}

// --- Behaviour through messages --------------------------------------------------------------

TEST_F(ViewFixture, ListSelectionByMouseAndKeysFiresChangingChangeAndSelectItem) {
  auto* lv = Add<TListView>("ListView1");
  lv->SetViewStyle(vsReport);
  static_cast<TListColumn*>(lv->GetColumns()->Add())->SetWidth(150);
  for (int i = 0; i < 5; ++i) lv->GetItems()->Add()->SetCaption("Item " + std::to_string(i));
  std::vector<std::string> log;
  bool allow = true;
  lv->OnChanging = [&](TObject*, TListItem* it, TItemChange c, bool& ok) {
    if (c == ctState) log.push_back("changing " + it->GetCaption());
    ok = allow;
  };
  lv->OnChange = [&](TObject*, TListItem* it, TItemChange c) {
    if (c == ctState) log.push_back("change " + it->GetCaption());
  };
  lv->OnSelectItem = [&](TObject*, TListItem* it, bool sel) {
    log.push_back((sel ? "select " : "unselect ") + it->GetCaption());
  };
  TRect r1 = lv->GetItems()->Item(1)->DisplayRect();
  Click(lv, r1.Left + 5, r1.Top + 2);
  EXPECT_EQ(log, (std::vector<std::string>{"changing Item 1", "change Item 1", "select Item 1"}));
  EXPECT_EQ(lv->GetSelected(), lv->GetItems()->Item(1));
  log.clear();
  Key(lv, VK_DOWN);
  EXPECT_EQ(log, (std::vector<std::string>{"changing Item 1", "change Item 1", "unselect Item 1", "changing Item 2",
                                           "change Item 2", "select Item 2"}));
  EXPECT_EQ(lv->ItemFocused(), lv->GetItems()->Item(2));
  // A refused change keeps the selection.
  allow = false;
  Key(lv, VK_END);
  allow = true;
  EXPECT_EQ(lv->SelCount(), 1);
  EXPECT_TRUE(lv->GetItems()->Item(2)->GetSelected());
  // Without RowSelect, a click right of a report row's label selects nothing and clears.
  Click(lv, 140, r1.Top + 2);
  EXPECT_EQ(lv->GetSelected(), nullptr);
  lv->SetRowSelect(true);
  Click(lv, 140, r1.Top + 2);
  EXPECT_EQ(lv->GetSelected(), lv->GetItems()->Item(1));
}

TEST_F(ViewFixture, MultiSelectTakesCtrlAndShiftClicks) {
  auto* lv = Add<TListView>("ListView1");
  lv->SetViewStyle(vsReport);
  lv->SetMultiSelect(true);
  lv->SetRowSelect(true);
  static_cast<TListColumn*>(lv->GetColumns()->Add())->SetWidth(150);
  for (int i = 0; i < 6; ++i) lv->GetItems()->Add()->SetCaption(std::to_string(i));
  auto y = [&](int i) { return lv->GetItems()->Item(i)->DisplayRect().Top + 2; };
  Click(lv, 10, y(1));
  lv->Perform(WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, At(10, y(3)));
  lv->Perform(WM_LBUTTONUP, 0, At(10, y(3)));
  EXPECT_EQ(lv->SelCount(), 3);
  lv->Perform(WM_LBUTTONDOWN, MK_LBUTTON | MK_CONTROL, At(10, y(2)));
  lv->Perform(WM_LBUTTONUP, 0, At(10, y(2)));
  EXPECT_EQ(lv->SelCount(), 2);
  EXPECT_FALSE(lv->GetItems()->Item(2)->GetSelected());
  lv->SetMultiSelect(false);
  EXPECT_EQ(lv->SelCount(), 1);
}

TEST_F(ViewFixture, HeaderClickFiresColumnClickOnlyWhenColumnClickIsOn) {
  auto* lv = Add<TListView>("ListView1");
  lv->SetViewStyle(vsReport);
  static_cast<TListColumn*>(lv->GetColumns()->Add())->SetWidth(60);
  static_cast<TListColumn*>(lv->GetColumns()->Add())->SetWidth(60);
  TListColumn* clicked = nullptr;
  lv->OnColumnClick = [&](TObject*, TListColumn* c) { clicked = c; };
  Click(lv, 90, 5);
  EXPECT_EQ(clicked, lv->Column(1));
  clicked = nullptr;
  lv->SetColumnClick(false);
  Click(lv, 20, 5);
  EXPECT_EQ(clicked, nullptr);
  // Dragging a divider resizes its column.
  lv->Perform(WM_LBUTTONDOWN, MK_LBUTTON, At(60, 5));
  lv->Perform(WM_MOUSEMOVE, MK_LBUTTON, At(80, 5));
  lv->Perform(WM_LBUTTONUP, 0, At(80, 5));
  EXPECT_EQ(lv->Column(0)->GetWidth(), 80);
  // An auto-sized column takes what the others leave.
  lv->Column(1)->SetAutoSize(true);
  EXPECT_EQ(lv->ColumnWidth(1), lv->GetClientRect().Width() - 80);
  lv->Column(0)->SetWidth(1000);
  lv->Column(1)->SetMinWidth(30);
  EXPECT_EQ(lv->ColumnWidth(1), 30);
}

TEST_F(ViewFixture, ItemsBeyondTheViewScrollIntoSight) {
  auto* lv = Add<TListView>("ListView1");
  lv->SetViewStyle(vsReport);
  static_cast<TListColumn*>(lv->GetColumns()->Add())->SetWidth(100);
  int fullWidth = lv->GetClientRect().Width();
  lv->GetItems()->BeginUpdate();
  for (int i = 0; i < 40; ++i) lv->GetItems()->Add()->SetCaption("Row " + std::to_string(i));
  lv->GetItems()->EndUpdate();
  EXPECT_LT(lv->GetClientRect().Width(), fullWidth);  // a vertical scroll bar took room
  EXPECT_EQ(lv->TopItem(), lv->GetItems()->Item(0));
  TRect r = lv->GetItems()->Item(0)->DisplayRect();
  Click(lv, r.Left + 4, r.Top + 2);
  Key(lv, VK_END);
  EXPECT_EQ(lv->GetSelected(), lv->GetItems()->Item(39));
  EXPECT_NE(lv->TopItem(), lv->GetItems()->Item(0));
  TRect last = lv->GetItems()->Item(39)->DisplayRect();
  EXPECT_LE(last.Bottom, lv->ViewRect().Bottom);
  Key(lv, VK_HOME);
  EXPECT_EQ(lv->TopItem(), lv->GetItems()->Item(0));
}

TEST_F(ViewFixture, DeletingFiresOnDeletionAndDropsTheSelection) {
  auto* lv = Add<TListView>("ListView1");
  for (int i = 0; i < 3; ++i) lv->GetItems()->Add()->SetCaption(std::to_string(i));
  std::vector<std::string> gone, inserted;
  lv->OnDeletion = [&](TObject*, TListItem* it) { gone.push_back(it->GetCaption()); };
  lv->OnInsert = [&](TObject*, TListItem*) { inserted.push_back("+"); };
  lv->GetItems()->Item(1)->SetSelected(true);
  lv->GetItems()->Item(1)->Delete();
  EXPECT_EQ(lv->GetSelected(), nullptr);
  lv->GetItems()->Add();
  lv->GetItems()->Clear();
  EXPECT_EQ(gone, (std::vector<std::string>{"1", "", "2", "0"}));
  EXPECT_EQ(inserted.size(), 1u);
}

TEST_F(ViewFixture, TreeButtonsDoubleClicksAndKeysExpandAndCollapseThroughTheEvents) {
  auto* tv = Add<TTreeView>("TreeView1");
  TTreeNodes* n = tv->GetItems();
  TTreeNode* a = n->Add(nullptr, "Alpha");
  n->AddChild(a, "One");
  n->AddChild(a, "Two");
  TTreeNode* b = n->Add(nullptr, "Beta");
  std::vector<std::string> log;
  bool allowCollapse = true;
  tv->OnExpanding = [&](TObject*, TTreeNode* x, bool&) { log.push_back("expanding " + x->GetText()); };
  tv->OnExpanded = [&](TObject*, TTreeNode* x) { log.push_back("expanded " + x->GetText()); };
  tv->OnCollapsing = [&](TObject*, TTreeNode* x, bool& ok) {
    log.push_back("collapsing " + x->GetText());
    ok = allowCollapse;
  };
  tv->OnCollapsed = [&](TObject*, TTreeNode* x) { log.push_back("collapsed " + x->GetText()); };
  tv->OnChanging = [&](TObject*, TTreeNode* x, bool&) { log.push_back("changing " + x->GetText()); };
  tv->OnChange = [&](TObject*, TTreeNode* x) { log.push_back("change " + (x ? x->GetText() : std::string("-"))); };
  EXPECT_EQ(tv->VisibleNodes().size(), 2u);
  // The button sits in the middle of the root level's indent.
  TRect ra = a->DisplayRect();
  Click(tv, tv->GetIndent() / 2 + 1, (ra.Top + ra.Bottom) / 2);
  EXPECT_EQ(log, (std::vector<std::string>{"expanding Alpha", "expanded Alpha"}));
  EXPECT_TRUE(a->GetExpanded());
  EXPECT_EQ(tv->GetSelected(), nullptr);  // the button does not select
  EXPECT_EQ(b->DisplayRect().Top, ra.Top + 3 * (ra.Bottom - ra.Top));
  log.clear();
  TRect text = a->Item(1)->DisplayRect(true);
  Click(tv, text.Left + 3, text.Top + 2);
  EXPECT_EQ(log, (std::vector<std::string>{"changing Two", "change Two"}));
  // Collapsing the parent of the selection, refused and then allowed, moves the selection up.
  log.clear();
  allowCollapse = false;
  Key(tv, VK_LEFT);  // Two has no children: the selection goes to its parent
  Key(tv, VK_LEFT);
  EXPECT_TRUE(a->GetExpanded());
  allowCollapse = true;
  tv->Perform(WM_CHAR, '-', 0);
  EXPECT_FALSE(a->GetExpanded());
  EXPECT_EQ(log, (std::vector<std::string>{"changing Alpha", "change Alpha", "collapsing Alpha", "collapsing Alpha",
                                           "collapsed Alpha"}));
  // A double click on the label toggles it.
  log.clear();
  text = a->DisplayRect(true);
  Click(tv, text.Left + 3, text.Top + 2);
  Click(tv, text.Left + 3, text.Top + 2, true);
  EXPECT_TRUE(a->GetExpanded());
  Key(tv, VK_DOWN);
  EXPECT_EQ(tv->GetSelected(), a->Item(0));
  a->Collapse(false);
  EXPECT_EQ(tv->GetSelected(), a);
}

TEST_F(ViewFixture, AutoExpandAndDeletionMoveAndFollowTheSelection) {
  auto* tv = Add<TTreeView>("TreeView1");
  tv->SetAutoExpand(true);
  TTreeNodes* n = tv->GetItems();
  TTreeNode* a = n->Add(nullptr, "a");
  n->AddChild(a, "a1");
  TTreeNode* b = n->Add(nullptr, "b");
  n->AddChild(b, "b1");
  std::vector<std::string> gone;
  tv->OnDeletion = [&](TObject*, TTreeNode* x) { gone.push_back(x->GetText()); };
  a->SetSelected(true);
  EXPECT_TRUE(a->GetExpanded());
  b->SetSelected(true);
  EXPECT_TRUE(b->GetExpanded());
  EXPECT_FALSE(a->GetExpanded());
  b->Delete();
  EXPECT_EQ(gone, (std::vector<std::string>{"b1", "b"}));
  EXPECT_EQ(tv->GetSelected(), a);
  n->Clear();
  EXPECT_EQ(tv->GetSelected(), nullptr);
  EXPECT_EQ(n->Count(), 0);
}

TEST_F(ViewFixture, ChangeDelayReportsTheSelectionOnceItSettles) {
  auto* tv = Add<TTreeView>("TreeView1");
  tv->SetChangeDelay(30);
  TTreeNode* a = tv->GetItems()->Add(nullptr, "a");
  TTreeNode* b = tv->GetItems()->Add(nullptr, "b");
  form->Show();
  std::vector<TTreeNode*> changes;
  tv->OnChange = [&](TObject*, TTreeNode* n) { changes.push_back(n); };
  a->SetSelected(true);
  b->SetSelected(true);
  EXPECT_TRUE(changes.empty());
  auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (changes.empty() && std::chrono::steady_clock::now() < until) Application->ProcessMessages();
  EXPECT_EQ(changes, std::vector<TTreeNode*>{b});
  // Once reported, the timer is gone.
  auto settle = std::chrono::steady_clock::now() + std::chrono::milliseconds(100);
  while (std::chrono::steady_clock::now() < settle) Application->ProcessMessages();
  EXPECT_EQ(changes.size(), 1u);
}

TEST_F(ViewFixture, HotTrackSelectsTheItemTheMouseRestsOn) {
  auto* lv = Add<TListView>("ListView1");
  lv->SetViewStyle(vsList);
  for (int i = 0; i < 3; ++i) lv->GetItems()->Add()->SetCaption("Item " + std::to_string(i));
  form->Show();
  TRect r = lv->GetItems()->Item(1)->DisplayRect(true);
  lv->Perform(WM_MOUSEMOVE, 0, At(r.Left + 3, r.Top + 3));
  auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(700);
  while (std::chrono::steady_clock::now() < until) Application->ProcessMessages();
  EXPECT_EQ(lv->GetSelected(), nullptr);  // not without HotTrack
  lv->SetHotTrack(true);
  lv->Perform(WM_MOUSEMOVE, 0, At(r.Left + 4, r.Top + 3));
  until = std::chrono::steady_clock::now() + std::chrono::seconds(3);
  while (!lv->GetSelected() && std::chrono::steady_clock::now() < until) Application->ProcessMessages();
  EXPECT_EQ(lv->GetSelected(), lv->GetItems()->Item(1));
}

TEST_F(ViewFixture, OnGetImageIndexIsAskedWhenItemsArePainted) {
  auto* tv = Add<TTreeView>("TreeView1");
  auto* il = new TImageList(form.get());
  tv->SetImages(il);
  tv->GetItems()->Add(nullptr, "x");
  int asked = 0;
  tv->OnGetImageIndex = [&](TObject*, TTreeNode* node) {
    ++asked;
    node->SetImageIndex(2);
  };
  form->Show();
  TBitmap shot;
  GrabWindow(tv, &shot);
  EXPECT_GT(asked, 0);
  EXPECT_EQ(tv->GetItems()->GetFirstNode()->GetImageIndex(), 2);
}

}  // namespace
