// Where what the library places on a mould sheet goes: where the part's drawing asks for it when that
// is free, else the nearest place inside the frame that keeps off the views' outlines and hatching, the
// texts, the dimension values and whatever was settled before.

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <map>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "hxcadkit/adapter/drModelerAPI.h"
#include "hxcadkit/adapter/drSheetMeasures.h"

namespace drApi {

using namespace sheet;

namespace {

// The characters a host shows for a dimension's text: a sign's markup as one, a tilde as none, a sign set
// as it stands as what it holds.
std::size_t Shown(const TString& s)
{
  std::string t;
  for (int i = 0; i < s.Length(); ++i)
    t += char(s[i]);
  std::size_t n = 0;
  for (std::size_t i = 0; i < t.size(); ++i) {
    if (t[i] == '~') continue;
    if (t[i] == '$') {
      const std::size_t end = t.find(";$", i + 1);
      if (end != std::string::npos) {
        n += end - i - 1;
        i = end + 1;
        continue;
      }
    }
    if (t[i] == '&' && i + 2 < t.size() && t[i + 1] == '0' && t[i + 2] >= '1' && t[i + 2] <= '4') i += 2;
    ++n;
  }
  return n;
}

// The characters of a measured value as a host writes it: two decimals at most, no trailing zeros.
std::size_t Shown(double value)
{
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.2f", std::fabs(value));
  std::string s = buf;
  while (!s.empty() && s.back() == '0')
    s.pop_back();
  if (!s.empty() && s.back() == '.') s.pop_back();
  return s.size();
}

// The moves (step i, step j) of a grid, i from iLo to iHi and j from jLo to jHi, nearest first, each with
// its length; moves as near in the order the grid is read (by i, then by j). The first move of them that
// frees a box is the nearest that does, the one a search of the whole grid keeping only nearer moves finds,
// found without asking the farther ones. The same grids are asked for every box of every sheet: each
// ordered once.
struct TMove
{
  double X, Y, D;
};
const std::vector<TMove>& NearestFirst(double step, int iLo, int iHi, int jLo, int jHi)
{
  using TKey = std::tuple<double, int, int, int, int>;
  thread_local std::map<TKey, std::vector<TMove>> grids;
  std::vector<TMove>& moves = grids[TKey{step, iLo, iHi, jLo, jHi}];
  if (!moves.empty()) return moves;
  for (int i = iLo; i <= iHi; ++i)
    for (int j = jLo; j <= jHi; ++j) {
      const double mx = step * i, my = step * j;
      moves.push_back({mx, my, Norm(mx, my)});
    }
  std::stable_sort(moves.begin(), moves.end(), [](const TMove& a, const TMove& b) { return a.D < b.D; });
  return moves;
}

} // namespace

void TSheetLayout::Begin(double width, double height, double x, double y, double angle, double scale)
{
  On = std::isfinite(width) && std::isfinite(height) && width > 0 && height > 0;
  W = width, H = height, VX = x, VY = y, VA = angle, VS = scale != 0 && std::isfinite(scale) ? scale : 1;
  Bands.Valid = false, Bands.AxesValid = false;
  Boxes.Cover(W, H), DimensionLines.Cover(W, H);
  Segments.clear(), Trials.clear(), Boxes.clear(), Signs.clear(), Lines.clear(), Areas.clear(),
      Titles.clear();
  Dimensions.clear(), Circles.clear(), Angles.clear(), DimensionLines.clear(), Settled.clear();
  Extensions.clear(), Thin.clear(), Axes.clear(), AxisDrawn.clear(), Broken.clear(), Leaders.clear(),
      Arcs.clear(), CircleLines.clear();
  Callouts.clear();
  TextLeaders.clear(), LinearTips.clear();
  // The title block is the host's, in the frame's lower right corner.
  if (On)
    Boxes.push_back(
        Rect(W - FrameMargin - StampWidth, FrameMargin, W - FrameMargin, FrameMargin + StampHeight));
}

void TSheetLayout::ToSheet(double x, double y, double& X, double& Y) const
{
  const double c = std::cos(VA * Deg) * VS, s = std::sin(VA * Deg) * VS;
  X = VX + c * x - s * y;
  Y = VY + s * x + c * y;
}

void TSheetLayout::FromSheet(double X, double Y, double& x, double& y) const
{
  const double c = std::cos(VA * Deg) / VS, s = std::sin(VA * Deg) / VS;
  x = c * (X - VX) + s * (Y - VY);
  y = -s * (X - VX) + c * (Y - VY);
}

void TSheetLayout::Outline(double X1, double Y1, double X2, double Y2)
{
  if (!On || !std::isfinite(X1 + Y1 + X2 + Y2)) return;
  Segments.push_back({X1, Y1, X2, Y2});
  Bands.Valid = false;
}

void TSheetLayout::Arc(double X, double Y, double R, double From, double Sweep, bool outline)
{
  if (On && std::isfinite(X + Y + R + From + Sweep)) Arcs.push_back({X, Y, R, From, Sweep, outline});
}

void TSheetLayout::ThinLine(double X1, double Y1, double X2, double Y2, bool carries, bool drawn)
{
  if (!On || !std::isfinite(X1 + Y1 + X2 + Y2)) return;
  Thin.push_back({X1, Y1, X2, Y2});
  Bands.AxesValid = false;
  if (carries)
    Extensions.push_back({X1, Y1, X2, Y2});
  else
    Axes.push_back({X1, Y1, X2, Y2}), AxisDrawn.push_back(drawn);
}

void TSheetLayout::BrokenLine(double X1, double Y1, double X2, double Y2)
{
  ThinLine(X1, Y1, X2, Y2);
  if (On && std::isfinite(X1 + Y1 + X2 + Y2)) Broken.push_back({X1, Y1, X2, Y2});
}

void TSheetLayout::EndArea()
{
  if (On && AreaFrom < Segments.size()) {
    Areas.emplace_back(AreaFrom, Segments.size());
    Bands.Valid = false;
  }
  AreaFrom = Segments.size();
}

void TSheetLayout::Occupy(const TQuad& q)
{
  if (On) Boxes.push_back(q);
}

TQuad TSheetLayout::TextBox(double X, double Y, double angle, double h, std::size_t chars)
{
  return Turned(X, Y, angle, 0, 0, 0.6 * h * double(chars), h);
}

void TSheetLayout::LineDimension(double X1, double Y1, double X2, double Y2, double Ux, double Uy, double Nx,
                                 double Ny, std::size_t chars, double LX, double LY)
{
  if (!On || !std::isfinite(X1 + Y1 + X2 + Y2 + Ux + Uy + Nx + Ny)) return;
  const double d0 = std::max(X1 * Nx + Y1 * Ny, X2 * Nx + Y2 * Ny) + 8;
  const double a = X1 * Ux + Y1 * Uy, b = X2 * Ux + Y2 * Uy, text = ValueLength(chars);
  const double from = std::min({a, b, (a + b - text) / 2}), to = std::max({a, b, (a + b + text) / 2});
  // A host stacks a dimension a step beyond each one on its side whose span it meets.
  const double step = 8, margin = 1;
  double d = std::isfinite(LX + LY) ? LX * Nx + LY * Ny : d0;
  for (bool moved = !std::isfinite(LX + LY); moved;) {
    moved = false;
    for (const TPlaced& p : Lines) {
      if (p.Nx * Nx + p.Ny * Ny < 0.9999 || p.To + margin < from || to + margin < p.From) continue;
      if (std::fabs(d - p.D) < step - 1e-9 && d < p.D + step) d = p.D + step, moved = true;
    }
  }
  Lines.push_back({Nx, Ny, d, from, to});
  // The value lies above the middle of the line as it is read (for a line read upwards, on its left),
  // or slides along it a step past either end when that is taken: the whole line and a value's length
  // beyond, to a value's height on either side.
  TQuad q;
  const double across[2] = {d - 1 - ValueHeight, d + 1 + ValueHeight},
               along[2] = {from - text - 2, to + text + 2};
  for (int k = 0; k < 4; ++k) {
    const double u = along[k == 1 || k == 2], n = across[k >= 2];
    q.X[k] = u * Ux + n * Nx;
    q.Y[k] = u * Uy + n * Ny;
  }
  Boxes.push_back(q);
}
bool TSheetLayout::OffFrame(double width, double height, double X, double Y)
{
  constexpr double Tol = 0.01;
  return X < FrameLeft - Tol || X > width - FrameMargin + Tol || Y < FrameMargin - Tol ||
         Y > height - FrameMargin + Tol;
}

bool TSheetLayout::InFrame(double X, double Y, double margin) const
{
  return X >= FrameLeft + margin && X <= W - FrameMargin - margin && Y >= FrameMargin + margin &&
         Y <= H - FrameMargin - margin &&
         !(X > W - FrameMargin - StampWidth - margin && Y < FrameMargin + StampHeight + margin);
}

bool TSheetLayout::Cramped(double dx, double dy, bool outlinesOnly) const
{
  return On && CrampedOn(W, H, dx, dy, outlinesOnly);
}

bool TSheetLayout::CrampedOn(double width, double height, double dx, double dy, bool outlinesOnly) const
{
  const TQuad stamp =
      Rect(width - FrameMargin - StampWidth, FrameMargin, width - FrameMargin, FrameMargin + StampHeight);
  const auto off = [&](const std::array<double, 4>& g) {
    return OffFrame(width, height, g[0] + dx, g[1] + dy) || OffFrame(width, height, g[2] + dx, g[3] + dy);
  };
  const auto quadOff = [&](const TQuad& q) {
    return off({q.X[0], q.Y[0], q.X[2], q.Y[2]}) || off({q.X[1], q.Y[1], q.X[3], q.Y[3]});
  };
  return std::any_of(Segments.begin(), Segments.end(),
                     [&](const std::array<double, 4>& g) {
                       const double gx[2] = {g[0] + dx, g[2] + dx}, gy[2] = {g[1] + dy, g[3] + dy};
                       return off(g) || Overlap(stamp.X, stamp.Y, 4, gx, gy, 2);
                     }) ||
         (!outlinesOnly && (std::any_of(Thin.begin(), Thin.end(), off) ||
                            std::any_of(Titles.begin(), Titles.end(),
                                        [&](const TTitle& t) { return t.AskedOff && quadOff(t.Box); }) ||
                            std::any_of(Signs.begin(), Signs.end(),
                                        [&](const TSign& s) {
                                          return s.Kept && quadOff(Footprint(s, s.SX, s.SY));
                                        }) ||
                            SizesSettleAmiss(width, height, dx, dy)));
}

TSheetLayout::TAskedOff TSheetLayout::SizesAskedOff(double width, double height, double dx, double dy) const
{
  TAskedOff off;
  const auto outside = [&](double x, double y) { return OffFrame(width, height, x + dx, y + dy); };
  // A length asked past the frame whose other side runs along its view, or asked over the title block or
  // so near it that the lines stacked two spacings beyond it, away from the part, would run onto it with
  // their extension lines.
  constexpr double Near = 2 * DimensionSpacing + ExtensionPast;
  const auto stamped = [&](const std::array<double, 4>& l) {
    return std::max(l[0], l[2]) + dx > width - FrameMargin - StampWidth &&
           std::min(l[1], l[3]) + dy <= FrameMargin + StampHeight;
  };
  for (std::size_t i = 0; i < Dimensions.size(); ++i) {
    const TDimension& m = Dimensions[i];
    const auto l = AskedLine(m);
    const double away = m.SX * m.Nx + m.SY * m.Ny < m.X1 * m.Nx + m.Y1 * m.Ny ? -Near : Near;
    const std::array<double, 4> beyond{l[0] + away * m.Nx, l[1] + away * m.Ny, l[2] + away * m.Nx,
                                       l[3] + away * m.Ny};
    if (((outside(l[0], l[1]) || outside(l[2], l[3])) && AcrossTheView(m)) || stamped(l) || stamped(beyond) ||
        CrowdedByFrame(m, outside))
      off.Lengths.push_back(i);
  }
  // An angle whose arc, at the least radius it takes, meets the title block.
  for (const TAngle& g : Angles)
    for (int i = 0; i <= 12 && !off.Angle; ++i) {
      const double a = (g.A1 + (g.A2 - g.A1) * i / 12) * Deg, r = std::min(g.R, g.Floor);
      const double x = g.X + r * std::cos(a), y = g.Y + r * std::sin(a);
      off.Angle = stamped({x, y, x, y});
    }
  return off;
}

template <class TOutside> bool TSheetLayout::CrowdedByFrame(const TDimension& m, const TOutside& outside)
{
  // Its extension lines as asked, run on past its line.
  const auto l = AskedLine(m);
  for (const auto& [px, py, ax, ay] : {std::array{m.X1, m.Y1, l[0], l[1]}, std::array{m.X2, m.Y2, l[2], l[3]}}) {
    const auto [ex, ey] = ExtensionEnd(px, py, ax, ay);
    if (outside(ex, ey)) return true;
  }
  // Its value, too long for the line between its arrows, past the end by the frame: the line's level
  // and the value's far end there.
  const double len = ValueLength(m.Chars), a = m.X1 * m.Ux + m.Y1 * m.Uy,
               b = m.X2 * m.Ux + m.Y2 * m.Uy, d = m.SX * m.Nx + m.SY * m.Ny;
  if (!(std::fabs(b - a) < len + 2)) return false;
  for (const double u : {std::min(a, b) - 1.5 - len, std::max(a, b) + 1.5 + len})
    if (outside(u * m.Ux + d * m.Nx, u * m.Uy + d * m.Ny)) return true;
  return false;
}

bool TSheetLayout::AcrossTheView(const TDimension& m) const
{
  const double asked = m.SX * m.Nx + m.SY * m.Ny;
  const std::vector<std::array<double, 4>> views = ViewBoxes();
  for (const auto& [px, py] : {std::array{m.X1, m.Y1}, std::array{m.X2, m.Y2}}) {
    const double away = asked < px * m.Nx + py * m.Ny ? 1 : -1;
    if (AlongItsView({px, py, px + away * m.Nx * 1e6, py + away * m.Ny * 1e6}, views)) return true;
  }
  return false;
}

std::array<double, 4> TSheetLayout::AskedLine(const TDimension& m)
{
  const double d = m.SX * m.Nx + m.SY * m.Ny, a = m.X1 * m.Ux + m.Y1 * m.Uy, b = m.X2 * m.Ux + m.Y2 * m.Uy;
  return {a * m.Ux + d * m.Nx, a * m.Uy + d * m.Ny, b * m.Ux + d * m.Nx, b * m.Uy + d * m.Ny};
}

bool TSheetLayout::SizesSettleAmiss(double width, double height, double dx, double dy) const
{
  const TAskedOff asked = SizesAskedOff(width, height, dx, dy);
  if (asked.Lengths.empty() && !asked.Angle) return false;
  // The sizes settled as they would be on that sheet, nothing moved on the drawing: rare enough (a size
  // asked past the frame or by the title block) to be worth a second settling, once for each place of the
  // view asked about.
  const std::array<double, 10> key{
      width, height, dx, dy, W, H, VX, VY, double(Dimensions.size()), double(Angles.size())};
  for (const auto& [at, amiss] : Trials)
    if (at == key) return amiss;
  const bool amiss = SettleAmiss(width, height, dx, dy, asked);
  Trials.emplace_back(key, amiss);
  return amiss;
}

bool TSheetLayout::SettleAmiss(double width, double height, double dx, double dy,
                               const TAskedOff& asked) const
{
  TSheetLayout trial = *this;
  trial.Trials.clear();
  const auto idle = [](TDimension& m) {
    m.MoveLine = [](double, double) {};
    if (m.MoveValue) m.MoveValue = [](double) {};
    m.ToOther = [] {};
  };
  for (TDimension& m : trial.Dimensions) {
    idle(m);
    if (m.Other) {
      auto other = std::make_shared<TDimension>(*m.Other);
      idle(*other);
      m.Other = other;
    }
  }
  for (TAngle& g : trial.Angles)
    g.Place = [](bool, double) {};
  trial.Enlarge(width, height, dx, dy);
  const std::size_t lines = trial.Settled.size(), tips = trial.LinearTips.size(),
                    from = trial.Extensions.size(), boxes = trial.Boxes.size();
  trial.PlaceLinear();
  // The angles settle after the lengths: asked clear of the title block, they change nothing judged here.
  std::vector<std::array<double, 4>> arcs, chords;
  if (asked.Angle) trial.PlaceAngles(arcs, chords);
  const std::vector<std::array<double, 4>> views = trial.ViewBoxes();
  const auto off = [&trial](const std::array<double, 4>& g) {
    return !trial.InFrame(g[0], g[1], -0.01) || !trial.InFrame(g[2], g[3], -0.01);
  };
  // An angle asked by the title block that could only settle on it or off the frame.
  if (asked.Angle && std::any_of(arcs.begin(), arcs.end(), off)) return true;
  // A length asked off that settled with an extension line along its view (taken to the part's other side),
  // or its line or an extension line on the title block or off the frame.
  std::vector<std::array<double, 4>> askedOff;
  std::vector<bool> offLine(Dimensions.size(), false);
  for (const std::size_t i : asked.Lengths) {
    const TDimension& m = Dimensions[i];
    const TSettled& l = trial.Settled[lines + i];
    offLine[i] = true;
    if (off({l.X1, l.Y1, l.X2, l.Y2})) return true;
    // Nor its value brought in among the outlines.
    const TQuad& v = trial.Boxes[boxes + i];
    if (trial.Within((v.X[0] + v.X[2]) / 2, (v.Y[0] + v.Y[2]) / 2)) return true;
    for (const auto& [px, py, tip] : {std::tuple{m.X1 + dx, m.Y1 + dy, trial.LinearTips[tips + 2 * i]},
                                      std::tuple{m.X2 + dx, m.Y2 + dy, trial.LinearTips[tips + 2 * i + 1]}}) {
      if (!(Norm(tip[0] - px, tip[1] - py) > 1e-9)) continue;
      const auto [ex, ey] = ExtensionEnd(px, py, tip[0], tip[1]);
      if (AlongItsView({px, py, ex, ey}, views) || off({px, py, ex, ey})) return true;
      askedOff.push_back({px, py, ex, ey});
    }
  }
  // Nor a line across another's extension line, the one or the other asked off (a larger diameter brought
  // in nearer the part than the smaller one it nests outside, or a line stacked past one): a line's own
  // extension lines, and any other through its arrows' points, only meet it.
  for (std::size_t i = 0; i < Dimensions.size(); ++i) {
    const TSettled& l = trial.Settled[lines + i];
    const auto& a = trial.LinearTips[tips + 2 * i];
    const auto& b = trial.LinearTips[tips + 2 * i + 1];
    const auto across = [&](const std::array<double, 4>& e) {
      return OffSegment(a[0], a[1], e) > 0.05 && OffSegment(b[0], b[1], e) > 0.05 &&
             LinesCross({l.X1, l.Y1, l.X2, l.Y2}, e);
    };
    if (std::any_of(askedOff.begin(), askedOff.end(), across) ||
        (offLine[i] &&
         std::any_of(trial.Extensions.begin() + std::ptrdiff_t(from), trial.Extensions.end(), across)))
      return true;
  }
  return false;
}

bool TSheetLayout::AlongItsView(const std::array<double, 4>& e,
                                const std::vector<std::array<double, 4>>& views)
{
  const auto [px, py, ax, ay] = e;
  for (const std::array<double, 4>& v : views) {
    if (!(px >= v[0] - 0.01 && px <= v[2] + 0.01 && py >= v[1] - 0.01 && py <= v[3] + 0.01)) continue;
    const double over = std::min(std::fabs(ax - px) > 1e-9 ? (ax > px ? v[2] - px : px - v[0]) : 1e300,
                                 std::fabs(ay - py) > 1e-9 ? (ay > py ? v[3] - py : py - v[1]) : 1e300);
    const double across = std::fabs(ax - px) >= std::fabs(ay - py) ? v[3] - v[1] : v[2] - v[0];
    if (std::min(over, Norm(ax - px, ay - py)) > across + ExtensionOverView) return true;
  }
  return false;
}

bool TSheetLayout::ViewIntoFrame(double& dx, double& dy) const
{
  double x1 = 1e300, y1 = 1e300, x2 = -1e300, y2 = -1e300;
  for (const auto* lines : {&Segments, &Thin})
    for (const auto& g : *lines)
      x1 = std::min({x1, g[0], g[2]}), y1 = std::min({y1, g[1], g[3]}), x2 = std::max({x2, g[0], g[2]}),
      y2 = std::max({y2, g[1], g[3]});
  // A sign kept where asked stands a millimetre off the frame's line, as a value keeps off a line.
  constexpr double Inside = 1;
  for (const TSign& s : Signs)
    if (s.Kept) {
      const TQuad q = Footprint(s, s.SX, s.SY);
      for (int k = 0; k < 4; ++k)
        x1 = std::min(x1, q.X[k] - Inside), y1 = std::min(y1, q.Y[k] - Inside),
        x2 = std::max(x2, q.X[k] + Inside), y2 = std::max(y2, q.Y[k] + Inside);
    }
  return x1 <= x2 && IntoFrame(x1, y1, x2, y2, dx, dy);
}

void TSheetLayout::Enlarge(double width, double height, double dx, double dy)
{
  if (!On) return;
  Bands.Valid = false, Bands.AxesValid = false;
  const auto shift = [dx, dy](double& x, double& y) { x += dx, y += dy; };
  for (auto* lines : {&Segments, &Thin, &Extensions, &Axes, &Broken, &TextLeaders})
    for (auto& g : *lines)
      shift(g[0], g[1]), shift(g[2], g[3]);
  Boxes.Shift(dx, dy), DimensionLines.Shift(dx, dy);
  // What is still to settle, on the sheet; where it was asked in its container moves with the view.
  for (TSign& s : Signs)
    shift(s.SX, s.SY);
  for (TTitle& t : Titles) {
    for (int k = 0; k < 4; ++k)
      shift(t.Box.X[k], t.Box.Y[k]);
    shift(t.OX, t.OY);
    for (auto& b : t.Branches)
      shift(b[0], b[1]);
  }
  for (TDimension& d : Dimensions)
    shift(d.X1, d.Y1), shift(d.X2, d.Y2), shift(d.SX, d.SY);
  for (TCircleDimension& c : Circles)
    shift(c.CX, c.CY);
  for (TAngle& a : Angles)
    shift(a.X, a.Y);
  for (TArc& a : Arcs)
    shift(a.X, a.Y);
  for (TPlaced& p : Lines)
    p.D += dx * p.Nx + dy * p.Ny;
  W = width, H = height, VX += dx, VY += dy;
  Boxes.Cover(W, H), DimensionLines.Cover(W, H);
  // The title block where the larger sheet has it, in place of the one the views kept off.
  if (!Boxes.empty())
    Boxes.Set(0, Rect(W - FrameMargin - StampWidth, FrameMargin, W - FrameMargin, FrameMargin + StampHeight));
}

bool TSheetLayout::HoldsOn(double width, double height, double& dx, double& dy) const
{
  if (!On || !CrampedOn(width, height, dx, dy)) return true;
  double x1 = 1e300, y1 = 1e300, x2 = -1e300, y2 = -1e300;
  for (const auto* lines : {&Segments, &Thin})
    for (const auto& g : *lines)
      x1 = std::min({x1, g[0], g[2]}), y1 = std::min({y1, g[1], g[3]}), x2 = std::max({x2, g[0], g[2]}),
      y2 = std::max({y2, g[1], g[3]});
  if (!(x1 <= x2)) return false;
  x1 += dx, x2 += dx, y1 += dy, y2 += dy;
  // The least move of [lo, hi] into [from, to] with Room to spare on either side for what stands beside
  // the outlines; none where it is too wide for that.
  const auto into = [](double lo, double hi, double from, double to, double& by) {
    if (hi - lo + 2 * Room > to - from) return false;
    by = lo < from + Room ? from + Room - lo : hi > to - Room ? to - Room - hi : 0.0;
    return true;
  };
  // Into the frame; where that leaves an outline on the title block, above it or beside it instead,
  // whichever moves the view less.
  const double left = FrameLeft, right = width - FrameMargin, bottom = FrameMargin, top = height - FrameMargin;
  double best = 1e300, bx = 0, by = 0;
  const auto consider = [&](double xFrom, double xTo, double yFrom, double yTo) {
    double mx = 0, my = 0;
    if (into(x1, x2, xFrom, xTo, mx) && into(y1, y2, yFrom, yTo, my) && Norm(mx, my) < best &&
        !CrampedOn(width, height, dx + mx, dy + my))
      best = Norm(mx, my), bx = mx, by = my;
  };
  consider(left, right, bottom, top);
  if (best == 1e300) {
    consider(left, right, bottom + StampHeight, top);
    consider(left, right - StampWidth, bottom, top);
  }
  if (best == 1e300) return false;
  dx += bx, dy += by;
  return true;
}

double TSheetLayout::RoomLeft(double width) const
{
  double left = 1e300, right = -1e300;
  for (const auto& g : Segments)
    left = std::min({left, g[0], g[2]}), right = std::max({right, g[0], g[2]});
  if (!(left < FrameLeft + Room) || !(right > left)) return 0;
  return std::max(0.0, std::min(FrameLeft + Room - left, width - FrameMargin - Room - right));
}

void TSheetLayout::PlaceDimensions()
{
  PlaceLinear();
  // The angles' arcs, rays and arrowheads where they went, and their arcs' chords alone.
  std::vector<std::array<double, 4>> arcs, chords;
  PlaceAngles(arcs, chords);
  PlaceCircles(arcs, chords);
}

void TSheetLayout::Settle(const std::function<void(double X1, double Y1, double X2, double Y2)>& carry)
{
  if (!On) return;
  PlaceDimensions();
  for (const TTitle& t : Titles) {
    TQuad at = t.Box;
    double dx = 0, dy = 0;
    // A leader's text also keeps its leader off itself and off the texts.
    std::function<bool(double, double)> leader;
    if (t.Leader) leader = [this, &t](double mx, double my) { return LeaderClear(t, mx, my); };
    if (t.Level && !(Free(at) && (!leader || leader(0, 0)))) {
      double x1 = 1e300, y1 = 1e300, x2 = -1e300, y2 = -1e300;
      for (int k = 0; k < 4; ++k)
        x1 = std::min(x1, at.X[k]), x2 = std::max(x2, at.X[k]), y1 = std::min(y1, at.Y[k]),
        y2 = std::max(y2, at.Y[k]);
      bool found = FreeMove(x1, y1, x2, y2, dx, dy, leader);
      // One asked off the sheet that the sheet did not grow to hold looks again from the nearest place
      // inside the frame.
      double fx = 0, fy = 0;
      if (!found && IntoFrame(x1, y1, x2, y2, fx, fy)) {
        const std::function<bool(double, double)> shifted =
            leader ? std::function<bool(double, double)>(
                         [&leader, fx, fy](double mx, double my) { return leader(mx + fx, my + fy); })
                   : leader;
        found = FreeMove(x1 + fx, y1 + fy, x2 + fx, y2 + fy, dx, dy, shifted);
        if (found) dx += fx, dy += fy;
      }
      if (found && (dx != 0 || dy != 0)) {
        for (int k = 0; k < 4; ++k)
          at.X[k] += dx, at.Y[k] += dy;
        const double a = -t.Turn * Deg, k = 1 / (t.Scale > 0 ? t.Scale : 1);
        t.MoveTo(t.X + k * (std::cos(a) * dx - std::sin(a) * dy),
                 t.Y + k * (std::sin(a) * dx + std::cos(a) * dy));
      }
    }
    if (t.Leader && (dx != 0 || dy != 0))
      for (const auto& [bx, by] : t.Branches)
        FollowLeader({t.OX, t.OY, bx, by}, {t.OX + dx, t.OY + dy, bx, by});
    if (t.Leader) Callouts.push_back({t, Boxes.size(), dx, dy, Thin.size(), TextLeaders.size()});
    Boxes.push_back(at);
    // Its leader, where it settled: no sign's value lies across it, and a sign asked along it stands on it.
    if (t.Leader)
      for (const auto& [bx, by] : t.Branches) {
        Thin.push_back({t.OX + dx, t.OY + dy, bx, by});
        TextLeaders.push_back(Thin.back());
      }
  }
  Titles.clear();
  SettleSigns(carry);
}

void TSheetLayout::Requirements(double& x1, double& y1, double& x2, double& y2, double width,
                                double height) const
{
  if (!On) return;
  // Four lines of requirements under their box's top; failing that, the lines there are.
  const double top = std::max(y1, y2), left = std::min(x1, x2);
  const double wide[2] = {std::fabs(x2 - x1), width}, high[2] = {30, height};
  for (int size = 0; size < 2; ++size) {
    if (!(wide[size] > 0 && high[size] > 0)) continue;
    // Its lines themselves off a detail's broken boundary too, which no outline of the view draws.
    const auto fits = [&](double dx, double dy) {
      const TAgainst lines(Rect(left + dx, top + dy - high[1], left + dx + wide[1], top + dy));
      return Free(Rect(left + dx, top + dy - high[size], left + dx + wide[size], top + dy)) &&
             std::none_of(Broken.begin(), Broken.end(), [&lines](const std::array<double, 4>& g) {
               const double gx[2] = {g[0], g[2]}, gy[2] = {g[1], g[3]};
               return lines.Meets(gx, gy, 2);
             });
    };
    if (fits(0, 0)) return;
    double best = -1, bx = 0, by = 0;
    for (const TMove& m : NearestFirst(5.0, -80, 20, -40, 40))
      if (fits(m.X, m.Y)) {
        best = m.D, bx = m.X, by = m.Y;
        break;
      }
    if (best <= 0) continue;
    x1 += bx, x2 += bx, y1 += by, y2 += by;
    return;
  }
}

void TSheetLayout::TitleLeader(double OX, double OY)
{
  if (!On || Titles.empty()) return;
  Titles.back().Leader = true, Titles.back().OX = OX, Titles.back().OY = OY;
}

void TSheetLayout::OtherSide(const TDimension& d, std::function<void()> to)
{
  if (Dimensions.empty()) return;
  Dimensions.back().Other = std::make_shared<TDimension>(d);
  Dimensions.back().ToOther = std::move(to);
}

void TSheetLayout::TitleBranch(double X, double Y)
{
  if (On && !Titles.empty() && Titles.back().Leader && std::isfinite(X + Y))
    Titles.back().Branches.push_back({X, Y});
}

bool TSheetLayout::LeaderClear(const TTitle& t, double dx, double dy) const
{
  // Its own text shrunk by a tenth: a leader leaving the text's corner only touches it.
  TQuad own = t.Box;
  const double cx = (own.X[0] + own.X[2]) / 2 + dx, cy = (own.Y[0] + own.Y[2]) / 2 + dy;
  for (int k = 0; k < 4; ++k) {
    const double ex = own.X[k] + dx - cx, ey = own.Y[k] + dy - cy, n = Norm(ex, ey),
                 f = n > 0.1 ? (n - 0.1) / n : 0;
    own.X[k] = cx + ex * f, own.Y[k] = cy + ey * f;
  }
  for (const auto& [bx, by] : t.Branches) {
    const double gx[2] = {t.OX + dx, bx}, gy[2] = {t.OY + dy, by};
    if (Overlap(own.X, own.Y, 4, gx, gy, 2)) return false;
    if (std::any_of(Boxes.begin(), Boxes.end(),
                    [&](const TQuad& b) { return Overlap(b.X, b.Y, 4, gx, gy, 2); }))
      return false;
  }
  return true;
}

bool TSheetLayout::FreeMove(double x1, double y1, double x2, double y2, double& dx, double& dy,
                            const std::function<bool(double, double)>& also, double step, double reach) const
{
  dx = dy = 0;
  if (!On) return false;
  // What the dimensions still to settle will take: from their measured points to a value beyond the
  // line asked for, along their span or their value, whichever is longer.
  std::vector<TQuad> pending;
  for (const TDimension& m : Dimensions) {
    const double s1 = m.X1 * m.Nx + m.Y1 * m.Ny, s2 = m.X2 * m.Nx + m.Y2 * m.Ny,
                 asked = m.SX * m.Nx + m.SY * m.Ny;
    const double a = m.X1 * m.Ux + m.Y1 * m.Uy, b = m.X2 * m.Ux + m.Y2 * m.Uy,
                 half = 0.3 * ValueHeight * double(m.Chars);
    const double along[2] = {std::min({a, b, (a + b) / 2 - half}), std::max({a, b, (a + b) / 2 + half})};
    const double across[2] = {std::min(s1, s2), std::max({asked, s1, s2}) + ValueHeight + 2};
    TQuad q;
    for (int k = 0; k < 4; ++k) {
      const double u = along[k == 1 || k == 2], n = across[k >= 2];
      q.X[k] = u * m.Ux + n * m.Nx, q.Y[k] = u * m.Uy + n * m.Ny;
    }
    pending.push_back(q);
  }
  const auto free = [&](const TQuad& q) {
    return Free(q) &&
           std::none_of(pending.begin(), pending.end(), [&q](const TQuad& p) { return Overlap(q, p); });
  };
  if (free(Rect(x1, y1, x2, y2)) && (!also || also(0, 0))) return true;
  const int ni = int(std::lround(reach / step)), nj = int(std::lround(0.7 * reach / step));
  for (const TMove& m : NearestFirst(step, -ni, ni, -nj, nj))
    if (free(Rect(x1 + m.X, y1 + m.Y, x2 + m.X, y2 + m.Y)) && (!also || also(m.X, m.Y))) {
      dx = m.X, dy = m.Y;
      return true;
    }
  return false;
}

bool TSheetLayout::AmongSizes(double x1, double y1, double x2, double y2, double past) const
{
  if (!On) return false;
  const std::vector<std::array<double, 4>> views = ViewBoxes();
  std::vector<std::array<double, 4>> reach = views;
  const auto of = [&views](double x, double y) {
    std::size_t at = views.size();
    for (std::size_t v = 0; v < views.size(); ++v)
      if (x >= views[v][0] - 0.01 && x <= views[v][2] + 0.01 && y >= views[v][1] - 0.01 &&
          y <= views[v][3] + 0.01) {
        if (at != views.size()) return views.size();
        at = v;
      }
    return at;
  };
  const auto grow = [&](double px, double py, double ex, double ey) {
    if (const std::size_t v = of(px, py); v < views.size())
      reach[v] = {std::min({reach[v][0], px, ex}), std::min({reach[v][1], py, ey}),
                  std::max({reach[v][2], px, ex}), std::max({reach[v][3], py, ey})};
  };
  for (const auto& e : Extensions)
    grow(e[0], e[1], e[2], e[3]);
  for (const TDimension& m : Dimensions) {
    const double asked = m.SX * m.Nx + m.SY * m.Ny;
    for (const auto& [px, py] : {std::array{m.X1, m.Y1}, std::array{m.X2, m.Y2}}) {
      const double d = asked - (px * m.Nx + py * m.Ny), l = std::fabs(d);
      if (l > 1e-9) grow(px, py, px + (d + past * d / l) * m.Nx, py + (d + past * d / l) * m.Ny);
    }
  }
  // An angle's rays and arc as asked, from its vertex, and its value beyond the arc with the millimetre it
  // keeps off every line: an arc asked wider than the floor stands there, not at the floor.
  for (const TAngle& g : Angles)
    for (int i = 0; i <= 12; ++i) {
      const double a = (g.A1 + (g.A2 - g.A1) * i / 12) * Deg,
                   r = std::max(g.R, g.Floor) + ValueHeight + 2.0 + past;
      grow(g.X, g.Y, g.X + r * std::cos(a), g.Y + r * std::sin(a));
    }
  return std::any_of(reach.begin(), reach.end(), [&](const std::array<double, 4>& r) {
    return r[0] < x2 && x1 < r[2] && r[1] < y2 && y1 < r[3];
  });
}

bool TSheetLayout::IntoFrame(double x1, double y1, double x2, double y2, double& dx, double& dy) const
{
  dx = dy = 0;
  if (!On) return false;
  const auto into = [](double lo, double hi, double from, double to) {
    return lo < from ? from - lo : hi > to ? std::max(to - hi, from - lo) : 0.0;
  };
  dx = into(x1, x2, FrameLeft, W - FrameMargin), dy = into(y1, y2, FrameMargin, H - FrameMargin);
  return dx != 0 || dy != 0;
}

void TModelerApi::drFreeViewPlace(double& x, double& y, double x1, double y1, double x2, double y2,
                                  double vx1, double vy1, double vx2, double vy2)
{
  if (!Layout.Active() || !AllFinite({x, y, x1, y1, x2, y2, vx1, vy1, vx2, vy2})) return;
  // Asked off the paper, it keeps a step more off the sizes still to settle, which may stack a step out.
  FreePlace(x, y, x1, y1, x2, y2, [&](double X1, double Y1, double, double, bool far) {
    return !Layout.AmongSizes(X1 - x1 + vx1, Y1 - y1 + vy1, X1 - x1 + vx2, Y1 - y1 + vy2, far ? 9.0 : 2.0);
  });
}

void TModelerApi::drFreePlace(double& x, double& y, double x1, double y1, double x2, double y2)
{
  if (!Layout.Active() || !AllFinite({x, y, x1, y1, x2, y2})) return;
  FreePlace(x, y, x1, y1, x2, y2, {});
}

void TModelerApi::FreePlace(double& x, double& y, double x1, double y1, double x2, double y2,
                            const std::function<bool(double, double, double, double, bool)>& also)
{
  double X, Y, dx, dy;
  SheetPoint(x, y, X, Y);
  // A piece asked so far off the paper that no free place lies within reach looks again from the nearest
  // place inside the frame.
  for (int from = 0; from < 2; ++from) {
    double fx = 0, fy = 0;
    if (from == 1 && !Layout.IntoFrame(X + x1, Y + y1, X + x2, Y + y2, fx, fy)) return;
    std::function<bool(double, double)> moved;
    if (also)
      moved = [&](double mx, double my) {
        return also(X + x1 + fx + mx, Y + y1 + fy + my, X + x2 + fx + mx, Y + y2 + fy + my, from == 1);
      };
    if (Layout.FreeMove(X + x1 + fx, Y + y1 + fy, X + x2 + fx, Y + y2 + fy, dx, dy, moved)) {
      dx += fx, dy += fy;
      break;
    }
    if (from == 1) return;
  }
  if (dx == 0 && dy == 0) return;
  // Back into the container: through the view's turn and scale and the library's own placement.
  const double a = -Layout.ViewAngle() * Deg, k = 1 / Layout.ViewScale();
  double vx = k * (std::cos(a) * dx - std::sin(a) * dy), vy = k * (std::sin(a) * dx + std::cos(a) * dy);
  if (!SelfTransform()) {
    const TTransf2D& t = R2D().Transf2D;
    const double s = t.ScaleMtr(), b = -t.AngleMtr() * Deg;
    if (!(s > 0)) return;
    const double ux = (std::cos(b) * vx - std::sin(b) * vy) / s,
                 uy = (std::sin(b) * vx + std::cos(b) * vy) / s;
    vx = ux, vy = uy;
  }
  x += vx, y += vy;
}

void TModelerApi::Title(std::function<void(double, double)> moveTo, double x, double y, double angle,
                        double h, const TString& S)
{
  TSheetLayout::TTitle title = TitleAt(std::move(moveTo), x, y, angle);
  double X, Y;
  SheetPoint(x, y, X, Y);
  title.Box = TSheetLayout::TextBox(X, Y, angle + title.Turn, h * title.Scale, std::size_t(S.Length()));
  Layout.Title(title);
}

TSheetLayout::TTitle TModelerApi::TitleAt(std::function<void(double, double)> moveTo, double x, double y,
                                          double angle) const
{
  TSheetLayout::TTitle title;
  title.MoveTo = std::move(moveTo), title.X = x, title.Y = y;
  title.Scale = (SelfTransform() ? 1.0 : R2D().Transf2D.ScaleMtr()) * Layout.ViewScale();
  title.Turn = (SelfTransform() ? 0.0 : R2D().Transf2D.AngleMtr()) + Layout.ViewAngle();
  title.Level = std::fabs(std::remainder(angle + title.Turn, 360.0)) < 1e-9;
  return title;
}

void TModelerApi::SheetPoint(double x, double y, double& X, double& Y) const
{
  double px = x, py = y;
  if (!SelfTransform()) R2D().Transf2D.xyMtr(x, y, px, py);
  Layout.ToSheet(px, py, X, Y);
}

void TModelerApi::ArcOnSheet(double X, double Y, double R, double x1, double y1, double x2, double y2,
                             bool clockwise, bool outline)
{
  const double from = std::atan2(y1 - Y, x1 - X);
  double sweep = std::atan2(y2 - Y, x2 - X) - from;
  while (sweep <= 0)
    sweep += 2 * TMathDef::C_PI;
  if (clockwise) sweep -= 2 * TMathDef::C_PI;
  const int n = std::clamp(int(std::ceil(std::fabs(sweep) / (5 * Deg))), 1, 72);
  double pX = 0, pY = 0, CX, CY, turned = 0;
  SheetPoint(X, Y, CX, CY);
  for (int i = 0; i <= n; ++i) {
    const double a = from + sweep * i / n;
    double sX, sY;
    SheetPoint(X + R * std::cos(a), Y + R * std::sin(a), sX, sY);
    // On the sheet it turns by each chord's angle, less than half a turn each.
    if (i > 0 && outline) Layout.Outline(pX, pY, sX, sY);
    if (i > 0)
      turned +=
          std::remainder(std::atan2(sY - CY, sX - CX) - std::atan2(pY - CY, pX - CX), 2 * TMathDef::C_PI);
    pX = sX, pY = sY;
  }
  double sX, sY;
  SheetPoint(X + R * std::cos(from), Y + R * std::sin(from), sX, sY);
  Layout.Arc(CX, CY, Norm(sX - CX, sY - CY), std::atan2(sY - CY, sX - CX) / Deg, turned / Deg, outline);
}

void TModelerApi::LineDimensionOnSheet(double Dx, double Dy, double a, double x1, double y1, double x2,
                                       double y2, int chars, double lineX, double lineY)
{
  const bool parallel = Dx != 0.0 && Dy != 0.0;
  const double sx = std::cos(a), sy = std::sin(a);
  double ux = parallel ? x2 - x1 : std::fabs(sx) < std::fabs(sy) ? 1 : 0, uy = parallel ? y2 - y1 : 1 - ux;
  const double len = Norm(ux, uy);
  if (!(len > 0)) return;
  ux /= len, uy /= len;
  const double flip = -uy * sx + ux * sy >= 0 ? 1 : -1, nx = -uy * flip, ny = ux * flip;
  double X1, Y1, X2, Y2, OX, OY, UX, UY, NX, NY;
  SheetPoint(x1, y1, X1, Y1), SheetPoint(x2, y2, X2, Y2), SheetPoint(x1 + ux, y1 + uy, UX, UY);
  SheetPoint(x1 + nx, y1 + ny, NX, NY), SheetPoint(x1, y1, OX, OY);
  UX -= OX, UY -= OY, NX -= OX, NY -= OY;
  const double ul = Norm(UX, UY), nl = Norm(NX, NY);
  if (!(ul > 0) || !(nl > 0)) return;
  double LX = lineX, LY = lineY;
  if (std::isfinite(lineX + lineY)) SheetPoint(lineX, lineY, LX, LY);
  Layout.LineDimension(X1, Y1, X2, Y2, UX / ul, UY / ul, NX / nl, NY / nl, std::size_t(std::max(chars, 0)),
                       LX, LY);
}

void TModelerApi::SettleDimension(const txapi::SmartPtr<txapi::ILineDimension>& d, bool alongX, double x1,
                                  double y1, double x2, double y2, double lineX, double lineY,
                                  const TString& before, const TString& after, int valueSide)
{
  TSheetLayout::TDimension m;
  if (!MadeDimension(m, d, alongX, x1, y1, x2, y2, lineX, lineY, before, after, valueSide)) return;
  Layout.Dimension(m);
  SettledLast = {d, alongX, x1, y1, x2, y2, lineX, lineY, before, after, valueSide, Layout.LinearCount()};
}

bool TModelerApi::MadeDimension(TSheetLayout::TDimension& m, const txapi::SmartPtr<txapi::ILineDimension>& d,
                                bool alongX, double x1, double y1, double x2, double y2, double lineX,
                                double lineY, const TString& before, const TString& after, int valueSide)
{
  m.Side = valueSide;
  m.LX = lineX, m.LY = lineY;
  // Towards the line from the farther measured point.
  const double across = alongX ? lineY - std::max(y1, y2) : lineX - std::max(x1, x2);
  const double nearer = alongX ? lineY - std::min(y1, y2) : lineX - std::min(x1, x2);
  const double side = across >= 0 && nearer >= 0 ? 1 : -1;
  m.CNx = alongX ? 0 : side, m.CNy = alongX ? side : 0;
  double OX, OY, UX, UY, NX, NY;
  SheetPoint(x1, y1, m.X1, m.Y1), SheetPoint(x2, y2, m.X2, m.Y2), SheetPoint(lineX, lineY, m.SX, m.SY);
  SheetPoint(0, 0, OX, OY), SheetPoint(alongX ? 1 : 0, alongX ? 0 : 1, UX, UY),
      SheetPoint(m.CNx, m.CNy, NX, NY);
  UX -= OX, UY -= OY, NX -= OX, NY -= OY;
  const double ul = Norm(UX, UY), nl = Norm(NX, NY);
  if (!(ul > 0) || !(nl > 0)) return false;
  m.Ux = UX / ul, m.Uy = UY / ul, m.Nx = NX / nl, m.Ny = NY / nl, m.Scale = nl, m.UScale = ul;
  m.MoveValue = [d, alongX, x1, y1, x2, y2](double k) {
    if (alongX) {
      d->SetTextX((x1 + x2) / 2 + k);
      d->SetTextY(d->GetLineY());
    } else {
      d->SetTextX(d->GetLineX());
      d->SetTextY((y1 + y2) / 2 + k);
    }
    d->Update();
  };
  m.Chars = Shown(before) + Shown(alongX ? x2 - x1 : y2 - y1) + Shown(after);
  m.MoveLine = [d](double x, double y) {
    d->SetLinePoint(x, y);
    d->Update();
  };
  return true;
}

void TModelerApi::drDimOtherSide(double x1, double y1, double x2, double y2)
{
  const TSettledLast& s = SettledLast;
  if (!Layout.Active() || !s.D || s.Count == 0 || s.Count != Layout.LinearCount() ||
      !AllFinite({x1, y1, x2, y2}))
    return;
  // As far beyond the points as the line asked beyond its own, away from them.
  const double a1 = s.AlongX ? s.Y1 : s.X1, a2 = s.AlongX ? s.Y2 : s.X2, b1 = s.AlongX ? y1 : x1,
               b2 = s.AlongX ? y2 : x2, line = s.AlongX ? s.LineY : s.LineX;
  const double off = std::min(std::fabs(line - std::min(a1, a2)), std::fabs(line - std::max(a1, a2)));
  const bool up = b1 + b2 > a1 + a2;
  const double to = up ? std::max(b1, b2) + off : std::min(b1, b2) - off;
  const double lineX = s.AlongX ? x1 : to, lineY = s.AlongX ? to : y1;
  TSheetLayout::TDimension m;
  if (!MadeDimension(m, s.D, s.AlongX, x1, y1, x2, y2, lineX, lineY, s.Before, s.After, s.ValueSide)) return;
  const txapi::SmartPtr<txapi::ILineDimension> d = s.D;
  Layout.OtherSide(m, [d, x1, y1, x2, y2, lineX, lineY] {
    d->SetPoint1(x1, y1);
    d->SetPoint2(x2, y2);
    d->SetLinePoint(lineX, lineY);
    d->Update();
  });
}

void TModelerApi::SettleCircle(std::function<void(double, double, bool)> turn, bool diameter, double xc,
                               double yc, double r, double shift, const TString& before, const TString& after,
                               double asked, std::function<void()> shorten)
{
  TSheetLayout::TCircleDimension c;
  c.Shorten = std::move(shorten);
  c.Turn = std::move(turn), c.Diameter = diameter, c.R = std::fabs(r), c.Shift = std::fabs(shift);
  SheetPoint(xc, yc, c.CX, c.CY);
  if (std::isfinite(asked)) {
    double X, Y;
    SheetPoint(xc + std::cos(asked * Deg), yc + std::sin(asked * Deg), X, Y);
    c.Asked = true, c.AskedAngle = std::atan2(Y - c.CY, X - c.CX) / Deg, c.AskedIn = asked;
  }
  SheetPoint(xc + 1, yc, c.ExX, c.ExY), SheetPoint(xc, yc + 1, c.EyX, c.EyY);
  c.ExX -= c.CX, c.ExY -= c.CY, c.EyX -= c.CX, c.EyY -= c.CY;
  // A host writes its own sign before the value unless the text before it holds one.
  std::string b;
  for (int i = 0; i < before.Length(); ++i)
    b += char(before[i]);
  const bool sign = diameter ? b.find("&02") == std::string::npos && (b.empty() || b.back() != 'M')
                             : b.empty() || b.back() != 'R';
  c.Chars = Shown(before) + (sign ? 1 : 0) + Shown(diameter ? 2 * r : r) + Shown(after);
  Layout.Dimension(c);
}

} // namespace drApi
