// Replays fuzz inputs without libFuzzer: every file named on the command line,
// or every file inside a named directory, is handed to the target once.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

static void RunFile(const std::filesystem::path& p)
{
  // Read in one piece: byte by byte, a large input took a sanitizer build seconds.
  std::ifstream in(p, std::ios::binary);
  std::error_code ec;
  const std::uintmax_t size = std::filesystem::file_size(p, ec);
  std::vector<char> bytes(ec ? 0 : std::size_t(size));
  in.read(bytes.data(), std::streamsize(bytes.size()));
  bytes.resize(std::size_t(in.gcount()));
  LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}

int main(int argc, char** argv)
{
  std::size_t n = 0;
  for (int i = 1; i < argc; ++i) {
    std::filesystem::path p(argv[i]);
    if (std::filesystem::is_directory(p)) {
      for (auto& e : std::filesystem::recursive_directory_iterator(p))
        if (e.is_regular_file()) { RunFile(e.path()); ++n; }
    } else if (std::filesystem::is_regular_file(p)) {
      RunFile(p);
      ++n;
    } else {
      std::fprintf(stderr, "replay: no such input: %s\n", argv[i]);
      return 2;
    }
  }
  // An empty-input run still exercises the target's handling of no bytes.
  LLVMFuzzerTestOneInput(nullptr, 0);
  std::printf("replayed %zu inputs\n", n);
  return 0;
}
