// Controls: TControl and its families, the message path with the designer hook, alignment,
// mouse capture and the VCL's internal drag and drop.
//
// A message reaches a control through its WindowProc (by default the virtual WndProc).
// TControl::WndProc first offers it to the form's designer when the control is in design state;
// only if the designer declines does it go to Dispatch, where each class handles the messages
// it knows (switch on Msg) and passes the rest to its parent class, ending in DefaultHandler.
// For a message that came from a native widget event, reaching TWinControl::DefaultHandler is
// what lets the native widget see that event.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "Classes.h"
#include "Graphics.h"
#include "Messages.h"
#include "Types.h"
#include "Windows.h"

class TWinControl;
class TBasicAction;
class TControlActionLink;
class TPopupMenu;
class TCustomForm;
class TWindowHandle;
struct TPaintDC;

// ---------------------------------------------------------------------------------------------
// Types.
KV_ENUM(TAlign, alNone, alTop, alBottom, alLeft, alRight, alClient)
KV_ENUM(TAnchorKind, akLeft, akTop, akRight, akBottom)
KV_SET(TAnchors, TAnchorKind)
KV_ENUM(TControlStyleFlag, csAcceptsControls, csCaptureMouse, csDesignInteractive, csClickEvents, csFramed,
        csSetCaption, csOpaque, csDoubleClicks, csFixedWidth, csFixedHeight, csNoDesignVisible, csReplicatable,
        csNoStdEvents, csDisplayDragImage, csReflector)
KV_SET(TControlStyle, TControlStyleFlag)
KV_ENUM(TControlStateFlag, csLButtonDown, csClicked, csPalette, csReadingState, csAlignmentNeeded, csFocusing,
        csCreating, csPaintCopy, csCustomPaint, csDestroyingHandle)
KV_SET(TControlState, TControlStateFlag)
KV_ENUM(TMouseButton, mbLeft, mbRight, mbMiddle)
KV_ENUM(TShiftStateFlag, ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble)
KV_SET(TShiftState, TShiftStateFlag)
KV_ENUM(TDragMode, dmManual, dmAutomatic)
KV_ENUM(TDragState, dsDragEnter, dsDragLeave, dsDragMove)
// Delphi 4-7 properties that form files carry; the controls keep them without acting on them.
KV_ENUM(TBiDiMode, bdLeftToRight, bdRightToLeft, bdRightToLeftNoAlign, bdRightToLeftReadingOnly)
KV_ENUM(TDragKind, dkDrag, dkDock)
KV_ENUM(TImeMode, imDisable, imClose, imOpen, imDontCare, imSAlpha, imAlpha, imHira, imSKata, imKata, imChinese,
        imSHanguel, imHanguel)
// Which scroll bars a control shows; shared by memos, grids and scrolling controls.
KV_ENUM(TScrollStyle, ssNone, ssHorizontal, ssVertical, ssBoth)

// Captions are strings with a type name of their own, as the inspector matches editors by it.
using TCaption = std::string;
PTypeInfo TypeInfoTCaption();
using TTabOrder = int;
PTypeInfo TypeInfoTTabOrder();  // -1..32767
using THelpContext = int;

// Cursors by VCL number; `TCursor` properties publish with `.Type(TypeInfoTCursor())` so that
// form streams carry them as crXXX identifiers.
using TCursor = int16_t;
constexpr TCursor crDefault = 0;
constexpr TCursor crNone = -1;
constexpr TCursor crArrow = -2;
constexpr TCursor crCross = -3;
constexpr TCursor crIBeam = -4;
constexpr TCursor crSize = -5;
constexpr TCursor crSizeNESW = -6;
constexpr TCursor crSizeNS = -7;
constexpr TCursor crSizeNWSE = -8;
constexpr TCursor crSizeWE = -9;
constexpr TCursor crUpArrow = -10;
constexpr TCursor crHourGlass = -11;
constexpr TCursor crDrag = -12;
constexpr TCursor crNoDrop = -13;
constexpr TCursor crHSplit = -14;
constexpr TCursor crVSplit = -15;
constexpr TCursor crMultiDrag = -16;
constexpr TCursor crSQLWait = -17;
constexpr TCursor crNo = -18;
constexpr TCursor crAppStart = -19;
constexpr TCursor crHelp = -20;
constexpr TCursor crHandPoint = -21;
constexpr TCursor crSizeAll = -22;
PTypeInfo TypeInfoTCursor();
using TBorderWidth = int;
PTypeInfo TypeInfoTBorderWidth();  // 0..MaxInt
bool CursorToIdent(int32_t cursor, std::string& ident);
bool IdentToCursor(const std::string& ident, int32_t& cursor);
std::string CursorToString(TCursor cursor);
TCursor StringToCursor(const std::string& s);  // EConvertError when neither name nor number

KV_EVENT(TMouseEvent, "Sender: TObject; Button: TMouseButton; Shift: TShiftState; X, Y: Integer", TObject*,
         TMouseButton, TShiftState, int, int)
KV_EVENT(TMouseMoveEvent, "Sender: TObject; Shift: TShiftState; X, Y: Integer", TObject*, TShiftState, int, int)
KV_EVENT(TKeyEvent, "Sender: TObject; var Key: Word; Shift: TShiftState", TObject*, uint16_t&, TShiftState)
KV_EVENT(TKeyPressEvent, "Sender: TObject; var Key: Char", TObject*, char&)
KV_EVENT(TDragOverEvent, "Sender, Source: TObject; X, Y: Integer; State: TDragState; var Accept: Boolean", TObject*,
         TObject*, int, int, TDragState, bool&)
KV_EVENT(TDragDropEvent, "Sender, Source: TObject; X, Y: Integer", TObject*, TObject*, int, int)
KV_EVENT(TStartDragEvent, "Sender: TObject; var DragObject: TDragObject", TObject*, class TDragObject*&)
KV_EVENT(TEndDragEvent, "Sender, Target: TObject; X, Y: Integer", TObject*, TObject*, int, int)
KV_EVENT(TMouseWheelEvent,
         "Sender: TObject; Shift: TShiftState; WheelDelta: Integer; MousePos: TPoint; var Handled: Boolean", TObject*,
         TShiftState, int, TPoint, bool&)
KV_EVENT(TMouseWheelUpDownEvent, "Sender: TObject; Shift: TShiftState; MousePos: TPoint; var Handled: Boolean",
         TObject*, TShiftState, TPoint, bool&)

TShiftState KeysToShiftState(intptr_t keys);  // MK_ flags
intptr_t ShiftStateToKeys(TShiftState shift);

// Size limits of a control (0: none), applied by SetBounds.
class TSizeConstraints : public TPersistent {
  KV_CLASS(TSizeConstraints, TPersistent)
 public:
  explicit TSizeConstraints(TControl* control = nullptr) : FControl(control) {}
  void Assign(TPersistent* source) override;
  int GetMaxHeight() const { return FMaxHeight; }
  void SetMaxHeight(int v) { Set(FMaxHeight, v); }
  int GetMaxWidth() const { return FMaxWidth; }
  void SetMaxWidth(int v) { Set(FMaxWidth, v); }
  int GetMinHeight() const { return FMinHeight; }
  void SetMinHeight(int v) { Set(FMinHeight, v); }
  int GetMinWidth() const { return FMinWidth; }
  void SetMinWidth(int v) { Set(FMinWidth, v); }
  void Apply(int& width, int& height) const;
  TPersistent* GetOwner() const override;

 private:
  void Set(int& field, int v);
  TControl* FControl;
  int FMaxHeight = 0;
  int FMaxWidth = 0;
  int FMinHeight = 0;
  int FMinWidth = 0;
};

// The room an aligned control keeps clear around itself when AlignWithMargins is on
// (Delphi 2006 and later write it; 3 pixels each by default).
class TMargins : public TPersistent {
  KV_CLASS(TMargins, TPersistent)
 public:
  explicit TMargins(TControl* control = nullptr) : FControl(control) {}
  void Assign(TPersistent* source) override;
  TPersistent* GetOwner() const override;
  int GetLeft() const { return FLeft; }
  void SetLeft(int v) { Set(FLeft, v); }
  int GetTop() const { return FTop; }
  void SetTop(int v) { Set(FTop, v); }
  int GetRight() const { return FRight; }
  void SetRight(int v) { Set(FRight, v); }
  int GetBottom() const { return FBottom; }
  void SetBottom(int v) { Set(FBottom, v); }
  TRect Rect() const { return {FLeft, FTop, FRight, FBottom}; }

 private:
  void Set(int& field, int v);
  TControl* FControl;
  int FLeft = 3;
  int FTop = 3;
  int FRight = 3;
  int FBottom = 3;
};

// ---------------------------------------------------------------------------------------------
// TControl
class TControl : public TComponent {
  KV_CLASS(TControl, TComponent)
 public:
  explicit TControl(TComponent* AOwner);
  ~TControl() override;

  // --- Messages.
  std::function<void(TMessage&)> WindowProc;  // defaults to WndProc
  virtual void WndProc(TMessage& message);
  virtual void Dispatch(TMessage& message);
  virtual void DefaultHandler(TMessage& message);
  intptr_t Perform(uint32_t msg, intptr_t wParam = 0, intptr_t lParam = 0);

  // --- Parent and z-order.
  TWinControl* GetParent() const { return FParent; }
  virtual void SetParent(TWinControl* value);
  void BringToFront();
  void SendToBack();
  void SetZOrder(bool topMost);

  // --- Bounds.
  int GetLeft() const { return FLeft; }
  void SetLeft(int v) { SetBounds(v, FTop, FWidth, FHeight); }
  int GetTop() const { return FTop; }
  void SetTop(int v) { SetBounds(FLeft, v, FWidth, FHeight); }
  int GetWidth() const { return FWidth; }
  void SetWidth(int v) { SetBounds(FLeft, FTop, v, FHeight); }
  int GetHeight() const { return FHeight; }
  void SetHeight(int v) { SetBounds(FLeft, FTop, FWidth, v); }
  virtual void SetBounds(int left, int top, int width, int height);
  TRect BoundsRect() const { return Bounds(FLeft, FTop, FWidth, FHeight); }
  void SetBoundsRect(const TRect& r) { SetBounds(r.Left, r.Top, r.Width(), r.Height()); }
  int GetClientWidth() const { return GetClientRect().Width(); }
  void SetClientWidth(int v);
  int GetClientHeight() const { return GetClientRect().Height(); }
  void SetClientHeight(int v);
  virtual TRect GetClientRect() const { return Rect(0, 0, FWidth, FHeight); }
  // Screen position of the client area's top-left corner.
  virtual TPoint ClientOrigin() const;
  TPoint ClientToScreen(const TPoint& p) const;
  TPoint ScreenToClient(const TPoint& p) const;

  // --- Appearance.
  bool GetVisible() const { return FVisible; }
  void SetVisible(bool v);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  // Visible, or in design state without csNoDesignVisible: what decides drawing and hit tests.
  bool DesignVisible() const;
  bool GetEnabled() const { return FEnabled; }
  virtual void SetEnabled(bool v);
  TColor GetColor() const { return FColor; }
  void SetColor(TColor v);
  bool GetParentColor() const { return FParentColor; }
  void SetParentColor(bool v);
  TFont* GetFont() const { return FFont; }
  void SetFont(TFont* v) { FFont->Assign(v); }
  bool GetParentFont() const { return FParentFont; }
  void SetParentFont(bool v);
  TCaption GetText() const { return FText; }
  void SetText(const TCaption& v);
  TCaption GetCaption() const { return FText; }
  void SetCaption(const TCaption& v) { SetText(v); }
  std::string GetHint() const { return FHint; }
  void SetHint(const std::string& v) { FHint = v; }
  // A control whose caption is its name (a new one has both empty) keeps them equal, as the
  // VCL does for csSetCaption controls outside of loading.
  void SetName(const std::string& name) override;
  bool GetShowHint() const { return FShowHint; }
  void SetShowHint(bool v);
  bool GetParentShowHint() const { return FParentShowHint; }
  void SetParentShowHint(bool v);
  TCursor GetCursor() const { return FCursor; }
  void SetCursor(TCursor v);
  TAlign GetAlign() const { return FAlign; }
  void SetAlign(TAlign v);
  TAnchors GetAnchors() const { return FAnchors; }
  void SetAnchors(TAnchors v);
  TSizeConstraints* GetConstraints() const { return FConstraints; }
  void SetConstraints(TSizeConstraints* v) { FConstraints->Assign(v); }
  TMargins* GetMargins() const { return FMargins; }
  void SetMargins(TMargins* v) { FMargins->Assign(v); }
  bool GetAlignWithMargins() const { return FAlignWithMargins; }
  void SetAlignWithMargins(bool v);
  TDragMode GetDragMode() const { return FDragMode; }
  void SetDragMode(TDragMode v) { FDragMode = v; }
  TCursor GetDragCursor() const { return FDragCursor; }
  void SetDragCursor(TCursor v) { FDragCursor = v; }
  TDragKind GetDragKind() const { return FDragKind; }
  void SetDragKind(TDragKind v) { FDragKind = v; }
  TBiDiMode GetBiDiMode() const { return FBiDiMode; }
  void SetBiDiMode(TBiDiMode v) {
    FBiDiMode = v;
    FParentBiDiMode = false;
  }
  bool GetParentBiDiMode() const { return FParentBiDiMode; }
  void SetParentBiDiMode(bool v);
  bool IsBiDiModeStored() const { return !FParentBiDiMode; }
  TControlStyle ControlStyle;
  TControlState ControlState;
  bool IsColorStored() const { return !FParentColor; }
  bool IsFontStored() const { return !FParentFont; }
  bool IsShowHintStored() const { return !FParentShowHint; }
  // The menu of the control's context popup (right button release), from the menus unit.
  TPopupMenu* GetPopupMenu() const { return FPopupMenu; }
  void SetPopupMenu(TPopupMenu* v);
  void Notification(TComponent* c, TOperation op) override;

  // --- Action: the control takes the action's Caption, Enabled, Hint, Visible, HelpContext,
  // and where it publishes them Checked (or Down) and ImageIndex, and a click runs the action.
  // Implemented with the links in ActnList.cpp.
  TBasicAction* GetAction() const;
  void SetAction(TBasicAction* v);
  TControlActionLink* ActionLink() const { return FActionLink; }
  // Properties that follow the action are not written.
  bool IsCaptionStored() const;
  bool IsCheckedStored() const;
  bool IsEnabledStored() const;
  bool IsHelpContextStored() const;
  bool IsHintStored() const;
  bool IsImageIndexStored() const;
  bool IsVisibleStored() const;
  bool IsOnClickStored() const;

  // --- Painting.
  virtual void Invalidate();
  virtual void Update();
  virtual void Repaint();
  void Refresh() { Repaint(); }

  // --- Drag and drop.
  void BeginDrag(bool immediate, int threshold = -1);
  bool Dragging() const;
  void EndDrag(bool drop);
  virtual void DragDrop(TObject* source, int x, int y);

  // --- Streaming, as the VCL streams controls.
  bool HasParent() const override { return true; }
  TComponent* GetParentComponent() const override;
  void SetParentComponent(TComponent* value) override;
  void ReadState(TReader* reader) override;
  // A control's Left and Top are real properties, not DesignInfo. IsControl: the designer's
  // "edit the form as a control" flag, written only when set.
  void DefineProperties(TFiler* filer) override;
  bool IsControl = false;

  // --- Events (published by descendants under these names).
  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  TMouseEvent OnMouseDown;
  TMouseMoveEvent OnMouseMove;
  TMouseEvent OnMouseUp;
  TNotifyEvent OnResize;
  TDragOverEvent OnDragOver;
  TDragDropEvent OnDragDrop;
  TStartDragEvent OnStartDrag;
  TEndDragEvent OnEndDrag;
  TMouseWheelEvent OnMouseWheel;
  TMouseWheelUpDownEvent OnMouseWheelDown;
  TMouseWheelUpDownEvent OnMouseWheelUp;

  // The wheel: WM_MOUSEWHEEL goes through MouseWheelHandler as CM_MOUSEWHEEL (mouse position on
  // the screen), which each control from the one under the mouse up to its form is offered in
  // turn; only a wheel that none of them handled reaches the native widget.
  virtual void MouseWheelHandler(TMessage& m);

 protected:
  // OnMouseWheel, then per notch (WHEEL_DELTA) DoMouseWheelDown / DoMouseWheelUp; True: handled.
  virtual bool DoMouseWheel(TShiftState shift, int wheelDelta, TPoint mousePos);
  virtual bool DoMouseWheelDown(TShiftState shift, TPoint mousePos);
  virtual bool DoMouseWheelUp(TShiftState shift, TPoint mousePos);
  void CMMouseWheel(TMessage& m);
  virtual void Click();
  virtual void DblClick();
  virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
  virtual void MouseMove(TShiftState shift, int x, int y);
  virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
  virtual void Resize();
  virtual bool DoDragOver(TObject* source, int x, int y, TDragState state);
  virtual void DoStartDrag(TDragObject*& dragObject);
  virtual void DoEndDrag(TObject* target, int x, int y);
  // The context popup (right button release). The menus unit's PopupMenu plugs in here; answer
  // True when a menu was shown.
  virtual bool DoContextPopup(const TPoint& mousePos);
  virtual void VisibleChanging() {}
  virtual void ChangeScale(int m, int d);
  // Makes the control's new appearance reach the screen (its widget or its parent's).
  virtual void InvalidateControl();
  // Called when bounds changed, before WM_SIZE/WM_MOVE are sent.
  virtual void BoundsChanged();
  void RequestAlign();
  void SendCancelMode();
  void Changed();
  void CheckDesignVisible();

  TWinControl* FParent = nullptr;
  int FLeft = 0;
  int FTop = 0;
  int FWidth = 0;
  int FHeight = 0;
  TCaption FText;

 private:
  void MouseMessage(TMessage& m, TMouseButton button, bool down, bool dbl);
  void DoCMDrag(TMessage& m);
  void CMParentColorChanged(TMessage& m);
  void CMParentFontChanged(TMessage& m);
  void CMParentShowHintChanged(TMessage& m);
  void FontChanged(TObject* sender);
  // True when the click went to the action (no click handler of the control's own).
  bool ExecuteActionClick();
  void ActionNotification(TComponent* c);
  friend class TWinControl;
  friend class TDragControlObject;
  friend class TMargins;
  TAlign FAlign = alNone;
  TAnchors FAnchors{akLeft, akTop};
  bool FVisible = true;
  bool FEnabled = true;
  TColor FColor = clWindow;
  bool FParentColor = true;
  TFont* FFont;
  TSizeConstraints* FConstraints;
  TMargins* FMargins;
  bool FAlignWithMargins = false;
  bool FParentFont = true;
  std::string FHint;
  bool FShowHint = false;
  bool FParentShowHint = true;
  TCursor FCursor = crDefault;
  TDragMode FDragMode = dmManual;
  TCursor FDragCursor = crDrag;
  int FWheelAccumulator = 0;
  TDragKind FDragKind = dkDrag;
  TBiDiMode FBiDiMode = bdLeftToRight;
  bool FParentBiDiMode = true;
  TPopupMenu* FPopupMenu = nullptr;
  TControlActionLink* FActionLink = nullptr;
};

// ---------------------------------------------------------------------------------------------
// Window creation parameters. An empty WinClassName gives the library's own painted window;
// "BUTTON", "EDIT", "COMBOBOX", "LISTBOX" and "STATIC" give the toolkit's native widgets.
struct TCreateParams {
  std::string Caption;
  std::string WinClassName;
  TRect Bounds;
  TWinControl* WndParent = nullptr;
  bool TopLevel = false;
  bool StayOnTop = false;
  bool ToolWindow = false;
  // The window keeps a non-client area (TNonClientArea) around a client area of its own, where
  // its children, painting and mouse coordinates live.
  bool NonClient = false;
};

// What lies around a window's client area, as Windows lays it out: a border all round, a menu
// bar at the top, then the vertical scroll bar along the right edge and the horizontal one
// along the bottom (their thickness; 0 when hidden), and inside them the window's BorderWidth
// band (Padding) in its colour.
struct TNonClientArea {
  int Border = 0;
  int MenuBar = 0;
  int VertScrollBar = 0;
  int HorzScrollBar = 0;
  int Padding = 0;
  TColor PaddingColor = clBtnFace;
  // Inside the border and menu bar, beside the scroll bars: where the padding and the client are.
  TRect ScrollArea(int width, int height) const {
    int left = Border, top = Border + MenuBar;
    return Rect(left, top, std::max(left, width - Border - VertScrollBar),
                std::max(top, height - Border - HorzScrollBar));
  }
  // The client area of a window of this size, in window coordinates.
  TRect ClientRect(int width, int height) const {
    TRect r = ScrollArea(width, height);
    int left = std::min(r.Left + Padding, r.Right), top = std::min(r.Top + Padding, r.Bottom);
    return Rect(left, top, std::max(left, r.Right - Padding), std::max(top, r.Bottom - Padding));
  }
  friend bool operator==(const TNonClientArea&, const TNonClientArea&) = default;
};

// Native notifications reach the control itself as WM_COMMAND with this code in the high word.
constexpr uint16_t BN_CLICKED = 0;
constexpr uint16_t EN_CHANGE = 0x0300;
constexpr uint16_t CBN_SELCHANGE = 1;

class TWinControl : public TControl {
  KV_CLASS(TWinControl, TControl)
 public:
  explicit TWinControl(TComponent* AOwner);
  ~TWinControl() override;

  void WndProc(TMessage& message) override;
  void Dispatch(TMessage& message) override;
  void DefaultHandler(TMessage& message) override;

  // --- Child controls: windowless ones first, then windowed ones, each list in z-order (the
  // windowed ones always paint above the others).
  int ControlCount() const { return static_cast<int>(FControls.size() + FWinControls.size()); }
  TControl* Controls(int i) const;
  void InsertControl(TControl* c);
  void RemoveControl(TControl* c);
  bool ContainsControl(const TControl* c) const;
  // The topmost windowless child that shows at p (client), skipping disabled ones unless allowed.
  TControl* ControlAtPos(const TPoint& p, bool allowDisabled) const;
  void GetChildren(const TGetChildProc& proc, TComponent* root) override;
  void SetChildOrder(TComponent* child, int order) override;
  void Loaded() override;
  // Alignment waits while the reader finishes loading the children.
  void BeginLoadedCalls() override;
  void EndLoadedCalls() override;

  // --- Alignment.
  void DisableAlign();
  void EnableAlign();
  void Realign();
  virtual void AlignControls(TControl* aControl, TRect& rect);
  // Moves every child by (dx, dy), as scrolling the window's content does.
  void ScrollBy(int dx, int dy);

  // --- Window handle.
  TWindowHandle* Handle();  // created on demand
  bool HandleAllocated() const { return FHandle != nullptr; }
  void HandleNeeded() { Handle(); }
  // Whether the control and all its parents are showing (Visible or designing).
  bool Showing() const { return FShowing; }
  void UpdateShowing();

  // --- Focus and tab order.
  bool CanFocus() const;
  bool Focused() const;
  virtual void SetFocus();
  TTabOrder GetTabOrder() const;
  // While the control is being read, the order is only noted: the parent sorts its tab list
  // once all its children are there (a stream lists them in creation order, not tab order).
  void SetTabOrder(TTabOrder v);
  void ReadState(TReader* reader) override;
  bool GetTabStop() const { return FTabStop; }
  void SetTabStop(bool v);
  void GetTabOrderList(std::vector<TWinControl*>& list);
  TWinControl* FindNextControl(TWinControl* cur, bool goForward, bool checkTabStop, bool checkParent);
  void SelectNext(TWinControl* cur, bool goForward, bool checkTabStop);
  THelpContext GetHelpContext() const { return FHelpContext; }
  void SetHelpContext(THelpContext v) { FHelpContext = v; }
  // Controls that draw their own frames (grids) draw a flat one without it.
  bool GetCtl3D() const { return FCtl3D; }
  void SetCtl3D(bool v);
  // A band of this width inside the window's edge and scroll bars, in the window's colour.
  TBorderWidth GetBorderWidth() const { return FBorderWidth; }
  void SetBorderWidth(TBorderWidth v);
  bool GetParentCtl3D() const { return FParentCtl3D; }
  void SetParentCtl3D(bool v);
  bool IsCtl3DStored() const { return !FParentCtl3D; }
  TImeMode GetImeMode() const { return FImeMode; }
  void SetImeMode(TImeMode v) { FImeMode = v; }
  std::string GetImeName() const { return FImeName; }
  void SetImeName(const std::string& v) { FImeName = v; }

  void Invalidate() override;
  void Update() override;
  void Repaint() override;
  // The platform moved or sized the window (a top-level one, by the user).
  void UpdateBoundsFromWindow(const TRect& r);
  // Whether the bounds being set now come from the window (its platform or its user).
  bool BoundsFromWindow() const { return FFromWindow; }
  // Re-applies what design state decides: shown-while-invisible, no focus, no native input.
  void UpdateDesignState();

  // Paints the windowless children over dc, bottom to top, each clipped to its bounds.
  void PaintControls(TPaintDC* dc, TControl* first);

  TNotifyEvent OnEnter;
  TNotifyEvent OnExit;
  TKeyEvent OnKeyDown;
  TKeyPressEvent OnKeyPress;
  TKeyEvent OnKeyUp;

  // Whether the control is a stop of its parent's tab order (TabOrder numbers count stops).
  virtual bool TakesTabOrder() const { return true; }

 protected:
  // After BorderWidth changed: the client area moved.
  virtual void BorderWidthChanged();
  virtual void CreateParams(TCreateParams& params);
  virtual void CreateWnd();
  // The canvas the control paints on, which outside painting draws on its window's overlay.
  virtual TCanvas* GetControlCanvas() const { return nullptr; }
  virtual void DestroyWnd();
  void CreateHandle();
  void DestroyHandle();
  // WM_PAINT: erase (WM_ERASEBKGND), PaintWindow, then the windowless children.
  void PaintHandler(TPaintDC* dc);
  virtual void PaintWindow(TPaintDC* dc);
  // A key the focused control does not want (WM_GETDLGCODE) goes to its form as CM_DIALOGKEY
  // (Enter, Escape) or CM_DIALOGCHAR (characters, Alt+character); answers whether one took it.
  bool DialogKey(const TMessage& m, TShiftState shift);
  // Answers whether the control processed the key itself.
  virtual bool DoKeyDown(uint16_t& key, TShiftState shift);
  virtual bool DoKeyPress(char& key);
  virtual bool DoKeyUp(uint16_t& key, TShiftState shift);
  virtual void KeyDown(uint16_t& key, TShiftState shift);
  virtual void KeyPress(char& key);
  virtual void KeyUp(uint16_t& key, TShiftState shift);
  virtual void DoEnter();
  virtual void DoExit();
  void InvalidateControl() override;
  void BoundsChanged() override;
  void AlignControl(TControl* aControl);
  // Windowless children get the mouse messages over them (or the captured one gets all).
  bool IsControlMouseMsg(TMessage& m);

  TWindowHandle* FHandle = nullptr;

 private:
  friend class TControl;
  void WMPaint(TMessage& m);
  void WMEraseBkgnd(TMessage& m);
  void WMKey(TMessage& m);
  void NotifyControls(uint32_t msg);
  std::vector<TControl*> FControls;
  std::vector<TWinControl*> FWinControls;
  std::vector<TWinControl*> FTabList;
  int FAlignLevel = 0;
  bool FInLoadedCalls = false;  // between a reader's BeginLoadedCalls and EndLoadedCalls
  bool FFromWindow = false;
  bool FTabStop = false;
  bool FShowing = false;
  THelpContext FHelpContext = 0;
  TSize FOldClientSize;
  bool FCtl3D = true;
  TBorderWidth FBorderWidth = 0;
  TTabOrder FReadTabOrder = -1;
  bool FParentCtl3D = true;
  TImeMode FImeMode = imDontCare;
  std::string FImeName;
};

// ---------------------------------------------------------------------------------------------
// A canvas that paints on a control during its paint handling.
class TControlCanvas : public TCanvas {
  KV_CLASS(TControlCanvas, TCanvas)
 public:
  TControl* Control = nullptr;
};

// A windowless control, painted by its parent and fed the parent's mouse messages over it.
class TGraphicControl : public TControl {
  KV_CLASS(TGraphicControl, TControl)
 public:
  explicit TGraphicControl(TComponent* AOwner);
  ~TGraphicControl() override;
  TCanvas* Canvas() const { return FCanvas; }
  void Dispatch(TMessage& message) override;

 protected:
  virtual void Paint() {}

 private:
  TControlCanvas* FCanvas;
};

// A windowed control that paints itself on its Canvas.
class TCustomControl : public TWinControl {
  KV_CLASS(TCustomControl, TWinControl)
 public:
  explicit TCustomControl(TComponent* AOwner);
  ~TCustomControl() override;
  TCanvas* Canvas() const { return FCanvas; }

 protected:
  virtual void Paint() {}
  void PaintWindow(TPaintDC* dc) override;
  TCanvas* GetControlCanvas() const override { return FCanvas; }

 private:
  TControlCanvas* FCanvas;
};

// ---------------------------------------------------------------------------------------------
// Drag and drop (the VCL's own, within the application).
class TDragObject : public TObject {
  KV_CLASS(TDragObject, TObject)
 public:
  TControl* DragTarget = nullptr;
  TPoint DragPos;        // screen
  TPoint DragTargetPos;  // target client
  bool Cancelling = false;
  virtual TCursor GetDragCursor(bool accepted, int x, int y);
  virtual void Finished(TObject* target, int x, int y, bool accepted) {
    (void)target, (void)x, (void)y, (void)accepted;
  }
  virtual void EndDrag(TObject* target, int x, int y) { (void)target, (void)x, (void)y; }
};

class TDragControlObject : public TDragObject {
  KV_CLASS(TDragControlObject, TDragObject)
 public:
  explicit TDragControlObject(TControl* control) : Control(control) {}
  TControl* Control;
  TCursor GetDragCursor(bool accepted, int x, int y) override;
  void EndDrag(TObject* target, int x, int y) override;
};

// Starts a drag of any drag object (a host's own, say); the mouse moves and the release that
// follow, or DragTo / DragDone, drive it. The library does not own the object.
void BeginDragObject(TDragObject* dragObject, TControl* source = nullptr);
TDragObject* DragObject();  // the drag in progress, or nullptr
// Moves the drag to a screen point: CM_DRAG find-target, leave / enter, move.
void DragTo(const TPoint& screenPos);
// Ends the drag with a drop on the current target (drop) or a cancel.
void DragDone(bool drop);
// The windowed control under a screen point (topmost form first), or nullptr.
TWinControl* FindVCLWindow(const TPoint& screenPos);
// A hint's short part: the text before the first '|'.
std::string GetShortHint(const std::string& hint);
// The hint to show over client point p of window: that of the control there, windowless ones
// included, when it shows hints; empty while designing.
std::string HintAt(TWinControl* window, const TPoint& p);
// The control, windowed or not, under a screen point.
TControl* FindDragTarget(const TPoint& screenPos, bool allowDisabled);

// ---------------------------------------------------------------------------------------------
// Mouse capture by control: all mouse messages go to it, in its client coordinates, until it is
// released (at the last button release, or by ReleaseCapture).
void SetCaptureControl(TControl* control);
TControl* GetCaptureControl();

// The control's form (the top-level TCustomForm among its parents), or nullptr.
TCustomForm* GetParentForm(const TControl* control);
// Where the form's designer, if any, gets to see a message first.
bool DesignerHooked(TControl* control, TMessage& message);

// The control's client area as now painted, with its children, into a bitmap: pixel (x, y) is
// client point (x, y), as for DrawXorFrame and mouse messages. withNonClient: the whole window,
// with its menu bar, scroll bars and border (a screenshot).
void GrabWindow(TWinControl* control, TBitmap* bitmap, bool withNonClient = false);
// Feeds the control's window a toolkit input event as the platform's input would (Windows'
// SendInput): a mouse message goes to the innermost widget under the client point, a key
// message (WM_KEYDOWN / WM_KEYUP with a virtual key) to the focused one. keys: MK_ flags.
void SendInput(TWinControl* control, uint32_t msg, const TPoint& client, intptr_t keys = 0, uint16_t vk = 0);
// For controls that draw their own border of this width and work inside it: a mouse message's
// position (window coordinates) moved into those client coordinates. The wheel's is left alone.
void ShiftMouseInsideBorder(TMessage& m, int border);

// An inverting frame over a windowed control's client area, above all its children: drawing
// the same rectangle again removes it.
void DrawXorFrame(TWinControl* control, const TRect& r);

// Publishing helpers: a descendant redeclares inherited properties published by name, with the
// VCL's types, defaults and stored specifiers. Unknown names raise EPropertyError.
[[noreturn]] void RaiseUnknownControlProperty(std::string_view name);
// PopupMenu, typed TPopupMenu, published without this header knowing the menus unit.
void PublishPopupMenuProperty(TClassBuilderBase& b);
// Action, typed TBasicAction (ActnList.cpp).
void PublishActionProperty(TClassBuilderBase& b);
template <class C>
void PublishControlProperty(TClassBuilder<C>& b, std::string_view n) {
  if (n == "Align") b.Prop("Align", &TControl::GetAlign, &TControl::SetAlign).Default(alNone);
  else if (n == "Anchors")
    b.Prop("Anchors", &TControl::GetAnchors, &TControl::SetAnchors).Default(TAnchors{akLeft, akTop});
  else if (n == "Constraints") b.Prop("Constraints", &TControl::GetConstraints, &TControl::SetConstraints);
  else if (n == "Caption")
    b.Prop("Caption", &TControl::GetCaption, &TControl::SetCaption)
        .Type(TypeInfoTCaption())
        .StoredMethod(&TControl::IsCaptionStored);
  else if (n == "Text") b.Prop("Text", &TControl::GetText, &TControl::SetText).Type(TypeInfoTCaption());
  else if (n == "Color")
    b.Prop("Color", &TControl::GetColor, &TControl::SetColor)
        .Type(TypeInfoTColor())
        .Default(clWindow)
        .StoredMethod(&TControl::IsColorStored);
  else if (n == "Font") b.Prop("Font", &TControl::GetFont, &TControl::SetFont).StoredMethod(&TControl::IsFontStored);
  else if (n == "ParentColor")
    b.Prop("ParentColor", &TControl::GetParentColor, &TControl::SetParentColor).Default(true);
  else if (n == "ParentFont") b.Prop("ParentFont", &TControl::GetParentFont, &TControl::SetParentFont).Default(true);
  else if (n == "ParentShowHint")
    b.Prop("ParentShowHint", &TControl::GetParentShowHint, &TControl::SetParentShowHint).Default(true);
  else if (n == "ShowHint")
    b.Prop("ShowHint", &TControl::GetShowHint, &TControl::SetShowHint).StoredMethod(&TControl::IsShowHintStored);
  else if (n == "Visible")
    b.Prop("Visible", &TControl::GetVisible, &TControl::SetVisible)
        .Default(true)
        .StoredMethod(&TControl::IsVisibleStored);
  else if (n == "Enabled")
    b.Prop("Enabled", &TControl::GetEnabled, &TControl::SetEnabled)
        .Default(true)
        .StoredMethod(&TControl::IsEnabledStored);
  else if (n == "DragMode") b.Prop("DragMode", &TControl::GetDragMode, &TControl::SetDragMode).Default(dmManual);
  else if (n == "DragKind") b.Prop("DragKind", &TControl::GetDragKind, &TControl::SetDragKind).Default(dkDrag);
  else if (n == "BiDiMode")
    b.Prop("BiDiMode", &TControl::GetBiDiMode, &TControl::SetBiDiMode).StoredMethod(&TControl::IsBiDiModeStored);
  else if (n == "ParentBiDiMode")
    b.Prop("ParentBiDiMode", &TControl::GetParentBiDiMode, &TControl::SetParentBiDiMode).Default(true);
  else if (n == "DragCursor")
    b.Prop("DragCursor", &TControl::GetDragCursor, &TControl::SetDragCursor).Type(TypeInfoTCursor()).Default(crDrag);
  else if (n == "OnClick") b.Prop("OnClick", &TControl::OnClick).StoredMethod(&TControl::IsOnClickStored);
  else if (n == "Action") PublishActionProperty(b);
  else if (n == "OnDblClick") b.Prop("OnDblClick", &TControl::OnDblClick);
  else if (n == "OnMouseDown") b.Prop("OnMouseDown", &TControl::OnMouseDown);
  else if (n == "OnMouseMove") b.Prop("OnMouseMove", &TControl::OnMouseMove);
  else if (n == "OnMouseUp") b.Prop("OnMouseUp", &TControl::OnMouseUp);
  else if (n == "OnResize") b.Prop("OnResize", &TControl::OnResize);
  else if (n == "OnDragDrop") b.Prop("OnDragDrop", &TControl::OnDragDrop);
  else if (n == "OnDragOver") b.Prop("OnDragOver", &TControl::OnDragOver);
  else if (n == "OnStartDrag") b.Prop("OnStartDrag", &TControl::OnStartDrag);
  else if (n == "OnEndDrag") b.Prop("OnEndDrag", &TControl::OnEndDrag);
  else if (n == "OnMouseWheel") b.Prop("OnMouseWheel", &TControl::OnMouseWheel);
  else if (n == "OnMouseWheelDown") b.Prop("OnMouseWheelDown", &TControl::OnMouseWheelDown);
  else if (n == "OnMouseWheelUp") b.Prop("OnMouseWheelUp", &TControl::OnMouseWheelUp);
  else if (n == "PopupMenu") PublishPopupMenuProperty(b);
  else if constexpr (std::is_base_of_v<TWinControl, C>) {
    if (n == "TabOrder")
      b.Prop("TabOrder", &TWinControl::GetTabOrder, &TWinControl::SetTabOrder).Type(TypeInfoTTabOrder()).Default(-1);
    else if (n == "TabStop") b.Prop("TabStop", &TWinControl::GetTabStop, &TWinControl::SetTabStop).Default(false);
    else if (n == "BorderWidth")
      b.Prop("BorderWidth", &TWinControl::GetBorderWidth, &TWinControl::SetBorderWidth)
          .Type(TypeInfoTBorderWidth())
          .Default(0);
    else if (n == "Ctl3D")
      b.Prop("Ctl3D", &TWinControl::GetCtl3D, &TWinControl::SetCtl3D).StoredMethod(&TWinControl::IsCtl3DStored);
    else if (n == "ParentCtl3D")
      b.Prop("ParentCtl3D", &TWinControl::GetParentCtl3D, &TWinControl::SetParentCtl3D).Default(true);
    else if (n == "ImeMode") b.Prop("ImeMode", &TWinControl::GetImeMode, &TWinControl::SetImeMode).Default(imDontCare);
    else if (n == "ImeName") b.Prop("ImeName", &TWinControl::GetImeName, &TWinControl::SetImeName);
    else if (n == "OnEnter") b.Prop("OnEnter", &TWinControl::OnEnter);
    else if (n == "OnExit") b.Prop("OnExit", &TWinControl::OnExit);
    else if (n == "OnKeyDown") b.Prop("OnKeyDown", &TWinControl::OnKeyDown);
    else if (n == "OnKeyPress") b.Prop("OnKeyPress", &TWinControl::OnKeyPress);
    else if (n == "OnKeyUp") b.Prop("OnKeyUp", &TWinControl::OnKeyUp);
    else RaiseUnknownControlProperty(n);
  } else {
    RaiseUnknownControlProperty(n);
  }
}
template <class C>
void PublishControlProperties(TClassBuilder<C>& b, std::initializer_list<std::string_view> names) {
  for (std::string_view n : names) PublishControlProperty(b, n);
}
// TabStop with its class's default: on for the controls that take input.
template <class C>
void PublishTabStop(TClassBuilder<C>& b, bool def) {
  b.Prop("TabStop", &TWinControl::GetTabStop, &TWinControl::SetTabStop).Default(def);
}
// Native controls default to the window colour and do not take their parent's.
template <class C>
void PublishWindowColor(TClassBuilder<C>& b) {
  b.Prop("Color", &TControl::GetColor, &TControl::SetColor)
      .Type(TypeInfoTColor())
      .Default(clWindow)
      .StoredMethod(&TControl::IsColorStored);
  b.Prop("ParentColor", &TControl::GetParentColor, &TControl::SetParentColor).Default(false);
}
