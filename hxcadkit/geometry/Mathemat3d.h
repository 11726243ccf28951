#pragma once
// Spatial value types: point, vector, box and line with the free functions on them, the 4x4
// matrix and the local frame that carry every placement exchanged with the host.
// Points are row vectors: P' = (x, y, z, 1) * M, so row 3 of a matrix is its shift.
#include <cmath>
#include <type_traits>
#include <vector>

#include "hxcadkit/core/DString.h"
#include "hxcadkit/core/Types.h"
#include "hxcadkit/geometry/Mathemat.h"

class TKmfData;
class TPolyLine;
class TMtr3D;
class TPlacement3D;
class TVector3D;
struct T3dTriangle;

// Plain three-double record; the matrix overlays its rows with it.
struct Point3D
{
  Real x, y, z;
};

// Side of a point against a plane (UpPlane: the side NormalPlane points into).
enum TPointOnPlane { OnPlane = 0, UpPlane = 1, DownPlane = 2 };

// Place of a point against a line: ahead of its start (RightLine) or behind it (LeftLine).
enum TPointOnLine { OnLine = 0, LeftLine = 1, RightLine = 2 };

class TPoint3D
{
public:
  union {
    struct
    {
      Real x, y, z;
    };
    struct
    {
      Real dx, dy, dz;
    };
    Point3D Data;
  };

  constexpr TPoint3D() : Data{0, 0, 0} {}
  constexpr TPoint3D(Real ix, Real iy, Real iz) : Data{ix, iy, iz} {}
  constexpr TPoint3D(const Point3D& p) : Data(p) {}
  constexpr explicit TPoint3D(const TPoint2D& p) : Data{p.x, p.y, 0} {}

  void Set(Real ix, Real iy, Real iz)
  {
    x = ix;
    y = iy;
    z = iz;
  }
  // P = O + AX * x.
  void Set(const TPoint3D& O, const TVector3D& AX, const Real& ax);
  // P = O + AX * x + AY * y.
  void Set(const TPoint3D& O, const TVector3D& AX, const Real& ax, const TVector3D& AY, const Real& ay);

  bool operator==(const TPoint3D& P) const { return x == P.x && y == P.y && z == P.z; }
  bool operator!=(const TPoint3D& P) const { return !(*this == P); }
  TPoint3D& operator+=(const TPoint3D& P)
  {
    x += P.x;
    y += P.y;
    z += P.z;
    return *this;
  }
  TPoint3D& operator-=(const TPoint3D& P)
  {
    x -= P.x;
    y -= P.y;
    z -= P.z;
    return *this;
  }
  TPoint3D& operator/=(Real k)
  {
    x /= k;
    y /= k;
    z /= k;
    return *this;
  }
  // Coinciding points: every coordinate within 1e-4.
  bool Equ(const TPoint3D& P) const { return EquEps(P, TMathDef::paramNear); }
  bool EquEps(const TPoint3D& P, Real eps) const
  {
    return std::fabs(x - P.x) <= eps && std::fabs(y - P.y) <= eps && std::fabs(z - P.z) <= eps;
  }
  // On the Z axis: x and y within 2e-6 of zero.
  bool OnAxleZ() const
  {
    return std::fabs(x) <= TMathDef::paramPrecision && std::fabs(y) <= TMathDef::paramPrecision;
  }
  // "x y z", each number with 2 decimals in a field of 7.
  TString toStr() const;
  operator TPoint2D() const { return TPoint2D(x, y); }

  void Swap(TPoint3D& P2)
  {
    const Point3D t = Data;
    Data = P2.Data;
    P2.Data = t;
  }
  // P = x row0 + y row1 + z row2 + row3 (the fourth column is not used).
  void Mtr(const TMtr3D& mtr);
  void Move(const TVector3D& V, const Real& Dist);
  Real DistanceTo(const TPoint3D& P2) const;
  TPointOnPlane PointToPlane(const TPoint3D& A, const TPoint3D& B, const TPoint3D& C) const;
  TPointOnLine PointToLine2D(const TPoint3D& A, const TPoint3D& B) const;
  // Signed XY distance to the line A-B, positive on the right of A to B.
  Real DistPointLine2D(const TPoint3D& A, const TPoint3D& B) const;
  // Right of A to B, or within 0.5 to its left; every point for a segment shorter than 0.05.
  bool PointRightOfLine2D(const TPoint3D& A, const TPoint3D& B) const;

  // Stream form: x, y, z as raw 8-byte doubles, 24 bytes.
  void toStream(TKmfData& S) const;
  void fromStream(TKmfData& S);
};

class TVector3D : public TPoint3D
{
public:
  constexpr TVector3D() = default;
  constexpr TVector3D(Real ix, Real iy, Real iz) : TPoint3D(ix, iy, iz) {}
  constexpr TVector3D(const Point3D& p) : TPoint3D(p) {}
  constexpr explicit TVector3D(const TPoint3D& p) : TPoint3D(p) {}
  // From A to B.
  constexpr TVector3D(const TPoint3D& A, const TPoint3D& B) : TPoint3D(B.x - A.x, B.y - A.y, B.z - A.z) {}

  using TPoint3D::Set;
  void Set(const TPoint3D& A, const TPoint3D& B) { TPoint3D::Set(B.x - A.x, B.y - A.y, B.z - A.z); }
  TVector3D& operator*=(Real k)
  {
    x *= k;
    y *= k;
    z *= k;
    return *this;
  }
  void Add(const TVector3D& V) { *this += V; }
  void Reverse() { TPoint3D::Set(-x, -y, -z); }

  Real Len() const { return std::sqrt(x * x + y * y + z * z); }
  // Unit length, unless not longer than 2e-6 (then unchanged).
  void Normalize();
  // V = A x B.
  void SetMultiply(const TVector3D& A, const TVector3D& B);
  // V = x row0 + y row1 + z row2 (a direction takes no shift).
  void Mtr(const TMtr3D& mtr);
  // Local direction of the frame P in its parent's coordinates.
  void Mtr(const TPlacement3D& P);
  // Collinear: both non-zero and their cross product not longer than 2e-6.
  bool IsColinear(const TVector3D& V2) const;
  // The in-plane perpendicular (-y, x, 0).
  TVector3D PerpendicularXOY() const { return TVector3D(-y, x, 0); }
  // The largest absolute component.
  Real MaxFactor() const { return std::fmax(std::fabs(x), std::fmax(std::fabs(y), std::fabs(z))); }
  // The parts of this vector along D and across it (D of any non-zero length; a zero D leaves
  // everything across it).
  TVector3D TangentComponent(const TVector3D& D) const;
  TVector3D NormalComponent(const TVector3D& D) const;
  // Angle to V2 in radians, [0, pi]; 0 when either is zero.
  Real Angle(const TVector3D& V2) const;
};

inline TVector3D operator-(const TPoint3D& A, const TPoint3D& B)
{
  return TVector3D(A.x - B.x, A.y - B.y, A.z - B.z);
}
inline TVector3D operator-(const TVector3D& A, const TVector3D& B)
{
  return TVector3D(A.x - B.x, A.y - B.y, A.z - B.z);
}
inline TPoint3D operator-(const TPoint3D& A, const TVector3D& V)
{
  return TPoint3D(A.x - V.x, A.y - V.y, A.z - V.z);
}
inline TPoint3D operator+(const TPoint3D& A, const TVector3D& V)
{
  return TPoint3D(A.x + V.x, A.y + V.y, A.z + V.z);
}
inline TVector3D operator+(const TVector3D& A, const TVector3D& B)
{
  return TVector3D(A.x + B.x, A.y + B.y, A.z + B.z);
}
inline TVector3D operator-(const TVector3D& V)
{
  return TVector3D(-V.x, -V.y, -V.z);
}
inline TVector3D operator*(const TVector3D& V, Real k)
{
  return TVector3D(V.x * k, V.y * k, V.z * k);
}
inline TVector3D operator*(Real k, const TVector3D& V)
{
  return V * k;
}
// Dot product.
inline Real operator*(const TVector3D& A, const TVector3D& B)
{
  return A.x * B.x + A.y * B.y + A.z * B.z;
}

// Axis-aligned box. A new box is empty (Min above Max), so that Add of any box gives that box.
class TCube3D
{
public:
  TPoint3D Min, Max;

  TCube3D() { SetEmpty(); }
  TCube3D(const TPoint3D& iMin, const TPoint3D& iMax) : Min(iMin), Max(iMax) {}

  void SetEmpty()
  {
    Min.Set(1e300, 1e300, 1e300);
    Max.Set(-1e300, -1e300, -1e300);
  }
  bool Empty() const { return Min.x > Max.x || Min.y > Max.y || Min.z > Max.z; }

  Real GetXMin() const { return Min.x; }
  Real GetXMax() const { return Max.x; }
  Real GetYMin() const { return Min.y; }
  Real GetYMax() const { return Max.y; }
  Real GetZMin() const { return Min.z; }
  Real GetZMax() const { return Max.z; }
  Real& XMin() { return Min.x; }
  Real& XMax() { return Max.x; }
  Real& YMin() { return Min.y; }
  Real& YMax() { return Max.y; }
  Real& ZMin() { return Min.z; }
  Real& ZMax() { return Max.z; }
  Real DX() const { return Max.x - Min.x; }
  Real DY() const { return Max.y - Min.y; }
  TPoint3D GetCenter() const
  {
    return TPoint3D((Min.x + Max.x) / 2, (Min.y + Max.y) / 2, (Min.z + Max.z) / 2);
  }
  bool operator==(const TCube3D& C) const { return Min == C.Min && Max == C.Max; }
  bool EquEps(const TCube3D& C, Real eps) const { return Min.EquEps(C.Min, eps) && Max.EquEps(C.Max, eps); }
  // Grows the box to take in P.
  void Enlarge(const TPoint3D& P)
  {
    Min.Set(std::fmin(Min.x, P.x), std::fmin(Min.y, P.y), std::fmin(Min.z, P.z));
    Max.Set(std::fmax(Max.x, P.x), std::fmax(Max.y, P.y), std::fmax(Max.z, P.z));
  }
  // Grows the box by d on every side.
  void Enlarge(Real d)
  {
    Min.Set(Min.x - d, Min.y - d, Min.z - d);
    Max.Set(Max.x + d, Max.y + d, Max.z + d);
  }

  // Overlapping or within Eps on every axis.
  bool IsCommon(const TCube3D& C2, Real Eps) const;
  // The same on x and y with a margin of 0.1; z is not looked at.
  bool IsCommonOnXY(const TCube3D& C2) const;
  // Union with C2.
  void Add(const TCube3D& C2);
};

// Infinite line through O along Direction (taken as a unit vector by DistanceTo).
class TLine3D
{
public:
  TPoint3D O;
  TVector3D Direction;

  TLine3D() = default;
  TLine3D(const TPoint3D& iO, const TVector3D& iDirection) : O(iO), Direction(iDirection) {}
  // Through A and B, with the unit direction from A to B.
  TLine3D(const TPoint3D& A, const TPoint3D& B) : O(A), Direction(A, B) { Direction.Normalize(); }

  Real DistanceTo(const TPoint3D& P) const;
};

Real Skalar(const TVector3D& A, const TVector3D& B);
// Like Skalar: the z products are included.
Real Skalar2D(const TVector3D& A, const TVector3D& B);
TVector3D Multiply(const TVector3D& A, const TVector3D& B);
// Unit normal (C - A) x (B - A); unnormalised when not longer than 2e-6.
TVector3D NormalPlane(const TPoint3D& A, const TPoint3D& B, const TPoint3D& C);
// Within 1 of each other in XY (z is not looked at).
bool VisualEquPoint(const TPoint3D& A, const TPoint3D& B);
// Segments A1-A2 and A3-A4 cross properly in XY, away from all four ends.
bool IntersectLine(const TPoint3D& A1, const TPoint3D& A2, const TPoint3D& A3, const TPoint3D& A4);
// LeftLine when a vertex of T lies behind A along A-B, otherwise RightLine.
TPointOnLine TriangleToLine2D(const T3dTriangle& T, const TPoint3D& A, const TPoint3D& B);
// 1 with R = the meeting point of the line X-Y with the plane A, B, C; 0 when parallel.
int PlaneIntersectLine(const TPoint3D& A, const TPoint3D& B, const TPoint3D& C, const TPoint3D& X,
                       const TPoint3D& Y, TPoint3D& R);

TKmfData& operator<<(TKmfData& S, const TPoint3D& P);
TKmfData& operator>>(TKmfData& S, TPoint3D& P);
TKmfData& operator<<(TKmfData& S, const TCube3D& C);
TKmfData& operator>>(TKmfData& S, TCube3D& C);
// A point takes 24 bytes on a stream: array readers size their storage by it.
template <class T> struct TStreamElementBytes;
template <> struct TStreamElementBytes<TPoint3D>
{
  static constexpr unsigned Min = 24;
};

// --- Matrix and frame --------------------------------------------------------------------

// 4x4 transform, row by row: rows 0-2 the images of the axes, row 3 the shift. A product
// A * B applied to a point applies A first.
class TMtr3D
{
public:
  static constexpr int Rows = 4;
  static constexpr int Columns = 4;

  union {
    struct
    {
      Point3D oX;
      Real dx;
      Point3D oY;
      Real dy;
      Point3D oZ;
      Real dz;
      Point3D oP;
      Real dp;
    };
    Real M[4][4];
    Real V[16];
  };

  TMtr3D() { Identity(); }
  // The local-to-parent matrix of the frame P.
  explicit TMtr3D(const TPlacement3D& P);
  // Axes X, Y, Z as rows 0-2, no shift.
  TMtr3D(const TVector3D& X, const TVector3D& Y, const TVector3D& Z);
  TMtr3D(const TMtr3D& A) = default;
  ~TMtr3D() = default;

  TMtr3D& Identity();
  TMtr3D& Zero();
  // The frame of the matrix (first three entries of each row).
  void Get(TPlacement3D& P) const;
  TVector3D& GetAxisX();
  TVector3D& GetAxisY();
  TVector3D& GetAxisZ();
  TPoint3D& GetOrigin();

  TMtr3D& operator=(const TMtr3D& A) = default;
  void Set(const TMtr3D& A)
  {
    for (int i = 0; i < 16; ++i)
      V[i] = A.V[i];
  }
  // Every entry within 2e-6.
  bool operator==(const TMtr3D& A) const;
  bool operator!=(const TMtr3D& A) const { return !(*this == A); }
  // Right-handed orthonormal frame: origin iO, X along iAX, Y from iAY.
  TMtr3D& Set(const TPoint3D& iO, const TVector3D& iAX, const TVector3D& iAY);

  // Rotations counter-clockwise seen from the positive end of the axis; a (cos, sin) pair
  // off unit length by more than 1e-8 is normalised.
  TMtr3D& RotAxleZ(Real RCos, Real RSin);
  TMtr3D& RotAxleY(Real RCos, Real RSin);
  TMtr3D& RotAxleX(Real RCos, Real RSin);
  TMtr3D& IdentityMove(Real x, Real y, Real z);

  // M = A * B; A or B may be this matrix.
  TMtr3D& Multiply(const TMtr3D& A, const TMtr3D& B);
  // M = M * B.
  TMtr3D& Multiply(const TMtr3D& B);
  TMtr3D& Multiply(Real k);
  // M += B * A.
  TMtr3D& Multiply2(const TMtr3D& A, const TMtr3D& B);
  // M = its inverse; a singular matrix (or one whose inverse is not finite) becomes the
  // identity.
  TMtr3D& Inversion();
  // Rows 0-2 to unit length (each unless not longer than 2e-6).
  TMtr3D& Normalize();

  // Column-vector form with column 3 as the shift.
  void Trans(const TPoint3D& A, TPoint3D& Result) const;
  // Rows as dot products plus row 3.
  void Trans2(const TPoint3D& A, TPoint3D& Result) const;
  // Column-vector form without shift.
  void Trans(const TVector3D& A, TVector3D& Result) const;
  // Row 3 += to.
  TMtr3D& Move(const TVector3D& to);
  // M = M * R, R the rotation by angle radians about axisDir through the world origin.
  TMtr3D& RotateAbout(const TVector3D& axisDir, Real angle);
  // Rotation by angle radians about the line through P along V, after M.
  TMtr3D& Rotate(const TPoint3D& P, const TVector3D& V, Real angle);
  // Where the mapped line through P along V meets z = 0: R = its (x, y); false when parallel.
  bool DirectPointProjection(const TPoint3D& P, const TVector3D& V, TPoint2D& R) const;

  // Stream form: V[0] .. V[15] as raw 8-byte doubles, 128 bytes.
  void toStream(TKmfData& S) const;
  void fromStream(TKmfData& S);
  // The host's form: exactly 16 doubles, row by row.
  std::vector<double>& to(std::vector<double>& iV) const;
  // From the host's form; any size but 16 is refused and leaves the matrix as it was.
  bool from(const std::vector<double>& iV);
};

// Local frame: origin and three axes; its plane passes through O along AX and AY.
class TPlacement3D
{
public:
  TPoint3D O;
  TVector3D AX, AY, AZ;

  // The world frame.
  TPlacement3D() : AX(1, 0, 0), AY(0, 1, 0), AZ(0, 0, 1) {}
  // The world axes at iO.
  explicit TPlacement3D(const TPoint3D& iO) : O(iO), AX(1, 0, 0), AY(0, 1, 0), AZ(0, 0, 1) {}
  // Origin and normal; the X axis follows the world axis farther from the normal.
  TPlacement3D(const TPoint3D& iO, const TVector3D& iAZ) { Set(iO, iAZ); }
  // AX toward px, AY toward py.
  TPlacement3D(const TPoint3D& iO, const TPoint3D& px, const TPoint3D& py) { Set(iO, px, py); }
  // Origin, X axis and normal: AX is vx made perpendicular to vz, AY = AZ x AX.
  TPlacement3D(const TPoint3D& iO, const TVector3D& vx, const TVector3D& vz);
  ~TPlacement3D() = default;

  void Set(const TPoint3D& iO, const TVector3D& iAZ);
  void Set(const TPoint3D& iO, const TPoint3D& px, const TPoint3D& py);
  void Set(const TPoint3D& iO, const TVector3D& vx, const TVector3D& vy);

  // into = the parent-to-local matrix (inverse of TMtr3D(*this)).
  void GetMtrInto(TMtr3D& into) const;
  // Plane coordinates of P (axes of any non-zero length).
  void PointProjection(const TPoint3D& P, Real& x, Real& y) const;
  // Foot of P on the plane.
  void PointProjection(const TPoint3D& P, TPoint3D& Pon) const;
  void VectorProjection(const TVector3D& V, Real& x, Real& y) const;
  Real DistanceToPoint(const TPoint3D& P) const;
  // The line through P along V (parent coordinates) met with the plane: R = plane coordinates.
  bool DirectPointProjection(const TPoint3D& P, const TVector3D& V, TPoint2D& R) const;
  bool IsParallelPlane(const TPlacement3D& P2) const;
  bool IsSamePlane(const TPlacement3D& P2) const;
  // Distance between parallel planes; -1 when they are not parallel.
  Real DistanceTo(const TPlacement3D& P2) const;
  // Local point P in parent coordinates.
  void GetPointFrom(const TPoint3D& P, TPoint3D& Result) const;
  // Pon = O + x AX + y AY.
  void PointOn(Real x, Real y, TPoint3D& Pon) const;
  // This frame, given in mtr's local coordinates, re-expressed in mtr's parent.
  void Transform(const TPlacement3D& mtr);
  // Moves O to the foot of iO on the plane.
  void OriginTo(const TPoint3D& iO);

  // Stream form: O, AX, AY, AZ as 12 raw 8-byte doubles, 96 bytes.
  void toStream(TKmfData& S) const;
  void fromStream(TKmfData& S);
};

// Raw arrays of these values are streamed byte for byte; the host takes matrices as 16 doubles.
static_assert(sizeof(TPoint3D) == 3 * sizeof(Real) && std::is_trivially_copyable_v<TPoint3D>);
static_assert(sizeof(TVector3D) == sizeof(TPoint3D) && std::is_trivially_copyable_v<TVector3D>);
static_assert(sizeof(TMtr3D) == 16 * sizeof(Real) && std::is_trivially_copyable_v<TMtr3D>);
static_assert(sizeof(TPlacement3D) == 12 * sizeof(Real));

// ---------------------------------------------------------------------------------------------
// The spatial triangle and its shadow tests: do two triangles overlap as seen along the Z axis.
// Coordinates are millimetres and the tolerances of the shadow tests are absolute. (Defined with
// the numeric routines, which keep the floating-point contraction these tests need switched off.)

class TTriangle3D
{
public:
  TPoint3D A, B, C;

  TTriangle3D() = default;
  TTriangle3D(const TPoint3D& iA, const TPoint3D& iB, const TPoint3D& iC) : A(iA), B(iB), C(iC) {}
  TTriangle3D(const TTriangle3D&) = default;
  TTriangle3D& operator=(const TTriangle3D&) = default;

  // Unit (B - A) x (C - A); left as computed when not longer than 2e-6.
  TVector3D Normal() const;
  // Smallest and largest vertex coordinate.
  void getGabaritX(double& TMin, double& TMax) const;
  void getGabaritY(double& TMin, double& TMax) const;
  void getGabaritZ(double& TMin, double& TMax) const;
  // The closed intervals [a1, a2] and [b1, b2] (ends in either order) share a point.
  static bool IsCommonLine(double a1, double a2, double b1, double b2);
  // The XY bounding boxes overlap or touch.
  bool IsCommonGabarytXY(const TTriangle3D& T2) const;
  // Every vertex lies right of the line LA to LB in XY, or less than 0.5 to its left; always
  // true for an edge shorter than 0.5.
  bool RightOfLine2D(const TPoint3D& LA, const TPoint3D& LB) const;
  // The XY projections overlap: no edge of either separates them (0.5 of play).
  bool OverlapXOY(const TTriangle3D& IT2) const;
  // Quick shadow test: T2 not nearly vertical, boxes overlap, no separating edge.
  bool T2ShadowUp(const TTriangle3D& T2) const;
  // Shadow test by area: this triangle reaches above T2's lowest point, and the clipped XY
  // overlap of the two is more than 4 % of each projection.
  bool T2ShadowDn(const TTriangle3D& T2) const;
  // The XY projection as a closed three-point polygon, counter-clockwise unless the triangle is
  // flatter than 0.5 against its first edge.
  void toPolygon(TPolyLine& P) const;
  // "(x , y , z)- " for each vertex, numbers with two decimals in a field of 7.
  operator TString() const;
  // Area of the XY projection.
  double AreaXY() const;
};

// Twice the area of the plane triangle (the parallelogram's area).
double SquareTriangle(const double& x1, const double& y1, const double& x2, const double& y2,
                      const double& x3, const double& y3);

// ---------------------------------------------------------------------------------------------
// Exact-sign triangle-triangle tests (Guigue and Devillers, 2003): do two closed triangles share
// a point, and where do two triangles in space meet.
//
// A point is a pointer to plain doubles: (x, y, z) in the spatial tests, (x, y) in the plane
// tests. The first triangle is p1, q1, r1 and the second p2, q2, r2, either winding; the points
// are only read, so one array may stand for several of them. Every decision is the sign of an
// orientation determinant compared with 0.0 exactly: for coordinates whose products are exact in
// doubles (small integers, say) every answer is exact.
//
// Degenerate triangles (collinear or coincident vertices, found by a zero orientation or a zero
// normal) are answered as the segment or point they are, so that a flat triangle never reports
// contact with something it misses.

// 1 when the two closed triangles in space share at least one point, otherwise 0.
int tri_tri_overlap_test_3d(const double* p1, const double* q1, const double* r1, const double* p2,
                            const double* q2, const double* r2);

// The same for two triangles known to lie in one plane, of which normal_1 is a normal (of any
// non-zero length); normal_2 is accepted and never read.
int coplanar_tri_tri3d(const double* p1, const double* q1, const double* r1, const double* p2,
                       const double* q2, const double* r2, const double* normal_1, const double* normal_2);

// 1 when the two closed triangles in the plane share at least one point, otherwise 0.
int tri_tri_overlap_test_2d(const double* p1, const double* q1, const double* r1, const double* p2,
                            const double* q2, const double* r2);

// The core of the plane test for two counter-clockwise triangles. It takes a point collinear with a
// flat second triangle for a point inside it, so tri_tri_overlap_test_2d hands it proper
// triangles only.
int ccw_tri_tri_intersection_2d(const double* p1, const double* q1, const double* r1, const double* p2,
                                const double* q2, const double* r2);

// 1 when the two closed triangles in space meet, otherwise 0. When they meet without lying in one
// plane, source and target get the ends of the segment that they share (equal for a single point).
// On the coplanar branches 1 is written into *coplanar and the result is that of the coplanar
// test; the flag is never cleared, and source and target are left as they were.
int tri_tri_intersection_test_3d(const double* p1, const double* q1, const double* r1, const double* p2,
                                 const double* q2, const double* r2, int* coplanar, double* source,
                                 double* target);
