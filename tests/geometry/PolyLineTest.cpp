#include <gtest/gtest.h>

#include <algorithm>
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
using curvetest::PointsOf;
using curvetest::Poly;

namespace {

constexpr Real Pi = TMathDef::C_PI;

std::vector<Real> ValuesOf(const TAReal& A)
{
  std::vector<Real> v;
  for (Real x : A)
    v.push_back(x);
  return v;
}

// A polyline whose curve reports itself closed, as a closed spline does.
class TClosedPolyLine : public TPolyLine
{
public:
  Boolean IsClosed() const override { return true; }
};

const TPolyLine Corner = Poly({{0, 0}, {10, 0}, {10, 10}});
const TPolyLine SquareCCW = Poly({{0, 0}, {4, 0}, {4, 4}, {0, 4}}, 4, true);

} // namespace

// --- Evaluation -------------------------------------------------------------------------------

TEST(PolyLineEvaluation, PointsDerivativesAndTheClosedWrap)
{
  const Real inf = std::numeric_limits<Real>::infinity();
  const std::pair<Real, TPoint2D> cases[] = {
      {0, {0, 0}},  {0.5, {5, 0}}, {1.0, {10, 0}},         {1.5, {10, 5}},    {2.0, {10, 10}},
      {-3, {0, 0}}, {7, {10, 10}}, {std::nan(""), {0, 0}}, {1e300, {10, 10}}, {-inf, {0, 0}}};
  for (const auto& [t, expected] : cases)
    EXPECT_EQ(At(Corner, t), expected) << t;

  // A closed curve wraps by the point count: three units from the first to the last point, so 4.5
  // is 1.5.
  TClosedPolyLine L;
  for (const TPoint2D& p : SquareCCW.Points)
    L.Points.Add(p);
  L.Segments = 4;
  EXPECT_EQ(At(L, 4.5), TPoint2D(4, 2));
  EXPECT_EQ(At(L, inf), TPoint2D(0, 4));

  // At the first vertex of a closed polygon: the bisector of the corner; a reversal has no
  // direction, the zero vector, not NaN.
  const TVector2D V = Der1(SquareCCW, 0);
  EXPECT_NEAR(V.x, 4 / std::sqrt(2.0), 1e-12);
  EXPECT_NEAR(V.y, -4 / std::sqrt(2.0), 1e-12);
  EXPECT_EQ(Der1(Poly({{0, 0}, {1, 0}, {0, 0}}), 1), TVector2D(0, 0));
}

// Operations taken modulo the point count on a polyline without points, also when its owner
// left a segment count behind.
TEST(PolyLineEmpty, ModularOperationsAreGuarded)
{
  for (Integer segments : {0, 3}) {
    TPolyLine L;
    L.Segments = segments;
    L.Set(7, 8);
    EXPECT_EQ(At(L, 0.5), TPoint2D(7, 8));
    EXPECT_EQ(Der1(L, 0.5), TVector2D(0, 0));
    EXPECT_EQ(L.PointRelative(TPoint2D(1, 1), 1e-6), tl_Right);
    EXPECT_EQ(L.NearestSegment(TPoint2D(1, 1)), -1);
    Real t = 5;
    L.NearPointProjection(TPoint2D(1, 1), TPoint2D(1e-4, 1e-4), t, false, nullptr);
    EXPECT_EQ(t, 0);
    TAReal A;
    L.InterSectHorizontal(0, A);
    L.InterSectVertical(0, A);
    EXPECT_EQ(A.Count, 0);
    TInterSector IS;
    EXPECT_EQ(L.SelfIntersect(TRegion1D(0, 1), IS, false), 0);
    EXPECT_EQ(L.GetSegment(0), nullptr);
    TPolyLine hull;
    L.ConvexHull(hull);
    TCircle c(1, 2, 3);
    L.GetMin(c);
    TORect2D B;
    L.GetMin(B);
    EXPECT_FALSE(L.IsCircle(c));
  }
}

// --- Self crossings ----------------------------------------------------------------------------

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

// --- Scans -------------------------------------------------------------------------------------

// Flat segments on a scan line: the horizontal scan takes both of (0,0) (2,0) (4,0); the vertical
// one a flat segment only when entered from off the line. The text form: one group per point.
TEST(PolyLineScan, FlatSegmentsOnTheScanLineAndText)
{
  TAReal A, B;
  Poly({{0, 3}, {0, 0}, {2, 0}, {4, 0}, {4, 3}}).InterSectHorizontal(0, A);
  EXPECT_EQ(ValuesOf(A), (std::vector<Real>{1, 2, 3}));
  Poly({{3, 0}, {0, 0}, {0, 2}, {0, 4}, {3, 4}}).InterSectVertical(0, B);
  EXPECT_EQ(ValuesOf(B), (std::vector<Real>{1, 3}));
  EXPECT_EQ(TString(Poly({{1, 2}, {-3.5, 10}})), TString("{  (   1.00 ,    2.00), {  (  -3.50 ,   10.00), }"));
  EXPECT_EQ(TString(TPolyLine()), TString("}"));
}

// --- Enclosing figures -------------------------------------------------------------------------

// A cluster so small that every triangle counts as flat: the search still ends with a circle
// that holds every point, not with the 1e300 radius it starts from.
TEST(PolyLineMinCircle, TinyClusterStillEnclosed)
{
  const Real h = 1e-3 * std::sqrt(3.0) / 2;
  const TPolyLine L = Poly({{0, 0}, {1e-3, 0}, {0.5e-3, h}});
  TCircle g;
  L.GetMin(g);
  EXPECT_LT(g.Radius, 1e-3);
  for (const TPoint2D& p : L.Points)
    EXPECT_LE(Dist(p, g), g.Radius + 1e-15);
}

// --- Recognition -------------------------------------------------------------------------------

namespace {

TPolyLine OnCircle(TPoint2D c, Real r, std::initializer_list<Real> degrees)
{
  TPolyLine L;
  for (Real d : degrees)
    L.Points.Add(TPoint2D(c.x + r * std::cos(d * Pi / 180), c.y + r * std::sin(d * Pi / 180)));
  return L;
}

} // namespace

TEST(PolyLineRecognition, CircleArcAndSegment)
{
  TCircle c;
  TArc a;
  TLineSeg S;
  TPolyLine off = OnCircle({0, 0}, 5, {0, 60, 120, 180, 240, 300, 360});
  off.Points[4].x += 1e-3;
  for (const TPolyLine& L :
       {off, OnCircle({0, 0}, 5, {0, 60, 120, 180, 240, 300}), OnCircle({0, 0}, 5, {0, 72, 144, 216, 288}),
        Poly({{0, 0}, {1, 0}, {2, 0}, {3, 0}, {1, 0}, {0, 0}})})
    EXPECT_FALSE(L.IsCircle(c));

  ASSERT_TRUE(OnCircle({0, 0}, 2, {0, 30, 60, 90}).IsArc(a));
  EXPECT_NEAR(a.GetA2(), Pi / 2, 1e-12);
  EXPECT_EQ(a.GetSense(), TArc::BackClockWise);
  ASSERT_TRUE(OnCircle({0, 0}, 2, {90, 60, 30, 0}).IsArc(a));
  EXPECT_EQ(a.GetSense(), TArc::ByClockWise);
  EXPECT_TRUE(OnCircle({0, 0}, 0.5, {0, 0.5, 1, 1.5, 2}).IsArc(a)); // dense points of a small arc
  EXPECT_FALSE(OnCircle({0, 0}, 2, {0, 30, 60}).IsArc(a));
  EXPECT_FALSE(Poly({{0, 0}, {1, 1}, {2, 2}, {3, 3}}).IsArc(a));

  // A segment from the extreme points of points on one line, there and back not.
  ASSERT_TRUE(Poly({{1, 1}, {2, 2}, {1.5, 1.5}, {-1, -1}, {0, 0}}).IsLineSeg(S));
  EXPECT_EQ(TPoint2D(S.x, S.y), TPoint2D(-1, -1));
  EXPECT_EQ(TPoint2D(S.xk, S.yk), TPoint2D(2, 2));
  for (const TPolyLine& L : {Poly({{0, 0}, {1, 0}, {5, 0}, {-2, 0}, {0, 0}}),
                             Poly({{0, 0}, {1, 0}, {5, 0.1}}), Poly({{0, 0}, {1, 0}})})
    EXPECT_FALSE(L.IsLineSeg(S));
}

// The centre comes from the general three-point construction: a vertical first or second chord
// and a horizontal first chord are ordinary circles, not divisions by zero.
TEST(PolyLineRecognition, CentreOfChordsAlongTheAxes)
{
  for (auto degrees :
       {std::initializer_list<Real>{-30, 30, 100, 170, 240, 330}, // x0 = x1: vertical first chord
        {20, 160, 200, 250, 300, 380},                            // y0 = y1: horizontal first chord
        {100, 150, 210, 280, 320, 460}})                          // x1 = x2: vertical second chord
  {
    TCircle c;
    ASSERT_TRUE(OnCircle({3, -2}, 5, degrees).IsCircle(c));
    EXPECT_NEAR(Dist(c, TPoint2D(3, -2)) + std::fabs(c.Radius - 5), 0, 1e-9);
    TArc a;
    ASSERT_TRUE(OnCircle({3, -2}, 5, degrees).IsArc(a));
    EXPECT_NEAR(Dist(a, TPoint2D(3, -2)), 0, 1e-9);
  }
}

// --- Clipping ----------------------------------------------------------------------------------

// Clipped areas are checked against Boost.Geometry in PolygonOracleTest; here the edge cases it
// does not reach: no clip polygon, and clipping in place.
TEST(PolyLineClip, SutherlandHodgman)
{
  const TPolyLine square = Poly({{1, 1}, {3, 1}, {3, 3}, {1, 3}}, 4, true);
  TPolyLine out;
  square.SutherlandHodgman(TPolyLine(), out);
  EXPECT_EQ(PointsOf(out), PointsOf(square));
  EXPECT_EQ(out.Segments, 4);

  // Clipping in place, by itself: the points on the clip's edges come back as crossings.
  TPolyLine self = square;
  self.SutherlandHodgman(self, self);
  const std::vector<TPoint2D> got = PointsOf(self), want = PointsOf(square);
  EXPECT_TRUE(std::is_permutation(got.begin(), got.end(), want.begin(), want.end()));
}
