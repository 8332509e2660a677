// kvdcr: the palette bitmaps that the library ships, by resource name.
#pragma once

#include <functional>
#include <string>
#include <vector>

class TPixelPainter;

struct TPaletteDrawing {
  std::string Name;  // the resource name: a class name in upper case, or one of the palette's own
  std::function<void(TPixelPainter&)> Draw;
};

const std::vector<TPaletteDrawing>& PaletteDrawings();
