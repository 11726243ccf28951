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

TEST(ProtectorZones, BoxesUnite)
{
  TProtector P;
  TRect2D G(1, 1, 2, 2);
  P.GabaritProtect(G);
  EXPECT_EQ(G, TRect2D(0, 0, 0, 0));
  P.AddProtectContour(Box(0, 0, 4, 4));
  P.GabaritProtect(G);
  EXPECT_EQ(G, TRect2D(0, 0, 4, 4));
  TContour* c = P.BeginProtectContour();
  c->Add(new TLineSeg(-3, 1, 1, 9));
  P.EndProtectContour();
  P.GabaritProtect(G);
  EXPECT_EQ(G, TRect2D(-3, 0, 4, 9));
}

TEST(ProtectorAdmissible, CircleAgainstSquareZone)
{
  TProtector none;
  EXPECT_TRUE(none.Admissible(2, 2, 1));
  TProtector P;
  P.AddProtectContour(Box(0, 0, 4, 4));
  struct Case
  {
    double x, y, r;
    bool ok;
  } cases[] = {
      {2, 2, 1, false},      // inside
      {5, 2, 1.5, false},    // crosses the edge
      {10, 10, 1, true},     // far away
      {5.2, 5.2, 1.5, true}, // boxes overlap, the circle clears the corner
  };
  for (const Case& c : cases)
    EXPECT_EQ(P.Admissible(c.x, c.y, c.r), c.ok) << c.x << "," << c.y;
  TContour inner;
  contourtest::Square(inner, 1, 1, 1);
  EXPECT_FALSE(P.Admissible(inner));
}

// Without zones the preferred box; failures leave the outputs as they were.
TEST(ProtectorRectAngle, PreferredBoxAndFailures)
{
  TProtector none, P;
  double xl = 0, yd = 0, xr = 0, yu = 0;
  ASSERT_TRUE(none.PlaceByRectAngle(TRect2D(-51, -41, 51, 41), 1, TRect2D(-20, -20, 20, 20), xl, yd, xr, yu,
                                    10, true));
  EXPECT_EQ(TRect2D(xl, yd, xr, yu), TRect2D(-50, -40, 50, 40));
  P.AddProtectContour(Box(-100, -100, 100, 100));
  for (auto [step, opt] : {std::pair{10, true}, {0, false}, {-5, true}}) {
    xl = yd = xr = yu = 7;
    EXPECT_FALSE(P.PlaceByRectAngle(TRect2D(-51, -51, 51, 51), 1, TRect2D(-20, -20, 20, 20), xl, yd, xr, yu,
                                    step, opt));
    EXPECT_EQ(TRect2D(xl, yd, xr, yu), TRect2D(7, 7, 7, 7)) << step;
  }
}

// A blocked corner rules out its own candidates only, not the rest of its column.
TEST(ProtectorRectAngle, BlockedCornerDoesNotBlockItsColumn)
{
  TProtector P;
  P.AddProtectContour(Box(49, 19, 51, 21)); // covers the corner (50, 20) only
  auto* round = new TContour;               // a zone whose curve caches its evaluations
  contourtest::Fill(*round, {new TArc(-50, 20, 1, 0, 3.141592653589793), new TLineSeg(-51, 20, -49, 20)});
  P.AddProtectContour(round); // and the corner (-50, 20)
  double xl = 0, yd = 0, xr = 0, yu = 0;
  ASSERT_TRUE(
      P.PlaceByRectAngle(TRect2D(-51, -51, 51, 51), 1, TRect2D(-20, -20, 50, 20), xl, yd, xr, yu, 10, true));
  EXPECT_EQ(TRect2D(xl, yd, xr, yu), TRect2D(-50, -50, 50, 50));
}

TEST(ProtectorSymmetryY, EarlyFailuresLeaveTheOutputs)
{
  TProtector P;
  struct Case
  {
    double oXr, sXr;
    int step;
  } cases[] = {
      {10, 9, 1}, // no room right of the s-region
      {50, 5, 0}, // no grid step
      {50, 5, -1},
  };
  for (const Case& c : cases) {
    double xu = 7, yu = 7, xd = 7, yd = 7;
    EXPECT_FALSE(P.PlaceBySymmetryY(-50, -50, c.oXr, 50, 1, -5, -5, c.sXr, 5, xu, yu, xd, yd, c.step, false));
    EXPECT_EQ(TRect2D(xu, yu, xd, yd), TRect2D(7, 7, 7, 7)) << c.oXr << " " << c.step;
  }
}

// The first pass keeps the farthest positions; with an o-region edge on the Y axis the widened
// pass still ranks positions by their score.
TEST(ProtectorSymmetryY, PlacedPairs)
{
  const struct
  {
    bool zone; // blocks the first pass of the upper pair
    double oXr, oYu, sXr, sYu;
    bool opt;
    TRect2D placed;
  } cases[] = {{false, 10, 30, 2, 3, true, TRect2D(9, 29, 19, -39)},
               {true, 0, -5, -10, -10, false, TRect2D(4, -3, 19, -39)}};
  for (const auto& k : cases) {
    TProtector P;
    if (k.zone) P.AddProtectContour(Box(-20, -20, 20, -4.5));
    double xu = 0, yu = 0, xd = 0, yd = 0;
    ASSERT_TRUE(
        P.PlaceBySymmetryY(-20, -40, k.oXr, k.oYu, 1, -10, -30, k.sXr, k.sYu, xu, yu, xd, yd, 1, k.opt));
    EXPECT_EQ(TRect2D(xu, yu, xd, yd), k.placed);
  }
}
