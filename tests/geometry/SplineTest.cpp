// Splines: Hermite, Bezier and NURBS edge cases, then against independent references on random
// data (fixed seeds): NURBS points against a direct De Boor evaluation, and every derivative against
// finite differences of the evaluation one order below; closed splines against their unrolled
// evaluation, closed and smooth at the seam.
#include <gtest/gtest.h>

#include <algorithm>
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

bool Finite(const TPoint2D& P)
{
  return std::isfinite(P.x) && std::isfinite(P.y);
}

// Order, knots, control points and weights, with Segments and the last knot index set as
// the curve's owner would set them.
TNurbs Nurbs(Integer order, const std::vector<Real>& knots, const std::vector<TPoint2D>& pts,
             const std::vector<Real>& weights = {})
{
  TNurbs N;
  N.degree = order;
  for (Real u : knots)
    N.knots.Add(u);
  N.uppKnotsIndex = N.knots.Count - 1;
  for (const TPoint2D& p : pts)
    N.Points.Add(p);
  N.Segments = N.Points.Count - 1;
  for (std::size_t i = 0; i < (weights.size() ? weights.size() : pts.size()); ++i)
    N.weights.Add(weights.size() ? weights[i] : 1.0);
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

// The weights of every control point count, also when the owner left Segments at 0. All weights 0
// is no rational curve; a weight function of 0 puts the point at the origin.
TEST(NurbsWeights, EveryWeightCountsAndZeroWeightsAreNoCurve)
{
  TNurbs W = Nurbs(2, {0, 0, 1, 2, 2}, {{0, 0}, {1, 0}, {2, 0}}, {1, 1, 3});
  W.Segments = 0;
  EXPECT_TRUE(W.IsRational());
  EXPECT_NEAR(At(W, 1.5).x, 1.75, 1e-14); // (0.5 * 1 * 1 + 0.5 * 3 * 2) / (0.5 + 1.5)
  const TNurbs zero = Nurbs(3, {0, 0, 0, 1, 1, 1}, {{0, 0}, {1, 1}, {2, 0}}, {0, 0, 0});
  EXPECT_FALSE(zero.IsRational());
  EXPECT_DOUBLE_EQ(At(zero, 0.5).x, 1);
  EXPECT_EQ(At(Nurbs(3, {0, 0, 0, 1, 1, 1}, {{0, 0}, {1, 1}, {2, 0}}, {0, 1, 0}), 0), TPoint2D(0, 0));
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

// --- Against references ----------------------------------------------------------------------

namespace {


struct RandomNurbs
{
  Integer order = 0;
  std::vector<Real> knots, weights;
  std::vector<TPoint2D> points;

  TNurbs Make() const { return Nurbs(order, knots, points, weights); }
  Real Lo() const { return knots[order - 1]; }
  Real Hi() const { return knots[knots.size() - order]; }
};

// Order 1 .. 6, clamped or not, interior knots repeated at most degree times, spans of at least
// minGap; weights all 1 unless rational.
RandomNurbs MakeRandom(std::mt19937& rng, bool rational, Real minGap)
{
  std::uniform_int_distribution<int> orderDist(1, 6), extraDist(0, 6), multDist(1, 3), coin(0, 1);
  std::uniform_real_distribution<Real> coord(-10, 10), weight(0.3, 3), gap(minGap, 1.5);
  RandomNurbs R;
  R.order = orderDist(rng);
  const Integer p = R.order - 1;
  const Integer controls = R.order + extraDist(rng);
  const Integer count = controls + R.order;
  const bool clamped = coin(rng) == 1;
  Real u = coord(rng) / 10;
  while (Integer(R.knots.size()) < count) {
    Integer mult = 1;
    const Integer index = Integer(R.knots.size());
    if (clamped && (index == 0 || index + R.order >= count))
      mult = index == 0 ? R.order : count - index;
    else if (p > 0)
      mult = std::min<Integer>(multDist(rng), p);
    for (Integer m = 0; m < mult && Integer(R.knots.size()) < count; ++m)
      R.knots.push_back(u);
    u += gap(rng);
  }
  for (Integer i = 0; i < controls; ++i) {
    R.points.emplace_back(coord(rng), coord(rng));
    R.weights.push_back(rational ? weight(rng) : 1.0);
  }
  return R;
}

// The point at t by De Boor's algorithm on homogeneous coordinates.
TPoint2D DeBoor(const RandomNurbs& R, Real t)
{
  const Integer p = R.order - 1;
  const Integer count = Integer(R.knots.size());
  // The last span of non-zero length that starts at or below t.
  Integer s = count - p - 2;
  while (s > p && !(R.knots[s] <= t && R.knots[s] < R.knots[s + 1]))
    --s;
  std::vector<Real> X(p + 1), Y(p + 1), W(p + 1);
  for (Integer j = 0; j <= p; ++j) {
    const Integer i = j + s - p;
    X[j] = R.points[i].x * R.weights[i];
    Y[j] = R.points[i].y * R.weights[i];
    W[j] = R.weights[i];
  }
  for (Integer r = 1; r <= p; ++r)
    for (Integer j = p; j >= r; --j) {
      const Real a = R.knots[j + s - p], b = R.knots[j + 1 + s - r];
      const Real alpha = (t - a) / (b - a);
      X[j] = (1 - alpha) * X[j - 1] + alpha * X[j];
      Y[j] = (1 - alpha) * Y[j - 1] + alpha * Y[j];
      W[j] = (1 - alpha) * W[j - 1] + alpha * W[j];
    }
  return TPoint2D(X[p] / W[p], Y[p] / W[p]);
}

// The j-th derivative (the point for j = 0): the NURBS through its weighted spline sums (its
// curve interface keeps the control polygon's derivatives), the Hermite spline through its own.
TVector2D NurbsDer(const TNurbs& N, Real t, Integer j)
{
  if (j == 0) return curvetest::At(N, t);
  N.CalculateSegment(t);
  return N.CalculateSplineWeight(j);
}

TVector2D HermitDer(const THermit& H, Real t, Integer j)
{
  TVector2D V;
  (j == 1 ? H.FirstDer(t, V) : j == 2 ? H.SecondDer(t, V) : H.ThirdDer(t, V));
  return j == 0 ? curvetest::At(H, t) : V;
}

// Each of the first three derivatives against central differences of the one below.
template <class Der> void ExpectDerivativesAgree(Der der, Real t, Real tol)
{
  const Real h = 1e-5;
  for (Integer j = 1; j <= 3; ++j) {
    const TVector2D D = der(t, j);
    const TVector2D F = (der(t + h, j - 1) - der(t - h, j - 1)) * (1 / (2 * h));
    ASSERT_NEAR(Dist(D, F), 0, tol * (1 + std::hypot(D.x, D.y)))
        << "t " << t << " j " << j;
  }
}

// Points against De Boor, derivatives in the middle of every span against finite differences.
TEST(NurbsProperty, AgreesWithDeBoorAndFiniteDifferences)
{
  std::mt19937 rng(20261206);
  for (int round = 0; round < 400; ++round) {
    const RandomNurbs R = MakeRandom(rng, round % 2 == 1, 0.05);
    if (!(R.Hi() > R.Lo())) continue; // a curve of one point: nothing to compare
    const TNurbs N = R.Make();
    SCOPED_TRACE(::testing::Message() << "round " << round << " order " << R.order);
    std::uniform_real_distribution<Real> at(R.Lo(), R.Hi());
    std::vector<Real> ts = {R.Lo(), R.Hi()};
    for (Real u : R.knots)
      if (u >= R.Lo() && u <= R.Hi()) ts.push_back(u);
    for (int i = 0; i < 20; ++i)
      ts.push_back(at(rng));
    for (Real t : ts) {
      ASSERT_NEAR(Dist(NurbsDer(N, t, 0), DeBoor(R, t)), 0, 1e-12) << "t " << t;
    }
    for (std::size_t s = R.order - 1; s + R.order < R.knots.size(); ++s)
      if (R.knots[s + 1] - R.knots[s] >= 0.1) {
        ExpectDerivativesAgree([&](Real u, Integer j) { return NurbsDer(N, u, j); },
                               (R.knots[s] + R.knots[s + 1]) / 2, 1e-4);
        if (HasFatalFailure()) return;
      }
  }
}

// A closed NURBS takes its control points round: De Boor over the unrolled net (the first degree
// points repeated at the end) on the same knots. With even knots the curve meets itself at the ends
// of its domain with every derivative below its degree, and parameters outside wrap by the domain.
TEST(NurbsProperty, ClosedCurvesAreTheirUnrolledNetAndSmoothAtTheSeam)
{
  std::mt19937 rng(5150);
  std::uniform_int_distribution<int> orderDist(2, 5), countDist(3, 7);
  std::uniform_real_distribution<Real> coord(-10, 10), weight(0.3, 3), step(0.2, 1.5);
  for (int round = 0; round < 200; ++round) {
    RandomNurbs R;
    R.order = orderDist(rng);
    const int n = std::max(countDist(rng), R.order), p = R.order - 1;
    const Real h = step(rng), u0 = coord(rng);
    for (int i = 0; i < n + p + R.order; ++i)
      R.knots.push_back(u0 + i * h);
    for (int i = 0; i < n; ++i) {
      R.points.emplace_back(coord(rng), coord(rng));
      R.weights.push_back(round % 2 ? weight(rng) : 1.0);
    }
    TNurbs N = R.Make();
    N.Closed = true;
    N.Segments = n;
    for (int i = 0; i < p; ++i) { // the unrolled net of the reference
      R.points.push_back(R.points[i]);
      R.weights.push_back(R.weights[i]);
    }
    SCOPED_TRACE(::testing::Message() << "round " << round << " order " << R.order << " points " << n);
    const Real lo = R.Lo(), hi = R.Hi();
    ASSERT_NEAR(hi - lo, n * h, 1e-9);
    std::uniform_real_distribution<Real> at(lo, hi);
    for (int k = 0; k < 12; ++k) {
      const Real t = at(rng);
      const TPoint2D E = DeBoor(R, t);
      for (Real shift : {0.0, hi - lo, -2 * (hi - lo)})
        ASSERT_NEAR(Dist(NurbsDer(N, t + shift, 0), E), 0, 1e-9) << "t " << t << " shift " << shift;
    }
    for (Integer j = 0; j < p && j <= 3; ++j) {
      const TVector2D A = NurbsDer(N, lo, j), B = NurbsDer(N, hi - 1e-12, j);
      ASSERT_NEAR(Dist(A, B), 0, 1e-6 * (1 + std::hypot(A.x, A.y)))
          << "derivative " << j;
    }
  }
}

// The cubic between two points of a Hermite spline, from its stored parameters and tangents.
TPoint2D HermitReference(const THermit& H, Real t)
{
  const Integer n = H.Points.Count;
  Integer i = 0;
  while (i + 1 < H.uppParam && t > H.TParams[i + 1])
    ++i;
  const Real dt = H.TParams[i + 1] - H.TParams[i], u = (t - H.TParams[i]) / dt;
  const TPoint2D &A = H.Points[i], &B = H.Points[(i + 1) % n];
  const TVector2D &VA = H.Vectors[i], &VB = H.Vectors[(i + 1) % n];
  const Real h00 = (1 + 2 * u) * (1 - u) * (1 - u), h10 = u * (1 - u) * (1 - u), h01 = u * u * (3 - 2 * u),
             h11 = u * u * (u - 1);
  return TPoint2D(h00 * A.x + h10 * dt * VA.x + h01 * B.x + h11 * dt * VB.x,
                  h00 * A.y + h10 * dt * VA.y + h01 * B.y + h11 * dt * VB.y);
}

// Hermite splines built point by point, open and closed: ascending parameters (a closed one with
// one closing span back to the first point), every point interpolated, the cubics of its tangents
// everywhere with derivatives that agree with finite differences; a closed one is smooth at the
// seam, and parameters outside wrap by the period.
TEST(HermitProperty, InterpolatesWithItsTangentCubicsOpenAndClosed)
{
  std::mt19937 rng(1606);
  std::uniform_real_distribution<Real> coord(-10, 10);
  std::uniform_int_distribution<int> count(2, 9);
  for (int round = 0; round < 400; ++round) {
    THermit H;
    H.Closed = round % 2 == 1;
    const int n = std::max(count(rng), H.Closed ? 3 : 2), spans = H.Closed ? n : n - 1;
    for (int i = 0; i < n; ++i)
      H.AddPoint({coord(rng), coord(rng)});
    SCOPED_TRACE(::testing::Message() << "round " << round << " points " << n);
    ASSERT_EQ(H.Points.Count, n);
    ASSERT_EQ(H.TParams.Count, spans + 1);
    for (Integer i = 0; i <= spans; ++i) {
      ASSERT_TRUE(i == 0 || H.TParams[i] > H.TParams[i - 1]);
      ASSERT_NEAR(Dist(HermitDer(H, H.TParams[i], 0), H.Points[i % n]), 0, 1e-9) << i;
      if (i < spans && H.TParams[i + 1] - H.TParams[i] >= 0.01)
        for (Real f : {0.25, 0.5, 0.8})
          ExpectDerivativesAgree([&](Real u, Integer j) { return HermitDer(H, u, j); },
                                 H.TParams[i] + (H.TParams[i + 1] - H.TParams[i]) * f, 1e-5);
      if (HasFatalFailure()) return;
    }
    const Real lo = H.TParams[0], hi = H.TParams[spans], period = H.Closed ? hi - lo : 0;
    std::uniform_real_distribution<Real> at(lo, hi);
    for (int k = 0; k < 12; ++k) {
      const Real t = at(rng);
      const TPoint2D E = HermitReference(H, t);
      for (Real shift : {0.0, period, -3 * period})
        ASSERT_NEAR(Dist(HermitDer(H, t + shift, 0), E), 0, 1e-9 * (1 + std::hypot(E.x, E.y))) << "t " << t;
    }
    if (!H.Closed) continue;
    const TVector2D A = HermitDer(H, lo, 1), B = HermitDer(H, hi, 1);
    ASSERT_NEAR(Dist(A, B), 0, 1e-9 * (1 + std::hypot(A.x, A.y)));
  }
}

} // namespace
