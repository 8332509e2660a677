// Fuzz target: bare binary form streams ("TPF0" first) into ObjectBinaryToText. Any input must
// end in text or an EReadError; whatever converts to text must convert back, and that binary
// must reproduce the same text.
#include <cstdlib>

#include "FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text;
  try {
    text = Convert(ObjectBinaryToText, data, size);
  } catch (const EReadError&) {
    return 0;
  }
  // Names and identifiers are not checked on the binary side, so the text may not parse back.
  std::string binary;
  try {
    binary = Convert(ObjectTextToBinary, text.data(), text.size());
  } catch (const EParserError&) {
    return 0;
  }
  if (Convert(ObjectBinaryToText, binary.data(), binary.size()) != text) std::abort();
  return 0;
}
