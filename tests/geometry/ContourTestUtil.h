#pragma once
// Helpers of the contour tests: contours built from lists of curves, and what a test saw as text.
#include <array>
#include <cmath>
#include <initializer_list>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

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

inline std::unique_ptr<TContour> Made(std::initializer_list<TCurve2D*> members)
{
  auto c = std::make_unique<TContour>();
  Fill(*c, members);
  return c;
}

// The corners of the box (x1, y1)-(x2, y2), counter-clockwise from (x1, y1).
inline std::vector<TPoint2D> Corners(double x1, double y1, double x2, double y2)
{
  return {{x1, y1}, {x2, y1}, {x2, y2}, {x1, y2}};
}

// A closed polygon of segments through the points, added to what c holds.
inline void Polygon(TContour& c, const std::vector<TPoint2D>& P)
{
  for (size_t i = 0; i < P.size(); ++i)
    c.Add(new TLineSeg(P[i].x, P[i].y, P[(i + 1) % P.size()].x, P[(i + 1) % P.size()].y));
  c.Refresh();
}

// The closed square (0,0)-(4,0)-(4,4)-(0,4), counter-clockwise, four segments.
inline void Square(TContour& c, double x0 = 0, double y0 = 0, double a = 4)
{
  Polygon(c, Corners(x0, y0, x0 + a, y0 + a));
}

// Numbers and points as text, rounded to 1e-9 (no "-0"), so that one comparison checks many of
// them; and tables of rules, one row each: what a row saw and what it should.
inline void Put(std::ostream& s, double v)
{
  s << ' ' << std::round(v * 1e9) / 1e9 + 0.0;
}
inline void Put(std::ostream& s, const TPoint2D& P)
{
  Put(s, P.x), Put(s, P.y);
}
template <class... A> std::string Seen(const A&... v)
{
  std::ostringstream s;
  s.precision(12);
  (Put(s, v), ...);
  return s.str().substr(1);
}
inline void ExpectRows(std::initializer_list<std::array<std::string, 3>> rows)
{
  for (const auto& [rule, seen, expected] : rows)
    EXPECT_EQ(seen, expected) << rule;
}

} // namespace contourtest
