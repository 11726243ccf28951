#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>
#include <limits>
#include <vector>

#include "CurveTestUtil.h"
#include "hxcadkit/geometry/Splines.h"

using curvetest::At;
using curvetest::Dist;

namespace {

TAReal Reals(std::initializer_list<Real> values)
{
  TAReal a;
  for (Real v : values)
    a.Add(v);
  return a;
}

THermit HermitThrough(std::initializer_list<TPoint2D> pts, bool closed = false)
{
  THermit H;
  H.Closed = closed;
  for (const TPoint2D& p : pts)
    H.AddPoint(p);
  return H;
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
  if (weights.size() == 0)
    for (Integer i = 0; i < N.Points.Count; ++i)
      N.weights.Add(1.0);
  else
    N.weights = Reals(weights);
  return N;
}

// --- Hermite spline ---------------------------------------------------------------------------

TEST(HermitDegenerate, CoincidingPointsKeepParametersFinite)
{
  // Regression: the step after two coinciding points divided by the zero previous chord.
  THermit H = HermitThrough({{0, 0}, {0, 0}, {1, 0}, {1, 0}, {1, 0}, {3, 1}});
  for (Integer i = 0; i < H.TParams.Count; ++i) {
    ASSERT_TRUE(std::isfinite(H.TParams[i])) << i;
    if (i > 0) {
      EXPECT_GT(H.TParams[i], H.TParams[i - 1]) << i;
    }
    ASSERT_TRUE(std::isfinite(H.Vectors[i].x) && std::isfinite(H.Vectors[i].y)) << i;
  }
  for (Real t = -1; t < H.TParams.Last() + 1; t += 0.0625) {
    const TPoint2D P = At(H, t);
    ASSERT_TRUE(std::isfinite(P.x) && std::isfinite(P.y)) << t;
  }
}

TEST(HermitDegenerate, EmptyAndSinglePointAndHandFilledData)
{
  THermit empty;
  TPoint2D P(7, 7);
  TVector2D V(7, 7);
  empty.PointOn(1, P);
  empty.FirstDer(1, V);
  empty.ThirdDer(1, V);
  Real t = 3;
  empty.LocalCoordinate(t);
  empty.LocalCoordinate(5, t);

  THermit one = HermitThrough({{2, 3}});
  P = At(one, 10);
  EXPECT_EQ(P.x, 2);
  EXPECT_EQ(P.y, 3);

  // Points without parameters evaluate as the polyline, and adding a point repairs the data.
  THermit hand;
  hand.Points.Add({0, 0});
  hand.Points.Add({2, 0});
  hand.Segments = 1;
  P = At(hand, 0.5);
  EXPECT_DOUBLE_EQ(P.x, 1);
  hand.AddPoint({4, 0});
  EXPECT_EQ(hand.TParams.Count, 3);
  EXPECT_EQ(hand.Vectors.Count, 3);
  P = At(hand, hand.TParams[2]);
  EXPECT_NEAR(P.x, 4, 1e-12);

  THermit nan = HermitThrough({{0, 0}, {1, 0}, {2, 0}});
  P = At(nan, std::numeric_limits<Real>::quiet_NaN());
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

TPoint2D Cubic(const TBezier& B, Integer first, Real w)
{
  const Integer n = B.Points.Count;
  const Real s = 1 - w;
  const TPoint2D &Q1 = B.Points[first % n], &Q2 = B.Points[(first + 1) % n], &Q3 = B.Points[(first + 2) % n],
                 &Q4 = B.Points[(first + 3) % n];
  return TPoint2D(s * s * s * Q1.x + 3 * s * s * w * Q2.x + 3 * s * w * w * Q3.x + w * w * w * Q4.x,
                  s * s * s * Q1.y + 3 * s * s * w * Q2.y + 3 * s * w * w * Q3.y + w * w * w * Q4.y);
}

TEST(BezierEval, PieceKUsesControlPointsFrom3kPlus1)
{
  const TBezier B = Chain(2, 8);
  struct Case
  {
    Real t;
    Integer first;
    Real w;
  } cases[] = {{0, 1, 0}, {0.25, 1, 0.25}, {1, 4, 0}, {1.5, 4, 0.5}, {2, 4, 1}}; // at 2: point 7, the last
  for (const Case& c : cases) {
    Real t = c.t;
    TPoint2D P;
    B.PointOn(t, P);
    const TPoint2D E = Cubic(B, c.first, c.w);
    EXPECT_NEAR(Dist(P, E), 0, 1e-12) << c.t;
    EXPECT_DOUBLE_EQ(B.w, c.w) << c.t;
    EXPECT_DOUBLE_EQ(B.s, 1 - c.w) << c.t;
  }
}

TEST(BezierDegenerate, FewPointsAndNoPiecesStayInRange)
{
  for (Integer points : {0, 1, 2, 3, 7}) {
    for (Integer pieces : {-3, 0, 1, 2, 5}) {
      const TBezier B = Chain(pieces, points, points % 2 == 1);
      for (Real t : {-1.0, 0.0, 0.5, 3.0, 1e300, std::numeric_limits<Real>::quiet_NaN()}) {
        Real u = t;
        TPoint2D P(9, 9);
        B.PointOn(u, P);
        EXPECT_TRUE(std::isfinite(P.x) && std::isfinite(P.y)) << points << " " << pieces << " " << t;
      }
    }
  }
}

// --- B-spline arithmetic ----------------------------------------------------------------------

TEST(KnotIndexTest, TooFewKnotsOrNoOrderAnswerMinusOne)
{
  const TAReal U = Reals({0, 0, 1, 1});
  const TAReal none;
  struct Case
  {
    Integer k;
    const TAReal* knots;
  } cases[] = {{0, &U}, {-2, &U}, {3, &U}, {1, &none}, {0x7FFFFFFF, &U}};
  for (const Case& c : cases) {
    Real t = 0.5;
    EXPECT_EQ(KnotIndex(c.k, *c.knots, t), -1) << c.k;
    EXPECT_EQ(t, 0.5);
  }
  Real t = 0.5;
  EXPECT_EQ(KnotIndex(2, U, t), 1);
  const TAReal flat = Reals({1, 1, 1, 1, 1, 1});
  t = 7;
  const Integer s = KnotIndex(3, flat, t);
  EXPECT_EQ(s, 2);
  EXPECT_EQ(t, 1);
}

TEST(AllBasisFunsTest, ZeroLengthSpanSharesEvenlyAndOutOfRangeSpanWritesNothing)
{
  const TAReal U = Reals({1, 1, 1, 1, 1, 1});
  std::vector<double> store(9, -7);
  double* N[3] = {&store[0], &store[3], &store[6]};
  AllBasisFuns(2, 1, 2, U, N, nullptr, nullptr, true);
  EXPECT_DOUBLE_EQ(N[0][1], 0.5);
  EXPECT_DOUBLE_EQ(N[1][1], 0.5);
  EXPECT_DOUBLE_EQ(N[0][2] + N[1][2] + N[2][2], 1.0);
  EXPECT_EQ(N[1][0], 1e137);

  std::vector<double> other(9, -7);
  double* M[3] = {&other[0], &other[3], &other[6]};
  AllBasisFuns(4, 1, 2, U, M, nullptr, nullptr, true); // span 4 + degree 2 is past the knots
  AllBasisFuns(1, 1, 2, U, M, nullptr, nullptr, true); // span below the degree
  for (double v : other)
    EXPECT_EQ(v, -7);
}

// --- NURBS ------------------------------------------------------------------------------------

// Evaluation itself is checked against De Boor in SplinePropertyTest; here only the flag and the
// caches it decides.
TEST(NurbsRational, EqualWeightsAreNotRational)
{
  TNurbs N = Nurbs(3, {0, 0, 0, 1, 2, 2, 2}, {{0, 0}, {1, 2}, {3, 2}, {4, 0}}, {2, 2, 2, 2});
  EXPECT_FALSE(N.IsRational());
  At(N, 0.3); // builds the caches
  EXPECT_EQ(N.wc, nullptr);
  ASSERT_NE(N.pk, nullptr);
  EXPECT_EQ(N.pk[0].w, nullptr);
  EXPECT_TRUE(Nurbs(3, {0, 0, 0, 1, 1, 1}, {{1, 0}, {1, 1}, {0, 1}}, {1, 0.5, 1}).IsRational());
}

TEST(NurbsRational, WeightsBeyondTheFirstSegmentsCount)
{
  // Segments left at 0 by the owner: the weights of every control point still count.
  TNurbs N = Nurbs(2, {0, 0, 1, 2, 2}, {{0, 0}, {1, 0}, {2, 0}}, {1, 1, 3});
  N.Segments = 0;
  EXPECT_TRUE(N.IsRational());
  const TPoint2D P = At(N, 1.5); // (0.5 * 1 * 1 + 0.5 * 3 * 2) / (0.5 + 1.5)
  EXPECT_NEAR(P.x, 1.75, 1e-14);
}

TEST(NurbsCaches, CopiesEvaluateAlikeWithTheirOwnCaches)
{
  auto* N = new TNurbs(Nurbs(3, {0, 0, 0, 1, 2, 2, 2}, {{0, 0}, {1, 2}, {3, 2}, {4, 0}}, {1, 2, 1, 1}));
  const TPoint2D P = At(*N, 0.75);
  TNurbs copy(*N);
  TNurbs assigned;
  assigned = *N;
  delete N;
  for (const TNurbs* c : {&copy, &assigned}) {
    const TPoint2D Q = At(*c, 0.75);
    EXPECT_DOUBLE_EQ(Q.x, P.x);
    EXPECT_DOUBLE_EQ(Q.y, P.y);
  }
}

TEST(NurbsDegenerate, UnusableDataGivesTheOriginWithoutCaches)
{
  struct Case
  {
    const char* what;
    TNurbs N;
  };
  std::vector<Case> cases;
  cases.push_back({"order 0", Nurbs(0, {0, 0, 1, 1}, {{1, 1}, {2, 2}})});
  cases.push_back({"negative order", Nurbs(-3, {0, 0, 1, 1}, {{1, 1}, {2, 2}})});
  cases.push_back({"huge order", Nurbs(0x7FFFFFFF, {0, 0, 1, 1}, {{1, 1}, {2, 2}})});
  cases.push_back({"no control points", Nurbs(2, {0, 0, 1, 1}, {})});
  cases.push_back({"too few knots", Nurbs(3, {0, 0, 1, 1}, {{1, 1}, {2, 2}})});
  cases.push_back({"no knots", Nurbs(2, {}, {{1, 1}, {2, 2}})});
  TNurbs past = Nurbs(2, {0, 0, 1, 1}, {{1, 1}, {2, 2}});
  past.uppKnotsIndex = 40;
  cases.push_back({"last knot index past the knots", past});
  for (Case& c : cases) {
    TPoint2D P(5, 5);
    c.N.PointOn(0.5, P);
    EXPECT_EQ(P.x, 0) << c.what;
    EXPECT_EQ(P.y, 0) << c.what;
    EXPECT_EQ(c.N.InitSegments(), 0) << c.what;
    EXPECT_EQ(c.N.nd, nullptr) << c.what;
    Real t = 0.5;
    c.N.CalculateSegment(t);
    const TVector2D D = c.N.CalculateSplineWeight(1);
    EXPECT_EQ(D.x, 0) << c.what;
  }
}

TEST(NurbsDegenerate, RepeatedKnotsAndZeroWeightsStayFinite)
{
  // Knots of full multiplicity inside, a flat knot vector, and zero weights.
  std::vector<TNurbs> curves;
  curves.push_back(Nurbs(3, {0, 0, 0, 1, 1, 1, 2, 2, 2}, {{0, 0}, {1, 1}, {2, 0}, {3, 1}, {4, 0}, {5, 1}}));
  curves.push_back(Nurbs(3, {1, 1, 1, 1, 1, 1}, {{0, 0}, {1, 1}, {2, 0}}));
  curves.push_back(Nurbs(3, {0, 0, 0, 1, 1, 1}, {{0, 0}, {1, 1}, {2, 0}}, {0, 0, 0}));
  curves.push_back(Nurbs(3, {0, 0, 0, 1, 1, 1}, {{0, 0}, {1, 1}, {2, 0}}, {0, 1, 0}));
  curves.push_back(Nurbs(3, {0, 0, 0, 1, 1, 1}, {{0, 0}, {1, 1}, {2, 0}}, {1}));
  curves.push_back(Nurbs(4, {0, 0, 0, 0, 1, 1, 1, 1}, {{0, 0}, {1, 1}, {2, 0}, {3, 3}}, {1, -1, 1, -1}));
  for (std::size_t c = 0; c < curves.size(); ++c) {
    for (Real t : {-1.0, 0.0, 0.5, 1.0, 1.5, 2.0, 3.0, std::numeric_limits<Real>::quiet_NaN()}) {
      const TPoint2D P = At(curves[c], t);
      EXPECT_TRUE(std::isfinite(P.x) && std::isfinite(P.y)) << c << " at " << t;
      Real u = t;
      curves[c].CalculateSegment(u);
      for (Integer j = 1; j <= 3; ++j)
        curves[c].CalculateSplineWeight(j);
    }
  }
  // All weights 0 is no rational curve; a weight function of 0 puts the point at the origin.
  EXPECT_FALSE(curves[2].IsRational());
  const TPoint2D mid = At(curves[2], 0.5);
  EXPECT_DOUBLE_EQ(mid.x, 1);
  const TPoint2D end = At(curves[3], 0);
  EXPECT_EQ(end.x, 0);
  EXPECT_EQ(end.y, 0);
}

} // namespace
