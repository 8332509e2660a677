#include "Spin.h"

#include <algorithm>
#include <charconv>

#include "Buttons.h"
#include "ExtCtrls.h"
#include "Graphics.h"
#include "qt/QtComCtrls.h"
#include "qt/QtMoreCtrls.h"

TSpinEdit::TSpinEdit(TComponent* AOwner) : TWinControl(AOwner) {
  FWidth = 121;
  FHeight = 22;
  SetTabStop(true);
  SetParentColor(false);
  FText = "0";
}

void TSpinEdit::CreateParams(TCreateParams& params) {
  qtc::RegisterWindowClasses();
  TWinControl::CreateParams(params);
  params.WinClassName = "KvSpinEdit";
}

void TSpinEdit::CreateWnd() {
  TWinControl::CreateWnd();
  UpdateWidget();
}

void TSpinEdit::UpdateWidget() {
  if (!HandleAllocated()) return;
  bool limited = FMaxValue != FMinValue;
  qtc::SetRange(FHandle, limited ? FMinValue : INT32_MIN, limited ? FMaxValue : INT32_MAX);
  qtc::SetPosition(FHandle, FValue);
  qtc::SetSingleStep(FHandle, FIncrement);
  qtc::SetReadOnly(FHandle, FReadOnly);
  qtm::SetEditorEnabled(FHandle, FEditorEnabled && !FReadOnly);
  qtm::SetMaxLength(FHandle, FMaxLength);
}

int TSpinEdit::CheckValue(int v) const {
  if (FMaxValue == FMinValue) return v;
  return std::clamp(v, std::min(FMinValue, FMaxValue), std::max(FMinValue, FMaxValue));
}

void TSpinEdit::SetValue(int v) {
  v = CheckValue(v);
  bool changed = v != FValue || FText != std::to_string(v);
  FValue = v;
  FText = std::to_string(v);
  UpdateWidget();
  if (changed && !InState(csLoading)) OnChange(this);
}

void TSpinEdit::SetEditText(const std::string& text) {
  int v = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
  if (ec != std::errc() || end != text.data() + text.size()) return;
  SetValue(v);
}

void TSpinEdit::SetMinValue(int v) {
  FMinValue = v;
  if (!InState(csLoading)) SetValue(FValue);
}

void TSpinEdit::SetMaxValue(int v) {
  FMaxValue = v;
  if (!InState(csLoading)) SetValue(FValue);
}

void TSpinEdit::Loaded() {
  TWinControl::Loaded();
  FValue = CheckValue(FValue);
  FText = std::to_string(FValue);
  UpdateWidget();
}

void TSpinEdit::SetIncrement(int v) {
  FIncrement = v;
  UpdateWidget();
}
void TSpinEdit::SetEditorEnabled(bool v) {
  FEditorEnabled = v;
  UpdateWidget();
}
void TSpinEdit::SetMaxLength(int v) {
  FMaxLength = std::max(0, v);
  UpdateWidget();
}
void TSpinEdit::SetReadOnly(bool v) {
  FReadOnly = v;
  UpdateWidget();
}

void TSpinEdit::Dispatch(TMessage& m) {
  if (m.Msg == WM_COMMAND && (m.WParam >> 16) == EN_CHANGE && HandleAllocated()) {
    int v = qtc::GetPosition(FHandle);
    if (v != FValue) {
      FValue = v;
      FText = std::to_string(v);
      OnChange(this);
    }
    return;
  }
  TWinControl::Dispatch(m);
}

KV_IMPLEMENT_CLASS(TSpinEdit, "Spin") {
  PublishControlProperties(b, {"Anchors"});
  b.Prop("AutoSelect", &TSpinEdit::GetAutoSelect, &TSpinEdit::SetAutoSelect).Default(true);
  PublishControlProperties(b, {"Color", "Constraints", "Ctl3D", "DragCursor", "DragMode"});
  b.Prop("EditorEnabled", &TSpinEdit::GetEditorEnabled, &TSpinEdit::SetEditorEnabled).Default(true);
  PublishControlProperties(b, {"Enabled", "Font"});
  b.Prop("Increment", &TSpinEdit::GetIncrement, &TSpinEdit::SetIncrement).Default(1);
  b.Prop("MaxLength", &TSpinEdit::GetMaxLength, &TSpinEdit::SetMaxLength).Default(0);
  b.Prop("MaxValue", &TSpinEdit::GetMaxValue, &TSpinEdit::SetMaxValue);
  b.Prop("MinValue", &TSpinEdit::GetMinValue, &TSpinEdit::SetMinValue);
  PublishControlProperties(b, {"ParentColor", "ParentCtl3D", "ParentFont", "ParentShowHint", "PopupMenu"});
  b.Prop("ReadOnly", &TSpinEdit::GetReadOnly, &TSpinEdit::SetReadOnly).Default(false);
  PublishControlProperties(b, {"ShowHint", "TabOrder"});
  PublishTabStop(b, true);
  b.Prop("Value", &TSpinEdit::GetValue, &TSpinEdit::SetValue);
  PublishControlProperties(b, {"Visible"});
  b.Prop("OnChange", &TSpinEdit::OnChange);
  PublishControlProperties(
      b, {"OnClick", "OnDblClick", "OnDragDrop", "OnDragOver", "OnEndDrag", "OnEnter", "OnExit", "OnKeyDown",
          "OnKeyPress", "OnKeyUp", "OnMouseDown", "OnMouseMove", "OnMouseUp", "OnStartDrag"});
}

// =============================================================================================
// TSpinButton
TSpinButton::TSpinButton(TComponent* AOwner)
    : TCustomControl(AOwner), FUpGlyph(new TBitmap), FDownGlyph(new TBitmap), FRepeatTimer(new TTimer(nullptr)) {
  ControlStyle = {csCaptureMouse, csOpaque};
  SetBounds(0, 0, 20, 25);
  FUpGlyph->OnChange = [this](TObject*) { Invalidate(); };
  FDownGlyph->OnChange = [this](TObject*) { Invalidate(); };
  FRepeatTimer->SetEnabled(false);
  FRepeatTimer->SetOnTimer([this](TObject*) { TimerExpired(); });
}

TSpinButton::~TSpinButton() {
  Destroying();
  SetFocusControl(nullptr);
  delete FRepeatTimer;
  delete FUpGlyph;
  delete FDownGlyph;
}

void TSpinButton::SetUpGlyph(TBitmap* v) { FUpGlyph->Assign(v); }
void TSpinButton::SetDownGlyph(TBitmap* v) { FDownGlyph->Assign(v); }
void TSpinButton::SetUpNumGlyphs(int v) {
  FUpNumGlyphs = std::clamp(v, 1, 4);
  Invalidate();
}
void TSpinButton::SetDownNumGlyphs(int v) {
  FDownNumGlyphs = std::clamp(v, 1, 4);
  Invalidate();
}
bool TSpinButton::IsUpGlyphStored() const { return !FUpGlyph->Empty(); }
bool TSpinButton::IsDownGlyphStored() const { return !FDownGlyph->Empty(); }

void TSpinButton::SetFocusControl(TWinControl* v) { SetComponentReference(this, FFocusControl, v); }

void TSpinButton::Notification(TComponent* c, TOperation op) {
  TCustomControl::Notification(c, op);
  if (op == opRemove && c == FFocusControl) FFocusControl = nullptr;
}

// The up button takes the upper half, the down button the rest.
TRect TSpinButton::ButtonBounds(int index) const {
  int half = GetHeight() / 2;
  return index == 0 ? Rect(0, 0, GetWidth(), half) : Rect(0, half, GetWidth(), GetHeight());
}

int TSpinButton::ButtonAt(int x, int y) const {
  if (x < 0 || x >= GetWidth() || y < 0 || y >= GetHeight()) return -1;
  return y < GetHeight() / 2 ? 0 : 1;
}

void TSpinButton::ButtonClick(int index) {
  if (index == 0) OnUpClick(this);
  else OnDownClick(this);
}

void TSpinButton::TimerExpired() {
  FRepeatTimer->SetInterval(RepeatPause);
  if (FPressed >= 0 && FPressedIn) ButtonClick(FPressed);
}

void TSpinButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TCustomControl::MouseDown(button, shift, x, y);
  if (button != mbLeft || !GetEnabled()) return;
  // The focus goes to the control the buttons step, as in Delphi, or else to the buttons.
  if (FFocusControl && FFocusControl->GetTabStop() && FFocusControl->CanFocus() && !FFocusControl->Focused())
    FFocusControl->SetFocus();
  else if (GetTabStop() && CanFocus() && !Focused()) SetFocus();
  FPressed = ButtonAt(x, y);
  FPressedIn = FPressed >= 0;
  if (FPressed < 0) return;
  FRepeatTimer->SetInterval(InitRepeatPause);
  FRepeatTimer->SetEnabled(true);
  Invalidate();
}

void TSpinButton::MouseMove(TShiftState shift, int x, int y) {
  TCustomControl::MouseMove(shift, x, y);
  if (FPressed < 0) return;
  bool in = ButtonAt(x, y) == FPressed;
  if (in != FPressedIn) {
    FPressedIn = in;
    Invalidate();
  }
}

void TSpinButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  TCustomControl::MouseUp(button, shift, x, y);
  FRepeatTimer->SetEnabled(false);
  if (FPressed < 0) return;
  int pressed = FPressed;
  bool in = ButtonAt(x, y) == pressed;
  FPressed = -1;
  FPressedIn = false;
  Invalidate();
  if (in) ButtonClick(pressed);
}

void TSpinButton::KeyDown(uint16_t& key, TShiftState shift) {
  TCustomControl::KeyDown(key, shift);
  if (key == VK_UP) ButtonClick(0);
  if (key == VK_DOWN) ButtonClick(1);
}

void TSpinButton::Dispatch(TMessage& m) {
  if (m.Msg == WM_GETDLGCODE) {
    m.Result = DLGC_WANTARROWS;
    return;
  }
  if (m.Msg == CM_ENABLEDCHANGED) Invalidate();
  TCustomControl::Dispatch(m);
}

void TSpinButton::DrawButton(int index) {
  TCanvas* c = Canvas();
  TRect in = DrawButtonFace(c, ButtonBounds(index), FPressed == index && FPressedIn);
  TBitmap* glyph = index == 0 ? FUpGlyph : FDownGlyph;
  int numGlyphs = index == 0 ? FUpNumGlyphs : FDownNumGlyphs;
  int cx = (in.Left + in.Right) / 2, cy = (in.Top + in.Bottom) / 2;
  if (!glyph->Empty()) {
    // Strip images: up, disabled, ...; a missing disabled one falls back to the first.
    int w = glyph->GetWidth() / numGlyphs, h = glyph->GetHeight();
    int part = !GetEnabled() && numGlyphs > 1 ? 1 : 0;
    TBitmap piece;
    piece.SetSize(w, h);
    piece.Canvas()->CopyRect(Rect(0, 0, w, h), glyph->Canvas(), Bounds(part * w, 0, w, h));
    piece.SetTransparent(true);
    c->Draw(cx - w / 2, cy - h / 2, &piece);
    return;
  }
  // The standard arrow: a small triangle pointing up or down.
  int size = std::clamp(std::min(in.Width(), in.Height()) / 3, 2, 5);
  auto arrow = [&](int x, int y, TColor color) {
    c->GetPen()->SetColor(color);
    c->GetBrush()->SetColor(color);
    if (index == 0) c->Polygon({{x - size, y + size / 2}, {x + size, y + size / 2}, {x, y - size / 2 - 1}});
    else c->Polygon({{x - size, y - size / 2}, {x + size, y - size / 2}, {x, y + size / 2 + 1}});
  };
  if (GetEnabled()) {
    arrow(cx, cy, clBlack);
  } else {
    arrow(cx + 1, cy + 1, clBtnHighlight);
    arrow(cx, cy, clBtnShadow);
  }
}

void TSpinButton::Paint() {
  DrawButton(0);
  DrawButton(1);
}

KV_IMPLEMENT_CLASS(TSpinButton, "Spin") {
  PublishControlProperties(b, {"Align", "Anchors", "Constraints", "Ctl3D"});
  b.Prop("DownGlyph", &TSpinButton::GetDownGlyph, &TSpinButton::SetDownGlyph)
      .StoredMethod(&TSpinButton::IsDownGlyphStored, false);
  b.Prop("DownNumGlyphs", &TSpinButton::GetDownNumGlyphs, &TSpinButton::SetDownNumGlyphs)
      .Type(TypeInfoTNumGlyphs())
      .Default(1);
  PublishControlProperties(b, {"DragCursor", "DragKind", "DragMode", "Enabled"});
  b.Prop("FocusControl", &TSpinButton::GetFocusControl, &TSpinButton::SetFocusControl);
  PublishControlProperties(b, {"ParentCtl3D", "ParentShowHint", "PopupMenu", "ShowHint", "TabOrder"});
  PublishTabStop(b, false);
  b.Prop("UpGlyph", &TSpinButton::GetUpGlyph, &TSpinButton::SetUpGlyph)
      .StoredMethod(&TSpinButton::IsUpGlyphStored, false);
  b.Prop("UpNumGlyphs", &TSpinButton::GetUpNumGlyphs, &TSpinButton::SetUpNumGlyphs)
      .Type(TypeInfoTNumGlyphs())
      .Default(1);
  PublishControlProperties(b, {"Visible"});
  b.Prop("OnDownClick", &TSpinButton::OnDownClick);
  PublishControlProperties(b, {"OnDragDrop", "OnDragOver", "OnEndDrag", "OnEnter", "OnExit", "OnStartDrag"});
  b.Prop("OnUpClick", &TSpinButton::OnUpClick);
}

void RegisterSpinClasses() { RegisterClasses({TSpinEdit::StaticClass(), TSpinButton::StaticClass()}); }
