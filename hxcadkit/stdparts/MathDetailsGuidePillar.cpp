// The guide pillar: its record, standard size, preview, sheet, model and profiles.
#include <algorithm>
#include <cmath>

#include "hxcadkit/core/Messager.h"
#include "hxcadkit/drawing/MathDetail2.h"
#include "hxcadkit/drawing/MathDetails.h"
#include "hxcadkit/drawing/drNodeCont.h"
#include "hxcadkit/geometry/GImage.h"
#include "hxcadkit/stdparts/MathDetailsl.h"

using namespace mould;

namespace {

// Half chord of the groove's circle of radius 2 where it leaves the guide 1.7 from its centre.
constexpr double dxK = 1.053565375285274;
constexpr int PillarTable = 5;
// The room between a threaded pillar's view A (its flats) and the guide's end, where the lead-in's angle and
// its roundings' values stand: as much as the table's shortest guide with the longest seat leaves.
constexpr double ViewARoom = 29.0;

// The centre of the guide's groove: 8 past the taper, but never on the seat's chamfer (x41 from the
// guide end to the collar, x46 the seat).
double GrooveCentre(double x40, double x41, double x46)
{
  return std::min(x40 - x41 + 8.0, -(x46 + 3.0 + dxK + 1.0));
}

// How much lower than 100 below the collar's edge section B-B (drawn twice enlarged, guide radius
// r42) stands: a thick guide's section would otherwise reach up among the main view's sizes.
double PillarSectionDrop(double r42)
{
  return std::max(0.0, 2.0 * r42 - 22.0);
}

// The length of the fixed end's chamfer (1 long, 0.5 deep) on a fixed part `fixed` long: no longer than the
// part, which a shorter one takes whole at the same slope; a chamfer reaching into the collar would leave
// its edge inside the collar, and its length a size of nothing drawn.
double FixedChamfer(double fixed)
{
  return std::min(1.0, fixed);
}

// Whether a fixed part `fixed` long has its relief groove by the collar (3 long): only with a land left
// between the groove and the end's chamfer. A shorter part runs from the collar's face, rounded into it;
// the groove would eat the whole round and leave the chamfer beginning before it.
bool FixedRelief(double fixed)
{
  return fixed - 3.0 - FixedChamfer(fixed) >= LeastLine;
}

// Whether the thread's bottom (at x from the collar face, x42 the collar's height) falls strictly
// inside the guide or the collar, whose lengths stand below: a depth below would then overlap one of
// them without either containing the other, and one's extension line would cross the other's line.
bool DepthAbove(double x, double x42)
{
  constexpr double eps = 1e-6;
  return x < -eps || (x > eps && x < x42 - eps);
}

// Whether the collar face's sign below the collar is crossed on both sides: by the fixed end's extension
// lines past the face (across its arms or its value) and by the collar's other face short of it, across its
// arms, its shelf or its value (with the depth above, nothing else stands there). The guide's length then
// stands on the collar's line, so that the other face's extension line ends there and the sign, turned
// over, finds room below it.
bool CollarFaceCrowded(double x42, double fixed)
{
  return fixed > 1e-6 && (!ClearOfSign(fixed) || AcrossSignValue(fixed - 1.0)) && !ClearOfSign(x42);
}

// How far from its points `inside` the end face the thread's diameter stands, asked at `asked`: its line
// runs on under its value beyond the thread, past the countersink's shelf and the chamfer's depth, which
// stand beside the end face. Its value, 3.5 high beside its line, keeps a millimetre clear of the
// countersink's value on its shelf (the shelf reaching from the face past its "1x45" by 1.25) and of the
// chamfer's line at 6.
double ThreadLineOffset(double asked, double inside)
{
  constexpr double height = 3.5, shelf = 1.25 + 0.6 * height * 5.0;
  return std::max(asked, inside + shelf + 1.0 + height + 1.0);
}

// How far past the end face the fixed end's chamfer depth stands, room between the chamfer's edge and the
// thread's nearer extension line, threadLine the thread diameter's line past the face. Its value, too long
// for its line, goes on past the edge, 1.5 clear of the arrow and 0.6 of its 3.5 height a character long,
// "0,5" three: towards the thread where the room holds it, else away from it, where the chamfer's length
// stands 10 out unless the collar's face, within its outer arrow (3 long) on a fixed part shorter than that
// (fixed long, the chamfer cf), brings it in across the depth's value. With neither side free the line
// stands a spacing of parallel lines (7) past the thread's, beyond the end of its extension lines.
double ChamferDepthOffset(double room, double fixed, double cf, double threadLine)
{
  constexpr double height = 3.5, chars = 3.0, clear = 1.5, arrow = 3.0, spacing = 7.0;
  const bool towardsThread = room >= clear + 0.6 * height * chars, awayFree = fixed >= cf + arrow;
  return towardsThread || awayFree ? 6.0 : threadLine + spacing;
}

// How far past the seat's chamfer (2 long, the seat x46 long with its groove of 3 by the collar) its
// diameter stands: midway along the seat's cylinder, no farther than the collar is wide (r43), so that its
// extension lines never run along the seat farther than the part is across. The seat's sign, where there is
// one, comes to the cylinder's end by the groove, its short arm reaching back: the line keeps half a
// millimetre short of that arm.
double SeatDiameterOffset(double x46, double r43, bool sign)
{
  const double run = x46 - 5.0, clear = sign ? run - SignReachBack - 0.5 : run;
  return std::clamp(std::min(run / 2.0, clear), 0.5, std::max(0.5, r43));
}

// Whether a length's value ("js14" after it, 3.5 high) with its arrows is longer than the length.
bool ValueOutside(double length)
{
  constexpr double height = 3.5, arrow = 3.0;
  return 0.6 * height * (double(DrawingNumber(length).Length()) + 4.0) + 2.0 * arrow > length;
}

} // namespace

TSocketLeaderPin::TSocketLeaderPin(int iId, TModeler3D* M, const TDetail* iComplement, TConstruktor* C)
    : TDetail(iId, M, iComplement, 0, C), TRect2D(0.0, 0.0, 0.0, 0.0)
{
}

// A pillar without a thread gets the short lead-in, on its sheet as on its model.
double TSocketLeaderPin::LeadIn() const
{
  return ThreadLen > 0.0 ? 8.0 : 2.0;
}

TSocketLeaderPin& TSocketLeaderPin::operator=(const TSocketLeaderPin& o)
{
  Len = o.Len;
  FLen = o.FLen;
  FRadius = o.FRadius;
  OFLen = o.OFLen;
  OFRadius = o.OFRadius;
  Radius = o.Radius;
  CollarHeight = o.CollarHeight;
  CollarRadius = o.CollarRadius;
  ThreadRadius = o.ThreadRadius;
  ThreadLen = o.ThreadLen;
  return *this;
}

int TSocketLeaderPin::Set(int DetId, const Real& R, const Real& T1, const Real& T2)
{
  if (DetId != PillarTable) return 0;
  LoadTables();
  int I = ABaseDetail.IndexStDet(PillarTable, 2, 2.0 * R, 7, T1, 8, T2);
  if (I == 0) I = ABaseDetail.IndexStDet(PillarTable, 2, 2.0 * R, 7, T1, -8, T2);
  if (I != 0) {
    Radius = Col(PillarTable, I, 1) / 2.0;
    Len = Col(PillarTable, I, 8);
    FLen = Col(PillarTable, I, 5);
    OFLen = Col(PillarTable, I, 7);
    OFRadius = Col(PillarTable, I, 2) / 2.0;
    CollarHeight = Col(PillarTable, I, 4);
    CollarRadius = Col(PillarTable, I, 3) / 2.0;
    ThreadRadius = 0.0;
    ThreadLen = 0.0;
    // The table gives the seat with the collar.
    OFLen -= CollarHeight;
  }
  Chosen(*this, PillarTable, I);
  return I;
}

void TSocketLeaderPin::Show(TGImage& GI, const TColor& Color) const
{
  if (!Design) return;
  GI.drColorStyle(Color, psSolid);
  GI.drCircle(LD.x, RU.y, Radius);
  GI.drCircle(LD.x, LD.y, Radius);
  GI.drCircle(RU.x, RU.y, Radius);
  GI.drCircle(RU.x, LD.y, Radius);
}

void TSocketLeaderPin::toStream(TKmfData& S) const
{
  if (!Complement) Write(S, {LD.x, RU.y, RU.x, LD.y});
  WriteHead(S, *this);
  Write(S, {Len, FLen, FRadius, OFLen, OFRadius, Radius, CollarHeight, CollarRadius, ThreadRadius, ThreadLen,
            Key});
}

void TSocketLeaderPin::fromStream(TKmfData& S)
{
  if (!Complement) Read(S, {&LD.x, &RU.y, &RU.x, &LD.y});
  ReadHead(S, *this);
  Read(S, {&Len, &FLen, &FRadius, &OFLen, &OFRadius, &Radius, &CollarHeight, &CollarRadius, &ThreadRadius,
           &ThreadLen});
  // Records before the key width: the collar was taken as flat-free, a shade over the seat.
  if (S.Version() < 49)
    Key = 2.0 * FRadius + 1.0;
  else
    S.Read(Key);
}

void TSocketLeaderPin::dr2D_VZ(const Real& mx, const Real& my, const Real& ma, const Real& ms, int tl,
                               bool isSize) const
{
  dr2D_LeaderPin_V1(mx, my, ma, ms, Radius, FRadius, CollarRadius, 8.0, Len, OFLen, CollarHeight,
                    FLen + CollarHeight, tl, isSize, Key, ThreadRadius, ThreadLen);
}

namespace {

// Why no sound pillar can be made of p's sizes, or null. Its outline: the guide Radius over Len with its
// lead-in and a groove 3 long and 0.3 deep, the seat FRadius over OFLen, the collar CollarRadius over
// CollarHeight (its flats Key across, or none), the fixed end FRadius over FLen with its internal thread
// ThreadRadius ThreadLen deep (its drill 7 deeper); the guide's flat 0.2 deep.
const char* PillarFault(const TSocketLeaderPin& p)
{
  // The seat is drawn and modelled at FRadius: OFRadius, kept in the record, draws nothing.
  if (!Positive({p.Radius, p.FRadius, p.CollarRadius, p.Len, p.CollarHeight}) ||
      !NotNegative({p.OFLen, p.FLen, p.Key, p.ThreadLen, p.ThreadRadius}))
    return "размеры должны быть положительными";
  // The fixed part and the seat are the collar's width or narrower by a step the sheet can write: its
  // diameters are given to hundredths, and a step finer than that is none the model can cut either.
  if (p.Radius >= p.CollarRadius || p.FRadius > p.CollarRadius ||
      (p.FRadius != p.CollarRadius && 2.0 * (p.CollarRadius - p.FRadius) < 0.01))
    return "буртик не шире колонки";
  if (p.Radius <= 0.3 + 0.2 || p.FRadius <= 0.3) return "колонка тоньше канавки";
  if (p.Len <= p.LeadIn() + 6.0) return "направляющая часть короче заходного конуса и канавки";
  if (p.Key != 0.0 && (p.Key >= 2.0 * p.CollarRadius || p.Key <= 0.0)) return "лыски шире буртика";
  if ((p.ThreadLen > 0.0) != (p.ThreadRadius > 0.0)) return "резьба задана не полностью";
  // The thread's drill runs 7 beyond it, and may run on through the seat into the guide part.
  const double whole = std::max(p.CollarHeight + p.FLen, p.CollarHeight) + p.OFLen + p.Len - p.LeadIn();
  if (p.ThreadLen > 0.0 && (p.ThreadRadius <= 1.0 || p.ThreadRadius >= std::min(p.Radius, p.FRadius) - 0.5 ||
                            p.ThreadLen + 7.0 >= whole))
    return "резьба не помещается в колонке";
  return nullptr;
}

} // namespace

void TSocketLeaderPin::dr2D() const
{
  if (!M2.Ptr || RefuseSizes("колонка направляющая", PillarFault(*this))) return;
  const bool threaded = ThreadLen > 0.0;
  // The overall length is a reference size: the requirement says what its star means.
  drMouldSheet(
      M(), Id, Len + Key + 20.0, -CollarRadius,
      [&](TModeler3D& Md) {
        // Without the end view left of it, the side view and the groove's detail under it stand further in:
        // the lead-in's angle opens to the left of the guide's end, past the diameters given there, and keeps
        // its rays off the part.
        const double inset = threaded ? 0.0 : 20.0;
        const double mx = threaded ? Len + Key - CollarHeight : inset;
        // The lead-in the model gets.
        dr2D_LeaderPin_V1(mx, 0.0, 0.0, 1.0, Radius, FRadius, CollarRadius, LeadIn(), Len, OFLen,
                          CollarHeight, CollarHeight + FLen, 1, true, Key, ThreadRadius, ThreadLen);
        const TString letter = threaded ? TString("В") : TString("А");
        // The groove of the seat by the collar, which the detail below enlarges.
        if (OFLen != 0.0) {
          Md.drMtr(mx - CollarHeight, 0.0, 0.0, 1.0);
          Md.drCircleShelf(-1.5, FRadius, 3.0, -5.0, FRadius + 23.0, letter);
          // The guide's groove before the seat has the same shape.
          Md.drCircleShelf(-1.5 - OFLen, -Radius, 3.0, -5.0 - OFLen, -FRadius - 23.0, letter);
          Md.drDeleteMtr();
        }
        // View A left of the guide's end, its flats at least as far from it as the table's shortest pillar
        // has them: the lead-in's angle and its roundings' values stand between.
        if (threaded) {
          const double guideEnd = mx - CollarHeight - Len - OFLen;
          const double viewA =
              std::min(-0.5 * Key - Len - 15.0 + CollarHeight, guideEnd - 0.5 * Key - ViewARoom);
          dr2D_KolonkaKriplennya_V2(viewA, 0.0, 0.0, 1.0, Radius, FRadius, CollarRadius, 0.0, 0.0, 0.0,
                                    CollarHeight, CollarHeight + FLen, 1, true, Key, ThreadRadius, 0.0);
        }
        // The fixed part's groove by the collar is the seat's, and the detail shows them both.
        // Its letter stands 23 under the fixed part on the sheet, past the lengths by the end face there,
        // whatever the view's scale.
        if (CollarRadius != FRadius && FixedRelief(FLen)) {
          Md.drMtr(mx - CollarHeight, 0.0, 0.0, 1.0);
          Md.drCircleShelf(CollarHeight + 1.5, -FRadius, 3.0, CollarHeight + 5.0,
                           -FRadius - 23.0 / DrawnScale(Md), letter);
          Md.drDeleteMtr();
        }
        // Without a thread the sheet has no view of the fixed end, but the flat and the guide's groove
        // still need their section and detail, which stand below the guide.
        if (!threaded) {
          // The section through the flat at the flat's middle: clear of the guide groove's callout by the
          // end.
          const double xc = (LeadIn() - Len - 4.0) / 2.0 - OFLen;
          Md.drMtr(mx - CollarHeight, 0.0, 0.0, 1.0);
          Md.drCircleShelf(GrooveCentre(LeadIn(), Len + OFLen, OFLen), Radius, 3.0, LeadIn() - Len - OFLen,
                           FRadius + 10.0, "Г");
          Md.drCut(7.0 / DrawnScale(Md), 1.0, 75.0, "Б", xc, FRadius + 8.0, -1, xc, -FRadius - 8.0, -1);
          Md.drPoint(xc, FRadius + 8.0);
          Md.drPoint(xc, -FRadius - 8.0);
          Md.drEndObj();
          Md.drDeleteMtr();
          dr2D_GuideSection(2.0 * Radius + 5.0 - CollarHeight - Len - OFLen,
                            -100.0 - CollarRadius - PillarSectionDrop(Radius), Radius, 1, true);
        }
        // A threaded pillar's detail stands right of the collar face's line below the sizes, where the face's
        // sign, too near the fixed end's extension line or the collar's other face to stand beside the
        // collar, is carried: moved up off the title block or the guide's detail, the detail would take that
        // place. Drawn reduced, the fixed end stands by the frame's right side, which leaves the detail no
        // room there beside the sign: it stands left of the face's line, clear of the sign turned either way.
        TCommonGeometry G(0, &Md);
        const double scale = 4.0, depth = 0.3, length = 3.0, paper = DrawnScale(Md);
        const double detailX =
            !threaded ? 40.0 + inset
            : paper < 1.0
                ? mx - (SignReachAcross + 2.0 +
                        TCommonGeometry::GrooveDetailRight(scale, length, depth, letter)) /
                           paper
                : mx + SignReachAcross + 2.0 - TCommonGeometry::GrooveDetailLeft(scale, depth, false);
        G.drCVR_dV(detailX, -100.0 - CollarRadius - inset, 0.0, scale, length, depth, 0.5, letter, true);
      },
      1);
}

void TSocketLeaderPin::dr3D(int) const
{
  if (!M2.Ptr || RefuseSizes("колонка направляющая", PillarFault(*this))) return;
  const TMouldBuildMark mark = drMouldBuildMark(M());
  if (!OpenPart(*this, txapi::o3d_planeYOZ)) return;
  TModeler3D& Md = M();
  dr2D_LeaderPin_V1(0.0, 0.0, 0.0, 1.0, Radius, FRadius, CollarRadius, LeadIn(), Len, OFLen, CollarHeight,
                    FLen + CollarHeight, 0, false, Key, ThreadRadius, ThreadLen);
  Md.drBaseRotate(0, 360.0);
  const TString none;
  // The flat along the guide part.
  // The flat along the guide part, from the guide end to 4 short of the seat, as the sheet gives it:
  // it never reaches the seat.
  Md.drPlaneEskis(txapi::o3d_planeXOY, CollarHeight + OFLen + 4.0, 0.0, none);
  Md.drRectAngle(-Radius, -Radius, 0.2 - Radius, Radius, 1);
  Md.drCutExtrusion(txapi::dtNormal, txapi::etBlind, Len - 4.0, 0.0);
  if (Key != 0.0) {
    Md.drPlaneEskis(txapi::o3d_planeXOY, CollarHeight, 0.0, none);
    Md.drRectAngle(-CollarRadius, -CollarRadius, -Key / 2.0, CollarRadius, 1);
    Md.drRectAngle(CollarRadius, -CollarRadius, Key / 2.0, CollarRadius, 1);
    Md.drCutExtrusion(txapi::dtReverse, txapi::etBlind, CollarHeight, 0.0);
  }
  if (drMouldDiscardFailed(Md, mark)) return;
  Grey(Md);
  const TString file = Md.drFileName3D();
  Md.drClose3D(true, tNotExist);
  drMouldSaved(Md, file);
}

void TSocketLeaderPin::dr2D_LeaderPin_V1(const Real& mx, const Real& my, const Real& ma, const Real& ms,
                                         const Real& r42, const Real& r41, const Real& r43, const Real& x40,
                                         const Real& ix41, const Real& x46, const Real& x42, const Real& ix43,
                                         int tl, bool isSize, const Real& ix45, const Real& r44,
                                         const Real& x44) const
{
  TModeler3D& Md = M();
  const double x43 = std::max(ix43, x42);
  const double x41 = ix41 + x46;
  const double t = Tan30;
  const double x45 = GrooveCentre(x40, x41, x46);
  // The middle of the lead-in's taper, where its two roundings part.
  const double midx = (x40 - 2.0 * x41) / 2.0, midy = (2.0 * r42 - x40 * t) / 2.0;

  Md.drMtr(mx, my, ma, ms);
  Md.drMtr(-x42, 0.0, 0.0, 1.0);
  Md.drLine(x43 + 2.0, 0.0, -2.0 - x41, 0.0, 3);

  // Contour 1 is written from its far end back: the guide part's taper closes it.
  TNode* guide = dCVR(-x46, r42 - 0.3, -2.7 - x46, r42 - 0.3, -3.0 - x46, r42, 0.1,
                      dPx(-3.0 - x46, r42,
                          dP(x45 + dxK, r42,
                             dA(x45, r42 + 1.7, -2.0, x45 - dxK, r42,
                                dCLL(x40 - x41, r42, midx, midy, 4.0, dCLL(-x41, r42 - x40 * t, -x41, 0.0, 1.6))))));
  TNode* seat = x46 != 0.0
                    ? dCVR(0.0, r41 - 0.3, -2.7, r41 - 0.3, -3.0, r41, 0.1,
                           dPx(-3.0, r41, dPx(2.0 - x46, r41, dPx(-x46, r41 - 0.9999999999999999, guide))))
                    : guide;
  TNode* rest = dPx(0.0, r43, seat);
  if (x43 != x42) {
    TNode* relief = (r43 != r41 && FixedRelief(x43 - x42))
                        ? dPx(x42 + 3.0, r41,
                              dCVR(x42 + 2.7, r41 - 0.3, x42, r41 - 0.3, x42, r43, 0.1, dPx(x42, r43, rest)))
                        : dCLL(x42, r41, x42, r43, 0.1, rest);
    // A fixed part shorter than its chamfer is all chamfer, at the chamfer's slope from the collar's face.
    const double cf = FixedChamfer(x43 - x42);
    rest = cf < 1.0 ? dPx(x43, r41 - cf / 2.0, relief)
                    : dPx(x43, r41 - 0.49999999999999994, dPx(x43 - 1.0, r41, relief));
  } else {
    rest = dPx(x42, r43, rest);
  }
  TNode* head;
  if (x44 != 0.0 && r44 != 0.0)
    head =
        dTL(tl != 0 ? 3 : 1,
            dP(x43 - x44 - 7.0, 0.0,
               dTL(tl != 0 ? 4 : 1, dPx(x43 - x44 - 5.0, r44 - 1.0,
                                        dPx(x43 - x44, r44 - 1.0,
                                            dPnm(x43 - x44, r44,
                                                 dPx(x43 - 1.0, r44 - 1.0,
                                                     dP(x43, r44, dPnm(x43 - x44, r44, dTL(tl, rest))))))))));
  else
    head = dTL(tl != 0 ? 3 : 1, dP(x43, 0.0, dTL(tl, dP(x43, r44, rest))));
  TContDrawing c1(&Md);
  c1.Make(-x41, 0.0, head);

  // Contour 2: the edges of the guide's flat. It starts where its first quarter arc does. The bare
  // outline (tl 0) leaves it out, so it is not built then.
  const double a = -4.0 - x46 - dxK, b = x45 + dxK, c = x45 - dxK, d = x40 - x41;
  TContDrawing c2(&Md);
  if (tl != 0)
    c2.Make(
        a + dxK, 0.0,
        dA(a, 0.0, dxK, a, dxK,
           dP(b, dxK,
              dP(b, r42,
                 dP(b, dxK,
                    dP(x45, 0.0,
                       dP(c, dxK, dP(c, r42, dP(c, dxK, dP(d, dxK, dA(d, 0.0, dxK, d - dxK, 0.0)))))))))));

  const int tens = tl / 10, u = tl % 10;
  if (tens == 1) {
    c1.dr2D(u);
    c2.dr2D(u);
  } else if (tens == 2) {
    c1.dr2DMY(u);
    c2.dr2DMY(u);
  } else if (tl == 0) {
    c1.dr2D(0);
  } else {
    c1.dr2D(u);
    c2.dr2D(u);
    c1.dr2DMY(u);
    c2.dr2DMY(u);
    const double D = ix45 == 0.0 ? 2.0 * r43 : ix45;
    if (r43 > D / 2.0) {
      const double h = std::sqrt(std::fabs(r43 * r43 - D * D / 4.0));
      Md.drLine(0.0, -h, x42, -h, tl);
      Md.drLine(0.0, h, x42, h, tl);
    }
  }

  if (isSize) {
    const TString none;
    const double D = ix45 == 0.0 ? 2.0 * r43 : ix45;
    Md.drLine(x45, r42, x45, -r42, 3);
    // The lead-in's angle: its ray along the guide ends at the end face, whose extension line every
    // length from the end shares. A lead-in long enough to hold the arc has it from its foot, as long as
    // the lead-in; a short one has it past the end face, from the taper's small end where the taper and
    // the face would meet without their rounding.
    if (x40 >= 6.0)
      Md.drDimApc(30.0, 180.0, x40, 0.0, none, x40 - x41, -r42);
    else
      Md.drDimApc(30.0, 180.0, 12.0, 0.0, none, -x41, x40 * t - r42);
    // The fixed part: its length, which only the overall reference size gave before, and the 1 x 0.5
    // chamfer of its end. A collar that is the end has no chamfer. The chamfer nests in the length, and
    // the thread's depth below nests in it too where the thread ends within the fixed part, or holds it
    // where the thread reaches the collar's face; all nest in the overall length. They are asked innermost
    // first: the layout brings a nested length back inside only a longer one already settled.
    // A chamfer the whole fixed part long has its length given by the fixed part's.
    // The thread's depth is the bore's, a length inside the part: where it would reach into a
    // length outside without reaching past it, it stands above, on the side the bore is drawn.
    const bool fixed = std::fabs(x43 - x42) > 2e-6;
    const double cf = FixedChamfer(x43 - x42);
    const bool depthAbove = DepthAbove(x43 - x44, x42);
    const bool depthInFixed = !depthAbove && x43 - x44 > x42 + 1e-6;
    const auto depth = [&] {
      if (depthAbove)
        Md.drDimHL(x44, 22.0, -1.0, x43 - x44, r44, x43, r41 - 1.0, none, "H14", none);
      else
        Md.drDimHL(x44, -22.0, -1.0, x43 - x44, -r44, x43, 1.0 - r41, none, "H14", none);
    };
    const auto fixedLengths = [&] {
      if (!fixed) return;
      if (cf == 1.0) Md.drDimHL(1.0, -10.0, 1.0, x43, 0.5 - r41, x43 - 1.0, -r41, none, none, none);
      if (depthInFixed) depth();
      Md.drDimHL(x43 - x42, -30.0, 1.0, x42, -r43, x43, cf / 2.0 - r41, none, "js14", none);
    };
    // Of the two lengths meeting at the collar's face the shorter takes the inner line: a fixed part shorter
    // than the collar, its value outside its arrows, asked after the collar's height, found the face's arrow
    // on every line down to the guide's lengths and settled below them, far from the part.
    const bool fixedFirst = fixed && x43 - x42 < x42 && ValueOutside(x43 - x42);
    if (fixedFirst) fixedLengths();
    Md.drDimHL(x42, -30.0, 1.0, x42, -r43, 0.0, -r43, none, "h12", none);
    Md.drDimHL(x40, -10.0, 1.0, -x41, 0.0, x40 - x41, -r42, none, "js14", none);
    Md.drDimHL(x40 + 8.0, -20.0, 1.0, -x41, 0.0, x45, -r42, none, none, "&03~0,2");
    Md.drDimHL(x41 - x46 - 4.0, -30.0 - r42, 1.0, -x41, 0.0, -4.0 - x46, 0.0, none, none, "&03~0,2");
    const bool crowded = depthAbove && CollarFaceCrowded(x42, x43 - x42);
    Md.drDimHL(x41, crowded ? -30.0 : -41.0, 1.0, -x41, 0.0, 0.0, -r43, none, "js14", none);
    if (!fixedFirst) fixedLengths();
    // The thread's diameter stands threadPoints inside the end face, its line threadLine past the face.
    const double off11 = double(MouldWhole(r41 - r44)) + 5.0;
    constexpr double threadPoints = 7.0;
    const double threadLine = ThreadLineOffset(off11, threadPoints) - threadPoints;
    if (fixed) {
      Md.drDimVL(cf / 2.0, ChamferDepthOffset(r41 - cf / 2.0 - r44, x43 - x42, cf, threadLine), 1.0, x43 - cf, -r41, x43,
                 cf / 2.0 - r41, none, none, none);
    }
    // The thread's 1 x 45 countersink stands above, in the depth where that stands above too: asked
    // first then, so that the depth settles outside it (a thin thread's, asked farther out, stood beyond).
    const auto countersink = [&] {
      Md.drDimHL(Zn(r44), off11, -1.0, x43 - 1.0, r44 - 1.0, x43, r41 - 1.0, none, none, "&04~45&01");
    };
    if (depthAbove) countersink();
    if (!depthInFixed) depth();
    Md.drDimHL(x43 + x41, -52.0 - r43 + r41 - 1.0, -1.0, -x41, 0.0, x43, 1.0 - r41, none, none, "*");
    if (!depthAbove) countersink();
    Md.drDimVL(2.0 * r44, threadLine + threadPoints, MouldWhole(r44 - 1.0 - r41), x43 - threadPoints,
               -r44, x43 - threadPoints, r44, "M", none, "-7H");
    // Without a fixed part the collar is the end: its height is given once, above; the seat's groove
    // is called out by the sheet that draws its detail. The sign is the seat's: none without a seat.
    const bool seatSign = std::fabs(x43 - x42) <= 2e-6 && x46 > 0.0;
    if (seatSign) {
      Md.drRough(x43 + 5.0, depthAbove ? -r41 : r41, depthAbove ? -90.0 : 90.0, txapi::txRoughSignEnum(0),
                 "0,8", none, none);
    }
    // Without the end view the seat's and the collar's diameters are given here.
    if (!(x44 > 0.0 && r44 != 0.0)) {
      // The seat's across the seat itself, midway between its chamfer and its groove: to the left its
      // extension lines would run the guide's whole length. A seat longer than the collar is wide takes it
      // nearer its chamfer, so that its extension lines never run along the seat farther than the part is
      // across. A guide that runs up to the collar has no seat to size.
      if (x46 > 0.0)
        Md.drDimVL(2.0 * r41, SeatDiameterOffset(x46, r43, seatSign), 1.0, 2.0 - x46, -r41, 2.0 - x46, r41,
                   "&02", "h6", none);
      // The collar's from its face towards the fixed end, where its extension lines run along the fixed
      // part no farther than the collar is across; else across the collar itself, its value beyond the rim.
      if (!RunsFartherThanAcross(x43 - x42, 2.0 * r43))
        Md.drDimVL(2.0 * r43, 8.0, 1.0, x42, -r43, x42, r43, "&02", "h14", none);
      else
        Md.drDimVL1(2.0 * r43, 0.5, -1.0, x42 / 2.0, -r43, x42 / 2.0, r43, "&02", "h14", none);
    }
    // View A, section Б-Б and detail Г are drawn beside a threaded pillar only: without them a
    // callout would point at nothing.
    if (x44 > 0.0 && r44 != 0.0) {
      Md.drCircleShelf(x45, r42, 3.0, x40 - x41, r41 + 10.0, "Г");
      // View A looks at the fixed end: the arrow points at it.
      if (D != 2.0 * r43)
        Md.drWPointer(x43 + 35.0, 0.0, x43 + 25.0, 0.0, x43 + 27.0, 2.0, 7.0, 1.0, 75.0, "А");
      const double xc = x40 + 4.0 - x41;
      Md.drCut(7.0 / DrawnScale(Md), 1.0, 75.0, "Б", xc, r41 + 25.0, -1, xc, -84.0 - r41, -1);
      Md.drPoint(xc, r41 + 25.0);
      Md.drPoint(xc, -63.0 - r41);
      Md.drEndObj();
    }
    Md.drRough(-28.0 - x41, r42, 90.0, txapi::txRoughSignEnum(0), "0,4", none, none);
    // The lead-in's roundings are sized where they are drawn, from the centres the contour rounds them
    // about; a short lead-in leaves its corners sharp, and then there is nothing to size.
    double ox = 0.0, oy = 0.0;
    if (CornerCentre(midx, midy, -x41, r42 - x40 * t, -x41, 0.0, 1.6, ox, oy))
      Md.drDimR(1.6, none, 120.0, 20.0, 10, -1, ox, oy, 2, 1, "R", none, none);
    if (CornerCentre(x45 - dxK, r42, x40 - x41, r42, midx, midy, 4.0, ox, oy))
      Md.drDimR(4.0, none, 120.0, 30.0, 10, -1, ox, oy, 2, 1, "R", none, none);
    // The collar face's sign on the face's extension line below the collar; where the sizes' lines cross
    // it there, the layout takes it along the face's line (turned over, or above the collar).
    Md.drRough(x42, -4.0 - r43, 0.0, txapi::txRoughSignEnum(0), "3,2", none, none);
  }
  Md.drDeleteMtr();
  Md.drDeleteMtr();
}

void TSocketLeaderPin::dr2D_KolonkaKriplennya_V2(Real mx, Real my, Real ma, Real ms, Real r42, Real r41,
                                                 Real r43, Real, Real, Real, Real x42, Real x43, int tl,
                                                 bool isSize, Real x45, Real r44, Real) const
{
  TModeler3D& Md = M();
  const TString none;
  const double S = std::sqrt(std::fabs(r43 * r43 - x45 * x45 / 4.0)), k = x45 / 2.0;
  // The fixed part beyond the collar (x42 to x43) stands in front of the collar's face; without it the
  // collar is the end and the seat lies behind it, seen only where it reaches past the flats.
  const bool fixed = x43 > x42;
  const bool flats = k < r43;
  // Where the seat's circle meets the flats: it covers them there, or shows past them.
  const double h = flats && r41 > k ? std::sqrt(r41 * r41 - k * k) : 0.0;
  Md.drMtr(mx, my, ma, ms);
  Md.drText(-10.0, r43 + 20.0, 0.0, 6.0 / DrawnScale(Md), 1.0, 75, ::DC("Вид А"));
  // The tapped hole, and the end face's 1 x 0.5 chamfer on the fixed part.
  Md.drCircle(0.0, 0.0, r44 - 1.0, tl);
  Md.drArc(0.0, 0.0, r44, 0.0, r44, r44, 0.0, 1, 2);
  if (fixed) {
    Md.drCircle(0.0, 0.0, r41 - FixedChamfer(x43 - x42) / 2.0, tl);
    Md.drCircle(0.0, 0.0, r41, tl);
  } else if (h > 0.0) {
    // The seat beyond the flats; behind the collar it is hidden.
    for (const double side : {1.0, -1.0}) {
      Md.drArc(0.0, 0.0, r41, side * k, -side * h, side * k, side * h, 1, tl);
      Md.drArc(0.0, 0.0, r41, side * k, side * h, -side * k, side * h, 1, 4);
    }
  } else {
    Md.drCircle(0.0, 0.0, r41, 4);
  }
  TContDrawing c(&Md);
  if (!flats) {
    c.Make(r43, 0.0, dA(0.0, 0.0, r43, -r43, 0.0, dA(0.0, 0.0, r43, r43, 0.0)));
  } else if (fixed && h > 0.0) {
    // The flats' edges end where the fixed part covers them.
    c.Make(k, S,
           dA(0.0, 0.0, r43, -k, S,
              dP(-k, h, dSP(-k, -h, dP(-k, -S, dA(0.0, 0.0, r43, k, -S, dP(k, -h, dSP(k, h, dP(k, S)))))))));
  } else {
    c.Make(k, S, dA(0.0, 0.0, r43, -k, S, dP(-k, -S, dA(0.0, 0.0, r43, k, -S, dP(k, S)))));
  }
  c.dr2D(tl);
  Md.drLine(-2.0 - x45 / 2.0, 0.0, x45 / 2.0 + 2.0, 0.0, 3);
  Md.drLine(0.0, r43 + 2.0, 0.0, -2.0 - r43, 3);
  if (isSize) {
    Md.drDimVL(2.0 * r43, -x45 / 2.0 - 10.0, 1.0, 0.0, -r43, 0.0, r43, "&02", "h14", none);
    Md.drDimVL(2.0 * r41, x45 / 2.0 + 10.0, 1.0, 0.0, -r41, 0.0, r41, "&02", "h6", none);
    Md.drDimHL(x45, r43 + 10.0 - S, 1.0, -x45 / 2.0, S, x45 / 2.0, S, none, "h14", none);
  }

  dr2D_GuideSection(0.0, -100.0 - r43 - PillarSectionDrop(r42), r42, tl, isSize);
  Md.drDeleteMtr();
}

void TSocketLeaderPin::dr2D_GuideSection(const Real& mx, const Real& my, const Real& r42, int tl,
                                         bool isSize) const
{
  TModeler3D& Md = M();
  const TString none;
  // Section B-B through the guide's flat, twice enlarged, below the view; its titles stand 6 high
  // on the sheet.
  const double enlarged = 2.0;
  const double A = 2.0 * r42 - 0.2;
  const double w = std::sqrt(std::fabs(r42 * r42 - (r42 - 0.2) * (r42 - 0.2)));
  const double titleY = std::max((r42 + 15.0) / 2.0, r42 + 3.0);
  // The flat's width stands below the section, on the sheet 20 + r42 below the flat's lower edge, its
  // extension lines 2 past; where that falls off the paper, the section being low on it, the width stands
  // above the section's title instead, 2 over its letters (6 high), so that the layout need not take it over
  // the section onto the title.
  // The width's value, 3.5 high 1 over its line, lies across the section's upright centre line, which reaches 2
  // past the section: a line asked so near that the value meets that line's end the layout takes lower, by
  // its steps of 0.5, and its extension lines with it.
  double px = mx, py = my;
  const double centreEnd = enlarged * (r42 + 2.0), valueOver = 1.0 + 3.5, step = 0.5;
  const double below = std::max(enlarged * w + 20.0 + r42, centreEnd + valueOver + step) + 2.0;
  if (isSize)
    Md.drFreePlace(px, py, -enlarged * (r42 + 2.0), -below, enlarged * (r42 + 2.0), -enlarged * r42);
  const bool widthAbove = px != mx || py != my;
  const double widthOff = widthAbove ? enlarged * (titleY + w) + 6.0 + 2.0 : -20.0 - r42;
  Md.drMtr(mx, my, 0.0, enlarged);
  TContDrawing c(&Md);
  c.Make(0.2 - r42, w, dA(0.0, 0.0, -r42, 0.2 - r42, -w, dP(0.2 - r42, w)));
  c.dr2D(tl);
  Md.drHatch(0, 45.0, 3.0);
  c.dr2D(1);
  Md.drEndObj();
  Md.drLine(-r42 - 2.0, 0.0, r42 + 2.0, 0.0, 3);
  Md.drLine(0.0, -r42 - 2.0, 0.0, r42 + 2.0, 3);
  if (isSize) {
    // Above the section's centre line, which reaches 2 past it: nothing runs through the title.
    Md.drText(-5.0, titleY, 0.0, 6.0 / DrawnScale(Md), 1.0, 75, ::DC("Б-Б"));
    Md.drDimHL(A, widthOff, -1.0, 0.2 - r42, -w, r42, 0.0, none, "h14", none);
    // The guide's diameter is given on its section: beyond the guide's end its extension lines would
    // run along the lead-in's angle and under its roundings' leaders, and far from the guide.
    Md.drDimD(2.0 * r42, none, 45.0, 10, 1, 0.0, 0.0, 1, "&02", "f7", none);
  }

  // Detail G: the groove, inside the section's scale.
  Md.drMtr(r42 + 10.0, 0.0, 0.0, 1.0);
  c.Make(-5.0, 0.0,
         dP(-dxK, 0.0,
            dP(-dxK, -5.0,
               dP(-dxK, 0.0, dA(0.0, 1.7, 2.0, dxK, 0.0, dP(dxK, -5.0, dP(dxK, 0.0, dP(5.0, 0.0))))))));
  c.dr2D(tl);
  c.Make(-5.0, 0.0, dP(-dxK, -5.0, dP(dxK, -5.0, dP(5.0, -dxK))));
  c.dr2D(5);
  Md.drLine(0.0, 0.0, 0.0, -5.0, 3);
  if (isSize) {
    Md.drText(-2.0, (r42 + 10.0) / 2.0, 0.0, 6.0 / DrawnScale(Md), 1.0, 75, ::DC("Г(2:1)"));
    Md.drDimVL(0.3, 15.0, -1.0, 5.0, 0.0, 0.0, -0.3, none, none, none);
    // Its leader reaches the groove left of the bottom: the depth's extension line runs off to the right.
    Md.drDimR(2.0, none, -110.0, -5.0, 0, 0, 0.0, 1.7, 1, 0, "R", none, none);
  }
  Md.drDeleteMtr();
  Md.drDeleteMtr();
}
