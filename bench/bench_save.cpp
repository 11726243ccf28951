// Saves into a crowded documents folder. A 3D build of the toroidal coupling (its parts and assembly, nine
// saves) on the stand-in host into a folder that holds 0, 10,000 or 100,000 other files, on a file system in
// memory and on disk: a save must cost the same whatever else the folder holds. The baseline is the same
// build into the empty folder; the ratios printed are each folder's time against it.
#include <benchmark/benchmark.h>

#include "bench/CouplingRows.h"
#include "bench/RatioReporter.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include <fcntl.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

constexpr int ToroidalRow = 5;
constexpr int Crowds[] = {0, 10000, 100000};

void LoadBase()
{
  static bool done = TextBase.Init(TString(HXCAD_DUVOZADU_DATA), TString("VUVudirido.tb"));
  (void)done;
}

// A folder under root holding `others` empty files that are nothing of the build's.
fs::path CrowdedFolder(const fs::path& root, int others)
{
  const fs::path dir =
      root / ("hxcad_bench_save_" + std::to_string(::getpid()) + "_" + std::to_string(others));
  fs::remove_all(dir);
  fs::create_directories(dir);
  for (int i = 0; i < others; ++i) {
    const int fd = ::open((dir / ("other-" + std::to_string(i) + ".tpt")).c_str(), O_CREAT | O_WRONLY, 0644);
    if (fd < 0) std::abort();
    ::close(fd);
  }
  return dir;
}

// The build into a folder that holds the range's count of other files, under root.
void BuildIntoCrowd(benchmark::State& state, const char* root)
{
  LoadBase();
  if (!fs::is_directory(root)) {
    state.SkipWithError("no such file system here");
    return;
  }
  const fs::path dir = CrowdedFolder(root, int(state.range(0)));
  {
    txhost::Host host;
    host.SetDocumentsFolder(dir);
    drApi::PControlModel = &ControlModel;
    drApi::MA.Init(host.Application(), "VUVudirido", "#Stamp - Regular");
    SetCouplingModeler(&drApi::MA);
    ControlModel.CouplingName = iCouplings[ToroidalRow].Name;
    for (auto _ : state) {
      RowSize(ToroidalRow, false);
      benchmark::DoNotOptimize(iCouplings[ToroidalRow].Make(0));
    }
    SetCouplingModeler(nullptr);
    drApi::PControlModel = nullptr;
  }
  fs::remove_all(dir);
}

void BuildInMemory(benchmark::State& state)
{
  BuildIntoCrowd(state, "/dev/shm");
}

void BuildOnDisk(benchmark::State& state)
{
  BuildIntoCrowd(state, "/var/tmp");
}

BENCHMARK(BuildInMemory)->Arg(Crowds[0])->Arg(Crowds[1])->Arg(Crowds[2])->Unit(benchmark::kMillisecond);
BENCHMARK(BuildOnDisk)->Arg(Crowds[0])->Arg(Crowds[1])->Arg(Crowds[2])->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
  return RunAndReport(argc, argv, [](TRatioReporter& reporter) {
    auto& t = reporter.ByName;
    std::printf("\n");
    for (const char* family : {"BuildInMemory", "BuildOnDisk"})
      for (int crowd : {Crowds[1], Crowds[2]}) {
        const std::string name = std::string(family) + "/" + std::to_string(crowd),
                          base = std::string(family) + "/0";
        if (t.count(name) && t.count(base))
          std::printf("%s, %d other files against none (goal: flat): %.1f ms against %.1f ms, ratio %.2f\n",
                      family, crowd, t[name] / 1e6, t[base] / 1e6, t[name] / t[base]);
      }
  });
}
