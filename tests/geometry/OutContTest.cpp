// The outer-contour walk against the union outlines of Boost.Geometry.
#include <gtest/gtest.h>

#include <random>

#include "BoostOracle.h"
#include "ContourTestUtil.h"
#include "hxcadkit/geometry/OutCont.h"

using namespace contourtest;

namespace {

constexpr double Pi = TMathDef::C_PI;

// The traced outline is a closed chain of walked pieces.
void ExpectClosedOutline(const TContour& out)
{
  ASSERT_GT(out.Count, 0);
  EXPECT_TRUE(out.IsClosed());
  for (Integer i = 0; i < out.Count; ++i)
    EXPECT_EQ(out[i]->Atr, 1);
}

} // namespace

TEST(OutCont, SquareCircleAndNothing)
{
  TContour square, circle, empty, out;
  Square(square, 0, 0, 10);
  ASSERT_EQ(square.OutCont(&out, nullptr), 0);
  ASSERT_EQ(out.Count, 4);
  for (int i = 0; i < 4; ++i)
    EXPECT_EQ(out[i]->PointTMin(), square[i]->PointTMin()); // counter-clockwise from the lowest corner
  Fill(circle, {new TCircle(3, 4, 2, 7)});
  ASSERT_EQ(circle.OutCont(&out, nullptr), 0);
  ASSERT_EQ(out.Count, 1);
  EXPECT_NEAR(out.Area2(), 4 * Pi, 1e-12);
  EXPECT_EQ(empty.OutCont(&out, nullptr), 0);
  EXPECT_EQ(out.Count, 0);
}

// Heading east or north the sharpest right turn must still win over going straight on.
TEST(OutCont, TwoRectanglesGiveTheOutlineOfTheirUnion)
{
  TContour src, out;
  Polygon(src, Corners(0, 0, 10, 10));
  Polygon(src, Corners(5, -5, 15, 5));
  ASSERT_EQ(src.OutCont(&out, nullptr), 0);
  ExpectClosedOutline(out);
  EXPECT_EQ(out.Count, 8);
  const oracle::MultiPolygon u =
      oracle::Union({oracle::Make(Corners(0, 0, 10, 10)), oracle::Make(Corners(5, -5, 15, 5))});
  EXPECT_NEAR(out.Area2(), oracle::bg::area(u), 1e-9);
}

// An arc entered in the middle is left along both of its parts, clockwise arcs included.
TEST(OutCont, ArcsAreLeftTheWayTheyRun)
{
  for (double r : {5.0, -5.0}) {
    TContour src, out;
    // A half disc over y = 0, the arc counter-clockwise (r > 0) or clockwise, crossed by a
    // rectangle that sticks out of its top.
    Fill(src, {new TLineSeg(-5, 0, 5, 0), r > 0 ? new TArc(0, 0, r, 0, Pi) : new TArc(0, 0, r, Pi, 0)});
    Polygon(src, Corners(-1, 2, 1, 8));
    ASSERT_EQ(src.OutCont(&out, nullptr), 0) << r;
    ExpectClosedOutline(out);
    // The rectangle above the arc: 2 x 8 less the disc under it between x = -1 and 1.
    const double cap = 16 - std::sqrt(24.0) - 25 * std::asin(0.2);
    const double half = 12.5 * Pi;
    EXPECT_NEAR(out.Area2(), half + cap, 1e-9) << r;
  }
}

// Random unions of rectangles and circles that all hold the origin (so the union is one
// region without holes): the walk closes, and its area lies between the unions of the
// polygons drawn inside and around the circles.
TEST(OutCont, RandomUnionsOfRectanglesAndCircles)
{
  std::mt19937 rng(7);
  std::uniform_real_distribution<double> u(0, 1);
  for (int trial = 0; trial < 100; ++trial) {
    const int n = 2 + int(u(rng) * 9);
    TContour src;
    std::vector<oracle::Polygon> inner, outer;
    for (int k = 0; k < n; ++k) {
      if (u(rng) < 0.5) {
        const double x1 = -u(rng) * 10 - 0.1, y1 = -u(rng) * 10 - 0.1;
        const double x2 = u(rng) * 10 + 0.1, y2 = u(rng) * 10 + 0.1;
        Polygon(src, Corners(x1, y1, x2, y2));
        inner.push_back(oracle::Make(Corners(x1, y1, x2, y2)));
        outer.push_back(inner.back());
      } else {
        const double r = 1 + u(rng) * 8, a = u(rng) * 2 * Pi, d = u(rng) * r * 0.9;
        src.Add(new TCircle(d * std::cos(a), d * std::sin(a), r));
        inner.push_back(oracle::Circle(d * std::cos(a), d * std::sin(a), r, 1024, false));
        outer.push_back(oracle::Circle(d * std::cos(a), d * std::sin(a), r, 1024, true));
      }
    }
    src.Refresh();
    TContour out;
    ASSERT_EQ(src.OutCont(&out, nullptr), 0) << "trial " << trial;
    ExpectClosedOutline(out);
    const double area = out.Area2();
    EXPECT_GE(area, oracle::bg::area(oracle::Union(inner)) - 1e-9) << "trial " << trial;
    EXPECT_LE(area, oracle::bg::area(oracle::Union(outer)) + 1e-9) << "trial " << trial;
  }
}
