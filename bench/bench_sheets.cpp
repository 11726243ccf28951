// The mould parts' sheets as the test library draws them on the stand-in host: the library loaded,
// its sheet commands run one after another as a user would (each sheet laid out, saved and closed,
// the parts some of them build beside it), the library unloaded; against loading and unloading the
// library alone, the floor the commands stand on. Also each command on its own, to find which sheet
// a change costs. And one sheet of 10, 50 and 200 dimensions laid out alone, whose time per dimension
// shows the layout's cost linear in them.
#include <benchmark/benchmark.h>

#include <cmath>
#include <filesystem>
#include <iterator>
#include <string>

#include <unistd.h>

#include "hxcadkit/adapter/drModelerAPI.h"
#include "txapi/LibraryEntry.h"
#include "txhost/lib/Host.h"

namespace {

// The commands of the test library that lay out sheets: the threaded spacer's profile, the ejectors'
// profiles, the guide parts and the second share's parts.
const unsigned int SheetCommands[] = {5, 6, 21, 22, 23, 24, 25, 31, 32, 33, 34, 35, 36};

// The process's own: two runs side by side (the comparison of two builds) never empty each other's folder.
std::filesystem::path SheetsFolder()
{
  static const std::filesystem::path dir = [] {
    std::string name = "hxcad_bench_sheets-";
    name += std::to_string(::getpid());
    return std::filesystem::temp_directory_path() / name;
  }();
  return dir;
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

// One sheet of n dimensions laid out by the sheet layout alone: plates in a grid, each with a hole, its
// length and its hole's diameter asked for, the sheet as large as the plates need, so that every n is
// as crowded. The time per dimension stays the same at every n where the layout's cost is linear.
void LayOutPlates(int n)
{
  constexpr double CellWidth = 70, CellHeight = 55, Plate = 40, Height = 20, Hole = 5;
  const int plates = (n + 1) / 2, columns = int(std::ceil(std::sqrt(1.4 * plates)));
  const int rows = (plates + columns - 1) / columns;
  drApi::TSheetLayout layout;
  layout.Begin(30 + columns * CellWidth, 70 + rows * CellHeight, 0, 0, 0, 1);
  int placed = 0;
  for (int p = 0; p < plates; ++p) {
    const double x = 30 + (p % columns) * CellWidth, y = 70 + (p / columns) * CellHeight;
    layout.Outline(x, y, x + Plate, y);
    layout.Outline(x + Plate, y, x + Plate, y + Height);
    layout.Outline(x + Plate, y + Height, x, y + Height);
    layout.Outline(x, y + Height, x, y);
    const double cx = x + Plate / 2, cy = y + Height / 2;
    for (int k = 0; k < 72; ++k) {
      const double a = k * 5 * 3.14159265358979323846 / 180, b = (k + 1) * 5 * 3.14159265358979323846 / 180;
      layout.Outline(cx + Hole * std::cos(a), cy + Hole * std::sin(a), cx + Hole * std::cos(b),
                     cy + Hole * std::sin(b));
    }
    layout.Arc(cx, cy, Hole, 0, 360);
    drApi::TSheetLayout::TDimension length;
    length.MoveLine = [](double, double) {};
    length.X1 = x, length.Y1 = y + Height, length.X2 = x + Plate, length.Y2 = y + Height;
    length.SX = cx, length.SY = y + Height + 8, length.LX = cx, length.LY = length.SY, length.Chars = 2;
    layout.Dimension(length);
    if (++placed == n) break;
    drApi::TSheetLayout::TCircleDimension hole;
    hole.Turn = [](double, double, bool) {};
    hole.Shorten = [] {};
    hole.CX = cx, hole.CY = cy, hole.R = Hole, hole.Chars = 3;
    layout.Dimension(hole);
    ++placed;
  }
  layout.Settle();
  benchmark::DoNotOptimize(layout.Active());
}

void PlatesSheet(benchmark::State& state)
{
  const int n = int(state.range(0));
  for (auto _ : state)
    LayOutPlates(n);
  state.counters["per dimension"] = benchmark::Counter(
      double(n), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

} // namespace

BENCHMARK(Sheets)->Unit(benchmark::kMillisecond);
BENCHMARK(LoadUnload)->Unit(benchmark::kMillisecond);
BENCHMARK(SheetCommand)->Apply(AllSheetCommands)->Unit(benchmark::kMillisecond);
BENCHMARK(PlatesSheet)->Arg(10)->Arg(50)->Arg(200)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
