#include <gtest/gtest.h>

#include "ControlsTests.h"
#include "FormFixture.h"
#include "FormText.h"
#include "StdCtrls.h"
#include "StdReg.h"
#include "StreamCheck.h"
#include "qt/QtStdCtrls.h"

namespace {

struct StdForm : Form1Fixture {
  template <class T>
  T* Add(const char* name, int x, int y, TWinControl* parent = nullptr) {
    auto* c = new T(Form);
    c->SetName(name);
    c->SetLeft(x);
    c->SetTop(y);
    c->SetParent(parent ? parent : Form);
    return c;
  }
  void Key(uint16_t vk) {
    SendInput(Form, WM_KEYDOWN, {0, 0}, 0, vk);
    SendInput(Form, WM_KEYUP, {0, 0}, 0, vk);
    Application->ProcessMessages();
  }
};

TEST_F(StdForm, EveryClassRoundTripsWithDefaultsLeftOut) {
  auto* label = Add<TLabel>("Label1", 1, 2);
  auto* edit = Add<TEdit>("Edit1", 3, 4);
  label->SetCaption("&Name:");
  label->SetFocusControl(edit);
  label->SetAlignment(taRightJustify);
  label->SetLayout(tlCenter);
  label->SetWordWrap(true);
  label->SetTransparent(true);
  label->SetShowAccelChar(false);
  edit->SetText("abc");
  edit->SetMaxLength(10);
  edit->SetCharCase(ecUpperCase);
  edit->SetPasswordChar('*');
  edit->SetReadOnly(true);
  edit->SetBorderStyle(bsNone);
  edit->SetBiDiMode(bdRightToLeft);
  edit->SetImeName("x");
  auto* memo = Add<TMemo>("Memo1", 5, 6);
  memo->GetLines()->SetText("one\r\ntwo\r\n");
  memo->SetScrollBars(ssBoth);
  memo->SetWordWrap(false);
  memo->SetWantTabs(true);
  memo->SetAlignment(taCenter);
  auto* button = Add<TButton>("Button1", 7, 8);
  button->SetDefault(true);
  button->SetCancel(true);
  button->SetModalResult(mrRetry);
  auto* check = Add<TCheckBox>("CheckBox1", 9, 10);
  check->SetAllowGrayed(true);
  check->SetState(cbGrayed);
  check->SetAlignment(taLeftJustifyLR);
  auto* radio = Add<TRadioButton>("RadioButton1", 11, 12);
  radio->SetChecked(true);
  auto* list = Add<TListBox>("ListBox1", 13, 14);
  list->SetSorted(true);
  list->GetItems()->SetText("b\r\na\r\n");
  list->SetItemIndex(1);
  list->SetMultiSelect(true);
  list->SetColumns(2);
  list->SetStyle(lbOwnerDrawFixed);
  list->SetItemHeight(20);
  auto* combo = Add<TComboBox>("ComboBox1", 15, 16);
  combo->SetStyle(csDropDownList);
  combo->GetItems()->SetText("x\r\ny\r\n");
  combo->SetItemIndex(1);
  combo->SetDropDownCount(12);
  auto* scroll = Add<TScrollBar>("ScrollBar1", 17, 18);
  scroll->SetKind(sbVertical);
  scroll->SetParams(30, 10, 60);
  scroll->SetSmallChange(2);
  scroll->SetLargeChange(9);
  auto* group = Add<TGroupBox>("GroupBox1", 19, 20);
  group->SetCaption("Group");
  group->SetCtl3D(false);
  auto* stat = Add<TStaticText>("StaticText1", 21, 22);
  stat->SetBorderStyle(sbsSunken);
  stat->SetCaption("static");

  for (TComponent* c :
       std::initializer_list<TComponent*>{label, edit, memo, button, check, radio, list, combo, scroll, group, stat}) {
    SCOPED_TRACE(c->GetName());
    std::string text = ExpectRoundTrip(Form, c);
    ExpectDefaultsOmitted(c, text);
  }
  std::string text = StreamAsText(Form);
  EXPECT_NE(text.find("Lines.Strings = (\r\n      'one'\r\n      'two')"), std::string::npos) << text;
  EXPECT_NE(text.find("Items.Strings = (\r\n      'a'\r\n      'b')"), std::string::npos) << text;
  EXPECT_NE(text.find("FocusControl = Edit1"), std::string::npos);
  EXPECT_NE(text.find("ModalResult = 4"), std::string::npos);
  EXPECT_EQ(text.find("ParentColor"), std::string::npos) << text << "native controls' own colour is their default";
}

TEST_F(StdForm, LabelAcceleratorFocusesItsControlFromADialogCharacter) {
  auto* edit = Add<TEdit>("Edit1", 100, 10);
  auto* other = Add<TButton>("Button1", 100, 50);
  auto* label = Add<TLabel>("Label1", 10, 10);
  label->SetCaption("&Name");
  label->SetFocusControl(edit);
  ShowAndSettle(Form);
  other->SetFocus();
  Application->ProcessMessages();
  // A plain 'n' typed on a button (which wants no characters) is a dialog character.
  SendInput(Form, WM_KEYDOWN, {0, 0}, 0, 'N');
  Application->ProcessMessages();
  EXPECT_EQ(Form->GetActiveControl(), edit);
  EXPECT_TRUE(edit->Focused());
  // Typed into the edit, the same letter is text, not an accelerator.
  SendInput(Form, WM_KEYDOWN, {0, 0}, 0, 'N');
  Application->ProcessMessages();
  EXPECT_EQ(edit->GetText(), "n");
  label->SetShowAccelChar(false);
  EXPECT_EQ(Form->Perform(CM_DIALOGCHAR, 'N', 0), 0);
  delete edit;  // the label hears of it
  EXPECT_EQ(label->GetFocusControl(), nullptr);
}

TEST_F(StdForm, EnterClicksTheDefaultButtonEscapeTheCancelOne) {
  auto* edit = Add<TEdit>("Edit1", 10, 10);
  auto* ok = Add<TButton>("OK", 10, 50);
  auto* cancel = Add<TButton>("Cancel", 100, 50);
  auto* other = Add<TButton>("Other", 200, 50);
  int okClicks = 0, cancelClicks = 0, otherClicks = 0;
  ok->OnClick = [&](TObject*) { ++okClicks; };
  cancel->OnClick = [&](TObject*) { ++cancelClicks; };
  other->OnClick = [&](TObject*) { ++otherClicks; };
  ok->SetDefault(true);
  ok->SetModalResult(mrOk);
  cancel->SetCancel(true);
  cancel->SetModalResult(mrCancel);
  ShowAndSettle(Form);
  edit->SetFocus();
  Application->ProcessMessages();
  Key(VK_RETURN);
  EXPECT_EQ(okClicks, 1);
  EXPECT_EQ(Form->GetModalResult(), mrOk);
  Key(VK_ESCAPE);
  EXPECT_EQ(cancelClicks, 1);
  EXPECT_EQ(Form->GetModalResult(), mrCancel);
  // Another focused button takes Enter for itself.
  other->SetFocus();
  Application->ProcessMessages();
  Key(VK_RETURN);
  EXPECT_EQ(otherClicks, 1);
  EXPECT_EQ(okClicks, 1);
  // A disabled default button does nothing.
  ok->SetEnabled(false);
  edit->SetFocus();
  Application->ProcessMessages();
  Key(VK_RETURN);
  EXPECT_EQ(okClicks, 1);
}

TEST_F(StdForm, AButtonsModalResultEndsShowModal) {
  auto* ok = Add<TButton>("OK", 10, 50);
  ok->SetModalResult(mrYes);
  PostMessage(ok, WM_COMMAND, MakeWParam(0, BN_CLICKED), 0);
  EXPECT_EQ(Form->ShowModal(), mrYes);
  EXPECT_FALSE(Form->GetVisible());
}

TEST_F(StdForm, RadioButtonsOfOneParentAreExclusive) {
  auto* group = Add<TGroupBox>("GroupBox1", 10, 10);
  auto* a = Add<TRadioButton>("A", 10, 20, group);
  auto* b = Add<TRadioButton>("B", 10, 40, group);
  auto* outside = Add<TRadioButton>("C", 200, 20);
  outside->SetChecked(true);
  a->SetChecked(true);
  EXPECT_TRUE(outside->GetChecked()) << "another parent is another group";
  int clicks = 0;
  b->OnClick = [&](TObject*) { ++clicks; };
  ShowAndSettle(Form);
  // The user's click on B's widget checks B and unchecks A.
  SendInput(b, WM_LBUTTONDOWN, {5, 8}, MK_LBUTTON);
  SendInput(b, WM_LBUTTONUP, {5, 8}, 0);
  Application->ProcessMessages();
  EXPECT_TRUE(b->GetChecked());
  EXPECT_FALSE(a->GetChecked());
  EXPECT_EQ(clicks, 1);
  // Clicking the checked one again leaves it checked (the widget alone would uncheck it).
  SendInput(b, WM_LBUTTONDOWN, {5, 8}, MK_LBUTTON);
  SendInput(b, WM_LBUTTONUP, {5, 8}, 0);
  Application->ProcessMessages();
  EXPECT_TRUE(b->GetChecked());
  EXPECT_EQ(clicks, 1);
}

TEST_F(StdForm, CheckBoxCyclesThroughGrayedOnlyWhenAllowed) {
  auto* check = Add<TCheckBox>("Check", 10, 10);
  ShowAndSettle(Form);
  auto click = [&] { check->Perform(WM_COMMAND, MakeWParam(0, BN_CLICKED), 0); };
  click();
  EXPECT_EQ(check->GetState(), cbChecked);
  click();
  EXPECT_EQ(check->GetState(), cbUnchecked);
  check->SetAllowGrayed(true);
  click();
  EXPECT_EQ(check->GetState(), cbGrayed);
  click();
  EXPECT_TRUE(check->GetChecked());
}

TEST_F(StdForm, ListBoxKeepsItemIndexConsistentWithItems) {
  auto* list = Add<TListBox>("List", 10, 10);
  list->GetItems()->Add("pear");
  list->GetItems()->Add("apple");
  list->SetItemIndex(5);
  EXPECT_EQ(list->GetItemIndex(), -1) << "out of range selects nothing";
  list->SetItemIndex(1);
  list->SetSorted(true);
  EXPECT_EQ(list->GetItems()->Get(0), "apple");
  list->GetItems()->Add("banana");
  EXPECT_EQ(list->GetItems()->Get(1), "banana");
  list->GetItems()->Delete(2);
  list->GetItems()->Delete(1);
  EXPECT_EQ(list->GetItemIndex(), -1) << "the selected item went away";
  // The user's choice in the widget becomes ItemIndex, with OnClick.
  int clicks = 0;
  list->OnClick = [&](TObject*) { ++clicks; };
  list->GetItems()->SetText("a\r\nb\r\nc\r\n");
  ShowAndSettle(Form);
  // The widget's selection is read back when it reports one.
  qtstd::SetItemIndex(list->Handle(), 0);
  list->Perform(WM_COMMAND, MakeWParam(0, LBN_SELCHANGE), 0);
  EXPECT_EQ(list->GetItemIndex(), 0);
  EXPECT_EQ(clicks, 1);
  list->GetItems()->Clear();
  EXPECT_EQ(list->GetItemIndex(), -1);
}

TEST_F(StdForm, ItemIndexReadBeforeItemsStillSelects) {
  const char* text =
      "object Form1: TForm\n  object ListBox1: TListBox\n    ItemIndex = 1\n    Items.Strings = (\n      'a'\n      "
      "'b')\n  end\n"
      "  object ComboBox1: TComboBox\n    Style = csDropDownList\n    ItemIndex = 0\n    Items.Strings = (\n      "
      "'x'\n      'y')\n  end\nend\n";
  std::unique_ptr<TForm> form = ReadFormText(text);
  EXPECT_EQ(static_cast<TListBox*>(form->FindComponent("ListBox1"))->GetItemIndex(), 1);
  auto* combo = static_cast<TComboBox*>(form->FindComponent("ComboBox1"));
  EXPECT_EQ(combo->GetItemIndex(), 0);
  EXPECT_EQ(combo->GetText(), "x");
}

TEST_F(StdForm, ComboBoxListStylePicksItemsByText) {
  auto* combo = Add<TComboBox>("Combo", 10, 10);
  combo->SetStyle(csDropDownList);
  combo->SetSorted(true);
  combo->GetItems()->SetText("zeta\r\nalpha\r\n");
  combo->SetText("zeta");
  EXPECT_EQ(combo->GetItemIndex(), 1);
  combo->SetText("nothing");
  EXPECT_EQ(combo->GetItemIndex(), -1);
  EXPECT_EQ(combo->GetText(), "");
  int changes = 0, clicks = 0;
  combo->OnChange = [&](TObject*) { ++changes; };
  combo->OnClick = [&](TObject*) { ++clicks; };
  ShowAndSettle(Form);
  combo->SetItemIndex(0);
  EXPECT_EQ(changes, 0) << "only the user's choice is a change";
  combo->Perform(WM_COMMAND, MakeWParam(0, CBN_SELCHANGE), 0);
  EXPECT_EQ(combo->GetText(), "alpha");
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(clicks, 1);
}

TEST_F(StdForm, EditLimitsTypingForcesCaseAndReportsChangesButNotLoading) {
  auto* edit = Add<TEdit>("Edit", 10, 10);
  edit->SetText("");  // it took its name as its text
  int changes = 0;
  edit->OnChange = [&](TObject*) { ++changes; };
  edit->SetMaxLength(3);
  edit->SetCharCase(ecUpperCase);
  edit->SetText("ab");
  EXPECT_EQ(edit->GetText(), "AB");
  EXPECT_EQ(changes, 1);
  ShowAndSettle(Form);
  edit->SetFocus();
  Application->ProcessMessages();
  edit->SetSelStart(2);
  for (uint16_t vk : {'C', 'D', 'E'}) SendInput(Form, WM_KEYDOWN, {0, 0}, 0, vk);
  Application->ProcessMessages();
  EXPECT_EQ(edit->GetText(), "ABC");
  EXPECT_EQ(changes, 2) << "one typed character fitted";
  EXPECT_TRUE(edit->GetModified());
  edit->SelectAll();
  EXPECT_EQ(edit->GetSelLength(), 3);
  edit->SetSelStart(1);
  edit->SetSelLength(1);
  edit->SetSelText("x");
  EXPECT_EQ(edit->GetText(), "AXC");

  const char* text =
      "object Form1: TForm\n  object Edit1: TEdit\n    Text = 'loaded'\n    OnChange = Edit1Change\n  end\nend\n";
  TMemoryStream src, bin;
  src.Write(text, static_cast<int64_t>(strlen(text)));
  src.SetPosition(0);
  ObjectTextToBinary(&src, &bin);
  bin.SetPosition(0);
  TForm form(nullptr);
  TReader reader(&bin, 4096);
  int loadedChanges = 0;
  reader.OnFindMethod = [&](TReader*, const std::string&, const TMethodEntry*& address, bool& error) {
    address = nullptr;
    error = false;
  };
  reader.ReadRootComponent(&form);
  auto* loaded = static_cast<TEdit*>(form.FindComponent("Edit1"));
  loaded->OnChange = [&](TObject*) { ++loadedChanges; };
  EXPECT_EQ(loaded->GetText(), "loaded");
  EXPECT_FALSE(loaded->GetModified());
  EXPECT_EQ(loadedChanges, 0);
}

TEST_F(StdForm, MemoLinesAndTextAreTwoViewsOfOneText) {
  auto* memo = Add<TMemo>("Memo", 10, 10);
  memo->SetText("a\r\nb");
  EXPECT_EQ(memo->GetLines()->Count(), 2);
  EXPECT_EQ(memo->GetLines()->Get(1), "b");
  memo->GetLines()->Add("c");
  EXPECT_EQ(memo->GetText(), "a\r\nb\r\nc");
  memo->GetLines()->Insert(0, "z");
  memo->GetLines()->Delete(2);
  EXPECT_EQ(memo->GetText(), "z\r\na\r\nc");
  memo->SetText("x\r\n");
  EXPECT_EQ(memo->GetLines()->Count(), 1) << "a final line break opens no empty line";
  EXPECT_THROW(memo->GetLines()->Get(1), EStringListError);
  ShowAndSettle(Form);
  memo->SetFocus();
  Application->ProcessMessages();
  memo->SetSelStart(1);
  SendInput(Form, WM_KEYDOWN, {0, 0}, 0, VK_RETURN);
  SendInput(Form, WM_KEYDOWN, {0, 0}, 0, 'Y');
  Application->ProcessMessages();
  EXPECT_EQ(memo->GetLines()->Count(), 2);
  EXPECT_EQ(memo->GetLines()->Get(1), "y");
  memo->SetWantReturns(false);
  SendInput(Form, WM_KEYDOWN, {0, 0}, 0, VK_RETURN);
  Application->ProcessMessages();
  EXPECT_EQ(memo->GetLines()->Count(), 2) << "without WantReturns Enter is no text";
}

TEST_F(StdForm, MemoMaxLengthStopsTypingButNotTheProgram) {
  auto* memo = Add<TMemo>("Memo", 10, 10);
  memo->SetMaxLength(4);
  memo->SetText("ab");
  ShowAndSettle(Form);
  memo->SetFocus();
  Application->ProcessMessages();
  memo->SetSelStart(2);
  SendInput(Form, WM_KEYDOWN, {0, 0}, 0, VK_RETURN);  // a line break counts two
  SendInput(Form, WM_KEYDOWN, {0, 0}, 0, 'C');
  Application->ProcessMessages();
  EXPECT_EQ(memo->GetText(), "ab\r\n");
  // Over a selection, typing replaces it within the limit.
  memo->SetSelStart(0);
  memo->SetSelLength(1);
  SendInput(Form, WM_KEYDOWN, {0, 0}, 0, 'Z');
  Application->ProcessMessages();
  EXPECT_EQ(memo->GetText(), "zb\r\n");
  memo->GetLines()->SetText("longer than four\r\n");
  EXPECT_EQ(memo->GetLines()->Get(0), "longer than four");
}

TEST_F(StdForm, ScrollBarKeepsItsPositionInRangeAndTurnsOnItsSide) {
  auto* bar = Add<TScrollBar>("Bar", 10, 10);
  bar->SetWidth(100);
  int changes = 0;
  bar->OnChange = [&](TObject*) { ++changes; };
  bar->SetPosition(150);
  EXPECT_EQ(bar->GetPosition(), 100);
  EXPECT_EQ(changes, 1);
  EXPECT_THROW(bar->SetParams(5, 10, 0), EInvalidOperation);
  int h = bar->GetHeight();
  bar->SetKind(sbVertical);
  EXPECT_EQ(bar->GetWidth(), h);
  EXPECT_EQ(bar->GetHeight(), 100);
  // A user's scroll: OnScroll may move the position it reports.
  bar->OnScroll = [](TObject*, TScrollCode code, int& pos) {
    if (code == scLineDown) pos = 42;
  };
  bar->Perform(WM_COMMAND, MakeWParam(0, SBN_SCROLL + scLineDown), 3);
  EXPECT_EQ(bar->GetPosition(), 42);
}

TEST(DrawText, BreaksWordsMeasuresAndFindsAccelerators) {
  TBitmap bmp;
  bmp.SetSize(200, 100);
  TCanvas* c = bmp.Canvas();
  TRect r = Rect(0, 0, c->TextWidth("alpha beta") - 1, 0);
  int lineHeight = DrawText(c, "x", r, DT_CALCRECT);
  r = Rect(0, 0, c->TextWidth("alpha beta") - 1, 0);
  EXPECT_EQ(DrawText(c, "alpha beta", r, DT_CALCRECT | DT_WORDBREAK), 2 * lineHeight);
  r = Rect(0, 0, 1000, 0);
  DrawText(c, "&Save", r, DT_CALCRECT);
  EXPECT_EQ(r.Width(), c->TextWidth("Save"));
  EXPECT_TRUE(IsAccel('s', "&Save"));
  EXPECT_FALSE(IsAccel('a', "&&a"));
  EXPECT_FALSE(IsAccel('x', "No accelerator"));
}

}  // namespace
