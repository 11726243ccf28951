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

#include <unistd.h>

namespace hxcad::fuzz {

class Scratch
{
public:
  explicit Scratch(const char* name)
  {
    std::string t = (Base() / (std::string("hxcad_") + name + "_XXXXXX")).string();
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
  // The caller's TMPDIR, else memory (/dev/shm) where there is one: a target that writes and removes its
  // files at every input spent a fifth of its time making inodes on a disk's file system.
  static std::filesystem::path Base()
  {
    const char* tmp = std::getenv("TMPDIR");
    if ((tmp == nullptr || *tmp == 0) && access("/dev/shm", W_OK | X_OK) == 0) return "/dev/shm";
    return std::filesystem::temp_directory_path();
  }

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
