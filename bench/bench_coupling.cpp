// The couplings' hot paths. A 2D rebuild (what every cursor move of a placement costs: the
// tables reloaded from the text base, the section drawn) against the floor of reading the
// text base's bytes; the section and view drawn into a drawing of the stand-in host against the
// same builds into a modeller that only counts (what the host modeller and the host add); a 3D
// build of the largest size with a modeller that makes nothing (the library's own time) and on
// the stand-in host; the parameter block's write and read against a copy of the same bytes; one
// confirmation of the 3D command (the build, the insertion into the user's assembly, its
// placement, specification entry, parameters and mate) against the build; the confirmation of the
// largest size of every catalogue row; a session of 100 3D builds in one host, its first builds against
// its last in time and in the host's live objects.
#include <benchmark/benchmark.h>

#include "bench/CouplingRows.h"
#include "bench/NullModeler.h"
#include "bench/RatioReporter.h"

#include <chrono>
#include <malloc.h>
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
#include "txhost/lib/Object.h"

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
  OnStandInHost("hxcad_bench_coupling", [&](txhost::Host&) {
    Largest();
    for (auto _ : state)
      benchmark::DoNotOptimize(Couplings.drCoupling(TString(MUVP), 0));
  });
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

// The 3D command's confirmation of a catalogue row (the argument) at the last size of its main table:
// what a user waits for after pressing Enter. Each confirmation inserts one more coupling into the
// same assembly, so the runs are short and fixed.
void ConfirmRow3D(benchmark::State& state)
{
  InAssembly([&](txhost::Object& face) {
    const int row = int(state.range(0));
    ControlModel.CouplingName = iCouplings[row].Name;
    RowSize(row, true);
    auto* command = new TpmCoupling3D();
    command->SelPlane = txapi::SmartPtr<txapi::IModelObject>::Attach(
        static_cast<txapi::IModelObject*>(face.QueryInterface(txapi::IModelObject::IID)));
    for (auto _ : state) {
      RowSize(row, true);
      benchmark::DoNotOptimize(command->ButtonClick(txapi::pbEnter));
    }
    delete command;
  });
}

// 100 builds of the largest toothed coupling in one host, as a long session makes them: the mean time
// of the first five and of the last five builds, and the host's live objects after each five.
constexpr int SessionBuilds = 100;

void Session3D(benchmark::State& state)
{
  Setup();
  const auto dir = std::filesystem::temp_directory_path() / "hxcad_bench_session";
  std::filesystem::create_directories(dir);
  double first = 0, last = 0;
  std::size_t objectsFirst = 0, objectsLast = 0, heapFirst = 0, heapLast = 0;
  {
    txhost::Host host;
    host.SetDocumentsFolder(dir);
    drApi::PControlModel = &ControlModel;
    drApi::MA.Init(host.Application(), "VUVudirido", "#Stamp - Regular");
    SetCouplingModeler(&drApi::MA);
    const int row = 3;
    for (auto _ : state) {
      first = last = 0;
      for (int i = 0; i < SessionBuilds; ++i) {
        RowSize(row, true);
        const auto t0 = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(iCouplings[row].Make(0));
        const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
        if (i < 5) first += ms / 5;
        if (i >= SessionBuilds - 5) last += ms / 5;
        if (i == 4) {
          objectsFirst = txhost::LiveObjectCount();
          heapFirst = mallinfo2().uordblks;
        }
      }
      objectsLast = txhost::LiveObjectCount();
      heapLast = mallinfo2().uordblks;
    }
    SetCouplingModeler(nullptr);
    drApi::PControlModel = nullptr;
  }
  std::filesystem::remove_all(dir);
  state.counters["first5_ms"] = first;
  state.counters["last5_ms"] = last;
  state.counters["objects_after_5"] = double(objectsFirst);
  state.counters["objects_after_100"] = double(objectsLast);
  state.counters["heap_MB_after_5"] = double(heapFirst) / 1e6;
  state.counters["heap_MB_after_100"] = double(heapLast) / 1e6;
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

// The toothed and the toroidal couplings, by catalogue row: a 2D rebuild of a mid size, and a 3D
// build of the largest size with a modeller that makes nothing (the library's own time).
struct TRowSize
{
  int Row;
  double M, d, Mid, dMid;
};
const TRowSize RowSizes[] = {{3, 25000, 140, 4000, 56}, {4, 25000, 140, 4000, 56}, {5, 3150, 80, 200, 32}};

const TRowSize& RowSize(const benchmark::State& state)
{
  for (const TRowSize& r : RowSizes)
    if (r.Row == state.range(0)) return r;
  return RowSizes[0];
}

void RowRebuild2D(benchmark::State& state)
{
  Setup();
  TNullModeler m;
  SetCouplingModeler(&m);
  const TRowSize& r = RowSize(state);
  ControlModel.M = r.Mid;
  ControlModel.P1d = ControlModel.P2d = r.dMid;
  ControlModel.T1 = 0;
  ControlModel.T2 = 2;
  for (auto _ : state)
    benchmark::DoNotOptimize(iCouplings[r.Row].Make(1));
  state.counters["primitives"] = double(m.Calls) / double(state.iterations());
  SetCouplingModeler(nullptr);
}

void RowBuild3DLibrary(benchmark::State& state)
{
  Setup();
  TNullModeler m;
  SetCouplingModeler(&m);
  const TRowSize& r = RowSize(state);
  for (auto _ : state) {
    ControlModel.M = r.M;
    ControlModel.P1d = ControlModel.P2d = r.d;
    ControlModel.T1 = ControlModel.T2 = 0;
    benchmark::DoNotOptimize(iCouplings[r.Row].Make(0));
  }
  state.counters["primitives"] = double(m.Calls) / double(state.iterations());
  SetCouplingModeler(nullptr);
}

BENCHMARK(RowRebuild2D)->Arg(3)->Arg(4)->Arg(5)->Unit(benchmark::kMicrosecond);
BENCHMARK(RowBuild3DLibrary)->Arg(3)->Arg(4)->Arg(5)->Unit(benchmark::kMicrosecond);

BENCHMARK(Rebuild2D)->Unit(benchmark::kMicrosecond);
BENCHMARK(ReadBaseBytes)->Unit(benchmark::kMicrosecond);
BENCHMARK(Draw2DNull)->Unit(benchmark::kMicrosecond);
BENCHMARK(Draw2DStandIn)->Unit(benchmark::kMicrosecond);
BENCHMARK(Build3DLibrary)->Unit(benchmark::kMicrosecond);
BENCHMARK(Build3DStandIn)->Unit(benchmark::kMicrosecond);
BENCHMARK(Confirm3D)->Unit(benchmark::kMicrosecond);
// One line per built catalogue row.
BENCHMARK_CAPTURE(RowBuild, Rebuild2D, 1)->Unit(benchmark::kMicrosecond)->DenseRange(1, 8);
BENCHMARK_CAPTURE(RowBuild, Build3DLibrary, 0)->Unit(benchmark::kMicrosecond)->DenseRange(1, 8);
BENCHMARK(ConfirmRow3D)->Unit(benchmark::kMillisecond)->DenseRange(1, 8)->Iterations(10);
BENCHMARK(Session3D)->Unit(benchmark::kMillisecond)->Iterations(1);
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
    for (const auto& [name, ns] : reporter.ByName)
      if (name.starts_with("ConfirmRow3D/"))
        std::printf("3D confirmation of row %s's largest size: %.1f ms (goal: under 20 ms)\n",
                    name.substr(13, name.find('/', 13) - 13).c_str(), ns / 1e6);
  });
}
