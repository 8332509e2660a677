// Spin: the Samples page's spin edit, over the toolkit's spin box, and the spin button, a pair
// of up and down buttons drawn by the control that repeat while held.
#pragma once

#include "Controls.h"

class TTimer;

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

// ---------------------------------------------------------------------------------------------
class TSpinButton : public TCustomControl {
  KV_CLASS(TSpinButton, TCustomControl)
 public:
  // While a button is held, the clicks repeat after InitRepeatPause, then every RepeatPause ms.
  static constexpr unsigned InitRepeatPause = 400;
  static constexpr unsigned RepeatPause = 100;

  explicit TSpinButton(TComponent* AOwner);
  ~TSpinButton() override;
  // Empty glyphs (the default) draw the standard arrows.
  TBitmap* GetUpGlyph() const { return FUpGlyph; }
  void SetUpGlyph(TBitmap* v);
  TBitmap* GetDownGlyph() const { return FDownGlyph; }
  void SetDownGlyph(TBitmap* v);
  int GetUpNumGlyphs() const { return FUpNumGlyphs; }
  void SetUpNumGlyphs(int v);
  int GetDownNumGlyphs() const { return FDownNumGlyphs; }
  void SetDownNumGlyphs(int v);
  bool IsUpGlyphStored() const;
  bool IsDownGlyphStored() const;
  TWinControl* GetFocusControl() const { return FFocusControl; }
  void SetFocusControl(TWinControl* v);
  // The button under the mouse: 0 up, 1 down, -1 none held.
  int PressedButton() const { return FPressedIn ? FPressed : -1; }
  // The repeat timer (tests step it by calling its OnTimer).
  TTimer* RepeatTimer() const { return FRepeatTimer; }
  void Notification(TComponent* c, TOperation op) override;

  TNotifyEvent OnUpClick;
  TNotifyEvent OnDownClick;

 protected:
  void Paint() override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  void KeyDown(uint16_t& key, TShiftState shift) override;
  void Dispatch(TMessage& m) override;

 private:
  int ButtonAt(int x, int y) const;
  TRect ButtonBounds(int index) const;
  void ButtonClick(int index);
  void TimerExpired();
  void DrawButton(int index);
  TBitmap* FUpGlyph;
  TBitmap* FDownGlyph;
  int FUpNumGlyphs = 1;
  int FDownNumGlyphs = 1;
  TWinControl* FFocusControl = nullptr;
  TTimer* FRepeatTimer;
  int FPressed = -1;
  bool FPressedIn = false;
};

void RegisterSpinClasses();
