// The locating ring's two sheets and two parts, one per designation: the sheet of Id shows the
// bore in plan, that of Id2 the column tail's holes; the parts follow the same split.
#include <cmath>

#include "hxcadkit/drawing/drNodeCont.h"
#include "hxcadkit/stdparts/MathDetailsl.h"

namespace {

constexpr double Deg = 0.017453292519943295;
constexpr double Sqrt3 = 1.7320508075688772;

double Cx(double r, double a)
{
  return r * std::cos(a * Deg);
}

double Cy(double r, double a)
{
  return r * std::sin(a * Deg);
}

void CircleAt(TModeler3D& M, double r, double a, double radius, int tl)
{
  M.drCircle(Cx(r, a), Cy(r, a), radius, tl);
}

} // namespace

// A column tail linked as the ring's complement; another class counts as none.
const TColumnTail* TLocatingRing::Tail() const
{
  return dynamic_cast<const TColumnTail*>(Complement);
}

void TLocatingRing::dr2D() const
{
  if (!M2.Ptr) return;
  TModeler3D& Md = M();
  const bool flat = BaseRadius == Radius;
  for (const int det : {Id, Id2})
    drMouldSheet(
        Md, det, Thickness, -Radius,
        [&](TModeler3D&) {
          dr2D_LocatingRing_V1(0, 0, 0, 1.0, BaseRadius, Radius, InRadius, flat ? 0.0 : 1.0,
                               flat ? 90.0 : 45.0, BaseThickness - 1.0, Thickness, FixRadius,
                               FixBoltRadius + 0.5, FixBoltHeadRadius, PinRadius, FixBoltHeadLen, 31, true);
          dr2D_V2(Radius + 55.0 + Thickness, 0, 0, 1.0, det, 1, true);
        },
        29, det == Id ? 34 : 0);
}

void TLocatingRing::dr2D_V2(const Real& mx, const Real& my, const Real& ma, const Real& mm, int Det, int tl,
                            bool isSize) const
{
  const TColumnTail* tail = Tail();
  if (!tail || !M2.Ptr) return;
  TModeler3D& Md = M();
  const double r54 = Det == Id ? InRadius : 0.0, r52 = FixBoltRadius + 0.5, r81 = tail->Radius + 0.5;
  const bool pins = BaseThickness == 0.0;
  Md.drMtr(mx, my, ma, mm);
  Md.drCircle(0, 0, Radius, tl);
  Md.drCircle(0, 0, Radius - Sqrt3, tl);
  Md.drCircle(0, 0, r54, tl);
  Md.drCircle(0, 0, FixRadius, 3);
  Md.drLine(0, Radius + 2.0, 0, -2.0 - Radius, 3);
  Md.drLine(-2.0 - Radius, 0, Radius + 2.0, 0, 3);
  for (int i = 0; i < FixPositions(); ++i) {
    CircleAt(Md, FixRadius, FixAngle[i], FixBoltHeadRadius, 4);
    CircleAt(Md, FixRadius, FixAngle[i], r52, tl);
  }
  if (pins) {
    CircleAt(Md, FixRadius, PinAngle, PinRadius, tl);
    CircleAt(Md, FixRadius, PinAngle + 180.0, PinRadius, tl);
    Md.drLine(Cx(Radius + 2.0, PinAngle), Cy(Radius + 2.0, PinAngle), Cx(Radius + 2.0, PinAngle + 180.0),
              Cy(Radius + 2.0, PinAngle + 180.0), 3);
  }
  if (r54 == 0.0) {
    for (int k = 1; k <= 4; ++k) {
      CircleAt(Md, tail->PlaceRadius, tail->Angle[k], r81, tl);
      if (isSize) {
        const double m = MaxDivisible(tail->Angle[k], 90.0);
        Md.drDimApc(m - tail->Angle[k], m, Radius + 10.0, tail->PlaceRadius, TString(), 0, 0);
      }
    }
    Md.drCircle(0, 0, tail->PlaceRadius, 3);
    if (isSize) {
      const int pt = SaturatingToInt(Radius + 10.0 - tail->PlaceRadius);
      Md.drDimD(2 * tail->PlaceRadius, TString(), 250.0, pt, -1, 0, 0, 1, TString("&02"), TString(),
                TString("&03~0,1"));
      Md.drDimD(2 * r81, TString(), tail->Angle[4] + 10.0, pt, 1, Cx(tail->PlaceRadius, tail->Angle[4]),
                Cy(tail->PlaceRadius, tail->Angle[4]), 1, TString("&02"), TString("H14"), TString());
    }
  }
  // The plan view goes on from the column tail's dimensions to the ring's own.
  if (isSize) {
    if (pins) {
      if (PinAngle != tail->Angle[1]) Md.drDimApc(-PinAngle, 0.0, Radius + 10.0, FixRadius, TString(), 0, 0);
      const double x = Cx(FixRadius, PinAngle + 180.0), y = Cy(FixRadius, PinAngle + 180.0);
      Md.drDimD(2 * PinRadius, TString(), -90.0, SaturatingToInt(Radius - FixRadius + 20.0), -1, x, y, 2,
                TString("&02"), TString("H7"), TString());
      Md.drRough(x, y - 20.0 - Radius + FixRadius, 0.0, txapi::txNoProcessingType, TString("0,8"), TString(),
                 TString());
    }
    Md.drDimD(2 * FixRadius, TString(), 80.0, SaturatingToInt(Radius - FixRadius + 10.0), 1, 0, 0, 1,
              TString("&02"), TString(), TString(pins ? "&03~0,01" : "&03~0,1"));
  }
  Md.drDeleteMtr();
}

void TLocatingRing::dr2D_Vo(const Real& mx, const Real& my, const Real& ma, const Real& ms, int Det,
                            int nCont) const
{
  if (!M2.Ptr) return;
  const TColumnTail* tail = Tail();
  // Without a column tail the through holes are left out altogether.
  if (nCont == 2 && !tail) return;
  TModeler3D& Md = M();
  const double r54 = Det == Id ? InRadius : 0.0, r52 = FixBoltRadius + 0.5;
  Md.drMtr(mx, my, ma, ms);
  if (nCont == 1) {
    TContDrawing c(&Md);
    c.Make(0.0, r54,
           dFsk(0.0, Radius, Thickness - 3.0, Radius, 2.0,
                dP(Thickness, Radius - Sqrt3, dP(Thickness, r54, dP(0.0, r54)))));
    c.dr2D(1);
    Md.drLine(-2.0, 0, Thickness + 2.0, 0, 3);
  } else if (nCont == 2) {
    for (int i = 0; i < FixPositions(); ++i)
      CircleAt(Md, FixRadius, FixAngle[i], r52, 1);
    if (BaseThickness == 0.0) {
      CircleAt(Md, FixRadius, PinAngle, PinRadius, 1);
      CircleAt(Md, FixRadius, PinAngle + 180.0, PinRadius, 1);
    }
    if (r54 == 0.0)
      for (int k = 1; k <= 4; ++k)
        CircleAt(Md, tail->PlaceRadius, tail->Angle[k], tail->Radius + 0.5, 1);
  } else if (nCont == 3) {
    for (int i = 0; i < FixPositions(); ++i)
      CircleAt(Md, FixRadius, FixAngle[i], FixBoltHeadRadius, 1);
  }
  Md.drDeleteMtr();
}

void TLocatingRing::dr3D(int) const
{
  if (!M2.Ptr) return;
  TModeler3D& Md = M();
  const double a = BaseRadius == Radius ? 90.0 : 45.0;
  const auto holes = [this](TModeler3D& m, int det, double recessPlane) {
    m.drPlaneEskis(txapi::o3d_planeXOY, -Thickness, 0.0, TString());
    dr2D_Vo(0, 0, 0, 1.0, det, 2);
    m.drCutExtrusion(txapi::dtNormal, txapi::etBlind, Thickness, 0.0);
    m.drPlaneEskis(txapi::o3d_planeXOY, recessPlane, 0.0, TString());
    dr2D_Vo(0, 0, 0, 1.0, det, 3);
    m.drCutExtrusion(txapi::dtNormal, txapi::etBlind, FixBoltHeadLen, 0.0);
  };
  drMouldModel(
      Md, Id,
      [&](TModeler3D&) {
        dr2D_LocatingRing_V1(0, 0, 0, 1.0, BaseRadius, Radius, InRadius, 0.0, a, BaseThickness, Thickness,
                             FixRadius, FixBoltRadius + 0.5, FixBoltHeadRadius, PinRadius, FixBoltHeadLen, 0,
                             false);
      },
      [&](TModeler3D& m) { holes(m, Id, -Thickness); });
  drMouldModel(
      Md, Id2, [&](TModeler3D&) { dr2D_Vo(0, 0, 0, 1.0, Id2, 1); },
      [&](TModeler3D& m) { holes(m, Id2, -Thickness); });
}
