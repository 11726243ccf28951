// The mould parts' sheets as the test library draws them on the stand-in host: the library loaded,
// its sheet commands run one after another as a user would (each sheet laid out, saved and closed,
// the parts some of them build beside it), the library unloaded; against loading and unloading the
// library alone, the floor the commands stand on. Also each command on its own, to find which sheet
// a change costs.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <iterator>

#include "hxcadkit/adapter/drModelerAPI.h"
#include "txapi/LibraryEntry.h"
#include "txhost/lib/Host.h"

namespace {

// The commands of the test library that lay out sheets: the threaded spacer's profile, the ejectors'
// profiles, the guide parts and the second share's parts.
const unsigned int SheetCommands[] = {5, 6, 21, 22, 23, 24, 25, 31, 32, 33, 34, 35, 36};

std::filesystem::path SheetsFolder()
{
  return std::filesystem::temp_directory_path() / "hxcad_bench_sheets";
}

// A fresh documents folder holding the standard-parts file beside where the library is said to lie.
void EmptySheetsFolder()
{
  namespace fs = std::filesystem;
  const fs::path dir = SheetsFolder();
  fs::remove_all(dir);
  fs::create_directories(dir);
  fs::copy_file(fs::path(HXCAD_STDPARTS_DATA) / "StdParts.tb", dir / "StdParts.tb");
}

// The library loaded into a new host, the commands run, the library unloaded.
void PlaySheets(const unsigned int* first, const unsigned int* last)
{
  const std::filesystem::path dir = SheetsFolder();
  txhost::Host host;
  host.SetDocumentsFolder(dir);
  host.SetCurrentLibraryPath(dir / "libTestStdParts.so");
  LoadTavrixLibrary(host.Application(), host.Registrar());
  for (const unsigned int* c = first; c != last; ++c) {
    auto run = host.LibraryCallbacks().RunCommand;
    run(*c, txapi::txRunCommandModeEnum(0));
    host.WritePendingFiles();
  }
  UnloadTavrixLibrary();
  host.ClearLibraryCallbacks();
}

// Each repetition starts from an empty folder: the sheets' files are numbered on, and a folder that
// grows would be measured with them.
template <class F> void SheetRuns(benchmark::State& state, F&& play)
{
  for (auto _ : state) {
    state.PauseTiming();
    EmptySheetsFolder();
    state.ResumeTiming();
    play();
  }
  std::filesystem::remove_all(SheetsFolder());
}

void Sheets(benchmark::State& state)
{
  SheetRuns(state, [] { PlaySheets(std::begin(SheetCommands), std::end(SheetCommands)); });
}

void LoadUnload(benchmark::State& state)
{
  SheetRuns(state, [] { PlaySheets(nullptr, nullptr); });
}

// One command (the argument) between a load and an unload.
void SheetCommand(benchmark::State& state)
{
  const unsigned int command = static_cast<unsigned int>(state.range(0));
  SheetRuns(state, [command] { PlaySheets(&command, &command + 1); });
}

void AllSheetCommands(benchmark::internal::Benchmark* b)
{
  for (const unsigned int c : SheetCommands)
    b->Arg(c);
}

} // namespace

BENCHMARK(Sheets)->Unit(benchmark::kMillisecond);
BENCHMARK(LoadUnload)->Unit(benchmark::kMillisecond);
BENCHMARK(SheetCommand)->Apply(AllSheetCommands)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
