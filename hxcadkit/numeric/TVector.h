#pragma once
// Vectors and matrices of the linear algebra routines, and the record of a tessellated surface's
// triangle.
#include <cstdint>
#include <initializer_list>
#include <vector>

#include "hxcadkit/core/DString.h"
#include "hxcadkit/core/TArray.h"
#include "hxcadkit/core/Types.h"
#include "hxcadkit/geometry/Mathemat3d.h"

using TData = double;
using TSize = std::int32_t;

class TSparseMathVector;

// A dense vector of N values. Storage is always zero-filled when taken, so no path ever reads
// an undefined value.
class TMathVector
{
public:
  TSize N = 0;
  TData* X = nullptr;

  // What a read outside a row's stored span yields.
  static const TData SparseZero;
  // Values at or below this magnitude count as zero when a span is trimmed or a vector packed.
  static constexpr TData ZeroEpsilon = 1e-30;

  // A negative size is taken as 0.
  explicit TMathVector(TSize n = 0);
  TMathVector(TSize n, const TData& v);
  // Reads s through its reading operator[]: a row gives its first s.N logical columns.
  TMathVector(const TMathVector& s);
  virtual ~TMathVector();

  virtual const TData& operator[](TSize i) const { return X[i]; }
  virtual TData& operator[](TSize i) { return X[i]; }
  virtual TData Norma() const;
  virtual TData SqrNorma() const;
  virtual TData NormaMax() const;

  void FreeMemory();
  void CatchMemory();
  // Keeps the first min(n, N) values and fills a new tail with v; n < 1 empties the vector.
  void SetDimension(TSize n, const TData& v);

  TMathVector& operator=(const TMathVector& s);
  // Fills from the front while both the vector and the list last; the size stays.
  TMathVector& operator=(std::initializer_list<double> l);

  // Dot product over this vector's N values; v must hold at least N.
  TData operator*(const TMathVector& v) const;

  // Copies the first N values of a long enough s and answers false; a shorter s is left alone
  // and the answer is true.
  Boolean Assign(const TMathVector& s);
  TMathVector& SetZero(TSize from);

  TMathVector& operator-=(const TSparseMathVector& s);
  TMathVector& operator+=(const TSparseMathVector& s);

  // Element-wise arithmetic over this vector's N values; v is read through its reading
  // operator[], and its values beyond v.N count as zero.
  TMathVector& operator+=(const TMathVector& v);
  TMathVector& operator-=(const TMathVector& v);
  TMathVector& operator+=(const TData& v);
  TMathVector& operator-=(const TData& v);
  TMathVector& operator*=(const TData& v);
  TMathVector& operator/=(const TData& v);

  // Exchanges the whole contents with v when both are of the same class (a row its span too, a
  // sparse vector its positions); false, nothing changed, otherwise.
  Boolean Swap(TMathVector& v);
  // Exchanges stored values i and j; false when either lies outside the storage.
  Boolean Swap(TSize i, TSize j);

  TSize size() const { return N; }
  TData* data() { return X; }
  const TData* data() const { return X; }
  TData* begin() { return X; }
  TData* end() { return X + N; }
  const TData* begin() const { return X; }
  const TData* end() const { return X + N; }

  // "%7.2f . " per value.
  TString toStr() const;
  // Result gets the values whose DeleteRow flag is false, in order; missing flags count as false.
  void SubVector(const TArrayOf<bool>& DeleteRow, TMathVector& Result) const;

private:
  template <class Op> void Walk(const TSparseMathVector& s, Op op);
};

// One matrix row of logical length D that stores only columns SI .. EI-1.
class TRowSparseMathVector : public TMathVector
{
public:
  TSize SI = 0;
  TSize EI = 0;
  TSize D = 0;

  // Stores columns begNonZero .. endNonZero (inclusive), copying them from data when given.
  TRowSparseMathVector(TSize iN, TSize begNonZero, TSize endNonZero, const TData* data = nullptr);
  TRowSparseMathVector(const TRowSparseMathVector& s);
  TRowSparseMathVector& operator=(const TRowSparseMathVector& s);
  ~TRowSparseMathVector() override = default;

  // The writable operator[] is the dense vector's: it indexes the storage, not the columns.
  // Matrix code writes through operator() instead.
  using TMathVector::operator[];
  const TData& operator[](TSize j) const override { return (j >= SI && j < EI) ? X[j - SI] : SparseZero; }
  // Column j, which must lie in the span.
  TData& operator()(TSize j) { return X[j - SI]; }
  Boolean InSpan(TSize j) const { return j >= SI && j < EI; }

  using TMathVector::SetZero;
  void SetZero();
  // Copies v's columns SI .. EI-1 into the span when v holds at least EI values; answers whether
  // it copied.
  Boolean Assign(const TMathVector& v);
  void SetLine(const TData* data);
  // Shrinks the span to its outermost values above ZeroEpsilon; answers whether it shrank.
  Boolean BegEndUpdate();

  // Re-creates the row as the constructor with the same arguments makes it.
  void Init(TSize iN, TSize begNonZero, TSize endNonZero, const TData* data = nullptr);
  // The first and the last stored column (the last is BegNonZero() - 1 for an empty span).
  TSize BegNonZero() const { return SI; }
  TSize EndNonZero() const { return EI - 1; }
  // The logical length of the row.
  TSize Dimension() const { return D; }
};

TData operator*(const TRowSparseMathVector& r, const TMathVector& v);

// The first n flags of a (false where a has fewer).
std::vector<bool> MathFlags(const TArrayOf<bool>& a, TSize n);

// A vector held either densely (Positions null, N values) or packed (N values at the increasing
// columns Positions[0..N-1]).
class TSparseMathVector : public TMathVector
{
public:
  TSize* Positions = nullptr;

  TSparseMathVector() = default;
  TSparseMathVector(const TSparseMathVector& s);
  TSparseMathVector& operator=(const TSparseMathVector& s);
  ~TSparseMathVector() override;

  void FreeMemory();
  void CatchMemory();

  // The value at column elemIdx. In the packed form nzIdx is a cursor that only moves forward:
  // reading columns in increasing order with one cursor (from 0) is a single pass.
  TData Elem(TSize elemIdx, TSize& nzIdx) const;
  Boolean IsPacked() const { return Positions != nullptr; }

  void Init(const TSparseMathVector& s);
  // Packs V; the threshold is always ZeroEpsilon (Eps is kept for its callers).
  void Init(const TMathVector& V, const TData& Eps);

  // Value-by-value difference of two vectors of the same form and positions; operands of
  // different form or positions are left alone.
  TSparseMathVector& operator-=(const TSparseMathVector& s);
};

TData operator*(const TSparseMathVector& a, const TSparseMathVector& b);
TData operator*(const TSparseMathVector& a, const TMathVector& v);

// ---------------------------------------------------------------------------------------------
// Matrices: an array of row spans whose storage kind decides which columns each row keeps.

enum MathMatrixType {
  mt_GENERAL = 0,
  mt_ORTHOGONAL = 1,
  mt_RIGHT = 2, // upper triangle
  mt_LEFT = 3,  // lower triangle
  mt_DIAGONAL = 4,
  mt_BANDED = 5
};

class TMathMatrix
{
public:
  MathMatrixType Type = mt_GENERAL;
  TRowSparseMathVector** Data = nullptr;
  TSize Lines = 0;
  TSize Columns = 0;

  TMathMatrix() = default;
  TMathMatrix(TSize lines, TSize columns, MathMatrixType type);
  TMathMatrix(const TMathMatrix& m);
  ~TMathMatrix();

  // Rows as the kind prescribes, zero-filled; nothing for Lines < 1.
  void CatchMemory();
  void FreeMemory();
  // Re-creates the storage unless all three already match; old values are not kept.
  void SetDimension(TSize lines, TSize columns, MathMatrixType type);
  TMathMatrix& SetZero();
  void SetLine(TSize i, const TMathVector& v);
  void SetColumn(TSize j, const TMathVector& v);
  // Row and column exchange exist only for the kinds that keep full rows.
  Boolean SwapLines(TSize i, TSize j);
  Boolean SwapCols(TSize i, TSize j);

  MathMatrixType type() const { return Type; }
  TSize ln() const { return Lines; }
  TSize cl() const { return Columns; }
  // Element (i, j); 0.0 outside row i's span.
  const TData& operator()(TSize i, TSize j) const { return (*static_cast<const TMathVector*>(Data[i]))[j]; }
  // Writable element (i, j). A structural zero outside the span hands out a scratch cell that
  // reads 0.0, so stray writes there are dropped instead of landing in another column.
  TData& operator()(TSize i, TSize j)
  {
    TRowSparseMathVector& r = *Data[i];
    if (r.InSpan(j)) return r(j);
    OutOfSpan = 0.0;
    return OutOfSpan;
  }
  TRowSparseMathVector& operator[](TSize i) { return *Data[i]; }
  const TRowSparseMathVector& operator[](TSize i) const { return *Data[i]; }

  TData Norma1() const;
  TData NormaMax() const;
  TData NormaEukl() const;
  TData clNorma2(TSize j) const;
  TData ColumnNorma1(TSize fromLine, TSize Column) const;
  TData ColumnNormaEukl(TSize fromLine, TSize Column) const;
  TData ColumnNorma2(TSize fromLine, TSize Column) const;

  TMathMatrix& operator*=(const Real& s);
  TMathMatrix& operator=(const TMathMatrix& m);
  TMathMatrix& operator=(std::initializer_list<double> l);
  TMathMatrix& operator+=(const TMathMatrix& m);
  TMathMatrix& operator-=(const TMathMatrix& m);

  // This := A * B, reusing the storage when the shape and kind already fit.
  void SetMultiply(const TMathMatrix& A, const TMathMatrix& B);
  // Result[i] = row i times x; Result is given Lines values when it has fewer.
  TMathVector& Multiply(const TMathVector& x, TMathVector& Result) const;
  // Result[j] = column j times x; Result is given Columns values when it has fewer.
  TMathVector& TranspMultiply(const TMathVector& x, TMathVector& Result) const;
  void Transpose(TMathMatrix& A) const;
  // Result: the general matrix of the elements whose row and column flags are both false;
  // missing flags count as false.
  void SubMatrix(const TArrayOf<bool>& DeleteRow, const TArrayOf<bool>& DeleteColumn,
                 TMathMatrix& Result) const;
  // Trims the rows of a general matrix to their bands; answers whether the matrix is banded.
  Boolean CheckBanded();

  // Rows of "%7.4f " per element, each ended by "*".
  TString toStr() const;
  // Every element within 2e-6 of m's; m's missing rows and columns read 0.0.
  Boolean Check(const TMathMatrix& m) const;

  // The kind of a product, sum or difference of a kind-a and a kind-b matrix.
  static MathMatrixType ResultType(MathMatrixType a, MathMatrixType b);
  // Element (i, j), 0.0 also for rows the matrix lacks.
  TData At(TSize i, TSize j) const { return (Data && i >= 0 && i < Lines) ? (*this)(i, j) : 0.0; }

private:
  TData OutOfSpan = 0.0;
  void Product(const TMathMatrix& a, const TMathMatrix& b);
};

TMathMatrix operator+(const TMathMatrix& a, const TMathMatrix& b);
TMathMatrix operator-(const TMathMatrix& a, const TMathMatrix& b);
TMathMatrix operator*(const TMathMatrix& a, const TMathMatrix& b);

// s plus the sum of A(line, k) * B(k, col) for k = kmin .. kmax.
TData dot_prod(const TMathMatrix& A, const TMathMatrix& B, TSize line, TSize col, TSize kmin, TSize kmax,
               TData s);

// One triangle of a tessellated surface, with its normal and bounds.
struct T3dTriangle
{
  Integer IndexSurface = 0;
  TPoint3D A, B, C; // vertices
  TVector3D vN;     // normal
  Real h = 0;
  Real maxX = 0, minX = 0;
  Real MaxY = 0, MinY = 0;
  Real MaxZ = 0, MinZ = 0;
  Real PV = 0;
};
