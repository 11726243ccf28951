// The machine elements drawn for the mould parts' own sheets and sketches: the pusher of
// an ejector channel and the safety lug, each a side view with, on request, its dimensions and
// annotations. Both draw through node programs and take their sizes as given; only sizes that
// would put a NaN or an infinity into the modeller are refused.
#include <algorithm>
#include <cmath>
#include <initializer_list>

#include "hxcadkit/drawing/MathDetail2.h"
#include "hxcadkit/drawing/MathDetails.h"
#include "hxcadkit/drawing/drNodeCont.h"
#include "hxcadkit/geometry/Mathemat.h"

namespace {

// One linear dimension of a table: along X (drDimHL) or along Y (drDimVL).
struct TDimRow
{
  bool AlongY;
  double Value, X1, Y1, X2, Y2, Off, Pt;
  const char *S1, *S2, *S3;
};

void DrawDims(TModeler3D& M, std::initializer_list<TDimRow> rows)
{
  for (const TDimRow& r : rows) {
    const TString s1(r.S1), s2(r.S2), s3(r.S3);
    if (r.AlongY)
      M.drDimVL(r.Value, r.Off, r.Pt, r.X1, r.Y1, r.X2, r.Y2, s1, s2, s3);
    else
      M.drDimHL(r.Value, r.Off, r.Pt, r.X1, r.Y1, r.X2, r.Y2, s1, s2, s3);
  }
}

void Rough(TModeler3D& M, double x, double y, double Fi, const char* text)
{
  M.drRough(x, y, Fi, txapi::txNoProcessingType, TString(text), TString(), TString());
}

} // namespace

void RoughOnOwnLine(TModeler3D& M, double x, double y0, double tip, double Fi, const TString& value)
{
  M.drLine(x, y0, x, tip + (tip < y0 ? -2.0 : 2.0), 2);
  M.drRough(x, tip, Fi, txapi::txNoProcessingType, value, TString(), TString());
}

double PusherGradeLength(double asked)
{
  return std::min(asked, PusherFitLength * 2.0 / 3.0);
}

bool PusherFitSigns(double x63, double y92, double x73, double paper, double& grade, double& diameter)
{
  // The sign's shelf reaches 17 past its base on the sheet, the leader's lean 4 more; the diameter's value
  // stands 1 to 4.5 before its line, which keeps 2 from the step; the sign's short arm reaches 2.5 back.
  // The sign stands by the section's end, or back clear of the zone's leader; the diameter 5 past the
  // collar where that keeps it off the sign, else past the sign's shelf or just before its short arm.
  grade = std::min(y92 - 4.0 / paper, x73 - 35.0 - 21.0 / paper);
  const double past = grade + 23.0 / paper, before = grade - 3.0 / paper, asked = x63 + 5.0;
  const auto offSign = [&](double d) {
    return d >= x63 + 3.0 / paper && (d <= before || (d >= past && d <= y92 - 2.0 / paper));
  };
  for (const double d : {asked, past, std::min(asked, before)})
    if (offSign(d)) return diameter = d, true;
  grade = y92 - 4.0 / paper, diameter = asked;
  return false;
}

TPusherCollarLine PusherCollarLine(double x63, double seat, double paper)
{
  // A dimension line keeps 2 from a parallel face, as the sheet's layout and its checks measure it; a
  // hair more, so that the sheet's coordinates, rounded, never bring it under.
  constexpr double Clear = 2.0, Hair = 1e-6, Nudge = 0.01;
  // The line asked a hundredth beyond the points it measures, towards the seat's end: the side its
  // value and the search for its place take.
  if (x63 * paper >= 2.0 * Clear + Hair) return {x63 / 2.0 + Nudge / paper, -Nudge, true};
  // Behind the collar its extension lines run only as far back as the line, well within the view's
  // height, where beyond the seat's end they would run along the whole seat.
  if (seat * paper >= 2.0 * Clear + Hair) return {0.0, -std::min(seat * paper / 2.0, Clear + 1.0), false};
  return {std::max(0.0, std::min(x63 / 2.0, x63 - Clear / paper)), -Nudge, false};
}

void TCommonGeometry::dr2D_Shtovhach_V1(const double& mx, const double& my, const double& ma,
                                        const double& ms, const double& r71, const double& r69,
                                        const double& r72, const double& r93, const double& r96,
                                        const double& x73, const double& y92, const double& x63,
                                        const double& y71, double x9, const double& y78, int tl, bool isSize)
{
  if (!PlacedFinite(Extent({r71, r69, r72, r93, r96, x73, y92, x63, y71, x9, y78}), mx, my, ma, ms))
    return RefuseElement("толкатель");
  const double x0 = x73 - y71; // the free end of the spring seat
  // The grade's length, 0 without a grade: a flat y78 deep at its inner end that runs out at the end
  // face, inside the fit, as the part is cut. A depth that is none or outward makes no grade.
  const double g = y78 > 2e-6 ? PusherGradeLength(x9) : 0.0, fit = PusherFitLength;
  TModeler3D& Md = M();
  Md.drMtr(mx, my, ma, ms);
  // Spring seat, collar, fit section, 45 degree step, relieved shank and taper: both halves.
  const auto body = [&](TNode* end) {
    return dP(x0, r96,
              dPx(0.0, r96,
                  dP(0.0, r72,
                     dP(x63, r72,
                        dPx(x63, r93,
                            dPx(y92 - (r93 - r69), r93,
                                dPx(y92, r69, dPx(x73 - fit - 16.0, r69, dPx(x73 - fit, r71, end)))))))));
  };
  TContDrawing upper(&Md), lower(&Md);
  upper.Make(x0, 0.0, body(dP(x73, r71, dP(x73, 0.0, dPt0(x0, 0.0)))));
  lower.Make(x0, 0.0,
             body(dP(x73 - g, r71, dP(x73 - g, r71 - y78, dP(x73, r71, dP(x73, 0.0, dPt0(x0, 0.0)))))));
  upper.ContBlockClear(tl);
  Md.drLine(x0 - 2.0, 0.0, x73 + 2.0, 0.0, 3);
  const int t = tl % 10, c = tl / 10;
  if (c == 2)
    lower.dr2DMY(t);
  else {
    upper.dr2D(t);
    if (c != 1 && tl != 0) lower.dr2DMY(t);
  }
  if (isSize) {
    // The hardened zone: a bracket 1 mm clear of the last 35 mm of the working end.
    upper.Make(x73 - 35.0, r71 + 1.0,
               dP(x73 + 1.0, r71 + 1.0, dP(x73 + 1.0, -r71 - 1.0, dP(x73 - 35.0, -r71 - 1.0))));
    upper.dr2D(3);
    const double seat = Zn(y71 - x73);
    // The collar's diameter across the collar, its value beside it: beyond the spring seat's end its
    // extension lines would run past the seat, and a seat too narrow for its own value would run that
    // value on across them. A collar too narrow on paper for its line has it across the seat, behind it.
    // Distances a reader sees are the paper's: an enlarged view has them shorter on the part.
    const double onPaper = Md.R2D().Transf2D.ScaleMtr();
    const double paper = std::isfinite(onPaper) && onPaper > 1e-6 ? onPaper : 1.0;
    const TPusherCollarLine collar = PusherCollarLine(x63, -x0, paper);
    // The relieved shank's diameter 22 past the fit, or at the shank's middle where the shank is
    // shorter: on the shank, never on the taper, its line across the shank (its value beside it). Nor
    // under the hardened zone's bracket, whose lines its value, 3.5 across, would stand on, where the
    // shank reaches out of the zone by twice that.
    const double taper = x73 - fit - 16.0, zone = x73 - 35.0 - 3.0 / paper;
    const double end = zone - y92 >= 6.0 / paper ? std::min(taper, zone) : taper;
    const double shank = y92 + 22.0 <= end ? y92 + 22.0 : (y92 + end) / 2.0;
    double grade, fitAt;
    // A fit too short to hold its sign apart from its diameter's value above it, but whose sign stays
    // clear of the hardened zone's leader there, asks for the sign under the fit, turned over towards the
    // collar, where no value stands: the sheet's layout settles it from there clear of that value.
    const bool under =
        !PusherFitSigns(x63, y92, x73, paper, grade, fitAt) && grade <= x73 - 35.0 - 21.0 / paper;
    DrawDims(Md,
             {{true, seat * 2.0 * r96, x0, -r96, x0, r96, -10.0, -Nearest(r72 - r96) - 1.0, "&02", "h12", ""},
              {true, 2.0 * r72, collar.At, -r72, collar.At, r72, collar.Offset, -1.0, "&02", "h14", ""},
              // The fit's value above it, clear of the collar face's sign below.
              {true, AbsZn(r93 - r71) * 2.0 * r93, fitAt, -r93, fitAt, r93, 0.5,
               Nearest(r72 - r93) + 1.0, "&02", "h12", ""},
              {true, AbsZn(r69 - r71) * 2.0 * r69, shank, 0.5 - r71, shank, r71 - 0.5, 0.5,
               -Nearest(r72 - r71 + 0.5) - 1.0, "&02", "h14", ""},
              // The grade's depth where it is deepest, its lines over the grade to beside the end face,
              // nearest it: the diameter there, whose span holds the depth, outside it.
              {true, y78, x73 - g, -r71, x73 - g, y78 - r71, g + 4.0, -1.0, "", "", "&03~0,1"},
              {true, 2.0 * r71, x73, -r71, x73, r71, 30.0, -1.0, "&02", "f7", ""},
              {false, -35.0, x73 - 35.0, r71 + 1.0, x73, r71, 18.0, 0.0, "", "", "&03~0,2"},
              {false, g, x73 - g, -r71, x73, -r71, -16.0, -1.0, "", "", ""},
              {false, fit, x73 - fit, -r71, x73, -r71, -32.0, 1.0, "", "", "&03~0,5"},
              {false, 16.0, x73 - fit, -r71, x73 - fit - 16.0, -r71, -20.0, -1.0, "", "", "&03~0,5"},
              {false, x63, 0.0, -r72, x63, -r72, -30.0, x63 - y92 - 1.0, "", "h9", ""},
              {false, AbsZn(y92 - x63) * y92, 0.0, -r72, y92, 0.5 - r71, -44.0, -1.0, "", "h14", ""},
              {false, x73, 0.0, -r72, x73, -r71, -56.0, -1.0, "", "h6", " *"},
              // The length with the seat a row below the part's, however far the collar reaches down.
              {false, seat * Zn(r96) * y71, x0, -r96, x73, -r71, std::min(-68.0, r96 - r72 - 64.0), -1.0, "",
               "h12", ""}});
    // The working surface's sign on its diameter's extension line, between the grade's depth and the
    // diameter: as far from the end on paper reduced as at 1:1, as is the hardened zone's text and how far
    // above the part it stands, above the zone's length's extension lines, which reach as far up at any
    // scale.
    // Between those two sizes it has no other place: the view stands where the sheet holds it there.
    const double reduced = std::min(paper, 1.0);
    Md.drRoughKept(x73 + 9.0 / reduced, r71, 90.0, txapi::txNoProcessingType, TString("0,4"), TString(),
                   TString());
    Md.drShelf(txapi::txLeaderNoSign, x73 - 40.0 / reduced, r71 + 30.0 / reduced, txapi::txLSRight,
               txapi::txArrowNone, 1.5, 0.25, 75.0, TString("HRCэ 52...56"), 5.0, 1.0, 75.0, TString());
    Md.drPoint(x73 - 35.0, r71 + 1.0);
    Md.drEndObj();
    Rough(Md, x73, -24.0 - r71, 0.0, "0,2");
    if (std::fabs(y71 - x73) > 0.0001) Rough(Md, x0, -30.0 - r71, 180.0, "1,6");
    if (r69 != r93) Rough(Md, grade, under ? -r93 : r93, under ? 270.0 : 90.0, "1,6");
    // The collar's back face, on its extension lines below the collar: turned away from the collar, as
    // the face looks, its value between the face and the spring seat's end.
    Rough(Md, 0.0, -32.0 - r72, 180.0, "0,8");
    // The collar's front face below the collar, its value past the face, or turned over short of it;
    // above the collar on a line of its own where the extension lines on both sides cross its value.
    // Below, it stands 5 from the rim on paper: the collar's height, whose value a collar narrow on
    // paper slides past that face, stands 30 down, below the sign's reach of 13.2.
    const auto across = [x63, paper](std::initializer_list<double> lines, double side) {
      return std::any_of(lines.begin(), lines.end(),
                         [&](double x) { return AcrossSignValue(paper * side * (x - x63)); });
    };
    const bool past = across({y92, x73 - fit - 16.0, x73 - fit, x73 - g, x73}, 1.0),
               over = across({0.0, x0}, -1.0);
    if (past && over)
      RoughOnOwnLine(Md, x63, r72, r72 + 4.5, 180.0, TString("1,6"));
    else
      Rough(Md, x63, -5.0 / paper - r72, past ? 180.0 : 0.0, "1,6");
  }
  Md.drDeleteMtr();
}

void TCommonGeometry::dr2D_LapkaZapobizna_V1(const double& mx, const double& my, const double& ma,
                                             const double& mm, const double& r90, const double& r75,
                                             const double& y81, const double& y80, const double& y82,
                                             const double& y79, const double& fD, int tl, bool isSize) const
{
  if (!PlacedFinite(Extent({r90, r75, y81, y80, y82, y79, fD}), mx, my, ma, mm))
    return RefuseElement("лапка");
  // Half the width of a flat's face: where its edges show in the side view.
  const double f = std::sqrt(std::fabs(r90 * r90 - y79 * y79 / 4.0));
  const double x0 = y80 - y81, xk = x0 + y82; // the body's free end, the flats' middle
  // Flats centred nearer the end than half their length run out at the end face: they start there, and
  // their length is given from it. So do flats that begin on the end's chamfer where it leaves the body no
  // wider than the flats are apart: they run out on the chamfer, with no face where they begin.
  const double runOut = x0 + std::max(0.0, fD - (r90 - y79 / 2.0));
  const double xs = xk - 11.0 <= runOut ? x0 : xk - 11.0, xe = xk + 11.0;
  TModeler3D& Md = M();
  Md.drMtr(mx, my, ma, mm);
  Md.drLine(x0 - 2.0, 0.0, y80 + 2.0, 0.0, 3);
  // Body with its end chamfer, the groove, the thread with its 2 mm chamfer; for tl 0 the last
  // node runs back along the axis, otherwise it has no length.
  TContDrawing c(&Md);
  c.Make(x0, 0.0,
         dP(x0, r90 - fD,
            dPx(x0 + fD, r90,
                dPx(0.0, r90,
                    dCVR(0.0, r75 - 1.0, 2.0, r75 - 1.0, 3.0, r75, 0.5,
                         dPx(3.0, r75,
                             dPx(y80 - 2.0, r75,
                                 dP(y80, r75 - 2.0, dP(y80, 0.0, dP(y80 + y81 * (Zn(tl) - 1), 0.0))))))))));
  c.dr2D(tl);
  if (tl != 0) {
    c.dr2DMY(tl);
    Md.drRectAngle(xs, -f, xe, f, 1);
    Md.drLine(2.0, r75 - 1.0, y80 - 1.0, r75 - 1.0, 2);
    Md.drLine(2.0, 1.0 - r75, y80 - 1.0, 1.0 - r75, 2);
  }
  if (isSize) {
    // The section through the flats, hatched, below the side view.
    Md.drMtr(xk, -35.0 - 2.0 * r90, 0.0, 1.0);
    c.Make(-y79 / 2.0, f,
           dA(0.0, 0.0, -r90, y79 / 2.0, f,
              dP(y79 / 2.0, -f, dA(0.0, 0.0, -r90, -y79 / 2.0, -f, dP(-y79 / 2.0, f)))));
    c.dr2D(tl);
    Md.drHatch(0, 45.0, 3.0);
    c.dr2D(tl);
    Md.drEndObj();
    Md.drLine(0.0, -2.0 - r90, 0.0, 3.0 * r90 + 27.0, 3);
    Md.drLine(-2.0 - y79 / 2.0, 0.0, y79 / 2.0 + 2.0, 0.0, 3);
    DrawDims(Md, {{false, y79, -y79 / 2.0, -f, y79 / 2.0, -f, f - r90 - 15.0, 1.0, "", "h14", ""}});
    Md.drDeleteMtr();
    // The end's chamfer first, nearest the end face: the diameter outside it, so that neither crosses the
    // other's extension lines.
    DrawDims(Md, {{true, fD, x0 + fD, r90, x0, r90 - fD, -4.0 - fD, -1.0, "", "", "&04~45&01"}});
    if (xs == x0) {
      // The flats' length, from the end face, before the diameter there: a value too long for either
      // runs on past the end face, the length's above the view, the diameter's then below it.
      DrawDims(Md, {{false, xe - xs, xs, f, xe, f, r90 + 13.0 - f, -1.0, "", "", "&03~0,2"},
                    {true, 2.0 * r90, x0, -r90, x0, r90, -10.0, -1.0, "&02", "h14", ""}});
    } else {
      DrawDims(Md, {{true, 2.0 * r90, x0, -r90, x0, r90, -10.0, -1.0, "&02", "h14", ""},
                    {false, y82, xk, -15.0 - r90, x0, -r90, -15.0, -1.0, "", "", "&03~0,2"},
                    {false, 22.0, xs, f, xe, f, r90 + 13.0 - f, -1.0, "", "", "&03~0,2"}});
    }
    DrawDims(Md, {{false, 2.0, y80 - 2.0, r75, y80, r75 - 2.0, 10.0, -1.0, "", "", "&04~45&01"},
                  {false, y80, 0.0, r90, y80, r75 - 2.0, 25.0, -1.0, "", "h14", ""},
                  {false, y81, x0, r90, y80, r75 - 2.0, 38.0, -1.0, "", "h14", ""},
                  {true, 2.0 * r75, y80 - 2.0, -r75, y80 - 2.0, r75, 27.0, 1.0, "M", "", "-8g"}});
    Md.drCircleShelf(1.5, -r75, 3.0, 6.0, -24.0 - r75, TString("А"));
    Rough(Md, y80 + 9.0, -r75, -90.0, "1,6");
  }
  Md.drDeleteMtr();
}

void TCommonGeometry::dr2D_LapkaZapobizna_Vo(const double& mx, const double& my, const double& ma,
                                             const double& mm, const double& r90, const double&,
                                             const double&, const double&, const double& y82,
                                             const double& y79, const double&, int, bool) const
{
  if (!PlacedFinite(Extent({r90, y79}), mx, my, ma, mm)) return RefuseElement("лапка");
  TModeler3D& Md = M();
  Md.drMtr(mx, my, ma, mm);
  // The origin is the flats' middle, y82 from the end face: nothing lies beyond that face to take away.
  const double from = std::max(-11.0, -y82);
  Md.drRectAngle(-r90, from, -y79 / 2.0, 11.0, 1);
  Md.drRectAngle(r90, from, y79 / 2.0, 11.0, 1);
  Md.drDeleteMtr();
}
