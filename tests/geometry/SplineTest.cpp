// Splines against independent references on random data (fixed seeds): NURBS against De Boor (a
// closed one over its unrolled net), Hermite splines against the cubics of their tangents, Bezier
// pieces against Bernstein sums, derivatives against finite differences; then ill-formed data.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <iterator>
#include <random>
#include <tuple>
#include <vector>

#include "CurveTestUtil.h"
#include "hxcadkit/geometry/Splines.h"

using curvetest::At;
using curvetest::Dist;

namespace {

const auto Finite = [](const TPoint2D& P) { return std::isfinite(P.x) && std::isfinite(P.y); };

// The j-th derivative (the point for j = 0): the NURBS through its weighted spline sums (its
// curve interface keeps the control polygon's derivatives), the Hermite spline through its own.
TVector2D Der(const TNurbs& N, Real t, Integer j)
{
  if (j == 0) return At(N, t);
  N.CalculateSegment(t);
  return N.CalculateSplineWeight(j);
}

TVector2D Der(const THermit& H, Real t, Integer j)
{
  TVector2D V;
  (j == 1 ? H.FirstDer(t, V) : j == 2 ? H.SecondDer(t, V) : H.ThirdDer(t, V));
  return j == 0 ? At(H, t) : V;
}

// Each of the first three derivatives at t against central differences of the one below.
template <class Spline> void ExpectDerivativesAgree(const Spline& S, Real t, Real tol)
{
  const Real h = 1e-5;
  for (Integer j = 1; j <= 3; ++j) {
    const TVector2D D = Der(S, t, j), F = (Der(S, t + h, j - 1) - Der(S, t - h, j - 1)) * (1 / (2 * h));
    ASSERT_NEAR(Dist(D, F), 0, tol * (1 + std::hypot(D.x, D.y))) << "t " << t << " j " << j;
  }
}

// A control net: order, knots, weights (as many as given) and points. A closed net is unrolled:
// its last degree points repeat its first, which the closed curve it makes goes round once.
struct Net
{
  Integer order = 0;
  std::vector<Real> knots, weights;
  std::vector<TPoint2D> points;
  bool closed = false;

  // The curve with Segments and the last knot index as its owner sets them.
  TNurbs Make() const
  {
    TNurbs N;
    N.degree = order;
    N.Closed = closed;
    for (Real u : knots)
      N.knots.Add(u);
    N.uppKnotsIndex = N.knots.Count - 1;
    const std::size_t n = points.size() - (closed ? order - 1 : 0);
    for (std::size_t i = 0; i < n; ++i)
      N.Points.Add(points[i]);
    for (std::size_t i = 0; i < std::min(n, weights.size()); ++i)
      N.weights.Add(weights[i]);
    N.Segments = closed ? N.Points.Count : N.Points.Count - 1;
    return N;
  }
};

// Open: order 1 .. 6, clamped or not, interior knots repeated at most degree times, spans of at
// least 0.05. Closed: order 2 .. 5 round 3 .. 7 points on even knots. Weights 1 unless rational.
Net RandomNet(std::mt19937& rng, bool rational, bool closed)
{
  std::uniform_int_distribution<int> order(1 + closed, 6 - closed), extra(0, 6), round(3, 7), mult(1, 3),
      coin(0, 1);
  std::uniform_real_distribution<Real> coord(-10, 10), weight(0.3, 3), gap(closed ? 0.2 : 0.05, 1.5);
  Net R{order(rng), {}, {}, {}, closed};
  const Integer p = R.order - 1, controls = closed ? std::max(round(rng), p + 1) : p + 1 + extra(rng);
  const Integer count = controls + (closed ? p : 0) + R.order;
  const bool clamped = !closed && coin(rng) == 1;
  const Real h = gap(rng); // the even knot step of a closed net
  for (Real u = coord(rng) / (closed ? 1 : 10); Integer(R.knots.size()) < count; u += closed ? h : gap(rng)) {
    const Integer index = Integer(R.knots.size());
    Integer m = p > 0 && !closed ? std::min(mult(rng), p) : 1;
    if (clamped && (index == 0 || index + R.order >= count)) m = index ? count - index : R.order;
    R.knots.insert(R.knots.end(), std::min(m, count - index), u);
  }
  for (Integer i = 0; i < controls + (closed ? p : 0); ++i) {
    R.points.push_back(i < controls ? TPoint2D{coord(rng), coord(rng)} : R.points[i - controls]);
    R.weights.push_back(i >= controls ? R.weights[i - controls] : rational ? weight(rng) : 1.0);
  }
  return R;
}

// The point at t by De Boor's algorithm on homogeneous coordinates, on the last span of non-zero
// length that starts at or below t.
TPoint2D DeBoor(const Net& R, Real t)
{
  const Integer p = R.order - 1;
  Integer s = Integer(R.knots.size()) - p - 2;
  while (s > p && !(R.knots[s] <= t && R.knots[s] < R.knots[s + 1]))
    --s;
  std::vector<std::array<Real, 3>> d;
  for (Integer i = s - p; i <= s; ++i)
    d.push_back({R.points[i].x * R.weights[i], R.points[i].y * R.weights[i], R.weights[i]});
  for (Integer r = 1; r <= p; ++r)
    for (Integer j = p; j >= r; --j) {
      const Real a = R.knots[j + s - p], alpha = (t - a) / (R.knots[j + 1 + s - r] - a);
      for (int c = 0; c < 3; ++c)
        d[j][c] = (1 - alpha) * d[j - 1][c] + alpha * d[j][c];
    }
  return TPoint2D(d[p][0] / d[p][2], d[p][1] / d[p][2]);
}

// The cubic between two points of a Hermite spline, from its stored parameters and tangents.
TPoint2D HermitReference(const THermit& H, Real t)
{
  Integer i = 0;
  while (i + 1 < H.uppParam && t > H.TParams[i + 1])
    ++i;
  const Integer k = (i + 1) % H.Points.Count;
  const Real dt = H.TParams[i + 1] - H.TParams[i], u = (t - H.TParams[i]) / dt, v = 1 - u;
  return TVector2D(H.Points[i]) * ((1 + 2 * u) * v * v) + H.Vectors[i] * (u * v * v * dt) +
         TVector2D(H.Points[k]) * (u * u * (3 - 2 * u)) + H.Vectors[k] * (u * u * (u - 1) * dt);
}

// A Bezier chain over the points (i, i * i mod 7).
TBezier Chain(Integer pieces, Integer points, bool closed)
{
  TBezier B;
  for (Integer i = 0; i < points; ++i)
    B.Points.Add({Real(i), Real(i * i % 7)});
  B.splinesCount = pieces;
  B.Closed = closed;
  return B;
}

} // namespace

// Points against De Boor at every knot of the domain and at random: an open curve clamps parameters
// outside, a closed one wraps them by the domain and meets itself at its ends with every derivative
// below its degree. Derivatives in the middle of every span against finite differences.
TEST(NurbsProperty, AgreesWithDeBoorAndFiniteDifferences)
{
  std::mt19937 rng(20261206);
  for (int round = 0; round < 600; ++round) {
    const Net R = RandomNet(rng, round % 2 == 1, round % 3 == 2);
    // The knots of the domain, its ends among them, and random places in it.
    std::vector<Real> ts(R.knots.begin() + R.order - 1, R.knots.end() - R.order + 1);
    const Real lo = ts.front(), hi = ts.back(), period = R.closed ? hi - lo : 0;
    if (!(hi > lo)) continue; // a curve of one point: nothing to compare
    std::uniform_real_distribution<Real> at(lo, hi);
    std::generate_n(std::back_inserter(ts), 20, [&] { return at(rng); });
    const TNurbs N = R.Make();
    SCOPED_TRACE(::testing::Message() << "round " << round << " order " << R.order << " closed " << R.closed);
    for (Real t : ts)
      for (Real shift : {0.0, period, -2 * period})
        ASSERT_NEAR(Dist(At(N, t + shift), DeBoor(R, t)), 0, R.closed ? 1e-9 : 1e-12) << t << " " << shift;
    ASSERT_TRUE(R.closed || (At(N, lo - 1) == At(N, lo) && At(N, hi + 1) == At(N, hi)));
    for (Integer j = 0; R.closed && j < R.order - 1 && j <= 3; ++j) {
      const TVector2D A = Der(N, lo, j), B = Der(N, hi - 1e-12, j);
      ASSERT_NEAR(Dist(A, B), 0, 1e-6 * (1 + std::hypot(A.x, A.y))) << "derivative " << j;
    }
    for (std::size_t s = R.order - 1; s + R.order < R.knots.size(); ++s)
      if (R.knots[s + 1] - R.knots[s] >= 0.1) {
        ExpectDerivativesAgree(N, (R.knots[s] + R.knots[s + 1]) / 2, 1e-4);
        if (HasFatalFailure()) return;
      }
  }
}

// The weights of every control point count, also when the owner left Segments at 0. All weights 0
// is no rational curve; a weight function of 0 puts the point at the origin. Copies evaluate alike
// with caches of their own.
TEST(NurbsData, WeightsAndCopies)
{
  TNurbs W = Net{2, {0, 0, 1, 2, 2}, {1, 1, 3}, {{0, 0}, {1, 0}, {2, 0}}}.Make();
  W.Segments = 0;
  EXPECT_TRUE(W.IsRational());
  EXPECT_NEAR(At(W, 1.5).x, 1.75, 1e-14); // (0.5 * 1 * 1 + 0.5 * 3 * 2) / (0.5 + 1.5)
  Net bow{3, {0, 0, 0, 1, 1, 1}, {0, 0, 0}, {{0, 0}, {1, 1}, {2, 0}}};
  EXPECT_TRUE(!bow.Make().IsRational() && At(bow.Make(), 0.5) == TPoint2D(1, 0.5));
  bow.weights = {0, 1, 0};
  EXPECT_EQ(At(bow.Make(), 0), TPoint2D(0, 0));

  auto* N = new TNurbs(Net{3, {0, 0, 0, 1, 2, 2, 2}, {1, 2, 1, 1}, {{0, 0}, {1, 2}, {3, 2}, {4, 0}}}.Make());
  const TPoint2D P = At(*N, 0.75);
  TNurbs copy(*N), assigned;
  assigned = *N;
  delete N;
  EXPECT_TRUE(At(copy, 0.75) == P && At(assigned, 0.75) == P);
}

// Random ill-formed curves, open and closed: NURBS with knots of full multiplicity, flat knot
// vectors, zero, negative and missing weights, any order and last knot index; Bezier chains with
// any count of points and pieces. Points and derivatives stay finite, at any parameter.
TEST(SplineDegenerate, IllFormedDataStaysFinite)
{
  std::mt19937 rng(31);
  std::uniform_int_distribution<int> small(0, 9), grid(0, 2);
  const Real weights[] = {0, -1, 0.5, 1, 3};
  const Integer orders[] = {-3, 0, 1, 2, 3, 4, 0x7FFFFFFF};
  for (int round = 0; round < 2000; ++round) {
    Net R{orders[small(rng) % 7], std::vector<Real>(small(rng)), {}, {}};
    std::generate(R.knots.begin(), R.knots.end(), [&] { return Real(grid(rng)); });
    std::sort(R.knots.begin(), R.knots.end());
    for (int i = small(rng) % 6; i > 0; --i) {
      R.points.push_back({Real(small(rng)), Real(small(rng))});
      if (small(rng) < 9) R.weights.push_back(weights[small(rng) % 5]);
    }
    TNurbs N = R.Make();
    N.uppKnotsIndex = small(rng) < 8 ? N.knots.Count - 1 : small(rng) * 5 - 5;
    N.Segments = small(rng) < 8 ? N.Points.Count - 1 : 0;
    N.Closed = small(rng) < 3;
    const int pieces = small(rng) - 3, points = small(rng) % 8; // drawn in this order on every compiler
    const TBezier B = Chain(pieces, points, small(rng) < 5);
    for (Real t : {-1.0, 0.0, 0.5, 1.0, 1.5, 2.0, 3.0, 1e300, Real(NAN)}) {
      for (Integer j = 0; j <= 3; ++j)
        ASSERT_TRUE(Finite(Der(N, t, j))) << round << " at " << t << " derivative " << j;
      TPoint2D P(9, 9);
      B.PointOn(t, P);
      ASSERT_TRUE(Finite(P)) << round << " chain at " << t;
    }
  }
}

// Hermite splines built point by point, open and closed (round 0 through coinciding points: the
// step after two of them once divided by the zero previous chord): ascending parameters (a closed
// one with one closing span back to the first point), the cubics of its tangents at every point's
// parameter and at random, derivatives that agree with finite differences; an open one clamps
// parameters outside, a closed one wraps them by the period and is smooth at the seam.
TEST(HermitProperty, InterpolatesWithItsTangentCubicsOpenAndClosed)
{
  const TPoint2D coinciding[] = {{0, 0}, {0, 0}, {1, 0}, {1, 0}, {1, 0}, {3, 1}};
  std::mt19937 rng(1606);
  std::uniform_real_distribution<Real> coord(-10, 10);
  std::uniform_int_distribution<int> count(2, 9);
  for (int round = 0; round < 400; ++round) {
    THermit H;
    H.Closed = round % 2 == 1;
    const int n = round == 0 ? 6 : std::max(count(rng), H.Closed ? 3 : 2), spans = H.Closed ? n : n - 1;
    for (int i = 0; i < n; ++i)
      H.AddPoint(round == 0 ? coinciding[i] : TPoint2D{coord(rng), coord(rng)});
    SCOPED_TRACE(::testing::Message() << "round " << round << " points " << n);
    ASSERT_TRUE(H.Points.Count == n && H.TParams.Count == spans + 1);
    for (Integer i = 0; i < spans; ++i) {
      ASSERT_GT(H.TParams[i + 1], H.TParams[i]) << i;
      for (Real f : {0.25, 0.5, 0.8})
        if (H.TParams[i + 1] - H.TParams[i] >= 0.01)
          ExpectDerivativesAgree(H, H.TParams[i] + (H.TParams[i + 1] - H.TParams[i]) * f, 1e-5);
      if (HasFatalFailure()) return;
    }
    const Real lo = H.TParams[0], hi = H.TParams[spans], period = H.Closed ? hi - lo : 0;
    std::vector<Real> ts(&H.TParams[0], &H.TParams[0] + spans + 1);
    std::uniform_real_distribution<Real> at(lo, hi);
    std::generate_n(std::back_inserter(ts), 12, [&] { return at(rng); });
    for (Real t : ts)
      for (Real shift : {0.0, period, -3 * period})
        ASSERT_NEAR(Dist(At(H, t + shift), HermitReference(H, t)), 0, 1e-9) << t << " " << shift;
    const TVector2D A = Der(H, lo, 1), B = Der(H, hi, 1);
    ASSERT_NEAR(H.Closed ? Dist(A, B) : 0, 0, 1e-9 * (1 + std::hypot(A.x, A.y)));
    ASSERT_TRUE(H.Closed || (At(H, lo - 1) == At(H, lo) && At(H, hi + 1) == At(H, hi)));
  }
}

// Without parameters: an empty spline, one of a single point, and points filled in by hand, which
// evaluate as their polyline until a point added through the spline repairs the data.
TEST(HermitDegenerate, EmptySinglePointAndHandFilledData)
{
  THermit empty, one, hand;
  EXPECT_TRUE(Finite(At(empty, 1)) && Finite(Der(empty, 1, 3)));
  one.AddPoint({2, 3});
  EXPECT_EQ(At(one, 10), TPoint2D(2, 3));
  static_cast<TPolyLine&>(hand) = curvetest::Poly({{0, 0}, {2, 0}});
  EXPECT_DOUBLE_EQ(At(hand, 0.5).x, 1);
  hand.AddPoint({4, 0});
  ASSERT_EQ(hand.TParams.Count, 3);
  EXPECT_NEAR(At(hand, hand.TParams[2]).x, 4, 1e-12);
  EXPECT_TRUE(Finite(At(hand, NAN)));
}

// Piece k of a chain takes the control points 3k + 1 .. 3k + 4 (modulo their count) over k .. k + 1;
// the chain's own PointOn brings the parameter into range in place, clamped on an open chain,
// wrapped on a closed one. Any counts of points and pieces and any parameter give finite points.
TEST(Bezier, PiecesFromPoint3kPlus1AndParametersInRange)
{
  // Pieces (negative: none), points, closed, the parameter: the piece's first point, the place on it.
  const std::tuple<int, int, bool, Real, int, Real> rows[] = {
      {2, 8, false, 0.0, 1, 0.0}, {2, 8, false, 0.25, 1, 0.25}, {2, 8, false, 1.0, 4, 0.0},
      {2, 8, false, 1.5, 4, 0.5}, {2, 8, false, 2.0, 4, 1.0},   {2, 8, false, -1.0, 1, 0.0},
      {2, 8, false, 3.0, 4, 1.0}, {2, 8, true, 2.5, 1, 0.5},    {2, 7, true, -0.5, 4, 0.5},
      {-3, 8, false, 0.5, 1, 0.0}};
  for (auto [pieces, points, closed, t, first, w] : rows) {
    const TBezier B = Chain(pieces, points, closed);
    const Real s = 1 - w, b[] = {s * s * s, 3 * s * s * w, 3 * s * w * w, w * w * w};
    TVector2D E;
    for (int i = 0; i < 4; ++i)
      E = E + TVector2D(B.Points[(first + i) % points]) * b[i];
    TPoint2D P;
    Real u = t;
    B.PointOn(u, P);
    EXPECT_NEAR(Dist(P, E), 0, 1e-12) << t;
    EXPECT_NEAR(u, (first - 1) / 3 + w, 1e-12) << t;
  }
}
