#include "hxcadkit/numeric/TVector2.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// Absolute step of the central differences.
constexpr TData cDiffStep = 0.001;
// Solve takes this fraction of every Newton step.
constexpr TData cDamping = 5.0;

// max |v[i]| over the first n values; NaN as soon as one is NaN, so that no comparison can take
// a NaN residual for a small one.
TData MaxAbs(const TMathVector& v, TSize n)
{
  TData m = 0.0;
  for (TSize i = 0; i < std::min(n, v.N); ++i) {
    const TData a = std::fabs(v[i]);
    if (std::isnan(a)) return a;
    m = std::max(m, a);
  }
  return m;
}

} // namespace

bool TNonLinearEquations::Consistent() const
{
  const TSize n = X.N;
  return F.N == n && dX.N == n && dF.Lines == n && dF.Columns == n && (n == 0 || (F.X && dX.X && dF.Data));
}

TNonLinearEquations::TNonLinearEquations(const TSize n)
    : LE(std::max<TSize>(n, 0), std::max<TSize>(n, 0)), X(n), F(LE.B), dF(LE.A), dX(LE.Solution)
{
}

void TNonLinearEquations::SetDimension(const TSize n)
{
  const TSize k = std::max<TSize>(n, 0);
  X.SetDimension(k, 0.0);
  X.SetZero(0);
  LE.A.SetDimension(k, k, mt_GENERAL);
  LE.A.SetZero();
  LE.B.SetDimension(k, 0.0);
  LE.B.SetZero(0);
  LE.Solution.SetDimension(k, 0.0);
  LE.Solution.SetZero(0);
}

TData TNonLinearEquations::Misclosure(const TMathVector& X, const Boolean IsFi)
{
  const TSize n = std::min(this->X.N, F.N);
  if (n <= 0) return 0.0;
  if (!IsFi)
    for (TSize i = 0; i < n; ++i)
      Fi(X, i);
  return MaxAbs(F, n);
}

TData& TNonLinearEquations::dFij(TMathVector& tX, const TSize I, const TSize J)
{
  const TData x = tX[J];
  tX[J] = x + cDiffStep;
  const TData up = Fi(tX, I);
  tX[J] = x - cDiffStep;
  const TData down = Fi(tX, I);
  tX[J] = x;
  TData& d = dF(I, J);
  d = (up - down) / (2 * cDiffStep);
  return d;
}

void TNonLinearEquations::Correct(const TMathVector&) {}

void TNonLinearEquations::Correct(const TMathVector&, const TMathVector&, TMathVector&) {}

void TNonLinearEquations::MakeJacubian(TMathVector& eX, const Boolean OnlyFunctional)
{
  const TSize n = X.N;
  if (!Consistent() || eX.N < n) return;
  dF.SetZero();
  F.SetZero(0);
  for (TSize i = 0; i < n; ++i) {
    if (!OnlyFunctional)
      for (TSize j = 0; j < n; ++j)
        dFij(eX, i, j);
    // The derivatives left F[i] at a shifted point.
    Fi(eX, i);
  }
}

void TNonLinearEquations::Reduce(TMathVector& rDelta, const TData& rStep)
{
  const TData n = MaxAbs(rDelta, rDelta.N);
  if (n == 0.0) return;
  if (n <= 1.2 * rStep) {
    rDelta.SetZero(0);
    return;
  }
  const TData f = (n - rStep) / n;
  for (TSize i = 0; i < rDelta.N; ++i)
    rDelta[i] *= f;
}

GcBaseResult TNonLinearEquations::Solve()
{
  const TSize n = X.N;
  if (!Consistent()) return gcBaseCode_Error;
  const TData eps = Iteration.Epsilon;
  const TData init = Misclosure(X, false);
  if (Iteration.IterLimit <= 0) return gcBaseCode_None;
  for (TSize k = 1;; ++k) {
    MakeJacubian(X, false);
    const TData closure = Misclosure(X, false);
    dX.SetZero(0);
    if (LE.SolveQR(eps) != gcBaseCode_Ok) {
      if (eps > closure) {
        Correct(X);
        return gcBaseCode_Ok;
      }
      if (k == 1) {
        if (init * 0.5 > closure) {
          Correct(X);
          return gcBaseCode_UninvertableJacobian;
        }
        return gcBaseCode_Unsolvable;
      }
      // Later failures retry at the same point until the limit.
    } else {
      for (TSize i = 0; i < n; ++i)
        dX[i] /= cDamping;
      Correct(F, X, dX);
      for (TSize i = 0; i < n; ++i)
        X[i] -= dX[i];
      const TData c = Misclosure(X, false);
      if (eps > c && eps > MaxAbs(dX, n)) {
        Correct(X);
        return gcBaseCode_Ok;
      }
    }
    // Running out of iterations is not a solution.
    if (k >= Iteration.IterLimit) return gcBaseCode_NoIterSolution;
  }
}

Boolean TNonLinearEquations::Improve(TMathVector& X, int iterLimit)
{
  const TSize n = this->X.N;
  if (n <= 0 || X.N < n || !Consistent()) return false;
  const TData eps = Iteration.Epsilon;
  dF.SetZero();
  F.SetZero(0);
  for (TSize i = 0; i < n; ++i)
    Fi(X, i);

  TData rStep = 0.1 * MaxAbs(F, n);
  TMathVector rDelta(F);
  Reduce(rDelta, rStep);
  Boolean Result = false;
  TMathVector rSide(n), sLast(X);
  for (int p = std::max(iterLimit, 1);; --p) {
    for (TSize i = 0; i < n; ++i)
      rSide[i] = F[i] - rDelta[i];
    const TData c0 = MaxAbs(rSide, n);
    // The step aims at the shifted target: a full step for F itself would overshoot it by
    // rDelta and be rejected at once. F is recomputed at the trial point below.
    for (TSize i = 0; i < n; ++i)
      F[i] = rSide[i];
    // A failed solve leaves the previous step; the acceptance test below judges the result.
    LE.SolveQR(Iteration.NullEpsilon);
    for (TSize i = 0; i < n; ++i)
      sLast[i] = X[i] - dX[i];
    dF.SetZero();
    F.SetZero(0);
    for (TSize i = 0; i < n; ++i)
      Fi(sLast, i);
    for (TSize i = 0; i < n; ++i)
      rSide[i] = F[i] - rDelta[i];
    const TData c1 = MaxAbs(rSide, n);
    // Written so that a NaN residual at the trial point rejects it.
    if (!(c1 < c0)) return Result;
    for (TSize i = 0; i < n; ++i)
      X[i] = sLast[i];
    if (MaxAbs(rDelta, n) == 0.0 && c1 < eps) return true;
    if (c0 - c1 < std::max(eps / 3.0, std::min(0.1 * c0, c0 / p))) return true;
    if (c1 < 0.5 * c0 || c1 < eps) rStep *= 2.0;
    if (rStep > c1) Reduce(rDelta, rStep);
    Result = true;
    if (p <= 1) return true;
  }
}
