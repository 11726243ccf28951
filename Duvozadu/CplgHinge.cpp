// The hinge couplings: the half-coupling with its fork (three drawings), the middle piece's tube
// and fork, the cross piece, pin and bushing of a joint; rows 6 (one joint) and 7 (two joints
// and a middle piece) in 2D section, 2D view and 3D.
//
// A piece's frame: x along the axis from the jaw tip (the joint centre lies r further on), y
// radial, the hub at the far end (x = l1).
#include <cmath>
#include <exception>

#include "Duvozadu/ControlModel.h"
#include "Duvozadu/CplgDetails.h"
#include "Duvozadu/CplgGlobal.h"
#include "Duvozadu/CplgShared.h"
#include "hxcadkit/core/Messager.h"
#include "hxcadkit/drawing/Cuthole.h"
#include "hxcadkit/drawing/drNodeCont.h"

namespace {
// Columns each table must hold for the builders.
constexpr int MainColumns = 4, HalfColumns = 18, CrossColumns = 7, PinColumns = 7, BushingColumns = 7;
constexpr double f = 1.0; // the chamfer of every hub and bore edge

// The sizes of a half-coupling row for a bore type: bit 0 the short hub, bit 1 a conical bore.
struct THalf
{
  double d, d1, d3, D, b, l, l1, l2, l3, r, r1, du;
};
// A half row is drawable when it is finite and its jaw, trunnion hole, fork and slot have a size.
bool HalfUsable(const double* A)
{
  return Usable(A, HalfColumns) && A[16] > 0.0 && A[4] > 0.0 && A[5] > 0.0 && A[6] > 0.0;
}
bool Half(const double* A, int T, THalf& h)
{
  if (!HalfUsable(A)) return false;
  const int t = BoreType(T), di = t & 1;
  h = {A[1], A[2], A[4], A[5], A[6], A[7 + di], A[9 + di], A[11], A[12 + di], A[16], A[17], 0.0};
  // The bore runs from the hub's inner face to the chamfer at its end.
  if (t & 2) h.du = ConeDrop(h.l3 - f);
  return true;
}

// The placement of a piece: the caller's, the piece's own shift, and its macro where it has one.
// Every level is closed even when the host fails one of the calls.
class TPlace
{
public:
  TPlace(TModeler3D& m, double mx, double my, double ma, double mm, int shifts, double sx, bool macro)
      : M(m), Shifts(shifts), Macro(macro)
  {
    M.drMtr(mx, my, ma, mm);
    if (Shifts > 1) M.drMtr(sx, 0.0, 0.0, 1.0);
    if (Macro) M.drMacro2D(true);
  }
  ~TPlace() noexcept(false) { CloseLevels(M, Macro, Shifts, Unwinding); }
  TPlace(const TPlace&) = delete;
  TPlace& operator=(const TPlace&) = delete;

private:
  TModeler3D& M;
  const int Shifts;
  const bool Macro;
  const int Unwinding = std::uncaught_exceptions();
};

// The hatched hub of a section, in a macro of its own: drawn, then hatched at ma/2 + 45 degrees.
void HatchedHub(TModeler3D& m, TNode* hub, int tl, double ma)
{
  TContDrawing c(&m);
  c.Make(0, 0, hub);
  const int pass = tl - tl % 10;
  m.drMacro2D(true);
  c.drContBlock(pass, false, true);
  m.drHatch(0, ma / 2 + 45.0, 2.0);
  c.drContBlock(pass, true);
  m.drEndObj();
  m.drEndMacro();
}

// A line, with its auxiliary line to the axis in a section when plus.
TNode* Line(bool plus, double x, double y, TNode* next = nullptr)
{
  return plus ? dPx(x, y, next) : dP(x, y, next);
}

// From the bore's edge at the hub's end round the hub and up its cone to the fork's diameter.
TNode* Outside(const THalf& h, bool plus, TNode* next)
{
  const double l1 = h.l1, l3 = h.l3, d1 = h.d1;
  return Line(plus, l1, d1 / 2 - f,
              Line(plus, l1 - f, d1 / 2,
                   Line(plus, l1 - l3, d1 / 2, Line(plus, l1 - l3 - (h.D / 2 - d1 / 2), h.D / 2, next))));
}

// The hub's section from the bore's edge at its end; the section of the half with the slot marks
// the hub's end, the other the bore's edge.
TNode* Hub(const THalf& h, bool slotted)
{
  const double l1 = h.l1, l3 = h.l3, d = h.d;
  return dSP(l1, d / 2 + f,
             Line(slotted, l1, h.d1 / 2 - f,
                  dP(l1 - f, h.d1 / 2,
                     dPx(l1 - l3, h.d1 / 2,
                         dPx(l1 - l3, d / 2 - h.du, dPx(l1 - f, d / 2, Line(!slotted, l1, d / 2 + f)))))));
}

// A view sees the hub's end face whole: across the bore, between the edges its outline draws.
void EndFace(TModeler3D& m, const THalf& h, int tl)
{
  m.drLine(h.l1, h.d / 2 + f, h.l1, -(h.d / 2 + f), tl % 10);
}

// The jaw with its rounded end, from the fork's full diameter down to the tip at the origin.
TNode* Jaw(const THalf& h, TNode* next)
{
  return dP(h.l2, h.r, dP(h.r, h.r, dA(h.r, 0, h.r, 0, 0, next)));
}

// The end of the slot's cut in a sketch: from the slot's floor past the tip, across the fork.
void SlotEnd(TModeler3D& m, const THalf& h)
{
  const double x = h.l1 - h.l;
  TContDrawing c(&m);
  c.Make(x, h.D / 2, dP(-10, h.D / 2, dP(-10, -h.D / 2, dP(x, -h.D / 2))));
  c.dr2D(1);
}
} // namespace

void dr2D_HingeSelgCoupling_V1(const double& mx, const double& my, const double& ma, const double& mm,
                               const double*, const double* A, int T, int tl, bool isSize)
{
  TModeler3D* m = CouplingModeler();
  THalf h;
  if (!m || !Half(A, T, h)) return;
  const double d = h.d, D = h.D, l1 = h.l1, x = h.l1 - h.l, b = h.b;
  TContDrawing c(m);
  // Revolved, the half has the hub's bore: a conical one steps down at the hub's inner face.
  TNode* end = dP(l1 - 1, d / 2, dP(l1, d / 2 + f));
  if (h.du > 0.0) end = dP(l1 - h.l3, d / 2, dP(l1 - h.l3, d / 2 - h.du, end));
  TNode* closed = dP(0, d / 2 + f, dP(1, d / 2, end));
  TNode* slot =
      dP(0, b / 2, dCLL(x, b / 2, x, 0, f, dSP(x, b / 2 - 0.5, dP(x - 1, D / 2 - 1, dP(0, D / 2 - 1)))));
  c.Make(l1, d / 2 + f,
         Outside(h, true, dP(1, D / 2, dP(0, D / 2 - 1, dMacroIfE(tl == 0, closed, slot, nullptr)))));
  TPlace p(*m, mx, my, ma, mm, 2, -h.r, false);
  c.drContBlock(tl, false, true);
  m->drLine(-3.0, 0.0, l1 + 3.0, 0.0, 3);
  if (tl % 10 == 0) return;
  if (!isSize) return EndFace(*m, h, tl);
  HatchedHub(*m, Hub(h, true), tl, ma);
}

void dr2D_HingeSelgCoupling_V2(const double& mx, const double& my, const double& ma, const double& mm,
                               const double*, const double* A, int T, int tl, bool)
{
  TModeler3D* m = CouplingModeler();
  THalf h;
  if (!m || !Half(A, T, h)) return;
  const double d = h.d, D = h.D, l1 = h.l1, x = h.l1 - h.l, r = h.r;
  TContDrawing body(m), jaw(m);
  body.Make(l1, d / 2 + f,
            Outside(h, false, dP(x, D / 2, dPx(x, d / 2, dPx(l1 - f, d / 2, dPx(l1, d / 2 + f))))));
  jaw.Make(x, D / 2, Jaw(h, dSP(r + h.d3 / 2, 0, dA(r, 0, h.d3 / 2, r - h.d3 / 2, 0))));
  TPlace p(*m, mx, my, ma, mm, 2, -r, true);
  if (tl == 0) {
    jaw.drContBlock(30);
    SlotEnd(*m, h);
  } else {
    m->drHatch(0, 30.0, 2.0);
    body.drContBlock(tl);
    m->drEndObj();
    body.drContBlock(tl, true);
    jaw.drContBlock(tl, true);
  }
  m->drLine(-3.0, 0.0, l1 + 3.0, 0.0, 3);
}

void dr2D_HingeSelgCoupling_V3(const double& mx, const double& my, const double& ma, const double& mm,
                               const double*, const double* A, int T, int tl, bool isSize)
{
  TModeler3D* m = CouplingModeler();
  THalf h;
  if (!m || !Half(A, T, h)) return;
  const double d = h.d, l1 = h.l1, x = h.l1 - h.l, r = h.r, b = h.b;
  if (tl == 0) {
    // The slot alone, for the sketch that opens it.
    TContDrawing slot(m);
    slot.Make(0, b / 2, dCVR(x, b / 2, x, -b / 2, 0, -b / 2, f, dP(0, b / 2)));
    TPlace p(*m, mx, my, ma, mm, 2, -r, false);
    slot.dr2D(1);
    return;
  }
  TContDrawing body(m), hole(m);
  body.Make(l1, d / 2 + f,
            Outside(h, true,
                    dPx(x, h.D / 2,
                        dCLL(h.l2, r, r, r, h.r1, dA(r, 0, r, 0, 0, dPt0(l1, 0, dPt0(l1, d / 2 + f)))))));
  hole.Make(r - h.d3 / 2, 0, dA(r, 0, h.d3 / 2, r + h.d3 / 2, 0));
  TPlace p(*m, mx, my, ma, mm, 2, -r, true);
  body.drContBlock(tl, true, true);
  hole.drContBlock(tl, true);
  m->drLine(-3.0, 0.0, l1 + 3.0, 0.0, 3);
  if (tl % 10 == 0) return;
  if (!isSize) return EndFace(*m, h, tl);
  HatchedHub(*m, Hub(h, false), tl, ma);
}

void dr2D_HingeFork_V1(const double& mx, const double& my, const double& ma, const double& mm,
                       const double* A2, const double* A, int tl, bool)
{
  TModeler3D* m = CouplingModeler();
  THalf h;
  // The forks take the first shaft's bore type at both ends.
  if (!m || !Usable(A2, MainColumns) || !Half(A, ControlModel.T1, h)) return;
  const double d = h.d, D = h.D, r = h.r, e = A2[3] + r;
  TContDrawing c(m);
  c.Make(e, d / 2 + f,
         dP(e, D / 2 - f,
            dP(e - f, D / 2,
               dP(f - r, D / 2,
                  dP(-r, D / 2 - f,
                     dPx(-r, d / 2 + f, dPx(f - r, d / 2, dPx(e - f, d / 2, dPx(e, d / 2 + f)))))))));
  TPlace p(*m, mx, my, ma, mm, 1, 0.0, false);
  c.drContBlock(tl, false, true);
  m->drLine(-3.0, 0.0, h.l1 + 3.0, 0.0, 3);
}

void dr2D_HingeFork_V2(const double& mx, const double& my, const double& ma, const double& mm,
                       const double* A2, const double* A, int tl, bool)
{
  TModeler3D* m = CouplingModeler();
  THalf h;
  if (!m || !Usable(A2, MainColumns) || !Half(A, ControlModel.T1, h)) return;
  const double D = h.D, r = h.r, x = h.l1 - h.l, e = A2[3] / 2 + r;
  TContDrawing hole(m), fork(m);
  hole.Make(r + h.d3 / 2, 0, dA(r, 0, h.d3 / 2, r - h.d3 / 2, 0));
  fork.Make(x, D / 2, Jaw(h, dSP(x, D / 2, dP(e, D / 2, dPt0(e, 0, dPt0(0, 0))))));
  TPlace p(*m, mx, my, ma, mm, 2, -r, true);
  if (tl != 0) {
    fork.drContBlock(tl, true);
    hole.drContBlock(tl, true);
  } else {
    fork.drContBlock(0);
    SlotEnd(*m, h);
  }
  m->drLine(-3.0, 0.0, h.l1 + 3.0, 0.0, 3);
}

void dr2D_СrossPiece_V1(const double& mx, const double& my, const double& ma, const double& mm,
                        const double* S, int tl, bool isSize)
{
  TModeler3D* m = CouplingModeler();
  if (!m || !Usable(S, CrossColumns) || !(S[1] > 0.0)) return;
  const double hh = S[1] / 2, c = S[4];
  TContDrawing p(m);
  TNode* outline =
      dFsk(-hh, hh, 0, hh, c, dFsk(hh, hh, hh, 0, c, dFsk(hh, -hh, 0, -hh, c, dFsk(-hh, -hh, -hh, 0, c))));
  // A view sees the cross piece only through the forks around it; a sketch keeps its own lines.
  p.Make(-hh, 0, tl % 10 != 0 && !isSize ? dTL(4, outline) : outline);
  TPlace place(*m, mx, my, ma, mm, 1, 0.0, false);
  p.drContBlock(tl, false, true);
  m->drLine(-(hh + 3.0), 0.0, hh + 3.0, 0.0, 3);
}

namespace {
// The rows of a hinge coupling: the main row and the half-coupling row beside it (k), the half
// row of the second shaft, the cross piece's row (k2) and the pin and bushing rows beside it.
// A table without the row asked for, or a row that is not whole and finite, builds nothing.
struct THingeRows
{
  TModeler3D* m = nullptr;
  const double *Main = nullptr, *A = nullptr, *Ad2 = nullptr, *S = nullptr, *A4 = nullptr, *A5 = nullptr;
};

const double* RowAt(const TTable* t, int k, int columns)
{
  if (!t || k < 0 || k >= t->CountRow || t->CountColumn < columns) return nullptr;
  const double* row = t->Row(k);
  return Usable(row, columns) ? row : nullptr;
}

int IndexOf(const TTable& t, const double* row)
{
  return int((row - t.Row(0)) / t.CountColumn);
}

// Both halves from one torque group; none when no group holds both shafts (a bore is never
// substituted for a shaft it does not take).
TGroupRows MainRows(const TTable& t)
{
  return GroupRows(&t, ControlModel.M, ControlModel.P1d, ControlModel.P2d);
}

bool HingeRows(THingeRows& r, bool pins)
{
  r.m = CouplingModeler();
  const TTable* main = ATable[0];
  const TTable* cross = ATable[2];
  if (!r.m || !main || main->CountRow <= 0 || main->CountColumn < MainColumns || !cross ||
      cross->CountRow <= 0 || cross->CountColumn < CrossColumns)
    return false;
  const TGroupRows g = MainRows(*main);
  if (!g.R1 || !g.R2) return false;
  const int k = IndexOf(*main, g.R1);
  r.Main = RowAt(main, k, MainColumns);
  r.A = RowAt(ATable[1], k, HalfColumns);
  r.Ad2 = RowAt(ATable[1], IndexOf(*main, g.R2), HalfColumns);
  if (!r.Main || !HalfUsable(r.A) || !HalfUsable(r.Ad2)) return false;
  // A torque above every cross piece takes the largest.
  int k2 = cross->NumberRow(cross->Control, r.Main[0]);
  if (k2 >= cross->CountRow) k2 = cross->CountRow - 1;
  r.S = RowAt(cross, k2, CrossColumns);
  if (pins) {
    r.A4 = RowAt(ATable[3], k2, PinColumns);
    r.A5 = RowAt(ATable[4], k2, BushingColumns);
  }
  if (!r.S || !(r.S[1] > 0.0) || (pins && (!r.A4 || !r.A5))) return false;
  ControlModel.M = g.Torque;
  return true;
}

// Row 6: the cross piece, the half with the rounded jaw (second shaft) and the half with the
// slot (first shaft), all about the joint at main[3]/2.
void Single(bool section)
{
  THingeRows r;
  if (!HingeRows(r, false)) return;
  const double x0 = r.Main[3] / 2, zero = 0.0, one = 1.0, turned = 180.0;
  dr2D_СrossPiece_V1(x0, zero, zero, one, r.S, 31, section);
  dr2D_HingeSelgCoupling_V3(x0, zero, zero, one, nullptr, r.Ad2, ControlModel.T2, 31, section);
  dr2D_HingeSelgCoupling_V1(x0, zero, turned, one, nullptr, r.A, ControlModel.T1, 31, section);
}

// Row 7: a half at each joint, the cross pieces, and the middle piece's forks meeting midway.
void Double(bool section)
{
  THingeRows r;
  if (!HingeRows(r, false)) return;
  const double x0 = r.Main[3] / 2, xm = -x0, zero = 0.0, one = 1.0, turned = 180.0;
  dr2D_HingeSelgCoupling_V1(x0, zero, zero, one, nullptr, r.Ad2, ControlModel.T2, 31, section);
  dr2D_HingeSelgCoupling_V1(xm, zero, turned, one, nullptr, r.A, ControlModel.T1, 31, section);
  dr2D_СrossPiece_V1(x0, zero, zero, one, r.S, 31, section);
  dr2D_СrossPiece_V1(xm, zero, zero, one, r.S, 31, section);
  dr2D_HingeFork_V2(x0, zero, turned, one, r.Main, r.A, 31);
  dr2D_HingeFork_V2(xm, zero, zero, one, r.Main, r.A, 31);
}
} // namespace

void dr2D_HingeCoupling()
{
  Single(true);
}

void dr2D_HingeCouplingView()
{
  Single(false);
}

void dr2D_HingeCoupling2()
{
  Double(true);
}

void dr2D_HingeCoupling2View()
{
  Double(false);
}

namespace {
const double Zero = 0.0, One = 1.0, Turned = 180.0;

// Every cut starts on a plane at the part's outside (half its size out along the normal) and goes back
// through the part.
void Cut(TModeler3D& m, double depth)
{
  m.drCutExtrusion(txapi::dtReverse, txapi::etBlind, depth, 0.0);
}

// A half-coupling part: the turned body closed along its bore, the jaws with their trunnion
// hole, the slot between them, the keyway. The fork's cuts are placed by row A whatever row
// draws the profile.
void HalfPart(TModeler3D& m, int n, const char* name, double d, const double* A, const double* profile, int T,
              bool reverse)
{
  const double D = A[5];
  MakeHalf(n, name, d, BoreType(T));
  m.drPlaneEskis(txapi::o3d_planeXOY, 0.0, 0.0, TString());
  dr2D_HingeSelgCoupling_V1(Zero, Zero, Zero, One, nullptr, profile, T, 0);
  m.drBaseRotate(0, 360.0);
  m.drPlaneEskis(txapi::o3d_planeXOY, D / 2, 0.0, TString());
  dr2D_HingeSelgCoupling_V2(Zero, Zero, Zero, One, nullptr, profile, T, 0);
  Cut(m, D);
  m.drPlaneEskis(txapi::o3d_planeXOZ, D / 2, 0.0, TString());
  dr2D_HingeSelgCoupling_V3(Zero, Zero, Zero, One, nullptr, profile, T, 0);
  Cut(m, D);
  dr3DKeySeating(d, reverse, Zero, 200.0);
  m.drSave3D(true, true);
}

// The cross piece's outline along the axis (l by b, chamfered corners) inside a square that
// the cut removes around it.
void CrossTrim(TModeler3D& m, txapi::txObj3dTypeEnum plane, const double* S)
{
  const double b = S[1], l = S[2], c = S[4];
  m.drPlaneEskis(plane, b / 2, 0.0, TString());
  TContDrawing p(&m);
  p.Make(-l / 2, 0,
         dFsk(-l / 2, b / 2, 0, b / 2, c,
              dFsk(l / 2, b / 2, l / 2, 0, c,
                   dFsk(l / 2, -b / 2, 0, -b / 2, c, dFsk(-l / 2, -b / 2, -l / 2, 0, c)))));
  p.dr2D(1);
  m.drRectAngle(-200.0, -200.0, 200.0, 200.0, 1);
  Cut(m, b);
}

// One of the cross piece's two holes, turned out of a half-section across the piece.
void CrossHole(TModeler3D& m, txapi::txObj3dTypeEnum plane, const double* S)
{
  const double b = S[1], d = S[3], fh = S[6], none = 0.0, y = -b / 2, up = 90.0, rim = fh + d / 2, r = d / 2;
  m.drPlaneEskis(plane, 0.0, 0.0, TString());
  THole3DParam hole(m);
  hole.cHole(16, none, y, up, none, none, none, none, rim, fh, b, r, fh, none, rim, none);
  m.drLine(0.0, 0.0, 0.0, 10.0, 3);
  m.drCutRotate(0, 360.0, nullptr);
}

void CrossPart(TModeler3D& m, const double* S)
{
  const double l = S[2];
  ControlModel.mkDetail3D(3, DC(TString("Крестовина")), ControlModel.P1d, true, true);
  m.drPlaneEskis(txapi::o3d_planeYOZ, -l / 2, 0.0, TString());
  dr2D_СrossPiece_V1(Zero, Zero, Zero, One, S, 0);
  m.drBaseExtrusion(txapi::dtNormal, txapi::etBlind, l, 0.0);
  CrossTrim(m, txapi::o3d_planeXOZ, S);
  CrossTrim(m, txapi::o3d_planeXOY, S);
  CrossHole(m, txapi::o3d_planeXOY, S);
  CrossHole(m, txapi::o3d_planeXOZ, S);
  m.drSave3D(true, true);
}

// The pin: turned across the axis, two flats in its middle, the cross hole through them.
void PinPart(TModeler3D& m, const double* A4)
{
  const double d = A4[1], d1 = A4[2], l = A4[3], l1 = A4[4], b = A4[5], c = A4[6];
  ControlModel.mkDetail3D(4, DC(TString("Палец")), ControlModel.P1d, true, true);
  m.drPlaneEskis(txapi::o3d_planeXOY, 0.0, 0.0, TString());
  {
    TContDrawing p(&m);
    p.Make(-l / 2, 0, dFsk(-l / 2, d / 2, 0, d / 2, c, dFsk(l / 2, d / 2, l / 2, 0, c, dP(-l / 2, 0))));
    TPlace across(m, Zero, Zero, 90.0, One, 1, 0.0, false);
    m.drLine(0.0, 0.0, 10.0, 0.0, 3);
    p.dr2D(1);
  }
  m.drBaseRotate(0, 360.0);
  m.drPlaneEskis(txapi::o3d_planeYOZ, d / 2, 0.0, TString());
  {
    TPlace across(m, Zero, Zero, 90.0, One, 1, 0.0, false);
    m.drRectAngle(-l1 / 2, b / 2, l1 / 2, d / 2, 1);
    m.drRectAngle(-l1 / 2, -b / 2, l1 / 2, -d / 2, 1);
  }
  Cut(m, d);
  m.drPlaneEskis(txapi::o3d_planeXOY, d / 2, 0.0, TString());
  m.drCircle(0.0, 0.0, d1 / 2, 1);
  Cut(m, d);
  m.drFastener3D();
  m.drSave3D(true, true);
}

// The bushing: a core across the axis with an end ring at each end.
void BushingPart(TModeler3D& m, const double* A5)
{
  const double d = A5[1], d1 = A5[2], l = A5[3], c = A5[5], lp = A5[6], ring = (d + d1) / 4;
  ControlModel.mkDetail3D(5, DC(TString("Втулка")), ControlModel.P1d, true, true);
  m.drPlaneEskis(txapi::o3d_planeXOZ, 0.0, 0.0, TString());
  TContDrawing p(&m);
  p.Make(0, d / 2,
         dFsk(-l / 2, d / 2, -l / 2, ring, c,
              dFsk(-l / 2, d1 / 2, 0, d1 / 2, c,
                   dFsk(l / 2, d1 / 2, l / 2, ring, c, dFsk(l / 2, d / 2, 0, d / 2, c)))));
  {
    TPlace across(m, Zero, Zero, 90.0, One, 1, 0.0, false);
    // The core fills the rings' bores, so that core and rings are one piece.
    m.drRectAngle(-lp / 2, 0.0, lp / 2, d1 / 2, 1);
    m.drLine(0.0, 0.0, 10.0, 0.0, 3);
    for (double x : {lp / 2 - l / 2, l / 2 - lp / 2}) {
      TPlace end(m, x, Zero, Zero, One, 1, 0.0, false);
      p.dr2D(1);
    }
  }
  m.drBaseRotate(0, 360.0);
  // It takes a pin's place across the other fork, through the pin's cross hole.
  m.drFastener3D();
  m.drSave3D(true, true);
}

// The middle piece: a tube between the joint centres at 0 and main[3], a fork at each end.
void ForkPart(TModeler3D& m, const double* Main, const double* A)
{
  const double D = A[5], e = Main[3];
  ControlModel.mkDetail3D(2, DC(TString("Вилка")), ControlModel.P1d, true, true);
  m.drPlaneEskis(txapi::o3d_planeXOY, 0.0, 0.0, TString());
  dr2D_HingeFork_V1(Zero, Zero, Zero, One, Main, A, 0);
  m.drBaseRotate(0, 360.0);
  m.drPlaneEskis(txapi::o3d_planeXOY, D / 2, 0.0, TString());
  dr2D_HingeSelgCoupling_V2(Zero, Zero, Zero, One, nullptr, A, ControlModel.T2, 0);
  dr2D_HingeSelgCoupling_V2(e, Zero, Turned, One, nullptr, A, ControlModel.T1, 0);
  Cut(m, D);
  m.drPlaneEskis(txapi::o3d_planeXOZ, D / 2, 0.0, TString());
  dr2D_HingeSelgCoupling_V3(Zero, Zero, Zero, One, nullptr, A, ControlModel.T2, 0);
  dr2D_HingeSelgCoupling_V3(e, Zero, Turned, One, nullptr, A, ControlModel.T1, 0);
  Cut(m, D);
  m.drSave3D(true, true);
}

// The six parts both rows draw on; the rows known usable.
void CommonParts(const THingeRows& r)
{
  TModeler3D& m = *r.m;
  HalfPart(m, 6, "Полумуфта", ControlModel.P1d, r.A, r.A, ControlModel.T1, true);
  HalfPart(m, 1, "Полумуфта2", ControlModel.P2d, r.A, r.Ad2, ControlModel.T2, false);
  ForkPart(m, r.Main, r.A);
  CrossPart(m, r.S);
  PinPart(m, r.A4);
  BushingPart(m, r.A5);
}

void Insert(TModeler3D& m, double x, int n)
{
  m.AddDetail(x, Zero, Zero, ControlModel.Detail3D(n), false, false);
}
} // namespace

void dr3D_HingeCouplingCommon()
{
  THingeRows r;
  if (HingeRows(r, true)) CommonParts(r);
}

void dr3D_HingeCoupling()
{
  THingeRows r;
  if (!HingeRows(r, true)) return;
  dr3D_HingeCouplingCommon();
  TModeler3D& m = *r.m;
  const double x0 = r.Main[3] / 2;
  ControlModel.mkAssembly3D(ControlModel.P1d, ControlModel.T1, ControlModel.P2d, ControlModel.T2, true);
  Insert(m, x0, 1);
  // End for end and a quarter turn: its fork stands across part 1's.
  m.AddDetailAxle(x0, Zero, Zero, ControlModel.Detail3D(6), -1.0, 0.0, 0.0, 0.0, 0.0, 1.0, true);
  for (int n : {3, 4, 5})
    Insert(m, x0, n);
  m.drSave3D(true, true);
}

void dr3D_HingeCoupling2()
{
  THingeRows r;
  if (!HingeRows(r, true)) return;
  dr3D_HingeCouplingCommon();
  TModeler3D& m = *r.m;
  const double xp = r.Main[3] / 2, xm = -xp;
  ControlModel.mkAssembly3D(ControlModel.P1d, ControlModel.T1, ControlModel.P2d, ControlModel.T2, true);
  Insert(m, xp, 1);
  m.AddDetailAxle(xm, Zero, Zero, ControlModel.Detail3D(6), -1.0, 0.0, 0.0, 0.0, -1.0, 0.0, true);
  // The middle piece's joint centres then lie at xm and xp.
  m.AddDetailAxle(xm, Zero, Zero, ControlModel.Detail3D(2), 1.0, 0.0, 0.0, 0.0, 0.0, 1.0, true);
  for (int n : {3, 4, 5}) {
    Insert(m, xm, n);
    Insert(m, xp, n);
  }
  m.drSave3D(true, true);
}
