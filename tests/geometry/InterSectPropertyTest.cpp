// Properties of the intersection solver over many random curve pairs (fixed seeds): every
// recorded crossing lies on both curves and at its recorded parameters, in either order of the
// curves, and the number of crossings matches the analytic count.
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

struct TRandomCurves
{
  std::mt19937_64 rng;
  explicit TRandomCurves(unsigned seed) : rng(seed) {}
  Real U(Real a, Real b) { return std::uniform_real_distribution<Real>(a, b)(rng); }
  TVector2D Unit()
  {
    const Real a = U(0, TMathDef::C_2PI);
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
  return IsRound(a) || IsRound(b) ? 2e-6 : 0;
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
  TRandomCurves R(20240601);
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

// Analytic counts: secant, tangent from outside and inside, apart, nested, concentric.
TEST(InterSectProperty, CircleCircleCounts)
{
  TRandomCurves R(9);
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

} // namespace
