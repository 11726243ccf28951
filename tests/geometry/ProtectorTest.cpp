#include "hxcadkit/geometry/Protector.h"

#include <gtest/gtest.h>

#include "ContourTestUtil.h"

namespace {

TContour* Box(double x1, double y1, double x2, double y2)
{
  auto* c = new TContour;
  contourtest::Polygon(*c, contourtest::Corners(x1, y1, x2, y2));
  return c;
}

} // namespace

// The zones' boxes unite; a circle is admissible when it neither lies in a zone nor crosses one.
TEST(ProtectorZones, BoxesAndAdmissibleCircles)
{
  TProtector none, P;
  TRect2D G(1, 1, 2, 2);
  P.GabaritProtect(G);
  EXPECT_EQ(G, TRect2D(0, 0, 0, 0));
  P.AddProtectContour(Box(0, 0, 4, 4));
  P.GabaritProtect(G);
  EXPECT_EQ(G, TRect2D(0, 0, 4, 4));
  const struct
  {
    const TProtector* P;
    double x, y, r;
    bool ok;
  } cases[] = {
      {&none, 2, 2, 1, true},    {&P, 2, 2, 1, false}, // inside
      {&P, 5, 2, 1.5, false},                          // crosses the edge
      {&P, 10, 10, 1, true},                           // far away
      {&P, 5.2, 5.2, 1.5, true},                       // boxes overlap, the circle clears the corner
  };
  for (const auto& c : cases)
    EXPECT_EQ(c.P->Admissible(c.x, c.y, c.r), c.ok) << c.x << "," << c.y;
  TContour inner;
  contourtest::Square(inner, 1, 1, 1);
  EXPECT_FALSE(P.Admissible(inner));
  P.BeginProtectContour()->Add(new TLineSeg(-3, 1, 1, 9));
  P.EndProtectContour();
  P.GabaritProtect(G);
  EXPECT_EQ(G, TRect2D(-3, 0, 4, 9));
}

// The placements on their grids; a failure leaves the outputs as they were (7 here).
TEST(ProtectorPlacement, RectAngleAndSymmetryY)
{
  TProtector none, wall, corners, low;
  wall.AddProtectContour(Box(-100, -100, 100, 100));
  corners.AddProtectContour(Box(49, 19, 51, 21)); // covers the corner (50, 20) only
  auto* round = new TContour;                     // a zone whose curve caches its evaluations
  contourtest::Fill(*round, {new TArc(-50, 20, 1, 0, 3.141592653589793), new TLineSeg(-51, 20, -49, 20)});
  corners.AddProtectContour(round); // and the corner (-50, 20)
  low.AddProtectContour(Box(-20, -20, 20, -4.5));
  const TRect2D failed(7, 7, 7, 7), wide(-51, -51, 51, 51), mid(-20, -20, 20, 20), o(-50, -50, 50, 50);
  const struct
  {
    bool symmetric;
    const TProtector* P;
    TRect2D o, s; // outer box and preferred box, or o-region and s-region
    int step;
    bool opt;
    TRect2D placed;
  } rows[] = {
      {false, &none, {-51, -41, 51, 41}, mid, 10, true, {-50, -40, 50, 40}},
      {false, &wall, wide, mid, 10, true, failed},
      {false, &wall, wide, mid, 0, false, failed},
      {false, &wall, wide, mid, -5, true, failed},
      // A blocked corner rules out its own candidates only, not the rest of its column.
      {false, &corners, wide, {-20, -20, 50, 20}, 10, true, {-50, -50, 50, 50}},
      {true, &none, {-50, -50, 10, 50}, {-5, -5, 9, 5}, 1, false, failed}, // no room right of the s-region
      {true, &none, o, {-5, -5, 5, 5}, 0, false, failed},                  // no grid step
      {true, &none, o, {-5, -5, 5, 5}, -1, false, failed},
      // The first pass keeps the farthest positions; with an o-region edge on the Y axis and the
      // first pass of the upper pair blocked, the widened pass still ranks positions by their score.
      {true, &none, {-20, -40, 10, 30}, {-10, -30, 2, 3}, 1, true, {9, 29, 19, -39}},
      {true, &low, {-20, -40, 0, -5}, {-10, -30, -10, -10}, 1, false, {4, -3, 19, -39}},
  };
  for (const auto& k : rows) {
    double a = 7, b = 7, c = 7, d = 7;
    const bool placed = k.symmetric
                            ? k.P->PlaceBySymmetryY(k.o.LD.x, k.o.LD.y, k.o.RU.x, k.o.RU.y, 1, k.s.LD.x,
                                                    k.s.LD.y, k.s.RU.x, k.s.RU.y, a, b, c, d, k.step, k.opt)
                            : k.P->PlaceByRectAngle(k.o, 1, k.s, a, b, c, d, k.step, k.opt);
    EXPECT_EQ(placed, !(k.placed == failed)) << &k - rows;
    EXPECT_EQ(TRect2D(a, b, c, d), k.placed) << &k - rows;
  }
}
