// The contour as a region and as a chain: point in contour, contact with curves and contours,
// self-crossings and scan lines.
#include <cmath>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "hxcadkit/geometry/Contour.h"
#include "hxcadkit/geometry/SolverInterSect.h"
#include "tests/geometry/ContourTestUtil.h"
#include "tests/geometry/CurveTestUtil.h"

using namespace contourtest;

// Random polygons are checked against Boost.Geometry in PolygonOracleTest, off their outlines;
// here the outline itself (within 0.0001), a circle, which is crossed twice, and each kind of curve.
TEST(ContourFound, PointsAndCurvesByKind)
{
  TContour c, ring, disc, empty;
  Square(c);
  Fill(ring, {new TCircle(500, 300, 10)});
  Fill(disc, {new TCircle(0, 0, 2)});
  const TBasePoint inPoint(1, 1), outPoint(9, 9), onEdge(4, 1), nearEdge(4.00005, 1), offEdge(4.0002, 1),
      farLeft(-1e6, 2), inRing(505, 302), outRing(515, 302), onRing(510, 300);
  const TLineSeg inside(1, 1, 2, 2), crossing(-1, 2, 1, 2), outside(5, 5, 6, 6);
  const TCircle around(2, 2, 10), within(2, 2, 1), apart(20, 20, 1), touching(3.5, 0, 2), away(5, 0, 2);
  const TArc arcIn(2, 2, 1, 0, 1), arcOut(20, 2, 1, 0, 1),
      arcCross(0, 2, 1, -TMathDef::C_PI / 2, TMathDef::C_PI / 2);
  const TText text(1, 1, 0, 1, TString("x"));
  const TPolyLine poly = curvetest::Poly({{1, 1}, {2, 2}});
  const struct
  {
    const TContour* c;
    const TCurve2D* probe;
    Integer found;
  } cases[] = {
      {&c, &inPoint, 1},   {&c, &outPoint, 0},    {&c, &onEdge, 1},      {&c, &nearEdge, 1},
      {&c, &offEdge, 0},   {&c, &farLeft, 0},     {&ring, &inRing, 1},   {&ring, &outRing, 0},
      {&ring, &onRing, 1}, {&empty, &inPoint, 0}, {&c, &inside, 1},      {&c, &crossing, 1},
      {&c, &outside, 0},   {&c, &around, 1},      {&c, &within, 1},      {&c, &apart, 0},
      {&c, &arcIn, 1},     {&c, &arcOut, 0},      {&c, &arcCross, 1},    {&c, &text, 0},
      {&c, &poly, 0},      {&c, nullptr, 0},      {&disc, &touching, 1}, {&disc, &away, 0},
  };
  for (const auto& k : cases) {
    EXPECT_EQ(k.c->Found(k.probe), k.found) << &k - cases;
    if (const auto* p = dynamic_cast<const TBasePoint*>(k.probe); p && p->IsType() == tPoint) {
      EXPECT_EQ(k.c->FoundPoint(p->x, p->y), k.found == 1) << &k - cases;
    }
  }

  // Contours: inside without crossing an edge is found, not a collision.
  for (auto [x, y, side, found, collision] : {std::tuple{1.0, 1.0, 1.0, true, false},
                                              {3.0, 3.0, 2.0, true, true},
                                              {10.0, 10.0, 1.0, false, false}}) {
    TContour other;
    Square(other, x, y, side);
    EXPECT_EQ(c.Found(other), found) << x;
    EXPECT_EQ(c.Colision(other), collision) << x;
  }
  EXPECT_FALSE(c.Found(TContour()));
}

TEST(ContourInterSect, FirstMemberMetDecides)
{
  const TLineSeg line(-10, 0.5, 10, 0.5), onlyCircle(-1, 0.5, 1, 0.5);
  TContour segmentFirst, circleFirst;
  Fill(segmentFirst, {new TLineSeg(-5, 0, -5, 1), new TCircle(0, 0, 2)});
  Fill(circleFirst, {new TCircle(0, 0, 2), new TLineSeg(-5, 0, -5, 1)});
  EXPECT_EQ(segmentFirst.InterSect(&line), 1);
  EXPECT_EQ(circleFirst.InterSect(&line), 2);
  EXPECT_TRUE(circleFirst.InterSect2(&line));
  EXPECT_FALSE(circleFirst.InterSect2(&onlyCircle)); // one member met, though twice
}

// A bow tie crosses itself once, in the middle; neighbours that meet away from their end
// parameters cross for real.
TEST(ContourSelfIntersect, JointsAreNotCrossings)
{
  TContour square, bow, cross;
  Square(square);
  Polygon(bow, {{0, 0}, {2, 2}, {2, 0}, {0, 2}});
  Fill(cross, {new TLineSeg(0, 0, 2, 0), new TLineSeg(1, -1, 1, 1)});
  for (auto [c, count, at] :
       {std::tuple{&square, 0, TPoint2D(0, 0)}, {&bow, 1, TPoint2D(1, 1)}, {&cross, 1, TPoint2D(1, 0)}}) {
    TInterSector X;
    ASSERT_EQ(c->SelfIntersect(TRegion1D(0, Real(c->Count)), X, false), count);
    EXPECT_LT(count ? curvetest::Dist(X.ACrossPoint[0].p, at) : 0, 1e-12);
  }
}

// A vertex shared by two members of a contour is listed once; the closing vertex counts once, at 0.
// Flat segments of a polyline on the scan line: the horizontal scan takes both of (0,0) (2,0)
// (4,0); the vertical one a flat segment only when entered from off the line.
TEST(ContourScan, SharedVerticesAndFlatSegments)
{
  TContour c;
  Polygon(c, {{0, -2}, {2, 0}, {0, 2}, {-2, 0}});
  c.IsClosed2(1e-4);
  const TPolyLine flatH = curvetest::Poly({{0, 3}, {0, 0}, {2, 0}, {4, 0}, {4, 3}}),
                  flatV = curvetest::Poly({{3, 0}, {0, 0}, {0, 2}, {0, 4}, {3, 4}});
  const struct
  {
    const TCurve2D* curve;
    bool horizontal;
    double at;
    std::vector<double> found;
  } cases[] = {{&c, true, 0, {1, 3}},
               {&c, true, -2, {0}},
               {&c, false, 1, {0.5, 1.5}},
               {&flatH, true, 0, {1, 2, 3}},
               {&flatV, false, 0, {1, 3}}};
  for (const auto& k : cases) {
    TAReal out;
    k.horizontal ? k.curve->InterSectHorizontal(k.at, out) : k.curve->InterSectVertical(k.at, out);
    ASSERT_EQ(out.Count, Integer(k.found.size())) << &k - cases;
    for (Integer i = 0; i < out.Count; ++i)
      EXPECT_NEAR(out[i], k.found[i], 1e-12) << &k - cases;
  }
}
