#include "MPlayer.h"

#include <filesystem>

#include "ExtCtrls.h"
#include "SysUtils.h"

namespace {
constexpr const char* MPlayerNotOpenErr = "No MCI device open";

// The glyph of a button centred on (cx, cy), in one colour.
void MPlayerGlyph(TCanvas* c, TMPBtnType b, int cx, int cy, TColor color) {
  c->GetPen()->SetColor(color);
  c->GetBrush()->SetStyle(bsSolid);
  c->GetBrush()->SetColor(color);
  auto right = [&](int x) { c->Polygon({{x, cy - 4}, {x + 4, cy}, {x, cy + 4}}); };
  auto left = [&](int x) { c->Polygon({{x + 4, cy - 4}, {x, cy}, {x + 4, cy + 4}}); };
  auto bar = [&](int x) { c->FillRect(Rect(x, cy - 4, x + 2, cy + 5)); };
  switch (b) {
    case btPlay: right(cx - 2); break;
    case btPause:
      bar(cx - 3);
      bar(cx + 1);
      break;
    case btStop: c->FillRect(Rect(cx - 4, cy - 4, cx + 4, cy + 4)); break;
    case MPlayer::btNext:
      right(cx - 4);
      bar(cx + 2);
      break;
    case MPlayer::btPrev:
      bar(cx - 4);
      left(cx - 1);
      break;
    case btStep:
      right(cx - 5);
      right(cx);
      break;
    case btBack:
      left(cx - 5);
      left(cx);
      break;
    case btRecord: c->Ellipse(cx - 4, cy - 4, cx + 5, cy + 5); break;
    case btEject:
      c->Polygon({{cx - 5, cy + 1}, {cx, cy - 4}, {cx + 5, cy + 1}});
      c->FillRect(Rect(cx - 5, cy + 3, cx + 6, cy + 5));
      break;
  }
}

TColor MPlayerGlyphColor(TMPBtnType b) {
  switch (b) {
    case btPlay: return clGreen;
    case btPause: return clOlive;
    case btStop: return clMaroon;
    case MPlayer::btNext:
    case MPlayer::btPrev: return clNavy;
    case btStep:
    case btBack: return clTeal;
    case btRecord: return clRed;
    case btEject: return clPurple;
  }
  return clBlack;
}
}  // namespace

TMediaPlayer::TMediaPlayer(TComponent* AOwner) : TCustomControl(AOwner) {
  ControlStyle = {csOpaque};
  SetBounds(0, 0, 253, 30);
  SetTabStop(true);
}

TMediaPlayer::~TMediaPlayer() {
  Destroying();
  SetDisplay(nullptr);
}

void TMediaPlayer::SetVisibleButtons(MPlayer::TButtonSet v) {
  FVisibleButtons = v;
  Invalidate();
}
void TMediaPlayer::SetEnabledButtons(MPlayer::TButtonSet v) {
  FEnabledButtons = v;
  Invalidate();
}
void TMediaPlayer::SetColoredButtons(MPlayer::TButtonSet v) {
  FColoredButtons = v;
  Invalidate();
}
void TMediaPlayer::SetAutoEnable(bool v) {
  FAutoEnable = v;
  Invalidate();
}

void TMediaPlayer::SetDisplay(TWinControl* v) { SetComponentReference(this, FDisplay, v); }

void TMediaPlayer::Notification(TComponent* c, TOperation op) {
  TCustomControl::Notification(c, op);
  if (op == opRemove && c == FDisplay) FDisplay = nullptr;
}

// Delphi opens an AutoOpen player in Loaded when not designing, so an error there would abort
// the loading of the whole form. A player without a device is not a broken form: the error is
// kept in Error and ErrorMessage, the player stays closed (its buttons disabled when
// AutoEnable), and the form loads.
void TMediaPlayer::Loaded() {
  TCustomControl::Loaded();
  if (FAutoOpen && !InState(csDesigning)) {
    try {
      Open();
    } catch (const EMCIDeviceError&) {}
  }
}

void TMediaPlayer::RaiseMci(int error, const std::string& message) {
  FError = error;
  FErrorMessage = message;
  throw EMCIDeviceError(message);
}

void TMediaPlayer::CheckOpen() {
  if (FDeviceID == 0) throw EMCIDeviceError(MPlayerNotOpenErr);
}

void TMediaPlayer::Open() {
  FError = 0;
  FErrorMessage.clear();
  std::error_code ec;
  if (!FFileName.empty() && !std::filesystem::exists(FFileName, ec))
    RaiseMci(MciErrFileNotFound, "Cannot find the specified file. Make sure the path and filename are correct.");
  // No MCI drivers exist on this system, whatever the device type.
  RaiseMci(MciErrDeviceNotInstalled, "The specified device is not installed on the system.");
}

void TMediaPlayer::Close() {
  FDeviceID = 0;
  Invalidate();
}

void TMediaPlayer::Play() { CheckOpen(); }
void TMediaPlayer::Pause() { CheckOpen(); }
void TMediaPlayer::Stop() { CheckOpen(); }
void TMediaPlayer::Next() { CheckOpen(); }
void TMediaPlayer::Previous() { CheckOpen(); }
void TMediaPlayer::Step() { CheckOpen(); }
void TMediaPlayer::Back() { CheckOpen(); }
void TMediaPlayer::StartRecording() { CheckOpen(); }
void TMediaPlayer::Eject() { CheckOpen(); }

bool TMediaPlayer::ButtonEnabled(TMPBtnType b) const {
  if (!GetEnabled() || !FEnabledButtons.Contains(b)) return false;
  return !(FAutoEnable && !InState(csDesigning) && FDeviceID == 0);
}

TRect TMediaPlayer::ButtonRect(TMPBtnType b) const {
  if (!FVisibleButtons.Contains(b)) return {};
  int count = 0, index = 0;
  for (int i = btPlay; i <= btEject; ++i)
    if (FVisibleButtons.Contains(static_cast<TMPBtnType>(i))) {
      if (i == b) index = count;
      ++count;
    }
  int w = std::max(1, (GetWidth() - 1) / count);
  return Rect(index * w, 0, index * w + w + 1, GetHeight());
}

int TMediaPlayer::ButtonAt(int x, int y) const {
  for (int i = btPlay; i <= btEject; ++i) {
    TRect r = ButtonRect(static_cast<TMPBtnType>(i));
    if (x >= r.Left && x < r.Right - 1 && y >= r.Top && y < r.Bottom) return i;
  }
  return -1;
}

void TMediaPlayer::ClickButton(TMPBtnType b) {
  if (!ButtonEnabled(b)) return;
  bool doDefault = true;
  OnClick(this, b, doDefault);
  if (doDefault) {
    switch (b) {
      case btPlay: Play(); break;
      case btPause: Pause(); break;
      case btStop: Stop(); break;
      case MPlayer::btNext: Next(); break;
      case MPlayer::btPrev: Previous(); break;
      case btStep: Step(); break;
      case btBack: Back(); break;
      case btRecord: StartRecording(); break;
      case btEject: Eject(); break;
    }
  }
  OnPostClick(this, b);
}

void TMediaPlayer::Paint() {
  TCanvas* c = Canvas();
  c->GetBrush()->SetColor(clBtnFace);
  c->FillRect(GetClientRect());
  for (int i = btPlay; i <= btEject; ++i) {
    auto b = static_cast<TMPBtnType>(i);
    TRect r = ButtonRect(b);
    if (IsRectEmpty(r)) continue;
    TRect in = DrawButtonFace(c, r, FPressed == i && FPressedIn);
    int cx = (in.Left + in.Right) / 2, cy = (in.Top + in.Bottom) / 2;
    if (ButtonEnabled(b)) {
      MPlayerGlyph(c, b, cx, cy, FColoredButtons.Contains(b) ? MPlayerGlyphColor(b) : clBlack);
    } else {
      MPlayerGlyph(c, b, cx + 1, cy + 1, clBtnHighlight);
      MPlayerGlyph(c, b, cx, cy, clBtnShadow);
    }
  }
}

void TMediaPlayer::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TCustomControl::MouseDown(button, shift, x, y);
  if (button != mbLeft) return;
  int i = ButtonAt(x, y);
  if (i < 0 || !ButtonEnabled(static_cast<TMPBtnType>(i))) return;
  FPressed = i;
  FPressedIn = true;
  FFocusedButton = i;
  Invalidate();
}

void TMediaPlayer::MouseMove(TShiftState shift, int x, int y) {
  TCustomControl::MouseMove(shift, x, y);
  if (FPressed < 0) return;
  bool in = ButtonAt(x, y) == FPressed;
  if (in != FPressedIn) {
    FPressedIn = in;
    Invalidate();
  }
}

void TMediaPlayer::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  TCustomControl::MouseUp(button, shift, x, y);
  if (FPressed < 0) return;
  int pressed = FPressed;
  bool in = ButtonAt(x, y) == pressed;
  FPressed = -1;
  FPressedIn = false;
  Invalidate();
  if (in) ClickButton(static_cast<TMPBtnType>(pressed));
}

// Left and right move among the visible buttons, space presses the focused one.
void TMediaPlayer::KeyDown(uint16_t& key, TShiftState shift) {
  TCustomControl::KeyDown(key, shift);
  if (key == VK_LEFT || key == VK_RIGHT) {
    int step = key == VK_LEFT ? -1 : 1;
    for (int i = FFocusedButton + step; i >= btPlay && i <= btEject; i += step)
      if (FVisibleButtons.Contains(static_cast<TMPBtnType>(i))) {
        FFocusedButton = i;
        break;
      }
    Invalidate();
  } else if (key == VK_SPACE) {
    ClickButton(static_cast<TMPBtnType>(FFocusedButton));
  }
}

void TMediaPlayer::Dispatch(TMessage& m) {
  if (m.Msg == WM_GETDLGCODE) {
    m.Result = DLGC_WANTARROWS;
    return;
  }
  if (m.Msg == CM_ENABLEDCHANGED) Invalidate();
  TCustomControl::Dispatch(m);
}

// =============================================================================================
KV_IMPLEMENT_CLASS(TMediaPlayer, "MPlayer") {
  b.Prop("ColoredButtons", &TMediaPlayer::GetColoredButtons, &TMediaPlayer::SetColoredButtons)
      .Default(TMediaPlayer::AllButtons);
  PublishControlProperties(b, {"Enabled"});
  b.Prop("EnabledButtons", &TMediaPlayer::GetEnabledButtons, &TMediaPlayer::SetEnabledButtons)
      .Default(TMediaPlayer::AllButtons);
  b.Prop("VisibleButtons", &TMediaPlayer::GetVisibleButtons, &TMediaPlayer::SetVisibleButtons)
      .Default(TMediaPlayer::AllButtons);
  PublishControlProperties(b, {"Anchors"});
  b.Prop("AutoEnable", &TMediaPlayer::GetAutoEnable, &TMediaPlayer::SetAutoEnable).Default(true);
  b.Prop("AutoOpen", &TMediaPlayer::GetAutoOpen, &TMediaPlayer::SetAutoOpen).Default(false);
  b.Prop("AutoRewind", &TMediaPlayer::GetAutoRewind, &TMediaPlayer::SetAutoRewind).Default(true);
  PublishControlProperties(b, {"Constraints"});
  b.Prop("DeviceType", &TMediaPlayer::GetDeviceType, &TMediaPlayer::SetDeviceType).Default(dtAutoSelect);
  b.Prop("Display", &TMediaPlayer::GetDisplay, &TMediaPlayer::SetDisplay);
  PublishControlProperties(b, {"DragCursor", "DragKind", "DragMode"});
  b.Prop("FileName", &TMediaPlayer::GetFileName, &TMediaPlayer::SetFileName);
  PublishControlProperties(b, {"ParentShowHint", "PopupMenu"});
  b.Prop("Shareable", &TMediaPlayer::GetShareable, &TMediaPlayer::SetShareable).Default(false);
  PublishControlProperties(b, {"ShowHint", "TabOrder"});
  PublishTabStop(b, true);
  PublishControlProperties(b, {"Visible"});
  b.Prop("OnClick", &TMediaPlayer::OnClick);
  PublishControlProperties(b, {"OnDragDrop", "OnDragOver", "OnEndDrag", "OnEnter", "OnExit"});
  b.Prop("OnNotify", &TMediaPlayer::OnNotify);
  b.Prop("OnPostClick", &TMediaPlayer::OnPostClick);
  PublishControlProperties(b, {"OnStartDrag"});
}

void RegisterMPlayerClasses() { RegisterClasses({TMediaPlayer::StaticClass()}); }
