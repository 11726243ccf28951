// The locating rings' plan views as laid out on the stand-in host: a whole circle's diameter settles where
// the part asks it, and no diameter's line or leader runs across a hole it does not size.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "../adapter/AdapterSupport.h"
#include "MouldPartList.h"
#include "MouldSheetLayout.h"
#include "SheetLinesCheck.h"
#include "StdPartsSupport.h"
#include "plugin/MouldDocuments.h"
#include "txhost/lib/SvgWriter.h"

namespace {

class RingLeaderSheets : public ::testing::Test, public adaptertest::HostedModeller
{
protected:
  RingLeaderSheets() { stdtest::LoadShipped(); }

  // Every sheet of the ring named at half sizes s / 2.
  std::vector<txhost::SvgLayout> RingSheets(const char* name, int s)
  {
    return stdtest::MouldSheetLayouts(H, Dir.path(), name, s);
  }
};

// The pin hole's diameter had its leader turned from 45 degrees until its value was free, through a fixing
// screw's hole at half size; the fixing circle's diameter ignored the 80 degrees the part asks and settled
// near 45, through the screws' holes. At every size, on both sheets of both rings: no dimension's line or
// leader crosses a hole, and the fixing circle's diameter (the largest whole circle's with two arrows in
// the plan view) runs within 10 degrees of the line asked.
TEST_F(RingLeaderSheets, DiametersTakeTheAngleAskedAndLeadersKeepOffHoles)
{
  for (const char* ring : {"locating_ring", "locating_ring_shoulder"})
    for (const int half : {1, 2, 4}) {
      SCOPED_TRACE(std::string(ring) + " half " + std::to_string(half));
      const std::vector<txhost::SvgLayout> sheets = RingSheets(ring, half);
      ASSERT_EQ(sheets.size(), 2u);
      for (const txhost::SvgLayout& l : sheets) {
        for (const std::string& fault : stdtest::sheetlines::DimensionLinesCrossing(l))
          if (fault.find("hole") != std::string::npos) ADD_FAILURE() << fault;
        const txhost::SvgCircleSize* fixing = nullptr;
        for (const txhost::SvgCircleSize& c : l.CircleSizes)
          if (c.Arrows.size() == 2 && (fixing == nullptr || c.Radius > fixing->Radius)) fixing = &c;
        ASSERT_NE(fixing, nullptr);
        const double angle = std::atan2(fixing->Arrows[0].Dy, fixing->Arrows[0].Dx) * 180 / M_PI;
        // Asked at 80 degrees; the sheet's y may run down.
        const double off = std::min(std::fabs(std::remainder(angle - 80, 180.0)),
                                    std::fabs(std::remainder(angle + 80, 180.0)));
        EXPECT_LE(off, 10.0 + 1e-9) << fixing->Text << " at " << angle << " degrees";
      }
    }
}

} // namespace
