// The jaw-disc coupling: two equal half-couplings with a slot across their inner faces and a
// floating insert between them whose two tongues, at right angles, run in the slots; the row's
// 2D section, 2D view and 3D model. Only this coupling colours its parts.
#include <algorithm>
#include <cmath>

#include "Duvozadu/ControlModel.h"
#include "Duvozadu/CplgDetails.h"
#include "Duvozadu/CplgGlobal.h"
#include "Duvozadu/CplgShared.h"
#include "hxcadkit/drawing/drNodeCont.h"

namespace {
constexpr int JawDiscColumns = 16;
constexpr int HalfColour = 0x5a5a00, InsertColour = 0x323232;

// The sizes of one half in the execution of its bore type (bit 0: the short one).
struct TJaw
{
  const double* A;
  double rb, D3r, D10r, rm, L, Lh, F, gap, s, q, f, e, kt;
  double du; // a conical bore's loss on its radius from the outer face to the slotted one
};

bool Sizes(TJaw& j, const double* A, int T)
{
  j.A = A;
  if (!Usable(A, JawDiscColumns)) return false;
  const int idx = BoreType(T) & 1;
  j.rb = A[1] / 2;
  j.D3r = A[3] / 2;
  j.D10r = A[10] / 2;
  j.rm = (A[10] + A[3]) / 4;
  j.L = A[4 + idx];
  j.Lh = A[6 + idx];
  j.F = A[8 + idx];
  j.gap = j.L - 2 * j.Lh;
  j.s = A[12] / 2;
  j.q = A[13];
  j.f = A[14];
  j.e = A[15];
  // Without a keyway row the keyway line lies on the bore.
  const double* K = KeywayRow(A[1]);
  j.kt = Usable(K, 3) ? j.rb + K[2] : j.rb;
  j.du = (BoreType(T) & 2) ? ConeDrop(j.Lh) : 0.0;
  return true;
}

// Half 1 on the first shaft with the first bore type, half 2 on the second with the second, both
// from the chosen torque's group (the model takes its torque). False when no group holds both
// shafts or a row is not usable.
bool Sizes(TJaw& j1, TJaw& j2)
{
  const TGroupRows g = GroupRows(ATable[0], ControlModel.M, ControlModel.P1d, ControlModel.P2d);
  if (!Sizes(j1, g.R1, ControlModel.T1) || !Sizes(j2, g.R2, ControlModel.T2)) return false;
  ControlModel.M = g.Torque;
  return true;
}

// Draws the program as built and mirrored, first with flag 0 as the hatch's boundary, then with
// flag 1 as the drawing.
void HatchedBothSides(TModeler3D& m, double angle, const TContDrawing& up, const TContDrawing& down)
{
  m.drHatch(0, angle, 2.0);
  up.dr2D(0);
  down.dr2DMY(0);
  m.drEndObj();
  up.dr2D(1);
  down.dr2DMY(1);
}

// The slot across the end face of a half or the tongue of the insert: the rectangle s2 wide and D3
// high, turned a quarter when across.
void Tongue(TModeler3D& m, const double* A, bool across)
{
  const double w = A[12] / 2, h = A[3] / 2;
  across ? m.drRectAngle(-h, -w, h, w, 1) : m.drRectAngle(-w, -h, w, h, 1);
}
} // namespace

void dr2D_JawDiscCoupling_V1(const double& mx, const double& my, const double& ma, const double& mm,
                             const double* A, int T, int tl, bool)
{
  TModeler3D* m = CouplingModeler();
  if (!m || !Usable(A, JawDiscColumns)) return;
  const double L = A[6 + (BoreType(T) & 1)], h = L / 2, rb = A[1] / 2, f = A[14], e = A[15], W = A[11];
  const double D3r = A[3] / 2, D10r = A[10] / 2;
  // A conical bore keeps the shaft's diameter where the entry chamfer ends and narrows in one cone to
  // the slotted face, as the section draws it; a cylindrical one ends in its chamfer there.
  const bool cone = BoreType(T) & 2;
  const double rh = cone ? rb - ConeDrop(h - f) : rb, rL = cone ? rb - ConeDrop(L - f) : rb;
  TContDrawing c(m);
  c.Make(h, rh,
         dPx(f, rb,
             dFsk(0, rb, 0, rb + 2 * f, f,
                  dPx(0, rb + 2 * f,
                      dFsk(0, D10r, W / 2, D10r, f,
                           dCLL(W, D10r, W, (A[10] + A[3]) / 4, f,
                                dFsk(W, D3r, (L + W) / 2, D3r, e,
                                     dFsk(L, D3r, L, (A[1] + A[3]) / 4, f,
                                          dPx(L, rL, cone ? dP(h, rh) : dFsk(L, rL, h, rh, f))))))))));
  // The half lies from -L to 0, its slotted end at 0.
  TPiece p(*m, mx, my, ma, mm, -L);
  c.drContBlock(tl);
  m->drLine(-3.0, 0.0, L + 3.0, 0.0, 3);
}

void dr2D_JawDiscCoupling()
{
  TModeler3D* m = CouplingModeler();
  TJaw j, j2;
  if (!m || !Sizes(j, j2)) return;
  const double Lh = j.Lh, F = j.F, f = j.f, e = j.e, D10r = j.D10r, D3r = j.D3r, rm = j.rm, kt = j.kt;
  const double rb = j.rb, s = j.s, q = j.q, gap = j.gap, Lh2 = j2.Lh, F2 = j2.F, rb2 = j2.rb;
  // A conical bore, and the keyway along it, narrow from the outer face towards the slot.
  const double du = j.du * (Lh - q) / Lh, du2 = j2.du * (Lh2 - q) / Lh2;
  // The section plane runs along the first half's slot and across the second's (the model turns the
  // second half a quarter): the first half is cut away one slot depth short of its face, where the
  // insert's tongue fills the whole height; the second keeps its slotted end above the slot, and the
  // insert's other tongue fills the slot below. Through the bores the joints of the halves with the
  // tongues show.
  // The first half: both sides to the bore, from the end face's line up to the keyway's top, the bore
  // closing the outline at (0, rb); its keyway above the axis is drawn over it as every coupling draws
  // one, the bore line under it.
  auto firstHalf = [&](double bore) {
    return dFsk(0, D10r, f, D10r, f,
                dCLL(F, D10r, F, rm, 1.0,
                     dFsk(F, D3r, F + e, D3r, e,
                          dP(Lh - q, D3r,
                             dP(Lh - q, bore - du, dPt1(Lh - q, 0, dSP(Lh - q, bore - du, dP(0, bore))))))));
  };
  TContDrawing first(m), insert(m), second(m);
  first.Make(0, rb, dPx(0, kt, firstHalf(rb)));
  insert.Make(-q, rb, dP(-q, D3r, dP(gap, D3r, dP(gap, s, dP(gap + q, s, dP(gap + q, rb, dP(-q, rb)))))));
  second.Make(0, rb2,
              dPx(0, rb2,
                  dFsk(0, D10r, f, D10r, f,
                       dCLL(F2, D10r, F2, rm, 1.0,
                            dFsk(F2, D3r, F2 + e, D3r, e,
                                 dFsk(Lh2, D3r, Lh2, s, f,
                                      dP(Lh2 - q, s,
                                         dP(Lh2 - q, rb2 - du2,
                                            dPt1(Lh2 - q, 0, dSP(Lh2 - q, rb2 - du2, dP(0, rb2)))))))))));
  m->drMacro2D(true);
  m->drMtr(-gap / 2 - Lh, 0.0, 0.0, 1.0);
  HatchedBothSides(*m, 45.0, first, first);
  dr2D_Shponka(2 * rb, du, Lh - q, 0.0, true);
  m->drDeleteMtr();
  m->drMtr(-gap / 2, 0.0, 0.0, 1.0);
  HatchedBothSides(*m, -45.0, insert, insert);
  m->drDeleteMtr();
  m->drMtr(gap / 2 + Lh2, 0.0, 180.0, 1.0);
  HatchedBothSides(*m, 45.0, second, second);
  m->drDeleteMtr();
  m->drLine(-Lh - gap / 2 - 3.0, 0.0, gap / 2 + Lh2 + 3.0, 0.0, 3);
  m->drEndMacro();
}

void dr2D_JawDiscCouplingView()
{
  TModeler3D* m = CouplingModeler();
  TJaw j, j2;
  if (!m || !Sizes(j, j2)) return;
  const double Lh = j.Lh, f = j.f, e = j.e, D10r = j.D10r, D3r = j.D3r, rm = j.rm;
  const double s = j.s, q = j.q, gap = j.gap, Lh2 = j2.Lh;
  auto disc = [&](double F, TNode* rest) {
    return dFsk(0, D10r, f, D10r, f,
                dPx(f, D10r, dCLL(F, D10r, F, rm, 1.0, dFsk(F, D3r, F + e, D3r, e, dPx(F + e, D3r, rest)))));
  };
  // Seen across the section plane, the first half's slot lies inside it but breaks through its hub
  // above the height yc (yf at the chamfered face), where the insert's tongue shows to the hub's full
  // height; its floor is hidden below. The second half's slot opens towards the viewer.
  const double yc = std::sqrt(std::max(0.0, D3r * D3r - s * s));
  const double yf = std::sqrt(std::max(0.0, (D3r - f) * (D3r - f) - s * s));
  TContDrawing first(m), second(m), insert(m);
  first.Make(
      0, 0,
      disc(j.F,
           dP(Lh, D3r,
              dP(Lh, 0,
                 dSP(Lh - q, D3r,
                     dP(Lh - q, yc, dP(Lh - f, yc, dP(Lh, yf, dSP(Lh - q, yc, dTL(4, dP(Lh - q, 0)))))))))));
  second.Make(0, 0, disc(j2.F, dFsk(Lh2, D3r, Lh2, 0, f, dSP(Lh2, s, dP(Lh2 - q, s, dP(Lh2 - q, 0))))));
  insert.Make(-gap / 2, D3r, dP(gap / 2, D3r, dP(gap / 2, D3r - f)));
  m->drMacro2D(true);
  m->drMtr(-Lh - gap / 2, 0.0, 0.0, 1.0);
  first.dr2D(1);
  first.dr2DMY(1);
  m->drDeleteMtr();
  m->drMtr(Lh2 + gap / 2, 0.0, 180.0, 1.0);
  second.dr2D(1);
  second.dr2DMY(1);
  m->drDeleteMtr();
  insert.dr2D(1);
  insert.dr2DMY(1);
  m->drLine(-3.0 - Lh - gap / 2, 0.0, Lh2 + 3.0 + gap / 2, 0.0, 3);
  m->drEndMacro();
}

namespace {
// A half-coupling part: the profile of its execution revolved, the slot across its end face, the
// keyway of its shaft.
void JawHalf3D(TModeler3D& m, int n, const char* word, double d, const TJaw& j, int T)
{
  const double zero = 0.0, one = 1.0;
  const TString none;
  MakeHalf(n, word, d, BoreType(T));
  m.drPlaneEskis(txapi::o3d_planeXOY, 0.0, 0.0, none);
  dr2D_JawDiscCoupling_V1(zero, zero, zero, one, j.A, T, 0, false);
  m.drBaseRotate(0, 360.0);
  m.drPlaneEskis(txapi::o3d_planeYOZ, 0.0, 0.0, none);
  Tongue(m, j.A, false);
  m.drCutExtrusion(txapi::dtReverse, txapi::etBlind, j.q, 0.0);
  dr3DKeySeating(d, true, zero, 200.0);
  m.drColor3D(HalfColour, 0.8, 0.6, 0.95, 0.95, 1.0, 0.8);
  m.drSave3D(true, true);
}
} // namespace

void dr3D_JawDiscCoupling()
{
  TModeler3D* m = CouplingModeler();
  TJaw j, j2;
  if (!m || !Sizes(j, j2)) return;
  const double *A = j.A, zero = 0.0, gap = j.gap, q = j.q, rb = j.rb;
  const TString none;

  JawHalf3D(*m, 1, "Полумуфта", ControlModel.P1d, j, ControlModel.T1);
  // Two shafts or bore types make two halves; one shaft and type, one half placed twice.
  const bool twin = ControlModel.P1d == ControlModel.P2d && ControlModel.T1 == ControlModel.T2;
  if (!twin) JawHalf3D(*m, 3, "Полумуфта2", ControlModel.P2d, j2, ControlModel.T2);

  // The insert is named by the bore it is built for, its file by the execution too. With no gap
  // there is no ring to revolve: the tongues and the bore alone.
  MakeHalf(2, "Вставка", ControlModel.P1d, BoreType(ControlModel.T1));
  if (gap > 0.0) {
    m->drPlaneEskis(txapi::o3d_planeXOY, 0.0, 0.0, none);
    m->drRectAngle(-gap / 2, rb, gap / 2, A[3] / 2, 1);
    m->drLine(-3.0, 0.0, j.Lh + 3.0, 0.0, 3);
    m->drBaseRotate(0, 360.0);
  }
  // Each tongue runs in the slot of the half on its side: the second half is turned a quarter, so its
  // tongue is the one across.
  m->drPlaneEskis(txapi::o3d_planeYOZ, gap / 2, 0.0, none);
  Tongue(*m, A, true);
  m->drBaseExtrusion(txapi::dtNormal, txapi::etBlind, q, 0.0);
  m->drPlaneEskis(txapi::o3d_planeYOZ, -gap / 2, 0.0, none);
  Tongue(*m, A, false);
  m->drBaseExtrusion(txapi::dtReverse, txapi::etBlind, q, 0.0);
  m->drPlaneEskis(txapi::o3d_planeYOZ, gap / 2, 0.0, none);
  m->drCircle(0.0, 0.0, rb, 1);
  m->drCutExtrusion(txapi::dtBoth, txapi::etBlind, j.Lh + q, 0.0);
  m->drColor3D(InsertColour, 0.8, 0.6, 0.95, 0.95, 1.0, 0.8);
  m->drSave3D(true, true);

  ControlModel.mkAssembly3D(ControlModel.P1d, ControlModel.T1, ControlModel.P2d, ControlModel.T2, true);
  m->AddDetail(-gap / 2, zero, zero, ControlModel.Detail3D(1), false, false);
  // The second half turned end for end and a quarter about the axis: its slot crosses the first.
  m->AddDetailAxle(gap / 2, zero, zero, ControlModel.Detail3D(twin ? 1 : 3), -1.0, 0.0, 0.0, 0.0, 0.0, 1.0,
                   true);
  m->AddDetailAxle(zero, zero, zero, ControlModel.Detail3D(2), 1.0, 0.0, 0.0, 0.0, 1.0, 0.0, true);
  m->drSave3D(true, true);
}
