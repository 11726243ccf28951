#pragma once
// The singular value decomposition on raw 1-based arrays, and the recursive (Greville)
// pseudo-inverse of a TMathMatrix with its refinement.
#include "hxcadkit/numeric/MathMatrix.h"
#include "hxcadkit/numeric/MathVector.h"

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
