// Segments, infinite lines and the fillet of two lines.
#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <memory>
#include <utility>

#include "hxcadkit/core/KmfData.h"
#include "hxcadkit/geometry/Elements.h"
#include "hxcadkit/geometry/ElementsUtil.h"
#include "hxcadkit/geometry/SolverInterSect.h"

using namespace ElementsUtil;

namespace {

// How far the segment standing for a line reaches each way, in directions.
constexpr Real LineReach = 1e6;

bool Holds(const TAReal& A, Real t, Real e)
{
  for (Integer i = 0; i < A.Count; ++i)
    if (std::fabs(A[i] - t) < e) return true;
  return false;
}

TString StraightDump(const char* head, Real x1, Real y1, Real x2, Real y2)
{
  TString s(head);
  s += Num(x1, 3);
  s += ",";
  s += Num(y1, 3);
  s += " - ";
  s += Num(x2, 3);
  s += " , ";
  s += Num(y2, 3);
  s += ")";
  return s;
}

// Foot parameter of P on the line start + t D; false when D is shorter than 1e-10.
bool Foot(Real x, Real y, Real Dx, Real Dy, const TPoint2D& P, Real& t, Real& length)
{
  length = Length(Dx, Dy);
  if (!(length > TMathDef::lengthEpsilon)) return false;
  t = ((P.x - x) * Dx + (P.y - y) * Dy) / (length * length);
  return true;
}

} // namespace

// --- TLineSeg ------------------------------------------------------------------------------

TLineSeg::TLineSeg(Real ix, Real iy, Real ixk, Real iyk, Integer iAtr)
    : TBasePoint(ix, iy, iAtr), xk(ixk), yk(iyk)
{
}

TLineSeg::TLineSeg(const TPoint2D& A, const TPoint2D& B, Integer iAtr) : TBasePoint(A, iAtr), xk(B.x), yk(B.y)
{
}

TLineSeg::TLineSeg(const TLine& L)
    : TBasePoint(L.x - LineReach * (L.x2 - L.x), L.y - LineReach * (L.y2 - L.y), L.Atr),
      xk(L.x + LineReach * (L.x2 - L.x)), yk(L.y + LineReach * (L.y2 - L.y))
{
}

TLineSeg::operator TString() const
{
  return StraightDump("LS (", x, y, xk, yk);
}

Real TLineSeg::GetMetricLength() const
{
  return std::hypot(xk - x, yk - y);
}

void TLineSeg::PointOn(Real t, TPoint2D& P) const
{
  if (t < 0) t = 0;
  if (t > 1) t = 1;
  _PointOn(t, P);
}

void TLineSeg::_PointOn(Real t, TPoint2D& P) const
{
  P.Set(x + t * (xk - x), y + t * (yk - y));
}

void TLineSeg::FirstDer(Real t, TVector2D& V) const
{
  _FirstDer(t, V);
}

void TLineSeg::_FirstDer(Real, TVector2D& V) const
{
  V = TVector2D(xk - x, yk - y);
  const Real l = V.Len();
  if (l > paramPrecision) V = TVector2D(V.x / l, V.y / l);
}

Boolean TLineSeg::NearPointProjection(const TPoint2D& P, TPoint2D, Real& t, Boolean ext, TRegion1D* R) const
{
  Real u, length;
  if (!Foot(x, y, xk - x, yk - y, P, u, length)) return false;
  const Real tol = paramPrecision / length;
  const TRegion1D W = Window(R);
  const Boolean inside = W.min - tol < u && u < W.max + tol;
  if (!ext) SnapIntoWindow(u, W, tol, 0);
  t = u;
  return inside;
}

TLocation TLineSeg::PointRelative(const TPoint2D& P, Real eps) const
{
  TVector2D u(xk - x, yk - y), w(P.x - x, P.y - y);
  const Real lu = u.Len(), lw = w.Len();
  if (lu > nullEpsilon) u = TVector2D(u.x / lu, u.y / lu);
  if (lw > nullEpsilon) w = TVector2D(w.x / lw, w.y / lw);
  const Real s = u.x * w.y - u.y * w.x;
  if (std::fabs(s) < eps) return tl_On;
  return s > 0 ? tl_Left : tl_Right;
}

void TLineSeg::Store(TKmfData& S) const
{
  TBasePoint::Store(S);
  S.Write(xk);
  S.Write(yk);
}

void TLineSeg::Load(TKmfData& S)
{
  TBasePoint::Load(S);
  S.Read(xk);
  S.Read(yk);
  Refresh();
}

TLineSeg* TLineSeg::Duplicate() const
{
  return new TLineSeg(*this);
}

TCurve2D::TState TLineSeg::TrimmPart(Real t1, Real t2, TCurve2D*& part2)
{
  part2 = nullptr;
  CorrectParameter(t1);
  CorrectParameter(t2);
  if (std::fabs(t1 - t2) < paramEpsilon) return dp_Degenerated;
  TPoint2D A, B;
  PointOn(t1, A);
  PointOn(t2, B);
  x = A.x;
  y = A.y;
  xk = B.x;
  yk = B.y;
  Refresh();
  return dp_Changed;
}

TCurve2D::TState TLineSeg::DeletePart(Real t1, Real t2, TCurve2D*& part2)
{
  part2 = nullptr;
  if (t1 > t2) std::swap(t1, t2);
  CorrectParameter(t1);
  CorrectParameter(t2);
  if (std::fabs(t1 - t2) < paramEpsilon) return dp_NoChanged;
  const bool fromStart = std::fabs(t1) < paramEpsilon;
  const bool toEnd = std::fabs(t2 - 1) < paramEpsilon;
  if (fromStart && toEnd) {
    xk = x;
    yk = y;
    Refresh();
    return dp_Degenerated;
  }
  TPoint2D A, B;
  PointOn(t1, A);
  PointOn(t2, B);
  if (fromStart) {
    x = B.x;
    y = B.y;
  } else if (toEnd) {
    xk = A.x;
    yk = A.y;
  } else {
    part2 = new TLineSeg(B.x, B.y, xk, yk, Atr);
    xk = A.x;
    yk = A.y;
  }
  Refresh();
  return dp_Changed;
}

TCurve2D* TLineSeg::Trimmed(Real& t1, Real& t2, int s) const
{
  const Real len = GetMetricLength();
  const Real e = len > 1 ? paramEpsilon / len : paramEpsilon;
  if (std::fabs(t1 - t2) < e) return nullptr;
  if (s > 0 ? t1 > t2 : t1 < t2) std::swap(t1, t2);
  TPoint2D A, B;
  PointOn(t1, A);
  PointOn(t2, B);
  TLineSeg* r = new TLineSeg(A, B);
  r->Name2 = Name2;
  return r;
}

TCurve2D* TLineSeg::Offset(const Real& d) const
{
  const Real Dx = xk - x, Dy = yk - y;
  const Real l = std::hypot(Dx, Dy);
  if (!(l > paramPrecision)) return nullptr;
  const Real nx = -Dy / l * d, ny = Dx / l * d;
  TLineSeg* r = new TLineSeg(x + nx, y + ny, xk + nx, yk + ny);
  r->Name2 = Name2;
  return r;
}

void TLineSeg::Inverse()
{
  std::swap(x, xk);
  std::swap(y, yk);
  Refresh();
}

void TLineSeg::Mtr(const TMtr2D& M)
{
  M.TransformCoord(x, y, x, y);
  M.TransformCoord(xk, yk, xk, yk);
  Refresh();
}

void TLineSeg::Left(Real& ox, Real& oy) const
{
  const bool start = x < xk;
  ox = start ? x : xk;
  oy = start ? y : yk;
}

void TLineSeg::Right(Real& ox, Real& oy) const
{
  const bool start = x > xk;
  ox = start ? x : xk;
  oy = start ? y : yk;
}

void TLineSeg::Top(Real& ox, Real& oy) const
{
  const bool start = y > yk;
  ox = start ? x : xk;
  oy = start ? y : yk;
}

void TLineSeg::Bottom(Real& ox, Real& oy) const
{
  const bool start = y < yk;
  ox = start ? x : xk;
  oy = start ? y : yk;
}

void TLineSeg::Rect(TRect2D& R) const
{
  R = TRect2D(std::min(x, xk), std::min(y, yk), std::max(x, xk), std::max(y, yk));
}

Integer TLineSeg::InterSect(const TCurve2D* P, TInterSector& IS) const
{
  return ElementsUtil::InterSectElementary(this, P, IS);
}

Integer TLineSeg::SelfIntersect(const TRegion1D&, TInterSector&, Boolean) const
{
  return 0;
}

void TLineSeg::Scan(Real v, bool horizontal, TAReal& ACross) const
{
  // across: the direction's component across the scan line; along: along it.
  const Real s0 = horizontal ? y : x;
  const Real across = horizontal ? yk - y : xk - x;
  const Real along = horizontal ? xk - x : yk - y;
  if (std::fabs(across) <= paramEpsilon && std::fabs(along) <= paramEpsilon) {
    if (std::fabs(v - s0) < paramEpsilon) CheckParameter(ACross, 0, paramEpsilon);
    return;
  }
  if (std::fabs(across) < paramEpsilon * std::max(std::fabs(across), std::fabs(along))) {
    // Lying on the scan line: one end per call, the start first.
    if (!(std::fabs(v - s0) < paramEpsilon)) return;
    if (!Holds(ACross, 0, paramEpsilon))
      ACross.Add(0);
    else
      CheckParameter(ACross, 1, paramEpsilon);
    return;
  }
  const Real e = paramPrecision / std::hypot(across, along);
  const Real t = (v - s0) / across;
  if (-e < t && t < 1 + e) CheckParameter(ACross, t, paramEpsilon);
}

void TLineSeg::InterSectHorizontal(Real y0, TAReal& ACross) const
{
  Scan(y0, true, ACross);
}

void TLineSeg::InterSectVertical(Real x0, TAReal& ACross) const
{
  Scan(x0, false, ACross);
}

void TLineSeg::GetDirection(TVector2D& V) const
{
  V = TVector2D(xk - x, yk - y);
}

// --- TLine ---------------------------------------------------------------------------------

TLine::TLine(Real ix, Real iy, Real ix2, Real iy2, Integer iAtr) : TBasePoint(ix, iy, iAtr), x2(ix2), y2(iy2)
{
}

TLine::TLine(const TLineSeg& S) : TBasePoint(S.x, S.y, S.Atr), x2(S.xk), y2(S.yk) {}

TLine::TLine(const TPoint2D& P, const TVector2D& V) : TBasePoint(P), x2(P.x + V.x), y2(P.y + V.y) {}

TLine::TLine(const TVector2D& V) : TBasePoint(0, 0), x2(V.x), y2(V.y) {}

TLine::operator TString() const
{
  return StraightDump("L (", x, y, x2, y2);
}

void TLine::PointOn(Real t, TPoint2D& P) const
{
  _PointOn(t, P);
}

void TLine::_PointOn(Real t, TPoint2D& P) const
{
  P.Set(x + t * (x2 - x), y + t * (y2 - y));
}

void TLine::FirstDer(Real t, TVector2D& V) const
{
  _FirstDer(t, V);
}

void TLine::_FirstDer(Real, TVector2D& V) const
{
  V = TVector2D(x2 - x, y2 - y);
}

Boolean TLine::NearPointProjection(const TPoint2D& P, TPoint2D, Real& t, Boolean ext, TRegion1D* R) const
{
  Real u, length;
  if (!Foot(x, y, x2 - x, y2 - y, P, u, length)) return false;
  // A line has no ends of its own: only a window the caller gives brings the foot in.
  if (!ext && R && R->min <= R->max) SnapIntoWindow(u, *R, paramPrecision / length, 0);
  t = u;
  return true;
}

TLocation TLine::PointRelative(const TPoint2D& A, Real eps) const
{
  const Real c = (x2 - x) * (A.y - y) - (y2 - y) * (A.x - x);
  if (std::fabs(c) < eps) return tl_On;
  return c > 0 ? tl_Left : tl_Right;
}

void TLine::Store(TKmfData& S) const
{
  TBasePoint::Store(S);
  S.Write(x2);
  S.Write(y2);
}

void TLine::Load(TKmfData& S)
{
  TBasePoint::Load(S);
  S.Read(x2);
  S.Read(y2);
  Refresh();
}

TLine* TLine::Duplicate() const
{
  return new TLine(*this);
}

TCurve2D* TLine::Trimmed(Real&, Real&, int) const
{
  return nullptr;
}

TCurve2D* TLine::Offset(const Real& d) const
{
  const Real Dx = x2 - x, Dy = y2 - y;
  const Real l = std::hypot(Dx, Dy);
  if (!(l > paramPrecision)) return nullptr;
  const Real nx = -Dy / l * d, ny = Dx / l * d;
  TLine* r = new TLine(x + nx, y + ny, x2 + nx, y2 + ny);
  r->Name2 = Name2;
  return r;
}

void TLine::Mtr(const TMtr2D& M)
{
  M.TransformCoord(x, y, x, y);
  M.TransformCoord(x2, y2, x2, y2);
  Refresh();
}

void TLine::Left(Real& ox, Real& oy) const
{
  ox = oy = -MaxReal;
}

void TLine::Right(Real& ox, Real& oy) const
{
  ox = oy = MaxReal;
}

void TLine::Top(Real& ox, Real& oy) const
{
  ox = oy = MaxReal;
}

void TLine::Bottom(Real& ox, Real& oy) const
{
  ox = oy = -MaxReal;
}

void TLine::Rect(TRect2D& R) const
{
  R = TRect2D(-MaxReal, -MaxReal, MaxReal, MaxReal);
}

namespace {

// Records of I from index `from` on that name the stand-in segment S name the line L instead,
// their parameters turned into the line's: S runs from P - reach D to P + reach D.
void Relink(TInterSector& I, Integer from, const TLineSeg* S, const TLine* L)
{
  for (Integer i = std::max<Integer>(from, 0); i < I.ACrossPoint.Count; ++i) {
    TCrossPoint& c = I.ACrossPoint[i];
    for (TPointOnCurve* on : {&c.on1, &c.on2}) {
      if (on->curve != S) continue;
      on->curve = L;
      on->t = 2 * LineReach * on->t - LineReach;
    }
  }
}

} // namespace

Integer TLine::InterSect(const TCurve2D* P, TInterSector& IS) const
{
  if (!P) return 0;
  if (P->IsType() == tLines) return IS.InterSection(this, P);
  const TLineSeg S(*this);
  const Integer before = IS.ACrossPoint.Count;
  const Integer n = S.InterSect(P, IS);
  // No record may outlive the stand-in it names.
  if (P->IsType() == tPoint)
    Relink(TInterSector::Instance2(), 0, &S, this);
  else
    Relink(IS, before, &S, this);
  return n;
}

Integer TLine::SelfIntersect(const TRegion1D&, TInterSector&, Boolean) const
{
  return 0;
}

void TLine::InterSectHorizontal(Real y0, TAReal& ACross) const
{
  const Real Dy = y2 - y;
  if (!(std::fabs(Dy) > paramPrecision)) return;
  CheckParameter(ACross, (y0 - y) / Dy, paramEpsilon);
}

void TLine::InterSectVertical(Real x0, TAReal& ACross) const
{
  const Real Dx = x2 - x;
  if (!(std::fabs(Dx) > paramPrecision)) return;
  CheckParameter(ACross, (x0 - x) / Dx, paramEpsilon);
}

void TLine::GetDirection(TVector2D& V) const
{
  V = TVector2D(x2 - x, y2 - y);
  const Real l = V.Len();
  if (l > paramPrecision) V = TVector2D(V.x / l, V.y / l);
}

Real TLine::Projection(const TPoint2D& A) const
{
  return (A.x - x) * (x2 - x) + (A.y - y) * (y2 - y);
}

void TLine::Projection(const TPoint2D& A, TPoint2D& R) const
{
  const Real k = Projection(A);
  R.Set(x + k * (x2 - x), y + k * (y2 - y));
}

// --- ConnestLL -----------------------------------------------------------------------------

bool ConnestLL(double const& x11, double const& y11, double const& x12, double const& y12, double const& x21,
               double const& y21, double const& x22, double const& y22, double const& R,
               TPoint2D (&tangents)[2], TPoint2D& centre, int& dir)
{
  const TLine L1(x11, y11, x12, y12), L2(x21, y21, x22, y22);
  TInterSector IS;
  // The chain from L1 into L2 turns toward L2's second point: the centre lies on that side of
  // both lines.
  Real d = 0;
  switch (L1.PointRelative(TPoint2D(x22, y22), 1e-10)) {
  case tl_Left:
    dir = 1;
    d = R;
    break;
  case tl_Right:
    dir = -1;
    d = -R;
    break;
  default:
    dir = 0;
    break;
  }
  const std::unique_ptr<TCurve2D> O1(L1.Offset(d)), O2(L2.Offset(d));
  if (!O1 || !O2) return false;
  if (IS.InterSection(O1.get(), O2.get()) < 1) return false;
  centre = IS.ACrossPoint[IS.ACrossPoint.Count - 1].p;
  Real t = 0;
  L1.NearPointProjection(centre, IS.Eps, t, true, nullptr);
  L1.PointOn(t, tangents[0]);
  t = 0;
  L2.NearPointProjection(centre, IS.Eps, t, true, nullptr);
  L2.PointOn(t, tangents[1]);
  return true;
}
