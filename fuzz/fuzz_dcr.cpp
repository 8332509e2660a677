// Fuzz target: component resource files (.dcr) into the palette's bitmaps. Any input must be read
// or refused with the library's errors (EReadError, EInvalidGraphic).
#include "FuzzForms.h"
#include "KvClass.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TFuzzFile file("in.dcr", data, size);
  try {
    ReadDCRFile(file.Path());
  } catch (const Exception&) {}
  ComponentBitmaps->Clear();  // owns its bitmaps; the next input starts from none
  return 0;
}
