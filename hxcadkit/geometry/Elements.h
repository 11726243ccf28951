#pragma once
// The plane curves of the geometry model. TCurve2D fixes one evaluation interface for every
// kind (a curve is a map t -> point over [TMin, TMax]) with lazily computed lengths and box,
// and the generic algorithms that work through it: curvature, parameter correction, lengths of
// parts, sampling steps, approximation by a polyline, side tests and the common stream part.
// The kinds here: the point (also the base of every other kind, which keeps its behaviour
// where it has none of its own), the circle, the arc, the segment, the infinite line and the
// text anchor.
//
// Curves write their caches inside const operations: one curve object is used from one
// thread at a time. Every operation that returns a new curve hands a heap object to the
// caller, who deletes it through the virtual destructor.
#include "hxcadkit/core/DString.h"
#include "hxcadkit/core/TArray.h"
#include "hxcadkit/core/Types.h"
#include "hxcadkit/geometry/Mathemat.h"

class TKmfData;
class TInterSector;
class TPolyLine;

using Str = TString;
using TAReal = TArrayOf<double>;

// Kind codes of the curves; they are also the record tags of the contour stream.
enum TElement {
  tPoint = 1,
  tLineSeg = 2,
  tCircle = 3,
  tArc = 4,
  tText = 5,
  tLines = 6,
  tSpline = 7,
  tPolyLine = 8,
  tContour = 9,
  tCurve2D = 10
};

// The drawing transformation through which point and circle curves place themselves (their
// Mtr follows the drawing model's current frame, not the matrix handed in). The drawing layer
// installs its transform stack when the global modeller is built; with nothing installed
// every point maps to itself and the scale is 1.
class TCurveTransform
{
public:
  virtual ~TCurveTransform() = default;
  // (x, y) through the current frame into (X, Y); in and out may be the same variables.
  virtual void xyMtr(const double& x, const double& y, double& X, double& Y) const = 0;
  // The length that a unit length along X takes in the current frame.
  virtual double ScaleMtr() const = 0;
};

// Installs T (null: identity). The object must outlive its installation.
void SetCurveTransform(const TCurveTransform* T);
const TCurveTransform* GetCurveTransform();

// Hooks that apply and undo a curve's attribute on the OpenGL surface; nothing to do here.
class TGImage;
void SetColorStyle(TGImage* GI, unsigned int Atr);
void UnSetColorStyle(TGImage* GI, unsigned int Atr);

class TCurve2D : public TMathDef
{
public:
  enum TState { dp_NoChanged = 0, dp_Changed = 1, dp_Degenerated = 2 };

  TCurve2D() = default;
  virtual ~TCurve2D() = default;

  virtual TElement IsType() const { return tCurve2D; }
  // Text dump of the defining data; each kind writes its own.
  virtual operator TString() const;
  // Fills the caches unless they are filled; Refresh empties them.
  virtual void Calculate() const;
  virtual void Refresh() const;
  virtual Boolean IsClosed() const { return false; }
  virtual Boolean IsDirect() const { return true; }
  virtual Real GetTMin() const { return 0; }
  virtual Real GetTMax() const { return 1; }
  virtual TRegion1D GetRegion() const;
  // Strictly inside the region widened by Eps.
  virtual Boolean InRegion(Real t, Real Eps) const;
  virtual Real GetMetricLength() const { return 0; }
  virtual Real GetMetricLengthPart(Real t1, Real t2) const;
  virtual Real GetParamLengthPart(Real t1, Real t2) const;
  virtual void ParamToAngle(Real&) const {}
  virtual void AngleToParam(Real&) const {}
  // Signed (positive turning left), its derivative along the curve, and the radius (1e10 for
  // a straight piece).
  virtual Real Curvature(double t) const;
  virtual Real CurvatureDerive(double t) const;
  virtual Real CurvatureRadius(double t) const;
  // The point at t, t first brought into the curve's range by the kind's rule.
  virtual void PointOn(Real t, TPoint2D& P) const = 0;
  virtual TPoint2D PointTMax() const;
  virtual TPoint2D PointTMin() const;
  // Derivatives with respect to the parameter.
  virtual void FirstDer(Real t, TVector2D& V) const = 0;
  virtual void SecondDer(Real t, TVector2D& V) const = 0;
  virtual void ThirdDer(Real t, TVector2D& V) const = 0;
  // The same evaluations by the raw formula, t taken as it is.
  virtual void _PointOn(Real t, TPoint2D& P) const = 0;
  virtual void _FirstDer(Real t, TVector2D& V) const = 0;
  virtual void _SecondDer(Real t, TVector2D& V) const = 0;
  virtual void _ThirdDer(Real t, TVector2D& V) const = 0;
  // Unit tangent and left normal (left as they are when the derivative is shorter than 2e-6).
  virtual void TangentOn(Real t, TVector2D& V) const;
  virtual void _TangentOn(Real t, TVector2D& V) const;
  virtual void NormalOn(Real t, TVector2D& V) const;
  virtual void _NormalOn(Real t, TVector2D& V) const;
  // Foot of P on the curve: t receives its parameter. Eps: the larger component is the
  // tolerance. R: the parameter window when given with R->min <= R->max, else GetRegion().
  // True when the foot lies in the window widened by the tolerance. With ext the parameter is
  // returned as found (also on the curve's extension); without it, it is brought into the
  // window (the nearer end).
  virtual Boolean NearPointProjection(const TPoint2D& P, TPoint2D Eps, Real& t, Boolean ext,
                                      TRegion1D* R) const;
  virtual TLocation PointRelative(const TPoint2D& P, Real eps) const;
  virtual Real DistanceTo(const TPoint2D& P) const;
  // Appends points along the curve to L (nothing cleared); the end point always comes last.
  virtual void Aproximate(TPolyLine& L) const;
  // Stream: int32 Name2 (from version 89; older streams hold two words here instead), int32
  // Atr, then the kind's data.
  virtual void Store(TKmfData& S) const;
  virtual void Load(TKmfData& S);
  virtual TCurve2D* Duplicate() const = 0;
  // Keeps only [t1, t2]; part2 receives a second piece when the kind splits.
  virtual TState TrimmPart(Real t1, Real t2, TCurve2D*& part2) = 0;
  // Removes (t1, t2); part2 receives the second remaining piece.
  virtual TState DeletePart(Real t1, Real t2, TCurve2D*& part2) = 0;
  // A new curve over [t1, t2] in direction s (the kind may reorder or convert t1 and t2).
  virtual TCurve2D* Trimmed(Real& t1, Real& t2, int s) const = 0;
  // A new curve at distance d.
  virtual TCurve2D* Offset(const Real& d) const = 0;
  virtual void Inverse() = 0;
  virtual void Mtr(const TMtr2D&) {}
  // The leftmost, rightmost, topmost and lowest points.
  virtual void Left(Real&, Real&) const {}
  virtual void Right(Real&, Real&) const {}
  virtual void Top(Real&, Real&) const {}
  virtual void Bottom(Real&, Real&) const {}
  virtual void Rect(TRect2D& R) const { R.SetEmpty(); }
  // The number of crossings with P that IS gained.
  virtual Integer InterSect(const TCurve2D* P, TInterSector& IS) const;
  virtual Integer SelfIntersect(const TRegion1D& R, TInterSector& IS, Boolean flag) const;
  // Append to ACross the parameters where the curve meets y = y0 (x = x0).
  virtual void InterSectHorizontal(Real y0, TAReal& ACross) const;
  virtual void InterSectVertical(Real x0, TAReal& ACross) const;

  // True when the parameter range is empty or the start and middle points coincide.
  Boolean IsDegenerate() const;
  // Parameter per unit of length (1 for a curve without length); at t, from the derivative.
  Real GetParamToUnit() const;
  Real GetParamToUnit(const Real& t) const;
  // A parameter step from t over which the tangent turns by about angle radians.
  Real DeviationStep(Real t, Real angle) const;
  // Clamps t into the range (open curve) or wraps it by the period (closed curve).
  void CorrectParameter(Real& t) const;
  // Wraps t into [TMin, TMax - eps) on a closed curve without extRegion; otherwise snaps it
  // to an end within eps.
  void CorrectParameter(const Boolean extRegion, Real& t, const Real& eps) const;
  static void CorrectParameter(Boolean extRegion, Boolean ClosedRegion, Real pmin, Real pmax, Real& t,
                               Real eps);
  // The points at t and at otherT of the other curve agree within Eps in x and in y.
  Boolean IsLink(Real t, const TCurve2D* other, Real otherT, const Real& Eps) const;
  Boolean IsLink(Real t, const TCurve2D& other, Real otherT, const Real& Eps) const;
  // Appends t to A unless an entry within e of it is there.
  static void CheckParameter(TAReal& A, Real t, Real e);

  Integer GetName() const { return Name2; }
  void SetName(Integer n) { Name2 = n; }

  Integer Name2 = 0;
  Integer Atr = 0;
  mutable Boolean closed = false;
  mutable Real paramLength = -1;
  mutable Real metricLength = -1;
  mutable TRect2D Gabaryt;
  // Place inside the owning contour, set by the contour.
  Real startParam = 0;
  Integer Index = 0;
  const TCurve2D* Owner = nullptr;
  void* Obj = nullptr;

protected:
  // Copies are free curves: the membership of a contour (startParam, Owner) is not copied,
  // and an assignment keeps the target's.
  TCurve2D(const TCurve2D& c);
  TCurve2D& operator=(const TCurve2D& c);

  // t brought into [window] for ext = false: shifted by whole periods (period > 0) toward it,
  // snapped to an end within tol, else clamped to the nearer end.
  static void SnapIntoWindow(Real& t, const TRegion1D& W, Real tol, Real period);
  // The window of a projection: R when given and ordered, else the curve's region.
  TRegion1D Window(const TRegion1D* R) const;
};

// The point curve: the single parameter 0, no length. Base of every other kind, whose (x, y)
// is the kind's reference point (circle centre, segment start, text anchor).
class TBasePoint : public TCurve2D, public TPoint2D
{
public:
  TBasePoint() = default;
  TBasePoint(Real ix, Real iy, Integer iAtr = 0);
  TBasePoint(const TPoint2D& P, Integer iAtr = 0);
  TBasePoint(const TBasePoint&) = default;
  TBasePoint& operator=(const TBasePoint&) = default;
  ~TBasePoint() override = default;

  using TCurve2D::DistanceTo;
  using TPoint2D::DistanceTo;

  TElement IsType() const override { return tPoint; }
  operator TString() const override;
  Real GetTMin() const override { return 0; }
  Real GetTMax() const override { return 0; }
  Real GetMetricLength() const override { return 0; }
  void PointOn(Real t, TPoint2D& P) const override;
  void FirstDer(Real t, TVector2D& V) const override;
  void SecondDer(Real t, TVector2D& V) const override;
  void ThirdDer(Real t, TVector2D& V) const override;
  void _PointOn(Real t, TPoint2D& P) const override;
  void _FirstDer(Real t, TVector2D& V) const override;
  void _SecondDer(Real t, TVector2D& V) const override;
  void _ThirdDer(Real t, TVector2D& V) const override;
  Boolean NearPointProjection(const TPoint2D& P, TPoint2D Eps, Real& t, Boolean ext,
                              TRegion1D* R) const override;
  void Store(TKmfData& S) const override;
  void Load(TKmfData& S) override;
  TBasePoint* Duplicate() const override;
  TState TrimmPart(Real t1, Real t2, TCurve2D*& part2) override;
  TState DeletePart(Real t1, Real t2, TCurve2D*& part2) override;
  TCurve2D* Trimmed(Real& t1, Real& t2, int s) const override;
  TCurve2D* Offset(const Real& d) const override;
  void Inverse() override;
  // Follows the drawing model's current frame (SetCurveTransform), not M.
  void Mtr(const TMtr2D& M) override;
  void Left(Real& ox, Real& oy) const override;
  void Right(Real& ox, Real& oy) const override;
  void Top(Real& ox, Real& oy) const override;
  void Bottom(Real& ox, Real& oy) const override;
  void Rect(TRect2D& R) const override;
  // Empties IS's list, then records where P passes within 1e-4 of this point. A kind that
  // keeps this body without being a plain point (text, polylines) answers 20 and records
  // nothing.
  Integer InterSect(const TCurve2D* P, TInterSector& IS) const override;
  Integer SelfIntersect(const TRegion1D& R, TInterSector& IS, Boolean flag) const override;
  void InterSectHorizontal(Real y0, TAReal& ACross) const override;
  void InterSectVertical(Real x0, TAReal& ACross) const override;
};

// The full circle: parameter = angle in radians, [0, 2 pi], counter-clockwise from +x.
class TCircle : public TBasePoint
{
public:
  TCircle() = default;
  TCircle(Real ix, Real iy, Real iRadius, Integer iAtr = 0);
  TCircle(const TCircle& c);
  TCircle& operator=(const TCircle& c);
  ~TCircle() override = default;

  TElement IsType() const override { return tCircle; }
  operator TString() const override;
  Boolean IsClosed() const override { return true; }
  Real GetTMin() const override { return 0; }
  Real GetTMax() const override { return C_2PI; }
  Boolean InRegion(Real t, Real Eps) const override;
  Real GetMetricLength() const override;
  void ParamToAngle(Real& t) const override;
  void AngleToParam(Real& t) const override;
  void PointOn(Real t, TPoint2D& P) const override;
  void FirstDer(Real t, TVector2D& V) const override;
  void SecondDer(Real t, TVector2D& V) const override;
  void ThirdDer(Real t, TVector2D& V) const override;
  void _PointOn(Real t, TPoint2D& P) const override;
  void _FirstDer(Real t, TVector2D& V) const override;
  void _SecondDer(Real t, TVector2D& V) const override;
  void _ThirdDer(Real t, TVector2D& V) const override;
  Boolean NearPointProjection(const TPoint2D& P, TPoint2D Eps, Real& t, Boolean ext,
                              TRegion1D* R) const override;
  // tl_On within eps of the circle, tl_Inside, tl_OutSide (an arc answers for its circle).
  TLocation PointRelative(const TPoint2D& P, Real eps) const override;
  void Store(TKmfData& S) const override;
  void Load(TKmfData& S) override;
  TCircle* Duplicate() const override;
  // Leaves the circle and hands the arc from t1 counter-clockwise to t2 over in part2.
  TState TrimmPart(Real t1, Real t2, TCurve2D*& part2) override;
  // Hands the rest, the arc from t2 counter-clockwise to t1, over in part2.
  TState DeletePart(Real t1, Real t2, TCurve2D*& part2) override;
  TCurve2D* Trimmed(Real& t1, Real& t2, int s) const override;
  // Radius + d; null when that is not above 2e-6.
  TCurve2D* Offset(const Real& d) const override;
  void Inverse() override;
  // Follows the drawing model's current frame (SetCurveTransform), not M.
  void Mtr(const TMtr2D& M) override;
  void Left(Real& ox, Real& oy) const override;
  void Right(Real& ox, Real& oy) const override;
  void Top(Real& ox, Real& oy) const override;
  void Bottom(Real& ox, Real& oy) const override;
  void Rect(TRect2D& R) const override;
  Integer InterSect(const TCurve2D* P, TInterSector& IS) const override;
  Integer SelfIntersect(const TRegion1D& R, TInterSector& IS, Boolean flag) const override;
  void InterSectHorizontal(Real y0, TAReal& ACross) const override;
  void InterSectVertical(Real x0, TAReal& ACross) const override;

  // The circle on the diameter AB.
  void Init(const TPoint2D& A, const TPoint2D& B);
  // The circle through three points; false (and no change) when they are collinear.
  Boolean Init(const TPoint2D& P1, const TPoint2D& P2, const TPoint2D& P3);
  // No vertex of L lies outside the circle.
  Boolean FoundAllPoints(const TPolyLine& L) const;

  Real Radius = 0;
  // Evaluation cache: the last angle evaluated and its cosine and sine.
  mutable Real ct = 0;
  mutable Real cosT = 1;
  mutable Real sinT = 0;

protected:
  // Fills the cache for angle a.
  void CacheAngle(Real a) const;
  // Scan of the circle (horizontal: y = v, else x = v); angles go through AngleToParam.
  void Scan(Real v, bool horizontal, TAReal& ACross) const;
  // The projection shared with the arc; arcs answer by the parameter, circles by the distance.
  Boolean Project(const TPoint2D& P, TPoint2D Eps, Real& t, Boolean ext, TRegion1D* R,
                  bool byParameter) const;
};

// The circular arc: parameter = the angle swept from A1 in the arc's own direction, [0, |A2 - A1|].
class TArc : public TCircle
{
public:
  enum TDirection { ByClockWise = -1, Degenerate = 0, BackClockWise = 1 };

  TArc() = default;
  // Centre (x, y), radius |r|, counter-clockwise when r > 0, from angle a1 to a2 (radians).
  TArc(Real ix, Real iy, Real r, Real a1, Real a2, Integer iAtr = 0);
  TArc(const TArc&) = default;
  TArc& operator=(const TArc&) = default;
  ~TArc() override = default;

  TElement IsType() const override { return tArc; }
  operator TString() const override;
  Boolean IsClosed() const override;
  Real GetTMax() const override;
  Boolean InRegion(Real t, Real Eps) const override;
  Real GetMetricLength() const override;
  void ParamToAngle(Real& t) const override;
  void AngleToParam(Real& t) const override;
  void PointOn(Real t, TPoint2D& P) const override;
  void FirstDer(Real t, TVector2D& V) const override;
  void SecondDer(Real t, TVector2D& V) const override;
  void ThirdDer(Real t, TVector2D& V) const override;
  void _PointOn(Real t, TPoint2D& P) const override;
  void _FirstDer(Real t, TVector2D& V) const override;
  void _SecondDer(Real t, TVector2D& V) const override;
  void _ThirdDer(Real t, TVector2D& V) const override;
  Boolean NearPointProjection(const TPoint2D& P, TPoint2D Eps, Real& t, Boolean ext,
                              TRegion1D* R) const override;
  // The end points and every whole half degree between them.
  void Aproximate(TPolyLine& L) const override;
  // The radius is stored negative for a clockwise arc; angles in radians (degrees before
  // version 90).
  void Store(TKmfData& S) const override;
  void Load(TKmfData& S) override;
  TArc* Duplicate() const override;
  TState TrimmPart(Real t1, Real t2, TCurve2D*& part2) override;
  TState DeletePart(Real t1, Real t2, TCurve2D*& part2) override;
  TCurve2D* Trimmed(Real& t1, Real& t2, int s) const override;
  // A positive d moves to the left of the direction of travel; null when the radius would
  // not stay above 2e-6.
  TCurve2D* Offset(const Real& d) const override;
  void Inverse() override;
  // Centre through M, radius by the length of M's first row, angles turned by its direction;
  // a reflecting M reverses the arc's sense.
  void Mtr(const TMtr2D& M) override;
  void Left(Real& ox, Real& oy) const override;
  void Right(Real& ox, Real& oy) const override;
  void Top(Real& ox, Real& oy) const override;
  void Bottom(Real& ox, Real& oy) const override;
  void Rect(TRect2D& R) const override;
  Integer InterSect(const TCurve2D* P, TInterSector& IS) const override;
  Integer SelfIntersect(const TRegion1D& R, TInterSector& IS, Boolean flag) const override;

  // Sets the angles (radians): each brought into [0, 2 pi], equal angles make a full turn in
  // direction d, and A2 is moved by a turn where d asks for the other way round.
  void InitByPositionAngles(Real a1, Real a2, TDirection d);
  // t brought into range as PointOn does (written back); its angle.
  Real CheckParamToAngle(Real& t) const;
  // The angle lies on the arc (within 1e-4 in parameter).
  Boolean AnglePertainLimit(const Real& a) const;
  Boolean IsCircle(Real) const { return true; }

  Real GetA1() const { return A1; }
  Real GetA2() const { return A2; }
  TDirection GetSense() const { return sense; }
  void SetA1(Real a) { A1 = a; }
  void SetA2(Real a) { A2 = a; }

  Real A1 = 0;
  Real A2 = 0;
  TDirection sense = BackClockWise;
  Boolean circle = false;

private:
  // t into [0, |A2 - A1|]: clamped on an open arc, wrapped on a full turn.
  void RangeParameter(Real& t) const;
  Real AngleAt(Real t) const;
  // This arc reset to the part from parameter u1 to u2 in its present direction.
  void Keep(Real u1, Real u2);
  TArc* MakePiece(Real u1, Real u2) const;
  // Of the start, the extreme point at angle a and the end, the one that better is better.
  template <class Better> void Extreme(Real a, Better better, Real& ox, Real& oy) const;
};

class TLine;

// The segment from (x, y) to (xk, yk); parameter 0 to 1.
class TLineSeg : public TBasePoint
{
public:
  TLineSeg() = default;
  TLineSeg(Real ix, Real iy, Real ixk, Real iyk, Integer iAtr = 0);
  TLineSeg(const TPoint2D& A, const TPoint2D& B, Integer iAtr = 0);
  // A long segment standing for the line: centred on its first point, 1e6 directions each way.
  explicit TLineSeg(const TLine& L);
  TLineSeg(const TLineSeg&) = default;
  TLineSeg& operator=(const TLineSeg&) = default;
  ~TLineSeg() override = default;

  TElement IsType() const override { return tLineSeg; }
  operator TString() const override;
  Real GetTMax() const override { return 1; }
  Real GetMetricLength() const override;
  void PointOn(Real t, TPoint2D& P) const override;
  // The unit direction, whatever the segment's length.
  void FirstDer(Real t, TVector2D& V) const override;
  void _PointOn(Real t, TPoint2D& P) const override;
  void _FirstDer(Real t, TVector2D& V) const override;
  Boolean NearPointProjection(const TPoint2D& P, TPoint2D Eps, Real& t, Boolean ext,
                              TRegion1D* R) const override;
  // By the sine of the angle from the segment to the point.
  TLocation PointRelative(const TPoint2D& P, Real eps) const override;
  void Store(TKmfData& S) const override;
  void Load(TKmfData& S) override;
  TLineSeg* Duplicate() const override;
  TState TrimmPart(Real t1, Real t2, TCurve2D*& part2) override;
  TState DeletePart(Real t1, Real t2, TCurve2D*& part2) override;
  TCurve2D* Trimmed(Real& t1, Real& t2, int s) const override;
  // Shifted by d along the left normal; null for a segment shorter than 2e-6.
  TCurve2D* Offset(const Real& d) const override;
  void Inverse() override;
  void Mtr(const TMtr2D& M) override;
  void Left(Real& ox, Real& oy) const override;
  void Right(Real& ox, Real& oy) const override;
  void Top(Real& ox, Real& oy) const override;
  void Bottom(Real& ox, Real& oy) const override;
  void Rect(TRect2D& R) const override;
  Integer InterSect(const TCurve2D* P, TInterSector& IS) const override;
  Integer SelfIntersect(const TRegion1D& R, TInterSector& IS, Boolean flag) const override;
  void InterSectHorizontal(Real y0, TAReal& ACross) const override;
  void InterSectVertical(Real x0, TAReal& ACross) const override;

  // The end minus the start, not normalised.
  virtual void GetDirection(TVector2D& V) const;

  Real xk = 0;
  Real yk = 0;

private:
  void Scan(Real v, bool horizontal, TAReal& ACross) const;
};

// The infinite line through (x, y) and (x2, y2); the parameter is affine over the whole axis
// (0 at the first point, 1 at the second).
class TLine : public TBasePoint
{
public:
  TLine() = default;
  TLine(Real ix, Real iy, Real ix2, Real iy2, Integer iAtr = 0);
  explicit TLine(const TLineSeg& S);
  // Through P along V.
  TLine(const TPoint2D& P, const TVector2D& V);
  // Through the origin along V.
  explicit TLine(const TVector2D& V);
  TLine(const TLine&) = default;
  TLine& operator=(const TLine&) = default;
  ~TLine() override = default;

  TElement IsType() const override { return tLines; }
  operator TString() const override;
  Real GetTMax() const override { return 1; }
  Boolean InRegion(Real, Real) const override { return true; }
  // A fixed large length for an unbounded curve.
  Real GetMetricLength() const override { return 10000000.0; }
  void PointOn(Real t, TPoint2D& P) const override;
  void FirstDer(Real t, TVector2D& V) const override;
  void _PointOn(Real t, TPoint2D& P) const override;
  void _FirstDer(Real t, TVector2D& V) const override;
  Boolean NearPointProjection(const TPoint2D& P, TPoint2D Eps, Real& t, Boolean ext,
                              TRegion1D* R) const override;
  // By the cross product with the direction (a distance times its length).
  TLocation PointRelative(const TPoint2D& P, Real eps) const override;
  void Store(TKmfData& S) const override;
  void Load(TKmfData& S) override;
  TLine* Duplicate() const override;
  TCurve2D* Trimmed(Real& t1, Real& t2, int s) const override;
  TCurve2D* Offset(const Real& d) const override;
  void Mtr(const TMtr2D& M) override;
  void Left(Real& ox, Real& oy) const override;
  void Right(Real& ox, Real& oy) const override;
  void Top(Real& ox, Real& oy) const override;
  void Bottom(Real& ox, Real& oy) const override;
  void Rect(TRect2D& R) const override;
  // Another line directly; any other curve through the long segment that stands for this
  // line (the crossings are recorded against this line, with this line's parameters).
  Integer InterSect(const TCurve2D* P, TInterSector& IS) const override;
  Integer SelfIntersect(const TRegion1D& R, TInterSector& IS, Boolean flag) const override;
  void InterSectHorizontal(Real y0, TAReal& ACross) const override;
  void InterSectVertical(Real x0, TAReal& ACross) const override;

  // The unit direction (the raw one when shorter than 2e-6).
  virtual void GetDirection(TVector2D& V) const;
  // (A - P).D and P + ((A - P).D) D: the foot parameter and point only for a unit direction.
  virtual Real Projection(const TPoint2D& A) const;
  virtual void Projection(const TPoint2D& A, TPoint2D& R) const;

  Real x2 = 0;
  Real y2 = 0;
};

// A line of text placed in the plane; geometrically the point at its anchor.
class TText : public TBasePoint
{
public:
  TText();
  TText(Real InitX, Real InitY, Real iAngle, Real iHeight, const TString& S);
  TText(const TText& t);
  TText& operator=(const TText& t);
  ~TText() override;

  void Init(Real InitX, Real InitY, Real TAngle, Real THeight, const TString& S);

  TElement IsType() const override { return tText; }
  // The point's record, then Angle, Height and the string.
  void Store(TKmfData& S) const override;
  void Load(TKmfData& S) override;
  TText* Duplicate() const override;
  Integer SelfIntersect(const TRegion1D& R, TInterSector& IS, Boolean flag) const override;
  using TBasePoint::InterSect;
  // A text is never crossed.
  Integer InterSect(const TCurve2D* P) const;

  TString* Text;
  Real Angle = 0;
  Real Height = 0;
};

// The polyline through a list of points: the approximation target of every curve, the cached
// outline of a contour, the base of the splines, and the carrier of the polygon algorithms
// (hull, enclosing circles, oriented box, shape recognition, clipping, area).
//
// Parameter: segment index plus the fraction along it, 0 .. Segments. Segments is kept by
// whoever fills Points (a closed polygon has Segments = Points.Count, its last segment being
// the closing edge); the polyline never changes it itself.
class TPolyLine : public TBasePoint
{
public:
  using PointIterator = TArrayOf<TPoint2D>::ConstIterator;

  TPolyLine() : Points(32, 32) {}
  TPolyLine(const TPolyLine&) = default;
  // Copies the curve fields, the anchor, the points (with Current), Segments, Closed, the
  // cached box and tCalc.
  TPolyLine& operator=(const TPolyLine& other);
  ~TPolyLine() override = default;

  using TCurve2D::CheckParameter;

  TElement IsType() const override { return tPolyLine; }
  // "{  (x , y), " per point, then "}".
  operator TString() const override;
  void Refresh() const override;
  Real GetTMin() const override { return 0; }
  Real GetTMax() const override { return Segments; }
  // Without points every evaluation answers the anchor point and a zero derivative.
  void PointOn(Real t, TPoint2D& P) const override;
  // The chord of the segment; on a vertex the mean of the two edges' directions, scaled by the
  // mean of their lengths.
  void FirstDer(Real t, TVector2D& V) const override;
  void SecondDer(Real t, TVector2D& V) const override;
  void ThirdDer(Real t, TVector2D& V) const override;
  void _PointOn(Real t, TPoint2D& P) const override;
  void _FirstDer(Real t, TVector2D& V) const override;
  void _SecondDer(Real t, TVector2D& V) const override;
  void _ThirdDer(Real t, TVector2D& V) const override;
  Boolean NearPointProjection(const TPoint2D& P, TPoint2D Eps, Real& t, Boolean ext,
                              TRegion1D* R) const override;
  // By the nearest segment; beyond a segment's end the bisector of the corner decides.
  TLocation PointRelative(const TPoint2D& P, Real eps) const override;
  // The box of every vertex; nothing changes while Segments is 0.
  void Rect(TRect2D& R) const override;
  TPolyLine* Duplicate() const override;
  // Crosses every pair of segments; the records name this polyline with its own parameters.
  // Answers how many crossings were appended to IS.
  Integer SelfIntersect(const TRegion1D& R, TInterSector& IS, Boolean flag) const override;
  // Append the parameters where y = y0 (x = x0) meets the segments; values already held (within
  // 1e-8) are not repeated.
  void InterSectHorizontal(Real y0, TAReal& ACross) const override;
  void InterSectVertical(Real x0, TAReal& ACross) const override;

  virtual void ResetTCalc() { tCalc = -1e300; }
  // The two points farthest apart (a before b; the first pair wins ties). a and b stay as they
  // are when no two points are apart.
  virtual void TwoMaxDistansePoints(PointIterator& a, PointIterator& b) const;
  // The segment nearest to P; -1 without segments.
  virtual Integer NearestSegment(const TPoint2D& P) const;

  // t into [0, Points.Count - 1]: wrapped on a closed curve, else clamped.
  void CheckParameter(Real& t) const;
  // A new segment (the caller owns it); null when i is not a segment.
  TLineSeg* GetSegment(Integer i) const;

  // Perimeter, the closing edge included.
  Real Len() const;
  // Length-weighted centre of the outline and its length (the closing edge included).
  void CenterXYLenCut(Real& Xc, Real& Yc, Real& LCont) const;
  // Signed area, positive for counter-clockwise points; 0 below three points.
  Real OrientationArea() const;
  // (x, y) -> (-x, -y) for every point.
  void Negate();
  // p strictly left of the directed line a -> b.
  static Boolean Inside(const TPoint2D& p, const TPoint2D& a, const TPoint2D& b);
  // The crossing of the lines a1-a2 and b1-b2; parallel lines are the caller's concern.
  static TPoint2D InterSection(const TPoint2D& a1, const TPoint2D& a2, const TPoint2D& b1,
                               const TPoint2D& b2);

  // Draws the segments between consecutive points, and the closing edge of a closed polygon
  // of three or more points, through the modeller's drLine (any 2D or 3D modeller).
  template <class Modeller> void drPolygon(Modeller& modeller, int style) const
  {
    if (Points.Count < 2) return;
    for (Integer i = 1; i < Points.Count; ++i)
      modeller.drLine(Points[i - 1].x, Points[i - 1].y, Points[i].x, Points[i].y, style);
    if (Points.Count >= 3 && Closed)
      modeller.drLine(Points[0].x, Points[0].y, Points.Last().x, Points.Last().y, style);
  }

  // Counter-clockwise convex hull without collinear points, from the lowest-x corner.
  void ConvexHull(TPolyLine& out) const;
  // Smallest circle holding every point, by trying the farthest pair and then every triple.
  void GetMin(TCircle& circle) const;
  // Smallest circle holding the first n points with the points of R on its boundary (Welzl).
  // R is extended while it works and restored; start with R empty and n = Points.Count.
  void MinCircleWelzl(TArrayOf<TPoint2D>& R, Integer n, TCircle& circle) const;
  // Smallest-area box aligned with one of the edges.
  void GetMin(TORect2D& B) const;
  // The points lie on one circle (six or more, the first and last coinciding).
  Boolean IsCircle(TCircle& circle) const;
  // The points lie on one arc from the first point to the last.
  Boolean IsArc(TArc& A) const;
  // The points lie on one straight line; S spans them.
  Boolean IsLineSeg(TLineSeg& S) const;
  // This polygon clipped by the counter-clockwise convex polygon clip.
  void SutherlandHodgman(const TPolyLine& clip, TPolyLine& out) const;
  // P does not continue the last edge's line.
  Boolean CheckVertex(const TPoint2D& P) const;

  TArrayOf<TPoint2D> Points;
  // Parameter units (GetTMax), set by whoever fills Points.
  Integer Segments = 0;
  Boolean Closed = false;
  // Cached spline parameter; -1e300 when none.
  mutable Real tCalc = -1e300;

private:
  // The segments that exist: Segments, cut to the points there are.
  Integer SegmentCount() const;
  // End of segment i: the next point, point 0 after the last point.
  Integer SegmentEnd(Integer i) const;
  void Scan(Real v, bool horizontal, TAReal& ACross) const;
  // The circle of the boundary points R (at most three used) alone.
  void BoundaryCircle(const TArrayOf<TPoint2D>& R, TCircle& circle) const;
};

// 1 when c lies left of the direction a -> b, -1 right, 0 on it.
int Relative(const TPoint2D& a, const TPoint2D& b, const TPoint2D& c);

// Fillet of radius R between the line through (x11, y11)-(x12, y12) and the line through
// (x21, y21)-(x22, y22), on the side of the first line where (x22, y22) lies (dir 1 left, -1
// right, 0 on it: then the crossing itself). True with the centre and the tangent points on
// both lines; false (centre and tangents unchanged) when the lines do not cross.
bool ConnestLL(double const& x11, double const& y11, double const& x12, double const& y12, double const& x21,
               double const& y21, double const& x22, double const& y22, double const& R,
               TPoint2D (&tangents)[2], TPoint2D& centre, int& dir);
