// Segments and infinite lines: evaluation, projection, side tests, scans, cutting, offsets,
// bounds, the long segment standing for a line, and the fillet of two lines.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "CurveTestUtil.h"
#include "hxcadkit/geometry/Elements.h"
#include "hxcadkit/geometry/SolverInterSect.h"

using namespace curvetest;

namespace {

const TPoint2D Tiny(1e-8, 1e-8);

TEST(SegmentEvaluation, ClampedAndRaw)
{
  const TLineSeg s(0, 0, 10, 0);
  EXPECT_EQ(At(s, 1.5), TPoint2D(10, 0));
  EXPECT_EQ(At(s, -1), TPoint2D(0, 0));
  EXPECT_EQ(RawAt(s, 1.5), TPoint2D(15, 0));
  TVector2D T;
  s.TangentOn(0.3, T);
  EXPECT_EQ(T, TVector2D(1, 0));
  EXPECT_EQ(Der1(s, 0.3), TVector2D(1, 0)); // the unit direction, whatever the length
  EXPECT_EQ(Der2(s, 0.3), TVector2D(0, 0));
  EXPECT_EQ(s.GetMetricLength(), 10);
  EXPECT_EQ(s.GetTMax(), 1);
  TVector2D D;
  s.GetDirection(D);
  EXPECT_EQ(D, TVector2D(10, 0));
}

TEST(LineEvaluation, UnboundedAffineParameter)
{
  const TLine l(0, 0, 10, 0);
  EXPECT_EQ(Der1(l, 0), TVector2D(10, 0));
  EXPECT_EQ(At(l, -2), TPoint2D(-20, 0));
  EXPECT_TRUE(l.InRegion(1e9, 0));
  EXPECT_EQ(l.GetMetricLength(), 1e7);
  TVector2D D;
  l.GetDirection(D);
  EXPECT_EQ(D, TVector2D(1, 0));
  TRect2D R;
  l.Rect(R);
  EXPECT_EQ(R, TRect2D(-1e300, -1e300, 1e300, 1e300));
  Real x, y;
  l.Left(x, y);
  EXPECT_EQ(x, -1e300);
  l.Top(x, y);
  EXPECT_EQ(y, 1e300);
  // The projections are scaled by the squared length unless the direction is a unit.
  EXPECT_EQ(l.Projection(TPoint2D(5, 3)), 50);
  const TLine u(TPoint2D(1, 1), TVector2D(1, 0));
  TPoint2D F;
  u.Projection(TPoint2D(4, 7), F);
  EXPECT_EQ(u.Projection(TPoint2D(4, 7)), 3);
  EXPECT_EQ(F, TPoint2D(4, 1));
  EXPECT_EQ(TLine(TVector2D(2, 3)).x2, 2);
  const TLine fromSeg(TLineSeg(1, 2, 3, 4, 7));
  EXPECT_EQ(fromSeg.y2, 4);
  EXPECT_EQ(fromSeg.Atr, 7);
}

TEST(SegmentProjection, FootInsideAndOutside)
{
  const TLineSeg s(0, 0, 10, 0);
  Real t = -9;
  EXPECT_TRUE(s.NearPointProjection(TPoint2D(5, 3), Tiny, t, true, nullptr));
  EXPECT_EQ(t, 0.5);
  EXPECT_FALSE(s.NearPointProjection(TPoint2D(15, 3), Tiny, t, true, nullptr));
  EXPECT_EQ(t, 1.5);
  EXPECT_FALSE(s.NearPointProjection(TPoint2D(15, 3), Tiny, t, false, nullptr));
  EXPECT_EQ(t, 1);
  // Within the length tolerance of an end: true and snapped onto it.
  EXPECT_TRUE(s.NearPointProjection(TPoint2D(10 + 1e-6, 3), Tiny, t, false, nullptr));
  EXPECT_EQ(t, 1);
  TRegion1D W(0.2, 0.4);
  EXPECT_FALSE(s.NearPointProjection(TPoint2D(5, 3), Tiny, t, false, &W));
  EXPECT_EQ(t, 0.4);
  // Too short to project: false, t untouched.
  t = -9;
  EXPECT_FALSE(TLineSeg(1, 1, 1, 1 + 1e-11).NearPointProjection(TPoint2D(5, 3), Tiny, t, true, nullptr));
  EXPECT_EQ(t, -9);
}

TEST(LineProjection, AlwaysTrueForAProperLine)
{
  const TLine l(0, 0, 10, 0);
  Real t = 0;
  EXPECT_TRUE(l.NearPointProjection(TPoint2D(25, 3), Tiny, t, false, nullptr));
  EXPECT_EQ(t, 2.5);
  TRegion1D W(0, 1);
  EXPECT_TRUE(l.NearPointProjection(TPoint2D(25, 3), Tiny, t, false, &W));
  EXPECT_EQ(t, 1);
  EXPECT_FALSE(TLine(1, 1, 1, 1).NearPointProjection(TPoint2D(25, 3), Tiny, t, true, nullptr));
}

TEST(StraightSide, SegmentBySineLineByCross)
{
  const TLineSeg s(0, 0, 10, 0);
  const TLine l(0, 0, 10, 0);
  EXPECT_EQ(s.PointRelative(TPoint2D(0, 1), 1e-6), tl_Left);
  EXPECT_EQ(l.PointRelative(TPoint2D(0, 1), 1e-6), tl_Left);
  EXPECT_EQ(s.PointRelative(TPoint2D(5, -1), 1e-6), tl_Right);
  EXPECT_EQ(s.PointRelative(TPoint2D(20, 0), 1e-6), tl_On);
  // The segment's tolerance is a sine, the line's a cross product: far away they differ.
  EXPECT_EQ(s.PointRelative(TPoint2D(1e6, 0.5), 1e-6), tl_On);
  EXPECT_EQ(l.PointRelative(TPoint2D(1e6, 0.5), 1e-6), tl_Left);
}

TEST(SegmentScan, CrossingEndsAndAlongTheLine)
{
  const TLineSeg v(0, -1, 0, 1);
  TAReal A;
  v.InterSectHorizontal(0, A);
  ASSERT_EQ(A.Count, 1);
  EXPECT_EQ(A[0], 0.5);
  A.Clear();
  v.InterSectHorizontal(1, A);
  ASSERT_EQ(A.Count, 1);
  EXPECT_EQ(A[0], 1);
  A.Clear();
  v.InterSectHorizontal(2, A);
  EXPECT_EQ(A.Count, 0);
  // Lying on the scan line: the start on the first call, the end on a second.
  const TLineSeg h(0, 0, 10, 0);
  h.InterSectHorizontal(0, A);
  ASSERT_EQ(A.Count, 1);
  EXPECT_EQ(A[0], 0);
  h.InterSectHorizontal(0, A);
  ASSERT_EQ(A.Count, 2);
  EXPECT_EQ(A[1], 1);
  h.InterSectHorizontal(0, A);
  EXPECT_EQ(A.Count, 2);
  A.Clear();
  h.InterSectHorizontal(1e-7, A);
  EXPECT_EQ(A.Count, 0);
  // A degenerate segment answers its start.
  TLineSeg(3, 3, 3, 3).InterSectVertical(3, A);
  ASSERT_EQ(A.Count, 1);
  EXPECT_EQ(A[0], 0);
  A.Clear();
  TLineSeg(0, 0, 4, 8).InterSectVertical(1, A);
  ASSERT_EQ(A.Count, 1);
  EXPECT_EQ(A[0], 0.25);
}

TEST(LineScan, NoRangeTest)
{
  const TLine l(0, 0, 2, 1);
  TAReal A;
  l.InterSectHorizontal(5, A);
  ASSERT_EQ(A.Count, 1);
  EXPECT_EQ(A[0], 5);
  l.InterSectHorizontal(5, A);
  EXPECT_EQ(A.Count, 1);
  l.InterSectVertical(-4, A);
  ASSERT_EQ(A.Count, 2);
  EXPECT_EQ(A[1], -2);
  A.Clear();
  TLine(0, 0, 1, 1e-7).InterSectHorizontal(0, A);
  EXPECT_EQ(A.Count, 0);
}

TEST(SegmentCut, TrimmPartDeletePartTrimmed)
{
  TCurve2D* part2 = nullptr;
  TLineSeg s(0, 0, 10, 0, 4);
  s.Calculate();
  EXPECT_EQ(s.TrimmPart(0.5, 0.5, part2), TCurve2D::dp_Degenerated);
  EXPECT_EQ(s.TrimmPart(0.8, 0.2, part2), TCurve2D::dp_Changed); // reversed
  EXPECT_EQ(s.x, 8);
  EXPECT_EQ(s.xk, 2);
  EXPECT_EQ(s.metricLength, -1);

  TLineSeg d(0, 0, 10, 0, 4);
  EXPECT_EQ(d.DeletePart(0.4, 0.4, part2), TCurve2D::dp_NoChanged);
  EXPECT_EQ(d.DeletePart(0.3, 0.6, part2), TCurve2D::dp_Changed);
  ASSERT_NE(part2, nullptr);
  std::unique_ptr<TCurve2D> rest(part2);
  EXPECT_EQ(d.xk, 3);
  EXPECT_EQ(rest->PointTMin(), TPoint2D(6, 0));
  EXPECT_EQ(rest->PointTMax(), TPoint2D(10, 0));
  EXPECT_EQ(rest->Atr, 4);
  EXPECT_EQ(d.DeletePart(0, 0.5, part2), TCurve2D::dp_Changed);
  EXPECT_EQ(part2, nullptr);
  EXPECT_EQ(d.x, 1.5);
  EXPECT_EQ(d.DeletePart(0.5, 1, part2), TCurve2D::dp_Changed);
  EXPECT_EQ(d.xk, 2.25);
  EXPECT_EQ(d.DeletePart(-1, 2, part2), TCurve2D::dp_Degenerated);
  EXPECT_EQ(d.xk, d.x);

  TLineSeg t(0, 0, 10, 0, 4);
  t.Name2 = 9;
  Real t1 = 0.75, t2 = 0.25;
  std::unique_ptr<TCurve2D> r(t.Trimmed(t1, t2, 1));
  ASSERT_NE(r, nullptr);
  EXPECT_EQ(t1, 0.25);
  EXPECT_EQ(t2, 0.75);
  EXPECT_EQ(r->PointTMin(), TPoint2D(2.5, 0));
  EXPECT_EQ(r->Name2, 9);
  EXPECT_EQ(r->Atr, 0);
  r.reset(t.Trimmed(t1, t2, -1));
  EXPECT_EQ(r->PointTMin(), TPoint2D(7.5, 0));
  // Too short a piece: null; the limit shrinks with the length.
  t1 = 0.5;
  t2 = 0.5 + 5e-10;
  EXPECT_EQ(t.Trimmed(t1, t2, 1), nullptr);
  TLineSeg longer(0, 0, 1000, 0);
  t2 = 0.5 + 5e-11;
  EXPECT_NE(std::unique_ptr<TCurve2D>(longer.Trimmed(t1, t2, 1)), nullptr);
  t2 = 0.5 + 5e-12;
  EXPECT_EQ(longer.Trimmed(t1, t2, 1), nullptr);
  EXPECT_EQ(TLine(0, 0, 1, 0).Trimmed(t1, t2, 1), nullptr);
}

TEST(StraightOffset, LeftNormalShift)
{
  TLineSeg s(0, 0, 10, 0, 3);
  s.Name2 = 5;
  std::unique_ptr<TCurve2D> o(s.Offset(2));
  ASSERT_NE(o, nullptr);
  EXPECT_EQ(o->PointTMin(), TPoint2D(0, 2));
  EXPECT_EQ(o->PointTMax(), TPoint2D(10, 2));
  EXPECT_EQ(o->Name2, 5);
  EXPECT_EQ(o->Atr, 0);
  o.reset(TLine(0, 0, 0, 5).Offset(1));
  ASSERT_EQ(o->IsType(), tLines);
  EXPECT_EQ(static_cast<const TLine&>(*o).x, -1);
  EXPECT_EQ(TLineSeg(1, 1, 1, 1 + 1e-6).Offset(1), nullptr);
}

TEST(SegmentBounds, EndPointWinsTies)
{
  const TLineSeg s(0, 5, 10, 5);
  Real x, y;
  s.Top(x, y);
  EXPECT_EQ(x, 10); // equal y: the end point
  s.Left(x, y);
  EXPECT_EQ(x, 0);
  TLineSeg(3, 1, 3, 7).Left(x, y);
  EXPECT_EQ(y, 7);
  TRect2D R;
  TLineSeg(4, -1, -2, 6).Rect(R);
  EXPECT_EQ(R, TRect2D(-2, -1, 4, 6));
}

TEST(StraightTransform, BothPointsAndRefresh)
{
  TLineSeg s(1, 0, 2, 0);
  s.Calculate();
  s.Mtr(TMtr2D(0, 0, 90, 3));
  EXPECT_EQ(s.metricLength, -1);
  EXPECT_NEAR(s.x, 0, 1e-15);
  EXPECT_NEAR(s.y, 3, 1e-15);
  EXPECT_NEAR(s.yk, 6, 1e-15);
  s.Calculate();
  s.Inverse();
  EXPECT_EQ(s.metricLength, -1);
  EXPECT_NEAR(s.y, 6, 1e-15);
  TLine l(0, 0, 1, 0);
  l.Mtr(TMtr2D(5, 0, 0, 1));
  EXPECT_EQ(l.x, 5);
  EXPECT_EQ(l.x2, 6);
  // A line keeps the point's cutting and direction: nothing changes.
  TCurve2D* part2 = nullptr;
  EXPECT_EQ(l.TrimmPart(0, 0.5, part2), TCurve2D::dp_NoChanged);
  l.Inverse();
  EXPECT_EQ(l.x, 5);
}

TEST(StraightDump, Texts)
{
  EXPECT_EQ(std::string(TString(TLineSeg(1, 2, 3, 4)).PChar()), "LS (  1.000,  2.000 -   3.000 ,   4.000)");
  EXPECT_EQ(std::string(TString(TLine(1, 2, 3, 4)).PChar()), "L (  1.000,  2.000 -   3.000 ,   4.000)");
}

TEST(LineStandIn, CentredOnTheLinesPoint)
{
  // A line far from the origin: the stand-in used to run through 1e6 (P - Q) and miss it.
  const TLine l(100, 50, 101, 51);
  const TLineSeg s(l);
  Real t = 0;
  ASSERT_TRUE(s.NearPointProjection(TPoint2D(100, 50), Tiny, t, true, nullptr));
  EXPECT_NEAR(t, 0.5, 1e-15);
  EXPECT_NEAR(l.PointRelative(s.PointTMin(), 1e-3), tl_On, 0);
  EXPECT_NEAR(l.PointRelative(s.PointTMax(), 1e-3), tl_On, 0);
  EXPECT_EQ(s.PointTMin(), TPoint2D(100 - 1e6, 50 - 1e6));
}

TEST(LineInterSect, CrossingsNameTheLineWithItsParameters)
{
  const TLine l(-3, 10, -2, 10); // y = 10, parameter x + 3
  const TCircle c(0, 10, 5);
  TInterSector IS;
  ASSERT_EQ(l.InterSect(&c, IS), 2);
  for (Integer i = 0; i < 2; ++i) {
    const TCrossPoint& r = IS.ACrossPoint[i];
    EXPECT_EQ(r.on1.curve, &l);
    EXPECT_NEAR(Dist(RawAt(l, r.on1.t), r.p), 0, 1e-9);
    EXPECT_NEAR(Dist(RawAt(c, r.on2.t), r.p), 0, 1e-9);
  }
  EXPECT_NEAR(IS.ACrossPoint[0].on1.t, 8, 1e-8);
  EXPECT_NEAR(IS.ACrossPoint[1].on1.t, -2, 1e-8);
  // A segment: the line is the second curve.
  const TLineSeg s(0, 0, 0, 20);
  ASSERT_EQ(l.InterSect(&s, IS), 1);
  EXPECT_EQ(IS.ACrossPoint[2].on2.curve, &l);
  EXPECT_NEAR(IS.ACrossPoint[2].on2.t, 3, 1e-8);
  EXPECT_NEAR(IS.ACrossPoint[2].on1.t, 0.5, 1e-12);
  // Another line directly; a point through the shared solver.
  const TLine m(0, 0, 1, 1);
  ASSERT_EQ(l.InterSect(&m, IS), 1);
  EXPECT_EQ(IS.ACrossPoint[3].p, TPoint2D(10, 10));
  const TBasePoint p(7, 10);
  EXPECT_EQ(l.InterSect(&p, IS), 1);
  const TInterSector& shared = TInterSector::Instance2();
  ASSERT_EQ(shared.ACrossPoint.Count, 1);
  EXPECT_EQ(shared.ACrossPoint[0].on2.curve, &l);
  EXPECT_NEAR(shared.ACrossPoint[0].on2.t, 10, 1e-8);
  EXPECT_EQ(l.InterSect(nullptr, IS), 0);
}

TEST(SegmentInterSect, DispatchByKind)
{
  const TLineSeg a(0, 0, 10, 0), b(5, -5, 5, 5);
  TInterSector IS;
  EXPECT_EQ(a.InterSect(&b, IS), 1);
  EXPECT_EQ(IS.ACrossPoint[0].on1.curve, &b); // the other segment comes first
  const TCircle c(10, 0, 2);
  EXPECT_EQ(a.InterSect(&c, IS), 1);
  EXPECT_EQ(IS.ACrossPoint[1].on1.curve, &a);
  const TLine l(0, 1, 1, 1);
  EXPECT_EQ(a.InterSect(&l, IS), 0);
  EXPECT_EQ(a.InterSect(nullptr, IS), 0);
}

struct TFilletCase
{
  Real x21, y21, x22, y22;
  bool ok;
  int dir;
  TPoint2D centre, t1, t2;
};

TEST(Fillet, ConnestLLExamples)
{
  const TFilletCase cases[] = {
      {10, 0, 10, 10, true, 1, TPoint2D(8, 2), TPoint2D(8, 0), TPoint2D(10, 2)},
      {10, 0, 10, -10, true, -1, TPoint2D(8, -2), TPoint2D(8, 0), TPoint2D(10, -2)},
      {5, 5, 7, 0, true, 0, TPoint2D(7, 0), TPoint2D(7, 0), TPoint2D(7, 0)},
      {0, 5, 10, 5, false, 1, TPoint2D(-1, -1), TPoint2D(-1, -1), TPoint2D(-1, -1)},
  };
  for (const TFilletCase& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.x22 << " " << c.y22);
    TPoint2D tangents[2] = {TPoint2D(-1, -1), TPoint2D(-1, -1)};
    TPoint2D centre(-1, -1);
    int dir = 99;
    EXPECT_EQ(ConnestLL(0, 0, 10, 0, c.x21, c.y21, c.x22, c.y22, 2, tangents, centre, dir), c.ok);
    EXPECT_EQ(dir, c.dir);
    EXPECT_NEAR(Dist(centre, c.centre), 0, 1e-12);
    EXPECT_NEAR(Dist(tangents[0], c.t1), 0, 1e-12);
    EXPECT_NEAR(Dist(tangents[1], c.t2), 0, 1e-12);
  }
  // Parallel lines on either side, and a second line without length: no centre.
  TPoint2D tangents[2], centre;
  int dir = 0;
  EXPECT_FALSE(ConnestLL(0, 0, 10, 0, 0, -5, 10, -5, 1, tangents, centre, dir));
  EXPECT_FALSE(ConnestLL(0, 0, 10, 0, 3, 3, 3, 3, 1, tangents, centre, dir));
}

TEST(Fillet, TangentPointsLieAtTheRadius)
{
  TPoint2D tangents[2], centre;
  int dir = 0;
  ASSERT_TRUE(ConnestLL(1, 1, 7, 3, 7, 3, 2, 9, 1.5, tangents, centre, dir));
  EXPECT_EQ(dir, 1);
  EXPECT_NEAR(Dist(centre, tangents[0]), 1.5, 1e-12);
  EXPECT_NEAR(Dist(centre, tangents[1]), 1.5, 1e-12);
  const TLine L1(1, 1, 7, 3), L2(7, 3, 2, 9);
  EXPECT_EQ(L1.PointRelative(tangents[0], 1e-9), tl_On);
  EXPECT_EQ(L2.PointRelative(tangents[1], 1e-9), tl_On);
}

} // namespace
