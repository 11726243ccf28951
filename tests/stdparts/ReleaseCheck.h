// The checks a sheet is released by, read off its layout as the stand-in host draws it: every text, sign,
// dimension and line inside the frame, no text on another text, on a roughness sign or on a view's outline
// or hatching, no line across a value or a sign's stroke, no leader far from what it marks.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "SheetLinesCheck.h"
#include "txhost/lib/SvgWriter.h"

namespace stdtest::release {

// The sizes of a part without a table are scaled by s / 2 (half, once and twice).
constexpr int Halves[] = {1, 2, 4};

// The corners of a label's box, shrunk by d towards its middle.
inline std::vector<std::pair<double, double>> Corners(const txhost::SvgLabel& l, double d)
{
  const double cx = (l.X[0] + l.X[2]) / 2, cy = (l.Y[0] + l.Y[2]) / 2;
  std::vector<std::pair<double, double>> c;
  for (int k = 0; k < 4; ++k) {
    const double dx = l.X[k] - cx, dy = l.Y[k] - cy, n = std::hypot(dx, dy);
    const double f = n > d ? (n - d) / n : 0;
    c.emplace_back(cx + dx * f, cy + dy * f);
  }
  return c;
}

// Whether two convex polygons (a segment is one) overlap: no edge of either separates them.
inline bool Overlap(const std::vector<std::pair<double, double>>& a, const std::vector<std::pair<double, double>>& b)
{
  for (const auto* p : {&a, &b})
    for (std::size_t i = 0; i < p->size(); ++i) {
      const auto [x1, y1] = (*p)[i];
      const auto [x2, y2] = (*p)[(i + 1) % p->size()];
      const double nx = y1 - y2, ny = x2 - x1;
      double amin = 1e300, amax = -1e300, bmin = 1e300, bmax = -1e300;
      for (const auto& [x, y] : a)
        amin = std::min(amin, nx * x + ny * y), amax = std::max(amax, nx * x + ny * y);
      for (const auto& [x, y] : b)
        bmin = std::min(bmin, nx * x + ny * y), bmax = std::max(bmax, nx * x + ny * y);
      if (amax < bmin || bmax < amin) return false;
    }
  return true;
}

inline int Count(const std::string& s, const std::string& what)
{
  int n = 0;
  for (std::size_t at = s.find(what); at != std::string::npos; at = s.find(what, at + 1))
    ++n;
  return n;
}

using TQuad = std::vector<std::pair<double, double>>;

// Whether the segment from p to q crosses the convex quadrilateral c or lies in it.
inline bool Crosses(const TQuad& c, std::pair<double, double> p, std::pair<double, double> q)
{
  return Overlap(c, {p, q, q, p});
}

// Whether (x, y) lies inside the closed polygon (even-odd).
inline bool InPolygon(const std::vector<std::pair<double, double>>& poly, double x, double y)
{
  bool in = false;
  for (std::size_t i = 0, j = poly.size() - 1; i < poly.size(); j = i++) {
    const auto [xi, yi] = poly[i];
    const auto [xj, yj] = poly[j];
    if ((yi > y) != (yj > y) && x < (xj - xi) * (y - yi) / (yj - yi) + xi) in = !in;
  }
  return in;
}

// What a text on a sheet must keep off: a view's visible outline (main and thick lines, a detail's
// boundary), its hatching, a roughness sign.
inline bool Keeps(const txhost::SvgPolyline& l)
{
  if (l.Kind == "hatch" || l.Kind == "rough") return true;
  return l.Kind == "curve" &&
         (l.Style == txapi::txCSNormal || l.Style == txapi::txCSThick || l.Style == txapi::txCSBrokenLine);
}

// Whether (x, y) lies within a view: main lines of the sheet on all four sides of it, or all round it but
// for one direction in sixteen that meets nothing (a bore's mouth the part is open to, its end face broken
// there; one through a detail's broken boundary is the detail's, which the four sides decide).
inline bool Enclosed(const txhost::SvgLayout& layout, double x, double y)
{
  constexpr int Rays = 16;
  bool left = false, right = false, below = false, above = false;
  std::array<bool, Rays> hit{}, broken{};
  for (const txhost::SvgPolyline& line : layout.Lines) {
    const bool boundary = line.Kind == "curve" && line.Style == txapi::txCSBrokenLine;
    if (line.Kind != "curve" || (line.Style != txapi::txCSNormal && !boundary)) continue;
    for (std::size_t k = 0; k + 1 < line.Points.size(); ++k) {
      const auto [x1, y1] = line.Points[k];
      const auto [x2, y2] = line.Points[k + 1];
      if (!boundary && (y1 > y) != (y2 > y))
        (x1 + (x2 - x1) * (y - y1) / (y2 - y1) < x ? left : right) = true;
      if (!boundary && (x1 > x) != (x2 > x))
        (y1 + (y2 - y1) * (x - x1) / (x2 - x1) < y ? below : above) = true;
      // Which rays from (x, y) the segment meets.
      const double sx = x2 - x1, sy = y2 - y1;
      for (int r = 0; r < Rays; ++r) {
        const double a = 2 * 3.141592653589793 * r / Rays, dx = std::cos(a), dy = std::sin(a);
        const double den = dx * sy - dy * sx;
        if (std::fabs(den) < 1e-12) continue;
        const double wx = x1 - x, wy = y1 - y, t = (wx * sy - wy * sx) / den, u = (wx * dy - wy * dx) / den;
        if (t > 0 && u >= 0 && u <= 1) (boundary ? broken : hit)[std::size_t(r)] = true;
      }
    }
  }
  int open = 0;
  for (int r = 0; r < Rays; ++r)
    open += hit[std::size_t(r)] ? 0 : broken[std::size_t(r)] ? Rays : 1;
  return (left && right && below && above) || open <= 1;
}

inline std::string Where(const txhost::SvgLabel& l)
{
  return l.Role + " \"" + l.Text + "\" at " + std::to_string(l.X[0]) + ", " + std::to_string(l.Y[0]);
}

// What a drawn line is, as a finding names it.
inline std::string LineName(const txhost::SvgPolyline& l)
{
  if (l.Kind != "curve") return l.Kind;
  if (l.Style == txapi::txCSAxial) return "axis";
  if (l.Style == txapi::txCSThin) return "thin line";
  return l.Style == txapi::txCSHidden || l.Style == txapi::txCSDashed ? "hidden line" : "outline";
}

// A fault a release check finds on a sheet: the kind of fault (what the counts are kept by) and where.
struct TFinding
{
  std::string Kind, What;
};

// Every fault the release checks find on a laid out sheet.
inline std::vector<TFinding> Findings(const txhost::SvgLayout& layout)
{
  std::vector<TFinding> found;
  const auto add = [&found](const char* kind, const std::vector<std::string>& faults) {
    for (const std::string& f : faults)
      found.push_back({kind, f});
  };
  // A3 lying, or A2 lying for a part too large for it.
  if (!((layout.SheetWidth == 420.0 && layout.SheetHeight == 297.0) ||
        (layout.SheetWidth == 594.0 && layout.SheetHeight == 420.0))) {
    add("format", {std::to_string(layout.SheetWidth) + " x " + std::to_string(layout.SheetHeight)});
    return found;
  }
  // The drawing frame: a 20 mm binding margin on the left, 5 mm elsewhere.
  const double left = 20, bottom = 5, right = layout.SheetWidth - 5, top = layout.SheetHeight - 5, tol = 0.5;
  auto inside = [&](double x, double y) {
    return x >= left - tol && x <= right + tol && y >= bottom - tol && y <= top + tol;
  };
  std::vector<const txhost::SvgLabel*> labels;
  for (const txhost::SvgLabel& l : layout.Labels) {
    if (l.Role == "view-name") continue; // the stand-in's own marks, not the sheet's
    labels.push_back(&l);
    bool in = true;
    for (int k = 0; k < 4; ++k)
      in = in && inside(l.X[k], l.Y[k]);
    if (!in) add("off the frame", {Where(l)});
    std::vector<std::string> writ;
    if (l.Height > 7.0) writ.push_back("taller than a title: " + Where(l));
    if (l.Text.find("&0") != std::string::npos || l.Text.find('$') != std::string::npos)
      writ.push_back("markup shown raw: " + Where(l));
    if (l.Role == "dimension" || l.Role == "rough") {
      const double a = std::remainder(l.Angle, 360.0);
      if (!(a > -89.999 && a < 90.001))
        writ.push_back("upside down at " + std::to_string(l.Angle) + ": " + Where(l));
    }
    if (l.Role == "dimension" && (Count(l.Text, "\u2300") > 1 || l.Text.find("RR") != std::string::npos ||
                                  l.Text.find("M\u2300") != std::string::npos))
      writ.push_back("two signs: " + Where(l));
    add("text miswritten", writ);
  }
  // How its lines stand to what they serve (signs on their surfaces, values no line crosses, sizes on the
  // arcs they name, no dimension line or angle's arc on an outline, no extension line through another view
  // or along its own, no angle's ray through the part, no view in the title block or off the frame, no
  // angle given twice, every angle's value at its arc), and how its texts are written; no dimension line,
  // arc or leader across another's lines, a hole, a section mark's stroke, a sign's stroke or an arrow's
  // tip, none out of reach of what it sizes.
  {
    namespace sl = stdtest::sheetlines;
    const std::pair<const char*, std::vector<std::string> (*)(const txhost::SvgLayout&)> checks[] = {
        {"dimension line on an outline", sl::DimensionLinesOnOutlines},
        {"line through another view", sl::LinesThroughOtherViews},
        {"size off its arc", sl::SizesOffTheirArcs},
        {"text miswritten", sl::TextsMiswritten},
        {"sign off its surface", sl::SignsOffTheirSurfaces},
        {"sign on an axis", sl::SignsOnAxes},
        {"text crossed by a line", sl::TextsCrossed},
        {"view on the title block or off the frame", sl::ViewsOnTitleBlock},
        {"angle twice", sl::AnglesTwice},
        {"angle's ray through the part", sl::AngleRaysThroughOutlines},
        {"extension line along its view", sl::ExtensionLinesAlongTheirViews},
        {"angle's value off its arc", sl::AngleValuesOffTheirArcs},
        {"dimension line across another", sl::DimensionLinesCrossing},
        {"section stroke crossed", sl::SectionStrokesCrossed},
        {"sign's stroke crossed", sl::SignStrokesCrossed},
        {"line through an arrow's tip", sl::LinesThroughArrowTips},
        {"value far from its arc", [](const txhost::SvgLayout& l) { return sl::ValuesFarFromTheirArcs(l); }},
        {"leader through the part", sl::LeadersThroughParts},
        {"out of reach", [](const txhost::SvgLayout& l) { return sl::DimensionsOutOfReach(l); }}};
    for (const auto& [kind, check] : checks)
      add(kind, check(layout));
  }
  // Every drawn line too: a view's outline and axes, hatching, a sign's strokes, a leader, a cut's stroke.
  // The frame is convex, so a polyline whose points all lie inside it lies inside it.
  for (const txhost::SvgPolyline& line : layout.Lines) {
    const auto off =
        std::find_if(line.Points.begin(), line.Points.end(),
                     [&](const std::pair<double, double>& p) { return !inside(p.first, p.second); });
    if (off != line.Points.end())
      add("off the frame",
          {LineName(line) + " through " + std::to_string(off->first) + ", " + std::to_string(off->second) +
           " from " + std::to_string(line.Points.front().first) + ", " +
           std::to_string(line.Points.front().second)});
  }
  for (const txhost::SvgSymbolBox& b : layout.Symbols)
    if (!inside(b.X1, b.Y1) || !inside(b.X2, b.Y2))
      add("off the frame", {b.Kind + " from " + std::to_string(b.X1) + ", " + std::to_string(b.Y1) + " to " +
                            std::to_string(b.X2) + ", " + std::to_string(b.Y2)});
  // Texts are shrunk by 0.2 mm so that a text touching a line or another text passes.
  std::vector<TQuad> boxes;
  for (const txhost::SvgLabel* l : labels)
    boxes.push_back(Corners(*l, 0.2));
  // What the library places on its own (signs, titles, requirements) keeps off everything; dimension
  // values keep off one another. Neither stands within a view.
  auto placed = [](const txhost::SvgLabel& l) { return l.Role != "dimension" && l.Role != "sheet"; };
  for (std::size_t i = 0; i < labels.size(); ++i) {
    const auto& b = boxes[i];
    if (labels[i]->Role != "sheet" &&
        Enclosed(layout, (b[0].first + b[2].first) / 2, (b[0].second + b[2].second) / 2))
      add(placed(*labels[i]) ? "text within a view" : "value within a view", {Where(*labels[i])});
    for (std::size_t j = i + 1; j < labels.size(); ++j) {
      if (!placed(*labels[i]) && !placed(*labels[j]) &&
          (labels[i]->Role != "dimension" || labels[j]->Role != "dimension"))
        continue;
      if (Overlap(boxes[i], boxes[j]))
        add("texts on one another", {Where(*labels[i]) + " and " + Where(*labels[j])});
    }
    // Dimension values as well as what the library places keep off the views' outlines, hatching and signs.
    if (labels[i]->Role == "sheet") continue;
    for (const txhost::SvgPolyline& line : layout.Lines) {
      if (!Keeps(line)) continue;
      bool over = false;
      for (std::size_t k = 0; k + 1 < line.Points.size() && !over; ++k)
        over = Crosses(boxes[i], line.Points[k], line.Points[k + 1]);
      if (line.Kind == "hatch")
        over = over || InPolygon(line.Points, (b[0].first + b[2].first) / 2, (b[0].second + b[2].second) / 2);
      if (over)
        add("text on an outline or sign",
            {std::string("a text on a ") + (line.Kind == "curve" ? "view's outline" : line.Kind.c_str()) +
             ": " + Where(*labels[i]) + " (from " + std::to_string(line.Points.front().first) + ", " +
             std::to_string(line.Points.front().second) + ")"});
    }
  }
  return found;
}

} // namespace stdtest::release
