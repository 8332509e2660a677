// The designer component and its window: the design list, the save prompt, caption and
// command enabling, the window's geometry and the environment options.
#include <filesystem>
#include "DesignerFixture.h"
#include "KvAlignP.h"
#include "KvConfrm.h"
#include "KvToolOp.h"
#include "SysUtils.h"

namespace {

TfmKvFrmDsg* Window(TKvFormDesigner* d) { return d->FDesignerWindow; }

// A form file in the temporary folder whose root is a plain form of that name and bounds.
std::string KvFormFile(const std::string& name, const TRect& bounds) {
  TMemoryStream image;
  {
    TForm probe(nullptr);
    probe.SetName(name);
    probe.SetBounds(bounds.Left, bounds.Top, bounds.Width(), bounds.Height());
    image.WriteComponentRes(UpperCase("T" + name), &probe);
  }
  std::string path = (std::filesystem::temp_directory_path() / ("kvdsgn-" + name + ".dfm")).string();
  image.SaveToFile(path);
  return path;
}

}  // namespace

TEST_F(DesignerTest, CaptionNamesTheDesignAndTheModeAndCommandsFollowTheDesign) {
  TfmKvFrmDsg* w = Window(Designer);
  EXPECT_EQ(w->GetCaption(), "HostForm.KvFormDesigner1 - Form1 (Insert & Delete)");
  EXPECT_TRUE(w->SaveFileItem->GetEnabled());  // a new form counts as modified
  EXPECT_TRUE(w->btSaveFile->GetEnabled());
  EXPECT_TRUE(w->AlignItem->GetEnabled());
  EXPECT_TRUE(w->btSelectForm->GetEnabled());

  Designer->SetCanDelete(false);
  w->UpdateDesignerState();
  EXPECT_EQ(w->GetCaption(), "HostForm.KvFormDesigner1 - Form1 (Insert only)");
  Designer->SetCanInsert(false);
  w->UpdateDesignerState();
  EXPECT_EQ(w->GetCaption(), "HostForm.KvFormDesigner1 - Form1 (Modify only)");
  Designer->SetCanDelete(true);
  w->UpdateDesignerState();
  EXPECT_EQ(w->GetCaption(), "HostForm.KvFormDesigner1 - Form1 (Delete only)");

  Engine->FModified = false;
  w->UpdateDesignerState();
  EXPECT_FALSE(w->SaveFileItem->GetEnabled());
  Engine->Modified();  // the engine reports through DesignerChanged
  EXPECT_TRUE(w->SaveFileItem->GetEnabled());
}

TEST_F(DesignerTest, ClosingTheOnlyDesignWithoutHideOnEmptyKeepsTheWindowWithCommandsOff) {
  TfmKvFrmDsg* w = Window(Designer);
  Designer->SetHideOnEmpty(false);
  Engine->FModified = false;
  Form()->Perform(WM_CLOSE, 0, 0);
  EXPECT_EQ(w->DesignerCount(), 0);
  EXPECT_TRUE(w->GetVisible());
  EXPECT_EQ(w->GetCaption(), "HostForm.KvFormDesigner1 (Insert & Delete)");
  EXPECT_FALSE(w->SaveFileAsItem->GetEnabled());
  EXPECT_FALSE(w->SizeItem->GetEnabled());
  EXPECT_FALSE(w->btSelectForm->GetEnabled());
  EXPECT_TRUE(w->NewFormItem->GetEnabled());
}

TEST_F(DesignerTest, ClosingTheOnlyDesignWithHideOnEmptyClosesTheWindow) {
  TfmKvFrmDsg* w = Window(Designer);
  Engine->FModified = false;
  Form()->Perform(WM_CLOSE, 0, 0);
  EXPECT_EQ(w->DesignerCount(), 0);
  EXPECT_FALSE(w->GetVisible());
}

TEST_F(DesignerTest, SavePromptCancelKeepsTheDesignNoClosesIt) {
  TfmKvFrmDsg* w = Window(Designer);
  Engine->OnDesignerDestroy = [w](TObject* s) { return w->CloseDesigner(s); };
  std::string asked;
  AnswerNextModal(mrCancel, [&](TCustomForm* f) {
    if (auto* c = dynamic_cast<TfmKvConfrm*>(f)) asked = c->MsgLabel->GetCaption();
  });
  Form()->Perform(WM_CLOSE, 0, 0);
  EXPECT_EQ(asked, "Save Changes to Form1.DFM?");
  EXPECT_EQ(w->DesignerCount(), 1);
  EXPECT_EQ(w->CurrentDesigner(), Engine);

  AnswerNextModal(mrNo);
  Form()->Perform(WM_CLOSE, 0, 0);
  EXPECT_EQ(w->DesignerCount(), 0);
}

TEST_F(DesignerTest, HostCloseQueryAsksForEveryModifiedDesignAndCancelStopsIt) {
  TfmKvFrmDsg* w = Window(Designer);
  Designer->NewForm();
  ASSERT_EQ(w->DesignerCount(), 2);
  int prompts = 0;
  AnswerNextModal(mrNo, [&](TCustomForm*) { ++prompts; });
  AnswerNextModal(mrCancel, [&](TCustomForm*) { ++prompts; });
  bool canClose = true;
  Designer->CloseQuery(Host, canClose);
  EXPECT_FALSE(canClose);
  EXPECT_EQ(prompts, 2);
  EXPECT_EQ(w->DesignerCount(), 2);

  AnswerNextModal(mrNo);
  AnswerNextModal(mrNo);
  Designer->CloseQuery(Host, canClose);
  EXPECT_TRUE(canClose);
  EXPECT_EQ(w->DesignerCount(), 0);
}

TEST_F(DesignerTest, ALiveHostFormClosesWithoutAPrompt) {
  TfmKvFrmDsg* w = Window(Designer);
  auto* live = new TForm(Application);
  live->SetName("LiveHostForm");
  Designer->EditForm(live);
  ASSERT_EQ(w->DesignerCount(), 2);
  TKFormDesigner* liveDesign = w->CurrentDesigner();
  liveDesign->Modified();
  live->Perform(WM_CLOSE, 0, 0);  // no modal answer queued: a prompt would hang here
  EXPECT_EQ(w->DesignerCount(), 1);
  EXPECT_EQ(live->GetDesigner(), nullptr);
  delete live;
}

// The host's CloseForm ends the design of a live form, as File > Close does (tests/e2e/live.sh),
// and its controls answer their own input again. (One that is not the application's main form
// closes with its design; the host shows it again.)
TEST_F(DesignerTest, CloseEndsTheDesignOfALiveFormAndItsButtonsWorkAgain) {
  TfmKvFrmDsg* w = Window(Designer);
  auto* live = new TForm(Application);
  live->SetName("LiveHostForm");
  live->SetBounds(300, 300, 200, 120);
  auto* button = new TButton(live);
  button->SetBounds(10, 10, 75, 25);
  button->SetParent(live);
  int clicks = 0;
  button->OnClick = [&clicks](TObject*) { ++clicks; };
  live->Show();
  auto click = [button] {
    SendInput(button, WM_LBUTTONDOWN, {5, 5}, MK_LBUTTON);
    SendInput(button, WM_LBUTTONUP, {5, 5});
    Application->ProcessMessages();
  };

  Designer->EditForm(live);
  ASSERT_EQ(w->CurrentDesigner()->GetForm(), live);
  click();
  EXPECT_EQ(clicks, 0) << "a designed button is dead";
  Designer->CloseForm(live);
  EXPECT_EQ(w->DesignerCount(), 1);
  EXPECT_EQ(live->GetDesigner(), nullptr);
  EXPECT_FALSE(button->InState(csDesigning));
  live->Show();
  click();
  EXPECT_EQ(clicks, 1);
  Designer->CloseForm(live);  // not designed: nothing happens
  EXPECT_EQ(w->DesignerCount(), 1);
  delete live;
}

// Generate Unit As is given the unit's name; the design's file is the form file written beside
// it, which Save writes and the save prompt names.
TEST_F(DesignerTest, AfterGenerateUnitAsTheDesignsFileIsTheFormFile) {
  TfmKvFrmDsg* w = Window(Designer);
  namespace fs = std::filesystem;
  fs::path dir = fs::temp_directory_path() / "kvdsgn-generate-unit";
  fs::remove_all(dir);
  fs::create_directories(dir);
  DialogHook = [&](TCommonDialog* d) {
    auto* save = dynamic_cast<TSaveDialog*>(d);
    if (save) save->SetFileName((dir / "Unit1.pas").string());
    return save != nullptr;
  };
  TriggerMenuItem(w->GenerateUnitAsItem);
  DialogHook = nullptr;
  EXPECT_TRUE(fs::exists(dir / "Unit1.pas"));
  EXPECT_EQ(Engine->FFileName, (dir / "Unit1.dfm").string());

  Engine->Modified();
  Engine->OnDesignerDestroy = [w](TObject* s) { return w->CloseDesigner(s); };
  std::string asked;
  AnswerNextModal(mrCancel, [&](TCustomForm* f) {
    if (auto* c = dynamic_cast<TfmKvConfrm*>(f)) asked = c->MsgLabel->GetCaption();
  });
  Form()->Perform(WM_CLOSE, 0, 0);
  EXPECT_EQ(asked, "Save Changes to Unit1.dfm?");
  fs::remove_all(dir);
}

TEST_F(DesignerTest, OpeningAFileWhoseFormIsOnTheScreenShowsThatForm) {
  // A form file whose root is named like the host form.
  TMemoryStream image;
  TForm probe(nullptr);
  probe.SetName("HostForm");
  image.WriteComponentRes("THOSTFORM", &probe);
  std::string path = (std::filesystem::temp_directory_path() / "kvdsgn-host.dfm").string();
  image.SaveToFile(path);
  std::string told;
  MessageBoxHook = [&](const std::string& text, const std::string&, int) {
    told = text;
    return IDOK;
  };
  Designer->OpenForm(path);
  MessageBoxHook = nullptr;
  EXPECT_EQ(Window(Designer)->DesignerCount(), 1);
  EXPECT_EQ(told, "A form named HostForm is already open.");
  std::filesystem::remove(path);
}

TEST_F(DesignerTest, TheComponentStreamsOnlyChangedSettings) {
  auto text = [](TComponent* c) {
    TMemoryStream binary, out;
    binary.WriteComponent(c);
    binary.SetPosition(0);
    ObjectBinaryToText(&binary, &out);
    return std::string(reinterpret_cast<const char*>(out.Memory()), out.GetSize());
  };
  TKvFormDesigner fresh(nullptr);
  fresh.SetName("Fresh");
  std::string plain = text(&fresh);
  for (const char* setting : {"TypeKinds", "CanInsert", "SnapToGrid", "HideOnEmpty", "GridX", "GridY"})
    EXPECT_EQ(plain.find(setting), std::string::npos) << plain;
  fresh.SetGridY(5);
  fresh.SetTypeKinds(0x0EFE | TypeKindBit(tkMethod));
  EXPECT_EQ(fresh.GetGridX(), 8);
  std::string changed = text(&fresh);
  EXPECT_NE(changed.find("GridY = 5"), std::string::npos) << changed;
  EXPECT_NE(changed.find("tkMethod"), std::string::npos) << changed;
  EXPECT_EQ(changed.find("GridX"), std::string::npos) << changed;
}

TEST_F(DesignerTest, EnvironmentOptionsChangeTheGridOfEveryDesign) {
  TfmKvFrmDsg* w = Window(Designer);
  AnswerNextModal(mrNone, [](TCustomForm* f) {
    auto* o = static_cast<TfmKvToolOp*>(f);
    o->edGridX->SetText("4");
    o->edGridY->SetText(" 1 2");
    o->ckSnapToGrid->SetChecked(false);
    o->Button1->Click();
  });
  w->EnvironmentOptionsItemClick(w);
  EXPECT_EQ(Designer->GetGridX(), 4);
  EXPECT_EQ(Designer->GetGridY(), 12);
  EXPECT_FALSE(Designer->GetSnapToGrid());
  EXPECT_EQ(Engine->GridBitmap()->Canvas()->GetPixel(4, 12), clBlack);  // rebuilt at once
  EXPECT_NE(Engine->GridBitmap()->Canvas()->GetPixel(8, 8), clBlack);
}

TEST_F(DesignerTest, TheWindowIsAFixedHeightBarAtLeast600Wide) {
  TfmKvFrmDsg* w = Window(Designer);
  EXPECT_EQ(w->GetLeft(), 0);
  EXPECT_EQ(w->GetTop(), 0);
  EXPECT_EQ(w->GetWidth(), GetSystemMetrics(SM_CXFULLSCREEN));
  EXPECT_EQ(w->SizingToolbar->GetHeight(), 60);
  w->SetBounds(10, 10, 300, 300);
  EXPECT_EQ(w->GetWidth(), 600);
  EXPECT_EQ(w->GetHeight(), 108);
}

TEST_F(DesignerTest, SplitterWidensTheSpeedBarOnlyLeftOf400) {
  TfmKvFrmDsg* w = Window(Designer);
  TPanel* splitter = w->SizingToolbar;
  SendInput(splitter, WM_LBUTTONDOWN, {1, 10}, MK_LBUTTON);
  TPoint p = w->ScreenToClient(splitter->ClientToScreen({1, 10}));
  SendInput(splitter, WM_MOUSEMOVE, {1 + 200 - p.X, 10}, MK_LBUTTON);
  EXPECT_EQ(splitter->GetLeft(), 199);
  EXPECT_EQ(w->PanelSpeedbar->GetWidth(), 203);
  SendInput(splitter, WM_MOUSEMOVE, {1 + 450 - 199, 10}, MK_LBUTTON);
  EXPECT_EQ(w->PanelSpeedbar->GetWidth(), 203);
  SendInput(splitter, WM_LBUTTONUP, {1, 10});
}

TEST_F(DesignerTest, SavePromptYesSavesThroughTheSaveDialogOrKeepsTheDesignWhenItIsCancelled) {
  TfmKvFrmDsg* w = Window(Designer);
  namespace fs = std::filesystem;
  fs::path dir = fs::temp_directory_path() / "kvdsgn-save-prompt";
  fs::remove_all(dir);
  fs::create_directories(dir);
  std::string offered;
  bool confirm = false;
  DialogHook = [&](TCommonDialog* d) {
    auto* save = dynamic_cast<TSaveDialog*>(d);
    if (!save) return false;
    offered = save->GetFileName();
    save->SetFileName((dir / "Saved").string());
    return confirm;
  };
  AnswerNextModal(mrYes);
  Form()->Perform(WM_CLOSE, 0, 0);  // the save dialog is cancelled: nothing closes
  EXPECT_EQ(offered, "Form1.DFM");
  EXPECT_EQ(w->DesignerCount(), 1);
  EXPECT_TRUE(Engine->FModified);

  confirm = true;
  AnswerNextModal(mrYes);
  Form()->Perform(WM_CLOSE, 0, 0);
  DialogHook = nullptr;
  EXPECT_EQ(w->DesignerCount(), 0);
  EXPECT_TRUE(fs::exists(dir / "Saved.DFM")) << "the default extension";
  fs::remove_all(dir);
}

TEST_F(DesignerTest, TheAlignmentPaletteFollowsTheCurrentDesign) {
  TfmKvFrmDsg* w = Window(Designer);
  ASSERT_NE(fmKvAlignP, nullptr);
  EXPECT_EQ(fmKvAlignP->Designer, Engine);
  Designer->NewForm();
  EXPECT_EQ(fmKvAlignP->Designer, w->CurrentDesigner());
  EXPECT_NE(fmKvAlignP->Designer, Engine);
  w->AlignmentPaletteItemClick(w);
  EXPECT_TRUE(fmKvAlignP->GetVisible());
  w->CloseAllDesigners();
  w->UpdateDesignerState();
  EXPECT_EQ(fmKvAlignP->Designer, nullptr);
}

TEST_F(DesignerTest, OpeningAFileOfAnOpenDesignSaysSoAndMakesThatDesignCurrent) {
  TfmKvFrmDsg* w = Window(Designer);
  std::string path = KvFormFile("Form1", Bounds(200, 300, 320, 240));
  Designer->NewForm();  // Form2, in front and current
  ASSERT_NE(w->CurrentDesigner(), Engine);
  std::vector<std::string> told;
  MessageBoxHook = [&](const std::string& text, const std::string&, int) {
    told.push_back(text);
    return IDOK;
  };
  Designer->OpenForm(path);
  MessageBoxHook = nullptr;
  std::filesystem::remove(path);
  EXPECT_EQ(w->DesignerCount(), 2);
  EXPECT_EQ(w->CurrentDesigner(), Engine);  // Save As now saves what the user sees
  EXPECT_EQ(w->GetCaption(), "HostForm.KvFormDesigner1 - Form1 (Insert & Delete)");
  EXPECT_EQ(told, std::vector<std::string>{"A form named Form1 is already open."});
}

TEST_F(DesignerTest, ALoadedFormPlacedOverTheDesignerWindowOpensBelowItUnmodified) {
  TfmKvFrmDsg* w = Window(Designer);
  std::string path = KvFormFile("Placed", Bounds(0, 0, 320, 240));
  Designer->OpenForm(path);
  std::filesystem::remove(path);
  TKFormDesigner* design = w->CurrentDesigner();
  ASSERT_NE(design, Engine);
  EXPECT_EQ(design->GetForm()->GetLeft(), 0);
  EXPECT_EQ(design->GetForm()->GetTop(), w->GetTop() + w->GetHeight());
  EXPECT_FALSE(design->FModified);
}

TEST_F(DesignerTest, TheDesignerWindowsShortCutsWorkFromTheDesignedForm) {
  constexpr uint16_t kF9 = 0x78;
  Window(Designer)->AlignmentPaletteItem->SetShortCut(ShortCut(kF9, {}));
  ASSERT_NE(fmKvAlignP, nullptr);
  ASSERT_FALSE(fmKvAlignP->GetVisible());
  Form()->Perform(WM_KEYDOWN, kF9, 0);  // pressed while the design has the keyboard
  EXPECT_TRUE(fmKvAlignP->GetVisible());
}

TEST_F(DesignerTest, AFormWithProblemsOpensWithOneMessageAndSaveAsOffersBothFormats) {
  namespace fs = std::filesystem;
  const fs::path dir = fs::temp_directory_path() / "kvdsgn-problems";
  fs::remove_all(dir);
  fs::create_directories(dir);
  const std::string file = (dir / "Odd.dfm").string();
  WriteFileAtomic(file,
                  "object Odd1: TOdd1\r\n"
                  "  object Fancy1: TEnhancedEdit\r\n    Width = 50\r\n  end\r\n"
                  "  object Button1: TButton\r\n    ShortCutText = 'F2'\r\n  end\r\n"
                  "end\r\n");
  std::vector<std::string> boxes;
  MessageBoxHook = [&](const std::string& text, const std::string&, int) {
    boxes.push_back(text);
    return IDOK;
  };
  Designer->OpenForm(file);
  MessageBoxHook = nullptr;
  TKFormDesigner* design = Window(Designer)->CurrentDesigner();
  ASSERT_EQ(design->GetForm()->GetName(), "Odd1");
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_NE(boxes[0].find("Odd1: Class TEnhancedEdit not found\n"), std::string::npos) << boxes[0];
  EXPECT_NE(boxes[0].find("Button1.ShortCutText"), std::string::npos) << boxes[0];

  // Read as text, offered as text; saved as binary when the user picks that format.
  int offered = 0;
  DialogHook = [&](TCommonDialog* d) {
    auto* save = dynamic_cast<TSaveDialog*>(d);
    if (!save) return false;
    offered = save->GetFilterIndex();
    EXPECT_EQ(save->GetFilter(), "Delphi form (*.dfm)|*.dfm|Delphi text form (*.dfm)|*.dfm");
    save->SetFilterIndex(1);
    save->SetFileName((dir / "Binary.dfm").string());
    return true;
  };
  Window(Designer)->SaveFileAsItemClick(nullptr);
  DialogHook = nullptr;
  EXPECT_EQ(offered, 2);
  EXPECT_FALSE(design->FTextForm);
  EXPECT_EQ(ReadFileBytes((dir / "Binary.dfm").string())[0], '\xFF');
  fs::remove_all(dir);
}

// Opened through the designer window as a user opens them, with the event loop running, the
// corpus forms save back as their own bytes.
TEST_F(DesignerTest, CorpusFormsOpenedInTheWindowSaveBackUntouched) {
  namespace fs = std::filesystem;
  const fs::path corpus(KV_CORPUS_DIR);
  if (!fs::is_directory(corpus / "binary")) GTEST_SKIP() << "corpus not found";
  const fs::path saved = fs::temp_directory_path() / "kvdsgn-window-resave.dfm";
  MessageBoxHook = [](const std::string&, const std::string&, int) { return IDOK; };
  for (const char* format : {"binary", "text"}) {
    for (const auto& e : fs::directory_iterator(corpus / format)) {
      SCOPED_TRACE(e.path().filename().string());
      Designer->OpenForm(e.path().string());
      Application->ProcessMessages();
      TKFormDesigner* design = Window(Designer)->CurrentDesigner();
      if (design == Engine) continue;  // a form of that name is open already
      design->WriteUnits(saved.string(), false);
      EXPECT_TRUE(ReadFileBytes(saved.string()) == ReadFileBytes(e.path().string()));
      Window(Designer)->CloseAllDesigners();
      Designer->NewForm();
      Engine = Window(Designer)->CurrentDesigner();
    }
  }
  MessageBoxHook = nullptr;
  fs::remove(saved);
}
