// Angles on mould sheets: their arcs and rays cross no other dimension's line or extension line. The
// guide pillar's lead-in angle, plain and threaded (the ray along the guide once ran past the end face
// across the extension line every length from the end shares), its value clear of the end view beside
// the threaded pillar's end; the fitting's hexagon chamfer (its slanting ray once ran across the
// hexagon's length) and its barbs' angles; the threaded pillar's collar face sign where the thread ends
// at the face. No size of the pillar stands out of reach, the end view's diameters measured at their
// circles' extreme points included.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "../adapter/AdapterSupport.h"
#include "MouldSheetLayout.h"
#include "SheetLinesCheck.h"
#include "StdPartsSupport.h"
#include "txhost/lib/SvgWriter.h"

namespace {

namespace asl = stdtest::sheetlines;

class AngleArcSheets : public ::testing::Test, public adaptertest::HostedModeller
{
protected:
  AngleArcSheets() { stdtest::LoadShipped(); }

  // The first sheet the part named draws at size s, as it lays out.
  txhost::SvgLayout FirstSheet(const char* name, int s)
  {
    std::vector<txhost::SvgLayout> sheets = stdtest::MouldSheetLayouts(H, Dir.path(), name, s);
    return sheets.empty() ? txhost::SvgLayout{} : std::move(sheets.front());
  }

  // The pillar at row, threaded or not.
  txhost::SvgLayout PillarSheet(int row, bool threaded)
  {
    return FirstSheet(threaded ? "guide_pillar_threaded" : "guide_pillar", row);
  }
};

// Where an angle's arc or ray crosses another dimension's line or extension line, away from the ends of
// both; and how many angles the sheet has.
std::vector<std::string> AngleLinesAcross(const txhost::SvgLayout& layout, int& angles)
{
  const std::vector<asl::TDimensionLines> dims = asl::DimensionLinesOf(layout);
  std::vector<std::string> faults;
  angles = 0;
  for (std::size_t i = 0; i < dims.size(); ++i) {
    if (!dims[i].Angle) continue;
    ++angles;
    for (const asl::TSeg& s : dims[i].Own)
      for (std::size_t j = 0; j < dims.size(); ++j) {
        if (j == i) continue;
        for (const auto* others : {&dims[j].Own, &dims[j].Extensions})
          for (const asl::TSeg& t : *others) {
            asl::TPoint at;
            if (asl::CrossAcross(s, t, dims[i].Ends, at) && asl::CrossAcross(s, t, dims[j].Ends, at))
              faults.push_back("the angle's line from " + asl::At(s.A) + " to " + asl::At(s.B) + " across " +
                               asl::At(at));
          }
      }
  }
  return faults;
}

// First, middle and last rows, and the threaded row whose end view stands nearest its end.
TEST_F(AngleArcSheets, PillarLeadInAngleCrossesNoOtherDimension)
{
  const int last = ABaseDetail.SocketCount(5) - 1;
  for (const bool threaded : {false, true})
    for (const int row : {1, 4, (1 + last) / 2, last}) {
      SCOPED_TRACE((threaded ? "threaded row " : "row ") + std::to_string(row));
      const txhost::SvgLayout layout = PillarSheet(row, threaded);
      ASSERT_FALSE(layout.Lines.empty());
      int angles = 0;
      for (const std::string& fault : AngleLinesAcross(layout, angles))
        ADD_FAILURE() << fault;
      EXPECT_GE(angles, 1) << "the lead-in's angle is dimensioned";
      // Its value stands clear of every line, the end view's included.
      for (const std::string& fault : asl::TextsCrossed(layout))
        if (fault.find("\"30\u00b0\"") != std::string::npos) ADD_FAILURE() << fault;
      // The end view's diameters stand 10 from its circle, measured at the circle's extreme points.
      for (const std::string& fault : asl::DimensionsOutOfReach(layout))
        ADD_FAILURE() << fault;
    }
}

// Threaded rows whose thread ends at the collar's face (its depth the fixed part's length): the face's
// sign, with no room short of the thread's bottom, stands above the collar instead of sliding down the
// face's extension line with its arms across the thread depth's and the overall length's lines.
TEST_F(AngleArcSheets, FaceSignOfAThreadEndingAtTheCollarCrossesNoLength)
{
  for (const int row : {4, 5, 6}) {
    SCOPED_TRACE("threaded row " + std::to_string(row));
    const txhost::SvgLayout layout = PillarSheet(row, true);
    ASSERT_FALSE(layout.Lines.empty());
    for (const std::string& fault : asl::DimensionLinesCrossing(layout))
      ADD_FAILURE() << fault;
  }
}

// The fitting has one size: its barbs' and its hexagon chamfer's angles among the others.
TEST_F(AngleArcSheets, FittingAnglesCrossNoOtherDimension)
{
  const txhost::SvgLayout layout = FirstSheet("fitting", 2);
  ASSERT_FALSE(layout.Lines.empty());
  int angles = 0;
  for (const std::string& fault : AngleLinesAcross(layout, angles))
    ADD_FAILURE() << fault;
  EXPECT_GE(angles, 3);
  for (const std::string& fault : asl::DimensionLinesCrossing(layout))
    ADD_FAILURE() << fault;
  // Each of the three stands on the arc it asks (10 or 15 at the sheet's scale 1:1), not on the wider
  // arc every drawing gives an angle: its rays end by the features they measure.
  int asked = 0;
  for (const txhost::SvgPolyline& l : layout.Lines)
    asked += l.Kind == "dimension-arc" && (std::fabs(l.R - 10) < 1e-6 || std::fabs(l.R - 15) < 1e-6);
  EXPECT_EQ(asked, 3);
}

} // namespace
