// The sheet layout's geometric questions against a plain reading of them on many random scenes.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <random>
#include <vector>

#include "hxcadkit/adapter/drModelerAPI.h"

namespace {

constexpr double SheetDeg = 3.14159265358979323846 / 180.0;

using TOutline = std::array<double, 4>;

// Every chord of the arc, a degree or less, against every outline: more than a millimetre of chords
// whose middles lie within 2 mm of an outline, between its ends, turned less than a tenth (as a sine)
// off it.
bool ArcAlongByEveryChord(const std::vector<TOutline>& outlines, double X, double Y, double a1, double a2,
                          double r)
{
  const int n = std::clamp(int(std::ceil(std::fabs(a2 - a1))), 1, 360);
  double along = 0;
  for (int i = 0; i < n; ++i) {
    const double a = (a1 + (a2 - a1) * i / n) * SheetDeg, b = (a1 + (a2 - a1) * (i + 1) / n) * SheetDeg;
    const double px = X + r * std::cos(a), py = Y + r * std::sin(a), qx = X + r * std::cos(b),
                 qy = Y + r * std::sin(b), mx = (px + qx) / 2, my = (py + qy) / 2, ux = qx - px, uy = qy - py;
    const double len = std::hypot(ux, uy);
    bool on = false;
    for (const TOutline& g : outlines) {
      const double gx = g[2] - g[0], gy = g[3] - g[1], gl = std::hypot(gx, gy);
      if (!(gl > 0) || !(len > 0) || std::fabs(gx * uy - gy * ux) >= 0.1 * gl * len) continue;
      const double t = ((mx - g[0]) * gx + (my - g[1]) * gy) / (gl * gl);
      on = on || (t >= 0 && t <= 1 && std::fabs((mx - g[0]) * gy - (my - g[1]) * gx) / gl < 2);
    }
    if (on) along += len;
  }
  return along > 1;
}

// Outlines laid along arcs about the scene's vertices, at and around the 2 mm and 6 degree limits, beside
// outlines anywhere on the sheet and points drawn as outlines; arcs of every sweep, either way round.
TEST(SheetLayoutTest, AnArcAlongAnOutlineIsFoundAsByTryingEveryChordOnEveryOutline)
{
  std::mt19937 random(73);
  const auto uniform = [&random](double a, double b) {
    return std::uniform_real_distribution<double>(a, b)(random);
  };
  int along = 0, off = 0;
  for (int scene = 0; scene < 400; ++scene) {
    drApi::TSheetLayout layout;
    layout.Begin(420, 297, 200, 150, 0, 1);
    std::vector<TOutline> outlines;
    const auto add = [&](double x1, double y1, double x2, double y2) {
      layout.Outline(x1, y1, x2, y2);
      outlines.push_back({x1, y1, x2, y2});
    };
    const double X = uniform(30, 390), Y = uniform(20, 280);
    for (int k = 0, count = int(uniform(0, 12)); k < count; ++k) {
      // Touching a circle about the vertex, a little off it and a little turned.
      const double r = uniform(5, 120), at = uniform(0, 360) * SheetDeg, gap = uniform(-3, 3);
      const double turn = uniform(-9, 9) * SheetDeg, half = uniform(0.2, 20), shift = uniform(-half, half);
      const double cx = X + (r + gap) * std::cos(at), cy = Y + (r + gap) * std::sin(at);
      const double dx = -std::sin(at + turn), dy = std::cos(at + turn);
      add(cx + (shift - half) * dx, cy + (shift - half) * dy, cx + (shift + half) * dx,
          cy + (shift + half) * dy);
    }
    for (int k = 0, count = int(uniform(0, 30)); k < count; ++k) {
      const double x = uniform(0, 420), y = uniform(0, 297);
      if (k % 7 == 0)
        add(x, y, x, y);
      else
        add(x, y, x + uniform(-60, 60), y + uniform(-60, 60));
    }
    for (int arc = 0; arc < 20; ++arc) {
      const double a1 = uniform(-360, 360), a2 = a1 + uniform(-400, 400) * (arc % 4 == 0 ? 0.01 : 1);
      const double r = arc % 5 == 0 ? -uniform(5, 120) : uniform(0, 125);
      const bool expected = ArcAlongByEveryChord(outlines, X, Y, a1, a2, r);
      ASSERT_EQ(layout.ArcAlongOutline(X, Y, a1, a2, r), expected)
          << "scene " << scene << " arc " << a1 << " to " << a2 << " radius " << r;
      (expected ? along : off) += 1;
    }
  }
  // Both answers were asked for often enough to mean something.
  EXPECT_GT(along, 300);
  EXPECT_GT(off, 300);
}

} // namespace
