// ColorGrd: the Samples page's colour grid, the 16 colours of the standard palette in a grid
// that picks a foreground colour (left button, marked "FG") and a background colour (right
// button, marked "BG"; "FB" when one cell is both).
#pragma once

#include "Controls.h"

KV_ENUM(TGridOrdering, go16x1, go8x2, go4x4, go2x8, go1x16)

class TColorGrid : public TCustomControl {
  KV_CLASS(TColorGrid, TCustomControl)
 public:
  explicit TColorGrid(TComponent* AOwner);
  // The palette colour of an index 0..15: black, maroon, green, olive, navy, purple, teal,
  // silver, gray, red, lime, yellow, blue, fuchsia, aqua, white.
  static TColor PaletteColor(int index);

  TGridOrdering GetGridOrdering() const { return FGridOrdering; }
  void SetGridOrdering(TGridOrdering v);
  int GetForegroundIndex() const { return FForegroundIndex; }
  void SetForegroundIndex(int v);
  int GetBackgroundIndex() const { return FBackgroundIndex; }
  void SetBackgroundIndex(int v);
  bool GetForegroundEnabled() const { return FForegroundEnabled; }
  void SetForegroundEnabled(bool v);
  bool GetBackgroundEnabled() const { return FBackgroundEnabled; }
  void SetBackgroundEnabled(bool v);
  bool GetClickEnablesColor() const { return FClickEnablesColor; }
  void SetClickEnablesColor(bool v) { FClickEnablesColor = v; }
  // The cell with the keyboard focus.
  int GetSelection() const { return FSelection; }
  void SetSelection(int v);
  TColor ForegroundColor() const { return PaletteColor(FForegroundIndex); }
  TColor BackgroundColor() const { return PaletteColor(FBackgroundIndex); }
  int Columns() const;
  int Rows() const { return 16 / Columns(); }
  // The cell at a client point, or -1.
  int ColorAt(int x, int y) const;
  TRect CellRect(int index) const;

  TNotifyEvent OnChange;

 protected:
  void Paint() override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void KeyDown(uint16_t& key, TShiftState shift) override;
  void Dispatch(TMessage& m) override;
  virtual void Change();

 private:
  static int CheckIndex(int v);
  TGridOrdering FGridOrdering = go4x4;
  int FForegroundIndex = 0;
  int FBackgroundIndex = 0;
  bool FForegroundEnabled = true;
  bool FBackgroundEnabled = true;
  bool FClickEnablesColor = false;
  int FSelection = 0;
};

void RegisterColorGrdClasses();
