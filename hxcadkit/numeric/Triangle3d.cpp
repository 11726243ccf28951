#include "hxcadkit/geometry/Mathemat3d.h"

#include <algorithm>
#include <cmath>

#include "hxcadkit/core/TArray.h"
#include "hxcadkit/core/TDebug.h"
#include "hxcadkit/geometry/Elements.h"
#include "hxcadkit/geometry/GeomStream.h"

namespace {

// Below this |nz| a triangle stands too steep to cast a shadow worth testing.
constexpr double cSteepUp = 0.0005;
constexpr double cSteepDn = 0.004363309284746571; // sin 0.25 degrees
// The clipped overlap must be more than this share of each projected area.
constexpr double cMinShare = 0.04;

// XY cross product of (LB - LA) with (V - LA): positive when V lies left of LA to LB.
double Cross2D(const TPoint3D& LA, const TPoint3D& LB, const TPoint3D& V)
{
  return (LB.x - LA.x) * (V.y - LA.y) - (LB.y - LA.y) * (V.x - LA.x);
}

using geomio::Num;

} // namespace

TVector3D TTriangle3D::Normal() const
{
  const TVector3D u(A, B), v(A, C);
  TVector3D N(u.y * v.z - u.z * v.y, u.z * v.x - u.x * v.z, u.x * v.y - u.y * v.x);
  const double len = N.Len();
  if (len > 2e-6) N /= len;
  return N;
}

void TTriangle3D::getGabaritX(double& TMin, double& TMax) const
{
  TMin = std::min({A.x, B.x, C.x});
  TMax = std::max({A.x, B.x, C.x});
}

void TTriangle3D::getGabaritY(double& TMin, double& TMax) const
{
  TMin = std::min({A.y, B.y, C.y});
  TMax = std::max({A.y, B.y, C.y});
}

void TTriangle3D::getGabaritZ(double& TMin, double& TMax) const
{
  TMin = std::min({A.z, B.z, C.z});
  TMax = std::max({A.z, B.z, C.z});
}

bool TTriangle3D::IsCommonLine(double a1, double a2, double b1, double b2)
{
  if (a1 > a2) std::swap(a1, a2);
  if (b1 > b2) std::swap(b1, b2);
  return !(a1 > b2 || b1 > a2);
}

bool TTriangle3D::IsCommonGabarytXY(const TTriangle3D& T2) const
{
  double min1, max1, min2, max2;
  getGabaritX(min1, max1);
  T2.getGabaritX(min2, max2);
  if (!IsCommonLine(min1, max1, min2, max2)) return false;
  getGabaritY(min1, max1);
  T2.getGabaritY(min2, max2);
  return IsCommonLine(min1, max1, min2, max2);
}

bool TTriangle3D::RightOfLine2D(const TPoint3D& LA, const TPoint3D& LB) const
{
  const double L = (LA.x - LB.x) * (LA.x - LB.x) + (LA.y - LB.y) * (LA.y - LB.y);
  if (L < 0.25) return true;
  // The cross product is the distance to the line times the edge's length: a vertex may stand
  // up to 0.5 to the left, the play that the point test of the polygon builder allows.
  const double bound = 0.5 * std::sqrt(L);
  for (const TPoint3D* V : {&A, &B, &C})
    if (!(Cross2D(LA, LB, *V) < bound)) return false;
  return true;
}

bool TTriangle3D::OverlapXOY(const TTriangle3D& IT2) const
{
  TTriangle3D T1(*this), T2(IT2);
  for (TTriangle3D* T : {&T1, &T2})
    if (T->C.DistPointLine2D(T->A, T->B) > 0) std::swap(T->B, T->C);
  if (T2.RightOfLine2D(T1.A, T1.B) || T2.RightOfLine2D(T1.B, T1.C) || T2.RightOfLine2D(T1.C, T1.A))
    return false;
  if (T1.RightOfLine2D(T2.A, T2.B) || T1.RightOfLine2D(T2.B, T2.C) || T1.RightOfLine2D(T2.C, T2.A))
    return false;
  return true;
}

bool TTriangle3D::T2ShadowUp(const TTriangle3D& T2) const
{
  if (std::fabs(T2.Normal().z) <= cSteepUp) return false;
  if (!IsCommonGabarytXY(T2)) return false;
  return OverlapXOY(T2);
}

bool TTriangle3D::T2ShadowDn(const TTriangle3D& T2) const
{
  if (std::fabs(T2.Normal().z) <= cSteepDn) return false;
  double zMin1, zMax1, zMin2, zMax2;
  getGabaritZ(zMin1, zMax1);
  T2.getGabaritZ(zMin2, zMax2);
  if (!(zMax1 > zMin2)) return false;
  if (!IsCommonGabarytXY(T2)) return false;

  TPolyLine P1, P2, R;
  toPolygon(P1);
  T2.toPolygon(P2);
  P1.SutherlandHodgman(P2, R);
  R.Closed = true;
  if (R.Points.Count < 3) return false;

  const double Ar = std::fabs(R.OrientationArea());
  const double A1 = std::fabs(P1.OrientationArea());
  const double A2 = std::fabs(P2.OrientationArea());
  if (!(Ar > cMinShare * A2) || !(Ar > cMinShare * A1) || !(Ar <= A1) || !(Ar <= A2)) return false;

  const TDebug& D = TDebug::Instance();
  D.Output(TString(*this));
  D.Output(TString(T2));
  D.Output(TString(R));
  TString areas = Num(A1);
  areas += " ";
  areas += Num(A2);
  areas += " ";
  areas += Num(Ar);
  D.Output(areas);
  return true;
}

void TTriangle3D::toPolygon(TPolyLine& P) const
{
  P.Points.Count = 0;
  P.Points.Add(TPoint2D(A));
  if (!C.PointRightOfLine2D(A, B)) {
    P.Points.Add(TPoint2D(B));
    P.Points.Add(TPoint2D(C));
  } else {
    P.Points.Add(TPoint2D(C));
    P.Points.Add(TPoint2D(B));
  }
  P.Closed = true;
}

TTriangle3D::operator TString() const
{
  TString s;
  for (const TPoint3D* V : {&A, &B, &C}) {
    s += "(";
    s += Num(V->x);
    s += " , ";
    s += Num(V->y);
    s += " , ";
    s += Num(V->z);
    s += ")- ";
  }
  return s;
}

double TTriangle3D::AreaXY() const
{
  return 0.5 * std::fabs(A.x * B.y - A.y * B.x + B.x * C.y - B.y * C.x + C.x * A.y - A.x * C.y);
}

double SquareTriangle(const double& x1, const double& y1, const double& x2, const double& y2,
                      const double& x3, const double& y3)
{
  return std::fabs(x1 * y2 - x2 * y1 + x2 * y3 - x3 * y2 + x3 * y1 - x1 * y3);
}
