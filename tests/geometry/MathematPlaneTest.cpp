// Plane value types: points, vectors, boxes, parameter intervals, the 3x3 transform and the
// fixed real block.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <string>

#include "hxcadkit/geometry/Mathemat.h"

namespace {

constexpr double kPi = TMathDef::C_PI;

std::string Str(const TString& s)
{
  return s.PChar();
}

TPoint2D Map(const TMtr2D& m, TPoint2D p)
{
  TPoint2D r;
  m.TransformCoord(p.x, p.y, r.x, r.y);
  return r;
}

void ExpectPoint(const TPoint2D& p, double x, double y, double eps = 1e-12)
{
  EXPECT_NEAR(p.x, x, eps);
  EXPECT_NEAR(p.y, y, eps);
}

bool AllFinite(const TMtr2D& m)
{
  for (double v : m.V)
    if (!std::isfinite(v)) return false;
  return true;
}

// --- Points and vectors ----------------------------------------------------------------

TEST(Point2D, TextIsTwoFieldsOfSeven)
{
  EXPECT_EQ(Str(TPoint2D(1, 2).GetStr()), "   1.00    2.00");
  EXPECT_EQ(Str(TPoint2D(-12.5, 0).GetStr()), " -12.50    0.00");
}

struct Seg
{
  double x, y, xk, yk;
};

TEST(Point2D, DistanceToSegment)
{
  struct Case
  {
    TPoint2D p;
    Seg s;
    double d;
  } cases[] = {
      {{5, 3}, {0, 0, 10, 0}, 3},
      {{13, 4}, {0, 0, 10, 0}, 5},
      {{-3, -4}, {0, 0, 10, 0}, 5},
      {{5, -3}, {0, 0, 10, 0}, 3},
      {{4, 5}, {1, 1, 1.00005, 1}, 5}, // a point-like segment
      {{0, 0}, {1, 1, 1, 1}, std::sqrt(2.0)},
  };
  for (const auto& c : cases)
    EXPECT_NEAR(c.p.DistanceTo(c.s), c.d, 1e-12) << c.p.x << "," << c.p.y;
}

TEST(Point2D, IsLeftOfIsPositiveOnTheRight)
{
  const TPoint2D A(0, 0), B(1, 0);
  EXPECT_LT(TPoint2D(0, 1).IsLeftOf(A, B), 0);
  EXPECT_GT(TPoint2D(0, -1).IsLeftOf(A, B), 0);
  EXPECT_EQ(TPoint2D(5, 0).IsLeftOf(A, B), 0);
}

TEST(Point2D, IntegerFormHoldsPixels)
{
  TPoint2DOf<int> p(3, 4), q(1, 1);
  EXPECT_EQ(p - q, TPoint2DOf<int>(2, 3));
  TRect2DOf<int> r;
  EXPECT_EQ(r.LD, TPoint2DOf<int>(0, 0));
  EXPECT_EQ(r.RU, TPoint2DOf<int>(0, 0));
}

TEST(Vector2D, RotateAndAngle)
{
  TVector2D v(1, 0);
  v.Rotate(kPi / 2);
  ExpectPoint(v, 0, 1);
  TVector2D w(1, 1);
  w.Rotate(TVector2D(0, 2)); // turn by 90 degrees and double
  ExpectPoint(w, -2, 2);

  struct Case
  {
    TVector2D v;
    double a;
  } cases[] = {{{1, 0}, 0}, {{0, 1}, kPi / 2},    {{-1, 0}, kPi},  {{0, -1}, 1.5 * kPi},
               {{0, 0}, 0}, {{1e-11, -1e-11}, 0}, {{1, -1e-9}, 0}, {{1, 1}, kPi / 4}};
  for (const auto& c : cases)
    EXPECT_NEAR(c.v.AngleInRadian(), c.a, 1e-15) << c.v.x << "," << c.v.y;
}

TEST(Vector2D, RelativeSides)
{
  const TVector2D x(1, 0);
  EXPECT_EQ(x.Relative(TVector2D(0, 1)), tl_Left);
  EXPECT_EQ(x.Relative(TVector2D(1, -1)), tl_Right);
  EXPECT_EQ(x.Relative(TVector2D(-3, 0)), tl_On);
  EXPECT_EQ(x.Relative(TVector2D(1, 1e-7)), tl_On);
  EXPECT_EQ(x.Relative(TVector2D(0, 0)), tl_On);
  EXPECT_EQ(TVector2D(1e-7, 0).Relative(TVector2D(0, 1)), tl_On);
}

// --- Boxes -------------------------------------------------------------------------------

TEST(Rect2D, EmptyBoxTakesTheFirstPoint)
{
  TRect2D r;
  EXPECT_TRUE(r.Empty());
  EXPECT_EQ(r.LD, TPoint2D(1e300, 1e300));
  EXPECT_EQ(r.RU, TPoint2D(-1e300, -1e300));
  r.Add(TPoint2D(3, -2));
  EXPECT_EQ(r.LD, TPoint2D(3, -2));
  EXPECT_EQ(r.RU, TPoint2D(3, -2));
  r.Add(TPoint2D(-1, 5));
  EXPECT_EQ(r, TRect2D(-1, -2, 3, 5));
}

TEST(Rect2D, ClosedIntersectionAndContainment)
{
  const TRect2D a(0, 0, 1, 1);
  EXPECT_TRUE(a.InterSect(TRect2D(1, 0, 2, 1))); // shares an edge
  EXPECT_TRUE(a.InterSect(TRect2D(1, 1, 2, 2))); // shares a corner
  EXPECT_FALSE(a.InterSect(TRect2D(1.0001, 0, 2, 1)));
  EXPECT_FALSE(a.InterSect(TRect2D()));
  EXPECT_FALSE(TRect2D().InterSect(TRect2D()));
  EXPECT_TRUE(a.Contains(TPoint2D(1, 0)));
  EXPECT_FALSE(a.Contains(TPoint2D(1, 1.0000001)));
  EXPECT_FALSE(TRect2D().Contains(TPoint2D(0, 0)));
}

TEST(Rect2D, PointOnSide)
{
  const TRect2D r(0, 0, 10, 10);
  ExpectPoint(r.PointOnSide({5, 5}, {1, 0}), 10, 5, 1e-9);
  ExpectPoint(r.PointOnSide({5, 5}, {0, 1}), 5, 10, 1e-9);
  ExpectPoint(r.PointOnSide({5, 5}, {1, 0.5}), 10, 7.5, 1e-9);
  ExpectPoint(r.PointOnSide({5, 5}, {-2, 0}), 0, 5, 1e-9);
  ExpectPoint(r.PointOnSide({5, 5}, {0, 0}), 0, 0);
  ExpectPoint(r.PointOnSide({-5, 5}, {-1, 0}), 0, 0); // pointing away
  // The empty box's sides are huge but finite.
  const TPoint2D e = TRect2D().PointOnSide({0, 0}, {1, 0});
  EXPECT_TRUE(std::isfinite(e.x) && std::isfinite(e.y));
}

TEST(Rect2D, Texts)
{
  EXPECT_EQ(Str(TRect2D(0, 0, 10, 5).GetStr()), "((   0.00,   0.00)-(  10.00,   5.00))");
  TORect2D o;
  o.xc = 1;
  o.yc = 2;
  o.Angle = 3;
  o.Length = 4;
  o.Width = 5;
  EXPECT_EQ(Str(o.GetStr()), "((   1.00,   2.00)    3.00,   4.00   5.00)");
  // The empty box's 1e300 corners make a long text, but a whole one.
  const std::string empty = Str(TRect2D().GetStr());
  EXPECT_EQ(empty.substr(0, 3), "((1");
  EXPECT_EQ(empty.substr(empty.size() - 2), "))");
}

// --- Parameter intervals -----------------------------------------------------------------

TEST(Region1D, WrapOnAFullTurn)
{
  const TRegion1D R(0, 2 * kPi);
  struct Case
  {
    double t, out;
  } cases[] = {{2 * kPi, 0}, {-0.1, 2 * kPi - 0.1},       {5 * kPi, kPi},
               {1, 1},       {-4 * kPi - 1, 2 * kPi - 1}, {1e-9, 0}};
  for (const auto& c : cases) {
    double t = c.t;
    R.CorrectParameter(false, true, t, 1e-8);
    EXPECT_NEAR(t, c.out, 1e-12) << c.t;
  }
}

TEST(Region1D, SnapWithoutWrap)
{
  const TRegion1D R(0, 1);
  double t = 1 + 5e-9;
  R.CorrectParameter(false, false, t, 1e-8);
  EXPECT_EQ(t, 1);
  t = -5e-9;
  R.CorrectParameter(true, true, t, 1e-8); // the first flag keeps the parameter from wrapping
  EXPECT_EQ(t, 0);
  t = 1.5;
  R.CorrectParameter(false, false, t, 1e-8);
  EXPECT_EQ(t, 1.5);
}

// An interval without length has no period: wrapping by it divided by zero.
TEST(Region1D, ZeroPeriodSkipsTheWrap)
{
  for (double len : {0.0, 1e-8, 5e-8}) {
    const TRegion1D R(1, 1 + len);
    double t = 5;
    R.CorrectParameter(false, true, t, 1e-8);
    EXPECT_EQ(t, 5) << len;
    double u = 5;
    EXPECT_FALSE(R.CorrectCheckParameter(true, false, 2e-7, u));
    EXPECT_EQ(u, 1 + len);
    double p = 3;
    R.CorrectNearParameter(false, 0.0, p, 1e-8);
    EXPECT_EQ(p, 3);
  }
}

TEST(Region1D, CheckClampsOutsideTheTolerance)
{
  const TRegion1D R(0, 1);
  struct Case
  {
    bool closed, ext;
    double t;
    bool ok;
    double out;
  } cases[] = {
      {false, false, 0.5, true, 0.5},    {false, false, 1.1, false, 1}, {false, false, -0.1, false, 0},
      {false, false, 1 + 1e-7, true, 1}, {false, true, 5, true, 5},     {true, false, 1.25, true, 0.25},
      {true, false, 1, true, 0},
  };
  for (const auto& c : cases) {
    double t = c.t;
    EXPECT_EQ(R.CorrectCheckParameter(c.closed, c.ext, 2e-7, t), c.ok) << c.t;
    EXPECT_NEAR(t, c.out, 1e-12) << c.t;
  }
}

TEST(Region1D, NearShiftOnAnArcOfHalfATurn)
{
  const TRegion1D R(0, kPi);
  const double P = 2 * kPi;
  struct Case
  {
    double p, out;
  } cases[] = {
      {-0.5, -0.5},    // a step up would land farther away
      {7, 7 - P},      // one period back lands inside
      {5.5, 5.5 - P},  // nearer to the start than to the end
      {1, 1},          // inside
      {-3 * P + 1, 1}, // whole periods up
  };
  for (const auto& c : cases) {
    double p = c.p;
    R.CorrectNearParameter(false, P, p, 1e-8);
    EXPECT_NEAR(p, c.out, 1e-9) << c.p;
  }
}

TEST(Region1D, NearShiftOnAWholePeriod)
{
  const TRegion1D R(0, 2 * kPi);
  double p = -1;
  R.CorrectNearParameter(false, 2 * kPi, p, 1e-8);
  EXPECT_NEAR(p, 2 * kPi - 1, 1e-12);
  p = 2 * kPi;
  R.CorrectNearParameter(false, 2 * kPi, p, 1e-8);
  EXPECT_EQ(p, 0);
  p = 2 * kPi;
  R.CorrectNearParameter(true, 2 * kPi, p, 1e-8);
  EXPECT_EQ(p, 2 * kPi);
  double t = 9 * kPi;
  EXPECT_TRUE(R.CorrectCheckNearParameter(2 * kPi, false, 2e-7, t));
  EXPECT_NEAR(t, kPi, 1e-9);
}

// Parameters far from their interval must be brought back in bounded time.
TEST(Region1D, FarParametersTerminate)
{
  const TRegion1D R(0, 1);
  for (double far : {1e12, -1e12, 1e300, -1e300, 1e20 + 0.5}) {
    double t = far;
    R.CorrectParameter(false, true, t, 1e-8);
    EXPECT_GE(t, 0) << far;
    EXPECT_LT(t, 1) << far;
    double p = far;
    R.CorrectNearParameter(false, 1.0, p, 1e-8);
    EXPECT_TRUE(std::isfinite(p)) << far;
    double q = far;
    R.CorrectNearParameter(false, 0.25, q, 1e-8);
    EXPECT_TRUE(std::isfinite(q)) << far;
  }
  const TRegion1D Far(1e15, 1e15 + 1);
  double t = 0.5;
  Far.CorrectParameter(false, true, t, 1e-8);
  EXPECT_GE(t, 1e15);
  EXPECT_LE(t, 1e15 + 1);
}

TEST(Region1D, CorrectionsLandInTheirRanges)
{
  std::mt19937_64 rng(17);
  std::uniform_real_distribution<double> start(-100, 100), len(0.01, 10), t(-1e4, 1e4);
  for (int i = 0; i < 20000; ++i) {
    const double a = start(rng);
    const TRegion1D R(a, a + len(rng));
    double w = t(rng);
    R.CorrectParameter(false, true, w, 1e-8);
    EXPECT_GE(w, R.min);
    EXPECT_LT(w, R.max);

    double n = t(rng);
    R.CorrectNearParameter(false, R.max - R.min, n, 1e-8);
    EXPECT_GE(n, R.min);
    EXPECT_LT(n, R.max);

    double c = t(rng);
    const bool ok = R.CorrectCheckNearParameter(2 * (R.max - R.min), false, 2e-7, c);
    if (ok) {
      EXPECT_GT(c, R.min - 2e-7);
      EXPECT_LT(c, R.max + 2e-7);
    } else {
      EXPECT_TRUE(c == R.min || c == R.max);
    }
  }
}

// --- Plane transform ---------------------------------------------------------------------

TEST(Mtr2D, DrawingFrames)
{
  ExpectPoint(Map(TMtr2D(10, 20, 90, 2), {1, 0}), 10, 22);
  TMtr2D m;
  m.Move(10, 20);
  m.drMtr(0, 0, 90, 1);
  ExpectPoint(Map(m, {1, 0}), 10, 21);
  EXPECT_EQ(TMtr2D(0, 0, 0, 1 + 1e-11).M[0][0], 1.0); // a scale this near 1 is left out
}

TEST(Mtr2D, LaterOperationsActAfter)
{
  TMtr2D m;
  m.Rotate(kPi / 2).Move(5, 0);
  ExpectPoint(Map(m, {1, 0}), 5, 1);
  TMtr2D r;
  r.Rotate(TVector2D(0, 3));
  ExpectPoint(Map(r, {1, 0}), 0, 1);
  TMtr2D about;
  about.Rotate({1, 1}, TVector2D(0, 2));
  ExpectPoint(Map(about, {2, 1}), 1, 2);
  ExpectPoint(Map(about, {1, 1}), 1, 1);
}

TEST(Mtr2D, ScalesAndShears)
{
  struct Case
  {
    const char* name;
    TMtr2D m;
    TPoint2D out;
  };
  Case cases[] = {
      {"Scale", TMtr2D().Scale(2), {2, 4}},           {"ScaleX", TMtr2D().ScaleX(3), {3, 2}},
      {"ScaleY", TMtr2D().ScaleY(3), {1, 6}},         {"Shift", TMtr2D().Shift(0.5), {2, 2.5}},
      {"ShiftX", TMtr2D().ShiftX(0.5), {2, 2}},       {"ShiftY", TMtr2D().ShiftY(0.5), {1, 2.5}},
      {"Scale~1", TMtr2D().Scale(1 + 1e-11), {1, 2}}, {"Shift~0", TMtr2D().Shift(1e-11), {1, 2}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ExpectPoint(Map(c.m, {1, 2}), c.out.x, c.out.y);
  }
}

TEST(Mtr2D, FixedPointTransforms)
{
  TMtr2D s;
  s.Init({2, 3}, 2, 0.5);
  ExpectPoint(Map(s, {2, 3}), 2, 3);
  ExpectPoint(Map(s, {3, 4}), 4, 3.5);
  TMtr2D r;
  r.Init({2, 3}, kPi / 2);
  ExpectPoint(Map(r, {2, 3}), 2, 3);
  ExpectPoint(Map(r, {3, 3}), 2, 4);
  TMtr2D m;
  m.Symmetry({0, 1}, {2, 0}); // the line y = 1
  ExpectPoint(Map(m, {3, 5}), 3, -3);
  EXPECT_NEAR(m.Det(3), -1, 1e-15);
}

TEST(Mtr2D, DeterminantCofactorsAndInverse)
{
  TMtr2D I;
  EXPECT_EQ(I.Det(3), 1);
  TMtr2D m(3, 4, 30, 1);
  EXPECT_NEAR(m.Det(3), 1, 1e-15);
  EXPECT_EQ(m.Det(0), 0);
  EXPECT_EQ(m.Det(1), m.M[0][0]);
  EXPECT_DOUBLE_EQ(m.Det(2), m.M[0][0] * m.M[1][1] - m.M[0][1] * m.M[1][0]);
  EXPECT_EQ(m.Delta(0, 1, 2), -m.M[1][0]);
  EXPECT_EQ(m.Delta(3, 0, 3), 0);

  TMtr2D rot(0, 0, 37, 1), inv;
  rot.Div(inv);
  TMtr2D t = rot;
  t.Adj();
  for (int i = 0; i < 9; ++i)
    EXPECT_NEAR(inv.V[i], t.V[i], 1e-15) << i;
}

// A singular matrix has no inverse; the result is the identity rather than infinities.
TEST(Mtr2D, SingularInverseIsTheIdentity)
{
  TMtr2D z;
  z.Scale(0);
  TMtr2D out(5, 5, 5, 5);
  z.Div(out);
  EXPECT_TRUE(AllFinite(out));
  EXPECT_EQ(out.Det(3), 1);
  TMtr2D tiny;
  tiny.Scale(1e-200);
  tiny.Div(out);
  EXPECT_TRUE(AllFinite(out));
}

TMtr2D RandomTransform(std::mt19937_64& rng)
{
  std::uniform_real_distribution<double> pos(-100, 100), ang(-360, 360), sc(0.5, 2), sh(-0.5, 0.5);
  TMtr2D m(pos(rng), pos(rng), ang(rng), sc(rng));
  m.ScaleX(sc(rng)).ShiftX(sh(rng)).Rotate(ang(rng)).Move(pos(rng), pos(rng));
  return m;
}

TEST(Mtr2D, InverseTimesMatrixIsTheIdentity)
{
  std::mt19937_64 rng(42);
  for (int i = 0; i < 2000; ++i) {
    const TMtr2D m = RandomTransform(rng);
    TMtr2D inv, p, q;
    m.Div(inv);
    TMtr2D::Multiply(m, inv, p);
    TMtr2D::Multiply(inv, m, q);
    const TMtr2D I;
    for (int k = 0; k < 9; ++k) {
      EXPECT_NEAR(p.V[k], I.V[k], 1e-12) << i << ":" << k;
      EXPECT_NEAR(q.V[k], I.V[k], 1e-12) << i << ":" << k;
    }
  }
}

TEST(Mtr2D, ProductsComposeLikeTheirTransforms)
{
  std::mt19937_64 rng(7);
  std::uniform_real_distribution<double> pos(-50, 50);
  for (int i = 0; i < 1000; ++i) {
    const TMtr2D a = RandomTransform(rng), b = RandomTransform(rng);
    TMtr2D ab;
    TMtr2D::Multiply(a, b, ab);
    TMtr2D nested = b;
    nested.drMtr(3, -2, 25, 1.5);
    const TMtr2D local(3, -2, 25, 1.5);
    const TPoint2D p(pos(rng), pos(rng));
    const TPoint2D ref = Map(b, Map(a, p));
    const TPoint2D got = Map(ab, p);
    EXPECT_NEAR(got.x, ref.x, 1e-9 * (1 + std::fabs(ref.x)));
    EXPECT_NEAR(got.y, ref.y, 1e-9 * (1 + std::fabs(ref.y)));
    const TPoint2D n1 = Map(nested, p), n2 = Map(b, Map(local, p));
    EXPECT_NEAR(n1.x, n2.x, 1e-9 * (1 + std::fabs(n2.x)));
    EXPECT_NEAR(n1.y, n2.y, 1e-9 * (1 + std::fabs(n2.y)));
  }
  // The result may be one of the factors.
  TMtr2D a(1, 2, 30, 2), b(5, 0, 45, 1), ref;
  TMtr2D::Multiply(a, b, ref);
  TMtr2D::Multiply(a, b, a);
  for (int k = 0; k < 9; ++k)
    EXPECT_EQ(a.V[k], ref.V[k]);
}

TEST(Mtr2D, ScaleMeasures)
{
  const TMtr2D m(0, 0, 30, 2);
  EXPECT_NEAR(m.GetScaleX(), 2, 1e-15);
  EXPECT_NEAR(m.GetScaleY(), 2, 1e-15);
  double v = 1.5;
  m.TransformScalarX(v);
  EXPECT_NEAR(v, 3, 1e-15);
  TMtr2D t = m;
  t.Adj();
  EXPECT_EQ(t.M[0][1], m.M[1][0]);
  EXPECT_EQ(t.M[2][0], m.M[0][2]);
}

TEST(Mtr2D, NamedRowsOverlayTheEntries)
{
  const TMtr2D m(7, 8, 90, 1);
  EXPECT_EQ(m.O.x, 7);
  EXPECT_EQ(m.O.y, 8);
  EXPECT_EQ(m.V[6], 7);
  EXPECT_EQ(m.kScale, 1);
  EXPECT_EQ(&m.AY.x, &m.M[1][0]);
  EXPECT_EQ(TMtr2D::Rows * TMtr2D::Columns, 9);
}

// --- Fixed real block --------------------------------------------------------------------

TEST(ArrayOfReal, UnsetElementsReadAsChaos)
{
  TArrayOfReal a;
  EXPECT_EQ(double(a.Get('d', 5)), TArrayOfReal::ChaosValue);
  EXPECT_EQ(a.LastName, 'd');
  EXPECT_EQ(a.LastI, 5);
  a.Set(5, 2.5);
  EXPECT_EQ(double(a.Get('d', 5)), 2.5);
  a.Set(100, 1);
  a.Set(-1, 1);
  EXPECT_EQ(double(a.Get('d', 100)), TArrayOfReal::ChaosValue);
  EXPECT_EQ(double(a.Get('d', -7)), TArrayOfReal::ChaosValue);
  EXPECT_EQ(a.LastI, -7);
}

} // namespace
