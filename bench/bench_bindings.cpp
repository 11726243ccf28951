// Binding refresh per manipulator-like event: a dragged placement rewrites its 16 matrix elements, and
// every control bound to one of them shows the new value. Measured against the stand-in host with 64 and
// 256 bindings, against the floor of the same 16 control writes made directly through the host interface.
#include <cstdio>
#include <memory>
#include <vector>

#include "bench/RatioReporter.h"
#include "hxcadkit/commands/pmCommon.h"
#include "hxcadkit/commands/pmHost.h"
#include "txhost/lib/Host.h"

namespace {

// Iterations are fixed: every host call is logged on its control, so the logs grow with them.
constexpr int Events = 3000;

class TDragged : public TBaseManager3D
{
public:
  explicit TDragged(int bindings)
      : TBaseManager3D(TString("b"), TString(""), txapi::pnEnterEscHelp, 1, TString("t"), nullptr),
        Other(bindings)
  {
    for (int k = 0; k < 16; ++k)
      Edits.push_back(AddEditValue(TString("m"), TString(""), M.V[k], false));
    for (int k = 16; k < bindings; ++k)
      AddEditValue(TString("o"), TString(""), Other[std::size_t(k)], false);
  }
  TMtr3D M;
  std::vector<double> Other;
  std::vector<txapi::SmartPtr<txapi::IPropertyEdit>> Edits;
};

struct TBench
{
  explicit TBench(int bindings)
  {
    H.NewDocument(txapi::txDocumentAssembly, true);
    drApi::MA.R().Tavrix7 = &H.Application();
    Command = std::make_unique<TDragged>(bindings);
  }
  ~TBench()
  {
    Command.reset();
    CommandHost.Release();
    drApi::MA.R().Tavrix7 = nullptr;
  }
  txhost::Host H;
  std::unique_ptr<TDragged> Command;
};

void Refresh(benchmark::State& state)
{
  TBench b(int(state.range(0)));
  TDragged& c = *b.Command;
  double step = 0;
  for (auto _ : state) {
    step += 1;
    for (int k = 0; k < 16; ++k) {
      c.M.V[k] = step + k;
      c.APropertyVariable.ChangeValue(&c.M.V[k], true, false, nullptr, -1);
    }
  }
}

void Floor(benchmark::State& state)
{
  TBench b(int(state.range(0)));
  TDragged& c = *b.Command;
  double step = 0;
  for (auto _ : state) {
    step += 1;
    for (int k = 0; k < 16; ++k) {
      c.M.V[k] = step + k;
      txapi::IPropertyEdit& e = *c.Edits[std::size_t(k)];
      e.SetRealValue(c.M.V[k]);
      e.SetVisible(true);
      e.SetEnabled(true);
    }
  }
}

BENCHMARK(Refresh)->Arg(64)->Arg(256)->Iterations(Events)->Unit(benchmark::kMicrosecond);
BENCHMARK(Floor)->Arg(64)->Arg(256)->Iterations(Events)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
  return RunAndReport(argc, argv, [](TRatioReporter& reporter) {
    auto& t = reporter.ByName;
    for (const char* n : {"64", "256"}) {
      const std::string r = std::string("Refresh/") + n + "/iterations:3000";
      const std::string f = std::string("Floor/") + n + "/iterations:3000";
      if (t.count(r) && t.count(f))
        std::printf(
            "%s bindings: %.1f us per event (goal under 100 us), direct host writes %.1f us, ratio %.2f\n", n,
            t[r] / 1e3, t[f] / 1e3, t[r] / t[f]);
    }
  });
}
