#pragma once
// A scratch folder for the files a fuzz target writes: made on first use, removed with everything in it
// when the process exits normally (the end of a replay, or of a libFuzzer run, which ends -runs and
// -max_total_time with exit()). A crash leaves it for the post-mortem.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace hxcad::fuzz {

class Scratch
{
public:
  explicit Scratch(const char* name)
  {
    std::string t = (std::filesystem::temp_directory_path() / (std::string("hxcad_") + name + "_XXXXXX")).string();
    if (mkdtemp(t.data()) == nullptr) {
      std::perror("no scratch folder");
      std::abort();
    }
    Dir = t;
  }
  ~Scratch()
  {
    std::error_code ec;
    std::filesystem::remove_all(Dir, ec);
  }
  Scratch(const Scratch&) = delete;
  Scratch& operator=(const Scratch&) = delete;

  const std::filesystem::path& Path() const { return Dir; }
  std::filesystem::path operator/(const std::string& name) const { return Dir / name; }

private:
  std::filesystem::path Dir;
};

// The input written as file, replacing what was there; file.
inline std::filesystem::path WriteInput(const std::filesystem::path& file, const std::uint8_t* data,
                                        std::size_t size)
{
  std::ofstream f(file, std::ios::binary | std::ios::trunc);
  f.write(reinterpret_cast<const char*>(data), std::streamsize(size));
  return file;
}

} // namespace hxcad::fuzz
