// Shared by the fuzz targets: byte buffers as streams, and files of the process's own for the
// entry points that take a file name.
#pragma once

#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "Classes.h"

inline void FillStream(TMemoryStream& s, const void* data, size_t size) {
  s.Write(data, static_cast<int64_t>(size));
  s.SetPosition(0);
}

inline std::string StreamBytes(TMemoryStream& s) {
  return {reinterpret_cast<const char*>(s.Memory()), static_cast<size_t>(s.GetSize())};
}

// One conversion of a byte buffer, as a string of the result.
inline std::string Convert(void (*convert)(TStream*, TStream*), const void* data, size_t size) {
  TMemoryStream in, out;
  FillStream(in, data, size);
  convert(&in, &out);
  return StreamBytes(out);
}

// The stream of a form file as the loaders see it: past its resource header when it has one.
// False when the header is refused.
inline bool FormStreamOf(TMemoryStream& s, const void* data, size_t size) {
  FillStream(s, data, size);
  try {
    if (StreamHasResourceHeader(&s)) s.ReadResHeader();
    return true;
  } catch (const EInvalidImage&) {
    return false;
  }
}

// A folder of this process under the temporary folder, removed with its files at exit.
inline const std::filesystem::path& FuzzFolder() {
  struct Folder {
    std::filesystem::path Path =
        std::filesystem::temp_directory_path() / ("kvfuzz-" + std::to_string(static_cast<long>(getpid())));
    Folder() { std::filesystem::create_directories(Path); }
    ~Folder() {
      std::error_code ec;
      std::filesystem::remove_all(Path, ec);
    }
  };
  static const Folder folder;
  return folder.Path;
}

// A file in FuzzFolder() holding the bytes (or a name for a file that something else writes),
// removed when it goes out of scope.
class TFuzzFile {
 public:
  explicit TFuzzFile(const std::string& name) : FPath((FuzzFolder() / name).string()) {}
  TFuzzFile(const std::string& name, const void* data, size_t size) : TFuzzFile(name) {
    std::ofstream(FPath, std::ios::binary).write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  ~TFuzzFile() {
    std::error_code ec;
    std::filesystem::remove(FPath, ec);
  }
  TFuzzFile(const TFuzzFile&) = delete;
  TFuzzFile& operator=(const TFuzzFile&) = delete;
  const std::string& Path() const { return FPath; }

 private:
  std::string FPath;
};
