// The sheets and models of the plugs, the guide plug and column and the washers on the recording
// modeller: where each view stands, which requirement texts close it, and a sweep of sound drawings.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "StdPartsSupport.h"

namespace {

using PlugSheets = stdtest::TPartsTest;

struct TSample
{
  std::string Name;
  std::function<std::unique_ptr<TDetail>(TModeler3D*)> Make;
  bool EmptyOutline = false; // the outline the part's class leaves empty
};

std::vector<TSample> Samples()
{
  return {
      {"sprue_plug",
       [](TModeler3D* M) {
         auto p = std::make_unique<TInjectPlug>(1, M, TConstruktor::Empty());
         p->SphereRadius = 15, p->TPARadius = 2.5, p->CollarRadius = 40, p->BFitRadius = 17, p->FitLen = 60,
         p->Len = 80, p->CollarHeight = 10, p->SphereLen = 4;
         return std::unique_ptr<TDetail>(std::move(p));
       }},
      {"ejector_plug",
       [](TModeler3D* M) {
         auto p = std::make_unique<TEjectorPlug>(2, M, TConstruktor::Empty());
         p->CollarRadius = 16, p->EC2Radius = 5, p->ECRadius = 4, p->Radius = 12, p->EC2Len = 20,
         p->ConeLen = 10, p->CollarHeight = 5, p->Len = 50;
         return std::unique_ptr<TDetail>(std::move(p));
       }},
      {"guide_plug",
       [](TModeler3D* M) {
         auto p = std::make_unique<TDirectPlug>(3, M, TConstruktor::Empty());
         p->ColumnRadius = 8, p->Radius = 12.5, p->CollarRadius = 15, p->OustingLen = 11, p->CollarHeight = 6,
         p->Len = 35;
         return std::unique_ptr<TDetail>(std::move(p));
       }},
      {"guide_column",
       [](TModeler3D* M) {
         auto p = std::make_unique<TDirectColumn>(4, M, TConstruktor::Empty());
         p->Radius = 12.5, p->Len = 100;
         return std::unique_ptr<TDetail>(std::move(p));
       },
       true},
      {"support_washer",
       [](TModeler3D* M) {
         auto p = std::make_unique<TSupportWasher>(5, M, nullptr);
         p->CollarHeight = 5, p->BoltHeadLen = 9, p->Len = 30, p->CollarRadius = 18, p->BoltHeadRadius = 9,
         p->BoltRadius = 5.5, p->Radius = 14;
         return std::unique_ptr<TDetail>(std::move(p));
       }},
      {"channel_washer",
       [](TModeler3D* M) {
         auto p = std::make_unique<TWasherEjectorChannel>(6, M, TConstruktor::Empty());
         p->Radius = 10, p->Height = 4;
         return std::unique_ptr<TDetail>(std::move(p));
       },
       true},
  };
}

TEST_F(PlugSheets, EverySheetAndModelIsSoundAndEveryModelOneRevolve)
{
  Md.LeafStampAnswer = Md.NewPartPlaneAnswer = true;
  for (const TSample& s : Samples()) {
    SCOPED_TRACE(s.Name);
    auto part = s.Make(&Md);
    Md.Reset();
    part->dr2D();
    EXPECT_TRUE(DrawingSound(Md));
    EXPECT_EQ(Md.Count("drLeafStampView1"), 1);
    EXPECT_EQ(Md.Count("drCloseViewTDemCloseLeaf"), 1);
    Md.Reset();
    part->dr3D(0);
    EXPECT_TRUE(DrawingSound(Md));
    EXPECT_EQ(Md.Count("drBaseRotate"), 1);
    EXPECT_EQ(Md.Count("drColor3D"), 1);
    EXPECT_EQ(Md.Count("drClose3D"), 1);
    ASSERT_EQ(Md.Sketches(), 1);
    EXPECT_EQ(Md.SketchProfile(0).empty(), s.EmptyOutline);
    EXPECT_EQ(Md.Count("drDimL") + Md.Count("drDimD") + Md.Count("drDimR"), 0) << "no sizes in a sketch";
  }
}

TEST_F(PlugSheets, WithoutOpenersOrModellerOnlyTheOpeningCallIsMade)
{
  for (const TSample& s : Samples()) {
    SCOPED_TRACE(s.Name);
    auto part = s.Make(&Md);
    Md.Reset();
    part->dr2D();
    for (const auto& c : Md.Calls)
      EXPECT_TRUE(c.Op == "drLeafStampView1" || c.Op == "drLeafStamp") << c.Op;
    Md.Reset();
    part->dr3D(0);
    ASSERT_EQ(Md.Calls.size(), 1u);
    EXPECT_EQ(Md.Calls[0].Op, "drCreate3DNewPartPlane");
    auto bare = s.Make(nullptr);
    bare->dr2D();
    bare->dr3D(0);
  }
}

// The first view's anchor and the requirement texts of one sheet.
struct TSheet
{
  std::vector<double> Anchor;
  std::vector<TString> Texts;
};

TSheet SheetOf(TRecordingModeler& Md, const TDetail& part)
{
  Md.Reset();
  Md.LeafStampAnswer = true;
  part.dr2D();
  TSheet s;
  const auto open = Md.Of("drLeafStampView1");
  const auto close = Md.Of("drCloseViewTDemCloseLeaf");
  if (open.size() == 1) s.Anchor = {open[0].A[2], open[0].A[3]};
  if (close.size() == 1) s.Texts = close[0].S;
  return s;
}

TEST_F(PlugSheets, ViewsStandWhereTheirSizesPutThem)
{
  TInjectPlug sprue(1, &Md, TConstruktor::Empty());
  sprue.Len = 80;
  for (double r : {25.0, 24.5}) {
    sprue.CollarRadius = r;
    EXPECT_EQ(SheetOf(Md, sprue).Anchor, (std::vector<double>{80, -45})) << r;
  }
  EXPECT_EQ(SheetOf(Md, sprue).Texts,
            (std::vector<TString>{TDemStr[6], TDemStr[3], TDemStr[36], TDemStr[37]}));

  TEjectorPlug ejector(2, &Md, TConstruktor::Empty());
  ejector.CollarRadius = 10;
  for (double len : {10.0, 500.0}) {
    ejector.Len = len;
    EXPECT_EQ(SheetOf(Md, ejector).Anchor, (std::vector<double>{25, -20}));
  }
  EXPECT_EQ(SheetOf(Md, ejector).Texts,
            (std::vector<TString>{TDemStr[6], TDemStr[3], TDemStr[37], TString()}));

  TDirectPlug plug(3, &Md, TConstruktor::Empty());
  plug.CollarRadius = 15, plug.OustingLen = 40, plug.Len = 60, plug.CollarHeight = 8, plug.Radius = 12,
  plug.ColumnRadius = 8;
  EXPECT_EQ(SheetOf(Md, plug).Anchor, (std::vector<double>{40, -15}));
  EXPECT_EQ(SheetOf(Md, plug).Texts, (std::vector<TString>{TDemStr[26], TDemStr[30], TString(), TString()}));

  TDirectColumn column(4, &Md, TConstruktor::Empty());
  column.Radius = 12.5, column.Len = 100;
  EXPECT_EQ(SheetOf(Md, column).Anchor, (std::vector<double>{0, -13}));
  EXPECT_EQ(SheetOf(Md, column).Texts, (std::vector<TString>{TDemStr[1], TDemStr[30], TString(), TString()}));

  TSupportWasher washer(5, &Md, nullptr);
  washer.Len = 30, washer.BoltHeadLen = 9;
  EXPECT_EQ(SheetOf(Md, washer).Anchor, (std::vector<double>{30, -18}));
  EXPECT_EQ(SheetOf(Md, washer).Texts, (std::vector<TString>{TDemStr[28], TString(), TString(), TString()}));

  TWasherEjectorChannel channel(6, &Md, TConstruktor::Empty());
  channel.Radius = 10;
  EXPECT_EQ(SheetOf(Md, channel).Anchor, (std::vector<double>{20, -30}));
  EXPECT_EQ(SheetOf(Md, channel).Texts, (std::vector<TString>{TDemStr[4], TString(), TString(), TString()}));
}

// The guide plug's profile reaches OustingLen - CollarHeight before the collar face and
// Len - OustingLen + CollarHeight past it: 32 and 28 for 40, 60 and 8.
TEST_F(PlugSheets, TheGuidePlugsModelSpansItsLengths)
{
  TDirectPlug plug(3, &Md, TConstruktor::Empty());
  plug.CollarRadius = 15, plug.OustingLen = 40, plug.Len = 60, plug.CollarHeight = 8, plug.Radius = 12,
  plug.ColumnRadius = 8;
  Md.NewPartPlaneAnswer = true;
  plug.dr3D(0);
  const auto box = TRecordingModeler::Box(Md.SketchProfile(0));
  ASSERT_FALSE(box.Empty);
  // The axis line runs 2 mm past the front and the back.
  EXPECT_NEAR(box.x1, -32.0 - 2.0, 1e-9);
  EXPECT_NEAR(box.x2, 28.0 + 2.0, 1e-9);
  EXPECT_NEAR(box.y2, 15.0, 1e-9);
}

} // namespace
