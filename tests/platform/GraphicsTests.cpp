// Colours, fonts, the BMP codec, icons, pictures and their form data, canvases and pen modes.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QPainter>
#include <algorithm>
#include <cstdio>

#include "Graphics.h"
#include "qt/QtGraphics.h"

namespace {

// --- Hand-built files ------------------------------------------------------------------------
void Put16(std::string& s, uint32_t v) { s += char(v & 0xFF), s += char(v >> 8 & 0xFF); }
void Put32(std::string& s, uint32_t v) { Put16(s, v & 0xFFFF), Put16(s, v >> 16); }

// A BMP file as the usual writers make it. `pixels` are top-down: palette indices for 1..8 bits,
// 0xRRGGBB otherwise. `clrUsed` < 0: 0 for a full palette, else the palette's size.
std::string MakeBmp(int bpp, int w, int h, const std::vector<uint32_t>& palette, const std::vector<uint32_t>& pixels,
                    int clrUsed = -1) {
  const uint32_t row = (w * bpp + 31) / 32 * 4;
  const uint32_t off = 14 + 40 + palette.size() * 4;
  std::string s = "BM";
  Put32(s, off + row * h), Put32(s, 0), Put32(s, off);
  Put32(s, 40), Put32(s, w), Put32(s, h), Put16(s, 1), Put16(s, bpp), Put32(s, 0), Put32(s, row * h);
  Put32(s, 0), Put32(s, 0);
  Put32(s, clrUsed >= 0 ? clrUsed : palette.size() == (1u << bpp) ? 0 : palette.size()), Put32(s, 0);
  for (uint32_t c : palette) s += char(c & 0xFF), s += char(c >> 8 & 0xFF), s += char(c >> 16), s += '\0';
  for (int y = h - 1; y >= 0; --y) {
    std::string line(row, '\0');
    for (int x = 0; x < w; ++x) {
      uint32_t v = pixels[y * w + x];
      if (bpp <= 8) {
        int per = 8 / bpp;
        line[x / per] = char(uint8_t(line[x / per]) | v << (8 - bpp * (x % per + 1)));
      } else {
        line[x * 3] = char(v & 0xFF), line[x * 3 + 1] = char(v >> 8 & 0xFF), line[x * 3 + 2] = char(v >> 16);
      }
    }
    s += line;
  }
  return s;
}

std::string Bytes(TMemoryStream& m) { return std::string(reinterpret_cast<const char*>(m.Memory()), m.GetSize()); }

TMemoryStream* StreamOf(const std::string& bytes, TMemoryStream& m) {
  m.Clear();
  m.WriteBuffer(bytes.data(), bytes.size());
  m.SetPosition(0);
  return &m;
}

std::string SaveBitmap(TBitmap& b) {
  TMemoryStream m;
  b.SaveToStream(&m);
  return Bytes(m);
}

void LoadBitmap(TBitmap& b, const std::string& bytes) {
  TMemoryStream m;
  b.LoadFromStream(StreamOf(bytes, m));
}

// Windows colour (0x00BBGGRR) of a 0xRRGGBB value.
TColor Win(uint32_t rgb) { return RGB(rgb >> 16, rgb >> 8 & 0xFF, rgb & 0xFF); }

// An icon file: one 1-bit image per size given; each image's top-left pixel is masked out.
std::string MakeIcon(const std::vector<int>& sizes) {
  std::vector<std::string> images;
  for (int n : sizes) {
    std::string d;
    const uint32_t row = (n + 31) / 32 * 4;
    Put32(d, 40), Put32(d, n), Put32(d, n * 2), Put16(d, 1), Put16(d, 1), Put32(d, 0), Put32(d, 0);
    Put32(d, 0), Put32(d, 0), Put32(d, 0), Put32(d, 0);
    Put32(d, 0x0000FF), Put32(d, 0xFFFFFF);  // blue, white
    d += std::string(row * n, '\0');         // XOR: all index 0
    for (int y = n - 1; y >= 0; --y) {
      std::string line(row, '\0');
      if (y == 0) line[0] = char(0x80);  // top row: the first pixel is transparent
      d += line;
    }
    images.push_back(d);
  }
  std::string s;
  Put16(s, 0), Put16(s, 1), Put16(s, sizes.size());
  uint32_t offset = 6 + 16 * sizes.size();
  for (size_t i = 0; i < sizes.size(); ++i) {
    s += char(sizes[i]), s += char(sizes[i]), s += char(2), s += '\0';
    Put16(s, 1), Put16(s, 1), Put32(s, images[i].size()), Put32(s, offset);
    offset += images[i].size();
  }
  for (auto& d : images) s += d;
  return s;
}

// A component with graphics properties, streamed as a form would be.
class TGfxHolder : public TComponent {
  KV_CLASS(TGfxHolder, TComponent)
 public:
  explicit TGfxHolder(TComponent* owner) : TComponent(owner) {}
  ~TGfxHolder() override {
    Destroying();
    delete FFont;
    delete FIcon;
    delete FPicture;
  }
  TColor GetColor() const { return FColor; }
  void SetColor(TColor v) { FColor = v; }
  TFont* GetFont() const { return FFont; }
  void SetFont(TFont* v) { FFont->Assign(v); }
  TIcon* GetIcon() const { return FIcon; }
  void SetIcon(TIcon* v) { FIcon->Assign(v); }
  TPicture* GetPicture() const { return FPicture; }
  void SetPicture(TPicture* v) { FPicture->Assign(v); }

 private:
  TColor FColor = clBtnFace;
  TFont* FFont = new TFont;
  TIcon* FIcon = new TIcon;
  TPicture* FPicture = new TPicture;
};

}  // namespace

KV_IMPLEMENT_CLASS(TGfxHolder, "GraphicsTests") {
  b.Prop("Color", &TGfxHolder::GetColor, &TGfxHolder::SetColor).Type(TypeInfoTColor()).Default(clBtnFace);
  b.Prop("Font", &TGfxHolder::GetFont, &TGfxHolder::SetFont);
  b.Prop("Icon", &TGfxHolder::GetIcon, &TGfxHolder::SetIcon);
  b.Prop("Picture", &TGfxHolder::GetPicture, &TGfxHolder::SetPicture);
}

namespace {

std::string ToText(TMemoryStream& binary) {
  binary.SetPosition(0);
  TMemoryStream text;
  ObjectBinaryToText(&binary, &text);
  return Bytes(text);
}

void RoundTrip(TGfxHolder& from, TGfxHolder& to, TMemoryStream& s) {
  s.WriteComponent(&from);
  s.SetPosition(0);
  s.ReadComponent(&to);
}

}  // namespace

// ---------------------------------------------------------------------------------------------
TEST(Geometry, RectanglesExcludeRightAndBottomEdges) {
  TRect r = Rect(10, 10, 20, 20);
  EXPECT_TRUE(PtInRect(r, Point(10, 10)));
  EXPECT_FALSE(PtInRect(r, Point(20, 15)));
  EXPECT_FALSE(PtInRect(r, Point(15, 20)));

  TRect out;
  EXPECT_FALSE(IntersectRect(out, r, Bounds(20, 10, 5, 5)));  // touching is not overlapping
  EXPECT_EQ(out, TRect{});
  EXPECT_TRUE(IntersectRect(out, r, Rect(15, 5, 30, 12)));
  EXPECT_EQ(out, Rect(15, 10, 20, 12));

  EXPECT_TRUE(UnionRect(out, r, TRect{}));  // an empty operand does not stretch the union to 0,0
  EXPECT_EQ(out, r);
  EXPECT_FALSE(UnionRect(out, TRect{}, Rect(5, 5, 5, 9)));
  EXPECT_EQ(out, TRect{});

  InflateRect(r, 2, -3);
  OffsetRect(r, 1, 1);
  EXPECT_EQ(r, Rect(9, 14, 23, 18));
  EXPECT_TRUE(IsRectEmpty(Rect(5, 5, 4, 9)));
}

TEST(Colors, SystemColoursResolveToTheClassicScheme) {
  EXPECT_EQ(ColorToRGB(clBtnFace), 0xC0C0C0);
  EXPECT_EQ(ColorToRGB(clWindow), clWhite);
  EXPECT_EQ(ColorToRGB(clWindowText), clBlack);
  EXPECT_EQ(ColorToRGB(clHighlight), clNavy);
  EXPECT_EQ(ColorToRGB(clInfoBk), RGB(0xFF, 0xFF, 0xE1));
  EXPECT_EQ(ColorToRGB(clRed), clRed);
  EXPECT_EQ(ColorToRGB(clSystemColor | 200), clBlack);  // no such index
  EXPECT_EQ(ToQColor(clRed), QColor(255, 0, 0));
  EXPECT_EQ(ToQColor(clBtnShadow), QColor(128, 128, 128));
  EXPECT_EQ(ToQColor(clNone).alpha(), 0);
}

TEST(Colors, NamesAndNumbersBothWays) {
  EXPECT_EQ(ColorToString(clBtnFace), "clBtnFace");
  EXPECT_EQ(ColorToString(clNone), "clNone");
  EXPECT_EQ(ColorToString(0x00FF00FF), "clFuchsia");
  EXPECT_EQ(ColorToString(0x00123456), "$00123456");
  EXPECT_EQ(ColorToString(static_cast<TColor>(0x80000063)), "$80000063");
  EXPECT_EQ(StringToColor("clbtnface"), clBtnFace);
  EXPECT_EQ(StringToColor("$00FF00FF"), 0x00FF00FF);
  EXPECT_EQ(StringToColor("$00123456"), 0x123456);
  EXPECT_EQ(StringToColor("255"), clRed);
  EXPECT_THROW(StringToColor("clNoSuchColour"), EConvertError);
  EXPECT_THROW(StringToColor(""), EConvertError);

  int32_t v = 0;
  EXPECT_TRUE(IdentToColor("CLINFOBK", v));
  EXPECT_EQ(v, clInfoBk);
  EXPECT_FALSE(IdentToColor("Red", v));
  std::string ident;
  EXPECT_FALSE(ColorToIdent(0x123456, ident));

  std::vector<std::string> names;
  GetColorValues([&](const std::string& n) { names.push_back(n); });
  ASSERT_EQ(names.size(), 52u);
  EXPECT_EQ(names[0], "clBlack");
  EXPECT_EQ(names[15], "clWhite");
  EXPECT_EQ(names[16], "clMoneyGreen");  // Delphi 6's extra colours follow the sixteen
  EXPECT_EQ(names[20], "clScrollBar");
  EXPECT_EQ(names[44], "clInfoBk");
  EXPECT_EQ(names[49], "clMenuBar");
  EXPECT_EQ(names[50], "clNone");
  EXPECT_EQ(StringToColor("clCream"), RGB(0xFF, 0xFB, 0xF0));
  EXPECT_EQ(ColorToRGB(clGradientActiveCaption), RGB(0xA6, 0xCA, 0xF0));
}

TEST(Fonts, DefaultsAndSizeFollowHeightThroughPixelsPerInch) {
  TFont f;
  EXPECT_EQ(f.GetName(), "MS Sans Serif");
  EXPECT_EQ(f.GetSize(), 8);
  EXPECT_EQ(f.GetHeight(), -11);
  EXPECT_EQ(f.GetColor(), clWindowText);
  EXPECT_EQ(f.GetCharset(), DEFAULT_CHARSET);

  int changes = 0;
  f.OnChange = [&](TObject*) { ++changes; };
  f.SetSize(10);
  EXPECT_EQ(f.GetHeight(), -13);
  f.SetHeight(-13);  // no change, no notification
  EXPECT_EQ(changes, 1);

  TFont big;
  big.PixelsPerInch = 120;
  big.Assign(&f);  // the point size carries over, the pixel height does not
  EXPECT_EQ(big.GetSize(), 10);
  EXPECT_EQ(big.GetHeight(), -17);
}

TEST(Fonts, StreamAsDelphiWritesThemWithNamedColoursAndCharsets) {
  TGfxHolder a(nullptr), b(nullptr);
  a.SetName("Holder");
  a.SetColor(clInfoBk);
  a.GetFont()->SetCharset(RUSSIAN_CHARSET);
  a.GetFont()->SetStyle({fsBold});
  TMemoryStream s;
  RoundTrip(a, b, s);
  std::string text = ToText(s);
  EXPECT_NE(text.find("Color = clInfoBk"), std::string::npos) << text;
  EXPECT_NE(text.find("Font.Charset = RUSSIAN_CHARSET"), std::string::npos) << text;
  EXPECT_NE(text.find("Font.Color = clWindowText"), std::string::npos) << text;
  EXPECT_NE(text.find("Font.Height = -11"), std::string::npos) << text;
  EXPECT_NE(text.find("Font.Name = 'MS Sans Serif'"), std::string::npos) << text;
  EXPECT_NE(text.find("Font.Style = [fsBold]"), std::string::npos) << text;
  EXPECT_EQ(text.find("Font.Size"), std::string::npos) << text;
  EXPECT_EQ(b.GetColor(), clInfoBk);
  EXPECT_EQ(b.GetFont()->GetCharset(), RUSSIAN_CHARSET);
  EXPECT_EQ(b.GetFont()->GetStyle(), TFontStyles({fsBold}));
}

// ---------------------------------------------------------------------------------------------
// BMP files.
struct BmpCase {
  int Bpp, W, H;
  std::vector<uint32_t> Palette;
  TPixelFormat Format;
};

TEST(BitmapFiles, RoundTripByteForByteAndReadBackPixels) {
  const std::vector<BmpCase> cases = {
      {1, 13, 3, {0x000000, 0xFFFFFF}, pf1bit},  // 13 bits: two bytes, padded to four
      {4,
       7,
       2,
       {0x000000, 0x800000, 0x008000, 0xFF0000, 0x00FF00, 0x0000FF, 0x808080, 0xFFFFFF, 0x111111, 0x222222, 0x333333,
        0x444444, 0x555555, 0x666666, 0x777777, 0x888888},
       pf4bit},
      // Three entries only, two of them alike: indices must survive, not colours.
      {8, 5, 3, {0x102030, 0xFFFF00, 0x102030}, pf8bit},
      {24, 5, 2, {}, pf24bit},  // 15 bytes a row, one of padding
  };
  for (const BmpCase& c : cases) {
    SCOPED_TRACE(c.Bpp);
    std::vector<uint32_t> px(c.W * c.H);
    for (size_t i = 0; i < px.size(); ++i)
      px[i] = c.Bpp <= 8 ? (i * 7 + i / c.W) % c.Palette.size() : 0x010203u * uint32_t(i) ^ 0xA05000u;
    std::string file = MakeBmp(c.Bpp, c.W, c.H, c.Palette, px);
    TBitmap b;
    LoadBitmap(b, file);
    EXPECT_EQ(b.GetWidth(), c.W);
    EXPECT_EQ(b.GetHeight(), c.H);
    EXPECT_EQ(b.GetPixelFormat(), c.Format);
    EXPECT_EQ(SaveBitmap(b), file);
    for (int y = 0; y < c.H; ++y)
      for (int x = 0; x < c.W; ++x) {
        uint32_t v = px[y * c.W + x];
        ASSERT_EQ(b.Canvas()->GetPixel(x, y), Win(c.Bpp <= 8 ? c.Palette[v] : v)) << x << "," << y;
      }
  }
}

TEST(BitmapFiles, OtherLayoutsDecode) {
  TBitmap b;
  // Top-down 24-bit (negative height): saved bottom-up with the same pixels.
  std::string td = MakeBmp(24, 2, 2, {}, {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF});
  Put32(td, 0);
  int32_t neg = -2;
  std::memcpy(td.data() + 22, &neg, 4);
  td.resize(td.size() - 4);
  LoadBitmap(b, td);
  EXPECT_EQ(b.Canvas()->GetPixel(0, 0), Win(0x0000FF));  // file's first row is now the top
  EXPECT_EQ(b.Canvas()->GetPixel(1, 1), Win(0x00FF00));

  // 16-bit 5-6-5 with bit fields: round trips, keeping its format.
  std::string f16 = "BM";
  Put32(f16, 14 + 40 + 12 + 4), Put32(f16, 0), Put32(f16, 14 + 40 + 12);
  Put32(f16, 40), Put32(f16, 2), Put32(f16, 1), Put16(f16, 1), Put16(f16, 16), Put32(f16, 3), Put32(f16, 4);
  Put32(f16, 0), Put32(f16, 0), Put32(f16, 0), Put32(f16, 0);
  Put32(f16, 0xF800), Put32(f16, 0x07E0), Put32(f16, 0x001F);
  Put16(f16, 0xF800), Put16(f16, 0x07E0 | 0x0001);
  LoadBitmap(b, f16);
  EXPECT_EQ(b.GetPixelFormat(), pf16bit);
  EXPECT_EQ(b.Canvas()->GetPixel(0, 0), clRed);
  EXPECT_EQ(b.Canvas()->GetPixel(1, 0), RGB(0, 255, 8));
  EXPECT_EQ(SaveBitmap(b), f16);

  // RLE8: a run, a delta, an absolute run with its padding byte, end of line, end of bitmap.
  std::string rle = "BM";
  const std::string data("\x02\x01\x00\x00\x00\x02\x03\x00\x00\x03\x02\x01\x02\x00\x00\x01", 16);
  Put32(rle, 14 + 40 + 12 + data.size()), Put32(rle, 0), Put32(rle, 14 + 40 + 12);
  Put32(rle, 40), Put32(rle, 6), Put32(rle, 2), Put16(rle, 1), Put16(rle, 8), Put32(rle, 1), Put32(rle, data.size());
  Put32(rle, 0), Put32(rle, 0), Put32(rle, 3), Put32(rle, 0);
  Put32(rle, 0x000000), Put32(rle, 0x0000FF), Put32(rle, 0x00FF00);
  LoadBitmap(b, rle + data);
  EXPECT_EQ(b.GetPixelFormat(), pf8bit);
  // Bottom row: 1 1, then the next line, a delta of 3 and the top row gets 2 1 2 at x = 3..5.
  EXPECT_EQ(b.Canvas()->GetPixel(0, 1), clBlue);
  EXPECT_EQ(b.Canvas()->GetPixel(1, 1), clBlue);
  EXPECT_EQ(b.Canvas()->GetPixel(2, 1), clBlack);
  EXPECT_EQ(b.Canvas()->GetPixel(3, 0), clLime);
  EXPECT_EQ(b.Canvas()->GetPixel(4, 0), clBlue);
  EXPECT_EQ(b.Canvas()->GetPixel(5, 0), clLime);

  // OS/2 core header with a three-byte palette.
  std::string os2 = "BM";
  Put32(os2, 14 + 12 + 6 + 4), Put32(os2, 0), Put32(os2, 14 + 12 + 6);
  Put32(os2, 12), Put16(os2, 2), Put16(os2, 1), Put16(os2, 1), Put16(os2, 1);
  os2 += std::string("\x00\x00\xFF\xFF\x00\x00", 6);  // red, blue
  os2 += std::string("\x40\x00\x00\x00", 4);          // 0 1
  LoadBitmap(b, os2);
  EXPECT_EQ(b.GetPixelFormat(), pf1bit);
  EXPECT_EQ(b.Canvas()->GetPixel(0, 0), clRed);
  EXPECT_EQ(b.Canvas()->GetPixel(1, 0), clBlue);
}

TEST(BitmapFiles, CorruptFilesRaiseInvalidGraphic) {
  const std::string good = MakeBmp(4, 3, 2, {0x000000, 0xFF0000, 0x00FF00}, {0, 1, 2, 2, 1, 0});
  TBitmap b;
  for (size_t n = 0; n < good.size(); ++n) {
    try {
      LoadBitmap(b, good.substr(0, n));
      ADD_FAILURE() << "a file cut at " << n << " loaded";
    } catch (const EInvalidGraphic& e) {
      EXPECT_STREQ(e.what(), "Bitmap image is not valid");
    }
  }
  auto patched = [&](size_t at, int32_t v) {
    std::string s = good;
    std::memcpy(s.data() + at, &v, 4);
    return s;
  };
  // Width, height, bits per pixel, compression, colours used, offset of the bits.
  for (std::string bad : {patched(18, 100000), patched(22, 100000), patched(18, 0), patched(22, 0), patched(18, -3),
                          patched(28, 7 << 16 | 1), patched(30, 4), patched(46, 17), patched(46, 1000000),
                          patched(10, 0x7FFFFFFF), patched(14, 8), patched(14, 1000)}) {
    EXPECT_THROW(LoadBitmap(b, bad), EInvalidGraphic);
  }
  // 200 colours announced, two present: the palette would run past the end of the file.
  std::string shortPalette = MakeBmp(8, 2, 1, {0, 0xFFFFFF}, {0, 1});
  std::memcpy(shortPalette.data() + 46, "\xC8", 1);
  EXPECT_THROW(LoadBitmap(b, shortPalette), EInvalidGraphic);
  // A huge image with a tiny run-length stream is refused before anything is allocated.
  std::string rle = patched(30, 1);
  std::memcpy(rle.data() + 28, "\x08\x00", 2);
  std::memcpy(rle.data() + 18, "\x00\x00\x01\x00\x00\x00\x01\x00", 8);  // 65536 x 65536
  EXPECT_THROW(LoadBitmap(b, rle), EInvalidGraphic);
  EXPECT_THROW(LoadBitmap(b, "BA" + good.substr(2)), EInvalidGraphic);
  EXPECT_EQ(SaveBitmap(b), "");  // a failed load left nothing half-read behind
}

TEST(BitmapFiles, PixelFormatConversionAndDrawingKeepThePalette) {
  TBitmap b;
  const std::vector<uint32_t> palette = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF};
  LoadBitmap(b, MakeBmp(4, 4, 4, palette, std::vector<uint32_t>(16, 0), 4));
  b.Canvas()->GetBrush()->SetColor(RGB(250, 5, 5));  // nearest entry: red
  b.Canvas()->FillRect(Rect(0, 0, 2, 2));
  EXPECT_TRUE(b.GetModified());
  TBitmap c;
  LoadBitmap(c, SaveBitmap(b));
  EXPECT_EQ(c.GetPixelFormat(), pf4bit);
  EXPECT_EQ(c.GetPalette(), (std::vector<TColor>{clBlack, clRed, clLime, clBlue}));
  EXPECT_EQ(c.Canvas()->GetPixel(1, 1), clRed);
  EXPECT_EQ(c.Canvas()->GetPixel(2, 2), clBlack);

  c.SetMonochrome(true);
  EXPECT_EQ(c.GetPixelFormat(), pf1bit);
  EXPECT_EQ(c.GetPalette(), (std::vector<TColor>{clBlack, clWhite}));
  EXPECT_EQ(c.Canvas()->GetPixel(1, 1), clBlack);  // red is nearer black than white
  EXPECT_THROW(c.SetPixelFormat(pfCustom), EInvalidGraphic);
}

TEST(Bitmaps, SizeKeepsContentFillsWhiteAndRefusesHugeSizes) {
  TBitmap b;
  EXPECT_TRUE(b.Empty());
  b.Canvas()->FillRect(Rect(0, 0, 5, 5));  // nothing to draw on: no effect, no error
  b.SetSize(4, 3);
  b.Canvas()->SetPixel(3, 2, clRed);
  b.SetWidth(6);
  EXPECT_EQ(b.Canvas()->GetPixel(3, 2), clRed);
  EXPECT_EQ(b.Canvas()->GetPixel(5, 0), clWhite);
  EXPECT_EQ(b.Canvas()->GetPixel(6, 0), -1);
  EXPECT_THROW(b.SetSize(100000, 100000), EInvalidGraphic);
  EXPECT_EQ(b.GetWidth(), 6);
  b.SetHeight(-5);
  EXPECT_TRUE(b.Empty());
  EXPECT_EQ(SaveBitmap(b), "");
  // Width first, then height, as a form's code or stream does: both stay.
  TBitmap c;
  c.SetWidth(7);
  EXPECT_TRUE(c.Empty());
  c.SetHeight(5);
  EXPECT_EQ(c.GetWidth(), 7);
  EXPECT_EQ(c.GetHeight(), 5);
  EXPECT_FALSE(c.Empty());
}

TEST(Bitmaps, TransparentColourIsTheBottomLeftPixelUnlessFixed) {
  TBitmap b;
  b.SetSize(2, 2);
  b.Canvas()->SetPixel(0, 1, clLime);
  EXPECT_EQ(b.GetTransparentColor(), clLime);
  b.SetTransparent(true);
  QImage shown = ToQImage(&b);
  EXPECT_EQ(qAlpha(shown.pixel(0, 1)), 0);
  EXPECT_EQ(qAlpha(shown.pixel(1, 1)), 255);
  b.SetTransparentColor(clWhite);
  EXPECT_EQ(b.GetTransparentMode(), tmFixed);
  EXPECT_EQ(qAlpha(ToQImage(&b).pixel(1, 1)), 0);
}

// ---------------------------------------------------------------------------------------------
// Form data.
TEST(PictureData, BitmapAndIconRoundTripThroughTheFormStream) {
  TGfxHolder a(nullptr), b(nullptr);
  const std::string bmp = MakeBmp(8, 3, 2, {0x000000, 0xFF8000}, {0, 1, 1, 0, 1, 0});
  const std::string ico = MakeIcon({16});
  TMemoryStream m;
  a.GetPicture()->GetBitmap()->LoadFromStream(StreamOf(bmp, m));
  a.GetIcon()->LoadFromStream(StreamOf(ico, m));
  TMemoryStream s;
  RoundTrip(a, b, s);
  ASSERT_NE(Cast<TBitmap>(b.GetPicture()->GetGraphic()), nullptr);
  EXPECT_EQ(SaveBitmap(*b.GetPicture()->GetBitmap()), bmp);
  TMemoryStream icoOut;
  b.GetIcon()->SaveToStream(&icoOut);
  EXPECT_EQ(Bytes(icoOut), ico);

  // Picture.Data: class name as a short string, then the bitmap's size and file.
  std::string stream = Bytes(s);
  std::string data = std::string("\x07TBitmap", 8);
  uint32_t size = bmp.size();
  data.append(reinterpret_cast<const char*>(&size), 4);
  data += bmp;
  EXPECT_NE(stream.find(data), std::string::npos);
  EXPECT_NE(stream.find(ico), std::string::npos);  // Icon.Data is the raw file
  EXPECT_NE(ToText(s).find("Picture.Data = {"), std::string::npos);
}

TEST(PictureData, ReadsWhatOtherWritersWrote) {
  const std::string bmp = MakeBmp(24, 1, 1, {}, {0x00FF00});
  auto read = [](TPicture& p, const std::string& bytes) {
    TMemoryStream m;
    StreamOf(bytes, m);
    TMemoryStream w;
    {
      TWriter writer(&w);
      writer.WriteListBegin();
      writer.DefineBinaryProperty(
          "Data", nullptr, [&](TStream* s) { s->CopyFrom(&m, 0); }, true);
      writer.WriteListEnd();
    }
    w.SetPosition(0);
    TReader reader(&w);
    reader.ReadListBegin();
    while (!reader.EndOfList()) reader.ReadProperty(&p);
  };
  TPicture p;
  read(p, std::string("\x07TBitmap", 8) + bmp);  // a bare file without its size
  ASSERT_NE(p.GetGraphic(), nullptr);
  EXPECT_EQ(p.GetBitmap()->Canvas()->GetPixel(0, 0), clLime);

  read(p, std::string("\x0BTNoSuchType", 12) + "whatever");  // an unknown class: no picture
  EXPECT_EQ(p.GetGraphic(), nullptr);

  std::string lying = std::string("\x07TBitmap", 8) + "\xFF\xFF\x00\x00" + bmp;  // size beyond the data
  EXPECT_THROW(read(p, lying), EReadError);

  // A metafile keeps its bytes: 4-byte length counting itself, then the file.
  std::string wmf;
  Put16(wmf, 1), Put16(wmf, 9), Put16(wmf, 0x300), Put32(wmf, 12), Put16(wmf, 0), Put32(wmf, 3), Put16(wmf, 0);
  Put16(wmf, 3), Put16(wmf, 0), Put16(wmf, 0);
  std::string wmfData;
  Put32(wmfData, wmf.size() + 4);
  read(p, std::string("\x09TMetafile", 10) + wmfData + wmf);
  auto* meta = Cast<TMetafile>(p.GetGraphic());
  ASSERT_NE(meta, nullptr);
  EXPECT_EQ(meta->Bytes(), wmf);
}

// ---------------------------------------------------------------------------------------------
TEST(Icons, PicksTheImageNearest32AndMasksTransparentPixels) {
  TIcon icon;
  TMemoryStream m;
  const std::string ico = MakeIcon({16, 32, 48});
  icon.LoadFromStream(StreamOf(ico + "trailing", m));
  EXPECT_EQ(m.GetPosition(), int64_t(ico.size()));  // reads the icon, not what follows it
  EXPECT_EQ(icon.GetWidth(), 32);
  QImage img = ToQImage(&icon);
  EXPECT_EQ(qAlpha(img.pixel(0, 0)), 0);
  EXPECT_EQ(img.pixel(1, 0), qRgb(0, 0, 255));
  EXPECT_THROW(icon.SetWidth(16), EInvalidGraphicOperation);

  for (size_t n = 0; n < ico.size(); n += 7)
    EXPECT_THROW(icon.LoadFromStream(StreamOf(ico.substr(0, n), m)), EInvalidGraphic);
  std::string cursor = ico;
  cursor[2] = 2;
  EXPECT_THROW(icon.LoadFromStream(StreamOf(cursor, m)), EInvalidGraphic);
  EXPECT_EQ(icon.GetWidth(), 32);  // the failed loads left the icon as it was
}

TEST(ImageFormats, PngKeepsItsBytesAndBadDataIsRefused) {
  QImage src(3, 2, QImage::Format_RGB32);
  src.fill(Qt::red);
  QByteArray png;
  QBuffer buf(&png);
  buf.open(QIODevice::WriteOnly);
  ASSERT_TRUE(src.save(&buf, "PNG"));
  const std::string file(png.constData(), png.size());
  std::string path = ::testing::TempDir() + "kv_graphics_test.png";
  {
    TMemoryStream m;
    StreamOf(file, m)->SaveToFile(path);
  }
  TPicture p;
  p.LoadFromFile(path);
  ASSERT_NE(Cast<TPngImage>(p.GetGraphic()), nullptr);
  EXPECT_EQ(p.GetWidth(), 3);
  EXPECT_EQ(static_cast<TPngImage*>(p.GetGraphic())->Bytes(), file);
  std::remove(path.c_str());

  TGfxHolder from(nullptr), to(nullptr);  // form data: a size, then the file as it was
  from.GetPicture()->Assign(&p);
  TMemoryStream s;
  RoundTrip(from, to, s);
  ASSERT_NE(Cast<TPngImage>(to.GetPicture()->GetGraphic()), nullptr);
  EXPECT_EQ(static_cast<TPngImage*>(to.GetPicture()->GetGraphic())->Bytes(), file);

  TBitmap b;  // a bitmap takes any graphic's pixels
  b.Assign(p.GetGraphic());
  EXPECT_EQ(b.Canvas()->GetPixel(2, 1), clRed);

  TPngImage bad;
  TMemoryStream m;
  try {
    bad.LoadFromStream(StreamOf(file.substr(0, 20), m));
    ADD_FAILURE();
  } catch (const EInvalidGraphic& e) {
    EXPECT_STREQ(e.what(), "PNG image is not valid");
  }
  try {
    p.LoadFromFile("picture.xyz");
    ADD_FAILURE();
  } catch (const EInvalidGraphic& e) {
    EXPECT_STREQ(e.what(), "Unknown picture file extension (.xyz)");
  }
}

TEST(ImageFormats, BitmapsSaveAsPngAndReadOnlyFormatsRefuseThem) {
  TBitmap b;
  b.SetSize(4, 3);
  b.Canvas()->SetPixel(0, 0, clRed);
  b.Canvas()->SetPixel(3, 2, clBlue);
  const std::string path = ::testing::TempDir() + "kv_bitmap_test.png";
  b.SaveToPngFile(path);
  TPicture p;
  p.LoadFromFile(path);  // by extension, so the file must really be a PNG
  std::remove(path.c_str());
  ASSERT_NE(Cast<TPngImage>(p.GetGraphic()), nullptr);
  TBitmap back;
  back.Assign(p.GetGraphic());
  EXPECT_EQ(back.GetWidth(), 4);
  EXPECT_EQ(back.GetHeight(), 3);
  EXPECT_EQ(back.Canvas()->GetPixel(0, 0), clRed);
  EXPECT_EQ(back.Canvas()->GetPixel(3, 2), clBlue);
  EXPECT_EQ(back.Canvas()->GetPixel(1, 1), clWhite);

  TGIFImage gif;  // Qt reads GIF but cannot write it
  try {
    gif.Assign(&b);
    ADD_FAILURE();
  } catch (const EConvertError& e) {
    EXPECT_STREQ(e.what(), "Cannot assign a TBitmap to a TGIFImage");
  }
  TBitmap empty;
  EXPECT_THROW(empty.SaveToPngFile(::testing::TempDir() + "kv_empty.png"), EConvertError);
  try {
    b.SaveToPngFile("/nonexistent-kv-folder/shot.png");
    ADD_FAILURE();
  } catch (const EFCreateError& e) {
    EXPECT_TRUE(std::string(e.what()).starts_with("Cannot create file /nonexistent-kv-folder/shot.png")) << e.what();
  }
}

TEST(FileFormats, FiltersListTheLatestRegisteredFirst) {
  EXPECT_EQ(GraphicFilter(TBitmap::StaticClass()), "Bitmaps (*.bmp)|*.bmp");
  EXPECT_EQ(GraphicFilter(TMetafile::StaticClass()),
            "All (*.emf;*.wmf)|*.emf;*.wmf|Enhanced Metafiles (*.emf)|*.emf|Metafiles (*.wmf)|*.wmf");
  EXPECT_EQ(GraphicFileMask(TGraphic::StaticClass()), "*.bmp;*.ico;*.emf;*.wmf;*.jpg;*.jpeg;*.png;*.gif");
  EXPECT_TRUE(GraphicFilter(TGraphic::StaticClass())
                  .starts_with("All (*.bmp;*.ico;*.emf;*.wmf;*.jpg;*.jpeg;*.png;*.gif)|*.bmp;*.ico;"));
  EXPECT_EQ(GraphicExtension(TBitmap::StaticClass()), "bmp");
  EXPECT_EQ(GraphicExtension(TMetafile::StaticClass()), "emf");
  EXPECT_EQ(GraphicExtension(TJPEGImage::StaticClass()), "jpg");
  EXPECT_EQ(GraphicExtension(TGraphic::StaticClass()), "");

  TPicture::RegisterFileFormat(".DIB", "Device Independent Bitmaps", TBitmap::StaticClass());
  EXPECT_EQ(TPicture::FindGraphicClass("dib"), TBitmap::StaticClass());
  EXPECT_EQ(GraphicFilter(TBitmap::StaticClass()),
            "All (*.dib;*.bmp)|*.dib;*.bmp|Device Independent Bitmaps (*.dib)|*.dib|Bitmaps (*.bmp)|*.bmp");
  TPicture::UnregisterGraphicClass(TBitmap::StaticClass());
  EXPECT_EQ(TPicture::FindGraphicClass("bmp"), nullptr);
  TPicture::RegisterFileFormat("bmp", SVBitmaps, TBitmap::StaticClass());
  EXPECT_EQ(GraphicFileMask(TGraphic::StaticClass()), "*.bmp;*.ico;*.emf;*.wmf;*.jpg;*.jpeg;*.png;*.gif");
}

// ---------------------------------------------------------------------------------------------
// Canvases.
namespace {
TBitmap* WhiteBitmap(TBitmap& b, int w, int h) {
  b.SetSize(w, h);
  b.Canvas()->FillRect(Rect(0, 0, w, h));
  return &b;
}
}  // namespace

TEST(Canvas, ShapesFollowGdiGeometry) {
  TBitmap b;
  TCanvas* c = WhiteBitmap(b, 12, 12)->Canvas();
  c->GetBrush()->SetStyle(bsClear);
  c->Rectangle(1, 1, 5, 5);
  EXPECT_EQ(c->GetPixel(1, 1), clBlack);
  EXPECT_EQ(c->GetPixel(4, 4), clBlack);
  EXPECT_EQ(c->GetPixel(5, 5), clWhite);
  EXPECT_EQ(c->GetPixel(2, 2), clWhite);  // clear brush: the inside stays

  c->MoveTo(6, 8);
  c->LineTo(10, 8);
  EXPECT_EQ(c->GetPixel(6, 8), clBlack);
  EXPECT_EQ(c->GetPixel(9, 8), clBlack);
  EXPECT_EQ(c->GetPixel(10, 8), clWhite);  // the end point is left out
  EXPECT_EQ(c->GetPenPos(), Point(10, 8));

  c->GetBrush()->SetColor(clRed);  // a colour makes a clear brush solid
  EXPECT_EQ(c->GetBrush()->GetStyle(), bsSolid);
  c->FillRect(Rect(7, 1, 9, 3));
  EXPECT_EQ(c->GetPixel(8, 2), clRed);
  EXPECT_EQ(c->GetPixel(9, 2), clWhite);
  EXPECT_EQ(c->ClipRect(), Rect(0, 0, 12, 12));
}

TEST(Canvas, XorPenModesAreErasedByDrawingAgain) {
  for (TPenStyle style : {psSolid, psDot})
    for (TPenMode mode : {pmNotXor, pmXor}) {
      SCOPED_TRACE(mode);
      TBitmap b;
      TCanvas* c = WhiteBitmap(b, 20, 20)->Canvas();
      c->SetPixel(6, 5, clRed);
      QImage before = BitmapImage(&b).copy();
      c->GetPen()->SetMode(mode);
      c->GetPen()->SetStyle(style);
      c->GetPen()->SetColor(mode == pmXor ? clWhite : clBlack);
      c->GetBrush()->SetStyle(bsClear);
      c->Rectangle(5, 5, 15, 12);
      if (style == psSolid) {
        EXPECT_EQ(c->GetPixel(5, 5), clBlack);           // white inverted
        EXPECT_EQ(c->GetPixel(6, 5), RGB(0, 255, 255));  // red inverted
        EXPECT_EQ(c->GetPixel(14, 11), clBlack);
      }
      EXPECT_NE(BitmapImage(&b), before);
      EXPECT_EQ(c->GetPixel(10, 8), clWhite);
      c->Rectangle(5, 5, 15, 12);
      EXPECT_EQ(BitmapImage(&b), before);
    }
  TBitmap b;
  TCanvas* c = WhiteBitmap(b, 10, 10)->Canvas();
  QImage before = BitmapImage(&b).copy();
  c->DrawFocusRect(Rect(1, 1, 8, 8));
  EXPECT_NE(BitmapImage(&b), before);
  c->DrawFocusRect(Rect(1, 1, 8, 8));
  EXPECT_EQ(BitmapImage(&b), before);
}

TEST(Canvas, TextIsMeasuredWithoutATargetButDrawingNeedsOne) {
  TCanvas c;
  EXPECT_GT(c.TextWidth("W"), c.TextWidth("i"));
  EXPECT_GT(c.TextHeight("Wg"), 0);
  EXPECT_EQ(c.TextWidth(""), 0);
  EXPECT_FALSE(c.CanDraw());
  EXPECT_THROW(c.Rectangle(0, 0, 4, 4), EInvalidOperation);
  EXPECT_EQ(c.GetPixel(0, 0), -1);

  TBitmap b;
  TCanvas* bc = WhiteBitmap(b, 60, 20)->Canvas();
  bc->GetFont()->SetColor(clBlack);
  bc->TextOut(2, 2, "Wg");
  EXPECT_EQ(bc->GetPenPos(), Point(2 + bc->TextWidth("Wg"), 2));
  bool inked = false;
  for (int x = 0; x < 60; ++x)
    for (int y = 0; y < 20; ++y) inked |= bc->GetPixel(x, y) != clWhite;
  EXPECT_TRUE(inked);
}

TEST(Canvas, PainterScopesNestAndCopyRectReadsBitmaps) {
  QImage target(8, 8, QImage::Format_RGB32);
  target.fill(Qt::white);
  TCanvas c;
  {
    QPainter outer(&target);
    TPainterCanvasScope scope(&c, &outer);
    {
      QImage other(2, 2, QImage::Format_RGB32);
      QPainter inner(&other);
      TPainterCanvasScope nested(&c, &inner);
    }
    c.GetBrush()->SetColor(clBlue);
    c.FillRect(Rect(0, 0, 2, 2));  // the outer painter is back
    EXPECT_EQ(c.GetPixel(1, 1), clBlue);

    TBitmap src;
    WhiteBitmap(src, 4, 4)->Canvas()->SetPixel(3, 3, clRed);
    c.CopyRect(Rect(4, 4, 6, 6), src.Canvas(), Rect(2, 2, 4, 4));
  }
  EXPECT_FALSE(c.CanDraw());
  EXPECT_EQ(target.pixel(5, 5), qRgb(255, 0, 0));
  EXPECT_EQ(target.pixel(4, 4), qRgb(255, 255, 255));
}

TEST(Canvas, DrawStretchesAndHonoursTheCopyMode) {
  TBitmap src;
  WhiteBitmap(src, 2, 2)->Canvas()->SetPixel(1, 1, clRed);
  TBitmap b;
  TCanvas* c = WhiteBitmap(b, 6, 6)->Canvas();
  c->StretchDraw(Rect(2, 2, 6, 6), &src);
  EXPECT_EQ(c->GetPixel(3, 3), clWhite);
  EXPECT_EQ(c->GetPixel(4, 4), clRed);
  EXPECT_EQ(c->GetPixel(5, 5), clRed);
  EXPECT_EQ(c->GetPixel(1, 1), clWhite);

  QImage before = BitmapImage(&b).copy();
  c->SetCopyMode(cmSrcInvert);
  c->Draw(0, 0, &src);
  EXPECT_EQ(c->GetPixel(0, 0), clBlack);  // white xor white
  c->Draw(0, 0, &src);
  EXPECT_EQ(BitmapImage(&b), before);

  TPicture pic;  // drawing on a picture's bitmap tells the picture
  int changes = 0;
  pic.OnChange = [&](TObject*) { ++changes; };
  pic.GetBitmap()->SetSize(3, 3);
  pic.GetBitmap()->Canvas()->Rectangle(0, 0, 3, 3);
  EXPECT_EQ(changes, 3);  // new bitmap, size, drawing
}

TEST(Canvas, OverlayBandInvertsTheWidgetAndVanishesWhenRedrawn) {
  QImage overlay = NewOverlayImage(10, 10);
  TCanvas band;
  band.Backend()->Image = [&] { return &overlay; };
  int changes = 0;
  band.OnChange = [&](TObject*) { ++changes; };
  band.GetPen()->SetMode(pmNotXor);
  band.GetBrush()->SetStyle(bsClear);
  band.Rectangle(2, 2, 8, 8);
  EXPECT_EQ(changes, 1);

  QImage screen(10, 10, QImage::Format_RGB32);
  screen.fill(qRgb(0, 128, 255));
  {
    QPainter p(&screen);
    DrawOverlay(p, overlay);
  }
  EXPECT_EQ(screen.pixel(2, 2), qRgb(255, 127, 0));
  EXPECT_EQ(screen.pixel(4, 4), qRgb(0, 128, 255));
  band.Rectangle(2, 2, 8, 8);
  EXPECT_EQ(overlay, NewOverlayImage(10, 10));
}

// Old forms are laid out for the metrics of these faces: the one drawn for "MS Sans Serif" is
// the one drawn for "Arial", not the (wider) default face.
TEST(Fonts, WindowsSansFacesAreDrawnWithOneMetricCompatibleFace) {
  std::vector<std::string> faces;
  GetFontNames([&faces](const std::string& face) { faces.push_back(face); });
  if (std::ranges::find(faces, "Liberation Sans") == faces.end() && std::ranges::find(faces, "Arimo") == faces.end())
    GTEST_SKIP() << "no metric clone of Arial is installed";
  TCanvas c;
  auto width = [&c](const char* face) {
    c.GetFont()->SetName(face);
    c.GetFont()->SetSize(8);
    return c.TextWidth("A centred caption of an old form");
  };
  EXPECT_EQ(width("MS Sans Serif"), width("Arial"));
}
