#include "hxcadkit/geometry/Mathemat3d.h"

#include <cstring>

#include "hxcadkit/core/KmfData.h"
#include "hxcadkit/geometry/GeomStream.h"
#include "hxcadkit/numeric/TVector.h"

namespace {

using geomio::Num;
using geomio::ReadReals;
using geomio::WriteReals;

// Divides by the length unless it is not above 2e-6.
Real UnitDivisor(Real L)
{
  return std::fabs(L) <= 2e-6 ? 1.0 : L;
}

// The XY cross product of B - A with P - A.
Real Cross2D(const TPoint3D& P, const TPoint3D& A, const TPoint3D& B)
{
  return (B.x - A.x) * (P.y - A.y) - (B.y - A.y) * (P.x - A.x);
}

Real Len2D(const TPoint3D& A, const TPoint3D& B)
{
  return std::sqrt((A.x - B.x) * (A.x - B.x) + (A.y - B.y) * (A.y - B.y));
}

bool AllFinite(const Real* v, int n)
{
  for (int i = 0; i < n; ++i)
    if (!std::isfinite(v[i])) return false;
  return true;
}

// Sets the rotation block of a RotAxle* matrix, normalising a pair off unit length.
void PlaceRotation(TMtr3D& m, int a, int b, Real c, Real s)
{
  const Real L = std::sqrt(c * c + s * s);
  // A zero pair has no direction: the block stays the identity's.
  if (!(L > 0)) return;
  if (std::fabs(L - 1) > 1e-8) {
    c /= L;
    s /= L;
  }
  m.M[a][a] = c;
  m.M[a][b] = s;
  m.M[b][a] = -s;
  m.M[b][b] = c;
}

// Plane coordinate along axis A; an axis without length gives 0.
Real AlongAxis(const TVector3D& D, const TVector3D& A)
{
  const Real q = A * A;
  return q <= 4e-12 ? 0.0 : (D * A) / q;
}

} // namespace

// --- TPoint3D ----------------------------------------------------------------------------

void TPoint3D::Set(const TPoint3D& O, const TVector3D& AX, const Real& ax)
{
  Set(O.x + AX.x * ax, O.y + AX.y * ax, O.z + AX.z * ax);
}

void TPoint3D::Set(const TPoint3D& O, const TVector3D& AX, const Real& ax, const TVector3D& AY,
                   const Real& ay)
{
  Set(O.x + AX.x * ax + AY.x * ay, O.y + AX.y * ax + AY.y * ay, O.z + AX.z * ax + AY.z * ay);
}

TString TPoint3D::toStr() const
{
  TString r = Num(x);
  r += " ";
  r += Num(y);
  r += " ";
  r += Num(z);
  return r;
}

void TPoint3D::Mtr(const TMtr3D& m)
{
  const Real X = x, Y = y, Z = z;
  Set(X * m.M[0][0] + Y * m.M[1][0] + Z * m.M[2][0] + m.M[3][0],
      X * m.M[0][1] + Y * m.M[1][1] + Z * m.M[2][1] + m.M[3][1],
      X * m.M[0][2] + Y * m.M[1][2] + Z * m.M[2][2] + m.M[3][2]);
}

void TPoint3D::Move(const TVector3D& V, const Real& Dist)
{
  Set(x + V.x * Dist, y + V.y * Dist, z + V.z * Dist);
}

Real TPoint3D::DistanceTo(const TPoint3D& P2) const
{
  return (*this - P2).Len();
}

TPointOnPlane TPoint3D::PointToPlane(const TPoint3D& A, const TPoint3D& B, const TPoint3D& C) const
{
  const TVector3D n = Multiply(C - A, B - A);
  const Real s = (n * (*this - A)) / UnitDivisor(n.Len());
  if (s > 0.0001) return UpPlane;
  if (s < -0.0001) return DownPlane;
  return OnPlane;
}

TPointOnLine TPoint3D::PointToLine2D(const TPoint3D& A, const TPoint3D& B) const
{
  const Real s = (B - A) * (*this - A);
  if (s > 0.0001) return RightLine;
  if (s < -0.0001) return LeftLine;
  return OnLine;
}

Real TPoint3D::DistPointLine2D(const TPoint3D& A, const TPoint3D& B) const
{
  return -Cross2D(*this, A, B) / std::fmax(Len2D(A, B), 0.0001);
}

bool TPoint3D::PointRightOfLine2D(const TPoint3D& A, const TPoint3D& B) const
{
  const Real L = Len2D(A, B);
  if (L < 0.05) return true;
  return -Cross2D(*this, A, B) / L > -0.5;
}

void TPoint3D::toStream(TKmfData& S) const
{
  WriteReals(S, &x, 3);
}

void TPoint3D::fromStream(TKmfData& S)
{
  Real v[3];
  ReadReals(S, v, 3);
  Set(v[0], v[1], v[2]);
}

TKmfData& operator<<(TKmfData& S, const TPoint3D& P)
{
  P.toStream(S);
  return S;
}

TKmfData& operator>>(TKmfData& S, TPoint3D& P)
{
  P.fromStream(S);
  return S;
}

// --- TVector3D ---------------------------------------------------------------------------

void TVector3D::Normalize()
{
  const Real L = Len();
  if (std::fabs(L) <= 2e-6) return;
  Set(x / L, y / L, z / L);
}

void TVector3D::SetMultiply(const TVector3D& A, const TVector3D& B)
{
  Set(A.y * B.z - A.z * B.y, A.z * B.x - A.x * B.z, A.x * B.y - A.y * B.x);
}

void TVector3D::Mtr(const TMtr3D& m)
{
  const Real X = x, Y = y, Z = z;
  Set(X * m.M[0][0] + Y * m.M[1][0] + Z * m.M[2][0], X * m.M[0][1] + Y * m.M[1][1] + Z * m.M[2][1],
      X * m.M[0][2] + Y * m.M[1][2] + Z * m.M[2][2]);
}

void TVector3D::Mtr(const TPlacement3D& P)
{
  *this = P.AX * x + P.AY * y + P.AZ * z;
}

bool TVector3D::IsColinear(const TVector3D& V2) const
{
  if (!(Len() > 0) || !(V2.Len() > 0)) return false;
  return Multiply(*this, V2).Len() <= 2e-6;
}

TVector3D TVector3D::TangentComponent(const TVector3D& D) const
{
  const Real q = D * D;
  if (!(q > 0)) return TVector3D();
  return D * ((*this * D) / q);
}

TVector3D TVector3D::NormalComponent(const TVector3D& D) const
{
  return *this - TangentComponent(D);
}

Real TVector3D::Angle(const TVector3D& V2) const
{
  const Real q = Len() * V2.Len();
  if (!(q > 0)) return 0;
  // atan2 of |a x b| and a.b keeps its accuracy near 0 and pi, where acos does not.
  return std::atan2(Multiply(*this, V2).Len(), *this * V2);
}

// --- TCube3D, TLine3D --------------------------------------------------------------------

bool TCube3D::IsCommon(const TCube3D& C2, Real Eps) const
{
  return C2.Max.x + Eps >= Min.x && Max.x + Eps >= C2.Min.x && C2.Max.y + Eps >= Min.y &&
         Max.y + Eps >= C2.Min.y && C2.Max.z + Eps >= Min.z && Max.z + Eps >= C2.Min.z;
}

bool TCube3D::IsCommonOnXY(const TCube3D& C2) const
{
  const Real Eps = 0.1;
  return C2.Max.x + Eps >= Min.x && Max.x + Eps >= C2.Min.x && C2.Max.y + Eps >= Min.y &&
         Max.y + Eps >= C2.Min.y;
}

void TCube3D::Add(const TCube3D& C2)
{
  Min.Set(std::fmin(Min.x, C2.Min.x), std::fmin(Min.y, C2.Min.y), std::fmin(Min.z, C2.Min.z));
  Max.Set(std::fmax(Max.x, C2.Max.x), std::fmax(Max.y, C2.Max.y), std::fmax(Max.z, C2.Max.z));
}

TKmfData& operator<<(TKmfData& S, const TCube3D& C)
{
  return S << C.Min << C.Max;
}

TKmfData& operator>>(TKmfData& S, TCube3D& C)
{
  return S >> C.Min >> C.Max;
}

Real TLine3D::DistanceTo(const TPoint3D& P) const
{
  return Multiply(Direction, O - P).Len();
}

// --- Free functions ----------------------------------------------------------------------

Real Skalar(const TVector3D& A, const TVector3D& B)
{
  return A.x * B.x + A.y * B.y + A.z * B.z;
}

Real Skalar2D(const TVector3D& A, const TVector3D& B)
{
  return A.x * B.x + A.y * B.y + A.z * B.z;
}

TVector3D Multiply(const TVector3D& A, const TVector3D& B)
{
  TVector3D r;
  r.SetMultiply(A, B);
  return r;
}

TVector3D NormalPlane(const TPoint3D& A, const TPoint3D& B, const TPoint3D& C)
{
  TVector3D n = Multiply(C - A, B - A);
  n.Normalize();
  return n;
}

bool VisualEquPoint(const TPoint3D& A, const TPoint3D& B)
{
  return (A.x - B.x) * (A.x - B.x) + (A.y - B.y) * (A.y - B.y) < 1.0;
}

bool IntersectLine(const TPoint3D& A1, const TPoint3D& A2, const TPoint3D& A3, const TPoint3D& A4)
{
  const Real den = (A1.x - A2.x) * (A4.y - A3.y) - (A4.x - A3.x) * (A1.y - A2.y);
  if (!(std::fabs(den) >= 0.0001)) return false;
  const Real tn = (A4.y - A3.y) * (A1.x - A3.x) - (A4.x - A3.x) * (A1.y - A3.y);
  const Real sn = (A1.x - A2.x) * (A1.y - A3.y) - (A1.x - A3.x) * (A1.y - A2.y);
  // Both parameters within [0.02, 0.98] whatever the sign of den, so that the answer does not
  // depend on the order in which the ends are given.
  const Real lo = den > 0 ? 0.02 * den : 0.98 * den;
  const Real hi = den > 0 ? 0.98 * den : 0.02 * den;
  if (tn < lo || tn > hi || sn < lo || sn > hi) return false;
  const Real t = tn / den;
  const TPoint3D X(A1.x + (A2.x - A1.x) * t, A1.y + (A2.y - A1.y) * t, A1.z);
  for (const TPoint3D* E : {&A1, &A2, &A3, &A4})
    if (VisualEquPoint(X, *E)) return false;
  return true;
}

TPointOnLine TriangleToLine2D(const T3dTriangle& T, const TPoint3D& A, const TPoint3D& B)
{
  for (const TPoint3D* V : {&T.A, &T.B, &T.C})
    if (V->PointToLine2D(A, B) == LeftLine) return LeftLine;
  return RightLine;
}

int PlaneIntersectLine(const TPoint3D& A, const TPoint3D& B, const TPoint3D& C, const TPoint3D& X,
                       const TPoint3D& Y, TPoint3D& R)
{
  TVector3D n = Multiply(B - A, C - A);
  n.Normalize();
  const TVector3D d = Y - X;
  const Real k = n * d;
  if (k == 0.0) return 0;
  const Real t = n * (A - X) / k;
  const TPoint3D r = X + d * t;
  // A line all but parallel to the plane meets it beyond any representable point.
  if (!std::isfinite(r.x) || !std::isfinite(r.y) || !std::isfinite(r.z)) return 0;
  R = r;
  return 1;
}

// --- TMtr3D ------------------------------------------------------------------------------

TMtr3D::TMtr3D(const TPlacement3D& P)
{
  Identity();
  oX = P.AX.Data;
  oY = P.AY.Data;
  oZ = P.AZ.Data;
  oP = P.O.Data;
}

TMtr3D::TMtr3D(const TVector3D& X, const TVector3D& Y, const TVector3D& Z)
{
  Identity();
  oX = X.Data;
  oY = Y.Data;
  oZ = Z.Data;
}

TMtr3D& TMtr3D::Identity()
{
  Zero();
  M[0][0] = M[1][1] = M[2][2] = M[3][3] = 1;
  return *this;
}

TMtr3D& TMtr3D::Zero()
{
  for (Real& v : V)
    v = 0;
  return *this;
}

void TMtr3D::Get(TPlacement3D& P) const
{
  P.AX = TVector3D(oX);
  P.AY = TVector3D(oY);
  P.AZ = TVector3D(oZ);
  P.O = TPoint3D(oP);
}

// The rows are plain three-double records laid out exactly as the vector and point types.
static_assert(sizeof(TVector3D) == sizeof(Point3D) && sizeof(TPoint3D) == sizeof(Point3D));
static_assert(std::is_standard_layout_v<TVector3D> && std::is_standard_layout_v<TPoint3D>);

TVector3D& TMtr3D::GetAxisX()
{
  return reinterpret_cast<TVector3D&>(oX);
}

TVector3D& TMtr3D::GetAxisY()
{
  return reinterpret_cast<TVector3D&>(oY);
}

TVector3D& TMtr3D::GetAxisZ()
{
  return reinterpret_cast<TVector3D&>(oZ);
}

TPoint3D& TMtr3D::GetOrigin()
{
  return reinterpret_cast<TPoint3D&>(oP);
}

bool TMtr3D::operator==(const TMtr3D& A) const
{
  for (int i = 0; i < 16; ++i)
    if (!(std::fabs(V[i] - A.V[i]) <= 2e-6)) return false;
  return true;
}

TMtr3D& TMtr3D::Set(const TPoint3D& iO, const TVector3D& iAX, const TVector3D& iAY)
{
  Identity();
  oP = iO.Data;
  TVector3D X = iAX;
  X.Normalize();
  TVector3D Y = iAY - X * (iAY * X);
  Y.Normalize();
  oX = X.Data;
  oY = Y.Data;
  oZ = ::Multiply(X, Y).Data;
  return *this;
}

TMtr3D& TMtr3D::RotAxleZ(Real RCos, Real RSin)
{
  Identity();
  PlaceRotation(*this, 0, 1, RCos, RSin);
  return *this;
}

TMtr3D& TMtr3D::RotAxleY(Real RCos, Real RSin)
{
  // Here the pair sits as M22 = c, M20 = s: a turn from Z toward X.
  Identity();
  PlaceRotation(*this, 2, 0, RCos, RSin);
  return *this;
}

TMtr3D& TMtr3D::RotAxleX(Real RCos, Real RSin)
{
  Identity();
  PlaceRotation(*this, 1, 2, RCos, RSin);
  return *this;
}

TMtr3D& TMtr3D::IdentityMove(Real x, Real y, Real z)
{
  Identity();
  oP = Point3D{x, y, z};
  return *this;
}

TMtr3D& TMtr3D::Multiply(const TMtr3D& A, const TMtr3D& B)
{
  Real r[16];
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j)
      r[4 * i + j] =
          A.M[i][0] * B.M[0][j] + A.M[i][1] * B.M[1][j] + A.M[i][2] * B.M[2][j] + A.M[i][3] * B.M[3][j];
  std::memcpy(V, r, sizeof r);
  return *this;
}

TMtr3D& TMtr3D::Multiply(const TMtr3D& B)
{
  return Multiply(TMtr3D(*this), B);
}

TMtr3D& TMtr3D::Multiply(Real k)
{
  for (Real& v : V)
    v *= k;
  return *this;
}

TMtr3D& TMtr3D::Multiply2(const TMtr3D& A, const TMtr3D& B)
{
  TMtr3D BA;
  BA.Multiply(B, A);
  for (int i = 0; i < 16; ++i)
    V[i] += BA.V[i];
  return *this;
}

TMtr3D& TMtr3D::Inversion()
{
  const Real* m = V;
  Real inv[16];
  inv[0] = m[5] * m[10] * m[15] - m[5] * m[11] * m[14] - m[9] * m[6] * m[15] + m[9] * m[7] * m[14] +
           m[13] * m[6] * m[11] - m[13] * m[7] * m[10];
  inv[4] = -m[4] * m[10] * m[15] + m[4] * m[11] * m[14] + m[8] * m[6] * m[15] - m[8] * m[7] * m[14] -
           m[12] * m[6] * m[11] + m[12] * m[7] * m[10];
  inv[8] = m[4] * m[9] * m[15] - m[4] * m[11] * m[13] - m[8] * m[5] * m[15] + m[8] * m[7] * m[13] +
           m[12] * m[5] * m[11] - m[12] * m[7] * m[9];
  inv[12] = -m[4] * m[9] * m[14] + m[4] * m[10] * m[13] + m[8] * m[5] * m[14] - m[8] * m[6] * m[13] -
            m[12] * m[5] * m[10] + m[12] * m[6] * m[9];
  inv[1] = -m[1] * m[10] * m[15] + m[1] * m[11] * m[14] + m[9] * m[2] * m[15] - m[9] * m[3] * m[14] -
           m[13] * m[2] * m[11] + m[13] * m[3] * m[10];
  inv[5] = m[0] * m[10] * m[15] - m[0] * m[11] * m[14] - m[8] * m[2] * m[15] + m[8] * m[3] * m[14] +
           m[12] * m[2] * m[11] - m[12] * m[3] * m[10];
  inv[9] = -m[0] * m[9] * m[15] + m[0] * m[11] * m[13] + m[8] * m[1] * m[15] - m[8] * m[3] * m[13] -
           m[12] * m[1] * m[11] + m[12] * m[3] * m[9];
  inv[13] = m[0] * m[9] * m[14] - m[0] * m[10] * m[13] - m[8] * m[1] * m[14] + m[8] * m[2] * m[13] +
            m[12] * m[1] * m[10] - m[12] * m[2] * m[9];
  inv[2] = m[1] * m[6] * m[15] - m[1] * m[7] * m[14] - m[5] * m[2] * m[15] + m[5] * m[3] * m[14] +
           m[13] * m[2] * m[7] - m[13] * m[3] * m[6];
  inv[6] = -m[0] * m[6] * m[15] + m[0] * m[7] * m[14] + m[4] * m[2] * m[15] - m[4] * m[3] * m[14] -
           m[12] * m[2] * m[7] + m[12] * m[3] * m[6];
  inv[10] = m[0] * m[5] * m[15] - m[0] * m[7] * m[13] - m[4] * m[1] * m[15] + m[4] * m[3] * m[13] +
            m[12] * m[1] * m[7] - m[12] * m[3] * m[5];
  inv[14] = -m[0] * m[5] * m[14] + m[0] * m[6] * m[13] + m[4] * m[1] * m[14] - m[4] * m[2] * m[13] -
            m[12] * m[1] * m[6] + m[12] * m[2] * m[5];
  inv[3] = -m[1] * m[6] * m[11] + m[1] * m[7] * m[10] + m[5] * m[2] * m[11] - m[5] * m[3] * m[10] -
           m[9] * m[2] * m[7] + m[9] * m[3] * m[6];
  inv[7] = m[0] * m[6] * m[11] - m[0] * m[7] * m[10] - m[4] * m[2] * m[11] + m[4] * m[3] * m[10] +
           m[8] * m[2] * m[7] - m[8] * m[3] * m[6];
  inv[11] = -m[0] * m[5] * m[11] + m[0] * m[7] * m[9] + m[4] * m[1] * m[11] - m[4] * m[3] * m[9] -
            m[8] * m[1] * m[7] + m[8] * m[3] * m[5];
  inv[15] = m[0] * m[5] * m[10] - m[0] * m[6] * m[9] - m[4] * m[1] * m[10] + m[4] * m[2] * m[9] +
            m[8] * m[1] * m[6] - m[8] * m[2] * m[5];
  const Real det = m[0] * inv[0] + m[1] * inv[4] + m[2] * inv[8] + m[3] * inv[12];
  if (det == 0 || !std::isfinite(det)) return Identity();
  for (Real& v : inv)
    v /= det;
  if (!AllFinite(inv, 16)) return Identity();
  std::memcpy(V, inv, sizeof inv);
  return *this;
}

TMtr3D& TMtr3D::Normalize()
{
  for (int r = 0; r < 3; ++r) {
    const Real L = std::sqrt(M[r][0] * M[r][0] + M[r][1] * M[r][1] + M[r][2] * M[r][2]);
    if (L <= 2e-6) continue;
    for (int c = 0; c < 3; ++c)
      M[r][c] /= L;
  }
  return *this;
}

void TMtr3D::Trans(const TPoint3D& A, TPoint3D& Result) const
{
  const Real x = A.x, y = A.y, z = A.z;
  Result.Set(M[0][0] * x + M[0][1] * y + M[0][2] * z + M[0][3],
             M[1][0] * x + M[1][1] * y + M[1][2] * z + M[1][3],
             M[2][0] * x + M[2][1] * y + M[2][2] * z + M[2][3]);
}

void TMtr3D::Trans2(const TPoint3D& A, TPoint3D& Result) const
{
  const Real x = A.x, y = A.y, z = A.z;
  Result.Set(M[0][0] * x + M[0][1] * y + M[0][2] * z + M[3][0],
             M[1][0] * x + M[1][1] * y + M[1][2] * z + M[3][1],
             M[2][0] * x + M[2][1] * y + M[2][2] * z + M[3][2]);
}

void TMtr3D::Trans(const TVector3D& A, TVector3D& Result) const
{
  const Real x = A.x, y = A.y, z = A.z;
  Result.Set(M[0][0] * x + M[0][1] * y + M[0][2] * z, M[1][0] * x + M[1][1] * y + M[1][2] * z,
             M[2][0] * x + M[2][1] * y + M[2][2] * z);
}

TMtr3D& TMtr3D::Move(const TVector3D& to)
{
  M[3][0] += to.x;
  M[3][1] += to.y;
  M[3][2] += to.z;
  return *this;
}

TMtr3D& TMtr3D::RotateAbout(const TVector3D& axisDir, Real angle)
{
  const Real c = std::cos(angle), s = std::sin(angle), t = 1 - c;
  const Real L = axisDir.Len();
  Real k = 1;
  if (std::fabs(L) > 2e-6 && std::fabs(L - 1) > 1e-6) k = L;
  const Real x = axisDir.x / k, y = axisDir.y / k, z = axisDir.z / k;
  TMtr3D R;
  R.M[0][0] = x * x + (1 - x * x) * c;
  R.M[0][1] = x * y * t + z * s;
  R.M[0][2] = x * z * t - y * s;
  R.M[1][0] = x * y * t - z * s;
  R.M[1][1] = y * y + (1 - y * y) * c;
  R.M[1][2] = y * z * t + x * s;
  R.M[2][0] = x * z * t + y * s;
  R.M[2][1] = y * z * t - x * s;
  R.M[2][2] = z * z + (1 - z * z) * c;
  return Multiply(TMtr3D(*this), R);
}

TMtr3D& TMtr3D::Rotate(const TPoint3D& P, const TVector3D& Vd, Real angle)
{
  Real q = Vd * Vd;
  if (q <= 1e-6) q = 1;
  // The point of the axis nearest the world origin.
  const TPoint3D Q = P + Vd * ((TPoint3D() - P) * Vd / q);
  Move(TVector3D() - TVector3D(Q));
  RotateAbout(Vd, angle);
  return Move(TVector3D(Q));
}

bool TMtr3D::DirectPointProjection(const TPoint3D& P, const TVector3D& Vd, TPoint2D& R) const
{
  TPoint3D p = P;
  p.Mtr(*this);
  TVector3D v = Vd;
  v.Mtr(*this);
  if (std::fabs(v.z) <= 1e-6 * v.MaxFactor()) return false;
  const Real t = -p.z / v.z;
  const TPoint2D r(p.x + t * v.x, p.y + t * v.y);
  // A direction all but parallel to the plane reaches it beyond any representable point.
  if (!std::isfinite(r.x) || !std::isfinite(r.y)) return false;
  R = r;
  return true;
}

void TMtr3D::toStream(TKmfData& S) const
{
  WriteReals(S, V, 16);
}

void TMtr3D::fromStream(TKmfData& S)
{
  ReadReals(S, V, 16);
}

std::vector<double>& TMtr3D::to(std::vector<double>& iV) const
{
  iV.assign(V, V + 16);
  return iV;
}

bool TMtr3D::from(const std::vector<double>& iV)
{
  if (iV.size() != 16) return false;
  for (int i = 0; i < 16; ++i)
    V[i] = iV[i];
  return true;
}

// --- TPlacement3D ------------------------------------------------------------------------

TPlacement3D::TPlacement3D(const TPoint3D& iO, const TVector3D& vx, const TVector3D& vz)
{
  O = iO;
  AZ = vz;
  AZ.Normalize();
  AX = vx - AZ * (vx * AZ);
  if (!(AX.Len() > 2e-6)) {
    // An X axis along the normal (or none) gives no direction in the plane: take the one
    // the normal alone defines.
    Set(iO, vz);
    return;
  }
  AX.Normalize();
  AY = Multiply(AZ, AX);
}

void TPlacement3D::Set(const TPoint3D& iO, const TVector3D& iAZ)
{
  O = iO;
  AZ = iAZ;
  AZ.Normalize();
  const TVector3D H = std::fabs(AZ.x) < std::fabs(AZ.y) ? TVector3D(1, 0, 0) : TVector3D(0, 1, 0);
  AX = H - AZ * (H * AZ);
  AX.Normalize();
  AY = Multiply(AZ, AX);
}

void TPlacement3D::Set(const TPoint3D& iO, const TPoint3D& px, const TPoint3D& py)
{
  Set(iO, px - iO, py - iO);
}

void TPlacement3D::Set(const TPoint3D& iO, const TVector3D& vx, const TVector3D& vy)
{
  O = iO;
  AX = vx;
  AX.Normalize();
  AY = vy - AX * (vy * AX);
  AY.Normalize();
  AZ = Multiply(AX, AY);
}

void TPlacement3D::GetMtrInto(TMtr3D& into) const
{
  into = TMtr3D(*this);
  into.Inversion();
}

void TPlacement3D::PointProjection(const TPoint3D& P, Real& x, Real& y) const
{
  VectorProjection(P - O, x, y);
}

void TPlacement3D::PointProjection(const TPoint3D& P, TPoint3D& Pon) const
{
  Real x, y;
  PointProjection(P, x, y);
  PointOn(x, y, Pon);
}

void TPlacement3D::VectorProjection(const TVector3D& Vd, Real& x, Real& y) const
{
  x = AlongAxis(Vd, AX);
  y = AlongAxis(Vd, AY);
}

Real TPlacement3D::DistanceToPoint(const TPoint3D& P) const
{
  TPoint3D Pon;
  PointProjection(P, Pon);
  return P.DistanceTo(Pon);
}

bool TPlacement3D::DirectPointProjection(const TPoint3D& P, const TVector3D& Vd, TPoint2D& R) const
{
  TMtr3D into;
  GetMtrInto(into);
  return into.DirectPointProjection(P, Vd, R);
}

bool TPlacement3D::IsParallelPlane(const TPlacement3D& P2) const
{
  const Real e = 1e-5;
  if (std::fabs(AZ.x - P2.AZ.x) <= e && std::fabs(AZ.y - P2.AZ.y) <= e && std::fabs(AZ.z - P2.AZ.z) <= e)
    return true;
  return std::fabs(AZ.x + P2.AZ.x) <= e && std::fabs(AZ.y + P2.AZ.y) <= e && std::fabs(AZ.z + P2.AZ.z) <= e;
}

bool TPlacement3D::IsSamePlane(const TPlacement3D& P2) const
{
  if (!IsParallelPlane(P2)) return false;
  TPoint3D foot;
  P2.PointProjection(O, foot);
  return foot.EquEps(O, 1e-5);
}

Real TPlacement3D::DistanceTo(const TPlacement3D& P2) const
{
  if (!IsParallelPlane(P2)) return -1.0;
  return P2.DistanceToPoint(O);
}

void TPlacement3D::GetPointFrom(const TPoint3D& P, TPoint3D& Result) const
{
  Result = O + AX * P.x + AY * P.y + AZ * P.z;
}

void TPlacement3D::PointOn(Real x, Real y, TPoint3D& Pon) const
{
  Pon = O + AX * x + AY * y;
}

void TPlacement3D::Transform(const TPlacement3D& mtr)
{
  const TPlacement3D m = mtr; // mtr may be this frame itself
  m.GetPointFrom(TPoint3D(O), O);
  for (TVector3D* A : {&AX, &AY, &AZ})
    A->Mtr(m);
}

void TPlacement3D::OriginTo(const TPoint3D& iO)
{
  TPoint3D foot;
  PointProjection(iO, foot);
  O = foot;
}

void TPlacement3D::toStream(TKmfData& S) const
{
  const Real v[12] = {O.x, O.y, O.z, AX.x, AX.y, AX.z, AY.x, AY.y, AY.z, AZ.x, AZ.y, AZ.z};
  WriteReals(S, v, 12);
}

void TPlacement3D::fromStream(TKmfData& S)
{
  Real v[12];
  ReadReals(S, v, 12);
  O.Set(v[0], v[1], v[2]);
  AX.Set(v[3], v[4], v[5]);
  AY.Set(v[6], v[7], v[8]);
  AZ.Set(v[9], v[10], v[11]);
}
