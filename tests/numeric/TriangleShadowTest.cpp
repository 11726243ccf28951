// The spatial triangle: normal, extents, areas, the XY polygon and the two shadow tests.
#include <gtest/gtest.h>

#include <string>

#include "hxcadkit/geometry/Elements.h"
#include "hxcadkit/geometry/Mathemat3d.h"

namespace {

TTriangle3D Tri(double ax, double ay, double bx, double by, double cx, double cy, double z = 0)
{
  return TTriangle3D(TPoint3D(ax, ay, z), TPoint3D(bx, by, z), TPoint3D(cx, cy, z));
}

TEST(TriangleNormal, UnitForProperTriangleRawForDegenerate)
{
  const TVector3D n = TTriangle3D(TPoint3D(0, 0, 0), TPoint3D(2, 0, 0), TPoint3D(0, 3, 0)).Normal();
  EXPECT_DOUBLE_EQ(n.x, 0);
  EXPECT_DOUBLE_EQ(n.y, 0);
  EXPECT_DOUBLE_EQ(n.z, 1);
  const TVector3D z = TTriangle3D(TPoint3D(1, 1, 1), TPoint3D(1, 1, 1), TPoint3D(5, 0, 2)).Normal();
  EXPECT_EQ(z.x, 0);
  EXPECT_EQ(z.y, 0);
  EXPECT_EQ(z.z, 0);
  // Too short to normalise: left as computed.
  const TVector3D tiny = TTriangle3D(TPoint3D(0, 0, 0), TPoint3D(1e-3, 0, 0), TPoint3D(0, 1e-3, 0)).Normal();
  EXPECT_DOUBLE_EQ(tiny.z, 1e-6);
}

TEST(TriangleExtents, GabaritsAndBoxOverlap)
{
  double lo, hi;
  TTriangle3D(TPoint3D(3, -1, 7), TPoint3D(-2, 4, 0), TPoint3D(1, 2, -5)).getGabaritZ(lo, hi);
  EXPECT_EQ(lo, -5);
  EXPECT_EQ(hi, 7);

  EXPECT_TRUE(TTriangle3D::IsCommonLine(2, 0, 1, 5));                                // ends in either order
  EXPECT_TRUE(Tri(0, 0, 10, 0, 0, 10).IsCommonGabarytXY(Tri(10, 0, 20, 0, 10, 10))); // boxes touch
}

TEST(TriangleArea, ProjectionAndParallelogram)
{
  EXPECT_DOUBLE_EQ(SquareTriangle(0, 0, 1, 0, 0, 1), 1.0);
  EXPECT_DOUBLE_EQ(TTriangle3D(TPoint3D(0, 0, 0), TPoint3D(1, 0, 0), TPoint3D(0, 1, 0)).AreaXY(), 0.5);
  // Clockwise and lifted: the area is of the shadow, unsigned.
  EXPECT_DOUBLE_EQ(TTriangle3D(TPoint3D(0, 0, 5), TPoint3D(0, 4, -3), TPoint3D(3, 0, 1)).AreaXY(), 6.0);
}

TEST(TrianglePolygon, OrderFollowsThePointTest)
{
  struct Case
  {
    double cy;
    bool abc;
  } cases[] = {{0.3, false}, {1.0, true}, {-1.0, false}, {0.6, true}};
  TPolyLine P;
  P.Points.Add(TPoint2D(99, 99)); // anything there before is replaced
  for (const Case& c : cases) {
    Tri(0, 0, 10, 0, 5, c.cy, 7).toPolygon(P);
    ASSERT_EQ(P.Points.Count, 3);
    EXPECT_TRUE(P.Closed);
    EXPECT_EQ(P.Points[0].x, 0);
    const TPoint2D second = c.abc ? TPoint2D(10, 0) : TPoint2D(5, c.cy);
    EXPECT_EQ(P.Points[1].x, second.x) << c.cy;
    EXPECT_EQ(P.Points[1].y, second.y) << c.cy;
  }
}

TEST(TriangleText, ThreeVerticesWithTwoDecimals)
{
  const TTriangle3D t(TPoint3D(1, -2.5, 0), TPoint3D(10, 0, 3.126), TPoint3D(0, 100, -7));
  EXPECT_EQ(std::string(TString(t).Utf8Text()),
            "(   1.00 ,   -2.50 ,    0.00)- (  10.00 ,    0.00 ,    3.13)- (   0.00 ,  100.00 ,   -7.00)- ");
}

// Where the 0.5 mm play decides; the exact cases are swept against an exact kernel.
TEST(TriangleOverlapXOY, SeparatingEdges)
{
  struct Case
  {
    const char* what;
    TTriangle3D t1, t2;
    bool overlap;
  } cases[] = {
      // Regressions: a bound of half the squared edge length took these for apart.
      {"identical with a short leg", Tri(0, 0, 10, 0, 0, 6), Tri(0, 0, 10, 0, 0, 6), true},
      {"contained", Tri(1, 1, 4, 1, 1, 4), Tri(0, 0, 10, 0, 0, 10), true},
      {"overlap shallower than the play", Tri(0, 0, 10, 0, 0, 10), Tri(9.8, 0.1, 20, 0, 20, 10), false},
      {"edge shorter than 0.5 separates", Tri(0, 0, 0.3, 0, 0, 0.3), Tri(-5, -5, 5, -5, 0, 5), false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.t1.OverlapXOY(c.t2), c.overlap) << c.what;
    EXPECT_EQ(c.t2.OverlapXOY(c.t1), c.overlap) << c.what << " (swapped)";
  }
}

TEST(TriangleShadowDn, ClippedAreaShare)
{
  const TTriangle3D base(TPoint3D(0, 0, 0), TPoint3D(10, 0, 0), TPoint3D(0, 10, 0));
  struct Case
  {
    const char* what;
    TTriangle3D t;
    bool shadow;
  } cases[] = {
      {"small inside, above", Tri(1, 1, 4, 1, 1, 4, 1), true},
      {"small inside, below", Tri(1, 1, 4, 1, 1, 4, -1), false},
      {"level with the lowest point", Tri(1, 1, 4, 1, 1, 4, 0), false},
      {"area 0.5 is not over 4 % of 50", Tri(1, 1, 2, 1, 1, 2, 1), false},
      {"a share of exactly 4 % is not enough", Tri(4, 4, 8, 4, 4, 8, 1), false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(c.t.T2ShadowDn(base), c.shadow) << c.what;
  // Thin triangles come out of toPolygon clockwise, and a clockwise window clips everything
  // away: a triangle flatter than 0.5 never shadows, not even its own copy.
  EXPECT_FALSE(Tri(0, 1, 10, 1, 5, 1.3, 5).T2ShadowDn(Tri(0, 1, 10, 1, 5, 1.3)));
  EXPECT_TRUE(Tri(0, 1, 10, 1, 5, 2, 5).T2ShadowDn(Tri(0, 1, 10, 1, 5, 2)));
}

} // namespace
