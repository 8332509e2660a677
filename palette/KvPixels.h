// KvPixels: pixel drawing helpers for 24 x 24 palette bitmaps. Coordinates are inclusive pixel
// positions, so a drawing reads like the picture it makes.
#pragma once

#include <initializer_list>
#include <string_view>

#include "Graphics.h"

class TPixelPainter {
 public:
  explicit TPixelPainter(TCanvas* canvas) : C(canvas) {}
  TCanvas* const C;

  void Px(int x, int y, TColor color) { C->SetPixel(x, y, color); }
  void Fill(int l, int t, int r, int b, TColor color);
  void Frame(int l, int t, int r, int b, TColor color);
  void HLine(int x1, int x2, int y, TColor color) { Fill(x1, y, x2, y, color); }
  void VLine(int x, int y1, int y2, TColor color) { Fill(x, y1, x, y2, color); }
  void Line(int x1, int y1, int x2, int y2, TColor color);
  void Polygon(std::initializer_list<TPoint> points, TColor color);
  void Disc(int l, int t, int r, int b, TColor fill, TColor frame);

  // A raised button face and a sunken (white) field, as the 3-D controls of the era look.
  void Raised(int l, int t, int r, int b);
  void Sunken(int l, int t, int r, int b, TColor fill = clWhite);
  // Lines of "text": dashes of the given lengths, one every `step` rows from (x, y).
  void TextLines(int x, int y, int step, std::initializer_list<int> lengths, TColor color);
  // Characters of the built-in pixel fonts: 3 x 5 (small) or 5 x 7 (large), scaled.
  void Small(int x, int y, std::string_view text, TColor color);
  void Large(int x, int y, std::string_view text, TColor color, int scale = 1);
};
