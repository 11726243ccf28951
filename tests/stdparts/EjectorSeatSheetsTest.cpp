// The ejector plug's seat end: the seat angle's arc and rays and the seat edge's radius leader cross no
// other dimension's line or extension line, and the leader no section, at every size the part is drawn.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <string>
#include <vector>

#include "../adapter/AdapterSupport.h"
#include "MouldSheetLayout.h"
#include "SheetLinesCheck.h"
#include "StdPartsSupport.h"

namespace {

namespace seatl = stdtest::sheetlines;

// Every crossing of an angle's arc or ray, or of a leader, with another dimension's line, arc, leader or
// extension line.
std::vector<std::string> ArcsAndLeadersCrossing(const txhost::SvgLayout& layout)
{
  const std::vector<seatl::TDimensionLines> dims = seatl::DimensionLinesOf(layout);
  std::set<int> curved;
  for (const txhost::SvgPolyline& l : layout.Lines)
    if (l.Symbol >= 0 && (l.Kind == "dimension-arc" || l.Kind == "leader")) curved.insert(l.Symbol);
  std::vector<std::string> faults;
  for (const int i : curved)
    for (std::size_t j = 0; j < dims.size(); ++j) {
      if (int(j) == i) continue;
      const seatl::TDimensionLines &a = dims[std::size_t(i)], &b = dims[j];
      for (const seatl::TSeg& s : a.Own)
        for (const auto* others : {&b.Own, &b.Extensions})
          for (const seatl::TSeg& t : *others) {
            seatl::TPoint at;
            if (seatl::CrossAcross(s, t, a.Ends, at) && seatl::CrossAcross(s, t, b.Ends, at))
              faults.push_back("dimension " + std::to_string(i) + "'s arc or leader across dimension " +
                               std::to_string(j) + " at " + seatl::At(at));
          }
    }
  return faults;
}

// Whether (x, y) lies inside the closed polygon (even-odd).
bool InsideHatch(const std::vector<seatl::TPoint>& poly, double x, double y)
{
  bool in = false;
  for (std::size_t i = 0, j = poly.size() - 1; i < poly.size(); j = i++)
    if ((poly[i].second > y) != (poly[j].second > y) &&
        x < poly[j].first +
                (y - poly[j].second) / (poly[i].second - poly[j].second) * (poly[i].first - poly[j].first))
      in = !in;
  return in;
}

// Every place a radius's leader runs through a hatched section: sampled each half millimetre, its first and
// last half millimetre apart (where it meets the arc it sizes).
std::vector<std::string> LeadersThroughSections(const txhost::SvgLayout& layout)
{
  std::vector<std::string> faults;
  for (const txhost::SvgPolyline& l : layout.Lines) {
    if (l.Kind != "leader") continue;
    for (const seatl::TSeg& s : seatl::Segments(l)) {
      const double len = std::hypot(s.B.first - s.A.first, s.B.second - s.A.second);
      for (double t = 0.5; t < len - 0.5; t += 0.5) {
        const double x = s.A.first + (s.B.first - s.A.first) * t / len,
                     y = s.A.second + (s.B.second - s.A.second) * t / len;
        if (std::any_of(layout.Lines.begin(), layout.Lines.end(), [x, y](const txhost::SvgPolyline& h) {
              return h.Kind == "hatch" && InsideHatch(h.Points, x, y);
            })) {
          faults.push_back("a leader through a section at " + seatl::At({x, y}));
          break;
        }
      }
    }
  }
  return faults;
}

class EjectorSeatSheets : public ::testing::Test, public adaptertest::HostedModeller
{
protected:
  EjectorSeatSheets() { stdtest::LoadShipped(); }

  txhost::SvgLayout Sheet(int s) { return stdtest::MouldSheetLayout(H, Dir.path(), "ejector_plug", s); }
};

// The seat's 91° arc stood 25 out from the end face, across its diameter's extension lines drawn 30 out.
TEST_F(EjectorSeatSheets, TheSeatAngleCrossesNoExtensionLine)
{
  for (const int s : {1, 2, 4}) {
    SCOPED_TRACE(testing::Message() << "sizes x" << s / 2.0);
    const txhost::SvgLayout layout = Sheet(s);
    ASSERT_FALSE(layout.Lines.empty());
    for (const std::string& fault : ArcsAndLeadersCrossing(layout))
      ADD_FAILURE() << fault;
  }
}

// The arc's ray along the far end face, 29-33 below the seat's edge, stood beside the view across the level
// of a collar reaching that far out: a collar swept from well inside the arc to past its ray's end.
TEST_F(EjectorSeatSheets, TheSeatAnglesRayStandsClearOfTheCollarsLevel)
{
  for (double below = 24.0; below <= 36.0; below += 1.5) {
    SCOPED_TRACE(testing::Message() << "collar " << below << " below the seat's edge");
    const std::vector<txhost::SvgLayout> sheets =
        stdtest::MouldSheetLayouts(H, Dir.path(), "ejector_plug", 0, 1.75, [below](TDetail& d) {
          auto& p = dynamic_cast<TEjectorPlug&>(d);
          p.CollarRadius = p.ECRadius + 0.1 + below;
        });
    ASSERT_EQ(sheets.size(), 1u);
    for (const std::string& fault : seatl::LinesThroughOtherViews(sheets[0]))
      ADD_FAILURE() << fault;
  }
}

// The seat edge's rounding was sized from above the part, its leader down through the upper wall and the
// bore; led out through the seat's mouth, it crosses no section and no other dimension.
TEST_F(EjectorSeatSheets, TheSeatEdgesRadiusLeavesThroughTheMouth)
{
  for (const int s : {2, 4}) {
    SCOPED_TRACE(testing::Message() << "sizes x" << s / 2.0);
    const txhost::SvgLayout layout = Sheet(s);
    ASSERT_TRUE(std::any_of(layout.Lines.begin(), layout.Lines.end(),
                            [](const txhost::SvgPolyline& l) { return l.Kind == "leader"; }));
    for (const std::string& fault : LeadersThroughSections(layout))
      ADD_FAILURE() << fault;
  }
}

// A seat too narrow at every scale its length allows for the edge's radius's value: the radius is sized once,
// on the edge's detail titled by the letter its callout carries, and the callout's leader crosses no size's
// line; every other sheet sizes it on the view.
TEST_F(EjectorSeatSheets, ANarrowSeatsEdgeIsSizedOnItsDetail)
{
  int detailed = 0;
  for (const double k : {1.0, 2.0})
    for (double f = 0.15; f <= 0.4; f += 0.01) {
      SCOPED_TRACE(testing::Message() << "sizes x" << k << ", the seat's bore x" << f);
      const std::vector<txhost::SvgLayout> sheets =
          stdtest::MouldSheetLayouts(H, Dir.path(), "ejector_plug", 0, k,
                                     [f](TDetail& d) { dynamic_cast<TEjectorPlug&>(d).ECRadius *= f; });
      if (sheets.empty()) continue;
      const txhost::SvgLayout& layout = sheets.back();
      const auto count = [&layout](const std::string& text) {
        return std::count_if(layout.Labels.begin(), layout.Labels.end(),
                             [&text](const txhost::SvgLabel& l) { return l.Text == text; });
      };
      EXPECT_EQ(count("R0,2"), 1);
      if (count("Б(10:1)") == 0) {
        EXPECT_EQ(count("Б"), 0);
        continue;
      }
      ++detailed;
      EXPECT_EQ(count("Б"), 1);
      const std::vector<seatl::TDimensionLines> dims = seatl::DimensionLinesOf(layout);
      for (const txhost::SvgPolyline& l : layout.Lines) {
        if (l.Kind != "leader" || l.Symbol >= 0) continue;
        for (const seatl::TSeg& s : seatl::Segments(l))
          for (const seatl::TDimensionLines& d : dims)
            for (const auto* lines : {&d.Own, &d.Extensions})
              for (const seatl::TSeg& t : *lines) {
                seatl::TPoint at;
                if (seatl::Meet(s, t, at))
                  ADD_FAILURE() << "the callout's leader across a size at " << seatl::At(at);
              }
      }
    }
  EXPECT_GT(detailed, 0);
}

} // namespace
