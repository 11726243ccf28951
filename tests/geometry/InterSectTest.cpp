// The intersection solver on its documented cases: dispatch, line with line, line with circle,
// circle tangencies, points, range margins, joints.
#include <gtest/gtest.h>

#include <cmath>

#include "CurveTestUtil.h"
#include "hxcadkit/geometry/Elements.h"
#include "hxcadkit/geometry/SolverInterSect.h"

using namespace curvetest;

namespace {

TEST(LineLine, MidpointsEndsAndParallels)
{
  TInterSector IS;
  const TLineSeg a(0, 0, 10, 10), b(0, 10, 10, 0);
  ASSERT_EQ(IS.InterSection(&a, &b), 1);
  const TCrossPoint& r = IS.ACrossPoint[0];
  EXPECT_EQ(r.form, TCrossPoint::ipt_Simple);
  EXPECT_NEAR(r.on1.t, 0.5, 1e-15);
  EXPECT_NEAR(r.on2.t, 0.5, 1e-15);
  EXPECT_EQ(r.p, TPoint2D(5, 5));
  EXPECT_EQ(r.on1.curve, &a);
  EXPECT_EQ(r.on2.curve, &b);
  // End to end.
  const TLineSeg c(10, 10, 20, 0);
  ASSERT_EQ(IS.InterSection(&a, &c), 1);
  EXPECT_NEAR(IS.ACrossPoint[1].on1.t, 1, 1e-15);
  EXPECT_NEAR(IS.ACrossPoint[1].on2.t, 0, 1e-15);
  // Parallel, and collinear overlapping: none.
  EXPECT_EQ(IS.InterSection(&a, Tmp(TLineSeg(1, 0, 11, 10))), 0);
  EXPECT_EQ(IS.InterSection(&a, Tmp(TLineSeg(5, 5, 15, 15))), 0);
  // Beyond an end by more than the margin: none; within it: one.
  EXPECT_EQ(IS.InterSection(&a, Tmp(TLineSeg(10 + 1e-5, 0, 10 + 1e-5, 20))), 0);
  EXPECT_EQ(IS.InterSection(&a, Tmp(TLineSeg(10 + 1e-6, 0, 10 + 1e-6, 20))), 1);
}

TEST(LineCircle, FootOnTheUnboundedLine)
{
  // The foot of the centre lies before the segment's start: the crossing at (4, 3) is found,
  // and the recorded point lies on the circle (a clamped foot gave neither).
  TInterSector IS;
  const TCircle c(0, 0, 5);
  const TLineSeg s(2, 3, 10, 3);
  ASSERT_EQ(IS.InterSection(&s, &c), 1);
  EXPECT_NEAR(Dist(IS.ACrossPoint[0].p, TPoint2D(4, 3)), 0, 1e-12);
  EXPECT_NEAR(IS.ACrossPoint[0].on1.t, 0.25, 1e-12);
  // Both crossings off the segment: none.
  EXPECT_EQ(IS.InterSection(Tmp(TLineSeg(6, 3, 10, 3)), &c), 0);
  // The segment ending inside: only the crossing on it counts.
  EXPECT_EQ(IS.InterSection(Tmp(TLineSeg(-10, 3, 0, 3)), &c), 1);
  EXPECT_NEAR(Dist(IS.ACrossPoint.Last().p, TPoint2D(-4, 3)), 0, 1e-12);
}

TEST(CircleCircle, TangentFromOutsideAndInside)
{
  TInterSector IS;
  const TCircle a(0, 0, 2);
  ASSERT_EQ(IS.InterSection(&a, Tmp(TCircle(5, 0, 3))), 1);
  EXPECT_NEAR(Dist(IS.ACrossPoint[0].p, TPoint2D(2, 0)), 0, 1e-15);
  // Inner tangency, the first circle the larger: Ce1 + R1 u.
  ASSERT_EQ(IS.InterSection(Tmp(TCircle(0, 0, 3)), Tmp(TCircle(1, 0, 2))), 1);
  EXPECT_NEAR(Dist(IS.ACrossPoint[1].p, TPoint2D(3, 0)), 0, 1e-15);
  // The first circle the smaller: the touching point lies behind its centre (it used to be
  // recorded on the far side, on neither circle).
  ASSERT_EQ(IS.InterSection(Tmp(TCircle(0, 0, 1)), Tmp(TCircle(1, 0, 2))), 1);
  EXPECT_NEAR(Dist(IS.ACrossPoint[2].p, TPoint2D(-1, 0)), 0, 1e-15);
  EXPECT_NEAR(IS.ACrossPoint[2].on1.t, TMathDef::C_PI, 1e-15);
  EXPECT_NEAR(IS.ACrossPoint[2].on2.t, TMathDef::C_PI, 1e-15);
}

TEST(PointCrossings, CoincidenceRuleAndOrder)
{
  TInterSector IS;
  const TBasePoint p(1, 1);
  EXPECT_EQ(IS.InterSection(&p, Tmp(TBasePoint(1.00009, 1.00009))), 1);
  EXPECT_EQ(IS.ACrossPoint[0].p, TPoint2D(1, 1));
  EXPECT_EQ(IS.InterSection(&p, Tmp(TBasePoint(1.00011, 1))), 0);
  // Point with a segment at distance 0.0009: the projected parameter.
  const TLineSeg s(0, 1.0009, 10, 1.0009);
  ASSERT_EQ(IS.InterSection(&p, &s), 1);
  EXPECT_NEAR(IS.ACrossPoint[1].on2.t, 0.1, 1e-12);
  EXPECT_EQ(IS.ACrossPoint[1].on1.curve, &p);
  EXPECT_EQ(IS.InterSection(&p, Tmp(TLineSeg(0, 1.0011, 10, 1.0011))), 0);
  // Beyond the end the parameter is snapped into the range.
  ASSERT_EQ(IS.InterSection(Tmp(TBasePoint(10.0003, 1.0009)), &s), 1);
  EXPECT_EQ(IS.ACrossPoint[2].on2.t, 1);
  // The other order finds nothing.
  EXPECT_EQ(IS.InterSection(&s, &p), 0);
  EXPECT_EQ(IS.InterSection(&p, Tmp(TCircle(0, 0, std::sqrt(2.0)))), 1);
  EXPECT_EQ(IS.ACrossPoint.Count, 4);
}

TEST(Dispatch, NullsAndUnsupportedKinds)
{
  TInterSector IS;
  IS.ACrossPoint.Add(TCrossPoint());
  const TLineSeg s(0, 0, 1, 1);
  EXPECT_EQ(IS.InterSection(nullptr, &s), 0);
  EXPECT_EQ(IS.InterSection(&s, nullptr), 0);
  const TText t(0.5, 0.5, 0, 1, TString("x"));
  const TPolyLine L;
  EXPECT_EQ(IS.InterSection(&s, &t), 0);
  EXPECT_EQ(IS.InterSection(&t, &s), 0);
  EXPECT_EQ(IS.InterSection(&L, &s), 0);
  EXPECT_EQ(IS.ACrossPoint.Count, 1);
  EXPECT_EQ(IS.InterSectLineLine(&s, Tmp(TCircle(0, 0, 1))), 0);
  EXPECT_EQ(IS.InterSectLineCircle(Tmp(TCircle(0, 0, 1)), &s), 0);
  EXPECT_EQ(IS.InterSectCircleCircle(&s, Tmp(TCircle(0, 0, 1))), 0);
}

TEST(Joints, LinkRuleAndDeleteLinkCrossPoint)
{
  // A closed chain of four segments and a diagonal through it.
  const TLineSeg s1(0, 0, 4, 0), s2(4, 0, 4, 4), s3(4, 4, 0, 4), s4(0, 4, 0, 0);
  const TLineSeg diag(-1, 2, 5, 2);
  const TLineSeg* chain[] = {&s1, &s2, &s3, &s4};
  TInterSector IS;
  for (int i = 0; i < 4; ++i)
    EXPECT_EQ(IS.InterSection(chain[i], chain[(i + 1) % 4]), 1);
  EXPECT_EQ(IS.InterSection(&s2, &diag), 1);
  EXPECT_EQ(IS.InterSection(&diag, &s4), 1);
  ASSERT_EQ(IS.ACrossPoint.Count, 6);
  EXPECT_TRUE(IS.ACrossPoint[0].IsLink(1e-4));
  EXPECT_FALSE(IS.ACrossPoint[4].IsLink(1e-4));
  IS.DeleteLinkCrossPoint(nullptr);
  ASSERT_EQ(IS.ACrossPoint.Count, 2);
  EXPECT_EQ(IS.ACrossPoint[0].on1.curve, &s2);
  EXPECT_EQ(IS.ACrossPoint[1].on1.curve, &diag);
  EXPECT_EQ(TestA.Count, 2);
  // A record naming no curve is never a joint.
  TCrossPoint lone;
  lone.on1.t = 1;
  EXPECT_FALSE(lone.IsLink(1));
  TCrossPoint half = IS.ACrossPoint[0];
  half.on2.curve = nullptr;
  EXPECT_FALSE(half.IsLink(10));
}

} // namespace
