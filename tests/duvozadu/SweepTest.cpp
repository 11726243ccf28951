// Every built catalogue row, on every row of its main table, with every pair of bore types, in
// every mode: the drawing is sound, the 3D sketches revolve about one axis, the assembly holds
// the pieces the row names, every one of them a file the build made.
#include <algorithm>
#include <cmath>
#include <memory>
#include <set>

#include "CouplingFixture.h"
#include "Duvozadu/CplgDetails.h"
#include "Duvozadu/CplgShared.h"
#include "Duvozadu/pmCommands.h"
#include "tests/TestNames.h"

namespace {
// Each revolved sketch holds exactly one axis line.
::testing::AssertionResult OneAxisPerRotation(const TRecordingModeler& m)
{
  int sketch = -1;
  for (const auto& c : m.Calls) {
    if (c.Op == "drPlaneEskis") ++sketch;
    if (c.Op != "drBaseRotate" && c.Op != "drCutRotate") continue;
    const auto axes = std::count_if(m.Curves.begin(), m.Curves.end(),
                                    [&](const auto& k) { return k.Sketch == sketch && k.Style == 3; });
    if (axes != 1)
      return ::testing::AssertionFailure() << "sketch " << sketch << " has " << axes << " axis lines";
  }
  return ::testing::AssertionSuccess();
}

// A catalogue row as the sweep builds it. Components counts the assembly's components from the
// main-table rows of the first and the second bore; Parts the distinct files inserted.
struct TSweepRow
{
  const char* Key; // the case name
  const char* Coupling;
  const char* Table;
  int Rotations;
  int Parts;
  int (*Components)(const double* R1, const double* R2);
  int SectionHatches; // at least
  int SectionKeyways; // filled keyways in the section
  // Pieces built once and placed twice for one shaft: with two shafts (or, by type, two bore types)
  // each is built for its own (one more part and one more rotation each).
  int Twin = 0;
  bool TwinByType = false;
};
void PrintTo(const TSweepRow& r, std::ostream* os)
{
  *os << r.Key;
}

const TSweepRow SweepRows[] = {
    // pin, two bushings, nut, washer, two halves; five pieces at every pin
    {"muvp", MUVP, "МУВП", 7, 7, [](const double* R1, const double*) { return 5 * IntPart(R1[15]) + 2; }, 4,
     2},
    // two halves, bolt, nut and washer; three pieces at every bolt
    {"flanged", "Фланцевая ГОСТ 20761-96", "Муфта фланцевая", 5, 5,
     [](const double* R1, const double*) { return 2 + 3 * IntPart(R1[6]); }, 2, 2},
    // the star and two halves
    {"star", "со Звездочкой ГОСТ Р 50894-96", "Муфта со звездочкой", 2, 3,
     [](const double*, const double*) { return 3; }, 2, 2},
    // the half twice (or both halves) and the insert; the section's keyway the first half's
    {"jawdisc", "Муфта кулачково-дисковая ГОСТ 20720-93", "Муфта кулачково-дисковая", 2, 2,
     [](const double*, const double*) { return 3; }, 3, 1, 1, true},
    // both halves, the middle piece, pin and bushing turned; the cross piece's holes cut by revolving;
    // the single joint inserts five of its six parts, the double nine components of all six
    {"hinge", "Шарнирная ГОСТ 5147-97", "Муфта шарнирная", 5, 5,
     [](const double*, const double*) { return 5; }, 2, 0},
    {"hinge2", "Шарнирная c втулкой ГОСТ 5147-97", "Муфта шарнирная", 5, 6,
     [](const double*, const double*) { return 9; }, 2, 0},
    // two hubs, sleeve, cover, bolt, washer, nut: the hubs, sleeves and covers, a bolt set at every bolt
    {"toothed", "Зубчатая ГОСТ Р 50895-96", "Муфта зубчатая", 7, 7,
     [](const double* R1, const double*) { return 6 + 3 * IntPart(R1[20]); }, 6, 2},
    // hub, sleeve, flanged half, cover, bolt, washer, nut: each once, a bolt set at every bolt
    {"toothed_flanged", "Зубчатая МЗП ГОСТ Р 50895-96", "Муфта зубчатая", 7, 7,
     [](const double* R1, const double*) { return 4 + 3 * IntPart(R1[20]); }, 4, 2},
    // two halves, shell, ring, half-ring, bolt, washer: rings twice (each side's own for two shafts), two
    // bolts and washers at every bolt
    {"toroidal", "Торообразная ГОСТ Р 50892-96", "Муфта торообразная", 7, 7,
     [](const double* R1, const double*) { return 7 + 4 * IntPart(R1[4]); }, 7, 2, 2},
};

class CouplingSweep : public CouplingTest, public ::testing::WithParamInterface<TSweepRow>
{
};
} // namespace

TEST_P(CouplingSweep, EveryRowBuildsSoundlyInEveryMode)
{
  const TSweepRow& row = GetParam();
  // A copy of its own: every build reloads the slots.
  std::unique_ptr<TTable> main(TextBase.GetTable(TString(row.Table)));
  ASSERT_TRUE(main);
  const TTable& t = *main;
  const int c = t.Control;
  int builds = 0;
  for (int i = 0; i < t.CountRow; ++i) {
    // The first bore, and another of the same size: the next row's, else the one before (a size
    // of one bore, its own).
    const double* A1 = t.Row(i);
    const bool next = i + 1 < t.CountRow && t.Row(i + 1)[0] == A1[0],
               before = i > 0 && t.Row(i - 1)[0] == A1[0];
    const double* A2 = t.Row(next ? i + 1 : before ? i - 1 : i);
    for (int tt = 0; tt < 16; ++tt)
      for (int mode = 0; mode < 3; ++mode) {
        SCOPED_TRACE(::testing::Message()
                     << "row " << i << " types " << tt % 4 << "," << tt / 4 << " mode " << mode);
        Model(A1[0], A1[c], A2[c], tt % 4, tt / 4);
        const TGroupRows g = GroupRows(&t, A1[0], A1[c], A2[c]);
        const int second = A1 != A2 || (row.TwinByType && tt % 4 != tt / 4) ? row.Twin : 0;
        M.Reset();
        ASSERT_TRUE(Couplings.drCoupling(TString(row.Coupling), mode));
        ASSERT_TRUE(DrawingSound(M));
        ++builds;
        if (mode != 0) {
          ASSERT_GE(M.Hatches(), mode == 1 ? row.SectionHatches : 0);
          ASSERT_EQ(M.Count("drColouring"), mode == 1 ? row.SectionKeyways : 0);
          continue;
        }
        ASSERT_TRUE(OneAxisPerRotation(M));
        ASSERT_EQ(M.Count("drBaseRotate"), row.Rotations + second);
        auto inserted = M.Of("AddDetailFile");
        for (const auto& k : M.Of("AddDetailAxleFile"))
          inserted.push_back(k);
        // Both halves come from the group built, whose torque the model takes.
        ASSERT_TRUE(g.R1 && g.R2);
        ASSERT_EQ(ControlModel.M, g.Torque);
        ASSERT_EQ(int(inserted.size()), row.Components(g.R1, g.R2));
        std::set<std::string> made, used;
        for (const auto& k : M.Of("drCreate3D"))
          made.insert(k.S[0].Utf8Text());
        for (const auto& k : inserted)
          used.insert(k.S[0].Utf8Text());
        ASSERT_TRUE(std::includes(made.begin(), made.end(), used.begin(), used.end()));
        ASSERT_EQ(int(used.size()), row.Parts + second);
      }
  }
  EXPECT_EQ(builds, t.CountRow * 48);
}

INSTANTIATE_TEST_SUITE_P(Rows, CouplingSweep, ::testing::ValuesIn(SweepRows), hxcad::test::CaseNames());

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
  // The section plane holds the pin on top and, the count being even, the one opposite.
  EXPECT_EQ(pinAxis(), 2);
  const auto axis = std::find_if(M.Curves.begin(), M.Curves.end(), [&](const auto& c) {
    return c.Style == 3 && std::fabs(std::fabs(c.x2 - c.x1) - (length + 5.0)) < 1e-9;
  });
  ASSERT_NE(axis, M.Curves.end());
  const double y = axis->y1, spacer = P[14] / 2;
  M.Reset();
  ASSERT_TRUE(Couplings.drCoupling(TString(MUVP), 0));
  EXPECT_EQ(pinAxis(), 1) << "3D";
  // The view sees the pin's spacer bushing in the gap; the pin itself lies inside.
  M.Reset();
  ASSERT_TRUE(Couplings.drCoupling(TString(MUVP), 2));
  const auto spacerLines = std::count_if(M.Curves.begin(), M.Curves.end(), [&](const auto& c) {
    return c.Style == 1 && c.y1 == c.y2 && std::fabs(std::fabs(c.y1 - y) - spacer) < 1e-9 &&
           std::fabs(c.x1 + c.x2) < 1e-9; // across the gap, which the middle plane halves
  });
  EXPECT_EQ(spacerLines, 2) << "view";
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

// Every torque of the catalogue with its smallest and largest bore, in every mode: the coupling of that
// torque is built (its designation and files named with it, its flange D drawn), and every pair of bores
// of one torque puts both halves' holes on the one pin circle of that size.
TEST_F(CouplingTest, EveryTorqueBuildsItsOwnCoupling)
{
  std::unique_ptr<TTable> main(TextBase.GetTable(TString("МУВП")));
  ASSERT_TRUE(main);
  std::vector<std::pair<int, int>> groups; // first and last row of each torque
  for (int i = 0; i < main->CountRow; ++i)
    if (i == 0 || main->Row(i)[0] != main->Row(i - 1)[0])
      groups.push_back({i, i});
    else
      groups.back().second = i;
  ASSERT_EQ(groups.size(), 13u);
  for (auto [first, last] : groups) {
    const double m = main->Row(first)[0], D = main->Row(first)[2], D1 = main->Row(first)[5];
    const double lo = main->Row(first)[17], hi = main->Row(last)[17];
    const std::string torque = TCouplingPanel::ValueText(m).Utf8Text();
    for (auto [d1, d2] : {std::pair{lo, lo}, std::pair{hi, hi}, std::pair{lo, hi}, std::pair{hi, lo}})
      for (int mode = 0; mode < 3; ++mode) {
        SCOPED_TRACE(::testing::Message() << "M " << m << " d " << d1 << "/" << d2 << " mode " << mode);
        Model(m, d1, d2, 0, 1);
        M.Reset();
        ASSERT_TRUE(Couplings.drCoupling(TString(MUVP), mode));
        EXPECT_EQ(ControlModel.M, m);
        EXPECT_EQ(ControlModel.MainName().Utf8Text().rfind("МУВП " + torque + "-", 0), 0u);
        if (mode != 0) {
          const auto box = TRecordingModeler::Box(TRecordingModeler::Outline(M.Drawn()));
          EXPECT_NEAR(box.y2, D / 2, 1e-9) << "the flange drawn";
          EXPECT_NEAR(box.y1, -D / 2, 1e-9);
          continue;
        }
        for (int n : {0, 1, 2})
          EXPECT_NE(ControlModel.Detail3D(n).Utf8Text().find(torque + "-"), std::string::npos) << n;
        int holes = 0;
        for (const auto& c : M.Of("drCircle")) {
          ++holes;
          EXPECT_NEAR(std::hypot(c.A[0], c.A[1]), D1 / 2, 1e-9) << "a hole off the pin circle";
        }
        // Half 1's cone holes (with their thread's passage where the cone narrows below the thread), half
        // 2's bushing holes.
        const int n = int(main->Row(first)[15]);
        EXPECT_TRUE(holes == 2 * n || holes == 3 * n) << holes << " holes of " << n << " pins";
      }
  }
}
