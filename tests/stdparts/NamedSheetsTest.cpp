// Sheets a designer found faulty, each checked for what was wrong with it, and the release check's own
// measures against an independent one. Set HXCAD_KEEP_SHEETS to a folder to keep the sheets' pictures there.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "../adapter/AdapterSupport.h"
#include "MouldPartList.h"
#include "MouldSheetLayout.h"
#include "PushedSizes.h"
#include "ReleaseCheck.h"
#include "SheetLinesCheck.h"
#include "StdPartsSupport.h"
#include "hxcadkit/adapter/drModelerAPI.h"
#include "hxcadkit/drawing/MathDetails.h"
#include "txapi/Enums.h"
#include "txhost/lib/SvgWriter.h"

namespace {

using namespace stdtest::release;

// The sheets a designer found faulty: each item named stays inside the frame and off the views.
class NamedSheets : public ::testing::Test, public adaptertest::HostedModeller
{
protected:
  NamedSheets() { stdtest::LoadShipped(); }

  // The layout of the last sheet of the piece at size s.
  txhost::SvgLayout Sheet(const char* name, int s)
  {
    return stdtest::MouldSheetLayout(H, Dir.path(), name, s);
  }

  static std::vector<const txhost::SvgLabel*> Labels(const txhost::SvgLayout& l, const std::string& prefix)
  {
    std::vector<const txhost::SvgLabel*> found;
    for (const txhost::SvgLabel& label : l.Labels)
      if (label.Text.rfind(prefix, 0) == 0) found.push_back(&label);
    return found;
  }

  static bool InFrame(const txhost::SvgLabel& l)
  {
    for (int k = 0; k < 4; ++k)
      if (l.X[k] < 19.5 || l.X[k] > 415.5 || l.Y[k] < 4.5 || l.Y[k] > 292.5) return false;
    return true;
  }

  // Whether a line of the kinds kept off crosses the label.
  static bool OnLines(const txhost::SvgLayout& layout, const txhost::SvgLabel& l)
  {
    const TQuad box = Corners(l, 0.2);
    for (const txhost::SvgPolyline& line : layout.Lines) {
      if (!Keeps(line)) continue;
      for (std::size_t k = 0; k + 1 < line.Points.size(); ++k)
        if (Crosses(box, line.Points[k], line.Points[k + 1])) return true;
      const double cx = (box[0].first + box[2].first) / 2, cy = (box[0].second + box[2].second) / 2;
      if (line.Kind == "hatch" && InPolygon(line.Points, cx, cy)) return true;
    }
    return Enclosed(layout, (box[0].first + box[2].first) / 2, (box[0].second + box[2].second) / 2);
  }

  // Whether two main lines cross each other away from their ends: one view drawn over another.
  static bool ViewsCross(const txhost::SvgLayout& layout)
  {
    std::vector<std::array<double, 4>> segments;
    for (const txhost::SvgPolyline& line : layout.Lines)
      if (line.Kind == "curve" && line.Style == txapi::txCSNormal)
        for (std::size_t k = 0; k + 1 < line.Points.size(); ++k)
          segments.push_back({line.Points[k].first, line.Points[k].second, line.Points[k + 1].first,
                              line.Points[k + 1].second});
    auto side = [](const std::array<double, 4>& g, double x, double y) {
      return (g[2] - g[0]) * (y - g[1]) - (g[3] - g[1]) * (x - g[0]);
    };
    for (std::size_t i = 0; i < segments.size(); ++i)
      for (std::size_t j = i + 1; j < segments.size(); ++j) {
        const auto &a = segments[i], &b = segments[j];
        const double la = std::hypot(a[2] - a[0], a[3] - a[1]), lb = std::hypot(b[2] - b[0], b[3] - b[1]);
        const double a1 = side(a, b[0], b[1]) / la, a2 = side(a, b[2], b[3]) / la;
        const double b1 = side(b, a[0], a[1]) / lb, b2 = side(b, a[2], a[3]) / lb;
        const double e = 0.05;
        if (((a1 > e && a2 < -e) || (a1 < -e && a2 > e)) && ((b1 > e && b2 < -e) || (b1 < -e && b2 > e)))
          return true;
      }
    return false;
  }
};

TEST_F(NamedSheets, SignsAndAnglesOfTheLargeGuidesStayOnThePaper)
{
  for (int row : {18, 36}) {
    const txhost::SvgLayout l = Sheet("guide_pillar", row);
    ASSERT_FALSE(Labels(l, "0,4").empty()) << row;
    for (const auto* label : Labels(l, "0,4"))
      EXPECT_TRUE(InFrame(*label)) << "pillar row " << row << ": " << Where(*label);
  }
  for (int row : {6, 12}) {
    const txhost::SvgLayout l = Sheet("locating_sleeve", row);
    for (const char* item : {"0,8", "30\u00B0"}) {
      ASSERT_FALSE(Labels(l, item).empty()) << row << " " << item;
      for (const auto* label : Labels(l, item))
        EXPECT_TRUE(InFrame(*label)) << "sleeve row " << row << ": " << Where(*label);
    }
    for (const txhost::SvgSymbolBox& b : l.Symbols)
      EXPECT_TRUE(b.X1 >= 19.5 && b.Y1 >= 4.5 && b.X2 <= 415.5 && b.Y2 <= 292.5)
          << "sleeve row " << row << ": " << b.Kind;
  }
}

// A part too long for A3 grows its sheet to A2: its views, placed for A3, stand on the larger sheet inside
// its frame, and what is settled about them is settled inside the larger frame (the guide pillar with a
// seat 88 long ran across the binding margin, its lead-in's angle off the paper).
TEST_F(NamedSheets, AGrownSheetHoldsItsViewsAndTextsInsideItsFrame)
{
  for (int row : {18, 36}) {
    SCOPED_TRACE("guide pillar row " + std::to_string(row) + " with a seat 88 long");
    const std::vector<txhost::SvgLayout> sheets =
        stdtest::MouldSheetLayouts(H, Dir.path(), "guide_pillar", row, 1.0, [](TDetail& d) {
          for (const auto& [size, value] : stdtest::pushed::SizesOf(d))
            if (std::string(size) == "OFLen") *value = 88;
        });
    ASSERT_EQ(sheets.size(), 1u);
    EXPECT_EQ(sheets[0].SheetWidth, 594.0) << "grown to A2";
    for (const TFinding& f : Findings(sheets[0]))
      ADD_FAILURE() << f.Kind << ": " << f.What;
  }
}

TEST_F(NamedSheets, DetailsStayOnThePaperAndOffTheirParts)
{
  // The guide plug at half size: its groove detail with its sizes.
  const txhost::SvgLayout plug = Sheet("guide_plug", 1);
  ASSERT_FALSE(Labels(plug, "0,5").empty());
  for (const txhost::SvgLabel& label : plug.Labels)
    EXPECT_TRUE(label.Role == "view-name" || InFrame(label)) << "guide plug: " << Where(label);
  // The stop pin at twice its size: the detail beside the pin, not on it.
  const txhost::SvgLayout pin = Sheet("stop_pin", 4);
  ASSERT_FALSE(Labels(pin, "А(").empty());
  for (const auto* label : Labels(pin, "А("))
    EXPECT_FALSE(OnLines(pin, *label)) << "stop pin: " << Where(*label);
  EXPECT_FALSE(ViewsCross(pin)) << "the stop pin's detail lies on the pin";
  // The protect support: the detail's title clear of its boundary, its angle off the hatched section.
  for (int s : Halves) {
    const txhost::SvgLayout support = Sheet("protect_support", s);
    ASSERT_FALSE(Labels(support, "А(").empty()) << s;
    for (const auto* label : Labels(support, "А("))
      EXPECT_FALSE(OnLines(support, *label)) << "protect support " << s << ": " << Where(*label);
    for (const auto* label : Labels(support, "45\u00B0"))
      for (const txhost::SvgPolyline& line : support.Lines) {
        const TQuad box = Corners(*label, 0.2);
        EXPECT_FALSE(line.Kind == "hatch" && InPolygon(line.Points, (box[0].first + box[2].first) / 2,
                                                       (box[0].second + box[2].second) / 2))
            << "protect support " << s << ": " << Where(*label);
      }
  }
}

TEST_F(NamedSheets, TheSprueBushsRequirementsKeepOffItsSection)
{
  const txhost::SvgLayout l = Sheet("sprue_bush", 4);
  std::vector<const txhost::SvgLabel*> requirements, values;
  for (const txhost::SvgLabel& label : l.Labels) {
    if (label.Role == "requirements") requirements.push_back(&label);
    if (label.Role == "dimension") values.push_back(&label);
  }
  ASSERT_FALSE(requirements.empty());
  ASSERT_FALSE(Labels(l, "\u23005H11").empty());
  for (const auto* r : requirements) {
    EXPECT_TRUE(InFrame(*r)) << Where(*r);
    EXPECT_FALSE(OnLines(l, *r)) << Where(*r);
    for (const auto* v : values)
      EXPECT_FALSE(Overlap(Corners(*r, 0.2), Corners(*v, 0.2))) << Where(*r) << " and " << Where(*v);
  }
}

// The sprue's taper angle has its vertex at the cone's apex, far off the part: its arc stands just past
// the bore's wide end, its rays from the walls' ends, its value in the frame and crossed by nothing, its
// arrowheads (3 long, 1.7 wide) on no other value there (the mouth's rounding's).
TEST_F(NamedSheets, TheSprueBushsTaperAngleStandsByItsBore)
{
  for (const int row : {1, 2, 4, 13}) {
    SCOPED_TRACE(row);
    const txhost::SvgLayout l = Sheet("sprue_bush", row);
    const std::vector<stdtest::sheetlines::TSeg> outline = stdtest::sheetlines::OutlineSegments(l);
    ASSERT_FALSE(outline.empty());
    const auto nearest = [&outline](stdtest::sheetlines::TPoint p) {
      double d = 1e9;
      for (const auto& s : outline)
        d = std::min(d, stdtest::sheetlines::Distance(p, s));
      return d;
    };
    const std::vector<const txhost::SvgLabel*> values = Labels(l, "3\u00b0");
    ASSERT_EQ(values.size(), 1u);
    EXPECT_TRUE(InFrame(*values[0])) << Where(*values[0]);
    EXPECT_FALSE(OnLines(l, *values[0])) << Where(*values[0]);
    int arcs = 0;
    for (std::size_t i = 0; i < l.Lines.size(); ++i) {
      if (l.Lines[i].Kind != "dimension-arc") continue;
      ++arcs;
      const auto& arc = l.Lines[i].Points;
      ASSERT_GE(arc.size(), 2u);
      for (const auto& [tip, next] :
           {std::pair{arc.front(), arc[1]}, std::pair{arc.back(), arc[arc.size() - 2]}}) {
        // At 6.5 times (row 13) the sheet grows to A2 and settles there: the bore's diameter stands across
        // the bore's end between the rays, and the arc a value's height and its gaps (3.5 + 2 x 1.5) further
        // out.
        EXPECT_LT(nearest(tip), row == 13 ? 16.5 : 10.0)
            << "the arc's end at " << tip.first << ", " << tip.second;
        const double dx = next.first - tip.first, dy = next.second - tip.second, n = std::hypot(dx, dy);
        const double ux = dx / n, uy = dy / n, bx = tip.first + 3 * ux, by = tip.second + 3 * uy;
        const std::vector<std::pair<double, double>> head = {
            tip, {bx - 0.86 * uy, by + 0.86 * ux}, {bx + 0.86 * uy, by - 0.86 * ux}, tip};
        for (const txhost::SvgLabel& other : l.Labels) {
          if (&other == values[0]) continue;
          EXPECT_FALSE(Overlap(Corners(other, 0.2), head)) << Where(other) << " on the angle's arrowhead";
        }
      }
      // Its rays follow it, each starting by the wall it measures.
      for (std::size_t j = i + 1; j < i + 3 && j < l.Lines.size(); ++j) {
        ASSERT_EQ(l.Lines[j].Kind, "extension");
        EXPECT_LT(nearest(l.Lines[j].Points.front()), 1.0);
      }
    }
    EXPECT_EQ(arcs, 1);
  }
}

// The guide parts' sheets where callout letters sat on their own leaders, values wider than the gap
// between their extension lines sat on them, a thick guide's section stood among the main view's sizes
// and a bore's sign wrote its value on the axis: their lines now stand apart from their texts and views.
TEST_F(NamedSheets, GuideSheetsKeepTheirTextsAndViewsClearOfLines)
{
  namespace sl = stdtest::sheetlines;
  const std::pair<const char*, int> sheets[] = {{"guide_pillar", 4},
                                                {"guide_pillar", 28},
                                                {"guide_pillar_threaded", 28},
                                                {"guide_bush_4", 5},
                                                {"guide_bush_2", 5}};
  for (const auto& [name, row] : sheets) {
    SCOPED_TRACE(std::string(name) + " row " + std::to_string(row));
    const txhost::SvgLayout l = Sheet(name, row);
    ASSERT_FALSE(l.Lines.empty());
    for (const auto& check : {sl::SignsOffTheirSurfaces, sl::TextsCrossed, sl::LinesThroughOtherViews})
      for (const std::string& fault : check(l))
        ADD_FAILURE() << fault;
  }
}

// The guides' bores and the guide plug carry fine signs close to their axes: no sign's arm or shelf runs
// across or along an axis, at any row of the guide bushes' tables and at every size of the plug.
TEST_F(NamedSheets, SignsKeepOffTheAxes)
{
  std::vector<std::pair<const char*, int>> sheets;
  for (const char* bush : {"guide_bush_2", "guide_bush_4"})
    for (int row = 1; row < ABaseDetail.SocketCount(bush[11] - '0'); row += 3)
      sheets.emplace_back(bush, row);
  for (int half : Halves)
    sheets.emplace_back("guide_plug", half);
  for (const auto& [name, size] : sheets) {
    SCOPED_TRACE(std::string(name) + " at " + std::to_string(size));
    const txhost::SvgLayout l = Sheet(name, size);
    ASSERT_FALSE(l.Lines.empty());
    for (const std::string& fault : stdtest::sheetlines::SignsOnAxes(l))
      ADD_FAILURE() << fault;
  }
}

// The sprue bush's sphere sign stands on the radius's leader, clear of the radius's value. At 2x the
// leader holds no free place off the value, and the sign still stands at its end under the value.
TEST_F(NamedSheets, TheSpheresSignStandsClearOfItsRadius)
{
  for (int half : {1, 2}) {
    SCOPED_TRACE("sprue_bush at " + std::to_string(half));
    const txhost::SvgLayout l = Sheet("sprue_bush", half);
    ASSERT_FALSE(l.Lines.empty());
    for (const std::string& fault : stdtest::sheetlines::SignsUnderValues(l))
      ADD_FAILURE() << fault;
  }
}

// Signs with no straight line of their own in a view (a hole seen end on, a bore too narrow for the
// sign) stand on a leader or an extension line, their values crossed by nothing.
TEST_F(NamedSheets, SignsOfHolesAndNarrowBoresStandOnLinesOfTheirOwn)
{
  namespace sl = stdtest::sheetlines;
  // The sheet, and the signs whose values nothing may cross: all of them, or those of one value.
  const std::tuple<const char*, int, std::string> sheets[] = {{"guide_plug", 1, "rough \"0,4\""},
                                                              {"locating_ring", 1, "rough"},
                                                              {"locating_ring", 2, "rough"},
                                                              {"locating_ring", 4, "rough"}};
  for (const auto& [name, half, signs] : sheets) {
    SCOPED_TRACE(std::string(name) + " half " + std::to_string(half));
    const txhost::SvgLayout l = Sheet(name, half);
    ASSERT_FALSE(l.Lines.empty());
    for (const std::string& fault : sl::SignsOffTheirSurfaces(l))
      ADD_FAILURE() << fault;
    for (const std::string& fault : sl::TextsCrossed(l))
      EXPECT_NE(fault.rfind(signs, 0), 0u) << fault;
  }
}

// A collar face whose sign would have its value crossed by extension lines on both sides below the part
// gets a thin extension line of its own above the collar, and the sign stands on it. The drawing code
// reckons where the value lies across the sign's base (AcrossSignValue): every distance the sheet
// writes the value at counts, and none well clear of it. (The ejector channel's collar, crowded at 1:1,
// is drawn enlarged where it is narrow: on paper its face has room.)
TEST_F(NamedSheets, ACrowdedFaceSignStandsOnALineOfItsOwn)
{
  namespace sl = stdtest::sheetlines;
  const std::tuple<const char*, int, std::string> sheets[] = {{"guide_pillar_threaded", 34, "3,2"},
                                                              {"guide_bush_4", 17, "1,6"}};
  for (const auto& [name, size, value] : sheets) {
    SCOPED_TRACE(std::string(name) + " " + std::to_string(size));
    const txhost::SvgLayout l = Sheet(name, size);
    ASSERT_FALSE(l.Lines.empty());
    for (const auto& check : {sl::SignsOffTheirSurfaces, sl::TextsCrossed})
      for (const std::string& fault : check(l))
        ADD_FAILURE() << fault;
    // The sign whose tip (where its first two strokes meet) is on a thin line of the view, its value the
    // nearest sign's label (other signs may stand on lines of their own too).
    const auto valueAt = [&l](const sl::TPoint& tip) {
      std::string text;
      double nearest = 1e300;
      for (const txhost::SvgLabel& t : l.Labels)
        if (t.Role == "rough" && std::hypot(t.X[0] - tip.first, t.Y[0] - tip.second) < nearest)
          nearest = std::hypot(t.X[0] - tip.first, t.Y[0] - tip.second), text = t.Text;
      return text;
    };
    std::vector<sl::TPoint> tips;
    for (const sl::TPoint& tip : sl::SignTips(l))
      for (const txhost::SvgPolyline& t : l.Lines)
        if (t.Kind == "curve" && t.Style == txapi::txCSThin && valueAt(tip) == value)
          for (const sl::TSeg& g : sl::Segments(t))
            if (sl::Distance(tip, g) < 0.01) tips.push_back(tip);
    ASSERT_EQ(tips.size(), 1u);
    // Its value: the nearest label of the sign's text; the line is upright.
    const txhost::SvgLabel* label = nullptr;
    double nearest = 1e300;
    for (const txhost::SvgLabel& t : l.Labels) {
      const double d = std::hypot(t.X[0] - tips[0].first, t.Y[0] - tips[0].second);
      if (t.Role == "rough" && t.Text == value && d < nearest) nearest = d, label = &t;
    }
    ASSERT_NE(label, nullptr);
    double from = 1e300, to = 0;
    for (int k = 0; k < 4; ++k)
      from = std::min(from, std::fabs(label->X[k] - tips[0].first)),
      to = std::max(to, std::fabs(label->X[k] - tips[0].first));
    for (double d = 0; d < 20; d += 0.05) {
      if (d > from + 0.2 && d < to - 0.2) {
        EXPECT_TRUE(AcrossSignValue(d)) << d;
      }
      if (d < from - 0.5 || d > to + 0.5) {
        EXPECT_FALSE(AcrossSignValue(d)) << d;
      }
    }
  }
}

// An ejector channel whose collar is too narrow on paper for its diameter's line to keep 2 mm from both
// faces is drawn enlarged, the title block giving the scale; one whose collar has the room stays at 1:1.
// Enlarged or not, every text of its view (values, signs, the hardened zone's note on its leader) stands
// 3.5 high on the sheet.
TEST_F(NamedSheets, ANarrowCollarIsDrawnEnlarged)
{
  for (const double k : {0.5, 0.6, 0.75, 1.0}) {
    SCOPED_TRACE("x" + std::to_string(k));
    const std::vector<txhost::SvgLayout> sheets =
        stdtest::MouldSheetLayouts(H, Dir.path(), "ejector_channel", 0, k);
    ASSERT_FALSE(sheets.empty());
    const auto& labels = sheets.back().Labels;
    // The title block's scale: "2:1", or "2,5:1" where the fit section wants the room too.
    const bool enlarged = std::any_of(labels.begin(), labels.end(), [](const txhost::SvgLabel& t) {
      return t.Text == "2:1" || t.Text == "2,5:1";
    });
    EXPECT_EQ(enlarged, k < 0.8);
    ASSERT_FALSE(Labels(sheets.back(), "HRC\u044d 52...56").empty());
    for (const txhost::SvgLabel& t : labels)
      if (t.Role != "sheet" && t.Role != "corner") {
        EXPECT_NEAR(t.Height, 3.5, 1e-9) << Where(t);
      }
  }
}

// Section marks are drawn as thick strokes the checks once did not see: the unthreaded pillars' mark Б,
// moved to the flat's middle, stood across the 30 degree angle's value on every third row. The ejector
// channel at twice its size gave its grade's depth 50 mm off the end face and a computed angle of its
// grade, a third size of a flat its length and depth fix. Now nothing crosses a mark, and each size stands
// by what it sizes.
TEST_F(NamedSheets, SectionMarksAndTheGradeStandClearOfTheirDimensions)
{
  namespace sl = stdtest::sheetlines;
  for (int row = 2; row <= 35; row += 3) {
    SCOPED_TRACE("guide pillar row " + std::to_string(row));
    const txhost::SvgLayout l = Sheet("guide_pillar", row);
    EXPECT_TRUE(std::any_of(l.Lines.begin(), l.Lines.end(), [](const auto& g) { return g.Kind == "cut"; }));
    for (const std::string& fault : sl::TextsCrossed(l))
      ADD_FAILURE() << fault;
  }
  for (int s : Halves) {
    SCOPED_TRACE("ejector channel " + std::to_string(s));
    const txhost::SvgLayout l = Sheet("ejector_channel", s);
    ASSERT_FALSE(Labels(l, "0,5\u00B10,1").empty());
    for (const std::string& fault : sl::DimensionsOutOfReach(l))
      ADD_FAILURE() << fault;
    for (const txhost::SvgLabel& label : l.Labels)
      EXPECT_EQ(label.Text.find("\u00B0"), std::string::npos) << "an angle on the pusher: " << Where(label);
  }
}

// The crossing and reach checks against what a draftsman knows of stacked sizes, on sheets made up for it: a
// part's lower edge y = 0 from x = 0 to 100 and two lengths from its left end, x = a and x = b (a < b), their
// lines at depths p and q below it. The shorter one's extension line runs across the longer one's line
// exactly when the longer one stands nearer; a size stands out of reach exactly when a gap of more than 30
// lies between the edge, the lines and it. A line through a hole off the part's centre crosses it; one
// through the centre of the part and its bore crosses nothing.
TEST(SheetLinesChecks, StackedSizesCrossExactlyWhenTheLongerStandsNearer)
{
  namespace sl = stdtest::sheetlines;
  const auto length = [](txhost::SvgLayout& l, int symbol, double x, double depth) {
    l.Lines.push_back({"extension", 0, {{0, 0}, {0, -depth - 2}}, 0, 0, 0, symbol});
    l.Lines.push_back({"extension", 0, {{x, 0}, {x, -depth - 2}}, 0, 0, 0, symbol});
    l.Lines.push_back({"dimension-line", 0, {{0, -depth}, {x, -depth}}, 0, 0, 0, symbol});
  };
  for (double a = 10; a < 100; a += 15)
    for (double b = a + 5; b < 100; b += 15)
      for (double p = 8; p <= 60; p += 7)
        for (double q = 8; q <= 60; q += 7) {
          if (std::fabs(p - q) < 1) continue;
          txhost::SvgLayout l;
          l.Lines.push_back({"curve", txapi::txCSNormal, {{0, 0}, {100, 0}, {100, 20}, {0, 20}, {0, 0}}});
          length(l, 0, a, p);
          length(l, 1, b, q);
          const std::string at = "a " + std::to_string(a) + " at " + std::to_string(p) + ", b " +
                                 std::to_string(b) + " at " + std::to_string(q);
          EXPECT_EQ(sl::DimensionLinesCrossing(l).size(), q < p ? 1u : 0u) << at;
          const double nearer = std::min(p, q), farther = std::max(p, q);
          // The shorter one's span has the longer one's line in it; the longer one's the shorter's only
          // over a part of it, which the check counts as over its span.
          const bool far = nearer > 30 || farther - nearer > 30;
          EXPECT_EQ(!sl::DimensionsOutOfReach(l).empty(), far) << at;
        }
  txhost::SvgLayout plan;
  const auto circle = [&plan](double x, double y, double r) {
    txhost::SvgPolyline c{"curve", txapi::txCSNormal, {}, x, y, r};
    for (int k = 0; k <= 72; ++k)
      c.Points.emplace_back(x + r * std::cos(k * 5 * 3.141592653589793 / 180),
                            y + r * std::sin(k * 5 * 3.141592653589793 / 180));
    c.Points.back() = c.Points.front();
    plan.Lines.push_back(c);
  };
  circle(0, 0, 50), circle(0, 0, 15), circle(30, 0, 5);
  plan.Lines.push_back({"dimension-line", 0, {{-50, 0}, {50, 0}}, 0, 0, 0, 0});
  EXPECT_TRUE(sl::DimensionLinesCrossing(plan).empty()) << "a diameter through the centre";
  plan.Lines.push_back({"leader", 0, {{32, 2}, {32, 20}}, 0, 0, 0, 1});
  EXPECT_EQ(sl::DimensionLinesCrossing(plan).size(), 1u) << "a leader across the hole off the centre";
  plan.Lines.push_back({"leader", 0, {{-10, -5}, {-10, 5}}, 0, 0, 0, 2});
  EXPECT_EQ(sl::DimensionLinesCrossing(plan).size(), 3u) << "a leader across the diameter's line";
}

// An angle's arc the layout finds off every outline is off it as the sheet draws it: the layout judges the
// arc in chords of a degree, the sheet draws it in 48 and a circle in chords of 5 degrees, whose middles lie
// nearer the centre than their ends. Circles of every size, arcs about their centres 1.8 to 2.4 farther
// out, starting anywhere, of every sweep.
TEST(SheetLinesChecks, AnArcTheLayoutFindsOffAnOutlineIsOffItAsDrawn)
{
  constexpr double Pi = 3.141592653589793;
  std::mt19937 random(42);
  const auto uniform = [&random](double a, double b) { return std::uniform_real_distribution<double>(a, b)(random); };
  int near = 0;
  for (int scene = 0; scene < 3000; ++scene) {
    const double X = 200, Y = 150, R = uniform(3, 200), r = R + uniform(1.8, 2.4);
    const double a1 = uniform(-180, 180), a2 = a1 + uniform(-200, 200);
    drApi::TSheetLayout layout;
    layout.Begin(420, 297, 200, 150, 0, 1);
    txhost::SvgLayout drawn;
    txhost::SvgPolyline circle{"curve", txapi::txCSNormal, {}, X, Y, R}, arc{"dimension-arc", 0, {}};
    for (int k = 0; k <= 72; ++k)
      circle.Points.emplace_back(X + R * std::cos(k * 5 * Pi / 180), Y + R * std::sin(k * 5 * Pi / 180));
    for (std::size_t k = 1; k < circle.Points.size(); ++k)
      layout.Outline(circle.Points[k - 1].first, circle.Points[k - 1].second, circle.Points[k].first,
                     circle.Points[k].second);
    for (int i = 0; i <= 48; ++i) {
      const double a = (a1 + (a2 - a1) * i / 48) * Pi / 180;
      arc.Points.emplace_back(X + r * std::cos(a), Y + r * std::sin(a));
    }
    drawn.Lines = {circle, arc};
    if (!stdtest::sheetlines::DimensionLinesOnOutlines(drawn).empty()) {
      ++near;
      EXPECT_TRUE(layout.ArcAlongOutline(X, Y, a1, a2, r))
          << "circle " << R << ", arc " << r << " from " << a1 << " to " << a2;
    }
  }
  EXPECT_GT(near, 300); // the scenes come near enough to the limit to mean something
}

} // namespace
