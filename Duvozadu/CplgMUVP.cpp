// The elastic sleeve-and-pin coupling: half-couplings, pin, bushings, the keyway every coupling
// shares, and the row's 2D section, 2D view and 3D model.
#include <algorithm>
#include <cmath>
#include <iterator>

#include "Duvozadu/ControlModel.h"
#include "Duvozadu/CplgDetails.h"
#include "Duvozadu/CplgGlobal.h"
#include "Duvozadu/CplgShared.h"
#include "hxcadkit/core/Messager.h"
#include "hxcadkit/drawing/Cuthole.h"
#include "hxcadkit/drawing/MathDetails.h"
#include "hxcadkit/drawing/drNodeCont.h"
#include "hxcadkit/geometry/Mathemat.h"

namespace {
constexpr double Sin60 = 0.8660254037844387;
// The pin's cone narrows by this much on the radius per unit of its length, and so does its hole.
constexpr double PinCone = 0.1;

struct TBore
{
  double l, L, du;
};
TBore Bore(const double* A, int T)
{
  const int di = (T & 1) ? 0 : 15;
  TBore b{A[4 + di], A[3 + di], 0.0};
  // The bore runs from the flange's face to the chamfer at the hub's end.
  if (T & 2) b.du = ConeDrop(b.l - A[16]);
  return b;
}
const TTable* Main()
{
  return ATable[0];
}
const TTable* Pins()
{
  return ATable[1];
}
// One pin lookup for the section, the view and the 3D model: the first row not below the key.
const double* PinRow(const double* A)
{
  return Pins() && A ? Pins()->GetParam(Pins()->Control, A[14]) : nullptr;
}

// The pin and its bushings are drawable: finite, and rings that can be counted.
bool PinUsable(const double* P)
{
  return Usable(P, 19) && P[18] > 0.0 && P[16] >= 0.0;
}

// The rows of a build, from one torque group: A for the first shaft (half-coupling 1, bore type T1),
// A2 for the second (half-coupling 2, T2), the pin row (null when not drawable). False when no group holds
// both diameters or a row is unusable. The model takes the torque of the group built.
struct TPinRows
{
  TModeler3D* m;
  const double *A, *A2, *P;
};
bool PinRows(TPinRows& r)
{
  r.m = CouplingModeler();
  const TGroupRows g = GroupRows(Main(), ControlModel.M, ControlModel.P1d, ControlModel.P2d);
  r.A = g.R1;
  r.A2 = g.R2;
  if (!r.m || !Usable(r.A, 20) || !Usable(r.A2, 20)) return false;
  ControlModel.M = g.Torque;
  r.P = PinRow(r.A);
  if (!PinUsable(r.P)) r.P = nullptr;
  return true;
}

// Where the pin set stands along the axis: its spacer bushing against the face of half-coupling 1,
// so that a spacer longer than the gap reaches into half 2's bushing hole and never into flange 1.
double PinSetShift(const double* A, const double* P)
{
  return (P[13] - A[13]) / 2;
}

// Washer and nut of the pin at height y, at the face of half-coupling 1.
void PinFasteners(TModeler3D& m, const double* A, const double* P, double y)
{
  TCommonGeometry g(0, &m);
  const double x = -A[13] / 2 - A[10], a = 180.0, s = 1.0;
  const TFastenerSet n = PinNut(P);
  WasherInSide(m, x, y, a, s, n.WasherBore, n.Washer, n.WasherThickness, 31);
  g.dr2D_Nut_V2(x - n.WasherThickness, y, a, s, P[3], n.AcrossFlats, n.Height, 31, false);
}

// Where the model has a pin opposite the one on top, the section plane holds both.
bool PinBelow(const double* A)
{
  return OneOpposite(A[15], IntPart(A[15]));
}
// The section plane holds a pin on top where the model places one: the first of a whole number of them.
bool PinAbove(const double* A)
{
  return IntPart(A[15]) >= 1;
}
// Whether the section plane holds a pin at height at, above or below the axis.
bool PinAt(const double* A, double at)
{
  return at > 0 ? PinAbove(A) : PinBelow(A);
}

// The pins' holes of a half, in its sketch across the axis (the sketch's first direction is the model's -z):
// where the assembly places the pins, the integer part of the count of them, at 360 / z degrees from +y.
THoleCircle PinHoles(const double* A)
{
  return {A[15], double(IntPart(A[15])), 90.0, 1.0, false, -90.0};
}

// The cone of half 1's pin hole at its face: radius r there, e where it stops narrowing t into the flange
// (never below the pin's thread, which passes through it).
struct TPinHole
{
  double r, e, t;
};
TPinHole PinHole(const double* A, const double* P)
{
  const double l1 = A[10], r = A[14] / 2, rt = PinUsable(P) ? std::min(P[3] / 2, r) : 0.0;
  const double e = std::max(r - PinCone * l1, rt);
  return {r, e, std::min((r - e) / PinCone, l1)};
}

// How far half 2's bushing hole reaches into the half from its face, as the model cuts it (through the
// whole half): where the hole's wall lies below the hub, it grooves the hub up to its end; elsewhere it
// opens behind the flange, whose thickness it is.
double BushingHoleDepth(const double* A2, const double* P)
{
  return A2[5] / 2 - P[15] / 2 < A2[7] / 2 ? Bore(A2, BoreType(ControlModel.T2)).l : A2[11];
}

// The pin set at height y and the holes it fills, in front of the halves' lines: the pin, its spacer,
// washer and nut, half 1's conical hole and half 2's bushing hole, each hole past its flange's back face.
void FrontPinSet(TFrontRegions& f, const double* A, const double* A2, const double* P, double y)
{
  const double x = PinSetShift(A, P), face = -A[13] / 2, l1 = A[10];
  // The pin in its own frame: thread and neck, cone, cylinder, collar.
  const double s = x - P[13] / 2 + (P[6] - P[2] + P[7]), c0 = P[2] - P[5], c1 = P[2] - P[6] - P[7];
  const double rc = P[0] / 2 - PinCone * (P[5] - P[6] - P[7]);
  // Each piece reaches into the next, so that nothing runs along where two of them meet.
  FrontBox(f, s, y, 0.0, 0.0, -P[3] / 2, c1, P[3] / 2);
  const TPoint2D cone[] = {TPoint2D(s + c0, y - rc), TPoint2D(s + c1, y - P[0] / 2),
                           TPoint2D(s + c1, y + P[0] / 2), TPoint2D(s + c0, y + rc)};
  f.Polygon(cone, std::size(cone));
  FrontBox(f, s, y, 0.0, c0, -std::min(rc, P[0] / 2), P[2], std::min(rc, P[0] / 2));
  FrontBox(f, s, y, 0.0, c1, -P[0] / 2, P[2], P[0] / 2);
  FrontBox(f, s, y, 0.0, P[2] - P[7], -P[1] / 2, P[2], P[1] / 2);
  FrontBox(f, x - P[13] / 2, y, 0.0, 0.0, -P[14] / 2, P[13], P[14] / 2);
  const TFastenerSet n = PinNut(P);
  FrontWasher(f, face - l1, y, 180.0, n.Washer, n.WasherThickness);
  FrontNut(f, face - l1 - n.WasherThickness, y, 180.0, n.AcrossFlats, n.Height);
  // The hole narrows to its passage and runs on straight: a funnel, not convex, so its cone and its
  // passage are regions of their own, the passage reaching into the cone.
  const TPinHole h = PinHole(A, P);
  const TPoint2D funnel[] = {TPoint2D(face + 1.0, y - h.r), TPoint2D(face + 1.0, y + h.r),
                             TPoint2D(face, y + h.r),       TPoint2D(face - h.t, y + h.e),
                             TPoint2D(face - h.t, y - h.e), TPoint2D(face, y - h.r)};
  f.Polygon(funnel, std::size(funnel));
  const double into = h.t > 0.0 ? -h.t / 2 : 0.5;
  FrontBox(f, face - l1 - 1.0, y, 0.0, 0.0, -h.e, l1 + 1.0 + into, h.e);
  FrontBox(f, A2[13] / 2 - 1.0, y, 0.0, 0.0, -P[15] / 2, BushingHoleDepth(A2, P) + 2.0, P[15] / 2);
}

// The pin set at height y: pin, elastic and spacer bushings, washer and nut.
void PinSet(TModeler3D& m, const double* A, const double* P, double y)
{
  const double x = PinSetShift(A, P), zero = 0.0, one = 1.0;
  {
    // The washer and the nut, unsectioned, hide the thread they sit on.
    TFrontRegions held(m);
    const double face = -A[13] / 2 - A[10];
    const TFastenerSet n = PinNut(P);
    FrontWasher(held, face, y, 180.0, n.Washer, n.WasherThickness);
    FrontNut(held, face - n.WasherThickness, y, 180.0, n.AcrossFlats, n.Height);
    dr2D_PalecMUVP(x, y, zero, one, P, 31);
  }
  dr2D_BushingMUVP(x, y, zero, one, P, 31);
  dr2D_RBushingMUVP(x, y, zero, one, P, 31);
  PinFasteners(m, A, P, y);
}
} // namespace

TFastenerSet PinNut(const double* P)
{
  const double S = 2 * P[3] * Sin60;
  return {1 + P[3], S - 1.0, 2.0, S, 0.8 * P[3]};
}

void dr2D_Shponka(const double& d, const double& du, const double& ll, const double& lr, bool Up)
{
  TModeler3D* m = CouplingModeler();
  const double* S = KeywayRow(d);
  if (!m || !Usable(S, 3) || !std::isfinite(d) || !std::isfinite(du)) return;
  const double ds = std::sqrt(std::fabs((d / 2) * (d / 2) - (S[1] / 4) * (S[1] / 4)));
  const double h = d / 2 + S[2];
  TContDrawing c(m);
  c.Make(ll, ds - du, dP(lr, ds, dP(lr, h, dP(ll, h, dP(ll, ds - du)))));
  m->drMacro2D(true);
  m->drColouring(-1);
  Up ? c.dr2D(1) : c.dr2DMY(1);
  m->drEndObj();
  Up ? c.dr2D(1) : c.dr2DMY(1);
  m->drEndMacro();
}

void dr2D_MUVP_SC1(const double& mx, const double& my, const double& ma, const double& mm, const double* A,
                   int tl, bool)
{
  TModeler3D* m = CouplingModeler();
  if (!m || !Usable(A, 20)) return;
  const TBore b = Bore(A, BoreType(ControlModel.T1));
  const double D = A[2], d1 = A[7], l1 = A[10], f = A[16], d = A[17], l = b.l, du = b.du;
  TPiece p(*m, mx, my, ma, mm, -A[13] / 2);
  TContDrawing c(m);
  c.Make(0, d / 2 - du,
         dPx(f - l, d / 2,
             dPx(-l, d / 2 + f,
                 dFsk(-l, d1 / 2, -l1 - f, d1 / 2, f,
                      dCLL(-l1, d1 / 2, -l1, D / 2, f, dP(0, D / 2, dPx(0, d / 2 - du)))))));
  c.drContBlock(tl);
  m->drLine(3.0, 0.0, -3.0 - l, 0.0, 3);
  if (tl % 10 == 0) return;
  // The pin's hole is the cone the pin sits in: its diameter at the face, narrowing into the
  // flange as the pin does, as the model cuts it; the one opposite too when the plane holds it.
  const TPinHole ph = PinHole(A, PinRow(A));
  const double y = A[5] / 2, r = ph.r, e = ph.e, t = ph.t;
  TContDrawing cone(m);
  cone.Make(0, y + r,
            dP(-t, y + e, dP(-l1, y + e, dP(-l1, y - e, dP(-t, y - e, dP(0, y - r, dP(0, y + r)))))));
  const TContDrawing* above = PinAbove(A) ? &cone : nullptr;
  const TContDrawing* below = PinBelow(A) ? &cone : nullptr;
  // The face and the back face are drawn broken at the hole.
  m->drHatch(0, 45.0, 2.0);
  c.drContBlockWithHoles(tl - tl % 10, {{above, 11}, {below, 21}});
  m->drEndObj();
  if (above) cone.dr2D(1);
  if (below) cone.dr2DMY(1);
  dr2D_Shponka(d, du, 0.0, -l, ma == 0);
}

void dr2D_MUVP_SC2(const double& mx, const double& my, const double& ma, const double& mm, const double* A,
                   const double* A2, int tl, bool)
{
  TModeler3D* m = CouplingModeler();
  if (!m || !Usable(A, 20)) return;
  // The bushing holes need the pin row; without it the half is drawn without them.
  if (tl % 10 != 0 && !Usable(A2, 16)) A2 = nullptr;
  const TBore b = Bore(A, BoreType(ControlModel.T2));
  const double D = A[2], d1 = A[7], l2 = A[11], f = A[16], d = A[17], l = b.l, du = b.du;
  // The axis across the gap belongs to the drawing; a sketch revolves about one axis line.
  TPiece p(*m, mx, my, ma, mm, A[13] / 2, tl % 10 != 0, 0.0, -10.0);
  TContDrawing c(m);
  c.Make(0, d / 2 - du,
         dPx(l - f, d / 2,
             dPx(l, d / 2 + f,
                 dFsk(l, d1 / 2, l2 + f, d1 / 2, f,
                      dCLL(l2, d1 / 2, l2, D / 2, f, dP(0, D / 2, dPx(0, d / 2 - du)))))));
  c.drContBlock(tl);
  m->drLine(-3.0, 0.0, b.L - l - A[13] + 3.0, 0.0, 3);
  if (tl % 10 == 0) return;
  const double y = A[5] / 2, zero = 0.0, r = A2 ? A2[15] / 2 : 0.0;
  auto bushHole = [&](TModeler3D& on) {
    THole3DParam hole(on);
    for (const double at : {y, -y})
      if (A2 && PinAt(A, at))
        hole.cHole(48, zero, at, zero, zero, zero, zero, zero, zero, zero, l2, r, zero, zero, zero, zero);
  };
  // The face and the back face are drawn broken at the holes.
  m->drHatch(0, -45.0, 2.0);
  c.drContBlockWithHoles(tl - tl % 10, bushHole);
  m->drEndObj();
  TFrontLines front(*m);
  bushHole(*front);
  // Where the hole grooves the hub, its floor runs on from the flange to the hub's end or its chamfer.
  const double floor = y - r, top = d1 / 2;
  if (A2 && floor < top && floor > d / 2 + f)
    for (const double at : {floor, -floor})
      if (PinAt(A, at)) (*front).drLine(l2, at, floor <= top - f ? l : l - (floor - (top - f)), at, 1);
  dr2D_Shponka(d, du, 0.0, l, ma == 0);
}

void dr2D_MUVP_SC1View(const double& mx, const double& my, const double& ma, const double& mm,
                       const double* A, int tl, bool)
{
  TModeler3D* m = CouplingModeler();
  if (!m || !Usable(A, 20)) return;
  const TBore b = Bore(A, BoreType(ControlModel.T1));
  const double D = A[2], d1 = A[7], l1 = A[10], f = A[16], l = b.l;
  TPiece p(*m, mx, my, ma, mm, -A[13] / 2);
  TContDrawing c(m);
  // The flange's outer corners are square, as the section and the model have them.
  c.Make(0, 0,
         dP(0, D / 2,
            dPx(-l1, D / 2,
                dCLL(-l1, d1 / 2, f - l, d1 / 2, f,
                     dPx(f - l, d1 / 2, dP(-l, d1 / 2 - f, dP(-l, 0, dPt0(0, 0))))))));
  c.drContBlock(tl);
  m->drLine(3.0, 0.0, -3.0 - l, 0.0, 3);
}

void dr2D_MUVP_SC2View(const double& mx, const double& my, const double& ma, const double& mm,
                       const double* A, int tl, bool)
{
  TModeler3D* m = CouplingModeler();
  if (!m || !Usable(A, 20)) return;
  const TBore b = Bore(A, BoreType(ControlModel.T2));
  const double D = A[2], d1 = A[7], l2 = A[11], f = A[16], Lh = b.L - b.l - A[13];
  // The axis across the gap belongs to the drawing; a sketch revolves about one axis line.
  TPiece p(*m, mx, my, ma, mm, A[13] / 2, tl % 10 != 0, 0.0, -10.0);
  TContDrawing c(m);
  c.Make(0, 0,
         dP(0, D / 2,
            dPx(l2, D / 2,
                dCLL(l2, d1 / 2, Lh - f, d1 / 2, f,
                     dPx(Lh - f, d1 / 2, dP(Lh, d1 / 2 - f, dP(Lh, 0, dPt0(0, 0))))))));
  c.drContBlock(tl);
  m->drLine(-3.0, 0.0, Lh + 3.0, 0.0, 3);
}

void dr2D_PalecMUVP(const double& mx, const double& my, const double& ma, const double& mm, const double* P,
                    int tl, bool)
{
  TModeler3D* m = CouplingModeler();
  if (!m || !PinUsable(P)) return;
  const double xt = P[2] - P[5] - P[8], c3 = (P[3] - P[4]) / 2;
  TPiece p(*m, mx, my, ma, mm, -P[13] / 2 + (P[6] - P[2] + P[7]));
  TContDrawing c(m);
  c.Make(
      0, 0,
      dP(0, P[3] / 2 - P[11],
         dP(P[11] - 1, P[3] / 2 - 1,
            dTL(2,
                dPnm(xt, P[3] / 2 - 1,
                     dTL(tl, dPx(P[11], P[3] / 2,
                                 dPx(xt, P[3] / 2,
                                     dCVR(xt + c3, P[4] / 2, P[2] - P[5] - c3, P[4] / 2, P[2] - P[5],
                                          P[0] / 2 - PinCone * (P[5] - P[6] - P[7]), 0.5,
                                          dPx(P[2] - P[6] - P[7], P[0] / 2,
                                              dPx(P[2] - P[7], P[0] / 2,
                                                  dP(P[2] - P[7], P[1] / 2,
                                                     dP(P[2], P[1] / 2, dP(P[2], 0, dPt0(0, 0)))))))))))))));
  c.drContBlock(tl);
  m->drLine(-2.0, 0.0, P[2] + 3.0, 0.0, 3);
}

void dr2D_BushingMUVP(const double& mx, const double& my, const double& ma, const double& mm, const double* P,
                      int tl, bool)
{
  TModeler3D* m = CouplingModeler();
  if (!m || !PinUsable(P)) return;
  const double h = (P[18] - P[17]) / 2;
  const double rings = P[16] / P[18];
  const int n = rings >= 4 ? 4 : int(rings);
  // The rings, from the far end back: the last node closes the outline at the near end.
  TNode* chain = dP(0, P[14] / 2);
  for (int k = 3; k >= 0; --k) {
    if (k >= 2 && n < k + 1) continue;
    const double X = P[16] - k * P[18];
    chain = dP(X - h / 4, P[14] / 2,
               dP(X - h, P[15] / 2, dP(X - h - P[17], P[15] / 2, dP(X - P[18] + h / 2, P[14] / 2, chain))));
  }
  // The outline owns the chain before the first host call, which may fail.
  TContDrawing c(m);
  c.Make(0, P[14] / 2, dPx(0, P[0] / 2, dPx(P[16], P[0] / 2, dP(P[16], P[14] / 2, chain))));
  TPiece p(*m, mx, my, ma, mm, P[13] / 2);
  c.drContBlock(tl, false, true);
  m->drLine(-2.0, 0.0, P[16] + 3.0, 0.0, 3);
  if (tl % 10 == 0) return;
  m->drHatch(1, 60.0, 1.0);
  c.drContBlock(30);
  m->drEndObj();
}

void dr2D_RBushingMUVP(const double& mx, const double& my, const double& ma, const double& mm,
                       const double* P, int tl, bool)
{
  TModeler3D* m = CouplingModeler();
  if (!m || !PinUsable(P)) return;
  TPiece p(*m, mx, my, ma, mm, -P[13] / 2, true, -2.0, P[13] + 3.0);
  TContDrawing c(m);
  c.Make(0, P[14] / 2, dPx(0, P[0] / 2, dPx(P[13], P[0] / 2, dP(P[13], P[14] / 2, dP(0, P[14] / 2)))));
  Hatched(c, tl, 0, 30.0, 1.0, [] {});
}

void dr2D_RBushingMUVP_V2(const double& mx, const double& my, const double& ma, const double& mm,
                          const double* P, int tl, bool)
{
  TModeler3D* m = CouplingModeler();
  if (!m || !PinUsable(P)) return;
  TPiece p(*m, mx, my, ma, mm, -P[13] / 2, true, -2.0, P[13] + 3.0);
  TContDrawing c(m);
  c.Make(0, 0, dP(0, P[14] / 2, dP(P[13], P[14] / 2, dP(P[13], 0, dPt0(0, 0)))));
  c.drContBlock(tl);
}

void dr2D_MUVP()
{
  TPinRows r;
  if (!PinRows(r)) return;
  TModeler3D* m = r.m;
  const double *A = r.A, *A2 = r.A2, *P = r.P;
  const double zero = 0.0, one = 1.0, y = A[5] / 2;
  m->drMacro2D(true);
  const bool pins = P && ATable[9];
  {
    // The pins in the plane, above and (an even count) below, hide the halves' lines behind them.
    TFrontRegions front(*m);
    for (const double at : {y, -y})
      if (pins && PinAt(A, at)) FrontPinSet(front, A, A2, P, at);
    dr2D_MUVP_SC1(zero, zero, zero, one, A, 31);
    dr2D_MUVP_SC2(zero, zero, zero, one, A2, P, 31);
  }
  for (const double at : {y, -y})
    if (pins && PinAt(A, at)) PinSet(*m, A, P, at);
  m->drEndMacro();
}

void dr2D_MUVPView()
{
  TPinRows r;
  if (!PinRows(r)) return;
  TModeler3D* m = r.m;
  const double *A = r.A, *A2 = r.A2, *P = r.P;
  const double zero = 0.0, one = 1.0, y = A[5] / 2;
  m->drMacro2D(true);
  // The pins the section shows (its plane holds the one on top and, an even count, the one opposite):
  // the washer and the nut on flange 1 and, in the gap, the spacer bushing with its axis; what stands out
  // of the flanges, the nut and the spacer besides (the thread's end, the pin's head) is seen too.
  for (const double at : {y, -y}) {
    if (!P || !ATable[9] || !PinAt(A, at)) continue;
    PinFasteners(*m, A, P, at);
    const double x1 = -A[13] / 2, x2 = std::min(A2[13] / 2, x1 + P[13]), r = P[14] / 2;
    if (x2 > x1) {
      TContDrawing spacer(m);
      spacer.Make(x1, at - r, dP(x2, at - r, dP(x2, at + r, dP(x1, at + r))));
      spacer.dr2D(1);
    }
    m->drLine(-A[13] / 2, at, A2[13] / 2, at, 3);
    TFrontRegions front(*m);
    const TFastenerSet n = PinNut(P);
    const double face = -A[13] / 2, l1 = A[10], e = n.AcrossFlats / std::sqrt(3.0);
    FrontBox(front, face - l1, 0.0, 0.0, 0.0, -A[2] / 2, l1, A[2] / 2);
    FrontBox(front, A2[13] / 2, 0.0, 0.0, 0.0, -A2[2] / 2, A2[11], A2[2] / 2);
    FrontBox(front, x1, at, 0.0, 0.0, -r, std::max(x2 - x1, 0.0), r);
    FrontBox(front, face - l1 - n.WasherThickness - n.Height, at, 0.0, 0.0, -e, n.Height + n.WasherThickness,
             e);
    // The pin inside its elastic bushing, where the bushing stands out of flange 2 into the gap; the
    // bushing by its rings, its bore hidden.
    const double x = PinSetShift(A, P), b1 = x + P[13] / 2;
    FrontBox(front, b1, at, 0.0, 0.0, -P[14] / 2, P[16], P[14] / 2);
    dr2D_PalecMUVP(x, at, zero, one, P, 31);
    FrontBox(front, b1 - 1.0, at, 0.0, 0.0, -P[14] / 2, P[16] + 2.0, P[14] / 2);
    dr2D_BushingMUVP(x, at, zero, one, P, 30);
  }
  dr2D_MUVP_SC1View(zero, zero, zero, one, A, 31);
  dr2D_MUVP_SC2View(zero, zero, zero, one, A2, 31);
  m->drEndMacro();
}

void dr3DKeySeating(const double& d, bool Reverse, const double& Xplane, const double& l)
{
  TModeler3D* m = CouplingModeler();
  const double* S = KeywayRow(d);
  if (!m || !Usable(S, 3) || !std::isfinite(d)) return;
  const double RV = Reverse ? -d / 2 : d / 2;
  m->drPlaneEskis(txapi::o3d_planeYOZ, Xplane, 0.0, TString());
  m->drRectAngle(-S[1] / 2, RV + Zn(RV) * S[2], S[1] / 2, 0.0, 1);
  m->drCutExtrusion(txapi::dtBoth, txapi::etBlind, l, 0.0);
}

namespace {
// One turned piece of the pin set as a part of its own.
void PinPart(TModeler3D& m, int n, const char* name, const double* P,
             void (*draw)(const double&, const double&, const double&, const double&, const double*, int,
                          bool),
             bool fastener = false, bool piece = false)
{
  const double zero = 0.0, one = 1.0;
  ControlModel.mkDetail3D(n, DC(TString(name)), ControlModel.M, true, true);
  m.drPlaneEskis(txapi::o3d_planeXOY, 0.0, 0.0, TString());
  draw(zero, zero, zero, one, P, 0, false);
  m.drBaseRotate(0, 360.0);
  if (fastener) m.drFastener3D();
  if (piece) m.drFastenerPiece3D();
  m.drSave3D(true, true);
}

} // namespace

void dr3D_MUVP()
{
  TPinRows r;
  if (!PinRows(r)) return;
  TModeler3D* m = r.m;
  const double *A = r.A, *A2 = r.A2, *P = r.P;
  const bool keyways = ATable[9] != nullptr;
  const double zero = 0.0, one = 1.0, cut = 200.0;
  if (P && keyways) {
    PinPart(*m, 3, "Палец МУВП", P, dr2D_PalecMUVP, true);
    PinPart(*m, 4, "Втулка упругая МУВП", P, dr2D_BushingMUVP, false, true);
    PinPart(*m, 5, "Втулка распорная МУВП", P, dr2D_RBushingMUVP, false, true);
    TCommonGeometry g(0, m);
    const TFastenerSet n = PinNut(P);
    g.dr3D_Nut(P[3], n.AcrossFlats, n.Height, ControlModel.mfDetail3D(7));
    g.dr3D_Washer(n.WasherBore, n.Washer, n.WasherThickness, ControlModel.mfDetail3D(6), true);
  }

  MakeHalf(1, "Полумуфта1-", A[17], BoreType(ControlModel.T1));
  m->drPlaneEskis(txapi::o3d_planeXOY, 0.0, 0.0, TString());
  dr2D_MUVP_SC1(zero, zero, zero, one, A, 0);
  m->drBaseRotate(0, 360.0);
  if (A[15] != 0 && keyways) {
    if (P) {
      const double alpha =
          AngleLine(P[2] - P[5], P[0] / 2 - PinCone * (P[5] - P[6] - P[7]), P[2] - P[6] - P[7], P[0] / 2);
      // From the face of the half, where the pin's cone stands with its large end, narrowing into
      // the flange as the cone does.
      m->drPlaneEskis(txapi::o3d_planeYOZ, -A[13] / 2, 0.0, TString());
      HoleCircle(*m, PinHoles(A), A[5], P[0] / 2);
      m->drCutExtrusion(txapi::dtReverse, txapi::etBlind, 2 * A[10], alpha);
      // The thread passes where the cone's hole would be narrower than it: only the smallest pins' cones
      // narrow below their thread inside the flange, and elsewhere a passage would cut nothing.
      if (P[3] / 2 > P[0] / 2 - PinCone * A[10]) {
        m->drPlaneEskis(txapi::o3d_planeYOZ, -A[13] / 2, 0.0, TString());
        HoleCircle(*m, PinHoles(A), A[5], P[3] / 2);
        m->drCutExtrusion(txapi::dtReverse, txapi::etBlind, 2 * A[10], 0.0);
      }
    }
    dr3DKeySeating(A[17], false, zero, cut);
  }
  m->drSave3D(true, true);

  const int di = (BoreType(ControlModel.T2) & 1) ? 0 : 15;
  MakeHalf(2, "Полумуфта2-", A2[17], BoreType(ControlModel.T2));
  m->drPlaneEskis(txapi::o3d_planeXOY, 0.0, 0.0, TString());
  dr2D_MUVP_SC2(zero, zero, zero, one, A2, P, 0);
  m->drBaseRotate(0, 360.0);
  if (A2[15] != 0 && keyways) {
    if (P) {
      m->drPlaneEskis(txapi::o3d_planeYOZ, 0.0, 0.0, TString());
      HoleCircle(*m, PinHoles(A2), A2[5], P[15] / 2);
      m->drCutExtrusion(txapi::dtNormal, txapi::etBlind, A2[3 + di], 0.0);
    }
    dr3DKeySeating(A2[17], false, zero, cut);
  }
  m->drSave3D(true, true);

  ControlModel.mkAssembly3D(ControlModel.P2d, ControlModel.T2, ControlModel.P1d, ControlModel.T1, true);
  const int z = IntPart(A2[15]);
  for (int i = 0; i < z && i < 360; ++i) {
    const double phi = i * 360.0 / A2[15] * M_PI / 180.0;
    const double y = std::cos(phi) * A2[5] / 2, zz = std::sin(phi) * A2[5] / 2;
    const double xn = -A2[13] / 2 - A2[10], xp = P ? PinSetShift(A2, P) : 0.0;
    m->AddDetail(xp, y, zz, ControlModel.Detail3D(3), false, false);
    m->AddDetail(xp, y, zz, ControlModel.Detail3D(4), false, false);
    m->AddDetail(xp, y, zz, ControlModel.Detail3D(5), false, false);
    m->AddDetail(xn - (P ? PinNut(P).WasherThickness : 2.0), y, zz, ControlModel.Detail3D(7), true, false);
    m->AddDetail(xn, y, zz, ControlModel.Detail3D(6), true, false);
  }
  m->AddDetail(zero, zero, zero, ControlModel.Detail3D(1), false, false);
  m->AddDetail(zero, zero, zero, ControlModel.Detail3D(2), false, false);
  m->drSave3D(true, true);
}
