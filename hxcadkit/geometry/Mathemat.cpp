#include "hxcadkit/geometry/Mathemat.h"

#include <cstdint>
#include <cstring>
#include <limits>

#include "hxcadkit/core/KmfData.h"
#include "hxcadkit/core/TDebug.h"
#include "hxcadkit/geometry/ElementsUtil.h"
#include "hxcadkit/geometry/GeomStream.h"

namespace {

constexpr double DegPerRadian = 57.29577951308232;

using geomio::Num;
using geomio::ReadReals;
using geomio::WriteReals;

// The crossing test shared by LS_IS and the box's exit point: segments P1 + t (P2 - P1) and
// P3 + u (P4 - P3); true with t when they are not parallel and both parameters lie within
// (-1e-8, 1.00000001).
bool SegmentCross(const TPoint2D& P1, const TPoint2D& P2, const TPoint2D& P3, const TPoint2D& P4, Real& t)
{
  const TVector2D d1(P1, P2), d2(P3, P4);
  const Real cross = d1.y * d2.x - d2.y * d1.x;
  if (!(std::fabs(cross) > d2.Len() * d1.Len() * 2e-6)) return false;
  const TVector2D w(P1, P3);
  const Real tt = (d2.x * w.y - d2.y * w.x) / cross;
  const Real u = (w.y * d1.x - w.x * d1.y) / cross;
  if (!(-1e-8 < tt && tt < 1.00000001)) return false;
  if (!(-1e-8 < u && u < 1.00000001)) return false;
  t = tt;
  return true;
}

// Plane transforms as factors of a product.
TMtr2D Translation(double x, double y)
{
  TMtr2D T;
  T.M[2][0] = x;
  T.M[2][1] = y;
  return T;
}

TMtr2D Rotation(double c, double s)
{
  TMtr2D R;
  R.M[0][0] = c;
  R.M[0][1] = s;
  R.M[1][0] = -s;
  R.M[1][1] = c;
  return R;
}

TMtr2D Diagonal(double sx, double sy)
{
  TMtr2D S;
  S.M[0][0] = sx;
  S.M[1][1] = sy;
  return S;
}

TMtr2D Product(const TMtr2D& a, const TMtr2D& b)
{
  TMtr2D r;
  TMtr2D::Multiply(a, b, r);
  return r;
}

// Scale, rotation by Angle degrees, then translation.
TMtr2D Frame(double x, double y, double Angle, double Scale)
{
  TMtr2D m;
  if (std::fabs(Scale - 1) > 1e-10) m = Diagonal(Scale, Scale);
  // Turned by none, the product would give m back bit for bit: a piece placed without a turn skips it.
  if (const double a = Angle / DegPerRadian; a != 0.0) m = Product(m, Rotation(std::cos(a), std::sin(a)));
  return Product(m, Translation(x, y));
}

// Unit direction of V; a vector shorter than 2e-6 is used as it is.
TVector2D Unit(TVector2D V)
{
  V.Normalize();
  return V;
}

template <class F> int SolveSquare(F a, F b, F c, F& x1, F& x2, F Eps, F& p, F& q4, F& D)
{
  p = q4 = D = 0;
  if (std::fabs(a) < Eps) {
    if (std::fabs(b) < Eps) return 0;
    x1 = x2 = -c / b;
    return 1;
  }
  p = b / a;
  q4 = 4 * c / a;
  D = p * p - q4;
  const F s = (p * p < Eps && std::fabs(q4) < Eps) ? F(1) : std::max(std::fabs(p), std::sqrt(std::fabs(q4)));
  const F tol = s * Eps;
  if (D > F(2e-7)) {
    const F r = std::sqrt(D);
    if (r > std::min(tol, Eps)) {
      x1 = (r - p) / 2;
      x2 = (-p - r) / 2;
      if (std::fabs(x1 - x2) >= Eps) return 2;
      x1 = x2 = (x1 + x2) / 2;
      return 1;
    }
    x1 = x2 = -p / 2;
    return 1;
  }
  if (std::fabs(D) < std::max(tol, Eps)) {
    x1 = x2 = -p / 2;
    return 1;
  }
  return 0;
}

} // namespace

Integer SaturatingToInt(double v)
{
  if (std::isnan(v)) return 0;
  if (v >= 2147483647.0) return std::numeric_limits<Integer>::max();
  if (v <= -2147483648.0) return std::numeric_limits<Integer>::min();
  return Integer(v);
}

// --- TPoint2D, TVector2D -----------------------------------------------------------------

template <> void TPoint2D::Read(TKmfData& S)
{
  Real v[2];
  ReadReals(S, v, 2);
  x = v[0];
  y = v[1];
}

template <> void TPoint2D::Write(TKmfData& S) const
{
  const Real v[2] = {x, y};
  WriteReals(S, v, 2);
}

template <> TString TPoint2D::GetStr() const
{
  TString r = Num(x);
  r += " ";
  r += Num(y);
  return r;
}

template <> Real TPoint2D::IsLeftOf(const TPoint2D& A, const TPoint2D& B) const
{
  return (x - B.x) * (B.y - A.y) - (y - B.y) * (B.x - A.x);
}

template <> Real TPoint2D::DistanceToSegment(Real x1, Real y1, Real x2, Real y2) const
{
  if (std::fabs(x1 - x2) <= 1e-4 && std::fabs(y1 - y2) <= 1e-4) return LenLine(x, y, x1, y1);
  const Real Dx = x2 - x1, Dy = y2 - y1;
  const Real L2 = Dx * Dx + Dy * Dy;
  const Real u = ((x - x1) * Dx + (y - y1) * Dy) / L2;
  if (u > 1) return LenLine(x, y, x2, y2);
  if (u < 0) return LenLine(x, y, x1, y1);
  return std::fabs(Dx * (y - y1) - Dy * (x - x1)) / std::sqrt(L2);
}

void TVector2D::Normalize()
{
  const Real L = Len();
  if (std::fabs(L) <= 2e-6) return;
  x /= L;
  y /= L;
}

void TVector2D::Rotate(double const& a)
{
  const Real c = std::cos(a), s = std::sin(a);
  const Real nx = x * c - y * s;
  y = x * s + y * c;
  x = nx;
}

void TVector2D::Rotate(TVector2D const& W)
{
  const Real nx = x * W.x - y * W.y;
  y = x * W.y + y * W.x;
  x = nx;
}

TLocation TVector2D::Relative(TVector2D const& W) const
{
  const Real la = Len(), lb = W.Len();
  if (la < 2e-6 || lb < 2e-6) return tl_On;
  const Real s = (x * W.y - W.x * y) / (la * lb);
  if (std::fabs(s) < 2e-6) return tl_On;
  return s > 0 ? tl_Left : tl_Right;
}

Real TVector2D::AngleInRadian() const
{
  if (std::fabs(x) <= 1e-10 && std::fabs(y) <= 1e-10) return 0;
  const Real a = std::atan2(y, x);
  if (std::fabs(a) < 1e-8) return 0;
  return a < 0 ? a + C_2PI : a;
}

// --- TRect2D, TORect2D -------------------------------------------------------------------

template <> TPoint2D TRect2D::PointOnSide(const TPoint2D& P, const TVector2D& V) const
{
  const TPoint2D End = P + V * 10001.0;
  const TPoint2D LU(LD.x, RU.y), RD(RU.x, LD.y);
  const TPoint2D sides[4][2] = {{LD, LU}, {LU, RU}, {RU, RD}, {RD, LD}};
  for (const auto& side : sides) {
    Real t;
    if (SegmentCross(P, End, side[0], side[1], t)) return P + V * (t * 10001.0);
  }
  return TPoint2D(0, 0);
}

template <> TString TRect2D::GetStr() const
{
  TString r("((");
  r += Num(LD.x);
  r += ",";
  r += Num(LD.y);
  r += ")-(";
  r += Num(RU.x);
  r += ",";
  r += Num(RU.y);
  r += "))";
  return r;
}

template <> void TRect2D::toStream(TKmfData& S) const
{
  const Real v[4] = {LD.x, LD.y, RU.x, RU.y};
  WriteReals(S, v, 4);
}

template <> void TRect2D::fromStream(TKmfData& S)
{
  Real v[4];
  ReadReals(S, v, 4);
  LD.Set(v[0], v[1]);
  RU.Set(v[2], v[3]);
}

TString TORect2D::GetStr() const
{
  TString r("((");
  r += Num(xc);
  r += ",";
  r += Num(yc);
  r += ") ";
  r += Num(Angle);
  r += ",";
  r += Num(Length);
  r += Num(Width);
  r += ")";
  return r;
}

// --- TRegion1D ---------------------------------------------------------------------------

void TRegion1D::Snap(Real& t, Real const& eps) const
{
  if (std::fabs(t - max) <= eps) t = max;
  if (std::fabs(t - min) <= eps) t = min;
}

void TRegion1D::Wrap(Real& t, Real const& eps) const
{
  const Real P = max - min;
  // An interval without length has no period to wrap by.
  if (!(P > 1e-7)) {
    Snap(t, eps);
    return;
  }
  const Real q = t / P;
  if (std::fabs(q) < 1e15) {
    t -= std::floor(q) * P;
  } else {
    t = std::fmod(t, P);
    if (t < 0) t += P;
  }
  ElementsUtil::StepUp(t, min, P);
  ElementsUtil::StepDown(t, max - eps, P);
  if (std::fabs(t - min) <= eps) t = min;
}

Boolean TRegion1D::Check(Boolean ext, Real const& tRegion, Real& t) const
{
  if (ext) return true;
  if (min - tRegion < t && t < max + tRegion) return true;
  t = t < min ? min : max;
  return false;
}

void TRegion1D::CorrectParameter(Boolean keep, Boolean wrap, Real& t, Real const& eps) const
{
  if (wrap && !keep)
    Wrap(t, eps);
  else
    Snap(t, eps);
}

Boolean TRegion1D::CorrectCheckParameter(Boolean closed, Boolean ext, Real const& tRegion, Real& t) const
{
  if (closed && !ext)
    Wrap(t, tRegion);
  else
    Snap(t, tRegion);
  return Check(ext, tRegion, t);
}

void TRegion1D::CorrectNearParameter(Boolean ext, Real const& period, Real& p, Real const& eps) const
{
  if (!(period > 1e-7)) {
    Snap(p, eps);
    return;
  }
  if (std::fabs(period - (max - min)) < eps) {
    ElementsUtil::StepUp(p, min, period);
    ElementsUtil::StepDown(p, ext ? max : max - eps, period);
    Snap(p, eps);
    return;
  }
  // Below the interval: every step that still lands below min - eps brings p nearer, so a
  // long way is jumped at once; near the interval each step is weighed.
  if (p < min - eps) {
    const Real n = std::floor((min - eps - p) / period);
    if (!std::isfinite(n))
      p = min;
    else if (n > 16)
      p += (n - 8) * period;
  }
  for (int i = 0; i < 64 && p < min - eps; ++i) {
    const Real q = p + period;
    if (q <= max || std::fabs(p - min) - 1e-8 > std::fabs(q - min) ||
        std::fabs(p - min) - 1e-8 > std::fabs(q - max))
      p = q;
    else
      break;
  }
  if (p > max + eps) {
    const Real n = std::floor((p - max - eps) / period);
    if (!std::isfinite(n))
      p = max;
    else if (n > 16)
      p -= (n - 8) * period;
  }
  for (int i = 0; i < 64 && p > max + eps; ++i) {
    const Real q = p - period;
    if (q >= min || std::fabs(p - max) - 1e-8 > std::fabs(q - max) ||
        std::fabs(p - max) - 1e-8 > std::fabs(q - min))
      p = q;
    else
      break;
  }
  Snap(p, eps);
}

Boolean TRegion1D::CorrectCheckNearParameter(Real const& tPeriod, Boolean ext, Real const& tRegion,
                                             Real& t) const
{
  CorrectNearParameter(ext, tPeriod, t, tRegion);
  return Check(ext, tRegion, t);
}

// --- TMtr2D ------------------------------------------------------------------------------

TMtr2D::TMtr2D(double x, double y, double Angle, double Scale)
{
  Set(Frame(x, y, Angle, Scale));
}

TMtr2D& TMtr2D::Init()
{
  for (int i = 0; i < 9; ++i)
    V[i] = 0;
  M[0][0] = M[1][1] = M[2][2] = 1;
  return *this;
}

TMtr2D& TMtr2D::drMtr(double x, double y, double Angle, double Scale)
{
  Multiply(Frame(x, y, Angle, Scale), *this, *this);
  return *this;
}

TMtr2D& TMtr2D::Init(TPoint2D const& pc, double sx, double sy)
{
  if (std::fabs(sx - 1) <= 1e-10) sx = 1;
  if (std::fabs(sy - 1) <= 1e-10) sy = 1;
  Set(Product(Product(Translation(-pc.x, -pc.y), Diagonal(sx, sy)), Translation(pc.x, pc.y)));
  return *this;
}

TMtr2D& TMtr2D::Init(TPoint2D const& pc, double angle)
{
  const TMtr2D R = Rotation(std::cos(angle), std::sin(angle));
  Set(Product(Product(Translation(-pc.x, -pc.y), R), Translation(pc.x, pc.y)));
  return *this;
}

TMtr2D& TMtr2D::Move(double x, double y)
{
  Multiply(*this, Translation(x, y), *this);
  return *this;
}

TMtr2D& TMtr2D::Rotate(double a)
{
  Multiply(*this, Rotation(std::cos(a), std::sin(a)), *this);
  return *this;
}

TMtr2D& TMtr2D::Rotate(TVector2D W)
{
  W = Unit(W);
  Multiply(*this, Rotation(W.x, W.y), *this);
  return *this;
}

TMtr2D& TMtr2D::Rotate(TPoint2D const& P, TVector2D W)
{
  W = Unit(W);
  const TMtr2D about = Product(Product(Translation(-P.x, -P.y), Rotation(W.x, W.y)), Translation(P.x, P.y));
  Multiply(*this, about, *this);
  return *this;
}

TMtr2D& TMtr2D::Scale(double s)
{
  if (std::fabs(s - 1) <= 1e-10) return *this;
  Multiply(*this, Diagonal(s, s), *this);
  return *this;
}

TMtr2D& TMtr2D::ScaleX(double s)
{
  if (std::fabs(s - 1) <= 1e-10) return *this;
  for (int r = 0; r < 3; ++r)
    M[r][0] *= s;
  return *this;
}

TMtr2D& TMtr2D::ScaleY(double s)
{
  if (std::fabs(s - 1) <= 1e-10) return *this;
  for (int r = 0; r < 3; ++r)
    M[r][1] *= s;
  return *this;
}

TMtr2D& TMtr2D::Shift(double k)
{
  if (std::fabs(k) <= 1e-10) return *this;
  TMtr2D S;
  S.M[0][1] = S.M[1][0] = k;
  Multiply(*this, S, *this);
  return *this;
}

TMtr2D& TMtr2D::ShiftX(double k)
{
  if (std::fabs(k) <= 1e-10) return *this;
  TMtr2D S;
  S.M[1][0] = k;
  Multiply(*this, S, *this);
  return *this;
}

TMtr2D& TMtr2D::ShiftY(double k)
{
  if (std::fabs(k) <= 1e-10) return *this;
  TMtr2D S;
  S.M[0][1] = k;
  Multiply(*this, S, *this);
  return *this;
}

TMtr2D& TMtr2D::Symmetry(TPoint2D const& P, TVector2D const& W)
{
  const TVector2D u = Unit(W);
  TMtr2D Ref;
  Ref.M[0][0] = u.x * u.x - u.y * u.y;
  Ref.M[0][1] = Ref.M[1][0] = 2 * u.x * u.y;
  Ref.M[1][1] = u.y * u.y - u.x * u.x;
  Set(Product(Product(Translation(-P.x, -P.y), Ref), Translation(P.x, P.y)));
  return *this;
}

void TMtr2D::Multiply(TMtr2D const& a, TMtr2D const& b, TMtr2D& out)
{
  // Into a scratch first, so that out may be one of the factors.
  Real r[3][3];
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j)
      r[i][j] = a.M[i][0] * b.M[0][j] + a.M[i][1] * b.M[1][j] + a.M[i][2] * b.M[2][j];
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j)
      out.M[i][j] = r[i][j];
}

TMtr2D& TMtr2D::Adj()
{
  std::swap(M[0][1], M[1][0]);
  std::swap(M[0][2], M[2][0]);
  std::swap(M[1][2], M[2][1]);
  return *this;
}

Real TMtr2D::Delta(int line, int column, int dim) const
{
  if (dim < 1 || dim > 3 || line < 0 || line >= dim || column < 0 || column >= dim) return 0;
  const Real sign = ((line + column) % 2 == 0) ? 1.0 : -1.0;
  int rows[2], cols[2], n = 0;
  for (int i = 0; i < dim; ++i)
    if (i != line) rows[n++] = i;
  n = 0;
  for (int j = 0; j < dim; ++j)
    if (j != column) cols[n++] = j;
  switch (dim) {
  case 1:
    return sign;
  case 2:
    return sign * M[rows[0]][cols[0]];
  default:
    return sign * (M[rows[0]][cols[0]] * M[rows[1]][cols[1]] - M[rows[0]][cols[1]] * M[rows[1]][cols[0]]);
  }
}

Real TMtr2D::Det(int dim) const
{
  if (dim < 1 || dim > 3) return 0;
  Real d = 0;
  for (int j = 0; j < dim; ++j)
    d += M[0][j] * Delta(0, j, dim);
  return d;
}

void TMtr2D::Div(TMtr2D& out) const
{
  const Real det = Det(3);
  TMtr2D r;
  if (det != 0 && std::isfinite(det)) {
    for (int i = 0; i < 3; ++i)
      for (int j = 0; j < 3; ++j)
        r.M[j][i] = Delta(i, j, 3) / det;
    for (int i = 0; i < 9; ++i)
      if (!std::isfinite(r.V[i])) {
        r.Init();
        break;
      }
  }
  out.Set(r);
}

Real TMtr2D::GetScaleX() const
{
  return std::sqrt(M[0][0] * M[0][0] + M[1][0] * M[1][0] + M[2][0] * M[2][0]);
}

Real TMtr2D::GetScaleY() const
{
  return std::sqrt(M[0][1] * M[0][1] + M[1][1] * M[1][1] + M[2][1] * M[2][1]);
}

void TMtr2D::TransformScalarX(double& v) const
{
  v *= std::sqrt(M[0][0] * M[0][0] + M[0][1] * M[0][1]);
}

void TMtr2D::toStream(TKmfData& S) const
{
  WriteReals(S, V, 9);
}

void TMtr2D::fromStream(TKmfData& S)
{
  ReadReals(S, V, 9);
}

// --- TArrayOfReal ------------------------------------------------------------------------

TArrayOfReal::TArrayOfReal()
{
  for (Real& v : V)
    v = ChaosValue;
}

TArrayOfReal::TDebugReal::operator double const&() const
{
  if (Ref == ChaosValue) {
    TString text("TArrayOfReal: ");
    text += Owner.LastName;
    text += "[";
    text += TString(int(Owner.LastI));
    text += "] read before it was set";
    TDebug::Instance().Output(text);
  }
  return Ref;
}

TArrayOfReal::TDebugReal TArrayOfReal::Get(char name, int i) const
{
  static const Real unset = ChaosValue;
  LastName = name;
  LastI = i;
  return TDebugReal(*this, (i >= 0 && i < Count) ? V[i] : unset);
}

void TArrayOfReal::Set(int i, Real v)
{
  if (i >= 0 && i < Count) V[i] = v;
}

void TArrayOfReal::toStream(TKmfData& S) const
{
  WriteReals(S, V, Count);
}

void TArrayOfReal::fromStream(TKmfData& S)
{
  ReadReals(S, V, Count);
}

// --- Scalar helpers ----------------------------------------------------------------------

double MaxDivisible(double const& v, int step)
{
  const std::int64_t i = SaturatingToInt(v);
  if (step == 0 || i % step == 0) return double(i);
  return double(i >= 1 ? (i / step + 1) * step : (i / step) * step);
}

double MinDivisible(double const& v, int step)
{
  const std::int64_t i = SaturatingToInt(v);
  if (step == 0 || i % step == 0) return double(i);
  return double(i < 0 ? (i / step - 1) * step : (i / step) * step);
}

double MaxDivisible(double const& size, double const& divid)
{
  if (!(std::fabs(divid) > 1e-4)) return size;
  const double m = SaturatingToInt(size / divid) * divid;
  if (std::fabs(m - size) <= 1e-4 || size <= 0) return m;
  return m + divid;
}

double MinDivisible(double const& size, double const& divid)
{
  if (!(std::fabs(divid) > 1e-4)) return size;
  const double m = SaturatingToInt(size / divid) * divid;
  if (std::fabs(m - size) > 1e-4 && size < 0) return m - divid;
  return m;
}

double Divisible(double const& size, double const& divid)
{
  if (!(std::fabs(divid) > 1e-4)) return size;
  const double m = SaturatingToInt(size / divid) * divid;
  if (size > 0) return (m + divid - size) < (size - m) ? m + divid : m;
  return (size - (m - divid)) < (m - size) ? m - divid : m;
}

int AbsZn(double const& v)
{
  return std::fabs(v) > 2e-6 ? 1 : 0;
}

int Zn(double const& v)
{
  if (v > 2e-6) return 1;
  if (v < -2e-6) return -1;
  return 0;
}

int SquareEquation(double a, double b, double c, double& x1, double& x2, double Eps)
{
  double p, q4, D;
  int n = SolveSquare<double>(a, b, c, x1, x2, Eps, p, q4, D);
  if (std::isfinite(p) && std::isfinite(q4) && std::isfinite(D) && std::isfinite(x1) && std::isfinite(x2))
    return n;
  // The quotients overflowed: solve again with the wider type and keep the roots a double can
  // hold.
  long double X1 = 0, X2 = 0, lp, lq4, lD;
  n = SolveSquare<long double>(a, b, c, X1, X2, Eps, lp, lq4, lD);
  if (n == 2) {
    // At these magnitudes (r - p) / 2 loses the small root entirely; take it from the product
    // of the roots instead.
    const long double r = std::sqrt(lD);
    const long double big = lp >= 0 ? (-lp - r) / 2 : (-lp + r) / 2;
    const long double small = big != 0 ? (lq4 / 4) / big : 0;
    X1 = std::max(big, small);
    X2 = std::min(big, small);
  }
  const long double big = std::numeric_limits<double>::max();
  const bool ok1 = n >= 1 && std::fabs(X1) <= big;
  const bool ok2 = n == 2 && std::fabs(X2) <= big;
  if (ok1 && ok2) {
    x1 = double(X1);
    x2 = double(X2);
    return 2;
  }
  if (ok1 || ok2) {
    x1 = x2 = double(ok1 ? X1 : X2);
    return 1;
  }
  return 0;
}

double AngleLine(double const& x2, double const& y2, double const& x3, double const& y3)
{
  if (x2 == x3) return y2 <= y3 ? 90.0 : 270.0;
  if (y2 == y3) return x3 < x2 ? 180.0 : 0.0;
  if (x2 <= x3) {
    if (y2 <= y3) return std::atan((y3 - y2) / (x3 - x2)) * DegPerRadian;
    return 360.0 - std::atan((y2 - y3) / (x3 - x2)) * DegPerRadian;
  }
  if (y2 <= y3) return 90.0 + std::atan((x2 - x3) / (y3 - y2)) * DegPerRadian;
  return 270.0 - std::atan((x2 - x3) / (y2 - y3)) * DegPerRadian;
}

double LenLine(double const& x1, double const& y1, double const& x2, double const& y2)
{
  return std::sqrt((x1 - x2) * (x1 - x2) + (y1 - y2) * (y1 - y2));
}

int CountDigisAfterDot(double const& x)
{
  double s = x;
  for (int k = 0; k <= 10; ++k) {
    // A value beyond the 32-bit range has no integer part to compare with.
    if (std::fabs(s) < 2147483648.0 && std::fabs(double(Integer(s)) - s) <= 0.002) return k;
    s *= 10;
  }
  return 11;
}

double NormAngle(double const& a)
{
  if (a > 360) return a - 360;
  if (a < 0) return a + 360;
  if (std::fabs(a) <= 1e-6) return 360;
  return a;
}

int LS_IS(TPoint2D const& P1, TPoint2D const& P2, TPoint2D const& P3, TPoint2D const& P4, TPoint2D& P)
{
  Real t;
  if (!SegmentCross(P1, P2, P3, P4, t)) return 0;
  P = P1 + (P2 - P1) * t;
  return 1;
}

unsigned StreamBlockRead(TKmfData& s, void* p, unsigned int n)
{
  return s.BlockRead(p, n);
}

void StreamBlockWrite(TKmfData& s, void* p, unsigned int n)
{
  s.BlockWrite(p, n);
}
