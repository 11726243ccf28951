// The polygon algorithms and the keep-out search against their natural baselines:
// - convex hull of 10^6 random points against Boost.Geometry's convex_hull;
// - minimal enclosing circle of the same points (the polyline's Welzl recursion) against a
//   plain incremental Welzl over the same points in the same order;
// - point in contour on a 1,000-member contour against Boost.Geometry's within;
// - the rectangle search of the keep-out zones with its four workers against the same search
//   testing the four corners one after another on the caller's thread, on growing grids.
#define BOOST_GEOMETRY_NO_ROBUSTNESS
#include <benchmark/benchmark.h>

#include "bench/FastestReporter.h"

#include <algorithm>
#include <boost/geometry.hpp>
#include <boost/geometry/geometries/multi_point.hpp>
#include <boost/geometry/geometries/point_xy.hpp>
#include <boost/geometry/geometries/polygon.hpp>
#include <cmath>
#include <cstdio>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "hxcadkit/geometry/Contour.h"
#include "hxcadkit/geometry/Protector.h"

namespace {

namespace bg = boost::geometry;
using BPoint = bg::model::d2::point_xy<double>;
using BPolygon = bg::model::polygon<BPoint, false>;

constexpr int Points = 1000000;
constexpr int Queries = 10000;
constexpr double Pi = TMathDef::C_PI;

struct TCloud
{
  TPolyLine L;
  bg::model::multi_point<BPoint> M;
  std::vector<TPoint2D> Plain; // the polyline's points in its order: both circles get the same input
  TCloud()
  {
    std::mt19937_64 rng(1);
    std::uniform_real_distribution<double> u(-1000, 1000);
    L.Points.SetSize(Points);
    for (int i = 0; i < Points; ++i) {
      const TPoint2D p(u(rng), u(rng));
      L.Points.Add(p);
      M.push_back(BPoint(p.x, p.y));
      Plain.push_back(p);
    }
  }
};

TCloud& Cloud()
{
  static TCloud c;
  return c;
}

void Hull(benchmark::State& state)
{
  for (auto _ : state) {
    TPolyLine H;
    Cloud().L.ConvexHull(H);
    benchmark::DoNotOptimize(H.Points.Count);
  }
}

void BoostHull(benchmark::State& state)
{
  for (auto _ : state) {
    BPolygon H;
    bg::convex_hull(Cloud().M, H);
    benchmark::DoNotOptimize(H.outer().size());
  }
}

void MinCircle(benchmark::State& state)
{
  for (auto _ : state) {
    TArrayOf<TPoint2D> R;
    TCircle c;
    Cloud().L.MinCircleWelzl(R, Cloud().L.Points.Count, c);
    benchmark::DoNotOptimize(c.Radius);
  }
}

// Welzl's algorithm in its plain incremental form: each point outside the circle so far
// rebuilds it with that point on the boundary.
struct TPlainCircle
{
  double x = 0, y = 0, r2 = -1;
  bool Holds(const TPoint2D& p) const { return (p.x - x) * (p.x - x) + (p.y - y) * (p.y - y) <= r2 * (1 + 1e-12); }
  static TPlainCircle Two(const TPoint2D& a, const TPoint2D& b)
  {
    TPlainCircle c{(a.x + b.x) / 2, (a.y + b.y) / 2, 0};
    c.r2 = (a.x - c.x) * (a.x - c.x) + (a.y - c.y) * (a.y - c.y);
    return c;
  }
  static TPlainCircle Three(const TPoint2D& a, const TPoint2D& b, const TPoint2D& c)
  {
    const double bx = b.x - a.x, by = b.y - a.y, cx = c.x - a.x, cy = c.y - a.y;
    const double d = 2 * (bx * cy - by * cx);
    if (d == 0) return Two(a, b);
    const double ux = (cy * (bx * bx + by * by) - by * (cx * cx + cy * cy)) / d;
    const double uy = (bx * (cx * cx + cy * cy) - cx * (bx * bx + by * by)) / d;
    return {a.x + ux, a.y + uy, ux * ux + uy * uy};
  }
};

TPlainCircle PlainWelzl(const std::vector<TPoint2D>& P)
{
  TPlainCircle c{P[0].x, P[0].y, 0};
  for (std::size_t i = 1; i < P.size(); ++i) {
    if (c.Holds(P[i])) continue;
    c = {P[i].x, P[i].y, 0};
    for (std::size_t j = 0; j < i; ++j) {
      if (c.Holds(P[j])) continue;
      c = TPlainCircle::Two(P[i], P[j]);
      for (std::size_t k = 0; k < j; ++k)
        if (!c.Holds(P[k])) c = TPlainCircle::Three(P[i], P[j], P[k]);
    }
  }
  return c;
}

double PlainRadius = 0;

void PlainMinCircle(benchmark::State& state)
{
  for (auto _ : state) {
    const TPlainCircle c = PlainWelzl(Cloud().Plain);
    PlainRadius = std::sqrt(c.r2);
    benchmark::DoNotOptimize(c.r2);
  }
}

// A star-shaped polygon of 1,000 segments, concave, and query points over its box.
struct TStar
{
  TContour C;
  BPolygon G;
  std::vector<TPoint2D> Q;
  TStar()
  {
    std::mt19937_64 rng(3);
    std::uniform_real_distribution<double> u(0, 1);
    std::vector<TPoint2D> P;
    for (int i = 0; i < 1000; ++i) {
      const double a = 2 * Pi * i / 1000, r = 100 * (0.5 + u(rng));
      P.emplace_back(r * std::cos(a), r * std::sin(a));
    }
    for (std::size_t i = 0; i < P.size(); ++i) {
      const TPoint2D& a = P[i];
      const TPoint2D& b = P[(i + 1) % P.size()];
      C.Add(new TLineSeg(a.x, a.y, b.x, b.y));
      G.outer().push_back(BPoint(a.x, a.y));
    }
    C.Refresh();
    bg::correct(G);
    for (int k = 0; k < Queries; ++k)
      Q.emplace_back(300 * (u(rng) - 0.5), 300 * (u(rng) - 0.5));
  }
};

TStar& Star()
{
  static TStar s;
  return s;
}

long OwnInside = -1, BoostInside = -1;

void FoundPoint(benchmark::State& state)
{
  for (auto _ : state) {
    long n = 0;
    for (const TPoint2D& q : Star().Q)
      n += Star().C.FoundPoint(q.x, q.y);
    OwnInside = n;
  }
}

void BoostWithin(benchmark::State& state)
{
  for (auto _ : state) {
    long n = 0;
    for (const TPoint2D& q : Star().Q)
      n += bg::within(BPoint(q.x, q.y), Star().G);
    BoostInside = n;
  }
}

// Zones: circles and squares scattered over the search region at the scale L.
void Zones(TProtector& P, double L)
{
  std::mt19937 rng(11);
  std::uniform_real_distribution<double> u(0, 1);
  for (int k = 0; k < 30; ++k) {
    auto* c = new TContour;
    const double x = L * u(rng), y = L * u(rng), r = L * (0.01 + 0.02 * u(rng));
    // Keep the middle free, so that a placement exists.
    if (std::hypot(x - L / 2, y - L / 2) < 0.25 * L) {
      delete c;
      continue;
    }
    if (k % 2) {
      c->Add(new TCircle(x, y, r));
    } else {
      c->Add(new TLineSeg(x - r, y - r, x + r, y - r));
      c->Add(new TLineSeg(x + r, y - r, x + r, y + r));
      c->Add(new TLineSeg(x + r, y + r, x - r, y + r));
      c->Add(new TLineSeg(x - r, y + r, x - r, y - r));
    }
    P.AddProtectContour(c);
  }
}

// The search of the protector with its corners tested one after another on this thread.
bool SequentialRectAngle(const TProtector& Z, const TRect2D& iO, double R, const TRect2D& PA, int Step,
                         double out[4], long& candidates)
{
  candidates = 0;
  const double s = Step;
  const TRect2D B(MinDivisible(iO.LD.x + R, s), MinDivisible(iO.LD.y + R, s), MaxDivisible(iO.RU.x - R, s),
                  MaxDivisible(iO.RU.y - R, s));
  const TRect2D P(MinDivisible(PA.LD.x, s), MinDivisible(PA.LD.y, s), MaxDivisible(PA.RU.x, s),
                  MaxDivisible(PA.RU.y, s));
  const TRect2D A(std::min(B.LD.x, P.LD.x), std::min(B.LD.y, P.LD.y), std::max(B.RU.x, P.RU.x),
                  std::max(B.RU.y, P.RU.y));
  // The candidate kept: the one sticking out of B least, the largest among equals.
  struct TKept
  {
    double stickOut, size;
  } kept{(B.RU.y - B.LD.y) * (B.RU.x - B.LD.x), 0};
  for (double xr = P.RU.x; xr <= A.RU.x; xr += s)
    for (double yu = P.RU.y; yu <= A.RU.y; yu += s)
      for (double yd = P.LD.y; yd >= A.LD.y; yd -= s)
        for (double xl = P.LD.x; xl >= A.LD.x; xl -= s) {
          ++candidates;
          if (!Z.Admissible(xr, yu, R) || !Z.Admissible(xr, yd, R) || !Z.Admissible(xl, yu, R) ||
              !Z.Admissible(xl, yd, R))
            continue;
          const TKept c{(std::max(xr, B.RU.x) - std::min(xl, B.LD.x)) * (std::max(yu, B.RU.y) - std::min(yd, B.LD.y)),
                        (xr - xl) * (yu - yd)};
          const bool tie = std::fabs(kept.stickOut - c.stickOut) <= 2e-6;
          if (std::fabs(kept.size) <= 2e-6 || c.stickOut < kept.stickOut || (tie && kept.size < c.size)) {
            kept = c;
            out[0] = xl, out[1] = yd, out[2] = xr, out[3] = yu;
          }
        }
  return kept.size != 0.0;
}

// Grids of n steps per axis between the enclosed box and the preferred one, each way.
const int Grids[] = {4, 6, 8, 10};

struct TPlacement
{
  TProtector Z;
  TRect2D iO, PA;
  double R = 2;
  explicit TPlacement(int n) : iO(0, 0, 5.0 * n, 5.0 * n), PA(1.5 * n, 1.5 * n, 3.5 * n, 3.5 * n)
  {
    Zones(Z, 5.0 * n);
  }
};

bool SameResult = true;
std::map<int, long> Candidates;

void Place(benchmark::State& state, int n, bool workers)
{
  TPlacement p(n);
  double out[4] = {}, seq[4] = {};
  for (auto _ : state) {
    if (workers)
      benchmark::DoNotOptimize(p.Z.PlaceByRectAngle(p.iO, p.R, p.PA, out[0], out[1], out[2], out[3], 1, true));
    else
      benchmark::DoNotOptimize(SequentialRectAngle(p.Z, p.iO, p.R, p.PA, 1, seq, Candidates[n]));
  }
  if (workers) {
    p.Z.PlaceByRectAngle(p.iO, p.R, p.PA, out[0], out[1], out[2], out[3], 1, true);
    SequentialRectAngle(p.Z, p.iO, p.R, p.PA, 1, seq, Candidates[n]);
    SameResult = SameResult && std::equal(out, out + 4, seq);
  }
}

void Ratio(TFastestReporter& r, const char* what, const std::string& a, const std::string& b)
{
  auto& t = r.NsPerIteration;
  if (t.count(a) && t.count(b))
    std::printf("%-44s %12.3f ms against %12.3f ms: ratio %.2f\n", what, t[a] / 1e6, t[b] / 1e6, t[a] / t[b]);
}

} // namespace

BENCHMARK(Hull)->Unit(benchmark::kMillisecond);
BENCHMARK(BoostHull)->Unit(benchmark::kMillisecond);
BENCHMARK(MinCircle)->Unit(benchmark::kMillisecond);
BENCHMARK(PlainMinCircle)->Unit(benchmark::kMillisecond);
BENCHMARK(FoundPoint)->Unit(benchmark::kMillisecond);
BENCHMARK(BoostWithin)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
  for (int n : Grids) {
    benchmark::RegisterBenchmark(("Place4/" + std::to_string(n)).c_str(), Place, n, true)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark(("Place1/" + std::to_string(n)).c_str(), Place, n, false)
        ->Unit(benchmark::kMillisecond);
  }
  InitializeWithRepetitions(argc, argv, 3);
  TFastestReporter r;
  benchmark::RunSpecifiedBenchmarks(&r);
  std::printf("\nfastest repetitions:\n");
  Ratio(r, "convex hull, 10^6 points, vs Boost", "Hull", "BoostHull");
  Ratio(r, "minimal circle, 10^6 points, vs plain Welzl", "MinCircle", "PlainMinCircle");
  Ratio(r, "point in 1,000-segment contour, vs Boost", "FoundPoint", "BoostWithin");
  for (int n : Grids)
    Ratio(r, ("rectangle search, 4 workers vs 1, grid " + std::to_string(n)).c_str(),
          "Place4/" + std::to_string(n), "Place1/" + std::to_string(n));
  auto& t = r.NsPerIteration;
  const std::string first = "Place4/" + std::to_string(Grids[0]);
  for (int n : Grids)
    if (t.count(first) && t.count("Place4/" + std::to_string(n)))
      std::printf("rectangle search, 4 workers, grid %2d: %7ld candidates, %.1f x the time and %.1f x the "
                  "candidates of grid %d\n",
                  n, Candidates[n], t["Place4/" + std::to_string(n)] / t[first],
                  double(Candidates[n]) / double(Candidates[Grids[0]]), Grids[0]);
  TCircle c;
  TArrayOf<TPoint2D> R;
  Cloud().L.MinCircleWelzl(R, Cloud().L.Points.Count, c);
  std::printf("same answers: circle radius %.9f against %.9f; points inside %ld against %ld; placements %s\n",
              c.Radius, PlainRadius, OwnInside, BoostInside, SameResult ? "equal" : "DIFFERENT");
  benchmark::Shutdown();
  return 0;
}
