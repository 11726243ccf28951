#pragma once
// The spatial triangle and its shadow tests: do two triangles overlap as seen along the Z axis.
// Coordinates are millimetres and the tolerances of the shadow tests are absolute.
#include "hxcadkit/core/DString.h"
#include "hxcadkit/geometry/Mathemat3d.h"

class TPolyLine;

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
