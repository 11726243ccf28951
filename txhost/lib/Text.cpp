#include "txhost/lib/Text.h"

#include <cstdint>

namespace txhost {

namespace {

constexpr char32_t Replacement = 0xFFFD;

bool IsScalar(std::uint32_t c)
{
  return c <= 0x10FFFF && (c < 0xD800 || c > 0xDFFF);
}

void Append(std::string& out, std::uint32_t c)
{
  if (!IsScalar(c)) c = Replacement;
  if (c < 0x80) {
    out += char(c);
  } else if (c < 0x800) {
    out += char(0xC0 | (c >> 6));
    out += char(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += char(0xE0 | (c >> 12));
    out += char(0x80 | ((c >> 6) & 0x3F));
    out += char(0x80 | (c & 0x3F));
  } else {
    out += char(0xF0 | (c >> 18));
    out += char(0x80 | ((c >> 12) & 0x3F));
    out += char(0x80 | ((c >> 6) & 0x3F));
    out += char(0x80 | (c & 0x3F));
  }
}

} // namespace

std::string ToUtf8(std::wstring_view text)
{
  std::string out;
  out.reserve(text.size());
  for (wchar_t w : text)
    Append(out, std::uint32_t(w));
  return out;
}

std::wstring FromUtf8(std::string_view text)
{
  std::wstring out;
  out.reserve(text.size());
  std::size_t i = 0;
  const std::size_t n = text.size();
  while (i < n) {
    const auto b0 = std::uint8_t(text[i]);
    std::size_t len = 0;
    std::uint32_t c = 0;
    std::uint32_t min = 0;
    if (b0 < 0x80) {
      len = 1;
      c = b0;
    } else if ((b0 & 0xE0) == 0xC0) {
      len = 2;
      c = b0 & 0x1F;
      min = 0x80;
    } else if ((b0 & 0xF0) == 0xE0) {
      len = 3;
      c = b0 & 0x0F;
      min = 0x800;
    } else if ((b0 & 0xF8) == 0xF0) {
      len = 4;
      c = b0 & 0x07;
      min = 0x10000;
    } else {
      out += wchar_t(Replacement);
      ++i;
      continue;
    }
    std::size_t k = 1;
    for (; k < len && i + k < n; ++k) {
      const auto b = std::uint8_t(text[i + k]);
      if ((b & 0xC0) != 0x80) break;
      c = (c << 6) | (b & 0x3F);
    }
    if (k < len) {
      // Truncated or interrupted sequence: replace what was consumed, resume at the offending byte.
      out += wchar_t(Replacement);
      i += k;
      continue;
    }
    out += wchar_t((c < min || !IsScalar(c)) ? Replacement : c);
    i += len;
  }
  return out;
}

std::filesystem::path ToPath(std::wstring_view text)
{
  return std::filesystem::path(ToUtf8(text));
}

std::wstring FromPath(const std::filesystem::path& path)
{
  return FromUtf8(path.string());
}

} // namespace txhost
