// The elastic coupling with a toroidal rubber shell: the flanged half-couplings, the shell, the
// half-rings and rings that clamp its feet, and the coupling's 2D section, 2D view and 3D model.
#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "Duvozadu/ControlModel.h"
#include "Duvozadu/CplgDetails.h"
#include "Duvozadu/CplgGlobal.h"
#include "Duvozadu/CplgShared.h"
#include "hxcadkit/drawing/MathDetails.h"
#include "hxcadkit/drawing/drNodeCont.h"

namespace {
constexpr int TorusColumns = 23;

// The sizes of one row that several pieces share.
struct TTorus
{
  explicit TTorus(const double* A)
      : d(A[1] / 2), apex(A[2] / 2), n(A[4]), d5(A[5] / 2), b(A[6]), B(A[7] / 2), D1(A[8] / 2), D2(A[9] / 2),
        b3(A[10]), h(A[13]), d1(A[14] / 2), b2(A[16]), b0(A[17]), f(A[18]), x0(B + f),
        Rmin(((D1 - 5) - 2) - 5), hs(apex - D1), xl(((b3 + b2) - b2) + (B - b0))
  {
  }
  double d, apex, n, d5, b, B, D1, D2, b3, h, d1, b2, b0, f, x0, Rmin;
  double hs; // rise of the shell's outer surface above its feet
  double xl; // outer face of the ring
  // A shell needs a rise above its feet higher than its wall, and a wall.
  bool ShellMade() const
  {
    return hs > 0.0 && b0 > 0.0 && hs > b0 && std::isfinite(RO()) && std::isfinite(RI());
  }
  double RO() const { return (B * B / hs + hs) / 2; }
  double RI() const { return ((B - b0) * (B - b0) / (hs - b0) + (hs - b0)) / 2; }
};

// The hub's length for the bore type, and how much the conical bore narrows over it.
// The sides of the axis where a section shows the bolts' holes, for a program of a piece's upper half
// turned by ma (degrees): as the drawing code's tens digit, 1 as built, 2 mirrored, 3 both. Above the axis
// on the sheet, and below it where the model has a bolt opposite the one above; 0 without bolts.
int HoleSides(const TTorus& g, double ma)
{
  if (!(g.n > 0.0)) return 0;
  if (OneOpposite(g.n, g.n)) return 30;
  return std::cos(ma * M_PI / 180.0) < 0.0 ? 20 : 10;
}

struct TTorusHub
{
  // The bore runs between the chamfers at the hub's two ends.
  TTorusHub(const double* A, int T)
      : l(A[19 + BoreType(T)]), du((BoreType(T) & 2) ? ConeDrop(l - 2 * A[18]) : 0.0)
  {
  }
  double l, du;
};

// The part of a bolt's hole from x = edge to the shoulder where a flange's face meets the shell's
// foot (the face at B above D1 - 3f, at B + f below D1 - 3f - 2, a chamfer between), from height lo
// to hi, as a closed program; mirrored across the middle plane for s < 0. Both the flange's and the
// foot's hatch stop there.
void ShoulderBand(TContDrawing& c, const TTorus& g, double edge, double lo, double hi, double s)
{
  const double B = g.B, f = g.f, y1 = g.D1 - 3 * f - 2, y2 = g.D1 - 3 * f;
  auto shoulder = [&](double y) { return y <= y1 ? B + f : y >= y2 ? B : B + f * (y2 - y) / (y2 - y1); };
  std::vector<std::pair<double, double>> p{{edge, lo}, {shoulder(lo), lo}};
  for (const double y : {y1, y2})
    if (y > lo && y < hi) p.push_back({shoulder(y), y});
  p.insert(p.end(), {{shoulder(hi), hi}, {edge, hi}});
  TNode* next = dP(s * edge, lo);
  for (auto it = p.rbegin(); it + 1 != p.rend(); ++it)
    next = dP(s * it->first, it->second, next);
  c.Make(s * edge, lo, next);
}

bool TorusDrawable(const double* A)
{
  return Usable(A, TorusColumns);
}

// A bolt with its washer on each flange's outer face, its shank towards the middle plane, above
// and below the axis.
// With front, their outlines go in front of the parts drawn next instead.
void Bolts2D(TModeler3D& m, const double* A, const double* A3, bool view, TFrontRegions* front = nullptr)
{
  if (!A3) return;
  const TTorus g(A);
  TCommonGeometry e(0, &m);
  const double one = 1.0, two = 2.0, xw = g.B + g.b, xb = xw + 2.0;
  const double L = g.b + g.b2 + g.b3 + 3.0, LM = g.b2 + g.b3;
  // Each bolt: its side (1 on the right, -1 on the left), its height, and the turns of its washer and bolt.
  const int sides = HoleSides(g, 0.0);
  auto each = [&](auto draw) {
    for (double s : {1.0, -1.0})
      for (double y : {g.D2, -g.D2})
        if (y > 0.0 ? sides != 0 : sides == 30) draw(s, y, s > 0 ? 0.0 : 180.0, s > 0 ? 180.0 : 0.0);
  };
  if (front) {
    each([&](double s, double y, double washerAngle, double boltAngle) {
      FrontWasher(*front, s * xw, y, washerAngle, A3[3], two);
      FrontBolt(*front, s * xb, y, boltAngle, A[5], L, A3[3], A3[2]);
    });
    return;
  }
  each([&](double s, double y, double washerAngle, double boltAngle) {
    WasherInSide(m, s * xw, y, washerAngle, one, A[5], A3[3], two, 31);
    // A view sees the head: the shank is inside the flange and the half-ring.
    if (view) BoltInView(m, s * xb, y, boltAngle, A[5], L, A3[3], A3[2], two, L, L);
  });
  if (view) return;
  // The washers, unsectioned, hide the shanks under the heads.
  TFrontRegions held(m);
  each([&](double s, double y, double washerAngle, double) {
    FrontWasher(held, s * xw, y, washerAngle, A3[3], two);
  });
  each([&](double s, double y, double, double boltAngle) {
    e.dr2D_Screw_V1(s * xb, y, boltAngle, one, A[5], L, LM, A3[3], A3[2], 31, false);
  });
}
} // namespace

void dr2D_ToroidalSelfCoupling(const double& mx, const double& my, const double& ma, const double& mm,
                               const double* A, int T, int tl, bool)
{
  TModeler3D* m = CouplingModeler();
  if (!m || !Usable(A, TorusColumns)) return;
  const TTorus g(A);
  const TTorusHub hub(A, T);
  const double B = g.B, b = g.b, f = g.f, D1 = g.D1, d = g.d, l = hub.l;
  TContDrawing c(m);
  c.Make(B, D1,
         dPx(B, D1 - 3 * f,
             dP(B + f, D1 - 3 * f - 2,
                dPx(B + f, d - hub.du,
                    dPx(B + l - f, d,
                        dPx(B + l, d + f,
                            dP(B + l, g.d1 - f,
                               dP(B + l - f, g.d1,
                                  dCLL(B + b, g.d1, B + b, D1 - f, f, dP(B + b - f, D1, dP(B, D1)))))))))));
  TPiece p(*m, mx, my, ma, mm, 0.0);
  c.drContBlock(tl);
  m->drLine(-3.0, 0.0, B + l + 3.0, 0.0, 3);
  if (tl % 10 == 0) return;
  const double x = B + b, r = g.d5;
  // The two halves hatched in opposite directions, each unlike the ring it touches. The hatch stops
  // at the bolt's hole right up to the face, the foot's shoulder included.
  TContDrawing band(m);
  ShoulderBand(band, g, x, g.D2 - r, std::min(g.D2 + r, D1), 1.0);
  const int sides = HoleSides(g, ma);
  m->drHatch(0, ma / 2 + 45.0, 2.0);
  c.drContBlockWithHoles(30, {{sides != 0 ? &band : nullptr, sides}});
  m->drEndObj();
  // The hole at each of the section's bolts, as the hatch leaves it: through the flange up to its face,
  // where the face steps back above the foot's shoulder too.
  if (sides != 0) band.drContBlock(sides + 1);
  dr2D_Shponka(A[1], hub.du, g.x0, B + l, ma == 0.0);
}

namespace {
// A half-coupling in view with the hub of its own bore type, as its section has it.
void HalfView(const double& mx, const double& my, const double& ma, const double& mm, const double* A, int T,
              int tl)
{
  TModeler3D* m = CouplingModeler();
  if (!m || !Usable(A, TorusColumns)) return;
  const TTorus g(A);
  const TTorusHub hub(A, T);
  const double B = g.B, b = g.b, f = g.f, D1 = g.D1, l = hub.l;
  TContDrawing c(m);
  c.Make(
      B + l, 0,
      dP(B + l, g.d1 - f,
         dP(B + l - f, g.d1,
            dCLL(B + b, g.d1, B + b, D1 - f, f, dPx(B + b - f, D1, dP(B, D1, dP(B, 0, dPt0(B + l, 0))))))));
  TPiece p(*m, mx, my, ma, mm, 0.0);
  c.drContBlock(tl);
  m->drLine(-3.0, 0.0, B + l + 3.0, 0.0, 3);
}
} // namespace

void dr2D_ToroidalSelgCoupling_V2(const double& mx, const double& my, const double& ma, const double& mm,
                                  const double* A, int tl, bool)
{
  HalfView(mx, my, ma, mm, A, ControlModel.T1, tl);
}

void dr2D_ToroidalRubber_V1(const double& mx, const double& my, const double& ma, const double& mm,
                            const double* A, int tl, bool)
{
  TModeler3D* m = CouplingModeler();
  if (!m || !Usable(A, TorusColumns)) return;
  const TTorus g(A);
  if (!g.ShellMade()) return;
  const double B = g.B, f = g.f, D1 = g.D1, Rmin = g.Rmin, bi = B - g.b0, RO = g.RO(), RI = g.RI();
  TContDrawing c(m);
  c.Make(
      B, D1,
      dP(B, D1 - 3 * f,
         dP(B + f, D1 - 3 * f - 2,
            dPx(B + f, Rmin,
                dPx(bi, Rmin,
                    dP(bi, D1,
                       dA(0, g.apex - g.b0 - RI, RI, -bi, D1,
                          dPx(-bi, Rmin,
                              dPx(-(B + f), Rmin,
                                  dP(-(B + f), D1 - 3 * f - 2,
                                     dP(-B, D1 - 3 * f, dP(-B, D1, dA(0, g.apex - RO, -RO, B, D1)))))))))))));
  TPiece p(*m, mx, my, ma, mm, 0.0);
  c.drContBlock(tl);
  m->drLine(-3.0, 0.0, B + 3.0, 0.0, 3);
  if (tl % 10 == 0) return;
  // Rubber, finer than the metal parts it touches. The bolts pass through both feet (the model
  // drills them there): the hatch stops at their holes, the band of the bolt circle within each
  // foot, whose outer side follows the foot's shoulder.
  const double lo = std::max(g.D2 - g.d5, Rmin), hi = std::min(g.D2 + g.d5, D1);
  TContDrawing right(m), left(m);
  TContDrawing* const holes[2] = {&right, &left};
  ShoulderBand(right, g, bi, lo, hi, 1.0);
  ShoulderBand(left, g, bi, lo, hi, -1.0);
  m->drHatch(1, 45.0, 1.0);
  if (hi > lo && bi < B && HoleSides(g, ma) != 0)
    c.drContBlockWithHoles(30, {{holes[0], HoleSides(g, ma)}, {holes[1], HoleSides(g, ma)}});
  else
    c.drContBlock(30);
  m->drEndObj();
}

void dr2D_ToroidalRubber_V2(const double& mx, const double& my, const double& ma, const double& mm,
                            const double* A, int tl, bool)
{
  TModeler3D* m = CouplingModeler();
  if (!m || !Usable(A, TorusColumns)) return;
  const TTorus g(A);
  if (!(g.B > 0.0) || !g.ShellMade()) return;
  // Between the flanges the shell shows its outer surface, the arc of its section.
  const double B = g.B, D1 = g.D1, RO = g.RO();
  TContDrawing c(m);
  c.Make(-B, 0, dP(-B, D1, dA(0, g.apex - RO, -RO, B, D1, dP(B, 0, dPt0(-B, 0)))));
  TPiece p(*m, mx, my, ma, mm, 0.0);
  c.drContBlock(tl);
  m->drLine(-(B + 3.0), 0.0, B + 3.0, 0.0, 3);
}

void dr2D_ToroidalSelfCircle(const double& mx, const double& my, const double& ma, const double& mm,
                             const double* A, int tl, bool)
{
  TModeler3D* m = CouplingModeler();
  if (!m || !Usable(A, TorusColumns)) return;
  const TTorus g(A);
  const double bi = g.B - g.b0, plate = bi - g.b2, collar = g.D2 - 2 * g.d5;
  TContDrawing nc(m);
  nc.Make(
      g.xl, g.Rmin,
      dP(bi, g.Rmin,
         dP(bi, g.D1,
            dP(plate, g.D1,
               dP(plate, g.d,
                  dPnm(plate, g.h / 2, dP(bi, g.d, dP(bi, collar, dP(g.xl, collar, dP(g.xl, g.Rmin))))))))));
  TPiece p(*m, mx, my, ma, mm, 0.0);
  nc.drContBlock(tl);
  m->drLine(-3.0, 0.0, g.B + 3.0, 0.0, 3);
  const int r = tl % 10;
  if (r == 0) return;
  // The bolts pass through the plate and the collar, whose top they may reach above: the hatch
  // stops at their holes, cut as far as the half-ring goes. A hole above the collar's top passes
  // through the plate alone.
  const double lo = g.D2 - g.d5, hi = g.D2 + g.d5, top = std::min(hi, g.Rmin);
  TContDrawing above(m), below(m);
  for (TContDrawing* h : {&above, &below}) {
    const double s = h == &above ? 1.0 : -1.0;
    TNode* back = dP(plate, s * hi, dP(plate, s * lo));
    if (top <= lo)
      back = dP(bi, s * lo, dP(bi, s * hi, back));
    else {
      if (hi > top) back = dP(bi, s * top, dP(bi, s * hi, back));
      back = dP(g.xl, s * lo, dP(g.xl, s * top, back));
    }
    h->Make(plate, s * lo, back);
  }
  m->drHatch(0, ma / 2 - 45.0, 2.0);
  const int sides = HoleSides(g, ma);
  const bool holes = hi > lo && g.D2 - g.d5 > g.d && sides != 0;
  nc.drContBlockWithHoles(
      tl - r, {{holes && sides != 20 ? &above : nullptr, 11}, {holes && sides != 10 ? &below : nullptr, 11}});
  // The plate is one piece from the bore to the shell's rim: no line across it where the hub would end.
  m->drEndObj();
}

void dr2D_ToroidalCircle(const double& mx, const double& my, const double& ma, const double& mm,
                         const double* A, int tl, bool)
{
  TModeler3D* m = CouplingModeler();
  if (!m || !Usable(A, TorusColumns)) return;
  const TTorus g(A);
  const double bi = g.B - g.b0, collar = g.D2 - 2 * g.d5;
  TContDrawing c(m);
  c.Make(bi, collar, dP(g.xl, collar, dPx(g.xl, g.d, dPx(bi, g.d, dP(bi, collar)))));
  TPiece p(*m, mx, my, ma, mm, 0.0);
  c.drContBlock(tl);
  m->drLine(-3.0, 0.0, g.B + 3.0, 0.0, 3);
  const int r = tl % 10;
  if (r == 0) return;
  // Finer than the half-coupling and the half-ring it touches.
  m->drHatch(0, ma / 2 + 45.0, 1.0);
  c.drContBlock(tl - r);
  m->drEndObj();
}

void dr2D_ToroidalRubber()
{
  TBoltedRows r;
  if (!BoltedRows(r, TorusColumns, 5, TorusDrawable)) return;
  const double zero = 0.0, half = 180.0, one = 1.0;
  {
    // The bolts in the plane hide the flanges', the shell's and the rings' lines behind them.
    TFrontRegions front(*r.m);
    Bolts2D(*r.m, r.R1, r.K, false, &front);
    dr2D_ToroidalSelfCoupling(zero, zero, zero, one, r.R2, BoreType(ControlModel.T2), 31, false);
    dr2D_ToroidalSelfCoupling(zero, zero, half, one, r.R1, BoreType(ControlModel.T1), 31, false);
    dr2D_ToroidalRubber_V1(zero, zero, zero, one, r.R1, 31, false);
    dr2D_ToroidalSelfCircle(zero, zero, zero, one, r.R2, 31, false);
    dr2D_ToroidalSelfCircle(zero, zero, half, one, r.R1, 31, false);
    dr2D_ToroidalCircle(zero, zero, zero, one, r.R2, 31, false);
    dr2D_ToroidalCircle(zero, zero, half, one, r.R1, 31, false);
  }
  Bolts2D(*r.m, r.R1, r.K, false);
}

void dr2D_ToroidalRubberView()
{
  TBoltedRows r;
  if (!BoltedRows(r, TorusColumns, 5, TorusDrawable)) return;
  const double zero = 0.0, half = 180.0, one = 1.0;
  Bolts2D(*r.m, r.R1, r.K, true);
  // Each half as its section draws it: its own row and bore type.
  HalfView(zero, zero, zero, one, r.R2, BoreType(ControlModel.T2), 31);
  HalfView(zero, zero, half, one, r.R1, BoreType(ControlModel.T1), 31);
  dr2D_ToroidalRubber_V2(zero, zero, zero, one, r.R1, 31, false);
}

namespace {
using TPieceDraw = void (*)(const double&, const double&, const double&, const double&, const double*, int,
                            bool);

// n holes of radius d5 on the bolt circle, in a sketch across the axis at the flange's face, cut
// away from it or through the whole piece. The bolts stand 360 / n degrees apart from +z towards -y, which
// the sketch (its first direction -z) sees from 180 degrees on, and a piece inserted turned over (turned)
// the other way round; one inserted both ways (both) takes the holes of either.
void BoltHoles(TModeler3D& m, const TTorus& g, txapi::txDirectionTypeEnum towards, bool turned,
               bool both = false)
{
  if (!(g.n > 0.0)) return;
  m.drPlaneEskis(txapi::o3d_planeYOZ, g.B, 0.0, TString());
  HoleCircle(m, {g.n, g.n, 180.0, turned ? -1.0 : 1.0, both, 0.0}, 2 * g.D2, g.d5);
  m.drCutExtrusion(towards, txapi::etBlind, 500.0, 0.0);
}

void TorusHalfPart(TModeler3D& m, int n, const char* word, double d, const double* A, const double* A1, int T,
                   bool reverse)
{
  const double zero = 0.0, one = 1.0;
  MakeHalf(n, word, d, BoreType(T));
  m.drPlaneEskis(txapi::o3d_planeXOY, 0.0, 0.0, TString());
  dr2D_ToroidalSelfCoupling(zero, zero, zero, one, A, BoreType(T), 0, false);
  m.drBaseRotate(0, 360.0);
  BoltHoles(m, TTorus(A1), txapi::dtNormal, reverse);
  dr3DKeySeating(d, reverse, zero, 200.0);
  m.drSave3D(true, true);
}

// A piece of its profile revolved; a piece without a profile stays an empty part, so that the
// assembly never takes an older build's file for it.
void PiecePart(TModeler3D& m, int n, const char* word, TPieceDraw draw, const double* A, bool made = true,
               double d = ControlModel.P1d)
{
  const double zero = 0.0, one = 1.0;
  MakeHalf(n, word, d, -1);
  if (!made) return;
  m.drPlaneEskis(txapi::o3d_planeXOY, 0.0, 0.0, TString());
  draw(zero, zero, zero, one, A, 0, false);
  m.drBaseRotate(0, 360.0);
}

void AddTurned(TModeler3D& m, double x, double y, double z, int n)
{
  m.AddDetailAxle(x, y, z, ControlModel.Detail3D(n), -1.0, 0.0, 0.0, 0.0, -1.0, 0.0, true);
}
} // namespace

TFastenerSet TorusBolt(const double* A, const double* K)
{
  return {A[5], K[3] + 1.0, 2.0, K[3], K[2]};
}

void dr3D_ToroidalRubber()
{
  TBoltedRows r;
  if (!BoltedRows(r, TorusColumns, 5, TorusDrawable)) return;
  TModeler3D& m = *r.m;
  const double* A = r.R1;
  const TTorus g(A);
  const double zero = 0.0;
  TorusHalfPart(m, 1, "Полумуфта", ControlModel.P1d, A, A, ControlModel.T1, true);
  // The bolts are the first half's: its holes go through the second half's flange too.
  TorusHalfPart(m, 7, "Полумуфта2", ControlModel.P2d, r.R2, A, ControlModel.T2, false);
  PiecePart(m, 2, "Резина", dr2D_ToroidalRubber_V1, A, g.ShellMade());
  // The bolts pass through the shell's feet, clamped between flange and half-ring.
  if (g.ShellMade()) BoltHoles(m, g, txapi::dtBoth, false);
  m.drSave3D(true, true);
  // The ring and the half-ring reach down to their own half's shaft: a second shaft gets its own.
  const bool twin = r.R2 == A;
  for (int side = 0; side < (twin ? 1 : 2); ++side) {
    const double* R = side == 0 ? A : r.R2;
    const double d = side == 0 ? ControlModel.P1d : ControlModel.P2d;
    PiecePart(m, side == 0 ? 3 : 8, "Кольцо", dr2D_ToroidalCircle, R, true, d);
    m.drSave3D(true, true);
    PiecePart(m, side == 0 ? 4 : 9, "ПолуКольцо", dr2D_ToroidalSelfCircle, R, true, d);
    // The half-ring's holes meet the bolts: on their circle, through its collar beyond the flange's face too.
    // The first side's is inserted turned over, and as the second side's too where both sides are one.
    BoltHoles(m, g, txapi::dtBoth, side == 0, twin);
    m.drSave3D(true, true);
  }
  if (r.K) {
    TCommonGeometry e(0, &m);
    const TFastenerSet s = TorusBolt(A, r.K);
    e.dr3D_Screw(A[5], g.b + g.B, g.b2 + g.b3, s.AcrossFlats, s.Height, ControlModel.mfDetail3D(5));
    e.dr3D_Washer(s.WasherBore, s.Washer, s.WasherThickness, ControlModel.mfDetail3D(6), true);
  }
  ControlModel.mkAssembly3D(ControlModel.P1d, ControlModel.T1, ControlModel.P2d, ControlModel.T2, true);
  m.AddDetail(zero, zero, zero, ControlModel.Detail3D(7), false, false);
  AddTurned(m, zero, zero, zero, 1);
  m.AddDetail(zero, zero, zero, ControlModel.Detail3D(2), false, false);
  for (int n : {3, 4}) {
    m.AddDetail(zero, zero, zero, ControlModel.Detail3D(twin ? n : n + 5), false, false);
    AddTurned(m, zero, zero, zero, n);
  }
  if (r.K) {
    const double xw = g.b + g.B, xb = xw + TorusBolt(A, r.K).WasherThickness;
    for (int i = 0; i < g.n && i < 360; ++i) {
      const double a = (360.0 * i / g.n + 90.0) * 0.017453292519943295;
      const double y = g.D2 * std::cos(a), z = g.D2 * std::sin(a);
      AddTurned(m, xb, y, z, 5);
      m.AddDetail(xw, y, z, ControlModel.Detail3D(6), false, false);
      m.AddDetail(-xb, y, z, ControlModel.Detail3D(5), false, false);
      AddTurned(m, -xw, y, z, 6);
    }
  }
  m.drSave3D(true, true);
}
