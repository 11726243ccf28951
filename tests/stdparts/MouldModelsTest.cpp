// The mould parts' sheets read against their models: the guide pillar's flat measured on its evaluated
// solid, its fixed end and every groove of the pillars, bushes and plugs found in the revolved profile
// each model is made of, and the sizes the sheet gives them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "../adapter/AdapterSupport.h"
#include "MouldPartList.h"
#include "RecordingModeler.h"
#include "StdPartsSupport.h"
#include "plugin/MouldDocuments.h"
#include "tests/TestNames.h"
#include "txhost/solid/Evaluator.h"

namespace mouldmodels {

using stdtest::mouldparts::TMade;
using stdtest::mouldparts::TPart;
using TCurve = TRecordingModeler::TCurve;

const TPart& Named(const std::string& name)
{
  return stdtest::mouldparts::PartNamed(name);
}

// A recording modeller that opens every sheet and part.
struct TOpening : TRecordingModeler
{
  TOpening()
  {
    LeafStampAnswer = true;
    NewPartPlaneAnswer = true;
  }
};

// A linear dimension of a sheet: its value and texts.
struct TSize
{
  double Value;
  bool Across; // measured along Y
  std::string S1, S2, S3;
  bool Plain() const { return S1.empty() && S2.empty() && S3.empty(); }
};

std::vector<TSize> Sizes(const TRecordingModeler& m)
{
  std::vector<TSize> v;
  for (const auto& c : m.Calls) {
    const bool hl = c.Op.rfind("drDimHL", 0) == 0, vl = c.Op.rfind("drDimVL", 0) == 0;
    if (!hl && !vl) continue;
    v.push_back({std::fabs(c.A[0]), vl, c.S[0].Utf8Text(), c.S[1].Utf8Text(), c.S[2].Utf8Text()});
  }
  return v;
}

std::vector<double> Radii(const TRecordingModeler& m)
{
  std::vector<double> v;
  for (const auto& c : m.Of("drDimR"))
    v.push_back(c.A[0]);
  return v;
}

// The outline of a revolved profile as points along its curves, arcs in small steps.
std::vector<std::vector<std::pair<double, double>>> Polylines(const std::vector<TCurve>& curves)
{
  std::vector<std::vector<std::pair<double, double>>> v;
  for (const TCurve& c : curves) {
    if (c.Kind == TCurve::Line) {
      v.push_back({{c.x1, c.y1}, {c.x2, c.y2}});
    } else if (c.Kind == TCurve::Arc) {
      double a1 = std::atan2(c.y1 - c.cy, c.x1 - c.cx), a2 = std::atan2(c.y2 - c.cy, c.x2 - c.cx);
      if (c.Dir > 0 && a2 < a1) a2 += 2 * M_PI;
      if (c.Dir <= 0 && a2 > a1) a2 -= 2 * M_PI;
      std::vector<std::pair<double, double>> p;
      for (int k = 0; k <= 200; ++k) {
        const double a = a1 + (a2 - a1) * k / 200;
        p.emplace_back(c.cx + c.r * std::cos(a), c.cy + c.r * std::sin(a));
      }
      v.push_back(p);
    }
  }
  return v;
}

// A groove of the outer surface: a dip of the outline's radius between higher parts on both sides.
struct TGroove
{
  double From, To, Depth;
  double Bottom; // the radius at the groove's bottom
  double Width() const { return To - From; }
};

std::vector<TGroove> Grooves(const std::vector<TCurve>& profile)
{
  const auto lines = Polylines(profile);
  double x0 = 1e300, x1 = -1e300;
  for (const auto& l : lines)
    for (const auto& [x, y] : l)
      x0 = std::min(x0, x), x1 = std::max(x1, x);
  if (!(x1 > x0)) return {}; // nothing revolved: an assembly's or an empty sketch
  const double step = 0.01;
  const std::size_t n = std::size_t((x1 - x0) / step) + 1;
  std::vector<double> xs(n), r(n, -1e300);
  for (std::size_t i = 0; i < n; ++i)
    xs[i] = x0 + step * (double(i) + 0.5);
  // Each segment raises the outline over the samples it spans.
  for (const auto& l : lines)
    for (std::size_t k = 0; k + 1 < l.size(); ++k) {
      const auto [xa, ya] = l[k];
      const auto [xb, yb] = l[k + 1];
      if (xa == xb) continue;
      const double lo = std::min(xa, xb), hi = std::max(xa, xb);
      for (auto i = std::size_t(std::max(0.0, (lo - x0) / step - 0.5)); i < n && xs[i] <= hi; ++i)
        if (xs[i] >= lo) r[i] = std::max(r[i], ya + (yb - ya) * (xs[i] - xa) / (xb - xa));
    }
  // Higher ground within 8 mm on both sides makes a dip a groove (a step or an end does not).
  const std::size_t reach = std::size_t(8.0 / step);
  const auto windowMax = [&](bool leftwards) {
    std::vector<double> m(n);
    std::vector<std::size_t> q; // indices of falling values, the window's largest first
    std::size_t head = 0;
    for (std::size_t t = 0; t < n; ++t) {
      const std::size_t i = leftwards ? t : n - 1 - t;
      while (q.size() > head && r[q.back()] <= r[i])
        q.pop_back();
      q.push_back(i);
      const auto far = [&](std::size_t j) { return leftwards ? i - j > reach : j - i > reach; };
      while (far(q[head]))
        ++head;
      m[i] = r[q[head]];
    }
    return m;
  };
  const std::vector<double> left = windowMax(true), right = windowMax(false);
  std::vector<double> depth(n);
  for (std::size_t i = 0; i < n; ++i)
    depth[i] = std::min(left[i], right[i]) - r[i];
  // A dip ends where the outline reaches its rim, or at a peak standing within a sample's rise of the
  // rim: two teeth apart, the groove on either side of the peak between them.
  const double tol = 0.03;
  const auto apart = [&](std::size_t k) {
    return depth[k] < 1e-9 ||
           (depth[k] < tol && k > 0 && k + 1 < n && r[k] >= r[k - 1] && r[k] >= r[k + 1]);
  };
  // A fillet into a wall: the outline past the dip's end rising smoothly, within 1 mm, to a wall
  // (a rise no sample's slope makes); the groove's width is measured from the wall.
  const auto toWall = [&](std::size_t k, bool leftwards) {
    const double wall = 0.1;
    for (std::size_t t = 0, at = k; t < std::size_t(1.0 / step); ++t) {
      const std::size_t next = leftwards ? at - 1 : at + 1;
      if ((leftwards && at == 0) || (!leftwards && next >= n) || r[next] < r[at]) break;
      if (r[next] - r[at] >= wall) return at;
      at = next;
    }
    return k;
  };
  std::vector<TGroove> g;
  for (std::size_t i = 0; i < n; ++i) {
    if (depth[i] < 0.02) continue;
    std::size_t j = i, deepest = i;
    while (j < n && !apart(j)) {
      if (depth[j] > depth[deepest]) deepest = j;
      ++j;
    }
    std::size_t b = i;
    while (b > 0 && !apart(b - 1))
      --b;
    for (std::size_t k = b; k < i; ++k)
      if (depth[k] > depth[deepest]) deepest = k;
    // A groove's walls rise to its rim: the outline just past each end stands as high as the rim over
    // the deepest sample. A dip whose end stays below that ends only because the higher ground on one
    // side passed out of reach: a long relief or a slow taper, sized as such, not a groove.
    const double rim = std::min(left[deepest], right[deepest]);
    const bool walled = b > 0 && j < n && r[b - 1] >= rim - tol && r[j] >= rim - tol;
    if (walled) {
      const std::size_t from = toWall(b - 1, true), to = toWall(j, false);
      double bottom = 1e300;
      for (std::size_t k = b; k < j; ++k)
        bottom = std::min(bottom, r[k]);
      g.push_back({xs[from] + step / 2, xs[to] - step / 2, depth[deepest], bottom});
    }
    i = j;
  }
  return g;
}

// The outline of a revolved sketch turned so that its axis (the sketch's axis line) runs along X
// through the origin with the outline above it: a part sketched upright or below its axis has its
// grooves found as one sketched along X.
std::vector<TCurve> AlongTheAxis(const std::vector<TCurve>& sketch)
{
  std::vector<TCurve> v = TRecordingModeler::Outline(sketch);
  const auto axis = std::find_if(sketch.begin(), sketch.end(),
                                 [](const TCurve& c) { return c.Kind == TCurve::Line && c.Style == 3; });
  if (axis == sketch.end()) return v;
  const double len = std::hypot(axis->x2 - axis->x1, axis->y2 - axis->y1);
  if (len < 1e-9) return v;
  const double ux = (axis->x2 - axis->x1) / len, uy = (axis->y2 - axis->y1) / len;
  const auto turn = [&](double& x, double& y) {
    const double dx = x - axis->x1, dy = y - axis->y1;
    x = dx * ux + dy * uy, y = dy * ux - dx * uy;
  };
  double side = 0;
  for (TCurve& c : v) {
    turn(c.x1, c.y1), turn(c.x2, c.y2), turn(c.cx, c.cy);
    side += c.y1 + c.y2;
  }
  if (side < 0) // a mirror: arcs turn the other way
    for (TCurve& c : v)
      c.y1 = -c.y1, c.y2 = -c.y2, c.cy = -c.cy, c.Dir = -c.Dir;
  return v;
}

// The sheet and the revolved profile of a part at a size.
struct TDrawn
{
  std::vector<TSize> Sizes;
  std::vector<double> Radii;
  std::vector<TCurve> Profile; // as sketched
  std::vector<TCurve> Axial;   // turned to run along X above its axis
  bool Dimensioned = false; // any dimension at all on the sheet
};

TDrawn Draw(const TPart& part, int row, double k)
{
  TOpening m;
  TMade made;
  part.Make(made, &m, row, k);
  made.Part().dr2D();
  TDrawn d{Sizes(m), Radii(m), {}, {}, false};
  d.Dimensioned = std::any_of(m.Calls.begin(), m.Calls.end(),
                              [](const auto& c) { return c.Op.rfind("drDim", 0) == 0; });
  m.Reset();
  made.Part().dr3D(1);
  d.Profile = TRecordingModeler::Outline(m.SketchProfile(0));
  d.Axial = AlongTheAxis(m.SketchProfile(0));
  return d;
}

// Every row of a tabled part, or the three sizes of one without a table.
std::vector<std::pair<int, double>> SizesOf(const TPart& part)
{
  std::vector<std::pair<int, double>> v;
  if (part.Table == 0) return {{0, 0.5}, {0, 1.0}, {0, 2.0}};
  for (int r = 1; r < ABaseDetail.SocketCount(part.Table); ++r)
    v.emplace_back(r, 1.0);
  return v;
}

// --- Every groove drawn is sized ----------------------------------------------------------------

class GroovesSized : public ::testing::TestWithParam<TPart>
{
protected:
  GroovesSized() { stdtest::LoadShipped(); }
};

TEST_P(GroovesSized, EveryGrooveOfTheModelHasItsDepthAndWidthOnTheSheet)
{
  const TPart& part = GetParam();
  for (const auto& [row, k] : SizesOf(part)) {
    SCOPED_TRACE(std::string(part.Name) + " row " + std::to_string(row) + " x" + std::to_string(k));
    const TDrawn d = Draw(part, row, k);
    // A sheet drawn without dimensions sizes nothing, its grooves no more than the rest.
    if (!d.Dimensioned) continue;
    const std::vector<TGroove> grooves = Grooves(d.Axial);
    for (const TGroove& g : grooves) {
      SCOPED_TRACE("groove from " + std::to_string(g.From) + " to " + std::to_string(g.To));
      // The depth as a length, or as the diameter at the groove's bottom, the way a turned groove is
      // sized.
      const bool depth = std::any_of(d.Sizes.begin(), d.Sizes.end(), [&](const TSize& s) {
        return (s.S1.empty() && std::fabs(s.Value - g.Depth) < 0.006) || // the sampling step
               (s.Across && s.S1 == "&02" && std::fabs(s.Value - 2 * g.Bottom) < 0.012);
      });
      // The width as a length, or as the chord of a radius given at the groove's depth.
      const bool width =
          std::any_of(d.Sizes.begin(), d.Sizes.end(),
                      [&](const TSize& s) {
                        return !s.Across && s.S1.empty() && std::fabs(s.Value - g.Width()) < 0.03;
                      }) ||
          std::any_of(d.Radii.begin(), d.Radii.end(), [&](double R) {
            const double chord = 2 * std::sqrt(std::fabs(R * R - (R - g.Depth) * (R - g.Depth)));
            return std::fabs(chord - g.Width()) < 0.03;
          });
      EXPECT_TRUE(depth) << "no size gives the depth " << g.Depth;
      EXPECT_TRUE(width) << "no size gives the width " << g.Width();
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Mould, GroovesSized, ::testing::ValuesIn(stdtest::mouldparts::Parts),
                         hxcad::test::CaseNames());

// --- The guide pillar's fixed end -----------------------------------------------------------------

// The fixed end as the model has it: the end face's plane, the chamfer at its rim (length along the
// axis and depth, 0 for none), and the length from the collar's face.
struct TFixedEnd
{
  double Chamfer = 0, ChamferDepth = 0, Length = 0;
};

TFixedEnd FixedEnd(const std::vector<TCurve>& profile)
{
  double end = -1e300, top = -1e300;
  for (const TCurve& c : profile)
    end = std::max({end, c.x1, c.x2}), top = std::max({top, c.y1, c.y2});
  TFixedEnd f;
  double collar = -1e300;
  for (const TCurve& c : profile) {
    if (c.Kind != TCurve::Line) continue;
    // The collar's face towards the fixed end.
    if (c.x1 == c.x2 && std::max(c.y1, c.y2) == top) collar = std::max(collar, c.x1);
    // A slanting line from the end face outwards.
    const bool fromEnd = std::fabs(std::max(c.x1, c.x2) - end) < 1e-9 && c.x1 != c.x2 && c.y1 != c.y2;
    if (fromEnd) f.Chamfer = std::fabs(c.x2 - c.x1), f.ChamferDepth = std::fabs(c.y2 - c.y1);
  }
  f.Length = end - collar;
  return f;
}

TEST(MouldPillarSheets, TheFixedEndsLengthAndChamferAreTheModels)
{
  stdtest::LoadShipped();
  for (const char* name : {"guide_pillar", "guide_pillar_threaded"})
    for (int r = 1; r < ABaseDetail.SocketCount(5); ++r) {
      SCOPED_TRACE(std::string(name) + " row " + std::to_string(r));
      const TDrawn d = Draw(Named(name), r, 1.0);
      const TFixedEnd f = FixedEnd(d.Profile);
      const std::vector<TGroove> grooves = Grooves(d.Profile);
      auto has = [&](double v, bool across) {
        return std::any_of(d.Sizes.begin(), d.Sizes.end(), [&](const TSize& s) {
          return s.Plain() && s.Across == across && std::fabs(s.Value - v) < 1e-9;
        });
      };
      if (f.Length > 1e-6) {
        // A size to make the part by, not only a reference: the fixed part's own length.
        EXPECT_TRUE(std::any_of(
            d.Sizes.begin(), d.Sizes.end(),
            [&](const TSize& s) { return s.S2 == "js14" && std::fabs(s.Value - f.Length) < 1e-9; }))
            << "the fixed part's length " << f.Length;
        ASSERT_GT(f.Chamfer, 0.0);
        EXPECT_TRUE(has(f.Chamfer, false)) << "the chamfer's length " << f.Chamfer;
        EXPECT_TRUE(has(f.ChamferDepth, true)) << "the chamfer's depth " << f.ChamferDepth;
      }
      // Every plain length given along the axis is a chamfer or a groove the model has.
      for (const TSize& s : d.Sizes) {
        if (!s.Plain() || s.Across) continue;
        const bool known = std::fabs(s.Value - f.Chamfer) < 1e-9 ||
                           std::any_of(grooves.begin(), grooves.end(), [&](const TGroove& g) {
                             return std::fabs(g.Width() - s.Value) < 0.03;
                           });
        EXPECT_TRUE(known) << "a length " << s.Value << " the model does not have";
      }
    }
}

// --- The guide pillar's flat, on the evaluated solid ----------------------------------------------

class MouldPillarSolids : public ::testing::Test, public adaptertest::HostedModeller
{
protected:
  MouldPillarSolids() { stdtest::LoadShipped(); }
};

TEST_F(MouldPillarSolids, TheFlatRunsOnTheGuideFromItsEndToShortOfTheSeat)
{
  stdtest::TMouldDocuments link(adaptertest::T(Dir.path()) + TString("/"));
  for (const char* name : {"guide_pillar", "guide_pillar_threaded"})
    for (int r : {1, 4, 18, 36}) {
      SCOPED_TRACE(std::string(name) + " row " + std::to_string(r));
      // What the sheet gives the flat: its length from the guide end and its width across.
      TOpening rec;
      TMade drawn;
      Named(name).Make(drawn, &rec, r, 1.0);
      drawn.Part().dr2D();
      const auto& p = static_cast<const TSocketLeaderPin&>(drawn.Part());
      double sheetLength = -1, sheetAcross = -1;
      for (const TSize& s : Sizes(rec)) {
        if (s.S3 == "&03~0,2" && s.Value > sheetLength) sheetLength = s.Value;
        if (s.S2 == "h14" && std::fabs(s.Value - 2 * p.Radius) < 1) sheetAcross = s.Value;
      }
      EXPECT_GT(sheetAcross, 0) << "the flat's width across";

      TMade made;
      Named(name).Make(made, &drApi::MA, r, 1.0);
      const std::size_t parts = link.AllParts.size();
      made.Part().dr3D(1);
      ASSERT_GT(link.AllParts.size(), parts);
      txhost::Object* doc = H.OpenDocument(std::filesystem::path(link.AllParts.back().toWideChar()), false);
      ASSERT_NE(doc, nullptr);
      txhost::solid::TEvaluator evaluator(H);
      txhost::solid::TDocumentResult result;
      std::string error;
      ASSERT_TRUE(evaluator.Evaluate(*doc, result, error)) << error;
      H.CloseDocument(*doc);
      ASSERT_EQ(result.Placed.size(), 1u);
      const txhost::solid::TPlaced& solid = result.Placed[0];
      // The axis along z: the collar from 0 to its height, the seat, then the guide to its end.
      const double seat = p.CollarHeight + p.OFLen, end = seat + p.Len, x = -p.Radius + 0.1;
      auto in = [&](double px, double z) { return txhost::solid::Contains(solid, {px, 0.0, z}); };
      EXPECT_TRUE(in(x, p.CollarHeight + p.OFLen / 2)) << "no slit through the seat";
      // The guide's groove before the seat is 3 long; past it the guide is whole for another 1.
      EXPECT_TRUE(in(x, seat + 3.5)) << "the guide whole next to the seat";
      EXPECT_FALSE(in(x, seat + 5)) << "the flat near the seat";
      EXPECT_FALSE(in(x, (seat + end) / 2)) << "the flat along the guide";
      EXPECT_FALSE(in(x, end - 10)) << "the flat towards the guide end";
      // Where the flat begins, and how deep it is, as the sheet says.
      double lo = seat + 3.5, hi = seat + 5;
      for (int k = 0; k < 30; ++k)
        (in(x, (lo + hi) / 2) ? lo : hi) = (lo + hi) / 2;
      EXPECT_NEAR(end - lo, sheetLength, 1e-3) << "the flat's length from the guide end";
      double a = -p.Radius - 0.5, b = -p.Radius + 1;
      for (int k = 0; k < 30; ++k)
        (in((a + b) / 2, (seat + end) / 2) ? b : a) = (a + b) / 2;
      EXPECT_NEAR(p.Radius - a, sheetAcross, 1e-3) << "across the flat";
    }
}

} // namespace mouldmodels
