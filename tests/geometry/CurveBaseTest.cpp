// The curve base's generic behaviour: caches, ranges, parameter correction, lengths of parts,
// curvature, sampling steps, approximation, side test and distance.
#include <gtest/gtest.h>

#include <cmath>

#include "CurveTestUtil.h"
#include "hxcadkit/geometry/Elements.h"

using namespace curvetest;

namespace {

constexpr Real Pi = TMathDef::C_PI;

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

TEST(CurveCache, DuplicateLeavesTheContour)
{
  TArc a(1, 2, 3, 0, Pi);
  int tag = 0;
  a.Name2 = 7;
  a.Atr = 9;
  a.Index = 4;
  a.startParam = 12;
  a.Owner = &a;
  a.Obj = &tag;
  std::unique_ptr<TArc> d(a.Duplicate());
  EXPECT_EQ(d->Name2, 7);
  EXPECT_EQ(d->Atr, 9);
  EXPECT_EQ(d->Index, 4);
  EXPECT_EQ(d->Obj, &tag);
  EXPECT_EQ(d->startParam, 0);
  EXPECT_EQ(d->Owner, nullptr);
  EXPECT_EQ(d->A2, Pi);
}

TEST(CurveRange, RegionIsOrderedAndStrict)
{
  const TTestCurve c([](Real t) { return TPoint2D(t, t); }, 3, 1);
  const TRegion1D r = c.GetRegion();
  EXPECT_EQ(r.min, 1);
  EXPECT_EQ(r.max, 3);
  EXPECT_FALSE(c.InRegion(1, 0));
  EXPECT_FALSE(c.InRegion(3, 0));
  EXPECT_TRUE(c.InRegion(2, 0));
  EXPECT_TRUE(c.InRegion(3, 1e-9));
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

TEST(CurveCorrect, WrapWithToleranceMovesBelowTheStart)
{
  const TTestCurve k = Unit(true);
  const Real eps = 1e-3;
  Real t = 1 - eps / 2;
  k.CorrectParameter(false, t, eps);
  EXPECT_NEAR(t, -eps / 2, 1e-15);
  // An open curve (or extRegion) only snaps.
  const TTestCurve o = Unit(false);
  t = 1 - eps / 2;
  o.CorrectParameter(false, t, eps);
  EXPECT_EQ(t, 1);
  t = eps / 2;
  k.CorrectParameter(true, t, eps);
  EXPECT_EQ(t, 0);
}

TEST(CurveCorrect, StaticFormSnapsToTheLowerEnd)
{
  Real t = 2.5;
  TCurve2D::CorrectParameter(false, true, 0, 1, t, 1e-8);
  EXPECT_NEAR(t, 0.5, 1e-15);
  t = 1 - 1e-9;
  TCurve2D::CorrectParameter(true, true, 0, 1, t, 1e-8);
  EXPECT_EQ(t, 1);
  // A period shorter than eps: the lower end wins.
  t = 0.2;
  TCurve2D::CorrectParameter(true, false, 0, 0.1, t, 0.5);
  EXPECT_EQ(t, 0);
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

TEST(CurveLengthPart, ParameterAndMetricSpans)
{
  const TTestCurve closed = Unit(true);
  EXPECT_NEAR(closed.GetParamLengthPart(0.75, 0.25), 0.5, 1e-15);
  EXPECT_NEAR(closed.GetParamLengthPart(0.25, 0.75), 0.5, 1e-15);
  const TTestCurve open = Unit(false);
  EXPECT_NEAR(open.GetParamLengthPart(0.25, 0.75), 0.5, 1e-15);
  EXPECT_NEAR(open.GetParamLengthPart(-1, 0.5), 0.5, 1e-15);
  const TLineSeg s(0, 0, 10, 0);
  EXPECT_NEAR(s.GetMetricLengthPart(0.2, 0.7), 5, 1e-12);
  const TArc a(0, 0, 2, 0, Pi);
  EXPECT_NEAR(a.GetMetricLengthPart(a.GetTMin(), a.GetTMax()), a.GetMetricLength(), 1e-12);
  const TCircle c(0, 0, 3);
  EXPECT_NEAR(c.GetMetricLengthPart(c.GetTMin(), c.GetTMax()), c.GetMetricLength(), 1e-12);
  EXPECT_NEAR(c.GetMetricLengthPart(3 * Pi / 2, Pi / 2), 3 * Pi, 1e-12);
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
  const TArc cw(0, 0, -2, Pi, 0);
  EXPECT_NEAR(cw.Curvature(0.3), -0.5, 1e-15);
  // A parabola y = t^2 at its vertex: curvature 2, stationary.
  const TTestCurve p([](Real t) { return TPoint2D(t, t * t); }, -1, 1);
  EXPECT_NEAR(p.Curvature(0), 2, 1e-6);
  EXPECT_NEAR(p.CurvatureDerive(0), 0, 1e-4);
  // At t = 1: k = 2 / (1 + 4t^2)^1.5 and dk/dt = -24 t / (1 + 4t^2)^2.5.
  EXPECT_NEAR(p.Curvature(1), 2 / std::pow(5.0, 1.5), 1e-6);
  EXPECT_NEAR(p.CurvatureDerive(1), -24 / std::pow(5.0, 2.5), 1e-4);
}

TEST(CurveTangent, UnitTangentAndLeftNormal)
{
  const TLine l(0, 0, 0, 10);
  TVector2D T, N;
  l.TangentOn(3, T);
  l.NormalOn(3, N);
  EXPECT_NEAR(T.x, 0, 1e-15);
  EXPECT_NEAR(T.y, 1, 1e-15);
  EXPECT_NEAR(N.x, -1, 1e-15);
  EXPECT_NEAR(N.y, 0, 1e-15);
  // A stationary point keeps its (zero) derivative.
  const TBasePoint p(1, 1);
  p.TangentOn(0, T);
  EXPECT_EQ(T, TVector2D(0, 0));
}

TEST(CurveStep, DeviationStepByTurningRate)
{
  const TCircle c(0, 0, 1);
  // The tangent turns one radian per unit: a step of the asked angle, kept in range.
  EXPECT_NEAR(c.DeviationStep(1, 0.1), 0.1, 1e-12);
  EXPECT_NEAR(c.DeviationStep(1, 10), 0.05 * 2 * Pi, 1e-12);
  EXPECT_NEAR(c.DeviationStep(1, 1e-6), 0.005 * 2 * Pi, 1e-12);
  const TLineSeg s(0, 0, 4, 0);
  EXPECT_NEAR(s.DeviationStep(0.5, 0.1), 0.25, 1e-15);
  // Beyond the end of an open curve: the largest step; before its start: the way back.
  EXPECT_NEAR(s.DeviationStep(2, 0.1), 0.25, 1e-15);
  EXPECT_NEAR(s.DeviationStep(-1, 0.1), 1, 1e-15);
  // A stationary point with a direction nearby: the smallest step.
  const TTestCurve cusp([](Real t) { return TPoint2D(t * t * t, t * t); }, -1, 1);
  EXPECT_NEAR(cusp.DeviationStep(0, 0.1), 0.005 * 2, 1e-12);
}

TEST(CurveApproximation, EveryTenthOfALengthAndTheEnd)
{
  const TLineSeg s(0, 0, 1, 0);
  TPolyLine L;
  s.Aproximate(L);
  ASSERT_GE(L.Points.Count, 11);
  EXPECT_EQ(L.Points[0], TPoint2D(0, 0));
  for (Integer i = 1; i + 1 < L.Points.Count; ++i)
    EXPECT_NEAR(L.Points[i].x - L.Points[i - 1].x, 0.1, 1e-12);
  EXPECT_EQ(L.Points.Last(), TPoint2D(1, 0));
  // The accumulated steps leave a loop point just below 1 before the end point.
  EXPECT_LT(L.Points[L.Points.Count - 2].x, 1);
  // Appends: nothing is cleared.
  s.Aproximate(L);
  EXPECT_EQ(L.Points.Count % 2, 0);
  // A curve without length steps by 0.1 in parameter; a line's step is too small to sample.
  TPolyLine P;
  TBasePoint(3, 4).Aproximate(P);
  ASSERT_EQ(P.Points.Count, 1);
  EXPECT_EQ(P.Points[0], TPoint2D(3, 4));
  TPolyLine Q;
  TLine(0, 0, 1, 0).Aproximate(Q);
  EXPECT_EQ(Q.Points.Count, 0);
}

TEST(CurveSide, BaseSideTestAndDistance)
{
  const TTestCurve p([](Real t) { return TPoint2D(t, t * t); }, -2, 2);
  EXPECT_EQ(p.PointRelative(TPoint2D(1, 1), 1e-6), tl_On);
  EXPECT_EQ(p.PointRelative(TPoint2D(0, 1), 1e-6), tl_Left);
  EXPECT_EQ(p.PointRelative(TPoint2D(0, -1), 1e-6), tl_Right);
  EXPECT_NEAR(p.DistanceTo(TPoint2D(0, -1)), 1, 1e-9);
  EXPECT_NEAR(TLineSeg(0, 0, 10, 0).DistanceTo(TPoint2D(13, 4)), 5, 1e-12);
  // A segment that cannot project is measured from its start.
  EXPECT_NEAR(TLineSeg(1, 1, 1, 1).DistanceTo(TPoint2D(4, 5)), 5, 1e-12);
  // A point curve's DistanceTo(segment) is the value type's distance to the segment.
  EXPECT_NEAR(TBasePoint(5, 3).DistanceTo(TLineSeg(0, 0, 10, 0)), 3, 1e-12);
}

TEST(CurveShape, DegenerateAndParamPerUnit)
{
  EXPECT_TRUE(TBasePoint(1, 2).IsDegenerate());
  EXPECT_TRUE(TLineSeg(1, 2, 1, 2 + 1e-7).IsDegenerate());
  EXPECT_FALSE(TLineSeg(0, 0, 1, 0).IsDegenerate());
  EXPECT_TRUE(TCircle(0, 0, 1e-7).IsDegenerate());
  EXPECT_FALSE(TCircle(0, 0, 1).IsDegenerate());
  const TLineSeg s(0, 0, 10, 0);
  EXPECT_NEAR(s.GetParamToUnit(), 0.1, 1e-15);
  // A segment's derivative is its unit direction.
  EXPECT_NEAR(s.GetParamToUnit(0.5), 1, 1e-15);
  EXPECT_EQ(TBasePoint(0, 0).GetParamToUnit(), 1);
  EXPECT_NEAR(TCircle(0, 0, 2).GetParamToUnit(1), 0.5, 1e-15);
}

TEST(CurveLink, EndsMeetWithinTolerance)
{
  const TLineSeg a(0, 0, 1, 0), b(1.0001, 0, 2, 0), c(1.00011, 0, 2, 0);
  EXPECT_TRUE(a.IsLink(1, &b, 0, 0.0001 + 1e-12));
  EXPECT_FALSE(a.IsLink(1, &c, 0, 0.0001));
  EXPECT_FALSE(a.IsLink(1, nullptr, 0, 1));
  EXPECT_TRUE(a.IsLink(1, b, 0, 0.001));
}

} // namespace
