// The palette notebook. The registry is process-wide: each test puts the pages and bitmaps
// registered before it aside, works on an empty registry and gives them back.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "Forms.h"
#include "KvClass.h"
#include "KvTbNtBk.h"
#include "StdCtrls.h"
#include "StdReg.h"

namespace {
#define KV_NB_TEST_CLASS(Name, Base) \
  class Name : public Base {         \
    KV_CLASS(Name, Base)             \
   public:                           \
    using Base::Base;                \
  };
KV_NB_TEST_CLASS(TNbA, TComponent)
KV_NB_TEST_CLASS(TNbB, TComponent)
KV_NB_TEST_CLASS(TNbC, TComponent)
KV_NB_TEST_CLASS(TNbD, TComponent)
KV_NB_TEST_CLASS(TNbE, TComponent)
KV_NB_TEST_CLASS(TNbF, TComponent)
KV_NB_TEST_CLASS(TNbG, TComponent)
KV_NB_TEST_CLASS(TNbH, TComponent)
KV_NB_TEST_CLASS(TNbI, TComponent)
KV_NB_TEST_CLASS(TNbJ, TComponent)
KV_NB_TEST_CLASS(TNbK, TComponent)
KV_NB_TEST_CLASS(TNbL, TComponent)
KV_NB_TEST_CLASS(TNbM, TComponent)
KV_NB_TEST_CLASS(TNbEdit, TEdit)  // no bitmap of its own
}  // namespace

KV_IMPLEMENT_CLASS(TNbA, "KvTbNtBkTests") {}
KV_IMPLEMENT_CLASS(TNbB, "KvTbNtBkTests") {}
KV_IMPLEMENT_CLASS(TNbC, "KvTbNtBkTests") {}
KV_IMPLEMENT_CLASS(TNbD, "KvTbNtBkTests") {}
KV_IMPLEMENT_CLASS(TNbE, "KvTbNtBkTests") {}
KV_IMPLEMENT_CLASS(TNbF, "KvTbNtBkTests") {}
KV_IMPLEMENT_CLASS(TNbG, "KvTbNtBkTests") {}
KV_IMPLEMENT_CLASS(TNbH, "KvTbNtBkTests") {}
KV_IMPLEMENT_CLASS(TNbI, "KvTbNtBkTests") {}
KV_IMPLEMENT_CLASS(TNbJ, "KvTbNtBkTests") {}
KV_IMPLEMENT_CLASS(TNbK, "KvTbNtBkTests") {}
KV_IMPLEMENT_CLASS(TNbL, "KvTbNtBkTests") {}
KV_IMPLEMENT_CLASS(TNbM, "KvTbNtBkTests") {}
KV_IMPLEMENT_CLASS(TNbEdit, "KvTbNtBkTests") {}

namespace {

const TComponentClasses ThirteenClasses = {
    TNbA::StaticClass(), TNbB::StaticClass(), TNbC::StaticClass(), TNbD::StaticClass(), TNbE::StaticClass(),
    TNbF::StaticClass(), TNbG::StaticClass(), TNbH::StaticClass(), TNbI::StaticClass(), TNbJ::StaticClass(),
    TNbK::StaticClass(), TNbL::StaticClass(), TNbM::StaticClass()};

struct KvTbNtBkFixture : ::testing::Test {
  using TSaved = std::vector<std::pair<std::string, TObject*>>;
  void SetUp() override {
    RegisterStandardClasses();
    Stash(RegisteredPages, SavedPages);
    Stash(ComponentBitmaps, SavedBitmaps);
    form = std::make_unique<TForm>(nullptr);
    form->SetBounds(0, 0, 500, 120);
  }
  void TearDown() override {
    form.reset();
    Restore(RegisteredPages, SavedPages);
    Restore(ComponentBitmaps, SavedBitmaps);
  }
  static void Stash(TStringList* list, TSaved& saved) {
    for (int i = 0; i < list->Count(); ++i) saved.emplace_back(list->Get(i), list->GetObject(i));
    list->OwnsObjects = false;
    list->Clear();
    list->OwnsObjects = true;
  }
  static void Restore(TStringList* list, const TSaved& saved) {
    list->Clear();
    for (auto& [name, object] : saved) list->AddObject(name, object);
  }
  TSaved SavedPages, SavedBitmaps;
  TKvTabbedNotebook* AddNotebook(int width = 405) {
    auto* nb = new TKvTabbedNotebook(form.get());
    nb->SetName("Palette");
    nb->SetParent(form.get());
    nb->SetUseRegistered(true);
    nb->SetBounds(0, 0, width, 60);
    return nb;
  }
  static TKvSpeedButton* Button(TKvTabbedNotebook* nb, int page, int i) {
    return static_cast<TKvSpeedButton*>(nb->GetComponentList(page)->Get(i));
  }
  static TKvSpeedButton* Pointer(TKvTabbedNotebook* nb, int page = 0) { return Button(nb, page, 0); }
  static TKvSpeedButton* LeftScroll(TKvTabbedNotebook* nb, int page = 0) { return Button(nb, page, 1); }
  static TKvSpeedButton* RightScroll(TKvTabbedNotebook* nb, int page = 0) { return Button(nb, page, 2); }
  static TKvSpeedButton* ClassButton(TKvTabbedNotebook* nb, int page, int k) { return Button(nb, page, 3 + k); }
  // The lefts of the class buttons shown, in class order.
  static std::vector<int> ShownLefts(TKvTabbedNotebook* nb, int page) {
    std::vector<int> out;
    TList* list = nb->GetComponentList(page);
    for (int i = 3; i < list->Count(); ++i) {
      auto* b = static_cast<TKvSpeedButton*>(list->Get(i));
      if (b->GetVisible()) out.push_back(b->GetLeft());
    }
    return out;
  }
  // A click as the mouse gives it: down and up over the button, through its page.
  static void ClickOn(TControl* button) {
    TWinControl* page = button->GetParent();
    intptr_t at = PointToLParam({button->GetLeft() + 5, button->GetTop() + 5});
    page->Perform(WM_LBUTTONDOWN, MK_LBUTTON, at);
    page->Perform(WM_LBUTTONUP, 0, at);
  }
  static void ClickTab(TKvTabbedNotebook* nb, int i) {
    TRect r = nb->TabStrip()->TabRects().at(i);
    intptr_t at = PointToLParam({r.Left + 5, r.Top + 5});
    nb->TabStrip()->Perform(WM_LBUTTONDOWN, MK_LBUTTON, at);
    nb->TabStrip()->Perform(WM_LBUTTONUP, 0, at);
  }
  static bool SameImage(TBitmap* a, TBitmap* b) {
    if (a->GetWidth() != b->GetWidth() || a->GetHeight() != b->GetHeight()) return false;
    for (int y = 0; y < a->GetHeight(); ++y)
      for (int x = 0; x < a->GetWidth(); ++x)
        if (a->Canvas()->GetPixel(x, y) != b->Canvas()->GetPixel(x, y)) return false;
    return true;
  }
  std::unique_ptr<TForm> form;
};

// ---------------------------------------------------------------------------------------------
TEST_F(KvTbNtBkFixture, RegisteredPagesBecomeTabsWithAButtonPerClass) {
  ReadDCRFile(std::string(KV_BIN_DIR) + "/KvStd.dcr");
  RegisterComponents("Standard", {TNbA::StaticClass(), TNbB::StaticClass(), TNbEdit::StaticClass()});
  RegisterComponents("Additional", {TNbD::StaticClass(), TNbE::StaticClass()});
  auto* nb = AddNotebook();
  EXPECT_EQ(nb->GetPages()->GetText(), "Standard\r\nAdditional\r\n");
  EXPECT_EQ(nb->GetPageIndex(), 0);
  EXPECT_EQ(nb->SelectedClass(), nullptr);

  TKvSpeedButton* pointer = Pointer(nb);
  EXPECT_TRUE(pointer->GetDown());
  EXPECT_EQ(pointer->BoundsRect(), Rect(4, 0, 32, 28));
  EXPECT_EQ(LeftScroll(nb)->BoundsRect(), Rect(38, 0, 50, 28));
  EXPECT_FALSE(LeftScroll(nb)->GetEnabled());
  // 405 pixels give (405 - 72) div 28 = 11 slots; three classes fit.
  EXPECT_EQ(RightScroll(nb)->BoundsRect(), Rect(358, 0, 370, 28));
  EXPECT_FALSE(RightScroll(nb)->GetEnabled());
  EXPECT_EQ(ShownLefts(nb, 0), (std::vector<int>{50, 78, 106}));
  TKvSpeedButton* a = ClassButton(nb, 0, 0);
  EXPECT_EQ(a->GetHeight(), 28);
  EXPECT_EQ(a->GetWidth(), 28);
  EXPECT_EQ(a->ComponentClass, TNbA::StaticClass());
  EXPECT_EQ(a->GetName(), "TNbA");
  EXPECT_EQ(a->GetHint(), "NbA");
  EXPECT_EQ(a->Owner(), form.get());
  EXPECT_EQ(a->GetParent(), nb->Page(0));
  EXPECT_EQ(a->GetGroupIndex(), pointer->GetGroupIndex());
  // The other page's buttons wait for their page.
  EXPECT_EQ(nb->GetComponentList(1)->Count(), 5);
  EXPECT_TRUE(ShownLefts(nb, 1).empty());

  // Glyphs: the fixed buttons' from the host's file, a class without a bitmap its ancestor's.
  EXPECT_TRUE(SameImage(pointer->GetGlyph(), GetComponentBitmapByName("KvPointer")));
  EXPECT_TRUE(SameImage(RightScroll(nb)->GetGlyph(), GetComponentBitmapByName("KvRightScroll")));
  EXPECT_TRUE(SameImage(ClassButton(nb, 0, 2)->GetGlyph(), GetComponentBitmap(TEdit::StaticClass())));
  EXPECT_FALSE(SameImage(ClassButton(nb, 0, 2)->GetGlyph(), GetComponentBitmapByName("KVUNKNOWN")));
  EXPECT_NE(ClassButton(nb, 0, 2)->GetGlyph(), GetComponentBitmap(TEdit::StaticClass())) << "a copy";
}

TEST_F(KvTbNtBkFixture, ScrollButtonsMoveTheWindowOneButtonAtATime) {
  RegisterComponents("Many", ThirteenClasses);
  auto* nb = AddNotebook();
  EXPECT_TRUE(RightScroll(nb)->GetEnabled());
  EXPECT_EQ(ShownLefts(nb, 0).size(), 11u);
  ClickOn(RightScroll(nb));
  EXPECT_EQ(nb->GetFirstVisible(), 1);
  EXPECT_FALSE(ClassButton(nb, 0, 0)->GetVisible());
  EXPECT_EQ(ClassButton(nb, 0, 1)->GetLeft(), 50);
  EXPECT_EQ(ClassButton(nb, 0, 11)->GetLeft(), 50 + 28 * 10);
  EXPECT_TRUE(LeftScroll(nb)->GetEnabled());
  ClickOn(RightScroll(nb));
  EXPECT_EQ(nb->GetFirstVisible(), 2);
  EXPECT_FALSE(RightScroll(nb)->GetEnabled()) << "the last class shows";
  ClickOn(RightScroll(nb));  // disabled: nothing
  EXPECT_EQ(nb->GetFirstVisible(), 2);
  ClickOn(LeftScroll(nb));
  EXPECT_EQ(nb->GetFirstVisible(), 1);
  EXPECT_EQ(nb->SelectedClass(), nullptr);
  EXPECT_TRUE(Pointer(nb)->GetDown());

  // Wide enough for all: the right scroll button gives up, the window stays where it was.
  nb->SetWidth(800);
  EXPECT_FALSE(RightScroll(nb)->GetEnabled());
  EXPECT_EQ(RightScroll(nb)->GetLeft(), 50 + 28 * 26);
  EXPECT_EQ(nb->GetFirstVisible(), 1);
  EXPECT_EQ(ShownLefts(nb, 0).size(), 12u);
  // Narrower than the fixed buttons: no slots, nothing placed left of the scroll buttons.
  nb->SetWidth(60);
  EXPECT_TRUE(ShownLefts(nb, 0).empty());
  EXPECT_EQ(RightScroll(nb)->GetLeft(), 50);
}

TEST_F(KvTbNtBkFixture, ClassButtonsSelectTheirClassThePointerNone) {
  RegisterComponents("Standard", {TNbA::StaticClass(), TNbB::StaticClass()});
  auto* nb = AddNotebook();
  std::vector<std::pair<TObject*, TClass>> selected;
  nb->OnSelect = [&](TObject* sender, TClass c) { selected.emplace_back(sender, c); };
  TKvSpeedButton* b = ClassButton(nb, 0, 1);
  ClickOn(b);
  EXPECT_EQ(nb->SelectedClass(), TNbB::StaticClass());
  ASSERT_EQ(selected.size(), 1u);
  EXPECT_EQ(selected[0], std::make_pair(static_cast<TObject*>(b), TNbB::StaticClass()));
  EXPECT_TRUE(b->GetDown());
  EXPECT_FALSE(Pointer(nb)->GetDown());
  ClickOn(Pointer(nb));
  EXPECT_EQ(nb->SelectedClass(), nullptr);
  ASSERT_EQ(selected.size(), 2u);
  EXPECT_EQ(selected[1], std::make_pair(static_cast<TObject*>(Pointer(nb)), TClass(nullptr)));
  EXPECT_FALSE(b->GetDown());
  // SetPointer, as the designer calls it after an insertion: no event.
  ClickOn(b);
  nb->SetPointer();
  EXPECT_EQ(nb->SelectedClass(), nullptr);
  EXPECT_TRUE(Pointer(nb)->GetDown());
  EXPECT_FALSE(b->GetDown());
  EXPECT_EQ(selected.size(), 3u);
}

TEST_F(KvTbNtBkFixture, TabClickAndRepaintReturnToThePointerArrowKeysDoNot) {
  RegisterComponents("Many", ThirteenClasses);
  RegisterComponents("More", {TNbA::StaticClass(), TNbB::StaticClass()});
  auto* nb = AddNotebook();
  ClickOn(RightScroll(nb));
  ClickOn(ClassButton(nb, 0, 3));
  ASSERT_EQ(nb->SelectedClass(), TNbD::StaticClass());

  // The keyboard keeps the scroll position and the selection; the page's buttons are placed.
  nb->Perform(WM_KEYDOWN, VK_RIGHT);
  EXPECT_EQ(nb->GetPageIndex(), 1);
  EXPECT_EQ(nb->GetFirstVisible(), 1);
  EXPECT_EQ(nb->SelectedClass(), TNbD::StaticClass());
  EXPECT_EQ(ShownLefts(nb, 1), std::vector<int>{50});
  EXPECT_TRUE(LeftScroll(nb, 1)->GetEnabled());
  nb->Perform(WM_KEYDOWN, VK_LEFT);
  EXPECT_TRUE(ClassButton(nb, 0, 3)->GetDown());

  // A tab click: first buttons, pointer pressed, no class.
  ClickTab(nb, 1);
  EXPECT_EQ(nb->GetPageIndex(), 1);
  EXPECT_EQ(nb->GetFirstVisible(), 0);
  EXPECT_EQ(nb->SelectedClass(), nullptr);
  EXPECT_EQ(ShownLefts(nb, 1), (std::vector<int>{50, 78}));
  EXPECT_TRUE(Pointer(nb, 1)->GetDown());

  ClickTab(nb, 0);
  ClickOn(RightScroll(nb));
  ClickOn(ClassButton(nb, 0, 5));
  nb->Repaint();
  EXPECT_EQ(nb->GetFirstVisible(), 0);
  EXPECT_EQ(nb->SelectedClass(), nullptr);
  EXPECT_TRUE(Pointer(nb)->GetDown());
  EXPECT_FALSE(ClassButton(nb, 0, 5)->GetDown());
}

TEST_F(KvTbNtBkFixture, RebuildsOnlyWhenTheRegistryGrew) {
  RegisterComponents("Standard", {TNbA::StaticClass(), TNbB::StaticClass()});
  auto* nb = AddNotebook();
  TKvTabPage* page = nb->Page(0);
  TKvSpeedButton* a = ClassButton(nb, 0, 0);
  ClickOn(a);
  nb->SetBounds(0, 0, 405, 60);
  nb->SetBounds(0, 0, 420, 60);
  EXPECT_EQ(nb->Page(0), page);
  EXPECT_EQ(ClassButton(nb, 0, 0), a);
  EXPECT_EQ(nb->SelectedClass(), TNbA::StaticClass());

  // A new class, on a new page and on an old one: all afresh, page 0 with the pointer.
  RegisterComponents("Extra", {TNbC::StaticClass(), TNbA::StaticClass()});
  nb->SetPageIndex(0);
  nb->SetBounds(0, 0, 420, 60);
  EXPECT_EQ(nb->GetPages()->GetText(), "Standard\r\nExtra\r\n");
  EXPECT_EQ(nb->GetPageIndex(), 0);
  EXPECT_EQ(nb->SelectedClass(), nullptr);
  EXPECT_TRUE(Pointer(nb)->GetDown());
  EXPECT_EQ(nb->GetComponentList(1)->Count(), 5);
  // The class on both pages: one button carries its name, the other none.
  EXPECT_EQ(ClassButton(nb, 0, 0)->GetName(), "TNbA");
  EXPECT_EQ(ClassButton(nb, 1, 1)->ComponentClass, TNbA::StaticClass());
  EXPECT_EQ(ClassButton(nb, 1, 1)->GetName(), "");
  EXPECT_TRUE(nb->GetVisible());

  // A notebook that does not use the registry is the host's to fill.
  RegisterComponents("Ignored", {TNbD::StaticClass()});
  nb->SetUseRegistered(false);
  nb->SetBounds(0, 0, 420, 60);
  EXPECT_EQ(nb->PageCount(), 2);
}

TEST_F(KvTbNtBkFixture, HostFillsPagesWithAddPageAndAddComponent) {
  auto* nb = new TKvTabbedNotebook(form.get());
  nb->SetParent(form.get());
  nb->SetBounds(0, 0, 405, 60);
  EXPECT_EQ(nb->GetPages()->GetText(), "Default\r\n");
  nb->SetPointer();  // no buttons yet: nothing to press, nothing raised
  EXPECT_EQ(nb->SelectedClass(), nullptr);
  EXPECT_THROW(nb->GetComponentList(-1), EListError);
  EXPECT_EQ(nb->GetTabPage(1), nullptr);

  TKvTabPage* tools = nb->AddPage("Tools");
  EXPECT_EQ(tools, nb->Page(1));
  nb->AddComponent(TNbA::StaticClass(), "");
  nb->AddComponent(TNbB::StaticClass(), "Second tool");
  EXPECT_EQ(nb->AddPage("TOOLS"), tools) << "the page exists: selected, no second set of fixed buttons";
  EXPECT_EQ(nb->GetComponentList(1)->Count(), 5);
  EXPECT_EQ(ClassButton(nb, 1, 1)->GetHint(), "Second tool");
  EXPECT_EQ(ClassButton(nb, 1, 0)->GetHint(), "NbA");
  ClickTab(nb, 0);
  ClickTab(nb, 1);
  EXPECT_EQ(ShownLefts(nb, 1), (std::vector<int>{50, 78}));
  EXPECT_EQ(nb->GetTabPage(1), tools);
  EXPECT_THROW(nb->AddComponent(nullptr, "None"), EComponentError);
  EXPECT_EQ(nb->GetComponentList(1)->Count(), 5);
}

TEST_F(KvTbNtBkFixture, NotebookGoesBeforeTheOwnerOfItsButtons) {
  RegisterComponents("Standard", {TNbA::StaticClass(), TNbB::StaticClass()});
  RegisterComponents("Additional", {TNbC::StaticClass()});
  int before = form->ComponentCount();
  auto* nb = AddNotebook();
  EXPECT_EQ(form->ComponentCount(), before + 1 + 2 * 3 + 3);
  delete nb;  // the buttons go with their pages and leave the form
  EXPECT_EQ(form->ComponentCount(), before);
  // And the usual way: the owner frees buttons and notebook together.
  AddNotebook();
  form.reset();
  EXPECT_EQ(RegisteredPages->Count(), 2);
}

TEST_F(KvTbNtBkFixture, PublishedPropertiesStreamWithTheirDefaults) {
  RegisterClass(TKvTabbedNotebook::StaticClass());
  RegisterKvTbNtBkClasses();
  EXPECT_EQ(GetClass("TKvTabPage"), TKvTabPage::StaticClass());
  EXPECT_EQ(GetClass("TTabPage"), TTabPage::StaticClass());
  auto* nb = new TKvTabbedNotebook(form.get());
  nb->SetName("Palette");
  nb->SetParent(form.get());
  nb->SetUseRegistered(true);
  nb->SetTabsPerRow(4);
  TMemoryStream bin, text;
  bin.WriteComponent(form.get());
  bin.SetPosition(0);
  ObjectBinaryToText(&bin, &text);
  std::string t(reinterpret_cast<const char*>(text.Memory()), text.GetSize());
  EXPECT_NE(t.find("UseRegistered = True"), std::string::npos) << t;
  EXPECT_NE(t.find("TabsPerRow = 4"), std::string::npos) << t;
  for (const char* absent : {"PageIndex", "TabStop", "ActivePage", "Pages", "Enabled", "Visible"})
    EXPECT_EQ(t.find(absent), std::string::npos) << absent << " in " << t;

  bin.SetPosition(0);
  TForm copy(nullptr);
  bin.ReadComponent(&copy);
  auto* nb2 = static_cast<TKvTabbedNotebook*>(copy.FindComponent("Palette"));
  ASSERT_NE(nb2, nullptr);
  EXPECT_TRUE(nb2->GetUseRegistered());
  EXPECT_EQ(nb2->GetTabsPerRow(), 4);
  EXPECT_TRUE(nb2->GetTabStop());
  EXPECT_EQ(nb2->GetPages()->GetText(), "Default\r\n");
}

TEST_F(KvTbNtBkFixture, OnADesignedFormTheNotebookIsSmallWithHints) {
  form->SetDesigning(true);
  auto* nb = new TKvTabbedNotebook(form.get());
  EXPECT_EQ(nb->GetWidth(), 300);
  EXPECT_EQ(nb->GetHeight(), 63);
  EXPECT_TRUE(nb->GetShowHint());
}

}  // namespace

namespace {

// Painted for real, as the designer window shows it: tabs on top, then the row of buttons.
// The picture is left in the build tree (palette.png) for a person to look at.
TEST_F(KvTbNtBkFixture, PalettePaintsTabsAndAButtonRow) {
  ReadDCRFile(std::string(KV_BIN_DIR) + "/KvStd.dcr");
  RegisterComponents("Standard", {TLabel::StaticClass(), TEdit::StaticClass(), TButton::StaticClass()});
  RegisterComponents("Additional", {TNbEdit::StaticClass()});
  auto* nb = AddNotebook();
  nb->SetBounds(8, 8, 405, 60);
  nb->GetTabFont()->Assign(form->GetFont());
  form->SetColor(clBtnFace);
  form->Show();
  for (int i = 0; i < 3; ++i) Application->ProcessMessages();
  TBitmap shot;
  GrabWindow(form.get(), &shot);
  TPicture picture;
  picture.SetBitmap(&shot);
  picture.SaveToFile(std::string(KV_BIN_DIR) + "/../palette.png");

  const TColor face = ColorToRGB(clBtnFace);
  auto inked = [&](TControl* c) {  // pixels that are not the button face, inside a button
    TPoint o = c->ClientToScreen({0, 0});
    TPoint f = form->ClientToScreen({0, 0});
    int n = 0;
    for (int y = 4; y < c->GetHeight() - 4; ++y)
      for (int x = 4; x < c->GetWidth() - 4; ++x)
        if (shot.Canvas()->GetPixel(o.X - f.X + x, o.Y - f.Y + y) != face) ++n;
    return n;
  };
  TKvSpeedButton* label = ClassButton(nb, 0, 0);
  EXPECT_GT(inked(label), 20) << "the class button shows its glyph";
  EXPECT_GT(inked(Pointer(nb)), 20);
  EXPECT_GT(inked(RightScroll(nb)), 3);
  // Below the tabs: the buttons stand on the page, under the tab row.
  TPoint buttonTop = label->ClientToScreen({0, 0});
  TPoint tabBottom = nb->ClientToScreen({0, nb->TabStrip()->TabRects().at(0).Bottom});
  EXPECT_GT(buttonTop.Y, tabBottom.Y);
  EXPECT_LE(buttonTop.Y + 28, nb->ClientToScreen({0, nb->GetHeight()}).Y);
}

}  // namespace
