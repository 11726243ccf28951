// Spatial value types: points, vectors, boxes, lines and the free functions on them.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>

#include "hxcadkit/geometry/Mathemat3d.h"
#include "hxcadkit/numeric/TVector.h"

namespace {

void ExpectPoint(const TPoint3D& p, double x, double y, double z, double eps = 1e-12)
{
  EXPECT_NEAR(p.x, x, eps);
  EXPECT_NEAR(p.y, y, eps);
  EXPECT_NEAR(p.z, z, eps);
}

TEST(Point3D, NamesShareTheCoordinates)
{
  TPoint3D p(1, 2, 3);
  EXPECT_EQ(&p.dx, &p.x);
  EXPECT_EQ(p.Data.z, 3);
  p.dy = 7;
  EXPECT_EQ(p.y, 7);
  EXPECT_EQ(sizeof(TPoint3D), 3 * sizeof(double));
  EXPECT_EQ(std::string(TPoint3D(1, -2, 0.5).toStr().PChar()), "   1.00   -2.00    0.50");
  const TPoint2D q = p;
  EXPECT_EQ(q, TPoint2D(1, 7));
}

TEST(Point3D, SettersAndMoves)
{
  TPoint3D p;
  p.Set(TPoint3D(1, 1, 1), TVector3D(1, 0, 0), 2.0);
  ExpectPoint(p, 3, 1, 1);
  p.Set(TPoint3D(1, 1, 1), TVector3D(1, 0, 0), 2.0, TVector3D(0, 0, 1), -3.0);
  ExpectPoint(p, 3, 1, -2);
  p.Move(TVector3D(0, 1, 0), 5.0);
  ExpectPoint(p, 3, 6, -2);
  TPoint3D q(9, 9, 9);
  p.Swap(q);
  ExpectPoint(p, 9, 9, 9);
  ExpectPoint(q, 3, 6, -2);
  EXPECT_DOUBLE_EQ(TPoint3D(1, 2, 3).DistanceTo(TPoint3D(4, 6, 3)), 5);
  EXPECT_TRUE(TPoint3D(1, 2, 3).Equ(TPoint3D(1.00009, 2, 3)));
  EXPECT_FALSE(TPoint3D(1, 2, 3).Equ(TPoint3D(1.0002, 2, 3)));
  EXPECT_TRUE(TPoint3D(1e-7, -1e-7, 50).OnAxleZ());
}

TEST(Point3D, PlaneSides)
{
  const TPoint3D A(0, 0, 0), B(1, 0, 0), C(0, 1, 0);
  // (C - A) x (B - A) points down: -Z is "up".
  const TVector3D n = NormalPlane(A, B, C);
  ExpectPoint(n, 0, 0, -1);
  EXPECT_EQ(TPoint3D(0, 0, -1).PointToPlane(A, B, C), UpPlane);
  EXPECT_EQ(TPoint3D(0, 0, 1).PointToPlane(A, B, C), DownPlane);
  EXPECT_EQ(TPoint3D(5, 5, -0.0001).PointToPlane(A, B, C), OnPlane); // the bound is inclusive
  EXPECT_EQ(TPoint3D(5, 5, -0.00011).PointToPlane(A, B, C), UpPlane);
  // Collinear points: a zero normal puts every point on the plane.
  for (double z : {-10.0, 0.0, 10.0})
    EXPECT_EQ(TPoint3D(3, 4, z).PointToPlane(A, B, TPoint3D(2, 0, 0)), OnPlane);
  ExpectPoint(NormalPlane(A, B, TPoint3D(2, 0, 0)), 0, 0, 0);
}

TEST(Point3D, LineClassesAndDistances)
{
  const TPoint3D A(0, 0, 0), B(10, 0, 0);
  EXPECT_EQ(TPoint3D(5, 3, 0).PointToLine2D(A, B), RightLine); // ahead of A
  EXPECT_EQ(TPoint3D(-5, 3, 0).PointToLine2D(A, B), LeftLine); // behind A
  EXPECT_EQ(TPoint3D(0, 3, 0).PointToLine2D(A, B), OnLine);
  EXPECT_EQ(TPoint3D(5, 3, 0).PointToLine2D(A, A), OnLine);
  EXPECT_EQ(TPoint3D(0, 0, 1).PointToLine2D(A, TPoint3D(0, 0, 5)), RightLine); // z counts

  EXPECT_DOUBLE_EQ(TPoint3D(5, -3, 0).DistPointLine2D(A, B), 3); // right of A to B
  EXPECT_DOUBLE_EQ(TPoint3D(5, 3, 7).DistPointLine2D(A, B), -3);
  // Coinciding ends: the divisor is 0.0001, not zero.
  EXPECT_DOUBLE_EQ(TPoint3D(0, 1, 0).DistPointLine2D(TPoint3D(0, 0, 0), TPoint3D(0, 0, 9)), 0);
  EXPECT_NEAR(TPoint3D(1, 1, 0).DistPointLine2D(A, TPoint3D(1e-5, 0, 0)), -1e-5 / 1e-4, 1e-12);

  EXPECT_TRUE(TPoint3D(5, -3, 0).PointRightOfLine2D(A, B));
  EXPECT_TRUE(TPoint3D(5, 0.4, 0).PointRightOfLine2D(A, B));
  EXPECT_FALSE(TPoint3D(5, 0.5, 0).PointRightOfLine2D(A, B));
  for (double y : {-100.0, 0.0, 100.0})
    EXPECT_TRUE(TPoint3D(0, y, 0).PointRightOfLine2D(A, TPoint3D(0.04, 0, 0)));
}

TEST(Vector3D, LengthNormaliseCross)
{
  TVector3D v(1e-6, 0, 0);
  v.Normalize();
  ExpectPoint(v, 1e-6, 0, 0, 0);
  TVector3D w(3, 0, 4);
  w.Normalize();
  ExpectPoint(w, 0.6, 0, 0.8);
  TVector3D c;
  c.SetMultiply(TVector3D(1, 0, 0), TVector3D(0, 1, 0));
  ExpectPoint(c, 0, 0, 1);
  ExpectPoint(Multiply(TVector3D(0, 1, 0), TVector3D(1, 0, 0)), 0, 0, -1);
  EXPECT_EQ(Skalar(TVector3D(1, 2, 3), TVector3D(4, 5, 6)), 32);
  EXPECT_EQ(Skalar2D(TVector3D(1, 2, 3), TVector3D(4, 5, 6)), 32);
  EXPECT_EQ(TVector3D(1, 2, 3) * TVector3D(4, 5, 6), 32);
  ExpectPoint(TVector3D(TPoint3D(1, 1, 1), TPoint3D(2, 3, 4)), 1, 2, 3);
}

TEST(Vector3D, Collinearity)
{
  EXPECT_FALSE(TVector3D(0, 0, 0).IsColinear(TVector3D(0, 0, 0)));
  EXPECT_FALSE(TVector3D(1, 0, 0).IsColinear(TVector3D(0, 0, 0)));
  EXPECT_TRUE(TVector3D(1, 0, 0).IsColinear(TVector3D(-5, 0, 0)));
  EXPECT_TRUE(TVector3D(1, 0, 0).IsColinear(TVector3D(1, 1e-6, 0)));
  EXPECT_FALSE(TVector3D(1000, 0, 0).IsColinear(TVector3D(1, 1e-6, 0))); // not normalised first
}

TEST(Vector3D, Components)
{
  const TVector3D v(3, 4, 5), d(0, 0, 2);
  ExpectPoint(v.TangentComponent(d), 0, 0, 5);
  ExpectPoint(v.NormalComponent(d), 3, 4, 0);
  ExpectPoint(v.NormalComponent(TVector3D()), 3, 4, 5);
  EXPECT_NEAR(TVector3D(1, 0, 0).Angle(TVector3D(0, 5, 0)), TMathDef::C_PI / 2, 1e-15);
  EXPECT_EQ(TVector3D().Angle(TVector3D(1, 0, 0)), 0);
  EXPECT_EQ(TVector3D(1, -7, 2).MaxFactor(), 7);
  ExpectPoint(TVector3D(1, 2, 9).PerpendicularXOY(), -2, 1, 0);
}

TEST(Cube3D, OverlapWithMargins)
{
  const TCube3D a(TPoint3D(0, 0, 0), TPoint3D(1, 1, 1));
  const TCube3D near(TPoint3D(1.1, 0, 50), TPoint3D(2, 1, 60));
  EXPECT_TRUE(a.IsCommonOnXY(TCube3D(TPoint3D(-1, 0, 0), TPoint3D(-0.1, 1, 0))));
  EXPECT_FALSE(a.IsCommonOnXY(TCube3D(TPoint3D(-1, 0, 0), TPoint3D(-0.1000001, 1, 0))));
  EXPECT_TRUE(TCube3D(TPoint3D(0, 0, 0), TPoint3D(0, 0, 0))
                  .IsCommonOnXY(TCube3D(TPoint3D(0.1, 0, 9), TPoint3D(1, 0, 9))));
  EXPECT_FALSE(a.IsCommon(near, 0.05));
  EXPECT_FALSE(a.IsCommon(TCube3D(TPoint3D(1.1, 0, 0), TPoint3D(2, 1, 1)), 0.05));
  EXPECT_TRUE(a.IsCommon(TCube3D(TPoint3D(1.1, 0, 0), TPoint3D(2, 1, 1)), 0.2));
}

TEST(Cube3D, UnionAndEmptiness)
{
  TCube3D c;
  EXPECT_TRUE(c.Empty());
  c.Add(TCube3D(TPoint3D(0, 1, 2), TPoint3D(3, 4, 5)));
  EXPECT_FALSE(c.Empty());
  ExpectPoint(c.Min, 0, 1, 2);
  c.Add(TCube3D(TPoint3D(-1, 2, 2), TPoint3D(1, 9, 4)));
  ExpectPoint(c.Min, -1, 1, 2);
  ExpectPoint(c.Max, 3, 9, 5);
  ExpectPoint(c.GetCenter(), 1, 5, 3.5);
  EXPECT_EQ(c.DX(), 4);
  EXPECT_EQ(c.DY(), 8);
  c.Enlarge(1.0);
  EXPECT_EQ(c.GetZMax(), 6);
  c.ZMin() = -10;
  EXPECT_EQ(c.Min.z, -10);
}

TEST(Line3D, DistanceAssumesAUnitDirection)
{
  EXPECT_DOUBLE_EQ(TLine3D(TPoint3D(0, 0, 0), TVector3D(1, 0, 0)).DistanceTo(TPoint3D(5, 3, 4)), 5);
  EXPECT_DOUBLE_EQ(TLine3D(TPoint3D(0, 0, 0), TVector3D(2, 0, 0)).DistanceTo(TPoint3D(5, 3, 4)), 10);
  EXPECT_DOUBLE_EQ(TLine3D(TPoint3D(0, 0, 0), TPoint3D(7, 0, 0)).DistanceTo(TPoint3D(5, 3, 4)), 5);
}

TEST(VisualEquPoint, ComparesInXYOnly)
{
  EXPECT_TRUE(VisualEquPoint(TPoint3D(0, 0, 0), TPoint3D(0.999, 0, 100)));
  EXPECT_FALSE(VisualEquPoint(TPoint3D(0, 0, 0), TPoint3D(0.8, 0.8, 0)));
}

TEST(IntersectLine, ProperCrossingsAwayFromEnds)
{
  const TPoint3D A1(0, 0, 0), A2(10, 10, 0), A3(0, 10, 5), A4(10, 0, -5);
  EXPECT_TRUE(IntersectLine(A1, A2, A3, A4));
  EXPECT_FALSE(IntersectLine(A1, A2, TPoint3D(0, 1, 0), TPoint3D(10, 11, 0))); // parallel
  // Crossing 0.9 from an end of the second segment.
  EXPECT_FALSE(
      IntersectLine(TPoint3D(0, 0, 0), TPoint3D(100, 0, 0), TPoint3D(50, -0.9, 0), TPoint3D(50, 20, 0)));
  EXPECT_TRUE(
      IntersectLine(TPoint3D(0, 0, 0), TPoint3D(100, 0, 0), TPoint3D(50, -1.1, 0), TPoint3D(50, 20, 0)));
  // Beyond the 2 % margin of a segment's parameter.
  EXPECT_FALSE(
      IntersectLine(TPoint3D(0, 0, 0), TPoint3D(100, 0, 0), TPoint3D(99, -50, 0), TPoint3D(99, 50, 0)));
  EXPECT_TRUE(
      IntersectLine(TPoint3D(0, 0, 0), TPoint3D(100, 0, 0), TPoint3D(97, -50, 0), TPoint3D(97, 50, 0)));
}

// The answer must not depend on the order of the ends: reversing a segment used to widen its
// accepted range to [-0.02, 1.02] and so accept crossings beyond its ends.
TEST(IntersectLine, SymmetricInTheOrderOfTheEnds)
{
  // Crossing just beyond the end A2 of the first segment.
  const TPoint3D A1(0, 0, 0), A2(100, 0, 0), A3(101, -50, 0), A4(101, 50, 0);
  EXPECT_FALSE(IntersectLine(A1, A2, A3, A4));
  EXPECT_FALSE(IntersectLine(A2, A1, A3, A4));
  EXPECT_FALSE(IntersectLine(A1, A2, A4, A3));
  EXPECT_FALSE(IntersectLine(A3, A4, A1, A2));

  std::mt19937_64 rng(99);
  std::uniform_real_distribution<double> d(-50, 50);
  int crossings = 0;
  for (int i = 0; i < 20000; ++i) {
    const TPoint3D P[4] = {
        {d(rng), d(rng), 0}, {d(rng), d(rng), 0}, {d(rng), d(rng), 0}, {d(rng), d(rng), 0}};
    const bool r = IntersectLine(P[0], P[1], P[2], P[3]);
    crossings += r;
    EXPECT_EQ(IntersectLine(P[1], P[0], P[2], P[3]), r) << i;
    EXPECT_EQ(IntersectLine(P[0], P[1], P[3], P[2]), r) << i;
    EXPECT_EQ(IntersectLine(P[1], P[0], P[3], P[2]), r) << i;
    EXPECT_EQ(IntersectLine(P[2], P[3], P[0], P[1]), r) << i;
    if (r) {
      // A real crossing: the ends of each segment lie on opposite sides of the other.
      EXPECT_LT(P[0].DistPointLine2D(P[2], P[3]) * P[1].DistPointLine2D(P[2], P[3]), 0);
      EXPECT_LT(P[2].DistPointLine2D(P[0], P[1]) * P[3].DistPointLine2D(P[0], P[1]), 0);
    }
  }
  EXPECT_GT(crossings, 1000);
}

TEST(TriangleToLine2D, FirstVertexBehindDecides)
{
  T3dTriangle T;
  T.A = TPoint3D(5, 1, 0);
  T.B = TPoint3D(6, 2, 0);
  T.C = TPoint3D(7, -1, 0);
  const TPoint3D A(0, 0, 0), B(1, 0, 0);
  EXPECT_EQ(TriangleToLine2D(T, A, B), RightLine);
  T.C = TPoint3D(-1, 0, 0);
  EXPECT_EQ(TriangleToLine2D(T, A, B), LeftLine);
  T.A = T.B = T.C = TPoint3D(0, 5, 0); // all on the line: still not OnLine
  EXPECT_EQ(TriangleToLine2D(T, A, B), RightLine);
}

TEST(PlaneIntersectLine, MeetingPointsAndParallels)
{
  const TPoint3D A(0, 0, 2), B(1, 0, 2), C(0, 1, 2);
  TPoint3D R(9, 9, 9);
  ASSERT_EQ(PlaneIntersectLine(A, B, C, TPoint3D(1, 1, 0), TPoint3D(1, 1, 1), R), 1);
  ExpectPoint(R, 1, 1, 2); // beyond the segment X-Y
  R = TPoint3D(9, 9, 9);
  EXPECT_EQ(PlaneIntersectLine(A, B, C, TPoint3D(0, 0, 0), TPoint3D(1, 0, 0), R), 0);
  EXPECT_EQ(PlaneIntersectLine(A, B, C, TPoint3D(3, 3, 3), TPoint3D(3, 3, 3), R), 0);
  ExpectPoint(R, 9, 9, 9);
  // All but parallel: no meeting point within reach rather than an infinite one.
  EXPECT_EQ(PlaneIntersectLine(A, B, C, TPoint3D(0, 0, 0), TPoint3D(1e300, 0, 1e-300), R), 0);
  ExpectPoint(R, 9, 9, 9);
}

} // namespace
