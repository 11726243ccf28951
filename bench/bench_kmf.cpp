// Writing and reading 100 MB of mixed values (int32, double, byte, UTF-16 unit, double: the mix
// of the part records) through TKmfData, one value per call as the records do, against one bulk
// fwrite and one fread of the same bytes. The goal is within 1.5x, reading included.
#include <benchmark/benchmark.h>

#include "bench/RatioReporter.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "hxcadkit/core/KmfData.h"

namespace {

constexpr int Record = 4 + 8 + 1 + 2 + 8;
constexpr int Records = 100 * 1000 * 1000 / Record;

const std::string& Path()
{
  static const std::string p = (std::filesystem::temp_directory_path() / "hxcad_bench_kmf.bin").string();
  return p;
}

// The bytes that the stream writes after its header, for the baseline.
const std::vector<unsigned char>& Bytes()
{
  static const std::vector<unsigned char> bytes = [] {
    std::vector<unsigned char> b(size_t(Records) * Record);
    unsigned char* p = b.data();
    for (int i = 0; i < Records; ++i) {
      const int n = i;
      const double x = i * 0.5, y = -i * 0.25;
      const unsigned char c = static_cast<unsigned char>(i);
      const char16_t u = static_cast<char16_t>(i);
      std::memcpy(p, &n, 4);
      std::memcpy(p + 4, &x, 8);
      p[12] = c;
      std::memcpy(p + 13, &u, 2);
      std::memcpy(p + 15, &y, 8);
      p += Record;
    }
    return b;
  }();
  return bytes;
}

void KmfWrite(benchmark::State& state)
{
  for (auto _ : state) {
    TKmfData s;
    s.MakeForWrite(TString(Path().c_str()));
    for (int i = 0; i < Records; ++i) {
      s.Write(i);
      s.Write(i * 0.5);
      s.WriteByte(static_cast<unsigned char>(i));
      s.Write(static_cast<char16_t>(i));
      s.Write(-i * 0.25);
    }
    if (!s.Close()) state.SkipWithError("write failed");
  }
}

void KmfRead(benchmark::State& state)
{
  double sum = 0;
  for (auto _ : state) {
    TKmfData s;
    s.MakeForRead(TString(Path().c_str()));
    for (int i = 0; i < Records; ++i) {
      int n;
      double x, y;
      char16_t u;
      s.Read(n);
      s.Read(x);
      const unsigned char c = s.ReadByte();
      s.Read(u);
      s.Read(y);
      sum += n + x + c + u + y;
    }
    s.Close();
  }
  benchmark::DoNotOptimize(sum);
}

void BulkWrite(benchmark::State& state)
{
  const std::vector<unsigned char>& b = Bytes();
  for (auto _ : state) {
    std::FILE* f = std::fopen(Path().c_str(), "wb");
    std::fwrite(b.data(), 1, b.size(), f);
    std::fclose(f);
  }
}

void BulkRead(benchmark::State& state)
{
  std::vector<unsigned char> b(Bytes().size());
  for (auto _ : state) {
    std::FILE* f = std::fopen(Path().c_str(), "rb");
    benchmark::DoNotOptimize(std::fread(b.data(), 1, b.size(), f));
    std::fclose(f);
  }
}

// Each reader reads the file its writer left, so the pairs run in this order.
BENCHMARK(KmfWrite)->Unit(benchmark::kMillisecond);
BENCHMARK(KmfRead)->Unit(benchmark::kMillisecond);
BENCHMARK(BulkWrite)->Unit(benchmark::kMillisecond);
BENCHMARK(BulkRead)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
  benchmark::Initialize(&argc, argv);
  Bytes();
  TRatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  auto& t = reporter.NsPerIteration;
  if (t.count("KmfWrite") && t.count("KmfRead") && t.count("BulkWrite") && t.count("BulkRead")) {
    std::printf("\n%d records, %.0f MB: write %.2fx, read %.2fx, write and read %.2fx of fwrite/fread\n",
                Records, Records * double(Record) / 1e6, t["KmfWrite"] / t["BulkWrite"],
                t["KmfRead"] / t["BulkRead"],
                (t["KmfWrite"] + t["KmfRead"]) / (t["BulkWrite"] + t["BulkRead"]));
  }
  std::filesystem::remove(Path());
  benchmark::Shutdown();
  return 0;
}
