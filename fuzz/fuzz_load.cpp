// Fuzz target: a binary form stream (framed or bare) read into a live form with every registered
// class, then written back. Reading may refuse with the library's errors; a form that was read
// must write a stream that reads again.
#include <cstdlib>

#include "FuzzForms.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzRegisterClasses();
  TMemoryStream stream;
  if (!FormStreamOf(stream, data, size)) return 0;
  TForm form(nullptr);
  if (!FuzzReadForm(stream, &form)) return 0;
  TMemoryStream written;
  written.WriteComponent(&form);
  written.SetPosition(0);
  TForm again(nullptr);
  if (!FuzzReadForm(written, &again)) std::abort();
  return 0;
}
