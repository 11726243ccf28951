// The node language and the transform stack against the raw modeller calls they end in.
// Subject: a 2D section of a large element set written in the node language, built and drawn
// every time, as the profile builders do: a toothed outline of 60 teeth (flank, tip arc, flank,
// root arc per tooth, with rounded root corners) and 8 bolts, each under its own placement and
// macro, drawn as built and mirrored (code 31) with their axis lines. Baseline: the same
// primitive calls, with the same arguments computed beforehand, made straight on the modeller.
// Both draw into a modeller that records nothing but a call count.
#include <benchmark/benchmark.h>

#include "bench/NullModeler.h"
#include "bench/RatioReporter.h"

#include <cmath>
#include <cstdio>
#include <vector>

#include "hxcadkit/drawing/drNodeCont.h"

namespace {

// Counts its primitive calls; with Keep set it also keeps their arguments for the baseline.
constexpr int Teeth = 60;
constexpr int Bolts = 8;

// The caller's own sizes, worked out once: per tooth the two tip points, the root corner and
// the next root point.
struct TTooth
{
  double tx1, ty1, tx2, ty2, rx, ry, nx, ny;
};

constexpr double Mod = 4, Pitch = Mod * Teeth / 2, Tip = Pitch + Mod, Root = Pitch - 1.25 * Mod;

const std::vector<TTooth>& Teeth60()
{
  static const std::vector<TTooth> teeth = [] {
    const double step = 360.0 / Teeth * TMathDef::DEGRAD, half = step / 4;
    std::vector<TTooth> t(Teeth);
    for (int k = 0; k < Teeth; ++k) {
      const double a = k * step;
      t[k] = {Tip * std::cos(a - half * 0.6),         Tip * std::sin(a - half * 0.6),
              Tip * std::cos(a + half * 0.6),         Tip * std::sin(a + half * 0.6),
              Root * std::cos(a + half * 1.2),        Root * std::sin(a + half * 1.2),
              Root * std::cos(a + step - half * 1.2), Root * std::sin(a + step - half * 1.2)};
    }
    return t;
  }();
  return teeth;
}

struct TBoltPlace
{
  double x, y, a;
};

const std::vector<TBoltPlace>& Places()
{
  static const std::vector<TBoltPlace> places = [] {
    std::vector<TBoltPlace> p;
    for (int b = 0; b < Bolts; ++b)
      p.push_back({Pitch * 0.6 * std::cos(b * 45 * TMathDef::DEGRAD),
                   Pitch * 0.6 * std::sin(b * 45 * TMathDef::DEGRAD), b * 45.0});
    return p;
  }();
  return places;
}

void DrawSet(TModeler3D& m)
{
  const std::vector<TTooth>& teeth = Teeth60();
  TContDrawing gear(&m);
  TNode* chain = nullptr;
  for (int k = Teeth - 1; k >= 0; --k) {
    const TTooth& t = teeth[k];
    chain = dP(t.tx1, t.ty1, dA(0, 0, Tip, t.tx2, t.ty2, dCLL(t.rx, t.ry, t.nx, t.ny, 0.3 * Mod, chain)));
  }
  gear.Make(teeth.back().nx, teeth.back().ny, chain);
  gear.drContBlock(0);

  // The bolts round a circle, each in its own frame.
  const double M = 16, L = 60, S = 24, H = 10, e = S / std::cos(30 * TMathDef::DEGRAD);
  for (const TBoltPlace& p : Places()) {
    m.drMtr(p.x, p.y, p.a, 1.0);
    m.drMacro2D(true);
    TContDrawing bolt(&m);
    bolt.Make(
        -H, 0,
        dP(-H, e / 2,
           dP(0, e / 2,
              dP(0, M / 2,
                 dPx(L - 0.1 * M, M / 2, dFsk(L, M / 2, L, 0, 0.1 * M, dPt0(-H, 0, dPnm(-H, e / 4))))))));
    bolt.drContBlock(31);
    m.drLine(-H - 2, 0, L + 2, 0, 3);
    m.drEndMacro();
    m.drDeleteMtr();
  }
}

std::vector<TNullModeler::TPrim>& Recorded()
{
  static std::vector<TNullModeler::TPrim> prims = [] {
    TNullModeler m;
    m.Keep = true;
    DrawSet(m);
    return m.Prims;
  }();
  return prims;
}

long NodeCalls = 0, RawCalls = 0;

// Out of line, so that neither side can see the modeller's type and skip the virtual calls.
[[gnu::noinline]] TModeler3D* NewModeler()
{
  return new TNullModeler;
}

void NodeLanguage(benchmark::State& state)
{
  TModeler3D* m = NewModeler();
  for (auto _ : state)
    DrawSet(*m);
  NodeCalls = static_cast<TNullModeler*>(m)->Calls / long(state.iterations());
  delete m;
}

void Raw(benchmark::State& state)
{
  const std::vector<TNullModeler::TPrim>& prims = Recorded();
  TModeler3D* modeler = NewModeler();
  TModeler3D& m = *modeler;
  for (auto _ : state)
    Replay(m, prims);
  RawCalls = static_cast<TNullModeler*>(modeler)->Calls / long(state.iterations());
  delete modeler;
}

BENCHMARK(NodeLanguage)->Unit(benchmark::kMicrosecond);
BENCHMARK(Raw)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
  benchmark::Initialize(&argc, argv);
  Recorded();
  TRatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  auto& t = reporter.NsPerIteration;
  if (t.count("NodeLanguage") && t.count("Raw")) {
    std::printf(
        "\n%d teeth and %d bolts, %ld primitive calls (raw %ld): node language %.1f us, raw calls %.1f us, "
        "ratio %.2f\n",
        Teeth, Bolts, NodeCalls, RawCalls, t["NodeLanguage"] / 1e3, t["Raw"] / 1e3,
        t["NodeLanguage"] / t["Raw"]);
  }
  benchmark::Shutdown();
  return 0;
}
