// Arbitrary bytes as a stored curve record, read by the kind that the first byte names under the
// format version that the second byte picks (around the gates 89 and 90). Whatever was read
// (zeros, NaNs, infinities, huge or tiny sizes) then goes through the curve's operations and the
// intersection solver: nothing may crash, hang or leave the sanitizers a complaint, and storing
// what was read must give a record that reads back to the same bytes.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "hxcadkit/core/KmfData.h"
#include "hxcadkit/geometry/Elements.h"
#include "hxcadkit/geometry/SolverInterSect.h"

namespace {

using Bytes = std::vector<unsigned char>;

std::unique_ptr<TCurve2D> Make(int kind)
{
  switch (kind) {
  case tPoint:
    return std::make_unique<TBasePoint>();
  case tLineSeg:
    return std::make_unique<TLineSeg>();
  case tCircle:
    return std::make_unique<TCircle>();
  case tArc:
    return std::make_unique<TArc>();
  case tText:
    return std::make_unique<TText>();
  default:
    return std::make_unique<TLine>();
  }
}

Bytes Stored(const TCurve2D& c)
{
  TKmfData S;
  c.Store(S);
  Bytes all;
  S.to(all);
  return all;
}

std::unique_ptr<TCurve2D> Reload(int kind, const Bytes& all)
{
  TKmfData S;
  if (!S.from(all)) __builtin_trap();
  std::unique_ptr<TCurve2D> c = Make(kind);
  c->Load(S);
  return c;
}

void Exercise(TCurve2D& c, const Real* probe)
{
  c.Calculate();
  TRect2D R;
  c.Rect(R);
  Real x, y;
  c.Left(x, y);
  c.Top(x, y);
  const Real tmin = c.GetTMin(), tmax = c.GetTMax();
  TPoint2D P;
  TVector2D V;
  for (Real t : {tmin, tmax, (tmin + tmax) / 2, probe[0], probe[1]}) {
    c.PointOn(t, P);
    c._PointOn(t, P);
    c.FirstDer(t, V);
    c.SecondDer(t, V);
    c.ThirdDer(t, V);
    c.TangentOn(t, V);
    c.NormalOn(t, V);
    c.Curvature(t);
    c.CurvatureDerive(t);
    c.DeviationStep(t, 0.1);
    Real u = t;
    c.CorrectParameter(u);
    u = t;
    c.CorrectParameter(false, u, 1e-8);
    c.ParamToAngle(u);
    c.AngleToParam(u);
  }
  c.GetMetricLengthPart(probe[0], probe[1]);
  c.GetParamLengthPart(probe[1], probe[0]);
  c.IsDegenerate();
  const TPoint2D Q(probe[2], probe[3]);
  Real t = 0;
  c.NearPointProjection(Q, TPoint2D(1e-8, 1e-8), t, true, nullptr);
  c.NearPointProjection(Q, TPoint2D(1e-3, 1e-3), t, false, nullptr);
  TRegion1D W(probe[0], probe[1]);
  c.NearPointProjection(Q, TPoint2D(1e-3, 1e-3), t, false, &W);
  c.PointRelative(Q, 1e-6);
  c.DistanceTo(Q);
  TAReal A;
  c.InterSectHorizontal(probe[3], A);
  c.InterSectVertical(probe[2], A);
  c.InterSectHorizontal(0, A);
  c.InterSectVertical(0, A);
  // The base approximation samples every tenth of a length unit: keep it to curves that a
  // drawing could hold.
  if (c.GetMetricLength() < 1e4 || c.IsType() == tArc) {
    TPolyLine L;
    c.Aproximate(L);
  }

  const std::unique_ptr<TCurve2D> copies[] = {std::unique_ptr<TCurve2D>(c.Duplicate()),
                                              std::unique_ptr<TCurve2D>(c.Offset(1)),
                                              std::unique_ptr<TCurve2D>(c.Offset(-probe[0]))};
  Real t1 = probe[0], t2 = probe[1];
  std::unique_ptr<TCurve2D> trimmed(c.Trimmed(t1, t2, 1));
  TCurve2D* part2 = nullptr;
  std::unique_ptr<TCurve2D> cut(c.Duplicate());
  cut->TrimmPart(probe[0], probe[1], part2);
  delete part2;
  part2 = nullptr;
  cut->DeletePart(probe[1], probe[0], part2);
  delete part2;
  cut->Inverse();
  cut->Mtr(TMtr2D(probe[2], probe[3], 30, 2));
  TMtr2D mirror;
  mirror.Symmetry(TPoint2D(0, 0), TVector2D(1, 1));
  cut->Mtr(mirror);

  const TLineSeg seg(-10, -3, 10, 4);
  const TCircle circle(1, 2, 5);
  const TArc arc(-1, 0, -4, 0.5, 4);
  const TLine line(0, 0, 1, 1);
  const TBasePoint point(probe[2], probe[3]);
  TInterSector IS;
  for (const TCurve2D* other : {static_cast<const TCurve2D*>(&seg), static_cast<const TCurve2D*>(&circle),
                                static_cast<const TCurve2D*>(&arc), static_cast<const TCurve2D*>(&line),
                                static_cast<const TCurve2D*>(&point), static_cast<const TCurve2D*>(&c)}) {
    IS.InterSection(&c, other);
    IS.InterSection(other, &c);
    c.InterSect(other, IS);
    other->InterSect(&c, IS);
    for (const auto& k : copies)
      if (k) IS.InterSection(k.get(), other);
  }
  IS.DeleteLinkCrossPoint(nullptr);
  for (Integer i = 0; i < IS.ACrossPoint.Count; ++i)
    IS.ACrossPoint[i].IsLink(1e-4);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  if (size < 2) return 0;
  const int kind = data[0] % 6 + 1;
  static const int versions[] = {0, 88, 89, 90, KmfVersion};
  const int version = versions[data[1] % 5];
  Bytes record(data + 2, data + size);

  TKmfData S;
  TFileHeader h;
  std::memset(h.Reserved, 0, sizeof h.Reserved);
  h.Head = KmfHeadMagic;
  h.Version = version;
  // Made whole at once: gcc 12 takes an insertion behind the header for a write past it.
  Bytes all(KmfHeaderSize + record.size());
  std::copy(h.Reserved, h.Reserved + KmfHeaderSize, all.begin());
  std::copy(record.begin(), record.end(), all.begin() + KmfHeaderSize);
  if (!S.from(all)) return 0;
  std::unique_ptr<TCurve2D> c = Make(kind);
  c->Load(S);
  if (c->IsType() != kind) __builtin_trap();

  // Values for the probes: the record's own numbers where there are enough of them.
  Real probe[4] = {0.25, 0.75, 1.5, -2.5};
  if (record.size() >= 40) std::memcpy(probe, record.data() + record.size() - 32, 32);
  Exercise(*c, probe);

  // What was read stores and reads back: after one pass through the current format the
  // record is stable.
  const Bytes once = Stored(*c);
  const std::unique_ptr<TCurve2D> again = Reload(kind, once);
  const Bytes twice = Stored(*again);
  const std::unique_ptr<TCurve2D> third = Reload(kind, twice);
  if (Stored(*third) != twice) __builtin_trap();
  return 0;
}
