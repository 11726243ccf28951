// Every row of the sleeve-and-pin table, every pair of bore types, every mode: the drawing is
// sound, the 3D sketches revolve about one axis, the assembly holds every piece it names.
#include <algorithm>
#include <cmath>
#include <memory>
#include <set>

#include "CouplingFixture.h"
#include "Duvozadu/CplgDetails.h"

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
    if (axes != 1) return ::testing::AssertionFailure() << "sketch " << sketch << " has " << axes << " axis lines";
  }
  return ::testing::AssertionSuccess();
}

std::set<std::string> Texts(const TRecordingModeler& m, const char* op, int k)
{
  std::set<std::string> s;
  for (const auto& c : m.Of(op)) s.insert(c.S[k].Utf8Text());
  return s;
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
    const double* A2 = t.Row(i);                        // half 2: the first diameter
    const double* A = t.Row((i + 1) % t.CountRow);      // half 1: the second
    for (int tt = 0; tt < 16; ++tt)
      for (int mode = 0; mode < 3; ++mode) {
        SCOPED_TRACE(::testing::Message() << "row " << i << " types " << tt % 4 << "," << tt / 4 << " mode " << mode);
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
        // Sizes come from the first row not below the diameter, whichever torque it lists.
        const double z = t.GetParam(t.Control, A2[17])[15];
        ASSERT_EQ(int(inserted.size()), 5 * int(z) + 2);
        const auto made = Texts(M, "drCreate3D", 0);
        for (const auto& c : inserted) ASSERT_TRUE(made.count(c.S[0].Utf8Text())) << c.S[0].Utf8Text();
        ASSERT_EQ(Texts(M, "AddDetailFile", 0).size(), 7u);
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
  const int whole = int(M.Calls.size());
  std::vector<double> pin(ATable[1]->Row(0), ATable[1]->Row(0) + 19);
  pin[0] = 14.0;
  struct
  {
    int Column;
    double Value;
  } faults[] = {{18, 0.0}, {16, NAN}, {3, INFINITY}};
  for (const auto& f : faults)
    for (int mode = 0; mode < 3; ++mode) {
      SCOPED_TRACE(::testing::Message() << "column " << f.Column << " mode " << mode);
      std::vector<double> bad = pin;
      bad[f.Column] = f.Value;
      TTable* good = ATable[1];
      TTable broken(1, 19, 0, bad.data());
      ATable[1] = &broken;
      M.Reset();
      const double zero = 0, one = 1;
      (mode == 0 ? dr3D_MUVP : mode == 1 ? dr2D_MUVP : dr2D_MUVPView)();
      dr2D_BushingMUVP(zero, zero, zero, one, bad.data(), 31);
      ATable[1] = good;
      EXPECT_TRUE(DrawingSound(M));
      EXPECT_TRUE(M.Count("drLine") > 0);
    }
  // Without the keyway table: no keyway, no pins, still the two halves.
  TTable* keyways = ATable[9];
  ATable[9] = nullptr;
  for (int mode = 0; mode < 3; ++mode) {
    M.Reset();
    (mode == 0 ? dr3D_MUVP : mode == 1 ? dr2D_MUVP : dr2D_MUVPView)();
    EXPECT_TRUE(DrawingSound(M));
    EXPECT_EQ(M.Count("drColouring"), 0);
    EXPECT_EQ(M.Count("drCutExtrusion"), 0);
    EXPECT_LT(int(M.Calls.size()), whole);
  }
  const double d = 30, du = 0, ll = 0, lr = 10;
  M.Reset();
  dr2D_Shponka(d, du, ll, lr, true);
  dr3DKeySeating(d, false, ll, lr);
  EXPECT_TRUE(M.Calls.empty());
  ATable[9] = keyways;
  // An empty main table: nothing drawn at all.
  TTable* main = ATable[0];
  TTable empty(0, 20, 17, nullptr);
  ATable[0] = &empty;
  M.Reset();
  dr2D_MUVP(), dr2D_MUVPView(), dr3D_MUVP();
  EXPECT_TRUE(M.Calls.empty());
  ATable[0] = main;
}
