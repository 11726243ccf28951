// The outer-contour walk against the union outlines of Boost.Geometry.
#include <gtest/gtest.h>

#include <random>

#include "BoostOracle.h"
#include "ContourTestUtil.h"
#include "hxcadkit/geometry/OutCont.h"

using namespace contourtest;

// A square gives its sides counter-clockwise from the lowest corner, a circle itself. Heading east
// or north the sharpest right turn still wins (the rectangles); an arc entered in the middle is
// left along both parts, clockwise or not (half discs crossed by a rectangle out of their top).
TEST(OutCont, KnownOutlines)
{
  TContour square, circle, empty, rects, halfDiscs[2];
  Square(square, 0, 0, 10);
  Fill(circle, {new TCircle(3, 4, 2, 7)});
  Polygon(rects, Corners(0, 0, 10, 10));
  Polygon(rects, Corners(5, -5, 15, 5));
  for (TContour* c : {&halfDiscs[0], &halfDiscs[1]}) {
    Fill(*c, {new TLineSeg(-5, 0, 5, 0),
              c == halfDiscs ? new TArc(0, 0, 5, 0, TMathDef::C_PI) : new TArc(0, 0, -5, TMathDef::C_PI, 0)});
    Polygon(*c, Corners(-1, 2, 1, 8));
  }
  const double union2 = oracle::bg::area(
      oracle::Union({oracle::Make(Corners(0, 0, 10, 10)), oracle::Make(Corners(5, -5, 15, 5))}));
  // The rectangle above the arc: 2 x 8 less the disc under it between x = -1 and 1.
  const double halfDisc = 12.5 * TMathDef::C_PI + 16 - std::sqrt(24.0) - 25 * std::asin(0.2);
  const struct
  {
    const TContour* src;
    Integer count;
    double area;
  } cases[] = {{&square, 4, 100},   {&circle, 1, 4 * TMathDef::C_PI}, {&empty, 0, 0},
               {&rects, 8, union2}, {&halfDiscs[0], -1, halfDisc},    {&halfDiscs[1], -1, halfDisc}};
  for (const auto& k : cases) {
    TContour out;
    ASSERT_EQ(k.src->OutCont(&out, nullptr), 0) << &k - cases;
    EXPECT_TRUE(k.count < 0 || out.Count == k.count) << &k - cases << ": " << out.Count;
    EXPECT_TRUE(k.count == 0 || out.IsClosed()) << &k - cases;
    for (Integer i = 0; i < out.Count; ++i)
      EXPECT_EQ(out[i]->Atr, 1); // walked pieces
    EXPECT_NEAR(out.Area2(), k.area, 1e-9) << &k - cases;
    for (Integer i = 0; k.src == &square && i < 4; ++i)
      EXPECT_EQ(out[i]->PointTMin(), square[i]->PointTMin());
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
        const double r = 1 + u(rng) * 8, a = u(rng) * 2 * TMathDef::C_PI, d = u(rng) * r * 0.9;
        src.Add(new TCircle(d * std::cos(a), d * std::sin(a), r));
        inner.push_back(oracle::Circle(d * std::cos(a), d * std::sin(a), r, 1024, false));
        outer.push_back(oracle::Circle(d * std::cos(a), d * std::sin(a), r, 1024, true));
      }
    }
    src.Refresh();
    TContour out;
    ASSERT_EQ(src.OutCont(&out, nullptr), 0) << "trial " << trial;
    ASSERT_GT(out.Count, 0);
    EXPECT_TRUE(out.IsClosed());
    for (Integer i = 0; i < out.Count; ++i)
      EXPECT_EQ(out[i]->Atr, 1);
    const double area = out.Area2();
    EXPECT_GE(area, oracle::bg::area(oracle::Union(inner)) - 1e-9) << "trial " << trial;
    EXPECT_LE(area, oracle::bg::area(oracle::Union(outer)) + 1e-9) << "trial " << trial;
  }
}
