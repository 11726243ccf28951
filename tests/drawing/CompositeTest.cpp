#include <cmath>
#include <random>

#include <gtest/gtest.h>

#include "RecordingModeler.h"

namespace {

using V = std::vector<double>;

V A(const TRecordingModeler& m, const char* op, std::size_t k = 0)
{
  const auto calls = m.Of(op);
  return k < calls.size() ? calls[k].A : V{};
}

void ExpectNear(const V& got, const V& want, double tol = 1e-9)
{
  ASSERT_EQ(got.size(), want.size());
  for (std::size_t i = 0; i < got.size(); ++i)
    EXPECT_NEAR(got[i], want[i], tol) << "argument " << i;
}

} // namespace

TEST(Composite, RectangleAndAxes)
{
  TRecordingModeler m;
  m.drRectAngle(0, 0, 4, 3, 2);
  m.drRectAngle(1, 1, 1, 5, 1); // flat: nothing
  m.drRectAngle(1, 1, 5, 1, 1);
  EXPECT_EQ(m.Count("drLine"), 4);
  ExpectNear(A(m, "drLine", 0), {0, 0, 4, 0, 2});
  ExpectNear(A(m, "drLine", 1), {4, 0, 4, 3, 2});
  ExpectNear(A(m, "drLine", 2), {4, 3, 0, 3, 2});
  ExpectNear(A(m, "drLine", 3), {0, 3, 0, 0, 2});
  EXPECT_TRUE(TRecordingModeler::ClosedChain(m.Curves));

  TRecordingModeler a;
  a.drCircleAxle(1, 2, 5, 1);
  EXPECT_EQ(a.Ops(), "drCircleAxle drCircle drLine drLine");
  ExpectNear(A(a, "drLine", 0), {-6, 2, 8, 2, 3});
  ExpectNear(A(a, "drLine", 1), {1, -5, 1, 9, 3});
}

TEST(Composite, RoundedCornerExampleAndFallbacks)
{
  TRecordingModeler m;
  m.drCLL(0, 0, 10, 0, 10, 10, 2, 1);
  ASSERT_EQ(m.Ops(), "drCLL drLine drArc drLine");
  ExpectNear(A(m, "drLine", 0), {0, 0, 8, 0, 1});
  ExpectNear(A(m, "drArc", 0), {8, 2, 2, 8, 0, 10, 2, 1, 1});
  ExpectNear(A(m, "drLine", 1), {10, 2, 10, 10, 1});

  // Longer than a leg, zero, or along a straight line: the two plain lines.
  for (V c : {V{0, 0, 10, 0, 10, 1, 2}, V{0, 0, 10, 0, 10, 10, 0}, V{0, 0, 10, 0, 20, 0, 2}}) {
    TRecordingModeler k;
    k.drCLL(c[0], c[1], c[2], c[3], c[4], c[5], c[6], 1);
    EXPECT_EQ(k.Ops(), "drCLL drLine drLine");
  }
}

// Against the fillet's own geometry: it fits exactly when the tangent length r / tan(phi / 2)
// (phi the angle between the legs at the corner) and r fit both legs; then both tangent points
// lie on their legs at distance r from the centre, perpendicular to the legs, the outline is one
// chain turning the way the corner turns, and CornerCentre answers that centre where, and only where,
// the corner is rounded.
TEST(Composite, RoundedCornerAgainstFilletGeometry)
{
  std::mt19937 rng(7);
  std::uniform_real_distribution<double> coord(-20, 20), rad(0.1, 8);
  int fitted = 0, plain = 0;
  for (int i = 0; i < 2000; ++i) {
    const double px = coord(rng), py = coord(rng), cx = coord(rng), cy = coord(rng), qx = coord(rng),
                 qy = coord(rng), r = rad(rng);
    const double l1 = std::hypot(cx - px, cy - py), l2 = std::hypot(qx - cx, qy - cy);
    if (l1 < 1e-3 || l2 < 1e-3) continue;
    const double cross = (cx - px) * (qy - cy) - (cy - py) * (qx - cx);
    const double dot = (px - cx) * (qx - cx) + (py - cy) * (qy - cy);
    const double phi = std::atan2(std::fabs(cross), dot);
    if (std::fabs(cross) / (l1 * l2) < 1e-6) continue; // straight or folded back
    const double t = r / std::tan(phi / 2);
    if (std::fabs(t - l1) < 1e-6 || std::fabs(t - l2) < 1e-6) continue; // on the edge of fitting
    const bool fits = r <= l1 && r <= l2 && t <= l1 && t <= l2;
    TRecordingModeler m;
    m.drCLL(px, py, cx, cy, qx, qy, r, 1);
    // The centre a dimension of the rounding is drawn about is the one drCLL draws it with.
    double ox = NAN, oy = NAN;
    EXPECT_EQ(CornerCentre(px, py, cx, cy, qx, qy, r, ox, oy), fits) << i;
    if (!fits) {
      EXPECT_EQ(m.Ops(), "drCLL drLine drLine") << i;
      ++plain;
      continue;
    }
    ++fitted;
    ASSERT_EQ(m.Ops(), "drCLL drLine drArc drLine") << i;
    const V arc = A(m, "drArc");
    EXPECT_NEAR(ox, arc[0], 1e-9) << i;
    EXPECT_NEAR(oy, arc[1], 1e-9) << i;
    const double t0x = arc[3], t0y = arc[4], t1x = arc[5], t1y = arc[6];
    EXPECT_NEAR(std::hypot(t0x - ox, t0y - oy), r, 1e-6);
    EXPECT_NEAR(std::hypot(t1x - ox, t1y - oy), r, 1e-6);
    EXPECT_NEAR(std::hypot(t0x - cx, t0y - cy), t, 1e-6);
    EXPECT_NEAR(std::hypot(t1x - cx, t1y - cy), t, 1e-6);
    EXPECT_NEAR((t0x - ox) * (cx - px) + (t0y - oy) * (cy - py), 0.0, 1e-6 * l1);
    EXPECT_EQ(arc[7], cross > 0 ? 1 : -1);
    ExpectNear(A(m, "drLine", 0), {px, py, t0x, t0y, 1}, 1e-12);
    ExpectNear(A(m, "drLine", 1), {t1x, t1y, qx, qy, 1}, 1e-12);
  }
  EXPECT_GT(fitted, 200);
  EXPECT_GT(plain, 200);
}

TEST(Composite, ChamferAndDoubleRounding)
{
  // A chamfer leg goes back along each leg by c: (0, R-2) -> (2, R) for c 2.
  const double R = 40, r54 = 30, T = 20;
  TRecordingModeler m;
  m.drFsk(0, r54, 0, R, T - 3, R, 2, 1);
  ExpectNear(A(m, "drLine", 0), {0, r54, 0, R - 2, 1});
  ExpectNear(A(m, "drLine", 1), {0, R - 2, 2, R, 1});
  ExpectNear(A(m, "drLine", 2), {2, R, T - 3, R, 1});

  struct Case
  {
    double r;
    int arcs;
  };
  // Both fit; they would overlap on the middle leg (4 long); the first leg is too short.
  for (Case c : {Case{1, 2}, Case{3, 0}}) {
    TRecordingModeler k;
    k.drCVR(0, 0, 10, 0, 10, 4, 0, 4, c.r, 1);
    EXPECT_EQ(k.Count("drArc"), c.arcs) << c.r;
    EXPECT_EQ(k.Count("drLine"), 3) << c.r;
    const auto curves = k.Curves;
    // One chain from the start to the end: only those two ends are open.
    auto drawn = curves;
    TRecordingModeler::TCurve closing;
    closing.x1 = 0, closing.y1 = 4, closing.x2 = 0, closing.y2 = 0;
    drawn.push_back(closing);
    EXPECT_TRUE(TRecordingModeler::ClosedChain(drawn)) << c.r;
  }
  TRecordingModeler s;
  s.drCVR(0, 0, 1, 0, 1, 10, 20, 10, 2, 1);
  EXPECT_EQ(s.Count("drArc"), 1); // the second corner only
}

TEST(Composite, PendingObjectsPairWithEndObj)
{
  TRecordingModeler m;
  m.drHatch(0, 45, 2);
  EXPECT_TRUE(m.R2D().Collecting());
  m.drRectAngle(0, 0, 1, 1, 1);
  m.drEndObj();
  EXPECT_FALSE(m.R2D().Collecting());
  m.drColouring(0xFF);
  m.drEndObj();
  m.drCircleShelf(0, 0, 2, 5, 5, "A");
  EXPECT_EQ(m.HatchBoundary(0).size(), 4u);
  EXPECT_TRUE(DrawingSound(m));

  TRecordingModeler u;
  u.drEndObj(); // nothing pending: harmless, counted as an underflow
  EXPECT_FALSE(u.Balanced());
}

TEST(Composite, CutLineFromCollectedPoints)
{
  TRecordingModeler m;
  m.DrawCut("A", 1); // nothing collected: nothing drawn
  EXPECT_EQ(m.Count("drCut"), 0);
  m.drMtr(10, 0, 0, 1);
  m.NewCut();
  m.ACT(0, 0);
  m.ACTIf(false, 5, 5);
  m.ACTIf(true, 0, 5);
  m.drDeleteMtr();
  m.DrawCut("Б", -1);
  ExpectNear(A(m, "drCut"), {7, 1, 75, 10, 0, -1, 10, 5, -1});
  EXPECT_EQ(m.Count("drPoint"), 2);
  EXPECT_EQ(m.R2D().ACutPoint.Count, 0);
  EXPECT_TRUE(DrawingSound(m));

  // Inside a collector the points stay for later.
  TRecordingModeler h;
  h.ACT(1, 1);
  h.drHatch(0, 0, 1);
  h.DrawCut("A", 1);
  EXPECT_EQ(h.Count("drCut"), 0);
  EXPECT_EQ(h.R2D().ACutPoint.Count, 1);
  h.drEndObj();
}

TEST(Composite, LinearDimensionFamily)
{
  struct Case
  {
    void (TModeler2D::*op)(const double&, const double&, const double&, const double&, const double&,
                           const double&, const double&, const TString&, const TString&, const TString&);
    double value, off, pt, scale;
    bool drawn;
    V dxdy, ends; // Dx, Dy; T1, Po1, T2, Po2
    int textPos;
  };
  const Case cases[] = {
      {&TModeler2D::drDimHL, 20, 10, 5.7, 1, true, {0, 10}, {1, 0, 1, 0}, 5},
      {&TModeler2D::drDimHL1, 20, 10, -5.7, 2, true, {0, 5}, {1, 0, 0, 1}, -5},
      {&TModeler2D::drDimHL2, 31, 0, 5, 1, true, {0, 0.1}, {0, 1, 1, 0}, 0},
      {&TModeler2D::drDimVL, -20, 10, 3, 1, true, {10, 0}, {1, 0, 1, 0}, 3},
      {&TModeler2D::drDimVL1, 20, 0, 3, 4, true, {0.1, 0}, {1, 0, 0, 1}, 3},
      {&TModeler2D::drDimVL2, 20, 8, 3, 1, true, {8, 0}, {0, 1, 1, 0}, 3},
      {&TModeler2D::drDimHL, 2e-6, 10, 3, 1, false, {}, {}, 0},
      {&TModeler2D::drDimVL, -1e-6, 10, 3, 1, false, {}, {}, 0},
      {&TModeler2D::drDimHL, 20, 10, 3, 0, false, {}, {}, 0}, // a flat placement: no offset to divide by
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value);
    TRecordingModeler m;
    m.drMtr(0, 0, 30, c.scale);
    (m.*c.op)(c.value, c.off, c.pt, 1, 2, 3, 4, "a", "b", "c");
    m.drDeleteMtr();
    ASSERT_EQ(m.Count("drDimL"), c.drawn ? 1 : 0);
    if (!c.drawn) continue;
    const auto d = m.Of("drDimL")[0];
    ExpectNear({d.A[0], d.A[1], d.A[2], d.A[3], d.A[4], d.A[5], d.A[6]},
               {c.value, c.dxdy[0], c.dxdy[1], double(c.textPos), 0, 0, 0});
    ExpectNear({d.A[7], d.A[8], d.A[9], d.A[10], d.A[11], d.A[12], d.A[13], d.A[14]},
               {1, 2, c.ends[0], c.ends[1], 3, 4, c.ends[2], c.ends[3]});
    EXPECT_EQ(d.S.size(), 4u);
    EXPECT_EQ(d.S[1], TString("a"));
  }
}

TEST(Composite, AngleRadiusAndCalloutByPoints)
{
  TRecordingModeler m;
  m.drDimApc(30, 90, 25, 10, "x", 1, 1);
  m.drDimApc(-30, 0, 25, 10, "x", 0, 0);
  m.drDimApc(1e-6, 0, 25, 10, "x", 0, 0);
  ASSERT_EQ(m.Count("drDimA"), 2);
  ExpectNear(A(m, "drDimA", 0),
             {30, -1, 90, 25, 0, 0, 0, 0, 1, 11, 1, 0, 6, 1 + 5 * std::sqrt(3.0), 1, 0, 1, 1});
  ExpectNear(A(m, "drDimA", 1), {30, 1, 0, 25, 0, 0, 0, 0, 10, 0, 1, 0, 5 * std::sqrt(3.0), 5, 1, 0, 0, 0});

  TRecordingModeler r;
  r.drDimRpp(5, 3, 10, 0, 20, 0, -1, "R", "", "");
  ExpectNear(A(r, "drDimR"), {5, 0, 0, 3, 3, 5, 0, -1, 0});

  TRecordingModeler s;
  s.drCircleShelf(0, 0, 5, 3, 0, "A");  // inside the circle: nothing
  s.drCircleShelf(0, 0, -1, 0, 0, "A"); // at the centre: no direction to the shelf
  s.drCircleShelf(0, 0, 5, -10, 0, "A");
  EXPECT_EQ(s.Ops(), "drCircleShelf drCircleShelf drCircleShelf drCircle drShelf drPoint drEndObj");
  ExpectNear(A(s, "drCircle"), {0, 0, 5, 2});
  EXPECT_EQ(A(s, "drShelf")[3], -1.0);
  ExpectNear(A(s, "drPoint"), {-5, 0});
  EXPECT_TRUE(DrawingSound(s));
}

TEST(Composite, RectangleWithAxesAndSizeRecords)
{
  for (bool only : {false, true}) {
    TRecordingModeler m;
    ADimension3D.ASizePoint.Clear();
    m.R2D().OnlySizes2D = only;
    m.drRectAngleAxleDim(-5, -2, 5, 2, 1, "h14", 7, 9);
    m.drRectAngleAxleDim(1, 1, 1, 3, 1, "", 0, 0); // flat: nothing
    EXPECT_EQ(m.R2D().OnlySizes2D, only);
    EXPECT_EQ(m.Count("drLine"), only ? 2 : 6);
    ExpectNear(m.Of("drLine").back().A, {0, -5, 0, 5, 3});
    const TArrayOf<TDimension3D>& s = ADimension3D.ASizePoint;
    ASSERT_EQ(s.Count, only ? 2 : 6);
    const TDimension3D& w = s[s.Count - 2];
    const TDimension3D& h = s[s.Count - 1];
    EXPECT_EQ(w.Type, TDimension3D::td2DLinear);
    EXPECT_EQ(w.V, 10.0);
    EXPECT_EQ(w.O.y, 9.0);
    EXPECT_EQ(h.V, 4.0);
    EXPECT_EQ(h.O.x, 7.0);
    EXPECT_EQ(h.Q, TString("h14"));
  }
  ADimension3D.ASizePoint.Clear();
}

TEST(Composite, SheetsViewsAndRequirements)
{
  TRecordingModeler m;
  m.R2D().DI.Left = 5;
  EXPECT_FALSE(m.drLeafStampView1(7, 0, 10, 20, true));
  EXPECT_FALSE(m.drLeafStamp(7, 0, 10, 20, true));
  EXPECT_EQ(m.Count("drView"), 0);
  EXPECT_EQ(m.R2D().DI.Left, 5.0);

  m.LeafStampAnswer = true;
  EXPECT_TRUE(m.drLeafStamp(7, 0, 1, 2, true));
  EXPECT_TRUE(m.drLeafStampView1(7, 0, 10, 20, true));
  EXPECT_TRUE(m.drView(3, 10, 20));
  const auto views = m.Of("drView");
  ASSERT_EQ(views.size(), 2u);
  ExpectNear(views[0].A, {1, 16, 22, 0, 0});
  ExpectNear(views[1].A, {3, 26, 42, 0, 0});
  EXPECT_EQ(views[1].S[0], TString("Вид 3 "));

  struct Case
  {
    const char* s[4];
    std::vector<const char*> lines;
  };
  const Case cases[] = {{{"a", "", "", ""}, {"a"}},
                        {{"a", "b", "", "d"}, {"1.a", "2.b", "4.d"}},
                        {{"a", "", "c", ""}, {"a", "3.c"}},
                        {{"", "b", "c", "d"}, {}}};
  for (const Case& c : cases) {
    TRecordingModeler k;
    k.drCloseViewTDemCloseLeaf(c.s[0], c.s[1], c.s[2], c.s[3]);
    const auto lines = k.Of("drStringObj");
    ASSERT_EQ(lines.size(), c.lines.size());
    for (std::size_t i = 0; i < lines.size(); ++i)
      EXPECT_EQ(lines[i].S[0], TString(c.lines[i]));
    EXPECT_EQ(k.Count("drOpenTDem"), c.lines.empty() ? 0 : 1);
    EXPECT_EQ(k.Count("drCloseLeaf"), 1);
  }
  // Inside a collector the sheet stays open.
  TRecordingModeler h;
  h.drHatch(0, 0, 1);
  h.drCloseViewTDemCloseLeaf("a", "", "", "");
  EXPECT_EQ(h.Ops(), "drHatch drCloseViewTDemCloseLeaf drCloseView");
  h.drEndObj();
}
