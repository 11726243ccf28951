// The solid evaluator on the largest size of every coupling: building the parts' solids and checking the
// components against each other (a fresh evaluator each time, nothing cached), against the 3D build of the
// same coupling on the stand-in host, which only records the features. Goal: the toothed couplings within
// 5 s each in Release on one core.
#include <benchmark/benchmark.h>

#include "bench/CouplingRows.h"
#include "bench/RatioReporter.h"

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "Duvozadu/ControlModel.h"
#include "Duvozadu/CplgGlobal.h"
#include "hxcadkit/adapter/drModelerAPI.h"
#include "hxcadkit/core/TextBase.h"
#include "txhost/lib/Host.h"
#include "txhost/solid/Evaluator.h"

namespace {

// The last (largest) row of the catalogue row's main table.
bool LastRow(int row)
{
  static bool ready = TextBase.Init(TString(HXCAD_DUVOZADU_DATA), TString("VUVudirido.tb"));
  return ready && RowSize(row, true);
}

// The coupling of the row built on a stand-in host; body(host, built) runs with the host still up.
template <class F> void OnStandIn(int row, F&& body)
{
  OnStandInHost("hxcad_bench_solid_" + std::to_string(row), [&](txhost::Host& host) { body(host, LastRow(row)); });
}

void Build3D(benchmark::State& state)
{
  const int row = int(state.range(0));
  OnStandIn(row, [&](txhost::Host&, bool ready) {
    for (auto _ : state)
      benchmark::DoNotOptimize(ready && Couplings.drCoupling(iCouplings[row].Name, 0));
  });
}

void Evaluate(benchmark::State& state)
{
  const int row = int(state.range(0));
  OnStandIn(row, [&](txhost::Host& host, bool ready) {
    txhost::Object* doc = ready && Couplings.drCoupling(iCouplings[row].Name, 0)
                              ? host.OpenDocument(ControlModel.Detail3D(0).Utf8Text(), false)
                              : nullptr;
    if (doc == nullptr) {
      state.SkipWithError("the coupling was not built");
      return;
    }
    double faults = 0;
    for (auto _ : state) {
      txhost::solid::TEvaluator evaluator(host);
      txhost::solid::TDocumentResult r;
      std::string error;
      benchmark::DoNotOptimize(evaluator.Evaluate(*doc, r, error));
      faults = double(txhost::solid::TEvaluator::Faults(r).size());
    }
    state.counters["faults"] = faults;
  });
}

} // namespace

BENCHMARK(Build3D)->DenseRange(0, CountCoupling - 1)->Unit(benchmark::kMillisecond);
BENCHMARK(Evaluate)->DenseRange(0, CountCoupling - 1)->Unit(benchmark::kMillisecond)->Iterations(1);

int main(int argc, char** argv)
{
  return RunAndReport(argc, argv, [](TRatioReporter& reporter) {
    std::printf("\n");
    for (int row = 0; row < CountCoupling; ++row) {
      const std::string r = std::to_string(row);
      auto& t = reporter.ByName;
      const std::string a = "Evaluate/" + r + "/iterations:1", b = "Build3D/" + r;
      if (t.count(a) && t.count(b))
        std::printf("row %d (%s): evaluation %.0f ms against the stand-in's build %.1f ms, ratio %.0f\n", row,
                    iCouplings[row].Name.Utf8Text().c_str(), t[a] / 1e6, t[b] / 1e6, t[a] / t[b]);
    }
  });
}
