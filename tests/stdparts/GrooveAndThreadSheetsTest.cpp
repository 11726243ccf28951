// The pillars' sheets: the seat groove's enlarged detail and the threaded pillar's lengths below the part.
// An enlarged detail's chamfer angle once took the widest arc there is, its ray run along the height's
// extension line across the height's own line; every size of these sheets now stands clear of every
// other's lines, and every value clear of every line.
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

  txhost::SvgLayout PillarFirstSheet(const char* name, int row)
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
    ExpectClear(PillarFirstSheet("guide_pillar", row));
  }
}

} // namespace
