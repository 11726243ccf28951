// Diameters nested at one end of a part, and a diameter across a hollow section whose value is blocked on
// one side: each stands at its feature with its value on empty paper, no line run on across another's.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
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
