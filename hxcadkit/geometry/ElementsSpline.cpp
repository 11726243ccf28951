// The splines: Hermite, Bezier chain and NURBS, with the B-spline arithmetic they share.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "hxcadkit/geometry/ElementsUtil.h"
#include "hxcadkit/geometry/Splines.h"

using namespace ElementsUtil;

namespace {

constexpr Real Unevaluated = -1e300;
constexpr Integer NoSpan = 0x7FFFFFFF;

// i modulo n (n > 0) in [0, n), for any i.
Integer Mod(std::int64_t i, Integer n)
{
  const std::int64_t r = i % n;
  return Integer(r < 0 ? r + n : r);
}

// The span of t in the first count knots U (see KnotIndex).
Integer SpanIn(Integer k, const TAReal& U, Integer count, Real& t)
{
  if (k < 1 || count < 2 * std::int64_t(k) || count > U.Count) return -1;
  const Integer first = k - 1, last = count - k;
  const Real lo = U[first], hi = U[last];
  if (std::isnan(t) || t <= lo) {
    t = lo;
    Integer s = first;
    while (s + 1 < last && U[s + 1] == lo)
      ++s;
    return s;
  }
  if (t >= hi) {
    t = hi;
    Integer s = last - 1;
    while (s > first && U[s] == hi)
      --s;
    return s;
  }
  const Real* begin = &U[first];
  const Real* found = std::upper_bound(begin, begin + (last - first), t);
  return std::clamp<Integer>(first + Integer(found - begin) - 1, first, last - 1);
}

// t into [lo, hi]: by whole periods when wrap, else clamped; NaN gives lo.
void IntoDomain(Real& t, Real lo, Real hi, bool wrap)
{
  if (t >= lo && t <= hi) return;
  if (wrap && hi > lo && std::isfinite(t)) {
    t = std::clamp(FloorReduce(t, lo, hi - lo), lo, hi);
    return;
  }
  t = t > hi ? hi : lo;
}

} // namespace

// --- B-spline arithmetic ----------------------------------------------------------------------

void TNurbsVector2D::CatchMemory(Integer n, Boolean rational)
{
  if (n <= 0) return;
  FreeMemory();
  x = new double[std::size_t(n)]();
  y = new double[std::size_t(n)]();
  if (rational) w = new double[std::size_t(n)]();
}

void TNurbsVector2D::FreeMemory()
{
  delete[] x;
  delete[] y;
  delete[] w;
  x = y = w = nullptr;
}

Integer KnotIndex(Integer k, const TAReal& knots, Real& t)
{
  return SpanIn(k, knots, knots.Count, t);
}

Boolean ArrayFind(const TAReal& values, Real x, Integer& hint)
{
  const Integer n = values.Count;
  if (n < 1) return false;
  const Real* begin = &values[0];
  const Integer h = std::clamp<Integer>(hint, 0, n);
  // Usually the answer lies at or near the hint, so the side of the hint is searched alone.
  const Real* found = (h < n && values[h] < x) ? std::lower_bound(begin + h, begin + n, x)
                                               : std::lower_bound(begin, begin + h, x);
  hint = Integer(found - begin);
  return true;
}

void AllBasisFuns(Integer s, Real t, Integer p, const TAReal& knots, double** N, double* left, double* right,
                  Boolean flag)
{
  if (p < 0 || !N || s < p || std::int64_t(s) + p >= knots.Count) return;
  std::vector<double> leftStore, rightStore;
  if (!left) {
    leftStore.assign(std::size_t(p) + 1, 0.0);
    left = leftStore.data();
  }
  if (!right) {
    rightStore.assign(std::size_t(p) + 1, 0.0);
    right = rightStore.data();
  }
  N[0][0] = 1;
  for (Integer j = 1; j <= p; ++j) {
    left[j] = t - knots[s + 1 - j];
    right[j] = knots[s + j] - t;
    double saved = 0;
    for (Integer r = 0; r < j; ++r) {
      const double sum = right[r + 1] + left[j - r];
      const double below = N[r][j - 1];
      double toThis, toNext;
      if (sum == 0) {
        // A span of zero length: the function is shared evenly by its two successors, which
        // keeps the functions summing to 1.
        toThis = toNext = below / 2;
        if (flag) N[j][r] = 1e137;
      } else {
        const double temp = below / sum;
        toThis = right[r + 1] * temp;
        toNext = left[j - r] * temp;
        if (flag) N[j][r] = 1 / sum;
      }
      N[r][j] = saved + toThis;
      saved = toNext;
    }
    N[j][j] = saved;
  }
}

void CurveDeriveCpts(Integer p, const TAReal& knots, const TArrayOf<TPoint2D>& P, const TAReal& weights,
                     const TNurbsVector2D* pk0, Integer d, Integer r1, Integer r2, TNurbsVector2D* PK)
{
  const Integer r = r2 - r1;
  if (!PK || r < 0 || p < 0 || !PK[0].x || !PK[0].y) return;
  const bool rational = PK[0].w != nullptr;
  if (pk0) {
    if (!pk0->x || !pk0->y) return;
    for (Integer i = 0; i <= r; ++i) {
      PK[0].x[i] = pk0->x[i];
      PK[0].y[i] = pk0->y[i];
      if (rational) PK[0].w[i] = pk0->w ? pk0->w[i] : 1.0;
    }
  } else {
    if (P.Count < 1) return;
    for (Integer i = 0; i <= r; ++i) {
      const Integer at = Mod(std::int64_t(r1) + i, P.Count);
      const TPoint2D& Q = P[at];
      if (rational) {
        const double wi = at < weights.Count ? weights[at] : 1.0;
        PK[0].x[i] = Q.x * wi;
        PK[0].y[i] = Q.y * wi;
        PK[0].w[i] = wi;
      } else {
        PK[0].x[i] = Q.x;
        PK[0].y[i] = Q.y;
      }
    }
  }
  // The derivative points read the knots up to r2 + p.
  if (r1 < 0 || std::int64_t(r2) + p >= knots.Count) return;
  const Integer dd = std::min(d, p);
  for (Integer k = 1; k <= dd; ++k) {
    if (!PK[k].x || !PK[k].y) return;
    const double tmp = p - k + 1;
    for (Integer i = 0; i <= r - k; ++i) {
      const double den = knots[r1 + i + p + 1] - knots[r1 + i + k];
      const double f = den != 0 ? tmp / den : 0.0;
      PK[k].x[i] = f * (PK[k - 1].x[i + 1] - PK[k - 1].x[i]);
      PK[k].y[i] = f * (PK[k - 1].y[i + 1] - PK[k - 1].y[i]);
      if (rational && PK[k].w && PK[k - 1].w) PK[k].w[i] = f * (PK[k - 1].w[i + 1] - PK[k - 1].w[i]);
    }
  }
}

void EiSum(const double* points, const double* const* N, Integer j, double& result)
{
  if (j <= 0 || N[0][j] > 0.9999999999999997) {
    result = points[0];
    return;
  }
  double sum = N[0][j] * points[0];
  if (j == 1) {
    sum += N[1][1] * points[1];
  } else if (j == 2) {
    sum += N[1][2] * points[1];
    if (!(N[2][2] < 1e-16)) sum += N[2][2] * points[2];
  } else {
    for (Integer i = 1; i <= j; ++i)
      if (N[i][j] > 1e-16) sum += N[i][j] * points[i];
  }
  result = sum;
}

// --- Hermite spline ---------------------------------------------------------------------------

Boolean THermit::Evaluable() const
{
  const Integer n = Points.Count;
  return n >= 1 && Vectors.Count >= n && (TParams.Count == n || TParams.Count == n + 1) &&
         uppParam == TParams.Count - 1;
}

TPoint2D THermit::Point(Integer i) const
{
  return Points[i];
}

TVector2D THermit::Tangent(Integer i) const
{
  return Vectors[i];
}

void THermit::ResetTCalc()
{
  tCalc = Unevaluated;
  param1 = param2 = Unevaluated;
}

void THermit::Rebuild()
{
  Segments = std::max<Integer>(Points.Count - 1, 0);
  uppParam = std::max<Integer>(TParams.Count - 1, 0);
  // A new point can change the spans that the cached location refers to.
  ResetTCalc();
  Refresh();
}

void THermit::AddPoint(const TPoint2D& P)
{
  const Integer n = std::max<Integer>(Points.Count, 0);
  // Parameters and tangents that do not match the points (filled by hand) are brought in line
  // first, so that the rules below read only entries that exist.
  const Integer params = std::clamp<Integer>(TParams.Count, 0, n + 1);
  TParams.Count = params;
  while (TParams.Count < n)
    TParams.Add(TParams.Count > 0 ? TParams.Last() + 1 : 0.0);
  if (Vectors.Count > n) Vectors.Count = n;
  while (Vectors.Count < n)
    Vectors.Add(TVector2D());

  Real t = 0;
  TVector2D V;
  if (n == 1) {
    t = TParams[0] + 1;
    V = TVector2D(Points[0], P);
    if (Vectors[0].Len() < 1e-8) Vectors[0] = V;
  } else if (n >= 2) {
    const Integer S = n - 1;
    if (Closed) {
      if (TParams.Count == n) {
        // The closing span back to point 0 gets its end parameter by the open rule.
        const Real Lp = TVector2D(Points[S - 1], Points[S]).Len();
        const Real Ln = TVector2D(Points[S], Points[0]).Len();
        const Real prev = TParams[S] - TParams[S - 1];
        Real dt = Lp > 0 ? prev * Ln / Lp : Ln;
        if (!(dt >= 2e-7)) dt = 2e-7;
        TParams.Add(TParams[S] + dt);
      }
      const Real d1 = TVector2D(Points[S], P).Len();
      const Real d0 = TVector2D(Points[0], P).Len();
      Real f = d1 / (d0 + d1);
      if (!(f >= 0 && f <= 1)) f = 0.5;
      t = TParams[S] + (TParams[S + 1] - TParams[S]) * f;
      Rebuild();
      FirstDer(t, V);
      // The closing parameter stays last, so that the parameters keep ascending.
      Points.Add(P);
      Vectors.Add(V);
      TParams.Insert(S + 1, t);
      Rebuild();
      return;
    }
    const Real Lp = TVector2D(Points[S - 1], Points[S]).Len();
    const Real Ln = TVector2D(Points[S], P).Len();
    const Real prev = TParams[S] - TParams[S - 1];
    // After two coinciding points there is no previous chord to scale by: the new span's
    // parameter length is its chord.
    Real dt = Lp > 0 ? prev * Ln / Lp : Ln;
    if (!(dt >= 2e-7)) dt = 2e-7;
    t = TParams[S] + dt;
    V = TVector2D(Points[S], P) * (1 / dt);
  }
  if (TParams.Count > n) TParams.Count = n; // an open spline keeps no closing parameter
  Points.Add(P);
  Vectors.Add(V);
  TParams.Add(t);
  Rebuild();
}

void THermit::LocalCoordinate(Integer i, Real t) const
{
  const Integer n = Points.Count;
  if (n < 1 || i < 0 || i + 1 >= TParams.Count) return;
  index1 = i;
  index2 = Mod(std::int64_t(i) + 1, n);
  param1 = TParams[i];
  param2 = TParams[i + 1];
  paramD = param2 - param1;
  if (paramD > 0) {
    paramW = 1 / paramD;
    quota1 = (param2 - t) / paramD;
    quota2 = (t - param1) / paramD;
  } else {
    // Two points at one parameter: the span is its start.
    paramW = 0;
    quota1 = 1;
    quota2 = 0;
  }
  tCalc = t;
}

void THermit::LocalCoordinate(Real& t) const
{
  if (!Evaluable() || uppParam < 1) return;
  // The mark of "nothing located" is itself a parameter a caller may pass (-1e300).
  if (tCalc != Unevaluated && std::fabs(t - tCalc) <= paramEpsilon) return;
  if (param1 <= t && t <= param2 && param1 < param2) {
    quota1 = (param2 - t) / paramD;
    quota2 = (t - param1) / paramD;
    tCalc = t;
    return;
  }
  const Real T0 = TParams[0], Tn = TParams[uppParam];
  if (!(t >= T0 && t <= Tn)) {
    if (Closed && Tn > T0 && std::isfinite(t)) {
      t = std::clamp(FloorReduce(t, T0, Tn - T0), T0, Tn);
    } else if (t > Tn) {
      t = Tn;
      LocalCoordinate(uppParam - 1, t);
      return;
    } else {
      t = T0;
      LocalCoordinate(0, t);
      return;
    }
  }
  const Real* begin = &TParams[0];
  const Real* found = std::upper_bound(begin, begin + uppParam + 1, t);
  LocalCoordinate(std::clamp<Integer>(Integer(found - begin) - 1, 0, uppParam - 1), t);
}

void THermit::PointOn(Real t, TPoint2D& P) const
{
  if (!Evaluable() || uppParam < 1) {
    TPolyLine::PointOn(t, P);
    return;
  }
  LocalCoordinate(t);
  const Real a = quota1, b = quota2, D = paramD;
  const TPoint2D P1 = Point(index1), P2 = Point(index2);
  const TVector2D V1 = Tangent(index1), V2 = Tangent(index2);
  const Real k1 = a * a * (3 - 2 * a), k2 = b * b * (3 - 2 * b);
  const Real k3 = a * a * (1 - a) * D, k4 = -b * b * (1 - b) * D;
  P.Set(k1 * P1.x + k2 * P2.x + k3 * V1.x + k4 * V2.x, k1 * P1.y + k2 * P2.y + k3 * V1.y + k4 * V2.y);
}

void THermit::FirstDer(Real t, TVector2D& V) const
{
  if (!Evaluable() || uppParam < 1) {
    TPolyLine::FirstDer(t, V);
    return;
  }
  LocalCoordinate(t);
  const Real a = quota1, b = quota2, W = paramW;
  const TPoint2D P1 = Point(index1), P2 = Point(index2);
  const TVector2D V1 = Tangent(index1), V2 = Tangent(index2);
  const Real k1 = -6 * (a - a * a) * W, k2 = 6 * (b - b * b) * W;
  const Real k3 = 3 * a * a - 2 * a, k4 = 3 * b * b - 2 * b;
  V.Set(k1 * P1.x + k2 * P2.x + k3 * V1.x + k4 * V2.x, k1 * P1.y + k2 * P2.y + k3 * V1.y + k4 * V2.y);
}

void THermit::SecondDer(Real t, TVector2D& V) const
{
  if (!Evaluable() || uppParam < 1) {
    TPolyLine::SecondDer(t, V);
    return;
  }
  LocalCoordinate(t);
  const Real a = quota1, b = quota2, W = paramW;
  const TPoint2D P1 = Point(index1), P2 = Point(index2);
  const TVector2D V1 = Tangent(index1), V2 = Tangent(index2);
  const Real k1 = 6 * (1 - 2 * a) * W * W, k2 = 6 * (1 - 2 * b) * W * W;
  const Real k3 = (2 - 6 * a) * W, k4 = (6 * b - 2) * W;
  V.Set(k1 * P1.x + k2 * P2.x + k3 * V1.x + k4 * V2.x, k1 * P1.y + k2 * P2.y + k3 * V1.y + k4 * V2.y);
}

void THermit::ThirdDer(Real t, TVector2D& V) const
{
  if (!Evaluable() || uppParam < 1) {
    TPolyLine::ThirdDer(t, V);
    return;
  }
  LocalCoordinate(t);
  const Real W = paramW;
  const TPoint2D P1 = Point(index1), P2 = Point(index2);
  const TVector2D V1 = Tangent(index1), V2 = Tangent(index2);
  const Real k = 12 * W * W * W, m = 6 * W * W;
  V.Set(k * (P1.x - P2.x) + m * (V1.x + V2.x), k * (P1.y - P2.y) + m * (V1.y + V2.y));
}

// --- Bezier chain -----------------------------------------------------------------------------

void TBezier::LocalCoordinate(double& t) const
{
  const Integer n = Points.Count;
  if (n < 1) return;
  const Integer m = std::max<Integer>(splinesCount, 0);
  IntoDomain(t, 0, m, Closed);
  if (tCalc != Unevaluated && t == tCalc) return;
  Integer k = std::clamp<Integer>(Integer(std::floor(t)), 0, m);
  if (k == m && k > 0) --k;
  w = t - k;
  s = 1 - w;
  s2 = s * s;
  w2 = w * w;
  const std::int64_t first = 3 * std::int64_t(k) + 1;
  const TPoint2D& Q1 = Points[Mod(first, n)];
  const TPoint2D& Q2 = Points[Mod(first + 1, n)];
  const TPoint2D& Q3 = Points[Mod(first + 2, n)];
  const TPoint2D& Q4 = Points[Mod(first + 3, n)];
  const Real c1 = s2 * s, c2 = 3 * s2 * w, c3 = 3 * s * w2, c4 = w2 * w;
  rc[0].Set(c1 * Q1.x + c2 * Q2.x + c3 * Q3.x + c4 * Q4.x, c1 * Q1.y + c2 * Q2.y + c3 * Q3.y + c4 * Q4.y);
  tCalc = t;
}

void TBezier::PointOn(double& t, TPoint2D& P) const
{
  if (Points.Count < 1) {
    P.Set(x, y);
    return;
  }
  LocalCoordinate(t);
  P = rc[0];
}

// --- NURBS ------------------------------------------------------------------------------------

TNurbs::TNurbs(const TNurbs& other) : TPolyLine(other)
{
  CopyData(other);
}

TNurbs& TNurbs::operator=(const TNurbs& other)
{
  if (this == &other) return *this;
  TPolyLine::operator=(other);
  CopyData(other);
  return *this;
}

void TNurbs::CopyData(const TNurbs& other)
{
  FreeMemory();
  degree = other.degree;
  uppKnotsIndex = other.uppKnotsIndex;
  knots = other.knots;
  weights = other.weights;
  closeSegments = other.closeSegments;
  form = other.form;
  tCalc = Unevaluated;
  for (TVector2D& v : rc)
    v.Set(0, 0);
}

TNurbs::~TNurbs()
{
  FreeMemory();
}

void TNurbs::Refresh() const
{
  TPolyLine::Refresh();
  // The caches follow the order and the weights, which may have changed with the data.
  FreeMemory();
}

void TNurbs::ResetTCalc()
{
  tCalc = Unevaluated;
  leftIndex = NoSpan;
}

Boolean TNurbs::KnotsUsable() const
{
  return degree >= 1 && Points.Count >= 1 && uppKnotsIndex >= 0 && uppKnotsIndex < knots.Count &&
         std::int64_t(uppKnotsIndex) + 1 >= 2 * std::int64_t(degree);
}

Boolean TNurbs::IsRational() const
{
  if (weights.Count < 1) return false;
  const Integer n = std::min<Integer>(weights.Count, std::max<Integer>(Segments + 1, Points.Count));
  const Real w0 = weights[0];
  for (Integer i = 1; i < n; ++i)
    if (std::fabs(weights[i] - w0) > 1e-16 * std::fabs(w0)) return true;
  return false;
}

void TNurbs::FreeMemory() const
{
  delete[] pk;
  pk = nullptr;
  if (nd) delete[] nd[0];
  delete[] nd;
  nd = nullptr;
  delete[] wc;
  wc = nullptr;
  delete[] m_left;
  delete[] m_right;
  m_left = m_right = nullptr;
  cacheOrder = 0;
  pkCount = 0;
  leftIndex = NoSpan;
  tCalc = Unevaluated;
}

Boolean TNurbs::CatchMemory() const
{
  if (degree < 1) return false;
  // The knots bound the order, so that a wrong order cannot make the caches huge.
  if (!KnotsUsable()) return false;
  FreeMemory();
  const Integer k = degree;
  const bool rational = IsRational();
  pkCount = std::min<Integer>(k, 4);
  pk = new TNurbsVector2D[std::size_t(pkCount)];
  for (Integer j = 0; j < pkCount; ++j)
    pk[j].CatchMemory(k - j, rational);
  nd = new double*[std::size_t(k)];
  nd[0] = new double[std::size_t(k) * std::size_t(k)]();
  for (Integer i = 1; i < k; ++i)
    nd[i] = nd[0] + std::size_t(i) * std::size_t(k);
  if (rational) wc = new double[4]{1, 1, 1, 1};
  m_left = new double[std::size_t(k)]();
  m_right = new double[std::size_t(k)]();
  cacheOrder = k;
  return true;
}

Integer TNurbs::InitSegments() const
{
  if (nd && cacheOrder == degree && KnotsUsable()) return 1;
  if (CatchMemory()) return 1;
  for (TVector2D& v : rc)
    v.Set(0, 0);
  if (wc) std::fill(wc, wc + 4, 1.0);
  return 0;
}

void TNurbs::CalculateSegment(Real& t) const
{
  if (nd && tCalc != Unevaluated && t == tCalc) return;
  if (!InitSegments()) {
    tCalc = Unevaluated;
    return;
  }
  const Integer k = degree, p = k - 1;
  const Integer lastSpan = uppKnotsIndex - p - 1;
  IntoDomain(t, knots[p], knots[uppKnotsIndex - p], Closed);
  Integer span;
  bool fresh;
  if (leftIndex >= p && leftIndex <= lastSpan && knots[leftIndex] <= t && t < knots[leftIndex + 1]) {
    span = leftIndex;
    fresh = false;
  } else {
    span = std::clamp<Integer>(SpanIn(k, knots, uppKnotsIndex + 1, t), p, lastSpan);
    fresh = span != leftIndex;
  }
  AllBasisFuns(span, t, p, knots, nd, m_left, m_right, fresh);
  if (fresh) {
    CurveDeriveCpts(p, knots, Points, weights, nullptr, 3, span - p, span, pk);
    leftIndex = span;
  }
  tCalc = t;
  for (TVector2D& v : rc)
    v.Set(Unevaluated, 0);
}

void TNurbs::CalculateSpline(Integer j) const
{
  if (j < 0 || j > 3 || !nd || cacheOrder != degree || tCalc == Unevaluated) return;
  if (rc[j].x != Unevaluated) return;
  const Integer p = degree - 1;
  if (j >= degree || j >= pkCount) {
    rc[j].Set(0, 0);
    if (wc) wc[j] = 0;
    return;
  }
  EiSum(pk[j].x, nd, p - j, rc[j].x);
  EiSum(pk[j].y, nd, p - j, rc[j].y);
  if (wc && pk[j].w) {
    double v;
    EiSum(pk[j].w, nd, p - j, v);
    // A weight function of 0 puts the point at infinity; it is answered as (0, 0).
    if (j == 0) v = v != 0 ? 1 / v : 0;
    wc[j] = v;
  }
}

TVector2D TNurbs::CalculateSplineWeight(Integer j) const
{
  if (j < 0 || j > 3) return TVector2D();
  for (Integer i = 0; i <= j; ++i)
    CalculateSpline(i);
  if (rc[j].x == Unevaluated) return TVector2D();
  if (!wc) return rc[j];
  const Real rw = wc[0];
  TVector2D R[4];
  R[0] = rc[0] * rw;
  // Quotient rule: A = w R, so A(i) = sum of binomial(i, m) w(m) R(i - m).
  for (Integer i = 1; i <= j; ++i) {
    TVector2D A = rc[i];
    if (i == 1) {
      if (wc[1] != 0) A = A - R[0] * wc[1];
    } else if (i == 2) {
      if (wc[1] != 0) A = A - R[1] * (2 * wc[1]);
      if (wc[2] != 0) A = A - R[0] * wc[2];
    } else {
      if (wc[1] != 0) A = A - R[2] * (3 * wc[1]);
      if (wc[2] != 0) A = A - R[1] * (3 * wc[2]);
      if (wc[3] != 0) A = A - R[0] * wc[3];
    }
    R[i] = A * rw;
  }
  return R[j];
}

void TNurbs::PointOn(Real t, TPoint2D& P) const
{
  CalculateSegment(t);
  CalculateSpline(0);
  if (rc[0].x == Unevaluated) {
    P.Set(0, 0);
    return;
  }
  if (wc)
    P.Set(rc[0].x * wc[0], rc[0].y * wc[0]);
  else
    P = rc[0];
}
