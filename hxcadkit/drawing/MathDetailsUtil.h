#pragma once
// Pieces shared by the machine elements' two units: the constants of hexagons, chamfers that
// fit, thread and hexagon lines, rings, and the frame of a revolved part document.
#include <algorithm>

#include "hxcadkit/core/DString.h"
#include "hxcadkit/drawing/MathDetail2.h"

class TModeler3D;

inline constexpr double Cos30 = 0.8660254037844387;
inline constexpr double Tan30 = 0.5773502691896257;

// The chamfer or fillet c where it fits into the legs a and b: never below 0 (nor NaN), never
// longer than either leg.
inline double FitChamfer(double c, double a, double b)
{
  const double fit = std::min({c, a, b});
  return fit > 0.0 ? fit : 0.0;
}

// The thread's root line, thin, at 0.85 of the radius r from x0 to x1, in each drawn half.
inline void ThreadLines(TElementOutline& o, double x0, double x1, double r)
{
  if (x0 < x1) o.HalfLine(x0, 0.85 * r, x1, 0.85 * r, 2);
}

// The hexagon across flats S centred on the origin, two corners on the Y axis and two flats
// parallel to it, drawn once.
inline void Hexagon(TElementOutline& o, double S, int style)
{
  const double h = S / 2.0, R = h / Cos30, a = h * Tan30;
  o.Polygon({0.0, R, h, a, h, -a, 0.0, -R, -h, -a, -h, a}, style);
}

// A shank of radius r from its shoulder at x0 to its end at x1, chamfered at 45 degrees by c0
// at x0 and by c1 at x1, continuing the outline from (x0, *) down to the axis at x1; the line
// where the end chamfer starts runs down to the axis in the drawing modes.
void Shank(TElementOutline& o, double x0, double x1, double r, double c0, double c1);

// The closed half section of a ring from x = 0 to L between the radii r1 and r2, the outer
// edge chamfered by co0 at x = 0 and by co1 at x = L, the inner edges by ci, each where it fits.
void Ring(TElementOutline& o, double L, double r1, double r2, double co0, double co1, double ci);

// A part document made by revolving a profile about the X axis, then cutting, when asked, the
// closed curves of a sketch across the axis at x = 0 to depth on both sides (so the cut does
// not depend on which way the host's normal points). Nothing is made when a coordinate or the
// depth would not be finite; the element named by what is then reported. A fastener (a bolt, a screw)
// is recorded as one, so that a check of an assembly knows it must stand in holes; a piece of a fastener's
// set (a nut, a washer) as one that travels with it.
bool MakeRevolvedPart(TModeler3D& M, const TString& FileName, const TString& Name, const TString& Marking,
                      const TElementOutline& profile, const TElementOutline* cut, double depth,
                      const char* what, bool fastener = false, bool piece = false);
