// The guide bush and the guide plug whose profile draws it.
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "hxcadkit/adapter/drSheetMeasures.h"
#include "hxcadkit/drawing/MathDetails.h"
#include "hxcadkit/drawing/drNodeCont.h"
#include "hxcadkit/geometry/GImage.h"
#include "hxcadkit/stdparts/MathDetailsl.h"

using namespace mould;

namespace {

constexpr int BushTable = 4;      // the collar bush
constexpr int FrontBushTable = 2; // the bush with a front extension

// The enlarged detail of a 90-degree V-groove 1 deep and 2 wide, titled with its letter, at the free
// place nearest (x, y) on the sheet, its outline clear of the sizes still to settle about the other views
// (a detail of the front groove beside it).
void VGrooveDetail(TModeler3D& M, double x, double y, const TString& letter)
{
  // The detail's scale and its room are the sheet's: a part drawn enlarged does not compound them.
  const double m = 4.0, k = DrawnScale(M);
  double px = x, py = y;
  M.drFreeViewPlace(px, py, -30.0 / k, -16.0 / k, 50.0 / k, 22.0 / k, -4.0 * m / k, -3.0 * m / k, 4.0 * m / k,
                    0.0);
  M.drMtr(px, py, 0.0, m / k);
  M.drText(5.0, 2.0, 0.0, 6.0 / m, 1.0, 75, letter + TString("(4:1)"));
  TContDrawing c(&M);
  c.Make(-4.0, 0.0, dP(-1.0, 0.0, dP(0.0, -1.0, dP(1.0, 0.0, dP(4.0, 0.0)))));
  c.dr2D(1);
  c.Make(-4.0, 0.0, dP(-3.0, -3.0, dP(3.0, -3.0, dP(4.0, 0.0))));
  c.dr2D(5);
  const TString none;
  M.drDimHL(2.0, 6.0, 1.0, -1.0, 0.0, 1.0, 0.0, none, none, none);
  M.drDimVL(1.0, -20.0, 1.0, -1.0, 0.0, 0.0, -1.0, none, none, none);
  M.drDimApc(90.0, 135.0, 10.0, 0.0, none, 0.0, -1.0);
  M.drDeleteMtr();
}

constexpr const char* BushName = "втулка направляющая";

// The characters of a diameter d's number: as the sheet writes it (two decimals, trailing zeros dropped),
// or with every digit it has.
int DiameterDigits(double d, bool written)
{
  char digits[32];
  int n = std::snprintf(digits, sizeof digits, written ? "%.2f" : "%g", d);
  while (written && n > 1 && digits[n - 1] == '0')
    --n;
  if (written && n > 1 && digits[n - 1] == '.') --n;
  return std::max(n, 1);
}

// Whether a diameter's value "⌀d" and a two-letter fit, 3.5 high, 0.6 of that wide a character, with 1.5
// clear of each arrow, fits between the arrows of a diameter of d drawn at its own size, its number as the
// sheet writes it or with every digit it has.
bool DiameterValueFits(double d, bool written)
{
  return d >= 3.0 + 2.1 * (3 + DiameterDigits(d, written));
}

// The stretch of the rear outside clear of the collar's groove, the rear chamfer and the V-groove at Xk
// (none at 0): the longer of its stretches either side of the V-groove.
std::pair<double, double> RearStretch(double S, double L, double Xk)
{
  double from = S + 3.0, to = L - 1.0;
  if (Xk != 0.0 && Xk - 1.0 - from > to - Xk - 1.0)
    to = Xk - 1.0;
  else if (Xk != 0.0)
    from = Xk + 1.0;
  return {from, to};
}

// Whether the collar's height "Sh9" (its number as the sheet writes it, 3.5 high, 0.6 of that wide a
// character) finds a place below a bush drawn at k on paper: between its arrows, 1.5 clear of each, or
// past a face, 1.5 off it and within the extension line of the bush's end beyond (the front end's, the
// rear end's). Past that line its line would run on across it.
bool CollarValueBelow(double S, double F, double L, double k)
{
  constexpr double Clear = 1.5;
  const double past = 0.6 * 3.5 * (DiameterDigits(S, true) + 2) + Clear;
  return F == 0.0 || S * k >= past + Clear || F * k >= past || (L - S) * k >= past;
}

namespace sheet = drApi::sheet;
// The reach of a sign the drawing judges by is the one the layout draws.
static_assert(SignReachBack == sheet::SignArm && SignReachOn == sheet::SignShelfEnd &&
              SignReachAcross > sheet::SignTop);

// The room a value takes beside its line (it stands a millimetre off it), and that room with a value's
// height of air beyond it, which the bush's sheet leaves between a value and what stands past it.
constexpr double ValueRoom = 1.0 + sheet::ValueHeight, ValueAndAir = ValueRoom + sheet::ValueHeight;
// Nested lines with a value between them stand a spacing and the value's height apart.
constexpr double NestStep = LineSpacing + sheet::ValueHeight;
// A sign's tip stands off what lies behind its short arm by the arm's reach back and as much again.
constexpr double SignClear = 2.0 * sheet::SignArm;
// The first line past an end stands two spacings out: its value, between it and the end, a spacing clear
// of the end's outline and chamfers.
constexpr double FirstPast = 2.0 * LineSpacing;

// Where the bush's lengths and the collar faces' signs stand below the collar's edge, on paper. The rear
// face's sign on that face's extension line first, its short arm clear of the collar; the first tier (the
// collar's height, the V-groove's place chained to it) under that sign's shelf, its value with air above
// it; the front face's sign on that face's extension line, its shelf rising beside the first tier's
// arrow, its tip a value and air below that tier; the second tier (the collar and the front part, or the
// V-groove's place from the front face) past that sign's short arm; the whole length nested below it.
struct TBushTiers
{
  double RearSign, First, FrontSign, Second, Whole;
};

constexpr TBushTiers BushTiers()
{
  TBushTiers t{};
  t.RearSign = SignClear;
  t.First = t.RearSign + sheet::SignShelfEnd + ValueAndAir;
  t.FrontSign = t.First + ValueAndAir;
  t.Second = t.FrontSign + SignClear;
  t.Whole = t.Second + NestStep;
  return t;
}

// The axis runs this far past both ends of the bush, in the part's millimetres.
constexpr double BushAxisOver = 2.0;

// Past the rear end, on paper, k the scale the part is drawn at: the bore's sign, where it stands on the
// bore's extension line there, its short arm's reach back clear of the axis's end by the millimetre the
// layout keeps a sign off an axis (and half a millimetre to spare): the axis runs across the sign's height
// wherever the sign stands out there, the bore too narrow for it; the bore's line past that sign's shelf,
// its value a millimetre clear of the shelf's end, or else the first line past the end.
struct TRearPlaces
{
  double BoreSign, Bore;
};

TRearPlaces RearPlaces(bool boreSignOut, double k)
{
  constexpr double Spare = 0.5;
  const double sign = BushAxisOver * k + sheet::SignArm + sheet::AxisGap + Spare;
  return {sign, boreSignOut ? sign + sheet::SignShelfEnd + 1.0 + ValueRoom : FirstPast};
}

// Whether the collar stands out past the outside farther than the bush is long: the lengths to its ends,
// whose extension lines run from the outside (the V-groove's from its floor, a millimetre in) out past the
// collar's edge, would run along the collar's faces farther than the bush is across them. The lengths then
// stand chained from the collar's faces, in the room beside the parts in front of and behind it.
bool LengthsFromCollar(double r1, double r2, double F, double L)
{
  return RunsFartherThanAcross(r2 - r1 + 1.0, F + L);
}

// Below the outside, on paper, in that room: the nearer line's value a value and air clear of the outside,
// the farther a nest's step on.
constexpr double BesideFirst = ValueAndAir + 1.0, BesideSecond = BesideFirst + NestStep;

} // namespace

// The outline's limits: the grooves by the collar and before the front part are 0.5 deep, the front
// one 3 long (or F - 1.5 on a short front part, which must leave it its run-out), the collar's 3 long and
// the V-groove 2 wide; the bore is relieved by 0.5 in front of its guided length and chamfered 0.5 at the
// front, rounded 0.5 into a 1 mm rear chamfer.
mould::TBushRelation mould::BushBroken(const TBushSizes& b)
{
  if (!Positive({b.r, b.r1, b.r2, b.L}) || !NotNegative({b.F, b.S}) || !std::isfinite(b.sl) ||
      !std::isfinite(b.Xk))
    return bsSizes;
  if (b.sl < 0.0) return bsGuided;
  // Relieved or not, the bore with its 0.5 chamfer keeps 1 from the outside's 0.5 groove.
  if (b.r + 1.5 >= b.r1) return bsBore;
  if (b.r2 < b.r1 || (b.S > 0.0 && b.r2 <= b.r1)) return bsCollar;
  // The short front's groove is F - 1.5 long and its run-out 0.5: shorter, the groove's floor runs back
  // into the collar's face and the outline crosses itself.
  if (b.F > 0.0 && b.F < 2.0) return bsFront;
  // A land shorter than the least line the modeller draws is none: the outline would break there, and a
  // hatch close each piece with a chord across the section.
  const auto noLand = [](double from, double to) { return to - from < LeastLine; };
  if (noLand(b.S + 3.0, b.L - 0.5)) return bsCollarLength;
  if (b.Xk != 0.0 && (noLand(b.S + 3.0, b.Xk - 1.0) || noLand(b.Xk + 1.0, b.L - 0.5))) return bsGroove;
  return bsNone;
}

const char* mould::BushMeaning(TBushRelation broken)
{
  switch (broken) {
  case bsSizes: return "размеры должны быть положительными";
  case bsGuided: return "направляющая часть отверстия внутри втулки";
  case bsBore: return "отверстие выходит на наружную поверхность";
  case bsCollar: return "буртик не шире втулки";
  case bsFront: return "передний поясок короче канавки";
  case bsCollarLength: return "буртик с канавкой длиннее втулки";
  case bsGroove: return "канавка выходит за втулку";
  case bsNone: break;
  }
  return nullptr;
}

const char* mould::BushFault(double r, double r1, double r2, double F, double S, double L, double sl,
                             double Xk)
{
  return BushMeaning(BushBroken({r, r1, r2, F, S, L, sl, Xk}));
}

// The bush's grooves on its sheet: the relief grooves by the collar and before the front extension
// (0.5 deep, 3 long with a 45-degree run-out) in detail A, a shorter front one in detail B of its own,
// and the V-groove placed from the collar's face and shown in a detail of its own.
void TSocketLeaderPinBushing::dr2D_Grooves() const
{
  TModeler3D& Md = M();
  const double r1 = Radius, r2 = CollarRadius, S = CollarHeight, F = FLen;
  const double d = F > 3.0 ? 3.0 : F - 1.5; // the front groove's length, as the profile draws it
  TString next("Б");
  // The details stand below the part, 80 and the collar's radius on the sheet, whatever its scale.
  const double k = DrawnScale(Md), below = -2.0 * r2 - 80.0 / k;
  if (S != 0.0) {
    Md.drCircleShelf(S + 1.5, r1, 3.0, S + 5.0, r1 + 20.0, TString("А"));
    TCommonGeometry(0, &Md).drCVR_dV(0.0, below, 0.0, 4.0, 3.0, 0.5, 0.5, TString("А"), true);
  }
  if (F != 0.0 && d > 0.0) {
    const bool same = d == 3.0 && S != 0.0;
    const TString letter = same ? TString("А") : next;
    Md.drCircleShelf(-d / 2.0, -r1, 3.0, -d - 5.0, -r1 - 20.0, letter);
    if (!same) {
      TCommonGeometry(0, &Md).drCVR_dV(110.0 / k, below - 15.0 / k, 0.0, 4.0, d, 0.5, 0.5, letter, true);
      next = TString("В");
    }
  }
  if (GrooveLen != 0.0) {
    const TString none;
    // Placed from the collar's front face; on a bush with a front part, from its rear face, chained to the
    // collar's height: one from the front face would have an extension line across the front's line.
    constexpr TBushTiers tier = BushTiers();
    if (LengthsFromCollar(r1, r2, F, Len))
      Md.drDimHL(GrooveLen - S, -BesideFirst, 1.0, S, -r1, GrooveLen, 1.0 - r1, none, none, none);
    else if (F != 0.0)
      Md.drDimHL(GrooveLen - S, -tier.First, 1.0, S, -r2, GrooveLen, 1.0 - r1, none, none, none);
    else
      Md.drDimHL(GrooveLen, -tier.Second, 1.0, 0.0, -r2, GrooveLen, 1.0 - r1, none, none, none);
    Md.drCircleShelf(GrooveLen, r1, 3.0, GrooveLen + 5.0, r1 + 20.0, next);
    VGrooveDetail(Md, 90.0 / k, below, next);
  }
}

namespace {

// The bush's sizes and signs on its sheet, its profile drawn at the origin, b.sl the length of its bore
// guided from the rear end: signs and lines placed on paper, whatever the scale the part is drawn at.
void BushSizes(TModeler3D& Md, const TBushSizes& b)
{
  const double r = b.r, r1 = b.r1, r2 = b.r2, F = b.F, S = b.S, L = b.L, Xk = b.Xk, k = DrawnScale(Md);
  const TString none;
  const auto plain = txapi::txRoughSignEnum(0);
  // The front face's sign stands under the collar past the lengths' lines only where the front end's
  // extension line, F off the face, passes the whole sign: nearer, the sign between the two has no place.
  const bool frontBelow = F == 0.0 || ClearOfSign(F * k);
  constexpr TBushTiers tier = BushTiers();
  // No detail view shows the collar's groove, so it is not called out; without a front extension
  // the collar height and the outer diameter are each given once, by the collar and the rear.
  // The collar's height may stand above the part, where the front face's and the rear end's extension
  // lines below leave its value no room.
  Md.drDimHL(S, -tier.First, 1.0, 0.0, -r2, S, -r2, none, "h9", none);
  Md.drDimOtherSide(0.0, r2, S, r2);
  if (LengthsFromCollar(r1, r2, F, L)) {
    // The rear part from the collar's rear face below the outside, past the V-groove's place; the front
    // part from the collar's front face above it, clear of the front groove's callout, whose leader runs
    // down from below the outside.
    if (F != 0.0) Md.drDimHL(F, BesideFirst, 1.0, 0.0, r1, -F, r1 - 0.5, none, "h14", none);
    Md.drDimHL(L - S, Xk != 0.0 ? -BesideSecond : -BesideFirst, 1.0, S, -r1, L, 0.5 - r1, none, "h14", none);
  } else {
    if (F != 0.0) Md.drDimHL(S + F, -tier.Second, 1.0, -F, 0.5 - r1, S, -r2, none, "h14", none);
    Md.drDimHL(L + F, -tier.Whole - (r2 - r1 + 0.5) * k, 1.0, -F, 0.5 - r1, L, 0.5 - r1, none, "h14", none);
  }
  if (F != 0.0) Md.drDimVL2(2.0 * r1, -FirstPast - k, 0.0, 1.0 - F, -r1, 1.0 - F, r1, "&02", "h9", none);
  // The collar's diameter from the face on its shorter side, its extension lines over as little of the
  // part as they can; not past the front end where its extension line would run through the front
  // outside's sign, which stands on the line of that outside past the front end: through its value, or
  // within the stroke's clearance below its shelf.
  const double collarOver = (r2 - r1) * k;
  const bool acrossFrontSign =
      F != 0.0 && !ClearOfSign(collarOver) && collarOver > sheet::SignShelf - sheet::StrokeOn;
  // Nor from a face whose extension lines would run farther along the part than the collar is across: the
  // diameter then stands across the collar itself, its value beyond the wall.
  const bool collarFront = F <= L - S && !RunsFartherThanAcross(F, 2.0 * r2) && !acrossFrontSign;
  const bool collarRear = !collarFront && !RunsFartherThanAcross(L - S, 2.0 * r2);
  const auto collarAcross = [&] {
    const double mid = S / 2.0 - std::min(1.0, S / 4.0);
    Md.drDimVL1(2.0 * r2, 0.5, -1.0, mid, -r2, mid, r2, "&02", "h14", none);
  };
  if (collarFront) Md.drDimVL2(2.0 * r2, -26.0 - F * k, 1.0, 0.0, -r2, 0.0, r2, "&02", "h14", none);
  // The bore's sign stands on the bore where the axis passes above the whole sign; where the axis would
  // run through its value, its shelf or its arms, it stands on the bore's extension line past the rear
  // end instead, the bore's size farther out to leave it room. The diameters past the rear end nest
  // smallest nearest, each asked after the one inside it, so that no extension line of a smaller one
  // runs across a larger one's line.
  const bool signOut = !ClearOfSign(r * k);
  const TRearPlaces rear = RearPlaces(signOut, k);
  Md.drDimVL2(2.0 * r, rear.Bore, 5.0, L, -r, L, r, "&02", "H7", none);
  // Where the bore's value might not fit between its arrows it may slide past an end: judged with every
  // digit of its number, at the part's own size.
  if (!DiameterValueFits(2.0 * r, false)) {
    // A diameter nested outside it would have the bore's value run on across its extension line: the bore
    // alone stands past the rear end, the rear outside (and the collar, where it is not sized at the
    // front) across the section where each is, their values beyond the wall. The rear outside's line
    // stands in the middle of the longer of its stretches either side of the V-groove.
    const auto [from, to] = RearStretch(S, L, Xk);
    const double mid = (from + to) / 2.0;
    Md.drDimVL1(2.0 * r1, 0.5, 1.0, mid, -r1, mid, r1, "&02", "n6", none);
    if (!collarFront) collarAcross();
  } else {
    // The rear outside asked a spacing and a value past the bore from its edge at the chamfer, half a
    // millimetre short of the end; the collar as far past the outside's line as that is past the bore's.
    const double outside = rear.Bore + NestStep, outsideLine = outside - 0.5 * k;
    Md.drDimVL2(2.0 * r1, outside, 1.0, L - 0.5, -r1, L - 0.5, r1, "&02", "n6", none);
    if (collarRear)
      Md.drDimVL2(2.0 * r2, (L - S) * k + 2.0 * outsideLine - rear.Bore, 1.0, S, -r2, S, r2, "&02", "h14",
                  none);
    else if (!collarFront)
      collarAcross();
  }
  // The chamfers' size above the sign of the seat beside it.
  Md.drDimHL(0.5, 15.0, -1.0, L - 0.5, r1, L, r1 - 0.5, "2 фаски ", none, "&04~45&01");
  Md.drRough(signOut ? L + rear.BoreSign / k : L - b.sl + 4.0 / k, -r, 90.0, plain, "0,4", none, none);
  // The front extension's own sign; without one the rear's sign is the whole outside's.
  if (F != 0.0) Md.drRough(-F - 8.0 / k, r1, 90.0, plain, "0,8", none, none);
  Md.drRough(L + 12.0 / k, r1, 90.0, plain, "0,8", none, none);
  // The collar's faces' signs off the material's side of each face; where the sizes' lines cross them
  // there, the layout takes them along their faces' lines. The rear face's stands under the collar, its
  // shelf away from the part; the front face's, its shelf rising away from the part, under the collar
  // where it has room, else above the collar on a line of its own from the face's edge, asked before
  // the rear face's sign can take the room there, its short arm's end the stroke's clearance above the
  // line along the collar's top.
  if (!frontBelow)
    RoughOnOwnLine(Md, 0.0, r2, r2 + (sheet::SignArm + sheet::StrokeOn) / k, 180.0, TString("1,6"));
  Md.drRough(S, -r2 - tier.RearSign / k, 0.0, plain, "1,6", none, none);
  if (frontBelow) Md.drRough(0.0, -r2 - tier.FrontSign / k, 180.0, plain, "1,6", none, none);
}

} // namespace

// --- TDirectPlug ------------------------------------------------------------------------------

TDirectPlug::TDirectPlug(int iId, TModeler3D* M, TConstruktor& C)
    : TDetail(iId, M, C), TRect2D(0.0, 0.0, 0.0, 0.0)
{
}

void TDirectPlug::Show(TGImage& GI, const TColor& Color) const
{
  if (!Design) return;
  GI.drColorStyle(Color, psSolid);
  GI.drCircle(RU.x, RU.y, Radius);
  GI.drCircle(LD.x, RU.y, Radius);
  GI.drCircle(RU.x, LD.y, Radius);
  GI.drCircle(LD.x, LD.y, Radius);
}

void TDirectPlug::AddGabIn(TRect2D& G, const Real& d) const
{
  if (!Design) return;
  const double e = Radius + d;
  // The plugs stand in mirrored pairs about the Y axis, so both signs of x count.
  G.LD.x = std::min({G.LD.x, -RU.x - e, -LD.x - e});
  G.RU.x = std::max({G.RU.x, RU.x + e, LD.x + e});
  G.LD.y = std::min(G.LD.y, LD.y - e);
  G.RU.y = std::max(G.RU.y, RU.y + e);
}

void TDirectPlug::toStream(TKmfData& S) const
{
  WriteHead(S, *this);
  Write(S, {RU.x, RU.y, LD.x, LD.y, Radius, CollarHeight, CollarRadius, ColumnRadius, OustingLen, Len});
}

void TDirectPlug::fromStream(TKmfData& S)
{
  ReadHead(S, *this);
  Read(S,
       {&RU.x, &RU.y, &LD.x, &LD.y, &Radius, &CollarHeight, &CollarRadius, &ColumnRadius, &OustingLen, &Len});
}

void TDirectPlug::dr2D_LeaderPinBushing_V1(Real mx, Real my, Real ma, Real ms, Real r, Real r1, Real r2,
                                           Real F, Real S, Real L, Real sl, int tl, bool isSize,
                                           Real Xk) const
{
  TModeler3D& Md = M();
  // The bore is guided over sl only; in front of that it is relieved by 0.5.
  const double Lk = std::min(sl, F + L - 0.5);
  const double r3 = F + L - 0.5 > sl ? r + 0.5 : r;
  const double d = F > 3.0 ? 3.0 : F - 1.5;

  Md.drMtr(mx, my, ma, ms);
  Md.drLine(-BushAxisOver - F, 0.0, L + BushAxisOver, 0.0, 3);

  TNode* tail = dP(0.0, r2);
  if (S != 0.0) tail = dCVR(S + 2.5, r1 - 0.5, S, r1 - 0.5, S, r2, 0.25, tail);
  tail = dP(S + 3.0, r1, tail);
  if (Xk != 0.0) tail = dP(Xk + 1.0, r1, dP(Xk, r1 - 1.0, dP(Xk - 1.0, r1, tail)));
  tail = dCLL(L, r, L, r1 - 1.0, 0.5, dPx(L, r1 - 0.5, dP(L - 0.5, r1, tail)));
  TNode* bore = dP(L - Lk, r3, dPx(L - Lk, r, tail));
  TNode* first = F != 0.0 ? dCVR(0.0, r1 - 0.5, 0.5 - d, r1 - 0.5, -d, r1, 0.25,
                                 dP(0.5 - F, r1, dP(-F, r1 - 0.5, dPx(-F, r3 + 0.5, dPx(0.5 - F, r3, bore)))))
                          : dPx(0.0, r3 + 0.5, dPx(0.5, r3, bore));
  TContDrawing c(&Md);
  c.Make(0.0, r2, first);

  const int tens = tl / 10;
  if (tens == 1) {
    Md.drHatch(0, 45.0, 3.0);
    c.dr2D(0);
    Md.drEndObj();
    c.dr2D(tl % 10);
  } else if (tens == 2) {
    Md.drHatch(0, 45.0, 3.0);
    c.dr2DMY(0);
    Md.drEndObj();
    c.dr2DMY(tl - 20);
  } else {
    c.dr2D(tl);
    if (tl != 0) {
      c.dr2DMY(tl);
      Md.drHatch(0, 45.0, 3.0);
      c.dr2D(0);
      c.dr2DMY(0);
      Md.drEndObj();
    }
  }

  if (isSize) BushSizes(Md, {r, r1, r2, F, S, L, Lk, Xk});
  Md.drDeleteMtr();
}

// --- TSocketLeaderPinBushing ------------------------------------------------------------------

TSocketLeaderPinBushing::TSocketLeaderPinBushing(int iId, TModeler3D* M, const TDetail* iComplement)
    : TDetail(iId, M, iComplement, 0, nullptr)
{
}

TSocketLeaderPinBushing& TSocketLeaderPinBushing::operator=(const TSocketLeaderPinBushing& o)
{
  Design = o.Design;
  Code = o.Code;
  Radius = o.Radius;
  LPRadius = o.LPRadius;
  Len = o.Len;
  FLen = o.FLen;
  LPLen = o.LPLen;
  CollarHeight = o.CollarHeight;
  CollarRadius = o.CollarRadius;
  GrooveLen = o.GrooveLen;
  return *this;
}

int TSocketLeaderPinBushing::Set(int DetId, const Real& R, const Real& T)
{
  if (DetId != BushTable && DetId != FrontBushTable) return 0;
  const bool front = DetId == FrontBushTable;
  const int I = FindRow(DetId, 2, 2.0 * R, front ? 7 : 6, T);
  if (I != 0) {
    Radius = Col(DetId, I, 2) / 2.0;
    LPRadius = Col(DetId, I, 1) / 2.0;
    Len = Col(DetId, I, front ? 7 : 6);
    FLen = front ? Col(DetId, I, 5) : 0.0;
    LPLen = Col(DetId, I, front ? 6 : 5);
    CollarHeight = Col(DetId, I, 4);
    CollarRadius = Col(DetId, I, 3) / 2.0;
    // The collar bush carries its V-groove in its middle, at a whole millimetre.
    GrooveLen = front ? 0.0 : MouldWhole((Len + CollarHeight) / 2.0);
  }
  Chosen(*this, DetId, I);
  return I;
}

void TSocketLeaderPinBushing::toStream(TKmfData& S) const
{
  WriteHead(S, *this);
  Write(S, {Radius, LPRadius, Len, FLen, LPLen, CollarHeight, CollarRadius, GrooveLen});
}

void TSocketLeaderPinBushing::fromStream(TKmfData& S)
{
  ReadHead(S, *this);
  Read(S, {&Radius, &LPRadius, &Len, &FLen, &LPLen, &CollarHeight, &CollarRadius});
  if (S.Version() < 37)
    GrooveLen = 0.0;
  else
    S.Read(GrooveLen);
}

namespace {

const char* GuideBushFault(const TSocketLeaderPinBushing& b)
{
  return BushFault(b.LPRadius, b.Radius, b.CollarRadius, b.FLen, b.CollarHeight, b.Len, b.Len, b.GrooveLen);
}

} // namespace

void TSocketLeaderPinBushing::dr2D() const
{
  if (!M2.Ptr || RefuseSizes(BushName, GuideBushFault(*this))) return;
  // The bush is drawn enlarged, up to twice, where the collar's height finds no place below at 1:1.
  // A bore whose value might not fit between its arrows has the rear outside's diameter asked across the
  // rear stretch. A stretch too short for its line has it moved past the rear end, where the bore's value,
  // as the sheet writes it too long for its arrows, runs on across its extension line: the bush is then
  // drawn enlarged, up to twice, where the stretch holds the line (an enlarged bore's value fitting
  // between its arrows does not change the layout the profile asks, which judges it at the part's size).
  const double d = 2.0 * LPRadius;
  const bool crossed = !DiameterValueFits(d, false) && !DiameterValueFits(d, true);
  const auto [from, to] = RearStretch(CollarHeight, Len, GrooveLen);
  const double scale = MouldEnlargement(
      FLen + Len,
      [&](double s) {
        return (!crossed || (to - from) * s >= 2.0 * LineSpacing) &&
               CollarValueBelow(CollarHeight, FLen, Len, s);
      },
      2.0);
  // A front part long enough to hold the front face's sign under the collar beside it reaches so far
  // towards the binding margin that the diameters past its end and the front outside's sign there would
  // find no room: the view goes right by the front's length, its front end where a short front's collar
  // face stands.
  const double front = ClearOfSign(FLen * scale) ? FLen : 0.0;
  drMouldSheet(
      M(), Id, front, -CollarRadius, scale,
      [this](TModeler3D& Md) {
        TDirectPlug P(0, &Md, TConstruktor::Empty());
        P.dr2D_LeaderPinBushing_V1(0.0, 0.0, 0.0, 1.0, LPRadius, Radius, CollarRadius, FLen, CollarHeight,
                                   Len, Len, 1, true, GrooveLen);
        dr2D_Grooves();
      },
      0);
}

void TSocketLeaderPinBushing::dr3D(int) const
{
  if (!M2.Ptr || RefuseSizes(BushName, GuideBushFault(*this))) return;
  const TMouldBuildMark mark = drMouldBuildMark(M());
  if (!OpenPart(*this, txapi::o3d_planeYOZ)) return;
  TModeler3D& Md = M();
  TDirectPlug P(0, &Md, TConstruktor::Empty());
  P.dr2D_LeaderPinBushing_V1(0.0, 0.0, 0.0, 1.0, LPRadius, Radius, CollarRadius, FLen, CollarHeight, Len, Len,
                             0, false, GrooveLen);
  Md.drBaseRotate(0, 360.0);
  if (drMouldDiscardFailed(Md, mark)) return;
  Grey(Md);
  const TString file = Md.drFileName3D();
  Md.drClose3D(true, tNotExist);
  drMouldSaved(Md, file);
}
