#pragma once
// Plane value types of the geometry (points, vectors, boxes, parameter intervals, the 3x3
// plane transform) and the scalar helpers every curve and the drawing model build on.
// All of them are plain values: nothing here keeps state between calls.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <type_traits>
#include <vector>

#include "hxcadkit/core/DString.h"
#include "hxcadkit/core/Types.h"

class TKmfData;

using TParam = Real;

// Holder of the geometry's tolerances; the base of the plane value types and of every curve.
class TMathDef
{
public:
  static constexpr Real paramEpsilon = 1e-8;   // parameter equality
  static constexpr Real metricEpsilon = 1e-8;  // length equality
  static constexpr Real paramRegion = 2e-7;    // parameter ranges of crossings
  static constexpr Real paramPrecision = 2e-6; // a derivative shorter than this counts as zero
  static constexpr Real metricPrecision = 2e-6;
  static constexpr Real paramAccuracy = 2e-5; // a curve shorter than this has no length
  static constexpr Real metricAccuracy = 2e-5;
  static constexpr Real paramNear = 1e-4; // coinciding points
  static constexpr Real MinLength = 1e-4;
  static constexpr Real paramDeltaMin = 0.005;
  static constexpr Real nullEpsilon = 1e-30;
  static constexpr Real lengthEpsilon = 1e-10;
  static constexpr Real C_PI = 3.14159265358979323846;
  static constexpr Real C_2PI = 2.0 * C_PI;
  static constexpr Real C_1_2PI = 1.0 / C_2PI;
  static constexpr Real DEGRAD = C_PI / 180.0;
  static constexpr Real RADDEG = 180.0 / C_PI;
  static constexpr Real MaxReal = 1e300;
};

// Side of a point against a direction or a closed curve.
enum TLocation {
  tl_Undefined = -3,
  tl_Unknown = -2,
  tl_Right = -1,
  tl_On = 0,
  tl_Left = 1,
  tl_ByLeft = 2,
  tl_Inside = 1,
  tl_OutSide = -1
};

// Double to a 32-bit integer, toward zero, for values that may come from files or users:
// NaN gives 0 and values beyond the range give its nearest end.
Integer SaturatingToInt(double v);

// Plain two-double record; the plane matrix overlays its rows with it.
struct Point2D
{
  Real x, y;
};

// Plane point with coordinates of type T; TPoint2D (T = Real) is the geometry's point, the
// integer form holds pixel positions.
template <class T = Real> class TPoint2DOf : public TMathDef
{
public:
  T x{}, y{};

  constexpr TPoint2DOf() = default;
  constexpr TPoint2DOf(T ix, T iy) : x(ix), y(iy) {}
  constexpr TPoint2DOf(const Point2D& p) requires std::is_same_v<T, Real> : x(p.x), y(p.y) {}

  void Set(T ix, T iy)
  {
    x = ix;
    y = iy;
  }
  constexpr bool operator==(const TPoint2DOf& P) const { return x == P.x && y == P.y; }
  constexpr bool operator!=(const TPoint2DOf& P) const { return !(*this == P); }
  TPoint2DOf& operator+=(const TPoint2DOf& P)
  {
    x += P.x;
    y += P.y;
    return *this;
  }
  TPoint2DOf& operator-=(const TPoint2DOf& P)
  {
    x -= P.x;
    y -= P.y;
    return *this;
  }
  friend constexpr TPoint2DOf operator+(const TPoint2DOf& a, const TPoint2DOf& b)
  {
    return TPoint2DOf(a.x + b.x, a.y + b.y);
  }
  friend constexpr TPoint2DOf operator-(const TPoint2DOf& a, const TPoint2DOf& b)
  {
    return TPoint2DOf(a.x - b.x, a.y - b.y);
  }
  friend constexpr TPoint2DOf operator*(const TPoint2DOf& a, T k) { return TPoint2DOf(a.x * k, a.y * k); }

  // Stream form: x then y as raw 8-byte doubles, 16 bytes.
  void Read(TKmfData& S);
  void Write(TKmfData& S) const;
  // "x y", each number with 2 decimals in a field of 7.
  TString GetStr() const;
  // Positive when this point lies right of the direction A to B, negative left of it.
  Real IsLeftOf(const TPoint2DOf& A, const TPoint2DOf& B) const;
  // Distance to the segment from (x1, y1) to (x2, y2); a segment shorter than 1e-4 in both
  // directions is taken as its start point.
  Real DistanceToSegment(Real x1, Real y1, Real x2, Real y2) const;
  // Distance to a straight segment (start x, y; end xk, yk).
  template <class Seg>
  requires requires(const Seg& s)
  {
    s.x;
    s.y;
    s.xk;
    s.yk;
  }
  Real DistanceTo(const Seg& S) const { return DistanceToSegment(S.x, S.y, S.xk, S.yk); }
};

using TPoint2D = TPoint2DOf<Real>;

template <> void TPoint2D::Read(TKmfData& S);
template <> void TPoint2D::Write(TKmfData& S) const;
template <> TString TPoint2D::GetStr() const;
template <> Real TPoint2D::IsLeftOf(const TPoint2D& A, const TPoint2D& B) const;
template <> Real TPoint2D::DistanceToSegment(Real x1, Real y1, Real x2, Real y2) const;

// A direction or displacement in the plane.
class TVector2D : public TPoint2D
{
public:
  constexpr TVector2D() = default;
  constexpr TVector2D(Real ix, Real iy) : TPoint2D(ix, iy) {}
  constexpr TVector2D(const TPoint2D& P) : TPoint2D(P) {}
  constexpr TVector2D(const Point2D& P) : TPoint2D(P) {}
  // From A to B.
  constexpr TVector2D(const TPoint2D& A, const TPoint2D& B) : TPoint2D(B.x - A.x, B.y - A.y) {}

  friend constexpr TVector2D operator+(const TVector2D& a, const TVector2D& b)
  {
    return TVector2D(a.x + b.x, a.y + b.y);
  }
  friend constexpr TVector2D operator-(const TVector2D& a, const TVector2D& b)
  {
    return TVector2D(a.x - b.x, a.y - b.y);
  }
  friend constexpr TVector2D operator*(const TVector2D& a, Real k) { return TVector2D(a.x * k, a.y * k); }
  // A point moved by a vector stays a point.
  friend constexpr TPoint2D operator+(const TPoint2D& a, const TVector2D& b)
  {
    return TPoint2D(a.x + b.x, a.y + b.y);
  }
  friend constexpr TPoint2D operator+(const TVector2D& a, const TPoint2D& b)
  {
    return TPoint2D(a.x + b.x, a.y + b.y);
  }
  friend constexpr TPoint2D operator-(const TPoint2D& a, const TVector2D& b)
  {
    return TPoint2D(a.x - b.x, a.y - b.y);
  }
  friend constexpr TPoint2D operator-(const TVector2D& a, const TPoint2D& b)
  {
    return TPoint2D(a.x - b.x, a.y - b.y);
  }

  Real Len() const { return std::sqrt(x * x + y * y); }
  // Unit length, unless shorter than 2e-6 (then it is left as it is).
  void Normalize();

  // Counter-clockwise by a radians.
  void Rotate(double const& a);
  // Complex product with W: turns by W's direction and scales by W's length.
  void Rotate(TVector2D const& W);
  // tl_Left when W turns counter-clockwise from this vector, tl_Right clockwise, tl_On when
  // the two are parallel or either is shorter than 2e-6.
  TLocation Relative(TVector2D const& W) const;
  // Direction angle in [0, 2 pi); 0 for the zero vector.
  Real AngleInRadian() const;
};

// Axis-aligned box. For floating coordinates a new box is the empty box (1e300, 1e300) to
// (-1e300, -1e300), which any added point replaces; for integer coordinates it is all zeros.
template <class T = Real> class TRect2DOf
{
public:
  TPoint2DOf<T> LD, RU;

  constexpr TRect2DOf()
  {
    if constexpr (std::is_floating_point_v<T>) SetEmpty();
  }
  constexpr TRect2DOf(const TPoint2DOf<T>& iLD, const TPoint2DOf<T>& iRU) : LD(iLD), RU(iRU) {}
  constexpr TRect2DOf(T x1, T y1, T x2, T y2) : LD(x1, y1), RU(x2, y2) {}

  constexpr void SetEmpty()
  {
    if constexpr (std::is_floating_point_v<T>) {
      LD = TPoint2DOf<T>(T(1e300), T(1e300));
      RU = TPoint2DOf<T>(T(-1e300), T(-1e300));
    } else {
      LD = RU = TPoint2DOf<T>();
    }
  }
  // True while nothing has been added (the corners are inverted).
  constexpr bool Empty() const { return LD.x > RU.x || LD.y > RU.y; }
  void Add(const TPoint2DOf<T>& P)
  {
    if (P.x < LD.x) LD.x = P.x;
    if (P.y < LD.y) LD.y = P.y;
    if (P.x > RU.x) RU.x = P.x;
    if (P.y > RU.y) RU.y = P.y;
  }
  void Add(const TRect2DOf& R)
  {
    if (R.Empty()) return;
    Add(R.LD);
    Add(R.RU);
  }
  constexpr bool operator==(const TRect2DOf& R) const { return LD == R.LD && RU == R.RU; }

  // Closed boxes: boxes that only touch intersect.
  bool InterSect(const TRect2DOf& R) const
  {
    return std::max(LD.x, R.LD.x) <= std::min(RU.x, R.RU.x) &&
           std::max(LD.y, R.LD.y) <= std::min(RU.y, R.RU.y);
  }
  bool Contains(const TPoint2DOf<T>& P) const
  {
    return LD.y <= P.y && P.y <= RU.y && LD.x <= P.x && P.x <= RU.x;
  }

  // Where the ray from P along V leaves the box; (0, 0) when it meets no side.
  TPoint2D PointOnSide(const TPoint2D& P, const TVector2D& V) const;
  // "((LD.x,LD.y)-(RU.x,RU.y))".
  TString GetStr() const;
  // Stream form: LD.x, LD.y, RU.x, RU.y as raw 8-byte doubles, 32 bytes.
  void toStream(TKmfData& S) const;
  void fromStream(TKmfData& S);
};

using TRect2D = TRect2DOf<Real>;

template <> TPoint2D TRect2D::PointOnSide(const TPoint2D& P, const TVector2D& V) const;
template <> TString TRect2D::GetStr() const;
template <> void TRect2D::toStream(TKmfData& S) const;
template <> void TRect2D::fromStream(TKmfData& S);

// Oriented box: centre x, centre y, angle, length and width, in that order.
class TORect2D
{
public:
  Real xc = 0, yc = 0, Angle = 0, Length = 0, Width = 0;

  // "((xc,yc) Angle,LengthWidth)": the last two fields are parted only by their padding.
  TString GetStr() const;
};

// Parameter interval of a curve; a closed curve's period is max - min unless a caller gives
// another one.
class TRegion1D : public TMathDef
{
public:
  TParam min = 0, max = 0;

  constexpr TRegion1D() = default;
  constexpr TRegion1D(TParam imin, TParam imax) : min(imin), max(imax) {}

  // Wraps t into [min, max) when wrap is set and keep is not; otherwise snaps t to an end
  // within eps.
  void CorrectParameter(Boolean keep, Boolean wrap, Real& t, Real const& eps) const;
  // Wraps (closed and not ext) or snaps, then checks t against the interval widened by
  // tRegion; outside it t is clamped to the nearer end and the answer is false.
  Boolean CorrectCheckParameter(Boolean closed, Boolean ext, Real const& tRegion, Real& t) const;
  // Moves p by whole periods toward the interval, then snaps it to an end within eps.
  void CorrectNearParameter(Boolean ext, Real const& period, Real& p, Real const& eps) const;
  // CorrectNearParameter with tolerance tRegion, then the check of CorrectCheckParameter.
  Boolean CorrectCheckNearParameter(Real const& tPeriod, Boolean ext, Real const& tRegion, Real& t) const;

private:
  void Wrap(Real& t, Real const& eps) const;
  void Snap(Real& t, Real const& eps) const;
  Boolean Check(Boolean ext, Real const& tRegion, Real& t) const;
};

// Plane transform, 3x3, for row vectors: (x', y', 1) = (x, y, 1) * M. Rows 0 and 1 are the
// images of the axes, row 2 the shift.
class TMtr2D
{
public:
  static constexpr int Rows = 3;
  static constexpr int Columns = 3;

  union {
    struct
    {
      Point2D AX;
      Real dx;
      Point2D AY;
      Real dy;
      Point2D O;
      Real kScale;
    };
    Real M[3][3];
    Real V[9];
  };

  TMtr2D() { Init(); }
  // Scale by Scale, turn counter-clockwise by Angle degrees, then shift by (x, y).
  TMtr2D(double x, double y, double Angle, double Scale);
  void Set(const TMtr2D& A)
  {
    for (int i = 0; i < 9; ++i)
      V[i] = A.V[i];
  }

  TMtr2D& Init();
  // Nested drawing frame: the new local transform acts on a point first, then the present one.
  TMtr2D& drMtr(double x, double y, double Angle, double Scale);
  // Scaling by sx, sy about the fixed point pc.
  TMtr2D& Init(TPoint2D const& pc, double sx, double sy);
  // Counter-clockwise rotation by angle radians about pc.
  TMtr2D& Init(TPoint2D const& pc, double angle);
  // The operations below act after the present transform.
  TMtr2D& Move(double dx, double dy);
  TMtr2D& Rotate(double a);
  TMtr2D& Rotate(TVector2D V);
  TMtr2D& Rotate(TPoint2D const& P, TVector2D V);
  TMtr2D& Scale(double s);
  TMtr2D& ScaleX(double s);
  TMtr2D& ScaleY(double s);
  TMtr2D& Shift(double k);
  TMtr2D& ShiftX(double k);
  TMtr2D& ShiftY(double k);
  // Reflection in the line through P along V.
  TMtr2D& Symmetry(TPoint2D const& P, TVector2D const& V);

  // out = a * b (a acts first); out may be a or b.
  static void Multiply(TMtr2D const& a, TMtr2D const& b, TMtr2D& out);
  // Transpose.
  TMtr2D& Adj();
  // Cofactor of (line, column) in the leading dim x dim block; 0 outside it.
  Real Delta(int line, int column, int dim) const;
  // Determinant of the leading dim x dim block (dim 1..3; 0 otherwise).
  Real Det(int dim) const;
  // out = inverse; a singular matrix (or one whose inverse is not finite) gives the identity.
  void Div(TMtr2D& out) const;
  Real GetScaleX() const;
  Real GetScaleY() const;
  // Inline: every line a drawing clips goes through it twice.
  void TransformCoord(double x, double y, double& x2, double& y2) const
  {
    x2 = M[0][0] * x + M[1][0] * y + M[2][0];
    y2 = M[0][1] * x + M[1][1] * y + M[2][1];
  }
  void TransformScalarX(double& v) const;

  // Stream form: the nine reals row by row, 72 bytes.
  void toStream(TKmfData& S) const;
  void fromStream(TKmfData& S);
};

// Raw arrays of these values are streamed byte for byte.
static_assert(sizeof(TPoint2D) == 2 * sizeof(Real) && std::is_trivially_copyable_v<TPoint2D>);
static_assert(sizeof(TVector2D) == sizeof(TPoint2D) && sizeof(TRect2D) == 4 * sizeof(Real));
static_assert(sizeof(TMtr2D) == 9 * sizeof(Real) && std::is_trivially_copyable_v<TMtr2D>);

// Fixed block of reals whose elements start as ChaosValue ("never set"); Get reads one through
// the checked accessor, which reports a read of an element never set.
class TArrayOfReal
{
public:
  static constexpr Real ChaosValue = 9999.0;
  static constexpr int Count = 100;

  // Checked read of one element: yields it unchanged and traces a read of an unset one.
  class TDebugReal
  {
  public:
    TDebugReal(const TArrayOfReal& A, const Real& R) : Owner(A), Ref(R) {}
    operator double const&() const;

  private:
    const TArrayOfReal& Owner;
    const Real& Ref;
  };

  Real V[Count];
  mutable char LastName = ' ';
  mutable Integer LastI = -1;

  TArrayOfReal();
  // The element i of the block called name; an index outside the block reads ChaosValue.
  TDebugReal Get(char name, int i) const;
  // Writes element i; an index outside the block is ignored.
  void Set(int i, Real v);

  // Stream form: the 100 reals as one raw 800-byte block.
  void toStream(TKmfData& S) const;
  void fromStream(TKmfData& S);
};

// --- Scalar helpers -------------------------------------------------------------------

// Multiples of an integer step of v truncated toward zero: the next at or above (Max) or at or
// below (Min). A zero step leaves the truncated value.
double MaxDivisible(double const& v, int step);
double MinDivisible(double const& v, int step);
// Multiples of a real step: the smallest not below size (Max), the largest not above (Min),
// the nearest (Divisible; a tie stays toward zero). A step of at most 1e-4 leaves size.
double MaxDivisible(double const& size, double const& divid);
double MinDivisible(double const& size, double const& divid);
double Divisible(double const& size, double const& divid);
// Signs with a dead band of 2e-6.
int AbsZn(double const& v);
int Zn(double const& v);
// Real roots of a x^2 + b x + c = 0 (x1 the larger); returns how many (0, 1 or 2).
int SquareEquation(double a, double b, double c, double& x1, double& x2, double Eps = TMathDef::paramEpsilon);
// Direction of the line from (x2, y2) to (x3, y3) in degrees, [0, 360).
double AngleLine(double const& x2, double const& y2, double const& x3, double const& y3);
double LenLine(double const& x1, double const& y1, double const& x2, double const& y2);
// Decimals needed to show x (0..10), 11 when more.
int CountDigisAfterDot(double const& x);
// One step toward (0, 360] degrees: 0 gives 360.
double NormAngle(double const& a);
// Crossing of the segments P1P2 and P3P4: 1 with P written, or 0.
int LS_IS(TPoint2D const& P1, TPoint2D const& P2, TPoint2D const& P3, TPoint2D const& P4, TPoint2D& P);

unsigned StreamBlockRead(TKmfData& s, void* p, unsigned int n);
void StreamBlockWrite(TKmfData& s, void* p, unsigned int n);

// Rebuilds dst as src converted element by element (host handles: each queried for dst's
// interface, empty where the source is empty or does not offer it). dst's old elements are
// released from the last to the first.
template <class D, class S> void Copy(const std::vector<S>& src, std::vector<D>& dst)
{
  while (!dst.empty())
    dst.pop_back();
  dst.resize(src.size());
  for (std::size_t i = 0; i < src.size(); ++i)
    dst[i] = src[i];
}

// Exchanges two values whole through a copy.
template <class T> void Swap(T& a, T& b)
{
  T t(a);
  a = b;
  b = t;
}
