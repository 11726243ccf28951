// Diameters nested at one end of a turned part: where the inner one's value does not fit between its
// arrows it runs on past its line, and it must not run across the outer one's extension lines.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>

#include "../adapter/AdapterSupport.h"
#include "MouldSheetLayout.h"
#include "SheetLinesCheck.h"
#include "StdPartsSupport.h"

namespace {

class NestedDiametersSheets : public ::testing::Test, public adaptertest::HostedModeller
{
protected:
  NestedDiametersSheets() { stdtest::LoadShipped(); }

  // Every crossing of a diameter's line (the vertical lines of these horizontal parts) on the part's
  // sheet at each size.
  void ExpectNoDiameterCrossing(const char* part)
  {
    namespace sl = stdtest::sheetlines;
    for (const int s : {1, 2, 4}) {
      SCOPED_TRACE(testing::Message() << part << " sizes x" << s / 2.0);
      const txhost::SvgLayout layout = stdtest::MouldSheetLayout(H, Dir.path(), part, s);
      ASSERT_FALSE(layout.Lines.empty());
      for (const std::string& fault : sl::DimensionLinesCrossing(layout)) {
        double x1, y1, x2, y2;
        if (std::sscanf(fault.c_str(), "a dimension's line from (%lf, %lf) to (%lf, %lf)", &x1, &y1, &x2,
                        &y2) == 4 &&
            std::fabs(x2 - x1) < 1e-6)
          ADD_FAILURE() << fault;
      }
    }
  }
};

// The ejector channel's spring seat, narrower than its value at half size, had its diameter beyond the
// seat's end nearer than the collar's, its value run on across the collar's extension lines.
TEST_F(NestedDiametersSheets, TheEjectorChannelsSeatValueCrossesNoExtensionLine)
{
  ExpectNoDiameterCrossing("ejector_channel");
}

} // namespace
