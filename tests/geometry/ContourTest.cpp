// The contour as a curve: parameter, evaluation, closure, boxes, copying, drawing, hull and
// stream form.
#include <cmath>
#include <memory>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "hxcadkit/core/KmfData.h"
#include "hxcadkit/core/Messager.h"
#include "hxcadkit/geometry/Contour.h"
#include "tests/core/MessageRecorder.h"
#include "tests/geometry/ContourTestUtil.h"
#include "tests/geometry/CurveTestUtil.h"

using namespace contourtest;
using namespace curvetest;

namespace {

constexpr double Pi = TMathDef::C_PI;

void ExpectPoint(const TPoint2D& P, double x, double y, double eps = 1e-9)
{
  EXPECT_NEAR(P.x, x, eps);
  EXPECT_NEAR(P.y, y, eps);
}

Bytes StoredContour(const TContour& c)
{
  TKmfData S;
  c.Store(S);
  Bytes all;
  S.to(all);
  return Bytes(all.begin() + KmfHeaderSize, all.end());
}

} // namespace

// --- Parameter and evaluation ---------------------------------------------------------------
// Points, derivatives, projections and part lengths are checked against a reference chain in
// ContourOpsTest; here what it does not reach.

// A joint belongs to the later member and members without a range are never chosen; past the
// end of an open contour the search clamps and the raw evaluation extends.
TEST(ContourParameter, JointsRangesAndEnds)
{
  TContour c;
  Fill(c, {new TLineSeg(0, 0, 1, 0), new TBasePoint(1, 0), new TLineSeg(1, 0, 1, 1)});
  double t = 1, local = -1;
  EXPECT_EQ(c.FindSegment(t, local), 2);
  EXPECT_EQ(local, 0);
  ExpectPoint(At(c, 5), 1, 1);
  ExpectPoint(RawAt(c, -0.5), -0.5, 0);
  ExpectPoint(RawAt(c, 2.5), 1, 1.5);

  // A projection restricted to a range of members stays in it.
  TContour square;
  Square(square);
  TRegion1D W(0, 2);
  t = -1;
  square.NearPointProjection(TPoint2D(-3, 1), TPoint2D(1e-6, 1e-6), t, false, &W);
  EXPECT_LE(t, 2 + 1e-9);
}

// --- Closure and links ----------------------------------------------------------------------

TEST(ContourShape, ClosureAndLinks)
{
  TContour circle, fullArc, square, open;
  Fill(circle, {new TCircle(0, 0, 1)});
  Fill(fullArc, {new TArc(0, 0, 1, 0, 0)});
  EXPECT_TRUE(circle.IsClosed()); // a single member is closed by its kind
  EXPECT_FALSE(fullArc.IsClosed());

  Square(square);
  square.closed = false;
  EXPECT_TRUE(square.IsClosed()); // asks, does not set
  EXPECT_FALSE(square.closed);
  EXPECT_TRUE(square.IsClosed2(1e-4));
  EXPECT_TRUE(square.closed);
  Fill(open, {new TLineSeg(0, 0.001, 4, 0), new TLineSeg(4, 0, 4, 4), new TLineSeg(4, 4, 0, 4),
              new TLineSeg(0, 4, 0, 0)});
  EXPECT_FALSE(open.IsClosed2(1e-4));
  EXPECT_TRUE(open.IsClosed2(0.01));

  // Ends link within one ten-thousandth.
  for (auto [gap, linked] : {std::pair{0.0, true}, {0.0001, true}, {0.00011, false}}) {
    TContour c;
    Fill(c, {new TLineSeg(-1, 0, 0, 0), new TLineSeg(gap, 0, 1, 1)});
    EXPECT_EQ(c.IsDirect(), linked) << gap;
    EXPECT_EQ(TContour::IsLink(c[0], c[1]), linked) << gap;
    EXPECT_EQ(c.IsDirect2(0.00005), gap == 0) << gap;
  }
  EXPECT_FALSE(TContour::IsLink(nullptr, nullptr));
}

TEST(ContourShape, Find2EndsAndCentresAndBoxesByMark)
{
  TContour c;
  Fill(c, {new TLineSeg(0, 0, 1, 0), new TLineSeg(1, 0, 0, 0), new TArc(0, 0, 1, 0, 1), new TCircle(1, 0, 2),
           new TBasePoint(0, 0)});
  TArrayOf<TPair<int, int>> found;
  EXPECT_TRUE(c.Find2(0.00005, 0, found));
  std::vector<std::pair<int, int>> pairs;
  for (Integer i = 0; i < found.Count; ++i)
    pairs.emplace_back(found[i].V1, found[i].V2);
  EXPECT_EQ(pairs, (std::vector<std::pair<int, int>>{{0, 0}, {1, 1}, {2, 0}}));
  EXPECT_FALSE(c.Find2(5, 5, found));

  // Boxes of the members with given marks.
  TContour marked;
  Fill(marked, {new TLineSeg(0, 0, 1, 1, 1), new TLineSeg(5, 5, 6, 7, 2), new TCircle(-3, 0, 1, 3)});
  TRect2D R(7, 7, 8, 8);
  marked.RangeAtIn(9, R); // no match: unchanged
  EXPECT_EQ(R, TRect2D(7, 7, 8, 8));
  marked.RangeAtIn(1, 2, R);
  EXPECT_EQ(R, TRect2D(0, 0, 6, 7));
  double l = 1, b = 1, r = 1, t = 1;
  marked.RangeAtIn(9, l, b, r, t); // the value forms give zeros
  EXPECT_EQ(TRect2D(l, b, r, t), TRect2D(0, 0, 0, 0));
  marked.RangeAtIn(2, 3, l, b, r, t);
  EXPECT_EQ(TRect2D(l, b, r, t), TRect2D(-4, -1, 6, 7));
  EXPECT_EQ(marked.CountAt(2), 1u);
}

// --- Copying and editing --------------------------------------------------------------------

TEST(ContourCopy, DuplicatesKeepKindsAndText)
{
  TContour c;
  c.Name2 = 5;
  Fill(c,
       {new TLineSeg(0, 0, 1, 0, 1), new TText(1, 2, 0.5, 3, TString("abc")), new TArc(0, 0, -2, 0, 1, 1)});
  std::unique_ptr<TCurve2D> d(c.Duplicate());
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(StoredContour(static_cast<const TContour&>(*d)), StoredContour(c));
  TContour some, assigned;
  EXPECT_EQ(c.DuplicateAt(1, &some), &some);
  EXPECT_EQ(some.Count, 2);
  Fill(assigned, {new TCircle(0, 0, 1)});
  assigned = c;
  EXPECT_EQ(StoredContour(assigned), StoredContour(c));

  c.Mtr(10, 20, 0, 1);
  ExpectPoint(c[0]->PointTMax(), 11, 20);
  ExpectPoint(*static_cast<const TArc*>(c[2]), 10, 20);
}

// The open chain is in RegressionTest; a closed one keeps member 0 first: [a', d', c', b'].
TEST(ContourCopy, InverseOfAClosedChainKeepsTheFirstMemberFirst)
{
  TContour c;
  Square(c);
  c.Inverse();
  ExpectPoint(c[0]->PointTMin(), 4, 0);
  ExpectPoint(c[1]->PointTMin(), 0, 0);
  EXPECT_TRUE(c.IsClosed());
  ExpectPoint(At(c, 1.5), 0, 2);
}

// --- Drawing --------------------------------------------------------------------------------

TEST(ContourDrawing, ItemsGoToTheModeller)
{
  TContour c;
  Fill(c, {new TLineSeg(0, 0, 1, 2, 1), new TCircle(3, 4, 5, 2), new TArc(1, 1, -2, 1.0, 0.5, 3),
           new TBasePoint(0, 0, 4), new TText(1, 1, 0, 2, TString("t"))});
  c.drItems(TRecordingModeller::Placeholder(), 0); // no link installed: nothing drawn
  TRecordingModeller m;
  c.drItems(m, 0); // style 0: the member's Atr
  for (int i : {0, -1, 5})
    c.drItem(m, i, 7);
  EXPECT_EQ(m.calls,
            (std::vector<std::string>{"L 0 0 1 2 s1", "C 3 4 5 s2", "A 1 1 2 1 0.5 s3 d-1", "L 0 0 1 2 s7"}));

  // A derived contour draws its members its own way.
  struct TOwnDrawing : TContour
  {
    void drItem(TModeler3D&, int i, int) const override { drawn.push_back(i); }
    mutable std::vector<int> drawn;
  } own;
  Fill(own, {new TLineSeg(0, 0, 1, 0, 2), new TLineSeg(1, 0, 1, 1, 3)});
  own.drItems(m, 0);
  own.drItemsAt(m, 3, 0);
  EXPECT_EQ(own.drawn, (std::vector<int>{0, 1, 1}));
}

// --- Approximation and measures -------------------------------------------------------------

TEST(ContourMeasures, ApproximationCentreAndEdges)
{
  TContour square, open, empty, huge;
  Square(square);
  TPolyLine pl;
  square.Aproximate(pl);
  EXPECT_EQ(pl.Points.Count, 4); // segment starts only; no end point on a closed contour
  EXPECT_NEAR(square.Area(), 16, 1e-9);
  EXPECT_NEAR(square.Len(), 16, 1e-9);
  double cx = 0, cy = 0, len = 0;
  square.CenterXYLenCut(cx, cy, len);
  ExpectPoint(TPoint2D(cx, cy), 2, 2);
  EXPECT_NEAR(len, 16, 1e-9);
  empty.CenterXYLenCut(cx, cy, len);
  EXPECT_EQ(cx + cy + len, 0);

  Fill(open, {new TLineSeg(0, 0, 4, 0), new TLineSeg(4, 0, 4, 4)});
  TPolyLine opl, hpl;
  open.Aproximate(opl);
  ASSERT_EQ(opl.Points.Count, 3);
  ExpectPoint(opl.Points[2], 4, 4);
  std::vector<double> xyz;
  std::vector<int> edges;
  open.GetEdges(xyz, edges);
  ASSERT_EQ(edges.size(), 2 + xyz.size() / 3);
  EXPECT_EQ(edges.back(), int(xyz.size() / 3) - 1);

  // A huge member is sampled with a bounded number of points.
  Fill(huge, {new TCircle(0, 0, 1e7)});
  huge.Aproximate(hpl);
  EXPECT_GT(hpl.Points.Count, 1000);
  EXPECT_LE(hpl.Points.Count, 100001);
}

// --- Stream ---------------------------------------------------------------------------------

// Random contours of every kind read back to the same bytes.
TEST(ContourStream, RandomContoursReadBackEqual)
{
  std::mt19937 rng(3);
  std::uniform_real_distribution<double> u(-9, 9);
  for (int round = 0; round < 100; ++round) {
    TContour c;
    for (int n = round % 7, i = 0; i < n; ++i) {
      const double x = u(rng), y = u(rng), v = u(rng);
      const int atr = int(rng() % 4);
      switch (rng() % 5) {
      case 0:
        c.Add(new TBasePoint(x, y, atr));
        break;
      case 1:
        c.Add(new TLineSeg(x, y, v, x, atr));
        break;
      case 2:
        c.Add(new TCircle(x, y, 1 + std::fabs(v), atr));
        break;
      case 3:
        c.Add(new TArc(x, y, v, y, x, atr));
        break;
      default:
        c.Add(new TText(x, y, v, atr, TString("abc")));
      }
    }
    c.Refresh();
    const Bytes once = StoredContour(c);
    TVersionedStream s(once, KmfVersion);
    TContour back;
    back.Load(s.S);
    ASSERT_EQ(back.Count, c.Count) << round;
    EXPECT_EQ(StoredContour(back), once) << round;
  }
}

// Damaged data: what was read whole stays, one message, and an unknown kind stops the reading
// just after its code.
TEST(ContourStream, DamagedCountsAndMembersFailCleanly)
{
  TContour one;
  Fill(one, {new TLineSeg(0, 0, 1, 0), new TLineSeg(1, 0, 1, 1)});
  const Bytes two = StoredContour(one), member(two.begin() + 4, two.begin() + 4 + (two.size() - 4) / 2);
  const struct
  {
    const char* what;
    Bytes data;
    Integer members;
    size_t messages;
    Integer remaining;
  } cases[] = {
      {"empty", Bytes(), 0, 0, 0},
      {"negative count", Ints({-3}), 0, 0, 0},
      {"count beyond the bytes", Cat({Ints({0x7fffffff}), Bytes(two.begin() + 4, two.end())}), 0, 1, -1},
      {"second member cut short", Bytes(two.begin(), two.end() - 8), 1, 1, -1},
      {"kind 0", Cat({Ints({1, 0}), Doubles({0, 0, 0})}), 0, 1, -1},
      {"unknown kind", Cat({Ints({2}), member, Ints({7}), Doubles({1, 2, 3, 4, 5})}), 1, 1, 40},
      {"whole", two, 2, 0, 0},
  };
  for (const auto& k : cases) {
    TMessageRecorder rec;
    rec.Modeler.IsThere = true;
    TVersionedStream s(k.data, KmfVersion);
    TContour c;
    Fill(c, {new TCircle(0, 0, 1)}); // replaced by what is read
    c.Load(s.S);
    EXPECT_EQ(c.Count, k.members) << k.what;
    ASSERT_EQ(rec.HostBoxes().size(), k.messages) << k.what;
    if (k.messages) {
      EXPECT_EQ(rec.HostBoxes()[0], TString("Критическая ошибка чтения контура с потока")) << k.what;
    }
    if (k.remaining >= 0) {
      EXPECT_EQ(s.S.Remaining(), k.remaining) << k.what;
    }
  }
}
