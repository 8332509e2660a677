// Replays files through a fuzz target's LLVMFuzzerTestOneInput without libFuzzer, so that any
// compiler's build runs the kept crashers and the seeds as an ordinary test.
//   fuzz_<name>_replay PATH...   (files, or folders whose files are replayed in name order)
// A folder that does not exist is passed over: seeds are only there once made.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace fs = std::filesystem;

namespace {
void Replay(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  std::fprintf(stderr, "%s\n", file.c_str());
  LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}
}  // namespace

int main(int argc, char** argv) {
  int count = 0;
  for (int i = 1; i < argc; ++i) {
    const fs::path arg = argv[i];
    std::vector<fs::path> files;
    if (fs::is_directory(arg)) {
      for (const auto& e : fs::directory_iterator(arg))
        if (e.is_regular_file()) files.push_back(e.path());
      std::sort(files.begin(), files.end());
    } else if (fs::exists(arg)) {
      files.push_back(arg);
    } else {
      std::fprintf(stderr, "not there, passed over: %s\n", arg.c_str());
    }
    for (const fs::path& f : files) Replay(f);
    count += static_cast<int>(files.size());
  }
  std::printf("replayed %d inputs\n", count);
  return 0;
}
