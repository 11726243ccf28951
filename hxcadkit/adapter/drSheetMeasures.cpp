// What a place on a sheet meets: the frame, the views' outlines and hatching, the texts and lines settled
// and the angles to come.

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

// The box (x1, y1, x2, y2) the segments span; none (all 0) without any.
std::array<double, 4> Extent(const std::vector<std::array<double, 4>>& segments)
{
  double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  for (std::size_t i = 0; i < segments.size(); ++i) {
    const auto& g = segments[i];
    if (i == 0) x1 = x2 = g[0], y1 = y2 = g[1];
    x1 = std::min({x1, g[0], g[2]}), x2 = std::max({x2, g[0], g[2]});
    y1 = std::min({y1, g[1], g[3]}), y2 = std::max({y2, g[1], g[3]});
  }
  return {x1, y1, x2, y2};
}

} // namespace

bool TSheetLayout::Free(const TQuad& q, bool within) const
{
  for (int k = 0; k < 4; ++k)
    if (q.X[k] < FrameLeft || q.X[k] > W - FrameMargin || q.Y[k] < FrameMargin || q.Y[k] > H - FrameMargin)
      return false;
  if (!Clear(q)) return false;
  const TAgainst against(q);
  if (Boxes.Any(against.Box(), [&](std::size_t i) { return against.Meets(Boxes[i]); }) ||
      DimensionLines.Any(against.Box(), [&](std::size_t i) { return against.Meets(DimensionLines[i]); }))
    return false;
  // Nor inside a view.
  const double cx = (q.X[0] + q.X[2]) / 2, cy = (q.Y[0] + q.Y[2]) / 2;
  if (!within && Within(cx, cy)) return false;
  // Nor inside a hatched area (its middle inside its outlines by even-odd): only the outlines in the cells
  // from it to their far side can cross the line from it.
  if (Areas.empty() || OutlineBands().Cells.empty() || !std::isfinite(cy)) return true;
  const double far = Bands.X0 + double(Bands.Across) * Bands.CellSize + 1;
  Bands.Crossed.clear();
  Bands.Any(std::min(cx - 1e-6, far), cy, far, cy, Segments.size(), [&](std::size_t i) {
    const auto& s = Segments[i];
    if (Bands.Area[i] != TBands::None && (s[1] > cy) != (s[3] > cy) &&
        cx < (s[2] - s[0]) * (cy - s[1]) / (s[3] - s[1]) + s[0])
      Bands.Odd[Bands.Area[i]] ^= 1, Bands.Crossed.push_back(Bands.Area[i]);
    return false;
  });
  bool in = false;
  for (const std::size_t a : Bands.Crossed)
    in = in || Bands.Odd[a] != 0, Bands.Odd[a] = 0;
  return !in;
}

bool TSheetLayout::Within(double cx, double cy) const
{
  // Outlines on all four sides of it.
  // Only the outlines in the cells of its row can cross the line along it, only those in its column the line
  // across it: asked outwards from it, a cell beyond its own whatever the rounding, each way until one is
  // found that way.
  const TBands& bands = OutlineBands();
  if (!std::isfinite(cx) || !std::isfinite(cy) || bands.Cells.empty()) return false;
  bool left = false, right = false, below = false, above = false;
  const std::size_t r0 = bands.CellY(cy), c0 = bands.CellX(cx);
  const auto along = [&](std::size_t r, std::size_t c) {
    for (const TBands::TEntry& e : bands.Cells[r * bands.Across + c]) {
      const auto& g = Segments[e.Index];
      if ((g[1] > cy) != (g[3] > cy)) {
        const double x = g[0] + (g[2] - g[0]) * (cy - g[1]) / (g[3] - g[1]);
        (x < cx ? left : right) = true;
      }
    }
  };
  const auto across = [&](std::size_t r, std::size_t c) {
    for (const TBands::TEntry& e : bands.Cells[r * bands.Across + c]) {
      const auto& g = Segments[e.Index];
      if ((g[0] > cx) != (g[2] > cx)) {
        const double y = g[1] + (g[3] - g[1]) * (cx - g[0]) / (g[2] - g[0]);
        (y < cy ? below : above) = true;
      }
    }
  };
  for (std::size_t c = std::min(c0 + 2, bands.Across); c-- > 0 && !left;)
    along(r0, c);
  for (std::size_t c = c0 > 0 ? c0 - 1 : 0; c < bands.Across && !right; ++c)
    along(r0, c);
  for (std::size_t r = std::min(r0 + 2, bands.Up); r-- > 0 && !below;)
    across(r, c0);
  for (std::size_t r = r0 > 0 ? r0 - 1 : 0; r < bands.Up && !above; ++r)
    across(r, c0);
  const int sides = int(left) + int(right) + int(below) + int(above);
  if (sides == 4) return true;
  if (sides < 3) return false;
  // Or outlines all round it but for one direction in sixteen that meets nothing: a bore's mouth the part is
  // open to, its end face broken there. One through a detail's broken boundary is the detail's, which the
  // four sides decide.
  constexpr int Rays = 16;
  int open = 0;
  for (int r = 0; r < Rays && open <= 1; ++r) {
    const double a = 2 * TMathDef::C_PI * r / Rays, dx = std::cos(a), dy = std::sin(a);
    const auto meets = [&](const std::array<double, 4>& g) {
      const double sx = g[2] - g[0], sy = g[3] - g[1], den = dx * sy - dy * sx;
      if (std::fabs(den) < 1e-12) return false;
      const double wx = g[0] - cx, wy = g[1] - cy, t = (wx * sy - wy * sx) / den,
                   u = (wx * dy - wy * dx) / den;
      return t > 0 && u >= 0 && u <= 1;
    };
    // What it meets lies in the cells along it as far as it passes the outlines' far side.
    const double far = std::fabs(cx - bands.X0) + std::fabs(cy - bands.Y0) +
                       double(bands.Across + bands.Up + 2) * bands.CellSize;
    if (bands.AnyAlong({cx, cy, cx + far * dx, cy + far * dy}, 1e-6, Segments.size(),
                       [&](std::size_t i) { return meets(Segments[i]); }))
      continue;
    open += std::any_of(Broken.begin(), Broken.end(), meets) ? Rays : 1;
  }
  return open <= 1;
}

bool TSheetLayout::Clear(const TQuad& q) const
{
  const double x1 = std::min({q.X[0], q.X[1], q.X[2], q.X[3]}),
               x2 = std::max({q.X[0], q.X[1], q.X[2], q.X[3]});
  const double y1 = std::min({q.Y[0], q.Y[1], q.Y[2], q.Y[3]}),
               y2 = std::max({q.Y[0], q.Y[1], q.Y[2], q.Y[3]});
  const TAgainst against(q);
  const auto meets = [&](const std::array<double, 4>& s) {
    if (std::max(s[0], s[2]) < x1 || std::min(s[0], s[2]) > x2 || std::max(s[1], s[3]) < y1 ||
        std::min(s[1], s[3]) > y2)
      return false;
    const double sx[2] = {s[0], s[2]}, sy[2] = {s[1], s[3]};
    return against.Meets(sx, sy, 2);
  };
  // An outline whose box meets the quad's lies in a cell the quad's box meets: asked in the first of them.
  const TBands& bands = OutlineBands();
  if (bands.Cells.empty()) return true;
  if (!std::isfinite(x1 + x2 + y1 + y2)) return std::none_of(Segments.begin(), Segments.end(), meets);
  if (bands.LastMet < Segments.size() && meets(Segments[bands.LastMet])) return false;
  const std::size_t left = bands.CellX(x1), right = bands.CellX(x2), bottom = bands.CellY(y1),
                    top = bands.CellY(y2);
  for (std::size_t r = bottom; r <= top; ++r)
    for (std::size_t c = left; c <= right; ++c)
      for (const TBands::TEntry& e : bands.Cells[r * bands.Across + c]) {
        if (std::max(e.Column, left) != c || std::max(e.Row, bottom) != r || e.X2 < x1 || e.X1 > x2 ||
            e.Y2 < y1 || e.Y1 > y2)
          continue;
        const auto& g = Segments[e.Index];
        const double sx[2] = {g[0], g[2]}, sy[2] = {g[1], g[3]};
        if (against.Meets(sx, sy, 2)) {
          Bands.LastMet = e.Index;
          return false;
        }
      }
  return true;
}

const TSheetLayout::TBands& TSheetLayout::OutlineBands() const
{
  if (Bands.Valid) return Bands;
  constexpr double Width = 5;
  const auto [x1, y1, x2, y2] = Extent(Segments);
  Bands.X0 = x1, Bands.Y0 = y1;
  // Cells 5 mm square, at most 200 of them along either side.
  Bands.CellSize = std::max({Width, (x2 - x1) / 200.0, (y2 - y1) / 200.0});
  Bands.Across = Segments.empty() ? 0 : std::size_t((x2 - x1) / Bands.CellSize) + 1;
  Bands.Up = Segments.empty() ? 0 : std::size_t((y2 - y1) / Bands.CellSize) + 1;
  Bands.Cells.assign(Bands.Across * Bands.Up, {});
  for (std::size_t i = 0; i < Segments.size(); ++i) {
    const auto& g = Segments[i];
    const TBands::TEntry e{std::min(g[0], g[2]),
                           std::min(g[1], g[3]),
                           std::max(g[0], g[2]),
                           std::max(g[1], g[3]),
                           i,
                           Bands.CellX(std::min(g[0], g[2])),
                           Bands.CellY(std::min(g[1], g[3]))};
    for (std::size_t r = e.Row, top = Bands.CellY(e.Y2); r <= top; ++r)
      for (std::size_t c = e.Column, right = Bands.CellX(e.X2); c <= right; ++c)
        Bands.Cells[r * Bands.Across + c].push_back(e);
  }
  Bands.Area.assign(Segments.size(), TBands::None);
  for (std::size_t a = 0; a < Areas.size(); ++a)
    for (std::size_t i = Areas[a].first; i < Areas[a].second && i < Segments.size(); ++i)
      Bands.Area[i] = a;
  Bands.Odd.assign(Areas.size(), 0);
  Bands.Longest = 0;
  for (const auto& g : Segments)
    Bands.Longest = std::max(Bands.Longest, std::fabs(g[2] - g[0]) + std::fabs(g[3] - g[1]));
  Bands.ViewsValid = false;
  Bands.Valid = true;
  return Bands;
}

bool TSheetLayout::OffAxes(const TQuad& q) const
{
  // Corners 0-1 are the base, 2-3 the top: grown outwards along both edges, and along the base's
  // direction at its ends, so that an axis running past a shelf or an arm is read apart from it.
  constexpr double Gap = AxisGap;
  const auto unit = [](double dx, double dy, double& ux, double& uy) {
    const double l = Norm(dx, dy);
    ux = l > 0 ? dx / l : 0, uy = l > 0 ? dy / l : 0;
  };
  double bx, by, ux, uy;
  unit(q.X[1] - q.X[0], q.Y[1] - q.Y[0], bx, by);
  unit(q.X[3] - q.X[0], q.Y[3] - q.Y[0], ux, uy);
  TQuad g = q;
  for (int k = 0; k < 4; ++k) {
    const double along = k == 0 || k == 3 ? -Gap : Gap, up = k >= 2 ? Gap : 0;
    g.X[k] += along * bx + up * ux, g.Y[k] += along * by + up * uy;
  }
  return !AxisMeets(g);
}

bool TSheetLayout::AxisMeets(const TQuad& q, bool drawn) const
{
  if (!Bands.AxesValid) {
    const auto [x1, y1, x2, y2] = Extent(Axes);
    Bands.AxisCells.Reset(x1, y1, x2, y2);
    for (std::size_t i = 0; i < Axes.size(); ++i)
      Bands.AxisCells.Put(i, Span(Axes[i]));
    Bands.AxesValid = true;
  }
  const TAgainst against(q);
  return Bands.AxisCells.Any(
      against.Box(), [&](std::size_t i) { return (!drawn || AxisDrawn[i]) && against.Meets(Axes[i]); });
}

bool TSheetLayout::AxisAcross(const TQuad& q) const
{
  // As the release check reads a text: shrunk towards its middle.
  constexpr double Touch = 0.2;
  const double cx = (q.X[0] + q.X[2]) / 2, cy = (q.Y[0] + q.Y[2]) / 2;
  TQuad read = q;
  for (int k = 0; k < 4; ++k) {
    const double dx = q.X[k] - cx, dy = q.Y[k] - cy, n = Norm(dx, dy), f = n > Touch ? (n - Touch) / n : 0;
    read.X[k] = cx + dx * f, read.Y[k] = cy + dy * f;
  }
  return AxisMeets(read, true);
}

bool TSheetLayout::CrossesOutline(const std::array<double, 4>& l) const
{
  // Lines whose boxes lie more than 0.1 apart do not cross.
  constexpr double Near = 0.11;
  const std::array<double, 4> b = Span(l);
  return OutlineBands().Any(b[0] - Near, b[1] - Near, b[2] + Near, b[3] + Near, Segments.size(),
                            [&](std::size_t i) { return LinesCross(l, Segments[i]); });
}

bool TSheetLayout::ByCorner(const std::array<double, 4>& l) const
{
  constexpr double Near = 0.5;
  const std::array<double, 4> b = Span(l);
  const auto by = [&l](double x, double y) {
    return OffSegment(x, y, l) < Near && Norm(x - l[2], y - l[3]) >= Near;
  };
  return OutlineBands().Any(b[0] - Near, b[1] - Near, b[2] + Near, b[3] + Near, Segments.size(),
                            [&](std::size_t i) {
                              const std::array<double, 4>& g = Segments[i];
                              return by(g[0], g[1]) || by(g[2], g[3]);
                            });
}

bool TSheetLayout::Taken(const TQuad& q) const
{
  const TAgainst against(q);
  return Boxes.Any(against.Box(), [&](std::size_t i) { return against.Meets(Boxes[i]); });
}

bool TSheetLayout::Crossed(const TQuad& q) const
{
  const TAgainst against(q);
  const auto crosses = [&against](const std::array<double, 4>& g) { return against.Meets(g); };
  if (!Clear(q) || std::any_of(Thin.begin(), Thin.end(), crosses) ||
      std::any_of(Extensions.begin(), Extensions.end(), crosses))
    return true;
  const std::vector<std::array<double, 4>>& coming = AnglesToCome();
  return std::any_of(coming.begin(), coming.end(), crosses) ||
         std::any_of(Settled.begin(), Settled.end(), [&crosses](const TSettled& p) {
           return crosses({p.X1, p.Y1, p.X2, p.Y2});
         });
}

const std::vector<std::array<double, 4>>& TSheetLayout::AnglesToCome() const
{
  const auto same = [this] {
    if (ToCome.Of.size() != Angles.size()) return false;
    for (std::size_t k = 0; k < Angles.size(); ++k) {
      const TAngle& g = Angles[k];
      if (ToCome.Of[k] != std::array<double, 7>{g.X, g.Y, g.A1, g.A2, g.From[0], g.From[1], g.Floor})
        return false;
    }
    return true;
  };
  if (same()) return ToCome.Lines;
  ToCome.Of.clear(), ToCome.Lines.clear();
  // Their rays, from where they are drawn to the arc asked, and their arcs, in 12 chords.
  for (const TAngle& g : Angles) {
    ToCome.Of.push_back({g.X, g.Y, g.A1, g.A2, g.From[0], g.From[1], g.Floor});
    for (int i = 0; i < 2; ++i) {
      const double a = (i == 0 ? g.A1 : g.A2) * Deg, from = g.From[std::size_t(i)];
      ToCome.Lines.push_back({g.X + from * std::cos(a), g.Y + from * std::sin(a), g.X + g.Floor * std::cos(a),
                              g.Y + g.Floor * std::sin(a)});
    }
    for (int i = 0; i < 12; ++i) {
      const double a = (g.A1 + (g.A2 - g.A1) * i / 12) * Deg, b = (g.A1 + (g.A2 - g.A1) * (i + 1) / 12) * Deg;
      ToCome.Lines.push_back({g.X + g.Floor * std::cos(a), g.Y + g.Floor * std::sin(a), g.X + g.Floor * std::cos(b),
                              g.Y + g.Floor * std::sin(b)});
    }
  }
  return ToCome.Lines;
}

std::vector<std::array<double, 4>> TSheetLayout::ViewBoxes() const
{
  if (OutlineBands().ViewsValid) return Bands.Views;
  const auto box = [](const std::array<double, 4>& g) {
    return std::array<double, 4>{std::min(g[0], g[2]), std::min(g[1], g[3]), std::max(g[0], g[2]),
                                 std::max(g[1], g[3])};
  };
  const auto meet = [](const std::array<double, 4>& a, const std::array<double, 4>& b) {
    return a[0] <= b[2] + 0.01 && b[0] <= a[2] + 0.01 && a[1] <= b[3] + 0.01 && b[1] <= a[3] + 0.01;
  };
  // The outlines that meet, joined; then their boxes merged while they meet.
  std::vector<std::size_t> root(Segments.size());
  for (std::size_t i = 0; i < root.size(); ++i)
    root[i] = i;
  const auto find = [&root](std::size_t i) {
    while (root[i] != i)
      i = root[i] = root[root[i]];
    return i;
  };
  // An outline meets only those in the cells its box meets, widened a little more than the test is.
  const TBands& bands = OutlineBands();
  for (std::size_t i = 0; i < Segments.size(); ++i) {
    const auto b = box(Segments[i]);
    bands.Any(b[0] - 0.02, b[1] - 0.02, b[2] + 0.02, b[3] + 0.02, Segments.size(), [&](std::size_t j) {
      if (j > i && meet(b, box(Segments[j]))) root[find(i)] = find(j);
      return false;
    });
  }
  std::vector<std::array<double, 4>> views;
  std::vector<std::size_t> of(Segments.size(), std::size_t(-1));
  for (std::size_t i = 0; i < Segments.size(); ++i) {
    std::size_t& v = of[find(i)];
    const auto b = box(Segments[i]);
    if (v == std::size_t(-1)) {
      v = views.size();
      views.push_back(b);
    } else {
      auto& w = views[v];
      w = {std::min(w[0], b[0]), std::min(w[1], b[1]), std::max(w[2], b[2]), std::max(w[3], b[3])};
    }
  }
  // Merged first pair first, as scanning every pair again after each merge would: no two boxes before
  // row i meet, so only a box the merge grew can meet one of them, and the first such comes first. Scanning
  // from the start after each merge cost the cube of the views on a sheet of many holes.
  for (std::size_t i = 0; i < views.size();) {
    std::size_t j = i + 1;
    while (j < views.size() && !meet(views[i], views[j]))
      ++j;
    if (j == views.size()) {
      ++i;
      continue;
    }
    views[i] = {std::min(views[i][0], views[j][0]), std::min(views[i][1], views[j][1]),
                std::max(views[i][2], views[j][2]), std::max(views[i][3], views[j][3])};
    views.erase(views.begin() + std::ptrdiff_t(j));
    for (std::size_t a = 0; a < i; ++a)
      if (meet(views[a], views[i])) {
        i = a;
        break;
      }
  }
  Bands.Views = views, Bands.ViewsValid = true;
  return views;
}

bool TSheetLayout::ArcAlongOutline(double X, double Y, double a1, double a2, double r) const
{
  // Its chords, a degree or less each, that run alongside an outline (their middles within 2 mm of it and
  // square to it, turned less than 6 degrees off it), more than a millimetre of them in all.
  // A chord's middle that near an outline lies within 2 mm of the outline's box: only the outlines whose
  // box, widened by more than that, meets the box of the arc's circle are tried, each chord by that box
  // first.
  constexpr double Slack = 3;
  // The arc is drawn, and judged, in chords other than these: a chord's middle a tenth nearer the outline
  // there than here would put an arc found clear here along it. Kept that much further off.
  constexpr double Sag = 0.1;
  struct TNear
  {
    const std::array<double, 4>* G;
    double Gx, Gy, Gl, X1, Y1, X2, Y2;
  };
  std::vector<TNear> near;
  const double radius = std::fabs(r);
  for (const auto& g : Segments) {
    const double x1 = std::min(g[0], g[2]) - Slack, x2 = std::max(g[0], g[2]) + Slack,
                 y1 = std::min(g[1], g[3]) - Slack, y2 = std::max(g[1], g[3]) + Slack;
    if (x2 < X - radius || x1 > X + radius || y2 < Y - radius || y1 > Y + radius) continue;
    const double gx = g[2] - g[0], gy = g[3] - g[1];
    near.push_back({&g, gx, gy, Norm(gx, gy), x1, y1, x2, y2});
  }
  // The outlines' arcs about the arc's own centre nearer its radius than that: their chords, 5 degrees
  // each, lie farther inside than the arcs themselves, which the sheet draws finer.
  std::vector<const TArc*> about;
  for (const TArc& o : Arcs)
    if (o.Outline && Norm(o.X - X, o.Y - Y) < 0.05 && std::fabs(o.R - radius) < 2) about.push_back(&o);
  const auto onArc = [&about](double a) {
    return std::any_of(about.begin(), about.end(), [a](const TArc* o) {
      const double sweep = std::fabs(o->Sweep);
      return sweep >= 360 || 2 * std::fabs(std::remainder(a - o->From - o->Sweep / 2, 360.0)) <= sweep;
    });
  };
  const int n = std::clamp(int(std::ceil(std::fabs(a2 - a1))), 1, 360);
  double along = 0;
  for (int i = 0; i < n && !(near.empty() && about.empty()); ++i) {
    const double a = (a1 + (a2 - a1) * i / n) * Deg, b = (a1 + (a2 - a1) * (i + 1) / n) * Deg;
    const double px = X + r * std::cos(a), py = Y + r * std::sin(a), qx = X + r * std::cos(b),
                 qy = Y + r * std::sin(b), mx = (px + qx) / 2, my = (py + qy) / 2, ux = qx - px, uy = qy - py;
    const double len = Norm(ux, uy);
    const bool on = std::any_of(near.begin(), near.end(), [&](const TNear& s) {
      if (!(mx >= s.X1 && mx <= s.X2 && my >= s.Y1 && my <= s.Y2)) return false;
      const std::array<double, 4>& g = *s.G;
      const double gx = s.Gx, gy = s.Gy, gl = s.Gl;
      if (!(gl > 0) || !(len > 0) || std::fabs(gx * uy - gy * ux) >= 0.1 * gl * len) return false;
      const double t = ((mx - g[0]) * gx + (my - g[1]) * gy) / (gl * gl);
      return t >= 0 && t <= 1 && std::fabs((mx - g[0]) * gy - (my - g[1]) * gx) / gl < OutlineAlongside + Sag;
    });
    if (on || onArc(a1 + (a2 - a1) * (i + 0.5) / n)) along += len;
  }
  return along > 1;
}

bool TSheetLayout::AlongOutline(double X1, double Y1, double X2, double Y2) const
{
  const double ux = X2 - X1, uy = Y2 - Y1, len = Norm(ux, uy);
  if (!(len > 0)) return false;
  const double x1 = std::min(X1, X2), x2 = std::max(X1, X2), y1 = std::min(Y1, Y2), y2 = std::max(Y1, Y2);
  // Only an outline whose box lies within the nearest the longest may be of it.
  const TBands& bands = OutlineBands();
  const double reach = OutlineAlongside + 0.02 + 0.01 * bands.Longest;
  return bands.Any(x1 - reach, y1 - reach, x2 + reach, y2 + reach, Segments.size(), [&](std::size_t i) {
    const std::array<double, 4>& g = Segments[i];
    // A point of an outline alongside lies within OutlineAlongside of the line, and within a hundredth of
    // its length more where it is turned: an outline whose box lies farther off is not alongside.
    const double near = OutlineAlongside + 0.01 + 0.01 * (std::fabs(g[2] - g[0]) + std::fabs(g[3] - g[1]));
    if (std::max(g[0], g[2]) + near < x1 || std::min(g[0], g[2]) - near > x2 ||
        std::max(g[1], g[3]) + near < y1 || std::min(g[1], g[3]) - near > y2)
      return false;
    const double gx = g[2] - g[0], gy = g[3] - g[1], gl = Norm(gx, gy);
    if (!(gl > 0) || std::fabs(gx * uy - gy * ux) > 0.01 * gl * len) return false;
    const double off = std::fabs((g[0] - X1) * -uy + (g[1] - Y1) * ux) / len;
    const double p = ((g[0] - X1) * ux + (g[1] - Y1) * uy) / len,
                 q = ((g[2] - X1) * ux + (g[3] - Y1) * uy) / len;
    return off < OutlineAlongside && std::min(len, std::max(p, q)) - std::max(0.0, std::min(p, q)) > 1;
  });
}

bool TSheetLayout::RayThroughOutline(double X, double Y, double a, double r) const
{
  constexpr double Near = 0.05;
  if (!(r > 0)) return false;
  const double ex = X + r * std::cos(a * Deg), ey = Y + r * std::sin(a * Deg);
  const double rx = ex - X, ry = ey - Y;
  // How far (x, y) lies from the ray's line.
  const auto offLine = [&](double x, double y) { return std::fabs((x - X) * ry - (y - Y) * rx) / r; };
  std::vector<std::array<double, 4>> measured;
  for (const auto& g : Segments)
    if (Norm(g[0] - X, g[1] - Y) < Near || Norm(g[2] - X, g[3] - Y) < Near ||
        (offLine(g[0], g[1]) < Near && offLine(g[2], g[3]) < Near))
      measured.push_back(g);
  return std::any_of(Segments.begin(), Segments.end(), [&](const std::array<double, 4>& g) {
    const double qx = g[2] - g[0], qy = g[3] - g[1], den = rx * qy - ry * qx;
    if (std::fabs(den) < 1e-12) return false;
    const double wx = g[0] - X, wy = g[1] - Y, u = (wx * qy - wy * qx) / den, v = (wx * ry - wy * rx) / den;
    if (u < 0 || u > 1 || v < 0 || v > 1) return false;
    const double px = X + u * rx, py = Y + u * ry;
    if (Norm(px - X, py - Y) < Near || Norm(px - ex, py - ey) < Near) return false;
    return std::none_of(measured.begin(), measured.end(),
                        [&](const std::array<double, 4>& m) { return OffSegment(px, py, m) < Near; });
  });
}

bool TSheetLayout::AcrossLinear(const std::array<double, 4>& l) const
{
  const auto across = [&l](const std::array<double, 4>& o) { return LinesCross(l, o); };
  return std::any_of(Extensions.begin(), Extensions.end(), across) ||
         std::any_of(Settled.begin(), Settled.end(), [&l](const TSettled& p) {
           return LinesCross(l, {p.X1, p.Y1, p.X2, p.Y2});
         });
}

void TSheetLayout::TCells::Reset(double x1, double y1, double x2, double y2)
{
  Items.clear(), Everywhere.clear();
  if (!std::isfinite(x1 + y1 + x2 + y2) || x2 < x1 || y2 < y1) x1 = y1 = x2 = y2 = 0;
  X0 = x1, Y0 = y1;
  Size = std::max({Least, (x2 - x1) / double(Most), (y2 - y1) / double(Most)});
  Across = std::size_t((x2 - x1) / Size) + 1, Up = std::size_t((y2 - y1) / Size) + 1;
  Cells.assign(Across * Up, {});
}

void TSheetLayout::TCells::Take(std::size_t i)
{
  const TItem& e = Items[i];
  const auto drop = [i](std::vector<std::size_t>& list) { list.erase(std::find(list.begin(), list.end(), i)); };
  if (e.Everywhere) {
    drop(Everywhere);
    return;
  }
  for (std::size_t r = e.R0; r <= e.R1; ++r)
    for (std::size_t c = e.C0; c <= e.C1; ++c)
      drop(Cells[r * Across + c]);
}

void TSheetLayout::TCells::Put(std::size_t i, const std::array<double, 4>& b)
{
  if (i < Items.size())
    Take(i);
  else
    Items.resize(i + 1);
  TItem& e = Items[i];
  e.Box = b;
  e.Everywhere = !std::isfinite(b[0] + b[1] + b[2] + b[3]);
  if (e.Everywhere) {
    Everywhere.push_back(i);
    return;
  }
  e.C0 = CellX(b[0]), e.R0 = CellY(b[1]), e.C1 = CellX(b[2]), e.R1 = CellY(b[3]);
  for (std::size_t r = e.R0; r <= e.R1; ++r)
    for (std::size_t c = e.C0; c <= e.C1; ++c)
      Cells[r * Across + c].push_back(i);
}

void TSheetLayout::TQuads::push_back(const TQuad& q)
{
  Items.push_back(q);
  if (Indexed) Cells.Put(Items.size() - 1, Span(q));
}

void TSheetLayout::TQuads::Set(std::size_t i, const TQuad& q)
{
  Items[i] = q;
  if (Indexed) Cells.Put(i, Span(q));
}

void TSheetLayout::TQuads::Shift(double dx, double dy)
{
  for (TQuad& q : Items)
    for (int k = 0; k < 4; ++k)
      q.X[k] += dx, q.Y[k] += dy;
  Indexed = false;
}

void TSheetLayout::TQuads::Index() const
{
  Cells.Reset(0, 0, W, H);
  for (std::size_t i = 0; i < Items.size(); ++i)
    Cells.Put(i, Span(Items[i]));
  Indexed = true;
}

} // namespace drApi
