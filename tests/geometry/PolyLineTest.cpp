#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>
#include <limits>
#include <vector>

#include "hxcadkit/geometry/Elements.h"
#include "hxcadkit/geometry/SolverInterSect.h"

namespace {

constexpr Real Pi = TMathDef::C_PI;

TPolyLine Poly(std::initializer_list<TPoint2D> pts, Integer segments = -1, bool closed = false)
{
  TPolyLine L;
  for (const TPoint2D& p : pts)
    L.Points.Add(p);
  L.Segments = segments < 0 ? L.Points.Count - 1 : segments;
  L.Closed = closed;
  return L;
}

TPoint2D At(const TCurve2D& c, Real t)
{
  TPoint2D P;
  c.PointOn(t, P);
  return P;
}

TVector2D Der(const TCurve2D& c, Real t)
{
  TVector2D V;
  c.FirstDer(t, V);
  return V;
}

std::vector<TPoint2D> PointsOf(const TPolyLine& L)
{
  std::vector<TPoint2D> v;
  for (const TPoint2D& p : L.Points)
    v.push_back(p);
  return v;
}

std::vector<Real> ValuesOf(const TAReal& A)
{
  std::vector<Real> v;
  for (Real x : A)
    v.push_back(x);
  return v;
}

Real Dist2(const TPoint2D& a, const TPoint2D& b)
{
  return (a.x - b.x) * (a.x - b.x) + (a.y - b.y) * (a.y - b.y);
}

// Equal as cyclic sequences (same order, any starting point).
bool SameCycle(const std::vector<TPoint2D>& a, const std::vector<TPoint2D>& b, Real eps = 1e-12)
{
  if (a.size() != b.size()) return false;
  if (a.empty()) return true;
  for (std::size_t s = 0; s < b.size(); ++s) {
    bool ok = true;
    for (std::size_t i = 0; i < a.size() && ok; ++i) {
      const TPoint2D& q = b[(s + i) % b.size()];
      ok = std::fabs(a[i].x - q.x) <= eps && std::fabs(a[i].y - q.y) <= eps;
    }
    if (ok) return true;
  }
  return false;
}

// A polyline whose curve reports itself closed, as a closed spline does.
class TClosedPolyLine : public TPolyLine
{
public:
  Boolean IsClosed() const override { return true; }
};

// Records what drPolygon asks of a modeller.
struct TLineRecorder
{
  struct Line
  {
    double x1, y1, x2, y2;
    int style;
  };
  std::vector<Line> lines;
  void drLine(const double& x1, const double& y1, const double& x2, const double& y2, int style)
  {
    lines.push_back({x1, y1, x2, y2, style});
  }
};

const TPolyLine Corner = Poly({{0, 0}, {10, 0}, {10, 10}});
const TPolyLine SquareCCW = Poly({{0, 0}, {4, 0}, {4, 4}, {0, 4}}, 4, true);

} // namespace

// --- Evaluation -------------------------------------------------------------------------------

TEST(PolyLineEvaluation, PointOnVerticesAndOutside)
{
  struct Case
  {
    Real t;
    TPoint2D expected;
  } cases[] = {{0, {0, 0}},       {0.5, {5, 0}},
               {1.0, {10, 0}},    {1.5, {10, 5}},
               {2.0, {10, 10}},   {-3, {0, 0}},
               {7, {10, 10}},     {std::nan(""), {0, 0}},
               {1e300, {10, 10}}, {-std::numeric_limits<Real>::infinity(), {0, 0}}};
  for (const Case& c : cases) {
    const TPoint2D P = At(Corner, c.t);
    EXPECT_DOUBLE_EQ(P.x, c.expected.x) << c.t;
    EXPECT_DOUBLE_EQ(P.y, c.expected.y) << c.t;
    TPoint2D R;
    Corner._PointOn(c.t, R);
    EXPECT_EQ(R, P);
  }
  EXPECT_EQ(Corner.GetTMin(), 0);
  EXPECT_EQ(Corner.GetTMax(), 2);
}

TEST(PolyLineEvaluation, ClosedCurveWrapsByPointCount)
{
  TClosedPolyLine L;
  for (const TPoint2D& p : SquareCCW.Points)
    L.Points.Add(p);
  L.Segments = 4;
  // Three parameter units between the first and last point: 4.5 wraps to 1.5.
  EXPECT_EQ(At(L, 4.5), TPoint2D(4, 2));
  EXPECT_EQ(At(L, -0.5), TPoint2D(2, 4));
  EXPECT_EQ(At(L, std::numeric_limits<Real>::infinity()), TPoint2D(0, 4));
}

TEST(PolyLineEvaluation, FirstDerChordAndSmoothedVertex)
{
  const Real s = 10 / std::sqrt(2.0);
  struct Case
  {
    Real t;
    TVector2D expected;
  } cases[] = {{0.5, {10, 0}}, {1.0, {s, s}},  {1.0 + 1e-7, {s, s}}, {1.0 - 1e-7, {s, s}},
               {0, {10, 0}},   {2.0, {0, 10}}, {1.0 + 1e-6, {0, 10}}};
  for (const Case& c : cases) {
    const TVector2D V = Der(Corner, c.t);
    EXPECT_NEAR(V.x, c.expected.x, 1e-12) << c.t;
    EXPECT_NEAR(V.y, c.expected.y, 1e-12) << c.t;
  }
  TVector2D V;
  Corner.SecondDer(1, V);
  EXPECT_EQ(V, TVector2D(0, 0));
  Corner._ThirdDer(1, V);
  EXPECT_EQ(V, TVector2D(0, 0));
}

TEST(PolyLineEvaluation, FirstDerOfClosedPolygonAtTheFirstVertex)
{
  // Incoming edge (0,4)->(0,0) and outgoing (0,0)->(4,0): the bisector of the corner.
  const TVector2D V = Der(SquareCCW, 0);
  EXPECT_NEAR(V.x, 4 / std::sqrt(2.0), 1e-12);
  EXPECT_NEAR(V.y, -4 / std::sqrt(2.0), 1e-12);
  // A reversal has no direction: the zero vector, not NaN.
  const TPolyLine back = Poly({{0, 0}, {1, 0}, {0, 0}});
  const TVector2D Z = Der(back, 1);
  EXPECT_EQ(Z, TVector2D(0, 0));
}

// Operations taken modulo the point count on a polyline without points, also when its owner
// left a segment count behind.
TEST(PolyLineEmpty, ModularOperationsAreGuarded)
{
  for (Integer segments : {0, 3}) {
    TPolyLine L;
    L.Segments = segments;
    L.Set(7, 8);
    EXPECT_EQ(At(L, 0.5), TPoint2D(7, 8));
    EXPECT_EQ(Der(L, 0.5), TVector2D(0, 0));
    EXPECT_EQ(L.PointRelative(TPoint2D(1, 1), 1e-6), tl_Right);
    EXPECT_EQ(L.NearestSegment(TPoint2D(1, 1)), -1);
    Real t = 5;
    L.NearPointProjection(TPoint2D(1, 1), TPoint2D(1e-4, 1e-4), t, false, nullptr);
    EXPECT_EQ(t, 0);
    TAReal A;
    L.InterSectHorizontal(0, A);
    L.InterSectVertical(0, A);
    EXPECT_EQ(A.Count, 0);
    TInterSector IS;
    EXPECT_EQ(L.SelfIntersect(TRegion1D(0, 1), IS, false), 0);
    EXPECT_EQ(L.GetSegment(0), nullptr);
    TRect2D R(1, 2, 3, 4);
    L.Rect(R);
    EXPECT_EQ(R, TRect2D(1, 2, 3, 4));
    EXPECT_EQ(L.Len(), 0);
    EXPECT_EQ(L.OrientationArea(), 0);
    TPolyLine hull;
    L.ConvexHull(hull);
    EXPECT_EQ(hull.Points.Count, 0);
    TCircle c(1, 2, 3);
    L.GetMin(c);
    EXPECT_EQ(c.x, 1);
    EXPECT_EQ(c.Radius, 3);
    TORect2D B;
    B.Width = 5;
    L.GetMin(B);
    EXPECT_EQ(B.Width, 0);
    EXPECT_FALSE(L.IsCircle(c));
    TArc a;
    EXPECT_FALSE(L.IsArc(a));
    TLineSeg S;
    EXPECT_FALSE(L.IsLineSeg(S));
    EXPECT_FALSE(L.CheckVertex(TPoint2D(1, 1)));
    const TPolyLine& cL = L;
    TPolyLine::PointIterator p = cL.Points.begin(), q = cL.Points.begin();
    cL.TwoMaxDistansePoints(p, q);
    EXPECT_FALSE(p != q);
  }
}

TEST(PolyLineCurve, RectOverTheSegmentsVertices)
{
  TRect2D R(1, 1, 1, 1);
  TPolyLine L = Poly({{0, 0}, {5, -1}, {3, 7}}, 0);
  L.Rect(R);
  EXPECT_EQ(R, TRect2D(1, 1, 1, 1)); // no segments: nothing changes
  L.Segments = 3;
  L.Rect(R);
  EXPECT_EQ(R, TRect2D(0, -1, 5, 7));
  EXPECT_EQ(L.Gabaryt, R);
  L.Segments = 2;
  L.Rect(R);
  EXPECT_EQ(R, TRect2D(0, -1, 5, 0));
}

TEST(PolyLineCurve, SegmentsWrapAtTheSegmentCount)
{
  std::unique_ptr<TLineSeg> last(SquareCCW.GetSegment(3));
  ASSERT_TRUE(last);
  EXPECT_EQ(TPoint2D(last->x, last->y), TPoint2D(0, 4));
  EXPECT_EQ(TPoint2D(last->xk, last->yk), TPoint2D(0, 0));
  EXPECT_EQ(SquareCCW.GetSegment(4), nullptr);
  EXPECT_EQ(SquareCCW.GetSegment(-1), nullptr);
  EXPECT_EQ(SquareCCW.NearestSegment(TPoint2D(-1, 2)), 3);
  EXPECT_EQ(SquareCCW.NearestSegment(TPoint2D(2, 2)), 0); // four ties: the first
}

TEST(PolyLineCurve, ProjectionOntoTheNearestSegment)
{
  const TPolyLine& L = SquareCCW;
  struct Case
  {
    TPoint2D P;
    Real t;
  } cases[] = {{{2, -1}, 0.5}, {{5, 2}, 1.5}, {{2, 5}, 2.5}, {{-1, 2}, 3.5}, {{-3, -3}, 0}, {{-1, 5}, 3}};
  for (const Case& c : cases) {
    Real t = -1;
    EXPECT_TRUE(L.NearPointProjection(c.P, TPoint2D(1e-4, 1e-4), t, false, nullptr));
    EXPECT_NEAR(t, c.t, 1e-12) << c.P.x << "," << c.P.y;
  }
  // A window over the second segment only.
  TRegion1D W(1, 2);
  Real t = -1;
  L.NearPointProjection(TPoint2D(2, -1), TPoint2D(1e-4, 1e-4), t, false, &W);
  EXPECT_NEAR(t, 1, 1e-12);
}

TEST(PolyLineCurve, SideOfAPointAroundAPolygon)
{
  struct Case
  {
    TPoint2D P;
    TLocation side;
  } cases[] = {{{2, 2}, tl_Left},    {{2, -1}, tl_Right}, {{2, 0}, tl_On},       {{5, 5}, tl_Right},
               {{-1, -1}, tl_Right}, {{4, 4}, tl_On},     {{3.9, 3.9}, tl_Left}, {{-0.5, 2}, tl_Right}};
  for (const Case& c : cases)
    EXPECT_EQ(SquareCCW.PointRelative(c.P, 1e-6), c.side) << c.P.x << "," << c.P.y;
  // Clockwise order swaps the sides.
  const TPolyLine cw = Poly({{0, 0}, {0, 4}, {4, 4}, {4, 0}}, 4, true);
  EXPECT_EQ(cw.PointRelative(TPoint2D(2, 2), 1e-6), tl_Right);
  EXPECT_EQ(cw.PointRelative(TPoint2D(5, 5), 1e-6), tl_Left);
}

TEST(PolyLineCurve, TextDumpPerPoint)
{
  const TPolyLine L = Poly({{1, 2}, {-3.5, 10}});
  EXPECT_EQ(TString(L), TString("{  (   1.00 ,    2.00), {  (  -3.50 ,   10.00), }"));
  EXPECT_EQ(TString(TPolyLine()), TString("}"));
}

TEST(PolyLineCurve, CopiesKeepKindPointsAndCounts)
{
  TPolyLine L = Poly({{0, 0}, {1, 1}, {2, 0}}, 3, true);
  L.tCalc = 0.5;
  L.Atr = 4;
  std::unique_ptr<TCurve2D> d(L.Duplicate());
  ASSERT_EQ(d->IsType(), tPolyLine);
  const TPolyLine& D = static_cast<const TPolyLine&>(*d);
  EXPECT_EQ(PointsOf(D), PointsOf(L));
  EXPECT_EQ(D.Segments, 3);
  EXPECT_TRUE(D.Closed);
  EXPECT_EQ(D.tCalc, 0.5);
  TPolyLine M;
  M = L;
  EXPECT_EQ(PointsOf(M), PointsOf(L));
  EXPECT_EQ(M.Atr, 4);
  M.Refresh();
  EXPECT_EQ(M.tCalc, -1e300);
  M.tCalc = 1;
  M.ResetTCalc();
  EXPECT_EQ(M.tCalc, -1e300);
}

TEST(PolyLineCurve, FarthestPair)
{
  const TPolyLine L = Poly({{0, 0}, {1, 0}, {5, 5}, {-1, -1}, {5, 5}});
  TPolyLine::PointIterator a = L.Points.begin(), b = L.Points.begin();
  L.TwoMaxDistansePoints(a, b);
  EXPECT_EQ(*a, TPoint2D(5, 5));
  EXPECT_EQ(*b, TPoint2D(-1, -1));
  EXPECT_TRUE(a < b);
  // All coincide: nothing is apart, the iterators stay.
  const TPolyLine same = Poly({{2, 2}, {2, 2}, {2, 2}});
  TPolyLine::PointIterator p = same.Points.begin(), q = same.Points.begin();
  same.TwoMaxDistansePoints(p, q);
  EXPECT_FALSE(p != q);
}

// --- Self crossings ----------------------------------------------------------------------------

// The count of crossings found is returned as it is, never negated; the records name the
// polyline itself (the segments it crossed were temporaries).
TEST(PolyLineSelfIntersect, CountsCrossingsAndRecordsThePolyline)
{
  const TPolyLine bowtie = Poly({{0, 0}, {2, 2}, {2, 0}, {0, 2}}, 4, true);
  TInterSector IS;
  IS.ACrossPoint.Add(TCrossPoint()); // earlier records stay
  const Integer n = bowtie.SelfIntersect(TRegion1D(0, 4), IS, false);
  EXPECT_EQ(n, 5); // four joints and the crossing of the diagonals
  ASSERT_EQ(IS.ACrossPoint.Count, 6);
  bool found = false;
  for (Integer r = 1; r < IS.ACrossPoint.Count; ++r) {
    const TCrossPoint& c = IS.ACrossPoint[r];
    EXPECT_EQ(c.on1.curve, &bowtie);
    EXPECT_EQ(c.on2.curve, &bowtie);
    EXPECT_LT(Dist2(At(bowtie, c.on1.t), c.p), 1e-20);
    if (std::fabs(c.p.x - 1) < 1e-12 && std::fabs(c.p.y - 1) < 1e-12) {
      found = true;
      EXPECT_NEAR(c.on1.t, 0.5, 1e-12);
      EXPECT_NEAR(c.on2.t, 2.5, 1e-12);
    }
  }
  EXPECT_TRUE(found);
  EXPECT_EQ(Poly({{0, 0}, {1, 0}}, 0).SelfIntersect(TRegion1D(0, 1), IS, false), 0);
}

// --- Scans -------------------------------------------------------------------------------------

TEST(PolyLineScan, TriangleAcrossTwoEdgesOnce)
{
  const TPolyLine tri = Poly({{0, 0}, {4, 0}, {2, 4}}, 3, true);
  TAReal A;
  tri.InterSectHorizontal(2, A);
  ASSERT_EQ(A.Count, 2);
  EXPECT_NEAR(A[0], 1.5, 1e-12);
  EXPECT_NEAR(A[1], 2.5, 1e-12);
  tri.InterSectHorizontal(2, A);
  EXPECT_EQ(A.Count, 2);
  TAReal V;
  tri.InterSectVertical(2, V);
  ASSERT_EQ(V.Count, 2);
  EXPECT_NEAR(V[0], 0.5, 1e-12);
  EXPECT_NEAR(V[1], 2.0, 1e-12);
  TAReal none;
  tri.InterSectHorizontal(5, none);
  EXPECT_EQ(none.Count, 0);
}

TEST(PolyLineScan, FlatSegmentsOnTheScanLine)
{
  // (0,0) (2,0) (4,0) (4,3): two flat segments on y = 0, the second after a flat one.
  const TPolyLine L = Poly({{0, 3}, {0, 0}, {2, 0}, {4, 0}, {4, 3}});
  TAReal A;
  L.InterSectHorizontal(0, A);
  EXPECT_EQ(ValuesOf(A), (std::vector<Real>{1, 2, 3}));
  // The vertical scan takes a flat segment only when entered from off the line.
  const TPolyLine U = Poly({{3, 0}, {0, 0}, {0, 2}, {0, 4}, {3, 4}});
  TAReal B;
  U.InterSectVertical(0, B);
  EXPECT_EQ(ValuesOf(B), (std::vector<Real>{1, 3}));
}

// --- Measures ----------------------------------------------------------------------------------

TEST(PolyLineMeasure, LengthAreaCentre)
{
  EXPECT_DOUBLE_EQ(Poly({{0, 0}, {3, 0}, {3, 4}}).Len(), 12);
  EXPECT_EQ(Poly({{5, 5}}).Len(), 0);

  EXPECT_DOUBLE_EQ(Poly({{0, 0}, {1, 0}, {1, 1}, {0, 1}}).OrientationArea(), 1);
  EXPECT_DOUBLE_EQ(Poly({{0, 0}, {0, 1}, {1, 1}, {1, 0}}).OrientationArea(), -1);
  EXPECT_EQ(Poly({{0, 0}, {5, 7}}).OrientationArea(), 0);

  Real x = -1, y = -1, l = -1;
  Poly({{0, 0}, {2, 0}, {2, 2}, {0, 2}}).CenterXYLenCut(x, y, l);
  EXPECT_DOUBLE_EQ(x, 1);
  EXPECT_DOUBLE_EQ(y, 1);
  EXPECT_DOUBLE_EQ(l, 8);
  Poly({{3, 3}}).CenterXYLenCut(x, y, l);
  EXPECT_EQ(x, 0);
  EXPECT_EQ(y, 0);
  EXPECT_EQ(l, 0);
  // Weighted by length: the long side pulls the centre.
  Poly({{0, 0}, {6, 0}, {0, 0}}).CenterXYLenCut(x, y, l);
  EXPECT_DOUBLE_EQ(x, 3);
  EXPECT_DOUBLE_EQ(l, 12);
}

TEST(PolyLineMeasure, NegateSidesAndCrossing)
{
  TPolyLine L = Poly({{1, 2}, {-3, 4}});
  L.Negate();
  EXPECT_EQ(PointsOf(L), (std::vector<TPoint2D>{{-1, -2}, {3, -4}}));

  EXPECT_TRUE(TPolyLine::Inside({0, 1}, {0, 0}, {1, 0}));
  EXPECT_FALSE(TPolyLine::Inside({0, -1}, {0, 0}, {1, 0}));
  EXPECT_FALSE(TPolyLine::Inside({5, 0}, {0, 0}, {1, 0}));
  const TPoint2D X = TPolyLine::InterSection({0, 0}, {4, 4}, {0, 4}, {4, 0});
  EXPECT_NEAR(X.x, 2, 1e-12);
  EXPECT_NEAR(X.y, 2, 1e-12);

  EXPECT_EQ(Relative({0, 0}, {1, 0}, {0, 1}), 1);
  EXPECT_EQ(Relative({0, 0}, {1, 0}, {0, -1}), -1);
  EXPECT_EQ(Relative({0, 0}, {1, 0}, {5, 0}), 0);
  const TPolyLine C = Poly({{0, 0}, {1, 0}});
  EXPECT_FALSE(C.CheckVertex({3, 0}));
  EXPECT_TRUE(C.CheckVertex({3, 1}));
}

TEST(PolyLineDraw, SegmentsAndTheClosingEdge)
{
  struct Case
  {
    TPolyLine L;
    std::size_t lines;
  } cases[] = {{Poly({{0, 0}}, 0, true), 0},
               {Poly({{0, 0}, {1, 0}}, 1, true), 1},
               {Poly({{0, 0}, {1, 0}, {1, 1}}), 2},
               {Poly({{0, 0}, {1, 0}, {1, 1}}, 3, true), 3}};
  for (const Case& c : cases) {
    TLineRecorder rec;
    c.L.drPolygon(rec, 1);
    EXPECT_EQ(rec.lines.size(), c.lines);
  }
  TLineRecorder rec;
  cases[3].L.drPolygon(rec, 2);
  ASSERT_EQ(rec.lines.size(), 3u);
  EXPECT_EQ(rec.lines[1].x1, 1);
  EXPECT_EQ(rec.lines[1].y2, 1);
  // The closing line runs from the first point to the last.
  EXPECT_EQ(rec.lines[2].x1, 0);
  EXPECT_EQ(rec.lines[2].y1, 0);
  EXPECT_EQ(rec.lines[2].x2, 1);
  EXPECT_EQ(rec.lines[2].y2, 1);
  EXPECT_EQ(rec.lines[2].style, 2);
}

// --- Hull, enclosing figures --------------------------------------------------------------------

TEST(PolyLineHull, CornersCounterClockwiseFromTheLowest)
{
  const TPolyLine L = Poly({{2, 2}, {4, 4}, {0, 4}, {4, 0}, {0, 0}, {2, 0}, {4, 2}});
  TPolyLine H;
  H.Points.Add(TPoint2D(9, 9)); // cleared first
  L.ConvexHull(H);
  EXPECT_EQ(PointsOf(H), (std::vector<TPoint2D>{{0, 0}, {4, 0}, {4, 4}, {0, 4}}));
  TPolyLine two;
  Poly({{3, 1}, {1, 1}}).ConvexHull(two);
  EXPECT_EQ(PointsOf(two), (std::vector<TPoint2D>{{3, 1}, {1, 1}}));
  TPolyLine line;
  Poly({{2, 2}, {0, 0}, {1, 1}, {3, 3}}).ConvexHull(line);
  EXPECT_EQ(PointsOf(line), (std::vector<TPoint2D>{{0, 0}, {3, 3}}));
}

TEST(PolyLineMinCircle, SmallSets)
{
  struct Case
  {
    TPolyLine L;
    TPoint2D centre;
    Real radius;
  } cases[] = {
      {Poly({{3, 4}}), {3, 4}, 0},
      {Poly({{3, 4}, {3, 4}, {3, 4}}), {3, 4}, 0},
      {Poly({{0, 0}, {4, 0}, {2, 1}}), {2, 0}, 2}, // obtuse: the long side's diameter
      {Poly({{0, 0}, {4, 0}, {2, 2 * std::sqrt(3.0)}}), {2, 2 / std::sqrt(3.0)}, 4 / std::sqrt(3.0)},
      {Poly({{-1, 0}, {1, 0}, {0, 1}, {0, -1}, {0.2, 0.3}}), {0, 0}, 1},
  };
  for (const Case& c : cases) {
    TCircle g(100, 100, 100);
    g.Atr = 7;
    c.L.GetMin(g);
    EXPECT_NEAR(g.x, c.centre.x, 1e-12);
    EXPECT_NEAR(g.y, c.centre.y, 1e-12);
    EXPECT_NEAR(g.Radius, c.radius, 1e-12);
    TArrayOf<TPoint2D> R;
    TCircle w;
    c.L.MinCircleWelzl(R, c.L.Points.Count, w);
    EXPECT_EQ(R.Count, 0);
    EXPECT_NEAR(w.x, c.centre.x, 1e-12);
    EXPECT_NEAR(w.y, c.centre.y, 1e-12);
    EXPECT_NEAR(w.Radius, c.radius, 1e-12);
  }
  // Welzl of nothing marks the empty result.
  TArrayOf<TPoint2D> R;
  TCircle w(5, 5, 5);
  TPolyLine().MinCircleWelzl(R, 0, w);
  EXPECT_EQ(w.Atr, 1);
  EXPECT_EQ(w.Radius, 0);
}

TEST(PolyLineMinCircle, TriangleSearchResetsTheCurveFields)
{
  const TPolyLine L = Poly({{0, 0}, {4, 0}, {2, 3}});
  TCircle g;
  g.Atr = 7;
  L.GetMin(g);
  EXPECT_EQ(g.Atr, 0);
  EXPECT_NEAR(g.Radius, std::hypot(2.0, 5.0 / 6), 1e-12);
}

// A cluster so small that every triangle counts as flat: the search still ends with a circle
// that holds every point, not with the 1e300 radius it starts from.
TEST(PolyLineMinCircle, TinyClusterStillEnclosed)
{
  const Real h = 1e-3 * std::sqrt(3.0) / 2;
  const TPolyLine L = Poly({{0, 0}, {1e-3, 0}, {0.5e-3, h}});
  TCircle g;
  L.GetMin(g);
  EXPECT_LT(g.Radius, 1e-3);
  for (const TPoint2D& p : L.Points)
    EXPECT_LE(std::hypot(p.x - g.x, p.y - g.y), g.Radius + 1e-15);
}

TEST(PolyLineOrientedBox, AxisAlignedRectangleAndSmallSets)
{
  TORect2D B;
  Poly({{0, 0}, {4, 0}, {4, 2}, {0, 2}}).GetMin(B);
  EXPECT_NEAR(B.xc, 2, 1e-12);
  EXPECT_NEAR(B.yc, 1, 1e-12);
  EXPECT_NEAR(B.Angle, 0, 1e-12);
  EXPECT_NEAR(B.Length, 4, 1e-12);
  EXPECT_NEAR(B.Width, 2, 1e-12);

  // A rectangle turned by 30 degrees is found along one of its sides (the two sides give the
  // same area, so rounding picks either).
  const Real a = Pi / 6, c = std::cos(a), s = std::sin(a);
  auto turned = [&](Real x, Real y) { return TPoint2D(x * c - y * s + 1, x * s + y * c - 2); };
  Poly({turned(0, 0), turned(6, 0), turned(6, 1), turned(3, 0.5), turned(0, 1)}).GetMin(B);
  const bool along = std::fabs(B.Angle - a) < 1e-12;
  EXPECT_TRUE(along || std::fabs(B.Angle - (a + Pi / 2)) < 1e-12) << B.Angle;
  EXPECT_NEAR(B.Length, along ? 6 : 1, 1e-12);
  EXPECT_NEAR(B.Width, along ? 1 : 6, 1e-12);
  EXPECT_NEAR(B.xc, turned(3, 0.5).x, 1e-12);
  EXPECT_NEAR(B.yc, turned(3, 0.5).y, 1e-12);

  Poly({{3, 4}}).GetMin(B);
  EXPECT_EQ(B.xc, 3);
  EXPECT_EQ(B.yc, 4);
  EXPECT_EQ(B.Length, 0);
  EXPECT_EQ(B.Angle, 0);
  // Coinciding points have no edge direction: a box without size at the point.
  Poly({{3, 4}, {3, 4}}).GetMin(B);
  EXPECT_EQ(B.xc, 3);
  EXPECT_EQ(B.Width, 0);
}

// --- Recognition -------------------------------------------------------------------------------

namespace {

TPolyLine OnCircle(TPoint2D c, Real r, std::initializer_list<Real> degrees)
{
  TPolyLine L;
  for (Real d : degrees)
    L.Points.Add(TPoint2D(c.x + r * std::cos(d * Pi / 180), c.y + r * std::sin(d * Pi / 180)));
  return L;
}

} // namespace

TEST(PolyLineRecognition, Circle)
{
  TCircle c;
  EXPECT_FALSE(OnCircle({0, 0}, 5, {0, 72, 144, 216, 288}).IsCircle(c));
  ASSERT_TRUE(OnCircle({1, 2}, 5, {10, 70, 130, 190, 250, 310, 370}).IsCircle(c));
  EXPECT_NEAR(c.x, 1, 1e-12);
  EXPECT_NEAR(c.y, 2, 1e-12);
  EXPECT_NEAR(c.Radius, 5, 1e-12);
  TPolyLine off = OnCircle({0, 0}, 5, {0, 60, 120, 180, 240, 300, 360});
  off.Points[4].x += 1e-3;
  EXPECT_FALSE(off.IsCircle(c));
  TPolyLine open = OnCircle({0, 0}, 5, {0, 60, 120, 180, 240, 300});
  EXPECT_FALSE(open.IsCircle(c));
  EXPECT_FALSE(Poly({{0, 0}, {1, 0}, {2, 0}, {3, 0}, {1, 0}, {0, 0}}).IsCircle(c));
}

// The centre comes from the general three-point construction: a vertical first or second chord
// and a horizontal first chord are ordinary circles, not divisions by zero.
TEST(PolyLineRecognition, CentreOfChordsAlongTheAxes)
{
  struct Case
  {
    std::initializer_list<Real> degrees;
  } cases[] = {
      {{-30, 30, 100, 170, 240, 330}},  // x0 = x1: vertical first chord
      {{20, 160, 200, 250, 300, 380}},  // y0 = y1: horizontal first chord
      {{100, 150, 210, 280, 320, 460}}, // x1 = x2: vertical second chord
  };
  for (const Case& k : cases) {
    const TPolyLine L = OnCircle({3, -2}, 5, k.degrees);
    TCircle c;
    ASSERT_TRUE(L.IsCircle(c));
    EXPECT_NEAR(c.x, 3, 1e-9);
    EXPECT_NEAR(c.y, -2, 1e-9);
    EXPECT_NEAR(c.Radius, 5, 1e-9);
    TArc a;
    ASSERT_TRUE(L.IsArc(a));
    EXPECT_NEAR(a.x, 3, 1e-9);
    EXPECT_NEAR(a.y, -2, 1e-9);
  }
}

TEST(PolyLineRecognition, ArcWithItsSense)
{
  TArc a;
  ASSERT_TRUE(OnCircle({0, 0}, 2, {0, 30, 60, 90}).IsArc(a));
  EXPECT_NEAR(a.Radius, 2, 1e-12);
  EXPECT_NEAR(a.GetA1(), 0, 1e-12);
  EXPECT_NEAR(a.GetA2(), Pi / 2, 1e-12);
  EXPECT_EQ(a.GetSense(), TArc::BackClockWise);
  ASSERT_TRUE(OnCircle({0, 0}, 2, {90, 60, 30, 0}).IsArc(a));
  EXPECT_EQ(a.GetSense(), TArc::ByClockWise);
  EXPECT_NEAR(a.GetA1(), Pi / 2, 1e-12);
  EXPECT_NEAR(a.GetMetricLength(), Pi, 1e-12);
  // Dense points of a small arc are still round.
  ASSERT_TRUE(OnCircle({0, 0}, 0.5, {0, 0.5, 1, 1.5, 2}).IsArc(a));
  EXPECT_NEAR(a.Radius, 0.5, 1e-9);
  EXPECT_FALSE(OnCircle({0, 0}, 2, {0, 30, 60}).IsArc(a));
  EXPECT_FALSE(Poly({{0, 0}, {1, 1}, {2, 2}, {3, 3}}).IsArc(a));
}

TEST(PolyLineRecognition, LineSegment)
{
  TLineSeg S;
  ASSERT_TRUE(Poly({{0, 0}, {1, 0}, {5, 0}, {-2, 0}}).IsLineSeg(S));
  EXPECT_EQ(TPoint2D(S.x, S.y), TPoint2D(-2, 0));
  EXPECT_EQ(TPoint2D(S.xk, S.yk), TPoint2D(5, 0));
  EXPECT_FALSE(Poly({{0, 0}, {1, 0}, {5, 0}, {-2, 0}, {0, 0}}).IsLineSeg(S));
  EXPECT_FALSE(Poly({{0, 0}, {1, 0}, {5, 0.1}}).IsLineSeg(S));
  EXPECT_FALSE(Poly({{0, 0}, {1, 0}}).IsLineSeg(S));
  ASSERT_TRUE(Poly({{1, 1}, {2, 2}, {1.5, 1.5}, {-1, -1}, {0, 0}}).IsLineSeg(S));
  EXPECT_EQ(TPoint2D(S.x, S.y), TPoint2D(-1, -1));
  EXPECT_EQ(TPoint2D(S.xk, S.yk), TPoint2D(2, 2));
}

// --- Clipping ----------------------------------------------------------------------------------

TEST(PolyLineClip, SutherlandHodgman)
{
  const TPolyLine square = Poly({{1, 1}, {3, 1}, {3, 3}, {1, 3}}, 4, true);
  TPolyLine out;
  square.SutherlandHodgman(Poly({{0, 0}, {10, 0}, {10, 10}, {0, 10}}), out);
  EXPECT_TRUE(SameCycle(PointsOf(out), PointsOf(square)));

  square.SutherlandHodgman(Poly({{5, 5}, {6, 5}, {6, 6}, {5, 6}}), out);
  EXPECT_EQ(out.Points.Count, 0);

  // Half of the square lies in the clip.
  square.SutherlandHodgman(Poly({{2, 0}, {10, 0}, {10, 10}, {2, 10}}), out);
  EXPECT_TRUE(SameCycle(PointsOf(out), {{2, 1}, {3, 1}, {3, 3}, {2, 3}}));
  EXPECT_NEAR(out.OrientationArea(), 2, 1e-12);

  // No clip polygon: a copy.
  square.SutherlandHodgman(TPolyLine(), out);
  EXPECT_EQ(PointsOf(out), PointsOf(square));
  EXPECT_EQ(out.Segments, 4);

  // Clipping in place, by itself: the points on the clip's edges come back as crossings.
  TPolyLine self = square;
  self.SutherlandHodgman(self, self);
  EXPECT_TRUE(SameCycle(PointsOf(self), PointsOf(square)));
}
