// The jaw coupling with an elastic star: two half-couplings with axial jaws and the star whose
// teeth fill the gaps between them; the row's 2D section, 2D view and 3D model.
#include <algorithm>
#include <cmath>

#include "Duvozadu/ControlModel.h"
#include "Duvozadu/CplgDetails.h"
#include "Duvozadu/CplgGlobal.h"
#include "Duvozadu/CplgShared.h"
#include "hxcadkit/drawing/drNodeCont.h"
#include "hxcadkit/geometry/Mathemat.h"

namespace {
constexpr int SprocketColumns = 17, StarColumns = 6;
constexpr double Deg = M_PI / 180.0;
// A radicand this close below zero is taken as zero.
constexpr double RootSlack = 2e-6;

double Px(double r, double a)
{
  return r * std::cos(a * Deg);
}
double Py(double r, double a)
{
  return r * std::sin(a * Deg);
}

// The square root of v, with v just below zero taken as zero; NaN below that.
double Root(double v)
{
  if (std::fabs(v) <= RootSlack) return 0.0;
  return v < 0.0 ? NAN : std::sqrt(v);
}

bool Finite(std::initializer_list<double> values)
{
  for (double v : values)
    if (!std::isfinite(v)) return false;
  return true;
}

// A star that can be drawn: finite, at least three teeth.
bool StarUsable(const double* St)
{
  return Usable(St, StarColumns) && St[5] >= 3.0;
}

// The star of a half: the first row whose tooth width is not below the gap 2B between its jaws.
const double* StarRow(const double* A)
{
  const TTable* t = ATable[1];
  return t && A ? t->GetParam(2, 2 * A[6]) : nullptr;
}

// The hub of a bore type: its length l, the x l1 of its end face, the keyway's narrowing.
struct TStarHub
{
  double l, l1, du;
};
TStarHub StarHub(const double* A, int T)
{
  T = BoreType(T);
  const int di = (T & 1) ? 0 : 11;
  TStarHub h{A[4 + di], A[5 + di], 0.0};
  // The bore runs from the hub's inner face to the chamfer at its end.
  if (T & 2) h.du = ConeDrop(h.l - A[10]);
  return h;
}

// A half with its jaws: the half's own sizes and the jaw programs of its section and view.
struct TStarHalf
{
  const double *A, *St;
  TStarHub h;
  double x0, R, d, d1, B, B1, l2, l3, f, r;
  double p, th, rho, gamma, yT;
};

// The sizes of a half; false (draw nothing) when its rows or the values derived from them are
// not drawable: a star of fewer than three teeth, jaw flanks at or beyond the rim, a root of a
// negative number, anything not finite.
bool StarHalf(TStarHalf& s, const double* A, const double* St, int T, bool Turn)
{
  if (!Usable(A, SprocketColumns) || !StarUsable(St)) return false;
  s.A = A;
  s.St = St;
  s.h = StarHub(A, T);
  s.x0 = s.h.l1 - s.h.l;
  s.R = A[3] / 2;
  s.d = A[1];
  s.d1 = A[2];
  s.B = A[6];
  s.B1 = A[7];
  s.l2 = A[8];
  s.l3 = A[9];
  s.f = A[10];
  s.r = A[11];
  if (!(s.B < s.R)) return false;
  s.p = 360.0 / St[5];
  s.th = s.p / 2;
  const double t = std::tan(s.th * Deg), c = std::cos(s.th * Deg), sn = std::sin(s.th * Deg);
  s.rho = std::sqrt(std::pow(t * s.B1 - s.B / c, 2) + s.B1 * s.B1);
  // The section's angle takes the sine where the jaw contours of the model take the cosine.
  s.gamma = std::atan((t * s.B1 - s.B / sn) / s.B1) / Deg;
  s.yT = Turn ? (s.R - (s.B / 2) / t - Root(s.R * s.R - s.B * s.B / 4)) * sn : 0.0;
  return Finite({s.x0, s.h.du, s.p, s.rho, s.gamma, s.yT});
}

// The point (x, y) before next where the outline turns there, else next: the face of a jaw runs down
// to its recess's corner and turns there, never past it and back.
TNode* dPIf(bool turns, double x, double y, TNode* next)
{
  return turns ? dP(x, y, next) : next;
}

// The jaw cut by the section plane (the jaw at two pitches), or for the half drawn reversed the
// jaw seen edge on. A view sees the jaw's inner steps hidden inside the jaw ring, in the style 4 of
// hidden edges, and the rest in the style tl gives.
TNode* JawProgram(const TStarHalf& s, bool Turn, double& x, double& y, bool view = false, int tl = 1)
{
  const double x0 = s.x0, R = s.R, l3 = s.l3, p = s.p, th = s.th, f = s.f;
  if (Turn) {
    // Its edges seen in the gap before the other half's jaw tips, and its rim; nothing runs
    // through the star or the other half's jaw in the jaw zone.
    const double yr = R * std::sin(th * Deg), gap = std::clamp(s.A[13], 0.0, x0);
    x = x0;
    y = yr;
    return dTL(2, dP(x0 - gap, yr, dSP(x0, R, dP(0, R))));
  }
  const double c = std::cos(th * Deg), q = s.B1 / c;
  const double y1 = std::sin((2 * p - th) * Deg) * q, y2 = std::sin((2 * p + th) * Deg) * q;
  const double y3 = std::sin((2 * p + s.gamma) * Deg) * s.rho, y4 = std::sin((2 * p - s.gamma) * Deg) * s.rho;
  x = x0;
  y = R;
  const bool turns = y4 > y3;
  if (view)
    return dP(
        x0, y1,
        dTL(4, dP(x0, y2,
                  dP(l3, y2,
                     dP(l3, y3, dP(0, y3, dTL(tl, dPIf(turns, 0, y4, dFsk(0, R, l3, R, f, dP(x0, R))))))))));
  return dP(
      x0, y1,
      dPnm(l3, y1,
           dPx(x0, y2,
               dP(l3, y2,
                  dP(l3, y3,
                     dP(0, y3,
                        dPIf(turns, 0, y4, dPnm(l3, y4, dFsk(0, R, l3, R, f, dPnm(l3, y4, dP(x0, R)))))))))));
}

// The section of a half whose jaw the plane cuts: hub and jaw one part, one outline from where the jaw
// leaves the hub's face round the hub, along the rim to the jaw's end and back under the jaw.
TNode* HubWithJaw(const TStarHalf& s, double& x, double& y)
{
  const double x0 = s.x0, R = s.R, d = s.d, d1 = s.d1, l1 = s.h.l1, l2 = s.l2, l3 = s.l3, f = s.f,
               du = s.h.du, p = s.p, th = s.th, q = s.B1 / std::cos(th * Deg);
  const double y2 = std::sin((2 * p + th) * Deg) * q, y3 = std::sin((2 * p + s.gamma) * Deg) * s.rho,
               y4 = std::sin((2 * p - s.gamma) * Deg) * s.rho;
  x = x0;
  y = y2;
  return dPx(x0, d / 2 - du,
             dPx(l1 - f, d / 2,
                 dPx(l1, d / 2 + f,
                     dFsk(l1, d1 / 2, l1 - 2 * f, d1 / 2, f,
                          dCLL(l2, d1 / 2, l2, R - f, s.r,
                               dP(l2 - f, R,
                                  dFsk(0, R, 0, std::max(y3, y4), f,
                                       dPIf(y4 > y3, 0, y3, dP(l3, y3, dP(l3, y2, dP(x0, y2)))))))))));
}

// A half's section or view: the hub outline, its jaw, its axis; the section hatched with its
// keyway.
void HalfDrawing(const double& mx, const double& my, const double& ma, const double& mm, const double* A,
                 const double* St, int T, bool Turn, int tl, bool section)
{
  TModeler3D* m = CouplingModeler();
  TStarHalf s;
  if (!m || !StarHalf(s, A, St, T, Turn)) return;
  const double x0 = s.x0, R = s.R, d = s.d, d1 = s.d1, l1 = s.h.l1, l2 = s.l2, f = s.f, du = s.h.du;
  TContDrawing hub(m), jaw(m);
  if (section)
    hub.Make(x0, R,
             dPx(x0, d / 2 - du,
                 dPx(l1 - f, d / 2,
                     dPx(l1, d / 2 + f,
                         dFsk(l1, d1 / 2, l1 - 2 * f, d1 / 2, f,
                              dCLL(l2, d1 / 2, l2, R - f, s.r, dP(l2 - f, R, dP(x0, R))))))));
  else
    hub.Make(x0, 0,
             dP(x0, R,
                dPx(l2 - f, R,
                    dPx(l2, R - f,
                        dCLL(l2, d1 / 2, l1 - f, d1 / 2, f,
                             dPx(l1 - f, d1 / 2, dP(l1, d1 / 2 - f, dP(l1, 0, dPt0(x0, 0)))))))));
  double jx = 0, jy = 0;
  // The jaw the section plane cuts is of the half: drawn and hatched with its hub as one part, with no
  // line between them.
  const bool one = section && !Turn && tl % 10 != 0;
  TNode* program = one ? HubWithJaw(s, jx, jy) : JawProgram(s, Turn, jx, jy, !section, tl);
  (one ? hub : jaw).Make(jx, jy, program);
  TPiece piece(*m, mx, my, ma, mm, 0.0);
  hub.drContBlock(tl);
  if (!one) jaw.drContBlock(tl == 0 ? 2 : tl);
  m->drLine(-3.0, 0.0, l1 + 3.0, 0.0, 3);
  if (!section || tl % 10 == 0) return;
  m->drHatch(0, 45.0, 2.0);
  hub.drContBlock(tl - tl % 10);
  m->drEndObj();
  dr2D_Shponka(d, du, x0, l1, ma == 0);
}

// The rows of a build, both halves from the chosen torque's group (the model takes its torque),
// each with its star; equal shafts and bore types share the first half's rows.
struct TStarRows
{
  TModeler3D* m;
  const double *A, *St, *A2, *St2;
};
bool StarRows(TStarRows& r)
{
  r.m = CouplingModeler();
  const TGroupRows g = GroupRows(ATable[0], ControlModel.M, ControlModel.P1d, ControlModel.P2d);
  if (!r.m || !Usable(g.R1, SprocketColumns) || !Usable(g.R2, SprocketColumns)) return false;
  ControlModel.M = g.Torque;
  r.A = g.R1;
  r.St = StarRow(r.A);
  const bool same = ControlModel.P1d == ControlModel.P2d && ControlModel.T1 == ControlModel.T2;
  r.A2 = same ? r.A : g.R2;
  r.St2 = same ? r.St : StarRow(r.A2);
  return true;
}

using THalfDrawing = void (*)(const double&, const double&, const double&, const double&, const double*,
                              const double*, int, bool, int, bool);

// Half 1 reversed on the left, half 2 on the right, where the assembly stands them.
void Coupling2D(THalfDrawing draw)
{
  TStarRows r;
  if (!StarRows(r)) return;
  const double x2 = StarAxial(r.A, ControlModel.T1, r.A2, ControlModel.T2).Half2, x1 = -x2;
  const double zero = 0.0, one = 1.0, turned = 180.0;
  draw(x1, zero, turned, one, r.A, r.St, ControlModel.T1, true, 31, false);
  draw(x2, zero, zero, one, r.A2, r.St2, ControlModel.T2, false, 31, false);
}

void StarHalf3D(TModeler3D& m, int n, const char* word, double bore, const double* A, const double* St, int T)
{
  const double zero = 0.0, one = 1.0;
  const TStarHub h = StarHub(A, T);
  const TString none;
  MakeHalf(n, word, bore, BoreType(T));
  m.drPlaneEskis(txapi::o3d_planeXOY, 0.0, 0.0, none);
  dr2D_sMUfromSprocket_V1(zero, zero, zero, one, A, St, T, false, 0);
  m.drBaseRotate(0, 360.0);
  // The jaws stand out of the hub's face at l1 - l towards the half's origin, as the section draws them:
  // their outer part from l3, their root from the origin.
  m.drPlaneEskis(txapi::o3d_planeYOZ, A[9], 0.0, none);
  dr2D_sMUfromSprocket_V2(zero, zero, zero, one, A, St, 1, 0);
  m.drBaseExtrusion(txapi::dtNormal, txapi::etBlind, h.l1 - h.l - A[9], 0.0);
  m.drPlaneEskis(txapi::o3d_planeYOZ, 0.0, 0.0, none);
  dr2D_sMUfromSprocket_V2(zero, zero, zero, one, A, St, 2, 0);
  m.drBaseExtrusion(txapi::dtNormal, txapi::etBlind, h.l1 - h.l, 0.0);
  dr3DKeySeating(bore, false, zero, 200.0);
  m.drSave3D(true, true);
}
} // namespace

// Half 2 is placed by half 1's sizes: its jaws' tips the gap A13 (13) from half 1's disc face, and half 1
// turned end for end with its jaws' tips as far on the other side of the star's middle, so that each half's
// faces stand its origin plus their own distance from it away from the middle.
TStarAxial StarAxial(const double* A1, int T1, const double* A2, int T2)
{
  const TStarHub h1 = StarHub(A1, T1), h2 = StarHub(A2, T2);
  TStarAxial a;
  a.Half2 = A1[13] / 2 - (h1.l1 - h1.l) / 2;
  a.Disc1 = a.Half2 + (h1.l1 - h1.l);
  a.Outer1 = a.Half2 + A1[9];
  a.Disc2 = a.Half2 + (h2.l1 - h2.l);
  a.Outer2 = a.Half2 + A2[9];
  return a;
}

// A tooth is the band of half its width b / 2 (2) either side of the line between two jaws, out to the
// star's radius: the corner of its flank and its crown is what reaches furthest along the jaw's middle.
double StarTeethReach(const double* St)
{
  const double R = St[0] / 2, b = St[2] / 2, half = M_PI / St[5];
  if (!(R > b)) return R;
  return R * std::cos(half - std::asin(b / R));
}

double StarDiscBore(const double* A, int T)
{
  return A[1] / 2 - StarHub(A, T).du;
}

void dr2D_Sprocket_V1(const double& mx, const double& my, const double& ma, const double& mm,
                      const double* St, int tl, bool)
{
  TModeler3D* m = CouplingModeler();
  if (!m || !StarUsable(St)) return;
  const double R = St[0] / 2, b = St[2] / 2, p = 360.0 / St[5];
  const double beta = 90.0 - AngleLine(0.0, 0.0, b, Root(R * R - b * b));
  const double Rc = b / std::sin(p / 2 * Deg);
  if (!Finite({beta, Rc})) return;
  TPiece piece(*m, mx, my, ma, mm, 0.0);
  for (int i = 0; i < St[5] && i < 360; ++i) {
    const double psi = i * p, a = psi + p / 2;
    m->drLine(0.0, 0.0, Px(R + 3.0, psi), Py(R + 3.0, psi), 3);
    TContDrawing c(m);
    c.Make(Px(R, a - beta), Py(R, a - beta),
           dA(0, 0, R, Px(R, a + beta), Py(R, a + beta),
              dCLL(Px(Rc, a + p / 2), Py(Rc, a + p / 2), Px(R, a + p - beta), Py(R, a + p - beta), St[4])));
    c.drContBlock(tl);
  }
}

void dr2D_sMUfromSprocket_V1(const double& mx, const double& my, const double& ma, const double& mm,
                             const double* A, const double* St, int T, bool Turn, int tl, bool)
{
  HalfDrawing(mx, my, ma, mm, A, St, T, Turn, tl, true);
}

void dr2D_sMUfromSprocket_V1_2(const double& mx, const double& my, const double& ma, const double& mm,
                               const double* A, const double* St, int T, bool Turn, int tl, bool)
{
  HalfDrawing(mx, my, ma, mm, A, St, T, Turn, tl, false);
}

void dr2D_sMUfromSprocket_V2(const double& mx, const double& my, const double& ma, const double& mm,
                             const double* A, const double* St, int Vt, int, bool)
{
  TModeler3D* m = CouplingModeler();
  if (!m || !Usable(A, SprocketColumns) || !StarUsable(St)) return;
  const double z = St[5], th = 180.0 / z, R = A[3] / 2, B = A[6], B1 = A[7];
  if (!(B < R)) return;
  const double t = std::tan(th * Deg), c = std::cos(th * Deg);
  const double rho = std::sqrt(std::pow(t * B1 - B / c, 2) + B1 * B1);
  const double gamma = std::atan((t * B1 - B / c) / B1) / Deg, delta = std::asin(B / R) / Deg;
  if (!Finite({rho, gamma, delta})) return;
  TPiece piece(*m, mx, my, ma, mm, 0.0);
  for (int i = 0; i < z && i < 360; i += 2) {
    const double phi = i * 360.0 / z;
    TContDrawing k(m);
    if (Vt == 1)
      k.Make(Px(R, phi + th), Py(R, phi + th),
             dP(Px(B1 / c, phi + th), Py(B1 / c, phi + th),
                dP(Px(B1 / c, phi - th), Py(B1 / c, phi - th),
                   dP(Px(R, phi - th), Py(R, phi - th), dA(0, 0, R, Px(R, phi + th), Py(R, phi + th))))));
    else
      k.Make(Px(R, phi + th - delta), Py(R, phi + th - delta),
             dP(Px(rho, phi + gamma), Py(rho, phi + gamma),
                dP(Px(rho, phi - gamma), Py(rho, phi - gamma),
                   dP(Px(R, phi - th + delta), Py(R, phi - th + delta),
                      dA(0, 0, R, Px(R, phi + th - delta), Py(R, phi + th - delta))))));
    k.drContBlock(1);
  }
}

void dr2D_MUfromSprocket()
{
  Coupling2D(dr2D_sMUfromSprocket_V1);
  // The elastic star between the jaws, as the model places it: cut by the section plane where a jaw
  // stands, its body within its teeth's roots shows, hatched as rubber.
  TStarRows r;
  if (!StarRows(r) || !StarUsable(r.St)) return;
  const double t = r.St[3] / 2, Rc = r.St[2] / 2 / std::sin(180.0 / r.St[5] * Deg);
  if (!Finite({t, Rc})) return;
  TModeler3D& m = *r.m;
  TContDrawing star(&m);
  star.Make(-t, Rc, dP(t, Rc, dP(t, -Rc, dP(-t, -Rc, dP(-t, Rc)))));
  TPiece piece(m, 0.0, 0.0, 0.0, 1.0, 0.0);
  star.dr2D(1);
  m.drHatch(1, -45.0, 1.0);
  star.dr2D(0);
  m.drEndObj();
}

void dr2D_MUfromSprocketView()
{
  Coupling2D(dr2D_sMUfromSprocket_V1_2);
}

void dr3D_MUfromSprocket()
{
  TStarRows r;
  if (!StarRows(r)) return;
  // A half or the star that cannot be drawn would leave an empty part: nothing is built.
  TStarHalf s1, s2;
  if (!StarHalf(s1, r.A, r.St, ControlModel.T1, false) || !StarHalf(s2, r.A2, r.St2, ControlModel.T2, false))
    return;
  TModeler3D& m = *r.m;
  const double *A = r.A, *St = r.St, zero = 0.0, one = 1.0;

  MakeHalf(2, "Звездочка", St[0], -1);
  m.drPlaneEskis(txapi::o3d_planeYOZ, St[3] / 2, 0.0, TString());
  dr2D_Sprocket_V1(zero, zero, zero, one, St, 1);
  m.drBaseExtrusion(txapi::dtReverse, txapi::etBlind, St[3], 0.0);
  m.drSave3D(true, true);

  StarHalf3D(m, 1, "Полумуфта", ControlModel.P1d, A, St, ControlModel.T1);
  StarHalf3D(m, 3, "Полумуфта2", ControlModel.P2d, r.A2, r.St2, ControlModel.T2);

  ControlModel.mkAssembly3D(ControlModel.P1d, ControlModel.T1, ControlModel.P2d, ControlModel.T2, true);
  // Half 1 turned end for end and on by one star pitch.
  const double x = StarAxial(A, ControlModel.T1, r.A2, ControlModel.T2).Half2, pitch = 360.0 / St[5] * Deg;
  m.AddDetail(x, zero, zero, ControlModel.Detail3D(3), false, false);
  m.AddDetail(zero, zero, zero, ControlModel.Detail3D(2), false, false);
  m.AddDetailAxle(-x, zero, zero, ControlModel.Detail3D(1), -1.0, 0.0, 0.0, 0.0, -std::cos(pitch),
                  -std::sin(pitch), true);
  m.drSave3D(true, true);
}
