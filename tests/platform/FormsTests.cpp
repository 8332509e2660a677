#include <gtest/gtest.h>

#include "ControlsTests.h"
#include "TypInfo.h"

namespace {

// A form class built from its text layout, as a Delphi form is from its resource.
class TfmLayoutTest : public TForm {
  KV_CLASS(TfmLayoutTest, TForm)
 public:
  explicit TfmLayoutTest(TComponent* AOwner) : TForm(AOwner) { InitInheritedComponent(this, TForm::StaticClass()); }
  TTestPanel* Panel1 = nullptr;
  TTestShape* Shape1 = nullptr;
  TTestTimer* Timer1 = nullptr;
  std::vector<std::string> Log;
  void FormCreate(TObject*) { Log.push_back("create"); }
  void Panel1Click(TObject* sender) { Log.push_back("click " + static_cast<TComponent*>(sender)->GetName()); }
};

KV_IMPLEMENT_CLASS(TfmLayoutTest, "LayoutTest") {
  b.Field("Panel1", &TfmLayoutTest::Panel1);
  b.Field("Shape1", &TfmLayoutTest::Shape1);
  b.Field("Timer1", &TfmLayoutTest::Timer1);
  b.Method("FormCreate", &TfmLayoutTest::FormCreate);
  b.Method("Panel1Click", &TfmLayoutTest::Panel1Click);
}

// As Delphi writes it (Delphi 5 style, with client size and the defined TextHeight).
const char* kLayout = R"(object fmLayoutTest: TfmLayoutTest
  Left = 192
  Top = 107
  Width = 435
  Height = 300
  Caption = 'Layout test'
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  OldCreateOrder = False
  Position = poScreenCenter
  OnCreate = FormCreate
  PixelsPerInch = 96
  TextHeight = 13
  object Panel1: TTestPanel
    Left = 8
    Top = 16
    Width = 185
    Height = 41
    Caption = 'Panel1'
    Color = clRed
    TabOrder = 0
    OnClick = Panel1Click
    object Shape1: TTestShape
      Left = 4
      Top = 5
      Width = 20
      Height = 10
      Cursor = crHandPoint
    end
  end
  object Panel2: TTestPanel
    Left = 0
    Top = 0
    Width = 100
    Height = 30
    Align = alBottom
    TabOrder = 1
  end
  object Timer1: TTestTimer
    Left = 300
    Top = 200
  end
end
)";

struct LayoutForms : ::testing::Test {
  void SetUp() override {
    RegisterControlTestClasses();
    RegisterClass(TfmLayoutTest::StaticClass());
    RegisterFormLayout(kLayout);
  }
  void TearDown() override { UnregisterFormLayout("TfmLayoutTest"); }
};

TEST_F(LayoutForms, AFormIsBuiltFromItsLayoutWithFieldsAndHandlersBound) {
  TfmLayoutTest form(nullptr);
  EXPECT_EQ(form.GetName(), "fmLayoutTest");
  EXPECT_EQ(form.GetCaption(), "Layout test");
  EXPECT_EQ(form.BoundsRect(), Bounds(192, 107, 435, 300));
  EXPECT_EQ(form.GetTextHeight(), 13);
  EXPECT_EQ(form.GetPosition(), poScreenCenter);
  ASSERT_NE(form.Panel1, nullptr);
  ASSERT_NE(form.Shape1, nullptr);
  ASSERT_NE(form.Timer1, nullptr);
  EXPECT_EQ(form.Panel1->GetParent(), &form);
  EXPECT_EQ(form.Shape1->GetParent(), form.Panel1);
  EXPECT_EQ(form.Shape1->GetCursor(), crHandPoint);
  EXPECT_EQ(form.Shape1->GetColor(), clRed);                   // ParentColor follows the panel
  EXPECT_EQ(form.Timer1->GetDesignInfo(), (200 << 16) | 300);  // non-visual: DesignInfo
  EXPECT_EQ(form.Panel1->GetLeft(), 8);
  // Aligned once the whole stream is in.
  auto* panel2 = static_cast<TControl*>(form.FindComponent("Panel2"));
  EXPECT_EQ(panel2->BoundsRect(), Rect(0, 270, 435, 300));
  EXPECT_EQ(form.Log, (std::vector<std::string>{"create"}));
  form.Panel1->Perform(WM_LBUTTONDOWN, MK_LBUTTON, PointToLParam({3, 3}));
  form.Panel1->Perform(WM_LBUTTONUP, 0, PointToLParam({3, 3}));
  EXPECT_EQ(form.Log.back(), "click Panel1");
  EXPECT_EQ(FindGlobalComponent("FMLAYOUTTEST"), &form);

  // A second instance gets a unique name, as the VCL gives it.
  TfmLayoutTest second(nullptr);
  EXPECT_EQ(second.GetName(), "fmLayoutTest_1");
}

TEST_F(LayoutForms, AFormWritesBackAsDelphiWritesIt) {
  TfmLayoutTest form(nullptr);
  TMemoryStream bin, text;
  bin.WriteComponent(&form);
  bin.SetPosition(0);
  ObjectBinaryToText(&bin, &text);
  std::string out = StringReplaceAll(
      std::string(reinterpret_cast<const char*>(text.Memory()), static_cast<size_t>(text.GetSize())), "\r\n", "\n");
  // Non-visual components first; a control's Left/Top are properties, the timer's DesignInfo.
  size_t timer = out.find("object Timer1: TTestTimer"), panel = out.find("object Panel1: TTestPanel");
  ASSERT_NE(timer, std::string::npos);
  ASSERT_NE(panel, std::string::npos);
  EXPECT_LT(timer, panel);
  EXPECT_NE(out.find("  Left = 192\n"), std::string::npos);
  EXPECT_NE(out.find("    Left = 8\n"), std::string::npos);
  EXPECT_NE(out.find("OnClick = Panel1Click"), std::string::npos);
  EXPECT_NE(out.find("Cursor = crHandPoint"), std::string::npos);
  EXPECT_NE(out.find("PixelsPerInch = 96"), std::string::npos);
  EXPECT_NE(out.find("TextHeight = "), std::string::npos);
  EXPECT_NE(out.find("Color = clBtnFace"), std::string::npos);
  EXPECT_EQ(out.find("ClientWidth"), std::string::npos);
  EXPECT_EQ(
      out.find("Shape1: TTestShape\n      Left = 4\n      Top = 5\n      Width = 20\n      Height = 10\n      Color"),
      std::string::npos);  // a parent colour is not stored
}

TEST_F(LayoutForms, ABadLayoutRaisesAndAClassWithoutOneIsPlain) {
  EXPECT_THROW(RegisterFormLayout("not a form"), EParserError);
  TForm plain(nullptr);
  EXPECT_FALSE(InitInheritedComponent(&plain, TForm::StaticClass()));
  UnregisterFormLayout("TfmLayoutTest");
  RegisterFormLayout("object fmLayoutTest: TfmLayoutTest\n  object X: TNoSuchClass\n  end\nend\n");
  EXPECT_THROW(TfmLayoutTest broken(nullptr), EClassNotFound);
}

// --- The application.
struct Boxes : ::testing::Test {
  std::vector<std::pair<std::string, std::string>> Shown;
  void SetUp() override {
    MessageBoxHook = [this](const std::string& text, const std::string& caption, int) {
      Shown.emplace_back(text, caption);
      return IDOK;
    };
    Application->SetTitle("Kit");
  }
  void TearDown() override {
    MessageBoxHook = nullptr;
    Application->OnException = nullptr;
  }
};

TEST_F(Boxes, HandleExceptionShowsTheMessageTitledWithTheApplicationTitle) {
  try {
    throw EReadError("Stream read error");
  } catch (...) {
    Application->HandleException(nullptr);
  }
  ASSERT_EQ(Shown.size(), 1u);
  EXPECT_EQ(Shown[0], (std::pair<std::string, std::string>{"Stream read error.", "Kit"}));
  try {
    Abort();
  } catch (...) {
    Application->HandleException(nullptr);
  }
  EXPECT_EQ(Shown.size(), 1u);  // silent

  std::string seen;
  Application->OnException = [&](TObject*, const Exception& e) { seen = e.Message(); };
  try {
    throw std::runtime_error("plain");
  } catch (...) {
    Application->HandleException(nullptr);
  }
  EXPECT_EQ(seen, "plain");
  EXPECT_EQ(Shown.size(), 1u);
}

TEST_F(Boxes, AnExceptionInAPostedMessageReachesTheApplication) {
  TForm form(nullptr);
  form.WindowProc = [](TMessage& m) {
    if (m.Msg == WM_USER) throw EConvertError("bad");
  };
  PostMessage(&form, WM_USER, 0, 0);
  Application->ProcessMessages();
  ASSERT_EQ(Shown.size(), 1u);
  EXPECT_EQ(Shown[0].first, "bad.");
}

TEST(Forms, ScreenListsFormsAndFindsThemByName) {
  int before = Screen->FormCount();
  auto* a = new TForm(nullptr);
  a->SetName("AlphaForm");
  auto* b = new TForm(nullptr);
  EXPECT_EQ(Screen->FormCount(), before + 2);
  EXPECT_EQ(FindGlobalComponent("alphaform"), a);
  ShowAndSettle(b);
  EXPECT_EQ(Screen->Forms(0), b);
  EXPECT_EQ(Screen->ActiveForm(), b);
  delete a;
  delete b;
  EXPECT_EQ(Screen->FormCount(), before);
  EXPECT_EQ(Screen->ActiveForm(), nullptr);
  EXPECT_GT(Screen->Width(), 0);
  TRect work = Screen->WorkAreaRect();
  EXPECT_GT(work.Width(), 0);
  EXPECT_LE(work.Width(), Screen->Width());
  EXPECT_EQ(GetSystemMetrics(SM_CXFULLSCREEN), Screen->WorkAreaWidth());
}

TEST(Forms, CloseAsksThenHidesOrFrees) {
  auto* form = new TForm(nullptr);
  bool destroyed = false;
  form->OnDestroy = [&](TObject*) { destroyed = true; };
  bool allow = false;
  form->OnCloseQuery = [&](TObject*, bool& can) { can = allow; };
  ShowAndSettle(form);
  form->Close();
  EXPECT_TRUE(form->GetVisible());
  allow = true;
  form->Close();
  EXPECT_FALSE(form->GetVisible());
  form->OnClose = [](TObject*, TCloseAction& a) { a = caFree; };
  form->Close();
  EXPECT_FALSE(destroyed);  // released after the current message
  Application->ProcessMessages();
  EXPECT_TRUE(destroyed);
}

TEST(Forms, ShowModalRunsUntilAModalResultIsSet) {
  TForm form(nullptr);
  std::vector<std::string> log;
  form.OnShow = [&](TObject*) { log.push_back("show"); };
  form.OnHide = [&](TObject*) { log.push_back("hide"); };
  form.WindowProc = [&](TMessage& m) {
    if (m.Msg == WM_USER) form.SetModalResult(mrYes);
    else form.WndProc(m);
  };
  PostMessage(&form, WM_USER, 0, 0);
  EXPECT_EQ(form.ShowModal(), mrYes);
  EXPECT_FALSE(form.GetVisible());
  EXPECT_EQ(log, (std::vector<std::string>{"show", "hide"}));
}

TEST(Forms, PositionScreenCenterCentresOnTheWorkArea) {
  TForm form(nullptr);
  form.SetBounds(0, 0, 200, 100);
  form.SetPosition(poScreenCenter);
  ShowAndSettle(&form);
  TRect work = Screen->WorkAreaRect();
  EXPECT_EQ(form.GetLeft(), work.Left + (work.Width() - 200) / 2);
  EXPECT_EQ(form.GetTop(), work.Top + (work.Height() - 100) / 2);
}

TEST(Forms, KeyPreviewLetsTheFormSeeKeysFirst) {
  RegisterControlTestClasses();
  TForm form(nullptr);
  auto* panel = new TTestPanel(&form);
  panel->SetParent(&form);
  std::vector<std::string> log;
  form.OnKeyDown = [&](TObject*, uint16_t& key, TShiftState) {
    log.push_back("form");
    if (key == VK_ESCAPE) key = 0;
  };
  panel->OnKeyDown = [&](TObject*, uint16_t&, TShiftState) { log.push_back("panel"); };
  panel->Perform(WM_KEYDOWN, 'A', 0);
  form.SetKeyPreview(true);
  panel->Perform(WM_KEYDOWN, 'A', 0);
  panel->Perform(WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_EQ(log, (std::vector<std::string>{"panel", "form", "panel", "form"}));
}

TEST(Forms, TheDesignerHearsOfComponentsAndRenames) {
  RegisterControlTestClasses();
  TForm form(nullptr);
  TTestDesigner designer;
  form.SetDesigner(&designer);
  EXPECT_EQ(designer.Form, &form);
  auto* timer = new TTestTimer(&form);
  timer->SetName("Timer1");
  delete timer;
  ASSERT_GE(designer.Notifications.size(), 2u);
  EXPECT_EQ(designer.Notifications.front(), (std::pair<TComponent*, TOperation>{timer, opInsert}));
  EXPECT_EQ(designer.Notifications.back(), (std::pair<TComponent*, TOperation>{timer, opRemove}));
  form.SetDesigner(nullptr);
}

}  // namespace
