#pragma once
// Helpers shared by the curve units (Elements*.cpp) and the parameter regions; not part of the
// curves' interface.
#include <cmath>

#include "hxcadkit/core/DString.h"
#include "hxcadkit/core/Types.h"

class TCurve2D;
class TInterSector;

namespace ElementsUtil {

// A number of a text dump: the given decimals, a decimal point, a field of 7.
TString Num(Real v, int decimals);

// while (t < lo) t += p, and while (t > hi) t -= p, for p > 0. A long way is bridged in one
// jump, so that a parameter far from its interval cannot keep the loop running.
void StepUp(Real& t, Real lo, Real p);
void StepDown(Real& t, Real hi, Real p);

// t - floor((t - from) / p) * p, exact also where the quotient has lost its fraction.
Real FloorReduce(Real t, Real from, Real p);

// sqrt(dx^2 + dy^2), through hypot only where the squares would overflow or underflow.
inline Real Length(Real dx, Real dy)
{
  const Real s = dx * dx + dy * dy;
  if (s < 1e300 && s > 1e-300) return std::sqrt(s);
  return std::hypot(dx, dy);
}

// Through the installed drawing transformation (identity when none).
void MapThroughTransform(Real& x, Real& y);
Real TransformScale();

// The crossings of a segment or a circle with P: a point answers for itself (on the points'
// own solver), a segment comes first in the pair, circles and arcs second.
Integer InterSectElementary(const TCurve2D* self, const TCurve2D* P, TInterSector& IS);

} // namespace ElementsUtil
