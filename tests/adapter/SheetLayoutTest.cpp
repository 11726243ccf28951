// The sheet layout's geometric questions against a plain reading of them on many random scenes.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <random>
#include <vector>

#include "hxcadkit/adapter/drModelerAPI.h"
#include "hxcadkit/adapter/drSheetMeasures.h"

namespace {

constexpr double SheetDeg = 3.14159265358979323846 / 180.0;

using TOutline = std::array<double, 4>;

// Numbers drawn evenly between a and b.
struct TUniform
{
  std::mt19937 Random;
  double operator()(double a, double b) { return std::uniform_real_distribution<double>(a, b)(Random); }
};

// Every chord of the arc, a degree or less, against every outline: more than a millimetre of chords
// whose middles lie within 2.1 mm of an outline (2, and a tenth for the chords it is drawn in), between
// its ends, turned less than a tenth (as a sine) off it.
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
      on = on || (t >= 0 && t <= 1 && std::fabs((mx - g[0]) * gy - (my - g[1]) * gx) / gl < 2.1);
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

// Texts, values and signs kept while a sheet settles, added, moved, the sheet shifted, some far off it or
// with a corner that is not a number: the cells find every one a box meets, each once, as asking every one
// does.
TEST(SheetLayoutTest, KeptQuadsAskedByCellsAreEveryOneABoxMeetsEachOnce)
{
  using drApi::TSheetLayout;
  TUniform uniform{std::mt19937(86)};
  std::mt19937& random = uniform.Random;
  const auto quad = [&] {
    const double w = uniform(0.01, 60);
    TSheetLayout::TQuad q = drApi::sheet::Turned(uniform(-40, 460), uniform(-40, 340), uniform(0, 360), 0, 0,
                                                 w, uniform(0.01, 20));
    if (random() % 40 == 0) q.X[random() % 4] = NAN;
    if (random() % 40 == 0) q = drApi::sheet::Rect(-1e6, -1e6, -1e6, -1e6);
    return q;
  };
  int met = 0;
  for (int scene = 0; scene < 30; ++scene) {
    TSheetLayout::TQuads quads;
    std::vector<TSheetLayout::TQuad> plain;
    quads.Cover(420, 297);
    for (int step = 0; step < 400; ++step) {
      const unsigned what = random() % 20;
      if (what < 8 || plain.empty()) {
        plain.push_back(quad());
        quads.push_back(plain.back());
      } else if (what < 14) {
        const std::size_t i = random() % plain.size();
        plain[i] = quad();
        quads.Set(i, plain[i]);
      } else if (what == 14) {
        const double dx = uniform(-30, 30), dy = uniform(-30, 30);
        for (TSheetLayout::TQuad& q : plain)
          for (int k = 0; k < 4; ++k)
            q.X[k] += dx, q.Y[k] += dy;
        quads.Shift(dx, dy);
      } else if (what == 15) {
        quads.Cover(uniform(200, 1200), uniform(150, 900));
      }
      ASSERT_EQ(quads.size(), plain.size());
      const TSheetLayout::TQuad q = quad();
      const drApi::sheet::TAgainst against(q);
      std::vector<int> asked(plain.size());
      quads.Any(against.Box(), [&](std::size_t i) { return ++asked[i], false; });
      for (std::size_t i = 0; i < plain.size(); ++i) {
        ASSERT_LE(asked[i], 1) << "scene " << scene << " step " << step << " quad " << i;
        const bool meets = drApi::sheet::Overlap(q, plain[i]);
        ASSERT_TRUE(!meets || asked[i] == 1) << "scene " << scene << " step " << step << " quad " << i;
        met += meets;
      }
    }
  }
  EXPECT_GT(met, 500);
}

// A sign's outline moved along a leader against a value: at every move within the stretch found, however
// near its ends, the two meet; a value where the sign stands at some move has that move within it.
TEST(SheetLayoutTest, AQuadMovedWithinItsMeetingMovesMeetsTheOther)
{
  using drApi::TSheetLayout;
  TUniform uniform{std::mt19937(87)};
  int found = 0;
  for (int scene = 0; scene < 2000; ++scene) {
    const double turn = uniform(0, 360), ux = std::cos(uniform(0, 360) * SheetDeg);
    const double uy = (scene % 2 == 0 ? 1 : -1) * std::sqrt(1 - ux * ux), x = uniform(20, 400),
                 y = uniform(20, 280);
    const TSheetLayout::TQuad a = drApi::sheet::Turned(x, y, turn, -2.5, 0.05, uniform(1, 25), uniform(1, 14));
    const TSheetLayout::TQuad b =
        drApi::sheet::Turned(x + uniform(-30, 30), y + uniform(-30, 30), uniform(0, 360), 0, 0, uniform(0.5, 20),
                             3.5);
    const auto moved = [&](double d) {
      TSheetLayout::TQuad m = a;
      for (int k = 0; k < 4; ++k)
        m.X[k] += ux * d, m.Y[k] += uy * d;
      return m;
    };
    const auto [lo, hi] = drApi::sheet::MeetingMoves(a, ux, uy, b);
    if (lo < hi) {
      ++found;
      const double from = std::max(lo, -200.0), to = std::min(hi, 200.0);
      for (const double d : {from + 2e-6, to - 2e-6, (from + to) / 2, uniform(from, to)}) {
        if (!(d > lo && d < hi)) continue;
        ASSERT_TRUE(drApi::sheet::Overlap(moved(d), b)) << "scene " << scene << " move " << d;
      }
    }
    // The value over the sign's own middle at some move: that move is one where they surely meet.
    const double d0 = uniform(-50, 50);
    const TSheetLayout::TQuad m = moved(d0);
    const double cx = (m.X[0] + m.X[2]) / 2, cy = (m.Y[0] + m.Y[2]) / 2;
    const auto [lo0, hi0] =
        drApi::sheet::MeetingMoves(a, ux, uy, drApi::sheet::Turned(cx, cy, uniform(0, 360), -1, -0.5, 1, 0.5));
    ASSERT_TRUE(lo0 < d0 && d0 < hi0) << "scene " << scene << " move " << d0;
  }
  EXPECT_GT(found, 300);
}

// The cells leave out only what a quad's measure would never find meeting it: asked once against many, a
// quad meets a segment or another quad exactly where Overlap says it does, touching, a hair apart, far
// off or with a corner that is not a number; and only one whose box lies apart from the quad's is apart.
TEST(SheetLayoutTest, AQuadAskedAgainstManyMeetsExactlyWhatOverlapSays)
{
  using drApi::TSheetLayout;
  TUniform uniform{std::mt19937(88)};
  const double odd[] = {NAN, INFINITY, -INFINITY, 1e300};
  int meeting = 0;
  for (int scene = 0; scene < 20000; ++scene) {
    TSheetLayout::TQuad q = drApi::sheet::Turned(uniform(0, 50), uniform(0, 50), uniform(0, 360), 0, 0,
                                                 uniform(0, 20), uniform(0, 10));
    if (scene % 97 == 0) q.Y[scene % 4] = odd[scene % 4];
    const drApi::sheet::TAgainst against(q);
    const std::array<double, 4> box = against.Box();
    // A segment from a corner of q (touching it) or anywhere, some a hair off an edge.
    const int k = scene % 4;
    const double gap = scene % 3 == 0 ? uniform(-1e-3, 1e-3) : 0;
    std::array<double, 4> g{q.X[k] + gap, q.Y[k] - gap, uniform(-10, 60), uniform(-10, 60)};
    if (scene % 5 == 0) g = {uniform(-10, 60), uniform(-10, 60), uniform(-10, 60), uniform(-10, 60)};
    if (scene % 89 == 0) g[scene % 4] = odd[(scene / 89) % 4];
    const double gx[2] = {g[0], g[2]}, gy[2] = {g[1], g[3]};
    const bool meets = drApi::sheet::Overlap(q.X, q.Y, 4, gx, gy, 2);
    ASSERT_EQ(against.Meets(g), meets) << "scene " << scene;
    const TSheetLayout::TQuad b =
        drApi::sheet::Turned(uniform(-10, 60), uniform(-10, 60), uniform(0, 360), 0, 0, uniform(0, 20), 3.5);
    ASSERT_EQ(against.Meets(b), drApi::sheet::Overlap(q, b)) << "scene " << scene;
    // What meets lies within a micrometre of its box.
    const std::array<double, 4> span = drApi::sheet::Span(b);
    if (std::isfinite(box[0]) && drApi::sheet::Overlap(q, b)) {
      ASSERT_FALSE(span[2] + 1e-6 < box[0] || span[0] - 1e-6 > box[2] || span[3] + 1e-6 < box[1] ||
                   span[1] - 1e-6 > box[3])
          << "scene " << scene;
    }
    meeting += meets;
  }
  EXPECT_GT(meeting, 2000);
}

// The free place for a box is the nearest move of the grid that frees it, the first of equally near ones in
// the grid's order (across, then up), as trying every move and keeping only a nearer one finds it: on
// sheets crowded with texts, and with moves refused besides.
TEST(SheetLayoutTest, AFreeMoveIsTheNearestOfTheGridAsTryingEveryMoveFindsIt)
{
  using drApi::TSheetLayout;
  TUniform uniform{std::mt19937(29)};
  constexpr double Step = 2, Reach = 20;
  const int ni = int(std::lround(Reach / Step)), nj = int(std::lround(0.7 * Reach / Step));
  int moved = 0;
  for (int scene = 0; scene < 60; ++scene) {
    TSheetLayout layout;
    layout.Begin(297, 210, 0, 0, 0, 1);
    for (int k = 0; k < 40; ++k) {
      const double x = uniform(20, 280), y = uniform(70, 200);
      layout.Occupy(drApi::sheet::Rect(x, y, x + uniform(2, 30), y + uniform(2, 10)));
    }
    const double x = uniform(40, 250), y = uniform(80, 180), w = uniform(5, 25), h = uniform(3, 8);
    // Some moves refused, the same ones whenever asked.
    const unsigned refusing = unsigned(scene % 3);
    const auto also = [refusing](double mx, double my) {
      return refusing == 0 || (unsigned(std::lround(3 * mx + 7 * my + 100)) % (refusing + 2)) != 0;
    };
    // Whether the move (mx, my) alone frees the box.
    const auto frees = [&](double mx, double my) {
      double dx, dy;
      return layout.FreeMove(x, y, x + w, y + h, dx, dy, [&](double ax, double ay) { return ax == mx && ay == my; },
                             Step, Reach) &&
             dx == mx && dy == my;
    };
    double best = -1, bx = 0, by = 0;
    for (int i = -ni; i <= ni; ++i)
      for (int j = -nj; j <= nj; ++j) {
        const double mx = Step * i, my = Step * j, d = std::sqrt(mx * mx + my * my);
        if ((best < 0 || d < best) && also(mx, my) && frees(mx, my)) best = d, bx = mx, by = my;
      }
    double dx = -1, dy = -1;
    const bool found = layout.FreeMove(x, y, x + w, y + h, dx, dy, also, Step, Reach);
    ASSERT_EQ(found, best >= 0) << "scene " << scene;
    EXPECT_EQ(dx, found ? bx : 0) << "scene " << scene;
    EXPECT_EQ(dy, found ? by : 0) << "scene " << scene;
    moved += found && (bx != 0 || by != 0);
  }
  EXPECT_GT(moved, 20);
}

} // namespace
