// Faults found in the built geometry, each pinned by the case that showed it.
#include <gtest/gtest.h>

#include <cmath>

#include "ContourTestUtil.h"
#include "CurveTestUtil.h"
#include "hxcadkit/geometry/Protector.h"

using namespace contourtest;
using namespace curvetest;

namespace {

// Counts down its own deletion, so a test can see who deleted it.
struct TWatchedContour : TContour
{
  explicit TWatchedContour(bool& gone) : Gone(gone) {}
  ~TWatchedContour() override { Gone = true; }
  bool& Gone;
};

// The distance from P to the nearest member of c, by projection.
double DistanceToContour(const TContour& c, const TPoint2D& P)
{
  double best = 1e300;
  for (Integer i = 0; i < c.Count; ++i)
    best = std::min(best, c[i]->DistanceTo(P));
  return best;
}

} // namespace

// An open polyline (Segments = Points.Count - 1, as the splines set it) has no closing edge.
TEST(Regression, OpenPolylineHasNoClosingEdge)
{
  TPolyLine L;
  for (TPoint2D p : {TPoint2D(0, 0), TPoint2D(10, 0), TPoint2D(10, 10)})
    L.Points.Add(p);
  L.Segments = 2;
  EXPECT_EQ(L.NearestSegment(TPoint2D(10, 5)), 1);
  std::unique_ptr<TLineSeg> s(L.GetSegment(1));
  ASSERT_TRUE(s);
  EXPECT_EQ(s->PointTMax(), TPoint2D(10, 10));
  TRect2D R;
  L.Rect(R);
  EXPECT_EQ(R, TRect2D(0, 0, 10, 10));
  EXPECT_EQ(L.PointRelative(TPoint2D(11, 5), 1e-6), tl_Right);
}

// Reversing an open chain keeps it a chain; a closed one keeps its first member first.
TEST(Regression, ReversedOpenChainIsStillAChain)
{
  TContour c;
  Fill(c, {new TLineSeg(0, 0, 1, 0), new TLineSeg(1, 0, 1, 1), new TLineSeg(1, 1, 2, 1)});
  c.Inverse();
  EXPECT_TRUE(c.IsDirect());
  EXPECT_EQ(c[0]->PointTMin(), TPoint2D(2, 1));
  EXPECT_EQ(c[2]->PointTMax(), TPoint2D(0, 0));
  double t1 = 0.5, t2 = 2.5;
  std::unique_ptr<TCurve2D> back(c.Trimmed(t1, t2, -1));
  ASSERT_TRUE(back);
  EXPECT_TRUE(back->IsDirect());
}

// Offsets of a closed direct contour both ways are direct, closed chains whose pieces lie at
// |d|; at a tangent joint the offset pieces meet and no corner piece comes between them.
TEST(Regression, OffsetsBothWaysAreClosedChains)
{
  TContour square, stadium;
  Square(square, 0, 0, 10);
  Fill(stadium, {new TLineSeg(0, 0, 10, 0), new TArc(10, 5, 5, -TMathDef::C_PI / 2, TMathDef::C_PI / 2),
                 new TLineSeg(10, 10, 0, 10), new TArc(0, 5, 5, TMathDef::C_PI / 2, 3 * TMathDef::C_PI / 2)});
  for (const TContour* src : {&square, &stadium})
    for (double d : {1.0, -1.0}) {
      std::unique_ptr<TContour> off(static_cast<TContour*>(src->Offset(d)));
      ASSERT_TRUE(off);
      EXPECT_TRUE(off->IsDirect()) << d;
      EXPECT_TRUE(off->IsClosed()) << d;
      for (Integer i = 0; i < off->Count; ++i) {
        const TCurve2D* m = (*off)[i];
        if (m->Atr == 1) {
          EXPECT_NEAR(DistanceToContour(*src, At(*m, (m->GetTMin() + m->GetTMax()) / 2)), 1, 1e-9);
        } else {
          const TArc* corner = dynamic_cast<const TArc*>(m);
          ASSERT_TRUE(corner);
          EXPECT_NEAR(corner->Radius, 1, 1e-12);
        }
      }
      if (src == &stadium) {
        EXPECT_EQ(off->CountAt(2), 0u);
      }
    }
}

// A scan line through a vertex where the outline only touches it does not flip the parity.
TEST(Regression, ScanLineThroughATouchingVertex)
{
  auto* zone = new TContour;
  Polygon(*zone, {{0, 0}, {100, 0}, {100, 100}, {50, 50}, {0, 100}});
  EXPECT_TRUE(zone->FoundPoint(20, 50));
  EXPECT_TRUE(zone->FoundPoint(80, 50));
  EXPECT_FALSE(zone->FoundPoint(120, 50));
  EXPECT_TRUE(zone->FoundPoint(50, 50)); // the vertex itself
  EXPECT_FALSE(zone->FoundPoint(50, 70));
  TProtector P;
  P.AddProtectContour(zone);
  EXPECT_FALSE(P.Admissible(20, 50, 5));
  EXPECT_TRUE(P.Admissible(50, 80, 5));
}

// A null or empty zone is refused and stays the caller's.
TEST(Regression, RefusedZoneStaysWithTheCaller)
{
  bool gone = false;
  auto* empty = new TWatchedContour(gone);
  TProtector P;
  P.AddProtectContour(empty);
  EXPECT_EQ(P.Count, 0);
  EXPECT_FALSE(gone);
  delete empty;
  EXPECT_TRUE(gone);
}
