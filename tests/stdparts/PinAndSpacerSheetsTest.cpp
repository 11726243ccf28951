// The one-piece spacer's, the shank's and the stop pin's sheets as the host lays them out: their lengths
// stacked shortest nearest, each within reach of what it sizes, no dimension's line across another's.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "../adapter/AdapterSupport.h"
#include "MouldSheetLayout.h"
#include "SheetLinesCheck.h"
#include "StdPartsSupport.h"
#include "txhost/lib/SvgWriter.h"

namespace {

namespace sl = stdtest::sheetlines;

class PinAndSpacerSheets : public ::testing::Test, public adaptertest::HostedModeller
{
protected:
  PinAndSpacerSheets() { stdtest::LoadShipped(); }

  txhost::SvgLayout Sheet(const char* name, int s)
  {
    return stdtest::MouldSheetLayout(H, Dir.path(), name, s);
  }

  // The layout with the roughness signs taken out of the dimensions: only dimensions stand against each
  // other.
  static txhost::SvgLayout DimensionsAlone(txhost::SvgLayout layout)
  {
    std::vector<int> signs;
    for (const txhost::SvgPolyline& l : layout.Lines)
      if (l.Kind == "rough" && l.Symbol >= 0) signs.push_back(l.Symbol);
    for (txhost::SvgPolyline& l : layout.Lines)
      if (std::find(signs.begin(), signs.end(), l.Symbol) != signs.end()) l.Symbol = -1;
    return layout;
  }

  static std::string Listed(const std::vector<std::string>& faults)
  {
    std::string s;
    for (const std::string& f : faults)
      s += "\n  " + f;
    return s;
  }
};

// The pin's whole length and its end's chamfer below it: the chamfer nearer, the whole length past it,
// at every size.
TEST_F(PinAndSpacerSheets, TheStopPinsLengthsNeitherCrossNorStrayAtEverySize)
{
  for (int s : {1, 2, 4}) {
    const txhost::SvgLayout l = Sheet("stop_pin", s);
    ASSERT_FALSE(l.Lines.empty()) << s;
    const auto crossing = sl::DimensionLinesCrossing(l), far = sl::DimensionsOutOfReach(l);
    EXPECT_TRUE(crossing.empty()) << "stop pin at " << s << "/2:" << Listed(crossing);
    EXPECT_TRUE(far.empty()) << "stop pin at " << s << "/2:" << Listed(far);
  }
}

// The shank's thread length under the shank it is measured from, not carried 40 mm off past empty paper;
// over the threaded end the shorter of the chamfer and the mouth's depth nearer, at every size.
TEST_F(PinAndSpacerSheets, TheShanksLengthsStandWithinReachAtEverySize)
{
  for (int s : {1, 2, 4}) {
    const txhost::SvgLayout l = Sheet("shank", s);
    ASSERT_FALSE(l.Lines.empty()) << s;
    const auto far = sl::DimensionsOutOfReach(l);
    EXPECT_TRUE(far.empty()) << "shank at " << s << "/2:" << Listed(far);
  }
}

// Rows of every thread the table holds, first and last of it: the lengths from the end face nested with
// the shortest nearest, the slot's depth by the slot, every dimension within reach of what it sizes, and
// none of the diameters' lines across another's extension lines (the slot's width on an end view).
TEST_F(PinAndSpacerSheets, TheSpacersDimensionsStandByWhatTheySizeAtEveryThread)
{
  for (int row : {1, 6, 7, 14, 22, 29, 30, 37}) {
    const txhost::SvgLayout l = Sheet("spacer_one_piece", row);
    ASSERT_FALSE(l.Lines.empty()) << row;
    const auto crossing = sl::DimensionLinesCrossing(DimensionsAlone(l)), far = sl::DimensionsOutOfReach(l);
    EXPECT_TRUE(crossing.empty()) << "spacer row " << row << ":" << Listed(crossing);
    EXPECT_TRUE(far.empty()) << "spacer row " << row << ":" << Listed(far);
    // The slot's depth a spacing or two off the collar it is cut in, not carried under the whole stack.
    const auto slot = std::find_if(l.Labels.begin(), l.Labels.end(),
                                   [](const txhost::SvgLabel& t) { return t.Text == "3H14"; });
    ASSERT_NE(slot, l.Labels.end()) << row;
    const sl::TPoint centre{(slot->X[0] + slot->X[2]) / 2, (slot->Y[0] + slot->Y[2]) / 2};
    double nearest = 1e300;
    for (const sl::TSeg& g : sl::OutlineSegments(l))
      nearest = std::min(nearest, sl::Distance(centre, g));
    EXPECT_LT(nearest, 15.0) << "spacer row " << row;
  }
}

} // namespace
