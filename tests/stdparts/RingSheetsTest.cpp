// The locating ring's sheets and parts on the recording modeller: the plan view's holes and
// dimensions by designation, the contours of its parts, and sound drawings throughout.
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "StdPartsSupport.h"
#include "tests/core/TextBaseTestUtil.h"

namespace {

class RingSheets : public stdtest::TPartsTest
{
protected:
  RingSheets()
  {
    Tail.PlaceRadius = 30, Tail.Radius = 5;
    const double angles[5] = {0, 45, -45, 90, 200};
    std::copy(angles, angles + 5, Tail.Angle);
    Ring.Thickness = 15, Ring.Radius = 50, Ring.BaseRadius = 50, Ring.BaseThickness = 0, Ring.InRadius = 18,
    Ring.FixRadius = 42, Ring.PinRadius = 3, Ring.PinAngle = 30, Ring.FixBoltRadius = 3,
    Ring.FixBoltHeadRadius = 5.5, Ring.FixBoltHeadLen = 6, Ring.CountFix = 4;
    const double fix[5] = {0, 90, 180, 270, 0};
    std::copy(fix, fix + 5, Ring.FixAngle);
  }
  // The dimension calls of one plan view.
  std::vector<TRecordingModeler::TCall> Plan(int det, bool isSize = true)
  {
    Md.Reset();
    Ring.dr2D_V2(0, 0, 0, 1, det, 1, isSize);
    std::vector<TRecordingModeler::TCall> dims;
    for (const auto& c : Md.Calls)
      if (c.Op == "drDimApc" || c.Op == "drDimD" || c.Op == "drRough") dims.push_back(c);
    return dims;
  }
  TColumnTail Tail{7, nullptr, TConstruktor::Empty()};
  TLocatingRing Ring{1, 2, &Md, nullptr, &Tail};
};

TEST_F(RingSheets, BothSheetsAndBothPartsAreSound)
{
  Md.LeafStampAnswer = Md.NewPartPlaneAnswer = true;
  for (double base : {0.0, 5.0}) {
    Ring.BaseThickness = base;
    Md.Reset();
    Ring.dr2D();
    EXPECT_TRUE(DrawingSound(Md));
    EXPECT_EQ(Md.Count("drLeafStampView1"), 2);
    const auto close = Md.Of("drCloseViewTDemCloseLeaf");
    ASSERT_EQ(close.size(), 2u);
    EXPECT_EQ(close[0].S,
              (std::vector<TString>{stdtest::Alone(TDemStr[29]), TString(), TString(), TString()}));
    EXPECT_EQ(close[1].S,
              (std::vector<TString>{stdtest::Alone(TDemStr[29]), TString(), TString(), TString()}));
    Md.Reset();
    Ring.dr3D(0);
    EXPECT_TRUE(DrawingSound(Md));
    EXPECT_EQ(Md.Count("drBaseRotate"), 2);
    EXPECT_EQ(Md.Count("drCutExtrusion"), 4);
    // Both parts' recesses are sketched on the plane at -Thickness, cut into the ring.
    const auto planes = Md.Of("drPlaneEskis");
    ASSERT_EQ(planes.size(), 4u);
    EXPECT_EQ(planes[1].A[1], -15.0);
    EXPECT_EQ(planes[3].A[1], -15.0);
  }
}

// A base as wide as the ring gives the section a straight bore; a shoulder of another radius opens
// it at 45 degrees from one millimetre in, with its angle dimensioned where the cone leaves the far
// face on the sheet of the part with the bore, and the model's bore opens where the sheet's does.
TEST_F(RingSheets, TheBaseRadiusSwitchesTheBoresEntry)
{
  // The angles about a point of the far face x = 15 (the lead-in's stands 3 in from it).
  const auto entry = [this] {
    std::vector<std::vector<double>> angles;
    for (const auto& c : Md.Of("drDimApc"))
      if (c.A[4] == 15.0) angles.push_back(c.A);
    return angles;
  };
  // Where the bore reaches the far face, in the model's sketch.
  const auto boreEnd = [this]() -> double {
    for (const auto& c : Md.SketchProfile(0))
      if (c.Kind == TRecordingModeler::TCurve::Line && c.y1 == 18.0 && c.x2 == 15.0) return c.y2;
    return std::nan("");
  };
  Md.LeafStampAnswer = Md.NewPartPlaneAnswer = true;
  Ring.dr2D();
  EXPECT_TRUE(entry().empty());
  Md.Reset();
  Ring.dr3D(0);
  EXPECT_NEAR(boreEnd(), 18.0, 1e-9);
  Ring.BaseRadius = 37, Ring.BaseThickness = 5;
  Md.Reset();
  Ring.dr2D();
  // Between the face and the cone, its arc three quarters of the cone's length (14 across, 14 deep) out.
  const auto entered = entry();
  ASSERT_EQ(entered.size(), 1u);
  const std::vector<double> asked{45, 90, 0.75 * 14 * std::sqrt(2.0), 0, 15, 32};
  for (std::size_t i = 0; i < asked.size(); ++i)
    EXPECT_NEAR(entered[0][i], asked[i], 1e-9) << i;
  Md.Reset();
  Ring.dr3D(0);
  EXPECT_NEAR(boreEnd(), 18.0 + 14.0, 1e-9);
}

TEST_F(RingSheets, ThePinsAndTheirDimensionsOnlyForAZeroBase)
{
  auto dims = Plan(1);
  // The bore's sheet: pin angle, pin diameter, roughness, bolt circle with the fine tolerance.
  ASSERT_EQ(dims.size(), 4u);
  EXPECT_EQ(dims[0].A, (std::vector<double>{-30, 0, 60, 42, 0, 0}));
  EXPECT_EQ(dims.back().S[3], TString("&03~0,01"));
  Ring.PinAngle = Tail.Angle[1];
  EXPECT_EQ(Plan(1).size(), 3u) << "no pin angle where the column tail's hole already is";
  Ring.BaseThickness = 0.5;
  dims = Plan(1);
  ASSERT_EQ(dims.size(), 1u);
  EXPECT_EQ(dims[0].S[3], TString("&03~0,1"));
  EXPECT_TRUE(Plan(1, false).empty());
}

TEST_F(RingSheets, TheSecondSheetShowsTheColumnTailsHolesAndTheirAngles)
{
  Ring.BaseThickness = 1;
  const auto dims = Plan(2);
  std::vector<std::vector<double>> angles;
  for (const auto& c : dims)
    if (c.Op == "drDimApc") angles.push_back({c.A[0], c.A[1]});
  // 45 from 90, -45 measured from 0 as 45, nothing to measure for 90, 200 from 270.
  EXPECT_EQ(angles, (std::vector<std::vector<double>>{{45, 90}, {45, 0}, {0, 90}, {70, 270}}));
  int holes = 0;
  for (const auto& c : Md.Of("drCircle"))
    holes += c.A[2] == 5.5 && c.A[3] == 1;
  EXPECT_EQ(holes, 4) << "the column tail's, apart from the bolts' head recesses in style 4";
  // Without a column tail nothing at all.
  TLocatingRing lone(1, 2, &Md, nullptr, nullptr);
  Md.Reset();
  lone.dr2D_V2(0, 0, 0, 1, 2, 1, true);
  lone.dr2D_Vo(0, 0, 0, 1, 2, 2);
  EXPECT_TRUE(Md.Calls.empty());
}

TEST_F(RingSheets, TheBodysContourAndTheContoursOutOfRange)
{
  Md.Reset();
  Ring.dr2D_Vo(0, 0, 0, 1, 2, 1);
  const auto box = TRecordingModeler::Box(TRecordingModeler::Outline(Md.Drawn()));
  EXPECT_EQ(std::vector<double>({box.x1, box.y1, box.x2, box.y2}), std::vector<double>({0, 0, 15, 50}));
  // The bore's part: its section, a 0.5 chamfer at the face x = 0, a bevel 3 long at 30 degrees at
  // the other.
  Md.Reset();
  Ring.dr2D_Vo(0, 0, 0, 1, 1, 1);
  const std::vector<std::pair<double, double>> expected = {{0, 18},  {0, 49.5}, {0.5, 50},
                                                           {12, 50}, {15, 18},  {15, 50 - std::sqrt(3.0)}};
  stdtest::ExpectCorners(stdtest::Corners(TRecordingModeler::Outline(Md.Drawn())), expected);
  for (int n : {0, 4}) {
    Md.Reset();
    Ring.dr2D_Vo(0, 0, 0, 1, 1, n);
    ASSERT_EQ(Md.Calls.size(), 2u);
    EXPECT_EQ(Md.Calls[0].Op, "drMtr");
    EXPECT_EQ(Md.Calls[1].Op, "drDeleteMtr");
  }
}

// A stream may claim any count; only the five angles held are drawn, and sizes beyond an int
// reach the modeller's whole-number places saturated.
TEST_F(RingSheets, ClaimedCountsAreClampedAndHugeSizesSaturate)
{
  for (const auto& [count, holes] : std::vector<std::pair<int, int>>{{1000, 5}, {-3, 0}, {5, 5}}) {
    Ring.CountFix = count;
    Md.Reset();
    Ring.dr2D_Vo(0, 0, 0, 1, 1, 3);
    EXPECT_EQ(Md.Count("drCircle"), holes) << count;
    Md.Reset();
    Ring.dr2D_V2(0, 0, 0, 1, 1, 1, false);
    int heads = 0;
    for (const auto& c : Md.Of("drCircle"))
      heads += c.A[3] == 4 && c.A[2] == Ring.FixBoltHeadRadius;
    EXPECT_EQ(heads, holes) << count;
  }
  Ring.Radius = 1e300;
  Md.Reset();
  Ring.dr2D_V2(0, 0, 0, 1, 2, 1, true);
  EXPECT_TRUE(Md.Balanced());
  // A sprue bush whose collar is not a number or far below nothing opens no sheet: its sizes are refused.
  TInjectPlug sprue(1, &Md, TConstruktor::Empty());
  for (const double r : {std::nan(""), -1e300}) {
    sprue.CollarRadius = r;
    Md.Reset();
    tbtest::TMessageLog log;
    sprue.dr2D();
    EXPECT_TRUE(Md.Of("drLeafStampView1").empty()) << r;
    EXPECT_EQ(log.Count("Недопустимые размеры: втулка литниковая: "), 1) << r;
  }
}

} // namespace
