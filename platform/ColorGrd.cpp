#include "ColorGrd.h"

#include <algorithm>

#include "Consts.h"
#include "SysUtils.h"

namespace {
constexpr TColor ColorGrdPalette[16] = {clBlack, clMaroon, clGreen, clOlive,  clNavy, clPurple,  clTeal, clSilver,
                                        clGray,  clRed,    clLime,  clYellow, clBlue, clFuchsia, clAqua, clWhite};
}  // namespace

TColorGrid::TColorGrid(TComponent* AOwner) : TCustomControl(AOwner) {
  ControlStyle = {csOpaque, csDoubleClicks};
  SetBounds(0, 0, 100, 100);
  SetTabStop(true);
}

TColor TColorGrid::PaletteColor(int index) { return ColorGrdPalette[CheckIndex(index)]; }

int TColorGrid::CheckIndex(int v) {
  if (v < 0 || v > 15) throw ERangeError(Format("Colour index %d is out of range (0 to 15)", v));
  return v;
}

int TColorGrid::Columns() const {
  switch (FGridOrdering) {
    case go16x1: return 16;
    case go8x2: return 8;
    case go4x4: return 4;
    case go2x8: return 2;
    case go1x16: return 1;
  }
  return 4;
}

void TColorGrid::SetGridOrdering(TGridOrdering v) {
  FGridOrdering = v;
  Invalidate();
}

void TColorGrid::SetForegroundIndex(int v) {
  CheckIndex(v);
  if (v == FForegroundIndex) return;
  FForegroundIndex = v;
  Invalidate();
  Change();
}

void TColorGrid::SetBackgroundIndex(int v) {
  CheckIndex(v);
  if (v == FBackgroundIndex) return;
  FBackgroundIndex = v;
  Invalidate();
  Change();
}

void TColorGrid::SetForegroundEnabled(bool v) {
  FForegroundEnabled = v;
  Invalidate();
}
void TColorGrid::SetBackgroundEnabled(bool v) {
  FBackgroundEnabled = v;
  Invalidate();
}

void TColorGrid::SetSelection(int v) {
  FSelection = CheckIndex(v);
  Invalidate();
}

void TColorGrid::Change() {
  if (!InState(csLoading)) OnChange(this);
}

TRect TColorGrid::CellRect(int index) const {
  int cols = Columns(), rows = Rows();
  int cw = GetWidth() / cols, ch = GetHeight() / rows;
  int col = index % cols, row = index / cols;
  return Bounds(col * cw, row * ch, cw, ch);
}

int TColorGrid::ColorAt(int x, int y) const {
  int cols = Columns(), rows = Rows();
  int cw = GetWidth() / cols, ch = GetHeight() / rows;
  if (cw <= 0 || ch <= 0 || x < 0 || y < 0) return -1;
  int col = x / cw, row = y / ch;
  if (col >= cols || row >= rows) return -1;
  return row * cols + col;
}

void TColorGrid::Paint() {
  TCanvas* c = Canvas();
  c->GetBrush()->SetColor(clBtnFace);
  c->FillRect(GetClientRect());
  c->SetFont(GetFont());
  for (int i = 0; i < 16; ++i) {
    TRect r = CellRect(i);
    // A sunken well around each colour, as the VCL's grid draws.
    c->GetPen()->SetColor(clBtnShadow);
    c->MoveTo(r.Left, r.Bottom - 1);
    c->LineTo(r.Left, r.Top);
    c->LineTo(r.Right - 1, r.Top);
    c->GetPen()->SetColor(clBtnHighlight);
    c->LineTo(r.Right - 1, r.Bottom - 1);
    c->LineTo(r.Left, r.Bottom - 1);
    TRect in = r;
    InflateRect(in, -2, -2);
    c->GetBrush()->SetStyle(bsSolid);
    c->GetBrush()->SetColor(ColorGrdPalette[i]);
    c->FillRect(in);
    bool fg = FForegroundEnabled && i == FForegroundIndex;
    bool bg = FBackgroundEnabled && i == FBackgroundIndex;
    if (fg || bg) {
      std::string mark = fg && bg ? "FB" : fg ? "FG" : "BG";
      // White on the dark half of the palette, black on the light half.
      bool dark = i < 7 || i == 8 || i == 9 || i == 12;
      c->GetFont()->SetColor(dark ? clWhite : clBlack);
      c->GetBrush()->SetStyle(bsClear);
      TSize ext = c->TextExtent(mark);
      c->TextOut((in.Left + in.Right - ext.cx) / 2, (in.Top + in.Bottom - ext.cy) / 2, mark);
      c->GetBrush()->SetStyle(bsSolid);
    }
    if (i == FSelection && Focused()) {
      TRect fr = in;
      InflateRect(fr, -1, -1);
      c->DrawFocusRect(fr);
    }
  }
}

// Left button picks the foreground, right button the background; with ClickEnablesColor a
// click also turns the mark on.
void TColorGrid::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TCustomControl::MouseDown(button, shift, x, y);
  int i = ColorAt(x, y);
  if (i < 0) return;
  if (GetTabStop() && CanFocus() && !Focused()) SetFocus();
  FSelection = i;
  if (button == mbLeft) {
    if (FClickEnablesColor) FForegroundEnabled = true;
    if (FForegroundEnabled) SetForegroundIndex(i);
  } else if (button == mbRight) {
    if (FClickEnablesColor) FBackgroundEnabled = true;
    if (FBackgroundEnabled) SetBackgroundIndex(i);
  }
  Invalidate();
}

// The arrows move the selection; space picks it as foreground, Ctrl+space as background.
void TColorGrid::KeyDown(uint16_t& key, TShiftState shift) {
  TCustomControl::KeyDown(key, shift);
  int cols = Columns();
  int col = FSelection % cols, row = FSelection / cols;
  switch (key) {
    case VK_LEFT: col = std::max(0, col - 1); break;
    case VK_RIGHT: col = std::min(cols - 1, col + 1); break;
    case VK_UP: row = std::max(0, row - 1); break;
    case VK_DOWN: row = std::min(Rows() - 1, row + 1); break;
    case VK_SPACE:
      if (shift.Contains(ssCtrl)) {
        if (FBackgroundEnabled) SetBackgroundIndex(FSelection);
      } else if (FForegroundEnabled) {
        SetForegroundIndex(FSelection);
      }
      return;
    default: return;
  }
  SetSelection(row * cols + col);
}

void TColorGrid::Dispatch(TMessage& m) {
  if (m.Msg == WM_GETDLGCODE) {
    m.Result = DLGC_WANTARROWS;
    return;
  }
  if (m.Msg == WM_SETFOCUS || m.Msg == WM_KILLFOCUS) Invalidate();
  TCustomControl::Dispatch(m);
}

KV_IMPLEMENT_CLASS(TColorGrid, "ColorGrd") {
  PublishControlProperties(b, {"Anchors"});
  b.Prop("BackgroundEnabled", &TColorGrid::GetBackgroundEnabled, &TColorGrid::SetBackgroundEnabled).Default(true);
  b.Prop("BackgroundIndex", &TColorGrid::GetBackgroundIndex, &TColorGrid::SetBackgroundIndex).Default(0);
  b.Prop("ClickEnablesColor", &TColorGrid::GetClickEnablesColor, &TColorGrid::SetClickEnablesColor).Default(false);
  PublishControlProperties(b, {"Constraints", "Ctl3D", "DragCursor", "DragKind", "DragMode", "Enabled", "Font"});
  b.Prop("ForegroundEnabled", &TColorGrid::GetForegroundEnabled, &TColorGrid::SetForegroundEnabled).Default(true);
  b.Prop("ForegroundIndex", &TColorGrid::GetForegroundIndex, &TColorGrid::SetForegroundIndex).Default(0);
  b.Prop("GridOrdering", &TColorGrid::GetGridOrdering, &TColorGrid::SetGridOrdering).Default(go4x4);
  PublishControlProperties(b, {"ParentCtl3D", "ParentFont", "ParentShowHint", "PopupMenu"});
  b.Prop("Selection", &TColorGrid::GetSelection, &TColorGrid::SetSelection).Default(0);
  PublishControlProperties(b, {"ShowHint", "TabOrder"});
  PublishTabStop(b, true);
  PublishControlProperties(b, {"Visible"});
  b.Prop("OnChange", &TColorGrid::OnChange);
  PublishControlProperties(b, {"OnClick", "OnDragDrop", "OnDragOver", "OnEndDrag", "OnEnter", "OnExit", "OnKeyDown",
                               "OnKeyPress", "OnKeyUp", "OnMouseDown", "OnMouseMove", "OnMouseUp", "OnStartDrag"});
}

void RegisterColorGrdClasses() { RegisterClasses({TColorGrid::StaticClass()}); }
