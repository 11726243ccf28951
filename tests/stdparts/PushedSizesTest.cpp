// Every mould part class held to what a designer gets: sizes its outline cannot take are refused, with
// their reason, before anything is drawn or modelled; everything else gives a sheet and part files that the
// solid evaluator's check passes. The host makes the features with the evaluator, as a real host with its
// modeller, so that a feature that cannot be made is failed and counted. Each part is made at its sizes
// (a table part at its first, middle and last rows, every row with HXCAD_GEOMETRY_ROWS=all; another at
// half, once and twice the sweep's sizes) and then with each of its sizes in turn pushed past its
// neighbours (PushedSizes.h). CI takes the protect support; HXCAD_GEOMETRY_ROWS=ends or all
// (scripts/sheets.sh) takes every part.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "../adapter/AdapterSupport.h"
#include "BetweenSizes.h"
#include "MouldPartList.h"
#include "PushedSizes.h"
#include "StdPartsSupport.h"
#include "plugin/MouldDocuments.h"
#include "tests/core/TextBaseTestUtil.h"
#include "txhost/lib/Host.h"
#include "txhost/solid/Evaluator.h"

namespace pushedsizes {

using drApi::MA;
using stdtest::mouldparts::TMade;
using stdtest::mouldparts::TPart;

using stdtest::pushed::Pushes;
using stdtest::pushed::SizesOf;
using stdtest::pushed::TPush;

const char* Rows()
{
  const char* v = std::getenv("HXCAD_GEOMETRY_ROWS");
  return v != nullptr ? v : "";
}

// Every row of a table part, or its first, middle and last.
bool AllRows()
{
  return std::string(Rows()) == "all";
}

class PushedSizes : public adaptertest::HostedModeller
{
protected:
  PushedSizes()
  {
    stdtest::LoadShipped();
    H.SetSolidModeller(&Evaluator);
  }
  ~PushedSizes() { H.SetSolidModeller(nullptr); }

  struct TCounts
  {
    int Made = 0, Refused = 0;
    std::map<std::string, int> Reasons; // the first message of each refusal
  };

  // The part made by make, its sheet drawn and its model built on the host: either refused whole (a
  // message, no sheet, no file) or drawn and built whole (a sheet, and every file it wrote one the
  // evaluator's check passes). Whether it was made.
  bool Holds(const std::function<void(TMade&)>& make, const std::string& what, TCounts& n)
  {
    SCOPED_TRACE(what);
    const std::filesystem::path folder = Dir / ("run" + std::to_string(++Runs));
    std::filesystem::create_directories(folder);
    stdtest::TMouldDocuments link(adaptertest::T(folder) + TString("/"));
    tbtest::TMessageLog log;
    TMade made;
    make(made);
    const long long failed = MA.drFailures3D();
    made.Part().dr2D();
    made.Part().dr3D(1);
    std::vector<std::filesystem::path> files;
    for (const TString& f : link.AllParts)
      if (std::filesystem::exists(f.toWideChar())) files.emplace_back(f.toWideChar());
    EXPECT_TRUE(H.Documents().empty()) << "a document left open";
    Sheeted = !link.AllSheets.empty();
    // A part with neither sheet nor model of its own (the repair bolt) opens nothing and says nothing.
    if (link.AllParts.empty() && !Sheeted && log.Texts.empty()) return false;
    // A part with no body of its own (the guide column, the washers, the clamp) is drawn and writes no file,
    // and says so: made, its sheet kept.
    const bool bodiless = files.empty() && Sheeted && !log.Texts.empty() &&
                          log.Count("Деталь не имеет тела") == int(log.Texts.size());
    if (files.empty() && !bodiless) {
      ++n.Refused;
      if (!log.Texts.empty()) ++n.Reasons[log.Texts.front().Utf8Text()];
      EXPECT_FALSE(log.Texts.empty()) << "refused without a reason";
      // Refused at whatever step, the call leaves nothing: its sheet goes with its part.
      for (const TString& sheet : link.AllSheets)
        EXPECT_FALSE(std::filesystem::exists(sheet.toWideChar())) << "a refused part's sheet is left";
      // A part whose outline is left empty has a sheet of its frame and no body; sizes refused draw nothing.
      if (log.Count("Недопустимые размеры") > 0) {
        EXPECT_FALSE(Sheeted) << "a sheet drawn of sizes refused";
      }
      return false;
    }
    ++n.Made;
    if (files.size() != link.AllParts.size()) {
      EXPECT_FALSE(log.Texts.empty()) << "a file not written without a reason";
    } else {
      // A feature the host could not make leaves a part that is not the one asked for, even where the
      // check passes what remains.
      EXPECT_EQ(MA.drFailures3D(), failed) << "a part written with a feature that failed";
    }
    for (const std::filesystem::path& file : files) {
      txhost::Object* doc = H.OpenDocument(file, false);
      if (doc == nullptr) {
        ADD_FAILURE() << file << " cannot be opened";
        continue;
      }
      std::ostringstream out;
      int faults = 0;
      std::string error;
      if (!Evaluator.Check(*doc, out, faults, error))
        ADD_FAILURE() << file.filename() << ": " << error;
      else if (faults != 0)
        ADD_FAILURE() << file.filename() << ": " << out.str();
      H.CloseDocument(*doc);
    }
    return true;
  }

  // Whether the last part made drew a sheet.
  bool Sheeted = false;

  // The part at its sizes, and then with each size pushed past its neighbours: each made with a sheet
  // where the part at its sizes has one (the pins and cap screws have none).
  TCounts Sweep(const TPart& part)
  {
    TCounts n;
    std::vector<std::pair<int, double>> at;
    if (part.Table == 0) {
      for (double k : {0.5, 1.0, 2.0})
        at.emplace_back(0, k);
    } else {
      const int rows = ABaseDetail.SocketCount(part.Table) - 1;
      for (int r = 1; r <= rows; ++r)
        if (AllRows() || r == 1 || r == (rows + 1) / 2 || r == rows) at.emplace_back(r, 1.0);
    }
    for (const auto& [row, k] : at) {
      const std::string where =
          std::string(part.Name) + " row " + std::to_string(row) + " x" + std::to_string(k);
      Holds([&](TMade& m) { part.Make(m, &MA, row, k); }, where, n);
      const bool sheeted = Sheeted;
      TMade probe;
      part.Make(probe, nullptr, row, k);
      for (const TPush& push : Pushes(SizesOf(*probe.Parts.back()))) {
        if (Holds(
                [&](TMade& m) {
                  part.Make(m, &MA, row, k);
                  *SizesOf(*m.Parts.back())[push.Size].second = push.Value;
                },
                where + ", " + push.Name, n)) {
          EXPECT_EQ(Sheeted, sheeted)
              << where << ", " << push.Name << ": made, its sheet drawn or not as at its sizes";
        }
      }
    }
    return n;
  }

  static const TPart& Kind(const std::string& name)
  {
    const auto& all = stdtest::mouldparts::Parts;
    return *std::find_if(std::begin(all), std::end(all), [&](const TPart& p) { return p.Name == name; });
  }

  txhost::solid::TEvaluator Evaluator{H};
  int Runs = 0;
};

class PushedSizesNamed : public PushedSizes, public ::testing::Test
{
};

// Every part (the protect support alone without HXCAD_GEOMETRY_ROWS), with what each made and refused and
// why.
TEST_F(PushedSizesNamed, EveryPartIsMadeWholeOrRefusedWithItsReason)
{
  const bool every = *Rows() != 0;
  for (const TPart& part : stdtest::mouldparts::Parts) {
    if (!every && std::string(part.Name) != "protect_support") continue;
    if (!stdtest::between::Asked(part.Name)) continue;
    const ::testing::TestResult& result = *::testing::UnitTest::GetInstance()->current_test_info()->result();
    const int faults = result.total_part_count();
    const TCounts n = Sweep(part);
    std::cout << part.Name << ": " << n.Made << " made, " << n.Refused << " refused, "
              << result.total_part_count() - faults << " failures" << std::endl;
    for (const auto& [why, count] : n.Reasons)
      std::cout << "  " << count << " x " << why.substr(0, why.find(": /")) << "\n";
  }
}

// Flats wider than the support's round (Key 40 on a 25 mm support) once gave a sheet with a 40 mm flat
// zone and a part whose flat cut removed nothing: refused now, as is every size that puts the flats off the
// body; the sizes of the sweep are made. Flats a rounding's width inside the round (at 0.6 times the sweep's
// sizes, Radius 5.4 and Key 10.799999999999999) once passed, and the modeller failed the cut with the sheet
// left behind: flats shallower than the modeller can cut are refused with the others, and Holds finds no
// sheet of a refused call.
TEST_F(PushedSizesNamed, TheSupportsFlatsLieOnItsRound)
{
  TCounts n;
  const TPart& support = Kind("protect_support");
  for (const double key : {18.0, 24.9, 25.0, 40.0})
    for (const double toKey : {10.0, 29.0, 30.0}) {
      const bool sound = key < 25.0 && toKey + 11.0 <= 40.0;
      const bool made = Holds(
          [&](TMade& m) {
            support.Make(m, &MA, 0, 1.0);
            auto& p = dynamic_cast<TProtectSupport&>(*m.Parts.back());
            p.Key = key, p.LenToKey = toKey;
          },
          "Key " + std::to_string(key) + ", LenToKey " + std::to_string(toKey), n);
      EXPECT_EQ(made, sound) << "Key " << key << ", LenToKey " << toKey;
    }
  // Each flat's depth on the 5.4 radius, from none to a tenth of a millimetre.
  for (const double depth : {0.0, 1e-15, 1e-9, 1e-6, 1e-4, 1e-3, 1e-2, 0.1}) {
    const std::string what = "0.6x, Radius 5.4, flats " + std::to_string(depth) + " deep";
    const bool made = Holds(
        [&](TMade& m) {
          support.Make(m, &MA, 0, 0.6);
          auto& p = dynamic_cast<TProtectSupport&>(*m.Parts.back());
          p.Radius = 5.4;
          if (depth != 1e-15) p.Key = 2.0 * (5.4 - depth); // 1e-15: the 0.6x Key 10.799999999999999
        },
        what, n);
    EXPECT_EQ(made, depth >= 1e-3) << what;
  }
}

// Every part at sizes drawn between the sampled ones, some with a size pushed past its neighbours: made
// whole, with a sheet where the part at its first sampled size has one, or refused whole, its sheet and
// model alike. CI draws a case a part, scripts/sheets.sh --between any seed and count.
TEST_F(PushedSizesNamed, EveryPartAtSizesDrawnBetweenIsMadeWholeOrRefused)
{
  using namespace stdtest::between;
  const unsigned long long seed = FromEnv("HXCAD_SHEET_SEED", 86), count = FromEnv("HXCAD_SHEET_COUNT", 1);
  for (const TPart& part : stdtest::mouldparts::Parts) {
    if (!Asked(part.Name)) continue;
    TCounts n, sampled;
    const int row = part.Table != 0 ? 1 : 0;
    Holds([&](TMade& m) { part.Make(m, &MA, row, 1.0); }, part.Name, sampled);
    const bool sheeted = Sheeted;
    for (unsigned long long i = 0; i < count; ++i) {
      TDraw draw(seed, part.Name, i);
      const TCase c = Drawn(part, draw);
      const std::string what = std::string(part.Name).append(" ").append(Named(seed, i, c));
      if (Holds(
              [&](TMade& m) {
                part.Make(m, &MA, c.Row, c.K);
                Apply(part, c, *m.Parts.back());
              },
              what, n)) {
        EXPECT_EQ(Sheeted, sheeted) << what << ": made, its sheet drawn or not as at its sampled size";
      }
    }
    if (n.Made + n.Refused > 0)
      std::cout << part.Name << ": " << n.Made << " made, " << n.Refused << " refused\n";
  }
}

// A class refuses what its outline cannot make and nothing else, by the relations the builder by code takes
// for the same outline: the guide bush with a front extension and code 2 of its table's row accept and refuse
// the same front lengths (the class once refused 1.5 to 2 that the code built, and the code built 1.5 to 2,
// where the groove's floor runs back into the collar); the pillar's OFRadius, which nothing draws or models,
// is never asked for (0 was once refused); a pusher's spring seat of some length has a radius (0 once made a
// pusher without its seat); a threaded pillar's fixed part shorter than its 1 mm chamfer is made, its chamfer
// cut short at the collar's face.
TEST_F(PushedSizesNamed, ClassesRefuseWhatTheirOutlineCannotMakeAndNothingElse)
{
  TCounts n;
  const std::filesystem::path folder = Dir / "code";
  std::filesystem::create_directories(folder);
  const auto built = [&](int code, const std::vector<double>& sizes) {
    tbtest::TMessageLog log;
    const bool made = drBaseDetail(MA, adaptertest::T(folder) + TString("/"), TString("part"), TString("m"),
                                   code, 0, sizes, false);
    std::filesystem::remove(folder / "part.tpt");
    return made;
  };
  for (const double f : {1.0, 1.5, 1.75, 1.99, 2.0, 2.5, 3.0, 3.5}) {
    const std::string what = "front " + std::to_string(f);
    const bool made = Holds(
        [&](TMade& m) {
          Kind("guide_bush_2").Make(m, &MA, 1, 1.0);
          dynamic_cast<TSocketLeaderPinBushing&>(*m.Parts.back()).FLen = f;
        },
        what, n);
    std::vector<double> sizes = stdtest::TableRow(2, 1);
    sizes[5] = f;
    EXPECT_EQ(made, built(2, sizes)) << what;
    EXPECT_EQ(made, f >= 2.0) << what;
  }
  // The shouldered ring without screws (whose holes have relations of their own) and codes 18 and 19 of the
  // same section (its bore entered at 45 degrees from a land 1 long), on each side of each limit: the
  // shoulder and the lead-in within the thickness (the class once refused 11.5 to 12 that the codes built),
  // the bore at the far face inside the lead-in (the codes once refused 38.7 to 39.27 that the class built),
  // the bore inside the shoulder (the codes once built a bore through it).
  struct TRingCase
  {
    double Shoulder, ShoulderRadius, Bore;
    bool Sound;
  };
  const TRingCase rings[] = {
      {11.4, 38, 18, true},  {11.6, 38, 18, true},   {11.95, 38, 18, true}, {12.05, 38, 18, false},
      {5, 50, 38.5, true},   {5, 50, 39.2, true},    {5, 50, 39.35, false}, {10, 38, 28.3, true},
      {10, 38, 28.95, true}, {10, 38, 29.05, false}, {10, 38, 33, false},
  };
  for (const TRingCase& c : rings) {
    std::ostringstream what;
    what << "ring, shoulder " << c.Shoulder << " high, " << 2 * c.ShoulderRadius << " across, bore "
         << 2 * c.Bore;
    const bool made = Holds(
        [&](TMade& m) {
          Kind("locating_ring_shoulder").Make(m, &MA, 1, 1.0);
          auto& r = dynamic_cast<TLocatingRing&>(*m.Parts.back());
          r.CountFix = 0, r.BaseThickness = c.Shoulder, r.BaseRadius = c.ShoulderRadius, r.InRadius = c.Bore;
        },
        what.str(), n);
    EXPECT_EQ(made, c.Sound) << what.str();
    for (const int code : {18, 19})
      EXPECT_EQ(built(code, {0, 2 * c.Bore, c.Shoulder, 110, 15, 45, 1, 2 * c.ShoulderRadius}), c.Sound)
          << what.str() << ", code " << code;
  }
  for (const double seat : {0.0, 0.001, 1000.0}) {
    const std::string what = "pillar, OFRadius " + std::to_string(seat);
    EXPECT_TRUE(Holds(
        [&](TMade& m) {
          Kind("guide_pillar").Make(m, &MA, 1, 1.0);
          auto& p = dynamic_cast<TSocketLeaderPin&>(*m.Parts.back());
          ASSERT_GT(p.OFLen, 0.0);
          p.OFRadius = seat;
        },
        what, n))
        << what;
  }
  // A threaded pillar's fixed part shorter than its end's chamfer is all chamfer: made, with its sheet.
  for (const double fixed : {0.3, 0.65, 0.999, 1.0, 1.5}) {
    const std::string what = "threaded pillar, FLen " + std::to_string(fixed);
    EXPECT_TRUE(Holds(
        [&](TMade& m) {
          Kind("guide_pillar_threaded").Make(m, &MA, 21, 1.0);
          dynamic_cast<TSocketLeaderPin&>(*m.Parts.back()).FLen = fixed;
        },
        what, n))
        << what;
    EXPECT_TRUE(Sheeted) << what;
  }
  for (const double spring : {0.0, 8.0}) {
    const std::string what = "ejector channel, SpringRadius " + std::to_string(spring);
    tbtest::TMessageLog log;
    const bool made = Holds(
        [&](TMade& m) {
          Kind("ejector_channel").Make(m, &MA, 0, 1.0);
          dynamic_cast<TEjectorChannel&>(*m.Parts.back()).SpringRadius = spring;
        },
        what, n);
    EXPECT_EQ(made, spring > 0.0) << what;
  }
}

// A part document that cannot be written, its sheet drawn before it: the call is refused with its reason,
// and neither the part nor its sheet is left, nor a document open.
class TUnwritableParts : public stdtest::TMouldDocuments
{
public:
  TUnwritableParts(const TString& sheets, const TString& parts) : TMouldDocuments(sheets), PartFolder(parts)
  {
  }
  bool NewPartPlane(drApi::TModelerApi& M, int, int, bool InVisible, txapi::txObj3dTypeEnum BasePlane,
                    const double& Vidst) override
  {
    const TString file = PartFolder + TString("part.tpt");
    M.drCreate3D(InVisible, true, file, TString(), TString());
    if (!M.R().Part) return false;
    M.drPlaneEskis(BasePlane, Vidst, 0.0, TString());
    AllParts.push_back(file);
    return true;
  }
  TString PartFolder;
};

TEST_F(PushedSizesNamed, APartThatCannotBeWrittenTakesItsSheetWithIt)
{
  const std::filesystem::path folder = Dir / "unwritable";
  std::filesystem::create_directories(folder);
  {
    std::ofstream blocker(folder / "plain");
  }
  for (const char* name : {"protect_support", "guide_bush_4"}) {
    SCOPED_TRACE(name);
    TUnwritableParts link(adaptertest::T(folder) + TString("/"),
                          adaptertest::T(folder / "plain") + TString("/"));
    tbtest::TMessageLog log;
    TMade made;
    Kind(name).Make(made, &MA, 1, 1.0);
    made.Part().dr2D();
    ASSERT_EQ(link.AllSheets.size(), 1u);
    ASSERT_TRUE(std::filesystem::exists(link.AllSheets[0].toWideChar()));
    made.Part().dr3D(1);
    EXPECT_FALSE(std::filesystem::exists(link.AllSheets[0].toWideChar()));
    EXPECT_EQ(log.Count("Не удалось записать файл "), 1);
    EXPECT_TRUE(H.Documents().empty());
  }
}

// A cap screw's socket is its thread's in the table, whatever head it is given: a head too narrow for the
// socket's corners, or too low for its depth, once gave a screw whose socket broke out of the head's side or
// into its shank, with no message. Refused now; the head as the table gives it is made.
TEST_F(PushedSizesNamed, TheCapScrewsSocketLiesInItsHead)
{
  TCounts n;
  const TPart& screw = Kind("cap_screw_33");
  struct TCase
  {
    double Thread, HeadRadius, HeadLen;
    bool Sound;
  };
  // M16: across flats 14 (its corners 16.17 apart), 8 deep; M3: 2.5 across, 1.3 deep.
  for (const TCase& c : {TCase{16, 12, 16, true}, TCase{16, 8.05, 16, false}, TCase{16, 12, 7, false},
                         TCase{3, 2.75, 3, true}, TCase{3, 2.75, 1.2, false}}) {
    std::ostringstream said;
    said << "M" << c.Thread << ", head radius " << c.HeadRadius << ", head " << c.HeadLen;
    const std::string what = said.str();
    const bool made = Holds(
        [&](TMade& m) {
          screw.Make(m, &MA, 1, 1.0);
          auto& s = dynamic_cast<TScrew&>(*m.Parts.back());
          s.Radius = c.Thread / 2, s.HeadRadius = c.HeadRadius, s.HeadLen = c.HeadLen, s.Len = c.HeadLen + 40;
        },
        what, n);
    EXPECT_EQ(made, c.Sound) << what;
  }
}

// A part whose feature the modeller fails is not written: its builder discards it and says why (a cut
// that misses the part, as a wrong size makes it), while the same part with its cut on the part is.
TEST_F(PushedSizesNamed, APartWithAFailedFeatureIsNotWritten)
{
  for (const double at : {0.0, 500.0}) {
    SCOPED_TRACE(at);
    const std::filesystem::path folder = Dir / ("cut" + std::to_string(int(at)));
    std::filesystem::create_directories(folder);
    stdtest::TMouldDocuments link(adaptertest::T(folder) + TString("/"));
    // The part's sheet, drawn first as the part classes draw it, stands or goes with the part.
    ASSERT_TRUE(drMouldSheet(
        MA, 7, 0, 0, [](TModeler3D& M) { M.drLine(0, 0, 40, 0, 1); }, 0));
    ASSERT_EQ(link.AllSheets.size(), 1u);
    tbtest::TMessageLog log;
    const bool made = drMouldModel(
        MA, 7,
        [](TModeler3D& M) {
          M.drLine(-1, 0, 50, 0, 3);
          M.drRectAngle(0, 0, 40, 10, 1);
        },
        [at](TModeler3D& M) {
          M.drPlaneEskis(txapi::o3d_planeXOY, 0, 0, TString());
          M.drRectAngle(at - 2, -2, at + 2, 2, 1);
          M.drCutExtrusion(txapi::dtBoth, txapi::etBlind, 10, 0);
        });
    ASSERT_EQ(link.AllParts.size(), 1u);
    const bool written = std::filesystem::exists(link.AllParts[0].toWideChar());
    EXPECT_EQ(made, at == 0.0);
    EXPECT_EQ(written, made);
    EXPECT_EQ(std::filesystem::exists(link.AllSheets[0].toWideChar()), made);
    EXPECT_EQ(log.Texts.empty(), made);
    EXPECT_TRUE(H.Documents().empty());
  }
}

} // namespace pushedsizes
