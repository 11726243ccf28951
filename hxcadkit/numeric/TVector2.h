#pragma once
// Direct solvers of dense linear systems held in TMathMatrix and TMathVector.
#include "hxcadkit/numeric/MathMatrix.h"
#include "hxcadkit/numeric/MathVector.h"

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
