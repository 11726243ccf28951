// Drawing a hatch as SVG: one whose boundary names a segment n times (n = 10,000, 40,000, 160,000) against a
// drawing of n plain segments. Chaining the outline searched the whole boundary for each next piece, time
// quadratic in n; the ratio between the two must stay flat as n grows.
#include <benchmark/benchmark.h>

#include "bench/RatioReporter.h"
#include "txhost/lib/Drawing2D.h"
#include "txhost/lib/Host.h"
#include "txhost/lib/Model.h"
#include "txhost/lib/Object.h"
#include "txhost/lib/SvgWriter.h"

#include "txapi/Enums.h"

#include <cstdio>
#include <sstream>

namespace {

constexpr long Counts[]{10000, 40000, 160000};

// A drawing of n segments, all of them the boundary of one hatch when hatched.
void Draw(benchmark::State& state, bool hatched)
{
  txhost::Host h;
  txhost::Object& doc = *h.NewDocument(txapi::txDocumentDrawing, false);
  txhost::Object& view = h.Create(txhost::model::View, &doc, &doc);
  txhost::Value boundaries = txhost::Value::array();
  txhost::Object& one = h.Create(txhost::model::LineSegment, &doc, &view);
  one.Set("x2", 10.0);
  one.Set("style", 1);
  for (long k = 0; k < state.range(0); ++k) {
    if (hatched) {
      boundaries.push_back(txhost::RefValue(&one));
      continue;
    }
    txhost::Object& l = h.Create(txhost::model::LineSegment, &doc, &view);
    l.Set("x2", 10.0);
    l.Set("style", 1);
  }
  if (hatched) h.Create(txhost::model2d::Hatch, &doc, &view).Set("boundaries", boundaries);
  for (auto _ : state) {
    std::ostringstream out;
    txhost::WriteSvg(doc, out);
    benchmark::DoNotOptimize(out.str().size());
  }
}

void Hatch(benchmark::State& state)
{
  Draw(state, true);
}
void Segments(benchmark::State& state)
{
  Draw(state, false);
}

} // namespace

BENCHMARK(Hatch)
    ->Arg(Counts[0])
    ->Arg(Counts[1])
    ->Arg(Counts[2])
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2);
BENCHMARK(Segments)
    ->Arg(Counts[0])
    ->Arg(Counts[1])
    ->Arg(Counts[2])
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2);

int main(int argc, char** argv)
{
  benchmark::Initialize(&argc, argv);
  TRatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  std::printf("\n");
  for (long n : Counts) {
    const double hatch = reporter.ByName["Hatch/" + std::to_string(n) + "/iterations:2"];
    const double plain = reporter.ByName["Segments/" + std::to_string(n) + "/iterations:2"];
    std::printf("%6ld pieces: hatch %.1f ms, as many segments %.1f ms; ratio %.2f\n", n, hatch / 1e6,
                plain / 1e6, plain > 0 ? hatch / plain : 0.0);
  }
  benchmark::Shutdown();
  return 0;
}
