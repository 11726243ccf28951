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
