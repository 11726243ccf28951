// The measures the sheet layout's units share: the frame's margins and a roughness sign's size on the
// sheet, boxes turned on it, and whether boxes and lines meet.
#pragma once

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

#include "hxcadkit/adapter/drModelerAPI.h"

namespace drApi::sheet {

constexpr double Deg = TMathDef::C_PI / 180.0;
// The frame's margins (the binding margin on the left) and the title block's size.
constexpr double FrameLeft = 20, FrameMargin = 5, StampWidth = 185, StampHeight = 55;
// A roughness sign as a sheet draws it: its arms, its shelf and the value 3.5 high on the shelf.
constexpr double SignArm = 2.5, SignShelfEnd = 17, SignValueFrom = 6, SignTop = 13.2, ValueHeight = 3.5;
// The height of its shelf over its base: the long arm, twice the short one, rises at 60 degrees.
constexpr double SignShelf = 2 * SignArm * 1.7320508075688772;
// How far past its free end a sign's stroke is kept apart from a line or a text.
constexpr double StrokeOn = 0.5;
// How long a value of chars characters is written, at the sheet's value height.
constexpr double ValueLength(std::size_t chars)
{
  return 0.6 * ValueHeight * double(chars);
}
// A dimension's arrowhead: 3 long, 1.7 wide.
constexpr double ArrowLength = 3;
// The least gap between a sign's tip and a text beyond the line it stands on.
constexpr double TipGap = 1.5;
// How far a sign's footprint is kept off an axis, along its base and above its top.
constexpr double AxisGap = 1;
// How far an extension line runs on past its dimension line.
constexpr double ExtensionPast = 2;
// How much farther than a view is across an extension line may run over it: one running farther runs
// along the part, past the steps and holes between.
constexpr double ExtensionOverView = 0.5;
// How far past its arc's radius a diameter's or radius's value may stand from its arrow: a reader follows a
// leader no farther.
constexpr double LeaderReach = 30;
// How far apart parallel dimension lines stand at least, as a draftsman spaces them.
constexpr double DimensionSpacing = 7;
// How near a parallel outline a dimension line runs along it, where they lie beside each other for more
// than a millimetre: the line reads as the outline's edge.
constexpr double OutlineAlongside = 2;

// A length on the sheet. The library's hypot takes care of overflow and underflow, which lengths in
// millimetres never come near, at several times the cost: it was a fifth of a crowded sheet's layout.
inline double Norm(double x, double y)
{
  return std::sqrt(x * x + y * y);
}

// The end of the extension line from a measured point (px, py) to its dimension line at (ax, ay): past the
// line by ExtensionPast; the point itself where the line passes through it (no extension line).
inline std::array<double, 2> ExtensionEnd(double px, double py, double ax, double ay)
{
  const double l = Norm(ax - px, ay - py);
  if (!(l > 1e-9)) return {ax, ay};
  return {ax + (ax - px) / l * ExtensionPast, ay + (ay - py) / l * ExtensionPast};
}

using TQuad = TSheetLayout::TQuad;
inline TQuad Rect(double x1, double y1, double x2, double y2)
{
  return {{x1, x2, x2, x1}, {y1, y1, y2, y2}};
}

// The quad (x1..x2, y1..y2) of a frame at (X, Y) turned by angle degrees.
// The same, the frame's turn given by its cosine c and sine s.
inline TQuad Turned(double X, double Y, double c, double s, double x1, double y1, double x2, double y2)
{
  TQuad q = Rect(x1, y1, x2, y2), out;
  for (int k = 0; k < 4; ++k) {
    out.X[k] = X + c * q.X[k] - s * q.Y[k];
    out.Y[k] = Y + s * q.X[k] + c * q.Y[k];
  }
  return out;
}
inline TQuad Turned(double X, double Y, double angle, double x1, double y1, double x2, double y2)
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
inline bool Overlap(const double* ax, const double* ay, int n, const double* bx, const double* by, int m)
{
  // Polygons whose boxes lie more than a micrometre apart have an edge between them: most pairs a layout
  // asks about are told apart here, without the edges' projections.
  double ax1 = ax[0], ax2 = ax[0], ay1 = ay[0], ay2 = ay[0], bx1 = bx[0], bx2 = bx[0], by1 = by[0],
         by2 = by[0];
  double all = 0;
  for (int k = 0; k < n; ++k)
    ax1 = std::min(ax1, ax[k]), ax2 = std::max(ax2, ax[k]), ay1 = std::min(ay1, ay[k]),
    ay2 = std::max(ay2, ay[k]), all += ax[k] + ay[k];
  for (int k = 0; k < m; ++k)
    bx1 = std::min(bx1, bx[k]), bx2 = std::max(bx2, bx[k]), by1 = std::min(by1, by[k]),
    by2 = std::max(by2, by[k]), all += bx[k] + by[k];
  constexpr double Apart = 1e-6;
  if (std::isfinite(all) &&
      (ax2 + Apart < bx1 || bx2 + Apart < ax1 || ay2 + Apart < by1 || by2 + Apart < ay1))
    return false;
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

// The moves d along the unit vector (ux, uy) by which the quad a, moved that far, surely meets the quad b:
// an open stretch of them on which every edge's axis of either finds their projections overlapping by more
// than a micrometre, so that Overlap finds them meeting whatever its rounding. Empty (first >= second)
// where there is none, or a corner is not a number.
inline std::pair<double, double> MeetingMoves(const TQuad& a, double ux, double uy, const TQuad& b)
{
  constexpr double Sure = 1e-6;
  double lo = -HUGE_VAL, hi = HUGE_VAL;
  for (int side = 0; side < 2; ++side) {
    const TQuad& e = side == 0 ? a : b;
    for (int i = 0; i < 4; ++i) {
      const int j = (i + 1) % 4;
      const double ex = e.Y[i] - e.Y[j], ey = e.X[j] - e.X[i], l = Norm(ex, ey);
      if (l == 0) continue;
      if (!(l > 0) || !std::isfinite(l)) return {0, 0};
      const double nx = ex / l, ny = ey / l;
      double amin = HUGE_VAL, amax = -HUGE_VAL, bmin = HUGE_VAL, bmax = -HUGE_VAL;
      for (int k = 0; k < 4; ++k)
        amin = std::min(amin, nx * a.X[k] + ny * a.Y[k]), amax = std::max(amax, nx * a.X[k] + ny * a.Y[k]),
        bmin = std::min(bmin, nx * b.X[k] + ny * b.Y[k]), bmax = std::max(bmax, nx * b.X[k] + ny * b.Y[k]);
      // Moved by d, a's projection is shifted by d k: overlapping b's by more than Sure while d k lies
      // between from and to.
      const double k = ux * nx + uy * ny, from = bmin + Sure - amax, to = bmax - Sure - amin;
      if (!(from < to)) return {0, 0};
      if (k == 0) {
        if (!(from < 0 && 0 < to)) return {0, 0};
        continue;
      }
      lo = std::max(lo, std::min(from / k, to / k)), hi = std::min(hi, std::max(from / k, to / k));
    }
  }
  if (!(lo < hi)) return {0, 0};
  return {lo, hi};
}

// A quad asked against many boxes and lines: what Overlap works out of it alone, worked out once, so that
// Meets(b) answers exactly as Overlap(q, b) does.
class TAgainst
{
public:
  explicit TAgainst(const TQuad& q)
  {
    X1 = X2 = q.X[0], Y1 = Y2 = q.Y[0];
    for (int k = 0; k < 4; ++k)
      X[k] = q.X[k], Y[k] = q.Y[k], X1 = std::min(X1, X[k]), X2 = std::max(X2, X[k]), Y1 = std::min(Y1, Y[k]),
      Y2 = std::max(Y2, Y[k]), All += X[k] + Y[k];
  }
  // Its box: the least and the most x and y.
  double X1, X2, Y1, Y2;
  // Its box as x1, y1, x2, y2, not a number where a corner is not.
  std::array<double, 4> Box() const
  {
    return std::isfinite(All) ? std::array<double, 4>{X1, Y1, X2, Y2} : std::array<double, 4>{NAN, NAN, NAN, NAN};
  }

  // Whether the quad and the convex polygon of m corners overlap (see Overlap).
  bool Meets(const double* bx, const double* by, int m) const
  {
    double bx1 = bx[0], bx2 = bx[0], by1 = by[0], by2 = by[0], all = All;
    for (int k = 0; k < m; ++k)
      bx1 = std::min(bx1, bx[k]), bx2 = std::max(bx2, bx[k]), by1 = std::min(by1, by[k]),
      by2 = std::max(by2, by[k]), all += bx[k] + by[k];
    constexpr double Apart = 1e-6;
    if (std::isfinite(all) && (X2 + Apart < bx1 || bx2 + Apart < X1 || Y2 + Apart < by1 || by2 + Apart < Y1))
      return false;
    // Its edges' projections, worked out at the first polygon its box does not tell apart.
    if (!Projected) {
      for (int i = 0; i < 4; ++i) {
        const int j = (i + 1) % 4;
        Nx[i] = Y[i] - Y[j], Ny[i] = X[j] - X[i];
        for (int k = 0; k < 4; ++k)
          Min[i] = std::min(Min[i], Nx[i] * X[k] + Ny[i] * Y[k]),
          Max[i] = std::max(Max[i], Nx[i] * X[k] + Ny[i] * Y[k]);
      }
      Projected = true;
    }
    for (int i = 0; i < 4; ++i) {
      if (Nx[i] == 0 && Ny[i] == 0) continue;
      double bmin = 1e300, bmax = -1e300;
      for (int k = 0; k < m; ++k)
        bmin = std::min(bmin, Nx[i] * bx[k] + Ny[i] * by[k]),
        bmax = std::max(bmax, Nx[i] * bx[k] + Ny[i] * by[k]);
      if (Max[i] <= bmin || bmax <= Min[i]) return false;
    }
    for (int i = 0; i < m; ++i) {
      const int j = (i + 1) % m;
      const double nx = by[i] - by[j], ny = bx[j] - bx[i];
      if (nx == 0 && ny == 0) continue;
      double amin = 1e300, amax = -1e300, bmin = 1e300, bmax = -1e300;
      for (int k = 0; k < 4; ++k)
        amin = std::min(amin, nx * X[k] + ny * Y[k]), amax = std::max(amax, nx * X[k] + ny * Y[k]);
      for (int k = 0; k < m; ++k)
        bmin = std::min(bmin, nx * bx[k] + ny * by[k]), bmax = std::max(bmax, nx * bx[k] + ny * by[k]);
      if (amax <= bmin || bmax <= amin) return false;
    }
    return true;
  }
  bool Meets(const TQuad& b) const { return Meets(b.X, b.Y, 4); }
  // The same for the segment g (x1, y1, x2, y2), told apart by its box first without a call.
  bool Meets(const std::array<double, 4>& g) const
  {
    constexpr double Apart = 1e-3;
    const double all = All + (g[0] + g[1]) + (g[2] + g[3]);
    if (std::isfinite(all) && (std::max(g[0], g[2]) + Apart < X1 || std::min(g[0], g[2]) - Apart > X2 ||
                               std::max(g[1], g[3]) + Apart < Y1 || std::min(g[1], g[3]) - Apart > Y2))
      return false;
    const double gx[2] = {g[0], g[2]}, gy[2] = {g[1], g[3]};
    return Meets(gx, gy, 2);
  }

private:
  double X[4], Y[4], All = 0;
  mutable bool Projected = false;
  mutable double Nx[4] = {}, Ny[4] = {};
  mutable double Min[4] = {1e300, 1e300, 1e300, 1e300}, Max[4] = {-1e300, -1e300, -1e300, -1e300};
};

// The box (x1, y1, x2, y2) of a quad or a segment (x1, y1, x2, y2), not a number where a point is not: the
// least and the most of numbers pass over one that is not.
inline std::array<double, 4> Span(const TQuad& q)
{
  if (!std::isfinite(q.X[0] + q.X[1] + q.X[2] + q.X[3] + q.Y[0] + q.Y[1] + q.Y[2] + q.Y[3]))
    return {NAN, NAN, NAN, NAN};
  return {std::min({q.X[0], q.X[1], q.X[2], q.X[3]}), std::min({q.Y[0], q.Y[1], q.Y[2], q.Y[3]}),
          std::max({q.X[0], q.X[1], q.X[2], q.X[3]}), std::max({q.Y[0], q.Y[1], q.Y[2], q.Y[3]})};
}
inline std::array<double, 4> Span(const std::array<double, 4>& g)
{
  if (!std::isfinite(g[0] + g[1] + g[2] + g[3])) return {NAN, NAN, NAN, NAN};
  return {std::min(g[0], g[2]), std::min(g[1], g[3]), std::max(g[0], g[2]), std::max(g[1], g[3])};
}

// Whether the boxes of the segments a and b (x1, y1, x2, y2) lie more than apart.
inline bool BoxesApart(const std::array<double, 4>& a, const std::array<double, 4>& b, double apart)
{
  return std::max(a[0], a[2]) + apart < std::min(b[0], b[2]) ||
         std::max(b[0], b[2]) + apart < std::min(a[0], a[2]) ||
         std::max(a[1], a[3]) + apart < std::min(b[1], b[3]) ||
         std::max(b[1], b[3]) + apart < std::min(a[1], a[3]);
}

// How far (x, y) lies from the segment g (x1, y1, x2, y2).
inline double OffSegment(double x, double y, const std::array<double, 4>& g)
{
  const double ux = g[2] - g[0], uy = g[3] - g[1], l2 = ux * ux + uy * uy;
  const double t = l2 > 0 ? std::clamp(((x - g[0]) * ux + (y - g[1]) * uy) / l2, 0.0, 1.0) : 0.0;
  return Norm(x - g[0] - t * ux, y - g[1] - t * uy);
}

// Whether the segments a and b (x1, y1, x2, y2) cross more than 0.2 mm from each one's ends, or run
// along each other: a line that ends on another (an arrow on an extension line) only touches it.
inline bool LinesCross(const std::array<double, 4>& a, const std::array<double, 4>& b)
{
  // Either takes a point of the other, or runs within 0.05 of it: segments whose boxes lie farther apart
  // do neither.
  if (BoxesApart(a, b, 0.1)) return false;
  const double ux = a[2] - a[0], uy = a[3] - a[1], vx = b[2] - b[0], vy = b[3] - b[1];
  const double la = Norm(ux, uy), lb = Norm(vx, vy), wx = b[0] - a[0], wy = b[1] - a[1];
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

inline bool Overlap(const TQuad& a, const TQuad& b)
{
  return Overlap(a.X, a.Y, 4, b.X, b.Y, 4);
}

} // namespace drApi::sheet
