// The operations that cut a contour or derive a new curve from it: trimming, deleting a part,
// chaining the members, the offset with its corner pieces, the signed area, the Gauss-Legendre
// table and the text dump.
#include <algorithm>
#include <cmath>
#include <vector>

#include "hxcadkit/core/DString.h"
#include "hxcadkit/core/TDebug.h"
#include "hxcadkit/geometry/Contour.h"

namespace {

constexpr Real ParamEps = 1e-8;
constexpr Real CornerLinkEps = 0.0001;

bool NearLink(const TPoint2D& a, const TPoint2D& b, Real eps)
{
  return std::fabs(a.x - b.x) <= eps && std::fabs(a.y - b.y) <= eps;
}

// Direction angle in [0, 2 pi); 0 for a vanishing tangent.
Real TangentAngle(const TVector2D& T)
{
  if (std::fabs(T.x) < 1e-30 && std::fabs(T.y) < 1e-30) return 0;
  Real a = std::atan2(T.y, T.x);
  if (std::fabs(a) < 1e-16) a = 0;
  if (a < 0) a += TMathDef::C_2PI;
  return a;
}

// The members meet with the same tangent, so their offsets meet as well.
bool TangentJoint(const TCurve2D* c1, const TCurve2D* c2)
{
  TVector2D T1, T2;
  c1->TangentOn(c1->GetTMax(), T1);
  c2->TangentOn(c2->GetTMin(), T2);
  return T1.Relative(T2) == tl_On && T1.x * T2.x + T1.y * T2.y > 0;
}

// Legendre polynomial P_n(x) and its derivative.
void Legendre(int n, double x, double& p, double& dp)
{
  double p0 = 1, p1 = x;
  if (n == 0) {
    p = 1;
    dp = 0;
    return;
  }
  for (int k = 2; k <= n; ++k) {
    const double p2 = ((2 * k - 1) * x * p1 - (k - 1) * p0) / k;
    p0 = p1;
    p1 = p2;
  }
  p = p1;
  dp = n * (x * p1 - p0) / (x * x - 1);
}

bool IsDebugOn()
{
  const TDebug& D = TDebug::Instance();
  return D.Data && D.Data->Level > 0;
}

} // namespace

TConvexHoleData& TConvexHoleData::operator=(const TConvexHoleData& o)
{
  Square = o.Square;
  Pxc = o.Pxc;
  Pyc = o.Pyc;
  Pr = o.Pr;
  Px = o.Px;
  Py = o.Py;
  Pax = o.Pax;
  Pay = o.Pay;
  Pj = o.Pj;
  Px0 = o.Px0;
  Py0 = o.Py0;
  Px1 = o.Px1;
  Py1 = o.Py1;
  return *this;
}

// --- Trimming ------------------------------------------------------------------------------

void TContour::Trimm(double t1, double t2)
{
  if (Count < 1) return;
  const bool seam = IsClosed() && (t1 > t2 || std::fabs(t2 - t1) < ParamEps);
  Real l1 = 0, l2 = 0;
  Integer i1 = FindSegment(t1, l1);
  const Integer i2 = FindSegment(t2, l2);
  if (seam) {
    if (i1 == i2 && Count >= 2 && FArray[i1]) {
      // Both ends in one member: it is needed twice, once for each end.
      Insert(i1, FArray[i1]->Duplicate());
      ++i1;
    }
    for (Integer k = i1 - 1; k > i2; --k)
      Delete(k);
    // Rotate so that the member holding t1 stands first and the one holding t2 last.
    for (Integer k = 0; k <= i2 && Count > 0; ++k) {
      TCurve2D* first = Detach(0);
      Add(first);
    }
  } else {
    const Integer after = Count - 1 - i2;
    for (Integer k = 0; k < i1 && Count > 0; ++k)
      Delete(0);
    for (Integer k = 0; k < after && Count > 0; ++k)
      Delete(Count - 1);
  }
  if (Count > 0 && FArray[0]) {
    TCurve2D* c = FArray[0];
    Real a = l1, e = Count == 1 ? l2 : c->GetTMax();
    TCurve2D* piece = c->Trimmed(a, e, 1);
    delete c;
    FArray[0] = piece;
    if (!piece) Detach(0);
  }
  if (Count >= 2 && FArray[Count - 1]) {
    TCurve2D* c = FArray[Count - 1];
    Real a = c->GetTMin(), e = l2;
    TCurve2D* piece = c->Trimmed(a, e, 1);
    delete c;
    FArray[Count - 1] = piece;
    if (!piece) Detach(Count - 1);
  }
  closed = IsClosed2(2e-5);
  DeleteLS();
  // The members have changed: a parameter length kept from before would map parameters past
  // the end of what is left.
  paramLength = -1;
  metricLength = -1;
  Gabaryt.SetEmpty();
}

TCurve2D::TState TContour::TrimmPart(Real t1, Real t2, TCurve2D*& part2)
{
  part2 = nullptr;
  CorrectParameter(t1);
  CorrectParameter(t2);
  if (!closed) {
    if (std::fabs(t1 - t2) < ParamEps) return dp_Degenerated;
    if (t1 > t2) std::swap(t1, t2);
    if (std::fabs(t1 - GetTMin()) < ParamEps && std::fabs(t2 - GetTMax()) < ParamEps) return dp_NoChanged;
  }
  Trimm(t1, t2);
  return TState(1 + int(IsDegenerate()));
}

TCurve2D* TContour::Trimmed(Real& t1, Real& t2, int s) const
{
  const bool isClosed = IsClosed();
  if (!isClosed && std::fabs(t2 - t1) < ParamEps) return nullptr;
  TContour* copy = static_cast<TContour*>(Duplicate());
  if (!copy) return nullptr;
  if (s == -1) std::swap(t1, t2);
  const Real lo = std::min(t1, t2), hi = std::max(t1, t2);
  if (isClosed || (lo >= GetTMin() - ParamEps && hi <= GetTMax() + ParamEps)) {
    TCurve2D* rest = nullptr;
    const TState st = copy->TrimmPart(t1, t2, rest);
    delete rest;
    if (st == dp_Degenerated) {
      delete copy;
      return nullptr;
    }
  } else {
    if (t1 > t2) std::swap(t1, t2);
    copy->Trimm(t1, t2);
  }
  if (copy->Count < 1) {
    delete copy;
    return nullptr;
  }
  if (s == -1) copy->Inverse();
  if (copy->Count == 1) {
    TCurve2D* only = copy->Detach(0);
    delete copy;
    return only;
  }
  return copy;
}

// --- Deleting a part -----------------------------------------------------------------------

TCurve2D::TState TContour::DeletePart(Real t1, Real t2, TCurve2D*& part2)
{
  part2 = nullptr;
  CorrectParameter(t1);
  CorrectParameter(t2);
  if (std::fabs(t1 - t2) <= ParamEps) return dp_NoChanged;
  if (std::fabs(t1 - GetTMin()) <= ParamEps && std::fabs(t2 - GetTMax()) <= ParamEps) {
    DeleteMembers();
    Refresh();
    return dp_Degenerated;
  }
  Real l1 = 0, l2 = 0;
  const Integer i1 = FindSegment(t1, l1);
  const Integer i2 = FindSegment(t2, l2);
  if (i1 < 0 || i2 < 0) return dp_NoChanged;
  // A rest piece handed over earlier is replaced by a later one: the earlier one is freed.
  auto takeRest = [&part2](TCurve2D* r) {
    if (!r) return;
    delete part2;
    part2 = r;
  };
  if (i1 == i2 && t1 > t2) {
    // Over the end of the contour with both ends in one member: only that member's middle stays.
    // (Cutting the tail first would give the member's rest a parameter of its own, where t2 no
    // longer stands.)
    TCurve2D* c = FArray[i1];
    Real a = l2, b = l1;
    TCurve2D* piece = c ? c->Trimmed(a, b, 1) : nullptr;
    DeleteMembers();
    if (piece) Add(piece);
  } else if (i2 < i1) {
    // Over the end of the contour: its tail and its head.
    TCurve2D* r = nullptr;
    DeletePart(t1, GetTMax(), r);
    takeRest(r);
    r = nullptr;
    DeletePart(GetTMin(), t2, r);
    takeRest(r);
  } else if (i1 == i2) {
    // The member's own cut; the piece after the gap follows the member.
    if (TCurve2D* c = FArray[i1]) {
      TCurve2D* r = nullptr;
      const TState st = c->DeletePart(l1, l2, r);
      if (c->IsType() == tCircle) {
        // A circle stays whole and hands what is left over as an arc: that arc replaces it.
        delete c;
        FArray[i1] = r;
        if (!r) Detach(i1);
      } else if (st == dp_Degenerated) {
        delete r;
        Delete(i1);
      } else if (r) {
        Insert(i1 + 1, r);
      }
    }
  } else {
    // Member i2 first: a member that is removed must not shift i1's place. Of the rest
    // pieces the members hand over, member i2's wins.
    TCurve2D* r1 = nullptr;
    TCurve2D* r2 = nullptr;
    if (TCurve2D* c = FArray[i2]) {
      if (c->TrimmPart(l2, c->GetTMax(), r2) == dp_Degenerated) Delete(i2);
    }
    for (Integer k = i2 - 1; k > i1; --k)
      Delete(k);
    if (TCurve2D* c = FArray[i1]) {
      // Nothing of the member is left before t1: the whole member goes.
      if (c->TrimmPart(c->GetTMin(), l1, r1) == dp_Degenerated) Delete(i1);
    }
    takeRest(r1);
    takeRest(r2);
  }
  DeleteLS();
  Refresh();
  Calculate();
  return TState(1 + int(IsDegenerate()));
}

// --- Chaining ------------------------------------------------------------------------------

Boolean TContour::MakeDirect(double tol, bool keep)
{
  if (Count < 1) return false;
  if (Count == 1) return FArray[0] && FArray[0]->IsType() == tCircle;
  for (Integer k = 0; k + 1 < Count; ++k) {
    TCurve2D* c = FArray[k];
    if (!c) return false;
    if (k == 0 && !keep) c->Inverse();
    TPoint2D P;
    c->PointOn(c->GetTMax(), P);
    Integer found = -1;
    for (Integer j = k + 1; j < Count && found < 0; ++j) {
      TCurve2D* m = FArray[j];
      if (!m) continue;
      TPoint2D S, E;
      m->PointOn(m->GetTMin(), S);
      if (NearLink(S, P, tol)) {
        found = j;
        break;
      }
      m->PointOn(m->GetTMax(), E);
      if (NearLink(E, P, tol)) {
        m->Inverse();
        found = j;
      }
    }
    if (found < 0) {
      Refresh();
      return false;
    }
    std::swap(FArray[k + 1], FArray[found]);
  }
  Refresh();
  return true;
}

// --- Offset --------------------------------------------------------------------------------

TCurve2D* TContour::FilletSegment(TCurve2D* c1, TCurve2D* c2, double const& d, TCurve2D* o1, TCurve2D* o2)
{
  if (!c1 || !c2) return nullptr;
  const TPoint2D P = c1->PointTMax();
  TVector2D T1, T2;
  c1->TangentOn(c1->GetTMax(), T1);
  c2->TangentOn(c2->GetTMin(), T2);
  const Real a1 = TangentAngle(T1), a2 = TangentAngle(T2);
  int s = 0;
  if (std::fabs(T1.x + T2.x) > 1e-5 || std::fabs(T1.y + T2.y) > 1e-5) {
    s = int(T1.Relative(T2));
    if (s == 0) return new TLineSeg(P, c2->PointTMin());
  } else {
    // Turning right back: the side follows the curvatures on both sides of the joint.
    s = c2->Curvature(c2->GetTMin()) < -c1->Curvature(c1->GetTMax()) ? 1 : -1;
  }
  auto makeArc = [&](int side) {
    TArc* a = new TArc();
    a->x = P.x;
    a->y = P.y;
    a->Radius = std::fabs(d);
    const TArc::TDirection dir = d == 0 || side < 0 ? TArc::ByClockWise : TArc::BackClockWise;
    a->InitByPositionAngles(a1 - side * TMathDef::C_PI / 2, a2 - side * TMathDef::C_PI / 2, dir);
    a->Atr = 1;
    return a;
  };
  TArc* arc = makeArc(s);
  const int other = s == 1 ? -1 : 1;
  if (!o1 && !o2) return arc;
  if (!o1) {
    if (NearLink(o2->PointTMin(), arc->PointTMax(), CornerLinkEps)) return arc;
    delete arc;
    return makeArc(other);
  }
  bool m = NearLink(o1->PointTMax(), arc->PointTMin(), CornerLinkEps);
  if (o2 && !m) {
    delete arc;
    arc = makeArc(other);
    m = NearLink(o1->PointTMax(), arc->PointTMin(), CornerLinkEps);
  }
  if (!o2 || m) return arc;
  delete arc;
  return new TLineSeg(o1->PointTMax(), o2->PointTMin());
}

TCurve2D* TContour::Offset(const Real& d) const
{
  TContour* result = new TContour();
  TContour work;
  Duplicate(&work);
  work.MakeDirect(2e-5, true);
  work.closed = true;
  const Real a = work.Area2();
  const bool debug = IsDebugOn();
  if (debug) TDebug::Instance().Output(TString(a <= 0 ? "ByClockWise" : "BackClockWise"));
  // The offset always runs clockwise, so that d > 0 goes outwards.
  if (a > 0) work.Inverse();
  if (debug) {
    TDebug::Instance().Output(TString(int(work.Count)));
    for (Integer i = 0; i < work.Count; ++i)
      if (work[i]) TDebug::Instance().Output(TString(*work[i]));
  }
  // Every member's offset first, so that each corner piece is checked against the offsets on
  // both of its sides and comes out on the side the offset went to.
  const Integer n = work.Count;
  const bool cycle = work.IsClosed();
  std::vector<TCurve2D*> offs(std::size_t(n), nullptr);
  for (Integer i = 0; i < n; ++i) {
    TCurve2D* m = work[i];
    if (!m) continue;
    TCurve2D* off = m->Offset(d);
    if (!off) off = TLineSeg(m->PointTMin(), m->PointTMax()).Offset(d);
    offs[std::size_t(i)] = off;
  }
  for (Integer i = 0; i < n; ++i) {
    TCurve2D* m = work[i];
    if (!m) continue;
    // An open chain has no corner after its last member.
    const bool joint = n >= 2 && (cycle || i + 1 < n);
    TCurve2D* next = joint ? work[(i + 1) % n] : nullptr;
    TCurve2D* off = offs[std::size_t(i)];
    TCurve2D* corner = nullptr;
    if (next && !TangentJoint(m, next))
      corner = FilletSegment(m, next, d, off, offs[std::size_t((i + 1) % n)]);
    if (off) {
      off->Name2 = i;
      off->Atr = 1;
      result->Add(off);
    }
    if (corner) {
      corner->Name2 = i;
      corner->Atr = 2;
      result->Add(corner);
    }
  }
  if (result->Count > 0) result->Calculate();
  return result;
}

// --- Area and orientation ------------------------------------------------------------------

Real TContour::Area2() const
{
  if (Count < 1) return 0;
  static double nodes[7], weights[7];
  static const bool filled = FillIntegrationValues(nodes, weights, 7);
  (void)filled;
  // A curve whose steps never reach its end must not keep the loop running.
  constexpr int MaxSteps = 1000000;
  TRect2D R;
  Rect(R);
  const TPoint2D M((R.LD.x + R.RU.x) / 2, (R.LD.y + R.RU.y) / 2);
  Real sum = 0;
  for (Integer i = 0; i < Count; ++i) {
    const TCurve2D* c = FArray[i];
    if (!c) continue;
    switch (c->IsType()) {
    case tPoint:
    case tText:
      break;
    case tLineSeg: {
      const TLineSeg* s = static_cast<const TLineSeg*>(c);
      sum += ((s->yk - M.y) * (s->x - M.x) - (s->xk - M.x) * (s->y - M.y)) / 2;
      break;
    }
    case tCircle:
      return sum +
             TMathDef::C_PI * static_cast<const TCircle*>(c)->Radius * static_cast<const TCircle*>(c)->Radius;
    default: {
      const Real tmin = c->GetTMin(), tmax = c->GetTMax();
      if (!(tmax > tmin)) break;
      Real part = 0, t = tmin;
      for (int step = 0; step < MaxSteps; ++step) {
        const Real h = c->DeviationStep(t, 0.25132741228718347);
        const Real tn = t + h;
        const bool last = !(tn <= tmax - paramRegion) || !(h > 0);
        const Real te = last ? tmax : tn;
        const Real half = (te - t) / 2, mid = (te + t) / 2;
        for (int k = 0; k < 7; ++k) {
          const Real tau = mid + half * nodes[k];
          TPoint2D p;
          TVector2D D;
          c->PointOn(tau, p);
          c->FirstDer(tau, D);
          part += ((p.x - M.x) * D.y - (p.y - M.y) * D.x) * weights[k] * half;
        }
        if (last) break;
        t = tn;
      }
      sum += part / 2;
      break;
    }
    }
  }
  return sum;
}

Integer TContour::GetSense() const
{
  const Real a = Area2();
  return a > 0 ? 1 : a < 0 ? -1 : 0;
}

Boolean TContour::FillIntegrationValues(double* nodes, double* weights, int n)
{
  if (!nodes || !weights || n < 1) return false;
  if (n > 8) {
    std::fill(nodes, nodes + n, 0.0);
    std::fill(weights, weights + n, 0.0);
    return false;
  }
  // Newton's method on the Legendre polynomial from the usual first guesses; the roots come
  // in pairs about 0, so the lower half is found and mirrored.
  for (int i = 0; i < (n + 1) / 2; ++i) {
    double x = std::cos(TMathDef::C_PI * (i + 0.75) / (n + 0.5));
    double p = 0, dp = 0;
    for (int it = 0; it < 100; ++it) {
      Legendre(n, x, p, dp);
      const double dx = p / dp;
      x -= dx;
      if (std::fabs(dx) < 1e-16) break;
    }
    Legendre(n, x, p, dp);
    const double w = 2 / ((1 - x * x) * dp * dp);
    // x is the i-th largest root.
    const bool middle = 2 * i + 1 == n;
    nodes[n - 1 - i] = middle ? 0.0 : x;
    nodes[i] = middle ? 0.0 : -x;
    weights[i] = weights[n - 1 - i] = w;
  }
  return true;
}

// --- Text ----------------------------------------------------------------------------------

void TContour::toText(TArrayOf<TString>& lines) const
{
  lines.SetSize(Count);
  lines.Count = Count;
  auto num = [](double v) { return TString(v, 2, true, 7); };
  for (Integer i = 0; i < Count; ++i) {
    const TCurve2D* c = FArray[i];
    if (!c) continue;
    switch (c->IsType()) {
    case tLineSeg: {
      const TLineSeg* s = static_cast<const TLineSeg*>(c);
      lines[i] = TString("Line( ") + num(s->x) + " , " + num(s->y) + " , " + num(s->xk) + " , " + num(s->yk);
      break;
    }
    case tArc: {
      const TArc* a = static_cast<const TArc*>(c);
      lines[i] = TString("Arc( ") + num(a->x) + " , " + num(a->y) + " , " + num(a->Radius) + " , " +
                 num(a->A1 * TMathDef::RADDEG) + " , " + num(a->A2 * TMathDef::RADDEG) + " , " +
                 TString(int(a->sense), 2);
      break;
    }
    case tCircle: {
      const TCircle* k = static_cast<const TCircle*>(c);
      lines[i] = TString("Circle( ") + num(k->x) + " , " + num(k->y) + " , " + num(k->Radius);
      break;
    }
    default:
      break;
    }
  }
}
