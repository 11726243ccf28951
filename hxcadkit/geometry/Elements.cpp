// The curve base, the point curve and the text anchor. Circles and arcs are in ElementsArc.cpp,
// segments, infinite lines and the fillet of two lines in ElementsLine.cpp.
#include "hxcadkit/geometry/Elements.h"

#include <cmath>

#include "hxcadkit/core/KmfData.h"
#include "hxcadkit/geometry/ElementsUtil.h"
#include "hxcadkit/geometry/SolverInterSect.h"

namespace {

const TCurveTransform* CurrentTransform = nullptr;

} // namespace

void SetCurveTransform(const TCurveTransform* T)
{
  CurrentTransform = T;
}

const TCurveTransform* GetCurveTransform()
{
  return CurrentTransform;
}

void SetColorStyle(TGImage*, unsigned int) {}
void UnSetColorStyle(TGImage*, unsigned int) {}

namespace ElementsUtil {

TString Num(Real v, int decimals)
{
  return TString(v, decimals, true, 7);
}

void StepUp(Real& t, Real lo, Real p)
{
  if (!(t < lo)) return;
  const Real n = std::floor((lo - t) / p);
  if (!std::isfinite(n)) {
    t = lo;
    return;
  }
  if (n > 16) t += (n - 8) * p;
  for (int i = 0; i < 64 && t < lo; ++i)
    t += p;
}

void StepDown(Real& t, Real hi, Real p)
{
  if (!(t > hi)) return;
  const Real n = std::floor((t - hi) / p);
  if (!std::isfinite(n)) {
    t = hi;
    return;
  }
  if (n > 16) t -= (n - 8) * p;
  for (int i = 0; i < 64 && t > hi; ++i)
    t -= p;
}

Real FloorReduce(Real t, Real from, Real p)
{
  const Real q = (t - from) / p;
  if (std::fabs(q) < 1e15) return t - std::floor(q) * p;
  // Far away the product loses every digit of the remainder: take it exactly.
  Real r = std::fmod(t - from, p);
  if (r < 0) r += p;
  return from + r;
}

void MapThroughTransform(Real& x, Real& y)
{
  if (const TCurveTransform* T = GetCurveTransform()) T->xyMtr(x, y, x, y);
}

Real TransformScale()
{
  const TCurveTransform* T = GetCurveTransform();
  return T ? T->ScaleMtr() : 1.0;
}

Integer InterSectElementary(const TCurve2D* self, const TCurve2D* P, TInterSector& IS)
{
  if (!P) return 0;
  switch (P->IsType()) {
  case tPoint:
    return P->InterSect(self, TInterSector::Instance2());
  case tLineSeg:
    return IS.InterSection(P, self);
  case tCircle:
  case tArc:
    return IS.InterSection(self, P);
  default:
    return 0;
  }
}

} // namespace ElementsUtil

using namespace ElementsUtil;

// --- TCurve2D ------------------------------------------------------------------------------

TCurve2D::TCurve2D(const TCurve2D& c)
    : TMathDef(), Name2(c.Name2), Atr(c.Atr), closed(c.closed), paramLength(c.paramLength),
      metricLength(c.metricLength), Gabaryt(c.Gabaryt), Index(c.Index), Obj(c.Obj)
{
}

TCurve2D& TCurve2D::operator=(const TCurve2D& c)
{
  Name2 = c.Name2;
  Atr = c.Atr;
  closed = c.closed;
  paramLength = c.paramLength;
  metricLength = c.metricLength;
  Gabaryt = c.Gabaryt;
  Index = c.Index;
  Obj = c.Obj;
  return *this;
}

TCurve2D::operator TString() const
{
  return TString();
}

void TCurve2D::Calculate() const
{
  if (!(metricLength < 0)) return;
  closed = IsClosed();
  metricLength = GetMetricLength();
  paramLength = GetTMax() - GetTMin();
  Rect(Gabaryt);
}

void TCurve2D::Refresh() const
{
  paramLength = -1;
  metricLength = -1;
  Gabaryt.SetEmpty();
}

TRegion1D TCurve2D::GetRegion() const
{
  const Real a = GetTMin(), b = GetTMax();
  return TRegion1D(std::min(a, b), std::max(a, b));
}

Boolean TCurve2D::InRegion(Real t, Real Eps) const
{
  const TRegion1D r = GetRegion();
  return r.min - Eps < t && t < r.max + Eps;
}

Real TCurve2D::GetParamLengthPart(Real t1, Real t2) const
{
  Calculate();
  const Real k = GetParamToUnit();
  if (metricLength > paramAccuracy && k <= paramEpsilon) return k;
  CorrectParameter(t1);
  CorrectParameter(t2);
  const Real tmin = GetTMin(), tmax = GetTMax();
  if (t1 <= t2) return std::min(t2, tmax) - std::max(tmin, t1);
  if (closed) return (tmax - t1) + (t2 - tmin);
  // An open curve has no way round from t1 to t2: the span between them.
  return t1 - t2;
}

Real TCurve2D::GetMetricLengthPart(Real t1, Real t2) const
{
  Calculate();
  const Real k = GetParamToUnit();
  if (metricLength > paramAccuracy && k <= paramEpsilon) return k;
  const Real span = GetParamLengthPart(t1, t2);
  return span / k;
}

Real TCurve2D::Curvature(double t) const
{
  TVector2D V, A;
  FirstDer(t, V);
  SecondDer(t, A);
  const Real l = V.Len();
  if (!(l >= 1e-10)) return 0;
  return (V.x * A.y - V.y * A.x) / (l * l * l);
}

Real TCurve2D::CurvatureDerive(double t) const
{
  TVector2D V, A, J;
  FirstDer(t, V);
  SecondDer(t, A);
  ThirdDer(t, J);
  const Real l2 = V.x * V.x + V.y * V.y;
  if (!(l2 >= 4e-12)) return 0;
  const Real l = std::sqrt(l2);
  const Real vxj = V.x * J.y - V.y * J.x;
  const Real vxa = V.x * A.y - V.y * A.x;
  const Real vda = V.x * A.x + V.y * A.y;
  return (vxj * l2 - 3 * vda * vxa) / (l2 * l2 * l);
}

Real TCurve2D::CurvatureRadius(double t) const
{
  const Real k = Curvature(t);
  if (std::fabs(k) > paramPrecision) return 1 / k;
  return 1e10;
}

TPoint2D TCurve2D::PointTMax() const
{
  TPoint2D P;
  PointOn(GetTMax(), P);
  return P;
}

TPoint2D TCurve2D::PointTMin() const
{
  TPoint2D P;
  PointOn(GetTMin(), P);
  return P;
}

namespace {

void Normalise(TVector2D& V)
{
  const Real l = V.Len();
  if (l > 2e-6) {
    V.x /= l;
    V.y /= l;
  }
}

void LeftNormal(TVector2D& V)
{
  const Real l = V.Len();
  V = TVector2D(-V.y, V.x);
  if (l > 2e-6) {
    V.x /= l;
    V.y /= l;
  }
}

} // namespace

void TCurve2D::TangentOn(Real t, TVector2D& V) const
{
  FirstDer(t, V);
  Normalise(V);
}

void TCurve2D::_TangentOn(Real t, TVector2D& V) const
{
  _FirstDer(t, V);
  Normalise(V);
}

void TCurve2D::NormalOn(Real t, TVector2D& V) const
{
  FirstDer(t, V);
  LeftNormal(V);
}

void TCurve2D::_NormalOn(Real t, TVector2D& V) const
{
  _FirstDer(t, V);
  LeftNormal(V);
}

Boolean TCurve2D::NearPointProjection(const TPoint2D&, TPoint2D, Real&, Boolean, TRegion1D*) const
{
  return false;
}

TLocation TCurve2D::PointRelative(const TPoint2D& P, Real eps) const
{
  // A kind that cannot project measures from its start.
  Real t = GetTMin();
  NearPointProjection(P, TPoint2D(eps, eps), t, true, nullptr);
  TVector2D N;
  NormalOn(t, N);
  TPoint2D Q;
  PointOn(t, Q);
  const Real d = (P.x - Q.x) * N.x + (P.y - Q.y) * N.y;
  if (std::fabs(d) < eps) return tl_On;
  return d > 0 ? tl_Left : tl_Right;
}

Real TCurve2D::DistanceTo(const TPoint2D& P) const
{
  Real t = GetTMin();
  NearPointProjection(P, TPoint2D(0.0001, 0.0001), t, true, nullptr);
  TPoint2D Q;
  PointOn(t, Q);
  return std::hypot(P.x - Q.x, P.y - Q.y);
}

void TCurve2D::Aproximate(TPolyLine& L) const
{
  const Real tmin = GetTMin(), tmax = GetTMax();
  const Real ml = GetMetricLength();
  Real h = 0.1;
  if (ml > metricAccuracy) {
    h = (tmax - tmin) / ml / 10;
    if (!(h > paramEpsilon)) return;
  }
  // The points array grows by a fixed step: room for the curve's points at once keeps a long curve
  // from copying the array over and over (a count beyond any drawing's is left to that growth).
  constexpr Real MostPointsReserved = 1e6;
  const Real points = std::ceil((tmax - tmin) / h) + 2; // the sum of the steps may fall short of the end
  if (points > 0 && points <= MostPointsReserved) L.Points.ReserveSize(L.Points.Count + Integer(points));
  TPoint2D P;
  for (Real t = tmin; t < tmax; t += h) {
    PointOn(t, P);
    L.Points.Add(P);
    if (t + h == t) break; // a step lost in t's magnitude would never reach the end
  }
  PointOn(tmax, P);
  L.Points.Add(P);
}

void TCurve2D::Store(TKmfData& S) const
{
  S.Write(Name2);
  S.Write(Atr);
}

void TCurve2D::Load(TKmfData& S)
{
  if (S.Version() >= 89) {
    S.Read(Name2);
  } else {
    Name2 = 0;
    S.ReadInteger();
    S.ReadInteger();
  }
  S.Read(Atr);
}

Integer TCurve2D::InterSect(const TCurve2D*, TInterSector&) const
{
  return 0;
}

Integer TCurve2D::SelfIntersect(const TRegion1D&, TInterSector&, Boolean) const
{
  return 0;
}

void TCurve2D::InterSectHorizontal(Real, TAReal&) const {}
void TCurve2D::InterSectVertical(Real, TAReal&) const {}

Boolean TCurve2D::IsDegenerate() const
{
  const Real tmin = GetTMin(), tmax = GetTMax();
  if (!(tmax - tmin >= paramEpsilon)) return true;
  TPoint2D A, B;
  _PointOn(tmin, A);
  _PointOn((tmin + tmax) / 2, B);
  return std::fabs(A.x - B.x) <= paramPrecision && std::fabs(A.y - B.y) <= paramPrecision;
}

Real TCurve2D::GetParamToUnit() const
{
  const Real ml = GetMetricLength();
  if (ml > metricAccuracy) return (GetTMax() - GetTMin()) / ml;
  return 1.0;
}

Real TCurve2D::GetParamToUnit(const Real& t) const
{
  TVector2D V;
  FirstDer(t, V);
  const Real l = V.Len();
  if (l > metricAccuracy) return 1 / l;
  return GetParamToUnit();
}

Real TCurve2D::DeviationStep(Real t, Real angle) const
{
  const Real tmin = GetTMin(), tmax = GetTMax();
  const Real p = tmax - tmin;
  const bool isClosed = IsClosed();
  const Real largest = (isClosed ? 0.05 : 0.25) * p;
  const Real m = paramDeltaMin * p;
  Real step = largest;
  bool decided = false;
  if (!isClosed) {
    if (t > tmax + m) {
      step = largest;
      decided = true;
    } else if (t < tmin - m) {
      step = tmin - t;
      decided = true;
    }
  }
  if (!decided) {
    TVector2D V;
    FirstDer(t, V);
    if (V.Len() <= paramPrecision) {
      // A stationary point: look a little way along for a direction.
      if (t < tmax - m)
        FirstDer(t + m, V);
      else
        FirstDer(t - m, V);
      step = V.Len() > paramPrecision ? m : largest;
    } else {
      TVector2D A;
      SecondDer(t, A);
      const Real l = V.Len();
      const Real w = std::fabs(V.x * A.y - V.y * A.x) / (l * l);
      if (w > paramPrecision * l)
        step = std::max(std::min(angle / w, largest), m);
      else
        step = largest;
    }
  }
  return std::max(step, paramAccuracy * p);
}

void TCurve2D::CorrectParameter(Real& t) const
{
  Calculate();
  const Real tmin = GetTMin(), tmax = GetTMax();
  if (t >= tmin && t <= tmax) return;
  const Real p = tmax - tmin;
  // A closed curve without a period of any length has nothing to wrap by: clamp instead.
  if (closed && p > 1e-7) {
    t = FloorReduce(t, tmin, p);
    return;
  }
  if (t < tmin) t = tmin;
  if (t > tmax) t = tmax;
}

void TCurve2D::CorrectParameter(const Boolean extRegion, Real& t, const Real& eps) const
{
  Calculate();
  const Real tmin = GetTMin(), tmax = GetTMax();
  const Real p = tmax - tmin;
  if (!extRegion && closed && p > 1e-7) {
    t = FloorReduce(t, 0, p);
    StepUp(t, tmin, p);
    StepDown(t, tmax - eps, p);
    return;
  }
  if (std::fabs(t - tmax) <= eps)
    t = tmax;
  else if (std::fabs(t - tmin) <= eps)
    t = tmin;
}

void TCurve2D::CorrectParameter(Boolean extRegion, Boolean ClosedRegion, Real pmin, Real pmax, Real& t,
                                Real eps)
{
  const Real p = pmax - pmin;
  if (ClosedRegion && !extRegion && p > 1e-7) {
    t = FloorReduce(t, 0, p);
    StepUp(t, pmin, p);
    StepDown(t, pmax - eps, p);
  } else if (std::fabs(t - pmax) <= eps) {
    t = pmax;
  }
  if (std::fabs(t - pmin) <= eps) t = pmin;
}

Boolean TCurve2D::IsLink(Real t, const TCurve2D* other, Real otherT, const Real& Eps) const
{
  if (!other) return false;
  return IsLink(t, *other, otherT, Eps);
}

Boolean TCurve2D::IsLink(Real t, const TCurve2D& other, Real otherT, const Real& Eps) const
{
  TPoint2D A, B;
  PointOn(t, A);
  other.PointOn(otherT, B);
  return std::fabs(A.x - B.x) <= Eps && std::fabs(A.y - B.y) <= Eps;
}

void TCurve2D::CheckParameter(TAReal& A, Real t, Real e)
{
  for (Integer i = 0; i < A.Count; ++i)
    if (std::fabs(A[i] - t) < e) return;
  A.Add(t);
}

void TCurve2D::SnapIntoWindow(Real& t, const TRegion1D& W, Real tol, Real period)
{
  if (period > 1e-7) W.CorrectNearParameter(false, period, t, tol);
  if (std::fabs(t - W.max) <= tol) t = W.max;
  if (std::fabs(t - W.min) <= tol) t = W.min;
  if (t < W.min) t = W.min;
  if (t > W.max) t = W.max;
}

TRegion1D TCurve2D::Window(const TRegion1D* R) const
{
  if (R && R->min <= R->max) return *R;
  return GetRegion();
}

// --- TBasePoint ----------------------------------------------------------------------------

TBasePoint::TBasePoint(Real ix, Real iy, Integer iAtr) : TPoint2D(ix, iy)
{
  Atr = iAtr;
}

TBasePoint::TBasePoint(const TPoint2D& P, Integer iAtr) : TPoint2D(P)
{
  Atr = iAtr;
}

TBasePoint::operator TString() const
{
  TString s("Point (");
  s += Num(x, 3);
  s += ",";
  s += Num(y, 3);
  s += ")";
  return s;
}

void TBasePoint::PointOn(Real, TPoint2D& P) const
{
  P.Set(x, y);
}

void TBasePoint::_PointOn(Real, TPoint2D& P) const
{
  P.Set(x, y);
}

void TBasePoint::FirstDer(Real, TVector2D& V) const
{
  V = TVector2D(0, 0);
}

void TBasePoint::SecondDer(Real, TVector2D& V) const
{
  V = TVector2D(0, 0);
}

void TBasePoint::ThirdDer(Real, TVector2D& V) const
{
  V = TVector2D(0, 0);
}

void TBasePoint::_FirstDer(Real, TVector2D& V) const
{
  V = TVector2D(0, 0);
}

void TBasePoint::_SecondDer(Real, TVector2D& V) const
{
  V = TVector2D(0, 0);
}

void TBasePoint::_ThirdDer(Real, TVector2D& V) const
{
  V = TVector2D(0, 0);
}

Boolean TBasePoint::NearPointProjection(const TPoint2D&, TPoint2D, Real&, Boolean, TRegion1D*) const
{
  return false;
}

void TBasePoint::Store(TKmfData& S) const
{
  TCurve2D::Store(S);
  S.Write(x);
  S.Write(y);
}

void TBasePoint::Load(TKmfData& S)
{
  TCurve2D::Load(S);
  S.Read(x);
  S.Read(y);
  Refresh();
}

TBasePoint* TBasePoint::Duplicate() const
{
  return new TBasePoint(*this);
}

TCurve2D::TState TBasePoint::TrimmPart(Real, Real, TCurve2D*&)
{
  return dp_NoChanged;
}

TCurve2D::TState TBasePoint::DeletePart(Real, Real, TCurve2D*&)
{
  return dp_NoChanged;
}

TCurve2D* TBasePoint::Trimmed(Real&, Real&, int) const
{
  return nullptr;
}

TCurve2D* TBasePoint::Offset(const Real&) const
{
  return nullptr;
}

void TBasePoint::Inverse() {}

void TBasePoint::Mtr(const TMtr2D&)
{
  MapThroughTransform(x, y);
  Refresh();
}

void TBasePoint::Left(Real& ox, Real& oy) const
{
  ox = x;
  oy = y;
}

void TBasePoint::Right(Real& ox, Real& oy) const
{
  ox = x;
  oy = y;
}

void TBasePoint::Top(Real& ox, Real& oy) const
{
  ox = x;
  oy = y;
}

void TBasePoint::Bottom(Real& ox, Real& oy) const
{
  ox = x;
  oy = y;
}

void TBasePoint::Rect(TRect2D& R) const
{
  R = TRect2D(x, y, x, y);
}

Integer TBasePoint::InterSect(const TCurve2D* P, TInterSector& IS) const
{
  IS.ACrossPoint.Clear();
  if (!P) return 0;
  if (IsType() != tPoint) return 20;
  Real t = P->GetTMin();
  const TPoint2D self(x, y);
  if (!P->NearPointProjection(self, IS.Eps, t, true, nullptr)) return 0;
  TPoint2D Q;
  P->PointOn(t, Q);
  if (!(std::hypot(Q.x - x, Q.y - y) < paramNear)) return 0;
  TCrossPoint& r = IS.ACrossPoint.Add();
  r.form = TCrossPoint::ipt_Simple;
  r.p = Q;
  r.on1 = TPointOnCurve(0, this);
  r.on2 = TPointOnCurve(t, P);
  return 1;
}

Integer TBasePoint::SelfIntersect(const TRegion1D&, TInterSector&, Boolean) const
{
  return 0;
}

void TBasePoint::InterSectHorizontal(Real, TAReal&) const {}
void TBasePoint::InterSectVertical(Real, TAReal&) const {}

// --- TText ---------------------------------------------------------------------------------

TText::TText() : Text(new TString()) {}

TText::TText(Real InitX, Real InitY, Real iAngle, Real iHeight, const TString& S)
    : TBasePoint(InitX, InitY), Text(new TString(S)), Angle(iAngle), Height(iHeight)
{
}

TText::TText(const TText& t) : TBasePoint(t), Text(new TString(*t.Text)), Angle(t.Angle), Height(t.Height) {}

TText& TText::operator=(const TText& t)
{
  if (this == &t) return *this;
  TString* fresh = new TString(*t.Text);
  TBasePoint::operator=(t);
  delete Text;
  Text = fresh;
  Angle = t.Angle;
  Height = t.Height;
  return *this;
}

TText::~TText()
{
  delete Text;
}

void TText::Init(Real InitX, Real InitY, Real TAngle, Real THeight, const TString& S)
{
  TString* fresh = new TString(S);
  x = InitX;
  y = InitY;
  Atr = 0;
  Angle = TAngle;
  Height = THeight;
  delete Text;
  Text = fresh;
  Refresh();
}

void TText::Store(TKmfData& S) const
{
  TBasePoint::Store(S);
  S.Write(Angle);
  S.Write(Height);
  Text->toStream(S);
}

void TText::Load(TKmfData& S)
{
  TBasePoint::Load(S);
  S.Read(Angle);
  S.Read(Height);
  TString* fresh = new TString();
  fresh->fromStream(S);
  delete Text;
  Text = fresh;
}

TText* TText::Duplicate() const
{
  return new TText(*this);
}

Integer TText::SelfIntersect(const TRegion1D&, TInterSector&, Boolean) const
{
  return 0;
}

Integer TText::InterSect(const TCurve2D*) const
{
  return 0;
}
