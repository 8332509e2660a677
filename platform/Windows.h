// Windows: the platform services that the VCL takes from the Windows API, addressed to
// controls instead of window handles: posting and sending messages, mouse capture, the cursor
// (position, confinement, shape) and screen metrics.
#pragma once

#include <cstdint>

#include "Messages.h"
#include "Types.h"

class TControl;

// Queues the message for the control; the event loop delivers posted messages in the order
// they were posted, after the message being handled. A message for a control destroyed in
// between is dropped. False when control is null.
bool PostMessage(TControl* control, uint32_t msg, intptr_t wParam, intptr_t lParam);
// Delivers at once through the control's WindowProc; the message's Result.
intptr_t SendMessage(TControl* control, uint32_t msg, intptr_t wParam, intptr_t lParam);

// Mouse capture (a control, windowed or not). SetCapture answers the previous capture.
TControl* SetCapture(TControl* control);
bool ReleaseCapture();
TControl* GetCapture();

// The cursor. Its position is read from the platform, or the last one set (SetCursorPos, or
// a mouse event of ours), clamped to the confinement rectangle.
bool GetCursorPos(TPoint& p);
TPoint GetCursorPos();
bool SetCursorPos(int x, int y);
// Confines the cursor to r (screen); nullptr releases it.
bool ClipCursor(const TRect* r);
bool GetClipCursor(TRect& r);  // the whole screen when not confined

// Cursor shapes by VCL cursor number (crDefault 0, crArrow -2, ...). SetCursor shows the shape
// over the window under the cursor until the next WM_SETCURSOR; it answers the previous one.
using HCURSOR = int32_t;
HCURSOR SetCursor(HCURSOR cursor);
HCURSOR GetCursor();

// Screen metrics (SM_CXSCREEN and friends), in pixels.
constexpr int SM_CXSCREEN = 0;
constexpr int SM_CYSCREEN = 1;
constexpr int SM_CXVSCROLL = 2;
constexpr int SM_CYHSCROLL = 3;
constexpr int SM_CYCAPTION = 4;
constexpr int SM_CXBORDER = 5;
constexpr int SM_CYBORDER = 6;
constexpr int SM_CYMENU = 15;  // a one-line menu bar
constexpr int SM_CXFULLSCREEN = 16;
constexpr int SM_CYFULLSCREEN = 17;
constexpr int SM_CXDOUBLECLK = 36;
constexpr int SM_CYDOUBLECLK = 37;
constexpr int SM_CXDRAG = 68;
constexpr int SM_CYDRAG = 69;
int GetSystemMetrics(int index);
TRect GetWorkArea();  // the screen without task bars
int GetDoubleClickTime();
// Whether a key (VK_SHIFT, VK_CONTROL, VK_MENU, VK_LBUTTON...) is down: bit 15 of the answer.
int16_t GetKeyState(int virtKey);
