#include "hxcadkit/numeric/TVector2.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace {

// Sweeps allowed per singular value, the last one only testing for convergence.
constexpr int cSvdPasses = 30;
// Singular values at or below this magnitude are dropped by the back substitution.
constexpr TData cSvdNull = 1e-14;
// A new column closer than this (squared residual) to the columns before it is dependent.
constexpr TData cGrevNull = 1e-15;
// Refinement stops once a correction is this small; it is also the accuracy of an exact result.
constexpr TData cRefineStop = 1e-15;
constexpr TSize cRefinePasses = 38;

inline TData Sign(TData a, TData b)
{
  return b >= 0.0 ? std::fabs(a) : -std::fabs(a);
}

// |rv| + anorm == anorm: the value is negligible against the matrix.
inline bool Negligible(TData v, TData anorm)
{
  return std::fabs(v) + anorm == anorm;
}

TMathMatrix Identity(TSize n)
{
  TMathMatrix I(n, n, mt_DIAGONAL);
  for (TSize i = 0; i < n; ++i)
    I(i, i) = 1.0;
  return I;
}

// Columns j0 .. j0 + cols - 1 of A as a general matrix.
TMathMatrix Columns(const TMathMatrix& A, TSize j0, TSize cols)
{
  TMathMatrix c(A.Lines, cols, mt_GENERAL);
  ClipMatr(A, c, 0, j0);
  return c;
}

TData SumOfSquares(const TMathMatrix& M)
{
  TData s = 0.0;
  for (TSize i = 0; M.Data && i < M.Lines; ++i)
    for (TSize j = 0; j < M.Columns; ++j) {
      const TData v = M(i, j);
      s += v * v;
    }
  return s;
}

// The integer part of v, saturated (0 for NaN).
TSize Truncate(TData v)
{
  if (!(v == v)) return 0;
  if (v >= double(std::numeric_limits<TSize>::max())) return std::numeric_limits<TSize>::max();
  if (v <= double(std::numeric_limits<TSize>::min())) return std::numeric_limits<TSize>::min();
  return TSize(v);
}

} // namespace

TData pythag(TData a, TData b)
{
  const TData absa = std::fabs(a), absb = std::fabs(b);
  if (absa > absb) {
    const TData r = absb / absa;
    return absa * std::sqrt(1.0 + r * r);
  }
  if (absb == 0.0) return 0.0;
  const TData r = absa / absb;
  return absb * std::sqrt(1.0 + r * r);
}

// ---------------------------------------------------------------------------------------------
// Golub-Reinsch singular value decomposition

bool svdcmp(TData** a, TSize m, TSize n, TData* w, TData** v)
{
  if (m < 1 || n < 1) return true;
  std::vector<TData> rv1(size_t(n) + 1, 0.0); // the superdiagonal, 1-based
  TData g = 0.0, scale = 0.0, anorm = 0.0;
  TSize l = 1;

  // Householder reduction to bidiagonal form: left reflections clear columns below the
  // diagonal, right reflections rows beyond the superdiagonal.
  for (TSize i = 1; i <= n; ++i) {
    l = i + 1;
    rv1[size_t(i)] = scale * g;
    g = scale = 0.0;
    TData s = 0.0;
    if (i <= m) {
      for (TSize k = i; k <= m; ++k)
        scale += std::fabs(a[k][i]);
      if (scale != 0.0) {
        for (TSize k = i; k <= m; ++k) {
          a[k][i] /= scale;
          s += a[k][i] * a[k][i];
        }
        const TData f = a[i][i];
        g = -Sign(std::sqrt(s), f);
        const TData h = f * g - s;
        a[i][i] = f - g;
        for (TSize j = l; j <= n; ++j) {
          TData t = 0.0;
          for (TSize k = i; k <= m; ++k)
            t += a[k][i] * a[k][j];
          const TData fj = t / h;
          for (TSize k = i; k <= m; ++k)
            a[k][j] += fj * a[k][i];
        }
        for (TSize k = i; k <= m; ++k)
          a[k][i] *= scale;
      }
    }
    w[i] = scale * g;
    g = scale = 0.0;
    s = 0.0;
    if (i <= m && i != n) {
      for (TSize k = l; k <= n; ++k)
        scale += std::fabs(a[i][k]);
      if (scale != 0.0) {
        for (TSize k = l; k <= n; ++k) {
          a[i][k] /= scale;
          s += a[i][k] * a[i][k];
        }
        const TData f = a[i][l];
        g = -Sign(std::sqrt(s), f);
        const TData h = f * g - s;
        a[i][l] = f - g;
        for (TSize k = l; k <= n; ++k)
          rv1[size_t(k)] = a[i][k] / h;
        for (TSize j = l; j <= m; ++j) {
          TData t = 0.0;
          for (TSize k = l; k <= n; ++k)
            t += a[j][k] * a[i][k];
          for (TSize k = l; k <= n; ++k)
            a[j][k] += t * rv1[size_t(k)];
        }
        for (TSize k = l; k <= n; ++k)
          a[i][k] *= scale;
      }
    }
    anorm = std::max(anorm, std::fabs(w[i]) + std::fabs(rv1[size_t(i)]));
  }

  // V from the right reflections, last first.
  for (TSize i = n; i >= 1; --i) {
    if (i < n) {
      if (g != 0.0) {
        // Two divisions keep a[i][l] * g from underflowing.
        for (TSize j = l; j <= n; ++j)
          v[j][i] = (a[i][j] / a[i][l]) / g;
        for (TSize j = l; j <= n; ++j) {
          TData t = 0.0;
          for (TSize k = l; k <= n; ++k)
            t += a[i][k] * v[k][j];
          for (TSize k = l; k <= n; ++k)
            v[k][j] += t * v[k][i];
        }
      }
      for (TSize j = l; j <= n; ++j)
        v[i][j] = v[j][i] = 0.0;
    }
    v[i][i] = 1.0;
    g = rv1[size_t(i)];
    l = i;
  }

  // U from the left reflections, in place of a.
  for (TSize i = std::min(m, n); i >= 1; --i) {
    l = i + 1;
    g = w[i];
    for (TSize j = l; j <= n; ++j)
      a[i][j] = 0.0;
    if (g != 0.0) {
      g = 1.0 / g;
      for (TSize j = l; j <= n; ++j) {
        TData t = 0.0;
        for (TSize k = l; k <= m; ++k)
          t += a[k][i] * a[k][j];
        const TData f = (t / a[i][i]) * g;
        for (TSize k = i; k <= m; ++k)
          a[k][j] += f * a[k][i];
      }
      for (TSize j = i; j <= m; ++j)
        a[j][i] *= g;
    } else {
      for (TSize j = i; j <= m; ++j)
        a[j][i] = 0.0;
    }
    a[i][i] += 1.0;
  }

  // Diagonalisation of the bidiagonal form by implicitly shifted QR sweeps.
  for (TSize k = n; k >= 1; --k) {
    for (int its = 1; its <= cSvdPasses; ++its) {
      // Split point: the lowest l whose superdiagonal value is negligible (rv1[1] always is),
      // or whose diagonal value just above is, which is then cancelled first.
      bool cancel = true;
      TSize nm = 0;
      for (l = k; l >= 1; --l) {
        nm = l - 1;
        if (l == 1 || Negligible(rv1[size_t(l)], anorm)) {
          cancel = false;
          break;
        }
        if (Negligible(w[nm], anorm)) break;
      }
      if (cancel) {
        TData c = 0.0, s = 1.0;
        for (TSize i = l; i <= k; ++i) {
          const TData f = s * rv1[size_t(i)];
          rv1[size_t(i)] = c * rv1[size_t(i)];
          if (Negligible(f, anorm)) break;
          g = w[i];
          TData h = pythag(f, g);
          w[i] = h;
          h = 1.0 / h;
          c = g * h;
          s = -f * h;
          for (TSize j = 1; j <= m; ++j) {
            const TData y = a[j][nm], z = a[j][i];
            a[j][nm] = y * c + z * s;
            a[j][i] = z * c - y * s;
          }
        }
      }
      TData z = w[k];
      if (l == k) {
        if (z < 0.0) {
          w[k] = -z;
          for (TSize j = 1; j <= n; ++j)
            v[j][k] = -v[j][k];
        }
        break;
      }
      if (its == cSvdPasses) return false;

      // Shift from the trailing 2 x 2 block, then chase the bulge down from l.
      TData x = w[l];
      nm = k - 1;
      TData y = w[nm];
      g = rv1[size_t(nm)];
      TData h = rv1[size_t(k)];
      TData f = ((y - z) * (y + z) + (g - h) * (g + h)) / (2.0 * h * y);
      g = pythag(f, 1.0);
      f = ((x - z) * (x + z) + h * ((y / (f + Sign(g, f))) - h)) / x;
      TData c = 1.0, s = 1.0;
      for (TSize j = l; j <= nm; ++j) {
        const TSize i = j + 1;
        g = rv1[size_t(i)];
        y = w[i];
        h = s * g;
        g = c * g;
        z = pythag(f, h);
        rv1[size_t(j)] = z;
        c = f / z;
        s = h / z;
        f = x * c + g * s;
        g = g * c - x * s;
        h = y * s;
        y *= c;
        for (TSize jj = 1; jj <= n; ++jj) {
          const TData vx = v[jj][j], vz = v[jj][i];
          v[jj][j] = vx * c + vz * s;
          v[jj][i] = vz * c - vx * s;
        }
        z = pythag(f, h);
        w[j] = z;
        if (z != 0.0) {
          z = 1.0 / z;
          c = f * z;
          s = h * z;
        }
        f = c * g + s * y;
        x = c * y - s * g;
        for (TSize jj = 1; jj <= m; ++jj) {
          const TData ay = a[jj][j], az = a[jj][i];
          a[jj][j] = ay * c + az * s;
          a[jj][i] = az * c - ay * s;
        }
      }
      rv1[size_t(l)] = 0.0;
      rv1[size_t(k)] = f;
      w[k] = x;
    }
  }
  return true;
}

void svd_bksb(const TData* const* u, const TData* w, const TData* const* v, TSize m, TSize n, const TData* b,
              TData* x)
{
  if (n < 1) return;
  std::vector<TData> t(size_t(n) + 1, 0.0);
  for (TSize j = 1; j <= n; ++j) {
    if (!(std::fabs(w[j]) > cSvdNull)) continue;
    TData s = 0.0;
    for (TSize i = 1; i <= m; ++i)
      s += u[i][j] * b[i];
    t[size_t(j)] = s / w[j];
  }
  for (TSize j = 1; j <= n; ++j) {
    TData s = 0.0;
    for (TSize k = 1; k <= n; ++k)
      s += v[j][k] * t[size_t(k)];
    x[j] = s;
  }
}

// ---------------------------------------------------------------------------------------------
// Block operations

void ClipMatr(const TMathMatrix& A, TMathMatrix& B, TSize i0, TSize j0)
{
  for (TSize i = 0; B.Data && i < B.Lines; ++i)
    for (TSize j = 0; j < B.Columns; ++j)
      B(i, j) = A.At(i + i0, j + j0);
}

void PasteMatr(TMathMatrix& A, const TMathMatrix& B, TSize i0, TSize j0)
{
  for (TSize i = 0; B.Data && A.Data && i < B.Lines; ++i) {
    const TSize row = i + i0;
    if (row < 0 || row >= A.Lines) continue;
    for (TSize j = 0; j < B.Columns; ++j)
      A(row, j + j0) = B(i, j);
  }
}

void Rest_matr(const TMathMatrix& B, const TMathMatrix& A, const TMathMatrix& X, TMathMatrix& D)
{
  if (D.Lines != B.Lines || D.Columns != B.Columns || (!D.Data && B.Lines > 0))
    D.SetDimension(B.Lines, B.Columns, mt_GENERAL);
  for (TSize i = 0; D.Data && i < D.Lines; ++i)
    for (TSize j = 0; j < D.Columns; ++j) {
      // Accumulated from -B(i, j) and negated, so that it rounds like the product sums elsewhere.
      TData s = -B.At(i, j);
      for (TSize k = 0; k < A.Columns; ++k)
        s += A.At(i, k) * X.At(k, j);
      D(i, j) = -s;
    }
}

TData Inv_Improve(const TMathMatrix& A, TMathMatrix& X, TSize& it)
{
  const TSize m = A.Lines, n = A.Columns, p = std::max<TSize>(std::min(m, n), 0);
  TSize limit = cRefinePasses;
  if (it >= 1) {
    limit = it;
    it = 0;
  }
  const TMathMatrix I = Identity(p);
  TMathMatrix D, DX;
  TData prev = X.NormaMax(), d = 0.0;
  for (;;) {
    // The correction is taken on the smaller side of the product.
    if (m < n) {
      Rest_matr(I, A, X, D);
      DX.SetMultiply(X, D);
    } else {
      Rest_matr(I, X, A, D);
      DX.SetMultiply(D, X);
    }
    X += DX;
    d = DX.NormaMax();
    ++it;
    // A correction that does not shrink (or is NaN) ends the refinement.
    if (!(it < limit && d < prev && d > cRefineStop)) break;
    prev = d;
  }
  TData big = X.NormaMax();
  if (big == 0.0) big = 1.0;
  const TData r = d / big;
  return r > 0.0 ? r : cRefineStop;
}

TMathMatrix GrevRec(TMathMatrix& A, TMathMatrix& a, TMathMatrix& _A)
{
  const TSize m = A.Lines;
  TMathMatrix D;
  Rest_matr(Identity(m), A, _A, D); // I - A * _A
  TMathMatrix c = D * a;
  const TData s = SumOfSquares(c);
  if (s >= cGrevNull) {
    c *= 1.0 / s;
    return c;
  }
  // a lies in the column space of A.
  const TMathMatrix d = _A * a;
  TMathMatrix At;
  _A.Transpose(At);
  TMathMatrix k = At * d;
  k *= 1.0 / (1.0 + SumOfSquares(d));
  return k;
}

void RecInv(const TMathMatrix& A, TSize& dec, TMathMatrix& _A)
{
  const TSize m = std::max<TSize>(A.Lines, 0), n = std::max<TSize>(A.Columns, 0);
  if (m < 1 || n < 1 || !A.Data) {
    // The pseudo-inverse of an empty matrix is empty, and exact.
    _A.SetDimension(n, m, mt_GENERAL);
    dec = 15;
    return;
  }
  const TSize passes = dec;
  _A.SetDimension(1, m, mt_GENERAL);
  _A.SetZero(); // a zero first column has the zero row as its pseudo-inverse
  TMathMatrix Aj = Columns(A, 0, 1);
  const TMathMatrix I = Identity(m);
  const TData s = SumOfSquares(Aj);
  if (s > 0.0)
    for (TSize i = 0; i < m; ++i)
      _A(0, i) = A(i, 0) / s;

  TData r = 0.0;
  if (n == 1) {
    // One column gets the same last refinement as any other matrix, so that dec measures a
    // residual here too.
    TSize it = 0;
    r = Inv_Improve(Aj, _A, it);
  }
  for (TSize j = 1; j < n; ++j) {
    TMathMatrix a = Columns(A, j, 1);
    const TMathMatrix K = GrevRec(Aj, a, _A);
    TMathMatrix Kt;
    K.Transpose(Kt);
    TMathMatrix D;
    Rest_matr(I, a, Kt, D);
    const TMathMatrix prod = _A * D;
    _A.SetDimension(j + 1, m, mt_GENERAL);
    PasteMatr(_A, prod, 0, 0);
    PasteMatr(_A, Kt, j, 0);
    Aj = Columns(A, 0, j + 1);
    TSize it = j < n - 1 ? passes : 0;
    r = Inv_Improve(Aj, _A, it);
  }
  const TData v = r < 1e-30 ? 1e-15 : r;
  dec = Truncate(-std::log10(v));
}
