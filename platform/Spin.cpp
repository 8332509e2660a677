#include "Spin.h"

#include <algorithm>
#include <charconv>

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

void TSpinEdit::SetIncrement(int v) { FIncrement = v; UpdateWidget(); }
void TSpinEdit::SetEditorEnabled(bool v) { FEditorEnabled = v; UpdateWidget(); }
void TSpinEdit::SetMaxLength(int v) { FMaxLength = std::max(0, v); UpdateWidget(); }
void TSpinEdit::SetReadOnly(bool v) { FReadOnly = v; UpdateWidget(); }

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
  PublishControlProperties(b, {"OnClick", "OnDblClick", "OnDragDrop", "OnDragOver", "OnEndDrag", "OnEnter",
                               "OnExit", "OnKeyDown", "OnKeyPress", "OnKeyUp", "OnMouseDown", "OnMouseMove",
                               "OnMouseUp", "OnStartDrag"});
}

void RegisterSpinClasses() { RegisterClasses({TSpinEdit::StaticClass()}); }
