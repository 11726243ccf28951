#include "hxcadkit/numeric/TVector.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <typeinfo>
#include <utility>

namespace {

// Zero-filled storage of n values (none for n < 1).
TData* NewValues(TSize n)
{
  return n > 0 ? new TData[size_t(n)]() : nullptr;
}

void CopyValues(TData* dst, const TData* src, TSize n)
{
  if (n > 0 && dst && src) std::memcpy(dst, src, size_t(n) * sizeof(TData));
}

// Column j of v as its reading operator[] gives it; a plain vector reads 0.0 past its end
// where a row would, instead of reading beyond its storage.
TData ReadAt(const TMathVector& v, TSize j)
{
  if (dynamic_cast<const TRowSparseMathVector*>(&v)) return v[j];
  return (j >= 0 && j < v.N && v.X) ? v.X[j] : 0.0;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// TMathVector

const TData TMathVector::SparseZero = 0.0;

TMathVector::TMathVector(TSize n) : N(std::max<TSize>(n, 0)), X(NewValues(N)) {}

TMathVector::TMathVector(TSize n, const TData& v) : TMathVector(n)
{
  std::fill(X, X + N, v);
}

TMathVector::TMathVector(const TMathVector& s) : TMathVector(s.N)
{
  for (TSize i = 0; i < N; ++i)
    X[i] = s[i];
}

TMathVector::~TMathVector()
{
  delete[] X;
}

void TMathVector::FreeMemory()
{
  delete[] X;
  X = nullptr;
}

void TMathVector::CatchMemory()
{
  FreeMemory();
  X = NewValues(N);
}

void TMathVector::SetDimension(TSize n, const TData& v)
{
  if (n == N) return;
  if (n < 1) {
    FreeMemory();
    N = 0;
    return;
  }
  TData* fresh = NewValues(n);
  const TSize keep = X ? std::min(n, N) : 0;
  CopyValues(fresh, X, keep);
  std::fill(fresh + keep, fresh + n, v);
  delete[] X;
  X = fresh;
  N = n;
}

TMathVector& TMathVector::operator=(const TMathVector& s)
{
  if (this == &s) return *this;
  SetDimension(s.N, 0.0);
  CopyValues(X, s.X, std::min(N, s.N));
  return *this;
}

TMathVector& TMathVector::operator=(std::initializer_list<double> l)
{
  if (N < 1 || !X) return *this;
  TSize i = 0;
  for (double v : l) {
    if (i >= N) break;
    X[i++] = v;
  }
  return *this;
}

TData TMathVector::operator*(const TMathVector& v) const
{
  TData s = 0.0;
  const TSize n = std::min(N, v.N);
  if (!X || !v.X) return s;
  for (TSize i = 0; i < n; ++i)
    s += X[i] * v.X[i];
  return s;
}

TData TMathVector::SqrNorma() const
{
  TData s = 0.0;
  if (X)
    for (TSize i = 0; i < N; ++i)
      s += X[i] * X[i];
  return s;
}

TData TMathVector::Norma() const
{
  return std::sqrt(SqrNorma());
}

TData TMathVector::NormaMax() const
{
  TData m = 0.0;
  if (X)
    for (TSize i = 0; i < N; ++i)
      m = std::max(m, std::fabs(X[i]));
  return m;
}

Boolean TMathVector::Assign(const TMathVector& s)
{
  if (s.N < N) return true;
  CopyValues(X, s.X, N);
  return false;
}

TMathVector& TMathVector::SetZero(TSize from)
{
  if (X && from < N) std::fill(X + std::max<TSize>(from, 0), X + N, 0.0);
  return *this;
}

template <class Op> void TMathVector::Walk(const TSparseMathVector& s, Op op)
{
  if (!X || !s.X) return;
  if (s.Positions) {
    for (TSize k = 0; k < s.N; ++k) {
      const TSize p = s.Positions[k];
      if (p >= N) break;
      if (p >= 0) op(X[p], s.X[k]);
    }
  } else {
    // A dense operand shorter than this vector contributes only the values it has.
    const TSize n = std::min(N, s.N);
    for (TSize i = 0; i < n; ++i)
      op(X[i], s[i]);
  }
}

TMathVector& TMathVector::operator-=(const TSparseMathVector& s)
{
  Walk(s, [](TData& x, TData v) { x -= v; });
  return *this;
}

TMathVector& TMathVector::operator+=(const TSparseMathVector& s)
{
  Walk(s, [](TData& x, TData v) { x += v; });
  return *this;
}

TString TMathVector::toStr() const
{
  TString s;
  s.SetSize(127);
  for (TSize i = 0; i < N && X; ++i) {
    s.Add(TString(X[i], 2, true, 7).PChar());
    s.Add(" . ");
  }
  return s;
}

void TMathVector::SubVector(const TArrayOf<bool>& DeleteRow, TMathVector& Result) const
{
  const std::vector<bool> gone = MathFlags(DeleteRow, N);
  auto deleted = [&](TSize i) { return bool(gone[size_t(i)]); };
  TSize kept = 0;
  for (TSize i = 0; i < N; ++i)
    if (!deleted(i)) ++kept;
  if (&Result == this) {
    TMathVector copy(*this);
    copy.SubVector(DeleteRow, Result);
    return;
  }
  Result.SetDimension(kept, 0.0);
  TSize k = 0;
  for (TSize i = 0; i < N && X; ++i)
    if (!deleted(i)) Result[k++] = X[i];
}

std::vector<bool> MathFlags(const TArrayOf<bool>& a, TSize n)
{
  std::vector<bool> flags(size_t(std::max<TSize>(n, 0)), false);
  size_t i = 0;
  for (bool f : a) {
    if (i >= flags.size()) break;
    flags[i++] = f;
  }
  return flags;
}

// ---------------------------------------------------------------------------------------------
// Element-wise arithmetic and exchanges

namespace {

template <class Op> TMathVector& EachWith(TMathVector& a, const TMathVector& v, Op op)
{
  for (TSize i = 0; i < a.N && a.X; ++i)
    a.X[i] = op(a.X[i], i < v.N ? v[i] : 0.0);
  return a;
}

template <class Op> TMathVector& Each(TMathVector& a, Op op)
{
  for (TSize i = 0; i < a.N && a.X; ++i)
    a.X[i] = op(a.X[i]);
  return a;
}

} // namespace

TMathVector& TMathVector::operator+=(const TMathVector& v)
{
  return EachWith(*this, v, [](TData a, TData b) { return a + b; });
}

TMathVector& TMathVector::operator-=(const TMathVector& v)
{
  return EachWith(*this, v, [](TData a, TData b) { return a - b; });
}

TMathVector& TMathVector::operator+=(const TData& v)
{
  return Each(*this, [v](TData a) { return a + v; });
}

TMathVector& TMathVector::operator-=(const TData& v)
{
  return Each(*this, [v](TData a) { return a - v; });
}

TMathVector& TMathVector::operator*=(const TData& v)
{
  return Each(*this, [v](TData a) { return a * v; });
}

TMathVector& TMathVector::operator/=(const TData& v)
{
  return Each(*this, [v](TData a) { return a / v; });
}

Boolean TMathVector::Swap(TMathVector& v)
{
  if (typeid(*this) != typeid(v)) return false;
  std::swap(N, v.N);
  std::swap(X, v.X);
  if (auto* r = dynamic_cast<TRowSparseMathVector*>(this)) {
    auto& o = static_cast<TRowSparseMathVector&>(v);
    std::swap(r->SI, o.SI);
    std::swap(r->EI, o.EI);
    std::swap(r->D, o.D);
  } else if (auto* p = dynamic_cast<TSparseMathVector*>(this)) {
    std::swap(p->Positions, static_cast<TSparseMathVector&>(v).Positions);
  }
  return true;
}

Boolean TMathVector::Swap(TSize i, TSize j)
{
  if (!X || i < 0 || j < 0 || i >= N || j >= N) return false;
  std::swap(X[i], X[j]);
  return true;
}

// ---------------------------------------------------------------------------------------------
// Row spans

TRowSparseMathVector::TRowSparseMathVector(TSize iN, TSize begNonZero, TSize endNonZero, const TData* data)
    : TMathVector(TSize(std::max<std::int64_t>(std::int64_t(endNonZero) - begNonZero + 1, 0))),
      SI(begNonZero), EI(N > 0 ? endNonZero + 1 : begNonZero), D(iN)
{
  CopyValues(X, data, N);
}

void TRowSparseMathVector::Init(TSize iN, TSize begNonZero, TSize endNonZero, const TData* data)
{
  TRowSparseMathVector fresh(iN, begNonZero, endNonZero, data);
  Swap(fresh);
}

TRowSparseMathVector::TRowSparseMathVector(const TRowSparseMathVector& s)
    : TMathVector(s.N), SI(s.SI), EI(s.EI), D(s.D)
{
  CopyValues(X, s.X, N);
}

TRowSparseMathVector& TRowSparseMathVector::operator=(const TRowSparseMathVector& s)
{
  if (this == &s) return *this;
  SI = s.SI;
  EI = s.EI;
  D = s.D;
  if (N != s.N || (!X && s.N > 0)) {
    N = s.N;
    CatchMemory();
  }
  CopyValues(X, s.X, N);
  return *this;
}

void TRowSparseMathVector::SetZero()
{
  TMathVector::SetZero(0);
}

Boolean TRowSparseMathVector::Assign(const TMathVector& v)
{
  if (!X || !v.X || v.N < EI) return false;
  // The source is read by column, so a row whose span starts late takes v's matching columns.
  const TSize from = std::max<TSize>(SI, 0);
  const TSize n = std::min(N, v.N - from);
  CopyValues(X, v.X + from, n);
  return true;
}

void TRowSparseMathVector::SetLine(const TData* data)
{
  CopyValues(X, data, N);
}

Boolean TRowSparseMathVector::BegEndUpdate()
{
  if (EI <= SI || !X) return false;
  TSize first = -1;
  for (TSize k = 0; k < N; ++k)
    if (std::fabs(X[k]) > ZeroEpsilon) {
      first = k;
      break;
    }
  if (first < 0) return false;
  TSize last = -1;
  for (TSize k = N - 1; k > first; --k)
    if (std::fabs(X[k]) > ZeroEpsilon) {
      last = k;
      break;
    }
  if (last < 0) return false;
  if (first == 0 && last == N - 1) return false;
  const TSize n = last - first + 1;
  TData* fresh = NewValues(n);
  CopyValues(fresh, X + first, n);
  delete[] X;
  X = fresh;
  EI = SI + last + 1;
  SI += first;
  N = n;
  return true;
}

TData operator*(const TRowSparseMathVector& r, const TMathVector& v)
{
  // Only the stored span can contribute.
  TData s = 0.0;
  const TSize lo = std::max<TSize>(r.SI, 0), hi = std::min(r.EI, v.N);
  for (TSize j = lo; j < hi; ++j)
    s += r.X[j - r.SI] * ReadAt(v, j);
  return s;
}

// ---------------------------------------------------------------------------------------------
// TSparseMathVector

TSparseMathVector::TSparseMathVector(const TSparseMathVector& s) : TMathVector(0)
{
  Init(s);
}

TSparseMathVector& TSparseMathVector::operator=(const TSparseMathVector& s)
{
  if (this != &s) Init(s);
  return *this;
}

TSparseMathVector::~TSparseMathVector()
{
  delete[] Positions;
}

void TSparseMathVector::FreeMemory()
{
  delete[] Positions;
  Positions = nullptr;
  TMathVector::FreeMemory();
}

void TSparseMathVector::CatchMemory()
{
  FreeMemory();
  if (N > 0) {
    X = NewValues(N);
    Positions = new TSize[size_t(N)]();
  }
}

TData TSparseMathVector::Elem(TSize elemIdx, TSize& nzIdx) const
{
  if (!X) return 0.0;
  if (!Positions) return (elemIdx >= 0 && elemIdx < N) ? X[elemIdx] : 0.0;
  if (nzIdx < 0) nzIdx = 0;
  while (nzIdx < N && Positions[nzIdx] < elemIdx)
    ++nzIdx;
  return (nzIdx < N && Positions[nzIdx] == elemIdx) ? X[nzIdx] : 0.0;
}

void TSparseMathVector::Init(const TSparseMathVector& s)
{
  if (this == &s) return;
  if (N != s.N || (!X && s.N > 0) || (!Positions) != (!s.Positions)) {
    FreeMemory();
    N = std::max<TSize>(s.N, 0);
    X = NewValues(N);
    if (s.Positions && N > 0) Positions = new TSize[size_t(N)]();
  }
  CopyValues(X, s.X, N);
  if (Positions && s.Positions) std::copy(s.Positions, s.Positions + N, Positions);
}

void TSparseMathVector::Init(const TMathVector& V, const TData&)
{
  TSize count = 0;
  const TSize n = V.X ? V.N : 0;
  for (TSize i = 0; i < n; ++i)
    if (std::fabs(V.X[i]) > ZeroEpsilon) ++count;
  FreeMemory();
  N = 0;
  if (count == 0) return;
  if (n < 8 || count > (3 * n) / 4) {
    N = n;
    X = NewValues(N);
    CopyValues(X, V.X, N);
    return;
  }
  N = count;
  CatchMemory();
  TSize k = 0;
  for (TSize i = 0; i < n; ++i)
    if (std::fabs(V.X[i]) > ZeroEpsilon) {
      X[k] = V.X[i];
      Positions[k++] = i;
    }
}

TSparseMathVector& TSparseMathVector::operator-=(const TSparseMathVector& s)
{
  if (!X || !s.X) return *this;
  if ((!Positions) != (!s.Positions)) return *this;
  const TSize n = std::min(N, s.N);
  if (Positions && (N != s.N || !std::equal(Positions, Positions + N, s.Positions))) return *this;
  for (TSize k = 0; k < n; ++k)
    X[k] -= s.X[k];
  return *this;
}

namespace {

// Packed p times dense d: each stored value meets the dense value at its position.
TData PackedTimesDense(const TSparseMathVector& p, const TSparseMathVector& d)
{
  TData s = 0.0;
  const TSize n = std::min(p.N, d.N);
  for (TSize k = 0; k < n; ++k) {
    const TSize pos = p.Positions[k];
    if (pos >= 0 && pos < d.N) s += p.X[k] * d.X[pos];
  }
  return s;
}

} // namespace

TData operator*(const TSparseMathVector& a, const TSparseMathVector& b)
{
  if (a.N < 1 || b.N < 1 || !a.X || !b.X) return 0.0;
  if (!a.Positions && !b.Positions) {
    TData s = 0.0;
    const TSize n = std::min(a.N, b.N);
    for (TSize k = 0; k < n; ++k)
      s += a.X[k] * b.X[k];
    return s;
  }
  if (a.Positions && !b.Positions) return PackedTimesDense(a, b);
  if (!a.Positions && b.Positions) return PackedTimesDense(b, a);
  TData s = 0.0;
  TSize i = 0, j = 0;
  while (i < a.N && j < b.N) {
    if (a.Positions[i] < b.Positions[j])
      ++i;
    else if (b.Positions[j] < a.Positions[i])
      ++j;
    else
      s += a.X[i++] * b.X[j++];
  }
  return s;
}

TData operator*(const TSparseMathVector& a, const TMathVector& v)
{
  TData s = 0.0;
  if (a.N < 1 || !a.X) return s;
  if (a.Positions) {
    const TSize n = std::min(a.N, v.N);
    for (TSize k = 0; k < n; ++k) {
      const TSize pos = a.Positions[k];
      s += a.X[k] * ReadAt(v, pos);
    }
  } else if (v.X) {
    const TSize n = std::min(a.N, v.N);
    for (TSize k = 0; k < n; ++k)
      s += a.X[k] * v.X[k];
  }
  return s;
}
