// Plane value types: point text, parameter intervals, the 3x3 transform and the fixed real
// block.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>

#include "hxcadkit/geometry/Mathemat.h"

namespace {

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

// --- Boxes -------------------------------------------------------------------------------

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

// --- Parameter intervals -----------------------------------------------------------------

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
    const TPoint2D p(pos(rng), pos(rng));
    const TPoint2D ref = Map(b, Map(a, p));
    const TPoint2D got = Map(ab, p);
    EXPECT_NEAR(got.x, ref.x, 1e-9 * (1 + std::fabs(ref.x)));
    EXPECT_NEAR(got.y, ref.y, 1e-9 * (1 + std::fabs(ref.y)));
  }
  // The result may be one of the factors.
  TMtr2D a(1, 2, 30, 2), b(5, 0, 45, 1), ref;
  TMtr2D::Multiply(a, b, ref);
  TMtr2D::Multiply(a, b, a);
  for (int k = 0; k < 9; ++k)
    EXPECT_EQ(a.V[k], ref.V[k]);
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
