// Forms: forms and their designer hook, the application and screen objects, and forms built
// from text layouts embedded at build time.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "Controls.h"

class TCustomForm;
class TScrollingWinControl;

// The designer of a form in design state. The form offers it every message of itself and its
// controls first (IsDesignMsg), calls PaintGrid while painting its background, and tells it of
// components inserted and removed and of renames. The design-time services derive from it.
class TDesigner : public TObject {
  KV_CLASS(TDesigner, TObject)
 public:
  // True: the message is consumed; the control and its native widget never see it.
  virtual bool IsDesignMsg(TControl* sender, TMessage& message) = 0;
  virtual void Modified() = 0;
  virtual void Notification(TComponent* component, TOperation operation) = 0;
  virtual void PaintGrid() = 0;
  virtual void ValidateRename(TComponent* component, const std::string& curName, const std::string& newName) = 0;
  virtual std::string UniqueName(const std::string& baseName) = 0;
  virtual TComponent* GetRoot() = 0;
  virtual std::string GetPrivateDirectory() { return ""; }
  virtual bool GetIsControl() { return false; }
  virtual void SetIsControl(bool value) { (void)value; }
  TCustomForm* Form = nullptr;
};

KV_ENUM(TFormBorderStyle, bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin)
// The border of a control: the first two values of TFormBorderStyle, under a type name of its own.
using TBorderStyle = TFormBorderStyle;
PTypeInfo TypeInfoTBorderStyle();  // bsNone, bsSingle
KV_ENUM(TBorderIcon, biSystemMenu, biMinimize, biMaximize, biHelp)
KV_SET(TBorderIcons, TBorderIcon)
KV_ENUM(TPosition, poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter, poDesktopCenter,
        poMainFormCenter, poOwnerFormCenter)
KV_ENUM(TWindowState, wsNormal, wsMinimized, wsMaximized)
KV_ENUM(TFormStyle, fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop)
KV_ENUM(TCloseAction, caNone, caHide, caFree, caMinimize)
KV_ENUM(TFormStateFlag, fsCreating, fsVisible, fsShowing, fsModal, fsCreatedMDIChild, fsActivated)
KV_SET(TFormState, TFormStateFlag)
KV_EVENT(TCloseEvent, "Sender: TObject; var Action: TCloseAction", TObject*, TCloseAction&)
KV_EVENT(TCloseQueryEvent, "Sender: TObject; var CanClose: Boolean", TObject*, bool&)

using TModalResult = int;
constexpr TModalResult mrNone = 0;
constexpr TModalResult mrOk = 1;
constexpr TModalResult mrCancel = 2;
constexpr TModalResult mrAbort = 3;
constexpr TModalResult mrRetry = 4;
constexpr TModalResult mrIgnore = 5;
constexpr TModalResult mrYes = 6;
constexpr TModalResult mrNo = 7;
constexpr TModalResult mrAll = 8;
PTypeInfo TypeInfoTModalResult();

// ---------------------------------------------------------------------------------------------
// Scrolling windows: scroll bars in the non-client area that move the children, as the VCL's do.
KV_ENUM(TScrollBarKind, sbHorizontal, sbVertical)
KV_ENUM(TScrollBarStyle, ssRegular, ssFlat, ssHotTrack)
using TScrollBarInc = int;
PTypeInfo TypeInfoTScrollBarInc();  // 1..32767

// One scroll bar of a scrolling window. Range is the extent of the content (AutoScroll: of the
// children), Position how far it is scrolled; the bar shows while Visible and the content does
// not fit. Changing Position moves the children (their Left and Top change, as in the VCL).
class TControlScrollBar : public TPersistent {
  KV_CLASS(TControlScrollBar, TPersistent)
 public:
  TControlScrollBar(TScrollingWinControl* control = nullptr, TScrollBarKind kind = sbHorizontal)
      : FControl(control), FKind(kind) {}
  void Assign(TPersistent* source) override;
  TPersistent* GetOwner() const override;
  TScrollBarKind Kind() const { return FKind; }
  // Whether the bar shows now.
  bool IsScrollBarVisible() const;
  // The farthest Position: how much of Range does not fit (0 while the bar is hidden).
  int CalcRange() const;
  // Position in client pixels, one line (Increment), one page (the client extent) or to a
  // thumb position, as a WM_HSCROLL / WM_VSCROLL request code asks.
  void ScrollMessage(uint16_t code, int thumbPos);

  TScrollBarInc GetIncrement() const { return FIncrement; }
  void SetIncrement(TScrollBarInc v) { FIncrement = v; }
  int GetMargin() const { return FMargin; }
  void SetMargin(int v);
  int GetPosition() const { return FPosition; }
  void SetPosition(int v);
  int GetRange() const { return FRange; }
  // Setting a range turns the control's AutoScroll off, as in the VCL.
  void SetRange(int v);
  bool IsRangeStored() const;
  bool GetTracking() const { return FTracking; }
  void SetTracking(bool v);
  bool GetVisible() const { return FVisible; }
  void SetVisible(bool v);
  // Delphi 4-7 properties that form files carry; kept, the toolkit draws its own bars.
  int GetButtonSize() const { return FButtonSize; }
  void SetButtonSize(int v) { FButtonSize = v; }
  TColor GetColor() const { return FColor; }
  void SetColor(TColor v) {
    FColor = v;
    FParentColor = false;
  }
  bool GetParentColor() const { return FParentColor; }
  void SetParentColor(bool v) { FParentColor = v; }
  bool IsColorStored() const { return !FParentColor; }
  int GetSize() const { return FSize; }
  void SetSize(int v) { FSize = v; }
  bool GetSmooth() const { return FSmooth; }
  void SetSmooth(bool v) { FSmooth = v; }
  TScrollBarStyle GetStyle() const { return FStyle; }
  void SetStyle(TScrollBarStyle v) { FStyle = v; }
  int GetThumbSize() const { return FThumbSize; }
  void SetThumbSize(int v) { FThumbSize = v; }

 private:
  friend class TScrollingWinControl;
  // The client extent along the bar.
  int ControlSize() const;
  // The extent of the children along the bar, plus Margin (AutoScroll).
  int AutoRange() const;
  // Scrolls to v (clamped) and shows the bar's new state.
  void Update();
  TScrollingWinControl* FControl;
  TScrollBarKind FKind;
  TScrollBarInc FIncrement = 8;
  int FMargin = 0;
  int FPosition = 0;
  int FRange = 0;
  bool FTracking = false;
  bool FVisible = true;
  int FButtonSize = 0;
  TColor FColor = clBtnHighlight;
  bool FParentColor = true;
  int FSize = 0;
  bool FSmooth = false;
  TScrollBarStyle FStyle = ssRegular;
  int FThumbSize = 0;
};

// A windowed control with scroll bars (and, for forms, a menu bar) around its client area.
// Its children sit in client coordinates; scrolling moves them. WM_HSCROLL / WM_VSCROLL from
// the bars reach the control's WindowProc first, so a designer can see them.
class TScrollingWinControl : public TWinControl {
  KV_CLASS(TScrollingWinControl, TWinControl)
 public:
  explicit TScrollingWinControl(TComponent* AOwner);
  ~TScrollingWinControl() override;
  void Dispatch(TMessage& message) override;
  TRect GetClientRect() const override;
  TPoint ClientOrigin() const override;
  // The parts around the client area as now laid out.
  const TNonClientArea& NonClientArea() const { return FNonClient; }

  TControlScrollBar* GetHorzScrollBar() const { return FHorzScrollBar; }
  void SetHorzScrollBar(TControlScrollBar* v) { FHorzScrollBar->Assign(v); }
  TControlScrollBar* GetVertScrollBar() const { return FVertScrollBar; }
  void SetVertScrollBar(TControlScrollBar* v) { FVertScrollBar->Assign(v); }
  bool GetAutoScroll() const { return FAutoScroll; }
  void SetAutoScroll(bool v);
  // While disabled, AutoScroll leaves the ranges alone (calls nest).
  void DisableAutoRange();
  void EnableAutoRange();
  // Scrolls so that control (a child at any depth), with the bars' margins, is in view.
  void ScrollInView(TControl* control);
  void Loaded() override;
  // The scroll range waits, as alignment does, for the children to finish loading.
  void BeginLoadedCalls() override;
  void EndLoadedCalls() override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  // The children align in the scrolled extent; AutoScroll measures them first.
  void AlignControls(TControl* aControl, TRect& rect) override;
  // A border all round and a menu bar at the top of the non-client area.
  void SetNonClientEdges(int border, int menuBar);
  void BorderWidthChanged() override;
  // Which bars the content needs now, their state on the window, and the positions clamped.
  void UpdateScrollBars();

 private:
  friend class TControlScrollBar;
  void CalcAutoRange();
  void SetRanges(int horz, int vert);
  void NonClientChanged();
  TControlScrollBar* FHorzScrollBar;
  TControlScrollBar* FVertScrollBar;
  TNonClientArea FNonClient;
  bool FAutoScroll = true;
  int FAutoRangeCount = 0;
  bool FUpdatingScrollBars = false;
};

// A scrolling container with a sunken border.
class TScrollBox : public TScrollingWinControl {
  KV_CLASS(TScrollBox, TScrollingWinControl)
 public:
  explicit TScrollBox(TComponent* AOwner);
  TBorderStyle GetBorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle v);

 private:
  TBorderStyle FBorderStyle = bsSingle;
};

// ---------------------------------------------------------------------------------------------
class TCustomForm : public TScrollingWinControl {
  KV_CLASS(TCustomForm, TScrollingWinControl)
 public:
  explicit TCustomForm(TComponent* AOwner);
  ~TCustomForm() override;

  void Dispatch(TMessage& message) override;

  TDesigner* GetDesigner() const { return FDesigner; }
  // Attaching a designer re-applies design state to the form's controls.
  void SetDesigner(TDesigner* designer);
  TCanvas* Canvas() const { return FCanvas; }

  void Show();
  void Hide() { SetVisible(false); }
  TModalResult ShowModal();
  void Close();
  bool CloseQuery();
  // Frees the form once the messages now queued have been handled.
  void Release();
  void SetFocus() override;
  bool Active() const { return FActive; }
  TFormState FormState;

  TModalResult GetModalResult() const { return FModalResult; }
  void SetModalResult(TModalResult v) { FModalResult = v; }
  TWinControl* GetActiveControl() const { return FActiveControl; }
  void SetActiveControl(TWinControl* v);
  void FocusControl(TWinControl* control);
  TFormBorderStyle GetBorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TFormBorderStyle v);
  TBorderIcons GetBorderIcons() const { return FBorderIcons; }
  void SetBorderIcons(TBorderIcons v);
  TPosition GetPosition() const { return FPosition; }
  void SetPosition(TPosition v) { FPosition = v; }
  TWindowState GetWindowState() const { return FWindowState; }
  void SetWindowState(TWindowState v);
  TFormStyle GetFormStyle() const { return FFormStyle; }
  void SetFormStyle(TFormStyle v);
  bool GetKeyPreview() const { return FKeyPreview; }
  void SetKeyPreview(bool v) { FKeyPreview = v; }
  // The form's main menu. Typed TComponent until the menus unit brings TMainMenu; that unit
  // shows it through MenuChanged.
  TComponent* GetMenu() const { return FMenu; }
  void SetMenu(TComponent* v);
  // The menu item that lists an MDI frame's child windows; kept for form files (no MDI here).
  TComponent* GetWindowMenu() const { return FWindowMenu; }
  void SetWindowMenu(TComponent* v) {
    FWindowMenu = v;
    if (v) v->FreeNotification(this);
  }
  int GetPixelsPerInch() const { return FPixelsPerInch; }
  void SetPixelsPerInch(int v) { FPixelsPerInch = v; }
  int GetTextHeight() const { return FTextHeight; }
  bool GetOldCreateOrder() const { return FOldCreateOrder; }
  void SetOldCreateOrder(bool v) { FOldCreateOrder = v; }
  bool GetScaled() const { return FScaled; }
  void SetScaled(bool v) { FScaled = v; }
  // The client area fits the controls: as wide and high as their farthest right and bottom.
  bool GetAutoSize() const { return FAutoSize; }
  void SetAutoSize(bool v);
  void Loaded() override;
  std::string GetHelpFile() const { return FHelpFile; }
  void SetHelpFile(const std::string& v) { FHelpFile = v; }
  TIcon* GetIcon() const { return FIcon; }
  void SetIcon(TIcon* v) { FIcon->Assign(v); }
  // The menu bar (from the menus unit, as the Menu shows one) takes its room from the client
  // area: the form's Height stays, as a window's outer size does when Windows adds a menu.
  void SetMenuBarHeight(int height);
  // A stream's client size wins over its Width and Height once the menu bar is known; without
  // AutoScroll or ranges, the client size is what gets written, as Delphi writes it.
  void SetClientWidth(int v);
  void SetClientHeight(int v);
  bool IsClientSizeStored() const { return !IsFormSizeStored(); }
  bool IsFormSizeStored() const;
  void ReadState(TReader* reader) override;

  // Non-visual components first (owned by root, without a parent), then the controls.
  void GetChildren(const TGetChildProc& proc, TComponent* root) override;
  void DefineProperties(TFiler* filer) override;
  void Notification(TComponent* c, TOperation op) override;
  void ValidateRename(TComponent* c, const std::string& curName, const std::string& newName) override;

  TNotifyEvent OnCreate;
  TNotifyEvent OnDestroy;
  TNotifyEvent OnShow;
  TNotifyEvent OnHide;
  TCloseEvent OnClose;
  TCloseQueryEvent OnCloseQuery;
  TNotifyEvent OnActivate;
  TNotifyEvent OnDeactivate;
  TNotifyEvent OnPaint;

  void DoCreate();

 protected:
  void CreateParams(TCreateParams& params) override;
  void PaintWindow(TPaintDC* dc) override;
  TCanvas* GetControlCanvas() const override { return FCanvas; }
  virtual void Paint();
  virtual void Activate();
  virtual void Deactivate();
  virtual void DoShow();
  virtual void DoHide();
  virtual void DoClose(TCloseAction& action);
  // Shows the menu bar of the Menu (a TMainMenu) on the form's window.
  virtual void MenuChanged();
  void CreateWnd() override;
  void AlignControls(TControl* aControl, TRect& rect) override;
  bool DoKeyDown(uint16_t& key, TShiftState shift) override;
  bool DoKeyPress(char& key) override;
  bool DoKeyUp(uint16_t& key, TShiftState shift) override;

 private:
  friend class TWinControl;
  void CloseModal();
  void ApplyPosition();
  void ReadTextHeight(TReader* r);
  void WriteTextHeight(TWriter* w);
  void WritePixelsPerInch(TWriter* w);
  TDesigner* FDesigner = nullptr;
  TControlCanvas* FCanvas;
  TIcon* FIcon;
  TModalResult FModalResult = mrNone;
  TWinControl* FActiveControl = nullptr;
  TComponent* FMenu = nullptr;
  TComponent* FWindowMenu = nullptr;
  TFormBorderStyle FBorderStyle = bsSizeable;
  TBorderIcons FBorderIcons{biSystemMenu, biMinimize, biMaximize};
  TPosition FPosition = poDesigned;
  TWindowState FWindowState = wsNormal;
  TFormStyle FFormStyle = fsNormal;
  std::string FHelpFile;
  int FPixelsPerInch = 96;
  int FTextHeight = 13;
  bool FKeyPreview = false;
  bool FOldCreateOrder = false;
  bool FScaled = true;
  bool FAutoSize = false;
  TSize FReadClientSize;  // a stream's ClientWidth / ClientHeight (0: none)
  bool FActive = false;
  bool FShownOnce = false;
};

class TForm : public TCustomForm {
  KV_CLASS(TForm, TCustomForm)
 public:
  using TCustomForm::TCustomForm;
};

// Builds a component from the text layouts registered for its class and its ancestors below
// rootAncestor (oldest first): root properties, owned children, published fields bound by name,
// handlers bound by published method name. A form then runs OnCreate. False when no layout
// is registered for the class. Form classes call it from their constructor:
//   TfmAbout(TComponent* AOwner) : TForm(AOwner) { InitInheritedComponent(this, TForm::StaticClass()); }
bool InitInheritedComponent(TComponent* instance, TClass rootAncestor);
// Registers a text form layout under the class named in its first line ("object X: TClass").
// The kit registers its forms/*.dfm this way when it loads; tests register their own.
void RegisterFormLayout(const std::string& text);
void UnregisterFormLayout(const std::string& className);
bool HasFormLayout(const std::string& className);

// ---------------------------------------------------------------------------------------------
// TApplication
KV_EVENT(TExceptionEvent, "Sender: TObject; E: Exception", TObject*, const Exception&)

// The help system's requests: Command is HELP_CONTEXT with the context as Data; a handler that
// shows the topic itself clears CallHelp.
KV_EVENT(THelpEvent, "Command: Word; Data: Longint; var CallHelp: Boolean", uint16_t, int, bool&)
constexpr uint16_t HELP_CONTEXT = 1;

// MessageBox flags and answers (IDOK 1, IDCANCEL 2, ...).
constexpr int MB_OK = 0x0;
constexpr int MB_OKCANCEL = 0x1;
constexpr int MB_YESNOCANCEL = 0x3;
constexpr int MB_YESNO = 0x4;
constexpr int MB_ICONERROR = 0x10;
constexpr int MB_ICONQUESTION = 0x20;
constexpr int MB_ICONWARNING = 0x30;
constexpr int MB_ICONINFORMATION = 0x40;
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

// Replaces every message box of the library (tests capture them this way): text, caption,
// flags → answer. Empty: the toolkit's modal message box.
extern std::function<int(const std::string& text, const std::string& caption, int flags)> MessageBoxHook;

class TApplication : public TComponent {
  KV_CLASS(TApplication, TComponent)
 public:
  explicit TApplication(TComponent* AOwner);
  ~TApplication() override;

  void Initialize();
  // Creates a form owned by the application; the first one becomes MainForm.
  template <class T>
  void CreateForm(T*& reference) {
    reference = static_cast<T*>(CreateForm(T::StaticClass()));
  }
  TComponent* CreateForm(TClass formClass);
  // Shows MainForm and handles messages until Terminate (or MainForm closes).
  void Run();
  void ProcessMessages();
  // Handles messages, waiting for one when there is none.
  void HandleMessage();
  void Terminate() { FTerminated = true; }
  bool Terminated() const { return FTerminated; }
  // The exception being handled (call from a catch block): OnException, or a message box with
  // its text titled Title; EAbort is silent.
  void HandleException(TObject* sender);
  void ShowException(const Exception& e);
  int MessageBox(const std::string& text, const std::string& caption, int flags = MB_OK);
  // Asks for the help topic of a context. There is no help viewer: only OnHelp can show one,
  // and the answer is True when it did.
  bool HelpContext(THelpContext context);

  std::string GetTitle() const { return FTitle; }
  void SetTitle(const std::string& v) { FTitle = v; }
  TCustomForm* MainForm() const { return FMainForm; }
  void Notification(TComponent* c, TOperation op) override;

  TExceptionEvent OnException;
  THelpEvent OnHelp;
  TNotifyEvent OnIdle;

 private:
  TCustomForm* FMainForm = nullptr;
  std::string FTitle;
  bool FTerminated = false;
};

// ---------------------------------------------------------------------------------------------
// TScreen
class TScreen : public TComponent {
  KV_CLASS(TScreen, TComponent)
 public:
  explicit TScreen(TComponent* AOwner);
  ~TScreen() override;
  // Forms in z-order, the active one first.
  int FormCount() const { return static_cast<int>(FForms.size()); }
  TCustomForm* Forms(int i) const { return FForms.at(i); }
  TCustomForm* ActiveForm() const { return FActiveForm; }
  TWinControl* ActiveControl() const;
  int Width() const;
  int Height() const;
  TRect WorkAreaRect() const;
  int WorkAreaWidth() const { return WorkAreaRect().Width(); }
  int WorkAreaHeight() const { return WorkAreaRect().Height(); }
  int PixelsPerInch() const { return 96; }
  // Overrides every control's cursor while not crDefault.
  TCursor GetCursor() const { return FCursor; }
  void SetCursor(TCursor v);
  HCURSOR Cursors(int index) const { return index; }

 private:
  friend class TCustomForm;
  void AddForm(TCustomForm* f);
  void RemoveForm(TCustomForm* f);
  void SetActiveForm(TCustomForm* f);
  std::vector<TCustomForm*> FForms;
  TCustomForm* FActiveForm = nullptr;
  TCursor FCursor = crDefault;
};

class TMouse {
 public:
  TPoint GetCursorPos() const { return ::GetCursorPos(); }
  void SetCursorPos(const TPoint& p) { ::SetCursorPos(p.X, p.Y); }
  TControl* Capture() const { return GetCaptureControl(); }
  bool DragImmediate = true;
  int DragThreshold = 5;
};

extern TApplication* Application;
extern TScreen* Screen;
extern TMouse* Mouse;
