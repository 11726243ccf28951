// One move of the 2D coupling command's phantom on the stand-in host (the phantom group emptied, the
// coupling's section drawn into it again, the host's phantom updated) against drawing the section
// alone into a group, the floor a move cannot go under; the move at the largest size of every catalogue
// row.
#include <benchmark/benchmark.h>

#include "bench/CouplingRows.h"
#include "bench/RatioReporter.h"

#include <cstdio>
#include <filesystem>

#include "Duvozadu/ControlModel.h"
#include "Duvozadu/CplgGlobal.h"
#include "Duvozadu/pmCoupling2D.h"
#include "hxcadkit/adapter/drModelerAPI.h"
#include "txapi/IDrawingGroup.h"
#include "txapi/LibraryEntry.h"
#include "txhost/lib/Host.h"

namespace {

const char* const MUVP = "МУВП ГОСТ 21424-93";

// The library loaded into a host whose active document is a drawing drawn into through view 0.
template <class F> void InDrawing(F&& body)
{
  namespace fs = std::filesystem;
  const fs::path dir = fs::temp_directory_path() / "hxcad_bench_command2d";
  fs::create_directories(dir);
  fs::copy_file(fs::path(HXCAD_DUVOZADU_DATA) / "VUVudirido.tb", dir / "VUVudirido.tb",
                fs::copy_options::overwrite_existing);
  {
    txhost::Host host;
    host.SetDocumentsFolder(dir);
    host.SetCurrentLibraryPath(dir / "libVUVudirido.so");
    host.SetLibraryRecord(L"VUVudirido", dir / "libVUVudirido.so", L"#Stamp - Regular");
    LoadTavrixLibrary(host.Application(), host.Registrar());
    host.NewDocument(txapi::txDocumentDrawing, true);
    drApi::TRegistryApi& r = drApi::MA.R();
    r.IDoc = r.Tavrix7->GetActiveDocument();
    r.IDoc2D = r.IDoc;
    drApi::MA.drOpenView(0);
    ControlModel.CouplingName = TString(MUVP);
    ControlModel.M = 250;
    ControlModel.P1d = ControlModel.P2d = 35;
    ControlModel.TView = 0;
    body();
    drApi::MA.drEndGetPart(false);
    UnloadTavrixLibrary();
  }
  fs::remove_all(dir);
}

void Move2D(benchmark::State& state)
{
  InDrawing([&] {
    auto* command = new TpmCouplingBlock2D();
    double x = 0;
    for (auto _ : state)
      benchmark::DoNotOptimize(command->TProcessManager2D::PlacementChanged(x += 1, 50, 30, true));
    delete command;
  });
}

// The phantom move of a catalogue row (the argument) at the last size of its main table.
void MoveRow2D(benchmark::State& state)
{
  InDrawing([&] {
    const int row = int(state.range(0));
    ControlModel.CouplingName = iCouplings[row].Name;
    RowSize(row, true);
    auto* command = new TpmCouplingBlock2D();
    double x = 0;
    for (auto _ : state)
      benchmark::DoNotOptimize(command->TProcessManager2D::PlacementChanged(x += 1, 50, 30, true));
    delete command;
  });
}

void Draw2D(benchmark::State& state)
{
  InDrawing([&] {
    drApi::MA.drGroup(true);
    txapi::SmartPtr<txapi::IDrawingGroup> group = drApi::MA.R().Obj;
    drApi::MA.drEndGroup();
    for (auto _ : state) {
      group->Open(1);
      group->Reset();
      benchmark::DoNotOptimize(Couplings.drCoupling(TString(MUVP), 1));
      group->Close();
    }
  });
}

// Long runs: a move must cost the same at the three-hundredth time as at the first.
BENCHMARK(Move2D)->Unit(benchmark::kMillisecond)->Iterations(300);
BENCHMARK(Draw2D)->Unit(benchmark::kMillisecond)->Iterations(300);
BENCHMARK(MoveRow2D)->Unit(benchmark::kMillisecond)->Iterations(300)->DenseRange(0, 8);

} // namespace

int main(int argc, char** argv)
{
  return RunAndReport(argc, argv, [](TRatioReporter& reporter) {
    auto& t = reporter.NsPerIteration;
    if (t.count("Move2D") && t.count("Draw2D"))
      std::printf("\n2D phantom move against the drawing alone: %.3f ms against %.3f ms, ratio %.2f (goal: "
                  "under 2 ms)\n",
                  t["Move2D"] / 1e6, t["Draw2D"] / 1e6, t["Move2D"] / t["Draw2D"]);
    for (const auto& [name, ns] : reporter.ByName)
      if (name.starts_with("MoveRow2D/"))
        std::printf("2D phantom move of row %s's largest size: %.3f ms (goal: under 0.5 ms)\n",
                    name.substr(10, name.find('/', 10) - 10).c_str(), ns / 1e6);
  });
}
