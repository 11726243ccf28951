#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "hxcadkit/numeric/TVector2.h"
#include "tests/numeric/NumericTestUtil.h"

using namespace numtest;

namespace {

// A random n x n matrix with a dominant diagonal (well conditioned), stored as the kind asks.
TMathMatrix WellConditioned(std::mt19937& gen, TSize n, MathMatrixType type)
{
  std::uniform_real_distribution<double> val(-1, 1);
  TMathMatrix m(n, n, type);
  for (TSize i = 0; i < n; ++i)
    for (TSize j = 0; j < n; ++j)
      m(i, j) = (i == j) ? (val(gen) < 0 ? -1 : 1) * (n + 1 + val(gen)) : val(gen);
  return m;
}

// ||A x - b|| / (||A|| ||x|| + ||b||), with A read logically.
double RelativeResidual(const TMathMatrix& A, const TMathVector& x, const TMathVector& b)
{
  TMathVector r(A.Lines);
  A.Multiply(x, r);
  double num = 0;
  for (TSize i = 0; i < A.Lines; ++i)
    num += (r.X[i] - b.X[i]) * (r.X[i] - b.X[i]);
  return std::sqrt(num) / (A.NormaEukl() * x.Norma() + b.Norma());
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Gauss elimination

TEST(LinearGauss, SmallSystems)
{
  TMathMatrix a = Mat(2, 2, {0, 1, 1, 1});
  TMathVector b = Vec({1, 2});
  EXPECT_EQ(TLinearEquations::SolveGauss(a, b, 1e-6), gcBaseCode_Ok);
  EXPECT_EQ(Values(b), (std::vector<double>{1, 1}));
  TMathMatrix none;
  TMathVector empty(0);
  EXPECT_EQ(TLinearEquations::SolveGauss(none, empty, 1e-6), gcBaseCode_Ok);
}

TEST(LinearGauss, SingularSystemsAreUnsolvable)
{
  struct Case
  {
    TSize n;
    std::vector<double> a;
  };
  const Case cases[] = {
      {2, {1, 2, 2, 4}},                // last pivot 0
      {2, {0, 0, 0, 1}},                // zero column, no row to exchange with
      {3, {1, 1, 1, 1, 1, 1, 0, 0, 1}}, // zero middle pivot after elimination
      {2, {1e-9, 0, 0, 1e-9}},          // below epsilon / (n + 1)
      {2, {std::nan(""), 1, 1, 1}},     // a NaN pivot is no pivot
      {2, {1, 1, 1, std::nan("")}},     // NaN last pivot
  };
  for (const Case& c : cases) {
    TMathMatrix a(c.n, c.n, mt_GENERAL);
    for (TSize i = 0; i < c.n * c.n; ++i)
      a(i / c.n, i % c.n) = c.a[size_t(i)];
    TMathVector b(c.n, 1.0);
    EXPECT_EQ(TLinearEquations::SolveGauss(a, b, 1e-6), gcBaseCode_Unsolvable) << c.a[0] << " " << c.n;
  }
}

TEST(LinearGauss, ZeroPivotUnsolvableWhateverEpsilon)
{
  for (double eps : {0.0, -1.0})
    for (const TMathMatrix& m : {Mat(2, 2, {0, 0, 0, 1}), Mat(2, 2, {1, 1, 1, 1})}) {
      TMathMatrix a(m);
      TMathVector b = Vec({1, 1});
      EXPECT_EQ(TLinearEquations::SolveGauss(a, b, eps), gcBaseCode_Unsolvable) << eps;
    }
}

TEST(LinearGauss, NoRowExchangeOnTriangleKindsIsUnsolvable)
{
  // Exchanging only the right-hand side would return the solution of another system.
  TMathMatrix a = Mat(2, 2, {0, 0, 1, 1}, mt_LEFT);
  TMathMatrix d(2, 2, mt_DIAGONAL);
  d(1, 1) = 1.0;
  for (TMathMatrix* m : {&a, &d}) {
    TMathVector b = Vec({1, 2});
    EXPECT_EQ(TLinearEquations::SolveGauss(*m, b, 1e-6), gcBaseCode_Unsolvable);
    EXPECT_EQ(Values(b), (std::vector<double>{1, 2}));
  }
}

TEST(LinearGauss, TooSmallOperandsAreAnError)
{
  TMathMatrix a = Mat(2, 2, {1, 0, 0, 1});
  TMathVector b = Vec({1});
  EXPECT_EQ(TLinearEquations::SolveGauss(a, b, 1e-6), gcBaseCode_Error);
  TMathMatrix wide(1, 2, mt_GENERAL);
  TMathVector b2 = Vec({1, 1});
  EXPECT_EQ(TLinearEquations::SolveGauss(wide, b2, 1e-6), gcBaseCode_Error);
}

TEST(LinearGauss, SmallPivotTakenWithoutExchange)
{
  // 1e-4 is above the search threshold, so the row stays; the solution is still close.
  TMathMatrix a = Mat(2, 2, {1e-4, 1, 1, 1});
  TMathVector b = Vec({1, 2});
  EXPECT_EQ(TLinearEquations::SolveGauss(a, b, 1e-12), gcBaseCode_Ok);
  EXPECT_NEAR(b.X[0], 1.0001000100010001, 1e-9);
  EXPECT_NEAR(b.X[1], 0.99989998999899990, 1e-9);
}

TEST(LinearGauss, RandomWellConditionedSystems)
{
  std::mt19937 gen(122);
  std::uniform_int_distribution<int> dim(1, 30);
  for (int trial = 0; trial < 60; ++trial) {
    const TSize n = dim(gen);
    const TMathMatrix a = WellConditioned(gen, n, trial % 2 ? mt_GENERAL : mt_ORTHOGONAL);
    const TMathVector b = RandomVector(gen, n);
    TMathMatrix work(a);
    TMathVector x(b);
    ASSERT_EQ(TLinearEquations::SolveGauss(work, x, 1e-10), gcBaseCode_Ok) << trial;
    EXPECT_LT(RelativeResidual(a, x, b), 1e-10) << trial;
  }
}

TEST(LinearGauss, RandomSystemsNeedingExchanges)
{
  // Rows of a dominant-diagonal matrix moved one place down: every diagonal element is zero,
  // which forces the pivot search on every step.
  std::mt19937 gen(1221);
  std::uniform_real_distribution<double> val(-1, 1);
  for (int trial = 0; trial < 40; ++trial) {
    const TSize n = 2 + trial % 12;
    TMathMatrix a(n, n, mt_GENERAL);
    for (TSize i = 0; i < n; ++i) {
      const TSize row = (i + 1) % n;
      for (TSize j = 0; j < n; ++j)
        a(row, j) = (i == j) ? n + 1.0 : (j == row ? 0.0 : 0.1 * val(gen));
    }
    const TMathVector b = RandomVector(gen, n);
    TMathMatrix work(a);
    TMathVector x(b);
    ASSERT_EQ(TLinearEquations::SolveGauss(work, x, 1e-10), gcBaseCode_Ok) << trial;
    EXPECT_LT(RelativeResidual(a, x, b), 1e-10) << trial;
  }
}

// ---------------------------------------------------------------------------------------------
// Triangular solves

TEST(LinearTriangle, ZeroPivotsAreSkippedOrStopTheSolve)
{
  TMathVector y = Vec({3, 7});
  EXPECT_EQ(TLinearEquations::SolveRightUpTriangle(Mat(2, 2, {2, 1, 0, 0}, mt_RIGHT), y), 1);
  EXPECT_EQ(Values(y), (std::vector<double>{-2, 7}));

  y = Vec({4, 9, 9});
  EXPECT_EQ(TLinearEquations::SolveLeftDnTriangle(Mat(3, 3, {2, 0, 0, 5, 0, 0, 1, 1, 1}, mt_LEFT), y), 1);
  EXPECT_EQ(Values(y), (std::vector<double>{2, 9, 9}));

  // The transposed solve stops at the pivot too, but reports every row as counted.
  y = Vec({4, 5, 6});
  const TMathMatrix r = Mat(3, 3, {2, 1, 1, 0, 0, 1, 0, 0, 1}, mt_RIGHT);
  EXPECT_EQ(TLinearEquations::SolveLeftDnTriangleAsRightUpTransponate(r, y), 3);
  EXPECT_EQ(Values(y), (std::vector<double>{2, 5, 6}));
}

TEST(LinearTriangle, ShortRightHandSideIsNotOverrun)
{
  const TMathMatrix r = Mat(3, 3, {1, 1, 1, 0, 1, 1, 0, 0, 1}, mt_RIGHT);
  TMathVector y = Vec({1, 1});
  EXPECT_EQ(TLinearEquations::SolveRightUpTriangle(r, y), 2);
  EXPECT_EQ(TLinearEquations::SolveLeftDnTriangle(r, y), 2);
  EXPECT_EQ(TLinearEquations::SolveLeftDnTriangleAsRightUpTransponate(r, y), 3);
}

// ---------------------------------------------------------------------------------------------
// L D L^T

TEST(LinearLDLT, TwoByTwo)
{
  TMathMatrix a = Mat(2, 2, {4, 2, 2, 3});
  TMathMatrix l(2, 2, mt_LEFT), d(2, 2, mt_DIAGONAL);
  EXPECT_EQ(LR_LD(a, l, d), 0);
  EXPECT_EQ(MaxDiff(l, Mat(2, 2, {1, 0, 0.5, 1})), 0.0);
  EXPECT_EQ(MaxDiff(d, Mat(2, 2, {4, 0, 0, 2})), 0.0);
}

TEST(LinearLDLT, ZeroPivotIsReportedApartFromSuccess)
{
  struct Case
  {
    TMathMatrix a;
    TSize code; // step + 1
  };
  const Case cases[] = {
      {Mat(2, 2, {0, 1, 1, 1}), 1}, // zero pivot at step 0 must not read as success
      {Mat(2, 2, {1, 1, 1, 1}), 2},
      {Mat(2, 2, {1, 2, 2, 4}), 2},
  };
  for (const Case& c : cases) {
    TMathMatrix a(c.a), l(2, 2, mt_LEFT), d(2, 2, mt_DIAGONAL);
    EXPECT_EQ(LR_LD(a, l, d), c.code);
    TMathMatrix inPlace(c.a), d2(2, 2, mt_DIAGONAL);
    EXPECT_EQ(LR_LD(inPlace, d2), c.code);
  }
}

TEST(LinearLDLT, FactorsAreCreatedWhenTooSmall)
{
  TMathMatrix a = Mat(2, 2, {4, 2, 2, 3});
  TMathMatrix l, d;
  EXPECT_EQ(LR_LD(a, l, d), 0);
  EXPECT_EQ(l.Type, mt_LEFT);
  EXPECT_EQ(d.Type, mt_DIAGONAL);
  EXPECT_EQ(d(1, 1), 2.0);
  TMathMatrix empty, l2, d2;
  EXPECT_EQ(LR_LD(empty, l2, d2), 0);
}

TEST(LinearLDLT, RandomSymmetricSystems)
{
  std::mt19937 gen(1223);
  std::uniform_int_distribution<int> dim(1, 20);
  for (int trial = 0; trial < 40; ++trial) {
    const TSize n = dim(gen);
    TMathMatrix a = WellConditioned(gen, n, mt_GENERAL);
    for (TSize i = 0; i < n; ++i)
      for (TSize j = 0; j < i; ++j)
        a(i, j) = a(j, i);
    TMathMatrix l(n, n, mt_LEFT), d(n, n, mt_DIAGONAL);
    ASSERT_EQ(LR_LD(a, l, d), 0) << trial;
    const TMathMatrix lt = Transposed(l);
    EXPECT_LE(MaxDiff((l * d) * lt, a), 1e-12 * n) << trial;

    // Solving through the factors: L y = b, D z = y, L^T x = z.
    const TMathVector b = RandomVector(gen, n);
    TMathVector x(b);
    ASSERT_EQ(TLinearEquations::SolveLeftDnTriangle(l, x), n);
    for (TSize i = 0; i < n; ++i)
      x.X[i] /= d(i, i);
    ASSERT_EQ(TLinearEquations::SolveRightUpTriangle(lt, x), n);
    EXPECT_LT(RelativeResidual(a, x, b), 1e-10);

    // In place on the lower triangle gives the same factors.
    TMathMatrix inPlace(a), d2;
    ASSERT_EQ(LR_LD(inPlace, d2), 0);
    EXPECT_LE(MaxDiff(d2, d), 1e-12);
    for (TSize i = 0; i < n; ++i)
      for (TSize j = 0; j <= i; ++j)
        EXPECT_NEAR(inPlace(i, j), l(i, j), 1e-12);
  }
}

// ---------------------------------------------------------------------------------------------
// LU bordering

namespace {

struct TRaw
{
  std::vector<std::vector<double>> rows;
  std::vector<double*> ptr;
  explicit TRaw(size_t n) : rows(n, std::vector<double>(n, 0.0))
  {
    for (auto& r : rows)
      ptr.push_back(r.data());
  }
  double** p() { return ptr.data(); }
};

} // namespace

TEST(LinearLUBordering, PivotAtToleranceIsRejected)
{
  TRaw m(2), lu(2);
  m.rows = {{2, 1}, {4, 3}};
  lu.rows[0][0] = 2; // the 1 x 1 factor of the leading block
  // New pivot: 3 - 2 * 1 = 1.
  EXPECT_FALSE(addrow_lu(m.p(), lu.p(), 1, 1.0, 0.0));
  EXPECT_EQ(lu.rows[1][1], 1e-20);
  EXPECT_TRUE(addrow_lu(m.p(), lu.p(), 1, 0.5, 0.0));
  EXPECT_EQ(lu.rows[1][1], 1.0);

  // A zero earlier pivot, or no matrix at all.
  TRaw zero(2), luZero(2);
  zero.rows = {{0, 1}, {1, 1}};
  EXPECT_FALSE(addrow_lu(zero.p(), luZero.p(), 1, 1e-12, 0.0));
  EXPECT_FALSE(addrow_lu(nullptr, luZero.p(), 1, 1e-12, 0.0));
}

TEST(LinearLUBordering, GrownFactorSolvesRandomSystems)
{
  std::mt19937 gen(1224);
  std::uniform_int_distribution<int> dim(1, 20);
  for (int trial = 0; trial < 40; ++trial) {
    const TSize n = dim(gen);
    const TMathMatrix a = WellConditioned(gen, n, mt_GENERAL);
    TRaw m(static_cast<size_t>(n)), lu(static_cast<size_t>(n));
    for (TSize i = 0; i < n; ++i)
      for (TSize j = 0; j < n; ++j)
        m.rows[size_t(i)][size_t(j)] = a(i, j);
    for (int k = 0; k < n; ++k)
      ASSERT_TRUE(addrow_lu(m.p(), lu.p(), k, 1e-12, 0.0)) << trial << " " << k;
    TMathMatrix l(n, n, mt_LEFT), u(n, n, mt_RIGHT);
    for (TSize i = 0; i < n; ++i)
      for (TSize j = 0; j < n; ++j)
        (j < i ? l : u)(i, j) = lu.rows[size_t(i)][size_t(j)];
    for (TSize i = 0; i < n; ++i)
      l(i, i) = 1.0;
    const TMathVector b = RandomVector(gen, n);
    TMathVector x(b);
    ASSERT_EQ(TLinearEquations::SolveLeftDnTriangle(l, x), n);
    ASSERT_EQ(TLinearEquations::SolveRightUpTriangle(u, x), n);
    EXPECT_LT(RelativeResidual(a, x, b), 1e-10) << trial;
  }
}

// ---------------------------------------------------------------------------------------------
// Inverse of an upper triangle

TEST(LinearInverse, ZeroDiagonalStopsWithRowsBelowInverted)
{
  for (bool sparse : {false, true}) {
    TMathMatrix r = Mat(3, 3, {1, 2, 3, 0, 0, 5, 0, 0, 4}, mt_RIGHT);
    EXPECT_FALSE(sparse ? inv_srmat(r, nullptr, 0.0) : inv_rmat(r));
    EXPECT_EQ(r(2, 2), 0.25);
    EXPECT_EQ(r(1, 2), 5.0);
    EXPECT_EQ(r(0, 0), 1.0);
  }
  TMathMatrix empty;
  EXPECT_TRUE(inv_rmat(empty));
  EXPECT_TRUE(inv_srmat(empty, nullptr, 0.0));
}

TEST(LinearInverse, RandomTrianglesTimesInverseGiveIdentity)
{
  std::mt19937 gen(1225);
  std::uniform_int_distribution<int> dim(1, 20);
  std::uniform_real_distribution<double> u01(0, 1);
  for (int trial = 0; trial < 60; ++trial) {
    const TSize n = dim(gen);
    TMathMatrix r = WellConditioned(gen, n, mt_RIGHT);
    // Some exact zeros above the diagonal exercise the sparse variant's skipping.
    for (TSize i = 0; i < n; ++i)
      for (TSize j = i + 1; j < n; ++j)
        if (u01(gen) < 0.4) r(i, j) = 0.0;
    const bool sparse = trial % 2;
    TMathMatrix inv(r);
    std::vector<int> idx(static_cast<size_t>(n));
    ASSERT_TRUE(sparse ? inv_srmat(inv, idx.data(), 0.0) : inv_rmat(inv));
    EXPECT_LE(MaxDiff(r * inv, Identity(n)), 1e-12) << trial;
    EXPECT_LE(MaxDiff(inv * r, Identity(n)), 1e-12) << trial;
  }
}

TEST(LinearInverse, SparseThresholdDropsNegligibleEntries)
{
  TMathMatrix r = Mat(2, 2, {1, 1e-9, 0, 1}, mt_RIGHT), exact(r);
  EXPECT_TRUE(inv_srmat(r, nullptr, 1e-6));
  EXPECT_EQ(r(0, 1), 0.0);
  EXPECT_TRUE(inv_rmat(exact));
  EXPECT_EQ(exact(0, 1), -1e-9);
}

// ---------------------------------------------------------------------------------------------
// In-place products

TEST(LinearProducts, MatchOrdinaryProducts)
{
  std::mt19937 gen(1226);
  std::uniform_int_distribution<int> dim(1, 9);
  std::uniform_real_distribution<double> u01(0, 1);
  for (int trial = 0; trial < 40; ++trial) {
    const TSize n = dim(gen);
    TMathMatrix q = WellConditioned(gen, n, mt_GENERAL), a = WellConditioned(gen, n, mt_GENERAL);
    for (TSize i = 0; i < n; ++i)
      for (TSize j = 0; j < n; ++j) {
        if (u01(gen) < 0.3) q(i, j) = 0.0;
        if (u01(gen) < 0.3) a(i, j) = 0.0;
      }
    const TMathMatrix qa = q * a;
    TMathVector v(0);
    std::vector<int> idx(static_cast<size_t>(n));

    TMathMatrix p1(q), p2(q), p3(q), p4(a), p5(q);
    prod_mat(p1, a, v, false);
    EXPECT_TRUE(p1.Check(qa));
    prod_mat(p2, a, v, true);
    EXPECT_TRUE(p2.Check(q - qa));
    prod_sm_dm(p3, a, v, idx.data(), 0.0);
    EXPECT_TRUE(p3.Check(qa));
    prod_dm_sm(q, p4, v, nullptr, 0.0);
    EXPECT_TRUE(p4.Check(qa));

    const TMathMatrix r = WellConditioned(gen, n, mt_RIGHT);
    TMathMatrix rg(r);
    rg.Type = mt_GENERAL;
    prod_rmat(p5, r, v);
    EXPECT_TRUE(p5.Check(q * rg));
  }
}

// ---------------------------------------------------------------------------------------------
// Mismatched shapes and non-finite values never read or write out of bounds (the sanitizer
// build checks this).

TEST(LinearDegenerate, MismatchedShapesAndNonFiniteValuesStayInBounds)
{
  const double specials[] = {0.0, 1.0, -2.0, std::nan(""), INFINITY, 1e-300, 1e300};
  const MathMatrixType kinds[] = {mt_GENERAL, mt_ORTHOGONAL, mt_RIGHT, mt_LEFT, mt_DIAGONAL, mt_BANDED};
  std::mt19937 gen(12);
  std::uniform_int_distribution<int> dim(0, 4), pick(0, 6), kind(0, 5);
  auto make = [&](TSize l, TSize c) {
    TMathMatrix m(l, c, kinds[kind(gen)]);
    for (TSize i = 0; i < l; ++i)
      for (TSize k = 0; k < m[i].N; ++k)
        m[i].X[k] = specials[pick(gen)];
    return m;
  };
  auto vec = [&](TSize n) {
    TMathVector v(n);
    for (TSize i = 0; i < n; ++i)
      v.X[i] = specials[pick(gen)];
    return v;
  };
  for (int trial = 0; trial < 400; ++trial) {
    TMathMatrix a = make(dim(gen), dim(gen)), b = make(dim(gen), dim(gen));
    TMathVector x = vec(dim(gen)), y = vec(dim(gen));

    TMathMatrix g(a);
    TMathVector r(x);
    const TSize code = TLinearEquations::SolveGauss(g, r, 1e-6);
    EXPECT_TRUE(code == gcBaseCode_Ok || code == gcBaseCode_Unsolvable || code == gcBaseCode_Error);
    TLinearEquations::SolveLeftDnTriangle(a, x);
    TLinearEquations::SolveLeftDnTriangleAsRightUpTransponate(a, y);
    TLinearEquations::SolveRightUpTriangle(b, x);

    TMathMatrix l1(b), d1 = make(dim(gen), dim(gen)), l2 = make(dim(gen), dim(gen));
    LR_LD(a, l2, d1);
    LR_LD(l1, d1);
    TMathMatrix inv(a), sinv(b);
    inv_rmat(inv);
    inv_srmat(sinv, nullptr, 1e-12);

    TMathVector work(dim(gen));
    TMathMatrix q = make(dim(gen), dim(gen));
    prod_mat(q, b, work, trial % 2);
    prod_sm_dm(q, b, work, nullptr, 0.0);
    prod_dm_sm(b, q, work, nullptr, 0.0);
    prod_rmat(q, a, work);

    TMathMatrix p = a * b, s = a + b, t;
    p.SetMultiply(b, a);
    s -= b;
    s += a;
    a.Transpose(t);
    a.Multiply(x, r);
    a.TranspMultiply(y, r);
    a.Check(b);
    a.CheckBanded();
  }
}
