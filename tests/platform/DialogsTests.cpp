// Dialogs answered through the hooks, as a user would answer them.
#include <gtest/gtest.h>

#include <filesystem>

#include "Dialogs.h"
#include "DsgnIntf.h"
#include "StreamCheck.h"
#include "TypInfo.h"

namespace {

struct TShownBox {
  std::string Text, Caption;
  int Flags;
};

// Installs the hooks for one test and records the message boxes they answer.
class DialogsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterDialogsClasses();
    Dir = std::filesystem::temp_directory_path() /
          ("kvdlg" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(Dir);
    MessageBoxHook = [this](const std::string& text, const std::string& caption, int flags) {
      Boxes.push_back({text, caption, flags});
      return BoxAnswers.empty() ? IDOK : Next(BoxAnswers);
    };
  }
  void TearDown() override {
    MessageBoxHook = nullptr;
    DialogHook = nullptr;
    InputQueryHook = nullptr;
    std::filesystem::remove_all(Dir);
  }
  static int Next(std::vector<int>& v) {
    int r = v.front();
    v.erase(v.begin());
    return r;
  }
  std::string Path(const std::string& name) const { return (Dir / name).string(); }
  void Touch(const std::string& name) const { WriteFileAtomic(Path(name), "x"); }
  // The file dialog's user: types these names in turn, then cancels.
  void TypeNames(std::vector<std::string> names, int filterIndex = 0) {
    DialogHook = [this, names, filterIndex](TCommonDialog* d) mutable {
      ++Asked;
      if (names.empty()) return false;
      auto* od = As<TOpenDialog>(d);
      od->SetFileName(names.front());
      if (filterIndex) od->SetFilterIndex(filterIndex);
      names.erase(names.begin());
      return true;
    };
  }

  std::filesystem::path Dir;
  std::vector<TShownBox> Boxes;
  std::vector<int> BoxAnswers;
  int Asked = 0;
};

// --- Streaming.

TEST_F(DialogsTest, EveryClassRoundTripsWithDefaultsOmitted) {
  TForm form(nullptr);
  auto* open = new TOpenDialog(&form);
  open->SetName("OpenDialog1");
  open->SetFilter("Delphi form (*.dfm)|*.dfm|All files|*.*");
  open->SetFilterIndex(2);
  open->SetDefaultExt("dfm");
  open->SetOptions({ofOverwritePrompt, ofFileMustExist});
  open->SetTitle("Pick");
  open->SetInitialDir("/tmp");
  auto* save = new TSaveDialog(&form);
  save->SetName("SaveDialog1");
  save->SetFileName("a.pas");
  save->SetCtl3D(false);
  auto* openPic = new TOpenPictureDialog(&form);
  openPic->SetName("OpenPictureDialog1");
  auto* savePic = new TSavePictureDialog(&form);
  savePic->SetName("SavePictureDialog1");
  savePic->SetFilter("Bitmaps (*.bmp)|*.bmp");
  auto* font = new TFontDialog(&form);
  font->SetName("FontDialog1");
  font->GetFont()->SetSize(14);
  font->SetOptions({fdEffects, fdApplyButton});
  font->SetMaxFontSize(40);
  font->SetDevice(fdBoth);
  auto* color = new TColorDialog(&form);
  color->SetName("ColorDialog1");
  color->SetColor(clRed);
  color->GetCustomColors()->Add("ColorA=808022");
  color->SetOptions({cdFullOpen});
  auto* print = new TPrintDialog(&form);
  print->SetName("PrintDialog1");
  print->SetCopies(2);
  print->SetPrintRange(prPageNums);
  print->SetOptions({poPageNums});
  print->SetHelpContext(4);
  auto* find = new TFindDialog(&form);
  find->SetName("FindDialog1");
  find->SetFindText("needle");
  find->SetOptions({frMatchCase});
  auto* replace = new TReplaceDialog(&form);
  replace->SetName("ReplaceDialog1");
  replace->SetReplaceText("thread");
  std::string text;
  for (TComponent* c :
       std::initializer_list<TComponent*>{open, save, openPic, savePic, font, color, print, find, replace})
    text = ExpectRoundTrip(&form, c);
  for (TComponent* c :
       std::initializer_list<TComponent*>{open, save, openPic, savePic, font, color, print, find, replace})
    ExpectDefaultsOmitted(c, text);
  // A picture dialog's own filter is its default; a changed one is stored.
  size_t pic = text.find("object OpenPictureDialog1");
  EXPECT_EQ(text.substr(pic, text.find("end", pic) - pic).find("Filter"), std::string::npos);
  EXPECT_NE(text.find("Filter = 'Bitmaps (*.bmp)|*.bmp'"), std::string::npos);
  EXPECT_NE(openPic->GetFilter().find("*.bmp"), std::string::npos);
}

// --- File dialogs.

TEST_F(DialogsTest, SaveAppliesTheDefaultExtensionAndAsksBeforeOverwriting) {
  TSaveDialog d(nullptr);
  d.SetInitialDir(Dir.string());
  d.SetDefaultExt(".DFM");
  d.SetOptions({ofOverwritePrompt});
  Touch("taken.DFM");
  BoxAnswers = {IDNO};
  TypeNames({"taken", "fresh"});
  ASSERT_TRUE(d.Execute());
  EXPECT_EQ(d.GetFileName(), Path("fresh.DFM"));
  EXPECT_EQ(Asked, 2);
  ASSERT_EQ(Boxes.size(), 1u);
  EXPECT_EQ(Boxes[0].Text, Path("taken.DFM") + " already exists.\nDo you want to replace it?");
  EXPECT_EQ(Boxes[0].Flags & 0xF, MB_YESNO);
  EXPECT_FALSE(d.GetOptions().Contains(ofExtensionDifferent));
  // Yes replaces; a typed extension stays and is marked as different.
  Boxes.clear();
  BoxAnswers = {IDYES};
  TypeNames({"taken.DFM"});
  ASSERT_TRUE(d.Execute());
  EXPECT_EQ(d.GetFileName(), Path("taken.DFM"));
  TypeNames({"unit.pas"});
  ASSERT_TRUE(d.Execute());
  EXPECT_TRUE(d.GetOptions().Contains(ofExtensionDifferent));
  EXPECT_EQ(d.Files()->Count(), 1);
}

TEST_F(DialogsTest, OpenRefusesAMissingFileAndCancelKeepsTheOfferedName) {
  TOpenDialog d(nullptr);
  d.SetInitialDir(Dir.string());
  d.SetOptions({ofFileMustExist});
  d.SetFileName("offered.dfm");
  TypeNames({"missing.dfm", "missing.dfm"});
  EXPECT_FALSE(d.Execute());
  EXPECT_EQ(d.GetFileName(), "offered.dfm");
  ASSERT_FALSE(Boxes.empty());
  EXPECT_EQ(Boxes[0].Text, Path("missing.dfm") + "\nFile not found.\nPlease verify the correct file name was given.");
  EXPECT_EQ(Boxes[0].Caption, "Open");
  Touch("here.dfm");
  Boxes.clear();
  TypeNames({"missing.dfm", "here.dfm"});
  ASSERT_TRUE(d.Execute());
  EXPECT_EQ(d.GetFileName(), Path("here.dfm"));
  // ofPathMustExist checks the folder; without options anything goes.
  d.SetOptions({ofPathMustExist});
  TypeNames({"nofolder/x.dfm"});
  EXPECT_FALSE(d.Execute());
  EXPECT_NE(Boxes.back().Text.find("Path does not exist"), std::string::npos);
  d.SetOptions({});
  TypeNames({"nofolder/x.dfm"});
  EXPECT_TRUE(d.Execute());
}

TEST_F(DialogsTest, FilterIndexChoosesTheFilterAndOnCanCloseMayVeto) {
  TSaveDialog d(nullptr);
  d.SetFilter("Delphi form (*.dfm)|*.dfm|Delphi form & unit (*.pas)|*.pas;*.inc");
  auto pairs = d.FilterPairs();
  ASSERT_EQ(pairs.size(), 2u);
  EXPECT_EQ(pairs[1].first, "Delphi form & unit (*.pas)");
  EXPECT_EQ(pairs[1].second, "*.pas;*.inc");
  d.SetInitialDir(Dir.string());
  TypeNames({"u.pas"}, 2);
  ASSERT_TRUE(d.Execute());
  EXPECT_EQ(d.GetFilterIndex(), 2);
  int vetoes = 0;
  d.OnCanClose = [&](TObject*, bool& can) { can = ++vetoes > 1; };
  TypeNames({"a.pas", "b.pas"});
  ASSERT_TRUE(d.Execute());
  EXPECT_EQ(d.GetFileName(), Path("b.pas"));
}

TEST_F(DialogsTest, MultiSelectReturnsEveryFile) {
  TOpenDialog d(nullptr);
  d.SetInitialDir(Dir.string());
  d.SetOptions({ofAllowMultiSelect, ofFileMustExist});
  Touch("a.txt");
  Touch("b.txt");
  DialogHook = [](TCommonDialog* dlg) {
    As<TOpenDialog>(dlg)->Files()->Add("a.txt");
    As<TOpenDialog>(dlg)->Files()->Add("b.txt");
    return true;
  };
  ASSERT_TRUE(d.Execute());
  ASSERT_EQ(d.Files()->Count(), 2);
  EXPECT_EQ(d.Files()->Get(1), Path("b.txt"));
  EXPECT_EQ(d.GetFileName(), Path("a.txt"));
}

// --- Other common dialogs.

TEST_F(DialogsTest, HookedDialogsRunBetweenOnShowAndOnClose) {
  TColorDialog d(nullptr);
  std::vector<std::string> log;
  d.OnShow = [&](TObject*) { log.push_back("show"); };
  d.OnClose = [&](TObject*) { log.push_back("close"); };
  DialogHook = [&](TCommonDialog* dlg) {
    log.push_back("user");
    As<TColorDialog>(dlg)->SetColor(clLime);
    return true;
  };
  EXPECT_TRUE(d.Execute());
  EXPECT_EQ(d.GetColor(), clLime);
  EXPECT_EQ(log, (std::vector<std::string>{"show", "user", "close"}));
}

TEST_F(DialogsTest, PrintDialogReportsThatThereIsNoPrinter) {
  TPrintDialog d(nullptr);
  EXPECT_FALSE(d.Execute());
  ASSERT_EQ(Boxes.size(), 1u);
  EXPECT_EQ(Boxes[0].Text, SNoDefaultPrinter);
  EXPECT_EQ(Boxes[0].Caption, "Error");
}

TEST_F(DialogsTest, FindAndReplaceButtonsSetOptionsAndFireEvents) {
  TReplaceDialog d(nullptr);
  d.SetOptions({frDown, frHideUpDown});
  std::vector<std::string> log;
  d.OnFind = [&](TObject*) { log.push_back("find " + d.GetFindText()); };
  d.OnReplace = [&](TObject*) { log.push_back("replace " + d.GetReplaceText()); };
  d.FindNextClicked("cat", {frDown, frHideUpDown, frMatchCase});
  EXPECT_TRUE(d.GetOptions().Contains(frFindNext));
  EXPECT_TRUE(d.GetOptions().Contains(frMatchCase));
  d.ReplaceClicked("cat", "dog", d.GetOptions(), true);
  EXPECT_TRUE(d.GetOptions().Contains(frReplaceAll));
  EXPECT_FALSE(d.GetOptions().Contains(frFindNext));
  EXPECT_EQ(log, (std::vector<std::string>{"find cat", "replace dog"}));
  // Modeless: Execute returns with the window up; CloseDialog takes it down.
  int closes = 0;
  d.OnClose = [&](TObject*) { ++closes; };
  EXPECT_TRUE(d.Execute());
  EXPECT_TRUE(d.Showing());
  d.CloseDialog();
  EXPECT_FALSE(d.Showing());
  EXPECT_EQ(closes, 1);
}

// --- The property editors behind them.

TEST_F(DialogsTest, ColorAndFontEditorsOpenTheirDialogsForEverySelectedComponent) {
  TForm a(nullptr), b(nullptr);
  PPropInfo color = GetPropInfo(&a, "Color"), font = GetPropInfo(&a, "Font");
  ASSERT_EQ(GetEditorClass(font, &a), TFontProperty::StaticClass());
  TColorProperty colorEd;
  colorEd.Setup(nullptr, 2);
  colorEd.SetPropEntry(0, &a, color);
  colorEd.SetPropEntry(1, &b, color);
  EXPECT_TRUE(colorEd.GetAttributes().Contains(paDialog));
  a.SetColor(clAqua);
  TColor offered = 0;
  DialogHook = [&](TCommonDialog* d) {
    offered = As<TColorDialog>(d)->GetColor();
    As<TColorDialog>(d)->SetColor(clMaroon);
    return true;
  };
  colorEd.Edit();
  EXPECT_EQ(offered, clAqua);
  EXPECT_EQ(a.GetColor(), clMaroon);
  EXPECT_EQ(b.GetColor(), clMaroon);

  TFontProperty fontEd;
  fontEd.Setup(nullptr, 2);
  fontEd.SetPropEntry(0, &a, font);
  fontEd.SetPropEntry(1, &b, font);
  a.GetFont()->SetName("Courier New");
  DialogHook = [&](TCommonDialog* d) {
    TFont* f = As<TFontDialog>(d)->GetFont();
    EXPECT_EQ(f->GetName(), "Courier New");
    f->SetSize(20);
    f->SetStyle({fsBold});
    return true;
  };
  fontEd.Edit();
  EXPECT_EQ(b.GetFont()->GetSize(), 20);
  EXPECT_EQ(b.GetFont()->GetName(), "Courier New");
  EXPECT_TRUE(a.GetFont()->GetStyle().Contains(fsBold));
  DialogHook = [](TCommonDialog* d) {
    As<TFontDialog>(d)->GetFont()->SetSize(30);
    return false;
  };
  fontEd.Edit();
  EXPECT_EQ(a.GetFont()->GetSize(), 20);
}

// --- Message dialogs.

TEST_F(DialogsTest, MessageDlgAnswersTheModalResultAndShowsCaptionAndButtons) {
  BoxAnswers = {mrNo};
  EXPECT_EQ(MessageDlg("Save changes?", mtConfirmation, mbYesNoCancel), mrNo);
  ASSERT_EQ(Boxes.size(), 1u);
  EXPECT_EQ(Boxes[0].Text, "Save changes?");
  EXPECT_EQ(Boxes[0].Caption, "Confirm");
  EXPECT_EQ(Boxes[0].Flags & 0xFF, MB_YESNOCANCEL | MB_ICONQUESTION);
  EXPECT_TRUE(MsgDlgButtonsOf(Boxes[0].Flags) == mbYesNoCancel);
  const std::pair<TMsgDlgType, const char*> captions[] = {
      {mtWarning, "Warning"}, {mtError, "Error"}, {mtInformation, "Information"}, {mtConfirmation, "Confirm"}};
  for (auto [type, caption] : captions) EXPECT_EQ(MsgDlgCaption(type), caption);
  // A set with no MessageBox equivalent still reaches the hook whole.
  BoxAnswers = {mrAll};
  EXPECT_EQ(MessageDlg("Replace?", mtWarning, {mbYes, mbNo, mbAll, mbHelp}), mrAll);
  EXPECT_TRUE(MsgDlgButtonsOf(Boxes[1].Flags) == TMsgDlgButtons({mbYes, mbNo, mbAll, mbHelp}));
  EXPECT_EQ(Boxes[1].Flags & 0xF0, MB_ICONWARNING);
  Application->SetTitle("KvDemo");
  ShowMessage("Done");
  EXPECT_EQ(Boxes[2].Caption, "KvDemo");
  EXPECT_EQ(Boxes[2].Flags & 0xFF, MB_OK);
  const std::pair<TMsgDlgBtn, std::pair<const char*, TModalResult>> buttons[] = {
      {mbYes, {"&Yes", mrYes}},          {mbNo, {"&No", mrNo}},          {mbOK, {"OK", mrOk}},
      {mbCancel, {"Cancel", mrCancel}},  {mbAbort, {"&Abort", mrAbort}}, {mbRetry, {"&Retry", mrRetry}},
      {mbIgnore, {"&Ignore", mrIgnore}}, {mbAll, {"&All", mrAll}},       {mbHelp, {"&Help", mrNone}}};
  for (auto [b, expected] : buttons) {
    EXPECT_EQ(MsgDlgButtonCaption(b), expected.first);
    EXPECT_EQ(MsgDlgButtonResult(b), expected.second);
  }
}

TEST_F(DialogsTest, InputQueryChangesTheValueOnlyWhenConfirmed) {
  std::string seenPrompt;
  InputQueryHook = [&](const std::string&, const std::string& prompt, std::string& v) {
    seenPrompt = prompt;
    v = "typed";
    return prompt == "Name:";
  };
  std::string value = "start";
  EXPECT_TRUE(InputQuery("Rename", "Name:", value));
  EXPECT_EQ(value, "typed");
  value = "start";
  EXPECT_FALSE(InputQuery("Rename", "Other:", value));
  EXPECT_EQ(value, "start");
  EXPECT_EQ(InputBox("Rename", "Other:", "default"), "default");
  EXPECT_EQ(InputBox("Rename", "Name:", "default"), "typed");
}

}  // namespace
