// The ejector plug's body: its diameter stands across the body at its feature, its value beyond a wall,
// never carried past the far end face across the seat's extension lines, and no dimension of the plug
// crosses another or stands out of reach, at every size the part is drawn.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "../adapter/AdapterSupport.h"
#include "MouldSheetLayout.h"
#include "SheetLinesCheck.h"
#include "StdPartsSupport.h"

namespace {

namespace bodyl = stdtest::sheetlines;

class EjectorBodySheets : public ::testing::Test, public adaptertest::HostedModeller
{
protected:
  EjectorBodySheets() { stdtest::LoadShipped(); }

  txhost::SvgLayout Sheet(int s) { return stdtest::MouldSheetLayout(H, Dir.path(), "ejector_plug", s); }
};

// At half size the body's diameter was carried past the far end face, its line across the seat's
// extension lines.
TEST_F(EjectorBodySheets, NoDimensionCrossesAnotherAtAnySize)
{
  for (const int s : {1, 2, 4}) {
    SCOPED_TRACE(testing::Message() << "sizes x" << s / 2.0);
    const txhost::SvgLayout layout = Sheet(s);
    ASSERT_FALSE(layout.Lines.empty());
    for (const std::string& fault : bodyl::DimensionLinesCrossing(layout))
      ADD_FAILURE() << fault;
    for (const std::string& fault : bodyl::DimensionsOutOfReach(layout))
      ADD_FAILURE() << fault;
  }
}

// The body's diameter line lies between the part's end faces: over the line's span the outline reaches on
// both sides of it.
TEST_F(EjectorBodySheets, TheBodysDiameterStandsAcrossTheBody)
{
  for (const int s : {1, 2, 4}) {
    SCOPED_TRACE(testing::Message() << "sizes x" << s / 2.0);
    const txhost::SvgLayout layout = Sheet(s);
    const auto label =
        std::find_if(layout.Labels.begin(), layout.Labels.end(), [](const txhost::SvgLabel& l) {
          return l.Symbol >= 0 && l.Text.find("n6") != std::string::npos;
        });
    ASSERT_NE(label, layout.Labels.end());
    const auto line =
        std::find_if(layout.Lines.begin(), layout.Lines.end(), [&](const txhost::SvgPolyline& l) {
          return l.Symbol == label->Symbol && l.Kind == "dimension-line" && l.Points.size() == 2;
        });
    ASSERT_NE(line, layout.Lines.end());
    const double x = line->Points[0].first, lo = std::min(line->Points[0].second, line->Points[1].second),
                 hi = std::max(line->Points[0].second, line->Points[1].second);
    ASSERT_NEAR(line->Points[1].first, x, 1e-6) << "the body's diameter is drawn upright";
    bool before = false, after = false;
    for (const bodyl::TSeg& g : bodyl::OutlineSegments(layout)) {
      if (std::max(g.A.second, g.B.second) < lo || std::min(g.A.second, g.B.second) > hi) continue;
      before = before || std::min(g.A.first, g.B.first) < x - 0.1;
      after = after || std::max(g.A.first, g.B.first) > x + 0.1;
    }
    EXPECT_TRUE(before && after) << "the body's diameter at x " << x << " lies off the body";
  }
}

} // namespace
