// The in-place value editors: which editor a row gets, when typed text is committed, the
// drop-down list, the dialog button, and texts that the property editors refuse.
#include <cctype>

#include "InspectorFixture.h"

#include "Buttons.h"
#include "CheckLst.h"
#include "ComCtrls.h"
#include "ExtCtrls.h"
#include "Grids.h"
#include "Windows.h"

TEST_F(InspectorTest, StringRowsCommitEveryKeystrokeNumbersOnEnter) {
  auto* b = Add<TButton>("Button1");
  Select({b});
  ASSERT_TRUE(GoTo("Caption"));
  EXPECT_TRUE(Window->ValueEdit->GetVisible());
  EXPECT_FALSE(Window->ValueList->GetVisible());
  Type("ok");
  EXPECT_EQ(b->GetCaption(), "ok");
  Key('X');
  EXPECT_EQ(b->GetCaption(), "okx");  // the caption follows each key

  ASSERT_TRUE(GoTo("Left"));
  Type("120");
  EXPECT_EQ(b->GetLeft(), 8);  // not yet
  Key(VK_RETURN);
  EXPECT_EQ(b->GetLeft(), 120);
  EXPECT_EQ(Window->ValueEdit->GetText(), "120");
  EXPECT_EQ(Cell(1, RowOf("Left")), "120");

  // Down commits and moves on; Up on the first row commits without moving.
  int left = RowOf("Left");
  Type("64");
  Key(VK_DOWN);
  EXPECT_EQ(b->GetLeft(), 64);
  EXPECT_EQ(Window->PropertyGrid->GetRow(), left + 1);
  Window->PropertyGrid->SetRow(0);
  Key(VK_UP);
  EXPECT_EQ(Window->PropertyGrid->GetRow(), 0);
  EXPECT_TRUE(Boxes.empty());
}

TEST_F(InspectorTest, NameRowRenamesAsTypedAndRefusesBadNames) {
  auto* b = Add<TButton>("Button1");
  Add<TButton>("Taken", 8, 60);
  Select({b});
  ASSERT_TRUE(GoTo("Name"));
  Type("go");
  EXPECT_EQ(b->GetName(), "go");
  EXPECT_EQ(Boxes.size(), 1u);  // the empty name on the way, after the old one was erased
  Pump();
  EXPECT_EQ(Window->ComponentPath->GetCaption(), "go: TButton");
  // Each keystroke renames: the name is the last text accepted on the way.
  for (auto [bad, kept] : {std::pair{"1x", "go"}, {"taken", "take"}, {"", "take"}}) {
    Boxes.clear();
    Type(bad);
    EXPECT_FALSE(Boxes.empty()) << bad;
    EXPECT_EQ(b->GetName(), kept) << bad;
  }
}

TEST_F(InspectorTest, ValueListPickCommitsAtOnceAndShowsTheValueWhenDroppedAgain) {
  auto* b = Add<TButton>("Button1");
  Select({b});
  ASSERT_TRUE(GoTo("Cursor"));
  ASSERT_TRUE(Window->ValueList->GetVisible());
  Window->ValueListDropDown(nullptr);
  TStrings* items = Window->ValueList->GetItems();
  int cross = items->IndexOf("crCross");
  ASSERT_GE(cross, 0);
  EXPECT_EQ(items->Get(Window->ValueList->GetItemIndex()), "crDefault");
  Window->ValueList->SetItemIndex(cross);
  Window->ValueListClick(nullptr);
  EXPECT_EQ(b->GetCursor(), crCross);
  Window->ValueListDropDown(nullptr);
  EXPECT_EQ(Window->ValueList->GetItemIndex(), items->IndexOf("crCross"));
}

TEST_F(InspectorTest, ColorListFontButtonAndReadOnlyObjectRows) {
  auto* b = Add<TButton>("Button1");
  Select({b});
  ASSERT_TRUE(GoTo("Font"));  // object-valued, with a dialog
  EXPECT_TRUE(Window->ValueEdit->GetVisible());
  EXPECT_TRUE(Window->ValueEdit->GetReadOnly());
  EXPECT_TRUE(Window->EditButton->GetVisible());
  EXPECT_EQ(Window->ValueEdit->GetText(), "(TFont)");
  ASSERT_TRUE(GoTo("Caption"));
  EXPECT_FALSE(Window->EditButton->GetVisible());
  EXPECT_FALSE(Window->ValueEdit->GetReadOnly());

  // A value list wins over the dialog: a colour is picked from the list.
  auto* p = Add<TPanel>("Panel1", 8, 60, 100, 40);
  Select({p});
  ASSERT_TRUE(GoTo("Color"));
  EXPECT_TRUE(Window->ValueList->GetVisible());
  EXPECT_FALSE(Window->EditButton->GetVisible());
  Window->ValueListDropDown(nullptr);
  Window->ValueList->SetItemIndex(Window->ValueList->GetItems()->IndexOf("clRed"));
  Window->ValueListClick(nullptr);
  EXPECT_EQ(p->GetColor(), clRed);

  // Sub-rows of the font edit the control's font.
  ASSERT_TRUE(GoTo("Font"));
  Window->NamePanelDblClick(nullptr);
  ASSERT_TRUE(GoTo("Size"));
  Type("14");
  Key(VK_RETURN);
  EXPECT_EQ(p->GetFont()->GetSize(), 14);
}

TEST_F(InspectorTest, ARefusedValueShowsTheEditorsMessageAndLeavingAgainRetries) {
  auto* b = Add<TButton>("Button1");
  Select({b});
  ASSERT_TRUE(GoTo("Left"));
  Type("abc");
  Key(VK_RETURN);
  ASSERT_EQ(Boxes.size(), 1u);
  EXPECT_NE(Boxes[0].find("abc"), std::string::npos) << Boxes[0];
  EXPECT_EQ(b->GetLeft(), 8);
  EXPECT_EQ(Window->ValueEdit->GetText(), "abc");  // left as typed
  Leave();                                         // leaving again retries (and is refused again)
  EXPECT_EQ(Boxes.size(), 2u);
  EXPECT_EQ(b->GetLeft(), 8);
  Window->ValueEdit->SetFocus();
  Type("16");
  Leave();
  EXPECT_EQ(b->GetLeft(), 16);
  EXPECT_EQ(Boxes.size(), 2u);
}

// Every standard control class: bad texts typed into every row that takes text change nothing
// when refused, and nothing crashes. String rows take every keystroke, so the text's last key
// (and Enter) is the one whose refusal must change nothing.
TEST_F(InspectorTest, BadInputIntoEveryRowOfEveryStandardControl) {
  const std::vector<TClass> classes = {
      TButton::StaticClass(),    TLabel::StaticClass(),       TEdit::StaticClass(),        TMemo::StaticClass(),
      TCheckBox::StaticClass(),  TRadioButton::StaticClass(), TListBox::StaticClass(),     TComboBox::StaticClass(),
      TScrollBar::StaticClass(), TGroupBox::StaticClass(),    TRadioGroup::StaticClass(),  TPanel::StaticClass(),
      TBitBtn::StaticClass(),    TSpeedButton::StaticClass(), TImage::StaticClass(),       TShape::StaticClass(),
      TBevel::StaticClass(),     TStringGrid::StaticClass(),  TCheckListBox::StaticClass()};
  const std::vector<std::string> texts = {"abc", "99999999999999999999", "", "nosuchvalue"};
  int refused = 0;
  for (TClass cls : classes) {
    auto* c = static_cast<TControl*>(cls->Create(Form()));
    c->SetName(Engine->UniqueName(cls->Name));
    c->SetParent(Form());
    Select({c});
    ASSERT_EQ(Window->ComponentPath->GetCaption(), c->GetName() + ": " + cls->Name);
    const std::vector<std::string> names = Names();
    for (const std::string& name : names) {
      if (name == "Name" || name.starts_with("On")) continue;  // names and handlers: own tests
      for (const std::string& text : texts) {
        if (!GoTo(name)) break;
        TWinControl* editor = Window->ValueList->GetVisible() ? static_cast<TWinControl*>(Window->ValueList)
                                                              : static_cast<TWinControl*>(Window->ValueEdit);
        if (Window->ValueEdit->GetVisible() && Window->ValueEdit->GetReadOnly()) break;
        editor->SetFocus();
        if (editor == Window->ValueEdit && !text.empty()) Type(text.substr(0, text.size() - 1));
        TMemoryStream before;
        before.WriteComponent(c);
        Boxes.clear();
        if (editor == Window->ValueEdit) {
          if (text.empty()) Type("");
          else Key(static_cast<uint16_t>(std::toupper(static_cast<unsigned char>(text.back()))));
        } else {
          editor->SetText(text);
          Window->ValueListChange(nullptr);
        }
        Key(VK_RETURN);
        if (Boxes.empty()) continue;
        ++refused;
        TMemoryStream after;
        after.WriteComponent(c);
        EXPECT_TRUE(before.GetSize() == after.GetSize() &&
                    std::equal(before.Memory(), before.Memory() + before.GetSize(), after.Memory()))
            << cls->Name << "." << name << " = '" << text << "' changed the component";
        // Put the shown value back so that the next row starts clean.
        Select({c});
      }
    }
  }
  EXPECT_GT(refused, 50);
}
