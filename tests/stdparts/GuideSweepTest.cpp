// Every row of the guide tables (2 and 4 bushes, 3 sleeves, 5 pillars) chosen by its own keys and
// built as a sheet and a part on the recording modeller, and the same parts and the wire spring on
// the stand-in host.
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <functional>
#include <memory>
#include <span>
#include <string>

#include <gtest/gtest.h>

#include "../adapter/AdapterSupport.h"
#include "StdPartsSupport.h"
#include "plugin/MouldDocuments.h"
#include "tests/TestNames.h"
#include "txhost/lib/Model3D.h"

namespace {

using GuideTables = stdtest::TPartsTest;

// A part of one table, sized by Set from the keys of a row.
struct TableCase
{
  int Table;
  // Sets the part from row r's own keys; the row Set found.
  std::function<int(TDetail&, int r)> Set;
  std::function<std::unique_ptr<TDetail>(TModeler3D*)> Make;
};

void PrintTo(const TableCase& c, std::ostream* os)
{
  *os << "table " << c.Table;
}

double Col(int table, int row, int column)
{
  return ABaseDetail.ParStDet(table, row, column);
}

const TableCase Tables[] = {
    {2,
     [](TDetail& d, int r) {
       return static_cast<TSocketLeaderPinBushing&>(d).Set(2, Col(2, r, 2) / 2.0, Col(2, r, 7));
     },
     [](TModeler3D* m) -> std::unique_ptr<TDetail> {
       return std::make_unique<TSocketLeaderPinBushing>(2, m, nullptr);
     }},
    {3,
     [](TDetail& d, int r) {
       return static_cast<TSocketLeaderPinLocatingSleeves&>(d).Set(3, Col(3, r, 5) / 2.0, Col(3, r, 6));
     },
     [](TModeler3D* m) -> std::unique_ptr<TDetail> {
       return std::make_unique<TSocketLeaderPinLocatingSleeves>(3, m, nullptr, nullptr);
     }},
    {4,
     [](TDetail& d, int r) {
       return static_cast<TSocketLeaderPinBushing&>(d).Set(4, Col(4, r, 2) / 2.0, Col(4, r, 6));
     },
     [](TModeler3D* m) -> std::unique_ptr<TDetail> {
       return std::make_unique<TSocketLeaderPinBushing>(4, m, nullptr);
     }},
    {5,
     [](TDetail& d, int r) {
       auto& p = static_cast<TSocketLeaderPin&>(d);
       const int row = p.Set(5, Col(5, r, 2) / 2.0, Col(5, r, 7), Col(5, r, 8));
       // The owner completes the pillar: the seat's radius, and flats on every other row.
       p.FRadius = Col(5, r, 2) / 2.0;
       p.Key = r % 2 ? 0.0 : 2.0 * p.CollarRadius - 4.0;
       return row;
     },
     [](TModeler3D* m) -> std::unique_ptr<TDetail> {
       return std::make_unique<TSocketLeaderPin>(5, m, nullptr, nullptr);
     }},
};

// A part is a few hundred modeller calls; more means something draws far too much.
constexpr std::size_t CallBudget = 800;

class GuideTableSweep : public stdtest::TPartsTest, public ::testing::WithParamInterface<TableCase>
{
};

TEST_P(GuideTableSweep, EveryRowIsFoundAndBuildsOnTheRecordingModeller)
{
  const int t = GetParam().Table;
  const int rows = ABaseDetail.SocketCount(t);
  ASSERT_GT(rows, 1) << "table " << t << " ships";
  Md.LeafStampAnswer = Md.NewPartPlaneAnswer = true;
  for (int r = 1; r < rows; ++r) {
    SCOPED_TRACE("row " + std::to_string(r));
    auto part = GetParam().Make(&Md);
    ASSERT_EQ(GetParam().Set(*part, r), r);
    EXPECT_TRUE(part->Design);
    EXPECT_EQ(part->Code, 1000 * t + r);
    EXPECT_EQ(Details[part->Id].DC.ID, t);
    EXPECT_EQ(Details[part->Id].DC.Index, r);
    Md.Reset();
    part->dr2D();
    EXPECT_TRUE(DrawingSound(Md));
    if (t != 5) {
      EXPECT_GT(Md.Hatches(), 0) << "a section";
    }
    EXPECT_LT(Md.Calls.size(), CallBudget);
    Md.Reset();
    part->dr3D(0);
    EXPECT_TRUE(DrawingSound(Md));
    EXPECT_EQ(Md.Count("drBaseRotate"), 1);
    EXPECT_LT(Md.Calls.size(), CallBudget);
  }
}

INSTANTIATE_TEST_SUITE_P(Guide, GuideTableSweep, ::testing::ValuesIn(Tables), hxcad::test::CaseNames());

// The ranks of every table's keys are its parts' keys, and its sizes nest as the profiles need.
TEST_F(GuideTables, GuideTablesHoldSizesTheProfilesCanDraw)
{
  for (int r = 1; r < ABaseDetail.SocketCount(5); ++r) {
    EXPECT_LE(Col(5, r, 1), Col(5, r, 2));
    EXPECT_LT(Col(5, r, 2), Col(5, r, 3));
    EXPECT_GT(Col(5, r, 7) - Col(5, r, 4), 5.0) << "a seat past its groove and chamfer";
  }
  for (int t : {2, 4})
    for (int r = 1; r < ABaseDetail.SocketCount(t); ++r) {
      EXPECT_LT(Col(t, r, 1), Col(t, r, 2));
      EXPECT_LT(Col(t, r, 2), Col(t, r, 3));
    }
  for (int r = 1; r < ABaseDetail.SocketCount(3); ++r) {
    EXPECT_LT(Col(3, r, 3), Col(3, r, 5));
    EXPECT_GT(Col(3, r, 4) / 2.0, 2.0);
    EXPECT_LT(Col(3, r, 4) / 2.0 - 2.0, Col(3, r, 3) / 2.0 + 0.5) << "the tapping drill inside the relief";
  }
}

// --- The edge cases that need the shipped rows -----------------------------------------------------

TEST_F(GuideTables, SleeveRowFourAndItsDecisions)
{
  TSocketLeaderPinLocatingSleeves s(3, &Md, nullptr, nullptr);
  ASSERT_EQ(s.Set(3, Col(3, 4, 5) / 2.0, Col(3, 4, 6)), 4);
  EXPECT_EQ(s.Code, 3004);
  EXPECT_EQ(s.CollarRadius, s.Radius);
  EXPECT_EQ(s.CollarHeight, 0.0);
  EXPECT_EQ(s.Len, Col(3, 4, 6));
  EXPECT_EQ(s.FLen, s.Len);
  EXPECT_EQ(s.FRadius, Col(3, 4, 3) / 2.0) << "the bore, not the tapped hole";
  EXPECT_EQ(s.ThreadLen, Col(3, 4, 1));
  // Another table or no row: nothing taken; no row: no size.
  EXPECT_EQ(s.Set(5, s.Radius, s.Len), 0);
  EXPECT_TRUE(s.Design);
  EXPECT_EQ(s.Set(3, 1.0, 1.0), 0);
  EXPECT_FALSE(s.Design);
  EXPECT_EQ(s.Code, 3004);
}

// A size given with a tolerance is one a designer chose: no computed length with a fit (the bore's
// length between the relief and the end, which the drill point's cone would make 14,98).
TEST_F(GuideTables, TheSleevesTolerancedLengthsAreChosenValues)
{
  Md.LeafStampAnswer = true;
  for (int r = 1; r < ABaseDetail.SocketCount(3); ++r) {
    SCOPED_TRACE("row " + std::to_string(r));
    TSocketLeaderPinLocatingSleeves s(3, &Md, nullptr, nullptr);
    ASSERT_EQ(s.Set(3, Col(3, r, 5) / 2.0, Col(3, r, 6)), r);
    Md.Reset();
    s.dr2D();
    int toleranced = 0;
    for (const auto& c : Md.Calls)
      if (c.Op == "drDimL" && c.S.size() == 4 && !c.S[2].Empty()) {
        const double v = std::fabs(c.A[0]) * 10;
        EXPECT_NEAR(v, std::round(v), 1e-9) << c.A[0] << c.S[2].Utf8Text();
        ++toleranced;
      }
    EXPECT_GE(toleranced, 4);
  }
}

TEST_F(GuideTables, TheCollarBushHasItsGrooveAtTheWholeMillimetreMiddle)
{
  TSocketLeaderPinBushing b(4, &Md, nullptr);
  for (int r = 1; r < ABaseDetail.SocketCount(4); ++r) {
    ASSERT_EQ(b.Set(4, Col(4, r, 2) / 2.0, Col(4, r, 6)), r);
    EXPECT_EQ(b.GrooveLen, std::floor((b.Len + b.CollarHeight) / 2.0 + 0.5));
    EXPECT_EQ(b.FLen, 0.0);
  }
  ASSERT_EQ(b.Set(2, Col(2, 1, 2) / 2.0, Col(2, 1, 7)), 1);
  EXPECT_EQ(b.GrooveLen, 0.0);
  EXPECT_EQ(b.FLen, Col(2, 1, 5));
  EXPECT_EQ(b.Code, 2001);
}

TEST_F(GuideTables, ThePillarTakesTheNextLongerGuideWhenNoneIsShorter)
{
  TSocketLeaderPin p(5, &Md, nullptr, nullptr);
  const double seat = Col(5, 1, 2), withCollar = Col(5, 1, 7);
  ASSERT_EQ(p.Set(5, seat / 2.0, withCollar, Col(5, 1, 8)), 1);
  EXPECT_EQ(p.OFLen, withCollar - Col(5, 1, 4));
  EXPECT_EQ(p.FRadius, 0.0) << "its owner's to fill";
  EXPECT_EQ(p.Key, 0.0);
  EXPECT_EQ(p.Set(5, seat / 2.0, withCollar, 1.0), 1) << "shorter than every guide";
  EXPECT_EQ(p.Set(4, seat / 2.0, withCollar, 1.0), 0);
}

// --- On the stand-in host ------------------------------------------------------------------------

class StandIn : public adaptertest::HostedModeller
{
protected:
  StandIn() : Docs(adaptertest::T(Dir.path()) + TString("/")) { stdtest::LoadShipped(); }
  // The kinds of the objects of a saved document.
  std::vector<int> TypesIn(const TString& file)
  {
    std::vector<int> types;
    txhost::Object* doc = H.OpenDocument(std::filesystem::path(file.Utf8Text()), false);
    if (!doc) return types;
    for (txhost::Object* o : H.ObjectsOf(*doc))
      types.push_back(txhost::model::TypeOf(*o));
    H.CloseDocument(*doc);
    return types;
  }
  stdtest::TMouldDocuments Docs;
};

class GuideStandIn : public ::testing::Test, public StandIn
{
};

TEST_F(GuideStandIn, EveryRowBuildsItsSheetAndPart)
{
  for (const TableCase& c : Tables)
    for (int r = 1; r < ABaseDetail.SocketCount(c.Table); ++r) {
      SCOPED_TRACE("table " + std::to_string(c.Table) + " row " + std::to_string(r));
      auto part = c.Make(&drApi::MA);
      ASSERT_EQ(c.Set(*part, r), r);
      part->dr2D();
      EXPECT_EQ(drApi::MA.R2D().Transf2D.AMtr.Count, 0);
      part->dr3D(0);
      EXPECT_EQ(drApi::MA.R2D().Transf2D.AMtr.Count, 0);
      const std::vector<int> types = TypesIn(Docs.LastPart);
      EXPECT_EQ(std::count(types.begin(), types.end(), int(txapi::o3d_bossRotated)), 1);
    }
  EXPECT_GT(Docs.Sheets, 0);
}

// The spring's part is counted in the host as the build left it: the stand-in cannot read back a
// document holding a sweep (its path is taken for the document's file path).
TEST_F(GuideStandIn, TheSpringIsOnePartOfThreeSweptSpirals)
{
  const TString file = adaptertest::T(Dir / "spring.tpt");
  TWiredSpring::dr3D_Spring(drApi::MA, file, 20.0, 2.0, 50.0, 5.0);
  ASSERT_TRUE(std::filesystem::exists(file.Utf8Text()));
  std::vector<const txhost::Object*> parts;
  std::vector<std::string> helices;
  int spirals = 0, sweeps = 0, cuts = 0, other = 0;
  for (const txhost::Object* o : H.Objects()) {
    switch (txhost::model::TypeOf(*o)) {
    case txapi::o3d_cylindricalSpiral:
      ++spirals;
      // Height, pitch, diameter and direction of each helix.
      helices.push_back(o->Prop("height").dump() + " " + o->Prop("step").dump() + " " +
                        o->Prop("diameter").dump() + " " + o->Prop("forward").dump());
      break;
    case txapi::o3d_bossEvolution:
      ++sweeps;
      break;
    case txapi::o3d_cutExtrusion:
      ++cuts;
      break;
    case txapi::o3d_bossRotated:
    case txapi::o3d_bossExtrusion:
      ++other;
      break;
    default:
      break;
    }
    if (o->Kind() == "part") parts.push_back(o);
  }
  ASSERT_EQ(parts.size(), 1u);
  EXPECT_EQ(parts[0]->Text("name"), L"Пружина-  20.00*   2.00");
  EXPECT_EQ(parts[0]->Text("marking"), L"Пружина");
  EXPECT_EQ(helices,
            (std::vector<std::string>{"48.0 5.0 18.0 true", "1.0 0.75 18.0 false", "1.0 0.75 18.0 true"}));
  EXPECT_EQ(spirals, 3);
  EXPECT_EQ(sweeps, 3);
  EXPECT_EQ(cuts, 1);
  EXPECT_EQ(other, 0);
}

} // namespace

namespace {
// The length along the axis that a recorded outline spans.
double AxialSpan(const TRecordingModeler& m)
{
  double lo = HUGE_VAL, hi = -HUGE_VAL;
  for (const auto& c : m.Calls)
    if (c.Op == "drLine" && c.A.size() >= 4)
      for (double x : {c.A[0], c.A[2]}) {
        lo = std::min(lo, x);
        hi = std::max(hi, x);
      }
  return hi - lo;
}
} // namespace

// Both roads to a pillar of a table row, its Set and the part built by its code, make one part:
// the code's seventh size holds the collar, which the seated length does not.
TEST_F(GuideTables, ThePillarBuiltByItsCodeIsTheOneItsSetDescribes)
{
  Md.LeafStampAnswer = Md.NewPartPlaneAnswer = true;
  for (int r = 1; r < ABaseDetail.SocketCount(5); ++r) {
    SCOPED_TRACE("row " + std::to_string(r));
    TSocketLeaderPin p(5, &Md, nullptr, nullptr);
    ASSERT_EQ(p.Set(5, Col(5, r, 2) / 2.0, Col(5, r, 7), Col(5, r, 8)), r);
    p.FRadius = Col(5, r, 2) / 2.0;
    Md.Reset();
    p.dr3D(0);
    const double bySet = AxialSpan(Md);
    TArrayOf<double> sizes;
    ASSERT_TRUE(ABaseDetail.Params(5, r, sizes));
    Md.Reset();
    ASSERT_TRUE(drBaseDetail(Md, TString("/p/"), TString("n"), TString("m"), 5, 0,
                             std::span<const double>(&sizes[0], std::size_t(sizes.Count)), false));
    EXPECT_NEAR(AxialSpan(Md), bySet, 1e-9);
  }
}
