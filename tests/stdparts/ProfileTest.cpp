// The profiles of the first slice on the recording modeller: the hexagon socket, the one-piece
// spacer's empty outline and the threaded spacer's halves, root lines and annotations.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "StdPartsSupport.h"
#include "tests/TestNames.h"

namespace {

using TCurve = TRecordingModeler::TCurve;

TEST(StdPartsProfile, HexagonSocketHasCornersOnTheAxisAndFlatsAcross)
{
  TRecordingModeler Md;
  TSetScrew(0, &Md, TConstruktor::Empty()).drHexAngle(10.0, 1);
  const std::vector<TCurve> lines = Md.Drawn();
  ASSERT_EQ(lines.size(), 6u);
  const double R = 5.0 / std::cos(M_PI / 6);
  EXPECT_NEAR(R, 5.7735026918962573, 1e-12);
  int corners = 0, flats = 0;
  for (const TCurve& c : lines) {
    EXPECT_EQ(c.Style, 1);
    EXPECT_NEAR(std::hypot(c.x1, c.y1), R, 1e-9); // every vertex on the circle through the corners
    if (std::fabs(c.x1) < 1e-12 && std::fabs(std::fabs(c.y1) - R) < 1e-9) ++corners;
    if (std::fabs(c.x1 - c.x2) < 1e-12 && std::fabs(std::fabs(c.x1) - 5.0) < 1e-12) ++flats;
  }
  EXPECT_EQ(corners, 2);
  EXPECT_EQ(flats, 2);
  EXPECT_TRUE(TRecordingModeler::ClosedChain(lines));
  EXPECT_TRUE(DrawingSound(Md));
}

// The one-piece spacer draws the threaded profile in its own sizes (it drew nothing, so its sheet was
// empty and its model revolved nothing).
TEST(StdPartsProfile, OnePieceOutlineIsTheThreadedProfileInItsSizes)
{
  TRecordingModeler a, b;
  TDistanceScrew s(0, &a, nullptr);
  s.CollarRadius = 12, s.Radius = 8, s.ThreadRadius = 5, s.ThreadLen = 15, s.CollarHeight = 6, s.Len = 61;
  s.dr2D_V1(100, 50, 0, 1, 1, true);
  TDistanceScrew(0, &b, nullptr).dr2D_Gvynt_V1(100, 50, 0, 1, 12, 8, 5, 15, 6, 61, 46, 1, true);
  EXPECT_FALSE(a.Curves.empty());
  EXPECT_EQ(a.Ops(), b.Ops());
  EXPECT_EQ(a.Curves.size(), b.Curves.size());
}

// The threaded spacer's sizes: collar r89, body r95, thread r94; thread 15, collar 6, overall 61.
void Threaded(TRecordingModeler& Md, int tl, bool isSize)
{
  TDistanceScrew(0, &Md, nullptr).dr2D_Gvynt_V1(100, 50, 0, 1, 12, 8, 5, 15, 6, 61, 30, tl, isSize);
}

struct THalves
{
  int Tl;
  bool Upper, Lower;
  int Style;
  friend void PrintTo(const THalves& h, std::ostream* os) { *os << "tl " << h.Tl; }
};

class ThreadedHalves : public ::testing::TestWithParam<THalves>
{
};

TEST_P(ThreadedHalves, DrawTheHalvesTheLineCodeChooses)
{
  const THalves& h = GetParam();
  TRecordingModeler Md;
  Threaded(Md, h.Tl, false);
  EXPECT_TRUE(DrawingSound(Md));
  EXPECT_EQ(Md.Of("drMtr")[0].A, (std::vector<double>{100 - 61 + 15, 50, 0, 1}));
  bool upper = false, lower = false;
  int roots = 0, axes = 0;
  for (const TCurve& c : Md.Drawn()) {
    if (c.Style == 3) {
      ++axes;
      continue;
    }
    // The thread's root: thin, one short of the thread's radius, from 3 past the thread's start to
    // a millimetre short of the end.
    if (c.Style == 2 && c.y1 == c.y2 && std::fabs(std::fabs(c.y1 - 50) - 4.0) < 1e-12 &&
        std::min(c.x1, c.x2) == 54 + 61 - 15 + 3 && std::max(c.x1, c.x2) == 54 + 60) {
      ++roots;
      continue;
    }
    if (c.Style > 0) {
      EXPECT_EQ(c.Style, h.Style);
    }
    upper = upper || std::max(c.y1, c.y2) > 50 + 1e-9;
    lower = lower || std::min(c.y1, c.y2) < 50 - 1e-9;
  }
  EXPECT_EQ(axes, 1);
  EXPECT_EQ(upper, h.Upper);
  EXPECT_EQ(lower, h.Lower);
  EXPECT_EQ(roots, int(h.Tl != 0 && h.Upper) + int(h.Tl != 0 && h.Lower));
  if (h.Tl == 0) {
    EXPECT_TRUE(TRecordingModeler::ClosedChain(TRecordingModeler::Outline(Md.Drawn())));
  }
}

INSTANTIATE_TEST_SUITE_P(StdParts, ThreadedHalves,
                         ::testing::Values(THalves{0, true, false, 1}, THalves{1, true, true, 1},
                                           THalves{11, true, false, 1}, THalves{21, false, true, 1},
                                           THalves{31, true, true, 1}, THalves{12, true, false, 2}),
                         hxcad::test::CaseNames());

TEST(StdPartsProfile, ThreadedSpacerAnnotations)
{
  TRecordingModeler Md;
  Threaded(Md, 1, true);
  EXPECT_TRUE(DrawingSound(Md));
  // The grooves' enlarged views come first, the collar's and the thread undercut's, each with a
  // dimension of each kind of its own: the undercut 3 long and 1 deep.
  auto hl = Md.Of("drDimHL"), vl = Md.Of("drDimVL");
  const auto rough = Md.Of("drRough");
  ASSERT_EQ(hl.size(), 7u);
  ASSERT_EQ(vl.size(), 5u);
  EXPECT_EQ(hl[1].A[0], 3.0);
  EXPECT_EQ(vl[1].A[0], 1.0);
  hl.erase(hl.begin(), hl.begin() + 2);
  vl.erase(vl.begin(), vl.begin() + 2);
  ASSERT_EQ(rough.size(), 4u);
  // The lengths below nested from the end face, the chamfer nearest; the whole length over the part.
  EXPECT_EQ(hl[0].A, (std::vector<double>{2, -8, -1, 2, -12, 0, -10}));
  EXPECT_EQ(hl[0].S[0].Utf8Text() + "|" + hl[0].S[2].Utf8Text(), "2 фаски |&04~45&01");
  EXPECT_EQ(hl[2].A, (std::vector<double>{61 - 6 - 15, -22, -1, 46, -8, 6, -12}));
  EXPECT_EQ(hl[4].A, (std::vector<double>{61, 22, 0, 61, 3, 0, 10}));
  EXPECT_EQ(vl[2].A, (std::vector<double>{10, 12, -1, 59, -5, 59, 5}));
  EXPECT_EQ(vl[2].S[0].Utf8Text() + vl[2].S[1].Utf8Text(), "M-8g");
  EXPECT_EQ(vl[0].S[0].Utf8Text() + vl[0].S[1].Utf8Text(), "&02h14");
  std::string texts;
  for (const auto& r : rough)
    texts += r.S[0].Utf8Text() + "@" + std::to_string(int(r.A[2])) + " ";
  EXPECT_EQ(texts, "1,6@0 0,8@90 1,6@0 1,6@180 ");
  ASSERT_EQ(Md.Count("drCircleShelf"), 2);
  EXPECT_EQ(Md.Of("drCircleShelf")[0].S[0].Utf8Text(), "А");
  EXPECT_EQ(Md.Of("drCircleShelf")[1].S[0].Utf8Text(), "Б");
  // The grooves' enlarged views and their titles.
  std::string titles;
  for (const auto& t : Md.Of("drText"))
    titles += t.S[0].Utf8Text().substr(0, t.S[0].Utf8Text().find('(')) + " ";
  EXPECT_NE(titles.find("А "), std::string::npos) << titles;
  EXPECT_NE(titles.find("Б "), std::string::npos) << titles;
}

} // namespace
