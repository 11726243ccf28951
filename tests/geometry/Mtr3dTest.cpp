// The 4x4 matrix and the local frame: the host exchange form, builders, products, inverses and
// projections.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "hxcadkit/geometry/Mathemat3d.h"

namespace {

constexpr double kPi = TMathDef::C_PI;

void ExpectNearPoint(const TPoint3D& p, double x, double y, double z, double eps = 1e-12)
{
  EXPECT_NEAR(p.x, x, eps);
  EXPECT_NEAR(p.y, y, eps);
  EXPECT_NEAR(p.z, z, eps);
}

void ExpectNearMatrix(const TMtr3D& a, const TMtr3D& b, double eps)
{
  for (int i = 0; i < 16; ++i)
    EXPECT_NEAR(a.V[i], b.V[i], eps) << "entry " << i;
}

bool AllFinite(const TMtr3D& m)
{
  for (double v : m.V)
    if (!std::isfinite(v)) return false;
  return true;
}

TPoint3D Apply(const TMtr3D& m, TPoint3D p)
{
  p.Mtr(m);
  return p;
}

// Unit length, pairwise perpendicular, AX x AY = AZ.
void ExpectRightHandedFrame(const TPlacement3D& F, double eps = 1e-12)
{
  EXPECT_NEAR(F.AX.Len(), 1, eps);
  EXPECT_NEAR(F.AY.Len(), 1, eps);
  EXPECT_NEAR(F.AZ.Len(), 1, eps);
  EXPECT_NEAR(F.AX * F.AY, 0, eps);
  EXPECT_NEAR(F.AY * F.AZ, 0, eps);
  EXPECT_NEAR(F.AZ * F.AX, 0, eps);
  const TVector3D z = Multiply(F.AX, F.AY);
  ExpectNearPoint(z, F.AZ.x, F.AZ.y, F.AZ.z, eps);
}

TVector3D RandomVector(std::mt19937_64& rng, double r = 1)
{
  std::uniform_real_distribution<double> d(-r, r);
  return TVector3D(d(rng), d(rng), d(rng));
}

// --- Host exchange form ------------------------------------------------------------------

TEST(Mtr3DExchange, FrameRowsAreAxesThenOrigin)
{
  TPlacement3D F;
  F.O = TPoint3D(10, 20, 30);
  F.AX = TVector3D(0, 1, 0);
  F.AY = TVector3D(-1, 0, 0);
  F.AZ = TVector3D(0, 0, 1);
  std::vector<double> v;
  TMtr3D(F).to(v);
  EXPECT_EQ(v, (std::vector<double>{0, 1, 0, 0, -1, 0, 0, 0, 0, 0, 1, 0, 10, 20, 30, 1}));
  TPlacement3D back;
  TMtr3D(F).Get(back);
  ExpectNearPoint(back.O, 10, 20, 30, 0);
  ExpectNearPoint(back.AY, -1, 0, 0, 0);
}

TEST(Mtr3DExchange, FromTakesExactlySixteen)
{
  TMtr3D m;
  m.IdentityMove(1, 2, 3);
  const TMtr3D before = m;
  for (std::size_t n : {0u, 15u, 17u, 32u}) {
    EXPECT_FALSE(m.from(std::vector<double>(n, 7.0))) << n;
    for (int i = 0; i < 16; ++i)
      EXPECT_EQ(m.V[i], before.V[i]);
  }
  std::vector<double> v(16);
  for (int i = 0; i < 16; ++i)
    v[i] = i + 0.5;
  ASSERT_TRUE(m.from(v));
  EXPECT_EQ(m.M[2][3], 11.5);
  std::vector<double> back;
  EXPECT_EQ(m.to(back), v);
}

// --- Builders ----------------------------------------------------------------------------

// A (0, 0) pair has no direction: the builder stays finite instead of dividing by zero.
TEST(Mtr3D, ZeroRotationPairGivesTheIdentity)
{
  TMtr3D m;
  m.RotAxleY(0, 0);
  EXPECT_TRUE(AllFinite(m));
  ExpectNearMatrix(m, TMtr3D(), 0);
}

// --- Products and inverses ---------------------------------------------------------------

TMtr3D RandomRigidScaled(std::mt19937_64& rng)
{
  std::uniform_real_distribution<double> ang(-kPi, kPi), sc(0.5, 2), pos(-100, 100);
  TMtr3D m;
  m.RotateAbout(RandomVector(rng), ang(rng));
  TMtr3D s;
  s.M[0][0] = sc(rng);
  s.M[1][1] = sc(rng);
  s.M[2][2] = sc(rng);
  m.Multiply(s);
  m.RotateAbout(RandomVector(rng), ang(rng));
  m.Move(TVector3D(pos(rng), pos(rng), pos(rng)));
  return m;
}

TEST(Mtr3D, InverseTimesMatrixIsTheIdentity)
{
  std::mt19937_64 rng(2024);
  std::uniform_real_distribution<double> small(-0.15, 0.15);
  for (int i = 0; i < 2000; ++i) {
    TMtr3D m;
    if (i % 2) {
      m = RandomRigidScaled(rng);
    } else {
      // A general matrix, column 3 included, kept well conditioned.
      for (int k = 0; k < 16; ++k)
        m.V[k] += small(rng);
    }
    TMtr3D inv = m;
    inv.Inversion();
    TMtr3D p, q;
    p.Multiply(m, inv);
    q.Multiply(inv, m);
    ExpectNearMatrix(p, TMtr3D(), 1e-12);
    ExpectNearMatrix(q, TMtr3D(), 1e-12);
  }
}

TEST(Mtr3D, SingularInverseIsTheIdentity)
{
  TMtr3D m;
  m.M[1][1] = 0; // a flattening: determinant exactly 0
  m.Inversion();
  ExpectNearMatrix(m, TMtr3D(), 0);
  TMtr3D z;
  z.Zero().Inversion();
  ExpectNearMatrix(z, TMtr3D(), 0);
  TMtr3D tiny;
  tiny.Multiply(1e-90); // determinant underflows to 0
  tiny.Inversion();
  EXPECT_TRUE(AllFinite(tiny));
}

TEST(Mtr3D, ProductsComposeLikeTheirTransforms)
{
  std::mt19937_64 rng(31);
  for (int i = 0; i < 1000; ++i) {
    const TMtr3D a = RandomRigidScaled(rng), b = RandomRigidScaled(rng);
    TMtr3D ab;
    ab.Multiply(a, b);
    const TPoint3D p = RandomVector(rng, 50);
    const TPoint3D ref = Apply(b, Apply(a, p));
    const TPoint3D got = Apply(ab, p);
    ExpectNearPoint(got, ref.x, ref.y, ref.z, 1e-9);
    TMtr3D c = a;
    c.Multiply(b);
    ExpectNearMatrix(c, ab, 0);
    // The result may be one of the factors.
    TMtr3D d = a;
    d.Multiply(d, b);
    ExpectNearMatrix(d, ab, 0);
  }
}

// --- Rotations ---------------------------------------------------------------------------

TEST(Mtr3D, RotateAboutAnAxisThroughTheOrigin)
{
  const double t = 0.7;
  TMtr3D a, b, z;
  a.RotateAbout(TVector3D(0, 0, 2), t);
  b.RotateAbout(TVector3D(0, 0, 1), t);
  z.RotAxleZ(std::cos(t), std::sin(t));
  ExpectNearMatrix(a, b, 0);
  ExpectNearMatrix(a, z, 1e-15);
  // A zero axis leaves a finite matrix.
  TMtr3D n;
  n.RotateAbout(TVector3D(), t);
  EXPECT_TRUE(AllFinite(n));
}

// --- Local frames ------------------------------------------------------------------------

// The origin, X-axis and normal builder gave a left-handed frame (AY = AX x AZ) and kept a
// slanted X axis; it now orthogonalises AX against AZ and takes AY = AZ x AX.
TEST(Placement3D, OriginAxisAndNormalIsRightHanded)
{
  const TPlacement3D F(TPoint3D(0, 0, 0), TVector3D(1, 0, 0), TVector3D(0, 0, 1));
  ExpectNearPoint(F.AX, 1, 0, 0);
  ExpectNearPoint(F.AY, 0, 1, 0);
  ExpectNearPoint(F.AZ, 0, 0, 1);
  const TPlacement3D S(TPoint3D(1, 2, 3), TVector3D(2, 1, 0.6), TVector3D(0, 0, 2));
  ExpectRightHandedFrame(S);
  const double l = std::sqrt(5.0);
  ExpectNearPoint(S.AX, 2 / l, 1 / l, 0);
  // An X axis along the normal gives no direction in the plane: the normal alone decides.
  const TPlacement3D D(TPoint3D(), TVector3D(0, 0, -4), TVector3D(0, 0, 1));
  ExpectRightHandedFrame(D);
  ExpectNearPoint(D.AX, 0, 1, 0);
}

TEST(Placement3D, EveryBuilderGivesAnOrthonormalRightHandedFrame)
{
  std::mt19937_64 rng(1234);
  for (int i = 0; i < 2000; ++i) {
    const TPoint3D O = RandomVector(rng, 100);
    const TVector3D a = RandomVector(rng), b = RandomVector(rng);
    if (a.Len() < 1e-3 || b.Len() < 1e-3 || Multiply(a, b).Len() < 1e-3 * a.Len() * b.Len()) continue;
    SCOPED_TRACE(i);
    ExpectRightHandedFrame(TPlacement3D(O, a), 1e-9);
    ExpectRightHandedFrame(TPlacement3D(O, O + a, O + b), 1e-9);
    ExpectRightHandedFrame(TPlacement3D(O, a, b), 1e-9);
    TPlacement3D s;
    s.Set(O, a, b);
    ExpectRightHandedFrame(s, 1e-9);
    s.Set(O, a);
    ExpectRightHandedFrame(s, 1e-9);
    s.Set(O, O + a, O + b);
    ExpectRightHandedFrame(s, 1e-9);
    TMtr3D m;
    m.Set(O, a, b);
    m.Get(s);
    ExpectRightHandedFrame(s, 1e-9);
  }
}

// A frame without axes answers 0, not a division by zero.
TEST(Placement3D, Projections)
{
  TPlacement3D Z;
  Z.AX = Z.AY = TVector3D();
  double x = 9, y = 9;
  Z.PointProjection(TPoint3D(5, 4, 9), x, y);
  EXPECT_EQ(x, 0);
  EXPECT_EQ(y, 0);
}

} // namespace
