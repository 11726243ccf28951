#include <cmath>
#include <limits>

#include <gtest/gtest.h>

#include "RecordingModeler.h"
#include "hxcadkit/drawing/drNodeCont.h"

namespace {

using TCall = TRecordingModeler::TCall;

// The numbers of call i of the recording.
std::vector<double> Args(const TRecordingModeler& m, std::size_t i)
{
  return i < m.Calls.size() ? m.Calls[i].A : std::vector<double>{};
}

} // namespace

// Each node kind once with the flag off and on: the calls made, their points and styles.
TEST(NodeLanguage, EachNodeDrawsItsCallsWithAndWithoutTheFlag)
{
  struct Case
  {
    const char* name;
    TNode* (*make)();
    const char* opsFlag0;
    const char* opsFlag1;
  };
  const Case cases[] = {
      {"dSP", [] { return dSP(5, 6); }, "", ""},
      {"dP", [] { return dP(5, 6); }, "drLine", "drLine"},
      {"dPx", [] { return dPx(5, 6); }, "drLine", "drLine drLine"},
      {"dPnm", [] { return dPnm(5, 6); }, "", "drLine"},
      {"dPt0", [] { return dPt0(5, 6); }, "drLine", ""},
      {"dPt1", [] { return dPt1(5, 6); }, "", "drLine"},
      {"dA", [] { return dA(1, 2, 3, 5, 6); }, "drArc", "drArc"},
      {"dCLL", [] { return dCLL(10, 2, 10, 12, 1); }, "drCLL drLine drArc drLine",
       "drCLL drLine drArc drLine"},
      {"dFsk", [] { return dFsk(10, 2, 10, 12, 1); }, "drFsk drLine drLine drLine",
       "drFsk drLine drLine drLine"},
      {"dTL", [] { return dTL(2); }, "", ""},
  };
  for (const Case& c : cases)
    for (int flag : {0, 2}) {
      SCOPED_TRACE(std::string(c.name) + " flag " + std::to_string(flag));
      TRecordingModeler m;
      TContDrawing p(&m);
      p.Make(1, 2, c.make());
      p.dr2D(flag);
      EXPECT_EQ(m.Ops(), flag ? c.opsFlag1 : c.opsFlag0);
      EXPECT_TRUE(DrawingSound(m));
    }

  // The line of dPx and its auxiliary drop to the axis in the negated style.
  TRecordingModeler m;
  TContDrawing p(&m);
  p.Make(1, 2, dPx(5, 6));
  p.dr2D(2);
  EXPECT_EQ(Args(m, 0), (std::vector<double>{1, 2, 5, 6, 2}));
  EXPECT_EQ(Args(m, 1), (std::vector<double>{5, 6, 5, 0, -2}));
}

TEST(NodeLanguage, CurrentPointAndStyleFollowTheNodes)
{
  TRecordingModeler m;
  TContDrawing p(&m);
  // dPnm and dTL keep the current point; dPt0 under the flag moves without drawing.
  p.Make(0, 0, dPnm(7, 7, dTL(-2, dP(1, 0, dPt0(2, 0, dP(3, 0, dTL(0, dP(4, 0))))))));
  p.dr2D(1);
  ASSERT_EQ(m.Calls.size(), 4u);
  EXPECT_EQ(Args(m, 0), (std::vector<double>{0, 0, 7, 7, -1}));
  EXPECT_EQ(Args(m, 1), (std::vector<double>{0, 0, 1, 0, 4})); // -2 as unsigned modulo 10
  EXPECT_EQ(Args(m, 2), (std::vector<double>{2, 0, 3, 0, 4}));
  EXPECT_EQ(Args(m, 3), (std::vector<double>{3, 0, 4, 0, 1})); // 0 gives 1
}

TEST(NodeLanguage, DrawingCodesChooseThePassesAndTheStyle)
{
  struct Case
  {
    int tl;
    bool noDraw;
    std::vector<double> ys; // end y of each line drawn, in order
    int style;
  };
  const Case cases[] = {
      {0, false, {3}, 1},    {1, false, {3}, 1},   {2, false, {3}, 2},
      {12, false, {3}, 2},   {21, false, {-3}, 1}, {31, false, {-3, 3}, 1},
      {-31, false, {3}, -1}, {45, false, {3}, 5},  {31, true, {}, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.tl);
    TRecordingModeler m;
    TContDrawing p(&m);
    p.Make(0, 0, dP(2, 3));
    p.drContBlock(c.tl, false, false, c.noDraw);
    ASSERT_EQ(m.Calls.size(), c.ys.size());
    for (std::size_t i = 0; i < c.ys.size(); ++i) {
      EXPECT_EQ(m.Calls[i].A[3], c.ys[i]);
      EXPECT_EQ(m.Calls[i].A[4], c.style);
    }
  }
  TRecordingModeler m;
  TContDrawing empty(&m);
  empty.drContBlock(31);
  EXPECT_TRUE(m.Calls.empty());
}

TEST(NodeLanguage, MirroredPassReversesArcsAndCorners)
{
  for (double r : {3.0, -3.0}) {
    TRecordingModeler m;
    TContDrawing p(&m);
    p.Make(3, 0, dA(0, 0, r, 0, 3, dCLL(-5, 3, -5, 10, 1)));
    p.dr2D(0);
    p.dr2DMY(0);
    const auto arcs = m.Of("drArc");
    ASSERT_EQ(arcs.size(), 4u); // each pass: the node's arc and the corner's fillet
    const int dir = r > 0 ? 1 : -1;
    EXPECT_EQ(arcs[0].A[7], dir);
    EXPECT_EQ(arcs[2].A[7], -dir);
    EXPECT_EQ(arcs[0].A[2], 3.0);           // the radius is |r|
    EXPECT_EQ(arcs[2].A[6], -arcs[0].A[6]); // the end mirrored
    EXPECT_EQ(arcs[3].A[7], -arcs[1].A[7]); // the fillet turns the other way
  }
}

TEST(NodeLanguage, ConditionalChainsKeepOneBranchAndFreeTheOther)
{
  // Under the leak checker the dropped branches must not leak.
  struct Case
  {
    bool ifE;
    bool c;
    std::vector<double> xs;
  };
  for (const Case& k : {Case{false, true, {1, 2, 9}}, Case{false, false, {9}}, Case{true, true, {1, 2, 9}},
                        Case{true, false, {5, 9}}}) {
    TRecordingModeler m;
    TContDrawing p(&m);
    TNode* chain = k.ifE ? dMacroIfE(k.c, dP(1, 0, dP(2, 0)), dP(5, 0), dP(9, 0))
                         : dMacroIf(k.c, dP(1, 0, dP(2, 0)), dP(9, 0));
    p.Make(0, 0, chain);
    p.dr2D(0);
    ASSERT_EQ(m.Calls.size(), k.xs.size());
    for (std::size_t i = 0; i < k.xs.size(); ++i)
      EXPECT_EQ(m.Calls[i].A[2], k.xs[i]);
  }
  // A remade program frees its old nodes; a chain never handed over is freed by dFree.
  TRecordingModeler m;
  TContDrawing p(&m);
  p.Make(0, 0, dP(1, 1));
  p.Make(0, 0, dP(2, 2));
  p.Free();
  EXPECT_TRUE(p.Empty());
  dFree(dP(1, 1, dA(0, 0, 1, 1, 0)));
}

// A node built from a size that gave no number draws nothing, and the outline goes on from the
// last point drawn.
TEST(NodeLanguage, NodeWithoutANumberIsSkipped)
{
  const double nan = std::numeric_limits<double>::quiet_NaN();
  TRecordingModeler m;
  TContDrawing p(&m);
  p.Make(0, 0, dP(1, 0, dP(nan, 1, dA(0, 0, nan, 0, 1, dCVR(1, 1, 2, 2, nan, 3, 1, dP(0, 5))))));
  p.drContBlock(31);
  EXPECT_TRUE(m.AllFinite());
  EXPECT_EQ(m.Count("drLine"), 4);
}

namespace {
// Strictly inside the box (x1, y1)-(x2, y2) of the frame turned by 30 degrees about (5, -3).
bool InTurnedBox(double x, double y, double x1, double y1, double x2, double y2, double margin)
{
  const double c = std::cos(M_PI / 6), s = std::sin(M_PI / 6), u = c * (x - 5) + s * (y + 3),
               v = -s * (x - 5) + c * (y + 3);
  return u > x1 + margin && u < x2 - margin && v > y1 + margin && v < y2 - margin;
}
} // namespace

// Lines drawn while regions stand stop exactly at them, in the sheet, whatever the placement: every
// point of a segment strictly inside a region is left out, every point outside all of them drawn; a line
// along a region's outline stays; an arc of a drawing stops at them too; a hatch around a hole the
// region fills stays closed.
TEST(NodeLanguage, LinesStopAtTheRegionsInFront)
{
  TRecordingModeler m;
  m.drMtr(5, -3, 30, 1);
  const double boxes[2][4] = {{0, 0, 4, 2}, {3, 1, 6, 5}};
  TFrontRegions front(m);
  for (const auto& b : boxes)
    front.Box(b[0], b[1], b[2], b[3]);
  auto inside = [&](double x, double y, double margin) {
    for (const auto& b : boxes)
      if (InTurnedBox(x, y, b[0], b[1], b[2], b[3], margin)) return true;
    return false;
  };
  // Segments across, along and beside the regions, in the placed frame.
  const double segments[][4] = {{-2, 1, 8, 1},  {1, -3, 5, 7},    {0, 0, 4, 0},    {4, 0, 4, 2},
                                {-1, 6, 7, -2}, {2, 3, 2.5, 3.5}, {3.5, 1.5, 5, 4}};
  for (const auto& s : segments) {
    m.Reset();
    TContDrawing c(&m);
    c.Make(s[0], s[1], dP(s[2], s[3]));
    c.dr2D(1);
    const double c30 = std::cos(M_PI / 6), s30 = std::sin(M_PI / 6);
    for (int k = 1; k < 200; ++k) {
      const double u = s[0] + (s[2] - s[0]) * k / 200, v = s[1] + (s[3] - s[1]) * k / 200;
      const double x = 5 + c30 * u - s30 * v, y = -3 + s30 * u + c30 * v; // on the sheet
      bool drawn = false;
      for (const auto& k2 : m.Curves) {
        const double dx = k2.x2 - k2.x1, dy = k2.y2 - k2.y1, len = std::hypot(dx, dy);
        const double t = ((x - k2.x1) * dx + (y - k2.y1) * dy) / (len * len);
        drawn = drawn ||
                (std::fabs((x - k2.x1) * dy - (y - k2.y1) * dx) / len < 1e-9 && t > -1e-9 && t < 1 + 1e-9);
      }
      if (inside(x, y, 1e-6)) {
        EXPECT_FALSE(drawn) << "hidden at " << u << ", " << v;
      }
      if (!inside(x, y, -1e-6)) {
        EXPECT_TRUE(drawn) << "left out at " << u << ", " << v;
      }
    }
  }
  // An arc through a region loses the part inside it.
  m.Reset();
  TContDrawing a(&m);
  a.Make(4, -1, dA(2, -1, 2, 0, -1));
  a.dr2D(1);
  EXPECT_EQ(m.Count("drArc"), 2);
  // A plate with a hole the region fills: the hatch's boundary runs along the hole's walls and closes.
  m.Reset();
  TContDrawing plate(&m), hole(&m);
  plate.Make(-1, -1, dP(1, -1, dP(1, 3, dP(-1, 3, dP(-1, -1)))));
  hole.Make(-1, 0.5, dP(1, 0.5, dP(1, 1.5, dP(-1, 1.5, dP(-1, 0.5)))));
  TFrontRegions pin(m);
  pin.Box(-2, 0.5, 2, 1.5);
  m.drHatch(0, 45, 2);
  plate.dr2D(0);
  hole.dr2D(0);
  m.drEndObj();
  EXPECT_TRUE(m.HatchesClosed());
  EXPECT_EQ(m.HatchBoundary(0).size(), 8u) << "the sides stop at the hole, whose walls close them";
}
