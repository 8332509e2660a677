// The list and tree views' shared helpers and their base control, TCustomViewControl: image
// lists, scrolling, the sunken border and the selection colours.
#include "ComCtrls_Views.h"

#include <algorithm>
#include <cctype>

#include "ExtCtrls.h"
#include "qt/QtComCtrls.h"

std::string ViewsReadRest(TStream* s) {
  std::string b(static_cast<size_t>(std::max<int64_t>(0, s->GetSize() - s->GetPosition())), '\0');
  s->ReadBuffer(b.data(), static_cast<int64_t>(b.size()));
  return b;
}

void ViewsPutInt(std::string& out, int32_t v) {
  auto u = static_cast<uint32_t>(v);
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((u >> (8 * i)) & 0xFF));
}

// Delphi's short strings hold at most 255 characters of the ANSI code page; longer text is cut
// as Delphi cut it, and text the code page cannot hold goes as its UTF-8 bytes.
std::string ViewsShortAnsi(const std::string& s) {
  std::string ansi;
  if (!TryUtf8ToAnsi(s, ansi)) ansi = s;
  if (ansi.size() > 255) ansi.resize(255);
  return ansi;
}

void ViewsPutShortString(std::string& out, const std::string& s) {
  std::string ansi = ViewsShortAnsi(s);
  out.push_back(static_cast<char>(ansi.size()));
  out += ansi;
}

// The comparison the controls sort by without OnCompare (lstrcmp's order: letters ignoring
// case first, lower case before upper case on a tie).
int ViewsCompareText(const std::string& a, const std::string& b) {
  size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    int x = std::tolower(static_cast<unsigned char>(a[i])), y = std::tolower(static_cast<unsigned char>(b[i]));
    if (x != y) return x < y ? -1 : 1;
  }
  if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
  for (size_t i = 0; i < n; ++i)
    if (a[i] != b[i]) return std::islower(static_cast<unsigned char>(a[i])) ? -1 : 1;
  return 0;
}

// =============================================================================================
// TCustomViewControl
TCustomViewControl::TCustomViewControl(TComponent* AOwner) : TCustomControl(AOwner) {
  ControlStyle = {csCaptureMouse, csClickEvents, csDoubleClicks, csOpaque, csDisplayDragImage};
  FWidth = 121;
  FHeight = 97;
  SetColor(clWindow);
  SetParentColor(false);
  SetTabStop(true);
}

TCustomViewControl::~TCustomViewControl() {
  Destroying();
  DestroyHandle();
}

void TCustomViewControl::SetImageLink(TImageList*& field, TImageList* v) {
  SetComponentReference(this, field, v);
  UpdateScrollBars();
  Invalidate();
}

void TCustomViewControl::SetImages(TImageList* v) { SetImageLink(FImages, v); }
void TCustomViewControl::SetStateImages(TImageList* v) { SetImageLink(FStateImages, v); }

void TCustomViewControl::Notification(TComponent* c, TOperation op) {
  TCustomControl::Notification(c, op);
  if (op != opRemove) return;
  if (c == FImages) FImages = nullptr;
  if (c == FStateImages) FStateImages = nullptr;
}

TRect TCustomViewControl::GetClientRect() const {
  int b = 2 * BorderWidth(), s = qtc::ScrollBarSize();
  return Rect(0, 0, std::max(0, FWidth - b - (FScrollBarsShown[1] ? s : 0)),
              std::max(0, FHeight - b - (FScrollBarsShown[0] ? s : 0)));
}

TPoint TCustomViewControl::ClientOrigin() const {
  TPoint p = TCustomControl::ClientOrigin();
  return {p.X + BorderWidth(), p.Y + BorderWidth()};
}

TRect TCustomViewControl::ViewRect() const { return GetClientRect(); }

int TCustomViewControl::LineHeight() const {
  Canvas()->SetFont(GetFont());
  return Canvas()->TextHeight("Ag") + 3;
}

// Mouse messages arrive in window coordinates; the view works in client ones.
void TCustomViewControl::WndProc(TMessage& m) {
  ShiftMouseInsideBorder(m, BorderWidth());
  TCustomControl::WndProc(m);
}

void TCustomViewControl::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case WM_VSCROLL:
    case WM_HSCROLL: {
      uint16_t code = static_cast<uint16_t>(m.WParam & 0xFFFF);
      int pos = static_cast<uint16_t>((m.WParam >> 16) & 0xFFFF);
      if (code == SB_THUMBPOSITION || code == SB_THUMBTRACK) {
        if (m.Msg == WM_VSCROLL) ScrollBy(0, pos - FScroll.Y);
        else ScrollBy(pos - FScroll.X, 0);
      }
      return;
    }
    case WM_MOUSEWHEEL: {
      int delta = static_cast<int16_t>((m.WParam >> 16) & 0xFFFF);
      ScrollBy(0, (delta < 0 ? 3 : -3) * LineHeight());
      return;
    }
    case WM_SIZE: UpdateScrollBars(); break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      Invalidate();  // the selection changes colour
      break;
    case CM_MOUSELEAVE: SetHot(-1); break;
    case WM_GETDLGCODE: m.Result = DLGC_WANTARROWS; return;
    default: break;
  }
  TCustomControl::Dispatch(m);
}

void TCustomViewControl::Loaded() {
  TCustomControl::Loaded();
  UpdateScrollBars();
}

void TCustomViewControl::CreateWnd() {
  TCustomControl::CreateWnd();
  UpdateScrollBars();
}

void TCustomViewControl::UpdateScrollBars() {
  TSize content = ContentExtent();
  FScrollBarsShown[0] = FScrollBarsShown[1] = false;
  // One bar's space can make the other needed.
  for (int pass = 0; pass < 2; ++pass) {
    TRect v = ViewRect();
    FScrollBarsShown[1] = content.cy > v.Height();
    FScrollBarsShown[0] = content.cx > v.Width();
  }
  TRect v = ViewRect();
  int maxX = std::max(0, content.cx - v.Width()), maxY = std::max(0, content.cy - v.Height());
  FScroll.X = std::clamp(FScroll.X, 0, maxX);
  FScroll.Y = std::clamp(FScroll.Y, 0, maxY);
  if (!HandleAllocated()) return;
  qtc::SetScrollBar(this, false, FScrollBarsShown[0], maxX, std::max(1, v.Width()), FScroll.X, BorderWidth(), true);
  qtc::SetScrollBar(this, true, FScrollBarsShown[1], maxY, std::max(1, v.Height()), FScroll.Y, BorderWidth(), true);
}

void TCustomViewControl::ScrollBy(int dx, int dy) {
  TPoint old = FScroll;
  FScroll.X += dx;
  FScroll.Y += dy;
  UpdateScrollBars();
  if (FScroll.X != old.X || FScroll.Y != old.Y) Invalidate();
}

// Scrolls so that a rectangle in content coordinates shows, vertically first.
void TCustomViewControl::ScrollIntoView(const TRect& r) {
  TRect v = ViewRect();
  int dy = 0, dx = 0;
  if (r.Top < FScroll.Y) dy = r.Top - FScroll.Y;
  else if (r.Bottom > FScroll.Y + v.Height()) dy = std::min(r.Top - FScroll.Y, r.Bottom - FScroll.Y - v.Height());
  if (r.Left < FScroll.X) dx = r.Left - FScroll.X;
  else if (r.Right > FScroll.X + v.Width()) dx = std::min(r.Left - FScroll.X, r.Right - FScroll.X - v.Width());
  if (dx || dy) ScrollBy(dx, dy);
}

void TCustomViewControl::PaintFrame() {
  TCanvas* c = Canvas();
  c->GetBrush()->SetColor(GetColor());
  c->FillRect(Rect(0, 0, FWidth, FHeight));
  PaintBorder();
  // The corner between two scroll bars.
  if (FScrollBarsShown[0] && FScrollBarsShown[1]) {
    int s = qtc::ScrollBarSize(), b = BorderWidth();
    c->GetBrush()->SetColor(clBtnFace);
    c->FillRect(Rect(FWidth - b - s, FHeight - b - s, FWidth - b, FHeight - b));
  }
}

void TCustomViewControl::PaintBorder() {
  if (FBorderStyle != bsSingle) return;
  TCanvas* c = Canvas();
  TRect r = Rect(0, 0, FWidth, FHeight);
  if (GetCtl3D()) {
    Frame3D(c, r, clBtnShadow, clBtnHighlight, 1);
    Frame3D(c, r, cl3DDkShadow, cl3DLight, 1);
  } else {
    Frame3D(c, r, clWindowFrame, clWindowFrame, 1);
  }
}

bool TCustomViewControl::SelectionColors(TColor& back, TColor& fore) const {
  if (Focused() || InState(csDesigning)) {
    back = clHighlight, fore = clHighlightText;
    return true;
  }
  if (FHideSelection) return false;
  back = clBtnFace, fore = GetFont()->GetColor();
  return true;
}

void TCustomViewControl::SetHot(int hot) {
  if (hot == FHot) return;
  FHot = hot;
  if (FHotTrack) Invalidate();
}
