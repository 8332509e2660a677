// Spin: the Samples page's spin edit, over the toolkit's spin box.
#pragma once

#include "Controls.h"

class TSpinEdit : public TWinControl {
  KV_CLASS(TSpinEdit, TWinControl)
 public:
  explicit TSpinEdit(TComponent* AOwner);
  void Dispatch(TMessage& m) override;
  void Loaded() override;
  int GetMinValue() const { return FMinValue; }
  void SetMinValue(int v);
  int GetMaxValue() const { return FMaxValue; }
  void SetMaxValue(int v);
  // Equal MinValue and MaxValue mean no limits, as in Delphi.
  int GetValue() const { return FValue; }
  void SetValue(int v);
  int GetIncrement() const { return FIncrement; }
  void SetIncrement(int v);
  bool GetEditorEnabled() const { return FEditorEnabled; }
  void SetEditorEnabled(bool v);
  int GetMaxLength() const { return FMaxLength; }
  void SetMaxLength(int v);
  bool GetReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool v);
  bool GetAutoSelect() const { return FAutoSelect; }
  void SetAutoSelect(bool v) { FAutoSelect = v; }
  // Text typed by the user: a number within the limits becomes the value; anything else
  // leaves the value as it was.
  void SetEditText(const std::string& text);
  // One Increment up or down, as the arrows do.
  void StepBy(bool up) { SetValue(FValue + (up ? FIncrement : -FIncrement)); }

  TNotifyEvent OnChange;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;

 private:
  int CheckValue(int v) const;
  void UpdateWidget();
  int FMinValue = 0;
  int FMaxValue = 0;
  int FValue = 0;
  int FIncrement = 1;
  bool FEditorEnabled = true;
  int FMaxLength = 0;
  bool FReadOnly = false;
  bool FAutoSelect = true;
};

void RegisterSpinClasses();
