#include "Dialogs.h"

#include <filesystem>

#include "TypInfo.h"
#include "qt/QtDialogs.h"

std::function<bool(TCommonDialog*)> DialogHook;
std::function<bool(const std::string&, const std::string&, std::string&)> InputQueryHook;

KV_IMPLEMENT_CLASS(TCommonDialog, "Dialogs") {}

namespace {
template <class C>
void PublishCommon(TClassBuilder<C>& b) {
  b.Prop("Ctl3D", &TCommonDialog::GetCtl3D, &TCommonDialog::SetCtl3D).Default(true);
  b.Prop("HelpContext", &TCommonDialog::GetHelpContext, &TCommonDialog::SetHelpContext).Default(0);
}

template <class C>
void PublishFileDialog(TClassBuilder<C>& b) {
  PublishCommon(b);
  b.Prop("DefaultExt", &TOpenDialog::GetDefaultExt, &TOpenDialog::SetDefaultExt);
  b.Prop("FileEditStyle", &TOpenDialog::GetFileEditStyle, &TOpenDialog::SetFileEditStyle).Default(fsEdit);
  b.Prop("FileName", &TOpenDialog::GetFileName, &TOpenDialog::SetFileName);
  b.Prop("Filter", &TOpenDialog::GetFilter, &TOpenDialog::SetFilter).StoredMethod(&TOpenDialog::IsFilterStored);
  b.Prop("FilterIndex", &TOpenDialog::GetFilterIndex, &TOpenDialog::SetFilterIndex).Default(1);
  b.Prop("InitialDir", &TOpenDialog::GetInitialDir, &TOpenDialog::SetInitialDir);
  b.Prop("Options", &TOpenDialog::GetOptions, &TOpenDialog::SetOptions)
      .Default(TOpenOptions{ofHideReadOnly, ofEnableSizing});
  b.Prop("Title", &TOpenDialog::GetTitle, &TOpenDialog::SetTitle);
  b.Prop("OnCanClose", &TOpenDialog::OnCanClose);
  b.Prop("OnClose", &TCommonDialog::OnClose);
  b.Prop("OnFolderChange", &TOpenDialog::OnFolderChange);
  b.Prop("OnSelectionChange", &TOpenDialog::OnSelectionChange);
  b.Prop("OnShow", &TCommonDialog::OnShow);
  b.Prop("OnTypeChange", &TOpenDialog::OnTypeChange);
}

template <class C>
void PublishFindDialog(TClassBuilder<C>& b) {
  PublishCommon(b);
  b.Prop("FindText", &TFindDialog::GetFindText, &TFindDialog::SetFindText);
  b.Prop("Options", &TFindDialog::GetOptions, &TFindDialog::SetOptions).Default(TFindOptions{frDown});
  b.Prop("OnClose", &TCommonDialog::OnClose);
  b.Prop("OnFind", &TFindDialog::OnFind);
  b.Prop("OnShow", &TCommonDialog::OnShow);
}
}  // namespace

KV_IMPLEMENT_CLASS(TOpenDialog, "Dialogs") { PublishFileDialog(b); }
KV_IMPLEMENT_CLASS(TSaveDialog, "Dialogs") {}
KV_IMPLEMENT_CLASS(TOpenPictureDialog, "ExtDlgs") {}
KV_IMPLEMENT_CLASS(TSavePictureDialog, "ExtDlgs") {}

KV_IMPLEMENT_CLASS(TFontDialog, "Dialogs") {
  PublishCommon(b);
  b.Prop("Font", &TFontDialog::GetFont, &TFontDialog::SetFont);
  b.Prop("Device", &TFontDialog::GetDevice, &TFontDialog::SetDevice).Default(fdScreen);
  b.Prop("MinFontSize", &TFontDialog::GetMinFontSize, &TFontDialog::SetMinFontSize).Default(0);
  b.Prop("MaxFontSize", &TFontDialog::GetMaxFontSize, &TFontDialog::SetMaxFontSize).Default(0);
  b.Prop("Options", &TFontDialog::GetOptions, &TFontDialog::SetOptions).Default(TFontDialogOptions{fdEffects});
  b.Prop("OnApply", &TFontDialog::OnApply);
  b.Prop("OnClose", &TCommonDialog::OnClose);
  b.Prop("OnShow", &TCommonDialog::OnShow);
}

KV_IMPLEMENT_CLASS(TColorDialog, "Dialogs") {
  PublishCommon(b);
  b.Prop("Color", &TColorDialog::GetColor, &TColorDialog::SetColor).Type(TypeInfoTColor()).Default(clBlack);
  b.Prop("CustomColors", &TColorDialog::GetCustomColors, &TColorDialog::SetCustomColors);
  b.Prop("Options", &TColorDialog::GetOptions, &TColorDialog::SetOptions).Default(TColorDialogOptions{});
  b.Prop("OnClose", &TCommonDialog::OnClose);
  b.Prop("OnShow", &TCommonDialog::OnShow);
}

KV_IMPLEMENT_CLASS(TPrintDialog, "Dialogs") {
  PublishCommon(b);
  b.Prop("Collate", &TPrintDialog::GetCollate, &TPrintDialog::SetCollate).Default(false);
  b.Prop("Copies", &TPrintDialog::GetCopies, &TPrintDialog::SetCopies).Default(0);
  b.Prop("FromPage", &TPrintDialog::GetFromPage, &TPrintDialog::SetFromPage).Default(0);
  b.Prop("MinPage", &TPrintDialog::GetMinPage, &TPrintDialog::SetMinPage).Default(0);
  b.Prop("MaxPage", &TPrintDialog::GetMaxPage, &TPrintDialog::SetMaxPage).Default(0);
  b.Prop("Options", &TPrintDialog::GetOptions, &TPrintDialog::SetOptions).Default(TPrintDialogOptions{});
  b.Prop("PrintToFile", &TPrintDialog::GetPrintToFile, &TPrintDialog::SetPrintToFile).Default(false);
  b.Prop("PrintRange", &TPrintDialog::GetPrintRange, &TPrintDialog::SetPrintRange).Default(prAllPages);
  b.Prop("ToPage", &TPrintDialog::GetToPage, &TPrintDialog::SetToPage).Default(0);
  b.Prop("OnClose", &TCommonDialog::OnClose);
  b.Prop("OnShow", &TCommonDialog::OnShow);
}

KV_IMPLEMENT_CLASS(TPrinterSetupDialog, "Dialogs") {
  PublishCommon(b);
  b.Prop("OnClose", &TCommonDialog::OnClose);
  b.Prop("OnShow", &TCommonDialog::OnShow);
}

KV_IMPLEMENT_CLASS(TFindDialog, "Dialogs") { PublishFindDialog(b); }

KV_IMPLEMENT_CLASS(TReplaceDialog, "Dialogs") {
  b.Prop("ReplaceText", &TReplaceDialog::GetReplaceText, &TReplaceDialog::SetReplaceText);
  b.Prop("OnReplace", &TReplaceDialog::OnReplace);
}

// =============================================================================================
TCommonDialog::TCommonDialog(TComponent* AOwner) : TComponent(AOwner) {}

bool TCommonDialog::Run(const std::function<bool()>& run) {
  if (OnShow) OnShow(this);
  bool ok = DialogHook ? DialogHook(this) : run();
  if (OnClose) OnClose(this);
  return ok;
}

// =============================================================================================
// File dialogs.
TOpenDialog::TOpenDialog(TComponent* AOwner) : TCommonDialog(AOwner), FFiles(new TStringList) {}

TOpenDialog::~TOpenDialog() { delete FFiles; }

std::vector<std::pair<std::string, std::string>> TOpenDialog::FilterPairs() const {
  std::vector<std::pair<std::string, std::string>> r;
  std::vector<std::string> parts;
  size_t start = 0;
  for (;;) {
    size_t bar = FFilter.find('|', start);
    parts.push_back(FFilter.substr(start, bar == std::string::npos ? std::string::npos : bar - start));
    if (bar == std::string::npos) break;
    start = bar + 1;
  }
  if (FFilter.empty()) return r;
  for (size_t i = 0; i < parts.size(); i += 2) r.emplace_back(parts[i], i + 1 < parts.size() ? parts[i + 1] : parts[i]);
  return r;
}

std::string TOpenDialog::WithDefaultExt(const std::string& file, int) const {
  std::string ext = FDefaultExt;
  while (!ext.empty() && ext[0] == '.') ext.erase(0, 1);
  if (ext.empty() || !ExtractFileExt(file).empty()) return file;
  return file + "." + ext;
}

bool TOpenDialog::AcceptFiles(std::vector<std::string> files, int filterIndex) {
  std::erase(files, std::string());
  if (files.empty()) return false;
  std::string caption = !FTitle.empty() ? FTitle : IsSaveDialog() ? "Save As" : "Open";
  auto refuse = [&](const char* text, const std::string& f) {
    Application->MessageBox(Format(text, f), caption, MB_OK | MB_ICONWARNING);
    return false;
  };
  auto ask = [&](const char* text, const std::string& f, int icon) {
    return Application->MessageBox(Format(text, f), caption, MB_YESNO | icon) == IDYES;
  };
  for (std::string& f : files) {
    if (!FInitialDir.empty() && std::filesystem::path(f).is_relative())
      f = (std::filesystem::path(FInitialDir) / f).string();
    f = WithDefaultExt(f, filterIndex);
    if (FOptions.Contains(ofNoValidate)) continue;
    std::error_code ec;
    std::string dir = std::filesystem::path(f).parent_path().string();
    if (FOptions.Contains(ofPathMustExist) && !dir.empty() && !std::filesystem::is_directory(dir, ec))
      return refuse(SPathNotFound, f);
    bool exists = FileExists(f);
    if (!IsSaveDialog() && FOptions.Contains(ofFileMustExist) && !exists) return refuse(SFileNotFound, f);
    if (exists && FOptions.Contains(ofNoReadOnlyReturn)) {
      auto perms = std::filesystem::status(f, ec).permissions();
      if ((perms & std::filesystem::perms::owner_write) == std::filesystem::perms::none)
        return refuse(SFileReadOnly, f);
    }
    if (IsSaveDialog() && exists && FOptions.Contains(ofOverwritePrompt) && !ask(SFileExistsReplace, f, MB_ICONWARNING))
      return false;
    if (!exists && FOptions.Contains(ofCreatePrompt) && !ask(SFileCreatePrompt, f, MB_ICONQUESTION)) return false;
  }
  std::string old = FFileName;
  FFileName = files[0];
  if (OnCanClose) {
    bool canClose = true;
    OnCanClose(this, canClose);
    if (!canClose) {
      FFileName = old;
      return false;
    }
  }
  FFiles->Clear();
  for (const std::string& f : files) FFiles->Add(f);
  FFilterIndex = filterIndex;
  std::string ext = ExtractFileExt(FFileName), want = FDefaultExt;
  if (!ext.empty()) ext.erase(0, 1);
  while (!want.empty() && want[0] == '.') want.erase(0, 1);
  if (!want.empty() && !SameText(ext, want)) FOptions.Include(ofExtensionDifferent);
  else FOptions.Exclude(ofExtensionDifferent);
  return true;
}

bool TOpenDialog::RunFileDialog() {
  qtd::TFileRequest r;
  r.Title = FTitle;
  r.InitialDir = FInitialDir;
  r.FileName = FFileName;
  r.Filters = FilterPairs();
  r.FilterIndex = FFilterIndex;
  r.Save = IsSaveDialog();
  r.MultiSelect = FOptions.Contains(ofAllowMultiSelect);
  return qtd::ExecuteFileDialog(
      r, [this](const std::vector<std::string>& files, int index) { return AcceptFiles(files, index); });
}

bool TOpenDialog::Execute() {
  if (OnShow) OnShow(this);
  bool ok = false;
  if (!DialogHook) {
    ok = RunFileDialog();
  } else {
    // The hook is the user: it types a name (FileName, or Files when selecting several) and
    // picks a filter; a refused answer asks it again, the same refused answer twice cancels.
    std::string offered = FFileName;
    std::vector<std::string> refused;
    for (;;) {
      FFiles->Clear();
      if (!DialogHook(this)) break;
      std::vector<std::string> files;
      for (int i = 0; i < FFiles->Count(); ++i) files.push_back(FFiles->Get(i));
      if (files.empty()) files.push_back(FFileName);
      if (AcceptFiles(files, FFilterIndex)) {
        ok = true;
        break;
      }
      if (files == refused) break;
      refused = files;
    }
    if (!ok) FFileName = offered;
  }
  if (OnClose) OnClose(this);
  return ok;
}

TOpenPictureDialog::TOpenPictureDialog(TComponent* AOwner) : TOpenDialog(AOwner) {
  SetFilter(GraphicFilter(TGraphic::StaticClass()));
}

bool TOpenPictureDialog::IsFilterStored() const { return GetFilter() != GraphicFilter(TGraphic::StaticClass()); }

TSavePictureDialog::TSavePictureDialog(TComponent* AOwner) : TSaveDialog(AOwner) {
  SetFilter(GraphicFilter(TGraphic::StaticClass()));
}

bool TSavePictureDialog::IsFilterStored() const { return GetFilter() != GraphicFilter(TGraphic::StaticClass()); }

// =============================================================================================
TFontDialog::TFontDialog(TComponent* AOwner) : TCommonDialog(AOwner), FFont(new TFont) {}
TFontDialog::~TFontDialog() { delete FFont; }

bool TFontDialog::Execute() {
  return Run([this] { return qtd::ExecuteFontDialog(FFont, "Font"); });
}

TColorDialog::TColorDialog(TComponent* AOwner) : TCommonDialog(AOwner), FCustomColors(new TStringList) {}
TColorDialog::~TColorDialog() { delete FCustomColors; }

bool TColorDialog::Execute() {
  return Run([this] {
    // Custom colours "ColorA".."ColorP" = hex BBGGRR, as the VCL keeps them.
    std::vector<int> custom(16, 0xFFFFFF);
    for (int i = 0; i < 16; ++i) {
      std::string v = FCustomColors->Values(std::string("Color") + static_cast<char>('A' + i));
      int c;
      if (!v.empty() && TryStrToInt("$" + v, c)) custom[i] = c;
    }
    int color = ColorToRGB(FColor);
    if (!qtd::ExecuteColorDialog(color, custom, FOptions.Contains(cdFullOpen))) return false;
    FColor = color;
    for (int i = 0; i < 16; ++i)
      FCustomColors->SetValue(std::string("Color") + static_cast<char>('A' + i), IntToHex(custom[i], 6));
    return true;
  });
}

namespace {
bool DialogsNoPrinter() {
  MessageDlg(SNoDefaultPrinter, mtError, {mbOK});
  return false;
}
}  // namespace

bool TPrintDialog::Execute() { return Run(DialogsNoPrinter); }

bool TPrinterSetupDialog::Execute() { return Run(DialogsNoPrinter); }

// =============================================================================================
TFindDialog::TFindDialog(TComponent* AOwner) : TCommonDialog(AOwner) {}

TFindDialog::~TFindDialog() {
  Destroying();
  qtd::CloseFindDialog(this);
}

bool TFindDialog::Execute() {
  if (OnShow) OnShow(this);
  if (DialogHook) return DialogHook(this);
  qtd::ShowFindDialog(this, IsReplaceDialog());
  return true;
}

void TFindDialog::CloseDialog() {
  bool was = Showing();
  qtd::CloseFindDialog(this);
  if (was && OnClose) OnClose(this);
}

bool TFindDialog::Showing() const { return qtd::FindDialogShowing(const_cast<TFindDialog*>(this)); }

namespace {
TFindOptions Pressed(TFindOptions options, std::initializer_list<TFindOption> on) {
  for (TFindOption o : {frFindNext, frReplace, frReplaceAll}) options.Exclude(o);
  for (TFindOption o : on) options.Include(o);
  return options;
}
}  // namespace

void TFindDialog::FindNextClicked(const std::string& findText, TFindOptions options) {
  FFindText = findText;
  FOptions = Pressed(options, {frFindNext});
  if (OnFind) OnFind(this);
}

void TReplaceDialog::ReplaceClicked(const std::string& findText, const std::string& replaceText, TFindOptions options,
                                    bool all) {
  SetFindText(findText);
  FReplaceText = replaceText;
  SetOptions(Pressed(options, {all ? frReplaceAll : frReplace}));
  if (OnReplace) OnReplace(this);
}

// =============================================================================================
// Message dialogs.
std::string MsgDlgCaption(TMsgDlgType type) {
  switch (type) {
    case mtWarning: return "Warning";
    case mtError: return "Error";
    case mtInformation: return "Information";
    case mtConfirmation: return "Confirm";
    default: return Application ? Application->GetTitle() : "";
  }
}

std::string MsgDlgButtonCaption(TMsgDlgBtn button) {
  static const char* const kCaptions[] = {"&Yes",    "&No",  "OK",         "Cancel",      "&Abort", "&Retry",
                                          "&Ignore", "&All", "N&o to All", "Yes to &All", "&Help"};
  return kCaptions[button];
}

TModalResult MsgDlgButtonResult(TMsgDlgBtn button) {
  static const TModalResult kResults[] = {mrYes,    mrNo,  mrOk,      mrCancel,   mrAbort, mrRetry,
                                          mrIgnore, mrAll, mrNoToAll, mrYesToAll, mrNone};
  return kResults[button];
}

namespace {
int MessageBoxFlags(TMsgDlgType type, TMsgDlgButtons buttons) {
  static const int kIcons[] = {MB_ICONWARNING, MB_ICONERROR, MB_ICONINFORMATION, MB_ICONQUESTION, 0};
  int code = MB_OK;
  TMsgDlgButtons plain = buttons - TMsgDlgButtons{mbHelp};
  if (plain == mbOKCancel) code = MB_OKCANCEL;
  else if (plain == mbYesNoCancel) code = MB_YESNOCANCEL;
  else if (plain == TMsgDlgButtons{mbYes, mbNo}) code = MB_YESNO;
  else if (plain == mbAbortRetryIgnore) code = MB_ABORTRETRYIGNORE;
  else if (plain == TMsgDlgButtons{mbRetry, mbCancel}) code = MB_RETRYCANCEL;
  return kIcons[type] | code | static_cast<int>(buttons.Mask() << 16);
}
}  // namespace

TModalResult MessageDlgPos(const std::string& msg, TMsgDlgType type, TMsgDlgButtons buttons, THelpContext, int x,
                           int y) {
  std::string caption = MsgDlgCaption(type);
  if (MessageBoxHook) return MessageBoxHook(msg, caption, MessageBoxFlags(type, buttons));
  std::vector<qtd::TButtonSpec> specs;
  int defaultIndex = 0;
  for (int b = mbYes; b <= mbHelp; ++b) {
    auto btn = static_cast<TMsgDlgBtn>(b);
    if (!buttons.Contains(btn)) continue;
    // As the VCL: OK, else Yes, is the default button.
    if (btn == mbOK || (btn == mbYes && !buttons.Contains(mbOK))) defaultIndex = static_cast<int>(specs.size());
    specs.push_back({MsgDlgButtonCaption(btn), MsgDlgButtonResult(btn)});
  }
  return qtd::MessageDialog(msg, caption, type, specs, defaultIndex, x, y);
}

TModalResult MessageDlg(const std::string& msg, TMsgDlgType type, TMsgDlgButtons buttons, THelpContext helpCtx) {
  return MessageDlgPos(msg, type, buttons, helpCtx, -1, -1);
}

void ShowMessage(const std::string& msg) { MessageDlg(msg, mtCustom, {mbOK}); }

bool InputQuery(const std::string& caption, const std::string& prompt, std::string& value) {
  std::string v = value;
  bool ok = InputQueryHook ? InputQueryHook(caption, prompt, v) : qtd::InputQuery(caption, prompt, v);
  if (ok) value = v;
  return ok;
}

std::string InputBox(const std::string& caption, const std::string& prompt, const std::string& defaultValue) {
  std::string v = defaultValue;
  InputQuery(caption, prompt, v);
  return v;
}

void RegisterDialogsClasses() {
  static bool done = false;
  if (done) return;
  done = true;
  RegisterClasses({TOpenDialog::StaticClass(), TSaveDialog::StaticClass(), TOpenPictureDialog::StaticClass(),
                   TSavePictureDialog::StaticClass(), TFontDialog::StaticClass(), TColorDialog::StaticClass(),
                   TPrintDialog::StaticClass(), TPrinterSetupDialog::StaticClass(), TFindDialog::StaticClass(),
                   TReplaceDialog::StaticClass()});
}
