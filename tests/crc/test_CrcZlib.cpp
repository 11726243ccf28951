// CRC-32 and Adler-32 against zlib on random buffers of many lengths, whole and in pieces.
#include <gtest/gtest.h>
#include <zlib.h>

#include <random>
#include <vector>

#include "hxcadkit/core/KmfData.h"

namespace {

std::vector<unsigned char> RandomBytes(std::mt19937& rng, std::size_t n, int kind)
{
  std::vector<unsigned char> v(n);
  for (auto& b : v) {
    switch (kind) {
    case 0:
      b = static_cast<unsigned char>(rng());
      break;
    case 1:
      b = 0xFF;
      break; // the worst case of the Adler sums
    default:
      b = rng() % 4 ? 0 : static_cast<unsigned char>(rng());
      break; // mostly zeros
    }
  }
  return v;
}

std::vector<std::size_t> Lengths()
{
  std::vector<std::size_t> n;
  for (std::size_t i = 0; i <= 64; ++i)
    n.push_back(i);
  for (std::size_t i :
       {255u, 256u, 1000u, 4095u, 4096u, 5551u, 5552u, 5553u, 11104u, 11105u, 65536u, 100003u})
    n.push_back(i);
  return n;
}

} // namespace

TEST(ChecksumsAgainstZlib, WholeBuffers)
{
  std::mt19937 rng(1);
  for (int kind = 0; kind < 3; ++kind)
    for (std::size_t n : Lengths()) {
      auto v = RandomBytes(rng, n, kind);
      EXPECT_EQ(TCrc::crc32(0, v.data(), n), ::crc32(0, v.data(), uInt(n))) << n << " kind " << kind;
      EXPECT_EQ(TCrc::adler32(1, v.data(), n), ::adler32(1, v.data(), uInt(n))) << n << " kind " << kind;
    }
}

TEST(ChecksumsAgainstZlib, PiecesAndStartValues)
{
  std::mt19937 rng(2);
  for (int round = 0; round < 300; ++round) {
    std::size_t n = rng() % 30000;
    auto v = RandomBytes(rng, n, int(rng() % 3));
    std::size_t a = n ? rng() % (n + 1) : 0, b = a + (n - a ? rng() % (n - a + 1) : 0);
    unsigned crcStart = rng(), adlerStart = rng() % 65521 + (rng() % 65521) * 65536u;
    unsigned c = TCrc::crc32(crcStart, v.data(), a);
    c = TCrc::crc32(c, v.data() + a, b - a);
    c = TCrc::crc32(c, v.data() + b, n - b);
    unsigned d = TCrc::adler32(adlerStart, v.data(), a);
    d = TCrc::adler32(d, v.data() + a, b - a);
    d = TCrc::adler32(d, v.data() + b, n - b);
    EXPECT_EQ(c, ::crc32(crcStart, v.data(), uInt(n))) << n << " " << a << " " << b;
    EXPECT_EQ(d, ::adler32(adlerStart, v.data(), uInt(n))) << n << " " << a << " " << b;
  }
}

TEST(ChecksumsAgainstZlib, CheckValues)
{
  const unsigned char digits[] = "123456789";
  EXPECT_EQ(TCrc::crc32(0, digits, 9), 0xCBF43926u);
  EXPECT_EQ(::crc32(0, digits, 9), 0xCBF43926u);
  const unsigned char abc[] = "abc";
  EXPECT_EQ(TCrc::adler32(1, abc, 3), 0x024D0127u);
}
