// The locating sleeve's, the fitting's and the locating rings' sheets as laid out on the stand-in host:
// angles whose rays and arcs run across other dimensions or a callout's leader, lengths stacked so that a
// shorter one's extension lines cross a longer one's line, and sizes carried far off past empty paper.
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

namespace sl = stdtest::sheetlines;

class SleeveFittingSheets : public ::testing::Test, public adaptertest::HostedModeller
{
protected:
  SleeveFittingSheets() { stdtest::LoadShipped(); }

  // The layout of each sheet of the part named at size s (a table row, or half sizes).
  std::vector<txhost::SvgLayout> Sheets(const char* name, int s)
  {
    return stdtest::MouldSheetLayouts(H, Dir.path(), name, s);
  }
};

// Where an angle's ray or arc crosses another dimension's line (not its extension lines), or a leader of no
// dimension (a callout's) crosses an angle's ray or arc.
std::vector<std::string> AnglesAcross(const txhost::SvgLayout& layout)
{
  const std::vector<sl::TDimensionLines> dims = sl::DimensionLinesOf(layout);
  std::vector<std::string> found;
  for (std::size_t i = 0; i < dims.size(); ++i) {
    if (!dims[i].Angle) continue;
    for (const sl::TSeg& s : dims[i].Own) {
      for (std::size_t j = 0; j < dims.size(); ++j)
        for (const sl::TSeg& t : j == i ? std::vector<sl::TSeg>{} : dims[j].Own) {
          sl::TPoint at;
          if (sl::CrossAcross(s, t, dims[i].Ends, at) && sl::CrossAcross(s, t, dims[j].Ends, at))
            found.push_back("an angle's line across another's line at " + sl::At(at));
        }
      for (const txhost::SvgPolyline& l : layout.Lines) {
        if (l.Kind != "leader" || l.Symbol >= 0) continue;
        for (const sl::TSeg& t : sl::Segments(l)) {
          sl::TPoint at;
          if (sl::CrossAcross(s, t, dims[i].Ends, at) &&
              sl::CrossAcross(s, t, {l.Points.front(), l.Points.back()}, at))
            found.push_back("a callout's leader across an angle at " + sl::At(at));
        }
      }
    }
  }
  return found;
}

// The fitting's hexagon chamfer angle had its slanting ray across the thread's length "15", and the relief
// groove's callout A its leader across the barb's 70 degree arc. The part has one size: its three sheets
// are the same.
TEST_F(SleeveFittingSheets, TheFittingsAnglesCrossNoLineAndNoCallout)
{
  const std::vector<txhost::SvgLayout> sheets = Sheets("fitting", 2);
  ASSERT_EQ(sheets.size(), 1u);
  const txhost::SvgLayout& l = sheets[0];
  int angles = 0;
  for (const txhost::SvgPolyline& line : l.Lines)
    angles += line.Kind == "dimension-arc";
  EXPECT_GE(angles, 3) << "the barbs' 45 and 70 degrees and the chamfer's 30";
  for (const std::string& fault : AnglesAcross(l))
    ADD_FAILURE() << fault;
  // The barbs' tip diameter is shown once, as a reference size.
  int tips = 0;
  for (const txhost::SvgLabel& label : l.Labels)
    tips += label.Text == "\u23008,8*";
  EXPECT_EQ(tips, 1);
}

// The locating sleeve's lengths were stacked with a shorter one outside a longer one (the thread's chamfer
// outside the thread, its extension line across the thread's line), the bore's length 45 below the part
// through the chamfer angle's ray, and the diameters at the ends 33 and 44 off their faces. At every row:
// no length's line crosses another's extension line, and every dimension stands within reach.
TEST_F(SleeveFittingSheets, TheSleevesLengthsNestAndEverySizeStandsByItsFeature)
{
  for (int row = 1; row < ABaseDetail.SocketCount(3); ++row) {
    SCOPED_TRACE("row " + std::to_string(row));
    const std::vector<txhost::SvgLayout> sheets = Sheets("locating_sleeve", row);
    ASSERT_EQ(sheets.size(), 1u);
    const txhost::SvgLayout& l = sheets[0];
    for (const std::string& fault : sl::DimensionsOutOfReach(l))
      ADD_FAILURE() << fault;
    const std::vector<sl::TDimensionLines> dims = sl::DimensionLinesOf(l);
    int lengths = 0;
    for (std::size_t i = 0; i < dims.size(); ++i) {
      if (dims[i].Angle) continue;
      for (const sl::TSeg& s : dims[i].Own) {
        if (std::fabs(s.A.second - s.B.second) > 1e-9 || std::fabs(s.A.first - s.B.first) < 1.0) continue;
        ++lengths;
        for (std::size_t j = 0; j < dims.size(); ++j)
          for (const sl::TSeg& t : j == i ? std::vector<sl::TSeg>{} : dims[j].Extensions) {
            sl::TPoint at;
            if (!sl::CrossAcross(s, t, dims[i].Ends, at) || !sl::CrossAcross(s, t, dims[j].Ends, at))
              continue;
            // Its line run on under its value crosses its own extension line, which another from the same
            // face shares.
            if (std::none_of(dims[i].Extensions.begin(), dims[i].Extensions.end(),
                             [&at](const sl::TSeg& e) { return sl::Distance(at, e) < 0.05; }))
              ADD_FAILURE() << "a length's line from " << sl::At(s.A) << " to " << sl::At(s.B)
                            << " across another's extension line at " << sl::At(at);
          }
      }
    }
    EXPECT_GE(lengths, 5) << "the chamfers, the thread, the bore and the whole length";
  }
}

// The locating rings' sections had the counterbores' diameter settle outside the outside diameter, its
// extension lines across the outside's line: at every size, on both sheets, the longest diameter of the
// section (the outside) is crossed by no extension line.
TEST_F(SleeveFittingSheets, NoExtensionLineCrossesTheRingsOutsideDiameter)
{
  for (const char* ring : {"locating_ring", "locating_ring_shoulder"})
    for (const int half : {1, 2, 4}) {
      SCOPED_TRACE(std::string(ring) + " half " + std::to_string(half));
      const std::vector<txhost::SvgLayout> sheets = Sheets(ring, half);
      ASSERT_EQ(sheets.size(), 2u);
      for (const txhost::SvgLayout& l : sheets) {
        const std::vector<sl::TDimensionLines> dims = sl::DimensionLinesOf(l);
        // The outside: the longest vertical dimension line.
        std::size_t outside = dims.size();
        double longest = 0;
        for (std::size_t i = 0; i < dims.size(); ++i)
          for (const sl::TSeg& s : dims[i].Angle ? std::vector<sl::TSeg>{} : dims[i].Own)
            if (std::fabs(s.A.first - s.B.first) < 1e-9 && std::fabs(s.A.second - s.B.second) > longest)
              longest = std::fabs(s.A.second - s.B.second), outside = i;
        ASSERT_LT(outside, dims.size());
        for (const sl::TSeg& s : dims[outside].Own)
          for (std::size_t j = 0; j < dims.size(); ++j)
            for (const sl::TSeg& t : j == outside ? std::vector<sl::TSeg>{} : dims[j].Extensions) {
              sl::TPoint at;
              if (sl::CrossAcross(s, t, dims[outside].Ends, at) && sl::CrossAcross(s, t, dims[j].Ends, at))
                ADD_FAILURE() << "the outside's line across an extension line at " << sl::At(at);
            }
      }
    }
}

} // namespace
