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
KV_NB_TEST_CLASS(TNbEdit, TEdit)  // no bitmap of its own
}  // namespace

KV_IMPLEMENT_CLASS(TNbA, "KvTbNtBkTests") {}
KV_IMPLEMENT_CLASS(TNbB, "KvTbNtBkTests") {}
KV_IMPLEMENT_CLASS(TNbC, "KvTbNtBkTests") {}
KV_IMPLEMENT_CLASS(TNbEdit, "KvTbNtBkTests") {}

namespace {

// Thirteen classes, more than the eleven slots of a 405 pixel wide palette.
const TComponentClasses Many = {TLabel::StaticClass(),    TEdit::StaticClass(),     TMemo::StaticClass(),
                                TButton::StaticClass(),   TCheckBox::StaticClass(), TRadioButton::StaticClass(),
                                TListBox::StaticClass(),  TComboBox::StaticClass(), TScrollBar::StaticClass(),
                                TGroupBox::StaticClass(), TNbA::StaticClass(),      TNbB::StaticClass(),
                                TNbC::StaticClass()};

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
  TKvTabbedNotebook* AddNotebook() {
    auto* nb = new TKvTabbedNotebook(form.get());
    nb->SetParent(form.get());
    nb->SetUseRegistered(true);
    nb->SetBounds(8, 8, 405, 60);
    return nb;
  }
  // Entries 0 to 2 of a page's list: pointer, left scroll, right scroll; then the classes.
  static TKvSpeedButton* Button(TKvTabbedNotebook* nb, int page, int i) {
    return static_cast<TKvSpeedButton*>(nb->GetComponentList(page)->Get(i));
  }
  static std::vector<int> ShownLefts(TKvTabbedNotebook* nb, int page) {
    std::vector<int> out;
    for (int i = 3; i < nb->GetComponentList(page)->Count(); ++i)
      if (Button(nb, page, i)->GetVisible()) out.push_back(Button(nb, page, i)->GetLeft());
    return out;
  }
  // Down and up at a point of a window, as the mouse gives them.
  static void Click(TWinControl* w, TPoint p) {
    w->Perform(WM_LBUTTONDOWN, MK_LBUTTON, PointToLParam(p));
    w->Perform(WM_LBUTTONUP, 0, PointToLParam(p));
  }
  // Over a button, through its page.
  static void ClickOn(TControl* b) { Click(b->GetParent(), {b->GetLeft() + 5, b->GetTop() + 5}); }
  static void ClickTab(TKvTabbedNotebook* nb, int i) {
    TRect r = nb->TabStrip()->TabRects().at(i);
    Click(nb->TabStrip(), {r.Left + 5, r.Top + 5});
  }
  static bool SameImage(TBitmap* a, TBitmap* b) {
    if (a->GetWidth() != b->GetWidth() || a->GetHeight() != b->GetHeight()) return false;
    for (int y = 0; y < a->GetHeight(); ++y)
      for (int x = 0; x < a->GetWidth(); ++x)
        if (a->Canvas()->GetPixel(x, y) != b->Canvas()->GetPixel(x, y)) return false;
    return true;
  }
  TSaved SavedPages, SavedBitmaps;
  std::unique_ptr<TForm> form;
};

// ---------------------------------------------------------------------------------------------
TEST_F(KvTbNtBkFixture, RegisteredPagesBecomeTabsWithAButtonPerClass) {
  ReadDCRFile(std::string(KV_BIN_DIR) + "/KvStd.dcr");
  RegisterComponents("Standard", {TNbA::StaticClass(), TNbB::StaticClass(), TNbEdit::StaticClass()});
  RegisterComponents("Additional", {TNbC::StaticClass(), TNbA::StaticClass()});
  auto* nb = AddNotebook();
  EXPECT_EQ(nb->GetPages()->GetText(), "Standard\r\nAdditional\r\n");
  EXPECT_EQ(nb->GetPageIndex(), 0);
  EXPECT_TRUE(Button(nb, 0, 0)->GetDown());
  EXPECT_EQ(Button(nb, 0, 0)->BoundsRect(), Rect(4, 0, 32, 28));
  EXPECT_EQ(Button(nb, 0, 1)->BoundsRect(), Rect(38, 0, 50, 28));
  EXPECT_EQ(Button(nb, 0, 2)->BoundsRect(), Rect(358, 0, 370, 28));  // after (405 - 72) div 28 = 11 slots
  EXPECT_FALSE(Button(nb, 0, 1)->GetEnabled());
  EXPECT_FALSE(Button(nb, 0, 2)->GetEnabled());
  EXPECT_EQ(ShownLefts(nb, 0), (std::vector<int>{50, 78, 106}));
  TKvSpeedButton* a = Button(nb, 0, 3);
  EXPECT_EQ(a->ComponentClass, TNbA::StaticClass());
  EXPECT_EQ(a->GetHint(), "NbA");
  EXPECT_EQ(a->Owner(), form.get());
  EXPECT_EQ(a->GetParent(), nb->Page(0));
  EXPECT_TRUE(ShownLefts(nb, 1).empty()) << "the other page's buttons wait for their page";
  // A class on two pages: the second button stays unnamed rather than failing the palette.
  EXPECT_EQ(a->GetName(), "TNbA");
  EXPECT_EQ(Button(nb, 1, 4)->ComponentClass, TNbA::StaticClass());
  EXPECT_EQ(Button(nb, 1, 4)->GetName(), "");
  // Glyphs: the fixed buttons' from the host's file; a class without a bitmap, its ancestor's.
  EXPECT_TRUE(SameImage(Button(nb, 0, 0)->GetGlyph(), GetComponentBitmapByName("KvPointer")));
  EXPECT_TRUE(SameImage(Button(nb, 0, 5)->GetGlyph(), GetComponentBitmap(TEdit::StaticClass())));
  EXPECT_FALSE(SameImage(Button(nb, 0, 5)->GetGlyph(), GetComponentBitmapByName("KVUNKNOWN")));
}

TEST_F(KvTbNtBkFixture, ScrollButtonsMoveTheRowOneButtonAtATime) {
  RegisterComponents("Many", Many);
  auto* nb = AddNotebook();
  EXPECT_EQ(ShownLefts(nb, 0).size(), 11u);
  ClickOn(Button(nb, 0, 2));
  EXPECT_FALSE(Button(nb, 0, 3)->GetVisible());
  EXPECT_EQ(Button(nb, 0, 4)->GetLeft(), 50);
  EXPECT_TRUE(Button(nb, 0, 1)->GetEnabled());
  ClickOn(Button(nb, 0, 2));
  EXPECT_FALSE(Button(nb, 0, 2)->GetEnabled()) << "the last class shows";
  ClickOn(Button(nb, 0, 2));  // disabled: nothing
  EXPECT_EQ(nb->GetFirstVisible(), 2);
  ClickOn(Button(nb, 0, 1));
  EXPECT_EQ(nb->GetFirstVisible(), 1);
  // Wide enough for all: the right scroll button gives up, the row stays where it was.
  nb->SetWidth(800);
  EXPECT_FALSE(Button(nb, 0, 2)->GetEnabled());
  EXPECT_EQ(Button(nb, 0, 2)->GetLeft(), 50 + 28 * 26);
  EXPECT_EQ(ShownLefts(nb, 0).size(), 12u);
  nb->SetWidth(60);  // narrower than the fixed buttons: no slots
  EXPECT_TRUE(ShownLefts(nb, 0).empty());
  EXPECT_EQ(Button(nb, 0, 2)->GetLeft(), 50);
}

TEST_F(KvTbNtBkFixture, ClassButtonsSelectTheirClassThePointerNone) {
  RegisterComponents("Standard", {TNbA::StaticClass(), TNbB::StaticClass()});
  auto* nb = AddNotebook();
  std::vector<std::pair<TObject*, TClass>> selected;
  nb->OnSelect = [&](TObject* sender, TClass c) { selected.emplace_back(sender, c); };
  TKvSpeedButton *pointer = Button(nb, 0, 0), *b = Button(nb, 0, 4);
  ClickOn(b);
  EXPECT_EQ(nb->SelectedClass(), TNbB::StaticClass());
  EXPECT_FALSE(pointer->GetDown());
  ClickOn(pointer);
  EXPECT_EQ(nb->SelectedClass(), nullptr);
  EXPECT_FALSE(b->GetDown());
  using TSel = std::pair<TObject*, TClass>;
  EXPECT_EQ(selected, (std::vector<TSel>{{b, TNbB::StaticClass()}, {pointer, nullptr}}));
  ClickOn(b);
  nb->SetPointer();  // as the designer does after an insertion: no event
  EXPECT_EQ(nb->SelectedClass(), nullptr);
  EXPECT_TRUE(pointer->GetDown());
  EXPECT_FALSE(b->GetDown());
  EXPECT_EQ(selected.size(), 3u);
}

TEST_F(KvTbNtBkFixture, TabClickAndRepaintReturnToThePointerArrowKeysDoNot) {
  RegisterComponents("Many", Many);
  RegisterComponents("More", {TNbA::StaticClass(), TNbB::StaticClass()});
  auto* nb = AddNotebook();
  ClickOn(Button(nb, 0, 2));
  ClickOn(Button(nb, 0, 6));
  ASSERT_EQ(nb->SelectedClass(), TButton::StaticClass());
  // The keyboard keeps the row's position and the selection; the new page's buttons are placed.
  nb->Perform(WM_KEYDOWN, VK_RIGHT);
  EXPECT_EQ(nb->GetPageIndex(), 1);
  EXPECT_EQ(nb->SelectedClass(), TButton::StaticClass());
  EXPECT_EQ(ShownLefts(nb, 1), std::vector<int>{50});
  nb->Perform(WM_KEYDOWN, VK_LEFT);
  EXPECT_TRUE(Button(nb, 0, 6)->GetDown());
  // A tab click: the first buttons, the pointer, no class.
  ClickTab(nb, 1);
  EXPECT_EQ(nb->GetPageIndex(), 1);
  EXPECT_EQ(nb->SelectedClass(), nullptr);
  EXPECT_EQ(ShownLefts(nb, 1), (std::vector<int>{50, 78}));
  ClickTab(nb, 0);
  ClickOn(Button(nb, 0, 2));
  ClickOn(Button(nb, 0, 6));
  nb->Repaint();
  EXPECT_EQ(nb->GetFirstVisible(), 0);
  EXPECT_EQ(nb->SelectedClass(), nullptr);
  EXPECT_TRUE(Button(nb, 0, 0)->GetDown());
}

TEST_F(KvTbNtBkFixture, RebuildsOnlyWhenTheRegistryGrew) {
  RegisterComponents("Standard", {TNbA::StaticClass()});
  auto* nb = AddNotebook();
  TKvSpeedButton* a = Button(nb, 0, 3);
  bool rebuilt = false;
  a->OnDestroy = [&](TObject*) { rebuilt = true; };
  ClickOn(a);
  nb->SetBounds(0, 0, 420, 60);
  EXPECT_FALSE(rebuilt);
  EXPECT_EQ(nb->SelectedClass(), TNbA::StaticClass());
  RegisterComponents("Extra", {TNbC::StaticClass()});
  nb->SetBounds(0, 0, 420, 60);
  EXPECT_EQ(nb->GetPages()->GetText(), "Standard\r\nExtra\r\n");
  EXPECT_TRUE(rebuilt);
  EXPECT_EQ(nb->SelectedClass(), nullptr);
  EXPECT_TRUE(nb->GetVisible());
  // Not using the registry, the notebook is the host's to fill.
  RegisterComponents("Ignored", {TNbB::StaticClass()});
  nb->SetUseRegistered(false);
  nb->SetBounds(0, 0, 420, 60);
  EXPECT_EQ(nb->PageCount(), 2);
  EXPECT_EQ(nb->AddPage("extra"), nb->Page(1)) << "an existing page, in any case";
  nb->AddComponent(TNbB::StaticClass(), "Second tool");
  EXPECT_EQ(Button(nb, 1, 4)->GetHint(), "Second tool");
  EXPECT_THROW(nb->AddComponent(nullptr, ""), EComponentError);
  EXPECT_THROW(nb->GetComponentList(-1), EListError);
  EXPECT_EQ(nb->GetTabPage(2), nullptr);
}

TEST_F(KvTbNtBkFixture, NotebookMayGoBeforeTheOwnerOfItsButtons) {
  RegisterComponents("Standard", {TNbA::StaticClass(), TNbB::StaticClass()});
  int before = form->ComponentCount();
  auto* nb = AddNotebook();
  EXPECT_EQ(form->ComponentCount(), before + 1 + 3 + 2);
  delete nb;
  EXPECT_EQ(form->ComponentCount(), before);
  auto* empty = new TKvTabbedNotebook(form.get());
  empty->SetPointer();  // no buttons: nothing to press, nothing raised
  EXPECT_EQ(empty->SelectedClass(), nullptr);
}

TEST_F(KvTbNtBkFixture, PublishedPropertiesStreamWithTheirDefaults) {
  RegisterClass(TKvTabbedNotebook::StaticClass());
  RegisterKvTbNtBkClasses();
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
  for (const char* absent : {"PageIndex", "TabStop", "ActivePage", "Pages ="})
    EXPECT_EQ(t.find(absent), std::string::npos) << absent << " in " << t;
  bin.SetPosition(0);
  TForm copy(nullptr);
  bin.ReadComponent(&copy);
  EXPECT_TRUE(static_cast<TKvTabbedNotebook*>(copy.FindComponent("Palette"))->GetUseRegistered());
}

// Painted for real: tabs on top, the row of buttons below them. The picture is left in the
// build tree (palette.png) for a person to look at.
TEST_F(KvTbNtBkFixture, PalettePaintsTabsAboveARowOfGlyphs) {
  ReadDCRFile(std::string(KV_BIN_DIR) + "/KvStd.dcr");
  RegisterComponents("Standard", {TLabel::StaticClass(), TEdit::StaticClass(), TButton::StaticClass()});
  RegisterComponents("Additional", {TNbEdit::StaticClass()});
  auto* nb = AddNotebook();
  form->SetColor(clBtnFace);
  form->Show();
  for (int i = 0; i < 3; ++i) Application->ProcessMessages();
  TPicture picture;
  TBitmap& shot = *picture.GetBitmap();
  GrabWindow(form.get(), &shot);
  picture.SaveToFile(std::string(KV_BIN_DIR) + "/../palette.png");
  auto inked = [&](TControl* c) {  // pixels inside the button that are not its face
    TPoint o = form->ScreenToClient(c->ClientToScreen({0, 0}));
    int n = 0;
    for (int y = 4; y < c->GetHeight() - 4; ++y)
      for (int x = 4; x < c->GetWidth() - 4; ++x)
        n += shot.Canvas()->GetPixel(o.X + x, o.Y + y) != ColorToRGB(clBtnFace);
    return n;
  };
  EXPECT_GT(inked(Button(nb, 0, 3)), 20);
  EXPECT_GT(inked(Button(nb, 0, 0)), 20);
  EXPECT_GT(inked(Button(nb, 0, 2)), 3);
  int tabsBottom = nb->ClientToScreen({0, nb->TabStrip()->TabRects().at(0).Bottom}).Y;
  EXPECT_GT(Button(nb, 0, 3)->ClientToScreen({0, 0}).Y, tabsBottom);
  EXPECT_LE(Button(nb, 0, 3)->ClientToScreen({0, 28}).Y, nb->ClientToScreen({0, nb->GetHeight()}).Y);
}

}  // namespace
