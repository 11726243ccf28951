// The triangle tests against an exact reference (CGAL's exact-predicates kernel) on random pairs
// with small-integer or half-integer coordinates: every product the tests form is then exact, so
// every answer must agree, touching, coplanar and flat pairs included. HXCAD_TRI_PAIRS sets the
// number of pairs per sweep (default 10000; the full run uses 1000000).
#include <gtest/gtest.h>

#include <CGAL/Exact_predicates_exact_constructions_kernel.h>
#include <CGAL/Exact_predicates_inexact_constructions_kernel.h>
#include <CGAL/intersections.h>

#include <array>
#include <cmath>
#include <cstdlib>
#include <random>
#include <variant>

#include "hxcadkit/geometry/Elements.h"
#include "hxcadkit/geometry/Mathemat3d.h"

namespace {

using K = CGAL::Exact_predicates_inexact_constructions_kernel;
using KE = CGAL::Exact_predicates_exact_constructions_kernel; // the segment, exactly
using V3 = std::array<double, 3>;
using Tri3 = std::array<V3, 6>; // p1, q1, r1, p2, q2, r2

long Pairs()
{
  const char* e = std::getenv("HXCAD_TRI_PAIRS");
  return e ? std::max(1L, std::atol(e)) : 10000L;
}

K::Point_3 P3(const V3& v)
{
  return {v[0], v[1], v[2]};
}

// A triangle as the object it is: a point, the segment between its two farthest vertices, or a
// triangle.
template <class Pt, class Seg, class Tr>
std::variant<Pt, Seg, Tr> Shape(const Pt& a, const Pt& b, const Pt& c)
{
  if (!CGAL::collinear(a, b, c)) return Tr(a, b, c);
  if (a == b && b == c) return a;
  const Pt* e[3][2] = {{&a, &b}, {&b, &c}, {&a, &c}};
  int best = 0;
  for (int i = 1; i < 3; ++i)
    if (CGAL::compare_squared_distance(*e[i][0], *e[i][1],
                                       CGAL::squared_distance(*e[best][0], *e[best][1])) == CGAL::LARGER)
      best = i;
  return Seg(*e[best][0], *e[best][1]);
}

template <class Var> bool Meet(const Var& a, const Var& b)
{
  return std::visit([](const auto& x, const auto& y) { return CGAL::do_intersect(x, y); }, a, b);
}

// Random pairs of one family; coordinates are integers in [-4, 4], or half-integers where a vertex
// is put on an edge of the other triangle.
Tri3 RandomPair(std::mt19937& g, int family)
{
  std::uniform_int_distribution<int> c(-4, 4), pick(0, 2);
  auto rnd = [&] { return V3{double(c(g)), double(c(g)), double(c(g))}; };
  Tri3 t;
  for (V3& v : t)
    v = rnd();
  switch (family) {
  case 1: { // both in one plane o + a u + b v
    const V3 o = rnd(), u = rnd(), w = rnd();
    std::uniform_int_distribution<int> ab(-2, 2);
    for (V3& v : t) {
      const int a = ab(g), b = ab(g);
      for (int k = 0; k < 3; ++k)
        v[k] = o[k] + a * u[k] + b * w[k];
    }
    break;
  }
  case 2: // shared vertices or a shared edge
    t[3] = t[pick(g)];
    if (pick(g) == 0) t[4] = t[(pick(g) + 1) % 3];
    break;
  case 3: // a vertex on an edge of the other triangle
    for (int k = 0; k < 3; ++k)
      t[3][k] = (t[0][k] + t[1][k]) / 2;
    break;
  case 4: { // flat triangles: collinear or coincident vertices
    const int which = pick(g) == 0 ? 3 : 0, m = pick(g);
    for (int k = 0; k < 3; ++k)
      t[which + 2][k] = t[which][k] + (m - 1) * (t[which + 1][k] - t[which][k]);
    if (pick(g) == 0) t[which + 1] = t[which];
    break;
  }
  default:
    break;
  }
  return t;
}

TEST(TriTriOracle, SpatialTestsAgreeWithTheExactKernel)
{
  std::mt19937 g(2024);
  long segments = 0;
  for (long n = 0; n < Pairs(); ++n) {
    const Tri3 t = RandomPair(g, int(n % 5));
    const auto a = Shape<K::Point_3, K::Segment_3, K::Triangle_3>(P3(t[0]), P3(t[1]), P3(t[2]));
    const auto b = Shape<K::Point_3, K::Segment_3, K::Triangle_3>(P3(t[3]), P3(t[4]), P3(t[5]));
    const bool ref = Meet(a, b);
    const bool flat = a.index() != 2 || b.index() != 2;
    bool inPlane = true;
    for (int i = 0; i < 6; ++i) // every vertex in the other triangle's plane
      inPlane = inPlane && CGAL::coplanar(P3(t[i < 3 ? 3 : 0]), P3(t[i < 3 ? 4 : 1]), P3(t[i < 3 ? 5 : 2]),
                                          P3(t[size_t(i)]));
    const double* v[6] = {t[0].data(), t[1].data(), t[2].data(), t[3].data(), t[4].data(), t[5].data()};
    ASSERT_EQ(tri_tri_overlap_test_3d(v[0], v[1], v[2], v[3], v[4], v[5]), int(ref)) << "pair " << n;

    int coplanar = 0;
    V3 source{NAN, NAN, NAN}, target = source;
    const int meet = tri_tri_intersection_test_3d(v[0], v[1], v[2], v[3], v[4], v[5], &coplanar,
                                                  source.data(), target.data());
    ASSERT_EQ(meet, int(ref)) << "pair " << n;
    if (!flat) {
      ASSERT_EQ(coplanar, int(inPlane)) << "pair " << n;
    }
    if (!meet || coplanar) continue;
    // The segment: its ends lie on both objects, and for proper triangles they are the ends of
    // the exact intersection.
    for (const V3* e : {&source, &target})
      for (const auto* s : {&a, &b})
        ASSERT_LT(std::visit([&](const auto& x) { return CGAL::squared_distance(P3(*e), x); }, *s), 1e-20)
            << "pair " << n;
    if (flat) continue;
    const CGAL::Cartesian_converter<K, KE> exact;
    const auto x = CGAL::intersection(exact(std::get<2>(a)), exact(std::get<2>(b)));
    ASSERT_TRUE(x);
    std::array<K::Point_3, 2> ends;
    auto approx = [](const KE::Point_3& p) {
      return K::Point_3(CGAL::to_double(p.x()), CGAL::to_double(p.y()), CGAL::to_double(p.z()));
    };
    if (const auto* p = boost::get<KE::Point_3>(&*x))
      ends = {approx(*p), approx(*p)};
    else if (const auto* s = boost::get<KE::Segment_3>(&*x))
      ends = {approx(s->source()), approx(s->target())};
    else
      FAIL() << "pair " << n << ": not a point or segment";
    const bool same =
        CGAL::squared_distance(P3(source), ends[0]) + CGAL::squared_distance(P3(target), ends[1]) < 1e-20;
    const bool swapped =
        CGAL::squared_distance(P3(source), ends[1]) + CGAL::squared_distance(P3(target), ends[0]) < 1e-20;
    ASSERT_TRUE(same || swapped) << "pair " << n;
    ++segments;
  }
  EXPECT_GT(segments, Pairs() / 20);
}

TEST(TriTriOracle, PlaneTestAgreesWithTheExactKernel)
{
  std::mt19937 g(7);
  for (long n = 0; n < Pairs(); ++n) {
    const Tri3 t = RandomPair(g, int(n % 5));
    std::array<K::Point_2, 6> p;
    for (int i = 0; i < 6; ++i)
      p[size_t(i)] = K::Point_2(t[size_t(i)][0], t[size_t(i)][1]);
    const bool ref = Meet(Shape<K::Point_2, K::Segment_2, K::Triangle_2>(p[0], p[1], p[2]),
                          Shape<K::Point_2, K::Segment_2, K::Triangle_2>(p[3], p[4], p[5]));
    ASSERT_EQ(
        tri_tri_overlap_test_2d(t[0].data(), t[1].data(), t[2].data(), t[3].data(), t[4].data(), t[5].data()),
        int(ref))
        << "pair " << n;
  }
}

// The shadow tests on a grid of 64 mm (the pairs scaled by 128): every non-zero distance of a vertex
// to an edge's line is then above 0.5 mm and every edge longer, so the 0.5 mm play of the
// separating-edge test decides only touching pairs, which it counts as apart. The reference: the
// open XY projections overlap (their intersection has an area), and for the area test that area is
// above 4 % of both projections, with the Z and slope conditions of the test.
TEST(TriangleShadowOracle, AgreesWithExactProjections)
{
  std::mt19937 g(99);
  const long pairs = Pairs();
  for (long n = 0; n < pairs; ++n) {
    Tri3 t = RandomPair(g, int(n % 4));
    for (V3& v : t)
      for (double& c : v)
        c *= 128;
    const TTriangle3D T1(TPoint3D(t[0][0], t[0][1], t[0][2]), TPoint3D(t[1][0], t[1][1], t[1][2]),
                         TPoint3D(t[2][0], t[2][1], t[2][2]));
    const TTriangle3D T2(TPoint3D(t[3][0], t[3][1], t[3][2]), TPoint3D(t[4][0], t[4][1], t[4][2]),
                         TPoint3D(t[5][0], t[5][1], t[5][2]));
    const K::Triangle_2 a({t[0][0], t[0][1]}, {t[1][0], t[1][1]}, {t[2][0], t[2][1]});
    const K::Triangle_2 b({t[3][0], t[3][1]}, {t[4][0], t[4][1]}, {t[5][0], t[5][1]});
    if (a.is_degenerate() || b.is_degenerate()) {
      if (b.is_degenerate()) {
        EXPECT_FALSE(T1.T2ShadowUp(T2) || T1.T2ShadowDn(T2)) << "pair " << n;
      }
      continue;
    }
    double area = 0;
    if (const auto x = CGAL::intersection(a, b)) {
      if (const auto* tr = boost::get<K::Triangle_2>(&*x)) area = std::abs(tr->area());
      if (const auto* poly = boost::get<std::vector<K::Point_2>>(&*x))
        for (size_t i = 0; i < poly->size(); ++i)
          area +=
              CGAL::determinant((*poly)[i] - CGAL::ORIGIN, (*poly)[(i + 1) % poly->size()] - CGAL::ORIGIN) /
              2;
      area = std::abs(area);
    }
    // Touching projections can come back as a polygon of collinear points built in doubles.
    const bool overlap = area > 1e-6;
    ASSERT_EQ(T1.OverlapXOY(T2), overlap) << "pair " << n << " area " << area;
    const TVector3D nrm = T2.Normal();
    ASSERT_EQ(T1.T2ShadowUp(T2), overlap && std::abs(nrm.z) > 0.0005) << "pair " << n;

    const double a1 = std::abs(a.area()), a2 = std::abs(b.area());
    const double z1 = std::max({t[0][2], t[1][2], t[2][2]}), z2 = std::min({t[3][2], t[4][2], t[5][2]});
    const bool steep = std::abs(nrm.z) <= 0.004363309284746571;
    // Skip areas within rounding of the bounds (4 % of a projection, or all of it when one contains
    // the other), where the clip's own rounding decides.
    bool edge = false;
    for (double bound : {0.04 * a1, 0.04 * a2, a1, a2})
      edge = edge || std::abs(area - bound) < 1e-9 * (a1 + a2);
    if (edge) continue;
    const bool dn = !steep && z1 > z2 && area > 0.04 * a1 && area > 0.04 * a2;
    ASSERT_EQ(T1.T2ShadowDn(T2), dn) << "pair " << n;
  }
}

// Regression: an end point whose edge runs along the other triangle's plane to rounding used to
// come out infinite (a zero divisor); it is now the edge's vertex on that plane.
TEST(TriTriIntersection, ZeroDivisorGivesAFiniteEnd)
{
  const V3 p1{0x1.22e65d213b091p-3, 0x1.8514fbc1fa08ep-2, -0x1.8514fbc1fa08dp-2};
  const V3 q1{0x1.e7582bd87e9ap-3, -0x1.857e38022eaabp+10, -0x1.9f02a0e8a7dap+9};
  const V3 r1{0x1.4b4b70ec7c20bp-2, -0x1.576f215acafbcp+4, 0x1.576f215acafbcp+4};
  const V3 p2{1, 0, 0}, q2{0, 1, -1}, r2{0, 0, 0};
  int coplanar = 0;
  V3 ends[2];
  ASSERT_EQ(tri_tri_intersection_test_3d(p1.data(), q1.data(), r1.data(), p2.data(), q2.data(), r2.data(),
                                         &coplanar, ends[0].data(), ends[1].data()),
            1);
  EXPECT_EQ(coplanar, 0);
  for (const V3& x : ends) {
    EXPECT_NEAR(x[1] + x[2], 0.0, 1e-12);
    EXPECT_NEAR(x[0], p1[0], 1e-9);
    EXPECT_NEAR(x[1], p1[1], 1e-9);
  }
}

TEST(TriTriIntersection, NonFiniteCoordinatesAnswerWithoutFault)
{
  const double nan = std::nan(""), inf = HUGE_VAL;
  const V3 a{0, 0, 0}, b{4, 0, 0}, c{0, 4, 0}, d{1, 1, -1}, e{1, 1, 1};
  for (const V3& bad : {V3{nan, 0, 0}, V3{inf, 1, 1}, V3{-inf, inf, 0}, V3{nan, nan, nan}}) {
    int coplanar = 0;
    V3 s, t;
    EXPECT_LE(tri_tri_overlap_test_3d(bad.data(), b.data(), c.data(), a.data(), b.data(), e.data()), 1);
    EXPECT_LE(tri_tri_intersection_test_3d(a.data(), bad.data(), c.data(), d.data(), e.data(), bad.data(),
                                           &coplanar, s.data(), t.data()),
              1);
    EXPECT_LE(tri_tri_overlap_test_2d(bad.data(), b.data(), c.data(), d.data(), bad.data() + 1, a.data()), 1);
  }
}

} // namespace
