// Menus: streaming as Delphi writes menus, short cuts, the menu bar, popups and WM_MENUSELECT.
#include <gtest/gtest.h>

#include "ControlsTests.h"
#include "FormText.h"
#include "Menus.h"
#include "StreamCheck.h"
#include "TypInfo.h"
#include "qt/QtMenus.h"

namespace {

std::string Unix(std::string s) {
  std::erase(s, '\r');
  return s;
}

// The form's children as Delphi writes them: the menus after the form's own properties.
const char* kMenuChildren = R"(  object MainMenu1: TMainMenu
    Left = 8
    Top = 8
    object FileItem: TMenuItem
      Caption = '&File'
      object OpenItem: TMenuItem
        Caption = '&Open File...'
        ShortCut = 16463
      end
      object N1: TMenuItem
        Caption = '-'
      end
      object ExitItem: TMenuItem
        Caption = 'E&xit'
        Hint = 'Leave'
      end
    end
    object ViewItem: TMenuItem
      Caption = '&View'
      object InspectorItem: TMenuItem
        Caption = '&Object Inspector'
        ShortCut = 122
      end
      object HiddenItem: TMenuItem
        Caption = 'Hidden'
        Visible = False
      end
    end
    object HelpItem: TMenuItem
      Caption = '&Help'
      Enabled = False
      GroupIndex = 9
    end
  end
  object PopupMenu1: TPopupMenu
    Alignment = paRight
    AutoPopup = False
    Left = 40
    Top = 8
    object AlignItem: TMenuItem
      Caption = 'Align To &Grid'
      Checked = True
      RadioItem = True
    end
    object SubItem: TMenuItem
      Caption = '&More'
      object DeepItem: TMenuItem
        Caption = 'Deep'
        Default = True
      end
    end
  end
end
)";

std::unique_ptr<TForm> LoadForm(const std::string& children) {
  return ReadFormText("object Form1: TForm\n  Menu = MainMenu1\n  PixelsPerInch = 96\n  TextHeight = 13\n" + children);
}

template <class T>
T* Find(TComponent* root, const char* name) {
  return As<T>(root->FindComponent(name));
}

class MenusTest : public ::testing::Test {
 protected:
  void SetUp() override { RegisterMenusClasses(); }
};

// --- Streaming.

TEST_F(MenusTest, DelphiTextFormLoadsAsNestedItemsAndWritesBackTheSame) {
  std::unique_ptr<TCustomForm> form(LoadForm(kMenuChildren));
  auto* menu = Find<TMainMenu>(form.get(), "MainMenu1");
  ASSERT_EQ(form->GetMenu(), menu);
  ASSERT_EQ(menu->Items()->Count(), 3);
  TMenuItem* file = menu->Items()->Items(0);
  EXPECT_EQ(file->GetName(), "FileItem");
  ASSERT_EQ(file->Count(), 3);
  EXPECT_TRUE(file->Items(1)->IsLine());
  EXPECT_EQ(file->Items(0)->GetShortCut(), ShortCut('O', {ssCtrl}));
  EXPECT_EQ(file->Items(0)->GetParentMenu(), menu);
  EXPECT_EQ(file->GetParentComponent(), menu);
  EXPECT_EQ(file->Items(0)->GetParentComponent(), file);
  // Items are the form's components, not the menu's.
  EXPECT_EQ(file->Items(0)->Owner(), form.get());
  EXPECT_EQ(menu->ComponentCount(), 0);
  auto* popup = Find<TPopupMenu>(form.get(), "PopupMenu1");
  EXPECT_EQ(popup->GetAlignment(), paRight);
  EXPECT_FALSE(popup->GetAutoPopup());
  EXPECT_TRUE(Find<TMenuItem>(form.get(), "DeepItem")->GetDefault());

  std::string written = Unix(StreamAsText(form.get()));
  size_t at = written.find("  object MainMenu1");
  ASSERT_NE(at, std::string::npos) << written;
  EXPECT_EQ(written.substr(at), kMenuChildren);
}

TEST_F(MenusTest, EveryClassRoundTripsWithDefaultsOmitted) {
  TForm form(nullptr);
  auto* main = new TMainMenu(&form);
  main->SetName("MainMenu1");
  main->SetAutoMerge(true);
  auto* popup = new TPopupMenu(&form);
  popup->SetName("PopupMenu1");
  popup->SetAlignment(paCenter);
  popup->SetHelpContext(12);
  popup->SetTrackButton(tbLeftButton);
  auto* item = new TMenuItem(&form);
  item->SetName("Item1");
  item->SetCaption("&Save");
  item->SetShortCut(ShortCut('S', {ssCtrl}));
  item->SetBreak(mbBarBreak);
  item->SetImageIndex(3);
  item->SetHelpContext(7);
  item->SetEnabled(false);
  popup->Items()->Add(item);
  auto* plain = new TMenuItem(&form);
  plain->SetName("Plain");
  main->Items()->Add(plain);
  for (TComponent* c : std::initializer_list<TComponent*>{main, popup, item, plain}) ExpectRoundTrip(&form, c);
  std::string text = ExpectRoundTrip(&form, main);
  ExpectDefaultsOmitted(main, text);
  ExpectDefaultsOmitted(popup, text);
  // A fresh item writes its name only; the menus do not publish their item list.
  EXPECT_NE(text.find("object Plain: TMenuItem\r\n    end"), std::string::npos) << text;
  EXPECT_EQ(text.find("Items"), std::string::npos);
}

TEST_F(MenusTest, ItemTreeKeepsOrderAndFreesSubItemsWithTheirParent) {
  TForm form(nullptr);
  TMainMenu* menu =
      NewMenu(&form, "M", {NewSubMenu("&File", 0, "F", {NewItem("A", 0, false, true, nullptr, 0, "A"), NewLine()})});
  TMenuItem* file = menu->Items()->Items(0);
  TMenuItem* a = file->Items(0);
  EXPECT_THROW(menu->Items()->Add(a), EMenuError);
  a->SetMenuIndex(5);  // clamped to the end
  EXPECT_EQ(file->IndexOf(a), 1);
  // Two items must not share a command number, and the menu finds items by it.
  EXPECT_NE(a->Command(), file->Items(0)->Command());
  EXPECT_EQ(menu->FindItem(a->Command(), fkCommand), a);
  EXPECT_EQ(menu->FindItem(file->Handle(), fkHandle), file);
  delete file;
  EXPECT_EQ(menu->Items()->Count(), 0);
}

TEST_F(MenusTest, RadioItemsOfOneGroupExcludeEachOther) {
  TMenuItem parent(nullptr);
  auto* a = new TMenuItem(nullptr);
  auto* b = new TMenuItem(nullptr);
  auto* other = new TMenuItem(nullptr);
  for (TMenuItem* i : {a, b, other}) {
    i->SetRadioItem(true);
    parent.Add(i);
  }
  other->SetGroupIndex(2);
  a->SetChecked(true);
  other->SetChecked(true);
  b->SetChecked(true);
  EXPECT_FALSE(a->GetChecked());
  EXPECT_TRUE(b->GetChecked());
  EXPECT_TRUE(other->GetChecked());
}

// --- Short cuts.

TEST_F(MenusTest, ShortCutTextBothWays) {
  const std::pair<TShortCut, const char*> table[] = {
      {ShortCut('S', {ssCtrl}), "Ctrl+S"},
      {ShortCut(VK_DELETE, {ssShift}), "Shift+Del"},
      {VK_F1, "F1"},
      {ShortCut('A', {ssCtrl, ssShift}), "Shift+Ctrl+A"},
      {ShortCut(VK_F1 + 3, {ssAlt}), "Alt+F4"},
      {VK_INSERT, "Ins"},
      {VK_DELETE, "Del"},
      {VK_ESCAPE, "Esc"},
      {VK_RETURN, "Enter"},
      {ShortCut(VK_BACK, {ssAlt}), "Alt+BkSp"},
      {ShortCut(VK_F1 + 11, {ssShift, ssCtrl}), "Shift+Ctrl+F12"},
      {VK_NEXT, "PgDn"},
      {VK_UP, "Up"},
      {VK_SPACE, "Space"},
      {ShortCut('0', {ssCtrl, ssAlt}), "Ctrl+Alt+0"},
      {VK_TAB, "Tab"},
  };
  for (auto [sc, text] : table) {
    EXPECT_EQ(ShortCutToText(sc), text);
    EXPECT_EQ(TextToShortCut(text), sc) << text;
  }
  // Modifiers in any order and case; what names no key is no short cut.
  EXPECT_EQ(TextToShortCut("ctrl+SHIFT+a"), ShortCut('A', {ssCtrl, ssShift}));
  EXPECT_EQ(TextToShortCut(" Alt+F4 "), ShortCut(VK_F1 + 3, {ssAlt}));
  EXPECT_EQ(TextToShortCut("Ctrl+"), 0);
  EXPECT_EQ(TextToShortCut("Ctrl+Bogus"), 0);
  EXPECT_EQ(TextToShortCut(""), 0);
  EXPECT_EQ(ShortCutToText(0), "");
  EXPECT_EQ(ShortCutToText(ShortCut(0xBA, {ssCtrl})), "");  // a key without a name
  uint16_t key;
  TShiftState shift;
  ShortCutToKey(ShortCut('Q', {ssAlt, ssShift}), key, shift);
  EXPECT_EQ(key, 'Q');
  EXPECT_TRUE(shift == TShiftState({ssAlt, ssShift}));
}

TEST_F(MenusTest, ShortCutEditorListsTheUsualOnesAndParsesText) {
  TMenuItem item(nullptr);
  PPropInfo prop = GetPropInfo(&item, "ShortCut");
  ASSERT_NE(prop, nullptr);
  EXPECT_EQ(GetEditorClass(prop, &item), TShortCutProperty::StaticClass());
  TShortCutProperty ed;
  ed.Setup(nullptr, 1);
  ed.SetPropEntry(0, &item, prop);
  EXPECT_EQ(ed.GetValue(), "(None)");
  std::vector<std::string> values;
  ed.GetValues([&](const std::string& s) { values.push_back(s); });
  ASSERT_FALSE(values.empty());
  EXPECT_EQ(values.front(), "(None)");
  for (const char* v : {"Ctrl+A", "Ctrl+Z", "F12", "Shift+Ctrl+F12", "Ctrl+Del", "Shift+Alt+BkSp"})
    EXPECT_NE(std::find(values.begin(), values.end(), v), values.end()) << v;
  ed.SetValue("shift+del");
  EXPECT_EQ(item.GetShortCut(), ShortCut(VK_DELETE, {ssShift}));
  EXPECT_EQ(ed.GetValue(), "Shift+Del");
  EXPECT_THROW(ed.SetValue("Ctrl+Nothing"), EPropertyError);
  EXPECT_EQ(item.GetShortCut(), ShortCut(VK_DELETE, {ssShift}));
  ed.SetValue("(None)");
  EXPECT_EQ(item.GetShortCut(), 0);
}

// --- At run time.

struct TClickLog {
  std::vector<std::string> Clicks;
  TNotifyEvent Handler() {
    return [this](TObject* s) { Clicks.push_back(static_cast<TComponent*>(s)->GetName()); };
  }
};

TEST_F(MenusTest, FormShowsItsMenuAsMenuBarAndFollowsChanges) {
  std::unique_ptr<TCustomForm> form(LoadForm(kMenuChildren));
  form->Show();
  Application->ProcessMessages();
  EXPECT_EQ(qtm::MenuBarTexts(form->Handle()), (std::vector<std::string>{"&File", "&View", "&Help"}));
  Find<TMenuItem>(form.get(), "ViewItem")->SetCaption("&Window");
  Find<TMenuItem>(form.get(), "HelpItem")->SetVisible(false);
  EXPECT_EQ(qtm::MenuBarTexts(form->Handle()), (std::vector<std::string>{"&File", "&Window"}));
  // Another menu replaces it; the first one's changes no longer reach the bar.
  auto* other = NewMenu(form.get(), "Other", {NewItem("&Tools", 0, false, true, nullptr, 0, "Tools")});
  auto* first = Find<TMainMenu>(form.get(), "MainMenu1");
  form->SetMenu(other);
  first->Items()->Items(0)->SetCaption("Changed");
  EXPECT_EQ(qtm::MenuBarTexts(form->Handle()), (std::vector<std::string>{"&Tools"}));
  delete other;
  EXPECT_EQ(form->GetMenu(), nullptr);
  EXPECT_TRUE(qtm::MenuBarTexts(form->Handle()).empty());
}

TEST_F(MenusTest, MenuSetBeforeTheWindowExistsShowsWhenItIsMade) {
  TForm form(nullptr);
  form.SetMenu(NewMenu(&form, "M", {NewItem("&Edit", 0, false, true, nullptr, 0, "E")}));
  EXPECT_FALSE(form.HandleAllocated());
  form.Show();
  EXPECT_EQ(qtm::MenuBarTexts(form.Handle()), (std::vector<std::string>{"&Edit"}));
}

TEST_F(MenusTest, ShortCutKeyClicksTheItemUnlessDisabledOrDesigning) {
  std::unique_ptr<TCustomForm> form(LoadForm(kMenuChildren));
  TClickLog log;
  auto* inspector = Find<TMenuItem>(form.get(), "InspectorItem");
  inspector->OnClick = log.Handler();
  Find<TMenuItem>(form.get(), "OpenItem")->OnClick = log.Handler();
  form->Show();
  int keyDowns = 0;
  form->OnKeyDown = [&](TObject*, uint16_t&, TShiftState) { ++keyDowns; };
  SendInput(form.get(), WM_KEYDOWN, {}, 0, VK_F1 + 10);
  EXPECT_EQ(log.Clicks, std::vector<std::string>{"InspectorItem"});
  EXPECT_EQ(keyDowns, 0);  // the menu took the key
  auto* menu = Find<TMainMenu>(form.get(), "MainMenu1");
  EXPECT_TRUE(menu->IsShortCut('O', {ssCtrl}));
  EXPECT_FALSE(menu->IsShortCut('O', {}));
  EXPECT_EQ(log.Clicks.size(), 2u);
  // A hidden item keeps its short cut; a disabled parent takes it away.
  inspector->SetVisible(false);
  EXPECT_TRUE(menu->IsShortCut(VK_F1 + 10, {}));
  Find<TMenuItem>(form.get(), "ViewItem")->SetEnabled(false);
  SendInput(form.get(), WM_KEYDOWN, {}, 0, VK_F1 + 10);
  EXPECT_EQ(log.Clicks.size(), 3u);
  EXPECT_EQ(keyDowns, 1);
  Find<TMenuItem>(form.get(), "ViewItem")->SetEnabled(true);
  form->SetDesigning(true);
  EXPECT_FALSE(menu->IsShortCut(VK_F1 + 10, {}));
}

// Records what reaches the form's window procedure.
struct TMenuSelectSpy {
  explicit TMenuSelectSpy(TControl* c) : Control(c), Old(c->WindowProc) {
    c->WindowProc = [this](TMessage& m) {
      if (m.Msg == WM_MENUSELECT) Seen.push_back(m);
      Old(m);
    };
  }
  ~TMenuSelectSpy() { Control->WindowProc = Old; }
  TControl* Control;
  std::function<void(TMessage&)> Old;
  std::vector<TMessage> Seen;
};

TEST_F(MenusTest, MovingThroughAPopupSendsMenuSelectToTheOwningForm) {
  std::unique_ptr<TCustomForm> form(LoadForm(kMenuChildren));
  form->Show();
  TMenuSelectSpy spy(form.get());
  auto* popup = Find<TPopupMenu>(form.get(), "PopupMenu1");
  auto* align = Find<TMenuItem>(form.get(), "AlignItem");
  auto* sub = Find<TMenuItem>(form.get(), "SubItem");
  auto* deep = Find<TMenuItem>(form.get(), "DeepItem");
  popup->SetAlignment(paLeft);
  popup->Popup(100, 120);
  Application->ProcessMessages();
  TRect r = popup->PopupBounds();
  EXPECT_EQ(r.Left, 100);
  EXPECT_EQ(r.Top, 120);

  ASSERT_TRUE(qtm::Highlight(align));
  ASSERT_EQ(spy.Seen.size(), 1u);
  TWMMenuSelect first(spy.Seen[0]);
  EXPECT_EQ(first.IDItem(), align->Command());
  EXPECT_EQ(first.MenuFlag() & (MF_HILITE | MF_CHECKED | MF_POPUP), MF_HILITE | MF_CHECKED);
  EXPECT_EQ(first.Menu(), popup->Handle());

  // An item that opens a sub-menu goes by its index, its own items by command and sub-menu.
  ASSERT_TRUE(qtm::Highlight(sub));
  TWMMenuSelect second(spy.Seen.back());
  EXPECT_EQ(second.IDItem(), 1);
  EXPECT_TRUE(second.MenuFlag() & MF_POPUP);
  EXPECT_EQ(second.Menu(), popup->Handle());
  for (int i = 0; i < 20 && !qtm::Highlight(deep); ++i) Application->ProcessMessages();
  TWMMenuSelect third(spy.Seen.back());
  EXPECT_EQ(third.IDItem(), deep->Command());
  EXPECT_EQ(third.Menu(), sub->Handle());
  EXPECT_EQ(popup->FindItem(third.IDItem(), fkCommand), deep);

  popup->ClosePopup();
  TWMMenuSelect closed(spy.Seen.back());
  EXPECT_EQ(closed.MenuFlag(), 0xFFFF);
  EXPECT_EQ(closed.Menu(), 0);
  EXPECT_EQ(popup->PopupBounds().Width(), 0);
}

TEST_F(MenusTest, MenuBarEntriesSelectByIndexWithTheMainMenuHandle) {
  std::unique_ptr<TCustomForm> form(LoadForm(kMenuChildren));
  form->Show();
  TMenuSelectSpy spy(form.get());
  auto* view = Find<TMenuItem>(form.get(), "ViewItem");
  ASSERT_TRUE(qtm::Highlight(view));
  ASSERT_FALSE(spy.Seen.empty());
  TWMMenuSelect m(spy.Seen.back());
  EXPECT_EQ(m.IDItem(), 1);
  EXPECT_TRUE(m.MenuFlag() & MF_POPUP);
  EXPECT_EQ(m.Menu(), Find<TMainMenu>(form.get(), "MainMenu1")->Handle());
}

TEST_F(MenusTest, ChoosingAnItemRunsItsOnClick) {
  std::unique_ptr<TCustomForm> form(LoadForm(kMenuChildren));
  TClickLog log;
  auto* align = Find<TMenuItem>(form.get(), "AlignItem");
  align->OnClick = log.Handler();
  auto* popup = Find<TPopupMenu>(form.get(), "PopupMenu1");
  popup->Popup(10, 10);
  // The handler may change the menu under the action that called it.
  align->OnClick = [&](TObject*) {
    align->SetCaption("Again");
    log.Clicks.push_back("changed");
  };
  ASSERT_TRUE(qtm::Trigger(align));
  Application->ProcessMessages();
  EXPECT_EQ(log.Clicks, std::vector<std::string>{"changed"});
  align->SetEnabled(false);
  EXPECT_FALSE(qtm::Trigger(align));
}

TEST_F(MenusTest, RightClickPopsUpTheNearestPopupMenu) {
  TForm form(nullptr);
  form.SetBounds(0, 0, 300, 200);
  auto* panel = new TTestPanel(&form);
  panel->SetParent(&form);
  panel->SetBounds(10, 10, 100, 80);
  auto* popup = NewPopupMenu(&form, "P", paLeft, true, {NewItem("One", 0, false, true, nullptr, 0, "One")});
  int popups = 0;
  popup->OnPopup = [&](TObject*) { ++popups; };
  form.SetPopupMenu(popup);  // the panel has none: its parent's shows
  form.Show();
  SendInput(panel, WM_RBUTTONDOWN, {5, 5}, MK_RBUTTON);
  SendInput(panel, WM_RBUTTONUP, {5, 5});
  EXPECT_EQ(popups, 1);
  EXPECT_EQ(popup->GetPopupComponent(), &form);
  EXPECT_GT(popup->PopupBounds().Width(), 0);
  popup->ClosePopup();
  // Not while designing, and not without AutoPopup.
  form.SetDesigning(true);
  SendInput(panel, WM_RBUTTONUP, {5, 5});
  form.SetDesigning(false);
  popup->SetAutoPopup(false);
  SendInput(panel, WM_RBUTTONUP, {5, 5});
  EXPECT_EQ(popups, 1);
  delete popup;
  EXPECT_EQ(form.GetPopupMenu(), nullptr);
}

}  // namespace
