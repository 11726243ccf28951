// The locating rings' sheets at half, full and double size: concentric diameters of the plan view meet
// nowhere (the largest runs through the centre, the others come to their circles from outside), and the
// sections' sizes stand clear of one another and within reach of what they size.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "MouldSheetLayout.h"
#include "SheetLinesCheck.h"

namespace {

namespace sl = stdtest::sheetlines;

class RingPlanSheets : public ::testing::Test, public adaptertest::HostedModeller
{
protected:
  RingPlanSheets() { stdtest::LoadShipped(); }

  std::vector<txhost::SvgLayout> Sheets(const char* ring, int half)
  {
    return stdtest::MouldSheetLayouts(H, Dir.path(), ring, half);
  }
};

// The plan view's centre: that of the largest whole circle drawn in a main line.
sl::TPoint PlanCentre(const txhost::SvgLayout& l)
{
  const txhost::SvgPolyline* outer = nullptr;
  for (const txhost::SvgPolyline& c : l.Lines)
    if (sl::MainLine(c) && c.R > 0 && c.Points.size() > 8 && (outer == nullptr || c.R > outer->R)) outer = &c;
  return outer == nullptr ? sl::TPoint{NAN, NAN} : sl::TPoint{outer->CX, outer->CY};
}

// The centre a diameter's arrows name: between two arrows, or a radius on from one pointing inwards.
sl::TPoint NamedCentre(const txhost::SvgCircleSize& c)
{
  if (c.Arrows.size() == 2) return {(c.Arrows[0].X + c.Arrows[1].X) / 2, (c.Arrows[0].Y + c.Arrows[1].Y) / 2};
  const txhost::SvgArrow& a = c.Arrows.front();
  const double d = std::hypot(a.Dx, a.Dy);
  return {a.X + c.Radius * a.Dx / d, a.Y + c.Radius * a.Dy / d};
}

// A diameter of the fixing circle and one of the column tail's hole circle share the plan's centre; both
// ran through it at their own angles and crossed there. Now the largest keeps its two arrows through the
// centre and each smaller one has one arrow on its circle pointing at the centre from outside; no two
// dimensions' lines meet within a millimetre of the centre.
TEST_F(RingPlanSheets, ConcentricDiametersMeetNowhere)
{
  for (const char* ring : {"locating_ring", "locating_ring_shoulder"})
    for (const int half : {1, 2, 4}) {
      const std::vector<txhost::SvgLayout> sheets = Sheets(ring, half);
      ASSERT_EQ(sheets.size(), 2u);
      for (std::size_t s = 0; s < sheets.size(); ++s) {
        SCOPED_TRACE(std::string(ring) + " half " + std::to_string(half) + " sheet " + std::to_string(s));
        const txhost::SvgLayout& l = sheets[s];
        const sl::TPoint centre = PlanCentre(l);
        ASSERT_TRUE(std::isfinite(centre.first));
        std::vector<const txhost::SvgCircleSize*> about;
        for (const txhost::SvgCircleSize& c : l.CircleSizes) {
          if (c.Arrows.empty()) continue;
          const sl::TPoint at = NamedCentre(c);
          if (std::hypot(at.first - centre.first, at.second - centre.second) < 0.05) about.push_back(&c);
        }
        // The column tail's sheet has both circles dimensioned, the bore's the fixing circle alone.
        ASSERT_EQ(about.size(), s == 0 ? 1u : 2u);
        const txhost::SvgCircleSize* largest = about.front();
        for (const txhost::SvgCircleSize* c : about)
          if (c->Radius > largest->Radius) largest = c;
        for (const txhost::SvgCircleSize* c : about)
          EXPECT_EQ(c->Arrows.size(), c == largest ? 2u : 1u) << c->Text;
        const std::vector<sl::TDimensionLines> dims = sl::DimensionLinesOf(l);
        for (std::size_t i = 0; i < dims.size(); ++i)
          for (std::size_t j = i + 1; j < dims.size(); ++j)
            for (const sl::TSeg& a : dims[i].Own)
              for (const sl::TSeg& b : dims[j].Own) {
                sl::TPoint at;
                if (!sl::Meet(a, b, at)) continue;
                EXPECT_GT(std::hypot(at.first - centre.first, at.second - centre.second), 1.0)
                    << "two dimensions' lines meet at the centre " << sl::At(at);
              }
      }
    }
}

// The flat ring, at every size: no dimension's line across another's or a hole, none far from what it
// sizes (its lead-in's angle had its ray along the rim across the lead-in's own length; the outside's
// diameter stood across that angle's arc; the plan's diameters crossed at the centre). The shouldered
// ring: its screws' holes were dimensioned 35 off them past the shoulder at double size.
TEST_F(RingPlanSheets, SizesStandClearAndNearWhatTheySize)
{
  for (const int half : {1, 2, 4}) {
    for (const txhost::SvgLayout& l : Sheets("locating_ring", half)) {
      SCOPED_TRACE("locating_ring half " + std::to_string(half));
      for (const std::string& fault : sl::DimensionLinesCrossing(l))
        ADD_FAILURE() << fault;
      for (const std::string& fault : sl::DimensionsOutOfReach(l))
        ADD_FAILURE() << fault;
    }
    for (const txhost::SvgLayout& l : Sheets("locating_ring_shoulder", half)) {
      SCOPED_TRACE("locating_ring_shoulder half " + std::to_string(half));
      for (const std::string& fault : sl::DimensionsOutOfReach(l))
        ADD_FAILURE() << fault;
      for (const std::string& fault : sl::DimensionLinesCrossing(l))
        if (fault.find("hole") != std::string::npos) ADD_FAILURE() << fault;
    }
  }
}

} // namespace
