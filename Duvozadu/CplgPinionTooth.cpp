// The toothed couplings: the crowned gear hub, the sleeve with internal teeth, the flanged
// half-coupling with internal teeth, the end cover, and the 2D section, 2D view and 3D model of
// the coupling with two sleeves and of the one with a flanged half-coupling.
#include <cmath>
#include <functional>

#include "Duvozadu/ControlModel.h"
#include "Duvozadu/CplgDetails.h"
#include "Duvozadu/CplgGlobal.h"
#include "Duvozadu/CplgShared.h"
#include "hxcadkit/drawing/Cuthole.h"
#include "hxcadkit/drawing/MathDetails.h"
#include "hxcadkit/drawing/drNodeCont.h"

namespace {
// Values of the main table a row must hold, and of the bolts table.
constexpr int ToothColumns = 21;
constexpr int BoltColumns = 6;

// The sizes of one row of the main table that several pieces share.
struct TTooth
{
  explicit TTooth(const double* A)
      : d(A[1]), D(A[2]), D1(A[3]), Dh(A[4]), L(A[5]), l(A[6]), B(A[8]), m(A[9]), z(A[10]), l1(A[12]),
        f(A[13]), X(A[16]), t(A[17]), D0(A[18]), db(A[19]), nb(A[20]), w(A[11] / 2),
        Rt((A[10] + 2) * A[9] / 2), Rc(w * w / 4 + 1), Rr(Rt + 2.0), Ri(A[9] * (A[10] - 2) / 2)
  {
  }
  double d, D, D1, Dh, L, l, B, m, z, l1, f, X, t, D0, db, nb;
  double w;  // half the teeth's width
  double Rt; // tip of the hub's teeth
  double Rc; // crown: through both tooth ends 2 below the tip and the tip in the middle
  double Rr; // root of the internal teeth
  double Ri; // tip of the internal teeth, the floor of the sleeve's teeth window
  // Sizes so large that the crown's radius overflows make no drawing.
  bool Finite() const
  {
    return std::isfinite(Rt) && std::isfinite(Rc) && std::isfinite(Rr) && std::isfinite(Ri);
  }
};

// A row a piece can draw: every value it reads finite, and the values derived from them.
bool Drawable(const double* A)
{
  return Usable(A, ToothColumns) && TTooth(A).Finite();
}

bool Conical(int T)
{
  return (BoreType(T) & 2) != 0;
}

// The drawing model makes no wheel of these sizes (the gear builders then draw nothing, and a cut
// of the square around it would take the whole rim).
bool GearMade(double m, double z)
{
  return std::isfinite(m) && std::isfinite(z) && m > 0.0 && z >= 3.0 && z <= 2000.0;
}

const TTable* Table(int k, int columns)
{
  const TTable* t = ATable[k];
  return t && t->CountColumn >= columns && t->CountRow > 0 ? t : nullptr;
}

bool Rows(TBoltedRows& r)
{
  return BoltedRows(r, ToothColumns, 19, Drawable);
}

// The flange of a sleeve or a half-coupling from its outer corner at (xB, y) to its face at the
// joint, down to the internal teeth's root.
TNode* Flange(const TTooth& g, double y, TNode* rest)
{
  const double xB = g.B / 2, Rf = g.D / 2, f = g.f;
  return dCLL(xB, y, xB, Rf - f, f, dP(xB - f, Rf, dP(0, Rf, dPx(0, g.Rr, rest))));
}

// The program with the code and its axis, and for a drawn section its hatch, which stops at the
// holes that bolts fill (drawn by holes on the modeller it is given, the faces they open in broken
// there); bounded by the program itself, or by bound where the section shows less of the piece than
// its outline.
void Section(TModeler3D& m, const TContDrawing& c, int tl, double x1, double x2, int tip, double angle,
             double step, int hatchCode, const std::function<void(TModeler3D&)>& holes = nullptr,
             const TContDrawing* bound = nullptr)
{
  c.drContBlock(tl);
  m.drLine(x1, 0.0, x2, 0.0, 3);
  if (tl % 10 == 0) return;
  m.drHatch(tip, angle, step);
  const TContDrawing& b = bound ? *bound : c;
  if (holes)
    b.drContBlockWithHoles(hatchCode, holes);
  else
    b.drContBlock(hatchCode);
  m.drEndObj();
}

// Where the model has a bolt opposite the one on top, the section plane holds both, and their holes.
bool BoltBelow(const TTooth& g)
{
  return OneOpposite(g.nb, g.nb);
}
// The section plane holds a bolt at height y, above the axis where the model places a first one.
bool BoltAt(const TTooth& g, double y)
{
  return y > 0 ? g.nb > 0.0 : BoltBelow(g);
}

// The bolt's hole through a flange from the joint (x = 0) to xB, on the bolt circle where the model
// places the bolts: in the frame of a piece turned by ma, the hole of the upper bolt.

void BoltHole(TModeler3D& m, const TTooth& g, double ma, double xB)
{
  const double y = g.D0 / 2;
  THole3DParam hole(m);
  const double zero = 0.0, up = std::cos(ma * M_PI / 180.0) < 0.0 ? -y : y;
  for (const double at : {up, -up})
    if (BoltAt(g, at * up))
      hole.cHole(48, zero, at, zero, zero, zero, zero, zero, zero, zero, xB, g.db / 2, zero, zero, zero,
                 zero);
}

// The bolt through both flanges, r either side of the joint: the head on one, the washer and the
// nut on it on the other; as long as it takes to pass through the nut.
TBoltFit ToothBolt(const double* K, double r, double L)
{
  return BoltFit(2 * r, K[4], K[2], K[0], L, K[0] + 10.0);
}

// A bolt through both flanges, r either side of the joint, its washer and nut, at height y; a view
// hides its shank where it passes through the flanges, and shows none of it inside the washer and the nut.
// With front, the set's outlines (in a view what it sees of them) go in front of the parts drawn next
// instead.
void BoltSet(TModeler3D& m, const double* K, double r, double y, bool view, TFrontRegions* front = nullptr)
{
  if (!K) return;
  TCommonGeometry g(0, &m);
  const double zero = 0.0, one = 1.0;
  const TBoltFit fit = ToothBolt(K, r, 2 * r + 0.6 * K[0] + 5.0);
  if (front) {
    if (view)
      FrontBoltInView(*front, -r, y, zero, K[0], fit.L, K[3], K[2], 2 * r + K[4] + K[2]);
    else
      FrontBolt(*front, -r, y, zero, K[0], fit.L, K[3], K[2]);
    FrontWasher(*front, r, y, zero, K[5], K[4]);
    FrontNut(*front, r + K[4], y, zero, K[3], K[2]);
    return;
  }
  if (view) {
    BoltInView(m, -r, y, zero, K[0], fit.L, K[3], K[2], zero, 2 * r, 2 * r + K[4] + K[2]);
  } else {
    // The washer and the nut, unsectioned, hide the thread they sit on.
    TFrontRegions held(m);
    FrontWasher(held, r, y, zero, K[5], K[4]);
    FrontNut(held, r + K[4], y, zero, K[3], K[2]);
    g.dr2D_Screw_V1(-r, y, zero, one, K[0], fit.L, fit.LM, K[3], K[2], 31, false);
  }
  WasherInSide(m, r, y, zero, one, K[0], K[5], K[4], 31);
  g.dr2D_Nut_V2(r + K[4], y, zero, one, K[0], K[3], K[2], 31, false);
}

using TPieceDraw = void (*)(const double&, const double&, const double&, const double&, const double*, int,
                            bool);

void Both(TPieceDraw draw, const double* A)
{
  const double zero = 0.0, half = 180.0, one = 1.0;
  draw(zero, zero, zero, one, A, 31, false);
  draw(zero, zero, half, one, A, 31, false);
}
} // namespace

bool BoltedRows(TBoltedRows& r, int mainColumns, int boltKey, bool (*drawable)(const double*))
{
  r.m = CouplingModeler();
  const TTable* t = Table(0, mainColumns);
  if (!r.m || !t) return false;
  const TGroupRows g = GroupRows(t, ControlModel.M, ControlModel.P1d, ControlModel.P2d);
  if (!g.R1 || !g.R2) return false;
  r.R1 = g.R1;
  r.R2 = g.R2;
  if (!drawable(r.R1) || !drawable(r.R2)) return false;
  ControlModel.M = g.Torque;
  const TTable* bolts = Table(1, BoltColumns);
  r.K = bolts ? bolts->GetParam(bolts->Control, r.R1[boltKey]) : nullptr;
  if (!Usable(r.K, BoltColumns)) r.K = nullptr;
  return true;
}

void dr2D_PinionTooth_V1(const double& mx, const double& my, const double& ma, const double& mm,
                         const double* A, int T, int tl, bool)
{
  TModeler3D* m = CouplingModeler();
  if (!m || !Drawable(A)) return;
  const TTooth g(A);
  const double rb = g.d / 2, rH = g.Dh / 2, xE = g.L / 2, f = g.f, w = g.w, l1 = g.l1, top = g.Rt - 2.0;
  // The bore narrows from its chamfer at the hub's end to the hub's inner face; the keyway with it.
  const double k = Conical(T) ? ConeDrop(g.l - f) : 0.0, du = k;
  TContDrawing c(m);
  c.Make(
      xE - g.l, rH,
      dPx(xE - g.l, rb - k,
          dPx(xE - f, rb,
              dPx(xE, rb + f,
                  dFsk(xE, rH, xE - f, rH, f,
                       dCLL(l1 + w, rH, l1 + w, top, f,
                            dA(l1, g.Rt - g.Rc, g.Rc, l1 - w, top, dCLL(l1 - w, rH, xE - g.l, rH, f))))))));
  TPiece p(*m, mx, my, ma, mm, 0.0);
  Section(*m, c, tl, -3.0, xE + 3.0, 0, -ma / 2 - 45.0, 2.0, 30);
  if (tl % 10 != 0) dr2D_Shponka(g.d, du, xE - g.l, xE, ma == 0);
}

void dr2D_PinionTooth_V2(const double& mx, const double& my, const double& ma, const double& mm,
                         const double* A, int tl, bool)
{
  TModeler3D* m = CouplingModeler();
  if (!m || !Drawable(A)) return;
  const TTooth g(A);
  const double rH = g.Dh / 2, xE = g.L / 2, f = g.f, w = g.w, l1 = g.l1, top = g.Rt - 2.0;
  // The hub shows from its end to the cover's outer face; its crown and the rest lie hidden inside
  // the sleeve and the cover.
  TContDrawing c(m);
  c.Make(xE, 0,
         dP(xE, rH - f,
            dPx(xE - f, rH,
                dP(g.X, rH,
                   dTL(4, dCLL(l1 + w, rH, l1 + w, top, f,
                               dA(l1, g.Rt - g.Rc, g.Rc, l1 - w, top,
                                  dCLL(l1 - w, rH, xE - g.l, rH, f, dP(xE - g.l, 0, dPt0(xE, 0))))))))));
  TPiece p(*m, mx, my, ma, mm, 0.0);
  c.drContBlock(tl);
  m->drLine(-3.0, 0.0, xE + 3.0, 0.0, 3);
}

void dr2D_PinionToothOut_V1(const double& mx, const double& my, const double& ma, const double& mm,
                            const double* A, int tl, bool)
{
  TModeler3D* m = CouplingModeler();
  if (!m || !Drawable(A)) return;
  const TTooth g(A);
  const double Rb = g.D1 / 2, xs = g.X - g.t, f = g.f, w = g.w, l1 = g.l1, top = g.Rt - 2.0;
  // A section passes through a tooth of the hub, drawn whole up to its crown: the sleeve's teeth
  // stand beside it, their tips hidden behind it, and the sleeve's hatch stops at the crown.
  const bool section = tl % 10 != 0;
  TNode* rest = dP(l1 + w, g.Rr, dPx(xs, g.Rr, dP(xs, Rb)));
  TNode* tips =
      section ? dTL(4, dP(l1 + w, g.Ri, dTL(tl % 10, dPx(l1 + w, g.Ri, rest)))) : dPx(l1 + w, g.Ri, rest);
  TContDrawing c(m), crown(m);
  c.Make(xs, Rb, Flange(g, Rb, dCLL(l1 - w, g.Rr, l1 - w, g.Ri, f, dPx(l1 - w, g.Ri, tips))));
  if (section)
    crown.Make(
        xs, Rb,
        Flange(g, Rb,
               dCLL(l1 - w, g.Rr, l1 - w, top, f,
                    dA(l1, g.Rt - g.Rc, -g.Rc, l1 + w, top, dP(l1 + w, g.Rr, dP(xs, g.Rr, dP(xs, Rb)))))));
  TPiece p(*m, mx, my, ma, mm, 0.0);
  Section(
      *m, c, tl, -3.0, g.L / 2 + 3.0, 0, -ma / 2 + 45.0, 2.0, 30,
      [&](TModeler3D& on) { BoltHole(on, g, ma, g.B / 2); }, &crown);
}

void dr2D_PinionToothOut_V2(const double& mx, const double& my, const double& ma, const double& mm,
                            const double* A, int tl, bool)
{
  TModeler3D* m = CouplingModeler();
  if (!m || !Drawable(A)) return;
  const TTooth g(A);
  const double Rf = g.D / 2, Rb = g.D1 / 2, xB = g.B / 2, xs = g.X - g.t, f = g.f;
  TContDrawing c(m);
  // Square at the joint, as the section and the model have the flange.
  c.Make(0, 0, dP(0, Rf, dPx(xB - f, Rf, dPx(xB, Rf - f, dCLL(xB, Rb, xs, Rb, f, dP(xs, 0, dPt0(0, 0)))))));
  TPiece p(*m, mx, my, ma, mm, 0.0);
  c.drContBlock(tl);
  m->drLine(-3.0, 0.0, g.L / 2 + 3.0, 0.0, 3);
}

void dr2D_PinionToothOut_MZP_V1(const double& mx, const double& my, const double& ma, const double& mm,
                                const double* A, int tl, bool)
{
  TModeler3D* m = CouplingModeler();
  if (!m || !Drawable(A)) return;
  const TTooth g(A);
  const double rb = g.d / 2, rH = g.Dh / 2, xl = g.L / 2 - g.l, X = g.X, f = g.f;
  // A conical bore is the shaft's at the hub's end and narrows towards the teeth.
  const double du = Conical(ControlModel.T1) ? ConeDrop(X - f - xl) : 0.0;
  TContDrawing c(m);
  c.Make(X, rH,
         Flange(g, rH,
                dCLL(xl, g.Rr, xl, rb - du, f, dPx(xl, rb - du, dPx(X - f, rb, dPx(X, rb + f, dP(X, rH)))))));
  TPiece p(*m, mx, my, ma, mm, 0.0);
  Section(*m, c, tl, -3.0, X + 3.0, 0, -ma / 2 + 45.0, 2.0, 30,
          [&](TModeler3D& on) { BoltHole(on, g, ma, g.B / 2); });
  if (tl % 10 != 0) dr2D_Shponka(g.d, du, xl, X, ma == 0);
}

void dr2D_PinionToothOut_MZP_V2(const double& mx, const double& my, const double& ma, const double& mm,
                                const double* A, int tl, bool)
{
  TModeler3D* m = CouplingModeler();
  if (!m || !Drawable(A)) return;
  const TTooth g(A);
  const double Rf = g.D / 2, rH = g.Dh / 2, xB = g.B / 2, X = g.X, f = g.f;
  TContDrawing c(m);
  c.Make(X, 0, dP(X, rH, dCLL(xB, rH, xB, Rf - f, f, dPx(xB - f, Rf, dP(0, Rf, dP(0, 0, dPt0(X, 0)))))));
  TPiece p(*m, mx, my, ma, mm, 0.0);
  c.drContBlock(tl);
  m->drLine(-3.0, 0.0, X + 3.0, 0.0, 3);
}

void dr2D_UGasket(const double& mx, const double& my, const double& ma, const double& mm, const double* A,
                  int tl, bool)
{
  TModeler3D* m = CouplingModeler();
  if (!m || !Drawable(A)) return;
  const TTooth g(A);
  const double Rb = g.D1 / 2, rH = g.Dh / 2, X = g.X, t = g.t;
  TContDrawing c(m);
  // The bore clears the hub by 10 on the radius; a lip 2 wide at the outer face reaches it.
  c.Make(X, rH,
         dFsk(X, Rb, X - t, Rb, g.f,
              dPx(X - t, rH + 10.0, dP(X - 2.0, rH + 10.0, dPx(X - 2.0, rH, dPx(X, rH))))));
  TPiece p(*m, mx, my, ma, mm, 0.0);
  Section(*m, c, tl, X - 3.0 - t, X + 3.0, 0, ma / 2 + 60.0, 1.0, tl / 10 * 10);
}

namespace {
// The cover as a view shows it: its rim and its outer face down to the hub, nothing hatched.
void CoverView(const double& mx, const double& my, const double& ma, const double& mm, const double* A,
               int tl, bool)
{
  TModeler3D* m = CouplingModeler();
  if (!m || !Drawable(A)) return;
  const TTooth g(A);
  const double Rb = g.D1 / 2, rH = g.Dh / 2, X = g.X, t = g.t;
  TContDrawing c(m);
  c.Make(X - t, Rb, dPx(X - g.f, Rb, dP(X, Rb - g.f, dP(X, rH))));
  TPiece p(*m, mx, my, ma, mm, 0.0);
  c.drContBlock(tl);
  m->drLine(X - 3.0 - t, 0.0, X + 3.0, 0.0, 3);
}
} // namespace

void dr2D_Gasket_V1(const double& mx, const double& my, const double& ma, const double& mm, const double* A,
                    int tl, bool)
{
  TModeler3D* m = CouplingModeler();
  if (!m || !Usable(A, 16)) return;
  const double a2 = A[2] / 2, a5 = A[5] / 2, a6 = A[6] / 2, a7 = A[7] / 2, a8 = A[8] / 2, a9 = A[9] / 2,
               a10 = A[10] / 2;
  const double g = A[11], rr = A[12], f = A[13], X = A[14], h = X / 2, e = A[15];
  TContDrawing c(m);
  c.Make(0, a2,
         dPx(X, a2,
             dP(X, a9 - g,
                dP(h, a9 - g,
                   dA(h, a9, -g, h, a9 + g,
                      dPx(X, a9 + g,
                          dFsk(X, a5, 0, a5, e,
                               dP(0, a8 + 2 * f,
                                  dP(X - e, a8 + 2 * f,
                                     dP(X - e, a10,
                                        dA(X - e - f, a10, -f, X - e - 2 * f, a10,
                                           dP(X - e - 2 * f, a8,
                                              dP(0, a8,
                                                 dP(0, a7 + f,
                                                    dP(h, a7 + f,
                                                       dA(h, a7, -f, h, a7 - f,
                                                          dA(h, a9, rr, h, a9 - rr,
                                                             dA(h, a6, -f, h, a6 - f,
                                                                dP(0, a6 - f, dPx(0, a2))))))))))))))))))));
  TPiece p(*m, mx, my, ma, mm, 0.0);
  Section(*m, c, tl, -3.0, X + 3.0, 1, 45.0, 1.0, tl / 10 * 10);
}

void dr2D_PinionTooth()
{
  TBoltedRows r;
  if (!Rows(r)) return;
  const double zero = 0.0, half = 180.0, one = 1.0, yb = r.R1[18] / 2;
  const TTooth g(r.R1);
  {
    TFrontRegions front(*r.m);
    for (const double y : {yb, -yb})
      if (BoltAt(g, y)) BoltSet(*r.m, r.K, r.R1[8] / 2, y, false, &front);
    Both(dr2D_UGasket, r.R1);
    Both(dr2D_PinionToothOut_V1, r.R1);
    dr2D_PinionTooth_V1(zero, zero, zero, one, r.R2, BoreType(ControlModel.T2), 31, false);
    dr2D_PinionTooth_V1(zero, zero, half, one, r.R1, BoreType(ControlModel.T1), 31, false);
  }
  for (const double y : {yb, -yb})
    if (BoltAt(g, y)) BoltSet(*r.m, r.K, r.R1[8] / 2, y, false);
}

void dr2D_PinionToothView()
{
  TBoltedRows r;
  if (!Rows(r)) return;
  const double r0 = r.R1[8] / 2, yb = r.R1[18] / 2;
  const TTooth g(r.R1);
  // The view shows the bolts its section does, in front of the sleeves' barrels where they reach below them.
  for (const double y : {yb, -yb})
    if (BoltAt(g, y)) BoltSet(*r.m, r.K, r0, y, true);
  TFrontRegions front(*r.m);
  for (const double y : {yb, -yb})
    if (BoltAt(g, y)) BoltSet(*r.m, r.K, r0, y, true, &front);
  Both(dr2D_PinionTooth_V2, r.R1);
  Both(dr2D_PinionToothOut_V2, r.R1);
  Both(CoverView, r.R1);
}

void dr2D_PinionTooth2()
{
  TBoltedRows r;
  if (!Rows(r)) return;
  const double zero = 0.0, half = 180.0, one = 1.0;
  const double* A = r.R1;
  const TTooth g(A);
  {
    TFrontRegions front(*r.m);
    for (const double y : {A[18] / 2, -A[18] / 2})
      if (BoltAt(g, y)) BoltSet(*r.m, r.K, A[8] / 2, y, false, &front);
    // The flanged half takes the first shaft, the hub the second.
    dr2D_UGasket(zero, zero, zero, one, A, 31, false);
    dr2D_PinionToothOut_V1(zero, zero, zero, one, A, 31, false);
    dr2D_PinionToothOut_MZP_V1(zero, zero, half, one, A, 31, false);
    dr2D_PinionTooth_V1(zero, zero, zero, one, r.R2, BoreType(ControlModel.T2), 31, false);
  }
  for (const double y : {A[18] / 2, -A[18] / 2})
    if (BoltAt(g, y)) BoltSet(*r.m, r.K, A[8] / 2, y, false);
}

void dr2D_PinionTooth2View()
{
  TBoltedRows r;
  if (!Rows(r)) return;
  const double zero = 0.0, half = 180.0, one = 1.0;
  const double* A = r.R1;
  // The view shows the bolts its section does, in front of the barrels where they reach below them.
  TFrontRegions front(*r.m);
  for (const double y : {A[18] / 2, -A[18] / 2})
    if (BoltAt(TTooth(A), y)) {
      BoltSet(*r.m, r.K, A[8] / 2, y, true);
      BoltSet(*r.m, r.K, A[8] / 2, y, true, &front);
    }
  dr2D_PinionTooth_V2(A[7], zero, zero, one, A, 31, false);
  dr2D_PinionToothOut_V2(zero, zero, zero, one, A, 31, false);
  CoverView(zero, zero, zero, one, A, 31, false);
  dr2D_PinionToothOut_MZP_V2(zero, zero, half, one, A, 31, false);
}

namespace {
// A part of the coupling: its profile revolved about its axis.
void Body(TModeler3D& m, TPieceDraw draw, const double* A)
{
  const double zero = 0.0, one = 1.0;
  m.drPlaneEskis(txapi::o3d_planeXOY, 0.0, 0.0, TString());
  draw(zero, zero, zero, one, A, 0, false);
  m.drBaseRotate(0, 360.0);
}

void HubPart(TModeler3D& m, int n, const char* word, double d, const double* A, int T, bool reverse)
{
  const double zero = 0.0, one = 1.0;
  MakeHalf(n, word, d, BoreType(T));
  m.drPlaneEskis(txapi::o3d_planeXOY, 0.0, 0.0, TString());
  dr2D_PinionTooth_V1(zero, zero, zero, one, A, BoreType(T), 0, false);
  m.drBaseRotate(0, 360.0);
  // The rim outside the wheel's outline goes, leaving the teeth on the crown.
  if (GearMade(A[9], A[10])) {
    m.drPlaneEskis(txapi::o3d_planeYOZ, 0.0, 0.0, TString());
    TCommonGeometry(0, &m).dr2D_GearsWheel_Ext_V2(zero, zero, zero, one, A[9], A[10], 0.4, 0, false);
    m.drRectAngle(-500.0, -500.0, 500.0, 500.0, 1);
    m.drCutExtrusion(txapi::dtNormal, txapi::etBlind, A[5] / 2, 0.0);
  }
  dr3DKeySeating(d, reverse, zero, 200.0);
  m.drSave3D(true, true);
}

// The flange's bolt holes, and the spaces between the internal teeth when teeth, cut together. The bolts
// stand 360 / nb degrees apart from +z towards +y, which the sketch (its first direction -z) sees from 180
// degrees the other way round, and a part inserted turned over (turned) the same way round; a sleeve
// inserted both ways (both) takes the holes of either.
void FlangeCut(TModeler3D& m, const double* A, bool teeth, bool turned, bool both = false)
{
  const double zero = 0.0, one = 1.0;
  teeth = teeth && GearMade(A[9], A[10]);
  if (!teeth && !(A[20] > 0.0)) return;
  m.drPlaneEskis(txapi::o3d_planeYOZ, 0.0, 0.0, TString());
  // Turned half a pitch: the hubs' teeth, drawn about the same axis, stand in these spaces.
  const double halfPitch = 180.0 / std::floor(A[10]);
  if (teeth)
    TCommonGeometry(0, &m).dr2D_GearsWheel_Int_V2(zero, zero, halfPitch, one, A[9], A[10], 0.4, 1, false);
  HoleCircle(m, {A[20], A[20], 180.0, turned ? 1.0 : -1.0, both, 0.0}, A[18], A[19] / 2);
  m.drCutExtrusion(txapi::dtNormal, txapi::etBlind, A[5] / 2, 0.0);
}

void SleeveAndCover(TModeler3D& m, const double* A)
{
  MakeHalf(2, "Обойма", ControlModel.P1d, -1);
  Body(m, dr2D_PinionToothOut_V1, A);
  FlangeCut(m, A, true, false, true);
  m.drSave3D(true, true);
  MakeHalf(4, "Крышка", A[4] / 2, -1);
  Body(m, dr2D_UGasket, A);
  m.drSave3D(true, true);
}

// The bolt, washer and nut part files, and an assembly of them for every bolt of the flange.
void Fasteners(TModeler3D& m, const double* K, const double* A)
{
  if (!K) return;
  const double r = A[8] / 2;
  TCommonGeometry g(0, &m);
  const TBoltFit fit = ToothBolt(K, r, 2 * r + K[0] + 5.0);
  const TFastenerSet s = ToothedBolt(K);
  g.dr3D_Screw(K[0], fit.L, fit.LM, s.AcrossFlats, s.Height, ControlModel.mfDetail3D(5));
  g.dr3D_Washer(s.WasherBore, s.Washer, s.WasherThickness, ControlModel.mfDetail3D(6), true);
  g.dr3D_Nut(K[0], s.AcrossFlats, s.Height, ControlModel.mfDetail3D(7));
}
void InsertBolts(TModeler3D& m, const double* K, const double* A)
{
  if (!K) return;
  const double r = A[8] / 2, R0 = A[18] / 2, nb = A[20];
  for (int i = 0; i < nb && i < 360; ++i) {
    const double phi = 360.0 / nb * i * 0.017453292519943295;
    const double y = std::sin(phi) * R0, z = std::cos(phi) * R0;
    m.AddDetail(-r, y, z, ControlModel.Detail3D(5), false, false);
    m.AddDetail(r, y, z, ControlModel.Detail3D(6), false, false);
    // The nut on the washer.
    m.AddDetail(r + ToothedBolt(K).WasherThickness, y, z, ControlModel.Detail3D(7), false, false);
  }
}

// Inserted turned half a revolution about the vertical axis: the other half of the coupling.
void AddTurned(TModeler3D& m, int n)
{
  m.AddDetailAxle(0.0, 0.0, 0.0, ControlModel.Detail3D(n), -1.0, 0.0, 0.0, 0.0, -1.0, 0.0, true);
}
} // namespace

void dr3D_PinionTooth()
{
  TBoltedRows r;
  if (!Rows(r)) return;
  TModeler3D& m = *r.m;
  const double zero = 0.0;
  const double *A = r.R1, *A2 = r.R2;
  HubPart(m, 1, "Полумуфта", ControlModel.P1d, A, ControlModel.T1, true);
  HubPart(m, 8, "Полумуфта2", ControlModel.P2d, A2, ControlModel.T2, true);
  SleeveAndCover(m, A);
  Fasteners(m, r.K, A);
  ControlModel.mkAssembly3D(ControlModel.P1d, ControlModel.T1, ControlModel.P2d, ControlModel.T2, true);
  m.AddDetail(zero, zero, zero, ControlModel.Detail3D(8), false, false);
  AddTurned(m, 1);
  for (int n : {2, 4}) {
    m.AddDetail(zero, zero, zero, ControlModel.Detail3D(n), false, false);
    AddTurned(m, n);
  }
  InsertBolts(m, r.K, A);
  m.drSave3D(true, true);
}

void dr3D_PinionTooth2()
{
  TBoltedRows r;
  if (!Rows(r)) return;
  TModeler3D& m = *r.m;
  const double zero = 0.0;
  const double* A = r.R1;
  HubPart(m, 1, "Полумуфта", ControlModel.P2d, r.R2, ControlModel.T2, false);
  MakeHalf(2, "Обойма", ControlModel.P1d, -1);
  Body(m, dr2D_PinionToothOut_V1, A);
  FlangeCut(m, A, true, false);
  m.drSave3D(true, true);
  MakeHalf(3, "Полумуфта2", ControlModel.P1d, BoreType(ControlModel.T1));
  Body(m, dr2D_PinionToothOut_MZP_V1, A);
  FlangeCut(m, A, false, true);
  dr3DKeySeating(ControlModel.P1d, true, zero, 200.0);
  m.drSave3D(true, true);
  MakeHalf(4, "Крышка", A[4] / 2, -1);
  Body(m, dr2D_UGasket, A);
  m.drSave3D(true, true);
  Fasteners(m, r.K, A);
  ControlModel.mkAssembly3D(ControlModel.P1d, ControlModel.T1, ControlModel.P2d, ControlModel.T2, true);
  m.AddDetail(zero, zero, zero, ControlModel.Detail3D(1), false, false);
  m.AddDetail(zero, zero, zero, ControlModel.Detail3D(2), false, false);
  AddTurned(m, 3);
  m.AddDetail(zero, zero, zero, ControlModel.Detail3D(4), false, false);
  InsertBolts(m, r.K, A);
  m.drSave3D(true, true);
}

TFastenerSet ToothedBolt(const double* K)
{
  return {K[0], K[5], K[4], K[3], K[2]};
}
