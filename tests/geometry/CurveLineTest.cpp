// Segments and infinite lines: side tests, cutting, texts, the long segment standing for a line,
// crossings of a line, and the fillet of two lines.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "CurveTestUtil.h"
#include "hxcadkit/geometry/Elements.h"
#include "hxcadkit/geometry/SolverInterSect.h"

using namespace curvetest;

namespace {

const TPoint2D Tiny(1e-8, 1e-8);

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
  EXPECT_EQ(d.DeletePart(0.3, 0.6, part2), TCurve2D::dp_Changed);
  ASSERT_NE(part2, nullptr);
  std::unique_ptr<TCurve2D> rest(part2);
  EXPECT_EQ(d.xk, 3);
  EXPECT_EQ(rest->PointTMin(), TPoint2D(6, 0));
  EXPECT_EQ(rest->Atr, 4);
  EXPECT_EQ(d.DeletePart(-1, 2, part2), TCurve2D::dp_Degenerated);

  // Too short a piece: null; the limit shrinks with the length.
  Real t1 = 0.5, t2 = 0.5 + 5e-10;
  EXPECT_EQ(TLineSeg(0, 0, 10, 0).Trimmed(t1, t2, 1), nullptr);
  TLineSeg longer(0, 0, 1000, 0);
  t2 = 0.5 + 5e-11;
  EXPECT_NE(std::unique_ptr<TCurve2D>(longer.Trimmed(t1, t2, 1)), nullptr);
  EXPECT_EQ(TLine(0, 0, 1, 0).Trimmed(t1, t2, 1), nullptr);
}

TEST(SegmentApproximation, PointsATenthApartInRoomMadeOnce)
{
  // Long enough for the points array to grow many times over by its step.
  for (const Real len : {0.05, 3.0, 1000.0, 4321.5}) {
    SCOPED_TRACE(len);
    const TLineSeg s(1, 2, 1 + len * 0.6, 2 - len * 0.8);
    TPolyLine L;
    L.Points.Add(TPoint2D(-1, -1)); // what was there stays
    s.Aproximate(L);
    ASSERT_GE(L.Points.Count, 3);
    EXPECT_EQ(L.Points[0], TPoint2D(-1, -1));
    EXPECT_EQ(L.Points[1], TPoint2D(1, 2));
    EXPECT_NEAR(Dist(L.Points[L.Points.Count - 1], s.PointTMax()), 0, 1e-9);
    for (Integer i = 2; i < L.Points.Count; ++i)
      ASSERT_LE(Dist(L.Points[i - 1], L.Points[i]), 0.1 + 1e-9) << i;
    EXPECT_NEAR(L.Points.Count - 1, std::ceil(len * 10) + 1, 1);
    // Beyond the polyline's first storage, the room for the points was made at once, not step by step
    // as they came.
    if (len > 10) {
      EXPECT_LE(L.Points.FSize - L.Points.Count, 1);
    }
  }
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

} // namespace
