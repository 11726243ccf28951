#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <vector>

#include "hxcadkit/numeric/QRSolver.h"
#include "hxcadkit/numeric/Svd.h"
#include "tests/numeric/NumericTestUtil.h"

using namespace numtest;

namespace {

// A 1-based raw matrix (row and column 0 unused) as the decomposition takes it.
struct TRaw
{
  std::vector<std::vector<double>> Store;
  std::vector<double*> Rows;
  TRaw(TSize m, TSize n) : Store(size_t(m) + 1, std::vector<double>(size_t(n) + 1, 0.0)), Rows(size_t(m) + 1)
  {
    for (size_t i = 0; i < Store.size(); ++i)
      Rows[i] = Store[i].data();
  }
  // The contents of A, shifted to start at (1, 1).
  explicit TRaw(const TMathMatrix& A) : TRaw(A.Lines, A.Columns)
  {
    for (TSize i = 0; i < A.Lines; ++i)
      for (TSize j = 0; j < A.Columns; ++j)
        Store[size_t(i) + 1][size_t(j) + 1] = A(i, j);
  }
  double** p() { return Rows.data(); }
  double& operator()(TSize i, TSize j) { return Store[size_t(i)][size_t(j)]; }
};

// A random n x n orthogonal matrix (the orthogonal factor of a random matrix).
TMathMatrix RandomOrthogonal(std::mt19937& gen, TSize n)
{
  TMathMatrix R = Random(gen, n, n), Q;
  qr_dcmp(R, Q, true);
  return Q;
}

struct TSvd
{
  bool Ok = false;
  TMathMatrix U, V;
  std::vector<double> W;
};

TSvd Decompose(const TMathMatrix& A)
{
  const TSize m = A.Lines, n = A.Columns;
  TRaw a(A), v(n, n);
  std::vector<double> w(size_t(n) + 1, 0.0);
  TSvd r;
  r.Ok = svdcmp(a.p(), m, n, w.data(), v.p());
  r.U.SetDimension(m, n, mt_GENERAL);
  r.V.SetDimension(n, n, mt_GENERAL);
  for (TSize i = 0; i < m; ++i)
    for (TSize j = 0; j < n; ++j)
      r.U(i, j) = a(i + 1, j + 1);
  for (TSize i = 0; i < n; ++i)
    for (TSize j = 0; j < n; ++j)
      r.V(i, j) = v(i + 1, j + 1);
  r.W.assign(w.begin() + 1, w.end());
  return r;
}

TMathMatrix Reconstruct(const TSvd& s)
{
  TMathMatrix UW(s.U);
  for (TSize i = 0; i < UW.Lines; ++i)
    for (TSize j = 0; j < UW.Columns; ++j)
      UW(i, j) *= s.W[size_t(j)];
  return UW * Transposed(s.V);
}

// The columns of u whose singular value is not zero, as a matrix.
TMathMatrix NonNullColumns(const TSvd& s)
{
  std::vector<TSize> cols;
  for (TSize j = 0; j < TSize(s.W.size()); ++j)
    if (s.W[size_t(j)] > 1e-12) cols.push_back(j);
  TMathMatrix c(s.U.Lines, TSize(cols.size()), mt_GENERAL);
  for (TSize i = 0; i < c.Lines; ++i)
    for (size_t k = 0; k < cols.size(); ++k)
      c(i, TSize(k)) = s.U(i, cols[k]);
  return c;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Singular value decomposition

TEST(Pythag, WithoutOverflow)
{
  EXPECT_EQ(pythag(-3, 4), 5.0);
  EXPECT_EQ(pythag(0, 0), 0.0);
  EXPECT_NEAR(pythag(1e200, 1e200) / 1e200, std::sqrt(2.0), 1e-15);
  EXPECT_NEAR(pythag(1e-200, 1e-200) / 1e-200, std::sqrt(2.0), 1e-15);
}

TEST(Svd, ReconstructsRandomMatricesWithOrthogonalFactors)
{
  std::mt19937 gen(2196);
  const TSize shapes[][2] = {{1, 1}, {2, 2}, {5, 5}, {8, 3}, {3, 8}, {12, 7}, {7, 12}, {6, 1}, {1, 6}};
  for (const auto& sh : shapes)
    for (int rep = 0; rep < 2; ++rep) {
      const TMathMatrix A = Random(gen, sh[0], sh[1]);
      const TSvd s = Decompose(A);
      ASSERT_TRUE(s.Ok);
      for (double w : s.W)
        EXPECT_GE(w, 0.0);
      EXPECT_LE(MaxDiff(Reconstruct(s), A), 1e-10) << sh[0] << "x" << sh[1];
      EXPECT_LE(MaxDiff(Transposed(s.V) * s.V, Identity(sh[1])), 1e-10);
      // For m < n, n - m singular values are zero and their columns of U with them.
      const TMathMatrix Uc = NonNullColumns(s);
      EXPECT_EQ(Uc.Columns, std::min(sh[0], sh[1]));
      EXPECT_LE(MaxDiff(Transposed(Uc) * Uc, Identity(Uc.Columns)), 1e-10);
    }
}

TEST(Svd, FindsKnownSingularValues)
{
  std::mt19937 gen(31);
  const std::vector<double> sigma = {7, 3, 3, 1e-3, 0};
  const TSize m = 7, n = 5;
  TMathMatrix S(m, n, mt_GENERAL);
  for (TSize j = 0; j < n; ++j)
    S(j, j) = sigma[size_t(j)];
  const TMathMatrix A = RandomOrthogonal(gen, m) * S * Transposed(RandomOrthogonal(gen, n));
  const TSvd s = Decompose(A);
  ASSERT_TRUE(s.Ok);
  std::vector<double> w = s.W;
  std::sort(w.rbegin(), w.rend());
  for (size_t j = 0; j < sigma.size(); ++j)
    EXPECT_NEAR(w[j], sigma[j], 1e-13 * 7);
}

TEST(Svd, DegenerateInputTerminates)
{
  const TSvd zero = Decompose(TMathMatrix(3, 2, mt_GENERAL));
  EXPECT_TRUE(zero.Ok);
  EXPECT_EQ(zero.W, (std::vector<double>{0, 0}));

  const TSvd one = Decompose(Mat(1, 1, {-4}));
  EXPECT_TRUE(one.Ok);
  EXPECT_EQ(one.W[0], 4.0);
  EXPECT_EQ(one.U(0, 0) * one.V(0, 0), -1.0);

  EXPECT_TRUE(svdcmp(nullptr, 0, 0, nullptr, nullptr));

  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  Decompose(Mat(2, 2, {1, nan, 2, 3}));
  Decompose(Mat(3, 3, {nan, nan, nan, nan, nan, nan, nan, nan, nan}));
  Decompose(Mat(2, 3, {1, inf, 2, 3, -inf, 0}));
}

TEST(SvdBackSubstitution, DropsTinySingularValues)
{
  TRaw u(2, 2), v(2, 2);
  u(1, 1) = u(2, 2) = v(1, 1) = v(2, 2) = 1;
  const double w[] = {0, 2, 1e-15}, b[] = {0, 6, 5};
  double x[] = {0, -1, -1};
  svd_bksb(u.p(), w, v.p(), 2, 2, b, x);
  EXPECT_EQ(x[1], 3.0);
  EXPECT_EQ(x[2], 0.0);
}

TEST(SvdBackSubstitution, LeastSquaresAgreesWithNormalEquations)
{
  std::mt19937 gen(2302);
  const TSize m = 9, n = 4;
  const TMathMatrix A = Random(gen, m, n);
  const TMathVector bv = RandomVector(gen, m);
  TRaw a(A), v(n, n);
  std::vector<double> w(n + 1), b(m + 1), x(n + 1);
  std::copy(bv.X, bv.X + m, b.begin() + 1);
  ASSERT_TRUE(svdcmp(a.p(), m, n, w.data(), v.p()));
  svd_bksb(a.p(), w.data(), v.p(), m, n, b.data(), x.data());
  TMathVector ref;
  ASSERT_TRUE(NormalEquations(A, bv, ref));
  for (TSize j = 0; j < n; ++j)
    EXPECT_NEAR(x[size_t(j) + 1], ref[j], 1e-10 * std::max(1.0, std::fabs(ref[j])));
}

// ---------------------------------------------------------------------------------------------
// Block operations

TEST(BlockOperations, ClipPasteAndResidual)
{
  // Blocks reaching past a matrix read zero there and write nothing there.
  const TMathMatrix A = Mat(3, 3, {1, 2, 3, 4, 5, 6, 7, 8, 9});
  TMathMatrix B(2, 2, mt_GENERAL);
  ClipMatr(A, B, 2, 2);
  EXPECT_EQ(MaxDiff(B, Mat(2, 2, {9, 0, 0, 0})), 0.0);

  TMathMatrix C(3, 3, mt_GENERAL);
  PasteMatr(C, Mat(2, 2, {1, 2, 3, 4}), 2, 2);
  EXPECT_EQ(MaxDiff(C, Mat(3, 3, {0, 0, 0, 0, 0, 0, 0, 0, 1})), 0.0);

  TMathMatrix D;
  Rest_matr(Identity(2), Mat(2, 1, {1, 2}), Mat(1, 2, {3, 4}), D);
  EXPECT_EQ(MaxDiff(D, Mat(2, 2, {-2, -4, -6, -7})), 0.0);
}

// ---------------------------------------------------------------------------------------------
// Pseudo-inverse

namespace {

// The four Moore-Penrose conditions, as the largest residual relative to the sizes involved.
double PenroseError(const TMathMatrix& A, const TMathMatrix& X)
{
  const TMathMatrix AX = A * X, XA = X * A;
  const double a = std::max(1.0, A.NormaMax()), x = std::max(1.0, X.NormaMax());
  double e = MaxDiff(AX * A, A) / a;
  e = std::max(e, MaxDiff(XA * X, X) / x);
  e = std::max(e, MaxDiff(AX, Transposed(AX)));
  e = std::max(e, MaxDiff(XA, Transposed(XA)));
  return e;
}

} // namespace

TEST(InvImprove, PassCountAndResult)
{
  // Refining an approximate inverse of A; its exact inverse is {0.6, -0.2, -0.2, 0.4}.
  const TMathMatrix A = Mat(2, 2, {2, 1, 1, 3}), inv = Mat(2, 2, {0.6, -0.2, -0.2, 0.4});
  struct Case
  {
    const char* what;
    double scale; // the start is scale * inv
    TSize it;     // the pass limit given (below 1: count on up to 38)
    TSize minIt, maxIt;
    double resultScale; // the result is resultScale * inv
  };
  const Case cases[] = {
      {"three passes allowed", 1.3, 3, 3, 3, 0},
      {"counting on from below", 1.3, -100, -99, 38, 1},
      // The first correction (-2 X) is larger than X and ends the refinement, kept.
      {"divergent start", 3, 0, 1, 1, -3},
  };
  for (const Case& c : cases) {
    TMathMatrix X(inv);
    X *= c.scale;
    TSize it = c.it;
    Inv_Improve(A, X, it);
    EXPECT_GE(it, c.minIt) << c.what;
    EXPECT_LE(it, c.maxIt) << c.what;
    if (c.resultScale != 0) {
      TMathMatrix want(inv);
      want *= c.resultScale;
      EXPECT_LE(MaxDiff(X, want), 1e-15) << c.what;
    }
  }
}

TEST(RecInv, SmallExamples)
{
  TMathMatrix P;
  TSize dec = 5;
  RecInv(Identity(2), dec, P);
  EXPECT_EQ(MaxDiff(P, Identity(2)), 0.0);
  EXPECT_EQ(dec, 15);

  dec = 5;
  RecInv(Mat(2, 2, {1, 1, 1, 1}), dec, P);
  EXPECT_LE(MaxDiff(P, Mat(2, 2, {0.25, 0.25, 0.25, 0.25})), 1e-15);
}

TEST(RecInv, MoorePenroseOnRandomMatrices)
{
  std::mt19937 gen(2250);
  struct Case
  {
    TSize m, n, rank;
  };
  const Case cases[] = {{4, 4, 4}, {6, 3, 3}, {3, 6, 3}, {8, 5, 5}, {5, 8, 5},
                        {5, 5, 3}, {7, 4, 2}, {4, 7, 2}, {6, 6, 1}, {1, 4, 1}};
  for (const Case& c : cases)
    for (int rep = 0; rep < 2; ++rep) {
      const TMathMatrix A = c.rank == std::min(c.m, c.n)
                                ? Random(gen, c.m, c.n)
                                : Random(gen, c.m, c.rank) * Random(gen, c.rank, c.n);
      TMathMatrix P;
      TSize dec = 5;
      RecInv(A, dec, P);
      ASSERT_EQ(P.Lines, c.n);
      ASSERT_EQ(P.Columns, c.m);
      EXPECT_LE(PenroseError(A, P), 1e-10) << c.m << "x" << c.n << " rank " << c.rank;
      EXPECT_GE(dec, 8);
    }
}

TEST(RecInv, ZeroFirstColumnGivesAZeroRow)
{
  const TMathMatrix A = Mat(2, 2, {0, 1, 0, 1});
  TMathMatrix P;
  TSize dec = 5;
  RecInv(A, dec, P);
  EXPECT_EQ(P(0, 0), 0.0);
  EXPECT_EQ(P(0, 1), 0.0);
  EXPECT_NEAR(P(1, 0), 0.5, 1e-15);
  EXPECT_NEAR(P(1, 1), 0.5, 1e-15);
}

TEST(RecInv, OneColumnReportsTheAccuracyOfItsResult)
{
  // The digits come from a refinement, not from the length of the column.
  TMathMatrix P;
  TSize dec = 5;
  RecInv(Mat(2, 1, {3, 4}), dec, P);
  EXPECT_NEAR(P(0, 0), 0.12, 1e-16);
  EXPECT_NEAR(P(0, 1), 0.16, 1e-16);
  EXPECT_GE(dec, 14);

  dec = 5;
  RecInv(Mat(3, 1, {0, 0, 0}), dec, P);
  EXPECT_EQ(P.NormaMax(), 0.0);
  EXPECT_EQ(dec, 15);
}

TEST(RecInv, DegenerateInputTerminates)
{
  TMathMatrix P;
  TSize dec = 5;
  RecInv(TMathMatrix(3, 3, mt_GENERAL), dec, P);
  EXPECT_EQ(P.NormaMax(), 0.0);
  EXPECT_EQ(dec, 15);

  dec = 5;
  RecInv(Mat(1, 1, {4}), dec, P);
  EXPECT_EQ(P(0, 0), 0.25);

  dec = 5;
  RecInv(TMathMatrix(), dec, P);
  EXPECT_EQ(P.Lines, 0);

  const double nan = std::numeric_limits<double>::quiet_NaN();
  dec = 5;
  RecInv(Mat(2, 2, {1, nan, 2, 3}), dec, P);
  dec = -3;
  RecInv(Mat(2, 3, {1, 2, 3, 4, 5, 6}), dec, P);
  EXPECT_LE(PenroseError(Mat(2, 3, {1, 2, 3, 4, 5, 6}), P), 1e-10);
}

// ---------------------------------------------------------------------------------------------
// Robustness: every routine ends, without touching memory it does not own, on small matrices
// full of zeros, huge values, NaN and infinities.

TEST(NumericRobustness, HostileValuesInEveryRoutine)
{
  std::mt19937 gen(2425);
  const double inf = std::numeric_limits<double>::infinity();
  const double specials[] = {0.0, 1.0, -1e-300, 1e300, -1e300, std::nan(""), inf, -inf, 5e-324};
  std::uniform_int_distribution<int> pick(0, 2 * int(std::size(specials)));
  std::uniform_int_distribution<TSize> size(1, 5);
  std::uniform_real_distribution<double> val(-1, 1);
  for (int rep = 0; rep < 300; ++rep) {
    const TSize m = size(gen), n = size(gen);
    TMathMatrix A(m, n, mt_GENERAL);
    for (TSize i = 0; i < m; ++i)
      for (TSize j = 0; j < n; ++j) {
        const int k = pick(gen);
        A(i, j) = k < int(std::size(specials)) ? specials[k] : val(gen);
      }
    TMathMatrix R(A), Q;
    qr_dcmp(R, Q, true);
    TMathMatrix R2(A);
    qr_dcmp(R2);
    TMathMatrix RT, q;
    std::vector<int> P;
    RRQR_Decompose(A, RT, &q, P);
    RRQR_Rank(RT, 1e-8);
    TLinearEquations le(m, m);
    for (TSize i = 0; i < m; ++i)
      for (TSize j = 0; j < m; ++j)
        le.A(i, j) = A.At(i, j);
    SolveQR(le, 1e-8);
    TMathMatrix x(m, 1, mt_GENERAL), Rb(R);
    Solve(Rb, x, std::min(m, n - 1), 1e-12);
    Decompose(A);
    TMathMatrix Pinv;
    TSize dec = 3;
    RecInv(A, dec, Pinv);
    EXPECT_EQ(Pinv.Lines, n);
    EXPECT_EQ(Pinv.Columns, m);
  }
}
