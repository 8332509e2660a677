// KvPalArt: the palette bitmaps that the library ships, drawn in code, by resource name. The
// kit registers them when a designer component is made; tools/kvdcr writes them as KvStd.dcr.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

class TPixelPainter;
class TBitmap;

struct TPaletteDrawing {
  std::string Name;  // the resource name: a class name in upper case, or one of the palette's own
  std::function<void(TPixelPainter&)> Draw;
};

const std::vector<TPaletteDrawing>& PaletteDrawings();

// A drawing as the 24 x 24, 16-colour bitmap a palette button shows (its bottom-left pixel
// olive, shown transparent). Exception when the drawing covers that pixel.
std::unique_ptr<TBitmap> RenderPaletteDrawing(const TPaletteDrawing& drawing);

// Registers every drawing under its name in ComponentBitmaps, leaving the names a component
// resource file gave already (ReadDCRFile adds or replaces bitmaps after it as before).
void AddStandardPaletteBitmaps();
