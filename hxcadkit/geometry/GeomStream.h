#pragma once
// Stream and text forms shared by the geometry's value types: runs of doubles, and the
// numbers of their text dumps.
#include "hxcadkit/core/DString.h"
#include "hxcadkit/core/KmfData.h"
#include "hxcadkit/core/Types.h"

namespace geomio {

// Reads n doubles; whatever lies past the end of the data reads as zeros (the stream's rule).
inline void ReadReals(TKmfData& S, Real* dst, unsigned n)
{
  for (unsigned i = 0; i < n; ++i)
    S.Read(dst[i]);
}

inline void WriteReals(TKmfData& S, const Real* src, unsigned n)
{
  S.BlockWrite(src, n * unsigned(sizeof(Real)));
}

// A value as the dumps print it: two decimals, a point, width 7.
inline TString Num(Real v)
{
  return TString(v, 2, true, 7);
}

} // namespace geomio
