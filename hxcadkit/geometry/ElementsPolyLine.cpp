// The polyline: its curve operations and the polygon algorithms it carries.
#include <algorithm>
#include <cmath>
#include <vector>

#include "hxcadkit/geometry/Elements.h"
#include "hxcadkit/geometry/ElementsUtil.h"
#include "hxcadkit/geometry/SolverInterSect.h"

using namespace ElementsUtil;

namespace {

Real Cross(const TVector2D& a, const TVector2D& b)
{
  return a.x * b.y - a.y * b.x;
}

Real Dot(const TVector2D& a, const TVector2D& b)
{
  return a.x * b.x + a.y * b.y;
}

bool Coincide(const TPoint2D& a, const TPoint2D& b, Real eps)
{
  return std::fabs(a.x - b.x) <= eps && std::fabs(a.y - b.y) <= eps;
}

// V divided by its length, a length of at most lim counting as 1.
TVector2D Unit(const TVector2D& V, Real lim)
{
  Real l = V.Len();
  if (l <= lim) l = 1;
  return TVector2D(V.x / l, V.y / l);
}

// The centre of the circle through three points, from the perpendicular bisectors of the two
// chords from p0. False when the chords are parallel (relative to their lengths, so that the
// dense points of a small arc still count as round).
bool Circumcentre(const TPoint2D& p0, const TPoint2D& p1, const TPoint2D& p2, TPoint2D& c)
{
  const TVector2D a(p0, p1), b(p0, p2);
  const Real D = Cross(a, b);
  if (!(std::fabs(D) > 1e-8 * a.Len() * b.Len())) return false;
  const Real A2 = Dot(a, a) / 2, B2 = Dot(b, b) / 2;
  c.Set(p0.x + (A2 * b.y - a.y * B2) / D, p0.y + (a.x * B2 - A2 * b.x) / D);
  return std::isfinite(c.x) && std::isfinite(c.y);
}

// The centre and radius shared by the circle and arc recognition; every point from the fourth
// on must keep the radius within 2e-6.
bool FitCircle(const TArrayOf<TPoint2D>& P, TPoint2D& c, Real& r)
{
  if (!Circumcentre(P[0], P[1], P[2], c)) return false;
  r = Length(P[0].x - c.x, P[0].y - c.y);
  for (Integer k = 3; k < P.Count; ++k)
    if (!(std::fabs(Length(P[k].x - c.x, P[k].y - c.y) - r) <= 2e-6)) return false;
  return true;
}

} // namespace

int Relative(const TPoint2D& a, const TPoint2D& b, const TPoint2D& c)
{
  return TVector2D(a, b).Relative(TVector2D(a, c));
}

// --- Data and the curve interface -----------------------------------------------------------

TPolyLine& TPolyLine::operator=(const TPolyLine& other)
{
  if (this == &other) return *this;
  TBasePoint::operator=(other);
  Points = other.Points;
  Segments = other.Segments;
  Closed = other.Closed;
  tCalc = other.tCalc;
  return *this;
}

TPolyLine::operator TString() const
{
  TString s;
  for (Integer i = 0; i < Points.Count; ++i) {
    s += "{  (";
    s += Num(Points[i].x, 2);
    s += " , ";
    s += Num(Points[i].y, 2);
    s += "), ";
  }
  s += "}";
  return s;
}

void TPolyLine::Refresh() const
{
  TCurve2D::Refresh();
  tCalc = -1e300;
}

Integer TPolyLine::SegmentCount() const
{
  return std::clamp<Integer>(Segments, 0, std::max<Integer>(Points.Count, 0));
}

Integer TPolyLine::SegmentEnd(Integer i) const
{
  // Segment i runs to the next point; only the segment after the last point (a closed polygon
  // counts Segments = Points.Count) turns back to point 0.
  return Points.Count > 0 ? (i + 1) % Points.Count : 0;
}

void TPolyLine::CheckParameter(Real& t) const
{
  const Integer n = Points.Count;
  const Real last = n > 0 ? Real(n - 1) : 0;
  if (t >= 0 && t <= last) return;
  if (std::isnan(t)) {
    t = 0;
    return;
  }
  if (std::isfinite(t) && IsClosed() && n >= 2) {
    t = FloorReduce(t, 0, last);
    // The reduction can round onto the far end, never past it.
    t = std::clamp(t, Real(0), last);
    return;
  }
  t = t < 0 ? 0 : last;
}

void TPolyLine::PointOn(Real t, TPoint2D& P) const
{
  const Integer n = Points.Count;
  if (n < 1) {
    P.Set(x, y);
    return;
  }
  CheckParameter(t);
  const Integer i = std::max<Integer>(0, Integer(std::floor(t - paramEpsilon)));
  const Real u = t - i;
  const TPoint2D& A = Points[i % n];
  const TPoint2D& B = Points[(i + 1) % n];
  P.Set((1 - u) * A.x + u * B.x, (1 - u) * A.y + u * B.y);
}

void TPolyLine::_PointOn(Real t, TPoint2D& P) const
{
  PointOn(t, P);
}

void TPolyLine::FirstDer(Real t, TVector2D& V) const
{
  const Integer n = Points.Count;
  V = TVector2D(0, 0);
  if (n < 1) return;
  CheckParameter(t);
  const Integer i = std::max<Integer>(0, Integer(std::floor(t - paramEpsilon)));
  const TPoint2D& A = Points[i % n];
  const TPoint2D& B = Points[(i + 1) % n];
  const TVector2D K(A, B);
  V = K;
  TVector2D in, out;
  if (std::fabs(t - i) <= paramRegion && (i > 0 || Closed)) {
    in = TVector2D(Points[(i - 1 + n) % n], A);
    out = K;
  } else if (std::fabs(t - (i + 1)) <= paramRegion && i + 1 - (Closed ? 1 : 0) < Segments) {
    in = K;
    out = TVector2D(B, Points[(i + 2) % n]);
  } else {
    return;
  }
  // On a vertex the tangent is the mean of the two edges' directions, as long as their mean
  // length, so that the curve has one tangent there whichever side it is reached from.
  Real li = in.Len(), lo = out.Len();
  if (li <= paramPrecision) li = 1;
  if (lo <= paramPrecision) lo = 1;
  const TVector2D b = Unit(TVector2D(in.x / li + out.x / lo, in.y / li + out.y / lo), paramPrecision);
  V = b * ((li + lo) / 2);
}

void TPolyLine::_FirstDer(Real t, TVector2D& V) const
{
  FirstDer(t, V);
}

void TPolyLine::SecondDer(Real, TVector2D& V) const
{
  V = TVector2D(0, 0);
}

void TPolyLine::ThirdDer(Real, TVector2D& V) const
{
  V = TVector2D(0, 0);
}

void TPolyLine::_SecondDer(Real, TVector2D& V) const
{
  V = TVector2D(0, 0);
}

void TPolyLine::_ThirdDer(Real, TVector2D& V) const
{
  V = TVector2D(0, 0);
}

Boolean TPolyLine::NearPointProjection(const TPoint2D& P, TPoint2D Eps, Real& t, Boolean ext,
                                       TRegion1D* R) const
{
  const bool given = R && R->min <= R->max;
  const TRegion1D region = given ? *R : GetRegion();
  const bool isClosed = IsClosed();
  const Integer m = SegmentCount();
  t = GetTMin();
  Real best = 1e300;
  for (Integer i = 0; i < m; ++i) {
    const TLineSeg S(Points[i], Points[SegmentEnd(i)]);
    const bool extend = ext && !isClosed && i == 0 && Segments == 1;
    TRegion1D local = given ? TRegion1D(std::max<Real>(0, region.min - i), std::min<Real>(1, region.max - i))
                            : TRegion1D(1e300, -1e300);
    Real u = 0;
    S.NearPointProjection(P, Eps, u, extend, &local);
    TPoint2D Q;
    if (extend && !isClosed)
      S._PointOn(u, Q);
    else
      S.PointOn(u, Q);
    Real d = (Q.x - P.x) * (Q.x - P.x) + (Q.y - P.y) * (Q.y - P.y);
    const Real ti = i + u;
    if (given && !ext && !(region.min - paramEpsilon < ti && ti < region.max + paramEpsilon)) d = 1e300;
    if (d < best) {
      best = d;
      t = ti;
    }
  }
  const Real ml = GetMetricLength();
  const Real k = ml > metricAccuracy ? (GetTMax() - GetTMin()) / ml : 1;
  const Real tol = std::max(std::fabs(Eps.x), std::fabs(Eps.y)) * 20 * k;
  if (!given) return region.CorrectCheckParameter(isClosed, ext, tol, t);
  const Real period = isClosed ? GetTMax() - GetTMin() : 0;
  return region.CorrectCheckNearParameter(period, ext, tol, t);
}

TLocation TPolyLine::PointRelative(const TPoint2D& P, Real eps) const
{
  const Integer n = Points.Count;
  const Integer k = NearestSegment(P);
  Real d = -1e300;
  if (k >= 0 && !Coincide(Points[k], Points[(k + 1) % n], paramEpsilon)) {
    const TPoint2D& A = Points[k];
    const TPoint2D& B = Points[(k + 1) % n];
    const TVector2D e(A, B);
    TVector2D w(A, P);
    const Real le = e.Len();
    const Real s = Dot(w, e) / (le * le);
    d = Cross(e, w) / le;
    TVector2D N(0, 0);
    if (s < -paramPrecision) {
      d = d >= 0 ? w.Len() : -w.Len();
      if (!(k == 0 && !IsClosed())) {
        N = TVector2D(Points[(k - 1 + n) % n], A);
        if (std::fabs(N.x) <= paramEpsilon && std::fabs(N.y) <= paramEpsilon) N = TVector2D(0, 0);
      }
    } else if (s > 1 + paramPrecision) {
      w = TVector2D(B, P);
      d = d >= 0 ? w.Len() : -w.Len();
      if (IsClosed() || k < n - 2) {
        const TPoint2D& C = Points[(k + 2) % n];
        if (!Coincide(C, B, paramEpsilon)) N = TVector2D(B, C);
      }
    }
    if (std::fabs(d) <= eps) return tl_On;
    // Off the end of the nearest segment the corner's bisector decides the side, so that
    // points around a convex and a concave corner are told apart.
    if (std::fabs(N.x) > paramEpsilon || std::fabs(N.y) > paramEpsilon) {
      Real lN = N.Len();
      if (lN <= paramPrecision) lN = 1;
      const TVector2D q(-N.y / lN - e.y / le, N.x / lN + e.x / le);
      if (q.Len() > paramPrecision) d = Dot(w, q) >= 0 ? std::fabs(d) : -std::fabs(d);
    }
  }
  if (d < -eps) return tl_Right;
  if (d > eps) return tl_Left;
  return tl_On;
}

void TPolyLine::Rect(TRect2D& R) const
{
  if (Segments == 0 || Points.Count < 1) return;
  TRect2D box(Points[0], Points[0]);
  for (Integer i = 1; i < Points.Count; ++i)
    box.Add(Points[i]);
  R = box;
  Gabaryt = box;
}

TPolyLine* TPolyLine::Duplicate() const
{
  return new TPolyLine(*this);
}

TLineSeg* TPolyLine::GetSegment(Integer i) const
{
  if (i < 0 || i >= SegmentCount()) return nullptr;
  return new TLineSeg(Points[i], Points[SegmentEnd(i)]);
}

Integer TPolyLine::NearestSegment(const TPoint2D& P) const
{
  const Integer m = SegmentCount();
  Integer best = -1;
  Real bd = 1e300;
  for (Integer i = 0; i < m; ++i) {
    const TPoint2D& B = Points[SegmentEnd(i)];
    const Real d = P.DistanceToSegment(Points[i].x, Points[i].y, B.x, B.y);
    if (best < 0 || d < bd) {
      bd = d;
      best = i;
    }
  }
  return best;
}

void TPolyLine::TwoMaxDistansePoints(PointIterator& a, PointIterator& b) const
{
  const Integer n = Points.Count;
  Integer ia = -1, ib = -1;
  Real best = 0;
  for (Integer i = 0; i < n; ++i)
    for (Integer j = i + 1; j < n; ++j) {
      const Real dx = Points[j].x - Points[i].x, dy = Points[j].y - Points[i].y;
      const Real d = dx * dx + dy * dy;
      if (d > best && std::sqrt(d) > 1e-300) {
        best = d;
        ia = i;
        ib = j;
      }
    }
  if (ia < 0) return;
  a = Points.begin() + ia;
  b = Points.begin() + ib;
}

Integer TPolyLine::SelfIntersect(const TRegion1D& R, TInterSector& IS, Boolean flag) const
{
  const Integer m = SegmentCount();
  if (m < 1) return 0;
  const Integer before = IS.ACrossPoint.Count;
  std::vector<TLineSeg> seg;
  seg.reserve(std::size_t(m));
  for (Integer i = 0; i < m; ++i)
    seg.emplace_back(Points[i], Points[SegmentEnd(i)]);
  // The segments are temporaries: what they record is handed over to this polyline, with the
  // segment's index added to its parameter, so that no record points at a dead segment.
  auto adopt = [&](Integer from, Integer i, Integer j) {
    for (Integer r = from; r < IS.ACrossPoint.Count; ++r)
      for (TPointOnCurve* on : {&IS.ACrossPoint[r].on1, &IS.ACrossPoint[r].on2}) {
        if (on->curve == &seg[std::size_t(i)])
          *on = TPointOnCurve(i + on->t, this);
        else if (on->curve == &seg[std::size_t(j)])
          *on = TPointOnCurve(j + on->t, this);
      }
  };
  for (Integer i = 0; i < m; ++i)
    for (Integer j = i; j < m; ++j) {
      const Integer from = IS.ACrossPoint.Count;
      if (i == j)
        seg[std::size_t(i)].SelfIntersect(R, IS, flag);
      else
        IS.InterSection(&seg[std::size_t(i)], &seg[std::size_t(j)]);
      adopt(from, i, j);
    }
  return IS.ACrossPoint.Count - before;
}

void TPolyLine::Scan(Real v, bool horizontal, TAReal& ACross) const
{
  const Integer n = Points.Count;
  const Integer m = SegmentCount();
  auto along = [horizontal](const TPoint2D& P) { return horizontal ? P.y : P.x; };
  for (Integer i = 0; i < m; ++i) {
    const TPoint2D& A = Points[i];
    const TPoint2D& B = Points[(i + 1) % n];
    if (Coincide(A, B, paramNear)) continue;
    const Real a = along(A), d = along(B) - a;
    const bool flat = horizontal ? std::fabs(d) <= paramPrecision : std::fabs(d) < paramPrecision;
    if (flat) {
      const bool onLine = horizontal ? std::fabs(a - v) <= paramPrecision : std::fabs(a - v) < paramPrecision;
      if (!onLine) continue;
      const Real prev = along(Points[(i - 1 + n) % n]);
      const bool take =
          horizontal ? std::fabs(prev - a) <= paramPrecision : std::fabs(prev - a) > paramPrecision;
      if (take) CheckParameter(ACross, i, paramEpsilon);
      continue;
    }
    const Real u = (v - a) / d;
    if (u >= 0 && u <= 1) CheckParameter(ACross, i + u, paramEpsilon);
  }
}

void TPolyLine::InterSectHorizontal(Real y0, TAReal& ACross) const
{
  Scan(y0, true, ACross);
}

void TPolyLine::InterSectVertical(Real x0, TAReal& ACross) const
{
  Scan(x0, false, ACross);
}

// --- Measures -------------------------------------------------------------------------------

Real TPolyLine::Len() const
{
  const Integer n = Points.Count;
  if (n < 1) return 0;
  Real L = 0;
  for (Integer i = 1; i < n; ++i)
    L += Length(Points[i].x - Points[i - 1].x, Points[i].y - Points[i - 1].y);
  return L + Length(Points[0].x - Points[n - 1].x, Points[0].y - Points[n - 1].y);
}

void TPolyLine::CenterXYLenCut(Real& Xc, Real& Yc, Real& LCont) const
{
  Xc = Yc = LCont = 0;
  const Integer n = Points.Count;
  auto add = [&](const TPoint2D& A, const TPoint2D& B) {
    const Real l = Length(B.x - A.x, B.y - A.y);
    Xc = Xc * LCont + (A.x + B.x) / 2 * l;
    Yc = Yc * LCont + (A.y + B.y) / 2 * l;
    LCont += l;
    if (LCont > 0) {
      Xc /= LCont;
      Yc /= LCont;
    }
  };
  for (Integer i = 1; i < n; ++i)
    add(Points[i - 1], Points[i]);
  if (LCont > 0) add(Points[n - 1], Points[0]);
}

Real TPolyLine::OrientationArea() const
{
  const Integer n = Points.Count;
  if (n < 3) return 0;
  Real s = 0;
  for (Integer i = 0; i < n; ++i) {
    const TPoint2D& a = Points[i];
    const TPoint2D& b = Points[(i + 1) % n];
    s += a.x * b.y - b.x * a.y;
  }
  return s / 2;
}

void TPolyLine::Negate()
{
  for (Integer i = 0; i < Points.Count; ++i)
    Points[i].Set(-Points[i].x, -Points[i].y);
  Refresh();
}

Boolean TPolyLine::Inside(const TPoint2D& p, const TPoint2D& a, const TPoint2D& b)
{
  return (b.x - a.x) * (p.y - a.y) - (b.y - a.y) * (p.x - a.x) > 0;
}

TPoint2D TPolyLine::InterSection(const TPoint2D& a1, const TPoint2D& a2, const TPoint2D& b1,
                                 const TPoint2D& b2)
{
  const TVector2D d1(a2, a1), d2(b2, b1);
  const Real k1 = a1.x * a2.y - a1.y * a2.x;
  const Real k2 = b1.x * b2.y - b1.y * b2.x;
  const Real den = Cross(d1, d2);
  return TPoint2D((k1 * d2.x - k2 * d1.x) / den, (k1 * d2.y - k2 * d1.y) / den);
}

Boolean TPolyLine::CheckVertex(const TPoint2D& P) const
{
  const Integer n = Points.Count;
  if (n < 2) return false;
  const TPoint2D& prev = Points[n - 2];
  return TVector2D(prev, Points[n - 1]).Relative(TVector2D(prev, P)) != tl_On;
}

// --- Hull, enclosing figures ------------------------------------------------------------------

void TPolyLine::ConvexHull(TPolyLine& out) const
{
  out.Points.Clear();
  const Integer n = Points.Count;
  if (n < 3) {
    for (Integer i = 0; i < n; ++i)
      out.Points.Add(Points[i]);
    return;
  }
  std::vector<TPoint2D> s;
  s.reserve(std::size_t(n));
  for (const TPoint2D& p : Points)
    s.push_back(p);
  std::sort(s.begin(), s.end(),
            [](const TPoint2D& a, const TPoint2D& b) { return a.x < b.x || (a.x == b.x && a.y < b.y); });
  TArrayOf<TPoint2D>& H = out.Points;
  auto turnsLeft = [&H](const TPoint2D& p) {
    const TPoint2D& o = H[H.Count - 2];
    return TVector2D(o, H.Last()).Relative(TVector2D(o, p)) == tl_Left;
  };
  for (const TPoint2D& p : s) {
    while (H.Count >= 2 && !turnsLeft(p))
      H.Pop();
    H.Add(p);
  }
  const Integer lower = H.Count;
  for (Integer i = n - 2; i >= 0; --i) {
    while (H.Count > lower && !turnsLeft(s[std::size_t(i)]))
      H.Pop();
    H.Add(s[std::size_t(i)]);
  }
  H.Pop(); // the first point again
}

void TPolyLine::GetMin(TCircle& circle) const
{
  const Integer n = Points.Count;
  if (n < 1) return;
  PointIterator a = Points.begin(), b = Points.begin();
  TwoMaxDistansePoints(a, b);
  if (n == 1 || !(a != b)) {
    // One point, or points that all coincide: the circle shrinks onto it.
    circle.Set(Points[0].x, Points[0].y);
    circle.Radius = 0;
    circle.Refresh();
    return;
  }
  const TPoint2D A = *a, B = *b;
  circle.Init(A, B);
  if (circle.FoundAllPoints(*this)) return;
  circle.Radius = 1e300;
  for (Integer i = 0; i < n; ++i)
    for (Integer j = i + 1; j < n; ++j)
      for (Integer k = j + 1; k < n; ++k) {
        TCircle c;
        if (!c.Init(Points[i], Points[j], Points[k])) continue;
        if (c.Radius < circle.Radius && c.FoundAllPoints(*this)) circle = c;
      }
  if (circle.Radius < 1e300) return;
  // Triangles too flat to trust everywhere (points of a tiny cluster): the circle about the
  // farthest pair's middle that reaches every point still holds them all.
  circle.Init(A, B);
  for (Integer i = 0; i < n; ++i)
    circle.Radius = std::max(circle.Radius, Length(Points[i].x - circle.x, Points[i].y - circle.y));
  circle.Refresh();
}

void TPolyLine::BoundaryCircle(const TArrayOf<TPoint2D>& R, TCircle& circle) const
{
  switch (std::max<Integer>(R.Count, 0)) {
  case 0:
    circle.Set(0, 0);
    circle.Radius = 0;
    circle.Atr = 1; // marks an empty result
    circle.Refresh();
    break;
  case 1:
    circle.Set(R[0].x, R[0].y);
    circle.Radius = 0;
    circle.Atr = 0;
    circle.Refresh();
    break;
  case 2:
    circle.Init(R[0], R[1]);
    break;
  default:
    circle.Init(R[0], R[1], R[2]); // three points in a line leave the circle as it is
    break;
  }
}

void TPolyLine::MinCircleWelzl(TArrayOf<TPoint2D>& R, Integer n, TCircle& circle) const
{
  // The recursion on n is unrolled into a loop: the circle of the first i points is grown one
  // point at a time, and only a point that falls outside starts a nested call, with one more
  // boundary point. The nesting is thus at most three deep, however many points there are.
  n = std::clamp<Integer>(n, 0, std::max<Integer>(Points.Count, 0));
  BoundaryCircle(R, circle);
  if (R.Count >= 3) return;
  for (Integer i = 0; i < n; ++i) {
    const TPoint2D p = Points[i];
    // Outside the circle by more than the tolerance (its PointRelative answering tl_OutSide),
    // told by the squares: no root in the loop that sees every point.
    const Real dx = p.x - circle.x, dy = p.y - circle.y, lim = circle.Radius + paramPrecision;
    if (dx * dx + dy * dy < lim * lim) continue;
    R.Add(p);
    MinCircleWelzl(R, i, circle);
    R.Pop();
  }
}

void TPolyLine::GetMin(TORect2D& B) const
{
  B = TORect2D();
  const Integer n = Points.Count;
  if (n < 1) return;
  B.xc = Points[0].x;
  B.yc = Points[0].y;
  if (n == 1) return;
  Real best = 1e300;
  for (Integer i = 0; i < n; ++i) {
    const TPoint2D& p = Points[i];
    const TVector2D e(p, Points[(i + 1) % n]);
    const Real L = e.Len();
    if (!(L > paramAccuracy)) continue;
    const TVector2D u(e.x / L, e.y / L), v(-u.y, u.x);
    Real a0 = 1e300, a1 = -1e300, c0 = 1e300, c1 = -1e300;
    for (Integer k = 0; k < n; ++k) {
      const TVector2D w(p, Points[k]);
      const Real a = Dot(w, u), c = Dot(w, v);
      a0 = std::min(a0, a);
      a1 = std::max(a1, a);
      c0 = std::min(c0, c);
      c1 = std::max(c1, c);
    }
    const Real area = (a1 - a0) * (c1 - c0);
    if (area < best) {
      const Real ma = (a0 + a1) / 2, mc = (c0 + c1) / 2;
      B.xc = p.x + u.x * ma + v.x * mc;
      B.yc = p.y + u.y * ma + v.y * mc;
      B.Angle = std::atan2(u.y, u.x);
      B.Length = a1 - a0;
      B.Width = c1 - c0;
      best = area;
    }
  }
}

// --- Recognition ----------------------------------------------------------------------------

Boolean TPolyLine::IsCircle(TCircle& circle) const
{
  const Integer n = Points.Count;
  if (n < 6) return false;
  if (!Coincide(Points[0], Points[n - 1], paramNear)) return false;
  TPoint2D c;
  Real r = 0;
  if (!FitCircle(Points, c, r)) return false;
  circle.Set(c.x, c.y);
  circle.Radius = r;
  circle.Refresh();
  return true;
}

Boolean TPolyLine::IsArc(TArc& A) const
{
  const Integer n = Points.Count;
  if (n < 4) return false;
  TPoint2D c;
  Real r = 0;
  if (!FitCircle(Points, c, r)) return false;
  const Real a1 = TVector2D(c, Points[0]).AngleInRadian();
  const Real a2 = TVector2D(c, Points[n - 1]).AngleInRadian();
  const TVector2D u1 = Unit(TVector2D(Points[0], Points[1]), nullEpsilon);
  const TVector2D u2 = Unit(TVector2D(Points[0], Points[2]), nullEpsilon);
  const TArc::TDirection sense = Cross(u1, u2) >= lengthEpsilon ? TArc::BackClockWise : TArc::ByClockWise;
  A.Set(c.x, c.y);
  A.Radius = r;
  A.InitByPositionAngles(a1, a2, sense);
  return true;
}

Boolean TPolyLine::IsLineSeg(TLineSeg& S) const
{
  const Integer n = Points.Count;
  if (n < 3) return false;
  const TPoint2D& p0 = Points[0];
  S.Set(p0.x, p0.y);
  S.xk = Points[1].x;
  S.yk = Points[1].y;
  const TVector2D d = Unit(TVector2D(p0, Points[1]), paramPrecision);
  Real ahead = TVector2D(p0, Points[1]).Len(), behind = 0;
  for (Integer k = 2; k < n; ++k) {
    const TVector2D q(p0, Points[k]);
    const Real l = q.Len();
    const TVector2D w = Unit(q, paramPrecision);
    if (std::fabs(w.x - d.x) <= 1e-5 && std::fabs(w.y - d.y) <= 1e-5) {
      if (l > ahead) {
        ahead = l;
        S.xk = Points[k].x;
        S.yk = Points[k].y;
      }
    } else if (std::fabs(w.x + d.x) <= 1e-5 && std::fabs(w.y + d.y) <= 1e-5) {
      if (l > behind) {
        behind = l;
        S.Set(Points[k].x, Points[k].y);
      }
    } else {
      S.Refresh();
      return false;
    }
  }
  S.Refresh();
  return true;
}

// --- Clipping -------------------------------------------------------------------------------

namespace {
// Where the edge s-e crosses the line c1-c2, the ends being on either side of it. An edge that lies
// along the line (a polygon clipped by itself) has its ends on either side only by rounding, and the
// crossing of two nearly parallel lines can land anywhere, even at infinity: off the edge, the crossing
// is taken where the ends' side values change sign, which stays on the edge.
TPoint2D ClipCrossing(const TPoint2D& c1, const TPoint2D& c2, const TPoint2D& s, const TPoint2D& e)
{
  const TPoint2D X = TPolyLine::InterSection(c1, c2, s, e);
  const Real tol = 1e-9 * std::max({Real(1), std::fabs(s.x), std::fabs(s.y), std::fabs(e.x), std::fabs(e.y)});
  if (X.DistanceToSegment(s.x, s.y, e.x, e.y) <= tol) return X; // false for a crossing at infinity
  const TVector2D c(c1, c2);
  const Real ds = Cross(c, TVector2D(c1, s)), de = Cross(c, TVector2D(c1, e));
  const Real t = ds != de ? ds / (ds - de) : 0.5;
  return TPoint2D(s.x + (e.x - s.x) * t, s.y + (e.y - s.y) * t);
}
} // namespace

void TPolyLine::SutherlandHodgman(const TPolyLine& clip, TPolyLine& out) const
{
  // clip may be out itself: keep its points before out is overwritten.
  const TArrayOf<TPoint2D> C(clip.Points);
  if (&out != this) out = *this;
  const Integer m = C.Count;
  if (m < 1) return;
  TArrayOf<TPoint2D> input(32, 32);
  for (Integer i = 0; i < m; ++i) {
    const TPoint2D& c1 = C[i];
    const TPoint2D& c2 = C[(i + 1) % m];
    input = out.Points;
    out.Points.Clear();
    const Integer k = input.Count;
    for (Integer j = 0; j < k; ++j) {
      const TPoint2D& s = input[j];
      const TPoint2D& e = input[(j + 1) % k];
      const bool sIn = Inside(s, c1, c2), eIn = Inside(e, c1, c2);
      if (sIn != eIn) out.Points.Add(ClipCrossing(c1, c2, s, e));
      if (eIn) out.Points.Add(e);
    }
  }
  out.Refresh();
}
