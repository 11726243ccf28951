// The shank of the ejector system: a bar with a collar carrying two spanner flats and a cross
// hole, a plain shank, and a threaded end with a runout groove and a stepped blind bore. Its
// sheet holds the side view, the end view across the flats and the groove's detail; its part is
// the bar revolved with the cross hole and the flats cut. A shank of a standard code is drawn as
// the plain ejector rod instead. The working values (R61 to Y4) are its owner's to set.
#include <algorithm>
#include <cmath>
#include <utility>

#include "hxcadkit/drawing/MathDetail2.h"
#include "hxcadkit/drawing/MathDetails.h"
#include "hxcadkit/drawing/drNodeCont.h"
#include "hxcadkit/geometry/Mathemat.h"
#include "hxcadkit/stdparts/MathDetailsl.h"

namespace {

// How long the side view with the end view beside it may run at the sheet's scale on the larger sheet, with
// the gap between them and the sizes beside them.
constexpr double ShankSheetRoom = 480.0;

// How wide on the sheet the plain shank holds its diameter's value beside the line across it.
constexpr double ShankValueRoom = 7.0;

// Half the chord that a flat at half the width across the flats cuts from a circle of radius r.
// A width beyond the circle still gives a real value.
double FlatChord(double r, double across)
{
  return std::sqrt(std::fabs(r * r - across * across / 4.0));
}

void Rough(TModeler3D& M, double x, double y, double Fi)
{
  M.drRough(x, y, Fi, txapi::txNoProcessingType, TString("1,6"), TString(), TString());
}

// Whether a bore's diameter, its value 3.5 high (its sign, figures and "H14"), fits between its arrows on a
// sheet drawn at scale.
bool BoreValueFits(double d, double scale)
{
  return DiameterValueLength(d) + 2.0 <= d * scale;
}

// Which bores at the threaded end are sized on the view of that end: the narrower bore where its value does
// not fit between its arrows on the sheet (beyond the end it would run its line on across the mouth's
// extension lines), the mouth with it where neither value fits (the mouth's would run across the thread's
// extension lines). On the end's view the bore's line runs through the centre and the mouth's comes from
// outside, its value beyond the circles.
struct TBoresOnEnd
{
  bool Bore, Mouth;
};

TBoresOnEnd BoresOnEnd(double r98, double r97, double y3, double y4, double scale)
{
  const bool bore = y3 > 0.0 && y4 > 0.0 && r98 > 0.0 && r97 > r98 && !BoreValueFits(2.0 * r98, scale);
  return {bore, bore && !BoreValueFits(2.0 * r97, scale)};
}

// A millimetre of the sheet in the part's millimetres, at the scale the part is drawn at.
double SheetMillimetre(TModeler3D& Md)
{
  return 1.0 / DrawnScale(Md);
}

// Where the end view's width across the flats is sized, below its centre: the lowest of its sizes (its
// extension lines run 2 past).
double FlatsLineBelow(double r74)
{
  return -14.0 - r74;
}

// The view of the threaded end about its centre: the bore's value, its offset from its circle (alone it
// stands past the crest, up and right at 45 degrees, 1 to 4.5 above its line), the title over the crest left
// of that value by a millimetre, and how far up the view reaches with them.
struct TThreadedEnd
{
  TBoresOnEnd On;
  double BoreOffset, TitleX, TitleY, Top;
};

TThreadedEnd ThreadedEnd(double r30, double r97, double r98, double y3, double y4, double scale)
{
  constexpr double titleHigh = 7.0, titleWide = 0.6 * titleHigh * 5.0, valueOff = 1.0 + 3.5;
  const double s = std::sqrt(0.5), len = DiameterValueLength(2.0 * r98);
  TThreadedEnd e;
  e.On = BoresOnEnd(r98, r97, y3, y4, scale);
  e.BoreOffset = e.On.Mouth ? 10.0 : std::ceil(r30 - r98 + len / 2.0 + 2.0);
  e.TitleY = r30 + 10.0;
  // The title's lower right corner, off the 45-degree line by the value's height and a millimetre.
  e.TitleX = std::min(11.0, e.TitleY - (valueOff + 1.0) / s) - titleWide;
  e.Top = std::max(e.TitleY + titleHigh, (r98 + e.BoreOffset + len / 2.0 + valueOff) * s);
  return e;
}

// The view of the threaded end at (mx, my), where it sizes the bores: the thread's crest, its root a thin
// arc open in one quarter (a thread's chamfer is not drawn on its end), the mouth and the bore.
void ThreadedEndView(TModeler3D& Md, double mx, double my, double r30, double r97, double r98, double y3,
                     double y4)
{
  const TThreadedEnd e = ThreadedEnd(r30, r97, r98, y3, y4, DrawnScale(Md));
  if (!e.On.Bore || !PlacedFinite(Extent({r30, r97, r98, e.Top}), mx, my, 0.0, 1.0)) return;
  Md.drMtr(mx, my, 0.0, 1.0);
  Md.drLine(-r30 - 3.0, 0.0, r30 + 3.0, 0.0, 3);
  Md.drLine(0.0, -r30 - 3.0, 0.0, r30 + 3.0, 3);
  Md.drCircle(0.0, 0.0, r30, 1);
  Md.drArc(0.0, 0.0, r30 - 1.0, -(r30 - 1.0), 0.0, 0.0, -(r30 - 1.0), -1, 2);
  Md.drCircle(0.0, 0.0, r97, 1);
  Md.drCircle(0.0, 0.0, r98, 1);
  const TString h14("H14"), none;
  Md.drText(e.TitleX, e.TitleY, 0.0, 7.0 / DrawnScale(Md), 1.0, 75, TString("Вид Б"));
  // The bore through the centre, the mouth from outside: neither line crosses the other.
  Md.drDimD(2.0 * r98, none, 45.0, int(e.BoreOffset), 1, 0.0, 0.0, 1, TString("&02"), h14, none);
  if (e.On.Mouth) Md.drDimD(2.0 * r97, none, -135.0, 10, 1, 0.0, 0.0, 1, TString("&02"), h14, none);
  Md.drDeleteMtr();
}

// The circle about the thread's groove that calls its detail, and where the detail's letter stands at its
// leader's end: 14 left of the groove and 7 over the shank, the letter (3.5 high, a millimetre over that
// end) running right. Where the collar's chamfer value or the collar with its heat-treatment zone lies
// there, the letter stands a millimetre right of them, lifted over the zone where it would else reach the
// circle.
constexpr double GrooveCircleX = 1.3, GrooveCircleR = 3.0;

struct TGrooveLetter
{
  double X, Y;
};

TGrooveLetter GrooveLetter(double r74, double r62, double xL, double x90, double mm)
{
  const double wide = 0.6 * 3.5 * mm, gap = mm;
  // The chamfer's value stands over its line from 1.25 past the chamfer, 3.5 high, 5 characters long.
  const double chamferLine = r74 - 3.0 + 10.0 * mm, chamferReach = xL + 3.0 + (1.25 + 5.0 * 0.6 * 3.5) * mm;
  const double zone = r74 + 3.0;
  auto place = [&](double y) {
    const double low = y + mm, high = y + 4.5 * mm;
    double x = -14.0;
    if (high + gap > chamferLine - 0.5 * mm && low - gap < chamferLine + 4.5 * mm)
      x = std::max(x, chamferReach + gap);
    if (low - gap < zone) x = std::max(x, xL + x90 + gap);
    return TGrooveLetter{x, y};
  };
  const TGrooveLetter at = place(r62 + 7.0);
  if (at.X + wide + gap <= GrooveCircleX - GrooveCircleR) return at;
  const TGrooveLetter over = place(std::max(r62 + 7.0, zone + gap - mm));
  return over.X + wide + gap <= GrooveCircleX - GrooveCircleR ? over : at;
}

} // namespace

void TMTail::dr2D_V1(const Real& mx, const Real& my, const Real& ma, const Real& ms, const Real& r74,
                     const Real& x90, const Real& x89, const Real& x88, const Real& r61, const Real& r62,
                     const Real& r30, const Real& x76, const Real& x74, const Real& x75, const Real& y3,
                     const Real& y4, const Real& r98, const Real& r97, int tl, bool isSize) const
{
  if (!M2.Ptr) return;
  const double h = FlatChord(r74, x75);
  if (!PlacedFinite(Extent({r74, x90, x89, x88, r61, r62, r30, x76, x74, x75, y3, y4, r98, r97, h}), mx, my,
                    ma, ms))
    return RefuseElement("хвостовик");
  TModeler3D& Md = M();
  const int Itl = SaturatingToInt(Zn(tl) * 0.5 + tl) % 10;
  const int s = Zn(Itl), zy = Zn(y3);
  const double xs = x74 - (y3 + 2.0 * zy); // the drill point's tip, 2 mm beyond the bore's bottom
  const double xL = x74 - x76;             // the collar's end face
  Md.drMtr(mx, my, ma, ms);

  // The bore is hidden (style 4) in a drawing; in a sketch it is outline like the rest. Without
  // a drawing code the last line runs back along the axis to the tip and closes the half.
  TNode* collar =
      dPx(0.0, r62, // the shoulder's edge line
          dP(xL + x90, r62,
             dP(xL + x90, r74, dFsk(xL, r74, xL, 0.0, 3.0, dP(xs - s * (x76 - y3 - 2.0 * zy), 0.0)))));
  // The thread's crest and end line, the groove's 0.3 lead-in, bottom and back wall.
  TNode* thread = dTL(
      tl, dPx(x74 - 2.0, r30, dPx(3.0, r30, dCVR(2.7, r30 - 0.3, 0.0, r30 - 0.3, 0.0, r62, 0.3, collar))));
  // The end face and chamfer, and the thread's root line in thin style.
  TNode* end = dTL(Itl, dPx(x74, r30 - 2.0, dP(x74 - 1.0, r30 - 1.0, dTL(2, dPnm(3.0, r30 - 1.0, thread)))));
  TContDrawing outline(&Md);
  outline.Make(xs, 0.0,
               dTL(3 * s + 1, dPx(x74 - y3, r98, dPx(x74 - y4, r98, dP(x74 - y4, r97, dP(x74, r97, end))))));
  // The end line of the flats, the flat's edge meeting the collar's chamfer, the chamfer's edge.
  TContDrawing flats(&Md);
  flats.Make(xL + x89, 0.0,
             dP(xL + x89, h, dP(xL + 3.0, h, dP(xL, h - 3.0, dP(xL + 3.0, h, dP(xL + 3.0, r74))))));

  const int pass = tl / 10;
  if (pass >= 1 && pass <= 3) {
    // The halves drawn are filled first, so that what lies under them is covered.
    Md.drGroup(true);
    Md.drMtr(0.001, pass == 1 ? 0.001 : -0.001, 0.0, 1.0);
    if (pass != 2) {
      outline.dr2D(0);
      flats.dr2D(0);
    }
    if (pass != 1) {
      outline.dr2DMY(0);
      flats.dr2DMY(0);
    }
    Md.drDeleteMtr();
    Md.drEndGroup();
    Md.drClearRegion(0);
  }
  Md.drLine(xL - 5.0, 0.0, x74 + 2.0, 0.0, 3);
  if (pass == 1 || pass == 2) {
    const bool lower = pass == 2;
    lower ? outline.dr2DMY(Itl) : outline.dr2D(Itl);
    if (Itl != 0) lower ? flats.dr2DMY(Itl) : flats.dr2D(Itl);
  } else {
    outline.dr2D(tl);
    if (tl != 0) {
      flats.dr2D(tl);
      outline.dr2DMY(tl);
      flats.dr2DMY(tl);
      Md.drCircle(xL + x88, 0.0, r61, tl);
      const double k = AbsZn(r74 - r62);
      Md.drLine(xL + x90, r62 * k, xL + x90, -r62 * k, tl);
      if (isSize) {
        // The collar's heat-treatment zone, 3 mm outside it.
        TContDrawing zone(&Md);
        zone.Make(xL + x90, r74 + 3.0,
                  dFsk(xL - 3.0, r74 + 3.0, xL - 3.0, 0.0, 6.0,
                       dFsk(xL - 3.0, -r74 - 3.0, xL + x90, -r74 - 3.0, 6.0)));
        zone.dr2D(3);
      }
    }
  }
  if (!isSize) {
    Md.drDeleteMtr();
    return;
  }

  const TString none, dia("&02"), bore("&02~"), h14("H14"), chamfer("&04~45&01");
  Md.drDimVL(Zn(r74 - r62) * 2.0 * r74, -30.0, 1.0, xL + 3.0, -r74, xL + 3.0, r74, dia, none, none);
  // The shank's across the shank, its value beside it: beyond the threaded end its extension lines would
  // run the shank's whole length. 15 past the collar, or halfway along a shank shorter than twice that to
  // the thread, whose start the thread's and the bore's lengths take.
  // A shank narrower on the sheet than its value (3.5 high) with a millimetre and more either side has the
  // line 6.5 on from the collar's face toward the thread, its value past an arrow 2 clear of that face:
  // stood across the narrow shank the value would lie on the face, and the layout would carry the line past
  // the threaded end across the thread's extension lines. Over the groove the line keeps off the groove's
  // wall as far as the layout keeps a line off an outline it would run along: short of the wall so near, it
  // would be carried off the part the same way.
  const double across = xL + x90 + std::min(15.0, -(xL + x90) / 2.0), mm = SheetMillimetre(Md);
  const bool shankHolds = -(xL + x90) >= ShankValueRoom * mm;
  const double pastFace = std::max(6.5, -(xL + x90) / mm + LineAlongside);
  Md.drDimVL(2.0 * r62, shankHolds ? 0.5 : (xL + x90 - across) / mm + pastFace, -1.0, across, -r62, across,
             r62, dia, none, none);
  // The cross hole's place and the flats' length from the collar's face, the shorter nearer: the longer's
  // extension line then ends past the shorter's line instead of crossing it. Flats shorter than the hole's
  // place take the nearer line below the flats' edge. A dimension's line stands its offset on the sheet from
  // its lower point: where the part is drawn reduced the offsets that carry a line past the part's own
  // points shrink with it, the gaps between the lines stay.
  const double paper = DrawnScale(Md);
  const double below = std::min(-h, 3.0 - r62), flatsLine = paper * below - 29.0;
  if (x89 < x88) {
    Md.drDimHL(x89, -15.0, -1.0, xL + x89, -h, xL, 3.0 - r62, none, none, none);
    Md.drDimHL(x88, flatsLine - paper * (3.0 - r62), -1.0, xL + x88, 0.0, xL, 3.0 - r62, none, none, none);
  } else {
    Md.drDimHL(x88, -15.0, -1.0, xL + x88, 0.0, xL, 3.0 - r62, none, none, none);
    Md.drDimHL(x89, -29.0, -1.0, xL + x89, -h, xL, 3.0 - r62, none, none, none);
  }
  // The collar's and the whole length from the collar's face below the flats' length, however far a wide
  // collar's flats reach down: the longer farther, so that no extension line crosses a shorter one's line.
  const double collarLow = -3.0 - r62;
  const double collarOff = std::min(-41.0, flatsLine - 8.0 - paper * collarLow);
  const double lengthLow = std::min(2.0 - r30, 3.0 - r62);
  Md.drDimHL(x90, collarOff, -1.0, xL + x90, collarLow, xL, 3.0 - r62, none, none, none);
  Md.drDimHL(x76, std::min(-51.0, paper * collarLow + collarOff - 4.0 - paper * lengthLow), -1.0, x74,
             2.0 - r30, xL, 3.0 - r62, none, none, none);
  Md.drDimHL(3.0, 10.0, -1.0, xL + 3.0, r74, xL, r74 - 3.0, none, none, chamfer);
  // The thread's length under the shank, within reach of it, the collar's lengths beside it.
  const double threadLine = -r62 - 8.0;
  Md.drDimHL(x74, threadLine + r62, 1.0, 0.0, -r62, x74, 2.0 - r30, none, none, none);
  // Over the threaded end the end's chamfer, the mouth's depth and the bore's, the shorter nearer: no longer
  // line crosses a shorter one's extension lines. Of lengths alike on paper (within the fiftieth of a
  // millimetre in which a line's end meets another's extension line at its arrow) the one drawn later stands
  // nearer: beyond a line as long it would be carried off past the others. A bore as deep as its mouth yet
  // stays beyond it, its value free up to the frame, but where the chamfer's line lies beyond both: carried
  // past that line, its extension line would run across it.
  const double lines[] = {r62 + 10.0, r62 + 20.0, r62 + 32.0}, alike = 0.02 / paper;
  const double keys[] = {2.0, y4 - alike, y3 - 2.0 * alike}; // the chamfer, the mouth, the bore
  int rank[3] = {0, 0, 0};
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j)
      rank[i] += keys[j] < keys[i] || (keys[j] == keys[i] && j > i);
  if (rank[2] < rank[1] && rank[0] != 2) std::swap(rank[1], rank[2]);
  const double chamferLine = lines[rank[0]], mouthLine = lines[rank[1]];
  Md.drDimHL(2.0, chamferLine - r30, -1.0, x74 - 2.0, r30, x74, r30 - 2.0, none, none, chamfer);
  const TGrooveLetter letter = GrooveLetter(r74, r62, xL, x90, SheetMillimetre(Md));
  Md.drCircleShelf(GrooveCircleX, r30, GrooveCircleR, letter.X, letter.Y, TString("А"));
  Rough(Md, xL, -51.0 - r74, 180.0);
  // The collar's end face carries the heat-treatment zone's line 3 out along all of it: its sign is asked
  // 5 under the shank or, where the collar reaches past that, at the collar's edge, whence it finds its
  // place off the zone however wide the collar is (whole millimetres down, the steps it slides by).
  Rough(Md, xL, -5.0 - r62 - std::max(0.0, std::ceil(r74 - r62 - 5.0)), 180.0);
  // The shelf stands as far from the collar on the sheet at whatever scale the part is drawn.
  // Its text (12 characters 3.5 high) runs right from there, or, where it would come within a millimetre of
  // the extension lines that rise from the threaded end (the leftmost the end chamfer's, the mouth's or the
  // bore's), it runs left from over the collar, off them and off the plain shank's diameter.
  const double endLines = std::min({x74 - 2.0, y4 > 0.0 ? x74 - y4 : x74, y3 > 0.0 ? x74 - y3 : x74});
  const bool textRight = xL + (10.0 + 12.0 * 0.6 * 3.5 + 1.0) * mm < endLines;
  Md.drShelf(txapi::txLeaderNoSign, xL + (textRight ? 10.0 : 4.0) * mm, r74 + 16.0 * mm,
             textRight ? txapi::txLSLeft : txapi::txLSRight, txapi::txArrowNone, 1.0, 0.25, 75.0,
             TString("HRCэ 42...46"), 5.0, 1.0, 75.0, none);
  Md.drPoint(xL + 6.0, r74 + 3.0);
  Md.drEndObj();
  // The collar's face toward the thread carries its sign 5 under the collar, or, where the plain shank is too
  // short for the sign (8.66 wide) to end before the thread's length's extension line, below that line's
  // end with the sign's rising stroke (2.5 up) a millimetre clear of it: the line 8 under the shank, or a
  // value (3.5 high and a millimetre) lower where the shank's diameter's value stands past its arrow there.
  if (r74 != r62) {
    const bool signClear = -(xL + x90) >= (8.66 + 1.0) * mm;
    const double threadLineEnd = 8.0 + (shankHolds ? 0.0 : 4.5) + 2.0;
    Rough(Md, xL + x90,
          signClear ? -5.0 - r74 : std::min(-5.0 - r74, -r62 - (threadLineEnd + 1.0 + 2.5) * mm), 0.0);
  }
  // The bores at the threaded end, their sizes beyond that end: their extension lines run out of the
  // bores, not back along the whole shank through the collar and the cross hole.
  // The narrower bore nearer the end, the thread's diameter beyond both, each asked after the nearer.
  const TBoresOnEnd onEnd = BoresOnEnd(r98, r97, y3, y4, DrawnScale(Md));
  if (!onEnd.Bore) Md.drDimVL(2.0 * r98, y3 + 8.0, 1.0, x74 - y3, -r98, x74 - y3, r98, bore, h14, none);
  if (!onEnd.Mouth) Md.drDimVL(2.0 * r97, y4 + 15.0, 1.0, x74 - y4, -r97, x74 - y4, r97, bore, h14, none);
  if (onEnd.Bore) // The view of the threaded end, which sizes them: its arrow below the end, its letter
    // under the arrow as on a sheet at 1:1, whatever the scale.
    Md.drWPointer(x74 + 14.0 * mm, -r30 - 12.0 * mm, x74 + 4.0 * mm, -r30 - 12.0 * mm, x74 + 7.0 * mm,
                  -r30 - 21.0 * mm, 7.0, 1.0, 75.0, TString("Б"));
  Md.drDimHL(y4, mouthLine - (r30 - 2.0), -1.0, x74 - y4, r97, x74, r30 - 2.0, none, h14, none);
  Md.drDimHL(y3, lines[rank[2]] - (r30 - 2.0), -1.0, x74 - y3, r97, x74, r30 - 2.0, none, h14, none);
  Md.drDimVL(2.0 * r30, 22.0, -1.0, x74 - 2.0, r30, x74 - 2.0, -r30, TString("M"), none,
             TString("&04~") + DrawingNumber(ThreadStep) + TString("-8g"));
  Md.drDeleteMtr();
}

void TMTail::dr2D_V2(const Real& mx, const Real& my, const Real& ma, const Real& ms, const Real& r74,
                     const Real&, const Real&, const Real&, const Real& r61, const Real&, const Real&,
                     const Real&, const Real&, const Real& x75, const Real&, const Real&, const Real&,
                     const Real&, int tl, bool isSize) const
{
  if (!M2.Ptr) return;
  const double h = FlatChord(r74, x75), h2 = FlatChord(r74 - 1.5, x75), w = x75 / 2.0;
  if (!PlacedFinite(Extent({r74, r61, x75, h, h2}), mx, my, ma, ms)) return RefuseElement("хвостовик");
  TModeler3D& Md = M();
  Md.drMtr(mx, my, ma, ms);
  Md.drCircleAxle(0.0, 0.0, r74, tl);
  // The collar's chamfer between the flats.
  Md.drArc(0.0, 0.0, r74 - 1.5, -w, h2, w, h2, -1, tl);
  Md.drArc(0.0, 0.0, r74 - 1.5, -w, -h2, w, -h2, 1, tl);
  Md.drLine(w, -h, w, h, tl);
  Md.drLine(-w, -h, -w, h, tl);
  // The cross hole runs through both flats, hidden.
  Md.drRectAngle(-w, -r61, w, r61, 4);
  if (isSize) {
    const TString none;
    Md.drDimHL(x75, FlatsLineBelow(r74) + h, 1.0, -w, -h, w, -h, none, none, none);
    Md.drDimVL(2.0 * r61, MouldWhole(r74 + 12.0 - w), 1.0, w, -r61, w, r61, TString("&02"), none, none);
  }
  Md.drDeleteMtr();
}

void TMTail::dr2D_Hvostovyk_Vo(const Real& mx, const Real& my, const Real& ma, const Real& ms,
                               const Real& r74, const Real&, const Real&, const Real&, const Real&,
                               const Real&, const Real&, const Real&, const Real&, const Real& x75) const
{
  if (!M2.Ptr) return;
  const double h = FlatChord(r74, x75);
  if (!PlacedFinite(Extent({r74, x75, h}), mx, my, ma, ms)) return RefuseElement("хвостовик");
  TModeler3D& Md = M();
  Md.drMtr(mx, my, ma, ms);
  Md.drRectAngle(-r74, -h, -x75 / 2.0, h, 1);
  Md.drRectAngle(x75 / 2.0, -h, r74, h, 1);
  Md.drDeleteMtr();
}

void TMTail::dr2D_VZ(const Real&, const Real&, const Real&, const Real&, int) const {}

namespace {

// Why no sound shank can be made of t's sizes, or null. Its outline from the collar's end face at
// ThreadLen - Len: the collar CollarRadius over X90 (chamfered 3, its flats 2 Radius - 3 across over X89,
// the cross hole R61 at X88), the shank Radius to the thread's groove at 0 (3 long, 0.3 deep), the thread
// ThreadRadius on to ThreadLen (chamfered 2 by 1), its bore R98 Y3 deep with the drill point 2 beyond and
// the mouth R97 Y4 deep. A rod of a standard code is drawn by the rod's own profile.
const char* ShankFault(const TMTail& t)
{
  if (!mould::Positive({t.Radius, t.Len, t.ThreadLen, t.ThreadRadius, t.CollarRadius}) ||
      !mould::NotNegative({t.X90, t.X89, t.X88, t.R97, t.R98, t.Y3, t.Y4}) || !(t.R61 >= -2e-6))
    return "размеры должны быть положительными";
  if (t.Code != 0) return nullptr;
  if (t.ThreadRadius > t.Radius || t.ThreadRadius <= 2.0) return "резьба не помещается на стержне";
  if (t.Radius >= t.CollarRadius || t.Radius <= 1.5) return "буртик не шире стержня";
  if (t.ThreadLen <= 5.0) return "резьба короче проточки и фаски";
  if (t.X90 <= 3.0 || t.X90 >= t.Len - t.ThreadLen) return "буртик длиннее стержня";
  if (t.X89 <= 3.0 || t.X89 > t.X90) return "лыски выходят за буртик";
  // A cross hole within 2e-6 of none is none, as the model takes it.
  if (t.R61 > 2e-6 && (t.X88 - t.R61 <= 0.0 || t.X88 + t.R61 >= t.X90))
    return "поперечное отверстие выходит за буртик";
  // The bore may open right where the end's chamfer ends, leaving the end face no width.
  if (t.Y3 > 0.0 && (t.R98 <= 0.0 || t.Y3 + 2.0 >= t.Len || t.R98 > t.ThreadRadius - 2.0))
    return "отверстие выходит на наружную поверхность";
  if (t.Y4 > 0.0 && (t.Y4 > t.Y3 || t.R97 < t.R98 || t.R97 > t.ThreadRadius - 2.0))
    return "отверстие выходит на наружную поверхность";
  return nullptr;
}

} // namespace

void TMTail::dr2D() const
{
  if (!M2.Ptr || mould::RefuseSizes("хвостовик", ShankFault(*this))) return;
  // The side view as far below the frame's top as its collar, the widest of it, reaches above the axis; the
  // side and end views at 1:1 where their length fits the larger sheet's width with the sizes beside them,
  // else reduced by the least standard ratio that fits it. Which bores are sized on the threaded end's
  // view follows from the scale, which the sheet drawn again reduced for its height may lessen further.
  const double scale = Code != 0 ? 1.0 : MouldReduction(Len + 2.0 * CollarRadius, ShankSheetRoom);
  drMouldSheet(
      M(), Id, 0.0, -CollarRadius, scale,
      [this](TModeler3D& Md) {
        if (Code != 0) {
          dr2D_EjectorRod_V1(0, 0, 0, 1.0, Radius, ThreadRadius, ThreadLen, X90, ThreadStep, CollarRadius,
                             Len, 1, true);
          return;
        }
        const double across = 2.0 * Radius - 3.0;
        dr2D_V1(Len - ThreadLen, 0, 0, 1.0, CollarRadius, X90, X89, X88, R61, Radius, ThreadRadius, Len,
                ThreadLen, across, Y3, Y4, R98, R97, 1, true);
        // The gaps between the views are the sheet's millimetres, whatever the scale the part is drawn at.
        const double mm = SheetMillimetre(Md);
        // The end view keeps 35 mm from the threaded end.
        const double end = Len + 35.0 * mm + CollarRadius;
        dr2D_V2(end, 0, 0, 1.0, CollarRadius, X90, X89, X88, R61, Radius, ThreadRadius, Len, ThreadLen,
                across, Y3, Y4, R98, R97, 1, true);
        // The threaded end's view, where it sizes the bores, below the end view: its title and the bore's
        // value under the width across the flats, clear of its extension lines.
        const double top = ThreadedEnd(ThreadRadius, R97, R98, Y3, Y4, DrawnScale(Md)).Top;
        ThreadedEndView(Md, end,
                        std::min(-2.0 * CollarRadius - 25.0 * mm, FlatsLineBelow(CollarRadius) - 3.0 - top),
                        ThreadRadius, R97, R98, Y3, Y4);
        TCommonGeometry(0, &Md).drCVR_dV(40.0 * mm, -80.0 * mm - CollarRadius, 0.0, 4.0, 3.0, 0.3, 0.5,
                                         TString("А"), true);
      },
      19);
}

void TMTail::dr3D(int) const
{
  if (!M2.Ptr || mould::RefuseSizes("хвостовик", ShankFault(*this))) return;
  drMouldModel(
      M(), Id,
      [this](TModeler3D&) {
        if (Code != 0)
          dr2D_EjectorRod_V1(0, 0, 180.0, 1.0, Radius, ThreadRadius, ThreadLen, X90, ThreadStep,
                             2.0 * CollarRadius, Len, 0, false);
        else
          dr2D_V1(0, 0, 0, 1.0, CollarRadius, X90, X89, X88, R61, Radius, ThreadRadius, Len, ThreadLen,
                  2.0 * Radius - 3.0, Y3, Y4, R98, R97, 0, false);
      },
      [this](TModeler3D& Md) {
        // Sizes the profile refused cut nothing either.
        if (!PlacedFinite(Extent({Radius, CollarRadius, Len, ThreadLen, X88, X89, R61}), 0, 0, 0, 1.0))
          return;
        if (std::fabs(R61) > 2e-6 && Code == 0) {
          // Across the whole collar, through both flats.
          Md.drPlaneEskis(txapi::o3d_planeYOZ, -CollarRadius, 0.0, TString());
          Md.drCircle(ThreadLen - Len + X88, 0.0, R61, 1);
          Md.drCutExtrusion(txapi::dtNormal, txapi::etBlind, 2.0 * CollarRadius, 0.0);
        }
        // Every shank has its flats, the rod of a standard code as well.
        Md.drPlaneEskis(txapi::o3d_planeXOY, Len - ThreadLen, 0.0, TString());
        Md.drMtr(0.0, 0.0, 0.0, 1.0);
        const double half = (2.0 * Radius - 3.0) / 2.0, h = FlatChord(CollarRadius, 2.0 * half);
        Md.drRectAngle(-CollarRadius, -h, -half, h, 1);
        Md.drRectAngle(half, -h, CollarRadius, h, 1);
        Md.drDeleteMtr();
        // From the collar's end face back over the flats' length.
        Md.drCutExtrusion(txapi::dtReverse, txapi::etBlind, X89, 0.0);
      });
}
