#pragma once
// The solvers: direct, QR and rank-revealing QR, singular value decomposition and pseudo-inverse,
// and square non-linear systems.
#include <vector>

#include "hxcadkit/numeric/TVector.h"

enum GcBaseResult {
  gcBaseCode_None = 0,
  gcBaseCode_Ok = 1,
  gcBaseCode_Overconstrained = 2,
  gcBaseCode_Not_Satisfied = 5,
  gcBaseCode_Unsolvable = 6,
  gcBaseCode_Error = 8,
  gcBaseCode_NoIterSolution = 9,
  gcBaseCode_UninvertableJacobian = 10,
  gcBaseCode_NullStepIterations = 11
};

// A system of A.Lines equations in A.Columns unknowns: A * Solution = B. The direct solvers
// below work only on what they are given and leave the three members alone.
class TLinearEquations
{
public:
  TMathMatrix A;
  TMathVector B;
  TMathVector Solution;

  TLinearEquations() = default;
  TLinearEquations(TSize lines, TSize columns)
      : A(lines, columns, mt_GENERAL), B(lines, 0.0), Solution(columns, 0.0)
  {
  }

  // Gauss elimination with a pivot search only for a diagonal below 1e-05. A (general or
  // orthogonal: rows are exchanged) is reduced to an upper triangle and rcol becomes the
  // solution. gcBaseCode_Ok, or gcBaseCode_Unsolvable for a pivot below epsilon / (n + 1) or a
  // matrix whose rows cannot be exchanged; gcBaseCode_Error when A or rcol is too small.
  static TSize SolveGauss(TMathMatrix& A, TMathVector& rcol, TData epsilon);
  // Forward substitution with the lower triangle of L, in place; the count of unknowns solved
  // before the first zero pivot.
  static TSize SolveLeftDnTriangle(const TMathMatrix& L, TMathVector& y);
  // Solves R^T z = y with the upper triangle of R, in place; stops at a zero pivot and answers
  // min(Lines, Columns) all the same (the rank-revealing solvers compare it with that).
  static TSize SolveLeftDnTriangleAsRightUpTransponate(const TMathMatrix& R, TMathVector& y);
  // Back substitution with the upper triangle of R, in place; unknowns at zero pivots keep their
  // values and are not counted.
  static TSize SolveRightUpTriangle(const TMathMatrix& R, TMathVector& y);

  // Solves the square A * X = Y from the factor rMat and pivots P of RRQR_Decompose(A), without the
  // orthogonal factor (semi-normal equations, minimum-norm form X = A^T z). False, X untouched,
  // when the factor is rank deficient or the sizes do not fit a square system.
  Boolean rrqr_lequ_wo_q(const TMathMatrix& A, const TMathMatrix& rMat, const std::vector<int>& P,
                         const TMathVector& Y, TMathVector& X);
  // Solves A * Solution = B by the rank-revealing QR; epsilon is the rank tolerance.
  // gcBaseCode_Ok, or gcBaseCode_Unsolvable (Solution untouched) for a rank-deficient or
  // non-square system; gcBaseCode_Error when B is shorter than A has lines.
  GcBaseResult SolveQR(const TData& epsilon);

protected:
  // Column-norm cache S: squared norms of the unreduced part of each column, negative = unknown.
  // The column from j on with the largest squared norm (j when there is none).
  TSize RRQR_MaxColumn(const TMathMatrix& R, TMathVector& S, const TSize j);
  // The pivot of step j: the smallest squared norm above sqNullEps, or, when none is above it,
  // the largest; ties go to the first column.
  TSize RRQR_Pivot(const TMathMatrix& R, TMathVector& S, const TSize j, const TData& sqNullEps);
  // Downdates the cache after step j; a downdate that cancels below zero stays unknown.
  void RRQR_Reduce(const TMathMatrix& R, TMathVector& S, const TSize j);
  // Brings the pivot column of step j to position j, with its pivot entry and cached norm.
  void RRQR_Permutation(TMathMatrix& R, TMathVector& S, std::vector<int>& P, const TSize j,
                        const TData& sqNullEps);
  // Rank-revealing QR of the transpose of A: q * (A^T with its columns in the order of P) = R.
  // q, when given, is made the identity of A.Columns first (re-created when it is not that size).
  void RRQR_Decompose(const TMathMatrix& A, TMathMatrix& R, TMathMatrix* q, std::vector<int>& P);
  // Numerical rank: trailing diagonal entries of at most eps are cut.
  TSize RRQR_Rank(const TMathMatrix& rMat, const TData eps) const;
};

// L D L^T of the symmetric A (n = A.Columns): unit lower L, diagonal D. 0 on success; k + 1 for
// an exactly zero pivot at step k (L and D then hold the steps done). L and D are re-created as
// lower and diagonal n x n matrices when they are smaller.
TSize LR_LD(TMathMatrix& A, TMathMatrix& L, TMathMatrix& D);
// The same in place: L holds A (its lower triangle with the diagonal) on entry.
TSize LR_LD(TMathMatrix& L, TMathMatrix& D);

// Extends the Doolittle factorisation in lu of the leading dim x dim block of mtm by row and
// column dim. False for an exactly zero earlier pivot, or a new pivot not above tol (stored as
// 1e-20).
bool addrow_lu(double** mtm, double** lu, int dim, double tol, double);

// In-place inverse of the upper triangle r; false at an exactly zero diagonal element (rows
// below it are inverted by then).
bool inv_rmat(TMathMatrix& r);
// The same, skipping entries of magnitude at most null_v; idx is work space of n - 1 integers
// (taken internally when null).
bool inv_srmat(TMathMatrix& r, int* idx, double null_v);

// q := q * a, or q := q - q * a with minus; n = a.Lines, v is work space of n values.
void prod_mat(TMathMatrix& q, const TMathMatrix& a, TMathVector& v, bool minus);
// q := q * a for a sparse q.
void prod_sm_dm(TMathMatrix& q, const TMathMatrix& a, TMathVector& v, int* idx, double null_v);
// a := q * a for a sparse a.
void prod_dm_sm(const TMathMatrix& q, TMathMatrix& a, TMathVector& v, int* idx, double null_v);
// q := q * r for an upper-triangular r (n = r.Lines).
void prod_rmat(TMathMatrix& q, const TMathMatrix& r, TMathVector& v);

// ---------------------------------------------------------------------------------------------
// QR factorisations by Givens rotations

// Factors R (m x n) in place into its upper-triangular factor. With q, Q is made the m x m
// product of the rotations, so that Q * (R passed in) = (R returned); Q is re-created when it is
// not m x m.
void qr_dcmp(TMathMatrix& R, TMathMatrix& Q, bool q);
// QR of columns fc .. n-1 over rows 0 .. m-1 of R, in place, without the orthogonal factor;
// elements of at most 1e-14 below the diagonal are left as they are. m and n are cut to R's size.
void qr_dcmp(TMathMatrix& R, const TSize fc, const TSize m, const TSize n);
void qr_dcmp(TMathMatrix& R);
// Solves the square system whose factors qr_dcmp made: rVec holds the right-hand side on entry and
// the solution on return. Nothing happens when the sizes do not agree with rVec.N.
void qr_lequ(const TMathMatrix& rMat, const TMathMatrix& qMat, TMathVector& rVec);
// Back substitution on the upper-triangular augmented n x (n + 1) matrix R (consumed), solution
// into column 0 of x. 0 on success; otherwise the 1-based row where it stopped: a pivot below
// dnull, or a value beyond 1000.0 (both elements of that row then zeroed). n when R or x is too
// small to hold the system.
TSize Solve(TMathMatrix& R, TMathMatrix& x, TSize n, TData dnull);

// ---------------------------------------------------------------------------------------------
// Singular value decomposition on raw 1-based arrays; the recursive (Greville) pseudo-inverse of
// a TMathMatrix with its refinement.

// sqrt(a^2 + b^2) without destructive overflow or underflow.
TData pythag(TData a, TData b);

// The raw-array routines index from 1: an m x n matrix is rows 1 .. m of columns 1 .. n, a vector
// of n values entries 1 .. n; entry 0 of every array is never touched.
//
// Decomposes a (m x n) = U * diag(w) * V^T: a becomes U (m x n), w the n singular values (not
// sorted, none negative), v (n x n) V itself. False when a singular value does not converge in
// 30 passes; a, w and v are then partly transformed.
bool svdcmp(TData** a, TSize m, TSize n, TData* w, TData** v);
// x (n values) = V * diag(1/w) * U^T * b (m values), with singular values of magnitude at most
// 1e-14 dropped: for a singular system, the least-squares solution of smallest norm.
void svd_bksb(const TData* const* u, const TData* w, const TData* const* v, TSize m, TSize n, const TData* b,
              TData* x);

// B(i, j) = A(i + i0, j + j0) for every element of B; elements that A lacks read 0.
void ClipMatr(const TMathMatrix& A, TMathMatrix& B, TSize i0, TSize j0);
// A(i + i0, j + j0) = B(i, j) for every element of B that lands inside A.
void PasteMatr(TMathMatrix& A, const TMathMatrix& B, TSize i0, TSize j0);
// D = B - A * X, the residual of A * X = B; D is re-created as a general matrix of B's size when
// its size differs.
void Rest_matr(const TMathMatrix& B, const TMathMatrix& A, const TMathMatrix& X, TMathMatrix& D);
// Newton-Schulz refinement of X (n x m) as the pseudo-inverse of A (m x n). it: the pass limit
// on entry (below 1: up to 38 passes, counted on from the value given), the pass count on return.
// Stops as soon as a correction fails to shrink. The result is the relative size of the last
// correction (1e-15 when it was zero).
TData Inv_Improve(const TMathMatrix& A, TMathMatrix& X, TSize& it);
// One Greville step: for A (m x k) with pseudo-inverse _A (k x m) and a new column a (m x 1), the
// column form (m x 1) of the last row of the pseudo-inverse of [A a].
TMathMatrix GrevRec(TMathMatrix& A, TMathMatrix& a, TMathMatrix& _A);
// _A = the pseudo-inverse (n x m) of A (m x n), built column by column with a refinement after
// each. dec: the refinement pass limit on entry, an estimate of the correct decimal digits on
// return.
void RecInv(const TMathMatrix& A, TSize& dec, TMathMatrix& _A);

// ---------------------------------------------------------------------------------------------
// Square systems of non-linear equations F(X) = 0, solved by a damped Newton method or improved
// by a continuation on a shifted residual; the linear steps use the rank-revealing QR solver.

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
