// Contours against a reference chain: evaluation, areas, reversal, trimming and deleting parts.
#include <cmath>
#include <memory>
#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "hxcadkit/geometry/Contour.h"
#include "tests/geometry/ContourTestUtil.h"
#include "tests/geometry/CurveTestUtil.h"

using namespace contourtest;
using namespace curvetest;

namespace {

// The reference of a chain of segments and arcs: a segment's parameter runs over 1, an arc's over
// its swept angle, the members' ranges laid end to end.
struct TChainModel
{
  struct Member
  {
    TPoint2D a, b, c;                       // a segment's ends; an arc's centre
    double r = 0, a1 = 0, s = 0, sweep = 0; // an arc's radius (0: a segment), start angle, sense, sweep
    double Range() const { return r ? sweep : 1; }
    TPoint2D Dir(double u) const { return TPoint2D(std::cos(a1 + s * u), std::sin(a1 + s * u)); }
    TPoint2D At(double u) const { return r ? c + Dir(u) * r : a + (b - a) * u; }
    TVector2D Der(double u) const // a segment's is its unit direction
    {
      const TPoint2D d = r ? Dir(u) * (r * s) : (b - a) * (1 / Dist(a, b));
      return r ? TVector2D(-d.y, d.x) : TVector2D(d.x, d.y);
    }
    double Length() const { return r ? r * sweep : Dist(a, b); }
    // Half the integral of x dy - y dx along it: the triangle on its chord, and an arc's segment.
    double Area() const
    {
      const TPoint2D p = At(0), q = At(Range());
      return (p.x * q.y - q.x * p.y + s * r * r * (sweep - std::sin(sweep))) / 2;
    }
  };
  std::vector<Member> M;
  double end = 0, area = 0; // the sum of the ranges; the signed area, when closed

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
      sum += std::max(std::min(t2, from + m.Range()) - std::max(t1, from), 0.0) / m.Range() * m.Length();
      from += m.Range();
    }
    return sum;
  }
};

// A random chain of 1 .. 5 segments and arcs; closed by a last segment back to its start.
TChainModel RandomChain(std::mt19937& rng, bool closed, TContour& c)
{
  std::uniform_real_distribution<double> coord(-10, 10), radius(1, 5), sweep(0.3, 2.5),
      angle(-TMathDef::C_PI, TMathDef::C_PI);
  std::uniform_int_distribution<int> count(closed ? 2 : 1, 5), coin(0, 1);
  TChainModel m;
  TPoint2D p(coord(rng), coord(rng));
  for (int n = count(rng), i = 0; i < n + closed; ++i) {
    TChainModel::Member k{p, i < n ? TPoint2D(coord(rng), coord(rng)) : m.M[0].a, p};
    if (i < n && coin(rng)) {
      k.r = radius(rng), k.a1 = angle(rng), k.s = coin(rng) ? 1 : -1, k.sweep = sweep(rng);
      k.c = p - k.Dir(0) * k.r;
      c.Add(new TArc(k.c.x, k.c.y, k.s * k.r, k.a1, k.a1 + k.s * k.sweep));
    } else {
      c.Add(new TLineSeg(p.x, p.y, k.b.x, k.b.y));
    }
    m.M.push_back(k);
    m.end += k.Range(), m.area += k.Area();
    p = k.At(k.Range());
  }
  c.Refresh();
  return m;
}

} // namespace

// Random chains, open and closed, against the reference: signed areas of the closed ones, points, first
// derivatives (of the member that holds the parameter, whatever its integer part), projections, lengths of
// parts (over the end of a closed chain when t1 > t2, also within one member, once measured the short way).
// Reversed, a chain stays one (an open one once did not), a closed one from its first member on. A trimmed
// piece runs from the point at t1 to that at t2 (over the seam when t1 > t2; backwards for direction -1)
// with the length between, its parameter spanning its members, the source untouched; a deleted part leaves
// the rest, cut at t1 and t2 (over the end of a closed chain within one member it once kept the wrong
// middle).
TEST(ContourChain, EvaluationReversalAndCutsFollowTheReferenceChain)
{
  std::mt19937 rng(777);
  for (int round = 0; round < 300; ++round) {
    const bool closed = round % 2 == 1;
    TContour c, reversed;
    const TChainModel m = RandomChain(rng, closed, c);
    const double end = m.end, total = m.Length(0, end);
    ASSERT_EQ(bool(c.IsClosed()), closed);
    if (closed) {
      EXPECT_NEAR(c.Area2(), m.area, 1e-9 * (1 + std::fabs(m.area)));
      EXPECT_EQ(c.GetSense(), (m.area > 0) - (m.area < 0));
    }
    ASSERT_NEAR(c.GetTMax(), end, 1e-9);
    reversed = c;
    reversed.Inverse();
    EXPECT_TRUE(reversed.IsDirect());
    EXPECT_EQ(bool(reversed.IsClosed()), closed);
    std::uniform_real_distribution<double> at(0.01, end - 0.01);
    double t1 = at(rng), t2 = at(rng);
    if (std::fabs(t1 - t2) < 0.01) continue;
    const int dir = !closed && t1 > t2 ? -1 : 1;
    if (!closed && dir == 1 && t1 > t2) std::swap(t1, t2);
    SCOPED_TRACE(testing::Message() << "round " << round << " t " << t1 << " .. " << t2);
    const double kept = t1 < t2 ? m.Length(t1, t2) : dir == -1 ? m.Length(t2, t1) : total - m.Length(t2, t1);
    for (int k = 0; k < 8; ++k) {
      const double t = at(rng);
      EXPECT_NEAR(Dist(At(c, t), m.At(t)), 0, 1e-7) << "point";
      const double back = closed ? std::fmod(m.M[0].Range() - t + end, end) : end - t;
      EXPECT_NEAR(Dist(At(reversed, back), m.At(t)), 0, 1e-7) << "reversed";
      EXPECT_NEAR(Dist(Der1(c, t), m.Der(t)), 0, 1e-9) << "derivative at " << t;
      double found = -1;
      ASSERT_TRUE(c.NearPointProjection(m.At(t), TPoint2D(1e-9, 1e-9), found, false, nullptr));
      EXPECT_NEAR(Dist(At(c, found), m.At(t)), 0, 1e-7) << "projection";
    }
    EXPECT_NEAR(c.GetMetricLengthPart(dir == -1 ? t2 : t1, dir == -1 ? t1 : t2), kept, 1e-7);

    double a = t1, b = t2;
    std::unique_ptr<TCurve2D> piece(c.Trimmed(a, b, dir));
    ASSERT_TRUE(piece);
    EXPECT_NEAR(Dist(piece->PointTMin(), m.At(t1)), 0, 1e-7) << "trimmed start";
    EXPECT_NEAR(Dist(piece->PointTMax(), m.At(t2)), 0, 1e-7) << "trimmed end";
    EXPECT_NEAR(piece->GetMetricLength(), kept, 1e-7);
    if (const TContour* k = dynamic_cast<const TContour*>(piece.get())) {
      double range = 0;
      for (Integer i = 0; i < k->Count; ++i)
        range += (*k)[i]->GetTMax();
      EXPECT_NEAR(k->GetTMax(), range, 1e-9);
    }
    double u1 = t1, u2 = t2;
    EXPECT_EQ(m.Find(u1) == m.Find(u2) && (t1 < t2 || dir == -1),
              !dynamic_cast<const TContour*>(piece.get()));
    EXPECT_NEAR(c.GetMetricLength(), total, 1e-9);

    if (dir == -1) continue;
    TCurve2D* rest = &c; // must come back null
    EXPECT_EQ(c.DeletePart(t1, t2, rest), TCurve2D::dp_Changed);
    EXPECT_EQ(rest, nullptr);
    EXPECT_NEAR(c.GetMetricLength(), total - kept, 1e-7);
    bool cutAt1 = false, cutAt2 = false;
    for (Integer i = 0; i < c.Count; ++i) {
      cutAt1 |= Dist(c[i]->PointTMax(), m.At(t1)) < 1e-7;
      cutAt2 |= Dist(c[i]->PointTMin(), m.At(t2)) < 1e-7;
    }
    EXPECT_TRUE(cutAt1 && cutAt2);
  }
}
