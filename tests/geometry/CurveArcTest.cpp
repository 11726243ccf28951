// Points, circles and arcs: angle normalisation, evaluation and clamping, projection, scans,
// cutting, offsets, approximation, bounds, transformation and the intersection entry points.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <random>

#include "CurveTestUtil.h"
#include "hxcadkit/geometry/Elements.h"
#include "hxcadkit/geometry/SolverInterSect.h"

using namespace curvetest;

namespace {

constexpr Real Pi = TMathDef::C_PI;
constexpr Real TwoPi = TMathDef::C_2PI;

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
      {0, 0, TArc::BackClockWise, 0, TwoPi, TArc::BackClockWise, true},
      {0, 0, TArc::ByClockWise, 0, -TwoPi, TArc::ByClockWise, true},
      {3 * Pi / 2, Pi / 2, TArc::BackClockWise, 3 * Pi / 2, 5 * Pi / 2, TArc::BackClockWise, false},
      {3 * Pi / 2, Pi / 2, TArc::ByClockWise, 3 * Pi / 2, Pi / 2, TArc::ByClockWise, false},
      {-1e-9, Pi, TArc::BackClockWise, 0, Pi, TArc::BackClockWise, false},
      {Pi / 2, Pi, TArc::ByClockWise, Pi / 2, -Pi, TArc::ByClockWise, false},
      {-Pi / 2, Pi / 2, TArc::BackClockWise, 3 * Pi / 2, 5 * Pi / 2, TArc::BackClockWise, false},
      {5 * Pi, 0, TArc::Degenerate, Pi, 0, TArc::ByClockWise, false},
      {0, TwoPi, TArc::BackClockWise, 0, TwoPi, TArc::BackClockWise, true},
      {TwoPi - 1e-9, 1, TArc::BackClockWise, 0, 1, TArc::BackClockWise, false},
      // A start standing at a full turn is the start at 0, so no sweep exceeds a turn.
      {2 * TwoPi - 1e-9, 1, TArc::BackClockWise, 0, 1, TArc::BackClockWise, false},
      {TwoPi, 0, TArc::BackClockWise, 0, TwoPi, TArc::BackClockWise, true},
      // 0 to a full turn asked clockwise is a clockwise full turn, not an empty arc.
      {0, TwoPi, TArc::ByClockWise, 0, -TwoPi, TArc::ByClockWise, true},
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

TEST(ArcAngles, ConstructorTakesTheDirectionFromTheRadiusSign)
{
  const TArc ccw(1, 2, 3, 0, Pi / 2, 5);
  EXPECT_EQ(ccw.Radius, 3);
  EXPECT_EQ(ccw.sense, TArc::BackClockWise);
  EXPECT_EQ(ccw.Atr, 5);
  const TArc cw(1, 2, -3, 0, Pi / 2);
  EXPECT_EQ(cw.Radius, 3);
  EXPECT_EQ(cw.sense, TArc::ByClockWise);
  EXPECT_NEAR(cw.GetTMax(), 3 * Pi / 2, 1e-12);
}

TEST(ArcAngles, RandomInitKeepsItsInvariants)
{
  std::mt19937_64 rng(11);
  std::uniform_real_distribution<Real> ang(-20, 20);
  const TArc::TDirection dirs[] = {TArc::ByClockWise, TArc::Degenerate, TArc::BackClockWise};
  for (int i = 0; i < 20000; ++i) {
    const Real a1 = ang(rng), a2 = i % 7 == 0 ? a1 + TwoPi * int(i % 3) : ang(rng);
    const TArc::TDirection d = dirs[i % 3];
    const TArc a = Arc(a1, a2, d, 2);
    ASSERT_EQ(a.sense == TArc::BackClockWise, a.A2 > a.A1);
    ASSERT_LE(std::fabs(a.A2 - a.A1), TwoPi + 1e-12);
    ASSERT_GT(std::fabs(a.A2 - a.A1), 0);
    if (d != TArc::Degenerate) {
      ASSERT_EQ(a.sense, d) << a1 << " " << a2;
    }
    // The ends lie at the angles asked for.
    const TPoint2D S = At(a, 0), E = At(a, a.GetTMax());
    ASSERT_NEAR(S.x, 2 * std::cos(a1), 1e-7);
    ASSERT_NEAR(S.y, 2 * std::sin(a1), 1e-7);
    ASSERT_NEAR(E.x, 2 * std::cos(a2), 1e-7);
    ASSERT_NEAR(E.y, 2 * std::sin(a2), 1e-7);
  }
}

TEST(ArcAngles, ParameterAndAngleConvert)
{
  const TArc cw = Arc(Pi / 2, 0, TArc::ByClockWise);
  Real t = 0.25;
  cw.ParamToAngle(t);
  EXPECT_NEAR(t, Pi / 2 - 0.25, 1e-15);
  cw.AngleToParam(t);
  EXPECT_NEAR(t, 0.25, 1e-15);
  // Angles off the arc go to the side of the nearer end.
  t = Pi; // nearer the start
  cw.AngleToParam(t);
  EXPECT_NEAR(t, -Pi / 2, 1e-15);
  t = -0.5; // nearer the end
  cw.AngleToParam(t);
  EXPECT_NEAR(t, Pi / 2 + 0.5, 1e-15);
  t = TwoPi - 0.5;
  cw.AngleToParam(t);
  EXPECT_NEAR(t, Pi / 2 + 0.5, 1e-12);
  EXPECT_TRUE(cw.AnglePertainLimit(Pi / 4));
  EXPECT_TRUE(cw.AnglePertainLimit(-0.00005));
  EXPECT_FALSE(cw.AnglePertainLimit(-0.001));
  Real u = 5;
  EXPECT_NEAR(cw.CheckParamToAngle(u), 0, 1e-15);
  EXPECT_NEAR(u, Pi / 2, 1e-15);
}

TEST(ArcEvaluation, ClampedOnOpenWrappedOnFullTurn)
{
  const TArc open = Arc(0, Pi / 2, TArc::BackClockWise, 2, 1, 1);
  const TPoint2D end = At(open, open.GetTMax());
  EXPECT_EQ(At(open, open.GetTMax() + 3), end);
  EXPECT_EQ(At(open, -1), At(open, 0));
  EXPECT_NEAR(end.x, 1, 1e-15);
  EXPECT_NEAR(end.y, 3, 1e-15);
  // The raw form does not clamp.
  EXPECT_NEAR(RawAt(open, Pi).x, -1, 1e-15);
  const TArc full = Arc(1, 1, TArc::BackClockWise);
  EXPECT_NEAR(Dist(At(full, full.GetTMax() + 1), At(full, 1)), 0, 1e-12);
  // The circle takes every angle as it is.
  const TCircle c(0, 0, 1);
  EXPECT_NEAR(At(c, 7).x, std::cos(7.0), 1e-15);
}

TEST(ArcEvaluation, TangentPointsTowardIncreasingParameter)
{
  for (TArc::TDirection d : {TArc::BackClockWise, TArc::ByClockWise}) {
    const TArc a = Arc(Pi / 4, 3 * Pi / 4, d, 3);
    TVector2D T;
    a.TangentOn(0, T);
    const TPoint2D P0 = At(a, 0), P1 = At(a, 1e-6);
    const TVector2D fd(P0, P1);
    EXPECT_GT(T.x * fd.x + T.y * fd.y, 0) << d;
    EXPECT_NEAR(T.Len(), 1, 1e-15);
  }
}

TEST(CircleProjection, AngleOfThePointAndTheWindow)
{
  const TCircle c(1, 1, 2);
  Real t = -1;
  EXPECT_TRUE(c.NearPointProjection(TPoint2D(1, 5), TPoint2D(1e-8, 1e-8), t, true, nullptr));
  EXPECT_NEAR(t, Pi / 2, 1e-15);
  EXPECT_TRUE(c.NearPointProjection(TPoint2D(1, -5), TPoint2D(1e-8, 1e-8), t, true, nullptr));
  EXPECT_NEAR(t, 3 * Pi / 2, 1e-15);
  // The centre has no direction: angle 0, and the answer is false.
  t = -1;
  EXPECT_FALSE(c.NearPointProjection(TPoint2D(1, 1), TPoint2D(1e-8, 1e-8), t, true, nullptr));
  EXPECT_EQ(t, 0);
  // A window without ext brings the angle to its nearer end.
  TRegion1D W(0, Pi / 2);
  c.NearPointProjection(TPoint2D(1, -5), TPoint2D(1e-8, 1e-8), t, false, &W);
  EXPECT_EQ(t, 0);
}

TEST(ArcProjection, AnswerByParameterSnapWithoutExt)
{
  const TArc a = Arc(0, Pi / 2, TArc::BackClockWise, 2);
  Real t = -1;
  EXPECT_TRUE(a.NearPointProjection(TPoint2D(1, 1), TPoint2D(1e-8, 1e-8), t, true, nullptr));
  EXPECT_NEAR(t, Pi / 4, 1e-15);
  EXPECT_FALSE(a.NearPointProjection(TPoint2D(-1, 1), TPoint2D(1e-8, 1e-8), t, true, nullptr));
  EXPECT_NEAR(t, 3 * Pi / 4, 1e-15);
  EXPECT_FALSE(a.NearPointProjection(TPoint2D(-1, 1), TPoint2D(1e-8, 1e-8), t, false, nullptr));
  EXPECT_EQ(t, Pi / 2);
  EXPECT_FALSE(a.NearPointProjection(TPoint2D(1, -1), TPoint2D(1e-8, 1e-8), t, false, nullptr));
  EXPECT_EQ(t, 0);
  // Within the tolerance of an end: true, snapped onto the end.
  EXPECT_TRUE(a.NearPointProjection(TPoint2D(1, -1e-4), TPoint2D(1e-3, 0), t, false, nullptr));
  EXPECT_EQ(t, 0);
}

TEST(CircleSide, InsideOnOutside)
{
  const TCircle c(0, 0, 5);
  EXPECT_EQ(c.PointRelative(TPoint2D(3, 4), 1e-6), tl_On);
  EXPECT_EQ(c.PointRelative(TPoint2D(1, 1), 1e-6), tl_Inside);
  EXPECT_EQ(c.PointRelative(TPoint2D(6, 0), 1e-6), tl_OutSide);
  // An arc answers for its whole circle.
  EXPECT_EQ(Arc(0, 0.1, TArc::BackClockWise, 5).PointRelative(TPoint2D(-1, 0), 1e-6), tl_Inside);
}

TEST(CircleInit, DiameterThreePointsAndCollinear)
{
  TCircle c;
  c.Init(TPoint2D(0, 0), TPoint2D(4, 0));
  EXPECT_EQ(c.x, 2);
  EXPECT_EQ(c.Radius, 2);
  ASSERT_TRUE(c.Init(TPoint2D(1, 0), TPoint2D(0, 1), TPoint2D(-1, 0)));
  EXPECT_NEAR(c.x, 0, 1e-15);
  EXPECT_NEAR(c.y, 0, 1e-15);
  EXPECT_NEAR(c.Radius, 1, 1e-15);
  const TCircle before = c;
  EXPECT_FALSE(c.Init(TPoint2D(0, 0), TPoint2D(1, 1), TPoint2D(2, 2)));
  EXPECT_EQ(c.x, before.x);
  EXPECT_EQ(c.Radius, before.Radius);
  TPolyLine L;
  L.Points.Add(TPoint2D(0.5, 0));
  L.Points.Add(TPoint2D(0, 1));
  EXPECT_TRUE(c.FoundAllPoints(L));
  L.Points.Add(TPoint2D(0, 1.01));
  EXPECT_FALSE(c.FoundAllPoints(L));
  EXPECT_TRUE(c.FoundAllPoints(TPolyLine()));
}

TEST(CircleScan, TopCentreAndMiss)
{
  const TCircle c(1, 2, 3);
  TAReal A;
  c.InterSectHorizontal(5, A);
  ASSERT_EQ(A.Count, 1);
  EXPECT_NEAR(A[0], Pi / 2, 1e-15);
  A.Clear();
  c.InterSectHorizontal(2, A);
  ASSERT_EQ(A.Count, 2);
  EXPECT_NEAR(A[0], 0, 1e-15);
  EXPECT_NEAR(A[1], Pi, 1e-15);
  A.Clear();
  c.InterSectHorizontal(0.5, A); // below the centre: angles in (pi, 2 pi)
  ASSERT_EQ(A.Count, 2);
  EXPECT_NEAR(At(c, A[0]).y, 0.5, 1e-12);
  EXPECT_NEAR(At(c, A[1]).y, 0.5, 1e-12);
  EXPECT_GT(A[0], Pi);
  A.Clear();
  c.InterSectHorizontal(5.1, A);
  c.InterSectHorizontal(-1.1, A);
  EXPECT_EQ(A.Count, 0);
  c.InterSectVertical(4, A);
  ASSERT_EQ(A.Count, 1);
  EXPECT_EQ(A[0], 0);
  c.InterSectVertical(-2, A);
  ASSERT_EQ(A.Count, 2);
  EXPECT_NEAR(A[1], Pi, 1e-15);
  A.Clear();
  c.InterSectVertical(2.5, A);
  ASSERT_EQ(A.Count, 2);
  for (Integer i = 0; i < 2; ++i)
    EXPECT_NEAR(At(c, A[i]).x, 2.5, 1e-12);
}

TEST(ArcScan, OnlyParametersOnTheArc)
{
  // The upper half, counter-clockwise from angle 0: a scan below the centre misses it.
  const TArc a = Arc(0, Pi, TArc::BackClockWise, 2);
  TAReal A;
  a.InterSectHorizontal(-1, A);
  EXPECT_EQ(A.Count, 0);
  a.InterSectHorizontal(1, A);
  ASSERT_EQ(A.Count, 2);
  EXPECT_NEAR(A[0], Pi / 6, 1e-12);
  EXPECT_NEAR(A[1], 5 * Pi / 6, 1e-12);
  // Clockwise upper half from pi to 0: parameters run from the left end.
  const TArc cw = Arc(Pi, 0, TArc::ByClockWise, 2);
  A.Clear();
  cw.InterSectVertical(1, A);
  ASSERT_EQ(A.Count, 1);
  EXPECT_NEAR(A[0], 2 * Pi / 3, 1e-12);
}

TEST(CircleCut, TrimmedTrimmPartDeletePart)
{
  TCircle c(0, 0, 2, 3);
  Real t1 = 1, t2 = 1 + 1e-9;
  EXPECT_EQ(c.Trimmed(t1, t2, 1), nullptr);
  t1 = 0;
  t2 = Pi / 2;
  std::unique_ptr<TCurve2D> tr(c.Trimmed(t1, t2, -1));
  ASSERT_NE(tr, nullptr);
  ASSERT_EQ(tr->IsType(), tArc);
  const TArc& ta = static_cast<const TArc&>(*tr);
  EXPECT_EQ(ta.sense, TArc::ByClockWise);
  EXPECT_NEAR(ta.GetTMax(), 3 * Pi / 2, 1e-12);
  EXPECT_EQ(ta.Atr, 3);
  // Equal angles a turn apart: a full turn.
  t1 = 0;
  t2 = TwoPi;
  tr.reset(c.Trimmed(t1, t2, 1));
  EXPECT_TRUE(tr->IsClosed());

  TCurve2D* part2 = &c;
  EXPECT_EQ(c.TrimmPart(1, 1, part2), TCurve2D::dp_Degenerated);
  EXPECT_EQ(part2, nullptr);
  EXPECT_EQ(c.TrimmPart(Pi / 2, Pi, part2), TCurve2D::dp_NoChanged);
  ASSERT_NE(part2, nullptr);
  std::unique_ptr<TCurve2D> piece(part2);
  EXPECT_NEAR(Dist(piece->PointTMin(), TPoint2D(0, 2)), 0, 1e-12);
  EXPECT_NEAR(Dist(piece->PointTMax(), TPoint2D(-2, 0)), 0, 1e-12);
  EXPECT_EQ(c.Radius, 2);

  EXPECT_EQ(c.DeletePart(1, 1, part2), TCurve2D::dp_NoChanged);
  EXPECT_EQ(c.DeletePart(0, TwoPi, part2), TCurve2D::dp_Degenerated);
  EXPECT_EQ(part2, nullptr);
  EXPECT_EQ(c.DeletePart(0, Pi / 2, part2), TCurve2D::dp_Changed);
  piece.reset(part2);
  // The rest runs from t2 counter-clockwise back to t1.
  EXPECT_NEAR(piece->GetTMax(), 3 * Pi / 2, 1e-12);
  EXPECT_NEAR(Dist(piece->PointTMin(), TPoint2D(0, 2)), 0, 1e-12);
}

TEST(ArcCut, TrimmPartKeepsThePiece)
{
  TArc a = Arc(0, Pi, TArc::BackClockWise, 1);
  TCurve2D* part2 = nullptr;
  EXPECT_EQ(a.TrimmPart(0, Pi, part2), TCurve2D::dp_NoChanged);
  EXPECT_EQ(a.TrimmPart(1, 1, part2), TCurve2D::dp_Degenerated);
  // Reversed ends are taken in order on an open arc.
  EXPECT_EQ(a.TrimmPart(2, 1, part2), TCurve2D::dp_Changed);
  EXPECT_EQ(part2, nullptr);
  EXPECT_NEAR(a.A1, 1, 1e-15);
  EXPECT_NEAR(a.A2, 2, 1e-15);
  EXPECT_EQ(a.metricLength, -1);
  TArc cw = Arc(Pi, 0, TArc::ByClockWise, 1);
  EXPECT_EQ(cw.TrimmPart(0.5, 1, part2), TCurve2D::dp_Changed);
  EXPECT_NEAR(cw.A1, Pi - 0.5, 1e-15);
  EXPECT_NEAR(cw.A2, Pi - 1, 1e-15);
  EXPECT_EQ(cw.sense, TArc::ByClockWise);
  // A full turn keeps the part from t1 on to t2, over the seam when t1 > t2.
  TArc full = Arc(0, 0, TArc::BackClockWise);
  EXPECT_EQ(full.TrimmPart(3 * Pi / 2, Pi / 2, part2), TCurve2D::dp_Changed);
  EXPECT_NEAR(full.GetTMax(), Pi, 1e-12);
  EXPECT_NEAR(Dist(full.PointTMin(), TPoint2D(0, -1)), 0, 1e-12);
}

TEST(ArcCut, DeletePartCases)
{
  TCurve2D* part2 = nullptr;
  {
    TArc a = Arc(0, Pi, TArc::BackClockWise);
    EXPECT_EQ(a.DeletePart(1, 1, part2), TCurve2D::dp_NoChanged);
    EXPECT_EQ(a.DeletePart(0, Pi, part2), TCurve2D::dp_Degenerated);
    EXPECT_EQ(part2, nullptr);
  }
  {
    TArc a = Arc(0, Pi, TArc::BackClockWise);
    EXPECT_EQ(a.DeletePart(0, 1, part2), TCurve2D::dp_Changed);
    EXPECT_NEAR(a.A1, 1, 1e-15);
    EXPECT_NEAR(a.A2, Pi, 1e-15);
  }
  {
    TArc a = Arc(0, Pi, TArc::BackClockWise);
    EXPECT_EQ(a.DeletePart(Pi, 2, part2), TCurve2D::dp_Changed); // reversed: up to the end
    EXPECT_NEAR(a.A2, 2, 1e-15);
  }
  {
    TArc a = Arc(0, Pi, TArc::BackClockWise, 1, 0, 0);
    a.Atr = 6;
    EXPECT_EQ(a.DeletePart(1, 2, part2), TCurve2D::dp_Changed);
    ASSERT_NE(part2, nullptr);
    std::unique_ptr<TCurve2D> rest(part2);
    EXPECT_NEAR(a.A2, 1, 1e-15);
    ASSERT_EQ(rest->IsType(), tArc);
    const TArc& r = static_cast<const TArc&>(*rest);
    EXPECT_NEAR(r.A1, 2, 1e-15);
    EXPECT_NEAR(r.A2, Pi, 1e-15);
    EXPECT_EQ(r.Atr, 6);
    EXPECT_EQ(r.metricLength, -1);
  }
  {
    TArc full = Arc(0, 0, TArc::ByClockWise);
    EXPECT_EQ(full.DeletePart(1, 2, part2), TCurve2D::dp_Changed);
    EXPECT_EQ(part2, nullptr);
    // Left: from t2 on round to t1.
    EXPECT_NEAR(full.GetTMax(), TwoPi - 1, 1e-12);
    EXPECT_NEAR(Dist(full.PointTMin(), TPoint2D(std::cos(-2.0), std::sin(-2.0))), 0, 1e-12);
  }
}

TEST(ArcCut, TrimmedFollowsTheDirection)
{
  const TArc a = Arc(0, Pi, TArc::BackClockWise, 2, 0, 0);
  Real t1 = 1, t2 = 1 + 1e-10;
  EXPECT_EQ(a.Trimmed(t1, t2, 1), nullptr);
  t1 = 0.5;
  t2 = 1.5;
  std::unique_ptr<TCurve2D> r(a.Trimmed(t1, t2, 1));
  ASSERT_NE(r, nullptr);
  EXPECT_NEAR(t1, 0.5, 1e-15); // converted to angles in place
  EXPECT_NEAR(r->GetTMax(), 1, 1e-12);
  t1 = 0.5;
  t2 = 1.5;
  r.reset(a.Trimmed(t1, t2, -1));
  EXPECT_NEAR(r->GetTMax(), TwoPi - 1, 1e-12);
  // On a full turn equal parameters give the turn in the asked direction.
  const TArc full = Arc(0, 0, TArc::ByClockWise);
  t1 = 1;
  t2 = 1;
  r.reset(full.Trimmed(t1, t2, 1));
  ASSERT_NE(r, nullptr);
  EXPECT_TRUE(r->IsClosed());
  EXPECT_EQ(static_cast<const TArc&>(*r).sense, TArc::ByClockWise);
  EXPECT_NEAR(t1, TwoPi - 1, 1e-12);
  EXPECT_NEAR(t2, -1, 1e-12);
}

TEST(CircleOffset, NeverANegativeRadius)
{
  const TCircle c(0, 0, 2);
  std::unique_ptr<TCurve2D> o(c.Offset(1));
  ASSERT_NE(o, nullptr);
  EXPECT_EQ(static_cast<const TCircle&>(*o).Radius, 3);
  o->Calculate();
  EXPECT_NEAR(o->metricLength, 6 * Pi, 1e-12);
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

TEST(ArcOffset, PositiveMovesLeftOfTravel)
{
  const TArc ccw = Arc(0, Pi, TArc::BackClockWise, 2);
  std::unique_ptr<TCurve2D> o(ccw.Offset(0.5));
  EXPECT_EQ(static_cast<const TArc&>(*o).Radius, 1.5);
  const TArc cw = Arc(Pi, 0, TArc::ByClockWise, 2);
  o.reset(cw.Offset(0.5));
  EXPECT_EQ(static_cast<const TArc&>(*o).Radius, 2.5);
  EXPECT_EQ(ccw.Offset(2), nullptr);
  EXPECT_EQ(cw.Offset(-2), nullptr);
}

TEST(ArcApproximation, HalfDegreesBetweenTheEnds)
{
  const TArc a = Arc(0.1, 0.2, TArc::BackClockWise, 10);
  TPolyLine L;
  a.Aproximate(L);
  ASSERT_GE(L.Points.Count, 2);
  EXPECT_EQ(L.Points[0], a.PointTMin());
  EXPECT_EQ(L.Points.Last(), a.PointTMax());
  for (Integer i = 1; i + 1 < L.Points.Count; ++i) {
    const Real deg = std::atan2(L.Points[i].y, L.Points[i].x) * 180 / Pi;
    EXPECT_NEAR(deg * 2, std::round(deg * 2), 1e-9);
    EXPECT_NEAR(std::hypot(L.Points[i].x, L.Points[i].y), 10, 1e-12);
  }
  // 0.1 .. 0.2 radians holds the half degrees 6.0 .. 11.0: eleven of them.
  EXPECT_EQ(L.Points.Count, 13);
  // A clockwise arc: the first half degree lies behind the start and is clamped onto it.
  const TArc cw = Arc(0.2, 0.1, TArc::ByClockWise, 10);
  TPolyLine C;
  cw.Aproximate(C);
  ASSERT_GE(C.Points.Count, 3);
  EXPECT_EQ(C.Points[0], C.Points[1]);
  EXPECT_EQ(C.Points.Last(), cw.PointTMax());
  // A circle samples by length.
  TPolyLine K;
  TCircle(0, 0, 1).Aproximate(K);
  EXPECT_EQ(K.Points.Count, 64);
}

TEST(ArcApproximation, AnArcWiderThanATurnStaysBounded)
{
  TArc a = Arc(0, 1, TArc::BackClockWise);
  a.A2 = 1e9; // as a damaged stream might hold
  TPolyLine L;
  a.Aproximate(L);
  EXPECT_LT(L.Points.Count, 800);
}

TEST(ArcBounds, ExtremesAmongEndsAndAxisPoints)
{
  const TArc q = Arc(0, Pi / 2, TArc::BackClockWise, 2, 1, 1);
  Real x, y;
  q.Left(x, y);
  EXPECT_NEAR(x, 1, 1e-15);
  EXPECT_NEAR(y, 3, 1e-15);
  q.Right(x, y);
  EXPECT_NEAR(x, 3, 1e-15);
  q.Top(x, y);
  EXPECT_NEAR(y, 3, 1e-15);
  q.Bottom(x, y);
  EXPECT_NEAR(y, 1, 1e-15);
  TRect2D R;
  q.Rect(R);
  EXPECT_NEAR(R.LD.x, 1, 1e-15);
  EXPECT_NEAR(R.LD.y, 1, 1e-15);
  EXPECT_NEAR(R.RU.x, 3, 1e-15);
  EXPECT_NEAR(R.RU.y, 3, 1e-15);
  // Over the top: the top point is the angle point.
  const TArc top = Arc(Pi / 4, 3 * Pi / 4, TArc::BackClockWise, 1);
  top.Top(x, y);
  EXPECT_NEAR(x, 0, 1e-15);
  EXPECT_NEAR(y, 1, 1e-15);
  top.Bottom(x, y);
  EXPECT_NEAR(y, std::sqrt(0.5), 1e-15);
  const TCircle c(1, 2, 3);
  c.Rect(R);
  EXPECT_EQ(R, TRect2D(-2, -1, 4, 5));
  c.Left(x, y);
  EXPECT_EQ(x, -2);
  EXPECT_EQ(y, 2);
  TBasePoint(4, 5).Rect(R);
  EXPECT_EQ(R, TRect2D(4, 5, 4, 5));
}

TEST(ArcTransform, RotationScaleAndReflection)
{
  TArc a = Arc(0, Pi / 2, TArc::BackClockWise, 1, 1, 0);
  const TArc original = a;
  a.Calculate();
  TMtr2D M(0, 0, 90, 2); // scale 2, turn 90 degrees
  a.Mtr(M);
  EXPECT_EQ(a.metricLength, -1); // the cache is refreshed
  EXPECT_NEAR(a.x, 0, 1e-12);
  EXPECT_NEAR(a.y, 2, 1e-12);
  EXPECT_NEAR(a.Radius, 2, 1e-12);
  for (Real t : {0.0, 0.5, Pi / 2}) {
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

TEST(ArcCache, InverseRefreshesAndReverses)
{
  TArc a = Arc(0, Pi / 2, TArc::BackClockWise, 1);
  a.Calculate();
  const TPoint2D S = a.PointTMin(), E = a.PointTMax();
  a.Inverse();
  EXPECT_EQ(a.metricLength, -1);
  EXPECT_EQ(a.sense, TArc::ByClockWise);
  EXPECT_NEAR(Dist(a.PointTMin(), E), 0, 1e-15);
  EXPECT_NEAR(Dist(a.PointTMax(), S), 0, 1e-15);
}

TEST(CurveDump, PointCircleAndArcTexts)
{
  EXPECT_EQ(std::string(TString(TBasePoint(3, 4)).PChar()), "Point (  3.000,  4.000)");
  EXPECT_EQ(std::string(TString(TCircle(1, 2, 3.456)).PChar()), "Circle (  1.000,  2.000  R=   3.46)");
  EXPECT_EQ(std::string(TString(TArc(1, 2, 3, 0, 1.5)).PChar()),
            "Arc (  1.000,  2.000  R=   3.00   0.000   1.500)");
}

TEST(PointInterSect, OnAnyCurveAndTheNotAPointAnswer)
{
  TInterSector IS;
  IS.ACrossPoint.Add(TCrossPoint()); // emptied first
  const TBasePoint p(5, 0.00005);
  const TLineSeg s(0, 0, 10, 0);
  EXPECT_EQ(p.InterSect(&s, IS), 1);
  ASSERT_EQ(IS.ACrossPoint.Count, 1);
  EXPECT_NEAR(IS.ACrossPoint[0].on2.t, 0.5, 1e-15);
  EXPECT_EQ(IS.ACrossPoint[0].on1.curve, &p);
  EXPECT_EQ(IS.ACrossPoint[0].on2.curve, &s);
  EXPECT_EQ(IS.ACrossPoint[0].p, TPoint2D(5, 0));
  EXPECT_EQ(TBasePoint(5, 0.0002).InterSect(&s, IS), 0);
  EXPECT_EQ(IS.ACrossPoint.Count, 0);
  EXPECT_EQ(p.InterSect(nullptr, IS), 0);
  // Kinds that keep the point's body without being points.
  const TPolyLine L;
  EXPECT_EQ(L.InterSect(&s, IS), 20);
  const TText text(0, 0, 0, 1, TString("x"));
  EXPECT_EQ(text.InterSect(&s, IS), 20);
  EXPECT_EQ(text.InterSect(&s), 0);
}

TEST(CircleInterSect, DispatchByKind)
{
  const TCircle c(0, 0, 5);
  const TLineSeg s(-10, 0, 10, 0);
  TInterSector IS;
  EXPECT_EQ(c.InterSect(&s, IS), 2);
  ASSERT_EQ(IS.ACrossPoint.Count, 2);
  EXPECT_EQ(IS.ACrossPoint[0].on1.curve, &s); // the segment comes first
  const TCircle d(8, 0, 5);
  EXPECT_EQ(c.InterSect(&d, IS), 2);
  EXPECT_EQ(IS.ACrossPoint[2].on1.curve, &c);
  EXPECT_EQ(c.InterSect(nullptr, IS), 0);
  const TLine line(0, 0, 1, 0);
  EXPECT_EQ(c.InterSect(&line, IS), 0);
  // A point is handed to the shared solver, not to IS.
  const TBasePoint p(5, 0);
  const Integer before = IS.ACrossPoint.Count;
  EXPECT_EQ(c.InterSect(&p, IS), 1);
  EXPECT_EQ(IS.ACrossPoint.Count, before);
  ASSERT_EQ(TInterSector::Instance2().ACrossPoint.Count, 1);
  EXPECT_EQ(TInterSector::Instance2().ACrossPoint[0].on2.curve, &c);
  const TArc a = Arc(0, Pi, TArc::BackClockWise, 5, 8, 0);
  EXPECT_EQ(a.InterSect(&c, IS), 1); // the circle comes first
  EXPECT_EQ(IS.ACrossPoint.Last().on1.curve, &c);
  EXPECT_EQ(a.InterSect(&a, IS), 0); // the same circle: no crossing to record
}

} // namespace
