#pragma once
// Square systems of non-linear equations F(X) = 0, solved by a damped Newton method or improved
// by a continuation on a shifted residual; the linear steps use the rank-revealing QR solver.
#include "hxcadkit/core/Types.h"
#include "hxcadkit/numeric/MathMatrix.h"
#include "hxcadkit/numeric/MathVector.h"
#include "hxcadkit/numeric/TVector2.h"

struct TIterationParam
{
  // Convergence bound of the residual and the step; in Solve also the rank tolerance.
  TData Epsilon = 1e-6;
  // Rank tolerance of the linear solves of Improve.
  TData NullEpsilon = 1e-10;
  // Iterations of Solve.
  TSize IterLimit = 100;
};

// A derived class supplies the equations through Fi (and, when it knows them, the derivatives
// through Fi filling its row of dF, or by overriding dFij).
class TNonLinearEquations
{
public:
  TIterationParam Iteration;
  TLinearEquations LE;
  // The unknowns; their count is the number of equations too.
  TMathVector X;
  // Residuals, Jacobian and Newton step live in LE, so that a linear solve needs no copying.
  TMathVector& F;
  TMathMatrix& dF;
  TMathVector& dX;

  explicit TNonLinearEquations(const TSize n);
  // F, dF and dX refer into this object's own LE: a copy would share another object's state.
  TNonLinearEquations(const TNonLinearEquations&) = delete;
  TNonLinearEquations& operator=(const TNonLinearEquations&) = delete;
  virtual ~TNonLinearEquations() = default;

  TSize Count() const { return X.N; }
  // n unknowns and equations (a negative n counts as 0); X, F and dX start at zero.
  void SetDimension(const TSize n);

  // From the current X: gcBaseCode_Ok on convergence; gcBaseCode_Unsolvable when the first
  // linear solve fails away from a solution, gcBaseCode_UninvertableJacobian when it fails after
  // the residual has at least halved; gcBaseCode_NoIterSolution when IterLimit iterations do not
  // converge; gcBaseCode_None when IterLimit <= 0; gcBaseCode_Error when X, F, dF and dX do not
  // agree in size (X resized other than through SetDimension). X keeps the last iterate.
  GcBaseResult Solve();
  // Improves the given X in at most iterLimit passes (at least one); true when X was improved.
  Boolean Improve(TMathVector& X, int iterLimit);

  // max |F[i]|, after computing every Fi at X unless IsFi; NaN when a residual is NaN.
  virtual TData Misclosure(const TMathVector& X, const Boolean IsFi);
  // Residual I at X: stored in F[I], and a reference to it returned.
  virtual TData& Fi(const TMathVector& X, const TSize I) = 0;
  // dF(I, J) by central differences with the absolute step 0.001; tX[J] is restored exactly and
  // F[I] is left with the residual at tX[J] - 0.001.
  virtual TData& dFij(TMathVector& tX, const TSize I, const TSize J);
  // Called once on the solution Solve returns.
  virtual void Correct(const TMathVector& X);
  // Called before every damped step is applied; may change the step.
  virtual void Correct(const TMathVector& F, const TMathVector& X, TMathVector& dX);

protected:
  // F and, unless OnlyFunctional, dF at eX.
  void MakeJacubian(TMathVector& eX, const Boolean OnlyFunctional);
  // Lowers the largest magnitude of rDelta by rStep, clearing it when that is at most 1.2 rStep.
  void Reduce(TMathVector& rDelta, const TData& rStep);

private:
  // X, F, dX of one size n and dF n x n.
  bool Consistent() const;
};
