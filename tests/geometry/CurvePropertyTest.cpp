// Properties of the curves over random instances (fixed seeds): derivatives against finite
// differences, projection against a brute-force nearest point, scans against the curve's own
// points, and cut pieces against the original.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <random>

#include "CurveTestUtil.h"
#include "hxcadkit/geometry/Elements.h"

using namespace curvetest;

namespace {

struct TRandom
{
  std::mt19937_64 rng;
  explicit TRandom(unsigned seed) : rng(seed) {}
  Real U(Real a, Real b) { return std::uniform_real_distribution<Real>(a, b)(rng); }

  TArc Arc(bool ccw) { return TArc(U(-30, 30), U(-30, 30), U(0.5, 30) * (ccw ? 1 : -1), U(-7, 7), U(-7, 7)); }
  TCircle Circle() { return TCircle(U(-30, 30), U(-30, 30), U(0.5, 30)); }
  TLineSeg Seg() { return TLineSeg(U(-30, 30), U(-30, 30), U(-30, 30), U(-30, 30)); }
  TLine Line() { return TLine(U(-30, 30), U(-30, 30), U(-30, 30), U(-30, 30)); }
};

TVector2D Central(const TCurve2D& c, Real t, Real h, int order)
{
  auto d = [&](Real u, int k) {
    TVector2D V;
    if (k == 0) {
      const TPoint2D P = RawAt(c, u);
      return TVector2D(P.x, P.y);
    }
    if (k == 1) c._FirstDer(u, V);
    if (k == 2) c._SecondDer(u, V);
    return V;
  };
  const TVector2D a = d(t - h, order - 1), b = d(t + h, order - 1);
  return TVector2D((b.x - a.x) / (2 * h), (b.y - a.y) / (2 * h));
}

void ExpectDerivatives(const TCurve2D& c, Real t, Real scale)
{
  const Real h = 1e-5;
  TVector2D V;
  c._FirstDer(t, V);
  const TVector2D F1 = Central(c, t, h, 1);
  ASSERT_NEAR(V.x, F1.x, 1e-6 * scale);
  ASSERT_NEAR(V.y, F1.y, 1e-6 * scale);
  c._SecondDer(t, V);
  const TVector2D F2 = Central(c, t, h, 2);
  ASSERT_NEAR(V.x, F2.x, 1e-6 * scale);
  ASSERT_NEAR(V.y, F2.y, 1e-6 * scale);
  c._ThirdDer(t, V);
  const TVector2D F3 = Central(c, t, h, 3);
  ASSERT_NEAR(V.x, F3.x, 1e-6 * scale);
  ASSERT_NEAR(V.y, F3.y, 1e-6 * scale);
  // The clamped forms agree inside the range.
  TVector2D W;
  c.FirstDer(t, W);
  c._FirstDer(t, V);
  ASSERT_EQ(W, V);
  ASSERT_EQ(At(c, t), RawAt(c, t));
}

TEST(CurveProperty, DerivativesAgreeWithFiniteDifferences)
{
  TRandom R(1);
  for (int i = 0; i < 3000; ++i) {
    for (bool ccw : {true, false}) {
      const TArc a = R.Arc(ccw);
      ExpectDerivatives(a, R.U(0.01, 0.99) * a.GetTMax(), 30);
    }
    const TCircle c = R.Circle();
    ExpectDerivatives(c, R.U(0, TMathDef::C_2PI), 30);
    const TLine l = R.Line();
    ExpectDerivatives(l, R.U(-3, 3), 30);
    // A segment's first derivative is its unit direction: compare the tangent.
    const TLineSeg s = R.Seg();
    if (s.GetMetricLength() < 1e-3) continue;
    TVector2D T;
    s.TangentOn(0.3, T);
    TVector2D F = Central(s, 0.3, 1e-5, 1);
    F.Normalize();
    ASSERT_NEAR(T.x, F.x, 1e-8);
    ASSERT_NEAR(T.y, F.y, 1e-8);
    if (HasFatalFailure()) return;
  }
}

// The nearest of n samples along the curve.
Real BruteNearest(const TCurve2D& c, const TPoint2D& P, int n = 20000)
{
  const Real a = c.GetTMin(), b = c.GetTMax();
  Real best = 1e300;
  for (int i = 0; i <= n; ++i)
    best = std::min(best, Dist(At(c, a + (b - a) * i / n), P));
  return best;
}

TEST(CurveProperty, ProjectionFindsTheNearestPoint)
{
  TRandom R(2);
  for (int i = 0; i < 600; ++i) {
    const TPoint2D P(R.U(-60, 60), R.U(-60, 60));
    const TArc a = R.Arc(i % 2 == 0);
    const TCircle c = R.Circle();
    const TLineSeg s = R.Seg();
    for (const TCurve2D* k : {static_cast<const TCurve2D*>(&a), static_cast<const TCurve2D*>(&c),
                              static_cast<const TCurve2D*>(&s)}) {
      Real t = -100;
      k->NearPointProjection(P, TPoint2D(1e-8, 1e-8), t, false, nullptr);
      ASSERT_TRUE(k->InRegion(t, 1e-12)) << t;
      const Real found = Dist(At(*k, t), P), brute = BruteNearest(*k, P);
      ASSERT_LE(found, brute + 1e-9) << i;
      ASSERT_GE(found, brute - 0.01) << i;
      ASSERT_NEAR(k->DistanceTo(P), found, 1e-9) << i;
    }
  }
}

TEST(CurveProperty, ScansMeetTheScanLine)
{
  TRandom R(3);
  int hits = 0;
  for (int i = 0; i < 3000; ++i) {
    const TArc a = R.Arc(i % 2 == 0);
    const TCircle c = R.Circle();
    const TLineSeg s = R.Seg();
    const Real v = R.U(-60, 60);
    for (const TCurve2D* k : {static_cast<const TCurve2D*>(&a), static_cast<const TCurve2D*>(&c),
                              static_cast<const TCurve2D*>(&s)}) {
      for (bool horizontal : {true, false}) {
        TAReal A;
        if (horizontal)
          k->InterSectHorizontal(v, A);
        else
          k->InterSectVertical(v, A);
        // Brute count: sign changes of the coordinate along dense samples.
        int brute = 0;
        const int n = 4000;
        Real prev = 0;
        bool near = false;
        for (int j = 0; j <= n; ++j) {
          const TPoint2D P = At(*k, k->GetTMin() + (k->GetTMax() - k->GetTMin()) * j / n);
          const Real d = (horizontal ? P.y : P.x) - v;
          if (std::fabs(d) < 1e-3) near = true;
          if (j > 0 && (d > 0) != (prev > 0)) ++brute;
          prev = d;
        }
        if (!near) {
          // A closed curve sampled from its seam may show one change fewer than it crosses.
          ASSERT_EQ(A.Count, k->IsClosed() ? brute + brute % 2 : brute) << i;
        }
        for (Integer j = 0; j < A.Count; ++j) {
          const TPoint2D P = At(*k, A[j]);
          ASSERT_NEAR(horizontal ? P.y : P.x, v, 1e-9 * 60) << i;
          ++hits;
        }
      }
    }
  }
  EXPECT_GT(hits, 3000);
}

TEST(CurveProperty, CutPiecesMatchTheOriginal)
{
  TRandom R(7);
  for (int i = 0; i < 3000; ++i) {
    const TArc a = R.Arc(i % 2 == 0);
    const Real T = a.GetTMax();
    Real t1 = R.U(0, T), t2 = R.U(0, T);
    if (std::fabs(t1 - t2) < 1e-3) continue;
    if (t1 > t2) std::swap(t1, t2);
    TArc kept = a;
    TCurve2D* part2 = nullptr;
    kept.TrimmPart(t1, t2, part2);
    ASSERT_EQ(part2, nullptr);
    ASSERT_NEAR(Dist(kept.PointTMin(), At(a, t1)), 0, 1e-9 * 60);
    ASSERT_NEAR(Dist(kept.PointTMax(), At(a, t2)), 0, 1e-9 * 60);
    ASSERT_NEAR(kept.GetTMax(), t2 - t1, 1e-12);
    ASSERT_EQ(kept.sense, a.sense);

    TArc rest = a;
    if (t1 < 1e-6 || T - t2 < 1e-6) continue;
    ASSERT_EQ(rest.DeletePart(t1, t2, part2), TCurve2D::dp_Changed);
    ASSERT_NE(part2, nullptr);
    std::unique_ptr<TCurve2D> second(part2);
    ASSERT_NEAR(Dist(rest.PointTMax(), At(a, t1)), 0, 1e-9 * 60);
    ASSERT_NEAR(Dist(second->PointTMin(), At(a, t2)), 0, 1e-9 * 60);
    ASSERT_NEAR(Dist(second->PointTMax(), a.PointTMax()), 0, 1e-9 * 60);
    ASSERT_NEAR(rest.GetTMax() + second->GetTMax(), T - (t2 - t1), 1e-9);

    Real u1 = t1, u2 = t2;
    std::unique_ptr<TCurve2D> tr(a.Trimmed(u1, u2, 1));
    ASSERT_NE(tr, nullptr);
    ASSERT_NEAR(Dist(tr->PointTMin(), At(a, t1)), 0, 1e-9 * 60);
    ASSERT_NEAR(Dist(tr->PointTMax(), At(a, t2)), 0, 1e-9 * 60);
  }
}

} // namespace
