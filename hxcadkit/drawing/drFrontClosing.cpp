// The closing of a hatch's or a colouring's boundary along the front regions that cut it, when its object
// ends: the pieces of the boundary that waited along the regions' outlines, and the regions' edges that
// border the hatched side, worked out from which points the boundary encloses.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <utility>
#include <vector>

#include "hxcadkit/drawing/drFrontSet.h"

namespace hxfront {

// SortFew for the parameters along a piece: 0 first and 1 last, every crossing between them. Neither end
// moves (no crossing lies below 0 or above 1), and 0 stops each insertion before the front.
void SortCrossings(double* d, std::size_t n)
{
  if (n > 16) return std::sort(d, d + n);
  const std::size_t last = n - 1;
  for (std::size_t i = 2; i < last; ++i) {
    const double x = d[i];
    std::size_t j = i;
    for (; x < d[j - 1]; --j)
      d[j] = d[j - 1];
    d[j] = x;
  }
}

// OnSweep(std::atan2(y, x), a1, sweep, tol), the angle left out where the eighth of a turn the direction lies
// in is wholly on the arc or wholly off it, by far more than the rounding of the angle and of the test (the
// signs of x and y and which is the longer tell the eighth).
[[gnu::always_inline]] inline bool OnSweepAt(double y, double x, double a1, double sweep, double tol)
{
  constexpr double Eighth = M_PI / 4, Margin = 1e-9;
  if ((x > 0.0 || x < 0.0) && (y > 0.0 || y < 0.0) && std::fabs(a1) < 64.0 && sweep < FullTurn) {
    // The eighth from k turns/8 (k from -4 to 3: atan2 gives -pi..pi).
    const bool steep = std::fabs(y) > std::fabs(x);
    const int k =
        y > 0.0 ? (x > 0.0 ? int(steep) : 3 - int(steep)) : (x < 0.0 ? -4 + int(steep) : -1 - int(steep));
    // Where the eighth begins, from a1 in 0..2pi, less the margin; the angles of the eighth follow it over w.
    const double u = WithinTurn(k * Eighth - a1 - Margin);
    const double w = Eighth + 2 * Margin;
    if (u + w <= sweep) return true;
    if (u > sweep + tol + Margin && u + w < FullTurn - tol - Margin) return false;
  }
  return OnSweep(std::atan2(y, x), a1, sweep, tol);
}

// Where the segment p + t (q - p) meets the arc (t in 0..1).
void ArcCrossings(const TPoint2D& p, const TPoint2D& q, const TBoundCurve& c, double*& ts)
{
  const double dx = q.x - p.x, dy = q.y - p.y, dd = dx * dx + dy * dy;
  const double fx = p.x - c.x1, fy = p.y - c.y1, b = fx * dx + fy * dy;
  const double disc = b * b - dd * (fx * fx + fy * fy - c.x2 * c.x2);
  if (disc < 0.0) return;
  const double root = std::sqrt(disc);
  for (const double t : {(-b - root) / dd, (-b + root) / dd})
    if (t >= 0.0 && t <= 1.0 && OnSweepAt(fy + t * dy, fx + t * dx, c.A1, c.Sweep, 1e-9)) *ts++ = t;
}

// Where the segment p + t (q - p) meets the curve (t in 0..1), written at ts onwards (two at the most); both
// ends of a piece of a collinear segment. Most curves are lines, met in the loops that call this: their case
// is inlined whole (the compiler would leave a call for each).
[[gnu::always_inline]] inline void Crossings(const TPoint2D& p, const TPoint2D& q, const TBoundCurve& c,
                                             double*& ts)
{
  if (c.IsArc) return ArcCrossings(p, q, c, ts);
  const double dx = q.x - p.x, dy = q.y - p.y, dd = dx * dx + dy * dy;
  const double gx = c.x2 - c.x1, gy = c.y2 - c.y1, ax = c.x1 - p.x, ay = c.y1 - p.y;
  const double den = Cross(dx, dy, gx, gy), gg = gx * gx + gy * gy;
  if (std::fabs(den) > 1e-12 * std::sqrt(dd * gg)) {
    const double t = Cross(ax, ay, gx, gy) / den, u = Cross(ax, ay, dx, dy) / den;
    if (t >= 0.0 && t <= 1.0 && u >= -1e-9 && u <= 1.0 + 1e-9) *ts++ = t;
  } else if (std::fabs(Cross(ax, ay, dx, dy)) <= 1e-9 * std::sqrt(dd)) {
    for (const double t : {(ax * dx + ay * dy) / dd, ((c.x2 - p.x) * dx + (c.y2 - p.y) * dy) / dd})
      if (t >= 0.0 && t <= 1.0) *ts++ = t;
  }
}

bool OnCurve(const TPoint2D& m, const TBoundCurve& c, double tol)
{
  if (m.x < c.bx1 - tol || m.x > c.bx2 + tol || m.y < c.by1 - tol || m.y > c.by2 + tol) return false;
  if (c.IsArc) {
    const double dx = m.x - c.x1, dy = m.y - c.y1;
    return std::fabs(Length(dx, dy) - c.x2) <= tol && OnSweep(std::atan2(dy, dx), c.A1, c.Sweep, tol / c.x2);
  }
  const double gx = c.x2 - c.x1, gy = c.y2 - c.y1, gg = gx * gx + gy * gy;
  const double t = gg > 0.0 ? std::clamp(((m.x - c.x1) * gx + (m.y - c.y1) * gy) / gg, 0.0, 1.0) : 0.0;
  return Length(m.x - c.x1 - t * gx, m.y - c.y1 - t * gy) <= tol;
}

// The direction of the rays that tell whether a point is enclosed: one that no drafted line takes (0.3
// radians).
constexpr double RayX = 0.9553364891256060, RayY = 0.2955202066613396;

// Whether a ray from m crosses the line (a curve of a boundary as set ready by RayCurves).
bool RayCrosses(const TPoint2D& m, const TWork::TRayLine& c)
{
  constexpr double rx = RayX, ry = RayY;
  // The ray runs up and to the right: nothing wholly left of the point or below it meets it.
  if (c.bx2 < m.x || c.by2 < m.y) return false;
  const double ax = c.x1 - m.x, ay = c.y1 - m.y, u = Cross(ax, ay, rx, ry) / c.den;
  // Where along the curve first: most curves lie off the ray's line.
  return u >= 0.0 && u < 1.0 && Cross(ax, ay, c.gx, c.gy) / c.den > 0.0;
}

// Whether a ray from m crosses the arc an odd number of times.
bool RayCrossesOdd(const TPoint2D& m, const TBoundCurve& c)
{
  constexpr double rx = RayX, ry = RayY;
  if (c.bx2 < m.x || c.by2 < m.y) return false;
  const double fx = m.x - c.x1, fy = m.y - c.y1, b = fx * rx + fy * ry;
  const double disc = b * b - (fx * fx + fy * fy - c.x2 * c.x2);
  if (disc <= 0.0) return false;
  const double root = std::sqrt(disc);
  bool odd = false;
  for (const double t : {-b - root, -b + root})
    if (t > 0.0 && OnSweepAt(fy + t * ry, fx + t * rx, c.A1, c.Sweep, 0.0)) odd = !odd;
  return odd;
}

// Whether the curves of a boundary (as set ready by RayCurves) enclose the point by the even-odd rule: the
// parity of their crossings with a ray from it.
bool Enclosed(const TPoint2D& m, const std::vector<TWork::TRayLine>& lines,
              const std::vector<const TBoundCurve*>& arcs)
{
  bool in = false;
  for (const TWork::TRayLine& c : lines)
    in = in != RayCrosses(m, c);
  for (const TBoundCurve* c : arcs)
    in = in != RayCrossesOdd(m, *c);
  return in;
}

// Where a point lies across the rays: the rays from two points run on one line when these are equal.
double Across(double x, double y)
{
  return RayX * y - RayY * x;
}

// Enclosed for every point asked, at once: with the points in order across the rays, each curve is tested
// only against those within its span across them, grown by far more than the rounding of the test (which are
// all whose rays can meet it). A point or a curve whose span is not a number is tested against all.
void Enclose(TWork& w)
{
  std::vector<TWork::TAsked>& asked = w.Asked;
  if (asked.empty()) return;
  std::vector<std::pair<double, std::uint32_t>>& across = w.AskedAcross;
  across.clear();
  // The rounding of a test grows with the coordinates of the point and the curve.
  double size = 1.0;
  for (std::size_t i = 0; i < asked.size(); ++i) {
    TWork::TAsked& q = asked[i];
    const double v = Across(q.P.x, q.P.y);
    if (std::isfinite(v)) {
      across.push_back({v, std::uint32_t(i)});
      size = std::max({size, std::fabs(q.P.x), std::fabs(q.P.y)});
    } else {
      q.In = Enclosed(q.P, w.RayLines, w.RayArcs);
    }
  }
  if (across.empty()) return;
  SortFew(across);
  const double first = across.front().first, last = across.back().first;
  // The first point not below a span is walked to from where the last span began: the curves come in their
  // order along the boundary, so the next one begins near.
  auto from = across.begin();
  auto flip = [&](double lo, double hi, double grow, auto&& crosses) {
    lo -= grow, hi += grow;
    if (lo > last || hi < first) return;
    const bool all = !(lo >= -HUGE_VAL && hi <= HUGE_VAL);
    auto it = across.begin();
    if (!all) {
      it = from;
      while (it->first < lo)
        ++it;
      while (it != across.begin() && !((it - 1)->first < lo))
        --it;
      from = it;
    }
    for (; it != across.end() && (all || it->first <= hi); ++it)
      if (TWork::TAsked& q = asked[it->second]; crosses(q.P)) q.In = !q.In;
  };
  for (const TWork::TRayLine& c : w.RayLines) {
    const double x2 = c.x1 + c.gx, y2 = c.y1 + c.gy, v1 = Across(c.x1, c.y1), v2 = Across(x2, y2);
    const double grow =
        1e-6 * (size + std::max({std::fabs(c.x1), std::fabs(c.y1), std::fabs(x2), std::fabs(y2)}));
    flip(std::min(v1, v2), std::max(v1, v2), grow, [&](const TPoint2D& m) { return RayCrosses(m, c); });
  }
  for (const TBoundCurve* c : w.RayArcs) {
    const double v = Across(c->x1, c->y1), r = std::fabs(c->x2);
    const double grow = 1e-6 * (size + std::max(std::fabs(c->x1), std::fabs(c->y1)) + r);
    flip(v - r, v + r, grow, [&](const TPoint2D& m) { return RayCrossesOdd(m, *c); });
  }
}

// The curves ready for Enclosed: a line's direction and its cross product with the ray's worked out once, the
// lines along the ray left out (they cross it nowhere).
void RayCurves(const std::vector<TBoundCurve>& curves, std::vector<TWork::TRayLine>& lines,
               std::vector<const TBoundCurve*>& arcs)
{
  lines.clear();
  arcs.clear();
  for (const TBoundCurve& c : curves) {
    if (c.IsArc) {
      arcs.push_back(&c);
      continue;
    }
    const double gx = c.x2 - c.x1, gy = c.y2 - c.y1, den = Cross(RayX, RayY, gx, gy);
    if (den != 0.0) lines.push_back({c.bx2, c.by2, c.x1, c.y1, gx, gy, den});
  }
}

// A run of region numbers.
struct TIndices
{
  const std::size_t *First, *Last;
  const std::size_t* begin() const { return First; }
  const std::size_t* end() const { return Last; }
};

// The other regions whose boxes meet the region's (within the touch).
TIndices Others(const TWork& w, std::size_t i)
{
  return {w.Overlap.data() + w.OverlapFrom[i], w.Overlap.data() + w.OverlapFrom[i + 1]};
}

TBoundCurve BoundLine(const TPoint2D& a, const TPoint2D& b)
{
  return {false,
          a.x,
          a.y,
          b.x,
          b.y,
          0.0,
          0.0,
          std::min(a.x, b.x),
          std::min(a.y, b.y),
          std::max(a.x, b.x),
          std::max(a.y, b.y)};
}

void TFrontSet::DrawAlong(TModeler2D& m)
{
  // Most sets end with no pieces waiting: nothing to plan, and no frame to work out for drawing none.
  if (Along.empty()) return AlongPieces.clear();
  PlanAlong({}, false);
  DrawPlannedAlong(m);
}

void TFrontSet::PlanAlong(const std::vector<TBoundCurve>& curves, bool cut)
{
  AlongPieces.clear();
  std::vector<TAlong>& along = Drawn;
  along.clear();
  along.swap(Along);
  if (along.empty()) return;
  // Only the regions the boundary closes along leave a side unhatched: one it neither enters nor meets one
  // that it enters leaves the hatch as it is, and so the pieces along it.
  auto covered = [&](double x, double y) {
    for (const TCluster& k : Clusters)
      if (x >= k.x1 && x <= k.x2 && y >= k.y1 && y <= k.y2)
        for (std::size_t i = k.From; i < k.To; ++i)
          if (const TRegion& r = Regions[i];
              Joining[i] && BoxesMeet(r, x, y, x, y, 0.0) &&
              std::all_of(r.E.begin(), r.E.end(),
                          [&](const TRegion::TEdge& g) { return Inside(g, x, y) > 0.0; }))
            return true;
    return false;
  };
  // Room for the crossings of a piece, each curve giving two at the most, and its ends.
  std::vector<double>& room = TsAlong;
  room.resize(2 * (cut ? curves.size() : 0) + 2);
  double* const ts = room.data();
  for (const TAlong& p : along) {
    const double dx = p.b.x - p.a.x, dy = p.b.y - p.a.y, len = Length(dx, dy);
    const double nx = -dy / len * 1e-5, ny = dx / len * 1e-5;
    // Split where other curves meet it: a hole's wall may end on it, and each piece keeps to the rule.
    // The ends first and last: most crossings lie between them, where the sort leaves them.
    ts[0] = 0.0;
    double* end = ts + 1;
    // The piece's box, worked out once: the compiler cannot keep it while crossings are added.
    const double x1 = std::min(p.a.x, p.b.x) - Touch, y1 = std::min(p.a.y, p.b.y) - Touch;
    const double x2 = std::max(p.a.x, p.b.x) + Touch, y2 = std::max(p.a.y, p.b.y) + Touch;
    if (cut)
      for (const TBoundCurve& c : curves)
        if (c.bx1 <= x2 && c.bx2 >= x1 && c.by1 <= y2 && c.by2 >= y1) Crossings(p.a, p.b, c, end);
    *end++ = 1.0;
    const std::size_t n = std::size_t(end - ts);
    SortCrossings(ts, n);
    for (std::size_t k = 0; k + 1 < n; ++k) {
      const double t0 = ts[k], t1 = ts[k + 1];
      if ((t1 - t0) * len <= Touch) continue;
      const TPoint2D a(p.a.x + dx * t0, p.a.y + dy * t0), b(p.a.x + dx * t1, p.a.y + dy * t1);
      TAlongPiece piece{a, b, p.Attr, 0, 0, 0};
      if (cut) {
        // A piece of the hatched side's edge stays: hatched on one side of it only, and a side a region
        // covers is unhatched.
        const double mx = p.a.x + dx * (t0 + t1) / 2, my = p.a.y + dy * (t0 + t1) / 2;
        const double sx1 = mx + nx, sy1 = my + ny, sx2 = mx - nx, sy2 = my - ny;
        const bool c1 = covered(sx1, sy1), c2 = covered(sx2, sy2);
        if (c1 && c2) continue;
        if (c1 || c2)
          piece.Rule = 1, piece.Q1 = Ask(c1 ? TPoint2D(sx2, sy2) : TPoint2D(sx1, sy1));
        else
          piece.Rule = 2, piece.Q1 = Ask(TPoint2D(sx1, sy1)), piece.Q2 = Ask(TPoint2D(sx2, sy2));
      }
      AlongPieces.push_back(piece);
    }
  }
}

void TFrontSet::DrawPlannedAlong(TModeler2D& m)
{
  const TFrame f(m);
  for (const TAlongPiece& piece : AlongPieces) {
    if (piece.Rule == 1 && !Asked[piece.Q1].In) continue;
    if (piece.Rule == 2 && Asked[piece.Q1].In == Asked[piece.Q2].In) continue;
    const TPoint2D a = f.From(piece.a.x, piece.a.y), b = f.From(piece.b.x, piece.b.y);
    m.drLine(a.x, a.y, b.x, b.y, piece.Attr);
  }
}

void TFrontSet::CloseBoundary(TModeler2D& m)
{
  // The lines that waited: whole if nothing cut the boundary, else clipped as the others were, their cuts
  // counted before the closing starts.
  DrawWaiting(m, Cutting.empty());
  // The boundary's curves move out, Boundary keeping the room of the last ones for the next boundary.
  std::vector<TBoundCurve>& curves = Closing;
  curves.clear();
  std::vector<char>& joining = Joining;
  joining.clear();
  curves.swap(Boundary);
  joining.swap(Cutting);
  if (joining.empty()) return DrawAlong(m);
  RayCurves(curves, RayLines, RayArcs);
  // Which regions meet which, worked out once for the set.
  if (!OverlapKnown) {
    Overlap.clear();
    OverlapFrom.assign(1, 0);
    // A cluster's box holds its regions' boxes: one away from a region holds none that meets it. The clusters
    // are runs in order, so each list comes out in order.
    for (std::size_t i = 0; i < Regions.size(); ++i) {
      const TRegion& ri = Regions[i];
      for (const TCluster& k : Clusters)
        if (ri.x1 <= k.x2 + Touch && ri.x2 >= k.x1 - Touch && ri.y1 <= k.y2 + Touch && ri.y2 >= k.y1 - Touch)
          for (std::size_t j = k.From; j < k.To; ++j)
            if (j != i && BoxesMeet(Regions[j], ri.x1, ri.y1, ri.x2, ri.y2, Touch)) Overlap.push_back(j);
      OverlapFrom.push_back(Overlap.size());
    }
    OverlapKnown = true;
  }
  // The regions overlapping those that cut the boundary take part too: it closes along their union's outline.
  joining.resize(Regions.size());
  std::vector<std::size_t>& grow = Grow;
  grow.clear();
  for (std::size_t i = 0; i < Regions.size(); ++i)
    if (joining[i]) grow.push_back(i);
  while (!grow.empty()) {
    const std::size_t j = grow.back();
    grow.pop_back();
    for (const std::size_t n : Others(*this, j))
      if (!joining[n]) joining[n] = Joined, grow.push_back(n);
  }
  // The pieces along the outlines and those of the regions' outline ask whether the boundary encloses points:
  // asked together, each curve is tested against the few points whose rays can meet it.
  // Nothing outside the boundary's box is enclosed by it.
  double bx1 = HUGE_VAL, by1 = HUGE_VAL, bx2 = -HUGE_VAL, by2 = -HUGE_VAL;
  for (const TBoundCurve& c : curves)
    bx1 = std::min(bx1, c.bx1), by1 = std::min(by1, c.by1), bx2 = std::max(bx2, c.bx2),
    by2 = std::max(by2, c.by2);
  PlanBox[0] = bx1, PlanBox[1] = by1, PlanBox[2] = bx2, PlanBox[3] = by2;
  Asked.clear();
  AskMiddles(curves);
  PlanAlong(curves, true);
  PlanEdges(curves);
  Enclose(*this);
  DrawPlannedAlong(m);
  DrawPlannedEdges(m);
}

bool TFrontSet::Held(std::size_t i, const TPoint2D& mid, const TPoint2D& p0, const TPoint2D& p1) const
{
  // The middle first, for every region whose box holds it: it is what most regions fail on.
  for (const std::size_t j : Others(*this, i)) {
    const TRegion& r = Regions[j];
    if (!(mid.x >= r.x1 && mid.x <= r.x2 && mid.y >= r.y1 && mid.y <= r.y2)) continue;
    const TRegion::TEdge *g = r.E.begin(), *end = r.E.end();
    while (g != end && Inside(*g, mid.x, mid.y) > 0.0)
      ++g;
    if (g != end) continue;
    g = r.E.begin();
    while (g != end && Inside(*g, p0.x, p0.y) >= -Touch && Inside(*g, p1.x, p1.y) >= -Touch)
      ++g;
    if (g == end) return true;
  }
  return false;
}

void TFrontSet::AskMiddles(const std::vector<TBoundCurve>& curves)
{
  const double bx1 = PlanBox[0], by1 = PlanBox[1], bx2 = PlanBox[2], by2 = PlanBox[3];
  // A region the boundary does not cut lies on one side of it whole (no curve crosses its inside): whether
  // the boundary encloses its middle tells which. Asked for all such regions at once, and answered before the
  // rest is asked.
  const std::vector<char>& joining = Joining;
  std::vector<char>& in = MiddleIn;
  in.assign(Regions.size(), 1);
  std::vector<std::pair<std::size_t, std::uint32_t>>& middles = Middles;
  middles.clear();
  for (std::size_t i = 0; i < Regions.size(); ++i) {
    const TRegion& ri = Regions[i];
    if (joining[i] != Joined || !BoxesMeet(ri, bx1, by1, bx2, by2, Touch)) continue;
    TPoint2D c(0.0, 0.0);
    for (const TRegion::TEdge& e : ri.E)
      c.x += e.p.x, c.y += e.p.y;
    c.x /= double(ri.E.size()), c.y /= double(ri.E.size());
    middles.push_back({i, Ask(c)});
  }
  if (middles.empty()) return;
  // A few are answered one by one: the batch's own work pays from a tenth as many points as it has curves.
  if (10 * middles.size() < curves.size()) {
    for (const auto& [i, q] : middles)
      in[i] = Enclosed(Asked[q].P, RayLines, RayArcs);
  } else {
    Enclose(*this);
    for (const auto& [i, q] : middles)
      in[i] = Asked[q].In;
  }
  Asked.clear();
}

void TFrontSet::PlanEdges(const std::vector<TBoundCurve>& curves)
{
  EdgePieces.clear();
  const std::vector<char>& joining = Joining;
  const double bx1 = PlanBox[0], by1 = PlanBox[1], bx2 = PlanBox[2], by2 = PlanBox[3];
  // Room for the crossings of an edge, each curve giving two at the most, and its ends.
  std::vector<double>& room = Ts;
  room.resize(2 * curves.size() + 2);
  double* const ts = room.data();
  std::vector<const TBoundCurve*>&near = Near, &nearRegion = NearRegion;
  for (std::size_t i = 0; i < Regions.size(); ++i) {
    const TRegion& ri = Regions[i];
    if (!joining[i] || !BoxesMeet(ri, bx1, by1, bx2, by2, Touch)) continue;
    // One that lies on the side away from the hatch has no edge that closes it (see AskMiddles).
    if (!MiddleIn[i]) continue;
    nearRegion.clear();
    const double rx1 = ri.x1 - Touch, ry1 = ri.y1 - Touch, rx2 = ri.x2 + Touch, ry2 = ri.y2 + Touch;
    for (const TBoundCurve& c : curves)
      if (c.bx1 <= rx2 && c.bx2 >= rx1 && c.by1 <= ry2 && c.by2 >= ry1) nearRegion.push_back(&c);
    for (std::size_t k = 0; k < ri.E.size(); ++k) {
      const TRegion::TEdge& e = ri.E[k];
      const double ex1 = std::min(e.p.x, e.q.x), ey1 = std::min(e.p.y, e.q.y);
      const double ex2 = std::max(e.p.x, e.q.x), ey2 = std::max(e.p.y, e.q.y);
      if (ex2 < bx1 || ex1 > bx2 || ey2 < by1 || ey1 > by2) continue;
      ts[0] = 0.0;
      double* end = ts + 1;
      near.clear();
      for (const TBoundCurve* c : nearRegion)
        if (c->bx1 <= ex2 + Touch && c->bx2 >= ex1 - Touch && c->by1 <= ey2 + Touch &&
            c->by2 >= ey1 - Touch) {
          near.push_back(c);
          Crossings(e.p, e.q, *c, end);
        }
      *end++ = 1.0;
      const std::size_t count = std::size_t(end - ts);
      SortCrossings(ts, count);
      const double dx = e.q.x - e.p.x, dy = e.q.y - e.p.y, len = Length(dx, dy);
      auto at = [&](double t) { return TPoint2D(e.p.x + dx * t, e.p.y + dy * t); };
      for (std::size_t n = 0; n + 1 < count; ++n) {
        // Between two crossings of the boundary a piece lies on the hatched side or not as a whole.
        const double t0 = ts[n], t1 = ts[n + 1];
        if ((t1 - t0) * len <= Touch) continue;
        const TPoint2D mid = at((t0 + t1) / 2);
        if (mid.x < bx1 || mid.x > bx2 || mid.y < by1 || mid.y > by2) continue;
        // One the boundary already runs along closes nothing (tested first: the cheaper test).
        if (std::any_of(near.begin(), near.end(),
                        [&](const TBoundCurve* c) { return OnCurve(mid, *c, Touch); }))
          continue;
        // Wholly inside another region: nothing to close (one away from the edge holds no point of it).
        if (Held(i, mid, at(t0), at(t1))) continue;
        EdgePieces.push_back({i, k, t0, t1, Ask(mid)});
      }
    }
  }
}

void TFrontSet::DrawPlannedEdges(TModeler2D& m)
{
  const TFrame f(m);
  // Room for the crossings of a piece with the other regions' edges (all in Edges), two at the most each, and
  // its ends.
  std::vector<double>& room = Ts2;
  room.resize(2 * Edges.size() + 2);
  double* const ts2 = room.data();
  for (const TEdgePiece& piece : EdgePieces) {
    if (!Asked[piece.Q].In) continue;
    const std::size_t i = piece.Region;
    const TRegion& ri = Regions[i];
    const TRegion::TEdge& e = ri.E[piece.Edge];
    const TIndices others = Others(*this, i);
    const double ex1 = std::min(e.p.x, e.q.x), ey1 = std::min(e.p.y, e.q.y);
    const double ex2 = std::max(e.p.x, e.q.x), ey2 = std::max(e.p.y, e.q.y);
    const double dx = e.q.x - e.p.x, dy = e.q.y - e.p.y, len = Length(dx, dy);
    auto at = [&](double t) { return TPoint2D(e.p.x + dx * t, e.p.y + dy * t); };
    const double t0 = piece.t0, t1 = piece.t1;
    const TPoint2D p0 = at(t0), p1 = at(t1);
    // On the hatched side: the pieces outside the other regions close it; where the outlines of two
    // regions run together, the first one's.
    ts2[0] = 0.0, ts2[1] = 1.0;
    double* end = ts2 + 2;
    for (const std::size_t j : others)
      if (BoxesMeet(Regions[j], std::min(p0.x, p1.x), std::min(p0.y, p1.y), std::max(p0.x, p1.x),
                    std::max(p0.y, p1.y), Touch))
        for (const TRegion::TEdge& g : Regions[j].E)
          Crossings(p0, p1, BoundLine(g.p, g.q), end);
    const std::size_t count = std::size_t(end - ts2);
    for (double* t = ts2; t != end; ++t)
      *t = t0 + (t1 - t0) * *t;
    SortFew(ts2, count);
    for (std::size_t q = 0; q + 1 < count; ++q) {
      const double u0 = std::clamp(ts2[q], t0, t1), u1 = std::clamp(ts2[q + 1], t0, t1);
      if ((u1 - u0) * len <= Touch) continue;
      const TPoint2D c = at((u0 + u1) / 2);
      const double ox = c.x - e.nx * 1e-5, oy = c.y - e.ny * 1e-5;
      // Beside the edge, the regions near it.
      if (std::any_of(others.begin(), others.end(), [&](std::size_t j) {
            const TRegion& r = Regions[j];
            return BoxesMeet(r, ox, oy, ox, oy, 0.0) && BoxesMeet(r, ex1, ey1, ex2, ey2, Touch) &&
                   std::all_of(r.E.begin(), r.E.end(),
                               [&](const TRegion::TEdge& g) { return Inside(g, ox, oy) > 0.0; });
          }))
        continue;
      bool earlier = false;
      for (const std::size_t j : others)
        if (j < i && !earlier && BoxesMeet(Regions[j], c.x, c.y, c.x, c.y, Touch))
          for (const TRegion::TEdge& g : Regions[j].E)
            earlier = earlier || OnCurve(c, BoundLine(g.p, g.q), Touch);
      if (earlier) continue;
      const TPoint2D a = f.From(at(u0).x, at(u0).y), b = f.From(at(u1).x, at(u1).y);
      m.drLine(a.x, a.y, b.x, b.y, 1);
    }
  }
}

} // namespace hxfront
