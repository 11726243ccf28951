#include <cmath>

#include <gtest/gtest.h>

#include "RecordingModeler.h"
#include "hxcadkit/drawing/Cuthole.h"

namespace {

// The steps of a hole: left (lF, ilL, ilR), central (F1, iL, iR, F2), right (irL, irR, rF).
struct TSteps
{
  double lF, ilL, ilR, F1, iL, iR, F2, irL, irR, rF;
  double Length() const { return std::max(ilL, 0.0) + std::max(iL, 0.0) + std::max(irL, 0.0); }
  double Widest() const
  {
    return std::max(
        {ilL > 0 ? ilR + lF : 0.0, iL > 0 ? iR + std::max(F1, F2) : 0.0, irL > 0 ? irR + rF : 0.0});
  }
};

const TSteps Holes[] = {
    {0, 0, 0, 0, 20, 5, 0, 0, 0, 0},     // one plain step
    {0, 0, 0, 1, 20, 5, 1, 0, 0, 0},     // one chamfered step
    {0, 8, 9, 0, 20, 5, 0, 0, 0, 0},     // counterbore and hole
    {1, 8, 9, 0.5, 20, 5, 0, 6, 7, 0.5}, // three steps
    {0, 0, 0, 0, 4, 3, 0, 10, 6, 1},     // central and right
};

void Cut(THole3DParam& h, int mask, double x, double y, double angle, const TSteps& s)
{
  h.cHole(mask, x, y, angle, 0, 0, s.lF, s.ilL, s.ilR, s.F1, s.iL, s.iR, s.F2, s.irL, s.irR, s.rF);
}

} // namespace

// Every hole of one, two and three steps in each view mask, along any direction: both walls
// make one closed loop spanning the hole's length and widest radius, one wall a closed half
// on its side of the axis; transforms balance and no macro is opened.
TEST(Hole, SectionsAreClosedAndSizedInEachViewMask)
{
  for (const TSteps& s : Holes)
    for (int mask : {16, 32, 48})
      for (double angle : {0.0, 90.0, 180.0}) {
        SCOPED_TRACE(testing::Message() << "mask " << mask << " angle " << angle << " length " << s.Length());
        TRecordingModeler m;
        THole3DParam h(m);
        Cut(h, mask, 0, 0, angle, s);
        EXPECT_TRUE(DrawingSound(m));
        EXPECT_EQ(m.Count("drMacro2D"), 0);
        EXPECT_TRUE(TRecordingModeler::ClosedChain(m.Curves));
        // Back into the hole's own frame to measure it.
        const double a = -angle * TMathDef::DEGRAD;
        for (auto& c : m.Curves) {
          const double x1 = c.x1, y1 = c.y1, x2 = c.x2, y2 = c.y2;
          c.x1 = x1 * std::cos(a) - y1 * std::sin(a), c.y1 = x1 * std::sin(a) + y1 * std::cos(a);
          c.x2 = x2 * std::cos(a) - y2 * std::sin(a), c.y2 = x2 * std::sin(a) + y2 * std::cos(a);
        }
        const auto box = TRecordingModeler::Box(m.Curves);
        EXPECT_NEAR(box.x1, 0, 1e-9);
        EXPECT_NEAR(box.x2, s.Length(), 1e-9);
        EXPECT_NEAR(box.y2, mask == 32 ? 0 : s.Widest(), 1e-9);
        EXPECT_NEAR(box.y1, mask == 16 ? 0 : -s.Widest(), 1e-9);
      }
}

// The ring hole of the sleeve: a bore chamfered at both ends, as a half-section through the
// axis that is revolved to cut.
TEST(Hole, ChamferedBoreHalfSection)
{
  const double f = 1, b = 30, d = 20;
  TRecordingModeler m;
  THole3DParam h(m);
  h.cHole(16, 0, -b / 2, 90, 0, 0, 0, 0, f + d / 2, f, b, d / 2, f, 0, f + d / 2, 0);
  const std::vector<std::vector<double>> local = {{0, 0, 0, d / 2 + f},     {0, d / 2 + f, f, d / 2},
                                                  {f, d / 2, b - f, d / 2}, {b - f, d / 2, b, d / 2 + f},
                                                  {b, d / 2 + f, b, 0},     {b, 0, 0, 0}};
  const auto lines = m.Of("drLine");
  ASSERT_EQ(lines.size(), local.size());
  for (std::size_t i = 0; i < local.size(); ++i)
    for (int k = 0; k < 4; ++k)
      EXPECT_EQ(lines[i].A[k], local[i][k]) << i;
  EXPECT_EQ(m.Of("drMtr")[0].A, (std::vector<double>{0, -b / 2, 90, 1}));
  // In sheet space the axis runs along y from -b/2 to b/2.
  EXPECT_NEAR(m.Curves.back().x1, 0, 1e-12);
  EXPECT_NEAR(m.Curves.back().y1, b / 2, 1e-12);
}

TEST(Hole, MacroWrapperThreeDAndBadSizes)
{
  TRecordingModeler m;
  THole3DParam h(m);
  h.drHole(48, 5, 5, 0, 0, 0, 0, 0, 0, 0, 20, 5, 0, 0, 0, 0);
  EXPECT_EQ(m.Count("drMacro2D"), 1);
  EXPECT_EQ(m.Count("drEndMacro"), 1);
  EXPECT_EQ(m.Calls.front().Op, "drMacro2D");
  EXPECT_EQ(m.Calls.back().Op, "drEndMacro");
  EXPECT_TRUE(DrawingSound(m));

  TRecordingModeler d;
  THole3DParam h3(d);
  h3.dr3DHole(48, 1, 2, 30, 0, 0, 0, 0, 8, 9, 0, 12, 5, 0);
  h3.dr3DHole(0, 1, 2, 30, 0, 0, 0, 0, 8, 9, 0, 22, 5, 0);
  EXPECT_EQ(d.Ops(), "drMacro3D drPlaneEskis drCircle drCutExtrusion drPlaneEskis drCircle drCutExtrusion "
                     "drEndMacro3D");
  EXPECT_EQ(d.Of("drMacro3D")[0].S[0], TString("Отверстие"));
  EXPECT_EQ(d.Of("drPlaneEskis")[1].A[1], 22.0);
  EXPECT_EQ(d.Of("drCutExtrusion")[1].A[2], 12.0);
  EXPECT_TRUE(DrawingSound(d));

  // A size that is no number draws nothing; no mask draws nothing.
  TRecordingModeler n;
  THole3DParam hn(n);
  hn.cHole(48, 0, 0, 0, 0, 0, 0, 0, 0, 0, std::nan(""), 5, 0, 0, 0, 0);
  hn.cHole(0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 20, 5, 0, 0, 0, 0);
  EXPECT_TRUE(n.Calls.empty());
  EXPECT_EQ(LHoleType.Count, 4);
  EXPECT_EQ(LHoleType[3], TString("Сложное"));
}
