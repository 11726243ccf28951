// The linear dimensions of a mould sheet: each line at the offset asked for when that is clean, else the
// nearest clean offset or its value past an end; then each value slid along its line off what crosses it.

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

// Whether the line from (A1x, A1y) to (A2x, A2y), drawn on to (E1x, E1y) before it and (E2x, E2y) past it
// under a value slid past an end, has those run-ons clear of every extension line and every settled
// dimension line but its own (own) and of the extension lines of the dimensions still to come from the
// one at from on, nor runs across a roughness sign where it was asked (signs settle after the dimensions,
// where asked when free). A run-on starting on its arrow only touches a line through the arrow.
template <class TLines>
bool RunOnClear(double A1x, double A1y, double A2x, double A2y, double E1x, double E1y, double E2x,
                double E2y, const std::vector<std::array<double, 4>>& extensions, const TLines& settled,
                std::size_t own, const std::vector<std::vector<std::array<double, 4>>>& coming,
                std::size_t from, const std::vector<TQuad>& signs)
{
  std::array<std::array<double, 4>, 2> pieces;
  std::size_t count = 0;
  if (std::hypot(E1x - A1x, E1y - A1y) > 0.3) pieces[count++] = {A1x, A1y, E1x, E1y};
  if (std::hypot(E2x - A2x, E2y - A2y) > 0.3) pieces[count++] = {A2x, A2y, E2x, E2y};
  for (std::size_t piece = 0; piece < count; ++piece) {
    const std::array<double, 4>& p = pieces[piece];
    const auto across = [&p](const std::array<double, 4>& o) { return LinesCross(p, o); };
    const double px[2] = {p[0], p[2]}, py[2] = {p[1], p[3]};
    if (std::any_of(signs.begin(), signs.end(),
                    [&](const TQuad& q) { return Overlap(q.X, q.Y, 4, px, py, 2); }))
      return false;
    if (std::any_of(extensions.begin(), extensions.end(), across)) return false;
    for (std::size_t k = 0; k < settled.size(); ++k)
      if (k != own && across({settled[k].X1, settled[k].Y1, settled[k].X2, settled[k].Y2})) return false;
    for (std::size_t j = from; j < coming.size(); ++j)
      if (std::any_of(coming[j].begin(), coming[j].end(), across)) return false;
  }
  return true;
}

} // namespace

void TSheetLayout::PlaceLinear()
{
  // Parallel dimension lines stand at least this far apart, as a draftsman spaces them; the search goes
  // in half millimetres, outwards first, at most this far from the offset asked for.
  constexpr double Spacing = 7, Step = 0.5, Reach = 160, Gap = 1, Near = 10;
  std::vector<TValue> values;
  const std::vector<std::array<double, 4>> views = ViewBoxes();
  // Whether an extension line from a measured point (X, Y) to (AX, AY) and 2 past runs through a view
  // other than the one it measures.
  const auto throughOther = [&views](double X, double Y, double AX, double AY) {
    const double l = std::hypot(AX - X, AY - Y);
    if (!(l > 1e-9)) return false;
    const double ex[2] = {X, AX + (AX - X) / l * 2}, ey[2] = {Y, AY + (AY - Y) / l * 2};
    return std::any_of(views.begin(), views.end(), [&](const std::array<double, 4>& v) {
      if (X >= v[0] - 0.01 && X <= v[2] + 0.01 && Y >= v[1] - 0.01 && Y <= v[3] + 0.01) return false;
      const TQuad q = Rect(v[0], v[1], v[2], v[3]);
      return Overlap(q.X, q.Y, 4, ex, ey, 2);
    });
  };
  // The extension lines of the dimensions still to settle, to their lines as asked and 2 past.
  std::vector<std::vector<std::array<double, 4>>> coming;
  for (const TDimension& m : Dimensions) {
    std::vector<std::array<double, 4>> lines;
    const double asked = m.SX * m.Nx + m.SY * m.Ny;
    for (const auto& [px, py] : {std::array{m.X1, m.Y1}, std::array{m.X2, m.Y2}}) {
      const double d = asked - (px * m.Nx + py * m.Ny), l = std::fabs(d);
      if (l > 1e-9) lines.push_back({px, py, px + (d + 2 * d / l) * m.Nx, py + (d + 2 * d / l) * m.Ny});
    }
    coming.push_back(std::move(lines));
  }
  // The roughness signs where they were asked, which a line run on under a value keeps off.
  std::vector<TQuad> signs;
  for (const TSign& g : Signs)
    signs.push_back(Footprint(g, g.SX, g.SY));
  for (std::size_t i = 0; i < Dimensions.size(); ++i) {
    const TDimension& m = Dimensions[i];
    const double ux = m.Ux, uy = m.Uy, nx = m.Nx, ny = m.Ny;
    const double s1 = m.X1 * nx + m.Y1 * ny, s2 = m.X2 * nx + m.Y2 * ny, asked = m.SX * nx + m.SY * ny;
    const double len = 0.6 * ValueHeight * double(m.Chars);
    // Where the host puts the line at offset d, its value above its middle as it is read.
    struct TAt
    {
      // The line, and the line short of its arrows' points: a line across the part from outline to
      // outline crosses none.
      TQuad Value, Line, Between;
      double A1x, A1y, A2x, A2y, From, To, E1x = 0, E1y = 0, E2x = 0, E2y = 0;
    };
    // The value slid along the line by slide from above its middle (past an end where it does not fit).
    const auto at = [&](double d, double slide = 0) {
      TAt r;
      r.A1x = m.X1 + (d - s1) * nx, r.A1y = m.Y1 + (d - s1) * ny;
      r.A2x = m.X2 + (d - s2) * nx, r.A2y = m.Y2 + (d - s2) * ny;
      const double L = std::hypot(r.A2x - r.A1x, r.A2y - r.A1y);
      const double line = L > 0 ? std::atan2(r.A2y - r.A1y, r.A2x - r.A1x) / Deg : std::atan2(uy, ux) / Deg;
      double read = line;
      if (read > 90.001 || read < -89.999) read += 180;
      const double c = std::cos(read * Deg), s = std::sin(read * Deg);
      const double mx = (r.A1x + r.A2x) / 2 - s + slide * ux, my = (r.A1y + r.A2y) / 2 + c + slide * uy;
      r.Value = Turned(mx, my, read, -len / 2, 0, len / 2, ValueHeight);
      r.Between = L > 1 ? Turned(r.A1x, r.A1y, line, 0.5, -0.3, L - 0.5, 0.3)
                        : Turned(r.A1x, r.A1y, line, 0, -0.3, L, 0.3);
      // A value past an end has the line run on under it.
      const double run = L > 0 ? ((mx - r.A1x) * (r.A2x - r.A1x) + (my - r.A1y) * (r.A2y - r.A1y)) / L : 0;
      r.Line = Turned(r.A1x, r.A1y, line, slide != 0 ? std::min(0.0, run - len / 2) : 0, -0.3,
                      slide != 0 ? std::max(L, run + len / 2) : L, 0.3);
      const double mid = mx * ux + my * uy, a = r.A1x * ux + r.A1y * uy, b = r.A2x * ux + r.A2y * uy;
      r.From = std::min({a, b, mid - len / 2}), r.To = std::max({a, b, mid + len / 2});
      // Where the line is drawn: on under a value past an end.
      const double e0 = slide != 0 && L > 0 ? std::min(0.0, run - len / 2) / L : 0,
                   e1 = slide != 0 && L > 0 ? std::max(L, run + len / 2) / L : 1;
      r.E1x = r.A1x + e0 * (r.A2x - r.A1x), r.E1y = r.A1y + e0 * (r.A2y - r.A1y);
      r.E2x = r.A1x + e1 * (r.A2x - r.A1x), r.E2y = r.A1y + e1 * (r.A2y - r.A1y);
      return r;
    };
    const auto spaced = [&](const TAt& r) {
      for (const TSettled& p : Settled) {
        const double lx = p.X2 - p.X1, ly = p.Y2 - p.Y1, l = std::hypot(lx, ly);
        if (l > 0 && std::fabs(lx * nx + ly * ny) > 1e-4 * l) continue;
        const double a = p.X1 * ux + p.Y1 * uy, b = p.X2 * ux + p.Y2 * uy;
        // Its value's reach along it, in this line's direction.
        const double sign = lx * ux + ly * uy >= 0 ? 1 : -1, from = std::min(a, b) - 0, to = std::max(a, b);
        const double vFrom = sign > 0 ? std::min(from, p.From) : std::min(from, -p.To),
                     vTo = sign > 0 ? std::max(to, p.To) : std::max(to, -p.From);
        if (vTo + Gap < r.From || r.To + Gap < vFrom) continue;
        if (std::fabs((p.X1 - r.A1x) * nx + (p.Y1 - r.A1y) * ny) < Spacing - 1e-9) return false;
      }
      return true;
    };
    const auto inFrame = [&](const TAt& r) { return InFrame(r.A1x, r.A1y, 0) && InFrame(r.A2x, r.A2y, 0); };
    // Never nearer the part than the offset asked for, or than a spacing beyond it when that lies farther.
    const double lowest = std::min(asked, std::max(s1, s2) + Spacing);
    // The best offsets found: clear of everything, then with the line over the drawing, then nearer
    // another line than the spacing, then only inside the frame.
    // Whether an arc drawn (in chords of at most 10 degrees) crosses q.
    const auto arcCrosses = [](const TArc& a, const TQuad& q) {
      const int n = std::clamp(int(std::ceil(std::fabs(a.Sweep) / 10)), 1, 36);
      for (int i = 0; i < n; ++i) {
        const double u = (a.From + a.Sweep * i / n) * Deg, v = (a.From + a.Sweep * (i + 1) / n) * Deg;
        const double gx[2] = {a.X + a.R * std::cos(u), a.X + a.R * std::cos(v)},
                     gy[2] = {a.Y + a.R * std::sin(u), a.Y + a.R * std::sin(v)};
        if (Overlap(q.X, q.Y, 4, gx, gy, 2)) return true;
      }
      return false;
    };
    // A line run on past an arrow under its value crosses no extension line nor dimension line, settled
    // or still to come: a value slid past an end takes the side, or the offset, where its run-on is
    // clear, as a draftsman keeps a value that does not fit between its arrows off the lines beside it.
    const auto runOnClear = [&](const TAt& r) {
      return RunOnClear(r.A1x, r.A1y, r.A2x, r.A2y, r.E1x, r.E1y, r.E2x, r.E2y, Extensions, Settled,
                        Settled.size(), coming, i + 1, signs);
    };
    double best[4] = {NAN, NAN, NAN, NAN}, slid[4] = {0, 0, 0, 0};
    // While a line asked across a hollow section is tried there: its line crosses the bore's outlines.
    bool acrossBore = false, runOnStrict = true;
    const auto consider = [&](double d, double slide) {
      const TAt r = at(d, slide);
      if (!inFrame(r)) return;
      bool framed = true;
      for (int k = 0; k < 4; ++k)
        framed = framed && InFrame(r.Value.X[k], r.Value.Y[k], 0);
      if (!framed) return;
      // A value past an end stands beside the part: clear of its thin arcs too (a callout's circle).
      if (!Free(r.Value) || (slide != 0 && std::any_of(Arcs.begin(), Arcs.end(), [&](const TArc& a) {
                               return arcCrosses(a, r.Value);
                             }))) {
        if (std::isnan(best[3])) best[3] = d, slid[3] = slide;
        return;
      }
      // Clean also where no thin line of the view (an axis running past the part) crosses its value.
      const auto thin = [&r](const std::array<double, 4>& g) {
        const double gx[2] = {g[0], g[2]}, gy[2] = {g[1], g[3]};
        return Overlap(r.Value.X, r.Value.Y, 4, gx, gy, 2);
      };
      // Nor one along its line (which its value cannot slide off) of a dimension still to settle.
      const auto along = [&](const std::array<double, 4>& g) {
        const double gx = g[2] - g[0], gy = g[3] - g[1];
        return std::fabs(gx * uy - gy * ux) < 1e-6 * std::hypot(gx, gy) && thin(g);
      };
      bool later = false;
      for (std::size_t j = i + 1; j < coming.size() && !later; ++j)
        later = std::any_of(coming[j].begin(), coming[j].end(), along);
      const bool apart = spaced(r) && !AlongOutline(r.A1x, r.A1y, r.A2x, r.A2y) &&
                         !throughOther(m.X1, m.Y1, r.A1x, r.A1y) && !throughOther(m.X2, m.Y2, r.A2x, r.A2y) &&
                         !later;
      const bool clean =
          apart && (acrossBore || Clear(r.Between)) &&
          std::none_of(Boxes.begin(), Boxes.end(), [&r](const TQuad& b) { return Overlap(r.Line, b); }) &&
          std::none_of(Thin.begin(), Thin.end(), thin) && (!runOnStrict || runOnClear(r));
      const int tier = clean ? 0 : apart ? 1 : 2;
      if (std::isnan(best[tier])) best[tier] = d, slid[tier] = slide;
    };
    const int steps = int(Reach / Step);
    // Outwards k steps, then inwards at twice the cost.
    const auto offset = [&](int k) {
      const bool in = k % 3 == 2;
      return in ? asked - Step * double((k + 1) / 3) : asked + Step * double(k - (k + 1) / 3);
    };
    const auto search = [&](int from, int to, double slide) {
      for (int k = from; k <= to && std::isnan(best[0]); ++k)
        if (const double d = offset(k); d >= lowest || k % 3 != 2) consider(d, slide);
    };
    // Both sides of the value at each offset before the next: a line whose value is blocked on one side
    // stays at its feature with the value on the other.
    const auto searchEither = [&](int to, double first, double second) {
      for (int k = 0; k <= to && std::isnan(best[0]); ++k)
        if (const double d = offset(k); d >= lowest || k % 3 != 2)
          for (const double slide : {first, second})
            if (std::isnan(best[0])) consider(d, slide);
    };
    // Near the offset asked with the value above the line's middle; then there with the value past an end
    // of the line, as a draftsman writes a value that does not fit between its extension lines, rather
    // than the line carried far off along the part; then farther out.
    const int nearSteps = int(1.5 * Near / Step);
    // Only a line asked across the part it measures: its value would stand on that part.
    const TQuad centred = at(asked).Value;
    const double cx = (centred.X[0] + centred.X[2]) / 2, cy = (centred.Y[0] + centred.Y[2]) / 2;
    const auto holds = [](const std::array<double, 4>& v, double x, double y) {
      return x >= v[0] - 0.5 && x <= v[2] + 0.5 && y >= v[1] - 0.5 && y <= v[3] + 0.5;
    };
    // A hollow section's diameter asked through the points it measures (its line across the bore from
    // wall to wall) lies across the part too, its halves two views about the bore.
    std::array<double, 4> part{1e300, 1e300, -1e300, -1e300};
    bool halves = true;
    for (const std::array<double, 4>& v : views) {
      const bool first = holds(v, m.X1, m.Y1), second = holds(v, m.X2, m.Y2);
      if (first && second) halves = false;
      if (first || second)
        part = {std::min(part[0], v[0]), std::min(part[1], v[1]), std::max(part[2], v[2]),
                std::max(part[3], v[3])};
    }
    // So is one whose halves meet only across the bore (a seat's edge drawn across its mouth): the
    // points' middle lies in no hatched area while each point is on the edge of one.
    bool bore = false;
    if (const double l = std::hypot(m.X2 - m.X1, m.Y2 - m.Y1); !halves && l > 2) {
      const auto hatched = [this](double x, double y) {
        return std::any_of(Areas.begin(), Areas.end(), [&](const std::pair<std::size_t, std::size_t>& a) {
          bool in = false;
          for (std::size_t k = a.first; k < a.second; ++k) {
            const auto& g = Segments[k];
            if ((g[1] > y) != (g[3] > y) && x < (g[2] - g[0]) * (y - g[1]) / (g[3] - g[1]) + g[0]) in = !in;
          }
          return in;
        });
      };
      const double bx = (m.X2 - m.X1) / l, by = (m.Y2 - m.Y1) / l;
      const auto wall = [&](double x, double y) {
        return hatched(x - bx * 0.5, y - by * 0.5) || hatched(x + bx * 0.5, y + by * 0.5);
      };
      halves = bore = !hatched((m.X1 + m.X2) / 2, (m.Y1 + m.Y2) / 2) && wall(m.X1, m.Y1) && wall(m.X2, m.Y2);
    }
    const bool through =
        halves && std::fabs(asked - s1) <= 1 && std::fabs(asked - s2) <= 1 && holds(part, cx, cy);
    const bool within =
        Within(cx, cy) && std::any_of(views.begin(), views.end(), [&](const std::array<double, 4>& v) {
          return holds(v, cx, cy) && holds(v, m.X1, m.Y1) && holds(v, m.X2, m.Y2);
        });
    const double past = std::hypot(m.X2 - m.X1, m.Y2 - m.Y1) / 2 + len / 2 + 1.5;
    // A line asked through a hollow section stays across it, its value beyond the outlines there, before
    // it is carried off the part; a bore edged round its middle does not make it a line within a view.
    if ((!within || bore) && through) {
      acrossBore = true;
      // A bore edged round its middle holds the value only past its walls, nearer than any other offset.
      searchEither(bore ? 0 : nearSteps, m.Side < 0 ? -past : past, m.Side < 0 ? past : -past);
      // Past the part's outlines the line crosses there: a bore's value stands beyond its wall.
      const double a = m.X1 * ux + m.Y1 * uy, b = m.X2 * ux + m.Y2 * uy, mid = (a + b) / 2;
      double lo = std::min(a, b), hi = std::max(a, b);
      for (const auto& g : Segments) {
        const double g0 = g[0] * nx + g[1] * ny - asked, g1 = g[2] * nx + g[3] * ny - asked;
        if ((g0 > 0) == (g1 > 0) || g0 == g1) continue;
        const double t = g0 / (g0 - g1), x = g[0] + t * (g[2] - g[0]), y = g[1] + t * (g[3] - g[1]);
        if (!holds(part, x, y)) continue;
        lo = std::min(lo, x * ux + y * uy), hi = std::max(hi, x * ux + y * uy);
      }
      const double up = hi - mid + len / 2 + 1.5, down = mid - lo + len / 2 + 1.5;
      searchEither(nearSteps, m.Side < 0 ? -down : up, m.Side < 0 ? up : -down);
      acrossBore = false;
    }
    search(0, nearSteps, 0);
    if (within)
      for (const double slide : {m.Side < 0 ? -past : past, m.Side < 0 ? past : -past})
        search(0, nearSteps, slide);
    search(nearSteps + 1, 2 * steps, 0);
    // A line too short for its value between its extension lines, carried off so far that they run on
    // over its view farther than the view is across them, stays by what it measures instead, its value
    // past an end, as a draftsman writes a step's length at the step.
    const auto runsAlong = [&](double d) {
      const TAt r = at(d);
      for (const auto& [px, py, ax, ay] :
           {std::array{m.X1, m.Y1, r.A1x, r.A1y}, std::array{m.X2, m.Y2, r.A2x, r.A2y}})
        for (const std::array<double, 4>& v : views) {
          if (!(px >= v[0] - 0.01 && px <= v[2] + 0.01 && py >= v[1] - 0.01 && py <= v[3] + 0.01)) continue;
          const double over = std::min(std::fabs(ax - px) > 1e-9 ? (ax > px ? v[2] - px : px - v[0]) : 1e300,
                                       std::fabs(ay - py) > 1e-9 ? (ay > py ? v[3] - py : py - v[1]) : 1e300);
          const double across = std::fabs(ux) > std::fabs(uy) ? v[2] - v[0] : v[3] - v[1];
          if (std::min(over, std::hypot(ax - px, ay - py) + 2) > across + 0.5) return true;
        }
      return false;
    };
    // Near the offset asked again, its value past either end, taken where it keeps what keeps asks.
    // Where no side keeps its run-on clear there, a run-on across a line is still better than a line
    // carried off its feature.
    const auto nearWithValuePast = [&](const auto& keeps) {
      const double far = best[0], farSlide = slid[0];
      const double past = std::hypot(m.X2 - m.X1, m.Y2 - m.Y1) / 2 + len / 2 + 1.5;
      for (const bool strict : {true, false}) {
        runOnStrict = strict;
        for (const double slide : {m.Side < 0 ? -past : past, m.Side < 0 ? past : -past}) {
          best[0] = NAN;
          search(0, nearSteps, slide);
          if (!std::isnan(best[0]) && keeps(best[0], slid[0])) {
            runOnStrict = true;
            return;
          }
          best[0] = far, slid[0] = farSlide;
        }
      }
      runOnStrict = true;
    };
    if (!std::isnan(best[0]) && std::fabs((m.X2 - m.X1) * ux + (m.Y2 - m.Y1) * uy) < len + 2 &&
        runsAlong(best[0]))
      nearWithValuePast([&](double d, double) { return !runsAlong(d); });
    // A line carried out past a longer parallel one that spans all it measures would have its extension
    // lines cross that line: it stays nearer, inside the longer one, its value past an end, where that
    // is free.
    const auto beyondLonger = [&](double d) {
      const double a = m.X1 * ux + m.Y1 * uy, b = m.X2 * ux + m.Y2 * uy, near = std::max(s1, s2);
      return std::any_of(Settled.begin(), Settled.end(), [&](const TSettled& p) {
        const double lx = p.X2 - p.X1, ly = p.Y2 - p.Y1, l = std::hypot(lx, ly);
        if (!(l > 0) || std::fabs(lx * nx + ly * ny) > 1e-4 * l) return false;
        const double pa = p.X1 * ux + p.Y1 * uy, pb = p.X2 * ux + p.Y2 * uy, level = p.X1 * nx + p.Y1 * ny;
        return std::min(pa, pb) <= std::min(a, b) + 0.01 && std::max(pa, pb) >= std::max(a, b) - 0.01 &&
               level > near && level < d - 1e-6;
      });
    };
    // Brought back there, it takes no sign's place as asked (its line, its value, nor its extension lines
    // that sign's value), its value lies across no extension line still to come, and its extension lines
    // run across no value settled: the sign and the dimensions after it then stand where they did.
    // A line brought back out of reach may take a sign's place as asked: the sign settles after it.
    const auto clearThere = [&](double d, double slide, bool signsStay = true) {
      const TAt r = at(d, slide);
      if (signsStay && std::any_of(Signs.begin(), Signs.end(), [&](const TSign& g) {
            const TQuad f = Footprint(g, g.SX, g.SY);
            return Overlap(r.Value, f) || Overlap(r.Line, f);
          }))
        return false;
      for (std::size_t j = i + 1; j < coming.size(); ++j)
        for (const std::array<double, 4>& g : coming[j]) {
          const double gx[2] = {g[0], g[2]}, gy[2] = {g[1], g[3]};
          if (Overlap(r.Value.X, r.Value.Y, 4, gx, gy, 2)) return false;
        }
      for (const auto& [px, py, ax, ay] :
           {std::array{m.X1, m.Y1, r.A1x, r.A1y}, std::array{m.X2, m.Y2, r.A2x, r.A2y}}) {
        const double l = std::hypot(ax - px, ay - py);
        if (!(l > 1e-9)) continue;
        const TQuad e = Turned(px, py, std::atan2(ay - py, ax - px) / Deg, 0.5, -0.2, l + 2, 0.2);
        if (std::any_of(Boxes.begin(), Boxes.end(), [&e](const TQuad& b) { return Overlap(e, b); }) ||
            std::any_of(Signs.begin(), Signs.end(),
                        [&](const TSign& g) { return Overlap(e, SignValue(g, g.SX, g.SY)); }))
          return false;
      }
      return true;
    };
    if (!std::isnan(best[0]) && beyondLonger(best[0]))
      nearWithValuePast([&](double d, double slide) { return !beyondLonger(d) && clearThere(d, slide); });
    // Whether the line at offset d stands out of reach of what it sizes, as the release checks measure it:
    // more than 30 of empty paper between the outline of its view over its span, the parallel lines
    // settled there and it. A size carried that far off is read against the wrong feature.
    const auto farOff = [&](double d) {
      constexpr double Far = 30;
      const double a = std::min(m.X1 * ux + m.Y1 * uy, m.X2 * ux + m.Y2 * uy),
                   b = std::max(m.X1 * ux + m.Y1 * uy, m.X2 * ux + m.Y2 * uy);
      double from = std::max(s1, s2);
      const auto view = std::find_if(views.begin(), views.end(),
                                     [&](const std::array<double, 4>& v) { return holds(v, m.X1, m.Y1); });
      for (const auto& g : Segments) {
        if (view == views.end() || !holds(*view, g[0], g[1]) || !holds(*view, g[2], g[3])) continue;
        const double ga = g[0] * ux + g[1] * uy, gb = g[2] * ux + g[3] * uy;
        if (std::max(ga, gb) < a - 1e-6 || std::min(ga, gb) > b + 1e-6) continue;
        const double na = g[0] * nx + g[1] * ny, nb = g[2] * nx + g[3] * ny;
        for (const double x : {std::max(a, std::min(ga, gb)), std::min(b, std::max(ga, gb))}) {
          const double level = std::fabs(gb - ga) > 1e-9 ? na + (x - ga) / (gb - ga) * (nb - na) : na;
          if (level < d) from = std::max(from, level);
        }
      }
      std::vector<double> levels{from, d};
      for (const TSettled& p : Settled) {
        const double lx = p.X2 - p.X1, ly = p.Y2 - p.Y1, l = std::hypot(lx, ly),
                     level = p.X1 * nx + p.Y1 * ny;
        if (!(l > 0) || std::fabs(lx * nx + ly * ny) > 1e-4 * l) continue;
        const double pa = p.X1 * ux + p.Y1 * uy, pb = p.X2 * ux + p.Y2 * uy;
        if (std::max(pa, pb) >= a && std::min(pa, pb) <= b && level > from && level < d)
          levels.push_back(level);
      }
      std::sort(levels.begin(), levels.end());
      for (std::size_t k = 0; k + 1 < levels.size(); ++k)
        if (levels[k + 1] - levels[k] > Far) return true;
      return false;
    };
    // A line the search carried out of reach while the offset asked lies within it stays near that offset,
    // its value past an end, where that is clear there.
    if (!std::isnan(best[0]) && farOff(best[0]) && !farOff(asked))
      nearWithValuePast([&](double d, double slide) { return !farOff(d) && clearThere(d, slide, false); });
    // Where that side has no room, the line goes to the part's other side, 10 beyond the outlines
    // across its span.
    if (std::isnan(best[0]) && std::isnan(best[1])) {
      const double a = m.X1 * ux + m.Y1 * uy, b = m.X2 * ux + m.Y2 * uy;
      // The part reaches as far as its outlines go on without a gap (another view lies further off).
      double beyond = std::min(s1, s2);
      for (bool grew = true; grew;) {
        grew = false;
        for (const auto& g : Segments) {
          const double g0 = g[0] * ux + g[1] * uy, g1 = g[2] * ux + g[3] * uy;
          if (std::max(g0, g1) < std::min(a, b) || std::min(g0, g1) > std::max(a, b)) continue;
          const double lo = std::min(g[0] * nx + g[1] * ny, g[2] * nx + g[3] * ny),
                       hi = std::max(g[0] * nx + g[1] * ny, g[2] * nx + g[3] * ny);
          if (lo < beyond - 1e-9 && hi >= beyond - 5) beyond = lo, grew = true;
        }
      }
      for (int k = 0; k <= steps && std::isnan(best[0]); ++k)
        consider(beyond - 10 - Step * k, 0);
    }
    double d = asked, slide = 0;
    for (int t = 0; t < 4; ++t)
      if (!std::isnan(best[t])) {
        d = best[t], slide = slid[t];
        break;
      }
    if (d != asked) {
      const double k = (d - asked) / (m.Scale > 0 ? m.Scale : 1);
      m.MoveLine(m.LX + k * m.CNx, m.LY + k * m.CNy);
    }
    if (slide != 0 && m.MoveValue) m.MoveValue(slide / (m.UScale > 0 ? m.UScale : 1));
    const TAt r = at(d, slide);
    if (m.MoveValue)
      values.push_back({Boxes.size(), Settled.size(), r.A1x, r.A1y, r.A2x, r.A2y, len, ux, uy, m.UScale,
                        m.MoveValue, slide});
    Boxes.push_back(r.Value);
    DimensionLines.push_back(r.Line);
    // Its extension lines, from the measured points to 2 past the line: no text lies across them.
    for (const auto& [px, py, ax, ay] :
         {std::array{m.X1, m.Y1, r.A1x, r.A1y}, std::array{m.X2, m.Y2, r.A2x, r.A2y}}) {
      const double l = std::hypot(ax - px, ay - py);
      if (l > 1e-9) {
        DimensionLines.push_back(Turned(px, py, std::atan2(ay - py, ax - px) / Deg, 0.5, -0.2, l + 2, 0.2));
        Extensions.push_back({px, py, ax + (ax - px) / l * 2, ay + (ay - py) / l * 2});
      }
    }
    // Its value's reach along the line as drawn from its first end: a line measured against its own
    // direction has it turned.
    const bool along = (r.E2x - r.E1x) * ux + (r.E2y - r.E1y) * uy >= 0;
    Settled.push_back({r.E1x, r.E1y, r.E2x, r.E2y, along ? r.From : -r.To, along ? r.To : -r.From});
  }
  Dimensions.clear();
  PlaceValues(values);
}

void TSheetLayout::PlaceValues(const std::vector<TValue>& values)
{
  // A value no line crosses stays above its line's middle; else it slides along the line, within the
  // extension lines or past one of them (its line runs on under it), the nearer the better, to where
  // no line crosses it and it lies on no other text.
  for (const TValue& v : values) {
    const TQuad centred = Boxes[v.Box];
    // A line touching the value does not cross it; one a tenth of a millimetre into it does.
    const auto shrunk = [](TQuad q) {
      const double cx = (q.X[0] + q.X[2]) / 2, cy = (q.Y[0] + q.Y[2]) / 2;
      for (int k = 0; k < 4; ++k) {
        const double dx = q.X[k] - cx, dy = q.Y[k] - cy, n = std::hypot(dx, dy),
                     f = n > 0.1 ? (n - 0.1) / n : 0;
        q.X[k] = cx + dx * f, q.Y[k] = cy + dy * f;
      }
      return q;
    };
    const auto free = [&](const TQuad& q) {
      for (int k = 0; k < 4; ++k)
        if (!InFrame(q.X[k], q.Y[k], 0)) return false;
      const TQuad in = shrunk(q);
      if (Crossed(in)) return false;
      for (std::size_t i = 0; i < Boxes.size(); ++i)
        if (i != v.Box && Overlap(in, Boxes[i])) return false;
      return true;
    };
    if (free(centred)) continue;
    const double half = std::hypot(v.A2x - v.A1x, v.A2y - v.A1y) / 2, l = v.Length / 2;
    // The line's middle and the value's shift along u from it.
    const double mid = ((v.A1x + v.A2x) * v.Ux + (v.A1y + v.A2y) * v.Uy) / 2;
    const double a = std::min(v.A1x * v.Ux + v.A1y * v.Uy, v.A2x * v.Ux + v.A2y * v.Uy) - mid,
                 b = std::max(v.A1x * v.Ux + v.A1y * v.Uy, v.A2x * v.Ux + v.A2y * v.Uy) - mid;
    // Half-millimetre steps either way as far as the line's half, two values' lengths and 30 beyond:
    // past a neighbour's extension line too when the one beside it is taken. First only where the line
    // run on under it crosses no other's line nor extension line.
    const TSettled& line = Settled[v.Line];
    const double ox = line.X1 - ((line.X1 * v.Ux + line.Y1 * v.Uy) - mid) * v.Ux,
                 oy = line.Y1 - ((line.X1 * v.Ux + line.Y1 * v.Uy) - mid) * v.Uy;
    bool moved = false;
    for (int pass = 0; pass < 2 && !moved; ++pass)
      for (int k = 1; k <= 4 * int(half + 2 * l + 30); ++k) {
        const double shift = 0.5 * ((k + 1) / 2) * (k % 2 == 0 ? -1 : 1);
        // Wholly between the extension lines or wholly past one.
        // From the line's middle: the value may already stand slid past an end.
        const double at = v.Slid + shift;
        const bool within = at - l >= a + 0.5 && at + l <= b - 0.5;
        const bool past = at - l >= b + 1 || at + l <= a - 1;
        if (!within && !past) continue;
        TQuad q = centred;
        for (int c = 0; c < 4; ++c)
          q.X[c] += shift * v.Ux, q.Y[c] += shift * v.Uy;
        if (!free(q)) continue;
        // Its line runs on under it.
        const double from = std::min(a, at - l), to = std::max(b, at + l);
        if (pass == 0 && !RunOnClear(ox + a * v.Ux, oy + a * v.Uy, ox + b * v.Ux, oy + b * v.Uy,
                                     ox + from * v.Ux, oy + from * v.Uy, ox + to * v.Ux, oy + to * v.Uy,
                                     Extensions, Settled, v.Line, {}, 0, {}))
          continue;
        Boxes[v.Box] = q;
        TSettled& settled = Settled[v.Line];
        settled.X1 = ox + from * v.Ux, settled.Y1 = oy + from * v.Uy, settled.X2 = ox + to * v.Ux,
        settled.Y2 = oy + to * v.Uy;
        v.Move(at / (v.UScale > 0 ? v.UScale : 1));
        moved = true;
        break;
      }
  }
}

} // namespace drApi
