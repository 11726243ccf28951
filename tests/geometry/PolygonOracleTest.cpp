// Point in contour, convex hull and polygon clipping against Boost.Geometry on random data.
#include <gtest/gtest.h>

#include <random>

#include "BoostOracle.h"
#include "ContourTestUtil.h"
#include "CurveTestUtil.h"

namespace {

// A simple polygon, concave in general: vertices at sorted random angles about a centre, at
// random distances, on a grid of 1/8 so that many share their y with others.
std::vector<TPoint2D> StarPolygon(std::mt19937& rng, int n, double cx, double cy, double scale)
{
  std::uniform_real_distribution<double> u(0, 1);
  std::vector<double> angles;
  for (int i = 0; i < n; ++i)
    angles.push_back(u(rng) * 2 * TMathDef::C_PI);
  std::sort(angles.begin(), angles.end());
  std::vector<TPoint2D> P;
  for (double a : angles) {
    const double r = scale * (0.2 + u(rng));
    P.emplace_back(std::round((cx + r * std::cos(a)) * 8) / 8, std::round((cy + r * std::sin(a)) * 8) / 8);
  }
  P.erase(std::unique(P.begin(), P.end()), P.end());
  return P;
}

} // namespace

// Half of the points lie level with a vertex, where a scan line passes through a corner.
TEST(PolygonOracle, PointInContourAgreesWithWithin)
{
  std::mt19937 rng(20240611);
  std::uniform_real_distribution<double> u(0, 1);
  int checked = 0, inside = 0, level = 0;
  for (int poly = 0; poly < 500; ++poly) {
    const double scale = 20 + u(rng) * 100;
    const std::vector<TPoint2D> P =
        StarPolygon(rng, 3 + int(u(rng) * 30), (u(rng) - 0.5) * 2000, (u(rng) - 0.5) * 2000, scale);
    if (P.size() < 3) continue;
    TContour c;
    contourtest::Polygon(c, P);
    const oracle::Polygon g = oracle::Make(P);
    if (!oracle::bg::is_valid(g)) continue; // the grid may fold a narrow spike
    const oracle::bg::model::linestring<oracle::Point> outline(g.outer().begin(), g.outer().end());
    for (int k = 0; k < 200; ++k) {
      const TPoint2D& v = P[std::size_t(u(rng) * double(P.size())) % P.size()];
      const double x = v.x + (u(rng) - 0.5) * 3 * scale;
      const double y = k % 2 ? v.y : v.y + (u(rng) - 0.5) * 3 * scale;
      if (oracle::bg::distance(oracle::Point(x, y), outline) < 1e-3) continue;
      const bool expected = oracle::bg::within(oracle::Point(x, y), g);
      ASSERT_EQ(c.FoundPoint(x, y), expected) << "polygon " << poly << " point " << x << ", " << y;
      ++checked;
      inside += expected;
      level += k % 2;
    }
  }
  EXPECT_GT(checked, 95000);
  EXPECT_GT(inside, 15000);
  EXPECT_GT(level, 45000);
}

TEST(PolygonOracle, HullAndClipAreas)
{
  std::mt19937 rng(5);
  std::uniform_real_distribution<double> u(-100, 100);
  for (int trial = 0; trial < 200; ++trial) {
    const int n = 3 + trial;
    TPolyLine L;
    oracle::bg::model::multi_point<oracle::Point> mp;
    for (int i = 0; i < n; ++i) {
      const TPoint2D p(u(rng), u(rng));
      L.Points.Add(p);
      mp.push_back(oracle::Point(p.x, p.y));
    }
    TPolyLine H;
    L.ConvexHull(H);
    oracle::Polygon hull;
    oracle::bg::convex_hull(mp, hull);
    EXPECT_NEAR(H.OrientationArea(), oracle::bg::area(hull), 1e-9) << trial;
    EXPECT_EQ(std::size_t(H.Points.Count) + 1, hull.outer().size()) << trial; // Boost repeats the first
    // Clipped by itself, every edge lies on a clip line, where rounding decides the side: the crossing of
    // two nearly parallel lines once landed far outside both.
    TPolyLine self;
    H.SutherlandHodgman(H, self);
    EXPECT_NEAR(self.OrientationArea(), oracle::bg::area(hull), 1e-9) << trial;
    for (Integer i = 0; i < self.Points.Count; ++i)
      EXPECT_LE(oracle::bg::distance(oracle::Point(self.Points[i].x, self.Points[i].y), hull), 1e-9) << trial;

    // A concave subject clipped by the hull: the clipped area is the area they share.
    const std::vector<TPoint2D> S = StarPolygon(rng, 5 + trial % 20, u(rng) / 2, u(rng) / 2, 80);
    if (!oracle::bg::is_valid(oracle::Make(S))) continue;
    TPolyLine clipped, viaClip = H, unclipped;
    const TPolyLine subject = curvetest::Poly(S, Integer(S.size()), true);
    subject.SutherlandHodgman(H, clipped);
    subject.SutherlandHodgman(viaClip, viaClip);       // the result may take the clip's place
    subject.SutherlandHodgman(TPolyLine(), unclipped); // without a clip polygon, the subject itself
    EXPECT_EQ(curvetest::PointsOf(viaClip), curvetest::PointsOf(clipped)) << trial;
    EXPECT_EQ(curvetest::PointsOf(unclipped), S) << trial;
    EXPECT_EQ(unclipped.Segments, subject.Segments) << trial;
    std::vector<oracle::Polygon> shared;
    oracle::bg::intersection(oracle::Make(S), hull, shared);
    double area = 0;
    for (const oracle::Polygon& g : shared)
      area += oracle::bg::area(g);
    EXPECT_NEAR(clipped.OrientationArea(), area, 1e-9) << trial;
  }
}
