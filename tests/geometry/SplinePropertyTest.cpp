// Splines against independent references on random data (fixed seeds): NURBS points against a
// direct De Boor evaluation, the basis functions' partition of unity, and every derivative
// against finite differences of the evaluation one order below.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include "hxcadkit/geometry/Splines.h"

namespace {

struct RandomNurbs
{
  Integer order = 0;
  std::vector<Real> knots, weights;
  std::vector<TPoint2D> points;

  TNurbs Make() const
  {
    TNurbs N;
    N.degree = order;
    for (Real u : knots)
      N.knots.Add(u);
    N.uppKnotsIndex = N.knots.Count - 1;
    for (const TPoint2D& p : points)
      N.Points.Add(p);
    for (Real w : weights)
      N.weights.Add(w);
    N.Segments = N.Points.Count - 1;
    return N;
  }
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

TVector2D NurbsDer(const TNurbs& N, Real t, Integer j)
{
  if (j == 0) {
    TPoint2D P;
    N.PointOn(t, P);
    return TVector2D(P);
  }
  N.CalculateSegment(t);
  return N.CalculateSplineWeight(j);
}

TEST(NurbsProperty, AgreesWithDeBoor)
{
  std::mt19937 rng(20261206);
  for (int round = 0; round < 400; ++round) {
    const bool rational = round % 2 == 1;
    const RandomNurbs R = MakeRandom(rng, rational, 0.05);
    if (!(R.Hi() > R.Lo())) continue; // a curve of one point: nothing to compare
    const TNurbs N = R.Make();
    std::uniform_real_distribution<Real> at(R.Lo(), R.Hi());
    std::vector<Real> ts = {R.Lo(), R.Hi()};
    for (Real u : R.knots)
      if (u >= R.Lo() && u <= R.Hi()) ts.push_back(u);
    for (int i = 0; i < 20; ++i)
      ts.push_back(at(rng));
    for (Real t : ts) {
      TPoint2D P;
      N.PointOn(t, P);
      const TPoint2D E = DeBoor(R, t);
      ASSERT_NEAR(P.x, E.x, 1e-12) << "round " << round << " order " << R.order << " t " << t << " "
                                   << ::testing::PrintToString(R.knots);
      ASSERT_NEAR(P.y, E.y, 1e-12) << "round " << round << " order " << R.order << " t " << t;
    }
    ASSERT_EQ(N.IsRational(), rational && N.wc != nullptr);
  }
}

TEST(BasisProperty, NonNegativeAndSumToOneOnEverySpan)
{
  std::mt19937 rng(7);
  for (int round = 0; round < 300; ++round) {
    const RandomNurbs R = MakeRandom(rng, false, 0.0);
    TAReal knots;
    for (Real u : R.knots)
      knots.Add(u);
    const Integer p = R.order - 1;
    std::vector<double> store(std::size_t(R.order) * R.order);
    std::vector<double*> N(R.order);
    for (Integer i = 0; i < R.order; ++i)
      N[i] = &store[std::size_t(i) * R.order];
    std::uniform_real_distribution<Real> unit(0, 1);
    for (int i = 0; i < 20; ++i) {
      Real t = R.Lo() + (R.Hi() - R.Lo()) * unit(rng);
      const Integer s = KnotIndex(R.order, knots, t);
      ASSERT_GE(s, p);
      ASSERT_LE(s, knots.Count - R.order - 1);
      ASSERT_LE(knots[s], t);
      AllBasisFuns(s, t, p, knots, N.data(), nullptr, nullptr, i % 2 == 0);
      for (Integer j = 0; j <= p; ++j) {
        Real sum = 0;
        for (Integer r = 0; r <= j; ++r) {
          ASSERT_GE(N[r][j], 0) << round << " " << r << " " << j;
          sum += N[r][j];
        }
        ASSERT_NEAR(sum, 1, 1e-13) << round << " degree " << j;
      }
    }
  }
}

TEST(NurbsProperty, DerivativesAgreeWithFiniteDifferences)
{
  std::mt19937 rng(99);
  const Real h = 1e-5;
  for (int round = 0; round < 200; ++round) {
    const RandomNurbs R = MakeRandom(rng, round % 2 == 1, 0.2);
    const TNurbs N = R.Make();
    for (std::size_t s = R.order - 1; s + R.order < R.knots.size(); ++s) {
      const Real a = R.knots[s], b = R.knots[s + 1];
      if (b - a < 0.1) continue;
      const Real t = (a + b) / 2;
      for (Integer j = 1; j <= 3; ++j) {
        const TVector2D D = NurbsDer(N, t, j);
        const TVector2D lo = NurbsDer(N, t - h, j - 1), hi = NurbsDer(N, t + h, j - 1);
        const TVector2D F = (hi - lo) * (1 / (2 * h));
        const Real scale = 1 + std::hypot(D.x, D.y);
        ASSERT_NEAR(D.x, F.x, 1e-4 * scale) << round << " order " << R.order << " j " << j;
        ASSERT_NEAR(D.y, F.y, 1e-4 * scale) << round << " order " << R.order << " j " << j;
      }
      // Beyond the polynomial degree a polynomial curve has no derivative.
      if (R.order <= 3 && !N.IsRational()) {
        const TVector2D Z = NurbsDer(N, t, R.order);
        ASSERT_EQ(Z.x, 0);
        ASSERT_EQ(Z.y, 0);
      }
    }
  }
}

TEST(HermitProperty, InterpolatesAndDerivativesAgreeWithFiniteDifferences)
{
  std::mt19937 rng(4242);
  std::uniform_real_distribution<Real> coord(-10, 10);
  std::uniform_int_distribution<int> count(2, 9);
  const Real h = 1e-5;
  for (int round = 0; round < 200; ++round) {
    THermit H;
    const int n = count(rng);
    for (int i = 0; i < n; ++i)
      H.AddPoint({coord(rng), coord(rng)});
    for (Integer i = 0; i < H.Points.Count; ++i) {
      TPoint2D P;
      H.PointOn(H.TParams[i], P);
      ASSERT_NEAR(P.x, H.Points[i].x, 1e-12);
      ASSERT_NEAR(P.y, H.Points[i].y, 1e-12);
    }
    for (Integer i = 0; i + 1 < H.TParams.Count; ++i) {
      const Real a = H.TParams[i], b = H.TParams[i + 1];
      if (b - a < 0.01) continue;
      for (Real f : {0.25, 0.5, 0.8}) {
        const Real t = a + (b - a) * f;
        TPoint2D p0, p1;
        TVector2D d1, d2, d3, v0, v1, a0, a1;
        H.FirstDer(t, d1);
        H.SecondDer(t, d2);
        H.ThirdDer(t, d3);
        H.PointOn(t - h, p0);
        H.PointOn(t + h, p1);
        H.FirstDer(t - h, v0);
        H.FirstDer(t + h, v1);
        H.SecondDer(t - h, a0);
        H.SecondDer(t + h, a1);
        const Real k = 1 / (2 * h);
        const TVector2D F1 = TVector2D(p0, p1) * k, F2 = (v1 - v0) * k, F3 = (a1 - a0) * k;
        ASSERT_NEAR(d1.x, F1.x, 1e-5 * (1 + d1.Len())) << round;
        ASSERT_NEAR(d1.y, F1.y, 1e-5 * (1 + d1.Len())) << round;
        ASSERT_NEAR(d2.x, F2.x, 1e-5 * (1 + d2.Len())) << round;
        ASSERT_NEAR(d2.y, F2.y, 1e-5 * (1 + d2.Len())) << round;
        ASSERT_NEAR(d3.x, F3.x, 1e-5 * (1 + d3.Len())) << round;
        ASSERT_NEAR(d3.y, F3.y, 1e-5 * (1 + d3.Len())) << round;
      }
    }
  }
}

} // namespace
