// The masked edit: Delphi's mask language, Text and EditText, typing, validation and streams.
#include <gtest/gtest.h>

#include "Consts.h"
#include "ControlsTests.h"
#include "Mask.h"
#include "StdReg.h"
#include "StreamCheck.h"
#include "qt/QtStdCtrls.h"

namespace {

TEST(EditMasks, FieldsPlacesAndQuotedLiterals) {
  TEditMaskInfo m = ParseEditMask("!\\(999\\)000-0000;0;*");
  EXPECT_TRUE(m.LeadingBlanks);
  EXPECT_FALSE(m.SaveLiterals);
  EXPECT_EQ(m.Blank, '*');
  ASSERT_EQ(m.Chars.size(), 13u);
  EXPECT_EQ(m.Chars[0].Kind, TMaskCharKind::Literal);
  EXPECT_EQ(m.Chars[0].Literal, '(');
  EXPECT_EQ(m.Chars[1].Kind, TMaskCharKind::Digit);
  EXPECT_FALSE(m.Chars[1].Required);  // 9
  EXPECT_TRUE(m.Chars[5].Required);   // 0
  EXPECT_EQ(m.Chars[8].Literal, '-');
  // Defaults: literals saved, '_' blank; a quoted ';' is no field separator; case switches.
  m = ParseEditMask(">LL\\;<ll<>c_");
  EXPECT_TRUE(m.SaveLiterals);
  EXPECT_EQ(m.Blank, '_');
  ASSERT_EQ(m.Chars.size(), 7u);
  EXPECT_EQ(m.Chars[0].Case, TMaskCase::Upper);
  EXPECT_EQ(m.Chars[2].Literal, ';');
  EXPECT_EQ(m.Chars[3].Case, TMaskCase::Lower);
  EXPECT_EQ(m.Chars[5].Case, TMaskCase::None);
  EXPECT_EQ(m.Chars[6].Literal, ' ');
  EXPECT_TRUE(ParseEditMask("").Chars.empty());
}

TEST(EditMasks, TextAndEditTextConvertBothWays) {
  TEditMaskInfo phone = ParseEditMask("\\(999\\)000-0000;0;_");
  EXPECT_EQ(MaskedEditText(phone, "4155551212"), "(415)555-1212");
  EXPECT_EQ(MaskedEditText(phone, "415"), "(415)___-____");
  EXPECT_EQ(MaskedText(phone, "(415)___-____"), "415       ");
  // Characters that do not fit their place stay blank; a saved-literal text lies over the mask.
  TEditMaskInfo date = ParseEditMask("99/99/9999;1;_");
  EXPECT_EQ(MaskedEditText(date, "12/x5/2001"), "12/_5/2001");
  EXPECT_EQ(MaskedText(date, "12/_5/2001"), "12/ 5/2001");
  EXPECT_EQ(MaskedEditText(ParseEditMask(">LL-<ll"), "ab-CD"), "AB-cd");
  // Leading blanks: a short value fills the last places.
  EXPECT_EQ(MaskedEditText(ParseEditMask("!9999;0;_"), "12"), "__12");
  EXPECT_EQ(FormatMaskText("\\(999\\)000-0000;0;_", "415555"), "(415)555-    ");
}

struct MaskForm : ::testing::Test {
  TForm* Form = nullptr;
  TMaskEdit* Edit = nullptr;
  void SetUp() override {
    RegisterStandardClasses();
    Form = new TForm(nullptr);
    Form->SetName("Form1");
    Edit = new TMaskEdit(Form);
    Edit->SetName("MaskEdit1");
    Edit->SetParent(Form);
  }
  void TearDown() override {
    delete Form;
    Application->ProcessMessages();
  }
  void Type(std::initializer_list<uint16_t> keys) {
    for (uint16_t vk : keys) SendInput(Form, WM_KEYDOWN, {0, 0}, 0, vk);
    Application->ProcessMessages();
  }
};

TEST_F(MaskForm, TypedCharactersFillThePlacesAndTextFollows) {
  Edit->SetText("");  // it took its name as its text
  Edit->SetEditMask("99/99/9999;1;_");
  EXPECT_EQ(Edit->GetMaxLength(), 10);
  EXPECT_EQ(Edit->GetEditText(), "__/__/____");
  EXPECT_EQ(Edit->GetText(), "  /  /    ");
  int changes = 0;
  Edit->OnChange = [&](TObject*) { ++changes; };
  ShowAndSettle(Form);
  EXPECT_EQ(qtstd::GetText(Edit->Handle()), "__/__/____");
  Edit->SetFocus();
  Application->ProcessMessages();
  Edit->SetSelStart(0);
  Type({'1', '2', '0', 'X', '5'});  // the letter has no place
  EXPECT_EQ(Edit->GetEditText(), "12/05/____");
  EXPECT_EQ(Edit->GetText(), "12/05/    ");
  EXPECT_GT(changes, 0);
  // Text set by the program shows in the window in its places.
  Edit->SetText("31/1 /1999");
  EXPECT_EQ(qtstd::GetText(Edit->Handle()), "31/1_/1999");
  Edit->SetEditMask("");
  EXPECT_EQ(Edit->GetText(), "31/1 /1999");  // without a mask the text is plain again
}

TEST_F(MaskForm, LeavingWithARequiredPlaceEmptyIsAnErrorEscapeAbandons) {
  Edit->SetEditMask("000;0;_");
  Edit->SetText("7");
  EXPECT_THROW(Edit->ValidateEdit(), EDBEditError);
  Edit->SetText("789");
  EXPECT_NO_THROW(Edit->ValidateEdit());
  ShowAndSettle(Form);
  Edit->SetFocus();
  Application->ProcessMessages();
  Edit->SetSelStart(1);
  Type({VK_DELETE});
  EXPECT_EQ(Edit->GetEditText(), "7_9");
  Type({VK_ESCAPE});
  EXPECT_EQ(Edit->GetText(), "789");
  EXPECT_FALSE(Edit->GetModified());
  // Leaving with the place still empty is the error, in the VCL's words.
  Edit->SetSelStart(1);
  Type({VK_DELETE});
  try {
    Edit->Perform(WM_KILLFOCUS, 0, 0);
    FAIL() << "left with a required place empty";
  } catch (const EDBEditError& e) {
    EXPECT_EQ(e.Message(), SMaskEditErr);
  }
}

TEST_F(MaskForm, StreamsAsDelphiWritesIt) {
  Edit->SetEditMask("99999999;1;_");
  Edit->SetText("12");
  std::string text = ExpectRoundTrip(Form, Edit);
  ExpectDefaultsOmitted(Edit, text);
  EXPECT_NE(text.find("EditMask = '99999999;1;_'"), std::string::npos) << text;
  EXPECT_NE(text.find("MaxLength = 8"), std::string::npos) << text;
  EXPECT_NE(text.find("Text = '12      '"), std::string::npos) << text;
}

}  // namespace
