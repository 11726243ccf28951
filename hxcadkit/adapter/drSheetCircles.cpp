// The diameters and radii of a mould sheet: each leader turned, shifted or reversed to where its value, its
// shelf and its line cross nothing settled, with a roughness sign asked on it.

#include <algorithm>
#include <array>
#include <cmath>
#include <tuple>
#include <vector>

#include "hxcadkit/adapter/drModelerAPI.h"
#include "hxcadkit/adapter/drSheetMeasures.h"
#include "txapi/IRadialDimension.h"

namespace drApi {

using namespace sheet;

namespace {

// Whether the segment a runs across the circle about (X, Y) of radius R more than 0.2 mm from its ends;
// one through the centre sizes or aligns with it and does not count.
bool LineAcrossCircle(const std::array<double, 4>& a, double X, double Y, double R)
{
  const double ux = a[2] - a[0], uy = a[3] - a[1], la = Norm(ux, uy);
  if (!(la > 0.4)) return false;
  const double wx = X - a[0], wy = Y - a[1], along = (wx * ux + wy * uy) / la,
               off = std::fabs(wx * uy - wy * ux) / la;
  if (off < 0.05 || off >= R) return false;
  const double half = std::sqrt(R * R - off * off);
  for (const double t : {along - half, along + half})
    if (t > 0.2 && la - t > 0.2) return true;
  return false;
}

// Whether the segment a runs through the point (X, Y) more than 0.2 mm from its ends.
bool LineThroughCentre(const std::array<double, 4>& a, double X, double Y)
{
  const double ux = a[2] - a[0], uy = a[3] - a[1], la = Norm(ux, uy);
  if (!(la > 0.4)) return false;
  const double wx = X - a[0], wy = Y - a[1], along = (wx * ux + wy * uy) / la;
  return std::fabs(wx * uy - wy * ux) / la < 0.05 && along > 0.2 && la - along > 0.2;
}

// Whether the segment a runs across the piece b of a line drawn in chords (an angle's arc), more than
// 0.2 mm from a's ends: a line through the joint of two chords crosses the arc there.
bool LineAcrossPiece(const std::array<double, 4>& a, const std::array<double, 4>& b)
{
  // Where they cross, the point lies on both; run along each other, they lie within 0.05: segments whose
  // boxes lie farther apart do neither.
  if (BoxesApart(a, b, 0.1)) return false;
  const double ux = a[2] - a[0], uy = a[3] - a[1], vx = b[2] - b[0], vy = b[3] - b[1];
  const double la = Norm(ux, uy), lb = Norm(vx, vy), wx = b[0] - a[0], wy = b[1] - a[1];
  const double den = ux * vy - uy * vx;
  if (!(la > 0.4) || !(lb > 0) || std::fabs(den) < 1e-9 * la * lb) return LinesCross(a, b);
  const double t = (wx * vy - wy * vx) / den * la, s = (wx * uy - wy * ux) / den;
  return t > 0.2 && la - t > 0.2 && s >= 0 && s <= 1;
}

// How many outlines of segments the stretch a crosses more than 0.3 mm from its start, leaving out the
// chords of circles about (X, Y): a leader runs on across its own arc into a hollow. near(a, f) calls f with
// each outline near a whose box meets a's.
template <class TNear>
int OutlinesCrossed(const std::vector<std::array<double, 4>>& segments, const TNear& near,
                    const std::array<double, 4>& a, double X, double Y)
{
  const double ux = a[2] - a[0], uy = a[3] - a[1], la = Norm(ux, uy);
  if (!(la > 0.3)) return 0;
  const double x1 = std::min(a[0], a[2]), x2 = std::max(a[0], a[2]), y1 = std::min(a[1], a[3]),
               y2 = std::max(a[1], a[3]);
  int n = 0;
  near(a, [&](std::size_t i) {
    const auto& g = segments[i];
    if (std::max(g[0], g[2]) < x1 || std::min(g[0], g[2]) > x2 || std::max(g[1], g[3]) < y1 ||
        std::min(g[1], g[3]) > y2)
      return false;
    // One wholly more than a micrometre to one side of the stretch's line crosses it nowhere.
    const double c0 = ux * (g[1] - a[1]) - uy * (g[0] - a[0]), c1 = ux * (g[3] - a[1]) - uy * (g[2] - a[0]);
    if ((c0 > 1e-6 * la && c1 > 1e-6 * la) || (c0 < -1e-6 * la && c1 < -1e-6 * la)) return false;
    const double vx = g[2] - g[0], vy = g[3] - g[1], den = ux * vy - uy * vx;
    if (std::fabs(den) < 1e-12) return false;
    const double wx = g[0] - a[0], wy = g[1] - a[1], t = (wx * vy - wy * vx) / den,
                 s = (wx * uy - wy * ux) / den;
    if (!(t >= 0 && t <= 1 && s >= 0 && s <= 1 && t * la > 0.3)) return false;
    // Nor a chord of a circle about (X, Y): its ends as far from it, its middle sagging by a chord's 2.5
    // degrees at most.
    const double d1 = Norm(g[0] - X, g[1] - Y), d2 = Norm(g[2] - X, g[3] - Y),
                 dm = Norm((g[0] + g[2]) / 2 - X, (g[1] + g[3]) / 2 - Y);
    if (!(std::fabs(d1 - d2) < 0.05 && d1 - dm < 0.001 * d1 + 0.01)) ++n;
    return false;
  });
  return n;
}

} // namespace

// One diameter or radius after another over the sheet as it stands: the angles, shifts and ways round its
// leader is tried at, and the best place of each kind found.
class TSheetLayout::TLeaderSearch
{
public:
  TLeaderSearch(TSheetLayout& layout, const std::vector<std::array<double, 4>>& angleLines,
                const std::vector<std::array<double, 4>>& chords);
  // The leader of c turned to its place, its value, its line and its sign's place occupying the sheet.
  void Place(const TCircleDimension& c);

private:
  // Its leader with the arrow at a degrees in its container: from (X1, Y1) through the circle at (X2, Y2)
  // along u (the value on the side n as it is read) to its shelf's end, shelf past the circle.
  struct TAt
  {
    double X1, Y1, X2, Y2, Ux, Uy, Nx, Ny, Angle, Middle, Shelf;
  };
  // Its leader's line with the arrow at a degrees, reversed or not, to the circle (its value and shelf not
  // out yet): what every shift of it shares, the turns of its value and its line worked out once for them.
  struct TTurn
  {
    TAt G;
    double Stretch;     // the container's scale along the line to the arrow
    double Vc, Vs;      // the cosine and sine of its value's angle (G.Angle)
    double Lc, Ls;      // of its line's own angle
  };
  struct TChoice
  {
    double Angle = NAN, Shift = 0;
    bool Reversed = false;
    TQuad Value;
    bool Short = false, Signed = false;
    TQuad Sign;
  };

  bool LineClear(const std::array<double, 4>& line, double cx, double cy, bool outside) const;
  void Start(const TCircleDimension& c);
  bool OnArc(double a) const;
  TTurn Turn(double a, bool reversed) const;
  // The leader of t, its value shift past the circle, its line stopped short of the centre or not.
  TAt Leader(const TTurn& t, double shift, bool stopped) const;
  TAt Leader(double a, double shift, bool reversed, bool stopped = false) const
  {
    return Leader(Turn(a, reversed), shift, stopped);
  }
  // The lines and points of the sheet a leader of the dimension placed may meet, its value shifted at most
  // shift past the circle: those about its centre as far as such a leader reaches.
  void Near(double shift);
  bool Shortens(const TAt& g) const;
  std::vector<double> Turns() const;
  bool ComesFromOutside() const;
  void Try(const TTurn& t, double a, double shift, bool reversed);
  // The place chosen, else the best kind of place found without its line or sign clear.
  TChoice Fallback() const;
  // Whether the sign asked on the leader stands clear of lines and axes (as released) where it settles on
  // the fallback's leader.
  bool FallbackSignClear() const;
  void Record();

  TSheetLayout& L;
  const std::vector<std::array<double, 4>>& AngleLines;
  const std::vector<std::array<double, 4>>& Chords;
  std::vector<TArc> Holes;
  std::vector<std::array<double, 2>> Tips;

  // The dimension being placed: its arcs drawn and how much of its circle they cover, how its container
  // scales on the sheet, its value's length, its sign asked on its leader, whether a diameter comes to its
  // circle from outside; and the places found.
  const TCircleDimension* C = nullptr;
  std::vector<TArc> OnCircle;
  double Scale = 1, Drawn = 0, Len = 0;
  std::vector<TSign>::const_iterator Sign;
  bool Outside = false;
  // Of the lines and points its leader keeps off, those it may meet (see Near): the angles' arrows' tips,
  // the axes, the holes, the leaders settled before it, the angles' rays and arcs, their arcs' chords, and
  // the linear dimensions' extension lines and lines.
  std::vector<std::array<double, 2>> NearTips;
  std::vector<std::array<double, 4>> NearAxes, NearCircleLines, NearAngleLines, NearChords, NearSizes;
  std::vector<TArc> NearHoles;
  TChoice Chosen, Any, FreeAt, ThroughPart, Uncrossed;
};

TSheetLayout::TLeaderSearch::TLeaderSearch(TSheetLayout& layout,
                                           const std::vector<std::array<double, 4>>& angleLines,
                                           const std::vector<std::array<double, 4>>& chords)
    : L(layout), AngleLines(angleLines), Chords(chords)
{
  // The holes: whole circles in a main line inside a larger one off their centre. A leader keeps off
  // every hole it does not size, and off the lines of the dimensions, angles and leaders settled before
  // it: two diameters of one centre would cross there.
  for (const TArc& h : L.Arcs)
    if (h.Outline && std::fabs(h.Sweep) > 359 &&
        std::any_of(L.Arcs.begin(), L.Arcs.end(), [&h](const TArc& o) {
          const double d = Norm(o.X - h.X, o.Y - h.Y);
          return o.Outline && std::fabs(o.Sweep) > 359 && d > 0.05 && d + h.R < o.R;
        }))
      Holes.push_back(h);
  // The angles' arrows' tips: the ends of their arcs, where a chord meets no other. A radius's or a
  // diameter's line through one reads as the arrow's.
  for (const auto& piece : Chords)
    for (const std::array<double, 2> end : {std::array<double, 2>{piece[0], piece[1]}, {piece[2], piece[3]}})
      if (std::count_if(Chords.begin(), Chords.end(), [&end](const std::array<double, 4>& o) {
            return Norm(o[0] - end[0], o[1] - end[1]) < 1e-6 ||
                   Norm(o[2] - end[0], o[3] - end[1]) < 1e-6;
          }) == 1)
        Tips.push_back(end);
}

// A line through a hole's centre sizes or aligns with the hole; a diameter coming from outside to
// another circle only runs through it.
bool TSheetLayout::TLeaderSearch::LineClear(const std::array<double, 4>& line, double cx, double cy,
                                            bool outside) const
{
  const auto across = [&line](const std::array<double, 4>& o) { return LinesCross(line, o); };
  const auto throughTip = [&line](const std::array<double, 2>& t) {
    return OffSegment(t[0], t[1], line) < 0.3;
  };
  // Nor along an axis, which it would read as.
  const auto alongAxis = [&line](const std::array<double, 4>& a) {
    const double ux = line[2] - line[0], uy = line[3] - line[1], vx = a[2] - a[0], vy = a[3] - a[1];
    return std::fabs(ux * vy - uy * vx) < 1e-3 * Norm(ux, uy) * Norm(vx, vy) &&
           LinesCross(line, a);
  };
  return std::none_of(NearTips.begin(), NearTips.end(), throughTip) &&
         std::none_of(NearAxes.begin(), NearAxes.end(), alongAxis) &&
         std::none_of(NearHoles.begin(), NearHoles.end(),
                      [&](const TArc& h) {
                        return Norm(h.X - cx, h.Y - cy) > 0.05 &&
                               (LineAcrossCircle(line, h.X, h.Y, h.R) ||
                                (outside && LineThroughCentre(line, h.X, h.Y)));
                      }) &&
         std::none_of(NearCircleLines.begin(), NearCircleLines.end(), across) &&
         std::none_of(NearAngleLines.begin(), NearAngleLines.end(), across) &&
         std::none_of(NearChords.begin(), NearChords.end(),
                      [&line](const std::array<double, 4>& o) { return LineAcrossPiece(line, o); }) &&
         std::none_of(NearSizes.begin(), NearSizes.end(), across);
}

void TSheetLayout::TLeaderSearch::Near(double shift)
{
  // A leader runs from its centre, from its circle's far side or from as far beyond its arrow, to its shelf's
  // end: within twice the circle's radius on the sheet, the stretch a stopped line keeps and its longest
  // shelf of its centre. Whatever lies farther than half a millimetre beyond that, none of the measures
  // below finds it meets the leader (nor where a number is not one: nothing is left out then).
  const TCircleDimension& c = *C;
  const double stretch = Norm(c.ExX, c.ExY) + Norm(c.EyX, c.EyY), r = c.R * stretch,
               shelf = std::max(12.0, std::max(6.0, shift * stretch) + Len / 2 + 1),
               reach = 2 * r + txapi::txRadiusLineShort + shelf + 1.5;
  const double x1 = c.CX - reach, x2 = c.CX + reach, y1 = c.CY - reach, y2 = c.CY + reach;
  const auto apart = [&](double ox1, double oy1, double ox2, double oy2) {
    return ox2 < x1 || ox1 > x2 || oy2 < y1 || oy1 > y2;
  };
  const auto keep = [&](const std::vector<std::array<double, 4>>& all, std::vector<std::array<double, 4>>& near) {
    near.clear();
    for (const auto& o : all)
      if (!apart(std::min(o[0], o[2]), std::min(o[1], o[3]), std::max(o[0], o[2]), std::max(o[1], o[3])))
        near.push_back(o);
  };
  NearTips.clear(), NearHoles.clear();
  for (const auto& t : Tips)
    if (!apart(t[0], t[1], t[0], t[1])) NearTips.push_back(t);
  for (const TArc& h : Holes)
    if (!apart(h.X - h.R, h.Y - h.R, h.X + h.R, h.Y + h.R)) NearHoles.push_back(h);
  keep(L.Axes, NearAxes), keep(L.CircleLines, NearCircleLines), keep(AngleLines, NearAngleLines);
  keep(Chords, NearChords), keep(L.Extensions, NearSizes);
  std::vector<std::array<double, 4>> settled;
  for (const TSettled& p : L.Settled)
    settled.push_back({p.X1, p.Y1, p.X2, p.Y2});
  std::vector<std::array<double, 4>> lines;
  keep(settled, lines);
  NearSizes.insert(NearSizes.end(), lines.begin(), lines.end());
}

void TSheetLayout::TLeaderSearch::Start(const TCircleDimension& c)
{
  C = &c;
  Scale = Norm(c.ExX, c.ExY);
  OnCircle.clear();
  for (const TArc& a : L.Arcs)
    if (Norm(a.X - c.CX, a.Y - c.CY) < 0.01 && std::fabs(a.R - c.R * Scale) < 0.01)
      OnCircle.push_back(a);
  // How much of the circle its arcs cover, each degree once: a section's outline and its hatching's
  // boundary draw the same arcs, which make no whole circle of a seat's dish.
  std::array<bool, 360> covered{};
  for (const TArc& g : OnCircle) {
    const double from = std::min(g.From, g.From + g.Sweep), sweep = std::fabs(g.Sweep);
    for (int k = 0; k < 360 && k < sweep; ++k)
      covered[std::size_t(((int(std::floor(from)) + k) % 360 + 360) % 360)] = true;
  }
  Drawn = double(std::count(covered.begin(), covered.end(), true));
  Len = ValueLength(c.Chars);
  Sign = c.Asked ? std::find_if(L.Signs.cbegin(), L.Signs.cend(),
                                [&c](const TSign& s) { return AskedOn(s, c.CX, c.CY, c.AskedAngle); })
                 : L.Signs.cend();
  Outside = ComesFromOutside();
  Chosen = Any = FreeAt = ThroughPart = Uncrossed = TChoice{};
}

// Whether the point at a degrees in its container lies on an arc drawn, a degree inside its ends.
bool TSheetLayout::TLeaderSearch::OnArc(double a) const
{
  const TCircleDimension& c = *C;
  const double dx = c.ExX * std::cos(a * Deg) + c.EyX * std::sin(a * Deg),
               dy = c.ExY * std::cos(a * Deg) + c.EyY * std::sin(a * Deg), at = std::atan2(dy, dx) / Deg;
  return std::any_of(OnCircle.begin(), OnCircle.end(), [at](const TArc& g) {
    const double half = std::fabs(g.Sweep) / 2;
    return std::fabs(std::remainder(at - g.From - g.Sweep / 2, 360.0)) <= half - std::min(1.0, half / 4);
  });
}

TSheetLayout::TLeaderSearch::TTurn TSheetLayout::TLeaderSearch::Turn(double a, bool reversed) const
{
  const TCircleDimension& c = *C;
  TTurn t;
  TAt& g = t.G;
  const double ca = std::cos(a * Deg), sa = std::sin(a * Deg), dx = c.R * ca, dy = c.R * sa;
  g.X2 = c.CX + c.ExX * dx + c.EyX * dy, g.Y2 = c.CY + c.ExY * dx + c.EyY * dy;
  g.X1 = c.Diameter ? 2 * c.CX - g.X2 : c.CX, g.Y1 = c.Diameter ? 2 * c.CY - g.Y2 : c.CY;
  // A diameter from outside starts on its circle and runs out from the centre; a radius reversed
  // comes from beyond its arc towards the centre.
  if (reversed && c.Diameter)
    g.X1 = c.CX, g.Y1 = c.CY;
  else if (reversed)
    g.X1 = 2 * g.X2 - c.CX, g.Y1 = 2 * g.Y2 - c.CY;
  const double R = Norm(g.X2 - g.X1, g.Y2 - g.Y1);
  g.Ux = R > 0 ? (g.X2 - g.X1) / R : 1, g.Uy = R > 0 ? (g.Y2 - g.Y1) / R : 0;
  if (reversed && c.Diameter) g.X1 = g.X2, g.Y1 = g.Y2;
  // The value above the shelf as it is read.
  const double line = std::atan2(g.Uy, g.Ux) / Deg;
  g.Angle = line, g.Nx = -g.Uy, g.Ny = g.Ux;
  if (g.Angle > 90.001 || g.Angle < -89.999) g.Angle += 180, g.Nx = g.Uy, g.Ny = -g.Ux;
  t.Stretch = Norm(c.ExX * ca + c.EyX * sa, c.ExY * ca + c.EyY * sa);
  t.Vc = std::cos(g.Angle * Deg), t.Vs = std::sin(g.Angle * Deg);
  t.Lc = std::cos(line * Deg), t.Ls = std::sin(line * Deg);
  return t;
}

TSheetLayout::TLeaderSearch::TAt TSheetLayout::TLeaderSearch::Leader(const TTurn& t, double shift,
                                                                     bool stopped) const
{
  TAt g = t.G;
  if (stopped) g.X1 = g.X2 - g.Ux * txapi::txRadiusLineShort, g.Y1 = g.Y2 - g.Uy * txapi::txRadiusLineShort;
  // The host's shelf runs on past the circle, the value's middle 6 past it or as far as its shift asks.
  g.Middle = std::max(6.0, shift * t.Stretch);
  g.Shelf = std::max(12.0, g.Middle + Len / 2 + 1);
  return g;
}

// Whether its line may stop short of where it starts: a radius's longer than the stretch it keeps, whether it
// runs from the centre or, reversed, from as far beyond its arc (a large seat's radius would carry that run-on
// across what stands about the seat's rim).
bool TSheetLayout::TLeaderSearch::Shortens(const TAt& g) const
{
  const TCircleDimension& c = *C;
  return c.Shorten && !c.Diameter && Norm(g.X2 - g.X1, g.Y2 - g.Y1) > txapi::txRadiusLineShort;
}

// The angles to try, nearest first: 5 degrees apart from 45 about a whole circle; on arcs, each degree
// from the one asked.
std::vector<double> TSheetLayout::TLeaderSearch::Turns() const
{
  const TCircleDimension& c = *C;
  std::vector<double> turns;
  if (OnCircle.empty() || Drawn > 359) {
    const double from = c.Asked ? c.AskedIn : 45;
    for (int k = 0; k < 72; ++k)
      turns.push_back(from + 5.0 * ((k + 1) / 2) * (k % 2 == 0 ? -1 : 1));
  } else {
    const double from = c.Asked ? c.AskedIn : 45;
    for (int k = 0; k < 360; ++k) {
      const double a = from + double((k + 1) / 2) * (k % 2 == 0 ? -1 : 1);
      if (OnArc(a) && (!c.Diameter || OnArc(a + 180))) turns.push_back(a);
    }
  }
  return turns;
}

// Two lines through one centre cross there whatever their angles: of concentric whole circles' diameters
// the largest runs through the centre, and a smaller one, or one whose centre a line settled before
// already runs through, comes to its circle from outside.
bool TSheetLayout::TLeaderSearch::ComesFromOutside() const
{
  const TCircleDimension& c = *C;
  return c.Diameter && (OnCircle.empty() || Drawn > 359) &&
         (std::any_of(L.Circles.begin(), L.Circles.end(),
                      [&c](const TCircleDimension& o) {
                        return o.Diameter && o.R > c.R && Norm(o.CX - c.CX, o.CY - c.CY) < 0.05;
                      }) ||
          std::any_of(L.CircleLines.begin(), L.CircleLines.end(),
                      [&c](const std::array<double, 4>& l) { return OffSegment(c.CX, c.CY, l) < 0.05; }));
}

// The leader at a degrees, its value shift past the circle, reversed or not: kept as the place of the
// first kind it is of.
void TSheetLayout::TLeaderSearch::Try(const TTurn& t, double a, double shift, bool reversed)
{
  const TCircleDimension& c = *C;
  const double len = Len;
  const TAt g = Leader(t, shift, false);
  const TQuad q = Turned(g.X2 + g.Ux * g.Middle + g.Nx, g.Y2 + g.Uy * g.Middle + g.Ny, t.Vc, t.Vs, -len / 2, 0,
                         len / 2, ValueHeight);
  const TChoice here{a, shift, reversed, q, false, false, {}};
  // Best where its line crosses nothing either; a radius's line may stop short of its centre for it.
  // Best too where a radius's line, past its arrow, crosses no outline: it carries a rounding's value
  // off the part, a hollow's into the hollow; failing that, the first place whose line crosses
  // nothing but the part.
  // Nor across a value settled before it (a rounding's beside the seat its radius runs from).
  const auto clear = [&](const TAt& at) {
    const std::array<double, 4> l{at.X1, at.Y1, at.X2 + at.Ux * at.Shelf, at.Y2 + at.Uy * at.Shelf};
    const double lx[2] = {l[0], l[2]}, ly[2] = {l[1], l[3]};
    return LineClear(l, c.CX, c.CY, Outside) &&
           !L.Boxes.Any({std::min(l[0], l[2]), std::min(l[1], l[3]), std::max(l[0], l[2]), std::max(l[1], l[3])},
                        [&](std::size_t i) { return Overlap(L.Boxes[i].X, L.Boxes[i].Y, 4, lx, ly, 2); });
  };
  const TAt stub = Leader(t, shift, true);
  bool whole = false, shortened = false, offPart = true;
  const auto near = [this](const std::array<double, 4>& a, const auto& f) {
    L.OutlineBands().AnyAlong(a, 0, L.Segments.size(), f);
  };
  const auto lineClear = [&] {
    whole = clear(g);
    shortened = !whole && Shortens(g) && clear(stub);
    // Asked only of a line that counts: one crossing something is kept for its value alone.
    offPart = c.Diameter || !(whole || shortened) ||
              OutlinesCrossed(L.Segments, near, {g.X2, g.Y2, g.X2 + g.Ux * g.Shelf, g.Y2 + g.Uy * g.Shelf}, c.CX,
                              c.CY) == 0;
  };
  const auto keeps = [&] { return (whole || shortened) && (offPart || std::isnan(ThroughPart.Angle)); };
  // A place whose line crosses something, after the first such, is neither chosen nor kept, nor its sign's
  // place looked for: once one is kept, its line is asked first (the places free of values are found by
  // then).
  const bool kept = !std::isnan(Uncrossed.Angle);
  if (kept) {
    lineClear();
    if (!keeps()) return;
  }
  // Inside a view (a plan's inner circle) when nothing outside it is free, off its outlines still.
  // Once one is found, only a place free outside views can count, and it is free there too.
  if (std::isnan(Any.Angle)) {
    if (!L.Free(q, true)) return;
    Any = here;
  }
  if (!L.Free(q)) return;
  // Its shelf inside the frame as well as its value: past the value it runs on a millimetre.
  const TQuad line = Turned(g.X2, g.Y2, t.Lc, t.Ls, 0, -0.3, g.Shelf, 0.3);
  if (L.Taken(line) || !L.InFrame(g.X2 + g.Ux * g.Shelf, g.Y2 + g.Uy * g.Shelf, 0)) return;
  if (std::isnan(FreeAt.Angle)) FreeAt = here;
  // Nor across a leader settled before it.
  if (L.Crossed(q) ||
      std::any_of(L.CircleLines.begin(), L.CircleLines.end(), [&q](const std::array<double, 4>& o) {
        const double ox[2] = {o[0], o[2]}, oy[2] = {o[1], o[3]};
        return Overlap(q.X, q.Y, 4, ox, oy, 2);
      }))
    return;
  if (!kept) lineClear();
  TChoice best = here;
  best.Short = shortened;
  const bool lines = whole || shortened;
  const TAt& drawn = best.Short ? stub : g;
  // A sign asked on its leader goes with it: where there is room for it too.
  if (Sign != L.Signs.cend()) {
    const double r = Norm(drawn.X2 - drawn.X1, drawn.Y2 - drawn.Y1);
    const TLeader l{c.CX,     c.CY,     c.AskedAngle, drawn.X1, drawn.Y1,        drawn.Ux,
                    drawn.Uy, drawn.Nx, drawn.Ny,     r,        r + drawn.Shelf, q};
    double X, Y, turn;
    if (!L.SignOnLeader(*Sign, l, &q, X, Y, turn)) return;
    TSign t = *Sign;
    t.SAngle = turn;
    best.Sign = L.Footprint(t, X, Y), best.Signed = true;
  }
  if (lines && offPart)
    Chosen = best;
  else if (lines && std::isnan(ThroughPart.Angle))
    ThroughPart = best;
  else if (!lines && std::isnan(Uncrossed.Angle))
    Uncrossed = here;
}

// The place chosen: the host told, the leader's line and its value, and its sign's place, occupying the
// sheet.
void TSheetLayout::TLeaderSearch::Record()
{
  const TCircleDimension& c = *C;
  const TAt g = Leader(Chosen.Angle, Chosen.Shift, Chosen.Reversed, Chosen.Short);
  L.CircleLines.push_back({g.X1, g.Y1, g.X2 + g.Ux * g.Shelf, g.Y2 + g.Uy * g.Shelf});
  if (c.Asked) {
    const double r = Norm(g.X2 - g.X1, g.Y2 - g.Y1);
    // Its sign's place kept from what settles after it.
    L.Leaders.push_back({c.CX, c.CY, c.AskedAngle, g.X1, g.Y1, g.Ux, g.Uy, g.Nx, g.Ny, r, r + g.Shelf,
                         Chosen.Value, Chosen.Signed ? L.Boxes.size() : std::size_t(-1)});
    if (Chosen.Signed) L.Boxes.push_back(Chosen.Sign);
  }
  if (Chosen.Short) c.Shorten();
  if (Chosen.Angle != 45 || Chosen.Shift != c.Shift || Chosen.Reversed)
    c.Turn(Chosen.Angle, Chosen.Shift, Chosen.Reversed);
  L.Boxes.push_back(Chosen.Value);
}

TSheetLayout::TLeaderSearch::TChoice TSheetLayout::TLeaderSearch::Fallback() const
{
  for (const TChoice* choice : {&Chosen, &ThroughPart, &Uncrossed, &FreeAt})
    if (!std::isnan(choice->Angle)) return *choice;
  return Any;
}

bool TSheetLayout::TLeaderSearch::FallbackSignClear() const
{
  const TChoice f = Fallback();
  if (Sign == L.Signs.cend() || std::isnan(f.Angle)) return true;
  // Where the sign settles on that leader: the first free place along it, else its shelf's end.
  const TAt g = Leader(f.Angle, f.Shift, f.Reversed, f.Short);
  const double r = Norm(g.X2 - g.X1, g.Y2 - g.Y1);
  const TLeader l{C->CX, C->CY, C->AskedAngle, g.X1, g.Y1, g.Ux, g.Uy, g.Nx, g.Ny, r, r + g.Shelf, f.Value};
  double X, Y, turn;
  L.SignOnLeader(*Sign, l, &f.Value, X, Y, turn);
  TSign t = *Sign;
  t.SAngle = turn;
  return L.StrokesClear(t, X, Y, true) && L.StrokesOffAxes(t, X, Y);
}

void TSheetLayout::TLeaderSearch::Place(const TCircleDimension& c)
{
  Start(c);
  const std::vector<double> turns = Turns();
  // The shifts to try, 2 mm apart on the sheet, for a radius on its arcs; any other value goes out that way
  // only while it has found no free place at any angle nearer (a value longer than the room the drawing
  // left it past its circle). Out as far as a value may stand from its arrow, at least 30 of them: a leader
  // through a seat's open side carries its value and its sign past the seat's far rim.
  const double scale = Scale > 0 ? Scale : 1, step = std::max(1.0, std::round(2 / scale));
  const double farthest = (c.R * scale + LeaderReach + Len / 2) / scale;
  constexpr int Least = 30;
  const int shifts = std::max(Least, int(std::ceil((farthest - c.Shift) / step)) + 1),
            asked = OnCircle.empty() || c.Diameter ? 1 : shifts;
  Near(c.Shift + step * (shifts - 1));
  // A radius on its arcs: from beyond its arc first, which puts a hollow's value on its open side.
  const int ways = OnCircle.empty() || c.Diameter ? 1 : 2;
  // Each turn's line worked out at its first shift, for the rest.
  std::vector<TTurn> lines(turns.size() * std::size_t(ways));
  std::vector<bool> made(lines.size());
  // A sign asked on its leader that would stand crossed or on an axis wherever the leader falls back to
  // sends the value, and the shelf with it, further out as well.
  bool further = false, kept = false;
  std::tuple<TChoice, TChoice, TChoice, TChoice> nearer;
  for (int m = 0; m < shifts && std::isnan(Chosen.Angle) && (m < asked || further || std::isnan(Any.Angle));
       ++m) {
    for (std::size_t k = 0; k < turns.size() && std::isnan(Chosen.Angle); ++k)
      for (int way = 0; way < ways && std::isnan(Chosen.Angle); ++way) {
        const bool reversed = Outside || (way == 0 && ways == 2);
        const std::size_t at = k * std::size_t(ways) + std::size_t(way);
        if (!made[at]) lines[at] = Turn(turns[k], reversed), made[at] = true;
        Try(lines[at], turns[k], c.Shift + step * m, reversed);
      }
    // Asked once, where the search would stop without a place chosen.
    if (m + 1 >= asked && !further && std::isnan(Chosen.Angle) && !std::isnan(Any.Angle))
      further = !FallbackSignClear();
    if (m + 1 == Least) nearer = {ThroughPart, Uncrossed, FreeAt, Any}, kept = true;
  }
  // Past the first shifts only a clean place counts: a value carried that far out with its line across
  // something reads worse than one nearer.
  if (std::isnan(Chosen.Angle) && kept) std::tie(ThroughPart, Uncrossed, FreeAt, Any) = nearer;
  Chosen = Fallback();
  if (std::isnan(Chosen.Angle)) return;
  Record();
}

void TSheetLayout::PlaceCircles(const std::vector<std::array<double, 4>>& angleLines,
                                const std::vector<std::array<double, 4>>& chords)
{
  // A diameter's or radius's leader turns from the angle asked for (45 degrees), by 5 degrees either way,
  // to where its value and its shelf are free, best where no line crosses its value either. One whose
  // circle is drawn in arcs turns only where its arrows land on them, degree by degree from the angle the
  // drawing asked for; a radius's leader may then come from beyond its arc through it towards the centre
  // (its value on the centre's side), and its value goes further out where it is nowhere free.
  TLeaderSearch search(*this, angleLines, chords);
  for (const TCircleDimension& c : Circles)
    search.Place(c);
  Circles.clear();
}

} // namespace drApi
