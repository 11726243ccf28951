// Replays fuzz inputs without libFuzzer: replay TARGET INPUT... hands every file named on the command line,
// or every file inside a named directory, to the target once.
#include "fuzz/ReplayTargets.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <vector>

using TRun = int (*)(const std::uint8_t* data, std::size_t size);

static void RunFile(TRun run, const std::filesystem::path& p)
{
  // Read in one piece: byte by byte, a large input took a sanitizer build seconds.
  std::ifstream in(p, std::ios::binary);
  std::error_code ec;
  const std::uintmax_t size = std::filesystem::file_size(p, ec);
  std::vector<char> bytes(ec ? 0 : std::size_t(size));
  in.read(bytes.data(), std::streamsize(bytes.size()));
  bytes.resize(std::size_t(in.gcount()));
  run(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

int main(int argc, char** argv)
{
  TRun run = nullptr;
  for (const hxcad::fuzz::TReplayTarget* t = hxcad::fuzz::ReplayTargets; argc > 1 && t->Name != nullptr; ++t)
    if (std::strcmp(t->Name, argv[1]) == 0) run = t->Run;
  if (run == nullptr) {
    std::fprintf(stderr, "usage: replay TARGET INPUT..., TARGET one of:");
    for (const hxcad::fuzz::TReplayTarget* t = hxcad::fuzz::ReplayTargets; t->Name != nullptr; ++t)
      std::fprintf(stderr, " %s", t->Name);
    std::fprintf(stderr, "\n");
    return 2;
  }
  std::size_t n = 0;
  for (int i = 2; i < argc; ++i) {
    std::filesystem::path p(argv[i]);
    if (std::filesystem::is_directory(p)) {
      for (auto& e : std::filesystem::recursive_directory_iterator(p))
        if (e.is_regular_file()) { RunFile(run, e.path()); ++n; }
    } else if (std::filesystem::is_regular_file(p)) {
      RunFile(run, p);
      ++n;
    } else {
      std::fprintf(stderr, "replay: no such input: %s\n", argv[i]);
      return 2;
    }
  }
  // An empty-input run still exercises the target's handling of no bytes.
  run(nullptr, 0);
  std::printf("replayed %zu inputs\n", n);
  return 0;
}
