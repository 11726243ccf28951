#pragma once
// What a checker of a coupling's drawing looks at around its fasteners: which pieces are fasteners (bolts,
// pins, nuts, washers drawn whole), that no hatch runs across one, that no line of a part runs inside one,
// and that nothing of a fastener shows across its own nut or washer.
#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "RecordingModeler.h"

namespace fastenerdrawing {
using TCurve = TRecordingModeler::TCurve;

inline bool Same(double a, double b)
{
  return std::fabs(a - b) < 1e-9;
}

// A region's boundary as segments: lines as drawn, arcs as short chords.
struct TSeg
{
  double x1, y1, x2, y2;
};
inline std::vector<TSeg> Segments(const std::vector<TCurve>& curves)
{
  std::vector<TSeg> out;
  for (const auto& c : TRecordingModeler::Outline(curves)) {
    if (c.Kind == TCurve::Line) {
      out.push_back({c.x1, c.y1, c.x2, c.y2});
      continue;
    }
    if (c.Kind != TCurve::Arc && c.Kind != TCurve::Circle) continue;
    double a1 = c.Kind == TCurve::Circle ? 0.0 : std::atan2(c.y1 - c.cy, c.x1 - c.cx);
    double sweep = 2 * M_PI;
    if (c.Kind == TCurve::Arc) {
      sweep = std::atan2(c.y2 - c.cy, c.x2 - c.cx) - a1;
      if (c.Dir < 0) sweep = -sweep;
      while (sweep <= 0)
        sweep += 2 * M_PI;
      if (c.Dir < 0) sweep = -sweep;
    }
    const int n = 64;
    for (int i = 0; i < n; ++i) {
      const double t1 = a1 + sweep * i / n, t2 = a1 + sweep * (i + 1) / n;
      out.push_back({c.cx + c.r * std::cos(t1), c.cy + c.r * std::sin(t1), c.cx + c.r * std::cos(t2),
                     c.cy + c.r * std::sin(t2)});
    }
  }
  return out;
}

// One segment's part in the even-odd test of Inside: false when the point is on or near it; else flips in
// when the leftward ray from the point crosses it.
inline bool Beside(const TSeg& s, double x, double y, bool& in)
{
  const double dx = s.x2 - s.x1, dy = s.y2 - s.y1;
  // Only a point by the segment's box can be on it (the box test first: the sweeps ask this of every region
  // for every sample point).
  if (x >= std::min(s.x1, s.x2) - 1e-3 && x <= std::max(s.x1, s.x2) + 1e-3 &&
      y >= std::min(s.y1, s.y2) - 1e-3 && y <= std::max(s.y1, s.y2) + 1e-3) {
    const double len = std::hypot(dx, dy);
    if (len > 0 && std::fabs((x - s.x1) * dy - (y - s.y1) * dx) / len < 1e-6 &&
        (x - s.x1) * dx + (y - s.y1) * dy >= -1e-6 && (x - s.x2) * dx + (y - s.y2) * dy <= 1e-6)
      return false;
  }
  if ((s.y1 > y) != (s.y2 > y) && x < s.x1 + (y - s.y1) * dx / dy) in = !in;
  return true;
}

// Strictly inside the region the segments bound (even-odd); false on or near its boundary.
inline bool Inside(const std::vector<TSeg>& region, double x, double y)
{
  bool in = false;
  for (const auto& s : region)
    if (!Beside(s, x, y, in)) return false;
  return in;
}

// A hatched region's boundary, its segments filed by height: a segment can neither hold a point nor cross
// its ray unless the point's height is within the segment's, give or take the margin of Beside. A toothed
// coupling's regions have thousands of segments, and the sweeps ask about every point of every line.
struct TRegion
{
  std::vector<TSeg> Segs;
  double x2 = -INFINITY, y1 = INFINITY, y2 = -INFINITY, band = 1;
  std::vector<std::vector<int>> Bands; // the segments that reach into each band of heights
  explicit TRegion(std::vector<TSeg> segs) : Segs(std::move(segs))
  {
    for (const auto& s : Segs) {
      x2 = std::max({x2, s.x1, s.x2});
      y1 = std::min({y1, s.y1, s.y2});
      y2 = std::max({y2, s.y1, s.y2});
    }
    const int n = std::clamp(int(Segs.size() / 8), 1, 512);
    if (y2 > y1) band = (y2 - y1) / n;
    Bands.resize(n);
    for (int i = 0; i < int(Segs.size()); ++i) {
      const TSeg& s = Segs[i];
      const int lo = BandOf(std::min(s.y1, s.y2) - 1e-3), hi = BandOf(std::max(s.y1, s.y2) + 1e-3);
      for (int b = lo; b <= hi; ++b)
        Bands[b].push_back(i);
    }
  }
  // The band of a height; monotonic in it, so a segment is filed under every band a point near it falls in.
  int BandOf(double y) const
  {
    return int(std::clamp(std::floor((y - y1) / band), 0.0, double(Bands.size() - 1)));
  }
  auto begin() const { return Segs.begin(); }
  auto end() const { return Segs.end(); }
};
inline bool Inside(const TRegion& region, double x, double y)
{
  // Beyond the margin of Beside: no segment is near, and the leftward ray crosses none.
  if (!(y >= region.y1 - 1e-3 && y <= region.y2 + 1e-3 && x <= region.x2 + 1e-3)) return false;
  bool in = false;
  for (const int i : region.Bands[region.BandOf(y)])
    if (!Beside(region.Segs[i], x, y, in)) return false;
  return in;
}

// The axis lines of the fasteners: axis lines off the coupling's axis.
inline std::vector<TCurve> FastenerAxes(const TRecordingModeler& m)
{
  std::vector<TCurve> out;
  for (const auto& c : m.Curves)
    if (c.Kind == TCurve::Line && c.Style == 3 && c.Hatch < 0 && Same(c.y1, c.y2) && !Same(c.y1, 0.0))
      out.push_back(c);
  return out;
}

// The pieces of a drawing: the innermost macro that drew each curve, and which macros are fasteners,
// bolts, nuts, washers, pins and spacers drawn whole: those with an axis line off the coupling's axis
// (a spacer draws its axis just before its macro), but for the rubber bushings, which are hatched as
// rubber.
struct TPieces
{
  std::vector<int> Of;
  std::vector<bool> Fastener;
  std::vector<double> Axis; // the height of a fastener's axis
};
inline TPieces PiecesOf(const TRecordingModeler& m)
{
  TPieces p{{}, {false}, {0.0}};
  std::vector<bool> rubber{false};
  std::vector<int> open{0};
  int pending = -1; // the macro an axis line just drawn belongs to, unless a macro opens next
  double axis = 0.0;
  auto take = [&](int k) {
    if (pending >= 0) {
      p.Fastener[k] = true;
      p.Axis[k] = axis;
    }
    pending = -1;
  };
  std::size_t curve = 0;
  for (const auto& c : m.Calls) {
    if (c.Op == "drMacro2D") {
      p.Fastener.push_back(false);
      p.Axis.push_back(0.0);
      rubber.push_back(false);
      open.push_back(int(p.Fastener.size()) - 1);
      take(open.back());
    } else if (c.Op == "drEndMacro") {
      take(pending);
      if (open.size() > 1) open.pop_back();
    } else if (c.Op == "drHatch") {
      rubber[open.back()] = rubber[open.back()] || c.A[0] == 1;
    } else if (c.Op == "drLine" || c.Op == "drArc" || c.Op == "drCircle" || c.Op == "drEllipse") {
      if (curve >= m.Curves.size()) break;
      const TCurve& k = m.Curves[curve++];
      take(pending);
      p.Of.push_back(open.back());
      if (k.Kind == TCurve::Line && k.Style == 3 && Same(k.y1, k.y2) && !Same(k.y1, 0.0)) {
        pending = open.back();
        axis = k.y1;
      }
    }
  }
  take(pending);
  for (std::size_t k = 0; k < rubber.size(); ++k)
    if (rubber[k]) p.Fastener[k] = false;
  return p;
}

// Half the width of a fastener at x, across its axis: from the lines that span x.
inline double HalfWidth(const std::vector<TSeg>& fastener, double axis, double x)
{
  double w = 0.0;
  for (const auto& s : fastener)
    if (std::min(s.x1, s.x2) < x - 1e-6 && std::max(s.x1, s.x2) > x + 1e-6)
      w = std::max(w, std::fabs(s.y1 + (s.y2 - s.y1) * (x - s.x1) / (s.x2 - s.x1) - axis));
  return w;
}

// The same where x may be a step of the outline (a pin's cone meeting its cylinder): the narrower side
// there, since no line spans x itself.
inline double HalfWidthAcross(const std::vector<TSeg>& fastener, double axis, double x)
{
  return std::max(HalfWidth(fastener, axis, x),
                  std::min(HalfWidth(fastener, axis, x - 1e-3), HalfWidth(fastener, axis, x + 1e-3)));
}

// Points along a segment, inside it, no further apart than a fifth of a millimetre (at least 19).
template <class F> inline void Along(const TSeg& s, F&& at)
{
  const int n = std::max(20, int(std::ceil(std::hypot(s.x2 - s.x1, s.y2 - s.y1) / 0.2)));
  for (int t = 1; t < n; ++t)
    at(s.x1 + (s.x2 - s.x1) * t / n, s.y1 + (s.y2 - s.y1) * t / n);
}

// No line a part draws (but axes) runs inside a fastener's outline: in a section the whole outline, in a
// view what is seen of the fastener (its lines in the main style).
inline ::testing::AssertionResult NoLineAcrossFasteners(const TRecordingModeler& m, bool view = false)
{
  const TPieces p = PiecesOf(m);
  if (p.Of.size() != m.Curves.size()) return ::testing::AssertionFailure() << "curves not all in the calls";
  std::vector<std::vector<TCurve>> of(p.Fastener.size());
  for (std::size_t i = 0; i < m.Curves.size(); ++i)
    if (p.Fastener[p.Of[i]] && m.Curves[i].Style != 3 && (!view || m.Curves[i].Style == 1))
      of[p.Of[i]].push_back(m.Curves[i]);
  struct TFastener
  {
    std::vector<TSeg> Segs;
    double Axis;
    TRecordingModeler::TBox Box;
  };
  std::vector<TFastener> fasteners;
  for (std::size_t k = 0; k < of.size(); ++k)
    if (p.Fastener[k] && !of[k].empty())
      fasteners.push_back({Segments(of[k]), p.Axis[k], TRecordingModeler::Box(of[k])});
  for (std::size_t i = 0; i < m.Curves.size(); ++i) {
    const TCurve& c = m.Curves[i];
    if (p.Fastener[p.Of[i]] || c.Hatch >= 0 || c.Style <= 0 || c.Style == 3) continue;
    const auto box = TRecordingModeler::Box({c});
    if (std::none_of(fasteners.begin(), fasteners.end(), [&](const TFastener& f) {
          return box.x1 < f.Box.x2 && box.x2 > f.Box.x1 && box.y1 < f.Box.y2 && box.y2 > f.Box.y1;
        }))
      continue;
    for (const auto& s : Segments({c})) {
      ::testing::AssertionResult r = ::testing::AssertionSuccess();
      Along(s, [&](double x, double y) {
        for (const auto& f : fasteners)
          if (r && x > f.Box.x1 && x < f.Box.x2 && y > f.Box.y1 && y < f.Box.y2 &&
              std::fabs(y - f.Axis) < HalfWidthAcross(f.Segs, f.Axis, x) - 1e-6)
            r = ::testing::AssertionFailure() << "a line of a part runs across the fastener at " << f.Axis
                                              << ": through (" << x << ", " << y << ")";
      });
      if (!r) return r;
    }
  }
  return ::testing::AssertionSuccess();
}

// A washer or nut, unsectioned, hides the shank it sits on: no line of a piece on its axis that runs on
// both sides of it and is narrower there (a bolt's shank, a pin's thread) runs inside its outline. The head
// a washer lies under and the nut beside it only touch it.
inline ::testing::AssertionResult NoShankInsideItsNut(const TRecordingModeler& m)
{
  const TPieces p = PiecesOf(m);
  if (p.Of.size() != m.Curves.size()) return ::testing::AssertionFailure() << "curves not all in the calls";
  std::vector<std::vector<TCurve>> of(p.Fastener.size()), drawn(p.Fastener.size());
  for (std::size_t i = 0; i < m.Curves.size(); ++i)
    if (p.Fastener[p.Of[i]] && m.Curves[i].Style != 3) {
      of[p.Of[i]].push_back(m.Curves[i]);
      // Thin lines (a thread's root, in the negated style) are drawn too.
      drawn[p.Of[i]].push_back(m.Curves[i]);
      drawn[p.Of[i]].back().Style = std::abs(m.Curves[i].Style);
    }
  std::vector<std::vector<TSeg>> segs(of.size());
  for (std::size_t k = 0; k < of.size(); ++k)
    segs[k] = Segments(of[k]);
  // A piece cut by the plane (a spacer ring, hatched) hides nothing: what passes through its bore shows.
  std::vector<bool> cut(of.size(), false);
  for (std::size_t i = 0; i < m.Curves.size(); ++i)
    if (m.Curves[i].Hatch >= 0) cut[p.Of[i]] = true;
  for (std::size_t front = 0; front < of.size(); ++front) {
    if (!p.Fastener[front] || cut[front] || of[front].empty()) continue;
    const double axis = p.Axis[front];
    const auto box = TRecordingModeler::Box(of[front]);
    for (std::size_t k = 0; k < of.size(); ++k) {
      if (k == front || !p.Fastener[k] || of[k].empty() || !Same(p.Axis[k], axis)) continue;
      // It sits on the piece: within its length.
      const auto on = TRecordingModeler::Box(of[k]);
      if (box.x1 < on.x1 - 1e-6 || box.x2 > on.x2 + 1e-6) continue;
      for (const auto& s : Segments(drawn[k])) {
        ::testing::AssertionResult r = ::testing::AssertionSuccess();
        Along(s, [&](double x, double y) {
          if (!r || !(x > box.x1 + 1e-6 && x < box.x2 - 1e-6)) return;
          const double w = HalfWidth(segs[front], axis, x);
          // A face across the axis is as wide as the piece beside it.
          const double own = std::max({HalfWidth(segs[k], axis, x - 1e-3), HalfWidth(segs[k], axis, x),
                                       HalfWidth(segs[k], axis, x + 1e-3)});
          if (own < w - 1e-6 && std::fabs(y - axis) < w - 1e-6)
            r = ::testing::AssertionFailure()
                << "a line of the set at " << axis << " runs inside the piece around it: through (" << x
                << ", " << y << ")";
        });
        if (!r) return r;
      }
    }
  }
  return ::testing::AssertionSuccess();
}

// The hatch boundaries of a section, as segments.
inline std::vector<TRegion> Regions(const TRecordingModeler& m)
{
  std::vector<TRegion> regions;
  for (int k = 0; k < m.Hatches(); ++k)
    regions.emplace_back(Segments(m.HatchBoundary(k)));
  return regions;
}

// No hatched region holds a point of a fastener's axis, nor of its shank edge away from it: a fastener
// stands in its hole.
inline ::testing::AssertionResult NoHatchAcrossFasteners(const TRecordingModeler& m,
                                                         const std::vector<TRegion>& regions, double edge)
{
  for (const auto& a : FastenerAxes(m))
    for (int s = 1; s < 100; ++s)
      for (const double y : {a.y1, a.y1 + edge, a.y1 - edge}) {
        const double x = a.x1 + (a.x2 - a.x1) * s / 100;
        for (int k = 0; k < int(regions.size()); ++k)
          if (Inside(regions[k], x, y))
            return ::testing::AssertionFailure()
                   << "hatch " << k << " across a fastener at " << x << ", " << y;
      }
  return ::testing::AssertionSuccess();
}

} // namespace fastenerdrawing
