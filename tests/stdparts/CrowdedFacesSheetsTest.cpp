// Sheets whose narrow faces and nested sizes crowd the space by the part: the one-piece spacer, the sprue
// bush and the guide plug. Every dimension stands clear of the others, and every roughness sign clear of
// the dimensions: no stroke of a sign (its arms, its shelf) crosses a dimension line, an extension line,
// a leader or an angle's arc or ray, and no such line crosses a sign's value.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "../adapter/AdapterSupport.h"
#include "MouldPartList.h"
#include "MouldSheetLayout.h"
#include "SheetLinesCheck.h"
#include "StdPartsSupport.h"
#include "txhost/lib/SvgWriter.h"

namespace {

namespace sl = stdtest::sheetlines;
namespace mouldparts = stdtest::mouldparts;

using sl::SignsCrossed;

std::string Listed(const std::vector<std::string>& faults)
{
  std::string s;
  for (const std::string& f : faults)
    s += "\n  " + f;
  return s;
}

class CrowdedFacesSheets : public ::testing::Test, public adaptertest::HostedModeller
{
protected:
  CrowdedFacesSheets() { stdtest::LoadShipped(); }

  // Every sheet of the part at size s, each checked for dimensions across one another or out of reach
  // and for signs crossed.
  void ExpectClear(const char* name, int s)
  {
    const std::vector<txhost::SvgLayout> sheets = stdtest::MouldSheetLayouts(H, Dir.path(), name, s);
    ASSERT_FALSE(sheets.empty()) << name << " " << s;
    for (const txhost::SvgLayout& l : sheets) {
      EXPECT_TRUE(sl::DimensionLinesCrossing(l).empty())
          << name << " " << s << ":" << Listed(sl::DimensionLinesCrossing(l));
      EXPECT_TRUE(sl::DimensionsOutOfReach(l).empty())
          << name << " " << s << ":" << Listed(sl::DimensionsOutOfReach(l));
      EXPECT_TRUE(SignsCrossed(l).empty()) << name << " " << s << ":" << Listed(SignsCrossed(l));
    }
  }
};

// The collar's back face is 3 to 5.5 mm across, its sign 19.5 long: on the face or between the lengths
// under it, the sign's arms lie across the collar's or the body's length. The rows with the narrowest
// faces and the shortest bodies of each thread, and the last.
TEST_F(CrowdedFacesSheets, TheSpacersCollarSignStandsClearOfTheLengthsUnderIt)
{
  for (int row : {1, 4, 7, 12, 14, 22, 24, 30, 37})
    ExpectClear("spacer_one_piece", row);
}

// A sign slid along its surface's extension line to a place free for its value but with a length's line
// across its arm is settled again once every sign is, where its strokes cross nothing: the stop pin's
// collar face's sign, at every size.
TEST_F(CrowdedFacesSheets, ASignCrossedWhereItFirstSettledMovesWhereNothingCrossesIt)
{
  for (int s : {1, 2, 4})
    for (const txhost::SvgLayout& l : stdtest::MouldSheetLayouts(H, Dir.path(), "stop_pin", s))
      EXPECT_TRUE(SignsCrossed(l).empty()) << "stop pin " << s << ":" << Listed(SignsCrossed(l));
}

// Settled again, a sign keeps to its own stretch of line: the guide plug's rear fit's "0,8", on its
// surface's extension line past the rear end, never slides along that line over the collar onto the front
// part's surface, which has a sign of its own.
TEST_F(CrowdedFacesSheets, ASignSettledAgainKeepsToItsSurface)
{
  for (int s : {1, 2, 4}) {
    const txhost::SvgLayout l = stdtest::MouldSheetLayout(H, Dir.path(), "guide_plug", s);
    ASSERT_FALSE(l.Lines.empty()) << s;
    // The view's right end: the rightmost point of its outline, left of the end view and details, which
    // stand lower.
    double right = -1e300, top = -1e300;
    for (const sl::TSeg& g : sl::OutlineSegments(l))
      top = std::max({top, g.A.second, g.B.second});
    for (const sl::TSeg& g : sl::OutlineSegments(l))
      if (g.A.second > top - 40 && g.B.second > top - 40) right = std::max({right, g.A.first, g.B.first});
    // The tips of the "0,8" signs: where a sign's first two strokes meet, its value the label nearest its
    // shelf (its third stroke), which stands over it: another sign's value can stand nearer its tip.
    std::vector<double> tips;
    const auto& lines = l.Lines;
    for (std::size_t k = 0; k + 2 < lines.size(); ++k) {
      const txhost::SvgPolyline &a = lines[k], &b = lines[k + 1], &shelf = lines[k + 2];
      if (a.Kind != "rough" || b.Kind != "rough" || shelf.Kind != "rough" || a.Points.empty() ||
          b.Points.empty() || shelf.Points.empty() || a.Points[0] != b.Points[0])
        continue;
      const double mx = (shelf.Points.front().first + shelf.Points.back().first) / 2,
                   my = (shelf.Points.front().second + shelf.Points.back().second) / 2;
      const txhost::SvgLabel* value = nullptr;
      double nearest = 1e300;
      for (const txhost::SvgLabel& t : l.Labels)
        if (t.Role == "rough" && std::hypot((t.X[0] + t.X[2]) / 2 - mx, (t.Y[0] + t.Y[2]) / 2 - my) < nearest)
          nearest = std::hypot((t.X[0] + t.X[2]) / 2 - mx, (t.Y[0] + t.Y[2]) / 2 - my), value = &t;
      if (value != nullptr && value->Text == "0,8") tips.push_back(a.Points[0].first);
    }
    ASSERT_EQ(tips.size(), 2u) << s;
    EXPECT_LT(std::min(tips[0], tips[1]), right) << s;
    EXPECT_GT(std::max(tips[0], tips[1]), right) << s;
  }
}

// How many signs of every part's sheets have a stroke or value crossed, part by part (a long sweep:
// HXCAD_SHEET_CROSSINGS=1): none on any.
TEST_F(CrowdedFacesSheets, SignsCrossedOnEverySheetAreCounted)
{
  if (std::getenv("HXCAD_SHEET_CROSSINGS") == nullptr) GTEST_SKIP() << "HXCAD_SHEET_CROSSINGS=1 counts them";
  for (const mouldparts::TPart& p : mouldparts::Parts) {
    std::vector<int> sizes{1, 2, 4};
    if (p.Table != 0) {
      sizes.clear();
      for (int r = 1; r < ABaseDetail.SocketCount(p.Table); ++r)
        sizes.push_back(r);
    }
    std::size_t count = 0;
    for (int s : sizes)
      for (const txhost::SvgLayout& l : stdtest::MouldSheetLayouts(H, Dir.path(), p.Name, s)) {
        const std::vector<std::string> crossed = SignsCrossed(l);
        count += crossed.size();
        EXPECT_TRUE(crossed.empty()) << p.Name << " " << s << ":" << Listed(crossed);
      }
    std::printf("%s: %zu signs crossed\n", p.Name, count);
  }
}

} // namespace
