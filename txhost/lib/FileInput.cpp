#include "txhost/lib/FileInput.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace txhost {

namespace {

bool Fail(std::string& error, const std::filesystem::path& file, const std::string& why)
{
  error = file.string() + ": " + why;
  return false;
}

// The length of the valid UTF-8 sequence at text[i], 0 when there is none.
std::size_t Utf8Length(std::string_view text, std::size_t i)
{
  const auto b = static_cast<unsigned char>(text[i]);
  std::size_t len = 0;
  unsigned char lo = 0x80, hi = 0xBF; // the range of the second byte
  if (b < 0x80) return 1;
  if (b >= 0xC2 && b <= 0xDF) len = 2;
  else if (b >= 0xE0 && b <= 0xEF) {
    len = 3;
    if (b == 0xE0) lo = 0xA0;
    if (b == 0xED) hi = 0x9F; // no surrogates
  } else if (b >= 0xF0 && b <= 0xF4) {
    len = 4;
    if (b == 0xF0) lo = 0x90;
    if (b == 0xF4) hi = 0x8F;
  } else
    return 0;
  if (i + len > text.size()) return 0;
  for (std::size_t k = 1; k < len; ++k) {
    const auto c = static_cast<unsigned char>(text[i + k]);
    if (c < (k == 1 ? lo : 0x80) || c > (k == 1 ? hi : 0xBF)) return 0;
  }
  return len;
}

} // namespace

bool ReadInputFile(const std::filesystem::path& file, std::size_t maxBytes, std::string& text,
                   std::string& error, bool pipes)
{
  text.clear();
  // Where no pipe is taken, opening one must not wait for a writer: it is refused below.
  const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | (pipes ? 0 : O_NONBLOCK));
  if (fd < 0) {
    const int e = errno;
    // A socket cannot be opened at all; it is no file, as a device or a pipe is not.
    if (e == ENXIO && NoRegularFileAt(file)) return Fail(error, file, "not a regular file");
    return Fail(error, file, e == ENOENT ? "no such file" : std::strerror(e));
  }
  struct stat st{};
  bool ok = ::fstat(fd, &st) == 0;
  if (!ok) {
    Fail(error, file, std::strerror(errno));
  } else if (S_ISDIR(st.st_mode)) {
    ok = Fail(error, file, "is a folder, not a file");
  } else if (!S_ISREG(st.st_mode) && !(pipes && S_ISFIFO(st.st_mode))) {
    ok = Fail(error, file, "not a regular file");
  } else if (S_ISREG(st.st_mode) && std::uintmax_t(st.st_size) > maxBytes) {
    ok = Fail(error, file, "larger than " + std::to_string(maxBytes) + " bytes");
  }
  // A file read whole at its size: grown as it came, the text held up to twice its bytes, and three times
  // while it grew.
  if (ok && S_ISREG(st.st_mode)) text.reserve(std::size_t(st.st_size));
  if (ok && !pipes)
    ok = ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) == 0 ||
         Fail(error, file, std::strerror(errno));
  char buffer[1 << 16];
  while (ok) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      ok = Fail(error, file, std::strerror(errno));
    } else if (n == 0) {
      break;
    } else if (text.size() + std::size_t(n) > maxBytes) {
      ok = Fail(error, file, "larger than " + std::to_string(maxBytes) + " bytes");
    } else {
      text.append(buffer, std::size_t(n));
    }
  }
  ::close(fd);
  if (!ok) text.clear();
  return ok;
}

bool NoRegularFileAt(const std::filesystem::path& file)
{
  struct stat st
  {
  };
  return ::stat(file.c_str(), &st) == 0 && !S_ISREG(st.st_mode);
}

bool IsUtf8Text(std::string_view text)
{
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t len = Utf8Length(text, i);
    if (len == 0 || text[i] == '\0') return false;
    i += len;
  }
  return true;
}

std::string Printable(std::string_view text)
{
  static const char* const Hex = "0123456789ABCDEF";
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t len = Utf8Length(text, i);
    const auto b = static_cast<unsigned char>(text[i]);
    if (len == 0 || (len == 1 && b < 0x20 && b != '\t') || b == 0x7F) {
      out += "\\x";
      out += Hex[b >> 4];
      out += Hex[b & 15];
      ++i;
    } else {
      out.append(text.substr(i, len));
      i += len;
    }
  }
  return out;
}

} // namespace txhost
