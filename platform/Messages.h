// Messages: window messages with the Windows and VCL numbers, and typed views of their
// parameters. A control's window procedure and its handlers all speak TMessage.
#pragma once

#include <cstdint>

#include "Types.h"

struct TMessage {
  uint32_t Msg = 0;
  intptr_t WParam = 0;
  intptr_t LParam = 0;
  intptr_t Result = 0;
};

// --- Windows messages.
constexpr uint32_t WM_NULL = 0x0000;
constexpr uint32_t WM_CREATE = 0x0001;
constexpr uint32_t WM_DESTROY = 0x0002;
constexpr uint32_t WM_MOVE = 0x0003;
constexpr uint32_t WM_SIZE = 0x0005;
constexpr uint32_t WM_ACTIVATE = 0x0006;
constexpr uint32_t WM_SETFOCUS = 0x0007;
constexpr uint32_t WM_KILLFOCUS = 0x0008;
constexpr uint32_t WM_ENABLE = 0x000A;
constexpr uint32_t WM_SETTEXT = 0x000C;
constexpr uint32_t WM_GETTEXT = 0x000D;
constexpr uint32_t WM_PAINT = 0x000F;
constexpr uint32_t WM_CLOSE = 0x0010;
constexpr uint32_t WM_QUIT = 0x0012;
constexpr uint32_t WM_ERASEBKGND = 0x0014;
constexpr uint32_t WM_SHOWWINDOW = 0x0018;
constexpr uint32_t WM_ACTIVATEAPP = 0x001C;
constexpr uint32_t WM_CANCELMODE = 0x001F;
constexpr uint32_t WM_SETCURSOR = 0x0020;
constexpr uint32_t WM_MOUSEACTIVATE = 0x0021;
constexpr uint32_t WM_GETMINMAXINFO = 0x0024;
constexpr uint32_t WM_WINDOWPOSCHANGING = 0x0046;
constexpr uint32_t WM_WINDOWPOSCHANGED = 0x0047;
constexpr uint32_t WM_CONTEXTMENU = 0x007B;
constexpr uint32_t WM_NCHITTEST = 0x0084;
constexpr uint32_t WM_NCPAINT = 0x0085;
constexpr uint32_t WM_GETDLGCODE = 0x0087;
constexpr uint32_t WM_NCMOUSEMOVE = 0x00A0;
constexpr uint32_t WM_NCLBUTTONDOWN = 0x00A1;
constexpr uint32_t WM_NCLBUTTONUP = 0x00A2;
constexpr uint32_t WM_NCLBUTTONDBLCLK = 0x00A3;
constexpr uint32_t WM_KEYFIRST = 0x0100;
constexpr uint32_t WM_KEYDOWN = 0x0100;
constexpr uint32_t WM_KEYUP = 0x0101;
constexpr uint32_t WM_CHAR = 0x0102;
constexpr uint32_t WM_SYSKEYDOWN = 0x0104;
constexpr uint32_t WM_SYSKEYUP = 0x0105;
constexpr uint32_t WM_SYSCHAR = 0x0106;
constexpr uint32_t WM_KEYLAST = 0x0108;
constexpr uint32_t WM_COMMAND = 0x0111;
constexpr uint32_t WM_SYSCOMMAND = 0x0112;
constexpr uint32_t WM_TIMER = 0x0113;
constexpr uint32_t WM_HSCROLL = 0x0114;
constexpr uint32_t WM_VSCROLL = 0x0115;
constexpr uint32_t WM_INITMENUPOPUP = 0x0117;
constexpr uint32_t WM_MENUSELECT = 0x011F;
constexpr uint32_t WM_MOUSEFIRST = 0x0200;
constexpr uint32_t WM_MOUSEMOVE = 0x0200;
constexpr uint32_t WM_LBUTTONDOWN = 0x0201;
constexpr uint32_t WM_LBUTTONUP = 0x0202;
constexpr uint32_t WM_LBUTTONDBLCLK = 0x0203;
constexpr uint32_t WM_RBUTTONDOWN = 0x0204;
constexpr uint32_t WM_RBUTTONUP = 0x0205;
constexpr uint32_t WM_RBUTTONDBLCLK = 0x0206;
constexpr uint32_t WM_MBUTTONDOWN = 0x0207;
constexpr uint32_t WM_MBUTTONUP = 0x0208;
constexpr uint32_t WM_MBUTTONDBLCLK = 0x0209;
constexpr uint32_t WM_MOUSEWHEEL = 0x020A;
constexpr uint32_t WM_MOUSELAST = 0x020A;
constexpr uint32_t WM_PARENTNOTIFY = 0x0210;
constexpr uint32_t WM_SIZING = 0x0214;
constexpr uint32_t WM_CAPTURECHANGED = 0x0215;
constexpr uint32_t WM_MOVING = 0x0216;
constexpr uint32_t WM_DROPFILES = 0x0233;
constexpr uint32_t WM_USER = 0x0400;

// --- VCL control messages, in the VCL's order.
constexpr uint32_t CM_BASE = 0xB000;
constexpr uint32_t CM_ACTIVATE = CM_BASE + 0;
constexpr uint32_t CM_DEACTIVATE = CM_BASE + 1;
constexpr uint32_t CM_GOTFOCUS = CM_BASE + 2;
constexpr uint32_t CM_LOSTFOCUS = CM_BASE + 3;
constexpr uint32_t CM_CANCELMODE = CM_BASE + 4;
constexpr uint32_t CM_DIALOGKEY = CM_BASE + 5;
constexpr uint32_t CM_DIALOGCHAR = CM_BASE + 6;
constexpr uint32_t CM_FOCUSCHANGED = CM_BASE + 7;
constexpr uint32_t CM_PARENTFONTCHANGED = CM_BASE + 8;
constexpr uint32_t CM_PARENTCOLORCHANGED = CM_BASE + 9;
constexpr uint32_t CM_HITTEST = CM_BASE + 10;
constexpr uint32_t CM_VISIBLECHANGED = CM_BASE + 11;
constexpr uint32_t CM_ENABLEDCHANGED = CM_BASE + 12;
constexpr uint32_t CM_COLORCHANGED = CM_BASE + 13;
constexpr uint32_t CM_FONTCHANGED = CM_BASE + 14;
constexpr uint32_t CM_CURSORCHANGED = CM_BASE + 15;
constexpr uint32_t CM_CTL3DCHANGED = CM_BASE + 16;
constexpr uint32_t CM_PARENTCTL3DCHANGED = CM_BASE + 17;
constexpr uint32_t CM_TEXTCHANGED = CM_BASE + 18;
constexpr uint32_t CM_MOUSEENTER = CM_BASE + 19;
constexpr uint32_t CM_MOUSELEAVE = CM_BASE + 20;
constexpr uint32_t CM_MENUCHANGED = CM_BASE + 21;
constexpr uint32_t CM_APPKEYDOWN = CM_BASE + 22;
constexpr uint32_t CM_APPSYSCOMMAND = CM_BASE + 23;
constexpr uint32_t CM_BUTTONPRESSED = CM_BASE + 24;
constexpr uint32_t CM_SHOWINGCHANGED = CM_BASE + 25;
constexpr uint32_t CM_ENTER = CM_BASE + 26;
constexpr uint32_t CM_EXIT = CM_BASE + 27;
constexpr uint32_t CM_DESIGNHITTEST = CM_BASE + 28;
constexpr uint32_t CM_ICONCHANGED = CM_BASE + 29;
constexpr uint32_t CM_WANTSPECIALKEY = CM_BASE + 30;
constexpr uint32_t CM_INVOKEHELP = CM_BASE + 31;
constexpr uint32_t CM_WINDOWHOOK = CM_BASE + 32;
constexpr uint32_t CM_RELEASE = CM_BASE + 33;
constexpr uint32_t CM_SHOWHINTCHANGED = CM_BASE + 34;
constexpr uint32_t CM_PARENTSHOWHINTCHANGED = CM_BASE + 35;
constexpr uint32_t CM_SYSCOLORCHANGE = CM_BASE + 36;
constexpr uint32_t CM_WININICHANGE = CM_BASE + 37;
constexpr uint32_t CM_FONTCHANGE = CM_BASE + 38;
constexpr uint32_t CM_TIMECHANGE = CM_BASE + 39;
constexpr uint32_t CM_TABSTOPCHANGED = CM_BASE + 40;
constexpr uint32_t CM_UIACTIVATE = CM_BASE + 41;
constexpr uint32_t CM_UIDEACTIVATE = CM_BASE + 42;
constexpr uint32_t CM_DOCWINDOWACTIVATE = CM_BASE + 43;
constexpr uint32_t CM_CONTROLLISTCHANGE = CM_BASE + 44;
constexpr uint32_t CM_GETDATALINK = CM_BASE + 45;
constexpr uint32_t CM_CHILDKEY = CM_BASE + 46;
constexpr uint32_t CM_DRAG = CM_BASE + 47;
constexpr uint32_t CM_HINTSHOW = CM_BASE + 48;
constexpr uint32_t CM_DIALOGHANDLE = CM_BASE + 49;
constexpr uint32_t CM_ISTOOLCONTROL = CM_BASE + 50;
constexpr uint32_t CM_RECREATEWND = CM_BASE + 51;
constexpr uint32_t CM_INVALIDATE = CM_BASE + 52;
constexpr uint32_t CM_SYSFONTCHANGED = CM_BASE + 53;
constexpr uint32_t CM_CONTROLCHANGE = CM_BASE + 54;
constexpr uint32_t CM_CHANGED = CM_BASE + 55;
constexpr uint32_t CM_MOUSEWHEEL = CM_BASE + 67;  // WM_MOUSEWHEEL's parameters, position on the screen

// --- Parameter values.
constexpr intptr_t MK_LBUTTON = 0x0001;
constexpr intptr_t MK_RBUTTON = 0x0002;
constexpr intptr_t MK_SHIFT = 0x0004;
constexpr intptr_t MK_CONTROL = 0x0008;
constexpr intptr_t MK_MBUTTON = 0x0010;
constexpr int WHEEL_DELTA = 120;  // one notch of the wheel

constexpr intptr_t WA_INACTIVE = 0;
constexpr intptr_t WA_ACTIVE = 1;
constexpr intptr_t WA_CLICKACTIVE = 2;

constexpr intptr_t HTNOWHERE = 0;
constexpr intptr_t HTCLIENT = 1;

constexpr intptr_t SIZE_RESTORED = 0;
constexpr intptr_t SIZE_MINIMIZED = 1;
constexpr intptr_t SIZE_MAXIMIZED = 2;

// WM_HSCROLL / WM_VSCROLL request codes (low word of WParam); the position rides in the high word.
constexpr uint16_t SB_LINEUP = 0;
constexpr uint16_t SB_LINEDOWN = 1;
constexpr uint16_t SB_PAGEUP = 2;
constexpr uint16_t SB_PAGEDOWN = 3;
constexpr uint16_t SB_THUMBPOSITION = 4;
constexpr uint16_t SB_THUMBTRACK = 5;
constexpr uint16_t SB_TOP = 6;
constexpr uint16_t SB_BOTTOM = 7;
constexpr uint16_t SB_ENDSCROLL = 8;

constexpr uint16_t MF_POPUP = 0x0010;

// WM_GETDLGCODE answers: which keys a control keeps from dialog navigation.
constexpr intptr_t DLGC_WANTARROWS = 0x0001;
constexpr intptr_t DLGC_WANTTAB = 0x0002;
constexpr intptr_t DLGC_WANTALLKEYS = 0x0004;
constexpr intptr_t DLGC_WANTCHARS = 0x0080;

// Virtual key codes.
constexpr uint16_t VK_LBUTTON = 0x01, VK_RBUTTON = 0x02, VK_CANCEL = 0x03, VK_MBUTTON = 0x04;
constexpr uint16_t VK_BACK = 0x08, VK_TAB = 0x09, VK_RETURN = 0x0D, VK_SHIFT = 0x10;
constexpr uint16_t VK_CONTROL = 0x11, VK_MENU = 0x12, VK_PAUSE = 0x13, VK_ESCAPE = 0x1B;
constexpr uint16_t VK_SPACE = 0x20, VK_PRIOR = 0x21, VK_NEXT = 0x22, VK_END = 0x23;
constexpr uint16_t VK_HOME = 0x24, VK_LEFT = 0x25, VK_UP = 0x26, VK_RIGHT = 0x27;
constexpr uint16_t VK_DOWN = 0x28, VK_INSERT = 0x2D, VK_DELETE = 0x2E, VK_F1 = 0x70;

// --- Packing of points into LParam: two signed 16-bit halves, X low.
inline intptr_t PointToLParam(TPoint p) {
  return static_cast<intptr_t>(static_cast<uint32_t>(static_cast<uint16_t>(p.X)) |
                               (static_cast<uint32_t>(static_cast<uint16_t>(p.Y)) << 16));
}
inline TPoint LParamToPoint(intptr_t l) {
  return {static_cast<int16_t>(l & 0xFFFF), static_cast<int16_t>((l >> 16) & 0xFFFF)};
}
inline intptr_t MakeWParam(uint16_t lo, uint16_t hi) {
  return static_cast<intptr_t>(lo | (static_cast<uint32_t>(hi) << 16));
}

// --- Typed views over a TMessage, as the VCL's message records overlay it.
struct TWMMouse {
  TMessage& M;
  explicit TWMMouse(TMessage& m) : M(m) {}
  intptr_t Keys() const { return M.WParam; }
  int XPos() const { return LParamToPoint(M.LParam).X; }
  int YPos() const { return LParamToPoint(M.LParam).Y; }
  TPoint Pos() const { return LParamToPoint(M.LParam); }
};

struct TWMKey {
  TMessage& M;
  explicit TWMKey(TMessage& m) : M(m) {}
  uint16_t CharCode() const { return static_cast<uint16_t>(M.WParam); }
  void SetCharCode(uint16_t c) { M.WParam = c; }
  intptr_t KeyData() const { return M.LParam; }
};

struct TWMMenuSelect {
  TMessage& M;
  explicit TWMMenuSelect(TMessage& m) : M(m) {}
  uint16_t IDItem() const { return static_cast<uint16_t>(M.WParam & 0xFFFF); }
  uint16_t MenuFlag() const { return static_cast<uint16_t>((M.WParam >> 16) & 0xFFFF); }
  intptr_t Menu() const { return M.LParam; }
};

// WM_SIZE: the new client size in LParam, the kind of change in WParam.
struct TWMSize {
  TMessage& M;
  explicit TWMSize(TMessage& m) : M(m) {}
  intptr_t SizeType() const { return M.WParam; }
  int Width() const { return LParamToPoint(M.LParam).X; }
  int Height() const { return LParamToPoint(M.LParam).Y; }
};

// WM_ACTIVATE: WA_* in the low word of WParam.
struct TWMActivate {
  TMessage& M;
  explicit TWMActivate(TMessage& m) : M(m) {}
  intptr_t Active() const { return M.WParam & 0xFFFF; }
};

// --- Drag messages: CM_DRAG carries the drag code in WParam and a TDragRec* in LParam.
class TObject;
enum TDragMessage : uint8_t { dmDragEnter, dmDragLeave, dmDragMove, dmDragDrop, dmDragCancel, dmFindTarget };

struct TDragRec {
  TPoint Pos;                 // screen point
  TObject* Source = nullptr;  // the TDragObject
  void* Target = nullptr;     // the target TControl once found
  bool Docking = false;
};

struct TCMDrag {
  TMessage& M;
  explicit TCMDrag(TMessage& m) : M(m) {}
  TDragMessage DragMessage() const { return static_cast<TDragMessage>(M.WParam); }
  TDragRec* DragRec() const { return reinterpret_cast<TDragRec*>(M.LParam); }
};
