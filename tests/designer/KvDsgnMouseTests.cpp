// Insertion by palette click, the component editor on double click, the designed form's own
// menu, and keys the engine leaves to the controls.
#include "ComCtrls.h"
#include "DesignerFixture.h"
#include "ExtCtrls.h"
#include "KvTbNtBk.h"
#include "StdReg.h"

namespace {

// A panel class with an editor of its own, which records what double clicks hand it.
class TKvMouseTestPanel : public TPanel {
  KV_CLASS(TKvMouseTestPanel, TPanel)
 public:
  using TPanel::TPanel;
};

struct KvMouseTestEdits {
  static inline std::vector<std::pair<TComponent*, TFormDesigner*>> Seen;
};

class TKvMouseTestEditor : public TComponentEditor {
  KV_CLASS(TKvMouseTestEditor, TComponentEditor)
 public:
  void Edit() override { KvMouseTestEdits::Seen.emplace_back(Component(), Designer()); }
};

}  // namespace

KV_IMPLEMENT_CLASS(TKvMouseTestPanel, "KvDsgnMouseTests") {}
KV_IMPLEMENT_CLASS(TKvMouseTestEditor, "KvDsgnMouseTests") {}

namespace {

class MouseTest : public DesignerTest {
 protected:
  void SetUp() override {
    RegisterStandardComponents();  // the host's packages, before the palette is built
    DesignerTest::SetUp();
    Engine->FModified = false;
  }

  TKvTabbedNotebook* Palette() const { return Designer->FDesignerWindow->KvTabbedNotebook1; }

  static void Click(TWinControl* w, TPoint p) {
    SendInput(w, WM_LBUTTONDOWN, p, MK_LBUTTON);
    SendInput(w, WM_LBUTTONUP, p);
  }

  // Picks a class as the user does: the page's tab, then the class's button on that page.
  void Choose(const std::string& page, TClass cls) {
    TKvTabbedNotebook* nb = Palette();
    int index = nb->GetPages()->IndexOf(page);
    ASSERT_GE(index, 0) << page;
    TRect tab = nb->TabStrip()->TabRects().at(index);
    Click(nb->TabStrip(), {tab.Left + 5, tab.Top + 5});
    ASSERT_EQ(nb->GetPageIndex(), index) << page;
    TList* buttons = nb->GetComponentList(index);
    for (int i = 3; i < buttons->Count(); ++i) {
      auto* b = static_cast<TKvSpeedButton*>(buttons->Get(i));
      if (b->ComponentClass != cls) continue;
      ASSERT_TRUE(b->GetVisible()) << cls->Name;
      Click(b->GetParent(), {b->GetLeft() + 5, b->GetTop() + 5});
      ASSERT_EQ(nb->SelectedClass(), cls);
      return;
    }
    FAIL() << cls->Name << " is not on " << page;
  }

  bool PointerDown() const {
    TKvTabbedNotebook* nb = Palette();
    return static_cast<TKvSpeedButton*>(nb->GetComponentList(nb->GetPageIndex())->Get(0))->GetDown();
  }
};

TPoint KvMouseTestDefaultSize(TClass cls) {
  std::unique_ptr<TControl> probe(static_cast<TControl*>(cls->Create(nullptr)));
  return {probe->GetWidth(), probe->GetHeight()};
}

}  // namespace

TEST_F(MouseTest, APaletteClassLandsAtThePressPointInItsDefaultSizeNamedInTurn) {
  Choose("Standard", TButton::StaticClass());
  Press({101, 61});   // unsnapped
  MoveTo({141, 91});  // the press inserted: no drag follows
  Release({141, 91});
  auto* first = dynamic_cast<TButton*>(Form()->FindComponent("Button1"));
  ASSERT_NE(first, nullptr);
  TPoint size = KvMouseTestDefaultSize(TButton::StaticClass());
  EXPECT_EQ(first->BoundsRect(), Bounds(101, 61, size.X, size.Y));
  EXPECT_EQ(first->GetParent(), Form());
  EXPECT_EQ(Engine->Selected(), first);
  EXPECT_TRUE(Engine->FModified);
  EXPECT_EQ(Palette()->SelectedClass(), nullptr);
  EXPECT_TRUE(PointerDown());

  Press({101, 161});  // the palette is back on the pointer: a plain press selects the form
  Release({101, 161});
  EXPECT_EQ(Form()->FindComponent("Button2"), nullptr);
  EXPECT_EQ(Engine->Selected(), Form());

  Choose("Standard", TButton::StaticClass());
  Press({101, 161});
  Release({101, 161});
  auto* second = dynamic_cast<TButton*>(Form()->FindComponent("Button2"));
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(second->GetTop(), 161);
  EXPECT_EQ(Engine->Selected(), second);
}

TEST_F(MouseTest, WithInsertionOffThePressSelectsAndDragsAndThePaletteStillResets) {
  auto* existing = Add<TButton>("Button1", 16, 16, 75, 25);
  Designer->SetCanInsert(false);
  Choose("Standard", TButton::StaticClass());
  Press({20, 20});
  MoveTo({36, 20});
  Release({36, 20});
  EXPECT_EQ(Form()->FindComponent("Button2"), nullptr);
  EXPECT_EQ(Engine->Selected(), existing);
  EXPECT_EQ(existing->GetLeft(), 32);
  EXPECT_EQ(Palette()->SelectedClass(), nullptr);
  EXPECT_TRUE(PointerDown());
}

TEST_F(MouseTest, AClickOnALabelInsertsIntoTheLabelsContainerAtTheClickPoint) {
  auto* panel = Add<TPanel>("Panel1", 40, 40, 200, 120);
  auto* inPanel = Add<TLabel>("Label1", 8, 8, 60, 16, panel);
  auto* onForm = Add<TLabel>("Label2", 300, 40, 60, 16);
  TPoint press{inPanel->GetLeft() + 40 + 4, inPanel->GetTop() + 40 + 3};
  ASSERT_EQ(Engine->ControlAt(Form(), Form()->ClientToScreen(press)), inPanel);

  Choose("Standard", TButton::StaticClass());
  Press(press);
  Release(press);
  auto* inserted = dynamic_cast<TButton*>(Form()->FindComponent("Button1"));
  ASSERT_NE(inserted, nullptr);
  EXPECT_EQ(inserted->GetParent(), panel);
  EXPECT_EQ(inserted->ClientOrigin(), Form()->ClientToScreen(press));
  EXPECT_EQ(inserted->GetOwner(), Form());

  Choose("Standard", TButton::StaticClass());
  Press({304, 44});
  Release({304, 44});
  auto* beside = dynamic_cast<TButton*>(Form()->FindComponent("Button2"));
  ASSERT_NE(beside, nullptr);
  EXPECT_EQ(beside->GetParent(), Form());
  EXPECT_EQ((TPoint{beside->GetLeft(), beside->GetTop()}), (TPoint{304, 44}));
  EXPECT_EQ(onForm->GetParent(), Form());
}

TEST_F(MouseTest, ANonVisualClassGetsItsIconAtThePressPoint) {
  Choose("System", TTimer::StaticClass());
  Press({40, 30});
  Release({40, 30});
  auto* timer = dynamic_cast<TTimer*>(Form()->FindComponent("Timer1"));
  ASSERT_NE(timer, nullptr);
  ASSERT_EQ(Engine->IconCount(), 1);
  auto* icon = Engine->Icon(0);
  EXPECT_EQ(icon->BoundsRect(), Bounds(40, 30, 28, 28));
  EXPECT_EQ(icon->Component(), timer);
  EXPECT_EQ(timer->GetDesignInfo(), (30 << 16) | 40);
  EXPECT_EQ(Engine->Selected(), icon);
  EXPECT_EQ(Engine->SelectedComponent(), timer);
  EXPECT_EQ(Selection(), (std::vector<TComponent*>{timer}));

  // The icon is picked and dragged like a control, and carries the position along.
  Engine->SelectComponent(Form());
  Drag({50, 40}, {66, 48});
  EXPECT_EQ(icon->GetLeft(), 56);
  EXPECT_EQ(timer->GetDesignInfo(), (38 << 16) | 56);
}

TEST_F(MouseTest, DoubleClickSelectsAndRunsTheComponentEditorOfTheControlUnderTheCursor) {
  RegisterComponentEditor(TKvMouseTestPanel::StaticClass(), TKvMouseTestEditor::StaticClass());
  KvMouseTestEdits::Seen.clear();
  auto* panel = Add<TKvMouseTestPanel>("Panel1", 100, 40, 120, 80);
  auto* button = Add<TButton>("Button1", 16, 16, 75, 25);
  Engine->SelectComponent(button);
  SendInput(Form(), WM_LBUTTONDOWN, {110, 50}, MK_LBUTTON);
  SendInput(Form(), WM_LBUTTONUP, {110, 50});
  SendInput(Form(), WM_LBUTTONDBLCLK, {110, 50}, MK_LBUTTON);
  SendInput(Form(), WM_LBUTTONUP, {110, 50});
  ASSERT_EQ(KvMouseTestEdits::Seen.size(), 1u);
  EXPECT_EQ(KvMouseTestEdits::Seen[0].first, panel);
  EXPECT_EQ(KvMouseTestEdits::Seen[0].second, Engine);
  EXPECT_EQ(Engine->Selected(), panel);
  EXPECT_EQ(Engine->DragState(), kdNone);

  // The default editor gives the button's OnClick a handler named after it.
  SendInput(Form(), WM_LBUTTONDBLCLK, {20, 20}, MK_LBUTTON);
  SendInput(Form(), WM_LBUTTONUP, {20, 20});
  EXPECT_EQ(Engine->Selected(), button);
  EXPECT_EQ(TObject::MethodName(button->OnClick.Method()), "Button1Click");
  EXPECT_EQ(KvMouseTestEdits::Seen.size(), 1u);
}

// Each class's handler is the one Delphi makes on a double click: OnCreate of the form, OnChange
// where there is one (an edit, a combo box, which has OnClick too), else OnClick. The design is
// modified, and a second double click keeps the handler instead of making another.
TEST_F(MouseTest, DoubleClickGivesTheDefaultEventAHandlerNamedAsDelphiNamesIt) {
  auto* edit = Add<TEdit>("Edit1", 16, 16, 120, 21);
  auto* combo = Add<TComboBox>("ComboBox1", 16, 60, 120, 21);
  auto* check = Add<TCheckBox>("CheckBox1", 16, 100, 120, 17);
  auto doubleClick = [this](TPoint p) {
    SendInput(Form(), WM_LBUTTONDBLCLK, p, MK_LBUTTON);
    SendInput(Form(), WM_LBUTTONUP, p);
  };
  doubleClick({20, 20});
  EXPECT_EQ(TObject::MethodName(edit->OnChange.Method()), "Edit1Change");
  EXPECT_TRUE(Engine->FModified);
  doubleClick({20, 64});
  EXPECT_EQ(TObject::MethodName(combo->OnChange.Method()), "ComboBox1Change");
  EXPECT_FALSE(combo->OnClick.Method().Assigned());
  doubleClick({20, 104});
  EXPECT_EQ(TObject::MethodName(check->OnClick.Method()), "CheckBox1Click");
  doubleClick({300, 200});
  EXPECT_EQ(TObject::MethodName(static_cast<TForm*>(Form())->OnCreate.Method()), "FormCreate");
  EXPECT_FALSE(static_cast<TForm*>(Form())->OnClick.Method().Assigned());

  Engine->FModified = false;
  doubleClick({20, 20});
  EXPECT_EQ(TObject::MethodName(edit->OnChange.Method()), "Edit1Change");
  EXPECT_FALSE(Engine->MethodExists("Edit1Change1"));
}

TEST_F(MouseTest, PointingAtTheDesignedFormsOwnMenuSelectsTheItem) {
  // Owned by the form, as a loaded form's menu is.
  auto item = [this](const char* name, const char* caption, TMenuItem* parent) {
    auto* i = new TMenuItem(Form());
    i->SetName(name);
    i->SetCaption(caption);
    parent->Add(i);
    return i;
  };
  auto* menu = new TMainMenu(Form());
  menu->SetName("MainMenu1");
  auto* file = item("FileItem", "&File", menu->Items());
  auto* open = item("OpenItem", "&Open", file);
  auto* help = item("HelpItem", "&Help", menu->Items());  // a command right on the bar
  ASSERT_GE(help->Command(), 2) << "a command number that is no index of the bar";
  Form()->SetMenu(menu);
  Application->ProcessMessages();

  // Before any bar entry, a sub-menu's item finds no menu to look in.
  Form()->Perform(WM_MENUSELECT, MakeWParam(open->Command(), 0), static_cast<intptr_t>(file->Handle()));
  EXPECT_EQ(Engine->Selected(), Form());

  ASSERT_TRUE(HighlightMenuItem(help));
  EXPECT_EQ(Selection(), (std::vector<TComponent*>{help}));
  ASSERT_TRUE(HighlightMenuItem(file));
  EXPECT_EQ(Selection(), (std::vector<TComponent*>{file}));
  bool shown = false;
  for (int i = 0; i < 20 && !(shown = HighlightMenuItem(open)); ++i) Application->ProcessMessages();
  ASSERT_TRUE(shown);
  EXPECT_EQ(Selection(), (std::vector<TComponent*>{open}));
  EXPECT_EQ(Engine->SelectedComponent(), open);
}

TEST_F(MouseTest, KeysTheEngineRefusesReachTheControl) {
  auto* edit = Add<TEdit>("Edit1", 16, 16, 120, 21);
  auto* button = Add<TButton>("Button1", 16, 64, 75, 25);
  std::vector<uint16_t> reached;
  edit->OnKeyDown = [&](TObject*, uint16_t& key, TShiftState) { reached.push_back(key); };
  Engine->SelectComponent(button);

  Designer->SetCanDelete(false);
  edit->Perform(WM_KEYDOWN, VK_DELETE, 0);
  EXPECT_EQ(reached, std::vector<uint16_t>{VK_DELETE});
  EXPECT_NE(Form()->FindComponent("Button1"), nullptr);
  EXPECT_FALSE(Engine->FModified);

  Designer->SetCanDelete(true);
  edit->Perform(WM_KEYDOWN, VK_LEFT, 0);  // only Delete is the engine's
  edit->Perform(WM_KEYDOWN, VK_DELETE, 0);
  EXPECT_EQ(reached, (std::vector<uint16_t>{VK_DELETE, VK_LEFT}));
  EXPECT_EQ(Form()->FindComponent("Button1"), nullptr);
  EXPECT_EQ(Engine->Selected(), edit);
}

// The platform may report a window's activation after the press that activated it.
TEST_F(MouseTest, AnActivationReportedDuringTheBandKeepsTheBandsStartingPoint) {
  Add<TButton>("Button1", 16, 16, 75, 25);
  Add<TButton>("Button2", 16, 48, 75, 25);
  Form()->Perform(WM_ACTIVATE, WA_INACTIVE, 0);  // another window had the input
  Press({300, 200});
  Form()->Perform(WM_ACTIVATE, WA_CLICKACTIVE, 0);
  MoveTo({350, 250});
  Release({400, 280});
  EXPECT_EQ(Engine->Selected(), Form());
  EXPECT_EQ(Selection(), std::vector<TComponent*>{Form()});
}

// Non-visual components show as icons on the form; the icons are no stops of the tab order.
TEST_F(MouseTest, NonVisualComponentsTakeNoTabOrderNumbers) {
  Choose("Standard", TMainMenu::StaticClass());
  Press({200, 20});
  Release({200, 20});
  Choose("Standard", TButton::StaticClass());
  Press({16, 16});
  Release({16, 16});
  Choose("Standard", TEdit::StaticClass());
  Press({16, 48});
  Release({16, 48});
  EXPECT_EQ(GetOrdProp(Form()->FindComponent("Button1"), "TabOrder"), 0);
  EXPECT_EQ(GetOrdProp(Form()->FindComponent("Edit1"), "TabOrder"), 1);
}

// A class that aligns itself docks at once, as it will when the saved form is read back, one
// after the other on the same design; its grab handles bring no scroll bars.
TEST_F(MouseTest, SelfAligningClassesDockWhereTheyWillBeReadBack) {
  struct Case {
    const char* page;
    TClass cls;
    TAlign align;
  };
  const TRect client = Form()->GetClientRect();
  for (Case c : {Case{"Win32", TStatusBar::StaticClass(), alBottom}, Case{"Win32", TToolBar::StaticClass(), alTop},
                 Case{"Win32", THeaderControl::StaticClass(), alTop}, Case{"Win32", TCoolBar::StaticClass(), alTop},
                 Case{"Additional", TSplitter::StaticClass(), alLeft}}) {
    Choose(c.page, c.cls);
    Press({200, 150});
    Release({200, 150});
    auto* control = dynamic_cast<TControl*>(Engine->Selected());
    ASSERT_NE(control, nullptr) << c.cls->Name;
    ASSERT_TRUE(control->InheritsFrom(c.cls));
    EXPECT_EQ(control->GetAlign(), c.align) << c.cls->Name;
    EXPECT_EQ(Form()->GetClientRect(), client) << c.cls->Name;
    TRect r = control->BoundsRect();
    if (c.align == alLeft) EXPECT_EQ(r, Rect(0, 0, r.Width(), client.Bottom)) << c.cls->Name;
    else if (c.align == alTop) EXPECT_EQ(r, Rect(0, 0, client.Right, r.Height())) << c.cls->Name;
    else EXPECT_EQ(r, Rect(0, client.Bottom - r.Height(), client.Right, client.Bottom)) << c.cls->Name;
    Form()->Perform(WM_KEYDOWN, VK_DELETE, 0);
  }
}
