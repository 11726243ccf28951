// The working drawings and 3D parts of the plugs, the guide plug and column and the washers: each
// passes its fields to its profile once, with sizes on the sheet and bare in the model.
#include "hxcadkit/drawing/MathDetails.h"
#include "hxcadkit/stdparts/MathDetailsl.h"

namespace {

// The modeller of a part, null when it was made without one: such a part draws nothing.
TModeler3D* Modeller(const TDetail& part)
{
  return part.M2.Ptr ? &part.M() : nullptr;
}

// The enlarged detail "A" of the 3 mm groove that the guide plug and column share.
void GrooveDetail(TModeler3D& M, double x, double y)
{
  TCommonGeometry(0, &M).drCVR_dV(x, y, 0.0, 4.0, 3.0, 0.3, 0.5, TString("A"), true);
}

} // namespace

// --- The plugs -----------------------------------------------------------------------------------

void TInjectPlug::dr2D() const
{
  TModeler3D* M = Modeller(*this);
  if (!M) return;
  drMouldSheet(
      *M, Id, Len, -MouldWhole(CollarRadius + 20.0),
      [this](TModeler3D&) {
        dr2D_V1(0, 0, 0, 1.0, SphereRadius, TPARadius, CollarRadius, BFitRadius, FitLen, Len, CollarHeight,
                SphereLen, 1, true, 3.0);
      },
      6, 3, 36, 37);
}

void TInjectPlug::dr3D(int) const
{
  TModeler3D* M = Modeller(*this);
  if (!M) return;
  drMouldModel(*M, Id, [this](TModeler3D&) {
    dr2D_V1(0, 0, 0, 1.0, SphereRadius, TPARadius, CollarRadius, BFitRadius, FitLen, Len, CollarHeight,
            SphereLen, 0, false, 3.0);
  });
}

void TEjectorPlug::dr2D() const
{
  TModeler3D* M = Modeller(*this);
  if (!M) return;
  drMouldSheet(
      *M, Id, 25.0, -2.0 * CollarRadius,
      [this](TModeler3D&) {
        dr2D_V1(0, 0, 0, 1.0, CollarRadius, EC2Radius, ECRadius, ECRadius + 0.1, Radius, EC2Len, ConeLen,
                CollarHeight, Len, 1, true);
      },
      6, 3, 37);
}

void TEjectorPlug::dr3D(int) const
{
  TModeler3D* M = Modeller(*this);
  if (!M) return;
  drMouldModel(*M, Id, [this](TModeler3D&) {
    dr2D_V1(0, 0, 0, 1.0, CollarRadius, EC2Radius, ECRadius, ECRadius + 0.1, Radius, EC2Len, ConeLen,
            CollarHeight, Len, 0, false);
  });
}

// --- The guide plug and column, the washers ------------------------------------------------------

namespace {

void GuidePlugProfile(const TDirectPlug& p, int tl, bool isSize)
{
  p.dr2D_LeaderPinBushing_V1(0, 0, 0, 1.0, p.ColumnRadius, p.Radius, p.CollarRadius,
                             p.OustingLen - p.CollarHeight, p.CollarHeight,
                             p.Len - p.OustingLen + p.CollarHeight, p.OustingLen + p.Len, tl, isSize, 0.0);
}

} // namespace

void TDirectPlug::dr2D() const
{
  TModeler3D* M = Modeller(*this);
  if (!M) return;
  drMouldSheet(
      *M, Id, OustingLen, -CollarRadius,
      [this](TModeler3D& Md) {
        GuidePlugProfile(*this, 1, true);
        GrooveDetail(Md, 0.0, -70.0 - 2.0 * CollarRadius);
      },
      26, 30);
}

void TDirectPlug::dr3D(int) const
{
  TModeler3D* M = Modeller(*this);
  if (!M) return;
  drMouldModel(*M, Id, [this](TModeler3D&) { GuidePlugProfile(*this, 0, false); });
}

// The column's and the channel washer's outlines are left empty: their sheets hold the frame (and
// the column's groove detail), their models revolve an empty sketch.
void TDirectColumn::dr2D() const
{
  TModeler3D* M = Modeller(*this);
  if (!M) return;
  drMouldSheet(
      *M, Id, 0.0, -MouldWhole(Radius),
      [this](TModeler3D& Md) { GrooveDetail(Md, Len * 0.5 - 30.0, -80.0 - Radius); }, 1, 30);
}

void TDirectColumn::dr3D(int) const
{
  TModeler3D* M = Modeller(*this);
  if (!M) return;
  drMouldModel(*M, Id, {});
}

void TSupportWasher::dr2D() const
{
  TModeler3D* M = Modeller(*this);
  if (!M) return;
  drMouldSheet(
      *M, Id, Len, -2.0 * BoltHeadLen,
      [this](TModeler3D&) {
        dr2D_ShajbaOporna_V1(0, 0, 0, 1.0, CollarHeight, BoltHeadLen, Len, CollarRadius, BoltHeadRadius,
                             BoltRadius, Radius, 1, false);
      },
      28);
}

void TSupportWasher::dr3D(int) const
{
  TModeler3D* M = Modeller(*this);
  if (!M) return;
  drMouldModel(*M, Id, [this](TModeler3D&) {
    dr2D_ShajbaOporna_V1(0, 0, 0, 1.0, CollarHeight, BoltHeadLen, Len, CollarRadius, BoltHeadRadius,
                         BoltRadius, Radius, 0, false);
  });
}

void TWasherEjectorChannel::dr2D() const
{
  TModeler3D* M = Modeller(*this);
  if (!M) return;
  drMouldSheet(*M, Id, 20.0, -20.0 - Radius, {}, 4);
}

void TWasherEjectorChannel::dr3D(int) const
{
  TModeler3D* M = Modeller(*this);
  if (!M) return;
  drMouldModel(*M, Id, {});
}
