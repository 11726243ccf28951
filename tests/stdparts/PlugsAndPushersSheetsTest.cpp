// The sheets of the plugs, the sprue bush, the ejector channel and the protect support as a designer
// reads them: no dimension's value stands on a roughness sign (the sign's whole box: its arms, shelf
// and value), and no dimension's line crosses another's or runs far past empty paper, at half, once and
// twice the sizes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "../adapter/AdapterSupport.h"
#include "MouldPartList.h"
#include "MouldSheetLayout.h"
#include "ReleaseCheck.h"
#include "SheetLinesCheck.h"
#include "StdPartsSupport.h"
#include "plugin/MouldDocuments.h"
#include "txhost/lib/DimensionFacets.h"
#include "txhost/lib/SvgWriter.h"

namespace plugsandpushers {

using stdtest::mouldparts::TMade;
using stdtest::mouldparts::TPart;

class PlugsAndPushersSheets : public ::testing::Test, public adaptertest::HostedModeller
{
protected:
  PlugsAndPushersSheets() { stdtest::LoadShipped(); }

  // The layout of the part's sheet with its sizes by k.
  txhost::SvgLayout Sheet(
      const std::string& name, double k, const std::function<void(TDetail&)>& edit = [](TDetail&) {})
  {
    std::vector<txhost::SvgLayout> sheets = stdtest::MouldSheetLayouts(
        H, Dir.path(), name, 0, k, edit, "plugs-" + name + "-" + std::to_string(++Kept));
    return sheets.empty() ? txhost::SvgLayout{} : std::move(sheets.back());
  }
  int Kept = 0;
};

using TPoint = std::pair<double, double>;

// Each roughness sign's box: the rectangle about its strokes along its shelf (its longest stroke), from
// its tip to its arms' and shelf's ends, with the value it carries above the shelf.
std::vector<std::vector<TPoint>> SignBoxes(const txhost::SvgLayout& l)
{
  std::map<int, std::vector<TPoint>> strokes;
  std::map<int, std::pair<TPoint, TPoint>> shelves;
  for (const txhost::SvgPolyline& line : l.Lines) {
    if (line.Kind != "rough" || line.Symbol < 0 || line.Style == 1 || line.Points.size() < 2) continue;
    auto& pts = strokes[line.Symbol];
    pts.insert(pts.end(), line.Points.begin(), line.Points.end());
    for (std::size_t k = 0; k + 1 < line.Points.size(); ++k) {
      const auto& [a, b] = shelves[line.Symbol];
      const TPoint p = line.Points[k], q = line.Points[k + 1];
      if (std::hypot(q.first - p.first, q.second - p.second) >
          std::hypot(b.first - a.first, b.second - a.second))
        shelves[line.Symbol] = {p, q};
    }
  }
  std::vector<std::vector<TPoint>> boxes;
  for (const auto& [symbol, pts] : strokes) {
    const auto& [a, b] = shelves[symbol];
    const double n = std::hypot(b.first - a.first, b.second - a.second);
    if (!(n > 0)) continue;
    const double ux = (b.first - a.first) / n, uy = (b.second - a.second) / n;
    double u1 = 1e300, u2 = -1e300, v1 = 1e300, v2 = -1e300;
    for (const auto& [x, y] : pts) {
      u1 = std::min(u1, x * ux + y * uy), u2 = std::max(u2, x * ux + y * uy);
      v1 = std::min(v1, -x * uy + y * ux), v2 = std::max(v2, -x * uy + y * ux);
    }
    // The shelf is the sign's top or bottom: its value stands 3.5 high (and a gap) beyond it, away from the
    // tip.
    const double shelf = -a.first * uy + a.second * ux;
    if (std::fabs(shelf - v2) < std::fabs(shelf - v1))
      v2 += 4.5;
    else
      v1 -= 4.5;
    boxes.push_back({{u1 * ux - v1 * uy, u1 * uy + v1 * ux},
                     {u2 * ux - v1 * uy, u2 * uy + v1 * ux},
                     {u2 * ux - v2 * uy, u2 * uy + v2 * ux},
                     {u1 * ux - v2 * uy, u1 * uy + v2 * ux}});
  }
  return boxes;
}

// The dimension values standing within a roughness sign's box (each value's box shrunk by 0.2 mm: a
// value touching the sign passes).
std::vector<std::string> ValuesOnSigns(const txhost::SvgLayout& l, double Gap)
{
  std::vector<std::string> found;
  const std::vector<std::vector<TPoint>> signs = SignBoxes(l);
  for (const txhost::SvgLabel& v : l.Labels) {
    if (v.Role != "dimension") continue;
    const double cx = (v.X[0] + v.X[2]) / 2, cy = (v.Y[0] + v.Y[2]) / 2;
    std::vector<TPoint> box;
    for (int k = 0; k < 4; ++k) {
      const double dx = v.X[k] - cx, dy = v.Y[k] - cy, n = std::hypot(dx, dy),
                   f = n > Gap ? (n - Gap) / n : 0;
      box.emplace_back(cx + dx * f, cy + dy * f);
    }
    if (std::any_of(signs.begin(), signs.end(), [&box](const auto& s) { return stdtest::release::Overlap(box, s); }))
      found.push_back(v.Text);
  }
  return found;
}

// The sprue bush's seat radius "R30±0,2 сфера" once stood on its "0,2" sign at twice the sizes (the sign
// asked beside the radius's leader where the radius no longer stood).
TEST_F(PlugsAndPushersSheets, NoValueStandsOnARoughnessSign)
{
  for (const char* name : {"sprue_bush", "ejector_plug", "guide_plug", "ejector_channel", "protect_support"})
    for (double k : {0.5, 1.0, 2.0}) {
      SCOPED_TRACE(std::string(name) + " x" + std::to_string(k));
      const txhost::SvgLayout l = Sheet(name, k);
      ASSERT_FALSE(l.Labels.empty());
      for (const std::string& v : ValuesOnSigns(l, 0.2))
        ADD_FAILURE() << "\"" << v << "\" on a roughness sign";
    }
}

// The distance from a point to the segment from a to b.
double ToSegment(TPoint p, TPoint a, TPoint b)
{
  const double dx = b.first - a.first, dy = b.second - a.second, l = dx * dx + dy * dy;
  const double t =
      l > 0 ? std::clamp(((p.first - a.first) * dx + (p.second - a.second) * dy) / l, 0.0, 1.0) : 0;
  return std::hypot(p.first - a.first - t * dx, p.second - a.second - t * dy);
}

// How near the value's box comes to a roughness sign's strokes (both convex: the least distance from a
// corner of one to an edge of the other, 0 where they overlap).
double NearestSign(const txhost::SvgLabel& v, const txhost::SvgLayout& l)
{
  std::vector<TPoint> box;
  for (int k = 0; k < 4; ++k)
    box.emplace_back(v.X[k], v.Y[k]);
  double d = 1e300;
  for (const txhost::SvgPolyline& line : l.Lines) {
    if (line.Kind != "rough" || line.Style == 1) continue;
    for (std::size_t k = 0; k + 1 < line.Points.size(); ++k) {
      const TPoint a = line.Points[k], b = line.Points[k + 1];
      if (stdtest::release::Overlap(box, {a, b})) return 0;
      for (const TPoint& c : box)
        d = std::min(d, ToSegment(c, a, b));
      for (int e = 0; e < 4; ++e)
        d = std::min({d, ToSegment(a, box[e], box[(e + 1) % 4]), ToSegment(b, box[e], box[(e + 1) % 4])});
    }
  }
  return d;
}

// The sprue bush's seat radius "R30±0,2 сфера" once began on its "0,2" sign's arm at twice the sizes (its
// box 1 mm clear of the sign, its glyphs on it): the value keeps a value's gap (1.5 mm) off every sign.
TEST_F(PlugsAndPushersSheets, TheSeatRadiusKeepsOffItsSign)
{
  for (double k : {0.5, 1.0, 2.0}) {
    SCOPED_TRACE(k);
    const txhost::SvgLayout l = Sheet("sprue_bush", k);
    int seats = 0;
    for (const txhost::SvgLabel& v : l.Labels)
      if (v.Role == "dimension" && v.Text.find("\u0441\u0444\u0435\u0440\u0430") != std::string::npos) {
        ++seats;
        EXPECT_GE(NearestSign(v, l), 1.5) << v.Text;
      }
    EXPECT_EQ(seats, 1);
  }
}

// No dimension's line crosses another's or a hole, and none stands far past empty paper from what it sizes,
// on the parts here. The protect support's end chamfer once stood outside its diameter, the chamfer's
// extension line crossing the diameter's line; the ejector channel's grade depth stood outside the working
// end's diameter, the depth's extension line crossing the diameter's line (at once and twice its sizes).
TEST_F(PlugsAndPushersSheets, NoDimensionCrossesAnotherOrStandsOutOfReach)
{
  namespace sl = stdtest::sheetlines;
  const std::pair<const char*, double> sheets[] = {{"protect_support", 0.5},
                                                   {"protect_support", 1.0},
                                                   {"protect_support", 2.0},
                                                   {"ejector_channel", 1.0},
                                                   {"ejector_channel", 2.0}};
  for (const auto& [name, k] : sheets) {
    SCOPED_TRACE(std::string(name) + " x" + std::to_string(k));
    const txhost::SvgLayout l = Sheet(name, k);
    ASSERT_FALSE(l.Lines.empty());
    for (const std::string& f : sl::DimensionLinesCrossing(l))
      ADD_FAILURE() << f;
    for (const std::string& f : sl::DimensionsOutOfReach(l))
      ADD_FAILURE() << f;
  }
  // The sprue bush's seat depth and mouth once stood 32 mm off the seat past empty paper.
  for (double k : {0.5, 1.0, 2.0}) {
    SCOPED_TRACE("sprue_bush x" + std::to_string(k));
    for (const std::string& f : sl::DimensionsOutOfReach(Sheet("sprue_bush", k)))
      ADD_FAILURE() << f;
  }
}

// The ejector channel's spring seat as long as its fit (or longer): the collar's diameter, asked beyond the
// seat's free end, once ran its extension lines along the whole seat, farther over the view than the view
// is across them. Every length of the seat from its row's to past the fit's keeps them short. (At half the
// sizes the collar is too narrow for its value beside the signs at its faces; that size is not held here.)
TEST_F(PlugsAndPushersSheets, TheChannelsCollarDiameterStandsByTheCollarWhateverTheSeatsLength)
{
  for (double k : {1.0, 2.0})
    for (double seat : {20.0, 30.0, 30.31, 45.0}) {
      SCOPED_TRACE(::testing::Message() << "x" << k << ", seat " << seat);
      const txhost::SvgLayout l = Sheet("ejector_channel", k, [&](TDetail& d) {
        if (auto* c = dynamic_cast<TEjectorChannel*>(&d)) c->SpringLen = seat * k;
      });
      ASSERT_FALSE(l.Lines.empty());
      for (const std::string& f : stdtest::sheetlines::ExtensionLinesAlongTheirViews(l))
        ADD_FAILURE() << f;
    }
}

// The sprue bush's nozzle end: the sphere's radius once ran its leader from the sphere's centre, off the
// part, across the mouth's and the seat depth's extension lines, and at half the sizes the mouth's value
// ran on across the head's extension line. The radius now starts short of its centre; where the mouth's
// value has no room beside the head, the mouth and the head are sized on the view of the nozzle end. At
// every size between half and twice: nothing crossed, each of the two diameters shown once.
TEST_F(PlugsAndPushersSheets, TheSprueBushsNozzleEndCrossesNothingAtAnySize)
{
  namespace sl = stdtest::sheetlines;
  for (double k : {0.5, 0.6, 0.75, 1.0, 1.5, 2.0}) {
    SCOPED_TRACE(k);
    const txhost::SvgLayout l = Sheet("sprue_bush", k);
    ASSERT_FALSE(l.Lines.empty());
    for (const auto& check : {sl::DimensionLinesCrossing, sl::TextsCrossed})
      for (const std::string& f : check(l))
        ADD_FAILURE() << f;
    int mouth = 0, head = 0, view = 0;
    for (const txhost::SvgLabel& v : l.Labels) {
      mouth += v.Role == "dimension" && v.Text.size() > 3 && v.Text.rfind("H11") == v.Text.size() - 3;
      head += v.Role == "dimension" && v.Text.size() > 2 && v.Text.rfind("f9") == v.Text.size() - 2 &&
              v.Text.find("\u2300") == 0;
      view += v.Text == "\u0412\u0438\u0434 \u0410";
    }
    EXPECT_EQ(mouth, 1);
    EXPECT_EQ(head, 1);
    EXPECT_LE(view, 1);
  }
}

} // namespace plugsandpushers
