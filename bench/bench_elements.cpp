// The largest machine-element drawing of the couplings, a gear rim of 60 teeth and a flange with
// eight bolt sets (bolt, washer, nut, each mirrored and as built), drawn into a modeller that
// records nothing, against its floor: the same number of raw virtual drawing calls on that
// modeller. What lies between the two is the elements' own work: computing and checking the
// outlines, the node programs and the placement transforms.
#include <benchmark/benchmark.h>

#include "bench/RatioReporter.h"

#include <cmath>
#include <cstdio>

#include "hxcadkit/drawing/MathDetails.h"

namespace {

// Accepts every call and keeps nothing but a count of the primitives.
class TNullModeler : public TModeler3D
{
public:
  TNullModeler() : TModeler3D(new TRegistryModeler2D(Constraint), true) {}
  using TModeler3D::drArc;
  void drLine(const double&, const double&, const double&, const double&, int) override { ++Calls; }
  void drArc(const double&, const double&, const double&, const double&, const double&, const double&,
             const double&, int, int) override
  {
    ++Calls;
  }
  void drCircle(const double&, const double&, const double&, int) override { ++Calls; }
  void drEllipse(const double&, const double&, const double&, const double&, const double&, int) override
  {
    ++Calls;
  }
  void drView(int, const double&, const double&, const double&, const double&, const TString&) override {}
  void drAStView7(int, const double&, const double&, const double&, const double&, const TString&,
                  const TString&, const TString&) override
  {
  }
  void drSpcObject(TSectionSpc, const TString&, int, int) override {}

  long Calls = 0;

private:
  TConstraint2D Constraint;
};

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

long PrimitiveCalls()
{
  TNullModeler M;
  TCommonGeometry g(0, &M);
  DrawSet(g);
  return M.Calls;
}

void Elements(benchmark::State& state)
{
  TNullModeler M;
  TCommonGeometry g(0, &M);
  for (auto _ : state)
    DrawSet(g);
  benchmark::DoNotOptimize(M.Calls);
}

void RawCalls(benchmark::State& state)
{
  TNullModeler M;
  TModeler3D* m = &M;
  benchmark::DoNotOptimize(m); // keep the calls virtual, as the elements make them
  const long n = PrimitiveCalls();
  for (auto _ : state)
    for (long i = 0; i < n; ++i) {
      const double x = double(i), y = x * 0.5;
      m->drLine(x, y, y, x, 1);
    }
  benchmark::DoNotOptimize(M.Calls);
}

BENCHMARK(Elements)->Unit(benchmark::kMicrosecond);
BENCHMARK(RawCalls)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
  benchmark::Initialize(&argc, argv);
  TRatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  auto& t = reporter.NsPerIteration;
  if (t.count("Elements") && t.count("RawCalls")) {
    std::printf(
        "\ngear of 60 teeth and 8 bolt sets: %ld primitive calls; elements %.1f us, raw calls %.1f us, "
        "ratio %.2f\n",
        PrimitiveCalls(), t["Elements"] / 1e3, t["RawCalls"] / 1e3, t["Elements"] / t["RawCalls"]);
  }
  benchmark::Shutdown();
  return 0;
}
