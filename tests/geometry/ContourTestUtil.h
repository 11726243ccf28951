#pragma once
// Helpers of the contour tests: contours built from lists of curves, and a modeller that
// records what a contour draws.
#include <cstddef>
#include <initializer_list>
#include <sstream>
#include <string>
#include <vector>

#include "hxcadkit/geometry/Contour.h"
#include "hxcadkit/geometry/Elements.h"

namespace contourtest {

// A contour that takes over the given heap curves, in order.
inline void Fill(TContour& c, std::initializer_list<TCurve2D*> members)
{
  for (TCurve2D* m : members)
    c.Add(m);
  c.Refresh();
}

// The corners of the box (x1, y1)-(x2, y2), counter-clockwise from (x1, y1).
inline std::vector<TPoint2D> Corners(double x1, double y1, double x2, double y2)
{
  return {{x1, y1}, {x2, y1}, {x2, y2}, {x1, y2}};
}

// A closed polygon of segments through the points, added to what c holds.
inline void Polygon(TContour& c, const std::vector<TPoint2D>& P)
{
  for (size_t i = 0; i < P.size(); ++i) {
    const TPoint2D& a = P[i];
    const TPoint2D& b = P[(i + 1) % P.size()];
    c.Add(new TLineSeg(a.x, a.y, b.x, b.y));
  }
  c.Refresh();
}

// The closed square (0,0)-(4,0)-(4,4)-(0,4), counter-clockwise, four segments.
inline void Square(TContour& c, double x0 = 0, double y0 = 0, double a = 4)
{
  Polygon(c, Corners(x0, y0, x0 + a, y0 + a));
}

// Records the drawing calls of a contour, one line each ("L x1 y1 x2 y2 s<style>", "C x y r s<style>",
// "A x y r a1 a2 s<style> d<dir>"), as the contour drawing link while it lives. The modeller it is
// handed is never touched, so the tests pass Placeholder().
struct TRecordingModeller : TContourDrawLink
{
  TRecordingModeller() { SetContourDrawLink(this); }
  ~TRecordingModeller() override { SetContourDrawLink(nullptr); }
  static TModeler3D& Placeholder()
  {
    alignas(std::max_align_t) static unsigned char storage[64];
    return *reinterpret_cast<TModeler3D*>(storage);
  }
  operator TModeler3D&() const { return Placeholder(); }

  mutable std::vector<std::string> calls;
  void Record(char kind, std::initializer_list<double> v, int style, const char* tail = "") const
  {
    std::ostringstream s;
    s << kind;
    for (double x : v)
      s << ' ' << x;
    s << " s" << style << tail;
    calls.push_back(s.str());
  }
  void drLine(TModeler3D&, const double& x1, const double& y1, const double& x2, const double& y2,
              int style) const override
  {
    Record('L', {x1, y1, x2, y2}, style);
  }
  void drCircle(TModeler3D&, const double& x, const double& y, const double& r, int style) const override
  {
    Record('C', {x, y, r}, style);
  }
  void drArc(TModeler3D&, const double& x, const double& y, const double& r, const double& a1,
             const double& a2, int style, int dir) const override
  {
    Record('A', {x, y, r, a1, a2}, style, dir < 0 ? " d-1" : " d1");
  }
};

} // namespace contourtest
