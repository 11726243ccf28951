// The two parts of one fixed size: the clamp and the hose nipple.
#include <cmath>

#include "hxcadkit/core/Messager.h"
#include "hxcadkit/drawing/MathDetails.h"
#include "hxcadkit/drawing/drNodeCont.h"
#include "hxcadkit/geometry/GImage.h"
#include "hxcadkit/geometry/Mathemat.h"
#include "hxcadkit/stdparts/MathDetailsl.h"

using namespace mould;

// --- TClamper ---------------------------------------------------------------------------------

TClamper::TClamper(int iId, TModeler3D* M) : TDetail(iId, M, nullptr) {}

void TClamper::Show(TGImage& GI, const TColor& Color) const
{
  if (Design) GI.drColorStyle(Color, psSolid);
}

void TClamper::toStream(TKmfData& S) const
{
  WriteHead(S, *this);
}

void TClamper::fromStream(TKmfData& S)
{
  ReadHead(S, *this);
}

// The prism's outlines have never been drawn: their programs stay empty.
void TClamper::drPryzymPlan(Real, Real, Real, Real, int, bool) const
{
  TContDrawing c(&M());
}

void TClamper::drPryzymRozr(Real, Real, Real, Real, int, bool) const
{
  TContDrawing c(&M());
}

void TClamper::drPryzymRozrPrav(Real, Real, Real, Real, bool) const
{
  TContDrawing c(&M());
}

void TClamper::Add(Real, Real, Real, Real, bool, int) const {}

void TClamper::dr2D() const
{
  if (!OpenSheet(*this, 40.0, 0.0)) return;
  TModeler3D& Md = M();
  drPryzymPlan(0.0, 0.0, 0.0, 1.0, 1, true);
  drPryzymRozr(0.0, 0.0, 0.0, 1.0, 1, true);
  const TString none;
  Md.drCloseViewTDemCloseLeaf(none, none, none, none);
}

void TClamper::dr3D(int) const
{
  if (!M2.Ptr) return;
  const TMouldBuildMark mark = drMouldBuildMark(M());
  if (!OpenPart(*this, txapi::o3d_planeXOZ)) return;
  TModeler3D& Md = M();
  const TString none;
  drPryzymRozr(0.0, 0.0, 0.0, 1.0, 0, false);
  Md.drBaseExtrusion(txapi::dtBoth, txapi::etBlind, 0.5 * c16, 0.0, false);
  Md.drPlaneEskis(txapi::o3d_planeXOY, 0.0, 0.0, none);
  Md.drRectAngle(-100.0, -100.0, 100.0, 100.0, 1);
  drPryzymPlan(0.0, 0.0, 0.0, 1.0, 0, false);
  Md.drCutExtrusion(txapi::dtBoth, txapi::etBlind, 10.0, 0.0);
  Md.drPlaneEskis(txapi::o3d_planeXOY, -c3p3, 0.0, none);
  drPryzymPlan(0.0, 0.0, 0.0, 1.0, 0, false);
  Md.drCutExtrusion(txapi::dtReverse, txapi::etBlind, c6p3, 0.0);
  // Its outlines are empty, so no body comes of them.
  if (drMouldDiscardFailed(Md, mark)) return;
  Md.drSet(none, ::DC("FZM"), ::DC("FZM(SM-06020)"), 25);
  const TString file = Md.drFileName3D();
  Md.drSave3D(true, false);
  drMouldSaved(Md, file);
}

// --- TFitting ---------------------------------------------------------------------------------

namespace {

// The hexagon's corner circle, its square, and the thread length the profiles use.
constexpr double Corner = 8.1;
constexpr double Corner2 = 65.61;
constexpr double ThreadL = 15.0;

// Half the width of a hexagon face seen from the side.
double FaceHalf(double r1)
{
  return std::sqrt(std::fabs(Corner2 - r1 * r1));
}

// The hexagon across flats 2 r1, its corners on the Y axis, from the fixed start (7, a).
void Hexagon(TModeler3D& Md, double r1, int tl)
{
  const double a = FaceHalf(r1);
  TContDrawing c(&Md);
  c.Make(7.0, a, dP(0.0, Corner, dP(-r1, a, dP(-r1, -a, dP(0.0, -Corner, dP(r1, -a, dP(r1, a)))))));
  c.dr2D(tl);
}

} // namespace

TFitting::TFitting(int iId, TModeler3D* M) : TDetail(iId, M, nullptr) {}

void TFitting::Show(TGImage& GI, const TColor& Color) const
{
  if (Design) GI.drColorStyle(Color, psSolid);
}

void TFitting::toStream(TKmfData& S) const
{
  WriteHead(S, *this);
}

void TFitting::fromStream(TKmfData& S)
{
  ReadHead(S, *this);
}

void TFitting::dr2D() const
{
  if (M2.Ptr == nullptr) return;
  // The barbs' tip diameter is a reference size: the requirement says what its star means.
  drMouldSheet(
      M(), Id, 50.0, 0.0,
      [this](TModeler3D&) { dr2D_Shtucer_V1(0.0, 0.0, 0.0, 1.0, r1, r2, r3, r4, l, 1, true); }, 1);
}

void TFitting::dr3D(int) const
{
  if (!M2.Ptr) return;
  const TMouldBuildMark mark = drMouldBuildMark(M());
  if (!OpenPart(*this, txapi::o3d_planeXOY)) return;
  TModeler3D& Md = M();
  dr2D_Shtucer_V1(0.0, 0.0, -90.0, 1.0, r1, r2, r3, r4, l, 0, false);
  Md.drBaseRotate(0, 360.0);
  // Cutting the ring between the hexagon and a wider circle leaves the faces on the collar.
  Md.drPlaneEskis(txapi::o3d_planeXOZ, 0.0, 0.0, TString());
  drShtucerVo(0.0, 0.0, -90.0, 1.0, r1, r2, r3, r4, l);
  Md.drCutExtrusion(txapi::dtNormal, txapi::etBlind, 48.0, 0.0);
  if (drMouldDiscardFailed(Md, mark)) return;
  Grey(Md);
  const TString file = Md.drFileName3D();
  Md.drClose3D(true, tNotExist);
  drMouldSaved(Md, file);
}

void TFitting::drShtucerVo(Real mx, Real my, Real ma, Real mm, Real r1, Real, Real, Real, Real) const
{
  TModeler3D& Md = M();
  Md.drMtr(mx, my, ma, mm);
  Md.drCircle(0.0, 0.0, 10.1, 1);
  Hexagon(Md, r1, 1);
  Md.drDeleteMtr();
}

void TFitting::dr2D_Shtucer_V1(Real mx, Real my, Real ma, Real mm, Real r1, Real r2, Real r3, Real r4, Real l,
                               int tl, bool isSize) const
{
  TModeler3D& Md = M();
  const double a = FaceHalf(r1);
  // The hexagon's chamfer leaves its end face at the 30 degrees the sheet gives it: it runs this far along
  // the axis from the flats' circle to the corners'.
  const double e = (Corner - r1) * Tan30;
  Md.drMtr(mx, my, ma, mm);
  Md.drLine(ThreadL - l - 2.0, 0.0, 17.0, 0.0, 3);
  TContDrawing c(&Md);
  c.Make(0.0, r4,
         dPx(15.0, r4,
             dP(15.0, r2 - 1.0,
                dPx(14.0, r2,
                    dPx(3.0, r2,
                        dCVR(2.0, r2 - 1.0, 0.0, r2 - 1.0, 0.0, Corner, 0.5,
                             dPx(0.0, Corner,
                                 dP(e - 8.0, Corner,
                                    dPx(-8.0, r1,
                                        dPx(-8.0, r2,
                                            dPx(33.0 - l, r2,
                                                dPx(27.0 - l + r2 - r3, r3,
                                                    dPx(27.0 - l, r2,
                                                        dPx(21.0 - l + r2 - r3, r3,
                                                            dPx(21.0 - l, r2,
                                                                dP(15.0 - l, r3,
                                                                   dPx(15.0 - l, r4,
                                                                       dPt0(0.0, r4))))))))))))))))));
  c.dr2D(tl);
  if (tl != 0) {
    c.dr2DMY(tl);
    Md.drLine(3.0, r2 - 2.0, 15.0, r2 - 2.0, 2);
    Md.drLine(3.0, -(r2 - 2.0), 15.0, -(r2 - 2.0), 2);
    Md.drLine(e - 8.0, a, 0.0, a, tl);
    Md.drLine(e - 8.0, -a, 0.0, -a, tl);
    // The chamfer's arcs on the hexagon's faces; a hexagon whose corners lie on the corner
    // circle has no chamfer to show.
    if (Zn(e) != 0) {
      const double c1 = (a * a - e * e) / (2.0 * e);
      const double g = (Corner - a) / 2.0;
      const double c2 = (g * g - e * e) / (2.0 * e);
      Md.drArc(c1 - 8.0, 0.0, c1, e - 8.0, a, e - 8.0, -a, 1, tl);
      Md.drArc(c2 - 8.0, (a + Corner) / 2.0, c2, e - 8.0, Corner, e - 8.0, a, 1, tl);
      Md.drArc(c2 - 8.0, -(a + Corner) / 2.0, c2, e - 8.0, -Corner, e - 8.0, -a, -1, tl);
    }
  }
  if (isSize) {
    const TString none;
    // The barbs' tip, where the grooves between them bottom out, beside it; their crests' diameter on the
    // end view, so that the tip's value past its short line crosses no extension line of it.
    const double k = MouldWhole(r2 + 3.0 - r3);
    Md.drDimVL(2.0 * r3, -6.0, k, 15.0 - l, -r3, 15.0 - l, r3, "&02", none, "*");
    Md.drDimHL(6.0, -15.0, 0.0, 15.0 - l, -r3, 21.0 - l, -r2, none, none, none);
    Md.drDimHL(6.0, -15.0, 0.0, 27.0 - l, -r2, 21.0 - l, -r2, none, none, none);
    Md.drDimHL(6.0, -15.0, 0.0, 33.0 - l, -r2, 27.0 - l, -r2, none, none, none);
    // The thread's length below the hexagon, where the chamfer's angle has its rays: above where the
    // angle's slanting ray crosses the face x = 0, so that the ray passes left of its line and below its
    // extension line.
    const double rayAtFace = r1 + 8.0 * std::tan(60.0 * TMathDef::DEGRAD);
    Md.drDimHL(-15.0, Corner + 4.0 - rayAtFace, 0.0, 15.0, 2.0 - r2, 0.0, -Corner, none, none, none);
    // The hexagon's length just above it: below, its extension line from the face x = 0 would run through
    // the chamfer angle's value or its line across the angle's ray, whatever radius the arc took; above,
    // its line and value stay under the middle barb's angle, whose ray ends short of the hexagon.
    Md.drDimHL(-8.0, 1.5, 0.0, -8.0, r1, 0.0, Corner, none, none, none);
    // The overall length stands below the hexagon chamfer's angle, whose ray would run through its value.
    Md.drDimHL(l, -40.0, 0.0, 15.0 - l, -r3, 15.0, -r2, none, none, none);
    Md.drDimVL(2.0 * r2, 29.0, 1.0, 13.0, -r2, 13.0, r2, "M", none, "&04~1,25-8g");
    Md.drDimVL(2.0 * r4, 15.0, r2 + 4.0 - r4, 15.0, -r4, 15.0, r4, "&02", none, none);
    // The thread's end chamfer as the outline has it, 1 deep: down to about the thread's minor diameter.
    Md.drDimHL(1.0, 10.0, 1.0, 14.0, r2, 15.0, r2 - 1.0, none, none, "&04~45&01");
    Md.drDimApc(-45.0, 90.0, 15.0, 0.0, none, 21.0 - l, r2);
    // The middle barb's back face, from its root 45 degrees up the next barb's front to its crest,
    // against the radial face at the crest; its arc short enough that its slanting ray ends before the
    // hexagon's face and the extension line of the hexagon's length there.
    Md.drDimApc(ShownAngle(std::atan2(6.0 - (r2 - r3), r2 - r3) / TMathDef::DEGRAD), 90.0, 10.0, 0.0, none,
                27.0 - l, r2);
    // The hexagon's chamfer angle on its lower edge, below the lengths: above, the barbs' angles hold the
    // room its arc and value would need.
    Md.drDimApc(-30.0, -90.0, 15.0, 0.0, none, -8.0, -r1);
    // The relief groove before the thread, 3 long and 1 deep, in a detail.
    const TString A("А");
    // Its leader rises steeply to the right, below the 70 degree angle's slanting ray and clear of its arc.
    Md.drCircleShelf(1.5, r2 - 0.5, 3.0, 10.0, r2 + 14.0, A);
    TCommonGeometry(0, &Md).drCVR_dV(170.0, -30.0, 0.0, 10.0, 3.0, 1.0, 0.5, A, true);
    // The end view below the side view, clear of the side view's sizes stacked under it.
    Md.drMtr(0.0, -43.1 - 27.0, 0.0, 1.0);
    Md.drCircleAxle(0.0, 0.0, r1, tl);
    Md.drCircle(0.0, 0.0, r2, tl);
    Md.drCircle(0.0, 0.0, r3, tl);
    Md.drCircle(0.0, 0.0, r4, tl);
    Hexagon(Md, r1, tl);
    // The barbs' crests seen end on, their value past the hexagon's corners.
    Md.drDimD(2.0 * r2, TString(), 45.0, SaturatingToInt(Corner - r2) + 8, 0, 0.0, 0.0, 1, "&02", none, none);
    Md.drDimHL(-2.0 * r1, -20.0, 0.0, -r1, -a, r1, -a, none, none, none);
    Md.drDimVL(-16.2, -25.0, 0.0, 0.0, -Corner, 0.0, Corner, none, none, none);
    Md.drDeleteMtr();
  }
  Md.drDeleteMtr();
}
