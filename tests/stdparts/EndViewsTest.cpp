// What the end views and their callouts tell a reader, read against the parts: each line of the threaded
// pillar's view A is an edge of its evaluated solid seen from the fixed end, every view arrow points at
// the part it names with its letter beside it, and a chamfer given for several says how many before
// its size.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include <IntCurvesFace_ShapeIntersector.hxx>
#include <gp_Lin.hxx>

#include "../adapter/AdapterSupport.h"
#include "MouldPartList.h"
#include "RecordingModeler.h"
#include "StdPartsSupport.h"
#include "plugin/MouldDocuments.h"
#include "tests/TestNames.h"
#include "txhost/solid/Evaluator.h"
#include "txhost/solid/Shape.h"

namespace endviews {

using stdtest::mouldparts::TMade;
using stdtest::mouldparts::TPart;
using TCurve = TRecordingModeler::TCurve;

const TPart& Kind(const std::string& name)
{
  const auto& all = stdtest::mouldparts::Parts;
  return *std::find_if(std::begin(all), std::end(all), [&](const TPart& p) { return p.Name == name; });
}

// The first, middle and last rows of a part's table, or the part at half, once and twice its sizes.
std::vector<std::pair<int, double>> Sizes(const TPart& part)
{
  if (part.Table == 0) return {{0, 0.5}, {0, 1.0}, {0, 2.0}};
  const int rows = ABaseDetail.SocketCount(part.Table) - 1;
  return {{1, 1.0}, {(rows + 1) / 2, 1.0}, {rows, 1.0}};
}

// --- View A of the threaded pillar ---------------------------------------------------------------

// The solid seen along +z from below: how far each sight line runs before it meets the part.
class TSight
{
public:
  explicit TSight(const TopoDS_Shape& shape) { Hits.Load(shape, 1e-7); }
  double Depth(double x, double y)
  {
    Hits.Perform(gp_Lin(gp_Pnt(x, y, -1000), gp::DZ()), 0, 1e5);
    double d = 1e9;
    for (int i = 1; Hits.IsDone() && i <= Hits.NbPnt(); ++i)
      d = std::min(d, Hits.WParameter(i));
    return d;
  }
  // An edge the eye sees at (x, y), across the direction (nx, ny): the depth jumps there, or its slope
  // does (the edge of a chamfer).
  bool Edge(double x, double y, double nx, double ny)
  {
    constexpr double e = 0.05;
    const double a = Depth(x - e * nx, y - e * ny), b = Depth(x, y), c = Depth(x + e * nx, y + e * ny);
    return std::fabs(c - a) > 0.02 || std::fabs(a + c - 2 * b) > 0.01;
  }

private:
  IntCurvesFace_ShapeIntersector Hits;
};

// Points along a drawn curve with the direction across it there, away from its ends.
std::vector<std::array<double, 4>> Along(const TCurve& c)
{
  std::vector<std::array<double, 4>> v;
  if (c.Kind == TCurve::Line) {
    const double dx = c.x2 - c.x1, dy = c.y2 - c.y1, n = std::hypot(dx, dy);
    for (int i = 1; i < 10; ++i)
      v.push_back({c.x1 + dx * i / 10, c.y1 + dy * i / 10, -dy / n, dx / n});
    return v;
  }
  double a1 = 0, a2 = 2 * M_PI;
  if (c.Kind == TCurve::Arc) {
    a1 = std::atan2(c.y1 - c.cy, c.x1 - c.cx), a2 = std::atan2(c.y2 - c.cy, c.x2 - c.cx);
    if (c.Dir < 0) std::swap(a1, a2);
    if (a2 <= a1) a2 += 2 * M_PI;
  }
  for (int i = 1; i < 12; ++i) {
    const double a = a1 + (a2 - a1) * i / 12;
    v.push_back({c.cx + c.r * std::cos(a), c.cy + c.r * std::sin(a), std::cos(a), std::sin(a)});
  }
  return v;
}

class EndViews : public ::testing::Test, public adaptertest::HostedModeller
{
protected:
  EndViews() { stdtest::LoadShipped(); }
};

// Rows with and without a fixed part beyond the collar, with the collar's flats inside the seat's
// circle and outside it.
TEST_F(EndViews, EveryVisibleLineOfThePillarsViewAIsAnEdgeSeenFromTheFixedEnd)
{
  for (int row : {1, 4, 7, 10, 36}) {
    SCOPED_TRACE("row " + std::to_string(row));
    TRecordingModeler rec;
    rec.LeafStampAnswer = true;
    TMade drawn;
    Kind("guide_pillar_threaded").Make(drawn, &rec, row, 1);
    const auto& pillar = static_cast<const TSocketLeaderPin&>(drawn.Part());
    drawn.Part().dr2D();
    // View A's middle: where its upright centre line, 2 past the collar, stands.
    const double r43 = pillar.CollarRadius;
    const auto axis = std::find_if(rec.Curves.begin(), rec.Curves.end(), [&](const TCurve& c) {
      return c.Style == 3 && c.Kind == TCurve::Line && c.x1 == c.x2 &&
             std::fabs(std::fabs(c.y2 - c.y1) - 2 * r43 - 4) < 1e-9;
    });
    ASSERT_NE(axis, rec.Curves.end());
    const double cx = axis->x1, cy = (axis->y1 + axis->y2) / 2;

    stdtest::TMouldDocuments link(adaptertest::T(Dir.path()) + TString("/"));
    TMade built;
    Kind("guide_pillar_threaded").Make(built, &drApi::MA, row, 1);
    built.Part().dr3D(1);
    ASSERT_EQ(link.AllParts.size(), 1u);
    txhost::Object* doc = H.OpenDocument(std::filesystem::path(link.AllParts[0].toWideChar()), false);
    ASSERT_NE(doc, nullptr);
    txhost::solid::TEvaluator evaluator(H);
    txhost::solid::TDocumentResult r;
    std::string error;
    ASSERT_TRUE(evaluator.Evaluate(*doc, r, error)) << error;
    H.CloseDocument(*doc);
    ASSERT_EQ(r.Placed.size(), 1u);
    TSight sight(txhost::solid::PlacedShape(r.Placed[0]));

    int lines = 0;
    for (const TCurve& c : rec.Curves) {
      if (c.Style != 1 || c.Hatch >= 0) continue;
      const std::vector<std::array<double, 4>> points = Along(c);
      const bool inView = std::all_of(points.begin(), points.end(), [&](const std::array<double, 4>& p) {
        return std::hypot(p[0] - cx, p[1] - cy) < r43 + 0.5;
      });
      if (!inView) continue;
      ++lines;
      for (const auto& [x, y, nx, ny] : points)
        EXPECT_TRUE(sight.Edge(x - cx, y - cy, nx, ny))
            << "no edge at " << x - cx << ", " << y - cy << " of a "
            << (c.Kind == TCurve::Line ? "line" : "circle")
            << (c.r > 0 ? " of radius " + std::to_string(c.r) : std::string());
    }
    EXPECT_GE(lines, 4);
  }
}

// --- View arrows and chamfer counts on every sheet ------------------------------------------------

// A modeller that keeps each view arrow with its letter where the sheet has them.
struct TArrows : TRecordingModeler
{
  TArrows() { LeafStampAnswer = true; }
  void drWPointer(const double& x1, const double& y1, const double& x2, const double& y2, const double& Xt,
                  const double& Yt, const double& Hs, const double& Ksu, const double& Fch,
                  const TString& S) override
  {
    std::array<double, 7> a{};
    R2D().Transf2D.xyMtr(x1, y1, a[0], a[1]);
    R2D().Transf2D.xyMtr(x2, y2, a[2], a[3]);
    R2D().Transf2D.xyMtr(Xt, Yt, a[4], a[5]);
    a[6] = Hs * R2D().Transf2D.ScaleMtr() * 0.6 * double(S.Length());
    Arrows.push_back(a);
    TRecordingModeler::drWPointer(x1, y1, x2, y2, Xt, Yt, Hs, Ksu, Fch, S);
  }
  std::vector<std::array<double, 7>> Arrows; // start, end (its head), the letter's corner, its length
};

double ToSegment(double x, double y, double x1, double y1, double x2, double y2)
{
  const double dx = x2 - x1, dy = y2 - y1, l = dx * dx + dy * dy;
  const double t = l > 0 ? std::clamp(((x - x1) * dx + (y - y1) * dy) / l, 0.0, 1.0) : 0.0;
  return std::hypot(x - x1 - t * dx, y - y1 - t * dy);
}

class SheetCallouts : public ::testing::TestWithParam<TPart>
{
protected:
  SheetCallouts() { stdtest::LoadShipped(); }
};

// A view arrow's head is nearer the main view's axis than its tail (it points at the part), and its
// letter stands off the arrow. A chamfer given for several carries the count before its size.
TEST_P(SheetCallouts, ArrowsPointAtThePartAndCountsStandBeforeTheSize)
{
  for (const auto& [row, k] : Sizes(GetParam())) {
    SCOPED_TRACE(std::string(GetParam().Name) + " " + std::to_string(row) + " x" + std::to_string(k));
    TArrows rec;
    TMade made;
    GetParam().Make(made, &rec, row, k);
    made.Part().dr2D();
    for (const auto& a : rec.Arrows) {
      // The axis of the view it points at: the horizontal axis nearest its head (an end view beside the
      // part has one of its own).
      const TCurve* axis = nullptr;
      for (const TCurve& c : rec.Curves)
        if (c.Style == 3 && c.Kind == TCurve::Line && c.y1 == c.y2 &&
            (!axis || ToSegment(a[2], a[3], c.x1, c.y1, c.x2, c.y2) <
                          ToSegment(a[2], a[3], axis->x1, axis->y1, axis->x2, axis->y2)))
          axis = &c;
      ASSERT_NE(axis, nullptr);
      EXPECT_LT(ToSegment(a[2], a[3], axis->x1, axis->y1, axis->x2, axis->y2),
                ToSegment(a[0], a[1], axis->x1, axis->y1, axis->x2, axis->y2))
          << "the arrow points away from the part";
      // The letter's box: from its corner along x by its length, up by its height.
      const double h = a[6] / 0.6, gap = 0.5;
      double nearest = 1e300;
      for (double t = 0; t <= 1.0; t += 0.05)
        for (const auto& [px, py] : {std::pair(a[4] + t * a[6], a[5]), std::pair(a[4] + t * a[6], a[5] + h),
                                     std::pair(a[4], a[5] + t * h), std::pair(a[4] + a[6], a[5] + t * h)})
          nearest = std::min(nearest, ToSegment(px, py, a[0], a[1], a[2], a[3]));
      const bool across = std::min(a[1], a[3]) >= a[5] && std::max(a[1], a[3]) <= a[5] + h &&
                          std::max(a[0], a[2]) >= a[4] && std::min(a[0], a[2]) <= a[4] + a[6];
      EXPECT_TRUE(nearest > gap && !across) << "the letter on its arrow";
    }
    for (const auto& c : rec.Calls) {
      if (c.Op.rfind("drDimHL", 0) != 0 && c.Op.rfind("drDimVL", 0) != 0) continue;
      EXPECT_EQ(c.S[2].Utf8Text().find("фаск"), std::string::npos)
          << "a count after the size: " << c.S[0].Utf8Text() << "|" << c.S[2].Utf8Text();
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Mould, SheetCallouts, ::testing::ValuesIn(stdtest::mouldparts::Parts),
                         hxcad::test::CaseNames());

} // namespace endviews
