// File names, the two checksums and the packed strings.
#include "tests/TestNames.h"

#include <gtest/gtest.h>

#include <ostream>

#include <random>
#include <string>
#include <vector>

#include "hxcadkit/core/KmfData.h"

namespace {

std::vector<unsigned char> Bytes(const TMemory& m)
{
  return m.Pointer ? std::vector<unsigned char>(m.Pointer, m.Pointer + m.Size) : std::vector<unsigned char>();
}

TMemory Block(const std::vector<unsigned char>& v)
{
  TMemory m;
  m = v;
  return m;
}

std::vector<unsigned char> Unpack(const std::vector<unsigned char>& packed)
{
  TPseudoString p;
  p = packed;
  TMemory out;
  p.Set(out);
  return Bytes(out);
}

} // namespace

// ---------------------------------------------------------------------------------------------
// File names

TEST(FileNames, NameIsTheLastPart)
{
  EXPECT_EQ(TFileName("/e/a/b.txt").Name(), TString("b.txt"));
  EXPECT_EQ(TFileName("b.txt").Name(), TString("b.txt"));
  EXPECT_EQ(TFileName("/e/a/").Name(), TString());
  EXPECT_EQ(TFileName("").Name(), TString());
}

namespace {
struct TPathCase
{
  const char* name;
  int up;
  const char* path;
};

void PrintTo(const TPathCase& c, std::ostream* os)
{
  *os << c.name << " up " << c.up;
}

class FileNamePath : public ::testing::TestWithParam<TPathCase>
{
};
} // namespace

TEST_P(FileNamePath, CutsAfterTheSeparatorCountedFromTheEnd)
{
  EXPECT_EQ(TFileName(GetParam().name).Path(GetParam().up), TString(GetParam().path));
}

INSTANTIATE_TEST_SUITE_P(Cases, FileNamePath,
                         ::testing::Values(TPathCase{"E:/a/b.txt", 1, "E:/"}, TPathCase{"E:/a/b.txt", 2, ""},
                                           TPathCase{"b.txt", 5, "b.txt"}, TPathCase{"/x/y/", 2, "/"},
                                           TPathCase{"E:/a/b.txt", -1, "E:/a/"}),
                         hxcad::test::CaseNames());

TEST(FileNames, RelativeMovesANameToAnotherBase)
{
  TFileName f("E:/a/b/c.txt");
  EXPECT_EQ(f.Relative(TFileName("D:/x/"), TFileName("E:/a/")), TString("D:/x/b/c.txt"));
  EXPECT_EQ(f.Relative(TFileName("D:/x/y/"), TFileName("E:/a/b/")), TString("D:/x/y/c.txt"));
  EXPECT_EQ(TFileName("E:/a/bc.txt").Relative(TFileName("D:/x/"), TFileName("E:/a/b/")),
            TString("D:/bc.txt"));
  EXPECT_EQ(f.Relative(TFileName("D:/x/"), TFileName("D:/x/")), TString("E:/a/b/c.txt"));
  EXPECT_EQ(f.Relative(TFileName("D:/x/"), TFileName("")), TString("E:/a/b/c.txt"));
  // Nothing in common: the whole name under the new base's root level.
  EXPECT_EQ(TFileName("c.txt").Relative(TFileName("D:/x/"), TFileName("E:/")), TString("D:/c.txt"));
}

// ---------------------------------------------------------------------------------------------
// Checksums

TEST(Checksums, CheckValues)
{
  TCrc::generate_crc32_table();
  const unsigned char digits[] = "123456789";
  EXPECT_EQ(TCrc::crc32(0, digits, 9), 0xCBF43926u);
  const unsigned char abc[] = "abc";
  EXPECT_EQ(TCrc::adler32(1, abc, 3), 0x024D0127u);
  EXPECT_EQ(TCrc::crc32(0x1234, digits, 0), 0x1234u);
  EXPECT_EQ(TCrc::adler32(0x1234, nullptr, 3), 0x1234u);
  EXPECT_EQ(TCrc::crc_table[1], 0x77073096u);
  EXPECT_EQ(TCrc::crc_table[255], 0x2D02EF8Du);
}

// ---------------------------------------------------------------------------------------------
// Packed strings

TEST(PackedStrings, ZerosAndDataBecomeBlocks)
{
  TPseudoString p;
  p.Get(Block({0, 0, 0x41, 0x42, 0}));
  EXPECT_EQ(Bytes(p), (std::vector<unsigned char>{0xFF, 0xFF, 1, 2, 2, 2, 0x41, 0x42, 1, 1, 0}));
  TMemory out;
  p.Set(out);
  EXPECT_EQ(Bytes(out), (std::vector<unsigned char>{0, 0, 0x41, 0x42, 0}));
}

TEST(PackedStrings, LongRunsAreCutAt255)
{
  TPseudoString p;
  p.Get(Block(std::vector<unsigned char>(300, 0)));
  EXPECT_EQ(Bytes(p), (std::vector<unsigned char>{0xFF, 0xFF, 1, 0xFF, 1, 0x2D, 0}));
  p.Get(Block(std::vector<unsigned char>(256, 7)));
  ASSERT_EQ(p.Size, 3 + 2 + 255 + 2 + 1);
  EXPECT_EQ(p.Pointer[3], 255);
  EXPECT_EQ(p.Pointer[2 + 2 + 255 + 1], 1);
}

TEST(PackedStrings, EmptyBlocks)
{
  TPseudoString p;
  p.Get(TMemory());
  EXPECT_EQ(Bytes(p), (std::vector<unsigned char>{0xFF, 0xFF, 0}));
  TMemory out = Block({1, 2, 3});
  p.Set(out);
  EXPECT_EQ(out.Size, 0);
}

TEST(PackedStrings, AFormWithoutTheStartMarkLeavesTheDestination)
{
  TPseudoString p;
  p = std::vector<unsigned char>{0xFF, 0x00, 1, 5, 0};
  TMemory out = Block({9, 9});
  p.Set(out);
  EXPECT_EQ(Bytes(out), (std::vector<unsigned char>{9, 9}));
  TPseudoString none;
  none.Set(out);
  EXPECT_EQ(Bytes(out), (std::vector<unsigned char>{9, 9}));
}

// Counts were trusted: a truncated form was unpacked from past its end.
TEST(PackedStrings, ATruncatedFormYieldsWhatItsBlocksStillHold)
{
  EXPECT_EQ(Unpack({0xFF, 0xFF, 2, 200, 'a', 'b'}), (std::vector<unsigned char>{'a', 'b'}));
  EXPECT_EQ(Unpack({0xFF, 0xFF, 1, 3, 2}), (std::vector<unsigned char>{0, 0, 0}));
  EXPECT_EQ(Unpack({0xFF, 0xFF, 1, 3, 7, 9, 1, 1, 0}), (std::vector<unsigned char>{0, 0, 0}));
  EXPECT_EQ(Unpack({0xFF, 0xFF}), std::vector<unsigned char>());
}

TEST(PackedStrings, RoundTripsOfRandomBlocks)
{
  std::mt19937 rng(11);
  for (int n : {1, 2, 254, 255, 256, 511, 1000, 5000}) {
    std::vector<unsigned char> v(static_cast<std::size_t>(n));
    for (auto& b : v)
      b = (rng() % 3 == 0) ? 0 : static_cast<unsigned char>(rng());
    if (n > 600) std::fill(v.begin() + 10, v.begin() + 600, 0); // a long zero run
    TPseudoString p;
    p.Get(Block(v));
    for (int i = 0; i + 1 < p.Size; ++i)
      ASSERT_NE(p.Pointer[i], 0) << n << " at " << i;
    EXPECT_EQ(p.Pointer[p.Size - 1], 0);
    TMemory out;
    p.Set(out);
    EXPECT_EQ(Bytes(out), v) << n;
  }
}

TEST(PackedStrings, PackingAndUnpackingInPlace)
{
  TPseudoString p;
  p = std::vector<unsigned char>{0, 5, 0};
  p.Get(p);
  EXPECT_EQ(Bytes(p), (std::vector<unsigned char>{0xFF, 0xFF, 1, 1, 2, 1, 5, 1, 1, 0}));
  p.Set(p);
  EXPECT_EQ(Bytes(p), (std::vector<unsigned char>{0, 5, 0}));
}

TEST(PackedStrings, ABorrowedDestinationIsLetGoNotFreed)
{
  unsigned char outside[4] = {1, 2, 3, 4};
  TMemory out;
  out.Attach(outside, 4);
  TPseudoString p;
  p.Get(Block({7, 0}));
  p.Set(out);
  EXPECT_FALSE(out.Attached);
  EXPECT_EQ(Bytes(out), (std::vector<unsigned char>{7, 0}));
  EXPECT_EQ(outside[0], 1);
}
