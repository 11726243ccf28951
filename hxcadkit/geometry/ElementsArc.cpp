// Circles and arcs.
#include <algorithm>
#include <cmath>
#include <utility>

#include "hxcadkit/core/KmfData.h"
#include "hxcadkit/geometry/Elements.h"
#include "hxcadkit/geometry/ElementsUtil.h"
#include "hxcadkit/geometry/SolverInterSect.h"

using namespace ElementsUtil;

namespace {

// An arc on the circle c from angle a1 to a2 in direction d, carrying c's attribute.
TArc* ArcOf(const TCircle& c, Real a1, Real a2, TArc::TDirection d)
{
  TArc* r = new TArc();
  r->x = c.x;
  r->y = c.y;
  r->Radius = std::fabs(c.Radius);
  r->Atr = c.Atr;
  r->InitByPositionAngles(a1, a2, d);
  return r;
}

TArc::TDirection DirectionOf(int s)
{
  return s > 0 ? TArc::BackClockWise : s < 0 ? TArc::ByClockWise : TArc::Degenerate;
}

// Snaps an angle within 1e-8 of 0 or of a turn (and, with negative, of minus a turn).
Real SnapAngle(Real a, bool negative)
{
  if (std::fabs(a) <= 1e-8) return 0;
  if (std::fabs(a - TMathDef::C_2PI) <= 1e-8) return TMathDef::C_2PI;
  if (negative && std::fabs(a + TMathDef::C_2PI) <= 1e-8) return -TMathDef::C_2PI;
  return a;
}

// An angle below 0 or at a turn and above brought into [0, 2 pi).
Real WrapAngle(Real a)
{
  if (a < 0 || a >= TMathDef::C_2PI) a = FloorReduce(a, 0, TMathDef::C_2PI);
  return a;
}

} // namespace

// --- TCircle -------------------------------------------------------------------------------

TCircle::TCircle(Real ix, Real iy, Real iRadius, Integer iAtr) : TBasePoint(ix, iy, iAtr), Radius(iRadius) {}

TCircle::TCircle(const TCircle& c) : TBasePoint(c), Radius(c.Radius) {}

TCircle& TCircle::operator=(const TCircle& c)
{
  TBasePoint::operator=(c);
  Radius = c.Radius;
  ct = 0;
  cosT = 1;
  sinT = 0;
  return *this;
}

TCircle::operator TString() const
{
  TString s("Circle (");
  s += Num(x, 3);
  s += ",";
  s += Num(y, 3);
  s += "  R=";
  s += Num(Radius, 2);
  s += ")";
  return s;
}

Boolean TCircle::InRegion(Real, Real) const
{
  return true;
}

Real TCircle::GetMetricLength() const
{
  return TMathDef::C_2PI * Radius;
}

void TCircle::ParamToAngle(Real&) const {}
void TCircle::AngleToParam(Real&) const {}

void TCircle::CacheAngle(Real a) const
{
  if (a == ct) return;
  ct = a;
  cosT = std::cos(a);
  sinT = std::sin(a);
}

void TCircle::PointOn(Real t, TPoint2D& P) const
{
  _PointOn(t, P);
}

void TCircle::FirstDer(Real t, TVector2D& V) const
{
  _FirstDer(t, V);
}

void TCircle::SecondDer(Real t, TVector2D& V) const
{
  _SecondDer(t, V);
}

void TCircle::ThirdDer(Real t, TVector2D& V) const
{
  _ThirdDer(t, V);
}

void TCircle::_PointOn(Real t, TPoint2D& P) const
{
  CacheAngle(t);
  P.Set(x + Radius * cosT, y + Radius * sinT);
}

void TCircle::_FirstDer(Real t, TVector2D& V) const
{
  CacheAngle(t);
  V = TVector2D(-Radius * sinT, Radius * cosT);
}

void TCircle::_SecondDer(Real t, TVector2D& V) const
{
  CacheAngle(t);
  V = TVector2D(-Radius * cosT, -Radius * sinT);
}

void TCircle::_ThirdDer(Real t, TVector2D& V) const
{
  CacheAngle(t);
  V = TVector2D(Radius * sinT, -Radius * cosT);
}

Boolean TCircle::Project(const TPoint2D& P, TPoint2D Eps, Real& t, Boolean ext, TRegion1D* R,
                         bool byParameter) const
{
  const Real tol = std::max(std::fabs(Eps.x), std::fabs(Eps.y));
  Real a = 0;
  if (std::fabs(P.x - x) > 1e-10 || std::fabs(P.y - y) > 1e-10) {
    a = std::atan2(P.y - y, P.x - x);
    if (std::fabs(a) < 1e-8)
      a = 0;
    else if (a < 0)
      a += TMathDef::C_2PI;
  }
  Real u = a;
  AngleToParam(u);
  const TRegion1D W = Window(R);
  const Boolean answer =
      byParameter ? W.min - tol < u && u < W.max + tol : std::hypot(P.x - x, P.y - y) > 1e-9;
  if (!ext) SnapIntoWindow(u, W, tol, IsClosed() ? TMathDef::C_2PI : 0);
  t = u;
  return answer;
}

Boolean TCircle::NearPointProjection(const TPoint2D& P, TPoint2D Eps, Real& t, Boolean ext,
                                     TRegion1D* R) const
{
  return Project(P, Eps, t, ext, R, false);
}

TLocation TCircle::PointRelative(const TPoint2D& P, Real eps) const
{
  // hypot would be exact to the last bit, and ten times slower: this sits in the inner loop of
  // the enclosing-circle searches.
  const Real d = Length(P.x - x, P.y - y);
  if (std::fabs(d - Radius) < eps) return tl_On;
  return d < Radius ? tl_Inside : tl_OutSide;
}

void TCircle::Store(TKmfData& S) const
{
  TBasePoint::Store(S);
  S.Write(Radius);
}

void TCircle::Load(TKmfData& S)
{
  TBasePoint::Load(S);
  S.Read(Radius);
  ct = 0;
  cosT = 1;
  sinT = 0;
  Refresh();
}

TCircle* TCircle::Duplicate() const
{
  return new TCircle(*this);
}

TCurve2D::TState TCircle::TrimmPart(Real t1, Real t2, TCurve2D*& part2)
{
  part2 = nullptr;
  CorrectParameter(t1);
  CorrectParameter(t2);
  if (std::fabs(t1 - t2) < paramEpsilon) return dp_Degenerated;
  TArc* a = ArcOf(*this, t1, t2, TArc::BackClockWise);
  a->Refresh();
  part2 = a;
  return dp_NoChanged;
}

TCurve2D::TState TCircle::DeletePart(Real t1, Real t2, TCurve2D*& part2)
{
  part2 = nullptr;
  CorrectParameter(t1);
  CorrectParameter(t2);
  if (std::fabs(t1 - t2) < paramEpsilon) return dp_NoChanged;
  if (std::fabs(t1 - GetTMin()) < paramEpsilon && std::fabs(t2 - GetTMax()) < paramEpsilon) {
    Refresh();
    return dp_Degenerated;
  }
  if (std::fabs(t1 - t2) >= TMathDef::C_2PI - paramEpsilon) return dp_Degenerated;
  part2 = ArcOf(*this, t2, t1, TArc::BackClockWise);
  return IsDegenerate() ? dp_Degenerated : dp_Changed;
}

TCurve2D* TCircle::Trimmed(Real& t1, Real& t2, int s) const
{
  const Real e = Radius > 1e-8 ? 1e-8 / Radius : 1.0;
  if (std::fabs(t1 - t2) < e) return nullptr;
  ParamToAngle(t1);
  ParamToAngle(t2);
  return ArcOf(*this, t1, t2, DirectionOf(s));
}

TCurve2D* TCircle::Offset(const Real& d) const
{
  // A circle cannot shrink through its centre: no radius below the zero length.
  if (!(Radius + d > paramPrecision)) return nullptr;
  TCircle* c = Duplicate();
  c->Radius = Radius + d;
  c->Refresh();
  return c;
}

void TCircle::Inverse()
{
  Refresh();
}

void TCircle::Mtr(const TMtr2D&)
{
  MapThroughTransform(x, y);
  Radius *= TransformScale();
  Refresh();
}

void TCircle::Left(Real& ox, Real& oy) const
{
  ox = x - Radius;
  oy = y;
}

void TCircle::Right(Real& ox, Real& oy) const
{
  ox = x + Radius;
  oy = y;
}

void TCircle::Top(Real& ox, Real& oy) const
{
  ox = x;
  oy = y + Radius;
}

void TCircle::Bottom(Real& ox, Real& oy) const
{
  ox = x;
  oy = y - Radius;
}

void TCircle::Rect(TRect2D& R) const
{
  R = TRect2D(x - Radius, y - Radius, x + Radius, y + Radius);
}

Integer TCircle::InterSect(const TCurve2D* P, TInterSector& IS) const
{
  return ElementsUtil::InterSectElementary(this, P, IS);
}

Integer TCircle::SelfIntersect(const TRegion1D&, TInterSector&, Boolean) const
{
  return 0;
}

void TCircle::Scan(Real v, bool horizontal, TAReal& ACross) const
{
  const Real R = Radius;
  const Real e = R > paramPrecision ? paramPrecision / R : 1.0;
  const Real c = horizontal ? y : x;
  const Real d = v - c;
  Real angles[2];
  int n = 0;
  if (std::fabs(std::fabs(d) - R) < paramPrecision) {
    angles[n++] =
        horizontal ? (d > 0 ? TMathDef::C_PI / 2 : 3 * TMathDef::C_PI / 2) : (d > 0 ? 0 : TMathDef::C_PI);
  } else if (v <= c - R || v >= c + R) {
    return;
  } else {
    const Real s = std::sqrt(R * R - d * d);
    const Real a1 = horizontal ? std::atan2(d, s) : std::atan2(s, d);
    angles[n++] = a1;
    angles[n++] = horizontal ? TMathDef::C_PI - a1 : TMathDef::C_2PI - a1;
    for (int i = 0; i < n; ++i) {
      Real& a = angles[i];
      if (std::fabs(a) < TMathDef::C_PI * 1e-8 || std::fabs(a - TMathDef::C_2PI) < TMathDef::C_PI * 1e-8)
        a = 0;
      else if (a < 0 || a > TMathDef::C_2PI)
        a = FloorReduce(a, 0, TMathDef::C_2PI);
    }
  }
  const bool isClosed = IsClosed();
  const Real tmin = GetTMin(), tmax = GetTMax();
  for (int i = 0; i < n; ++i) {
    Real t = angles[i];
    AngleToParam(t);
    if (!isClosed && !(tmin - e < t && t < tmax + e)) continue;
    CheckParameter(ACross, t, e);
  }
}

void TCircle::InterSectHorizontal(Real y0, TAReal& ACross) const
{
  Scan(y0, true, ACross);
}

void TCircle::InterSectVertical(Real x0, TAReal& ACross) const
{
  Scan(x0, false, ACross);
}

void TCircle::Init(const TPoint2D& A, const TPoint2D& B)
{
  x = (A.x + B.x) / 2;
  y = (A.y + B.y) / 2;
  Radius = std::hypot(B.x - A.x, B.y - A.y) / 2;
  Refresh();
}

Boolean TCircle::Init(const TPoint2D& P1, const TPoint2D& P2, const TPoint2D& P3)
{
  const Real D = (P2.x - P1.x) * (P3.y - P1.y) - (P3.x - P1.x) * (P2.y - P1.y);
  if (!(std::fabs(D) >= paramAccuracy)) return false;
  const Real b2 = (P2.x * P2.x - P1.x * P1.x + P2.y * P2.y - P1.y * P1.y) / 2;
  const Real b3 = (P3.x * P3.x - P1.x * P1.x + P3.y * P3.y - P1.y * P1.y) / 2;
  x = (b2 * (P3.y - P1.y) - (P2.y - P1.y) * b3) / D;
  y = (b3 * (P2.x - P1.x) - (P3.x - P1.x) * b2) / D;
  Radius = std::hypot(P1.x - x, P1.y - y);
  Refresh();
  return true;
}

Boolean TCircle::FoundAllPoints(const TPolyLine& L) const
{
  for (Integer i = 0; i < L.Points.Count; ++i)
    if (PointRelative(L.Points[i], paramPrecision) == tl_OutSide) return false;
  return true;
}

// --- TArc ----------------------------------------------------------------------------------

TArc::TArc(Real ix, Real iy, Real r, Real a1, Real a2, Integer iAtr) : TCircle(ix, iy, std::fabs(r), iAtr)
{
  circle = false;
  InitByPositionAngles(a1, a2, r > 0 ? BackClockWise : ByClockWise);
}

void TArc::InitByPositionAngles(Real a1, Real a2, TDirection d)
{
  a1 = SnapAngle(WrapAngle(SnapAngle(a1, true)), false);
  a2 = SnapAngle(WrapAngle(SnapAngle(a2, true)), false);
  // A start that stands at a full turn is the start at 0: the sweep then never exceeds a turn.
  if (a1 == TMathDef::C_2PI) a1 = 0;
  A1 = a1;
  A2 = a2;
  // Equal directions make a full turn; so do 0 and a full turn asked clockwise, which would
  // otherwise sweep nothing.
  const bool full =
      std::fabs(A1 - A2) < paramEpsilon || (d == ByClockWise && A2 - A1 >= TMathDef::C_2PI - paramEpsilon);
  if (full) {
    A2 = d == BackClockWise ? A1 + TMathDef::C_2PI : A1 - TMathDef::C_2PI;
  } else if (d == ByClockWise && A2 > A1) {
    A2 -= TMathDef::C_2PI;
  } else if (d == BackClockWise && A1 > A2) {
    A2 += TMathDef::C_2PI;
  }
  sense = A2 > A1 ? BackClockWise : ByClockWise;
  circle = true;
  closed = std::fabs(std::fabs(A2 - A1) - TMathDef::C_2PI) < paramEpsilon;
  ct = 0;
  cosT = 1;
  sinT = 0;
  Refresh();
}

TArc::operator TString() const
{
  TString s("Arc (");
  s += Num(x, 3);
  s += ",";
  s += Num(y, 3);
  s += "  R=";
  s += Num(Radius, 2);
  s += " ";
  s += Num(A1, 3);
  s += " ";
  s += Num(A2, 3);
  s += ")";
  return s;
}

Boolean TArc::IsClosed() const
{
  return std::fabs(std::fabs(A2 - A1) - TMathDef::C_2PI) < paramEpsilon;
}

Real TArc::GetTMax() const
{
  return std::fabs(A2 - A1);
}

Boolean TArc::InRegion(Real t, Real Eps) const
{
  return TCurve2D::InRegion(t, Eps);
}

Real TArc::GetMetricLength() const
{
  return (GetTMax() - GetTMin()) * Radius;
}

void TArc::ParamToAngle(Real& t) const
{
  if (A2 < A1) t = -t;
  Real a = A1 + t;
  if (a < 0 || a > TMathDef::C_2PI) a = FloorReduce(a, 0, TMathDef::C_2PI);
  t = a;
}

void TArc::AngleToParam(Real& t) const
{
  const Real m = (A1 + A2) / 2;
  const Real a = FloorReduce(t, m - TMathDef::C_PI, TMathDef::C_2PI);
  t = A1 < A2 ? a - A1 : A1 - a;
}

Real TArc::AngleAt(Real t) const
{
  ParamToAngle(t);
  return t;
}

void TArc::RangeParameter(Real& t) const
{
  const Real tmax = GetTMax();
  if (IsClosed()) {
    if (t < 0 || t > tmax) t = FloorReduce(t, 0, TMathDef::C_2PI);
    return;
  }
  if (t < 0) t = 0;
  if (t > tmax) t = tmax;
}

Real TArc::CheckParamToAngle(Real& t) const
{
  RangeParameter(t);
  return AngleAt(t);
}

Boolean TArc::AnglePertainLimit(const Real& a) const
{
  Real t = a;
  AngleToParam(t);
  const TRegion1D r = GetRegion();
  return r.min - 0.0001 < t && t < r.max + 0.0001;
}

void TArc::PointOn(Real t, TPoint2D& P) const
{
  RangeParameter(t);
  _PointOn(t, P);
}

void TArc::FirstDer(Real t, TVector2D& V) const
{
  RangeParameter(t);
  _FirstDer(t, V);
}

void TArc::SecondDer(Real t, TVector2D& V) const
{
  RangeParameter(t);
  _SecondDer(t, V);
}

void TArc::ThirdDer(Real t, TVector2D& V) const
{
  RangeParameter(t);
  _ThirdDer(t, V);
}

void TArc::_PointOn(Real t, TPoint2D& P) const
{
  TCircle::_PointOn(AngleAt(t), P);
}

void TArc::_FirstDer(Real t, TVector2D& V) const
{
  TCircle::_FirstDer(AngleAt(t), V);
  // The angle falls as a clockwise arc's parameter grows.
  if (sense == ByClockWise) V = TVector2D(-V.x, -V.y);
}

void TArc::_SecondDer(Real t, TVector2D& V) const
{
  TCircle::_SecondDer(AngleAt(t), V);
}

void TArc::_ThirdDer(Real t, TVector2D& V) const
{
  TCircle::_ThirdDer(AngleAt(t), V);
  if (sense == ByClockWise) V = TVector2D(-V.x, -V.y);
}

Boolean TArc::NearPointProjection(const TPoint2D& P, TPoint2D Eps, Real& t, Boolean ext, TRegion1D* R) const
{
  return Project(P, Eps, t, ext, R, true);
}

void TArc::Aproximate(TPolyLine& L) const
{
  constexpr Real step = TMathDef::C_PI / 360;
  // A valid arc sweeps at most a turn: 720 steps and the one before the start.
  constexpr int maxSteps = 723;
  TPoint2D P;
  PointOn(0, P);
  L.Points.Add(P);
  Real t = MaxDivisible(AngleAt(0), step);
  AngleToParam(t);
  const Real tmax = GetTMax();
  for (int i = 0; t < tmax && i < maxSteps; ++i, t += step) {
    PointOn(t, P);
    L.Points.Add(P);
  }
  PointOn(tmax, P);
  L.Points.Add(P);
}

void TArc::Store(TKmfData& S) const
{
  TBasePoint::Store(S);
  const Real r = sense == ByClockWise ? -Radius : Radius;
  S.Write(r);
  S.Write(A1);
  S.Write(A2);
}

void TArc::Load(TKmfData& S)
{
  TBasePoint::Load(S);
  Real r = 0;
  S.Read(r);
  S.Read(A1);
  S.Read(A2);
  if (S.Version() < 90) {
    A1 *= DEGRAD;
    A2 *= DEGRAD;
  }
  // Angles that no writer stores (a damaged file's, millions of turns out) would cost an exact
  // reduction at every point taken on the arc, and their sweep means nothing past a turn: they are
  // brought into the arc's own form once, the start into one turn and the sweep within a turn.
  constexpr Real FarAngle = 1e6;
  if (std::fabs(A1) > FarAngle || std::fabs(A2) > FarAngle) {
    const Real sweep = std::clamp(A2 - A1, -TMathDef::C_2PI, TMathDef::C_2PI);
    A1 = WrapAngle(A1);
    A2 = A1 + sweep;
  }
  sense = r > 0 ? BackClockWise : ByClockWise;
  Radius = std::fabs(r);
  ct = 0;
  cosT = 1;
  sinT = 0;
  Refresh();
}

TArc* TArc::Duplicate() const
{
  return new TArc(*this);
}

void TArc::Keep(Real u1, Real u2)
{
  const Real a1 = AngleAt(u1), a2 = AngleAt(u2);
  InitByPositionAngles(a1, a2, sense);
}

TArc* TArc::MakePiece(Real u1, Real u2) const
{
  TArc* r = Duplicate();
  r->InitByPositionAngles(AngleAt(u1), AngleAt(u2), sense);
  return r;
}

TCurve2D::TState TArc::TrimmPart(Real t1, Real t2, TCurve2D*& part2)
{
  part2 = nullptr;
  const bool isClosed = IsClosed();
  if (!isClosed && t1 > t2) std::swap(t1, t2);
  CorrectParameter(t1);
  CorrectParameter(t2);
  if (!isClosed && std::fabs(t1 - t2) < paramEpsilon) return dp_Degenerated;
  const bool whole = std::fabs(t1 - GetTMin()) < paramEpsilon && std::fabs(t2 - GetTMax()) < paramEpsilon;
  Keep(t1, t2);
  if (IsDegenerate()) return dp_Degenerated;
  return whole ? dp_NoChanged : dp_Changed;
}

TCurve2D::TState TArc::DeletePart(Real t1, Real t2, TCurve2D*& part2)
{
  part2 = nullptr;
  const bool isClosed = IsClosed();
  if (!isClosed && t1 > t2) std::swap(t1, t2);
  CorrectParameter(t1);
  CorrectParameter(t2);
  if (std::fabs(t1 - t2) < paramEpsilon) return dp_NoChanged;
  const Real tmin = GetTMin(), tmax = GetTMax();
  const bool fromStart = std::fabs(t1 - tmin) < paramEpsilon;
  const bool toEnd = std::fabs(t2 - tmax) < paramEpsilon;
  if (fromStart && toEnd) {
    Refresh();
    return dp_Degenerated;
  }
  if (isClosed) {
    if (std::fabs(t1 - t2) >= tmax - tmin - paramEpsilon) return dp_Degenerated;
    Keep(t2, t1);
  } else if (fromStart) {
    Keep(t2, tmax);
  } else if (toEnd) {
    Keep(tmin, t1);
  } else {
    part2 = MakePiece(t2, tmax);
    Keep(tmin, t1);
  }
  return IsDegenerate() ? dp_Degenerated : dp_Changed;
}

TCurve2D* TArc::Trimmed(Real& t1, Real& t2, int s) const
{
  const Real e = Radius > 1e-8 ? 1e-8 / Radius : 1.0;
  if (!IsClosed() && std::fabs(t1 - t2) < e) return nullptr;
  ParamToAngle(t1);
  ParamToAngle(t2);
  const int dir = ((s > 0) - (s < 0)) * int(sense);
  if (std::fabs(t1 - t2) < e) t2 += dir > 0 ? TMathDef::C_2PI : -TMathDef::C_2PI;
  TArc* r = Duplicate();
  r->InitByPositionAngles(t1, t2, DirectionOf(dir));
  return r;
}

TCurve2D* TArc::Offset(const Real& d) const
{
  const Real dd = sense == BackClockWise ? -d : d;
  if (!(Radius + dd > paramPrecision)) return nullptr;
  TArc* r = Duplicate();
  r->Radius = Radius + dd;
  r->Refresh();
  return r;
}

void TArc::Inverse()
{
  std::swap(A1, A2);
  sense = sense == ByClockWise ? BackClockWise : ByClockWise;
  Refresh();
}

void TArc::Mtr(const TMtr2D& M)
{
  M.TransformCoord(x, y, x, y);
  Radius *= std::hypot(M.M[0][0], M.M[0][1]);
  const Real phi = AngleLine(0, 0, M.M[0][0], M.M[0][1]) * DEGRAD;
  const Real det = M.M[0][0] * M.M[1][1] - M.M[0][1] * M.M[1][0];
  if (det < 0) {
    // A mirror image runs the other way round: angle a goes to phi - a.
    A1 = phi - A1;
    A2 = phi - A2;
    sense = sense == ByClockWise ? BackClockWise : ByClockWise;
  } else {
    A1 += phi;
    A2 += phi;
  }
  Refresh();
}

template <class Better> void TArc::Extreme(Real a, Better better, Real& ox, Real& oy) const
{
  TPoint2D S, Q, E;
  PointOn(0, S);
  Real t = a;
  AngleToParam(t);
  PointOn(t, Q);
  PointOn(GetTMax(), E);
  TPoint2D best = S;
  if (better(Q, best)) best = Q;
  if (!better(best, E)) best = E;
  ox = best.x;
  oy = best.y;
}

void TArc::Left(Real& ox, Real& oy) const
{
  Extreme(
      TMathDef::C_PI, [](const TPoint2D& a, const TPoint2D& b) { return a.x < b.x; }, ox, oy);
}

void TArc::Right(Real& ox, Real& oy) const
{
  Extreme(
      0, [](const TPoint2D& a, const TPoint2D& b) { return a.x > b.x; }, ox, oy);
}

void TArc::Top(Real& ox, Real& oy) const
{
  Extreme(
      TMathDef::C_PI / 2, [](const TPoint2D& a, const TPoint2D& b) { return a.y > b.y; }, ox, oy);
}

void TArc::Bottom(Real& ox, Real& oy) const
{
  Extreme(
      3 * TMathDef::C_PI / 2, [](const TPoint2D& a, const TPoint2D& b) { return a.y < b.y; }, ox, oy);
}

void TArc::Rect(TRect2D& R) const
{
  Real lx, ly, rx, ry, tx, ty, bx, by;
  Left(lx, ly);
  Right(rx, ry);
  Top(tx, ty);
  Bottom(bx, by);
  R = TRect2D(lx, by, rx, ty);
}

Integer TArc::InterSect(const TCurve2D* P, TInterSector& IS) const
{
  if (!P) return 0;
  switch (P->IsType()) {
  case tPoint:
    return P->InterSect(this, TInterSector::Instance2());
  case tLineSeg:
  case tCircle:
    return IS.InterSection(P, this);
  case tArc:
    return IS.InterSection(this, P);
  default:
    return 0;
  }
}

Integer TArc::SelfIntersect(const TRegion1D&, TInterSector&, Boolean) const
{
  return 0;
}
