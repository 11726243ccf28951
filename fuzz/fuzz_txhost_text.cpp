// The stand-in host's text conversions and the reader of a library's needed objects: arbitrary bytes as
// UTF-8, as wide text, as a path, and as an ELF file. UTF-8 round-trips exactly when it is valid, wide text
// of Unicode scalars always does, printable text is always valid UTF-8, and the ELF reader reads only
// within the file.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <string_view>

#include "fuzz/FuzzScratch.h"
#include "txhost/lib/FileInput.h"
#include "txhost/lib/Plugin.h"
#include "txhost/lib/Text.h"

namespace {

void Check(bool ok)
{
  if (!ok) std::abort();
}

bool IsScalar(std::uint32_t c)
{
  return c <= 0x10FFFF && (c < 0xD800 || c > 0xDFFF);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
  const std::string bytes(reinterpret_cast<const char*>(data), size);

  const std::wstring wide = txhost::FromUtf8(bytes);
  const bool valid = txhost::IsUtf8Text(bytes);
  const std::string back = txhost::ToUtf8(wide);
  if (valid) Check(back == bytes);
  Check(txhost::FromUtf8(back) == wide); // what the decoder gives, the encoder keeps
  Check(txhost::FromPath(txhost::ToPath(wide)) == wide);

  const std::string shown = txhost::Printable(bytes);
  Check(txhost::IsUtf8Text(shown));
  if (shown == bytes) Check(valid);

  // The bytes as wide text, four at a time.
  std::wstring units(size / 4, L'\0');
  if (!units.empty()) std::memcpy(units.data(), data, units.size() * 4);
  const std::wstring decoded = txhost::FromUtf8(txhost::ToUtf8(units));
  Check(decoded.size() == units.size());
  for (std::size_t i = 0; i < units.size(); ++i)
    Check(decoded[i] == (IsScalar(std::uint32_t(units[i])) ? units[i] : L'\xFFFD'));

  // The bytes as a library file: only for input that starts as an ELF file does, as writing a file costs
  // more than the rest together.
  if (size < 4 || std::memcmp(data, "\x7f" "ELF", 4) != 0) return 0;
  static const hxcad::fuzz::Scratch scratch("fuzz_txhost_text");
  const auto file = scratch / "lib.so";
  std::ofstream(file, std::ios::binary | std::ios::trunc).write(bytes.data(), std::streamsize(size));
  for (const std::string& needed : txhost::NeededLibraries(file))
    Check(needed.size() < size);
  return 0;
}
