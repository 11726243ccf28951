// The pillars' sheets: the seat groove's enlarged detail, whose chamfer angle once took the widest arc
// there is, its ray run along the height's extension line across the height's own line; every size of
// these sheets stands clear of every other's lines, and every value clear of every line. The shouldered
// ring's section: the cone entry's angle at its mouth, once widened through the lead-in angle's value.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "../adapter/AdapterSupport.h"
#include "MouldSheetLayout.h"
#include "SheetLinesCheck.h"
#include "StdPartsSupport.h"
#include "txhost/lib/SvgWriter.h"

namespace {

namespace gsl = stdtest::sheetlines;

class GrooveAndThreadSheets : public ::testing::Test, public adaptertest::HostedModeller
{
protected:
  GrooveAndThreadSheets() { stdtest::LoadShipped(); }

  txhost::SvgLayout FirstSheet(const char* name, int row)
  {
    std::vector<txhost::SvgLayout> sheets = stdtest::MouldSheetLayouts(H, Dir.path(), name, row);
    return sheets.empty() ? txhost::SvgLayout{} : std::move(sheets.front());
  }

  // No dimension across another's lines or out of reach, and no value crossed by a line.
  static void ExpectClear(const txhost::SvgLayout& layout)
  {
    ASSERT_FALSE(layout.Lines.empty());
    for (const std::string& fault : gsl::DimensionLinesCrossing(layout))
      ADD_FAILURE() << fault;
    for (const std::string& fault : gsl::DimensionsOutOfReach(layout))
      ADD_FAILURE() << fault;
    for (const std::string& fault : gsl::TextsCrossed(layout))
      ADD_FAILURE() << fault;
  }
};

// Row 13 has the height's line nearest the corner; row 31 the section's and the other detail's outlines
// crowding the angle's value. The first and last rows bound the table.
TEST_F(GrooveAndThreadSheets, GrooveDetailAngleStandsClearOnThePlainPillar)
{
  const int last = ABaseDetail.SocketCount(5) - 1;
  for (const int row : {1, 13, 31, last}) {
    SCOPED_TRACE("row " + std::to_string(row));
    ExpectClear(FirstSheet("guide_pillar", row));
  }
}

// The entry's angle stands on the arc it asks, nearer the mouth than the lead-in angle's value above it.
TEST_F(GrooveAndThreadSheets, ShoulderedRingEntryAngleCrossesNoValue)
{
  for (const int s : {2, 4}) {
    SCOPED_TRACE("size x" + std::to_string(s / 2.0));
    const txhost::SvgLayout layout = FirstSheet("locating_ring_shoulder", s);
    ASSERT_FALSE(layout.Lines.empty());
    for (const std::string& fault : gsl::TextsCrossed(layout))
      ADD_FAILURE() << fault;
  }
}

} // namespace
