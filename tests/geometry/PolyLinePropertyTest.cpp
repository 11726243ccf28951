// Enclosing circles and oriented boxes of random point sets against plain brute-force
// references. Fixed seeds: every run sees the same sets.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <random>
#include <vector>

#include "CurveTestUtil.h"
#include "hxcadkit/geometry/Elements.h"

using curvetest::Dist;
using curvetest::PointsOf;

namespace {

TPolyLine RandomSet(unsigned seed, int n, Real half = 100)
{
  std::mt19937 gen(seed);
  std::uniform_real_distribution<Real> d(-half, half);
  std::vector<TPoint2D> P(std::size_t(n), TPoint2D(0, 0));
  for (TPoint2D& p : P)
    p.x = d(gen), p.y = d(gen);
  return curvetest::Poly(P);
}

Real MaxDistance(const std::vector<TPoint2D>& P, Real x, Real y)
{
  Real m = 0;
  for (const TPoint2D& p : P)
    m = std::max(m, Dist(p, TPoint2D(x, y)));
  return m;
}

// Golden-section minimum of a convex function on [a, b].
template <class F> Real ArgMin(const F& f, Real a, Real b)
{
  const Real g = (std::sqrt(5.0) - 1) / 2;
  for (int i = 0; i < 90; ++i) {
    const Real c = b - g * (b - a), d = a + g * (b - a);
    const bool left = f(c) < f(d);
    (left ? b : a) = left ? d : c;
  }
  return (a + b) / 2;
}

// The smallest enclosing circle as the minimum of the (convex) largest distance over centres.
TCircle ReferenceCircle(const std::vector<TPoint2D>& P)
{
  const Real lo = -100, hi = 100; // the square of the sets
  auto best = [&](Real x) { return ArgMin([&](Real y) { return MaxDistance(P, x, y); }, lo, hi); };
  const Real x = ArgMin([&](Real x) { return MaxDistance(P, x, best(x)); }, lo, hi), y = best(x);
  return TCircle(x, y, MaxDistance(P, x, y));
}

// The extents of the points turned by -a: the least and the greatest x and y.
std::array<Real, 4> Extents(const std::vector<TPoint2D>& P, Real a)
{
  std::array<Real, 4> e{1e300, -1e300, 1e300, -1e300};
  for (const TPoint2D& p : P) {
    const Real x = p.x * std::cos(a) + p.y * std::sin(a), y = -p.x * std::sin(a) + p.y * std::cos(a);
    e = {std::min(e[0], x), std::max(e[1], x), std::min(e[2], y), std::max(e[3], y)};
  }
  return e;
}

} // namespace

TEST(PolyLineRandomSets, MinimalCirclesAndOrientedBoxesMatchTheReferences)
{
  const int sizes[] = {3, 4, 7, 12, 30, 60, 120, 200, 200}; // set i is drawn with seed i + 1
  for (unsigned i = 0; i < std::size(sizes); ++i) {
    SCOPED_TRACE(i);
    const TPolyLine L = RandomSet(i + 1, sizes[i]);
    const std::vector<TPoint2D> P = PointsOf(L);
    const TCircle ref = ReferenceCircle(P);
    TCircle search, welzl;
    L.GetMin(search);
    TArrayOf<TPoint2D> R;
    L.MinCircleWelzl(R, L.Points.Count, welzl);
    EXPECT_EQ(R.Count, 0);
    for (const TCircle& c : {search, welzl}) {
      EXPECT_LE(MaxDistance(P, c.x, c.y), c.Radius + 2e-6);
      EXPECT_NEAR(c.Radius, ref.Radius, 1e-7);
      EXPECT_NEAR(c.x, ref.x, 1e-4);
      EXPECT_NEAR(c.y, ref.y, 1e-4);
    }

    // The box of the hull holds every point and is the smallest at any angle.
    TPolyLine H;
    L.ConvexHull(H);
    TORect2D B;
    H.GetMin(B);
    const std::array<Real, 4> e = Extents(P, B.Angle), c = Extents({TPoint2D(B.xc, B.yc)}, B.Angle);
    EXPECT_LE(std::max(c[0] - e[0], e[1] - c[0]), B.Length / 2 + 1e-9);
    EXPECT_LE(std::max(c[2] - e[2], e[3] - c[2]), B.Width / 2 + 1e-9);
    Real sampled = 1e300;
    for (int i = 0; i < 20000; ++i) {
      const std::array<Real, 4> s = Extents(P, TMathDef::C_PI / 2 * i / 20000);
      sampled = std::min(sampled, (s[1] - s[0]) * (s[3] - s[2]));
    }
    EXPECT_LE(B.Length * B.Width, sampled * (1 + 1e-12));
    EXPECT_GE(B.Length * B.Width, sampled * (1 - 1e-3));
  }
}

// Welzl's recursion is as deep as the boundary (three points), not as long as the point list: a
// long approximation does not exhaust the stack. A cluster so small that every triangle counts as
// flat: the search still ends with a circle that holds every point, not with the 1e300 radius it
// starts from.
TEST(PolyLineMinCircle, LongListsAndTinyClusters)
{
  const TPolyLine L = RandomSet(42, 200000, 1000);
  TArrayOf<TPoint2D> R;
  TCircle c, g;
  L.MinCircleWelzl(R, L.Points.Count, c);
  EXPECT_EQ(R.Count, 0);
  const std::vector<TPoint2D> P = PointsOf(L);
  EXPECT_LE(MaxDistance(P, c.x, c.y), c.Radius + 2e-6);
  int onBoundary = 0;
  for (const TPoint2D& p : P)
    onBoundary += std::fabs(Dist(p, c) - c.Radius) < 1e-6;
  EXPECT_GE(onBoundary, 2);

  const TPolyLine tiny = curvetest::Poly({{0, 0}, {1e-3, 0}, {0.5e-3, 1e-3 * std::sqrt(3.0) / 2}});
  tiny.GetMin(g);
  EXPECT_LT(g.Radius, 1e-3);
  EXPECT_LE(MaxDistance(PointsOf(tiny), g.x, g.y), g.Radius + 1e-15);
}
