#pragma once
// Smooth curves over a polyline's points: the cubic Hermite spline through its points, the
// chain of cubic Bezier pieces over control points and the non-uniform rational B-spline of
// any order, with the B-spline arithmetic they share (span search, the table of basis
// functions, derivative control points).
//
// Every spline caches its last evaluation inside const operations: one spline object is
// evaluated from one thread at a time. All of them answer the polyline's kind code.
#include "hxcadkit/core/TArray.h"
#include "hxcadkit/core/Types.h"
#include "hxcadkit/geometry/Elements.h"
#include "hxcadkit/geometry/Mathemat.h"

// Declared shape of a NURBS curve; carried with the curve, not interpreted by it.
enum NurbsCurveForm {
  Unspecified = 0,
  PolylineForm = 1,
  CircularArc = 2,
  EllipticArc = 3,
  ParabolicArc = 4,
  HyperbolicArc = 5,
  BezierForm = 6,
  SmoothForm = 7,
  CompositeForm = 8,
  HermitForm = 9,
  FineBezierForm = 10,
  SurfacePoleForm = 11,
  PolinomialForm = 12
};

// Homogeneous coordinate arrays of a set of (weighted) points; w exists for rational data
// only.
class TNurbsVector2D
{
public:
  TNurbsVector2D() = default;
  TNurbsVector2D(const TNurbsVector2D&) = delete;
  TNurbsVector2D& operator=(const TNurbsVector2D&) = delete;
  ~TNurbsVector2D() { FreeMemory(); }

  // Room for n points (w too when rational); n <= 0 keeps what is there.
  void CatchMemory(Integer n, Boolean rational);
  void FreeMemory();

  double* x = nullptr;
  double* y = nullptr;
  double* w = nullptr;
};

// The span s of the B-spline of order k with knots[s] <= t < knots[s + 1], t first clamped
// into the domain [knots[k - 1], knots[Count - k]] and written back. At the end of the domain
// the last span of non-zero length is answered. -1 (t untouched) when the knots cannot hold
// one span of that order (k < 1 or Count < 2k).
Integer KnotIndex(Integer k, const TAReal& knots, Real& t);

// In the ascending values, the first index whose value is not below x (Count when none),
// searched from hint and written to hint. False (hint untouched) for an empty array.
Boolean ArrayFind(const TAReal& values, Real x, Integer& hint);

// The basis functions of degrees 0 .. p at t on span s into the upper triangle of the
// (p + 1) x (p + 1) table N: N[i][j] is basis function i of degree j. A ratio whose two knot
// differences are both 0 counts as 1/2. With flag the reciprocal knot sums go into the lower
// triangle (1e137 where a sum is 0). left and right are scratch arrays of p + 1 doubles;
// null ones are provided here. The caller ensures p <= s and s + p < knots.Count.
void AllBasisFuns(Integer s, Real t, Integer p, const TAReal& knots, double** N, double* left, double* right,
                  Boolean flag);

// The derivative control points of orders 0 .. d of the control points r1 .. r2 into PK (order
// k holds r2 - r1 + 1 - k points). Order 0 comes from pk0 when given, else from P (indices
// taken modulo P.Count) multiplied by their weights when PK carries weights (a missing weight
// counts as 1). Orders above p give nothing; a knot interval of zero length gives zero points.
void CurveDeriveCpts(Integer p, const TAReal& knots, const TArrayOf<TPoint2D>& P, const TAReal& weights,
                     const TNurbsVector2D* pk0, Integer d, Integer r1, Integer r2, TNurbsVector2D* PK);

// result = sum of N[i][j] * points[i] for i = 0 .. j, with the negligible terms left out.
void EiSum(const double* points, const double* const* N, Integer j, double& result);

// Cubic Hermite spline through its points with a chord-length parameter. TParams holds each
// point's parameter, strictly increasing; a closed spline holds one more: the parameter at
// which its closing span returns to point 0.
class THermit : public TPolyLine
{
public:
  THermit() = default;
  THermit(const THermit&) = default;
  THermit& operator=(const THermit&) = default;
  ~THermit() override = default;

  // The point at parameter t; an open spline clamps t to its ends, a closed one wraps it.
  void PointOn(Real t, TPoint2D& P) const override;
  void FirstDer(Real t, TVector2D& V) const override;
  void SecondDer(Real t, TVector2D& V) const override;
  void ThirdDer(Real t, TVector2D& V) const override;
  void ResetTCalc() override;

  // Segments and uppParam from the point and parameter counts, then Refresh.
  virtual void Rebuild();
  // Appends P with its parameter and tangent.
  virtual void AddPoint(const TPoint2D& P);

  // Span i (points i and i + 1) and the local coordinates of t on it.
  void LocalCoordinate(Integer i, Real t) const;
  // Locates t (brought into range in place) and its local coordinates.
  void LocalCoordinate(Real& t) const;

  TArrayOf<TVector2D> Vectors;
  TAReal TParams;
  Integer uppParam = 0;
  mutable Integer index1 = 0, index2 = 0;
  mutable Real param1 = -1e300, param2 = -1e300, paramD = 0, paramW = 0;
  mutable Real quota1 = 0, quota2 = 0;

private:
  // The parameters and tangents match the points, so that spans can be evaluated.
  Boolean Evaluable() const;
  TPoint2D Point(Integer i) const;
  TVector2D Tangent(Integer i) const;
};

// Chain of cubic Bezier pieces: piece k has the control points 3k + 1 .. 3k + 4 (indices
// taken modulo the point count), parameter k .. k + 1. It evaluates through its own PointOn,
// which normalises the parameter in place; evaluated through the curve interface it is the
// polyline of its control points.
// The polyline's PointOn is left visible only through the base on purpose.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Woverloaded-virtual"
class TBezier : public TPolyLine
{
public:
  TBezier() = default;
  TBezier(const TBezier&) = default;
  TBezier& operator=(const TBezier&) = default;
  ~TBezier() override = default;

  // A slot of its own beside the polyline's PointOn(Real, TPoint2D&), which stays in place.
  virtual void PointOn(double& t, TPoint2D& P) const;

  // Brings t into [0, splinesCount] (wrapped on a closed chain, else clamped) and evaluates
  // the piece into rc[0].
  void LocalCoordinate(double& t) const;

  Integer splinesCount = 0;
  Integer form = 0;
  mutable TVector2D rc[4];
  mutable Real w = 0, s = 0, s2 = 0, w2 = 0;
};
#pragma GCC diagnostic pop

// Non-uniform rational B-spline of order degree (polynomial degree degree - 1) over the
// control points Points, with uppKnotsIndex + 1 knots in knots and one weight per control
// point. The curve runs over [knots[degree - 1], knots[uppKnotsIndex - degree + 1]]; an open
// curve clamps parameters into it, a closed one wraps them. Curves whose weights are all
// equal are evaluated as polynomial ones.
class TNurbs : public TPolyLine
{
public:
  TNurbs() = default;
  // Copies the curve and its data; the evaluation caches are built anew on first use.
  TNurbs(const TNurbs& other);
  TNurbs& operator=(const TNurbs& other);
  ~TNurbs() override;

  void Refresh() const override;
  void ResetTCalc() override;
  // The point at t; (0, 0) when the curve cannot be evaluated.
  void PointOn(Real t, TPoint2D& P) const override;

  // Builds the evaluation caches for the current order and weights; false when the order is
  // below 1 or the knots cannot hold one span of it.
  Boolean CatchMemory() const;
  void FreeMemory() const;
  // 1 when the caches exist or could be made; otherwise rc is zeroed (wc set to ones) and 0.
  Integer InitSegments() const;
  // Prepares evaluation at t, brought into the domain in place.
  void CalculateSegment(Real& t) const;
  // Derivative j (0 .. 3) of the homogeneous curve into rc[j] (and its weight into wc[j]).
  void CalculateSpline(Integer j) const;
  // Derivative j (0 .. 3) of the curve itself at the prepared parameter; zero beyond the
  // polynomial degree or when nothing is prepared.
  TVector2D CalculateSplineWeight(Integer j) const;
  // Some weight of a control point differs from the first one.
  Boolean IsRational() const;

  Integer degree = 0;
  Integer uppKnotsIndex = 0;
  TAReal knots, weights, closeSegments;
  NurbsCurveForm form = Unspecified;
  mutable TNurbsVector2D* pk = nullptr;
  mutable double** nd = nullptr;
  mutable TVector2D rc[4];
  mutable double* wc = nullptr;
  mutable Integer leftIndex = 0x7FFFFFFF;
  mutable double* m_left = nullptr;
  mutable double* m_right = nullptr;

private:
  // The knots hold at least one span of the current order.
  Boolean KnotsUsable() const;
  void CopyData(const TNurbs& other);
  // The order the caches were built for (0: none).
  mutable Integer cacheOrder = 0;
  mutable Integer pkCount = 0;
};
