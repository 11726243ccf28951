// The standard part built by code on the stand-in host, its features made by the solid evaluator as a real
// host makes them with its modeller, held to what a true answer promises: every file it leaves is one valid
// solid as the evaluator makes it (what `txhost check` passes), and every false answer leaves its message,
// no file and no open document behind. Every code is built from the rows of its table (code 4 also from
// table 2's, the same bush), the untabled codes from their sample and at every size 10, each as it is and
// with each of its sizes, and then all of them, set to 0, -10, NaN, infinity, 1e12 and 1e300. CI takes the
// first, middle and last rows of every table; HXCAD_GEOMETRY_ROWS=all takes every row (test_stdparts
// --gtest_filter='BaseDetailSolids*').
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "../adapter/AdapterSupport.h"
#include "StdPartsSupport.h"
#include "tests/core/TextBaseTestUtil.h"
#include "txhost/lib/Host.h"
#include "txhost/lib/Model3D.h"
#include "txhost/lib/Placement3D.h"
#include "txhost/solid/Evaluator.h"

namespace {

const double Odd[] = {0.0, -10.0, std::numeric_limits<double>::quiet_NaN(), HUGE_VAL, 1e12, 1e300};

bool SolidsEveryRow()
{
  const char* v = std::getenv("HXCAD_GEOMETRY_ROWS");
  return v != nullptr && std::string(v) == "all";
}

// HXCAD_CODES=FROM-TO sweeps those codes alone, so that the whole sweep can run as several processes.
bool CodeSwept(int code)
{
  const char* v = std::getenv("HXCAD_CODES");
  int from = 0, to = 0;
  if (v == nullptr || std::sscanf(v, "%d-%d", &from, &to) != 2) return true;
  return code >= from && code <= to;
}

// HXCAD_SHARD=K/N takes every Nth table row from the Kth, so that a code of a hundred rows can be swept by
// several processes.
bool RowSwept(int row)
{
  const char* v = std::getenv("HXCAD_SHARD");
  int k = 0, n = 0;
  if (v == nullptr || std::sscanf(v, "%d/%d", &k, &n) != 2 || n <= 0) return true;
  return row % n == k;
}

// The rows a code is built from: its table's (all, or the first, middle and last), else its sample and every
// size 10.
std::vector<std::pair<std::string, std::vector<double>>> BasesOf(int code, int need)
{
  std::vector<std::pair<std::string, std::vector<double>>> bases;
  for (int table : {code, code == 4 ? 2 : 0}) {
    const int rows = table > 0 ? ABaseDetail.SocketCount(table) - 1 : 0;
    for (int r = 1; r <= rows; ++r)
      if ((SolidsEveryRow() || r == 1 || r == (rows + 1) / 2 || r == rows) && RowSwept(r))
        bases.emplace_back("table " + std::to_string(table) + " row " + std::to_string(r),
                           stdtest::TableRow(table, r));
  }
  if (bases.empty()) {
    if (stdtest::CodeSamples().contains(code))
      bases.emplace_back("its sample", stdtest::CodeSamples().at(code));
    bases.emplace_back("every size 10", std::vector<double>(std::size_t(need), 10.0));
  }
  return bases;
}

class BaseDetailSolids : public ::testing::Test, public adaptertest::HostedModeller
{
protected:
  // The host makes its features with the evaluator, as a real host with its modeller.
  BaseDetailSolids()
  {
    stdtest::LoadShipped();
    H.SetSolidModeller(&Evaluator);
  }
  ~BaseDetailSolids() override { H.SetSolidModeller(nullptr); }

  struct TCounts
  {
    int Calls = 0, True = 0, Checked = 0, Failures = 0, ByRelation = 0;
  };

  // One call and what it left: a true answer one file that passes the evaluator's check, a false one
  // its message, no file and nothing open. The answer.
  // With needRelation, a call the modeller refuses is a fault too: its sizes break a relation of the
  // code's outline that nothing named before a document opened.
  bool Build(int code, const std::vector<double>& sizes, const std::string& what, TCounts& n,
             bool needRelation = false)
  {
    const std::filesystem::path file = Dir / "part.tpt";
    tbtest::TMessageLog log;
    ++n.Calls;
    // HXCAD_SWEEP_TRACE names each call before it is made: the one a hang is in.
    if (std::getenv("HXCAD_SWEEP_TRACE") != nullptr) std::cout << "code " << code << ", " << what << std::endl;
    const bool built = drBaseDetail(drApi::MA, adaptertest::T(Dir.path()) + TString("/"), TString("part"),
                                    TString("m"), code, 0, sizes, false);
    std::string fault;
    if (!H.Documents().empty()) fault = "a document stays open";
    if (!built) {
      if (std::filesystem::exists(file)) fault = "refused, yet a file is left";
      if (log.Texts.empty()) fault = "refused without a message";
      const bool relation = log.Count("Код ") > 0;
      n.ByRelation += relation;
      if (needRelation && !relation && log.Count("Недопустимые размеры") == 0 &&
          log.Count("Недостаточно размеров") == 0)
        fault = "refused by the modeller, no relation of its sizes named: " + log.Texts.front().Utf8Text();
    } else {
      ++n.True;
      txhost::Object* doc = std::filesystem::exists(file) ? H.OpenDocument(file, false) : nullptr;
      if (doc == nullptr) {
        fault = "built, yet no file to open";
      } else {
        ++n.Checked;
        // The solid modeller takes hours over a part kilometres wide with millimetre details: such a part
        // is failed unevaluated.
        const txhost::Object* top = H.TopPart(*doc);
        constexpr double space = txhost::model::ModelSpace;
        // A socket, slot or flat is cut from the part's outside: a cut whose tool stands clear of the
        // part's box on every side (a socket sunk in the shank, not the head) makes a hidden void.
        double lo[3] = {HUGE_VAL, HUGE_VAL, HUGE_VAL}, hi[3] = {-HUGE_VAL, -HUGE_VAL, -HUGE_VAL};
        for (const txhost::place::Placed& f :
             top ? txhost::place::PlacedFeatures(*top) : std::vector<txhost::place::Placed>()) {
          bool inside = f.Cut;
          for (int k = 0; k < 3; ++k) {
            if (!(std::abs(f.Tool.Lo[k]) <= space && std::abs(f.Tool.Hi[k]) <= space))
              fault = "kilometres wide";
            // A micron: the boxes of large parts carry the modeller's rounding.
            inside = inside && f.Tool.Lo[k] > lo[k] + 1e-3 && f.Tool.Hi[k] < hi[k] - 1e-3;
            if (!f.Cut) lo[k] = std::min(lo[k], f.Tool.Lo[k]), hi[k] = std::max(hi[k], f.Tool.Hi[k]);
          }
          if (inside && fault.empty()) fault = "a cut closed inside the part";
        }
        std::ostringstream out;
        int faults = 0;
        std::string error;
        if (fault.empty() && !Evaluator.Check(*doc, out, faults, error))
          fault = error;
        else if (fault.empty() && faults != 0)
          fault = out.str();
        H.CloseDocument(*doc);
      }
    }
    std::filesystem::remove(file);
    if (fault.empty()) return built;
    ++n.Failures;
    if (n.Failures <= 40) ADD_FAILURE() << "code " << code << ", " << what << ": " << fault;
    return built;
  }

  // What one code's calls came to, so that a whole sweep's counts can be read per code.
  static void Report(int code, const TCounts& before, const TCounts& n)
  {
    std::cout << "  code " << code << ": " << n.Calls - before.Calls << " calls, " << n.True - before.True
              << " true, " << n.Checked - before.Checked << " checked, " << n.ByRelation - before.ByRelation
              << " by a relation, " << n.Failures - before.Failures << " failures" << std::endl;
  }

  txhost::solid::TEvaluator Evaluator{H};
};

TEST_F(BaseDetailSolids, ATrueAnswerLeavesOneValidSolidAndAFalseOneNothing)
{
  TCounts n;
  for (const auto& [code, need] : stdtest::CodeNeeds()) {
    if (!CodeSwept(code)) continue;
    const TCounts before = n;
    // Every code builds from the rows of its table or its sample, but the one that draws nothing: a
    // builder that refuses every size answers no false true.
    bool any = false;
    for (const auto& [base, sizes] : BasesOf(code, need)) {
      const bool built = Build(code, sizes, base, n);
      if (base != "every size 10") any = any || built;
      for (double odd : Odd) {
        std::ostringstream value;
        value << odd;
        for (std::size_t i = 0; i < sizes.size() && i < std::size_t(need); ++i) {
          std::vector<double> v = sizes;
          v[i] = odd;
          const std::string what = base + ", size " + std::to_string(i) + " = " + value.str();
          // A size the code says it does not read builds as the row does, whatever it holds: the pushed
          // sweep leaves such sizes alone.
          EXPECT_TRUE(Build(code, v, what, n) || !built || drBaseDetailReads(code, i)) << "code " << code << ", " << what;
        }
        Build(code, std::vector<double>(sizes.size(), odd), base + ", every size " + value.str(), n);
      }
    }
    EXPECT_EQ(any, code != 28) << "code " << code;
    Report(code, before, n);
  }
  std::cout << "builder by code: " << n.Calls << " calls, " << n.True << " true answers, " << n.Checked
            << " files checked, " << n.Failures << " failures\n";
  EXPECT_EQ(n.Failures, 0);
  EXPECT_GT(n.Checked, 0);
}

// Sizes that break the outline are refused before any document opens, naming the relation: every code from
// its rows scaled, each size in turn pushed past each of the others. A true answer leaves one valid solid; a
// false one no file, and its message names the code, the sizes and the relation, never only that the
// modeller failed. CI takes each code's first row at its size, each size pushed past the nearest above it;
// HXCAD_GEOMETRY_ROWS=all every row at 0.5 to 2 times its size, each size past every other.
TEST_F(BaseDetailSolids, SizesPushedPastEachOtherAreRefusedByTheirRelation)
{
  TCounts n;
  const bool all = SolidsEveryRow();
  const std::vector<double> scales =
      all ? std::vector<double>{0.5, 0.75, 1.0, 1.5, 2.0} : std::vector<double>{1.0};
  for (const auto& [code, need] : stdtest::CodeNeeds()) {
    if (code == 28 || !CodeSwept(code)) continue; // 28 draws nothing: every call is the modeller's refusal
    const TCounts before = n;
    auto bases = BasesOf(code, need);
    if (!all) bases.resize(1);
    for (const auto& [base, row] : bases) {
      if (row.size() < std::size_t(need)) continue; // too few sizes: refused as such above
      for (double scale : scales) {
        std::vector<double> sizes = row;
        for (double& v : sizes)
          v *= scale;
        const std::string at = base + " x" + std::to_string(scale).substr(0, 4);
        // A row builds at its own size; scaled, its millimetre chamfers and grooves may no longer fit.
        const bool built = Build(code, sizes, at, n, true);
        EXPECT_TRUE(built || scale != 1.0 || base == "every size 10") << "code " << code << ", " << at;
        // The slot-0 bars read their leading slot; every other code starts at slot 1.
        const std::size_t first = code == 37 || code == 38 ? 0 : 1;
        for (std::size_t i = first; i < sizes.size() && i < std::size_t(need); ++i) {
          // A size the code does not read leaves its part as it is: pushing it would build the row again.
          if (sizes[i] == 0.0 || !drBaseDetailReads(code, i)) continue;
          // Past every other size, or (CI) past the nearest above it: each pair of neighbours crosses once.
          double above = HUGE_VAL;
          for (std::size_t j = first; j < sizes.size() && j < std::size_t(need); ++j)
            if (sizes[j] > sizes[i]) above = std::min(above, sizes[j]);
          for (std::size_t j = first; j < sizes.size() && j < std::size_t(need); ++j) {
            if (j == i || sizes[j] == 0.0 || sizes[j] == sizes[i]) continue;
            if (!all && sizes[j] != above) continue;
            std::vector<double> v = sizes;
            v[i] = sizes[j] > sizes[i] ? sizes[j] * 1.25 : sizes[j] * 0.8;
            Build(code, v, at + ", P" + std::to_string(i) + " past P" + std::to_string(j), n, true);
          }
        }
      }
    }  Report(code, before, n);
  }
  // A guide bush's front extension at every length its relation lets through builds.
  for (double f = 2.0; f <= 8.0; f += 0.5) {
    std::vector<double> sizes = stdtest::TableRow(2, 1);
    sizes[5] = f;
    EXPECT_TRUE(Build(2, sizes, "front extension " + std::to_string(f), n, true)) << f;
  }
  // Sizes once built as something else, each a valid solid: the bush with a bore wider than itself, or as
  // wide (a ring turned inside out, a sliver); a pin or cap screw whose chamfer or head rounding is past its
  // radius or length (cut short by the outline to a point, a cone or a dome). Refused, with the code, the
  // sizes and the relation named, and no file.
  struct TMisfit
  {
    int Code, Row;
    std::vector<std::pair<std::size_t, double>> Set;
    std::vector<std::string> Said;
  };
  const TMisfit misfits[] = {
      {2, 1, {{1, 40.0}}, {"Код 2", "P1 = 40", "P2 = 25", "P1 + 3 < P2"}},
      {2, 1, {{1, 25.0}}, {"Код 2", "P1 = 25", "P2 = 25", "P1 + 3 < P2"}},
      {31, 1, {{3, 1.0}}, {"Код 31", "P3 = 1", "P1 = 2", "2·P3 < P1"}},
      {31, 1, {{2, 1.5}, {3, 0.75}}, {"Код 31", "P3 = 0,75", "P2 = 1,5", "2·P3 < P2"}},
      {26, 1, {{7, 3.0}}, {"Код 26", "P7 = 3", "P4 = 3", "P7 < P4"}},
      {26, 1, {{7, 2.8}}, {"Код 26", "P7 = 2,8", "P2 = 5,5", "2·P7 < P2"}},
      {33, 1, {{12, 3.0}}, {"Код 33", "P12 = 3", "P6 = 3", "P12 < P6"}},
      {33, 1, {{12, 2.8}}, {"Код 33", "P12 = 2,8", "P5 = 5,5", "2·P12 < P5"}},
      // A front extension shorter than its groove and run-out, which the guide bush class refuses too.
      {2, 1, {{5, 1.75}}, {"Код 2", "P5 = 1,75", "передний поясок короче канавки", "2 <= P5"}},
      // The locating ring's shoulder wider than the ring, which the ring class refuses (row 0: the sample).
      {18, 0, {{3, 60.0}, {7, 100.0}}, {"Код 18", "P7 = 100", "P3 = 60", "буртик не шире кольца"}},
      {19, 0, {{3, 60.0}, {7, 100.0}}, {"Код 19", "P7 = 100", "P3 = 60", "P7 <= P3"}},
  };
  for (const TMisfit& m : misfits) {
    std::vector<double> sizes =
        m.Row > 0 ? stdtest::TableRow(m.Code, m.Row) : stdtest::CodeSamples().at(m.Code);
    for (const auto& [slot, value] : m.Set)
      sizes[slot] = value;
    tbtest::TMessageLog log;
    EXPECT_FALSE(drBaseDetail(drApi::MA, adaptertest::T(Dir.path()) + TString("/"), TString("part"),
                              TString("m"), m.Code, 0, sizes, false))
        << m.Said.back();
    EXPECT_EQ(log.Texts.size(), 1u) << m.Said.back();
    const std::string said = log.Texts.empty() ? std::string() : log.Texts[0].Utf8Text();
    for (const std::string& part : m.Said)
      EXPECT_NE(said.find(part), std::string::npos) << said;
    EXPECT_FALSE(std::filesystem::exists(Dir / "part.tpt"));
  }
  std::cout << "sizes pushed: " << n.Calls << " calls, " << n.True << " true answers, " << n.ByRelation
            << " refused by a relation, " << n.Failures << " failures\n";
  EXPECT_EQ(n.Failures, 0);
  EXPECT_GT(n.ByRelation, 0);
}

// Each relation lets through only what the modeller makes: the sizes of a code's first row (or sample), one
// size at a time moved each way to the first relation it breaks, build just inside it as one valid solid, and
// are refused just past it. CI takes the bushes' and the rings' codes; HXCAD_GEOMETRY_ROWS=all every code.
TEST_F(BaseDetailSolids, SizesJustInsideEachRelationBuild)
{
  const bool all = SolidsEveryRow();
  TCounts n;
  int boundaries = 0;
  for (const auto& [code, need] : stdtest::CodeNeeds()) {
    const bool ci = code == 2 || code == 10 || code == 11 || code == 18 || code == 21 || code == 43 || code == 52;
    if (code == 28 || !CodeSwept(code) || !(all || ci)) continue;
    const std::vector<double> row = BasesOf(code, need).front().second;
    if (row.size() < std::size_t(need) || drBaseDetailBroken(code, row) != nullptr) continue;
    const std::size_t first = code == 37 || code == 38 ? 0 : 1;
    for (std::size_t i = first; i < std::size_t(need); ++i) {
      if (row[i] == 0.0 || !drBaseDetailReads(code, i)) continue;
      for (const double step : {1.1, 1 / 1.1}) {
        // The size scaled by step at a time up to 20 times (or down to a 20th of) its own, to the first
        // value a relation refuses; the boundary between the two found to a part in a billion.
        std::vector<double> v = row;
        const auto broken = [&](double x) {
          v[i] = x;
          return drBaseDetailBroken(code, v);
        };
        double in = row[i], out = NAN;
        for (double k = step; k < 20.5 && k > 1 / 20.5; k *= step)
          if (broken(row[i] * k) != nullptr) {
            out = row[i] * k;
            break;
          } else {
            in = row[i] * k;
          }
        if (std::isnan(out)) continue;
        for (int b = 0; b < 60 && std::abs(out - in) > 1e-9 * std::abs(out); ++b)
          (broken((in + out) / 2) != nullptr ? out : in) = (in + out) / 2;
        // Just on each side: a hundredth of a millimetre, or a thousandth of the size where that is more.
        const double boundary = (in + out) / 2, gap = std::max(0.01, 1e-3 * std::abs(boundary));
        const double inside = boundary + (in < out ? -gap : gap), past = boundary + (in < out ? gap : -gap);
        if (broken(inside) != nullptr || past <= 0.0) continue; // another relation this close: not this one's side
        const char* why = broken(past);
        if (why == nullptr) continue;
        ++boundaries;
        std::ostringstream at;
        at << "P" << i << " = " << inside << " / " << past << " (" << why << ")";
        v[i] = inside;
        EXPECT_TRUE(Build(code, v, "just inside " + at.str(), n, true)) << "code " << code << ", " << at.str();
        v[i] = past;
        EXPECT_FALSE(Build(code, v, "just past " + at.str(), n, true)) << "code " << code << ", " << at.str();
      }
    }
  }
  std::cout << "relations: " << boundaries << " boundaries, " << n.Calls << " calls\n";
  EXPECT_GT(boundaries, 0);
  EXPECT_EQ(n.Failures, 0);
}

// The host's verdict on each feature reaches the caller: with the evaluator attached, a cut that misses the
// part and a boss apart from it fail (kept, failed, without a body) and are counted; without it the host
// makes both, as it cannot tell.
TEST_F(BaseDetailSolids, AFeatureTheModellerCannotMakeFailsAndIsCounted)
{
  for (const bool attached : {true, false}) {
    SCOPED_TRACE(attached ? "with the modeller" : "without");
    H.SetSolidModeller(attached ? &Evaluator : nullptr);
    TModeler3D& M = drApi::MA;
    const long long before = M.drFailures3D();
    std::vector<long long> failed;
    M.drCreate3D(true, true, adaptertest::T(Dir / "f.tpt"), TString("f"), TString("m"));
    auto turned = [&M](double from, double to) {
      M.drPlaneEskis(txapi::o3d_planeYOZ, 0, 0, TString());
      M.drLine(-1, 0, 100, 0, 3);
      M.drRectAngle(from, 0, to, 5, 1);
      M.drBaseRotate(0, 360);
    };
    turned(0, 20);
    failed.push_back(M.drFailures3D() - before);
    M.drPlaneEskis(txapi::o3d_planeXOY, 0, 0, TString());
    M.drRectAngle(100, 100, 110, 110, 1);
    M.drCutExtrusion(txapi::dtBoth, txapi::etBlind, 10, 0);
    failed.push_back(M.drFailures3D() - before);
    turned(50, 60);
    failed.push_back(M.drFailures3D() - before);
    EXPECT_TRUE(M.drHasBody3D());
    M.drDiscard3D();
    const std::vector<long long> expected =
        attached ? std::vector<long long>{0, 1, 2} : std::vector<long long>{0, 0, 0};
    EXPECT_EQ(failed, expected);
    EXPECT_TRUE(H.Documents().empty());
  }
}

} // namespace
