// kvdcr: writes the library's component resource file (.dcr) of palette bitmaps, and on request
// a preview sheet of them, four times enlarged, as PNG.
//   kvdcr OUT.dcr [PREVIEW.png]
// Fails when a class on the standard palette has no drawing, so a new standard component cannot
// reach the palette without its bitmap.
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <set>

#include "KvPalArt.h"
#include "Consts.h"
#include "KvPixels.h"
#include "Forms.h"
#include "KvClass.h"
#include "StdReg.h"

namespace {
constexpr int kSize = 24;

using TNamedBitmaps = std::vector<std::pair<std::string, std::unique_ptr<TBitmap>>>;

void CheckCoverage() {
  std::set<std::string> drawn;
  for (const auto& d : PaletteDrawings()) drawn.insert(d.Name);
  RegisterStandardComponents();
  std::string missing;
  for (int page = 0; page < RegisteredPages->Count(); ++page) {
    const auto* classes = static_cast<const TList*>(RegisteredPages->GetObject(page));
    for (int i = 0; i < classes->Count(); ++i) {
      std::string name = UpperCase(ClassItem(classes, i)->Name);
      if (!drawn.count(name)) missing += " " + name;
    }
  }
  if (!missing.empty()) throw Exception("no palette bitmap drawn for" + missing);
}

void Write16(TStream& s, uint16_t v) { s.WriteBuffer(&v, 2); }
void Write32(TStream& s, uint32_t v) { s.WriteBuffer(&v, 4); }
void Pad4(TStream& s) {
  static const uint8_t zeros[3] = {};
  if (int64_t rest = s.GetPosition() % 4) s.WriteBuffer(zeros, 4 - rest);
}

// A 32-bit resource file: the empty leading entry, then one RT_BITMAP entry per bitmap whose
// data is the bitmap file without its 14-byte file header.
void WriteDcr(const std::string& fileName, const TNamedBitmaps& bitmaps) {
  TMemoryStream out;
  Write32(out, 0), Write32(out, 32), Write32(out, 0xFFFF), Write32(out, 0xFFFF);
  for (int i = 0; i < 4; ++i) Write32(out, 0);
  for (const auto& [name, bitmap] : bitmaps) {
    TMemoryStream file;
    bitmap->SaveToStream(&file);
    const uint32_t dataSize = static_cast<uint32_t>(file.GetSize() - 14);
    const uint32_t nameSize = (static_cast<uint32_t>(name.size()) + 1) * 2;
    const uint32_t headerSize = (8 + 4 + nameSize + 3) / 4 * 4 + 16;
    Write32(out, dataSize), Write32(out, headerSize);
    Write16(out, 0xFFFF), Write16(out, 2);  // RT_BITMAP
    for (char ch : name) Write16(out, static_cast<uint8_t>(ch));
    Write16(out, 0);
    Pad4(out);
    Write32(out, 0);                             // data version
    Write16(out, 0x1010), Write16(out, 0x0409);  // moveable, discardable; US English
    Write32(out, 0), Write32(out, 0);            // version, characteristics
    out.WriteBuffer(file.Memory() + 14, dataSize);
    Pad4(out);
  }
  out.SaveToFile(fileName);
}

void WritePreview(const std::string& fileName, const TNamedBitmaps& bitmaps) {
  constexpr int columns = 8, scale = 4, cellW = 140, cellH = kSize * scale + 24;
  const int rows = (static_cast<int>(bitmaps.size()) + columns - 1) / columns;
  TBitmap sheet;
  sheet.SetSize(columns * cellW, rows * cellH);
  TCanvas* c = sheet.Canvas();
  c->GetBrush()->SetColor(clSilver);
  c->FillRect(Rect(0, 0, sheet.GetWidth(), sheet.GetHeight()));
  c->GetFont()->SetHeight(-10);
  for (size_t i = 0; i < bitmaps.size(); ++i) {
    const int x = static_cast<int>(i % columns) * cellW + 4, y = static_cast<int>(i / columns) * cellH + 4;
    TBitmap* b = bitmaps[i].second.get();
    c->StretchDraw(Rect(x, y, x + kSize * scale, y + kSize * scale), b);
    b->SetTransparent(true);  // as a palette button shows it
    c->Draw(x + kSize * scale + 8, y + 8, b);
    c->GetBrush()->SetStyle(bsClear);
    c->TextOut(x, y + kSize * scale + 2, bitmaps[i].first);
    c->GetBrush()->SetStyle(bsSolid);
  }
  sheet.SaveToPngFile(fileName);
}
}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || argc > 3) {
    std::fprintf(stderr, "usage: kvdcr OUT.dcr [PREVIEW.png]\n");
    return 2;
  }
  setenv("QT_QPA_PLATFORM", "offscreen", 0);  // drawing needs the toolkit, not a screen
  try {
    Application->Initialize();
    CheckCoverage();
    TNamedBitmaps bitmaps;
    for (const auto& d : PaletteDrawings()) bitmaps.emplace_back(d.Name, RenderPaletteDrawing(d));
    WriteDcr(argv[1], bitmaps);
    if (argc == 3) WritePreview(argv[2], bitmaps);
  } catch (const Exception& e) {
    std::fprintf(stderr, "kvdcr: %s\n", e.what());
    return 1;
  }
  return 0;
}
