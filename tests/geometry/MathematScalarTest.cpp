// Scalar helpers of the plane geometry: rounding to multiples, the quadratic solver, digit
// counts, angle normalisation and segment crossings.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "hxcadkit/geometry/Mathemat.h"

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

TEST(NormAngle, TakesOneStepTowardZeroTo360)
{
  struct Case
  {
    double in, out;
  } cases[] = {{0, 360},   {360, 360},  {360.5, 0.5}, {-30, 330}, {800, 440},
               {720, 360}, {-400, -40}, {5e-7, 360},  {90, 90}};
  for (const auto& c : cases)
    EXPECT_DOUBLE_EQ(NormAngle(c.in), c.out) << c.in;
}

TEST(Divisible, RealStepRounding)
{
  struct Case
  {
    double (*f)(double const&, double const&);
    double size, step, out;
  } cases[] = {
      {Divisible, 7.6, 5, 10},          {Divisible, 7.4, 5, 5},        {Divisible, 7.5, 5, 5},
      {Divisible, -7.6, 5, -10},        {Divisible, 7, 0.00005, 7},    {Divisible, -7.4, 5, -5},
      {MaxDivisible, 10.00005, 5, 10},  {MaxDivisible, 10.2, 5, 15},   {MaxDivisible, -10.2, 5, -10},
      {MaxDivisible, 3, 0, 3},          {MinDivisible, -10.2, 5, -15}, {MinDivisible, 10.2, 5, 10},
      {MinDivisible, -9.99995, 5, -10}, {MinDivisible, 3, 1e-4, 3},
  };
  for (const auto& c : cases)
    EXPECT_DOUBLE_EQ(c.f(c.size, c.step), c.out) << c.size << " / " << c.step;
}

// Values from files or users may lie beyond the integer range: the truncation saturates
// instead of being undefined, and a zero integer step leaves the value.
TEST(Divisible, OutOfRangeAndNaNValuesSaturate)
{
  EXPECT_EQ(SaturatingToInt(kNaN), 0);
  EXPECT_EQ(SaturatingToInt(1e300), std::numeric_limits<Integer>::max());
  EXPECT_EQ(SaturatingToInt(-1e300), std::numeric_limits<Integer>::min());
  EXPECT_EQ(SaturatingToInt(kInf), std::numeric_limits<Integer>::max());
  EXPECT_EQ(SaturatingToInt(-7.9), -7);
  EXPECT_EQ(SaturatingToInt(2147483646.9), 2147483646);

  EXPECT_EQ(MaxDivisible(1e20, 5), 2147483650.0);
  EXPECT_EQ(MinDivisible(-1e20, 5), -2147483650.0);
  EXPECT_EQ(MaxDivisible(kNaN, 5), 0);
  EXPECT_EQ(MaxDivisible(7.9, 0), 7);
  EXPECT_EQ(MinDivisible(-7.9, 0), -7);
  EXPECT_EQ(MinDivisible(-1e20, -1), -2147483648.0);
  EXPECT_TRUE(std::isfinite(Divisible(1e300, 1e-3)));
  EXPECT_TRUE(std::isfinite(MaxDivisible(-1e300, 7.0)));
}

TEST(Zn, DeadBandAroundZero)
{
  struct Case
  {
    double v;
    int zn, abszn;
  } cases[] = {{0, 0, 0},        {2e-6, 0, 0}, {-2e-6, 0, 0}, {2.1e-6, 1, 1},
               {-2.1e-6, -1, 1}, {-5, -1, 1},  {kNaN, 0, 0}};
  for (const auto& c : cases) {
    EXPECT_EQ(Zn(c.v), c.zn) << c.v;
    EXPECT_EQ(AbsZn(c.v), c.abszn) << c.v;
  }
}

TEST(SquareEquation, RootsAndDegenerateCases)
{
  struct Case
  {
    double a, b, c;
    int n;
    double x1, x2;
  } cases[] = {
      {1, -3, 2, 2, 2, 1}, {1, 2, 1, 1, -1, -1}, {1, 0, 1, 0, 0, 0},   {0, 2, -4, 1, 2, 2},
      {0, 0, 1, 0, 0, 0},  {2, 0, -8, 2, 2, -2}, {-1, 0, 4, 2, 2, -2},
  };
  for (const auto& c : cases) {
    double x1 = 0, x2 = 0;
    ASSERT_EQ(SquareEquation(c.a, c.b, c.c, x1, x2, 1e-8), c.n) << c.a << " " << c.b << " " << c.c;
    if (c.n > 0) {
      EXPECT_NEAR(x1, c.x1, 1e-12);
      EXPECT_NEAR(x2, c.x2, 1e-12);
    }
  }
}

// Finite coefficients whose quotients overflow a double must not hand out infinities.
TEST(SquareEquation, OverflowingQuotientsGiveOnlyFiniteRoots)
{
  double x1 = kNaN, x2 = kNaN;
  const int n = SquareEquation(1e-7, 1e305, 1, x1, x2);
  ASSERT_LE(n, 2);
  if (n > 0) {
    EXPECT_TRUE(std::isfinite(x1));
    EXPECT_TRUE(std::isfinite(x2));
  }
  EXPECT_EQ(SquareEquation(0, 1e-7, 1e305, x1, x2), 0);
  const int m = SquareEquation(1e-7, 1e300, -1e300, x1, x2);
  ASSERT_GE(m, 1);
  EXPECT_TRUE(std::isfinite(x1) && std::isfinite(x2));
  EXPECT_NEAR(x1, 1.0, 1e-9);
}

TEST(CountDigisAfterDot, SmallestFittingCount)
{
  struct Case
  {
    double x;
    int k;
  } cases[] = {{2.5, 1},   {3, 0}, {0.125, 3}, {1.0011, 0}, {0.12345678911, 11},
               {-0.25, 2}, {0, 0}, {12.34, 2}};
  for (const auto& c : cases)
    EXPECT_EQ(CountDigisAfterDot(c.x), c.k) << c.x;
}

// A scaled value beyond the integer range must never be converted (that was undefined).
TEST(CountDigisAfterDot, HugeAndNonFiniteValuesNeverFit)
{
  for (double x : {2147483648.0, -2147483648.0, 1e300, -1e300, kNaN, kInf})
    EXPECT_EQ(CountDigisAfterDot(x), 11) << x;
  EXPECT_EQ(CountDigisAfterDot(2147483647.0), 0);
  // 1.5e9 fits at k = 0 only if whole; 1.5e9 + 0.5 would need k = 1, which leaves the range.
  EXPECT_EQ(CountDigisAfterDot(1.5e9 + 0.5), 11);
}

TEST(LS_IS, CrossingsAndMisses)
{
  TPoint2D P;
  ASSERT_EQ(LS_IS({0, 0}, {10, 10}, {0, 10}, {10, 0}, P), 1);
  EXPECT_NEAR(P.x, 5, 1e-12);
  EXPECT_NEAR(P.y, 5, 1e-12);
  // Touching at an end counts (the bounds reach slightly past 0 and 1).
  ASSERT_EQ(LS_IS({0, 0}, {10, 0}, {10, -5}, {10, 5}, P), 1);
  EXPECT_NEAR(P.x, 10, 1e-12);
  const TPoint2D keep(7, 7);
  P = keep;
  EXPECT_EQ(LS_IS({0, 0}, {10, 0}, {0, 1}, {10, 1}, P), 0);   // parallel
  EXPECT_EQ(LS_IS({0, 0}, {10, 0}, {11, -5}, {11, 5}, P), 0); // beyond the end
  EXPECT_EQ(LS_IS({0, 0}, {0, 0}, {-1, -1}, {1, 1}, P), 0);   // a point is parallel to everything
  EXPECT_EQ(LS_IS({0, 0}, {10, 0}, {5, 0}, {15, 0}, P), 0);   // overlapping
  EXPECT_EQ(P, keep);
}

} // namespace
