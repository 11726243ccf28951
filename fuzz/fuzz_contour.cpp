// Arbitrary bytes as a stored contour, read under the format version that the first byte picks
// (around the gates 89 and 90). Whatever was read then goes through the contour's evaluation,
// its queries and the outer-contour walk: nothing may crash, hang or leave the sanitizers a
// complaint, and storing what was read must give a record that reads back to the same bytes.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "hxcadkit/core/KmfData.h"
#include "hxcadkit/geometry/Contour.h"
#include "hxcadkit/geometry/OutCont.h"
#include "hxcadkit/geometry/SolverInterSect.h"

namespace {

using Bytes = std::vector<unsigned char>;

Bytes Stored(const TContour& c)
{
  TKmfData S;
  c.Store(S);
  Bytes all;
  S.to(all);
  return all;
}

void Reload(const Bytes& all, TContour& c)
{
  TKmfData S;
  if (!S.from(all)) __builtin_trap();
  c.Load(S);
}

// Counts what a contour would draw; the modeller it is handed is never touched.
struct TNullLink : TContourDrawLink
{
  mutable int calls = 0;
  void drLine(TModeler3D&, const double&, const double&, const double&, const double&, int) const override
  {
    ++calls;
  }
  void drCircle(TModeler3D&, const double&, const double&, const double&, int) const override { ++calls; }
  void drArc(TModeler3D&, const double&, const double&, const double&, const double&, const double&, int,
             int) const override
  {
    ++calls;
  }
};

void Exercise(TContour& c, const Real* probe)
{
  c.Refresh();
  const Real T = c.GetTMax();
  c.IsClosed();
  c.IsDirect();
  c.IsDirect2(1e-3);
  c.IsClosed2(1e-4);
  TRect2D R;
  c.Rect(R);
  TRect2D some;
  c.RangeAtIn(0, 1, 2, some);
  TPoint2D P;
  TVector2D V;
  for (Real t : {0.0, T, T / 2, probe[0], probe[1], -1.0, T + 1}) {
    Real u = t, local = 0;
    c.FindSegment(u, local);
    c.PointOn(t, P);
    c._PointOn(t, P);
    c.FirstDer(t, V);
    c.SecondDer(t, V);
    c.ThirdDer(t, V);
    c._FirstDer(t, V);
  }
  c.GetMetricLength();
  c.GetMetricLengthPart(probe[0], probe[1]);
  c.GetMetricLengthPart(probe[1], probe[0]);
  Real t = 0;
  const TPoint2D Q(probe[2], probe[3]);
  c.NearPointProjection(Q, TPoint2D(1e-4, 1e-4), t, false, nullptr);
  TRegion1D W(probe[0], probe[1]);
  c.NearPointProjection(Q, TPoint2D(1e-4, 1e-4), t, true, &W);
  TArrayOf<TPair<int, int>> found;
  c.Find2(probe[2], probe[3], found);

  c.FoundPoint(probe[2], probe[3]);
  c.FoundPoint(0, 0);
  const TLineSeg seg(-10, -3, 10, 4);
  const TCircle circle(1, 2, 5);
  const TArc arc(-1, 0, -4, 0.5, 4);
  c.Found(&seg);
  c.Found(&circle);
  c.Found(&arc);
  c.InterSect2(&seg);
  TInterSector X;
  c.SelfIntersect(TRegion1D(0, T), X, false);
  TAReal A;
  c.InterSectHorizontal(probe[3], A);
  c.InterSectVertical(probe[2], A);
  c.Colision(c);
  c.Found(c);

  static const TNullLink link;
  SetContourDrawLink(&link);
  alignas(std::max_align_t) static unsigned char placeholder[64];
  c.drItems(*reinterpret_cast<TModeler3D*>(placeholder), 0);

  // The approximations sample per unit of length: keep them to contours a drawing could hold.
  const bool small =
      c.Count <= 16 && c.GetMetricLength() < 1e4 && std::isfinite(R.LD.x) && std::isfinite(R.RU.x) &&
      std::isfinite(R.LD.y) && std::isfinite(R.RU.y) &&
      std::max({std::fabs(R.LD.x), std::fabs(R.RU.x), std::fabs(R.LD.y), std::fabs(R.RU.y)}) < 100;
  if (small) {
    c.Len();
    c.Area();
    double cx, cy, len;
    c.CenterXYLenCut(cx, cy, len);
    std::vector<double> xyz;
    std::vector<int> edges;
    c.GetEdges(xyz, edges);

    // The operations that cut, chain and offset work on copies of what was read.
    c.Area2();
    c.GetSense();
    const Real d = std::isfinite(probe[0]) && std::fabs(probe[0]) < 10 ? probe[0] : 1.0;
    std::unique_ptr<TCurve2D> offset(c.Offset(d));
    Real t1 = probe[0], t2 = probe[1];
    std::unique_ptr<TCurve2D> piece(c.Trimmed(t1, t2, 1));
    t1 = probe[1], t2 = probe[0];
    std::unique_ptr<TCurve2D> back(c.Trimmed(t1, t2, -1));
    TContour cut;
    cut = c;
    TCurve2D* rest = nullptr;
    cut.DeletePart(probe[0], probe[1], rest);
    delete rest;
    TContour trimmed;
    trimmed = c;
    trimmed.Trimm(probe[0], probe[1]);
    trimmed.Refresh();
    trimmed.GetTMax();
    TContour direct;
    direct = c;
    direct.MakeDirect(1e-3, true);

    // The outer-contour walk answers one of its codes and leaves nothing behind.
    TContour outline;
    const Integer code = c.OutCont(&outline, nullptr);
    if (code < 0 || code > 4) __builtin_trap();
    if (IS.ACrossPoint.Count != 0) __builtin_trap();
    outline.Area2();
  }

  std::unique_ptr<TCurve2D> copy(c.Duplicate());
  TContour other;
  other = c;
  other.Inverse();
  other.Mtr(probe[2], probe[3], 30, 2);
  c.Found(other);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  if (size < 1) return 0;
  static const int versions[] = {0, 88, 89, 90, KmfVersion};
  const int version = versions[data[0] % 5];
  TFileHeader h;
  std::memset(h.Reserved, 0, sizeof h.Reserved);
  h.Head = KmfHeadMagic;
  h.Version = version;
  // Made whole at once: gcc 12 takes an insertion behind the header for a write past it.
  Bytes all(KmfHeaderSize + (size - 1));
  std::copy(h.Reserved, h.Reserved + KmfHeaderSize, all.begin());
  std::copy(data + 1, data + size, all.begin() + KmfHeaderSize);
  TKmfData S;
  if (!S.from(all)) return 0;
  TContour c;
  c.Load(S);

  Real probe[4] = {0.25, 1.75, 0.5, 0.5};
  if (size >= 40) std::memcpy(probe, data + size - 32, 32);
  Exercise(c, probe);

  TContour again;
  const Bytes once = Stored(c);
  Reload(once, again);
  const Bytes twice = Stored(again);
  TContour third;
  Reload(twice, third);
  if (Stored(third) != twice) __builtin_trap();
  return 0;
}
