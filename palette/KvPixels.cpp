#include "KvPixels.h"

#include <cstdlib>
#include <map>

void TPixelPainter::Fill(int l, int t, int r, int b, TColor color) {
  C->GetBrush()->SetColor(color);
  C->FillRect(Rect(l, t, r + 1, b + 1));
}

void TPixelPainter::Frame(int l, int t, int r, int b, TColor color) {
  HLine(l, r, t, color);
  HLine(l, r, b, color);
  VLine(l, t, b, color);
  VLine(r, t, b, color);
}

void TPixelPainter::Line(int x1, int y1, int x2, int y2, TColor color) {
  C->GetPen()->SetColor(color);
  C->MoveTo(x1, y1);
  C->LineTo(x2, y2);
  Px(x2, y2, color);  // LineTo leaves out its end point
}

void TPixelPainter::Polygon(std::initializer_list<TPoint> points, TColor color) {
  C->GetPen()->SetColor(color);
  C->GetBrush()->SetColor(color);
  C->Polygon(points);
}

void TPixelPainter::Disc(int l, int t, int r, int b, TColor fill, TColor frame) {
  C->GetPen()->SetColor(frame);
  C->GetBrush()->SetColor(fill);
  C->Ellipse(l, t, r + 1, b + 1);
}

void TPixelPainter::Raised(int l, int t, int r, int b) {
  Fill(l, t, r, b, clSilver);
  HLine(l, r, t, clWhite);
  VLine(l, t, b, clWhite);
  HLine(l, r, b, clBlack);
  VLine(r, t, b, clBlack);
  HLine(l + 1, r - 1, b - 1, clGray);
  VLine(r - 1, t + 1, b - 1, clGray);
}

void TPixelPainter::Sunken(int l, int t, int r, int b, TColor fill) {
  Fill(l, t, r, b, fill);
  HLine(l, r, t, clGray);
  VLine(l, t, b, clGray);
  HLine(l + 1, r - 1, t + 1, clBlack);
  VLine(l + 1, t + 1, b - 1, clBlack);
  HLine(l, r, b, clWhite);
  VLine(r, t, b, clWhite);
}

void TPixelPainter::TextLines(int x, int y, int step, std::initializer_list<int> lengths, TColor color) {
  for (int n : lengths) {
    if (n > 0) HLine(x, x + n - 1, y, color);
    y += step;
  }
}

namespace {
using TGlyphRows = std::vector<std::string_view>;

const TGlyphRows& SmallGlyph(char ch) {
  static const std::map<char, TGlyphRows> font{
      {'O', {"###", "#.#", "#.#", "#.#", "###"}}, {'K', {"#.#", "#.#", "##.", "#.#", "#.#"}},
      {'a', {"...", "##.", "..#", "###", "###"}}, {'b', {"#..", "#..", "##.", "#.#", "##."}},
      {'c', {"...", "...", "###", "#..", "###"}}, {'A', {".#.", "#.#", "###", "#.#", "#.#"}},
      {'S', {"###", "#..", "###", "..#", "###"}}, {'Q', {"###", "#.#", "#.#", "###", "..#"}},
      {'L', {"#..", "#..", "#..", "#..", "###"}}, {'1', {".#.", "##.", ".#.", ".#.", "###"}},
      {'2', {"##.", "..#", ".#.", "#..", "###"}}, {'?', {"##.", "..#", ".#.", "...", ".#."}},
  };
  static const TGlyphRows none;
  auto it = font.find(ch);
  return it == font.end() ? none : it->second;
}

const TGlyphRows& LargeGlyph(char ch) {
  static const std::map<char, TGlyphRows> font{
      {'A', {".###.", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"}},
      {'F', {"#####", "#....", "#....", "####.", "#....", "#....", "#...."}},
      {'?', {".###.", "#...#", "....#", "..##.", "..#..", ".....", "..#.."}},
      {'a', {".....", ".....", ".###.", "....#", ".####", "#...#", ".####"}},
  };
  static const TGlyphRows none;
  auto it = font.find(ch);
  return it == font.end() ? none : it->second;
}

void DrawGlyph(TPixelPainter& p, int x, int y, const TGlyphRows& rows, TColor color, int scale) {
  for (size_t r = 0; r < rows.size(); ++r)
    for (size_t c = 0; c < rows[r].size(); ++c)
      if (rows[r][c] == '#')
        p.Fill(x + int(c) * scale, y + int(r) * scale, x + int(c + 1) * scale - 1, y + int(r + 1) * scale - 1, color);
}
}  // namespace

void TPixelPainter::Small(int x, int y, std::string_view text, TColor color) {
  for (char ch : text) {
    DrawGlyph(*this, x, y, SmallGlyph(ch), color, 1);
    x += 4;
  }
}

void TPixelPainter::Large(int x, int y, std::string_view text, TColor color, int scale) {
  for (char ch : text) {
    DrawGlyph(*this, x, y, LargeGlyph(ch), color, scale);
    x += 6 * scale;
  }
}
