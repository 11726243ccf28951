// The contour as a curve: parameter, evaluation, projection, closure tests, boxes, copying,
// the cached hull and the stream form. The containment and intersection queries are in
// ContourQuery.cpp.
#include "hxcadkit/geometry/Contour.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "hxcadkit/core/DString.h"
#include "hxcadkit/core/KmfData.h"
#include "hxcadkit/core/Messager.h"

namespace {

constexpr Real LinkEps = 0.0001;

// The fewest bytes a stored member takes: its kind code, the two words of the curve record
// and a point's two coordinates (every kind stores at least that much).
constexpr std::int64_t MinMemberBytes = 4 + 8 + 16;

bool Near(const TPoint2D& a, const TPoint2D& b, Real eps)
{
  return std::fabs(a.x - b.x) <= eps && std::fabs(a.y - b.y) <= eps;
}

TCurve2D* NewMember(int kind)
{
  switch (kind) {
  case tPoint:
    return new TBasePoint();
  case tLineSeg:
    return new TLineSeg();
  case tCircle:
    return new TCircle();
  case tArc:
    return new TArc();
  case tText:
    return new TText();
  default:
    return nullptr;
  }
}

void ReadError()
{
  Messager->LiftBox(DC(TString("Критическая ошибка чтения контура с потока")), TMessager::toAlways);
}

} // namespace

// --- Lifetime ------------------------------------------------------------------------------

TContour::~TContour()
{
  DeleteMembers();
}

void TContour::DeleteMembers()
{
  delete LS;
  LS = nullptr;
  for (Integer i = 0; i < Count; ++i) {
    delete FArray[i];
    FArray[i] = nullptr;
  }
  Count = 0;
}

void TContour::Clear()
{
  DeleteMembers();
}

TContour& TContour::operator=(const TContour& other)
{
  if (this == &other) return *this;
  DeleteMembers();
  for (Integer i = 0; i < other.Count; ++i)
    if (other.FArray[i])
      if (TCurve2D* c = other.FArray[i]->Duplicate()) Add(c);
  Refresh();
  return *this;
}

// --- Parameter and evaluation --------------------------------------------------------------

Real TContour::GetTMax() const
{
  if (paramLength < 0) return CalculateParamLength();
  return paramLength;
}

Real TContour::CalculateParamLength() const
{
  paramLength = 0;
  for (Integer i = 0; i < Count; ++i) {
    TCurve2D* c = FArray[i];
    if (!c) continue;
    c->Owner = this;
    c->startParam = paramLength;
    c->Index = i;
    paramLength += c->GetTMax() - c->GetTMin();
  }
  return paramLength;
}

Integer TContour::FindSegment(double& t, double& local) const
{
  if (Count < 1) {
    local = 0;
    return -1;
  }
  CorrectParameter(t);
  Real s = 0;
  for (Integer i = 0; i < Count; ++i) {
    const TCurve2D* c = FArray[i];
    if (!c) continue;
    const Real tmin = c->GetTMin();
    const Real r = c->GetTMax() - tmin;
    if (r > paramEpsilon && s + r > t) {
      local = tmin + t - s;
      return i;
    }
    s += r;
  }
  const Integer last = Count - 1;
  local = FArray[last] ? FArray[last]->GetTMax() : 0;
  return last;
}

void TContour::PointOn(Real t, TPoint2D& P) const
{
  Real local = 0;
  const Integer i = FindSegment(t, local);
  if (i >= 0 && FArray[i]) FArray[i]->PointOn(local, P);
}

// The derivatives find their member as PointOn does: members' ranges are not all 1, so the
// integer part of the parameter would name the wrong member (or none at all).
void TContour::FirstDer(Real t, TVector2D& V) const
{
  Real local = 0;
  const Integer i = FindSegment(t, local);
  if (i >= 0 && FArray[i]) FArray[i]->FirstDer(local, V);
}

void TContour::SecondDer(Real t, TVector2D& V) const
{
  Real local = 0;
  const Integer i = FindSegment(t, local);
  if (i >= 0 && FArray[i]) FArray[i]->SecondDer(local, V);
}

void TContour::ThirdDer(Real t, TVector2D& V) const
{
  Real local = 0;
  const Integer i = FindSegment(t, local);
  if (i >= 0 && FArray[i]) FArray[i]->ThirdDer(local, V);
}

// eval(curve, t, raw): raw on a member beyond the contour's ends, else the contour's own.
template <class Eval> void TContour::RawEval(Real t, Eval eval) const
{
  if (Count < 1) return;
  const Real a = GetTMin(), b = GetTMax();
  const Real lo = std::min(a, b), hi = std::max(a, b);
  if ((t >= lo && t <= hi) || IsClosed()) {
    eval(*this, t, false);
    return;
  }
  if (t < lo) {
    if (const TCurve2D* c = FArray[0]) eval(*c, c->GetTMin() + (t - lo), true);
  } else if (const TCurve2D* c = FArray[Count - 1]) {
    eval(*c, c->GetTMax() + (t - hi), true);
  }
}

void TContour::_PointOn(Real t, TPoint2D& P) const
{
  RawEval(t, [&](const TCurve2D& c, Real u, bool raw) {
    if (raw)
      c._PointOn(u, P);
    else
      c.PointOn(u, P);
  });
}

void TContour::_FirstDer(Real t, TVector2D& V) const
{
  RawEval(t, [&](const TCurve2D& c, Real u, bool raw) {
    if (raw)
      c._FirstDer(u, V);
    else
      c.FirstDer(u, V);
  });
}

void TContour::_SecondDer(Real t, TVector2D& V) const
{
  RawEval(t, [&](const TCurve2D& c, Real u, bool raw) {
    if (raw)
      c._SecondDer(u, V);
    else
      c.SecondDer(u, V);
  });
}

void TContour::_ThirdDer(Real t, TVector2D& V) const
{
  RawEval(t, [&](const TCurve2D& c, Real u, bool raw) {
    if (raw)
      c._ThirdDer(u, V);
    else
      c.ThirdDer(u, V);
  });
}

Boolean TContour::NearPointProjection(const TPoint2D& P, TPoint2D Eps, Real& t, Boolean ext,
                                      TRegion1D* region) const
{
  const bool restricted = region && region->min <= region->max;
  t = GetTMin();
  Real best = MaxReal;
  Real s = 0;
  const bool isClosed = IsClosed();
  for (Integer i = 0; i < Count; ++i) {
    const TCurve2D* c = FArray[i];
    if (!c) continue;
    const Real tmin = c->GetTMin(), tmax = c->GetTMax();
    TRegion1D own(tmin, tmax);
    if (restricted) {
      own.min = std::max(tmin, tmin + region->min - s);
      own.max = std::min(tmax, tmin + region->max - s);
    }
    const bool extend = Count == 1 && ext && !isClosed;
    Real local = tmin;
    c->NearPointProjection(P, Eps, local, extend, &own);
    TPoint2D Q;
    if (extend && !closed)
      c->_PointOn(local, Q);
    else
      c->PointOn(local, Q);
    Real d = (Q.x - P.x) * (Q.x - P.x) + (Q.y - P.y) * (Q.y - P.y);
    const Real p = local - tmin + s;
    if (restricted && !ext && (p <= region->min - paramRegion || p >= region->max + paramRegion)) d = MaxReal;
    if (d < best) {
      best = d;
      t = p;
    }
    s += tmax - tmin;
  }
  const Real tol = 20 * std::max(std::fabs(Eps.x), std::fabs(Eps.y)) * GetParamToUnit();
  if (restricted) {
    const Real period = isClosed ? GetTMax() - GetTMin() : 0;
    return region->CorrectCheckNearParameter(period, ext, tol, t);
  }
  return GetRegion().CorrectCheckParameter(closed, ext, tol, t);
}

Real TContour::GetMetricLength() const
{
  Real L = 0;
  for (Integer i = 0; i < Count; ++i)
    if (FArray[i]) L += FArray[i]->GetMetricLength();
  metricLength = L;
  return L;
}

Real TContour::GetMetricLengthPart(Real t1, Real t2) const
{
  return PartLength(t1, t2, true);
}

Real TContour::PartLength(Real t1, Real t2, bool wrap) const
{
  Real l1 = 0, l2 = 0;
  const Integer i1 = FindSegment(t1, l1);
  const Integer i2 = FindSegment(t2, l2);
  if (i1 < 0 || i2 < 0) return 0;
  // On a closed contour a part whose ends share a member, t1 after t2, runs over the end as well.
  if (i2 < i1 || (i1 == i2 && t1 > t2 && IsClosed())) {
    // The part runs over the end; each half stays inside the range, so one level is enough.
    if (!wrap) return 0;
    return PartLength(t1, GetTMax(), false) + PartLength(GetTMin(), t2, false);
  }
  if (i1 == i2) return FArray[i1] ? FArray[i1]->GetMetricLengthPart(l1, l2) : 0;
  Real L = 0;
  if (const TCurve2D* c = FArray[i1]) L += c->GetMetricLengthPart(l1, c->GetTMax());
  for (Integer i = i1 + 1; i < i2; ++i)
    if (FArray[i]) L += FArray[i]->GetMetricLength();
  if (const TCurve2D* c = FArray[i2]) L += c->GetMetricLengthPart(c->GetTMin(), l2);
  return L;
}

// --- Shape queries -------------------------------------------------------------------------

Boolean TContour::IsLink(TCurve2D const* a, TCurve2D const* b)
{
  if (!a || !b) return false;
  return Near(a->PointTMax(), b->PointTMin(), LinkEps);
}

Boolean TContour::IsDirect() const
{
  for (Integer i = 1; i < Count; ++i)
    if (!IsLink(FArray[i - 1], FArray[i])) return false;
  return true;
}

Boolean TContour::IsDirect2(double tol) const
{
  for (Integer i = 1; i < Count; ++i) {
    const TCurve2D* a = FArray[i - 1];
    const TCurve2D* b = FArray[i];
    if (!a || !b) return false;
    if (!a->IsLink(a->GetTMax(), b, b->GetTMin(), tol)) return false;
  }
  return true;
}

Boolean TContour::IsClosed() const
{
  if (Count < 1) return false;
  if (Count == 1) return FArray[0] && FArray[0]->IsType() == tCircle;
  if (!IsDirect()) return false;
  const TCurve2D* first = FArray[0];
  const TCurve2D* last = FArray[Count - 1];
  if (!first || !last) return false;
  return Near(last->PointTMax(), first->PointTMin(), LinkEps);
}

Boolean TContour::IsClosed2(double tol)
{
  closed = false;
  if (Count < 1 || !FArray[0]) return false;
  if (Count == 1) {
    closed = FArray[0]->IsType() == tCircle;
    return closed;
  }
  const TCurve2D* first = FArray[0];
  const TCurve2D* last = FArray[Count - 1];
  if (IsDirect() && last) closed = first->IsLink(first->GetTMin(), last, last->GetTMax(), tol);
  return closed;
}

UInteger TContour::CountAt(unsigned atr) const
{
  UInteger n = 0;
  for (Integer i = 0; i < Count; ++i)
    if (FArray[i] && unsigned(FArray[i]->Atr) == atr) ++n;
  return n;
}

Boolean TContour::Find2(double const& x, double const& y, TArrayOf<TPair<int, int>>& found) const
{
  found.Clear();
  const TPoint2D P(x, y);
  for (Integer i = 0; i < Count; ++i) {
    const TCurve2D* c = FArray[i];
    if (!c) continue;
    switch (c->IsType()) {
    case tLineSeg: {
      const TLineSeg* s = static_cast<const TLineSeg*>(c);
      if (Near(TPoint2D(s->x, s->y), P, LinkEps))
        found.Add(TPair<int, int>(i, 0));
      else if (Near(TPoint2D(s->xk, s->yk), P, LinkEps))
        found.Add(TPair<int, int>(i, 1));
      break;
    }
    case tCircle:
    case tArc: {
      const TCircle* k = static_cast<const TCircle*>(c);
      if (Near(TPoint2D(k->x, k->y), P, LinkEps)) found.Add(TPair<int, int>(i, 0));
      break;
    }
    default:
      break;
    }
  }
  return found.Count > 0;
}

// --- Boxes ---------------------------------------------------------------------------------

void TContour::Rect(TRect2D& R) const
{
  if (Count < 1) {
    R = TRect2D(0, 0, 0, 0);
    return;
  }
  R.SetEmpty();
  for (Integer i = 0; i < Count; ++i) {
    if (!FArray[i]) continue;
    TRect2D r;
    FArray[i]->Rect(r);
    R.Add(r);
  }
}

void TContour::RangeIn(double& left, double& bottom, double& right, double& top) const
{
  TRect2D R;
  Rect(R);
  left = R.LD.x;
  bottom = R.LD.y;
  right = R.RU.x;
  top = R.RU.y;
}

Boolean TContour::BoxOfAttributes(const unsigned* atr, int n, TRect2D& R) const
{
  bool any = false;
  for (Integer i = 0; i < Count; ++i) {
    const TCurve2D* c = FArray[i];
    if (!c || std::find(atr, atr + n, unsigned(c->Atr)) == atr + n) continue;
    TRect2D r;
    c->Rect(r);
    if (!any) {
      R = r;
      any = true;
    } else {
      R.Add(r);
    }
  }
  return any;
}

void TContour::RangeAtIn(unsigned a, TRect2D& R) const
{
  if (Count < 1) {
    R = TRect2D(0, 0, 0, 0);
    return;
  }
  const unsigned atr[] = {a};
  BoxOfAttributes(atr, 1, R);
}

void TContour::RangeAtIn(unsigned a, unsigned b, TRect2D& R) const
{
  if (Count < 1) {
    R = TRect2D(0, 0, 0, 0);
    return;
  }
  const unsigned atr[] = {a, b};
  BoxOfAttributes(atr, 2, R);
}

void TContour::RangeAtIn(unsigned a, unsigned b, unsigned c, TRect2D& R) const
{
  if (Count < 1) {
    R = TRect2D(0, 0, 0, 0);
    return;
  }
  const unsigned atr[] = {a, b, c};
  BoxOfAttributes(atr, 3, R);
}

void TContour::RangeAtInValues(const unsigned* atr, int n, double& l, double& bt, double& r, double& t) const
{
  TRect2D R;
  if (!BoxOfAttributes(atr, n, R)) R = TRect2D(0, 0, 0, 0);
  l = R.LD.x;
  bt = R.LD.y;
  r = R.RU.x;
  t = R.RU.y;
}

void TContour::RangeAtIn(unsigned a, double& l, double& bt, double& r, double& t) const
{
  const unsigned atr[] = {a};
  RangeAtInValues(atr, 1, l, bt, r, t);
}

void TContour::RangeAtIn(unsigned a, unsigned b, double& l, double& bt, double& r, double& t) const
{
  const unsigned atr[] = {a, b};
  RangeAtInValues(atr, 2, l, bt, r, t);
}

void TContour::RangeAtIn(unsigned a, unsigned b, unsigned c, double& l, double& bt, double& r,
                         double& t) const
{
  const unsigned atr[] = {a, b, c};
  RangeAtInValues(atr, 3, l, bt, r, t);
}

// --- Copying and editing -------------------------------------------------------------------

TCurve2D* TContour::Duplicate() const
{
  if (Count < 1) return nullptr;
  TContour* copy = new TContour();
  Duplicate(copy);
  return copy;
}

TContour* TContour::Duplicate(TContour* dest) const
{
  if (!dest || Count < 1) return nullptr;
  for (Integer i = 0; i < Count; ++i)
    if (FArray[i])
      if (TCurve2D* c = FArray[i]->Duplicate()) dest->Add(c);
  return dest;
}

TContour* TContour::DuplicateAt(unsigned atr, TContour* dest) const
{
  if (!dest || Count < 1) return nullptr;
  for (Integer i = 0; i < Count; ++i)
    if (FArray[i] && unsigned(FArray[i]->Atr) == atr)
      if (TCurve2D* c = FArray[i]->Duplicate()) dest->Add(c);
  return dest;
}

void TContour::Mtr(double const& dx, double const& dy, double const& angle, double const& scale)
{
  TMtr2D M;
  M.Init();
  M.drMtr(dx, dy, angle, scale);
  for (Integer i = 0; i < Count; ++i)
    if (FArray[i]) FArray[i]->Mtr(M);
  Refresh();
}

void TContour::Inverse()
{
  // A closed chain runs its cycle the other way from the same first member; an open one is
  // reversed whole, so that it stays a chain from its old end to its old start.
  const bool cycle = IsClosed();
  for (Integer i = 0; i < Count; ++i)
    if (FArray[i]) FArray[i]->Inverse();
  if (!cycle)
    std::reverse(FArray, FArray + Count);
  else if (Count >= 3)
    std::reverse(FArray + 1, FArray + Count);
  // The members' places in the parameter have changed.
  Refresh();
}

// --- Drawing -------------------------------------------------------------------------------

namespace {
const TContourDrawLink* DrawLink = nullptr;
} // namespace

void SetContourDrawLink(const TContourDrawLink* L)
{
  DrawLink = L;
}

const TContourDrawLink* GetContourDrawLink()
{
  return DrawLink;
}

void TContour::drItem(TModeler3D& m, int i, int style) const
{
  if (!DrawLink || i < 0 || i >= Count || !FArray[i]) return;
  const TCurve2D* c = FArray[i];
  const int st = style == 0 ? int(c->Atr) : style;
  switch (c->IsType()) {
  case tLineSeg: {
    const TLineSeg* s = static_cast<const TLineSeg*>(c);
    DrawLink->drLine(m, s->x, s->y, s->xk, s->yk, st);
    break;
  }
  case tCircle: {
    const TCircle* k = static_cast<const TCircle*>(c);
    DrawLink->drCircle(m, k->x, k->y, k->Radius, st);
    break;
  }
  case tArc: {
    const TArc* a = static_cast<const TArc*>(c);
    DrawLink->drArc(m, a->x, a->y, a->Radius, a->A1, a->A2, st, int(a->sense));
    break;
  }
  default:
    break;
  }
}

void TContour::drItems(TModeler3D& m, int style) const
{
  for (Integer i = 0; i < Count; ++i)
    drItem(m, i, style);
}

void TContour::drItemsAt(TModeler3D& m, unsigned atr, int style) const
{
  for (Integer i = 0; i < Count; ++i)
    if (FArray[i] && unsigned(FArray[i]->Atr) == atr) drItem(m, i, style);
}

// --- Approximation and measures ------------------------------------------------------------

void TContour::Aproximate(TPolyLine& pl) const
{
  // A member is sampled once per unit of length, but never with more than this many points,
  // so that a huge member cannot keep the loop running.
  constexpr Real MaxSteps = 100000;
  const TCurve2D* last = nullptr;
  for (Integer i = 0; i < Count; ++i) {
    const TCurve2D* c = FArray[i];
    if (!c) continue;
    last = c;
    Real step = c->GetParamToUnit();
    if (!(step > paramEpsilon)) continue;
    const Real tmin = c->GetTMin(), tmax = c->GetTMax();
    if (c->IsType() == tLineSeg) {
      pl.Points.Add(c->PointTMin());
      continue;
    }
    step = std::max(step, (tmax - tmin) / MaxSteps);
    // The points array grows by a fixed step: room for the member's points at once keeps a
    // long member from copying the array over and over.
    const Real points = std::ceil((tmax - tmin) / step) + 1;
    if (points > 0 && points <= MaxSteps + 2) pl.Points.ReserveSize(pl.Points.Count + Integer(points));
    TPoint2D P;
    for (Real t = tmin; t < tmax; t += step) {
      c->PointOn(t, P);
      pl.Points.Add(P);
      if (t + step == t) break;
    }
  }
  if (last && !IsClosed()) pl.Points.Add(last->PointTMax());
}

TPolyLine* TContour::GetLS()
{
  if (Count > 0 && !LS) {
    TPolyLine all;
    Aproximate(all);
    TPolyLine* hull = new TPolyLine();
    all.ConvexHull(*hull);
    LS = hull;
  }
  return LS;
}

void TContour::DeleteLS()
{
  delete LS;
  LS = nullptr;
}

Real TContour::Len()
{
  const TPolyLine* H = GetLS();
  return H ? H->Len() : 0;
}

Real TContour::Area()
{
  const TPolyLine* H = GetLS();
  return H ? std::fabs(H->OrientationArea()) : 0;
}

void TContour::CenterXYLenCut(double& cx, double& cy, double& len)
{
  DeleteLS();
  if (const TPolyLine* H = GetLS()) {
    H->CenterXYLenCut(cx, cy, len);
    return;
  }
  cx = cy = len = 0;
}

void TContour::GetEdges(std::vector<double>& xyz, std::vector<int>& edges) const
{
  xyz.clear();
  edges.clear();
  int next = 0;
  for (Integer i = 0; i < Count; ++i) {
    TPolyLine pl;
    if (FArray[i]) FArray[i]->Aproximate(pl);
    const Integer n = pl.Points.Count;
    edges.push_back(n);
    for (Integer k = 0; k < n; ++k) {
      xyz.push_back(pl.Points[k].x);
      xyz.push_back(pl.Points[k].y);
      xyz.push_back(0.0);
      edges.push_back(next++);
    }
  }
  xyz.shrink_to_fit();
  edges.shrink_to_fit();
}

// --- Stream --------------------------------------------------------------------------------

void TContour::Store(TKmfData& S) const
{
  Integer n = 0;
  for (Integer i = 0; i < Count; ++i)
    if (FArray[i]) ++n;
  S.Write(n);
  for (Integer i = 0; i < Count; ++i) {
    const TCurve2D* c = FArray[i];
    if (!c) continue;
    S.Write(Integer(c->IsType()));
    c->Store(S);
  }
}

void TContour::Load(TKmfData& S)
{
  DeleteMembers();
  Refresh();
  // Only what goes wrong here counts: the flag may stand from an earlier reader.
  const bool failedBefore = S.ErrorReadFromFileToBufer;
  auto failed = [&] { return S.ErrorReadFromFileToBufer && !failedBefore; };
  Integer n = 0;
  S.Read(n);
  if (n < 1 || failed()) return;
  // A count that the bytes left cannot hold is a damaged stream: nothing is allocated for it.
  if (n > std::max<std::int64_t>(S.Remaining(), 0) / MinMemberBytes) {
    ReadError();
    return;
  }
  for (Integer i = 0; i < n; ++i) {
    Integer kind = 0;
    S.Read(kind);
    TCurve2D* c = failed() ? nullptr : NewMember(kind);
    if (!c) {
      ReadError();
      return;
    }
    c->Load(S);
    if (failed()) {
      // A member cut short by the end of the data is not a member.
      delete c;
      ReadError();
      return;
    }
    Add(c);
  }
}

// The operations that cut and derive contours are in ContourOps.cpp.
