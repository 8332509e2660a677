// kvform glyph: turns a pixel-art text file into the Glyph.Data or Picture.Data lines of a text
// form file, so that the pictures of the kit's windows stay editable as text (forms/art/).
//
// An art file:
//   # comments and blank lines, before the pixels
//   property Glyph       the property to print: Glyph (buttons) or Picture (images)
//   k clBlack            a key character and a colour of the 16-colour palette, one per line
//   pixels
//   ..kk..               one line per pixel row, all of one width, every character a key
// The bitmap is stored with 4 bits per pixel. Its bottom-left pixel gives the colour that buttons
// (and transparent images) leave out, so draw the background there.
#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>

#include "Buttons.h"
#include "Classes.h"
#include "Commands.h"
#include "Consts.h"

namespace {

struct TArt {
  std::string Property;  // "Glyph" or "Picture"
  std::map<char, TColor> Keys;
  std::vector<std::string> Rows;
};

std::string Contents(TMemoryStream& s) {
  return {reinterpret_cast<const char*>(s.Memory()), static_cast<size_t>(s.GetSize())};
}

[[noreturn]] void ArtError(const std::string& message, int line) {
  throw EParserError(Format(SParseError, message, line));
}

std::vector<TColor> SixteenColours() {
  TBitmap probe;
  probe.SetSize(1, 1);
  probe.SetPixelFormat(pf4bit);
  return probe.GetPalette();
}

std::vector<std::string> TextLines(const std::string& fileName) {
  TMemoryStream file;
  file.LoadFromFile(fileName);
  const std::string text = Contents(file);
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    lines.push_back(TrimRight(std::string_view(text).substr(start, end - start)));
    start = end + 1;
  }
  return lines;
}

TArt ReadArt(const std::string& fileName) {
  const std::vector<TColor> palette = SixteenColours();
  TArt art;
  bool pixels = false;
  int lineNo = 0;
  for (const std::string& line : TextLines(fileName)) {
    ++lineNo;
    if (pixels) {
      if (line.empty()) continue;
      if (!art.Rows.empty() && line.size() != art.Rows.front().size()) ArtError("Rows differ in width", lineNo);
      for (char c : line)
        if (!art.Keys.count(c)) ArtError(Format("Unknown key '%s'", std::string(1, c)), lineNo);
      art.Rows.push_back(line);
      continue;
    }
    const std::string s = Trim(line);
    if (s.empty() || s[0] == '#') continue;
    if (s == "pixels") {
      pixels = true;
    } else if (s.rfind("property ", 0) == 0) {
      art.Property = Trim(s.substr(9));
      if (art.Property != "Glyph" && art.Property != "Picture") ArtError("Property must be Glyph or Picture", lineNo);
    } else {
      int32_t colour = 0;
      if (s.size() < 3 || s[1] != ' ' || !IdentToColor(Trim(s.substr(2)), colour) ||
          std::find(palette.begin(), palette.end(), colour) == palette.end())
        ArtError("Expected a key character and a colour of the 16-colour palette", lineNo);
      art.Keys[s[0]] = colour;
    }
  }
  if (art.Property.empty()) ArtError("No property line", lineNo);
  if (art.Rows.empty()) ArtError("No pixels", lineNo);
  return art;
}

void Paint(const TArt& art, TBitmap& bitmap) {
  bitmap.SetSize(static_cast<int>(art.Rows.front().size()), static_cast<int>(art.Rows.size()));
  TCanvas* canvas = bitmap.Canvas();
  for (size_t y = 0; y < art.Rows.size(); ++y)
    for (size_t x = 0; x < art.Rows[y].size(); ++x)
      canvas->SetPixel(static_cast<int>(x), static_cast<int>(y), art.Keys.at(art.Rows[y][x]));
  bitmap.SetPixelFormat(pf4bit);
}

// The "<Property>.Data = {...}" lines as the text form converter writes them, re-indented.
std::string DataLines(const TArt& art, TBitmap& bitmap, int indent) {
  std::unique_ptr<TComponent> holder;
  if (art.Property == "Glyph") {
    auto* button = new TSpeedButton(nullptr);
    holder.reset(button);
    button->SetGlyph(&bitmap);
  } else {
    auto* image = new TImage(nullptr);
    holder.reset(image);
    image->GetPicture()->SetBitmap(&bitmap);
  }
  TMemoryStream binary, text;
  binary.WriteComponent(holder.get());
  binary.SetPosition(0);
  ObjectBinaryToText(&binary, &text);
  const std::string all = Contents(text);
  // The root's properties are indented by two spaces; the data ends at its closing brace.
  const size_t begin = all.find("\r\n  " + art.Property + ".Data = {");
  if (begin == std::string::npos) throw EWriteError("The picture was not written");
  const size_t end = all.find('}', begin);
  std::string out;
  size_t at = begin + 2;
  while (at <= end) {
    size_t eol = std::min(all.find("\r\n", at), end + 1);
    out += std::string(indent, ' ') + all.substr(at + 2, eol - at - 2) + "\n";
    at = eol + 2;
  }
  return out;
}

}  // namespace

int CmdGlyph(TCommandContext& ctx) {
  int indent = 4;
  if (ctx.Args.size() == 3 && ctx.Args[1] == "--indent" && TryStrToInt(ctx.Args[2], indent) && indent >= 0 &&
      indent <= 40)
    ctx.Args.resize(1);
  if (ctx.Args.size() != 1) throw TUsageError("expected ART.txt [--indent N]");
  ctx.Subject = ctx.Args[0];
  const TArt art = ReadArt(ctx.Args[0]);
  TBitmap bitmap;
  Paint(art, bitmap);
  const std::string lines = DataLines(art, bitmap, indent);
  if (std::fwrite(lines.data(), 1, lines.size(), stdout) != lines.size() || std::fflush(stdout) != 0)
    throw EInOutError("Cannot write to standard output");
  return 0;
}
