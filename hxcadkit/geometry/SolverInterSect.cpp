#include "hxcadkit/geometry/SolverInterSect.h"

#include <algorithm>
#include <cmath>

#include "hxcadkit/geometry/Elements.h"
#include "hxcadkit/geometry/ElementsUtil.h"

TArrayOf<TString> TestA(20, 20);

namespace {

bool IsStraight(TElement k)
{
  return k == tLineSeg || k == tLines;
}

bool IsRound(TElement k)
{
  return k == tCircle || k == tArc;
}

// Start and direction of a segment or an infinite line: the point at t is start + t d.
void Straight(const TCurve2D* C, int kind, TPoint2D& start, TVector2D& d)
{
  if (kind == tLineSeg) {
    const TLineSeg* S = static_cast<const TLineSeg*>(C);
    start.Set(S->x, S->y);
    d = TVector2D(S->xk - S->x, S->yk - S->y);
  } else {
    const TLine* L = static_cast<const TLine*>(C);
    start.Set(L->x, L->y);
    d = TVector2D(L->x2 - L->x, L->y2 - L->y);
  }
}

bool Finite(const TPoint2D& P)
{
  return std::isfinite(P.x) && std::isfinite(P.y);
}

TString Describe(const TCrossPoint& c)
{
  auto index = [](const TCurve2D* C) { return C ? C->Index : -1; };
  TString s("i1=");
  s += TString(index(c.on1.curve));
  s += " t1=";
  s += TString(c.on1.t, 6, true, 0);
  s += " i2=";
  s += TString(index(c.on2.curve));
  s += " t2=";
  s += TString(c.on2.t, 6, true, 0);
  if (c.on2.curve) {
    s += " [";
    s += TString(c.on2.curve->GetTMin(), 6, true, 0);
    s += ", ";
    s += TString(c.on2.curve->GetTMax(), 6, true, 0);
    s += "]";
  }
  return s;
}

} // namespace

Real CalcAngle0X(const TPoint2D& P1, const TPoint2D& P2)
{
  const Real dx = P2.x - P1.x, dy = P2.y - P1.y;
  if (std::fabs(dx) < 1e-30 && std::fabs(dy) < 1e-30) return 0;
  const Real a = std::atan2(dy, dx);
  if (std::fabs(a) < 1e-16) return 0;
  return a < 0 ? a + TMathDef::C_2PI : a;
}

// --- TCrossPoint ---------------------------------------------------------------------------

Boolean TCrossPoint::IsLink(Real e) const
{
  if (!on1.curve || !on2.curve) return false;
  auto near = [e](Real a, Real b) { return std::fabs(a - b) <= e; };
  return (near(on1.t, on1.curve->GetTMax()) && near(on2.t, on2.curve->GetTMin())) ||
         (near(on1.t, on1.curve->GetTMin()) && near(on2.t, on2.curve->GetTMax()));
}

// --- TInterSector --------------------------------------------------------------------------

TInterSector::TInterSector() : ACrossPoint(64, 64), Eps(1e-8, 1e-8) {}

TInterSector& TInterSector::Instance2()
{
  static TInterSector shared;
  return shared;
}

Real TInterSector::Tolerance() const
{
  return std::max(std::fabs(Eps.x), std::fabs(Eps.y));
}

void TInterSector::Append(const TPoint2D& P, Real t1, const TCurve2D* C1, Real t2, const TCurve2D* C2)
{
  TCrossPoint& r = ACrossPoint.Add();
  r.form = TCrossPoint::ipt_Simple;
  r.p = P;
  r.on1 = TPointOnCurve(t1, C1);
  r.on2 = TPointOnCurve(t2, C2);
}

Integer TInterSector::InterSection(const TCurve2D* c1, const TCurve2D* c2)
{
  if (!c1 || !c2) return 0;
  const Integer before = ACrossPoint.Count;
  const TElement k1 = c1->IsType(), k2 = c2->IsType();
  if (k1 == tPoint) {
    TPoint2D P;
    c1->_PointOn(0, P);
    if (k2 == tPoint) {
      TPoint2D Q;
      c2->_PointOn(0, Q);
      if (std::fabs(P.x - Q.x) <= paramNear && std::fabs(P.y - Q.y) <= paramNear) Append(P, 0, c1, 0, c2);
    } else if (c2->DistanceTo(P) < 0.001) {
      Real t = c2->GetTMin();
      c2->NearPointProjection(P, TPoint2D(0.001, 0.001), t, false, nullptr);
      Append(P, 0, c1, t, c2);
    }
  } else if (IsStraight(k1) && IsStraight(k2)) {
    InterSectLineLine(c1, c2);
  } else if (IsStraight(k1) && IsRound(k2)) {
    LineCircle(c1, k1, c2, k2);
  } else if (IsRound(k1) && IsStraight(k2)) {
    LineCircle(c2, k2, c1, k1);
  } else if (IsRound(k1) && IsRound(k2)) {
    InterSectCircleCircle(c1, c2);
  }
  return ACrossPoint.Count - before;
}

Integer TInterSector::InterSectLineLine(const TCurve2D* C1, const TCurve2D* C2)
{
  if (!C1 || !C2 || !IsStraight(C1->IsType()) || !IsStraight(C2->IsType())) return 0;
  TPoint2D s1, s2;
  TVector2D d1, d2;
  Straight(C1, C1->IsType(), s1, d1);
  Straight(C2, C2->IsType(), s2, d2);
  const Real cross = d1.y * d2.x - d2.y * d1.x;
  // Parallel or collinear (overlapping collinear segments included): no crossing.
  if (!(std::fabs(cross) > d2.Len() * d1.Len() * paramPrecision)) return 0;
  const Real wx = s2.x - s1.x, wy = s2.y - s1.y;
  const Real t1 = (d2.x * wy - d2.y * wx) / cross;
  const Real t2 = (d1.x * wy - d1.y * wx) / cross;
  if (!std::isfinite(t1) || !std::isfinite(t2)) return 0;
  if (!C1->InRegion(t1, paramRegion) || !C2->InRegion(t2, paramRegion)) return 0;
  TPoint2D P;
  C1->_PointOn(t1, P);
  if (!Finite(P)) return 0;
  Append(P, t1, C1, t2, C2);
  return 1;
}

Integer TInterSector::InterSectLineCircle(const TCurve2D* C1, const TCurve2D* C2)
{
  if (!C1 || !C2 || !IsStraight(C1->IsType()) || !IsRound(C2->IsType())) return 0;
  return LineCircle(C1, C1->IsType(), C2, C2->IsType());
}

// The kinds are checked by the caller: this is the inner loop of the contour queries, where
// every virtual call counts.
Integer TInterSector::LineCircle(const TCurve2D* C1, int k1, const TCurve2D* C2, int k2)
{
  const TCircle* C = static_cast<const TCircle*>(C2);
  const Real e = Tolerance();
  const Real R = C->Radius;
  const TPoint2D Ce(C->x, C->y);
  // The foot on the unbounded line, so that every candidate lies on the circle whatever part
  // of the line the curve keeps; the range test of Validate then decides. A straight curve's
  // parameter is affine along start + t d, so the foot and the candidates' parameters follow
  // from d directly, as the projection would find them.
  const bool segment = k1 == tLineSeg;
  TPoint2D S;
  TVector2D d;
  Straight(C1, k1, S, d);
  const Real dd = d.x * d.x + d.y * d.y;
  // A segment reports its own direction, a line its unit direction (the raw one when shorter
  // than 2e-6): either must not vanish.
  if (!(std::fabs(R) >= e) || !(dd >= e * e || (!segment && dd > paramPrecision * paramPrecision))) return 0;
  const Real t0 = ((Ce.x - S.x) * d.x + (Ce.y - S.y) * d.y) / dd;
  const TPoint2D F(S.x + t0 * d.x, S.y + t0 * d.y);
  // Squares first: a line that passes the circle by, or clearly cuts it, needs no distance,
  // only the one that may touch it.
  const Real fx = F.x - Ce.x, fy = F.y - Ce.y;
  const Real h2 = fx * fx + fy * fy;
  const bool finite = std::isfinite(h2);
  const Real outer = R + paramPrecision, inner = R - paramPrecision;
  if (!(h2 <= outer * outer) && finite) return 0;
  if (!finite || inner <= 0 || h2 >= inner * inner) {
    const Real h = ElementsUtil::Length(fx, fy);
    if (std::fabs(h - R) <= paramPrecision) {
      Real a = TVector2D(fx, fy).AngleInRadian();
      C2->AngleToParam(a);
      return Validate(F, C1, t0, C2, a);
    }
    if (!(R > h)) return 0;
  }
  // Half the chord, in the line's parameter: the crossings are F -+ dt d.
  const Real dt = std::sqrt((R * R - h2) / dd);
  Integer n = 0;
  // The circle's parameter of an angle, and its range test, without a virtual call each.
  const TArc* arc = k2 == tArc ? static_cast<const TArc*>(C2) : nullptr;
  const Real span = arc ? std::fabs(arc->A2 - arc->A1) : 0;
  // An angle in [0, 2 pi) is at most one turn from the window [m - pi, m + pi) about the
  // arc's middle m, for angles of an arc in [0, 2 pi]; others take the general reduction.
  const Real m = arc ? (arc->A1 + arc->A2) / 2 : 0;
  const bool plain = arc && m >= 0 && m <= TMathDef::C_2PI;
  for (const Real k : {dt, -dt}) {
    const Real t = t0 + k;
    // Off the segment the angle is not needed (Validate would refuse it anyway).
    if (segment && !(-paramRegion < t && t < 1 + paramRegion)) continue;
    const TPoint2D P(F.x + k * d.x, F.y + k * d.y);
    if (!Finite(P)) continue;
    Real a = TVector2D(P.x - Ce.x, P.y - Ce.y).AngleInRadian();
    if (plain) {
      if (a < m - TMathDef::C_PI)
        a += TMathDef::C_2PI;
      else if (a >= m + TMathDef::C_PI)
        a -= TMathDef::C_2PI;
      a = arc->A1 < arc->A2 ? a - arc->A1 : arc->A1 - a;
    } else if (arc) {
      arc->TArc::AngleToParam(a);
    }
    if (!arc || (-paramRegion < a && a < span + paramRegion)) {
      Append(P, t, C1, a, C2);
      ++n;
    }
  }
  return n;
}

Integer TInterSector::InterSectCircleCircle(const TCurve2D* c1, const TCurve2D* c2)
{
  if (!c1 || !c2 || !IsRound(c1->IsType()) || !IsRound(c2->IsType())) return 0;
  const TCircle* A = static_cast<const TCircle*>(c1);
  const TCircle* B = static_cast<const TCircle*>(c2);
  const Real e = Tolerance();
  const Real R1 = A->Radius, R2 = B->Radius;
  if (!(std::fabs(R1) >= e) || !(std::fabs(R2) >= e)) return 0;
  const TPoint2D Ce1(A->x, A->y), Ce2(B->x, B->y);
  const TVector2D d(Ce2.x - Ce1.x, Ce2.y - Ce1.y);
  if (std::fabs(d.x) <= Eps.x && std::fabs(d.y) <= Eps.y) return e * (R1 + R2) > std::fabs(R1 - R2) ? -2 : -1;
  const Real dist = d.Len();
  const Real tol = std::min((R1 + R2) * 0.5 * paramRegion, paramPrecision);
  const bool outside = std::fabs(dist - (R1 + R2)) < tol;
  const bool inside = std::fabs(dist - std::fabs(R1 - R2)) < tol;
  if (outside || inside) {
    TVector2D u = d;
    if (dist > paramPrecision) u = TVector2D(d.x / dist, d.y / dist);
    // Touching from inside, the smaller circle meets the larger behind its own centre when
    // it is the first one.
    const Real k = inside && !outside && R1 < R2 ? -R1 : R1;
    const TPoint2D P(Ce1.x + k * u.x, Ce1.y + k * u.y);
    Real a1 = CalcAngle0X(Ce1, P), a2 = CalcAngle0X(Ce2, P);
    c1->AngleToParam(a1);
    c2->AngleToParam(a2);
    return Validate(P, c1, a1, c2, a2);
  }
  // Relative to Ce1 the crossings lie on the line d.x x + d.y y = k.
  const Real k = (R1 * R1 - R2 * R2 + dist * dist) / 2;
  const bool solveY = std::fabs(d.x) > std::fabs(d.y);
  const Real p = solveY ? d.x : d.y; // the larger component: eliminated
  const Real q = solveY ? d.y : d.x;
  const Real qa = q * q / (p * p) + 1;
  const Real qb = -2 * k * q / (p * p);
  const Real qc = k * k / (p * p) - R1 * R1;
  Real r1 = 0, r2 = 0;
  const int n = SquareEquation(qa, qb, qc, r1, r2, std::min(e, paramEpsilon));
  if (n < 1) return 0;
  Real roots[2];
  int count = 0;
  if (n == 2) roots[count++] = r2;
  roots[count++] = r1;
  Integer found = 0;
  for (int i = 0; i < count; ++i) {
    const Real v = roots[i];
    const Real w = (k - q * v) / p;
    const TPoint2D P = solveY ? TPoint2D(Ce1.x + w, Ce1.y + v) : TPoint2D(Ce1.x + v, Ce1.y + w);
    Real a1 = CalcAngle0X(Ce1, P), a2 = CalcAngle0X(Ce2, P);
    c1->AngleToParam(a1);
    c2->AngleToParam(a2);
    found += Validate(P, c1, a1, c2, a2);
  }
  return found;
}

Integer TInterSector::Validate(const TPoint2D& P, const TCurve2D* C1, const Real& t1, const TCurve2D* C2,
                               const Real& t2)
{
  if (!C1 || !C2) return 0;
  // Curves of no finite size give no point to record.
  if (!Finite(P)) return 0;
  if (!C1->InRegion(t1, paramRegion) || !C2->InRegion(t2, paramRegion)) return 0;
  Append(P, t1, C1, t2, C2);
  return 1;
}

void TInterSector::DeleteLinkCrossPoint(const TCurve2D*)
{
  TestA.Clear();
  for (Integer i = ACrossPoint.Count - 1; i >= 0; --i) {
    if (ACrossPoint[i].IsLink(paramNear)) {
      ACrossPoint.Delete(i);
      continue;
    }
    TestA.Add(Describe(ACrossPoint[i]));
  }
}
