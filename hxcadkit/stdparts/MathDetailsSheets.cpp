// The working drawings and 3D parts of the plugs, the guide plug and column and the washers: each
// passes its fields to its profile once, with sizes on the sheet and bare in the model.
#include <algorithm>
#include <cmath>

#include "hxcadkit/drawing/Cuthole.h"
#include "hxcadkit/drawing/MathDetail2.h"
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

// Why no sound sprue bush can be made of p's sizes, or null. Its outline from the far end (x = -Len) to the
// nozzle end (x = 0): the part in the plate (SprueFitRadius) over FitLen, its root rounded 3 into the
// flange CollarRadius over CollarHeight, the body BFitRadius on to the nozzle end, whose seat is the
// sphere SphereRadius SphereLen deep down to the sprue's opening TPARadius, rounded 2 at the far end.
const char* SprueFault(const TInjectPlug& p)
{
  const double r73 = p.SphereRadius, r57 = p.TPARadius, r5 = p.BFitRadius, x70 = p.Len, x71 = p.SphereLen;
  if (!mould::Positive({r73, r57, p.CollarRadius, r5, p.FitLen, x70, p.CollarHeight, x71}))
    return "размеры должны быть положительными";
  if (r57 >= r73) return "литниковый канал шире сферы";
  // The sphere's centre on the axis, its rim on the nozzle end and its widest within the seat.
  const double xc = std::sqrt(r73 * r73 - r57 * r57) - x71;
  if (std::fabs(xc) >= r73) return "сфера не выходит на торец";
  const double rim = std::sqrt(r73 * r73 - xc * xc);
  const double widest = xc < 0.0 && xc > -x71 ? r73 : rim;
  if (widest >= r5) return "сфера выходит на наружную поверхность";
  const double rw = mould::SprueFitRadius(r57, x70, x71);
  if (p.FitLen + p.CollarHeight >= x70) return "посадочная часть с буртиком длиннее втулки";
  if (x71 + 2.0 >= x70) return "сфера глубже втулки";
  if (p.FitLen <= 3.0 || p.CollarRadius - rw <= 3.0 || p.CollarRadius <= r5) return "буртик не шире втулки";
  return nullptr;
}

// Why no sound ejector plug can be made of p's sizes, or null. Its outline: the collar CollarRadius over
// CollarHeight, its groove 3 long and 0.3 deep, the body Radius to Len; the bore EC2Radius to EC2Len (its
// last millimetre a cone to ECRadius), ECRadius on to the seat, which is ECRadius + 0.1 at the far end and
// widens at 1 degree over ConeLen.
const char* EjectorPlugFault(const TEjectorPlug& p)
{
  if (!mould::Positive(
          {p.Radius, p.Len, p.ConeLen, p.CollarHeight, p.CollarRadius, p.ECRadius, p.EC2Radius, p.EC2Len}))
    return "размеры должны быть положительными";
  if (p.CollarRadius <= p.Radius) return "буртик не шире пробки";
  const double seat = p.ECRadius + 0.1 + p.ConeLen * 0.017455064928217585; // tan 1 degree
  if (std::max({p.EC2Radius, p.ECRadius, seat}) >= p.Radius - 0.3)
    return "отверстие выходит на наружную поверхность";
  if (p.EC2Len <= 1.0 || p.EC2Len >= p.Len - p.ConeLen) return "отверстие и гнездо длиннее пробки";
  if (p.CollarHeight + 3.0 >= p.Len) return "буртик с канавкой длиннее пробки";
  return nullptr;
}

} // namespace

// --- The plugs -----------------------------------------------------------------------------------

void TInjectPlug::dr2D() const
{
  TModeler3D* M = Modeller(*this);
  if (!M || mould::RefuseSizes("втулка литниковая", SprueFault(*this))) return;
  // The section and the view of the nozzle end beside it (45 past the end and the head across) at 1:1
  // where they fit the sheet's width, and the flange its height, else reduced by the least standard ratio
  // that fits them. The largest sheet's frame holds 360 of either beside the sizes about them and the
  // margins.
  const double scale =
      MouldReduction(std::max(Len + 2.0 * BFitRadius + 45.0, 2.0 * CollarRadius), MouldSheetRoom);
  drMouldSheet(
      *M, Id, Len, -1.0 * MouldWhole(CollarRadius + 20.0), scale,
      [this](TModeler3D&) {
        dr2D_V1(0, 0, 0, 1.0, SphereRadius, TPARadius, CollarRadius, BFitRadius, FitLen, Len, CollarHeight,
                SphereLen, 1, true, 3.0);
      },
      6, 3, 36, 37);
}

void TInjectPlug::dr3D(int) const
{
  TModeler3D* M = Modeller(*this);
  if (!M || mould::RefuseSizes("втулка литниковая", SprueFault(*this))) return;
  drMouldModel(*M, Id, [this](TModeler3D&) {
    dr2D_V1(0, 0, 0, 1.0, SphereRadius, TPARadius, CollarRadius, BFitRadius, FitLen, Len, CollarHeight,
            SphereLen, 0, false, 3.0);
  });
}

void TEjectorPlug::dr2D() const
{
  TModeler3D* M = Modeller(*this);
  if (!M || mould::RefuseSizes("пробка выталкивателя", EjectorPlugFault(*this))) return;
  const double scale = SheetScale();
  // The view stands its collar's diameter under the sheet's anchor; enlarged, that grows with the scale and
  // would carry the lengths sized below the part into the title block: the collar's rim stands 10 under
  // the anchor on the sheet instead, the room above the view the requirements'. At 1:1 a collar so wide
  // that its diameter under the anchor would carry the whole length's line (55 under the rim, its
  // extension lines 2 past it, and a gap) under the frame's bottom stands as high as keeps that line on
  // the frame, its rim no nearer the anchor than 10. The frame's bottom stands 247 under the anchor on the
  // sheet first opened; a collar too wide to keep the line on that frame runs the view itself below it,
  // which takes the next larger sheet (its bottom 370 under the anchor), and is stood by that sheet's frame.
  constexpr double UnderRim = 60.0, OverRim = 10.0;
  double axis = 2.0 * CollarRadius;
  for (const double frameDepth : {247.0, 370.0})
    if (const double raised = frameDepth - UnderRim - CollarRadius; raised >= CollarRadius + OverRim) {
      axis = std::min(axis, raised);
      break;
    }
  drMouldSheet(
      *M, Id, 25.0, scale > 1.0 ? -CollarRadius - OverRim / scale : -axis, scale,
      [this, scale](TModeler3D& Md) {
        dr2D_V1(0, 0, 0, 1.0, CollarRadius, EC2Radius, ECRadius, ECRadius + 0.1, Radius, EC2Len, ConeLen,
                CollarHeight, Len, 1, true, true);
        // The undercut by the collar, which the detail gives its length and depth. The detail stands 45
        // past the far end face, and 60 and the collar's radius below the collar on the sheet, whatever
        // the scale the part is drawn at; a seat's angle carried out past its least arc (past the collar)
        // has it as far past the arc as its depth's and chamfer's sizes reach back from it, and a gap.
        constexpr double Past = 45.0, Least = 29.0, DetailBack = 24.0;
        const double angle = SeatAngleReach(scale);
        Md.drCircleShelf(CollarHeight + 1.5, -Radius, 3.0, CollarHeight + 5.0, -Radius - 20.0, TString("А"));
        const double detailX = Len + (angle > Least ? angle + DetailBack : Past) / scale,
                     detailY = -CollarRadius - (60.0 + CollarRadius) / scale;
        GrooveDetail(Md, detailX, detailY);
        // The detail wherever the view called the edge out, as it judged at the scale it was drawn at.
        if (SeatEdgeApart(DrawnScale(Md))) SeatEdgeDetail(Md, detailX + 70.0 / scale, detailY);
      },
      6, 3, 37);
}

void TEjectorPlug::dr3D(int) const
{
  TModeler3D* M = Modeller(*this);
  if (!M || mould::RefuseSizes("пробка выталкивателя", EjectorPlugFault(*this))) return;
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

// The guide plug is the bush profile with its front part the plug's ousting length.
bool PlugRefused(const TDirectPlug& p)
{
  return mould::RefuseSizes(
      "пробка направляющая",
      mould::BushFault(p.ColumnRadius, p.Radius, p.CollarRadius, p.OustingLen - p.CollarHeight,
                       p.CollarHeight, p.Len - p.OustingLen + p.CollarHeight, p.OustingLen + p.Len, 0.0));
}

// Why no sound support washer can be made of w's sizes, or null. Its outline: the collar CollarRadius
// over CollarHeight, the body Radius to Len (a groove 3 long and 0.5 deep by the collar where the two
// differ, the far edge chamfered 1), the bolt head's counterbore BoltHeadRadius BoltHeadLen deep from the
// collar's face and the bore BoltRadius.
const char* WasherFault(const TSupportWasher& w)
{
  if (!mould::Positive(
          {w.Len, w.Radius, w.CollarRadius, w.CollarHeight, w.BoltHeadLen, w.BoltHeadRadius, w.BoltRadius}))
    return "размеры должны быть положительными";
  if (w.Radius > w.CollarRadius) return "буртик уже шайбы";
  const bool groove = w.Radius != w.CollarRadius;
  if (w.BoltHeadRadius <= w.BoltRadius) return "зенковка не шире отверстия";
  if (w.BoltHeadRadius >= (groove ? w.Radius - 0.5 : w.Radius) || w.BoltRadius >= w.Radius - 1.0)
    return "отверстие выходит на наружную поверхность";
  if (w.BoltHeadLen >= w.Len) return "зенковка глубже шайбы";
  if (w.CollarHeight + (groove ? 3.0 : 0.0) >= w.Len - 1.0) return "буртик длиннее шайбы";
  return nullptr;
}

} // namespace

double TDirectPlug::SheetScale() const
{
  // The collar's length and the front part's are sized side by side below the part, the grooves' callouts
  // by them: each holds the spacing the layout keeps between parallel lines. Behind the collar the rear
  // part holds the collar face's grade, its strokes and value (two spacings), before the rear end's
  // extension line.
  // Its profile asks its collar's signs and its groove's detail below it at distances in the part's
  // millimetres, which stay on the sheet up to twice its size.
  constexpr double Spacing = 7.0;
  const double front = OustingLen - CollarHeight, rear = Len - OustingLen;
  return MouldEnlargement(
      Len,
      [&](double s) {
        return CollarHeight * s >= Spacing && (front <= 0.0 || front * s >= Spacing) &&
               rear * s >= 2.0 * Spacing;
      },
      2.0);
}

void TDirectPlug::dr2D() const
{
  TModeler3D* M = Modeller(*this);
  if (!M || PlugRefused(*this)) return;
  drMouldSheet(
      *M, Id, OustingLen, -CollarRadius, SheetScale(),
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
  if (!M || PlugRefused(*this)) return;
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
  if (!M || mould::RefuseSizes("шайба опорная", WasherFault(*this))) return;
  // The view stands as low as the collar reaches above the axis, where that is more than the counterbore
  // asks: a wide collar would run off the frame's top.
  drMouldSheet(
      *M, Id, Len, -std::max(2.0 * BoltHeadLen, CollarRadius),
      [this](TModeler3D&) {
        dr2D_ShajbaOporna_V1(0, 0, 0, 1.0, CollarHeight, BoltHeadLen, Len, CollarRadius, BoltHeadRadius,
                             BoltRadius, Radius, 1, false);
      },
      28);
}

void TSupportWasher::dr3D(int) const
{
  TModeler3D* M = Modeller(*this);
  if (!M || mould::RefuseSizes("шайба опорная", WasherFault(*this))) return;
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

// Why no sound support can be made of p's sizes, or null. Its outline: the body of Radius from the free
// end (chamfered 2) to the thread's groove at x = 0 (3 long, 1 deep), the thread on to ThreadLen (chamfered
// 2); the flats Key across and 22 long, centred LenToKey from the free end, on the body alone.
const char* SupportFault(const TProtectSupport& p)
{
  if (!mould::Positive({p.ThreadLen, p.Len, p.ThreadRadius, p.Radius, p.Key}) ||
      !mould::NotNegative({p.LenToKey}))
    return "размеры должны быть положительными";
  if (p.ThreadRadius <= 2.0) return "резьба мельче проточки и фаски";
  if (p.ThreadRadius >= p.Radius) return "резьба не тоньше стержня";
  if (p.ThreadLen <= 5.0) return "резьба короче проточки и фаски";
  // The modeller takes a cut that removes under a billionth of the part for none: flats under a ten-thousandth
  // of the radius deep (5.4e-4 on the 5.4 radius; the part's length would have to pass 26 m for that to be too
  // little) are no flats.
  if (p.Key >= 2.0 * p.Radius * (1.0 - 1e-4)) return "лыски шире стержня";
  if (p.LenToKey + 11.0 > p.Len - p.ThreadLen) return "лыски выходят за стержень";
  return nullptr;
}

} // namespace

// The support's sheet has no technical requirements.
void TProtectSupport::dr2D() const
{
  TModeler3D* M = Modeller(*this);
  if (!M) return;
  if (mould::RefuseSizes("лапка", SupportFault(*this))) return;
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
  if (mould::RefuseSizes("лапка", SupportFault(*this))) return;
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

// Why no sound pusher can be made of its sizes, or null. Its outline: the spring seat springRadius behind
// the collar, the collar collarRadius over collarHeight, the fit fitRadius to its 45-degree step down to
// the relieved shank at fitLen, the shank tapering over 16 mm to radius by 15 short of the working end at
// len, where the grade is gradeHeight deep.
const char* PusherFault(double radius, double fitRadius, double collarRadius, double collarHeight,
                        double fitLen, double len, double springRadius, double springLen, double gradeHeight)
{
  // A grade that is none or outward makes no grade. A seat of some length is a cylinder of its radius: at
  // radius 0 the outline runs out and back along the axis, and the part has no seat.
  if (!mould::Positive({radius, fitRadius, collarRadius, collarHeight, fitLen, len}) ||
      !mould::NotNegative({springRadius, springLen}) || !std::isfinite(gradeHeight) ||
      (springLen > 0.0 && !(springRadius > 0.0)))
    return "размеры должны быть положительными";
  if (fitRadius < radius || radius <= 0.5) return "посадочный поясок уже толкателя";
  if (collarRadius <= std::max(fitRadius, springRadius)) return "буртик не шире толкателя";
  if (collarHeight >= fitLen - (fitRadius - Relieved(radius, fitRadius)))
    return "буртик длиннее посадочного пояска";
  if (fitLen >= len - 31.0) return "посадочный поясок длиннее толкателя";
  if (gradeHeight >= radius) return "уступ глубже толкателя";
  return nullptr;
}

bool PusherRefused(const TEjectorChannel& c)
{
  const char* why = mould::Positive({c.SpringLen})
                        ? PusherFault(c.Radius, c.FitRadius, c.CollarRadius, c.CollarHeight, c.FitLen, c.Len,
                                      c.SpringRadius, c.SpringLen, c.GradeHeight)
                        : "размеры должны быть положительными";
  return mould::RefuseSizes("толкатель", why);
}

bool PusherRefused(const TBackEjector& e)
{
  return mould::RefuseSizes("толкатель", PusherFault(e.Radius, e.FitRadius, e.CollarRadius, e.CollarHeight,
                                                     e.FitLen, e.Len, 0.0, 0.0, 0.0));
}

} // namespace

void TEjectorChannel::dr2D() const
{
  TModeler3D* M = Modeller(*this);
  const auto* plug = dynamic_cast<const TEjectorPlug*>(Complement);
  if (!M || !plug || PusherRefused(*this)) return;
  TCommonGeometry g(0, M);
  // The collar's diameter is given across the collar, its line 2 from either face: a collar narrower
  // than that on the sheet is drawn enlarged, at the least standard scale that gives it the room, as
  // long as the part still fits the sheet's width; so is a fit section without room for its grade and
  // diameter clear of the hardened zone's leader.
  // Its view begins 45 from the left edge of the sheet's frame, 395 across, and the working end's diameter
  // with the surface's sign on its extension line stands 26 past the end: the frame holds 320 of it at most.
  constexpr double WidthRoom = 320.0;
  const double scale = MouldEnlargement(
      Len + SpringLen,
      [this](double s) {
        double grade, diameter;
        return PusherCollarLine(CollarHeight, SpringLen, s).Holds &&
               PusherFitSigns(CollarHeight, FitLen, Len, s, grade, diameter);
      },
      [](double s) { return s <= 5.0; }, WidthRoom);
  // The view stands lower by the collar's height, and by as much more as keeps the collar's rim at most
  // 10 above its place on the sheet: the room above is its diameter's value's, within the frame.
  drMouldSheet(
      *M, Id, SpringLen - 25.0, -std::max(CollarHeight, CollarRadius - 10.0 / scale), scale,
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
  if (!M || !plug || PusherRefused(*this)) return;
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
  if (!M || PusherRefused(*this)) return;
  drMouldSheet(
      *M, Id, Len - 20.0, -CollarRadius, [this](TModeler3D& Md) { BackPusher(*this, Md); }, 35, 3);
}

void TBackEjector::dr3D(int) const
{
  TModeler3D* M = Modeller(*this);
  if (!M || PusherRefused(*this)) return;
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
