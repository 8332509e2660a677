// libFuzzer target: binary form streams into ObjectBinaryToText. Not part of the default build:
//   clang++ -std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -Iplatform \
//     fuzz/fuzz_binary.cpp platform/*.cpp -o fuzz_binary && ./fuzz_binary -max_total_time=60
// Any input must end in text or an EReadError; whatever converts to text must convert back,
// and that binary must reproduce the same text.
#include <cstdlib>

#include "Convert.h"

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
