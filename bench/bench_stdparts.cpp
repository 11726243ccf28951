// The standard-parts collection against its floors. Reading: a file of 256 tables x 1,000 rows x
// 8 columns (decimal commas, tabs, CR LF lines, a word list per table) read into a collection,
// against reading the same bytes, decoding them and converting every number with std::from_chars.
// Searching: IndexStDet by two explicit columns for rows of a sorted 1,000-row table, against
// std::lower_bound over the same keys held as pairs; the tables are small and searched linearly,
// which should stay within two or three times the binary search.
// Building by code: every code of the standard part built by code on the null modeller from sizes it
// accepts (each build counted; a refusal fails the benchmark), against replaying the calls those builds
// make on the modeller; within two times.
#include <benchmark/benchmark.h>

#include "bench/NullModeler.h"
#include "bench/RatioReporter.h"
#include "hxcadkit/stdparts/MathDetailsl.h"
#include "tests/stdparts/CodeSamples.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "hxcadkit/core/TextBase.h"

namespace {

constexpr int Tables = 256, Rows = 1000, Columns = 8;

// Row r of every table: the diameter in column 1 (groups of 25 rows), the length in column 2.
double Diameter(int r)
{
  return 2.0 + (r - 1) / 25;
}
double Length(int r)
{
  return 5.0 + 2.5 * ((r - 1) % 25);
}

struct TBench
{
  std::string Dir, File;
  std::size_t Numbers = 0;

  TBench()
  {
    std::string t = (std::filesystem::temp_directory_path() / "hxcad_bench_sp_XXXXXX").string();
    if (!mkdtemp(t.data())) std::abort();
    Dir = t + "/";
    File = Dir + "parts.tb";
    std::string text = "// Tables of the benchmark\r\n";
    for (int k = 1; k <= Tables; ++k) {
      for (const std::string& part :
           {std::string("# \"Table "), std::to_string(k), std::string("\" \"Maker\" \"Kind\" "),
            std::to_string(k), std::string(" 1 0 "), std::to_string(Columns),
            std::string(" 0\r\n{{ \"Lead \" \"\"")})
        text += part;
      for (int c = 0; c < Columns; ++c) {
        text += " \"c";
        text += std::to_string(c + 1);
        text += "\" \"column\"";
      }
      text += " }\r\n{\r\n\t11\t220";
      for (int c = 2; c < Columns; ++c)
        text += "\t0";
      text += "\r\n";
      for (int r = 1; r < Rows; ++r) {
        for (int c = 0; c < Columns; ++c) {
          text += '\t';
          text += Num(c == 0 ? Diameter(r) : c == 1 ? Length(r) : 0.25 * (r + c));
        }
        text += "\r\n";
      }
      text += "}\r\n}\r\n";
      Numbers += std::size_t(Rows * Columns) + 5;
    }
    std::u16string w(text.begin(), text.end()); // ASCII only
    std::ofstream f(File, std::ios::binary);
    f.write("\xFF\xFE", 2);
    f.write(reinterpret_cast<const char*>(w.data()), std::streamsize(w.size() * 2));
  }
  ~TBench() { std::filesystem::remove_all(Dir); }

  static std::string Num(double v)
  {
    char b[32];
    std::snprintf(b, sizeof b, "%g", v);
    std::string s = b;
    std::replace(s.begin(), s.end(), '.', ',');
    return s;
  }
};

TBench& Bench()
{
  static TBench b;
  return b;
}

void Read(benchmark::State& state)
{
  TString dir(Bench().Dir.c_str()), file("parts.tb");
  for (auto _ : state) {
    TADTable a;
    if (!a.Init(dir, file) || a.Count != Tables || a.Details[Tables - 1]->Count != Rows) std::abort();
    benchmark::DoNotOptimize(a.Details[Tables - 1]->pBase);
  }
}

// The bytes, decoded to 8-bit text, and every number in them converted.
void ReadFloor(benchmark::State& state)
{
  for (auto _ : state) {
    std::FILE* f = std::fopen(Bench().File.c_str(), "rb");
    std::fseek(f, 0, SEEK_END);
    std::vector<unsigned char> bytes(std::size_t(std::ftell(f)));
    std::fseek(f, 0, SEEK_SET);
    if (std::fread(bytes.data(), 1, bytes.size(), f) != bytes.size()) std::abort();
    std::fclose(f);
    std::string text;
    text.reserve(bytes.size() / 2);
    for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) {
      const char16_t u = char16_t(bytes[i] | (bytes[i + 1] << 8));
      text += u == u',' ? '.' : char(u);
    }
    std::vector<double> values;
    values.reserve(Bench().Numbers);
    const char* p = text.data();
    const char* end = p + text.size();
    while (p < end) {
      if (*p == '"') { // a quoted word: no numbers inside
        p = std::find(p + 1, end, '"') + 1;
        continue;
      }
      if ((*p >= '0' && *p <= '9') || *p == '-') {
        double v;
        auto r = std::from_chars(p, end, v);
        values.push_back(v);
        p = r.ptr;
        continue;
      }
      ++p;
    }
    if (values.size() < std::size_t(Tables) * Rows * Columns) std::abort();
    benchmark::DoNotOptimize(values.data());
  }
}

struct TSearch
{
  TADTable A;
  std::vector<std::pair<double, double>> Keys; // row r at r - 1
  std::vector<int> Asked;
  TSearch()
  {
    if (!A.Init(TString(Bench().Dir.c_str()), TString("parts.tb"))) std::abort();
    for (int r = 1; r < Rows; ++r)
      Keys.emplace_back(Diameter(r), Length(r));
    std::mt19937 random(3);
    for (int i = 0; i < 1024; ++i)
      Asked.push_back(1 + int(random() % (Rows - 1)));
  }
};

TSearch& Search()
{
  static TSearch s;
  return s;
}

void IndexStDet(benchmark::State& state)
{
  TSearch& s = Search();
  std::size_t i = 0;
  for (auto _ : state) {
    const int r = s.Asked[i++ % s.Asked.size()];
    const int found = s.A.IndexStDet(Tables, 1, Diameter(r), 2, Length(r), 0, 0.0);
    if (found != r) std::abort();
    benchmark::DoNotOptimize(found);
  }
}

void LowerBound(benchmark::State& state)
{
  TSearch& s = Search();
  std::size_t i = 0;
  for (auto _ : state) {
    const int r = s.Asked[i++ % s.Asked.size()];
    const auto it = std::lower_bound(s.Keys.begin(), s.Keys.end(), std::make_pair(Diameter(r), Length(r)));
    const int found = int(it - s.Keys.begin()) + 1;
    if (found != r) std::abort();
    benchmark::DoNotOptimize(found);
  }
}

// Every code that has a part, with sizes it accepts: the first row of its table in the shipped file, as the
// builder by code is given a row, else the sizes its tests build it from. Sizes a code refuses would time
// its refusal and the message that says why, not its build.
struct TCodeBuild
{
  int Code;
  std::vector<double> Sizes;
};
const std::vector<TCodeBuild>& CodeBuilds()
{
  static const std::vector<TCodeBuild> builds = [] {
    TADTable shipped;
    if (!shipped.Init(TString(HXCAD_STDPARTS_DATA), TString("StdParts.tb"))) std::abort();
    std::vector<TCodeBuild> v;
    for (const auto& [code, need] : stdtest::CodeNeeds()) {
      TArrayOf<double> row;
      std::vector<double> sizes;
      // Table 4's rows are narrower than code 4's layout, which refuses them: it takes table 2's, as in
      // its tests.
      if (shipped.Params(code == 4 ? 2 : code, 1, row))
        for (int i = 0; i < row.Count; ++i)
          sizes.push_back(row[i]);
      else
        sizes = stdtest::CodeSamples().at(code);
      v.push_back({code, sizes});
    }
    return v;
  }();
  return builds;
}

// Builds every code once; the number of parts built.
int EveryCode(TModeler3D& m)
{
  const TString none;
  int built = 0;
  for (const TCodeBuild& b : CodeBuilds())
    built += drBaseDetail(m, none, none, none, b.Code, 0, b.Sizes, false) ? 1 : 0;
  return built;
}

[[gnu::noinline]] TModeler3D* NewNullModeler()
{
  return new TNullModeler;
}

void BaseDetailByCode(benchmark::State& state)
{
  TModeler3D* m = NewNullModeler();
  int built = 0;
  for (auto _ : state)
    built = EveryCode(*m);
  delete m;
  state.counters["built"] = built;
  if (built == int(CodeBuilds().size())) return;
  std::string refused = "codes that refused their sizes:";
  TNullModeler again;
  for (const TCodeBuild& b : CodeBuilds())
    if (!drBaseDetail(again, TString(), TString(), TString(), b.Code, 0, b.Sizes, false))
      refused += " " + std::to_string(b.Code);
  state.SkipWithError(refused.c_str());
}

// Keeps every call the builds make on the modeller interface, with its arguments, but not the
// calls the modeller's own shapes (rounded corners, rectangles, arcs by angle) make to draw
// themselves: replayed on a null modeller, the kept calls do the modeller's part of the work again
// (transforms, corner fitting, the lines each shape comes down to), so that what remains between the
// two is the builds' own.
class TCallRecorder : public TNullModeler
{
public:
  enum TKind {
    kLine,
    kArc,
    kArcAngles,
    kCircle,
    kMtr,
    kDeleteMtr,
    kRectAngle,
    kCLL,
    kFsk,
    kCVR,
    kCreate3D,
    kPlaneEskis,
    kBaseRotate,
    kBaseExtrusion,
    kCutExtrusion,
    kColor3D,
    kSave3D
  };
  struct TCall
  {
    TKind Kind;
    double v[10];
    int i[3];
    std::size_t Text; // first of its texts in Texts
  };
  std::vector<TCall> Calls;
  std::vector<TString> Texts;

  using TNullModeler::drArc;
  void drLine(const double& x1, const double& y1, const double& x2, const double& y2, int Attr) override
  {
    Top(kLine, {x1, y1, x2, y2}, {Attr});
    TNullModeler::drLine(x1, y1, x2, y2, Attr);
  }
  void drArc(const double& X, const double& Y, const double& R, const double& x1, const double& y1,
             const double& x2, const double& y2, int Napr, int Attr) override
  {
    Top(kArc, {X, Y, R, x1, y1, x2, y2}, {Napr, Attr});
    TNullModeler::drArc(X, Y, R, x1, y1, x2, y2, Napr, Attr);
  }
  void drArc(const double& xc, const double& yc, const double& r, const double& a1, const double& a2,
             int Attr, int Napr) override
  {
    Top(kArcAngles, {xc, yc, r, a1, a2}, {Attr, Napr});
    Nested([&] { TNullModeler::drArc(xc, yc, r, a1, a2, Attr, Napr); });
  }
  void drCircle(const double& X, const double& Y, const double& R, int Attr) override
  {
    Top(kCircle, {X, Y, R}, {Attr});
    TNullModeler::drCircle(X, Y, R, Attr);
  }
  void drMtr(double x, double y, double Angle, double Scale) override
  {
    Top(kMtr, {x, y, Angle, Scale}, {});
    Nested([&] { TNullModeler::drMtr(x, y, Angle, Scale); });
  }
  void drDeleteMtr() override
  {
    Top(kDeleteMtr, {}, {});
    Nested([&] { TNullModeler::drDeleteMtr(); });
  }
  void drRectAngle(const double& x1, const double& y1, const double& x2, const double& y2, int Attr) override
  {
    Top(kRectAngle, {x1, y1, x2, y2}, {Attr});
    Nested([&] { TNullModeler::drRectAngle(x1, y1, x2, y2, Attr); });
  }
  void drCLL(const double& x0, const double& y0, const double& xc, const double& yc, const double& x,
             const double& y, const double& r, int Attr) override
  {
    Top(kCLL, {x0, y0, xc, yc, x, y, r}, {Attr});
    Nested([&] { TNullModeler::drCLL(x0, y0, xc, yc, x, y, r, Attr); });
  }
  void drFsk(const double& x0, const double& y0, const double& xc, const double& yc, const double& x,
             const double& y, const double& c, int Attr) override
  {
    Top(kFsk, {x0, y0, xc, yc, x, y, c}, {Attr});
    Nested([&] { TNullModeler::drFsk(x0, y0, xc, yc, x, y, c, Attr); });
  }
  void drCVR(const double& x0, const double& y0, const double& x1, const double& y1, const double& x2,
             const double& y2, const double& x, const double& y, const double& r, int Attr) override
  {
    Top(kCVR, {x0, y0, x1, y1, x2, y2, x, y, r}, {Attr});
    Nested([&] { TNullModeler::drCVR(x0, y0, x1, y1, x2, y2, x, y, r, Attr); });
  }
  void drCreate3D(bool Invisible, bool isDetail, const TString& FileName, const TString& Name,
                  const TString& Marking) override
  {
    Top(kCreate3D, {}, {Invisible, isDetail}, {&FileName, &Name, &Marking});
    Nested([&] { TNullModeler::drCreate3D(Invisible, isDetail, FileName, Name, Marking); });
  }
  void drPlaneEskis(txapi::txObj3dTypeEnum BasePlane, double Distance, double Angle,
                    const TString& Name) override
  {
    Top(kPlaneEskis, {Distance, Angle}, {BasePlane}, {&Name});
    Nested([&] { TNullModeler::drPlaneEskis(BasePlane, Distance, Angle, Name); });
  }
  void drBaseRotate(int Napr, const double& Angle) override
  {
    Top(kBaseRotate, {Angle}, {Napr});
    Nested([&] { TNullModeler::drBaseRotate(Napr, Angle); });
  }
  void drBaseExtrusion(txapi::txDirectionTypeEnum Napr, txapi::txEndTypeEnum TypDepth, const double& Depth,
                       const double& Angle) override
  {
    Top(kBaseExtrusion, {Depth, Angle}, {Napr, TypDepth});
    Nested([&] { TNullModeler::drBaseExtrusion(Napr, TypDepth, Depth, Angle); });
  }
  void drCutExtrusion(txapi::txDirectionTypeEnum Napr, txapi::txEndTypeEnum TypDepth, const double& Depth,
                      const double& Angle) override
  {
    Top(kCutExtrusion, {Depth, Angle}, {Napr, TypDepth});
    Nested([&] { TNullModeler::drCutExtrusion(Napr, TypDepth, Depth, Angle); });
  }
  void drColor3D(int Color, const double& ambient, const double& diffuse, const double& specularity,
                 const double& shininess, const double& transparency, const double& emission) override
  {
    Top(kColor3D, {ambient, diffuse, specularity, shininess, transparency, emission}, {Color});
    Nested([&] {
      TNullModeler::drColor3D(Color, ambient, diffuse, specularity, shininess, transparency, emission);
    });
  }
  void drSave3D(bool Close, bool NeedNameMarking) override
  {
    Top(kSave3D, {}, {Close, NeedNameMarking});
    Nested([&] { TNullModeler::drSave3D(Close, NeedNameMarking); });
  }

private:
  int Depth = 0;
  void Top(TKind kind, std::initializer_list<double> v, std::initializer_list<int> i,
           std::initializer_list<const TString*> texts = {})
  {
    if (Depth > 0) return;
    TCall c{kind, {}, {}, Texts.size()};
    std::copy(v.begin(), v.end(), c.v);
    std::copy(i.begin(), i.end(), c.i);
    for (const TString* t : texts)
      Texts.push_back(*t);
    Calls.push_back(c);
  }
  template <class F> void Nested(F f)
  {
    ++Depth;
    f();
    --Depth;
  }
};

// Makes the kept calls again on m through the same virtual operations.
void Replay(TModeler3D& m, const TCallRecorder& r)
{
  using R = TCallRecorder;
  for (const R::TCall& c : r.Calls) {
    const double* v = c.v;
    const int* i = c.i;
    const TString* t = r.Texts.data() + c.Text;
    switch (c.Kind) {
    case R::kLine:
      m.drLine(v[0], v[1], v[2], v[3], i[0]);
      break;
    case R::kArc:
      m.drArc(v[0], v[1], v[2], v[3], v[4], v[5], v[6], i[0], i[1]);
      break;
    case R::kArcAngles:
      m.drArc(v[0], v[1], v[2], v[3], v[4], i[0], i[1]);
      break;
    case R::kCircle:
      m.drCircle(v[0], v[1], v[2], i[0]);
      break;
    case R::kMtr:
      m.drMtr(v[0], v[1], v[2], v[3]);
      break;
    case R::kDeleteMtr:
      m.drDeleteMtr();
      break;
    case R::kRectAngle:
      m.drRectAngle(v[0], v[1], v[2], v[3], i[0]);
      break;
    case R::kCLL:
      m.drCLL(v[0], v[1], v[2], v[3], v[4], v[5], v[6], i[0]);
      break;
    case R::kFsk:
      m.drFsk(v[0], v[1], v[2], v[3], v[4], v[5], v[6], i[0]);
      break;
    case R::kCVR:
      m.drCVR(v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8], i[0]);
      break;
    case R::kCreate3D:
      m.drCreate3D(i[0] != 0, i[1] != 0, t[0], t[1], t[2]);
      break;
    case R::kPlaneEskis:
      m.drPlaneEskis(txapi::txObj3dTypeEnum(i[0]), v[0], v[1], t[0]);
      break;
    case R::kBaseRotate:
      m.drBaseRotate(i[0], v[0]);
      break;
    case R::kBaseExtrusion:
      m.drBaseExtrusion(txapi::txDirectionTypeEnum(i[0]), txapi::txEndTypeEnum(i[1]), v[0], v[1]);
      break;
    case R::kCutExtrusion:
      m.drCutExtrusion(txapi::txDirectionTypeEnum(i[0]), txapi::txEndTypeEnum(i[1]), v[0], v[1]);
      break;
    case R::kColor3D:
      m.drColor3D(i[0], v[0], v[1], v[2], v[3], v[4], v[5]);
      break;
    case R::kSave3D:
      m.drSave3D(i[0] != 0, i[1] != 0);
      break;
    }
  }
}

void BaseDetailReplay(benchmark::State& state)
{
  static const TCallRecorder& recorded = []() -> const TCallRecorder& {
    static TCallRecorder r;
    EveryCode(r);
    // The replay must come down to the very primitives the builds make.
    TNullModeler built, replayed;
    built.Keep = replayed.Keep = true;
    EveryCode(built);
    Replay(replayed, r);
    if (built.Prims.size() != replayed.Prims.size() ||
        !std::equal(built.Prims.begin(), built.Prims.end(), replayed.Prims.begin(),
                    [](const TNullModeler::TPrim& a, const TNullModeler::TPrim& b) {
                      return a.Kind == b.Kind && a.Napr == b.Napr && a.Attr == b.Attr &&
                             std::equal(a.v, a.v + 7, b.v);
                    }))
      std::abort();
    return r;
  }();
  TModeler3D* m = NewNullModeler();
  for (auto _ : state)
    Replay(*m, recorded);
  delete m;
}

BENCHMARK(Read)->Unit(benchmark::kMillisecond);
BENCHMARK(ReadFloor)->Unit(benchmark::kMillisecond);
BENCHMARK(IndexStDet);
BENCHMARK(LowerBound);
BENCHMARK(BaseDetailByCode)->Unit(benchmark::kMicrosecond);
BENCHMARK(BaseDetailReplay)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
  return RunAndReport(argc, argv, [](TRatioReporter& reporter) {
    auto& t = reporter.NsPerIteration;
    if (t.count("Read") && t.count("ReadFloor"))
      std::printf(
          "\nreading %d tables x %d rows x %d columns (%ju bytes): %.1f ms; floor %.1f ms; ratio %.2f\n",
          Tables, Rows, Columns, std::uintmax_t(std::filesystem::file_size(Bench().File)), t["Read"] / 1e6,
          t["ReadFloor"] / 1e6, t["Read"] / t["ReadFloor"]);
    if (t.count("IndexStDet") && t.count("LowerBound"))
      std::printf("IndexStDet of a %d-row table: %.0f ns; std::lower_bound %.0f ns; ratio %.2f\n", Rows,
                  t["IndexStDet"], t["LowerBound"], t["IndexStDet"] / t["LowerBound"]);
    if (t.count("BaseDetailByCode") && t.count("BaseDetailReplay"))
      std::printf("every code built (%zu parts): %.1f us; its modeller calls replayed %.1f us; ratio %.2f\n",
                  CodeBuilds().size(), t["BaseDetailByCode"] / 1e3, t["BaseDetailReplay"] / 1e3,
                  t["BaseDetailByCode"] / t["BaseDetailReplay"]);
  });
}
