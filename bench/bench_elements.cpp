// The largest machine-element drawing of the couplings, a gear rim of 60 teeth and a flange with
// eight bolt sets (bolt, washer, nut, each mirrored and as built), drawn into a modeller that
// records nothing, against its floor: the same primitive calls, with the arguments the elements
// computed, made straight on that modeller through its interface. What lies between the two is
// the elements' own work: computing and checking the outlines, the node programs and the
// placement transforms.
#include <benchmark/benchmark.h>

#include "bench/NullModeler.h"
#include "bench/RatioReporter.h"

#include <cmath>
#include <cstdio>
#include <vector>

#include "hxcadkit/drawing/MathDetails.h"

namespace {

// Accepts every call and keeps a count of the primitives; with Keep set also their arguments,
// for the baseline to replay.
void DrawSet(const TCommonGeometry& g)
{
  g.dr2D_GearsWheel_Ext_V2(0.0, 0.0, 0.0, 1.0, 2.5, 60.0, 0.4, 31, false);
  const double r = 110.0, flange = 18.0;
  for (int i = 0; i < 8; ++i) {
    const double y = r * std::sin(i * TMathDef::C_PI / 4.0);
    g.dr2D_Screw_V1(flange, y, 180.0, 1.0, 16.0, 2 * flange + 8.0 + 4.0, 20.0, 24.0, 10.0, 31, false);
    g.dr2D_Washer_V2(-flange, y, 180.0, 1.0, 17.0, 30.0, 3.0, 31, false);
    g.dr2D_Nut_V2(-flange - 3.0, y, 180.0, 1.0, 16.0, 24.0, 13.0, 31, false);
  }
}

// The primitive calls the set makes, with their arguments.
const std::vector<TNullModeler::TPrim>& Primitives()
{
  static const std::vector<TNullModeler::TPrim> prims = [] {
    TNullModeler M;
    M.Keep = true;
    DrawSet(TCommonGeometry(0, &M));
    return M.Prims;
  }();
  return prims;
}

void Elements(benchmark::State& state)
{
  TNullModeler M;
  TCommonGeometry g(0, &M);
  for (auto _ : state)
    DrawSet(g);
  benchmark::DoNotOptimize(M.Calls);
}

// The same calls with the same arguments, made straight on the modeller through its interface.
void RawCalls(benchmark::State& state)
{
  TNullModeler M;
  TModeler3D* m = &M;
  benchmark::DoNotOptimize(m); // keep the calls virtual, as the elements make them
  const std::vector<TNullModeler::TPrim>& prims = Primitives();
  for (auto _ : state)
    Replay(*m, prims);
  benchmark::DoNotOptimize(M.Calls);
}

BENCHMARK(Elements)->Unit(benchmark::kMicrosecond);
BENCHMARK(RawCalls)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
  return RunAndReport(argc, argv, [](TRatioReporter& reporter) {
    auto& t = reporter.NsPerIteration;
    if (t.count("Elements") && t.count("RawCalls")) {
      std::printf(
          "\ngear of 60 teeth and 8 bolt sets: %zu primitive calls; elements %.1f us, raw calls %.1f us, "
          "ratio %.2f\n",
          Primitives().size(), t["Elements"] / 1e3, t["RawCalls"] / 1e3, t["Elements"] / t["RawCalls"]);
    }
  });
}
