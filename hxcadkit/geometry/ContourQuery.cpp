// The questions asked of a contour as a region or as a chain of curves: point inside or on it,
// contact with a curve or another contour, crossings with itself and with scan lines. Every
// test goes through the curve intersector.
#include <algorithm>
#include <cmath>

#include "hxcadkit/geometry/Contour.h"
#include "hxcadkit/geometry/SolverInterSect.h"

namespace {

constexpr Real OnContour = 0.0001;

// The parameter that the crossing records on curve c.
bool ParameterOn(const TCrossPoint& cp, const TCurve2D* c, Real& t)
{
  if (cp.on2.curve == c) {
    t = cp.on2.t;
    return true;
  }
  if (cp.on1.curve == c) {
    t = cp.on1.t;
    return true;
  }
  return false;
}

} // namespace

// --- ListX ---------------------------------------------------------------------------------

ListX::~ListX()
{
  while (List) {
    TNode* next = List->next;
    delete List;
    List = next;
  }
}

void ListX::Add(double const& x)
{
  for (const TNode* n = List; n; n = n->next)
    if (std::fabs(n->x - x) <= OnContour) return;
  List = new TNode{x, List};
  if (x >= PX)
    ++CountIntersectsRight;
  else
    ++CountIntersectsLeft;
}

void ListX::Tally(double const& x)
{
  if (x >= PX)
    ++CountIntersectsRight;
  else
    ++CountIntersectsLeft;
}

// --- Point in contour ----------------------------------------------------------------------

Boolean TContour::FoundPoint(double const& x, double const& y) const
{
  if (Count < 1 || !std::isfinite(x) || !std::isfinite(y)) return false;
  // The scan line y meets each y-monotone piece of a member from its lower end (inclusive) to
  // its upper end (exclusive). So a vertex on the line counts once for each piece that leaves
  // it upward: twice where the outline only touches the line (no change of parity), once where
  // it passes through. The abscissas come from the members' own equations, never from a
  // long ray, whose far ends would swamp their digits.
  ListX crossings(x, y, nullptr);
  const TPoint2D P(x, y);
  auto piece = [&](Real ya, Real yb, Real cx) {
    if ((ya > y) != (yb > y)) crossings.Tally(cx);
  };
  for (Integer i = 0; i < Count; ++i) {
    const TCurve2D* c = FArray[i];
    if (!c) continue;
    switch (c->IsType()) {
    case tLineSeg: {
      const TLineSeg* s = static_cast<const TLineSeg*>(c);
      if (std::min(s->y, s->yk) - OnContour <= y && y <= std::max(s->y, s->yk) + OnContour &&
          std::min(s->x, s->xk) - OnContour <= x && x <= std::max(s->x, s->xk) + OnContour &&
          P.DistanceToSegment(s->x, s->y, s->xk, s->yk) <= OnContour)
        return true;
      if ((s->y > y) != (s->yk > y)) piece(s->y, s->yk, s->x + (y - s->y) * (s->xk - s->x) / (s->yk - s->y));
      break;
    }
    case tCircle:
    case tArc: {
      const TCircle* k = static_cast<const TCircle*>(c);
      const Real R = k->Radius;
      if (std::fabs(y - k->y) <= R + OnContour && std::fabs(x - k->x) <= R + OnContour &&
          c->DistanceTo(P) <= OnContour)
        return true;
      if (!(std::fabs(y - k->y) < R)) break;
      // The counter-clockwise angle interval, cut at the top and the bottom of the circle into
      // pieces that each rise or fall.
      Real lo = 0, hi = TMathDef::C_2PI;
      if (c->IsType() == tArc) {
        const TArc* a = static_cast<const TArc*>(c);
        lo = std::min(a->A1, a->A2);
        hi = std::max(a->A1, a->A2);
        // Angles read from a stream may be anything: at most one turn from a start in [0, 2 pi).
        if (!std::isfinite(lo) || !std::isfinite(hi)) break;
        const Real span = std::min(hi - lo, TMathDef::C_2PI);
        lo = std::fmod(lo, TMathDef::C_2PI);
        if (lo < 0) lo += TMathDef::C_2PI;
        hi = lo + span;
      }
      const Real h = std::sqrt(std::max<Real>(0, R * R - (y - k->y) * (y - k->y)));
      const bool isArc = c->IsType() == tArc;
      // The ends: an arc's own, a circle's at angle 0 (exactly level with its centre).
      Real yFrom = isArc ? k->y + R * std::sin(lo) : k->y;
      const Real yEnd = isArc ? k->y + R * std::sin(hi) : k->y;
      Real from = lo;
      // Tops and bottoms at pi/2 + j pi: a top for even j, a bottom for odd j.
      for (long j = long(std::floor((lo - TMathDef::C_PI / 2) / TMathDef::C_PI)) + 1;; ++j) {
        const Real mark = TMathDef::C_PI / 2 + Real(j) * TMathDef::C_PI;
        const bool last = !(mark < hi);
        const Real to = last ? hi : mark;
        const Real yTo = last ? yEnd : (j % 2 == 0 ? k->y + R : k->y - R);
        if (to > from) piece(yFrom, yTo, k->x + (std::cos((from + to) / 2) >= 0 ? h : -h));
        if (last) break;
        from = to;
        yFrom = yTo;
      }
      break;
    }
    default:
      break; // points and texts enclose nothing
    }
  }
  return (crossings.CountIntersectsLeft % 2) == 1 && (crossings.CountIntersectsRight % 2) == 1;
}

// --- Curves against the contour ------------------------------------------------------------

Integer TContour::FoundLine(TLineSeg const* s) const
{
  if (!s) return 0;
  if (FoundPoint(s->x, s->y) || FoundPoint(s->xk, s->yk)) return 1;
  return InterSect(s) != 0 ? 1 : 0;
}

Boolean TContour::FoundArc(TArc const* a) const
{
  if (!a) return false;
  const TPoint2D P = a->PointTMin();
  return FoundPoint(P.x, P.y) || InterSect(a) != 0;
}

Integer TContour::FoundCircle(TCircle const* c) const
{
  if (!c || Count < 1 || !FArray[0]) return 0;
  const TCurve2D* first = FArray[0];
  if (Count == 1 && first->IsType() == tCircle) {
    const TCircle* k = static_cast<const TCircle*>(first);
    return c->Radius + k->Radius > std::hypot(c->x - k->x, c->y - k->y) ? 1 : 0;
  }
  // A kind whose Left writes nothing is measured from its start.
  TPoint2D P = first->PointTMin();
  first->Left(P.x, P.y);
  if (c->Radius > std::hypot(c->x - P.x, c->y - P.y)) return 1;
  if (FoundPoint(c->x, c->y)) return 1;
  return InterSect(c) != 0 ? 1 : 0;
}

Integer TContour::Found(TCurve2D const* c) const
{
  if (!c || Count < 1) return 0;
  switch (c->IsType()) {
  case tPoint: {
    const TBasePoint* p = static_cast<const TBasePoint*>(c);
    return FoundPoint(p->x, p->y) ? 1 : 0;
  }
  case tLineSeg:
    return FoundLine(static_cast<const TLineSeg*>(c));
  case tCircle:
    return FoundCircle(static_cast<const TCircle*>(c));
  case tArc:
    return FoundArc(static_cast<const TArc*>(c)) ? 1 : 0;
  default:
    return 0;
  }
}

Boolean TContour::Found(TContour const& other) const
{
  for (Integer i = 0; i < other.Count; ++i)
    if (Found(other.FArray[i])) return true;
  return false;
}

Boolean TContour::Colision(TContour const& other) const
{
  for (Integer i = 0; i < other.Count; ++i)
    if (other.FArray[i] && InterSect(other.FArray[i]) != 0) return true;
  return false;
}

Integer TContour::InterSect(TCurve2D const* c) const
{
  if (!c) return 0;
  TInterSector IS;
  for (Integer i = 0; i < Count; ++i) {
    if (!FArray[i]) continue;
    const Integer r = IS.InterSection(c, FArray[i]);
    IS.ACrossPoint.Clear();
    if (r >= 2) return 2;
    if (r == 1) return 1;
  }
  return 0;
}

Boolean TContour::InterSect2(TCurve2D const* c) const
{
  if (!c) return false;
  TInterSector IS;
  int met = 0;
  for (Integer i = 0; i < Count; ++i) {
    if (!FArray[i]) continue;
    const Integer r = IS.InterSection(c, FArray[i]);
    IS.ACrossPoint.Clear();
    if (r >= 1 && ++met >= 2) return true;
  }
  return false;
}

// --- Self-crossings ------------------------------------------------------------------------

Integer TContour::SelfIntersect(const TRegion1D& region, TInterSector& X, Boolean flag) const
{
  const Integer start = X.ACrossPoint.Count;
  for (Integer i = 0; i < Count; ++i) {
    const TCurve2D* a = FArray[i];
    if (!a) continue;
    for (Integer j = i; j < Count; ++j) {
      const TCurve2D* b = FArray[j];
      if (!b) continue;
      if (j == i) {
        a->SelfIntersect(region, X, flag);
        continue;
      }
      const Integer m = X.ACrossPoint.Count;
      X.InterSection(a, b);
      const bool next = j == i + 1;
      const bool closing = i == 0 && j == Count - 1;
      if (!next && !closing) continue;
      // A joint of the chain meets its neighbour exactly at the two end parameters; any
      // other crossing there is a real one.
      for (Integer k = X.ACrossPoint.Count - 1; k >= m; --k) {
        Real ta = 0, tb = 0;
        const TCrossPoint& cp = X.ACrossPoint[k];
        if (!ParameterOn(cp, a, ta) || !ParameterOn(cp, b, tb)) continue;
        const bool joint = (next && ta == a->GetTMax() && tb == b->GetTMin()) ||
                           (closing && ta == a->GetTMin() && tb == b->GetTMax());
        if (joint) X.ACrossPoint.Delete(k);
      }
    }
  }
  return std::max<Integer>(X.ACrossPoint.Count - start, 0);
}

// --- Scan lines ----------------------------------------------------------------------------

void TContour::Scan(Real v, bool horizontal, TAReal& out) const
{
  Real s = 0;
  const Real T = GetTMax();
  TAReal list;
  for (Integer i = 0; i < Count; ++i) {
    const TCurve2D* c = FArray[i];
    if (!c) continue;
    if (horizontal)
      c->InterSectHorizontal(v, list);
    else
      c->InterSectVertical(v, list);
    const Real tmin = c->GetTMin();
    for (Integer k = 0; k < list.Count; ++k) {
      Real p = s + (list[k] - tmin);
      if (closed && i == Count - 1 && std::fabs(T - p) < paramEpsilon) p = GetTMin();
      CheckParameter(out, p, paramEpsilon);
    }
    s += c->GetTMax() - tmin;
    list.Clear();
  }
}

void TContour::InterSectHorizontal(Real y0, TAReal& out) const
{
  Scan(y0, true, out);
}

void TContour::InterSectVertical(Real x0, TAReal& out) const
{
  Scan(x0, false, out);
}
