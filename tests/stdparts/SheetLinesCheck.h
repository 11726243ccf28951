#pragma once
// How the lines of a mould sheet stand to what they serve, as a draftsman reads them: every roughness
// sign's tip on its surface (an outline, an extension line or a leader along the sign's base), no text
// crossed by a line, no dimension line on an outline, no extension or dimension line through another
// view, every diameter's and radius's arrow on the arc it sizes, no angle's ray through the part, texts
// written as a Russian drawing writes them, no view in the title block, no angle given twice. Each check
// answers the faults it finds.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "txapi/Enums.h"
#include "txhost/lib/SvgWriter.h"

namespace stdtest::sheetlines {

using TPoint = std::pair<double, double>;

struct TSeg
{
  TPoint A, B;
};

inline std::vector<TSeg> Segments(const txhost::SvgPolyline& l)
{
  std::vector<TSeg> s;
  for (std::size_t k = 0; k + 1 < l.Points.size(); ++k)
    s.push_back({l.Points[k], l.Points[k + 1]});
  return s;
}

inline bool MainLine(const txhost::SvgPolyline& l)
{
  return l.Kind == "curve" && (l.Style == txapi::txCSNormal || l.Style == txapi::txCSThick);
}

// The segments of every main (visible) outline on the sheet.
inline std::vector<TSeg> OutlineSegments(const txhost::SvgLayout& layout)
{
  std::vector<TSeg> outline;
  for (const txhost::SvgPolyline& l : layout.Lines)
    if (MainLine(l))
      for (const TSeg& s : Segments(l))
        outline.push_back(s);
  return outline;
}

inline double Distance(TPoint p, const TSeg& s)
{
  const double dx = s.B.first - s.A.first, dy = s.B.second - s.A.second, l2 = dx * dx + dy * dy;
  const double t =
      l2 > 0 ? std::clamp(((p.first - s.A.first) * dx + (p.second - s.A.second) * dy) / l2, 0.0, 1.0) : 0;
  return std::hypot(p.first - s.A.first - t * dx, p.second - s.A.second - t * dy);
}

// The sine of the angle between two directions.
inline double Sine(double ax, double ay, double bx, double by)
{
  const double la = std::hypot(ax, ay), lb = std::hypot(bx, by);
  return la > 0 && lb > 0 ? std::fabs(ax * by - ay * bx) / (la * lb) : 1;
}

inline std::string At(TPoint p)
{
  char buf[64];
  std::snprintf(buf, sizeof buf, "(%.2f, %.2f)", p.first, p.second);
  return buf;
}

inline std::string Named(const txhost::SvgLabel& l)
{
  return l.Role + " \"" + l.Text + "\" at " + At({l.X[0], l.Y[0]});
}

// Whether the segment s crosses the convex quadrilateral q (corners counter-clockwise) or lies in it.
inline bool Crosses(const double* qx, const double* qy, const TSeg& s)
{
  const double px[4] = {s.A.first, s.B.first, s.B.first, s.A.first},
               py[4] = {s.A.second, s.B.second, s.B.second, s.A.second};
  for (int side = 0; side < 2; ++side)
    for (int i = 0; i < 4; ++i) {
      const double* ex = side == 0 ? qx : px;
      const double* ey = side == 0 ? qy : py;
      const int j = (i + 1) % 4;
      const double nx = ey[i] - ey[j], ny = ex[j] - ex[i];
      if (nx == 0 && ny == 0) continue;
      double amin = 1e300, amax = -1e300, bmin = 1e300, bmax = -1e300;
      for (int k = 0; k < 4; ++k) {
        amin = std::min(amin, nx * qx[k] + ny * qy[k]), amax = std::max(amax, nx * qx[k] + ny * qy[k]);
        bmin = std::min(bmin, nx * px[k] + ny * py[k]), bmax = std::max(bmax, nx * px[k] + ny * py[k]);
      }
      if (amax < bmin || bmax < amin) return false;
    }
  return true;
}

// Every roughness sign of the views stands with its tip on a line along its base: an outline of the part
// (its surface), an extension line of the surface or a leader to it.
inline std::vector<std::string> SignsOffTheirSurfaces(const txhost::SvgLayout& layout)
{
  std::vector<TSeg> carriers;
  for (const txhost::SvgPolyline& l : layout.Lines)
    if ((l.Kind == "curve" && l.Style != txapi::txCSAxial) || l.Kind == "extension" || l.Kind == "leader" ||
        l.Kind == "hatch")
      for (const TSeg& s : Segments(l))
        carriers.push_back(s);
  std::vector<std::string> faults;
  const auto& lines = layout.Lines;
  for (std::size_t k = 0; k + 1 < lines.size(); ++k) {
    const txhost::SvgPolyline &a = lines[k], &b = lines[k + 1];
    // A sign's first two strokes leave its tip; the corner sign stands on nothing.
    if (a.Kind != "rough" || b.Kind != "rough" || a.Style != 0 || a.Points.size() != 2 ||
        b.Points.size() != 2 || a.Points[0] != b.Points[0])
      continue;
    const TPoint tip = a.Points[0];
    // The base runs across the sign's axis, the bisector of its arms.
    const double ax = a.Points[1].first - tip.first, ay = a.Points[1].second - tip.second;
    const double bx = b.Points[1].first - tip.first, by = b.Points[1].second - tip.second;
    const double la = std::hypot(ax, ay), lb = std::hypot(bx, by);
    const double upx = ax / la + bx / lb, upy = ay / la + by / lb;
    const bool stands = std::any_of(carriers.begin(), carriers.end(), [&](const TSeg& s) {
      return Distance(tip, s) < 0.3 && Sine(s.B.first - s.A.first, s.B.second - s.A.second, -upy, upx) <
                                           std::sin(2.0 * 3.14159265 / 180);
    });
    if (!stands) {
      double nearest = 1e300;
      for (const TSeg& s : carriers)
        nearest = std::min(nearest, Distance(tip, s));
      faults.push_back("a sign standing on nothing, its tip at " + At(tip) + ", " + std::to_string(nearest) +
                       " from the nearest line");
    }
    ++k;
  }
  return faults;
}

// No roughness sign's stroke (its arms, its shelf) runs across or within 0.8 mm of an axis: a shelf lying
// along an axis reads as a line of the view. Only the sign's tip meets a line, the surface it stands on.
inline std::vector<std::string> SignsOnAxes(const txhost::SvgLayout& layout)
{
  std::vector<TSeg> axes;
  std::vector<TPoint> tips;
  for (std::size_t k = 0; k < layout.Lines.size(); ++k) {
    const txhost::SvgPolyline& l = layout.Lines[k];
    if (l.Kind == "curve" && l.Style == txapi::txCSAxial)
      for (const TSeg& s : Segments(l))
        axes.push_back(s);
    if (l.Kind == "rough" && l.Points.size() == 2 && k + 1 < layout.Lines.size() &&
        layout.Lines[k + 1].Kind == "rough" && !layout.Lines[k + 1].Points.empty() &&
        layout.Lines[k + 1].Points[0] == l.Points[0])
      tips.push_back(l.Points[0]);
  }
  std::vector<std::string> faults;
  for (const txhost::SvgPolyline& l : layout.Lines) {
    if (l.Kind != "rough") continue;
    double nearest = 1e300;
    TPoint at{};
    for (const TSeg& s : Segments(l)) {
      const double len = std::hypot(s.B.first - s.A.first, s.B.second - s.A.second);
      const int n = std::max(1, int(std::ceil(len / 0.1)));
      for (int i = 0; i <= n; ++i) {
        const TPoint p{s.A.first + (s.B.first - s.A.first) * i / n,
                       s.A.second + (s.B.second - s.A.second) * i / n};
        if (std::any_of(tips.begin(), tips.end(),
                        [&p](TPoint t) { return std::hypot(p.first - t.first, p.second - t.second) < 1; }))
          continue;
        for (const TSeg& a : axes)
          if (const double d = Distance(p, a); d < nearest) nearest = d, at = p;
      }
    }
    if (nearest < 0.8)
      faults.push_back("a sign's stroke " + std::to_string(nearest) + " from an axis at " + At(at));
  }
  return faults;
}

// The tips of a sheet's roughness signs: where a sign's first two strokes meet.
inline std::vector<TPoint> SignTips(const txhost::SvgLayout& layout)
{
  std::vector<TPoint> tips;
  const auto& lines = layout.Lines;
  for (std::size_t k = 0; k + 1 < lines.size(); ++k) {
    const txhost::SvgPolyline &a = lines[k], &b = lines[k + 1];
    if (a.Kind != "rough" || b.Kind != "rough" || a.Points.empty() || b.Points.empty() ||
        a.Points[0] != b.Points[0])
      continue;
    tips.push_back(a.Points[0]);
    ++k;
  }
  return tips;
}

// No roughness sign's tip stands under a dimension's value: the value would read as standing on the sign.
// Values are grown by 1.5 mm, the least gap a draftsman leaves between a value and a sign.
inline std::vector<std::string> SignsUnderValues(const txhost::SvgLayout& layout)
{
  std::vector<std::string> faults;
  const auto& lines = layout.Lines;
  for (std::size_t k = 0; k + 1 < lines.size(); ++k) {
    const txhost::SvgPolyline &a = lines[k], &b = lines[k + 1];
    if (a.Kind != "rough" || b.Kind != "rough" || a.Points.size() != 2 || b.Points.empty() ||
        a.Points[0] != b.Points[0])
      continue;
    const TPoint tip = a.Points[0];
    for (const txhost::SvgLabel& t : layout.Labels) {
      if (t.Role != "dimension") continue;
      // Grown along its own length and height.
      const double lx = t.X[1] - t.X[0], ly = t.Y[1] - t.Y[0], hx = t.X[3] - t.X[0], hy = t.Y[3] - t.Y[0];
      const double ln = std::max(std::hypot(lx, ly), 1e-9), hn = std::max(std::hypot(hx, hy), 1e-9);
      double qx[4], qy[4];
      for (int i = 0; i < 4; ++i) {
        const double a = i == 1 || i == 2 ? 1.5 : -1.5, h = i >= 2 ? 1.5 : -1.5;
        qx[i] = t.X[i] + a * lx / ln + h * hx / hn, qy[i] = t.Y[i] + a * ly / ln + h * hy / hn;
      }
      if (Crosses(qx, qy, {tip, tip})) faults.push_back("a sign's tip at " + At(tip) + " under " + Named(t));
    }
    ++k;
  }
  return faults;
}

// No text of the sheet's drawing (a dimension's value, a sign's value, a title, a note) is crossed by a
// line: an outline, an axis, a hatch's boundary, an extension or dimension line, a leader or a sign.
// Texts are shrunk by 0.2 mm so that a line touching a text passes.
inline std::vector<std::string> TextsCrossed(const txhost::SvgLayout& layout)
{
  std::vector<std::string> faults;
  for (const txhost::SvgLabel& t : layout.Labels) {
    if (t.Role == "view-name" || t.Role == "sheet" || t.Role == "requirements" || t.Role == "corner")
      continue;
    const double cx = (t.X[0] + t.X[2]) / 2, cy = (t.Y[0] + t.Y[2]) / 2;
    double qx[4], qy[4];
    for (int k = 0; k < 4; ++k) {
      const double dx = t.X[k] - cx, dy = t.Y[k] - cy, n = std::hypot(dx, dy),
                   f = n > 0.2 ? (n - 0.2) / n : 0;
      qx[k] = cx + dx * f, qy[k] = cy + dy * f;
    }
    for (const txhost::SvgPolyline& l : layout.Lines) {
      if (l.Kind == "curve" && (l.Style == txapi::txCSConstruction || l.Style < 0)) continue;
      const auto segs = Segments(l);
      const auto hit =
          std::find_if(segs.begin(), segs.end(), [&](const TSeg& s) { return Crosses(qx, qy, s); });
      if (hit == segs.end()) continue;
      faults.push_back(Named(t) + " crossed by a line (" + l.Kind + " " + std::to_string(l.Style) +
                       ") from " + At(hit->A) + " to " + At(hit->B));
      break;
    }
  }
  return faults;
}

// No dimension line lies along a main outline: a linear one parallel to it, nearer than 2 mm, over more
// than a millimetre of its length; an angle's arc running along it (its chords' middles within 2 mm of
// the outline, square to it, the chords turned less than 6 degrees off it) over more than a millimetre.
inline std::vector<std::string> DimensionLinesOnOutlines(const txhost::SvgLayout& layout)
{
  const std::vector<TSeg> outlines = OutlineSegments(layout);
  std::vector<std::string> faults;
  for (const txhost::SvgPolyline& l : layout.Lines) {
    if (l.Kind != "dimension-arc") continue;
    double along = 0;
    const TSeg* first = nullptr;
    for (const TSeg& c : Segments(l)) {
      const TPoint m{(c.A.first + c.B.first) / 2, (c.A.second + c.B.second) / 2};
      const double ux = c.B.first - c.A.first, uy = c.B.second - c.A.second;
      // Alongside the outline: the chord's middle falls square on it, not beyond its end.
      const auto on = std::find_if(outlines.begin(), outlines.end(), [&](const TSeg& o) {
        const double ox = o.B.first - o.A.first, oy = o.B.second - o.A.second, l2 = ox * ox + oy * oy;
        const double t = l2 > 0 ? ((m.first - o.A.first) * ox + (m.second - o.A.second) * oy) / l2 : -1;
        return t >= 0 && t <= 1 && Distance(m, o) < 2 && Sine(ox, oy, ux, uy) < 0.1;
      });
      if (on == outlines.end()) continue;
      along += std::hypot(ux, uy);
      if (first == nullptr) first = &*on;
    }
    if (along > 1)
      faults.push_back("an angle's arc from " + At(l.Points.front()) + " to " + At(l.Points.back()) +
                       " along " + std::to_string(along) + " of the outline through " + At(first->A));
  }
  for (const txhost::SvgPolyline& l : layout.Lines) {
    if (l.Kind != "dimension-line" || l.Points.size() != 2) continue;
    const TSeg d{l.Points[0], l.Points[1]};
    const double ux = d.B.first - d.A.first, uy = d.B.second - d.A.second, len = std::hypot(ux, uy);
    if (!(len > 0)) continue;
    for (const TSeg& o : outlines) {
      if (Sine(o.B.first - o.A.first, o.B.second - o.A.second, ux, uy) > 0.01) continue;
      const double off = std::fabs((o.A.first - d.A.first) * -uy + (o.A.second - d.A.second) * ux) / len;
      const double p = ((o.A.first - d.A.first) * ux + (o.A.second - d.A.second) * uy) / len,
                   q = ((o.B.first - d.A.first) * ux + (o.B.second - d.A.second) * uy) / len;
      const double common = std::min(len, std::max(p, q)) - std::max(0.0, std::min(p, q));
      if (off < 2 && common > 1) {
        faults.push_back("a dimension line from " + At(d.A) + " to " + At(d.B) + " " + std::to_string(off) +
                         " from the outline from " + At(o.A) + " to " + At(o.B));
        break;
      }
    }
  }
  return faults;
}

// The views of a sheet: the boxes of its main outlines and hatches, merged while they meet.
struct TBox
{
  double X1, Y1, X2, Y2;
  bool Meets(const TBox& b, double gap) const
  {
    return X1 <= b.X2 + gap && b.X1 <= X2 + gap && Y1 <= b.Y2 + gap && b.Y1 <= Y2 + gap;
  }
  bool Holds(TPoint p, double gap) const
  {
    return p.first >= X1 - gap && p.first <= X2 + gap && p.second >= Y1 - gap && p.second <= Y2 + gap;
  }
};

inline std::vector<TBox> Views(const txhost::SvgLayout& layout)
{
  std::vector<TBox> boxes;
  for (const txhost::SvgPolyline& l : layout.Lines) {
    if (!(MainLine(l) || l.Kind == "hatch" || (l.Kind == "curve" && l.Style == txapi::txCSBrokenLine)) ||
        l.Points.empty())
      continue;
    TBox b{1e300, 1e300, -1e300, -1e300};
    for (const auto& [x, y] : l.Points)
      b = {std::min(b.X1, x), std::min(b.Y1, y), std::max(b.X2, x), std::max(b.Y2, y)};
    boxes.push_back(b);
  }
  // Each box swallows every box it meets, again while it grows.
  std::vector<TBox> views;
  for (const TBox& b : boxes) {
    TBox v = b;
    for (bool grew = true; grew;) {
      grew = false;
      for (std::size_t j = 0; j < views.size(); ++j)
        if (v.Meets(views[j], 0.01)) {
          v = {std::min(v.X1, views[j].X1), std::min(v.Y1, views[j].Y1), std::max(v.X2, views[j].X2),
               std::max(v.Y2, views[j].Y2)};
          views.erase(views.begin() + std::ptrdiff_t(j));
          grew = true;
          break;
        }
    }
    views.push_back(v);
  }
  return views;
}

// No extension or dimension line runs through a view other than the one it measures: the view holding
// an extension line's start, and for a dimension line the views its extension lines start in.
inline std::vector<std::string> LinesThroughOtherViews(const txhost::SvgLayout& layout)
{
  const std::vector<TBox> views = Views(layout);
  std::vector<std::string> faults;
  std::vector<std::size_t> own;
  auto through = [&](const TSeg& s, const std::vector<std::size_t>& mine) -> int {
    for (std::size_t v = 0; v < views.size(); ++v) {
      if (std::find(mine.begin(), mine.end(), v) != mine.end()) continue;
      const TBox& b = views[v];
      const double qx[4] = {b.X1, b.X2, b.X2, b.X1}, qy[4] = {b.Y1, b.Y1, b.Y2, b.Y2};
      if (Crosses(qx, qy, s)) return int(v);
    }
    return -1;
  };
  // Each view's reach: its outlines and its extension lines with the dimension lines they carry.
  std::vector<TBox> reach = views;
  for (const txhost::SvgPolyline& l : layout.Lines) {
    if (l.Kind == "extension" && l.Points.size() == 2) {
      own.clear();
      for (std::size_t v = 0; v < views.size(); ++v)
        if (views[v].Holds(l.Points[0], 0.01)) own.push_back(v);
      if (own.size() == 1)
        for (const auto& [x, y] : l.Points) {
          TBox& r = reach[own[0]];
          r = {std::min(r.X1, x), std::min(r.Y1, y), std::max(r.X2, x), std::max(r.Y2, y)};
        }
      if (const int v = through({l.Points[0], l.Points[1]}, own); v >= 0)
        faults.push_back("an extension line from " + At(l.Points[0]) + " to " + At(l.Points[1]) +
                         " through the view from " +
                         At({views[std::size_t(v)].X1, views[std::size_t(v)].Y1}) + " to " +
                         At({views[std::size_t(v)].X2, views[std::size_t(v)].Y2}));
    }
  }
  // No view stands among another view's sizes.
  for (std::size_t v = 0; v < views.size(); ++v)
    for (std::size_t w = 0; w < views.size(); ++w)
      if (v != w && reach[v].Meets(views[w], -0.5))
        faults.push_back("the view from " + At({views[w].X1, views[w].Y1}) + " to " +
                         At({views[w].X2, views[w].Y2}) + " among the sizes of the view from " +
                         At({views[v].X1, views[v].Y1}) + " to " + At({views[v].X2, views[v].Y2}));
  return faults;
}

// No angle is given twice: no two angles' arcs about one vertex between the same two rays, whichever
// their radii.
inline std::vector<std::string> AnglesTwice(const txhost::SvgLayout& layout)
{
  struct TRays
  {
    double X, Y, A, B;
  };
  std::vector<TRays> seen;
  std::vector<std::string> faults;
  const auto same = [](double a, double b) { return std::fabs(std::remainder(a - b, 360.0)) < 0.5; };
  for (const txhost::SvgPolyline& l : layout.Lines) {
    if (l.Kind != "dimension-arc" || l.Points.size() < 2 || !(l.R > 0)) continue;
    const auto ray = [&l](TPoint p) {
      return std::atan2(p.second - l.CY, p.first - l.CX) * 180 / 3.14159265358979;
    };
    const TRays r{l.CX, l.CY, ray(l.Points.front()), ray(l.Points.back())};
    for (const TRays& o : seen)
      if (std::hypot(o.X - r.X, o.Y - r.Y) < 0.01 &&
          ((same(o.A, r.A) && same(o.B, r.B)) || (same(o.A, r.B) && same(o.B, r.A)))) {
        faults.push_back("an angle twice about " + At({r.X, r.Y}) + " between the rays at " +
                         std::to_string(r.A) + " and " + std::to_string(r.B) + " degrees");
        break;
      }
    seen.push_back(r);
  }
  return faults;
}

// Every angle's value stands at its arc, as it is read with it: its box within 4 mm of the arc's nearest
// point (on it, or just beyond it), however large the view or detail the angle is drawn in.
inline std::vector<std::string> AngleValuesOffTheirArcs(const txhost::SvgLayout& layout)
{
  constexpr double Near = 4;
  std::vector<std::string> faults;
  for (const txhost::SvgPolyline& arc : layout.Lines) {
    if (arc.Kind != "dimension-arc" || arc.Symbol < 0 || arc.Points.size() < 2) continue;
    for (const txhost::SvgLabel& t : layout.Labels) {
      if (t.Symbol != arc.Symbol) continue;
      double gap = 1e300;
      for (const TSeg& s : Segments(arc)) {
        if (Crosses(t.X, t.Y, s)) gap = 0;
        for (int k = 0; k < 4; ++k) {
          const TSeg edge{{t.X[k], t.Y[k]}, {t.X[(k + 1) % 4], t.Y[(k + 1) % 4]}};
          gap = std::min({gap, Distance({t.X[k], t.Y[k]}, s), Distance(s.A, edge), Distance(s.B, edge)});
        }
      }
      if (gap > Near)
        faults.push_back("an angle's value " + Named(t) + " " + std::to_string(gap) + " from its arc about " +
                         At({arc.CX, arc.CY}));
    }
  }
  return faults;
}

// No view's drawn lines (outlines, hatching, a detail's boundary) enter the title block (185 x 55 in the
// frame's lower right corner) or leave the frame (a 20 mm binding margin on the left, 5 mm elsewhere).
inline std::vector<std::string> ViewsOnTitleBlock(const txhost::SvgLayout& layout)
{
  std::vector<std::string> faults;
  const double W = layout.SheetWidth, H = layout.SheetHeight;
  if (!(W > 0 && H > 0)) return faults;
  const double bx[4] = {W - 190, W - 5, W - 5, W - 190}, by[4] = {5, 5, 60, 60};
  const TBox frame{20, 5, W - 5, H - 5};
  for (const txhost::SvgPolyline& l : layout.Lines) {
    if (!(MainLine(l) || l.Kind == "hatch" || (l.Kind == "curve" && l.Style == txapi::txCSBrokenLine)))
      continue;
    for (const TSeg& s : Segments(l)) {
      const bool block = Crosses(bx, by, s), out = !frame.Holds(s.A, 0.01) || !frame.Holds(s.B, 0.01);
      if (!block && !out) continue;
      faults.push_back(l.Kind + " " + std::to_string(l.Style) + " from " + At(s.A) + " to " + At(s.B) +
                       (block ? " in the title block" : " off the frame"));
      break;
    }
  }
  // Nor may what the views carry (sizes, signs, leaders, cut strokes and their texts) stand in the title
  // block, a tenth of a millimetre in from its edges, over its cells.
  const double ix[4] = {bx[0] + 0.1, bx[1] - 0.1, bx[2] - 0.1, bx[3] + 0.1},
               iy[4] = {by[0] + 0.1, by[1] + 0.1, by[2] - 0.1, by[3] - 0.1};
  for (const txhost::SvgPolyline& l : layout.Lines) {
    const bool carried = l.Kind == "extension" || l.Kind == "dimension-line" || l.Kind == "dimension-arc" ||
                         l.Kind == "leader" || l.Kind == "cut" || (l.Kind == "rough" && l.Style != 1);
    if (!carried) continue;
    for (const TSeg& s : Segments(l))
      if (Crosses(ix, iy, s)) {
        faults.push_back(l.Kind + " from " + At(s.A) + " to " + At(s.B) + " in the title block");
        break;
      }
  }
  for (const txhost::SvgLabel& t : layout.Labels) {
    if (t.Role == "sheet" || t.Role == "requirements" || t.Role == "view-name" || t.Role == "corner")
      continue;
    bool on = false;
    for (int k = 0; k < 4 && !on; ++k)
      on = Crosses(ix, iy, {{t.X[k], t.Y[k]}, {t.X[(k + 1) % 4], t.Y[(k + 1) % 4]}});
    if (on)
      faults.push_back(t.Role + " \"" + t.Text + "\" at " + At({t.X[0], t.Y[0]}) + " in the title block");
  }
  return faults;
}

// Every diameter's and radius's arrow points at the feature its value sizes: its tip on a drawn arc or
// circle of the part (a visible curve other than a construction line: a centre-line circle carries the
// holes about it) whose radius is the one the value names, the arrow running along that arc's radius.
inline std::vector<std::string> SizesOffTheirArcs(const txhost::SvgLayout& layout)
{
  constexpr double Near = 0.05, Pi = 3.14159265358979;
  std::vector<const txhost::SvgPolyline*> arcs;
  for (const txhost::SvgPolyline& l : layout.Lines)
    if (l.Kind == "curve" && l.R > 0 && l.Style > 0 && l.Style != txapi::txCSConstruction) arcs.push_back(&l);
  std::vector<std::string> faults;
  for (const txhost::SvgCircleSize& c : layout.CircleSizes)
    for (const txhost::SvgArrow& a : c.Arrows) {
      const TPoint tip{a.X, a.Y};
      // How far the tip lies off the nearest arc of the named radius, and whether the arrow runs along it.
      double off = 1e300;
      bool radial = false;
      for (const txhost::SvgPolyline* l : arcs) {
        if (std::fabs(l->R - c.Radius) > Near) continue;
        // The arc's chords sag from it by as much as the 2.5 degrees they span at most.
        double d = 1e300;
        for (const TSeg& s : Segments(*l))
          d = std::min(d, Distance(tip, s));
        d = std::max(std::fabs(std::hypot(a.X - l->CX, a.Y - l->CY) - l->R),
                     d - l->R * (1 - std::cos(Pi / 72)));
        if (d > Near) {
          off = std::min(off, d);
          continue;
        }
        off = 0;
        radial = radial || Sine(a.Dx, a.Dy, a.X - l->CX, a.Y - l->CY) < 0.05;
      }
      if (off > 0)
        faults.push_back("\"" + c.Text + "\": its arrow at " + At(tip) + " on no arc of radius " +
                         std::to_string(c.Radius) +
                         (off < 1e300 ? ", " + std::to_string(off) + " off the nearest" : std::string()));
      else if (!radial)
        faults.push_back("\"" + c.Text + "\": its arrow at " + At(tip) +
                         " across its arc, not along its radius");
    }
  return faults;
}

// How far p lies from the line through the segment s.
inline double OffLine(TPoint p, const TSeg& s)
{
  const double dx = s.B.first - s.A.first, dy = s.B.second - s.A.second, l = std::hypot(dx, dy);
  return l > 0 ? std::fabs((p.first - s.A.first) * dy - (p.second - s.A.second) * dx) / l
               : std::hypot(p.first - s.A.first, p.second - s.A.second);
}

// Where the segments s and t cross (each within its ends), if they do and are not parallel.
inline bool Meet(const TSeg& s, const TSeg& t, TPoint& at)
{
  const double rx = s.B.first - s.A.first, ry = s.B.second - s.A.second;
  const double qx = t.B.first - t.A.first, qy = t.B.second - t.A.second;
  const double den = rx * qy - ry * qx;
  if (std::fabs(den) < 1e-12) return false;
  const double wx = t.A.first - s.A.first, wy = t.A.second - s.A.second;
  const double u = (wx * qy - wy * qx) / den, v = (wx * ry - wy * rx) / den;
  if (u < 0 || u > 1 || v < 0 || v > 1) return false;
  at = {s.A.first + u * rx, s.A.second + u * ry};
  return true;
}

// An angle's rays run from its vertex (or from the points it measures on them) away from the part: neither
// crosses a visible outline. The edges it measures are the outline's segments from the ray's start; a ray
// may run along them (and along any outline it lies on) and touch the outline where they end or where the
// ray itself ends, nowhere else.
inline std::vector<std::string> AngleRaysThroughOutlines(const txhost::SvgLayout& layout)
{
  constexpr double Near = 0.05;
  const std::vector<TSeg> outline = OutlineSegments(layout);
  std::vector<std::string> faults;
  for (std::size_t i = 0; i < layout.Lines.size(); ++i) {
    if (layout.Lines[i].Kind != "dimension-arc") continue;
    // The writer follows an angle's arc with its two rays, each from the vertex or its measured point.
    for (std::size_t j = i + 1, rays = 0; j < layout.Lines.size() && rays < 2; ++j) {
      const txhost::SvgPolyline& l = layout.Lines[j];
      if (l.Kind != "extension" || l.Points.size() != 2) continue;
      ++rays;
      const TSeg ray{l.Points[0], l.Points[1]};
      std::vector<TSeg> measured;
      bool onEdge = false;
      for (const TSeg& s : outline) {
        const bool from = std::hypot(s.A.first - ray.A.first, s.A.second - ray.A.second) < Near ||
                          std::hypot(s.B.first - ray.A.first, s.B.second - ray.A.second) < Near;
        onEdge = onEdge || Distance(ray.A, s) < Near;
        if (from || (OffLine(s.A, ray) < Near && OffLine(s.B, ray) < Near)) measured.push_back(s);
      }
      // A ray starting off every outline starts at a centre (the angle sets directions about it, of holes
      // on a circle, its rays the axes it measures, which run through the part by right) or where the
      // edges it measures would meet past a rounding.
      if (!onEdge) continue;
      for (const TSeg& s : outline) {
        TPoint at;
        // Its far end may stand on an outline: that touches it, crossing nothing.
        if (!Meet(ray, s, at) || std::hypot(at.first - ray.A.first, at.second - ray.A.second) < Near ||
            std::hypot(at.first - ray.B.first, at.second - ray.B.second) < Near)
          continue;
        if (std::any_of(measured.begin(), measured.end(),
                        [&](const TSeg& m) { return Distance(at, m) < Near; }))
          continue;
        faults.push_back("an angle's ray from " + At(ray.A) + " to " + At(ray.B) +
                         " through the outline at " + At(at));
        break;
      }
    }
  }
  return faults;
}

// Texts as a Russian drawing writes them: a decimal comma, no blank padding, no leading or trailing
// blank, no punctuation run together, no reference mark in a requirement where no size carries one, "Длину"
// spelled right.
inline std::vector<std::string> TextsMiswritten(const txhost::SvgLayout& layout)
{
  std::vector<std::string> faults;
  bool starred = false;
  for (const txhost::SvgLabel& t : layout.Labels)
    starred = starred || (t.Role == "dimension" && t.Text.find('*') != std::string::npos);
  for (const txhost::SvgLabel& t : layout.Labels) {
    if (t.Role == "view-name") continue;
    const std::string& s = t.Text;
    for (std::size_t i = 1; i + 1 < s.size(); ++i)
      if (s[i] == '.' && std::isdigit(static_cast<unsigned char>(s[i - 1])) &&
          std::isdigit(static_cast<unsigned char>(s[i + 1]))) {
        faults.push_back("a decimal point: " + Named(t));
        break;
      }
    if (s.find("  ") != std::string::npos || (!s.empty() && (s.front() == ' ' || s.back() == ' ')))
      faults.push_back("blank padding: " + Named(t));
    if (s.find("\u0414\u043B\u0438\u043D\u043D\u0443") != std::string::npos)
      faults.push_back("misspelt: " + Named(t));
    // A full stop or a comma run into the next mark: a clause ended where the text goes on.
    for (const char* run : {".;", ".,", ",;", ";,", ",.", ";."})
      if (s.find(run) != std::string::npos) {
        faults.push_back("punctuation run together: " + Named(t));
        break;
      }
    if (t.Role == "requirements" && !starred && s.find('*') != std::string::npos)
      faults.push_back("a reference mark no size carries: " + Named(t));
  }
  // A size marked with a star has a requirement saying what the star means.
  const bool told = std::any_of(layout.Labels.begin(), layout.Labels.end(), [](const txhost::SvgLabel& t) {
    return t.Role == "requirements" && t.Text.find('*') != std::string::npos;
  });
  if (starred && !told)
    for (const txhost::SvgLabel& t : layout.Labels)
      if (t.Role == "dimension" && t.Text.find('*') != std::string::npos)
        faults.push_back("a star no requirement explains: " + Named(t));
  return faults;
}

// The views of a sheet with the two halves of a section taken as one: a bore parts their outlines, but
// the part across is the whole diameter. Halves are boxes the same along an axis drawn between them, as
// far from it on either side.
inline std::vector<TBox> WholeViews(const txhost::SvgLayout& layout)
{
  std::vector<TBox> views = Views(layout);
  constexpr double Near = 0.05;
  for (const txhost::SvgPolyline& l : layout.Lines) {
    if (l.Kind != "curve" || l.Style != txapi::txCSAxial || l.Points.size() != 2) continue;
    const auto [x1, y1] = l.Points[0];
    const auto [x2, y2] = l.Points[1];
    const bool alongX = std::fabs(y2 - y1) < 1e-9, alongY = std::fabs(x2 - x1) < 1e-9;
    if (!alongX && !alongY) continue;
    const auto halves = [&](const TBox& a, const TBox& b) {
      return alongX ? std::fabs(a.X1 - b.X1) < Near && std::fabs(a.X2 - b.X2) < Near && a.Y1 >= y1 - Near &&
                          b.Y2 <= y1 + Near && std::fabs((a.Y1 - y1) - (y1 - b.Y2)) < Near &&
                          std::fabs((a.Y2 - y1) - (y1 - b.Y1)) < Near
                    : std::fabs(a.Y1 - b.Y1) < Near && std::fabs(a.Y2 - b.Y2) < Near && a.X1 >= x1 - Near &&
                          b.X2 <= x1 + Near && std::fabs((a.X1 - x1) - (x1 - b.X2)) < Near &&
                          std::fabs((a.X2 - x1) - (x1 - b.X1)) < Near;
    };
    for (bool merged = true; merged;) {
      merged = false;
      for (std::size_t i = 0; i < views.size() && !merged; ++i)
        for (std::size_t j = 0; j < views.size() && !merged; ++j) {
          if (i == j || !halves(views[i], views[j])) continue;
          const TBox &a = views[i], &b = views[j];
          views[i] = {std::min(a.X1, b.X1), std::min(a.Y1, b.Y1), std::max(a.X2, b.X2), std::max(a.Y2, b.Y2)};
          views.erase(views.begin() + std::ptrdiff_t(j));
          merged = true;
        }
    }
  }
  return views;
}

// No extension line runs farther over its view than the view is across it: a size whose extension lines
// run along the part, past the steps and holes between, stands where it is measured instead.
inline std::vector<std::string> ExtensionLinesAlongTheirViews(const txhost::SvgLayout& layout)
{
  const std::vector<TBox> views = WholeViews(layout);
  std::vector<std::string> faults;
  // An angle's rays start at its arc's centre; they are the angle's, not a size's.
  std::vector<TPoint> vertices;
  for (const txhost::SvgPolyline& l : layout.Lines)
    if (l.Kind == "dimension-arc") vertices.emplace_back(l.CX, l.CY);
  for (const txhost::SvgPolyline& l : layout.Lines) {
    if (l.Kind != "extension" || l.Points.size() != 2) continue;
    if (std::any_of(vertices.begin(), vertices.end(), [&l](TPoint c) {
          return std::hypot(c.first - l.Points[0].first, c.second - l.Points[0].second) < 0.01;
        }))
      continue;
    const auto [x1, y1] = l.Points[0];
    const auto [x2, y2] = l.Points[1];
    for (const TBox& v : views) {
      if (!v.Holds(l.Points[0], 0.01)) continue;
      // The part of the line over the view, and the view's size across the line.
      const double len = std::hypot(x2 - x1, y2 - y1);
      if (!(len > 0)) continue;
      double t0 = 0, t1 = 1;
      for (const auto& [p, d, lo, hi] :
           {std::array{x1, x2 - x1, v.X1, v.X2}, std::array{y1, y2 - y1, v.Y1, v.Y2}}) {
        if (std::fabs(d) < 1e-12) continue;
        const double a = (lo - p) / d, b = (hi - p) / d;
        t0 = std::max(t0, std::min(a, b)), t1 = std::min(t1, std::max(a, b));
      }
      const double over = std::max(0.0, t1 - t0) * len;
      const double across = std::fabs(x2 - x1) >= std::fabs(y2 - y1) ? v.Y2 - v.Y1 : v.X2 - v.X1;
      if (over > across + 0.5)
        faults.push_back("an extension line from " + At(l.Points[0]) + " to " + At(l.Points[1]) + " runs " +
                         std::to_string(over) + " over a view " + std::to_string(across) + " across");
    }
  }
  return faults;
}

// The lines a dimension draws on its own, by the dimension (SvgPolyline::Symbol): its dimension lines, arcs
// and leaders, and an angle's rays (the extension lines of a dimension with an arc).
struct TDimensionLines
{
  std::vector<TSeg> Own;        // lines, arcs, leaders, rays
  std::vector<TSeg> Extensions; // a linear dimension's extension lines
  std::vector<TPoint> Ends;     // where each of its lines ends
  bool Angle = false;
};

inline std::vector<TDimensionLines> DimensionLinesOf(const txhost::SvgLayout& layout)
{
  std::vector<TDimensionLines> by;
  for (const txhost::SvgPolyline& l : layout.Lines) {
    if (l.Symbol < 0) continue;
    if (by.size() <= std::size_t(l.Symbol)) by.resize(std::size_t(l.Symbol) + 1);
    by[std::size_t(l.Symbol)].Angle = by[std::size_t(l.Symbol)].Angle || l.Kind == "dimension-arc";
  }
  for (const txhost::SvgPolyline& l : layout.Lines) {
    if (l.Symbol < 0) continue;
    TDimensionLines& d = by[std::size_t(l.Symbol)];
    const bool own = l.Kind == "dimension-line" || l.Kind == "dimension-arc" || l.Kind == "leader" ||
                     (l.Kind == "extension" && d.Angle);
    for (const TSeg& s : Segments(l))
      (own ? d.Own : d.Extensions).push_back(s);
    if (!l.Points.empty()) d.Ends.insert(d.Ends.end(), {l.Points.front(), l.Points.back()});
  }
  return by;
}

// Whether s and t cross away from the ends of the lines they are pieces of (each more than 0.2 mm from the
// crossing): a line ending on another (an arrow on an extension line, a leader on its shelf) touches it.
inline bool CrossAcross(const TSeg& s, const TSeg& t, const std::vector<TPoint>& ends, TPoint& at)
{
  if (!Meet(s, t, at)) return false;
  return std::none_of(ends.begin(), ends.end(), [&at](const TPoint& e) {
    return std::hypot(e.first - at.first, e.second - at.second) < 0.2;
  });
}

// No dimension line, angle's arc or ray, or leader crosses another dimension's line, arc, ray, leader or
// extension line, nor a hole (a whole circle of the part) whose centre it does not run through: each
// dimension stands clear of the others and of the features it does not size.
inline std::vector<std::string> DimensionLinesCrossing(const txhost::SvgLayout& layout)
{
  const std::vector<TDimensionLines> dims = DimensionLinesOf(layout);
  // A hole: a whole circle inside a larger one of the part, off its centre (a leader leaves the part
  // across its outer circle, and a diameter's line runs through the bores about its centre).
  std::vector<const txhost::SvgPolyline*> circles, holes;
  for (const txhost::SvgPolyline& l : layout.Lines)
    if (MainLine(l) && l.R > 0 && l.Points.size() > 8 &&
        std::hypot(l.Points.front().first - l.Points.back().first,
                   l.Points.front().second - l.Points.back().second) < 1e-6)
      circles.push_back(&l);
  for (const txhost::SvgPolyline* c : circles)
    if (std::any_of(circles.begin(), circles.end(), [c](const txhost::SvgPolyline* o) {
          const double d = std::hypot(o->CX - c->CX, o->CY - c->CY);
          return d > 0.05 && d + c->R < o->R;
        }))
      holes.push_back(c);
  std::vector<std::string> faults;
  for (std::size_t i = 0; i < dims.size(); ++i) {
    bool found = false;
    for (const TSeg& s : dims[i].Own) {
      for (std::size_t j = 0; j < dims.size() && !found; ++j) {
        if (j == i) continue;
        for (const auto* others : {&dims[j].Own, &dims[j].Extensions})
          for (const TSeg& t : *others) {
            TPoint at;
            // A line run on past its arrow under its value crosses its own extension line there, which
            // another dimension from the same face shares.
            if (found || !CrossAcross(s, t, dims[i].Ends, at) || !CrossAcross(s, t, dims[j].Ends, at) ||
                std::any_of(dims[i].Extensions.begin(), dims[i].Extensions.end(),
                            [&at](const TSeg& e) { return Distance(at, e) < 0.05; }))
              continue;
            faults.push_back("a dimension's line from " + At(s.A) + " to " + At(s.B) + " across " +
                             (others == &dims[j].Own ? "another's line" : "another's extension line") +
                             " at " + At(at));
            found = true;
          }
      }
      for (const txhost::SvgPolyline* h : holes) {
        if (found || OffLine({h->CX, h->CY}, s) < 0.05) continue;
        for (const TSeg& t : Segments(*h)) {
          TPoint at;
          if (!CrossAcross(s, t, dims[i].Ends, at)) continue;
          faults.push_back("a dimension's line from " + At(s.A) + " to " + At(s.B) +
                           " across the hole about " + At({h->CX, h->CY}) + " at " + At(at));
          found = true;
          break;
        }
      }
      if (found) break;
    }
  }
  return faults;
}

// Every linear dimension stands within reach of what it sizes: from the part's outline over its span
// (or the nearer point it measures, when that lies farther out) to its line, no gap wider than Reach
// without another dimension's line parallel to it over its span. A size carried far off past empty paper
// is read against the wrong feature.
inline std::vector<std::string> DimensionsOutOfReach(const txhost::SvgLayout& layout, double Reach = 30)
{
  const std::vector<TDimensionLines> dims = DimensionLinesOf(layout);
  const std::vector<TSeg> outline = OutlineSegments(layout);
  const std::vector<TBox> views = WholeViews(layout);
  std::vector<std::string> faults;
  for (std::size_t i = 0; i < dims.size(); ++i) {
    const TDimensionLines& d = dims[i];
    if (d.Angle || d.Extensions.size() != 2) continue;
    const auto line =
        std::find_if(layout.Lines.begin(), layout.Lines.end(), [i](const txhost::SvgPolyline& l) {
          return l.Symbol == int(i) && l.Kind == "dimension-line" && l.Points.size() == 2;
        });
    if (line == layout.Lines.end()) continue;
    const TSeg dl{line->Points[0], line->Points[1]};
    // Along the line (u) and from the part towards it (n).
    const double len = std::hypot(dl.B.first - dl.A.first, dl.B.second - dl.A.second);
    if (!(len > 0)) continue;
    const double ux = (dl.B.first - dl.A.first) / len, uy = (dl.B.second - dl.A.second) / len;
    const TPoint p1 = d.Extensions[0].A, p2 = d.Extensions[1].A;
    const auto u = [&](TPoint p) { return p.first * ux + p.second * uy; };
    double nx = -uy, ny = ux;
    const auto n = [&](TPoint p) { return p.first * nx + p.second * ny; };
    if (n(dl.A) < (n(p1) + n(p2)) / 2) nx = -nx, ny = -ny;
    const double level = n(dl.A), a = std::min(u(p1), u(p2)), b = std::max(u(p1), u(p2));
    // The view of the points measured, and how far its outline reaches towards the line over the span.
    // A view's box is its outlines' chords: a diameter measured at its circle's extreme point stands up to
    // a chord's sag (some hundredths) outside it.
    const auto view =
        std::find_if(views.begin(), views.end(), [&](const TBox& v) { return v.Holds(p1, 0.2); });
    double from = std::max(n(p1), n(p2));
    if (view != views.end())
      for (const TSeg& s : outline) {
        if (!view->Holds(s.A, 0.01) || !view->Holds(s.B, 0.01)) continue;
        const double sa = u(s.A), sb = u(s.B);
        if (std::max(sa, sb) < a - 1e-6 || std::min(sa, sb) > b + 1e-6) continue;
        // The segment clipped to the span, at its ends.
        const double lo = std::max(a, std::min(sa, sb)), hi = std::min(b, std::max(sa, sb));
        for (const double x : {lo, hi}) {
          const double k = std::fabs(sb - sa) > 1e-9 ? (x - sa) / (sb - sa) : 0;
          const TPoint q{s.A.first + k * (s.B.first - s.A.first), s.A.second + k * (s.B.second - s.A.second)};
          if (n(q) < level) from = std::max(from, n(q));
        }
      }
    std::vector<double> levels{from, level};
    for (std::size_t j = 0; j < dims.size(); ++j) {
      if (j == i) continue;
      for (const txhost::SvgPolyline& l : layout.Lines) {
        if (l.Symbol != int(j) || l.Kind != "dimension-line" || l.Points.size() != 2) continue;
        const TSeg o{l.Points[0], l.Points[1]};
        if (Sine(o.B.first - o.A.first, o.B.second - o.A.second, ux, uy) > 0.01) continue;
        // A line that ends on the span's extension line (a chain's neighbour) is a step towards it: its
        // end read back from the sheet's transforms lies some millionths either side of that line.
        if (std::max(u(o.A), u(o.B)) < a - 0.01 || std::min(u(o.A), u(o.B)) > b + 0.01) continue;
        if (n(o.A) > from && n(o.A) < level) levels.push_back(n(o.A));
      }
    }
    // A line asked at the reach itself is within it: its distance read back from the sheet's transforms
    // carries rounding some millionths either way.
    std::sort(levels.begin(), levels.end());
    for (std::size_t k = 0; k + 1 < levels.size(); ++k)
      if (levels[k + 1] - levels[k] > Reach + 1e-6) {
        faults.push_back("a dimension's line from " + At(dl.A) + " to " + At(dl.B) + " " +
                         std::to_string(level - from) + " off what it sizes, " +
                         std::to_string(levels[k + 1] - levels[k]) + " past any other");
        break;
      }
  }
  return faults;
}

// No section mark's thick stroke is crossed by a dimension's line, arc, leader or extension line: a stroke
// across a size reads as a line of the view.
inline std::vector<std::string> SectionStrokesCrossed(const txhost::SvgLayout& layout)
{
  const std::vector<TDimensionLines> dims = DimensionLinesOf(layout);
  std::vector<std::string> faults;
  for (const txhost::SvgPolyline& cut : layout.Lines) {
    if (cut.Kind != "cut") continue;
    bool found = false;
    for (const TSeg& s : Segments(cut))
      for (const TDimensionLines& d : dims)
        for (const auto* lines : {&d.Own, &d.Extensions})
          for (const TSeg& t : *lines) {
            TPoint at;
            if (found || !Meet(s, t, at)) continue;
            faults.push_back("a section mark's stroke from " + At(s.A) + " to " + At(s.B) + " across " +
                             (lines == &d.Own ? "a dimension's line" : "an extension line") + " at " +
                             At(at));
            found = true;
          }
  }
  return faults;
}

// Every sign's stroke that a line of a dimension (its own line, arc, leader or extension line) crosses. A
// sign stands with its tip on its surface, an extension line or a leader: a line through the tip is what it
// stands on, not a crossing.
inline std::vector<std::string> SignStrokesCrossed(const txhost::SvgLayout& layout)
{
  const std::vector<TDimensionLines> dims = DimensionLinesOf(layout);
  std::vector<std::vector<TSeg>> signs(dims.size());
  for (const txhost::SvgPolyline& l : layout.Lines)
    if (l.Kind == "rough" && l.Symbol >= 0)
      for (const TSeg& s : Segments(l))
        signs[std::size_t(l.Symbol)].push_back(s);
  std::vector<std::string> faults;
  for (std::size_t i = 0; i < signs.size(); ++i) {
    const std::vector<TSeg>& strokes = signs[i];
    if (strokes.empty()) continue;
    const TPoint tip = strokes.front().A;
    bool found = false;
    for (std::size_t j = 0; j < dims.size() && !found; ++j) {
      if (j == i || !signs[j].empty()) continue;
      for (const auto* lines : {&dims[j].Own, &dims[j].Extensions})
        for (const TSeg& t : *lines)
          for (const TSeg& s : strokes) {
            TPoint at;
            if (found || !Meet(s, t, at) || std::hypot(at.first - tip.first, at.second - tip.second) < 0.2)
              continue;
            faults.push_back("a sign's stroke from " + At(s.A) + " to " + At(s.B) + " crossed at " + At(at));
            found = true;
          }
    }
  }
  return faults;
}

// The signs' strokes crossed, and the values on their shelves crossed by a line (what TextsCrossed finds,
// for signs).
inline std::vector<std::string> SignsCrossed(const txhost::SvgLayout& layout)
{
  std::vector<std::string> faults = SignStrokesCrossed(layout);
  for (const std::string& f : TextsCrossed(layout))
    if (f.rfind("rough", 0) == 0) faults.push_back(f);
  return faults;
}

// An arrow's tip with the direction it points in, and the dimension it is of (-1 where the layout does not
// say: a diameter's or radius's arrows).
struct TArrowTip
{
  TPoint At;
  double Dx, Dy;
  int Symbol;
};

// The arrows' tips of a sheet's dimensions: an angle's at its arc's ends, a linear size's where its line
// meets its extension lines, a diameter's or radius's where the layout puts them.
inline std::vector<TArrowTip> ArrowTips(const txhost::SvgLayout& layout)
{
  std::vector<TArrowTip> tips;
  const std::vector<TDimensionLines> dims = DimensionLinesOf(layout);
  for (const txhost::SvgPolyline& l : layout.Lines) {
    if (l.Symbol < 0 || l.Points.size() < 2) continue;
    if (l.Kind == "dimension-arc") {
      const TPoint &a = l.Points.front(), &b = l.Points[1], &y = l.Points.back(),
                   &z = l.Points[l.Points.size() - 2];
      tips.push_back({a, a.first - b.first, a.second - b.second, l.Symbol});
      tips.push_back({y, y.first - z.first, y.second - z.second, l.Symbol});
    }
    if (l.Kind != "dimension-line" || l.Points.size() != 2) continue;
    const TDimensionLines& d = dims[std::size_t(l.Symbol)];
    if (d.Angle || d.Extensions.size() != 2) continue;
    const TPoint &a = l.Points[0], &b = l.Points[1];
    const double dx = b.first - a.first, dy = b.second - a.second, l2 = dx * dx + dy * dy;
    if (!(l2 > 0)) continue;
    for (const TSeg& e : d.Extensions) {
      const double t = ((e.A.first - a.first) * dx + (e.A.second - a.second) * dy) / l2;
      tips.push_back({{a.first + t * dx, a.second + t * dy}, dx, dy, l.Symbol});
    }
  }
  for (const txhost::SvgCircleSize& c : layout.CircleSizes)
    for (const txhost::SvgArrow& a : c.Arrows)
      tips.push_back({{a.X, a.Y}, a.Dx, a.Dy, -1});
  return tips;
}

// No dimension's line, arc or leader runs through another dimension's arrow tip: a line ending there, or
// running along the arrow (the arrow's own line), belongs to it.
inline std::vector<std::string> LinesThroughArrowTips(const txhost::SvgLayout& layout)
{
  const std::vector<TArrowTip> tips = ArrowTips(layout);
  const std::vector<TDimensionLines> dims = DimensionLinesOf(layout);
  std::vector<std::string> faults;
  for (const TArrowTip& tip : tips) {
    for (const txhost::SvgPolyline& l : layout.Lines) {
      const bool own = l.Kind == "dimension-line" || l.Kind == "dimension-arc" || l.Kind == "leader" ||
                       (l.Kind == "extension" && l.Symbol >= 0 && dims[std::size_t(l.Symbol)].Angle);
      if (!own || l.Symbol < 0 || l.Symbol == tip.Symbol || l.Points.size() < 2) continue;
      const auto ends = [&tip](const TPoint& p) {
        return std::hypot(p.first - tip.At.first, p.second - tip.At.second) < 0.5;
      };
      if (ends(l.Points.front()) || ends(l.Points.back())) continue;
      const auto through = std::find_if(l.Points.begin() + 1, l.Points.end(), [&](const TPoint& p) {
        const TSeg s{*(&p - 1), p};
        return Distance(tip.At, s) < 0.3 &&
               Sine(s.B.first - s.A.first, s.B.second - s.A.second, tip.Dx, tip.Dy) > 0.1;
      });
      if (through == l.Points.end()) continue;
      faults.push_back("a " + l.Kind + " from " + At(l.Points.front()) + " to " + At(l.Points.back()) +
                       " through an arrow's tip at " + At(tip.At));
      break;
    }
  }
  return faults;
}

// Every diameter's or radius's value stands within reach of the arc it sizes: no farther from the nearest
// of its arrows than Reach past the arc's radius (a diameter across its circle has its value at the centre).
// Its value is the nearest text that writes it (or its first line).
inline std::vector<std::string> ValuesFarFromTheirArcs(const txhost::SvgLayout& layout, double Reach = 30)
{
  std::vector<std::string> faults;
  for (const txhost::SvgCircleSize& c : layout.CircleSizes) {
    if (c.Arrows.empty()) continue;
    double gap = 1e300;
    const txhost::SvgLabel* value = nullptr;
    for (const txhost::SvgLabel& t : layout.Labels) {
      const bool writes = t.Role == "dimension" && !t.Text.empty() && c.Text.rfind(t.Text, 0) == 0 &&
                          (c.Text.size() == t.Text.size() || c.Text[t.Text.size()] == ' ' ||
                           c.Text[t.Text.size()] == '\n');
      if (!writes) continue;
      for (const txhost::SvgArrow& a : c.Arrows) {
        double d = Crosses(t.X, t.Y, {{a.X, a.Y}, {a.X, a.Y}}) ? 0 : 1e300;
        for (int k = 0; k < 4; ++k)
          d = std::min(d, Distance({a.X, a.Y}, {{t.X[k], t.Y[k]}, {t.X[(k + 1) % 4], t.Y[(k + 1) % 4]}}));
        if (d < gap) gap = d, value = &t;
      }
    }
    if (value != nullptr && gap > Reach + c.Radius)
      faults.push_back("\"" + value->Text + "\" at " + At({value->X[0], value->Y[0]}) + " " +
                       std::to_string(gap) + " from its arc's arrow");
  }
  return faults;
}

// Every radius's leader carries its value off the part: past its arrow, towards its value, its line crosses
// no outline (a rounding's value stands outside the part, a hollow's in the hollow). Circles about the
// centre it sizes from do not count: a leader runs on across its own arc into a hollow.
inline std::vector<std::string> LeadersThroughParts(const txhost::SvgLayout& layout)
{
  constexpr double Near = 0.3;
  std::vector<std::string> faults;
  for (const txhost::SvgCircleSize& c : layout.CircleSizes) {
    if (c.Arrows.size() != 1 || c.Text.rfind("R", 0) != 0) continue;
    const txhost::SvgArrow& tip = c.Arrows.front();
    // Its value: the nearest text that writes it; its leader: the one through its arrow's tip, along it.
    const txhost::SvgLabel* value = nullptr;
    double nearest = 1e300;
    for (const txhost::SvgLabel& t : layout.Labels)
      if (const double d = std::hypot(t.X[0] - tip.X, t.Y[0] - tip.Y);
          t.Role == "dimension" && !t.Text.empty() && c.Text.rfind(t.Text, 0) == 0 && d < nearest)
        nearest = d, value = &t;
    const auto leader =
        std::find_if(layout.Lines.begin(), layout.Lines.end(), [&tip](const txhost::SvgPolyline& l) {
          return l.Kind == "leader" && l.Points.size() == 2 &&
                 Distance({tip.X, tip.Y}, {l.Points[0], l.Points[1]}) < 0.05 &&
                 Sine(l.Points[1].first - l.Points[0].first, l.Points[1].second - l.Points[0].second, tip.Dx,
                      tip.Dy) < 0.01;
        });
    if (leader == layout.Lines.end() || value == nullptr) continue;
    // From the arrow to the leader's end its value stands at.
    const TPoint v{(value->X[0] + value->X[2]) / 2, (value->Y[0] + value->Y[2]) / 2};
    const auto far = [&v](TPoint p) { return std::hypot(p.first - v.first, p.second - v.second); };
    const TSeg past{{tip.X, tip.Y},
                    far(leader->Points[0]) < far(leader->Points[1]) ? leader->Points[0] : leader->Points[1]};
    // The centre of the arc the arrow stands on.
    TPoint centre{1e300, 1e300};
    for (const txhost::SvgPolyline& l : layout.Lines)
      if (MainLine(l) && l.R > 0 && std::fabs(l.R - c.Radius) < 0.05 &&
          std::fabs(std::hypot(tip.X - l.CX, tip.Y - l.CY) - l.R) < 0.05)
        centre = {l.CX, l.CY};
    int crossings = 0;
    TPoint first{};
    for (const txhost::SvgPolyline& l : layout.Lines) {
      if (!MainLine(l) || (l.R > 0 && std::hypot(l.CX - centre.first, l.CY - centre.second) < 0.05)) continue;
      for (const TSeg& s : Segments(l)) {
        TPoint at;
        if (!Meet(past, s, at) || std::hypot(at.first - tip.X, at.second - tip.Y) < Near) continue;
        if (crossings++ == 0) first = at;
      }
    }
    if (crossings > 0)
      faults.push_back("\"" + c.Text + "\": its leader from its arrow at " + At({tip.X, tip.Y}) +
                       " to its value crosses the part's outline " + std::to_string(crossings) +
                       " times, first at " + At(first));
  }
  return faults;
}

} // namespace stdtest::sheetlines
