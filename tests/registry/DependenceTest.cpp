#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "Doubles.h"
#include "hxcadkit/core/TPointer.h"

namespace {

class DependenceTest : public TRegistryTest
{
};

TEST_F(DependenceTest, EqualVariablesFollowEachOtherBothWays)
{
  TRecordingCommand command;
  double a = 1.0, b = 1.0;
  Registrator.Announcement(1, a, "a", "");
  Registrator.Announcement(2, b, "b", "");
  Dependences.Equ(a, b);
  EXPECT_TRUE(TVariablePtr(a).Let("5"));
  EXPECT_DOUBLE_EQ(b, 5.0);
  EXPECT_EQ(command.Refreshed, std::vector<void*>{&b});
  EXPECT_EQ(Logged(), (std::vector<int>{2, 1})); // the ripple logs b before a's own edit
  EXPECT_TRUE(TVariablePtr(b).Let("3"));
  EXPECT_DOUBLE_EQ(a, 3.0);
  EXPECT_EQ(command.Refreshed, (std::vector<void*>{&b, &a}));
}

TEST_F(DependenceTest, RulesOfAMultipleAndOffset)
{
  struct
  {
    const char* name;
    TDependence::TType type;
    double k, dl, v1, v2, expected;
  } cases[] = {
      {"follows", TDependence::tdKmulV2addDL, 2, 1, 0, 3, 7},
      {"follows, same value", TDependence::tdKmulV2addDL, 1, 0, 4, 4, 4},
      {"raised", TDependence::tdMoreKmulV2addDL, 1, 0, 10, 12, 12},
      {"not lowered", TDependence::tdMoreKmulV2addDL, 1, 0, 10, 8, 10},
      {"lowered", TDependence::tdLessKmulV2addDL, 1, 0, 10, 8, 8},
      {"not raised", TDependence::tdLessKmulV2addDL, 1, 0, 10, 12, 10},
      {"empty rule", TDependence::tdEmpty, 1, 0, 10, 12, 10},
  };
  for (const auto& c : cases) {
    Dependences.Clear();
    double v1 = c.v1, v2 = c.v2;
    TDependence& d = Dependences.Add();
    d.Equ(v1, v2, c.k, c.dl);
    d.Type = c.type;
    const bool changed = Dependences.Change(&v2);
    EXPECT_DOUBLE_EQ(v1, c.expected) << c.name;
    EXPECT_EQ(changed, c.expected != c.v1) << c.name;
    // A change of the dependent variable itself moves nothing.
    v1 += 100;
    EXPECT_FALSE(Dependences.Change(&v1)) << c.name;
    EXPECT_DOUBLE_EQ(v2, c.v2) << c.name;
  }
}

TEST_F(DependenceTest, AnEmptyListChangesNothing)
{
  double a = 1;
  EXPECT_FALSE(Dependences.Change(&a));
  EXPECT_FALSE(Dependences.Change(nullptr));
}

TEST_F(DependenceTest, AChangeRipplesThroughAChain)
{
  TRecordingCommand command;
  double a = 0, b = 0, c = 0;
  Registrator.Announcement(1, a, "a", "");
  Registrator.Announcement(2, b, "b", "");
  Registrator.Announcement(3, c, "c", "");
  Dependences.Equ(b, a, 2.0, 0.0); // b = 2a
  Dependences.Equ(c, b, 1.0, 1.0); // c = b + 1
  EXPECT_TRUE(TVariablePtr(a).Let("4"));
  EXPECT_DOUBLE_EQ(b, 8.0);
  EXPECT_DOUBLE_EQ(c, 9.0);
  EXPECT_EQ(Logged(), (std::vector<int>{3, 2, 1}));
  EXPECT_EQ(command.Refreshed, (std::vector<void*>{&c, &b}));
  // Announcing a change refreshes the controls and ripples it too.
  a = 1;
  Dependences[0].Changed(&a);
  EXPECT_DOUBLE_EQ(c, 3.0);
}

TEST_F(DependenceTest, RulesThatKeepChangingEachOtherStop)
{
  TRecordingCommand command;
  double a = 1, b = 1;
  Registrator.Announcement(1, a, "a", "");
  Registrator.Announcement(2, b, "b", "");
  Dependences.Equ(a, b, 2.0, 0.0); // a = 2b
  Dependences.Equ(b, a, 2.0, 0.0); // b = 2a: never settles
  EXPECT_TRUE(TVariablePtr(a).Let("3"));
  EXPECT_LE(command.Refreshed.size(), std::size_t(2 * TDependences::MaxSteps));

  // The next change starts with a full budget: an unrelated rule still works.
  double x = 0, y = 0;
  Dependences.Equ(x, y);
  y = 5;
  EXPECT_TRUE(Dependences.Change(&y));
  EXPECT_DOUBLE_EQ(x, 5.0);
}

TEST_F(DependenceTest, ANotANumberDoesNotRippleForever)
{
  double a = 0, b = 0;
  Dependences.Equ(a, b);
  b = std::nan("");
  EXPECT_TRUE(Dependences.Change(&b));
  EXPECT_TRUE(std::isnan(a));
}

TEST_F(DependenceTest, ReplayRipplesThroughTheRules)
{
  double a = 0, b = 0;
  Registrator.Announcement(1, a, "a", "");
  TVariablePtr(a).Let("2");
  Dependences.Equ(b, a, 10.0, 0.0);
  a = 0;
  Registrator.MakeEdit();
  EXPECT_DOUBLE_EQ(a, 2.0);
  EXPECT_DOUBLE_EQ(b, 20.0);
}

// Bits as text, bit 0 first.
std::string Bits(const std::uint8_t* a, int n)
{
  std::string s;
  for (int i = 0; i < n; ++i)
    s += char('0' + TBits::Get(a, i));
  return s;
}

TEST(Bits, GetSetCopyEqualXor)
{
  std::uint8_t a[2] = {0x00, 0x02};
  EXPECT_EQ(TBits::Get(a, 9), 1);
  EXPECT_EQ(TBits::Get(a, 8), 0);
  TBits::Set(a, 3, 7);
  TBits::Set(a, 9, 0);
  EXPECT_EQ(a[0], 0x08);
  EXPECT_EQ(a[1], 0x00);

  const std::uint8_t src[1] = {0xB5}; // 1010 1101 from bit 0
  std::uint8_t dst[2] = {0xFF, 0xFF};
  int s = 2;
  TBits::Copy(dst, 6, src, s, 3);
  EXPECT_EQ(s, 5);
  EXPECT_EQ(Bits(dst, 16), "1111111011111111");
  TBits::Copy(dst, 0, src, s, 0);
  EXPECT_EQ(s, 5);

  EXPECT_TRUE(TBits::Equ(src, 0, dst, 0, 0));
  EXPECT_TRUE(TBits::Equ(src, 2, dst, 6, 3));
  EXPECT_FALSE(TBits::Equ(src, 0, dst, 0, 2));

  const std::uint8_t x[1] = {0x0F}, y[1] = {0x3C};
  std::uint8_t out[1] = {0xF0};
  TBits::Xor(x, y, out, 6);
  EXPECT_EQ(Bits(out, 8), "11001111");
}

TEST(Bits, RotationMovesEveryBitTowardBitZero)
{
  struct
  {
    int n, count;
  } cases[] = {{12, 1}, {12, 5}, {12, 13}, {12, 12}, {8, 3}, {1, 4}, {17, 9}};
  for (const auto& c : cases) {
    std::uint8_t a[3] = {0x6B, 0xD2, 0x01};
    const std::string before = Bits(a, 24);
    TBits::Rot_Left(a, c.n, c.count);
    const int k = c.count % c.n;
    const std::string expected = before.substr(std::size_t(k), std::size_t(c.n - k)) +
                                 before.substr(0, std::size_t(k)) + before.substr(std::size_t(c.n));
    EXPECT_EQ(Bits(a, 24), expected) << c.n << " " << c.count;
  }
  std::uint8_t a[1] = {0x5A};
  TBits::Rot_Left(a, 0, 3);
  TBits::Rot_Left(a, 8, 0);
  TBits::Rot_Left(a, 8, -2);
  EXPECT_EQ(a[0], 0x5A);
}

} // namespace
