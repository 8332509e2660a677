// Shared by the fuzz targets: one conversion of a byte buffer, as a string of the result.
#pragma once

#include <string>

#include "Classes.h"

inline std::string Convert(void (*convert)(TStream*, TStream*), const void* data, size_t size) {
  TMemoryStream in, out;
  in.Write(data, static_cast<int64_t>(size));
  in.SetPosition(0);
  convert(&in, &out);
  return {reinterpret_cast<const char*>(out.Memory()), static_cast<size_t>(out.GetSize())};
}
