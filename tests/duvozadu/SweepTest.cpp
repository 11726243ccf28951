// Every row of the sleeve-and-pin table, every pair of bore types, every mode: the drawing is
// sound, the 3D sketches revolve about one axis, the assembly holds every piece it names.
#include <algorithm>
#include <cmath>
#include <memory>
#include <set>

#include "CouplingFixture.h"
#include "Duvozadu/CplgDetails.h"
#include "Duvozadu/CplgShared.h"

namespace {
// Each revolved sketch holds exactly one axis line.
::testing::AssertionResult OneAxisPerRotation(const TRecordingModeler& m)
{
  int sketch = -1;
  for (const auto& c : m.Calls) {
    if (c.Op == "drPlaneEskis") ++sketch;
    if (c.Op != "drBaseRotate") continue;
    const auto axes = std::count_if(m.Curves.begin(), m.Curves.end(),
                                    [&](const auto& k) { return k.Sketch == sketch && k.Style == 3; });
    if (axes != 1)
      return ::testing::AssertionFailure() << "sketch " << sketch << " has " << axes << " axis lines";
  }
  return ::testing::AssertionSuccess();
}

} // namespace

TEST_F(CouplingTest, EveryRowBuildsSoundlyInEveryMode)
{
  // A copy of its own: every build reloads the slots.
  std::unique_ptr<TTable> main(TextBase.GetTable(TString("МУВП")));
  ASSERT_TRUE(main);
  const TTable& t = *main;
  int builds = 0;
  for (int i = 0; i < t.CountRow; ++i) {
    const double* A2 = t.Row(i);                   // half 2: the first diameter
    const double* A = t.Row((i + 1) % t.CountRow); // half 1: the second
    for (int tt = 0; tt < 16; ++tt)
      for (int mode = 0; mode < 3; ++mode) {
        SCOPED_TRACE(::testing::Message()
                     << "row " << i << " types " << tt % 4 << "," << tt / 4 << " mode " << mode);
        Model(A2[0], A2[17], A[17], tt % 4, tt / 4);
        M.Reset();
        ASSERT_TRUE(Couplings.drCoupling(TString(MUVP), mode));
        ASSERT_TRUE(DrawingSound(M));
        ++builds;
        if (mode != 0) {
          ASSERT_GE(M.Hatches(), mode == 1 ? 4 : 0);
          ASSERT_EQ(M.Count("drColouring"), mode == 1 ? 2 : 0) << "a keyway in each half of the section";
          continue;
        }
        ASSERT_TRUE(OneAxisPerRotation(M));
        ASSERT_EQ(M.Count("drBaseRotate"), 7); // pin, two bushings, nut, washer, two halves
        const auto inserted = M.Of("AddDetailFile");
        // Both halves come from the group built: its pin count.
        const double z = GroupRows(&t, A2[0], A[17], A2[17]).R2[15];
        ASSERT_EQ(ControlModel.M, GroupRows(&t, A2[0], A[17], A2[17]).Torque);
        ASSERT_EQ(int(inserted.size()), 5 * int(z) + 2);
        std::set<std::string> made, used;
        for (const auto& c : M.Of("drCreate3D"))
          made.insert(c.S[0].Utf8Text());
        for (const auto& c : inserted)
          used.insert(c.S[0].Utf8Text());
        ASSERT_TRUE(std::includes(made.begin(), made.end(), used.begin(), used.end()));
        ASSERT_EQ(used.size(), 7u);
      }
  }
  EXPECT_EQ(builds, t.CountRow * 48);
}

TEST_F(CouplingTest, SectionViewAndModelTakeTheSamePin)
{
  // A coupling whose pin key equals a pin's diameter: the interval lookup would take the
  // smaller pin for the section alone.
  Model(125, 25, 25, 0, 0);
  ASSERT_TRUE(Couplings.drCoupling(TString(MUVP), 1));
  const double* P = ATable[1]->GetParam(0, 14.0);
  ASSERT_EQ(P[0], 14.0);
  const double length = P[2]; // each build reloads the table
  auto pinAxis = [&] {
    return std::count_if(M.Curves.begin(), M.Curves.end(), [&](const auto& c) {
      return c.Style == 3 && std::fabs(std::fabs(c.x2 - c.x1) - (length + 5.0)) < 1e-9;
    });
  };
  EXPECT_EQ(pinAxis(), 1);
  for (int mode : {2, 0}) {
    M.Reset();
    ASSERT_TRUE(Couplings.drCoupling(TString(MUVP), mode));
    EXPECT_EQ(pinAxis(), 1) << "mode " << mode;
  }
}

TEST_F(CouplingTest, BadTablesDrawLessButNeverUnsoundly)
{
  Model(125, 25, 25, 0, 0);
  ASSERT_TRUE(Couplings.drCoupling(TString(MUVP), 1));
  const PAction builds[] = {dr3D_MUVP, dr2D_MUVP, dr2D_MUVPView};
  // Builds every mode with slot k holding t (null: none); the drawing stays sound.
  auto each = [&](int k, TTable* t, auto&& check) {
    TTable* kept = ATable[k];
    ATable[k] = t;
    for (PAction b : builds) {
      M.Reset();
      b();
      EXPECT_TRUE(DrawingSound(M));
      check();
    }
    ATable[k] = kept;
  };
  // A pin row that divides by zero or holds no number: no pin pieces, the halves still drawn.
  std::vector<double> pin(ATable[1]->Row(0), ATable[1]->Row(0) + 19);
  pin[0] = 14.0;
  for (auto [at, value] : {std::pair{18, 0.0}, {16, NAN}, {3, INFINITY}}) {
    const int column = at; // lambdas may not capture bindings in clang 14
    std::vector<double> bad = pin;
    bad[column] = value;
    TTable broken(1, 19, 0, bad.data());
    each(1, &broken, [&] { EXPECT_GT(M.Count("drLine"), 0) << column; });
    const double zero = 0, one = 1;
    dr2D_BushingMUVP(zero, zero, zero, one, bad.data(), 31);
    EXPECT_TRUE(DrawingSound(M));
  }
  // Without the keyway table: no keyway cut or drawn, no pins.
  each(9, nullptr, [&] { EXPECT_EQ(M.Count("drColouring") + M.Count("drCutExtrusion"), 0); });
  // An empty main table: nothing at all.
  TTable empty(0, 20, 17, nullptr);
  each(0, &empty, [&] { EXPECT_TRUE(M.Calls.empty()); });
}
