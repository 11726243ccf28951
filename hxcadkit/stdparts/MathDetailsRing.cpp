// The locating ring's two sheets and two parts, one per designation: the sheet of Id shows the
// bore in plan, that of Id2 the column tail's holes; the parts follow the same split.
#include <algorithm>
#include <array>
#include <cmath>
#include <initializer_list>
#include <iterator>
#include <utility>
#include <vector>

#include "hxcadkit/drawing/MathDetail2.h"
#include "hxcadkit/drawing/drNodeCont.h"
#include "hxcadkit/stdparts/MathDetailsl.h"

namespace {

constexpr double Deg = 0.017453292519943295;
constexpr double Sqrt3 = 1.7320508075688772;

double Cx(double r, double a)
{
  return r * std::cos(a * Deg);
}

double Cy(double r, double a)
{
  return r * std::sin(a * Deg);
}

void CircleAt(TModeler3D& M, double r, double a, double radius, int tl)
{
  M.drCircle(Cx(r, a), Cy(r, a), radius, tl);
}

// The bore's entry: a ring whose shoulder differs from its outside opens its bore at 45 degrees
// from a land 1 long, a flat ring keeps it straight. A part without a bore has no entry.
struct TEntry
{
  double t, a;
};

TEntry Entry(const TLocatingRing& r, double bore)
{
  const bool flat = r.BaseRadius == r.Radius;
  return {bore > 0.0 ? (flat ? 0.0 : 1.0) : r.Thickness, flat ? 90.0 : 45.0};
}

// The ring's section, for the sheet (tl 31 with sizes) and for the model (tl 0), with the bore of
// the part it is drawn for: the sheet and the model of one part come from this one call.
void Section(const TLocatingRing& r, double bore, int tl, bool isSize)
{
  const TEntry e = Entry(r, bore);
  r.dr2D_LocatingRing_V1(0, 0, 0, 1.0, r.BaseRadius, r.Radius, bore, e.t, e.a, r.BaseThickness, r.Thickness,
                         r.FixRadius, r.FixBoltRadius + 0.5, r.FixBoltHeadRadius, r.PinRadius,
                         r.FixBoltHeadLen, tl, isSize);
}

constexpr const char* RingName = "кольцо установочное";

// How far the column tail's hole of radius r81 on the circle pr lies inside the rim of radius R along its
// diameter's leader, which leans 15 degrees back from the hole's own direction.
constexpr double TailLean = 15.0;
double TailHoleToRim(double pr, double r81, double R)
{
  const double along = pr * std::cos(TailLean * Deg);
  return std::sqrt(along * along - pr * pr + R * R) - along - r81;
}

// The column tail's hole whose diameter the plan view gives: the first whose leader, leaning back from
// the hole's own direction, passes the pins' holes (at pin and opposite it, of radius pr on the circle fr)
// a margin of the sheet's millimetre off; the first where none does.
int SizedTailHole(const TColumnTail& tail, double fr, double pin, double pr, double margin)
{
  const auto clear = [&](int h) {
    const double a = (tail.Angle[h] - TailLean) * Deg, x = Cx(tail.PlaceRadius, tail.Angle[h]),
                 y = Cy(tail.PlaceRadius, tail.Angle[h]);
    for (const double p : {pin, pin + 180.0}) {
      // The pin's centre along the leader from the hole's, and off it.
      const double dx = Cx(fr, p) - x, dy = Cy(fr, p) - y, along = dx * std::cos(a) + dy * std::sin(a);
      const double off = along > 0.0 ? std::fabs(dy * std::cos(a) - dx * std::sin(a)) : std::hypot(dx, dy);
      if (off < pr + margin) return false;
    }
    return true;
  };
  for (int h = 1; h <= 4; ++h)
    if (clear(h)) return h;
  return 1;
}

// Where the rays of an angle about the ring's centre, in the directions given, start: at radius from, or
// as little farther out, in steps of the sheet's hair, as keeps each start off every circle of the plan view
// drawn as an outline (the ring's own and its holes' given as centre and radius): a ray starting on an
// edge reads as sizing it.
double RayStart(double from, std::initializer_list<double> directions,
                const std::vector<std::array<double, 3>>& circles, double hair)
{
  const auto onEdge = [&](double r) {
    for (const double d : directions)
      for (const auto& [cx, cy, cr] : circles)
        if (std::fabs(std::hypot(Cx(r, d) - cx, Cy(r, d) - cy) - cr) < hair) return true;
    return false;
  };
  double r = from;
  for (int step = 0; step < 20 && onEdge(r); ++step)
    r += hair;
  return onEdge(r) ? from : r;
}

// Why no sound ring can be made of r's sizes, or null: the section's relations, then those of the holes.
const char* Fault(const TLocatingRing& r, const TColumnTail* tail)
{
  const double T = r.Thickness, R = r.Radius, RB = r.BaseRadius, sh = r.BaseThickness, iR = r.InRadius;
  const double rim = R - Sqrt3; // the outer edge at the face x = T
  const bool fixing = r.FixPositions() > 0, pins = sh == 0.0;
  if ((fixing && !mould::Positive({r.FixRadius, r.FixBoltRadius, r.FixBoltHeadRadius, r.FixBoltHeadLen})) ||
      (pins && !mould::Positive({r.FixRadius, r.PinRadius})) ||
      (tail && !mould::Positive({tail->PlaceRadius, tail->Radius})))
    return mould::RingMeaning(mould::rgSizes);
  const TEntry e = Entry(r, iR);
  if (const char* why = mould::RingMeaning(mould::RingBroken({RB, R, iR, e.t, e.a, sh, T}))) return why;
  const bool shoulder = RB != R;
  const double rise = iR > 0.0 && e.a < 90.0 ? (T - e.t) / std::tan(e.a * Deg) : 0.0;
  const double boreEnd = iR > 0.0 ? iR + rise : 0.0;
  // Holes on the fixing circle: the screws' counterbores, the pins.
  const double r52 = r.FixBoltRadius + 0.5;
  const double across =
      std::max({fixing ? r.FixBoltHeadRadius : 0.0, fixing ? r52 : 0.0, pins ? r.PinRadius : 0.0});
  if (fixing || pins) {
    if (r.FixRadius + across >= rim || r.FixRadius - across <= boreEnd)
      return "отверстия крепления выходят из кольца";
  }
  if (fixing) {
    if (r.FixBoltHeadRadius <= r52) return "зенковка не шире отверстия";
    const bool outside = shoulder && RB < r.FixRadius;
    if (shoulder && (outside ? r.FixRadius - r52 <= RB + 0.5 : r.FixRadius + r52 >= RB - 0.5))
      return "отверстия крепления пересекают край буртика";
    if (r.FixBoltHeadLen >= T - (outside ? sh : 0.0)) return "зенковка глубже кольца";
  }
  // The column tail's holes, in a part without a bore: through the ring, and either within the shoulder
  // or clear of it, as the screws' holes are.
  const bool boreless = r.Id2 != r.Id || iR == 0.0;
  if (tail && boreless) {
    const double r81 = tail->Radius + 0.5;
    if (tail->PlaceRadius + r81 >= rim) return "отверстия хвостовика выходят из кольца";
    if (shoulder && tail->PlaceRadius + r81 >= RB - 0.5 && tail->PlaceRadius - r81 <= RB + 0.5)
      return "отверстия хвостовика пересекают край буртика";
  }
  return nullptr;
}

} // namespace

// The section's limits: the face x = 0 has its outer edge chamfered 0.5 on a ring without a shoulder, a
// shoulder its root rounded 0.5, and the face x = T its outer edge led in 3 long and sqrt 3 deep.
mould::TRingRelation mould::RingBroken(const TRingSizes& r)
{
  if (!Positive({r.RBase, r.R, r.T}) || !NotNegative({r.iR, r.sh, r.t}) || !std::isfinite(r.a))
    return rgSizes;
  // A bore's land ends inside the ring; a part without a bore may have none.
  if (r.iR > 0.0 ? r.t >= r.T : r.t > r.T) return rgLand;
  if (r.RBase > r.R) return rgShoulderWidth;
  const bool shoulder = r.RBase != r.R;
  // The root's rounding needs room on both its legs, or the outline leaves it out.
  if (shoulder && (r.sh <= 0.5 || r.R - r.RBase <= 0.5)) return rgShoulderRoot;
  if (r.T - 3.0 <= (shoulder ? r.sh : 0.5)) return rgLength;
  // The bore and the outside run straight between these points, so the bore is inside wherever it is there.
  const bool cone = r.a > 0.0 && r.a < 180.0;
  const auto bore = [&](double x) { return cone && x > r.t ? r.iR + (x - r.t) / std::tan(r.a * Deg) : r.iR; };
  const double leadIn = r.T - 3.0;
  const auto outside = [&](double x) {
    if (shoulder && x <= r.sh) return r.RBase;
    if (!shoulder && x < 0.5) return r.R - 0.5 + x;
    return x > leadIn ? r.R - (x - leadIn) * Sqrt3 / 3.0 : r.R;
  };
  for (const double x : {0.0, shoulder ? r.sh : 0.5, r.t, leadIn, r.T})
    if (!(bore(x) >= 0.0 && bore(x) < outside(x))) return rgBore;
  return rgNone;
}

const char* mould::RingMeaning(TRingRelation broken)
{
  switch (broken) {
  case rgSizes: return "размеры должны быть положительными";
  case rgShoulderWidth: return "буртик не шире кольца";
  case rgShoulderRoot: return "буртик выше и уже кольца более чем на скругление 0,5";
  case rgLength: return "уступ и фаска короче кольца";
  case rgLand: return "поясок отверстия короче кольца";
  case rgBore: return "отверстие внутри наружной поверхности";
  case rgNone: break;
  }
  return nullptr;
}

// A column tail linked as the ring's complement; another class counts as none.
const TColumnTail* TLocatingRing::Tail() const
{
  return dynamic_cast<const TColumnTail*>(Complement);
}

bool TLocatingRing::BoreOnPlan(double iR) const
{
  return Tail() != nullptr && iR > 0.0 && DiameterValueLength(2.0 * iR) + 2.0 > 2.0 * iR;
}

double TLocatingRing::PlanScale() const
{
  // The plan view's leaders carry their values from a hole inside the ring out past its rim, 2 beyond:
  // the column tail's holes, the pins' holes, a bore sized there, and the circles the holes stand on. Where
  // that is farther than a reader follows a leader, the plan is drawn smaller.
  const TColumnTail* tail = Tail();
  if (tail == nullptr) return 1.0;
  const double r81 = tail->Radius + 0.5;
  // Each leader: how far past its arc its value's near end stands, in the part's millimetres and the
  // sheet's, and the arc's radius.
  struct TLeader
  {
    double Part, Sheet, Radius;
  };
  std::vector<TLeader> leaders{{TailHoleToRim(tail->PlaceRadius, r81, Radius), 2.0, r81}};
  if (BoreOnPlan(InRadius)) leaders.push_back({Radius - InRadius, 2.0, InRadius});
  // The pins' holes' diameter, straight down from the lower hole to past the rim below it.
  if (BaseThickness == 0.0) {
    const double x = Cx(FixRadius, PinAngle + 180.0), y = Cy(FixRadius, PinAngle + 180.0);
    leaders.push_back({y + std::sqrt(std::max(0.0, Radius * Radius - x * x)), 2.0, PinRadius});
  }
  // The tail's and the fixing circles' diameters, their values centred 10 past the rim.
  for (const double c : {tail->PlaceRadius, FixRadius})
    leaders.push_back({Radius - c, 10.0 - DiameterValueLength(2.0 * c) / 2.0, c});
  // In a view of its own the plan may be drawn smaller than any sheet would be, down the standard
  // reductions: a ring far wider than its holes' circles is, with its values past the rim, drawn at 1:15
  // and beyond.
  constexpr double reductions[] = {1.0, 2.0, 4.0, 5.0, 10.0, 15.0, 20.0, 25.0, 40.0, 50.0};
  for (const double r : reductions) {
    const double k = 1.0 / r;
    if (std::all_of(leaders.begin(), leaders.end(), [k](const TLeader& l) {
          return l.Part * k + l.Sheet <= ValueReach + l.Radius * k;
        }))
      return k;
  }
  return 1.0 / reductions[std::size(reductions) - 1];
}

double TLocatingRing::SectionScale(double room) const
{
  // The shoulder's length stands at its step, its value under the shoulder diameter's extension line (a
  // value's height and the 1 it stands off its line), its extension lines run on past its line. Where the
  // step stands out farther than the section is thick, they run over the section that far, no farther
  // than the section is across on paper and the half millimetre more the sheet allows a line over its
  // view: a section thinner on paper is drawn larger, at the least standard enlargement that holds it.
  const double step = Radius - BaseRadius;
  const auto roomy = [&](double s) {
    return step * s <= Thickness * s + ExtensionOverView ||
           Thickness * s + ExtensionOverView >= 1.0 + drApi::sheet::ValueHeight + drApi::sheet::ExtensionPast;
  };
  const double reduced = MouldReduction(2.0 * Radius, room);
  if (reduced < 1.0) return reduced;
  return MouldEnlargement(2.0 * Radius, roomy, [&](double s) { return 2.0 * Radius * s <= room; });
}

void TLocatingRing::dr2D() const
{
  if (!M2.Ptr) return;
  if (mould::RefuseSizes(RingName, Fault(*this, Tail()))) return;
  TModeler3D& Md = M();
  const double plan = PlanScale();
  for (const int det : {Id, Id2}) {
    // A bore opening in a cone gives its far diameter for reference, and its angle right of the section
    // wants the room of a widened arc before the plan view. A shoulder's root is rounded 0.5, as the
    // requirements say.
    const double bore = det == Id ? InRadius : 0.0;
    const bool cone = bore > 0.0 && Entry(*this, bore).a < 90.0;
    const int rounded = BaseRadius != Radius ? 30 : 0;
    // The section is drawn as large as the sheet holds, where its narrow faces find room for their sizes;
    // the plan view, whose leaders carry their values out past the rim, no larger than keeps them within
    // reach, its own scale then written over it. It stands the section's sizes' room right of the section.
    // The largest sheet's frame holds 360 of the section's height with its sizes and roughness signs
    // above and below it.
    // Where the section at the plan's scale stays as thick on paper as the sampled rings' at 1:2 (7.5), its
    // sizes find room there: both share the sheet's scale.
    constexpr double SectionRoom = MouldSheetRoom - 2.0 * 25.0, SectionThick = 7.5;
    const bool shared = Thickness * plan >= SectionThick - 1e-9;
    drMouldSheet(
        Md, det, Thickness, -Radius, shared ? plan : SectionScale(SectionRoom),
        [&](TModeler3D& m) {
          const double sheet = DrawnScale(m);
          const double own = std::min(1.0, plan / sheet);
          Section(*this, bore, 31, true);
          dr2D_V2(Thickness + (55.0 + (cone ? 25.0 : 0.0)) / sheet + Radius * own, 0, 0, own, det, 1, true);
        },
        cone ? 1 : 29, cone ? 29 : rounded, cone ? rounded : 0);
  }
}

void TLocatingRing::dr2D_V2(const Real& mx, const Real& my, const Real& ma, const Real& mm, int Det, int tl,
                            bool isSize) const
{
  const TColumnTail* tail = Tail();
  if (!tail || !M2.Ptr) return;
  TModeler3D& Md = M();
  const double r54 = Det == Id ? InRadius : 0.0, r52 = FixBoltRadius + 0.5, r81 = tail->Radius + 0.5;
  const bool pins = BaseThickness == 0.0;
  Md.drMtr(mx, my, ma, mm);
  // The sheet's millimetres in the part's, drawn at the placement's scale.
  const double k = DrawnScale(Md);
  // Drawn at a scale of its own, smaller than the sheet's, the view is titled with it, over its upper left
  // quarter: above the angles' values about the rim and the fixing circle's value, which rises 10 to 31 past
  // the rim left of its line at 80 degrees, and left of that value (tan 10 degrees < 0.18).
  if (isSize && mm < 1.0) {
    const TString title = TString("Вид А (1:") + TString(SaturatingToInt(std::round(1.0 / k))) + TString(")");
    const double right = 0.18 * (Radius + 30.0 / k) + 6.0 / k;
    Md.drText(-right - 0.6 * 5.0 * title.Length() / k, Radius + 24.0 / k, 0.0, 5.0 / k, 1.0, 75, title);
  }
  // Seen from the face x = 0: the shoulder standing on it, the bore; the far face's lead-in and the
  // counterbores are hidden behind the ring.
  Md.drCircle(0, 0, Radius, tl);
  Md.drCircle(0, 0, Radius - Sqrt3, 4);
  if (BaseRadius != Radius) Md.drCircle(0, 0, BaseRadius, tl);
  Md.drCircle(0, 0, r54, tl);
  Md.drCircle(0, 0, FixRadius, 3);
  Md.drLine(0, Radius + 2.0, 0, -2.0 - Radius, 3);
  Md.drLine(-2.0 - Radius, 0, Radius + 2.0, 0, 3);
  for (int i = 0; i < FixPositions(); ++i) {
    CircleAt(Md, FixRadius, FixAngle[i], FixBoltHeadRadius, 4);
    CircleAt(Md, FixRadius, FixAngle[i], r52, tl);
  }
  if (pins) {
    CircleAt(Md, FixRadius, PinAngle, PinRadius, tl);
    CircleAt(Md, FixRadius, PinAngle + 180.0, PinRadius, tl);
    Md.drLine(Cx(Radius + 2.0, PinAngle), Cy(Radius + 2.0, PinAngle), Cx(Radius + 2.0, PinAngle + 180.0),
              Cy(Radius + 2.0, PinAngle + 180.0), 3);
  }
  if (r54 == 0.0) {
    // The circles drawn as outlines, which the angles' rays start off.
    std::vector<std::array<double, 3>> circles{{0.0, 0.0, Radius}, {0.0, 0.0, BaseRadius}};
    for (int i = 0; i < FixPositions(); ++i)
      circles.push_back({Cx(FixRadius, FixAngle[i]), Cy(FixRadius, FixAngle[i]), r52});
    if (pins)
      for (const double p : {PinAngle, PinAngle + 180.0})
        circles.push_back({Cx(FixRadius, p), Cy(FixRadius, p), PinRadius});
    for (int h = 1; h <= 4; ++h)
      circles.push_back({Cx(tail->PlaceRadius, tail->Angle[h]), Cy(tail->PlaceRadius, tail->Angle[h]), r81});
    // The hole whose diameter is given: its leader leans TailLean back from the hole's angle, so an angle's
    // ray through the hole's centre passes its arrows' tips r81 sin(TailLean) off. Where that is under the
    // half millimetre of paper within which a line reads as through a tip (and a tenth for the sheet's
    // rounding), the ray starts past the hole instead.
    const int sized = pins ? SizedTailHole(*tail, FixRadius, PinAngle, PinRadius, 1.0 / k) : 1;
    const bool pastSized = r81 * k * std::sin(TailLean * Deg) < 0.5 + 0.1;
    for (int h = 1; h <= 4; ++h) {
      CircleAt(Md, tail->PlaceRadius, tail->Angle[h], r81, tl);
      if (isSize) {
        const double m = MaxDivisible(tail->Angle[h], 90.0);
        const double from = h == sized && pastSized ? tail->PlaceRadius + r81 + 0.5 / k : tail->PlaceRadius;
        Md.drDimApc(m - tail->Angle[h], m, Radius + 10.0 / k, RayStart(from, {m, tail->Angle[h]}, circles, 0.5 / k),
                    TString(), 0, 0);
      }
    }
    Md.drCircle(0, 0, tail->PlaceRadius, 3);
    if (isSize) {
      const int pt = SaturatingToInt(Radius - tail->PlaceRadius + 10.0 / k);
      Md.drDimD(2 * tail->PlaceRadius, TString(), 250.0, pt, -1, 0, 0, 1, TString("&02"), TString(),
                TString("&03~0,1"));
      // The hole's diameter leans back from its angle, away from the angle that starts there, and stands
      // just past the rim: its value's near end 2 beyond where the leader leaves the ring. It goes to a hole
      // whose leader passes the pins' holes.
      const double toRim = TailHoleToRim(tail->PlaceRadius, r81, Radius);
      const int rim = SaturatingToInt(toRim + (DiameterValueLength(2 * r81) / 2.0 + 2.0) / k);
      Md.drDimD(2 * r81, TString(), tail->Angle[sized] - TailLean, rim, 1,
                Cx(tail->PlaceRadius, tail->Angle[sized]), Cy(tail->PlaceRadius, tail->Angle[sized]), 1,
                TString("&02"), TString("H14"), TString());
    }
  }
  // The plan view goes on from the column tail's dimensions to the ring's own.
  if (isSize) {
    if (pins) {
      if (PinAngle != tail->Angle[1]) Md.drDimApc(-PinAngle, 0.0, Radius + 10.0 / k, FixRadius, TString(), 0, 0);
      // Its diameter straight down from the lower hole, its value 20 past the rim's distance from the fixing
      // circle, but within a leader's reach of the hole however narrow the hole.
      const double x = Cx(FixRadius, PinAngle + 180.0), y = Cy(FixRadius, PinAngle + 180.0);
      const double below = std::min(Radius - FixRadius + 20.0 / k, PinRadius + ValueReach / k);
      Md.drDimD(2 * PinRadius, TString(), -90.0, SaturatingToInt(below), -1, x, y, 2, TString("&02"),
                TString("H7"), TString());
      // The pin holes' sign stands on a leader to the lower hole, past the ring's rim: a hole seen end
      // on has no straight line of its own to carry it. The leader leans 15 degrees off the radius so
      // that it runs along none of the ring's circles, whose pieces the sign would take for its line.
      const double lean = PinAngle + 195.0, lc = Cx(1.0, lean), ls = Cy(1.0, lean);
      const double rim = 1.2 * (Radius - FixRadius) + PinRadius, reach = rim + 25.0 / k;
      Md.drShelf(txapi::txLeaderSignEnum(0), x + reach * lc, y + reach * ls, txapi::txLSLeft,
                 txapi::txArrowEnum(0), 5.0, 1.0, 75.0, TString(), 5.0, 1.0, 75.0, TString());
      Md.drPoint(x + PinRadius * lc, y + PinRadius * ls);
      Md.drEndObj();
      const double at = rim + 6.0 / k;
      Md.drRough(x + at * lc, y + at * ls, lean + 90.0, txapi::txNoProcessingType, TString("0,8"), TString(),
                 TString());
    }
    Md.drDimD(2 * FixRadius, TString(), 80.0, SaturatingToInt(Radius - FixRadius + 10.0 / k), 1, 0, 0, 1,
              TString("&02"), TString(), TString(pins ? "&03~0,01" : "&03~0,1"));
    // A bore too narrow for its value in the section: its diameter here, between the tail's hole and the
    // screw's below the axis on the right, where no angle stands, its value just past the rim.
    if (BoreOnPlan(r54))
      Md.drDimD(2 * r54, TString(), -20.0,
                SaturatingToInt(Radius - r54 + (DiameterValueLength(2 * r54) / 2.0 + 2.0) / k), 1, 0, 0, 1,
                TString("&02"), TString("H14"), TString());
  }
  Md.drDeleteMtr();
}

void TLocatingRing::dr2D_Vo(const Real& mx, const Real& my, const Real& ma, const Real& ms, int Det,
                            int nCont) const
{
  if (!M2.Ptr) return;
  const TColumnTail* tail = Tail();
  // Without a column tail the through holes are left out altogether.
  if (nCont == 2 && !tail) return;
  TModeler3D& Md = M();
  const double r54 = Det == Id ? InRadius : 0.0, r52 = FixBoltRadius + 0.5;
  Md.drMtr(mx, my, ma, ms);
  if (nCont == 1) {
    // The body of either part is the section its sheet shows, with that part's bore.
    Section(*this, r54, 0, false);
  } else if (nCont == 2) {
    for (int i = 0; i < FixPositions(); ++i)
      CircleAt(Md, FixRadius, FixAngle[i], r52, 1);
    if (BaseThickness == 0.0) {
      CircleAt(Md, FixRadius, PinAngle, PinRadius, 1);
      CircleAt(Md, FixRadius, PinAngle + 180.0, PinRadius, 1);
    }
    if (r54 == 0.0)
      for (int k = 1; k <= 4; ++k)
        CircleAt(Md, tail->PlaceRadius, tail->Angle[k], tail->Radius + 0.5, 1);
  } else if (nCont == 3) {
    for (int i = 0; i < FixPositions(); ++i)
      CircleAt(Md, FixRadius, FixAngle[i], FixBoltHeadRadius, 1);
  }
  Md.drDeleteMtr();
}

void TLocatingRing::dr3D(int) const
{
  if (!M2.Ptr) return;
  if (mould::RefuseSizes(RingName, Fault(*this, Tail()))) return;
  TModeler3D& Md = M();
  const auto holes = [this](TModeler3D& m, int det, double recessPlane) {
    // A cut of an empty sketch fails: a shouldered ring without screws has no holes in its bored part.
    const bool through =
        Tail() != nullptr && (FixPositions() > 0 || BaseThickness == 0.0 || det != Id || InRadius == 0.0);
    if (through) {
      m.drPlaneEskis(txapi::o3d_planeXOY, -Thickness, 0.0, TString());
      dr2D_Vo(0, 0, 0, 1.0, det, 2);
      m.drCutExtrusion(txapi::dtNormal, txapi::etBlind, Thickness, 0.0);
    }
    if (FixPositions() == 0) return;
    m.drPlaneEskis(txapi::o3d_planeXOY, recessPlane, 0.0, TString());
    dr2D_Vo(0, 0, 0, 1.0, det, 3);
    m.drCutExtrusion(txapi::dtNormal, txapi::etBlind, FixBoltHeadLen, 0.0);
  };
  drMouldModel(
      Md, Id, [&](TModeler3D&) { Section(*this, InRadius, 0, false); },
      [&](TModeler3D& m) { holes(m, Id, -Thickness); });
  drMouldModel(
      Md, Id2, [&](TModeler3D&) { dr2D_Vo(0, 0, 0, 1.0, Id2, 1); },
      [&](TModeler3D& m) { holes(m, Id2, -Thickness); });
}
