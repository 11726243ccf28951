#pragma once
// QR factorisations by Givens rotations, the rank-revealing QR with column pivoting and the
// solvers built on them.
//
// The RRQR operations and SolveQR belong to TLinearEquations (TVector2): until they move there,
// they are free functions here that take the system as their first argument.
#include <vector>

#include "hxcadkit/numeric/MathMatrix.h"
#include "hxcadkit/numeric/MathVector.h"
#include "hxcadkit/numeric/TVector2.h"

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
TSize RRQR_Rank(const TMathMatrix& rMat, const TData eps);
// Solves the square A * X = Y from the factor rMat and pivots P of RRQR_Decompose(A), without the
// orthogonal factor (semi-normal equations, minimum-norm form X = A^T z). False, X untouched,
// when the factor is rank deficient or the sizes do not fit a square system.
Boolean rrqr_lequ_wo_q(const TMathMatrix& A, const TMathMatrix& rMat, const std::vector<int>& P,
                       const TMathVector& Y, TMathVector& X);
// Solves LE.A * LE.Solution = LE.B by the rank-revealing QR; epsilon is the rank tolerance.
// gcBaseCode_Ok, or gcBaseCode_Unsolvable (Solution untouched) for a rank-deficient or
// non-square system; gcBaseCode_Error when B is shorter than A has lines.
GcBaseResult SolveQR(TLinearEquations& LE, const TData& epsilon);
