// Where what the library places on a mould sheet goes: where the part's drawing asks for it when that
// is free, else the nearest place inside the frame that keeps off the views' outlines and hatching, the
// texts, the dimension values and whatever was settled before.

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <string>
#include <utility>

#include "hxcadkit/adapter/drModelerAPI.h"
#include "txapi/IRadialDimension.h"
#include "txapi/IRoughParams.h"

namespace drApi {

namespace {

constexpr double Deg = TMathDef::C_PI / 180.0;
// The frame's margins (the binding margin on the left) and the title block's size.
constexpr double FrameLeft = 20, FrameMargin = 5, StampWidth = 185, StampHeight = 55;
// A roughness sign as a sheet draws it: its arms, its shelf and the value 3.5 high on the shelf.
constexpr double SignArm = 2.5, SignShelfEnd = 17, SignValueFrom = 6, SignTop = 13.2, ValueHeight = 3.5;
// The least gap between a sign's tip and a text beyond the line it stands on.
constexpr double TipGap = 1.5;

using TQuad = TSheetLayout::TQuad;

TQuad Rect(double x1, double y1, double x2, double y2)
{
  return {{x1, x2, x2, x1}, {y1, y1, y2, y2}};
}

// The quad (x1..x2, y1..y2) of a frame at (X, Y) turned by angle degrees.
TQuad Turned(double X, double Y, double angle, double x1, double y1, double x2, double y2)
{
  const double c = std::cos(angle * Deg), s = std::sin(angle * Deg);
  TQuad q = Rect(x1, y1, x2, y2), out;
  for (int k = 0; k < 4; ++k) {
    out.X[k] = X + c * q.X[k] - s * q.Y[k];
    out.Y[k] = Y + s * q.X[k] + c * q.Y[k];
  }
  return out;
}

// Whether two convex polygons of n and m corners overlap: no edge of either separates them.
bool Overlap(const double* ax, const double* ay, int n, const double* bx, const double* by, int m)
{
  for (int side = 0; side < 2; ++side) {
    const double* px = side == 0 ? ax : bx;
    const double* py = side == 0 ? ay : by;
    const int count = side == 0 ? n : m;
    for (int i = 0; i < count; ++i) {
      const int j = (i + 1) % count;
      const double nx = py[i] - py[j], ny = px[j] - px[i];
      if (nx == 0 && ny == 0) continue;
      double amin = 1e300, amax = -1e300, bmin = 1e300, bmax = -1e300;
      for (int k = 0; k < n; ++k)
        amin = std::min(amin, nx * ax[k] + ny * ay[k]), amax = std::max(amax, nx * ax[k] + ny * ay[k]);
      for (int k = 0; k < m; ++k)
        bmin = std::min(bmin, nx * bx[k] + ny * by[k]), bmax = std::max(bmax, nx * bx[k] + ny * by[k]);
      if (amax <= bmin || bmax <= amin) return false;
    }
  }
  return true;
}

// Whether the segments a and b (x1, y1, x2, y2) cross more than 0.2 mm from each one's ends, or run
// along each other: a line that ends on another (an arrow on an extension line) only touches it.
bool LinesCross(const std::array<double, 4>& a, const std::array<double, 4>& b)
{
  const double ux = a[2] - a[0], uy = a[3] - a[1], vx = b[2] - b[0], vy = b[3] - b[1];
  const double la = std::hypot(ux, uy), lb = std::hypot(vx, vy), wx = b[0] - a[0], wy = b[1] - a[1];
  if (!(la > 0.4) || !(lb > 0.4)) return false;
  const double den = ux * vy - uy * vx;
  if (std::fabs(den) < 1e-9 * la * lb) {
    if (std::fabs(wx * uy - wy * ux) / la > 0.05) return false;
    const double t0 = (wx * ux + wy * uy) / la, t1 = t0 + (vx * ux + vy * uy) / la;
    return std::max(std::min(t0, t1), 0.0) + 0.2 < std::min(std::max(t0, t1), la);
  }
  const double t = (wx * vy - wy * vx) / den * la, s = (wx * uy - wy * ux) / den * lb;
  return t > 0.2 && la - t > 0.2 && s > 0.2 && lb - s > 0.2;
}

// Whether the segment a runs across the circle about (X, Y) of radius R more than 0.2 mm from its ends;
// one through the centre sizes or aligns with it and does not count.
bool LineAcrossCircle(const std::array<double, 4>& a, double X, double Y, double R)
{
  const double ux = a[2] - a[0], uy = a[3] - a[1], la = std::hypot(ux, uy);
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
  const double ux = a[2] - a[0], uy = a[3] - a[1], la = std::hypot(ux, uy);
  if (!(la > 0.4)) return false;
  const double wx = X - a[0], wy = Y - a[1], along = (wx * ux + wy * uy) / la;
  return std::fabs(wx * uy - wy * ux) / la < 0.05 && along > 0.2 && la - along > 0.2;
}

// Whether the segment a runs across the piece b of a line drawn in chords (an angle's arc), more than
// 0.2 mm from a's ends: a line through the joint of two chords crosses the arc there.
bool LineAcrossPiece(const std::array<double, 4>& a, const std::array<double, 4>& b)
{
  const double ux = a[2] - a[0], uy = a[3] - a[1], vx = b[2] - b[0], vy = b[3] - b[1];
  const double la = std::hypot(ux, uy), lb = std::hypot(vx, vy), wx = b[0] - a[0], wy = b[1] - a[1];
  const double den = ux * vy - uy * vx;
  if (!(la > 0.4) || !(lb > 0) || std::fabs(den) < 1e-9 * la * lb) return LinesCross(a, b);
  const double t = (wx * vy - wy * vx) / den * la, s = (wx * uy - wy * ux) / den;
  return t > 0.2 && la - t > 0.2 && s >= 0 && s <= 1;
}

// Whether the line from (A1x, A1y) to (A2x, A2y), drawn on to (E1x, E1y) before it and (E2x, E2y) past it
// under a value slid past an end, has those run-ons clear of every extension line and every settled
// dimension line but its own (own) and of the extension lines of the dimensions still to come from the
// one at from on, nor runs across a roughness sign where it was asked (signs settle after the dimensions,
// where asked when free). A run-on starting on its arrow only touches a line through the arrow.
template <class TLines>
bool RunOnClear(double A1x, double A1y, double A2x, double A2y, double E1x, double E1y, double E2x, double E2y,
                const std::vector<std::array<double, 4>>& extensions, const TLines& settled, std::size_t own,
                const std::vector<std::vector<std::array<double, 4>>>& coming, std::size_t from,
                const std::vector<TQuad>& signs)
{
  std::array<std::array<double, 4>, 2> pieces;
  std::size_t count = 0;
  if (std::hypot(E1x - A1x, E1y - A1y) > 0.3) pieces[count++] = {A1x, A1y, E1x, E1y};
  if (std::hypot(E2x - A2x, E2y - A2y) > 0.3) pieces[count++] = {A2x, A2y, E2x, E2y};
  for (std::size_t piece = 0; piece < count; ++piece) {
    const std::array<double, 4>& p = pieces[piece];
    const auto across = [&p](const std::array<double, 4>& o) { return LinesCross(p, o); };
    const double px[2] = {p[0], p[2]}, py[2] = {p[1], p[3]};
    if (std::any_of(signs.begin(), signs.end(),
                    [&](const TQuad& q) { return Overlap(q.X, q.Y, 4, px, py, 2); }))
      return false;
    if (std::any_of(extensions.begin(), extensions.end(), across)) return false;
    for (std::size_t k = 0; k < settled.size(); ++k)
      if (k != own && across({settled[k].X1, settled[k].Y1, settled[k].X2, settled[k].Y2})) return false;
    for (std::size_t j = from; j < coming.size(); ++j)
      if (std::any_of(coming[j].begin(), coming[j].end(), across)) return false;
  }
  return true;
}

bool Overlap(const TQuad& a, const TQuad& b)
{
  return Overlap(a.X, a.Y, 4, b.X, b.Y, 4);
}

// The box q (corners in order round it) grown by d along both its edges' directions.
TQuad Grown(const TQuad& q, double d)
{
  TQuad g = q;
  for (int k = 0; k < 4; ++k)
    for (const int o : {(k + 1) % 4, (k + 3) % 4}) {
      const double ex = q.X[k] - q.X[o], ey = q.Y[k] - q.Y[o], l = std::hypot(ex, ey);
      if (l > 0) g.X[k] += d * ex / l, g.Y[k] += d * ey / l;
    }
  return g;
}

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

// A sign on a line slides along it, the nearer the better. One asked off every line moves anywhere:
// lifting it away from the part counts double, towards the part only when nothing else fits. The same
// moves in the same order for every sign on every sheet: ordered once.
const std::vector<std::pair<double, double>>& SignMoves()
{
  static const std::vector<std::pair<double, double>> moves = [] {
    std::vector<std::pair<double, double>> all;
    for (int t = -60; t <= 60; ++t)
      for (int u = -40; u <= 40; ++u)
        all.emplace_back(t, u);
    const auto cost = [](const std::pair<double, double>& m) {
      return std::hypot(m.first, 2 * m.second) + (m.second < 0 ? 1000 : 0);
    };
    std::stable_sort(all.begin(), all.end(),
                     [&cost](const auto& p, const auto& q) { return cost(p) < cost(q); });
    return all;
  }();
  return moves;
}

} // namespace

void TSheetLayout::Begin(double width, double height, double x, double y, double angle, double scale)
{
  On = std::isfinite(width) && std::isfinite(height) && width > 0 && height > 0;
  W = width, H = height, VX = x, VY = y, VA = angle, VS = scale != 0 && std::isfinite(scale) ? scale : 1;
  Segments.clear(), Boxes.clear(), Signs.clear(), Lines.clear(), Areas.clear(), Titles.clear();
  Dimensions.clear(), Circles.clear(), Angles.clear(), DimensionLines.clear(), Settled.clear();
  Extensions.clear(), Thin.clear(), Axes.clear(), Leaders.clear(), Arcs.clear(), CircleLines.clear();
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
  if (On && std::isfinite(X1 + Y1 + X2 + Y2)) Segments.push_back({X1, Y1, X2, Y2});
}

void TSheetLayout::Arc(double X, double Y, double R, double From, double Sweep, bool outline)
{
  if (On && std::isfinite(X + Y + R + From + Sweep)) Arcs.push_back({X, Y, R, From, Sweep, outline});
}

void TSheetLayout::ThinLine(double X1, double Y1, double X2, double Y2, bool carries)
{
  if (!On || !std::isfinite(X1 + Y1 + X2 + Y2)) return;
  Thin.push_back({X1, Y1, X2, Y2});
  if (carries)
    Extensions.push_back({X1, Y1, X2, Y2});
  else
    Axes.push_back({X1, Y1, X2, Y2});
}

void TSheetLayout::EndArea()
{
  if (On && AreaFrom < Segments.size()) Areas.emplace_back(AreaFrom, Segments.size());
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
  const double a = X1 * Ux + Y1 * Uy, b = X2 * Ux + Y2 * Uy, text = 0.6 * ValueHeight * double(chars);
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

TQuad TSheetLayout::Footprint(const TSign& s, double X, double Y) const
{
  const double value = 0.6 * ValueHeight * double(s.Chars);
  const double a = std::remainder(s.SAngle, 360.0);
  // A sign turned past upright is read from its shelf's far end.
  const bool turned = a > 90.001 || a < -89.999;
  const double x1 = turned ? std::min(-SignArm, SignShelfEnd - value) : -SignArm;
  const double x2 = turned ? SignShelfEnd : std::max(SignShelfEnd, SignValueFrom + value);
  // The surface the sign stands on runs through its tip: not something it lies on.
  return Turned(X, Y, s.SAngle, x1, 0.05, x2, SignTop);
}

TQuad TSheetLayout::SignValue(const TSign& s, double X, double Y) const
{
  const double value = 0.6 * ValueHeight * double(s.Chars);
  const double a = std::remainder(s.SAngle, 360.0);
  const bool turned = a > 90.001 || a < -89.999;
  // A millimetre above the shelf, from its far end when read that way.
  const double shelf = SignTop - ValueHeight - 1;
  return Turned(X, Y, s.SAngle, turned ? SignShelfEnd - value : SignValueFrom, shelf + 1,
                turned ? SignShelfEnd : SignValueFrom + value, SignTop);
}

bool TSheetLayout::StrokesClear(const TSign& s, double X, double Y) const
{
  // In the sign's frame, its base along x from the tip: the short arm, the long arm and the shelf, each
  // taken half a millimetre on past its free end, so that a line passing there is kept apart from it.
  constexpr double On = 0.5, Rise = SignArm * 1.7320508075688772;
  const double c = std::cos(s.SAngle * Deg), n = std::sin(s.SAngle * Deg);
  const auto stroke = [&](double x1, double y1, double x2, double y2) {
    return std::array<double, 4>{X + c * x1 - n * y1, Y + n * x1 + c * y1, X + c * x2 - n * y2,
                                 Y + n * x2 + c * y2};
  };
  const double arm = On / (2 * SignArm);
  const std::array<std::array<double, 4>, 3> strokes{
      stroke(0, 0, -SignArm * (1 + arm), Rise * (1 + arm)),
      stroke(0, 0, 2 * SignArm * (1 + arm / 2), 2 * Rise * (1 + arm / 2)),
      stroke(2 * SignArm, 2 * Rise, SignShelfEnd + On, 2 * Rise)};
  const auto across = [&strokes](const std::array<double, 4>& g) {
    return std::any_of(strokes.begin(), strokes.end(),
                       [&g](const std::array<double, 4>& t) { return LinesCross(t, g); });
  };
  // Its tip on a dimension line would read as that line's sign, whatever its strokes cross.
  const auto onLine = [X, Y](const std::array<double, 4>& g) {
    const double ux = g[2] - g[0], uy = g[3] - g[1], l2 = ux * ux + uy * uy;
    const double t = l2 > 0 ? std::clamp(((X - g[0]) * ux + (Y - g[1]) * uy) / l2, 0.0, 1.0) : 0;
    return std::hypot(X - g[0] - t * ux, Y - g[1] - t * uy) < On;
  };
  for (const TSettled& p : Settled) {
    const std::array<double, 4> g{p.X1, p.Y1, p.X2, p.Y2};
    if (across(g) || onLine(g)) return false;
  }
  for (const auto* lines : {&Extensions, &CircleLines, &Thin})
    if (std::any_of(lines->begin(), lines->end(), across)) return false;
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

bool TSheetLayout::SignClear(const TSign& s, double X, double Y) const
{
  return StrokesClear(s, X, Y) && !Crossed(Grown(SignValue(s, X, Y), 1));
}

bool TSheetLayout::Free(const TQuad& q, bool within) const
{
  for (int k = 0; k < 4; ++k)
    if (q.X[k] < FrameLeft || q.X[k] > W - FrameMargin || q.Y[k] < FrameMargin || q.Y[k] > H - FrameMargin)
      return false;
  if (!Clear(q)) return false;
  if (std::any_of(Boxes.begin(), Boxes.end(), [&q](const TQuad& b) { return Overlap(q, b); })) return false;
  if (std::any_of(DimensionLines.begin(), DimensionLines.end(),
                  [&q](const TQuad& b) { return Overlap(q, b); }))
    return false;
  // Nor inside a view.
  const double cx = (q.X[0] + q.X[2]) / 2, cy = (q.Y[0] + q.Y[2]) / 2;
  if (!within && Within(cx, cy)) return false;
  // Nor inside a hatched area (its middle inside its outlines by even-odd).
  for (const auto& [from, to] : Areas) {
    bool in = false;
    for (std::size_t i = from; i < to; ++i) {
      const auto& s = Segments[i];
      if ((s[1] > cy) != (s[3] > cy) && cx < (s[2] - s[0]) * (cy - s[1]) / (s[3] - s[1]) + s[0]) in = !in;
    }
    if (in) return false;
  }
  return true;
}

bool TSheetLayout::Within(double cx, double cy) const
{
  // Outlines on all four sides of it.
  bool left = false, right = false, below = false, above = false;
  for (const auto& g : Segments) {
    if ((g[1] > cy) != (g[3] > cy)) {
      const double x = g[0] + (g[2] - g[0]) * (cy - g[1]) / (g[3] - g[1]);
      (x < cx ? left : right) = true;
    }
    if ((g[0] > cx) != (g[2] > cx)) {
      const double y = g[1] + (g[3] - g[1]) * (cx - g[0]) / (g[2] - g[0]);
      (y < cy ? below : above) = true;
    }
  }
  return left && right && below && above;
}

bool TSheetLayout::Clear(const TQuad& q) const
{
  const double x1 = std::min({q.X[0], q.X[1], q.X[2], q.X[3]}),
               x2 = std::max({q.X[0], q.X[1], q.X[2], q.X[3]});
  const double y1 = std::min({q.Y[0], q.Y[1], q.Y[2], q.Y[3]}),
               y2 = std::max({q.Y[0], q.Y[1], q.Y[2], q.Y[3]});
  for (const auto& s : Segments) {
    if (std::max(s[0], s[2]) < x1 || std::min(s[0], s[2]) > x2 || std::max(s[1], s[3]) < y1 ||
        std::min(s[1], s[3]) > y2)
      continue;
    const double sx[2] = {s[0], s[2]}, sy[2] = {s[1], s[3]};
    if (Overlap(q.X, q.Y, 4, sx, sy, 2)) return false;
  }
  return true;
}

void TSheetLayout::PlaceDimensions()
{
  // Parallel dimension lines stand at least this far apart, as a draftsman spaces them; the search goes
  // in half millimetres, outwards first, at most this far from the offset asked for.
  constexpr double Spacing = 7, Step = 0.5, Reach = 160, Gap = 1, Near = 10;
  std::vector<TValue> values;
  const std::vector<std::array<double, 4>> views = ViewBoxes();
  // Whether an extension line from a measured point (X, Y) to (AX, AY) and 2 past runs through a view
  // other than the one it measures.
  const auto throughOther = [&views](double X, double Y, double AX, double AY) {
    const double l = std::hypot(AX - X, AY - Y);
    if (!(l > 1e-9)) return false;
    const double ex[2] = {X, AX + (AX - X) / l * 2}, ey[2] = {Y, AY + (AY - Y) / l * 2};
    return std::any_of(views.begin(), views.end(), [&](const std::array<double, 4>& v) {
      if (X >= v[0] - 0.01 && X <= v[2] + 0.01 && Y >= v[1] - 0.01 && Y <= v[3] + 0.01) return false;
      const TQuad q = Rect(v[0], v[1], v[2], v[3]);
      return Overlap(q.X, q.Y, 4, ex, ey, 2);
    });
  };
  // The extension lines of the dimensions still to settle, to their lines as asked and 2 past.
  std::vector<std::vector<std::array<double, 4>>> coming;
  for (const TDimension& m : Dimensions) {
    std::vector<std::array<double, 4>> lines;
    const double asked = m.SX * m.Nx + m.SY * m.Ny;
    for (const auto& [px, py] : {std::array{m.X1, m.Y1}, std::array{m.X2, m.Y2}}) {
      const double d = asked - (px * m.Nx + py * m.Ny), l = std::fabs(d);
      if (l > 1e-9) lines.push_back({px, py, px + (d + 2 * d / l) * m.Nx, py + (d + 2 * d / l) * m.Ny});
    }
    coming.push_back(std::move(lines));
  }
  // The roughness signs where they were asked, which a line run on under a value keeps off.
  std::vector<TQuad> signs;
  for (const TSign& g : Signs)
    signs.push_back(Footprint(g, g.SX, g.SY));
  for (std::size_t i = 0; i < Dimensions.size(); ++i) {
    const TDimension& m = Dimensions[i];
    const double ux = m.Ux, uy = m.Uy, nx = m.Nx, ny = m.Ny;
    const double s1 = m.X1 * nx + m.Y1 * ny, s2 = m.X2 * nx + m.Y2 * ny, asked = m.SX * nx + m.SY * ny;
    const double len = 0.6 * ValueHeight * double(m.Chars);
    // Where the host puts the line at offset d, its value above its middle as it is read.
    struct TAt
    {
      // The line, and the line short of its arrows' points: a line across the part from outline to
      // outline crosses none.
      TQuad Value, Line, Between;
      double A1x, A1y, A2x, A2y, From, To, E1x = 0, E1y = 0, E2x = 0, E2y = 0;
    };
    // The value slid along the line by slide from above its middle (past an end where it does not fit).
    const auto at = [&](double d, double slide = 0) {
      TAt r;
      r.A1x = m.X1 + (d - s1) * nx, r.A1y = m.Y1 + (d - s1) * ny;
      r.A2x = m.X2 + (d - s2) * nx, r.A2y = m.Y2 + (d - s2) * ny;
      const double L = std::hypot(r.A2x - r.A1x, r.A2y - r.A1y);
      const double line = L > 0 ? std::atan2(r.A2y - r.A1y, r.A2x - r.A1x) / Deg : std::atan2(uy, ux) / Deg;
      double read = line;
      if (read > 90.001 || read < -89.999) read += 180;
      const double c = std::cos(read * Deg), s = std::sin(read * Deg);
      const double mx = (r.A1x + r.A2x) / 2 - s + slide * ux, my = (r.A1y + r.A2y) / 2 + c + slide * uy;
      r.Value = Turned(mx, my, read, -len / 2, 0, len / 2, ValueHeight);
      r.Between = L > 1 ? Turned(r.A1x, r.A1y, line, 0.5, -0.3, L - 0.5, 0.3)
                        : Turned(r.A1x, r.A1y, line, 0, -0.3, L, 0.3);
      // A value past an end has the line run on under it.
      const double run = L > 0 ? ((mx - r.A1x) * (r.A2x - r.A1x) + (my - r.A1y) * (r.A2y - r.A1y)) / L : 0;
      r.Line = Turned(r.A1x, r.A1y, line, slide != 0 ? std::min(0.0, run - len / 2) : 0, -0.3,
                      slide != 0 ? std::max(L, run + len / 2) : L, 0.3);
      const double mid = mx * ux + my * uy, a = r.A1x * ux + r.A1y * uy, b = r.A2x * ux + r.A2y * uy;
      r.From = std::min({a, b, mid - len / 2}), r.To = std::max({a, b, mid + len / 2});
      // Where the line is drawn: on under a value past an end.
      const double e0 = slide != 0 && L > 0 ? std::min(0.0, run - len / 2) / L : 0,
                   e1 = slide != 0 && L > 0 ? std::max(L, run + len / 2) / L : 1;
      r.E1x = r.A1x + e0 * (r.A2x - r.A1x), r.E1y = r.A1y + e0 * (r.A2y - r.A1y);
      r.E2x = r.A1x + e1 * (r.A2x - r.A1x), r.E2y = r.A1y + e1 * (r.A2y - r.A1y);
      return r;
    };
    const auto spaced = [&](const TAt& r) {
      for (const TSettled& p : Settled) {
        const double lx = p.X2 - p.X1, ly = p.Y2 - p.Y1, l = std::hypot(lx, ly);
        if (l > 0 && std::fabs(lx * nx + ly * ny) > 1e-4 * l) continue;
        const double a = p.X1 * ux + p.Y1 * uy, b = p.X2 * ux + p.Y2 * uy;
        // Its value's reach along it, in this line's direction.
        const double sign = lx * ux + ly * uy >= 0 ? 1 : -1, from = std::min(a, b) - 0, to = std::max(a, b);
        const double vFrom = sign > 0 ? std::min(from, p.From) : std::min(from, -p.To),
                     vTo = sign > 0 ? std::max(to, p.To) : std::max(to, -p.From);
        if (vTo + Gap < r.From || r.To + Gap < vFrom) continue;
        if (std::fabs((p.X1 - r.A1x) * nx + (p.Y1 - r.A1y) * ny) < Spacing - 1e-9) return false;
      }
      return true;
    };
    const auto inFrame = [&](const TAt& r) { return InFrame(r.A1x, r.A1y, 0) && InFrame(r.A2x, r.A2y, 0); };
    // Never nearer the part than the offset asked for, or than a spacing beyond it when that lies farther.
    const double lowest = std::min(asked, std::max(s1, s2) + Spacing);
    // The best offsets found: clear of everything, then with the line over the drawing, then nearer
    // another line than the spacing, then only inside the frame.
    // Whether an arc drawn (in chords of at most 10 degrees) crosses q.
    const auto arcCrosses = [](const TArc& a, const TQuad& q) {
      const int n = std::clamp(int(std::ceil(std::fabs(a.Sweep) / 10)), 1, 36);
      for (int i = 0; i < n; ++i) {
        const double u = (a.From + a.Sweep * i / n) * Deg, v = (a.From + a.Sweep * (i + 1) / n) * Deg;
        const double gx[2] = {a.X + a.R * std::cos(u), a.X + a.R * std::cos(v)},
                     gy[2] = {a.Y + a.R * std::sin(u), a.Y + a.R * std::sin(v)};
        if (Overlap(q.X, q.Y, 4, gx, gy, 2)) return true;
      }
      return false;
    };
    // A line run on past an arrow under its value crosses no extension line nor dimension line, settled
    // or still to come: a value slid past an end takes the side, or the offset, where its run-on is
    // clear, as a draftsman keeps a value that does not fit between its arrows off the lines beside it.
    const auto runOnClear = [&](const TAt& r) {
      return RunOnClear(r.A1x, r.A1y, r.A2x, r.A2y, r.E1x, r.E1y, r.E2x, r.E2y, Extensions, Settled,
                        Settled.size(), coming, i + 1, signs);
    };
    double best[4] = {NAN, NAN, NAN, NAN}, slid[4] = {0, 0, 0, 0};
    // While a line asked across a hollow section is tried there: its line crosses the bore's outlines.
    bool acrossBore = false, runOnStrict = true;
    const auto consider = [&](double d, double slide) {
      const TAt r = at(d, slide);
      if (!inFrame(r)) return;
      bool framed = true;
      for (int k = 0; k < 4; ++k)
        framed = framed && InFrame(r.Value.X[k], r.Value.Y[k], 0);
      if (!framed) return;
      // A value past an end stands beside the part: clear of its thin arcs too (a callout's circle).
      if (!Free(r.Value) || (slide != 0 && std::any_of(Arcs.begin(), Arcs.end(), [&](const TArc& a) {
                               return arcCrosses(a, r.Value);
                             }))) {
        if (std::isnan(best[3])) best[3] = d, slid[3] = slide;
        return;
      }
      // Clean also where no thin line of the view (an axis running past the part) crosses its value.
      const auto thin = [&r](const std::array<double, 4>& g) {
        const double gx[2] = {g[0], g[2]}, gy[2] = {g[1], g[3]};
        return Overlap(r.Value.X, r.Value.Y, 4, gx, gy, 2);
      };
      // Nor one along its line (which its value cannot slide off) of a dimension still to settle.
      const auto along = [&](const std::array<double, 4>& g) {
        const double gx = g[2] - g[0], gy = g[3] - g[1];
        return std::fabs(gx * uy - gy * ux) < 1e-6 * std::hypot(gx, gy) && thin(g);
      };
      bool later = false;
      for (std::size_t j = i + 1; j < coming.size() && !later; ++j)
        later = std::any_of(coming[j].begin(), coming[j].end(), along);
      const bool apart = spaced(r) && !AlongOutline(r.A1x, r.A1y, r.A2x, r.A2y) &&
                         !throughOther(m.X1, m.Y1, r.A1x, r.A1y) && !throughOther(m.X2, m.Y2, r.A2x, r.A2y) &&
                         !later;
      const bool clean =
          apart && (acrossBore || Clear(r.Between)) &&
          std::none_of(Boxes.begin(), Boxes.end(), [&r](const TQuad& b) { return Overlap(r.Line, b); }) &&
          std::none_of(Thin.begin(), Thin.end(), thin) && (!runOnStrict || runOnClear(r));
      const int tier = clean ? 0 : apart ? 1 : 2;
      if (std::isnan(best[tier])) best[tier] = d, slid[tier] = slide;
    };
    const int steps = int(Reach / Step);
    // Outwards k steps, then inwards at twice the cost.
    const auto offset = [&](int k) {
      const bool in = k % 3 == 2;
      return in ? asked - Step * double((k + 1) / 3) : asked + Step * double(k - (k + 1) / 3);
    };
    const auto search = [&](int from, int to, double slide) {
      for (int k = from; k <= to && std::isnan(best[0]); ++k)
        if (const double d = offset(k); d >= lowest || k % 3 != 2) consider(d, slide);
    };
    // Both sides of the value at each offset before the next: a line whose value is blocked on one side
    // stays at its feature with the value on the other.
    const auto searchEither = [&](int to, double first, double second) {
      for (int k = 0; k <= to && std::isnan(best[0]); ++k)
        if (const double d = offset(k); d >= lowest || k % 3 != 2)
          for (const double slide : {first, second})
            if (std::isnan(best[0])) consider(d, slide);
    };
    // Near the offset asked with the value above the line's middle; then there with the value past an end
    // of the line, as a draftsman writes a value that does not fit between its extension lines, rather
    // than the line carried far off along the part; then farther out.
    const int nearSteps = int(1.5 * Near / Step);
    // Only a line asked across the part it measures: its value would stand on that part.
    const TQuad centred = at(asked).Value;
    const double cx = (centred.X[0] + centred.X[2]) / 2, cy = (centred.Y[0] + centred.Y[2]) / 2;
    const auto holds = [](const std::array<double, 4>& v, double x, double y) {
      return x >= v[0] - 0.5 && x <= v[2] + 0.5 && y >= v[1] - 0.5 && y <= v[3] + 0.5;
    };
    // A hollow section's diameter asked through the points it measures (its line across the bore from
    // wall to wall) lies across the part too, its halves two views about the bore.
    std::array<double, 4> part{1e300, 1e300, -1e300, -1e300};
    bool halves = true;
    for (const std::array<double, 4>& v : views) {
      const bool first = holds(v, m.X1, m.Y1), second = holds(v, m.X2, m.Y2);
      if (first && second) halves = false;
      if (first || second)
        part = {std::min(part[0], v[0]), std::min(part[1], v[1]), std::max(part[2], v[2]),
                std::max(part[3], v[3])};
    }
    // So is one whose halves meet only across the bore (a seat's edge drawn across its mouth): the
    // points' middle lies in no hatched area while each point is on the edge of one.
    bool bore = false;
    if (const double l = std::hypot(m.X2 - m.X1, m.Y2 - m.Y1); !halves && l > 2) {
      const auto hatched = [this](double x, double y) {
        return std::any_of(Areas.begin(), Areas.end(), [&](const std::pair<std::size_t, std::size_t>& a) {
          bool in = false;
          for (std::size_t k = a.first; k < a.second; ++k) {
            const auto& g = Segments[k];
            if ((g[1] > y) != (g[3] > y) && x < (g[2] - g[0]) * (y - g[1]) / (g[3] - g[1]) + g[0]) in = !in;
          }
          return in;
        });
      };
      const double bx = (m.X2 - m.X1) / l, by = (m.Y2 - m.Y1) / l;
      const auto wall = [&](double x, double y) {
        return hatched(x - bx * 0.5, y - by * 0.5) || hatched(x + bx * 0.5, y + by * 0.5);
      };
      halves = bore = !hatched((m.X1 + m.X2) / 2, (m.Y1 + m.Y2) / 2) && wall(m.X1, m.Y1) && wall(m.X2, m.Y2);
    }
    const bool through =
        halves && std::fabs(asked - s1) <= 1 && std::fabs(asked - s2) <= 1 && holds(part, cx, cy);
    const bool within =
        Within(cx, cy) && std::any_of(views.begin(), views.end(), [&](const std::array<double, 4>& v) {
          return holds(v, cx, cy) && holds(v, m.X1, m.Y1) && holds(v, m.X2, m.Y2);
        });
    const double past = std::hypot(m.X2 - m.X1, m.Y2 - m.Y1) / 2 + len / 2 + 1.5;
    // A line asked through a hollow section stays across it, its value beyond the outlines there, before
    // it is carried off the part; a bore edged round its middle does not make it a line within a view.
    if ((!within || bore) && through) {
      acrossBore = true;
      // A bore edged round its middle holds the value only past its walls, nearer than any other offset.
      searchEither(bore ? 0 : nearSteps, m.Side < 0 ? -past : past, m.Side < 0 ? past : -past);
      // Past the part's outlines the line crosses there: a bore's value stands beyond its wall.
      const double a = m.X1 * ux + m.Y1 * uy, b = m.X2 * ux + m.Y2 * uy, mid = (a + b) / 2;
      double lo = std::min(a, b), hi = std::max(a, b);
      for (const auto& g : Segments) {
        const double g0 = g[0] * nx + g[1] * ny - asked, g1 = g[2] * nx + g[3] * ny - asked;
        if ((g0 > 0) == (g1 > 0) || g0 == g1) continue;
        const double t = g0 / (g0 - g1), x = g[0] + t * (g[2] - g[0]), y = g[1] + t * (g[3] - g[1]);
        if (!holds(part, x, y)) continue;
        lo = std::min(lo, x * ux + y * uy), hi = std::max(hi, x * ux + y * uy);
      }
      const double up = hi - mid + len / 2 + 1.5, down = mid - lo + len / 2 + 1.5;
      searchEither(nearSteps, m.Side < 0 ? -down : up, m.Side < 0 ? up : -down);
      acrossBore = false;
    }
    search(0, nearSteps, 0);
    if (within)
      for (const double slide : {m.Side < 0 ? -past : past, m.Side < 0 ? past : -past})
        search(0, nearSteps, slide);
    search(nearSteps + 1, 2 * steps, 0);
    // A line too short for its value between its extension lines, carried off so far that they run on
    // over its view farther than the view is across them, stays by what it measures instead, its value
    // past an end, as a draftsman writes a step's length at the step.
    const auto runsAlong = [&](double d) {
      const TAt r = at(d);
      for (const auto& [px, py, ax, ay] :
           {std::array{m.X1, m.Y1, r.A1x, r.A1y}, std::array{m.X2, m.Y2, r.A2x, r.A2y}})
        for (const std::array<double, 4>& v : views) {
          if (!(px >= v[0] - 0.01 && px <= v[2] + 0.01 && py >= v[1] - 0.01 && py <= v[3] + 0.01)) continue;
          const double over = std::min(std::fabs(ax - px) > 1e-9 ? (ax > px ? v[2] - px : px - v[0]) : 1e300,
                                       std::fabs(ay - py) > 1e-9 ? (ay > py ? v[3] - py : py - v[1]) : 1e300);
          const double across = std::fabs(ux) > std::fabs(uy) ? v[2] - v[0] : v[3] - v[1];
          if (std::min(over, std::hypot(ax - px, ay - py) + 2) > across + 0.5) return true;
        }
      return false;
    };
    // Near the offset asked again, its value past either end, taken where it keeps what keeps asks.
    // Where no side keeps its run-on clear there, a run-on across a line is still better than a line
    // carried off its feature.
    const auto nearWithValuePast = [&](const auto& keeps) {
      const double far = best[0], farSlide = slid[0];
      const double past = std::hypot(m.X2 - m.X1, m.Y2 - m.Y1) / 2 + len / 2 + 1.5;
      for (const bool strict : {true, false}) {
        runOnStrict = strict;
        for (const double slide : {m.Side < 0 ? -past : past, m.Side < 0 ? past : -past}) {
          best[0] = NAN;
          search(0, nearSteps, slide);
          if (!std::isnan(best[0]) && keeps(best[0], slid[0])) {
            runOnStrict = true;
            return;
          }
          best[0] = far, slid[0] = farSlide;
        }
      }
      runOnStrict = true;
    };
    if (!std::isnan(best[0]) && std::fabs((m.X2 - m.X1) * ux + (m.Y2 - m.Y1) * uy) < len + 2 &&
        runsAlong(best[0]))
      nearWithValuePast([&](double d, double) { return !runsAlong(d); });
    // A line carried out past a longer parallel one that spans all it measures would have its extension
    // lines cross that line: it stays nearer, inside the longer one, its value past an end, where that
    // is free.
    const auto beyondLonger = [&](double d) {
      const double a = m.X1 * ux + m.Y1 * uy, b = m.X2 * ux + m.Y2 * uy, near = std::max(s1, s2);
      return std::any_of(Settled.begin(), Settled.end(), [&](const TSettled& p) {
        const double lx = p.X2 - p.X1, ly = p.Y2 - p.Y1, l = std::hypot(lx, ly);
        if (!(l > 0) || std::fabs(lx * nx + ly * ny) > 1e-4 * l) return false;
        const double pa = p.X1 * ux + p.Y1 * uy, pb = p.X2 * ux + p.Y2 * uy, level = p.X1 * nx + p.Y1 * ny;
        return std::min(pa, pb) <= std::min(a, b) + 0.01 && std::max(pa, pb) >= std::max(a, b) - 0.01 &&
               level > near && level < d - 1e-6;
      });
    };
    // Brought back there, it takes no sign's place as asked (its line, its value, nor its extension lines
    // that sign's value), its value lies across no extension line still to come, and its extension lines
    // run across no value settled: the sign and the dimensions after it then stand where they did.
    const auto clearThere = [&](double d, double slide) {
      const TAt r = at(d, slide);
      if (std::any_of(Signs.begin(), Signs.end(), [&](const TSign& g) {
            const TQuad f = Footprint(g, g.SX, g.SY);
            return Overlap(r.Value, f) || Overlap(r.Line, f);
          }))
        return false;
      for (std::size_t j = i + 1; j < coming.size(); ++j)
        for (const std::array<double, 4>& g : coming[j]) {
          const double gx[2] = {g[0], g[2]}, gy[2] = {g[1], g[3]};
          if (Overlap(r.Value.X, r.Value.Y, 4, gx, gy, 2)) return false;
        }
      for (const auto& [px, py, ax, ay] :
           {std::array{m.X1, m.Y1, r.A1x, r.A1y}, std::array{m.X2, m.Y2, r.A2x, r.A2y}}) {
        const double l = std::hypot(ax - px, ay - py);
        if (!(l > 1e-9)) continue;
        const TQuad e = Turned(px, py, std::atan2(ay - py, ax - px) / Deg, 0.5, -0.2, l + 2, 0.2);
        if (std::any_of(Boxes.begin(), Boxes.end(), [&e](const TQuad& b) { return Overlap(e, b); }) ||
            std::any_of(Signs.begin(), Signs.end(),
                        [&](const TSign& g) { return Overlap(e, SignValue(g, g.SX, g.SY)); }))
          return false;
      }
      return true;
    };
    if (!std::isnan(best[0]) && beyondLonger(best[0]))
      nearWithValuePast([&](double d, double slide) { return !beyondLonger(d) && clearThere(d, slide); });
    // Where that side has no room, the line goes to the part's other side, 10 beyond the outlines
    // across its span.
    if (std::isnan(best[0]) && std::isnan(best[1])) {
      const double a = m.X1 * ux + m.Y1 * uy, b = m.X2 * ux + m.Y2 * uy;
      // The part reaches as far as its outlines go on without a gap (another view lies further off).
      double beyond = std::min(s1, s2);
      for (bool grew = true; grew;) {
        grew = false;
        for (const auto& g : Segments) {
          const double g0 = g[0] * ux + g[1] * uy, g1 = g[2] * ux + g[3] * uy;
          if (std::max(g0, g1) < std::min(a, b) || std::min(g0, g1) > std::max(a, b)) continue;
          const double lo = std::min(g[0] * nx + g[1] * ny, g[2] * nx + g[3] * ny),
                       hi = std::max(g[0] * nx + g[1] * ny, g[2] * nx + g[3] * ny);
          if (lo < beyond - 1e-9 && hi >= beyond - 5) beyond = lo, grew = true;
        }
      }
      for (int k = 0; k <= steps && std::isnan(best[0]); ++k)
        consider(beyond - 10 - Step * k, 0);
    }
    double d = asked, slide = 0;
    for (int t = 0; t < 4; ++t)
      if (!std::isnan(best[t])) {
        d = best[t], slide = slid[t];
        break;
      }
    if (d != asked) {
      const double k = (d - asked) / (m.Scale > 0 ? m.Scale : 1);
      m.MoveLine(m.LX + k * m.CNx, m.LY + k * m.CNy);
    }
    if (slide != 0 && m.MoveValue) m.MoveValue(slide / (m.UScale > 0 ? m.UScale : 1));
    const TAt r = at(d, slide);
    if (m.MoveValue)
      values.push_back(
          {Boxes.size(), Settled.size(), r.A1x, r.A1y, r.A2x, r.A2y, len, ux, uy, m.UScale, m.MoveValue, slide});
    Boxes.push_back(r.Value);
    DimensionLines.push_back(r.Line);
    // Its extension lines, from the measured points to 2 past the line: no text lies across them.
    for (const auto& [px, py, ax, ay] :
         {std::array{m.X1, m.Y1, r.A1x, r.A1y}, std::array{m.X2, m.Y2, r.A2x, r.A2y}}) {
      const double l = std::hypot(ax - px, ay - py);
      if (l > 1e-9) {
        DimensionLines.push_back(Turned(px, py, std::atan2(ay - py, ax - px) / Deg, 0.5, -0.2, l + 2, 0.2));
        Extensions.push_back({px, py, ax + (ax - px) / l * 2, ay + (ay - py) / l * 2});
      }
    }
    // Its value's reach along the line as drawn from its first end: a line measured against its own
    // direction has it turned.
    const bool along = (r.E2x - r.E1x) * ux + (r.E2y - r.E1y) * uy >= 0;
    Settled.push_back({r.E1x, r.E1y, r.E2x, r.E2y, along ? r.From : -r.To, along ? r.To : -r.From});
  }
  Dimensions.clear();
  PlaceValues(values);
  // An angle goes between the opposite rays (the same angle about the same vertex), or on a wider arc,
  // where only there is its value free; on the arc asked for inside the frame when nothing is free.
  // Nor do its arc and the rays it lengthens cross a value settled, nor an arc settled cross its value.
  std::vector<std::array<double, 4>> arcs;
  const auto arc = [](double X, double Y, double a1, double a2, double r) {
    std::vector<std::array<double, 4>> pieces;
    for (int i = 0; i < 12; ++i) {
      const double a = (a1 + (a2 - a1) * i / 12) * Deg, b = (a1 + (a2 - a1) * (i + 1) / 12) * Deg;
      pieces.push_back({X + r * std::cos(a), Y + r * std::sin(a), X + r * std::cos(b), Y + r * std::sin(b)});
    }
    return pieces;
  };
  const auto apart = [](const std::vector<std::array<double, 4>>& pieces, const TQuad& q) {
    return std::none_of(pieces.begin(), pieces.end(), [&q](const std::array<double, 4>& g) {
      const double gx[2] = {g[0], g[2]}, gy[2] = {g[1], g[3]};
      return Overlap(q.X, q.Y, 4, gx, gy, 2);
    });
  };
  // The rays of the angles settled about each vertex: an angle turned to the opposite rays must not
  // land on another's, which would give one angle twice.
  std::vector<std::array<double, 4>> rays;
  // Their arcs' chords alone: a line through the joint of two crosses the arc.
  std::vector<std::array<double, 4>> chords;
  const auto taken = [&rays](double X, double Y, double a1, double a2) {
    const auto same = [](double a, double b) { return std::fabs(std::remainder(a - b, 360.0)) < 0.01; };
    return std::any_of(rays.begin(), rays.end(), [&](const std::array<double, 4>& t) {
      return std::hypot(t[0] - X, t[1] - Y) < 0.01 &&
             ((same(t[2], a1) && same(t[3], a2)) || (same(t[2], a2) && same(t[3], a1)));
    });
  };
  // Whether a line crosses a linear dimension's line or extension line settled.
  const auto acrossLinear = [this](const std::array<double, 4>& l) {
    const auto across = [&l](const std::array<double, 4>& o) { return LinesCross(l, o); };
    return std::any_of(Extensions.begin(), Extensions.end(), across) ||
           std::any_of(Settled.begin(), Settled.end(), [&l](const TSettled& p) {
             return LinesCross(l, {p.X1, p.Y1, p.X2, p.Y2});
           });
  };
  const auto arcClear = [&acrossLinear](const std::vector<std::array<double, 4>>& pieces) {
    return std::none_of(pieces.begin(), pieces.end(), acrossLinear);
  };
  // Whether a line runs across an outline: a ray drawn on past what it measures reaches another view.
  const auto acrossOutline = [this](const std::array<double, 4>& l) {
    return std::any_of(Segments.begin(), Segments.end(),
                       [&l](const std::array<double, 4>& o) { return LinesCross(l, o); });
  };
  for (const TAngle& g : Angles) {
    int side = -1;
    double r = g.R;
    // Whether the angle settles on the side s (1: between the opposite rays) with its arc of radius at,
    // its rays drawn on from base; with clear, only where its arc and those rays cross no linear
    // dimension's line or extension line and the rays no outline. In the last passes anywhere inside the
    // frame, its value free or not.
    const auto settles = [&](int s, double at, double base, bool clear, int pass) {
      const double turn = 180.0 * s;
      if (s == 1 && (g.From[0] > 0 || g.From[1] > 0)) return false;
      if (pass < 3 && (ArcAlongOutline(g.X, g.Y, g.A1 + turn, g.A2 + turn, at) ||
                       (s == 1 && taken(g.X, g.Y, g.A1 + turn, g.A2 + turn))))
        return false;
      if (!AngleFits(g.X, g.Y, g.A1 + turn, g.A2 + turn, at, g.Chars, false)) return false;
      // The opposite rays of an edge's angle run back through the part: they are taken only where
      // they stay off it.
      if (s == 1 &&
          (RayThroughOutline(g.X, g.Y, g.A1 + turn, at) || RayThroughOutline(g.X, g.Y, g.A2 + turn, at)))
        return false;
      const TQuad value = AngleValue(g.X, g.Y, g.A1 + turn, g.A2 + turn, at, g.Chars);
      auto mine = arc(g.X, g.Y, g.A1 + turn, g.A2 + turn, at);
      // Its rays too, as far as widening the arc draws them on.
      for (const double ray : {g.A1 + turn, g.A2 + turn})
        if (at > base) {
          const std::array<double, 4> on{g.X + base * std::cos(ray * Deg), g.Y + base * std::sin(ray * Deg),
                                         g.X + at * std::cos(ray * Deg), g.Y + at * std::sin(ray * Deg)};
          if (pass < 2 && acrossOutline(on)) return false;
          mine.push_back(on);
        }
      // Its value keeps a millimetre off every line too: one standing on a dimension line would be
      // read as that line's value.
      TQuad margin = value;
      const double mx = (value.X[0] + value.X[2]) / 2, my = (value.Y[0] + value.Y[2]) / 2;
      for (int c = 0; c < 4; ++c)
        margin.X[c] += margin.X[c] < mx ? -1.0 : 1.0, margin.Y[c] += margin.Y[c] < my ? -1.0 : 1.0;
      if (clear && !arcClear(mine)) return false;
      // Nor, on the arc asked or widened from it, across the arcs and rays of the angles settled.
      if (clear && pass < 0 && std::any_of(mine.begin(), mine.end(), [&arcs](const std::array<double, 4>& l) {
            return std::any_of(arcs.begin(), arcs.end(),
                               [&l](const std::array<double, 4>& o) { return LinesCross(l, o); });
          }))
        return false;
      return pass > 1 ||
             (Free(margin) && apart(arcs, margin) &&
              std::all_of(Boxes.begin(), Boxes.end(), [&](const TQuad& b) { return apart(mine, b); }));
    };
    // First on the arc asked, or one widened where it and its rays cross nothing settled, no wider than
    // the floor.
    for (int k = 0; k <= 24 && side < 0 && g.R + 5.0 * k <= g.Floor; ++k)
      for (int s = 0; s < 2 && side < 0; ++s)
        if (settles(s, g.R + 5.0 * k, g.R, true, -1)) side = s, r = g.R + 5.0 * k;
    // Else from the floor: the arc asked for inside the frame when nothing is free, yet off the outlines
    // and another's rays; first where a widened arc and its lengthened rays cross no linear dimension's
    // line settled.
    for (int pass = 0; pass < 4 && side < 0; ++pass)
      for (int k = 0; k <= (pass < 3 ? 24 : 0) && side < 0; ++k)
        for (int s = 0; s < 2 && side < 0; ++s) {
          // Where its value is nowhere free, nearest the part as asked.
          const double base = pass > 1 ? std::min(g.R, g.Floor) : g.Floor, at = base + 5.0 * k;
          if (settles(s, at, base, pass == 0 && at > base, pass)) side = s, r = at;
        }
    if (side < 0) side = 0, r = g.Floor;
    if (side == 1 || r != g.Floor) g.Place(side == 1, r / g.Floor);
    const double turn = side == 1 ? 180.0 : 0.0;
    rays.push_back({g.X, g.Y, g.A1 + turn, g.A2 + turn});
    Boxes.push_back(AngleValue(g.X, g.Y, g.A1 + turn, g.A2 + turn, r, g.Chars));
    for (const auto& piece : arc(g.X, g.Y, g.A1 + turn, g.A2 + turn, r))
      arcs.push_back(piece), chords.push_back(piece);
    for (int i = 0; i < 2; ++i) {
      const double ray = (i == 0 ? g.A1 : g.A2) + turn, from = side == 1 ? 0.0 : g.From[std::size_t(i)];
      const double c = std::cos(ray * Deg), s = std::sin(ray * Deg);
      arcs.push_back({g.X + from * c, g.Y + from * s, g.X + r * c, g.Y + r * s});
      // An arc standing by the part's edges has its arrowheads (3 long, 1.7 wide) among the part's own
      // signs: they keep off them too.
      if (from > 0) {
        const double sense = (i == 0 ? g.A1 - g.A2 : g.A2 - g.A1) > 0 ? 1.0 : -1.0;
        const double tx = g.X + r * c, ty = g.Y + r * s, bx = tx + 3 * s * sense, by = ty - 3 * c * sense;
        arcs.push_back({tx, ty, bx + 0.86 * c, by + 0.86 * s});
        arcs.push_back({tx, ty, bx - 0.86 * c, by - 0.86 * s});
        arcs.push_back({bx + 0.86 * c, by + 0.86 * s, bx - 0.86 * c, by - 0.86 * s});
      }
    }
  }
  // The diameters, radii, signs and leader texts settled after them keep off the arcs and rays where
  // they went.
  Thin.insert(Thin.end(), arcs.begin(), arcs.end());
  Angles.clear();
  // A diameter's or radius's leader turns from the angle asked for (45 degrees), by 5 degrees either way,
  // to where its value and its shelf are free, best where no line crosses its value either. One whose
  // circle is drawn in arcs turns only where its arrows land on them, degree by degree from the angle the
  // drawing asked for; a radius's leader may then come from beyond its arc through it towards the centre
  // (its value on the centre's side), and its value goes further out where it is nowhere free.
  // The holes: whole circles in a main line inside a larger one off their centre. A leader keeps off
  // every hole it does not size, and off the lines of the dimensions, angles and leaders settled before
  // it: two diameters of one centre would cross there.
  std::vector<TArc> holes;
  for (const TArc& h : Arcs)
    if (h.Outline && std::fabs(h.Sweep) > 359 && std::any_of(Arcs.begin(), Arcs.end(), [&h](const TArc& o) {
          const double d = std::hypot(o.X - h.X, o.Y - h.Y);
          return o.Outline && std::fabs(o.Sweep) > 359 && d > 0.05 && d + h.R < o.R;
        }))
      holes.push_back(h);
  const std::vector<std::array<double, 4>>& angleLines = arcs;
  // A line through a hole's centre sizes or aligns with the hole; a diameter coming from outside to
  // another circle only runs through it.
  const auto lineClear = [&](const std::array<double, 4>& line, double cx, double cy, bool outside) {
    const auto across = [&line](const std::array<double, 4>& o) { return LinesCross(line, o); };
    return std::none_of(holes.begin(), holes.end(),
                        [&](const TArc& h) {
                          return std::hypot(h.X - cx, h.Y - cy) > 0.05 &&
                                 (LineAcrossCircle(line, h.X, h.Y, h.R) ||
                                  (outside && LineThroughCentre(line, h.X, h.Y)));
                        }) &&
           std::none_of(CircleLines.begin(), CircleLines.end(), across) &&
           std::none_of(angleLines.begin(), angleLines.end(), across) &&
           std::none_of(chords.begin(), chords.end(),
                        [&line](const std::array<double, 4>& o) { return LineAcrossPiece(line, o); }) &&
           !acrossLinear(line);
  };
  for (const TCircleDimension& c : Circles) {
    const double scale = std::hypot(c.ExX, c.ExY);
    std::vector<TArc> arcs;
    for (const TArc& a : Arcs)
      if (std::hypot(a.X - c.CX, a.Y - c.CY) < 0.01 && std::fabs(a.R - c.R * scale) < 0.01) arcs.push_back(a);
    // Whether the point at a degrees in its container lies on an arc drawn, a degree inside its ends.
    const auto onArc = [&](double a) {
      const double dx = c.ExX * std::cos(a * Deg) + c.EyX * std::sin(a * Deg),
                   dy = c.ExY * std::cos(a * Deg) + c.EyY * std::sin(a * Deg), at = std::atan2(dy, dx) / Deg;
      return std::any_of(arcs.begin(), arcs.end(), [at](const TArc& g) {
        const double half = std::fabs(g.Sweep) / 2;
        return std::fabs(std::remainder(at - g.From - g.Sweep / 2, 360.0)) <= half - std::min(1.0, half / 4);
      });
    };
    // Its leader with the arrow at a degrees in its container: from (X1, Y1) through the circle at (X2, Y2)
    // along u (the value on the side n as it is read) to its shelf's end, shelf past the circle.
    struct TAt
    {
      double X1, Y1, X2, Y2, Ux, Uy, Nx, Ny, Angle, Middle, Shelf;
    };
    const auto leader = [&c](double a, double shift, bool reversed, bool stopped = false) {
      TAt g;
      const double dx = c.R * std::cos(a * Deg), dy = c.R * std::sin(a * Deg);
      g.X2 = c.CX + c.ExX * dx + c.EyX * dy, g.Y2 = c.CY + c.ExY * dx + c.EyY * dy;
      g.X1 = c.Diameter ? 2 * c.CX - g.X2 : c.CX, g.Y1 = c.Diameter ? 2 * c.CY - g.Y2 : c.CY;
      // A diameter from outside starts on its circle and runs out from the centre; a radius reversed
      // comes from beyond its arc towards the centre.
      if (reversed && c.Diameter)
        g.X1 = c.CX, g.Y1 = c.CY;
      else if (reversed)
        g.X1 = 2 * g.X2 - c.CX, g.Y1 = 2 * g.Y2 - c.CY;
      const double R = std::hypot(g.X2 - g.X1, g.Y2 - g.Y1);
      g.Ux = R > 0 ? (g.X2 - g.X1) / R : 1, g.Uy = R > 0 ? (g.Y2 - g.Y1) / R : 0;
      if (reversed && c.Diameter) g.X1 = g.X2, g.Y1 = g.Y2;
      if (stopped)
        g.X1 = g.X2 - g.Ux * txapi::txRadiusLineShort, g.Y1 = g.Y2 - g.Uy * txapi::txRadiusLineShort;
      // The host's shelf runs on past the circle, the value's middle 6 past it or as far as its shift
      // asks, above the shelf as it is read.
      g.Angle = std::atan2(g.Uy, g.Ux) / Deg, g.Nx = -g.Uy, g.Ny = g.Ux;
      if (g.Angle > 90.001 || g.Angle < -89.999) g.Angle += 180, g.Nx = g.Uy, g.Ny = -g.Ux;
      const double len = 0.6 * ValueHeight * double(c.Chars);
      g.Middle = std::max(6.0, shift * std::hypot(c.ExX * std::cos(a * Deg) + c.EyX * std::sin(a * Deg),
                                                  c.ExY * std::cos(a * Deg) + c.EyY * std::sin(a * Deg)));
      g.Shelf = std::max(12.0, g.Middle + len / 2 + 1);
      return g;
    };
    // Whether its line, running from the centre, may stop short of it: a radius's, not reversed, longer than
    // the stretch it keeps.
    const auto shortens = [&c](const TAt& g, bool reversed) {
      return c.Shorten && !c.Diameter && !reversed &&
             std::hypot(g.X2 - g.X1, g.Y2 - g.Y1) > txapi::txRadiusLineShort;
    };
    // The angles to try, nearest first: 5 degrees apart from 45 about a whole circle; on arcs, each degree
    // from the one asked.
    std::vector<double> turns;
    double drawn = 0;
    for (const TArc& g : arcs)
      drawn += std::fabs(g.Sweep);
    if (arcs.empty() || drawn > 359) {
      const double from = c.Asked ? c.AskedIn : 45;
      for (int k = 0; k < 72; ++k)
        turns.push_back(from + 5.0 * ((k + 1) / 2) * (k % 2 == 0 ? -1 : 1));
    } else {
      const double from = c.Asked ? c.AskedIn : 45;
      for (int k = 0; k < 360; ++k) {
        const double a = from + double((k + 1) / 2) * (k % 2 == 0 ? -1 : 1);
        if (onArc(a) && (!c.Diameter || onArc(a + 180))) turns.push_back(a);
      }
    }
    // The shifts to try, 2 mm apart on the sheet, for a radius on its arcs.
    const double step = std::max(1.0, std::round(2 / (scale > 0 ? scale : 1)));
    const int shifts = arcs.empty() || c.Diameter ? 1 : 30;
    const double len = 0.6 * ValueHeight * double(c.Chars);
    const auto sign =
        c.Asked ? std::find_if(Signs.begin(), Signs.end(),
                               [&c](const TSign& s) { return AskedOn(s, c.CX, c.CY, c.AskedAngle); })
                : Signs.end();
    // A radius on its arcs: from beyond its arc first, which puts a hollow's value on its open side.
    const int ways = arcs.empty() || c.Diameter ? 1 : 2;
    // Two lines through one centre cross there whatever their angles: of concentric whole circles' diameters
    // the largest runs through the centre, and a smaller one, or one whose centre a line settled before
    // already runs through, comes to its circle from outside.
    const bool outside =
        c.Diameter && (arcs.empty() || drawn > 359) &&
        (std::any_of(Circles.begin(), Circles.end(),
                     [&c](const TCircleDimension& o) {
                       return o.Diameter && o.R > c.R && std::hypot(o.CX - c.CX, o.CY - c.CY) < 0.05;
                     }) ||
         std::any_of(CircleLines.begin(), CircleLines.end(), [&c](const std::array<double, 4>& l) {
           const double ux = l[2] - l[0], uy = l[3] - l[1], ll = ux * ux + uy * uy;
           const double t = ll > 0 ? std::clamp(((c.CX - l[0]) * ux + (c.CY - l[1]) * uy) / ll, 0.0, 1.0) : 0;
           return std::hypot(c.CX - l[0] - t * ux, c.CY - l[1] - t * uy) < 0.05;
         }));
    struct TChoice
    {
      double Angle = NAN, Shift = 0;
      bool Reversed = false;
      TQuad Value;
      bool Short = false, Signed = false;
      TQuad Sign;
    } chosen, any, freeAt, uncrossed;
    for (int m = 0; m < shifts && std::isnan(chosen.Angle); ++m)
      for (std::size_t k = 0; k < turns.size() && std::isnan(chosen.Angle); ++k)
        for (int way = 0; way < ways && std::isnan(chosen.Angle); ++way) {
          const double a = turns[k], shift = c.Shift + step * m;
          const bool reversed = outside || (way == 0 && ways == 2);
          const TAt g = leader(a, shift, reversed);
          const TQuad q = Turned(g.X2 + g.Ux * g.Middle + g.Nx, g.Y2 + g.Uy * g.Middle + g.Ny, g.Angle,
                                 -len / 2, 0, len / 2, ValueHeight);
          const TChoice here{a, shift, reversed, q};
          // Inside a view (a plan's inner circle) when nothing outside it is free, off its outlines still.
          if (!Free(q, true)) continue;
          if (std::isnan(any.Angle)) any = here;
          if (!Free(q)) continue;
          const TQuad line = Turned(g.X2, g.Y2, std::atan2(g.Uy, g.Ux) / Deg, 0, -0.3, g.Shelf, 0.3);
          if (std::any_of(Boxes.begin(), Boxes.end(), [&line](const TQuad& b) { return Overlap(line, b); }))
            continue;
          if (std::isnan(freeAt.Angle)) freeAt = here;
          // Nor across a leader settled before it.
          if (Crossed(q) ||
              std::any_of(CircleLines.begin(), CircleLines.end(), [&q](const std::array<double, 4>& o) {
                const double ox[2] = {o[0], o[2]}, oy[2] = {o[1], o[3]};
                return Overlap(q.X, q.Y, 4, ox, oy, 2);
              }))
            continue;
          // Best where its line crosses nothing either; a radius's line may stop short of its centre for it.
          const auto clear = [&](const TAt& at) {
            return lineClear({at.X1, at.Y1, at.X2 + at.Ux * at.Shelf, at.Y2 + at.Uy * at.Shelf}, c.CX, c.CY,
                             outside);
          };
          const TAt stub = leader(a, shift, reversed, true);
          const bool whole = clear(g);
          TChoice best = here;
          best.Short = !whole && shortens(g, reversed) && clear(stub);
          const TAt& drawn = best.Short ? stub : g;
          // A sign asked on its leader goes with it: where there is room for it too.
          if (sign != Signs.end()) {
            const double r = std::hypot(drawn.X2 - drawn.X1, drawn.Y2 - drawn.Y1);
            const TLeader l{c.CX,     c.CY,     c.AskedAngle, drawn.X1, drawn.Y1,        drawn.Ux,
                            drawn.Uy, drawn.Nx, drawn.Ny,     r,        r + drawn.Shelf, q};
            double X, Y, turn;
            if (!SignOnLeader(*sign, l, &q, X, Y, turn)) continue;
            TSign t = *sign;
            t.SAngle = turn;
            best.Sign = Footprint(t, X, Y), best.Signed = true;
          }
          if (whole || best.Short)
            chosen = best;
          else if (std::isnan(uncrossed.Angle))
            uncrossed = here;
        }
    if (std::isnan(chosen.Angle)) chosen = uncrossed;
    if (std::isnan(chosen.Angle)) chosen = freeAt;
    if (std::isnan(chosen.Angle)) chosen = any;
    if (std::isnan(chosen.Angle)) continue;
    const TAt g = leader(chosen.Angle, chosen.Shift, chosen.Reversed, chosen.Short);
    CircleLines.push_back({g.X1, g.Y1, g.X2 + g.Ux * g.Shelf, g.Y2 + g.Uy * g.Shelf});
    if (c.Asked) {
      const double r = std::hypot(g.X2 - g.X1, g.Y2 - g.Y1);
      // Its sign's place kept from what settles after it.
      Leaders.push_back({c.CX, c.CY, c.AskedAngle, g.X1, g.Y1, g.Ux, g.Uy, g.Nx, g.Ny, r, r + g.Shelf,
                         chosen.Value, chosen.Signed ? Boxes.size() : std::size_t(-1)});
      if (chosen.Signed) Boxes.push_back(chosen.Sign);
    }
    if (chosen.Short) c.Shorten();
    if (chosen.Angle != 45 || chosen.Shift != c.Shift || chosen.Reversed)
      c.Turn(chosen.Angle, chosen.Shift, chosen.Reversed);
    Boxes.push_back(chosen.Value);
  }
  Circles.clear();
}

bool TSheetLayout::OffAxes(const TQuad& q) const
{
  // Corners 0-1 are the base, 2-3 the top: grown outwards along both edges, and along the base's
  // direction at its ends, so that an axis running past a shelf or an arm is read apart from it.
  constexpr double Gap = 1;
  const auto unit = [](double dx, double dy, double& ux, double& uy) {
    const double l = std::hypot(dx, dy);
    ux = l > 0 ? dx / l : 0, uy = l > 0 ? dy / l : 0;
  };
  double bx, by, ux, uy;
  unit(q.X[1] - q.X[0], q.Y[1] - q.Y[0], bx, by);
  unit(q.X[3] - q.X[0], q.Y[3] - q.Y[0], ux, uy);
  TQuad g = q;
  for (int k = 0; k < 4; ++k) {
    const double along = k == 0 || k == 3 ? -Gap : Gap, up = k >= 2 ? Gap : 0;
    g.X[k] += along * bx + up * ux, g.Y[k] += along * by + up * uy;
  }
  return std::none_of(Axes.begin(), Axes.end(), [&g](const std::array<double, 4>& a) {
    const double ax[2] = {a[0], a[2]}, ay[2] = {a[1], a[3]};
    return Overlap(g.X, g.Y, 4, ax, ay, 2);
  });
}

bool TSheetLayout::Crossed(const TQuad& q) const
{
  const auto crosses = [&q](const std::array<double, 4>& g) {
    const double gx[2] = {g[0], g[2]}, gy[2] = {g[1], g[3]};
    return Overlap(q.X, q.Y, 4, gx, gy, 2);
  };
  if (!Clear(q) || std::any_of(Thin.begin(), Thin.end(), crosses) ||
      std::any_of(Extensions.begin(), Extensions.end(), crosses))
    return true;
  // The angles to come, as asked for: their rays and arcs.
  for (const TAngle& g : Angles) {
    for (int i = 0; i < 2; ++i) {
      const double a = (i == 0 ? g.A1 : g.A2) * Deg, from = g.From[std::size_t(i)];
      if (crosses({g.X + from * std::cos(a), g.Y + from * std::sin(a), g.X + g.Floor * std::cos(a),
                   g.Y + g.Floor * std::sin(a)}))
        return true;
    }
    for (int i = 0; i < 12; ++i) {
      const double a = (g.A1 + (g.A2 - g.A1) * i / 12) * Deg, b = (g.A1 + (g.A2 - g.A1) * (i + 1) / 12) * Deg;
      if (crosses({g.X + g.Floor * std::cos(a), g.Y + g.Floor * std::sin(a), g.X + g.Floor * std::cos(b),
                   g.Y + g.Floor * std::sin(b)}))
        return true;
    }
  }
  return std::any_of(Settled.begin(), Settled.end(), [&crosses](const TSettled& p) {
    return crosses({p.X1, p.Y1, p.X2, p.Y2});
  });
}

std::vector<std::array<double, 4>> TSheetLayout::ViewBoxes() const
{
  const auto box = [](const std::array<double, 4>& g) {
    return std::array<double, 4>{std::min(g[0], g[2]), std::min(g[1], g[3]), std::max(g[0], g[2]),
                                 std::max(g[1], g[3])};
  };
  const auto meet = [](const std::array<double, 4>& a, const std::array<double, 4>& b) {
    return a[0] <= b[2] + 0.01 && b[0] <= a[2] + 0.01 && a[1] <= b[3] + 0.01 && b[1] <= a[3] + 0.01;
  };
  // The outlines that meet, joined; then their boxes merged while they meet.
  std::vector<std::size_t> root(Segments.size());
  for (std::size_t i = 0; i < root.size(); ++i)
    root[i] = i;
  const auto find = [&root](std::size_t i) {
    while (root[i] != i)
      i = root[i] = root[root[i]];
    return i;
  };
  for (std::size_t i = 0; i < Segments.size(); ++i)
    for (std::size_t j = i + 1; j < Segments.size(); ++j)
      if (meet(box(Segments[i]), box(Segments[j]))) root[find(i)] = find(j);
  std::vector<std::array<double, 4>> views;
  std::vector<std::size_t> of(Segments.size(), std::size_t(-1));
  for (std::size_t i = 0; i < Segments.size(); ++i) {
    std::size_t& v = of[find(i)];
    const auto b = box(Segments[i]);
    if (v == std::size_t(-1)) {
      v = views.size();
      views.push_back(b);
    } else {
      auto& w = views[v];
      w = {std::min(w[0], b[0]), std::min(w[1], b[1]), std::max(w[2], b[2]), std::max(w[3], b[3])};
    }
  }
  for (bool merged = true; merged;) {
    merged = false;
    for (std::size_t i = 0; i < views.size() && !merged; ++i)
      for (std::size_t j = i + 1; j < views.size() && !merged; ++j)
        if (meet(views[i], views[j])) {
          views[i] = {std::min(views[i][0], views[j][0]), std::min(views[i][1], views[j][1]),
                      std::max(views[i][2], views[j][2]), std::max(views[i][3], views[j][3])};
          views.erase(views.begin() + std::ptrdiff_t(j));
          merged = true;
        }
  }
  return views;
}

bool TSheetLayout::Cramped() const
{
  if (!On) return false;
  const TQuad stamp =
      Rect(W - FrameMargin - StampWidth, FrameMargin, W - FrameMargin, FrameMargin + StampHeight);
  const double tol = 0.01;
  return std::any_of(Segments.begin(), Segments.end(), [&](const std::array<double, 4>& g) {
    const double gx[2] = {g[0], g[2]}, gy[2] = {g[1], g[3]};
    for (int k = 0; k < 2; ++k)
      if (gx[k] < FrameLeft - tol || gx[k] > W - FrameMargin + tol || gy[k] < FrameMargin - tol ||
          gy[k] > H - FrameMargin + tol)
        return true;
    return Overlap(stamp.X, stamp.Y, 4, gx, gy, 2);
  });
}

void TSheetLayout::Enlarge(double width, double height, double dy)
{
  if (!On) return;
  for (auto* lines : {&Segments, &Thin, &Extensions, &Axes})
    for (auto& g : *lines)
      g[1] += dy, g[3] += dy;
  for (TQuad& q : Boxes)
    for (double& y : q.Y)
      y += dy;
  W = width, H = height, VY += dy;
  // The title block where the larger sheet has it, in place of the one the views kept off.
  if (!Boxes.empty())
    Boxes.front() =
        Rect(W - FrameMargin - StampWidth, FrameMargin, W - FrameMargin, FrameMargin + StampHeight);
}

bool TSheetLayout::ArcAlongOutline(double X, double Y, double a1, double a2, double r) const
{
  // Its chords, a degree or less each, that run alongside an outline (their middles within 2 mm of it and
  // square to it, turned less than 6 degrees off it), more than a millimetre of them in all.
  // A chord's middle that near an outline lies within 2 mm of the outline's box: only the outlines whose
  // box, widened by more than that, meets the box of the arc's circle are tried, each chord by that box
  // first.
  constexpr double Slack = 3;
  struct TNear
  {
    const std::array<double, 4>* G;
    double Gx, Gy, Gl, X1, Y1, X2, Y2;
  };
  std::vector<TNear> near;
  const double radius = std::fabs(r);
  for (const auto& g : Segments) {
    const double x1 = std::min(g[0], g[2]) - Slack, x2 = std::max(g[0], g[2]) + Slack,
                 y1 = std::min(g[1], g[3]) - Slack, y2 = std::max(g[1], g[3]) + Slack;
    if (x2 < X - radius || x1 > X + radius || y2 < Y - radius || y1 > Y + radius) continue;
    const double gx = g[2] - g[0], gy = g[3] - g[1];
    near.push_back({&g, gx, gy, std::hypot(gx, gy), x1, y1, x2, y2});
  }
  const int n = std::clamp(int(std::ceil(std::fabs(a2 - a1))), 1, 360);
  double along = 0;
  for (int i = 0; i < n && !near.empty(); ++i) {
    const double a = (a1 + (a2 - a1) * i / n) * Deg, b = (a1 + (a2 - a1) * (i + 1) / n) * Deg;
    const double px = X + r * std::cos(a), py = Y + r * std::sin(a), qx = X + r * std::cos(b),
                 qy = Y + r * std::sin(b), mx = (px + qx) / 2, my = (py + qy) / 2, ux = qx - px, uy = qy - py;
    const double len = std::hypot(ux, uy);
    const bool on = std::any_of(near.begin(), near.end(), [&](const TNear& s) {
      if (!(mx >= s.X1 && mx <= s.X2 && my >= s.Y1 && my <= s.Y2)) return false;
      const std::array<double, 4>& g = *s.G;
      const double gx = s.Gx, gy = s.Gy, gl = s.Gl;
      if (!(gl > 0) || !(len > 0) || std::fabs(gx * uy - gy * ux) >= 0.1 * gl * len) return false;
      const double t = ((mx - g[0]) * gx + (my - g[1]) * gy) / (gl * gl);
      return t >= 0 && t <= 1 && std::fabs((mx - g[0]) * gy - (my - g[1]) * gx) / gl < 2;
    });
    if (on) along += len;
  }
  return along > 1;
}

bool TSheetLayout::AlongOutline(double X1, double Y1, double X2, double Y2) const
{
  const double ux = X2 - X1, uy = Y2 - Y1, len = std::hypot(ux, uy);
  if (!(len > 0)) return false;
  return std::any_of(Segments.begin(), Segments.end(), [&](const std::array<double, 4>& g) {
    const double gx = g[2] - g[0], gy = g[3] - g[1], gl = std::hypot(gx, gy);
    if (!(gl > 0) || std::fabs(gx * uy - gy * ux) > 0.01 * gl * len) return false;
    const double off = std::fabs((g[0] - X1) * -uy + (g[1] - Y1) * ux) / len;
    const double p = ((g[0] - X1) * ux + (g[1] - Y1) * uy) / len,
                 q = ((g[2] - X1) * ux + (g[3] - Y1) * uy) / len;
    return off < 2 && std::min(len, std::max(p, q)) - std::max(0.0, std::min(p, q)) > 1;
  });
}

bool TSheetLayout::RayThroughOutline(double X, double Y, double a, double r) const
{
  constexpr double Near = 0.05;
  if (!(r > 0)) return false;
  const double ex = X + r * std::cos(a * Deg), ey = Y + r * std::sin(a * Deg);
  // How far (x, y) lies from the segment from (x1, y1) to (x2, y2).
  const auto off = [](double x, double y, double x1, double y1, double x2, double y2) {
    const double dx = x2 - x1, dy = y2 - y1, l2 = dx * dx + dy * dy;
    const double t = l2 > 0 ? std::clamp(((x - x1) * dx + (y - y1) * dy) / l2, 0.0, 1.0) : 0.0;
    return std::hypot(x - x1 - t * dx, y - y1 - t * dy);
  };
  const double rx = ex - X, ry = ey - Y;
  // How far (x, y) lies from the ray's line.
  const auto offLine = [&](double x, double y) { return std::fabs((x - X) * ry - (y - Y) * rx) / r; };
  std::vector<std::array<double, 4>> measured;
  for (const auto& g : Segments)
    if (std::hypot(g[0] - X, g[1] - Y) < Near || std::hypot(g[2] - X, g[3] - Y) < Near ||
        (offLine(g[0], g[1]) < Near && offLine(g[2], g[3]) < Near))
      measured.push_back(g);
  return std::any_of(Segments.begin(), Segments.end(), [&](const std::array<double, 4>& g) {
    const double qx = g[2] - g[0], qy = g[3] - g[1], den = rx * qy - ry * qx;
    if (std::fabs(den) < 1e-12) return false;
    const double wx = g[0] - X, wy = g[1] - Y, u = (wx * qy - wy * qx) / den, v = (wx * ry - wy * rx) / den;
    if (u < 0 || u > 1 || v < 0 || v > 1) return false;
    const double px = X + u * rx, py = Y + u * ry;
    if (std::hypot(px - X, py - Y) < Near || std::hypot(px - ex, py - ey) < Near) return false;
    return std::none_of(measured.begin(), measured.end(), [&](const std::array<double, 4>& m) {
      return off(px, py, m[0], m[1], m[2], m[3]) < Near;
    });
  });
}

void TSheetLayout::PlaceValues(const std::vector<TValue>& values)
{
  // A value no line crosses stays above its line's middle; else it slides along the line, within the
  // extension lines or past one of them (its line runs on under it), the nearer the better, to where
  // no line crosses it and it lies on no other text.
  for (const TValue& v : values) {
    const TQuad centred = Boxes[v.Box];
    // A line touching the value does not cross it; one a tenth of a millimetre into it does.
    const auto shrunk = [](TQuad q) {
      const double cx = (q.X[0] + q.X[2]) / 2, cy = (q.Y[0] + q.Y[2]) / 2;
      for (int k = 0; k < 4; ++k) {
        const double dx = q.X[k] - cx, dy = q.Y[k] - cy, n = std::hypot(dx, dy),
                     f = n > 0.1 ? (n - 0.1) / n : 0;
        q.X[k] = cx + dx * f, q.Y[k] = cy + dy * f;
      }
      return q;
    };
    const auto free = [&](const TQuad& q) {
      for (int k = 0; k < 4; ++k)
        if (!InFrame(q.X[k], q.Y[k], 0)) return false;
      const TQuad in = shrunk(q);
      if (Crossed(in)) return false;
      for (std::size_t i = 0; i < Boxes.size(); ++i)
        if (i != v.Box && Overlap(in, Boxes[i])) return false;
      return true;
    };
    if (free(centred)) continue;
    const double half = std::hypot(v.A2x - v.A1x, v.A2y - v.A1y) / 2, l = v.Length / 2;
    // The line's middle and the value's shift along u from it.
    const double mid = ((v.A1x + v.A2x) * v.Ux + (v.A1y + v.A2y) * v.Uy) / 2;
    const double a = std::min(v.A1x * v.Ux + v.A1y * v.Uy, v.A2x * v.Ux + v.A2y * v.Uy) - mid,
                 b = std::max(v.A1x * v.Ux + v.A1y * v.Uy, v.A2x * v.Ux + v.A2y * v.Uy) - mid;
    // Half-millimetre steps either way as far as the line's half, two values' lengths and 30 beyond:
    // past a neighbour's extension line too when the one beside it is taken. First only where the line
    // run on under it crosses no other's line nor extension line.
    const TSettled& line = Settled[v.Line];
    const double ox = line.X1 - ((line.X1 * v.Ux + line.Y1 * v.Uy) - mid) * v.Ux,
                 oy = line.Y1 - ((line.X1 * v.Ux + line.Y1 * v.Uy) - mid) * v.Uy;
    bool moved = false;
    for (int pass = 0; pass < 2 && !moved; ++pass)
      for (int k = 1; k <= 4 * int(half + 2 * l + 30); ++k) {
        const double shift = 0.5 * ((k + 1) / 2) * (k % 2 == 0 ? -1 : 1);
        // Wholly between the extension lines or wholly past one.
        // From the line's middle: the value may already stand slid past an end.
        const double at = v.Slid + shift;
        const bool within = at - l >= a + 0.5 && at + l <= b - 0.5;
        const bool past = at - l >= b + 1 || at + l <= a - 1;
        if (!within && !past) continue;
        TQuad q = centred;
        for (int c = 0; c < 4; ++c)
          q.X[c] += shift * v.Ux, q.Y[c] += shift * v.Uy;
        if (!free(q)) continue;
        // Its line runs on under it.
        const double from = std::min(a, at - l), to = std::max(b, at + l);
        if (pass == 0 && !RunOnClear(ox + a * v.Ux, oy + a * v.Uy, ox + b * v.Ux, oy + b * v.Uy,
                                     ox + from * v.Ux, oy + from * v.Uy, ox + to * v.Ux, oy + to * v.Uy,
                                     Extensions, Settled, v.Line, {}, 0, {}))
          continue;
        Boxes[v.Box] = q;
        TSettled& settled = Settled[v.Line];
        settled.X1 = ox + from * v.Ux, settled.Y1 = oy + from * v.Uy, settled.X2 = ox + to * v.Ux,
        settled.Y2 = oy + to * v.Uy;
        v.Move(at / (v.UScale > 0 ? v.UScale : 1));
        moved = true;
        break;
      }
  }
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
      if (FreeMove(x1, y1, x2, y2, dx, dy, leader) && (dx != 0 || dy != 0)) {
        for (int k = 0; k < 4; ++k)
          at.X[k] += dx, at.Y[k] += dy;
        const double a = -t.Turn * Deg, k = 1 / (t.Scale > 0 ? t.Scale : 1);
        t.MoveTo(t.X + k * (std::cos(a) * dx - std::sin(a) * dy),
                 t.Y + k * (std::sin(a) * dx + std::cos(a) * dy));
      }
    }
    Boxes.push_back(at);
    // Its leader, where it settled: no sign's value lies across it.
    if (t.Leader)
      for (const auto& [bx, by] : t.Branches)
        Thin.push_back({t.OX + dx, t.OY + dy, bx, by});
  }
  Titles.clear();
  // Each sign where it is asked, or the nearest place free for it; then every one whose strokes a line
  // crosses there again where it stands clear of the lines, among all the signs settled.
  struct TPlacedSign
  {
    std::size_t Box;
    double X, Y, Angle;
    bool Leader;
  };
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
    if (StrokesClear(s, p.X, p.Y)) continue;
    // Off its own place while it looks for another.
    const TQuad own = Boxes[p.Box];
    Boxes[p.Box] = Rect(-1e6, -1e6, -1e6, -1e6);
    TQuad at;
    double X, Y, angle;
    const bool moved =
        p.Leader ? OnLeader(Signs[i], at, X, Y, angle, true) : PlaceSign(Signs[i], true, at, X, Y, angle);
    Boxes[p.Box] = moved ? at : own;
    if (moved) p.X = X, p.Y = Y, p.Angle = angle;
  }
  // Where its own stretch of line leaves a sign crossed (a line across its arms, its shelf or its value),
  // it leaves that stretch for its surface's line elsewhere, once every other sign has settled.
  for (std::size_t i = 0; i < Signs.size(); ++i) {
    const TPlacedSign& p = placed[i];
    TSign s = Signs[i];
    s.SAngle = p.Angle;
    if (p.Leader || (StrokesClear(s, p.X, p.Y) && !Crossed(SignValue(s, p.X, p.Y)))) continue;
    const TQuad own = Boxes[p.Box];
    Boxes[p.Box] = Rect(-1e6, -1e6, -1e6, -1e6);
    TQuad at;
    double X, Y, angle;
    Boxes[p.Box] = OnSurfaceLine(Signs[i], carry, at, X, Y, angle) ? at : own;
  }
  Signs.clear();
}

bool TSheetLayout::PlaceSign(const TSign& asked, bool strict, TQuad& at, double& X, double& Y, double& angle)
{
  const std::vector<std::pair<double, double>>& moves = SignMoves();
  at = Footprint(asked, asked.SX, asked.SY), X = asked.SX, Y = asked.SY, angle = asked.SAngle;
  // As asked; then, on an extension line, turned over to its other side.
  for (int side = 0; side < 2; ++side) {
    TSign s = asked;
    if (side == 1) s.Angle += 180, s.SAngle += 180;
    const double c = std::cos(s.SAngle * Deg), n = std::sin(s.SAngle * Deg);
    // A line along its base within a millimetre of its tip is the one it stands on.
    double snap = 0, nearest = 1 + 1e-9;
    const auto across = [&](const std::array<double, 4>& g, double& a0, double& a1, double& b0, double& b1) {
      a0 = (g[0] - s.SX) * c + (g[1] - s.SY) * n, a1 = (g[2] - s.SX) * c + (g[3] - s.SY) * n;
      b0 = -(g[0] - s.SX) * n + (g[1] - s.SY) * c, b1 = -(g[2] - s.SX) * n + (g[3] - s.SY) * c;
    };
    for (const auto* lines : {&Segments, &Extensions})
      for (const auto& g : *lines) {
        double a0, a1, b0, b1;
        across(g, a0, a1, b0, b1);
        if (std::fabs(b0 - b1) <= 0.05 && std::fabs(b0) < nearest)
          nearest = std::fabs(b0), snap = (b0 + b1) / 2;
      }
    // What it stands on: the outlines and extension lines through its tip along its base, as far as
    // they go; it slides along them and never leaves them.
    std::vector<std::pair<double, double>> carriers;
    bool onOutline = false;
    for (const auto* lines : {&Segments, &Extensions})
      for (const auto& g : *lines) {
        double a0, a1, b0, b1;
        across(g, a0, a1, b0, b1);
        if (std::fabs(b0 - snap) > 0.05 || std::fabs(b1 - snap) > 0.05) continue;
        carriers.emplace_back(std::min(a0, a1), std::max(a0, a1));
        onOutline =
            onOutline || (lines == &Segments && std::min(a0, a1) <= 0.05 && std::max(a0, a1) >= -0.05);
      }
    // Settled again, it keeps to the stretch of line it was asked on (the carriers that join it there, or
    // the nearest): another stretch of the same line, past a gap, is another surface.
    if (strict && !carriers.empty()) {
      const std::vector<std::pair<double, double>> joined = JoinedStretches(carriers);
      const auto off = [](const std::pair<double, double>& r) {
        return std::max({r.first - 0.05, -0.05 - r.second, 0.0});
      };
      carriers = {*std::min_element(joined.begin(), joined.end(),
                                    [&off](const auto& a, const auto& b) { return off(a) < off(b); })};
    }
    const auto onCarrier = [&carriers](double t) {
      return std::any_of(carriers.begin(), carriers.end(),
                         [t](const auto& r) { return t >= r.first - 0.05 && t <= r.second + 0.05; });
    };
    // On the line of what it stands on, if not yet on the part of it drawn.
    const bool onPart = !carriers.empty();
    // Never turned over onto the material's side of its surface, nor off every line.
    if (side == 1 && (!onPart || onOutline)) break;
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
    for (const auto& [t, u] : moves) {
      if (onPart && (u != 0 || !onCarrier(t))) continue;
      const double x = s.SX + t * c - (u + snap) * n, y = s.SY + t * n + (u + snap) * c;
      // The sign off the outlines and the texts, within the frame; its value off every line too (an
      // extension line may pass under its arms).
      const TQuad q = Footprint(s, x, y), v = SignValue(s, x, y);
      bool framed = true;
      for (int k = 0; k < 4; ++k)
        framed = framed && InFrame(q.X[k], q.Y[k], 0);
      if (!framed || !Clear(q) || !OffAxes(q) ||
          std::any_of(Boxes.begin(), Boxes.end(), [&q](const TQuad& b) { return Overlap(q, b); }))
        continue;
      if (!Free(v) || Crossed(v) || (strict && !SignClear(s, x, y))) continue;
      // Its value, wherever on the sign it stands, not within a view either.
      const double mx = (q.X[0] + q.X[2]) / 2, my = (q.Y[0] + q.Y[2]) / 2;
      bool within = false;
      for (int k = 0; k < 4 && !within; ++k)
        within = Within(q.X[k] + 0.1 * (mx - q.X[k]), q.Y[k] + 0.1 * (my - q.Y[k]));
      if (within) continue;
      at = q;
      tip(t, u + snap);
      if (t != 0 || u + snap != 0 || side == 1 || strict) move(t, u + snap);
      return true;
    }
    // With no free place it stays where asked, on the line it was asked near, at its nearest drawn part.
    if (!strict && side == 0 && onPart) {
      double t = 0;
      for (const auto& r : carriers)
        if (!onCarrier(t) || std::fabs(std::clamp(0.0, r.first, r.second)) < std::fabs(t))
          t = std::clamp(0.0, r.first, r.second);
      if (t != 0 || snap != 0) move(t, snap);
      at = Footprint(s, s.SX + t * c - snap * n, s.SY + t * n + snap * c);
      tip(t, snap);
    }
  }
  return false;
}

bool TSheetLayout::OnSurfaceLine(const TSign& asked,
                                 const std::function<void(double, double, double, double)>& carry, TQuad& at,
                                 double& X, double& Y, double& angle)
{
  // Far enough along the line to pass the lengths stacked beside a part; a line drawn to carry it is an
  // extension line, no longer than one to those lengths.
  constexpr double Reach = 80, Step = 0.5, Past = 2, Carrier = 25;
  const double c = std::cos(asked.SAngle * Deg), n = std::sin(asked.SAngle * Deg);
  // What is drawn along the line, as stretches of it from the tip asked; one of them its surface.
  std::vector<std::pair<double, double>> drawn, outlines;
  for (const auto* lines : {&Segments, &Extensions})
    for (const auto& g : *lines) {
      const double a0 = (g[0] - asked.SX) * c + (g[1] - asked.SY) * n,
                   a1 = (g[2] - asked.SX) * c + (g[3] - asked.SY) * n;
      const double b0 = -(g[0] - asked.SX) * n + (g[1] - asked.SY) * c,
                   b1 = -(g[2] - asked.SX) * n + (g[3] - asked.SY) * c;
      if (std::fabs(b0) > 0.05 || std::fabs(b1) > 0.05) continue;
      drawn.emplace_back(std::min(a0, a1), std::max(a0, a1));
      if (lines == &Segments) outlines.push_back(drawn.back());
    }
  if (outlines.empty()) return false;
  // Its surface: the stretch of outline nearest its ask, joined where the outline goes on; the line's other
  // stretches of outline are other surfaces, which it never stands on or beyond.
  const std::vector<std::pair<double, double>> joined = JoinedStretches(outlines);
  const auto off = [](const std::pair<double, double>& r) { return std::max({r.first, -r.second, 0.0}); };
  const std::pair<double, double> own = *std::min_element(
      joined.begin(), joined.end(), [&off](const auto& a, const auto& b) { return off(a) < off(b); });
  // Whether an axis crosses the line between a and b (from the tip asked).
  const auto axisBetween = [&](double a, double b) {
    return std::any_of(Axes.begin(), Axes.end(), [&](const std::array<double, 4>& g) {
      const double ux = g[2] - g[0], uy = g[3] - g[1], den = c * uy - n * ux;
      if (std::fabs(den) < 1e-9) return false;
      const double wx = g[0] - asked.SX, wy = g[1] - asked.SY;
      const double t = (wx * uy - wy * ux) / den, k = (wx * n - wy * c) / den;
      return t > a && t < b && k >= 0 && k <= 1;
    });
  };
  // A line drawn to carry it runs through no outline, text or sign; across no dimension's line either
  // where the sign finds a place without, as an extension line may where it must.
  const auto lineClear = [this](const std::array<double, 4>& l, bool overLines) {
    const double lx[2] = {l[0], l[2]}, ly[2] = {l[1], l[3]};
    const auto across = [&l](const std::array<double, 4>& g) { return LinesCross(l, g); };
    return std::none_of(Segments.begin(), Segments.end(), across) &&
           (overLines || (std::none_of(CircleLines.begin(), CircleLines.end(), across) &&
                          std::none_of(Settled.begin(), Settled.end(),
                                       [&across](const TSettled& p) {
                                         return across({p.X1, p.Y1, p.X2, p.Y2});
                                       }))) &&
           std::none_of(Boxes.begin(), Boxes.end(),
                        [&](const TQuad& b) { return Overlap(b.X, b.Y, 4, lx, ly, 2); });
  };
  std::vector<double> along;
  for (double t = Step; t <= Reach; t += Step)
    along.push_back(t), along.push_back(-t);
  for (int pass = 0; pass < 2; ++pass) {
    for (const double t : along)
      for (int side = 0; side < 2; ++side) {
        // Nor past another surface on the line, where it would read as that one's; past the other half of
        // its own face, across the axis, it is still on its face.
        if (std::any_of(joined.begin(), joined.end(), [&](const auto& r) {
              return r != own && std::min(t, own.first) <= r.second + 0.05 &&
                     std::max(t, own.second) >= r.first - 0.05 &&
                     !axisBetween(r.first > own.second ? own.second : r.second,
                                  r.first > own.second ? r.first : own.first);
            }))
          continue;
        // Its carrier: what is drawn there, else a line from the nearest end of what is drawn to a little
        // past its tip, away from what it comes from.
        double from = 0, nearest = 1e300;
        bool on = false;
        for (const auto& [a, b] : drawn) {
          on = on || (t >= a - 0.05 && t <= b + 0.05);
          for (const double e : {a, b})
            if (std::fabs(e - t) < nearest) nearest = std::fabs(e - t), from = e;
        }
        // A place on what is drawn is as good the second time round.
        if (on && pass == 1) continue;
        std::array<double, 4> line{};
        if (!on) {
          if (!carry) continue;
          const double to = t + (t > from ? Past : -Past), lo = std::min(from, to), hi = std::max(from, to);
          // Off every other surface on the line, a gap's width away: one that reached across to another
          // would bridge a groove's mouth.
          if (hi - lo > Carrier || std::any_of(joined.begin(), joined.end(), [&](const auto& r) {
                return r != own && r.second > lo - Past && r.first < hi + Past;
              }))
            continue;
          line = {asked.SX + from * c, asked.SY + from * n, asked.SX + to * c, asked.SY + to * n};
          if (!lineClear(line, pass == 1)) continue;
        }
        TSign s = asked;
        if (side == 1) s.SAngle += 180;
        const double x = asked.SX + t * c, y = asked.SY + t * n;
        const TQuad q = Footprint(s, x, y), v = SignValue(s, x, y);
        bool framed = true;
        for (int k = 0; k < 4; ++k)
          framed = framed && InFrame(q.X[k], q.Y[k], 0);
        if (!framed || !Clear(q) || !OffAxes(q) ||
            std::any_of(Boxes.begin(), Boxes.end(), [&q](const TQuad& b) { return Overlap(q, b); }) ||
            !Free(v) || Crossed(v) || !SignClear(s, x, y))
          continue;
        const double mx = (q.X[0] + q.X[2]) / 2, my = (q.Y[0] + q.Y[2]) / 2;
        bool within = false;
        for (int k = 0; k < 4 && !within; ++k)
          within = Within(q.X[k] + 0.1 * (mx - q.X[k]), q.Y[k] + 0.1 * (my - q.Y[k]));
        if (within) continue;
        at = q, X = x, Y = y, angle = s.SAngle;
        MoveSign(asked, X, Y, angle);
        if (!on) carry(line[0], line[1], line[2], line[3]);
        return true;
      }
  }
  return false;
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
  for (int side = 0; side < 2; ++side)
    for (double d = l.To; d >= l.From + SignArm; d -= 0.5) {
      TSign t = s;
      t.SAngle = side == 0 ? angle : angle + 180;
      const double x = l.X1 + l.Ux * d, y = l.Y1 + l.Uy * d;
      const TQuad q = Footprint(t, x, y), v = SignValue(t, x, y);
      // Its tip keeps a value's gap off any text beyond the leader: a value over the tip reads as
      // standing on the sign.
      const TQuad tip = Turned(x, y, t.SAngle, -SignArm, -TipGap, SignArm, 0.05);
      const auto taken = [&q, &tip](const TQuad& b) { return Overlap(q, b) || Overlap(tip, b); };
      bool framed = true;
      for (int k = 0; k < 4; ++k)
        framed = framed && InFrame(q.X[k], q.Y[k], 0);
      if (!framed || !Clear(q) || !OffAxes(q) ||
          (value != nullptr && (taken(*value) || Overlap(v, *value))) ||
          std::any_of(Boxes.begin(), Boxes.end(), taken) || !Free(v) || Crossed(v) ||
          (strict && !SignClear(t, x, y)))
        continue;
      X = x, Y = y, angle = t.SAngle;
      return true;
    }
  return false;
}

bool TSheetLayout::OnLeader(const TSign& s, TQuad& at, double& X, double& Y, double& angle, bool strict)
{
  const auto l = std::find_if(Leaders.begin(), Leaders.end(),
                              [&s](const TLeader& l) { return AskedOn(s, l.CX, l.CY, l.Asked); });
  if (l == Leaders.end()) return false;
  // The place kept for it is its own now.
  if (l->Kept < Boxes.size()) Boxes[l->Kept] = Rect(-1e6, -1e6, -1e6, -1e6);
  if (!SignOnLeader(s, *l, &l->Value, X, Y, angle, strict) && strict) return false;
  TSign t = s;
  t.SAngle = angle;
  at = Footprint(t, X, Y);
  MoveSign(s, X, Y, angle);
  return true;
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
    const auto fits = [&](double dx, double dy) {
      return Free(Rect(left + dx, top + dy - high[size], left + dx + wide[size], top + dy));
    };
    if (fits(0, 0)) return;
    double best = -1, bx = 0, by = 0;
    for (int i = -80; i <= 20; ++i)
      for (int j = -40; j <= 40; ++j) {
        const double dx = 5.0 * i, dy = 5.0 * j, d = std::hypot(dx, dy);
        if ((best < 0 || d < best) && fits(dx, dy)) best = d, bx = dx, by = dy;
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
    const double ex = own.X[k] + dx - cx, ey = own.Y[k] + dy - cy, n = std::hypot(ex, ey),
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
                            const std::function<bool(double, double)>& also) const
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
  double best = -1;
  for (int i = -100; i <= 100; ++i)
    for (int j = -70; j <= 70; ++j) {
      const double mx = 2.0 * i, my = 2.0 * j, d = std::hypot(mx, my);
      if ((best < 0 || d < best) && free(Rect(x1 + mx, y1 + my, x2 + mx, y2 + my)) && (!also || also(mx, my)))
        best = d, dx = mx, dy = my;
    }
  return best >= 0;
}

TQuad TSheetLayout::AngleValue(double X, double Y, double a1, double a2, double r, std::size_t chars)
{
  // The value beyond the arc's middle, read from below, its corner nearest the vertex there.
  const double mid = (a1 + a2) / 2 * Deg, tx = X + (r + 2) * std::cos(mid), ty = Y + (r + 2) * std::sin(mid);
  const double len = 0.6 * ValueHeight * double(chars);
  return TextBox(std::cos(mid) < 0 ? tx - len : tx, std::sin(mid) < 0 ? ty - ValueHeight : ty, 0, ValueHeight,
                 chars);
}

bool TSheetLayout::AngleFits(double X, double Y, double a1, double a2, double r, std::size_t chars,
                             bool record)
{
  if (!On) return true;
  for (int i = 0; i <= 12; ++i) {
    const double a = (a1 + (a2 - a1) * i / 12) * Deg, px = X + r * std::cos(a), py = Y + r * std::sin(a);
    if (px < FrameLeft || px > W - FrameMargin || py < FrameMargin || py > H - FrameMargin) return false;
  }
  const TQuad q = AngleValue(X, Y, a1, a2, r, chars);
  for (int k = 0; k < 4; ++k)
    if (q.X[k] < FrameLeft || q.X[k] > W - FrameMargin || q.Y[k] < FrameMargin || q.Y[k] > H - FrameMargin)
      return false;
  if (record) Boxes.push_back(q);
  return true;
}

void TModelerApi::drFreePlace(double& x, double& y, double x1, double y1, double x2, double y2)
{
  if (!Layout.Active() || !AllFinite({x, y, x1, y1, x2, y2})) return;
  double X, Y, dx, dy;
  SheetPoint(x, y, X, Y);
  if (!Layout.FreeMove(X + x1, Y + y1, X + x2, Y + y2, dx, dy) || (dx == 0 && dy == 0)) return;
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
  TSheetLayout::TTitle title;
  title.MoveTo = std::move(moveTo), title.X = x, title.Y = y;
  title.Scale = (SelfTransform() ? 1.0 : R2D().Transf2D.ScaleMtr()) * Layout.ViewScale();
  title.Turn = (SelfTransform() ? 0.0 : R2D().Transf2D.AngleMtr()) + Layout.ViewAngle();
  title.Level = std::fabs(std::remainder(angle + title.Turn, 360.0)) < 1e-9;
  double X, Y;
  SheetPoint(x, y, X, Y);
  title.Box = TSheetLayout::TextBox(X, Y, angle + title.Turn, h * title.Scale, std::size_t(S.Length()));
  Layout.Title(title);
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
  Layout.Arc(CX, CY, std::hypot(sX - CX, sY - CY), std::atan2(sY - CY, sX - CX) / Deg, turned / Deg, outline);
}

void TModelerApi::LineDimensionOnSheet(double Dx, double Dy, double a, double x1, double y1, double x2,
                                       double y2, int chars, double lineX, double lineY)
{
  const bool parallel = Dx != 0.0 && Dy != 0.0;
  const double sx = std::cos(a), sy = std::sin(a);
  double ux = parallel ? x2 - x1 : std::fabs(sx) < std::fabs(sy) ? 1 : 0, uy = parallel ? y2 - y1 : 1 - ux;
  const double len = std::hypot(ux, uy);
  if (!(len > 0)) return;
  ux /= len, uy /= len;
  const double flip = -uy * sx + ux * sy >= 0 ? 1 : -1, nx = -uy * flip, ny = ux * flip;
  double X1, Y1, X2, Y2, OX, OY, UX, UY, NX, NY;
  SheetPoint(x1, y1, X1, Y1), SheetPoint(x2, y2, X2, Y2), SheetPoint(x1 + ux, y1 + uy, UX, UY);
  SheetPoint(x1 + nx, y1 + ny, NX, NY), SheetPoint(x1, y1, OX, OY);
  UX -= OX, UY -= OY, NX -= OX, NY -= OY;
  const double ul = std::hypot(UX, UY), nl = std::hypot(NX, NY);
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
  const double ul = std::hypot(UX, UY), nl = std::hypot(NX, NY);
  if (!(ul > 0) || !(nl > 0)) return;
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
  Layout.Dimension(m);
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
