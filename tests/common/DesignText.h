// The text form of a design as saving writes it, to compare designs byte for byte.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <string>

#include "Classes.h"
#include "KvDsgn.h"

inline std::string DesignText(TKFormDesigner* engine) {
  const std::filesystem::path file =
      std::filesystem::temp_directory_path() / ("kv-design-text-" + std::to_string(::getpid()) + ".dfm");
  engine->WriteFormCopy(file.string());
  TMemoryStream in, out;
  in.LoadFromFile(file.string());
  std::filesystem::remove(file);
  ObjectResourceToText(&in, &out);
  return std::string(reinterpret_cast<const char*>(out.Memory()), static_cast<size_t>(out.GetSize()));
}
