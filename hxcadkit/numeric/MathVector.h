#pragma once
// Dense vectors, matrix row spans and packed sparse vectors of the linear algebra routines.
#include <cstdint>
#include <initializer_list>
#include <vector>

#include "hxcadkit/core/DString.h"
#include "hxcadkit/core/TArray.h"
#include "hxcadkit/core/Types.h"

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
