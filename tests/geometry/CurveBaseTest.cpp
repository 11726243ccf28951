// The curve base's generic behaviour: caches, parameter correction and curvature.
#include <gtest/gtest.h>

#include <cmath>

#include "CurveTestUtil.h"
#include "hxcadkit/geometry/Elements.h"

using namespace curvetest;

namespace {

TTestCurve Unit(bool isClosed)
{
  return TTestCurve([](Real t) { return TPoint2D(t, 0); }, 0, 1, isClosed, 1);
}

TEST(CurveCache, CalculateFillsOnceUntilRefresh)
{
  TLineSeg s(0, 0, 10, 0);
  EXPECT_EQ(s.metricLength, -1);
  EXPECT_TRUE(s.Gabaryt.Empty());
  s.Calculate();
  EXPECT_EQ(s.metricLength, 10);
  EXPECT_EQ(s.paramLength, 1);
  EXPECT_EQ(s.Gabaryt, TRect2D(0, 0, 10, 0));
  s.xk = 20; // changed behind the cache's back
  s.Calculate();
  EXPECT_EQ(s.metricLength, 10);
  s.Refresh();
  EXPECT_EQ(s.metricLength, -1);
  EXPECT_EQ(s.paramLength, -1);
  EXPECT_TRUE(s.Gabaryt.Empty());
  s.Calculate();
  EXPECT_EQ(s.metricLength, 20);
}

TEST(CurveCorrect, ClampsOpenAndWrapsClosed)
{
  struct Case
  {
    bool isClosed;
    Real in, out;
  } cases[] = {{true, 1.25, 0.25}, {true, -0.25, 0.75}, {false, 1.25, 1}, {false, -0.25, 0},
               {true, 0.5, 0.5},   {true, 1, 1},        {true, 7.5, 0.5}};
  for (const Case& c : cases) {
    const TTestCurve k = Unit(c.isClosed);
    Real t = c.in;
    k.CorrectParameter(t);
    EXPECT_NEAR(t, c.out, 1e-15) << c.isClosed << " " << c.in;
  }
}

TEST(CurveCorrect, ZeroPeriodAndHugeValuesStayFinite)
{
  const TTestCurve flat([](Real) { return TPoint2D(1, 1); }, 2, 2, true, 0);
  Real t = 5;
  flat.CorrectParameter(t);
  EXPECT_EQ(t, 2);
  t = 5;
  flat.CorrectParameter(false, t, 1e-8);
  EXPECT_TRUE(std::isfinite(t));
  const TTestCurve k = Unit(true);
  t = 1e300;
  k.CorrectParameter(false, t, 1e-8);
  EXPECT_GE(t, 0);
  EXPECT_LT(t, 1);
  t = -1e300;
  TCurve2D::CorrectParameter(false, true, 0, 1, t, 1e-8);
  EXPECT_GE(t, 0);
  EXPECT_LT(t, 1);
}

TEST(CurveCurvature, StraightCircleAndClockwiseArc)
{
  const TLineSeg s(0, 0, 5, 5);
  EXPECT_EQ(s.Curvature(0.5), 0);
  EXPECT_EQ(s.CurvatureRadius(0.5), 1e10);
  const TCircle c(1, 1, 4);
  EXPECT_NEAR(c.Curvature(1), 0.25, 1e-15);
  EXPECT_NEAR(c.CurvatureRadius(1), 4, 1e-12);
  EXPECT_NEAR(c.CurvatureDerive(1), 0, 1e-15);
  const TArc cw(0, 0, -2, TMathDef::C_PI, 0);
  EXPECT_NEAR(cw.Curvature(0.3), -0.5, 1e-15);
  // A parabola y = t^2 at its vertex: curvature 2, stationary.
  const TTestCurve p([](Real t) { return TPoint2D(t, t * t); }, -1, 1);
  EXPECT_NEAR(p.Curvature(0), 2, 1e-6);
  EXPECT_NEAR(p.CurvatureDerive(0), 0, 1e-4);
  // At t = 1: k = 2 / (1 + 4t^2)^1.5 and dk/dt = -24 t / (1 + 4t^2)^2.5.
  EXPECT_NEAR(p.Curvature(1), 2 / std::pow(5.0, 1.5), 1e-6);
  EXPECT_NEAR(p.CurvatureDerive(1), -24 / std::pow(5.0, 2.5), 1e-4);
}

} // namespace
