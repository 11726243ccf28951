// Angles' values on mould sheets stand at their arcs: the groove detail's "45°", drawn 4 to 10 times
// enlarged, once stood its gap times the detail's scale beyond its arc (8 to 20 mm, read with nothing).
// The shouldered ring's entry angle, on a thin ring, once found no room beside the lead-in's angle and
// took the widest arc, its rays across the lead-in's ray and the outside's extension line.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "../adapter/AdapterSupport.h"
#include "MouldSheetLayout.h"
#include "SheetLinesCheck.h"
#include "StdPartsSupport.h"
#include "txhost/lib/SvgWriter.h"

namespace {

namespace asv = stdtest::sheetlines;

class AngleValueSheets : public ::testing::Test, public adaptertest::HostedModeller
{
protected:
  AngleValueSheets() { stdtest::LoadShipped(); }

  std::vector<txhost::SvgLayout> Sheets(const char* name, int s)
  {
    return stdtest::MouldSheetLayouts(H, Dir.path(), name, s);
  }
};

// The largest enlargement "N:1" a detail's title on the sheet names, 1 where none is enlarged.
int Enlarged(const txhost::SvgLayout& layout)
{
  int most = 1;
  for (const txhost::SvgLabel& l : layout.Labels) {
    const std::size_t colon = l.Text.find(":1)");
    const std::size_t open = l.Text.rfind('(', colon);
    if (colon == std::string::npos || open == std::string::npos) continue;
    most = std::max(most, std::atoi(l.Text.c_str() + open + 1));
  }
  return most;
}

// The one-piece spacer's detail Б (10:1), the guide pillar's detail В and the ejector plug's detail A,
// at their first, middle and last rows or sizes: each sheet's angles have their values by their arcs.
TEST_F(AngleValueSheets, GrooveDetailAngleStandsAtItsArc)
{
  struct TAsk
  {
    const char* Name;
    std::vector<int> Sizes;
  };
  const int pillars = ABaseDetail.SocketCount(5) - 1, spacers = ABaseDetail.SocketCount(39) - 1;
  for (const TAsk& ask :
       {TAsk{"spacer_one_piece", {1, (1 + spacers) / 2, spacers}},
        TAsk{"guide_pillar", {1, (1 + pillars) / 2, pillars}}, TAsk{"ejector_plug", {1, 2, 4}}}) {
    int enlarged = 1;
    for (const int s : ask.Sizes) {
      SCOPED_TRACE(std::string(ask.Name) + " at " + std::to_string(s));
      const std::vector<txhost::SvgLayout> sheets = Sheets(ask.Name, s);
      ASSERT_FALSE(sheets.empty());
      for (const txhost::SvgLayout& layout : sheets) {
        enlarged = std::max(enlarged, Enlarged(layout));
        for (const std::string& fault : asv::AngleValuesOffTheirArcs(layout))
          ADD_FAILURE() << fault;
      }
    }
    EXPECT_GE(enlarged, 4) << ask.Name << ": the groove is shown in an enlarged detail";
  }
}

// The shouldered ring at half, full and double size: the section's two angles (the lead-in's, the
// entry's) and every size of its sheet stand clear of one another, each angle's value at its arc; in the
// plan of the column tail's holes the fixing circle's diameter keeps off the tail angles' arcs, also
// where its line would pass a joint of an arc's chords.
TEST_F(AngleValueSheets, ShoulderedRingAnglesAndDiametersCrossNoOtherDimension)
{
  for (const int half : {1, 2, 4}) {
    const std::vector<txhost::SvgLayout> sheets = Sheets("locating_ring_shoulder", half);
    ASSERT_EQ(sheets.size(), 2u);
    for (std::size_t s = 0; s < sheets.size(); ++s) {
      SCOPED_TRACE("half " + std::to_string(half) + " sheet " + std::to_string(s + 1));
      int angles = 0;
      for (const txhost::SvgPolyline& l : sheets[s].Lines)
        angles += l.Kind == "dimension-arc";
      // The section's two; on the sheet of the tail's holes, whose part has no bore, the lead-in's and
      // the four angles of the holes.
      EXPECT_EQ(angles, s == 0 ? 2 : 5);
      for (const auto& check : {asv::DimensionLinesCrossing, asv::AngleValuesOffTheirArcs, asv::TextsCrossed})
        for (const std::string& fault : check(sheets[s]))
          ADD_FAILURE() << fault;
    }
  }
}

} // namespace
