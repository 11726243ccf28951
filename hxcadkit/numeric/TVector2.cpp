#include "hxcadkit/numeric/TVector2.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// Element (i, j) for reading, whatever the constness of the matrix at hand.
inline TData Get(const TMathMatrix& m, TSize i, TSize j)
{
  return m(i, j);
}

// Work space of at least n values.
inline void Reserve(TMathVector& v, TSize n)
{
  if (v.N < n || !v.X) v.SetDimension(std::max<TSize>(n, 0), 0.0);
  if (!v.X && v.N > 0) v.CatchMemory();
}

// The caller's index list, or one of our own when the caller gave none.
struct TIndexList
{
  std::vector<int> Own;
  int* P;
  TIndexList(int* idx, TSize n) : P(idx)
  {
    if (!P) {
      Own.assign(size_t(std::max<TSize>(n, 1)), 0);
      P = Own.data();
    }
  }
};

} // namespace

// ---------------------------------------------------------------------------------------------
// Gauss elimination and triangular solves

TSize TLinearEquations::SolveGauss(TMathMatrix& A, TMathVector& rcol, TData epsilon)
{
  const TSize n = A.Columns;
  if (n < 1) return gcBaseCode_Ok;
  if (!A.Data || A.Lines < n || !rcol.X || rcol.N < n) return gcBaseCode_Error;
  const TData tol = epsilon / (n + 1);
  TData* b = rcol.X;
  // The comparisons are written so that a NaN pivot counts as too small, and a zero pivot is
  // never taken, whatever epsilon the caller gives.
  for (TSize k = 0; k < n - 1; ++k) {
    if (!(std::fabs(Get(A, k, k)) >= 1e-05)) {
      TSize l = k;
      TData best = std::fabs(Get(A, k, k));
      if (std::isnan(best)) best = -1.0;
      for (TSize i = k + 1; i < n; ++i) {
        const TData v = std::fabs(Get(A, i, k));
        if (v > best) {
          best = v;
          l = i;
        }
      }
      if (l != k) {
        // Exchanging only the right-hand side would solve another system.
        if (!A.SwapLines(k, l)) return gcBaseCode_Unsolvable;
        std::swap(b[k], b[l]);
      }
      if (!(std::fabs(Get(A, k, k)) >= tol) || Get(A, k, k) == 0.0) return gcBaseCode_Unsolvable;
    }
    const TData p = Get(A, k, k);
    for (TSize i = k + 1; i < n; ++i) {
      if (std::fabs(Get(A, i, k)) <= 1e-14) continue;
      const TData f = Get(A, i, k) * (-1 / p);
      A(i, k) = 0.0;
      TRowSparseMathVector& rowI = A[i];
      const TRowSparseMathVector& rowK = A[k];
      if (rowI.SI <= k + 1 && rowI.EI >= n && rowK.SI <= k + 1 && rowK.EI >= n) {
        // Full rows (the usual case): the same update streamed through the two rows' storage.
        TData* __restrict const ri = rowI.X - rowI.SI;
        const TData* __restrict const rk = rowK.X - rowK.SI;
        for (TSize j = k + 1; j < n; ++j)
          ri[j] += rk[j] * f;
      } else {
        for (TSize j = k + 1; j < n; ++j)
          A(i, j) += Get(A, k, j) * f;
      }
      b[i] += f * b[k];
    }
  }
  if (!(std::fabs(Get(A, n - 1, n - 1)) >= tol) || Get(A, n - 1, n - 1) == 0.0) return gcBaseCode_Unsolvable;
  SolveRightUpTriangle(A, rcol);
  return gcBaseCode_Ok;
}

TSize TLinearEquations::SolveLeftDnTriangle(const TMathMatrix& L, TMathVector& y)
{
  const TSize n = std::min({L.Lines, L.Columns, y.X ? y.N : 0});
  if (!L.Data) return 0;
  TData* x = y.X;
  for (TSize i = 0; i < n; ++i) {
    const TData d = L(i, i);
    if (d == 0.0) return i;
    for (TSize k = 0; k < i; ++k) {
      const TData c = L(i, k);
      if (c != 0.0) x[i] -= c * x[k];
    }
    x[i] /= d;
  }
  return std::max<TSize>(n, 0);
}

TSize TLinearEquations::SolveLeftDnTriangleAsRightUpTransponate(const TMathMatrix& R, TMathVector& y)
{
  const TSize n = std::max<TSize>(std::min(R.Lines, R.Columns), 0);
  const TSize m = std::min(n, y.X ? y.N : 0);
  if (!R.Data) return n;
  TData* x = y.X;
  for (TSize i = 0; i < m; ++i) {
    const TData d = R(i, i);
    if (d == 0.0) break;
    for (TSize k = 0; k < i; ++k) {
      const TData c = R(k, i);
      if (c != 0.0) x[i] -= c * x[k];
    }
    x[i] /= d;
  }
  return n;
}

TSize TLinearEquations::SolveRightUpTriangle(const TMathMatrix& R, TMathVector& y)
{
  const TSize m = std::min(R.Columns, y.X ? y.N : 0);
  const TSize n = std::min(R.Lines, m);
  if (!R.Data || n < 1) return 0;
  TData* x = y.X;
  TSize zeros = 0;
  for (TSize i = n - 1; i >= 0; --i) {
    const TRowSparseMathVector& r = R[i];
    const TData d = R(i, i);
    if (d == 0.0) {
      ++zeros;
      continue;
    }
    // Only the stored part of the row right of the diagonal can contribute.
    const TSize hi = std::min(r.EI, m);
    for (TSize k = std::max(i + 1, r.SI); k < hi; ++k) {
      const TData c = r.X[k - r.SI];
      if (c != 0.0) x[i] -= c * x[k];
    }
    x[i] /= d;
  }
  return n - zeros;
}

// ---------------------------------------------------------------------------------------------
// L D L^T

namespace {

void FitFactors(TMathMatrix& L, TMathMatrix& D, TSize n)
{
  if (!L.Data || L.Lines < n || L.Columns < n) L.SetDimension(n, n, mt_LEFT);
  if (!D.Data || D.Lines < n || D.Columns < n) D.SetDimension(n, n, mt_DIAGONAL);
}

// The factorisation proper; a(i, k) reads the matrix being factored (i >= k).
template <class ReadA> TSize Factor(TMathMatrix& L, TMathMatrix& D, TSize n, ReadA&& a, TMathVector* W)
{
  std::vector<TData> P(size_t(std::max<TSize>(n, 1)), 0.0);
  for (TSize k = 0; k < n; ++k) {
    if (W)
      for (TSize i = k; i < n; ++i)
        W->X[i] = Get(L, i, k);
    TData dk = a(k, k);
    for (TSize m = 0; m < k; ++m) {
      const TData lkm = Get(L, k, m);
      if (lkm == 0.0) continue;
      P[m] = lkm * Get(D, m, m);
      dk -= lkm * P[m];
    }
    D(k, k) = dk;
    if (dk == 0.0) return k + 1;
    L(k, k) = 1.0;
    for (TSize i = k + 1; i < n; ++i) {
      TData lik = a(i, k);
      for (TSize m = 0; m < k; ++m) {
        const TData lkm = Get(L, k, m), lim = Get(L, i, m);
        if (lkm != 0.0 && lim != 0.0) lik -= lim * P[m];
      }
      L(i, k) = lik / dk;
    }
  }
  return 0;
}

} // namespace

TSize LR_LD(TMathMatrix& A, TMathMatrix& L, TMathMatrix& D)
{
  const TSize n = A.Data ? std::min(A.Lines, A.Columns) : 0;
  if (n < 1) return 0;
  if (&L == &A) return LR_LD(L, D);
  FitFactors(L, D, n);
  return Factor(
      L, D, n, [&](TSize i, TSize k) { return Get(A, i, k); }, nullptr);
}

TSize LR_LD(TMathMatrix& L, TMathMatrix& D)
{
  const TSize n = L.Data ? std::min(L.Lines, L.Columns) : 0;
  if (n < 1) return 0;
  if (!D.Data || D.Lines < n || D.Columns < n) D.SetDimension(n, n, mt_DIAGONAL);
  // Column k of the matrix is overwritten by the factor, so it is read from a copy.
  TMathVector W(n, 0.0);
  return Factor(
      L, D, n, [&](TSize i, TSize) { return W.X[i]; }, &W);
}

// ---------------------------------------------------------------------------------------------
// LU bordering

bool addrow_lu(double** mtm, double** lu, int dim, double tol, double)
{
  const int n = dim;
  if (!mtm || !lu || n < 0) return false;
  for (int k = 0; k < n; ++k) {
    if (lu[k][k] == 0.0) return false;
    double u = mtm[k][n];
    for (int m = 0; m < k; ++m)
      u -= lu[k][m] * lu[m][n];
    lu[k][n] = u;
    double l = mtm[n][k];
    for (int m = 0; m < k; ++m)
      l -= lu[n][m] * lu[m][k];
    lu[n][k] = l / lu[k][k];
  }
  double u = mtm[n][n];
  for (int m = 0; m < n; ++m)
    u -= lu[n][m] * lu[m][n];
  if (std::fabs(u) > tol) {
    lu[n][n] = u;
    return true;
  }
  lu[n][n] = 1e-20;
  return false;
}

// ---------------------------------------------------------------------------------------------
// Inverse of an upper triangle

bool inv_rmat(TMathMatrix& r)
{
  const TSize n = r.Data ? r.Lines : 0;
  for (TSize k = n - 1; k >= 0; --k) {
    if (Get(r, k, k) == 0.0) return false;
    const TData d = 1 / Get(r, k, k);
    r(k, k) = d;
    // Columns right to left: r(k, m) for m <= j still holds the original row k.
    for (TSize j = n - 1; j > k; --j) {
      TData s = 0.0;
      for (TSize m = k + 1; m <= j; ++m)
        s += Get(r, k, m) * Get(r, m, j);
      r(k, j) = -d * s;
    }
  }
  return true;
}

bool inv_srmat(TMathMatrix& r, int* idx, double null_v)
{
  const TSize n = r.Data ? r.Lines : 0;
  TIndexList list(idx, n);
  int* ix = list.P;
  for (TSize k = n - 1; k >= 0; --k) {
    if (Get(r, k, k) == 0.0) return false;
    int cnt = 0;
    for (TSize m = k + 1; m < n; ++m)
      if (std::fabs(Get(r, k, m)) > null_v) ix[cnt++] = m;
    const TData d = 1 / Get(r, k, k);
    r(k, k) = d;
    for (TSize j = n - 1; j > k; --j) {
      TData s = 0.0;
      for (int t = cnt - 1; t >= 0; --t)
        s += Get(r, k, ix[t]) * Get(r, ix[t], j);
      r(k, j) = -d * s;
      // The next column to the left needs only the entries at or left of it.
      if (cnt > 0 && ix[cnt - 1] >= j) --cnt;
    }
  }
  return true;
}

// ---------------------------------------------------------------------------------------------
// In-place products

void prod_mat(TMathMatrix& q, const TMathMatrix& a, TMathVector& v, bool minus)
{
  const TSize n = a.Data ? a.Lines : 0;
  if (n < 1 || !q.Data) return;
  Reserve(v, n);
  for (TSize i = 0; i < q.Lines; ++i) {
    for (TSize j = 0; j < n; ++j) {
      TData s = 0.0;
      for (TSize k = 0; k < n; ++k)
        s += Get(q, i, k) * Get(a, k, j);
      v.X[j] = s;
    }
    for (TSize j = 0; j < n; ++j)
      if (minus)
        q(i, j) -= v.X[j];
      else
        q(i, j) = v.X[j];
  }
}

void prod_sm_dm(TMathMatrix& q, const TMathMatrix& a, TMathVector& v, int* idx, double null_v)
{
  const TSize n = a.Data ? a.Lines : 0;
  if (n < 1 || !q.Data) return;
  Reserve(v, n);
  TIndexList list(idx, n);
  int* ix = list.P;
  for (TSize i = 0; i < q.Lines; ++i) {
    int cnt = 0;
    for (TSize k = 0; k < n; ++k)
      if (std::fabs(Get(q, i, k)) > null_v) ix[cnt++] = k;
    for (TSize j = 0; j < n; ++j) {
      TData s = 0.0;
      for (int t = cnt - 1; t >= 0; --t)
        s += Get(q, i, ix[t]) * Get(a, ix[t], j);
      v.X[j] = s;
    }
    for (TSize j = 0; j < n; ++j)
      q(i, j) = v.X[j];
  }
}

void prod_dm_sm(const TMathMatrix& q, TMathMatrix& a, TMathVector& v, int* idx, double null_v)
{
  const TSize n = a.Data ? a.Lines : 0;
  if (n < 1 || !q.Data || q.Lines < n) return;
  Reserve(v, n);
  TIndexList list(idx, n);
  int* ix = list.P;
  for (TSize j = 0; j < n; ++j) {
    int cnt = 0;
    for (TSize k = 0; k < n; ++k)
      if (std::fabs(Get(a, k, j)) > null_v) ix[cnt++] = k;
    for (TSize i = 0; i < n; ++i) {
      TData s = 0.0;
      for (int t = cnt - 1; t >= 0; --t)
        s += Get(q, i, ix[t]) * Get(a, ix[t], j);
      v.X[i] = s;
    }
    for (TSize i = 0; i < n; ++i)
      a(i, j) = v.X[i];
  }
}

void prod_rmat(TMathMatrix& q, const TMathMatrix& r, TMathVector& v)
{
  const TSize n = r.Data ? r.Lines : 0;
  if (n < 1 || !q.Data) return;
  Reserve(v, n);
  for (TSize i = 0; i < q.Lines; ++i) {
    for (TSize j = 0; j < n; ++j) {
      TData s = 0.0;
      for (TSize k = 0; k <= j; ++k)
        s += Get(q, i, k) * Get(r, k, j);
      v.X[j] = s;
    }
    for (TSize j = 0; j < n; ++j)
      q(i, j) = v.X[j];
  }
}
