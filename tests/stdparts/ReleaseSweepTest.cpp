// Every mould part as a designer would release it: each part's sheet and model on the stand-in host, for
// every row of its table (parts without a table at half, once and twice the sizes below), checked as
// the sheet lays out: every text, sign, dimension and line inside the frame, no text on another text, on a
// roughness sign or on a view's outline or hatching, one sign before a radius or diameter, values
// readable from below or the right, no markup shown raw, no text taller than a title; every document
// the host saved opens again as it was; every part of a table has a body. Set HXCAD_KEEP_SHEETS to a
// folder to keep the sheets' pictures there.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include <nlohmann/json.hpp>

#include "../adapter/AdapterSupport.h"
#include "BetweenSizes.h"
#include "MouldPartList.h"
#include "MouldSheetLayout.h"
#include "PushedSizes.h"
#include "ReleaseCheck.h"
#include "SheetLinesCheck.h"
#include "StdPartsSupport.h"
#include "hxcadkit/drawing/MathDetails.h"
#include "plugin/MouldDocuments.h"
#include "tests/TestNames.h"
#include "tests/core/TextBaseTestUtil.h"
#include "txapi/Enums.h"
#include "txhost/lib/Kinds.h"
#include "txhost/lib/Model.h"
#include "txhost/lib/Model3D.h"
#include "txhost/lib/SvgWriter.h"

namespace {

using namespace stdtest::release;
using namespace stdtest::between;
using drApi::MA;

using stdtest::mouldparts::TMade;
using stdtest::mouldparts::TPart;

// The part at size s: row s of its table, or its sizes by s / 2.
void MakeAtSize(const TPart& part, TMade& made, int s)
{
  part.Make(made, &MA, s, s / 2.0);
}

class ReleaseSweep : public ::testing::TestWithParam<TPart>, public adaptertest::HostedModeller
{
protected:
  ReleaseSweep() { stdtest::LoadShipped(); }

  static nlohmann::json Json(const std::filesystem::path& file)
  {
    std::ifstream in(file, std::ios::binary);
    return nlohmann::json::parse(in, nullptr, false);
  }

  // The document saved at file opens again as it was: saved once more, it writes what it was read from.
  void ReopensAsSaved(const std::filesystem::path& file)
  {
    const nlohmann::json saved = Json(file);
    ASSERT_FALSE(saved.is_discarded()) << file;
    std::string error;
    txhost::Object* doc = H.OpenDocument(file, false, &error);
    ASSERT_NE(doc, nullptr) << file << ": " << error;
    const std::filesystem::path again = file.parent_path() / ("again-" + file.filename().string());
    ASSERT_TRUE(H.SaveDocumentAs(*doc, again, &error)) << error;
    H.CloseDocument(*doc);
    EXPECT_EQ(Json(again)["objects"], saved["objects"]) << file;
    std::filesystem::remove(again);
  }

  // Whether the part document at file (or, for an assembly, each of its components' files) has a body.
  bool HasBody(const std::filesystem::path& file)
  {
    txhost::Object* doc = H.OpenDocument(file, false);
    if (doc == nullptr) return false;
    bool body = false;
    std::vector<std::filesystem::path> components;
    for (txhost::Object* o : H.ObjectsOf(*doc)) {
      if (o->Kind() != txhost::kinds::Part || txhost::model::Deleted(*o)) continue;
      body = body || !txhost::model::Bodies(*o).empty();
      if (o->Prop("file").is_string()) components.emplace_back(o->Prop("file").get<std::string>());
    }
    H.CloseDocument(*doc);
    if (!body && !components.empty()) {
      body = true;
      for (const auto& c : components)
        body = body && HasBody(c);
    }
    return body;
  }

  void CheckSheet(const std::filesystem::path& file, const std::string& what);

  std::map<std::string, int> Opened; // the open faults found, by kind
};

// The layout of the sheet saved at file, kept as a picture under HXCAD_KEEP_SHEETS named by what.
txhost::SvgLayout SheetAt(txhost::Host& h, const std::filesystem::path& file, const std::string& what)
{
  txhost::Object* doc = h.OpenDocument(file, false);
  if (doc == nullptr) return {};
  if (const char* keep = std::getenv("HXCAD_KEEP_SHEETS"))
    txhost::SaveSvg(*doc, std::filesystem::path(keep) / (what + "-" + file.stem().string() + ".svg"));
  txhost::SvgLayout layout = txhost::LayOut(*doc);
  h.CloseDocument(*doc);
  return layout;
}

// Faults the release checks find at the sampled sizes that are not mended yet, by part and kind: each is
// printed and counted, and the sweep holds their count to the one listed, so that one more, or one mended
// and still listed, shows. Any other finding fails.
struct TOpen
{
  const char *Part, *Kind;
  int Count;
};
constexpr std::array<TOpen, 0> OpenSampled{};

const TOpen* OpenFor(const std::string& part, const std::string& kind)
{
  for (const TOpen& o : OpenSampled)
    if (part == o.Part && kind == o.Kind) return &o;
  return nullptr;
}

void ReleaseSweep::CheckSheet(const std::filesystem::path& file, const std::string& what)
{
  SCOPED_TRACE(what + " " + file.filename().string());
  ASSERT_TRUE(std::filesystem::exists(file));
  for (const TFinding& f : Findings(SheetAt(H, file, what))) {
    if (OpenFor(GetParam().Name, f.Kind) == nullptr) {
      ADD_FAILURE() << f.Kind << ": " << f.What;
      continue;
    }
    ++Opened[f.Kind];
    std::printf("open: %s %s: %s: %s\n", what.c_str(), file.filename().string().c_str(), f.Kind.c_str(),
                f.What.c_str());
  }
}

TEST_P(ReleaseSweep, SheetsAndModelsAreFitToRelease)
{
  stdtest::TMouldDocuments link(adaptertest::T(Dir.path()) + TString("/"));
  std::vector<int> sizes(std::begin(Halves), std::end(Halves));
  if (GetParam().Table != 0) {
    sizes.clear();
    for (int r = 1; r < ABaseDetail.SocketCount(GetParam().Table); ++r)
      sizes.push_back(r);
  }
  ASSERT_FALSE(sizes.empty());
  for (int s : sizes) {
    const std::string what =
        std::string(GetParam().Name) + (GetParam().Table != 0 ? "-row" : "-half") + std::to_string(s);
    SCOPED_TRACE(what);
    TMade made;
    MakeAtSize(GetParam(), made, s);
    const std::size_t sheets = link.AllSheets.size(), parts = link.AllParts.size();
    // A sheet grown for a large part leaves the format chosen for the sheets after it as it was.
    TLeafSelector::Instance().Format = 3;
    made.Part().dr2D();
    EXPECT_EQ(TLeafSelector::Instance().Format, 3);
    made.Part().dr3D(1);
    EXPECT_TRUE(H.Documents().empty()) << "every document let go is closed";
    for (std::size_t i = sheets; i < link.AllSheets.size(); ++i) {
      const std::filesystem::path file = link.AllSheets[i].toWideChar();
      CheckSheet(file, what);
      ReopensAsSaved(file);
    }
    for (std::size_t i = parts; i < link.AllParts.size(); ++i) {
      const std::filesystem::path file = link.AllParts[i].toWideChar();
      // A part without a body is not written (the measuring sweep checks that it says why); one
      // written has its body.
      if (!std::filesystem::exists(file)) continue;
      ReopensAsSaved(file);
      EXPECT_TRUE(HasBody(file)) << file;
    }
    if (GetParam().Table != 0) {
      EXPECT_GT(link.AllParts.size(), parts) << "a part document";
    }
  }
  for (const TOpen& o : OpenSampled) {
    if (GetParam().Name == std::string(o.Part)) {
      EXPECT_EQ(Opened[o.Kind], o.Count) << "open: " << o.Kind;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Mould, ReleaseSweep, ::testing::ValuesIn(stdtest::mouldparts::Parts),
                         hxcad::test::CaseNames());

// The sheets of the part named at row `row` or by k, the size named alone by f; kept under
// HXCAD_KEEP_SHEETS named by all four.
std::vector<txhost::SvgLayout> SizeAloneSheets(txhost::Host& h, const std::filesystem::path& dir,
                                               const char* name, int row, double k, const std::string& size,
                                               double f)
{
  char keep[160];
  std::snprintf(keep, sizeof keep, "%s-%g-%s-%g", name, k, size.c_str(), f);
  return stdtest::MouldSheetLayouts(
      h, dir, name, row, k,
      [&](TDetail& d) {
        for (const auto& [named, value] : stdtest::pushed::SizesOf(d))
          if (named == size) *value *= f;
      },
      keep);
}

// The row a part from a table is swept at with a size alone: its middle row (0 for a part without one).
int AloneRow(const TPart& part)
{
  return part.Table != 0 ? ABaseDetail.SocketCount(part.Table) / 2 : 0;
}

// Every part at sizes drawn between the sampled ones (BetweenSizes.h): sizes the part refuses draw no sheet
// and are counted; every sheet drawn passes the release checks. Each finding names the seed, the case and
// its sizes, and the counts are printed part by part.
class ReleaseSweepBetween : public ::testing::Test, public adaptertest::HostedModeller
{
protected:
  ReleaseSweepBetween() { stdtest::LoadShipped(); }

  // The part's sheets at (row, k) with its size named size alone times f, each release finding failed
  // under "part k|row .. x.., size xf": how many are laid, none where the part refuses the sizes. Any
  // finding clears clean.
  int SheetsWithSizeAlone(const TPart& part, int row, double k, const char* size, double f, bool& clean)
  {
    char what[160];
    std::snprintf(what, sizeof what, "%s %s %d x%g, %s x%g", part.Name, part.Table != 0 ? "row" : "k",
                  part.Table != 0 ? row : 0, k, size, f);
    const auto laid = SizeAloneSheets(H, Dir.path(), part.Name, row, k, size, f);
    for (const txhost::SvgLayout& l : laid)
      for (const TFinding& found : Findings(l)) {
        clean = false;
        ADD_FAILURE() << what << ": " << found.Kind << ": " << found.What;
      }
    return int(laid.size());
  }
};

// The findings CI's draw (seed 86, 3 cases a part) makes that are not mended yet, by part: printed, their
// count held to the one listed. A draw asked for by HXCAD_SHEET_SEED fails on any finding.
constexpr std::array<std::pair<const char*, int>, 0> OpenBetween{};

TEST_F(ReleaseSweepBetween, SheetsAtSizesBetweenTheSampledOnesAreFitToRelease)
{
  const bool ci = std::getenv("HXCAD_SHEET_SEED") == nullptr;
  const unsigned long long seed = FromEnv("HXCAD_SHEET_SEED", 86), count = FromEnv("HXCAD_SHEET_COUNT", 3);
  std::map<std::string, int> kinds;
  int total = 0;
  for (const TPart& part : stdtest::mouldparts::Parts) {
    if (!Asked(part.Name)) continue;
    int sheets = 0, refused = 0, findings = 0;
    for (unsigned long long i = 0; i < count; ++i) {
      TDraw draw(seed, part.Name, i);
      const TCase c = Drawn(part, draw);
      const std::string what = std::string(part.Name).append(" ").append(Named(seed, i, c));
      tbtest::TMessageLog log;
      const std::vector<txhost::SvgLayout> laid = stdtest::MouldSheetLayouts(
          H, Dir.path(), part.Name, c.Row, c.K, [&](TDetail& d) { Apply(part, c, d); },
          std::string(part.Name) + "-seed" + std::to_string(seed) + "-case" + std::to_string(i));
      refused += laid.empty() && !log.Texts.empty();
      for (const txhost::SvgLayout& l : laid) {
        ++sheets;
        for (const TFinding& f : Findings(l)) {
          ++findings, ++kinds[f.Kind];
          if (ci) {
            std::printf("open: %s: %s: %s\n", what.c_str(), f.Kind.c_str(), f.What.c_str());
          } else {
            ADD_FAILURE() << what << ": " << f.Kind << ": " << f.What;
          }
        }
      }
    }
    if (ci && count == 3) {
      int open = 0;
      for (const auto& [name, n] : OpenBetween)
        if (part.Name == std::string(name)) open = n;
      EXPECT_EQ(findings, open) << part.Name << ": findings at CI's draw";
    }
    total += findings;
    std::printf("%s: %d sheets, %d refused, %d findings\n", part.Name, sheets, refused, findings);
  }
  for (const auto& [kind, n] : kinds)
    std::printf("  %s: %d\n", kind.c_str(), n);
  std::printf("seed %llu, %llu cases a part: %d findings\n", seed, count, total);
}

// The factors a designer names for the parts whose sheets broke between the sampled sizes: the shank's
// bores' diameters crossed at the centre with their values on view Б's outline, the rings' fixing and tail
// circles' values lay on the rim, the shouldered ring's screw holes were sized 32-34 mm off the flange,
// the ejector channel's collar diameter ran its extension lines over the whole spring seat, the ejector
// plug's seat radius led out across the body's diameter crowded against the step, the guide plug's collar
// grade crossed by an extension line.
// Every finding at these sizes is listed by part and kind (held to its count, as CI's draw is); the kinds
// the fixes mended are listed nowhere, so that any one of them fails.
constexpr std::array<TOpen, 0> OpenAtFactors{};

TEST_F(ReleaseSweepBetween, SheetsAtTheFactorsADesignerNamesAreFitToRelease)
{
  std::map<std::pair<std::string, std::string>, int> found;
  for (const char* name :
       {"shank", "locating_ring", "locating_ring_shoulder", "ejector_channel", "ejector_plug", "guide_plug"})
    for (const double k : {0.6, 0.75, 1.5, 1.8}) {
      const std::string what = std::string(name) + " x" + std::to_string(k);
      for (const txhost::SvgLayout& l : stdtest::MouldSheetLayouts(H, Dir.path(), name, 0, k))
        for (const TFinding& f : Findings(l)) {
          const bool open =
              std::any_of(std::begin(OpenAtFactors), std::end(OpenAtFactors),
                          [&](const TOpen& o) { return name == std::string(o.Part) && f.Kind == o.Kind; });
          if (!open) ADD_FAILURE() << what << ": " << f.Kind << ": " << f.What;
          ++found[{name, f.Kind}];
        }
    }
  for (const TOpen& o : OpenAtFactors) {
    EXPECT_EQ((found[{o.Part, o.Kind}]), o.Count) << o.Part << ": open: " << o.Kind;
  }
}

// Cases the draws between the sampled sizes found broken, drawn again in CI: the part, its row and how far
// towards the next (or its factor), and the size pushed 10 % past or under its neighbour (the shouldered
// ring thickened until its entry's angle met the lead-in's, its counterbores shallower than the lead-in or
// so wide that a line passed its outside's sign's corner; the
// flat ring's counterbores' sign between two extension lines, its pin hole's diameter through an angle's
// arrow). Every finding fails, the signs' too.
TEST_F(ReleaseSweepBetween, CasesTheDrawsFoundAreFitToRelease)
{
  struct TFound
  {
    const char *Part, *Size;
    int Row;
    double Between, K;
    bool Past;
  };
  const TFound cases[] = {{"shank", "CollarRadius", 0, 0, 1.883, true},
                          // A collar barely wider than the shank: view Б's title, asked over the bore's value
                          // and under the flats' width, moved onto the thread's line run on under its value,
                          // or onto the view's own axis; the bore's value, turned off the flats' width, had
                          // the mouth's line through its arrow's tip.
                          {"shank", "CollarRadius", 0, 0, 0.578, false},
                          {"shank", "CollarRadius", 0, 0, 0.592, false},
                          {"shank", "CollarRadius", 0, 0, 0.5046, false},
                          {"shank", "CollarRadius", 0, 0, 0.546, false},
                          {"locating_ring_shoulder", nullptr, 0, 0, 0.510, false},
                          {"locating_ring_shoulder", nullptr, 0, 0, 2.0, false},
                          {"locating_ring_shoulder", "Thickness", 0, 0, 1.693, true},
                          {"locating_ring_shoulder", "FixBoltHeadLen", 0, 0, 0.511, false},
                          {"locating_ring_shoulder", "FixBoltHeadRadius", 0, 0, 0.8799483216, true},
                          // A thin bore whose entry's angle found no room under the lead-in's ray: turned
                          // into the bore, its value stood on the land's; a thick ring's, its arc asked past
                          // the rim, crossed the rim's extension line just by a joint of the arc's chords.
                          {"locating_ring_shoulder", "InRadius", 0, 0, 0.504, false},
                          {"locating_ring_shoulder", "InRadius", 0, 0, 0.516, false},
                          {"locating_ring_shoulder", "InRadius", 0, 0, 0.522, false},
                          {"locating_ring_shoulder", "InRadius", 0, 0, 0.5282666939, false},
                          {"locating_ring_shoulder", "Thickness", 0, 0, 0.725, true},
                          {"locating_ring", "FixBoltRadius", 0, 0, 0.760, false},
                          // The plan's tail angles, asked past the rim and taken from the least arc up, came
                          // to rest 1.99 outside it: along it, though the rim's 5-degree chords stood 2 off.
                          {"locating_ring", nullptr, 0, 0, 0.7601819278, false},
                          // Pin holes so wide that the tail's hole's diameter, leaning back towards the pin,
                          // ran its leader through one: it goes to a hole whose leader passes them.
                          {"locating_ring", "PinRadius", 0, 0, 0.5097811096, true},
                          {"locating_ring", nullptr, 0, 0, 1.575, false},
                          {"locating_sleeve", "CollarHeight", 2, 0.169, 1, true},
                          {"locating_sleeve", "CollarHeight", 8, 0.957, 1, true},
                          // The outside's sign at the chamfer's corner, crossed by the chamfer's extension
                          // line; the bore's, in the end view, with its shelf on an axis.
                          {"locating_sleeve", "CollarHeight", 5, 0.091, 1, true},
                          {"locating_sleeve", "FRadius", 11, 0.534, 1, false},
                          // A short sleeve's collar face inside the bore's length below the part: its sign
                          // found the bore's value on the face's line, and stood across both lengths.
                          {"locating_sleeve", "CollarHeight", 1, 0.832, 1, true},
                          {"locating_sleeve", "CollarHeight", 1, 0.744, 1, true},
                          // A collar bush given a front part: the V-groove's place, the front's length and the
                          // collar face's sign beside it; a bore whose value stands past its arrows.
                          {"guide_bush_4", "FLen", 17, 0.472, 1, true},
                          {"guide_bush_4", "LPRadius", 6, 0.884, 1, false},
                          {"guide_bush_2", "LPRadius", 12, 0.175, 1, false},
                          // A front part and a rear narrower than the collar faces' signs below: both signs
                          // above the collar, the one that moves first leaving its place to the other.
                          {"guide_bush_2", "Len", 11, 0.893, 1, false},
                          {"guide_bush_2", "Len", 10, 0.070, 1, false},
                          {"guide_bush_2", "Len", 4, 0.961, 1, false},
                          // A collar height whose value fits neither between its arrows nor past an end
                          // clear of the front face's and the rear end's extension lines: it is taken on
                          // the part's other side, the lengths below brought in towards the part.
                          {"guide_bush_2", "CollarHeight", 7, 0.254, 1, true},
                          {"guide_bush_2", "Len", 12, 0.068, 1, false},
                          // Such a collar height on a front part and a rear each a little too short for its
                          // value past the face: run on past the front end, its line crossed the end's
                          // extension line; the bush is drawn enlarged, the value between its arrows.
                          {"guide_bush_2", "Len", 12, 0.71988137089438364, 1, false},
                          // A short rear whose outside's diameter, asked across the section, found its value
                          // no room there: carried past the rear end, it stands beyond the bore's extension
                          // lines, not across them.
                          {"guide_bush_2", "Len", 3, 0.390, 1, false},
                          // A short rear whose collar face's sign took the room above the collar, the front
                          // face's then crossed below by the front end's extension line, too near for it.
                          {"guide_bush_2", "Len", 1, 0.720, 1, false},
                          {"guide_bush_2", "Len", 2, 0.574, 1, false},
                          {"guide_bush_2", "Len", 6, 0.947, 1, false},
                          // A collar so much wider than the front part that the extension line of its
                          // diameter past the front end ran through the front outside's sign's value there:
                          // the sign slid over the collar onto the rear, under the detail's callout.
                          {"guide_bush_2", "CollarRadius", 7, 0.027, 1, true},
                          {"guide_bush_2", "CollarRadius", 6, 0.920, 1, true},
                          {"guide_bush_2", "CollarRadius", 10, 0.283, 1, true},
                          // A bore whose value, too long for its arrows, ran on past the rear outside's
                          // extension line once that diameter, with no room across a short rear, went past
                          // the rear end: the bush is drawn enlarged.
                          {"guide_bush_4", "LPRadius", 9, 0.098, 1, false},
                          {"guide_bush_4", "LPRadius", 9, 0.081, 1, false},
                          {"guide_bush_2", "Len", 3, 0.041, 1, false},
                          {"guide_bush_2", "Len", 3, 0.024, 1, false},
                          {"guide_bush_2", "Len", 3, 0.190, 1, false},
                          // A collar just so much wider than the front part that its diameter's extension
                          // line past the front end met the end of the front outside's sign's long arm.
                          {"guide_bush_2", "CollarRadius", 10, 0.196, 1, true},
                          // A short stop pin: the detail's callout where the collar face's sign turns to,
                          // which gives way to it (on a shorter collar, to a place off the coarse grid).
                          {"stop_pin", "Len", 0, 0, 1.335, false},
                          {"stop_pin", "Len", 0, 0, 1.346, false},
                          {"stop_pin", "Len", 0, 0, 1.194, false},
                          // A longer one, the sign asked on the letter with no free place on its line: left
                          // there, its stroke across the letter, which no line crossing it asked to give way.
                          {"stop_pin", "Len", 0, 0, 1.596, false},
                          {"stop_pin", "Len", 0, 0, 1.600, false},
                          // A pin a little shorter than its neighbour size: its head face's grade stands
                          // where a letter moved off the end would cross its stroke.
                          {"stop_pin", "Len", 0, 0, 1.0493379273980832, false},
                          // A line just past the corner of a sign's arm and shelf, across the shelf alone.
                          {"locating_sleeve", nullptr, 9, 0.655, 1, false},
                          {"locating_sleeve", nullptr, 11, 0.277, 1, false},
                          // The requirements beside a detail's broken boundary.
                          {"guide_pillar_threaded", nullptr, 11, 0.538, 1, false},
                          {"guide_pillar_threaded", nullptr, 21, 0.423, 1, false},
                          // A sign slid onto a rounding's last chord, short of the line it stands on.
                          {"guide_pillar_threaded", "Len", 7, 0.467, 1, false},
                          {"ejector_plug", "ConeLen", 0, 0, 0.948, false},
                          {"ejector_plug", "CollarRadius", 0, 0, 0.856, true},
                          {"ejector_plug", "CollarRadius", 0, 0, 1.835, true},
                          {"guide_plug", nullptr, 0, 0, 0.574, false},
                          {"guide_plug", "OustingLen", 0, 0, 0.843, false},
                          {"guide_plug", "CollarHeight", 0, 0, 0.531, true},
                          {"ejector_channel", "CollarRadius", 0, 0, 1.694, true},
                          {"ejector_channel", "CollarRadius", 0, 0, 1.311, true},
                          {"guide_plug", "OustingLen", 0, 0, 0.5, false},
                          {"ejector_plug", "ConeLen", 0, 0, 0.5, false},
                          // A fixed part 0.3 long, shorter than its chamfer; one longer than the thread's depth.
                          {"guide_pillar_threaded", nullptr, 21, 0.030, 1, false},
                          {"guide_pillar_threaded", "FLen", 4, 0.817, 1, true},
                          // A short guide, view A beside its lead-in's roundings; a thin thread's countersink.
                          {"guide_pillar_threaded", "Len", 2, 0.676, 1, false},
                          {"guide_pillar_threaded", "Key", 4, 0.070, 1, false},
                          {"guide_pillar_threaded", "ThreadRadius", 27, 0.297, 1, false},
                          // Flats whose line lies on the seat's: the seat's sign, asked past the collar, kept
                          // to the flats' short stretch and stood crossed on the seat it slid to.
                          {"guide_pillar_threaded", "Key", 13, 0.363, 1, false},
                          // A fixed part narrower than the collar face's sign reaches beside it.
                          {"guide_pillar_threaded", "CollarRadius", 33, 0.820, 1, true},
                          // A collar thinner than the face's sign turned over reaches, beside a short fixed
                          // part: the other face's extension line, run on to the guide's length, crossed its
                          // arm.
                          {"guide_pillar_threaded", "CollarRadius", 16, 0.046, 1, true},
                          // A collar so wide that the groove's detail, moved up off the guide's detail or the
                          // title block, took the place below the sizes where the collar face's sign is
                          // carried: the sign was left beside the face, crossed.
                          {"guide_pillar_threaded", "CollarRadius", 22, 0.424, 1, true},
                          {"guide_pillar_threaded", "CollarRadius", 34, 0.305, 1, true},
                          // A thread nearly filling the fixed part: its diameter's line, run on under its value,
                          // stood across the countersink's shelf and value, or across the chamfer's extension
                          // line beside the end face.
                          {"guide_pillar_threaded", "FRadius", 24, 0.009, 1, false},
                          {"guide_pillar_threaded", "FRadius", 24, 0.092, 1, false},
                          {"guide_pillar_threaded", "FRadius", 24, 0.528, 1, false},
                          {"guide_pillar_threaded", "ThreadRadius", 15, 0.764, 1, true},
                          // A seat thinner than its neighbours: the chamfer's depth's value, run on past the
                          // chamfer's edge, stood across the thread's extension line, or, turned the other way,
                          // across the chamfer's length.
                          {"guide_pillar_threaded", "FRadius", 21, 0.15846816135368313, 1, false},
                          {"guide_pillar_threaded", "FRadius", 21, 0.17, 1, false},
                          {"guide_pillar_threaded", "FRadius", 6, 0.837517467284984, 1, false},
                          // A guide thinner than its neighbours: the lead-in's angle's value, beyond its arc
                          // by the guide's end, stood across the axis run on past the end.
                          {"guide_pillar_threaded", "Radius", 6, 0.387, 1, false},
                          {"guide_pillar_threaded", "Radius", 6, 0.371, 1, false},
                          {"guide_pillar_threaded", "Radius", 6, 0.409, 1, false},
                          {"guide_pillar_threaded", "Radius", 9, 0.662, 1, false},
                          {"guide_pillar_threaded", "Radius", 9, 0.655, 1, false},
                          // A seat so long that the lead-in's angle found no room left of the guide's
                          // end; a collar so thin that its height's value, past an arrow, ran across the
                          // fixed part's extension line just past its own.
                          {"guide_pillar", "OFLen", 22, 0.941, 1, true},
                          {"guide_pillar", "CollarHeight", 24, 0.985, 1, false},
                          // A seat so short that its diameter, midway along it, stood under the seat sign's
                          // short arm at the groove.
                          {"guide_pillar", "OFLen", 31, 0.041, 1, false},
                          // A collar so wide that section Б-Б stood low, its flat's width past the frame: taken
                          // over the section onto its title, or left off the paper; its axis ran past the frame.
                          {"guide_pillar", "CollarRadius", 25, 0.153, 1, true},
                          {"guide_pillar", "CollarRadius", 31, 0.021, 1, true},
                          {"guide_pillar", "CollarRadius", 19, 0.358, 1, true},
                          // A collar whose height's line ends on the fixed part's extension line: read as a
                          // step towards that length's line whichever way the sheet's transforms round it.
                          {"guide_pillar", "CollarRadius", 6, 0.19157082832603967, 1, true},
                          // Its flat's width found no clean place at the offset asked, carried out a step
                          // until its extension lines ran past the frame's bottom.
                          {"guide_pillar", "CollarRadius", 25, 0.023, 1, true},
                          // A fixed part too short for its value: its length, asked after the collar's height,
                          // found the face's arrow on that line and settled far below, out of reach.
                          {"guide_pillar", "CollarRadius", 24, 0.89298576990761636, 1, true},
                          {"guide_pillar", "OFLen", 30, 0.42592410763883304, 1, true},
                          {"guide_pillar_threaded", "CollarRadius", 30, 0.73482918598363389, 1, true},
                          // A thick guide's: its value, asked across the section's centre line, taken down
                          // off its end, the extension lines past the frame.
                          {"guide_pillar", "CollarRadius", 25, 0.021928875353418475, 1, true},
                          // A seat sphere whose radius's value found no room between its centre and
                          // view A: its leader went through the part, or across the seat depth's
                          // extension line.
                          {"sprue_bush", "SphereRadius", 0, 0, 1.831, true},
                          {"sprue_bush", "SphereLen", 0, 0, 1.571, false},
                          // A short fit, which brings view A up to the frame's right edge: the head's diameter
                          // turned to where its value fitted and its shelf ran on past the frame, and the
                          // view's axis past it.
                          {"sprue_bush", "FitLen", 0, 0, 1.896, false},
                          // Flats so far from the end that the groove's detail stood beside the section,
                          // among the main view's sizes: their length's extension lines ran down past
                          // its top.
                          {"protect_support", "LenToKey", 0, 0, 0.881, true},
                          // A shank's diameter asked under the hardened zone's bracket, whose lines left
                          // its value no side: carried to the end, across the end's diameter's extension
                          // line.
                          {"ejector_channel", "CollarRadius", 0, 0, 0.779, true},
                          // A collar so wide that the groove's detail, asked below it, lay off the paper
                          // beyond the reach of the search: the sheet grew around it and left it there;
                          // looked for from the frame's edge, it keeps off the sizes that stack out there.
                          {"guide_plug", "CollarRadius", 0, 0, 0.843, true},
                          {"guide_plug", "CollarRadius", 0, 0, 0.817, true},
                          // A bore too narrow for its sign, whose value fits between its arrows: the sign,
                          // asked on its extension line where the axis's end crossed its reach, hung across
                          // the outside's extension line.
                          {"guide_plug", nullptr, 0, 0, 0.9375020123, false},
                          // A short guide: the lead-in's sign, asked off the guide's line beyond its end,
                          // slid onto the line's end over the groove's callout letter and the section mark.
                          {"guide_pillar", "Len", 13, 0.899, 1, false},
                          // The assembled spacer's diameters nested on one side, the inner one's value too
                          // long for its arrows (a thread, a head between the rows); a washer wider than
                          // the view's room above it.
                          {"spacer_assembled", nullptr, 13, 0.362, 1, false},
                          {"spacer_assembled", "ThreadRadius", 6, 0.777, 1, false},
                          {"spacer_assembled", "CollarRadius", 36, 0.084, 1, true},
                          // The one-piece spacer's body diameter across a short body, its value past the end
                          // below it boxed in by a wide collar, the end view and the groove's detail.
                          {"spacer_one_piece", "CollarRadius", 7, 0.102, 1, true},
                          {"spacer_one_piece", "Radius", 30, 0.803, 1, false},
                          // A collar so wide that the end view's slot width reached the undercut's detail,
                          // placed before the end view was drawn.
                          {"spacer_one_piece", "CollarRadius", 36, 0.392, 1, true},
                          {"spacer_one_piece", "CollarRadius", 32, 0.119, 1, true},
                          // A short body, the fit's sign between the groove's letter and the length's
                          // extension line at the thread's end.
                          {"spacer_one_piece", nullptr, 1, 0.383, 1, false},
                          {"spacer_one_piece", "ThreadLen", 1, 0.251, 1, false},
                          // A value slid past its end a hair onto one settled below the body, which then
                          // left for the fit's sign above.
                          {"spacer_one_piece", "CollarHeight", 21, 0.994, 1, false},
                          // A pusher's collar at or under 4 mm on paper, the part too long to enlarge: its
                          // diameter, carried past the spring seat's, ran its extension lines along the whole
                          // seat and across that diameter's line run on under its value.
                          {"ejector_channel", "CollarHeight", 0, 0, 1.055, false},
                          {"ejector_channel", nullptr, 0, 0, 0.803, false},
                          {"ejector_channel", "SpringLen", 0, 0, 0.801, false},
                          // An enlarged pusher's collar face sign stood twice as far below the rim on paper,
                          // its value on the collar height's, slid past that face.
                          {"ejector_channel", "SpringLen", 0, 0, 0.512, false},
                          // An enlarged pusher with a short fit, its sign by the step: the diameter, 5 past
                          // the collar, stood on the sign's long arm, its value under the short one.
                          {"ejector_channel", "FitLen", 0, 0, 0.53229209314753667, false},
                          // A long plug seat whose rounded edge's radius, led out through the mouth at a fixed
                          // angle, crossed the seat's far side or stood out of reach past the end face.
                          {"ejector_plug", "ConeLen", 0, 0, 0.915, true},
                          {"ejector_plug", "ConeLen", 0, 0, 1.946, true},
                          {"ejector_plug", "ConeLen", 0, 0, 1.998, true},
                          // A bore whose value spans nearly its whole diameter, the relief's extension line half
                          // a millimetre outside the bore's: the bore's sign, turned towards the axis, had no
                          // room to spare between the axis's end and that value, and stood crossed outside.
                          {"locating_sleeve", "CollarHeight", 9, 0.70847493679334517, 1, true},
                          // A thin wall whose outside's extension line crossed the bore's sign standing up, and
                          // a bore so narrow that the sign turned over wrote its value on the bore's other
                          // extension line: the bore is given on view A.
                          {"locating_sleeve", "ThreadLen", 6, 0.24960854342733285, 1, false},
                          // A seat whose rounded edge left the step a leg shorter than the least line drawn:
                          // undrawn, it broke the section's outline, whose closing chord then ran under the
                          // body through the counterbore's value.
                          {"ejector_plug", "CollarRadius", 0, 0, 0.59345498061769852, true},
                          // A back ejector whose rod's end reached the frame's right edge: its axis ran on
                          // past the frame.
                          {"back_ejector", nullptr, 0, 0, 1.824, false},
                          {"back_ejector", "CollarRadius", 0, 0, 1.821, false},
                          // A flange standing so near the title block that the whole length under it and the
                          // mouth's depth stacked past it had no room off the block: the whole length stayed
                          // on the flange's edge across the depth's extension line, where the sheet held the
                          // view only so.
                          {"sprue_bush", "CollarHeight", 0, 0, 1.9874569181942063, true},
                          {"sprue_bush", "CollarHeight", 0, 0, 1.986, true}};
  for (const TFound& found : cases) {
    const TPart& part = stdtest::mouldparts::PartNamed(found.Part);
    TCase c;
    c.Row = found.Row, c.Between = found.Between, c.K = found.K, c.Past = found.Past;
    if (found.Size != nullptr) {
      TMade probe;
      part.Make(probe, nullptr, c.Row, c.K);
      const auto sizes = stdtest::pushed::SizesOf(*probe.Parts.back());
      for (std::size_t i = 0; i < sizes.size(); ++i)
        if (std::string(sizes[i].first) == found.Size) c.Pushed = std::ptrdiff_t(i);
      ASSERT_GE(c.Pushed, 0) << found.Size;
    }
    const std::string what = std::string(found.Part) + " row " + std::to_string(c.Row) + " + " +
                             std::to_string(c.Between) + " x" + std::to_string(c.K) +
                             (found.Size != nullptr ? std::string(", ") + found.Size : std::string());
    // Kept under HXCAD_KEEP_SHEETS by its place in the table.
    const auto laid = stdtest::MouldSheetLayouts(
        H, Dir.path(), found.Part, c.Row, c.K, [&](TDetail& d) { Apply(part, c, d); },
        std::string(found.Part) + "-found" + std::to_string(&found - cases));
    EXPECT_FALSE(laid.empty()) << what;
    for (const txhost::SvgLayout& l : laid)
      for (const TFinding& f : Findings(l))
        ADD_FAILURE() << what << ": " << f.Kind << ": " << f.What;
  }
}

// The guide pillar's seat at any length from a third of the guide's to twice it, and none, at every row:
// the guide's end and its lead-in's angle come nearer the binding margin the longer the seat, until the
// sheet grows (the angle stood across the margin, or off the paper, at seats that still left the outline
// inside the frame); a guide up to its collar has no seat to size nor its sign. Each row takes no seat and two
// lengths far apart, in turn, so that every length meets a third of the rows.
TEST_F(ReleaseSweepBetween, APillarsSeatOfAnyLengthLeavesItsSheetFitToRelease)
{
  constexpr std::array<double, 6> lengths{0.3, 0.5, 0.75, 1.0, 1.5, 2.0};
  for (int row = 1; row < ABaseDetail.SocketCount(5); ++row)
    for (const double f : {0.0, lengths[std::size_t(row) % 6], lengths[std::size_t(row + 3) % 6]}) {
      const std::string what =
          "guide_pillar row " + std::to_string(row) + ", seat " + std::to_string(f) + " x guide";
      const auto sheets = stdtest::MouldSheetLayouts(H, Dir.path(), "guide_pillar", row, 1, [f](TDetail& d) {
        auto& p = static_cast<TSocketLeaderPin&>(d);
        p.OFLen = f * p.Len;
      });
      EXPECT_EQ(sheets.size(), 1u) << what;
      for (const txhost::SvgLayout& l : sheets)
        for (const TFinding& found : Findings(l))
          ADD_FAILURE() << what << ": " << found.Kind << ": " << found.What;
    }
}

// The plug's seat from a tenth of the length the bore leaves it to the longest the plug takes (a middle
// bore of hundredths of a millimetre; the whole length is refused), and the pusher's collar about 4 mm on
// paper (the least that holds its diameter's line 2 from either face) before a short and a long spring
// seat, at factors drawn at 1:1 and enlarged: the seat edge's radius is led out through the mouth within
// reach of its arc (the plug no more enlarged than keeps it so), or, a seat too long for that, has its value
// inside the seat by the arc; the body's diameter stands clear of the radius's leader, before the step or
// past the radius's value; a middle bore too short for its line is sized beside the head; the collar's
// diameter stands by the collar, never past the seat's own.
TEST_F(ReleaseSweepBetween, APlugsSeatAndAPushersCollarOfAnyLengthAreFitToRelease)
{
  const auto check = [&](const char* part, double k, const std::string& what,
                         std::function<void(TDetail&)> edit) {
    const auto sheets = stdtest::MouldSheetLayouts(H, Dir.path(), part, 0, k, std::move(edit));
    EXPECT_EQ(sheets.size(), 1u) << what;
    for (const txhost::SvgLayout& l : sheets)
      for (const TFinding& found : Findings(l))
        ADD_FAILURE() << what << ": " << found.Kind << ": " << found.What;
  };
  // The plug made at factor k is 50 k long, its bore 20 k: the seat's length is a fraction of the 30 k left.
  const auto seat = [](double f) {
    return [f](TDetail& d) {
      auto& p = static_cast<TEjectorPlug&>(d);
      p.ConeLen = f * (p.Len - p.EC2Len);
    };
  };
  for (const double k : {0.5, 0.8, 1.2, 2.0}) {
    for (const double f : {0.1, 0.3, 0.5, 0.7, 0.8, 0.9, 0.95, 0.99, 0.9999})
      check("ejector_plug", k, "ejector_plug x" + std::to_string(k) + ", seat " + std::to_string(f), seat(f));
    EXPECT_TRUE(stdtest::MouldSheetLayouts(H, Dir.path(), "ejector_plug", 0, k, seat(1.0)).empty())
        << "ejector_plug x" << k << " with its seat the whole length left";
  }
  // Every factor a twentieth apart and between them, drawn at 1:1, 2:1 and 4:1: the groove's detail, asked
  // past the seat's angle and moved up off the title block, stood with its height's size where the angle's
  // arc went out past its value (k 0.77, 1.5 to 1.6), and the arc then crossed that size; a long plug at
  // 2:1, placed as far down as its collar is wide, had its lengths sized below it in the title block.
  for (int i = 0; i <= 30; ++i)
    for (const double between : {0.0, 0.02}) {
      const double k = 0.5 + 0.05 * i + between;
      for (const double f : {0.7, 0.95})
        if (between == 0.0 || f > 0.9)
          check("ejector_plug", k, "ejector_plug x" + std::to_string(k) + ", seat " + std::to_string(f),
                seat(f));
    }
  for (const double k : {0.6, 1.0, 1.2})
    for (const double collar : {3.5, 3.99, 4.0, 4.01, 4.5})
      for (const double spring : {3.0, 30.0})
        check("ejector_channel", k,
              "ejector_channel x" + std::to_string(k) + ", collar " + std::to_string(collar) + ", spring " +
                  std::to_string(spring),
              [=](TDetail& d) {
                auto& c = static_cast<TEjectorChannel&>(d);
                c.CollarHeight = collar, c.SpringLen = spring;
              });
}

// The bush with a front part, its length under the next smaller size, halfway to the next row, at every
// other row: the collar's height, its value too long for its line or past either end across the front
// face's and the rear end's extension lines, stands on the part's other side; a short rear's outside
// diameter stands clear of the bore's extension lines; the collar's front face's sign, with no room under
// the collar beside the front end's extension line, stands above it.
TEST_F(ReleaseSweepBetween, AFrontBushWithAShortRearIsFitToRelease)
{
  const TPart& part = stdtest::mouldparts::PartNamed("guide_bush_2");
  for (int row = 1; row + 1 < ABaseDetail.SocketCount(part.Table); row += 2) {
    TCase c;
    c.Row = row, c.Between = 0.5, c.Past = false;
    TMade probe;
    part.Make(probe, nullptr, c.Row, c.K);
    const auto sizes = stdtest::pushed::SizesOf(*probe.Parts.back());
    for (std::size_t i = 0; i < sizes.size(); ++i)
      if (std::string(sizes[i].first) == "Len") c.Pushed = std::ptrdiff_t(i);
    ASSERT_GE(c.Pushed, 0);
    const std::string what = "guide_bush_2 row " + std::to_string(row) + " + 0.5, Len under";
    const auto laid = stdtest::MouldSheetLayouts(H, Dir.path(), part.Name, c.Row, c.K,
                                                 [&](TDetail& d) { Apply(part, c, d); });
    EXPECT_EQ(laid.size(), 1u) << what;
    for (const txhost::SvgLayout& l : laid)
      for (const TFinding& f : Findings(l))
        ADD_FAILURE() << what << ": " << f.Kind << ": " << f.What;
  }
}

// Either bush with a front part longer than any row's, up to a long bush's rear, at every row (the collar
// bush with its V-groove): a front long enough to hold the front face's sign under the collar reached so
// far towards the binding margin that the collar's diameter past its end left the front outside's sign no
// place off its extension line, or the lengths below no room for their values. And fronts as short as the
// bush takes, whose groove is shorter than the collar's and has a detail of its own: beside the V-groove's,
// that detail's angle reached into the V-groove's outline.
TEST_F(ReleaseSweepBetween, ABushWithAFrontOfAnyLengthIsFitToRelease)
{
  for (const auto& [bush, table] : {std::pair{"guide_bush_2", 2}, std::pair{"guide_bush_4", 4}})
    for (int row = 1; row < ABaseDetail.SocketCount(table); ++row)
      for (const double front : {2.0, 2.5, 3.0, 4.0, 14.0, 18.0, 22.0, 26.0, 30.0}) {
        const std::string what = std::string(bush) + " row " + std::to_string(row) + ", front " +
                                 std::to_string(front);
        const auto laid = stdtest::MouldSheetLayouts(H, Dir.path(), bush, row, 1, [front](TDetail& d) {
          static_cast<TSocketLeaderPinBushing&>(d).FLen = front;
        });
        EXPECT_EQ(laid.size(), 1u) << what;
        for (const txhost::SvgLayout& l : laid)
          for (const TFinding& f : Findings(l))
            ADD_FAILURE() << what << ": " << f.Kind << ": " << f.What;
      }
}

// The locating sleeve with a collar, which no row of its table has (a guide pillar's sleeve, its key cut
// into the collar) as the sizes between rows push one: at every row, a collar as wide as the sleeve, of a
// tenth and a fifth of its length. Every finding fails, the signs' too: the outside's sign at the chamfer's
// corner and the bore's between two extension lines half a millimetre apart take the surface's other side.
TEST_F(ReleaseSweepBetween, ASleeveWithACollarIsFitToReleaseAtEveryRow)
{
  for (int row = 1; row < ABaseDetail.SocketCount(3); ++row)
    for (const double wider : {1.0})
      for (const double along : {0.1, 0.2}) {
        const auto collar = [&](TDetail& d) {
          auto& s = static_cast<TSocketLeaderPinLocatingSleeves&>(d);
          s.CollarRadius = wider * s.Radius;
          s.CollarHeight = along * (s.Len - 4.0);
        };
        const std::string what = "locating_sleeve row " + std::to_string(row) + " collar x" +
                                 std::to_string(wider) + " over " + std::to_string(along);
        const auto sheets = stdtest::MouldSheetLayouts(H, Dir.path(), "locating_sleeve", row, 1, collar, what);
        EXPECT_EQ(sheets.size(), 1u) << what;
        for (const txhost::SvgLayout& l : sheets)
          for (const TFinding& f : Findings(l))
            ADD_FAILURE() << what << ": " << f.Kind << ": " << f.What;
      }
}

// The wire spring's part, made by a sweep along its helices, opens again as it was saved.
TEST(ReleaseSweepSpring, TheSpringsPartOpensAgainAsSaved)
{
  class Hosted : public adaptertest::HostedModeller
  {
  } h;
  for (const auto& [D, d, H, C] : {std::array{12.0, 1.2, 30.0, 3.0}, std::array{60.0, 6.0, 200.0, 14.0}}) {
    const std::filesystem::path file = h.Dir / ("spring-" + std::to_string(int(D)) + ".tpt");
    TWiredSpring::dr3D_Spring(MA, adaptertest::T(file), D, d, H, C);
    ASSERT_TRUE(std::filesystem::exists(file));
    std::string error;
    txhost::Object* doc = h.H.OpenDocument(file, false, &error);
    ASSERT_NE(doc, nullptr) << error;
    int sweeps = 0;
    for (txhost::Object* o : h.H.ObjectsOf(*doc))
      sweeps += o->Kind() == txhost::model::Evolution;
    EXPECT_EQ(sweeps, 3);
    h.H.CloseDocument(*doc);
  }
}

} // namespace

namespace {

// Each size of every part alone from a fifth of what its table or factor gives to four times it, the others
// as they are (a table's part at its middle row, the others at 0.5, 1 and 2): a designer edits one size
// more often than all. Every sheet drawn passes the release checks. Run by scripts/sheets.sh --ranges
// (HXCAD_SIZE_RANGES set; HXCAD_PARTS as above, HXCAD_SIZE one size's name); each finding names the part,
// the size and its factor. With HXCAD_SIZE_SEED the factors are drawn from that seed, as many, evenly on a
// log scale over the same range, so sizes between the listed ones are laid out too.
TEST_F(ReleaseSweepBetween, EachSizeAloneAcrossItsRangeIsFitToRelease)
{
  if (std::getenv("HXCAD_SIZE_RANGES") == nullptr) GTEST_SKIP() << "scripts/sheets.sh --ranges sweeps them";
  std::vector<double> listed{0.2, 0.3, 0.4, 0.55, 0.7, 0.85, 1.15, 1.3, 1.5, 1.75, 2.0, 2.5, 3.0, 4.0};
  // Finer steps to look at one size closely: HXCAD_SIZE_STEPS="0.5 1.2 0.005" (from, to, step).
  if (const char* steps = std::getenv("HXCAD_SIZE_STEPS")) {
    double from = 0, to = 0, step = 0;
    if (std::sscanf(steps, "%lf %lf %lf", &from, &to, &step) == 3 && step > 0) {
      listed.clear();
      for (int i = 0; from + i * step <= to + 1e-9; ++i)
        listed.push_back(from + i * step);
    }
  }
  const char* const drawnFrom = std::getenv("HXCAD_SIZE_SEED");
  // A drawn factor is kept to three decimals, so that the one a finding prints makes the same part again.
  const auto factorsOf = [&](const char* part, double k, std::size_t size) {
    if (drawnFrom == nullptr || listed.empty()) return listed;
    std::vector<double> drawn(listed.size());
    TDraw draw(std::strtoull(drawnFrom, nullptr, 10), part, std::size_t(k * 4) * 1000 + size);
    for (double& f : drawn)
      f = std::round(listed.front() * std::pow(listed.back() / listed.front(), draw()) * 1000) / 1000;
    return drawn;
  };
  if (drawnFrom != nullptr) std::printf("factors drawn from seed %s\n", drawnFrom);
  for (const TPart& part : stdtest::mouldparts::Parts) {
    if (!Asked(part.Name)) continue;
    int sheets = 0, refused = 0, broken = 0;
    const int row = AloneRow(part);
    for (const double k : {0.5, 1.0, 2.0}) {
      if (part.Table != 0 && k != 1.0) continue;
      TMade probe;
      part.Make(probe, nullptr, row, k);
      const auto sizes = stdtest::pushed::SizesOf(*probe.Parts.back());
      for (std::size_t s = 0; s < sizes.size(); ++s)
        for (const double f : factorsOf(part.Name, k, s)) {
          char what[160];
          std::snprintf(what, sizeof what, "k %d x%g, %s x%g", part.Table != 0 ? row : 0, k, sizes[s].first, f);
          // One size alone (HXCAD_SIZE=Len), or one case, to keep and look at its sheet:
          // HXCAD_SIZE_CASE="k 0 x1, Len x0.55".
          const char* size = std::getenv("HXCAD_SIZE");
          if (size != nullptr && std::string(size) != sizes[s].first) continue;
          if (const char* only = std::getenv("HXCAD_SIZE_CASE"); only && !std::strstr(what, only)) continue;
          bool clean = true;
          const int laid = SheetsWithSizeAlone(part, row, k, sizes[s].first, f, clean);
          sheets += laid, refused += laid == 0, broken += !clean;
        }
    }
    std::printf("%s: %d sheets, %d refused, %d with findings\n", part.Name, sheets, refused, broken);
  }
}

// Sizes alone the range sweep found broken, drawn again in CI: a guide plug whose rear or front part runs
// farther along it than its collar is across, a sprue bush whose part in the plate does (each had its
// collar's diameter's extension lines run along it), a sprue bush too long for the sheet's width at 1:1 with
// the view of its nozzle end or with a flange too wide for its height, a support washer whose collar reaches
// past the frame's top; a shank's flats ending before the cross hole's place (their length stood beyond the
// hole's place, its extension line crossing the shorter's line), a shank shorter to its thread than its
// diameter stands past the collar (moved off the thread's and the bore's lengths, it stood beyond the
// threaded end across the mouth's lines), a collar far wider than the shank (the view, placed by the shank's
// width, ran the collar up to the frame); pin holes narrow for how far inside the rim they lie (their
// diameter's value stood beyond a leader's reach of them); a one-piece spacer's collar wide enough to carry
// the lengths above it to the frame, an assembled spacer's bush too short for its and the washer's diameters
// across it, a locating sleeve long enough to leave its chamfer's angle no room beyond the threaded end, a
// pusher's collar ending just short of the fit's end (its face's sign stood past it across the fit's
// extension line) and one so wide that the length with the seat ran across it; locating rings whose rim runs
// farther past the counterbores than the ring is thick (the counterbores' depth, sized above the rim, ran its
// extension lines along the section), or whose pins' holes lie farther inside the rim than a leader reaches
// at 1:1 (their diameter's value stood within the plan view), or whose column tail's holes' circle passes a
// fixing hole's edge on an axis (the holes' angles' rays started on that edge); a collar standing out past
// the part beside it farther than the part is long (guide bushes, stop pin: the lengths to the far ends had
// their extension lines run along the collar's faces), a guide pillar whose fixed part runs farther than its
// collar is across (the collar's diameter's extension lines ran along it), an ejector plug whose seat's
// length the layout carried onto the seat angle's ray along the far end face (the ray ran through its arrow's
// tip); a sprue bush whose flange stands out from it farther than it is long (its lengths' extension lines
// ran up past the flange, along the view farther than it is long), one whose seat is deeper than half its
// sphere (the seat's arcs with their hatching's boundary taken for a whole circle, its radius's arrow turned
// off them), one whose seat's radius ran from its centre across the root's rounding's value, one whose part
// in the plate stands as wide as the flange but for a few millimetres (the root's rounding's value had no
// room under the flange's diameter's extension line), or far shorter than its flange is across (that value
// had no room beside the far end's extension line); one whose sprue's mouth is far smaller than its head (the
// mouth's value, past the head on the view of the nozzle end, stood beyond reach of it); parts too long or
// too wide for the larger sheet (they ran off it: the back ejector, drawn right of a place that moves with
// its length, the protect support, the threaded pillar with its end view beside it, the ejector channel, the
// shank with its end views, drawn reduced, their views, texts and signs as far apart on the sheet as at 1:1),
// an ejector plug whose seat's angle at its far end had no room right of it, a stop pin whose shank is
// shorter than its head face's grade reaches beside the face (the groove's letter over the end, or its leader
// rising to it past a wide head, stood on the grade's shelf or value). A shank drawn reduced (the mouth's
// value, too long for its diameter on paper, ran across the thread's extension lines; drawn reduced for a
// collar far wider than the shank, its collar's lengths were pushed below as far on paper as the collar
// reaches in the part, onto the groove's detail), a shank collar so wide that its end face's sign, asked by
// the shank, could not slide off the heat-treatment zone's line; a shank just too long for the sheet first
// opened, whose view arrow, asked off that sheet, was moved into its frame onto the threaded end before the
// sheet grew. A locating ring far wider than its section is thick (drawn whole at the scale its plan's
// leaders need, the section was too thin on paper for its sizes; drawn so small, the tail hole whose diameter
// is given had its angle's ray through that diameter's arrow tips). A locating ring whose bore is too narrow
// to hold the land's value between its line and the bore's far side (the land's length, pushed off the bore,
// ran its extension lines down through the section), or whose entry's angle finds room beside the face only
// under the lead-in's angle drawn on its least arc (widened, its arc ran past the rim across the rim's
// extension line); at twice its sizes the entry's angle still found no room there. Bores a little wider, or a
// section thinner, whose entry's angle found room neither under the lead-in's angle nor turned into the bore:
// its arc widened across the lead-in's, its value over the arc asked beyond the lead-in's ray with no bore to
// turn into, or its turned value against the bore's diameter's line. A shouldered ring so wide that its plan,
// drawn at 1:10, still carried the holes' circle's and the tail's hole's values past the rim beyond a
// leader's reach. A flat ring whose counterbores stand so far inside the rim that their depth, sized in the
// upper hole, left the lead-in's angle above it too little room (its value came down on the depth's value and
// the floor's sign), and sized above the rim ran its extension lines along the section farther than the
// section is thick. A part long or wide enough that a length asked beside it lay past the frame, which the
// layout then carried to the part's other side, its extension lines along the whole view, or brought in
// across the extension lines of a smaller diameter it nests outside (guide plug, protect support, assembled
// spacer, guide pillar, ejector channel). An ejector plug at 1:1 whose collar, stood its diameter under the
// sheet's anchor, carried the whole length's line below the frame (the lengths under the part were moved up
// across it and its other half, the seat's radius's leader through the section); one whose counterbore ends
// within its collar (sized past its end, the counterbore's diameter's line ran across the middle bore's
// extension line). A sprue bush whose flange's length, or the sheet's lengths below it, ran its whole
// length's extension line into the title block (the checks did not look at what stands there). A one-piece
// spacer whose body is short for its values (the chamfer's value, centred over its line while the lines
// settled, and a line by the body's end face left the body's diameter's value no room under the body, and it
// went past the thread's end across the thread's extension lines; the body's length's value, past the end
// face, stood under that face's sign). A threaded pillar drawn reduced whose fixed end, by the frame, left
// the groove's detail no room right of the collar face's line (the face's sign, kept from below the sizes,
// stood by the face with its arm across the fixed end's extension line). A sprue bush whose seat runs deeper
// than its sphere's radius (its radius with its sign clear only through the seat's open side, its value
// farther out than the leader search went). A shank whose bore is hardly deeper than its mouth, both shorter
// than the end's chamfer (the bore's depth, asked beyond the chamfer's, or carried there off the mouth's as
// long, had its extension line run across the chamfer's line). An ejector plug too wide to keep the whole
// length's line on the frame with its rim by the anchor (stood there, the lengths under it were crowded onto
// the frame's edge across each other), or one whose seat's angle, carried past the collar's level, ended its
// arc just under the seat's length's line (the arc rose back across that length's shelf), or whose collar is
// long for the room between the counterbore's line and the middle bore's (the body's diameter, stood a
// spacing past the counterbore's, fell on the collar by its end face). A threaded pillar reaching the larger
// sheet's frame (the view's arrow, asked past it, settled inside the mouth's diameter's extension lines on
// the axis). A sprue bush whose mouth, sized in the section, stood its value past the upper end across the
// seat radius's leader; an ejector channel whose fit is too short for its sign beside its diameter's value. A
// locating ring whose fixing holes stand where the pin hole's diameter turns its leader beside the pin hole
// sign's leader (the sign stayed where it was asked while its leader swung about the hole, off its line and
// on the pin's axis). An ejector plug whose seat's angle found no free arc from the one asked outwards (its
// arc, taken where only its own value had no room, ran its arrow's end across the next length's value: the
// narrower arc beside it crossed nothing). One whose seat's mouth, at the scale its body's sizes asked, was
// too narrow to hold its edge's radius's value between the mouth's extension lines (the value went over the
// upper one, its leader out across the mouth's edge). One whose collar stands out past the bore or the body
// farther than the plug is long (the counterbore's depth and the whole length, given from the collar's front
// face, stood past its rim, their far extension lines run up along the view farther than it is across). A
// one-piece spacer whose collar is so wide that the body's length, stood a spacing under the collar's,
// reached the undercut's detail with its extension line (the line was carried over the body, the body's
// diameter past the thread's end across the thread's extension lines, and the body's end face's sign stood
// within the view), or whose body is just long enough for the fit's sign over its middle to reach the
// undercut's callout's leader with its value. A line whose extension line ended on another view's edge, clear
// of it in the layout's arithmetic but on it as the sheet rounds it (a one-piece spacer's whole length
// carried under a wide collar onto its detail's). A shank whose plain part between the collar and the thread
// is short: the groove's letter, asked 14 left of the groove, came down over the collar's heat-treatment zone
// or on the collar chamfer's value and its line; the hardness note, its text run right from over the collar,
// reached the threaded end's extension lines and was carried onto the part; the collar face's sign crossed
// the thread length's extension line; the shank's diameter, too narrow there for its value beside its line,
// was carried past the threaded end across the thread's extension lines. A shouldered locating ring whose
// section is thinner on paper than its shoulder's length needs at the step (that length's extension lines,
// and the land's drawn far into a wide bore, ran over the section farther than it is thick); one whose
// entry's angle, asked on an arc reaching past the rim, stood there with its ray along the face across the
// rim's extension line, or whose turned value just touched the bore's diameter's line; one whose rim stands
// just far enough past the counterbores to keep their depth off the rim yet too near for the lead-in's arc
// with its margin. A sprue bush whose seat's sphere is large for its head, or whose mouth is wide: the seat's
// radius, led in from beyond its arc, ran on past its arrow as far as the sphere is large, across the root's
// rounding's value and leader (or through the part, its value under the nozzle end's sign) wherever the arc
// let it turn. A locating sleeve just long enough to carry view A past the frame: the view moved back by as
// much took its chamfer's angle's room beyond the threaded end, and the angle went under the part across the
// thread's and relief's lines. One whose thread is hardly longer than its chamfer: the thread's line across
// the section, kept clear of the outer chamfer's length, stood past the relief's middle, across the relief's
// extension line. An ejector channel whose working end, with its seat or its shank long, stands within the
// frame by less than its fit's diameter and the surface's sign on that diameter's extension line reach past
// it (the sign, with no other place between the sizes there, ran off the frame, on the first sheet or on the
// larger one). A small ejector channel whose collar reaches so near the hardened zone that its fit leaves the
// fit's sign room neither before the zone's leader nor under the fit at 4:1 (held to the width every enlarged
// part keeps to, not the one its sheet has). A sprue bush whose mouth's value on the view of the nozzle end,
// asked a whole millimetre past the head's circle, stood that much beyond a leader's reach of the mouth (the
// view was chosen for a value three quarters of a millimetre out). A guide pillar long enough to bring its
// fixed end within a value's length of the frame: the fixed part's length, its value too long for its line
// and no room past the end, took the other end across the collar face's extension line, and the chamfer's
// depth, its extension lines asked past the frame, was carried in with its value among the outlines; the
// sheet holding the view only so does not hold it. A one-piece spacer whose body is too short at 1:1 for its
// diameter's value between the collar face's extension line and the end face's: the diameter went past the
// thread's end, across the thread's extension lines (the sheet is drawn enlarged instead). An ejector plug
// whose seat is so narrow that no scale its length allows gives its edge's radius a place for its value: the
// leader ran out across the mouth's edge or its value stood beyond reach; the edge is called out and sized on
// a detail of its own. A shank whose plain part is just short of holding its diameter's value beside the
// line: the line, asked past the value's room from the collar's face, stood within the spacing a line keeps
// off an outline from the groove's wall, and was carried past the threaded end across the thread's extension
// lines. A sprue bush drawn at 1:2 for a body just too wide for 1:1: the view of the nozzle end, placed for
// the seat radius's value alone, left the seat's sign no room between the small seat and that value, and the
// radius was led through the flange instead.
TEST_F(ReleaseSweepBetween, SizesAloneTheRangesFoundAreFitToRelease)
{
  struct TAlone
  {
    const char *Part, *Size;
    std::vector<double> K, Factors;
  };
  const TAlone cases[] = {{"guide_plug", "Len", {1.0, 2.0}, {1.3}},
                          {"guide_plug", "Len", {0.5, 2.0}, {4.0}},
                          {"sprue_bush", "CollarRadius", {1.0}, {0.55}},
                          {"sprue_bush", "CollarRadius", {0.5}, {0.7}},
                          {"sprue_bush", "Len", {2.0}, {1.75, 4.0}},
                          {"sprue_bush", "Len", {1.0}, {4.0}},
                          {"support_washer", "CollarRadius", {1.0}, {4.0}},
                          {"support_washer", "CollarRadius", {2.0}, {2.5}},
                          {"shank", "X89", {1.0}, {0.4, 0.55}},
                          {"shank", "X89", {2.0}, {0.2, 0.3, 0.4, 0.55}},
                          {"shank", "Len", {1.0, 2.0}, {0.4, 0.55}},
                          {"shank", "ThreadLen", {1.0, 2.0}, {3.0, 4.0}},
                          {"shank", "CollarRadius", {1.0}, {3.0, 4.0}},
                          {"shank", "CollarRadius", {2.0}, {1.75, 2.0, 2.5}},
                          {"locating_ring", "PinRadius", {2.0}, {0.2, 0.3, 0.4, 0.55, 0.7}},
                          {"locating_ring", "FixRadius", {2.0}, {0.85}},
                          {"spacer_one_piece", "CollarRadius", {1.0}, {3.0}},
                          {"spacer_assembled", "Len", {1.0}, {0.3}},
                          {"locating_sleeve", "Len", {1.0}, {2.0}},
                          {"ejector_channel", "CollarHeight", {1.0}, {4.0}},
                          {"ejector_channel", "CollarRadius", {2.0}, {4.0}},
                          {"locating_ring", "FixRadius", {1.0, 2.0}, {0.7}},
                          {"locating_ring_shoulder", "Radius", {0.5, 1.0, 2.0}, {1.3, 1.5}},
                          {"locating_ring_shoulder", "Radius", {0.5, 1.0}, {1.75}},
                          {"locating_ring", "FixRadius", {0.5}, {0.85}},
                          {"guide_bush_4", "CollarRadius", {1.0}, {2.5, 3.0, 4.0}},
                          {"guide_bush_2", "CollarRadius", {1.0}, {3.0, 4.0}},
                          {"stop_pin", "CollarRadius", {0.5, 1.0, 2.0}, {4.0}},
                          {"ejector_plug", "CollarRadius", {0.5, 1.0}, {4.0}},
                          {"guide_pillar", "FLen", {1.0}, {4.0}},
                          {"ejector_plug", "CollarRadius", {0.5, 1.0}, {2.5}},
                          {"ejector_plug", "ECRadius", {0.5, 1.0}, {2.5}},
                          {"ejector_plug", "Radius", {0.5, 1.0}, {0.55}},
                          {"sprue_bush", "CollarRadius", {0.5, 1.0, 2.0}, {2.5, 3.0, 4.0}},
                          {"sprue_bush", "SphereLen", {1.0}, {4.0}},
                          {"sprue_bush", "SphereRadius", {2.0}, {0.2}},
                          {"sprue_bush", "SphereRadius", {0.5}, {1.75}},
                          {"sprue_bush", "Len", {0.5}, {4.0}},
                          {"sprue_bush", "FitLen", {0.5}, {0.2, 0.3}},
                          {"sprue_bush", "TPARadius", {2.0}, {0.2, 0.4, 0.55, 0.7, 0.85}},
                          {"sprue_bush", "BFitRadius", {2.0}, {1.15, 1.3, 1.5, 1.75, 2.0}},
                          {"back_ejector", "Len", {1.0}, {3.0, 4.0}},
                          {"back_ejector", "Len", {2.0}, {1.5, 1.75, 2.0, 2.5, 3.0, 4.0}},
                          {"protect_support", "Radius", {2.0}, {4.0}},
                          {"guide_pillar_threaded", "Len", {1.0}, {3.0, 4.0}},
                          {"ejector_channel", "Len", {2.0}, {2.5, 3.0, 4.0}},
                          {"ejector_plug", "Len", {2.0}, {3.0}},
                          {"shank", "Len", {2.0}, {2.5, 3.0, 4.0}},
                          {"locating_ring_shoulder", "Radius", {0.5, 1.0}, {2.0, 2.5}},
                          {"locating_ring_shoulder", "Radius", {2.0}, {1.75}},
                          {"locating_ring_shoulder", "Radius", {0.5, 1.0}, {3.0, 4.0}},
                          {"locating_ring_shoulder", "Radius", {2.0}, {2.0, 2.5, 3.0}},
                          {"locating_ring_shoulder", "InRadius", {1.0}, {0.2, 0.3}},
                          {"locating_ring_shoulder", "InRadius", {0.5}, {0.2, 0.3}},
                          {"guide_plug", "Len", {2.0}, {2.61, 2.667, 2.741}},
                          {"protect_support", "Radius", {2.0}, {2.09, 2.114}},
                          {"spacer_assembled", "Len", {1.0}, {3.92}},
                          {"guide_pillar", "Len", {1.0}, {3.643}},
                          {"ejector_channel", "Len", {2.0}, {1.488, 1.5, 1.543}},
                          {"ejector_plug", "CollarRadius", {2.0}, {2.5}},
                          {"ejector_plug", "CollarRadius", {2.0}, {4.0}},
                          {"ejector_plug", "EC2Len", {1.0}, {0.2}},
                          {"shank", "CollarRadius", {2.0}, {3.0, 4.0}},
                          {"shank", "Len", {2.0}, {1.75}},
                          {"stop_pin", "Len", {0.5}, {0.55, 0.6}},
                          {"stop_pin", "Len", {2.0}, {0.34}},
                          {"sprue_bush", "CollarHeight", {2.0}, {1.636, 1.75, 1.939}},
                          {"sprue_bush", "SphereLen", {2.0}, {2.907, 3.175}},
                          {"spacer_one_piece", "Len", {1.0}, {0.34, 0.35, 0.37, 0.39, 0.4, 0.41, 0.43}},
                          {"guide_pillar_threaded", "Len", {1.0}, {3.234, 3.5, 3.801}},
                          {"locating_ring_shoulder", "InRadius", {0.5}, {0.4, 0.45, 0.5, 0.55, 0.6, 0.65, 0.7}},
                          {"locating_ring_shoulder", "InRadius", {1.0}, {0.325, 0.35, 0.4, 0.45, 0.475}},
                          {"locating_ring_shoulder", "InRadius", {2.0}, {0.2}},
                          {"locating_ring_shoulder", "Thickness", {0.5}, {0.8, 0.85, 0.875, 0.9}},
                          {"locating_ring_shoulder", "Radius", {2.0}, {3.4, 3.7, 4.0}},
                          {"locating_ring", "FixRadius", {0.5}, {0.6, 0.625, 0.675, 0.7}},
                          {"sprue_bush", "SphereLen", {2.0}, {4.0}},
                          {"shank", "Y3", {0.5}, {0.3, 0.302, 0.317, 0.322, 0.344}},
                          {"ejector_plug", "CollarRadius", {2.0}, {2.8, 3.1, 3.3}},
                          {"ejector_plug", "CollarRadius", {0.5, 1.0}, {2.67}},
                          {"ejector_plug", "CollarHeight", {1.0}, {3.25, 3.5, 3.75}},
                          {"ejector_channel", "FitLen", {0.5}, {0.21, 0.212, 0.23, 0.245, 0.26, 0.28}},
                          {"sprue_bush", "TPARadius", {2.0}, {0.204, 0.3, 0.337, 0.42, 0.485, 0.51}},
                          {"guide_pillar_threaded", "Len", {1.0}, {2.65}},
                          {"locating_ring", "FixRadius", {0.5, 1.0, 2.0}, {0.6, 0.62, 0.64, 0.66, 0.805}},
                          {"ejector_plug", "Radius", {1.0}, {0.625, 0.666}},
                          {"ejector_plug", "ECRadius", {1.0}, {0.331, 0.368, 0.44, 0.51, 0.58, 0.634}},
                          {"ejector_plug", "CollarRadius", {0.5, 1.0, 2.0}, {3.45, 3.6, 3.9, 3.95}},
                          {"spacer_one_piece", "CollarRadius", {1.0}, {3.76, 3.84, 3.9, 3.944, 4.0}},
                          {"spacer_one_piece", "Len", {1.0}, {0.358, 0.36, 0.362, 0.365}},
                          {"spacer_one_piece", "CollarRadius", {1.0}, {3.249, 3.25, 3.251}},
                          {"shank", "Len", {0.5}, {0.358, 0.37, 0.38, 0.385, 0.389, 0.395, 0.4, 0.415, 0.535, 0.59}},
                          {"shank", "Len", {1.0}, {0.34, 0.36, 0.378, 0.405}},
                          {"shank", "Len", {2.0}, {0.325, 0.333, 0.341, 0.35, 0.36}},
                          {"shank", "ThreadLen", {0.5}, {3.045, 3.059, 3.085, 3.305, 3.325, 3.34}},
                          {"shank", "ThreadLen", {1.0}, {3.97, 3.98}},
                          {"locating_ring_shoulder", "Thickness", {0.5}, {0.74, 0.76, 0.786, 0.795}},
                          {"locating_ring_shoulder", "Thickness", {0.5}, {0.855, 0.88, 0.905}},
                          {"locating_ring_shoulder", "InRadius", {0.5}, {1.34, 1.373, 1.404, 1.47}},
                          {"locating_ring_shoulder", "Thickness", {1.0}, {1.471, 1.48, 1.495}},
                          {"locating_ring_shoulder", "Thickness", {2.0}, {1.44, 1.453, 1.465}},
                          {"locating_ring_shoulder", "Radius", {0.5}, {1.21, 1.22, 1.23}},
                          {"locating_ring_shoulder", "Radius", {2.0}, {1.235, 1.236}},
                          {"sprue_bush", "SphereRadius", {0.5}, {2.12, 2.19, 2.24, 2.35}},
                          {"sprue_bush", "TPARadius", {0.5}, {2.99}},
                          {"locating_sleeve", "Len", {1.0}, {3.03, 3.04, 3.047, 3.05}},
                          {"locating_sleeve", "ThreadLen", {1.0}, {0.2, 0.205}},
                          {"ejector_channel", "SpringLen", {2.0}, {3.21, 3.3, 3.416, 3.5}},
                          {"ejector_channel", "Len", {2.0}, {1.45, 2.32}},
                          {"ejector_channel", "CollarHeight", {0.5}, {3.955, 3.98, 4.0}},
                          {"sprue_bush", "TPARadius", {2.0}, {0.95, 0.953, 0.955}},
                          {"guide_pillar", "Len", {1.0}, {3.52, 3.55, 3.598, 3.609, 3.635}},
                          {"spacer_one_piece", "Len", {1.0}, {0.292, 0.296, 0.3, 0.305, 0.31, 0.317, 0.325, 0.329}},
                          {"ejector_plug", "ECRadius", {1.0}, {0.26, 0.275, 0.295}},
                          {"ejector_plug", "ECRadius", {2.0}, {0.18, 0.2, 0.245, 0.28, 0.31}},
                          {"shank", "Len", {1.0}, {0.388, 0.389}},
                          {"shank", "Len", {2.0}, {0.354}},
                          {"sprue_bush", "BFitRadius", {2.0}, {2.28, 2.307, 2.346, 2.35}}};
  for (const TAlone& c : cases)
    for (const double k : c.K)
      for (const double f : c.Factors) {
        const auto laid =
            SizeAloneSheets(H, Dir.path(), c.Part, AloneRow(stdtest::mouldparts::PartNamed(c.Part)), k, c.Size, f);
        EXPECT_FALSE(laid.empty()) << c.Part << " x" << k << ", " << c.Size << " x" << f;
        for (const txhost::SvgLayout& l : laid)
          for (const TFinding& found : Findings(l))
            ADD_FAILURE() << c.Part << " x" << k << ", " << c.Size << " x" << f << ": " << found.Kind << ": "
                          << found.What;
      }
}

} // namespace
