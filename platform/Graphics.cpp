// Graphics: the toolkit-free part of the unit (colours, graphics objects, metafiles, pictures and
// the registry of file formats). Pixels and drawing live in platform/qt/QtGraphics*.cpp.
#include "Graphics.h"

#include <cstring>

#include "Consts.h"

// ---------------------------------------------------------------------------------------------
// Named integer constants.
namespace {

struct TIdentMapEntry {
  int32_t Value;
  const char* Name;
};

const TIdentMapEntry kColors[] = {
    {clBlack, "clBlack"},
    {clMaroon, "clMaroon"},
    {clGreen, "clGreen"},
    {clOlive, "clOlive"},
    {clNavy, "clNavy"},
    {clPurple, "clPurple"},
    {clTeal, "clTeal"},
    {clGray, "clGray"},
    {clSilver, "clSilver"},
    {clRed, "clRed"},
    {clLime, "clLime"},
    {clYellow, "clYellow"},
    {clBlue, "clBlue"},
    {clFuchsia, "clFuchsia"},
    {clAqua, "clAqua"},
    {clWhite, "clWhite"},
    {clMoneyGreen, "clMoneyGreen"},
    {clSkyBlue, "clSkyBlue"},
    {clCream, "clCream"},
    {clMedGray, "clMedGray"},
    {clScrollBar, "clScrollBar"},
    {clBackground, "clBackground"},
    {clActiveCaption, "clActiveCaption"},
    {clInactiveCaption, "clInactiveCaption"},
    {clMenu, "clMenu"},
    {clWindow, "clWindow"},
    {clWindowFrame, "clWindowFrame"},
    {clMenuText, "clMenuText"},
    {clWindowText, "clWindowText"},
    {clCaptionText, "clCaptionText"},
    {clActiveBorder, "clActiveBorder"},
    {clInactiveBorder, "clInactiveBorder"},
    {clAppWorkSpace, "clAppWorkSpace"},
    {clHighlight, "clHighlight"},
    {clHighlightText, "clHighlightText"},
    {clBtnFace, "clBtnFace"},
    {clBtnShadow, "clBtnShadow"},
    {clGrayText, "clGrayText"},
    {clBtnText, "clBtnText"},
    {clInactiveCaptionText, "clInactiveCaptionText"},
    {clBtnHighlight, "clBtnHighlight"},
    {cl3DDkShadow, "cl3DDkShadow"},
    {cl3DLight, "cl3DLight"},
    {clInfoText, "clInfoText"},
    {clInfoBk, "clInfoBk"},
    {clHotLight, "clHotLight"},
    {clGradientActiveCaption, "clGradientActiveCaption"},
    {clGradientInactiveCaption, "clGradientInactiveCaption"},
    {clMenuHighlight, "clMenuHighlight"},
    {clMenuBar, "clMenuBar"},
    {clNone, "clNone"},
    {clDefault, "clDefault"},
};

const TIdentMapEntry kCharsets[] = {
    {ANSI_CHARSET, "ANSI_CHARSET"},
    {DEFAULT_CHARSET, "DEFAULT_CHARSET"},
    {SYMBOL_CHARSET, "SYMBOL_CHARSET"},
    {MAC_CHARSET, "MAC_CHARSET"},
    {SHIFTJIS_CHARSET, "SHIFTJIS_CHARSET"},
    {HANGEUL_CHARSET, "HANGEUL_CHARSET"},
    {JOHAB_CHARSET, "JOHAB_CHARSET"},
    {GB2312_CHARSET, "GB2312_CHARSET"},
    {CHINESEBIG5_CHARSET, "CHINESEBIG5_CHARSET"},
    {GREEK_CHARSET, "GREEK_CHARSET"},
    {TURKISH_CHARSET, "TURKISH_CHARSET"},
    {VIETNAMESE_CHARSET, "VIETNAMESE_CHARSET"},
    {HEBREW_CHARSET, "HEBREW_CHARSET"},
    {ARABIC_CHARSET, "ARABIC_CHARSET"},
    {BALTIC_CHARSET, "BALTIC_CHARSET"},
    {RUSSIAN_CHARSET, "RUSSIAN_CHARSET"},
    {THAI_CHARSET, "THAI_CHARSET"},
    {EASTEUROPE_CHARSET, "EASTEUROPE_CHARSET"},
    {OEM_CHARSET, "OEM_CHARSET"},
};

// The Windows 95 standard scheme, by COLOR_* index, as 0x00BBGGRR.
const TColor kSystemColors[] = {
    0xC0C0C0,  // scroll bar
    0x808000,  // desktop (teal)
    0x800000,  // active caption (navy)
    0x808080,  // inactive caption
    0xC0C0C0,  // menu
    0xFFFFFF,  // window
    0x000000,  // window frame
    0x000000,  // menu text
    0x000000,  // window text
    0xFFFFFF,  // caption text
    0xC0C0C0,  // active border
    0xC0C0C0,  // inactive border
    0x808080,  // application workspace
    0x800000,  // highlight (navy)
    0xFFFFFF,  // highlight text
    0xC0C0C0,  // button face
    0x808080,  // button shadow
    0x808080,  // grey text
    0x000000,  // button text
    0xC0C0C0,  // inactive caption text
    0xFFFFFF,  // button highlight
    0x000000,  // 3D dark shadow
    0xC0C0C0,  // 3D light
    0x000000,  // tooltip text
    0xE1FFFF,  // tooltip background
    0xB5B5B5,  // (unused index 25)
    0xCC6600,  // hot-tracked item
    0xF0CAA6,  // active caption gradient
    0xF2E4D7,  // inactive caption gradient
    0x800000,  // highlighted menu item
    0xC0C0C0,  // menu bar
};

template <size_t N>
bool MapIdentToInt(const TIdentMapEntry (&map)[N], const std::string& ident, int32_t& value) {
  for (const auto& e : map)
    if (SameText(e.Name, ident)) {
      value = e.Value;
      return true;
    }
  return false;
}

template <size_t N>
bool MapIntToIdent(const TIdentMapEntry (&map)[N], int32_t value, std::string& ident) {
  for (const auto& e : map)
    if (e.Value == value) {
      ident = e.Name;
      return true;
    }
  return false;
}

template <size_t N>
std::vector<std::string> MapNames(const TIdentMapEntry (&map)[N]) {
  std::vector<std::string> names;
  for (const auto& e : map) names.push_back(e.Name);
  return names;
}

}  // namespace

TColor ColorToRGB(TColor color) {
  if (color < 0) {
    unsigned index = static_cast<uint32_t>(color) & 0xFF;
    return index < std::size(kSystemColors) ? kSystemColors[index] : clBlack;
  }
  return color;
}

bool ColorToIdent(int32_t color, std::string& ident) { return MapIntToIdent(kColors, color, ident); }
bool IdentToColor(const std::string& ident, int32_t& color) { return MapIdentToInt(kColors, ident, color); }

std::string ColorToString(TColor color) {
  std::string s;
  if (ColorToIdent(color, s)) return s;
  return Format("$%.8x", static_cast<int64_t>(static_cast<uint32_t>(color)));
}

TColor StringToColor(const std::string& s) {
  int32_t c;
  if (IdentToColor(s, c)) return c;
  return StrToInt(s);
}

void GetColorValues(const std::function<void(const std::string&)>& proc) {
  for (const auto& e : kColors) proc(e.Name);
}

bool CharsetToIdent(int32_t charset, std::string& ident) { return MapIntToIdent(kCharsets, charset, ident); }
bool IdentToCharset(const std::string& ident, int32_t& charset) { return MapIdentToInt(kCharsets, ident, charset); }
void GetCharsetValues(const std::function<void(const std::string&)>& proc) {
  for (const auto& e : kCharsets) proc(e.Name);
}

PTypeInfo TypeInfoTColor() {
  static PTypeInfo ti = [] {
    PTypeInfo t = MakeOrdTypeInfo("TColor", tkInteger, otSLong, INT32_MIN, INT32_MAX);
    RegisterIntegerConsts(t, IdentToColor, ColorToIdent, MapNames(kColors));
    return t;
  }();
  return ti;
}

PTypeInfo TypeInfoTFontCharset() {
  static PTypeInfo ti = [] {
    PTypeInfo t = MakeOrdTypeInfo("TFontCharset", tkInteger, otUByte, 0, 255);
    RegisterIntegerConsts(t, IdentToCharset, CharsetToIdent, MapNames(kCharsets));
    return t;
  }();
  return ti;
}

PTypeInfo TypeInfoTFontName() {
  static PTypeInfo ti = MakeStringTypeInfo("TFontName");
  return ti;
}

int MulDiv(int a, int b, int c) {
  if (c == 0) return -1;
  int64_t p = static_cast<int64_t>(a) * b;
  int64_t q = p / c;
  int64_t r = p % c;
  if (2 * (r < 0 ? -r : r) >= (c < 0 ? -static_cast<int64_t>(c) : c)) q += ((p < 0) != (c < 0)) ? -1 : 1;
  return static_cast<int>(q);
}

// ---------------------------------------------------------------------------------------------
// Graphics objects.
KV_IMPLEMENT_CLASS(TGraphicsObject, "Graphics") {}

void TGraphicsObject::Changed() {
  if (OnChange) OnChange(this);
}

KV_IMPLEMENT_CLASS(TFont, "Graphics") {
  b.Prop("Charset", &TFont::GetCharset, &TFont::SetCharset).Type(TypeInfoTFontCharset());
  b.Prop("Color", &TFont::GetColor, &TFont::SetColor).Type(TypeInfoTColor());
  b.Prop("Height", &TFont::GetHeight, &TFont::SetHeight);
  b.Prop("Name", &TFont::GetName, &TFont::SetName).Type(TypeInfoTFontName());
  b.Prop("Pitch", &TFont::GetPitch, &TFont::SetPitch).Default(fpDefault);
  b.Prop("Size", &TFont::GetSize, &TFont::SetSize).Stored(false);
  b.Prop("Style", &TFont::GetStyle, &TFont::SetStyle);
}

void TFont::Assign(TPersistent* source) {
  if (auto* f = Cast<TFont>(source)) {
    FCharset = f->FCharset;
    FColor = f->FColor;
    FName = f->FName;
    FPitch = f->FPitch;
    FStyle = f->FStyle;
    // The point size is what carries over between resolutions.
    FHeight = PixelsPerInch == f->PixelsPerInch ? f->FHeight : -MulDiv(f->GetSize(), PixelsPerInch, 72);
    Changed();
    return;
  }
  TGraphicsObject::Assign(source);
}

#define KV_GRAPHICS_SETTER(Cls, Name, Type, Field) \
  void Cls::Set##Name(Type v) {                    \
    if (Field == v) return;                        \
    Field = v;                                     \
    Changed();                                     \
  }

KV_GRAPHICS_SETTER(TFont, Charset, TFontCharset, FCharset)
KV_GRAPHICS_SETTER(TFont, Color, TColor, FColor)
KV_GRAPHICS_SETTER(TFont, Height, int, FHeight)
KV_GRAPHICS_SETTER(TFont, Name, const std::string&, FName)
KV_GRAPHICS_SETTER(TFont, Pitch, TFontPitch, FPitch)
KV_GRAPHICS_SETTER(TFont, Style, TFontStyles, FStyle)
KV_GRAPHICS_SETTER(TPen, Color, TColor, FColor)
KV_GRAPHICS_SETTER(TPen, Mode, TPenMode, FMode)
KV_GRAPHICS_SETTER(TPen, Style, TPenStyle, FStyle)
KV_GRAPHICS_SETTER(TPen, Width, int, FWidth)
KV_GRAPHICS_SETTER(TBrush, Style, TBrushStyle, FStyle)
#undef KV_GRAPHICS_SETTER

int TFont::GetSize() const { return -MulDiv(FHeight, 72, PixelsPerInch); }
void TFont::SetSize(int v) { SetHeight(-MulDiv(v, PixelsPerInch, 72)); }

KV_IMPLEMENT_CLASS(TPen, "Graphics") {
  b.Prop("Color", &TPen::GetColor, &TPen::SetColor).Type(TypeInfoTColor()).Default(clBlack);
  b.Prop("Mode", &TPen::GetMode, &TPen::SetMode).Default(pmCopy);
  b.Prop("Style", &TPen::GetStyle, &TPen::SetStyle).Default(psSolid);
  b.Prop("Width", &TPen::GetWidth, &TPen::SetWidth).Default(1);
}

void TPen::Assign(TPersistent* source) {
  if (auto* p = Cast<TPen>(source)) {
    FColor = p->FColor;
    FMode = p->FMode;
    FStyle = p->FStyle;
    FWidth = p->FWidth;
    Changed();
    return;
  }
  TGraphicsObject::Assign(source);
}

KV_IMPLEMENT_CLASS(TBrush, "Graphics") {
  b.Prop("Color", &TBrush::GetColor, &TBrush::SetColor).Type(TypeInfoTColor()).Default(clWhite);
  b.Prop("Style", &TBrush::GetStyle, &TBrush::SetStyle).Default(bsSolid);
}

TBrush::~TBrush() { delete FBitmap; }

void TBrush::Assign(TPersistent* source) {
  if (auto* b = Cast<TBrush>(source)) {
    FColor = b->FColor;
    FStyle = b->FStyle;
    SetBitmap(b->FBitmap);  // notifies
    return;
  }
  TGraphicsObject::Assign(source);
}

void TBrush::SetColor(TColor v) {
  if (FColor == v && FStyle != bsClear) return;
  FColor = v;
  if (FStyle == bsClear) FStyle = bsSolid;
  Changed();
}

void TBrush::SetBitmap(TBitmap* v) {
  delete FBitmap;
  FBitmap = nullptr;
  if (v && !v->Empty()) {
    FBitmap = new TBitmap;
    FBitmap->Assign(v);
  }
  Changed();
}

KV_IMPLEMENT_CLASS(TCanvas, "Graphics") {}

void TCanvas::Changing() {
  if (OnChanging) OnChanging(this);
}

void TCanvas::Changed() {
  if (OnChange) OnChange(this);
}

// ---------------------------------------------------------------------------------------------
// TGraphic
KV_IMPLEMENT_CLASS(TGraphic, "Graphics") {}

void TGraphic::SetTransparent(bool v) {
  if (v == FTransparent) return;
  FTransparent = v;
  Changed();
}

void TGraphic::SetModified(bool v) {
  if (v) Changed();
  else FModified = false;
}

void TGraphic::Changed() {
  FModified = true;
  if (OnChange) OnChange(this);
}

void TGraphic::LoadFromFile(const std::string& fileName) {
  TFileStream s(fileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(&s);
}

void TGraphic::SaveToFile(const std::string& fileName) {
  TMemoryStream s;
  SaveToStream(&s);
  WriteFileAtomic(fileName, std::string_view(reinterpret_cast<const char*>(s.Memory()), s.GetSize()));
}

namespace {
std::string GraphicData(TGraphic* g) {
  TMemoryStream s;
  g->WriteData(&s);
  return std::string(reinterpret_cast<const char*>(s.Memory()), s.GetSize());
}
// Whether an inherited form's graphic already holds the same data.
bool SameGraphic(TGraphic* a, TPersistent* ancestor) {
  auto* b = Cast<TGraphic>(ancestor);
  return b && a->ClassType() == b->ClassType() && a->Empty() == b->Empty() && GraphicData(a) == GraphicData(b);
}
}  // namespace

void TGraphic::DefineProperties(TFiler* filer) {
  bool hasData = filer->Ancestor ? !SameGraphic(this, filer->Ancestor) : !Empty();
  filer->DefineBinaryProperty(
      "Data", [this](TStream* s) { ReadData(s); }, [this](TStream* s) { WriteData(s); }, hasData);
}

std::string TGraphic::ReadStreamBytes(TStream* stream, int64_t count, const char* error) {
  int64_t left = stream->GetSize() - stream->GetPosition();
  if (count < 0) count = left;
  if (count > left) throw EInvalidGraphic(error);
  std::string bytes(static_cast<size_t>(count), '\0');
  stream->ReadBuffer(bytes.data(), count);
  return bytes;
}

void TGraphic::WriteStreamBytes(TStream* stream, const std::string& bytes) {
  stream->WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
}

uint32_t TGraphic::ReadSize(TStream* stream, const char* error) {
  std::string b = ReadStreamBytes(stream, 4, error);
  uint32_t v;
  std::memcpy(&v, b.data(), 4);
  return v;
}

// ---------------------------------------------------------------------------------------------
// TMetafile
KV_IMPLEMENT_CLASS(TMetafile, "Graphics") {}

void TMetafile::Assign(TPersistent* source) {
  if (auto* m = Cast<TMetafile>(source)) {
    FData = m->FData;
    FWidth = m->FWidth;
    FHeight = m->FHeight;
    FEnhanced = m->FEnhanced;
    Changed();
    return;
  }
  if (!source) {
    SetBytes({});
    return;
  }
  TGraphic::Assign(source);
}

void TMetafile::SetWidth(int v) {
  if (v == FWidth) return;
  FWidth = v;
  Changed();
}

void TMetafile::SetHeight(int v) {
  if (v == FHeight) return;
  FHeight = v;
  Changed();
}

namespace {
int32_t LE32(const std::string& d, size_t at) {
  uint32_t v;
  std::memcpy(&v, d.data() + at, 4);
  return static_cast<int32_t>(v);
}
int16_t LE16(const std::string& d, size_t at) {
  uint16_t v;
  std::memcpy(&v, d.data() + at, 2);
  return static_cast<int16_t>(v);
}
}  // namespace

// Enhanced: EMR_HEADER with " EMF" and its bounds in pixels. Windows: the placeable header's box
// in units per inch, or a bare header of 9 words (which has no size).
void TMetafile::SetBytes(std::string data) {
  int w = 0, h = 0;
  bool enhanced = false;
  if (!data.empty()) {
    if (data.size() >= 88 && LE32(data, 0) == 1 && LE32(data, 40) == 0x464D4520) {
      enhanced = true;
      w = LE32(data, 16) - LE32(data, 8) + 1;
      h = LE32(data, 20) - LE32(data, 12) + 1;
    } else if (data.size() >= 22 + 18 && static_cast<uint32_t>(LE32(data, 0)) == 0x9AC6CDD7u) {
      int inch = static_cast<uint16_t>(LE16(data, 14));
      if (inch == 0) throw EInvalidGraphic(SInvalidMetafile);
      w = MulDiv(LE16(data, 10) - LE16(data, 6), 96, inch);
      h = MulDiv(LE16(data, 12) - LE16(data, 8), 96, inch);
    } else if (!(data.size() >= 18 && (LE16(data, 0) == 1 || LE16(data, 0) == 2) && LE16(data, 2) == 9)) {
      throw EInvalidGraphic(SInvalidMetafile);
    }
    if (w < 0 || h < 0) throw EInvalidGraphic(SInvalidMetafile);
  }
  FData = std::move(data);
  FWidth = w;
  FHeight = h;
  FEnhanced = enhanced;
  Changed();
}

void TMetafile::LoadFromStream(TStream* stream) { SetBytes(ReadStreamBytes(stream, -1, SInvalidMetafile)); }
void TMetafile::SaveToStream(TStream* stream) { WriteStreamBytes(stream, FData); }

void TMetafile::ReadData(TStream* stream) {
  uint32_t length = ReadSize(stream, SInvalidMetafile);
  SetBytes(length <= 4 ? std::string() : ReadStreamBytes(stream, length - 4, SInvalidMetafile));
}

void TMetafile::WriteData(TStream* stream) {
  uint32_t length = static_cast<uint32_t>(FData.size() + 4);
  stream->WriteBuffer(&length, 4);
  WriteStreamBytes(stream, FData);
}

void TBitmap::SaveToPngFile(const std::string& fileName) {
  TPngImage png;
  png.Assign(this);
  png.SaveToFile(fileName);
}

KV_IMPLEMENT_CLASS(TBitmap, "Graphics") {}
KV_IMPLEMENT_CLASS(TIcon, "Graphics") {}
KV_IMPLEMENT_CLASS(TQtImageGraphic, "Graphics") {}
KV_IMPLEMENT_CLASS(TPngImage, "Graphics") {}
KV_IMPLEMENT_CLASS(TJPEGImage, "Graphics") {}
KV_IMPLEMENT_CLASS(TGIFImage, "Graphics") {}

// ---------------------------------------------------------------------------------------------
// Registered file formats, in registration order.
namespace {

struct TFileFormat {
  std::string Extension;  // lower case, without the dot
  std::string Description;
  TGraphicClass GraphicClass;
};

std::vector<TFileFormat>& FileFormats() {
  static std::vector<TFileFormat> formats = {
      {"gif", "GIF Image", TGIFImage::StaticClass()},
      {"png", "Portable Network Graphics", TPngImage::StaticClass()},
      {"jpeg", "JPEG Image File", TJPEGImage::StaticClass()},
      {"jpg", "JPEG Image File", TJPEGImage::StaticClass()},
      {"wmf", SVMetafiles, TMetafile::StaticClass()},
      {"emf", SVEnhMetafiles, TMetafile::StaticClass()},
      {"ico", SVIcons, TIcon::StaticClass()},
      {"bmp", SVBitmaps, TBitmap::StaticClass()},
  };
  return formats;
}

std::string NormalExtension(std::string_view ext) {
  if (!ext.empty() && ext[0] == '.') ext.remove_prefix(1);
  return LowerCase(ext);
}

// Descriptions ("Bitmaps (*.bmp)|*.bmp|...") and masks ("*.bmp;...") of the formats of cls and
// its descendants, latest registered first.
void BuildFilterStrings(TGraphicClass cls, std::string& descriptions, std::string& filters, int& count) {
  descriptions.clear();
  filters.clear();
  count = 0;
  const auto& formats = FileFormats();
  for (auto it = formats.rbegin(); it != formats.rend(); ++it) {
    if (!it->GraphicClass->InheritsFrom(cls)) continue;
    if (count++) {
      descriptions += '|';
      filters += ';';
    }
    descriptions += it->Description + " (*." + it->Extension + ")|*." + it->Extension;
    filters += "*." + it->Extension;
  }
}

}  // namespace

std::string GraphicFilter(TGraphicClass graphicClass) {
  std::string descriptions, filters;
  int count;
  BuildFilterStrings(graphicClass, descriptions, filters, count);
  if (count > 1) return std::string(SAllFilter) + " (" + filters + ")|" + filters + "|" + descriptions;
  return descriptions;
}

std::string GraphicFileMask(TGraphicClass graphicClass) {
  std::string descriptions, filters;
  int count;
  BuildFilterStrings(graphicClass, descriptions, filters, count);
  return filters;
}

std::string GraphicExtension(TGraphicClass graphicClass) {
  const auto& formats = FileFormats();
  for (auto it = formats.rbegin(); it != formats.rend(); ++it)
    if (it->GraphicClass == graphicClass) return it->Extension;
  return "";
}

void TPicture::RegisterFileFormat(const std::string& extension, const std::string& description,
                                  TGraphicClass graphicClass) {
  FileFormats().push_back({NormalExtension(extension), description, graphicClass});
}

void TPicture::UnregisterGraphicClass(TGraphicClass graphicClass) {
  std::erase_if(FileFormats(), [&](const TFileFormat& f) { return f.GraphicClass->InheritsFrom(graphicClass); });
}

TGraphicClass TPicture::FindGraphicClass(const std::string& extension) {
  std::string ext = NormalExtension(extension);
  const auto& formats = FileFormats();
  for (auto it = formats.rbegin(); it != formats.rend(); ++it)
    if (it->Extension == ext) return it->GraphicClass;
  return nullptr;
}

// ---------------------------------------------------------------------------------------------
// TPicture
KV_IMPLEMENT_CLASS(TPicture, "Graphics") {}

TPicture::~TPicture() { delete FGraphic; }

void TPicture::Changed() {
  if (OnChange) OnChange(this);
}

void TPicture::Adopt(TGraphic* graphic) {
  delete FGraphic;
  FGraphic = graphic;
  if (FGraphic) FGraphic->OnChange = [this](TObject*) { Changed(); };
  Changed();
}

namespace {
TGraphic* NewGraphic(TGraphicClass cls) {
  TObject* o = cls->Create(nullptr);
  if (auto* g = Cast<TGraphic>(o)) return g;
  delete o;
  throw EInvalidGraphic(Format(SInvalidPropertyType, cls->Name));
}
}  // namespace

void TPicture::SetGraphic(TGraphic* value) {
  if (value == FGraphic) return;
  TGraphic* copy = nullptr;
  if (value) {
    copy = NewGraphic(value->ClassType());
    try {
      copy->Assign(value);
    } catch (...) {
      delete copy;
      throw;
    }
  }
  Adopt(copy);
}

template <class T>
T* TPicture::ForceGraphic() {
  if (!FGraphic || !FGraphic->Is<T>()) Adopt(new T);
  return static_cast<T*>(FGraphic);
}

TBitmap* TPicture::GetBitmap() { return ForceGraphic<TBitmap>(); }
TIcon* TPicture::GetIcon() { return ForceGraphic<TIcon>(); }

void TPicture::LoadFromFile(const std::string& fileName) {
  std::string ext = NormalExtension(ExtractFileExt(fileName));
  TGraphicClass cls = FindGraphicClass(ext);
  if (!cls) throw EInvalidGraphic(Format(SUnknownExtension, ext));
  std::unique_ptr<TGraphic> g(NewGraphic(cls));
  g->LoadFromFile(fileName);
  Adopt(g.release());
}

void TPicture::SaveToFile(const std::string& fileName) {
  if (FGraphic) FGraphic->SaveToFile(fileName);
}

void TPicture::Assign(TPersistent* source) {
  if (!source) {
    SetGraphic(nullptr);
  } else if (auto* p = Cast<TPicture>(source)) {
    SetGraphic(p->FGraphic);
  } else if (auto* g = Cast<TGraphic>(source)) {
    SetGraphic(g);
  } else {
    TPersistent::Assign(source);
  }
}

void TPicture::AssignTo(TPersistent* dest) {
  if (FGraphic && FGraphic->InheritsFrom(dest->ClassType())) dest->Assign(FGraphic);
  else TPersistent::AssignTo(dest);
}

void TPicture::DefineProperties(TFiler* filer) {
  bool hasData;
  if (auto* a = Cast<TPicture>(filer->Ancestor))
    hasData = a->FGraphic ? !FGraphic || !SameGraphic(FGraphic, a->FGraphic) : FGraphic != nullptr;
  else hasData = FGraphic != nullptr;
  filer->DefineBinaryProperty(
      "Data", [this](TStream* s) { ReadData(s); }, [this](TStream* s) { WriteData(s); }, hasData);
}

void TPicture::ReadData(TStream* stream) {
  uint8_t len = 0;
  stream->ReadBuffer(&len, 1);
  std::string name(len, '\0');
  stream->ReadBuffer(name.data(), len);
  TGraphicClass cls = nullptr;
  for (const auto& f : FileFormats())
    if (SameText(f.GraphicClass->Name, name)) cls = f.GraphicClass;
  if (!cls) {
    Adopt(nullptr);
    return;
  }
  std::unique_ptr<TGraphic> g(NewGraphic(cls));
  g->ReadData(stream);
  Adopt(g.release());
}

void TPicture::WriteData(TStream* stream) {
  std::string name = FGraphic ? FGraphic->ClassName() : std::string();
  auto len = static_cast<uint8_t>(name.size());
  stream->WriteBuffer(&len, 1);
  stream->WriteBuffer(name.data(), len);
  if (FGraphic) FGraphic->WriteData(stream);
}
