// The contour as a region and as a chain: point in contour, contact with curves and contours,
// self-crossings and scan lines.
#include <cmath>
#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "hxcadkit/geometry/Contour.h"
#include "hxcadkit/geometry/SolverInterSect.h"
#include "tests/geometry/ContourTestUtil.h"
#include "tests/geometry/CurveTestUtil.h"

using namespace contourtest;

namespace {

constexpr double Pi = TMathDef::C_PI;

} // namespace

// --- Point in contour -----------------------------------------------------------------------

// Random polygons are checked against Boost.Geometry in PolygonOracleTest, off their outlines;
// here the outline itself (within 0.0001) and a circle, which is crossed twice.
TEST(ContourFoundPoint, OnTheOutlineAndInACircle)
{
  TContour square, ring, empty;
  Square(square);
  Fill(ring, {new TCircle(500, 300, 10)});
  struct Case
  {
    const TContour* c;
    double x, y;
    bool found;
  };
  const Case cases[] = {
      {&square, 4, 1, true},     {&square, 4.00005, 1, true}, {&square, 4.0002, 1, false},
      {&square, -1e6, 2, false}, {&ring, 505, 302, true},     {&ring, 515, 302, false},
      {&ring, 510, 300, true},   {&empty, 0, 0, false},
  };
  for (const Case& k : cases)
    EXPECT_EQ(k.c->FoundPoint(k.x, k.y), k.found) << k.x << ", " << k.y;
}

// --- Curves against the contour -------------------------------------------------------------

TEST(ContourFound, ByKindOfCurve)
{
  TContour c, disc;
  Square(c);
  Fill(disc, {new TCircle(0, 0, 2)});
  const TBasePoint inPoint(1, 1), outPoint(9, 9);
  const TLineSeg inside(1, 1, 2, 2), crossing(-1, 2, 1, 2), outside(5, 5, 6, 6);
  const TCircle around(2, 2, 10), within(2, 2, 1), apart(20, 20, 1);
  const TArc arcIn(2, 2, 1, 0, 1), arcOut(20, 2, 1, 0, 1), arcCross(0, 2, 1, -Pi / 2, Pi / 2);
  const TText text(1, 1, 0, 1, TString("x"));
  TPolyLine poly;
  poly.Points.Add(TPoint2D(1, 1));
  poly.Points.Add(TPoint2D(2, 2));
  poly.Segments = 1;
  const std::pair<const TCurve2D*, Integer> cases[] = {
      {&inPoint, 1}, {&outPoint, 0}, {&inside, 1}, {&crossing, 1}, {&outside, 0}, {&around, 1}, {&within, 1},
      {&apart, 0},   {&arcIn, 1},    {&arcOut, 0}, {&arcCross, 1}, {&text, 0},    {&poly, 0},   {nullptr, 0}};
  for (size_t i = 0; i < std::size(cases); ++i)
    EXPECT_EQ(c.Found(cases[i].first), cases[i].second) << i;
  const TCircle touching(3.5, 0, 2), away(5, 0, 2);
  EXPECT_EQ(disc.FoundCircle(&touching), 1);
  EXPECT_EQ(disc.FoundCircle(&away), 0);
}

TEST(ContourFound, ContoursAndCollisions)
{
  TContour square;
  Square(square);
  struct Case
  {
    double x, y, side;
    bool found, collision; // inside without crossing an edge is found, not a collision
  };
  for (const Case& k :
       {Case{1, 1, 1, true, false}, Case{3, 3, 2, true, true}, Case{10, 10, 1, false, false}}) {
    TContour other;
    Square(other, k.x, k.y, k.side);
    EXPECT_EQ(square.Found(other), k.found) << k.x;
    EXPECT_EQ(square.Colision(other), k.collision) << k.x;
  }
  EXPECT_FALSE(square.Found(TContour()));
}

TEST(ContourInterSect, FirstMemberMetDecides)
{
  const TLineSeg line(-10, 0.5, 10, 0.5);
  TContour segmentFirst;
  Fill(segmentFirst, {new TLineSeg(-5, 0, -5, 1), new TCircle(0, 0, 2)});
  EXPECT_EQ(segmentFirst.InterSect(&line), 1);
  TContour circleFirst;
  Fill(circleFirst, {new TCircle(0, 0, 2), new TLineSeg(-5, 0, -5, 1)});
  EXPECT_EQ(circleFirst.InterSect(&line), 2);

  EXPECT_TRUE(circleFirst.InterSect2(&line));
  const TLineSeg onlyCircle(-1, 0.5, 1, 0.5);
  EXPECT_FALSE(circleFirst.InterSect2(&onlyCircle)); // one member met, though twice
}

// --- Self-crossings -------------------------------------------------------------------------

TEST(ContourSelfIntersect, JointsAreNotCrossings)
{
  TContour square;
  Square(square);
  TInterSector X;
  EXPECT_EQ(square.SelfIntersect(TRegion1D(0, 4), X, false), 0);

  // A bow tie crosses itself once, in the middle.
  TContour bow;
  Polygon(bow, {{0, 0}, {2, 2}, {2, 0}, {0, 2}});
  TInterSector Y;
  EXPECT_EQ(bow.SelfIntersect(TRegion1D(0, 4), Y, false), 1);
  EXPECT_NEAR(curvetest::Dist(Y.ACrossPoint[0].p, TPoint2D(1, 1)), 0, 1e-12);

  // Neighbours that meet away from their end parameters cross for real.
  TContour cross;
  Fill(cross, {new TLineSeg(0, 0, 2, 0), new TLineSeg(1, -1, 1, 1)});
  TInterSector Z;
  EXPECT_EQ(cross.SelfIntersect(TRegion1D(0, 2), Z, false), 1);
}

// --- Scan lines -----------------------------------------------------------------------------

// A vertex shared by two members is listed once; the closing vertex counts once, at 0.
TEST(ContourScan, SharedVertexListedOnce)
{
  TContour c;
  Polygon(c, {{0, -2}, {2, 0}, {0, 2}, {-2, 0}});
  c.IsClosed2(1e-4);
  const struct
  {
    bool horizontal;
    double at;
    std::vector<double> found;
  } cases[] = {{true, 0, {1, 3}}, {true, -2, {0}}, {false, 1, {0.5, 1.5}}};
  for (const auto& k : cases) {
    TAReal out;
    k.horizontal ? c.InterSectHorizontal(k.at, out) : c.InterSectVertical(k.at, out);
    ASSERT_EQ(out.Count, Integer(k.found.size())) << k.at;
    for (Integer i = 0; i < out.Count; ++i)
      EXPECT_NEAR(out[i], k.found[i], 1e-12) << k.at;
  }
}
