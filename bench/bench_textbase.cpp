// GetTable of the text base against its floor. Every coupling rebuild asks the text base for
// its tables, on every cursor move of a 2D placement, so a lookup must stay well under a
// millisecond. The base here is 20 tables x 50 rows x 25 columns (decimal commas, tabs,
// comments, CR LF lines); the last table is asked for, the worst case of a scan from the top,
// both again on an open base (as a rebuild does) and as the first request of a fresh one.
// The floor reads the file's bytes and parses the same 1250 numbers with std::from_chars, as
// an indexed reader that knew where the table starts would.
#include <benchmark/benchmark.h>

#include "bench/RatioReporter.h"

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "hxcadkit/core/TextBase.h"

namespace {

constexpr int Tables = 20, Rows = 50, Columns = 25;

struct TBench
{
  std::string Dir, File;
  std::size_t LastTableOffset = 0; // bytes: the '{' of the last table
  std::string LastName;

  TBench()
  {
    std::string t = (std::filesystem::temp_directory_path() / "hxcad_bench_tb_XXXXXX").string();
    if (!mkdtemp(t.data())) std::abort();
    Dir = t + "/";
    File = Dir + "bench.tb";
    std::u16string text = u"// Tables of the benchmark\r\n";
    for (int k = 1; k <= Tables; ++k) {
      std::string name = "Таблица " + std::to_string(k);
      if (k == Tables) LastName = name;
      for (const std::string& part :
           {std::string("\r\n# \""), name, std::string("\" \"ГОСТ "), std::to_string(1000 + k),
            std::string("-80\" \"Муфты\" "), std::to_string(Columns), std::string(" 1\r\n")})
        text += Widen(part);
      if (k == Tables) LastTableOffset = 2 * (text.size() + 1); // after the BOM
      text += u"{\r\n\t// sizes\r\n";
      for (int r = 0; r < Rows; ++r) {
        for (int c = 0; c < Columns; ++c) {
          int v = 10 * r + c + k;
          text += u'\t';
          text += Widen(std::to_string(v));
          if (c % 3 == 0) text += u",5";
        }
        text += u"\r\n";
      }
      text += u"}\r\n";
    }
    std::ofstream f(File, std::ios::binary);
    f.write("\xFF\xFE", 2);
    f.write(reinterpret_cast<const char*>(text.data()), std::streamsize(text.size() * 2));
  }
  ~TBench() { std::filesystem::remove_all(Dir); }

  static std::u16string Widen(const std::string& utf8)
  {
    std::u16string w;
    for (std::size_t i = 0; i < utf8.size();) {
      unsigned char c = static_cast<unsigned char>(utf8[i]);
      if (c < 0x80) {
        w += char16_t(c);
        ++i;
      } else { // two-byte sequences only (Cyrillic)
        w += char16_t(((c & 0x1F) << 6) | (static_cast<unsigned char>(utf8[i + 1]) & 0x3F));
        i += 2;
      }
    }
    return w;
  }
};

TBench& Bench()
{
  static TBench b;
  return b;
}

void GetTableLast(benchmark::State& state)
{
  TTextBase base;
  if (!base.Init(TString(Bench().Dir.c_str()), TString("bench.tb"))) std::abort();
  TString name(Bench().LastName.c_str());
  for (auto _ : state) {
    TTable* t = base.GetTable(name);
    if (!t || t->Count != Rows * Columns) std::abort();
    benchmark::DoNotOptimize(t->Array[t->Count - 1]);
    delete t;
  }
}

// The first request on a freshly opened base: the scan the cache saves later requests.
void GetTableLastCold(benchmark::State& state)
{
  TString dir(Bench().Dir.c_str()), file("bench.tb"), name(Bench().LastName.c_str());
  for (auto _ : state) {
    TTextBase base;
    if (!base.Init(dir, file)) std::abort();
    TTable* t = base.GetTable(name);
    if (!t || t->Count != Rows * Columns) std::abort();
    delete t;
  }
}

void GetTableFirst(benchmark::State& state)
{
  TTextBase base;
  if (!base.Init(TString(Bench().Dir.c_str()), TString("bench.tb"))) std::abort();
  TString name("Таблица 1");
  for (auto _ : state) {
    TTable* t = base.GetTable(name);
    if (!t) std::abort();
    delete t;
  }
}

void CouplingList(benchmark::State& state)
{
  TTextBase base;
  if (!base.Init(TString(Bench().Dir.c_str()), TString("bench.tb"))) std::abort();
  TAStr list;
  for (auto _ : state) {
    base.CouplingLS(list);
    if (list.Count != Tables) std::abort();
  }
}

// The file's bytes, then the last table's numbers from where it is known to start.
void Floor(benchmark::State& state)
{
  const std::size_t at = Bench().LastTableOffset;
  for (auto _ : state) {
    std::FILE* f = std::fopen(Bench().File.c_str(), "rb");
    std::fseek(f, 0, SEEK_END);
    std::vector<unsigned char> bytes(std::size_t(std::ftell(f)));
    std::fseek(f, 0, SEEK_SET);
    if (std::fread(bytes.data(), 1, bytes.size(), f) != bytes.size()) std::abort();
    std::fclose(f);
    std::vector<double> values;
    values.reserve(Rows * Columns);
    char num[64];
    std::size_t i = at;
    auto unit = [&](std::size_t k) { return char16_t(bytes[k] | (bytes[k + 1] << 8)); };
    for (; i + 1 < bytes.size();) {
      char16_t c = unit(i);
      if (c == u'}') break;
      if (c == u'/' && unit(i + 2) == u'/') {
        while (i + 1 < bytes.size() && unit(i) != u'\n')
          i += 2;
        continue;
      }
      if ((c >= u'0' && c <= u'9') || c == u'-') {
        int n = 0;
        while (i + 1 < bytes.size() && n < 63) {
          char16_t d = unit(i);
          if (d == u',') d = u'.';
          if (!((d >= u'0' && d <= u'9') || d == u'.' || d == u'-')) break;
          num[n++] = char(d);
          i += 2;
        }
        double v = 0;
        std::from_chars(num, num + n, v);
        values.push_back(v);
        continue;
      }
      i += 2;
    }
    if (values.size() != std::size_t(Rows * Columns)) std::abort();
    benchmark::DoNotOptimize(values.data());
  }
}

BENCHMARK(GetTableLast)->Unit(benchmark::kMicrosecond);
BENCHMARK(GetTableLastCold)->Unit(benchmark::kMicrosecond);
BENCHMARK(GetTableFirst)->Unit(benchmark::kMicrosecond);
BENCHMARK(CouplingList)->Unit(benchmark::kMicrosecond);
BENCHMARK(Floor)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
  return RunAndReport(argc, argv, [](TRatioReporter& reporter) {
    auto& t = reporter.NsPerIteration;
    if (t.count("GetTableLast") && t.count("Floor")) {
      std::printf("\nbase: %d tables x %d rows x %d columns, %ju bytes\n", Tables, Rows, Columns,
                  std::uintmax_t(std::filesystem::file_size(Bench().File)));
      std::printf("GetTable of the last table: %.2f us; floor: %.1f us; ratio %.3f\n",
                  t["GetTableLast"] / 1e3, t["Floor"] / 1e3, t["GetTableLast"] / t["Floor"]);
      if (t.count("GetTableLastCold"))
        std::printf("first request on a fresh base (open and scan): %.1f us; ratio %.2f\n",
                    t["GetTableLastCold"] / 1e3, t["GetTableLastCold"] / t["Floor"]);
    }
  });
}
