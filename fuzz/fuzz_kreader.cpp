// Fuzz target: the designer's filtering reader TKReader over a hostile form stream, with the
// form read from the same stream as its root, as a save of a loaded design runs it. The first
// byte picks the mode: odd is apply mode, whose event sections come from the input up to its
// first NUL byte (the form stream follows); even is collect mode. When the input converts to
// text, so must the framed stream the reader writes.
#include <algorithm>
#include <cstdlib>

#include "FuzzForms.h"
#include "KvReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  FuzzRegisterClasses();
  const bool apply = data[0] & 1;
  const auto* begin = reinterpret_cast<const char*>(data + 1);
  const auto* end = reinterpret_cast<const char*>(data + size);
  TStringList events;
  if (apply) {
    const char* nul = std::find(begin, end, '\0');
    events.SetText(std::string(begin, nul));
    begin = nul == end ? end : nul + 1;
  }
  TMemoryStream stream;
  if (!FormStreamOf(stream, begin, static_cast<size_t>(end - begin))) return 0;
  const int64_t start = stream.GetPosition();
  TForm form(nullptr);
  FuzzReadForm(stream, &form);
  stream.SetPosition(start);

  TKReader reader(&stream, 4096);
  try {
    reader.OnFindMethod = [](TReader*, const std::string&, const TMethodEntry*& address, bool& error) {
      address = nullptr;
      error = false;
    };
    reader.Initialize("TFORM1", apply ? &events : nullptr);
    reader.Root = &form;
    reader.ReadSignature();
    std::string className;
    reader.ReadComponent(&form, "", className);
    reader.Finalize();
  } catch (const Exception&) {
    return 0;
  }
  TMemoryStream text;
  try {
    stream.SetPosition(start);
    ObjectBinaryToText(&stream, &text);
  } catch (const EReadError&) {
    return 0;  // the converter is stricter about names than the reader
  }
  reader.OutStream.SetPosition(0);
  try {
    ObjectResourceToText(&reader.OutStream, &text);
  } catch (const Exception&) {
    std::abort();
  }
  return 0;
}
