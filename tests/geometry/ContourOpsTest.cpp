// Cutting and deriving contours: trimming, deleting parts, chaining, offset, signed area,
// the Gauss-Legendre table and the text dump.
#include <cmath>
#include <memory>
#include <vector>

#include <gtest/gtest.h>

#include "hxcadkit/geometry/Contour.h"
#include "tests/geometry/ContourTestUtil.h"

using namespace contourtest;

namespace {

constexpr double Pi = TMathDef::C_PI;

// The members of c, all segments, are (x, y, xk, yk) each.
void ExpectSegs(const TContour& c, const std::vector<std::vector<double>>& want)
{
  ASSERT_EQ(c.Count, Integer(want.size()));
  for (Integer i = 0; i < c.Count; ++i) {
    const TLineSeg* s = dynamic_cast<const TLineSeg*>(c[i]);
    ASSERT_TRUE(s && s->IsType() == tLineSeg) << "member " << i;
    const double got[] = {s->x, s->y, s->xk, s->yk};
    for (size_t k = 0; k < 4; ++k)
      EXPECT_NEAR(got[k], want[i][k], 1e-9) << "member " << i << " value " << k;
  }
}

void OpenChain(TContour& c)
{
  Fill(c, {new TLineSeg(0, 0, 1, 0), new TLineSeg(1, 0, 1, 1)});
}

} // namespace

TEST(ContourTrim, OverTheSeamOfTheSquare)
{
  TContour c;
  Square(c, 0, 0, 1);
  c.Trimm(3.5, 0.5);
  ExpectSegs(c, {{0, 0.5, 0, 0}, {0, 0, 0.5, 0}});
  EXPECT_FALSE(c.closed);
  // The parameter now spans what is left, not the square it came from.
  EXPECT_NEAR(c.GetTMax(), 2, 1e-12);
}

TEST(ContourTrim, TrimmedPieces)
{
  struct Case
  {
    double t1, t2;
    int dir;
    double w1, w2; // the caller's variables afterwards
    TElement kind; // a lone piece is handed out itself
    TPoint2D from, to;
  };
  const std::vector<Case> cases = {
      {0.5, 1.5, 1, 0.5, 1.5, tContour, {0.5, 0}, {1, 0.5}},
      {0.25, 0.75, 1, 0.25, 0.75, tLineSeg, {0.25, 0}, {0.75, 0}},
      {0.75, 0.25, -1, 0.25, 0.75, tLineSeg, {0.75, 0}, {0.25, 0}},
  };
  for (const Case& k : cases) {
    TContour c;
    OpenChain(c);
    double t1 = k.t1, t2 = k.t2;
    std::unique_ptr<TCurve2D> r(c.Trimmed(t1, t2, k.dir));
    ASSERT_TRUE(r);
    EXPECT_EQ(t1, k.w1);
    EXPECT_EQ(t2, k.w2);
    EXPECT_EQ(c.Count, 2); // the source stays
    EXPECT_EQ(r->IsType() == tLineSeg ? tLineSeg : tContour, k.kind);
    const TPoint2D P = r->PointTMin(), Q = r->PointTMax();
    EXPECT_NEAR(std::hypot(P.x - k.from.x, P.y - k.from.y), 0, 1e-9);
    EXPECT_NEAR(std::hypot(Q.x - k.to.x, Q.y - k.to.y), 0, 1e-9);
  }
  TContour c;
  OpenChain(c);
  double a = 0.7, b = 0.7;
  EXPECT_EQ(c.Trimmed(a, b, 1), nullptr);
}

TEST(ContourDelete, Parts)
{
  struct Case
  {
    double t1, t2;
    TCurve2D::TState result;
    std::vector<std::vector<double>> segs;
  };
  const std::vector<Case> cases = {
      {0, 4, TCurve2D::dp_Degenerated, {}},
      {1.5, 1.5, TCurve2D::dp_NoChanged, {{0, 0, 1, 0}, {1, 0, 1, 1}, {1, 1, 0, 1}, {0, 1, 0, 0}}},
      // Inside one member: it is cut in two, the second piece following it.
      {0.25,
       0.75,
       TCurve2D::dp_Changed,
       {{0, 0, 0.25, 0}, {0.75, 0, 1, 0}, {1, 0, 1, 1}, {1, 1, 0, 1}, {0, 1, 0, 0}}},
      // From the start of a member: nothing of that member stays.
      {1, 2.5, TCurve2D::dp_Changed, {{0, 0, 1, 0}, {0.5, 1, 0, 1}, {0, 1, 0, 0}}},
      {0.5, 2.5, TCurve2D::dp_Changed, {{0, 0, 0.5, 0}, {0.5, 1, 0, 1}, {0, 1, 0, 0}}},
      // Over the seam.
      {3.5, 0.5, TCurve2D::dp_Changed, {{0.5, 0, 1, 0}, {1, 0, 1, 1}, {1, 1, 0, 1}, {0, 1, 0, 0.5}}},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(testing::Message() << k.t1 << " .. " << k.t2);
    TContour c;
    Square(c, 0, 0, 1);
    TCurve2D* rest = &c; // must come back null
    EXPECT_EQ(c.DeletePart(k.t1, k.t2, rest), k.result);
    EXPECT_EQ(rest, nullptr);
    ExpectSegs(c, k.segs);
  }
}

TEST(ContourDelete, InsideACircleLeavesTheArc)
{
  TContour c;
  Fill(c, {new TCircle(0, 0, 2)});
  TCurve2D* rest = nullptr;
  EXPECT_EQ(c.DeletePart(1, 2, rest), TCurve2D::dp_Changed);
  ASSERT_EQ(c.Count, 1);
  ASSERT_EQ(c[0]->IsType(), tArc);
  EXPECT_NEAR(c.GetTMax(), 2 * Pi - 1, 1e-9);
}

TEST(ContourChain, MakeDirect)
{
  TContour c;
  Fill(c, {new TLineSeg(0, 0, 1, 0), new TLineSeg(2, 1, 1, 1), new TLineSeg(1, 0, 1, 1)});
  EXPECT_TRUE(c.MakeDirect(1e-6, true));
  ExpectSegs(c, {{0, 0, 1, 0}, {1, 0, 1, 1}, {1, 1, 2, 1}});

  TContour gap;
  Fill(gap, {new TLineSeg(0, 0, 1, 0), new TLineSeg(5, 5, 6, 6)});
  EXPECT_FALSE(gap.MakeDirect(1e-6, true));
}

TEST(ContourOffset, SquareGetsSidesAndCornerArcs)
{
  TContour c;
  Square(c, 0, 0, 10);
  std::unique_ptr<TCurve2D> r(c.Offset(1));
  TContour* o = dynamic_cast<TContour*>(r.get());
  ASSERT_TRUE(o);
  ASSERT_EQ(o->Count, 8);
  for (Integer i = 0; i < 8; ++i) {
    const TCurve2D* m = (*o)[i];
    EXPECT_EQ(m->Atr, i % 2 == 0 ? 1 : 2);
    EXPECT_EQ(m->IsType(), i % 2 == 0 ? tLineSeg : tArc);
    if (i % 2 == 1) {
      const TArc* a = static_cast<const TArc*>(m);
      EXPECT_NEAR(a->Radius, 1, 1e-12);
      EXPECT_NEAR(a->GetTMax(), Pi / 2, 1e-9);
      EXPECT_TRUE((a->x == 0 || a->x == 10) && (a->y == 0 || a->y == 10));
    }
  }
  EXPECT_TRUE(o->IsClosed()); // the arcs close the gaps between the sides
  EXPECT_NEAR(std::fabs(o->Area2()), 144 - 4 + Pi, 1e-6);
}

TEST(ContourArea, SignedArea)
{
  auto expectArea = [](TContour& c, double area) {
    EXPECT_NEAR(c.Area2(), area, 1e-9);
    EXPECT_EQ(c.GetSense(), (area > 0) - (area < 0));
  };
  TContour ccw, cw, circle, halfDisc, empty;
  Polygon(ccw, {{0, 0}, {1, 0}, {1, 1}, {0, 1}});
  Polygon(cw, {{0, 0}, {0, 1}, {1, 1}, {1, 0}});
  Fill(circle, {new TCircle(3, 4, 2)});
  Fill(halfDisc, {new TLineSeg(-1, 0, 1, 0), new TArc(0, 0, 1, 0, Pi)});
  expectArea(ccw, 1);
  expectArea(cw, -1);
  expectArea(circle, 4 * Pi);
  expectArea(halfDisc, Pi / 2);
  expectArea(empty, 0);
}

TEST(ContourArea, GaussLegendreTable)
{
  double x[9], w[9];
  // Order n integrates every x^k up to k = 2n - 1 exactly; only the Gauss-Legendre rule does.
  for (int n = 1; n <= 8; ++n) {
    ASSERT_TRUE(TContour::FillIntegrationValues(x, w, n));
    for (int i = 1; i < n; ++i)
      EXPECT_LT(x[i - 1], x[i]);
    for (int k = 0; k < 2 * n; ++k) {
      double s = 0;
      for (int i = 0; i < n; ++i)
        s += w[i] * std::pow(x[i], k);
      EXPECT_NEAR(s, k % 2 ? 0.0 : 2.0 / (k + 1), 1e-14) << n << " " << k;
    }
  }
  EXPECT_FALSE(TContour::FillIntegrationValues(nullptr, w, 3));
  EXPECT_FALSE(TContour::FillIntegrationValues(x, w, 0));
  x[0] = w[8] = 1;
  EXPECT_FALSE(TContour::FillIntegrationValues(x, w, 9));
  EXPECT_EQ(x[0], 0);
  EXPECT_EQ(w[8], 0);
}

TEST(ContourText, OneLinePerMember)
{
  TContour c;
  Fill(c, {new TLineSeg(0, 0, 10, 5), new TArc(1, 2, -3, Pi / 2, 0), new TCircle(1, 2, 3),
           new TBasePoint(1, 1)});
  TArrayOf<TString> lines;
  c.toText(lines);
  ASSERT_EQ(lines.Count, 4);
  EXPECT_EQ(lines[0].Utf8Text(), "Line(    0.00 ,    0.00 ,   10.00 ,    5.00");
  EXPECT_EQ(lines[1].Utf8Text(), "Arc(    1.00 ,    2.00 ,    3.00 ,   90.00 ,    0.00 , -1");
  EXPECT_EQ(lines[2].Utf8Text(), "Circle(    1.00 ,    2.00 ,    3.00");
  EXPECT_EQ(lines[3].Utf8Text(), "");
}
