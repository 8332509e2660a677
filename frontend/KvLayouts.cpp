// The layouts of the kit's windows: the text form files of forms/, embedded into the library at
// build time (cmake/EmbedForms.cmake), are handed to the forms unit when the library loads, so
// that any kit window made by class name finds its layout.
#include "EmbeddedForms.h"
#include "Forms.h"

namespace {
namespace KV_UNIT {

[[maybe_unused]] const bool LayoutsRegistered = [] {
  for (int i = 0; i < kvEmbeddedFormCount; ++i)
    RegisterFormLayout(std::string(reinterpret_cast<const char*>(kvEmbeddedForms[i].Data), kvEmbeddedForms[i].Size));
  return true;
}();

}  // namespace KV_UNIT
}  // namespace
