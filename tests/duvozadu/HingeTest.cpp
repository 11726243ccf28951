// The hinge couplings: which columns a bore type takes, what the sections hatch, the sketches the
// parts are cut from, the components of both assemblies, and what bad tables build.
#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

#include "CouplingFixture.h"
#include "Duvozadu/CplgDetails.h"

namespace {
const char* const Hinge = "Шарнирная ГОСТ 5147-97";
const char* const Hinge2 = "Шарнирная c втулкой ГОСТ 5147-97";

// A half-coupling row whose hub columns all differ, so that the drawing tells which it took:
// d 10, d1 16, d3 6, D 20, b 10, l 27/24, l1 39/36, l2 8, l3 23/20, r 4.5, r1 2.
std::vector<double> HalfRow(double M = 22.4, double d = 10)
{
  return {M, d, 16, 0, 6, 20, 10, 27, 24, 39, 36, 8, 23, 20, 0, 0, 4.5, 2};
}

using TCurves = std::vector<TRecordingModeler::TCurve>;
TCurves Upper(const TCurves& c)
{
  TCurves out;
  std::copy_if(c.begin(), c.end(), std::back_inserter(out),
               [](const auto& k) { return k.y1 > 1e-9 || k.y2 > 1e-9; });
  return out;
}

// The calls from part n's creation up to its save.
std::vector<TRecordingModeler::TCall> PartCalls(const TRecordingModeler& m, const std::string& file)
{
  std::vector<TRecordingModeler::TCall> out;
  bool in = false;
  for (const auto& c : m.Calls) {
    if (c.Op == "drCreate3D") in = c.S[0].Utf8Text() == file;
    if (in) out.push_back(c);
  }
  return out;
}
} // namespace

TEST_F(CouplingTest, HingeHubsTakeTheColumnsOfTheirBoreType)
{
  const std::vector<double> A = HalfRow();
  const double zero = 0, one = 1, r = A[16], d = A[1];
  for (int T = 0; T < 4; ++T) {
    SCOPED_TRACE(::testing::Message() << "bore type " << T);
    const int di = T & 1;
    // A conical bore tapers 1:10 on the diameter from the hub's inner face to its 1 mm chamfer.
    const double l1 = A[9 + di], l3 = A[12 + di], du = (T & 2) ? (l3 - 1.0) / 20 : 0.0;
    for (auto draw : {dr2D_HingeSelgCoupling_V1, dr2D_HingeSelgCoupling_V3}) {
      M.Reset();
      draw(zero, zero, zero, one, nullptr, A.data(), T, 31, true);
      ASSERT_TRUE(DrawingSound(M));
      ASSERT_EQ(M.Hatches(), 1);
      // The hub runs from l1 - l3 to l1 (the frame's origin is the joint, r from the jaw's tip),
      // its bore narrowing by du at the inner end.
      const auto hub = TRecordingModeler::Box(Upper(TRecordingModeler::Outline(M.HatchBoundary(0))));
      EXPECT_NEAR(hub.x1, l1 - l3 - r, 1e-9);
      EXPECT_NEAR(hub.x2, l1 - r, 1e-9);
      EXPECT_NEAR(hub.y1, d / 2 - du, 1e-9);
      const auto all = TRecordingModeler::Box(TRecordingModeler::Outline(M.Drawn()));
      EXPECT_NEAR(all.x1, -r, 1e-9) << "the jaw's tip";
      EXPECT_NEAR(all.x2, l1 - r, 1e-9);
    }
  }
}

TEST_F(CouplingTest, HingeSectionsHatchEachHubAndViewsNone)
{
  for (const char* row : {Hinge, Hinge2})
    for (int mode : {1, 2}) {
      SCOPED_TRACE(::testing::Message() << row << " mode " << mode);
      Model(90, 16, 16, 1, 0);
      M.Reset();
      ASSERT_TRUE(Couplings.drCoupling(TString(row), mode));
      ASSERT_TRUE(DrawingSound(M));
      std::vector<double> angles;
      for (const auto& h : M.Of("drHatch"))
        angles.push_back(h.A[1]);
      std::sort(angles.begin(), angles.end());
      if (mode == 2) {
        EXPECT_TRUE(angles.empty());
        continue;
      }
      // The half at 0 degrees hatched at 45, the one turned at 180 at 135.
      EXPECT_EQ(angles, (std::vector<double>{45.0, 135.0}));
      // Both halves from row A: the second shaft's half (long hub, 0 degrees) to the right of
      // the joint, the first shaft's (short hub, turned) to its left.
      const double* A = ATable[1]->Row(2);
      const double* R = ATable[0]->Row(2);
      const double x0 = R[3] / 2, r = A[16];
      const auto box = TRecordingModeler::Box(TRecordingModeler::Outline(M.Drawn()));
      EXPECT_NEAR(box.x2, x0 + A[9] - r, 1e-9);
      EXPECT_NEAR(box.x1, (row == Hinge ? x0 : -x0) + r - A[10], 1e-9);
      EXPECT_NEAR(box.y2, A[5] / 2, 1e-9);
    }
}

TEST_F(CouplingTest, HingeSketchesCloseTheirProfiles)
{
  const std::vector<double> A = HalfRow();
  const double zero = 0, one = 1, r = A[16], b = A[6], x = A[9] - A[7] - r;
  // Code 0: V1 closed along the bore with no slot; V3 only the slot.
  M.drPlaneEskis(txapi::o3d_planeXOY, 0, 0, TString());
  dr2D_HingeSelgCoupling_V1(zero, zero, zero, one, nullptr, A.data(), 0, 0);
  const auto body = TRecordingModeler::Box(TRecordingModeler::Outline(M.SketchProfile(0)));
  EXPECT_NEAR(body.y1, A[1] / 2, 1e-9) << "no slot reaches below the bore";
  M.drPlaneEskis(txapi::o3d_planeXOZ, 0, 0, TString());
  dr2D_HingeSelgCoupling_V3(zero, zero, zero, one, nullptr, A.data(), 0, 0);
  const auto slot = TRecordingModeler::Box(M.SketchProfile(1));
  EXPECT_NEAR(slot.x1, -r, 1e-9);
  EXPECT_NEAR(slot.x2, x, 1e-9);
  EXPECT_NEAR(slot.y2 - slot.y1, b, 1e-9);
  EXPECT_EQ(M.Count("drMacro2D"), 0) << "sketch profiles open no macro";
  M.drPlaneEskis(txapi::o3d_planeXOY, 0, 0, TString());
  dr2D_HingeSelgCoupling_V2(zero, zero, zero, one, nullptr, A.data(), 0, 0);
  EXPECT_TRUE(DrawingSound(M));
  // The jaws' cut: its outline, the trunnion hole, and the end across the fork to x = -10.
  const auto cut = TRecordingModeler::Box(TRecordingModeler::Outline(M.SketchProfile(2)));
  EXPECT_NEAR(cut.x1, -10 - r, 1e-9);
  EXPECT_NEAR(cut.y2, A[5] / 2, 1e-9);
}

TEST_F(CouplingTest, HingeAssembliesPlaceTheirComponents)
{
  for (const char* row : {Hinge, Hinge2}) {
    SCOPED_TRACE(row);
    Model(180, 20, 20, 0, 0);
    M.Reset();
    ASSERT_TRUE(Couplings.drCoupling(TString(row), 0));
    ASSERT_TRUE(DrawingSound(M));
    const double x = ATable[0]->Row(3)[3] / 2;
    ASSERT_EQ(M.Count("drCreate3D"), 7) << "six parts and the assembly";
    const auto plain = M.Of("AddDetailFile");
    const auto turned = M.Of("AddDetailAxleFile");
    const std::string half1 = ControlModel.Detail3D(1).Utf8Text(),
                      half6 = ControlModel.Detail3D(6).Utf8Text();
    const std::string middle = ControlModel.Detail3D(2).Utf8Text();
    EXPECT_NE(half1, half6);
    if (row == Hinge) {
      // Five components about the joint; the middle piece is built and not inserted.
      ASSERT_EQ(plain.size(), 4u);
      ASSERT_EQ(turned.size(), 1u);
      for (const auto& c : plain) {
        EXPECT_EQ(c.A[0], x);
        EXPECT_NE(c.S[0].Utf8Text(), middle);
      }
      EXPECT_EQ(turned[0].S[0].Utf8Text(), half6);
      EXPECT_EQ(turned[0].A, (std::vector<double>{x, 0, 0, -1, 0, 0, 0, 0, 1, 1}));
      continue;
    }
    // Nine: part 1 at the right joint, the cross piece, pin and bushing at both.
    ASSERT_EQ(plain.size(), 7u);
    ASSERT_EQ(turned.size(), 2u);
    EXPECT_EQ(plain[0].S[0].Utf8Text(), half1);
    EXPECT_EQ(plain[0].A[0], x);
    for (std::size_t i = 1; i < plain.size(); ++i)
      EXPECT_EQ(plain[i].A[0], i % 2 ? -x : x);
    EXPECT_EQ(turned[0].S[0].Utf8Text(), half6);
    EXPECT_EQ(turned[0].A, (std::vector<double>{-x, 0, 0, -1, 0, 0, 0, -1, 0, 1}));
    EXPECT_EQ(turned[1].S[0].Utf8Text(), middle);
    EXPECT_EQ(turned[1].A, (std::vector<double>{-x, 0, 0, 1, 0, 0, 0, 0, 1, 1}));
  }
}

TEST_F(CouplingTest, HingeHalvesDifferOnlyWhereTheirShaftsDo)
{
  // Equal shafts: both halves cut alike; only the keyway's side and the file differ.
  Model(90, 16, 16, 2, 2);
  ASSERT_TRUE(Couplings.drCoupling(TString(Hinge), 0));
  auto one = PartCalls(M, ControlModel.Detail3D(6).Utf8Text());
  auto two = PartCalls(M, ControlModel.Detail3D(1).Utf8Text());
  ASSERT_EQ(one.size(), two.size());
  // Everything up to the fork's last cut alike; the keyway then on the other side.
  int cuts = 0;
  std::size_t keyway = 0;
  while (keyway < one.size() && cuts < 2)
    cuts += one[keyway++].Op == "drCutExtrusion";
  ASSERT_EQ(cuts, 2);
  int differing = 0;
  for (std::size_t i = 1; i < one.size(); ++i) {
    ASSERT_EQ(one[i].Op, two[i].Op) << i;
    if (one[i].A == two[i].A) continue;
    ++differing;
    EXPECT_GE(i, keyway) << one[i].Op;
  }
  EXPECT_GT(differing, 0) << "the keyways face apart";

  // A torque group of two bores: the second half's profile follows its own row, its fork's cuts
  // the first half's row.
  std::vector<double> main = {90, 14, 28, 36, 0, 0, 90, 16, 32, 36, 0, 0};
  std::vector<double> halves = HalfRow(90, 14);
  std::vector<double> big = HalfRow(90, 16);
  for (int i : {5, 9, 10})
    big[i] += 4;
  halves.insert(halves.end(), big.begin(), big.end());
  TTable mainTable(12, 6, 1, main.data()), halfTable(36, 18, 1, halves.data());
  std::unique_ptr<TTable> keep0(ATable[0]), keep1(ATable[1]);
  ATable[0] = &mainTable;
  ATable[1] = &halfTable;
  Model(90, 14, 16, 0, 0);
  M.Reset();
  dr3D_HingeCoupling();
  ATable[0] = keep0.release();
  ATable[1] = keep1.release();
  ASSERT_TRUE(DrawingSound(M));
  const auto part1 = PartCalls(M, ControlModel.Detail3D(1).Utf8Text());
  std::vector<double> planes, depths;
  for (const auto& c : part1) {
    if (c.Op == "drPlaneEskis") planes.push_back(c.A[1]);
    if (c.Op == "drCutExtrusion") depths.push_back(c.A[2]);
  }
  ASSERT_GE(planes.size(), 3u);
  EXPECT_EQ(planes[1], 10.0);
  EXPECT_EQ(planes[2], 10.0);
  EXPECT_EQ(depths[0], 20.0);
  EXPECT_EQ(depths[1], 20.0);
  // Part 6 has four sketches (its keyway's the last), part 1's profile comes next.
  const auto profile = TRecordingModeler::Box(TRecordingModeler::Outline(M.SketchProfile(4)));
  EXPECT_NEAR(profile.x2, big[9] - big[16], 1e-9);
  EXPECT_NEAR(profile.y2, big[5] / 2, 1e-9);
}

TEST_F(CouplingTest, HingeRowsPastTheTablesAndBadRowsBuildNothing)
{
  const PAction builds[] = {dr3D_HingeCoupling,  dr2D_HingeCoupling,  dr2D_HingeCouplingView,
                            dr3D_HingeCoupling2, dr2D_HingeCoupling2, dr2D_HingeCoupling2View};
  // The catalogue refuses a bore or torque no size holds; a builder called with one builds
  // nothing rather than a coupling of another bore.
  Model(22.4, 10, 10, 0, 0);
  ASSERT_TRUE(Couplings.drCoupling(TString(Hinge2), 1));
  for (auto [m, d] : {std::pair{90.0, 1000.0}, {5000.0, 10.0}, {0.0, 1e300}, {0.0, 11.0}})
    for (PAction b : builds) {
      SCOPED_TRACE(::testing::Message() << m << " " << d);
      Model(m, d, d, 0, 0);
      M.Reset();
      b();
      EXPECT_TRUE(M.Calls.empty()) << M.Ops();
    }
  Model(22.4, 10, 10, 0, 0);
  ASSERT_TRUE(Couplings.drCoupling(TString(Hinge), 1));
  // Builds every row in every mode with slot k holding t; the drawing stays sound.
  auto each = [&](int k, TTable* t, auto&& check) {
    TTable* kept = ATable[k];
    ATable[k] = t;
    for (PAction b : builds) {
      M.Reset();
      b();
      EXPECT_TRUE(DrawingSound(M));
      check(b == dr3D_HingeCoupling || b == dr3D_HingeCoupling2);
    }
    ATable[k] = kept;
  };
  auto nothing = [&](bool) { EXPECT_TRUE(M.Calls.empty()) << M.Ops(); };
  // A main torque above every cross piece takes the largest.
  const std::vector<double> crosses = {1, 5, 8, 3, 1, 0, 0.5, 2, 7, 11, 4, 1, 0, 0.5};
  TTable small(14, 7, 0, crosses.data());
  each(2, &small, [&](bool model) {
    if (!model) return;
    ASSERT_EQ(M.Count("drCreate3D"), 7);
    EXPECT_EQ(M.Of("drBaseExtrusion")[0].A[2], 11.0) << "the last cross piece's length";
  });
  // A sub-table without the row asked for builds nothing rather than another row's sizes.
  Model(45, 12, 12, 0, 0);
  const std::vector<double> half = HalfRow();
  TTable shortHalf(18, 18, 1, half.data());
  each(1, &shortHalf, nothing);
  Model(22.4, 10, 10, 0, 0);
  const std::vector<double> none;
  TTable empty(0, 7, 0, none.data());
  each(3, &empty, [&](bool model) { EXPECT_EQ(M.Calls.empty(), model) << "the pin is read in 3D only"; });
  each(4, &empty, [&](bool model) { EXPECT_EQ(M.Calls.empty(), model); });
  each(0, &empty, nothing);
  // A table with fewer columns than read.
  TTable narrow(17, 17, 1, half.data());
  each(1, &narrow, nothing);
  // A value that is not finite, or a radius or size of nothing.
  for (auto [at, value] : {std::pair{3, NAN}, {16, 0.0}, {4, 0.0}, {6, -1.0}, {17, INFINITY}}) {
    const int column = at; // lambdas may not capture bindings in clang 14
    std::vector<double> bad = half;
    bad[column] = value;
    TTable broken(18, 18, 1, bad.data());
    SCOPED_TRACE(::testing::Message() << "column " << column);
    each(1, &broken, nothing);
  }
  std::vector<double> crossRow(ATable[2]->Row(0), ATable[2]->Row(0) + 7);
  crossRow[1] = 0.0;
  TTable flat(7, 7, 0, crossRow.data());
  each(2, &flat, nothing);
}
