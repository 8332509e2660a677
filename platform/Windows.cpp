#include "Windows.h"

#include <optional>
#include <unordered_map>

#include "Controls.h"
#include "qt/QtMenus.h"
#include "qt/QtWidgets.h"

// Posted messages name their control by serial number, so that one destroyed (and perhaps
// replaced at the same address) before delivery is recognised and skipped.
namespace {
std::unordered_map<uint64_t, TControl*>& LiveControls() {
  static std::unordered_map<uint64_t, TControl*> m;
  return m;
}
uint64_t& NextSerial() {
  static uint64_t n = 0;
  return n;
}
std::unordered_map<const TControl*, uint64_t>& Serials() {
  static std::unordered_map<const TControl*, uint64_t> m;
  return m;
}

std::optional<TPoint> gCursorPos;
std::optional<TRect> gClip;
HCURSOR gCursor = 0;

TPoint Clamp(TPoint p) {
  if (!gClip) return p;
  p.X = std::clamp(p.X, gClip->Left, std::max(gClip->Left, gClip->Right - 1));
  p.Y = std::clamp(p.Y, gClip->Top, std::max(gClip->Top, gClip->Bottom - 1));
  return p;
}
}  // namespace

// Called by TControl's constructor and destructor.
void RegisterLiveControl(TControl* c, bool alive) {
  if (alive) {
    uint64_t s = ++NextSerial();
    LiveControls()[s] = c;
    Serials()[c] = s;
  } else {
    auto it = Serials().find(c);
    if (it == Serials().end()) return;
    LiveControls().erase(it->second);
    Serials().erase(it);
  }
}

bool PostMessage(TControl* control, uint32_t msg, intptr_t wParam, intptr_t lParam) {
  if (!control) return false;
  auto it = Serials().find(control);
  if (it == Serials().end()) return false;
  uint64_t serial = it->second;
  qtw::Post([serial, msg, wParam, lParam] {
    auto live = LiveControls().find(serial);
    if (live != LiveControls().end()) live->second->Perform(msg, wParam, lParam);
  });
  return true;
}

intptr_t SendMessage(TControl* control, uint32_t msg, intptr_t wParam, intptr_t lParam) {
  return control ? control->Perform(msg, wParam, lParam) : 0;
}

TControl* SetCapture(TControl* control) {
  TControl* old = GetCaptureControl();
  SetCaptureControl(control);
  return old;
}

bool ReleaseCapture() {
  SetCaptureControl(nullptr);
  return true;
}

TControl* GetCapture() { return GetCaptureControl(); }

bool GetCursorPos(TPoint& p) {
  p = Clamp(gCursorPos ? *gCursorPos : qtw::CursorPos());
  return true;
}

TPoint GetCursorPos() {
  TPoint p;
  GetCursorPos(p);
  return p;
}

bool SetCursorPos(int x, int y) {
  TPoint p = Clamp({x, y});
  gCursorPos = p;
  qtw::SetCursorPos(p);
  return true;
}

// The backend reports where each toolkit mouse event happened.
void NoteCursorPos(const TPoint& p) { gCursorPos = p; }

bool ClipCursor(const TRect* r) {
  if (r) {
    gClip = *r;
    if (gCursorPos) SetCursorPos(gCursorPos->X, gCursorPos->Y);
  } else {
    gClip.reset();
  }
  return true;
}

bool GetClipCursor(TRect& r) {
  r = gClip ? *gClip : qtw::ScreenRect();
  return true;
}

HCURSOR SetCursor(HCURSOR cursor) {
  HCURSOR old = gCursor;
  gCursor = cursor;
  TWinControl* under = FindVCLWindow(GetCursorPos());
  if (under && under->HandleAllocated()) qtw::SetCursorShape(under->Handle(), cursor);
  return old;
}

HCURSOR GetCursor() { return gCursor; }

int GetSystemMetrics(int index) {
  switch (index) {
    case SM_CXSCREEN: return qtw::ScreenRect().Width();
    case SM_CYSCREEN: return qtw::ScreenRect().Height();
    case SM_CXFULLSCREEN: return qtw::WorkArea().Width();
    case SM_CYFULLSCREEN: return qtw::WorkArea().Height();
    case SM_CXVSCROLL:
    case SM_CYHSCROLL: return 16;
    case SM_CYCAPTION: return 19;
    case SM_CYMENU: return qtm::MenuBarHeight();
    case SM_CXBORDER:
    case SM_CYBORDER: return 1;
    case SM_CXDOUBLECLK:
    case SM_CYDOUBLECLK: return 4;
    case SM_CXDRAG:
    case SM_CYDRAG: return 4;
    default: return 0;
  }
}

TRect GetWorkArea() { return qtw::WorkArea(); }

int GetDoubleClickTime() { return qtw::DoubleClickTime(); }

int16_t GetKeyState(int virtKey) { return qtw::KeyDown(virtKey) ? static_cast<int16_t>(0x8000) : 0; }
