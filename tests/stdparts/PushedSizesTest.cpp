// Every mould part class held to what a designer gets: sizes its outline cannot take are refused, with
// their reason, before anything is drawn or modelled; everything else gives a sheet and part files that the
// solid evaluator's check passes. The host makes the features with the evaluator, as a real host with its
// modeller, so that a feature that cannot be made is failed and counted. Each part is made at its sizes
// (a table part at its middle row, another at half, once and twice the sweep's sizes) and then with each
// of its sizes in turn pushed past its neighbours: just above the next larger of its other sizes and just
// below the next smaller (a bore past the outside, flats past the round, a collar under its shank). CI
// takes the protect support; HXCAD_GEOMETRY_ROWS=ends or all (scripts/sheets.sh) takes every part.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "../adapter/AdapterSupport.h"
#include "MouldPartList.h"
#include "StdPartsSupport.h"
#include "plugin/MouldDocuments.h"
#include "tests/TestNames.h"
#include "tests/core/TextBaseTestUtil.h"
#include "txhost/lib/Host.h"
#include "txhost/solid/Evaluator.h"

namespace pushedsizes {

using drApi::MA;
using stdtest::mouldparts::TMade;
using stdtest::mouldparts::TPart;

using TSizes = std::vector<std::pair<const char*, double*>>;

// The sizes of a part that its outline is built of (not its placement, counts or angles).
TSizes SizesOf(TDetail& d)
{
  if (auto* p = dynamic_cast<TProtectSupport*>(&d))
    return {{"ThreadLen", &p->ThreadLen}, {"Len", &p->Len}, {"ThreadRadius", &p->ThreadRadius},
            {"Radius", &p->Radius},       {"Key", &p->Key}, {"LenToKey", &p->LenToKey}};
  if (auto* p = dynamic_cast<TStopPin*>(&d))
    return {{"Radius", &p->Radius},
            {"CollarRadius", &p->CollarRadius},
            {"CollarHeight", &p->CollarHeight},
            {"Len", &p->Len}};
  if (auto* p = dynamic_cast<TInjectPlug*>(&d))
    return {
        {"SphereRadius", &p->SphereRadius}, {"TPARadius", &p->TPARadius}, {"CollarRadius", &p->CollarRadius},
        {"BFitRadius", &p->BFitRadius},     {"FitLen", &p->FitLen},       {"Len", &p->Len},
        {"CollarHeight", &p->CollarHeight}, {"SphereLen", &p->SphereLen}};
  if (auto* p = dynamic_cast<TEjectorChannel*>(&d))
    return {{"Radius", &p->Radius},
            {"Len", &p->Len},
            {"SpringRadius", &p->SpringRadius},
            {"SpringLen", &p->SpringLen},
            {"FitRadius", &p->FitRadius},
            {"FitLen", &p->FitLen},
            {"CollarRadius", &p->CollarRadius},
            {"CollarHeight", &p->CollarHeight}};
  if (auto* p = dynamic_cast<TEjectorPlug*>(&d))
    return {{"CollarRadius", &p->CollarRadius},
            {"EC2Radius", &p->EC2Radius},
            {"ECRadius", &p->ECRadius},
            {"Radius", &p->Radius},
            {"EC2Len", &p->EC2Len},
            {"ConeLen", &p->ConeLen},
            {"CollarHeight", &p->CollarHeight},
            {"Len", &p->Len}};
  if (auto* p = dynamic_cast<TDirectPlug*>(&d))
    return {{"ColumnRadius", &p->ColumnRadius}, {"Radius", &p->Radius},
            {"CollarRadius", &p->CollarRadius}, {"OustingLen", &p->OustingLen},
            {"CollarHeight", &p->CollarHeight}, {"Len", &p->Len}};
  if (auto* p = dynamic_cast<TSupportWasher*>(&d))
    return {{"CollarHeight", &p->CollarHeight},
            {"BoltHeadLen", &p->BoltHeadLen},
            {"Len", &p->Len},
            {"CollarRadius", &p->CollarRadius},
            {"BoltHeadRadius", &p->BoltHeadRadius},
            {"BoltRadius", &p->BoltRadius},
            {"Radius", &p->Radius}};
  if (auto* p = dynamic_cast<TBackEjector*>(&d))
    return {{"Radius", &p->Radius},
            {"Len", &p->Len},
            {"FitRadius", &p->FitRadius},
            {"FitLen", &p->FitLen},
            {"CollarRadius", &p->CollarRadius},
            {"CollarHeight", &p->CollarHeight}};
  if (auto* p = dynamic_cast<TMTail*>(&d))
    return {{"Radius", &p->Radius},
            {"CollarRadius", &p->CollarRadius},
            {"Len", &p->Len},
            {"ThreadLen", &p->ThreadLen},
            {"ThreadRadius", &p->ThreadRadius},
            {"X90", &p->X90},
            {"X89", &p->X89},
            {"X88", &p->X88},
            {"R61", &p->R61},
            {"R97", &p->R97},
            {"R98", &p->R98},
            {"Y3", &p->Y3},
            {"Y4", &p->Y4}};
  if (auto* p = dynamic_cast<TSocketLeaderPinBushing*>(&d))
    return {{"Radius", &p->Radius}, {"LPRadius", &p->LPRadius},         {"Len", &p->Len},
            {"FLen", &p->FLen},     {"CollarHeight", &p->CollarHeight}, {"CollarRadius", &p->CollarRadius}};
  if (auto* p = dynamic_cast<TSocketLeaderPinLocatingSleeves*>(&d))
    return {{"Len", &p->Len},
            {"CollarHeight", &p->CollarHeight},
            {"ThreadLen", &p->ThreadLen},
            {"Radius", &p->Radius},
            {"FRadius", &p->FRadius},
            {"CollarRadius", &p->CollarRadius},
            {"ThreadRadius", &p->ThreadRadius}};
  if (auto* p = dynamic_cast<TSocketLeaderPin*>(&d))
    return {{"Len", &p->Len},
            {"FLen", &p->FLen},
            {"FRadius", &p->FRadius},
            {"OFLen", &p->OFLen},
            {"Radius", &p->Radius},
            {"CollarHeight", &p->CollarHeight},
            {"CollarRadius", &p->CollarRadius},
            {"ThreadRadius", &p->ThreadRadius},
            {"ThreadLen", &p->ThreadLen},
            {"Key", &p->Key}};
  if (auto* p = dynamic_cast<TScrew*>(&d))
    return {
        {"Radius", &p->Radius}, {"HeadRadius", &p->HeadRadius}, {"HeadLen", &p->HeadLen}, {"Len", &p->Len}};
  if (auto* p = dynamic_cast<TPin*>(&d)) return {{"Radius", &p->Radius}, {"Len", &p->Len}};
  return {};
}

// A size pushed past its neighbours: just above the next larger of the part's other positive sizes, and
// just below the next smaller (zero below the smallest).
struct TPush
{
  std::size_t Size;
  double Value;
  std::string Name;
};

std::vector<TPush> Pushes(const TSizes& sizes)
{
  std::vector<TPush> pushes;
  for (std::size_t i = 0; i < sizes.size(); ++i) {
    const double v = *sizes[i].second;
    double above = 0, below = 0;
    bool up = false;
    for (std::size_t j = 0; j < sizes.size(); ++j) {
      const double w = *sizes[j].second;
      if (j == i || !(w > 0)) continue;
      if (w > v && (!up || w < above)) above = w, up = true;
      if (w < v && w > below) below = w;
    }
    const std::string name = sizes[i].first;
    if (up) pushes.push_back({i, above * 1.01 + 0.01, name + " past " + std::to_string(above)});
    if (v > 0) pushes.push_back({i, below * 0.99, name + " under " + std::to_string(below)});
  }
  return pushes;
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
    made.Part().dr2D();
    made.Part().dr3D(1);
    std::vector<std::filesystem::path> files;
    for (const TString& f : link.AllParts)
      if (std::filesystem::exists(f.toWideChar())) files.emplace_back(f.toWideChar());
    EXPECT_TRUE(H.Documents().empty()) << "a document left open";
    Sheeted = !link.AllSheets.empty();
    // A part with neither sheet nor model of its own (the repair bolt) opens nothing and says nothing.
    if (link.AllParts.empty() && !Sheeted && log.Texts.empty()) return false;
    if (files.empty()) {
      ++n.Refused;
      EXPECT_FALSE(log.Texts.empty()) << "refused without a reason";
      // A part whose outline is left empty has a sheet of its frame and no body; sizes refused draw nothing.
      if (log.Count("Недопустимые размеры") > 0) {
        EXPECT_FALSE(Sheeted) << "a sheet drawn of sizes refused";
      }
      return false;
    }
    ++n.Made;
    if (files.size() != link.AllParts.size()) {
      EXPECT_FALSE(log.Texts.empty()) << "a file not written without a reason";
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
      at.emplace_back((ABaseDetail.SocketCount(part.Table) - 1 + 1) / 2, 1.0);
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

class PushedSizesEveryPart : public PushedSizes, public ::testing::TestWithParam<TPart>
{
};

bool EveryPart()
{
  const char* v = std::getenv("HXCAD_GEOMETRY_ROWS");
  return v != nullptr && *v != 0;
}

TEST_P(PushedSizesEveryPart, ArePartsTheCheckPassesOrRefusedWithTheirReason)
{
  if (!EveryPart() && std::string(GetParam().Name) != "protect_support")
    GTEST_SKIP() << "scripts/sheets.sh sweeps every part";
  const TCounts n = Sweep(GetParam());
  std::cout << GetParam().Name << ": " << n.Made << " made, " << n.Refused << " refused\n";
}

INSTANTIATE_TEST_SUITE_P(Mould, PushedSizesEveryPart, ::testing::ValuesIn(stdtest::mouldparts::Parts),
                         hxcad::test::CaseNames());

class PushedSizesNamed : public PushedSizes, public ::testing::Test
{
};

// Flats wider than the support's round (Key 40 on a 25 mm support) once gave a sheet with a 40 mm flat
// zone and a part whose flat cut removed nothing: refused now, as is every size that puts the flats off the
// body; the sizes of the sweep are made.
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
    EXPECT_EQ(log.Texts.empty(), made);
    EXPECT_TRUE(H.Documents().empty());
  }
}

} // namespace pushedsizes
