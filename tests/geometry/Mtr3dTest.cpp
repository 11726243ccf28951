// The 4x4 matrix and the local frame: the host exchange form, builders, products, inverses,
// rotations and projections.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "hxcadkit/geometry/Mathemat3d.h"

namespace {

constexpr double kPi = TMathDef::C_PI;

void ExpectPoint(const TPoint3D& p, double x, double y, double z, double eps = 1e-12)
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
  ExpectPoint(z, F.AZ.x, F.AZ.y, F.AZ.z, eps);
}

TVector3D RandomVector(std::mt19937_64& rng, double r = 1)
{
  std::uniform_real_distribution<double> d(-r, r);
  return TVector3D(d(rng), d(rng), d(rng));
}

// --- Host exchange form ------------------------------------------------------------------

TEST(Mtr3DExchange, IdentityAsSixteenValues)
{
  std::vector<double> v{5, 5};
  EXPECT_EQ(&TMtr3D().to(v), &v);
  EXPECT_EQ(v, (std::vector<double>{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}));
}

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
  ExpectPoint(back.O, 10, 20, 30, 0);
  ExpectPoint(back.AY, -1, 0, 0, 0);
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

TEST(Mtr3D, NamedRowsAndAccessorsShareTheEntries)
{
  TMtr3D m;
  m.GetAxisY() = TVector3D(4, 5, 6);
  m.GetOrigin() = TPoint3D(7, 8, 9);
  EXPECT_EQ(m.M[1][0], 4);
  EXPECT_EQ(m.V[14], 9);
  EXPECT_EQ(m.oP.y, 8);
  EXPECT_EQ(m.dp, 1);
  EXPECT_EQ(&m.dy, &m.M[1][3]);
  EXPECT_EQ(m.GetAxisZ().z, 1);
  const TMtr3D axes(TVector3D(0, 1, 0), TVector3D(0, 0, 1), TVector3D(1, 0, 0));
  EXPECT_EQ(axes.M[2][0], 1);
  EXPECT_EQ(axes.M[3][3], 1);
  EXPECT_EQ(axes.M[3][0], 0);
  TMtr3D z;
  z.Zero();
  EXPECT_EQ(z.M[3][3], 0);
}

TEST(Mtr3D, EqualityWithinTwoMillionths)
{
  TMtr3D a, b;
  b.M[2][1] += 1e-6;
  EXPECT_TRUE(a == b);
  b.M[2][1] += 2e-6;
  EXPECT_FALSE(a == b);
  EXPECT_TRUE(a != b);
}

// --- Builders ----------------------------------------------------------------------------

TEST(Mtr3D, AxisRotations)
{
  const double c = std::cos(0.3), s = std::sin(0.3);
  ExpectPoint(Apply(TMtr3D().RotAxleZ(c, s), {1, 0, 0}), c, s, 0);
  ExpectPoint(Apply(TMtr3D().RotAxleX(0, 1), {0, 1, 0}), 0, 0, 1);
  ExpectPoint(Apply(TMtr3D().RotAxleY(0, 1), {0, 0, 1}), 1, 0, 0);
  // A pair off unit length is normalised; one within 1e-8 is taken as given.
  ExpectNearMatrix(TMtr3D().RotAxleZ(2, 0), TMtr3D(), 0);
  TMtr3D near;
  near.RotAxleZ(c * (1 + 1e-9), s * (1 + 1e-9));
  EXPECT_EQ(near.M[0][0], c * (1 + 1e-9));
  EXPECT_EQ(near.M[1][0], -s * (1 + 1e-9));
  TMtr3D off;
  off.RotAxleX(3, 4);
  EXPECT_DOUBLE_EQ(off.M[1][1], 0.6);
  EXPECT_DOUBLE_EQ(off.M[2][1], -0.8);
}

// A (0, 0) pair has no direction: the builder stays finite instead of dividing by zero.
TEST(Mtr3D, ZeroRotationPairGivesTheIdentity)
{
  TMtr3D m;
  m.RotAxleY(0, 0);
  EXPECT_TRUE(AllFinite(m));
  ExpectNearMatrix(m, TMtr3D(), 0);
}

TEST(Mtr3D, FrameFromOriginAndTwoAxes)
{
  TMtr3D m;
  m.Set(TPoint3D(1, 2, 3), TVector3D(2, 0, 0), TVector3D(1, 1, 0));
  TPlacement3D F;
  m.Get(F);
  ExpectPoint(F.AX, 1, 0, 0);
  ExpectPoint(F.AY, 0, 1, 0);
  ExpectPoint(F.AZ, 0, 0, 1);
  ExpectPoint(F.O, 1, 2, 3);
  std::mt19937_64 rng(8);
  for (int i = 0; i < 500; ++i) {
    m.Set(TPoint3D(), RandomVector(rng), RandomVector(rng));
    m.Get(F);
    ExpectRightHandedFrame(F, 1e-9);
    EXPECT_EQ(m.M[3][3], 1);
    EXPECT_EQ(m.M[0][3], 0);
  }
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

TEST(Mtr3D, InverseOfAFrameMatrix)
{
  TPlacement3D F(TPoint3D(5, -3, 2), TVector3D(1, 2, 3));
  TMtr3D m(F), inv(F), p;
  inv.Inversion();
  p.Multiply(inv, m);
  ExpectNearMatrix(p, TMtr3D(), 1e-14);
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
    ExpectPoint(got, ref.x, ref.y, ref.z, 1e-9);
    TMtr3D c = a;
    c.Multiply(b);
    ExpectNearMatrix(c, ab, 0);
    // The result may be one of the factors.
    TMtr3D d = a;
    d.Multiply(d, b);
    ExpectNearMatrix(d, ab, 0);
  }
}

TEST(Mtr3D, ScalarAndAccumulatedProducts)
{
  TMtr3D a, b;
  a.RotAxleZ(0, 1);
  b.IdentityMove(1, 2, 3);
  TMtr3D ba;
  ba.Multiply(b, a);
  TMtr3D acc;
  acc.Zero();
  acc.Multiply2(a, b).Multiply2(a, b);
  TMtr3D twice = ba;
  twice.Multiply(2.0);
  ExpectNearMatrix(acc, twice, 0);
}

TEST(Mtr3D, NormalizeRows)
{
  TMtr3D m;
  m.GetAxisX() = TVector3D(3, 0, 4);
  m.GetAxisY() = TVector3D(1e-7, 0, 0);
  m.GetOrigin() = TPoint3D(10, 0, 0);
  m.Normalize();
  ExpectPoint(m.GetAxisX(), 0.6, 0, 0.8);
  ExpectPoint(m.GetAxisY(), 1e-7, 0, 0, 0);
  ExpectPoint(m.GetOrigin(), 10, 0, 0, 0);
}

TEST(Mtr3D, TransformForms)
{
  TMtr3D m;
  for (int i = 0; i < 16; ++i)
    m.V[i] = i + 1;
  TPoint3D r;
  m.Trans(TPoint3D(1, 1, 1), r); // rows as dot products plus column 3
  ExpectPoint(r, 1 + 2 + 3 + 4, 5 + 6 + 7 + 8, 9 + 10 + 11 + 12, 0);
  m.Trans2(TPoint3D(1, 1, 1), r); // rows as dot products plus row 3
  ExpectPoint(r, 1 + 2 + 3 + 13, 5 + 6 + 7 + 14, 9 + 10 + 11 + 15, 0);
  TVector3D v;
  m.Trans(TVector3D(1, 1, 1), v);
  ExpectPoint(v, 6, 18, 30, 0);
  TPoint3D p(1, 1, 1);
  p.Mtr(m); // row vector with row 3 as shift
  ExpectPoint(p, 1 + 5 + 9 + 13, 2 + 6 + 10 + 14, 3 + 7 + 11 + 15, 0);
  TVector3D w(1, 1, 1);
  w.Mtr(m);
  ExpectPoint(w, 1 + 5 + 9, 2 + 6 + 10, 3 + 7 + 11, 0);
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
  // An axis within 1e-6 of unit length is used as given.
  const double x = 1 + 5e-7;
  TMtr3D u;
  u.RotateAbout(TVector3D(x, 0, 0), t);
  EXPECT_EQ(u.M[0][0], x * x + (1 - x * x) * std::cos(t));
  // A zero axis leaves a finite matrix.
  TMtr3D n;
  n.RotateAbout(TVector3D(), t);
  EXPECT_TRUE(AllFinite(n));
}

TEST(Mtr3D, RotateAboutALine)
{
  TMtr3D m;
  m.Rotate(TPoint3D(10, 0, 0), TVector3D(0, 0, 1), kPi);
  ExpectPoint(Apply(m, TPoint3D(0, 0, 0)), 20, 0, 0, 1e-12);
  ExpectPoint(Apply(m, TPoint3D(10, 0, 7)), 10, 0, 7, 1e-12);
  // Any point of the axis stays; after an existing transform the rotation acts last.
  std::mt19937_64 rng(4);
  for (int i = 0; i < 200; ++i) {
    const TPoint3D P = RandomVector(rng, 10);
    const TVector3D V = RandomVector(rng);
    TMtr3D base = RandomRigidScaled(rng), r;
    r.Rotate(P, V, 1.1);
    TMtr3D both = base;
    both.Rotate(P, V, 1.1);
    const TPoint3D q = RandomVector(rng, 10);
    const TPoint3D ref = Apply(r, Apply(base, q));
    ExpectPoint(Apply(both, q), ref.x, ref.y, ref.z, 1e-9);
    const TPoint3D onAxis = P + V * 3.0;
    ExpectPoint(Apply(r, onAxis), onAxis.x, onAxis.y, onAxis.z, 1e-9);
  }
}

TEST(Mtr3D, DirectPointProjectionOntoZ0)
{
  TMtr3D m;
  TPoint2D R(9, 9);
  ASSERT_TRUE(m.DirectPointProjection(TPoint3D(1, 2, 5), TVector3D(1, 0, -1), R));
  EXPECT_NEAR(R.x, 6, 1e-12);
  EXPECT_NEAR(R.y, 2, 1e-12);
  R = TPoint2D(9, 9);
  EXPECT_FALSE(m.DirectPointProjection(TPoint3D(1, 2, 5), TVector3D(1, 1, 0), R));
  EXPECT_FALSE(m.DirectPointProjection(TPoint3D(1, 2, 5), TVector3D(), R));
  EXPECT_FALSE(m.DirectPointProjection(TPoint3D(1, 2, 5), TVector3D(1, 0, 1e-7), R));
  EXPECT_EQ(R, TPoint2D(9, 9));
  m.IdentityMove(0, 0, -5);
  ASSERT_TRUE(m.DirectPointProjection(TPoint3D(1, 2, 5), TVector3D(0, 0, 3), R));
  EXPECT_NEAR(R.x, 1, 1e-12);
}

// --- Local frames ------------------------------------------------------------------------

TEST(Placement3D, FromOriginAndNormal)
{
  struct Case
  {
    TVector3D n, ax, ay;
  } cases[] = {
      {{0, 0, 1}, {0, 1, 0}, {-1, 0, 0}},
      {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}},
      {{0, 1, 0}, {1, 0, 0}, {0, 0, -1}},
      {{0, 0, 5}, {0, 1, 0}, {-1, 0, 0}},
  };
  for (const auto& c : cases) {
    const TPlacement3D F(TPoint3D(1, 2, 3), c.n);
    ExpectPoint(F.AX, c.ax.x, c.ax.y, c.ax.z);
    ExpectPoint(F.AY, c.ay.x, c.ay.y, c.ay.z);
    ExpectPoint(F.O, 1, 2, 3, 0);
  }
}

TEST(Placement3D, FromThreePoints)
{
  const TPlacement3D F(TPoint3D(1, 1, 1), TPoint3D(3, 1, 1), TPoint3D(5, 4, 1));
  ExpectPoint(F.AX, 1, 0, 0);
  ExpectPoint(F.AY, 0, 1, 0);
  ExpectPoint(F.AZ, 0, 0, 1);
  TPlacement3D G;
  G.Set(TPoint3D(), TVector3D(0, 0, 3), TVector3D(1, 0, 1));
  ExpectPoint(G.AX, 0, 0, 1);
  ExpectPoint(G.AY, 1, 0, 0);
  ExpectPoint(G.AZ, 0, 1, 0);
}

// The origin, X-axis and normal builder gave a left-handed frame (AY = AX x AZ) and kept a
// slanted X axis; it now orthogonalises AX against AZ and takes AY = AZ x AX.
TEST(Placement3D, OriginAxisAndNormalIsRightHanded)
{
  const TPlacement3D F(TPoint3D(0, 0, 0), TVector3D(1, 0, 0), TVector3D(0, 0, 1));
  ExpectPoint(F.AX, 1, 0, 0);
  ExpectPoint(F.AY, 0, 1, 0);
  ExpectPoint(F.AZ, 0, 0, 1);
  const TPlacement3D S(TPoint3D(1, 2, 3), TVector3D(2, 1, 0.6), TVector3D(0, 0, 2));
  ExpectRightHandedFrame(S);
  const double l = std::sqrt(5.0);
  ExpectPoint(S.AX, 2 / l, 1 / l, 0);
  // An X axis along the normal gives no direction in the plane: the normal alone decides.
  const TPlacement3D D(TPoint3D(), TVector3D(0, 0, -4), TVector3D(0, 0, 1));
  ExpectRightHandedFrame(D);
  ExpectPoint(D.AX, 0, 1, 0);
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
  }
}

TEST(Placement3D, ParentToLocalMatrix)
{
  std::mt19937_64 rng(77);
  for (int i = 0; i < 300; ++i) {
    const TPlacement3D F(RandomVector(rng, 50), RandomVector(rng), RandomVector(rng));
    TMtr3D into;
    F.GetMtrInto(into);
    const TPoint3D local = RandomVector(rng, 20);
    TPoint3D parent;
    F.GetPointFrom(local, parent);
    ExpectPoint(Apply(TMtr3D(F), local), parent.x, parent.y, parent.z, 1e-9);
    ExpectPoint(Apply(into, parent), local.x, local.y, local.z, 1e-9);
  }
}

TEST(Placement3D, Projections)
{
  TPlacement3D F;
  F.O = TPoint3D(1, 1, 1);
  F.AX = TVector3D(2, 0, 0); // axes of any length
  F.AY = TVector3D(0, 1, 0);
  F.AZ = TVector3D(0, 0, 1);
  double x, y;
  F.PointProjection(TPoint3D(5, 4, 9), x, y);
  EXPECT_DOUBLE_EQ(x, 2);
  EXPECT_DOUBLE_EQ(y, 3);
  TPoint3D foot;
  F.PointProjection(TPoint3D(5, 4, 9), foot);
  ExpectPoint(foot, 5, 4, 1);
  F.VectorProjection(TVector3D(4, -1, 7), x, y);
  EXPECT_DOUBLE_EQ(x, 2);
  EXPECT_DOUBLE_EQ(y, -1);
  EXPECT_DOUBLE_EQ(F.DistanceToPoint(TPoint3D(5, 4, 9)), 8);
  F.PointOn(1, 1, foot);
  ExpectPoint(foot, 3, 2, 1);
  F.OriginTo(TPoint3D(7, 7, 7));
  ExpectPoint(F.O, 7, 7, 1);
  // A frame without axes answers 0, not a division by zero.
  TPlacement3D Z;
  Z.AX = Z.AY = TVector3D();
  Z.PointProjection(TPoint3D(5, 4, 9), x, y);
  EXPECT_EQ(x, 0);
  EXPECT_EQ(y, 0);
}

TEST(Placement3D, DirectPointProjection)
{
  const TPlacement3D F(TPoint3D(0, 0, 5), TVector3D(0, 0, 1)); // AX (0, 1, 0), AY (-1, 0, 0)
  TPoint2D R;
  ASSERT_TRUE(F.DirectPointProjection(TPoint3D(1, 2, 10), TVector3D(0, 0, 1), R));
  EXPECT_NEAR(R.x, 2, 1e-12);
  EXPECT_NEAR(R.y, -1, 1e-12);
  EXPECT_FALSE(F.DirectPointProjection(TPoint3D(1, 2, 10), TVector3D(1, 1, 0), R));
}

TEST(Placement3D, PlaneComparisons)
{
  const TPlacement3D A(TPoint3D(0, 0, 0), TVector3D(0, 0, 1));
  const TPlacement3D B(TPoint3D(3, 4, 5), TVector3D(0, 0, -1));
  const TPlacement3D C(TPoint3D(0, 0, 0), TVector3D(0, 1, 1));
  EXPECT_TRUE(A.IsParallelPlane(B));
  EXPECT_FALSE(A.IsParallelPlane(C));
  EXPECT_DOUBLE_EQ(A.DistanceTo(B), 5);
  EXPECT_EQ(A.DistanceTo(C), -1.0);
  EXPECT_FALSE(A.IsSamePlane(B));
  EXPECT_TRUE(A.IsSamePlane(TPlacement3D(TPoint3D(9, 9, 0), TVector3D(0, 0, 1))));
  EXPECT_TRUE(A.IsSamePlane(TPlacement3D(TPoint3D(9, 9, 5e-6), TVector3D(0, 0, -1))));
}

TEST(Placement3D, TransformIntoTheParent)
{
  const TPlacement3D parent(TPoint3D(10, 0, 0), TVector3D(0, 0, 1)); // AX (0, 1, 0), AY (-1, 0, 0)
  TPlacement3D F(TPoint3D(1, 0, 0), TVector3D(1, 0, 0), TVector3D(0, 0, 1));
  F.Transform(parent);
  ExpectPoint(F.O, 10, 1, 0);
  ExpectPoint(F.AX, 0, 1, 0);
  ExpectPoint(F.AY, -1, 0, 0);
  ExpectRightHandedFrame(F);
  TVector3D v(1, 0, 0);
  v.Mtr(parent);
  ExpectPoint(v, 0, 1, 0);
  TPlacement3D self = parent;
  self.Transform(self);
  ExpectRightHandedFrame(self);
}

} // namespace
