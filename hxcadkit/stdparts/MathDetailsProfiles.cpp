// Half profiles of the ejector pin, the sprue bush, the locating ring, the ejector rod, the
// support washer, the set screw, the ejector plug and the centring bush. Each draws the part's
// axial section with its axis on the local X axis, as a sheet's section with dimensions or, with
// tl 0 and no sizes, as the closed upper half that a model revolves. Sizes are taken as given;
// only sizes that would put a NaN or an infinity into the modeller are refused, and the profile
// then draws nothing and says so.
#include <algorithm>
#include <cmath>
#include <initializer_list>

#include "hxcadkit/drawing/Cuthole.h"
#include "hxcadkit/drawing/MathDetail2.h"
#include "hxcadkit/drawing/MathDetails.h"
#include "hxcadkit/drawing/drNodeCont.h"
#include "hxcadkit/geometry/Mathemat.h"
#include "hxcadkit/stdparts/MathDetailsl.h"

namespace {

constexpr double cTan30 = 0.5773502691896257;
constexpr double cTan3 = 0.05240777928304121;
constexpr double cTan1 = 0.017455064928217585;
constexpr double cDegree = 0.017453292519943295;

enum TDimKind { dHL, dVL, dVL1, dVL2 };

// One linear dimension, in the order of the drawings' tables.
struct TDim
{
  TDimKind Kind;
  double Value, Off, Pt, X1, Y1, X2, Y2;
  const char *S1, *S2, *S3;
};

void Dims(TModeler3D& M, std::initializer_list<TDim> rows)
{
  for (const TDim& d : rows) {
    const TString s1(d.S1), s2(d.S2), s3(d.S3);
    switch (d.Kind) {
    case dHL:
      M.drDimHL(d.Value, d.Off, d.Pt, d.X1, d.Y1, d.X2, d.Y2, s1, s2, s3);
      break;
    case dVL:
      M.drDimVL(d.Value, d.Off, d.Pt, d.X1, d.Y1, d.X2, d.Y2, s1, s2, s3);
      break;
    case dVL1:
      M.drDimVL1(d.Value, d.Off, d.Pt, d.X1, d.Y1, d.X2, d.Y2, s1, s2, s3);
      break;
    case dVL2:
      M.drDimVL2(d.Value, d.Off, d.Pt, d.X1, d.Y1, d.X2, d.Y2, s1, s2, s3);
      break;
    }
  }
}

// A roughness sign of the plain kind with its value.
void Rough(TModeler3D& M, double x, double y, double Fi, const char* value)
{
  M.drRough(x, y, Fi, txapi::txNoProcessingType, TString(value), TString(), TString());
}

// The radius Val of an arc about (xc, yc), its leader asked at angle degrees: about the centre the part
// draws it with, so that its arrow lands on the arc.
void ArcRadius(TModeler3D& M, const double& Val, int Pt, double xc, double yc, double angle,
               const char* after)
{
  M.drDimR(Val, TString(), angle, 0.0, Pt, Pt, xc, yc, 1, 0, TString("R"), TString(), TString(after));
}

// Both halves hatched together: the boundary is each half drawn with code 0.
void HatchBoth(TModeler3D& M, const TContDrawing& c, double angle, double step)
{
  M.drHatch(0, angle, step);
  c.dr2D(0);
  c.dr2DMY(0);
  M.drEndObj();
}

// The outline by the tens digit of tl: 1 the upper half in code tl % 10, hatched; 2 the same
// mirrored below the axis; anything else the upper half in code tl and, but for a sketch
// (tl 0), the lower one in code lower and both halves hatched.
void HalvesByTens(TModeler3D& M, const TContDrawing& c, int tl, int lower, double angle, double step)
{
  const int tens = tl / 10;
  if (tens == 1 || tens == 2) {
    const bool mirror = tens == 2;
    mirror ? c.dr2DMY(tl % 10) : c.dr2D(tl % 10);
    M.drHatch(0, angle, step);
    mirror ? c.dr2DMY(0) : c.dr2D(0);
    M.drEndObj();
    return;
  }
  c.dr2D(tl);
  if (tl == 0) return;
  c.dr2DMY(lower);
  HatchBoth(M, c, angle, step);
}

} // namespace

// --- Ejector pin -------------------------------------------------------------------------------

void TEjectorPin::dr2D_V1(const Real& mx, const Real& my, const Real& ma, const Real& ms, const Real& d,
                          const Real& D, const Real& k, const Real& R, const Real& L, Integer tl, bool isSize)
{
  if (!PlacedFinite(Extent({d, D, k, R, L}), mx, my, ma, ms)) return RefuseElement("выталкиватель");
  TModeler3D& Md = M();
  Md.drMtr(mx, my, ma, ms);
  // The underside of the head at the placement's origin.
  Md.drMtr(-k, 0.0, 0.0, 1.0);
  TContDrawing c(&Md);
  c.Make(0.0, 0.0, dP(0.0, D, dPx(k, D, dCLL(k, d, L, d, R, dP(L, 0.0, dPt0(0.0, 0.0))))));
  c.drContBlock(tl, true, tl != 0, false);
  Md.drLine(-3.0, 0.0, L + 3.0, 0.0, 3);
  // Only on request: a sketch that a model revolves must not carry dimensions.
  if (isSize) {
    Dims(Md, {{dVL, 2.0 * D, -10.0, -1.0, 0.0, -D, 0.0, D, "&02", "h14", ""},
              {dVL, 2.0 * d, 10.0, -1.0, L, -d, L, d, "&02", "f7", ""},
              {dHL, k, -10.0, -1.0, 0.0, -D, k, -D, "", "h6", ""},
              {dHL, L, -20.0, -1.0, 0.0, -D, L, -d, "", "h6", ""}});
    Rough(Md, 0.0, -17.0 - D, 180.0, "0,8");
  }
  Md.drDeleteMtr();
  Md.drDeleteMtr();
}

// --- Sprue bush --------------------------------------------------------------------------------

double mould::SprueFitRadius(double r57, double x70, double x71)
{
  return std::max(8.0, std::ceil(2.0 * (r57 + (x70 - x71) * cTan3 + 2.0) - 1e-9) / 2.0);
}

namespace {

// How far past the mouth's circle, in whole millimetres of the part, the view of the nozzle end asks the
// middle of the mouth's value: just past the head's circle.
double MouthValueShift(double r5, double r57)
{
  return std::round(r5 - r57 + DiameterValueLength(2.0 * r57) / 2.0 + 0.5);
}

// Whether the mouth's value, on the view of the nozzle end drawn at scale k, stands within a leader's
// reach of the mouth, as the release checks measure it: from the arrow to the value's nearest corner, a
// millimetre off the line. Asked a whole millimetre past the head's circle at most; where that lies on
// the circle, the layout carries it just past it.
bool MouthValueWithinReach(double k, double r5, double r57)
{
  const double half = DiameterValueLength(2.0 * r57) / 2.0, head = k * (r5 - r57);
  const double asked = k * MouthValueShift(r5, r57) - half;
  return (asked >= head ? std::hypot(asked, 1.0) : head + 0.75) <= ValueReach + k * r57;
}

// The view of the nozzle end, beyond it in the section's frame, its arrow above the head: a local view of
// the head, the seat's edge and the mouth, which it sizes (the flange behind would carry the mouth's value
// out of reach of so small a hole): the head through the centre, the mouth (where asked) from outside on
// the other diagonal, so that neither line runs along the other, both values just past the head.
// It stands 45 past the nozzle end, or farther where the seat's radius needs the room: that value (its
// sign, figures and "±0,2 сфера", 3.5 high) is led from the seat's arc where it meets the end (0, y0),
// the steepest way, through the sphere's centre (xc, 0) and on past it until it clears the axis, and
// keeps a millimetre off the head's circle there.
void NozzleEndView(TModeler3D& Md, double r5, double r57, double r73, double xc, double y0, bool mouth)
{
  const double steep = std::atan2(y0, xc), ux = std::cos(steep), uy = -std::sin(steep);
  // The value's measures are the sheet's: on a part drawn reduced they reach the farther along it.
  const double k = DrawnScale(Md);
  const double length = 0.6 * 3.5 * (11.0 + double(DrawingNumber(r73).Length())) / k;
  // The seat's roughness sign stands on that leader between the arc and the value, on the value's side: its
  // tip its short arm's reach past the arc and as far again (the arm clear of the end face), its shelf on
  // from there, and the 2 of paper the sheet steps a value out by. A seat small on paper leaves the sign
  // that room only with the value farther out than the axis asks.
  constexpr double signRoom = 2.0 * SignReachBack + SignReachOn + 2.0;
  const double from = std::max(3.5 / std::max(std::sin(steep), 0.1), signRoom - k * r73) / k, keep = r5 + 1.0;
  double cx = r5 + 45.0;
  for (int i = 0; i <= 8; ++i)
    for (const double above : {1.0 / k, 4.5 / k}) {
      const double along = from + length * i / 8.0, px = xc + ux * along - uy * above,
                   py = uy * along + ux * above;
      if (std::fabs(py) < keep) cx = std::max(cx, px + std::sqrt(keep * keep - py * py));
    }
  Md.drWPointer(14.0, r5 + 12.0, 4.0, r5 + 12.0, 7.0, r5 + 15.0, 7.0, 1.0, 75.0, TString("А"));
  Md.drLine(cx - r5 - 3.0, 0.0, cx + r5 + 3.0, 0.0, 3);
  Md.drLine(cx, -r5 - 3.0, cx, r5 + 3.0, 3);
  for (const double r : {r5, y0, r57})
    Md.drCircle(cx, 0.0, r, 1);
  Md.drText(cx - 10.0, r5 + 10.0, 0.0, 7.0 / DrawnScale(Md), 1.0, 75, TString("Вид А"));
  // The mouth's value starts just past the head's circle, as near its small hole as it can stand.
  const TString none;
  const double shift = MouthValueShift(r5, r57);
  if (mouth) Md.drDimD(2.0 * r57, none, -45.0, shift, 1, cx, 0.0, 1, TString("&02"), TString("H11"), none);
  Md.drDimD(2.0 * r5, none, 45.0, 8, 1, cx, 0.0, 1, TString("&02"), TString("f9"), none);
}

} // namespace

void TInjectPlug::dr2D_V1(Real mx, Real my, Real ma, Real mm, Real r73, Real r57, Real r56, Real r5, Real x69,
                          Real x70, Real x3, Real x71, Integer tl, bool isSize, Real A) const
{
  // The part in the plate is never below 8 in radius, and the sprue leaves it at least 2.1 wide. Its
  // diameter carries a fit: a whole millimetre, not what the sprue's taper happens to give.
  const double Rw = mould::SprueFitRadius(r57, x70, x71);
  const double Rt = std::min(r57 + (x70 - x71) * std::tan(A / 2.0 * cDegree), Rw - 2.1);
  const double xc = std::sqrt(std::fabs(r73 * r73 - r57 * r57)) - x71; // the seat sphere's centre
  const double y0 = std::sqrt(std::fabs(r73 * r73 - xc * xc));
  if (!PlacedFinite(Extent({r73, r57, r56, r5, x69, x70, x3, x71, Rw, Rt, xc, y0}), mx + x70 - x69, my, ma,
                    mm))
    return RefuseElement("втулка литниковая");
  TModeler3D& Md = M();
  Md.drMtr(mx + x70 - x69, my, ma, mm);
  Md.drLine(-2.0 - x70, 0.0, 2.0, 0.0, 3);
  const double xf = x69 - x70; // the flange's face towards the plate
  TContDrawing c(&Md);
  c.Make(0.0, y0,
         dA(xc, 0.0, r73, -x71, r57,
            dCLL(-x70, Rt, -x70, Rw, 2.0,
                 dPx(-x70, Rw,
                     dCLL(xf, Rw, xf, r56, 3.0,
                          dP(xf + x3, r56, dP(xf + x3, r5, dP(0.0, r5, dPx(0.0, y0)))))))));
  const int t = tl % 10;
  switch (tl / 10) {
  case 1:
    c.dr2D(t);
    break;
  case 2:
    c.dr2DMY(t);
    break;
  default:
    c.dr2D(t);
    if (tl != 0) {
      c.dr2DMY(t);
      HatchBoth(Md, c, 45.0, 3.0);
      Md.drArc(xc, 0.0, r73, -x71, r57, -x71, -r57, 1, t);
    }
    break;
  }
  if (isSize) {
    // The seat's depth and the sprue's mouth stand within reach of the seat they size (beyond the nozzle
    // end's outline there is nothing else to read them against).
    // The lengths stand past the flange's rim while it stands out from the part no farther than the part
    // is long; beyond that their extension lines would run along the view farther than it is across, so
    // they stay by the part: the whole length across the flange (its value past an end), a spacing past
    // the seat's depth and no farther than the view is long, the part in the plate's just above it,
    // measured to the flange's face above its rounded root. Past the rim, a part in the plate too short
    // for the root's rounding's value between its far end's extension line and the flange (the rounding,
    // then the value's length) has its length given below, the corner above left open to the far end.
    const double k = DrawnScale(Md);
    const bool wide = r56 - std::min(Rw, r5) > x70;
    const double whole = wide ? -std::min(32.0, k * (x70 - std::fabs(Rw - r5)) - 4.0) : -44.0;
    const double side = !wide && x69 < 3.0 + 8.0 / k ? -1.0 : 1.0;
    Dims(Md, {{dHL, x71, -24.0, 1.0, -x71, 0.0, 0.0, -r5, "", "H14", ""},
              {dHL, x70, whole, 1.0, -x70, -Rw, 0.0, -r5, "", "h8", ""},
              {dHL, x69, wide ? 10.0 : 22.0 * side, 1.0, -x70, side * Rw, xf, wide ? Rw + 3.0 : side * r56, "",
               "f9", ""}});
    Rough(Md, -x70, side * (r56 + 4.0), 180.0, "0,2");
    Dims(Md, {{dHL, x3, 45.0, 1.0, xf + x3, r56, xf, r56, "", "h6", ""}});
    Rough(Md, xf, r56 + 28.0, 180.0, "1,6");
    Rough(Md, xf + x3, r56 + 40.0, 0.0, "1,6");
    // The mouth and the head are sized on the view of the nozzle end: beside the nozzle end their
    // extension lines would run across the seat's open side, where its radius reads from (through the
    // head the other way), at any size. The mouth's value there stands just past the head's circle, up to
    // a millimetre out as its whole shift falls: within reach of the mouth (30 of paper past its circle to
    // the value's nearest corner) while the head stands out from it less than that. A mouth far smaller than the head is sized across itself
    // in the section instead, its line at the seat's bottom (no extension lines to speak of) and its value
    // beyond the part's outline below it, past the end its side asks. At the seat's bottom the depth's
    // extension line leaves the value room only past the upper end, where the seat radius's leader, run
    // on beyond the arc at the angle asked, would cross it when it passes the mouth's line lower than the
    // value reaches (3 past it). The line then stands off the seat's bottom, its value past the lower
    // end clear of that extension line, while the leader on its way to the centre still crosses the
    // mouth's upper edge well beyond the line (16.5 of paper from the seat's bottom).
    const bool mouthOnView = MouthValueWithinReach(k, r5, r57);
    NozzleEndView(Md, r5, r57, r73, xc, y0, mouthOnView);
    const double seat = (std::atan2(y0, -xc) + std::atan2(r57, -x71 - xc)) / 2.0 / cDegree,
                 sc = std::cos(seat * cDegree), ss = std::sin(seat * cDegree);
    const double leaderAtMouth = sc < 0.0 ? (-x71 - xc) * ss / sc : 0.0,
                 leaderAtEdge = ss > 0.0 ? xc + r57 * sc / ss + x71 : 0.0;
    const bool mouthAside =
        k * leaderAtMouth < k * r57 + DiameterValueLength(2.0 * r57) + 3.0 && k * leaderAtEdge > 16.5;
    if (!mouthOnView)
      Dims(Md, {{dVL, 2.0 * r57, mouthAside ? 3.0 / k : 0.5, -1.0, -x71, -r57, -x71, r57, "&02", "H11", ""}});
    // Within reach of the end they are measured from: less than 30 of paper apart. The flange's from its
    // face towards the plate, where its extension lines run along the part in the plate no farther than
    // the flange is across and stand far enough past its root for the root's rounding's value under them
    // (the rounding, then the value's height twice); else across the flange itself, its value beyond the
    // rim.
    Dims(Md, {{dVL2, 2.0 * Rw, -29.0, Nearest(r56 - Rw) + 10.0, -x70, -Rw, -x70, Rw, "&02", "n6", ""}});
    if (x69 <= 2.0 * r56 && r56 - Rw >= 3.0 + 7.0 / k)
      Dims(Md, {{dVL2, 2.0 * r56, -41.0 - x69, 1.0, xf, -r56, xf, r56, "&02", "h14", ""}});
    else
      Dims(Md, {{dVL1, 2.0 * r56, 0.5, -1.0, xf + x3 / 2.0, -r56, xf + x3 / 2.0, r56, "&02", "h14", ""}});
    Rough(Md, -33.0 - x70, r56, 90.0, "6,3");
    // The rounded edge of the channel's mouth (below) and the root of the flange (above), each about the
    // centre its rounding is drawn with. They are settled before the seat's radius, whose long value has
    // room on either side of the head, where theirs have it only by their corners.
    double ox, oy;
    if (CornerCentre(-x71, r57, -x70, Rt, -x70, Rw, 2.0, ox, oy)) ArcRadius(Md, 2.0, 1, ox, -oy, 135.0, "");
    if (CornerCentre(-x70, Rw, xf, Rw, xf, r56, 3.0, ox, oy)) ArcRadius(Md, 3.0, -1, ox, oy, -45.0, "*");
    // The seat's radius asked in the middle of its upper arc, its sign on that line beyond the arc.
    ArcRadius(Md, r73, 1, xc, 0.0, seat, "&03~0,2 сфера");
    Rough(Md, xc + (r73 + 10.0) * sc, (r73 + 10.0) * ss, seat + 90.0, "0,2");
    // The taper's angle has its vertex at the cone's apex on the axis, far off the part: it measures
    // the bore's walls where they end at its wide end and stands just past that end, between the walls
    // drawn on. None for a taper whose apex does not exist or lies out of reach.
    const double c = std::cos(A / 2.0 * cDegree), tg = std::tan(A / 2.0 * cDegree);
    if (c != 0.0 && tg != 0.0) {
      const double apex = r57 / tg - x71, wide = (apex + x70) / c;
      if (PlacedFinite(Extent({wide, apex, x70}), mx + x70 - x69, my, ma, mm))
        Md.drDimApc(A, A / 2.0 + 180.0, wide + 5.0, wide, TString(), apex, 0.0);
    }
  }
  Md.drDeleteMtr();
}

// --- Locating ring -----------------------------------------------------------------------------

namespace {

constexpr double cValue = 3.5; // a value's height on the sheet, which stands 1 off its line

// The room about the bore's entry, in the sheet's millimetres from the mouth's edge on the face x = T:
// Face the height from there up to the lead-in's corner, Rise that from the bore's line up to there,
// Cone the cone's length, Bore the bore's radius, Left how far free room runs left of the face between
// the axis and the bore's line.
struct TEntryRoom
{
  double Face, Rise, Cone, Bore, Left;
  // From the mouth up to the rim, and the lead-in's angle's arc asked and its least (its vertex the rim's
  // end, its value beyond its arc's middle, 15 degrees under the rim).
  double Rim, LeadIn, LeadInLeast;
  // The section's thickness, which the land's extension lines run over from the bore's line.
  double Thick;
};

// The arc asked for the entry's angle, and how far the land's length stands in from the bore's line (its
// line, 1 then its value, towards the axis). The angle stands between the face's plane and the cone run
// on past the mouth as asked where its arc and value fit under the lead-in's ray; else the sheet turns it
// into the bore, between the face's plane down and the cone, where its value stands under the bore's line
// at an arc as far out as asked, or just so far, and above the land's value on the far side of the axis,
// its rays on the cone; else as first with the lead-in's arc at its least, where its value fits under
// the lead-in's value (LeadIn the lead-in's arc then); else, a mouth too high on a face too short for
// that over a bore too narrow to turn into, the same cone's angle from the axis's direction (FromAxis):
// between the cone run on past the mouth and the cone's far diameter's extension line, its value low
// over that line, under the lead-in's value and ray. An angle's value takes the box the sheet measures
// it by, kept a millimetre off every line. The land's value stands between its line and the bore's far
// side; a bore too narrow for that has the land sized on the upper edge, its line as far in from the
// bore's, its value then past the bore's line left of the face x = 0 (LandAbove). Either way the land's
// line stands no farther in than keeps its extension lines, run on past it, over the section no farther
// than the section is thick.
struct TEntryArc
{
  double R, Land;
  bool LandAbove = false;
  double LeadIn = 0.0;
  bool FromAxis = false;
  // Turned by this sheet: how far its value with its margin reaches left of the face x = T.
  double Reach = 0.0;
};

// How far right of the face x = T the cone's far diameter's line stands, on paper.
constexpr double ConeDiameterAt = 8.0;

TEntryArc EntryArc(double a, const TEntryRoom& room, double asked)
{
  // The least arc: its arrowheads (3 long) stand outside a shorter one.
  constexpr double length = 4 * 0.6 * cValue, clear = 1.0, gap = 2.0, least = 5.0;
  // Each margin a hair wider: the sheet takes a value just on it as touching.
  constexpr double hair = 0.3;
  const double land = std::min({8.0, room.Bore / 2.0, room.Thick - drApi::sheet::ExtensionPast});
  const bool landAbove = land + 1.0 + cValue + hair > 2.0 * room.Bore - land;
  // On the face's side the value stands beyond the arc's middle; the lead-in's ray, from the corner down
  // away from the face at 30 degrees, passes over the value's far top corner and over the arc. The
  // lead-in's own arc and value lie above that ray's line.
  const double mid = (90.0 - a / 2.0) * cDegree;
  const double valueUnder =
      (room.Face - cValue - clear - (length + clear) * cTan30) / (std::sin(mid) + std::cos(mid) * cTan30) - gap;
  const double arcUnder = room.Face * std::cos(30.0 * cDegree) - clear;
  // Turned, the value's bottom stands its height and a margin under its top (under, from the bore's line),
  // which the axis leaves free within the bore, and it reaches left of the face x = T as far as
  // (r + gap) sin(half) and its length; the bore's diameter's line, which the sheet takes as wide as a hair
  // either side of it, stands a hair beyond that margin.
  const double half = a / 2.0 * cDegree;
  const auto under = [&](double r) { return (r + gap) * std::cos(half) - room.Rise + cValue + clear + hair; };
  const auto reach = [&](double r) { return (r + gap) * std::sin(half) + length + clear + 2.0 * hair; };
  // An arc asked past where its value stands under the lead-in's ray is turned into the bore by the sheet,
  // which it takes only where the bore holds its value there.
  if (std::min(valueUnder, arcUnder) >= least) {
    const double r = asked + clear <= arcUnder ? asked : std::min(valueUnder, arcUnder);
    if (r <= valueUnder || room.Bore >= under(r)) return {r, land, landAbove, room.LeadIn};
  }
  // Turned by this sheet the arc is as asked, or the least that keeps the value under the bore's line where
  // the room left of the face needs the value nearer; the land's line comes in no farther than the value
  // allows, yet 2 off the bore's line.
  const double lowest = (room.Rise + clear + hair) / std::cos(half) - gap;
  for (const double r : {std::max(asked, lowest), lowest}) {
    const double landIn = std::min(land, 2.0 * room.Bore - under(r) - 1.0 - cValue);
    if (r <= room.Cone && room.Bore >= under(r) && landIn >= 2.0 && reach(r) <= room.Left)
      return {r, landIn, false, room.LeadIn, false, reach(r)};
  }
  // The lead-in's value's bottom over the mouth, and this value's top a margin under it and under the
  // lead-in's ray where that passes over its near top corner.
  const double leadInValue = room.Rim - (room.LeadInLeast + gap) * std::sin(15.0 * cDegree) - cValue;
  const double underLeadIn =
      std::min((leadInValue - clear - hair - cValue) / std::sin(mid),
               (room.Face - cValue - clear - hair) / (std::sin(mid) + std::cos(mid) * cTan30)) - gap;
  if (std::min(underLeadIn, arcUnder) >= least)
    return {std::min({asked, underLeadIn, arcUnder}), land, landAbove, room.LeadInLeast};
  // From the axis's direction, on the least arc, whose ray along the far diameter's extension line stops
  // short of that line's arrowhead: the value's bottom beyond the arc's middle stands a margin over the
  // extension line, its top a margin under the lead-in's value and under its ray's end (the lowest its ray
  // and arc reach), with the lead-in's arc as asked or else at its least, and under the face's top.
  static_assert(least + clear < ConeDiameterAt);
  const double toAxis = (90.0 - a) / 2.0 * cDegree, over = (least + gap) * std::sin(toAxis);
  for (const double leadIn : {room.LeadIn, room.LeadInLeast}) {
    const double roof = std::min({room.Rim - (leadIn + gap) * std::sin(15.0 * cDegree) - cValue,
                                  room.Rim - leadIn * std::sin(30.0 * cDegree), room.Face});
    if (over >= clear + hair && over + cValue + clear + hair <= roof)
      return {least, land, landAbove, leadIn, true};
  }
  return {asked, land, landAbove, room.LeadIn};
}

// Where the locating ring's section sizes its counterbores' depth: above the rim where that runs its
// extension lines over the section (from the counterbore's outer edge r10 + r53 to the rim R) no farther
// than the section is thick (T), as the release checks allow; else inside the upper hole, from the floor's
// inner corner and the mouth's outer one, its value past the face x = T. There the line stands off the
// counterbore's walls by the paper's 2 that a line keeps from an outline along it, and high enough that
// its extension lines, running the paper's 2 past it, stay in the hole. Its value and the floor's sign
// need the face's side clear under the lead-in's angle (its arc's ray falls half the arc's radius below
// the rim; the arc shrinks towards the least that holds its value to leave that room); the entry's
// angle then turns into the bore below the hole. Where the counterbore is too narrow on paper or the
// rim too near for the least arc, the depth stays above the rim, unless no entry's angle needs the face's
// side below: the lead-in's angle then goes to the lower edge (LeadInBelow), its length to the upper one,
// where its ray's end and its value (beyond its arc's middle, 15 degrees over the rim) keep a margin off
// the lower counterbore's outer extension line. Off is the line's offset on paper below the floor's inner
// corner (r10 + r52), k the sheet's scale.
struct TDepthLine
{
  bool OverRim;
  double Off, LeadInArc;
  bool LeadInBelow = false;
};

// On paper: the lead-in's angle's arc radius, the least that still holds its arrowheads and value beside
// it, a value's height and the gap under it.
constexpr double LeadInArc = 15.0, LeadInLeast = 9.0, DepthValueHeight = 3.5 + 1.0;
// How far past the face x = T the depth's value sized in the hole reaches, on paper: its arrow's length,
// the gap to it and "NH14" at the sheet's value height, with a margin.
constexpr double DepthValueRoom = 14.0;

TDepthLine CounterboreDepthLine(double R, double T, double r10, double r52, double r53, double k, bool entry)
{
  constexpr double Keep = 2.0, Past = 2.0, Margin = 2.0; // on paper
  const TDepthLine overRim{true, 0.0, LeadInArc};
  if (R - (r10 + r53) <= T) return overRim;
  const double lo = r10 - r52 + Past / k, hi = std::min(r10 + r53 - Keep / k, r10 + r52),
               line = (lo + hi) / 2.0;
  if (lo > hi) return overRim;
  // The lead-in's arc as large as asked where its ray's end (half its radius under the rim) clears the
  // value, else as much smaller as that takes; where no entry's angle needs it smaller, only so small as
  // keeps the lead-in's value (beyond its arc's middle, 15 degrees under the rim) a millimetre and a hair
  // over the depth's. Its least arc may bring its ray's end nearer, that millimetre and a hair over the
  // value, where the margin would leave it less: the depth sized above the rim would run its extension
  // lines along the section.
  constexpr double clear = 1.0 + 0.3;
  const double over = (R - line) * k - DepthValueHeight, asked = std::min(LeadInArc, 2.0 * (over - Margin)),
               arc = 2.0 * (over - clear) >= LeadInLeast ? std::max(asked, LeadInLeast) : asked;
  if (arc >= LeadInLeast && (entry || (arc + 2.0) * std::sin(15.0 * cDegree) + cValue + clear <= over))
    return {false, (line - (r10 + r52)) * k, arc};
  if (entry) return overRim;
  // Else on the lower edge, where the rim stands as far past the counterbore's outer edge (room, on paper)
  // as its ray's end and its value need.
  const double room = (R - (r10 + r53)) * k;
  for (const double below : {LeadInArc, LeadInLeast})
    if (below / 2.0 + clear <= room && (below + 2.0) * std::sin(15.0 * cDegree) + cValue + clear <= room)
      return {false, (line - (r10 + r52)) * k, below, true};
  return overRim;
}

} // namespace

void TLocatingRing::dr2D_LocatingRing_V1(const Real& mx, const Real& my, const Real& ma, const Real& mm,
                                         const Real& RBase, const Real& RTpa, const Real& iR, const Real& t,
                                         const Real& a, const Real& sh, const Real& T, const Real& r10,
                                         const Real& r52, const Real& r53, const Real&, const Real& x66,
                                         Integer tl, bool isSize) const
{
  // The bore widens towards x = T only for an entry angle that makes a cone.
  const bool cone = a > 0.0 && a < 180.0;
  const double rise = cone ? (T - t) / std::tan(a * cDegree) : 0.0;
  if (!PlacedFinite(Extent({RBase, RTpa, iR, t, sh, T, r10, r52, r53, x66, rise}), mx, my, ma, mm))
    return RefuseElement("кольцо установочное");
  TModeler3D& Md = M();
  THole3DParam hole(Md);
  Md.drMtr(mx, my, ma, mm);
  Md.drLine(-3.0, 0.0, T + 3.0, 0.0, 3);
  const bool shoulder = sh != 0.0 && RBase != RTpa;
  // The face x = 0 has its outer edge broken by a 0.5 chamfer unless a shoulder stands there.
  constexpr double edge = 0.5;
  TNode* front = shoulder ? dP(sh, RTpa, dCLL(sh, RBase, 0.0, RBase, 0.5, dP(0.0, iR)))
                          : dFsk(0.0, RBase, 0.0, iR, edge);
  // The outer edge of the face x = T: a lead-in 3 long at 30 degrees, as the plan view shows it.
  constexpr double bevel = 3.0, bevelDepth = 1.7320508075688772; // 3 tan 30 degrees
  TContDrawing c(&Md);
  c.Make(0.0, iR,
         dPx(0.0, iR, dPx(t, iR, dPx(T, iR + rise, dP(T, RTpa - bevelDepth, dP(T - bevel, RTpa, front))))));
  c.drContBlock(tl, false, false, false);
  // The counterbored holes of the fixing screws, each hatched with the half it lies in. Holes
  // outside a shoulder start where the shoulder ends, the others on the face x = 0.
  const double x0 = shoulder && RBase < r10 ? sh : 0.0;
  const double l1 = T - x0 - x66;
  // Where the outer cylinder is dimensioned: on it, 2 in from where it starts when it has room.
  const double cylinder = shoulder ? sh : 0.0, xf7 = std::min(cylinder + 2.0, (cylinder + T - bevel) / 2.0);
  const auto holed = [&](bool lower) {
    const double y = lower ? -r10 : r10;
    hole.drHole(48, x0, y, 0.0, 0.0, 0.0, 0.0, l1, r52, 0.0, x66, r53, 0.0, 0.0, 0.0, 0.0);
    Md.drHatch(0, 45.0, 3.0);
    lower ? c.dr2DMY(0) : c.dr2D(0);
    hole.cHole(48, x0, y, 0.0, 0.0, 0.0, 0.0, l1, r52, 0.0, x66, r53, 0.0, 0.0, 0.0, 0.0);
    Md.drEndObj();
  };
  switch (tl / 10) {
  case 1:
    holed(false);
    break;
  case 2:
    holed(true);
    break;
  case 3:
    holed(false);
    holed(true);
    break;
  default:
    break;
  }
  if (isSize) {
    // Offsets are the sheet's millimetres: the part's own lengths in them at the placement's scale.
    const double k = DrawnScale(Md);
    const bool entry = t != 0.0 && t < T && cone;
    // Left of the section, the bore's diameter and then the shoulder's: the latter beyond the screws' holes'
    // where those run through the shoulder from the face x = 0.
    const double boreAt = 6.0, shoulderAt = x0 == 0.0 ? 42.0 : 18.0, screwsAt = 30.0;
    // The face x = 0: its edge's chamfer, or the shoulder standing on it, its length and diameter.
    if (!shoulder)
      Dims(Md, {{dHL, edge, -15.0, 1.0, 0.0, edge - RBase, edge, -RBase, "", "", "&04~45&01"}});
    else
      // The shoulder's length at its step: from its end face to the face it stands on, just past its edge.
      // Its diameter beyond the screws' holes' where those run through it from the same face, so that
      // their extension lines stop short of its line.
      Dims(Md, {{dHL, sh, -2.5, 1.0, 0.0, -RBase, sh, -RBase - 0.5, "", "", ""},
                {dVL, 2.0 * RBase, -shoulderAt, 1.0, 0.0, -RBase, 0.0, RBase, "&02", "", ""}});
    // The lead-in's length on the lower edge, its angle on the upper one (or the other way about, see
    // CounterboreDepthLine): the angle's ray along the outside would cross the length's extension line on
    // one edge. The counterbores' diameter goes to the lower hole, clear of the angle's rays, and the
    // outside's diameter past the angle and its value. The counterbores' depth alone above the section, past
    // the room its face's sign takes on the side of its extension line that no other line runs along, or in
    // the hole (CounterboreDepthLine); the whole length below, beyond the edges' sizes.
    const double xOut = T * k + 36.0 - xf7 * k;
    const double signAbove = SignReachBack + 1.0, depthAbove = signAbove + SignReachOn + 2.0;
    const TDepthLine depth = CounterboreDepthLine(RTpa, T, r10, r52, r53, k, entry);
    // The lead-in's angle has its rays drawn from its vertex, or from the lead-in's far end where the
    // counterbores' face lies within the lead-in and its extension line would cross the ray along the rim.
    // Its arc is the least where the entry's angle beside the face needs the room under it (EntryArc).
    const double leadInArc = depth.LeadInArc;
    TEntryArc at{0.0, 0.0, false, leadInArc};
    const double mouth = iR + rise;
    bool entryTurned = false;
    if (entry) {
      // The entry: its angle above the axis, where the cone leaves the face x = T, between the face and
      // the cone's run past the mouth; where the lead-in's angle leaves a thin ring no room there it turns
      // to the opposite rays, from the face's plane down to the cone inside the mouth (a ray along the axis
      // would run up across the lead-in's angle), its value then under the bore's line. Its arc three
      // quarters of the cone out keeps its rays on the cone. Below it the land the cone starts from, its
      // line inside a narrow bore, and the cone's far diameter, which the land, the angle and the thickness
      // already make a reference size. A cone so long that that arc would reach past the rim has it stop
      // short of the lead-in's angle instead: under as much of the rim as that angle's arc takes (its
      // radius times the sine of 30 degrees) and both values, where that leaves room for its own value.
      const double along = 0.75 * (T - t) / std::sin(a * cDegree),
                   below = RTpa - mouth - (leadInArc / 2.0 + 2.0 * cValue) / k;
      // Turned, its value may have the bore's diameter's line stand farther left, as far as a spacing short
      // of the next line out (the shoulder's, or the screws' holes' where those run through the shoulder).
      const double left =
          T * k + (BoreOnPlan(iR) ? shoulderAt : std::min(shoulderAt, screwsAt) - LineSpacing);
      // With the counterbores' depth sized in the upper hole, the face's side above the mouth ends at the
      // hole's counterbore.
      const double faceTop = depth.OverRim ? RTpa - bevelDepth : r10 - r53;
      at = EntryArc(a,
                    {(faceTop - mouth) * k, rise * k, (T - t) / std::sin(a * cDegree) * k, iR * k, left,
                     (RTpa - mouth) * k, leadInArc, std::min(leadInArc, LeadInLeast), T * k},
                    (mouth + along > RTpa && below * k >= 2.0 * cValue ? below : along) * k);
      // An arc standing beside the face wholly past the rim, its end on the cone's ray over the rim's
      // extension line or within the half millimetre (and a tenth for the sheet's rounding) where that line
      // reads as through its arrow's tip, crosses no line the sheet sees while its rays run on across the
      // lead-in's ray and the rim's extension line: it is asked turned, as EntryArc found room for it, from
      // the face's plane down to the cone inside the mouth.
      entryTurned = !at.FromAxis && (mouth - RTpa) * k + at.R * std::cos(a * cDegree) > -(0.5 + 0.1);
    }
    // The lead-in's angle on the upper edge (1), or on the lower (-1) where the depth sized in the hole
    // leaves it no room above; its length on the other.
    const double angleSide = depth.LeadInBelow ? -1.0 : 1.0;
    Dims(Md, {{dHL, bevel, -18.0 * angleSide, angleSide, T, angleSide * (bevelDepth - RTpa), T - bevel,
               -angleSide * RTpa, "", "", "&03~0,2"},
              depth.OverRim ? TDim{dHL, x66, depthAbove, -1.0, T - x66, r10 + r53, T, RTpa, "", "H14", ""}
                            : TDim{dHL, x66, depth.Off, 1.0, T - x66, r10 + r52, T, r10 + r53, "", "H14", ""},
              {dHL, T, -26.0, 1.0, 0.0, 2.0 - RTpa, T, -RTpa, "", "h14", ""},
              // The bore's diameter here unless the plan view takes it (nothing is drawn for 0), past the
              // entry's angle's value where that is turned into the bore.
              {dVL1, BoreOnPlan(iR) ? 0.0 : 2.0 * iR, -std::max(boreAt, at.Reach - T * k), 1.0, 0.0, iR, 0.0,
               0.0, "&02", "H14", ""},
              // The screws' holes from where they start: past a shoulder the line comes as much nearer.
              {dVL, 2.0 * r52, x0 * k - screwsAt, 1.0, x0, r10 - r52, x0, r10 + r52, "&02", "H14", "4 отв."},
              // The counterbores' diameter before the outside's, nearer the face: its extension lines then
              // stop short of the outside's line, and its value slides towards the axis.
              {dVL, 2.0 * r53, std::min(16.0, xf7 * k + xOut - T * k - 7.0), -1.0, T, -r10 - r53, T,
               r53 - r10, "&02", "H14", ""},
              {dVL, 2.0 * RTpa, xOut, 1.0, xf7, RTpa, xf7, -RTpa, "&02", "f7", ""}});
    Md.drDimApc(30.0 * angleSide, 0.0, at.LeadIn / k, x66 < bevel ? bevel : 0.0, TString(), T - bevel,
                angleSide * RTpa);
    if (entry) {
      if (at.FromAxis)
        Md.drDimApc(90.0 - a, 90.0 - a, at.R / k, 0.0, TString(), T, mouth);
      else
        Md.drDimApc(a, entryTurned ? 270.0 : 90.0, at.R / k, 0.0, TString(), T, mouth);
      const double landY = at.LandAbove ? iR : -iR;
      Dims(Md, {{dHL, t, at.LandAbove ? -at.Land : at.Land, -1.0, 0.0, landY, t, landY, "", "", ""},
                {dVL1, 2.0 * (iR + rise), ConeDiameterAt, 1.0, T, -iR - rise, T, 0.0, "&02", "", "*"}});
    }
    Rough(Md, -20.0 / k, RTpa, 90.0, "0,8");
    // The outside's sign on its extension line past the lead-in's angle.
    Rough(Md, T + 25.0 / k, RTpa, 90.0, "0,8");
    Rough(Md, 0.0, -RTpa / 2.0, 180.0, "0,8");
    // The face x = T: its sign between the bore and the counterbores, nearer the bore, in the lower half,
    // away from the lead-in's and the entry's angles above the axis.
    const double faceSign = (iR + rise + r10 - r53) / 2.0 - 3.0;
    Rough(Md, T, entry ? -faceSign - 3.0 : -faceSign, 0.0, "1,6");
    // The counterbores' face: on its extension line above the rim, its arms towards the front face, where
    // no line runs now that the whole length is below. With the depth sized in the hole, on a leader from
    // the floor's lower piece out through the mouth, falling less than that piece is wide over the
    // counterbore's depth so that it leaves by the mouth; the sign stands on it past the depth's value
    // (DepthValueRoom beyond the face), its shelf away from the part.
    if (depth.OverRim) {
      Rough(Md, T - x66, RTpa + signAbove / k, 180.0, "1,6");
    } else {
      const double fy = r10 - (r52 + r53) / 2.0, fall = std::atan2(0.8 * (r53 - r52) / 2.0, x66);
      const double c = std::cos(fall), sn = std::sin(fall), at = x66 / c + DepthValueRoom / k,
                   reach = at + SignReachOn / k;
      Md.drShelf(txapi::txLeaderSignEnum(0), T - x66 + reach * c, fy - reach * sn, txapi::txLSRight,
                 txapi::txArrowEnum(0), 5.0, 1.0, 75.0, TString(), 5.0, 1.0, 75.0, TString());
      Md.drPoint(T - x66, fy);
      Md.drEndObj();
      Md.drRough(T - x66 + at * c, fy - at * sn, 90.0 - fall / cDegree, txapi::txNoProcessingType,
                 TString("1,6"), TString(), TString());
    }
  }
  Md.drDeleteMtr();
}

// --- Ejector rod -------------------------------------------------------------------------------

void TMTail::dr2D_EjectorRod_V1(const Real& mx, const Real& my, const Real& ma, const Real& mm, const Real& r,
                                const Real& r1, const Real& l1, const Real& l2, const Real&, const Real&,
                                const Real& L, Integer tl, bool) const
{
  if (!PlacedFinite(Extent({r, r1, l1, l2, L}), mx, my, ma, mm)) return RefuseElement("хвостовик");
  const double tc = (r1 - 1.0) * cTan30;         // the drill point's length
  const double xl = l1 + 5.0, xr = L - l2 - 5.0; // where the two drilled holes end
  TModeler3D& Md = M();
  Md.drMtr(mx, my, ma, mm);
  TContDrawing c(&Md);
  c.Make(xl + tc, 0.0,
         dPx(xl, r1 - 1.0,
             dPx(l1, r1 - 1.0,
                 dPnm(l1, r1,
                      dPx(1.0, r1 - 1.0,
                          dPx(0.0, r1,
                              dPnm(l1, r1,
                                   dFsk(0.0, r, L / 2.0, r, 1.0,
                                        dFsk(L, r, L, r1, 1.0,
                                             dPx(L, r1,
                                                 dPnm(L - l2, r1,
                                                      dPx(L - 1.0, r1 - 1.0,
                                                          dPx(L - l2, r1 - 1.0,
                                                              dPnm(L - l2, r1,
                                                                   dPx(xr, r1 - 1.0,
                                                                       dP(xr - tc, 0.0,
                                                                          dPt0(xl + tc, 0.0)))))))))))))))));
  c.drContBlock(tl, true, tl != 0, false);
  Md.drLine(-3.0, 0.0, L + 3.0, 0.0, 3);
  Md.drDeleteMtr();
}

void TMTail::dr2D_EjectorRod_V3(const Real& mx, const Real& my, const Real& ma, const Real& mm, const Real& r,
                                const Real&, const Real&, const Real&, const Real& l3, const Real& s,
                                const Real& L, Integer, bool) const
{
  if (!PlacedFinite(Extent({r, l3, s, L}), mx, my, ma, mm)) return RefuseElement("хвостовик");
  // Half the chord of the rod's circle where the flats cut it.
  const double h = std::sqrt(std::fabs(r * r - s * s / 4.0));
  TModeler3D& Md = M();
  Md.drMtr(mx, my, ma, mm);
  Md.drRectAngle(L - l3 - s, -r, L - l3, -h, 1);
  Md.drRectAngle(L - l3 - s, r, L - l3, h, 1);
  Md.drDeleteMtr();
}

// --- Support washer ----------------------------------------------------------------------------

void TSupportWasher::dr2D_ShajbaOporna_V1(const Real& mx, const Real& my, const Real& ma, const Real& mm,
                                          const Real& x34, const Real& x35, const Real& x36, const Real& r35,
                                          const Real& r36, const Real& r37, const Real& r1, Integer tl,
                                          bool isSize) const
{
  if (!PlacedFinite(Extent({x34, x35, x36, r35, r36, r37, r1}), mx, my, ma, mm))
    return RefuseElement("шайба опорная");
  TModeler3D& Md = M();
  Md.drMtr(mx, my, ma, mm);
  // The collar's inner face at the placement's origin.
  Md.drMtr(-x34, 0.0, 0.0, 1.0);
  Md.drLine(-3.0, 0.0, x36 + 3.0, 0.0, 3);
  TContDrawing c(&Md);
  c.Make(
      0.0, r36,
      dP(0.0, r35,
         dP(x34, r35,
            dMacroIf(
                r1 != r35, dCVR(x34, r1 - 0.5, x34 + 2.5, r1 - 0.5, x34 + 3.0, r1, 0.5, dP(x36 - 1.0, r1)),
                dFsk(x36, r1, x36, r37, 1.0, dPx(x36, r37, dPx(x35, r37, dP(x35, r36, dPx(0.0, r36)))))))));
  HalvesByTens(Md, c, tl, 1, 135.0, 3.0);
  if (isSize) {
    // The body's diameter only where a groove steps it down from the collar.
    const double g = std::fabs(double(Zn(r1 - r35)));
    Dims(Md, {{dVL2, -2.0 * r36, -5.0, Nearest(r35 - r36) + 1.0, 0.0, -r36, 0.0, r36, "&02", "H14", ""},
              {dVL2, -2.0 * r35, -20.0, 1.0, 0.0, -r35, 0.0, r35, "&02", "h14", ""},
              {dVL2, -2.0 * r37, x36 + 15.0, Nearest(r1 - r37) + 1.0, x35, -r37, x35, r37, "&02", "H14", ""},
              {dVL2, -2.0 * r1 * g, x36 + 25.0, 1.0, x36 - 1.0, -r1, x36 - 1.0, r1, "&02", "h12", ""},
              {dHL, x34, 5.0, 5.0, 0.0, r35, x34, r35, "", "h14", ""},
              {dHL, x35, 16.0, -5.0, x35, r36, 0.0, r35, "", "H14", ""},
              {dHL, x36, 28.0, -5.0, x36, r1 - 1.0, 0.0, r35, "", "h14", ""},
              {dHL, 1.0, 25.0, -5.0, x36 - 1.0, r1, x36, r1 - 1.0, "", "", "&04~45&01"}});
    Rough(Md, x36 + 25.0, r1, 90.0, "1,6");
    Md.drLine(x34, -r35, x34, -15.0 - r35, 2);
    Rough(Md, x34, -10.0 - r35, 0.0, "3,2");
    Md.drDimR(0.1 * g, TString(), 20.0, 15.0, 0, 0, x34 + 0.1, r1 + 0.1, 2, 0, TString("R"), TString(),
              TString());
  }
  Md.drDeleteMtr();
  Md.drDeleteMtr();
}

// --- Set screw ---------------------------------------------------------------------------------

void TSetScrew::dr2D_V1(const Real& mx, const Real& my, const Real& ma, const Real& mm, const Real& sR,
                        const Real& R, const Real& L, const Real& K, const Real& iS, const Integer tl,
                        bool) const
{
  if (!PlacedFinite(Extent({sR, R, L, K, iS}), mx, my, ma, mm)) return RefuseElement("винт установочный");
  TModeler3D& Md = M();
  Md.drMtr(mx, my, ma, mm);
  Md.drLine(-3.0, 0.0, L + 3.0, 0.0, 3);
  TContDrawing c(&Md);
  c.Make(K, 0.0,
         dP(K - iS / 2.0 * cTan30, iS / 2.0,
            dPx(0.0, iS / 2.0,
                dP(0.0, R,
                   dP(K - R + sR, R,
                      dCLL(K, sR, K + 2.0, sR, 0.1,
                           dPx(K + 2.0, sR,
                               dPx(L - 1.0, sR,
                                   dP(L, sR - 1.0, dPnm(K + 2.0, sR - 1.0, dP(L, 0.0, dPt0(K, 0.0))))))))))));
  c.dr2D(tl);
  // The sketch a model revolves is the upper half alone: a mirrored copy would make the body twice.
  if (tl != 0) c.dr2DMY(tl);
  Md.drDeleteMtr();
}

// --- Ejector plug ------------------------------------------------------------------------------

namespace {

// The rounding of the seat's edge at the step to the middle bore.
constexpr double PlugSeatEdge = 0.2;
// The axis runs this far past either end face of the plug.
constexpr double PlugAxisOverhang = 3.0;
// On paper: the layout spaces parallel dimension lines this far apart, and takes a line nearer an outline
// alongside than 2 for one along it (a diameter's line is asked half a millimetre past its station).
constexpr double PlugLineSpacing = 7.0, PlugAlongside = 2.5, PlugLineOff = 0.5;

// The seat edge's radius led out through the seat's mouth (at x59, its radius r66), drawn at sheet paper
// millimetres to the part's: the angle of its arrow's point about the rounding's centre and its value's
// shift past the arc, in the part's units, and how far its value then stands from the arrow on paper. The
// leader runs from the arrow through the centre just over the mouth's lower edge, where it rises least
// over the seat, its value above it from just past the far end face, or past the axis's end where the
// value would reach the axis: the value as near its arc as the mouth lets it. A seat so long that this
// leaves the value beyond the release checks' reach of its arc has it inside the seat instead, just past
// the arc, where the seat's lower half holds it clear of the axis, and so does a mouth too narrow on paper
// for the value between its extension lines; Holds tells whether it is within reach and has its room.
// Arrow is where the arrow's point stands along the axis, End where the leader and its value end.
struct TSeatEdgeLeader
{
  double Angle, Shift, Reach, Arrow, End;
  bool Holds;
};

TSeatEdgeLeader SeatEdgeLeader(double ox, double oy, double r66, double x59, double sheet)
{
  constexpr double Over = 1.0, Past = 1.5, Height = 3.5, Above = 1.0, Least = 6.0, AxisGap = 1.0,
                   Gap = 0.35; // on paper
  const double lead = std::atan2(-r66 + Over / sheet - oy, x59 - ox);
  const double ax = ox - PlugSeatEdge * std::cos(lead); // the arrow's point
  const double length = RadiusValueLength(PlugSeatEdge);
  // The value's top over the axis's stretch past the face, on paper from the axis.
  const double over = (-r66 + Over / sheet) * sheet + Above + Height + (Past + length) * std::tan(lead);
  const double past = over > -0.5 ? PlugAxisOverhang * sheet + Past : Past;
  // The host shifts a value by whole units, its middle at least Least past the arc: the next unit out
  // keeps the value clear of the face.
  const double shift = std::ceil((x59 - ax) / std::cos(lead) + (past + length / 2.0) / sheet);
  const auto reach = [&](double units) {
    return std::hypot(std::max(Least, units * sheet) - length / 2.0, Above);
  };
  const double angle = lead * 57.29577951308232 + 180.0, beyond = x59 + PlugAxisOverhang + length / sheet;
  // Past the face the value stands between the mouth's extension lines, which no leader crosses: at best
  // on the shallowest leader the layout turns to, a whole number of degrees off the one asked and one
  // short of the arc's end, its far end's top a gap under the upper line.
  const double least = (angle - 180.0 - std::floor(angle - 181.0)) * cDegree;
  const double high = (oy - PlugSeatEdge * std::sin(least) + r66) * sheet +
                     (shift * sheet + length / 2.0) * std::sin(least) + (Above + Height) * std::cos(least);
  const bool between = high <= 2.0 * r66 * sheet - Gap;
  if (reach(shift) <= ValueReach && between) return {angle, shift, reach(shift), ax, beyond, true};
  // Inside the seat the leader rises to just over the mouth's lower edge's level under the value's far end,
  // clearly off the seat's line; the value's top there stays a gap below the axis.
  const double near = std::ceil(Least / sheet), end = near + length / 2.0 / sheet;
  const double rise = std::atan2(-r66 + Over / sheet - oy, end);
  const double top = (oy + end * std::tan(rise)) * sheet + (Above + Height) / std::cos(rise);
  if (top <= -AxisGap)
    return {rise * 57.29577951308232 + 180.0, near, reach(near), ax, ox + end, reach(near) <= ValueReach};
  return {angle, shift, reach(shift), ax, beyond, false};
}

// A seat edge whose radius has no place for its value on the view is called out there and drawn apart
// enlarged, at 10:1. On paper: the letter's leader ends this far over the body, rising at 60 degrees (across
// the hatching, never along it) where the room lets it; the letter and a gap take this much to the right of
// its end.
constexpr double PlugEdgeDetailScale = 10.0, PlugEdgeLetterOver = 6.0,
                 PlugEdgeLetterRise = 60.0 * cDegree, PlugEdgeLetterRoom = 3.5;
constexpr const char* PlugEdgeLetter = "Б";
// What the detail shows: the step (from the middle bore r71 up to the seat's wide end) and the wall about
// it, Half each way of the corner in the part's units, the corner Y over the axis.
struct TPlugSeatEdgeView
{
  double Step, Half, Y;
};

TPlugSeatEdgeView PlugSeatEdgeView(double r71, double r66, double x9)
{
  const double y = r66 + x9 * cTan1, step = y - r71;
  return {step, step + 1.0, y};
}

// Where the ejector plug's sheet sizes its bores and body along the axis, from the collar's face, drawn at
// sheet paper millimetres to the part's, and whether they stand a spacing apart. The counterbore is sized
// between the groove's callout circle (3 across the 3 mm groove by the collar) and its cone; the middle
// bore across its own section, its line clear of the seat edge's arrow and a spacing past the
// counterbore's, or, a middle bore too short for that, beside the head (Aside), between its lines drawn on
// past the head; the body across the seat where the seat's edge is sharp. A rounded edge has its radius
// led along the seat, which no line may cross: the body's line stands past the middle bore's where the
// middle bore holds both, else between the counterbore's and the middle bore's (or the edge's arrow), else
// across the seat past the radius's value.
struct TPlugStations
{
  double Seat, Counterbore, Bore, Body, Ox = 0.0, Oy = 0.0;
  bool Rounded, Spaced, Aside = false;
  // Which way they go: 0 the body's line past the middle bore's in its section, 1 between the
  // counterbore's and the middle bore's, 2 the middle bore beside the head and the body's line before the
  // step, 3 and 4 the body's line across the seat, the middle bore in its section or beside the head.
  int Tier = 0;
  TSeatEdgeLeader Lead{};
};

// How far beside the head face the middle bore is sized, on paper, when its section is too short: short of
// the head's own diameter, a spacing further out; and how long its value is there, which stands between
// its arrows. The bore's grade stands on its line drawn on past the head, this far (in the part's units)
// from the head face, a spacing past the aside line.
constexpr double PlugBoreAside = 12.0, PlugAsideValue = 16.0, PlugBoreGrade = 19.0;
// How far from the collar's face a counterbore's line across the collar stands, on paper, to hold its
// value (3.5 high, 1 from the line) clear of that face's extension line.
constexpr double PlugCounterValue = 5.0;

TPlugStations PlugStations(double r71, double r66, double x68, double x9, double x27, double x59, double sheet)
{
  TPlugStations p{};
  p.Seat = x59 - x9;
  p.Rounded = CornerCentre(x59, -r66, p.Seat, -r66 - x9 * cTan1, p.Seat, -r71, PlugSeatEdge, p.Ox, p.Oy);
  const double bore = p.Seat - x68, spacing = PlugLineSpacing / sheet, off = PlugLineOff / sheet,
               along = PlugAlongside / sheet;
  // A counterbore ending before it leaves its line room between the circle and its cone is sized where it
  // is, across the collar, its value beyond the collar's rim beside its line: the collar's face a gap
  // short of the value, the counterbore's end an alongside past the line.
  const double counterEnd = std::min(x27, x68 - 1.0);
  const bool past = x68 - 1.0 - (x27 + 3.0) >= 2.0 * along;
  p.Counterbore = past ? (x27 + 3.0 + x68 - 1.0) / 2.0 : counterEnd / 2.0;
  const bool counterFits = past || (p.Counterbore * sheet + PlugLineOff >= PlugCounterValue &&
                                    (counterEnd - p.Counterbore) * sheet >= PlugAlongside + PlugLineOff);
  const auto done = [counterFits](TPlugStations& q) {
    q.Spaced = q.Spaced && counterFits;
    return q;
  };
  // The room from the groove's callout circle to the step to the seat.
  const double room = p.Seat - (x27 + 1.5 + 3.0);
  p.Bore = x68 + bore / 4.0;
  if (!p.Rounded) {
    p.Body = (p.Seat + x59) / 2.0;
    p.Spaced = room >= 3.0 * spacing && x9 * sheet >= 2.0 * PlugAlongside;
    return done(p);
  }
  p.Lead = SeatEdgeLeader(p.Ox, p.Oy, r66, x59, sheet);
  if (bore >= 2.0 * spacing && room >= 4.0 * spacing) {
    p.Body = (p.Bore + p.Seat) / 2.0;
    p.Spaced = true;
    return done(p);
  }
  // The lines as drawn, half a millimetre past their stations: the middle bore's in its section an
  // alongside short of the edge's arrow; the last line before the step as far short of the arrow.
  const double counter = p.Counterbore + off, last = p.Lead.Arrow - along;
  const double line = (x68 + off + last) / 2.0;
  const bool inside = last - off >= x68 && line - counter >= spacing;
  // Beside the head its value stands between its arrows, clear of the head and of the grade past it.
  const bool aside =
      PlugBoreGrade * sheet >= PlugBoreAside + PlugLineSpacing && 2.0 * r71 * sheet >= PlugAsideValue;
  // Each way the middle bore's line and the body's may go, in the order tried.
  for (int tier = 1; tier <= 4; ++tier) {
    p.Tier = tier, p.Aside = tier % 2 == 0;
    if (p.Aside ? !aside : !inside) continue;
    p.Bore = p.Aside ? -PlugBoreAside / sheet : line - off;
    const double next = p.Aside ? last : line - spacing;
    if (tier <= 2) {
      // The body's diameter stands on the body, an alongside past the groove by the collar.
      p.Body = std::max(std::max(counter + spacing, (counter + next) / 2.0) - off, x27 + 3.0 + along);
      p.Spaced = next - counter >= spacing && p.Body + off <= next;
    } else {
      p.Body = (p.Lead.End + x59) / 2.0;
      p.Spaced = x59 - p.Lead.End >= 2.0 * spacing;
    }
    if (p.Spaced) break;
  }
  return done(p);
}

} // namespace

double TEjectorPlug::SheetScale() const
{
  const auto at = [&](double s) {
    return PlugStations(ECRadius, ECRadius + 0.1, EC2Len, ConeLen, CollarHeight, Len, s);
  };
  // Nor is it drawn at a scale where the seat edge's radius finds no place for its value within reach of
  // its arc.
  const auto reached = [&](double s) { return !SeatEdgeApart(s); };
  const auto roomy = [&](double s) { return at(s).Spaced && reached(s); };
  // The least enlargement that leaves room for all, the leader's value within reach at it and at every
  // smaller one; else the least that leaves room for all; else the largest the leader allows.
  const double least = MouldEnlargement(Len, roomy, reached);
  if (roomy(least)) return least;
  const double any = MouldEnlargement(Len, roomy);
  return roomy(any) ? any : least;
}

namespace {

// The seat's diameter stands beyond the far end face, as far out (on the sheet) as leaves the body's grade
// room on the outside's extension line between the two; the seat's angle arc just past it, and past the
// collar's level. The seat's length is sized on a line as far under the body's outline.
constexpr double PlugSeatLine = 26.0, PlugSeatLengthUnder = 30.0;
// A length from the collar's front face stood over the body (a collar standing out past it farther than the
// plug is long) has its line this far over the body's outside on paper, the next one as far again.
constexpr double PlugOverBody = 10.0;

double PlugSeatAngleArc(double r70, double r66, double r22, double sheet)
{
  // On paper: the arc ends with its arrow on the far end face's extension line, where the seat's length
  // has its arrow too and runs its value's shelf on past the face. An end beside that length's line, or
  // so little under it that the arc, rising from its end, passes back up through the shelf, is carried
  // half the way from that line to the face's grade sign, 7 under it at 1:1, clear of both.
  constexpr double Beside = 2.0, Under = 3.5;
  const double arc = std::max(PlugSeatLine + 3.0, (r70 - r66) * sheet + 1.0);
  const double line = (r22 - r66) * sheet + PlugSeatLengthUnder;
  return arc > line - Beside && arc < line + Under ? line + Under : arc;
}

} // namespace

bool TEjectorPlug::SeatEdgeApart(double sheet) const
{
  const TPlugStations p = PlugStations(ECRadius, ECRadius + 0.1, EC2Len, ConeLen, CollarHeight, Len, sheet);
  return p.Rounded && !p.Lead.Holds;
}

void TEjectorPlug::SeatEdgeDetail(TModeler3D& Md, double x, double y) const
{
  const TPlugSeatEdgeView v = PlugSeatEdgeView(ECRadius, ECRadius + 0.1, ConeLen);
  const double k = DrawnScale(Md), m = PlugEdgeDetailScale, w = v.Half, h = v.Step, fall = w * cTan1;
  // About the corner, in the sheet's millimetres: the boundary w each way (the step's foot w under the
  // corner's level at most), the title over it, the radius's value below and to the right in the bore.
  constexpr double Title = 8.0, Value = 14.0;
  double px = x, py = y;
  Md.drFreeViewPlace(px, py, -w * m / k - 2.0 / k, (-w * m - Value) / k, (w * m + Value) / k,
                     (w * m + Title + 2.0) / k, -w * m / k, -w * m / k, w * m / k, w * m / k);
  Md.drMtr(px, py, 0.0, m / k);
  Md.drText(-w, w + Title / 2.0 / m, 0.0, 6.0 / m, 1.0, 75,
            TString(PlugEdgeLetter) + TString("(") + DrawingNumber(m) + TString(":1)"));
  // The wall as the upper half draws it, the corner at the origin: the seat on to the right, the step down
  // to the middle bore on the left, and the boundary round the wall.
  TContDrawing c(&Md);
  c.Make(w, -fall, dCLL(0.0, 0.0, 0.0, -h, PlugSeatEdge, dP(-w, -h)));
  c.dr2D(1);
  c.Make(-w, -h, dP(-w, w, dP(w, w, dP(w, -fall))));
  c.dr2D(5);
  double ox = 0.0, oy = 0.0;
  CornerCentre(w, -fall, 0.0, 0.0, 0.0, -h, PlugSeatEdge, ox, oy);
  // Its leader from the arc's middle on through the centre, down and out into the bore.
  Md.drDimR(PlugSeatEdge, TString(), std::atan2(-oy, -ox) / cDegree, 1.0, 5, 1, ox, oy, 1, 1,
            TString("R"), TString(), TString());
  Md.drDeleteMtr();
}

double TEjectorPlug::SeatAngleReach(double sheet) const
{
  return PlugSeatAngleArc(CollarRadius, ECRadius + 0.1, Radius, sheet);
}

void TEjectorPlug::dr2D_V1(Real mx, Real my, Real ma, Real ms, Real r70, Real r68, Real r71, Real r66,
                           Real r22, Real x68, Real x9, Real x27, Real x59, Integer tl, bool isSize,
                           bool edgeDetail) const
{
  if (!PlacedFinite(Extent({r70, r68, r71, r66, r22, x68, x9, x27, x59}), mx, my, ma, ms))
    return RefuseElement("пробка выталкивателя");
  const double ts = x9 * cTan1; // the seat's radial rise over its length
  TModeler3D& Md = M();
  Md.drMtr(mx, my, ma, ms);
  const double sheet = DrawnScale(Md);
  const TPlugStations at = PlugStations(r71, r66, x68, x9, x27, x59, sheet);
  const double xs = at.Seat; // where the seat begins
  Md.drLine(-PlugAxisOverhang, 0.0, x59 + PlugAxisOverhang, 0.0, 3);
  TContDrawing c(&Md);
  c.Make(
      0.0, r70,
      dP(x27, r70,
         dCVR(x27, r22 - 0.3, x27 + 2.7, r22 - 0.3, x27 + 3.0, r22, 0.25,
              dP(x59, r22,
                 dPx(x59, r66,
                     dCLL(xs, r66 + ts, xs, r71, PlugSeatEdge,
                          dPx(xs, r71, dPx(x68, r71, dPx(x68 - 1.0, r68, dPx(0.0, r68, dP(0.0, r70)))))))))));
  c.dr2D(tl);
  if (tl != 0) {
    c.dr2DMY(tl);
    HatchBoth(Md, c, 135.0, 5.0);
  }
  if (isSize) {
    // Nested diameters at one end would have the inner values run on across the outer extension lines:
    // the head's outside alone is sized at the head; the bores and the body across the section where
    // each is, their values beyond the wall. The bore's grade stands on the bore's line drawn on past
    // the head.
    Md.drLine(x68, -r71, -22.0, -r71, 2);
    // A middle bore too short to be sized across its section is sized beside the head, between its lines.
    if (at.Aside) Md.drLine(x68, r71, -22.0, r71, 2);
    Rough(Md, -PlugBoreGrade, -r71, 90.0, "0,4");
    const bool rounded = at.Rounded;
    constexpr double SeatLine = PlugSeatLine;
    // The counterbore's depth and the whole length are given from the collar's front face, as their
    // tolerances ask: the depth over the collar's rim, the whole length under it, past the sizes below.
    // Their far extension lines, from the bore and from the body's outside, run up past the collar; a
    // collar standing out farther than the plug is long would have them run along the view farther than
    // it is across, as the sheet measures it. Such a length stands over the body instead, measured on the
    // front face at the body's level, its line across the collar: the depth nearer, the whole length past
    // it, clear of the seat's length and the groove's letter under the body.
    const auto pastRim = [&](double from) {
      return RunsFartherThanAcross((r70 - from) * sheet, x59 * sheet + ExtensionOverView);
    };
    const bool depthOver = pastRim(r71), wholeOver = pastRim(r22);
    const TDim depth = depthOver ? TDim{dHL, x68, PlugOverBody, 0.0, 0.0, r22, x68, r71, "", "", "&03~0,2"}
                                 : TDim{dHL, x68, 10.0, 0.0, 0.0, r70, x68, r71, "", "", "&03~0,2"};
    const TDim whole = wholeOver ? TDim{dHL, x59, 2.0 * PlugOverBody, 0.0, 0.0, r22, x59, r22, "", "f9", ""}
                                 : TDim{dHL, x59, -55.0, 0.0, 0.0, -r70, x59, -r22, "", "f9", ""};
    Dims(Md, {{dVL1, -2.0 * r68, 0.5, -1.0, at.Counterbore, -r68, at.Counterbore, r68, "&02", "H14", ""},
              {dVL1, -2.0 * r71, 0.5, -1.0, at.Bore, -r71, at.Bore, r71, "&02", "H7", ""},
              {dVL1, 2.0 * r70, -25.0, -5.0, 0.0, -r70, 0.0, r70, "&02", "h14", ""},
              depth,
              {dHL, x27, -30.0, -10.0, 0.0, -r70, x27, -r70, "", "h6", ""},
              {dHL, x9, -PlugSeatLengthUnder, -1.0, xs, -r66 - ts, x59, -r22, "", "", "&03~0,1"},
              whole,
              {dVL1, 2.0 * r22, 0.5, 1.0, at.Body, r22, at.Body, -r22, "&02", "n6", ""},
              {dVL1, 2.0 * r66, SeatLine, -5.0 - r22 + r66, x59, r66, x59, -r66, "&02~", "H12", ""}});
    // The seat's angle to the far end face, from the corner where they meet: its arc just past the
    // seat's extension lines, which it would cross at the seat's own line drawn on, its rays drawn from
    // where they pass that arc; and past the collar's level, so that the face's ray stands wholly below
    // the collar, not begun beside it.
    const double arc = PlugSeatAngleArc(r70, r66, r22, sheet) / sheet;
    Md.drDimApc(-91.0, -90.0, arc, arc + 4.0 / sheet, TString(), x59, -r66);
    // The seat's edge at the step is sized where the lower half rounds it, about the centre it is drawn
    // with; a step too shallow for the rounding leaves the edge sharp and unsized.
    if (rounded && (at.Lead.Holds || !edgeDetail)) {
      const TSeatEdgeLeader& lead = at.Lead;
      Md.drDimR(PlugSeatEdge, TString(), lead.Angle, lead.Shift, 5, 1, at.Ox, at.Oy, 1, 1, TString("R"),
                TString(), TString());
    } else if (rounded) {
      // No place for the radius's value here: the edge is called out on the upper half, its letter led
      // up through the wall, across the hatching, to stand over the body right of the leader's end, short of
      // the far end face (past it stands the body's sign) and of the body's diameter's line where that
      // stands across the seat; steeper where the rise would carry it that far.
      const TPlugSeatEdgeView v = PlugSeatEdgeView(r71, r66, x9);
      const double cy = v.Y - v.Step / 2.0, top = r22 + PlugEdgeLetterOver / sheet;
      const double stop = (at.Body > xs ? std::min(at.Body, x59) : x59) - PlugEdgeLetterRoom / sheet;
      const double lean =
          std::clamp((top - cy) / std::tan(PlugEdgeLetterRise), 0.0, std::max(stop - xs, 0.0));
      Md.drCircleShelf(xs, cy, v.Half, xs + lean, top, TString(PlugEdgeLetter));
    }
    Rough(Md, xs, -8.0 - r22, 0.0, "0,2");
    // The collar face's grade turned away from the collar's length, whose value slides past that face.
    Rough(Md, x27, -14.0 - r70, 180.0, "1,6");
    Rough(Md, 0.0, -49.0 - r70, 180.0, "0,8");
    Rough(Md, x59, -37.0 - r22, 0.0, "0,2");
    // Across the seat, or short of the middle bore's line, the body's value above takes the place where
    // the grade's shelf would reach from by the groove: the grade then stands on the body's line drawn on
    // past the far end face.
    if (rounded && at.Tier == 0)
      Rough(Md, x27 + 4.0, r22, 90.0, "0,8");
    else {
      Md.drLine(x59, r22, x59 + 6.0 / sheet, r22, 2);
      Rough(Md, x59 + 4.0 / sheet, r22, 90.0, "0,8");
    }
    // The seat's grade under its diameter's lower extension line, within the angle's arc and clear of
    // the diameter's line.
    Rough(Md, x59 + (SeatLine - 2.5) / sheet, -r66, 270.0, "0,2");
  }
  Md.drDeleteMtr();
}

// --- Centring bush -----------------------------------------------------------------------------

void TTubeDowel::dr2D_VtulkaCentruucha_V1(const Real& mx, const Real& my, const Real& ma, const Real& mm,
                                          const Real& r1, const Real& ir50, const Real& x53, Integer tl,
                                          bool isSize) const
{
  static const double t30 = cTan30; // the back chamfer's height over its 1 mm length
  static const double one = 1.0;
  if (!PlacedFinite(Extent({r1, ir50, x53}), mx, my, ma, mm)) return RefuseElement("втулка центрирующая");
  TModeler3D& Md = M();
  Md.drMtr(mx, my, ma, mm);
  Md.drLine(-3.0, 0.0, x53 + 3.0, 0.0, 3);
  TContDrawing c(&Md);
  c.Make(0.0, ir50,
         dFsk(0.0, r1, x53 / 2.0, r1, 1.0,
              dP(x53 - 1.0, r1, dP(x53, r1 - t30, dPx(x53, ir50, dPx(0.0, ir50))))));
  HalvesByTens(Md, c, tl, tl, 45.0, 4.0);
  if (isSize) {
    Dims(Md, {{dHL, x53, 10.0, 0.0, 0.0, r1 - t30, x53, r1 - t30, "", "h14", ""},
              {dVL, -2.0 * r1, -20.0, 1.0, one, -r1, one, r1, "&02", "g6", ""},
              {dVL1, 2.0 * ir50, 12.0, -1.0, x53, -ir50, x53, ir50, "&02", "H14", ""},
              {dHL, one, -12.0, -5.0, 0.0, -ir50, one, -r1, "", "", "&04~30&01~ 2 фаски"}});
    Rough(Md, -17.0, r1, 90.0, "0,8");
  }
  Md.drDeleteMtr();
}
