// The Qt side of the Graphics unit: application, colours, fonts and the canvas.
#include "QtGraphics.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QPainter>
#include <QPolygon>
#include <cmath>
#include <optional>

QApplication* EnsureQtApplication() {
  if (!QCoreApplication::instance()) {
    static int argc = 1;
    static char arg0[] = "kvkit";
    static char* argv[] = {arg0, nullptr};
    new QApplication(argc, argv);  // lives as long as the process
  }
  return qobject_cast<QApplication*>(QCoreApplication::instance());
}

QColor ToQColor(TColor color) {
  if (color == clNone) return QColor(Qt::transparent);
  if (color == clDefault) color = clWindowText;
  TColor c = ColorToRGB(color);
  return QColor(GetRValue(c), GetGValue(c), GetBValue(c));
}

TColor FromQColor(const QColor& color) { return RGB(color.red(), color.green(), color.blue()); }

namespace {
// The faces of Windows form files, drawn with an installed clone of their metrics so that
// text keeps the width and height it was laid out for (README: Fonts). Look-alikes of other
// metrics (Nimbus Sans, DejaVu Sans) would clip centred captions or grow rows.
void SubstituteWindowsFaces() {
  static const bool done = [] {
    QFont::insertSubstitutions("MS Sans Serif", {"Liberation Sans", "Arimo"});
    QFont::insertSubstitutions("Arial", {"Liberation Sans", "Arimo"});
    QFont::insertSubstitutions("Times New Roman", {"Liberation Serif", "Tinos"});
    QFont::insertSubstitutions("Courier New", {"Liberation Mono", "Cousine"});
    return true;
  }();
  (void)done;
}
}  // namespace

QFont ToQFont(const TFont& font) {
  SubstituteWindowsFaces();
  QFont f(QString::fromStdString(font.GetName()));
  int h = font.GetHeight();
  // A positive height counts the internal leading, which is about a sixth of the cell.
  int pixels = h < 0 ? -h : h > 0 ? MulDiv(h, 5, 6) : 11;
  f.setPixelSize(std::max(1, pixels));
  TFontStyles s = font.GetStyle();
  f.setBold(s.Contains(fsBold));
  f.setItalic(s.Contains(fsItalic));
  f.setUnderline(s.Contains(fsUnderline));
  f.setStrikeOut(s.Contains(fsStrikeOut));
  if (font.GetPitch() == fpFixed) {
    f.setFixedPitch(true);
    f.setStyleHint(QFont::TypeWriter);
  }
  return f;
}

void ApplyFont(TFont* font, const QFont& qfont) {
  font->SetName(qfont.family().toStdString());
  if (qfont.pixelSize() > 0) font->SetHeight(-qfont.pixelSize());
  else font->SetHeight(-static_cast<int>(qfont.pointSizeF() * font->PixelsPerInch / 72 + 0.5));
  TFontStyles s;
  if (qfont.bold()) s.Include(fsBold);
  if (qfont.italic()) s.Include(fsItalic);
  if (qfont.underline()) s.Include(fsUnderline);
  if (qfont.strikeOut()) s.Include(fsStrikeOut);
  font->SetStyle(s);
  font->SetPitch(qfont.fixedPitch() ? fpFixed : fpDefault);
}

// ---------------------------------------------------------------------------------------------
TPainterCanvasScope::TPainterCanvasScope(TCanvas* canvas, QPainter* painter)
    : FCanvas(canvas), FSaved(canvas->Backend()->Painter) {
  canvas->Backend()->Painter = painter;
}

TPainterCanvasScope::~TPainterCanvasScope() { FCanvas->Backend()->Painter = FSaved; }

QImage NewOverlayImage(int width, int height) {
  QImage image(std::max(width, 0), std::max(height, 0), QImage::Format_RGB32);
  image.fill(Qt::black);
  return image;
}

void DrawOverlay(QPainter& painter, const QImage& overlay, int x, int y) {
  painter.save();
  painter.setCompositionMode(QPainter::CompositionMode_Difference);
  painter.drawImage(x, y, overlay);
  painter.restore();
}

// ---------------------------------------------------------------------------------------------
// TCanvas
namespace {

// The outline of a shape from (x1, y1) to (x2, y2) exclusive, for a one-pixel pen.
// (QPainter strokes a QRect one pixel wider and taller than the QRect itself.)
QRect OutlineRect(int x1, int y1, int x2, int y2) {
  return QRect(std::min(x1, x2), std::min(y1, y2), std::abs(x2 - x1) - 1, std::abs(y2 - y1) - 1);
}

// The painter of the canvas's target for one operation, restored afterwards.
class TCanvasPaint {
 public:
  explicit TCanvasPaint(TCanvas* canvas) {
    TCanvasBackend* b = canvas->Backend();
    if (b->Painter) {
      FPainter = b->Painter;
      FPainter->save();
    } else if (b->Image) {
      QImage* image = b->Image();
      if (image && !image->isNull()) FPainter = &FOwn.emplace(image);  // an empty bitmap takes nothing
    } else {
      throw EInvalidOperation(SNoCanvasHandle);
    }
  }
  ~TCanvasPaint() {
    if (FPainter && !FOwn) FPainter->restore();
  }
  TCanvasPaint(const TCanvasPaint&) = delete;
  TCanvasPaint& operator=(const TCanvasPaint&) = delete;
  QPainter* operator->() const { return FPainter; }
  QPainter& operator*() const { return *FPainter; }
  explicit operator bool() const { return FPainter != nullptr; }

 private:
  std::optional<QPainter> FOwn;
  QPainter* FPainter = nullptr;
};

// The image a canvas draws on, for reading pixels: its image target, or the image under its
// painter. Sets `transform` to the painter's mapping to device pixels.
const QImage* TargetImage(const TCanvas* canvas, QTransform& transform) {
  const TCanvasBackend* b = canvas->Backend();
  if (b->Painter) {
    QPaintDevice* d = b->Painter->device();
    if (!d || d->devType() != QInternal::Image) return nullptr;
    transform = b->Painter->deviceTransform();
    return static_cast<const QImage*>(d);
  }
  transform = QTransform();
  return b->Image ? b->Image() : nullptr;
}

// pmNop: nothing to draw.
bool ApplyPenMode(QPainter& p, TPenMode mode) {
  switch (mode) {
    case pmBlack: p.setCompositionMode(QPainter::RasterOp_ClearDestination); break;
    case pmWhite: p.setCompositionMode(QPainter::RasterOp_SetDestination); break;
    case pmNop: return false;
    case pmNot: p.setCompositionMode(QPainter::RasterOp_NotDestination); break;
    case pmCopy: p.setCompositionMode(QPainter::CompositionMode_SourceOver); break;
    case pmNotCopy: p.setCompositionMode(QPainter::RasterOp_NotSource); break;
    case pmMergePenNot: p.setCompositionMode(QPainter::RasterOp_SourceOrNotDestination); break;
    case pmMaskPenNot: p.setCompositionMode(QPainter::RasterOp_SourceAndNotDestination); break;
    case pmMergeNotPen: p.setCompositionMode(QPainter::RasterOp_NotSourceOrDestination); break;
    case pmMaskNotPen: p.setCompositionMode(QPainter::RasterOp_NotSourceAndDestination); break;
    case pmMerge: p.setCompositionMode(QPainter::RasterOp_SourceOrDestination); break;
    case pmNotMerge: p.setCompositionMode(QPainter::RasterOp_NotSourceAndNotDestination); break;
    case pmMask: p.setCompositionMode(QPainter::RasterOp_SourceAndDestination); break;
    case pmNotMask: p.setCompositionMode(QPainter::RasterOp_NotSourceOrNotDestination); break;
    case pmXor: p.setCompositionMode(QPainter::RasterOp_SourceXorDestination); break;
    case pmNotXor: p.setCompositionMode(QPainter::RasterOp_NotSourceXorDestination); break;
  }
  return true;
}

// Copy modes that the raster engine can do; the pattern ones copy the source.
void ApplyCopyMode(QPainter& p, TCopyMode mode) {
  QPainter::CompositionMode m = QPainter::CompositionMode_SourceOver;
  switch (mode) {
    case cmBlackness: m = QPainter::RasterOp_ClearDestination; break;
    case cmWhiteness: m = QPainter::RasterOp_SetDestination; break;
    case cmDstInvert: m = QPainter::RasterOp_NotDestination; break;
    case cmNotSrcCopy: m = QPainter::RasterOp_NotSource; break;
    case cmSrcAnd: m = QPainter::RasterOp_SourceAndDestination; break;
    case cmSrcPaint: m = QPainter::RasterOp_SourceOrDestination; break;
    case cmSrcInvert: m = QPainter::RasterOp_SourceXorDestination; break;
    case cmSrcErase: m = QPainter::RasterOp_SourceAndNotDestination; break;
    case cmNotSrcErase: m = QPainter::RasterOp_NotSourceAndNotDestination; break;
    case cmMergePaint: m = QPainter::RasterOp_NotSourceOrDestination; break;
    default: break;
  }
  p.setCompositionMode(m);
}

QPen ToQPen(const TPen* pen) {
  static const Qt::PenStyle styles[] = {Qt::SolidLine,      Qt::DashLine, Qt::DotLine,  Qt::DashDotLine,
                                        Qt::DashDotDotLine, Qt::NoPen,    Qt::SolidLine};
  QPen p(ToQColor(pen->GetColor()));
  p.setStyle(styles[pen->GetStyle()]);
  p.setWidth(std::max(1, pen->GetWidth()));
  // A flat cap leaves out a line's last pixel, as GDI does.
  p.setCapStyle(Qt::FlatCap);
  p.setJoinStyle(Qt::MiterJoin);
  return p;
}

QBrush ToQBrush(const TBrush* brush) {
  if (TBitmap* b = brush->GetBitmap()) return QBrush(BitmapImage(b));
  static const Qt::BrushStyle styles[] = {Qt::SolidPattern, Qt::NoBrush,      Qt::HorPattern,   Qt::VerPattern,
                                          Qt::FDiagPattern, Qt::BDiagPattern, Qt::CrossPattern, Qt::DiagCrossPattern};
  return QBrush(ToQColor(brush->GetColor()), styles[brush->GetStyle()]);
}

}  // namespace

TCanvas::TCanvas() : FFont(new TFont), FPen(new TPen), FBrush(new TBrush), FBackend(new TCanvasBackend) {}

TCanvas::~TCanvas() {
  delete FFont;
  delete FPen;
  delete FBrush;
}

bool TCanvas::CanDraw() const { return FBackend->Painter || FBackend->Image; }

// Runs draw with a painter set up with the pen, brush and pen mode.
#define KV_CANVAS_SHAPE(draw)                     \
  Changing();                                     \
  {                                               \
    TCanvasPaint p(this);                         \
    if (p && ApplyPenMode(*p, FPen->GetMode())) { \
      p->setPen(ToQPen(FPen));                    \
      p->setBrush(ToQBrush(FBrush));              \
      draw;                                       \
    }                                             \
  }                                               \
  Changed()

void TCanvas::LineTo(int x, int y) {
  KV_CANVAS_SHAPE(p->drawLine(FPenPos.X, FPenPos.Y, x, y));
  FPenPos = {x, y};
}

void TCanvas::Rectangle(int x1, int y1, int x2, int y2) { KV_CANVAS_SHAPE(p->drawRect(OutlineRect(x1, y1, x2, y2))); }

void TCanvas::Ellipse(int x1, int y1, int x2, int y2) { KV_CANVAS_SHAPE(p->drawEllipse(OutlineRect(x1, y1, x2, y2))); }

void TCanvas::RoundRect(int x1, int y1, int x2, int y2, int x3, int y3) {
  KV_CANVAS_SHAPE(p->drawRoundedRect(OutlineRect(x1, y1, x2, y2), x3 / 2.0, y3 / 2.0));
}

void TCanvas::Pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
  // Angles of the radials on the ellipse scaled to a circle, counter-clockwise, y up.
  const double cx = (x1 + x2) / 2.0, cy = (y1 + y2) / 2.0;
  const double rx = std::max(std::abs(x2 - x1) / 2.0, 0.5), ry = std::max(std::abs(y2 - y1) / 2.0, 0.5);
  auto angle = [&](int x, int y) { return std::atan2(-(y - cy) / ry, (x - cx) / rx) * 180 / M_PI; };
  const double start = angle(x3, y3);
  double span = angle(x4, y4) - start;
  while (span <= 0) span += 360;
  KV_CANVAS_SHAPE(p->drawPie(OutlineRect(x1, y1, x2, y2), static_cast<int>(std::lround(start * 16)),
                             static_cast<int>(std::lround(span * 16))));
}

namespace {
QPolygon ToQPolygon(const std::vector<TPoint>& points) {
  QPolygon poly;
  poly.reserve(static_cast<int>(points.size()));
  for (const TPoint& pt : points) poly << QPoint(pt.X, pt.Y);
  return poly;
}
}  // namespace

void TCanvas::Polygon(const std::vector<TPoint>& points) { KV_CANVAS_SHAPE(p->drawPolygon(ToQPolygon(points))); }

void TCanvas::Polyline(const std::vector<TPoint>& points) {
  KV_CANVAS_SHAPE(p->setBrush(Qt::NoBrush); p->drawPolyline(ToQPolygon(points)));
}

#undef KV_CANVAS_SHAPE

void TCanvas::FillRect(const TRect& r) {
  Changing();
  {
    TCanvasPaint p(this);
    if (p) p->fillRect(ToQRect(r), ToQBrush(FBrush));
  }
  Changed();
}

void TCanvas::FrameRect(const TRect& r) {
  if (IsRectEmpty(r)) return;
  Changing();
  {
    TCanvasPaint p(this);
    if (p) {
      QBrush b = ToQBrush(FBrush);
      QRect q = ToQRect(r);
      p->fillRect(QRect(q.left(), q.top(), q.width(), 1), b);
      p->fillRect(QRect(q.left(), q.bottom(), q.width(), 1), b);
      p->fillRect(QRect(q.left(), q.top() + 1, 1, q.height() - 2), b);
      p->fillRect(QRect(q.right(), q.top() + 1, 1, q.height() - 2), b);
    }
  }
  Changed();
}

void TCanvas::DrawFocusRect(const TRect& r) {
  if (IsRectEmpty(r)) return;
  Changing();
  {
    TCanvasPaint p(this);
    if (p) {
      // Every other pixel along the frame, inverted.
      QPen pen(Qt::white);
      pen.setWidth(1);
      pen.setDashPattern({1, 1});
      pen.setCapStyle(Qt::FlatCap);
      p->setCompositionMode(QPainter::RasterOp_SourceXorDestination);
      p->setPen(pen);
      p->setBrush(Qt::NoBrush);
      p->drawRect(OutlineRect(r.Left, r.Top, r.Right, r.Bottom));
    }
  }
  Changed();
}

TSize TCanvas::TextExtent(const std::string& text) const {
  EnsureQtApplication();
  QFontMetrics fm(ToQFont(*FFont));
  return {fm.horizontalAdvance(QString::fromStdString(text)), fm.height()};
}

void TCanvas::TextOut(int x, int y, const std::string& text) {
  EnsureQtApplication();
  QFont font = ToQFont(*FFont);
  QFontMetrics fm(font);
  QString s = QString::fromStdString(text);
  int w = fm.horizontalAdvance(s);
  Changing();
  {
    TCanvasPaint p(this);
    if (p) {
      if (FBrush->GetStyle() != bsClear) p->fillRect(QRect(x, y, w, fm.height()), ToQColor(FBrush->GetColor()));
      p->setFont(font);
      p->setPen(ToQColor(FFont->GetColor()));
      p->drawText(x, y + fm.ascent(), s);
    }
  }
  FPenPos = {x + w, y};
  Changed();
}

void TCanvas::TextRect(const TRect& rect, int x, int y, const std::string& text) {
  EnsureQtApplication();
  QFont font = ToQFont(*FFont);
  QFontMetrics fm(font);
  Changing();
  {
    TCanvasPaint p(this);
    if (p) {
      QRect clip = ToQRect(rect);
      if (FBrush->GetStyle() != bsClear) p->fillRect(clip, ToQColor(FBrush->GetColor()));
      p->setClipRect(clip, Qt::IntersectClip);
      p->setFont(font);
      p->setPen(ToQColor(FFont->GetColor()));
      p->drawText(x, y + fm.ascent(), QString::fromStdString(text));
    }
  }
  Changed();
}

void CanvasDrawImage(TCanvas* canvas, const TRect& rect, const QImage& image, bool useCopyMode) {
  if (image.isNull() || IsRectEmpty(rect)) return;
  TCanvasPaint p(canvas);
  if (!p) return;
  if (useCopyMode) ApplyCopyMode(*p, canvas->GetCopyMode());
  if (rect.Width() == image.width() && rect.Height() == image.height()) p->drawImage(rect.Left, rect.Top, image);
  else p->drawImage(ToQRect(rect), image);
}

void TCanvas::Draw(int x, int y, TGraphic* graphic) {
  if (!graphic || graphic->Empty()) return;
  StretchDraw(Bounds(x, y, graphic->GetWidth(), graphic->GetHeight()), graphic);
}

void TCanvas::StretchDraw(const TRect& rect, TGraphic* graphic) {
  if (!graphic || graphic->Empty()) return;
  Changing();
  graphic->Draw(this, rect);
  Changed();
}

void TCanvas::CopyRect(const TRect& dest, TCanvas* canvas, const TRect& source) {
  QTransform t;
  const QImage* src = TargetImage(canvas, t);
  if (!src) throw EInvalidOperation(SNoCanvasHandle);
  // A copy first: the source may be this canvas's own image.
  QImage part = src->copy(t.mapRect(ToQRect(source)));
  Changing();
  CanvasDrawImage(this, dest, part, true);
  Changed();
}

TColor TCanvas::GetPixel(int x, int y) const {
  QTransform t;
  const QImage* image = TargetImage(this, t);
  if (!image) return -1;
  QPoint at = t.map(QPoint(x, y));
  if (!image->valid(at)) return -1;
  QRgb c = image->pixel(at);
  return RGB(qRed(c), qGreen(c), qBlue(c));
}

void TCanvas::SetPixel(int x, int y, TColor color) {
  Changing();
  if (!FBackend->Painter && FBackend->Image) {
    // Straight into the pixels: grids of dots set one at a time stay fast.
    QImage* image = FBackend->Image();
    if (image && image->valid(x, y)) image->setPixel(x, y, ToQColor(color).rgb());
  } else {
    TCanvasPaint p(this);
    if (p) {
      p->setPen(ToQColor(color));
      p->drawPoint(x, y);
    }
  }
  Changed();
}

TRect TCanvas::ClipRect() const {
  QRect r;
  if (QPainter* p = FBackend->Painter) {
    r = p->hasClipping() ? p->clipBoundingRect().toAlignedRect()
        : p->device()    ? QRect(0, 0, p->device()->width(), p->device()->height())
                         : QRect();
  } else if (FBackend->Image) {
    if (const QImage* image = FBackend->Image()) r = image->rect();
  }
  return r.isEmpty() ? TRect{} : Rect(r.left(), r.top(), r.right() + 1, r.bottom() + 1);
}

void GetFontNames(const std::function<void(const std::string&)>& proc) {
  EnsureQtApplication();
  for (const QString& family : QFontDatabase::families()) proc(family.toStdString());
}
