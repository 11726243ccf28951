// Opening a document file of the stand-in host, at 1, 10 and 60 MB. Opening used to take time quadratic in
// the size (the JSON parser's per-value callback, and key lookups in an insertion-ordered map); the time
// per MB must stay flat. Each document is half one object with many properties, half many small objects
// with a parent and a name, which were the two quadratic cases. The baseline is the JSON parse of the same
// bytes alone, the floor of any reader of the format.
#include <benchmark/benchmark.h>

#include "bench/RatioReporter.h"
#include "txhost/lib/DocumentFile.h"
#include "txhost/lib/Host.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

namespace {

constexpr int Sizes[]{1, 10, 60};

struct TDocuments
{
  std::filesystem::path Dir;
  std::map<int, std::filesystem::path> Files;
  std::map<int, std::string> Texts;

  TDocuments()
  {
    std::string t = (std::filesystem::temp_directory_path() / "hxcad_bench_doc_XXXXXX").string();
    if (!mkdtemp(t.data())) std::abort();
    Dir = t;
    for (int mb : Sizes) {
      const std::size_t half = std::size_t(mb) << 19;
      std::string text = R"({"format":"txhost-document","version":1,"type":4,"objects":[{"kind":"part-document",)"
                         R"("props":{"topPart":{"$obj":1})";
      for (int i = 0; text.size() < half; ++i)
        text += ",\"property" + std::to_string(i) + "\":" + std::to_string(i * 7);
      text += R"(}},{"kind":"part","parent":0,"members":[],"applied":true,"props":{"name":"top"}})";
      for (int i = 0; text.size() < 2 * half; ++i)
        text += R"(,{"kind":"part","parent":1,"props":{"name":"part )" + std::to_string(i) + "\"}}";
      text += "]}";
      Files[mb] = Dir / ("doc" + std::to_string(mb) + ".tpt");
      std::ofstream(Files[mb], std::ios::binary) << text;
      Texts[mb] = std::move(text);
    }
  }
  ~TDocuments()
  {
    std::error_code ec;
    std::filesystem::remove_all(Dir, ec);
  }
};

TDocuments& Documents()
{
  static TDocuments d;
  return d;
}

void Open(benchmark::State& state)
{
  const int mb = int(state.range(0));
  for (auto _ : state) {
    txhost::Host host;
    std::string error;
    txhost::Object* d = txhost::ReadDocumentFile(host, Documents().Files[mb], error);
    if (d == nullptr) state.SkipWithError(error.c_str());
    benchmark::DoNotOptimize(d);
  }
  state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(mb) << 20);
}

void ParseOnly(benchmark::State& state)
{
  const int mb = int(state.range(0));
  for (auto _ : state)
    benchmark::DoNotOptimize(txhost::Value::parse(Documents().Texts[mb]));
}

} // namespace

BENCHMARK(Open)->Arg(1)->Arg(10)->Arg(60)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(ParseOnly)->Arg(1)->Arg(10)->Arg(60)->Unit(benchmark::kMillisecond)->Iterations(2);

int main(int argc, char** argv)
{
  benchmark::Initialize(&argc, argv);
  Documents();
  TRatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  std::printf("\n");
  for (int mb : Sizes) {
    const double open = reporter.ByName["Open/" + std::to_string(mb) + "/iterations:2"];
    const double parse = reporter.ByName["ParseOnly/" + std::to_string(mb) + "/iterations:2"];
    std::printf("%2d MB document: open %.1f ms per MB; JSON parse alone %.1f ms per MB; ratio %.2f\n", mb,
                open / 1e6 / mb, parse / 1e6 / mb, parse > 0 ? open / parse : 0.0);
  }
  benchmark::Shutdown();
  return 0;
}
