// The angle dimensions of a mould sheet: each arc on the side and at the radius where it, its rays and its
// value cross nothing settled, and where their values stand.

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>
#include <vector>

#include "hxcadkit/adapter/drModelerAPI.h"
#include "hxcadkit/adapter/drSheetMeasures.h"

namespace drApi {

using namespace sheet;

namespace {

// An arc in 12 chords. Asked with a lap, each chord runs that far on past its inner ends: a line is taken to
// cross a chord only 0.2 in from its ends, and would pass through the arc at a joint unseen.
std::vector<std::array<double, 4>> ArcChords(double X, double Y, double a1, double a2, double r,
                                             double lap = 0)
{
  std::vector<std::array<double, 4>> pieces;
  for (int i = 0; i < 12; ++i) {
    const double a = (a1 + (a2 - a1) * i / 12) * Deg, b = (a1 + (a2 - a1) * (i + 1) / 12) * Deg;
    std::array<double, 4> p{X + r * std::cos(a), Y + r * std::sin(a), X + r * std::cos(b),
                            Y + r * std::sin(b)};
    const double len = Norm(p[2] - p[0], p[3] - p[1]);
    if (lap > 0 && len > 0) {
      const double ux = (p[2] - p[0]) / len * lap, uy = (p[3] - p[1]) / len * lap;
      if (i > 0) p[0] -= ux, p[1] -= uy;
      if (i < 11) p[2] += ux, p[3] += uy;
    }
    pieces.push_back(p);
  }
  return pieces;
}

bool Meets(const TQuad& q, const std::array<double, 4>& g)
{
  const double gx[2] = {g[0], g[2]}, gy[2] = {g[1], g[3]};
  return Overlap(q.X, q.Y, 4, gx, gy, 2);
}

bool Apart(const std::vector<std::array<double, 4>>& pieces, const TQuad& q)
{
  return std::none_of(pieces.begin(), pieces.end(),
                      [&q](const std::array<double, 4>& g) { return Meets(q, g); });
}

// A ray settled, from where it is drawn to its arc's arrowhead.
struct TRay
{
  double X, Y, A, From, R;
};

// Whether the arrowhead of tip lands inside the ray t.
bool TipOn(const TRay& tip, const TRay& t)
{
  const double wx = tip.X + tip.R * std::cos(tip.A * Deg) - t.X,
               wy = tip.Y + tip.R * std::sin(tip.A * Deg) - t.Y;
  const double c = std::cos(t.A * Deg), s = std::sin(t.A * Deg), along = wx * c + wy * s;
  return std::fabs(wx * s - wy * c) < 0.5 && along > t.From + 0.5 && along < t.R - 0.5;
}

// Whether the ray t, drawn between From and R either way, runs across the arrow tip (X, Y) of a line along
// (Ux, Uy): through it, not ending at it nor running along the arrow.
bool AcrossTip(const TRay& t, const std::array<double, 4>& tip)
{
  const double c = std::cos(t.A * Deg), s = std::sin(t.A * Deg), wx = tip[0] - t.X, wy = tip[1] - t.Y;
  const double along = wx * c + wy * s, lo = std::min(t.From, t.R), hi = std::max(t.From, t.R);
  return std::fabs(wx * s - wy * c) < 0.5 && along > lo + 0.25 && along < hi - 0.25 &&
         std::fabs(c * tip[3] - s * tip[2]) > 0.1;
}

bool Same(double a, double b)
{
  return std::fabs(std::remainder(a - b, 360.0)) < 0.01;
}

// A value's box grown a millimetre every way.
TQuad Margin(const TQuad& value)
{
  TQuad margin = value;
  const double mx = (value.X[0] + value.X[2]) / 2, my = (value.Y[0] + value.Y[2]) / 2;
  for (int c = 0; c < 4; ++c)
    margin.X[c] += margin.X[c] < mx ? -1.0 : 1.0, margin.Y[c] += margin.Y[c] < my ? -1.0 : 1.0;
  return margin;
}

} // namespace

// What the angles settled leave the next: their arcs, rays and arrowheads; the rays of each about its vertex
// (an angle turned to the opposite rays must not land on another's, which would give one angle twice); the
// rays as drawn to their arrowheads (a ray run on through another's arrowhead, or one whose arrowhead lands
// inside another ray, reads as pointing at the wrong line).
struct TSheetLayout::TAnglesSettled
{
  std::vector<std::array<double, 4>>& Arcs;
  std::vector<std::array<double, 4>> Rays;
  std::vector<TRay> Drawn;

  bool Taken(double X, double Y, double a1, double a2) const
  {
    return std::any_of(Rays.begin(), Rays.end(), [&](const std::array<double, 4>& t) {
      return Norm(t[0] - X, t[1] - Y) < 0.01 &&
             ((Same(t[2], a1) && Same(t[3], a2)) || (Same(t[2], a2) && Same(t[3], a1)));
    });
  }
  bool ThroughTips(const TRay& mine) const
  {
    return std::any_of(Drawn.begin(), Drawn.end(),
                       [&](const TRay& t) { return TipOn(t, mine) || TipOn(mine, t); });
  }
};

bool TSheetLayout::OnLinear(const TQuad& q) const
{
  return std::any_of(Extensions.begin(), Extensions.end(),
                     [&q](const std::array<double, 4>& g) { return Meets(q, g); }) ||
         std::any_of(Settled.begin(), Settled.end(), [&q](const TSettled& p) {
           return Meets(q, {p.X1, p.Y1, p.X2, p.Y2});
         });
}

bool TSheetLayout::AngleSettles(const TAngle& g, const TAnglesSettled& done, int s, double at, double base,
                                bool clear, int pass)
{
  const double turn = 180.0 * s;
  if (s == 1 && (g.From[0] > 0 || g.From[1] > 0)) return false;
  if (pass < 3 && (ArcAlongOutline(g.X, g.Y, g.A1 + turn, g.A2 + turn, at) ||
                   (s == 1 && done.Taken(g.X, g.Y, g.A1 + turn, g.A2 + turn))))
    return false;
  if (!AngleFits(g.X, g.Y, g.A1 + turn, g.A2 + turn, at, g.Chars, false)) return false;
  for (std::size_t i = 0; i < 2 && pass < 3; ++i) {
    const TRay ray{g.X, g.Y, (i == 0 ? g.A1 : g.A2) + turn, s == 1 ? 0.0 : g.From[i], at};
    if (done.ThroughTips(ray) ||
        std::any_of(LinearTips.begin(), LinearTips.end(),
                    [&ray](const std::array<double, 4>& t) { return AcrossTip(ray, t); }))
      return false;
  }
  // The opposite rays of an edge's angle run back through the part: they are taken only where they stay off
  // it.
  if (s == 1 &&
      (RayThroughOutline(g.X, g.Y, g.A1 + turn, at) || RayThroughOutline(g.X, g.Y, g.A2 + turn, at)))
    return false;
  const TQuad value = AngleValue(g.X, g.Y, g.A1 + turn, g.A2 + turn, at, g.Chars);
  auto mine = ArcChords(g.X, g.Y, g.A1 + turn, g.A2 + turn, at, 0.25);
  // Its rays too, as far as widening the arc draws them on. The opposite rays are drawn from the vertex
  // along no edge of the part: they keep off the linear dimensions' lines all their length until nothing
  // else is left. A ray drawn on past what it measures must not run across an outline to another view.
  for (const double ray : {g.A1 + turn, g.A2 + turn}) {
    const double c = std::cos(ray * Deg), sn = std::sin(ray * Deg);
    if (at > base) {
      const std::array<double, 4> on{g.X + base * c, g.Y + base * sn, g.X + at * c, g.Y + at * sn};
      if (pass < 2 && std::any_of(Segments.begin(), Segments.end(),
                                  [&on](const std::array<double, 4>& o) { return LinesCross(on, o); }))
        return false;
      mine.push_back(on);
    }
    const std::array<double, 4> drawn{g.X, g.Y, g.X + std::min(at, base) * c, g.Y + std::min(at, base) * sn};
    if (s == 1 && pass < 2 && AcrossLinear(drawn)) return false;
    if (s == 1) mine.push_back(drawn);
  }
  if (clear && std::any_of(mine.begin(), mine.end(),
                           [this](const std::array<double, 4>& l) { return AcrossLinear(l); }))
    return false;
  // Nor, on the arc asked or widened from it, across the arcs and rays of the angles settled.
  if (clear && pass < 0 && std::any_of(mine.begin(), mine.end(), [&done](const std::array<double, 4>& l) {
        return std::any_of(done.Arcs.begin(), done.Arcs.end(),
                           [&l](const std::array<double, 4>& o) { return LinesCross(l, o); });
      }))
    return false;
  // Its value keeps a millimetre off every line too: one standing on a dimension line would be read as that
  // line's value.
  const TQuad margin = Margin(value);
  const bool offValues =
      std::all_of(Boxes.begin(), Boxes.end(), [&](const TQuad& b) { return Apart(mine, b); });
  return pass > 2 || (pass == 2 && offValues) ||
         (Free(margin) && Apart(done.Arcs, margin) && !OnLinear(value) && !AxisAcross(value) && offValues);
}

std::pair<int, double> TSheetLayout::AngleRoom(const TAngle& g, const TAnglesSettled& done)
{
  // First on the arc asked, or one widened where it and its rays cross nothing settled, no wider than the
  // floor.
  for (int k = 0; k <= 24 && g.R + 5.0 * k <= g.Floor; ++k)
    for (int s = 0; s < 2; ++s)
      if (AngleSettles(g, done, s, g.R + 5.0 * k, g.R, true, -1)) return {s, g.R + 5.0 * k};
  // Else on the arc of an angle settled on one of its rays: two arcs on one ray meet at their arrowheads,
  // where any other radius runs the longer ray through the shorter's.
  for (const TRay& t : done.Drawn)
    for (int s = 0; s < 2; ++s) {
      const auto on = [&](double a) { return Norm(t.X - g.X, t.Y - g.Y) < 0.01 && Same(t.A, a + 180.0 * s); };
      if ((on(g.A1) || on(g.A2)) && AngleSettles(g, done, s, t.R, g.R, true, -1)) return {s, t.R};
    }
  // Else from the floor: the arc asked for inside the frame when nothing is free, yet off the outlines and
  // another's rays; first where a widened arc and its lengthened rays cross no linear dimension's line
  // settled.
  for (int pass = 0; pass < 3; ++pass)
    for (int k = 0; k <= 24; ++k)
      for (int s = 0; s < 2; ++s) {
        // Where its value is nowhere free, nearest the part as asked.
        const double base = pass > 1 ? std::min(g.R, g.Floor) : g.Floor, at = base + 5.0 * k;
        if (AngleSettles(g, done, s, at, base, pass == 0 && at > base, pass)) return {s, at};
      }
  // Else on an arc narrower than asked where one crosses nothing, as long as both arrowheads and a gap
  // between them still fit along it.
  const double asked = std::min(g.R, g.Floor), sweep = std::fabs(g.A2 - g.A1) * Deg,
               least = (2 * ArrowLength + 2) / sweep;
  for (double at = asked - 1; sweep > 0 && at >= least; at -= 1)
    for (int s = 0; s < 2; ++s)
      if (AngleSettles(g, done, s, at, at, true, -1)) return {s, at};
  for (int s = 0; s < 2; ++s)
    if (AngleSettles(g, done, s, asked, asked, false, 3)) return {s, asked};
  return {0, g.Floor};
}

void TSheetLayout::SettleAngle(const TAngle& g, int side, double r, TAnglesSettled& done,
                               std::vector<std::array<double, 4>>& chords)
{
  if (side == 1 || r != g.Floor) g.Place(side == 1, r / g.Floor);
  const double turn = side == 1 ? 180.0 : 0.0;
  done.Rays.push_back({g.X, g.Y, g.A1 + turn, g.A2 + turn});
  Boxes.push_back(AngleValue(g.X, g.Y, g.A1 + turn, g.A2 + turn, r, g.Chars));
  for (const auto& piece : ArcChords(g.X, g.Y, g.A1 + turn, g.A2 + turn, r))
    done.Arcs.push_back(piece), chords.push_back(piece);
  for (int i = 0; i < 2; ++i) {
    const double ray = (i == 0 ? g.A1 : g.A2) + turn, from = side == 1 ? 0.0 : g.From[std::size_t(i)];
    const double c = std::cos(ray * Deg), s = std::sin(ray * Deg);
    done.Arcs.push_back({g.X + from * c, g.Y + from * s, g.X + r * c, g.Y + r * s});
    done.Drawn.push_back({g.X, g.Y, ray, from, r});
    // An arc standing by the part's edges has its arrowheads (3 long, 1.7 wide) among the part's own signs:
    // they keep off them too.
    if (from > 0) {
      const double sense = (i == 0 ? g.A1 - g.A2 : g.A2 - g.A1) > 0 ? 1.0 : -1.0;
      const double tx = g.X + r * c, ty = g.Y + r * s, bx = tx + ArrowLength * s * sense,
                   by = ty - ArrowLength * c * sense;
      done.Arcs.push_back({tx, ty, bx + 0.86 * c, by + 0.86 * s});
      done.Arcs.push_back({tx, ty, bx - 0.86 * c, by - 0.86 * s});
      done.Arcs.push_back({bx + 0.86 * c, by + 0.86 * s, bx - 0.86 * c, by - 0.86 * s});
    }
  }
}

void TSheetLayout::PlaceAngles(std::vector<std::array<double, 4>>& arcs,
                               std::vector<std::array<double, 4>>& chords)
{
  // An angle goes between the opposite rays (the same angle about the same vertex), or on a wider arc, where
  // only there is its value free; on the arc asked for inside the frame when nothing is free. Nor do its arc
  // and the rays it lengthens cross a value settled, nor an arc settled cross its value.
  TAnglesSettled done{arcs, {}, {}};
  for (const TAngle& g : Angles) {
    const auto [side, r] = AngleRoom(g, done);
    SettleAngle(g, side, r, done, chords);
  }
  // The diameters, radii, signs and leader texts settled after them keep off the arcs and rays where they
  // went.
  Thin.insert(Thin.end(), arcs.begin(), arcs.end());
  Angles.clear();
}

bool TSheetLayout::Opposable(const TAngle& g, double r) const
{
  return g.From[0] <= 0 && g.From[1] <= 0 && !RayThroughOutline(g.X, g.Y, g.A1 + 180.0, r) &&
         !RayThroughOutline(g.X, g.Y, g.A2 + 180.0, r);
}

std::array<double, 4> TSheetLayout::AngleBox(const TAngle& g, double turn, double r)
{
  std::array<double, 4> b{1e300, 1e300, -1e300, -1e300};
  const auto take = [&b](double x, double y) {
    b[0] = std::min(b[0], x), b[1] = std::min(b[1], y), b[2] = std::max(b[2], x), b[3] = std::max(b[3], y);
  };
  for (int i = 0; i <= 12; ++i) {
    const double a = (g.A1 + turn + (g.A2 - g.A1) * i / 12) * Deg;
    take(g.X + r * std::cos(a), g.Y + r * std::sin(a));
  }
  const TQuad q = AngleValue(g.X, g.Y, g.A1 + turn, g.A2 + turn, r, g.Chars);
  for (int k = 0; k < 4; ++k)
    take(q.X[k], q.Y[k]);
  return b;
}

bool TSheetLayout::AnglesKeepRoom(double dx) const
{
  if (!On) return true;
  const auto inside = [this](const std::array<double, 4>& b, double shift) {
    return b[0] + shift >= FrameLeft + 1 && b[2] + shift <= W - FrameMargin && b[1] >= FrameMargin &&
           b[3] <= H - FrameMargin;
  };
  return std::all_of(Angles.begin(), Angles.end(), [&](const TAngle& g) {
    const double r = std::min(g.R, g.Floor);
    for (int s = 0; s < 2; ++s) {
      if (s == 1 && !Opposable(g, r)) continue;
      const std::array<double, 4> b = AngleBox(g, 180.0 * s, r);
      if (inside(b, 0) && !inside(b, dx)) return false;
    }
    return true;
  });
}

double TSheetLayout::AngleRoom() const
{
  if (!On) return 0;
  // An angle's arc at the least radius its placement takes, and its value, at a point of it: the view moves
  // right until the leftmost of them stands inside the frame, on whichever side of the vertex needs less,
  // where the rest of it stays inside the frame too. An angle with no such side, its arc past the frame's
  // right edge on both, moves it left as far, and as much farther as a wider arc would take where the
  // outlines keep room beside them; where no angle needs the view right.
  double need = 0, back = 0, outlines = 1e300;
  for (const auto& g : Segments)
    outlines = std::min({outlines, g[0], g[2]});
  const double spare = std::min(0.0, FrameLeft + Room - outlines);
  for (const TAngle& g : Angles) {
    const double r = std::min(g.R, g.Floor);
    double least = -1, left = 0;
    for (int s = 0; s < 2; ++s) {
      const double turn = 180.0 * s;
      if (s == 1 && !Opposable(g, r)) continue;
      const auto [x1, y1, x2, y2] = AngleBox(g, turn, r);
      const double dx = std::max(0.0, std::ceil(FrameLeft + 1 - x1));
      if (y1 < FrameMargin || y2 > H - FrameMargin) continue;
      if (x2 + dx > W - FrameMargin) {
        const double dl = -std::ceil(x2 + 1 - (W - FrameMargin)),
                     wider = std::min(dl, std::max(dl - Room, spare));
        if (dx == 0 && x1 + dl >= FrameLeft + 1 && (left == 0 || wider > left)) left = wider;
        continue;
      }
      if (least < 0 || dx < least) least = dx;
    }
    if (least > 0) need = std::max(need, least);
    if (least < 0) back = std::min(back, left);
  }
  return need > 0 ? need : back;
}

TQuad TSheetLayout::AngleValue(double X, double Y, double a1, double a2, double r, std::size_t chars)
{
  // The value beyond the arc's middle, read from below, its corner nearest the vertex there.
  const double mid = (a1 + a2) / 2 * Deg, tx = X + (r + 2) * std::cos(mid), ty = Y + (r + 2) * std::sin(mid);
  const double len = ValueLength(chars);
  return TextBox(std::cos(mid) < 0 ? tx - len : tx, std::sin(mid) < 0 ? ty - ValueHeight : ty, 0, ValueHeight,
                 chars);
}

bool TSheetLayout::AngleFits(double X, double Y, double a1, double a2, double r, std::size_t chars,
                             bool record)
{
  if (!On) return true;
  for (int i = 0; i <= 12; ++i) {
    const double a = (a1 + (a2 - a1) * i / 12) * Deg, px = X + r * std::cos(a), py = Y + r * std::sin(a);
    if (!InFrame(px, py, 0)) return false;
  }
  const TQuad q = AngleValue(X, Y, a1, a2, r, chars);
  for (int k = 0; k < 4; ++k)
    if (!InFrame(q.X[k], q.Y[k], 0)) return false;
  if (record) Boxes.push_back(q);
  return true;
}

} // namespace drApi
