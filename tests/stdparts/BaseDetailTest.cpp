// The standard part built by code: every code on the recording modeller, from the rows of its
// table where the shipped file has one, and the refusals that leave no document behind.
#include <algorithm>
#include <climits>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <span>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "../adapter/AdapterSupport.h"
#include "StdPartsSupport.h"
#include "tests/core/TextBaseTestUtil.h"
#include "txhost/lib/Model3D.h"

namespace {

using BaseDetail = stdtest::TPartsTest;

const std::map<int, int>& Need = stdtest::CodeNeeds();

const std::map<int, std::vector<double>>& Sample = stdtest::CodeSamples();

std::vector<double> Row(int table, int row)
{
  return stdtest::TableRow(table, row);
}

// Every set of sizes the sweep builds: the table rows of 2, 3, 5, 26, 31 and 33, table 2's rows
// for code 4, and the samples.
std::vector<std::pair<int, std::vector<double>>> Cases()
{
  std::vector<std::pair<int, std::vector<double>>> cases;
  for (int code : {2, 3, 5, 26, 31, 33})
    for (int r = 1; r < ABaseDetail.SocketCount(code); ++r)
      cases.emplace_back(code, Row(code, r));
  for (int r = 1; r < ABaseDetail.SocketCount(2); ++r)
    cases.emplace_back(4, Row(2, r));
  for (const auto& [code, sizes] : Sample)
    cases.emplace_back(code, sizes);
  return cases;
}

TEST_F(BaseDetail, EveryCodeBuildsOneSoundRevolvedPartDocument)
{
  const TString path("/parts/"), name("Part"), marking("M-1");
  std::map<int, int> built;
  for (const auto& [code, sizes] : Cases()) {
    SCOPED_TRACE("code " + std::to_string(code));
    Md.Reset();
    // With the sizes asked for, the profiles stay finite and balanced (the support washer's
    // draws a leader line into the sketch, so closed outlines are checked without them).
    ASSERT_TRUE(drBaseDetail(Md, path, name, marking, code, 0, sizes, true));
    std::string why;
    EXPECT_TRUE(Md.AllFinite(&why) && Md.Balanced(&why)) << why;
    Md.Reset();
    ASSERT_TRUE(drBaseDetail(Md, path, name, marking, code, 0, sizes, false));
    ++built[code];
    EXPECT_TRUE(DrawingSound(Md));
    EXPECT_EQ(Md.R2D().DI.cDetail, 95);
    EXPECT_EQ(Md.R2D().DI.cSuffics, code);
    const auto create = Md.Of("drCreate3D");
    ASSERT_EQ(create.size(), 1u);
    EXPECT_EQ(create[0].S[0], TString("/parts/Part.tpt"));
    EXPECT_EQ(create[0].S[1], name);
    EXPECT_EQ(create[0].S[2], marking);
    EXPECT_EQ(Md.Calls.front().Op, "drCreate3D");
    EXPECT_EQ(Md.Calls.back().Op, "drSave3D");
    EXPECT_EQ(Md.Count("drBaseRotate"), 1);
    EXPECT_EQ(Md.TransformDepth(), 0);
    // Every sketch holds a closed outline but the one part whose outline is left empty.
    for (int k = 0; k < Md.Sketches(); ++k)
      EXPECT_EQ(Md.SketchProfile(k).empty(), code == 28) << "sketch " << k;
    const bool cuts =
        code == 20 || code == 22 || code == 25 || code == 26 || code == 28 || (code >= 32 && code <= 37);
    EXPECT_EQ(Md.Count("drCutExtrusion"), cuts ? 1 : 0);
    EXPECT_EQ(Md.Count("drBaseExtrusion"), code == 38 ? 1 : 0);
    EXPECT_EQ(Md.Sketches(), cuts || code == 38 ? 2 : 1);
  }
  for (const auto& [code, need] : Need)
    EXPECT_GT(built[code], 0) << "code " << code << " swept";
}

TEST_F(BaseDetail, AnUnknownCodeOrTooFewSizesIsRefusedBeforeAnyDocument)
{
  const std::vector<double> plenty(20, 10.0);
  for (int code : {INT_MIN, -1, 0, 1, 9, 39, 40, 41, 42, 44, 45, 46, 47, 48, 49, 53, INT_MAX}) {
    Md.Reset();
    EXPECT_FALSE(drBaseDetail(Md, TString("/p/"), TString("n"), TString("m"), code, 0, plenty, false))
        << code;
    EXPECT_TRUE(Md.Calls.empty()) << code;
  }
  // Table 4's rows are narrower than the bush of code 4 reads.
  Md.Reset();
  EXPECT_FALSE(drBaseDetail(Md, TString("/p/"), TString("n"), TString("m"), 4, 0, Row(4, 1), false));
  EXPECT_TRUE(Md.Calls.empty());
  for (const auto& [code, need] : Need) {
    if (need == 0) continue;
    Md.Reset();
    const std::vector<double> few(std::size_t(need - 1), 10.0);
    EXPECT_FALSE(drBaseDetail(Md, TString("/p/"), TString("n"), TString("m"), code, 0, few, false)) << code;
    EXPECT_TRUE(Md.Calls.empty()) << code;
    // Enough sizes build, or are refused whole for an outline they cannot make, naming its relation.
    tbtest::TMessageLog log;
    const bool built = drBaseDetail(Md, TString("/p/"), TString("n"), TString("m"), code, 0,
                                    std::span<const double>(plenty).first(std::size_t(need)), false);
    EXPECT_TRUE(built || (Md.Calls.empty() && log.Count("Код ") == 1)) << code;
  }
}

// The calls of one build with the leading create call's detail set aside.
std::vector<std::string> Trace(TRecordingModeler& Md, int code, const std::vector<double>& sizes, int result,
                               bool mustBuild = true)
{
  Md.Reset();
  const bool built = drBaseDetail(Md, TString("/p/"), TString("n"), TString("m"), code, result, sizes, true);
  EXPECT_TRUE(built || !mustBuild);
  std::vector<std::string> t;
  for (const auto& c : Md.Calls)
    t.push_back(stdtest::Line(c));
  return t;
}

TEST_F(BaseDetail, PairsOfCodesBuildAlikeAndTheFittingAndResultIndexChangeNothing)
{
  for (const auto& [a, b] : std::vector<std::pair<int, int>>{{14, 16}, {15, 17}, {18, 19}, {43, 51}})
    EXPECT_EQ(Trace(Md, a, Sample.at(a), 0), Trace(Md, b, Sample.at(a), 0)) << a << " " << b;
  const std::vector<double> row = Row(2, 1);
  EXPECT_EQ(Trace(Md, 2, row, 0), Trace(Md, 4, row, 0));
  EXPECT_EQ(Trace(Md, 2, row, 0), Trace(Md, 2, row, -7));
  const auto fitting = Trace(Md, 36, {}, 0);
  EXPECT_EQ(fitting, Trace(Md, 36, std::vector<double>(40, 1e9), 3));
  EXPECT_GT(fitting.size(), 10u);
}

// Every size a code draws with is checked before any document: a slot that changes the part refuses
// NaN, infinities, negatives and sizes beyond any part with the message; slots the code never reads stay
// free. All-zero sizes are refused by every code that reads one.
TEST_F(BaseDetail, SizesThatCannotMakeAPartAreRefusedBeforeAnyDocument)
{
  tbtest::TMessageLog log;
  std::vector<std::pair<int, std::vector<double>>> cases;
  for (const auto& [code, sizes] : Sample)
    cases.emplace_back(code, sizes);
  for (int code : {2, 3, 5, 26, 31, 33})
    cases.emplace_back(code, Row(code, 1));
  for (const auto& [code, sizes] : cases) {
    SCOPED_TRACE("code " + std::to_string(code));
    const auto plain = Trace(Md, code, sizes, 0);
    for (std::size_t i = 0; i < sizes.size(); ++i) {
      std::vector<double> moved = sizes;
      moved[i] = sizes[i] * 1.25 + 0.5;
      // Moved past another size, it may break the outline: refused, it is read all the same.
      const bool read = Trace(Md, code, moved, 0, false) != plain;
      for (double bad : {std::nan(""), HUGE_VAL, -HUGE_VAL, -1.0, 1e12, 1e300}) {
        std::vector<double> v = sizes;
        v[i] = bad;
        Md.Reset();
        log.Texts.clear();
        // A size that only a drawing's thread or socket lines take leaves the revolved outline
        // alone: it may be refused too, but a refusal is always whole.
        const bool built = drBaseDetail(Md, TString("/p/"), TString("n"), TString("m"), code, 0, v, true);
        if (read) {
          EXPECT_FALSE(built) << "slot " << i << " value " << bad;
        }
        EXPECT_EQ(Md.Calls.empty(), !built) << "slot " << i;
        EXPECT_EQ(log.Count("Недопустимые размеры: /p/n.tpt"), built ? 0 : 1) << "slot " << i;
      }
    }
    Md.Reset();
    EXPECT_EQ(drBaseDetail(Md, TString("/p/"), TString("n"), TString("m"), code, 0,
                           std::vector<double>(sizes.size(), 0.0), false),
              code == 36);
  }
}

// Tables 33 and 26 hold the same screws: the same row builds the same part, the head and the length under
// it (code 33 built it one head height short).
TEST_F(BaseDetail, BothCapScrewTablesBuildTheSameScrew)
{
  auto outline = [this](int code, const std::vector<double>& sizes) {
    Md.Reset();
    EXPECT_TRUE(drBaseDetail(Md, TString("/p/"), TString("n"), TString("m"), code, 0, sizes, false));
    return TRecordingModeler::Box(TRecordingModeler::Outline(Md.SketchProfile(0)));
  };
  int compared = 0;
  for (int r33 = 1; r33 < ABaseDetail.SocketCount(33); ++r33)
    for (int r26 = 1; r26 < ABaseDetail.SocketCount(26); ++r26) {
      const auto a = Row(33, r33), b = Row(26, r26);
      if (a[1] != b[1] || a[2] != b[8]) continue;
      ++compared;
      const auto p = outline(33, a), q = outline(26, b);
      EXPECT_NEAR(p.x1, q.x1, 1e-9) << "M" << a[1] << "x" << a[2];
      EXPECT_NEAR(p.x2, q.x2, 1e-9) << "M" << a[1] << "x" << a[2];
      EXPECT_NEAR(p.x2 - p.x1, a[2] + a[6], 1e-9) << "M" << a[1] << "x" << a[2];
    }
  EXPECT_GT(compared, 10);
}

TEST_F(BaseDetail, TheBarsAreTurnedUprightAndTheFlatIsTheChordOfTheirCircle)
{
  Md.Reset();
  ASSERT_TRUE(drBaseDetail(Md, TString("/p/"), TString("n"), TString("m"), 38, 0, Sample.at(38), false));
  const auto mtr = Md.Of("drMtr");
  ASSERT_EQ(mtr.size(), 1u);
  EXPECT_EQ(mtr[0].A, (std::vector<double>{0, 0, -90.0, 1.0}));
  const auto rect = Md.Of("drRectAngle");
  ASSERT_EQ(rect.size(), 1u);
  const double h = std::sqrt(8.0 * 8.0 - 5.0 * 5.0);
  EXPECT_EQ(rect[0].A, (std::vector<double>{5.0, h, -5.0, -h, 1}));
  const auto planes = Md.Of("drPlaneEskis");
  ASSERT_EQ(planes.size(), 2u);
  EXPECT_EQ(planes[1].A[0], txapi::o3d_planeXOZ);
  EXPECT_EQ(planes[1].A[1], -30.0);
  // The axis line runs 3 mm past both ends of the bar, P0 + P1 long.
  const auto lines = Md.Of("drLine");
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines[0].A, (std::vector<double>{-3.0, 0, 53.0, 0, 3}));
  // The round part ends at P0 (turned onto -y), where the flat-sided end begins; the outline
  // running on to P0 + P1 would swallow the flats.
  const auto box = TRecordingModeler::Box(TRecordingModeler::Outline(Md.SketchProfile(0)));
  EXPECT_NEAR(box.y1, -30.0, 1e-9);
  EXPECT_NEAR(box.y2, 0.0, 1e-9);
  EXPECT_NEAR(box.x2, 8.0, 1e-9);
}

// --- On the stand-in host -------------------------------------------------------------------------

class BaseDetailStandIn : public ::testing::Test, public adaptertest::HostedModeller
{
protected:
  BaseDetailStandIn() { stdtest::LoadShipped(); }
  // The kinds of the objects of a saved document.
  std::vector<int> TypesIn(const std::filesystem::path& file)
  {
    std::vector<int> types;
    txhost::Object* doc = H.OpenDocument(file, false);
    if (!doc) return types;
    for (txhost::Object* o : H.ObjectsOf(*doc))
      types.push_back(txhost::model::TypeOf(*o));
    H.CloseDocument(*doc);
    return types;
  }
};

TEST_F(BaseDetailStandIn, EveryCodeSavesAPartFileWithItsRevolveAndCuts)
{
  const TString folder = adaptertest::T(Dir.path()) + TString("/");
  for (const auto& [code, sizes] : Sample) {
    SCOPED_TRACE("code " + std::to_string(code));
    const std::string name = "code" + std::to_string(code);
    const auto file = Dir / (name + ".tpt");
    // Code 28 revolves and cuts empty sketches: a part without a body, which is no part.
    if (code == 28) {
      EXPECT_FALSE(
          drBaseDetail(drApi::MA, folder, TString(name.c_str()), TString("m"), code, 0, sizes, false));
      EXPECT_FALSE(std::filesystem::exists(file));
      EXPECT_TRUE(H.Documents().empty());
      continue;
    }
    ASSERT_TRUE(drBaseDetail(drApi::MA, folder, TString(name.c_str()), TString("m"), code, 0, sizes, false));
    EXPECT_EQ(drApi::MA.R2D().Transf2D.AMtr.Count, 0);
    ASSERT_TRUE(std::filesystem::exists(file));
    const std::vector<int> types = TypesIn(file);
    const auto count = [&types](txapi::txObj3dTypeEnum t) {
      return std::count(types.begin(), types.end(), int(t));
    };
    EXPECT_EQ(count(txapi::o3d_bossRotated), 1);
    EXPECT_EQ(count(txapi::o3d_cutExtrusion),
              code == 20 || code == 22 || code == 25 || (code >= 32 && code <= 37));
    EXPECT_EQ(count(txapi::o3d_bossExtrusion), code == 38);
  }
  EXPECT_FALSE(drBaseDetail(drApi::MA, folder, TString("none"), TString("m"), 9, 0,
                            std::vector<double>(20, 1.0), false));
  EXPECT_FALSE(std::filesystem::exists(Dir / "none.tpt"));
}

// A part file the host cannot write is a failure with its message, and no hidden part stays open.
TEST_F(BaseDetailStandIn, AFileThatCannotBeWrittenFailsAndLeavesNothingOpen)
{
  tbtest::TMessageLog log;
  {
    std::ofstream blocker(Dir / "plain");
  }
  const TString folder = adaptertest::T(Dir / "plain") + TString("/");
  EXPECT_FALSE(drBaseDetail(drApi::MA, folder, TString("pin"), TString("m"), 31, 0, Row(31, 1), false));
  EXPECT_EQ(log.Count("Не удалось записать файл "), 1);
  EXPECT_TRUE(H.Documents().empty());
  // The same part into a folder that takes it still succeeds.
  const TString good = adaptertest::T(Dir.path()) + TString("/");
  EXPECT_TRUE(drBaseDetail(drApi::MA, good, TString("pin"), TString("m"), 31, 0, Row(31, 1), false));
  EXPECT_TRUE(H.Documents().empty());
  EXPECT_TRUE(std::filesystem::exists(Dir / "pin.tpt"));
}

} // namespace
