// The couplings' machine elements: bolt sets and gear rims, in 2D and as part documents.
#include "hxcadkit/drawing/MathDetails.h"

#include <algorithm>
#include <cmath>

#include "hxcadkit/drawing/MathDetailsUtil.h"

TCommonGeometry::TCommonGeometry(int kind, TModeler3D* M, TConstruktor* C) : TDetail(kind, M, C) {}

// ---------------------------------------------------------------------------------------------
// Shared pieces

void Ring(TElementOutline& o, double L, double r1, double r2, double co0, double co1, double ci)
{
  const double lo = std::min(r1, r2), hi = std::max(r1, r2);
  const double leg = (hi - lo) / 2.0;
  co0 = FitChamfer(co0, leg, L / 2.0);
  co1 = FitChamfer(co1, leg, L / 2.0);
  ci = FitChamfer(ci, leg, L / 2.0);
  o.Start(0.0, lo + ci);
  o.P(0.0, hi - co0);
  o.P(co0, hi);
  o.P(L - co1, hi);
  o.P(L, hi - co1);
  o.P(L, lo + ci);
  o.P(L - ci, lo);
  o.P(ci, lo);
  o.P(0.0, lo + ci);
}

void Shank(TElementOutline& o, double x0, double x1, double r, double c0, double c1)
{
  o.P(x0, r - c0);
  o.P(x0 + c0, r);
  o.Px(x1 - c1, r);
  o.P(x1, r - c1);
  o.P(x1, 0.0);
}

bool MakeRevolvedPart(TModeler3D& M, const TString& FileName, const TString& Name, const TString& Marking,
                      const TElementOutline& profile, const TElementOutline* cut, double depth,
                      const char* what, bool fastener, bool piece)
{
  if (!profile.Finite(0.0, 0.0, 0.0, 1.0) ||
      (cut && (!cut->Finite(0.0, 0.0, 0.0, 1.0) || !std::isfinite(depth)))) {
    RefuseElement(what);
    return false;
  }
  M.drCreate3D(true, true, FileName, Name, Marking);
  M.drPlaneEskis(txapi::o3d_planeXOY, 0.0, 0.0, TString());
  profile.Draw(M, 0);
  M.drBaseRotate(0, 360.0);
  if (cut) {
    M.drPlaneEskis(txapi::o3d_planeYOZ, 0.0, 0.0, TString());
    cut->Draw(M, 0);
    M.drCutExtrusion(txapi::dtBoth, txapi::etBlind, depth, 0.0);
  }
  if (fastener) M.drFastener3D();
  if (piece) M.drFastenerPiece3D();
  M.drSave3D(true, true);
  return true;
}

namespace {

// A size in a part's name: two decimals, a point, right-aligned in seven characters.
TString Num(double v)
{
  return TString(v, 2, true, 7);
}

TElementOutline BoltOutline(double M, double L, double LM, double S, double H)
{
  const double e = S / Cos30 / 2.0; // half the width across corners
  const double c = FitChamfer(0.1 * M, M / 2.0, L);
  TElementOutline o;
  o.Start(-H, 0.0);
  o.P(-H, e);
  o.P(0.0, e);
  Shank(o, 0.0, L, M / 2.0, 0.0, c);
  o.Pt0(-H, 0.0);
  // The edges between the head's faces seen across its corners.
  o.HalfLine(-H, e / 2.0, 0.0, e / 2.0);
  const double x0 = std::max(0.0, L - LM);
  ThreadLines(o, x0, L - c, M / 2.0);
  if (LM > 0.0 && LM < L) o.HalfLine(x0, 0.0, x0, M / 2.0);
  o.Line(-H - 2.0, 0.0, L + 2.0, 0.0, 3);
  return o;
}

// In outline mode the closed half with the bore, which revolves into the nut; in the drawing
// modes the side view across the corners.
TElementOutline NutOutline(double M, double S, double H, int flag)
{
  const double e = S / Cos30 / 2.0;
  TElementOutline o;
  if (flag == 0)
    Ring(o, H, M / 2.0, e, 0.0, 0.0, 0.0);
  else {
    o.Start(0.0, 0.0);
    o.P(0.0, e);
    o.P(H, e);
    o.P(H, 0.0);
    o.HalfLine(0.0, e / 2.0, H, e / 2.0);
  }
  o.Line(-2.0, 0.0, H + 2.0, 0.0, 3);
  return o;
}

// The closed half section with the bore: it revolves into the washer, and a drawing shows it cut.
TElementOutline WasherOutline(double d, double D, double t, double groove)
{
  TElementOutline o;
  Ring(o, t, d / 2.0, D / 2.0, 0.0, groove, 0.0);
  o.Line(-2.0, 0.0, t + 2.0, 0.0, 3);
  return o;
}

// The hexagon of a head or nut and the square about it: cut together, they leave the hexagon.
TElementOutline HexagonCut(double S)
{
  TElementOutline o;
  Hexagon(o, S, 1);
  const double a = S / Cos30;
  o.Polygon({-a, -a, a, -a, a, a, -a, a}, 1);
  return o;
}

// More teeth than this are no gear of a coupling; the bound keeps a stray table value from
// drawing for ever.
constexpr double MaxTeeth = 2000.0;

// The outline of a gear wheel, or false when m, z and c make none: fewer than three teeth, a
// tip or root circle not above the centre, or the tip not on the teeth's side of the root.
bool GearOutline(TElementOutline& o, double m, double z, double c, bool internal)
{
  if (!std::isfinite(m) || !std::isfinite(z) || !std::isfinite(c) || !(m > 0.0) || !(z >= 3.0) ||
      z > MaxTeeth)
    return false;
  const int n = int(z);
  const double r = m * n / 2.0;
  const double ra = internal ? r - m : r + m;                         // tip
  const double rf = internal ? r + (1.0 + c) * m : r - (1.0 + c) * m; // root
  if (!(ra > 0.0) || !(rf > 0.0) || (internal ? !(rf > ra) : !(ra > rf))) return false;
  // The tooth's half-angles at the pitch circle, the tip and the root (20 degree flanks),
  // kept inside the tooth's own pitch so that neighbours never cross. An internal wheel's teeth are
  // thinner by a backlash of 0.04 m on each flank at the pitch circle, so that an external wheel of the
  // same module and count turned half a pitch meshes with them without touching.
  const double tan20 = 0.36397023426620234;
  const double hp = TMathDef::C_PI / (2.0 * n);
  const double backlash = internal ? 0.04 * m / r : 0.0;
  const double ha = std::clamp(hp - m * tan20 / ra - backlash, 0.05 * hp, hp);
  const double hf = std::clamp(hp + (1.0 + c) * m * tan20 / rf - backlash, 0.05 * hp, 1.95 * hp);
  // Tooth 0 about +x; tooth k is it turned by k pitches. The root point where tooth k + 1
  // begins is computed with that tooth, and the last root arc ends on tooth 0's own point.
  const double fx = rf * std::cos(hf), fy = rf * std::sin(hf), tx = ra * std::cos(ha), ty = ra * std::sin(ha);
  o.Reserve(4 * std::size_t(n));
  // (x, y) turned by the angle whose cosine and sine are (co, si).
  const auto turn = [](double co, double si, double x, double y, double& X, double& Y) {
    X = co * x - si * y;
    Y = si * x + co * y;
  };
  // The pitch turns are accumulated (their error stays near the rounding of a double for any
  // tooth count allowed); the last root arc ends exactly on tooth 0.
  const double stepCo = std::cos(4.0 * hp), stepSi = std::sin(4.0 * hp);
  double co = 1.0, si = 0.0;
  for (int k = 0; k < n; ++k) {
    const double coNext = k + 1 < n ? co * stepCo - si * stepSi : 1.0;
    const double siNext = k + 1 < n ? si * stepCo + co * stepSi : 0.0;
    double x1, y1, x2, y2, x3, y3, x4, y4, x5, y5;
    turn(co, si, fx, -fy, x1, y1);
    turn(co, si, tx, -ty, x2, y2);
    turn(co, si, tx, ty, x3, y3);
    turn(co, si, fx, fy, x4, y4);
    turn(coNext, siNext, fx, -fy, x5, y5);
    o.Line(x1, y1, x2, y2);
    o.Arc(0.0, 0.0, ra, x2, y2, x3, y3, 1);
    o.Line(x3, y3, x4, y4);
    o.Arc(0.0, 0.0, rf, x4, y4, x5, y5, 1);
    co = coNext;
    si = siNext;
  }
  return true;
}

void DrawGear(TModeler3D& M, double mx, double my, double ma, double mm, double m, double z, double c, int tl,
              bool internal)
{
  TElementOutline o;
  if (!GearOutline(o, m, z, c, internal)) return RefuseElement("зубчатое колесо");
  o.DrawPlaced(M, mx, my, ma, mm, tl, true, "зубчатое колесо");
}

} // namespace

// ---------------------------------------------------------------------------------------------
// 2D

void TCommonGeometry::dr2D_Screw_V1(const double& mx, const double& my, const double& ma, const double& ms,
                                    const double& M, const double& L, const double& LM, const double& S,
                                    const double& H, int tl, bool) const
{
  BoltOutline(M, L, LM, S, H).DrawPlaced(this->M(), mx, my, ma, ms, tl, true, "болт");
}

void TCommonGeometry::dr2D_Nut_V2(const double& mx, const double& my, const double& ma, const double& ms,
                                  const double& M, const double& S, const double& H, int tl, bool) const
{
  NutOutline(M, S, H, tl % 10).DrawPlaced(this->M(), mx, my, ma, ms, tl, true, "гайка");
}

void TCommonGeometry::dr2D_Washer_V2(const double& mx, const double& my, const double& ma, const double& ms,
                                     const double& d, const double& D, const double& t, int tl, bool) const
{
  WasherOutline(d, D, t, 0.0).DrawPlaced(M(), mx, my, ma, ms, tl, true, "шайба");
}

void TCommonGeometry::dr2D_GearsWheel_Ext_V2(const double& mx, const double& my, const double& ma,
                                             const double& mm, const double& m, const double& z,
                                             const double& c, int tl, bool) const
{
  DrawGear(M(), mx, my, ma, mm, m, z, c, tl, false);
}

void TCommonGeometry::dr2D_GearsWheel_Int_V2(const double& mx, const double& my, const double& ma,
                                             const double& mm, const double& m, const double& z,
                                             const double& c, int tl, bool) const
{
  DrawGear(M(), mx, my, ma, mm, m, z, c, tl, true);
}

// ---------------------------------------------------------------------------------------------
// 3D: the 2D profile in outline mode revolved; the hexagon of a bolt head or nut cut from a
// square about it across the axis.

void TCommonGeometry::dr3D_Screw(const double& M, const double& L, const double& LM, const double& S,
                                 const double& H, const TString& FName) const
{
  const TString name = ::DC(TString("Болт")) + TString(" М") + Num(M) + TString("*") + Num(L);
  const TElementOutline cut = HexagonCut(S);
  MakeRevolvedPart(this->M(), FName, name, TString(), BoltOutline(M, L, LM, S, H), &cut, H, "болт", true);
}

void TCommonGeometry::dr3D_Nut(const double& M, const double& S, const double& H, const TString& FName) const
{
  const TString name = ::DC(TString("Гайка")) + TString(" М") + Num(M);
  const TElementOutline cut = HexagonCut(S);
  MakeRevolvedPart(this->M(), FName, name, TString(), NutOutline(M, S, H, 0), &cut, H, "гайка", false, true);
}

void TCommonGeometry::dr3D_Washer(const double& d, const double& D, const double& t, const TString& FName,
                                  bool IsGroove) const
{
  const TString name = ::DC(TString("Шайба")) + TString(" ") + Num(d);
  MakeRevolvedPart(M(), FName, name, TString(), WasherOutline(d, D, t, IsGroove ? t / 4.0 : 0.0), nullptr,
                   0.0, "шайба", false, true);
}
