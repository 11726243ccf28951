// Large and damaged files of stored lists, 20 MB each: the text base, the standard-parts file and the
// phrase dictionary. Reading one must stay linear in time and memory: lists read from such files used to
// grow by a fixed step, constructing every string anew at each growth, so that an 18 MB text base reached
// about 23 GB and a 1 MB file of zeros ran for more than two minutes.
//
// Goal: a 20 MB text base reads in under 2 s and 1 GB, and a damaged one is refused with its message at
// the same cost. Each file is read as the library reads it (open, the user's list, the tables asked for,
// their choice lists); time per read and the peak memory it adds (in a child process) are printed against
// the goal, and against reading the file's bytes alone.
#include <benchmark/benchmark.h>

#include "bench/PeakMemory.h"
#include "bench/RatioReporter.h"
#include "hxcadkit/core/Dictionary.h"
#include "hxcadkit/core/Messager.h"
#include "hxcadkit/core/TextBase.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>

namespace {

namespace fs = std::filesystem;

constexpr std::size_t Bytes = std::size_t(20) << 20;

// ASCII text as UTF-16LE units.
void Put16(std::string& out, const std::string& ascii)
{
  for (char c : ascii) {
    out += c;
    out += '\0';
  }
}

// ASCII text as UTF-32LE units.
void Put32(std::string& out, const std::string& ascii)
{
  for (char c : ascii) {
    out += c;
    out.append(3, '\0');
  }
}

std::string Bom16()
{
  return "\xFF\xFE";
}

// Tables as the shipped base writes them: 20 rows of 10 values with decimal commas, a comment each.
std::string Tables()
{
  std::string b = Bom16();
  for (int k = 0; b.size() < Bytes; ++k) {
    Put16(b, "\r\n// table " + std::to_string(k) + "\r\n# \"Table " + std::to_string(k) + "\" \"GOST " +
                 std::to_string(1000 + k) + "-80\" \"Couplings\" 10 1\r\n{\r\n");
    for (int r = 0; r < 20; ++r) {
      std::string row;
      for (int c = 0; c < 10; ++c) {
        row += '\t';
        row += std::to_string(10 * r + c + k);
        row += ",5";
      }
      Put16(b, row + "\r\n");
    }
    Put16(b, "}\r\n");
  }
  return b;
}

// Nothing but the shortest tables: some 700 000 names for the user's list.
std::string Names()
{
  std::string b = Bom16();
  while (b.size() < Bytes)
    Put16(b, "#\"n\"\"\"\"\"1 0 {0 }");
  return b;
}

// Damaged: one table whose values run on past what a table may hold, and never close.
std::string Unclosed()
{
  std::string b = Bom16();
  Put16(b, "# \"T\" \"D\" \"C\" 1 0 {");
  while (b.size() < Bytes)
    Put16(b, " 1");
  return b;
}

// Damaged: the byte-order mark, then zeros.
std::string Zeros()
{
  return Bom16() + std::string(Bytes - 2, '\0');
}

// Standard parts: 256 entries (all the collection reads), each of distinct sizes in three ranked columns.
std::string Parts()
{
  std::string b = Bom16();
  const std::size_t each = Bytes / TADTable::MaxDetails;
  for (int k = 0; k < TADTable::MaxDetails; ++k) {
    const std::size_t end = b.size() + each;
    Put16(b, "# \"Part " + std::to_string(k) + "\" \"Maker\" \"Type\" " + std::to_string(100 + k) +
                 " 1 0 3 0\r\n{{ \"P\" \"\" \"d\" \"diameter\" \"l\" \"length\" \"c\" \"chamfer\" }\r\n{\r\n 113 221 331\r\n");
    for (int r = 1; b.size() + 64 < end; ++r)
      Put16(b, std::to_string(r) + " " + std::to_string(r % 97) + " " + std::to_string(r % 13) + ",5\r\n");
    Put16(b, "}\r\n}\r\n");
  }
  return b;
}

// A dictionary of short pairs (the table holds the first 2000), and a program text of DC("...") calls.
std::string Dictionary32()
{
  std::string b("\xFF\xFE\0\0", 4);
  for (int k = 0; b.size() < Bytes; ++k)
    Put32(b, "\"phrase " + std::to_string(k) + "\"=\"translation " + std::to_string(k) + "\"\r\n");
  return b;
}
std::string Program32()
{
  std::string b;
  for (int k = 0; b.size() < Bytes; ++k)
    Put32(b, "  Show(DC(\"message " + std::to_string(k % 5000) + "\"));\n");
  return b;
}

struct TFiles
{
  fs::path Dir;
  std::map<std::string, std::string> Names;

  TFiles()
  {
    std::string t = (fs::temp_directory_path() / "hxcad_bench_large_XXXXXX").string();
    if (!mkdtemp(t.data())) std::abort();
    Dir = t;
    auto write = [&](const std::string& name, const std::string& bytes) {
      std::ofstream(Dir / name, std::ios::binary) << bytes;
    };
    write("tables.tb", Tables());
    write("names.tb", ::Names());
    write("unclosed.tb", Unclosed());
    write("zeros.tb", Zeros());
    write("parts.tb", Parts());
    fs::create_directory(Dir / "dic");
    write("dic/ZEdozod.dic", Dictionary32());
    write("program.txt", Program32());
  }
  ~TFiles()
  {
    std::error_code ec;
    fs::remove_all(Dir, ec);
  }
  TString Folder() const { return TString((Dir.string() + "/").c_str()); }
};

TFiles& Files()
{
  static TFiles f;
  return f;
}

// Counts the messages shown while it is installed.
class TMessages : public TModelerLink
{
public:
  TMessages() { Old = TMessager::SetModelerLink(this); }
  ~TMessages() override { TMessager::SetModelerLink(Old); }
  bool Exists() const override { return true; }
  void LiftBox(const TString&) override { ++Count; }
  int QuestionBox(const TString&, const TString&) override { return 0; }
  int Count = 0;

private:
  TModelerLink* Old;
};

// A text base read as the library reads it: opened, the user's list, the first and the last table listed
// and one that is not there, the first table's choice list. True when it ended as the file says: the
// tables found, or a damaged file refused with its message.
bool ReadBase(const char* file, bool damaged)
{
  TMessages messages;
  TTextBase base;
  if (!base.Init(Files().Folder(), TString(file))) return false;
  TAStr list;
  base.CouplingLS(list);
  int found = 0;
  TAStr values;
  for (const TString& name : {list.Count > 0 ? list[0] : TString("T"), list.Count > 0 ? list.Last() : TString("T"),
                              TString("no such table")}) {
    std::unique_ptr<TTable> t(base.GetTable(name));
    if (!t) continue;
    ++found;
    t->toLD(t->Control, values, TString("*"));
  }
  return damaged ? found == 0 && messages.Count > 0 : found == 2 && messages.Count == 0;
}

// The standard-parts collection read, and every table's rows and choice list asked for.
bool ReadParts()
{
  TADTable parts;
  if (!parts.Init(Files().Folder(), TString("parts.tb")) || parts.Count != TADTable::MaxDetails) return false;
  TArrayOf<TString> names(8, 8), values(8, 8);
  TArrayOf<int> rows(8, 8);
  TString name, comment;
  for (int i = 0; i < parts.Count; ++i) {
    const int id = parts.Details[i]->ID;
    if (!parts.GetSpcDetail(id, TString("*"), TString(""), TString(""), names, rows)) return false;
    if (!parts.GetParam(id, 1, name, comment, values)) return false;
  }
  return rows.Count > 1000 && values.Count > 1000;
}

// The dictionary read, then a program's phrases collected and the new dictionary written.
bool ReadDictionary()
{
  TDictionary d;
  if (!d.Init(TString("ZEdozod.dic"), TString((Files().Dir.string() + "/dic/").c_str()), TString())) return false;
  d.Update(TString((Files().Dir.string() + "/program.txt").c_str()));
  const bool ok = d.CountWords == TDictionary::MaxCountWords;
  fs::remove(Files().Dir / "dic" / "ZEdozodNew.dic");
  return ok;
}

// The floor: the file's bytes read into memory.
bool ReadBytes(const char* file)
{
  std::ifstream in(Files().Dir / file, std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  benchmark::DoNotOptimize(bytes.data());
  return bytes.size() >= Bytes - 8;
}

template <class Read> void Run(benchmark::State& state, Read read)
{
  Files();
  for (auto _ : state)
    if (!read()) state.SkipWithError("the file was not read as it should be");
}

void BaseTables(benchmark::State& s) { Run(s, [] { return ReadBase("tables.tb", false); }); }
void BaseNames(benchmark::State& s) { Run(s, [] { return ReadBase("names.tb", false); }); }
void BaseUnclosed(benchmark::State& s) { Run(s, [] { return ReadBase("unclosed.tb", true); }); }
void BaseZeros(benchmark::State& s) { Run(s, [] { return ReadBase("zeros.tb", true); }); }
void StandardParts(benchmark::State& s) { Run(s, ReadParts); }
void Dictionary(benchmark::State& s) { Run(s, ReadDictionary); }
void Bytes20(benchmark::State& s) { Run(s, [] { return ReadBytes("tables.tb"); }); }

BENCHMARK(BaseTables)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BaseNames)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BaseUnclosed)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BaseZeros)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(StandardParts)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(Dictionary)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(Bytes20)->Unit(benchmark::kMillisecond)->Iterations(2);

void Report(TRatioReporter& reporter)
{
  const double floor = reporter.NsPerIteration["Bytes20"];
  std::printf("\n20 MB files (goal for a text base: under 2 s and 1 GB; reading the bytes alone %.0f ms):\n",
              floor / 1e6);
  struct TLine
  {
    const char* Name;
    const char* What;
    bool (*Read)();
    bool Base;
  };
  const TLine lines[] = {
      {"BaseTables", "text base, tables", [] { return ReadBase("tables.tb", false); }, true},
      {"BaseNames", "text base, 700 000 names", [] { return ReadBase("names.tb", false); }, true},
      {"BaseUnclosed", "damaged base, a table never closed", [] { return ReadBase("unclosed.tb", true); }, true},
      {"BaseZeros", "damaged base, zeros", [] { return ReadBase("zeros.tb", true); }, true},
      {"StandardParts", "standard parts, 256 tables", ReadParts, false},
      {"Dictionary", "dictionary and a program's phrases", ReadDictionary, false},
  };
  for (const TLine& l : lines) {
    const double ms = reporter.NsPerIteration[l.Name] / 1e6;
    const double mb = hxcadbench::PeakMb(l.Read);
    const bool met = ms > 0 && ms < 2000 && mb >= 0 && mb < 1024;
    std::printf("  %-38s %7.0f ms (%5.1f x the bytes), peak %6.1f MB%s\n", l.What, ms,
                floor > 0 ? ms * 1e6 / floor : 0.0, mb, l.Base ? (met ? "  goal met" : "  GOAL MISSED") : "");
  }
}

} // namespace

int main(int argc, char** argv)
{
  return RunAndReport(argc, argv, Report);
}
