#include "hxcadkit/geometry/Mathemat3d.h"

#include <cmath>

// The sign tests depend on the exact floating-point value of each expression, so every
// difference, cross and dot product below keeps one fixed form: dots sum (x + y) + z, and the
// plane orientation subtracts its third point.

namespace {

using P = const double*;

inline void Sub(double* r, P a, P b)
{
  r[0] = a[0] - b[0];
  r[1] = a[1] - b[1];
  r[2] = a[2] - b[2];
}

inline void Cross(double* r, P u, P v)
{
  r[0] = u[1] * v[2] - u[2] * v[1];
  r[1] = u[2] * v[0] - u[0] * v[2];
  r[2] = u[0] * v[1] - u[1] * v[0];
}

inline double Dot(P u, P v)
{
  return (u[0] * v[0] + u[1] * v[1]) + u[2] * v[2];
}

// Positive when a, b, c turn counter-clockwise.
inline double Orient2d(P a, P b, P c)
{
  return (a[0] - c[0]) * (b[1] - c[1]) - (a[1] - c[1]) * (b[0] - c[0]);
}

inline bool IsZero3(P v)
{
  return v[0] == 0.0 && v[1] == 0.0 && v[2] == 0.0;
}

inline int Sign(double x)
{
  return (x > 0.0) - (x < 0.0);
}

// ---- Exact tests on the segments and points that degenerate triangles reduce to --------------

// The two vertices farthest apart along the axis of largest spread: the ends of the segment that
// three collinear points span (one point twice when they coincide).
void Hull(P v0, P v1, P v2, int dims, P& lo, P& hi)
{
  const P v[3] = {v0, v1, v2};
  int axis = 0;
  double best = -1.0;
  for (int k = 0; k < dims; ++k) {
    const double range =
        std::fmax(v0[k], std::fmax(v1[k], v2[k])) - std::fmin(v0[k], std::fmin(v1[k], v2[k]));
    if (range > best) {
      best = range;
      axis = k;
    }
  }
  int iLo = 0, iHi = 0;
  for (int i = 1; i < 3; ++i) {
    if (v[i][axis] < v[iLo][axis]) iLo = i;
    if (v[i][axis] > v[iHi][axis]) iHi = i;
  }
  lo = v[iLo];
  hi = v[iHi];
}

// c within the box of a and b: on the segment when the three are known to be collinear.
bool InBox(P c, P a, P b, int dims)
{
  for (int k = 0; k < dims; ++k)
    if (c[k] < std::fmin(a[k], b[k]) || c[k] > std::fmax(a[k], b[k])) return false;
  return true;
}

// Closed segments [a, b] and [c, d] in the plane, either possibly a single point.
int SegSeg2d(P a, P b, P c, P d)
{
  const double o1 = Orient2d(a, b, c), o2 = Orient2d(a, b, d);
  const double o3 = Orient2d(c, d, a), o4 = Orient2d(c, d, b);
  if (Sign(o1) * Sign(o2) < 0 && Sign(o3) * Sign(o4) < 0) return 1;
  if (o1 == 0.0 && InBox(c, a, b, 2)) return 1;
  if (o2 == 0.0 && InBox(d, a, b, 2)) return 1;
  if (o3 == 0.0 && InBox(a, c, d, 2)) return 1;
  if (o4 == 0.0 && InBox(b, c, d, 2)) return 1;
  return 0;
}

// x in the closed, non-degenerate triangle p, q, r of either winding.
bool InTri2d(P x, P p, P q, P r)
{
  const double s1 = Orient2d(p, q, x), s2 = Orient2d(q, r, x), s3 = Orient2d(r, p, x);
  return (s1 >= 0.0 && s2 >= 0.0 && s3 >= 0.0) || (s1 <= 0.0 && s2 <= 0.0 && s3 <= 0.0);
}

int SegTri2d(P a, P b, P p, P q, P r)
{
  return InTri2d(a, p, q, r) || InTri2d(b, p, q, r) || SegSeg2d(a, b, p, q) || SegSeg2d(a, b, q, r) ||
         SegSeg2d(a, b, r, p);
}

// The plane pair of a triangle with a zero orientation: answered as the segment or point it is.
int DegenerateOverlap2d(P p1, P q1, P r1, double o1, P p2, P q2, P r2, double o2)
{
  P a1, b1, a2, b2;
  if (o1 == 0.0 && o2 == 0.0) {
    Hull(p1, q1, r1, 2, a1, b1);
    Hull(p2, q2, r2, 2, a2, b2);
    return SegSeg2d(a1, b1, a2, b2);
  }
  if (o1 == 0.0) {
    Hull(p1, q1, r1, 2, a1, b1);
    return SegTri2d(a1, b1, p2, q2, r2);
  }
  Hull(p2, q2, r2, 2, a2, b2);
  return SegTri2d(a2, b2, p1, q1, r1);
}

// v projected on the coordinate plane across the axis where n is largest.
void Project(P v, P n, double* out)
{
  const double nx = std::fabs(n[0]), ny = std::fabs(n[1]), nz = std::fabs(n[2]);
  const int drop = (nx >= ny && nx >= nz) ? 0 : (ny >= nz ? 1 : 2);
  out[0] = v[(drop + 1) % 3];
  out[1] = v[(drop + 2) % 3];
}

// Closed segments [a, b] and [c, d] in space, either possibly a single point; inPlane tells
// whether the two lie in one plane.
int SegSeg3d(P a, P b, P c, P d, bool& inPlane)
{
  double u[3], w[3], n[3], e[3];
  Sub(u, b, a);
  Sub(w, d, c);
  Cross(n, u, w);
  inPlane = true;
  if (IsZero3(n)) {
    // Parallel, or one of them a point: they meet only where an end of one lies on the other.
    auto onSeg = [](P x, P s, P t) {
      double st[3], sx[3], cr[3];
      Sub(st, t, s);
      Sub(sx, x, s);
      Cross(cr, st, sx);
      return IsZero3(cr) && InBox(x, s, t, 3);
    };
    return onSeg(c, a, b) || onSeg(d, a, b) || onSeg(a, c, d) || onSeg(b, c, d);
  }
  Sub(e, c, a);
  if (Dot(e, n) != 0.0) {
    inPlane = false;
    return 0;
  }
  double A[2], B[2], C[2], D[2];
  Project(a, n, A);
  Project(b, n, B);
  Project(c, n, C);
  Project(d, n, D);
  return SegSeg2d(A, B, C, D);
}

// ((b - a) x (c - a)) . (d - a)
double Volume(P a, P b, P c, P d)
{
  double u[3], v[3], w[3], n[3];
  Sub(u, b, a);
  Sub(v, c, a);
  Sub(w, d, a);
  Cross(n, u, v);
  return Dot(n, w);
}

// a - alpha (a - c) with alpha = num / den. The denominator is non-zero in exact arithmetic;
// should rounding make it zero, or the quotient not finite, the vertex a stands for the point.
void EdgePoint(double* out, P a, P c, double num, double den)
{
  double alpha = den != 0.0 ? num / den : 0.0;
  if (!std::isfinite(alpha)) alpha = 0.0;
  double v[3];
  Sub(v, a, c);
  v[0] = alpha * v[0];
  v[1] = alpha * v[1];
  v[2] = alpha * v[2];
  Sub(out, a, v);
}

// Closed segment [a, b] (possibly a point) against the non-degenerate triangle p, q, r with
// normal N. inPlane tells whether the segment lies in the triangle's plane; when it crosses the
// plane at one point inside the triangle, that point is written to at (when given).
int SegTri3d(P a, P b, P p, P q, P r, P N, bool& inPlane, double* at)
{
  double v[3];
  Sub(v, a, r);
  const double da = Dot(v, N);
  Sub(v, b, r);
  const double db = Dot(v, N);
  inPlane = false;
  if ((da > 0.0 && db > 0.0) || (da < 0.0 && db < 0.0)) return 0;
  if (da == 0.0 && db == 0.0) {
    inPlane = true;
    double A[2], B[2], P2[2], Q2[2], R2[2];
    Project(a, N, A);
    Project(b, N, B);
    Project(p, N, P2);
    Project(q, N, Q2);
    Project(r, N, R2);
    return SegTri2d(A, B, P2, Q2, R2);
  }
  // The segment crosses the plane at one point: inside the triangle when the line through it
  // passes no edge of the triangle on different sides.
  const double s1 = Volume(a, b, p, q), s2 = Volume(a, b, q, r), s3 = Volume(a, b, r, p);
  const bool meets = (s1 >= 0.0 && s2 >= 0.0 && s3 >= 0.0) || (s1 <= 0.0 && s2 <= 0.0 && s3 <= 0.0);
  if (!meets) return 0;
  if (at) {
    Sub(v, a, b);
    EdgePoint(at, a, b, da, Dot(v, N));
  }
  return 1;
}

// A pair in space of which at least one triangle has a zero normal. inPlane tells whether the
// two lie in one plane; a single crossing point is written to at (when given).
int DegenerateMeet3d(P p1, P q1, P r1, P N1, P p2, P q2, P r2, P N2, bool& inPlane, double* at)
{
  const bool deg1 = IsZero3(N1), deg2 = IsZero3(N2);
  P a1, b1, a2, b2;
  if (deg1 && deg2) {
    Hull(p1, q1, r1, 3, a1, b1);
    Hull(p2, q2, r2, 3, a2, b2);
    return SegSeg3d(a1, b1, a2, b2, inPlane);
  }
  if (deg1) {
    Hull(p1, q1, r1, 3, a1, b1);
    return SegTri3d(a1, b1, p2, q2, r2, N2, inPlane, at);
  }
  Hull(p2, q2, r2, 3, a2, b2);
  return SegTri3d(a2, b2, p1, q1, r1, N1, inPlane, at);
}

// ---- Canonical vertex orders -----------------------------------------------------------------

// Brings the second triangle (d, e, f) with its plane sides (sd, se, sf) into the order where
// d lies alone on its side of the first triangle's plane, exchanging the first triangle's
// second and third vertices where that keeps the pair's orientation, and hands over to the
// kernel's final step (or its coplanar branch).
template <class K> int SecondOrder(K& k, P a, P b, P c, P d, P e, P f, double sd, double se, double sf)
{
  if (sd > 0.0) {
    if (se > 0.0) return k.Final(a, c, b, f, d, e);
    if (sf > 0.0) return k.Final(a, c, b, e, f, d);
    return k.Final(a, b, c, d, e, f);
  }
  if (sd < 0.0) {
    if (se < 0.0) return k.Final(a, b, c, f, d, e);
    if (sf < 0.0) return k.Final(a, b, c, e, f, d);
    return k.Final(a, c, b, d, e, f);
  }
  if (se < 0.0) {
    if (sf >= 0.0) return k.Final(a, c, b, e, f, d);
    return k.Final(a, b, c, d, e, f);
  }
  if (se > 0.0) {
    if (sf > 0.0) return k.Final(a, c, b, d, e, f);
    return k.Final(a, b, c, e, f, d);
  }
  if (sf > 0.0) return k.Final(a, b, c, f, d, e);
  if (sf < 0.0) return k.Final(a, c, b, f, d, e);
  return k.Coplanar(a, b, c, d, e, f);
}

// The same for the first triangle against the second one's plane; the exchanges act on the
// second triangle together with its sides.
template <class K>
int FirstOrder(K& k, P p1, P q1, P r1, P p2, P q2, P r2, double dp1, double dq1, double dr1, double dp2,
               double dq2, double dr2)
{
  if (dp1 > 0.0) {
    if (dq1 > 0.0) return SecondOrder(k, r1, p1, q1, p2, r2, q2, dp2, dr2, dq2);
    if (dr1 > 0.0) return SecondOrder(k, q1, r1, p1, p2, r2, q2, dp2, dr2, dq2);
    return SecondOrder(k, p1, q1, r1, p2, q2, r2, dp2, dq2, dr2);
  }
  if (dp1 < 0.0) {
    if (dq1 < 0.0) return SecondOrder(k, r1, p1, q1, p2, q2, r2, dp2, dq2, dr2);
    if (dr1 < 0.0) return SecondOrder(k, q1, r1, p1, p2, q2, r2, dp2, dq2, dr2);
    return SecondOrder(k, p1, q1, r1, p2, r2, q2, dp2, dr2, dq2);
  }
  if (dq1 < 0.0) {
    if (dr1 >= 0.0) return SecondOrder(k, q1, r1, p1, p2, r2, q2, dp2, dr2, dq2);
    return SecondOrder(k, p1, q1, r1, p2, q2, r2, dp2, dq2, dr2);
  }
  if (dq1 > 0.0) {
    if (dr1 > 0.0) return SecondOrder(k, p1, q1, r1, p2, r2, q2, dp2, dr2, dq2);
    return SecondOrder(k, q1, r1, p1, p2, q2, r2, dp2, dq2, dr2);
  }
  if (dr1 > 0.0) return SecondOrder(k, r1, p1, q1, p2, q2, r2, dp2, dq2, dr2);
  if (dr1 < 0.0) return SecondOrder(k, r1, p1, q1, p2, r2, q2, dp2, dr2, dq2);
  return k.Coplanar(p1, q1, r1, p2, q2, r2);
}

// The plane sides and normals shared by the overlap and the intersection test.
struct TPlaneSides
{
  double N1[3], N2[3];
  double dp1, dq1, dr1, dp2, dq2, dr2;
};

// 0: the first triangle lies strictly on one side of the second one's plane; 1: a triangle is
// degenerate (a zero normal); 2: the sides of the second triangle are known too, continue.
int PlaneSides(P p1, P q1, P r1, P p2, P q2, P r2, TPlaneSides& s)
{
  double v1[3], v2[3];
  Sub(v1, p2, r2);
  Sub(v2, q2, r2);
  Cross(s.N2, v1, v2);
  Sub(v1, p1, r2);
  s.dp1 = Dot(v1, s.N2);
  Sub(v1, q1, r2);
  s.dq1 = Dot(v1, s.N2);
  Sub(v1, r1, r2);
  s.dr1 = Dot(v1, s.N2);
  if (s.dp1 * s.dq1 > 0.0 && s.dp1 * s.dr1 > 0.0) return 0;

  Sub(v1, q1, p1);
  Sub(v2, r1, p1);
  Cross(s.N1, v1, v2);
  if (IsZero3(s.N1) || IsZero3(s.N2)) return 1;
  Sub(v1, p2, r1);
  s.dp2 = Dot(v1, s.N1);
  Sub(v1, q2, r1);
  s.dq2 = Dot(v1, s.N1);
  Sub(v1, r2, r1);
  s.dr2 = Dot(v1, s.N1);
  if (s.dp2 * s.dq2 > 0.0 && s.dp2 * s.dr2 > 0.0) return 0;
  return 2;
}

struct TOverlapKernel
{
  const double* N1;
  const double* N2;

  // The two intervals on the line common to both planes, from a and d (each alone on its side).
  int Final(P a, P b, P c, P d, P e, P f) const
  {
    double v1[3], v2[3], n[3];
    Sub(v1, d, b);
    Sub(v2, a, b);
    Cross(n, v1, v2);
    Sub(v1, e, b);
    if (Dot(v1, n) > 0.0) return 0;
    Sub(v1, d, a);
    Sub(v2, c, a);
    Cross(n, v1, v2);
    Sub(v1, f, a);
    if (Dot(v1, n) > 0.0) return 0;
    return 1;
  }
  int Coplanar(P a, P b, P c, P d, P e, P f) const { return coplanar_tri_tri3d(a, b, c, d, e, f, N1, N2); }
};

struct TIntersectionKernel
{
  const double* N1;
  const double* N2;
  int* coplanar;
  double* source;
  double* target;

  // Where the edge a-c crosses the second triangle's plane (d lies in it).
  void X(double* out, P a, P c, P d) const
  {
    double v1[3], v2[3];
    Sub(v1, a, d);
    Sub(v2, a, c);
    EdgePoint(out, a, c, Dot(v1, N2), Dot(v2, N2));
  }
  // Where the edge d-f crosses the first triangle's plane (a lies in it).
  void Y(double* out, P d, P f, P a) const
  {
    double v1[3], v2[3];
    Sub(v1, d, a);
    Sub(v2, d, f);
    EdgePoint(out, d, f, Dot(v1, N1), Dot(v2, N1));
  }

  int Final(P a, P b, P c, P d, P e, P f) const
  {
    double v[3], v1[3], v2[3], n[3];
    Sub(v, d, a);
    Sub(v1, b, a);
    Sub(v2, f, a);
    Cross(n, v1, v2);
    if (Dot(v, n) > 0.0) {
      Sub(v1, c, a);
      Cross(n, v1, v2);
      if (Dot(v, n) > 0.0) return 0;
      Sub(v2, e, a);
      Cross(n, v1, v2);
      if (Dot(v, n) > 0.0) {
        X(source, a, c, d);
        Y(target, d, f, a);
      } else {
        Y(source, d, e, a);
        Y(target, d, f, a);
      }
      return 1;
    }
    Sub(v2, e, a);
    Cross(n, v1, v2);
    if (Dot(v, n) < 0.0) return 0;
    Sub(v1, c, a);
    Cross(n, v1, v2);
    if (Dot(v, n) >= 0.0) {
      X(source, a, c, d);
      X(target, a, b, d);
    } else {
      Y(source, d, e, a);
      X(target, a, b, d);
    }
    return 1;
  }
  int Coplanar(P a, P b, P c, P d, P e, P f) const
  {
    *coplanar = 1;
    return coplanar_tri_tri3d(a, b, c, d, e, f, N1, N2);
  }
};

// ---- Plane test: the two checks of the counter-clockwise core ---------------------------------

// p1 lies beyond the edge r2-p2 only.
int EdgeCheck(P P1, P Q1, P R1, P P2, P Q2, P R2)
{
  (void)Q2;
  if (Orient2d(R2, P2, Q1) >= 0.0) {
    if (Orient2d(P1, P2, Q1) >= 0.0) return Orient2d(P1, Q1, R2) >= 0.0 ? 1 : 0;
    if (Orient2d(Q1, R1, P2) >= 0.0) return Orient2d(R1, P1, P2) >= 0.0 ? 1 : 0;
    return 0;
  }
  if (Orient2d(R2, P2, R1) >= 0.0 && Orient2d(P1, P2, R1) >= 0.0) {
    if (Orient2d(P1, R1, R2) >= 0.0) return 1;
    return Orient2d(Q1, R1, R2) >= 0.0 ? 1 : 0;
  }
  return 0;
}

// p1 lies beyond both edges that meet at r2.
int VertexCheck(P P1, P Q1, P R1, P P2, P Q2, P R2)
{
  if (Orient2d(R2, P2, Q1) >= 0.0) {
    if (Orient2d(R2, Q2, Q1) <= 0.0) {
      if (Orient2d(P1, P2, Q1) > 0.0) return Orient2d(P1, Q2, Q1) <= 0.0 ? 1 : 0;
      return (Orient2d(P1, P2, R1) >= 0.0 && Orient2d(Q1, R1, P2) >= 0.0) ? 1 : 0;
    }
    return (Orient2d(P1, Q2, Q1) <= 0.0 && Orient2d(R2, Q2, R1) <= 0.0 && Orient2d(Q1, R1, Q2) >= 0.0) ? 1
                                                                                                       : 0;
  }
  if (Orient2d(R2, P2, R1) >= 0.0) {
    if (Orient2d(Q1, R1, R2) >= 0.0) return Orient2d(P1, P2, R1) >= 0.0 ? 1 : 0;
    return (Orient2d(Q1, R1, Q2) >= 0.0 && Orient2d(R2, R1, Q2) >= 0.0) ? 1 : 0;
  }
  return 0;
}

} // namespace

int ccw_tri_tri_intersection_2d(const double* p1, const double* q1, const double* r1, const double* p2,
                                const double* q2, const double* r2)
{
  if (Orient2d(p2, q2, p1) >= 0.0) {
    if (Orient2d(q2, r2, p1) >= 0.0) {
      if (Orient2d(r2, p2, p1) >= 0.0) return 1;
      return EdgeCheck(p1, q1, r1, p2, q2, r2);
    }
    if (Orient2d(r2, p2, p1) >= 0.0) return EdgeCheck(p1, q1, r1, r2, p2, q2);
    return VertexCheck(p1, q1, r1, p2, q2, r2);
  }
  if (Orient2d(q2, r2, p1) >= 0.0) {
    if (Orient2d(r2, p2, p1) >= 0.0) return EdgeCheck(p1, q1, r1, q2, r2, p2);
    return VertexCheck(p1, q1, r1, q2, r2, p2);
  }
  return VertexCheck(p1, q1, r1, r2, p2, q2);
}

int tri_tri_overlap_test_2d(const double* p1, const double* q1, const double* r1, const double* p2,
                            const double* q2, const double* r2)
{
  const double o1 = Orient2d(p1, q1, r1);
  const double o2 = Orient2d(p2, q2, r2);
  // The core takes a point collinear with a flat triangle for a point inside it.
  if (o1 == 0.0 || o2 == 0.0) return DegenerateOverlap2d(p1, q1, r1, o1, p2, q2, r2, o2);
  if (o1 < 0.0) {
    if (o2 < 0.0) return ccw_tri_tri_intersection_2d(p1, r1, q1, p2, r2, q2);
    return ccw_tri_tri_intersection_2d(p1, r1, q1, p2, q2, r2);
  }
  if (o2 < 0.0) return ccw_tri_tri_intersection_2d(p1, q1, r1, p2, r2, q2);
  return ccw_tri_tri_intersection_2d(p1, q1, r1, p2, q2, r2);
}

int coplanar_tri_tri3d(const double* p1, const double* q1, const double* r1, const double* p2,
                       const double* q2, const double* r2, const double* normal_1, const double* normal_2)
{
  (void)normal_2;
  double P1[2], Q1[2], R1[2], P2[2], Q2[2], R2[2];
  const double n_x = std::fabs(normal_1[0]);
  const double n_y = std::fabs(normal_1[1]);
  const double n_z = std::fabs(normal_1[2]);
  auto put = [](double* out, P v, int i, int j) {
    out[0] = v[i];
    out[1] = v[j];
  };
  if (n_x > n_z && n_x >= n_y) {
    // Across x onto (z, y), and below across y onto (x, z), with the first two vertices of each
    // triangle exchanged.
    put(P1, q1, 2, 1), put(Q1, p1, 2, 1), put(R1, r1, 2, 1);
    put(P2, q2, 2, 1), put(Q2, p2, 2, 1), put(R2, r2, 2, 1);
  } else if (n_y > n_z && n_y >= n_x) {
    put(P1, q1, 0, 2), put(Q1, p1, 0, 2), put(R1, r1, 0, 2);
    put(P2, q2, 0, 2), put(Q2, p2, 0, 2), put(R2, r2, 0, 2);
  } else {
    put(P1, p1, 0, 1), put(Q1, q1, 0, 1), put(R1, r1, 0, 1);
    put(P2, p2, 0, 1), put(Q2, q2, 0, 1), put(R2, r2, 0, 1);
  }
  return tri_tri_overlap_test_2d(P1, Q1, R1, P2, Q2, R2);
}

int tri_tri_overlap_test_3d(const double* p1, const double* q1, const double* r1, const double* p2,
                            const double* q2, const double* r2)
{
  TPlaneSides s;
  const int step = PlaneSides(p1, q1, r1, p2, q2, r2, s);
  if (step == 0) return 0;
  if (step == 1) {
    bool inPlane = false;
    return DegenerateMeet3d(p1, q1, r1, s.N1, p2, q2, r2, s.N2, inPlane, nullptr);
  }
  TOverlapKernel k{s.N1, s.N2};
  return FirstOrder(k, p1, q1, r1, p2, q2, r2, s.dp1, s.dq1, s.dr1, s.dp2, s.dq2, s.dr2);
}

int tri_tri_intersection_test_3d(const double* p1, const double* q1, const double* r1, const double* p2,
                                 const double* q2, const double* r2, int* coplanar, double* source,
                                 double* target)
{
  TPlaneSides s;
  const int step = PlaneSides(p1, q1, r1, p2, q2, r2, s);
  if (step == 0) return 0;
  if (step == 1) {
    // A flat triangle meets the other in a point, or lies in its plane (a segment in a plane
    // counts as coplanar, like two segments that lie in one plane).
    bool inPlane = false;
    double at[3];
    const int meet = DegenerateMeet3d(p1, q1, r1, s.N1, p2, q2, r2, s.N2, inPlane, at);
    if (inPlane) {
      *coplanar = 1;
      return meet;
    }
    if (!meet) return 0;
    for (int i = 0; i < 3; ++i)
      source[i] = target[i] = at[i];
    return 1;
  }
  TIntersectionKernel k{s.N1, s.N2, coplanar, source, target};
  return FirstOrder(k, p1, q1, r1, p2, q2, r2, s.dp1, s.dq1, s.dr1, s.dp2, s.dq2, s.dr2);
}
