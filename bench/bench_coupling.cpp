// The couplings' hot paths. A 2D rebuild (what every cursor move of a placement costs: the
// tables reloaded from the text base, the section drawn) against the floor of reading the
// text base's bytes; the section and view drawn into a drawing of the stand-in host against the
// same builds into a modeller that only counts (what the host modeller and the host add); a 3D
// build of the largest size with a modeller that makes nothing (the library's own time) and on
// the stand-in host; the parameter block's write and read against a copy of the same bytes; one
// confirmation of the 3D command (the build, the insertion into the user's assembly, its
// placement, specification entry, parameters and mate) against the build.
#include <benchmark/benchmark.h>

#include "bench/NullModeler.h"
#include "bench/RatioReporter.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "Duvozadu/ControlModel.h"
#include "Duvozadu/CplgGlobal.h"
#include "Duvozadu/pmCoupling3D.h"
#include "hxcadkit/adapter/drModelerAPI.h"
#include "hxcadkit/core/TextBase.h"
#include "txapi/LibraryEntry.h"
#include "txhost/lib/Host.h"
#include "txhost/lib/Model.h"

namespace {

const char* const MUVP = "МУВП ГОСТ 21424-93";

void Setup()
{
  static bool done = TextBase.Init(TString(HXCAD_DUVOZADU_DATA), TString("VUVudirido.tb"));
  (void)done;
}

// The largest size of the table.
void Largest()
{
  ControlModel.M = 16000;
  ControlModel.P1d = ControlModel.P2d = 160;
  ControlModel.T1 = ControlModel.T2 = 0;
}

void Rebuild2D(benchmark::State& state)
{
  Setup();
  TNullModeler m;
  SetCouplingModeler(&m);
  ControlModel.M = 31.5;
  ControlModel.P1d = ControlModel.P2d = 16;
  for (auto _ : state)
    benchmark::DoNotOptimize(Couplings.drCoupling(TString(MUVP), 1));
  state.counters["primitives"] = double(m.Calls) / double(state.iterations());
  SetCouplingModeler(nullptr);
}

// Section and view of a mid-size coupling, as the 2D command redraws them.
void SectionAndView()
{
  Couplings.drCoupling(TString(MUVP), 1);
  Couplings.drCoupling(TString(MUVP), 2);
}

void MidSize()
{
  ControlModel.M = 250;
  ControlModel.P1d = ControlModel.P2d = 35;
  ControlModel.T1 = 0;
  ControlModel.T2 = 2;
}

void Draw2DNull(benchmark::State& state)
{
  Setup();
  TNullModeler m;
  SetCouplingModeler(&m);
  MidSize();
  for (auto _ : state)
    SectionAndView();
  state.counters["primitives"] = double(m.Calls) / double(state.iterations());
  SetCouplingModeler(nullptr);
}

void Draw2DStandIn(benchmark::State& state)
{
  Setup();
  txhost::Host host;
  drApi::PControlModel = &ControlModel;
  drApi::MA.Init(host.Application(), "VUVudirido", "#Stamp - Regular");
  SetCouplingModeler(&drApi::MA);
  MidSize();
  drApi::TRegistryApi& r = drApi::MA.R();
  std::int64_t drawn = 0;
  for (auto _ : state) {
    // A fresh drawing now and then, so that no document grows without bound.
    if (drawn++ % 64 == 0) {
      state.PauseTiming();
      txhost::Object* doc = host.NewDocument(txapi::txDocumentDrawing, false);
      r.IDoc2D = txapi::SmartPtr<txapi::ITavrixDocument2D>::Attach(
          static_cast<txapi::ITavrixDocument2D*>(doc->QueryInterface(txapi::ITavrixDocument2D::IID)));
      drApi::MA.drOpenView(0);
      state.ResumeTiming();
    }
    SectionAndView();
  }
  state.counters["objects"] = double(host.Objects().size()) / double(state.iterations());
  SetCouplingModeler(nullptr);
  drApi::MA.drEndGetPart(false);
  r.Tavrix7 = nullptr;
  r.TavrixError.reset();
  drApi::PControlModel = nullptr;
}

void ReadBaseBytes(benchmark::State& state)
{
  const std::string path = std::string(HXCAD_DUVOZADU_DATA) + "VUVudirido.tb";
  for (auto _ : state) {
    std::ifstream f(path, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
    benchmark::DoNotOptimize(bytes.data());
  }
}

void Build3DLibrary(benchmark::State& state)
{
  Setup();
  TNullModeler m;
  SetCouplingModeler(&m);
  Largest();
  for (auto _ : state)
    benchmark::DoNotOptimize(Couplings.drCoupling(TString(MUVP), 0));
  SetCouplingModeler(nullptr);
}

void Build3DStandIn(benchmark::State& state)
{
  Setup();
  const auto dir = std::filesystem::temp_directory_path() / "hxcad_bench_coupling";
  std::filesystem::create_directories(dir);
  {
    txhost::Host host;
    host.SetDocumentsFolder(dir);
    drApi::PControlModel = &ControlModel;
    drApi::MA.Init(host.Application(), "VUVudirido", "#Stamp - Regular");
    SetCouplingModeler(&drApi::MA);
    Largest();
    for (auto _ : state)
      benchmark::DoNotOptimize(Couplings.drCoupling(TString(MUVP), 0));
    SetCouplingModeler(nullptr);
    drApi::PControlModel = nullptr;
  }
  std::filesystem::remove_all(dir);
}

// The library loaded into a host whose active assembly has one planar face, from a folder that
// holds the library's data.
template <class F> void InAssembly(F&& body)
{
  namespace fs = std::filesystem;
  const fs::path dir = fs::temp_directory_path() / "hxcad_bench_confirm";
  fs::create_directories(dir);
  for (const char* f : {"VUVudirido.tb", "PhCoupling.tpt"})
    fs::copy_file(fs::path(HXCAD_DUVOZADU_DATA) / f, dir / f, fs::copy_options::overwrite_existing);
  {
    txhost::Host host;
    host.SetDocumentsFolder(dir);
    host.SetCurrentLibraryPath(dir / "libVUVudirido.so");
    host.SetLibraryRecord(L"VUVudirido", dir / "libVUVudirido.so", L"#Stamp - Regular");
    LoadTavrixLibrary(host.Application(), host.Registrar());
    txhost::Object* assembly = host.NewDocument(txapi::txDocumentAssembly, true);
    txhost::Object& face =
        txhost::model::NewObject(host, txhost::model::Face, *host.TopPart(*assembly), txapi::o3d_face);
    face.Set("surface", "plane");
    drApi::MA.drGetPart(pNew_Part, txapi::txDocumentAssembly);
    ControlModel.CouplingName = TString(MUVP);
    Largest();
    body(face);
    drApi::MA.drEndGetPart(false);
    UnloadTavrixLibrary();
    SetCouplingModeler(nullptr);
    drApi::PControlModel = nullptr;
  }
  fs::remove_all(dir);
}

void Confirm3D(benchmark::State& state)
{
  InAssembly([&](txhost::Object& face) {
    auto* command = new TpmCoupling3D();
    command->SelPlane = txapi::SmartPtr<txapi::IModelObject>::Attach(
        static_cast<txapi::IModelObject*>(face.QueryInterface(txapi::IModelObject::IID)));
    for (auto _ : state)
      benchmark::DoNotOptimize(command->ButtonClick(txapi::pbEnter));
    delete command;
  });
}

// A catalogue row (the benchmark's argument) at the first or the last size of its main table.
void RowSize(int row, bool last)
{
  std::unique_ptr<TTable> t(TextBase.GetTable(TString(iCouplings[row].LTable[1])));
  const double* A = t ? t->Row(last ? t->CountRow - 1 : 0) : nullptr;
  if (!A) return;
  ControlModel.M = A[0];
  ControlModel.P1d = ControlModel.P2d = A[t->Control];
  ControlModel.T1 = ControlModel.T2 = 0;
}

// The row's build in a mode: the section at its first size, the 3D model at its last.
void RowBuild(benchmark::State& state, int mode)
{
  Setup();
  TNullModeler m;
  SetCouplingModeler(&m);
  const int row = int(state.range(0));
  RowSize(row, mode == 0);
  const TString name = iCouplings[row].Name;
  for (auto _ : state)
    benchmark::DoNotOptimize(Couplings.drCoupling(name, mode));
  state.counters["primitives"] = double(m.Calls) / double(state.iterations());
  SetCouplingModeler(nullptr);
}

void BlockRoundTrip(benchmark::State& state)
{
  TControlModelCoupling a, b;
  a.CouplingName = TString(MUVP);
  a.StandartName = TString("ГОСТ 21424-93");
  std::vector<std::uint8_t> v;
  for (auto _ : state) {
    a.to(v);
    benchmark::DoNotOptimize(b.from(v));
  }
}

void BlockMemcpy(benchmark::State& state)
{
  TControlModelCoupling a;
  a.CouplingName = TString(MUVP);
  a.StandartName = TString("ГОСТ 21424-93");
  std::vector<std::uint8_t> v, w;
  a.to(v);
  w.resize(v.size());
  for (auto _ : state) {
    std::memcpy(w.data(), v.data(), v.size());
    benchmark::DoNotOptimize(w.data());
    benchmark::ClobberMemory();
  }
}

BENCHMARK(Rebuild2D)->Unit(benchmark::kMicrosecond);
BENCHMARK(ReadBaseBytes)->Unit(benchmark::kMicrosecond);
BENCHMARK(Draw2DNull)->Unit(benchmark::kMicrosecond);
BENCHMARK(Draw2DStandIn)->Unit(benchmark::kMicrosecond);
BENCHMARK(Build3DLibrary)->Unit(benchmark::kMicrosecond);
BENCHMARK(Build3DStandIn)->Unit(benchmark::kMicrosecond);
BENCHMARK(Confirm3D)->Unit(benchmark::kMicrosecond);
// One line per built catalogue row.
BENCHMARK_CAPTURE(RowBuild, Rebuild2D, 1)->Unit(benchmark::kMicrosecond)->DenseRange(1, 5)->Arg(8);
BENCHMARK_CAPTURE(RowBuild, Build3DLibrary, 0)->Unit(benchmark::kMicrosecond)->DenseRange(1, 5)->Arg(8);
BENCHMARK(BlockRoundTrip);
BENCHMARK(BlockMemcpy);

} // namespace

int main(int argc, char** argv)
{
  return RunAndReport(argc, argv, [](TRatioReporter& reporter) {
    auto& t = reporter.NsPerIteration;
    auto ratio = [&](const char* what, const char* a, const char* b) {
      if (t.count(a) && t.count(b))
        std::printf("%s: %.1f us against %.1f us, ratio %.2f\n", what, t[a] / 1e3, t[b] / 1e3, t[a] / t[b]);
    };
    std::printf("\n");
    ratio("2D rebuild against reading the text base's bytes", "Rebuild2D", "ReadBaseBytes");
    ratio("section and view into a stand-in drawing against a counting modeller", "Draw2DStandIn",
          "Draw2DNull");
    ratio("3D build of the largest size on the stand-in against the library alone", "Build3DStandIn",
          "Build3DLibrary");
    ratio("3D confirmation against the build on the stand-in (goal: under 100 ms)", "Confirm3D",
          "Build3DStandIn");
    ratio("parameter block to+from against memcpy", "BlockRoundTrip", "BlockMemcpy");
    // The rows by their full names.
    for (const auto& [name, ns] : reporter.ByName)
      if (name.starts_with("RowBuild/")) t[name] = ns;
    for (int row = 1; row < CountCoupling; ++row) {
      const std::string r = std::to_string(row);
      ratio(("2D rebuild of row " + r + " against the sleeve-and-pin coupling's (goal: well under 1 ms)")
                .c_str(),
            ("RowBuild/Rebuild2D/" + r).c_str(), "Rebuild2D");
      ratio(("3D build of row " + r +
             "'s largest size against the sleeve-and-pin coupling's (goal: under 50 ms)")
                .c_str(),
            ("RowBuild/Build3DLibrary/" + r).c_str(), "Build3DLibrary");
    }
  });
}
