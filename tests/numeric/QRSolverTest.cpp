#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <vector>

#include "hxcadkit/numeric/QRSolver.h"
#include "tests/numeric/NumericTestUtil.h"

using namespace numtest;

namespace {

// max |a - b| / max(1, max |b|).
double RelDiff(const TMathMatrix& a, const TMathMatrix& b)
{
  double big = 1;
  for (TSize i = 0; i < b.Lines; ++i)
    for (TSize j = 0; j < b.Columns; ++j)
      big = std::max(big, std::fabs(b(i, j)));
  return MaxDiff(a, b) / big;
}

double OrthogonalityError(const TMathMatrix& q)
{
  return MaxDiff(Transposed(q) * q, Identity(q.Columns));
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Plain QR

TEST(QrDecompose, TwoByTwoExample)
{
  TMathMatrix R = Mat(2, 2, {0, 1, 2, 3});
  TMathMatrix Q(2, 2, mt_GENERAL);
  qr_dcmp(R, Q, true);
  EXPECT_EQ(MaxDiff(R, Mat(2, 2, {2, 3, 0, -1})), 0.0);
  EXPECT_EQ(MaxDiff(Q, Mat(2, 2, {0, 1, -1, 0})), 0.0);
}

TEST(QrDecompose, ReconstructsRandomMatricesOfEveryShape)
{
  std::mt19937 gen(1301);
  const TSize shapes[][2] = {{1, 1}, {3, 3}, {6, 6}, {8, 3}, {3, 8}, {12, 7}, {5, 1}, {1, 5}};
  for (const auto& s : shapes)
    for (int rep = 0; rep < 3; ++rep) {
      const TMathMatrix A = Random(gen, s[0], s[1]);
      TMathMatrix R(A), Q;
      qr_dcmp(R, Q, true);
      ASSERT_EQ(Q.Lines, s[0]);
      ASSERT_EQ(Q.Columns, s[0]);
      EXPECT_LE(MaxBelowDiagonal(R), 0.0) << s[0] << "x" << s[1];
      EXPECT_LE(OrthogonalityError(Q), 1e-13);
      EXPECT_LE(RelDiff(Q * A, R), 1e-12);
      EXPECT_LE(RelDiff(Transposed(Q) * R, A), 1e-12) << s[0] << "x" << s[1];
    }
}

TEST(QrDecompose, OrthogonalFactorNeedNotComeInZeroed)
{
  // Only the entries a rotation can reach are updated, so leftovers in Q must not survive.
  std::mt19937 gen(7);
  const TMathMatrix A = Random(gen, 4, 4);
  TMathMatrix R1(A), R2(A), Q1, Q2 = Random(gen, 4, 4);
  qr_dcmp(R1, Q1, true);
  qr_dcmp(R2, Q2, true);
  EXPECT_EQ(RelDiff(Q2, Q1), 0.0);
}

TEST(QrDecompose, ColumnRangeFormSkipsTinyElements)
{
  TMathMatrix R = Mat(2, 2, {1, 2, 1e-15, 3});
  qr_dcmp(R);
  EXPECT_EQ(R(1, 0), 1e-15);
  EXPECT_EQ(R(0, 0), 1.0);

  // Columns before fc stay as they are; sizes beyond the matrix are cut to it.
  TMathMatrix S = Mat(3, 2, {1, 1, 2, 1, 3, 1});
  qr_dcmp(S, 1, 50, 50);
  EXPECT_EQ(S(1, 0), 2.0);
  EXPECT_NEAR(S(1, 1), std::sqrt(2.0), 1e-15);
  EXPECT_EQ(S(2, 1), 0.0);
}

TEST(QrDecompose, DegenerateInputDoesNotCrash)
{
  TMathMatrix zero(3, 3, mt_GENERAL), Q;
  qr_dcmp(zero, Q, true);
  EXPECT_EQ(zero.NormaMax(), 0.0);
  EXPECT_EQ(OrthogonalityError(Q), 0.0);

  TMathMatrix empty, Qe;
  qr_dcmp(empty, Qe, true);
  qr_dcmp(empty);

  const double nan = std::numeric_limits<double>::quiet_NaN();
  TMathMatrix withNaN = Mat(2, 2, {1, nan, nan, 2}), Qn;
  qr_dcmp(withNaN, Qn, true);
  qr_dcmp(withNaN);
}

TEST(QrLequ, WrongSizesChangeNothing)
{
  TMathVector b = Vec({4, 8, 9});
  qr_lequ(Mat(2, 2, {2, 1, 0, 4}), Identity(2), b);
  EXPECT_EQ(Values(b), (std::vector<double>{4, 8, 9}));
}

TEST(QrLequ, AgreesWithGaussOnRandomSystems)
{
  // Both the plain factors and the pivoted solver of TLinearEquations.
  std::mt19937 gen(42);
  for (TSize n = 1; n <= 8; ++n)
    for (int rep = 0; rep < 3; ++rep) {
      TLinearEquations le(n, n);
      le.A = Random(gen, n, n);
      for (TSize i = 0; i < n; ++i) {
        le.A(i, i) += 2 * n; // well conditioned
        le.B[i] = std::sin(i + rep);
      }
      TMathMatrix R(le.A), Q, G(le.A);
      TMathVector x(le.B), g(le.B);
      qr_dcmp(R, Q, true);
      qr_lequ(R, Q, x);
      ASSERT_EQ(TLinearEquations::SolveGauss(G, g, 1e-12), gcBaseCode_Ok);
      ASSERT_EQ(SolveQR(le, 1e-10), gcBaseCode_Ok);
      for (TSize i = 0; i < n; ++i) {
        EXPECT_NEAR(x[i], g[i], 1e-12);
        EXPECT_NEAR(le.Solution[i], g[i], 1e-11);
      }
    }
}

TEST(QrLeastSquares, AugmentedFactorAgreesWithNormalEquations)
{
  std::mt19937 gen(2056);
  const TSize shapes[][2] = {{5, 2}, {8, 3}, {20, 6}, {9, 9}};
  for (const auto& s : shapes) {
    const TSize m = s[0], n = s[1];
    const TMathMatrix A = Random(gen, m, n);
    const TMathVector b = RandomVector(gen, m);
    // [A | b] reduced in place: its first n rows are the triangular least-squares system.
    TMathMatrix Rb(m, n + 1, mt_GENERAL);
    for (TSize i = 0; i < m; ++i) {
      for (TSize j = 0; j < n; ++j)
        Rb(i, j) = A(i, j);
      Rb(i, n) = b[i];
    }
    qr_dcmp(Rb);
    TMathMatrix x(n, 1, mt_GENERAL);
    ASSERT_EQ(Solve(Rb, x, n, 1e-12), 0);
    TMathVector ref;
    ASSERT_TRUE(NormalEquations(A, b, ref));
    for (TSize i = 0; i < n; ++i)
      EXPECT_NEAR(x(i, 0), ref[i], 1e-10 * std::max(1.0, std::fabs(ref[i]))) << m << "x" << n;
  }
}

// ---------------------------------------------------------------------------------------------
// Bounded back substitution

TEST(BoundedBackSubstitution, StopsAtTheBoundOrAtASmallPivot)
{
  TMathMatrix R = Mat(1, 2, {0.001, 5}), x(1, 1, mt_GENERAL);
  EXPECT_EQ(Solve(R, x, 1, 0.0001), 1);
  EXPECT_EQ(x(0, 0), 5000.0);
  EXPECT_EQ(R(0, 0), 0.0);
  EXPECT_EQ(R(0, 1), 0.0);

  R = Mat(1, 2, {0.001, 5});
  x(0, 0) = 7;
  EXPECT_EQ(Solve(R, x, 1, 0.01), 1);
  EXPECT_EQ(x(0, 0), 7.0);
}

TEST(BoundedBackSubstitution, BadInputIsRefused)
{
  TMathMatrix R = Mat(2, 2, {1, 1, 0, 1}), x(2, 1, mt_GENERAL);
  EXPECT_EQ(Solve(R, x, 2, 1e-12), 2); // no column for the right-hand side
  EXPECT_EQ(Solve(R, x, 0, 1e-12), 0);
  const double nan = std::numeric_limits<double>::quiet_NaN();
  for (const TMathMatrix& bad : {Mat(1, 2, {nan, 1}), Mat(1, 2, {1, nan})}) {
    TMathMatrix Rn(bad), xn(1, 1, mt_GENERAL);
    EXPECT_EQ(Solve(Rn, xn, 1, 1e-12), 1);
  }
}

// ---------------------------------------------------------------------------------------------
// Rank-revealing QR

TEST(RrqrReduce, NegativeDowndateIsRecomputed)
{
  // The downdate of column 1 cancels to -1e-18: the next reader takes the norm from the matrix.
  const TMathMatrix R = Mat(2, 2, {1, 1e-9, 0, 3});
  TMathVector S = Vec({1, 0}); // squared column norms
  RRQR_Reduce(R, S, 0);
  EXPECT_LT(S[1], 0.0);
  RRQR_MaxColumn(R, S, 1);
  EXPECT_EQ(S[1], 9.0);
}

TEST(RrqrDecompose, AbsoluteNullFloorForTinyMatrices)
{
  // Both rows are below the absolute floor, so the largest goes first (the smallest would go
  // first under a purely relative threshold).
  const TMathMatrix A = Mat(2, 2, {1e-6, 0, 0, 5e-7});
  TMathMatrix R;
  std::vector<int> P;
  RRQR_Decompose(A, R, nullptr, P);
  EXPECT_EQ(P, (std::vector<int>{0, 1}));
  const TMathMatrix B = Mat(2, 2, {1, 0, 0, 0.5});
  RRQR_Decompose(B, R, nullptr, P);
  EXPECT_EQ(P, (std::vector<int>{1, 0}));
}

TEST(RrqrDecompose, FactorsThePermutedTranspose)
{
  std::mt19937 gen(2195);
  const TSize shapes[][2] = {{4, 4}, {7, 3}, {3, 7}, {1, 4}};
  for (const auto& s : shapes) {
    const TMathMatrix A = Random(gen, s[0], s[1]);
    TMathMatrix R, q;
    std::vector<int> P;
    RRQR_Decompose(A, R, &q, P);
    ASSERT_EQ(R.Lines, s[1]);
    ASSERT_EQ(R.Columns, s[0]);
    std::vector<int> sorted(P);
    std::sort(sorted.begin(), sorted.end());
    for (TSize k = 0; k < s[0]; ++k)
      EXPECT_EQ(sorted[size_t(k)], k);
    TMathMatrix M(s[1], s[0], mt_GENERAL); // A^T with columns in the order of P
    for (TSize i = 0; i < s[1]; ++i)
      for (TSize k = 0; k < s[0]; ++k)
        M(i, k) = A(P[size_t(k)], i);
    EXPECT_LE(MaxBelowDiagonal(R), 0.0);
    EXPECT_LE(OrthogonalityError(q), 1e-13);
    EXPECT_LE(RelDiff(q * M, R), 1e-12) << s[0] << "x" << s[1];
  }
}

TEST(RrqrRank, CutsOnlyTrailingEntries)
{
  EXPECT_EQ(RRQR_Rank(Mat(2, 2, {1, 0, 0, 1e-10}), 1e-8), 1);
  EXPECT_EQ(RRQR_Rank(Mat(2, 2, {1e-10, 0, 0, 1}), 1e-8), 2);
  EXPECT_EQ(RRQR_Rank(TMathMatrix(3, 2, mt_GENERAL), 1e-8), 0);
  EXPECT_EQ(RRQR_Rank(TMathMatrix(), 1e-8), 0);
}

TEST(RrqrRank, FindsTheRankOfConstructedMatrices)
{
  std::mt19937 gen(99);
  for (TSize m = 2; m <= 8; ++m)
    for (TSize n = 2; n <= 8; n += 3)
      for (TSize r = 0; r <= std::min(m, n); ++r) {
        // A = B C with B m x r, C r x n: rank r.
        TMathMatrix A(m, n, mt_GENERAL);
        if (r > 0) A = Random(gen, m, r) * Random(gen, r, n);
        TMathMatrix R;
        std::vector<int> P;
        RRQR_Decompose(A, R, nullptr, P);
        EXPECT_EQ(RRQR_Rank(R, 1e-8), r) << m << "x" << n << " rank " << r;
      }
}

// ---------------------------------------------------------------------------------------------
// The solver of TLinearEquations

TEST(SolveQR, SingularSystemLeavesTheSolution)
{
  TLinearEquations le(2, 2);
  le.A = {1, 2, 2, 4};
  le.B = {1, 2};
  le.Solution = {7, 8};
  EXPECT_EQ(SolveQR(le, 1e-10), gcBaseCode_Unsolvable);
  EXPECT_EQ(le.Solution[0], 7.0);
  EXPECT_EQ(le.Solution[1], 8.0);
}

TEST(SolveQR, LongPivotCyclesAreUndone)
{
  // Rows of norms 5, 1, 4, 2, 3: the pivoting takes them as 1, 3, 4, 2, 0, one 5-cycle.
  const double scale[] = {5, 1, 4, 2, 3};
  TLinearEquations le(5, 5);
  const TSize col[] = {2, 0, 4, 1, 3};
  for (TSize i = 0; i < 5; ++i) {
    le.A(i, col[i]) = scale[i];
    le.B[i] = scale[i] * (col[i] + 1);
  }
  TMathMatrix R;
  std::vector<int> P;
  RRQR_Decompose(le.A, R, nullptr, P);
  EXPECT_EQ(P, (std::vector<int>{1, 3, 4, 2, 0}));
  EXPECT_EQ(SolveQR(le, 1e-10), gcBaseCode_Ok);
  for (TSize j = 0; j < 5; ++j)
    EXPECT_NEAR(le.Solution[j], j + 1.0, 1e-12);
}

TEST(SolveQR, RankDeficientAndDegenerateSystems)
{
  std::mt19937 gen(5);
  TLinearEquations le(4, 4);
  le.A = Random(gen, 4, 2) * Random(gen, 2, 4);
  le.B = {1, 2, 3, 4};
  EXPECT_EQ(SolveQR(le, 1e-8), gcBaseCode_Unsolvable);

  TLinearEquations zero(3, 3);
  EXPECT_EQ(SolveQR(zero, 1e-8), gcBaseCode_Unsolvable);

  TLinearEquations empty(0, 0);
  EXPECT_EQ(SolveQR(empty, 1e-8), gcBaseCode_Ok);

  // Non-square systems are refused rather than solved with mismatched work vectors.
  TLinearEquations wide(2, 3);
  wide.A = {1, 0, 0, 0, 1, 0};
  EXPECT_EQ(SolveQR(wide, 1e-8), gcBaseCode_Unsolvable);

  TLinearEquations shortB(2, 2);
  shortB.A = {1, 0, 0, 1};
  shortB.B.SetDimension(1, 0.0);
  EXPECT_EQ(SolveQR(shortB, 1e-8), gcBaseCode_Error);
}

TEST(RrqrSolveWithoutQ, KeepsTheCallersPivotsAndRefusesBadSizes)
{
  const TMathMatrix A = Mat(3, 3, {4, 0, 0, 0, 1, 0, 0, 0, 2});
  TMathMatrix R;
  std::vector<int> P;
  RRQR_Decompose(A, R, nullptr, P);
  const std::vector<int> before = P;
  TMathVector x(3), y = Vec({4, 1, 2});
  EXPECT_TRUE(rrqr_lequ_wo_q(A, R, P, y, x));
  EXPECT_EQ(P, before);
  for (TSize i = 0; i < 3; ++i)
    EXPECT_NEAR(x[i], 1.0, 1e-14);

  std::vector<int> bad = {0, 1, 7};
  TMathVector untouched = Vec({5, 5, 5});
  EXPECT_FALSE(rrqr_lequ_wo_q(A, R, bad, y, untouched));
  EXPECT_FALSE(rrqr_lequ_wo_q(A, R, {0, 1}, y, untouched));
  EXPECT_EQ(untouched[2], 5.0);
}
