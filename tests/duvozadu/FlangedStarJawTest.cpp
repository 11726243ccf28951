// The flanged, star and jaw-disc couplings on their own sizes and on rows made to find their
// edges: bore types, bolt counts, lookups, what a half draws and what bad rows draw (nothing, and
// never a number that is not finite).
#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "CouplingFixture.h"
#include "Duvozadu/CplgDetails.h"
#include "Duvozadu/CplgShared.h"

namespace {
const char* const Flanged = "Фланцевая ГОСТ 20761-96";
const char* const Star = "со Звездочкой ГОСТ Р 50894-96";
const char* const JawDisc = "Муфта кулачково-дисковая ГОСТ 20720-93";

using TCurves = std::vector<TRecordingModeler::TCurve>;

bool Near(double a, double b)
{
  return std::fabs(a - b) < 1e-9;
}

// Horizontal lines at height y of style s (any style when 0).
int LinesAt(const TCurves& curves, double y, int s = 0)
{
  return int(std::count_if(curves.begin(), curves.end(), [&](const auto& c) {
    return c.Kind == TRecordingModeler::TCurve::Line && Near(c.y1, y) && Near(c.y2, y) &&
           (s == 0 || c.Style == s);
  }));
}

// Axis lines (style 3) of length len.
int AxesOf(const TCurves& curves, double len)
{
  return int(std::count_if(curves.begin(), curves.end(), [&](const auto& c) {
    return c.Style == 3 && std::fabs(std::fabs(c.x2 - c.x1) - len) < 1e-9;
  }));
}

class CouplingRows : public CouplingTest
{
protected:
  // Loads the row's tables (a section build) for the model's sizes.
  void Load(const char* coupling)
  {
    ASSERT_TRUE(Couplings.drCoupling(TString(coupling), 1));
    M.Reset();
  }
  // Slot k holds a table of the given rows, for this test; the loaded one comes back after it.
  void Put(int k, const std::vector<std::vector<double>>& rows, int control)
  {
    std::vector<double> v;
    for (const auto& r : rows)
      v.insert(v.end(), r.begin(), r.end());
    Kept.emplace_back(k, ATable[k]);
    Owned.push_back(std::make_unique<TTable>(int(v.size()), int(rows[0].size()), control, v.data()));
    ATable[k] = Owned.back().get();
  }
  void TearDown() override
  {
    for (auto it = Kept.rbegin(); it != Kept.rend(); ++it)
      ATable[it->first] = it->second;
    CouplingTest::TearDown();
  }
  static std::vector<double> RowOf(const TTable* t, int i)
  {
    return std::vector<double>(t->Row(i), t->Row(i) + t->CountColumn);
  }
  void Build(PAction b)
  {
    M.Reset();
    b();
    ASSERT_TRUE(DrawingSound(M));
  }

  std::vector<std::pair<int, TTable*>> Kept;
  std::vector<std::unique_ptr<TTable>> Owned;
};
} // namespace

TEST_F(CouplingRows, FlangedHubsFollowTheBoreTypeAndHatchTheHalvesOpposite)
{
  Model(250, 32, 32, 0, 0);
  Load(Flanged);
  const double* A = ATable[0]->GetParam(1, 32.0);
  const double zero = 0, one = 1;
  // Hub length and conical narrowing by bore type; types outside 0..3 are kept within them.
  struct
  {
    int T;
    double Lh, du;
  } cases[] = {{0, A[15], 0.0},
               {1, A[20], 0.0},
               // 1:10 on the diameter over the bore, from the recess to the chamfer at the hub's end
               {2, A[15], (A[15] - A[3] - A[17]) / 20},
               {3, A[20], (A[20] - A[3] - A[17]) / 20},
               {7, A[20], (A[20] - A[3] - A[17]) / 20},
               {-4, A[15], 0.0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.T);
    M.Reset();
    dr2D_CouplingFlanec_V1(zero, zero, zero, one, A, c.T, 31);
    ASSERT_TRUE(DrawingSound(M));
    EXPECT_EQ(AxesOf(M.Curves, c.Lh + 6.0), 1);
    // The keyway's floor runs from the recess to the hub's end, lower by du at the recess.
    const bool floor = std::any_of(M.Curves.begin(), M.Curves.end(), [&](const auto& k) {
      const bool l2r = Near(k.x1, A[17]) && Near(k.x2, c.Lh), r2l = Near(k.x2, A[17]) && Near(k.x1, c.Lh);
      return (l2r || r2l) && Near(std::fabs(k.y2 - k.y1), c.du);
    });
    EXPECT_TRUE(floor);
  }

  Build(dr2D_CouplingFlanec);
  std::vector<double> angles;
  for (const auto& h : M.Of("drHatch"))
    angles.push_back(h.A[1]);
  EXPECT_EQ(angles, (std::vector<double>{45.0, -45.0}));
  // Each half's keyway lies above the axis: half 2, turned half a revolution, draws it below.
  const double* S = KeywayRow(A[1]);
  ASSERT_TRUE(S);
  EXPECT_EQ(LinesAt(M.Curves, A[1] / 2 + S[2]), 4);
  EXPECT_EQ(LinesAt(M.Curves, -A[1] / 2 - S[2]), 0);
}

TEST_F(CouplingRows, FlangedBoltSetsFollowTheBoltCount)
{
  Model(250, 32, 32, 0, 0);
  Load(Flanged);
  std::vector<double> row = RowOf(ATable[0], ATable[0]->NumberRow(1, 32.0));
  const double* B = ATable[1]->GetParam(0, row[19]);
  ASSERT_TRUE(B);
  const double R = row[8] / 2, d = row[19], b = row[16];
  for (double n : {5.0, 0.0, 4.0}) {
    SCOPED_TRACE(n);
    row[6] = n;
    Put(0, {row}, 1);
    // A set is a bolt: its axis runs 2 mm past the head and the shank. The bolt is the builder's,
    // lengthened where its end would stay inside the nut.
    auto length = [&](double k) { return std::max(2 * b + d / 2 + k, 2 * b + B[4] + B[2] + 0.1 * d); };
    auto sets = [&](double k) {
      const double len = length(k) + B[2] + 4.0;
      return std::pair{LinesAt(M.Curves, R, 3) > 0 && AxesOf(M.Curves, len) > 0,
                       LinesAt(M.Curves, -R, 3) > 0 && AxesOf(M.Curves, len) > 0};
    };
    // Above the axis where the model has a first bolt, below it where it has one opposite the first: an
    // even count, never none.
    const bool below = n == 4.0;
    Build(dr2D_CouplingFlanec);
    EXPECT_EQ(sets(4.0), std::pair(n > 0, below)) << "section";
    Build(dr2D_CouplingFlanecView);
    EXPECT_EQ(sets(4.0), std::pair(n > 0, below)) << "view: the section's bolt";
    // The view's washers are seen from the side: their bores (the first the table's, the second the
    // bolt's plus 1) stay hidden inside them.
    EXPECT_EQ(LinesAt(M.Curves, R + row[11] / 2), 0);
    EXPECT_EQ(LinesAt(M.Curves, -R + (d + 1.0) / 2), 0);
    Build(dr3D_CouplingFlanec);
    const auto files = M.Of("AddDetailFile");
    const int bolts = int(std::count_if(files.begin(), files.end(),
                                        [&](const auto& c) { return c.S[0] == ControlModel.Detail3D(3); }));
    EXPECT_EQ(bolts, int(n));
    EXPECT_EQ(M.Count("drCircle"), 2 * int(n)) << "the holes of both halves";
    EXPECT_EQ(int(files.size()), 1 + 3 * int(n));
    ASSERT_EQ(M.Count("AddDetailAxleFile"), 1);
    // The 3D bolt is 7 mm longer than the flanges and half its thread, or as long as it takes.
    const std::string bolt = M.Of("drCreate3D")[2].S[1].Utf8Text();
    ASSERT_NE(bolt.find('*'), std::string::npos) << bolt;
    EXPECT_NEAR(std::stod(bolt.substr(bolt.find('*') + 1)), length(7.0), 0.005) << bolt;
  }
}

TEST_F(CouplingRows, FlangedHalvesComeFromOneTorqueGroup)
{
  // 20 N*m lists no row: both halves are of the next group, whose flange holds both bores.
  Model(20, 16, 19, 0, 1);
  Load(Flanged);
  Build(dr2D_CouplingFlanec);
  EXPECT_EQ(ControlModel.M, 31.5);
  const double* small = ATable[0]->Row(0);
  const double* A = ATable[0]->GetParam(1, 16.0);
  ASSERT_EQ(A[0], 31.5);
  ASSERT_NE(small[7], A[7]);
  EXPECT_GT(LinesAt(M.Curves, A[7] / 2), 0);
  EXPECT_EQ(LinesAt(M.Curves, small[7] / 2), 0) << "no flange of another group";
}

TEST_F(CouplingRows, StarJawsStarsAndKeywaysFollowTheirRows)
{
  Model(160, 25, 32, 0, 0);
  Load(Star);
  const std::vector<double> A = RowOf(ATable[0], ATable[0]->NumberRow(1, 25.0));
  std::vector<double> St = RowOf(ATable[1], ATable[1]->NumberRow(2, 2 * A[6]));
  ASSERT_EQ(St[2], 2 * A[6]);
  const double zero = 0, one = 1;
  // The jaw contours are sketched for every second tooth: an odd count gives the even ones below it.
  for (auto [z, jaws] : {std::pair{6.0, 3}, {5.0, 3}, {3.0, 2}, {4.0, 2}}) {
    St[5] = z;
    for (int vt : {1, 2}) {
      M.Reset();
      dr2D_sMUfromSprocket_V2(zero, zero, zero, one, A.data(), St.data(), vt, 0);
      EXPECT_TRUE(DrawingSound(M));
      EXPECT_EQ(M.Count("drArc"), jaws) << z << " teeth, contour " << vt;
    }
  }
  // The 3D keyways are cut for the shafts themselves.
  Build(dr3D_MUfromSprocket);
  std::vector<double> widths;
  for (const auto& r : M.Of("drRectAngle"))
    widths.push_back(r.A[2] - r.A[0]);
  EXPECT_EQ(widths, (std::vector<double>{KeywayRow(25.0)[1], KeywayRow(32.0)[1]}));
  EXPECT_EQ(M.Count("AddDetailFile") + M.Count("AddDetailAxleFile"), 3);
}

TEST_F(CouplingRows, StarPiecesThatCannotBeDrawnDrawNothing)
{
  Model(160, 25, 25, 0, 0);
  Load(Star);
  const std::vector<double> A = RowOf(ATable[0], ATable[0]->NumberRow(1, 25.0));
  const std::vector<double> St = RowOf(ATable[1], ATable[1]->NumberRow(2, 2 * A[6]));
  const double zero = 0, one = 1;
  auto draws = [&](const std::vector<double>& a, const std::vector<double>& s) {
    M.Reset();
    dr2D_sMUfromSprocket_V1(zero, zero, zero, one, a.data(), s.data(), 0, true, 31);
    dr2D_sMUfromSprocket_V1_2(zero, zero, zero, one, a.data(), s.data(), 0, false, 31);
    dr2D_sMUfromSprocket_V2(zero, zero, zero, one, a.data(), s.data(), 2, 0);
    EXPECT_TRUE(M.AllFinite());
    EXPECT_TRUE(M.Balanced());
    return !M.Calls.empty();
  };
  EXPECT_TRUE(draws(A, St));
  auto with = [](std::vector<double> v, int k, double x) {
    v[k] = x;
    return v;
  };
  for (double z : {2.0, 0.0, -6.0, double(NAN)}) {
    EXPECT_FALSE(draws(A, with(St, 5, z))) << "teeth " << z;
    dr2D_Sprocket_V1(zero, zero, zero, one, with(St, 5, z).data(), 31);
    EXPECT_TRUE(M.Calls.empty()) << "star of " << z << " teeth";
  }
  EXPECT_FALSE(draws(with(A, 6, A[3] / 2), St)) << "jaw flanks on the rim: no jaws, no hub either";
  EXPECT_FALSE(draws(with(A, 6, A[3]), St));
  // A tooth wider than the star: the root of a negative number.
  M.Reset();
  dr2D_Sprocket_V1(zero, zero, zero, one, with(St, 2, St[0] * 1.01).data(), 31);
  EXPECT_TRUE(M.Calls.empty());
  // Just inside the slack the root is taken as zero.
  const double b = St[0] / 2, edge = std::sqrt(b * b + 1e-6) * 2;
  M.Reset();
  dr2D_Sprocket_V1(zero, zero, zero, one, with(St, 2, edge).data(), 31);
  EXPECT_FALSE(M.Calls.empty());
  EXPECT_TRUE(M.AllFinite());
  // A count of teeth past any drawing is drawn no further than 360 teeth.
  M.Reset();
  dr2D_Sprocket_V1(zero, zero, zero, one, with(St, 5, 1e9).data(), 31);
  EXPECT_EQ(std::count_if(M.Curves.begin(), M.Curves.end(), [](const auto& c) { return c.Style == 3; }), 360)
      << "an axis line a tooth";
}

TEST_F(CouplingRows, JawDiscHalvesFollowTheirOwnBoreType)
{
  Model(125, 28, 28, 0, 0);
  Load(JawDisc);
  const double* A = ATable[0]->GetParam(1, 28.0);
  const double gap = A[4] - 2 * A[6];
  for (int T : {0, 1, 2, 3, -1, 9})
    for (int T2 : {0, 3}) {
      SCOPED_TRACE(::testing::Message() << T << " " << T2);
      const int idx = BoreType(T) & 1, idx2 = T2 & 1;
      Model(125, 28, 28, T, T2);
      Build(dr2D_JawDiscCoupling);
      EXPECT_EQ(AxesOf(M.Curves, A[6 + idx] + gap + A[6 + idx2] + 6.0), 1) << "the whole length";
      const double zero = 0, one = 1;
      M.Reset();
      dr2D_JawDiscCoupling_V1(zero, zero, zero, one, A, T, 31);
      EXPECT_EQ(AxesOf(M.Curves, A[6 + idx] + 6.0), 1) << "the half's length";
    }
  Model(125, 28, 28, 0, 0);
  Build(dr3D_JawDiscCoupling);
  const auto colours = M.Of("drColor3D");
  ASSERT_EQ(colours.size(), 2u);
  EXPECT_EQ(colours[0].A, (std::vector<double>{0x5a5a00, 0.8, 0.6, 0.95, 0.95, 1.0, 0.8}));
  EXPECT_EQ(colours[1].A[0], 0x323232);
  auto axle = M.Of("AddDetailAxleFile");
  ASSERT_EQ(axle.size(), 2u);
  EXPECT_EQ(axle[0].S[0], ControlModel.Detail3D(1)) << "one shaft and type: the half twice";
  EXPECT_EQ(M.Of("AddDetailFile")[0].S[0], ControlModel.Detail3D(1));
  // Two bore types: two halves, the second of its own execution.
  Model(125, 28, 28, 0, 1);
  Build(dr3D_JawDiscCoupling);
  axle = M.Of("AddDetailAxleFile");
  ASSERT_EQ(axle.size(), 2u);
  EXPECT_EQ(axle[0].S[0], ControlModel.Detail3D(3));
  EXPECT_NE(ControlModel.Detail3D(3), ControlModel.Detail3D(1));
  EXPECT_EQ(M.Count("drColor3D"), 3);
}

TEST_F(CouplingRows, JawDiscWithoutGapKeywayOrRowStillDrawsSoundly)
{
  Model(125, 28, 28, 0, 0);
  Load(JawDisc);
  std::vector<double> row = RowOf(ATable[0], ATable[0]->NumberRow(1, 28.0));
  const double rb = row[1] / 2, kt = rb + KeywayRow(row[1])[2];
  // The keyway shows as the first half's line at its top; without a keyway row it is the bore.
  Build(dr2D_JawDiscCoupling);
  EXPECT_GT(LinesAt(M.Curves, kt), 0);
  TTable* keyways = ATable[9];
  ATable[9] = nullptr;
  Build(dr2D_JawDiscCoupling);
  ATable[9] = keyways;
  EXPECT_EQ(LinesAt(M.Curves, kt), 0);
  EXPECT_TRUE(M.HatchesClosed());

  // A shaft above every bore gets no bore of another: nothing is drawn.
  Model(125, 1e4, 1e4, 0, 0);
  Build(dr2D_JawDiscCoupling);
  EXPECT_TRUE(M.Calls.empty()) << M.Ops();

  // No gap: no ring is revolved for the insert, its tongues and bore stay.
  Model(125, 28, 28, 0, 0);
  row[4] = 2 * row[6];
  Put(0, {row}, 1);
  Build(dr3D_JawDiscCoupling);
  EXPECT_EQ(M.Count("drBaseRotate"), 1);
  EXPECT_EQ(M.Count("drBaseExtrusion"), 2);
  Build(dr2D_JawDiscCoupling);
  Build(dr2D_JawDiscCouplingView);
}

TEST_F(CouplingRows, NullAndNonFiniteRowsDrawNothing)
{
  const double zero = 0, one = 1;
  std::vector<double> bad(21, 10.0);
  bad[3] = NAN;
  for (const double* A : {static_cast<const double*>(nullptr), static_cast<const double*>(bad.data())}) {
    M.Reset();
    dr2D_CouplingFlanec_V1(zero, zero, zero, one, A, 0, 31);
    dr2D_CouplingFlanec_V2(zero, zero, zero, one, A, 0, 31);
    dr2D_Sprocket_V1(zero, zero, zero, one, A, 31);
    dr2D_sMUfromSprocket_V1(zero, zero, zero, one, A, A, 0, false, 31);
    dr2D_sMUfromSprocket_V1_2(zero, zero, zero, one, A, A, 0, false, 31);
    dr2D_sMUfromSprocket_V2(zero, zero, zero, one, A, A, 1, 0);
    dr2D_JawDiscCoupling_V1(zero, zero, zero, one, A, 0, 31);
    EXPECT_TRUE(M.Calls.empty());
  }
  // Row builders on a main table whose only row holds no number: nothing, every stack balanced.
  for (const char* c : {Flanged, Star, JawDisc}) {
    SCOPED_TRACE(c);
    Model(16, 12, 12, 0, 0);
    Couplings.drCoupling(TString(c), 1); // loads the row's tables whether or not a size holds 12
    TTable* kept = ATable[0];
    std::vector<double> row(kept->CountColumn, NAN);
    TTable broken(int(row.size()), kept->CountColumn, kept->Control, row.data());
    ATable[0] = &broken;
    for (int i = 0; i < CountCoupling; ++i)
      if (iCouplings[i].Name == TString(c))
        for (PAction b : {iCouplings[i].Make3D, iCouplings[i].Make2D, iCouplings[i].Make2DView}) {
          Build(b);
          EXPECT_TRUE(M.Calls.empty());
        }
    ATable[0] = kept;
  }
}
