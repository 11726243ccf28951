// A guide plug whose collar is narrower than a roughness sign's arms: the rear face's sign cannot stand
// over the collar between the collar faces' extension lines, so it stands on the front part's side past
// the collar's height, the front length lower to leave it room. At every size no line crosses a sign's
// strokes, a dimension's line or a text.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "../adapter/AdapterSupport.h"
#include "MouldSheetLayout.h"
#include "SheetLinesCheck.h"
#include "StdPartsSupport.h"
#include "txhost/lib/SvgWriter.h"

namespace {

namespace sl = stdtest::sheetlines;

// Every stroke of a roughness sign that a dimension's line crosses away from the sign's tip.
std::vector<std::string> StrokesOnDimensionLines(const txhost::SvgLayout& layout)
{
  std::vector<sl::TSeg> dimensionLines;
  for (const txhost::SvgPolyline& l : layout.Lines)
    if (l.Kind == "dimension-line")
      for (const sl::TSeg& g : sl::Segments(l))
        dimensionLines.push_back(g);
  std::vector<std::string> faults;
  for (const txhost::SvgPolyline& l : layout.Lines) {
    if (l.Kind != "rough" || l.Style == 1) continue;
    for (const sl::TSeg& s : sl::Segments(l))
      for (const sl::TSeg& d : dimensionLines) {
        sl::TPoint at;
        if (sl::Meet(s, d, at) && std::hypot(at.first - s.A.first, at.second - s.A.second) > 0.2)
          faults.push_back("a sign's stroke from " + sl::At(s.A) + " to " + sl::At(s.B) + " crossed at " +
                           sl::At(at));
      }
  }
  return faults;
}

class NarrowCollarSheets : public ::testing::Test, public adaptertest::HostedModeller
{
protected:
  NarrowCollarSheets() { stdtest::LoadShipped(); }
};

TEST_F(NarrowCollarSheets, TheGuidePlugsRearCollarFaceSignCrossesNoLengthAtAnySize)
{
  for (int half : {1, 2, 4}) {
    const std::vector<txhost::SvgLayout> sheets =
        stdtest::MouldSheetLayouts(H, Dir.path(), "guide_plug", half);
    ASSERT_FALSE(sheets.empty()) << half;
    for (const txhost::SvgLayout& l : sheets)
      for (const auto& check :
           {sl::DimensionLinesCrossing, sl::TextsCrossed, sl::SignsOffTheirSurfaces, StrokesOnDimensionLines})
        for (const std::string& f : check(l))
          ADD_FAILURE() << "guide plug at " << half << "/2: " << f;
  }
}

} // namespace
