// Small builders and comparisons shared by the numeric tests.
#pragma once

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <random>
#include <vector>

#include "hxcadkit/numeric/TVector.h"
#include "hxcadkit/numeric/TVector2.h"

namespace numtest {

inline TMathVector Vec(std::initializer_list<double> l)
{
  TMathVector v(TSize(l.size()), 0.0);
  v = l;
  return v;
}

inline std::vector<double> Values(const TMathVector& v)
{
  return std::vector<double>(v.X, v.X + v.N);
}

// A matrix filled row by row from the list.
inline TMathMatrix Mat(TSize lines, TSize columns, std::initializer_list<double> l,
                       MathMatrixType type = mt_GENERAL)
{
  TMathMatrix m(lines, columns, type);
  m = l;
  return m;
}

inline TMathMatrix Random(std::mt19937& gen, TSize m, TSize n)
{
  std::uniform_real_distribution<double> val(-1, 1);
  TMathMatrix a(m, n, mt_GENERAL);
  for (TSize i = 0; i < m; ++i)
    for (TSize j = 0; j < n; ++j)
      a(i, j) = val(gen);
  return a;
}

inline TMathVector RandomVector(std::mt19937& gen, TSize n)
{
  std::uniform_real_distribution<double> val(-10, 10);
  TMathVector v(n);
  for (TSize i = 0; i < n; ++i)
    v.X[i] = val(gen);
  return v;
}

inline TMathMatrix Transposed(const TMathMatrix& a)
{
  TMathMatrix t;
  a.Transpose(t);
  return t;
}

// Largest elementwise difference, reading both logically (absent cells are zero).
inline double MaxDiff(const TMathMatrix& a, const TMathMatrix& b)
{
  double d = 0;
  for (TSize i = 0; i < std::max(a.Lines, b.Lines); ++i)
    for (TSize j = 0; j < std::max(a.Columns, b.Columns); ++j)
      d = std::max(d, std::fabs(a.At(i, j) - b.At(i, j)));
  return d;
}

} // namespace numtest
