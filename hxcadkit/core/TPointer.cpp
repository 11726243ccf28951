#include "hxcadkit/core/TPointer.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

#include "hxcadkit/core/TDebug.h"

// ---------------------------------------------------------------------------------------------
// TFileName

TString TFileName::Name() const
{
  int p = RFind(Separator); // 1-based, 0 for none
  return p == 0 ? TString(*this) : SubStr(p, Len - p);
}

TString TFileName::Path(int up) const
{
  if (up < 0) up = 0;
  int seen = 0;
  bool any = false;
  for (int i = Len - 1; i >= 0; --i) {
    if (Bufer[i] != Separator) continue;
    any = true;
    if (seen++ == up) return SubStr(0, i + 1);
  }
  return any ? TString() : TString(*this);
}

int TFileName::CountDirectotyDn(int from) const
{
  int n = 0;
  for (int i = std::max(from, 0); i < Len; ++i)
    if (Bufer[i] == Separator) ++n;
  return n;
}

TString TFileName::Relative(const TFileName& newBase, const TFileName& oldBase) const
{
  if (oldBase == newBase || oldBase.Empty()) return *this;
  int c = Common(oldBase, 0);
  // The cut is the separator at which the two names part; with none before that point the
  // whole name is taken as lying under oldBase's root.
  int cut = -1;
  if (c < Len && Bufer[c] == Separator) {
    cut = c;
  } else {
    for (int i = std::min(c, Len) - 1; i >= 0; --i)
      if (Bufer[i] == Separator) {
        cut = i;
        break;
      }
  }
  int up = oldBase.CountDirectotyDn(cut + 1);
  return newBase.Path(up) + SubStr(cut + 1, Len - cut - 1);
}

bool TFileName::FileExists() const
{
  return ::FileExists(*this) != 0;
}

bool TFileName::DeleteFile(const TString&) const
{
  return ::DeleteFile(*this);
}

// ---------------------------------------------------------------------------------------------
// TCrc

namespace {
constexpr std::array<std::uint32_t, 256> MakeCrcTable()
{
  std::array<std::uint32_t, 256> t{};
  for (std::uint32_t n = 0; n < 256; ++n) {
    std::uint32_t c = n;
    for (int k = 0; k < 8; ++k)
      c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
    t[n] = c;
  }
  return t;
}
} // namespace

// Built at compile time, so a checksum taken before anyone generates the table is right.
constinit std::array<std::uint32_t, 256> TCrc::crc_table = MakeCrcTable();

void TCrc::generate_crc32_table()
{
  crc_table = MakeCrcTable();
}

unsigned TCrc::crc32(unsigned crc, const unsigned char* buf, unsigned long len)
{
  if (!buf || len == 0) return crc;
  std::uint32_t c = ~std::uint32_t(crc);
  for (unsigned long i = 0; i < len; ++i)
    c = crc_table[(c ^ buf[i]) & 0xFF] ^ (c >> 8);
  return ~c;
}

unsigned TCrc::adler32(unsigned adler, const unsigned char* buf, unsigned long len)
{
  constexpr std::uint32_t Base = 65521;
  // The largest n with 255 n (n + 1) / 2 + (n + 1) (Base - 1) below 2^32: the sums stay
  // exact for that many bytes between reductions.
  constexpr unsigned long NMax = 5552;
  if (!buf || len == 0) return adler;
  std::uint32_t a = adler & 0xFFFF, b = (adler >> 16) & 0xFFFF;
  // A start value with halves at or above the modulus is reduced first, so the sums cannot
  // overflow whatever the caller passes.
  a %= Base;
  b %= Base;
  while (len > 0) {
    unsigned long n = std::min(len, NMax);
    len -= n;
    while (n--) {
      a += *buf++;
      b += a;
    }
    a %= Base;
    b %= Base;
  }
  return (b << 16) | a;
}

// ---------------------------------------------------------------------------------------------
// TPseudoString

namespace {
// Gives m a buffer of exactly size bytes; one of another size is replaced (a borrowed one
// is let go, never freed). False when the memory cannot be had.
bool Resize(TMemory& m, int size)
{
  if (size == m.Size && (m.Pointer || size == 0)) return true;
  if (size <= 0) {
    m.Free();
    return true;
  }
  return m.New(size);
}
} // namespace

void TPseudoString::Get(const TMemory& src)
{
  // Packing a block into itself reads the source before the buffer is replaced.
  std::vector<unsigned char> copy;
  const unsigned char* s = src.Pointer;
  int n = src.Pointer ? std::max(src.Size, 0) : 0;
  if (&src == this && n > 0) {
    copy.assign(s, s + n);
    s = copy.data();
  }

  // First pass: the packed size. Runs are cut into blocks of at most 255 bytes.
  int size = 3;
  for (int i = 0; i < n;) {
    bool zero = s[i] == 0;
    int run = 1;
    while (i + run < n && run < 255 && (s[i + run] == 0) == zero)
      ++run;
    size += zero ? 2 : 2 + run;
    i += run;
  }

  if (!Resize(*this, size)) return;
  unsigned char* d = Pointer;
  *d++ = tStart;
  *d++ = tStart;
  for (int i = 0; i < n;) {
    bool zero = s[i] == 0;
    int run = 1;
    while (i + run < n && run < 255 && (s[i + run] == 0) == zero)
      ++run;
    *d++ = zero ? tZero : tData;
    *d++ = std::uint8_t(run);
    if (!zero) {
      std::memcpy(d, s + i, std::size_t(run));
      d += run;
    }
    i += run;
  }
  *d = tEnd;
}

void TPseudoString::Set(TMemory& dst) const
{
  const unsigned char* p = Pointer;
  const int size = Pointer ? Size : 0;
  if (size < 2 || p[0] != tStart || p[1] != tStart) return;

  // First pass: the unpacked size. Each block is taken only as far as the packed bytes
  // reach, so a truncated form yields what its blocks still describe.
  const bool trace = TDebug().Data->Level > 0;
  int total = 0;
  for (int o = 2; o + 1 < size;) {
    int type = p[o], count = p[o + 1];
    if (type == tZero) {
      total += count;
      o += 2;
    } else if (type == tData) {
      int avail = std::min(count, size - o - 2);
      total += avail;
      o += 2 + count;
    } else {
      break;
    }
    if (trace) TDebug().Output(TString(o) + TString(" ") + TString(total) + TString(" ") + TString(count));
  }

  // Unpacking into the packed block itself reads from a copy.
  std::vector<unsigned char> copy;
  if (&dst == this) {
    copy.assign(p, p + size);
    p = copy.data();
  }
  if (!Resize(dst, total)) return;
  unsigned char* d = dst.Pointer;
  int w = 0;
  for (int o = 2; o + 1 < size && w < total;) {
    int type = p[o], count = p[o + 1];
    if (type == tZero) {
      int n = std::min(count, total - w);
      std::memset(d + w, 0, std::size_t(n));
      w += n;
      o += 2;
    } else if (type == tData) {
      int n = std::min({count, size - o - 2, total - w});
      std::memcpy(d + w, p + o + 2, std::size_t(n));
      w += n;
      o += 2 + count;
    } else {
      break;
    }
  }
}
