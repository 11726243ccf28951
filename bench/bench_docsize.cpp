// Large documents of the stand-in host: opening must stay linear in time and within a small multiple of
// the file's size in memory, and whatever the host saves it must open again.
//
// Two shapes, each at several sizes: one member list of many small parts (opening used to take time
// quadratic in the list: 300 000 members, 10 MB, 9.3 s) and one block of user data (a 45 MB document
// needed 3.7 GB). Time: milliseconds per MB, flat over the sizes, against the JSON parse of the same bytes
// alone. Memory: the peak that opening adds to the process, measured in a child process, against the
// file's size. Saving: a document with a 6 MB user-data block, which the indented form wrote as 72 MB,
// past what the reader takes; it must save and open again.
#include <benchmark/benchmark.h>

#include "bench/PeakMemory.h"
#include "bench/RatioReporter.h"
#include "txhost/lib/DocumentFile.h"
#include "txhost/lib/Host.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>

namespace {

namespace fs = std::filesystem;

const std::string Head = R"({"format":"txhost-document","version":1,"type":4,"objects":[)";

// A part document whose document object lists every part as a member.
std::string MemberList(std::size_t bytes)
{
  const std::size_t parts = bytes / 36; // about 28 bytes per part and 8 per member index
  std::string text = Head + R"({"kind":"part-document","parent":null,"members":[)";
  for (std::size_t i = 1; i <= parts; ++i) {
    if (i > 1) text += ',';
    text += std::to_string(i);
  }
  text += R"(],"applied":true,"props":{"type":4}})";
  for (std::size_t i = 1; i <= parts; ++i)
    text += R"(,{"kind":"part","parent":0})";
  return text + "]}";
}

// A part document with one user-data block of byte values.
std::string DataBlock(std::size_t bytes)
{
  std::string text = Head + R"({"kind":"part-document","parent":null,"members":[1,2],"applied":true,)"
                            R"("props":{"type":4,"topPart":{"$obj":1}}},)"
                            R"({"kind":"part","parent":0,"members":[],"applied":true,"props":{"name":"p"}},)"
                            R"({"kind":"user-storages","parent":0,"members":[3],"applied":true,"props":{}},)"
                            R"({"kind":"user-storage","parent":2,"members":[],"applied":true,)"
                            R"("props":{"name":"lib","values":{"k":{"bytes":[200)";
  while (text.size() + 8 < bytes)
    text += ",200";
  return text + "]}}}}]}";
}

struct TFiles
{
  fs::path Dir;
  std::map<std::string, fs::path> Files;

  TFiles()
  {
    std::string t = (fs::temp_directory_path() / "hxcad_bench_docsize_XXXXXX").string();
    if (!mkdtemp(t.data())) std::abort();
    Dir = t;
  }
  ~TFiles()
  {
    std::error_code ec;
    fs::remove_all(Dir, ec);
  }
  const fs::path& Get(const std::string& shape, int mb)
  {
    const std::string key = shape + std::to_string(mb);
    auto it = Files.find(key);
    if (it != Files.end()) return it->second;
    const std::size_t bytes = std::size_t(mb) << 20;
    const fs::path file = Dir / (key + ".tpt");
    std::ofstream(file, std::ios::binary) << (shape == "members" ? MemberList(bytes) : DataBlock(bytes));
    return Files[key] = file;
  }
};

TFiles& Files()
{
  static TFiles f;
  return f;
}

std::string Read(const fs::path& file)
{
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void Open(benchmark::State& state, const char* shape)
{
  const int mb = int(state.range(0));
  const fs::path& file = Files().Get(shape, mb);
  for (auto _ : state) {
    txhost::Host host;
    std::string error;
    txhost::Object* d = host.OpenDocument(file, false, &error);
    if (d == nullptr) state.SkipWithError(error.c_str());
    benchmark::DoNotOptimize(d);
  }
}

void Parse(benchmark::State& state, const char* shape)
{
  const std::string text = Read(Files().Get(shape, int(state.range(0))));
  for (auto _ : state)
    benchmark::DoNotOptimize(txhost::Value::parse(text));
}

void OpenMembers(benchmark::State& state) { Open(state, "members"); }
void ParseMembers(benchmark::State& state) { Parse(state, "members"); }
void OpenBlock(benchmark::State& state) { Open(state, "block"); }
void ParseBlock(benchmark::State& state) { Parse(state, "block"); }

BENCHMARK(OpenMembers)->Arg(1)->Arg(3)->Arg(10)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(ParseMembers)->Arg(1)->Arg(3)->Arg(10)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(OpenBlock)->Arg(1)->Arg(10)->Arg(45)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(ParseBlock)->Arg(1)->Arg(10)->Arg(45)->Unit(benchmark::kMillisecond)->Iterations(2);

void Report(TRatioReporter& reporter)
{
  std::printf("\nOpening, per MB of the file (flat over the sizes when linear), against the JSON parse alone:\n");
  auto line = [&](const char* open, const char* parse, int mb) {
    const std::string suffix = std::string("/") + std::to_string(mb) + "/iterations:2";
    const double o = reporter.ByName[open + suffix], p = reporter.ByName[parse + suffix];
    if (o > 0)
      std::printf("  %-12s %3d MB: %7.1f ms per MB; parse %6.1f ms per MB; ratio %.2f\n", open, mb, o / 1e6 / mb,
                  p / 1e6 / mb, p > 0 ? o / p : 0.0);
  };
  for (int mb : {1, 3, 10})
    line("OpenMembers", "ParseMembers", mb);
  for (int mb : {1, 10, 45})
    line("OpenBlock", "ParseBlock", mb);

  // Goal: a small multiple of the file (about 5 times). The document's objects themselves take about 190
  // bytes each, which one line of a member list of empty parts (36 bytes) cannot match.
  std::printf("\nPeak memory that opening adds, against the file's size (goal: about 5 times):\n");
  for (const char* shape : {"members", "block"})
    for (int mb : {24, 45}) {
      const fs::path& file = Files().Get(shape, mb);
      const double size = double(fs::file_size(file)) / (1 << 20);
      // Opened and held (the child ends without closing), then opened and closed.
      const double open = hxcadbench::PeakMb([&] {
        std::string error;
        return (new txhost::Host)->OpenDocument(file, false, &error) != nullptr;
      });
      const double closed = hxcadbench::PeakMb([&] {
        txhost::Host host;
        std::string error;
        return host.OpenDocument(file, false, &error) != nullptr;
      });
      std::printf("  %-8s %5.1f MB file: %7.1f MB at the peak (%.1f times the file); closed again %7.1f MB\n",
                  shape, size, open, open / size, closed);
    }

  // The document that was written past the reader's limit: saved, then opened again.
  std::printf("\nSaving a 24 MB document with a 6 MB user-data block, then opening it again:\n");
  const fs::path& file = Files().Get("block", 24);
  txhost::Host host;
  std::string error;
  txhost::Object* d = host.OpenDocument(file, false, &error);
  const fs::path again = Files().Dir / "again.tpt";
  const auto start = std::chrono::steady_clock::now();
  const bool saved = d != nullptr && host.SaveDocumentAs(*d, again, &error);
  const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  txhost::Host other;
  const bool reopened = saved && other.OpenDocument(again, false, &error) != nullptr;
  std::printf("  saved: %s (%.0f ms, %.1f MB); opened again: %s%s%s\n", saved ? "yes" : "no", ms,
              saved ? double(fs::file_size(again)) / (1 << 20) : 0.0, reopened ? "yes" : "no",
              error.empty() ? "" : "; ", error.c_str());
}

} // namespace

int main(int argc, char** argv)
{
  return RunAndReport(argc, argv, Report);
}
