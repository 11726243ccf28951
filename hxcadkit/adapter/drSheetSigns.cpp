// The roughness signs of a mould sheet: each where it is asked, on its leader or the nearest free place on
// what it stands on, and settled again where a line crosses its strokes.

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <initializer_list>
#include <optional>
#include <utility>
#include <vector>

#include "hxcadkit/adapter/drModelerAPI.h"
#include "hxcadkit/adapter/drSheetMeasures.h"
#include "txapi/IRoughParams.h"

namespace drApi {

using namespace sheet;

namespace {

// The box q (corners in order round it) grown by d along both its edges' directions.
TQuad Grown(const TQuad& q, double d)
{
  TQuad g = q;
  for (int k = 0; k < 4; ++k)
    for (const int o : {(k + 1) % 4, (k + 3) % 4}) {
      const double ex = q.X[k] - q.X[o], ey = q.Y[k] - q.Y[o], l = Norm(ex, ey);
      if (l > 0) g.X[k] += d * ex / l, g.Y[k] += d * ey / l;
    }
  return g;
}

// Stretches along one line, sorted and joined where one reaches the next (within 0.05): the separate
// surfaces that line runs along.
std::vector<std::pair<double, double>> JoinedStretches(std::vector<std::pair<double, double>> r)
{
  std::sort(r.begin(), r.end());
  std::vector<std::pair<double, double>> joined{r.front()};
  for (const auto& s : r)
    if (s.first <= joined.back().second + 0.05)
      joined.back().second = std::max(joined.back().second, s.second);
    else
      joined.push_back(s);
  return joined;
}

// What is drawn along a sign's line (from its tip asked at (SX, SY), along (c, n)) as stretches of it:
// everything drawn, the ends of the straight lines there, the outline's stretches joined, and its face.
struct TLineStretches
{
  std::vector<std::pair<double, double>> Drawn, Joined, Faces;
  std::vector<double> Ends;
  // Whether the stretch r of outline is another surface than the sign's face.
  bool Other(const std::pair<double, double>& r) const
  {
    return std::find(Faces.begin(), Faces.end(), r) == Faces.end();
  }
};

std::optional<TLineStretches> LineStretches(const std::vector<std::array<double, 4>>& segments,
                                            const std::vector<std::array<double, 4>>& extensions,
                                            const std::vector<std::array<double, 4>>& axes, double SX,
                                            double SY, double c, double n)
{
  // One of the stretches is its surface. A line drawn to carry it goes on from the end of a straight one,
  // not from a chord of a rounding that leaves the line there.
  TLineStretches l;
  std::vector<std::pair<double, double>> outlines;
  for (const auto* lines : {&segments, &extensions})
    for (const auto& g : *lines) {
      const double a0 = (g[0] - SX) * c + (g[1] - SY) * n, a1 = (g[2] - SX) * c + (g[3] - SY) * n;
      const double b0 = -(g[0] - SX) * n + (g[1] - SY) * c, b1 = -(g[2] - SX) * n + (g[3] - SY) * c;
      if (std::fabs(b0) > 0.05 || std::fabs(b1) > 0.05) continue;
      l.Drawn.emplace_back(std::min(a0, a1), std::max(a0, a1));
      if (std::fabs(b0) < 0.005 && std::fabs(b1) < 0.005) l.Ends.insert(l.Ends.end(), {a0, a1});
      if (lines == &segments) outlines.push_back(l.Drawn.back());
    }
  if (outlines.empty()) return std::nullopt;
  // Its surface: the stretch of outline nearest its ask, joined where the outline goes on; the line's other
  // stretches of outline are other surfaces, which it never stands on or beyond.
  l.Joined = JoinedStretches(outlines);
  const auto off = [](const std::pair<double, double>& r) { return std::max({r.first, -r.second, 0.0}); };
  const std::pair<double, double> own = *std::min_element(
      l.Joined.begin(), l.Joined.end(), [&off](const auto& a, const auto& b) { return off(a) < off(b); });
  // Whether an axis crosses the line between a and b (from the tip asked).
  const auto axisBetween = [&](double a, double b) {
    return std::any_of(axes.begin(), axes.end(), [&](const std::array<double, 4>& g) {
      const double ux = g[2] - g[0], uy = g[3] - g[1], den = c * uy - n * ux;
      if (std::fabs(den) < 1e-9) return false;
      const double wx = g[0] - SX, wy = g[1] - SY;
      const double t = (wx * uy - wy * ux) / den, k = (wx * n - wy * c) / den;
      return t > a && t < b && k >= 0 && k <= 1;
    });
  };
  // Its face: its own stretch and those past an axis from it (the other half of a face of revolution, the
  // face on past a hole), which carry it as its own does; every other stretch is another surface.
  for (const auto& r : l.Joined)
    if (r == own ||
        axisBetween(r.first > own.second ? own.second : r.second, r.first > own.second ? r.first : own.first))
      l.Faces.push_back(r);
  return l;
}

// What a sign (its tip asked at (SX, SY), its base along (c, n)) stands on: the outlines, extension lines
// and texts' leaders through its tip along its base, as far as they go (Carriers, from the tip), on the
// line within a millimetre of its tip (Snap across it); it slides along them and never leaves them. Its
// tip stands within a quarter millimetre of those that run along its base (Along, within 2 degrees): a
// rounding's last chord meeting the line is not one.
struct TFooting
{
  using TStretch = std::pair<double, double>;
  double Snap = 0;
  std::vector<TStretch> Carriers, Along;
  bool OnOutline = false; // on an outline drawn through the tip
  bool OnCarrier(double t) const
  {
    return std::any_of(Carriers.begin(), Carriers.end(),
                       [t](const TStretch& r) { return t >= r.first - 0.05 && t <= r.second + 0.05; });
  }
  bool StandsOn(double t) const
  {
    return std::any_of(Along.begin(), Along.end(),
                       [t](const TStretch& r) { return t >= r.first - 0.25 && t <= r.second + 0.25; });
  }
  // Keeps to the joined stretch of carriers nearest the tip; whether even that lies off it.
  bool KeepToNearest()
  {
    const std::vector<TStretch> joined = JoinedStretches(Carriers);
    const auto off = [](const TStretch& r) { return std::max({r.first - 0.05, -0.05 - r.second, 0.0}); };
    Carriers = {*std::min_element(joined.begin(), joined.end(),
                                  [&off](const auto& a, const auto& b) { return off(a) < off(b); })};
    return off(Carriers.front()) > 0;
  }
  // The nearest place to the tip on what is drawn, not on a rounding's chord: on the nearest stretch
  // along its base instead.
  double NearestDrawn() const
  {
    double t = 0;
    for (const TStretch& r : Carriers)
      if (!OnCarrier(t) || std::fabs(std::clamp(0.0, r.first, r.second)) < std::fabs(t))
        t = std::clamp(0.0, r.first, r.second);
    if (Along.empty() || StandsOn(t)) return t;
    const TStretch& r = *std::min_element(Along.begin(), Along.end(), [t](const auto& a, const auto& b) {
      return std::fabs(std::clamp(t, a.first, a.second) - t) <
             std::fabs(std::clamp(t, b.first, b.second) - t);
    });
    return std::clamp(t, r.first, r.second);
  }
};

TFooting Footing(std::initializer_list<const std::vector<std::array<double, 4>>*> drawn, double SX, double SY,
                 double c, double n)
{
  const auto across = [&](const std::array<double, 4>& g, double& a0, double& a1, double& b0, double& b1) {
    a0 = (g[0] - SX) * c + (g[1] - SY) * n, a1 = (g[2] - SX) * c + (g[3] - SY) * n;
    b0 = -(g[0] - SX) * n + (g[1] - SY) * c, b1 = -(g[2] - SX) * n + (g[3] - SY) * c;
  };
  TFooting f;
  double nearest = 1 + 1e-9;
  for (const auto* lines : drawn)
    for (const auto& g : *lines) {
      double a0, a1, b0, b1;
      across(g, a0, a1, b0, b1);
      if (std::fabs(b0 - b1) <= 0.05 && std::fabs(b0) < nearest)
        nearest = std::fabs(b0), f.Snap = (b0 + b1) / 2;
    }
  const auto* outlines = *drawn.begin();
  for (const auto* lines : drawn)
    for (const auto& g : *lines) {
      double a0, a1, b0, b1;
      across(g, a0, a1, b0, b1);
      if (std::fabs(b0 - f.Snap) > 0.05 || std::fabs(b1 - f.Snap) > 0.05) continue;
      f.Carriers.emplace_back(std::min(a0, a1), std::max(a0, a1));
      if (std::fabs(b1 - b0) <= std::sin(2 * Deg) * std::fabs(a1 - a0)) f.Along.push_back(f.Carriers.back());
      f.OnOutline =
          f.OnOutline || (lines == outlines && std::min(a0, a1) <= 0.05 && std::max(a0, a1) >= -0.05);
    }
  return f;
}

// What a step along a sign's line asks of what is drawn there, the same every time round and either way up.
struct TStep
{
  bool Past = false, On = false;
  double From = 0;
};

std::vector<TStep> StepsAlong(const std::vector<double>& along, const TLineStretches& l)
{
  // How far t lies off the stretch r.
  const auto gap = [](const std::pair<double, double>& r, double t) {
    return std::max({r.first - t, t - r.second, 0.0});
  };
  std::vector<TStep> steps(along.size());
  for (std::size_t k = 0; k < along.size(); ++k) {
    const double t = along[k];
    // Nor past another surface on the line from the nearer half of its face, where it would read as
    // that one's.
    const auto& face = *std::min_element(l.Faces.begin(), l.Faces.end(),
                                         [&](const auto& a, const auto& b) { return gap(a, t) < gap(b, t); });
    steps[k].Past = std::any_of(l.Joined.begin(), l.Joined.end(), [&](const auto& r) {
      return l.Other(r) && std::min(t, face.first) <= r.second + 0.05 &&
             std::max(t, face.second) >= r.first - 0.05;
    });
    // Its carrier: what is drawn there, else a line from the nearest end of what is drawn to a little
    // past its tip, away from what it comes from.
    double nearest = 1e300;
    for (const auto& [a, b] : l.Drawn)
      steps[k].On = steps[k].On || (t >= a - 0.05 && t <= b + 0.05);
    for (const double e : l.Ends)
      if (std::fabs(e - t) < nearest) nearest = std::fabs(e - t), steps[k].From = e;
  }
  return steps;
}

// A sign on a line slides along it, the nearer the better. One asked off every line moves anywhere:
// lifting it away from the part counts double, towards the part only when nothing else fits. The same
// moves in the same order for every sign on every sheet: ordered once.
const std::vector<std::pair<double, double>>& SignMoves()
{
  static const std::vector<std::pair<double, double>> moves = [] {
    // Each move's cost worked out once, beside it.
    std::vector<std::pair<double, std::pair<double, double>>> costed;
    for (int t = -60; t <= 60; ++t)
      for (int u = -40; u <= 40; ++u)
        costed.push_back({Norm(double(t), 2.0 * u) + (u < 0 ? 1000 : 0), {t, u}});
    std::stable_sort(costed.begin(), costed.end(),
                     [](const auto& p, const auto& q) { return p.first < q.first; });
    std::vector<std::pair<double, double>> all;
    for (const auto& c : costed)
      all.push_back(c.second);
    return all;
  }();
  return moves;
}

// A sign's outline and its value's box turned as it stands, worked out once for every place along a line
// it is tried at.
struct TSignShape
{
  explicit TSignShape(const TSheetLayout::TSign& s) : C(std::cos(s.SAngle * Deg)), S(std::sin(s.SAngle * Deg))
  {
    const double value = ValueLength(s.Chars);
    const double a = std::remainder(s.SAngle, 360.0);
    // A sign turned past upright is read from its shelf's far end.
    const bool turned = a > 90.001 || a < -89.999;
    X1 = turned ? std::min(-SignArm, SignShelfEnd - value) : -SignArm;
    X2 = turned ? SignShelfEnd : std::max(SignShelfEnd, SignValueFrom + value);
    // A millimetre above the shelf, from its far end when read that way.
    V1 = turned ? SignShelfEnd - value : SignValueFrom, V2 = turned ? SignShelfEnd : SignValueFrom + value;
  }
  // With its tip at (X, Y): the surface the sign stands on runs through its tip, not something it lies on.
  TQuad Footprint(double X, double Y) const { return Turned(X, Y, C, S, X1, 0.05, X2, SignTop); }
  TQuad Value(double X, double Y) const
  {
    const double shelf = SignTop - ValueHeight - 1;
    return Turned(X, Y, C, S, V1, shelf + 1, V2, SignTop);
  }
  double C, S, X1, X2, V1, V2;
};

// The strokes of a sign turned to angle with its tip at (X, Y): its short arm, its long arm and its shelf,
// each taken on past its free end; the shelf from as far back past its corner.
std::array<std::array<double, 4>, 3> SignStrokes(double angle, double X, double Y, double on)
{
  constexpr double Rise = SignShelf / 2;
  const double c = std::cos(angle * Deg), n = std::sin(angle * Deg);
  const auto stroke = [&](double x1, double y1, double x2, double y2) {
    return std::array<double, 4>{X + c * x1 - n * y1, Y + n * x1 + c * y1, X + c * x2 - n * y2,
                                 Y + n * x2 + c * y2};
  };
  const double arm = on / (2 * SignArm);
  return {stroke(0, 0, -SignArm * (1 + arm), Rise * (1 + arm)),
          stroke(0, 0, 2 * SignArm * (1 + arm / 2), 2 * Rise * (1 + arm / 2)),
          stroke(2 * SignArm - on, 2 * Rise, SignShelfEnd + on, 2 * Rise)};
}

} // namespace

bool TSheetLayout::Within(const TQuad& q, bool topOnly) const
{
  // Its corners taken a tenth in. Those of its base stand by the surface it marks: in a notch (a seat's end
  // by a collar's step) they have outlines on every side, far ones of other views too, though nothing of the
  // sign is inside the part; a sign asked again where it slid to asks only those of its top, where its
  // value stands.
  const double mx = (q.X[0] + q.X[2]) / 2, my = (q.Y[0] + q.Y[2]) / 2;
  for (int k = topOnly ? 2 : 0; k < 4; ++k)
    if (Within(q.X[k] + 0.1 * (mx - q.X[k]), q.Y[k] + 0.1 * (my - q.Y[k]))) return true;
  return false;
}

TQuad TSheetLayout::Footprint(const TSign& s, double X, double Y) const
{
  return TSignShape(s).Footprint(X, Y);
}

TQuad TSheetLayout::SignValue(const TSign& s, double X, double Y) const
{
  return TSignShape(s).Value(X, Y);
}

bool TSheetLayout::StrokesClear(const TSign& s, double X, double Y, bool sizesOnly) const
{
  // In the sign's frame, its base along x from the tip: the short arm, the long arm and the shelf, each
  // taken half a millimetre on past its free end, so that a line passing there is kept apart from it; the
  // shelf from as far back past its corner, where a line would cross both strokes too near their ends.
  constexpr double On = StrokeOn;
  const std::array<std::array<double, 4>, 3> strokes = SignStrokes(s.SAngle, X, Y, On);
  // A line crossing a stroke at its own very end crosses it as well: only the sign's tip stands on a line.
  const auto across = [&strokes](const std::array<double, 4>& g) {
    const double ux = g[2] - g[0], uy = g[3] - g[1], l = Norm(ux, uy), e = l > 0 ? 0.25 / l : 0;
    const std::array<double, 4> on{g[0] - e * ux, g[1] - e * uy, g[2] + e * ux, g[3] + e * uy};
    return std::any_of(strokes.begin(), strokes.end(),
                       [&on](const std::array<double, 4>& t) { return LinesCross(t, on); });
  };
  // Its tip on a dimension line would read as that line's sign, whatever its strokes cross.
  const auto onLine = [X, Y](const std::array<double, 4>& g) { return OffSegment(X, Y, g) < On; };
  for (const TSettled& p : Settled) {
    const std::array<double, 4> g{p.X1, p.Y1, p.X2, p.Y2};
    if (across(g) || onLine(g)) return false;
  }
  for (const auto* lines : {&Extensions, &CircleLines, &Thin})
    if ((!sizesOnly || lines != &Thin) && std::any_of(lines->begin(), lines->end(), across)) return false;
  if (sizesOnly) return true;
  if (OnCallout(s, X, Y)) return false;
  // Nor on a thin circle (a callout's), in chords of at most 10 degrees.
  for (const TArc& a : Arcs) {
    if (a.Outline) continue;
    const int k = std::clamp(int(std::ceil(std::fabs(a.Sweep) / 10)), 1, 36);
    for (int i = 0; i < k; ++i) {
      const double u = (a.From + a.Sweep * i / k) * Deg, v = (a.From + a.Sweep * (i + 1) / k) * Deg;
      const std::array<double, 4> g{a.X + a.R * std::cos(u), a.Y + a.R * std::sin(u), a.X + a.R * std::cos(v),
                                    a.Y + a.R * std::sin(v)};
      if (across(g) || onLine(g)) return false;
    }
  }
  return true;
}

bool TSheetLayout::OnCallout(const TSign& s, double X, double Y) const
{
  // A sign left where it was asked, no place on its line free, may stand on a letter settled before it,
  // which no line marks.
  const std::array<std::array<double, 4>, 3> strokes = SignStrokes(s.SAngle, X, Y, StrokeOn);
  return std::any_of(Callouts.begin(), Callouts.end(), [&](const TCallout& o) {
    const TAgainst text(Boxes[o.Box]);
    return std::any_of(strokes.begin(), strokes.end(), [&text](const std::array<double, 4>& t) {
      const double tx[2] = {t[0], t[2]}, ty[2] = {t[1], t[3]};
      return text.Meets(tx, ty, 2);
    });
  });
}

bool TSheetLayout::StrokesOffAxes(const TSign& s, double X, double Y) const
{
  // Its arms and shelf, in the sign's frame from the tip, kept 0.8 off every axis but within a millimetre
  // of the tip, which stands on its surface.
  constexpr double Off = 0.8, Rise = SignShelf / 2;
  const double c = std::cos(s.SAngle * Deg), n = std::sin(s.SAngle * Deg);
  const std::array<std::array<double, 4>, 3> strokes{
      std::array<double, 4>{0, 0, -SignArm, Rise}, std::array<double, 4>{0, 0, 2 * SignArm, 2 * Rise},
      std::array<double, 4>{2 * SignArm, 2 * Rise, SignShelfEnd, 2 * Rise}};
  // The strokes lie within the shelf's far end's reach of the tip: only an axis whose box comes within Off
  // of that (and a millimetre more) can come within Off of them.
  const double reach = Norm(SignShelfEnd, 2 * Rise) + Off + 1;
  std::vector<const std::array<double, 4>*> near;
  for (const std::array<double, 4>& a : Axes)
    if (!(std::max(a[0], a[2]) < X - reach || std::min(a[0], a[2]) > X + reach ||
          std::max(a[1], a[3]) < Y - reach || std::min(a[1], a[3]) > Y + reach))
      near.push_back(&a);
  for (const auto& t : strokes) {
    const double len = Norm(t[2] - t[0], t[3] - t[1]);
    const int k = std::max(1, int(std::ceil(len / 0.25)));
    for (int i = 0; i <= k; ++i) {
      const double u = t[0] + (t[2] - t[0]) * i / k, v = t[1] + (t[3] - t[1]) * i / k;
      if (Norm(u, v) < 1) continue;
      const double x = X + c * u - n * v, y = Y + n * u + c * v;
      if (std::any_of(near.begin(), near.end(),
                      [&](const std::array<double, 4>* a) { return OffSegment(x, y, *a) < Off; }))
        return false;
    }
  }
  return true;
}

bool TSheetLayout::SizeAcross(const TQuad& q) const
{
  const TAgainst against(q);
  const auto crosses = [&against](const std::array<double, 4>& g) {
    const double gx[2] = {g[0], g[2]}, gy[2] = {g[1], g[3]};
    return against.Meets(gx, gy, 2);
  };
  return std::any_of(Extensions.begin(), Extensions.end(), crosses) ||
         std::any_of(CircleLines.begin(), CircleLines.end(), crosses) ||
         std::any_of(Settled.begin(), Settled.end(), [&crosses](const TSettled& p) {
           return crosses({p.X1, p.Y1, p.X2, p.Y2});
         });
}

bool TSheetLayout::SignClear(const TSign& s, double X, double Y) const
{
  return StrokesClear(s, X, Y) && !Crossed(Grown(SignValue(s, X, Y), 1));
}

std::vector<TSheetLayout::TPlacedSign> TSheetLayout::SignsAsAsked()
{
  // Each sign where it is asked, or the nearest place free for it; then every one whose strokes a line
  // crosses there again where it stands clear of the lines, among all the signs settled.
  std::vector<TPlacedSign> placed;
  for (const TSign& asked : Signs) {
    TQuad at;
    double X, Y, angle;
    const bool leader = OnLeader(asked, at, X, Y, angle);
    if (!leader) PlaceSign(asked, false, at, X, Y, angle);
    placed.push_back({Boxes.size(), X, Y, angle, leader});
    Boxes.push_back(at);
  }
  for (std::size_t i = 0; i < Signs.size(); ++i) {
    TPlacedSign& p = placed[i];
    TSign s = Signs[i];
    s.SAngle = p.Angle;
    // One left with a stroke on an axis (asked where no place on its stretch is off it) looks again as well.
    if (StrokesClear(s, p.X, p.Y) && StrokesOffAxes(s, p.X, p.Y)) continue;
    // Off its own place while it looks for another.
    const TQuad own = Boxes[p.Box];
    Boxes.Set(p.Box, Rect(-1e6, -1e6, -1e6, -1e6));
    TQuad at;
    double X, Y, angle;
    const bool moved = p.Leader ? OnLeader(Signs[i], at, X, Y, angle, true)
                                : PlaceSign(Signs[i], true, at, X, Y, angle, false, &p.OffEvery);
    Boxes.Set(p.Box, moved ? at : own);
    if (moved) p.X = X, p.Y = Y, p.Angle = angle;
  }
  return placed;
}

bool TSheetLayout::SignCrossed(const TPlacedSign& p, std::size_t i) const
{
  TSign s = Signs[i];
  s.SAngle = p.Angle;
  if (p.Leader) return false;
  // Or one whose value stands on another text (a callout's letter beside the line it slid along).
  const TAgainst value(Grown(SignValue(s, p.X, p.Y), -0.2));
  const bool onText =
      Boxes.Any(value.Box(), [&](std::size_t k) { return k != p.Box && value.Meets(Boxes[k]); });
  return !(StrokesClear(s, p.X, p.Y) && !Crossed(SignValue(s, p.X, p.Y)) && StrokesOffAxes(s, p.X, p.Y) &&
           !onText);
}

std::size_t TSheetLayout::PlanSigns(const std::vector<TPlacedSign>& placed,
                                    const std::vector<std::size_t>& order, TSignPlan& spots, bool firstOrNone,
                                    std::vector<bool>& failed, bool carry)
{
  std::vector<std::pair<std::size_t, TQuad>> held;
  const std::size_t lines = Thin.size(), extensions = Extensions.size();
  std::size_t left = 0;
  const auto leave = [&](std::size_t i) {
    held.emplace_back(placed[i].Box, Boxes[placed[i].Box]);
    Boxes.Set(placed[i].Box, Rect(-1e6, -1e6, -1e6, -1e6));
  };
  // Every sign that looks again leaves its place first: the place it leaves is free for those before it.
  std::vector<bool> gone(Signs.size());
  for (const std::size_t i : order)
    if (SignCrossed(placed[i], i)) leave(i), gone[i] = true;
  for (const std::size_t i : order) {
    const TPlacedSign& p = placed[i];
    TSign s = Signs[i];
    s.SAngle = p.Angle;
    // One clear where it stood is asked again only where a line carrying another now runs.
    if (!gone[i]) {
      if ((Thin.size() == lines && Extensions.size() == extensions) || !SignCrossed(p, i)) continue;
      leave(i);
    }
    const TQuad own =
        std::find_if(held.begin(), held.end(), [&](const auto& h) { return h.first == p.Box; })->second;
    TSpot spot;
    // Carried far only off a size's line across it, its strokes or its value: a callout's leader across
    // it is not worth a long line.
    const bool far = !StrokesClear(s, p.X, p.Y, true) || SizeAcross(SignValue(s, p.X, p.Y));
    TSign mirrored;
    if (!OnSurfaceLine(Signs[i], carry, far, spot) &&
        !(Mirrored(Signs[i], mirrored) && OnSurfaceLine(mirrored, carry, far, spot))) {
      Boxes.Set(p.Box, own);
      ++left;
      if (!firstOrNone) failed[i] = true;
      if (firstOrNone && i == order.front()) break;
      continue;
    }
    Boxes.Set(p.Box, spot.At);
    if (spot.Carried) Thin.push_back(spot.Line), Extensions.push_back(spot.Line);
    spots.emplace_back(i, spot);
  }
  for (auto k = held.rbegin(); k != held.rend(); ++k)
    Boxes.Set(k->first, k->second);
  Thin.resize(lines), Extensions.resize(extensions);
  return left;
}

void TSheetLayout::SettleSigns(const std::function<void(double X1, double Y1, double X2, double Y2)>& carry)
{
  const std::vector<TPlacedSign> placed = SignsAsAsked();
  // Where its own stretch of line leaves a sign crossed (a line across its arms, its shelf or its value),
  // it leaves that stretch for its surface's line elsewhere, once every other sign has settled. Signs that
  // want the same place take it in their order, unless another order leaves fewer of them crossed: each
  // order is planned first, each place and carrying line held while the next looks and then let go.
  // A plan that leaves its first sign crossed (with every other where it stood) is no better than the
  // order's: it stops there.
  std::vector<bool> failed(Signs.size());
  std::vector<std::size_t> order(Signs.size());
  for (std::size_t i = 0; i < order.size(); ++i)
    order[i] = i;
  TSignPlan best;
  std::size_t least = PlanSigns(placed, order, best, false, failed, bool(carry));
  // Each sign the order leaves crossed tried first.
  for (std::size_t first = 1; first < order.size() && least > 0; ++first) {
    if (!failed[first]) continue;
    std::vector<std::size_t> tried{first};
    for (const std::size_t i : order)
      if (i != first) tried.push_back(i);
    TSignPlan spots;
    if (const std::size_t left = PlanSigns(placed, tried, spots, true, failed, bool(carry));
        left < least && !spots.empty() && spots[0].first == first)
      least = left, best = std::move(spots);
  }
  std::vector<bool> moved(Signs.size());
  for (const auto& [i, spot] : best) {
    Boxes.Set(placed[i].Box, spot.At);
    MoveSign(Signs[i], spot.X, spot.Y, spot.Angle);
    if (spot.Carried) carry(spot.Line[0], spot.Line[1], spot.Line[2], spot.Line[3]);
    if (spot.Carried) Thin.push_back(spot.Line), Extensions.push_back(spot.Line);
    moved[i] = true;
  }
  // One still crossed by a size's line, or standing on a callout's text, where it stands: the callout's text
  // may give way to it. Else, asked off every stretch of its line (the surface it was asked for beyond a
  // part's end, past another's short stretch on the same line), it looks along the stretch it slid onto.
  for (std::size_t i = 0; i < Signs.size() && carry; ++i) {
    const TPlacedSign& p = placed[i];
    TSign s = Signs[i], there;
    s.SAngle = p.Angle;
    if (moved[i] || p.Leader || (StrokesClear(s, p.X, p.Y, true) && !OnCallout(s, p.X, p.Y)) ||
        CalloutGivesWay(i, p.Box, carry) || !p.OffEvery || !AskedAt(Signs[i], p.X, p.Y, p.Angle, there))
      continue;
    const TQuad own = Boxes[p.Box];
    Boxes.Set(p.Box, Rect(-1e6, -1e6, -1e6, -1e6));
    TQuad at;
    double X, Y, angle;
    Boxes.Set(p.Box, PlaceSign(there, true, at, X, Y, angle, true) ? at : own);
  }
  Signs.clear();
}

bool TSheetLayout::CalloutGivesWay(
    std::size_t i, std::size_t box,
    const std::function<void(double X1, double Y1, double X2, double Y2)>& carry)
{
  const TSign& asked = Signs[i];
  constexpr double Away = -1e6;
  const TQuad own = Boxes[box];
  for (const TCallout& c : Callouts) {
    const TTitle& t = c.Title;
    const TQuad text = Boxes[c.Box];
    const std::size_t branches = t.Branches.size();
    const std::vector<std::array<double, 4>> thin(Thin.begin() + std::ptrdiff_t(c.Thin),
                                                  Thin.begin() + std::ptrdiff_t(c.Thin + branches)),
        leaders(TextLeaders.begin() + std::ptrdiff_t(c.Leaders),
                TextLeaders.begin() + std::ptrdiff_t(c.Leaders + branches));
    const auto leader = [&](std::size_t k, double dx, double dy) {
      const std::array<double, 4> l{t.OX + dx, t.OY + dy, t.Branches[k][0], t.Branches[k][1]};
      Thin[c.Thin + k] = TextLeaders[c.Leaders + k] = l;
    };
    // The callout off the sheet, the sign off its place, while the sign looks.
    Boxes.Set(c.Box, Rect(Away, Away, Away, Away)), Boxes.Set(box, Rect(Away, Away, Away, Away));
    for (std::size_t k = 0; k < branches; ++k)
      Thin[c.Thin + k] = TextLeaders[c.Leaders + k] = {Away, Away, Away, Away};
    TSpot spot;
    TSign mirrored;
    const bool found = OnSurfaceLine(asked, true, true, spot) ||
                       (Mirrored(asked, mirrored) && OnSurfaceLine(mirrored, true, true, spot));
    double mx = 0, my = 0;
    if (found) {
      Boxes.Set(box, spot.At);
      if (spot.Carried) Thin.push_back(spot.Line), Extensions.push_back(spot.Line);
      double x1 = 1e300, y1 = 1e300, x2 = -1e300, y2 = -1e300;
      for (int k = 0; k < 4; ++k)
        x1 = std::min(x1, text.X[k]), x2 = std::max(x2, text.X[k]), y1 = std::min(y1, text.Y[k]),
        y2 = std::max(y2, text.Y[k]);
      // Its leader keeps off every box (the sign's footprint too), across no outline nor size's line, and out
      // of the views but for its end at what it names; nor by a corner of the part short of that end (nor
      // then across the extension line from the corner, so near that line's end).
      const auto clear = [&](double dx, double dy) {
        return LeaderClear(t, c.DX + dx, c.DY + dy) &&
               std::none_of(t.Branches.begin(), t.Branches.end(), [&](const std::array<double, 2>& b) {
                 const std::array<double, 4> l{t.OX + c.DX + dx, t.OY + c.DY + dy, b[0], b[1]};
                 const auto inside = [&](double f) {
                   return Within(l[0] + f * (l[2] - l[0]), l[1] + f * (l[3] - l[1]));
                 };
                 return CrossesOutline(l) || ByCorner(l) || inside(0.25) || inside(0.5) || inside(0.75) ||
                        AcrossLinear(l) ||
                        std::any_of(CircleLines.begin(), CircleLines.end(),
                                    [&l](const auto& o) { return LinesCross(l, o); });
               });
      };
      // A letter beside a short collar may fit only off the coarse grid: looked for nearby on a finer one.
      if ((FreeMove(x1, y1, x2, y2, mx, my, clear) || FreeMove(x1, y1, x2, y2, mx, my, clear, 0.5, 20)) &&
          (mx != 0 || my != 0)) {
        const double dx = c.DX + mx, dy = c.DY + my, a = -t.Turn * Deg, k = 1 / (t.Scale > 0 ? t.Scale : 1);
        t.MoveTo(t.X + k * (std::cos(a) * dx - std::sin(a) * dy),
                 t.Y + k * (std::sin(a) * dx + std::cos(a) * dy));
        TQuad at = text;
        for (int k = 0; k < 4; ++k)
          at.X[k] += mx, at.Y[k] += my;
        Boxes.Set(c.Box, at);
        for (std::size_t k = 0; k < branches; ++k)
          leader(k, dx, dy);
        MoveSign(asked, spot.X, spot.Y, spot.Angle);
        if (spot.Carried) carry(spot.Line[0], spot.Line[1], spot.Line[2], spot.Line[3]);
        return true;
      }
      if (spot.Carried) Thin.pop_back(), Extensions.pop_back();
    }
    Boxes.Set(c.Box, text), Boxes.Set(box, own);
    for (std::size_t k = 0; k < branches; ++k)
      Thin[c.Thin + k] = thin[k], TextLeaders[c.Leaders + k] = leaders[k];
  }
  return false;
}

bool TSheetLayout::Mirrored(const TSign& s, TSign& m) const
{
  // The axis along its base nearest its tip, off its line: the line through its tip is one side of a surface
  // of revolution, whose other side lies mirrored about that axis.
  const double c = std::cos(s.SAngle * Deg), n = std::sin(s.SAngle * Deg);
  const std::array<double, 4>* nearest = nullptr;
  double off = 0;
  for (const std::array<double, 4>& a : Axes) {
    const double ux = a[2] - a[0], uy = a[3] - a[1], l = Norm(ux, uy);
    if (!(l > 0) || std::fabs(ux * n - uy * c) > 1e-3 * l) continue;
    const double d = OffSegment(s.SX, s.SY, a);
    if (std::fabs((s.SX - a[0]) * uy - (s.SY - a[1]) * ux) / l < 0.5 || (nearest != nullptr && d >= off))
      continue;
    nearest = &a, off = d;
  }
  if (nearest == nullptr) return false;
  const std::array<double, 4>& a = *nearest;
  const double l = Norm(a[2] - a[0], a[3] - a[1]), ux = (a[2] - a[0]) / l, uy = (a[3] - a[1]) / l;
  const double wx = s.SX - a[0], wy = s.SY - a[1], along = wx * ux + wy * uy;
  // Its base turned end for end as well as mirrored: it rises off the part on that side too.
  m = s;
  m.SX = a[0] + 2 * along * ux - wx, m.SY = a[1] + 2 * along * uy - wy;
  m.SAngle = 2 * std::atan2(uy, ux) / Deg - s.SAngle + 180;
  return true;
}

bool TSheetLayout::PlaceSign(const TSign& asked, bool strict, TQuad& at, double& X, double& Y, double& angle,
                             bool slid, bool* offEvery)
{
  const std::vector<std::pair<double, double>>& moves = SignMoves();
  at = Footprint(asked, asked.SX, asked.SY), X = asked.SX, Y = asked.SY, angle = asked.SAngle;
  // As asked; then, on an extension line, turned over to its other side.
  for (int side = 0; side < 2; ++side) {
    TSign s = asked;
    if (side == 1) s.Angle += 180, s.SAngle += 180;
    const double c = std::cos(s.SAngle * Deg), n = std::sin(s.SAngle * Deg);
    TFooting f = Footing({&Segments, &Extensions, &TextLeaders}, s.SX, s.SY, c, n);
    // Settled again, it keeps to the stretch of line it was asked on (the carriers that join it there, or
    // the nearest): another stretch of the same line, past a gap, is another surface.
    if (strict && !f.Carriers.empty()) {
      const bool off = f.KeepToNearest();
      if (offEvery != nullptr && side == 0) *offEvery = off;
    }
    // On the line of what it stands on, if not yet on the part of it drawn.
    const bool onPart = !f.Carriers.empty();
    // Never turned over onto the material's side of its surface, nor off every line.
    if (side == 1 && (!onPart || f.OnOutline)) break;
    // The same move in the sign's container, along its own axes; turned back as asked when a strict place
    // is taken after another.
    const auto move = [&](double t, double u) {
      const double k = 1 / (s.Scale > 0 ? s.Scale : 1), lc = std::cos(s.Angle * Deg),
                   ln = std::sin(s.Angle * Deg);
      s.Sign->SetPoint(s.X + k * (t * lc - u * ln), s.Y + k * (t * ln + u * lc));
      if (side == 1 || strict)
        if (txapi::SmartPtr<txapi::IRoughParams> p = s.Sign) p->SetAngle(s.Angle + 90);
      s.Sign->Update();
    };
    const auto tip = [&](double t, double u) {
      X = s.SX + t * c - u * n, Y = s.SY + t * n + u * c, angle = s.SAngle;
    };
    const TSignShape shape(s);
    const double snap = f.Snap;
    for (const auto& [t, u] : moves) {
      if (onPart && (u != 0 || !f.OnCarrier(t) || (!f.Along.empty() && !f.StandsOn(t)))) continue;
      const double x = s.SX + t * c - (u + snap) * n, y = s.SY + t * n + (u + snap) * c;
      // The sign off the outlines and the texts, within the frame; its value off every line too (an
      // extension line may pass under its arms).
      const TQuad q = shape.Footprint(x, y), v = shape.Value(x, y);
      bool framed = true;
      for (int k = 0; k < 4; ++k)
        framed = framed && InFrame(q.X[k], q.Y[k], 0);
      if (!framed || !Clear(q) || !(slid ? StrokesOffAxes(s, x, y) : OffAxes(q)) || Taken(q)) continue;
      if (!Free(v) || Crossed(v) || (strict && !SignClear(s, x, y))) continue;
      // Its value, wherever on the sign it stands, not within a view either.
      if (Within(q, slid)) continue;
      at = q;
      tip(t, u + snap);
      if (t != 0 || u + snap != 0 || side == 1 || strict) move(t, u + snap);
      return true;
    }
    // With no free place it stays where asked, on the line it was asked near, at its nearest drawn part.
    if (!strict && side == 0 && onPart) {
      const double t = f.NearestDrawn();
      if (t != 0 || snap != 0) move(t, snap);
      at = Footprint(s, s.SX + t * c - snap * n, s.SY + t * n + snap * c);
      tip(t, snap);
    }
  }
  return false;
}

bool TSheetLayout::OnSurfaceLine(const TSign& asked, bool carry, bool far, TSpot& spot) const
{
  // Far enough along the line to pass the lengths stacked beside a part; a line drawn to carry it is an
  // extension line, no longer than one to those lengths. Where that finds no place, the line is taken
  // across the views and on as far as the longest extension line of the sheet reaches.
  constexpr double Reach = 80, Step = 0.5, Past = 2, Carrier = 25;
  const double c = std::cos(asked.SAngle * Deg), n = std::sin(asked.SAngle * Deg);
  const std::optional<TLineStretches> found =
      LineStretches(Segments, Extensions, Axes, asked.SX, asked.SY, c, n);
  if (!found) return false;
  const TLineStretches& stretches = *found;
  const auto& joined = stretches.Joined;
  const auto other = [&stretches](const std::pair<double, double>& r) { return stretches.Other(r); };
  // A line drawn to carry it runs through no outline, text or sign; across no dimension's line either
  // where the sign finds a place without, as an extension line may where it must.
  const auto lineClear = [this](const std::array<double, 4>& l, bool overLines) {
    const double lx[2] = {l[0], l[2]}, ly[2] = {l[1], l[3]};
    const auto across = [&l](const std::array<double, 4>& g) { return LinesCross(l, g); };
    return !CrossesOutline(l) &&
           (overLines || (std::none_of(CircleLines.begin(), CircleLines.end(), across) &&
                          std::none_of(Settled.begin(), Settled.end(),
                                       [&across](const TSettled& p) {
                                         return across({p.X1, p.Y1, p.X2, p.Y2});
                                       }))) &&
           !Boxes.Any(Span(l), [&](std::size_t i) { return Overlap(Boxes[i].X, Boxes[i].Y, 4, lx, ly, 2); });
  };
  double longest = Carrier, reach = Reach;
  if (far) {
    for (const auto& g : Extensions)
      longest = std::max(longest, Norm(g[2] - g[0], g[3] - g[1]) + Past);
    for (const std::array<double, 4>& b : ViewBoxes())
      for (const double x : {b[0], b[2]})
        for (const double y : {b[1], b[3]})
          reach = std::max(reach, std::fabs((x - asked.SX) * c + (y - asked.SY) * n) + longest);
  }
  TSign over = asked;
  over.SAngle += 180;
  const TSignShape shapes[2] = {TSignShape(asked), TSignShape(over)};
  std::vector<double> along;
  for (double t = Step; t <= reach; t += Step)
    along.push_back(t), along.push_back(-t);
  const std::vector<TStep> steps = StepsAlong(along, stretches);
  for (int pass = 0; pass < (far ? 3 : 2); ++pass) {
    for (const double& t : along)
      for (int side = 0; side < 2; ++side) {
        if (pass < 2 && std::fabs(t) > Reach) continue;
        const TStep& step = steps[std::size_t(&t - along.data())];
        if (step.Past) continue;
        const double from = step.From;
        const bool on = step.On;
        // A place on what is drawn is as good the second time round.
        if (on && pass > 0) continue;
        std::array<double, 4> line{};
        if (!on) {
          if (!carry) continue;
          const double to = t + (t > from ? Past : -Past), lo = std::min(from, to), hi = std::max(from, to);
          // Off every other surface on the line, a gap's width away: one that reached across to another
          // would bridge a groove's mouth.
          // The third time round only where the first two did not look.
          if (hi - lo > (pass < 2 ? Carrier : longest) ||
              (pass == 2 && hi - lo <= Carrier && std::fabs(t) <= Reach) ||
              std::any_of(joined.begin(), joined.end(), [&](const auto& r) {
                return other(r) && r.second > lo - Past && r.first < hi + Past;
              }))
            continue;
          line = {asked.SX + from * c, asked.SY + from * n, asked.SX + to * c, asked.SY + to * n};
          if (!lineClear(line, pass > 0)) continue;
        }
        TSign s = asked;
        if (side == 1) s.SAngle += 180;
        const double x = asked.SX + t * c, y = asked.SY + t * n;
        const TQuad q = shapes[side].Footprint(x, y), v = shapes[side].Value(x, y);
        bool framed = true;
        for (int k = 0; k < 4; ++k)
          framed = framed && InFrame(q.X[k], q.Y[k], 0);
        if (!framed || !Clear(q) || !OffAxes(q) || Taken(q) || !Free(v) || Crossed(v) || !SignClear(s, x, y))
          continue;
        if (Within(q, false)) continue;
        spot = {q, x, y, s.SAngle, !on, line};
        return true;
      }
  }
  return false;
}

bool TSheetLayout::AskedAt(const TSign& s, double X, double Y, double angle, TSign& there)
{
  if (std::fabs(std::remainder(angle - s.SAngle, 360.0)) > 1e-6 || Norm(X - s.SX, Y - s.SY) < 0.05)
    return false;
  const double turn = s.SAngle - s.Angle, k = 1 / (s.Scale > 0 ? s.Scale : 1), r = -turn * Deg;
  const double dx = X - s.SX, dy = Y - s.SY;
  there = s;
  there.X = s.X + k * (std::cos(r) * dx - std::sin(r) * dy);
  there.Y = s.Y + k * (std::sin(r) * dx + std::cos(r) * dy);
  there.SX = X, there.SY = Y;
  return true;
}

void TSheetLayout::FollowLeader(const std::array<double, 4>& was, const std::array<double, 4>& now)
{
  // A sign stands on its leader's line: where the leader's text moves off its place, the line turns about
  // its end at what it names, and the sign goes with it, as far along it, rather than stand off it where
  // the line was.
  constexpr double On = 1e-4;
  const double l = Norm(was[2] - was[0], was[3] - was[1]);
  if (!(l > On)) return;
  const double turn =
      (std::atan2(now[3] - now[1], now[2] - now[0]) - std::atan2(was[3] - was[1], was[2] - was[0])) / Deg;
  for (TSign& s : Signs) {
    if (OffSegment(s.SX, s.SY, was) > On) continue;
    const double f = ((s.SX - was[0]) * (was[2] - was[0]) + (s.SY - was[1]) * (was[3] - was[1])) / (l * l);
    const double X = now[0] + f * (now[2] - now[0]), Y = now[1] + f * (now[3] - now[1]);
    MoveSign(s, X, Y, s.SAngle + turn);
    const double k = 1 / (s.Scale > 0 ? s.Scale : 1), r = -(s.SAngle - s.Angle) * Deg;
    const double dx = X - s.SX, dy = Y - s.SY;
    s.X += k * (std::cos(r) * dx - std::sin(r) * dy), s.Y += k * (std::sin(r) * dx + std::cos(r) * dy);
    s.SX = X, s.SY = Y, s.SAngle += turn, s.Angle += turn;
  }
}

void TSheetLayout::MoveSign(const TSign& s, double X, double Y, double angle)
{
  // Back into its container: its turn there is the sheet's less the container's.
  const double turn = s.SAngle - s.Angle, k = 1 / (s.Scale > 0 ? s.Scale : 1), r = -turn * Deg;
  const double dx = X - s.SX, dy = Y - s.SY;
  s.Sign->SetPoint(s.X + k * (std::cos(r) * dx - std::sin(r) * dy),
                   s.Y + k * (std::sin(r) * dx + std::cos(r) * dy));
  if (txapi::SmartPtr<txapi::IRoughParams> p = s.Sign) p->SetAngle(angle - turn + 90);
  s.Sign->Update();
}

bool TSheetLayout::AskedOn(const TSign& s, double CX, double CY, double asked)
{
  const double c = std::cos(asked * Deg), n = std::sin(asked * Deg);
  const double along = (s.SX - CX) * c + (s.SY - CY) * n, off = -(s.SX - CX) * n + (s.SY - CY) * c;
  return along > 0 && std::fabs(off) < 0.05 && std::fabs(std::sin((s.SAngle - asked) * Deg)) < 1e-4;
}

bool TSheetLayout::SignOnLeader(const TSign& s, const TLeader& l, const TQuad* value, double& X, double& Y,
                                double& angle, bool strict) const
{
  // From its shelf's end back towards the circle, off the value's side first; the first place where it
  // and its value are free, else at the shelf's end off the value's side.
  X = l.X1 + l.Ux * l.To, Y = l.Y1 + l.Uy * l.To, angle = std::atan2(l.Uy, l.Ux) / Deg;
  if (std::cos((angle + 90 - std::atan2(l.Ny, l.Nx) / Deg) * Deg) > 0) angle += 180;
  std::optional<TAgainst> own;
  if (value != nullptr) own.emplace(*value);
  for (int side = 0; side < 2; ++side) {
    TSign t = s;
    t.SAngle = side == 0 ? angle : angle + 180;
    const TSignShape shape(t);
    // The steps along the leader where the sign, its tip or its value surely meets its own value: no
    // measure need ask there.
    std::array<std::pair<double, double>, 3> meeting{};
    if (value != nullptr) {
      const TQuad tip = Turned(l.X1, l.Y1, shape.C, shape.S, -SignArm, -TipGap, SignArm, 0.05);
      for (std::size_t k = 0; k < 3; ++k)
        meeting[k] = MeetingMoves(k == 0   ? shape.Footprint(l.X1, l.Y1)
                                  : k == 1 ? tip
                                           : shape.Value(l.X1, l.Y1),
                                  l.Ux, l.Uy, *value);
    }
    for (double d = l.To; d >= l.From + SignArm; d -= 0.5) {
      if (std::any_of(meeting.begin(), meeting.end(),
                      [d](const auto& m) { return d > m.first && d < m.second; }))
        continue;
      const double x = l.X1 + l.Ux * d, y = l.Y1 + l.Uy * d;
      const TQuad q = shape.Footprint(x, y), v = shape.Value(x, y);
      // Its tip keeps a value's gap off any text beyond the leader: a value over the tip reads as
      // standing on the sign.
      const TQuad tip = Turned(x, y, shape.C, shape.S, -SignArm, -TipGap, SignArm, 0.05);
      bool framed = true;
      for (int k = 0; k < 4; ++k)
        framed = framed && InFrame(q.X[k], q.Y[k], 0);
      // Its own value asked first: most places along its leader that fail, fail on it.
      if (!framed || (own && (own->Meets(q) || own->Meets(tip) || own->Meets(v))) || !Clear(q) ||
          !OffAxes(q) || Taken(q) || Taken(tip) || !Free(v) || Crossed(v) || (strict && !SignClear(t, x, y)))
        continue;
      X = x, Y = y, angle = t.SAngle;
      return true;
    }
  }
  return false;
}

bool TSheetLayout::OnLeader(const TSign& s, TQuad& at, double& X, double& Y, double& angle, bool strict)
{
  const auto l = std::find_if(Leaders.begin(), Leaders.end(),
                              [&s](const TLeader& l) { return AskedOn(s, l.CX, l.CY, l.Asked); });
  if (l == Leaders.end()) return false;
  // The place kept for it is its own now.
  if (l->Kept < Boxes.size()) Boxes.Set(l->Kept, Rect(-1e6, -1e6, -1e6, -1e6));
  if (!SignOnLeader(s, *l, &l->Value, X, Y, angle, strict) && strict) return false;
  TSign t = s;
  t.SAngle = angle;
  at = Footprint(t, X, Y);
  MoveSign(s, X, Y, angle);
  return true;
}

} // namespace drApi
