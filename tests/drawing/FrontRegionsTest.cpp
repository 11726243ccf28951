// Regions in front of a drawing: what they hide is cut exactly, and a hatch boundary they cut closes along
// their outline, checked against references of the test's own (dense sampling, even-odd over fine
// polygons) on random regions and boundaries in random placements.
#include <algorithm>
#include <array>
#include <cmath>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "RecordingModeler.h"
#include "hxcadkit/drawing/drNodeCont.h"

namespace {

using TCurve = TRecordingModeler::TCurve;
using TPoly = std::vector<TPoint2D>;

// A boundary curve as the test draws it, in the placed frame: a line, or an arc about (cx, cy) of radius
// r counter-clockwise from the angle a over the sweep (a whole circle when the sweep is 2 pi).
struct TPiece
{
  bool arc;
  double x1, y1, x2, y2, cx, cy, r, a, sweep;
  TPoint2D At(double t) const
  {
    if (!arc) return TPoint2D(x1 + (x2 - x1) * t, y1 + (y2 - y1) * t);
    return TPoint2D(cx + r * std::cos(a + sweep * t), cy + r * std::sin(a + sweep * t));
  }
};

// Points along a recorded curve, in the sheet, its end points included.
std::vector<TPoint2D> Along(const TCurve& c, int n)
{
  std::vector<TPoint2D> p;
  if (c.Kind == TCurve::Line) {
    for (int k = 0; k <= n; ++k)
      p.push_back(TPoint2D(c.x1 + (c.x2 - c.x1) * k / n, c.y1 + (c.y2 - c.y1) * k / n));
    return p;
  }
  double a1 = std::atan2(c.y1 - c.cy, c.x1 - c.cx), a2 = std::atan2(c.y2 - c.cy, c.x2 - c.cx);
  if (c.Kind == TCurve::Circle) a1 = 0.0, a2 = 2 * M_PI;
  if (c.Dir < 0) std::swap(a1, a2);
  while (a2 <= a1)
    a2 += 2 * M_PI;
  const double r = std::fabs(c.r);
  for (int k = 0; k <= n; ++k)
    p.push_back(
        TPoint2D(c.cx + r * std::cos(a1 + (a2 - a1) * k / n), c.cy + r * std::sin(a1 + (a2 - a1) * k / n)));
  return p;
}

double ToSegment(const TPoint2D& p, const TPoint2D& a, const TPoint2D& b)
{
  const double dx = b.x - a.x, dy = b.y - a.y, dd = dx * dx + dy * dy;
  const double t = dd > 0 ? std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / dd, 0.0, 1.0) : 0.0;
  return std::hypot(p.x - a.x - t * dx, p.y - a.y - t * dy);
}

// The distance from p to a recorded curve, exact for lines and arcs.
double ToCurve(const TPoint2D& p, const TCurve& c)
{
  if (c.Kind == TCurve::Line) return ToSegment(p, TPoint2D(c.x1, c.y1), TPoint2D(c.x2, c.y2));
  const std::vector<TPoint2D> ends = Along(c, 1);
  double a1 = std::atan2(c.y1 - c.cy, c.x1 - c.cx), a2 = std::atan2(c.y2 - c.cy, c.x2 - c.cx);
  if (c.Dir < 0) std::swap(a1, a2);
  double u = std::atan2(p.y - c.cy, p.x - c.cx) - a1, w = a2 - a1;
  while (w <= 0)
    w += 2 * M_PI;
  while (u < 0)
    u += 2 * M_PI;
  if (c.Kind == TCurve::Circle || u <= w)
    return std::fabs(std::hypot(p.x - c.cx, p.y - c.cy) - std::fabs(c.r));
  return std::min(std::hypot(p.x - c.x1, p.y - c.y1), std::hypot(p.x - c.x2, p.y - c.y2));
}

// Even-odd: whether the closed polylines around the curves enclose p (a horizontal ray).
bool Enclosed(const TPoint2D& p, const std::vector<std::vector<TPoint2D>>& polylines)
{
  bool in = false;
  for (const auto& l : polylines)
    for (std::size_t k = 0; k + 1 < l.size(); ++k) {
      const TPoint2D &a = l[k], &b = l[k + 1];
      if ((a.y > p.y) != (b.y > p.y) && p.x < a.x + (b.x - a.x) * (p.y - a.y) / (b.y - a.y)) in = !in;
    }
  return in;
}

// How far inside the convex polygon p lies (negative outside).
double Depth(const TPoint2D& p, const TPoly& poly)
{
  double area = 0.0;
  for (std::size_t i = 0; i < poly.size(); ++i)
    area += poly[i].x * poly[(i + 1) % poly.size()].y - poly[(i + 1) % poly.size()].x * poly[i].y;
  const double s = area > 0 ? 1.0 : -1.0;
  double d = 1e300;
  for (std::size_t i = 0; i < poly.size(); ++i) {
    const TPoint2D &a = poly[i], &b = poly[(i + 1) % poly.size()];
    d = std::min(d, s * ((b.x - a.x) * (p.y - a.y) - (b.y - a.y) * (p.x - a.x)) /
                        std::hypot(b.x - a.x, b.y - a.y));
  }
  return d;
}

// Every end point of the curves meets an odd number of other ends: each chain closes, however the
// pieces run.
::testing::AssertionResult EveryEndMet(const std::vector<TCurve>& curves)
{
  std::vector<TPoint2D> ends;
  for (const TCurve& c : curves)
    if (c.Kind != TCurve::Circle) {
      ends.push_back(TPoint2D(c.x1, c.y1));
      ends.push_back(TPoint2D(c.x2, c.y2));
    }
  for (const TPoint2D& p : ends) {
    const auto met = std::count_if(ends.begin(), ends.end(), [&](const TPoint2D& q) {
      return std::fabs(p.x - q.x) <= 1e-6 && std::fabs(p.y - q.y) <= 1e-6;
    });
    if (met % 2 != 0) return ::testing::AssertionFailure() << "open end at " << p.x << ", " << p.y;
  }
  return ::testing::AssertionSuccess();
}

// Stands the region, given in the frame m draws in, and keeps it as it lies on the sheet.
void Stand(TFrontRegions& front, const TModeler3D& m, const TPoly& r, std::vector<TPoly>& sheet)
{
  front.Polygon(r);
  sheet.emplace_back();
  for (const TPoint2D& p : r) {
    TPoint2D q;
    m.R2D().Transf2D.xyMtr(p.x, p.y, q.x, q.y);
    sheet.back().push_back(q);
  }
}

struct TScene
{
  double mx, my, ma, ms;
  std::vector<TPoly> regions; // in the placed frame
  std::vector<TPiece> boundary;
};

// Draws the scene's boundary as a hatch through a front modeller, the regions standing, and checks it.
void Check(const TScene& s, const std::string& what)
{
  TRecordingModeler m;
  m.drMtr(s.mx, s.my, s.ma, s.ms);
  std::vector<TPoly> sheet; // the regions on the sheet
  {
    TFrontRegions front(m);
    for (const TPoly& r : s.regions)
      Stand(front, m, r, sheet);
    TFrontModeler f(m);
    m.drHatch(0, 45.0, 2.0);
    for (const TPiece& c : s.boundary) {
      const TPoint2D a = c.At(0.0), b = c.At(1.0);
      if (!c.arc)
        f.drLine(a.x, a.y, b.x, b.y, 1);
      else if (c.sweep >= 2 * M_PI)
        f.drCircle(c.cx, c.cy, c.r, 1);
      else
        f.drArc(c.cx, c.cy, c.r, a.x, a.y, b.x, b.y, 1, 1);
    }
    m.drEndObj();
  }
  const std::vector<TCurve> got = m.HatchBoundary(0);
  ASSERT_TRUE(EveryEndMet(got)) << what;
  // The references: the boundary as drawn and as received, each as fine polylines on the sheet.
  std::vector<std::vector<TPoint2D>> drawn, received;
  std::vector<TPoint2D> samples;
  for (const TPiece& c : s.boundary) {
    drawn.emplace_back();
    for (int k = 0; k <= 1000; ++k) {
      const TPoint2D p = c.At(k / 1000.0);
      TPoint2D q;
      m.R2D().Transf2D.xyMtr(p.x, p.y, q.x, q.y);
      drawn.back().push_back(q);
    }
    samples.insert(samples.end(), drawn.back().begin(), drawn.back().end());
  }
  for (const TCurve& c : got)
    received.push_back(Along(c, 128));
  auto depth = [&](const TPoint2D& p) {
    double d = -1e300;
    for (const TPoly& r : sheet)
      d = std::max(d, Depth(p, r));
    return d;
  };
  auto onReceived = [&](const TPoint2D& p, double tol) {
    return std::any_of(got.begin(), got.end(), [&](const TCurve& c) { return ToCurve(p, c) <= tol; });
  };
  // Nothing received lies inside a region.
  for (const auto& l : received)
    for (const TPoint2D& p : l)
      ASSERT_LE(depth(p), 1e-6) << what << ": received inside a region at " << p.x << ", " << p.y;
  // Each drawn point clear of the regions is received, and none inside them: the cuts are exact.
  for (const TPoint2D& p : samples) {
    const double d = depth(p);
    if (d < -1e-5) {
      ASSERT_TRUE(onReceived(p, 1e-7)) << what << ": left out at " << p.x << ", " << p.y;
    }
    if (d > 1e-5) {
      ASSERT_FALSE(onReceived(p, 1e-7)) << what << ": kept inside at " << p.x << ", " << p.y;
    }
  }
  // The hatched area is the drawn boundary's less the regions that cut it (away from every curve and
  // outline); a region the boundary does not enter is no cut and leaves the hatch as it is.
  std::mt19937 rng(7);
  double x1 = 1e300, y1 = 1e300, x2 = -1e300, y2 = -1e300;
  for (const TPoint2D& p : samples)
    x1 = std::min(x1, p.x), y1 = std::min(y1, p.y), x2 = std::max(x2, p.x), y2 = std::max(y2, p.y);
  std::uniform_real_distribution<double> ux(x1, x2), uy(y1, y2);
  std::vector<bool> cuts; // whether each region holds a piece of the boundary
  for (const TPoly& r : sheet)
    cuts.push_back(
        std::any_of(samples.begin(), samples.end(), [&](const TPoint2D& q) { return Depth(q, r) > 0; }));
  for (int k = 0; k < 200; ++k) {
    const TPoint2D p(ux(rng), uy(rng));
    // (A sample farther than 1e-2 along either axis is no nearer: hypot only for the few by p.)
    if (std::fabs(depth(p)) < 1e-2 || onReceived(p, 1e-2) ||
        std::any_of(samples.begin(), samples.end(), [&](const TPoint2D& q) {
          return std::fabs(p.x - q.x) < 1e-2 && std::fabs(p.y - q.y) < 1e-2 &&
                 std::hypot(p.x - q.x, p.y - q.y) < 1e-2;
        }))
      continue;
    bool cut = false; // whether a region holding p holds a piece of the boundary
    for (std::size_t r = 0; r < sheet.size(); ++r)
      cut = cut || (Depth(p, sheet[r]) > 0 && cuts[r]);
    if (depth(p) > 0 && !cut) continue;
    ASSERT_EQ(Enclosed(p, received), Enclosed(p, drawn) && depth(p) < 0.0)
        << what << ": at " << p.x << ", " << p.y << " depth " << depth(p) << " drawn " << Enclosed(p, drawn);
  }
}

TPiece Line(double x1, double y1, double x2, double y2)
{
  return {false, x1, y1, x2, y2, 0, 0, 0, 0, 0};
}

TPiece ArcAbout(double cx, double cy, double r, double a, double sweep)
{
  return {true, 0, 0, 0, 0, cx, cy, r, a, sweep};
}

} // namespace

// Random scenes: a closed outline of lines and bulging arcs around the origin with a round or square hole,
// and up to four convex regions (turned boxes, triangles) about it, in a random placement.
TEST(FrontRegions, HatchBoundariesCloseAlongTheRegionsAndCutsAreExact)
{
  std::mt19937 rng(20261208);
  auto u = [&](double a, double b) { return std::uniform_real_distribution<double>(a, b)(rng); };
  for (int n = 0; n < 40; ++n) {
    TScene s{u(-50, 50), u(-50, 50), u(0, 360), u(0.5, 2.0), {}, {}};
    const int corners = 3 + int(u(0, 5));
    std::vector<TPoint2D> outer;
    for (int k = 0; k < corners; ++k) {
      const double a = 2 * M_PI * (k + u(0.1, 0.9)) / corners, r = u(5, 10);
      outer.push_back(TPoint2D(r * std::cos(a), r * std::sin(a)));
    }
    for (int k = 0; k < corners; ++k) {
      const TPoint2D &a = outer[k], &b = outer[(k + 1) % corners];
      if (u(0, 1) < 0.6) {
        s.boundary.push_back(Line(a.x, a.y, b.x, b.y));
        continue;
      }
      // An arc through both corners bulging outwards: its centre on their bisector, towards the origin.
      const double half = std::hypot(b.x - a.x, b.y - a.y) / 2, r = half / std::sin(u(0.3, 1.4));
      const double mx = (a.x + b.x) / 2, my = (a.y + b.y) / 2, nx = -(b.y - a.y) / (2 * half),
                   ny = (b.x - a.x) / (2 * half);
      const double back = std::sqrt(r * r - half * half), cx = mx - nx * back, cy = my - ny * back;
      const double a1 = std::atan2(a.y - cy, a.x - cx);
      double a2 = std::atan2(b.y - cy, b.x - cx);
      while (a2 <= a1)
        a2 += 2 * M_PI;
      s.boundary.push_back(ArcAbout(cx, cy, r, a1, a2 - a1));
    }
    const double hx = u(-3, 3), hy = u(-3, 3), hr = u(0.5, 2);
    if (u(0, 1) < 0.5)
      s.boundary.push_back(ArcAbout(hx, hy, hr, 0, 2 * M_PI));
    else
      for (int k = 0; k < 4; ++k) {
        const double a = M_PI / 2 * k, b = a + M_PI / 2;
        s.boundary.push_back(
            Line(hx + hr * std::cos(a), hy + hr * std::sin(a), hx + hr * std::cos(b), hy + hr * std::sin(b)));
      }
    const int regions = 1 + int(u(0, 4));
    for (int k = 0; k < regions; ++k) {
      const double cx = u(-11, 11), cy = u(-11, 11), a = u(0, M_PI);
      const double w = u(0.2, 6), h = u(0.2, 6), c = std::cos(a), sn = std::sin(a);
      TPoly p;
      if (u(0, 1) < 0.7)
        for (const auto& [x, y] : {std::pair{-w, -h}, {w, -h}, {w, h}, {-w, h}})
          p.push_back(TPoint2D(cx + c * x - sn * y, cy + sn * x + c * y));
      else
        for (int i = 0; i < 3; ++i)
          p.push_back(
              TPoint2D(cx + w * std::cos(a + 2 * M_PI * i / 3), cy + w * std::sin(a + 2 * M_PI * i / 3)));
      s.regions.push_back(p);
    }
    Check(s, "scene " + std::to_string(n));
  }
}

// Cases random scenes rarely give: a large arc across a narrow region (no sample may miss it), a region
// whose edge is a wall of the hole it fills, abutting regions of one fastener, a region across a corner.
TEST(FrontRegions, NarrowRegionsWallsAndAbuttingPieces)
{
  const TScene scenes[] = {
      {0,
       0,
       0,
       1,
       {{{-1.5, 90}, {1.5, 90}, {1.5, 110}, {-1.5, 110}}},
       {ArcAbout(0, 0, 100, 1.0, 1.2), Line(0, 0, 100 * std::cos(1.0), 100 * std::sin(1.0)),
        Line(0, 0, 100 * std::cos(2.2), 100 * std::sin(2.2))}},
      {3,
       4,
       30,
       1.5,
       {{{-2, 1}, {6, 1}, {6, 2}, {-2, 2}}},
       {Line(0, 0, 4, 0), Line(4, 0, 4, 3), Line(4, 3, 0, 3), Line(0, 3, 0, 0), Line(0, 1, 4, 1),
        Line(4, 1, 4, 2), Line(4, 2, 0, 2), Line(0, 2, 0, 1)}},
      {0,
       0,
       0,
       1,
       {{{-1, -1}, {5, -1}, {5, 1}, {-1, 1}}, {{-3, -2}, {-1, -2}, {-1, 2}, {-3, 2}}},
       {Line(-2, -5, 3, -5), Line(3, -5, 3, 5), Line(3, 5, -2, 5), Line(-2, 5, -2, -5)}},
      {-7,
       2,
       200,
       0.7,
       {{{2, 2}, {6, 2}, {6, 6}, {2, 6}}},
       {Line(0, 0, 4, 0), ArcAbout(0, 0, 4, 0, M_PI / 2), Line(0, 4, 0, 0)}},
  };
  int n = 0;
  for (const TScene& s : scenes)
    Check(s, "case " + std::to_string(n++));
}

// A fastener's overlapping pieces made apart, other regions made between them (away from the hatch), join as
// one; and contacts that only exact tests tell: a region's corner on a boundary line or on a hole's arc, its
// edge along a boundary line over a part of it, a region across a hole's arc.
TEST(FrontRegions, PiecesMadeApartJoinAndContactsAreExact)
{
  const TPiece frame[] = {Line(-10, -6, 10, -6), Line(10, -6, 10, 6), Line(10, 6, -10, 6),
                          Line(-10, 6, -10, -6)};
  auto with = [&](std::vector<TPiece> more) {
    more.insert(more.begin(), std::begin(frame), std::end(frame));
    return more;
  };
  const TPiece hole = ArcAbout(0, 0, 2, 0, 2 * M_PI);
  const TPoly away = {{40, 40}, {41, 40}, {41, 41}, {40, 41}};
  const TScene scenes[] = {
      // Bolt and head made apart, the head across the frame's top.
      {0,
       0,
       0,
       1,
       {{{-1, -4}, {1, -4}, {1, 7}, {-1, 7}}, away, {{-2, 5}, {2, 5}, {2, 8}, {-2, 8}}},
       with({hole})},
      // A corner on the top line from inside, one on it from outside; a triangle's corner on the hole's arc.
      {1,
       -2,
       15,
       1.2,
       {{{-4, 2}, {-2, 6}, {-6, 4}}, {{3, 6}, {5, 8}, {1, 8}}, {{0, 2}, {1, 4}, {-1, 4}}},
       with({hole})},
      // An edge along the right line over part of it, inside and outside the hatch; a box across the hole.
      {0,
       0,
       90,
       0.8,
       {{{8, -2}, {10, -2}, {10, 2}, {8, 2}},
        away,
        {{10, 3}, {12, 3}, {12, 5}, {10, 5}},
        {{-1, -3}, {1, -3}, {1, 3}, {-1, 3}}},
       with({hole})},
      // A square hole whose wall a region's edge runs along, the region filling it and reaching out below.
      {-3,
       5,
       0,
       1,
       {{{-1, -8}, {1, -8}, {1, 1}, {-1, 1}}, away, {{-2, -9}, {2, -9}, {2, -7}, {-2, -7}}},
       with({Line(-1, -1, 1, -1), Line(1, -1, 1, 1), Line(1, 1, -1, 1), Line(-1, 1, -1, -1)})},
  };
  int n = 0;
  for (const TScene& s : scenes)
    Check(s, "contact " + std::to_string(n++));
  // Turned so that the frame's lines run along the rays that tell enclosure (0.3 radians) or nearly so: the
  // points asked lie where the spans of the curves across the rays begin and end. (Not the third: turned, the
  // rounding decides whether its right line enters the region along it.)
  // The last: a frame with a tab on top whose line meets the top line at a corner, and a region filling a
  // hole with its edge along the top line, so that the points beside that line are asked just past the
  // corner.
  const TScene tab{0,
                   0,
                   0,
                   1,
                   {{{2, 4}, {8, 4}, {8, 6}, {2, 6}}},
                   {Line(-10, -6, 10, -6), Line(10, -6, 10, 7), Line(10, 7, 9, 7), Line(9, 7, 9, 6),
                    Line(9, 6, -10, 6), Line(-10, 6, -10, -6), Line(4.5, 4.5, 5.5, 4.5),
                    Line(5.5, 4.5, 5.5, 5.5), Line(5.5, 5.5, 4.5, 5.5), Line(4.5, 5.5, 4.5, 4.5)}};
  for (const double turn : {0.0, 1e-9, -1e-7, 90.0, 180.0})
    for (std::size_t k = 0; k <= std::size(scenes); ++k) {
      if (k == 2) continue;
      TScene t = k < std::size(scenes) ? scenes[k] : tab;
      t.ma = 0.3 * 180 / M_PI + turn;
      Check(t, "contact " + std::to_string(k) + " turned " + std::to_string(turn));
    }
  // Random fasteners of two or three overlapping pieces about the hatch, regions far away made between them.
  std::mt19937 rng(8122026);
  auto u = [&](double a, double b) { return std::uniform_real_distribution<double>(a, b)(rng); };
  for (int k = 0; k < 30; ++k) {
    const bool round = u(0, 1) < 0.5;
    TScene s{u(-20, 20),
             u(-20, 20),
             u(0, 360),
             u(0.5, 2),
             {},
             with(round ? std::vector<TPiece>{hole}
                        : std::vector<TPiece>{Line(-2, -2, 2, -2), Line(2, -2, 2, 2), Line(2, 2, -2, 2),
                                              Line(-2, 2, -2, -2)})};
    // Several fasteners: the closing asks for many points of one boundary at once.
    for (int fasteners = 1 + int(u(0, 3)); fasteners > 0; --fasteners) {
      const double cx = u(-11, 11), cy = u(-7, 7), a = u(0, M_PI), c = std::cos(a), sn = std::sin(a);
      const int pieces = 2 + int(u(0, 2));
      for (int i = 0; i < pieces; ++i) {
        const double w = u(0.3, 4), h = u(0.3, 4), ox = u(-1, 1), oy = u(-1, 1);
        TPoly p;
        for (const auto& [x, y] : {std::pair{-w, -h}, {w, -h}, {w, h}, {-w, h}})
          p.push_back(TPoint2D(cx + c * (x + ox) - sn * (y + oy), cy + sn * (x + ox) + c * (y + oy)));
        s.regions.push_back(p);
        if (i + 1 < pieces) s.regions.push_back({{60.0 + 3 * i, 60}, {61.0 + 3 * i, 60}, {61.0 + 3 * i, 61}});
      }
    }
    Check(s, "fastener " + std::to_string(k));
  }
}

// A fastener's pieces that do not cut the hatch's boundary themselves take part through the pieces they
// overlap: within the metal, in the hole, outside the part, touching only at a corner, along a common edge
// (abutting and on one side), wholly inside another piece; a fastener apart that cuts nothing closes nothing.
TEST(FrontRegions, PiecesThatCutNothingCloseWithTheirFastener)
{
  const std::vector<TPiece> part = {Line(-10, -6, 10, -6), Line(10, -6, 10, 6), Line(10, 6, -10, 6),
                                    Line(-10, 6, -10, -6), Line(-2, -2, 2, -2), Line(2, -2, 2, 2),
                                    Line(2, 2, -2, 2),     Line(-2, 2, -2, -2)};
  const TPoly head = {{-1, 4}, {1, 4}, {1, 8}, {-1, 8}};
  const std::vector<TPoly> fasteners[] = {
      // Within the metal, below the piece across the top line.
      {head, {{-3, 3}, {3, 3}, {3, 5}, {-3, 5}}},
      // In the hole, reached by a piece across its wall; outside the part, by one across its right line.
      {{{-1.5, -1.5}, {1.5, -1.5}, {1.5, 1.5}, {-1.5, 1.5}}, {{1, -0.5}, {4, -0.5}, {4, 0.5}, {1, 0.5}}},
      {{{9, -1}, {12, -1}, {12, 1}, {9, 1}}, {{11, -3}, {14, -3}, {14, 3}, {11, 3}}},
      // Touching at a corner: outside the part, and within the metal.
      {head, {{1, 8}, {3, 8}, {3, 10}, {1, 10}}},
      {head, {{1, 2.5}, {3, 2.5}, {3, 4}, {1, 4}}},
      // Along a common edge: abutting, and on one side, made before the piece that cuts and after it.
      {head, {{1, 4}, {3, 4}, {3, 5.5}, {1, 5.5}}},
      {{{-1, 3}, {0.5, 3}, {0.5, 5}, {-1, 5}}, head},
      {head, {{-1, 3}, {0.5, 3}, {0.5, 5}, {-1, 5}}},
      // Wholly inside the piece that cuts, in the metal; and a fastener apart within the metal.
      {head, {{-0.5, 4.5}, {0.5, 4.5}, {0.5, 5.5}, {-0.5, 5.5}}},
      {head, {{5, -4}, {7, -4}, {7, -3}, {5, -3}}, {{6, -4.5}, {8, -4.5}, {8, -3.5}, {6, -3.5}}},
  };
  int n = 0;
  for (const std::vector<TPoly>& f : fasteners) {
    for (const double turn : {0.0, 30.0, 0.3 * 180 / M_PI, 180.0})
      Check({2, -1, turn, 1.3, f, part}, "fastener " + std::to_string(n) + " turned " + std::to_string(turn));
    ++n;
  }
}

// A boundary drawn over itself cancels there by the even-odd rule (a hole's wall drawn over the face it opens
// in): a fastener that crosses it only there lies wholly on one side of the hatch, and closes it only where
// it lies inside. Twice over a slot's mouth and over two plates' common edge, a third time over that edge (as
// the side of a triangle: there it bounds again), across the edge where the region's middle lies on it, and
// two pieces hiding the same part of one line (which is no pair).
TEST(FrontRegions, BoundariesDrawnOverThemselvesCloseAsTheyBound)
{
  const std::vector<TPiece> slotted = {Line(-10, -6, 10, -6), Line(10, -6, 10, 6), Line(10, 6, -10, 6),
                                       Line(-10, 6, -10, -6), Line(-2, 6, 2, 6),   Line(2, 6, 2, 1),
                                       Line(2, 1, -2, 1),     Line(-2, 1, -2, 6)};
  std::vector<TPiece> plates = {Line(-10, -6, 0, -6),  Line(0, -6, 0, 6),   Line(0, 6, -10, 6),
                                Line(-10, 6, -10, -6), Line(0, -6, 10, -6), Line(10, -6, 10, 6),
                                Line(10, 6, 0, 6),     Line(0, 6, 0, -6)};
  std::vector<TPiece> thrice = plates;
  for (const TPiece& c : {Line(0, -6, 0, 6), Line(0, 6, 5, 0), Line(5, 0, 0, -6)})
    thrice.push_back(c);
  const TPoly bolt = {{-1, 3}, {1, 3}, {1, 9}, {-1, 9}}, head = {{-3, 8}, {3, 8}, {3, 10}, {-3, 10}};
  const TPoly across = {{-1.5, -2}, {2.5, -2}, {2.5, 3}, {-1.5, 3}},
              centred = {{-2, -2}, {2, -2}, {2, 3}, {-2, 3}};
  const TScene scenes[] = {
      {0, 0, 0, 1, {bolt, head}, slotted},
      {0, 0, 0, 1, {{{-3, 3}, {3, 3}, {3, 9}, {-3, 9}}}, slotted}, // wider than the slot: it cuts its walls
      {0, 0, 0, 1, {across}, plates},
      {0, 0, 0, 1, {centred}, plates},
      {0, 0, 0, 1, {across}, thrice},
      {0, 0, 0, 1, {{{-1, 4}, {1, 4}, {1, 8}, {-1, 8}}, {{-1, 5}, {1, 5}, {1, 9}, {-1, 9}}}, plates},
  };
  int n = 0;
  for (TScene s : scenes) {
    for (const double turn : {0.0, 30.0, 0.3 * 180 / M_PI, 180.0}) {
      s.mx = 2, s.my = -1, s.ma = turn, s.ms = 1.3;
      Check(s, "scene " + std::to_string(n) + " turned " + std::to_string(turn));
    }
    ++n;
  }
}

namespace {
// The curves a modeller received, as comparable numbers.
std::vector<std::vector<double>> Numbers(const TRecordingModeler& m)
{
  std::vector<std::vector<double>> v;
  for (const TCurve& c : m.Curves)
    v.push_back({double(c.Kind), c.x1, c.y1, c.x2, c.y2, c.cx, c.cy, c.r, double(c.Dir), double(c.Style),
                 double(c.Hatch)});
  return v;
}

// A square hatch of side 20 about the origin, drawn through f.
void Square(TRecordingModeler& m, TModeler3D& f)
{
  m.drHatch(0, 45.0, 2.0);
  const double p[] = {-10, -10, 10, -10, 10, 10, -10, 10, -10, -10};
  for (int k = 0; k < 4; ++k)
    f.drLine(p[2 * k], p[2 * k + 1], p[2 * k + 2], p[2 * k + 3], 1);
  m.drEndObj();
}
} // namespace

// A set of many regions, some added after a boundary closed, cuts and closes as one made whole from the
// start; a line across all of them keeps exactly the gaps between them.
TEST(FrontRegions, RegionsAddedLaterCountAsTheFirst)
{
  auto slot = [](int k) { return std::pair(-12.0 + 0.6 * k, -12.0 + 0.6 * k + 0.4); };
  TRecordingModeler later, whole;
  {
    TFrontRegions front(later);
    TFrontModeler f(later);
    for (int k = 0; k < 20; ++k)
      front.Box(slot(k).first, -11, slot(k).second, 11);
    Square(later, f);
    for (int k = 20; k < 40; ++k)
      front.Box(slot(k).first, -11, slot(k).second, 11);
    later.Reset();
    Square(later, f);
    f.drLine(-13, 0, 13, 0, 2);
  }
  {
    TFrontRegions front(whole);
    TFrontModeler f(whole);
    for (int k = 0; k < 40; ++k)
      front.Box(slot(k).first, -11, slot(k).second, 11);
    Square(whole, f);
    whole.Reset();
    Square(whole, f);
    f.drLine(-13, 0, 13, 0, 2);
  }
  EXPECT_EQ(Numbers(later), Numbers(whole));
  EXPECT_TRUE(later.HatchesClosed());
  std::vector<std::pair<double, double>> gaps{{-13.0, slot(0).first}};
  for (int k = 0; k + 1 < 40; ++k)
    gaps.push_back({slot(k).second, slot(k + 1).first});
  gaps.push_back({slot(39).second, 13.0});
  std::vector<std::pair<double, double>> got;
  for (const TCurve& c : later.Curves)
    if (c.Style == 2) got.push_back({std::min(c.x1, c.x2), std::max(c.x1, c.x2)});
  ASSERT_EQ(got.size(), gaps.size());
  for (std::size_t k = 0; k < gaps.size(); ++k) {
    EXPECT_NEAR(got[k].first, gaps[k].first, 1e-9) << k;
    EXPECT_NEAR(got[k].second, gaps[k].second, 1e-9) << k;
  }
}

// Pieces added to a fastener after a boundary closed along it, one in the metal and one outside the part,
// take part in the next closing as if made with it from the start.
TEST(FrontRegions, PiecesAddedAfterAClosingJoinTheirFastener)
{
  const double pieces[][4] = {{-1, 8, 1, 12}, {0.5, 11, 3, 13}, {-3, 7, 3, 9}, {-12, -1, -9, 1}};
  TRecordingModeler later, whole;
  {
    TFrontRegions front(later);
    TFrontModeler f(later);
    front.Box(pieces[0][0], pieces[0][1], pieces[0][2], pieces[0][3]);
    Square(later, f);
    for (int k = 1; k < 4; ++k)
      front.Box(pieces[k][0], pieces[k][1], pieces[k][2], pieces[k][3]);
    later.Reset();
    Square(later, f);
  }
  {
    TFrontRegions front(whole);
    TFrontModeler f(whole);
    for (const auto& p : pieces)
      front.Box(p[0], p[1], p[2], p[3]);
    Square(whole, f);
  }
  EXPECT_EQ(Numbers(later), Numbers(whole));
  EXPECT_TRUE(later.HatchesClosed());
  // The piece in the metal adds its walls below the first: the hatch's outline runs along y = 7.
  EXPECT_TRUE(std::any_of(later.Curves.begin(), later.Curves.end(), [](const TCurve& c) {
    return c.Kind == TCurve::Line && std::fabs(c.y1 - 7) < 1e-9 && std::fabs(c.y2 - 7) < 1e-9;
  }));
}

// The sets before, one gone with its boundary open, cut by both its regions and a piece of it waiting along
// one, one made and gone inside it, leave nothing to the next: its hatch cuts and closes as in a drawing made
// alone (the region inside the hatch, cutting nothing, closes nothing).
TEST(FrontRegions, ASetTakesNothingFromTheSetsBefore)
{
  auto draw = [](TRecordingModeler& m) {
    TFrontRegions front(m);
    TFrontModeler f(m);
    front.Box(-2, -12, 2, 12);
    front.Box(4, 4, 6, 6);
    Square(m, f);
  };
  TRecordingModeler alone, after;
  draw(alone);
  for (int k = 0; k < 2; ++k) {
    TRecordingModeler before;
    TFrontRegions first(before);
    TFrontModeler f(before);
    first.Box(5, -12, 8, 12);
    first.Box(-12, -10, -10, 10);
    before.drHatch(0, 45.0, 2.0);
    f.drLine(-10, -10, 10, -10, 1);
    f.drLine(-10, 10, -10, -10, 1);
    f.drLine(-13, 5, 0, 5, 1);
    TFrontRegions inner(before);
    inner.Box(-1, -1, 1, 1);
    f.drLine(-10, 0, 10, 0, 1);
  }
  draw(after);
  EXPECT_EQ(Numbers(after), Numbers(alone));
  EXPECT_TRUE(after.HatchesClosed());
}

// Programs drawn while one set stands after another stop at the standing set's regions only, as through a
// front modeller made for it; a front modeller left with an object open is not handed out again.
TEST(FrontRegions, EachSetStopsLinesAtItsOwnRegions)
{
  for (int set = 0; set < 3; ++set) {
    TRecordingModeler program, made;
    for (TRecordingModeler* m : {&program, &made}) {
      TFrontRegions front(*m);
      front.Box(-1.0 + set, -5, 1.0 + set, 5);
      if (m == &program) {
        TContDrawing c(m);
        c.Make(-10, 0, dP(10, 0, dP(10, 1, dP(-10, 1))));
        c.dr2D(1);
      } else {
        TFrontModeler f(*m);
        f.drLine(-10, 0, 10, 0, 1);
        f.drLine(10, 0, 10, 1, 1);
        f.drLine(10, 1, -10, 1, 1);
      }
    }
    EXPECT_EQ(Numbers(program), Numbers(made)) << set;
    EXPECT_EQ(program.Curves.size(), 5u) << set;
  }
  TRecordingModeler m;
  {
    TFrontLines open(m);
    (*open).drHatch(0, 45.0, 2.0);
  }
  for (int k = 0; k < 10; ++k) {
    TFrontLines front(m);
    EXPECT_EQ((*front).R2D().APrevCommand.Count, 0) << k;
  }
}

namespace {
// How deep p lies in the deepest of the regions (negative outside them all).
double Deepest(const TPoint2D& p, const std::vector<TPoly>& regions)
{
  double d = -1e300;
  for (const TPoly& r : regions)
    d = std::max(d, Depth(p, r));
  return d;
}

// Whether the segment a-b runs along an edge of the region (both ends on the edge's line).
bool AlongAnEdge(const TPoint2D& a, const TPoint2D& b, const TPoly& r)
{
  for (std::size_t i = 0; i < r.size(); ++i) {
    const TPoint2D &p = r[i], &q = r[(i + 1) % r.size()];
    const double len = std::hypot(q.x - p.x, q.y - p.y);
    auto off = [&](const TPoint2D& s) { return std::fabs((q.x - p.x) * (s.y - p.y) - (q.y - p.y) * (s.x - p.x)) / len; };
    if (off(a) <= 1e-9 && off(b) <= 1e-9) return true;
  }
  return false;
}
} // namespace

// Lines of a drawing on a grid the regions' corners lie on too, so that many run exactly along an edge, touch
// a corner or cross one, against a reference of the test's own: every sample well inside a region is hidden,
// every one clear of them all is drawn, and one on a line along a region's edge is drawn unless another region
// holds it. The pieces drawn are those Outside tells. Boxes turned half a turn (their corners off the grid by
// the turn's rounding) and triangles are among the regions; the placement is none, or turned and scaled.
TEST(FrontRegions, LinesAlongEdgesThroughCornersCutAsSamplesTell)
{
  std::mt19937 rng(4242);
  auto grid = [&](int n) { return double(std::uniform_int_distribution<int>(-n, n)(rng)); };
  for (int scene = 0; scene < 60; ++scene) {
    const bool placed = scene % 2 == 1;
    TRecordingModeler m;
    if (placed) m.drMtr(grid(20), grid(20), 90.0 * double(scene % 4), 0.5 + scene % 3);
    std::vector<TPoly> sheet;
    TFrontRegions front(m);
    const int count = 1 + scene % 4;
    for (int k = 0; k < count; ++k) {
      TPoly p;
      const double x = grid(4), y = grid(4), w = 1 + grid(2) * grid(2), h = 1 + std::fabs(grid(3));
      if (k % 3 == 2) {
        p = {TPoint2D(x, y), TPoint2D(x + w, y), TPoint2D(x, y + h)};
      } else {
        // Turned by half a turn about (x, y) as a fastener's outline is: its sides off the grid by the sine's
        // rounding.
        const double a = k % 3 == 1 ? M_PI : 0.0, c = std::cos(a), s = std::sin(a);
        for (const auto& [u, v] : {std::pair{0.0, 0.0}, {w, 0.0}, {w, h}, {0.0, h}})
          p.push_back(TPoint2D(x + c * u - s * v, y + s * u + c * v));
      }
      Stand(front, m, p, sheet);
    }
    TFrontModeler f(m);
    for (int n = 0; n < 40; ++n) {
      const double x1 = grid(6), y1 = grid(6), x2 = grid(6), y2 = n % 3 == 0 ? y1 : grid(6);
      const std::string what = "scene " + std::to_string(scene) + " line " + std::to_string(n) + ": " +
                               std::to_string(x1) + "," + std::to_string(y1) + " " + std::to_string(x2) + "," +
                               std::to_string(y2);
      const auto spans = front.Outside(m, x1, y1, x2, y2);
      m.Reset();
      f.drLine(x1, y1, x2, y2, 1);
      TPoint2D a, b;
      m.R2D().Transf2D.xyMtr(x1, y1, a.x, a.y);
      m.R2D().Transf2D.xyMtr(x2, y2, b.x, b.y);
      const double len = std::hypot(b.x - a.x, b.y - a.y);
      // What is drawn is what Outside tells, less pieces too short to be anything but a touch; a line nothing
      // cuts is drawn as it is, however short.
      std::vector<std::pair<double, double>> drawn;
      for (const auto& [lo, hi] : spans)
        if ((hi - lo) * len > 1e-6 || (lo == 0.0 && hi == 1.0)) drawn.push_back({lo, hi});
      ASSERT_EQ(m.Curves.size(), drawn.size()) << what;
      for (std::size_t k = 0; k < drawn.size(); ++k) {
        const TCurve& c = m.Curves[k];
        EXPECT_NEAR(c.x1, a.x + (b.x - a.x) * drawn[k].first, 1e-9) << what;
        EXPECT_NEAR(c.y1, a.y + (b.y - a.y) * drawn[k].first, 1e-9) << what;
        EXPECT_NEAR(c.x2, a.x + (b.x - a.x) * drawn[k].second, 1e-9) << what;
        EXPECT_NEAR(c.y2, a.y + (b.y - a.y) * drawn[k].second, 1e-9) << what;
      }
      if (!(len > 0)) continue;
      auto kept = [&](double t) {
        return std::any_of(spans.begin(), spans.end(),
                           [&](const auto& s) { return t >= s.first - 1e-9 && t <= s.second + 1e-9; });
      };
      for (int k = 0; k <= 400; ++k) {
        const double t = k / 400.0;
        const TPoint2D p(a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t);
        const double d = Deepest(p, sheet);
        if (d > 1e-6) {
          ASSERT_FALSE(kept(t)) << what << " shows t " << t << " inside a region";
        } else if (d < -1e-9) {
          ASSERT_TRUE(kept(t)) << what << " hides t " << t << " outside the regions";
        } else {
          // On an outline: drawn when the line runs along that region's edge and no other region holds or
          // touches the point (where one does, the line may enter it there).
          int along = 0, near = 0;
          for (const TPoly& r : sheet) {
            const double dr = Depth(p, r);
            if (std::fabs(dr) <= 1e-9 && AlongAnEdge(a, b, r))
              ++along;
            else if (dr > -1e-9)
              ++near;
          }
          if (along > 0 && near == 0) {
            ASSERT_TRUE(kept(t)) << what << " hides t " << t << " along an edge";
          }
        }
      }
    }
  }
}

// Arcs drawn in placements one after another, among them ones that differ only in the sign of a zero and one
// that mirrors, are cut as each is when drawn alone: what a set keeps of one placement serves no other.
TEST(FrontRegions, ArcsInPlacementsOneAfterAnotherCutAsAlone)
{
  struct TPlace
  {
    double x, y, a, s;
  };
  const TPlace places[] = {{0, 0, 0, 1}, {0, 0, -0.0, 1}, {3, -2, 180, 1}, {3, -2, -180, 1},
                           {1, 1, 90, 2}, {0, 0, 0, -1},   {-0.0, 0, 0, 1}};
  auto draw = [](TRecordingModeler& m, TFrontModeler& f, const TPlace& p, int k) {
    m.drMtr(p.x, p.y, p.a, p.s);
    // An arc across the region's corner, a circle's arc grazing it, one whose box meets the regions' and no
    // region, and one about the corner itself.
    f.drArc(0, 0, 5, 5, 0, 0, 5, 1, 1 + k % 2);
    f.drArc(4, 4, 1, 5, 4, 3, 4, -1, 1);
    f.drArc(-2, -2, 1, -1, -2, -2, -1, 1, 1);
    f.drArc(2, 2, 1.5, 3.5, 2, 2, 3.5, 1, 1);
    m.drDeleteMtr();
  };
  auto regions = [](TFrontRegions& front) {
    front.Box(2, 2, 6, 6);
    front.Box(-6, 2, -3, 6);
  };
  TRecordingModeler together;
  {
    TFrontRegions front(together);
    regions(front);
    TFrontModeler f(together);
    for (int round = 0; round < 2; ++round)
      for (int k = 0; k < int(std::size(places)); ++k)
        draw(together, f, places[k], k);
  }
  std::vector<std::vector<double>> alone;
  for (int round = 0; round < 2; ++round)
    for (int k = 0; k < int(std::size(places)); ++k) {
      TRecordingModeler m;
      TFrontRegions front(m);
      regions(front);
      TFrontModeler f(m);
      draw(m, f, places[k], k);
      const auto v = Numbers(m);
      alone.insert(alone.end(), v.begin(), v.end());
    }
  EXPECT_EQ(Numbers(together), alone);
}

// Hatches whose walls and regions lie on one grid: walls run exactly along regions' edges, regions end on the
// walls or at their corners, and close as the random scenes do; among them regions on the hatched side that
// only lie along a wall, crossing none: nothing closes along such a region, so its wall stays.
TEST(FrontRegions, HatchWallsAlongRegionEdgesOnAGrid)
{
  std::mt19937 rng(97);
  int alongOnlyScenes = 0;
  auto grid = [&](int lo, int hi) { return double(std::uniform_int_distribution<int>(lo, hi)(rng)); };
  for (int n = 0; n < 60; ++n) {
    // Shifted only: a turn would move the walls off the regions' edges by its rounding.
    TScene s{n % 2 ? grid(-5, 5) : 0.0, n % 2 ? grid(-5, 5) : 0.0, 0.0, 1.0, {}, {}};
    const double x1 = grid(-8, -4), y1 = grid(-8, -4), x2 = grid(4, 8), y2 = grid(4, 8);
    for (const auto& [a, b] : {std::pair{TPoint2D(x1, y1), TPoint2D(x2, y1)}, {TPoint2D(x2, y1), TPoint2D(x2, y2)},
                               {TPoint2D(x2, y2), TPoint2D(x1, y2)}, {TPoint2D(x1, y2), TPoint2D(x1, y1)}})
      s.boundary.push_back(Line(a.x, a.y, b.x, b.y));
    // A square hole.
    const double hx = grid(-2, 1), hy = grid(-2, 1), hs = grid(1, 2);
    for (const auto& [a, b] :
         {std::pair{TPoint2D(hx, hy), TPoint2D(hx, hy + hs)}, {TPoint2D(hx, hy + hs), TPoint2D(hx + hs, hy + hs)},
          {TPoint2D(hx + hs, hy + hs), TPoint2D(hx + hs, hy)}, {TPoint2D(hx + hs, hy), TPoint2D(hx, hy)}})
      s.boundary.push_back(Line(a.x, a.y, b.x, b.y));
    // Boxes starting on a wall or a corner of the outline or of the hole, some reaching across it.
    const double xs[] = {x1, x2, hx, hx + hs}, ys[] = {y1, y2, hy, hy + hs};
    for (int k = 0; k < 1 + n % 3; ++k) {
      const double bx = xs[int(grid(0, 3))], by = ys[int(grid(0, 3))];
      const double l = bx - grid(0, 3), r = bx + grid(0, 3), b = by - grid(0, 3), t = by + grid(0, 3);
      if (l == r || b == t) continue;
      s.regions.push_back({TPoint2D(l, b), TPoint2D(r, b), TPoint2D(r, t), TPoint2D(l, t)});
    }
    const bool alongOnly = std::any_of(s.regions.begin(), s.regions.end(), [&](const TPoly& r) {
      bool on = false, in = false;
      for (const TPiece& c : s.boundary)
        for (int k = 0; k <= 100; ++k) {
          const double d = Depth(c.At(k / 100.0), r);
          on = on || std::fabs(d) <= 1e-9;
          in = in || d > 1e-9;
        }
      double cx = 0, cy = 0;
      for (const TPoint2D& p : r)
        cx += p.x / 4, cy += p.y / 4;
      const bool hatched = cx > x1 && cx < x2 && cy > y1 && cy < y2 && !(cx > hx && cx < hx + hs && cy > hy && cy < hy + hs);
      return on && !in && hatched;
    });
    alongOnlyScenes += alongOnly;
    Check(s, "grid scene " + std::to_string(n));
  }
  EXPECT_GE(alongOnlyScenes, 3);
}

// A contour drawn as lines and then again as a hatch's boundary, the second time in the same placement or
// another, with or without a region added in between, cuts and closes as when only the second drawing is
// made: nothing one drawing worked out (a segment's pieces, the placement's frame) serves another drawing
// it does not fit.
TEST(FrontRegions, ADrawingAgainCutsAsAlone)
{
  std::mt19937 rng(515);
  auto grid = [&](int lo, int hi) { return double(std::uniform_int_distribution<int>(lo, hi)(rng)); };
  int cut = 0;
  for (int scene = 0; scene < 48; ++scene) {
    std::vector<std::array<double, 4>> boxes;
    for (int k = 0; k < 2 + scene % 3; ++k) {
      const double x = grid(-12, 8), y = grid(-12, 8);
      boxes.push_back({x, y, x + grid(1, 6), y + grid(1, 6)});
    }
    const std::array<double, 4> added{grid(-12, 8), grid(-12, 8), grid(9, 12), grid(9, 12)};
    const bool addLater = scene % 2 == 1;
    const std::array<double, 4> first{0, 0, 0, 1},
        second = scene % 4 < 2
                     ? first
                     : std::array<double, 4>{grid(-3, 3), grid(-3, 3), 90.0 * (scene % 3), 1.0 + scene % 2};
    // The contour (the square of side 20 about the origin, a diagonal and a quarter circle inside) drawn
    // through f: as lines, or the square as a hatch's boundary.
    auto contour = [](TRecordingModeler& m, TModeler3D& f, bool hatch) {
      if (hatch) m.drHatch(0, 45.0, 2.0);
      const double p[] = {-10, -10, 10, -10, 10, 10, -10, 10, -10, -10};
      for (int k = 0; k < 4; ++k)
        f.drLine(p[2 * k], p[2 * k + 1], p[2 * k + 2], p[2 * k + 3], 1);
      if (hatch) m.drEndObj();
      f.drLine(-10, -10, 10, 10, 2);
      f.drArc(0, 0, 8, 8, 0, 0, 8, 1, 2);
    };
    auto regions = [&](TFrontRegions& front, bool withAdded) {
      for (const auto& b : boxes)
        front.Box(b[0], b[1], b[2], b[3]);
      if (withAdded) front.Box(added[0], added[1], added[2], added[3]);
    };
    auto placed = [&](TRecordingModeler& m, TModeler3D& f, const std::array<double, 4>& at, bool hatch) {
      m.drMtr(at[0], at[1], at[2], at[3]);
      contour(m, f, hatch);
      m.drDeleteMtr();
    };
    TRecordingModeler again, alone, plain;
    {
      TFrontRegions front(again);
      regions(front, false);
      TFrontModeler f(again);
      placed(again, f, first, false);
      if (addLater) front.Box(added[0], added[1], added[2], added[3]);
      again.Reset();
      placed(again, f, second, true);
    }
    {
      TFrontRegions front(alone);
      regions(front, addLater);
      TFrontModeler f(alone);
      placed(alone, f, second, true);
    }
    TFrontModeler f(plain);
    placed(plain, f, second, true);
    // Boxes on the grid may lie along a wall only, which leaves a hatch open as it does alone: closing is
    // checked elsewhere; here the two drawings must agree, and be more than the contour uncut.
    EXPECT_EQ(Numbers(again), Numbers(alone)) << "scene " << scene;
    cut += Numbers(again) != Numbers(plain);
  }
  EXPECT_GE(cut, 24);
}

// Outlines of few and of many corners, given either way round and placed, stop segments exactly where a
// clip of the segment by each edge's half-plane says (worked out in the frame drawn in: a placement keeps
// the parameters along a segment).
TEST(FrontRegions, OutlinesOfFewAndManyCornersCutExactly)
{
  std::mt19937 rng(11);
  std::uniform_real_distribution<double> unit(-1.0, 1.0);
  for (const int n : {3, 5, 8, 9, 12, 20})
    for (const bool clockwise : {false, true}) {
      TRecordingModeler m;
      m.drMtr(2.0, -3.0, 25.0, 1.5);
      TPoly poly;
      for (int k = 0; k < n; ++k) {
        const double a = (clockwise ? -1.0 : 1.0) * 2 * M_PI * k / n + 0.2;
        poly.push_back(TPoint2D(0.5 + 2.0 * std::cos(a), -0.3 + 2.0 * std::sin(a)));
      }
      TFrontRegions front(m);
      front.Polygon(poly);
      for (int i = 0; i < 200; ++i) {
        // Through a point well inside (or, for a quarter of them, so far away that the segment misses), in
        // any direction.
        const bool away = i % 4 == 0;
        const double px = 0.5 + unit(rng) * (away ? 0.2 : 1.0) + (away ? 9.0 : 0.0), py = -0.3 + unit(rng);
        const double a = M_PI * unit(rng), dx = 6.0 * std::cos(a), dy = 6.0 * std::sin(a);
        const double x1 = px - dx, y1 = py - dy, x2 = px + dx, y2 = py + dy;
        double t0 = 0.0, t1 = 1.0;
        for (int k = 0; k < n; ++k) {
          const TPoint2D &p = poly[k], &q = poly[(k + 1) % n];
          // The side of the outline's inside, as the corners run.
          const auto side = [&](double x, double y) {
            return (clockwise ? -1.0 : 1.0) * ((q.x - p.x) * (y - p.y) - (q.y - p.y) * (x - p.x));
          };
          const double s1 = side(x1, y1), s2 = side(x2, y2);
          if (s1 < 0 && s2 < 0)
            t0 = 1.0, t1 = 0.0;
          else if (s1 < 0)
            t0 = std::max(t0, s1 / (s1 - s2));
          else if (s2 < 0)
            t1 = std::min(t1, s1 / (s1 - s2));
        }
        const auto got = front.Outside(m, x1, y1, x2, y2);
        if (t0 >= t1) {
          ASSERT_EQ(got.size(), 1u) << n << " corners, segment " << i;
          EXPECT_EQ(got[0], std::make_pair(0.0, 1.0)) << n << " corners, segment " << i;
          continue;
        }
        ASSERT_FALSE(away) << n << " corners, segment " << i;
        ASSERT_EQ(got.size(), 2u) << n << " corners, segment " << i;
        EXPECT_EQ(got[0].first, 0.0);
        EXPECT_NEAR(got[0].second, t0, 1e-12) << n << " corners, segment " << i;
        EXPECT_NEAR(got[1].first, t1, 1e-12) << n << " corners, segment " << i;
        EXPECT_EQ(got[1].second, 1.0);
      }
    }
}

namespace {
// A plate above the axis with bands drawn over it (holes through it or into it from a face, which may share a
// wall or be drawn twice), drawn as one figure and each on its own, and a bolt in front of each hole or one
// across the plate's bottom.
struct TPlateScene
{
  double mx, my, ma, ms;
  double w, h, chamfer, fillet;
  struct TBand
  {
    double x1, y1, x2, y2;
    bool reversed;
  };
  std::vector<TBand> bands;
  int plateCode, holeCode;
  std::vector<TPoly> regions;
  // The bands drawn by a function instead, each in a placement of its own (turned a quarter).
  bool placed = false;
};

std::string Describe(const TPlateScene& s)
{
  std::string d = " plate " + std::to_string(s.w) + " x " + std::to_string(s.h) + " codes " +
                  std::to_string(s.plateCode) + " " + std::to_string(s.holeCode);
  for (const auto& b : s.bands)
    d += " band " + std::to_string(b.x1) + "," + std::to_string(b.y1) + " " + std::to_string(b.x2) + "," +
         std::to_string(b.y2);
  for (const auto& r : s.regions)
    d += " region " + std::to_string(r[0].x) + "," + std::to_string(r[0].y) + " " + std::to_string(r[2].x) +
         "," + std::to_string(r[2].y);
  return d;
}

// The hatch boundary the scene draws, on the sheet, with the holes cancelled or drawn apart.
std::vector<TCurve> PlateHatch(const TPlateScene& s, bool together, std::vector<TPoly>* sheet = nullptr)
{
  TRecordingModeler m;
  m.drMtr(s.mx, s.my, s.ma, s.ms);
  std::vector<TPoly> placed;
  {
    TFrontRegions front(m);
    for (const TPoly& r : s.regions)
      Stand(front, m, r, placed);
    TContDrawing plate(&m);
    const double w = s.w, h = s.h, c = s.chamfer;
    plate.Make(0, 2, dP(w, 2, dP(w, h - c, dP(w - c, h, dCLL(0, h, 0, 2, s.fillet)))));
    std::vector<std::unique_ptr<TContDrawing>> bands;
    for (const TPlateScene::TBand& b : s.bands) {
      bands.push_back(std::make_unique<TContDrawing>(&m));
      if (b.reversed)
        bands.back()->Make(b.x1, b.y1, dP(b.x1, b.y2, dP(b.x2, b.y2, dP(b.x2, b.y1, dP(b.x1, b.y1)))));
      else
        bands.back()->Make(b.x1, b.y1, dP(b.x2, b.y1, dP(b.x2, b.y2, dP(b.x1, b.y2, dP(b.x1, b.y1)))));
    }
    // Each band from its corner (x1, y1), its x along the placement's -y and its y along its x.
    auto placed = [&](TModeler3D& on) {
      for (const TPlateScene::TBand& b : s.bands) {
        const double u = b.y2 - b.y1, v = b.x1 - b.x2;
        const double p[] = {0, 0, 0, v, u, v, u, 0, 0, 0};
        on.drMtr(b.x1, b.y1, 90.0, 1.0);
        for (int k = 0; k < 4; ++k) {
          const int i = b.reversed ? 3 - k : k, d = b.reversed ? 0 : 1;
          on.drLine(p[2 * (i + 1 - d)], p[2 * (i + 1 - d) + 1], p[2 * (i + d)], p[2 * (i + d) + 1], 1);
        }
        on.drDeleteMtr();
      }
    };
    m.drHatch(0, 45.0, 2.0);
    if (s.placed) {
      if (together)
        plate.drContBlockWithHoles(s.plateCode, placed);
      else {
        plate.drContBlock(s.plateCode);
        placed(m);
      }
    } else if (together) {
      std::vector<std::pair<const TContDrawing*, int>> holes;
      for (const auto& b : bands)
        holes.push_back({b.get(), s.holeCode});
      // Up to three holes: the list is written out, as callers write theirs.
      holes.resize(3, {nullptr, 0});
      plate.drContBlockWithHoles(s.plateCode, {holes[0], holes[1], holes[2]});
    } else {
      plate.drContBlock(s.plateCode);
      for (const auto& b : bands)
        b->drContBlock(s.holeCode);
    }
    m.drEndObj();
  }
  if (sheet) *sheet = placed;
  return m.HatchBoundary(0);
}
} // namespace

// Bands drawn over a plate's faces cancel the pieces of the faces they run over, in pairs as the even-odd
// rule has them: the hatch covers what the plate and its bands drawn apart cover, less the bolts that cut it;
// it is closed, and no two of its lines run along one another unless two holes share a wall.
TEST(FigureHoles, BandsOverFacesCancelAsTheEvenOddRuleHas)
{
  std::mt19937 rng(8122026);
  auto u = [&](double a, double b) { return std::uniform_real_distribution<double>(a, b)(rng); };
  int shared = 0, twice = 0, withBolts = 0;
  for (int n = 0; n < 150; ++n) {
    TPlateScene s{u(-40, 40),
                  u(-40, 40),
                  n % 3 == 0 ? 0.0 : u(0, 360),
                  u(0.5, 2.0),
                  u(12, 30),
                  u(10, 20),
                  u(0, 1) < 0.5 ? 0.0 : u(0.5, 2),
                  u(0, 1) < 0.5 ? 0.0 : u(0.5, 2),
                  {},
                  0,
                  0,
                  {}};
    const int bands = 1 + int(u(0, 3));
    for (int k = 0; k < bands; ++k) {
      // From a face through or into the plate, or within it; its top at the plate's top now and then.
      const double x1 = u(0, 1) < 0.6 ? 0.0 : u(1, s.w / 2), x2 = u(0, 1) < 0.6 ? s.w : u(s.w / 2, s.w - 1);
      double y1 = u(3, s.h - 4), y2 = u(0, 1) < 0.15 ? s.h : y1 + u(0.5, 3);
      const double kind = u(0, 1);
      if (k > 0 && kind < 0.2) { // on the last one's wall
        y1 = s.bands.back().y2, y2 = y1 + u(0.5, 2);
        ++shared;
      }
      if (k > 0 && kind > 0.85) { // the last one again
        s.bands.push_back(s.bands.back());
        s.bands.back().reversed = !s.bands.back().reversed;
        ++twice;
        continue;
      }
      s.bands.push_back({x1, y1, x2, y2, u(0, 1) < 0.5});
    }
    s.plateCode = u(0, 1) < 0.5 ? 30 : 10;
    s.holeCode = s.plateCode == 10 ? 10 : (u(0, 1) < 0.5 ? 30 : 20);
    // Placed bands are drawn above the axis only.
    s.placed = n % 4 == 1;
    if (s.placed) s.holeCode = 10;
    if (u(0, 1) < 0.4) {
      ++withBolts;
      // A bolt in the first hole, narrower than it, or one across the plate's bottom face.
      const TPlateScene::TBand& b = s.bands[0];
      const double r = (std::min(b.y2, s.h) - b.y1) / 3, my = (s.holeCode == 20 ? -1 : 1) * (b.y1 + 1.5 * r);
      if (u(0, 1) < 0.5)
        s.regions.push_back({{b.x1 - 3, my - r}, {b.x2 + 3, my - r}, {b.x2 + 3, my + r}, {b.x1 - 3, my + r}});
      else
        s.regions.push_back({{s.w / 3, 0}, {s.w / 2, 0}, {s.w / 2, 3}, {s.w / 3, 3}});
    }
    const std::string what = "scene " + std::to_string(n);
    std::vector<TPoly> sheet;
    TPlateScene bare = s;
    bare.regions.clear();
    const std::vector<TCurve> got = PlateHatch(s, true, &sheet), apart = PlateHatch(bare, false);
    ASSERT_TRUE(EveryEndMet(got)) << what;
    std::vector<std::vector<TPoint2D>> received, drawn;
    for (const TCurve& c : got)
      received.push_back(Along(c, 64));
    for (const TCurve& c : apart)
      drawn.push_back(Along(c, 64));
    double x1 = 1e300, y1 = 1e300, x2 = -1e300, y2 = -1e300;
    for (const auto& l : drawn)
      for (const TPoint2D& p : l)
        x1 = std::min(x1, p.x), y1 = std::min(y1, p.y), x2 = std::max(x2, p.x), y2 = std::max(y2, p.y);
    auto near = [&](const TPoint2D& p, const std::vector<TCurve>& curves) {
      return std::any_of(curves.begin(), curves.end(), [&](const TCurve& c) { return ToCurve(p, c) < 1e-3; });
    };
    for (int k = 0; k < 400; ++k) {
      const TPoint2D p(u(x1, x2), u(y1, y2));
      double depth = -1e300;
      for (const TPoly& r : sheet)
        depth = std::max(depth, Depth(p, r));
      if (std::fabs(depth) < 1e-3 || near(p, got) || near(p, apart)) continue;
      ASSERT_EQ(Enclosed(p, received), Enclosed(p, drawn) && depth < 0.0)
          << what << ": at " << p.x << ", " << p.y << " depth " << depth << Describe(s) << " apart "
          << Enclosed(p, drawn);
    }
    // Nothing along anything else, but where two holes share a wall.
    if (s.regions.empty() && shared == 0)
      for (std::size_t i = 0; i < got.size(); ++i)
        for (std::size_t j = i + 1; j < got.size(); ++j) {
          const TCurve &a = got[i], &b = got[j];
          if (a.Kind != TCurve::Line || b.Kind != TCurve::Line || std::hypot(b.x2 - b.x1, b.y2 - b.y1) < 1e-6)
            continue;
          const TPoint2D pa(a.x1, a.y1), qa(a.x2, a.y2);
          const double len = std::hypot(a.x2 - a.x1, a.y2 - a.y1);
          if (ToSegment(TPoint2D(b.x1, b.y1), pa, qa) > 1e-6 &&
              ToSegment(TPoint2D(b.x2, b.y2), pa, qa) > 1e-6)
            continue;
          const TPoint2D mid((b.x1 + b.x2) / 2, (b.y1 + b.y2) / 2);
          ASSERT_FALSE(len > 1e-6 && ToSegment(mid, pa, qa) < 1e-7 &&
                       ToSegment(TPoint2D(b.x1, b.y1), pa, qa) < 1e-7 &&
                       ToSegment(TPoint2D(b.x2, b.y2), pa, qa) < 1e-7)
              << what << ": " << b.x1 << ", " << b.y1 << " - " << b.x2 << ", " << b.y2 << " along another";
        }
  }
  // Each kind of scene came up.
  EXPECT_GT(shared, 5);
  EXPECT_GT(twice, 5);
  EXPECT_GT(withBolts, 20);
}

// A figure whose holes run along none of its lines draws what its programs draw apart, line for line.
TEST(FigureHoles, HolesAlongNothingDrawAsApart)
{
  auto draw = [](bool together) {
    TRecordingModeler m;
    TContDrawing plate(&m), hole(&m);
    plate.Make(0, 2, dP(20, 2, dP(20, 10, dA(10, 10, 10, 0, 10, dP(0, 2)))));
    hole.Make(5, 4, dP(15, 4, dP(15, 6, dP(5, 6, dP(5, 4)))));
    m.drHatch(0, 45.0, 2.0);
    if (together) {
      plate.drContBlockWithHoles(30, {{&hole, 30}});
    } else {
      plate.drContBlock(30);
      hole.drContBlock(30);
    }
    m.drEndObj();
    std::vector<std::vector<double>> v = Numbers(m);
    std::sort(v.begin(), v.end());
    return v;
  };
  EXPECT_EQ(draw(true), draw(false));
}

// A boundary's lines that no region cuts wait for its end: drawn whole, as drawn, if nothing cut the boundary
// (even in a placement gone by then), clipped with the rest if something did, and drawn when the regions go
// with the boundary still open.
TEST(FrontRegions, LinesNothingCutsWaitForTheBoundarysEnd)
{
  const double square[] = {-10, -10, 10, -10, 10, 10, -10, 10, -10, -10};
  auto lines = [](const TRecordingModeler& m) {
    return std::count_if(m.Curves.begin(), m.Curves.end(),
                         [](const TCurve& c) { return c.Kind == TCurve::Line; });
  };
  for (const bool cut : {false, true})
    for (const bool gone : {false, true}) {
      SCOPED_TRACE(std::string(cut ? "cut" : "whole") + (gone ? ", regions gone first" : ""));
      TRecordingModeler m;
      m.drMtr(3.0, -2.0, 30.0, 1.5);
      std::vector<TPoint2D> drawn; // the square's corners on the sheet, as drawn
      std::optional<TFrontRegions> front(std::in_place, m);
      front->Box(20, -1, 24, 1);         // away from the square
      if (cut) front->Box(8, -1, 12, 1); // across its right side
      TFrontModeler f(m);
      m.drHatch(0, 45.0, 2.0);
      for (int k = 0; k < 4; ++k) {
        // The top side in a placement of its own, gone before the boundary ends.
        if (k == 2) m.drMtr(0.0, 10.0, 0.0, 1.0);
        const double dy = k == 2 ? -10.0 : 0.0;
        f.drLine(square[2 * k], square[2 * k + 1] + dy, square[2 * k + 2], square[2 * k + 3] + dy, 1);
        TPoint2D p;
        m.R2D().Transf2D.xyMtr(square[2 * k], square[2 * k + 1] + dy, p.x, p.y);
        drawn.push_back(p);
        if (k == 2) m.drDeleteMtr();
      }
      // Only the right side, cut, is drawn at once (its two pieces).
      EXPECT_EQ(lines(m), cut ? 2 : 0);
      if (gone) front.reset();
      m.drEndObj();
      front.reset();
      const std::vector<TCurve> got = m.HatchBoundary(0);
      ASSERT_TRUE(EveryEndMet(got));
      // Whole sides arrive exactly as drawn: the corners on the sheet are ends of what arrived.
      for (const TPoint2D& p : drawn)
        EXPECT_TRUE(std::any_of(got.begin(), got.end(),
                                [&](const TCurve& c) {
                                  return (std::fabs(c.x1 - p.x) < 1e-12 && std::fabs(c.y1 - p.y) < 1e-12) ||
                                         (std::fabs(c.x2 - p.x) < 1e-12 && std::fabs(c.y2 - p.y) < 1e-12);
                                }))
            << p.x << ", " << p.y;
      // Four sides, the right one in two pieces, and the region's three edges inside the square closing it.
      EXPECT_EQ(got.size(), cut ? 4u + 1u + 3u : 4u);
    }
}

// A hatch's side that runs along a region's outline and then through a region made later, in a cluster of its
// own, is cut as one drawn whole at once: the piece along the first region waits and goes, as that region
// (one the hatch closes along: it overlaps the one that cuts) covers the hatched side and the outside lies on
// the other. Drawn at once, the piece would stay, its ends open.
TEST(FrontRegions, ACutSideRunsAlongTheRegionsBeforeTheOneThatCutsIt)
{
  TRecordingModeler m;
  {
    TFrontRegions front(m);
    front.Box(2, 8, 4, 10);    // inside the square, along its top side
    front.Box(50, 50, 51, 51); // far away: the next one starts a cluster of its own
    front.Box(4, 9, 8, 11);    // across the top side, its box meeting the first's
    TFrontModeler f(m);
    m.drHatch(0, 45.0, 2.0);
    const double p[] = {0, 0, 10, 0, 10, 10, 0, 10, 0, 0};
    for (int k = 0; k < 4; ++k)
      f.drLine(p[2 * k], p[2 * k + 1], p[2 * k + 2], p[2 * k + 3], 1);
    m.drEndObj();
  }
  const std::vector<TCurve> got = m.HatchBoundary(0);
  ASSERT_TRUE(EveryEndMet(got));
  for (const TCurve& c : got)
    EXPECT_FALSE(c.Kind == TCurve::Line && c.y1 == 10 && c.y2 == 10 && std::max(c.x1, c.x2) > 2 + 1e-9 &&
                 std::min(c.x1, c.x2) < 4 - 1e-9)
        << c.x1 << " - " << c.x2;
  std::vector<std::vector<TPoint2D>> received;
  for (const TCurve& c : got)
    received.push_back(Along(c, 16));
  EXPECT_FALSE(Enclosed(TPoint2D(3, 9.5), received));
  EXPECT_TRUE(Enclosed(TPoint2D(3, 7.5), received));
}

// Sets standing on two modellers at once stop the lines drawn on each at its own regions only, whichever set
// was made last: each modeller finds the set standing on it.
TEST(FrontRegions, SetsOnTwoModellersStopEachItsOwnLines)
{
  TRecordingModeler a, b;
  TFrontRegions onA(a);
  onA.Box(-1, -5, 1, 5);
  TFrontRegions onB(b);
  onB.Box(4, -5, 6, 5);
  for (TRecordingModeler* m : {&a, &b}) {
    TContDrawing program(m);
    program.Make(-10, 0, dP(10, 0));
    program.dr2D(1);
    TFrontModeler f(*m);
    f.drLine(-10, 1, 10, 1, 1);
  }
  for (const auto& [m, lo] : {std::pair{&a, -1.0}, std::pair{&b, 4.0}}) {
    ASSERT_EQ(m->Curves.size(), 4u);
    for (int k = 0; k < 4; k += 2) {
      EXPECT_EQ(m->Curves[k].x2, lo);
      EXPECT_EQ(m->Curves[k + 1].x1, lo + 2);
    }
  }
}
