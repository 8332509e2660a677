// The widget backend as the controls see it, free of Qt types: window handles (a QWidget
// each, with the event filter that turns its Qt events into messages), paint contexts, the
// event loop, the cursor and the screen. Implemented in QtWidgets.cpp.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "../Types.h"

class TControl;
class TWinControl;
struct TMessage;
class TCanvas;
class TBitmap;
class TFont;
struct TCreateParams;
struct TNonClientArea;
class TWindowHandle;  // the widget of a windowed control
struct TPaintDC;      // the painter of one paint event, passed in WM_PAINT / WM_ERASEBKGND

namespace qtw {

// --- Window handles.
TWindowHandle* CreateHandle(TWinControl* control, const TCreateParams& params);
void DestroyHandle(TWindowHandle* h);
void SetParent(TWindowHandle* h, TWindowHandle* parent);
// Child windows: bounds in the parent's client area; top-level windows: screen position.
void SetBounds(TWindowHandle* h, const TRect& r);
TRect GetBounds(TWindowHandle* h);
void SetVisible(TWindowHandle* h, bool visible);
void SetEnabled(TWindowHandle* h, bool enabled);
void SetText(TWindowHandle* h, const std::string& text);
void SetFont(TWindowHandle* h, const TFont& font);
// Focus while not designing; designing takes a window out of the focus chain.
void SetFocusable(TWindowHandle* h, bool focusable);
void SetFocus(TWindowHandle* h);
bool Focused(TWindowHandle* h);
void Raise(TWindowHandle* h);            // to the top of its siblings
void Stack(TWindowHandle* h, bool top);  // a window to the top or the bottom of the screen's
void Invalidate(TWindowHandle* h, const TRect* r);
void UpdateNow(TWindowHandle* h);  // paints what is invalid, now
void SetCursorShape(TWindowHandle* h, int cursor);
void SetTopLevelStyle(TWindowHandle* h, const TCreateParams& params);
void SetWindowState(TWindowHandle* h, int state);  // TWindowState
void Activate(TWindowHandle* h);
bool IsActiveWindow(TWindowHandle* h);
// The pixels of the window's client area (or of the whole window) as now painted, into a bitmap.
void Grab(TWindowHandle* h, TBitmap* bitmap, bool withNonClient);
// Windows made with TCreateParams::NonClient: the parts around the client area, laid out
// again at once and whenever the window is sized.
void SetNonClientArea(TWindowHandle* h, const TNonClientArea& area);
// The state of such a window's scroll bar (shown while the non-client area gives it room):
// positions 0..max, a page of `page`, line steps of `step`; tracking: moves while dragging.
// Moving it sends WM_VSCROLL / WM_HSCROLL, as the grid's scroll bars do (see qtc::SetScrollBar).
void SetScrollInfo(TWindowHandle* h, bool vertical, int max, int page, int pos, int step, bool tracking);
void ToggleXorFrame(TWindowHandle* h, const TRect& r);
// Outside paint handling, the control's canvas draws on the window's inverting overlay (the
// canvas's OnChange then belongs to the window).
void AttachCanvas(TWindowHandle* h, TCanvas* canvas);
// Delivers a toolkit input event to the window as the platform would: to the innermost widget
// under the point (mouse) or the focused one (keys). For WM_MOUSEMOVE, WM_xBUTTONDOWN / UP /
// DBLCLK, WM_KEYDOWN / WM_KEYUP; keys in MK_ flags; key codes virtual keys.
void SendInput(TWindowHandle* h, uint32_t msg, const TPoint& client, intptr_t keys, uint16_t vk = 0);

// --- Painting.
void PushClip(TPaintDC* dc, const TPoint& offset, const TRect& clip);  // translate, then clip
void PopClip(TPaintDC* dc);
void FillRect(TPaintDC* dc, const TRect& r, int color);
TRect ClipBox(TPaintDC* dc);
// Lends the paint context's painter to a canvas for the scope's life.
class TCanvasScope {
 public:
  TCanvasScope(TCanvas* canvas, TPaintDC* dc);
  ~TCanvasScope();
  TCanvasScope(const TCanvasScope&) = delete;
  TCanvasScope& operator=(const TCanvasScope&) = delete;

 private:
  struct Impl;
  std::unique_ptr<Impl> FImpl;
};

// --- The event loop.
void EnsureApplication();
// Called when Qt's quit begins (before it asks the windows to close).
void SetQuitHook(std::function<void()> hook);
void ProcessEvents(bool waitForMore);
void Post(std::function<void()> call);  // runs after the events already queued
int MessageBox(const std::string& text, const std::string& caption, int flags);

// --- Cursor, keyboard and screen.
TPoint CursorPos();
void SetCursorPos(const TPoint& p);
void SetOverrideCursor(int cursor, bool on);
bool KeyDown(int virtKey);
TRect ScreenRect();
TRect WorkArea();
int DoubleClickTime();

}  // namespace qtw

// --- Shared between the controls and the backend.
// Called by TControl's constructor and destructor: posted messages check liveness through it.
void RegisterLiveControl(TControl* control, bool alive);
// The backend reports where each toolkit mouse event happened (the platform cursor position).
void NoteCursorPos(const TPoint& p);
// Called by TWinControl::DefaultHandler: when m is the message made from the toolkit event now
// being filtered, the native widget gets that event.
void PassToNative(TWinControl* control, const TMessage& m);
// Delivers a mouse message made from a toolkit event of receiver's widget: to the control that
// has the capture when there is one (in its client coordinates), else to receiver.
void RouteMouseMessage(TWinControl* receiver, TMessage& m);
