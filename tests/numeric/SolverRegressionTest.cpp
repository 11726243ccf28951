// Faults fixed in the solvers, and bad input: every routine ends, within its own memory, on
// mismatched shapes and on zeros, huge values, NaN and infinities (the sanitizer build checks it).
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

#include "NumericTestUtil.h"

namespace {

using namespace numtest;

struct TRrqrSteps : TLinearEquations
{
  using TLinearEquations::RRQR_Decompose;
  using TLinearEquations::RRQR_MaxColumn;
  using TLinearEquations::RRQR_Rank;
  using TLinearEquations::RRQR_Reduce;
};

TEST(SolverRegression, ZeroPivotsAreReportedAsFailures)
{
  // LDL^T: a zero pivot at step k answers k + 1, so that step 0 does not read as success.
  for (auto [a, code] : {std::pair{Mat(2, 2, {0, 1, 1, 1}), 1}, {Mat(2, 2, {1, 2, 2, 4}), 2}}) {
    TMathMatrix l(2, 2, mt_LEFT), d(2, 2, mt_DIAGONAL), inPlace(a), d2;
    EXPECT_EQ(LR_LD(a, l, d), code);
    EXPECT_EQ(LR_LD(inPlace, d2), code);
  }
  // Gauss on kinds whose rows cannot be exchanged: unsolvable, the right-hand side untouched.
  TMathMatrix left = Mat(2, 2, {0, 0, 1, 1}, mt_LEFT);
  TMathVector b = Vec({1, 2});
  EXPECT_EQ(TLinearEquations::SolveGauss(left, b, 1e-6), gcBaseCode_Unsolvable);
  EXPECT_EQ(Values(b), (std::vector<double>{1, 2}));
  // A NaN pivot is no pivot.
  TMathMatrix nan = Mat(2, 2, {std::nan(""), 1, 1, 1});
  EXPECT_EQ(TLinearEquations::SolveGauss(nan, b, 1e-6), gcBaseCode_Unsolvable);
}

TEST(SolverRegression, OrthogonalFactorNeedNotComeInZeroed)
{
  std::mt19937 gen(7);
  const TMathMatrix A = Random(gen, 4, 4);
  TMathMatrix R1(A), R2(A), Q1, Q2 = Random(gen, 4, 4);
  qr_dcmp(R1, Q1, true);
  qr_dcmp(R2, Q2, true);
  EXPECT_EQ(MaxDiff(Q2, Q1), 0.0);
}

TEST(SolverRegression, RankRevealingQr)
{
  TRrqrSteps rr;
  // A downdate that cancels below zero is recomputed from the matrix by the next reader.
  const TMathMatrix R = Mat(2, 2, {1, 1e-9, 0, 3});
  TMathVector S = Vec({1, 0});
  rr.RRQR_Reduce(R, S, 0);
  EXPECT_LT(S[1], 0.0);
  rr.RRQR_MaxColumn(R, S, 1);
  EXPECT_EQ(S[1], 9.0);
  // Only trailing diagonal entries are cut.
  EXPECT_EQ(rr.RRQR_Rank(Mat(2, 2, {1, 0, 0, 1e-10}), 1e-8), 1);
  EXPECT_EQ(rr.RRQR_Rank(Mat(2, 2, {1e-10, 0, 0, 1}), 1e-8), 2);

  // Rows of norms 5, 1, 4, 2, 3 are taken as 1, 3, 4, 2, 0: one 5-cycle, undone in the solution.
  TLinearEquations le(5, 5);
  const double scale[] = {5, 1, 4, 2, 3};
  const TSize col[] = {2, 0, 4, 1, 3};
  for (TSize i = 0; i < 5; ++i) {
    le.A(i, col[i]) = scale[i];
    le.B[i] = scale[i] * (col[i] + 1);
  }
  TMathMatrix F;
  std::vector<int> P;
  rr.RRQR_Decompose(le.A, F, nullptr, P);
  EXPECT_EQ(P, (std::vector<int>{1, 3, 4, 2, 0}));
  const std::vector<int> before = P;
  TMathVector x(5);
  EXPECT_TRUE(le.rrqr_lequ_wo_q(le.A, F, P, le.B, x));
  EXPECT_EQ(P, before);
  ASSERT_EQ(le.SolveQR(1e-10), gcBaseCode_Ok);
  for (TSize j = 0; j < 5; ++j)
    EXPECT_NEAR(le.Solution[j], j + 1.0, 1e-12);

  // Bad pivots and non-square or short systems are refused.
  TMathVector untouched = Vec({5, 5, 5, 5, 5});
  EXPECT_FALSE(le.rrqr_lequ_wo_q(le.A, F, {0, 1, 2, 3, 7}, le.B, untouched));
  EXPECT_EQ(untouched[4], 5.0);
  TLinearEquations wide(2, 3), shortB(2, 2);
  wide.A = {1, 0, 0, 0, 1, 0};
  EXPECT_EQ(wide.SolveQR(1e-8), gcBaseCode_Unsolvable);
  shortB.A = {1, 0, 0, 1};
  shortB.B.SetDimension(1, 0.0);
  EXPECT_EQ(shortB.SolveQR(1e-8), gcBaseCode_Error);
}

TEST(SolverRegression, PseudoInverseOfZeroAndSingleColumns)
{
  // A zero first column gives a zero row, not the fresh storage's contents.
  TMathMatrix P;
  TSize dec = 5;
  RecInv(Mat(2, 2, {0, 1, 0, 1}), dec, P);
  EXPECT_EQ(P(0, 0), 0.0);
  EXPECT_EQ(P(0, 1), 0.0);
  EXPECT_NEAR(P(1, 0), 0.5, 1e-15);
  // One column: the digits come from a refinement, not from the length of the column.
  dec = 5;
  RecInv(Mat(2, 1, {3, 4}), dec, P);
  EXPECT_NEAR(P(0, 1), 0.16, 1e-16);
  EXPECT_GE(dec, 14);
}

TEST(SolverRegression, HostileValuesAndShapesInEveryRoutine)
{
  const double inf = std::numeric_limits<double>::infinity();
  const double specials[] = {0.0, 1.0, -2.0, -1e-300, 1e300, std::nan(""), inf, -inf, 5e-324};
  const MathMatrixType kinds[] = {mt_GENERAL, mt_ORTHOGONAL, mt_RIGHT, mt_LEFT, mt_DIAGONAL, mt_BANDED};
  std::mt19937 gen(2425);
  std::uniform_int_distribution<int> dim(0, 4), pick(0, 2 * int(std::size(specials))), kind(0, 5);
  std::uniform_real_distribution<double> val(-1, 1);
  auto value = [&] {
    const int k = pick(gen);
    return k < int(std::size(specials)) ? specials[k] : val(gen);
  };
  auto make = [&](TSize l, TSize c, MathMatrixType t) {
    TMathMatrix m(l, c, t);
    for (TSize i = 0; i < l; ++i)
      for (TSize k = 0; k < m[i].N; ++k)
        m[i].X[k] = value();
    return m;
  };
  auto vec = [&](TSize n) {
    TMathVector v(n);
    for (TSize i = 0; i < n; ++i)
      v.X[i] = value();
    return v;
  };
  for (int trial = 0; trial < 300; ++trial) {
    TMathMatrix a = make(dim(gen), dim(gen), kinds[kind(gen)]),
                b = make(dim(gen), dim(gen), kinds[kind(gen)]);
    TMathMatrix g = make(dim(gen), dim(gen), mt_GENERAL);
    TMathVector x = vec(dim(gen)), y = vec(dim(gen)), work(dim(gen));

    TMathMatrix ga(a);
    TMathVector r(x);
    const TSize code = TLinearEquations::SolveGauss(ga, r, 1e-6);
    EXPECT_TRUE(code == gcBaseCode_Ok || code == gcBaseCode_Unsolvable || code == gcBaseCode_Error);
    TLinearEquations::SolveLeftDnTriangle(a, x);
    TLinearEquations::SolveLeftDnTriangleAsRightUpTransponate(a, y);
    TLinearEquations::SolveRightUpTriangle(b, x);
    TMathMatrix l1(b), d1 = make(dim(gen), dim(gen), mt_DIAGONAL), l2 = make(dim(gen), dim(gen), mt_LEFT);
    LR_LD(a, l2, d1);
    LR_LD(l1, d1);
    TMathMatrix inv(a), sinv(b), q(g);
    inv_rmat(inv);
    inv_srmat(sinv, nullptr, 1e-12);
    prod_mat(q, b, work, trial % 2);
    prod_sm_dm(q, b, work, nullptr, 0.0);
    prod_dm_sm(b, q, work, nullptr, 0.0);
    prod_rmat(q, a, work);

    TMathMatrix R(g), Q, R2(g), RT, rq, xs(g.Lines, 1, mt_GENERAL);
    qr_dcmp(R, Q, true);
    qr_dcmp(R2);
    qr_lequ(R, Q, x);
    Solve(R, xs, std::min(g.Lines, g.Columns - 1), 1e-12);
    TRrqrSteps rr;
    std::vector<int> P;
    rr.RRQR_Decompose(g, RT, &rq, P);
    rr.RRQR_Rank(RT, 1e-8);
    TLinearEquations le(g.Lines, g.Lines);
    for (TSize i = 0; i < g.Lines; ++i)
      for (TSize j = 0; j < g.Lines; ++j)
        le.A(i, j) = g.At(i, j);
    le.SolveQR(1e-8);
    TMathMatrix pinv;
    TSize dec = 3;
    RecInv(g, dec, pinv);
    EXPECT_EQ(pinv.Lines, g.Columns);
  }
}

} // namespace
