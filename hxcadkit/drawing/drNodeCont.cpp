#include "hxcadkit/drawing/drNodeCont.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <new>
#include <tuple>
#include <utility>

// One node of a program: its kind and the values it was built with.
class TNode
{
public:
  enum TKind { nSP, nP, nPx, nPnm, nPt0, nPt1, nA, nCLL, nFsk, nCVR, nTL };

  TNode(TKind k, std::initializer_list<double> values, TNode* next) : Kind(k), Next(next)
  {
    int i = 0;
    for (double v : values) {
      V[i++] = v;
      Finite = Finite && std::isfinite(v);
    }
  }

  // Programs are built and dropped for every profile drawn: freed nodes are kept per thread
  // for the next program instead of going back to the heap one by one.
  static void* operator new(std::size_t size);
  static void operator delete(void* p) noexcept;

  TKind Kind;
  // Whether every value is a number: a node built from sizes that gave none is not drawn.
  bool Finite = true;
  double V[7] = {0, 0, 0, 0, 0, 0, 0};
  int Style = 0; // of a style node
  TNode* Next;
};

namespace {

// The freed nodes of a thread. The list and its length are plain values, usable to the end of
// the thread; the drain object returns the list to the heap when the library is unloaded or the
// process ends, after which freed nodes go straight back to the heap. The drain is not per thread:
// a thread-local object with a destructor pins the shared library that holds it (the runtime
// never unloads it), so a host could no longer unload the plug-in. Only the host's thread draws,
// and that is the thread that unloads the library.
struct TFreeNode
{
  TFreeNode* Next;
};
// The three slots live in the static TLS block (initial-exec), reserved when the plug-in is opened: every
// node made reads them, and a dynamic block costs a call per read. A dynamic block is also freed with the
// plug-in, and LeakSanitizer's scan at exit read the stale record of that block and crashed the run.
#define HXCAD_STATIC_TLS __attribute__((tls_model("initial-exec")))
thread_local TFreeNode* FreeHead HXCAD_STATIC_TLS = nullptr;
thread_local std::size_t FreeCount HXCAD_STATIC_TLS = 0;
thread_local bool Drained HXCAD_STATIC_TLS = false;
#undef HXCAD_STATIC_TLS
constexpr std::size_t KeepFree = 4096;

struct TDrain
{
  ~TDrain()
  {
    Drained = true;
    while (FreeHead != nullptr) {
      TFreeNode* next = FreeHead->Next;
      ::operator delete(FreeHead);
      FreeHead = next;
    }
    FreeCount = 0;
  }
};
TDrain Drain;

// Under the address sanitizer every node goes back to the heap, so that a node used after it
// was freed is still caught.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool Pooled = false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool Pooled = false;
#else
constexpr bool Pooled = true;
#endif
#else
constexpr bool Pooled = true;
#endif

} // namespace

void* TNode::operator new(std::size_t size)
{
  if (Pooled && FreeHead != nullptr) {
    TFreeNode* f = FreeHead;
    FreeHead = f->Next;
    --FreeCount;
    return f;
  }
  return ::operator new(size);
}

void TNode::operator delete(void* p) noexcept
{
  if (p == nullptr) return;
  if (!Pooled || Drained || FreeCount >= KeepFree) {
    ::operator delete(p);
    return;
  }
  FreeHead = new (p) TFreeNode{FreeHead};
  ++FreeCount;
}

namespace {

TNode* Last(TNode* n)
{
  while (n != nullptr && n->Next != nullptr)
    n = n->Next;
  return n;
}

// a followed by b.
TNode* Join(TNode* a, TNode* b)
{
  if (a == nullptr) return b;
  Last(a)->Next = b;
  return a;
}

// The drawing state of one pass, as built or mirrored (a pass of each kind of its own: the choice is made
// once, not for every node).
template <bool Mirrored> struct TPass
{
  TModeler3D& M;
  int Flag;
  int Style;
  double Px = 0.0, Py = 0.0;

  static double Y(double y) { return Mirrored ? -y : y; }

  void Draw(const TNode& n)
  {
    // A style node has no values, so it always counts as finite.
    if (!n.Finite) return;
    const double* v = n.V;
    const double qx = v[0], qy = Y(v[1]);
    switch (n.Kind) {
    case TNode::nSP:
      break;
    case TNode::nP:
      M.drLine(Px, Py, qx, qy, Style);
      break;
    case TNode::nPx:
      M.drLine(Px, Py, qx, qy, Style);
      if (Flag != 0) M.drLine(qx, qy, qx, 0.0, -Style);
      break;
    case TNode::nPnm:
      if (Flag != 0) M.drLine(Px, Py, qx, qy, -Style);
      return; // the current point stays
    case TNode::nPt0:
      if (Flag == 0) M.drLine(Px, Py, qx, qy, Style);
      break;
    case TNode::nPt1:
      if (Flag != 0) M.drLine(Px, Py, qx, qy, Style);
      break;
    case TNode::nA: {
      // v: centre, radius, end
      const double r = v[2];
      int dir = r < 0.0 ? -1 : 1;
      if (Mirrored) dir = -dir;
      const double cy = Y(v[1]), ex = v[3], ey = Y(v[4]);
      M.drArc(v[0], cy, std::fabs(r), Px, Py, ex, ey, dir, Style);
      Px = ex;
      Py = ey;
      return;
    }
    case TNode::nCLL:
    case TNode::nFsk: {
      // v: corner, end, radius or chamfer
      const double cy = Y(v[1]), ex = v[2], ey = Y(v[3]);
      if (n.Kind == TNode::nCLL)
        M.drCLL(Px, Py, v[0], cy, ex, ey, v[4], Style);
      else
        M.drFsk(Px, Py, v[0], cy, ex, ey, v[4], Style);
      Px = ex;
      Py = ey;
      return;
    }
    case TNode::nCVR: {
      // v: two corners, end, radius
      const double ex = v[4], ey = Y(v[5]);
      M.drCVR(Px, Py, v[0], Y(v[1]), v[2], Y(v[3]), ex, ey, v[6], Style);
      Px = ex;
      Py = ey;
      return;
    }
    case TNode::nTL:
      Style = n.Style;
      return;
    }
    Px = qx;
    Py = qy;
  }
};

// Whether the curves drawn now bound a hatch or a colouring (collected, or pending on the host).
bool Bounding(const TRegistryModeler2D& r)
{
  if (r.Collecting()) return true;
  for (Integer i = 0; i < r.APrevCommand.Count; ++i)
    if (r.APrevCommand[i] == cmHatch || r.APrevCommand[i] == cmColouring) return true;
  return false;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// TContDrawing

TContDrawing::TContDrawing(TModeler3D* M, bool Owner) : TWrapModeler(M, Owner) {}

TContDrawing::~TContDrawing()
{
  Free();
}

void TContDrawing::Make(double x0, double y0, TNode* first)
{
  Free();
  First = dSP(x0, y0, first);
}

void TContDrawing::Free()
{
  dFree(First);
  First = nullptr;
}

void TContDrawing::Run(TModeler3D& m, int t, bool mirrored) const
{
  auto draw = [&](auto pass) {
    for (const TNode* n = First; n != nullptr; n = n->Next)
      pass.Draw(*n);
  };
  if (mirrored)
    draw(TPass<true>{m, t, t != 0 ? t : 1});
  else
    draw(TPass<false>{m, t, t != 0 ? t : 1});
}

namespace {
// Calls pass with each mirroring the drawing code tl draws in, in order.
template <class F> void Passes(int tl, F pass)
{
  switch (tl / 10) {
  case 2:
    pass(true);
    break;
  case 3:
    pass(true);
    pass(false);
    break;
  default:
    pass(false);
    break;
  }
}
} // namespace

void TContDrawing::RunBlock(TModeler3D& m, int tl) const
{
  if (First == nullptr) return;
  Passes(tl, [&](bool mirrored) { Run(m, tl % 10, mirrored); });
}

namespace {
// Calls draw with what m is drawn through while the standing regions, if any, hide what lies behind them.
template <class F> void ThroughFront(TModeler3D& m, F draw)
{
  TFrontRegions* regions = TFrontRegions::Standing();
  if (!regions) return draw(m);
  if (TModeler3D* through = regions->Through(m)) return draw(*through);
  TFrontModeler front(m);
  draw(front);
}
} // namespace

void TContDrawing::Draw(int t, bool mirrored) const
{
  if (First == nullptr || M2.Ptr == nullptr) return;
  ThroughFront(M(), [&](TModeler3D& m) { Run(m, t, mirrored); });
}

void TContDrawing::dr2D(int t) const
{
  Draw(t, false);
}

void TContDrawing::dr2DMY(int t) const
{
  Draw(t, true);
}

void TContDrawing::drContBlock(int tl, bool, bool, bool NoDraw) const
{
  if (NoDraw || First == nullptr) return;
  Passes(tl, [&](bool mirrored) { Draw(tl % 10, mirrored); });
}

// ---------------------------------------------------------------------------------------------
// Node builders

TNode* dSP(double x, double y, TNode* next)
{
  return new TNode(TNode::nSP, {x, y}, next);
}
TNode* dP(double x, double y, TNode* next)
{
  return new TNode(TNode::nP, {x, y}, next);
}
TNode* dPx(double x, double y, TNode* next)
{
  return new TNode(TNode::nPx, {x, y}, next);
}
TNode* dPnm(double x, double y, TNode* next)
{
  return new TNode(TNode::nPnm, {x, y}, next);
}
TNode* dPt0(double x, double y, TNode* next)
{
  return new TNode(TNode::nPt0, {x, y}, next);
}
TNode* dPt1(double x, double y, TNode* next)
{
  return new TNode(TNode::nPt1, {x, y}, next);
}
TNode* dA(double xc, double yc, double r, double x, double y, TNode* next)
{
  return new TNode(TNode::nA, {xc, yc, r, x, y}, next);
}
TNode* dCLL(double x1, double y1, double x, double y, double r, TNode* next)
{
  return new TNode(TNode::nCLL, {x1, y1, x, y, r}, next);
}
TNode* dFsk(double x1, double y1, double x, double y, double c, TNode* next)
{
  return new TNode(TNode::nFsk, {x1, y1, x, y, c}, next);
}
TNode* dCVR(double x1, double y1, double x2, double y2, double x, double y, double r, TNode* next)
{
  return new TNode(TNode::nCVR, {x1, y1, x2, y2, x, y, r}, next);
}

TNode* dTL(int n, TNode* next)
{
  TNode* node = new TNode(TNode::nTL, {}, next);
  // Unsigned, so that a negative code still gives a style in 0..9 (-2 gives 4).
  const int s = int(unsigned(n) % 10u);
  node->Style = s != 0 ? s : 1;
  return node;
}

TNode* dMacroIf(bool c, TNode* a, TNode* b)
{
  if (c) return Join(a, b);
  dFree(a);
  return b;
}

TNode* dMacroIfE(bool c, TNode* a, TNode* b, TNode* tail)
{
  if (c) {
    dFree(b);
    return Join(a, tail);
  }
  dFree(a);
  return Join(b, tail);
}

void dFree(TNode* first)
{
  while (first != nullptr) {
    TNode* next = first->Next;
    delete first;
    first = next;
  }
}

// ---------------------------------------------------------------------------------------------
// TFrontRegions and TFrontModeler

namespace {
TFrontRegions* StandingRegions = nullptr;
// A line this close to a region's outline runs along it.
constexpr double OnOutline = 1e-7;
// Pieces shorter than this (millimetres) are where a curve only touches a region.
constexpr double Touch = 1e-6;
constexpr double FullTurn = 2 * M_PI;
// The mark of a region that takes part in closing a boundary only through the regions it overlaps (one that
// cuts the boundary has 1).
constexpr char Joined = 2;
// The mark of a region that hides only pieces of the boundary that cancel in pairs (see MarkPaired).
constexpr char Cancelling = 3;

// A vector's length; the library's hypot guards against overflow that sheet sizes never reach, slowly.
double Length(double dx, double dy)
{
  return std::sqrt(dx * dx + dy * dy);
}

using TSpans = std::vector<std::pair<double, double>>;
using TRegion = TFrontRegions::TRegion;
using TBoundCurve = TFrontRegions::TBoundCurve;

// The placement a modeller draws in now (a similarity): the origin's image and the unit axes' images.
struct TFrame
{
  double ox, oy, xx, xy, yx, yy;
  explicit TFrame(const double* v) : ox(v[0]), oy(v[1]), xx(v[2]), xy(v[3]), yx(v[4]), yy(v[5]) {}
  explicit TFrame(const TModeler2D& m)
  {
    const TTransf2D& t = m.R2D().Transf2D;
    t.xyMtr(0.0, 0.0, ox, oy);
    t.xyMtr(1.0, 0.0, xx, xy);
    t.xyMtr(0.0, 1.0, yx, yy);
    xx -= ox, xy -= oy, yx -= ox, yy -= oy;
  }
  double Det() const { return xx * yy - xy * yx; }
  TPoint2D To(double x, double y) const { return TPoint2D(ox + xx * x + yx * y, oy + xy * x + yy * y); }
  TPoint2D From(double X, double Y) const
  {
    const double d = Det(), u = X - ox, v = Y - oy;
    return TPoint2D((yy * u - yx * v) / d, (xx * v - xy * u) / d);
  }
};

bool BoxesMeet(const TRegion& r, double x1, double y1, double x2, double y2, double margin)
{
  return x1 <= r.x2 + margin && x2 >= r.x1 - margin && y1 <= r.y2 + margin && y2 >= r.y1 - margin;
}

double Inside(const TRegion::TEdge& e, double x, double y)
{
  return e.nx * x + e.ny * y - e.c;
}

// The angle as it lies within 0..2 pi. Most angles lie within a turn already, where the remainder is the
// angle itself: the call is left out for them.
double WithinTurn(double u)
{
  if (!(u > -FullTurn && u < FullTurn)) u = std::fmod(u, FullTurn);
  if (u < 0.0) u += FullTurn;
  return u;
}

// The spans [lo, hi] of in that also lie in the circular span from s of length len (len < 2 pi), all in
// 0..w.
void Meet(const TSpans& in, double s, double len, double w, TSpans& out)
{
  s = WithinTurn(s);
  const std::pair<double, double> parts[2] = {{s, std::min(s + len, w)},
                                              {0.0, std::min(s + len - FullTurn, w)}};
  out.clear();
  for (const auto& [a, b] : in)
    for (const auto& [c, d] : parts) {
      const double lo = std::max(a, c), hi = std::min(b, d);
      if (lo < hi) out.push_back({lo, hi});
    }
}

// The direction of (x, y) as atan2 gives it, without the call along the axes, where its values are exact.
double Direction(double y, double x)
{
  if (y == 0.0) {
    if (x > 0.0) return y;
    if (x < 0.0) return std::copysign(M_PI, y);
  } else if (x == 0.0) {
    if (y > 0.0) return M_PI_2;
    if (y < 0.0) return -M_PI_2;
  }
  return std::atan2(y, x);
}

// The parameters u (0..w) at which the arc about c of radius R, counter-clockwise from the angle a,
// lies strictly inside the region, into in (spare is working room): each edge keeps the angles whose
// cosine against its normal exceeds a bound, a circular span.
void ArcInside(const TRegion& r, const TPoint2D& c, double R, double a, double w, TSpans& in, TSpans& spare)
{
  in.assign(1, {0.0, w});
  for (const TRegion::TEdge& e : r.E) {
    const double k = Inside(e, c.x, c.y) / R;
    if (k >= 1.0) continue;
    if (k <= -1.0) return in.clear();
    if (std::isnan(e.Angle)) e.Angle = Direction(e.ny, e.nx);
    const double beta = std::acos(-k), phi = e.Angle;
    Meet(in, phi - beta - a, 2 * beta, w, spare);
    in.swap(spare);
    if (in.empty()) break;
  }
}

// Sorts as std::sort does, with the few values a curve's crossings give sorted in place by insertion: the
// library's sort does the same for so few, after a call and checks that cost more than the sort.
template <class T> void SortFew(T* v, std::size_t n)
{
  if (n > 16) return std::sort(v, v + n);
  for (std::size_t i = 1; i < n; ++i) {
    const T x = v[i];
    std::size_t j = i;
    for (; j > 0 && x < v[j - 1]; --j)
      v[j] = v[j - 1];
    v[j] = x;
  }
}

template <class T> void SortFew(std::vector<T>& v)
{
  SortFew(v.data(), v.size());
}

// SortFew for the parameters along a piece: 0 first and 1 last, every crossing between them. Neither end
// moves (no crossing lies below 0 or above 1), and 0 stops each insertion before the front.
void SortCrossings(double* d, std::size_t n)
{
  if (n > 16) return std::sort(d, d + n);
  const std::size_t last = n - 1;
  for (std::size_t i = 2; i < last; ++i) {
    const double x = d[i];
    std::size_t j = i;
    for (; x < d[j - 1]; --j)
      d[j] = d[j - 1];
    d[j] = x;
  }
}

// What of 0..w lies outside the spans (which it sorts), into out.
void Rest(TSpans& in, double w, TSpans& out)
{
  out.clear();
  if (in.empty()) {
    if (0.0 < w) out.push_back({0.0, w});
    return;
  }
  // Two pieces (a line across two regions) are put in order here, without the call.
  if (in.size() == 2) {
    if (in[1] < in[0]) std::swap(in[0], in[1]);
  } else if (in.size() > 2) {
    SortFew(in);
  }
  double from = 0.0;
  for (const auto& [lo, hi] : in) {
    if (lo > from) out.push_back({from, lo});
    from = std::max(from, hi);
  }
  if (from < w) out.push_back({from, w});
}

double Cross(double ax, double ay, double bx, double by)
{
  return ax * by - ay * bx;
}

// Whether the angle lies on the arc counter-clockwise from a1 over the sweep, within tol radians.
bool OnSweep(double angle, double a1, double sweep, double tol)
{
  if (sweep >= FullTurn) return true;
  const double u = WithinTurn(angle - a1);
  return u <= sweep + tol || u >= FullTurn - tol;
}

// OnSweep(std::atan2(y, x), a1, sweep, tol), the angle left out where the eighth of a turn the direction lies
// in is wholly on the arc or wholly off it, by far more than the rounding of the angle and of the test (the
// signs of x and y and which is the longer tell the eighth).
[[gnu::always_inline]] inline bool OnSweepAt(double y, double x, double a1, double sweep, double tol)
{
  constexpr double Eighth = M_PI / 4, Margin = 1e-9;
  if ((x > 0.0 || x < 0.0) && (y > 0.0 || y < 0.0) && std::fabs(a1) < 64.0 && sweep < FullTurn) {
    // The eighth from k turns/8 (k from -4 to 3: atan2 gives -pi..pi).
    const bool steep = std::fabs(y) > std::fabs(x);
    const int k =
        y > 0.0 ? (x > 0.0 ? int(steep) : 3 - int(steep)) : (x < 0.0 ? -4 + int(steep) : -1 - int(steep));
    // Where the eighth begins, from a1 in 0..2pi, less the margin; the angles of the eighth follow it over w.
    const double u = WithinTurn(k * Eighth - a1 - Margin);
    const double w = Eighth + 2 * Margin;
    if (u + w <= sweep) return true;
    if (u > sweep + tol + Margin && u + w < FullTurn - tol - Margin) return false;
  }
  return OnSweep(std::atan2(y, x), a1, sweep, tol);
}

// Where the segment p + t (q - p) meets the arc (t in 0..1).
void ArcCrossings(const TPoint2D& p, const TPoint2D& q, const TBoundCurve& c, double*& ts)
{
  const double dx = q.x - p.x, dy = q.y - p.y, dd = dx * dx + dy * dy;
  const double fx = p.x - c.x1, fy = p.y - c.y1, b = fx * dx + fy * dy;
  const double disc = b * b - dd * (fx * fx + fy * fy - c.x2 * c.x2);
  if (disc < 0.0) return;
  const double root = std::sqrt(disc);
  for (const double t : {(-b - root) / dd, (-b + root) / dd})
    if (t >= 0.0 && t <= 1.0 && OnSweepAt(fy + t * dy, fx + t * dx, c.A1, c.Sweep, 1e-9)) *ts++ = t;
}

// Where the segment p + t (q - p) meets the curve (t in 0..1), written at ts onwards (two at the most); both
// ends of a piece of a collinear segment. Most curves are lines, met in the loops that call this: their case
// is inlined whole (the compiler would leave a call for each).
[[gnu::always_inline]] inline void Crossings(const TPoint2D& p, const TPoint2D& q, const TBoundCurve& c,
                                             double*& ts)
{
  if (c.IsArc) return ArcCrossings(p, q, c, ts);
  const double dx = q.x - p.x, dy = q.y - p.y, dd = dx * dx + dy * dy;
  const double gx = c.x2 - c.x1, gy = c.y2 - c.y1, ax = c.x1 - p.x, ay = c.y1 - p.y;
  const double den = Cross(dx, dy, gx, gy), gg = gx * gx + gy * gy;
  if (std::fabs(den) > 1e-12 * std::sqrt(dd * gg)) {
    const double t = Cross(ax, ay, gx, gy) / den, u = Cross(ax, ay, dx, dy) / den;
    if (t >= 0.0 && t <= 1.0 && u >= -1e-9 && u <= 1.0 + 1e-9) *ts++ = t;
  } else if (std::fabs(Cross(ax, ay, dx, dy)) <= 1e-9 * std::sqrt(dd)) {
    for (const double t : {(ax * dx + ay * dy) / dd, ((c.x2 - p.x) * dx + (c.y2 - p.y) * dy) / dd})
      if (t >= 0.0 && t <= 1.0) *ts++ = t;
  }
}

bool OnCurve(const TPoint2D& m, const TBoundCurve& c, double tol)
{
  if (m.x < c.bx1 - tol || m.x > c.bx2 + tol || m.y < c.by1 - tol || m.y > c.by2 + tol) return false;
  if (c.IsArc) {
    const double dx = m.x - c.x1, dy = m.y - c.y1;
    return std::fabs(Length(dx, dy) - c.x2) <= tol && OnSweep(std::atan2(dy, dx), c.A1, c.Sweep, tol / c.x2);
  }
  const double gx = c.x2 - c.x1, gy = c.y2 - c.y1, gg = gx * gx + gy * gy;
  const double t = gg > 0.0 ? std::clamp(((m.x - c.x1) * gx + (m.y - c.y1) * gy) / gg, 0.0, 1.0) : 0.0;
  return Length(m.x - c.x1 - t * gx, m.y - c.y1 - t * gy) <= tol;
}

// The direction of the rays that tell whether a point is enclosed: one that no drafted line takes (0.3 radians).
constexpr double RayX = 0.9553364891256060, RayY = 0.2955202066613396;

// Whether a ray from m crosses the line (a curve of a boundary as set ready by RayCurves).
bool RayCrosses(const TPoint2D& m, const TFrontRegions::TRayLine& c)
{
  constexpr double rx = RayX, ry = RayY;
  // The ray runs up and to the right: nothing wholly left of the point or below it meets it.
  if (c.bx2 < m.x || c.by2 < m.y) return false;
  const double ax = c.x1 - m.x, ay = c.y1 - m.y, u = Cross(ax, ay, rx, ry) / c.den;
  // Where along the curve first: most curves lie off the ray's line.
  return u >= 0.0 && u < 1.0 && Cross(ax, ay, c.gx, c.gy) / c.den > 0.0;
}

// Whether a ray from m crosses the arc an odd number of times.
bool RayCrossesOdd(const TPoint2D& m, const TBoundCurve& c)
{
  constexpr double rx = RayX, ry = RayY;
  if (c.bx2 < m.x || c.by2 < m.y) return false;
  const double fx = m.x - c.x1, fy = m.y - c.y1, b = fx * rx + fy * ry;
  const double disc = b * b - (fx * fx + fy * fy - c.x2 * c.x2);
  if (disc <= 0.0) return false;
  const double root = std::sqrt(disc);
  bool odd = false;
  for (const double t : {-b - root, -b + root})
    if (t > 0.0 && OnSweepAt(fy + t * ry, fx + t * rx, c.A1, c.Sweep, 0.0)) odd = !odd;
  return odd;
}

// Whether the curves of a boundary (as set ready by RayCurves) enclose the point by the even-odd rule: the
// parity of their crossings with a ray from it.
bool Enclosed(const TPoint2D& m, const std::vector<TFrontRegions::TRayLine>& lines,
              const std::vector<const TBoundCurve*>& arcs)
{
  bool in = false;
  for (const TFrontRegions::TRayLine& c : lines)
    in = in != RayCrosses(m, c);
  for (const TBoundCurve* c : arcs)
    in = in != RayCrossesOdd(m, *c);
  return in;
}

// Where a point lies across the rays: the rays from two points run on one line when these are equal.
double Across(double x, double y)
{
  return RayX * y - RayY * x;
}

// Enclosed for every point asked, at once: with the points in order across the rays, each curve is tested
// only against those within its span across them, grown by far more than the rounding of the test (which are
// all whose rays can meet it). A point or a curve whose span is not a number is tested against all.
void Enclose(TFrontRegionsWork& w)
{
  std::vector<TFrontRegionsWork::TAsked>& asked = w.Asked;
  if (asked.empty()) return;
  std::vector<std::pair<double, std::uint32_t>>& across = w.AskedAcross;
  across.clear();
  // The rounding of a test grows with the coordinates of the point and the curve.
  double size = 1.0;
  for (std::size_t i = 0; i < asked.size(); ++i) {
    TFrontRegionsWork::TAsked& q = asked[i];
    const double v = Across(q.P.x, q.P.y);
    if (std::isfinite(v)) {
      across.push_back({v, std::uint32_t(i)});
      size = std::max({size, std::fabs(q.P.x), std::fabs(q.P.y)});
    } else {
      q.In = Enclosed(q.P, w.RayLines, w.RayArcs);
    }
  }
  if (across.empty()) return;
  SortFew(across);
  const double first = across.front().first, last = across.back().first;
  // The first point not below a span is walked to from where the last span began: the curves come in their
  // order along the boundary, so the next one begins near.
  auto from = across.begin();
  auto flip = [&](double lo, double hi, double grow, auto&& crosses) {
    lo -= grow, hi += grow;
    if (lo > last || hi < first) return;
    const bool all = !(lo >= -HUGE_VAL && hi <= HUGE_VAL);
    auto it = across.begin();
    if (!all) {
      it = from;
      while (it->first < lo)
        ++it;
      while (it != across.begin() && !((it - 1)->first < lo))
        --it;
      from = it;
    }
    for (; it != across.end() && (all || it->first <= hi); ++it)
      if (TFrontRegionsWork::TAsked& q = asked[it->second]; crosses(q.P)) q.In = !q.In;
  };
  for (const TFrontRegions::TRayLine& c : w.RayLines) {
    const double x2 = c.x1 + c.gx, y2 = c.y1 + c.gy, v1 = Across(c.x1, c.y1), v2 = Across(x2, y2);
    const double grow =
        1e-6 * (size + std::max({std::fabs(c.x1), std::fabs(c.y1), std::fabs(x2), std::fabs(y2)}));
    flip(std::min(v1, v2), std::max(v1, v2), grow, [&](const TPoint2D& m) { return RayCrosses(m, c); });
  }
  for (const TBoundCurve* c : w.RayArcs) {
    const double v = Across(c->x1, c->y1), r = std::fabs(c->x2);
    const double grow = 1e-6 * (size + std::max(std::fabs(c->x1), std::fabs(c->y1)) + r);
    flip(v - r, v + r, grow, [&](const TPoint2D& m) { return RayCrossesOdd(m, *c); });
  }
}

// The curves ready for Enclosed: a line's direction and its cross product with the ray's worked out once, the
// lines along the ray left out (they cross it nowhere).
void RayCurves(const std::vector<TBoundCurve>& curves, std::vector<TFrontRegions::TRayLine>& lines,
               std::vector<const TBoundCurve*>& arcs)
{
  lines.clear();
  arcs.clear();
  for (const TBoundCurve& c : curves) {
    if (c.IsArc) {
      arcs.push_back(&c);
      continue;
    }
    const double gx = c.x2 - c.x1, gy = c.y2 - c.y1, den = Cross(RayX, RayY, gx, gy);
    if (den != 0.0) lines.push_back({c.bx2, c.by2, c.x1, c.y1, gx, gy, den});
  }
}

// A run of region numbers.
struct TIndices
{
  const std::size_t *First, *Last;
  const std::size_t* begin() const { return First; }
  const std::size_t* end() const { return Last; }
};

// The other regions whose boxes meet the region's (within the touch).
TIndices Others(const TFrontRegionsWork& w, std::size_t i)
{
  return {w.Overlap.data() + w.OverlapFrom[i], w.Overlap.data() + w.OverlapFrom[i + 1]};
}

TBoundCurve BoundLine(const TPoint2D& a, const TPoint2D& b)
{
  return {false,
          a.x,
          a.y,
          b.x,
          b.y,
          0.0,
          0.0,
          std::min(a.x, b.x),
          std::min(a.y, b.y),
          std::max(a.x, b.x),
          std::max(a.y, b.y)};
}
} // namespace

void TFrontRegionsWork::Clear()
{
  auto clear = [](auto&... lists) { (lists.clear(), ...); };
  clear(Regions, Edges, Overlap, OverlapFrom, Grow, RayLines, RayArcs, Clusters, Boundary, Closing, Cutting,
        Along, In, Runs, Outside_, Runs_, Gaps_, WaitingOut, Drawn, Corners, Joining, Ts, Ts2, TsAlong, Near,
        NearRegion, Asked, AskedAcross, AlongPieces, EdgePieces, Hidden, HiddenClosing, HiddenOrder, Paired,
        MiddleIn, Middles, Waiting);
}

namespace {
// The working room of sets gone, for the next ones; freed when the library is unloaded or the process ends,
// after which a set's room goes with it.
struct TSpareWork
{
  std::vector<TFrontRegionsWork> List;
  bool Gone = false;
  ~TSpareWork() { Gone = true; }
};
TSpareWork SpareWork;
constexpr std::size_t KeepWork = 4;

// The room of the last set gone, or none: a set's own is moved from it at once (made empty and then given the
// kept room, each of its lists would be given up as well). None stays empty, as each list it gives is.
TFrontRegionsWork& KeptWork()
{
  static TFrontRegionsWork none;
  return SpareWork.List.empty() ? none : SpareWork.List.back();
}
} // namespace

TFrontRegions::TFrontRegions(TModeler3D& m)
    : TFrontRegionsWork(std::move(KeptWork())), M(m), Previous(StandingRegions),
      PreviousCloser(m.R2D().Closer)
{
  if (!SpareWork.List.empty()) SpareWork.List.pop_back();
  // The lines of the last set's boundary waiting for its end would reach this set's: they are clipped now,
  // as they were drawn, their runs along its outlines waiting there.
  if (Previous && Previous->Waits(m)) Previous->DrawWaiting(m, false);
  StandingRegions = this;
  m.R2D().Closer = this;
}

TFrontRegions::~TFrontRegions()
{
  // A boundary still being collected when the regions go closes now, as it would have at its end; any other
  // keeps its pieces.
  if (Waits(M)) {
    CloseBoundary(M);
  } else {
    DrawWaiting(M, false);
    DrawAlong(M);
  }
  StandingRegions = Previous;
  M.R2D().Closer = PreviousCloser;
  if (Front) TFrontModeler::Give(Front);
  if (SpareWork.Gone || SpareWork.List.size() >= KeepWork) return;
  if (SpareWork.List.capacity() == 0) SpareWork.List.reserve(KeepWork);
  Clear();
  SpareWork.List.push_back(std::move(static_cast<TFrontRegionsWork&>(*this)));
}

TFrontRegions* TFrontRegions::Standing()
{
  return StandingRegions;
}

TModeler3D* TFrontRegions::Through(TModeler3D& m)
{
  if (&m != &M) return nullptr;
  // Made while these regions stand, so that it stops its lines at them.
  if (!Front && StandingRegions == this) Front = TFrontModeler::Take(M, this);
  return Front;
}

void TFrontRegions::Polygon(const TPoint2D* corners, std::size_t count)
{
  if (count < 3) return;
  TRegion r{{}, Edges.size(), 0.0, 0.0, 0.0, 0.0};
  const TRegion::TEdge* edges = Edges.data();
  // The placement looked up once for all the corners.
  const TTransf2D& t = M.R2D().Transf2D;
  const TMtr2D* placed = t.AMtr.Count > 0 ? &t.AMtr.Last() : nullptr;
  // The corners on the sheet into p, then the edges and the box: false for an outline not taken.
  auto outline = [&](auto* p) {
    for (std::size_t k = 0; k < count; ++k) {
      const TPoint2D& c = corners[k];
      double x = c.x, y = c.y;
      if (placed) placed->TransformCoord(c.x, c.y, x, y);
      if (!std::isfinite(x) || !std::isfinite(y)) return false;
      p[k].x = x, p[k].y = y;
    }
    const std::size_t last = count - 1;
    double area = 0.0;
    for (std::size_t i = 0; i < last; ++i)
      area += p[i].x * p[i + 1].y - p[i + 1].x * p[i].y;
    area += p[last].x * p[0].y - p[0].x * p[last].y;
    if (std::fabs(area) < 1e-12) return false;
    if (area < 0.0) std::reverse(p, p + count);
    r.x1 = r.x2 = p[0].x, r.y1 = r.y2 = p[0].y;
    if (Edges.capacity() - Edges.size() < count)
      Edges.reserve(std::max(2 * Edges.capacity(), Edges.size() + count));
    for (std::size_t i = 0; i < count; ++i) {
      const auto &a = p[i], &b = p[i < last ? i + 1 : 0];
      r.x1 = std::min(r.x1, a.x), r.y1 = std::min(r.y1, a.y), r.x2 = std::max(r.x2, a.x),
      r.y2 = std::max(r.y2, a.y);
      const double len = Length(b.x - a.x, b.y - a.y);
      if (!(len > 0.0)) continue;
      const double nx = (a.y - b.y) / len, ny = (b.x - a.x) / len;
      Edges.push_back({TPoint2D(a.x, a.y), TPoint2D(b.x, b.y), nx, ny, nx * a.x + ny * a.y, NAN});
    }
    return true;
  };
  // Regions are boxes and outlines of a few corners: theirs stay on the stack (left unset: each is written
  // before it is read), a longer one's go in the kept list.
  struct TCorner
  {
    double x, y;
  };
  constexpr std::size_t Few = 8;
  TCorner few[Few];
  if (!(count <= Few ? outline(few) : (Corners.resize(count), outline(Corners.data())))) return;
  // The list of edges moved as it grew: the regions find theirs again.
  if (Edges.data() != edges)
    for (TRegion& q : Regions)
      q.E.First = Edges.data() + q.From;
  r.E = {Edges.data() + r.From, Edges.size() - r.From};
  r.gx1 = r.x1 - OnOutline, r.gy1 = r.y1 - OnOutline, r.gx2 = r.x2 + OnOutline, r.gy2 = r.y2 + OnOutline;
  r.sx1 = r.x1 + OnOutline, r.sy1 = r.y1 + OnOutline, r.sx2 = r.x2 - OnOutline, r.sy2 = r.y2 - OnOutline;
  OverlapKnown = false;
  if (!Clusters.empty() && BoxesMeet(r, Clusters.back().x1, Clusters.back().y1, Clusters.back().x2,
                                     Clusters.back().y2, OnOutline)) {
    TCluster& k = Clusters.back();
    k.x1 = std::min(k.x1, r.x1), k.y1 = std::min(k.y1, r.y1), k.x2 = std::max(k.x2, r.x2),
    k.y2 = std::max(k.y2, r.y2);
    k.To = Regions.size() + 1;
  } else {
    Clusters.push_back({r.x1, r.y1, r.x2, r.y2, Regions.size(), Regions.size() + 1});
  }
  TCluster& k = Clusters.back();
  k.gx1 = k.x1 - OnOutline, k.gy1 = k.y1 - OnOutline, k.gx2 = k.x2 + OnOutline, k.gy2 = k.y2 + OnOutline;
  k.sx1 = k.x1 + OnOutline, k.sy1 = k.y1 + OnOutline, k.sx2 = k.x2 - OnOutline, k.sy2 = k.y2 - OnOutline;
  Regions.push_back(std::move(r));
}

void TFrontRegions::Box(double x1, double y1, double x2, double y2)
{
  const TPoint2D corners[] = {TPoint2D(x1, y1), TPoint2D(x2, y1), TPoint2D(x2, y2), TPoint2D(x1, y2)};
  Polygon(corners, 4);
}

std::vector<std::pair<double, double>> TFrontRegions::Outside(const TModeler3D& m, double x1, double y1,
                                                              double x2, double y2) const
{
  return const_cast<TFrontRegions*>(this)->Clip(m, x1, y1, x2, y2, false);
}

std::vector<std::pair<double, double>> TFrontRegions::Outside(const TModeler3D& m, double X, double Y,
                                                              double R, double a1, double sweep) const
{
  return const_cast<TFrontRegions*>(this)->Clip(m, X, Y, R, a1, sweep, false);
}

std::vector<std::pair<double, double>> TFrontRegions::Clip(const TModeler3D& m, double x1, double y1,
                                                           double x2, double y2, bool bounding, int attr)
{
  std::vector<std::pair<double, double>> out;
  Clip(m, x1, y1, x2, y2, bounding, attr, out);
  return out;
}

void TFrontRegions::Clip(const TModeler3D& m, double x1, double y1, double x2, double y2, bool bounding,
                         int attr, std::vector<std::pair<double, double>>& out)
{
  TPoint2D a, b;
  m.R2D().Transf2D.xyMtr(x1, y1, a.x, a.y);
  m.R2D().Transf2D.xyMtr(x2, y2, b.x, b.y);
  if (!ClipSheet(a, b, bounding, attr, out)) out.assign(1, {0.0, 1.0});
}

bool TFrontRegions::CutSheet(const TPoint2D& a, const TPoint2D& b, const TCluster* first, bool bounding, int attr,
                             TSpans& out)
{
  const double bx1 = std::min(a.x, b.x), by1 = std::min(a.y, b.y), bx2 = std::max(a.x, b.x),
               by2 = std::max(a.y, b.y);
  const double dx = b.x - a.x, dy = b.y - a.y, len = Length(dx, dy);
  // A line of no length has no piece to cut: a region holding its point hides it whole.
  if (len == 0.0) {
    for (const TRegion& r : Regions)
      if (!r.E.empty() && std::all_of(r.E.begin(), r.E.end(), [&](const TRegion::TEdge& e) {
            return Inside(e, a.x, a.y) > OnOutline;
          }))
        return out.clear(), true;
    return false;
  }
  // The ends as values: the compiler would read them anew for every edge, as what is written may hold them.
  const double ax = a.x, ay = a.y, bx = b.x, by = b.y;
  // Only the pieces of a boundary wait along an outline.
  const bool runs = bounding && len > 0.0;
  TSpans &in = In, &along = Runs;
  in.clear(), along.clear();
  // The first cluster's box is known to meet the segment's; the others are tested.
  const TCluster* const end = Clusters.data() + Clusters.size();
  const TRegion* const regions = Regions.data();
  for (const TCluster* k = first; k != end;) {
    for (const TRegion *p = regions + k->From, *last = regions + k->To; p != last; ++p) {
      const TRegion& r = *p;
      if (runs ? !(bx1 <= r.gx2 && bx2 >= r.gx1 && by1 <= r.gy2 && by2 >= r.gy1)
               : !(bx1 < r.sx2 && bx2 > r.sx1 && by1 < r.sy2 && by2 > r.sy1))
        continue;
      // The parameters at which the segment lies strictly inside, [lo, hi] while it may; one within the
      // outline's band of an edge's line on its inner side runs along that edge (and lies inside nowhere).
      // Once it may not, hi is below every lo: the edges left are only looked at for what runs along them.
      constexpr double Nowhere = -HUGE_VAL;
      double lo = 0.0, hi = 1.0;
      for (const TRegion::TEdge& e : r.E) {
        const double da = Inside(e, ax, ay), db = Inside(e, bx, by);
        if (da <= OnOutline && db <= OnOutline) {
          hi = Nowhere;
          if (!runs) break;
          if (std::fabs(da) <= OnOutline && std::fabs(db) <= OnOutline) {
            const double tp = ((e.p.x - a.x) * dx + (e.p.y - a.y) * dy) / (len * len);
            const double tq = ((e.q.x - a.x) * dx + (e.q.y - a.y) * dy) / (len * len);
            const double lo2 = std::max(0.0, std::min(tp, tq)), hi2 = std::min(1.0, std::max(tp, tq));
            if ((hi2 - lo2) * len > Touch) along.push_back({lo2, hi2});
          }
          continue;
        }
        // [lo, hi] is tested only when it narrows: it was not empty before.
        if (da < 0.0)
          lo = std::max(lo, da / (da - db));
        else if (db < 0.0)
          hi = std::min(hi, da / (da - db));
        else
          continue;
        if (lo >= hi) {
          hi = Nowhere;
          if (!runs) break;
        }
      }
      if ((hi - lo) * len > Touch) {
        in.push_back({lo, hi});
        if (bounding)
          Cut(std::size_t(p - regions), TPoint2D(a.x + dx * lo, a.y + dy * lo),
              TPoint2D(a.x + dx * hi, a.y + dy * hi));
      }
    }
    if (runs)
      while (++k != end && !(bx1 <= k->gx2 && bx2 >= k->gx1 && by1 <= k->gy2 && by2 >= k->gy1)) {
      }
    else
      while (++k != end && !(bx1 < k->sx2 && bx2 > k->sx1 && by1 < k->sy2 && by2 > k->sy1)) {
      }
  }
  if (along.empty()) {
    if (in.empty()) return false;
    if (in.size() > 1) {
      Rest(in, 1.0, out);
      return true;
    }
    // One piece hidden, as Rest leaves it.
    const auto [lo, hi] = in[0];
    out.clear();
    if (lo > 0.0) out.push_back({0.0, lo});
    if (const double from = std::max(0.0, hi); from < 1.0) out.push_back({from, 1.0});
    return true;
  }
  // What runs along an outline and lies outside every region waits; the rest is drawn now.
  TSpans &outside = Outside_, &gaps = Gaps_, &along2 = Runs_;
  Rest(in, 1.0, outside);
  Rest(along, 1.0, gaps);
  Rest(gaps, 1.0, along2);
  for (const auto& [lo, hi] : outside)
    for (const auto& [lo2, hi2] : along2)
      if (std::min(hi, hi2) - std::max(lo, lo2) > 0.0) {
        const double t0 = std::max(lo, lo2), t1 = std::min(hi, hi2);
        Along.push_back(
            {TPoint2D(a.x + dx * t0, a.y + dy * t0), TPoint2D(a.x + dx * t1, a.y + dy * t1), attr});
      }
  in.insert(in.end(), along.begin(), along.end());
  Rest(in, 1.0, out);
  return true;
}

void TFrontRegions::DrawAlong(TModeler2D& m)
{
  // Most sets end with no pieces waiting: nothing to plan, and no frame to work out for drawing none.
  if (Along.empty()) return AlongPieces.clear();
  PlanAlong({}, false);
  DrawPlannedAlong(m);
}

void TFrontRegions::PlanAlong(const std::vector<TBoundCurve>& curves, bool cut)
{
  AlongPieces.clear();
  std::vector<TAlong>& along = Drawn;
  along.clear();
  along.swap(Along);
  if (along.empty()) return;
  // Only the regions the boundary closes along leave a side unhatched: one it neither enters nor meets one
  // that it enters leaves the hatch as it is, and so the pieces along it.
  auto covered = [&](double x, double y) {
    for (const TCluster& k : Clusters)
      if (x >= k.x1 && x <= k.x2 && y >= k.y1 && y <= k.y2)
        for (std::size_t i = k.From; i < k.To; ++i)
          if (const TRegion& r = Regions[i];
              Joining[i] && BoxesMeet(r, x, y, x, y, 0.0) &&
              std::all_of(r.E.begin(), r.E.end(),
                          [&](const TRegion::TEdge& g) { return Inside(g, x, y) > 0.0; }))
            return true;
    return false;
  };
  // Room for the crossings of a piece, each curve giving two at the most, and its ends.
  std::vector<double>& room = TsAlong;
  room.resize(2 * (cut ? curves.size() : 0) + 2);
  double* const ts = room.data();
  for (const TAlong& p : along) {
    const double dx = p.b.x - p.a.x, dy = p.b.y - p.a.y, len = Length(dx, dy);
    const double nx = -dy / len * 1e-5, ny = dx / len * 1e-5;
    // Split where other curves meet it: a hole's wall may end on it, and each piece keeps to the rule.
    // The ends first and last: most crossings lie between them, where the sort leaves them.
    ts[0] = 0.0;
    double* end = ts + 1;
    // The piece's box, worked out once: the compiler cannot keep it while crossings are added.
    const double x1 = std::min(p.a.x, p.b.x) - Touch, y1 = std::min(p.a.y, p.b.y) - Touch;
    const double x2 = std::max(p.a.x, p.b.x) + Touch, y2 = std::max(p.a.y, p.b.y) + Touch;
    if (cut)
      for (const TBoundCurve& c : curves)
        if (c.bx1 <= x2 && c.bx2 >= x1 && c.by1 <= y2 && c.by2 >= y1) Crossings(p.a, p.b, c, end);
    *end++ = 1.0;
    const std::size_t n = std::size_t(end - ts);
    SortCrossings(ts, n);
    for (std::size_t k = 0; k + 1 < n; ++k) {
      const double t0 = ts[k], t1 = ts[k + 1];
      if ((t1 - t0) * len <= Touch) continue;
      const TPoint2D a(p.a.x + dx * t0, p.a.y + dy * t0), b(p.a.x + dx * t1, p.a.y + dy * t1);
      TAlongPiece piece{a, b, p.Attr, 0, 0, 0};
      if (cut) {
        // A piece of the hatched side's edge stays: hatched on one side of it only, and a side a region
        // covers is unhatched.
        const double mx = p.a.x + dx * (t0 + t1) / 2, my = p.a.y + dy * (t0 + t1) / 2;
        const double sx1 = mx + nx, sy1 = my + ny, sx2 = mx - nx, sy2 = my - ny;
        const bool c1 = covered(sx1, sy1), c2 = covered(sx2, sy2);
        if (c1 && c2) continue;
        if (c1 || c2)
          piece.Rule = 1, piece.Q1 = Ask(c1 ? TPoint2D(sx2, sy2) : TPoint2D(sx1, sy1));
        else
          piece.Rule = 2, piece.Q1 = Ask(TPoint2D(sx1, sy1)), piece.Q2 = Ask(TPoint2D(sx2, sy2));
      }
      AlongPieces.push_back(piece);
    }
  }
}

void TFrontRegions::DrawPlannedAlong(TModeler2D& m)
{
  const TFrame f(m);
  for (const TAlongPiece& piece : AlongPieces) {
    if (piece.Rule == 1 && !Asked[piece.Q1].In) continue;
    if (piece.Rule == 2 && Asked[piece.Q1].In == Asked[piece.Q2].In) continue;
    const TPoint2D a = f.From(piece.a.x, piece.a.y), b = f.From(piece.b.x, piece.b.y);
    m.drLine(a.x, a.y, b.x, b.y, piece.Attr);
  }
}

std::vector<std::pair<double, double>> TFrontRegions::Clip(const TModeler3D& m, double X, double Y, double R,
                                                           double a1, double sweep, bool bounding)
{
  TSpans out;
  Clip(m, X, Y, R, a1, sweep, bounding, out);
  return out;
}

namespace {
// A circle about (X, Y) of radius R drawn in the frame F, on the sheet: its centre, radius and box.
struct TSheetCircle
{
  const TFrame& F;
  double Det, Rs;
  TPoint2D C;
  double x1, y1, x2, y2;
  TSheetCircle(const TFrame& f, double X, double Y, double R)
      : F(f), Det(F.Det()), Rs(std::fabs(R) * std::sqrt(std::fabs(Det))), C(F.To(X, Y)), x1(C.x - Rs),
        y1(C.y - Rs), x2(C.x + Rs), y2(C.y + Rs)
  {
  }
  bool Meets(double gx1, double gy1, double gx2, double gy2) const
  {
    return x1 <= gx2 && x2 >= gx1 && y1 <= gy2 && y2 >= gy1;
  }
};

// The frame m draws in now, worked out once for each placement: kept in the slots given (a key of the six
// numbers that place a point, the frame's six), found there again while the placement stays.
TFrame Placed(const TModeler2D& m, double* key, double* frame, bool& known, bool& angleKnown)
{
  const TTransf2D& t = m.R2D().Transf2D;
  double k[6] = {1.0, 0.0, 0.0, 1.0, 0.0, 0.0}; // an empty stack places as the identity does
  if (t.AMtr.Count > 0) {
    const TMtr2D& a = t.AMtr.Last();
    k[0] = a.M[0][0], k[1] = a.M[0][1], k[2] = a.M[1][0], k[3] = a.M[1][1], k[4] = a.M[2][0], k[5] = a.M[2][1];
  }
  // Bit for bit: a zero's sign can turn an axis's direction by a full turn.
  if (!known || std::memcmp(k, key, sizeof k) != 0) {
    const TFrame f(m);
    std::copy(k, k + 6, key);
    const double values[6] = {f.ox, f.oy, f.xx, f.xy, f.yx, f.yy};
    std::copy(values, values + 6, frame);
    known = true;
    angleKnown = false;
    return f;
  }
  return TFrame(frame);
}
} // namespace

bool TFrontRegions::Meets(const TModeler3D& m, double X, double Y, double R) const
{
  const TFrame f = Placed(m, PlacedKey, PlacedFrame, PlacedKnown, PlacedAngleKnown);
  const TSheetCircle s(f, X, Y, R);
  // Against the regions' own boxes: an arc that meets a cluster's box often passes all its regions.
  for (const TCluster& k : Clusters)
    if (s.Meets(k.gx1, k.gy1, k.gx2, k.gy2))
      for (std::size_t i = k.From; i < k.To; ++i)
        if (const TRegion& r = Regions[i]; s.Meets(r.gx1, r.gy1, r.gx2, r.gy2)) return true;
  return false;
}

void TFrontRegions::Clip(const TModeler3D& m, double X, double Y, double R, double a1, double sweep,
                         bool bounding, std::vector<std::pair<double, double>>& out, const double* ends)
{
  const TFrame f = Placed(m, PlacedKey, PlacedFrame, PlacedKnown, PlacedAngleKnown);
  const TSheetCircle s(f, X, Y, R);
  const double det = s.Det, Rs = s.Rs;
  if (!PlacedAngleKnown) PlacedAngle = Direction(f.xy, f.xx), PlacedAngleKnown = true;
  // Under a placement that mirrors, the arc runs the other way on the sheet.
  const double phi = PlacedAngle, start = det > 0.0 ? phi + a1 : phi - a1 - sweep;
  const TPoint2D c = s.C;
  TSpans& in = In;
  in.clear();
  const double cx1 = s.x1, cy1 = s.y1, cx2 = s.x2, cy2 = s.y2;
  // The arc's own box, worked out once its circle's meets a cluster's: a large arc passes most fasteners by.
  double ax1 = cx1, ay1 = cy1, ax2 = cx2, ay2 = cy2;
  bool arcBox = sweep >= FullTurn;
  for (const TCluster& k : Clusters) {
    if (!s.Meets(k.gx1, k.gy1, k.gx2, k.gy2)) continue;
    if (!arcBox) {
      arcBox = true;
      // The ends on the circle: as drawn, brought onto it, or worked out from the angles.
      TPoint2D p, q;
      if (ends) {
        p = f.To(ends[0], ends[1]), q = f.To(ends[2], ends[3]);
        for (TPoint2D* e : {&p, &q}) {
          const double d = Length(e->x - c.x, e->y - c.y);
          if (d > 0.0) *e = TPoint2D(c.x + (e->x - c.x) * Rs / d, c.y + (e->y - c.y) * Rs / d);
        }
      } else {
        p = TPoint2D(c.x + Rs * std::cos(start), c.y + Rs * std::sin(start));
        q = TPoint2D(c.x + Rs * std::cos(start + sweep), c.y + Rs * std::sin(start + sweep));
      }
      ax1 = std::min(p.x, q.x), ay1 = std::min(p.y, q.y), ax2 = std::max(p.x, q.x), ay2 = std::max(p.y, q.y);
      // Where it passes an axis' direction it reaches the circle's box (a margin for the ends' rounding).
      constexpr double Quarter = FullTurn / 4;
      if (OnSweep(0.0, start, sweep, 0.0)) ax2 = cx2;
      if (OnSweep(Quarter, start, sweep, 0.0)) ay2 = cy2;
      if (OnSweep(2 * Quarter, start, sweep, 0.0)) ax1 = cx1;
      if (OnSweep(3 * Quarter, start, sweep, 0.0)) ay1 = cy1;
      const double e = Touch * (1.0 + Rs);
      ax1 -= e, ay1 -= e, ax2 += e, ay2 += e;
    }
    if (!(ax1 <= k.gx2 && ax2 >= k.gx1 && ay1 <= k.gy2 && ay2 >= k.gy1)) continue;
    for (std::size_t i = k.From; i < k.To; ++i) {
      if (const TRegion& r = Regions[i]; !(ax1 <= r.gx2 && ax2 >= r.gx1 && ay1 <= r.gy2 && ay2 >= r.gy1))
        continue;
      bool cut = false;
      ArcInside(Regions[i], c, Rs, start, sweep, Runs, Gaps_);
      for (const auto& s : Runs)
        if ((s.second - s.first) * Rs > Touch) in.push_back(s), cut = true;
      if (cut && bounding) Cut(i), Hidden.push_back({c, c, i, true});
    }
  }
  if (bounding) Boundary.push_back({true, c.x, c.y, Rs, 0.0, start, std::min(sweep, FullTurn), cx1, cy1, cx2, cy2});
  Rest(in, sweep, out);
  if (det < 0.0) {
    std::reverse(out.begin(), out.end());
    for (auto& [lo, hi] : out)
      std::tie(lo, hi) = std::pair(sweep - hi, sweep - lo);
  }
}

bool TFrontRegions::Hides(const TModeler3D& m, const std::vector<TPoint2D>& points) const
{
  for (const TRegion& r : Regions) {
    bool all = true;
    for (std::size_t k = 0; k < points.size() && all; ++k) {
      TPoint2D t;
      m.R2D().Transf2D.xyMtr(points[k].x, points[k].y, t.x, t.y);
      for (std::size_t i = 0; i < r.E.size() && all; ++i)
        all = Inside(r.E[i], t.x, t.y) > OnOutline;
    }
    if (all && !r.E.empty()) return true;
  }
  return false;
}

bool TFrontRegions::Cuts(const TPoint2D& a, const TPoint2D& b, const TCluster* first, int attr, TSpans& out)
{
  // Whether a region hides a piece is asked first, without the runs along the outlines.
  if (!CutSheet(a, b, first, false, attr, out)) return false;
  // Cut: clipped as a boundary's line drawn at once is, from the first cluster it touches (which may come
  // before the first it enters).
  Boundary.push_back({false, a.x, a.y, b.x, b.y, 0.0, 0.0, std::min(a.x, b.x), std::min(a.y, b.y),
                      std::max(a.x, b.x), std::max(a.y, b.y)});
  CutSheet(a, b, Touched(a, b), true, attr, out);
  return true;
}

const TFrontRegionsWork::TCluster* TFrontRegions::Touched(const TPoint2D& a, const TPoint2D& b) const
{
  const double bx1 = std::min(a.x, b.x), by1 = std::min(a.y, b.y), bx2 = std::max(a.x, b.x),
               by2 = std::max(a.y, b.y);
  for (const TCluster& k : Clusters)
    if (by2 >= k.gy1 && by1 <= k.gy2 && bx2 >= k.gx1 && bx1 <= k.gx2) return &k;
  return nullptr;
}

namespace {
// Draws on m the pieces of the line from (x1, y1) to (x2, y2) between the parameters of spans, those
// longer than a touch.
void DrawSpans(TModeler2D& m, double x1, double y1, double x2, double y2, int attr, const TSpans& spans)
{
  const double len = Length(x2 - x1, y2 - y1);
  for (const auto& [t1, t2] : spans)
    if ((t2 - t1) * len > Touch)
      m.drLine(x1 + (x2 - x1) * t1, y1 + (y2 - y1) * t1, x1 + (x2 - x1) * t2, y1 + (y2 - y1) * t2, attr);
}
} // namespace

void TFrontRegions::DrawWaiting(TModeler2D& m, bool whole)
{
  if (Waiting.empty()) return;
  std::vector<TWaiting> waiting;
  waiting.swap(Waiting);
  // A closing goes through every curve of the boundary, those that waited too.
  if (!whole)
    for (const TWaiting& w : waiting)
      Boundary.push_back({false, w.a.x, w.a.y, w.b.x, w.b.y, 0.0, 0.0, std::min(w.a.x, w.b.x),
                          std::min(w.a.y, w.b.y), std::max(w.a.x, w.b.x), std::max(w.a.y, w.b.y)});
  const TTransf2D& t = m.R2D().Transf2D;
  const TFrame f(m);
  TSpans& out = WaitingOut;
  for (const TWaiting& w : waiting) {
    // As drawn where the placement now puts it there (bit for bit), else back from the sheet.
    TPoint2D p(w.x1, w.y1), q(w.x2, w.y2), pa, qb;
    t.xyMtr(p.x, p.y, pa.x, pa.y);
    t.xyMtr(q.x, q.y, qb.x, qb.y);
    if (std::memcmp(&pa, &w.a, sizeof pa) != 0 || std::memcmp(&qb, &w.b, sizeof qb) != 0)
      p = f.From(w.a.x, w.a.y), q = f.From(w.b.x, w.b.y);
    const TCluster* first = whole ? nullptr : Touched(w.a, w.b);
    if (!first || !CutSheet(w.a, w.b, first, true, w.Attr, out))
      m.drLine(p.x, p.y, q.x, q.y, w.Attr);
    else
      DrawSpans(m, p.x, p.y, q.x, q.y, w.Attr, out);
  }
  waiting.clear();
  if (Waiting.empty()) Waiting.swap(waiting);
}

void TFrontRegions::CloseBoundary(TModeler2D& m)
{
  // The lines that waited: whole if nothing cut the boundary, else clipped as the others were, their cuts
  // counted before the closing starts.
  DrawWaiting(m, Cutting.empty());
  // The boundary's curves move out, Boundary keeping the room of the last ones for the next boundary.
  std::vector<TBoundCurve>& curves = Closing;
  curves.clear();
  std::vector<char>& joining = Joining;
  joining.clear();
  curves.swap(Boundary);
  joining.swap(Cutting);
  HiddenClosing.clear();
  HiddenClosing.swap(Hidden);
  if (joining.empty()) return DrawAlong(m);
  RayCurves(curves, RayLines, RayArcs);
  // Which regions meet which, worked out once for the set.
  if (!OverlapKnown) {
    Overlap.clear();
    OverlapFrom.assign(1, 0);
    // A cluster's box holds its regions' boxes: one away from a region holds none that meets it. The clusters
    // are runs in order, so each list comes out in order.
    for (std::size_t i = 0; i < Regions.size(); ++i) {
      const TRegion& ri = Regions[i];
      for (const TCluster& k : Clusters)
        if (ri.x1 <= k.x2 + Touch && ri.x2 >= k.x1 - Touch && ri.y1 <= k.y2 + Touch && ri.y2 >= k.y1 - Touch)
          for (std::size_t j = k.From; j < k.To; ++j)
            if (j != i && BoxesMeet(Regions[j], ri.x1, ri.y1, ri.x2, ri.y2, Touch)) Overlap.push_back(j);
      OverlapFrom.push_back(Overlap.size());
    }
    OverlapKnown = true;
  }
  // The regions overlapping those that cut the boundary take part too: it closes along their union's outline.
  joining.resize(Regions.size());
  MarkPaired();
  std::vector<std::size_t>& grow = Grow;
  grow.clear();
  for (std::size_t i = 0; i < Regions.size(); ++i)
    if (joining[i]) grow.push_back(i);
  while (!grow.empty()) {
    const std::size_t j = grow.back();
    grow.pop_back();
    for (const std::size_t n : Others(*this, j))
      if (!joining[n]) joining[n] = Joined, grow.push_back(n);
  }
  // The pieces along the outlines and those of the regions' outline ask whether the boundary encloses points:
  // asked together, each curve is tested against the few points whose rays can meet it.
  // Nothing outside the boundary's box is enclosed by it.
  double bx1 = HUGE_VAL, by1 = HUGE_VAL, bx2 = -HUGE_VAL, by2 = -HUGE_VAL;
  for (const TBoundCurve& c : curves)
    bx1 = std::min(bx1, c.bx1), by1 = std::min(by1, c.by1), bx2 = std::max(bx2, c.bx2),
    by2 = std::max(by2, c.by2);
  PlanBox[0] = bx1, PlanBox[1] = by1, PlanBox[2] = bx2, PlanBox[3] = by2;
  Asked.clear();
  AskMiddles(curves);
  PlanAlong(curves, true);
  PlanEdges(curves);
  Enclose(*this);
  DrawPlannedAlong(m);
  DrawPlannedEdges(m);
}

void TFrontRegions::MarkPaired()
{
  // A region hides one piece of each curve that enters it: the boundary cancels inside it where each piece
  // lies on an odd number of the region's others (a hole's wall drawn over the face it opens in, both across
  // a bolt).
  const std::vector<THidden>& hidden = HiddenClosing;
  std::vector<char>& ok = Paired;
  ok.assign(Regions.size(), 1);
  // By region, then by a sum of the ends' coordinates, the same for a piece drawn either way: a piece's like
  // lie next to it, within the touch (the pieces of one wall differ in it even where they share their x).
  constexpr double Ky = 0.7548776662466927;
  std::vector<THiddenOrder>& order = HiddenOrder;
  order.clear();
  for (std::size_t k = 0; k < hidden.size(); ++k)
    if (const THidden& h = hidden[k]; h.Arc)
      ok[h.Region] = 0;
    else if (Joining[h.Region] == 1)
      order.push_back({h.Region, h.a.x + h.b.x + Ky * (h.a.y + h.b.y), std::uint32_t(k)});
  std::sort(order.begin(), order.end(), [](const THiddenOrder& u, const THiddenOrder& v) {
    return u.Region < v.Region || (u.Region == v.Region && u.Key < v.Key);
  });
  auto same = [](const TPoint2D& p, const TPoint2D& q) {
    return std::fabs(p.x - q.x) <= Touch && std::fabs(p.y - q.y) <= Touch;
  };
  constexpr double Window = 4 * Touch * (1 + Ky);
  for (std::size_t k = 0; k < order.size(); ++k) {
    const THiddenOrder& o = order[k];
    if (!ok[o.Region]) continue;
    const THidden& h = hidden[o.Index];
    auto like = [&](const THiddenOrder& u) {
      const THidden& g = hidden[u.Index];
      return (same(h.a, g.a) && same(h.b, g.b)) || (same(h.a, g.b) && same(h.b, g.a));
    };
    std::size_t n = 1;
    for (std::size_t j = k; j-- > 0 && order[j].Region == o.Region && order[j].Key >= o.Key - Window;)
      n += like(order[j]);
    for (std::size_t j = k + 1;
         j < order.size() && order[j].Region == o.Region && order[j].Key <= o.Key + Window; ++j)
      n += like(order[j]);
    if (n % 2 != 0) ok[o.Region] = 0;
  }
  std::vector<char>& joining = Joining;
  for (std::size_t i = 0; i < joining.size(); ++i)
    if (joining[i] == 1 && ok[i]) joining[i] = Cancelling;
}

bool TFrontRegions::Held(std::size_t i, const TPoint2D& mid, const TPoint2D& p0, const TPoint2D& p1) const
{
  // The middle first, for every region whose box holds it: it is what most regions fail on.
  for (const std::size_t j : Others(*this, i)) {
    const TRegion& r = Regions[j];
    if (!(mid.x >= r.x1 && mid.x <= r.x2 && mid.y >= r.y1 && mid.y <= r.y2)) continue;
    const TRegion::TEdge *g = r.E.begin(), *end = r.E.end();
    while (g != end && Inside(*g, mid.x, mid.y) > 0.0)
      ++g;
    if (g != end) continue;
    g = r.E.begin();
    while (g != end && Inside(*g, p0.x, p0.y) >= -Touch && Inside(*g, p1.x, p1.y) >= -Touch)
      ++g;
    if (g == end) return true;
  }
  return false;
}

void TFrontRegions::AskMiddles(const std::vector<TBoundCurve>& curves)
{
  const double bx1 = PlanBox[0], by1 = PlanBox[1], bx2 = PlanBox[2], by2 = PlanBox[3];
  // A region the boundary does not cut lies on one side of it whole (no curve crosses its inside): whether
  // the boundary encloses its middle tells which. Asked for all such regions at once, and answered before the
  // rest is asked.
  const std::vector<char>& joining = Joining;
  std::vector<char>& in = MiddleIn;
  in.assign(Regions.size(), 1);
  std::vector<std::pair<std::size_t, std::uint32_t>>& middles = Middles;
  middles.clear();
  for (std::size_t i = 0; i < Regions.size(); ++i) {
    const TRegion& ri = Regions[i];
    if ((joining[i] != Joined && joining[i] != Cancelling) || !BoxesMeet(ri, bx1, by1, bx2, by2, Touch))
      continue;
    TPoint2D c(0.0, 0.0);
    for (const TRegion::TEdge& e : ri.E)
      c.x += e.p.x, c.y += e.p.y;
    c.x /= double(ri.E.size()), c.y /= double(ri.E.size());
    // Pieces that cancel may pass through the middle, where the parity of the ray's crossings is not to be
    // trusted: such a region is gone through as one that cuts. A curve through the middle passes through the
    // region, and so is one of the pieces it hides.
    if (joining[i] == Cancelling && OnHidden(i, c)) continue;
    middles.push_back({i, Ask(c)});
  }
  if (middles.empty()) return;
  // A few are answered one by one: the batch's own work pays from a tenth as many points as it has curves.
  if (10 * middles.size() < curves.size()) {
    for (const auto& [i, q] : middles)
      in[i] = Enclosed(Asked[q].P, RayLines, RayArcs);
  } else {
    Enclose(*this);
    for (const auto& [i, q] : middles)
      in[i] = Asked[q].In;
  }
  Asked.clear();
}

bool TFrontRegions::OnHidden(std::size_t i, const TPoint2D& c) const
{
  const std::vector<THiddenOrder>& order = HiddenOrder;
  auto k = std::lower_bound(order.begin(), order.end(), i,
                            [](const THiddenOrder& u, std::size_t r) { return u.Region < r; });
  for (; k != order.end() && k->Region == i; ++k) {
    const THidden& h = HiddenClosing[k->Index];
    if (OnCurve(c, BoundLine(h.a, h.b), Touch)) return true;
  }
  return false;
}

void TFrontRegions::PlanEdges(const std::vector<TBoundCurve>& curves)
{
  EdgePieces.clear();
  const std::vector<char>& joining = Joining;
  const double bx1 = PlanBox[0], by1 = PlanBox[1], bx2 = PlanBox[2], by2 = PlanBox[3];
  // Room for the crossings of an edge, each curve giving two at the most, and its ends.
  std::vector<double>& room = Ts;
  room.resize(2 * curves.size() + 2);
  double* const ts = room.data();
  std::vector<const TBoundCurve*>&near = Near, &nearRegion = NearRegion;
  for (std::size_t i = 0; i < Regions.size(); ++i) {
    const TRegion& ri = Regions[i];
    if (!joining[i] || !BoxesMeet(ri, bx1, by1, bx2, by2, Touch)) continue;
    // One that lies on the side away from the hatch has no edge that closes it (see AskMiddles).
    if (!MiddleIn[i]) continue;
    nearRegion.clear();
    const double rx1 = ri.x1 - Touch, ry1 = ri.y1 - Touch, rx2 = ri.x2 + Touch, ry2 = ri.y2 + Touch;
    for (const TBoundCurve& c : curves)
      if (c.bx1 <= rx2 && c.bx2 >= rx1 && c.by1 <= ry2 && c.by2 >= ry1) nearRegion.push_back(&c);
    for (std::size_t k = 0; k < ri.E.size(); ++k) {
      const TRegion::TEdge& e = ri.E[k];
      const double ex1 = std::min(e.p.x, e.q.x), ey1 = std::min(e.p.y, e.q.y);
      const double ex2 = std::max(e.p.x, e.q.x), ey2 = std::max(e.p.y, e.q.y);
      if (ex2 < bx1 || ex1 > bx2 || ey2 < by1 || ey1 > by2) continue;
      ts[0] = 0.0;
      double* end = ts + 1;
      near.clear();
      for (const TBoundCurve* c : nearRegion)
        if (c->bx1 <= ex2 + Touch && c->bx2 >= ex1 - Touch && c->by1 <= ey2 + Touch &&
            c->by2 >= ey1 - Touch) {
          near.push_back(c);
          Crossings(e.p, e.q, *c, end);
        }
      *end++ = 1.0;
      const std::size_t count = std::size_t(end - ts);
      SortCrossings(ts, count);
      const double dx = e.q.x - e.p.x, dy = e.q.y - e.p.y, len = Length(dx, dy);
      auto at = [&](double t) { return TPoint2D(e.p.x + dx * t, e.p.y + dy * t); };
      for (std::size_t n = 0; n + 1 < count; ++n) {
        // Between two crossings of the boundary a piece lies on the hatched side or not as a whole.
        const double t0 = ts[n], t1 = ts[n + 1];
        if ((t1 - t0) * len <= Touch) continue;
        const TPoint2D mid = at((t0 + t1) / 2);
        if (mid.x < bx1 || mid.x > bx2 || mid.y < by1 || mid.y > by2) continue;
        // One the boundary already runs along closes nothing (tested first: the cheaper test).
        if (std::any_of(near.begin(), near.end(),
                        [&](const TBoundCurve* c) { return OnCurve(mid, *c, Touch); }))
          continue;
        // Wholly inside another region: nothing to close (one away from the edge holds no point of it).
        if (Held(i, mid, at(t0), at(t1))) continue;
        EdgePieces.push_back({i, k, t0, t1, Ask(mid)});
      }
    }
  }
}

void TFrontRegions::DrawPlannedEdges(TModeler2D& m)
{
  const TFrame f(m);
  // Room for the crossings of a piece with the other regions' edges (all in Edges), two at the most each, and
  // its ends.
  std::vector<double>& room = Ts2;
  room.resize(2 * Edges.size() + 2);
  double* const ts2 = room.data();
  for (const TEdgePiece& piece : EdgePieces) {
    if (!Asked[piece.Q].In) continue;
    const std::size_t i = piece.Region;
    const TRegion& ri = Regions[i];
    const TRegion::TEdge& e = ri.E[piece.Edge];
    const TIndices others = Others(*this, i);
    const double ex1 = std::min(e.p.x, e.q.x), ey1 = std::min(e.p.y, e.q.y);
    const double ex2 = std::max(e.p.x, e.q.x), ey2 = std::max(e.p.y, e.q.y);
    const double dx = e.q.x - e.p.x, dy = e.q.y - e.p.y, len = Length(dx, dy);
    auto at = [&](double t) { return TPoint2D(e.p.x + dx * t, e.p.y + dy * t); };
    const double t0 = piece.t0, t1 = piece.t1;
    const TPoint2D p0 = at(t0), p1 = at(t1);
    // On the hatched side: the pieces outside the other regions close it; where the outlines of two
    // regions run together, the first one's.
    ts2[0] = 0.0, ts2[1] = 1.0;
    double* end = ts2 + 2;
    for (const std::size_t j : others)
      if (BoxesMeet(Regions[j], std::min(p0.x, p1.x), std::min(p0.y, p1.y), std::max(p0.x, p1.x),
                    std::max(p0.y, p1.y), Touch))
        for (const TRegion::TEdge& g : Regions[j].E)
          Crossings(p0, p1, BoundLine(g.p, g.q), end);
    const std::size_t count = std::size_t(end - ts2);
    for (double* t = ts2; t != end; ++t)
      *t = t0 + (t1 - t0) * *t;
    SortFew(ts2, count);
    for (std::size_t q = 0; q + 1 < count; ++q) {
      const double u0 = std::clamp(ts2[q], t0, t1), u1 = std::clamp(ts2[q + 1], t0, t1);
      if ((u1 - u0) * len <= Touch) continue;
      const TPoint2D c = at((u0 + u1) / 2);
      const double ox = c.x - e.nx * 1e-5, oy = c.y - e.ny * 1e-5;
      // Beside the edge, the regions near it.
      if (std::any_of(others.begin(), others.end(), [&](std::size_t j) {
            const TRegion& r = Regions[j];
            return BoxesMeet(r, ox, oy, ox, oy, 0.0) && BoxesMeet(r, ex1, ey1, ex2, ey2, Touch) &&
                   std::all_of(r.E.begin(), r.E.end(),
                               [&](const TRegion::TEdge& g) { return Inside(g, ox, oy) > 0.0; });
          }))
        continue;
      bool earlier = false;
      for (const std::size_t j : others)
        if (j < i && !earlier && BoxesMeet(Regions[j], c.x, c.y, c.x, c.y, Touch))
          for (const TRegion::TEdge& g : Regions[j].E)
            earlier = earlier || OnCurve(c, BoundLine(g.p, g.q), Touch);
      if (earlier) continue;
      const TPoint2D a = f.From(at(u0).x, at(u0).y), b = f.From(at(u1).x, at(u1).y);
      m.drLine(a.x, a.y, b.x, b.y, 1);
    }
  }
}

TFrontModeler::TFrontModeler(TModeler3D& to) : TFrontModeler(to, TFrontRegions::Standing()) {}

TFrontModeler::TFrontModeler(TModeler3D& to, TFrontRegions* front)
    : TModeler3D(&Own, false), To(&to), Front(front)
{
}

namespace {
// Front modellers no longer used, kept for the next set of regions: making one makes its drawing state, which
// costs more than many lines do. Deleted when the library is unloaded or the process ends; one given back
// after that is deleted at once.
struct TSpareFronts
{
  std::vector<TFrontModeler*> List;
  bool Gone = false;
  ~TSpareFronts()
  {
    Gone = true;
    for (TFrontModeler* f : List)
      delete f;
    List.clear();
  }
};
TSpareFronts SpareFronts;
constexpr std::size_t KeepFronts = 8;
} // namespace

bool TFrontModeler::AsNew() const
{
  const TRegistryModeler2D& r = R2D();
  return r.AContour.Count == 0 && r.HatchContour.Count == 0 && !r.CurDrawingObject && !r.PrevDrawingObject &&
         r.PrevIndex == 0 && r.Transf2D.AMtr.Count == 0 && !r.OnlySizes2D && r.APrevCommand.Count == 0 &&
         r.AGroup.Count == 0 && r.ACutPoint.Count == 0 && r.Closer == nullptr && r.DI.cDetail == 0 &&
         r.DI.cSuffics == 0 && r.DI.Left == 0.0 && r.DI.Top == 0.0 && C.Count == 0;
}

TFrontModeler* TFrontModeler::Take(TModeler3D& to, TFrontRegions* front)
{
  if (SpareFronts.List.empty()) return new TFrontModeler(to, front);
  TFrontModeler* f = SpareFronts.List.back();
  SpareFronts.List.pop_back();
  f->To = &to;
  f->Front = front;
  return f;
}

void TFrontModeler::Give(TFrontModeler* f)
{
  if (SpareFronts.Gone || SpareFronts.List.size() >= KeepFronts || !f->AsNew()) {
    delete f;
    return;
  }
  SpareFronts.List.push_back(f);
}

TFrontLines::TFrontLines(TModeler3D& m)
{
  TFrontRegions* regions = TFrontRegions::Standing();
  Lines = regions ? regions->Through(m) : nullptr;
  if (!Lines) Lines = Own = TFrontModeler::Take(m, regions);
}

TFrontLines::~TFrontLines()
{
  if (Own) TFrontModeler::Give(Own);
}

void TFrontModeler::drLine(const double& x1, const double& y1, const double& x2, const double& y2, int Attr)
{
  // Thin lines in the negated style (a thread's root) are drawn too, and hidden as the others are.
  if (!Front || Attr == 0) return To->drLine(x1, y1, x2, y2, Attr);
  const TRegistryModeler2D& r = To->R2D();
  TPoint2D a, b;
  r.Transf2D.xyMtr(x1, y1, a.x, a.y);
  r.Transf2D.xyMtr(x2, y2, b.x, b.y);
  TSpans& out = Out;
  const bool bounding = Bounding(r);
  // A boundary's line that nothing cuts waits for the boundary's closing, which draws it whole if nothing cut
  // the boundary at all.
  if (bounding && Front->Waits(*To)) {
    if (Front->Wait(a, b, x1, y1, x2, y2, Attr, out)) return;
  } else if (!Front->ClipSheet(a, b, bounding, Attr, out)) {
    return To->drLine(x1, y1, x2, y2, Attr);
  }
  DrawSpans(*To, x1, y1, x2, y2, Attr, out);
}

void TFrontModeler::drArc(const double& X, const double& Y, const double& R, const double& x1,
                          const double& y1, const double& x2, const double& y2, int Napr, int Attr)
{
  if (!Front || Attr <= 0) return To->drArc(X, Y, R, x1, y1, x2, y2, Napr, Attr);
  // An arc of the drawing away from every fastener stays whole, with no angles worked out (unless its ends are
  // no numbers: such an arc is not drawn).
  const bool bounding = Bounding(To->R2D());
  if (!bounding && std::isfinite(X) && std::isfinite(Y) && std::isfinite(x1) && std::isfinite(y1) &&
      std::isfinite(x2) && std::isfinite(y2) && !Front->Meets(*To, X, Y, R))
    return To->drArc(X, Y, R, x1, y1, x2, y2, Napr, Attr);
  // Counter-clockwise from a1 over the sweep; the pieces outside the regions go in the arc's own sense.
  double a1 = Direction(y1 - Y, x1 - X), a2 = Direction(y2 - Y, x2 - X);
  if (Napr < 0) std::swap(a1, a2);
  double sweep = a2 - a1;
  while (sweep <= 0.0)
    sweep += FullTurn;
  TSpans& out = Out;
  const double ends[] = {x1, y1, x2, y2};
  Front->Clip(*To, X, Y, R, a1, sweep, bounding, out, ends);
  if (out.size() == 1 && out[0].first == 0.0 && out[0].second == sweep)
    return To->drArc(X, Y, R, x1, y1, x2, y2, Napr, Attr);
  const double r = std::fabs(R);
  for (const auto& [u1, u2] : out) {
    if (!((u2 - u1) * r > Touch)) continue;
    const double p1 = X + r * std::cos(a1 + u1), q1 = Y + r * std::sin(a1 + u1);
    const double p2 = X + r * std::cos(a1 + u2), q2 = Y + r * std::sin(a1 + u2);
    if (Napr < 0)
      To->drArc(X, Y, R, p2, q2, p1, q1, Napr, Attr);
    else
      To->drArc(X, Y, R, p1, q1, p2, q2, Napr, Attr);
  }
}

void TFrontModeler::drCircle(const double& X, const double& Y, const double& R, int Attr)
{
  // A circle of a boundary is cut as its arcs are; a drawing's circles stay whole.
  if (!Front || Attr <= 0 || !Bounding(To->R2D())) return To->drCircle(X, Y, R, Attr);
  TSpans& out = Out;
  Front->Clip(*To, X, Y, R, 0.0, FullTurn, true, out);
  if (out.size() == 1 && out[0].first == 0.0 && out[0].second == FullTurn) return To->drCircle(X, Y, R, Attr);
  const double r = std::fabs(R);
  for (const auto& [u1, u2] : out)
    if ((u2 - u1) * r > Touch)
      To->drArc(X, Y, r, X + r * std::cos(u1), Y + r * std::sin(u1), X + r * std::cos(u2),
               Y + r * std::sin(u2), 1, Attr);
}

void TFrontModeler::drEllipse(const double& X, const double& Y, const double& A, const double& B,
                              const double& Angle, int Attr)
{
  To->drEllipse(X, Y, A, B, Angle, Attr);
}

void TFrontModeler::drMtr(double x, double y, double Angle, double Scale)
{
  To->drMtr(x, y, Angle, Scale);
}

void TFrontModeler::drDeleteMtr()
{
  To->drDeleteMtr();
}

namespace {
// A figure of a program and its holes: the holes' lines and arcs are kept as they come, then the program's
// lines near a hole are kept, and the rest drawn through at once; once the pieces that cancel are known, the
// kept ones are drawn.
class TFigureRecorder : private TFrontModelerState, public TModeler3D
{
public:
  TFigureRecorder() : TModeler3D(&Own, false) {}
  using TModeler2D::drArc;
  using TModeler2D::drAStView7;
  using TModeler2D::drView;
  using TModeler3D::drSpcObj;
  void drLine(const double& x1, const double& y1, const double& x2, const double& y2, int Attr) override
  {
    if (Out) {
      const TBox b{std::min(x1, x2) - Touch, std::min(y1, y2) - Touch, std::max(x1, x2) + Touch,
                   std::max(y1, y2) + Touch};
      if (std::none_of(RunBoxes.begin(), RunBoxes.end(), [&](const TBox& r) { return r.Meets(b); }))
        return Out->drLine(x1, y1, x2, y2, Attr);
      Calls.push_back({TCall::Line, 0, Attr, {x1, y1, x2, y2}});
      return;
    }
    TCall c{TCall::Line, 0, Attr, {x1, y1, x2, y2}};
    Placed(c.V, 2);
    Chain(c.V[0], c.V[1], c.V[2], c.V[3]);
    Calls.push_back(c);
  }
  void drArc(const double& X, const double& Y, const double& R, const double& x1, const double& y1,
             const double& x2, const double& y2, int Napr, int Attr) override
  {
    if (Out) return Out->drArc(X, Y, R, x1, y1, x2, y2, Napr, Attr);
    TCall c{TCall::Arc, Napr, Attr, {X, Y, R, x1, y1, x2, y2}};
    Placed(c.V, 3);
    Napr < 0 ? Chain(c.V[5], c.V[6], c.V[3], c.V[4]) : Chain(c.V[3], c.V[4], c.V[5], c.V[6]);
    Calls.push_back(c);
  }
  void drCircle(const double& X, const double& Y, const double& R, int Attr) override
  {
    if (Out) return Out->drCircle(X, Y, R, Attr);
    TCall c{TCall::Circle, 0, Attr, {X, Y, R}};
    Placed(c.V, 1);
    Chain(NAN, NAN, NAN, NAN);
    Calls.push_back(c);
  }
  void drEllipse(const double&, const double&, const double&, const double&, const double&, int) override {}
  void drView(int, const double&, const double&, const double&, const double&, const TString&) override {}
  void drAStView7(int, const double&, const double&, const double&, const double&, const TString&,
                  const TString&, const TString&) override
  {
  }
  void drSpcObject(TSectionSpc, const TString&, int, int) override {}

  // Forgets the last figure. The holes' calls are kept next, a run of them where each starts where the last
  // one ended.
  void Clear() { Calls.clear(), HoleRuns.clear(), RunBoxes.clear(), Out = nullptr; }
  bool Holes() const { return !Calls.empty(); }
  // From now on the program's lines near none of the holes are drawn on out at once, as are its arcs.
  void DrawThrough(TModeler3D& out);
  // Works out what is left of each kept line that lies along a line of the other side (a hole or the
  // program), and draws the kept calls, the program's then the holes', each line as the pieces of it left.
  void Finish();

private:
  struct TCall
  {
    enum { Line, Arc, Circle } Kind;
    int Napr, Attr;
    double V[7];
  };
  struct TBox
  {
    double x1, y1, x2, y2;
    bool Meets(const TBox& b) const { return x1 <= b.x2 && x2 >= b.x1 && y1 <= b.y2 && y2 >= b.y1; }
  };
  struct TBreak
  {
    double t;
    TPoint2D p;
  };
  TBox Box(std::size_t i) const
  {
    const double* v = Calls[i].V;
    return {std::min(v[0], v[2]) - Touch, std::min(v[1], v[3]) - Touch, std::max(v[0], v[2]) + Touch,
            std::max(v[1], v[3]) + Touch};
  }
  // Whether line j lies along line i (of more than a touch's length) over more than a touch, in i's style.
  bool Along(std::size_t i, std::size_t j) const;
  void Cancel();
  void DrawKept(std::size_t from, std::size_t to) const;
  // What is left of a hole's line h and the program's line c along it, where neither lies along another.
  void CancelPair(std::size_t h, std::size_t c);
  // What is left of the lines in Members, which lie along one line, where more than two do.
  void CancelRun();
  void Piece(const TPoint2D& a, const TPoint2D& b) { Pieces.push_back({a, b}); }
  // Starts a new run of the holes' calls unless the one from (x1, y1) to (x2, y2) goes on from the last.
  void Chain(double x1, double y1, double x2, double y2)
  {
    if (HoleRuns.empty() || !(std::fabs(x1 - LastX) <= Touch && std::fabs(y1 - LastY) <= Touch))
      HoleRuns.push_back(Calls.size());
    LastX = x2, LastY = y2;
  }
  double LastX = 0.0, LastY = 0.0;
  // A hole may draw in a placement of its own: its call's points (a line's two; an arc's or a circle's centre
  // first, its radius after it, then its ends) kept in the frame the program draws in.
  void Placed(double* v, int points) const
  {
    const TTransf2D& t = R2D().Transf2D;
    if (t.AMtr.Count <= 0) return;
    for (int k = 0; k < points; ++k) {
      double* p = v + 2 * k + (k > 0 && points != 2 ? 1 : 0);
      t.xyMtr(p[0], p[1], p[0], p[1]);
    }
    if (points != 2) v[2] *= t.ScaleMtr();
  }
  std::size_t Root(std::size_t i)
  {
    while (Up[i] != i)
      i = Up[i] = Up[Up[i]];
    return i;
  }

  TModeler3D* Out = nullptr;
  std::vector<TCall> Calls;
  // Where each pass of a hole starts among the calls, and the box of its lines; the program's kept lines
  // come after the holes', from Program on.
  std::vector<std::size_t> HoleRuns;
  std::vector<TBox> RunBoxes, HoleBoxes;
  std::size_t Program = 0;
  // How many lines of the other side each lies along (none, one, more), and its pieces, From[i] to To[i].
  std::vector<char> Partners;
  std::vector<std::uint32_t> From, To;
  std::vector<std::pair<TPoint2D, TPoint2D>> Pieces;
  std::vector<std::pair<std::size_t, std::size_t>> Pairs;
  std::vector<std::size_t> Up, Members, All;
  std::vector<TBreak> Breaks;
  std::vector<std::pair<std::size_t, std::size_t>> Spans; // each member's first and last break
  std::vector<std::ptrdiff_t> Owner;
};

bool TFigureRecorder::Along(std::size_t i, std::size_t j) const
{
  const double* h = Calls[i].V;
  const double* v = Calls[j].V;
  if (Calls[j].Attr != Calls[i].Attr) return false;
  const double dx = h[2] - h[0], dy = h[3] - h[1], len = Length(dx, dy);
  if (!(len > Touch)) return false;
  const double ux = dx / len, uy = dy / len;
  const double e1 = ux * (v[1] - h[1]) - uy * (v[0] - h[0]), e2 = ux * (v[3] - h[1]) - uy * (v[2] - h[0]);
  if (!(std::fabs(e1) <= Touch && std::fabs(e2) <= Touch)) return false;
  const double t1 = ux * (v[0] - h[0]) + uy * (v[1] - h[1]), t2 = ux * (v[2] - h[0]) + uy * (v[3] - h[1]);
  return std::min(len, std::max(t1, t2)) - std::max(0.0, std::min(t1, t2)) > Touch;
}

void TFigureRecorder::DrawThrough(TModeler3D& out)
{
  Program = Calls.size();
  HoleBoxes.resize(Program);
  for (std::size_t run = 0; run < HoleRuns.size(); ++run) {
    const std::size_t to = run + 1 < HoleRuns.size() ? HoleRuns[run + 1] : Program;
    TBox box{HUGE_VAL, HUGE_VAL, -HUGE_VAL, -HUGE_VAL};
    for (std::size_t i = HoleRuns[run]; i < to; ++i) {
      // An arc's or a circle's box is empty: it meets nothing.
      const TBox b = Calls[i].Kind != TCall::Line ? TBox{HUGE_VAL, HUGE_VAL, -HUGE_VAL, -HUGE_VAL} : Box(i);
      HoleBoxes[i] = b;
      box = {std::min(box.x1, b.x1), std::min(box.y1, b.y1), std::max(box.x2, b.x2), std::max(box.y2, b.y2)};
    }
    RunBoxes.push_back(box);
  }
  Out = &out;
}

void TFigureRecorder::Finish()
{
  Cancel();
  DrawKept(Program, Calls.size());
  DrawKept(0, Program);
  Out = nullptr;
}

void TFigureRecorder::Cancel()
{
  Pieces.clear();
  Pairs.clear();
  const std::size_t n = Calls.size();
  Partners.assign(n, 0);
  // Each kept line of the program against the lines of the holes' passes whose box it meets.
  for (std::size_t j = Program; j < n; ++j) {
    const TBox b = Box(j);
    for (std::size_t run = 0; run < HoleRuns.size(); ++run) {
      if (!RunBoxes[run].Meets(b)) continue;
      const std::size_t to = run + 1 < HoleRuns.size() ? HoleRuns[run + 1] : Program;
      for (std::size_t i = HoleRuns[run]; i < to; ++i)
        if (HoleBoxes[i].Meets(b) && Along(i, j)) {
          Pairs.push_back({i, j});
          Partners[i] = char(std::min(Partners[i] + 1, 2)), Partners[j] = char(std::min(Partners[j] + 1, 2));
        }
    }
  }
  if (Pairs.empty()) return;
  From.resize(n), To.resize(n);
  // Most lines lie along one other only: a band's wall over a face.
  if (std::all_of(Pairs.begin(), Pairs.end(),
                  [&](const auto& q) { return Partners[q.first] == 1 && Partners[q.second] == 1; })) {
    for (const auto& [h, c] : Pairs)
      CancelPair(h, c);
    return;
  }
  // Otherwise the lines along one another in runs, each member in the order it was drawn.
  Up.resize(n);
  for (const auto& [i, j] : Pairs)
    Up[i] = i, Up[j] = j;
  for (const auto& [i, j] : Pairs)
    Up[Root(i)] = Root(j);
  All.clear();
  for (std::size_t i = 0; i < n; ++i)
    if (Partners[i]) All.push_back(Root(i) * n + i);
  std::sort(All.begin(), All.end());
  for (std::size_t first = 0; first < All.size();) {
    std::size_t last = first + 1;
    while (last < All.size() && All[last] / n == All[first] / n)
      ++last;
    Members.clear();
    for (std::size_t k = first; k < last; ++k)
      Members.push_back(All[k] % n);
    first = last;
    CancelRun();
  }
}

void TFigureRecorder::CancelPair(std::size_t h, std::size_t c)
{
  // Along c from its start (0) to its end (len): h covers [lo, hi]; each keeps what the other does not cover.
  const double* v = Calls[c].V;
  const double* w = Calls[h].V;
  const TPoint2D c0(v[0], v[1]), c1(v[2], v[3]), h0(w[0], w[1]), h1(w[2], w[3]);
  const double dx = v[2] - v[0], dy = v[3] - v[1], len = Length(dx, dy);
  const double t0 = ((w[0] - v[0]) * dx + (w[1] - v[1]) * dy) / len,
               t1 = ((w[2] - v[0]) * dx + (w[3] - v[1]) * dy) / len;
  const bool forward = t0 <= t1;
  const double lo = forward ? t0 : t1, hi = forward ? t1 : t0;
  const TPoint2D &plo = forward ? h0 : h1, &phi = forward ? h1 : h0;
  From[c] = std::uint32_t(Pieces.size());
  if (lo > Touch) Piece(c0, plo);
  if (hi < len - Touch) Piece(phi, c1);
  To[c] = From[h] = std::uint32_t(Pieces.size());
  // h's pieces beyond c's ends, in h's own sense.
  const bool before = lo<-Touch, after = hi> len + Touch;
  if (forward) {
    if (before) Piece(h0, c0);
    if (after) Piece(c1, h1);
  } else {
    if (after) Piece(h0, c1);
    if (before) Piece(c0, h1);
  }
  To[h] = std::uint32_t(Pieces.size());
}

void TFigureRecorder::CancelRun()
{
  // Parametrised along the first line: the pieces between the ends of the lines, each covered by how many; an
  // odd count leaves it to the first that covers it, an even one cancels.
  const double* f = Calls[Members[0]].V;
  const double len = Length(f[2] - f[0], f[3] - f[1]);
  const double ux = (f[2] - f[0]) / len, uy = (f[3] - f[1]) / len;
  auto at = [&](double x, double y) { return ux * (x - f[0]) + uy * (y - f[1]); };
  Breaks.clear();
  for (const std::size_t i : Members) {
    const double* v = Calls[i].V;
    Breaks.push_back({at(v[0], v[1]), TPoint2D(v[0], v[1])});
    Breaks.push_back({at(v[2], v[3]), TPoint2D(v[2], v[3])});
  }
  std::sort(Breaks.begin(), Breaks.end(), [](const TBreak& a, const TBreak& b) { return a.t < b.t; });
  // Ends within a touch are one break, at the first of them.
  std::size_t kept = 0;
  for (std::size_t k = 0; k < Breaks.size(); ++k)
    if (kept == 0 || Breaks[k].t - Breaks[kept - 1].t > Touch) Breaks[kept++] = Breaks[k];
  Breaks.resize(kept);
  auto index = [&](double t) {
    std::size_t k = 0;
    while (k + 1 < Breaks.size() && Breaks[k + 1].t <= t + Touch)
      ++k;
    return k;
  };
  Spans.clear();
  for (const std::size_t i : Members) {
    const double* v = Calls[i].V;
    const std::size_t a = index(at(v[0], v[1])), b = index(at(v[2], v[3]));
    Spans.push_back({std::min(a, b), std::max(a, b)});
  }
  Owner.assign(Breaks.size(), -1);
  for (std::size_t k = 0; k + 1 < Breaks.size(); ++k) {
    std::size_t count = 0;
    std::ptrdiff_t first = -1;
    for (std::size_t m = 0; m < Members.size(); ++m)
      if (Spans[m].first <= k && k < Spans[m].second && count++ == 0) first = std::ptrdiff_t(m);
    if (count % 2 != 0) Owner[k] = first;
  }
  // Each member's runs of the pieces it keeps, in its own sense; one it keeps whole stays as it was drawn.
  for (std::size_t m = 0; m < Members.size(); ++m) {
    const std::size_t i = Members[m];
    const double* v = Calls[i].V;
    const auto [lo, hi] = Spans[m];
    const bool forward = at(v[0], v[1]) <= at(v[2], v[3]);
    From[i] = std::uint32_t(Pieces.size());
    for (std::size_t k = lo; k < hi;) {
      if (Owner[k] != std::ptrdiff_t(m)) {
        ++k;
        continue;
      }
      const std::size_t k0 = k;
      while (k < hi && Owner[k] == std::ptrdiff_t(m))
        ++k;
      if (k0 == lo && k == hi)
        Piece(TPoint2D(v[0], v[1]), TPoint2D(v[2], v[3]));
      else if (forward)
        Piece(Breaks[k0].p, Breaks[k].p);
      else
        Piece(Breaks[k].p, Breaks[k0].p);
    }
    To[i] = std::uint32_t(Pieces.size());
    if (!forward) std::reverse(Pieces.begin() + From[i], Pieces.end());
  }
}

void TFigureRecorder::DrawKept(std::size_t from, std::size_t to) const
{
  TModeler3D& m = *Out;
  for (std::size_t i = from; i < to; ++i) {
    const TCall& c = Calls[i];
    const double* v = c.V;
    if (c.Kind == TCall::Arc)
      m.drArc(v[0], v[1], v[2], v[3], v[4], v[5], v[6], c.Napr, c.Attr);
    else if (c.Kind == TCall::Circle)
      m.drCircle(v[0], v[1], v[2], c.Attr);
    else if (!Partners[i])
      m.drLine(v[0], v[1], v[2], v[3], c.Attr);
    else
      for (std::uint32_t k = From[i]; k < To[i]; ++k)
        m.drLine(Pieces[k].first.x, Pieces[k].first.y, Pieces[k].second.x, Pieces[k].second.y, c.Attr);
  }
}

// Kept for the next figure: making one makes its drawing state.
std::unique_ptr<TFigureRecorder> SpareRecorder;
} // namespace

void TContDrawing::drContBlockWithHoles(
    int tl, std::initializer_list<std::pair<const TContDrawing*, int>> holes) const
{
  drContBlockWithHoles(tl, [&](TModeler3D& m) {
    for (const auto& [hole, code] : holes)
      if (hole) hole->RunBlock(m, code);
  });
}

void TContDrawing::drContBlockWithHoles(int tl, const std::function<void(TModeler3D&)>& holes) const
{
  if (First == nullptr || M2.Ptr == nullptr) return;
  std::unique_ptr<TFigureRecorder> r = std::move(SpareRecorder);
  if (!r) r = std::make_unique<TFigureRecorder>();
  r->Clear();
  holes(*r);
  if (!r->Holes())
    drContBlock(tl);
  else
    ThroughFront(M(), [&](TModeler3D& m) {
      r->DrawThrough(m);
      RunBlock(*r, tl);
      r->Finish();
    });
  SpareRecorder = std::move(r);
}
