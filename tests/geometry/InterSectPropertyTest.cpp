// Properties of the intersection solver over many random curve pairs (fixed seeds): every
// recorded crossing lies on both curves and at its recorded parameters, the number of crossings
// matches the analytic count (secant, tangent, disjoint, nested, coincident), and the order of
// the two curves does not change the points found.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <random>
#include <vector>

#include "CurveTestUtil.h"
#include "hxcadkit/geometry/Elements.h"
#include "hxcadkit/geometry/SolverInterSect.h"

using namespace curvetest;

namespace {

constexpr Real TwoPi = TMathDef::C_2PI;

struct TRandom
{
  std::mt19937_64 rng;
  explicit TRandom(unsigned seed) : rng(seed) {}
  Real U(Real a, Real b) { return std::uniform_real_distribution<Real>(a, b)(rng); }
  TVector2D Unit()
  {
    const Real a = U(0, TwoPi);
    return TVector2D(std::cos(a), std::sin(a));
  }
  TPoint2D P(Real r) { return TPoint2D(U(-r, r), U(-r, r)); }

  std::unique_ptr<TCurve2D> Curve(int kind)
  {
    switch (kind) {
    case 0: {
      const TPoint2D A = P(50), B = P(50);
      return std::make_unique<TLineSeg>(A, B);
    }
    case 1: {
      const TPoint2D A = P(50);
      return std::make_unique<TLine>(A, Unit() * U(0.1, 20));
    }
    case 2:
      return std::make_unique<TCircle>(U(-40, 40), U(-40, 40), U(0.5, 40));
    default:
      return std::make_unique<TArc>(U(-40, 40), U(-40, 40), U(0.5, 40) * (kind == 3 ? 1 : -1), U(-7, 7),
                                    U(-7, 7));
    }
  }
};

// The size against which a curve's tolerances are measured.
Real Size(const TCurve2D& c)
{
  switch (c.IsType()) {
  case tLineSeg: {
    const auto& s = static_cast<const TLineSeg&>(c);
    return std::max({1.0, std::fabs(s.x), std::fabs(s.y), std::fabs(s.xk), std::fabs(s.yk)});
  }
  case tLines: {
    const auto& l = static_cast<const TLine&>(c);
    return std::max({1.0, std::fabs(l.x), std::fabs(l.y), std::fabs(l.x2), std::fabs(l.y2)});
  }
  default: {
    const auto& k = static_cast<const TCircle&>(c);
    return std::max({1.0, std::fabs(k.x), std::fabs(k.y)}) + k.Radius;
  }
  }
}

// Distance from P to the curve, by the curve's own definition (not through its operations).
Real DistanceToCurve(const TCurve2D& c, const TPoint2D& P)
{
  switch (c.IsType()) {
  case tLineSeg: {
    const auto& s = static_cast<const TLineSeg&>(c);
    return P.DistanceToSegment(s.x, s.y, s.xk, s.yk);
  }
  case tLines: {
    const auto& l = static_cast<const TLine&>(c);
    const Real dx = l.x2 - l.x, dy = l.y2 - l.y;
    return std::fabs(dx * (P.y - l.y) - dy * (P.x - l.x)) / std::hypot(dx, dy);
  }
  case tCircle: {
    const auto& k = static_cast<const TCircle&>(c);
    return std::fabs(std::hypot(P.x - k.x, P.y - k.y) - k.Radius);
  }
  default: {
    const auto& a = static_cast<const TArc&>(c);
    const Real onCircle = std::fabs(std::hypot(P.x - a.x, P.y - a.y) - a.Radius);
    Real t = std::atan2(P.y - a.y, P.x - a.x);
    a.AngleToParam(t);
    // Off the arc's span the nearest point is an end.
    if (t >= -2e-7 && t <= a.GetTMax() + 2e-7) return onCircle;
    return std::min(Dist(P, a.PointTMin()), Dist(P, a.PointTMax()));
  }
  }
}

bool IsRound(const TCurve2D& c)
{
  return c.IsType() == tCircle || c.IsType() == tArc;
}

// The tangency bands of the solver: there a recorded point may lie off one curve by the band.
Real Band(const TCurve2D& a, const TCurve2D& b)
{
  if (IsRound(a) && IsRound(b)) return 2e-6;
  if (IsRound(a) || IsRound(b)) return 2e-6;
  return 0;
}

void CheckRecords(const TInterSector& IS, Integer from, const TCurve2D& a, const TCurve2D& b)
{
  const Real tol = 1e-9 * std::max(Size(a), Size(b)) + Band(a, b);
  for (Integer i = from; i < IS.ACrossPoint.Count; ++i) {
    const TCrossPoint& r = IS.ACrossPoint[i];
    ASSERT_EQ(r.form, TCrossPoint::ipt_Simple);
    ASSERT_TRUE(r.on1.curve == &a || r.on1.curve == &b);
    ASSERT_TRUE(r.on2.curve == &a || r.on2.curve == &b);
    ASSERT_NE(r.on1.curve, r.on2.curve);
    for (const TPointOnCurve* on : {&r.on1, &r.on2}) {
      ASSERT_LE(DistanceToCurve(*on->curve, r.p), tol) << std::string(TString(*on->curve).PChar());
      ASSERT_TRUE(on->curve->InRegion(on->t, 2e-7));
      ASSERT_LE(Dist(RawAt(*on->curve, on->t), r.p), tol + 1e-9 * Size(*on->curve));
    }
  }
}

TEST(InterSectProperty, RandomPairsLieOnBothCurves)
{
  TRandom R(20240601);
  Integer found = 0;
  for (int i = 0; i < 40000; ++i) {
    const std::unique_ptr<TCurve2D> a = R.Curve(i % 5), b = R.Curve((i / 5) % 5);
    TInterSector IS;
    IS.InterSection(a.get(), b.get());
    CheckRecords(IS, 0, *a, *b);
    found += IS.ACrossPoint.Count;
    const Integer before = IS.ACrossPoint.Count;
    IS.InterSection(b.get(), a.get());
    CheckRecords(IS, before, *a, *b);
    if (HasFatalFailure()) return;
  }
  // The random pairs do cross: the test is not vacuous.
  EXPECT_GT(found, 10000);
}

TEST(InterSectProperty, CurveOrderFindsTheSamePoints)
{
  TRandom R(77);
  int compared = 0;
  for (int i = 0; i < 20000; ++i) {
    const std::unique_ptr<TCurve2D> a = R.Curve(i % 5), b = R.Curve((i / 5) % 5);
    TInterSector A, B;
    A.InterSection(a.get(), b.get());
    B.InterSection(b.get(), a.get());
    if (A.ACrossPoint.Count != B.ACrossPoint.Count) {
      // Only a crossing within the range margin of an end may be seen one way and not the
      // other; every point found must still be found the other way or lie at an end.
      const TInterSector& more = A.ACrossPoint.Count > B.ACrossPoint.Count ? A : B;
      for (Integer k = 0; k < more.ACrossPoint.Count; ++k) {
        const TCrossPoint& r = more.ACrossPoint[k];
        const bool atEnd = std::fabs(r.on1.t - r.on1.curve->GetTMin()) < 1e-6 ||
                           std::fabs(r.on1.t - r.on1.curve->GetTMax()) < 1e-6 ||
                           std::fabs(r.on2.t - r.on2.curve->GetTMin()) < 1e-6 ||
                           std::fabs(r.on2.t - r.on2.curve->GetTMax()) < 1e-6;
        EXPECT_TRUE(atEnd) << i;
      }
      continue;
    }
    const Real tol = 1e-9 * std::max(Size(*a), Size(*b)) + Band(*a, *b);
    for (Integer k = 0; k < A.ACrossPoint.Count; ++k) {
      Real best = 1e300;
      for (Integer m = 0; m < B.ACrossPoint.Count; ++m)
        best = std::min(best, Dist(A.ACrossPoint[k].p, B.ACrossPoint[m].p));
      EXPECT_LE(best, tol) << i;
      ++compared;
    }
  }
  EXPECT_GT(compared, 5000);
}

// Analytic counts for constructed cases.

struct TLineCircleCase
{
  Real f; // distance of the line from the centre, in radii
  int expected;
};

TEST(InterSectProperty, LineCircleCounts)
{
  const TLineCircleCase cases[] = {{0, 2}, {0.3, 2}, {0.999, 2}, {1, 1}, {1 + 1e-9, 1}, {1.001, 0}, {3, 0}};
  TRandom R(5);
  for (const TLineCircleCase& c : cases) {
    for (int i = 0; i < 2000; ++i) {
      const Real radius = R.U(0.5, 50);
      const TPoint2D Ce = R.P(100);
      const TVector2D u = R.Unit();
      const TVector2D n(-u.y, u.x);
      const TPoint2D F = Ce + n * (c.f * radius);
      // A segment that covers both crossings, and one that covers neither (it stops short).
      const TLineSeg covering(F - u * (2 * radius), F + u * (2 * radius));
      const TLineSeg shortOne(F + u * (1.5 * radius), F + u * (3 * radius));
      const TCircle circle(Ce.x, Ce.y, radius);
      const TArc whole(Ce.x, Ce.y, radius, 0, 0);
      const TLine line(F, u);
      const std::pair<const TCurve2D*, const TCurve2D*> pairs[] = {
          {&covering, &circle}, {&circle, &covering}, {&covering, &whole}, {&line, &circle}};
      for (const auto& [p, q] : pairs) {
        TInterSector IS;
        ASSERT_EQ(IS.InterSection(p, q), c.expected) << c.f << " " << i;
        CheckRecords(IS, 0, *p, *q);
      }
      TInterSector IS;
      ASSERT_EQ(IS.InterSection(&shortOne, &circle), 0) << c.f << " " << i;
      if (HasFatalFailure()) return;
    }
  }
}

TEST(InterSectProperty, CircleCircleCounts)
{
  TRandom R(9);
  for (int i = 0; i < 20000; ++i) {
    const Real R1 = R.U(0.5, 40), R2 = R.U(0.5, 40);
    if (std::fabs(R1 - R2) < 0.01) continue;
    const TPoint2D C1 = R.P(100);
    const TVector2D u = R.Unit();
    const Real lo = std::fabs(R1 - R2), hi = R1 + R2;
    struct Case
    {
      Real dist;
      int expected;
    } cases[] = {
        {R.U(lo + 1e-3, hi - 1e-3), 2}, // secant
        {hi, 1},                        // touching from outside
        {lo, 1},                        // touching from inside
        {R.U(hi + 1e-3, hi + 50), 0},   // apart
        {R.U(0.001, lo - 1e-3), 0},     // nested
    };
    for (const Case& c : cases) {
      if (!(c.dist > 0)) continue;
      const TPoint2D C2 = C1 + u * c.dist;
      const TCircle a(C1.x, C1.y, R1), b(C2.x, C2.y, R2);
      TInterSector IS;
      ASSERT_EQ(IS.InterSection(&a, &b), c.expected) << i << " " << c.dist << " " << R1 << " " << R2;
      ASSERT_EQ(IS.InterSection(&b, &a), c.expected) << i << " " << c.dist << " " << R1 << " " << R2;
      // Tangent points lie on both circles up to the band; secant points within 1e-9 of size.
      CheckRecords(IS, 0, a, b);
      if (HasFatalFailure()) return;
    }
    // The same circle twice, and other concentric circles: nothing, with their own codes.
    const TCircle a(C1.x, C1.y, R1), same(C1.x, C1.y, R1), other(C1.x, C1.y, R2);
    TInterSector IS;
    ASSERT_EQ(IS.InterSectCircleCircle(&a, &same), -2);
    ASSERT_EQ(IS.InterSectCircleCircle(&a, &other), -1);
    ASSERT_EQ(IS.ACrossPoint.Count, 0);
  }
}

TEST(InterSectProperty, SegmentSegmentCounts)
{
  TRandom R(13);
  for (int i = 0; i < 20000; ++i) {
    const TPoint2D X = R.P(100);
    const TVector2D u = R.Unit(), v = R.Unit();
    if (std::fabs(u.x * v.y - u.y * v.x) < 0.01) continue; // nearly parallel
    const Real la = R.U(1, 50), lb = R.U(1, 50);
    const Real ta = R.U(0.05, 0.95), tb = R.U(0.05, 0.95);
    const TLineSeg a(X - u * (ta * la), X + u * ((1 - ta) * la));
    const TLineSeg b(X - v * (tb * lb), X + v * ((1 - tb) * lb));
    const TLineSeg beyond(X + v * (0.01 * lb), X + v * lb); // stops short of X
    const TLineSeg parallel(a.x + v.x, a.y + v.y, a.xk + v.x, a.yk + v.y);
    TInterSector IS;
    ASSERT_EQ(IS.InterSection(&a, &b), 1);
    EXPECT_NEAR(IS.ACrossPoint[0].on1.t, ta, 1e-9);
    EXPECT_NEAR(IS.ACrossPoint[0].on2.t, tb, 1e-9);
    ASSERT_EQ(IS.InterSection(&a, &beyond), 0);
    ASSERT_EQ(IS.InterSection(&a, &parallel), 0);
    CheckRecords(IS, 0, a, b);
    if (HasFatalFailure()) return;
  }
}

// Segment with circle: the count from a long-double closed form, away from the boundaries.
TEST(InterSectProperty, SegmentArcCountsAgainstClosedForm)
{
  TRandom R(31);
  int checked = 0;
  for (int i = 0; i < 30000; ++i) {
    const TPoint2D A = R.P(50), B = R.P(50);
    const Real cx = R.U(-40, 40), cy = R.U(-40, 40), r = R.U(0.5, 40);
    const Real a1 = R.U(-7, 7), a2 = R.U(-7, 7);
    const bool ccw = i % 2 == 0;
    const TLineSeg s(A, B);
    const TArc arc(cx, cy, ccw ? r : -r, a1, a2);
    // Closed form: |A + t D - C|^2 = r^2.
    const long double dx = (long double)B.x - A.x, dy = (long double)B.y - A.y;
    const long double fx = (long double)A.x - cx, fy = (long double)A.y - cy;
    const long double qa = dx * dx + dy * dy, qb = 2 * (fx * dx + fy * dy),
                      qc = fx * fx + fy * fy - (long double)r * r;
    const long double disc = qb * qb - 4 * qa * qc;
    if (std::fabs((double)disc) < 1e-3 * (double)qa * r) continue; // near tangency
    int expected = 0;
    bool boundary = false;
    if (disc > 0) {
      const long double sq = std::sqrt(disc);
      for (const long double t : {(-qb - sq) / (2 * qa), (-qb + sq) / (2 * qa)}) {
        if (std::fabs((double)t) < 1e-6 || std::fabs((double)t - 1) < 1e-6) boundary = true;
        if (t < 0 || t > 1) continue;
        const long double px = A.x + t * dx, py = A.y + t * dy;
        Real at = std::atan2((double)(py - cy), (double)(px - cx));
        arc.AngleToParam(at);
        if (std::fabs(at) < 1e-6 || std::fabs(at - arc.GetTMax()) < 1e-6) boundary = true;
        if (at >= 0 && at <= arc.GetTMax()) ++expected;
      }
    }
    if (boundary) continue;
    TInterSector IS;
    ASSERT_EQ(IS.InterSection(&s, &arc), expected) << i;
    ++checked;
  }
  EXPECT_GT(checked, 25000);
}

} // namespace
