// The toothed and the toroidal couplings: what their pieces draw from a row, what a bad row or
// table leaves out, and what their 3D builds make and insert.
#include <algorithm>
#include <cmath>
#include <memory>
#include <set>
#include <vector>

#include "CouplingFixture.h"
#include "Duvozadu/CplgDetails.h"

namespace {
const char* const Tooth = "Зубчатая ГОСТ Р 50895-96";
const char* const Tooth2 = "Зубчатая МЗП ГОСТ Р 50895-96";
const char* const Torus = "Торообразная ГОСТ Р 50892-96";

using TCurve = TRecordingModeler::TCurve;
using TCall = TRecordingModeler::TCall;
using TDraw = void (*)(const double&, const double&, const double&, const double&, const double*, int, bool);

// The sketches of each part of a 3D build, in order of creation.
std::vector<std::vector<std::vector<TCall>>> PartSketches(const TRecordingModeler& m)
{
  std::vector<std::vector<std::vector<TCall>>> parts;
  bool open = false;
  for (const auto& c : m.Calls) {
    if (c.Op == "drCreate3D") {
      parts.emplace_back();
      open = false;
    } else if (c.Op == "drPlaneEskis" && !parts.empty()) {
      parts.back().emplace_back();
      open = true;
    } else if (c.Op == "drSave3D") {
      open = false;
    }
    if (open) parts.back().back().push_back(c);
  }
  return parts;
}

// The calls of each sketch of a 3D build: from its drPlaneEskis to the next sketch or part.
std::vector<std::vector<TCall>> SketchCalls(const TRecordingModeler& m)
{
  std::vector<std::vector<TCall>> s;
  bool open = false;
  for (const auto& c : m.Calls) {
    if (c.Op == "drPlaneEskis") {
      s.emplace_back();
      open = true;
    } else if (c.Op == "drCreate3D" || c.Op == "drSave3D") {
      open = false;
    }
    if (open) s.back().push_back(c);
  }
  return s;
}

int CountOf(const std::vector<TCall>& calls, const std::string& op)
{
  return int(std::count_if(calls.begin(), calls.end(), [&](const TCall& c) { return c.Op == op; }));
}

bool IsSquareCut(const TCall& c)
{
  return c.Op == "drRectAngle" && c.A[0] == -500.0;
}

double MinY(const std::vector<TCurve>& curves)
{
  double y = INFINITY;
  for (const auto& c : TRecordingModeler::Outline(curves))
    y = std::min({y, c.y1, c.y2});
  return y;
}

// A copy of one row of a loaded table with some values changed, as a table of its own.
struct TEditedRow
{
  TEditedRow(const TTable& t, const double* row, std::initializer_list<std::pair<int, double>> changes)
      : Values(row, row + t.CountColumn)
  {
    for (auto [k, v] : changes)
      Values[std::size_t(k)] = v;
    Table = std::make_unique<TTable>(t.CountColumn, t.CountColumn, t.Control, Values.data());
  }
  std::vector<double> Values;
  std::unique_ptr<TTable> Table;
};

class ToothTorusTest : public CouplingTest
{
protected:
  // Loads the row's tables (a 2D section build) for a coupling of the first torque group.
  void Load(const char* coupling, double m, double d1, double d2, int t1 = 0, int t2 = 0)
  {
    Model(m, d1, d2, t1, t2);
    ASSERT_TRUE(Couplings.drCoupling(TString(coupling), 1)) << ::testing::PrintToString(Log.Texts);
    M.Reset();
  }
  // Builds with slot k holding t for the call, the slot's own table restored after.
  template <class F> void WithSlot(int k, TTable* t, F&& build)
  {
    TTable* kept = ATable[k];
    ATable[k] = t;
    M.Reset();
    build();
    ATable[k] = kept;
  }
  static PAction Builder(int row, int mode)
  {
    const TCoupling& c = iCouplings[row];
    return mode == 0 ? c.Make3D : mode == 1 ? c.Make2D : c.Make2DView;
  }
  const double zero = 0.0, half = 180.0, one = 1.0;
};
} // namespace

TEST_F(ToothTorusTest, PiecesOfAMissingOrNonFiniteRowDrawNothing)
{
  Load(Torus, 20, 14, 14);
  const TDraw pieces[] = {dr2D_PinionTooth_V2,
                          dr2D_PinionToothOut_V1,
                          dr2D_PinionToothOut_V2,
                          dr2D_PinionToothOut_MZP_V1,
                          dr2D_PinionToothOut_MZP_V2,
                          dr2D_UGasket,
                          dr2D_Gasket_V1,
                          dr2D_ToroidalSelgCoupling_V2,
                          dr2D_ToroidalRubber_V1,
                          dr2D_ToroidalRubber_V2,
                          dr2D_ToroidalSelfCircle,
                          dr2D_ToroidalCircle};
  std::vector<double> nan(ATable[0]->Row(0), ATable[0]->Row(0) + 23);
  nan[2] = NAN;
  for (const double* row : {static_cast<const double*>(nullptr), static_cast<const double*>(nan.data())}) {
    for (TDraw p : pieces)
      p(zero, zero, zero, one, row, 31, false);
    dr2D_PinionTooth_V1(zero, zero, zero, one, row, 0, 31, false);
    dr2D_ToroidalSelfCoupling(zero, zero, zero, one, row, 0, 31, false);
    EXPECT_TRUE(M.Calls.empty()) << M.Ops();
  }
  // A main table without a row, or with a value that is no number: no build draws anything.
  for (int row : {3, 4, 5}) {
    Load(iCouplings[row].Name.Utf8Text().c_str(), row == 5 ? 800 : 1000, 40, 40);
    TTable empty(0, ATable[0]->CountColumn, 1, nullptr);
    TEditedRow broken(*ATable[0], ATable[0]->Row(0), {{7, INFINITY}});
    for (TTable* t : {&empty, broken.Table.get()})
      for (int mode = 0; mode < 3; ++mode) {
        WithSlot(0, t, Builder(row, mode));
        EXPECT_TRUE(M.Calls.empty()) << row << " mode " << mode << ": " << M.Ops();
        EXPECT_TRUE(DrawingSound(M));
      }
  }
}

TEST_F(ToothTorusTest, CodeZeroDrawsOneClosedHalfWithoutHatchOrKeyway)
{
  Load(Torus, 800, 45, 45);
  // A copy: the toothed build that follows replaces the toroidal table.
  const double* row = ATable[0]->Row(ATable[0]->NumberRow(1, 45.0));
  const std::vector<double> keep(row, row + 23);
  const double* T = keep.data();
  Load(Tooth, 4000, 45, 45);
  const double* A = ATable[0]->Row(ATable[0]->NumberRow(1, 45.0));
  struct
  {
    TDraw Draw;
    const double* Row;
    bool Hatched;
  } pieces[] = {{dr2D_PinionTooth_V2, A, false},
                {dr2D_PinionToothOut_V1, A, true},
                {dr2D_PinionToothOut_V2, A, false},
                {dr2D_PinionToothOut_MZP_V1, A, true},
                {dr2D_PinionToothOut_MZP_V2, A, false},
                {dr2D_UGasket, A, true},
                {dr2D_ToroidalSelgCoupling_V2, T, false},
                {dr2D_ToroidalRubber_V1, T, true},
                {dr2D_ToroidalRubber_V2, T, false},
                {dr2D_ToroidalSelfCircle, T, true},
                {dr2D_ToroidalCircle, T, true}};
  auto both = [&](auto&& draw, bool hatched, int k) {
    SCOPED_TRACE(k);
    M.Reset();
    draw(0);
    EXPECT_EQ(M.Count("drHatch") + M.Count("drColouring"), 0);
    for (const auto& c : M.Curves)
      EXPECT_TRUE(c.Style > 0 && c.y1 >= 0.0 && c.y2 >= 0.0) << "style " << c.Style;
    EXPECT_TRUE(TRecordingModeler::ClosedChain(TRecordingModeler::Outline(M.Curves)));
    EXPECT_EQ(std::count_if(M.Curves.begin(), M.Curves.end(), [](const TCurve& c) { return c.Style == 3; }),
              1);
    M.Reset();
    draw(31);
    EXPECT_EQ(M.Hatches(), hatched ? 1 : 0);
    EXPECT_TRUE(DrawingSound(M));
    M.Reset();
    // Outlines of both halves only.
    draw(30);
    EXPECT_EQ(M.Hatches(), 0);
    for (const auto& c : M.Curves)
      EXPECT_GT(c.Style, 0);
  };
  int k = 0;
  for (auto& p : pieces)
    both([&](int tl) { p.Draw(zero, zero, zero, one, p.Row, tl, false); }, p.Hatched, k++);
  both([&](int tl) { dr2D_PinionTooth_V1(zero, zero, zero, one, A, 2, tl, false); }, true, k++);
  both([&](int tl) { dr2D_ToroidalSelfCoupling(zero, zero, zero, one, T, 3, tl, false); }, true, k++);
}

TEST_F(ToothTorusTest, ConicalBoresNarrowTowardsTheMiddle)
{
  Load(Tooth, 4000, 45, 45);
  const double* A = ATable[0]->Row(ATable[0]->NumberRow(1, 45.0));
  for (int t = 0; t < 4; ++t) {
    M.Reset();
    dr2D_PinionTooth_V1(zero, zero, zero, one, A, t, 0, false);
    // 1:10 on the diameter over the bore, from the hub's inner face to its chamfer.
    EXPECT_DOUBLE_EQ(MinY(M.Curves), A[1] / 2 - (t >= 2 ? (A[6] - A[13]) / 20 : 0.0)) << t;
  }
  Load(Torus, 800, 45, 45);
  const double* T = ATable[0]->Row(ATable[0]->NumberRow(1, 45.0));
  for (int t = 0; t < 4; ++t) {
    M.Reset();
    dr2D_ToroidalSelfCoupling(zero, zero, zero, one, T, t, 0, false);
    EXPECT_DOUBLE_EQ(MinY(M.Curves), T[1] / 2 - (t >= 2 ? (T[19 + t] - 2 * T[18]) / 20 : 0.0)) << t;
    // The hub's length is the bore type's own.
    const auto box = TRecordingModeler::Box(TRecordingModeler::Outline(M.Curves));
    EXPECT_DOUBLE_EQ(box.x2, T[7] / 2 + T[19 + t]) << t;
  }
  // A bore type from outside the four reads the nearest type's hub column.
  for (auto [stored, meant] : {std::pair{7, 3}, {-4, 0}, {1 << 30, 3}}) {
    M.Reset();
    dr2D_ToroidalSelfCoupling(zero, zero, zero, one, T, stored, 31, false);
    const std::string odd = M.Ops();
    const auto oddCurves = M.Curves.size();
    M.Reset();
    dr2D_ToroidalSelfCoupling(zero, zero, zero, one, T, meant, 31, false);
    EXPECT_EQ(odd, M.Ops());
    EXPECT_EQ(oddCurves, M.Curves.size());
    EXPECT_TRUE(DrawingSound(M));
  }
}

TEST_F(ToothTorusTest, KeywaysStandAboveTheAxisOnBothHalvesOfTheSection)
{
  for (const char* c : {Tooth, Torus}) {
    Load(c, c == Tooth ? 4000 : 800, 45, 45);
    const double top = 45.0 / 2 + KeywayRow(45.0)[2];
    ASSERT_TRUE(Couplings.drCoupling(TString(c), 1));
    EXPECT_EQ(M.Count("drColouring"), 2);
    int above = 0;
    for (const auto& k : M.Curves)
      if (k.Kind == TCurve::Line && std::fabs(std::fabs(k.y1) - top) < 1e-9 &&
          std::fabs(std::fabs(k.y2) - top) < 1e-9) {
        EXPECT_GT(k.y1, 0.0) << c;
        ++above;
      }
    EXPECT_GE(above, 4) << c; // each keyway twice: its fill and its outline
  }
}

TEST_F(ToothTorusTest, SizesNoGroupHoldsBuildNothing)
{
  // The catalogue refuses them; a row builder run on its tables draws nothing rather than a
  // coupling whose bores the shafts do not fit.
  for (int row : {3, 4, 5})
    for (auto [m, d1, d2] : {std::tuple{123.0, 1e6, 1e6}, {1e12, 40.0, 40.0}, {0.0, 20.0, 90.0}})
      for (int mode : {0, 1, 2}) {
        Load(iCouplings[row].Name.Utf8Text().c_str(), row == 5 ? 800 : 1000, 40, 40);
        Model(m, d1, d2, 0, 0);
        M.Reset();
        Builder(row, mode)();
        EXPECT_TRUE(M.Calls.empty()) << row << " " << mode << " " << M.Ops();
        EXPECT_EQ(ControlModel.M, m);
      }
}

// The view shows the far bolt where the model has one opposite the first, as the section does, whatever
// the bolts table's column 1 holds.
TEST_F(ToothTorusTest, TheViewShowsTheFarBoltWhereTheModelHasOne)
{
  Load(Tooth, 1000, 40, 40);
  const TTable& bolts = *ATable[1];
  const double* K = bolts.GetParam(bolts.Control, 12.0);
  const double* A = ATable[0]->GetParam(1, 40.0);
  auto macros = [&](double k1, double nb) {
    TEditedRow edited(bolts, K, {{1, k1}});
    TEditedRow row(*ATable[0], A, {{20, nb}});
    WithSlot(0, row.Table.get(), [&] { WithSlot(1, edited.Table.get(), dr2D_PinionToothView); });
    EXPECT_TRUE(DrawingSound(M));
    return M.Count("drMacro2D");
  };
  const int one = macros(2.0, 5.0);
  for (double k1 : {-2.0, -1.5, 0.0, 1.0, 1.9, 2.0}) {
    EXPECT_EQ(macros(k1, 6.0), one + 3) << k1; // a second bolt, washer and nut
    EXPECT_EQ(macros(k1, 4.5), one) << k1;
  }
}

TEST_F(ToothTorusTest, FlangeBoltsFollowTheirCountAndDiameter)
{
  Load(Tooth, 1000, 40, 40);
  const double* A = ATable[0]->GetParam(1, 40.0);
  // Parts: two hubs, the sleeve (its profile, then its flange cut), ...
  auto flangeCut = [&] { return PartSketches(M).at(2).at(1); };
  // The sleeve stands both ways round: a count whose bolts are not the same turned over (2.5: bolts at 0,
  // 144 and 288 degrees) has the holes of either way, one of them shared.
  struct TCount
  {
    double nb;
    int holes, bolts;
  };
  for (auto [nb, holes, bolts] : {TCount{0.0, 0, 0}, {2.5, 5, 3}, {6.0, 6, 6}, {1e9, 360, 360}}) {
    SCOPED_TRACE(nb);
    TEditedRow edited(*ATable[0], A, {{20, nb}});
    WithSlot(0, edited.Table.get(), dr3D_PinionTooth);
    EXPECT_TRUE(DrawingSound(M));
    const auto cut = flangeCut();
    EXPECT_EQ(CountOf(cut, "drCircle"), holes);
    for (const auto& c : cut)
      if (c.Op == "drCircle") {
        EXPECT_DOUBLE_EQ(c.A[2], A[19] / 2) << "the bolt's own diameter";
        EXPECT_NEAR(std::hypot(c.A[0], c.A[1]), A[18] / 2, 1e-9);
      }
    // The internal teeth are cut with or without holes.
    EXPECT_EQ(CountOf(cut, "drCutExtrusion"), 1);
    EXPECT_EQ(CountOf(cut, "drArc"), 2 * int(A[10])) << "a tip and a root arc every tooth";
    EXPECT_EQ(M.Count("AddDetailFile") + M.Count("AddDetailAxleFile"), 6 + 3 * bolts);
  }
}

TEST_F(ToothTorusTest, AGearTheDrawingModelRefusesLeavesItsRimUncut)
{
  Load(Tooth, 1000, 40, 40);
  const double* A = ATable[0]->GetParam(1, 40.0);
  for (auto [m, z] : {std::pair{0.0, 30.0}, {-2.5, 30.0}, {2.5, 2.0}, {2.5, 2001.0}}) {
    SCOPED_TRACE(::testing::Message() << m << " " << z);
    TEditedRow edited(*ATable[0], A, {{9, m}, {10, z}});
    WithSlot(0, edited.Table.get(), dr3D_PinionTooth);
    EXPECT_TRUE(DrawingSound(M));
    EXPECT_EQ(std::count_if(M.Calls.begin(), M.Calls.end(), IsSquareCut), 0);
    // The hubs keep their keyways, the sleeve its bolt holes.
    const auto parts = PartSketches(M);
    EXPECT_EQ(parts[0].size(), 2u);
    EXPECT_EQ(parts[1].size(), 2u);
    EXPECT_EQ(CountOf(parts[2].at(1), "drCircle"), int(A[20]));
    EXPECT_EQ(CountOf(parts[2].at(1), "drCutExtrusion"), 1);
    EXPECT_EQ(M.Count("drBaseRotate"), 7);
  }
}

TEST_F(ToothTorusTest, EachToothedRowMakesItsOwnPartsWithItsOwnFiles)
{
  // Row 3 and row 4 of one size: their files never meet, and each makes the parts it names.
  std::set<std::string> files[2];
  for (int k = 0; k < 2; ++k) {
    Load(k == 0 ? Tooth : Tooth2, 1000, 40, 36);
    for (auto& n : ControlModel.ANameFile)
      n = TString();
    ASSERT_TRUE(Couplings.drCoupling(iCouplings[3 + k].Name, 0));
    for (const auto& c : M.Of("drCreate3D"))
      files[k].insert(c.S[0].Utf8Text());
    EXPECT_EQ(ControlModel.Detail3D(k == 0 ? 3 : 8).Empty(), true);
    EXPECT_EQ(ControlModel.Detail3D(k == 0 ? 8 : 3).Empty(), false);
    // Keyways: every hub reversed but row 4's.
    std::vector<double> keyways;
    for (const auto& s : SketchCalls(M))
      for (const auto& c : s)
        if (c.Op == "drRectAngle" && !IsSquareCut(c)) keyways.push_back(c.A[1]);
    ASSERT_EQ(keyways.size(), 2u);
    EXPECT_EQ(keyways[0] > 0, k == 1);
    EXPECT_LT(keyways[1], 0.0);
  }
  EXPECT_EQ(files[0].size(), 8u); // seven parts and the assembly
  EXPECT_EQ(files[1].size(), 8u);
  for (const auto& f : files[0])
    EXPECT_EQ(files[1].count(f), 0u) << f;
}

TEST_F(ToothTorusTest, TheToroidalSectionTakesEachHalfsBoreAndTheShellPassesItsPoints)
{
  Load(Torus, 3150, 60, 80, 0, 2);
  // Copies: every build reloads the table.
  const std::vector<double> row1(ATable[0]->Row(0, 3150.0, 1, 60.0), ATable[0]->Row(0, 3150.0, 1, 60.0) + 23);
  const std::vector<double> row2(ATable[0]->Row(0, 3150.0, 1, 80.0), ATable[0]->Row(0, 3150.0, 1, 80.0) + 23);
  const double *R1 = row1.data(), *R2 = row2.data();
  ASSERT_TRUE(R1[1] == 60.0 && R2[1] == 80.0);
  ASSERT_TRUE(Couplings.drCoupling(TString(Torus), 1));
  const double B = R1[7] / 2, f = R1[18];
  // The bore of a half: from the flange's recess to the hub's outer chamfer, narrowing when conical.
  auto bore = [&](double side, double l, double r, double du) {
    return std::count_if(M.Curves.begin(), M.Curves.end(), [&](const TCurve& c) {
      return c.Kind == TCurve::Line && c.Style == 1 && std::fabs(c.x1 - side * (B + f)) < 1e-9 &&
             std::fabs(c.y1 - (r - du)) < 1e-9 && std::fabs(c.x2 - side * (B + l - f)) < 1e-9 &&
             std::fabs(c.y2 - r) < 1e-9;
    });
  };
  // Right: the second bore, conical; left: the first, cylindrical.
  EXPECT_EQ(bore(1.0, R2[21], 40.0, (R2[21] - 2 * f) / 20), 2) << "in the outline and the hatch's boundary";
  EXPECT_EQ(bore(-1.0, R1[19], 30.0, 0.0), 2);
  // The shell's outer arc through its feet and its apex, the inner one a wall inside it.
  const double D1 = R1[8] / 2, apex = R1[2] / 2, b0 = R1[17];
  int arcs = 0;
  for (const auto& c : M.Curves)
    if (c.Kind == TCurve::Arc && c.cx == 0.0 && c.cy > 0.0 && c.Style == 1) {
      const double wall = std::fabs(c.x1) < B - 1e-9 ? b0 : 0.0;
      EXPECT_NEAR(std::hypot(B - wall, D1 - c.cy), c.r, 1e-9);
      EXPECT_NEAR(std::fabs(apex - wall - c.cy), c.r, 1e-9);
      ++arcs;
    }
  EXPECT_EQ(arcs, 2 * 2); // two arcs, in the outline and the hatch's boundary
  // The view: each half as in the section, with its own row and bore type.
  M.Reset();
  ASSERT_TRUE(Couplings.drCoupling(TString(Torus), 2));
  const auto box = TRecordingModeler::Box(TRecordingModeler::Outline(M.Curves));
  EXPECT_DOUBLE_EQ(box.x2, B + R2[21]);
  EXPECT_DOUBLE_EQ(box.x1, -(B + R1[19]));
}

TEST_F(ToothTorusTest, AShellWithoutRiseOrWallIsLeftOut)
{
  Load(Torus, 500, 45, 45);
  const double* A = ATable[0]->GetParam(1, 45.0);
  const double D1x2 = A[8];
  for (auto [apex, b0] :
       {std::pair{D1x2, 5.0}, {D1x2 - 10, 5.0}, {D1x2 + 10, 5.0}, {D1x2 + 40, 0.0}, {D1x2 + 40, -1.0}}) {
    SCOPED_TRACE(::testing::Message() << apex << " " << b0);
    TEditedRow edited(*ATable[0], A, {{2, apex}, {17, b0}});
    for (int mode = 0; mode < 3; ++mode) {
      WithSlot(0, edited.Table.get(), Builder(5, mode));
      EXPECT_TRUE(DrawingSound(M));
      EXPECT_GT(M.Count("drLine"), 0);
      if (mode == 1) {
        EXPECT_EQ(M.Count("drHatch"), 6) << "two halves, two half-rings, two rings";
      } else if (mode == 0) {
        EXPECT_EQ(M.Count("drBaseRotate"), 6) << "all but the shell";
      }
    }
  }
}

TEST_F(ToothTorusTest, ToroidalHolesAndBoltsStandOnTheBoltCircle)
{
  Load(Torus, 500, 45, 45);
  const double* A = ATable[0]->GetParam(1, 45.0);
  TEditedRow six(*ATable[0], A, {{4, 6.0}});
  WithSlot(0, six.Table.get(), dr3D_ToroidalRubber);
  EXPECT_TRUE(DrawingSound(M));
  const double D2 = A[9] / 2, B = A[7] / 2;
  int sketches = 0;
  for (const auto& s : SketchCalls(M)) {
    if (CountOf(s, "drCircle") == 0) continue;
    ++sketches;
    EXPECT_EQ(s[0].A[1], B) << "at the flange's face";
    int i = 0;
    for (const auto& c : s)
      if (c.Op == "drCircle") {
        const double a = 60.0 * i++ * M_PI / 180.0;
        EXPECT_NEAR(c.A[0], D2 * std::cos(a), 1e-9);
        EXPECT_NEAR(c.A[1], D2 * std::sin(a), 1e-9);
        EXPECT_DOUBLE_EQ(c.A[2], A[5] / 2);
      }
    EXPECT_EQ(i, 6);
  }
  EXPECT_EQ(sketches, 4); // two half-couplings, the shell, the half-ring
  // Bolts at 90, 150, ... degrees: a bolt and a washer each side.
  std::vector<TCall> inserted;
  for (const auto& c : M.Calls)
    if (c.Op == "AddDetailFile" || c.Op == "AddDetailAxleFile") inserted.push_back(c);
  ASSERT_EQ(inserted.size(), 7u + 4 * 6);
  for (int i = 0; i < 6; ++i) {
    const double a = (60.0 * i + 90.0) * M_PI / 180.0;
    for (int k = 0; k < 4; ++k) {
      const auto& c = inserted[7 + 4 * i + k];
      EXPECT_NEAR(c.A[1], D2 * std::cos(a), 1e-9);
      EXPECT_NEAR(c.A[2], D2 * std::sin(a), 1e-9);
    }
  }
}

TEST_F(ToothTorusTest, WithoutTheKeywayTableNoKeyway)
{
  for (int row : {3, 4, 5}) {
    Load(iCouplings[row].Name.Utf8Text().c_str(), row == 5 ? 800 : 1000, 40, 40);
    for (int mode : {0, 1}) {
      WithSlot(9, nullptr, Builder(row, mode));
      EXPECT_TRUE(DrawingSound(M));
      EXPECT_EQ(M.Count("drColouring"), 0);
      EXPECT_GT(M.Count(mode == 0 ? "drBaseRotate" : "drHatch"), 3);
      for (const auto& s : SketchCalls(M))
        for (const auto& c : s)
          EXPECT_FALSE(c.Op == "drRectAngle" && !IsSquareCut(c)) << row;
    }
  }
}

// The toroidal section's bolt holes run through each flange right up to its face, which steps back
// by a chamfer above the shell's shoulder: on every row, each hole's wall within the flange, above
// and below the axis on both halves, ends where the face is at its height.
TEST_F(ToothTorusTest, ToroidalBoltHolesReachTheFlangesFaces)
{
  std::unique_ptr<TTable> main(TextBase.GetTable(TString("Муфта торообразная")));
  ASSERT_TRUE(main);
  for (int i = 0; i < main->CountRow; ++i) {
    const double* A = main->Row(i);
    SCOPED_TRACE(::testing::Message() << "row " << i);
    Model(A[0], A[1], A[1], 0, 0);
    M.Reset();
    ASSERT_TRUE(Couplings.drCoupling(TString(Torus), 1));
    const double B = A[7] / 2, b = A[6], f = A[18], D1 = A[8] / 2, D2 = A[9] / 2, r = A[5] / 2;
    const double y1 = D1 - 3 * f - 2, y2 = D1 - 3 * f;
    for (const double e : {D2 - r, D2 + r}) {
      if (e >= D1) continue;
      const double face = e <= y1 ? B + f : e >= y2 ? B : B + f * (y2 - e) / (y2 - y1);
      for (const double sx : {1.0, -1.0})
        for (const double sy : {1.0, -1.0}) {
          const bool wall = std::any_of(M.Curves.begin(), M.Curves.end(), [&](const TCurve& c) {
            return c.Kind == TCurve::Line && c.Hatch < 0 && c.Style == 1 && std::fabs(c.y1 - sy * e) < 1e-9 &&
                   std::fabs(c.y2 - sy * e) < 1e-9 &&
                   std::fabs(std::min(sx * c.x1, sx * c.x2) - face) < 1e-9 &&
                   std::fabs(std::max(sx * c.x1, sx * c.x2) - (B + b)) < 1e-9;
          });
          EXPECT_TRUE(wall) << "the wall at " << sy * e << " from " << sx * (B + b) << " to " << sx * face;
        }
    }
  }
}
