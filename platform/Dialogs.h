// Dialogs: the common dialogs (files, font, colour, printer, find and replace) and the message
// dialogs (MessageDlg, ShowMessage, InputQuery).
//
// Every dialog runs on the toolkit's own non-native dialogs, so that a scripted session under
// Xvfb can drive them like any window. Tests answer them without a user:
// - DialogHook answers the common dialogs: it gets the dialog with its settings, sets what the
//   user would choose (FileName or Files and FilterIndex, Color, Font, ...) and answers True
//   for OK. The file dialogs check its answer as they check a user's (default extension, file
//   must exist, overwrite prompt, ...) and ask it again after a refusal.
// - The message dialogs go through Forms' MessageBoxHook with the text, the caption and flags
//   (MB_ICON* for the type, MB_* for the buttons when they form a standard set, and always the
//   TMsgDlgButtons mask in the high word: MsgDlgButtonsOf(flags)); the hook answers a modal
//   result (mrYes, mrOk, ...).
// - InputQueryHook answers InputQuery and InputBox.
#pragma once

#include <functional>
#include <string>

#include "Classes.h"
#include "Controls.h"
#include "Forms.h"
#include "Graphics.h"

// ---------------------------------------------------------------------------------------------
class TCommonDialog : public TComponent {
  KV_CLASS(TCommonDialog, TComponent)
 public:
  explicit TCommonDialog(TComponent* AOwner);
  // Shows the dialog modally (the find dialogs: modelessly); True when the user confirmed.
  virtual bool Execute() = 0;

  bool GetCtl3D() const { return FCtl3D; }
  void SetCtl3D(bool v) { FCtl3D = v; }
  THelpContext GetHelpContext() const { return FHelpContext; }
  void SetHelpContext(THelpContext v) { FHelpContext = v; }
  TNotifyEvent OnClose;
  TNotifyEvent OnShow;

 protected:
  // The hook's answer, or the toolkit dialog's through run, framed by OnShow and OnClose.
  bool Run(const std::function<bool()>& run);

 private:
  THelpContext FHelpContext = 0;
  bool FCtl3D = true;
};

// Answers common dialogs in place of a user; empty: the toolkit's dialogs.
extern std::function<bool(TCommonDialog* dialog)> DialogHook;

// ---------------------------------------------------------------------------------------------
// File dialogs.
KV_ENUM(TOpenOption, ofReadOnly, ofOverwritePrompt, ofHideReadOnly, ofNoChangeDir, ofShowHelp, ofNoValidate,
        ofAllowMultiSelect, ofExtensionDifferent, ofPathMustExist, ofFileMustExist, ofCreatePrompt, ofShareAware,
        ofNoReadOnlyReturn, ofNoTestFileCreate, ofNoNetworkButton, ofNoLongNames, ofOldStyleDialog,
        ofNoDereferenceLinks, ofEnableIncludeNotify, ofEnableSizing, ofDontAddToRecent, ofForceShowHidden)
KV_SET(TOpenOptions, TOpenOption)

// Texts of the file dialogs' refusals and prompts (the file name replaces %s).
inline constexpr const char* SFileNotFound = "%s\nFile not found.\nPlease verify the correct file name was given.";
inline constexpr const char* SPathNotFound = "%s\nPath does not exist.\nPlease verify the correct path was given.";
inline constexpr const char* SFileExistsReplace = "%s already exists.\nDo you want to replace it?";
inline constexpr const char* SFileCreatePrompt = "%s\nThis file does not exist.\nDo you want to create it?";
inline constexpr const char* SFileReadOnly =
    "%s\nThis file is set to read-only.\nTry again with a different file name.";

KV_ENUM(TFileEditStyle, fsEdit, fsComboBox)

class TOpenDialog : public TCommonDialog {
  KV_CLASS(TOpenDialog, TCommonDialog)
 public:
  explicit TOpenDialog(TComponent* AOwner);
  ~TOpenDialog() override;
  bool Execute() override;

  std::string GetDefaultExt() const { return FDefaultExt; }
  void SetDefaultExt(const std::string& v) { FDefaultExt = v; }
  // Whether the file name box also lists recent names; kept for form files, the dialog always
  // has a plain name box.
  TFileEditStyle GetFileEditStyle() const { return FFileEditStyle; }
  void SetFileEditStyle(TFileEditStyle v) { FFileEditStyle = v; }
  std::string GetFileName() const { return FFileName; }
  void SetFileName(const std::string& v) { FFileName = v; }
  // The chosen files (one unless ofAllowMultiSelect).
  TStrings* Files() const { return FFiles; }
  std::string GetFilter() const { return FFilter; }
  void SetFilter(const std::string& v) { FFilter = v; }
  int GetFilterIndex() const { return FFilterIndex; }  // 1-based
  void SetFilterIndex(int v) { FFilterIndex = v; }
  std::string GetInitialDir() const { return FInitialDir; }
  void SetInitialDir(const std::string& v) { FInitialDir = v; }
  TOpenOptions GetOptions() const { return FOptions; }
  void SetOptions(TOpenOptions v) { FOptions = v; }
  std::string GetTitle() const { return FTitle; }
  void SetTitle(const std::string& v) { FTitle = v; }
  virtual bool IsFilterStored() const { return !FFilter.empty(); }

  // The filter's pairs: description, patterns ("*.dfm;*.pas").
  std::vector<std::pair<std::string, std::string>> FilterPairs() const;
  // Checks a chosen file set as the dialog checks the user's, with the prompts and refusals
  // of the options; True when accepted (FileName, Files, Options then updated).
  bool AcceptFiles(std::vector<std::string> files, int filterIndex);

  TCloseQueryEvent OnCanClose;
  TNotifyEvent OnFolderChange;
  TNotifyEvent OnSelectionChange;
  TNotifyEvent OnTypeChange;

 protected:
  virtual bool IsSaveDialog() const { return false; }
  // The toolkit dialog; AcceptFiles decides whether it may close.
  bool RunFileDialog();

 private:
  std::string WithDefaultExt(const std::string& file, int filterIndex) const;
  TStrings* FFiles;
  std::string FDefaultExt;
  TFileEditStyle FFileEditStyle = fsEdit;
  std::string FFileName;
  std::string FFilter;
  std::string FInitialDir;
  std::string FTitle;
  int FFilterIndex = 1;
  TOpenOptions FOptions{ofHideReadOnly, ofEnableSizing};
};

class TSaveDialog : public TOpenDialog {
  KV_CLASS(TSaveDialog, TOpenDialog)
 public:
  using TOpenDialog::TOpenDialog;

 protected:
  bool IsSaveDialog() const override { return true; }
};

// Their filter defaults to every registered picture format.
class TOpenPictureDialog : public TOpenDialog {
  KV_CLASS(TOpenPictureDialog, TOpenDialog)
 public:
  explicit TOpenPictureDialog(TComponent* AOwner);
  bool IsFilterStored() const override;
};

class TSavePictureDialog : public TSaveDialog {
  KV_CLASS(TSavePictureDialog, TSaveDialog)
 public:
  explicit TSavePictureDialog(TComponent* AOwner);
  bool IsFilterStored() const override;
};

// ---------------------------------------------------------------------------------------------
KV_ENUM(TFontDialogDevice, fdScreen, fdPrinter, fdBoth)
KV_ENUM(TFontDialogOption, fdAnsiOnly, fdTrueTypeOnly, fdEffects, fdFixedPitchOnly, fdForceFontExist, fdNoFaceSel,
        fdNoOEMFonts, fdNoSimulations, fdNoSizeSel, fdNoStyleSel, fdNoVectorFonts, fdShowHelp, fdWysiwyg, fdLimitSize,
        fdScalableOnly, fdApplyButton)
KV_SET(TFontDialogOptions, TFontDialogOption)

class TFontDialog : public TCommonDialog {
  KV_CLASS(TFontDialog, TCommonDialog)
 public:
  explicit TFontDialog(TComponent* AOwner);
  ~TFontDialog() override;
  bool Execute() override;
  TFont* GetFont() const { return FFont; }
  void SetFont(TFont* v) { FFont->Assign(v); }
  TFontDialogDevice GetDevice() const { return FDevice; }
  void SetDevice(TFontDialogDevice v) { FDevice = v; }
  int GetMinFontSize() const { return FMinFontSize; }
  void SetMinFontSize(int v) { FMinFontSize = v; }
  int GetMaxFontSize() const { return FMaxFontSize; }
  void SetMaxFontSize(int v) { FMaxFontSize = v; }
  TFontDialogOptions GetOptions() const { return FOptions; }
  void SetOptions(TFontDialogOptions v) { FOptions = v; }
  TNotifyEvent OnApply;

 private:
  TFont* FFont;
  TFontDialogDevice FDevice = fdScreen;
  int FMinFontSize = 0;
  int FMaxFontSize = 0;
  TFontDialogOptions FOptions{fdEffects};
};

KV_ENUM(TColorDialogOption, cdFullOpen, cdPreventFullOpen, cdShowHelp, cdSolidColor, cdAnyColor)
KV_SET(TColorDialogOptions, TColorDialogOption)

class TColorDialog : public TCommonDialog {
  KV_CLASS(TColorDialog, TCommonDialog)
 public:
  explicit TColorDialog(TComponent* AOwner);
  ~TColorDialog() override;
  bool Execute() override;
  TColor GetColor() const { return FColor; }
  void SetColor(TColor v) { FColor = v; }
  // "ColorA=808022" ... "ColorP=...", as the VCL keeps them.
  TStrings* GetCustomColors() const { return FCustomColors; }
  void SetCustomColors(TStrings* v) { FCustomColors->Assign(v); }
  TColorDialogOptions GetOptions() const { return FOptions; }
  void SetOptions(TColorDialogOptions v) { FOptions = v; }

 private:
  TStrings* FCustomColors;
  TColor FColor = clBlack;
  TColorDialogOptions FOptions;
};

KV_ENUM(TPrintRange, prAllPages, prSelection, prPageNums)
KV_ENUM(TPrintDialogOption, poPrintToFile, poPageNums, poSelection, poWarning, poHelp, poDisablePrintToFile)
KV_SET(TPrintDialogOptions, TPrintDialogOption)
inline constexpr const char* SNoDefaultPrinter = "There is no default printer currently selected";

// There is no printing: without a hook, Execute says so and answers False.
class TPrintDialog : public TCommonDialog {
  KV_CLASS(TPrintDialog, TCommonDialog)
 public:
  using TCommonDialog::TCommonDialog;
  bool Execute() override;
  bool GetCollate() const { return FCollate; }
  void SetCollate(bool v) { FCollate = v; }
  int GetCopies() const { return FCopies; }
  void SetCopies(int v) { FCopies = v; }
  int GetFromPage() const { return FFromPage; }
  void SetFromPage(int v) { FFromPage = v; }
  int GetToPage() const { return FToPage; }
  void SetToPage(int v) { FToPage = v; }
  int GetMinPage() const { return FMinPage; }
  void SetMinPage(int v) { FMinPage = v; }
  int GetMaxPage() const { return FMaxPage; }
  void SetMaxPage(int v) { FMaxPage = v; }
  TPrintDialogOptions GetOptions() const { return FOptions; }
  void SetOptions(TPrintDialogOptions v) { FOptions = v; }
  TPrintRange GetPrintRange() const { return FPrintRange; }
  void SetPrintRange(TPrintRange v) { FPrintRange = v; }
  bool GetPrintToFile() const { return FPrintToFile; }
  void SetPrintToFile(bool v) { FPrintToFile = v; }

 private:
  int FCopies = 0, FFromPage = 0, FToPage = 0, FMinPage = 0, FMaxPage = 0;
  TPrintDialogOptions FOptions;
  TPrintRange FPrintRange = prAllPages;
  bool FCollate = false;
  bool FPrintToFile = false;
};

// Printer setup, the same way: no printer to set up without a hook.
class TPrinterSetupDialog : public TCommonDialog {
  KV_CLASS(TPrinterSetupDialog, TCommonDialog)
 public:
  using TCommonDialog::TCommonDialog;
  bool Execute() override;
};

// ---------------------------------------------------------------------------------------------
// Find and replace: modeless; the buttons set Options (frFindNext, frReplace, frReplaceAll) and
// fire OnFind / OnReplace, which the application answers by searching.
KV_ENUM(TFindOption, frDown, frFindNext, frHideMatchCase, frHideWholeWord, frHideUpDown, frMatchCase,
        frDisableMatchCase, frDisableUpDown, frDisableWholeWord, frReplace, frReplaceAll, frWholeWord, frShowHelp)
KV_SET(TFindOptions, TFindOption)

class TFindDialog : public TCommonDialog {
  KV_CLASS(TFindDialog, TCommonDialog)
 public:
  explicit TFindDialog(TComponent* AOwner);
  ~TFindDialog() override;
  bool Execute() override;  // shows the dialog and returns at once
  void CloseDialog();
  bool Showing() const;
  std::string GetFindText() const { return FFindText; }
  void SetFindText(const std::string& v) { FFindText = v; }
  TFindOptions GetOptions() const { return FOptions; }
  void SetOptions(TFindOptions v) { FOptions = v; }
  TPoint GetPosition() const { return FPosition; }
  void SetPosition(const TPoint& v) { FPosition = v; }
  TNotifyEvent OnFind;

  // What the dialog's Find Next button does with the text and check boxes as the user left
  // them (the toolkit dialog and scripted sessions call it).
  void FindNextClicked(const std::string& findText, TFindOptions options);

 protected:
  virtual bool IsReplaceDialog() const { return false; }

 private:
  std::string FFindText;
  TFindOptions FOptions{frDown};
  TPoint FPosition{-1, -1};
};

class TReplaceDialog : public TFindDialog {
  KV_CLASS(TReplaceDialog, TFindDialog)
 public:
  using TFindDialog::TFindDialog;
  std::string GetReplaceText() const { return FReplaceText; }
  void SetReplaceText(const std::string& v) { FReplaceText = v; }
  // The Replace (all: Replace All) button.
  void ReplaceClicked(const std::string& findText, const std::string& replaceText, TFindOptions options, bool all);
  TNotifyEvent OnReplace;

 protected:
  bool IsReplaceDialog() const override { return true; }

 private:
  std::string FReplaceText;
};

// ---------------------------------------------------------------------------------------------
// Message dialogs.
KV_ENUM(TMsgDlgType, mtWarning, mtError, mtInformation, mtConfirmation, mtCustom)
KV_ENUM(TMsgDlgBtn, mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore, mbAll, mbNoToAll, mbYesToAll, mbHelp)
KV_SET(TMsgDlgButtons, TMsgDlgBtn)
inline constexpr TMsgDlgButtons mbYesNoCancel{mbYes, mbNo, mbCancel};
inline constexpr TMsgDlgButtons mbOKCancel{mbOK, mbCancel};
inline constexpr TMsgDlgButtons mbAbortRetryIgnore{mbAbort, mbRetry, mbIgnore};

constexpr TModalResult mrNoToAll = mrAll + 1;
constexpr TModalResult mrYesToAll = mrAll + 2;
constexpr int MB_ABORTRETRYIGNORE = 0x2;
constexpr int MB_RETRYCANCEL = 0x5;
// The buttons a message dialog's flags carry (see the hook above).
inline TMsgDlgButtons MsgDlgButtonsOf(int flags) {
  return TMsgDlgButtons::FromMask(static_cast<uint32_t>(flags) >> 16);
}

// "Warning", "Error", "Information", "Confirm", "" (mtCustom: the application's title).
std::string MsgDlgCaption(TMsgDlgType type);
// "&Yes", "&No", "OK", "Cancel", "&Abort", "&Retry", "&Ignore", "&All", "N&o to All",
// "Yes to &All", "&Help".
std::string MsgDlgButtonCaption(TMsgDlgBtn button);
TModalResult MsgDlgButtonResult(TMsgDlgBtn button);

TModalResult MessageDlg(const std::string& msg, TMsgDlgType type, TMsgDlgButtons buttons, THelpContext helpCtx = 0);
// At a screen point (-1: centred).
TModalResult MessageDlgPos(const std::string& msg, TMsgDlgType type, TMsgDlgButtons buttons, THelpContext helpCtx,
                           int x, int y);
void ShowMessage(const std::string& msg);

// Answers InputQuery and InputBox in place of a user: may change value; True for OK.
extern std::function<bool(const std::string& caption, const std::string& prompt, std::string& value)> InputQueryHook;
bool InputQuery(const std::string& caption, const std::string& prompt, std::string& value);
std::string InputBox(const std::string& caption, const std::string& prompt, const std::string& defaultValue);

void RegisterDialogsClasses();
