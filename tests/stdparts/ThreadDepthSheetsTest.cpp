// The threaded pillar's main view: the thread's depth runs from the fixed end into the collar or the
// guide, so below the part it once overlapped the guide's or the collar's length without either holding
// the other, and one's extension line crossed the other's line. Standing above, on the bore's side, it
// must leave the seat's and the collar face's signs clear of its extension lines.
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

namespace tsl = stdtest::sheetlines;

class ThreadDepthSheets : public ::testing::Test, public adaptertest::HostedModeller
{
protected:
  ThreadDepthSheets() { stdtest::LoadShipped(); }

  txhost::SvgLayout MainSheet(int row)
  {
    std::vector<txhost::SvgLayout> sheets =
        stdtest::MouldSheetLayouts(H, Dir.path(), "guide_pillar_threaded", row);
    return sheets.empty() ? txhost::SvgLayout{} : std::move(sheets.front());
  }
};

// Rows 1 and 32: no fixed part, the thread reaching into the guide (the seat's sign then stands on the
// seat's lower edge, in row 32 beside a collar twice as thick); rows 7 and 8 the same on a wider collar,
// where the sign once slid onto the outline; rows 10 and 18: a fixed part, the thread ending inside the
// collar.
TEST_F(ThreadDepthSheets, DepthCrossesNoLengthAndNoSign)
{
  for (const int row : {1, 7, 8, 10, 18, 32}) {
    SCOPED_TRACE("row " + std::to_string(row));
    const txhost::SvgLayout layout = MainSheet(row);
    ASSERT_FALSE(layout.Lines.empty());
    for (const std::string& fault : tsl::DimensionLinesCrossing(layout))
      ADD_FAILURE() << fault;
    for (const std::string& fault : tsl::TextsCrossed(layout))
      ADD_FAILURE() << fault;
    for (const std::string& fault : tsl::SignsOffTheirSurfaces(layout))
      ADD_FAILURE() << fault;
  }
}

} // namespace
