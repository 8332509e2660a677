// Fuzz target: picture data inside a form stream, read into an image control and drawn. The
// first byte picks the graphic class whose name prefixes the data as a TPicture writes it
// (TBitmap, TIcon, TMetafile, TPngImage, TJPEGImage, TGIFImage); past the last, the data is
// TPicture's whole "Data" with the class name as the input gives it. Reading may refuse with
// the library's errors; a picture that was read must draw, and write a form that reads again.
#include <cstdlib>
#include <iterator>

#include "ExtCtrls.h"
#include "FuzzForms.h"
#include "Graphics.h"

namespace {
const char* const kGraphicClasses[] = {"TBitmap", "TIcon", "TMetafile", "TPngImage", "TJPEGImage", "TGIFImage"};

void PutStr(std::string& s, const std::string& str) {
  s += static_cast<char>(str.size());
  s += str;
}

// "TPF0", an image Image1 whose only property is Picture.Data holding `data`, no children.
std::string ImageForm(const std::string& data) {
  std::string s = "TPF0";
  PutStr(s, "TImage");
  PutStr(s, "Image1");
  PutStr(s, "Picture.Data");
  s += static_cast<char>(vaBinary);
  const auto len = static_cast<uint32_t>(data.size());
  s.append(reinterpret_cast<const char*>(&len), 4);
  s += data;
  s += '\0';  // end of properties
  s += '\0';  // end of children
  return s;
}

bool ReadImage(const std::string& form, TImage* image) {
  TMemoryStream s;
  FillStream(s, form.data(), form.size());
  try {
    s.ReadComponent(image);
    return true;
  } catch (const Exception&) {
    return false;
  }
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  FuzzRegisterClasses();
  std::string picture;
  if (static_cast<size_t>(data[0]) < std::size(kGraphicClasses)) PutStr(picture, kGraphicClasses[data[0]]);
  picture.append(reinterpret_cast<const char*>(data + 1), size - 1);

  TImage image(nullptr);
  if (!ReadImage(ImageForm(picture), &image)) return 0;
  if (TGraphic* g = image.GetPicture()->GetGraphic()) {
    TBitmap canvas;
    canvas.SetWidth(16);
    canvas.SetHeight(16);
    canvas.Canvas()->StretchDraw(Rect(0, 0, 16, 16), g);
  }
  TMemoryStream written;
  written.WriteComponent(&image);
  TImage again(nullptr);
  if (!ReadImage(StreamBytes(written), &again)) std::abort();
  return 0;
}
