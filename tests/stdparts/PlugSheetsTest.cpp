// The sheets and models of the plugs, the guide plug and column and the washers on the recording
// modeller: where each view stands, which requirement texts close it, and a sweep of sound drawings.
#include <algorithm>
#include <cmath>
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
  int Sketches = 1;          // of its model
};

// A column tail with its five angles, and a shank to link a plate to.
struct TPlateLinks
{
  TPlateLinks()
  {
    Tail.PlaceRadius = 40, Tail.Radius = 8, Tail.Key = 12, Tail.Len = 60, Tail.ThreadLen = 20,
    Tail.ThreadRadius = 6, Tail.Count = 2;
    const double angles[5] = {10, 45, 135, 225, 315};
    std::copy(angles, angles + 5, Tail.Angle);
    Plug.ConeLen = 8;
  }
  TColumnTail Tail{7, nullptr, TConstruktor::Empty()};
  TEjectorPlug Plug{9, nullptr, TConstruktor::Empty()};
  TMTail Shank{8, nullptr, TConstruktor::Empty()};
};

TPlateLinks& Links()
{
  static TPlateLinks links;
  return links;
}

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
      {"retraction",
       [](TModeler3D* M) {
         auto p = std::make_unique<TReTraction>(7, M, TConstruktor::Empty());
         p->CollarRadius = 20, p->Radius = 10, p->Len = 50;
         return std::unique_ptr<TDetail>(std::move(p));
       },
       true},
      {"column_tail",
       [](TModeler3D* M) {
         auto p = std::make_unique<TColumnTail>(8, M, TConstruktor::Empty());
         p->Radius = 8, p->Key = 12, p->Len = 60, p->ThreadLen = 20, p->ThreadRadius = 6;
         return std::unique_ptr<TDetail>(std::move(p));
       },
       true, 2},
      {"circle_plane",
       [](TModeler3D* M) {
         auto p = std::make_unique<TCirclePlane>(9, M, TConstruktor::Empty(), &Links().Tail, &Links().Shank);
         p->Thickness = 15, p->Radius = 60, p->BoltRadius = 5.5, p->BoltHeadRadius = 9, p->BoltHeadLen = 9;
         return std::unique_ptr<TDetail>(std::move(p));
       },
       true, 9},
      {"protect_support",
       [](TModeler3D* M) {
         auto p = std::make_unique<TProtectSupport>(10, M, TConstruktor::Empty());
         p->ThreadLen = 20, p->Len = 60, p->ThreadRadius = 6, p->Radius = 12.5, p->Key = 18, p->LenToKey = 10;
         return std::unique_ptr<TDetail>(std::move(p));
       },
       false, 2},
      {"shank",
       [](TModeler3D* M) {
         auto p = std::make_unique<TMTail>(12, M, TConstruktor::Empty());
         p->Radius = 10, p->CollarRadius = 15, p->Len = 100, p->ThreadLen = 20, p->ThreadRadius = 8,
         p->ThreadStep = 1.5;
         // Its working values are its owner's to set.
         p->X90 = 12, p->X89 = 10, p->X88 = 6, p->R61 = 3, p->R97 = 4, p->R98 = 3, p->Y3 = 10, p->Y4 = 3;
         return std::unique_ptr<TDetail>(std::move(p));
       },
       false, 3},
      {"ejector_channel",
       [](TModeler3D* M) {
         auto p = std::make_unique<TEjectorChannel>(11, M, TConstruktor::Empty(), &Links().Plug);
         p->Radius = 4, p->Len = 100, p->SpringRadius = 8, p->SpringLen = 20, p->FitRadius = 4.2,
         p->FitLen = 30, p->CollarRadius = 10, p->CollarHeight = 5, p->GradeHeight = 0.5;
         return std::unique_ptr<TDetail>(std::move(p));
       },
       false, 2},
  };
}

std::unique_ptr<TBackEjector> BackEjector(TModeler3D* M)
{
  auto p = std::make_unique<TBackEjector>(12, M, TConstruktor::Empty(), 13);
  p->Radius = 4, p->Len = 100, p->FitRadius = 4, p->FitLen = 30, p->CollarRadius = 10, p->CollarHeight = 5;
  return p;
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
    // One view, opened with the sheet or, for a part drawn enlarged, after it.
    EXPECT_EQ(Md.Count("drView3"), 1);
    EXPECT_EQ(Md.Count("drCloseViewTDemCloseLeaf"), 1);
    Md.Reset();
    part->dr3D(0);
    EXPECT_TRUE(DrawingSound(Md));
    EXPECT_EQ(Md.Count("drBaseRotate"), 1);
    EXPECT_EQ(Md.Count("drColor3D"), 1);
    EXPECT_EQ(Md.Count("drClose3D"), 1);
    ASSERT_EQ(Md.Sketches(), s.Sketches);
    EXPECT_EQ(Md.SketchProfile(0).empty(), s.EmptyOutline);
    int axes = 0;
    for (const auto& c : Md.SketchProfile(0))
      axes += c.Kind == TRecordingModeler::TCurve::Line && c.Style == 3;
    EXPECT_EQ(axes, s.EmptyOutline ? 0 : 1) << "one axis under a revolved half";
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
  // The two-document parts try both documents and draw into neither.
  auto e = BackEjector(&Md);
  TLocatingRing ring(14, 15, &Md, nullptr, &Links().Tail);
  // Sound sizes: a ring that cannot be made is refused before either document is tried.
  ring.Thickness = 15, ring.Radius = ring.BaseRadius = 60, ring.InRadius = 18, ring.BaseThickness = 5;
  for (const TDetail* part : {static_cast<const TDetail*>(e.get()), static_cast<const TDetail*>(&ring)}) {
    Md.Reset();
    part->dr2D();
    e->dr2D_Opora();
    for (const auto& c : Md.Calls)
      EXPECT_TRUE(c.Op == "drLeafStampView1" || c.Op == "drLeafStamp") << c.Op;
    Md.Reset();
    part->dr3D(0);
    EXPECT_EQ(Md.Ops(), "drCreate3DNewPartPlane drCreate3DNewPartPlane");
  }
}

// The first view's anchor (in the part's millimetres), the scale the part is drawn at and the
// requirement texts of one sheet.
struct TSheet
{
  std::vector<double> Anchor;
  std::vector<TString> Texts;
  double Scale = 1;
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
  // A part drawn enlarged or reduced: the view at its anchor on the sheet, the part placed in it at scale.
  const auto view = Md.Of("drView3"), placed = Md.Of("drMtr");
  if (open.empty() && view.size() == 1 && !placed.empty() && placed[0].A[3] > 0) {
    s.Scale = placed[0].A[3];
    s.Anchor = {view[0].A[1] / s.Scale, view[0].A[2] / s.Scale};
  }
  if (close.size() == 1) s.Texts = close[0].S;
  return s;
}

// The scale on the sheet of every text the last sheet wrote, by its text: the scales of the placements
// it was written in multiplied.
std::vector<std::pair<std::string, double>> TextScales(const TRecordingModeler& Md)
{
  std::vector<std::pair<std::string, double>> texts;
  std::vector<double> scales;
  for (const auto& c : Md.Calls) {
    if (c.Op == "drMtr") scales.push_back((scales.empty() ? 1.0 : scales.back()) * c.A[3]);
    if (c.Op == "drDeleteMtr" && !scales.empty()) scales.pop_back();
    if (c.Op == "drText" && !c.S.empty())
      texts.emplace_back(c.S[0].Utf8Text(), (scales.empty() ? 1.0 : scales.back()));
  }
  return texts;
}

// Where the last sheet put its enlarged detail view (the only view drawn at scale 4).
std::vector<double> DetailAt(const TRecordingModeler& Md)
{
  std::vector<double> at;
  for (const auto& c : Md.Of("drMtr"))
    if (c.A[3] == 4.0) at.insert(at.end(), {c.A[0], c.A[1]});
  return at;
}

TEST_F(PlugSheets, ViewsStandWhereTheirSizesPutThem)
{
  TInjectPlug sprue(1, &Md, TConstruktor::Empty());
  sprue.Len = 80;
  sprue.SphereRadius = 15, sprue.TPARadius = 2.5, sprue.BFitRadius = 17, sprue.FitLen = 60,
  sprue.CollarHeight = 10, sprue.SphereLen = 4;
  for (double r : {25.0, 24.5}) {
    sprue.CollarRadius = r;
    EXPECT_EQ(SheetOf(Md, sprue).Anchor, (std::vector<double>{80, -45})) << r;
  }
  // The sprue's rounding marked "*" has its requirement.
  EXPECT_EQ(SheetOf(Md, sprue).Texts,
            (std::vector<TString>{TDemStr[6], TDemStr[3], TDemStr[36], TDemStr[37]}));

  TEjectorPlug ejector(2, &Md, TConstruktor::Empty());
  ejector.CollarRadius = 10;
  ejector.Radius = 8, ejector.ConeLen = 2, ejector.CollarHeight = 3, ejector.ECRadius = 3,
  ejector.EC2Radius = 4, ejector.EC2Len = 4;
  // A plug too short for its diameters between the groove and the seat is drawn enlarged, its view as
  // far from the sheet's corner in the part's millimetres, its collar's rim 10 under the sheet's anchor;
  // one too long for the sheet enlarged is not, its view its collar's diameter under the anchor.
  for (double len : {10.0, 500.0}) {
    ejector.Len = len;
    EXPECT_EQ(SheetOf(Md, ejector).Anchor, (std::vector<double>{25, len == 10.0 ? -12.0 : -20.0})) << len;
    EXPECT_EQ(SheetOf(Md, ejector).Scale, len == 10.0 ? 5.0 : 1.0) << len;
    // The groove's detail stands at its own scale on the sheet, as its title says, whatever the part's.
    const auto texts = TextScales(Md);
    const auto title = std::find_if(texts.begin(), texts.end(), [](const auto& t) { return t.first == "А(4:1)"; });
    ASSERT_NE(title, texts.end()) << len;
    EXPECT_DOUBLE_EQ(title->second, 4.0) << len;
  }
  EXPECT_EQ(SheetOf(Md, ejector).Texts,
            (std::vector<TString>{TDemStr[6], TDemStr[3], TDemStr[37], TString()}));

  TDirectPlug plug(3, &Md, TConstruktor::Empty());
  plug.CollarRadius = 15, plug.OustingLen = 40, plug.Len = 60, plug.CollarHeight = 8, plug.Radius = 12,
  plug.ColumnRadius = 8;
  EXPECT_EQ(SheetOf(Md, plug).Anchor, (std::vector<double>{40, -15}));
  EXPECT_EQ(SheetOf(Md, plug).Texts, (std::vector<TString>{TDemStr[26], TDemStr[30], TString(), TString()}));
  EXPECT_EQ(DetailAt(Md), (std::vector<double>{0, -100}));

  TDirectColumn column(4, &Md, TConstruktor::Empty());
  column.Radius = 12.5, column.Len = 100;
  EXPECT_EQ(SheetOf(Md, column).Anchor, (std::vector<double>{0, -13}));
  EXPECT_EQ(SheetOf(Md, column).Texts,
            (std::vector<TString>{stdtest::Alone(TDemStr[30]), TString(), TString(), TString()}));
  EXPECT_TRUE(DetailAt(Md).empty()) << "no outline, no groove to detail";

  TSupportWasher washer(5, &Md, nullptr);
  washer.Len = 30, washer.BoltHeadLen = 9;
  washer.CollarHeight = 5, washer.CollarRadius = 18, washer.BoltHeadRadius = 9, washer.BoltRadius = 5.5,
  washer.Radius = 14;
  EXPECT_EQ(SheetOf(Md, washer).Anchor, (std::vector<double>{30, -18}));
  EXPECT_EQ(SheetOf(Md, washer).Texts,
            (std::vector<TString>{stdtest::Alone(TDemStr[28]), TString(), TString(), TString()}));

  TWasherEjectorChannel channel(6, &Md, TConstruktor::Empty());
  channel.Radius = 10;
  EXPECT_EQ(SheetOf(Md, channel).Anchor, (std::vector<double>{20, -30}));
  EXPECT_EQ(SheetOf(Md, channel).Texts,
            (std::vector<TString>{stdtest::Alone(TDemStr[4]), TString(), TString(), TString()}));
}

// The calls after the first one named from (all calls for ""), up to the next one named to, each
// as one comparable line.
std::vector<std::string> After(const TRecordingModeler& Md, const std::string& from,
                               const std::string& to = "")
{
  std::vector<std::string> t;
  bool in = from.empty();
  for (const auto& c : Md.Calls) {
    if (in && c.Op == to) break;
    if (in) t.push_back(stdtest::Line(c));
    in = in || c.Op == from;
  }
  return t;
}

// The sheet's first view and the model's sketch hold the part's profile with its sizes in the
// order the profile takes them (the ejector plug's seat 0.1 wider than its channel; the guide
// plug's lengths before and past the collar and overall); the profiles are called directly here.
TEST_F(PlugSheets, SheetAndModelDrawTheProfileWithThePartsSizes)
{
  Md.LeafStampAnswer = Md.NewPartPlaneAnswer = true;
  const auto check = [this](const TDetail& part, const std::function<void(int, bool)>& profile) {
    Md.Reset();
    profile(1, true);
    const std::vector<std::string> view = After(Md, "");
    Md.Reset();
    profile(0, false);
    const std::vector<std::string> sketch = After(Md, "");
    Md.Reset();
    part.dr2D();
    std::vector<std::string> sheet = After(Md, "drView"); // the opening's last call
    ASSERT_GE(sheet.size(), view.size());
    sheet.resize(view.size());
    EXPECT_EQ(sheet, view);
    Md.Reset();
    part.dr3D(0);
    EXPECT_EQ(After(Md, "drCreate3DNewPartPlane", "drBaseRotate"), sketch);
  };
  TEjectorPlug ejector(2, &Md, TConstruktor::Empty());
  ejector.CollarRadius = 16, ejector.EC2Radius = 5, ejector.ECRadius = 4, ejector.Radius = 12,
  ejector.EC2Len = 20, ejector.ConeLen = 10, ejector.CollarHeight = 5, ejector.Len = 50;
  check(ejector, [&](int tl, bool isSize) {
    ejector.dr2D_V1(0, 0, 0, 1, 16, 5, 4, 4.1, 12, 20, 10, 5, 50, tl, isSize);
  });
  TDirectPlug plug(3, &Md, TConstruktor::Empty());
  plug.CollarRadius = 15, plug.OustingLen = 40, plug.Len = 60, plug.CollarHeight = 8, plug.Radius = 12,
  plug.ColumnRadius = 8;
  check(plug, [&](int tl, bool isSize) {
    plug.dr2D_LeaderPinBushing_V1(0, 0, 0, 1, 8, 12, 15, 32, 8, 28, 100, tl, isSize, 0.0);
  });
  TInjectPlug sprue(1, &Md, TConstruktor::Empty());
  sprue.SphereRadius = 15, sprue.TPARadius = 2.5, sprue.CollarRadius = 40, sprue.BFitRadius = 17,
  sprue.FitLen = 60, sprue.Len = 80, sprue.CollarHeight = 10, sprue.SphereLen = 4;
  check(sprue, [&](int tl, bool isSize) {
    sprue.dr2D_V1(0, 0, 0, 1, 15, 2.5, 40, 17, 60, 80, 10, 4, tl, isSize, 3.0);
  });
  TSupportWasher washer(5, &Md, nullptr);
  washer.CollarHeight = 5, washer.BoltHeadLen = 9, washer.Len = 30, washer.CollarRadius = 18,
  washer.BoltHeadRadius = 9, washer.BoltRadius = 5.5, washer.Radius = 14;
  // Without sizes on its sheet as in its model.
  check(washer,
        [&](int tl, bool) { washer.dr2D_ShajbaOporna_V1(0, 0, 0, 1, 5, 9, 30, 18, 9, 5.5, 14, tl, false); });
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

TEST_F(PlugSheets, TheColumnTailCutsFlatsOnlyWhereItsKeyIsNarrower)
{
  TColumnTail tail(8, &Md, TConstruktor::Empty());
  tail.Radius = 8, tail.Key = 16, tail.Len = 60, tail.ThreadLen = 20, tail.ThreadRadius = 6;
  Md.NewPartPlaneAnswer = true;
  tail.dr3D(0);
  EXPECT_EQ(Md.Count("drPlaneEskis") + Md.Count("drCutExtrusion") + Md.Count("drRectAngle"), 0);
  EXPECT_EQ(Md.Count("drColor3D"), 1);
  EXPECT_EQ(Md.Count("drClose3D"), 1);
  EXPECT_EQ(SheetOf(Md, tail).Anchor, (std::vector<double>{25, -48}));
  EXPECT_EQ(SheetOf(Md, tail).Texts,
            (std::vector<TString>{stdtest::Alone(TDemStr[30]), TString(), TString(), TString()}));
  EXPECT_TRUE(DetailAt(Md).empty()) << "no outline, no groove to detail";
  tail.Key = 12;
  Md.Reset();
  tail.dr3D(0);
  const auto rects = Md.Of("drRectAngle");
  ASSERT_EQ(rects.size(), 2u);
  EXPECT_EQ(rects[0].A, (std::vector<double>{6, -8, 8, 8, 1}));
  EXPECT_EQ(rects[1].A, (std::vector<double>{-6, -8, -8, 8, 1}));
  EXPECT_EQ(Md.Of("drCutExtrusion")[0].A, (std::vector<double>{1, 0, 15, 0}));
}

TEST_F(PlugSheets, TheCirclePlateBoresAtTheTailsSecondToFifthAnglesAndNeedsBothLinks)
{
  TCirclePlane plate(9, &Md, TConstruktor::Empty(), &Links().Tail, &Links().Shank);
  plate.Thickness = 15, plate.BoltRadius = 5.5, plate.BoltHeadRadius = 9, plate.BoltHeadLen = 9,
  plate.Radius = 60;
  Md.NewPartPlaneAnswer = true;
  plate.dr3D(0);
  std::vector<std::pair<double, double>> bolts;
  for (const auto& c : Md.Of("drCircle"))
    if (c.A[2] == 5.5) bolts.emplace_back(c.A[0], c.A[1]);
  ASSERT_EQ(bolts.size(), 4u);
  for (int i = 0; i < 4; ++i) {
    const double a = Links().Tail.Angle[i + 1] * M_PI / 180.0;
    EXPECT_NEAR(bolts[std::size_t(i)].first, 40 * std::cos(a), 1e-9);
    EXPECT_NEAR(bolts[std::size_t(i)].second, 40 * std::sin(a), 1e-9);
  }
  EXPECT_EQ(Md.Count("drMacro3D"), 4);
  // Each a counterbore: the head's 9 deep, then the bolt's through the rest of the plate.
  std::vector<double> radii, depths;
  for (const auto& c : Md.Of("drCircle"))
    radii.push_back(c.A[2]);
  for (const auto& c : Md.Of("drCutExtrusion"))
    depths.push_back(c.A[2]);
  EXPECT_EQ(radii, (std::vector<double>{9, 5.5, 9, 5.5, 9, 5.5, 9, 5.5}));
  EXPECT_EQ(depths, (std::vector<double>{9, 6, 9, 6, 9, 6, 9, 6}));
  EXPECT_EQ(SheetOf(Md, plate).Anchor, (std::vector<double>{-10, -60}));
  // A missing link, or one of another class, opens nothing.
  TReTraction stranger(1, nullptr, TConstruktor::Empty());
  for (const auto& [tail, shank] :
       std::vector<std::pair<const TDetail*, const TDetail*>>{{nullptr, &Links().Shank},
                                                              {&Links().Tail, nullptr},
                                                              {&stranger, &Links().Shank},
                                                              {&Links().Tail, &stranger}}) {
    TCirclePlane lone(9, &Md, TConstruktor::Empty(), tail, shank);
    Md.Reset();
    Md.LeafStampAnswer = true;
    lone.dr2D();
    lone.dr3D(0);
    EXPECT_TRUE(Md.Calls.empty());
  }
}

TEST_F(PlugSheets, TheProtectSupportStandsByItsRoundedRadiusAndCutsItsFlatsOnPlaneTwo)
{
  TProtectSupport support(10, &Md, TConstruktor::Empty());
  support.ThreadLen = 20, support.Len = 60, support.ThreadRadius = 6, support.Key = 18, support.LenToKey = 10;
  for (const auto& [radius, y] : std::vector<std::pair<double, double>>{{12.5, -13}, {12.4, -12}}) {
    support.Radius = radius;
    const TSheet sheet = SheetOf(Md, support);
    EXPECT_EQ(sheet.Anchor, (std::vector<double>{40, y}));
    EXPECT_EQ(sheet.Texts, std::vector<TString>(4));
  }
  Md.Reset();
  Md.NewPartPlaneAnswer = true;
  support.dr3D(0);
  const auto planes = Md.Of("drPlaneEskis");
  ASSERT_EQ(planes.size(), 1u);
  EXPECT_EQ(planes[0].A[0], txapi::o3d_planeXOZ);
  EXPECT_EQ(planes[0].A[1], 12.4);
  const auto cut = Md.Of("drCutExtrusion");
  ASSERT_EQ(cut.size(), 1u);
  EXPECT_EQ(cut[0].A, (std::vector<double>{1, 0, 24.8, 0}));
}

TEST_F(PlugSheets, TheChannelNeedsItsPlugAndCutsAWedgeOnlyForAPositiveGrade)
{
  TEjectorChannel lone(11, &Md, TConstruktor::Empty(), nullptr);
  Md.LeafStampAnswer = Md.NewPartPlaneAnswer = true;
  lone.dr2D();
  lone.dr3D(0);
  EXPECT_TRUE(Md.Calls.empty());

  TEjectorChannel channel(11, &Md, TConstruktor::Empty(), &Links().Plug);
  channel.Radius = 4, channel.Len = 100, channel.SpringRadius = 8, channel.SpringLen = 20,
  channel.FitRadius = 4, channel.FitLen = 30, channel.CollarRadius = 10, channel.CollarHeight = 5;
  for (double grade : {0.0, -1.0}) {
    channel.GradeHeight = grade;
    Md.Reset();
    channel.dr3D(0);
    EXPECT_EQ(Md.Sketches(), 1);
    EXPECT_EQ(Md.Count("drCutExtrusion"), 0);
  }
  channel.GradeHeight = 0.5;
  Md.Reset();
  channel.dr3D(0);
  ASSERT_EQ(Md.Sketches(), 2);
  // The wedge: full depth at Len - ConeLen, running out at the end face.
  stdtest::ExpectCorners(stdtest::Corners(Md.SketchProfile(1)), {{92, -4}, {92, -3.5}, {100, -4}});
  EXPECT_EQ(Md.Of("drCutExtrusion")[0].A, (std::vector<double>{1, 0, 8, 0}));
  EXPECT_EQ(SheetOf(Md, channel).Anchor, (std::vector<double>{-5, -5}));
  EXPECT_EQ(SheetOf(Md, channel).Texts,
            (std::vector<TString>{TDemStr[35], TDemStr[3], TDemStr[39], TString()}));
}

TEST_F(PlugSheets, TheBackEjectorMakesItsSupportEvenWhenItsOwnPartFails)
{
  auto e = BackEjector(&Md);
  e->dr3D(0);
  const auto opened = Md.Of("drCreate3DNewPartPlane");
  ASSERT_EQ(opened.size(), 2u);
  EXPECT_EQ(opened[0].A[0], 12);
  EXPECT_EQ(opened[1].A[0], 13);
  Md.Reset();
  Md.NewPartPlaneAnswer = true;
  e->dr3D(0);
  EXPECT_TRUE(DrawingSound(Md));
  EXPECT_EQ(Md.Count("drBaseRotate"), 2);
  EXPECT_EQ(Md.Count("drClose3D"), 2);
  ASSERT_EQ(Md.Sketches(), 2);
  EXPECT_FALSE(Md.SketchProfile(0).empty());
  EXPECT_TRUE(Md.SketchProfile(1).empty()) << "the support's outline is left empty";
  Md.Reset();
  Md.LeafStampAnswer = true;
  e->dr2D();
  EXPECT_TRUE(DrawingSound(Md));
  EXPECT_EQ(Md.Count("drDimL") + Md.Count("drDimD") + Md.Count("drDimR"), 0);
  EXPECT_EQ(Md.Of("drLeafStampView1")[0].A, (std::vector<double>{12, 0, 80, -10, 1}));
  Md.Reset();
  e->dr2D_Opora();
  EXPECT_TRUE(DrawingSound(Md));
  EXPECT_EQ(Md.Of("drLeafStampView1")[0].A, (std::vector<double>{13, 0, 0, -4, 1}));
}

} // namespace
