// Regions in front of a drawing: what they hide is cut exactly, and a hatch boundary they cut closes along
// their outline, checked against references of the test's own (dense sampling, even-odd over fine
// polygons) on random regions and boundaries in random placements.
#include <algorithm>
#include <cmath>
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
    for (const TPoly& r : s.regions) {
      front.Polygon(r);
      sheet.emplace_back();
      for (const TPoint2D& p : r) {
        TPoint2D q;
        m.R2D().Transf2D.xyMtr(p.x, p.y, q.x, q.y);
        sheet.back().push_back(q);
      }
    }
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
  for (int k = 0; k < 200; ++k) {
    const TPoint2D p(ux(rng), uy(rng));
    if (std::fabs(depth(p)) < 1e-2 || onReceived(p, 1e-2) ||
        std::any_of(samples.begin(), samples.end(),
                    [&](const TPoint2D& q) { return std::hypot(p.x - q.x, p.y - q.y) < 1e-2; }))
      continue;
    bool cut = false; // whether a region holding p holds a piece of the boundary
    for (const TPoly& r : sheet)
      if (Depth(p, r) > 0)
        cut = cut ||
              std::any_of(samples.begin(), samples.end(), [&](const TPoint2D& q) { return Depth(q, r) > 0; });
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
