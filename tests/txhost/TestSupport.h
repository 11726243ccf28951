#pragma once

#include "txhost/lib/Host.h"
#include "txhost/lib/Object.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>

namespace txhost::test {

// A fresh directory, removed with everything in it at the end of the test.
class TempDir
{
public:
  // In base when given (a memory file system spares the flushes of many saves), else in the temporary folder.
  explicit TempDir(const std::filesystem::path& base = {})
  {
    std::string pattern = ((base.empty() ? std::filesystem::temp_directory_path() : base) / "txhost-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) != nullptr) Path = pattern;
  }
  ~TempDir()
  {
    std::error_code ec;
    if (!Path.empty()) std::filesystem::remove_all(Path, ec);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return Path; }
  std::filesystem::path operator/(const std::string& name) const { return Path / name; }

private:
  std::filesystem::path Path;
};

inline void WriteFile(const std::filesystem::path& file, const std::string& text)
{
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out << text;
}

inline std::string ReadFile(const std::filesystem::path& file)
{
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A little-endian UTF-16 file (the text base's form) read whole, and written back.
inline std::u16string ReadUtf16(const std::filesystem::path& file)
{
  const std::string bytes = ReadFile(file);
  std::u16string text(bytes.size() / 2, u'\0');
  for (std::size_t i = 0; i < text.size(); ++i)
    text[i] = char16_t(std::uint8_t(bytes[2 * i]) | std::uint8_t(bytes[2 * i + 1]) << 8);
  return text;
}

inline void WriteUtf16(const std::filesystem::path& file, const std::u16string& text)
{
  std::string bytes;
  for (char16_t c : text) {
    bytes += char(c & 0xFF);
    bytes += char(c >> 8);
  }
  WriteFile(file, bytes);
}

} // namespace txhost::test
