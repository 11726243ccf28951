// The outer-contour walk: from the leftmost point of a set of curves, along the pieces of the
// curves, taking at every meeting point the way out that turns furthest to the right, until
// the walk is back at its start.
#include "hxcadkit/geometry/OutCont.h"

#include <cmath>
#include <utility>

TInterSector IS;

namespace {

constexpr Real SameEps = 1e-4;
// Just short of the reverse of the incoming direction: going straight back comes last.
constexpr Real ReverseOffset = 179.9942704220487;
constexpr Integer NewPieceAtr = 15;
constexpr Integer WalkedAtr = 1;

bool Same(Real x1, Real y1, Real x2, Real y2)
{
  return std::fabs(x1 - x2) <= SameEps && std::fabs(y1 - y2) <= SameEps;
}

// a brought into [0, 360).
Real Turn360(Real a)
{
  a = std::fmod(a, 360.0);
  return a < 0 ? a + 360.0 : a;
}

void Merge(ISPoint*& list, const TPoint2D& p, TBasePoint* c)
{
  ISPoint* pt = FindPoint(list, p.x, p.y);
  if (!pt) {
    pt = AddPoint(list);
    pt->x = p.x;
    pt->y = p.y;
  }
  AddPrimitiv(pt, c);
}

void MergeOwned(ISPoint*& list, const TPoint2D& p, TBasePoint* c)
{
  Merge(list, p, c);
  FindPoint(list, p.x, p.y)->Primitivs->Typ = true;
}

TPoint2D Pop()
{
  const TPoint2D p = IS.ACrossPoint.Last().p;
  IS.ACrossPoint.Delete(IS.ACrossPoint.Count - 1);
  return p;
}

// The parts of segment c beyond the stretch o1-o2 where it lies along the piece, each from the
// stretch's end to c's end beyond it (along x, or y for an upright c), as new segments at the
// stretch's ends.
void LeaveTheOverlap(ISPoint*& list, const TLineSeg* c, TPoint2D o1, TPoint2D o2)
{
  TPoint2D e1(c->x, c->y), e2(c->xk, c->yk);
  const bool upright = std::fabs(c->x - c->xk) <= SameEps;
  auto along = [upright](const TPoint2D& p) { return upright ? p.y : p.x; };
  if (along(o2) < along(o1)) std::swap(o1, o2);
  if (along(e2) < along(e1)) std::swap(e1, e2);
  if (along(e1) < along(o1) - SameEps)
    MergeOwned(list, o1, new TLineSeg(o1.x, o1.y, e1.x, e1.y, NewPieceAtr));
  if (along(e2) > along(o2) + SameEps)
    MergeOwned(list, o2, new TLineSeg(o2.x, o2.y, e2.x, e2.y, NewPieceAtr));
}

TDirectionMovement* Way(TDirectionMovement*& list, const ISPoint* CP, Real DA, Real ADA, TBasePoint* piece)
{
  TDirectionMovement* d = AddDirectionMovement(list);
  d->DA = DA;
  d->ADA = ADA;
  d->x = CP->x;
  d->y = CP->y;
  d->PPM = piece;
  return d;
}

void SegmentWays(const TLineSeg* s, const ISPoint* CP, TDirectionMovement*& list)
{
  auto toward = [&](Real tx, Real ty) {
    Way(list, CP, AngleLine(CP->x, CP->y, tx, ty), 0, new TLineSeg(CP->x, CP->y, tx, ty, NewPieceAtr));
  };
  if (Same(CP->x, CP->y, s->x, s->y)) {
    toward(s->xk, s->yk);
  } else if (Same(CP->x, CP->y, s->xk, s->yk)) {
    toward(s->x, s->y);
  } else {
    toward(s->x, s->y);
    toward(s->xk, s->yk);
  }
}

// Along an arc from one of its ends the whole arc is the piece; from inside it, the two parts
// beyond a small step either way. A clockwise arc gets the mirrored directions, so that each
// direction is the way its piece runs.
void ArcWays(const TArc* a, const ISPoint* CP, TDirectionMovement*& list)
{
  const Real R = a->Radius;
  const Real eps = 0.01 / R;
  const Real phi = AngleLine(a->x, a->y, CP->x, CP->y);
  const int s = a->sense == TArc::ByClockWise ? -1 : 1;
  const Real left = phi + 90 + eps, right = phi - 90 - eps;
  const TPoint2D A = a->PointTMin(), B = a->PointTMax();
  if (Same(CP->x, CP->y, A.x, A.y)) {
    Way(list, CP, s == 1 ? left : right, eps, a->Duplicate());
    return;
  }
  if (Same(CP->x, CP->y, B.x, B.y)) {
    Way(list, CP, s == 1 ? right : left, eps, a->Duplicate());
    return;
  }
  // Where CP stands along the arc, and the step either way, in radians of sweep.
  Real at = 0;
  a->NearPointProjection(TPoint2D(CP->x, CP->y), TPoint2D(1e-8, 1e-8), at, false, nullptr);
  const Real step = eps * TMathDef::DEGRAD, span = a->GetTMax();
  const Real forward = phi + s * eps, backward = phi - s * eps;
  if (at + step < span)
    Way(list, CP, s == 1 ? left : right, eps,
        new TArc(a->x, a->y, s * R, forward * TMathDef::DEGRAD, a->A2, NewPieceAtr));
  if (at - step > 0)
    Way(list, CP, s == 1 ? right : left, eps,
        new TArc(a->x, a->y, s * R, a->A1, backward * TMathDef::DEGRAD, NewPieceAtr));
}

} // namespace

// --- Lists ---------------------------------------------------------------------------------

ISPoint* AddPoint(ISPoint*& list)
{
  ISPoint* p = new ISPoint;
  p->Next = list;
  list = p;
  return p;
}

void AddPrimitiv(ISPoint* pt, TBasePoint* P)
{
  if (!pt) return;
  pt->Primitivs = new Prim{P, false, pt->Primitivs};
}

TDirectionMovement* AddDirectionMovement(TDirectionMovement*& list)
{
  TDirectionMovement* d = new TDirectionMovement;
  d->Next = list;
  list = d;
  return d;
}

ISPoint* FindPoint(ISPoint* list, double const& x, double const& y)
{
  for (ISPoint* p = list; p; p = p->Next)
    if (Same(p->x, p->y, x, y)) return p;
  return nullptr;
}

void DelAllPrimitiv(ISPoint* pt)
{
  if (!pt) return;
  while (Prim* n = pt->Primitivs) {
    pt->Primitivs = n->Next;
    if (n->Typ) delete n->P;
    delete n;
  }
}

void DelAllPoint(ISPoint*& list)
{
  while (ISPoint* p = list) {
    list = p->Next;
    DelAllPrimitiv(p);
    delete p;
  }
}

void DeleteAllDirection(TDirectionMovement*& list)
{
  while (TDirectionMovement* d = list) {
    list = d->Next;
    delete d->PPM;
    delete d;
  }
}

// --- The steps of the walk -----------------------------------------------------------------

void LeftPoint(TContour const& Sourse, ISPoint*& PointList)
{
  ISPoint* best = nullptr;
  for (Integer i = 0; i < Sourse.Count; ++i) {
    TBasePoint* c = dynamic_cast<TBasePoint*>(Sourse[i]);
    if (!c) continue;
    // A kind without a leftmost point writes nothing.
    Real lx = 1e300, ly = 1e300;
    c->Left(lx, ly);
    if (lx == 1e300 && ly == 1e300) continue;
    if (!best) {
      best = AddPoint(PointList);
      best->x = lx;
      best->y = ly;
      AddPrimitiv(best, c);
    } else if (Same(best->x, best->y, lx, ly)) {
      AddPrimitiv(best, c);
    } else if (lx < best->x) {
      DelAllPrimitiv(best);
      best->x = lx;
      best->y = ly;
      AddPrimitiv(best, c);
    }
  }
}

ISPoint* GetAllIntersectPoint(TBasePoint* Prim, TContour& Sourse)
{
  ISPoint* list = nullptr;
  if (!Prim) return list;
  const bool askThePoint = Prim->IsType() == tPoint;
  for (Integer i = 0; i < Sourse.Count; ++i) {
    TBasePoint* c = dynamic_cast<TBasePoint*>(Sourse[i]);
    if (!c) continue;
    IS.ACrossPoint.Clear();
    const Integer r = askThePoint ? Prim->InterSect(c, IS) : c->InterSect(Prim, IS);
    // Counts of crossings, and the codes of curves that report overlaps (10: a segment along
    // Prim, 12: to be ignored, 13: an arc on Prim's circle). Other answers (20: a point asked
    // about something that is no point) bring no crossing.
    if (r == 1 || r == 2) {
      for (Integer k = 0; k < r && IS.ACrossPoint.Count > 0; ++k)
        Merge(list, Pop(), c);
    } else if (r == 10 && c->IsType() == tLineSeg && IS.ACrossPoint.Count >= 2) {
      const TPoint2D o1 = Pop(), o2 = Pop();
      LeaveTheOverlap(list, static_cast<const TLineSeg*>(c), o1, o2);
    } else if (r == 13 && c->IsType() == tArc) {
      // The arc's whole circle at both of its ends, so that the walk can go round it.
      const TArc* a = static_cast<const TArc*>(c);
      for (const TPoint2D& end : {a->PointTMin(), a->PointTMax()})
        MergeOwned(list, end, new TCircle(a->x, a->y, a->Radius, 3));
    }
    IS.ACrossPoint.Clear();
  }
  return list;
}

Boolean MakeDirectionMovement(ISPoint* CurrentPoint, TDirectionMovement*& DirectionMovementList)
{
  if (!CurrentPoint) return true;
  for (Prim* n = CurrentPoint->Primitivs; n; n = n->Next) {
    const TBasePoint* c = n->P;
    if (!c) continue;
    switch (c->IsType()) {
    case tPoint:
      if (Same(c->x, c->y, CurrentPoint->x, CurrentPoint->y)) return false;
      break;
    case tLineSeg:
      SegmentWays(static_cast<const TLineSeg*>(c), CurrentPoint, DirectionMovementList);
      break;
    case tCircle: {
      const TCircle* k = static_cast<const TCircle*>(c);
      const Real phi = AngleLine(k->x, k->y, CurrentPoint->x, CurrentPoint->y);
      Way(DirectionMovementList, CurrentPoint, phi + 90, 1 / k->Radius, k->Duplicate());
      Way(DirectionMovementList, CurrentPoint, phi - 90, 1 / k->Radius, k->Duplicate());
      break;
    }
    case tArc:
      ArcWays(static_cast<const TArc*>(c), CurrentPoint, DirectionMovementList);
      break;
    default:
      break;
    }
  }
  return true;
}

TDirectionMovement* GetBestDirection(double const& A, TDirectionMovement* List)
{
  const Real ref = A - ReverseOffset;
  TDirectionMovement* best = nullptr;
  Real bestRel = 0;
  for (TDirectionMovement* d = List; d; d = d->Next) {
    const Real rel = Turn360(d->DA - ref);
    if (!best || rel < bestRel - 1e-9 || (std::fabs(rel - bestRel) <= 1e-9 && d->ADA < best->ADA)) {
      best = d;
      bestRel = rel;
    }
  }
  return best;
}

ISPoint* GetBestPoint(TDirectionMovement& State, ISPoint* IPL, TBasePoint*& PrimM)
{
  PrimM = nullptr;
  const TBasePoint* c = State.PPM;
  if (!c) return nullptr;
  const Real x0 = State.x, y0 = State.y;
  ISPoint* best = nullptr;
  Real measure = 1e300;
  if (c->IsType() == tLineSeg) {
    const TLineSeg* s = static_cast<const TLineSeg*>(c);
    const Real L = std::hypot(s->xk - x0, s->yk - y0);
    for (ISPoint* p = IPL; p; p = p->Next) {
      if (Same(p->x, p->y, x0, y0)) continue;
      const Real d = std::hypot(p->x - x0, p->y - y0);
      if (d < L + 1.0 && d < measure) {
        best = p;
        measure = d;
      }
    }
    if (!best) return nullptr;
    if (Same(best->x, best->y, s->xk, s->yk)) {
      best->x = s->xk;
      best->y = s->yk;
    }
    PrimM = new TLineSeg(x0, y0, best->x, best->y, WalkedAtr);
    return best;
  }
  if (c->IsType() != tCircle && c->IsType() != tArc) return nullptr;
  const TCircle* k = static_cast<const TCircle*>(c);
  const Real phi0 = AngleLine(k->x, k->y, x0, y0);
  bool ccw = State.DA == phi0 + 90;
  if (c->IsType() == tArc) {
    // Along the arc's own sense, against it when the walk stands at the arc's end.
    const TArc* a = static_cast<const TArc*>(c);
    const TPoint2D A = a->PointTMin(), B = a->PointTMax();
    const bool atEnd = std::hypot(B.x - x0, B.y - y0) < std::hypot(A.x - x0, A.y - y0);
    ccw = (a->sense != TArc::ByClockWise) != atEnd;
  }
  Real bestPhi = 0;
  for (ISPoint* p = IPL; p; p = p->Next) {
    if (Same(p->x, p->y, x0, y0)) continue;
    const Real phi = AngleLine(k->x, k->y, p->x, p->y);
    const Real sweep = Turn360(ccw ? phi - phi0 : phi0 - phi);
    if (sweep > 0 && sweep < measure) {
      best = p;
      measure = sweep;
      bestPhi = phi;
    }
  }
  if (!best) {
    if (c->IsType() != tCircle) return nullptr;
    // The whole circle, back to where it started.
    PrimM = new TCircle(k->x, k->y, k->Radius, WalkedAtr);
    return FindPoint(IPL, x0, y0);
  }
  const Real a1 = phi0 * TMathDef::DEGRAD, a2 = (ccw ? phi0 + measure : phi0 - measure) * TMathDef::DEGRAD;
  PrimM = new TArc(k->x, k->y, ccw ? k->Radius : -k->Radius, a1, a2, WalkedAtr);
  State.DA = bestPhi + (ccw ? 90 : -90);
  return best;
}

// --- The walk ------------------------------------------------------------------------------

Integer TContour::OutCont(TContour* Dest, TGImage*) const
{
  // Without a destination the walk still runs and answers its code.
  TContour scratch;
  TContour& out = Dest ? *Dest : scratch;
  out.Clear();
  if (Count < 1) return 0;
  TContour W;
  Duplicate(&W);
  ISPoint* start = nullptr;
  LeftPoint(W, start);
  if (!start) return 1;
  const Real x0 = start->x, y0 = start->y;
  DelAllPoint(start);

  TBasePoint* home = new TBasePoint(x0, y0);
  ISPoint* points = GetAllIntersectPoint(home, W);
  if (!points) {
    delete home;
    return 1;
  }
  // From now on every crossing list carries the start, where the walk ends.
  W.Add(home);
  W.Refresh();

  ISPoint* CP = points;
  Real incoming = 270.0;
  const Integer limit = 2 * Count;
  Integer result = 0;
  for (Integer i = 0;; ++i) {
    TDirectionMovement* ways = nullptr;
    if (!MakeDirectionMovement(CP, ways)) {
      DeleteAllDirection(ways);
      break;
    }
    DelAllPoint(points);
    TDirectionMovement* chosen = GetBestDirection(incoming, ways);
    if (!chosen) {
      result = 2;
      break;
    }
    TDirectionMovement state = *chosen;
    state.Next = nullptr;
    chosen->PPM = nullptr;
    DeleteAllDirection(ways);

    points = GetAllIntersectPoint(state.PPM, W);
    TBasePoint* walked = nullptr;
    CP = GetBestPoint(state, points, walked);
    if (!CP) {
      delete state.PPM;
      result = 3;
      break;
    }
    AddPrimitiv(CP, state.PPM);
    CP->Primitivs->Typ = true;
    out.Add(walked);
    if (Same(CP->x, CP->y, x0, y0)) break;
    if (i >= limit) {
      result = 4;
      break;
    }
    incoming = state.DA;
  }
  DelAllPoint(points);
  out.Refresh();
  return result;
}
