#include "hxcadkit/numeric/TVector.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

// The row that a matrix of the given kind and column count keeps at index i.
TRowSparseMathVector* NewRow(MathMatrixType type, TSize i, TSize m)
{
  switch (type) {
  case mt_RIGHT:
    return i < m ? new TRowSparseMathVector(m, i, m - 1) : new TRowSparseMathVector(m, 0, 0);
  case mt_LEFT:
    return new TRowSparseMathVector(m, 0, i < m ? i : m - 1);
  case mt_DIAGONAL:
    return new TRowSparseMathVector(m, i, i);
  default:
    return new TRowSparseMathVector(m, 0, m - 1);
  }
}

// Stored columns of row r that lie in [0, m).
inline TSize SpanLo(const TRowSparseMathVector& r)
{
  return std::max<TSize>(r.SI, 0);
}
inline TSize SpanHi(const TRowSparseMathVector& r, TSize m)
{
  return std::min(r.EI, m);
}

// x[j] when x has it, else 0.0.
inline TData ValueAt(const TMathVector& x, TSize j)
{
  return (j >= 0 && j < x.N && x.X) ? x.X[j] : 0.0;
}

} // namespace

TMathMatrix::TMathMatrix(TSize lines, TSize columns, MathMatrixType type)
    : Type(type), Lines(lines), Columns(columns)
{
  CatchMemory();
}

TMathMatrix::TMathMatrix(const TMathMatrix& m) : Type(m.Type), Lines(m.Lines), Columns(m.Columns)
{
  if (Lines >= 1 && m.Data) {
    Data = new TRowSparseMathVector*[size_t(Lines)]();
    for (TSize i = 0; i < Lines; ++i)
      Data[i] = new TRowSparseMathVector(*m.Data[i]);
  }
}

TMathMatrix::~TMathMatrix()
{
  FreeMemory();
}

void TMathMatrix::CatchMemory()
{
  FreeMemory();
  if (Lines < 1) return;
  Data = new TRowSparseMathVector*[size_t(Lines)]();
  for (TSize i = 0; i < Lines; ++i)
    Data[i] = NewRow(Type, i, Columns);
}

void TMathMatrix::FreeMemory()
{
  if (Data) {
    for (TSize i = 0; i < Lines; ++i)
      delete Data[i];
    delete[] Data;
  }
  Data = nullptr;
}

void TMathMatrix::SetDimension(TSize lines, TSize columns, MathMatrixType type)
{
  if (lines == Lines && columns == Columns && type == Type && (Data || Lines < 1)) return;
  FreeMemory();
  Lines = lines;
  Columns = columns;
  Type = type;
  CatchMemory();
}

TMathMatrix& TMathMatrix::SetZero()
{
  if (Data)
    for (TSize i = 0; i < Lines; ++i)
      Data[i]->SetZero();
  return *this;
}

void TMathMatrix::SetLine(TSize i, const TMathVector& v)
{
  if (Columns >= 1 && Data && i >= 0 && i < Lines) Data[i]->Assign(v);
}

void TMathMatrix::SetColumn(TSize j, const TMathVector& v)
{
  if (!Data) return;
  const TSize n = std::min(Lines, v.N);
  for (TSize i = 0; i < n; ++i)
    if (Data[i]->InSpan(j)) (*Data[i])(j) = v[i];
}

Boolean TMathMatrix::SwapLines(TSize i, TSize j)
{
  if (Type != mt_GENERAL && Type != mt_ORTHOGONAL) return false;
  if (!Data || i < 0 || j < 0 || i >= Lines || j >= Lines) return false;
  std::swap(Data[i], Data[j]);
  return true;
}

Boolean TMathMatrix::SwapCols(TSize i, TSize j)
{
  if (Type != mt_GENERAL && Type != mt_ORTHOGONAL) return false;
  if (i == j || !Data || i < 0 || j < 0 || i >= Columns || j >= Columns) return false;
  for (TSize k = 0; k < Lines; ++k) {
    TRowSparseMathVector& r = *Data[k];
    if (r.InSpan(i) && r.InSpan(j)) std::swap(r(i), r(j));
  }
  return true;
}

// ---------------------------------------------------------------------------------------------
// Norms

TData TMathMatrix::Norma1() const
{
  TData best = 0.0;
  for (TSize i = 0; Data && i < Lines; ++i) {
    const TRowSparseMathVector& r = *Data[i];
    TData s = 0.0;
    for (TSize j = SpanLo(r); j < SpanHi(r, Columns); ++j)
      s += std::fabs(r.X[j - r.SI]);
    best = std::max(best, s);
  }
  return best;
}

TData TMathMatrix::NormaMax() const
{
  TData best = 0.0;
  for (TSize i = 0; Data && i < Lines; ++i) {
    const TRowSparseMathVector& r = *Data[i];
    for (TSize j = SpanLo(r); j < SpanHi(r, Columns); ++j)
      best = std::max(best, std::fabs(r.X[j - r.SI]));
  }
  return best;
}

TData TMathMatrix::NormaEukl() const
{
  TData s = 0.0;
  for (TSize i = 0; Data && i < Lines; ++i) {
    const TRowSparseMathVector& r = *Data[i];
    for (TSize j = SpanLo(r); j < SpanHi(r, Columns); ++j)
      s += r.X[j - r.SI] * r.X[j - r.SI];
  }
  return std::sqrt(s);
}

TData TMathMatrix::clNorma2(TSize j) const
{
  TData s = 0.0;
  for (TSize i = 0; Data && i < Lines; ++i)
    s = std::hypot(s, (*this)(i, j));
  return s;
}

TData TMathMatrix::ColumnNorma1(TSize fromLine, TSize Column) const
{
  TData s = 0.0;
  for (TSize i = std::max<TSize>(fromLine, 0); Data && i < Lines; ++i)
    s += std::fabs((*this)(i, Column));
  return s;
}

TData TMathMatrix::ColumnNormaEukl(TSize fromLine, TSize Column) const
{
  if (!Data || fromLine < 0 || fromLine >= Lines) return 0.0;
  TData s = std::fabs((*this)(fromLine, Column));
  for (TSize i = fromLine + 1; i < Lines; ++i)
    s = std::hypot(s, (*this)(i, Column));
  return s;
}

TData TMathMatrix::ColumnNorma2(TSize fromLine, TSize Column) const
{
  TData s = 0.0;
  for (TSize i = std::max<TSize>(fromLine, 0); Data && i < Lines; ++i) {
    const TData v = (*this)(i, Column);
    s += v * v;
  }
  return s;
}

// ---------------------------------------------------------------------------------------------
// Arithmetic

TMathMatrix& TMathMatrix::operator*=(const Real& s)
{
  for (TSize i = 0; Data && i < Lines; ++i) {
    TRowSparseMathVector& r = *Data[i];
    for (TSize k = 0; k < r.N; ++k)
      r.X[k] *= s;
  }
  return *this;
}

TMathMatrix& TMathMatrix::operator=(const TMathMatrix& m)
{
  if (this == &m) return *this;
  const TSize want = (m.Data && m.Lines >= 1) ? m.Lines : 0;
  const TSize have = Data ? Lines : 0;
  TRowSparseMathVector** rows = want > 0 ? new TRowSparseMathVector*[size_t(want)]() : nullptr;
  for (TSize i = 0; i < want; ++i) {
    if (i < have) {
      rows[i] = Data[i];
      *rows[i] = *m.Data[i];
    } else {
      rows[i] = new TRowSparseMathVector(*m.Data[i]);
    }
  }
  for (TSize i = want; i < have; ++i)
    delete Data[i];
  delete[] Data;
  Data = rows;
  Lines = m.Lines;
  Columns = m.Columns;
  Type = m.Type;
  return *this;
}

TMathMatrix& TMathMatrix::operator=(std::initializer_list<double> l)
{
  if (Lines < 1 || !Data || l.size() == 0) return *this;
  auto it = l.begin();
  for (TSize i = 0; i < Lines; ++i)
    for (TSize j = 0; j < Columns; ++j) {
      if (it == l.end()) return *this;
      (*this)(i, j) = *it++;
    }
  return *this;
}

TMathMatrix& TMathMatrix::operator+=(const TMathMatrix& m)
{
  if (Type == mt_ORTHOGONAL) Type = mt_GENERAL;
  const TSize lines = (Data && m.Data) ? std::min(Lines, m.Lines) : 0, cols = std::min(Columns, m.Columns);
  for (TSize i = 0; i < lines; ++i) {
    TRowSparseMathVector& r = *Data[i];
    for (TSize j = SpanLo(r); j < SpanHi(r, cols); ++j)
      r(j) += m(i, j);
  }
  return *this;
}

TMathMatrix& TMathMatrix::operator-=(const TMathMatrix& m)
{
  if (Type == mt_ORTHOGONAL) Type = mt_GENERAL;
  const TSize lines = (Data && m.Data) ? std::min(Lines, m.Lines) : 0, cols = std::min(Columns, m.Columns);
  for (TSize i = 0; i < lines; ++i) {
    TRowSparseMathVector& r = *Data[i];
    for (TSize j = SpanLo(r); j < SpanHi(r, cols); ++j)
      r(j) -= m(i, j);
  }
  return *this;
}

MathMatrixType TMathMatrix::ResultType(MathMatrixType a, MathMatrixType b)
{
  return (a == b && a != mt_ORTHOGONAL) ? a : mt_GENERAL;
}

namespace {

template <class Op> TMathMatrix Combine(const TMathMatrix& a, const TMathMatrix& b, Op op)
{
  TMathMatrix c(a.Lines, a.Columns, TMathMatrix::ResultType(a.Type, b.Type));
  for (TSize i = 0; c.Data && i < c.Lines; ++i) {
    TRowSparseMathVector& r = *c.Data[i];
    for (TSize j = SpanLo(r); j < SpanHi(r, c.Columns); ++j)
      r(j) = op(a.At(i, j), b.At(i, j));
  }
  return c;
}

} // namespace

TMathMatrix operator+(const TMathMatrix& a, const TMathMatrix& b)
{
  return Combine(a, b, [](TData x, TData y) { return x + y; });
}

TMathMatrix operator-(const TMathMatrix& a, const TMathMatrix& b)
{
  return Combine(a, b, [](TData x, TData y) { return x - y; });
}

TMathMatrix operator*(const TMathMatrix& a, const TMathMatrix& b)
{
  TMathMatrix c;
  c.SetMultiply(a, b);
  return c;
}

void TMathMatrix::SetMultiply(const TMathMatrix& A, const TMathMatrix& B)
{
  if (&A == this || &B == this) {
    // The product overwrites what it still has to read.
    TMathMatrix c;
    c.Product(A, B);
    *this = c;
    return;
  }
  Product(A, B);
}

void TMathMatrix::Product(const TMathMatrix& a, const TMathMatrix& b)
{
  SetDimension(a.Lines, b.Columns, ResultType(a.Type, b.Type));
  const TSize n = b.Data ? b.Lines : 0;
  for (TSize i = 0; Data && i < Lines; ++i) {
    // The columns of row i of a that can be non-zero.
    TSize loA = 0, hiA = n - 1;
    switch (a.Type) {
    case mt_RIGHT:
      loA = std::min(i, n);
      break;
    case mt_LEFT:
      hiA = std::min(i, n - 1);
      break;
    case mt_DIAGONAL:
      if (i < n)
        loA = hiA = i;
      else
        loA = 0, hiA = -1;
      break;
    case mt_BANDED:
      if (a.Data && i < a.Lines) {
        loA = a.Data[i]->SI;
        hiA = a.Data[i]->EI - 1;
      }
      break;
    default:
      break;
    }
    TRowSparseMathVector& r = *Data[i];
    const TRowSparseMathVector* ra = (a.Data && i < a.Lines) ? a.Data[i] : nullptr;
    for (TSize j = SpanLo(r); j < r.EI; ++j) {
      TSize loB = 0, hiB = n - 1;
      switch (b.Type) {
      case mt_RIGHT:
        hiB = std::min(j, n - 1);
        break;
      case mt_LEFT:
        loB = std::min(j, n);
        break;
      case mt_DIAGONAL:
        if (j < n)
          loB = hiB = j;
        else
          loB = 0, hiB = -1;
        break;
      default:
        break;
      }
      const TSize lo = std::max({loA, loB, TSize(0)}), hi = std::min(hiA, hiB);
      TData s = 0.0;
      if (ra)
        for (TSize k = lo; k <= hi; ++k)
          s += (*static_cast<const TMathVector*>(ra))[k] * b(k, j);
      r(j) = s;
    }
  }
}

TData dot_prod(const TMathMatrix& A, const TMathMatrix& B, TSize line, TSize col, TSize kmin, TSize kmax,
               TData s)
{
  for (TSize k = kmin; k <= kmax; ++k)
    s += A(line, k) * B(k, col);
  return s;
}

TMathVector& TMathMatrix::Multiply(const TMathVector& x, TMathVector& Result) const
{
  if (Result.N < Lines) Result.SetDimension(Lines, 0.0);
  for (TSize i = 0; Data && i < Lines; ++i) {
    const TRowSparseMathVector& r = *Data[i];
    TData s = 0.0;
    for (TSize j = SpanLo(r); j < SpanHi(r, Columns); ++j)
      s += r.X[j - r.SI] * ValueAt(x, j);
    Result.X[i] = s;
  }
  return Result;
}

TMathVector& TMathMatrix::TranspMultiply(const TMathVector& x, TMathVector& Result) const
{
  if (Result.N < Columns) Result.SetDimension(Columns, 0.0);
  for (TSize j = 0; j < Columns; ++j)
    Result.X[j] = 0.0;
  for (TSize i = 0; Data && i < Lines; ++i) {
    const TRowSparseMathVector& r = *Data[i];
    const TData xi = ValueAt(x, i);
    for (TSize j = SpanLo(r); j < SpanHi(r, Columns); ++j)
      Result.X[j] += r.X[j - r.SI] * xi;
  }
  return Result;
}

void TMathMatrix::Transpose(TMathMatrix& A) const
{
  if (&A == this) {
    TMathMatrix t;
    Transpose(t);
    A = t;
    return;
  }
  if (A.Lines != Columns || A.Columns != Lines || A.Type != mt_GENERAL || (!A.Data && Columns >= 1)) {
    A.FreeMemory();
    A.Lines = Columns;
    A.Columns = Lines;
    A.Type = mt_GENERAL;
    A.CatchMemory();
  }
  if (Type == mt_LEFT)
    A.Type = mt_RIGHT;
  else if (Type == mt_RIGHT)
    A.Type = mt_LEFT;
  A.SetZero();
  for (TSize i = 0; Data && i < Lines; ++i) {
    const TRowSparseMathVector& r = *Data[i];
    for (TSize j = SpanLo(r); j < SpanHi(r, Columns); ++j)
      A(j, i) = r.X[j - r.SI];
  }
}

void TMathMatrix::SubMatrix(const TArrayOf<bool>& DeleteRow, const TArrayOf<bool>& DeleteColumn,
                            TMathMatrix& Result) const
{
  if (&Result == this) {
    TMathMatrix copy(*this);
    copy.SubMatrix(DeleteRow, DeleteColumn, Result);
    return;
  }
  const std::vector<bool> rows = MathFlags(DeleteRow, Lines), cols0 = MathFlags(DeleteColumn, Columns);
  auto rowGone = [&](TSize i) { return bool(rows[size_t(i)]); };
  auto colGone = [&](TSize j) { return bool(cols0[size_t(j)]); };
  TSize lines = 0, cols = 0;
  for (TSize i = 0; i < Lines; ++i)
    if (!rowGone(i)) ++lines;
  for (TSize j = 0; j < Columns; ++j)
    if (!colGone(j)) ++cols;
  Result.SetDimension(lines, cols, mt_GENERAL);
  TSize ri = 0;
  for (TSize i = 0; Data && i < Lines; ++i) {
    if (rowGone(i)) continue;
    TSize rj = 0;
    for (TSize j = 0; j < Columns; ++j)
      if (!colGone(j)) Result(ri, rj++) = (*this)(i, j);
    ++ri;
  }
}

Boolean TMathMatrix::CheckBanded()
{
  if (!Data) return false;
  if (Type == mt_BANDED) return true;
  if (Type != mt_GENERAL || Lines < 1) return false;
  Boolean trimmed = false;
  for (TSize i = 0; i < Lines; ++i)
    if (Data[i]->BegEndUpdate()) trimmed = true;
  if (trimmed) Type = mt_BANDED;
  return trimmed;
}

TString TMathMatrix::toStr() const
{
  TString s;
  s.SetSize(127);
  for (TSize i = 0; Data && i < Lines; ++i) {
    for (TSize j = 0; j < Columns; ++j) {
      s.Add(TString((*this)(i, j), 4, true, 7).PChar());
      s.Add(" ");
    }
    s.Add("*");
  }
  return s;
}

Boolean TMathMatrix::Check(const TMathMatrix& m) const
{
  for (TSize i = 0; Data && i < Lines; ++i)
    for (TSize j = 0; j < Columns; ++j)
      if (!(std::fabs((*this)(i, j) - m.At(i, j)) <= 2e-6)) return false;
  return true;
}
