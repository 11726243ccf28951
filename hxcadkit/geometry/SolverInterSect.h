#pragma once
// TInterSector: where two plane curves cross. It handles the pairs the system needs (point with
// point, point with any curve, line with line, line with circle or arc, circle or arc with
// circle or arc) and collects each crossing as a TCrossPoint with the point and its parameter
// on both curves. A solver never owns the curves: a record stays valid while both curves live.
// Records pile up over successive calls until the caller empties or pops them.
#include "hxcadkit/core/DString.h"
#include "hxcadkit/core/TArray.h"
#include "hxcadkit/core/Types.h"
#include "hxcadkit/geometry/Mathemat.h"

class TCurve2D;

// A parameter value with the tolerance within which two values of it count as one. The tolerance is
// named by a constant, since not every compiler we build with takes a floating-point template argument.
template <class T, const T& Tol> class TParameter
{
public:
  static constexpr T Eps = Tol;

  TParameter() = default;
  TParameter(const TParameter&) = default;
  TParameter& operator=(const TParameter&) = default;
  virtual ~TParameter() = default;

  T Value{};
};

inline constexpr Real cCooEps = 1e-8;

// A curve parameter; its own Value is not used by the crossing records.
using TCoo = TParameter<Real, cCooEps>;

// The place of a crossing on one curve.
class TPointOnCurve : public TCoo
{
public:
  TPointOnCurve() = default;
  TPointOnCurve(Real it, const TCurve2D* c) : t(it), curve(c) {}
  TPointOnCurve(const TPointOnCurve&) = default;
  TPointOnCurve& operator=(const TPointOnCurve&) = default;
  ~TPointOnCurve() override = default;

  Real t = 0;
  const TCurve2D* curve = nullptr; // not owned
};

class TCrossPoint : public TMathDef
{
public:
  enum TIntersection { ipt_Simple = 1, ipt_Tangent = 2, ipt_Overlay = 3 };

  TCrossPoint() = default;
  TCrossPoint(const TCrossPoint&) = default;
  TCrossPoint& operator=(const TCrossPoint&) = default;
  virtual ~TCrossPoint() = default;

  // The crossing joins the end of one curve to the start of the other (each within eps).
  Boolean IsLink(Real eps) const;

  TIntersection form = ipt_Simple;
  TPoint2D p;
  TPointOnCurve on1, on2;
};

class TInterSector : public TMathDef
{
public:
  TInterSector();
  ~TInterSector() = default;

  // The shared solver the curves hand point crossings to.
  static TInterSector& Instance2();

  // Appends the crossings of c1 and c2 and answers how many it appended.
  Integer InterSection(const TCurve2D* c1, const TCurve2D* c2);
  // Segments or infinite lines (kinds 2 and 6): 0 or 1.
  Integer InterSectLineLine(const TCurve2D* C1, const TCurve2D* C2);
  // A segment or line C1 with a circle or arc C2: 0, 1 or 2.
  Integer InterSectLineCircle(const TCurve2D* C1, const TCurve2D* C2);
  // Circles or arcs: 0, 1 or 2; -2 for the same circle twice and -1 for other concentric
  // circles (nothing appended).
  Integer InterSectCircleCircle(const TCurve2D* c1, const TCurve2D* c2);
  // Appends the crossing when both parameters lie in their curves' ranges (within 2e-7).
  Integer Validate(const TPoint2D& P, const TCurve2D* C1, const Real& t1, const TCurve2D* C2, const Real& t2);
  // Removes the crossings that are joints of consecutive curves (within 1e-4 of the ends).
  void DeleteLinkCrossPoint(const TCurve2D* unused = nullptr);

  TArrayOf<TCrossPoint> ACrossPoint;
  TPoint2D Eps;
  Real eps = 1e-8;

private:
  void Append(const TPoint2D& P, Real t1, const TCurve2D* C1, Real t2, const TCurve2D* C2);
  Integer LineCircle(const TCurve2D* C1, int k1, const TCurve2D* C2, int k2);
  Real Tolerance() const;
};

// Direction angle of P2 - P1 in [0, 2 pi); 0 for coinciding points.
Real CalcAngle0X(const TPoint2D& P1, const TPoint2D& P2);

// Trace of the crossings that DeleteLinkCrossPoint kept; nothing in the system reads it.
extern TArrayOf<TString> TestA;
