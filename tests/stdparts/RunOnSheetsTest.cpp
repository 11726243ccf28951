// Values that do not fit between their arrows: the sheet layout slides them past an end, and the line
// run on under the value must not cross another dimension's extension line or line; a hollow part's
// diameters sized across its section where each is, as the ejector plug's sheet asks them.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "../adapter/AdapterSupport.h"
#include "AskedLength.h"
#include "MouldSheetLayout.h"
#include "SheetLinesCheck.h"
#include "StdPartsSupport.h"
#include "hxcadkit/adapter/drModelerAPI.h"

namespace {

using TLayout = drApi::TSheetLayout;

using stdtest::AskLength;
using stdtest::TAskedLength;

// Whether the vertical run-on from y = from to y = to at x crosses the horizontal extension line at y
// running from the face to 2 past its dimension's line.
bool Across(double x, double from, double to, double y, double face, double line)
{
  return y > std::min(from, to) + 0.2 && y < std::max(from, to) - 0.2 && x > face + 0.2 && x < line + 2 - 0.2;
}

// A short length nested in a longer one from the same face, its value asked past the end where the
// longer one's extension line stands 1 mm beyond its arrow: the value itself clears that line, its run-on
// does not. The other end is clear, so the value goes there, whichever end is asked first, and the line
// stays by its feature.
TEST(RunOnSheets, AValueSlidPastAnEndTakesTheSideWhereItsRunOnCrossesNoExtensionLine)
{
  for (const int side : {1, -1})
    for (const bool mirrored : {false, true}) {
      TLayout layout;
      layout.Begin(420, 297, 0, 0, 0, 1);
      const double face = 160;
      for (const auto& g : std::vector<std::array<double, 4>>{
               {100, 100, face, 100}, {face, 100, face, 200}, {face, 200, 100, 200}, {100, 200, 100, 100}})
        layout.Outline(g[0], g[1], g[2], g[3]);
      // Mirrored about y = 150 the crowded end is the lower one.
      const auto y = [&](double v) { return mirrored ? 2 * 150 - v : v; };
      TAskedLength longer{y(100), y(125), 185, 0, 6}, shorter{y(120), y(124), 170, side, 5};
      AskLength(layout, longer, face);
      AskLength(layout, shorter, face);
      layout.Settle();
      SCOPED_TRACE(testing::Message() << "asked side " << side << (mirrored ? ", mirrored" : ""));
      // Still by its feature, inside the longer one.
      EXPECT_LT(shorter.Line, longer.Line);
      ASSERT_NE(shorter.Slide, 0) << "a value 10.5 long between arrows 4 apart";
      // The value's length (5 characters 0.6 of 3.5 high) past the end it went to, 1.5 off the arrow.
      const double from = shorter.Slide > 0 ? std::max(y(120), y(124)) : std::min(y(120), y(124));
      const double to = from + (shorter.Slide > 0 ? 1 : -1) * (1.5 + 5 * 0.6 * 3.5);
      for (const double e : {y(100), y(125)})
        EXPECT_FALSE(Across(shorter.Line, from, to, e, face, longer.Line))
            << "its run-on from " << from << " to " << to << " crosses the extension line at " << e;
    }
}

} // namespace

// A hollow part's section: two halves about a bore, each a closed outline, a diameter of the bore asked
// across it from wall to wall. It stays where it was asked, at its feature, its value beyond the wall.
TEST(RunOnSheets, ADiameterAskedAcrossAHollowSectionStaysThereItsValueBeyondTheWall)
{
  for (const int side : {1, -1}) {
    TLayout layout;
    layout.Begin(420, 297, 0, 0, 0, 1);
    stdtest::HollowSection(layout);
    TAskedLength bore{146, 154, 130.5, side, 4};
    AskLength(layout, bore, 130);
    layout.Settle();
    SCOPED_TRACE(testing::Message() << "asked side " << side);
    EXPECT_NEAR(bore.Line, 130.5, 1) << "carried off its feature";
    // The value (4 characters) lies wholly past the wall on the side asked.
    const double value = 4 * 0.6 * 3.5;
    if (side > 0)
      EXPECT_GE(150 + bore.Slide - value / 2, 170);
    else
      EXPECT_LE(150 + bore.Slide + value / 2, 130);
  }
}

class RunOnPartSheets : public ::testing::Test, public adaptertest::HostedModeller
{
protected:
  RunOnPartSheets() { stdtest::LoadShipped(); }
};

// The ejector plug had its bore's, counterbore's and seat's diameters nested at the ends, each inner
// value run on across the next one's extension lines, and the bore's and seat's sizes 41 to 61 mm off
// past the hollow or the seat's angle. Each diameter now stands across the section at its feature.
TEST_F(RunOnPartSheets, TheEjectorPlugsDiametersStandAtTheirFeatures)
{
  namespace sl = stdtest::sheetlines;
  for (const int s : {1, 2, 4}) {
    SCOPED_TRACE(testing::Message() << "sizes x" << s / 2.0);
    const txhost::SvgLayout layout = stdtest::MouldSheetLayout(H, Dir.path(), "ejector_plug", s);
    ASSERT_FALSE(layout.Lines.empty());
    for (const std::string& fault : sl::DimensionsOutOfReach(layout))
      ADD_FAILURE() << fault;
    if (s == 1) continue;
    // No diameter's line (the vertical ones of the section) runs across another's line or extension line.
    for (const std::string& fault : sl::DimensionLinesCrossing(layout)) {
      double x1, y1, x2, y2;
      if (std::sscanf(fault.c_str(), "a dimension's line from (%lf, %lf) to (%lf, %lf)", &x1, &y1, &x2,
                      &y2) == 4 &&
          std::fabs(x2 - x1) < 1e-6 && std::fabs(y2 - y1) > 2)
        ADD_FAILURE() << fault;
    }
  }
}

// Two lengths from one face whose spans lie far apart stand as near each other as asked, whichever way
// each was measured: a line measured against its own direction once had its value's reach turned, which
// spread it over the whole face and pushed the other out by a spacing it did not need.
TEST(RunOnSheets, LengthsApartAlongAFaceKeepTheirOffsetsWhicheverWayEachWasMeasured)
{
  for (const bool reversed : {false, true}) {
    TLayout layout;
    layout.Begin(420, 297, 0, 0, 0, 1);
    for (const auto& g : std::vector<std::array<double, 4>>{
             {100, 100, 160, 100}, {160, 100, 160, 200}, {160, 200, 100, 200}, {100, 200, 100, 100}})
      layout.Outline(g[0], g[1], g[2], g[3]);
    TAskedLength upper{reversed ? 190.0 : 180.0, reversed ? 180.0 : 190.0, 170, 0, 2},
        lower{110, 120, 173, 0, 2};
    AskLength(layout, upper, 160);
    AskLength(layout, lower, 160);
    layout.Settle();
    SCOPED_TRACE(reversed ? "the upper one measured downwards" : "both measured upwards");
    EXPECT_DOUBLE_EQ(upper.Line, 170);
    EXPECT_DOUBLE_EQ(lower.Line, 173);
  }
}
