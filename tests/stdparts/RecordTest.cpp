// The records of the first slice's classes: byte-exact at the current version, read back at every
// version gate with the fields a gate leaves out at their defaults and the stream left right after
// the record, a truncated record read as zeros, and a round trip of every class over random values.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <random>
#include <string>

#include "StdPartsSupport.h"
#include "tests/TestNames.h"

namespace {

using stdtest::Open;
using stdtest::Record;
using stdtest::TBytes;

constexpr std::int32_t Next = 0x5A5A5A5A; // what follows a record on the stream

TEST(StdPartsRecord, EachClassWritesItsFieldsInItsOrder)
{
  TDistanceScrew d(1, nullptr, nullptr);
  d.Design = true;
  d.Code = 39012;
  d.LD = TPoint2D(-50, -40);
  d.RU = TPoint2D(50, 40);
  d.Radius = 8, d.Len = 61, d.CollarHeight = 6, d.CollarRadius = 12, d.ThreadLen = 15, d.ThreadRadius = 5;
  d.DepthHole = 20;
  *d.Execution.PInt = 1;
  const auto spacer =
      TBytes().Bool(true).Int(39012).Reals({-50, -40, 50, 40, 8, 61, 6, 12, 15, 5, 20}).Int(1).B;
  EXPECT_EQ(spacer.size(), 97u);
  EXPECT_EQ(Record(d), spacer);
  TTraction t(1, nullptr, TConstruktor::Empty());
  static_cast<TDistanceScrew&>(t) = d;
  t.Design = true, t.Code = 39012, t.DepthHole = 20, *t.Execution.PInt = 1;
  EXPECT_EQ(Record(t), spacer);

  TPin p(1, nullptr, nullptr);
  p.Design = true, p.Code = 31007, p.LD = TPoint2D(-50, -40), p.RU = TPoint2D(50, 40), p.Radius = 3,
  p.Len = 20;
  const auto pin = TBytes().Bool(true).Int(31007).Reals({50, 40, -50, -40, 3, 20}).B;
  EXPECT_EQ(pin.size(), 53u);
  EXPECT_EQ(Record(p), pin);

  TScrew s(1, nullptr, nullptr);
  s.Code = 33050, s.LD = TPoint2D(-50, -40), s.RU = TPoint2D(50, 40);
  s.Radius = 5, s.HeadRadius = 8, s.HeadLen = 10, s.Len = 50;
  const auto screw = TBytes().Bool(false).Int(33050).Reals({50, 40, -50, -40, 5, 8, 10, 50}).B;
  EXPECT_EQ(screw.size(), 69u);
  EXPECT_EQ(Record(s), screw);

  TSetScrew z(1, nullptr, TConstruktor::Empty());
  z.Code = 7, z.r = 1, z.R = 2, z.L = 3, z.K = 4, z.S = 5;
  const auto set = TBytes().Bool(false).Int(7).Reals({1, 2, 3, 4, 5}).B;
  EXPECT_EQ(set.size(), 45u);
  EXPECT_EQ(Record(z), set);
}

// The spacer screw's record at a version, and what reading it gives.
struct TGate
{
  int Version;
  bool Rect, Depth, Execution;
  friend void PrintTo(const TGate& g, std::ostream* os) { *os << "version " << g.Version; }
};

class SpacerGate : public ::testing::TestWithParam<TGate>
{
};

TEST_P(SpacerGate, ReadsWhatTheVersionHeldAndStopsThere)
{
  const TGate& g = GetParam();
  TBytes b;
  b.Bool(true).Int(39012);
  if (g.Rect) b.Reals({-50, -40, 50, 40});
  b.Reals({8, 61, 6, 12, 15, 5});
  if (g.Depth) b.Reals({20});
  if (g.Execution) b.Int(1);
  b.Int(Next);

  TDistanceScrew d(1, nullptr, nullptr);
  d.LD = TPoint2D(1, 1), d.RU = TPoint2D(1, 1), d.DepthHole = 9, *d.Execution.PInt = 1;
  TKmfData S;
  Open(S, g.Version, b.B);
  d.fromStream(S);
  EXPECT_TRUE(d.Design);
  EXPECT_EQ(d.Code, 39012);
  EXPECT_EQ(d.Len, 61.0);
  EXPECT_EQ(d.ThreadRadius, 5.0);
  EXPECT_EQ(d.LD.x, g.Rect ? -50.0 : 1.0); // no rectangle: the one held stays
  EXPECT_EQ(d.RU.y, g.Rect ? 40.0 : 1.0);
  EXPECT_EQ(d.DepthHole, g.Depth ? 20.0 : 0.0);
  EXPECT_EQ(*d.Execution.PInt, g.Execution ? 1 : 0);
  EXPECT_EQ(S.ReadInteger(), Next);
}

INSTANTIATE_TEST_SUITE_P(StdParts, SpacerGate,
                         ::testing::Values(TGate{97, true, true, true}, TGate{82, true, true, true},
                                           TGate{81, true, true, false}, TGate{50, true, true, false},
                                           TGate{49, false, true, false}, TGate{45, false, true, false},
                                           TGate{44, false, false, false}, TGate{0, false, false, false}),
                         hxcad::test::CaseNames());

TEST(StdPartsRecord, PinLengthFromVersion35)
{
  for (int version : {34, 35}) {
    TBytes b;
    b.Bool(true).Int(31007).Reals({50, 40, -50, -40, 3});
    if (version >= 35) b.Reals({20});
    b.Int(Next);
    TPin p(1, nullptr, nullptr);
    p.Len = 99;
    TKmfData S;
    Open(S, version, b.B);
    p.fromStream(S);
    EXPECT_EQ(p.RU.x, 50.0);
    EXPECT_EQ(p.LD.y, -40.0);
    EXPECT_EQ(p.Radius, 3.0);
    EXPECT_EQ(p.Len, version >= 35 ? 20.0 : 0.0);
    EXPECT_EQ(S.ReadInteger(), Next) << version;
  }
}

TEST(StdPartsRecord, TractionAndSpecialScrewReadTheirEarlierLayoutsBelow45)
{
  // The earlier records: the rectangle first, upper-right before lower-left, then the sizes in each
  // class's own order.
  const auto early = TBytes().Bool(true).Int(39003).Reals({50, 40, -50, -40, 1, 2, 3, 4, 5, 6}).Int(Next).B;
  TTraction t(1, nullptr, TConstruktor::Empty());
  TScrewSpecial s(1, nullptr, TConstruktor::Empty());
  t.DepthHole = s.DepthHole = 9;
  TKmfData S1, S2;
  Open(S1, 44, early);
  Open(S2, 44, early);
  t.fromStream(S1);
  s.fromStream(S2);
  EXPECT_EQ(S1.ReadInteger(), Next);
  EXPECT_EQ(S2.ReadInteger(), Next);
  for (const TDistanceScrew* d :
       {static_cast<const TDistanceScrew*>(&t), static_cast<const TDistanceScrew*>(&s)}) {
    EXPECT_EQ(d->Code, 39003);
    EXPECT_EQ(d->RU.x, 50.0);
    EXPECT_EQ(d->RU.y, 40.0);
    EXPECT_EQ(d->LD.x, -50.0);
    EXPECT_EQ(d->LD.y, -40.0);
    EXPECT_EQ(d->DepthHole, 0.0);
  }
  EXPECT_EQ(
      (std::vector<double>{t.Radius, t.Len, t.CollarHeight, t.CollarRadius, t.ThreadLen, t.ThreadRadius}),
      (std::vector<double>{1, 2, 3, 4, 5, 6}));
  EXPECT_EQ(
      (std::vector<double>{s.Radius, s.CollarHeight, s.ThreadLen, s.Len, s.ThreadRadius, s.CollarRadius}),
      (std::vector<double>{1, 2, 3, 4, 5, 6}));

  // From 45 on, the spacer screw's record (no rectangle below 50).
  const auto v45 = TBytes().Bool(true).Int(39003).Reals({1, 2, 3, 4, 5, 6, 7}).Int(Next).B;
  TKmfData S3;
  Open(S3, 45, v45);
  t.fromStream(S3);
  EXPECT_EQ(t.Len, 2.0);
  EXPECT_EQ(t.DepthHole, 7.0);
  EXPECT_EQ(S3.ReadInteger(), Next);
}

// One maker per class, for the properties that hold for all of them.
struct TClass
{
  const char* Name;
  std::function<std::unique_ptr<TDetail>()> Make;
  friend void PrintTo(const TClass& c, std::ostream* os) { *os << c.Name; }
};

const TClass Classes[] = {
    {"TDistanceScrew", [] { return std::make_unique<TDistanceScrew>(1, nullptr, nullptr); }},
    {"TTraction", [] { return std::make_unique<TTraction>(1, nullptr, TConstruktor::Empty()); }},
    {"TScrewSpecial", [] { return std::make_unique<TScrewSpecial>(1, nullptr, TConstruktor::Empty()); }},
    {"TPin", [] { return std::make_unique<TPin>(1, nullptr, nullptr); }},
    {"TScrew", [] { return std::make_unique<TScrew>(1, nullptr, nullptr); }},
    {"TSetScrew", [] { return std::make_unique<TSetScrew>(1, nullptr, TConstruktor::Empty()); }},
};

class EveryClass : public ::testing::TestWithParam<TClass>
{
};

// Random bytes as a record at the current version: what is read is written back byte for byte.
TEST_P(EveryClass, RecordsRoundTripAtTheCurrentVersion)
{
  std::mt19937 random(11);
  const std::size_t size = Record(*GetParam().Make()).size();
  for (int i = 0; i < 200; ++i) {
    std::vector<unsigned char> bytes(size);
    for (unsigned char& c : bytes)
      c = static_cast<unsigned char>(random());
    bytes[0] = random() % 2; // Design is one truth byte
    if (std::string(GetParam().Name).find("Screw") != std::string::npos && size == 97) {
      bytes[96] = bytes[95] = bytes[94] = 0; // the choice: a small index
      bytes[93] = random() % 2;
    }
    std::unique_ptr<TDetail> part = GetParam().Make();
    TKmfData S;
    Open(S, 97, bytes);
    part->fromStream(S);
    EXPECT_EQ(Record(*part), bytes);
  }
}

TEST_P(EveryClass, ATruncatedRecordReadsZeros)
{
  std::unique_ptr<TDetail> full = GetParam().Make();
  const std::size_t size = Record(*full).size();
  std::vector<unsigned char> ones(size, 0x01);
  std::vector<unsigned char> cut(ones.begin(), ones.begin() + 5 + 8); // the head and one value
  std::unique_ptr<TDetail> part = GetParam().Make();
  TKmfData S;
  Open(S, 97, cut);
  part->fromStream(S);
  std::vector<unsigned char> expected = cut;
  expected.resize(size, 0);
  EXPECT_EQ(Record(*part), expected);
}

INSTANTIATE_TEST_SUITE_P(StdParts, EveryClass, ::testing::ValuesIn(Classes), hxcad::test::CaseNames());

} // namespace
