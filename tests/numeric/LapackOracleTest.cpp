// The solvers against LAPACK on random dense systems up to n = 200, on badly scaled systems (rows
// scaled over 10^-5 .. 10^5) and on rank-deficient ones.
//
// Bounds. The Givens QR and the rank-revealing QR are backward stable, and so is the Gauss
// elimination on these matrices (its pivot search only replaces pivots below 1e-5, and row scaling
// changes nothing in it): with LAPACK backward stable too, the two solutions differ by at most
// c n eps kappa(A) relative to the solution's norm; c = 4 is used. Singular values agree within
// 1e-12 of the largest (LAPACK's own accuracy is about n eps of it). The minimum-norm solutions of
// rank-deficient systems agree within c n eps sigma_1 / sigma_r.
#include <gtest/gtest.h>

#include <lapacke.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include "NumericTestUtil.h"

namespace {

using namespace numtest;

constexpr double kEps = 2.220446049250313e-16;

// A row-major dense matrix for LAPACK, and the same as a TMathMatrix.
struct TDense
{
  int m = 0, n = 0;
  std::vector<double> a;
  double& operator()(int i, int j) { return a[size_t(i * n + j)]; }
  TMathMatrix Mat() const
  {
    TMathMatrix r(m, n, mt_GENERAL);
    for (int i = 0; i < m; ++i)
      for (int j = 0; j < n; ++j)
        r(i, j) = a[size_t(i * n + j)];
    return r;
  }
};

// Random m x n of rank r (full rank when r >= min(m, n)), rows scaled by 10^[-s, s].
TDense Make(std::mt19937& g, int m, int n, int r, double s)
{
  std::uniform_real_distribution<double> u(-1, 1), e(-s, s);
  TDense d{m, n, std::vector<double>(static_cast<size_t>(m * n), 0.0)};
  if (r >= std::min(m, n)) {
    for (double& v : d.a)
      v = u(g);
  } else {
    std::vector<double> L(static_cast<size_t>(m * r)), R(static_cast<size_t>(r * n));
    for (double& v : L)
      v = u(g);
    for (double& v : R)
      v = u(g);
    for (int i = 0; i < m; ++i)
      for (int j = 0; j < n; ++j)
        for (int k = 0; k < r; ++k)
          d(i, j) += L[size_t(i * r + k)] * R[size_t(k * n + j)];
  }
  for (int i = 0; i < m; ++i) {
    const double f = std::pow(10.0, e(g));
    for (int j = 0; j < n; ++j)
      d(i, j) *= f;
  }
  return d;
}

// Singular values, largest first.
std::vector<double> SingularValues(TDense d)
{
  std::vector<double> s(static_cast<size_t>(std::min(d.m, d.n))), super(s.size() + 1);
  EXPECT_EQ(LAPACKE_dgesvd(LAPACK_ROW_MAJOR, 'N', 'N', d.m, d.n, d.a.data(), d.n, s.data(), nullptr, 1,
                           nullptr, 1, super.data()),
            0);
  return s;
}

std::vector<double> LapackSolve(TDense d, std::vector<double> b)
{
  std::vector<int> piv(static_cast<size_t>(d.n));
  EXPECT_EQ(LAPACKE_dgesv(LAPACK_ROW_MAJOR, d.n, 1, d.a.data(), d.n, piv.data(), b.data(), 1), 0);
  return b;
}

// Minimum-norm least-squares solution, singular values below rcond * sigma_1 dropped.
std::vector<double> LapackMinNorm(TDense d, std::vector<double> b, double rcond)
{
  b.resize(static_cast<size_t>(std::max(d.m, d.n)), 0.0);
  std::vector<double> s(static_cast<size_t>(std::min(d.m, d.n)));
  int rank = 0;
  EXPECT_EQ(
      LAPACKE_dgelsd(LAPACK_ROW_MAJOR, d.m, d.n, 1, d.a.data(), d.n, b.data(), 1, s.data(), rcond, &rank), 0);
  b.resize(static_cast<size_t>(d.n));
  return b;
}

double RelErr(const double* x, const std::vector<double>& ref)
{
  double d = 0, r = 0;
  for (size_t i = 0; i < ref.size(); ++i) {
    d = std::max(d, std::fabs(x[i] - ref[i]));
    r = std::max(r, std::fabs(ref[i]));
  }
  return d / std::max(r, 1e-300);
}

// A 1-based raw copy of d (row and column 0 unused) as the decomposition takes it, with room for
// V (n x n).
struct TRaw
{
  std::vector<std::vector<double>> a, v;
  std::vector<double*> ap, vp;
  std::vector<double> w;
  explicit TRaw(const TDense& d)
      : a(size_t(d.m + 1), std::vector<double>(size_t(d.n + 1))),
        v(size_t(d.n + 1), std::vector<double>(size_t(d.n + 1))), w(size_t(d.n + 1))
  {
    for (int i = 1; i <= d.m; ++i)
      std::copy_n(&d.a[size_t((i - 1) * d.n)], d.n, &a[size_t(i)][1]);
    for (auto& r : a)
      ap.push_back(r.data());
    for (auto& r : v)
      vp.push_back(r.data());
  }
};

struct TRrqr : TLinearEquations
{
  using TLinearEquations::RRQR_Decompose;
  using TLinearEquations::RRQR_Rank;
};

struct TCase
{
  int n;
  double scale; // decimal exponent range of the row scales
};
const TCase kSquare[] = {{1, 0},  {2, 0},   {3, 0}, {5, 0},  {10, 0}, {25, 0},
                         {50, 0}, {200, 0}, {3, 5}, {10, 5}, {50, 5}, {100, 5}};

TEST(LapackOracle, SquareSystemsAgreeWithDgesv)
{
  std::mt19937 g(31);
  for (const TCase& c : kSquare)
    for (int trial = 0; trial < (c.n <= 25 ? 6 : 1); ++trial) {
      const TDense d = Make(g, c.n, c.n, c.n, c.scale);
      // b = A x for a random x, so that badly scaled rows get right-hand sides of their scale.
      const TMathVector xt = RandomVector(g, c.n);
      TMathVector bt(c.n);
      d.Mat().Multiply(xt, bt);
      const std::vector<double> b = Values(bt);
      const std::vector<double> ref = LapackSolve(d, b);
      const std::vector<double> s = SingularValues(d);
      const double bound = 4 * c.n * kEps * s.front() / s.back();
      SCOPED_TRACE(testing::Message() << "n " << c.n << " scale " << c.scale << " bound " << bound);

      TMathMatrix a = d.Mat();
      TMathVector x(c.n);
      std::copy(b.begin(), b.end(), x.X);
      ASSERT_EQ(TLinearEquations::SolveGauss(a, x, 1e-300), gcBaseCode_Ok);
      EXPECT_LE(RelErr(x.X, ref), bound) << "Gauss";

      TMathMatrix R = d.Mat(), Q;
      qr_dcmp(R, Q, true);
      std::copy(b.begin(), b.end(), x.X);
      qr_lequ(R, Q, x);
      EXPECT_LE(RelErr(x.X, ref), bound) << "Givens QR";

      TLinearEquations le(c.n, c.n);
      le.A = d.Mat();
      std::copy(b.begin(), b.end(), le.B.X);
      ASSERT_EQ(le.SolveQR(1e-300), gcBaseCode_Ok);
      EXPECT_LE(RelErr(le.Solution.X, ref), bound) << "RRQR";
    }
}

TEST(LapackOracle, OverdeterminedLeastSquaresAgreeWithDgelsd)
{
  // The least-squares solution from the Givens factor of the augmented matrix [A b].
  std::mt19937 g(32);
  for (int n : {1, 3, 10, 50}) {
    const int m = 2 * n + 3;
    const TDense d = Make(g, m, n, n, 0);
    std::vector<double> b(static_cast<size_t>(m));
    for (double& v : b)
      v = std::uniform_real_distribution<double>(-1, 1)(g);
    const std::vector<double> ref = LapackMinNorm(d, b, -1);
    TMathMatrix R(m, n + 1, mt_GENERAL), x(n, 1, mt_GENERAL);
    for (int i = 0; i < m; ++i) {
      for (int j = 0; j < n; ++j)
        R(i, j) = d.a[size_t(i * n + j)];
      R(i, n) = b[size_t(i)];
    }
    qr_dcmp(R);
    ASSERT_EQ(Solve(R, x, n, 1e-300), 0);
    std::vector<double> got(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i)
      got[size_t(i)] = x(i, 0);
    const std::vector<double> s = SingularValues(d);
    // The least-squares problem's condition is kappa + kappa^2 |r| / (|A| |x|).
    const double k = s.front() / s.back();
    EXPECT_LE(RelErr(got.data(), ref), 4 * m * kEps * (k + k * k)) << n;
  }
}

TEST(LapackOracle, RankDeficientSystems)
{
  std::mt19937 g(33);
  for (int n : {2, 5, 20, 60})
    for (int r : {1, n / 2, n - 1}) {
      if (r < 1) continue;
      SCOPED_TRACE(testing::Message() << "n " << n << " rank " << r);
      const TDense d = Make(g, n, n, r, 0);
      const std::vector<double> s = SingularValues(d);
      TLinearEquations le(n, n);
      le.A = d.Mat();
      le.B = RandomVector(g, n);
      const TMathVector before(le.Solution);
      EXPECT_EQ(le.SolveQR(1e-8), gcBaseCode_Unsolvable);
      EXPECT_EQ(Values(le.Solution), Values(before));
      TMathMatrix a = d.Mat();
      TMathVector x(le.B);
      EXPECT_EQ(TLinearEquations::SolveGauss(a, x, 1e-6), gcBaseCode_Unsolvable);

      // The rank that the rank-revealing factor shows.
      TRrqr rr;
      TMathMatrix R;
      std::vector<int> P;
      rr.RRQR_Decompose(d.Mat(), R, nullptr, P);
      EXPECT_EQ(rr.RRQR_Rank(R, 1e-8 * s.front()), r);

      // The minimum-norm solution through the singular value decomposition.
      TRaw raw(d);
      std::vector<double> b(static_cast<size_t>(n + 1)), got(static_cast<size_t>(n + 1));
      ASSERT_TRUE(svdcmp(raw.ap.data(), n, n, raw.w.data(), raw.vp.data()));
      for (double& wj : raw.w)
        if (wj < 1e-10 * s.front()) wj = 0;
      std::copy(le.B.X, le.B.X + n, b.begin() + 1);
      svd_bksb(raw.ap.data(), raw.w.data(), raw.vp.data(), n, n, b.data(), got.data());
      const std::vector<double> ref = LapackMinNorm(d, Values(le.B), 1e-10);
      EXPECT_LE(RelErr(got.data() + 1, ref), 4 * n * kEps * s.front() / s[size_t(r - 1)] * 100);
    }
}

TEST(LapackOracle, SingularValuesAgreeWithDgesvd)
{
  std::mt19937 g(34);
  const int shapes[][3] = {{1, 1, 1},    {2, 2, 2},       {5, 3, 3},       {3, 5, 3},    {8, 8, 4},
                           {50, 50, 50}, {100, 100, 100}, {200, 200, 200}, {120, 60, 30}};
  for (const auto& sh : shapes) {
    const int m = sh[0], n = sh[1];
    const TDense d = Make(g, m, n, sh[2], m == n && m <= 50 ? 3 : 0);
    TRaw raw(d);
    ASSERT_TRUE(svdcmp(raw.ap.data(), m, n, raw.w.data(), raw.vp.data())) << m << "x" << n;
    const std::vector<double>& w = raw.w;
    std::vector<double> got(w.begin() + 1, w.end());
    std::sort(got.rbegin(), got.rend());
    std::vector<double> ref = SingularValues(d);
    ref.resize(static_cast<size_t>(n), 0.0); // a wide matrix has n - m zero singular values more
    for (int i = 0; i < n; ++i)
      EXPECT_LE(std::fabs(got[size_t(i)] - ref[size_t(i)]), 1e-12 * ref.front())
          << m << "x" << n << " #" << i;
  }
}

TEST(LapackOracle, PseudoInverseAgreesWithTheSvdOne)
{
  std::mt19937 g(35);
  const int shapes[][3] = {{4, 4, 4}, {6, 3, 3}, {3, 6, 3}, {6, 6, 3}, {12, 8, 8}};
  for (const auto& sh : shapes) {
    const int m = sh[0], n = sh[1];
    const TDense d = Make(g, m, n, sh[2], 0);
    // A+ = V diag(1/s) U^T from LAPACK.
    TDense a = d;
    const int p = std::min(m, n);
    std::vector<double> s(static_cast<size_t>(p)), u(static_cast<size_t>(m * p)),
        vt(static_cast<size_t>(p * n)), super(static_cast<size_t>(p));
    ASSERT_EQ(LAPACKE_dgesvd(LAPACK_ROW_MAJOR, 'S', 'S', m, n, a.a.data(), n, s.data(), u.data(), p,
                             vt.data(), n, super.data()),
              0);
    TSize dec = 5;
    TMathMatrix pinv;
    RecInv(d.Mat(), dec, pinv);
    ASSERT_EQ(pinv.Lines, n);
    ASSERT_EQ(pinv.Columns, m);
    double err = 0, big = 0;
    for (int i = 0; i < n; ++i)
      for (int j = 0; j < m; ++j) {
        double ref = 0;
        for (int k = 0; k < p; ++k)
          if (s[size_t(k)] > 1e-10 * s[0]) ref += vt[size_t(k * n + i)] * u[size_t(j * p + k)] / s[size_t(k)];
        err = std::max(err, std::fabs(pinv(i, j) - ref));
        big = std::max(big, std::fabs(ref));
      }
    // Greville's recursion loses digits with the condition of the leading columns; the
    // refinement brings full-rank results back to about 1e-10.
    EXPECT_LE(err, 1e-8 * big) << m << "x" << n << " rank " << sh[2];
  }
}

} // namespace
