// Roughness signs on faces too crowded for them: where no place on its own stretch of line keeps a sign
// clear, the layout stands it on its surface's line farther on, on a thin extension line it draws there
// from the part when none reaches. Such a line continues the surface from the part's outline or an
// extension line, runs through no outline and crosses no text; the sign on it stands clear of every
// dimension's line.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
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

std::string Faults(const std::vector<std::string>& faults)
{
  std::string s;
  for (const std::string& f : faults)
    s += "\n  " + f;
  return s;
}

// Every thin straight line a sign's tip stands on: it goes on from a line of the part's drawing along it
// (an outline or an extension line ending where it starts, or running on under it), and crosses no
// outline. A thin circle (a callout's) through a tip carries nothing.
std::vector<std::string> CarriersAstray(const txhost::SvgLayout& l)
{
  std::vector<sl::TSeg> along;
  for (const txhost::SvgPolyline& p : l.Lines)
    if (sl::MainLine(p) || p.Kind == "extension")
      for (const sl::TSeg& g : sl::Segments(p))
        along.push_back(g);
  const std::vector<sl::TSeg> outline = sl::OutlineSegments(l);
  std::vector<std::string> faults;
  for (const sl::TPoint& tip : sl::SignTips(l))
    for (const txhost::SvgPolyline& p : l.Lines) {
      if (p.Kind != "curve" || p.Style != txapi::txCSThin || p.Points.size() != 2) continue;
      for (const sl::TSeg& c : sl::Segments(p)) {
        if (sl::Distance(tip, c) > 0.01) continue;
        const double len = std::hypot(c.B.first - c.A.first, c.B.second - c.A.second);
        const bool goesOn =
            len > 0 && std::any_of(along.begin(), along.end(), [&](const sl::TSeg& g) {
              const bool collinear = sl::OffLine(g.A, c) < 0.05 && sl::OffLine(g.B, c) < 0.05;
              return collinear && (sl::Distance(c.A, g) < 0.05 || sl::Distance(c.B, g) < 0.05);
            });
        if (!goesOn)
          faults.push_back("a sign at " + sl::At(tip) + " on a line from " + sl::At(c.A) + " to " +
                           sl::At(c.B) + " that goes on from nothing of the part");
        for (const sl::TSeg& g : outline) {
          sl::TPoint at;
          if (sl::Meet(c, g, at) && sl::Distance(at, {c.A, c.A}) > 0.2 && sl::Distance(at, {c.B, c.B}) > 0.2)
            faults.push_back("a sign's line from " + sl::At(c.A) + " to " + sl::At(c.B) +
                             " through the outline at " + sl::At(at));
        }
      }
    }
  return faults;
}

class SignCarrierSheets : public ::testing::Test, public adaptertest::HostedModeller
{
protected:
  SignCarrierSheets() { stdtest::LoadShipped(); }

  // Every sheet of the part at size s: no dimension's line across another's or a sign, none out of
  // reach, no text crossed, every sign on its surface and every line carrying one sound.
  void ExpectClear(const char* name, int s)
  {
    SCOPED_TRACE(std::string(name) + " " + std::to_string(s));
    const std::vector<txhost::SvgLayout> sheets = stdtest::MouldSheetLayouts(H, Dir.path(), name, s);
    ASSERT_FALSE(sheets.empty());
    for (const txhost::SvgLayout& l : sheets)
      for (const auto& check :
           {sl::DimensionLinesCrossing, sl::TextsCrossed, sl::SignsOffTheirSurfaces, CarriersAstray})
        EXPECT_TRUE(check(l).empty()) << Faults(check(l));
  }
};

// The threaded pillar whose thread ends 2 past the collar face, collar and fixed part 10 each: the
// depth stands above the part, clear of the guide's length below, and the collar face's sign, crowded
// on the face's line between the collar's other face and the fixed end, stands below the lengths.
TEST_F(SignCarrierSheets, TheThreadedPillarsCrowdedCollarFaceSignLeavesTheDepthItsPlaceAbove)
{
  for (int row : {34, 35, 36})
    ExpectClear("guide_pillar_threaded", row);
}

// The ejector channel at half size: the collar's back face, 15 and 50 long lines under it 12 apart,
// has its sign on the face's line past the lengths, not across them.
TEST_F(SignCarrierSheets, TheEjectorChannelsCollarSignStandsPastTheLengthsUnderIt)
{
  ExpectClear("ejector_channel", 1);
}

// The guide plug at half size: the rear fit's sign slides off the fit's diameter line along its surface's
// extension line past the rear end, and the collar face's sign, crossed under the collar, stands on its
// face's line above the collar.
TEST_F(SignCarrierSheets, TheGuidePlugsSignsLeaveTheLinesAcrossTheirArms)
{
  const std::vector<txhost::SvgLayout> sheets = stdtest::MouldSheetLayouts(H, Dir.path(), "guide_plug", 1);
  ASSERT_FALSE(sheets.empty());
  for (const txhost::SvgLayout& l : sheets) {
    for (const std::string& f : sl::DimensionLinesCrossing(l))
      EXPECT_EQ(f.find("(103.00, 238.25) to (103.00, 266.95)"), std::string::npos) << f;
    EXPECT_TRUE(CarriersAstray(l).empty()) << Faults(CarriersAstray(l));
  }
}

// Over every part at its first and last rows, or at half and twice its size: each line the layout drew
// to carry a sign goes on from the part's own lines and runs through none of its outlines.
TEST_F(SignCarrierSheets, EveryLineCarryingASignGoesOnFromThePart)
{
  for (const stdtest::mouldparts::TPart& p : stdtest::mouldparts::Parts) {
    std::vector<int> sizes{1, 4};
    if (p.Table != 0) sizes = {1, ABaseDetail.SocketCount(p.Table) - 1};
    for (int s : sizes)
      for (const txhost::SvgLayout& l : stdtest::MouldSheetLayouts(H, Dir.path(), p.Name, s))
        EXPECT_TRUE(CarriersAstray(l).empty()) << p.Name << " " << s << Faults(CarriersAstray(l));
  }
}

} // namespace
