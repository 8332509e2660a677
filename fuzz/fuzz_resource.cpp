// Fuzz target: binary form files with their resource header into ObjectResourceToText. Any input
// must end in text or a refusal (EReadError, or EInvalidImage for a malformed header); text that
// came out must convert back to a framed stream that reads as the same text.
#include <cstdlib>

#include "FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text;
  try {
    text = Convert(ObjectResourceToText, data, size);
  } catch (const EReadError&) {
    return 0;
  } catch (const EInvalidImage&) {
    return 0;
  }
  std::string framed;
  try {
    framed = Convert(ObjectTextToResource, text.data(), text.size());
  } catch (const EParserError&) {
    return 0;  // names are not checked on the binary side
  }
  if (Convert(ObjectResourceToText, framed.data(), framed.size()) != text) std::abort();
  return 0;
}
