// The ejector plug's collar: its length's value, slid past the collar face where it does not fit between
// its arrows, keeps the collar face's grade off its run-on, at the sizes where the value does not fit.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "../adapter/AdapterSupport.h"
#include "MouldSheetLayout.h"
#include "SheetLinesCheck.h"
#include "StdPartsSupport.h"

namespace {

// Whether a finding is about a dimension line along the part (its ends at one height): the lengths.
bool OnALength(const std::string& finding)
{
  double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  const std::size_t at = finding.find("from (");
  return at != std::string::npos &&
         std::sscanf(finding.c_str() + at, "from (%lf, %lf) to (%lf, %lf)", &x1, &y1, &x2, &y2) == 4 &&
         y1 == y2;
}

class PlugCollarSheets : public ::testing::Test, public adaptertest::HostedModeller
{
protected:
  PlugCollarSheets() { stdtest::LoadShipped(); }
};

// The collar face's "1,6" was slid down its face's line onto the collar length's run-on at half and full
// size; no length of the plug is crossed at any size it is drawn.
TEST_F(PlugCollarSheets, NoLengthIsCrossedAtTheCollar)
{
  for (const int s : {1, 2, 4}) {
    SCOPED_TRACE(testing::Message() << "sizes x" << s / 2.0);
    const txhost::SvgLayout l = stdtest::MouldSheetLayout(H, Dir.path(), "ejector_plug", s);
    ASSERT_FALSE(l.Lines.empty());
    const std::vector<std::string> found = stdtest::sheetlines::DimensionLinesCrossing(l);
    for (const std::string& f : found)
      EXPECT_FALSE(OnALength(f)) << f;
    if (s > 1) {
      EXPECT_TRUE(found.empty()) << found.front();
    }
  }
}

} // namespace
