#pragma once
// Boost.Geometry as the independent reference of the polygon tests (header-only, tests and
// benchmarks only).
// Without the integer rescaling of the overlay, whose rounding moves crossings by about 1e-7.
#define BOOST_GEOMETRY_NO_ROBUSTNESS
#include <boost/geometry.hpp>
#include <boost/geometry/geometries/point_xy.hpp>
#include <boost/geometry/geometries/polygon.hpp>
#include <boost/geometry/geometries/multi_polygon.hpp>

#include <cmath>
#include <vector>

#include "hxcadkit/geometry/Mathemat.h"

namespace oracle {

namespace bg = boost::geometry;
using Point = bg::model::d2::point_xy<double>;
using Polygon = bg::model::polygon<Point, false>; // counter-clockwise
using MultiPolygon = bg::model::multi_polygon<Polygon>;
using Ring = bg::model::ring<Point, false>;

inline Polygon Make(const std::vector<TPoint2D>& P)
{
  Polygon g;
  for (const TPoint2D& p : P)
    g.outer().push_back(Point(p.x, p.y));
  bg::correct(g);
  return g;
}

// The regular n-gon inscribed in the circle (outer false) or drawn around it (outer true).
inline Polygon Circle(double x, double y, double r, int n, bool outer)
{
  const double R = outer ? r / std::cos(TMathDef::C_PI / n) : r;
  std::vector<TPoint2D> P;
  for (int i = 0; i < n; ++i)
    P.emplace_back(x + R * std::cos(2 * TMathDef::C_PI * i / n), y + R * std::sin(2 * TMathDef::C_PI * i / n));
  return Make(P);
}

inline MultiPolygon Union(const std::vector<Polygon>& shapes)
{
  MultiPolygon acc;
  for (const Polygon& g : shapes) {
    MultiPolygon next;
    bg::union_(acc, g, next);
    acc.swap(next);
  }
  return acc;
}

} // namespace oracle
