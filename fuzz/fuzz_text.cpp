// Fuzz target: text form files into ObjectTextToBinary. Any input must end in a binary stream or
// an EParserError; a stream it produces must convert to text and back to the same bytes.
#include <cstdlib>

#include "FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string binary;
  try {
    binary = Convert(ObjectTextToBinary, data, size);
  } catch (const EParserError&) {
    return 0;
  }
  const std::string text = Convert(ObjectBinaryToText, binary.data(), binary.size());
  if (Convert(ObjectTextToBinary, text.data(), text.size()) != binary) std::abort();
  return 0;
}
