// The locating sleeve: record, standard size, sheet, model, section and end views.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>
#include <vector>

#include "hxcadkit/adapter/drSheetMeasures.h"
#include "hxcadkit/drawing/MathDetail2.h"
#include "hxcadkit/drawing/MathDetails.h"
#include "hxcadkit/drawing/drNodeCont.h"
#include "hxcadkit/stdparts/MathDetailsl.h"

using namespace mould;

namespace {

constexpr int SleeveTable = 3;

// Half the distance between the collar's flats where they leave the circle, or a negative
// number when flats x45 apart would not cut a collar of radius r43 (a key as wide as the collar
// or wider leaves it round).
double FlatHalfChord(double x45, double r43)
{
  if (!(x45 < 2.0 * r43)) return -1.0;
  return std::sqrt(r43 * r43 - x45 * x45 / 4.0);
}

// The collar outline: the circle with its two flats, or the whole circle.
void DrawFlattedCollar(TModeler3D& Md, double x45, double r43, int tl)
{
  const double s = FlatHalfChord(x45, r43);
  if (s < 0.0) {
    Md.drCircle(0.0, 0.0, r43, tl == 0 ? 1 : tl);
    return;
  }
  TContDrawing c(&Md);
  c.Make(-x45 / 2.0, -s,
         dP(-x45 / 2.0, s,
            dA(0.0, 0.0, -r43, x45 / 2.0, s, dP(x45 / 2.0, -s, dA(0.0, 0.0, -r43, -x45 / 2.0, -s)))));
  c.dr2D(tl);
}

// Rows of parallel dimensions stand this far apart.
constexpr double SleeveDimStep = 8.0;
// The axis runs on this far past either end face.
constexpr double SleeveAxisOver = 3.0;
// The radius of an angle's arc about its vertex on a sheet.
constexpr double SleeveAngleArc = 25.0;

// A diameter dimensioned from an end face: its value, where it is measured, its texts and whether view A
// shows it whole (the relief lies hidden behind the bore there, the thread's crest is a broken thin arc).
struct TSleeveDiameter
{
  double D, X;
  const char *S1, *S2;
  bool Seen = true;
  // Where a line across the section sizes it at its own feature, and whether it does.
  double Mid = 0.0;
  bool Across = false;
};

// Whether a diameter's value, its sign, figures and tolerance 3.5 high, fits between its arrows.
bool SleeveValueFits(const TSleeveDiameter& d)
{
  const double chars = 1.0 + double(DrawingNumber(d.D).Length()) + double(TString(d.S2).Length());
  return 0.6 * 3.5 * chars + 2.0 <= d.D;
}

// The bore behind the tapped hole: the axial length t of the 120 degree drill point from the relief down
// to the tapping drill, the bore's length xT and where it starts. The bore's length is a whole millimetre:
// the relief between it and the drill point takes up the fraction the point's cone leaves, 2.5 to 3.5 long
// instead of 3.
struct TSleeveBore
{
  double T, XT, Start;
};

TSleeveBore SleeveBore(double x51, double x52, double r42, double r44)
{
  const double t = ((r42 + 0.5) - (r44 - 2.0)) * Tan30;
  const double xT =
      std::round(x51 - x52 - t - 3.0) >= 1.0 ? std::round(x51 - x52 - t - 3.0) : x51 - x52 - t - 3.0;
  return {t, xT, x51 - xT};
}

// The arc of the outer chamfer's 30 degree angle under the part: its value (3.5 high, 4 characters as the
// sheet reckons it) beyond the arc's middle stops a millimetre short of the circle that marks the groove
// for its detail, 3 round the groove's middle before the collar; 15 with no collar. Under the least arc
// there is no room for it there.
constexpr double SleeveLeastArc = 5.0;
double ChamferArc(double x51, double x50)
{
  if (x50 == 0.0) return 15.0;
  const double detail = x51 - x50 - 1.5 - 3.0, half = 15.0 * TMathDef::DEGRAD;
  return std::min(15.0, (detail - 1.0 - 1.0 - 0.6 * 3.5 * 4.0) / std::cos(half) - 2.0);
}

// The diameters dimensioned beyond the sleeve's end faces (the threaded one at x = 0, the other at x51),
// and those given on view A instead.
struct TSleeveFaces
{
  std::vector<TSleeveDiameter> Left, Right, EndView;
};

// Whether another diameter's extension line from the open face runs outside the bore's within the reach of
// the bore's sign standing there (the relief's half a millimetre out, a thin wall's outside): the sign then
// turns towards the axis.
bool BoreSignCrowded(const std::vector<TSleeveDiameter>& right, double r42)
{
  const auto extended = [](const TSleeveDiameter& d) { return !d.Across; };
  const auto bore = std::find_if(right.begin(), right.end(), [&](const TSleeveDiameter& d) {
    return extended(d) && std::strcmp(d.S2, "H7") == 0;
  });
  return bore != right.end() && std::any_of(right.begin(), right.end(), [&](const TSleeveDiameter& d) {
           return extended(d) && d.D > bore->D && d.D / 2.0 - r42 < SignReachAcross;
         });
}

// Where the bore's sign stands past the open face, on the bore's extension line, and how far from that face
// the diameters there stand. Turned towards the axis, its shelf runs back towards the part a millimetre
// clear of the axis's end, its short arm clear of the bore's value beside that value's line, with half a
// millimetre to spare each way. Elsewhere it stands on the line's outer side.
struct TBoreSignPlace
{
  double Tip, Off;
};

TBoreSignPlace BoreSignPlace(const std::vector<TSleeveDiameter>& right, double r42)
{
  if (!BoreSignCrowded(right, r42)) return {20.0, 28.0};
  // The layout keeps a sign's ends a millimetre off an axis; a value stands its height (3.5) beside its
  // line, a millimetre off it.
  constexpr double Spare = 0.5, Value = 3.5 + 1.0;
  const double tip = SleeveAxisOver + drApi::sheet::AxisGap + SignReachOn + Spare;
  return {tip, tip + SignReachBack + Spare + Value};
}

// Each face's diameters, smallest first. A value that does not fit between its arrows runs its line on
// past them, across the extension lines of every larger diameter from the same face: so the sleeve gives
// such a diameter on view A where that view shows it, else the larger ones from that face;
// where view A shows none of them (the thread and the relief behind it), each is sized across the section.
TSleeveFaces SleeveFaces(double x51, double x50, double x52, double r1, double r42, double r43, double r44)
{
  TSleeveFaces f;
  f.Right.push_back({2.0 * r42, x51, "&02", "H7"});
  if (x52 != 0.0) {
    const TSleeveBore b = SleeveBore(x51, x52, r42, r44);
    f.Left.push_back({2.0 * r44, 0.0, "M", "-7H", false, x52 / 2.0});
    // The relief behind the thread from the other end through the bore, where that is shorter than the
    // sleeve is across, so that its extension lines do not run on along the part; else from the
    // thread's end.
    // Sized across the section, it stands at its middle; but the thread's line across it keeps its value
    // (3.5 high, a millimetre off the line) a millimetre clear of the outer chamfer's length's extension
    // line, 1 from the threaded end. Where that carries the thread's line past the relief's middle, the
    // relief is sized by its far end, just short of the bore, so that its extension lines start past the
    // thread's line rather than run across it.
    const bool throughBore = b.XT <= 2.0 * std::max(r1, r43);
    constexpr double ThreadLineLeast = 1.0 + 1.0 + 3.5 + 1.0;
    const double middle = (x52 + b.T + b.Start) / 2.0;
    (throughBore ? f.Right : f.Left)
        .push_back({2.0 * (r42 + 0.5), throughBore ? b.Start : x52 + b.T + 0.5, "&02", "H14", false,
                    middle < ThreadLineLeast ? std::max(middle, b.Start - 0.3) : middle});
  }
  // The outside behind a collar from the other end, where its chamfer starts; view A shows it past a collar
  // no wider, hidden behind a wider one. The collar's own diameter is view A's, where it is wider: one as
  // wide as the sleeve is the outside itself.
  if (x50 != 0.0)
    f.Left.push_back({2.0 * r1, 1.0, "&02", "h6", r43 == r1, (x51 - x50 - 2.0) / 2.0});
  else
    f.Right.push_back({2.0 * r1, x51 - 1.0, "&02", "h6"});
  for (std::vector<TSleeveDiameter>* side : {&f.Left, &f.Right}) {
    std::vector<TSleeveDiameter>& d = *side;
    std::sort(d.begin(), d.end(),
              [](const TSleeveDiameter& a, const TSleeveDiameter& b) { return a.D < b.D; });
    // The largest runs its line on across nothing; the threaded end's is sized across the section where
    // view A does not show it, so that the end face stays clear for its chamfer's angle.
    const bool openFace = side == &f.Right;
    // A collar too near the chamfer for its angle under the part leaves the threaded end's face to it.
    if (side == &f.Left && ChamferArc(x51, x50) < SleeveLeastArc) {
      const auto seen = std::stable_partition(d.begin(), d.end(), [](const TSleeveDiameter& k) { return !k.Seen; });
      f.EndView.insert(f.EndView.end(), seen, d.end());
      d.erase(seen, d.end());
      for (TSleeveDiameter& k : d)
        k.Across = true;
      continue;
    }
    for (std::size_t i = 0; i < d.size();) {
      if (SleeveValueFits(d[i]) || ((d[i].Seen || openFace) && i + 1 == d.size())) {
        ++i;
      } else if (d[i].Seen) {
        f.EndView.push_back(d[i]);
        d.erase(d.begin() + std::ptrdiff_t(i));
      } else {
        const auto seen = std::stable_partition(d.begin() + std::ptrdiff_t(i) + 1, d.end(),
                                                [](const TSleeveDiameter& k) { return !k.Seen; });
        // Where view A shows none of the larger ones (the thread and the relief behind it), or not all,
        // each is sized across the section at its own feature: no extension lines there for a run-on to
        // cross.
        if (seen == d.end() || seen != d.begin() + std::ptrdiff_t(i) + 1)
          for (TSleeveDiameter& k : d)
            k.Across = true;
        f.EndView.insert(f.EndView.end(), seen, d.end());
        d.erase(seen, d.end());
        ++i;
      }
    }
  }
  // A bore's sign turned towards the axis writes its value across the bore's other extension line (a
  // millimetre kept off it) where the bore is narrower than the sign reaches: with no side of its line left
  // to it, the bore is given on view A, its sign on its leader there.
  if (BoreSignCrowded(f.Right, r42) && 2.0 * r42 < SignReachAcross + 1.0) {
    const auto bore = std::find_if(f.Right.begin(), f.Right.end(),
                                   [](const TSleeveDiameter& d) { return std::strcmp(d.S2, "H7") == 0; });
    f.EndView.push_back(*bore);
    f.Right.erase(bore);
  }
  return f;
}

// Whether the bore's diameter, and its sign with it, stands on view A.
bool BoreInEndView(const TSleeveFaces& f)
{
  return std::any_of(f.EndView.begin(), f.EndView.end(),
                     [](const TSleeveDiameter& d) { return std::strcmp(d.S2, "H7") == 0; });
}

// Diameters from the end face at x = face, beside it on the side away from the part (dir -1 to the left,
// +1 to the right), the smallest off from the face and each larger one a row farther: no extension line
// then crosses another's line. A value that does not fit between its arrows slides towards the lower half.
void SleeveDiameters(TModeler3D& Md, double face, double dir, double off,
                     const std::vector<TSleeveDiameter>& d)
{
  const TString none;
  std::size_t row = 0;
  for (const TSleeveDiameter& k : d) {
    const double x = k.Across ? k.Mid : k.X;
    const double at = k.Across ? 0.0 : face + dir * (off + SleeveDimStep * double(row++)) - x;
    // Across the section its value slides above the part, away from the end chamfer's angle below.
    const double y = k.Across ? -k.D / 2.0 : k.D / 2.0;
    Md.drDimVL2(-k.D, at, -1.0, x, -y, x, y, k.S1, k.S2, none);
  }
}

// The width across the collar's flats: a guide pillar's key, cut into a collar there is; 0 for none.
double FlatsWidth(const TDetail* complement, double collarHeight)
{
  const auto* pin = dynamic_cast<const TSocketLeaderPin*>(complement);
  return pin && collarHeight > 0.0 ? pin->Key : 0.0;
}

} // namespace

TSocketLeaderPinLocatingSleeves::TSocketLeaderPinLocatingSleeves(int iId, TModeler3D* M,
                                                                 const TDetail* iComplement, TConstruktor* C)
    : TDetail(iId, M, iComplement, 0, C)
{
}

int TSocketLeaderPinLocatingSleeves::Set(int DetId, const Real& R, const Real& T)
{
  if (DetId != SleeveTable) return 0;
  const int row = FindRow(SleeveTable, 5, 2.0 * R, 6, T);
  if (row != 0) {
    Radius = Col(SleeveTable, row, 5) / 2.0;
    Len = Col(SleeveTable, row, 6);
    FLen = Col(SleeveTable, row, 6);
    FRadius = Col(SleeveTable, row, 3) / 2.0; // the bore, as the builder by code reads it
    CollarRadius = Radius;
    CollarHeight = 0.0;
    ThreadLen = Col(SleeveTable, row, 1);
    ThreadRadius = Col(SleeveTable, row, 4) / 2.0;
  }
  Chosen(*this, SleeveTable, row);
  return row;
}

void TSocketLeaderPinLocatingSleeves::toStream(TKmfData& S) const
{
  WriteHead(S, *this);
  Write(S, {Radius, Len, FLen, FRadius, CollarRadius, CollarHeight, ThreadLen, ThreadRadius});
}

void TSocketLeaderPinLocatingSleeves::fromStream(TKmfData& S)
{
  ReadHead(S, *this);
  Read(S, {&Radius, &Len, &FLen, &FRadius, &CollarRadius, &CollarHeight, &ThreadLen, &ThreadRadius});
}

namespace {

// Why no sound sleeve can be made of s's sizes, or null. Its outline: the body Radius over Len, its front
// edge chamfered 1 by tan 30; the collar CollarRadius over CollarHeight at the far end behind a groove 3
// long and 0.3 deep; the bore FRadius, relieved 0.5 before the tapped hole ThreadRadius ThreadLen deep
// (its drill 2 under the thread, its point at 120 degrees), the bore at least 3 long besides.
const char* SleeveFault(const TSocketLeaderPinLocatingSleeves& s)
{
  if (!Positive({s.Len, s.Radius}) ||
      !NotNegative({s.FRadius, s.CollarHeight, s.ThreadLen, s.ThreadRadius}) ||
      !NotNegative({s.CollarRadius}) || (s.ThreadLen > 0.0 && !Positive({s.ThreadRadius})))
    return "размеры должны быть положительными";
  if (s.FRadius + 0.5 >= s.Radius - Tan30) return "отверстие выходит на наружную поверхность";
  // Without a collar its radius is the sleeve's own, as the sheet gives it.
  if (s.CollarHeight == 0.0 && s.CollarRadius != s.Radius)
    return "радиус буртика отличается от наружного, а высоты буртика нет";
  // A collar as wide as the sleeve is its groove and flats alone.
  if (s.CollarHeight > 0.0 && (s.CollarRadius < s.Radius || s.CollarHeight + 4.0 >= s.Len))
    return "буртик уже втулки или длиннее её";
  if (s.ThreadLen > 0.0) {
    if (s.ThreadRadius <= 2.0 || s.ThreadRadius - 2.0 >= s.FRadius + 0.5 ||
        s.ThreadRadius >= s.Radius - Tan30)
      return "резьба не помещается во втулке";
    const double point = ((s.FRadius + 0.5) - (s.ThreadRadius - 2.0)) * Tan30;
    if (s.Len - s.ThreadLen - point - 3.0 <= 0.0) return "резьба длиннее втулки";
  }
  return nullptr;
}

} // namespace

void TSocketLeaderPinLocatingSleeves::dr2D() const
{
  if (!M2.Ptr || RefuseSizes("втулка установочная", SleeveFault(*this))) return;
  // The view stands with its open end 45 right of the sheet's view place, or farther right where the
  // sleeve is so long that its threaded end would stand less than 26 right of the frame's edge (50 left of
  // that place): the chamfer's angle beyond the face, its arc and value 22 across, keeps inside the frame.
  if (!OpenSheet(*this, std::max(45.0, Len - 24.0), -30.0)) return;
  TModeler3D& Md = M();
  dr2D_V1(0.0, 0.0, 0.0, 1.0, Len, CollarHeight, ThreadLen, Radius, FRadius, CollarRadius, ThreadRadius, 1,
          true, CollarRadius);
  // View A shows the flats the model has: a pillar's key cut into a collar; otherwise the end is round.
  const double flats = FlatsWidth(Complement, CollarHeight);
  const double X45 = flats != 0.0 ? flats : 2.0 * CollarRadius;
  dr2D_V2(Len + 115.0, 0.0, 0.0, 1.0, X45, Radius, FRadius, CollarRadius, ThreadRadius, 1, true);
  // The diameters given on view A: the largest through the centre, the others from outside; the bore's
  // sign on its leader.
  const TSleeveFaces faces = SleeveFaces(Len, CollarHeight, ThreadLen, Radius, FRadius,
                                         CollarHeight != 0.0 ? CollarRadius : Radius, ThreadRadius);
  Md.drMtr(Len + 115.0, 0.0, 0.0, 1.0);
  for (const TSleeveDiameter& d : faces.EndView) {
    const bool bore = std::strcmp(d.S2, "H7") == 0;
    // Apart from the outside's line through the centre: concentric diameters share no line.
    const double at = bore ? -60.0 : 45.0;
    Md.drDimD(d.D, TString(), at, 10, 1, 0.0, 0.0, 1, d.S1, d.S2, TString());
    if (bore) {
      const double a = at * TMathDef::DEGRAD, r = d.D / 2.0 + 8.0;
      Md.drRough(r * std::cos(a), r * std::sin(a), at + 90.0, txapi::txRoughSignEnum(0), "0,4", TString(),
                 TString());
    }
  }
  Md.drDeleteMtr();
  // Detail Б shows the groove before the collar; a sleeve without a collar has neither.
  if (CollarHeight != 0.0) {
    TCommonGeometry G(0, &Md);
    G.drCVR_dV(Len / 2.0, -90.0 - CollarRadius, 0.0, 5.0, 3.0, 0.3, 0.4, "Б", true);
  }
  const TString none;
  Md.drCloseViewTDemCloseLeaf(none, none, none, none);
}

void TSocketLeaderPinLocatingSleeves::dr3D(int) const
{
  if (!M2.Ptr || RefuseSizes("втулка установочная", SleeveFault(*this))) return;
  const TMouldBuildMark mark = drMouldBuildMark(M());
  if (!OpenPart(*this, txapi::o3d_planeYOZ)) return;
  TModeler3D& Md = M();
  dr2D_V1(0.0, 0.0, 0.0, 1.0, Len, CollarHeight, ThreadLen, Radius, FRadius, CollarRadius, ThreadRadius, 0,
          false, CollarRadius);
  Md.drBaseRotate(0, 360.0);
  if (const double flats = FlatsWidth(Complement, CollarHeight); flats != 0.0) {
    Md.drPlaneEskis(txapi::o3d_planeXOY, 0.0, 0.0, TString());
    dr2D_Vo(0.0, 0.0, 0.0, 1.0, flats, 0.0, CollarRadius, 1, false);
    Md.drCutExtrusion(txapi::dtReverse, txapi::etBlind, CollarHeight, 0.0);
  }
  if (drMouldDiscardFailed(Md, mark)) return;
  Grey(Md);
  const TString file = Md.drFileName3D();
  Md.drClose3D(true, tNotExist);
  drMouldSaved(Md, file);
}

void TSocketLeaderPinLocatingSleeves::dr2D_V1(Real mx, Real my, Real ma, Real mm, Real x51, Real x50,
                                              Real x52, Real r1, Real r42, Real r43, Real r44, int tl,
                                              bool isSize, Real x45) const
{
  TModeler3D& Md = M();
  const TSleeveBore bore = SleeveBore(x51, x52, r42, r44);
  const double t = bore.T, xT = bore.XT, boreStart = bore.Start;
  // The thin line of the thread's nominal diameter ends on the drill point's cone.
  const double threadEnd = x52 + 1.1547005383792515;
  Md.drMtr(mx, my, ma, mm);
  Md.drMtr(x50 - x51, 0.0, 0.0, 1.0);
  if (x50 == 0.0) r43 = r1;
  Md.drLine(-SleeveAxisOver, 0.0, x51 + SleeveAxisOver, 0.0, 3);

  TNode* inner = x52 != 0.0
                     ? dPx(boreStart, r42,
                           dCVR(boreStart, r42 + 0.5, x52 + t, r42 + 0.5, x52, r44 - 2.0, 0.5,
                                dPx(x52, r44 - 2.0, dPx(2.0, r44 - 2.0, dPx(0.0, r44, dP(0.0, r1 - Tan30))))))
                     : dPx(0.0, r42, dP(0.0, r1 - Tan30));
  inner = dPx(x51, r42, inner);
  TNode* outer =
      x50 != 0.0
          ? dP(x51 - x50 - 3.0, r1,
               dCVR(x51 - x50 - 3.0, r1 - 0.3, x51 - x50, r1 - 0.3, x51 - x50, r43, 0.3, dP(x51, r43, inner)))
          : dP(x51 - 1.0, r43, dP(x51, r43 - Tan30, inner));
  TContDrawing c(&Md);
  c.Make(0.0, r1 - Tan30, dP(1.0, r1, outer));

  const int k = tl / 10, m = tl - 10 * k;
  if (k == 1 || k == 2) {
    const bool mirrored = k == 2;
    auto draw = [&](int t2) { mirrored ? c.dr2DMY(t2) : c.dr2D(t2); };
    // The group keeps the section's own outline for the host's region clearing.
    Md.drGroup(true);
    Md.drMtr(0.001, 0.0, 0.0, 1.0);
    draw(0);
    Md.drDeleteMtr();
    Md.drEndGroup();
    Md.drClearRegion(0);
    draw(m);
    Md.drHatch(0, 135.0, 4.0);
    draw(0);
    Md.drEndObj();
    const double y = mirrored ? -r44 : r44;
    if (x52 != 0.0) Md.drLine(0.0, y, threadEnd, y, 2);
  } else {
    c.dr2D(tl);
    if (tl != 0) {
      c.dr2DMY(1);
      Md.drHatch(0, 135.0, 4.0);
      c.dr2D(0);
      c.dr2DMY(0);
      Md.drEndObj();
      if (x52 != 0.0) {
        Md.drLine(0.0, r44, threadEnd, r44, 2);
        Md.drLine(0.0, -r44, threadEnd, -r44, 2);
      }
    }
  }

  if (isSize) {
    const TString none;
    const auto plain = txapi::txRoughSignEnum(0);
    const double z = std::fabs(x52) > 2e-6 ? 1.0 : 0.0;
    // Lengths stand above the part, the shortest nearest, one row apart: the thread's chamfer, then the
    // thread and the bore side by side, then the whole length; so no extension line crosses another's
    // line. The top of the part is the collar's, or the sleeve's own.
    const double top = std::max(r1, r43);
    const TSleeveFaces faces = SleeveFaces(x51, x50, x52, r1, r42, r43, r44);
    const bool faceClear =
        std::all_of(faces.Left.begin(), faces.Left.end(), [](const TSleeveDiameter& d) { return d.Across; });
    const auto above = [top](int row, double y) { return top + SleeveDimStep * row - y; };
    if (x52 != 0.0) {
      Md.drDimHL(2.0, above(1, r1 - Tan30), -1.0, 0.0, r1 - Tan30, 2.0, r44 - 2.0, none, none, "&04~45&01");
      Md.drDimHL(x52, above(2, r1 - Tan30), -1.0, 0.0, r1 - Tan30, x52, r44 - 2.0, none, "Js14", none);
      // The outer chamfer's angle between the surface run on and the chamfer's line run on past the part,
      // below it; beyond the end face where no diameter stands there, else under the part, short of the
      // collar's groove.
      Md.drDimA(30.0, -1, faceClear ? 180.0 : 0.0, faceClear ? 15.0 : ChamferArc(x51, x50), 0, 0, 0.0, 0.0,
                0.0, 0.0, 1, 0, 0.0, 0.0, 1, 0, none, 1.0, -r1);
      Md.drRough(x51 - x50, -32.0 - r43, 0.0, plain, "3,2", none, none);
    }
    // A sleeve the chamfer angle's arc reaches past crowds the end face's sign below it: there the bore's
    // length stands below the part, and the sign on its extension line from the end face. A collar's face
    // takes that sign instead, which the arc (short of the groove's detail, or beyond the threaded end)
    // never reaches; the collar's length stands below the part from the end face, alone there, so that no
    // other length's line or value stands across the face's line where the sign is carried past it.
    const bool reached = x50 == 0.0 && x51 < SleeveAngleArc;
    const double below = -SleeveDimStep - 2.0;
    if (reached)
      Md.drDimHL(-xT * z, below, 1.0, x51 - xT, -r42, x51, -top, none, "h14", none);
    else
      Md.drDimHL(-xT * z, above(2, top), 1.0, x51 - xT, r42, x51, top, none, "h14", none);
    if (x50 != 0.0) Md.drDimHL(-x50, below, 1.0, x51 - x50, -r43, x51, -top, none, "h12", none);
    Md.drDimHL(x51, above(3, top), 0.0, 0.0, r1 - Tan30, x51, top, none, "h14", none);
    // The outside's sign above the part; with a collar, whose lengths stand above the part with the
    // thread's, it stands on the outside's lower half.
    if (x50 != 0.0)
      Md.drRough(-39.0, -r1, 270.0, plain, "0,8", none, none);
    else
      Md.drRough(-39.0, r1, 90.0, plain, "0,8", none, none);
    // The chamfer's length from the corner its lines make: the angle's ray along the surface, run on past
    // the end face, ends its extension line there instead of crossing it.
    Md.drDimHL(1.0, -10.0, 0.0, 0.0, faceClear ? -r1 : 1.0 - r1, 1.0, -r1, none, none, none);
    // Diameters from an end face: the thread and the relief behind it from the threaded end; from the other
    // the bore and the outside (or the collar), the bore's sign on its extension line.
    const std::vector<TSleeveDiameter>&left = faces.Left, &right = faces.Right;
    SleeveDiameters(Md, 0.0, -1.0, 10.0, left);
    const TBoreSignPlace sign = BoreSignPlace(faces.Right, r42);
    SleeveDiameters(Md, x51, 1.0, sign.Off, right);
    if (!BoreInEndView(faces)) Md.drRough(x51 + sign.Tip, r42, -90.0, plain, "0,4", none, none);
    // View A looks at the collar's end: its arrow points at it, its letter stands above the arrow.
    if (x45 != 0.0) Md.drWPointer(x51 + 60.0, 0.0, x51 + 50.0, 0.0, x51 + 54.0, 2.0, 7.0, 1.0, 75.0, "А");
    if (x50 != 0.0) Md.drCircleShelf(x51 - x50 - 1.5, 0.3 - r1, 3.0, x51 + 2.0, -5.0 - r43, "Б");
  }
  Md.drDeleteMtr();
  Md.drDeleteMtr();
}

void TSocketLeaderPinLocatingSleeves::dr2D_V2(const Real& mx, const Real& my, const Real& ma, const Real& mm,
                                              const Real& x45, const Real& r41, const Real& r42,
                                              const Real& r43, const Real& r44, int tl, bool isSize) const
{
  TModeler3D& Md = M();
  Md.drMtr(mx, my, ma, mm);
  Md.drLine(-3.0 - x45 / 2.0, 0.0, x45 / 2.0 + 3.0, 0.0, 3);
  Md.drLine(0.0, -3.0 - r43, 0.0, r43 + 3.0, 3);
  DrawFlattedCollar(Md, x45, r43, tl);
  Md.drCircle(0.0, 0.0, r42, 1);
  Md.drCircle(0.0, 0.0, r44 - 1.0, 1);
  Md.drArc(0.0, 0.0, r44, -r44, 0.0, 0.0, -r44, -1, 2);
  Md.drCircle(0.0, 0.0, r41, 4);
  if (isSize) {
    const TString none;
    Md.drText(-10.0, r43 + 10.0, 0.0, 7.0 / DrawnScale(Md), 1.0, 75, "Вид А");
    // A collar no wider than the sleeve is the sleeve's outer diameter, given with its fit in the section.
    if (r43 != r41) Md.drDimVL(2.0 * r43, -x45 / 2.0 - 10.0, 1.0, 0.0, -r43, 0.0, r43, "&02", "h14", none);
    const double s = FlatHalfChord(x45, r43);
    if (s >= 0.0) Md.drDimHL(x45, -25.0, 0.0, -x45 / 2.0, -s, x45 / 2.0, -s, none, "h14", none);
  }
  Md.drDeleteMtr();
}

void TSocketLeaderPinLocatingSleeves::dr2D_Vo(const Real& mx, const Real& my, const Real& ma, const Real& mm,
                                              const Real& x45, const Real&, const Real& r43, int tl,
                                              bool) const
{
  TModeler3D& Md = M();
  Md.drMtr(mx, my, ma, mm);
  DrawFlattedCollar(Md, x45, r43, tl);
  Md.drCircle(0.0, 0.0, r43 + 2.0, 1);
  Md.drDeleteMtr();
}
