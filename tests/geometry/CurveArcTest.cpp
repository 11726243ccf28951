// Points, circles and arcs: angle normalisation, offsets, approximation, transformation and
// their texts.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>

#include "CurveTestUtil.h"
#include "hxcadkit/geometry/Elements.h"
#include "hxcadkit/geometry/SolverInterSect.h"

using namespace curvetest;

namespace {

TArc Arc(Real a1, Real a2, TArc::TDirection d, Real R = 1, Real cx = 0, Real cy = 0)
{
  TArc a;
  a.x = cx;
  a.y = cy;
  a.Radius = R;
  a.InitByPositionAngles(a1, a2, d);
  return a;
}

TEST(ArcAngles, InitByPositionAnglesTable)
{
  struct Case
  {
    Real a1, a2;
    TArc::TDirection d;
    Real A1, A2;
    TArc::TDirection sense;
    bool closed;
  } cases[] = {
      {0, 0, TArc::BackClockWise, 0, TMathDef::C_2PI, TArc::BackClockWise, true},
      {0, 0, TArc::ByClockWise, 0, -TMathDef::C_2PI, TArc::ByClockWise, true},
      {3 * TMathDef::C_PI / 2, TMathDef::C_PI / 2, TArc::BackClockWise, 3 * TMathDef::C_PI / 2,
       5 * TMathDef::C_PI / 2, TArc::BackClockWise, false},
      {3 * TMathDef::C_PI / 2, TMathDef::C_PI / 2, TArc::ByClockWise, 3 * TMathDef::C_PI / 2,
       TMathDef::C_PI / 2, TArc::ByClockWise, false},
      {-1e-9, TMathDef::C_PI, TArc::BackClockWise, 0, TMathDef::C_PI, TArc::BackClockWise, false},
      {TMathDef::C_PI / 2, TMathDef::C_PI, TArc::ByClockWise, TMathDef::C_PI / 2, -TMathDef::C_PI,
       TArc::ByClockWise, false},
      {-TMathDef::C_PI / 2, TMathDef::C_PI / 2, TArc::BackClockWise, 3 * TMathDef::C_PI / 2,
       5 * TMathDef::C_PI / 2, TArc::BackClockWise, false},
      {5 * TMathDef::C_PI, 0, TArc::Degenerate, TMathDef::C_PI, 0, TArc::ByClockWise, false},
      {0, TMathDef::C_2PI, TArc::BackClockWise, 0, TMathDef::C_2PI, TArc::BackClockWise, true},
      {TMathDef::C_2PI - 1e-9, 1, TArc::BackClockWise, 0, 1, TArc::BackClockWise, false},
      // A start standing at a full turn is the start at 0, so no sweep exceeds a turn.
      {2 * TMathDef::C_2PI - 1e-9, 1, TArc::BackClockWise, 0, 1, TArc::BackClockWise, false},
      {TMathDef::C_2PI, 0, TArc::BackClockWise, 0, TMathDef::C_2PI, TArc::BackClockWise, true},
      // 0 to a full turn asked clockwise is a clockwise full turn, not an empty arc.
      {0, TMathDef::C_2PI, TArc::ByClockWise, 0, -TMathDef::C_2PI, TArc::ByClockWise, true},
  };
  for (const Case& c : cases) {
    const TArc a = Arc(c.a1, c.a2, c.d);
    SCOPED_TRACE(::testing::Message() << c.a1 << " " << c.a2 << " " << c.d);
    EXPECT_NEAR(a.A1, c.A1, 1e-12);
    EXPECT_NEAR(a.A2, c.A2, 1e-12);
    EXPECT_EQ(a.sense, c.sense);
    EXPECT_EQ(a.closed, c.closed);
    EXPECT_EQ(a.IsClosed(), c.closed);
    EXPECT_TRUE(a.circle);
  }
}

TEST(CircleOffset, NeverANegativeRadius)
{
  const TCircle c(0, 0, 2);
  std::unique_ptr<TCurve2D> o(c.Offset(1));
  ASSERT_NE(o, nullptr);
  EXPECT_EQ(static_cast<const TCircle&>(*o).Radius, 3);
  o->Calculate();
  EXPECT_NEAR(o->metricLength, 6 * TMathDef::C_PI, 1e-12);
  o.reset(c.Offset(-1.5));
  ASSERT_NE(o, nullptr);
  EXPECT_EQ(static_cast<const TCircle&>(*o).Radius, 0.5);
  // Shrinking through the centre used to give a circle of negative radius.
  EXPECT_EQ(c.Offset(-3), nullptr);
  EXPECT_EQ(c.Offset(-2), nullptr);
  EXPECT_EQ(c.Offset(-2 + 1e-6), nullptr);
  o.reset(c.Offset(-2 + 3e-6));
  EXPECT_NE(o, nullptr);
}

TEST(ArcApproximation, AnArcWiderThanATurnStaysBounded)
{
  TArc a = Arc(0, 1, TArc::BackClockWise);
  a.A2 = 1e9; // as a damaged stream might hold
  TPolyLine L;
  a.Aproximate(L);
  EXPECT_LT(L.Points.Count, 800);
}

TEST(ArcTransform, RotationScaleAndReflection)
{
  TArc a = Arc(0, TMathDef::C_PI / 2, TArc::BackClockWise, 1, 1, 0);
  const TArc original = a;
  a.Calculate();
  TMtr2D M(0, 0, 90, 2); // scale 2, turn 90 degrees
  a.Mtr(M);
  EXPECT_EQ(a.metricLength, -1); // the cache is refreshed
  EXPECT_NEAR(Dist(a, TPoint2D(0, 2)), 0, 1e-12);
  EXPECT_NEAR(a.Radius, 2, 1e-12);
  for (Real t : {0.0, 0.5, TMathDef::C_PI / 2}) {
    TPoint2D P = At(original, t), Q = At(a, t);
    M.TransformCoord(P.x, P.y, P.x, P.y);
    EXPECT_NEAR(Dist(P, Q), 0, 1e-12) << t;
  }
  // A mirror runs the arc the other way round; before it kept its sense and went wrong.
  TMtr2D S;
  S.Symmetry(TPoint2D(0, 0), TVector2D(1, 0));
  for (TArc::TDirection d : {TArc::BackClockWise, TArc::ByClockWise}) {
    TArc m = Arc(0.3, 1.3, d, 2, 1, 1);
    const TArc before = m;
    m.Mtr(S);
    EXPECT_NE(m.sense, before.sense);
    EXPECT_NEAR(m.GetTMax(), before.GetTMax(), 1e-12);
    for (Real t : {0.0, 0.4, before.GetTMax()}) {
      TPoint2D P = At(before, t);
      S.TransformCoord(P.x, P.y, P.x, P.y);
      EXPECT_NEAR(Dist(P, At(m, t)), 0, 1e-12) << d << " " << t;
    }
  }
}

class TShiftAndScale : public TCurveTransform
{
public:
  void xyMtr(const double& x, const double& y, double& X, double& Y) const override
  {
    const double nx = 2 * x + 10, ny = 2 * y - 5;
    X = nx;
    Y = ny;
  }
  double ScaleMtr() const override { return 2; }
};

TEST(PointTransform, FollowsTheDrawingFrameNotTheMatrix)
{
  ASSERT_EQ(GetCurveTransform(), nullptr);
  TMtr2D M(100, 100, 0, 1);
  TBasePoint p(1, 2);
  TCircle c(1, 2, 3);
  c.Calculate();
  // Nothing installed: the identity.
  p.Mtr(M);
  c.Mtr(M);
  EXPECT_EQ(p.x, 1);
  EXPECT_EQ(p.y, 2);
  EXPECT_EQ(c.Radius, 3);
  const TShiftAndScale T;
  SetCurveTransform(&T);
  p.Mtr(M);
  c.Mtr(M);
  TText text(1, 2, 0, 5, TString("A"));
  text.Mtr(M);
  SetCurveTransform(nullptr);
  EXPECT_EQ(p.x, 12);
  EXPECT_EQ(p.y, -1);
  EXPECT_EQ(c.x, 12);
  EXPECT_EQ(c.Radius, 6);
  EXPECT_EQ(c.metricLength, -1);
  EXPECT_EQ(text.x, 12);
}

TEST(CurveDump, PointCircleAndArcTexts)
{
  EXPECT_EQ(std::string(TString(TBasePoint(3, 4)).PChar()), "Point (  3.000,  4.000)");
  EXPECT_EQ(std::string(TString(TCircle(1, 2, 3.456)).PChar()), "Circle (  1.000,  2.000  R=   3.46)");
  EXPECT_EQ(std::string(TString(TArc(1, 2, 3, 0, 1.5)).PChar()),
            "Arc (  1.000,  2.000  R=   3.00   0.000   1.500)");
}

} // namespace
