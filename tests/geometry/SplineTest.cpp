#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>
#include <limits>
#include <random>
#include <vector>

#include "CurveTestUtil.h"
#include "hxcadkit/geometry/Splines.h"

using curvetest::At;
using curvetest::Dist;

namespace {

constexpr Real NaN = std::numeric_limits<Real>::quiet_NaN();

TAReal Reals(std::initializer_list<Real> values)
{
  TAReal a;
  for (Real v : values)
    a.Add(v);
  return a;
}

bool Finite(const TPoint2D& P)
{
  return std::isfinite(P.x) && std::isfinite(P.y);
}

// Order, knots, control points and weights, with Segments and the last knot index set as
// the curve's owner would set them.
TNurbs Nurbs(Integer order, std::initializer_list<Real> knots, std::initializer_list<TPoint2D> pts,
             std::initializer_list<Real> weights = {})
{
  TNurbs N;
  N.degree = order;
  N.knots = Reals(knots);
  N.uppKnotsIndex = N.knots.Count - 1;
  for (const TPoint2D& p : pts)
    N.Points.Add(p);
  N.Segments = N.Points.Count - 1;
  for (std::size_t i = 0; i < (weights.size() ? weights.size() : pts.size()); ++i)
    N.weights.Add(weights.size() ? weights.begin()[i] : 1.0);
  return N;
}

} // namespace

// --- Hermite spline ---------------------------------------------------------------------------

// The step after two coinciding points once divided by the zero previous chord.
TEST(HermitDegenerate, CoincidingPointsKeepParametersFinite)
{
  THermit H;
  for (TPoint2D p :
       {TPoint2D(0, 0), TPoint2D(0, 0), TPoint2D(1, 0), TPoint2D(1, 0), TPoint2D(1, 0), TPoint2D(3, 1)})
    H.AddPoint(p);
  for (Integer i = 0; i < H.TParams.Count; ++i) {
    ASSERT_TRUE(std::isfinite(H.TParams[i]) && Finite(TPoint2D(H.Vectors[i].x, H.Vectors[i].y))) << i;
    if (i > 0) {
      EXPECT_GT(H.TParams[i], H.TParams[i - 1]) << i;
    }
  }
  for (Real t = -1; t < H.TParams.Last() + 1; t += 0.0625)
    ASSERT_TRUE(Finite(At(H, t))) << t;
}

TEST(HermitDegenerate, EmptyAndSinglePointAndHandFilledData)
{
  THermit empty;
  TVector2D V;
  At(empty, 1);
  empty.ThirdDer(1, V);

  THermit one;
  one.AddPoint({2, 3});
  EXPECT_EQ(At(one, 10), TPoint2D(2, 3));

  // Points without parameters evaluate as the polyline, and adding a point repairs the data.
  THermit hand;
  hand.Points.Add({0, 0});
  hand.Points.Add({2, 0});
  hand.Segments = 1;
  EXPECT_DOUBLE_EQ(At(hand, 0.5).x, 1);
  hand.AddPoint({4, 0});
  ASSERT_EQ(hand.TParams.Count, 3);
  EXPECT_NEAR(At(hand, hand.TParams[2]).x, 4, 1e-12);
  At(hand, NaN);
}

// --- Bezier chain -----------------------------------------------------------------------------

TBezier Chain(Integer pieces, Integer points, bool closed = false)
{
  TBezier B;
  for (Integer i = 0; i < points; ++i)
    B.Points.Add({Real(i), Real(i * i % 7)});
  B.splinesCount = pieces;
  B.Closed = closed;
  B.Segments = std::max<Integer>(points - 1, 0);
  return B;
}

// The chain's own evaluation, which takes its parameter by reference.
TPoint2D BezierAt(const TBezier& B, Real t)
{
  TPoint2D P(9, 9);
  B.PointOn(t, P);
  return P;
}

TEST(BezierEval, PieceKUsesControlPointsFrom3kPlus1)
{
  const TBezier B = Chain(2, 8);
  // At 2: point 7, the last.
  for (auto [t, first, w] :
       {std::tuple{0.0, 1, 0.0}, {0.25, 1, 0.25}, {1.0, 4, 0.0}, {1.5, 4, 0.5}, {2.0, 4, 1.0}}) {
    const Real s = 1 - w, b[] = {s * s * s, 3 * s * s * w, 3 * s * w * w, w * w * w};
    TPoint2D E(0, 0);
    for (int i = 0; i < 4; ++i)
      E = TPoint2D(E.x + b[i] * B.Points[first + i].x, E.y + b[i] * B.Points[first + i].y);
    EXPECT_NEAR(Dist(BezierAt(B, t), E), 0, 1e-12) << t;
  }
}

TEST(BezierDegenerate, FewPointsAndNoPiecesStayInRange)
{
  for (Integer points : {0, 1, 2, 3, 7})
    for (Integer pieces : {-3, 0, 1, 2, 5})
      for (Real t : {-1.0, 0.0, 0.5, 3.0, 1e300, NaN})
        EXPECT_TRUE(Finite(BezierAt(Chain(pieces, points, points % 2 == 1), t)))
            << points << " " << pieces << " " << t;
}

// --- NURBS ------------------------------------------------------------------------------------

// The weights of every control point count, also when the owner left Segments at 0.
TEST(NurbsRational, WeightsOfEveryControlPointCount)
{
  TNurbs W = Nurbs(2, {0, 0, 1, 2, 2}, {{0, 0}, {1, 0}, {2, 0}}, {1, 1, 3});
  W.Segments = 0;
  EXPECT_TRUE(W.IsRational());
  EXPECT_NEAR(At(W, 1.5).x, 1.75, 1e-14); // (0.5 * 1 * 1 + 0.5 * 3 * 2) / (0.5 + 1.5)
}

TEST(NurbsCaches, CopiesEvaluateAlikeWithTheirOwnCaches)
{
  auto* N = new TNurbs(Nurbs(3, {0, 0, 0, 1, 2, 2, 2}, {{0, 0}, {1, 2}, {3, 2}, {4, 0}}, {1, 2, 1, 1}));
  const TPoint2D P = At(*N, 0.75);
  TNurbs copy(*N), assigned;
  assigned = *N;
  delete N;
  EXPECT_EQ(At(copy, 0.75), P);
  EXPECT_EQ(At(assigned, 0.75), P);
}

// All weights 0 is no rational curve; a weight function of 0 puts the point at the origin.
TEST(NurbsDegenerate, ZeroWeights)
{
  const TNurbs zero = Nurbs(3, {0, 0, 0, 1, 1, 1}, {{0, 0}, {1, 1}, {2, 0}}, {0, 0, 0});
  EXPECT_FALSE(zero.IsRational());
  EXPECT_DOUBLE_EQ(At(zero, 0.5).x, 1);
  EXPECT_EQ(At(Nurbs(3, {0, 0, 0, 1, 1, 1}, {{0, 0}, {1, 1}, {2, 0}}, {0, 1, 0}), 0), TPoint2D(0, 0));
}

// Random ill-formed curves: knots of full multiplicity, flat knot vectors, zero, negative and
// missing weights, any order and last knot index. Points and derivatives stay finite.
TEST(NurbsDegenerate, IllFormedDataStaysFinite)
{
  std::mt19937 rng(31);
  std::uniform_int_distribution<int> small(0, 9), grid(0, 2);
  const Real weights[] = {0, -1, 0.5, 1, 3};
  const Integer orders[] = {-3, 0, 1, 2, 3, 4, 0x7FFFFFFF};
  for (int round = 0; round < 2000; ++round) {
    TNurbs N;
    N.degree = orders[small(rng) % 7];
    std::vector<Real> knots(small(rng));
    for (Real& u : knots)
      u = grid(rng);
    std::sort(knots.begin(), knots.end());
    for (Real u : knots)
      N.knots.Add(u);
    N.uppKnotsIndex = small(rng) < 8 ? N.knots.Count - 1 : small(rng) * 5 - 5;
    for (int i = small(rng) % 6; i > 0; --i) {
      N.Points.Add({Real(small(rng)), Real(small(rng))});
      if (small(rng) < 9) N.weights.Add(weights[small(rng) % 5]);
    }
    N.Segments = small(rng) < 8 ? N.Points.Count - 1 : 0;
    for (Real t : {-1.0, 0.0, 0.5, 1.0, 1.5, 2.0, 3.0, NaN}) {
      ASSERT_TRUE(Finite(At(N, t))) << round << " at " << t;
      Real u = t;
      N.CalculateSegment(u);
      for (Integer j = 1; j <= 3; ++j) {
        const TVector2D D = N.CalculateSplineWeight(j);
        ASSERT_TRUE(Finite(TPoint2D(D.x, D.y))) << round << " at " << t << " derivative " << j;
      }
    }
  }
}
