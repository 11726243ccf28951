// Cutting and deriving contours: trimming and deleting parts against a reference chain, chaining,
// offset, signed area, the Gauss-Legendre table and the text dump.
#include <cmath>
#include <memory>
#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "hxcadkit/geometry/Contour.h"
#include "tests/geometry/ContourTestUtil.h"
#include "tests/geometry/CurveTestUtil.h"

using namespace contourtest;
using curvetest::At;
using curvetest::Der1;
using curvetest::Dist;

namespace {

constexpr double Pi = TMathDef::C_PI;

// The reference of a chain of segments and arcs: each member's parameter runs over 1 for a segment
// and over the swept angle for an arc, the members' ranges laid end to end.
struct TChainModel
{
  struct Member
  {
    bool arc;
    TPoint2D a, b, c; // a segment's ends; an arc's centre
    double r, a1, s, sweep;
    double Range() const { return arc ? sweep : 1; }
    TPoint2D At(double u) const
    {
      if (!arc) return TPoint2D(a.x + (b.x - a.x) * u, a.y + (b.y - a.y) * u);
      return TPoint2D(c.x + r * std::cos(a1 + s * u), c.y + r * std::sin(a1 + s * u));
    }
    // The member's part of the signed area, half the integral of x dy - y dx along it.
    double Area() const
    {
      if (!arc) return (a.x * b.y - b.x * a.y) / 2;
      const double t1 = a1, t2 = a1 + s * sweep;
      return (r * r * (t2 - t1) +
              r * (c.x * (std::sin(t2) - std::sin(t1)) - c.y * (std::cos(t2) - std::cos(t1)))) /
             2;
    }
    double Length(double u1, double u2) const { return (u2 - u1) * (arc ? r : Dist(a, b)); }
    TVector2D Der(double u) const // a segment's is its direction
    {
      return arc ? TVector2D(-r * s * std::sin(a1 + s * u), r * s * std::cos(a1 + s * u))
                 : TVector2D(b.x - a.x, b.y - a.y) * (1 / Dist(a, b));
    }
  };
  std::vector<Member> M;

  double End() const
  {
    double t = 0;
    for (const Member& m : M)
      t += m.Range();
    return t;
  }
  // The member that holds t, with t made local to it.
  size_t Find(double& t) const
  {
    size_t i = 0;
    while (i + 1 < M.size() && t > M[i].Range())
      t -= M[i++].Range();
    return i;
  }
  TPoint2D At(double t) const { return M[Find(t)].At(t); }
  TVector2D Der(double t) const { return M[Find(t)].Der(t); }
  double Length(double t1, double t2) const // t1 <= t2
  {
    double sum = 0, from = 0;
    for (const Member& m : M) {
      const double lo = std::max(t1, from), hi = std::min(t2, from + m.Range());
      if (hi > lo) sum += m.Length(lo - from, hi - from);
      from += m.Range();
    }
    return sum;
  }
};

// A random chain of 1 .. 5 segments and arcs; closed by a last segment back to its start.
TChainModel RandomChain(std::mt19937& rng, bool closed, TContour& c)
{
  std::uniform_real_distribution<double> coord(-10, 10), radius(1, 5), sweep(0.3, 2.5), angle(-Pi, Pi);
  std::uniform_int_distribution<int> count(closed ? 2 : 1, 5), coin(0, 1);
  TChainModel m;
  TPoint2D p(coord(rng), coord(rng));
  const TPoint2D start = p;
  for (int n = count(rng), i = 0; i < n; ++i) {
    TChainModel::Member k{};
    k.a = p;
    if (coin(rng)) {
      k.arc = true;
      k.r = radius(rng);
      const double d = angle(rng);
      k.c = TPoint2D(p.x - k.r * std::cos(d), p.y - k.r * std::sin(d));
      k.a1 = d;
      k.s = coin(rng) ? 1 : -1;
      k.sweep = sweep(rng);
      c.Add(new TArc(k.c.x, k.c.y, k.s * k.r, d, d + k.s * k.sweep));
      p = k.At(k.sweep);
    } else {
      k.b = TPoint2D(coord(rng), coord(rng));
      c.Add(new TLineSeg(p.x, p.y, k.b.x, k.b.y));
      p = k.b;
    }
    m.M.push_back(k);
  }
  if (closed) {
    TChainModel::Member k{};
    k.a = p;
    k.b = start;
    m.M.push_back(k);
    c.Add(new TLineSeg(p.x, p.y, start.x, start.y));
  }
  c.Refresh();
  return m;
}

double Length(const TCurve2D& c)
{
  const TContour* k = dynamic_cast<const TContour*>(&c);
  if (!k) return c.GetMetricLength();
  double sum = 0;
  for (Integer i = 0; i < k->Count; ++i)
    sum += (*k)[i]->GetMetricLength();
  return sum;
}

void ExpectNear(const TPoint2D& p, const TPoint2D& q, const char* what)
{
  EXPECT_NEAR(Dist(p, q), 0, 1e-7) << what;
}

} // namespace

// Random chains, open and closed, against the reference: signed areas of the closed ones, points, first
// derivatives (of the member that carries the parameter, whatever its integer part), projections and the
// lengths of parts (over the end of a closed chain when t1 > t2, also within one member, which once measured
// the short way). Cut: a trimmed piece runs from the point at t1 to the point at t2 (over the seam of a
// closed chain when t1 > t2; backwards for direction -1) with the length between them, its parameter spanning
// just its members and the source untouched; a deleted part leaves the rest of the length, cut at the points
// of t1 and t2 (a part over the end of a closed chain with both ends in one member once kept the wrong middle
// of that member).
TEST(ContourChain, EvaluationAndCutsFollowTheReferenceChain)
{
  std::mt19937 rng(777);
  for (int round = 0; round < 300; ++round) {
    const bool closed = round % 2 == 1;
    TContour c;
    const TChainModel m = RandomChain(rng, closed, c);
    const double end = m.End(), total = m.Length(0, end);
    ASSERT_EQ(bool(c.IsClosed()), closed);
    if (closed) {
      double area = 0;
      for (const TChainModel::Member& k : m.M)
        area += k.Area();
      EXPECT_NEAR(c.Area2(), area, 1e-9 * (1 + std::fabs(area)));
      EXPECT_EQ(c.GetSense(), (area > 0) - (area < 0));
    }
    ASSERT_NEAR(c.GetTMax(), end, 1e-9);
    std::uniform_real_distribution<double> at(0.01, end - 0.01);
    double t1 = at(rng), t2 = at(rng);
    if (std::fabs(t1 - t2) < 0.01) continue;
    const int dir = !closed && t1 > t2 ? -1 : 1;
    if (!closed && dir == 1 && t1 > t2) std::swap(t1, t2);
    SCOPED_TRACE(testing::Message() << "round " << round << " members " << m.M.size() << " t " << t1 << " .. "
                                    << t2);
    const double lo = std::min(t1, t2), hi = std::max(t1, t2);
    const double kept = t1 < t2 || dir == -1 ? m.Length(lo, hi) : total - m.Length(t2, t1);
    for (int k = 0; k < 8; ++k) {
      const double t = at(rng);
      ExpectNear(At(c, t), m.At(t), "point");
      EXPECT_NEAR(Dist(Der1(c, t), m.Der(t)), 0, 1e-9) << "derivative at " << t;
      double found = -1;
      ASSERT_TRUE(c.NearPointProjection(m.At(t), TPoint2D(1e-9, 1e-9), found, false, nullptr));
      ExpectNear(At(c, found), m.At(t), "projection");
    }
    EXPECT_NEAR(c.GetMetricLengthPart(dir == -1 ? t2 : t1, dir == -1 ? t1 : t2), kept, 1e-7);

    double a = t1, b = t2;
    std::unique_ptr<TCurve2D> piece(c.Trimmed(a, b, dir));
    ASSERT_TRUE(piece);
    ExpectNear(piece->PointTMin(), m.At(t1), "trimmed start");
    ExpectNear(piece->PointTMax(), m.At(t2), "trimmed end");
    EXPECT_NEAR(Length(*piece), kept, 1e-7);
    if (const TContour* k = dynamic_cast<const TContour*>(piece.get())) {
      double range = 0;
      for (Integer i = 0; i < k->Count; ++i)
        range += (*k)[i]->GetTMax();
      EXPECT_NEAR(k->GetTMax(), range, 1e-9);
    }
    double u1 = t1, u2 = t2;
    EXPECT_EQ(m.Find(u1) == m.Find(u2) && (t1 < t2 || dir == -1),
              !dynamic_cast<const TContour*>(piece.get()));
    EXPECT_NEAR(Length(c), total, 1e-9);

    if (dir == -1) continue;
    TCurve2D* rest = &c; // must come back null
    EXPECT_EQ(c.DeletePart(t1, t2, rest), TCurve2D::dp_Changed);
    EXPECT_EQ(rest, nullptr);
    EXPECT_NEAR(Length(c), total - kept, 1e-7);
    bool cutAt1 = false, cutAt2 = false;
    for (Integer i = 0; i < c.Count; ++i) {
      cutAt1 |= Dist(c[i]->PointTMax(), m.At(t1)) < 1e-7;
      cutAt2 |= Dist(c[i]->PointTMin(), m.At(t2)) < 1e-7;
    }
    EXPECT_TRUE(cutAt1 && cutAt2);
  }
  // An empty range changes nothing and cuts nothing out; deleting everything leaves nothing.
  TContour open, square;
  Fill(open, {new TLineSeg(0, 0, 1, 0), new TLineSeg(1, 0, 1, 1)});
  Square(square, 0, 0, 1);
  double a = 0.7, b = 0.7;
  EXPECT_EQ(open.Trimmed(a, b, 1), nullptr);
  TCurve2D* rest = nullptr;
  EXPECT_EQ(square.DeletePart(1.5, 1.5, rest), TCurve2D::dp_NoChanged);
  ASSERT_EQ(square.Count, 4);
  EXPECT_EQ(square.DeletePart(0, 4, rest), TCurve2D::dp_Degenerated);
  EXPECT_EQ(square.Count, 0);
  // A lone circle's signed area; deleting inside it leaves the arc around the rest.
  TContour circle;
  Fill(circle, {new TCircle(3, 4, 2)});
  EXPECT_NEAR(circle.Area2(), 4 * Pi, 1e-9);
  EXPECT_EQ(circle.DeletePart(1, 2, rest), TCurve2D::dp_Changed);
  ASSERT_EQ(circle.Count, 1);
  EXPECT_EQ(circle[0]->IsType(), tArc);
  EXPECT_NEAR(circle.GetTMax(), 2 * Pi - 1, 1e-9);
}

// Reordering into a chain (a gap refuses it); the offset pieces of a square: sides and corner arcs
// (distances, closure and both signs are in RegressionTest); the text form.
TEST(ContourChain, MakeDirectOffsetPiecesAndText)
{
  TContour c, gap, sq;
  Fill(c, {new TLineSeg(0, 0, 1, 0), new TLineSeg(2, 1, 1, 1), new TLineSeg(1, 0, 1, 1)});
  EXPECT_TRUE(c.MakeDirect(1e-6, true));
  ASSERT_EQ(c.Count, 3);
  EXPECT_TRUE(c.IsDirect());
  ExpectNear(c[2]->PointTMax(), TPoint2D(2, 1), "end");
  Fill(gap, {new TLineSeg(0, 0, 1, 0), new TLineSeg(5, 5, 6, 6)});
  EXPECT_FALSE(gap.MakeDirect(1e-6, true));
  Square(sq, 0, 0, 10);
  std::unique_ptr<TCurve2D> r(sq.Offset(1));
  TContour* o = dynamic_cast<TContour*>(r.get());
  ASSERT_TRUE(o);
  ASSERT_EQ(o->Count, 8);
  EXPECT_EQ(o->CountAt(2), 4u);
  EXPECT_NEAR(std::fabs(o->Area2()), 144 - 4 + Pi, 1e-6);
  // The text form: one line per member, an empty one for a point.
  TContour t;
  Fill(t, {new TLineSeg(0, 0, 10, 5), new TArc(1, 2, -3, Pi / 2, 0), new TCircle(1, 2, 3),
           new TBasePoint(1, 1)});
  TArrayOf<TString> lines;
  t.toText(lines);
  ASSERT_EQ(lines.Count, 4);
  EXPECT_EQ(lines[0].Utf8Text(), "Line(    0.00 ,    0.00 ,   10.00 ,    5.00");
  EXPECT_EQ(lines[1].Utf8Text(), "Arc(    1.00 ,    2.00 ,    3.00 ,   90.00 ,    0.00 , -1");
  EXPECT_EQ(lines[2].Utf8Text(), "Circle(    1.00 ,    2.00 ,    3.00");
  EXPECT_EQ(lines[3].Utf8Text(), "");
}
