// The composite operations of the 2D modeller: rectangles, axes, rounded and chamfered corners,
// the linear-dimension family, angle and radius dimensions by points, circle callouts. Each is
// written on the virtual primitives only.
#include <cmath>

#include "hxcadkit/drawing/drModeler.h"

namespace {

constexpr double DimDeadBand = 2e-6; // a dimension of a smaller value is not drawn

double Len(double x1, double y1, double x2, double y2)
{
  return std::sqrt((x2 - x1) * (x2 - x1) + (y2 - y1) * (y2 - y1));
}

// A corner from P over C to Q rounded by r: the tangent points on both legs, the centre and
// the turn (1 left, counter-clockwise). False when the rounding does not fit: r is not
// positive or longer than a leg, the legs run straight on (or fold back), or a tangent point
// falls off its leg.
struct TCorner
{
  TPoint2D T[2];
  TPoint2D O;
  int dir = 0;
};

bool FitCorner(double px, double py, double cx, double cy, double qx, double qy, double r, TCorner& k)
{
  const double l1 = Len(px, py, cx, cy), l2 = Len(cx, cy, qx, qy);
  if (!(r > DimDeadBand) || r > l1 || r > l2) return false;
  const double u1x = (cx - px) / l1, u1y = (cy - py) / l1, u2x = (qx - cx) / l2, u2y = (qy - cy) / l2;
  const double turn = u1x * u2y - u1y * u2x, along = u1x * u2x + u1y * u2y;
  if (std::fabs(turn) < 1e-9) return false;
  // The legs meet at the angle phi = pi - (the turn's angle a); the tangents lie
  // r / tan(phi / 2) = r tan(a / 2) = r sin a / (1 + cos a) from the corner.
  const double t = r * std::fabs(turn) / (1.0 + along);
  if (!(t <= l1) || !(t <= l2)) return false;
  k.dir = turn > 0.0 ? 1 : -1;
  k.T[0] = TPoint2D(cx - u1x * t, cy - u1y * t);
  k.T[1] = TPoint2D(cx + u2x * t, cy + u2y * t);
  // The centre lies r from the first tangent point, on the side the corner turns to.
  k.O = TPoint2D(k.T[0].x - k.dir * u1y * r, k.T[0].y + k.dir * u1x * r);
  // A leg the rounding leaves shorter than the least line drawn would go undrawn and break the outline
  // between the arc and the next piece: the arc ends at the leg's end instead.
  const auto snap = [](TPoint2D& a, double x, double y) {
    if (std::fabs(a.x - x) <= LeastLine && std::fabs(a.y - y) <= LeastLine) a = TPoint2D(x, y);
  };
  snap(k.T[0], px, py);
  snap(k.T[1], qx, qy);
  return std::isfinite(k.O.x) && std::isfinite(k.O.y);
}

} // namespace

bool CornerCentre(double px, double py, double cx, double cy, double qx, double qy, double r, double& ox,
                  double& oy)
{
  TCorner k;
  if (!FitCorner(px, py, cx, cy, qx, qy, r, k)) return false;
  ox = k.O.x, oy = k.O.y;
  return true;
}

void TModeler2D::drRectAngle(const double& x1, const double& y1, const double& x2, const double& y2, int Attr)
{
  if (x1 == x2 || y1 == y2) return;
  drLine(x1, y1, x2, y1, Attr);
  drLine(x2, y1, x2, y2, Attr);
  drLine(x2, y2, x1, y2, Attr);
  drLine(x1, y2, x1, y1, Attr);
}

void TModeler2D::drCircleAxle(const double& X, const double& Y, const double& R, int Attr)
{
  constexpr double over = 2.0; // centre lines run this far past the circle
  drCircle(X, Y, R, Attr);
  drLine(X - R - over, Y, X + R + over, Y, 3);
  drLine(X, Y - R - over, X, Y + R + over, 3);
}

void TModeler2D::drCLL(const double& x0, const double& y0, const double& xc, const double& yc,
                       const double& x, const double& y, const double& r, int Attr)
{
  TCorner k;
  if (!FitCorner(x0, y0, xc, yc, x, y, r, k)) {
    drLine(x0, y0, xc, yc, Attr);
    drLine(xc, yc, x, y, Attr);
    return;
  }
  drLine(x0, y0, k.T[0].x, k.T[0].y, Attr);
  drArc(k.O.x, k.O.y, r, k.T[0].x, k.T[0].y, k.T[1].x, k.T[1].y, k.dir, Attr);
  drLine(k.T[1].x, k.T[1].y, x, y, Attr);
}

void TModeler2D::drFsk(const double& x0, const double& y0, const double& xc, const double& yc,
                       const double& x, const double& y, const double& c, int Attr)
{
  const double ax = xc - c * Zn(xc - x0), ay = yc - c * Zn(yc - y0);
  const double bx = xc + c * Zn(x - xc), by = yc + c * Zn(y - yc);
  drLine(x0, y0, ax, ay, Attr);
  drLine(ax, ay, bx, by, Attr);
  drLine(bx, by, x, y, Attr);
}

void TModeler2D::drCVR(const double& x0, const double& y0, const double& x1, const double& y1,
                       const double& x2, const double& y2, const double& x, const double& y, const double& r,
                       int Attr)
{
  TCorner k1, k2;
  bool fit1 = FitCorner(x0, y0, x1, y1, x2, y2, r, k1);
  bool fit2 = FitCorner(x1, y1, x2, y2, x, y, r, k2);
  // Two roundings that overlap on the middle leg would cross: both corners go plain.
  if (fit1 && fit2 &&
      Len(x1, y1, k1.T[1].x, k1.T[1].y) + Len(x2, y2, k2.T[0].x, k2.T[0].y) > Len(x1, y1, x2, y2))
    fit1 = fit2 = false;
  double cx = x0, cy = y0;
  // From the current point through a corner: its rounding, or the line to the corner itself.
  auto corner = [&](bool fit, const TCorner& k, double kx, double ky) {
    if (fit) {
      drLine(cx, cy, k.T[0].x, k.T[0].y, Attr);
      drArc(k.O.x, k.O.y, r, k.T[0].x, k.T[0].y, k.T[1].x, k.T[1].y, k.dir, Attr);
      kx = k.T[1].x;
      ky = k.T[1].y;
    } else {
      drLine(cx, cy, kx, ky, Attr);
    }
    cx = kx;
    cy = ky;
  };
  corner(fit1, k1, x1, y1);
  corner(fit2, k2, x2, y2);
  drLine(cx, cy, x, y, Attr);
}

// ---------------------------------------------------------------------------------------------
// The linear-dimension family

namespace {

// Which ends of a linear dimension carry an arrow: 0 both, 1 not the second, 2 not the first.
void DimEnds(int form, int& T1, int& Po1, int& T2, int& Po2)
{
  T1 = T2 = 1;
  Po1 = Po2 = 0;
  if (form == 1) {
    T2 = 0;
    Po2 = 1;
  } else if (form == 2) {
    T1 = 0;
    Po1 = 1;
  }
}

} // namespace

// Along X the dimension line is offset in y (Dx 0), along Y in x: the host's orientation rule.
#define HX_DIM_LINEAR(NAME, ALONG_X, FORM)                                                                   \
  void TModeler2D::NAME(const double& Value, const double& Off, const double& Pt, const double& X1,          \
                        const double& Y1, const double& X2, const double& Y2, const TString& S1,             \
                        const TString& S2, const TString& S3)                                                \
  {                                                                                                          \
    DimLinear(*this, ALONG_X, FORM, Value, Off, Pt, X1, Y1, X2, Y2, S1, S2, S3);                             \
  }

namespace {

void DimLinear(TModeler2D& m, bool alongX, int form, const double& Value, const double& Off, const double& Pt,
               const double& X1, const double& Y1, const double& X2, const double& Y2, const TString& S1,
               const TString& S2, const TString& S3)
{
  if (!(std::fabs(Value) > DimDeadBand)) return;
  double o = Off / m.R2D().Transf2D.ScaleMtr();
  if (o == 0.0) o = 0.1;
  if (!std::isfinite(o)) return;
  const int pt = Value > 30.0 ? 0 : SaturatingToInt(Pt);
  int T1, Po1, T2, Po2;
  DimEnds(form, T1, Po1, T2, Po2);
  const double dx = alongX ? 0.0 : o, dy = alongX ? o : 0.0;
  // Value goes on by reference: a host modeller finds the variable bound to the caller's field.
  m.drDimL(Value, EmptyStr, dx, dy, pt, 0, 0.0, 0.0, X1, Y1, T1, Po1, X2, Y2, T2, Po2, S1, S2, S3);
}

} // namespace

HX_DIM_LINEAR(drDimHL, true, 0)
HX_DIM_LINEAR(drDimHL1, true, 1)
HX_DIM_LINEAR(drDimHL2, true, 2)
HX_DIM_LINEAR(drDimVL, false, 0)
HX_DIM_LINEAR(drDimVL1, false, 1)
HX_DIM_LINEAR(drDimVL2, false, 2)
#undef HX_DIM_LINEAR

void TModeler2D::drDimApc(const double& Val, const double& FBase, const double& Rr, const double& sRr,
                          const TString& S, const double& xc, const double& yc)
{
  if (!(std::fabs(Val) > DimDeadBand)) return;
  const double a1 = FBase * TMathDef::DEGRAD, a2 = (FBase - Val) * TMathDef::DEGRAD;
  const double x1 = xc + sRr * std::cos(a1), y1 = yc + sRr * std::sin(a1);
  const double x2 = xc + sRr * std::cos(a2), y2 = yc + sRr * std::sin(a2);
  const double v = std::fabs(Val);
  drDimA(v, Val > 0.0 ? -1 : 1, FBase, Rr, 0, 0, 0.0, 0.0, x1, y1, 1, 0, x2, y2, 1, 0, S, xc, yc);
}

void TModeler2D::drDimRpp(const double& Val, int Pt, const double& Xs, const double& Ys, const double& Xp,
                          const double& Yp, int Ts, const TString& S1, const TString& S2, const TString& S3)
{
  // The centre lies on the line through both points, Val behind the arc point.
  const double phi = AngleLine(Xs, Ys, Xp, Yp);
  const double a = phi * TMathDef::DEGRAD;
  const double cx = Xs - Val * std::cos(a), cy = Ys - Val * std::sin(a);
  drDimR(Val, EmptyStr, phi, 0.0, Pt, Pt, cx, cy, Ts, 0, S1, S2, S3);
}

void TModeler2D::drCircleShelf(const double& xc, const double& yc, const double& rc, const double& xs,
                               const double& ys, const TString& ts)
{
  const double d = Len(xc, yc, xs, ys);
  if (!(d > rc) || !(d > 0.0)) return;
  drCircle(xc, yc, rc, 2);
  drShelf(txapi::txLeaderSignEnum(0), xs, ys, xs >= xc ? txapi::txLSRight : txapi::txLSLeft,
          txapi::txArrowEnum(0), 5.0, 1.0, 75.0, ts, 5.0, 1.0, 75.0, EmptyStr);
  const double ux = (xs - xc) / d, uy = (ys - yc) / d;
  drPoint(xc + rc * ux, yc + rc * uy);
  drEndObj();
}

void TModeler2D::drRectAngleAxleDim(const double& x1, const double& y1, const double& x2, const double& y2,
                                    int Attr, const TString& text, const double& dx, const double& dy)
{
  if (x1 == x2 || y1 == y2) return;
  TRegistryModeler2D& r = R2D();
  auto size = [](const TPoint3D& a, const TPoint3D& b, double v) -> TDimension3D& {
    TDimension3D& d = ADimension3D.AddSize(TDimension3D::td2DLinear);
    d.P11 = a;
    d.P12 = b;
    d.V = v;
    return d;
  };
  const TPoint3D c11(x1, y1, 0.0), c21(x2, y1, 0.0), c22(x2, y2, 0.0), c12(x1, y2, 0.0);
  if (!r.OnlySizes2D) {
    drRectAngle(x1, y1, x2, y2, Attr);
    size(c11, c21, x2 - x1);
    size(c21, c22, y2 - y1);
    size(c22, c12, x2 - x1);
    size(c12, c11, y2 - y1);
  }
  // The axes are drawn even while only sizes are.
  const bool only = r.OnlySizes2D;
  r.OnlySizes2D = false;
  drLine(x1 - 3.0, 0.0, x2 + 3.0, 0.0, 3);
  drLine(0.0, y1 - 3.0, 0.0, y2 + 3.0, 3);
  r.OnlySizes2D = only;
  // The measures: the offset of each dimension line in O.
  TDimension3D& w = size(c11, c21, x2 - x1);
  w.O = TPoint3D(0.0, dy, 0.0);
  w.Q = text;
  TDimension3D& h = size(c11, c12, y2 - y1);
  h.O = TPoint3D(dx, 0.0, 0.0);
  h.Q = text;
}
