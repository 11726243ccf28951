// Diameters nested at one end of a part, and a diameter across a hollow section whose value is blocked on
// one side: each stands at its feature with its value on empty paper, no line run on across another's.
#include <gtest/gtest.h>

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

using TStackLayout = drApi::TSheetLayout;

// A bore's diameter asked across a hollow section, the place past the wall on the side it asks taken by a
// text: the value goes past the other wall and the line stays where it was asked, rather than being
// carried along the part until the first side is free.
TEST(StackedDiametersSheets, ADiameterAcrossASectionBlockedOnOneSideTakesTheOtherAtItsFeature)
{
  for (const int side : {1, -1}) {
    TStackLayout layout;
    layout.Begin(420, 297, 0, 0, 0, 1);
    stdtest::HollowSection(layout);
    // A short text just beyond the wall on the side asked, where the value would stand at the asked
    // offset; 2.5 mm farther out the value would clear it.
    const double y0 = side > 0 ? 172 : 123, y1 = side > 0 ? 177 : 128;
    TStackLayout::TQuad text;
    text.X[0] = 127.5, text.Y[0] = y0, text.X[1] = 128.5, text.Y[1] = y0;
    text.X[2] = 128.5, text.Y[2] = y1, text.X[3] = 127.5, text.Y[3] = y1;
    layout.Occupy(text);
    stdtest::TAskedLength bore{146, 154, 130.5, side, 4};
    stdtest::AskLength(layout, bore, 130);
    layout.Settle();
    SCOPED_TRACE(testing::Message() << "asked side " << side);
    EXPECT_NEAR(bore.Line, 130.5, 0.01) << "carried off its feature";
    // The value (4 characters) lies wholly past the other wall.
    const double value = 4 * 0.6 * 3.5;
    if (side > 0)
      EXPECT_LE(150 + bore.Slide + value / 2, 130);
    else
      EXPECT_GE(150 + bore.Slide - value / 2, 170);
  }
}

// A hollow section with a bore diameter whose value the layout slides past the wall, and an angle still
// to come whose ray runs through that value: the value is moved on again and must be written where the
// layout moved it, from where it already stood, not from the line's middle (which put it on the part).
TEST(StackedDiametersSheets, AValueMovedAgainIsWrittenFromWhereItStood)
{
  TStackLayout layout;
  layout.Begin(420, 297, 0, 0, 0, 1);
  stdtest::HollowSection(layout);
  stdtest::TAskedLength bore{146, 154, 130.5, 1, 4};
  stdtest::AskLength(layout, bore, 130);
  TStackLayout::TAngle ray;
  ray.Place = [](bool, double) {};
  ray.X = 110, ray.Y = 174, ray.A1 = 0, ray.A2 = -8, ray.R = 15, ray.Floor = 25;
  ray.Chars = 2;
  layout.Dimension(ray);
  layout.Settle();
  ASSERT_NE(bore.Slide, 0) << "a value 8.4 long across a bore 8 wide";
  // The value (4 characters) wholly past one wall, clear of the ray at y 174.
  const double half = 4 * 0.6 * 3.5 / 2, from = 150 + bore.Slide - half, to = 150 + bore.Slide + half;
  EXPECT_TRUE(from >= 170 || to <= 130) << "the value from " << from << " to " << to << " lies on the part";
  EXPECT_FALSE(from < 174 && to > 174) << "the ray runs through the value";
}

class StackedDiametersPartSheets : public ::testing::Test, public adaptertest::HostedModeller
{
protected:
  StackedDiametersPartSheets() { stdtest::LoadShipped(); }

  // The crossings of a diameter's line (the vertical lines of these horizontal parts) with another's
  // extension line on the part's sheet at row or size s.
  std::vector<std::string> RunOnsAcross(const char* part, int s)
  {
    std::vector<std::string> found;
    const txhost::SvgLayout layout = stdtest::MouldSheetLayout(H, Dir.path(), part, s);
    EXPECT_FALSE(layout.Lines.empty());
    for (const std::string& fault : stdtest::sheetlines::DimensionLinesCrossing(layout)) {
      double x1, y1, x2, y2;
      if (std::sscanf(fault.c_str(), "a dimension's line from (%lf, %lf) to (%lf, %lf)", &x1, &y1, &x2,
                      &y2) == 4 &&
          fault.find("across another's extension line") != std::string::npos && std::fabs(x2 - x1) < 1e-6)
        found.push_back(fault);
    }
    return found;
  }
};

// The shank had its bore, mouth and thread diameters nested beyond the threaded end, each smaller value run
// on across the larger ones' extension lines at half and full size; the bores now stand on the end's view.
TEST_F(StackedDiametersPartSheets, TheShanksThreadedEndRunsNoValueAcrossAnExtensionLine)
{
  for (const int s : {1, 2}) {
    SCOPED_TRACE(testing::Message() << "sizes x" << s / 2.0);
    for (const std::string& fault : RunOnsAcross("shank", s))
      ADD_FAILURE() << fault;
  }
}

// The smallest locating sleeves had the bore's value run on beyond the bore's end across the relief's and
// the outside's extension lines; the bore and the outside now stand on view A, the bore's sign with it.
TEST_F(StackedDiametersPartSheets, TheSleevesBoreEndRunsNoValueAcrossAnExtensionLine)
{
  for (const int row : {1, 2, 3}) {
    SCOPED_TRACE(testing::Message() << "row " << row);
    for (const std::string& fault : RunOnsAcross("locating_sleeve", row))
      ADD_FAILURE() << fault;
  }
}
