// Actions: links from controls and menu items, the stored rules of linked properties, the
// standard edit and dataset actions, and forms that use them.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>

#include "ActnList.h"
#include "Buttons.h"
#include "Clipbrd.h"
#include "ComCtrls.h"
#include "ControlsTests.h"
#include "DBActns.h"
#include "DBCtrls.h"
#include "DbTestFile.h"
#include "FormFixture.h"
#include "FormText.h"
#include "StdActns.h"
#include "StdReg.h"
#include "StreamCheck.h"
#include "qt/QtMenus.h"

namespace {

std::string Unix(std::string s) {
  std::erase(s, '\r');
  return s;
}

// The text of one object's block in a stream text ("object Name: ..." to its "end").
std::string Block(const std::string& text, const std::string& name) {
  size_t at = text.find("object " + name + ":");
  if (at == std::string::npos) return "";
  size_t indent = at - text.rfind('\n', at) - 1;
  size_t end = text.find("\n" + std::string(indent, ' ') + "end", at);
  return text.substr(at, end - at);
}

struct ActnListTest : FormFixture {
  void SetUp() override {
    FormFixture::SetUp();
    form->SetName("Form1");
    list = Add<TActionList>("ActionList1");
  }
  // As FormFixture::Add; an action joins the list.
  template <class T>
  T* Add(const char* name, TWinControl* parent = nullptr) {
    T* c = FormFixture::Add<T>(name, parent);
    if constexpr (std::is_base_of_v<TContainedAction, T>) c->SetActionList(list);
    return c;
  }
  TActionList* list = nullptr;
};

// ---------------------------------------------------------------------------------------------
TEST_F(ActnListTest, ClientsTakeTheActionsPropertiesAndFollowUntilSetThemselves) {
  auto* save = Add<TAction>("FileSave");
  save->SetCaption("&Save");
  save->SetHint("Save|Saves the file");
  save->SetImageIndex(4);
  save->SetShortCut(ShortCut('S', {ssCtrl}));
  save->SetHelpContext(12);
  save->SetChecked(true);
  auto* button = Add<TButton>("Button1");
  auto* check = Add<TCheckBox>("CheckBox1");
  auto* bar = Add<TToolBar>("ToolBar1");
  auto* tool = Add<TToolButton>("ToolButton1", bar);
  auto* menu = Add<TMainMenu>("MainMenu1");
  auto* item = new TMenuItem(form.get());
  item->SetName("SaveItem");
  menu->Items()->Add(item);
  for (TControl* c : std::initializer_list<TControl*>{button, check, tool}) c->SetAction(save);
  item->SetAction(save);

  EXPECT_EQ(button->GetCaption(), "&Save");
  EXPECT_EQ(button->GetHint(), "Save|Saves the file");
  EXPECT_EQ(button->GetHelpContext(), 12);
  EXPECT_TRUE(check->GetChecked());
  EXPECT_TRUE(tool->GetDown());
  EXPECT_EQ(tool->GetImageIndex(), 4);
  EXPECT_EQ(item->GetShortCut(), ShortCut('S', {ssCtrl}));
  EXPECT_EQ(item->GetImageIndex(), 4);
  EXPECT_TRUE(item->GetChecked());
  EXPECT_EQ(save->ClientCount(), 4);

  // Later changes reach every client that still shows the action's value.
  button->SetCaption("Keep");
  item->SetEnabled(true);
  save->SetCaption("Save &As");
  save->SetEnabled(false);
  save->SetVisible(false);
  save->SetChecked(false);
  save->SetImageIndex(5);
  EXPECT_EQ(button->GetCaption(), "Keep");
  EXPECT_EQ(tool->GetCaption(), "Save &As");
  EXPECT_EQ(item->GetCaption(), "Save &As");
  EXPECT_FALSE(button->GetEnabled());
  EXPECT_FALSE(item->GetEnabled());
  EXPECT_FALSE(check->GetVisible());
  EXPECT_FALSE(check->GetChecked());
  EXPECT_FALSE(tool->GetDown());
  EXPECT_EQ(tool->GetImageIndex(), 5);
  EXPECT_EQ(item->GetImageIndex(), 5);
  save->SetEnabled(true);
  save->SetVisible(true);

  // Followed properties are not written; the overridden caption is.
  std::string text = Unix(StreamAsText(form.get()));
  std::string b = Block(text, "Button1"), t = Block(text, "ToolButton1"), m = Block(text, "SaveItem");
  EXPECT_NE(b.find("Action = FileSave"), std::string::npos) << b;
  EXPECT_NE(b.find("Caption = 'Keep'"), std::string::npos) << b;
  EXPECT_EQ(b.find("Hint"), std::string::npos) << b;
  EXPECT_EQ(b.find("HelpContext"), std::string::npos) << b;
  EXPECT_EQ(t.find("Caption"), std::string::npos) << t;
  EXPECT_EQ(t.find("ImageIndex"), std::string::npos) << t;
  EXPECT_EQ(m.find("ShortCut"), std::string::npos) << m;
  EXPECT_EQ(m.find("Caption"), std::string::npos) << m;

  // Read back, the clients get the action's values and keep their own.
  auto copy = Reload();
  auto* b2 = As<TButton>(copy->FindComponent("Button1"));
  auto* t2 = As<TToolButton>(copy->FindComponent("ToolButton1"));
  auto* m2 = As<TMenuItem>(copy->FindComponent("SaveItem"));
  ASSERT_EQ(b2->GetAction(), copy->FindComponent("FileSave"));
  EXPECT_EQ(b2->GetCaption(), "Keep");
  EXPECT_EQ(b2->GetHint(), "Save|Saves the file");
  EXPECT_EQ(t2->GetCaption(), "Save &As");
  EXPECT_EQ(t2->GetImageIndex(), 5);
  EXPECT_EQ(m2->GetShortCut(), ShortCut('S', {ssCtrl}));
  std::string again = Unix(StreamAsText(copy.get()));
  EXPECT_EQ(again.substr(again.find("object ActionList1")), text.substr(text.find("object ActionList1")));
}

TEST_F(ActnListTest, FreeingTheActionUnlinksItsClients) {
  auto* act = Add<TAction>("Action1");
  act->SetCaption("Go");
  int runs = 0;
  act->OnExecute = [&](TObject*) { ++runs; };
  auto* button = Add<TButton>("Button1");
  auto* menu = Add<TPopupMenu>("PopupMenu1");
  auto* item = new TMenuItem(form.get());
  menu->Items()->Add(item);
  button->SetAction(act);
  item->SetAction(act);
  delete act;
  EXPECT_EQ(button->GetAction(), nullptr);
  EXPECT_EQ(item->GetAction(), nullptr);
  EXPECT_EQ(button->GetCaption(), "Go");
  button->Click();
  item->Click();
  EXPECT_EQ(runs, 0);
  EXPECT_NE(Unix(StreamAsText(form.get())).find("Caption = 'Go'"), std::string::npos);
  UpdateLinkedActions();  // nothing left to update

  // Unlinking from the client side leaves the action without clients.
  auto* other = Add<TAction>("Action2");
  button->SetAction(other);
  EXPECT_EQ(other->ClientCount(), 1);
  delete button;
  EXPECT_EQ(other->ClientCount(), 0);
}

TEST_F(ActnListTest, ClicksRunTheActionUnlessTheClientHasItsOwnHandler) {
  auto* act = Add<TAction>("Action1");
  std::vector<std::string> log;
  act->OnExecute = [&](TObject* s) { log.push_back("action:" + static_cast<TComponent*>(s)->GetName()); };
  auto* button = Add<TButton>("Button1");
  auto* speed = Add<TSpeedButton>("SpeedButton1");
  auto* menu = Add<TMainMenu>("MainMenu1");
  auto* item = new TMenuItem(form.get());
  item->SetName("Item1");
  menu->Items()->Add(item);
  button->SetAction(act);
  speed->SetAction(act);
  item->SetAction(act);
  button->Click();
  item->Click();
  speed->Perform(WM_LBUTTONDOWN, MK_LBUTTON, 0x00050005);
  speed->Perform(WM_LBUTTONUP, 0, 0x00050005);
  EXPECT_EQ(log, (std::vector<std::string>{"action:Action1", "action:Action1", "action:Action1"}));

  // A disabled action runs nothing; an update may enable it first.
  log.clear();
  act->SetEnabled(false);
  EXPECT_FALSE(button->GetEnabled());
  item->SetEnabled(true);  // the item itself allows the click; the action refuses
  item->Click();
  EXPECT_TRUE(log.empty());
  act->OnUpdate = [&](TObject*) { act->SetEnabled(true); };
  button->Click();
  EXPECT_EQ(log.size(), 1u);
  EXPECT_TRUE(button->GetEnabled());

  // A handler of the client's own wins, and is written.
  log.clear();
  button->OnClick = [&](TObject*) { log.push_back("own"); };
  button->Click();
  EXPECT_EQ(log, std::vector<std::string>{"own"});
  button->OnClick = act->OnExecute;
  EXPECT_FALSE(button->IsOnClickStored());
  button->Click();
  EXPECT_EQ(log.back(), "action:Action1");

  // AutoCheck toggles before the handler runs; a grouped action unchecks its group.
  act->SetAutoCheck(true);
  auto* other = Add<TAction>("Action2");
  other->SetGroupIndex(1);
  other->SetChecked(true);
  act->SetGroupIndex(1);
  item->Click();
  EXPECT_TRUE(act->GetChecked());
  EXPECT_TRUE(item->GetChecked());
  EXPECT_FALSE(other->GetChecked());
  item->Click();  // a checked grouped action stays checked
  EXPECT_TRUE(act->GetChecked());
}

TEST_F(ActnListTest, ActionWithNothingToRunIsDisabledByItsUpdate) {
  auto* idle = Add<TAction>("Idle");
  auto* button = Add<TButton>("Button1");
  button->SetAction(idle);
  UpdateLinkedActions();
  EXPECT_FALSE(idle->GetEnabled());
  EXPECT_FALSE(button->GetEnabled());
  // One with a handler stays as it is, enabled or not.
  auto* run = Add<TAction>("Run");
  run->OnExecute = [](TObject*) {};
  button->SetAction(run);
  UpdateLinkedActions();
  EXPECT_TRUE(run->GetEnabled());
  // The list's OnUpdate decides first.
  bool listSaw = false;
  list->OnUpdate = [&](TObject* a, bool& handled) { listSaw = a == run, handled = true; };
  run->Update();
  EXPECT_TRUE(listSaw);
}

TEST_F(ActnListTest, MenuItemsShowTheImagesOfTheirMenu) {
  auto* images = Add<TImageList>("ImageList1");
  auto* menu = Add<TPopupMenu>("PopupMenu1");
  menu->SetImages(images);
  auto* item = new TMenuItem(form.get());
  item->SetName("Item1");
  item->SetCaption("One");
  item->SetImageIndex(0);
  menu->Items()->Add(item);
  std::string text = Unix(StreamAsText(form.get()));
  EXPECT_NE(Block(text, "PopupMenu1").find("Images = ImageList1"), std::string::npos) << text;
  auto copy = Reload();
  EXPECT_EQ(As<TPopupMenu>(copy->FindComponent("PopupMenu1"))->GetImages(), copy->FindComponent("ImageList1"));
  menu->Popup(10, 10);  // an index past the list's images draws no icon
  Application->ProcessMessages();
  menu->ClosePopup();
  delete images;
  EXPECT_EQ(menu->GetImages(), nullptr);
}

TEST_F(ActnListTest, ShortCutsOfTheFormsActionListsAndHintsOnTheStatusBar) {
  auto* act = Add<TAction>("Action1");
  act->SetShortCut(ShortCut('K', {ssCtrl}));
  int runs = 0;
  act->OnExecute = [&](TObject*) { ++runs; };
  auto* edit = Add<TEdit>("Edit1");
  EXPECT_TRUE(IsMenuKey(edit, 'K', {ssCtrl}));
  EXPECT_FALSE(IsMenuKey(edit, 'K', {}));
  EXPECT_EQ(runs, 1);
  // A disabled action leaves the key to the control.
  act->SetEnabled(false);
  EXPECT_FALSE(IsMenuKey(edit, 'K', {ssCtrl}));
  EXPECT_EQ(runs, 1);

  auto* bar = Add<TStatusBar>("StatusBar1");
  bar->SetSimplePanel(true);
  auto* hint = Add<THintAction>("Hint1");
  hint->SetHint("Short|The long hint");
  EXPECT_FALSE(hint->Execute());  // no status bar shows hints yet
  hint->Update();
  EXPECT_TRUE(hint->GetEnabled());  // not disabled for want of one
  bar->SetAutoHint(true);
  EXPECT_TRUE(hint->Execute());
  EXPECT_EQ(bar->GetSimpleText(), "The long hint");
}

TEST_F(ActnListTest, DropDownUpdatesItsActionsBeforeShowing) {
  auto* act = Add<TAction>("Action1");
  act->SetCaption("Run");
  int runs = 0;
  act->OnExecute = [&](TObject*) { ++runs; };
  bool allow = true;
  act->OnUpdate = [&](TObject*) { act->SetEnabled(allow); };
  auto* menu = Add<TMainMenu>("MainMenu1");
  auto* top = new TMenuItem(form.get());
  top->SetCaption("&File");
  menu->Items()->Add(top);
  auto* item = new TMenuItem(form.get());
  item->SetAction(act);
  top->Add(item);
  form->SetMenu(menu);
  ShowAndSettle(form.get());
  ASSERT_TRUE(qtm::Trigger(item));
  EXPECT_EQ(runs, 1);
  // The update runs as the drop-down opens, and the entry shows its outcome there.
  allow = false;
  ASSERT_TRUE(qtm::Highlight(top));
  for (int i = 0; i < 5; ++i) Application->ProcessMessages();
  EXPECT_FALSE(item->GetEnabled());
  EXPECT_FALSE(qtm::Trigger(item));
  EXPECT_EQ(runs, 1);
}

// ---------------------------------------------------------------------------------------------
// Edit actions work on the focused edit.
TEST_F(ActnListTest, EditActionsWorkOnTheFocusedEdit) {
  auto* edit = Add<TEdit>("Edit1");
  auto* button = Add<TButton>("Button1");
  button->SetTop(100);
  auto* cut = Add<TEditCut>("EditCut1");
  auto* copy = Add<TEditCopy>("EditCopy1");
  auto* paste = Add<TEditPaste>("EditPaste1");
  auto* all = Add<TEditSelectAll>("EditSelectAll1");
  auto* del = Add<TEditDelete>("EditDelete1");
  auto* undo = Add<TEditUndo>("EditUndo1");
  ShowAndSettle(form.get());
  edit->SetText("hello world");

  // Without a focused edit there is no target: disabled.
  button->SetFocus();
  Application->ProcessMessages();
  copy->Update();
  EXPECT_FALSE(copy->GetEnabled());
  EXPECT_FALSE(copy->Execute());

  edit->SetFocus();
  Application->ProcessMessages();
  ASSERT_TRUE(edit->Focused());
  edit->SetSelStart(0);
  edit->SetSelLength(5);
  copy->Update();
  EXPECT_TRUE(copy->GetEnabled());
  EXPECT_TRUE(copy->Execute());
  EXPECT_EQ(Clipboard()->GetAsText(), "hello");
  EXPECT_TRUE(cut->Execute());
  EXPECT_EQ(edit->GetText(), " world");
  EXPECT_EQ(Clipboard()->GetAsText(), "hello");
  cut->Update();
  EXPECT_FALSE(cut->GetEnabled());  // nothing selected now
  edit->SetSelStart(6);
  EXPECT_TRUE(paste->Execute());
  EXPECT_EQ(edit->GetText(), " worldhello");
  EXPECT_TRUE(all->Execute());
  EXPECT_EQ(edit->GetSelLength(), 11);
  EXPECT_TRUE(del->Execute());
  EXPECT_EQ(edit->GetText(), "");
  all->Update();
  EXPECT_FALSE(all->GetEnabled());

  // Undo takes back the last change the edit made.
  undo->Update();
  ASSERT_TRUE(undo->GetEnabled());
  undo->Execute();
  EXPECT_EQ(edit->GetText(), " worldhello");

  // A read-only edit can be copied from but not cut or pasted into.
  edit->SetReadOnly(true);
  edit->SelectAll();
  cut->Update();
  paste->Update();
  copy->Update();
  EXPECT_FALSE(cut->GetEnabled());
  EXPECT_FALSE(paste->GetEnabled());
  EXPECT_TRUE(copy->GetEnabled());

  // Control narrows the action to one edit; freeing that edit clears it.
  auto* other = Add<TEdit>("Edit2");
  copy->SetControl(other);
  copy->Update();
  EXPECT_FALSE(copy->GetEnabled());
  delete other;
  EXPECT_EQ(copy->GetControl(), nullptr);
}

// ---------------------------------------------------------------------------------------------
// Dataset actions, enabled as Delphi enables them.
class DataSetActionsTest : public TDbFormTest {
 protected:
  void SetUp() override {
    RegisterStandardClasses();
    TDbFileTest::SetUp();
    Exec("CREATE TABLE people (id INTEGER PRIMARY KEY, name VARCHAR(20))");
    Exec("INSERT INTO people (name) VALUES ('Ada'), ('Brian'), ('Cid')");
    MakeForm("people");
    List = new TActionList(Form);
  }
  template <class T>
  T* Action(TDataSource* source) {
    auto* a = new T(Form);
    a->SetActionList(List);
    a->SetDataSource(source);
    return a;
  }
  static bool Enabled(TCustomAction* a) {
    a->Update();
    return a->GetEnabled();
  }
  TActionList* List = nullptr;
};

TEST_F(DataSetActionsTest, NavigationAndEditingFollowTheDataSetsState) {
  auto* first = Action<TDataSetFirst>(Source);
  auto* prior = Action<TDataSetPrior>(Source);
  auto* next = Action<TDataSetNext>(Source);
  auto* last = Action<TDataSetLast>(Source);
  auto* insert = Action<TDataSetInsert>(Source);
  auto* del = Action<TDataSetDelete>(Source);
  auto* edit = Action<TDataSetEdit>(Source);
  auto* post = Action<TDataSetPost>(Source);
  auto* cancel = Action<TDataSetCancel>(Source);
  auto* refresh = Action<TDataSetRefresh>(Source);

  // A closed dataset offers nothing.
  for (TCustomAction* a : std::initializer_list<TCustomAction*>{first, next, insert, edit, post, refresh})
    EXPECT_FALSE(Enabled(a)) << a->ClassName();
  Table->Open();
  EXPECT_FALSE(Enabled(first));
  EXPECT_FALSE(Enabled(prior));
  EXPECT_TRUE(Enabled(next));
  EXPECT_TRUE(next->Execute());
  EXPECT_EQ(Table->GetRecNo(), 2);
  EXPECT_TRUE(Enabled(prior));
  EXPECT_TRUE(last->Execute());
  EXPECT_TRUE(Table->Eof());
  EXPECT_FALSE(Enabled(next));
  EXPECT_FALSE(Enabled(last));
  EXPECT_TRUE(first->Execute());
  EXPECT_EQ(Table->FieldByName("name")->GetAsString(), "Ada");

  EXPECT_FALSE(Enabled(post));
  EXPECT_TRUE(edit->Execute());
  EXPECT_EQ(Table->State(), dsEdit);
  EXPECT_FALSE(Enabled(edit));
  EXPECT_FALSE(Enabled(insert));
  EXPECT_TRUE(Enabled(cancel));
  Table->FieldByName("name")->SetAsString("Ava");
  EXPECT_TRUE(post->Execute());
  EXPECT_EQ(Table->State(), dsBrowse);
  EXPECT_TRUE(insert->Execute());
  EXPECT_EQ(Table->State(), dsInsert);
  EXPECT_TRUE(cancel->Execute());
  EXPECT_EQ(Table->RecordCount(), 3);

  EXPECT_TRUE(del->Execute());
  EXPECT_EQ(Table->RecordCount(), 2);
  Exec("INSERT INTO people (name) VALUES ('Dee')");
  EXPECT_TRUE(refresh->Execute());
  EXPECT_EQ(Table->RecordCount(), 3);
  EXPECT_EQ(Table->GetRecNo(), 1);

  // An empty dataset has nothing to delete.
  while (Table->RecordCount() > 0) Table->Delete();
  EXPECT_FALSE(Enabled(del));
  EXPECT_TRUE(Enabled(insert));
}

TEST_F(DataSetActionsTest, WithoutADataSourceTheDataAwareControlsOfTheFormAreTheTarget) {
  auto* next = Action<TDataSetNext>(nullptr);
  auto* button = new TButton(Form);
  button->SetParent(Form);
  button->SetAction(next);
  Table->Open();
  EXPECT_FALSE(Enabled(next));  // no data-aware control on the form
  auto* dbEdit = new TDBEdit(Form);
  dbEdit->SetParent(Form);
  dbEdit->SetDataSource(Source);
  dbEdit->SetDataField("name");
  EXPECT_TRUE(Enabled(next));
  EXPECT_TRUE(button->GetEnabled());
  button->Click();
  EXPECT_EQ(dbEdit->GetText(), "Brian");
  // Its data source going away leaves the action with a dangling nothing, not a crash.
  auto* source2 = new TDataSource(Form);
  next->SetDataSource(source2);
  delete source2;
  EXPECT_EQ(next->GetDataSource(), nullptr);
}

// ---------------------------------------------------------------------------------------------
// Forms written by Delphi with actions.
std::string CorpusFile(const char* name) {
  const char* dir = std::getenv("KV_CORPUS_DIR");
  std::ifstream in(std::string(dir ? dir : "../shared/corpus") + "/text/" + name, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

TEST_F(ActnListTest, DelphiFormWithActionsLoadsLinksAndWritesBackWithoutLinkedProperties) {
  std::string text = CorpusFile("020_Hogan_SDIMAIN.dfm");
  if (text.empty()) GTEST_SKIP() << "no corpus";
  if (text.rfind("\xEF\xBB\xBF", 0) == 0) text.erase(0, 3);
  // Its handlers are in a unit this test does not have: they stay unbound.
  auto loaded = ReadFormText(text);
  auto* cut = Cast<TEditCut>(loaded->FindComponent("EditCut1"));
  ASSERT_NE(cut, nullptr);
  auto* tool = As<TToolButton>(loaded->FindComponent("ToolButton4"));
  auto* item = As<TMenuItem>(loaded->FindComponent("CutItem"));
  EXPECT_EQ(tool->GetAction(), cut);
  EXPECT_EQ(tool->GetImageIndex(), 0);
  EXPECT_EQ(tool->GetHint(), cut->GetHint());
  EXPECT_EQ(item->GetCaption(), cut->GetCaption());
  EXPECT_EQ(item->GetShortCut(), 16472);
  auto* menu = As<TMainMenu>(loaded->FindComponent("MainMenu1"));
  EXPECT_EQ(menu->GetImages(), loaded->FindComponent("ImageList1"));
  auto* newItem = As<TMenuItem>(loaded->FindComponent("FileNewItem"));
  EXPECT_EQ(newItem->GetImageIndex(), 6);
  // The list's images are drawn through its mask: the scissors' background stays as it was.
  auto* images = As<TImageList>(loaded->FindComponent("ImageList1"));
  ASSERT_NE(images->Mask(), nullptr);
  TBitmap back;
  back.SetSize(16, 16);
  back.Canvas()->GetBrush()->SetColor(clRed);
  back.Canvas()->FillRect(Rect(0, 0, 16, 16));
  images->Draw(back.Canvas(), 0, 0, 0);
  EXPECT_EQ(back.Canvas()->GetPixel(0, 0), clRed);
  int drawn = 0;
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) drawn += back.Canvas()->GetPixel(x, y) != clRed;
  EXPECT_GT(drawn, 10);
  EXPECT_LT(drawn, 16 * 16 / 2);

  std::string written = Unix(StreamAsText(loaded.get()));
  // What the tool button has from its action is not written (its bounds are the bar's).
  std::string toolBlock = Block(written, "ToolButton4");
  EXPECT_NE(toolBlock.find("Action = EditCut1"), std::string::npos) << toolBlock;
  for (const char* linked : {"Caption", "Hint", "ImageIndex", "Enabled"})
    EXPECT_EQ(toolBlock.find(linked), std::string::npos) << linked << "\n" << toolBlock;
  EXPECT_EQ(Block(written, "CutItem"), "object CutItem: TMenuItem\n        Action = EditCut1") << written;
  // No edit has focus: the edit actions are disabled by their update; an action with a handler
  // is not, and its tool button runs it.
  auto* fileNew = As<TAction>(loaded->FindComponent("FileNew1"));
  int runs = 0;
  fileNew->OnExecute = [&](TObject*) { ++runs; };
  UpdateLinkedActions();
  EXPECT_FALSE(cut->GetEnabled());
  EXPECT_FALSE(tool->GetEnabled());
  EXPECT_FALSE(As<TToolButton>(loaded->FindComponent("ToolButton4"))->GetEnabled());
  auto* newButton = As<TToolButton>(loaded->FindComponent("ToolButton9"));
  EXPECT_TRUE(newButton->GetEnabled());
  newButton->Perform(WM_LBUTTONDOWN, MK_LBUTTON, 0x00050005);
  newButton->Perform(WM_LBUTTONUP, 0, 0x00050005);
  EXPECT_EQ(runs, 1);

  // The menu bar's entries carry the image list's icons.
  loaded->Show();
  Application->ProcessMessages();
  TBitmap icon, expected;
  ASSERT_TRUE(qtm::ShownIcon(newItem, &icon));
  EXPECT_EQ(icon.GetWidth(), 16);
  expected.SetSize(16, 16);
  images->Draw(expected.Canvas(), 0, 0, 6);
  EXPECT_EQ(icon.Canvas()->GetPixel(8, 8), expected.Canvas()->GetPixel(8, 8));
  EXPECT_FALSE(qtm::ShownIcon(As<TMenuItem>(loaded->FindComponent("File1")), &icon));
}

}  // namespace
