// The working drawings and 3D parts of the plugs, the guide plug and column and the washers: each
// passes its fields to its profile once, with sizes on the sheet and bare in the model.
#include <cmath>

#include "hxcadkit/drawing/Cuthole.h"
#include "hxcadkit/drawing/MathDetails.h"
#include "hxcadkit/drawing/drNodeCont.h"
#include "hxcadkit/stdparts/MathDetailsl.h"

namespace {

// The modeller of a part, null when it was made without one: such a part draws nothing.
TModeler3D* Modeller(const TDetail& part)
{
  return part.M2.Ptr ? &part.M() : nullptr;
}

// The enlarged detail "А" of a 3 mm groove of the given depth: the guide column's and the ejector
// plug's are 0.3 deep, the guide plug's 0.5.
void GrooveDetail(TModeler3D& M, double x, double y, double depth = 0.3)
{
  TCommonGeometry(0, &M).drCVR_dV(x, y, 0.0, 4.0, 3.0, depth, 0.5, TString("А"), true);
}

} // namespace

// --- The plugs -----------------------------------------------------------------------------------

void TInjectPlug::dr2D() const
{
  TModeler3D* M = Modeller(*this);
  if (!M) return;
  drMouldSheet(
      *M, Id, Len, -1.0 * MouldWhole(CollarRadius + 20.0),
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
      [this](TModeler3D& Md) {
        dr2D_V1(0, 0, 0, 1.0, CollarRadius, EC2Radius, ECRadius, ECRadius + 0.1, Radius, EC2Len, ConeLen,
                CollarHeight, Len, 1, true);
        // The undercut by the collar, which the detail gives its length and depth.
        Md.drCircleShelf(CollarHeight + 1.5, -Radius, 3.0, CollarHeight + 5.0, -Radius - 20.0, TString("А"));
        GrooveDetail(Md, Len + 45.0, -60.0 - 2.0 * CollarRadius);
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
        // The grooves by the collar and before the front part, which the detail enlarges: the front
        // one is the collar's where the front part leaves it its whole 3 mm.
        Md.drCircleShelf(CollarHeight + 1.5, Radius, 3.0, CollarHeight + 5.0, Radius + 20.0, TString("А"));
        if (OustingLen - CollarHeight > 3.0)
          Md.drCircleShelf(-1.5, -Radius, 3.0, -8.0, -Radius - 20.0, TString("А"));
        GrooveDetail(Md, 0.0, -70.0 - 2.0 * CollarRadius, 0.5);
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
  // Its outline is empty: no view calls out a groove, and the model has none, so the sheet shows no
  // detail of one.
  drMouldSheet(*M, Id, 0.0, -1.0 * MouldWhole(Radius), {}, 30);
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

// --- Retraction, column tail, circle plane ------------------------------------------------------

// The retraction's outline is left empty: a frame with its texts, an empty revolve.
void TReTraction::dr2D() const
{
  TModeler3D* M = Modeller(*this);
  if (!M) return;
  drMouldSheet(*M, Id, 0.0, -CollarRadius, {}, 3);
}

void TReTraction::dr3D(int) const
{
  TModeler3D* M = Modeller(*this);
  if (!M) return;
  drMouldModel(*M, Id, {});
}

void TColumnTail::dr2D() const
{
  TModeler3D* M = Modeller(*this);
  if (!M) return;
  // As the guide column's: no outline, so no groove to show in a detail.
  drMouldSheet(*M, Id, Len - ThreadLen - 15.0, -3.0 * Key, {}, 30);
}

void TColumnTail::dr3D(int) const
{
  TModeler3D* M = Modeller(*this);
  if (!M) return;
  drMouldModel(*M, Id, {}, [this](TModeler3D& Md) {
    // A round as wide as the key has no flats to cut.
    if (Key == 2.0 * Radius) return;
    Md.drPlaneEskis(txapi::o3d_planeXOY, Key, 0.0, TString());
    Md.drRectAngle(Key / 2, -Radius, Radius, Radius, 1);
    Md.drRectAngle(-Key / 2, -Radius, -Radius, Radius, 1);
    Md.drCutExtrusion(txapi::dtReverse, txapi::etBlind, 15.0, 0.0);
  });
}

namespace {

// The plate's column tail, when both its links are set and of the classes they must be.
const TColumnTail* PlateTail(const TDetail& plate)
{
  if (!dynamic_cast<const TMTail*>(plate.Complement2)) return nullptr;
  return dynamic_cast<const TColumnTail*>(plate.Complement);
}

} // namespace

void TCirclePlane::dr2D() const
{
  TModeler3D* M = Modeller(*this);
  if (!M || !PlateTail(*this)) return;
  drMouldSheet(*M, Id, -10.0, -Radius, {}, 28);
}

void TCirclePlane::dr3D(int) const
{
  TModeler3D* M = Modeller(*this);
  const TColumnTail* tail = PlateTail(*this);
  if (!M || !tail) return;
  drMouldModel(*M, Id, {}, [this, tail](TModeler3D& Md) {
    THole3DParam hole(Md);
    // The tail's second to fifth angles hold its bolts; the first is its own.
    for (int i = 1; i <= 4; ++i) {
      const double a = tail->Angle[i] * 0.017453292519943295;
      hole.dr3DHole(48, tail->PlaceRadius * std::cos(a), tail->PlaceRadius * std::sin(a), 0.0, 0.0, 0.0, 0.0,
                    0.0, BoltHeadLen, BoltHeadRadius, 0.0, Thickness - BoltHeadLen, BoltRadius, 0.0);
    }
  });
}

// --- Protect support -------------------------------------------------------------------------------

namespace {

void Lug(const TProtectSupport& p, TCommonGeometry& g, double mx, double my, int tl, bool isSize, bool plan)
{
  if (plan)
    g.dr2D_LapkaZapobizna_Vo(mx, my, 0.0, 1.0, p.Radius, p.ThreadRadius, p.Len, p.ThreadLen, p.LenToKey,
                             p.Key, 2.0, tl, isSize);
  else
    g.dr2D_LapkaZapobizna_V1(mx, my, 0.0, 1.0, p.Radius, p.ThreadRadius, p.Len, p.ThreadLen, p.LenToKey,
                             p.Key, 2.0, tl, isSize);
}

} // namespace

// The support's sheet has no technical requirements.
void TProtectSupport::dr2D() const
{
  TModeler3D* M = Modeller(*this);
  if (!M) return;
  TCommonGeometry g(0, M);
  drMouldSheet(
      *M, Id, Len - ThreadLen, -1.0 * MouldWhole(Radius),
      [this, &g](TModeler3D&) {
        Lug(*this, g, 0.0, 0.0, 1, true, false);
        g.drCVR_dV(10.0, -35.0 - 2.0 * Radius, 0.0, 4.0, 3.0, 1.0, 0.5, TString("А"), true);
      },
      0);
}

void TProtectSupport::dr3D(int) const
{
  TModeler3D* M = Modeller(*this);
  if (!M) return;
  TCommonGeometry g(0, M);
  drMouldModel(
      *M, Id, [this, &g](TModeler3D&) { Lug(*this, g, 0.0, 0.0, 0, false, false); },
      [this, &g](TModeler3D& Md) {
        Md.drPlaneEskis(txapi::o3d_planeXOZ, Radius, 0.0, TString());
        Lug(*this, g, 0.0, ThreadLen - Len + LenToKey, 0, false, true);
        // From the plane at y = Radius back through the whole body.
        Md.drCutExtrusion(txapi::dtReverse, txapi::etBlind, 2.0 * Radius, 0.0);
      });
}

// --- Ejector channel and back ejector ------------------------------------------------------------

namespace {

// The pusher's relieved radius: half a millimetre under the body where the fit differs.
double Relieved(double radius, double fitRadius)
{
  return fitRadius != radius ? radius - 0.5 : radius;
}

} // namespace

void TEjectorChannel::dr2D() const
{
  TModeler3D* M = Modeller(*this);
  const auto* plug = dynamic_cast<const TEjectorPlug*>(Complement);
  if (!M || !plug) return;
  TCommonGeometry g(0, M);
  drMouldSheet(
      *M, Id, SpringLen - 25.0, -CollarHeight,
      [&](TModeler3D&) {
        g.dr2D_Shtovhach_V1(20.0, 0.0, 0.0, 1.0, Radius, Relieved(Radius, FitRadius), CollarRadius, FitRadius,
                            SpringRadius, Len, FitLen, CollarHeight, Len + SpringLen, plug->ConeLen,
                            GradeHeight, 1, true);
      },
      35, 3, 39);
}

void TEjectorChannel::dr3D(int) const
{
  TModeler3D* M = Modeller(*this);
  const auto* plug = dynamic_cast<const TEjectorPlug*>(Complement);
  if (!M || !plug) return;
  TCommonGeometry g(0, M);
  drMouldModel(
      *M, Id,
      [&](TModeler3D&) {
        g.dr2D_Shtovhach_V1(0.0, 0.0, 0.0, 1.0, Radius, Relieved(Radius, FitRadius), CollarRadius, FitRadius,
                            SpringRadius, Len, FitLen, CollarHeight, Len + SpringLen, 0.0, 0.0, 0, false);
      },
      [&](TModeler3D& Md) {
        if (!(GradeHeight > 0.0)) return;
        // The grade as a wedge running out to nothing at the end face, inside the fit as the sheet shows it.
        const double c = PusherGradeLength(plug->ConeLen);
        Md.drPlaneEskis(txapi::o3d_planeYOZ, Radius, 0.0, TString());
        TContDrawing w(&Md);
        w.Make(Len - c, -Radius, dP(Len - c, GradeHeight - Radius, dP(Len, -Radius, dP(Len - c, -Radius))));
        w.dr2D(1);
        Md.drCutExtrusion(txapi::dtReverse, txapi::etBlind, 2.0 * Radius, 0.0);
      });
}

namespace {

void BackPusher(const TBackEjector& e, TModeler3D& M)
{
  TCommonGeometry(0, &M).dr2D_Shtovhach_V1(0.0, 0.0, 0.0, 1.0, e.Radius, Relieved(e.Radius, e.FitRadius),
                                           e.CollarRadius, e.FitRadius, 5.0, e.Len, e.FitLen, e.CollarHeight,
                                           e.Len, 0.0, 0.0, 0, false);
}

} // namespace

void TBackEjector::dr2D() const
{
  TModeler3D* M = Modeller(*this);
  if (!M) return;
  drMouldSheet(
      *M, Id, Len - 20.0, -CollarRadius, [this](TModeler3D& Md) { BackPusher(*this, Md); }, 35, 3);
}

void TBackEjector::dr3D(int) const
{
  TModeler3D* M = Modeller(*this);
  if (!M) return;
  drMouldModel(*M, Id, [this](TModeler3D& Md) { BackPusher(*this, Md); });
  // The support is a part of its own, made whether or not the pusher's was.
  dr3D_Opora();
}

// The support's outline is left empty: its model revolves an empty sketch.
void TBackEjector::dr3D_Opora() const
{
  TModeler3D* M = Modeller(*this);
  if (!M) return;
  drMouldModel(*M, Id2, {});
}

void TBackEjector::dr2D_Opora() const
{
  TModeler3D* M = Modeller(*this);
  if (!M) return;
  drMouldSheet(
      *M, Id2, 0.0, -FitRadius,
      [this](TModeler3D& Md) { GrooveDetail(Md, 20.0, -70.0 - 2.0 * CollarRadius); }, 0);
}

// --- Outlines left empty -------------------------------------------------------------------------
// These parts have outlines of their own that draw nothing: their sheets hold the frame and their
// models revolve an empty sketch without calling them.

void TDirectColumn::dr2D_V1(const Real&, const Real&, const Real&, const Real&, Integer, bool) const {}

void TDirectColumn::dr2D_KolonkaMehSt_V1(const Real&, const Real&, const Real&, const Real&, Integer,
                                         bool) const
{
}

void TWasherEjectorChannel::dr2D_Shajba_V1(const Real&, const Real&, const Real&, const Real&, Integer,
                                           bool) const
{
}

void TReTraction::dr2D_V1(const Real&, const Real&, const Real&, const Real&, Integer, bool) const {}

void TColumnTail::dr2D_V1(const Real&, const Real&, const Real&, const Real&, const Real&, const Real&,
                          const Real&, const Real&, const Real&, Integer, bool) const
{
}

void TCirclePlane::dr2D_V1(const Real&, const Real&, const Real&, const Real&, const Real&, const Real&,
                           const Real&, const Real&, const Real&, const Real&, const Real&, Integer,
                           bool) const
{
}

void TCirclePlane::dr2D_V2(const Real&, const Real&, const Real&, const Real&, const Real&, const Real&,
                           const Real&, const Real&, const Real&, const Real&, const Real&, Integer,
                           bool) const
{
}

void TEjectorChannel::dr2D_V1(const Real&, const Real&, const Real&, const Real&, Integer, bool) const {}

void TBackEjector::dr2D_V1(const Real&, const Real&, const Real&, const Real&, Integer, bool) const {}

void TBackEjector::dr2D_Opora_V1(const Real&, const Real&, const Real&, const Real&, const Real&, const Real&,
                                 const Real&, const Real&, Integer, bool) const
{
}
