// The stop pin of an ejector plate.
#include <algorithm>

#include "hxcadkit/drawing/MathDetails.h"
#include "hxcadkit/drawing/drNodeCont.h"
#include "hxcadkit/geometry/GImage.h"
#include "hxcadkit/stdparts/MathDetailsl.h"

using namespace mould;

TStopPin::TStopPin(int iId, TModeler3D* M, TConstruktor* C) : TDetail(iId, M, C), TRect2D(0.0, 0.0, 0.0, 0.0)
{
}

void TStopPin::Show(TGImage& GI, const TColor& Color) const
{
  ShowCorners(*this, GI, Color, *this, CollarRadius);
}

void TStopPin::toStream(TKmfData& S) const
{
  WriteHead(S, *this);
  Write(S, {RU.x, LD.x, RU.y, LD.y, Radius, CollarRadius, CollarHeight, Len});
}

void TStopPin::fromStream(TKmfData& S)
{
  ReadHead(S, *this);
  if (S.Version() >= 45) Read(S, {&RU.x, &LD.x, &RU.y, &LD.y});
  Read(S, {&Radius, &CollarRadius, &CollarHeight, &Len});
}

namespace {

// Why no sound stop pin can be made of p's sizes, or null. Its outline: the head CollarRadius over
// CollarHeight, its free edge chamfered 2, the groove 3 long and 0.3 deep, the shank Radius to Len with its
// end chamfered 2.
const char* StopPinFault(const TStopPin& p)
{
  if (!Positive({p.Radius, p.CollarRadius, p.CollarHeight, p.Len}))
    return "размеры должны быть положительными";
  if (p.Radius >= p.CollarRadius) return "головка не шире стержня";
  if (p.Radius <= 2.0) return "стержень тоньше фаски";
  if (p.CollarHeight <= 2.0) return "головка ниже фаски";
  if (p.CollarHeight + 5.0 >= p.Len) return "головка с канавкой и фаской длиннее упора";
  return nullptr;
}

// How far right of the head face the groove's callout letter stands, its leader from the callout's circle at
// (cx, cy) up to twice the head's radius r74: over the pin's end at x82, unless the head face's grade (its
// tip `grade` up the face at x81) would have the letter or its leader within its reach, its shelf and value
// running down beside the face. Then the letter stands past that reach and the leader rises under it, past
// the reach's lower corner.
double GrooveLetterX(double x81, double r74, double x82, double cx, double cy, double grade)
{
  constexpr double Gap = 1.0;
  const double side = x81 + SignReachAcross, low = grade - SignReachOn - Gap, up = 2.0 * r74;
  const double underCorner = low > cy ? cx + (side - cx) * (up - cy) / (low - cy) : side;
  return std::max({x82, side + Gap, underCorner});
}

} // namespace

// The pin's own sheet and model draw its outline: the detail number only keeps other callers'
// sheets from drawing it.
void TStopPin::dr2D() const
{
  if (!M2.Ptr || RefuseSizes("упор", StopPinFault(*this))) return;
  if (!OpenSheet(*this, 0.0, -CollarRadius)) return;
  TModeler3D& Md = M();
  dr2D_GrybkovaOpora_V1(0, 0.0, 0.0, 0.0, 1.0, CollarRadius, Radius, CollarHeight, Len, 2.0, 1, true);
  TCommonGeometry G(0, &Md);
  // The groove's detail below the pin, never above the head's lower edge: beside a wide head it would
  // stand by the shank, under the callout's leader, its sizes turned out across it.
  G.drCVR_dV(20.0, std::min(1.5 * CollarRadius - 60.0, -CollarRadius), 0.0, 2.0, 3.0, 0.3, 0.5, "А", true);
  const TString none;
  Md.drCloseViewTDemCloseLeaf(none, none, none, none);
}

void TStopPin::dr3D(int) const
{
  if (!M2.Ptr || RefuseSizes("упор", StopPinFault(*this))) return;
  const TMouldBuildMark mark = drMouldBuildMark(M());
  if (!OpenPart(*this, txapi::o3d_planeYOZ)) return;
  TModeler3D& Md = M();
  dr2D_GrybkovaOpora_V1(0, 0.0, 0.0, 180.0, 1.0, CollarRadius, Radius, CollarHeight, Len, 2.0, 0, false);
  Md.drBaseRotate(0, 360.0);
  if (drMouldDiscardFailed(Md, mark)) return;
  Grey(Md);
  const TString file = Md.drFileName3D();
  Md.drClose3D(true, tNotExist);
  drMouldSaved(Md, file);
}

void TStopPin::dr2D_GrybkovaOpora_V1(int Det, Real mx, Real my, Real ma, Real mm, Real r74, Real r25,
                                     Real x81, Real x82, Real f, int tl, bool isSize) const
{
  if (Det != 0) return;
  TModeler3D& Md = M();
  // In outline mode the last node runs back along the axis and closes the half.
  const double s = Zn(tl);
  Md.drMtr(mx + x81, my, ma, mm);
  Md.drLine(-2.0, 0.0, x82, 0.0, 3);
  TContDrawing c(&Md);
  c.Make(0.0, 0.0,
         dP(0.0, r74 - f,
            dPx(f, r74,
                dPx(x81, r74,
                    dCVR(x81, r25 - 0.3, x81 + 2.7, r25 - 0.3, x81 + 3.0, r25, 0.5,
                         dPx(x81 + 3.0, r25,
                             dPx(x82 - f, r25, dP(x82, r25 - f, dP(x82, 0.0, dP(s * x82, 0.0))))))))));
  c.dr2D(tl);
  if (tl != 0) c.dr2DMY(tl);
  if (isSize) {
    const TString none;
    const auto plain = txapi::txRoughSignEnum(0);
    // The head face's grade 25 over the head, on its face's extension line.
    const double grade = r74 + 25.0;
    if (tl != 0)
      Md.drCircleShelf(x81 + 1.5, r25, 3.0, GrooveLetterX(x81, r74, x82, x81 + 1.5, r25, grade), 2.0 * r74,
                       "А");
    // The lengths below the pin, the shorter nearer: the end's chamfer by the shank, its value on past the
    // end, and the whole length a spacing beyond it and below the head, so that neither line crosses the
    // other's extension lines. A head standing out past the shank farther than the pin is long would have
    // the end's extension line run along it farther than the pin is across: the shank's length then
    // stands from the head's face instead, a spacing beyond the chamfer's beside the shank.
    const double chamfer = -r25 - 8.0, whole = std::min(chamfer - 7.0, -r74 - 8.0);
    // The count before the size, as every sheet writes a chamfer given for several.
    Md.drDimHL(f, chamfer + r25, 1.0, x82 - f, -r25, x82, f - r25, "2 фаски ", none, "&04~45&01");
    if (RunsFartherThanAcross(r74 - r25 + f, x82))
      Md.drDimHL(x82 - x81, chamfer - 7.0 + r25, -1.0, x81, -r25, x82, f - r25, none, "h14", none);
    else
      Md.drDimHL(x82, whole - (f - r74), -1.0, 0.0, f - r74, x82, f - r25, none, "h14", none);
    Md.drDimHL(x81, 30.0, 1.0, 0.0, r74 - f, x81, r74, none, "h6", none);
    Md.drDimVL(2.0 * r74, -15.0, 1.0, f, -r74, f, r74, "&02", "h14", none);
    Md.drDimVL(2.0 * r25, 30.0, -1.0, x82 - f, -r25, x82 - f, r25, "&02", "k6", none);
    Md.drRough(0.0, r74 + 2.0, 180.0, plain, "0,8", none, none);
    Md.drRough(x82, r25, 90.0, plain, "0,8", none, none);
    Md.drRough(x81, grade, 0.0, plain, "0,8", none, none);
  }
  Md.drDeleteMtr();
}
