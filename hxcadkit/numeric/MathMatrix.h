#pragma once
// The matrix of the linear algebra routines: an array of row spans whose storage kind decides
// which columns each row keeps.
#include <initializer_list>

#include "hxcadkit/core/DString.h"
#include "hxcadkit/core/TArray.h"
#include "hxcadkit/numeric/MathVector.h"

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
