// The flanged coupling: two half-couplings with flanges bolted face to face, each bolt with its
// washer and nut; the row's 2D section, 2D view and 3D model.
#include <cmath>

#include "Duvozadu/ControlModel.h"
#include "Duvozadu/CplgDetails.h"
#include "Duvozadu/CplgGlobal.h"
#include "Duvozadu/CplgShared.h"
#include "hxcadkit/drawing/Cuthole.h"
#include "hxcadkit/drawing/MathDetails.h"
#include "hxcadkit/drawing/drNodeCont.h"

namespace {
constexpr int FlangeColumns = 21, FlangeBoltColumns = 6;
// Bolt sets are drawn rotated half a turn: the shank runs from the head at half 1's flange
// towards half 2.
constexpr double BoltAngle = 180.0;

// The hub of a bore type: its length and how much a conical bore narrows towards the joint.
struct THub
{
  double Lh, du;
};
THub Hub(const double* A, int T)
{
  T = BoreType(T);
  THub h{(T & 1) ? A[20] : A[15], 0.0};
  // The bore runs from the recess's floor to the chamfer at the hub's end.
  if (T & 2) h.du = ConeDrop(h.Lh - A[3] - A[17]);
  return h;
}

// The rows of a build: both halves from one torque group (the model takes its torque), the bolt
// row of half 1's bolt (null when not usable: no fasteners then). False without both halves.
struct TRows
{
  TModeler3D* m;
  const double *R1, *R2, *B;
};
bool Rows(TRows& r)
{
  r.m = CouplingModeler();
  const TGroupRows g = GroupRows(ATable[0], ControlModel.M, ControlModel.P1d, ControlModel.P2d);
  r.R1 = g.R1;
  r.R2 = g.R2;
  if (!r.m || !Usable(r.R1, FlangeColumns) || !Usable(r.R2, FlangeColumns)) return false;
  ControlModel.M = g.Torque;
  const TTable* bolts = ATable[1];
  r.B = bolts ? bolts->GetParam(0, r.R1[19]) : nullptr;
  if (!Usable(r.B, FlangeBoltColumns)) r.B = nullptr;
  return true;
}

// One bolt with its washer and nut at height y: the head behind half 1's flange, washer and nut
// behind half 2's; w is the washer's bore. The section and the view show the same bolt, the view
// its shank hidden where it passes through the flanges, and none of it inside the washer and the nut.
// With front, the set's outlines go in front of the parts drawn next instead.
void BoltSet(TModeler3D& m, const double* A, const double* B, double y, double w, bool view,
             TFrontRegions* front = nullptr)
{
  TCommonGeometry g(0, &m);
  const double d = A[19], b = A[16], one = 1.0, a = BoltAngle;
  const TFastenerSet s = FlangedBolt(B, d);
  const double e = s.AcrossFlats, k = s.Height, t = s.WasherThickness;
  const TBoltFit fit = BoltFit(2 * b, t, k, d, 2 * b + d / 2 + 4.0, 20.0);
  if (front) {
    FrontBolt(*front, b, y, a, d, fit.L, e, k);
    FrontNut(*front, -b - t, y, a, e, k);
    FrontWasher(*front, -b, y, a, s.Washer, t);
    return;
  }
  if (view) {
    BoltInView(m, b, y, a, d, fit.L, e, k, 0.0, 2 * b, 2 * b + t + k);
  } else {
    // The nut and the washer, unsectioned, hide the thread they sit on.
    TFrontRegions held(m);
    FrontNut(held, -b - t, y, a, e, k);
    FrontWasher(held, -b, y, a, s.Washer, t);
    g.dr2D_Screw_V1(b, y, a, one, d, fit.L, fit.LM, e, k, 31, false);
  }
  g.dr2D_Nut_V2(-b - t, y, a, one, d, e, k, 31, false);
  WasherInSide(m, -b, y, a, one, w, s.Washer, t, 31);
}

// A bolt below the axis where the model has one opposite the first, and above it where the model has one.
bool BoltBelow(const double* A)
{
  return OneOpposite(A[6], A[6]);
}
bool BoltAbove(const double* A)
{
  return A[6] > 0.0;
}

void Half3D(TModeler3D& m, int n, const char* word, double d, const double* A, int T, bool reverse)
{
  const double zero = 0.0, one = 1.0;
  MakeHalf(n, word, d, BoreType(T));
  m.drPlaneEskis(txapi::o3d_planeXOY, 0.0, 0.0, TString());
  dr2D_CouplingFlanec_V1(zero, zero, zero, one, A, T, 0);
  m.drBaseRotate(0, 360.0);
  // No bolts, no holes: an empty sketch is not cut. The bolts stand 360 / n degrees apart from -z towards
  // +y, which the sketch (its first direction -z) sees from 0 degrees on, and half 1, inserted turned over,
  // the other way round; a whole count's bolts are the same either way round, and keep their holes.
  if (BoltAbove(A)) {
    m.drPlaneEskis(txapi::o3d_planeYOZ, 0.0, 0.0, TString());
    HoleCircle(m, {A[6], A[6], 0.0, reverse ? -1.0 : 1.0, false, 0.0, true}, A[8], A[19] / 2);
    m.drCutExtrusion(txapi::dtNormal, txapi::etBlind, A[16], 0.0);
  }
  dr3DKeySeating(d, reverse, zero, 200.0);
  m.drSave3D(true, true);
}
} // namespace

void dr2D_CouplingFlanec_V1(const double& mx, const double& my, const double& ma, const double& mm,
                            const double* A, int T, int tl, bool)
{
  TModeler3D* m = CouplingModeler();
  if (!m || !Usable(A, FlangeColumns)) return;
  const THub h = Hub(A, T);
  const double Lh = h.Lh, c = A[3], r = A[1] / 2, D7 = A[7] / 2, D9 = A[9] / 2, D10 = A[10] / 2;
  TContDrawing p(m);
  p.Make(
      0, D10,
      dPx(0, D10,
          dP(A[17], D10,
             dPx(A[17], r - h.du,
                 dPx(Lh - c, r,
                     dPx(Lh, r + c,
                         dFsk(Lh, D9, Lh - c, D9, c,
                              dCLL(A[16], D9, A[16], D7 - c, A[18],
                                   dFsk(A[16], D7, A[16] / 2, D7, c, dFsk(0, D7, 0, D10, c, nullptr))))))))));
  TPiece piece(*m, mx, my, ma, mm, 0.0);
  // The bolts' holes, where the section shows bolts: the hatch stops at them,
  // the flange's faces broken there. A half turned over has the sheet's upper bolt below its own axis.
  const double up = std::cos(ma * M_PI / 180.0) < 0.0 ? -1.0 : 1.0, zero = 0.0, R = A[8] / 2, rb = A[19] / 2;
  auto holes = [&](TModeler3D& on) {
    THole3DParam hole(on);
    for (double y : {up * R, -up * R})
      if (y == up * R ? BoltAbove(A) : BoltBelow(A))
        hole.cHole(48, zero, y, zero, zero, zero, zero, zero, zero, zero, A[16], rb, zero, zero, zero, zero);
  };
  // Half 1 (at 0 degrees) and half 2 (at -180) are hatched in opposite directions.
  p.drContBlock(tl);
  if (tl % 10 != 0) {
    m->drHatch(0, ma / 2 + 45.0, 2.0);
    p.drContBlockWithHoles(tl - tl % 10, holes);
    m->drEndObj();
  }
  if (tl % 10 != 0) dr2D_Shponka(A[1], h.du, A[17], Lh, ma == 0);
  m->drLine(-3.0, 0.0, Lh + 3.0, 0.0, 3);
}

void dr2D_CouplingFlanec_V2(const double& mx, const double& my, const double& ma, const double& mm,
                            const double* A, int T, int tl, bool)
{
  TModeler3D* m = CouplingModeler();
  if (!m || !Usable(A, FlangeColumns)) return;
  // The fillet into the flange and the chamfer at the hub's end are the section's, which the model
  // revolves.
  const double Lh = Hub(A, T).Lh, c = A[3], c5 = A[3], D7 = A[7] / 2, D9 = A[9] / 2;
  TContDrawing p(m);
  p.Make(0, 0,
         dP(0, D7 - c,
            dPx(c, D7,
                dPx(A[16] - c, D7,
                    dPx(A[16], D7 - c,
                        dCLL(A[16], D9, Lh - c5, D9, A[18],
                             dPx(Lh - c5, D9, dP(Lh, D9 - c5, dP(Lh, 0, dPt0(0, 0, nullptr))))))))));
  TPiece piece(*m, mx, my, ma, mm, 0.0);
  p.drContBlock(tl);
  m->drLine(-3.0, 0.0, Lh + 3.0, 0.0, 3);
}

void dr2D_CouplingFlanec()
{
  TRows r;
  if (!Rows(r)) return;
  const double zero = 0.0, one = 1.0, turned = -180.0, R = r.R1[8] / 2, w = r.R1[19] + 1.0;
  {
    // The bolts in the plane hide the joint and the faces behind them.
    TFrontRegions front(*r.m);
    for (const double y : {R, -R})
      if (r.B && (y > 0 ? BoltAbove(r.R1) : BoltBelow(r.R1))) BoltSet(*r.m, r.R1, r.B, y, w, false, &front);
    dr2D_CouplingFlanec_V1(zero, zero, zero, one, r.R1, ControlModel.T1, 31);
    dr2D_CouplingFlanec_V1(zero, zero, turned, one, r.R2, ControlModel.T2, 31);
  }
  if (!r.B) return;
  if (BoltAbove(r.R1)) BoltSet(*r.m, r.R1, r.B, R, w, false);
  if (BoltBelow(r.R1)) BoltSet(*r.m, r.R1, r.B, -R, w, false);
}

void dr2D_CouplingFlanecView()
{
  TRows r;
  if (!Rows(r)) return;
  const double zero = 0.0, one = 1.0, turned = -180.0, R = r.R1[8] / 2;
  if (r.B) {
    if (BoltAbove(r.R1)) BoltSet(*r.m, r.R1, r.B, R, r.R1[11], true);
    if (BoltBelow(r.R1)) BoltSet(*r.m, r.R1, r.B, -R, r.R1[19] + 1.0, true);
  }
  dr2D_CouplingFlanec_V2(zero, zero, zero, one, r.R1, ControlModel.T1, 31);
  dr2D_CouplingFlanec_V2(zero, zero, turned, one, r.R2, ControlModel.T2, 31);
}

void dr3D_CouplingFlanec()
{
  TRows r;
  if (!Rows(r)) return;
  TModeler3D& m = *r.m;
  const double *A = r.R1, *B = r.B;
  Half3D(m, 1, "Полумуфта", ControlModel.P1d, A, ControlModel.T1, true);
  Half3D(m, 2, "Полумуфта2", ControlModel.P2d, r.R2, ControlModel.T2, false);
  const double d = A[19], b = A[16];
  if (B) {
    TCommonGeometry g(0, &m);
    const TFastenerSet s = FlangedBolt(B, d);
    const TBoltFit fit = BoltFit(2 * b, s.WasherThickness, s.Height, d, 2 * b + d / 2 + 7.0, 20.0);
    g.dr3D_Screw(d, fit.L, fit.LM, s.AcrossFlats, s.Height, ControlModel.mfDetail3D(3));
    g.dr3D_Nut(d, s.AcrossFlats, s.Height, ControlModel.mfDetail3D(4));
    g.dr3D_Washer(s.WasherBore, s.Washer, s.WasherThickness, ControlModel.mfDetail3D(5), true);
  }
  ControlModel.mkAssembly3D(ControlModel.P1d, ControlModel.T1, ControlModel.P2d, ControlModel.T2, true);
  const double zero = 0.0;
  m.AddDetail(zero, zero, zero, ControlModel.Detail3D(2), false, false);
  // Half 1 turned half a revolution about Z, face to face with half 2.
  m.AddDetailAxle(zero, zero, zero, ControlModel.Detail3D(1), -1.0, 0.0, 0.0, 0.0, -1.0, 0.0, true);
  for (int i = 0; B && i < A[6] && i < 360; ++i) {
    const double a = (360.0 * i / A[6] - 90.0) * M_PI / 180.0, R = A[8] / 2;
    const double y = R * std::cos(a), z = R * std::sin(a);
    m.AddDetail(-b, y, z, ControlModel.Detail3D(3), false, false);
    m.AddDetail(b + B[4], y, z, ControlModel.Detail3D(4), false, false);
    m.AddDetail(b, y, z, ControlModel.Detail3D(5), false, false);
  }
  m.drSave3D(true, true);
}

TFastenerSet FlangedBolt(const double* B, double d)
{
  return {d + 1.0, B[5], B[4], B[3], B[2]};
}
