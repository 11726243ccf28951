// Triangle-triangle overlap and intersection: the documented configurations, flat triangles, and
// a differential run against an exact integer oracle on random small-integer triangles.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <random>

#include "hxcadkit/numeric/TriangleOverlap.h"

namespace {

using V3 = std::array<double, 3>;
using V2 = std::array<double, 2>;

int Overlap3(const V3& p1, const V3& q1, const V3& r1, const V3& p2, const V3& q2, const V3& r2)
{
  return tri_tri_overlap_test_3d(p1.data(), q1.data(), r1.data(), p2.data(), q2.data(), r2.data());
}

int Overlap2(const V2& p1, const V2& q1, const V2& r1, const V2& p2, const V2& q2, const V2& r2)
{
  return tri_tri_overlap_test_2d(p1.data(), q1.data(), r1.data(), p2.data(), q2.data(), r2.data());
}

struct TMeet
{
  int result = -1;
  int coplanar = 0;
  V3 source{-7, -7, -7}, target{-7, -7, -7}; // sentinels: untouched unless written
};

TMeet Meet(const V3& p1, const V3& q1, const V3& r1, const V3& p2, const V3& q2, const V3& r2)
{
  TMeet m;
  m.result = tri_tri_intersection_test_3d(p1.data(), q1.data(), r1.data(), p2.data(), q2.data(), r2.data(),
                                          &m.coplanar, m.source.data(), m.target.data());
  return m;
}

const V3 kUntouched{-7, -7, -7};

// Regressions: flat triangles used to be taken for the plane or the point that surrounds them.
TEST(TriTriDegenerate, FlatTrianglesAreTheirSegments)
{
  // A second triangle shrunk to one point, far away, on the line of nothing at all.
  EXPECT_EQ(Overlap2({0, 0}, {1, 0}, {0, 1}, {10, 10}, {10, 10}, {10, 10}), 0);
  // A second triangle collinear with p1 but far from the first triangle.
  EXPECT_EQ(Overlap2({0, 0}, {1, 0}, {0, 1}, {-10, 0}, {-20, 0}, {-30, 0}), 0);
  EXPECT_EQ(Overlap2({0, 0}, {1, 0}, {0, 1}, {-10, 0}, {0.5, 0}, {-30, 0}), 1);
  EXPECT_EQ(Overlap2({0, 0}, {4, 0}, {0, 4}, {2, 2}, {2, 2}, {2, 2}), 1); // point on the edge
  EXPECT_EQ(Overlap2({0, 0}, {4, 0}, {0, 4}, {2.5, 2}, {2.5, 2}, {2.5, 2}), 0);

  // A segment standing across z = 0 that misses the triangle in space, though its shadow on
  // (x, y) crosses the triangle's.
  const V3 a{0, 0, -1}, b{2, 2, 1}, c{4, 4, 3};
  EXPECT_EQ(Overlap3(a, b, c, {3, 0, 0}, {5, 0, 0}, {3, 5, 0}), 0);
  EXPECT_EQ(Overlap3({3, 0, 0}, {5, 0, 0}, {3, 5, 0}, a, b, c), 0);
  TMeet m = Meet(a, b, c, {3, 0, 0}, {5, 0, 0}, {3, 5, 0});
  EXPECT_EQ(m.result, 0);
  EXPECT_EQ(m.coplanar, 0);
  EXPECT_EQ(m.source, kUntouched);

  // The same segment through a triangle that holds its crossing point (1, 1, 0).
  m = Meet(a, b, c, {0, 0, 0}, {4, 0, 0}, {0, 4, 0});
  EXPECT_EQ(m.result, 1);
  EXPECT_EQ(m.coplanar, 0);
  EXPECT_EQ(m.source, (V3{1, 1, 0}));
  EXPECT_EQ(m.target, (V3{1, 1, 0}));

  // Collinear first triangle through a standing triangle: one point, not coplanar.
  m = Meet({0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {0, -1, -1}, {0, 1, -1}, {0, 0, 1});
  EXPECT_EQ(m.result, 1);
  EXPECT_EQ(m.coplanar, 0);
  EXPECT_EQ(m.source, (V3{0, 0, 0}));
  EXPECT_EQ(m.target, (V3{0, 0, 0}));

  // A segment lying in the other triangle's plane is coplanar; the coplanar answer decides.
  m = Meet({1, 1, 0}, {2, 1, 0}, {3, 1, 0}, {0, 0, 0}, {4, 0, 0}, {0, 4, 0});
  EXPECT_EQ(m.result, 1);
  EXPECT_EQ(m.coplanar, 1);
  EXPECT_EQ(m.source, kUntouched);
  m = Meet({5, 1, 0}, {6, 1, 0}, {7, 1, 0}, {0, 0, 0}, {4, 0, 0}, {0, 4, 0});
  EXPECT_EQ(m.result, 0);
  EXPECT_EQ(m.coplanar, 1);

  // Two segments: skew ones never meet and are not coplanar.
  m = Meet({0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {1, -1, 1}, {1, 0, 1}, {1, 1, 1});
  EXPECT_EQ(m.result, 0);
  EXPECT_EQ(m.coplanar, 0);
  m = Meet({0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {1, -1, 0}, {1, 0, 0}, {1, 1, 0});
  EXPECT_EQ(m.result, 1);
  EXPECT_EQ(m.coplanar, 1);
}

// ---- Intersection segment -------------------------------------------------------------------

TEST(TriTriIntersection, DocumentedSegments)
{
  struct Case
  {
    const char* what;
    V3 p1, q1, r1, p2, q2, r2;
    V3 source, target;
  } cases[] = {
      // A triangle standing in the plane x = 1, in either order.
      {"x=1", {0, 0, 0}, {4, 0, 0}, {0, 4, 0}, {1, -1, -1}, {1, -1, 1}, {1, 3, 0}, {1, 3, 0}, {1, 0, 0}},
      {"x=1'", {1, -1, -1}, {1, -1, 1}, {1, 3, 0}, {0, 0, 0}, {4, 0, 0}, {0, 4, 0}, {1, 0, 0}, {1, 3, 0}},
      {"piercing", {0, 0, 0}, {4, 0, 0}, {0, 4, 0}, {1, 1, -1}, {1, 1, 1}, {5, 5, 1}, {2, 2, 0}, {1, 1, 0}},
      {"shared edge", {0, 0, 0}, {2, 0, 0}, {0, 2, 0}, {0, 0, 0}, {2, 0, 0}, {1, 0, 2}, {2, 0, 0}, {0, 0, 0}},
  };
  for (const Case& c : cases) {
    const TMeet m = Meet(c.p1, c.q1, c.r1, c.p2, c.q2, c.r2);
    EXPECT_EQ(m.result, 1) << c.what;
    EXPECT_EQ(m.coplanar, 0) << c.what;
    EXPECT_EQ(m.source, c.source) << c.what;
    EXPECT_EQ(m.target, c.target) << c.what;
  }
}

TEST(TriTriIntersection, CoplanarFlagIsOnlyEverSet)
{
  TMeet keep;
  keep.coplanar = 1;
  const V3 p1{0, 0, 0}, q1{4, 0, 0}, r1{0, 4, 0}, p2{1, 1, -1}, q2{1, 1, 1}, r2{5, 5, 1};
  keep.result = tri_tri_intersection_test_3d(p1.data(), q1.data(), r1.data(), p2.data(), q2.data(), r2.data(),
                                             &keep.coplanar, keep.source.data(), keep.target.data());
  EXPECT_EQ(keep.result, 1);
  EXPECT_EQ(keep.coplanar, 1);
}

// Regression: an end point whose edge runs along the other triangle's plane to rounding used to
// come out infinite (a zero divisor); it is now the edge's vertex on that plane.
TEST(TriTriIntersection, ZeroDivisorGivesAFiniteEnd)
{
  const V3 p1{0x1.22e65d213b091p-3, 0x1.8514fbc1fa08ep-2, -0x1.8514fbc1fa08dp-2};
  const V3 q1{0x1.e7582bd87e9ap-3, -0x1.857e38022eaabp+10, -0x1.9f02a0e8a7dap+9};
  const V3 r1{0x1.4b4b70ec7c20bp-2, -0x1.576f215acafbcp+4, 0x1.576f215acafbcp+4};
  const V3 p2{1, 0, 0}, q2{0, 1, -1}, r2{0, 0, 0};
  const TMeet m = Meet(p1, q1, r1, p2, q2, r2);
  ASSERT_EQ(m.result, 1);
  EXPECT_EQ(m.coplanar, 0);
  for (const V3* x : {&m.source, &m.target}) {
    for (double c : *x)
      EXPECT_TRUE(std::isfinite(c));
    // On the second triangle's plane y + z = 0, inside it, and near the first triangle's vertex
    // that touches that plane.
    EXPECT_NEAR((*x)[1] + (*x)[2], 0.0, 1e-12);
    EXPECT_NEAR((*x)[0], p1[0], 1e-9);
    EXPECT_NEAR((*x)[1], p1[1], 1e-9);
  }
}

TEST(TriTriNonFinite, AnswersWithoutFault)
{
  const double nan = std::nan(""), inf = HUGE_VAL;
  const V3 ok1{0, 0, 0}, ok2{4, 0, 0}, ok3{0, 4, 0};
  for (const V3& bad : {V3{nan, 0, 0}, V3{inf, 1, 1}, V3{-inf, inf, 0}, V3{nan, nan, nan}}) {
    const int o = Overlap3(bad, ok2, ok3, ok1, ok2, {1, 1, 1});
    EXPECT_TRUE(o == 0 || o == 1);
    const TMeet m = Meet(ok1, bad, ok3, {1, 1, -1}, {1, 1, 1}, bad);
    EXPECT_TRUE(m.result == 0 || m.result == 1);
    const int o2 = Overlap2({bad[0], bad[1]}, {4, 0}, {0, 4}, {1, 1}, {bad[1], bad[2]}, {0, 1});
    EXPECT_TRUE(o2 == 0 || o2 == 1);
  }
}

// ---- Exact oracle ---------------------------------------------------------------------------

using I3 = std::array<long long, 3>;

I3 ISub(const I3& a, const I3& b)
{
  return {a[0] - b[0], a[1] - b[1], a[2] - b[2]};
}
I3 ICross(const I3& u, const I3& v)
{
  return {u[1] * v[2] - u[2] * v[1], u[2] * v[0] - u[0] * v[2], u[0] * v[1] - u[1] * v[0]};
}
long long IDot(const I3& u, const I3& v)
{
  return u[0] * v[0] + u[1] * v[1] + u[2] * v[2];
}
bool IZero(const I3& v)
{
  return v[0] == 0 && v[1] == 0 && v[2] == 0;
}

// Whether the origin lies in the convex hull of the affinely independent points s[0..n).
bool OriginInSimplex(const I3* s, int n)
{
  switch (n) {
  case 1:
    return IZero(s[0]);
  case 2:
    return IZero(ICross(s[0], s[1])) && IDot(s[0], s[1]) <= 0 && s[0] != s[1];
  case 3: {
    const I3 nrm = ICross(ISub(s[1], s[0]), ISub(s[2], s[0]));
    if (IZero(nrm) || IDot(s[0], nrm) != 0) return false;
    return IDot(ICross(s[1], s[2]), nrm) >= 0 && IDot(ICross(s[2], s[0]), nrm) >= 0 &&
           IDot(ICross(s[0], s[1]), nrm) >= 0;
  }
  default: {
    auto det = [](const I3& a, const I3& b, const I3& c, const I3& d) {
      return IDot(ICross(ISub(b, a), ISub(c, a)), ISub(d, a));
    };
    const I3 o{0, 0, 0};
    const long long d = det(s[0], s[1], s[2], s[3]);
    if (d == 0) return false;
    const long long b[4] = {det(o, s[1], s[2], s[3]), det(s[0], o, s[2], s[3]), det(s[0], s[1], o, s[3]),
                            det(s[0], s[1], s[2], o)};
    for (long long x : b)
      if ((d > 0 && x < 0) || (d < 0 && x > 0)) return false;
    return true;
  }
  }
}

// Two closed triangles (flat ones included) share a point exactly when the origin lies in the
// hull of the nine differences of their vertices, and then (Caratheodory) in the hull of at
// most four of them that are affinely independent.
bool OracleMeet(const I3 (&t1)[3], const I3 (&t2)[3])
{
  I3 d[9];
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j)
      d[3 * i + j] = ISub(t1[i], t2[j]);
  I3 s[4];
  for (int a = 0; a < 9; ++a) {
    s[0] = d[a];
    if (OriginInSimplex(s, 1)) return true;
    for (int b = a + 1; b < 9; ++b) {
      s[1] = d[b];
      if (OriginInSimplex(s, 2)) return true;
      for (int c = b + 1; c < 9; ++c) {
        s[2] = d[c];
        if (OriginInSimplex(s, 3)) return true;
        for (int e = c + 1; e < 9; ++e) {
          s[3] = d[e];
          if (OriginInSimplex(s, 4)) return true;
        }
      }
    }
  }
  return false;
}

bool Flat(const I3 (&t)[3])
{
  return IZero(ICross(ISub(t[1], t[0]), ISub(t[2], t[0])));
}

V3 ToD(const I3& v)
{
  return {double(v[0]), double(v[1]), double(v[2])};
}

// x lies in the closed triangle t, to rounding.
bool NearTriangle(const V3& x, const I3 (&t)[3])
{
  const V3 a = ToD(t[0]), b = ToD(t[1]), c = ToD(t[2]);
  auto sub = [](const V3& u, const V3& v) { return V3{u[0] - v[0], u[1] - v[1], u[2] - v[2]}; };
  auto cross = [](const V3& u, const V3& v) {
    return V3{u[1] * v[2] - u[2] * v[1], u[2] * v[0] - u[0] * v[2], u[0] * v[1] - u[1] * v[0]};
  };
  auto dot = [](const V3& u, const V3& v) { return u[0] * v[0] + u[1] * v[1] + u[2] * v[2]; };
  const V3 n = cross(sub(b, a), sub(c, a));
  const double nn = dot(n, n);
  const double tol = 1e-9;
  if (nn == 0) {
    // A segment: x on it.
    const V3* ends[3] = {&a, &b, &c};
    double best = -1;
    V3 lo = a, hi = a;
    for (int i = 0; i < 3; ++i)
      for (int j = i + 1; j < 3; ++j) {
        const V3 d = sub(*ends[j], *ends[i]);
        if (dot(d, d) > best) best = dot(d, d), lo = *ends[i], hi = *ends[j];
      }
    const V3 d = sub(hi, lo), w = sub(x, lo);
    if (best == 0) return std::sqrt(dot(w, w)) <= tol;
    const double t = std::clamp(dot(w, d) / best, 0.0, 1.0);
    const V3 f{lo[0] + t * d[0] - x[0], lo[1] + t * d[1] - x[1], lo[2] + t * d[2] - x[2]};
    return std::sqrt(dot(f, f)) <= tol;
  }
  if (std::fabs(dot(sub(x, a), n)) > tol * std::sqrt(nn)) return false;
  return dot(cross(sub(b, x), sub(c, x)), n) >= -tol * nn &&
         dot(cross(sub(c, x), sub(a, x)), n) >= -tol * nn && dot(cross(sub(a, x), sub(b, x)), n) >= -tol * nn;
}

class TGen
{
public:
  explicit TGen(unsigned seed) : rng(seed) {}
  long long Int(long long lo, long long hi) { return std::uniform_int_distribution<long long>(lo, hi)(rng); }
  I3 Point(long long r) { return {Int(-r, r), Int(-r, r), Int(-r, r)}; }

  // One random pair of a kind chosen at random: general, small-range (many touching
  // contacts), coplanar in an axis or oblique plane, sharing vertices, or flat.
  void Pair(I3 (&t1)[3], I3 (&t2)[3])
  {
    const int kind = int(Int(0, 7));
    const long long r = kind == 0 ? 20 : Int(1, 3);
    for (int i = 0; i < 3; ++i) {
      t1[i] = Point(r);
      t2[i] = Point(r);
    }
    switch (kind) {
    case 2: { // one plane z = k
      const long long k = Int(-2, 2);
      for (int i = 0; i < 3; ++i)
        t1[i][2] = t2[i][2] = k;
      break;
    }
    case 3: { // one oblique plane o + i u + j v
      const I3 o = Point(3), u = Point(2), v = Point(2);
      for (I3* t : {t1, t2})
        for (int i = 0; i < 3; ++i) {
          const long long a = Int(-3, 3), b = Int(-3, 3);
          for (int k = 0; k < 3; ++k)
            t[i][k] = o[k] + a * u[k] + b * v[k];
        }
      break;
    }
    case 4: // shared vertices
      t2[0] = t1[Int(0, 2)];
      if (Int(0, 1)) t2[1] = t1[Int(0, 2)];
      break;
    case 5:
    case 6: { // a flat triangle (segment or point), sometimes both
      for (I3* t : {t1, t2}) {
        if (t == t2 && kind == 5) break;
        const I3 o = Point(r), d = Point(2);
        for (int i = 0; i < 3; ++i) {
          const long long s = Int(-2, 2);
          for (int k = 0; k < 3; ++k)
            t[i][k] = o[k] + s * d[k];
        }
      }
      if (Int(0, 1)) std::swap(t1, t2);
      if (Int(0, 3) == 0) // flat and coplanar in z = 0
        for (I3* t : {t1, t2})
          for (int i = 0; i < 3; ++i)
            t[i][2] = 0;
      break;
    }
    default:
      break;
    }
  }

private:
  std::mt19937_64 rng;
};

TEST(TriTriDifferential, OverlapAndIntersectionMatchExactOracle)
{
  TGen gen(20261206);
  int mismatch = 0, checked = 0, flat = 0, meets = 0, coplanarSeen = 0;
  for (int n = 0; n < 200000; ++n) {
    I3 t1[3], t2[3];
    gen.Pair(t1, t2);
    const bool truth = OracleMeet(t1, t2);
    const V3 p1 = ToD(t1[0]), q1 = ToD(t1[1]), r1 = ToD(t1[2]);
    const V3 p2 = ToD(t2[0]), q2 = ToD(t2[1]), r2 = ToD(t2[2]);
    const int o = Overlap3(p1, q1, r1, p2, q2, r2);
    const TMeet m = Meet(p1, q1, r1, p2, q2, r2);
    ++checked;
    flat += Flat(t1) || Flat(t2);
    meets += truth;
    coplanarSeen += m.coplanar;
    if (o != int(truth) || m.result != int(truth)) {
      if (++mismatch <= 5)
        ADD_FAILURE() << "pair " << n << ": oracle " << truth << ", overlap " << o << ", intersection "
                      << m.result << " " << testing::PrintToString(t1) << " | " << testing::PrintToString(t2);
      continue;
    }
    if (m.result == 1 && !m.coplanar) {
      // The segment's ends lie in both triangles.
      for (const V3* x : {&m.source, &m.target}) {
        EXPECT_TRUE(NearTriangle(*x, t1) && NearTriangle(*x, t2)) << "pair " << n;
      }
    } else {
      EXPECT_EQ(m.source, kUntouched) << "pair " << n;
      EXPECT_EQ(m.target, kUntouched) << "pair " << n;
    }
    // Winding and order of the triangles do not matter.
    EXPECT_EQ(Overlap3(q2, p2, r2, r1, p1, q1), o) << "pair " << n;
  }
  EXPECT_EQ(mismatch, 0);
  // The mix really holds every kind of configuration.
  EXPECT_GT(flat, checked / 10);
  EXPECT_GT(meets, checked / 5);
  EXPECT_LT(meets, checked * 4 / 5);
  EXPECT_GT(coplanarSeen, checked / 10);
}

TEST(TriTriDifferential, PlaneTestMatchesExactOracle)
{
  TGen gen(77);
  int mismatch = 0;
  for (int n = 0; n < 100000; ++n) {
    I3 t1[3], t2[3];
    gen.Pair(t1, t2);
    for (I3* t : {t1, t2})
      for (int i = 0; i < 3; ++i)
        t[i][2] = 0;
    const bool truth = OracleMeet(t1, t2);
    auto d2 = [](const I3& v) { return V2{double(v[0]), double(v[1])}; };
    const int o = Overlap2(d2(t1[0]), d2(t1[1]), d2(t1[2]), d2(t2[0]), d2(t2[1]), d2(t2[2]));
    if (o != int(truth) && ++mismatch <= 5)
      ADD_FAILURE() << "pair " << n << ": oracle " << truth << ", plane test " << o;
    // In z = 0 the spatial test gives the same answer.
    EXPECT_EQ(Overlap3(ToD(t1[0]), ToD(t1[1]), ToD(t1[2]), ToD(t2[0]), ToD(t2[1]), ToD(t2[2])), o) << n;
  }
  EXPECT_EQ(mismatch, 0);
}

} // namespace
