// The helpers every coupling builds on: the torque-group lookup against a reference made from
// the shipped table, hole circles and the file names of the pieces.
#include <cmath>
#include <limits>
#include <map>
#include <memory>
#include <set>
#include <utility>
#include <vector>

#include "CouplingFixture.h"
#include "Duvozadu/CplgShared.h"
#include "hxcadkit/drawing/drNodeCont.h"

namespace {
// The groups of a table as the reference sees them: torque -> its rows in table order.
std::map<double, std::vector<const double*>> Groups(const TTable& t)
{
  std::map<double, std::vector<const double*>> g;
  for (int i = 0; i < t.CountRow; ++i)
    g[t.Row(i)[0]].push_back(t.Row(i));
  return g;
}

// The first row not below d of a group whose bores span d; none when d is thinner than every bore
// of the group (that shaft would get a bore it does not fit) or thicker.
const double* FirstNotBelow(const std::vector<const double*>& rows, int col, double d)
{
  bool spans = false;
  for (const double* r : rows)
    spans = spans || r[col] <= d;
  for (const double* r : rows)
    if (spans && r[col] >= d) return r;
  return nullptr;
}
} // namespace

TEST_F(CouplingTest, GroupRowsTakeBothHalvesFromTheGroupOfTheTorque)
{
  std::unique_ptr<TTable> t(TextBase.GetTable(TString("МУВП")));
  ASSERT_TRUE(t);
  const int bore = t->Control;
  const auto groups = Groups(*t);
  std::set<double> diameters{1.0, 500.0};
  for (int i = 0; i < t->CountRow; ++i)
    for (double delta : {-0.5, 0.0})
      diameters.insert(t->Row(i)[bore] + delta);
  std::vector<double> torques{0.0, -1.0, 1.0, 1e9};
  for (auto& [m, rows] : groups)
    torques.insert(torques.end(), {m, m + 0.01});

  int built = 0;
  for (double torque : torques)
    for (double d1 : diameters)
      for (double d2 : diameters) {
        SCOPED_TRACE(::testing::Message() << "M " << torque << " d " << d1 << " / " << d2);
        // The reference: the first group at or above the torque (any with "*") holding both.
        const double* want1 = nullptr;
        const double* want2 = nullptr;
        double wantM = 0.0;
        for (auto& [m, rows] : groups) {
          if (torque > 0.0 && m < torque) continue;
          want1 = FirstNotBelow(rows, bore, d1);
          want2 = FirstNotBelow(rows, bore, d2);
          if (want1 && want2) {
            wantM = m;
            break;
          }
          want1 = want2 = nullptr;
        }
        const TGroupRows g = GroupRows(t.get(), torque, d1, d2);
        ASSERT_EQ(g.R1, want1);
        ASSERT_EQ(g.R2, want2);
        ASSERT_EQ(g.Torque, wantM);
        if (g.R1) {
          ++built;
          EXPECT_EQ(g.R1[0], g.R2[0]) << "halves of one size";
          EXPECT_GT(g.Torque, 0.0) << "never designated 0.00";
        }
      }
  EXPECT_GT(built, 1000);

  // Each torque of the catalogue, with its smallest and largest bore, is the coupling built.
  for (auto& [m, rows] : groups) {
    const double lo = rows.front()[bore], hi = rows.back()[bore];
    for (auto [d1, d2] : {std::pair{lo, lo}, std::pair{hi, hi}, std::pair{lo, hi}, std::pair{hi, lo}}) {
      const TGroupRows g = GroupRows(t.get(), m, d1, d2);
      ASSERT_TRUE(g.R1 && g.R2) << m;
      EXPECT_EQ(g.Torque, m);
      EXPECT_EQ(g.R1[bore], d1);
      EXPECT_EQ(g.R2[bore], d2);
    }
  }
  // 500 N m with d 45 and 40: one flange, one pin circle.
  const TGroupRows g = GroupRows(t.get(), 500, 45, 40);
  ASSERT_TRUE(g.R1 && g.R2);
  EXPECT_EQ(g.R1[5], g.R2[5]);
  EXPECT_EQ(g.R1[2], 170.0);
}

TEST_F(CouplingTest, GroupRowsRefuseWhatNoRowCanBuild)
{
  std::unique_ptr<TTable> t(TextBase.GetTable(TString("МУВП")));
  ASSERT_TRUE(t);
  const double nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
  for (auto [m, d1, d2] :
       {std::tuple{nan, 20.0, 20.0}, std::tuple{63.0, nan, 20.0}, std::tuple{63.0, 20.0, inf},
        std::tuple{63.0, 1e9, 20.0}, std::tuple{1e9, 20.0, 20.0}}) {
    const TGroupRows g = GroupRows(t.get(), m, d1, d2);
    EXPECT_TRUE(!g.R1 && !g.R2 && g.Torque == 0.0) << m << " " << d1 << " " << d2;
  }
  EXPECT_FALSE(GroupRows(nullptr, 63, 20, 20).R1);
  EXPECT_FALSE(GroupRows(t.get(), 63, 20, 20, t->CountColumn).R1);
  EXPECT_FALSE(GroupRows(t.get(), 63, 20, 20, -1).R1);
  // A table of its own: groups by another column, first row not below each diameter.
  const double rows[] = {1, 10, 5, 1, 20, 5, 2, 30, 8, 2, 40, 8};
  TTable own(12, 3, 1, rows);
  const TGroupRows o = GroupRows(&own, 6, 35, 30, 2);
  ASSERT_TRUE(o.R1 && o.R2);
  EXPECT_EQ(o.Torque, 8);
  EXPECT_EQ(o.R1[1], 40);
  EXPECT_EQ(o.R2[1], 30);
  // Shafts thinner than every bore of the groups at or above the torque: no bore is substituted.
  EXPECT_FALSE(GroupRows(&own, 6, 15, 12, 2).R1);
  EXPECT_FALSE(GroupRows(&own, 0, 5, 5, 2).R1);
  EXPECT_EQ(GroupRows(&own, 0, 12, 20, 2).R2[1], 20);
}

TEST_F(CouplingTest, HoleCirclesStartWhereAsked)
{
  for (double start : {-90.0, 0.0}) {
    M.Calls.clear();
    HoleCircle(M, 4, 100, 5, start);
    ASSERT_EQ(M.Calls.size(), 4u);
    for (int i = 0; i < 4; ++i) {
      const double phi = (start + 90.0 * i) * M_PI / 180.0;
      EXPECT_NEAR(M.Calls[i].A[0], 50 * std::cos(phi), 1e-9);
      EXPECT_NEAR(M.Calls[i].A[1], 50 * std::sin(phi), 1e-9);
      EXPECT_EQ(M.Calls[i].A[2], 5);
    }
  }
  M.Calls.clear();
  HoleCircle(M, 1e9, 100, 5);
  HoleCircle(M, std::numeric_limits<double>::quiet_NaN(), 100, 5);
  EXPECT_EQ(M.Calls.size(), 360u) << "counts stop at 360";
}

TEST_F(CouplingTest, HalvesOfOtherBoresAndRowsSharingATableWriteOtherFiles)
{
  ControlModel.Path = TString("/p/");
  ControlModel.StandartName = TString("ГОСТ 1");
  ControlModel.FilePrefix = TString();
  Model(125, 32, 32, 0, 1);
  MakeHalf(1, "Полумуфта1-", 32, 0);
  MakeHalf(2, "Полумуфта2-", 32, 1);
  ControlModel.mkDetail3D(3, TString("Палец"), 125, true, true);
  EXPECT_EQ(ControlModel.Detail3D(1).Utf8Text(), "/p/Полумуфта1-- 125.00-32-1-ГОСТ 1.tpt");
  EXPECT_EQ(ControlModel.Detail3D(2).Utf8Text(), "/p/Полумуфта2-- 125.00-32-2-ГОСТ 1.tpt");
  EXPECT_EQ(ControlModel.Detail3D(3).Utf8Text(), "/p/Палец- 125.00-125-ГОСТ 1.tpt");
  // The designation stays the piece's own.
  ASSERT_FALSE(M.Calls.empty());
  EXPECT_EQ(M.Calls.front().S.at(1).Utf8Text(), "Полумуфта1-- 125.00-32-ГОСТ 1");

  // The two toothed rows share their main table: every file of theirs starts with the row's prefix.
  const PAction saved = iCouplings[4].Make2D;
  iCouplings[4].Make2D = [] {};
  iCouplings[4].Make(1);
  iCouplings[4].Make2D = saved;
  EXPECT_EQ(ControlModel.FilePrefix.Utf8Text(), "Муфта-2 ");
  ControlModel.mkAssembly3D(32, 0, 32, 1, true);
  EXPECT_EQ(ControlModel.Detail3D(0).Utf8Text().rfind("/p/Муфта-2 Муфта-", 0), 0u)
      << ControlModel.Detail3D(0).Utf8Text();
  Model(125, 32, 32, 0, 0);
  ASSERT_TRUE(Couplings.drCoupling(TString(MUVP), 1));
  EXPECT_EQ(ControlModel.FilePrefix.Utf8Text(), "");
}

namespace {
using TCurve = TRecordingModeler::TCurve;

// A piece's box in its own frame, as the fastener stands it.
struct TPieceBox
{
  double u1, v1, u2, v2;
};

// Where the piece's point (u, v) lies on the sheet, the piece drawn in the placement (x, y, angle) on m's
// own.
TPoint2D OnSheet(TRecordingModeler& m, double x, double y, double angle, double u, double v)
{
  m.drMtr(x, y, angle, 1.0);
  TPoint2D p;
  m.R2D().Transf2D.xyMtr(u, v, p.x, p.y);
  m.drDeleteMtr();
  return p;
}

// What reaches m of the piece's line from (u1, v1) to (u2, v2), drawn in that placement through a front
// modeller.
std::vector<TCurve> Through(TRecordingModeler& m, double x, double y, double angle, double u1, double v1,
                            double u2, double v2)
{
  const std::size_t from = m.Curves.size();
  m.drMtr(x, y, angle, 1.0);
  {
    TFrontModeler f(m);
    f.drLine(u1, v1, u2, v2, 1);
  }
  m.drDeleteMtr();
  return std::vector<TCurve>(m.Curves.begin() + std::ptrdiff_t(from), m.Curves.end());
}

bool Near(double x, double y, const TPoint2D& p)
{
  return std::hypot(x - p.x, y - p.y) <= 1e-9;
}
} // namespace

// A fastener's pieces stand boxes that hold their outlines as the drawing turns them, whatever the angle
// (unturned and turned round, either way, a sweep of others) and placement: each side of the outline, drawn
// in the piece's turn, reaches the sheet whole (it runs along the box), one a hair outside a side passes
// whole too, and a line across the piece, through its middle or a hair inside a side, loses exactly the part
// between the sides.
TEST(FrontPieces, ATurnedPiecesBoxHoldsItsOutline)
{
  std::vector<double> angles = {0.0, -0.0, 180.0, -180.0, 90.0, -90.0, 270.0, 540.0, 1e-300, -1e-300};
  for (int k = -48; k <= 48; ++k)
    angles.push_back(7.5 * k + 0.3 * (k % 3));
  const double d = 2.0, L = 6.0, S = 3.0, H = 1.0, e = S / std::sqrt(3.0); // e: half the head across corners
  // A box, a bolt (head and shank, one outline) and a washer, each with its boxes and its outline's corners.
  struct TFastener
  {
    const char* Name;
    std::vector<TPieceBox> Boxes;
    std::vector<TPoint2D> Outline;
  };
  const TFastener fasteners[] = {
      {"box", {{0.0, -1.5, 4.0, 2.5}}, {{0.0, -1.5}, {4.0, -1.5}, {4.0, 2.5}, {0.0, 2.5}}},
      {"bolt",
       {{-H, -e, 0.0, e}, {-H, -d / 2, L, d / 2}},
       {{-H, -e}, {0.0, -e}, {0.0, -d / 2}, {L, -d / 2}, {L, d / 2}, {0.0, d / 2}, {0.0, e}, {-H, e}}},
      {"washer", {{0.0, -5.0, 1.5, 5.0}}, {{0.0, -5.0}, {1.5, -5.0}, {1.5, 5.0}, {0.0, 5.0}}},
  };
  const double x = 1.0, y = -2.0, hair = 1e-5;
  for (const TFastener& k : fasteners)
    for (const double angle : angles)
      for (const bool placed : {false, true}) {
        SCOPED_TRACE(::testing::Message() << k.Name << " turned " << angle << (placed ? " placed" : ""));
        TRecordingModeler m;
        if (placed) m.drMtr(3.0, -1.0, 180.0, 1.0);
        TFrontRegions f(m);
        if (k.Boxes.size() == 2)
          FrontBolt(f, x, y, angle, d, L, S, H);
        else if (k.Name[0] == 'w')
          FrontWasher(f, x, y, angle, k.Boxes[0].v2 * 2, k.Boxes[0].u2);
        else
          FrontBox(f, x, y, angle, k.Boxes[0].u1, k.Boxes[0].v1, k.Boxes[0].u2, k.Boxes[0].v2);
        for (std::size_t i = 0; i < k.Outline.size(); ++i) {
          const TPoint2D &p = k.Outline[i], &q = k.Outline[(i + 1) % k.Outline.size()];
          const std::vector<TCurve> got = Through(m, x, y, angle, p.x, p.y, q.x, q.y);
          ASSERT_EQ(got.size(), 1u) << "side " << i;
          EXPECT_TRUE(Near(got[0].x1, got[0].y1, OnSheet(m, x, y, angle, p.x, p.y)) &&
                      Near(got[0].x2, got[0].y2, OnSheet(m, x, y, angle, q.x, q.y)))
              << "side " << i;
        }
        for (const TPieceBox& b : k.Boxes)
          for (const double v : {(b.v1 + b.v2) / 2, b.v1 + hair, b.v2 - hair, b.v1 - hair, b.v2 + hair}) {
            // Across every box the line's height lies strictly within (they overlap: one gap).
            double lo = HUGE_VAL, hi = -HUGE_VAL;
            for (const TPieceBox& c : k.Boxes)
              if (v > c.v1 && v < c.v2) lo = std::min(lo, c.u1), hi = std::max(hi, c.u2);
            const double from = -H - 2.0, to = L + 2.0;
            const std::vector<TCurve> got = Through(m, x, y, angle, from, v, to, v);
            if (lo > hi) {
              EXPECT_EQ(got.size(), 1u) << "outside at " << v;
              continue;
            }
            ASSERT_EQ(got.size(), 2u) << "across at " << v;
            EXPECT_TRUE(Near(got[0].x1, got[0].y1, OnSheet(m, x, y, angle, from, v)) &&
                        Near(got[0].x2, got[0].y2, OnSheet(m, x, y, angle, lo, v)))
                << "across at " << v;
            EXPECT_TRUE(Near(got[1].x1, got[1].y1, OnSheet(m, x, y, angle, hi, v)) &&
                        Near(got[1].x2, got[1].y2, OnSheet(m, x, y, angle, to, v)))
                << "across at " << v;
          }
      }
}

// A count takes its noun's form by its last two digits, a fraction the form of two.
TEST(CountedPieces, TheNounAgreesWithItsCount)
{
  const std::pair<double, const char*> counts[] = {
      {1, "1 болт"},     {2, "2 болта"},    {4, "4 болта"},      {5, "5 болтов"},    {0, "0 болтов"},
      {11, "11 болтов"}, {12, "12 болтов"}, {14, "14 болтов"},   {21, "21 болт"},    {22, "22 болта"},
      {25, "25 болтов"}, {101, "101 болт"}, {111, "111 болтов"}, {4.5, "4.5 болта"}, {0.5, "0.5 болта"}};
  for (const auto& [n, text] : counts)
    EXPECT_EQ(Counted(n, "болт", "болта", "болтов").Utf8Text(), text);
}
