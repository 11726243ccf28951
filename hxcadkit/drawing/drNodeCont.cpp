#include "hxcadkit/drawing/drNodeCont.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <new>

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

// The drawing state of one pass.
struct TPass
{
  TModeler3D& M;
  int Flag;
  int Style;
  bool Mirrored;
  double Px = 0.0, Py = 0.0;

  double Y(double y) const { return Mirrored ? -y : y; }

  void Draw(const TNode& n)
  {
    if (n.Kind == TNode::nTL) {
      Style = n.Style;
      return;
    }
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

void TContDrawing::Draw(int t, bool mirrored) const
{
  if (First == nullptr || M2.Ptr == nullptr) return;
  auto run = [&](TModeler3D& m) {
    TPass pass{m, t, t != 0 ? t : 1, mirrored};
    for (const TNode* n = First; n != nullptr; n = n->Next)
      pass.Draw(*n);
  };
  if (!TFrontRegions::Standing()) return run(M());
  TFrontModeler front(M());
  run(front);
}

// ---------------------------------------------------------------------------------------------
// TFrontRegions and TFrontModeler

namespace {
const TFrontRegions* StandingRegions = nullptr;
// A line this close to a region's outline runs along it.
constexpr double OnOutline = 1e-7;
} // namespace

TFrontRegions::TFrontRegions(TModeler3D& m) : M(m), Previous(StandingRegions)
{
  StandingRegions = this;
}

TFrontRegions::~TFrontRegions()
{
  StandingRegions = Previous;
}

const TFrontRegions* TFrontRegions::Standing()
{
  return StandingRegions;
}

void TFrontRegions::Polygon(const std::vector<TPoint2D>& corners)
{
  if (corners.size() < 3) return;
  std::vector<TPoint2D> p;
  for (const TPoint2D& c : corners) {
    TPoint2D q;
    M.R2D().Transf2D.xyMtr(c.x, c.y, q.x, q.y);
    if (!std::isfinite(q.x) || !std::isfinite(q.y)) return;
    p.push_back(q);
  }
  double area = 0.0;
  for (std::size_t i = 0; i < p.size(); ++i) {
    const TPoint2D &a = p[i], &b = p[(i + 1) % p.size()];
    area += a.x * b.y - b.x * a.y;
  }
  if (std::fabs(area) < 1e-12) return;
  if (area < 0.0) std::reverse(p.begin(), p.end());
  Regions.push_back(std::move(p));
}

void TFrontRegions::Box(double x1, double y1, double x2, double y2)
{
  Polygon({TPoint2D(x1, y1), TPoint2D(x2, y1), TPoint2D(x2, y2), TPoint2D(x1, y2)});
}

std::vector<std::pair<double, double>> TFrontRegions::Outside(const TModeler3D& m, double x1, double y1,
                                                              double x2, double y2) const
{
  TPoint2D a, b;
  m.R2D().Transf2D.xyMtr(x1, y1, a.x, a.y);
  m.R2D().Transf2D.xyMtr(x2, y2, b.x, b.y);
  // Where the segment runs strictly inside each region (a convex one: between the last entry and the
  // first exit over its edges), then what is left of 0..1.
  std::vector<std::pair<double, double>> in;
  for (const auto& r : Regions) {
    double lo = 0.0, hi = 1.0;
    for (std::size_t i = 0; i < r.size() && lo < hi; ++i) {
      const TPoint2D &p = r[i], &q = r[(i + 1) % r.size()];
      const double ex = q.x - p.x, ey = q.y - p.y, len = std::hypot(ex, ey);
      if (!(len > 0.0)) continue;
      // Distance inside the edge (to its left) at the segment's ends, less the outline's band.
      const double da = (ex * (a.y - p.y) - ey * (a.x - p.x)) / len - OnOutline;
      const double db = (ex * (b.y - p.y) - ey * (b.x - p.x)) / len - OnOutline;
      if (da <= 0.0 && db <= 0.0) {
        hi = lo;
        break;
      }
      if (da < 0.0) lo = std::max(lo, da / (da - db));
      if (db < 0.0) hi = std::min(hi, da / (da - db));
    }
    if (lo < hi) in.push_back({lo, hi});
  }
  std::sort(in.begin(), in.end());
  std::vector<std::pair<double, double>> out;
  double from = 0.0;
  for (const auto& [lo, hi] : in) {
    if (lo > from) out.push_back({from, lo});
    from = std::max(from, hi);
  }
  if (from < 1.0) out.push_back({from, 1.0});
  return out;
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
  const int f = tl % 10;
  switch (tl / 10) {
  case 2:
    dr2DMY(f);
    break;
  case 3:
    dr2DMY(f);
    dr2D(f);
    break;
  default:
    dr2D(f);
    break;
  }
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

TFrontModeler::TFrontModeler(TModeler3D& to)
    : TModeler3D(&Own, false), To(to), Front(TFrontRegions::Standing())
{
}

void TFrontModeler::drLine(const double& x1, const double& y1, const double& x2, const double& y2, int Attr)
{
  // Thin lines in the negated style (a thread's root) are drawn too, and hidden as the others are.
  if (!Front || Attr == 0) return To.drLine(x1, y1, x2, y2, Attr);
  // Pieces shorter than the outline's band are where a line only touches a region.
  const double len = std::hypot(x2 - x1, y2 - y1);
  for (const auto& [t1, t2] : Front->Outside(To, x1, y1, x2, y2))
    if ((t2 - t1) * len > 1e-6)
      To.drLine(x1 + (x2 - x1) * t1, y1 + (y2 - y1) * t1, x1 + (x2 - x1) * t2, y1 + (y2 - y1) * t2, Attr);
}

void TFrontModeler::drArc(const double& X, const double& Y, const double& R, const double& x1,
                          const double& y1, const double& x2, const double& y2, int Napr, int Attr)
{
  if (!Front || Attr <= 0) return To.drArc(X, Y, R, x1, y1, x2, y2, Napr, Attr);
  // Counter-clockwise from a1 to a2; the pieces outside the regions go in the arc's own sense.
  double a1 = std::atan2(y1 - Y, x1 - X), a2 = std::atan2(y2 - Y, x2 - X);
  if (Napr < 0) std::swap(a1, a2);
  while (a2 <= a1)
    a2 += 2 * M_PI;
  auto at = [&](double a) { return TPoint2D(X + R * std::cos(a), Y + R * std::sin(a)); };
  auto hidden = [&](double a) { return Front->Hides(To, {at(a)}); };
  // A boundary being collected (a hatch's) keeps an arc whole unless a region holds all of it, so that it
  // stays closed; a drawing's arc stops at the regions.
  if (Bounding(To.R2D())) {
    if (!Front->Hides(To, {at(a1), at((a1 + a2) / 2), at(a2)})) To.drArc(X, Y, R, x1, y1, x2, y2, Napr, Attr);
    return;
  }
  constexpr int n = 48;
  std::vector<std::pair<double, double>> out;
  double from = a1;
  bool in = hidden(a1);
  for (int k = 1; k <= n; ++k) {
    const double b = a1 + (a2 - a1) * k / n;
    if (hidden(b) == in) continue;
    // The edge between the last two samples.
    double lo = a1 + (a2 - a1) * (k - 1) / n, hi = b;
    for (int i = 0; i < 40; ++i)
      (hidden((lo + hi) / 2) == in ? lo : hi) = (lo + hi) / 2;
    if (!in) out.push_back({from, hi});
    from = hi;
    in = !in;
  }
  if (!in) out.push_back({from, a2});
  for (const auto& [b1, b2] : out) {
    if (!(b2 - b1 > 1e-9)) continue;
    const TPoint2D p = at(b1), q = at(b2);
    if (Napr < 0)
      To.drArc(X, Y, R, q.x, q.y, p.x, p.y, Napr, Attr);
    else
      To.drArc(X, Y, R, p.x, p.y, q.x, q.y, Napr, Attr);
  }
}

void TFrontModeler::drCircle(const double& X, const double& Y, const double& R, int Attr)
{
  To.drCircle(X, Y, R, Attr);
}

void TFrontModeler::drEllipse(const double& X, const double& Y, const double& A, const double& B,
                              const double& Angle, int Attr)
{
  To.drEllipse(X, Y, A, B, Angle, Attr);
}

void TFrontModeler::drMtr(double x, double y, double Angle, double Scale)
{
  To.drMtr(x, y, Angle, Scale);
}

void TFrontModeler::drDeleteMtr()
{
  To.drDeleteMtr();
}

bool TFrontRegions::Hides(const TModeler3D& m, const std::vector<TPoint2D>& points) const
{
  std::vector<TPoint2D> p;
  for (const TPoint2D& q : points) {
    TPoint2D t;
    m.R2D().Transf2D.xyMtr(q.x, q.y, t.x, t.y);
    p.push_back(t);
  }
  for (const auto& r : Regions) {
    bool all = true;
    for (std::size_t k = 0; k < p.size() && all; ++k)
      for (std::size_t i = 0; i < r.size() && all; ++i) {
        const TPoint2D &a = r[i], &b = r[(i + 1) % r.size()];
        const double ex = b.x - a.x, ey = b.y - a.y, len = std::hypot(ex, ey);
        all = len > 0.0 && (ex * (p[k].y - a.y) - ey * (p[k].x - a.x)) / len > OnOutline;
      }
    if (all) return true;
  }
  return false;
}
