// What a drawing checker looks at, on every row of every coupling, cylindrical and conical bores: conical
// bores taper 1:10 on the diameter in the section and in the 3D sketches, no hatch runs across a fastener,
// touching parts are hatched apart, no part's line runs inside a fastener and nothing of a fastener over
// its own nut or washer (section and view), outlines turn at their corners, and every bolt passes through
// its nut.
#include <algorithm>
#include <cmath>
#include <memory>
#include <set>
#include <vector>

#include "CouplingFixture.h"
#include "FastenerDrawing.h"
#include "tests/TestNames.h"

namespace {
using namespace fastenerdrawing;

// Lines of the curves that end on the bore's radius and are neither axial, radial nor a 45 degree
// chamfer: the conical bore's generatrices. Counts those of slope 1:20 on the radius; any other
// slope fails.
::testing::AssertionResult ConeLines(const std::vector<TCurve>& curves, double d, int& count)
{
  for (const auto& c : TRecordingModeler::Outline(curves)) {
    if (c.Kind != TCurve::Line) continue;
    const double dx = std::fabs(c.x2 - c.x1), dy = std::fabs(c.y2 - c.y1);
    if (!(Same(std::fabs(c.y1), d / 2) || Same(std::fabs(c.y2), d / 2))) continue;
    if (std::max(std::fabs(c.y1), std::fabs(c.y2)) > d / 2 + 1e-9) continue; // outside the bore
    if (Same(dx, 0) || Same(dy, 0) || Same(dx, dy)) continue;
    if (!Same(dy / dx, 0.05))
      return ::testing::AssertionFailure() << "a bore line of slope " << dy / dx << " from (" << c.x1 << ", "
                                           << c.y1 << ") to (" << c.x2 << ", " << c.y2 << ")";
    ++count;
  }
  return ::testing::AssertionSuccess();
}

// An outline turns at its corners: no line runs back along part of the one drawn just before it (a face
// drawn past a corner and back), in one style and one hatch boundary. (A half program and its mirror image
// meet at the axis, the second running back along the whole of the first's last line.)
::testing::AssertionResult NoOutlineTurnsBack(const std::vector<TCurve>& curves)
{
  for (std::size_t i = 1; i < curves.size(); ++i) {
    const TCurve &a = curves[i - 1], &b = curves[i];
    if (a.Kind != TCurve::Line || b.Kind != TCurve::Line || a.Style != b.Style || a.Hatch != b.Hatch)
      continue;
    const double ax = a.x2 - a.x1, ay = a.y2 - a.y1, bx = b.x2 - b.x1, by = b.y2 - b.y1;
    const double la = std::hypot(ax, ay), lb = std::hypot(bx, by);
    if (!(la > 1e-6 && lb > 1e-6) || std::hypot(b.x1 - a.x2, b.y1 - a.y2) > 1e-6) continue;
    if (std::fabs(ax * by - ay * bx) < 1e-9 * la * lb && ax * bx + ay * by < 0 && std::fabs(la - lb) > 1e-6)
      return ::testing::AssertionFailure()
             << "the outline runs from (" << a.x1 << ", " << a.y1 << ") to (" << a.x2 << ", " << a.y2
             << ") and back to (" << b.x2 << ", " << b.y2 << ")";
  }
  return ::testing::AssertionSuccess();
}

// One part shows no line between regions of itself: no line a piece draws, but its axis, runs across the
// inside of a region it hatches.
::testing::AssertionResult NoLineInsideAHatch(const TRecordingModeler& m,
                                              const std::vector<TRegion>& regions)
{
  const TPieces p = PiecesOf(m);
  if (p.Of.size() != m.Curves.size()) return ::testing::AssertionFailure() << "curves not all in the calls";
  std::vector<int> owner(regions.size(), -1); // the piece that drew each region's boundary
  for (std::size_t i = 0; i < m.Curves.size(); ++i)
    if (m.Curves[i].Hatch >= 0 && m.Curves[i].Hatch < int(owner.size())) owner[m.Curves[i].Hatch] = p.Of[i];
  for (std::size_t i = 0; i < m.Curves.size(); ++i) {
    const TCurve& c = m.Curves[i];
    if (p.Fastener[p.Of[i]] || c.Hatch >= 0 || c.Style == 3) continue;
    for (const auto& s : Segments({c}))
      for (int t = 1; t < 20; ++t) {
        const double x = s.x1 + (s.x2 - s.x1) * t / 20, y = s.y1 + (s.y2 - s.y1) * t / 20;
        for (std::size_t k = 0; k < regions.size(); ++k)
          if (owner[k] == p.Of[i] && Inside(regions[k], x, y))
            return ::testing::AssertionFailure()
                   << "a line across hatch " << k << " at (" << x << ", " << y << ")";
      }
  }
  return ::testing::AssertionSuccess();
}

// A drawing's outline: the highest and lowest main line over each x, and how far it reaches.
struct TEnvelope
{
  std::vector<TSeg> Segs;
  double x1 = INFINITY, x2 = -INFINITY;
};
TEnvelope EnvelopeOf(const std::vector<TCurve>& curves)
{
  std::vector<TCurve> main;
  for (const auto& c : curves)
    if (c.Style == 1) main.push_back(c);
  TEnvelope e{Segments(main)};
  for (const auto& s : e.Segs) {
    e.x1 = std::min({e.x1, s.x1, s.x2});
    e.x2 = std::max({e.x2, s.x1, s.x2});
  }
  return e;
}

// The view and the section reach as far and have the same outline wherever both draw over an x.
::testing::AssertionResult SameOutline(const TEnvelope& section, const TEnvelope& view)
{
  if (!Same(section.x1, view.x1) || !Same(section.x2, view.x2))
    return ::testing::AssertionFailure() << "the section reaches from " << section.x1 << " to " << section.x2
                                         << ", the view from " << view.x1 << " to " << view.x2;
  auto at = [](const TEnvelope& e, double x, double& lo, double& hi) {
    lo = INFINITY;
    hi = -INFINITY;
    for (const auto& s : e.Segs)
      if (std::min(s.x1, s.x2) < x && std::max(s.x1, s.x2) > x) {
        const double y = s.y1 + (s.y2 - s.y1) * (x - s.x1) / (s.x2 - s.x1);
        lo = std::min(lo, y);
        hi = std::max(hi, y);
      }
    return lo <= hi;
  };
  for (int k = 1; k < 400; ++k) {
    const double x = section.x1 + (section.x2 - section.x1) * (k + 0.3) / 400;
    double sl, sh, vl, vh;
    if (at(section, x, sl, sh) && at(view, x, vl, vh) &&
        (std::fabs(sh - vh) > 1e-6 || std::fabs(sl - vl) > 1e-6))
      return ::testing::AssertionFailure() << "at x " << x << " the section spans " << sl << " to " << sh
                                           << ", the view " << vl << " to " << vh;
  }
  return ::testing::AssertionSuccess();
}

// The model's bolts and pins (by the names of their parts) where it inserts them; the section shows a
// fastener below its axis exactly when the model has one opposite the first.
::testing::AssertionResult BothSides(const TRecordingModeler& m, const std::vector<double>& heights)
{
  std::vector<TString> files;
  for (const auto& k : m.Of("drCreate3D")) {
    const std::string name = k.S[1].Utf8Text();
    if (name.find("Болт") != std::string::npos || name.find("Палец") != std::string::npos)
      files.push_back(k.S[0]);
  }
  std::vector<std::pair<double, double>> at;
  for (const auto& c : m.Calls)
    if ((c.Op == "AddDetailFile" || c.Op == "AddDetailAxleFile") &&
        std::find(files.begin(), files.end(), c.S[0]) != files.end())
      if (std::hypot(c.A[1], c.A[2]) > 1e-6) at.push_back({c.A[1], c.A[2]}); // off the axis
  const bool opposite = !at.empty() && std::any_of(at.begin(), at.end(), [&](const auto& q) {
    return std::hypot(q.first + at[0].first, q.second + at[0].second) < 1e-6;
  });
  const bool above = std::any_of(heights.begin(), heights.end(), [](double y) { return y > 0; });
  const bool below = std::any_of(heights.begin(), heights.end(), [](double y) { return y < 0; });
  if (at.empty()) return ::testing::AssertionSuccess();
  if (!above || below != opposite)
    return ::testing::AssertionFailure()
           << "the model has " << at.size() << " fasteners"
           << (opposite ? ", one opposite another," : ", none opposite another,") << " the section "
           << (above ? "one above" : "none above") << " and " << (below ? "one below" : "none below");
  return ::testing::AssertionSuccess();
}

struct TChecked
{
  const char* Key;
  const char* Coupling;
  const char* Table;
  // Cone lines at least: in the section (both halves, above and below the axis) and in the 3D halves.
  int Cones = 4, Cones3D = 2;
  // The column of the bolt's diameter where the row gives it: the shank's whole width is checked then.
  int Bolt = -1;
};
void PrintTo(const TChecked& c, std::ostream* os)
{
  *os << c.Key;
}

const TChecked Checked[] = {
    {"muvp", MUVP, "МУВП"},
    {"flanged", "Фланцевая ГОСТ 20761-96", "Муфта фланцевая"},
    {"star", "со Звездочкой ГОСТ Р 50894-96", "Муфта со звездочкой"},
    {"toothed", "Зубчатая ГОСТ Р 50895-96", "Муфта зубчатая"},
    {"toothed_flanged", "Зубчатая МЗП ГОСТ Р 50895-96", "Муфта зубчатая"},
    {"toroidal", "Торообразная ГОСТ Р 50892-96", "Муфта торообразная", 4, 2, 5},
    {"hinge", "Шарнирная ГОСТ 5147-97", "Муфта шарнирная"},
    {"hinge2", "Шарнирная c втулкой ГОСТ 5147-97", "Муфта шарнирная"},
    // The first half's section stops at its keyway above the axis; equal halves are one 3D part
    // whose bore is one line on both sides of the profile's start.
    {"jaw_disc", "Муфта кулачково-дисковая ГОСТ 20720-93", "Муфта кулачково-дисковая", 3, 1},
};

class DrawingCheck : public CouplingTest, public ::testing::WithParamInterface<TChecked>
{
};
} // namespace

TEST_P(DrawingCheck, EveryRowTapersItsConesAndHatchesAroundFasteners)
{
  const TChecked& row = GetParam();
  std::unique_ptr<TTable> main(TextBase.GetTable(TString(row.Table)));
  ASSERT_TRUE(main);
  for (int i = 0; i < main->CountRow; ++i)
    for (int type : {0, 2, 3}) {
      const double* A = main->Row(i);
      const double d = A[main->Control];
      SCOPED_TRACE(::testing::Message() << "row " << i << " d " << d << " type " << type);
      Model(A[0], d, d, type, type);
      M.Reset();
      ASSERT_TRUE(Couplings.drCoupling(TString(row.Coupling), 1));
      // Both halves' bores, above and below the axis, in their hatch boundaries.
      int cones = 0;
      std::vector<TCurve> bounds;
      for (const auto& c : M.Curves)
        if (c.Hatch >= 0) bounds.push_back(c);
      ASSERT_TRUE(ConeLines(bounds, d, cones));
      const bool conical = type & 2;
      EXPECT_TRUE(conical ? cones >= row.Cones : cones == 0) << cones << " cone lines";
      // No hatched region holds a point of a fastener's axis, nor of its shank near its edges.
      const std::vector<TRegion> regions = Regions(M);
      const auto hatches = M.Of("drHatch");
      ASSERT_TRUE(NoHatchAcrossFasteners(M, regions, row.Bolt < 0 ? 0.0 : 0.4 * A[row.Bolt]));
      // No place is hatched twice: beside the boundary of each region, on its inner side, no other
      // region (two parts drawn in one place show crossed hatch). A boundary piece drawn twice (a hole
      // opening on a face) bounds nothing and has no inner side.
      std::vector<TRecordingModeler::TBox> boxes(regions.size());
      for (std::size_t k = 0; k < regions.size(); ++k)
        for (const auto& p : regions[k]) {
          boxes[k].Add(p.x1, p.y1);
          boxes[k].Add(p.x2, p.y2);
        }
      for (int j = 0; j < int(regions.size()); ++j)
        for (const auto& p : regions[j]) {
          const double len = std::hypot(p.x2 - p.x1, p.y2 - p.y1), x = (p.x1 + p.x2) / 2,
                       y = (p.y1 + p.y2) / 2;
          if (!(len > 1e-6)) continue;
          const double nx = (p.y1 - p.y2) / len * 1e-3, ny = (p.x2 - p.x1) / len * 1e-3;
          int inner = -1; // +1 the left side, 0 the right, 2 none (computed when another region is near)
          for (int k = 0; k < int(regions.size()); ++k) {
            const auto& b = boxes[k];
            if (k == j || x < b.x1 || x > b.x2 || y < b.y1 || y > b.y2) continue;
            const bool left = Inside(regions[k], x + nx, y + ny), right = Inside(regions[k], x - nx, y - ny);
            if (!left && !right) continue;
            if (inner < 0) {
              const bool l = Inside(regions[j], x + nx, y + ny), r = Inside(regions[j], x - nx, y - ny);
              inner = l == r ? 2 : l ? 1 : 0;
            }
            ASSERT_FALSE(inner == 1   ? left
                         : inner == 0 ? right
                                      : false)
                << "hatches " << j << " and " << k << " at " << x << ", " << y;
          }
        }
      // Regions whose boundaries share an edge differ in hatch angle or step: touching parts are hatched
      // apart, and one part shows no line between its regions (a half's jaw and its hub are one region).
      for (int k = 0; k < int(regions.size()); ++k)
        for (int j = k + 1; j < int(regions.size()); ++j) {
          const double turn = std::remainder(hatches[k].A[1] - hatches[j].A[1], 180.0);
          if (Same(turn, 0) && Same(hatches[k].A[2], hatches[j].A[2]))
            for (const auto& p : regions[k])
              for (const auto& q : regions[j]) {
                const double dx = p.x2 - p.x1, dy = p.y2 - p.y1, len = std::hypot(dx, dy);
                if (len < 1e-6) continue;
                auto off = [&](double x, double y) {
                  return std::fabs((x - p.x1) * dy - (y - p.y1) * dx) / len;
                };
                auto at = [&](double x, double y) { return ((x - p.x1) * dx + (y - p.y1) * dy) / len; };
                if (off(q.x1, q.y1) > 1e-6 || off(q.x2, q.y2) > 1e-6) continue;
                const double lo = std::max(0.0, std::min(at(q.x1, q.y1), at(q.x2, q.y2)));
                const double hi = std::min(len, std::max(at(q.x1, q.y1), at(q.x2, q.y2)));
                ASSERT_LE(hi - lo, 1e-6) << "hatches " << k << " and " << j << " alike along (" << p.x1
                                         << ", " << p.y1 << ") - (" << p.x2 << ", " << p.y2 << ")";
              }
        }
      // A fastener in the plane hides what lies behind it: no line of a part runs inside its outline.
      ASSERT_TRUE(NoLineAcrossFasteners(M));
      ASSERT_TRUE(NoShankInsideItsNut(M));
      ASSERT_TRUE(NoLineInsideAHatch(M, regions));
      ASSERT_TRUE(NoOutlineTurnsBack(M.Curves));
      // Both sides of the section: a fastener below the axis exactly where the model has one opposite
      // the fastener above; and the view shares the section's outline.
      std::vector<double> heights;
      for (const auto& a : FastenerAxes(M))
        heights.push_back(a.y1);
      const TEnvelope section = EnvelopeOf(M.Curves);
      M.Reset();
      ASSERT_TRUE(Couplings.drCoupling(TString(row.Coupling), 2));
      ASSERT_TRUE(SameOutline(section, EnvelopeOf(M.Curves)));
      // The view: no part's line over what is seen of a fastener, nothing of a fastener over its own nut
      // or washer, or over the bushing it stands in.
      ASSERT_TRUE(NoLineAcrossFasteners(M, true)) << "view";
      ASSERT_TRUE(NoShankInsideItsNut(M)) << "view";
      ASSERT_TRUE(NoOutlineTurnsBack(M.Curves)) << "view";
      // The 3D halves revolve the same bores.
      M.Reset();
      ASSERT_TRUE(Couplings.drCoupling(TString(row.Coupling), 0));
      ASSERT_TRUE(BothSides(M, heights));
      std::vector<TCurve> sketches;
      bool half = false;
      int sketch = -1;
      for (const auto& c : M.Calls) {
        if (c.Op == "drCreate3D") half = c.S[1].Utf8Text().find("Полумуфта") != std::string::npos;
        if (c.Op != "drPlaneEskis" || (++sketch, !half)) continue;
        for (const auto& k : M.SketchProfile(sketch))
          sketches.push_back(k);
      }
      cones = 0;
      ASSERT_TRUE(ConeLines(sketches, d, cones));
      EXPECT_TRUE(conical ? cones >= row.Cones3D : cones == 0) << cones << " cone lines in 3D";
    }
}

INSTANTIATE_TEST_SUITE_P(Couplings, DrawingCheck, ::testing::ValuesIn(Checked), hxcad::test::CaseNames());

namespace {
// The bolts of a drawing, each by its axis line and those of its washer and nut at its height (the
// drawer runs every axis 2 mm past its piece): the bolt's is the longest.
struct TBoltLine
{
  double y, b1, b2;                              // the bolt's axis
  std::vector<std::pair<double, double>> others; // washer and nut, as pieces (without the 2 mm)
};
std::vector<TBoltLine> BoltLines(const TRecordingModeler& m)
{
  std::vector<TBoltLine> out;
  for (const auto& a : FastenerAxes(m)) {
    auto it = std::find_if(out.begin(), out.end(), [&](const TBoltLine& b) { return Same(b.y, a.y1); });
    if (it == out.end()) it = out.insert(out.end(), TBoltLine{a.y1, 0, 0, {}});
    it->others.push_back({std::min(a.x1, a.x2) + 2, std::max(a.x1, a.x2) - 2});
  }
  for (auto& b : out) {
    auto longest = std::max_element(b.others.begin(), b.others.end(), [](const auto& p, const auto& q) {
      return p.second - p.first < q.second - q.first;
    });
    b.b1 = longest->first - 2;
    b.b2 = longest->second + 2;
    b.others.erase(longest);
  }
  return out;
}

// Every bolt's shank stands out of its nut by its end chamfer, and its washer and nut do not overlap.
::testing::AssertionResult PassThrough(const TRecordingModeler& m, double d)
{
  const auto bolts = BoltLines(m);
  if (bolts.empty()) return ::testing::AssertionFailure() << "no bolt";
  for (const auto& b : bolts) {
    if (b.others.size() != 2) return ::testing::AssertionFailure() << b.others.size() << " pieces on a bolt";
    const auto &p = b.others[0], &q = b.others[1];
    if (std::min(p.second, q.second) > std::max(p.first, q.first) + 1e-9)
      return ::testing::AssertionFailure() << "the nut and the washer overlap at " << b.y;
    // The stack on the shank's side: the bolt runs 2 mm past its end.
    const bool right = p.first + q.first > b.b1 + b.b2;
    const double end = right ? b.b2 - 2 : -(b.b1 + 2),
                 face = right ? std::max(p.second, q.second) : -std::min(p.first, q.first);
    if (end < face + 0.1 * d - 1e-9)
      return ::testing::AssertionFailure() << "the shank ends " << face - end << " inside the nut at " << b.y;
  }
  return ::testing::AssertionSuccess();
}
} // namespace

// Every row of the bolted couplings: the bolt passes through its nut in the section, the view and the
// 3D assembly, and the view shows the section's bolt.
TEST_F(CouplingTest, EveryBoltPassesThroughItsNut)
{
  struct
  {
    const char* Coupling;
    const char* Table;
    int Bolt, Nut; // the 3D parts
  } rows[] = {{"Фланцевая ГОСТ 20761-96", "Муфта фланцевая", 3, 4},
              {"Зубчатая ГОСТ Р 50895-96", "Муфта зубчатая", 5, 7},
              {"Зубчатая МЗП ГОСТ Р 50895-96", "Муфта зубчатая", 5, 7}};
  for (const auto& c : rows) {
    std::unique_ptr<TTable> main(TextBase.GetTable(TString(c.Table)));
    std::unique_ptr<TTable> bolts(TextBase.GetTable(TString("Муфта.Болты фланца")));
    ASSERT_TRUE(main && bolts);
    for (int i = 0; i < main->CountRow; ++i) {
      const double* A = main->Row(i);
      const double* K = bolts->GetParam(0, A[19]);
      SCOPED_TRACE(::testing::Message() << c.Table << " row " << i << " M" << K[0]);
      Model(A[0], A[1], A[1], 0, 0);
      std::vector<TBoltLine> shown[2];
      for (int mode : {1, 2}) {
        M.Reset();
        ASSERT_TRUE(Couplings.drCoupling(TString(c.Coupling), mode));
        ASSERT_TRUE(PassThrough(M, K[0]));
        shown[mode - 1] = BoltLines(M);
      }
      const auto& s = shown[0][0];
      const auto v =
          std::find_if(shown[1].begin(), shown[1].end(), [&](const auto& b) { return Same(b.y, s.y); });
      ASSERT_NE(v, shown[1].end());
      EXPECT_TRUE(Same(v->b1, s.b1) && Same(v->b2, s.b2)) << "the view's bolt is the section's";
      // 3D: the bolt's length is in its name; it stands at its head, the nut at its inner face.
      M.Reset();
      ASSERT_TRUE(Couplings.drCoupling(TString(c.Coupling), 0));
      double L = 0;
      for (const auto& k : M.Of("drCreate3D"))
        if (k.S[0] == ControlModel.mfDetail3D(c.Bolt)) {
          const std::string name = k.S[1].Utf8Text();
          L = std::stod(name.substr(name.find('*') + 1));
        }
      ASSERT_GT(L, 0.0);
      double xb = NAN, xn = NAN;
      for (const auto& k : M.Of("AddDetailFile")) {
        if (k.S[0] == ControlModel.Detail3D(c.Bolt)) xb = k.A[0];
        if (k.S[0] == ControlModel.Detail3D(c.Nut)) xn = k.A[0];
      }
      EXPECT_GE(xb + L, xn + K[2] + 0.1 * K[0] - 0.005) << "3D";
    }
  }
}

// The sleeve-and-pin pin's cone sits in a conical hole of flange 1, in the section and in the model: the
// section's hole walls carry the pin's cone lines, and the model cuts from the face, narrowing inwards.
TEST_F(CouplingTest, ThePinsConeSitsInItsConicalHole)
{
  std::unique_ptr<TTable> main(TextBase.GetTable(TString("МУВП")));
  ASSERT_TRUE(main);
  for (int i : {0, main->CountRow - 1}) {
    const double* A = main->Row(i);
    Model(A[0], A[17], A[17], 0, 0);
    M.Reset();
    ASSERT_TRUE(Couplings.drCoupling(TString(MUVP), 1));
    const double face = -A[13] / 2, r = A[14] / 2;
    // The pins in the plane: the one on top and, an even count, the one opposite.
    const int pins = IntPart(A[15]) % 2 == 0 ? 2 : 1;
    auto slope = [](const TCurve& c) { return std::fabs((c.y2 - c.y1) / (c.x2 - c.x1)); };
    int walls = 0, cones = 0;
    for (const auto& c : M.HatchBoundary(0))
      if (c.Kind == TCurve::Line && !Same(c.x1, c.x2) && Same(slope(c), 0.1)) ++walls;
    EXPECT_EQ(walls, 2 * pins) << "row " << i;
    for (const auto& c : M.Curves)
      if (c.Kind == TCurve::Line && c.Hatch < 0 && c.Style == 1 && !Same(c.x1, c.x2) && Same(slope(c), 0.1)) {
        // On the wall through the face's edge of its pin's hole, above or below the pin's axis.
        const double y = c.y1 > 0 ? A[5] / 2 : -A[5] / 2;
        const double edge = c.y1 > y ? y + r : y - r, at = edge + (c.y1 > y ? 1 : -1) * 0.1 * (c.x1 - face);
        EXPECT_NEAR(c.y1, at, 1e-9) << "row " << i;
        ++cones;
      }
    EXPECT_GE(cones, 4 * pins) << "the pins' cones and the holes' walls drawn";
    M.Reset();
    ASSERT_TRUE(Couplings.drCoupling(TString(MUVP), 0));
    const auto& calls = M.Calls;
    auto cut = std::find_if(calls.begin(), calls.end(),
                            [](const auto& c) { return c.Op == "drCutExtrusion" && c.A[3] != 0.0; });
    ASSERT_NE(cut, calls.end());
    EXPECT_NEAR(cut->A[3], std::atan(0.1) * 180 / M_PI, 1e-9) << "narrowing along the cut";
    auto plane = std::find_if(std::make_reverse_iterator(cut), calls.rend(),
                              [](const auto& c) { return c.Op == "drPlaneEskis"; });
    ASSERT_NE(plane, calls.rend());
    EXPECT_DOUBLE_EQ(plane->A[1], face) << "from the face of half 1";
  }
}

// A view hatches nothing, and shows hidden what lies inside: the shanks of the bolts where they pass
// through the flanges, the toothed hubs' crowns inside their sleeves; and whole what lies outside: the
// hinge halves' end faces across their bores; the first and the last size.
TEST_F(CouplingTest, ViewsHatchNothingAndHideWhatIsInside)
{
  for (int row = 0; row < 9; ++row) {
    const TCoupling& c = iCouplings[row];
    std::unique_ptr<TTable> main(TextBase.GetTable(TString(c.LTable[1])));
    ASSERT_TRUE(main);
    for (int i : {0, main->CountRow - 1}) {
      const double* A = main->Row(i);
      SCOPED_TRACE(::testing::Message() << c.LTable[1] << " row " << i);
      Model(A[0], A[main->Control], A[main->Control], 0, 2);
      M.Reset();
      ASSERT_TRUE(Couplings.drCoupling(c.Name, 2));
      EXPECT_EQ(M.Hatches(), 0);
      const std::string table = c.LTable[1];
      const bool toroidal = table == "Муфта торообразная", toothed = table == "Муфта зубчатая";
      if (table == "Муфта шарнирная") {
        // The cross piece's chamfers, about each joint (x = +-A[3]/2): behind the forks' jaws. (Its
        // sides may run along a jaw's visible edge.)
        std::unique_ptr<TTable> cross(TextBase.GetTable(TString("Муфта шарнирная.Крестовина")));
        ASSERT_TRUE(cross);
        const double* S = cross->GetParam(0, A[0]);
        const double hh = S[1] / 2, c = S[4], x0 = A[3] / 2;
        int chamfers = 0;
        for (const auto& k : M.Curves) {
          const bool first = Same(std::fabs(k.y1), hh);
          const double xc = first ? k.x1 : k.x2, yo = first ? k.y2 : k.y1;
          if (k.Kind == TCurve::Line && Same(std::fabs(k.x1 - k.x2), c) && Same(std::fabs(k.y1 - k.y2), c) &&
              (first || Same(std::fabs(k.y2), hh)) && Same(std::fabs(yo), hh - c) &&
              Same(std::fabs(std::fabs(xc) - x0), hh - c)) {
            ++chamfers;
            EXPECT_EQ(k.Style, 4) << "the cross piece seen through a fork at " << k.x1 << ", " << k.y1;
          }
        }
        EXPECT_GE(chamfers, 4);
        // The halves' outer end faces seen whole, across their bores.
        double lo = INFINITY, hi = -INFINITY;
        for (const auto& k : M.Curves)
          if (k.Kind == TCurve::Line && k.Style == 1) {
            lo = std::min({lo, k.x1, k.x2});
            hi = std::max({hi, k.x1, k.x2});
          }
        for (const double x : {lo, hi})
          EXPECT_TRUE(std::any_of(M.Curves.begin(), M.Curves.end(),
                                  [&](const TCurve& k) {
                                    return k.Kind == TCurve::Line && k.Style == 1 && Same(k.x1, x) &&
                                           Same(k.x2, x) && std::min(k.y1, k.y2) < 0 &&
                                           std::max(k.y1, k.y2) > 0;
                                  }))
              << "the end face at " << x;
        continue;
      }
      if (!toroidal && !toothed && table != "Муфта фланцевая") continue;
      // A bolt's shank lines: at half its diameter from a fastener axis; visible only out of the joint.
      const double d = toroidal ? A[5] : A[19];
      int hidden = 0;
      for (const auto& a : FastenerAxes(M)) {
        for (const auto& k : M.Curves) {
          if (k.Kind == TCurve::Line && Same(k.y1, k.y2) && Same(std::fabs(k.y1 - a.y1), d / 2)) {
            hidden += k.Style == 4;
            // The joint: both flanges either side of x = 0, or the toroidal one inside its outer face.
            const bool inside = toroidal ? std::fabs(k.x1 + k.x2) / 2 < A[7] / 2 + A[6]
                                         : std::min(k.x1, k.x2) < 0 && std::max(k.x1, k.x2) > 0;
            EXPECT_FALSE(k.Style == 1 && inside) << "a shank seen inside the joint at " << k.y1;
          }
        }
      }
      EXPECT_GT(hidden, 0);
      if (!toothed) continue;
      const double w = A[11] / 2, Rc = w * w / 4 + 1;
      for (const auto& k : M.Curves) {
        if (k.Kind == TCurve::Arc && Same(k.r, Rc)) {
          EXPECT_EQ(k.Style, 4) << "the crown inside the sleeve";
        }
      }
    }
  }
}

// The star coupling's section shows the star between the jaws, hatched as rubber, the jaw the plane
// cuts hatched with its half, and no line running through the star.
TEST_F(CouplingTest, TheStarSectionShowsItsStar)
{
  std::unique_ptr<TTable> main(TextBase.GetTable(TString("Муфта со звездочкой")));
  std::unique_ptr<TTable> stars(TextBase.GetTable(TString("Муфта со звездочкой.Звездочка")));
  ASSERT_TRUE(main && stars);
  for (int i : {0, main->CountRow - 1}) {
    const double* A = main->Row(i);
    const double* St = stars->GetParam(2, 2 * A[6]);
    SCOPED_TRACE(::testing::Message() << "row " << i);
    Model(A[0], A[1], A[1], 0, 0);
    M.Reset();
    ASSERT_TRUE(Couplings.drCoupling(TString("со Звездочкой ГОСТ Р 50894-96"), 1));
    ASSERT_TRUE(DrawingSound(M));
    const double t = St[3] / 2, Rc = St[2] / 2 / std::sin(M_PI / St[5]), R = A[3] / 2;
    const auto hatches = M.Of("drHatch");
    int rubber = -1;
    for (int k = 0; k < int(hatches.size()); ++k)
      if (hatches[k].A[0] == 1) rubber = k;
    ASSERT_GE(rubber, 0);
    const auto box = TRecordingModeler::Box(M.HatchBoundary(rubber));
    EXPECT_TRUE(Same(box.x1, -t) && Same(box.x2, t) && Same(box.y1, -Rc) && Same(box.y2, Rc));
    for (const auto& c : M.Curves) {
      if (c.Kind != TCurve::Line || c.Style != 1 || c.Hatch >= 0) continue;
      const double mx = (c.x1 + c.x2) / 2, my = (c.y1 + c.y2) / 2;
      EXPECT_FALSE(std::fabs(mx) < t - 1e-6 && std::fabs(my) < Rc - 1e-6)
          << "a line through the star at " << my;
    }
    // Above the star, by the rim, the plane cuts a jaw: hatched as a half.
    bool jaw = false;
    for (int k = 0; k < int(hatches.size()); ++k)
      jaw = jaw || (hatches[k].A[0] == 0 && Inside(Segments(M.HatchBoundary(k)), 0.0, R - 2 * A[10]));
    EXPECT_TRUE(jaw);
  }
}

// The model turns the second jaw-disc half a quarter about the axis, so the section plane runs along
// the first half's slot and across the second's, on every row and bore type. The section: the first
// half stops one slot depth short of its face, the insert's tongue there stands the hub's full
// height, and the second half keeps its slotted end above the slot, the insert's other tongue
// filling it below. The view: the first half's slot floor is hidden inside the hub (nothing seen of
// it but where the slot breaks through the hub's rim), and the second half's slot is seen whole.
TEST_F(CouplingTest, JawDiscDrawingsTurnTheSlotsAsTheModelDoes)
{
  std::unique_ptr<TTable> main(TextBase.GetTable(TString("Муфта кулачково-дисковая")));
  ASSERT_TRUE(main);
  const TString name("Муфта кулачково-дисковая ГОСТ 20720-93");
  for (int i = 0; i < main->CountRow; ++i)
    for (const auto& [t1, t2] : {std::pair{0, 2}, {3, 1}}) {
      const double* A = main->Row(i);
      SCOPED_TRACE(::testing::Message() << "row " << i << " types " << t1 << " " << t2);
      Model(A[0], A[1], A[1], t1, t2);
      const double gap = A[4 + (t1 & 1)] - 2 * A[6 + (t1 & 1)], rb = A[1] / 2, R = A[3] / 2, s = A[12] / 2,
                   q = A[13];
      ASSERT_TRUE(rb < s && s < R);
      M.Reset();
      ASSERT_TRUE(Couplings.drCoupling(name, 1));
      ASSERT_EQ(M.Hatches(), 3);
      const std::vector<TSeg> half1 = Segments(M.HatchBoundary(0)), insert = Segments(M.HatchBoundary(1)),
                              half2 = Segments(M.HatchBoundary(2));
      // In the slots, above and below the slot's half-width; behind the first slot's floor.
      const double x1 = -gap / 2 - q / 2, x2 = gap / 2 + q / 2, hi = (s + R) / 2, lo = (rb + s) / 2;
      for (const double y : {1.0, -1.0}) {
        EXPECT_TRUE(Inside(half1, x1 - q, y * hi));
        EXPECT_FALSE(Inside(half1, x1, y * hi) || Inside(half1, x1, y * lo))
            << "the first half over its slot";
        EXPECT_TRUE(Inside(insert, x1, y * hi) && Inside(insert, x1, y * lo)) << "the tongue along the plane";
        EXPECT_TRUE(Inside(insert, x2, y * lo)) << "the tongue across the plane";
        EXPECT_FALSE(Inside(insert, x2, y * hi)) << "the tongue across the plane, above the slot";
        EXPECT_TRUE(Inside(half2, x2, y * hi)) << "the second half above its slot";
        EXPECT_FALSE(Inside(half2, x2, y * lo)) << "the second half over its slot";
      }
      M.Reset();
      ASSERT_TRUE(Couplings.drCoupling(name, 2));
      EXPECT_EQ(M.Hatches(), 0);
      // Where the slot along the plane breaks through the first hub's rim, and its chamfered face.
      const double f = A[14], yc = std::sqrt(R * R - s * s), yf = std::sqrt((R - f) * (R - f) - s * s),
                   floor = -gap / 2 - q;
      auto rim = [&](double x) { return x < -gap / 2 - f ? yc : yc + (yf - yc) * (x + gap / 2 + f) / f; };
      bool hidden = false, seen[2] = {};
      for (const auto& c : M.Curves) {
        if (c.Kind != TCurve::Line) continue;
        if (c.Style == 1)
          for (int k = 1; k < 20; ++k) {
            const double x = c.x1 + (c.x2 - c.x1) * k / 20, y = c.y1 + (c.y2 - c.y1) * k / 20;
            EXPECT_FALSE(x > floor + 1e-6 && x < -gap / 2 - 1e-6 && std::fabs(y) < rim(x) - 1e-6)
                << "seen inside the first hub at " << x << ", " << y;
          }
        if (c.Style == 4 && Same(c.x1, floor) && Same(c.x2, floor) &&
            std::min(std::fabs(c.y1), std::fabs(c.y2)) < 1e-6 &&
            Same(std::max(std::fabs(c.y1), std::fabs(c.y2)), yc))
          hidden = true;
        // The second slot's sides, seen.
        if (c.Style == 1 && Same(c.y1, c.y2) && Same(std::fabs(c.y1), s) &&
            Same(std::min(c.x1, c.x2), gap / 2) && Same(std::max(c.x1, c.x2), gap / 2 + q))
          seen[c.y1 > 0] = true;
      }
      EXPECT_TRUE(hidden) << "the first slot's floor, hidden";
      EXPECT_TRUE(seen[0] && seen[1]) << "the second slot's sides";
    }
}

// Every row: the sleeve-and-pin view shows the pins its section shows, and no centre line of a pin it
// does not draw.
TEST_F(CouplingTest, TheSleeveAndPinViewShowsThePinsOfItsSection)
{
  std::unique_ptr<TTable> main(TextBase.GetTable(TString("МУВП")));
  ASSERT_TRUE(main);
  for (int i = 0; i < main->CountRow; ++i) {
    const double* A = main->Row(i);
    SCOPED_TRACE(::testing::Message() << "row " << i);
    Model(A[0], A[17], A[17], 0, 0);
    std::set<long long> shown[2];
    for (int mode : {1, 2}) {
      M.Reset();
      ASSERT_TRUE(Couplings.drCoupling(TString(MUVP), mode));
      for (const auto& a : FastenerAxes(M))
        shown[mode - 1].insert(std::llround(a.y1 * 1e6));
    }
    EXPECT_FALSE(shown[0].empty());
    EXPECT_EQ(shown[0], shown[1]);
  }
}

// The jaw-disc section shows the first half's keyway as every coupling shows one: its hatch reaches the
// bore on both sides of the axis, and the keyway above it, from the half's end face to its slot, is drawn
// over the bore line; every row, cylindrical and conical.
TEST_F(CouplingTest, TheJawDiscSectionDrawsItsKeywayOverTheBore)
{
  std::unique_ptr<TTable> main(TextBase.GetTable(TString("Муфта кулачково-дисковая")));
  ASSERT_TRUE(main);
  const TString name("Муфта кулачково-дисковая ГОСТ 20720-93");
  for (int i = 0; i < main->CountRow; ++i)
    for (int type = 0; type < 4; ++type) {
      const double* A = main->Row(i);
      SCOPED_TRACE(::testing::Message() << "row " << i << " type " << type);
      Model(A[0], A[1], A[1], type, type);
      M.Reset();
      ASSERT_TRUE(Couplings.drCoupling(name, 1));
      const double* K = KeywayRow(A[1]);
      ASSERT_TRUE(K);
      const double Lh = A[6 + (type & 1)], gap = A[4 + (type & 1)] - 2 * Lh, q = A[13], rb = A[1] / 2;
      const double x1 = -gap / 2 - Lh, x2 = -gap / 2 - q, kt = rb + K[2];
      const std::vector<TSeg> half1 = Segments(M.HatchBoundary(0));
      for (const double y : {rb + 0.01, -rb - 0.01})
        EXPECT_TRUE(Inside(half1, (x1 + x2) / 2, y)) << "the hatch at " << y;
      EXPECT_EQ(M.Count("drColouring"), 1);
      EXPECT_TRUE(std::any_of(M.Curves.begin(), M.Curves.end(), [&](const TCurve& c) {
        return c.Kind == TCurve::Line && c.Style == 1 && c.Hatch < 0 && Same(c.y1, kt) && Same(c.y2, kt) &&
               Same(std::min(c.x1, c.x2), x1) && Same(std::max(c.x1, c.x2), x2);
      })) << "the keyway's top";
    }
}

// Every row: the star coupling's view hides the steps inside the second half's jaws; only the jaw
// ring's outline and the faces are seen there.
TEST_F(CouplingTest, TheStarViewHidesTheJawsInnerSteps)
{
  std::unique_ptr<TTable> main(TextBase.GetTable(TString("Муфта со звездочкой")));
  ASSERT_TRUE(main);
  for (int i = 0; i < main->CountRow; ++i)
    for (int type : {0, 1}) {
      const double* A = main->Row(i);
      SCOPED_TRACE(::testing::Message() << "row " << i << " type " << type);
      Model(A[0], A[1], A[1], type, type);
      M.Reset();
      ASSERT_TRUE(Couplings.drCoupling(TString("со Звездочкой ГОСТ Р 50894-96"), 2));
      // The second half's jaws stand from its frame's origin to its hub's face.
      const int di = type & 1 ? 0 : 11;
      const double jaws = A[5 + di] - A[4 + di], x = A[13] / 2 - jaws / 2, R = A[3] / 2;
      for (const auto& c : M.Curves)
        if (c.Kind == TCurve::Line && c.Style == 1 && Same(c.y1, c.y2) && !Same(c.x1, c.x2)) {
          const double mid = (c.x1 + c.x2) / 2;
          EXPECT_FALSE(mid > x + 1e-6 && mid < x + jaws - 1e-6 && std::fabs(c.y1) < R - 1e-6 &&
                       !Same(c.y1, 0.0))
              << "an edge seen inside the jaw ring at " << c.y1;
        }
    }
}

namespace {
// A table holding one row of a loaded table, some of its values changed: a row the text base might hold.
struct TChangedRow
{
  TChangedRow(const TTable& t, const double* row, int column, double value) : Values(row, row + t.CountColumn)
  {
    Values[std::size_t(column)] = value;
    Table = std::make_unique<TTable>(t.CountColumn, t.CountColumn, t.Control, Values.data());
  }
  std::vector<double> Values;
  std::unique_ptr<TTable> Table;
};

struct TOddRow
{
  const char* Key;
  const char* Coupling;
  int Row;           // of the coupling's main table
  int Column;        // changed
  double Value;      // to this
  double Edge = 0.0; // how far off its axis a fastener's shank is checked, in its diameters
};
void PrintTo(const TOddRow& r, std::ostream* os)
{
  *os << r.Key;
}

// Bolt and pin counts that leave none opposite the first, and a bolt circle of its own.
const TOddRow OddRows[] = {
    {"muvp_pins_4_5", MUVP, 20, 15, 4.5},
    {"flanged_bolts_4_5", "Фланцевая ГОСТ 20761-96", 5, 6, 4.5},
    {"flanged_bolts_7", "Фланцевая ГОСТ 20761-96", 5, 6, 7.0},
    {"toothed_bolts_4_5", "Зубчатая ГОСТ Р 50895-96", 6, 20, 4.5},
    {"toothed_flanged_bolts_4_5", "Зубчатая МЗП ГОСТ Р 50895-96", 6, 20, 4.5},
    {"toothed_flanged_bolts_3", "Зубчатая МЗП ГОСТ Р 50895-96", 6, 20, 3.0},
    {"toroidal_bolts_5", "Торообразная ГОСТ Р 50892-96", 5, 4, 5.0},
    {"toothed_bolt_circle", "Зубчатая ГОСТ Р 50895-96", 6, 18, 160.0, 0.4},
    {"toothed_flanged_bolt_circle", "Зубчатая МЗП ГОСТ Р 50895-96", 6, 18, 160.0, 0.4},
    // Washers, nuts and heads reaching below the sleeves' barrels.
    {"toothed_bolt_circle_220", "Зубчатая ГОСТ Р 50895-96", 26, 18, 220.0, 0.4},
    {"toothed_bolt_circle_235", "Зубчатая ГОСТ Р 50895-96", 26, 18, 235.0, 0.4},
    {"toothed_flanged_bolt_circle_230", "Зубчатая МЗП ГОСТ Р 50895-96", 26, 18, 230.0, 0.4},
};

class OddRowDrawing : public CouplingTest, public ::testing::WithParamInterface<TOddRow>
{
};
} // namespace

// A row the shipped tables do not hold: the section and the view draw a fastener below the axis exactly
// where the model has one opposite the first, each fastener in its own hole on the model's circle, and the
// view nothing of a part across a fastener.
TEST_P(OddRowDrawing, DrawsTheFastenersWhereTheModelHasThem)
{
  const TOddRow& odd = GetParam();
  const TCoupling* c = std::find_if(iCouplings, iCouplings + 9,
                                    [&](const TCoupling& k) { return k.Name == TString(odd.Coupling); });
  ASSERT_NE(c, iCouplings + 9);
  std::unique_ptr<TTable> main(TextBase.GetTable(TString(c->LTable[1])));
  ASSERT_TRUE(main);
  const double* A = main->Row(odd.Row);
  const double d = A[main->Control];
  Model(A[0], d, d, 0, 0);
  // The row's tables loaded, its main table then holding the changed row only.
  ASSERT_TRUE(Couplings.drCoupling(c->Name, 1));
  TChangedRow changed(*ATable[0], A, odd.Column, odd.Value);
  TTable* kept = ATable[0];
  ATable[0] = changed.Table.get();
  std::vector<double> heights[2];
  for (int mode : {1, 2}) {
    M.Reset();
    (mode == 1 ? c->Make2D : c->Make2DView)();
    ASSERT_TRUE(DrawingSound(M));
    for (const auto& a : FastenerAxes(M))
      heights[mode - 1].push_back(a.y1);
    ASSERT_FALSE(heights[mode - 1].empty());
    if (mode == 2) {
      EXPECT_TRUE(NoLineAcrossFasteners(M, true)) << "view";
    }
    if (mode == 1) {
      const double* K = ATable[1] ? ATable[1]->GetParam(0, A[19]) : nullptr;
      const double edge = K ? odd.Edge * K[0] : 0.0;
      EXPECT_TRUE(NoHatchAcrossFasteners(M, Regions(M), edge));
      // Where no fastener stands below the axis, neither does its hole: some boundary line away from the
      // axis above it (a wall of the top hole) has no mirror image below.
      const double top = *std::max_element(heights[0].begin(), heights[0].end());
      std::vector<TCurve> lines;
      for (const auto& k : M.Curves)
        if (k.Hatch >= 0 && k.Kind == TCurve::Line) lines.push_back(k);
      auto on = [&](double x, double y) {
        return std::any_of(lines.begin(), lines.end(), [&](const TCurve& b) {
          const double dx = b.x2 - b.x1, dy = b.y2 - b.y1, len = std::hypot(dx, dy);
          return len > 0 && std::fabs((x - b.x1) * dy - (y - b.y1) * dx) / len < 1e-6 &&
                 (x - b.x1) * dx + (y - b.y1) * dy >= -1e-6 && (x - b.x2) * dx + (y - b.y2) * dy <= 1e-6;
        });
      };
      auto mirrored = [&](const TCurve& a) {
        for (const double t : {0.25, 0.5, 0.75})
          if (!on(a.x1 + (a.x2 - a.x1) * t, -(a.y1 + (a.y2 - a.y1) * t))) return false;
        return true;
      };
      const bool below = std::any_of(heights[0].begin(), heights[0].end(), [](double y) { return y < 0; });
      const auto unmatched = std::find_if(lines.begin(), lines.end(), [&](const TCurve& a) {
        return std::min(a.y1, a.y2) > top / 2 && !mirrored(a);
      });
      EXPECT_EQ(unmatched != lines.end(), !below)
          << "the holes below the axis are the fasteners'"
          << (unmatched != lines.end() ? ::testing::PrintToString(std::vector<double>{
                                             unmatched->x1, unmatched->y1, unmatched->x2, unmatched->y2})
                                       : std::string());
    }
  }
  M.Reset();
  c->Make3D();
  ATable[0] = kept;
  EXPECT_TRUE(BothSides(M, heights[0])) << "section";
  EXPECT_TRUE(BothSides(M, heights[1])) << "view";
  // The model's bolt circle: the section's and the view's fasteners stand on it.
  std::vector<double> radii;
  for (const auto& k : M.Of("AddDetailFile"))
    if (std::hypot(k.A[1], k.A[2]) > 1e-6) radii.push_back(std::hypot(k.A[1], k.A[2]));
  for (int mode : {0, 1})
    for (const double y : heights[mode])
      EXPECT_TRUE(std::any_of(radii.begin(), radii.end(), [&](double r) { return Same(r, std::fabs(y)); }))
          << (mode == 0 ? "section" : "view") << ": a fastener at " << y << " off the model's circle";
}

INSTANTIATE_TEST_SUITE_P(Rows, OddRowDrawing, ::testing::ValuesIn(OddRows), hxcad::test::CaseNames());

// Half 2's bushing hole is cut through the whole half: where its wall lies below the hub (a pin circle moved
// in), it grooves the hub, and the section shows the groove as the model cuts it: no hatch and no hub line
// in it, its floor drawn from the flange to the hub's end, the hub hatched below it.
TEST_F(CouplingTest, TheSleeveAndPinSectionShowsTheGrooveItsBushingHoleCuts)
{
  std::unique_ptr<TTable> main(TextBase.GetTable(TString("МУВП")));
  ASSERT_TRUE(main);
  const double* A = main->GetParam(0, 500.0);
  ASSERT_EQ(A[0], 500.0);
  Model(A[0], A[main->Control], A[main->Control], 0, 0);
  ASSERT_TRUE(Couplings.drCoupling(TString(MUVP), 1));
  A = ATable[0]->GetParam(0, 500.0);
  TChangedRow changed(*ATable[0], A, 5, 113.0);
  TTable* kept = ATable[0];
  ATable[0] = changed.Table.get();
  M.Reset();
  iCouplings[0].Make2D();
  ATable[0] = kept;
  ASSERT_TRUE(DrawingSound(M));
  const double* P = ATable[1]->GetParam(ATable[1]->Control, A[14]);
  ASSERT_TRUE(P);
  // Half 2 from the gap's middle: its face at B / 2, its flange l2 thick, its bore l long (bore type 1).
  const double face = A[13] / 2, y = 113.0 / 2, floor = y - P[15] / 2, hub = A[7] / 2;
  const double x1 = face + A[11], x2 = face + A[4];
  ASSERT_LT(floor, hub - 0.5) << "the hole's wall below the hub";
  const auto regions = Regions(M);
  for (const double at : {y, -y}) {
    const double side = at > 0 ? 1.0 : -1.0;
    for (int k = 1; k < 10; ++k) {
      const double x = x1 + (x2 - x1) * k / 10;
      for (const auto& r : regions) {
        EXPECT_FALSE(Inside(r, x, side * (floor + hub) / 2)) << "hatched in the groove at " << x;
      }
      EXPECT_TRUE(std::any_of(regions.begin(), regions.end(),
                              [&](const auto& r) { return Inside(r, x, side * (floor - 0.3)); }))
          << "the hub below the groove unhatched at " << x;
      const auto through = [&](double yy) {
        return std::any_of(M.Curves.begin(), M.Curves.end(), [&](const TCurve& c) {
          return c.Kind == TCurve::Line && c.Hatch < 0 && c.Style == 1 && Same(c.y1, yy) && Same(c.y2, yy) &&
                 std::min(c.x1, c.x2) < x && std::max(c.x1, c.x2) > x;
        });
      };
      EXPECT_FALSE(through(side * hub)) << "the hub's line across the groove at " << x;
      EXPECT_TRUE(through(side * floor)) << "the groove's floor at " << x;
    }
  }
}
