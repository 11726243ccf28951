// The spacer screw and the two parts that read its record.
#include <algorithm>
#include <cmath>

#include "hxcadkit/adapter/drSheetMeasures.h"
#include "hxcadkit/drawing/MathDetail2.h"
#include "hxcadkit/drawing/MathDetails.h"
#include "hxcadkit/drawing/drNodeCont.h"
#include "hxcadkit/stdparts/MathDetailsl.h"

namespace {
// Versions of the stream at which fields joined the spacer screw's record.
constexpr int VersionDepthHole = 45;
constexpr int VersionRect = 50;
constexpr int VersionExecution = 82;
// The clearance hole of the medium series for a metric screw of nominal diameter d; a diameter the series
// does not list gets a tenth more.
double ClearanceHole(double d)
{
  static constexpr double series[][2] = {{1.6, 1.8}, {2, 2.4}, {2.5, 2.9}, {3, 3.4}, {4, 4.5}, {5, 5.5},
                                         {6, 6.6},   {8, 9},   {10, 11},   {12, 14}, {14, 16}, {16, 18},
                                         {18, 20},   {20, 22}, {22, 24},   {24, 26}, {27, 30}, {30, 33},
                                         {36, 39},   {42, 45}, {48, 52},   {56, 62}, {64, 70}};
  for (const auto& s : series)
    if (std::fabs(s[0] - d) < 1e-9) return s[1];
  return 1.1 * d;
}

// The bores of the assembled spacer's washer and bush: the spacer's own sizes, never narrower than the
// clearance hole of the screw they take.
struct TSpacerBores
{
  double Washer, Bush;
};

TSpacerBores SpacerBores(double R, double ThreadRadius)
{
  const double hole = ClearanceHole(2 * ThreadRadius);
  return {std::max(2 * (R - 2.5), hole), std::max(2 * (R - 3.0), hole)};
}

// The assembled spacer as it is built (the parts' sizes as dr3D gives them), cut above the axis: the cap
// screw (1) uncut, its head's socket hidden, its shank in the bores of the washer (2) under the head and
// of the bush (3) over the screw, the thread beyond the bush; below the axis the parts from outside. Each
// part is numbered on a shelf above the view, its leader ending in it; each is dimensioned as its solid
// has it. Chamfers are left out, as an assembly shows them.
void drAssembledSpacer(TModeler3D& Md, double r, double R, double CR, double K, double Len, double ThreadLen)
{
  const double w = K + 3.0, b = Len - ThreadLen + 3.0, S = 2 * R - 4.0, t = 0.5 * K;
  const TSpacerBores bores = SpacerBores(R, r);
  const double rw = bores.Washer / 2, rb = bores.Bush / 2;
  Md.drLine(-3.0, 0.0, Len + 3.0, 0.0, 3);
  Md.drRectAngle(0.0, -R, K, R, 1);
  if (S > 0.0) Md.drRectAngle(0.0, -S / 2, t, S / 2, 4);
  Md.drLine(K, r, b, r, 1);
  Md.drRectAngle(b, -r, Len, r, 1);
  Md.drLine(b, r - 1.0, Len, r - 1.0, 2);
  Md.drLine(b, 1.0 - r, Len, 1.0 - r, 2);
  const auto outside = [&Md](double x1, double x2, double y) {
    Md.drLine(x1, 0.0, x1, -y, 1);
    Md.drLine(x1, -y, x2, -y, 1);
    Md.drLine(x2, -y, x2, 0.0, 1);
  };
  outside(K, w, CR);
  outside(w, b, R);
  // Adjacent parts cut are hatched the opposite ways, each within its outline.
  const auto cut = [&Md](double x1, double x2, double y1, double y2, double angle) {
    Md.drHatch(0, angle, 3.0);
    Md.drRectAngle(x1, y1, x2, y2, 1);
    Md.drEndObj();
  };
  cut(K, w, rw, CR, 45.0);
  cut(w, b, rb, R, 135.0);
  // The position numbers, on shelves in a row above the view.
  const double shelf = CR + 12.0;
  const auto position = [&Md, shelf](const char* n, double xs, double x, double y) {
    Md.drShelf(txapi::txLeaderNoSign, xs, shelf, txapi::txLSRight, txapi::txArrowNone, 5.0, 1.0, 75.0,
               TString(n), 5.0, 1.0, 75.0, TString());
    Md.drPoint(x, y);
    Md.drEndObj();
  };
  // The screw's leader ends in its head past the socket's depth; the washer's comes from before it, clear
  // of the washer's diameter beside it.
  position("1", -8.0, 0.75 * K, 0.5 * (R + std::max(S / 2, 0.0)));
  position("2", K - 4.0, 0.5 * (K + w), 0.5 * (rw + CR));
  position("3", 0.5 * (w + b) + 4.0, 0.5 * (w + b), 0.5 * (rb + R));
  const TString none, dia("&02");
  Md.drDimHL(K, R - CR - 10.0, -1.0, 0.0, -R, K, -R, none, none, none);
  Md.drDimHL(3.0, -10.0, -1.0, K, -CR, w, -CR, none, none, none);
  Md.drDimHL(b - w, R - CR - 10.0, -1.0, w, -R, b, -R, none, none, none);
  Md.drDimHL(Len - b, r - CR - 10.0, -1.0, b, -r, Len, -r, none, none, none);
  Md.drDimHL(Len, R - CR - 22.0, 0.0, 0.0, -R, Len, -r, none, none, none);
  // The head's diameter before it and the thread's beyond its end; the washer's just past its face and the
  // bush's by its end, both across the bush, their values past an end: a diameter nested round another on
  // the same side has its extension lines across that one's line run on under a value too long for its
  // arrows (a thread or a head between the sampled sizes).
  Md.drDimVL(2 * R, -10.0, -1.0, 0.0, -R, 0.0, R, dia, none, none);
  // A bush too short to hold both lines, each with its value beside it past an end (4,5 across and a
  // millimetre clear of the next line), has both a row apart beyond the thread's, the wider farther: each
  // value fits between its arrows there, and each line spans less than the next one's extension lines.
  if (b - w >= 3.0 + 2.5 + 4.5 + 1.0) {
    Md.drDimVL(2 * CR, 3.0, -1.0, w, -CR, w, CR, dia, TString("h14"), none);
    Md.drDimVL(2 * R, 0.5, -1.0, b - 3.0, -R, b - 3.0, R, dia, TString("h7"), none);
  } else {
    Md.drDimVL(2 * CR, Len + 26.0 - w, -1.0, w, -CR, w, CR, dia, TString("h14"), none);
    Md.drDimVL(2 * R, Len + 18.0 - b, -1.0, b, -R, b, R, dia, TString("h7"), none);
  }
  Md.drDimVL(2 * r, 10.0, -1.0, Len, -r, Len, r, TString("M"), none, none);
}

// How far above the one-piece spacer's axis its whole length's line stands: over the collar, and over the
// body's callouts and fit sign above it. k: sheet millimetres per unit of the view.
double OnePieceWholeLevel(double collarRadius, double radius, double k)
{
  return std::max(collarRadius, radius + 16.0 / k) + 8.0 / k;
}

// Whether the one-piece spacer's chamfer length's value, standing centred over its line 2 long at the
// level chamfer while the layout settles the lines (it slides past the end face only once all have), takes
// the room under a body so short that its diameter's value, written down from just under the body by the
// line at xb, needs it: that value then goes past the thread's end, its line across the thread's extension
// lines. k: sheet millimetres per unit of the view.
bool ChamferValueInBodysWay(double k, double xb, double radius, double chamfer)
{
  using namespace drApi::sheet;
  // "2 фаски 2×45°" along the line, from 1 to 4.5 over it; "ø16h7" across its line, from 1.5 under the body,
  // 1 to 4.5 left of the line.
  const double chamferHalf = ValueLength(13) / 2.0 / k;
  const double bodyValue = ValueLength(3 + std::size_t(DrawingNumber(2.0 * radius).Length())) / k;
  const double top = -radius - 1.5 / k, bottom = top - bodyValue, left = xb - (1.0 + ValueHeight) / k;
  return 1.0 + chamferHalf > left && chamfer + 1.0 / k < top && chamfer + (1.0 + ValueHeight) / k > bottom;
}

// The scale the one-piece spacer's sheet draws it at, its body of the given length from the collar's back
// face: the body's diameter stands under the body between that face's extension line (0.2 either side of
// it, as the layout takes it) and the end face's, its value, a value's height across, a millimetre left of
// its line, the line at least 2 off the end face. A body too short on paper for that is drawn enlarged, at
// the least standard scale that gives it the room, as long as the part of length len still fits the sheet.
double OnePieceScale(double body, double len)
{
  using namespace drApi::sheet;
  constexpr double LineHalf = 0.2, ValueOff = 1.0, LineOffFace = 2.0;
  return MouldEnlargement(
      len, [body](double s) { return body * s >= LineHalf + ValueHeight + ValueOff + LineOffFace; });
}

// The thread's undercut's detail on the one-piece spacer's sheet: its scale and the undercut's depth.
constexpr double UndercutScale = 10.0, UndercutDepth = 1.0;

// How far under the one-piece spacer's axis its details stand (in the view's units at its scale k): 110, or
// lower by as much as keeps the body's length's extension lines, which reach past its line at level body,
// a millimetre over the undercut's detail's boundary, which rises four depths over the detail's point.
double SpacerDetailsLevel(double k, double body)
{
  using namespace drApi::sheet;
  return std::min(-110.0 / k, body - (ExtensionPast + 1.0 + 4.0 * UndercutDepth * UndercutScale) / k);
}

// Where the one-piece spacer's undercut's callout, its circle about (cx, cy), ends its leader at level y: 10
// past the body's end face at b, or farther where the fit's sign, its tip at xs on the body's top at level
// top, would have its value (from its shelf a millimetre up, at the sign's distance along) reach the leader
// sloping up across it: the leader passes a millimetre right of the value's foot. k: sheet millimetres per
// unit of the view.
double UndercutLeaderEnd(double k, double b, double cx, double cy, double y, double xs, double top)
{
  using namespace drApi::sheet;
  const double foot = top + (SignShelf + 1.0) / k - cy;
  const double right = xs + (SignValueFrom + ValueLength(3) + 1.0) / k;
  return std::max(b + 10.0 / k, cx + (right - cx) * (y - cy) / foot);
}

// Where the one-piece spacer's sign on its body's end face has its tip, under the body of the given radius
// and length (from the collar's back face) at the view's scale k: 5 under it, or higher where the body's
// length's value, written over its line at level, is too long to stand between the arrows and goes past
// that face under the sign's shelf, which then ends a millimetre over it; never nearer the body than its
// short arm's rise and a millimetre.
double BodyEndSignTip(double k, double length, double value, double radius, double level)
{
  using namespace drApi::sheet;
  const double asked = -5.0 / k - radius;
  const std::size_t chars = 2 + std::size_t(DrawingNumber(value).Length());
  if (ValueLength(chars) + 2.0 <= length * k) return asked;
  const double clear = level + (1.0 + ValueHeight + 1.0 + SignShelfEnd) / k;
  return std::min(std::max(asked, clear), -radius - (SignArm + 1.0) / k);
}

// The one-piece spacer seen from its slotted end, about (x, 0): the collar of radius R, its chamfer's edge
// 2 in, and the slot 2,5 wide across it. The slot's width is given here, alone on its side, not in the side
// view, where its line would lie within the collar's diameter and the two lines' extension lines would
// cross.
void drSlottedEnd(TModeler3D& Md, double x, double R)
{
  const double w = 1.25, h = std::sqrt(R * R - w * w),
               hc = std::sqrt(std::max(0.0, (R - 2) * (R - 2) - w * w));
  const TString none;
  Md.drMtr(x, 0.0, 0.0, 1.0);
  Md.drCircleAxle(0.0, 0.0, R, 1);
  // The chamfer's edge is cut away where the slot runs.
  if (hc > 0.0) {
    Md.drArc(0.0, 0.0, R - 2, hc, w, -hc, w, 1, 1);
    Md.drArc(0.0, 0.0, R - 2, -hc, -w, hc, -w, 1, 1);
  }
  Md.drLine(-h, w, h, w, 1);
  Md.drLine(-h, -w, h, -w, 1);
  Md.drDimVL(2 * w, 8.0, -15.0, h, -w, h, w, none, TString("H14"), none);
  Md.drDeleteMtr();
}

// Why no sound spacer can be made of d's sizes, or null. The one piece: the collar CollarRadius over
// CollarHeight, its end chamfered 2 and slotted 2.5 wide and 3 deep, the groove 3 long and 0.3 deep, the
// body Radius up to the thread, the thread's undercut 3 long and 1 deep, the thread ThreadRadius over
// ThreadLen chamfered 2. The assembled: the cap screw's head 2 Radius across over CollarHeight, the 3 mm
// washer CollarRadius and the bush Radius over the body, each bored for the screw.
const char* SpacerFault(const TDistanceScrew& d)
{
  if (!mould::Positive({d.Radius, d.Len, d.CollarHeight, d.CollarRadius, d.ThreadLen, d.ThreadRadius}))
    return "размеры должны быть положительными";
  if (d.Radius >= d.CollarRadius) return "буртик не шире винта";
  if (d.ThreadRadius > d.Radius || d.ThreadRadius <= 2.0) return "резьба не помещается на винте";
  if (d.ThreadLen <= 5.0) return "резьба короче проточки и фаски";
  if (*d.Execution.PInt == 0) {
    if (d.CollarRadius <= 3.25 || d.CollarHeight <= 3.0) return "шлиц выходит за буртик";
    if (d.CollarHeight + 3.0 >= d.Len - d.ThreadLen) return "буртик с канавкой длиннее винта";
    return nullptr;
  }
  const TSpacerBores bores = SpacerBores(d.Radius, d.ThreadRadius);
  if (bores.Washer >= 2.0 * d.CollarRadius - 1.0 || bores.Bush >= 2.0 * d.Radius - 1.0)
    return "отверстие выходит на наружную поверхность";
  if (d.CollarHeight + 3.0 >= d.Len - d.ThreadLen) return "головка с шайбой длиннее винта";
  return nullptr;
}

} // namespace

TDistanceScrew::TDistanceScrew(int kind, TModeler3D* M, TConstruktor* C)
    : TDetail(kind, M, C), TRect2D(0.0, 0.0, 0.0, 0.0),
      Execution(TString(), 0, {TString("Цельный"), TString("Сборный")})
{
}

TDistanceScrew& TDistanceScrew::operator=(const TDistanceScrew& o)
{
  if (this == &o) return *this;
  LD = o.LD;
  RU = o.RU;
  Radius = o.Radius;
  Len = o.Len;
  CollarHeight = o.CollarHeight;
  CollarRadius = o.CollarRadius;
  ThreadLen = o.ThreadLen;
  ThreadRadius = o.ThreadRadius;
  return *this;
}

int TDistanceScrew::Set(int DetId, int Row)
{
  if (DetId != Table) return 0;
  mould::LoadTables();
  // A row the table does not hold takes nothing.
  if (Row < 1 || Row >= ABaseDetail.SocketCount(Table)) Row = 0;
  if (Row != 0) {
    Radius = mould::Col(Table, Row, 5) * 0.5;
    ThreadRadius = mould::Col(Table, Row, 3) * 0.5;
    ThreadLen = mould::Col(Table, Row, 8);
    CollarRadius = mould::Col(Table, Row, 10) * 0.5;
    CollarHeight = mould::Col(Table, Row, 9);
    Len = mould::Col(Table, Row, 7) + CollarHeight + ThreadLen;
  }
  mould::Chosen(*this, Table, Row);
  return Row;
}

int TDistanceScrew::Set(int DetId, const Real& R, const Real& T)
{
  if (DetId != Table) return 0;
  return Set(Table, mould::FindRow(Table, 5, 2.0 * R, 7, T));
}

void TDistanceScrew::dr2D_V1(const double& mx, const double& my, const double& ma, const double& ms, int tl,
                             bool isSize) const
{
  // The one-piece screw is the threaded profile in the record's sizes, its plain body running up to
  // the thread.
  dr2D_Gvynt_V1(mx, my, ma, ms, CollarRadius, Radius, ThreadRadius, ThreadLen, CollarHeight, Len,
                Len - ThreadLen, tl, isSize);
}

void TDistanceScrew::dr2D_Gvynt_V1(const double& mx, const double& my, const double& ma, const double& ms,
                                   const double& r89, const double& r95, const double& r94, const double& y5,
                                   const double& y6, const double& y7, const double& y92, int tl,
                                   bool isSize) const
{
  TModeler3D& Md = M();
  const double s = Zn(double(tl));
  const double a = std::min(y7 - y5, y92);
  const double b = y7 - y5; // where the thread starts
  Md.drMtr(mx - y7 + y5, my, ma, ms);
  TContDrawing c(&Md);
  c.Make(3 * s, 0.0,
         dP(3 * s, 1.25 * s,
            dP(2 * s, 1.25 * s,
               dPnm(2.0, r89,
                    dP(0.0, 1.25 * s,
                       dFsk(0.0, r89, y6, r89, 2.0,
                            dPx(y6, r89,
                                dCVR(y6, r95 - 0.3, y6 + 3, r95 - 0.3, y6 + 3, r95, 0.3,
                                     dPx(y6 + 3, r95,
                                         dPx(a, r95,
                                             dPx(b, r95,
                                                 dCVR(b, r94 - 1, b + 2, r94 - 1, b + 3, r94, 1.0,
                                                      dPx(b + 3, r94,
                                                          dPx(y7 - 2, r94,
                                                              dP(y7, r94 - 2,
                                                                 dP(y7, 0.0, dPt0(3 * s, 0.0)))))))))))))))));
  Md.drLine(-3.0, 0.0, y7 + 3, 0.0, 3);
  const int pass = tl / 10, mode = tl % 10;
  auto root = [&](double y) { Md.drLine(y7 - 1, y, b + 3, y, 2); };
  if (pass == 1) {
    c.dr2D(mode);
    root(r94 - 1);
  } else if (pass == 2) {
    c.dr2DMY(mode);
    root(1 - r94);
  } else {
    c.dr2D(mode);
    if (tl != 0) {
      c.dr2DMY(mode);
      root(r94 - 1);
      root(1 - r94);
    }
  }
  if (isSize) {
    // Lengths from the collar's end face stacked with the shorter nearer, so that no longer line crosses a
    // shorter one's extension lines: below, the chamfer and the collar, their values on past the end face,
    // and the body a spacing beyond the collar's and beyond the reach of its diameter's value; above, the
    // slot's depth by the slot and the whole length over the signs and callouts there.
    // Drawn enlarged, the callouts, signs and details keep their distances on paper; the lengths' lines are
    // asked where they are, the layout spacing them on paper.
    const double k = DrawnScale(Md);
    const double chamfer = -r89 - 8.0, collar = chamfer - 7.0;
    const double body = std::min(collar - 7.0, -r95 - 24.0), whole = OnePieceWholeLevel(r89, r95, k);
    // The groove's letter stands close by the collar, leaving the body to the fit's sign. The details keep
    // free only what they take on the sheet, side by side below the view, Б clear of А's boundary; they
    // stand lower under a collar so wide that the body's length's extension lines would reach Б's.
    const double details = SpacerDetailsLevel(k, body);
    const TString none, A("А");
    Md.drCircleShelf(y6 + 1.2, r95 - 0.3, 3.0 / k, y6 + 3.0, r89 + 5.0 / k, A);
    TCommonGeometry(0, &Md).drCVR_dV(20.0 / k, details, 0.0, 4.0, 3.0, 0.3, 0.4, A, true, true);
    // The thread's undercut by the body: 3 long, 1 below the thread's diameter, in a detail of its own.
    const TString B("Б");
    const double fit = (y6 + 3 + b) / 2;
    Md.drCircleShelf(b + 1.5, r94 - 0.5, 3.0 / k,
                     UndercutLeaderEnd(k, b, b + 1.5, r94 - 0.5, r95 + 12.0 / k, fit, r95), r95 + 12.0 / k,
                     B);
    TCommonGeometry(0, &Md).drCVR_dV(85.0 / k, details, 0.0, UndercutScale, 3.0, UndercutDepth, 1.0, B, true,
                                     true);
    // The offset that puts a line at level under the points at ya and yb.
    const auto below = [](double level, double ya, double yb) { return level - std::min(ya, yb); };
    // The collar's diameter before the end face, alone on that side (the slot's width is on the end view);
    // the body's across the body, its value under it, clear of the fit's sign above; the thread's beyond its
    // end. A short body has it farther off the body's end face than a line alongside an outline stands.
    const double xb = std::min(y6 + 3 + 0.75 * (b - y6 - 3) - 0.5, b - 3.0 / k);
    // The chamfer's line settles as near the collar on paper at any scale: its value is looked for there.
    const bool chamferLast = ChamferValueInBodysWay(k, xb, r95, -r89 - 8.0 / k);
    const auto chamferLength = [&] {
      Md.drDimHL(2.0, below(chamfer, -r89, 2 - r89), -1.0, 2.0, -r89, 0.0, 2 - r89, TString("2 фаски "), none,
                 TString("&04~45&01"));
    };
    if (!chamferLast) chamferLength();
    Md.drDimHL(y6, below(collar, -r89, 2 - r89), -1.0, y6, -r89, 0.0, 2 - r89, none, TString("h9"), none);
    Md.drDimHL(y7 - y6 - y5, below(body, -r95, -r89), -1.0, b, -r95, y6, -r89, none, TString("h8"), none);
    Md.drDimHL(3.0, 10.0, -1.0, 3.0, 1.25, 0.0, r89 - 2, none, TString("H14"), none);
    Md.drDimHL(y7, whole - (r89 - 2), 0.0, y7, r94 - 2, 0.0, r89 - 2, none, TString("h14"), none);
    Md.drDimVL(2 * r89, -20.0, -1.0, 2.0, -r89, 2.0, r89, TString("&02"), TString("h14"), none);
    Md.drDimVL(2 * r95, 0.5 / k, -1.0, xb, -r95, xb, r95, TString("&02"), TString("h7"), none);
    if (chamferLast) chamferLength();
    Md.drDimVL(2 * r94, 12.0, -1.0, y7 - 2, -r94, y7 - 2, r94, TString("M"), TString("-8g"), none);
    const auto rough = txapi::txRoughSignEnum(0);
    // The collar's back face is too narrow for its sign, and under the part the lengths from it leave no
    // room between their lines: it stands past the body's length, on the face's extension line drawn on
    // from where the body's ends, turned to the body. The end face's stands on its extension line over the
    // part, past the lengths there.
    RoughOnOwnLine(Md, y6, body - 2.0, body - 4.5, 0.0, TString("1,6"));
    // The fit's roughness on the middle of the fitting diameter, above: below it the shoulders' signs
    // stand.
    Md.drRough(fit, r95, 90.0, rough, TString("0,8"), none, none);
    // The body's end face's on its line under the body; where the body's length's value, too long for the
    // body, stands past that face, the sign stands higher, its shelf ending a millimetre over the value.
    Md.drRough(b, BodyEndSignTip(k, b - y6, y7 - y6 - y5, r95, body), 0.0, rough, TString("1,6"), none, none);
    Md.drRough(0.0, whole - 3.0 / k, 180.0, rough, TString("1,6"), none, none);
  }
  Md.drDeleteMtr();
}

void TDistanceScrew::dr2D() const
{
  if (!M2.Ptr || mould::RefuseSizes("винт дистанционный", SpacerFault(*this))) return;
  const bool onePiece = *Execution.PInt == 0;
  const double scale = onePiece ? OnePieceScale(Len - ThreadLen - CollarHeight, Len) : 1.0;
  // The assembled spacer's view stands lower by as much as keeps its washer's rim at most 18 above the
  // view's place on the sheet: the room above it is the washer's diameter's value's and the position
  // numbers', within the frame. The one piece's, by as much as keeps its whole length's line at most 34
  // above that place on the sheet: the line's value and the end face's sign over it take the rest up to
  // the frame.
  const double lower = onePiece
                           ? std::max(0.0, OnePieceWholeLevel(CollarRadius, Radius, scale) - 34.0 / scale)
                           : std::max(0.0, CollarRadius - 18.0);
  // The profile is drawn from the thread's start: its collar end comes to the view's origin. The
  // assembled spacer is no one-piece screw: its sheet shows the parts it is built of.
  const auto view = [this, onePiece, scale](TModeler3D& Md) {
    if (onePiece) {
      // The end view beside the thread's diameter, drawn first: the details below the side view find their
      // places off it and its slot's width.
      drSlottedEnd(Md, Len + 25.0 / scale + CollarRadius, CollarRadius);
      dr2D_V1(Len - ThreadLen, 0.0, 0.0, 1.0, 1, true);
    } else
      drAssembledSpacer(Md, ThreadRadius, Radius, CollarRadius, CollarHeight, Len, ThreadLen);
  };
  if (scale != 1.0) {
    drMouldSheet(M(), Id, 10.0, -lower, scale, view, 0);
    return;
  }
  if (!mould::OpenSheet(*this, 10.0, -lower)) return;
  view(M());
  const TString none;
  M().drCloseViewTDemCloseLeaf(none, none, none, none);
}

void TDistanceScrew::dr3D(int) const
{
  if (!M2.Ptr || mould::RefuseSizes("винт дистанционный", SpacerFault(*this))) return;
  const TMouldBuildMark mark = drMouldBuildMark(M());
  if (!mould::OpenPart(*this, txapi::o3d_planeYOZ)) return;
  TModeler3D& Md = M();
  if (*Execution.PInt == 0) {
    dr2D_V1(0.0, 0.0, 0.0, 1.0, 0, false);
    Md.drBaseRotate(0, 360.0);
    Md.drPlaneEskis(txapi::o3d_planeYOZ, CollarRadius, 0.0, TString());
    Md.drMtr(ThreadLen - Len, 0.0, 0.0, 1.0);
    // The slot the sheet gives: 2,5 wide and 3 deep across the collar's end face.
    Md.drRectAngle(0.0, -1.25, 3.0, 1.25, 1);
    Md.drDeleteMtr();
    Md.drCutExtrusion(txapi::dtReverse, txapi::etBlind, 2 * CollarRadius, 0.0);
    if (drMouldDiscardFailed(Md, mark)) return;
    mould::Grey(Md);
  } else {
    const TString none;
    // The parts are files beside the spacer's own, which becomes the assembly holding them. A
    // modeller that keeps no files gets the parts and the placements by the spacer's code.
    const TString own = Md.drFileName3D();
    const bool files = own.Length() > 4;
    auto file = [&own, files](const char* tail) {
      return files ? own.SubStr(0, own.Length() - 4) + TString(tail) : TString();
    };
    const TString screw = file("-1.tpt"), washer = file("-2.tpt"), bush = file("-3.tpt");
    if (files) Md.drClose3D(false, TSectionSpc(0));
    TCommonGeometry g(0, &Md);
    const double body = Len - ThreadLen - CollarHeight;
    // The screw runs the whole length, its head the collar's height; the washer under the head
    // and the bush on to the thread are sized by their radii (the ring's builder takes diameters).
    g.dr3D_ScrewGost11738(screw, none, none, 2 * ThreadRadius, 2 * Radius, 2 * Radius - 4.0, CollarHeight,
                          0.5 * CollarHeight, Len, ThreadLen, 0.5);
    // The screw passes through the washer and the bush with its clearance.
    const TSpacerBores bores = SpacerBores(Radius, ThreadRadius);
    g.dr3D_Shajba(washer, none, none, 2 * CollarRadius, bores.Washer, 3.0, 0.2);
    g.dr3D_PlugGost(bush, none, none, 2 * Radius, bores.Bush, body, 1.0);
    if (files) {
      Md.drCreate3D(true, false, own, none, none);
      Md.AddDetail(0.0, 0.0, 0.0, screw, false, true);
      Md.AddDetail(CollarHeight, 0.0, 0.0, washer, false, true);
      Md.AddDetail(CollarHeight + 3.0, 0.0, 0.0, bush, false, true);
    } else {
      const double z0 = Len - CollarHeight - ThreadLen;
      Md.AddDetail(0.0, 0.0, z0 + 3.0, Id, 1, false);
      Md.AddDetail(0.0, 0.0, z0 + 3.0, Id, 2, false);
      Md.AddDetail(0.0, 0.0, z0, Id, 3, false);
    }
  }
  const TString file = Md.drFileName3D();
  Md.drClose3D(true, TSectionSpc(0));
  drMouldSaved(Md, file);
}

void TDistanceScrew::toStream(TKmfData& S) const
{
  mould::WriteHead(S, *this);
  mould::Write(S, {LD.x, LD.y, RU.x, RU.y, Radius, Len, CollarHeight, CollarRadius, ThreadLen, ThreadRadius,
                   DepthHole});
  Execution.toStream(S);
}

void TDistanceScrew::fromStream(TKmfData& S)
{
  const int version = S.Version();
  mould::ReadHead(S, *this);
  if (version >= VersionRect) mould::Read(S, {&LD.x, &LD.y, &RU.x, &RU.y});
  mould::Read(S, {&Radius, &Len, &CollarHeight, &CollarRadius, &ThreadLen, &ThreadRadius});
  DepthHole = 0.0;
  if (version >= VersionDepthHole) mould::Read(S, {&DepthHole});
  *Execution.PInt = 0;
  if (version >= VersionExecution) Execution.fromStream(S);
}

// ---------------------------------------------------------------------------------------------
// TTraction, TScrewSpecial

TTraction::TTraction(int kind, TModeler3D* M, TConstruktor& C) : TDistanceScrew(kind, M, &C) {}

void TTraction::fromStream(TKmfData& S)
{
  if (S.Version() >= VersionDepthHole) return TDistanceScrew::fromStream(S);
  mould::ReadHead(S, *this);
  // The earlier record had neither the hole's depth nor the choice.
  DepthHole = 0.0;
  *Execution.PInt = 0;
  mould::Read(S, {&RU.x, &RU.y, &LD.x, &LD.y, &Radius, &Len, &CollarHeight, &CollarRadius, &ThreadLen,
                  &ThreadRadius});
}

TScrewSpecial::TScrewSpecial(int kind, TModeler3D* M, TConstruktor& C) : TDistanceScrew(kind, M, &C) {}

void TScrewSpecial::fromStream(TKmfData& S)
{
  if (S.Version() >= VersionDepthHole) return TDistanceScrew::fromStream(S);
  mould::ReadHead(S, *this);
  // The earlier record had neither the hole's depth nor the choice.
  DepthHole = 0.0;
  *Execution.PInt = 0;
  mould::Read(S, {&RU.x, &RU.y, &LD.x, &LD.y, &Radius, &CollarHeight, &ThreadLen, &Len, &ThreadRadius,
                  &CollarRadius});
}
