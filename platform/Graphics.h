// Graphics: colours, fonts, pens, brushes, canvases, bitmaps, icons and pictures.
//
// Colours are Windows colours (0x00BBGGRR); system colours are 0x80000000 | COLOR_* index and
// resolve to the classic Windows 95 scheme. Every class here is free of the toolkit: the Qt
// side (platform/qt/QtGraphics.h) holds the pixels and does the drawing.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "Classes.h"
#include "Types.h"

KV_EXCEPTION(EInvalidGraphic, Exception);
KV_EXCEPTION(EInvalidGraphicOperation, Exception);

// The unit's message texts, worded as the VCL words them.
inline constexpr const char* SInvalidBitmap = "Bitmap image is not valid";
inline constexpr const char* SInvalidIcon = "Icon image is not valid";
inline constexpr const char* SInvalidMetafile = "Metafile is not valid";
inline constexpr const char* SInvalidPixelFormat = "Invalid pixel format";
inline constexpr const char* SInvalidImageSize = "Invalid image size";
inline constexpr const char* SImageIndexError = "Invalid ImageList Index";
inline constexpr const char* SUnknownExtension = "Unknown picture file extension (.%s)";
inline constexpr const char* SChangeIconSize = "Cannot change the size of an icon";
inline constexpr const char* SNoCanvasHandle = "Canvas does not allow drawing";
inline constexpr const char* SInvalidImageData = "%s image is not valid";  // "PNG", "JPEG", "GIF"
inline constexpr const char* SAllFilter = "All";
inline constexpr const char* SVBitmaps = "Bitmaps";
inline constexpr const char* SVIcons = "Icons";
inline constexpr const char* SVMetafiles = "Metafiles";
inline constexpr const char* SVEnhMetafiles = "Enhanced Metafiles";

// ---------------------------------------------------------------------------------------------
// Colours.
using TColor = int32_t;

constexpr TColor clSystemColor = static_cast<TColor>(0x80000000);
constexpr TColor clScrollBar = clSystemColor | 0;
constexpr TColor clBackground = clSystemColor | 1;
constexpr TColor clActiveCaption = clSystemColor | 2;
constexpr TColor clInactiveCaption = clSystemColor | 3;
constexpr TColor clMenu = clSystemColor | 4;
constexpr TColor clWindow = clSystemColor | 5;
constexpr TColor clWindowFrame = clSystemColor | 6;
constexpr TColor clMenuText = clSystemColor | 7;
constexpr TColor clWindowText = clSystemColor | 8;
constexpr TColor clCaptionText = clSystemColor | 9;
constexpr TColor clActiveBorder = clSystemColor | 10;
constexpr TColor clInactiveBorder = clSystemColor | 11;
constexpr TColor clAppWorkSpace = clSystemColor | 12;
constexpr TColor clHighlight = clSystemColor | 13;
constexpr TColor clHighlightText = clSystemColor | 14;
constexpr TColor clBtnFace = clSystemColor | 15;
constexpr TColor clBtnShadow = clSystemColor | 16;
constexpr TColor clGrayText = clSystemColor | 17;
constexpr TColor clBtnText = clSystemColor | 18;
constexpr TColor clInactiveCaptionText = clSystemColor | 19;
constexpr TColor clBtnHighlight = clSystemColor | 20;
constexpr TColor cl3DDkShadow = clSystemColor | 21;
constexpr TColor cl3DLight = clSystemColor | 22;
constexpr TColor clInfoText = clSystemColor | 23;
constexpr TColor clInfoBk = clSystemColor | 24;
// Delphi 6-7 additions.
constexpr TColor clHotLight = clSystemColor | 26;
constexpr TColor clGradientActiveCaption = clSystemColor | 27;
constexpr TColor clGradientInactiveCaption = clSystemColor | 28;
constexpr TColor clMenuHighlight = clSystemColor | 29;
constexpr TColor clMenuBar = clSystemColor | 30;

constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clOlive = 0x008080;
constexpr TColor clNavy = 0x800000;
constexpr TColor clPurple = 0x800080;
constexpr TColor clTeal = 0x808000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clLtGray = 0xC0C0C0;
constexpr TColor clDkGray = 0x808080;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clMoneyGreen = 0xC0DCC0;
constexpr TColor clSkyBlue = 0xF0CAA6;
constexpr TColor clCream = 0xF0FBFF;
constexpr TColor clMedGray = 0xA4A0A0;
constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clDefault = 0x20000000;

constexpr TColor RGB(int r, int g, int b) { return (r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16); }
constexpr int GetRValue(TColor c) { return c & 0xFF; }
constexpr int GetGValue(TColor c) { return (c >> 8) & 0xFF; }
constexpr int GetBValue(TColor c) { return (c >> 16) & 0xFF; }

// System colours become their Windows 95 values; other colours come back unchanged.
TColor ColorToRGB(TColor color);
// "clBtnFace", or "$00FF00FF" for a colour without a name.
std::string ColorToString(TColor color);
// A colour name (ignoring case) or an integer ("$00FF00FF", "255"); EConvertError otherwise.
TColor StringToColor(const std::string& s);
bool ColorToIdent(int32_t color, std::string& ident);
bool IdentToColor(const std::string& ident, int32_t& color);
// Calls proc with each colour name, in the VCL's order.
void GetColorValues(const std::function<void(const std::string&)>& proc);
// The font families installed on the system, sorted.
void GetFontNames(const std::function<void(const std::string&)>& proc);
// tkInteger "TColor"; publish colour properties with `.Type(TypeInfoTColor())` so that form
// streams write them as identifiers.
PTypeInfo TypeInfoTColor();

// ---------------------------------------------------------------------------------------------
// Character sets (a byte, 0..255).
using TFontCharset = uint8_t;
constexpr TFontCharset ANSI_CHARSET = 0;
constexpr TFontCharset DEFAULT_CHARSET = 1;
constexpr TFontCharset SYMBOL_CHARSET = 2;
constexpr TFontCharset MAC_CHARSET = 77;
constexpr TFontCharset SHIFTJIS_CHARSET = 128;
constexpr TFontCharset HANGEUL_CHARSET = 129;
constexpr TFontCharset JOHAB_CHARSET = 130;
constexpr TFontCharset GB2312_CHARSET = 134;
constexpr TFontCharset CHINESEBIG5_CHARSET = 136;
constexpr TFontCharset GREEK_CHARSET = 161;
constexpr TFontCharset TURKISH_CHARSET = 162;
constexpr TFontCharset VIETNAMESE_CHARSET = 163;
constexpr TFontCharset HEBREW_CHARSET = 177;
constexpr TFontCharset ARABIC_CHARSET = 178;
constexpr TFontCharset BALTIC_CHARSET = 186;
constexpr TFontCharset RUSSIAN_CHARSET = 204;
constexpr TFontCharset THAI_CHARSET = 222;
constexpr TFontCharset EASTEUROPE_CHARSET = 238;
constexpr TFontCharset OEM_CHARSET = 255;

bool CharsetToIdent(int32_t charset, std::string& ident);
bool IdentToCharset(const std::string& ident, int32_t& charset);
void GetCharsetValues(const std::function<void(const std::string&)>& proc);
PTypeInfo TypeInfoTFontCharset();  // tkInteger "TFontCharset", 0..255, with its names
PTypeInfo TypeInfoTFontName();     // string type "TFontName"

// ---------------------------------------------------------------------------------------------
// Fonts, pens, brushes.
KV_ENUM(TFontStyle, fsBold, fsItalic, fsUnderline, fsStrikeOut)
KV_SET(TFontStyles, TFontStyle)
KV_ENUM(TFontPitch, fpDefault, fpVariable, fpFixed)
KV_ENUM(TPenStyle, psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame)
KV_ENUM(TPenMode, pmBlack, pmWhite, pmNop, pmNot, pmCopy, pmNotCopy, pmMergePenNot, pmMaskPenNot, pmMergeNotPen,
        pmMaskNotPen, pmMerge, pmNotMerge, pmMask, pmNotMask, pmXor, pmNotXor)
KV_ENUM(TBrushStyle, bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross)

// (a * b) / c rounded half away from zero, with a 64-bit intermediate; -1 when c is 0.
int MulDiv(int a, int b, int c);

class TGraphicsObject : public TPersistent {
  KV_CLASS(TGraphicsObject, TPersistent)
 public:
  TNotifyEvent OnChange;

 protected:
  virtual void Changed();
};

class TFont : public TGraphicsObject {
  KV_CLASS(TFont, TGraphicsObject)
 public:
  void Assign(TPersistent* source) override;

  TFontCharset GetCharset() const { return FCharset; }
  void SetCharset(TFontCharset v);
  TColor GetColor() const { return FColor; }
  void SetColor(TColor v);
  // Negative: character height in pixels; positive: cell height; 0: the default height.
  int GetHeight() const { return FHeight; }
  void SetHeight(int v);
  std::string GetName() const { return FName; }
  void SetName(const std::string& v);
  TFontPitch GetPitch() const { return FPitch; }
  void SetPitch(TFontPitch v);
  // Points, derived from Height through PixelsPerInch.
  int GetSize() const;
  void SetSize(int v);
  TFontStyles GetStyle() const { return FStyle; }
  void SetStyle(TFontStyles v);
  int PixelsPerInch = 96;

 private:
  TFontCharset FCharset = DEFAULT_CHARSET;
  TColor FColor = clWindowText;
  int FHeight = -11;
  std::string FName = "MS Sans Serif";
  TFontPitch FPitch = fpDefault;
  TFontStyles FStyle;
};

class TPen : public TGraphicsObject {
  KV_CLASS(TPen, TGraphicsObject)
 public:
  void Assign(TPersistent* source) override;
  TColor GetColor() const { return FColor; }
  void SetColor(TColor v);
  TPenMode GetMode() const { return FMode; }
  void SetMode(TPenMode v);
  TPenStyle GetStyle() const { return FStyle; }
  void SetStyle(TPenStyle v);
  int GetWidth() const { return FWidth; }
  void SetWidth(int v);

 private:
  TColor FColor = clBlack;
  TPenMode FMode = pmCopy;
  TPenStyle FStyle = psSolid;
  int FWidth = 1;
};

class TBitmap;

class TBrush : public TGraphicsObject {
  KV_CLASS(TBrush, TGraphicsObject)
 public:
  ~TBrush() override;
  void Assign(TPersistent* source) override;
  TColor GetColor() const { return FColor; }
  void SetColor(TColor v);  // also makes a clear brush solid, as the VCL does
  TBrushStyle GetStyle() const { return FStyle; }
  void SetStyle(TBrushStyle v);
  // A pattern bitmap, copied; nullptr clears it. While set it paints instead of Color/Style.
  TBitmap* GetBitmap() const { return FBitmap; }
  void SetBitmap(TBitmap* v);

 private:
  TColor FColor = clWhite;
  TBrushStyle FStyle = bsSolid;
  TBitmap* FBitmap = nullptr;
};

// ---------------------------------------------------------------------------------------------
// TCanvas. Where it draws is up to its backend (platform/qt/QtGraphics.h): the QPainter of a
// paint event, or an image (a bitmap's pixels, an overlay). Drawing with neither raises
// EInvalidOperation (SNoCanvasHandle); text measurement always works.
using TCopyMode = int32_t;
constexpr TCopyMode cmBlackness = 0x00000042;
constexpr TCopyMode cmDstInvert = 0x00550009;
constexpr TCopyMode cmMergeCopy = 0x00C000CA;
constexpr TCopyMode cmMergePaint = 0x00BB0226;
constexpr TCopyMode cmNotSrcCopy = 0x00330008;
constexpr TCopyMode cmNotSrcErase = 0x001100A6;
constexpr TCopyMode cmPatCopy = 0x00F00021;
constexpr TCopyMode cmPatInvert = 0x005A0049;
constexpr TCopyMode cmPatPaint = 0x00FB0A09;
constexpr TCopyMode cmSrcAnd = 0x008800C6;
constexpr TCopyMode cmSrcCopy = 0x00CC0020;
constexpr TCopyMode cmSrcErase = 0x00440328;
constexpr TCopyMode cmSrcInvert = 0x00660046;
constexpr TCopyMode cmSrcPaint = 0x00EE0086;
constexpr TCopyMode cmWhiteness = 0x00FF0062;

class TGraphic;
class TCanvasBackend;

class TCanvas : public TPersistent {
  KV_CLASS(TCanvas, TPersistent)
 public:
  TCanvas();
  ~TCanvas() override;

  TFont* GetFont() const { return FFont; }
  void SetFont(TFont* v) { FFont->Assign(v); }
  TPen* GetPen() const { return FPen; }
  void SetPen(TPen* v) { FPen->Assign(v); }
  TBrush* GetBrush() const { return FBrush; }
  void SetBrush(TBrush* v) { FBrush->Assign(v); }
  TCopyMode GetCopyMode() const { return FCopyMode; }
  void SetCopyMode(TCopyMode v) { FCopyMode = v; }
  TPoint GetPenPos() const { return FPenPos; }
  void SetPenPos(TPoint p) { FPenPos = p; }

  // GDI geometry: LineTo leaves out its end point; shapes given by two corners cover the
  // pixels from (X1, Y1) up to but not including (X2, Y2).
  void MoveTo(int x, int y) { FPenPos = {x, y}; }
  void LineTo(int x, int y);
  void Rectangle(int x1, int y1, int x2, int y2);
  void Rectangle(const TRect& r) { Rectangle(r.Left, r.Top, r.Right, r.Bottom); }
  void FillRect(const TRect& r);   // brush only
  void FrameRect(const TRect& r);  // one-pixel border in the brush colour
  void Ellipse(int x1, int y1, int x2, int y2);
  void Ellipse(const TRect& r) { Ellipse(r.Left, r.Top, r.Right, r.Bottom); }
  void RoundRect(int x1, int y1, int x2, int y2, int x3, int y3);
  // A wedge of the ellipse in (X1, Y1)-(X2, Y2): the arc runs counter-clockwise from the line
  // through the centre and (X3, Y3) to the one through (X4, Y4); one line for both is the whole
  // ellipse, as in GDI.
  void Pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
  void Polygon(const std::vector<TPoint>& points);
  void Polyline(const std::vector<TPoint>& points);
  // Text at its top-left corner, on the brush colour unless the brush is clear; the pen
  // position moves to the end of the text.
  void TextOut(int x, int y, const std::string& text);
  // Text clipped to rect; a solid brush fills rect first.
  void TextRect(const TRect& rect, int x, int y, const std::string& text);
  int TextWidth(const std::string& text) const { return TextExtent(text).cx; }
  int TextHeight(const std::string& text) const { return TextExtent(text).cy; }
  TSize TextExtent(const std::string& text) const;
  // Graphics, through CopyMode for bitmaps (cmSrcCopy, cmSrcInvert, cmSrcAnd, cmSrcPaint, ...).
  void Draw(int x, int y, TGraphic* graphic);
  void StretchDraw(const TRect& rect, TGraphic* graphic);
  // Copies from an image-backed canvas (a bitmap's); other sources raise EInvalidOperation.
  void CopyRect(const TRect& dest, TCanvas* canvas, const TRect& source);
  // A dotted inverted frame: drawing it again removes it.
  void DrawFocusRect(const TRect& r);
  // Reads answer -1 (CLR_INVALID) outside the image or without one.
  TColor GetPixel(int x, int y) const;
  void SetPixel(int x, int y, TColor color);
  TRect ClipRect() const;
  bool CanDraw() const;  // a painter or an image is there to draw on
  void Lock() {}
  void Unlock() {}
  bool TryLock() { return true; }
  void Refresh() {}

  TNotifyEvent OnChange;    // after each drawing operation
  TNotifyEvent OnChanging;  // before each drawing operation

  TCanvasBackend* Backend() const { return FBackend.get(); }

 protected:
  virtual void Changing();
  virtual void Changed();

 private:
  TFont* FFont;
  TPen* FPen;
  TBrush* FBrush;
  TCopyMode FCopyMode = cmSrcCopy;
  TPoint FPenPos;
  std::unique_ptr<TCanvasBackend> FBackend;
};

// ---------------------------------------------------------------------------------------------
// Graphics.
class TGraphic : public TPersistent {
  KV_CLASS(TGraphic, TPersistent)
 public:
  virtual bool Empty() const = 0;
  virtual int GetWidth() const = 0;
  virtual void SetWidth(int v) = 0;
  virtual int GetHeight() const = 0;
  virtual void SetHeight(int v) = 0;
  virtual bool GetTransparent() const { return FTransparent; }
  virtual void SetTransparent(bool v);
  bool GetModified() const { return FModified; }
  void SetModified(bool v);

  virtual void LoadFromStream(TStream* stream) = 0;
  virtual void SaveToStream(TStream* stream) = 0;
  void LoadFromFile(const std::string& fileName);
  void SaveToFile(const std::string& fileName);
  // Paints the graphic stretched into rect (TCanvas::Draw and StretchDraw call this).
  virtual void Draw(TCanvas* canvas, const TRect& rect) = 0;

  // The form-stream property "Data" (ReadData / WriteData).
  void DefineProperties(TFiler* filer) override;
  // The graphic's form-stream data; by default the same bytes as its file.
  virtual void ReadData(TStream* stream) { LoadFromStream(stream); }
  virtual void WriteData(TStream* stream) { SaveToStream(stream); }

  TNotifyEvent OnChange;

 protected:
  virtual void Changed();
  // count bytes (all that are left when count < 0); EInvalidGraphic(error) when fewer remain.
  static std::string ReadStreamBytes(TStream* stream, int64_t count, const char* error);
  static void WriteStreamBytes(TStream* stream, const std::string& bytes);
  // A 4-byte little-endian size; EInvalidGraphic(error) when it is missing.
  static uint32_t ReadSize(TStream* stream, const char* error);

 private:
  bool FTransparent = false;
  bool FModified = false;
};
using TGraphicClass = TClass;

KV_ENUM(TPixelFormat, pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit, pfCustom)
KV_ENUM(TTransparentMode, tmAuto, tmFixed)

struct TBitmapImage;  // the pixels, in platform/qt/QtGraphics.h

// A device-independent bitmap. Files and form data are BMP files (BITMAPFILEHEADER +
// BITMAPINFOHEADER + palette + bottom-up rows); reading takes 1, 4, 8, 16, 24 and 32 bits per
// pixel, RLE4/RLE8 and OS/2 headers. Writing keeps the pixel format and palette it holds, so
// that uncompressed 1, 4, 8 and 24-bit files come back byte for byte. A new bitmap is pfDevice
// and saves as 24 bits.
class TBitmap : public TGraphic {
  KV_CLASS(TBitmap, TGraphic)
 public:
  TBitmap();
  ~TBitmap() override;
  void Assign(TPersistent* source) override;

  bool Empty() const override;
  int GetWidth() const override;
  void SetWidth(int v) override;
  int GetHeight() const override;
  void SetHeight(int v) override;
  // New area is white; EInvalidGraphic (SInvalidImageSize) for more than 2^26 pixels.
  void SetSize(int width, int height);
  TCanvas* Canvas();
  TPixelFormat GetPixelFormat() const;
  void SetPixelFormat(TPixelFormat v);  // converts, mapping colours to the nearest palette entry
  // Palette of pf1bit, pf4bit, pf8bit as colours; empty for other formats.
  std::vector<TColor> GetPalette() const;
  bool GetMonochrome() const;
  void SetMonochrome(bool v);
  // Writes the bitmap as a PNG file (EFCreateError when the file cannot be written).
  void SaveToPngFile(const std::string& fileName);
  // tmAuto: the bottom-left pixel; tmFixed: the colour set (setting one makes the mode tmFixed).
  TColor GetTransparentColor() const;
  void SetTransparentColor(TColor v);
  TTransparentMode GetTransparentMode() const { return FTransparentMode; }
  void SetTransparentMode(TTransparentMode v);
  void Dormant() {}
  void FreeImage() {}

  void LoadFromStream(TStream* stream) override;  // EInvalidGraphic (SInvalidBitmap)
  void SaveToStream(TStream* stream) override;
  void Draw(TCanvas* canvas, const TRect& rect) override;
  // 4-byte size, then the BMP file; a bare BMP file is read too.
  void ReadData(TStream* stream) override;
  void WriteData(TStream* stream) override;

  TBitmapImage& Image() { return *FImage; }
  const TBitmapImage& Image() const { return *FImage; }

 private:
  std::unique_ptr<TBitmapImage> FImage;
  TCanvas* FCanvas = nullptr;
  TColor FTransparentColor = clDefault;
  TTransparentMode FTransparentMode = tmAuto;
};

struct TIconImage;  // the decoded image, in platform/qt/QtGraphics.h

// An icon file (.ico). Shows the image nearest 32 x 32 (most colours on a tie); keeps the file
// bytes so that saving writes them unchanged. Form data is the raw file.
class TIcon : public TGraphic {
  KV_CLASS(TIcon, TGraphic)
 public:
  TIcon();
  ~TIcon() override;
  void Assign(TPersistent* source) override;
  bool Empty() const override { return FData.empty(); }
  int GetWidth() const override;
  void SetWidth(int v) override;  // EInvalidGraphicOperation (SChangeIconSize) once it holds one
  int GetHeight() const override;
  void SetHeight(int v) override;
  bool GetTransparent() const override { return true; }
  void LoadFromStream(TStream* stream) override;  // EInvalidGraphic (SInvalidIcon)
  void SaveToStream(TStream* stream) override;
  void Draw(TCanvas* canvas, const TRect& rect) override;
  const std::string& Bytes() const { return FData; }
  const TIconImage& Image() const { return *FImage; }

 private:
  std::string FData;
  std::unique_ptr<TIconImage> FImage;
};

// Windows and enhanced metafiles: kept as bytes and written back unchanged; their size comes
// from the file header; they draw nothing.
class TMetafile : public TGraphic {
  KV_CLASS(TMetafile, TGraphic)
 public:
  void Assign(TPersistent* source) override;
  bool Empty() const override { return FData.empty(); }
  int GetWidth() const override { return FWidth; }
  void SetWidth(int v) override;
  int GetHeight() const override { return FHeight; }
  void SetHeight(int v) override;
  bool GetEnhanced() const { return FEnhanced; }
  void LoadFromStream(TStream* stream) override;  // EInvalidGraphic (SInvalidMetafile)
  void SaveToStream(TStream* stream) override;
  void Draw(TCanvas*, const TRect&) override {}
  // 4-byte length (counting itself), then the metafile.
  void ReadData(TStream* stream) override;
  void WriteData(TStream* stream) override;
  const std::string& Bytes() const { return FData; }

 private:
  void SetBytes(std::string data);
  std::string FData;
  int FWidth = 0;
  int FHeight = 0;
  bool FEnhanced = false;
};

// Image files decoded by the toolkit's codecs (PNG, JPEG, GIF). The file bytes are kept and
// written back unchanged; the first frame is shown. Form data is a 4-byte size and the file;
// data that starts with the format's own signature is read as a bare file.
class TQtImageGraphic : public TGraphic {
  KV_CLASS(TQtImageGraphic, TGraphic)
 public:
  TQtImageGraphic();
  ~TQtImageGraphic() override;
  // Takes a graphic of its own class, or a non-empty TBitmap, which it encodes in its format
  // (EConvertError for a format that can only be read, such as GIF).
  void Assign(TPersistent* source) override;
  bool Empty() const override { return FData.empty(); }
  int GetWidth() const override;
  void SetWidth(int v) override;  // EInvalidGraphicOperation: the file is kept as it is
  int GetHeight() const override;
  void SetHeight(int v) override;
  void LoadFromStream(TStream* stream) override;  // EInvalidGraphic (SInvalidImageData)
  void SaveToStream(TStream* stream) override;
  void Draw(TCanvas* canvas, const TRect& rect) override;
  void ReadData(TStream* stream) override;
  void WriteData(TStream* stream) override;
  const std::string& Bytes() const { return FData; }
  const TBitmapImage& Image() const { return *FImage; }
  // The codec's format name ("PNG") and the bytes every file of the format starts with.
  virtual const char* FormatName() const { return ""; }
  virtual std::string Signature() const { return ""; }

 private:
  void SetBytes(std::string data);
  std::string FData;
  std::unique_ptr<TBitmapImage> FImage;
};

class TPngImage : public TQtImageGraphic {
  KV_CLASS(TPngImage, TQtImageGraphic)
 public:
  const char* FormatName() const override { return "PNG"; }
  std::string Signature() const override { return "\x89PNG\r\n\x1a\n"; }
};

class TJPEGImage : public TQtImageGraphic {
  KV_CLASS(TJPEGImage, TQtImageGraphic)
 public:
  const char* FormatName() const override { return "JPEG"; }
  std::string Signature() const override { return "\xFF\xD8"; }
};

class TGIFImage : public TQtImageGraphic {
  KV_CLASS(TGIFImage, TQtImageGraphic)
 public:
  const char* FormatName() const override { return "GIF"; }
  std::string Signature() const override { return "GIF8"; }
};

// ---------------------------------------------------------------------------------------------
// TPicture: holds one graphic of any registered class.
class TPicture : public TPersistent {
  KV_CLASS(TPicture, TPersistent)
 public:
  TPicture() = default;
  ~TPicture() override;

  TGraphic* GetGraphic() const { return FGraphic; }
  // Takes a copy of value (a new graphic of its class); nullptr empties the picture.
  void SetGraphic(TGraphic* value);
  // The graphic as a bitmap; a picture holding something else (or nothing) gets a new empty one.
  TBitmap* GetBitmap();
  void SetBitmap(TBitmap* value) { SetGraphic(value); }
  TIcon* GetIcon();
  void SetIcon(TIcon* value) { SetGraphic(value); }
  int GetWidth() const { return FGraphic ? FGraphic->GetWidth() : 0; }
  int GetHeight() const { return FGraphic ? FGraphic->GetHeight() : 0; }

  // The graphic class comes from the extension; EInvalidGraphic (SUnknownExtension) otherwise.
  void LoadFromFile(const std::string& fileName);
  void SaveToFile(const std::string& fileName);  // nothing without a graphic
  // Accepts a TPicture, a TGraphic or nullptr.
  void Assign(TPersistent* source) override;

  // "Data": the class name as a short string, then the graphic's own data. An unknown class
  // name leaves the picture empty, as the VCL does.
  void DefineProperties(TFiler* filer) override;

  // Registered formats. Lists (filters, masks) show the latest registered first.
  static void RegisterFileFormat(const std::string& extension, const std::string& description,
                                 TGraphicClass graphicClass);
  static void UnregisterGraphicClass(TGraphicClass graphicClass);
  static TGraphicClass FindGraphicClass(const std::string& extension);  // nullptr if none

  TNotifyEvent OnChange;

 protected:
  virtual void Changed();
  void AssignTo(TPersistent* dest) override;

 private:
  template <class T>
  T* ForceGraphic();
  void Adopt(TGraphic* graphic);
  void ReadData(TStream* stream);
  void WriteData(TStream* stream);
  TGraphic* FGraphic = nullptr;
};

// "All (*.bmp;*.ico;...)|*.bmp;*.ico;...|Bitmaps (*.bmp)|*.bmp|..." for the formats whose class
// inherits from graphicClass ("All" only when more than one).
std::string GraphicFilter(TGraphicClass graphicClass);
// The extension registered for exactly this class (latest first), without the dot; "" if none.
std::string GraphicExtension(TGraphicClass graphicClass);
// "*.bmp;*.ico;..." for the formats whose class inherits from graphicClass.
std::string GraphicFileMask(TGraphicClass graphicClass);
