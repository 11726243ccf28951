#include "hxcadkit/numeric/TVector2.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <utility>

namespace {

// Elements at or below this magnitude are not worth a rotation.
constexpr TData cSkipRotation = 1e-14;
// A column is null when its norm is at most this share of the largest, and never less than
// this much in absolute terms.
constexpr TData cNullRatio = 0.0005;
constexpr TData cSqNullFloor = 2.5e-07;
// Solve gives up on solution values beyond this bound.
constexpr TData cSolutionBound = 1000.0;

inline TData Entry(const TMathMatrix& m, TSize i, TSize j)
{
  return m(i, j);
}

// Eliminates R(i, j) against the pivot row j (i > j); R(i, j) must not be zero. The rotation is
// handed back for the orthogonal factor. The two rows are walked through their storage over the
// columns both hold, so the loop streams two contiguous arrays (and vectorises); each element
// gets the same operations in the same order as through the element accessors.
inline void Givens(TMathMatrix& R, TSize i, TSize j, TSize n, TData& c, TData& s)
{
  const TData rij = Entry(R, i, j), rjj = Entry(R, j, j);
  const TData r = std::hypot(rij, rjj);
  c = rjj / r;
  s = rij / r;
  R(j, j) = r;
  R(i, j) = 0.0;
  TRowSparseMathVector& rowJ = R[j];
  TRowSparseMathVector& rowI = R[i];
  const TSize lo = std::max({j + 1, rowJ.SI, rowI.SI}), hi = std::min({n, rowJ.EI, rowI.EI});
  TData* __restrict const pj = rowJ.X - rowJ.SI;
  TData* __restrict const pi = rowI.X - rowI.SI;
  const TData cc = c, ss = s;
  for (TSize k = lo; k < hi; ++k) {
    const TData a = pj[k], b = pi[k];
    pj[k] = cc * a + ss * b;
    pi[k] = cc * b - ss * a;
  }
}

// Applies the rotation of rows j and i to the accumulated factor Q. Row j can hold values only
// in columns 0 .. i-1 and row i in 0 .. i at this point, so column i is set rather than rotated.
// With exactOne, Q(i, i) counts as 1 only when it is exactly 1.
inline void RotateQ(TMathMatrix& Q, TSize i, TSize j, TData c, TData s, bool exactOne)
{
  // Q is a general matrix (MakeIdentity), so its rows hold every column.
  TData* __restrict const pj = Q[j].X;
  TData* __restrict const pi = Q[i].X;
  for (TSize k = 0; k < i; ++k) {
    const TData a = pj[k], b = pi[k];
    pj[k] = c * a + s * b;
    pi[k] = c * b - s * a;
  }
  const TData a = pi[i];
  const bool one = exactOne ? a == 1.0 : std::fabs(a - 1.0) < 1e-14;
  if (one) {
    pj[i] = s;
    pi[i] = c;
  } else {
    pj[i] = s * a;
    pi[i] = c * a;
  }
}

// Makes Q a general lines x lines identity.
void MakeIdentity(TMathMatrix& Q, TSize lines)
{
  const TSize m = std::max<TSize>(lines, 0);
  if (Q.Lines != m || Q.Columns != m || Q.Type != mt_GENERAL || (!Q.Data && m > 0))
    Q.SetDimension(m, m, mt_GENERAL);
  Q.SetZero();
  for (TSize i = 0; i < m; ++i)
    Q(i, i) = 1.0;
}

// The squared norm of column k over rows from .. m-1, from the cache or, when unknown there, from
// the matrix (and then stored).
TData SqNorm(const TMathMatrix& R, TMathVector& S, TSize k, TSize from)
{
  if (S[k] < 0.0) {
    TData s = 0.0;
    for (TSize i = std::max<TSize>(from, 0); i < R.Lines; ++i) {
      const TData v = Entry(R, i, k);
      s += v * v;
    }
    S[k] = s;
  }
  return S[k];
}

// Columns from j on that both the matrix and the cache hold.
inline TSize CacheColumns(const TMathMatrix& R, const TMathVector& S)
{
  return R.Data ? std::min(R.Columns, S.N) : 0;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Plain QR

void qr_dcmp(TMathMatrix& R, TMathMatrix& Q, bool q)
{
  const TSize m = R.Data ? R.Lines : 0, n = R.Columns;
  // Rows of Q are rotated only where they can be non-zero, so Q has to start as the identity.
  if (q) MakeIdentity(Q, m);
  for (TSize j = 0; j < n; ++j)
    for (TSize i = j + 1; i < m; ++i) {
      if (Entry(R, i, j) == 0.0) continue;
      TData c, s;
      Givens(R, i, j, n, c, s);
      if (q) RotateQ(Q, i, j, c, s, false);
    }
}

void qr_dcmp(TMathMatrix& R, const TSize fc, const TSize m, const TSize n)
{
  const TSize lines = R.Data ? std::min(m, R.Lines) : 0, cols = std::min(n, R.Columns);
  for (TSize j = std::max<TSize>(fc, 0); j < cols; ++j)
    for (TSize i = j + 1; i < lines; ++i) {
      if (!(std::fabs(Entry(R, i, j)) > cSkipRotation)) continue;
      TData c, s;
      Givens(R, i, j, cols, c, s);
    }
}

void qr_dcmp(TMathMatrix& R)
{
  qr_dcmp(R, 0, R.Lines, R.Columns);
}

void qr_lequ(const TMathMatrix& rMat, const TMathMatrix& qMat, TMathVector& rVec)
{
  const TSize n = rVec.N;
  if (rMat.Lines != n || rMat.Columns != n || qMat.Lines != n || qMat.Columns != n) return;
  if (n < 1 || !rVec.X || !rMat.Data || !qMat.Data) return;
  std::vector<TData> y(size_t(n), 0.0);
  for (TSize i = 0; i < n; ++i) {
    TData s = 0.0;
    for (TSize k = 0; k < n; ++k) {
      const TData qik = qMat(i, k);
      if (qik != 0.0) s += qik * rVec.X[k];
    }
    y[size_t(i)] = s;
  }
  for (TSize k = n - 1; k >= 0; --k) {
    const TData xk = y[size_t(k)] / rMat(k, k);
    y[size_t(k)] = xk;
    for (TSize j = 0; j < k; ++j) {
      const TData rjk = rMat(j, k);
      if (rjk != 0.0) y[size_t(j)] -= rjk * xk;
    }
  }
  std::copy(y.begin(), y.end(), rVec.X);
}

TSize Solve(TMathMatrix& R, TMathMatrix& x, TSize n, TData dnull)
{
  if (n <= 0) return 0;
  if (!R.Data || !x.Data || R.Lines < n || R.Columns < n + 1 || x.Lines < n || x.Columns < 1) return n;
  for (TSize i = n - 1; i >= 0; --i) {
    const TData d = Entry(R, i, i);
    // Written so that a NaN pivot or value stops the substitution like a bad one.
    if (!(std::fabs(d) >= dnull)) return i + 1;
    const TData xi = Entry(R, i, i + 1) / d;
    x(i, 0) = xi;
    if (!(std::fabs(xi) <= cSolutionBound)) {
      R(i, i) = 0.0;
      R(i, i + 1) = 0.0;
      return i + 1;
    }
    for (TSize l = 0; l < i; ++l)
      R(l, i) = Entry(R, l, i + 1) - Entry(R, l, i) * xi;
  }
  return 0;
}

// ---------------------------------------------------------------------------------------------
// Rank-revealing QR

TSize TLinearEquations::RRQR_MaxColumn(const TMathMatrix& R, TMathVector& S, const TSize j)
{
  TSize best = j;
  TData bestNorm = -1.0;
  for (TSize k = std::max<TSize>(j, 0); k < CacheColumns(R, S); ++k) {
    const TData v = SqNorm(R, S, k, j);
    if (v > bestNorm) {
      bestNorm = v;
      best = k;
    }
  }
  return best;
}

TSize TLinearEquations::RRQR_Pivot(const TMathMatrix& R, TMathVector& S, const TSize j,
                                   const TData& sqNullEps)
{
  // The smallest column that is not null keeps the factor well away from the null columns,
  // which end up last, where RRQR_Rank cuts them.
  TData minAbove = 1e300, maxBelow = -1e300;
  TSize above = -1, below = -1;
  for (TSize k = std::max<TSize>(j, 0); k < CacheColumns(R, S); ++k) {
    const TData v = SqNorm(R, S, k, j);
    if (v > sqNullEps) {
      if (v < minAbove) {
        minAbove = v;
        above = k;
      }
    } else if (above < 0 && v > maxBelow) {
      maxBelow = v;
      below = k;
    }
  }
  if (above >= 0) return above;
  return below >= 0 ? below : j;
}

void TLinearEquations::RRQR_Reduce(const TMathMatrix& R, TMathVector& S, const TSize j)
{
  if (j < 0 || j >= R.Lines) return;
  for (TSize k = j + 1; k < CacheColumns(R, S); ++k) {
    if (S[k] >= 0.0) {
      const TData v = Entry(R, j, k);
      S[k] -= v * v;
    } else {
      S[k] = -1.0;
      SqNorm(R, S, k, j + 1);
    }
  }
}

void TLinearEquations::RRQR_Permutation(TMathMatrix& R, TMathVector& S, std::vector<int>& P, const TSize j,
                                        const TData& sqNullEps)
{
  const TSize c = RRQR_Pivot(R, S, j, sqNullEps);
  if (c == j) return;
  if (!R.SwapCols(j, c)) return;
  if (size_t(std::max(j, c)) < P.size()) std::swap(P[size_t(j)], P[size_t(c)]);
  std::swap(S[j], S[c]);
}

void TLinearEquations::RRQR_Decompose(const TMathMatrix& A, TMathMatrix& R, TMathMatrix* q,
                                      std::vector<int>& P)
{
  if (A.Type == mt_GENERAL || A.Type == mt_ORTHOGONAL) {
    A.Transpose(R);
  } else {
    // The factor needs full rows whatever kind A is stored as.
    R.SetDimension(A.Columns, A.Lines, mt_GENERAL);
    R.SetZero();
    for (TSize i = 0; i < R.Lines; ++i)
      for (TSize k = 0; k < R.Columns; ++k)
        R(i, k) = A.At(k, i);
  }
  R.Type = mt_GENERAL;
  const TSize m = R.Data ? R.Lines : 0, n = R.Columns;
  P.resize(size_t(std::max<TSize>(A.Lines, 0)));
  std::iota(P.begin(), P.end(), 0);
  if (q) MakeIdentity(*q, m);
  if (n < 1) return;

  TMathVector S(n, -1.0);
  const TSize largest = RRQR_MaxColumn(R, S, 0);
  const TData sqNullEps = std::max(S[largest] * cNullRatio * cNullRatio, cSqNullFloor);
  for (TSize j = 0; j < n; ++j) {
    RRQR_Permutation(R, S, P, j, sqNullEps);
    for (TSize i = j + 1; i < m; ++i) {
      if (!(std::fabs(Entry(R, i, j)) > cSkipRotation)) continue;
      TData c, s;
      Givens(R, i, j, n, c, s);
      if (q) RotateQ(*q, i, j, c, s, true);
    }
    RRQR_Reduce(R, S, j);
  }
}

TSize TLinearEquations::RRQR_Rank(const TMathMatrix& rMat, const TData eps) const
{
  TSize r = rMat.Data ? std::max<TSize>(std::min(rMat.Lines, rMat.Columns), 0) : 0;
  while (r > 0 && std::fabs(rMat(r - 1, r - 1)) <= eps)
    --r;
  return r;
}

Boolean TLinearEquations::rrqr_lequ_wo_q(const TMathMatrix& A, const TMathMatrix& rMat,
                                         const std::vector<int>& P, const TMathVector& Y, TMathVector& X)
{
  // Only square systems: the semi-normal equations below pair the factor's rows with the
  // equations one to one.
  const TSize n = A.Lines;
  if (A.Columns != n || rMat.Lines != n || rMat.Columns != n || P.size() != size_t(std::max<TSize>(n, 0)) ||
      Y.N < n || (n > 0 && (!A.Data || !rMat.Data || !Y.X)))
    return false;
  std::vector<int> perm(P);
  for (int p : perm)
    if (p < 0 || p >= n) return false;

  TMathVector y(n, 0.0);
  for (TSize k = 0; k < n; ++k)
    y[k] = Y[perm[size_t(k)]];
  const TSize r0 = TLinearEquations::SolveLeftDnTriangleAsRightUpTransponate(rMat, y);
  y.SetZero(r0);
  const TSize r1 = TLinearEquations::SolveRightUpTriangle(rMat, y);
  if (r1 != r0) return false;
  y.SetZero(r0);

  TMathVector z(n, 0.0);
  for (TSize k = 0; k < n; ++k)
    z[perm[size_t(k)]] = y[k];
  if (X.N != n || (!X.X && n > 0)) X.SetDimension(n, 0.0);
  // X = A^T z, accumulated row by row of A: each X[i] still sums its terms in the order of k.
  std::vector<TData> acc(size_t(n), 0.0);
  for (TSize k = 0; k < n; ++k) {
    const TRowSparseMathVector& row = A[k];
    const TData zk = z[k];
    if (row.SI == 0 && row.EI >= n) {
      for (TSize i = 0; i < n; ++i)
        acc[size_t(i)] += row.X[i] * zk;
    } else {
      for (TSize i = 0; i < n; ++i)
        acc[size_t(i)] += row[i] * zk;
    }
  }
  std::copy(acc.begin(), acc.end(), X.X);
  return true;
}

GcBaseResult TLinearEquations::SolveQR(const TData& epsilon)
{
  if (A.Lines != A.Columns) return gcBaseCode_Unsolvable;
  if (B.N < A.Lines || (A.Lines > 0 && !B.X)) return gcBaseCode_Error;
  if (A.Lines < 1) return gcBaseCode_Ok;

  TMathMatrix RAT(A.Columns, A.Lines, mt_GENERAL);
  std::vector<int> P(size_t(A.Lines), 0);
  RRQR_Decompose(A, RAT, nullptr, P);
  const TSize rank = RRQR_Rank(RAT, epsilon);
  for (TSize i = rank; i < std::min(RAT.Lines, RAT.Columns); ++i)
    RAT(i, i) = 0.0;
  return rrqr_lequ_wo_q(A, RAT, P, B, Solution) ? gcBaseCode_Ok : gcBaseCode_Unsolvable;
}
