// One confirmation of the 3D coupling command on the stand-in host (the coupling built, its
// assembly inserted into the user's, placed, entered in the specification, given its parameters
// and mated to a picked face) against the build alone, the floor a confirmation cannot go under.
#include <benchmark/benchmark.h>

#include "bench/RatioReporter.h"

#include <cstdio>
#include <filesystem>

#include "Duvozadu/ControlModel.h"
#include "Duvozadu/CplgGlobal.h"
#include "Duvozadu/pmCoupling3D.h"
#include "hxcadkit/adapter/drModelerAPI.h"
#include "txapi/LibraryEntry.h"
#include "txhost/lib/Host.h"
#include "txhost/lib/Model.h"

namespace {

const char* const MUVP = "МУВП ГОСТ 21424-93";

// The library loaded into a host whose active assembly has one planar face, from a folder that
// holds the library's data.
template <class F> void InAssembly(F&& body)
{
  namespace fs = std::filesystem;
  const fs::path dir = fs::temp_directory_path() / "hxcad_bench_command3d";
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
    txhost::Object& face = txhost::model::NewObject(host, txhost::model::Face, *host.TopPart(*assembly), txapi::o3d_face);
    face.Set("surface", "plane");
    drApi::MA.drGetPart(pNew_Part, txapi::txDocumentAssembly);
    ControlModel.CouplingName = TString(MUVP);
    ControlModel.M = 31.5;
    ControlModel.P1d = ControlModel.P2d = 16;
    body(face);
    drApi::MA.drEndGetPart(false);
    UnloadTavrixLibrary();
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

void Build3D(benchmark::State& state)
{
  InAssembly([&](txhost::Object&) {
    for (auto _ : state)
      benchmark::DoNotOptimize(Couplings.drCoupling(TString(MUVP), 0));
  });
}

BENCHMARK(Confirm3D)->Unit(benchmark::kMillisecond);
BENCHMARK(Build3D)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
  benchmark::Initialize(&argc, argv);
  TRatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  auto& t = reporter.NsPerIteration;
  if (t.count("Confirm3D") && t.count("Build3D"))
    std::printf("\n3D confirmation against the build alone: %.2f ms against %.2f ms, ratio %.2f (goal: under 100 ms)\n",
                t["Confirm3D"] / 1e6, t["Build3D"] / 1e6, t["Confirm3D"] / t["Build3D"]);
  benchmark::Shutdown();
  return 0;
}
