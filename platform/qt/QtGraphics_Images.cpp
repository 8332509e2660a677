// Bitmaps (the DIB codec), icons and the toolkit-decoded image formats.
#include <QBuffer>
#include <QGuiApplication>
#include <QHash>
#include <QImageReader>
#include <QPainter>
#include <cstring>

#include "QtGraphics.h"

namespace {

// Caps on what a file may make us allocate: 64M pixels, and 16M for run-length data, which can
// describe any size in a few bytes.
constexpr int64_t kMaxPixels = int64_t(1) << 26;
constexpr int64_t kMaxRlePixels = int64_t(1) << 24;

constexpr uint32_t BI_RGB = 0, BI_RLE8 = 1, BI_RLE4 = 2, BI_BITFIELDS = 3;

uint16_t U16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
uint32_t U32(const uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24; }

const uint8_t* Data(const std::string& s) { return reinterpret_cast<const uint8_t*>(s.data()); }

QList<QRgb> DefaultPalette(TPixelFormat pf) {
  static const QRgb vga[16] = {0xFF000000, 0xFF800000, 0xFF008000, 0xFF808000, 0xFF000080, 0xFF800080,
                               0xFF008080, 0xFFC0C0C0, 0xFF808080, 0xFFFF0000, 0xFF00FF00, 0xFFFFFF00,
                               0xFF0000FF, 0xFFFF00FF, 0xFF00FFFF, 0xFFFFFFFF};
  if (pf == pf1bit) return {0xFF000000, 0xFFFFFFFF};
  QList<QRgb> p(std::begin(vga), std::end(vga));
  if (pf == pf8bit) {
    for (int r = 0; r < 6; ++r)
      for (int g = 0; g < 6; ++g)
        for (int b = 0; b < 6; ++b) p << qRgb(r * 51, g * 51, b * 51);
    for (int i = 1; p.size() < 256; ++i) p << qRgb(i * 10, i * 10, i * 10);
  }
  return p;
}

int BitsPerPixel(TPixelFormat pf) {
  switch (pf) {
    case pf1bit: return 1;
    case pf4bit: return 4;
    case pf8bit: return 8;
    case pf15bit:
    case pf16bit: return 16;
    case pf32bit: return 32;
    default: return 24;
  }
}

bool IsIndexed(TPixelFormat pf) { return pf == pf1bit || pf == pf4bit || pf == pf8bit; }

// Palette indices of image's pixels: the same colour gets its first entry, others the nearest.
class TPaletteMapper {
 public:
  explicit TPaletteMapper(const QList<QRgb>& palette) : FPalette(palette) {}
  int Index(QRgb c) {
    c |= 0xFF000000;
    auto it = FCache.constFind(c);
    if (it != FCache.constEnd()) return *it;
    int best = 0;
    int bestDist = INT32_MAX;
    for (int i = 0; i < FPalette.size() && bestDist; ++i) {
      int dr = qRed(c) - qRed(FPalette[i]), dg = qGreen(c) - qGreen(FPalette[i]), db = qBlue(c) - qBlue(FPalette[i]);
      int d = dr * dr + dg * dg + db * db;
      if (d < bestDist) {
        bestDist = d;
        best = i;
      }
    }
    FCache.insert(c, best);
    return best;
  }

 private:
  const QList<QRgb>& FPalette;
  QHash<QRgb, int> FCache;
};

// An Indexed8 image with the palette padded to 256 entries, so that any index reads safely.
QImage NewIndexedImage(int w, int h, const QList<QRgb>& palette) {
  QImage img(w, h, QImage::Format_Indexed8);
  QList<QRgb> table = palette;
  while (table.size() < 256) table << qRgb(0, 0, 0);
  img.setColorTable(table);
  img.fill(0);
  return img;
}

QImage ToIndexed(const QImage& src, const QList<QRgb>& palette) {
  QImage img = NewIndexedImage(src.width(), src.height(), palette);
  TPaletteMapper map(palette);
  for (int y = 0; y < src.height(); ++y) {
    uint8_t* line = img.scanLine(y);
    for (int x = 0; x < src.width(); ++x) line[x] = static_cast<uint8_t>(map.Index(src.pixel(x, y)));
  }
  return img;
}

// ---------------------------------------------------------------------------------------------
// Reading device-independent bitmaps.
struct TDibHeader {
  int Width = 0;
  int Height = 0;
  bool TopDown = false;
  int BitCount = 0;
  uint32_t Compression = BI_RGB;
  uint32_t Masks[4] = {};  // red, green, blue, alpha
  int32_t XPels = 0, YPels = 0;
  uint32_t ClrUsed = 0, ClrImportant = 0, SizeImage = 0;
  size_t PaletteAt = 0;  // offset of the palette (after the header and any masks)
  size_t PaletteEntries = 0;
  size_t EntrySize = 4;
};

// Header and palette position of the DIB at p[0..n); icons have double height (XOR + AND).
TDibHeader ParseDibHeader(const uint8_t* p, size_t n, bool icon, const char* error) {
  TDibHeader h;
  if (n < 12) throw EInvalidGraphic(error);
  uint32_t size = U32(p);
  if (size == 12) {  // OS/2 BITMAPCOREHEADER
    h.Width = U16(p + 4);
    h.Height = U16(p + 6);
    h.BitCount = U16(p + 10);
    h.EntrySize = 3;
  } else if (size >= 40 && size <= 124 && size <= n) {
    h.Width = static_cast<int32_t>(U32(p + 4));
    int32_t height = static_cast<int32_t>(U32(p + 8));
    h.TopDown = height < 0;
    h.Height = height == INT32_MIN ? 0 : std::abs(height);
    h.BitCount = U16(p + 14);
    h.Compression = U32(p + 16);
    h.SizeImage = U32(p + 20);
    h.XPels = static_cast<int32_t>(U32(p + 24));
    h.YPels = static_cast<int32_t>(U32(p + 28));
    h.ClrUsed = U32(p + 32);
    h.ClrImportant = U32(p + 36);
  } else {
    throw EInvalidGraphic(error);
  }
  h.PaletteAt = size;
  if (icon) h.Height /= 2;
  bool rle = h.Compression == BI_RLE8 || h.Compression == BI_RLE4;
  bool validDepth =
      h.BitCount == 1 || h.BitCount == 4 || h.BitCount == 8 || h.BitCount == 16 || h.BitCount == 24 || h.BitCount == 32;
  bool validCompression = h.Compression == BI_RGB || (h.Compression == BI_RLE8 && h.BitCount == 8) ||
                          (h.Compression == BI_RLE4 && h.BitCount == 4) ||
                          (h.Compression == BI_BITFIELDS && (h.BitCount == 16 || h.BitCount == 32));
  if (!validDepth || !validCompression || h.Width <= 0 || h.Height <= 0 || (rle && h.TopDown) ||
      int64_t(h.Width) * h.Height > (rle ? kMaxRlePixels : kMaxPixels))
    throw EInvalidGraphic(error);

  if (h.Compression == BI_BITFIELDS) {
    size_t at = size >= 52 ? 40 : size;  // inside a V4/V5 header, else right after it
    size_t count = size >= 56 ? 4 : 3;
    if (at + count * 4 > n) throw EInvalidGraphic(error);
    for (size_t i = 0; i < count; ++i) h.Masks[i] = U32(p + at + i * 4);
    if (size < 52) h.PaletteAt += 12;
  } else if (h.BitCount == 16) {
    h.Masks[0] = 0x7C00, h.Masks[1] = 0x03E0, h.Masks[2] = 0x001F;
  } else if (h.BitCount == 32) {
    h.Masks[0] = 0xFF0000, h.Masks[1] = 0xFF00, h.Masks[2] = 0xFF, h.Masks[3] = 0xFF000000;
  }
  if (h.BitCount <= 8) {
    size_t full = size_t(1) << h.BitCount;
    if (h.ClrUsed > full) throw EInvalidGraphic(error);
    h.PaletteEntries = h.ClrUsed ? h.ClrUsed : full;
  } else if (h.EntrySize == 4) {
    h.PaletteEntries = h.ClrUsed;  // an optional palette for display, skipped
  }
  if (h.PaletteEntries > (n - std::min(n, h.PaletteAt)) / h.EntrySize) throw EInvalidGraphic(error);
  return h;
}

// A channel under mask, scaled to 0..255.
struct TChannel {
  uint32_t Mask = 0;
  int Shift = 0;
  uint32_t Max = 0;
  explicit TChannel(uint32_t mask) : Mask(mask) {
    if (!mask) return;
    while (!(mask & 1)) mask >>= 1, ++Shift;
    Max = mask;
  }
  int Get(uint32_t v) const { return Max ? static_cast<int>((((v & Mask) >> Shift) * 255 + Max / 2) / Max) : 0; }
};

TPixelFormat FormatOf(const TDibHeader& h) {
  switch (h.BitCount) {
    case 1: return pf1bit;
    case 4: return pf4bit;
    case 8: return pf8bit;
    case 16: return h.Masks[0] == 0xF800 && h.Masks[1] == 0x07E0 && h.Masks[2] == 0x001F ? pf16bit : pf15bit;
    case 24: return pf24bit;
    default: return pf32bit;
  }
}

void DecodeRle(const uint8_t* p, size_t n, bool rle4, QImage& img, const char* error) {
  const int w = img.width(), h = img.height();
  int x = 0, y = 0;  // y counts up from the bottom row
  auto put = [&](int index) {
    if (x < w && y < h) img.scanLine(h - 1 - y)[x] = static_cast<uint8_t>(index);
    ++x;
  };
  auto nibble = [](uint8_t b, int k) { return k % 2 == 0 ? b >> 4 : b & 15; };
  size_t i = 0;
  while (y < h) {
    if (i + 2 > n) throw EInvalidGraphic(error);
    uint8_t count = p[i], code = p[i + 1];
    i += 2;
    if (count) {
      for (int k = 0; k < count; ++k) put(rle4 ? nibble(code, k) : code);
    } else if (code == 0) {
      x = 0;
      ++y;
    } else if (code == 1) {
      break;
    } else if (code == 2) {
      if (i + 2 > n) throw EInvalidGraphic(error);
      x += p[i];
      y += p[i + 1];
      i += 2;
    } else {
      size_t bytes = rle4 ? (code + 1) / 2 : code;
      if (i + bytes > n) throw EInvalidGraphic(error);
      for (int k = 0; k < code; ++k) put(rle4 ? nibble(p[i + k / 2], k) : p[i + k]);
      i += (bytes + 1) & ~size_t(1);  // runs end on a word boundary
    }
  }
}

// Decodes the DIB at p[0..n) whose bits start at bitsAt (0: right after the palette). Icons
// take their AND mask into the alpha channel.
TBitmapImage DecodeDib(const uint8_t* p, size_t n, size_t bitsAt, bool icon, const char* error) {
  TDibHeader h = ParseDibHeader(p, n, icon, error);
  TBitmapImage out;
  out.PixelFormat = FormatOf(h);
  out.XPelsPerMeter = h.XPels;
  out.YPelsPerMeter = h.YPels;
  out.ClrUsed = h.ClrUsed;
  out.ClrImportant = h.ClrImportant;
  out.ZeroSizeImage = h.SizeImage == 0;
  if (h.BitCount <= 8) {
    for (size_t i = 0; i < h.PaletteEntries; ++i) {
      const uint8_t* e = p + h.PaletteAt + i * h.EntrySize;
      out.Palette << qRgb(e[2], e[1], e[0]);
    }
  }
  size_t paletteEnd = h.PaletteAt + h.PaletteEntries * h.EntrySize;
  if (bitsAt == 0) bitsAt = paletteEnd;
  if (bitsAt < h.PaletteAt || bitsAt > n) throw EInvalidGraphic(error);
  const uint8_t* bits = p + bitsAt;
  size_t avail = n - bitsAt;
  const int w = h.Width, ht = h.Height;

  if (h.Compression == BI_RLE8 || h.Compression == BI_RLE4) {
    out.Image = NewIndexedImage(w, ht, out.Palette);
    DecodeRle(bits, avail, h.Compression == BI_RLE4, out.Image, error);
    return out;
  }
  const size_t row = (size_t(w) * h.BitCount + 31) / 32 * 4;
  if (row * ht > avail) throw EInvalidGraphic(error);
  auto fileRow = [&](int y) { return bits + row * size_t(h.TopDown ? y : ht - 1 - y); };

  if (h.BitCount <= 8) {
    out.Image = NewIndexedImage(w, ht, out.Palette);
    const int bpp = h.BitCount, perByte = 8 / bpp, mask = (1 << bpp) - 1;
    for (int y = 0; y < ht; ++y) {
      const uint8_t* src = fileRow(y);
      uint8_t* dst = out.Image.scanLine(y);
      for (int x = 0; x < w; ++x) {
        int shift = 8 - bpp * (x % perByte + 1);
        dst[x] = static_cast<uint8_t>((src[x / perByte] >> shift) & mask);
      }
    }
  } else {
    const TChannel r(h.Masks[0]), g(h.Masks[1]), b(h.Masks[2]), a(h.Masks[3]);
    auto pixel = [&](const uint8_t* src, int x) { return h.BitCount == 16 ? U16(src + x * 2) : U32(src + x * 4); };
    // Most 32-bit files leave the fourth byte zero: that is no alpha at all.
    bool alpha = false;
    for (int y = 0; y < ht && h.BitCount != 24 && a.Max && !alpha; ++y)
      for (int x = 0; x < w && !alpha; ++x) alpha = a.Get(pixel(fileRow(y), x)) != 0;
    out.Image = QImage(w, ht, alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    for (int y = 0; y < ht; ++y) {
      const uint8_t* src = fileRow(y);
      auto* dst = reinterpret_cast<QRgb*>(out.Image.scanLine(y));
      for (int x = 0; x < w; ++x) {
        if (h.BitCount == 24) {
          const uint8_t* s = src + x * 3;
          dst[x] = qRgb(s[2], s[1], s[0]);
        } else {
          uint32_t v = pixel(src, x);
          dst[x] = qRgba(r.Get(v), g.Get(v), b.Get(v), alpha ? a.Get(v) : 255);
        }
      }
    }
  }

  if (icon) {
    QImage img = out.Image.convertToFormat(QImage::Format_ARGB32);
    const size_t maskRow = (size_t(w) + 31) / 32 * 4;
    const uint8_t* mask = bits + row * ht;
    bool hasAlpha = out.Image.format() == QImage::Format_ARGB32;
    // Icons without a mask (or with alpha, which wins over it) are shown as they are.
    if (!hasAlpha && maskRow * ht <= avail - row * ht) {
      for (int y = 0; y < ht; ++y) {
        const uint8_t* m = mask + maskRow * size_t(ht - 1 - y);
        auto* dst = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < w; ++x)
          if (m[x / 8] & (0x80 >> (x % 8))) dst[x] = 0;
      }
    }
    out.Image = img;
  }
  return out;
}

TBitmapImage DecodeBmpFile(const uint8_t* p, size_t n) {
  if (n < 14 || p[0] != 'B' || p[1] != 'M') throw EInvalidGraphic(SInvalidBitmap);
  uint32_t offBits = U32(p + 10);
  if (offBits != 0 && offBits < 14) throw EInvalidGraphic(SInvalidBitmap);
  return DecodeDib(p + 14, n - 14, offBits ? offBits - 14 : 0, false, SInvalidBitmap);
}

// ---------------------------------------------------------------------------------------------
// Writing: a BITMAPFILEHEADER and a BITMAPINFOHEADER in the bitmap's own pixel format.
class TByteWriter {
 public:
  std::string Out;
  void U8(uint8_t v) { Out += static_cast<char>(v); }
  void W16(uint16_t v) { U8(v & 0xFF), U8(v >> 8); }
  void W32(uint32_t v) { W16(v & 0xFFFF), W16(v >> 16); }
};

std::string EncodeBmp(const TBitmapImage& bi) {
  const QImage& img = bi.Image;
  const int w = img.width(), h = img.height();
  const int bpp = BitsPerPixel(bi.PixelFormat);
  const bool bitfields = bi.PixelFormat == pf16bit;
  const QList<QRgb> palette = bpp <= 8 ? bi.Palette : QList<QRgb>();
  const uint32_t row = (uint32_t(w) * bpp + 31) / 32 * 4;
  const uint32_t offBits = 14 + 40 + (bitfields ? 12 : 0) + uint32_t(palette.size()) * 4;
  const uint32_t imageSize = row * uint32_t(h);
  const bool fullPalette = bpp <= 8 && palette.size() == (1 << bpp);
  const uint32_t clrUsed = bpp > 8 || (fullPalette && bi.ClrUsed != uint32_t(palette.size())) ? 0 : palette.size();

  TByteWriter o;
  o.Out.reserve(offBits + imageSize);
  o.U8('B'), o.U8('M'), o.W32(offBits + imageSize), o.W32(0), o.W32(offBits);
  o.W32(40), o.W32(w), o.W32(h), o.W16(1), o.W16(bpp), o.W32(bitfields ? BI_BITFIELDS : BI_RGB);
  o.W32(bi.ZeroSizeImage ? 0 : imageSize), o.W32(bi.XPelsPerMeter), o.W32(bi.YPelsPerMeter);
  o.W32(clrUsed), o.W32(bi.ClrImportant);
  if (bitfields) o.W32(0xF800), o.W32(0x07E0), o.W32(0x001F);
  for (QRgb c : palette) o.U8(qBlue(c)), o.U8(qGreen(c)), o.U8(qRed(c)), o.U8(0);

  const bool indices = bpp <= 8 && img.format() == QImage::Format_Indexed8;
  const bool alpha = img.hasAlphaChannel();
  TPaletteMapper map(palette);
  std::string line(row, '\0');
  for (int y = h - 1; y >= 0; --y) {
    std::fill(line.begin(), line.end(), '\0');
    auto* dst = reinterpret_cast<uint8_t*>(line.data());
    for (int x = 0; x < w; ++x) {
      if (bpp <= 8) {
        int index = indices ? img.constScanLine(y)[x] : map.Index(img.pixel(x, y));
        int perByte = 8 / bpp;
        dst[x / perByte] |= static_cast<uint8_t>(index << (8 - bpp * (x % perByte + 1)));
        continue;
      }
      QRgb c = img.pixel(x, y);
      if (bpp == 16) {
        uint16_t v = bitfields ? ((qRed(c) >> 3) << 11 | (qGreen(c) >> 2) << 5 | qBlue(c) >> 3)
                               : ((qRed(c) >> 3) << 10 | (qGreen(c) >> 3) << 5 | qBlue(c) >> 3);
        dst[x * 2] = v & 0xFF, dst[x * 2 + 1] = v >> 8;
      } else {
        uint8_t* d = dst + x * (bpp / 8);
        d[0] = qBlue(c), d[1] = qGreen(c), d[2] = qRed(c);
        if (bpp == 32) d[3] = alpha ? qAlpha(c) : 0;
      }
    }
    o.Out += line;
  }
  return o.Out;
}

// The image a bitmap shows: its pixels, with the transparent colour cleared when it is transparent.
QImage ShownImage(const TBitmap* bitmap) {
  const QImage& img = bitmap->Image().Image;
  if (!bitmap->GetTransparent() || img.isNull()) return img;
  QImage out = img.convertToFormat(QImage::Format_ARGB32);
  QRgb key = ToQColor(bitmap->GetTransparentColor()).rgb() & 0xFFFFFF;
  for (int y = 0; y < out.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
    for (int x = 0; x < out.width(); ++x)
      if ((line[x] & 0xFFFFFF) == key) line[x] = 0;
  }
  return out;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// TBitmap
QImage& TBitmapImage::Drawable() {
  if (!Image.isNull() && Image.format() != QImage::Format_RGB32 && Image.format() != QImage::Format_ARGB32)
    Image = Image.convertToFormat(Image.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32);
  return Image;
}

QImage& BitmapImage(TBitmap* bitmap) { return bitmap->Image().Drawable(); }

TBitmap::TBitmap() : FImage(new TBitmapImage) {}

TBitmap::~TBitmap() { delete FCanvas; }

void TBitmap::Assign(TPersistent* source) {
  if (auto* b = Cast<TBitmap>(source)) {
    *FImage = *b->FImage;
    FTransparentColor = b->FTransparentColor;
    FTransparentMode = b->FTransparentMode;
    SetTransparent(b->GetTransparent());
    Changed();
  } else if (!source) {
    *FImage = TBitmapImage();
    Changed();
  } else if (auto* g = Cast<TGraphic>(source)) {
    AssignQImage(this, ToQImage(g));
  } else {
    TGraphic::Assign(source);
  }
}

bool TBitmap::Empty() const { return FImage->Image.isNull(); }
int TBitmap::GetWidth() const { return FImage->Image.isNull() ? FImage->EmptyWidth : FImage->Image.width(); }
int TBitmap::GetHeight() const { return FImage->Image.isNull() ? FImage->EmptyHeight : FImage->Image.height(); }
void TBitmap::SetWidth(int v) { SetSize(v, GetHeight()); }
void TBitmap::SetHeight(int v) { SetSize(GetWidth(), v); }

void TBitmap::SetSize(int width, int height) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  if (width == GetWidth() && height == GetHeight()) return;
  if (int64_t(width) * height > kMaxPixels) throw EInvalidGraphic(SInvalidImageSize);
  QImage& old = FImage->Drawable();
  QImage img;
  FImage->EmptyWidth = width;
  FImage->EmptyHeight = height;
  if (width && height) {
    img = QImage(width, height, old.isNull() ? QImage::Format_RGB32 : old.format());
    img.fill(Qt::white);
    if (!old.isNull()) {
      QPainter p(&img);
      p.setCompositionMode(QPainter::CompositionMode_Source);
      p.drawImage(0, 0, old);
    }
  }
  old = img;
  Changed();
}

TCanvas* TBitmap::Canvas() {
  if (!FCanvas) {
    FCanvas = new TCanvas;
    FCanvas->Backend()->Image = [this] { return &FImage->Drawable(); };
    FCanvas->OnChange = [this](TObject*) { Changed(); };
  }
  return FCanvas;
}

TPixelFormat TBitmap::GetPixelFormat() const { return FImage->PixelFormat; }

void TBitmap::SetPixelFormat(TPixelFormat v) {
  if (v == FImage->PixelFormat) return;
  if (v == pfCustom) throw EInvalidGraphic(SInvalidPixelFormat);
  TBitmapImage& bi = *FImage;
  bi.Palette = IsIndexed(v) ? DefaultPalette(v) : QList<QRgb>();
  if (!bi.Image.isNull()) {
    if (IsIndexed(v)) bi.Image = ToIndexed(bi.Image, bi.Palette);
    else if (v != pf32bit) bi.Image = bi.Image.convertToFormat(QImage::Format_RGB32);
  }
  bi.PixelFormat = v;
  bi.ClrUsed = bi.ClrImportant = 0;
  Changed();
}

std::vector<TColor> TBitmap::GetPalette() const {
  std::vector<TColor> out;
  for (QRgb c : FImage->Palette) out.push_back(FromQColor(QColor(c)));
  return out;
}

bool TBitmap::GetMonochrome() const { return FImage->PixelFormat == pf1bit; }

void TBitmap::SetMonochrome(bool v) {
  if (v == GetMonochrome()) return;
  SetPixelFormat(v ? pf1bit : pfDevice);
}

TColor TBitmap::GetTransparentColor() const {
  if (FTransparentMode == tmFixed) return FTransparentColor;
  if (Empty()) return clNone;
  if (GetMonochrome()) return clWhite;
  QRgb c = FImage->Image.pixel(0, GetHeight() - 1);
  return RGB(qRed(c), qGreen(c), qBlue(c));
}

void TBitmap::SetTransparentColor(TColor v) {
  FTransparentColor = v;
  FTransparentMode = v == clDefault ? tmAuto : tmFixed;
  Changed();
}

void TBitmap::SetTransparentMode(TTransparentMode v) {
  if (v == FTransparentMode) return;
  SetTransparentColor(v == tmAuto ? clDefault : GetTransparentColor());
}

void TBitmap::LoadFromStream(TStream* stream) {
  std::string bytes = ReadStreamBytes(stream, -1, SInvalidBitmap);
  *FImage = DecodeBmpFile(Data(bytes), bytes.size());
  Changed();
}

void TBitmap::SaveToStream(TStream* stream) {
  if (!Empty()) WriteStreamBytes(stream, EncodeBmp(*FImage));
}

void TBitmap::ReadData(TStream* stream) {
  std::string bytes = ReadStreamBytes(stream, -1, SInvalidBitmap);
  // Usually the file's size and the file; a bare file is taken as it is.
  if (bytes.size() >= 2 && bytes[0] == 'B' && bytes[1] == 'M') {
    *FImage = DecodeBmpFile(Data(bytes), bytes.size());
  } else {
    if (bytes.size() < 4) throw EInvalidGraphic(SInvalidBitmap);
    uint32_t size = U32(Data(bytes));
    if (size > bytes.size() - 4) throw EInvalidGraphic(SInvalidBitmap);
    *FImage = size ? DecodeBmpFile(Data(bytes) + 4, size) : TBitmapImage();
  }
  Changed();
}

void TBitmap::WriteData(TStream* stream) {
  std::string file = Empty() ? std::string() : EncodeBmp(*FImage);
  uint32_t size = static_cast<uint32_t>(file.size());
  stream->WriteBuffer(&size, 4);
  WriteStreamBytes(stream, file);
}

void TBitmap::Draw(TCanvas* canvas, const TRect& rect) { CanvasDrawImage(canvas, rect, ShownImage(this), true); }

void AssignQImage(TBitmap* bitmap, const QImage& image) {
  TBitmapImage bi;
  if (!image.isNull()) {
    if (int64_t(image.width()) * image.height() > kMaxPixels) throw EInvalidGraphic(SInvalidImageSize);
    bool alpha = image.hasAlphaChannel();
    bi.Image = image.convertToFormat(alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    bi.PixelFormat = alpha ? pf32bit : pfDevice;
  }
  bitmap->Image() = bi;
  bitmap->SetModified(true);
}

// ---------------------------------------------------------------------------------------------
// TIcon
TIcon::TIcon() : FImage(new TIconImage) {}
TIcon::~TIcon() = default;

void TIcon::Assign(TPersistent* source) {
  if (auto* i = Cast<TIcon>(source)) {
    FData = i->FData;
    *FImage = *i->FImage;
    Changed();
  } else if (!source) {
    FData.clear();
    *FImage = TIconImage();
    Changed();
  } else {
    TGraphic::Assign(source);
  }
}

int TIcon::GetWidth() const { return FImage->Image.width(); }
int TIcon::GetHeight() const { return FImage->Image.height(); }

void TIcon::SetWidth(int v) {
  if (!Empty() && v != GetWidth()) throw EInvalidGraphicOperation(SChangeIconSize);
}

void TIcon::SetHeight(int v) {
  if (!Empty() && v != GetHeight()) throw EInvalidGraphicOperation(SChangeIconSize);
}

// The directory (ICONDIR and its entries) says where every image is; the file ends with the last.
void TIcon::LoadFromStream(TStream* stream) {
  std::string data = ReadStreamBytes(stream, 6, SInvalidIcon);
  const uint8_t* p = Data(data);
  int count = U16(p + 4);
  if (U16(p) != 0 || U16(p + 2) != 1 || count == 0) throw EInvalidGraphic(SInvalidIcon);
  const size_t dirEnd = 6 + size_t(count) * 16;
  data += ReadStreamBytes(stream, int64_t(dirEnd) - 6, SInvalidIcon);
  size_t end = dirEnd;
  for (int i = 0; i < count; ++i) {
    const uint8_t* e = Data(data) + 6 + i * 16;
    uint64_t size = U32(e + 8), offset = U32(e + 12);
    if (size == 0 || offset < dirEnd) throw EInvalidGraphic(SInvalidIcon);
    end = std::max<size_t>(end, offset + size);
  }
  data += ReadStreamBytes(stream, int64_t(end - dirEnd), SInvalidIcon);
  p = Data(data);

  // The image nearest 32 x 32 (a 0 in the directory means 256), the deepest on a tie.
  int best = 0, bestScore = INT32_MAX, bestDepth = -1;
  for (int i = 0; i < count; ++i) {
    const uint8_t* e = p + 6 + i * 16;
    int w = e[0] ? e[0] : 256, h = e[1] ? e[1] : 256, depth = U16(e + 6);
    int score = std::abs(w - 32) + std::abs(h - 32);
    if (score < bestScore || (score == bestScore && depth > bestDepth)) best = i, bestScore = score, bestDepth = depth;
  }
  const uint8_t* e = p + 6 + best * 16;
  const uint8_t* image = p + U32(e + 12);
  size_t size = U32(e + 8);
  TIconImage decoded;
  static const char pngSignature[] = "\x89PNG\r\n\x1a\n";
  if (size >= 8 && std::memcmp(image, pngSignature, 8) == 0) {
    decoded.Image = QImage::fromData(image, static_cast<int>(size), "PNG").convertToFormat(QImage::Format_ARGB32);
    if (decoded.Image.isNull()) throw EInvalidGraphic(SInvalidIcon);
  } else {
    decoded.Image = DecodeDib(image, size, 0, true, SInvalidIcon).Image;
  }
  FData = std::move(data);
  *FImage = std::move(decoded);
  Changed();
}

void TIcon::SaveToStream(TStream* stream) { WriteStreamBytes(stream, FData); }

void TIcon::Draw(TCanvas* canvas, const TRect& rect) { CanvasDrawImage(canvas, rect, FImage->Image, false); }

// ---------------------------------------------------------------------------------------------
// TQtImageGraphic
namespace {
namespace KV_UNIT {

// The bitmap as a file of the codec's format; empty for no or an empty bitmap, or a format that
// Qt cannot write.
std::string EncodeBitmap(TBitmap* bitmap, const char* format) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  if (!bitmap || bitmap->Empty() || !BitmapImage(bitmap).save(&buffer, format)) return {};
  return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

}  // namespace KV_UNIT
}  // namespace

TQtImageGraphic::TQtImageGraphic() : FImage(new TBitmapImage) {}
TQtImageGraphic::~TQtImageGraphic() = default;

void TQtImageGraphic::Assign(TPersistent* source) {
  if (auto* g = Cast<TQtImageGraphic>(source); g && g->ClassType() == ClassType()) {
    FData = g->FData;
    *FImage = *g->FImage;
    Changed();
  } else if (!source) {
    SetBytes({});
  } else if (std::string file = KV_UNIT::EncodeBitmap(Cast<TBitmap>(source), FormatName()); !file.empty()) {
    SetBytes(std::move(file));
  } else {
    TGraphic::Assign(source);  // neither a bitmap nor a format Qt can write: EConvertError
  }
}

int TQtImageGraphic::GetWidth() const { return FImage->Image.width(); }
int TQtImageGraphic::GetHeight() const { return FImage->Image.height(); }

void TQtImageGraphic::SetWidth(int v) {
  if (v != GetWidth()) throw EInvalidGraphicOperation(SInvalidImageSize);
}

void TQtImageGraphic::SetHeight(int v) {
  if (v != GetHeight()) throw EInvalidGraphicOperation(SInvalidImageSize);
}

void TQtImageGraphic::SetBytes(std::string data) {
  TBitmapImage decoded;
  if (!data.empty()) {
    QByteArray bytes = QByteArray::fromRawData(data.data(), static_cast<qsizetype>(data.size()));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, QByteArray(FormatName()).toLower());
    QSize size = reader.size();
    QImage img;
    if (!size.isValid() || int64_t(size.width()) * size.height() <= kMaxPixels) img = reader.read();
    if (img.isNull() || int64_t(img.width()) * img.height() > kMaxPixels)
      throw EInvalidGraphic(Format(SInvalidImageData, FormatName()));
    bool alpha = img.hasAlphaChannel();
    decoded.Image = img.convertToFormat(alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    decoded.PixelFormat = alpha ? pf32bit : pf24bit;
  }
  FData = std::move(data);
  *FImage = std::move(decoded);
  Changed();
}

void TQtImageGraphic::LoadFromStream(TStream* stream) {
  SetBytes(ReadStreamBytes(stream, -1, Format(SInvalidImageData, FormatName()).c_str()));
}

void TQtImageGraphic::SaveToStream(TStream* stream) { WriteStreamBytes(stream, FData); }

void TQtImageGraphic::ReadData(TStream* stream) {
  const std::string error = Format(SInvalidImageData, FormatName());
  std::string rest = ReadStreamBytes(stream, -1, error.c_str());
  if (rest.starts_with(Signature())) {
    SetBytes(std::move(rest));
    return;
  }
  if (rest.size() < 4 || U32(Data(rest)) > rest.size() - 4) throw EInvalidGraphic(error);
  SetBytes(rest.substr(4, U32(Data(rest))));
}

void TQtImageGraphic::WriteData(TStream* stream) {
  uint32_t size = static_cast<uint32_t>(FData.size());
  stream->WriteBuffer(&size, 4);
  WriteStreamBytes(stream, FData);
}

void TQtImageGraphic::Draw(TCanvas* canvas, const TRect& rect) { CanvasDrawImage(canvas, rect, FImage->Image, true); }

// ---------------------------------------------------------------------------------------------
QImage ToQImage(TGraphic* graphic) {
  if (!graphic || graphic->Empty()) return QImage();
  if (auto* b = Cast<TBitmap>(graphic)) return ShownImage(b);
  if (auto* i = Cast<TIcon>(graphic)) return i->Image().Image;
  if (auto* q = Cast<TQtImageGraphic>(graphic)) return q->Image().Image;
  QImage img(std::max(graphic->GetWidth(), 1), std::max(graphic->GetHeight(), 1), QImage::Format_ARGB32);
  img.fill(Qt::transparent);
  TCanvas canvas;
  canvas.Backend()->Image = [&img] { return &img; };
  canvas.Draw(0, 0, graphic);
  return img;
}

QPixmap ToQPixmap(TGraphic* graphic) {
  EnsureQtApplication();
  return QPixmap::fromImage(ToQImage(graphic));
}
