#include "hxcadkit/drawing/drNodeCont.h"

#include <cmath>
#include <cstdlib>
#include <new>
#include <utility>

#include "hxcadkit/drawing/drFigureHoles.h"

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
  if (!hxfront::DrawFigure(M(), holes, [&](TModeler3D& m) { RunBlock(m, tl); })) drContBlock(tl);
}
