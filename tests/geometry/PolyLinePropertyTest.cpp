// Enclosing circles and oriented boxes of random point sets against plain brute-force
// references. Fixed seeds: every run sees the same sets.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <random>
#include <vector>

#include "CurveTestUtil.h"
#include "hxcadkit/geometry/Elements.h"

using curvetest::Dist;
using curvetest::PointsOf;

namespace {

constexpr Real Pi = TMathDef::C_PI;

// The sizes of the random sets; set i is drawn with seed i + 1.
const int Sizes[] = {3, 4, 7, 12, 30, 60, 120, 200, 200};

TPolyLine RandomSet(unsigned seed, int n, Real half = 100)
{
  std::mt19937 gen(seed);
  std::uniform_real_distribution<Real> d(-half, half);
  TPolyLine L;
  for (int i = 0; i < n; ++i) {
    const Real x = d(gen);
    L.Points.Add(TPoint2D(x, d(gen)));
  }
  L.Segments = L.Points.Count - 1;
  return L;
}

Real MaxDistance(const std::vector<TPoint2D>& P, Real x, Real y)
{
  Real m = 0;
  for (const TPoint2D& p : P)
    m = std::max(m, Dist(p, TPoint2D(x, y)));
  return m;
}

// Golden-section minimum of a convex function on [a, b].
Real Minimise(const std::function<Real(Real)>& f, Real a, Real b, Real& fmin)
{
  const Real g = (std::sqrt(5.0) - 1) / 2;
  for (int i = 0; i < 90; ++i) {
    const Real c = b - g * (b - a), d = a + g * (b - a);
    if (f(c) < f(d))
      b = d;
    else
      a = c;
  }
  const Real x = (a + b) / 2;
  fmin = f(x);
  return x;
}

// The smallest enclosing circle as the minimum of the (convex) largest distance over centres.
void ReferenceCircle(const std::vector<TPoint2D>& P, Real& cx, Real& cy, Real& r)
{
  Real lo = 1e300, hi = -1e300;
  for (const TPoint2D& p : P) {
    lo = std::min({lo, p.x, p.y});
    hi = std::max({hi, p.x, p.y});
  }
  Real best = 0;
  auto along = [&](Real x) {
    Real v = 0;
    Minimise([&](Real y) { return MaxDistance(P, x, y); }, lo, hi, v);
    return v;
  };
  cx = Minimise(along, lo, hi, best);
  cy = Minimise([&](Real y) { return MaxDistance(P, cx, y); }, lo, hi, r);
}

// Area of the axis box of the points turned by -a.
Real BoxArea(const std::vector<TPoint2D>& P, Real a)
{
  const Real c = std::cos(a), s = std::sin(a);
  Real x0 = 1e300, x1 = -1e300, y0 = 1e300, y1 = -1e300;
  for (const TPoint2D& p : P) {
    const Real x = p.x * c + p.y * s, y = -p.x * s + p.y * c;
    x0 = std::min(x0, x);
    x1 = std::max(x1, x);
    y0 = std::min(y0, y);
    y1 = std::max(y1, y);
  }
  return (x1 - x0) * (y1 - y0);
}

void ExpectBoxHolds(const TORect2D& B, const std::vector<TPoint2D>& P)
{
  const Real c = std::cos(B.Angle), s = std::sin(B.Angle);
  for (const TPoint2D& p : P) {
    const Real dx = p.x - B.xc, dy = p.y - B.yc;
    ASSERT_LE(std::fabs(dx * c + dy * s), B.Length / 2 + 1e-9);
    ASSERT_LE(std::fabs(-dx * s + dy * c), B.Width / 2 + 1e-9);
  }
}

} // namespace

TEST(PolyLineRandomSets, MinimalCirclesMatchTheReference)
{
  for (unsigned i = 0; i < std::size(Sizes); ++i) {
    SCOPED_TRACE(i);
    const TPolyLine L = RandomSet(i + 1, Sizes[i]);
    const std::vector<TPoint2D> P = PointsOf(L);
    Real cx = 0, cy = 0, r = 0;
    ReferenceCircle(P, cx, cy, r);

    TCircle search, welzl;
    L.GetMin(search);
    TArrayOf<TPoint2D> R;
    L.MinCircleWelzl(R, L.Points.Count, welzl);
    EXPECT_EQ(R.Count, 0);
    for (const TCircle& c : {search, welzl}) {
      EXPECT_LE(MaxDistance(P, c.x, c.y), c.Radius + 2e-6);
      EXPECT_NEAR(c.Radius, r, 1e-7);
      EXPECT_NEAR(c.x, cx, 1e-4);
      EXPECT_NEAR(c.y, cy, 1e-4);
    }
  }
}

TEST(PolyLineRandomSets, OrientedBoxOfTheHullIsTheSmallestAtAnyAngle)
{
  for (unsigned i = 0; i < std::size(Sizes); ++i) {
    SCOPED_TRACE(i);
    const TPolyLine L = RandomSet(i + 1, Sizes[i]);
    TPolyLine H;
    L.ConvexHull(H);
    TORect2D B;
    H.GetMin(B);
    const std::vector<TPoint2D> P = PointsOf(L);
    ExpectBoxHolds(B, P);
    Real sampled = 1e300;
    const int steps = 20000;
    for (int i = 0; i < steps; ++i)
      sampled = std::min(sampled, BoxArea(P, Pi / 2 * i / steps));
    const Real area = B.Length * B.Width;
    EXPECT_LE(area, sampled * (1 + 1e-12));
    EXPECT_GE(area, sampled * (1 - 1e-3));
  }
}

// Welzl's recursion is as deep as the boundary (three points), not as long as the point list: a
// long approximation does not exhaust the stack.
TEST(PolyLineMinCircleWelzl, LongPointListsKeepTheStackShallow)
{
  const TPolyLine L = RandomSet(42, 200000, 1000);
  TArrayOf<TPoint2D> R;
  TCircle c;
  L.MinCircleWelzl(R, L.Points.Count, c);
  EXPECT_EQ(R.Count, 0);
  const std::vector<TPoint2D> P = PointsOf(L);
  EXPECT_LE(MaxDistance(P, c.x, c.y), c.Radius + 2e-6);
  int onBoundary = 0;
  for (const TPoint2D& p : P)
    onBoundary += std::fabs(Dist(p, c) - c.Radius) < 1e-6;
  EXPECT_GE(onBoundary, 2);
}
