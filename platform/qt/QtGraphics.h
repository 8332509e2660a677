// The Qt side of the Graphics unit: colour and font conversion, the canvas backend, the pixels
// of bitmaps and icons, and the shared QApplication.
//
// A TCanvas draws on one of two targets, asked in this order before every operation:
//  1. a QPainter lent for the duration of a paint event (TPainterCanvasScope);
//  2. an image (CanvasBackend(c)->Image), as a bitmap's canvas paints into its pixels.
//
// Inverting pen modes (pmXor, pmNotXor, pmNot) and DrawFocusRect use raster operations, which
// only the raster engine has: they really invert on image targets and on painters over a QImage.
// A widget cannot be drawn on outside its paint event, so a rubber band drawn from a mouse
// handler goes to an overlay: give the control's canvas an image made by NewOverlayImage (black
// means "unchanged"), draw the band with pmNotXor / pmXor (drawing it twice returns the overlay to
// black), update the widget from TCanvas::OnChange, and in the paint event composite the overlay
// over the widget with DrawOverlay, which inverts the pixels under every set bit.
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QList>
#include <QPixmap>
#include <QRect>
#include <functional>

#include "../Graphics.h"

class QApplication;
class QPainter;

// The process's QApplication, created (with no arguments) when there is none yet. nullptr when
// another kind of application object exists.
QApplication* EnsureQtApplication();

inline QRect ToQRect(const TRect& r) { return QRect(r.Left, r.Top, r.Width(), r.Height()); }
inline TRect FromQRect(const QRect& r) { return Bounds(r.x(), r.y(), r.width(), r.height()); }
QColor ToQColor(TColor color);  // clNone: transparent; clDefault: the window text colour
TColor FromQColor(const QColor& color);
QFont ToQFont(const TFont& font);
// Name, Height (from the pixel or point size), Style and Pitch of font from a QFont.
void ApplyFont(TFont* font, const QFont& qfont);

// ---------------------------------------------------------------------------------------------
// Canvas targets.
class TCanvasBackend {
 public:
  QPainter* Painter = nullptr;     // lent by TPainterCanvasScope
  std::function<QImage*()> Image;  // the image to draw on, or nullptr for none
};

// Makes canvas draw with painter until the scope ends (scopes nest; the outer painter returns).
class TPainterCanvasScope {
 public:
  TPainterCanvasScope(TCanvas* canvas, QPainter* painter);
  ~TPainterCanvasScope();
  TPainterCanvasScope(const TPainterCanvasScope&) = delete;
  TPainterCanvasScope& operator=(const TPainterCanvasScope&) = delete;

 private:
  TCanvas* FCanvas;
  QPainter* FSaved;
};

// Paints image stretched into rect on the canvas; with useCopyMode through the canvas's CopyMode.
void CanvasDrawImage(TCanvas* canvas, const TRect& rect, const QImage& image, bool useCopyMode = true);

// An overlay image of size w x h, all black (Format_RGB32).
QImage NewOverlayImage(int width, int height);
// Paints overlay at (x, y) with the difference composition: black leaves the pixels as they
// are, white inverts them.
void DrawOverlay(QPainter& painter, const QImage& overlay, int x = 0, int y = 0);

// ---------------------------------------------------------------------------------------------
// Pixels.
struct TBitmapImage {
  // Format_Indexed8 while the pixels are untouched palette indices (pf1bit..pf8bit), so that
  // saving writes the same indices; drawing converts to Format_RGB32 (Format_ARGB32 for 32-bit
  // files with alpha). Null for an empty bitmap.
  QImage Image;
  TPixelFormat PixelFormat = pfDevice;
  QList<QRgb> Palette;  // pf1bit..pf8bit: the palette saved with the bitmap
  // Header fields that do not touch the pixels, kept from the file for a faithful rewrite.
  int32_t XPelsPerMeter = 0;
  int32_t YPelsPerMeter = 0;
  uint32_t ClrUsed = 0;
  uint32_t ClrImportant = 0;
  bool ZeroSizeImage = false;
  // The size asked for while one side is still 0 (no pixels yet): setting Width, then Height,
  // must give a bitmap of both.
  int EmptyWidth = 0;
  int EmptyHeight = 0;
  // The image in a format QPainter draws on.
  QImage& Drawable();
};

struct TIconImage {
  QImage Image;  // Format_ARGB32; the AND mask is in the alpha channel
};

// The bitmap's pixels, ready to draw on (marks nothing as modified: call Changed yourself).
QImage& BitmapImage(TBitmap* bitmap);
// Any graphic as an image of its size (transparent parts with alpha 0); null when empty.
QImage ToQImage(TGraphic* graphic);
QPixmap ToQPixmap(TGraphic* graphic);
// Replaces the bitmap's pixels with image (pfDevice, or pf32bit for images with alpha).
void AssignQImage(TBitmap* bitmap, const QImage& image);
