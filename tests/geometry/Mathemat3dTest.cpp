// Spatial points and the free functions on them: plane and line sides, segment crossings.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "hxcadkit/geometry/Mathemat3d.h"
#include "hxcadkit/numeric/TVector.h"

namespace {

void ExpectPoint(const TPoint3D& p, double x, double y, double z, double eps = 1e-12)
{
  EXPECT_NEAR(p.x, x, eps);
  EXPECT_NEAR(p.y, y, eps);
  EXPECT_NEAR(p.z, z, eps);
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

// The bar is the vector product: right-handed on the axes, perpendicular to both factors,
// as long as the area they span.
TEST(Vector3D, BarIsTheVectorProductAndAxleZDropsZ)
{
  const TVector3D X(1, 0, 0), Y(0, 1, 0), Z(0, 0, 1);
  ExpectPoint(X | Y, 0, 0, 1);
  ExpectPoint(Y | Z, 1, 0, 0);
  ExpectPoint(Z | X, 0, 1, 0);
  const TVector3D a(1, 2, 3), b(-4, 0.5, 2);
  const TVector3D c = a | b;
  EXPECT_NEAR(c * a, 0, 1e-12);
  EXPECT_NEAR(c * b, 0, 1e-12);
  EXPECT_NEAR(c.Len(), a.Len() * b.Len() * std::sin(a.Angle(b)), 1e-12);
  ExpectPoint(a.PerpendicularAxleZ(), 1, 2, 0);
  ExpectPoint(a.PerpendicularAxleZ(), a.NormalComponent(Z).x, a.NormalComponent(Z).y, 0);
}
