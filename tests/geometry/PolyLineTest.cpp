#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>
#include <limits>
#include <vector>

#include "CurveTestUtil.h"
#include "hxcadkit/geometry/Elements.h"
#include "hxcadkit/geometry/SolverInterSect.h"

using curvetest::At;
using curvetest::Der1;
using curvetest::Dist;
using curvetest::Poly;

namespace {

// A polyline whose curve reports itself closed, as a closed spline does.
class TClosedPolyLine : public TPolyLine
{
public:
  Boolean IsClosed() const override { return true; }
};

// Points at the angles (in degrees) on the circle about (3, -2) of radius r.
TPolyLine OnCircle(Real r, std::initializer_list<Real> degrees)
{
  TPolyLine L;
  for (Real d : degrees)
    L.Points.Add(
        TPoint2D(3 + r * std::cos(d * TMathDef::C_PI / 180), -2 + r * std::sin(d * TMathDef::C_PI / 180)));
  return L;
}

} // namespace

TEST(PolyLineEvaluation, PointsDerivativesTheClosedWrapAndText)
{
  const Real inf = std::numeric_limits<Real>::infinity();
  const TPolyLine corner = Poly({{0, 0}, {10, 0}, {10, 10}}),
                  square = Poly({{0, 0}, {4, 0}, {4, 4}, {0, 4}}, 4, true);
  // A closed curve wraps by the point count: three units from the first to the last point, so 4.5
  // is 1.5.
  TClosedPolyLine closed;
  static_cast<TPolyLine&>(closed) = square;
  const struct
  {
    const TPolyLine* L;
    Real t;
    TPoint2D P;
  } cases[] = {
      {&corner, 0, {0, 0}},    {&corner, 0.5, {5, 0}},          {&corner, 1.0, {10, 0}},
      {&corner, 1.5, {10, 5}}, {&corner, 2.0, {10, 10}},        {&corner, -3, {0, 0}},
      {&corner, 7, {10, 10}},  {&corner, std::nan(""), {0, 0}}, {&corner, 1e300, {10, 10}},
      {&corner, -inf, {0, 0}}, {&closed, 4.5, {4, 2}},          {&closed, inf, {0, 4}},
  };
  for (const auto& k : cases)
    EXPECT_EQ(At(*k.L, k.t), k.P) << &k - cases;

  // At the first vertex of a closed polygon: the bisector of the corner; a reversal has no
  // direction, the zero vector, not NaN.
  const TVector2D V = Der1(square, 0);
  EXPECT_NEAR(V.x, 4 / std::sqrt(2.0), 1e-12);
  EXPECT_NEAR(V.y, -4 / std::sqrt(2.0), 1e-12);
  EXPECT_EQ(Der1(Poly({{0, 0}, {1, 0}, {0, 0}}), 1), TVector2D(0, 0));
  // The text form: one group per point.
  EXPECT_EQ(TString(Poly({{1, 2}, {-3.5, 10}})),
            TString("{  (   1.00 ,    2.00), {  (  -3.50 ,   10.00), }"));
  EXPECT_EQ(TString(TPolyLine()), TString("}"));
}

// Operations taken modulo the point count on a polyline without points, also when its owner
// left a segment count behind.
TEST(PolyLineEmpty, ModularOperationsAreGuarded)
{
  for (Integer segments : {0, 3}) {
    TPolyLine L = Poly({}, segments), hull;
    L.Set(7, 8);
    Real t = 5;
    TAReal A;
    TInterSector IS;
    TCircle c(1, 2, 3);
    TORect2D B;
    L.NearPointProjection(TPoint2D(1, 1), TPoint2D(1e-4, 1e-4), t, false, nullptr);
    L.InterSectHorizontal(0, A);
    L.InterSectVertical(0, A);
    L.ConvexHull(hull);
    L.GetMin(c);
    L.GetMin(B);
    EXPECT_EQ(At(L, 0.5), TPoint2D(7, 8));
    EXPECT_EQ(Der1(L, 0.5), TVector2D(0, 0));
    EXPECT_EQ(L.PointRelative(TPoint2D(1, 1), 1e-6), tl_Right);
    EXPECT_EQ(L.NearestSegment(TPoint2D(1, 1)), -1);
    EXPECT_EQ(t, 0);
    EXPECT_EQ(A.Count, 0);
    EXPECT_EQ(L.SelfIntersect(TRegion1D(0, 1), IS, false), 0);
    EXPECT_EQ(L.GetSegment(0), nullptr);
    EXPECT_FALSE(L.IsCircle(c));
  }
}

// The count of crossings found is returned as it is, never negated; the records name the
// polyline itself (the segments it crossed were temporaries).
TEST(PolyLineSelfIntersect, CountsCrossingsAndRecordsThePolyline)
{
  const TPolyLine bowtie = Poly({{0, 0}, {2, 2}, {2, 0}, {0, 2}}, 4, true);
  TInterSector IS;
  IS.ACrossPoint.Add(TCrossPoint());                              // earlier records stay
  EXPECT_EQ(bowtie.SelfIntersect(TRegion1D(0, 4), IS, false), 5); // four joints and the diagonals' crossing
  ASSERT_EQ(IS.ACrossPoint.Count, 6);
  for (Integer r = 1; r < IS.ACrossPoint.Count; ++r) {
    const TCrossPoint& c = IS.ACrossPoint[r];
    EXPECT_EQ(c.on1.curve, &bowtie);
    EXPECT_LT(Dist(At(bowtie, c.on1.t), c.p), 1e-10);
  }
}

// A circle takes six points or more, the last on the first; an arc four on one circle, run from the
// first point to the last in their sense (r < 0: clockwise); a segment three on one line, between
// the extreme ones. Chords along the axes are ordinary circles, not divisions by zero.
TEST(PolyLineRecognition, CirclesArcsAndSegments)
{
  TPolyLine off = OnCircle(5, {0, 60, 120, 180, 240, 300, 360});
  off.Points[4].x += 1e-3;
  const struct
  {
    TPolyLine L;
    bool circle;
    Real r;                        // 0: no arc
    std::vector<TPoint2D> segment; // its ends, or none
  } cases[] = {
      {OnCircle(5, {-30, 30, 100, 170, 240, 330}), true, 5, {}},  // x0 = x1: vertical first chord
      {OnCircle(5, {20, 160, 200, 250, 300, 380}), true, 5, {}},  // y0 = y1: horizontal first chord
      {OnCircle(5, {100, 150, 210, 280, 320, 460}), true, 5, {}}, // x1 = x2: vertical second chord
      {OnCircle(5, {0, 30, 60, 90}), false, 5, {}},
      {OnCircle(5, {90, 60, 30, 0}), false, -5, {}},
      {OnCircle(5, {0, 60, 120, 180, 240, 300}), false, 5, {}},
      {OnCircle(5, {0, 90, 180, 270, 360}), false, 5, {}},  // five points
      {OnCircle(0.5, {0, 0.5, 1, 1.5, 2}), false, 0.5, {}}, // dense points of a small arc
      {OnCircle(5, {0, 30, 60}), false, 0, {}},
      {off, false, 0, {}},
      {Poly({{1, 1}, {2, 2}, {1.5, 1.5}, {-1, -1}, {0, 0}}), false, 0, {{-1, -1}, {2, 2}}},
      {Poly({{0, 0}, {1, 0}, {5, 0}, {-2, 0}}), false, 0, {{-2, 0}, {5, 0}}},
      {Poly({{0, 0}, {1, 0}, {5, 0}, {-2, 0}, {0, 0}}), false, 0, {}}, // back at the start
      {Poly({{0, 0}, {1, 0}, {2, 0}, {3, 0}, {1, 0}, {0, 0}}), false, 0, {}},
      {Poly({{0, 0}, {1, 0}, {5, 0.1}}), false, 0, {}},
      {Poly({{0, 0}, {1, 0}}), false, 0, {}},
  };
  const TPoint2D centre(3, -2);
  for (const auto& k : cases) {
    SCOPED_TRACE(&k - cases);
    TCircle c;
    TArc a;
    TLineSeg S;
    std::vector<TPoint2D> ends;
    if (k.L.IsLineSeg(S)) ends = {S.PointTMin(), S.PointTMax()};
    EXPECT_EQ(ends, k.segment);
    ASSERT_EQ(k.L.IsCircle(c), k.circle);
    EXPECT_LT(k.circle ? Dist(c, centre) + std::fabs(c.Radius - k.r) : 0, 1e-9);
    ASSERT_EQ(k.L.IsArc(a), k.r != 0);
    if (k.r == 0) continue;
    EXPECT_NEAR(Dist(a, centre) + std::fabs(a.Radius - std::fabs(k.r)), 0, 1e-9);
    EXPECT_EQ(a.GetSense(), k.r > 0 ? TArc::BackClockWise : TArc::ByClockWise);
    EXPECT_LT(Dist(a.PointTMin(), k.L.Points[0]) + Dist(a.PointTMax(), k.L.Points[k.L.Points.Count - 1]),
              1e-9);
  }
}
