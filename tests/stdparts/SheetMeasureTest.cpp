// Every mould part's sheet measured on its model, as a mould designer checks a sheet before release:
// every linear value on the sheet is a distance between faces of the part's evaluated solid (planes
// across the value's direction, the extremes of cylinders and circular edges, their axial positions),
// every diameter is a diameter of the solid, every cut the model makes removes material, and every part
// and assembly file the part builds passes the solid evaluator's check. Where no solid is made, the
// model's sketches stand in for it. In the main view of a revolved part every value stands where the
// sheet puts it: the view's axis is mapped onto the model's, an axial value has faces at both its ends,
// a diameter is a cylinder or circular edge of the model there. Every flat, grade and groove of the model
// lies on the round it is cut in. The sweep takes the first, middle and last rows of every table and the
// parts without a table at half, once and twice the sweep's sizes; scripts/sheets.sh --full
// (HXCAD_GEOMETRY_ROWS=all) takes every row.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <tuple>
#include <utility>
#include <vector>

#include <BRepAdaptor_Curve.hxx>
#include <BRepAdaptor_Surface.hxx>
#include <BRepBndLib.hxx>
#include <BRep_Tool.hxx>
#include <Bnd_Box.hxx>
#include <TopExp_Explorer.hxx>
#include <TopoDS.hxx>
#include <gp_Lin.hxx>

#include "../adapter/AdapterSupport.h"
#include "BetweenSizes.h"
#include "MouldPartList.h"
#include "MouldSheetLayout.h"
#include "PushedSizes.h"
#include "RecordingModeler.h"
#include "SheetDims.h"
#include "SheetLinesCheck.h"
#include "StdPartsSupport.h"
#include "plugin/MouldDocuments.h"
#include "tests/TestNames.h"
#include "tests/core/TextBaseTestUtil.h"
#include "txhost/lib/DimensionFacets.h"
#include "txhost/lib/Drawing2D.h"
#include "txhost/lib/Model.h"
#include "txhost/lib/SvgWriter.h"
#include "txhost/lib/Text.h"
#include "txhost/solid/Evaluator.h"
#include "txhost/solid/Shape.h"

namespace sheetmeasure {

using drApi::MA;
using stdtest::mouldparts::TMade;
using stdtest::mouldparts::TPart;
using txhost::solid::TVec3;

// --- The sizes swept ------------------------------------------------------------------------------

struct TAt
{
  int Row = 0;
  double K = 1;
  std::string Name;
};

std::string Rows()
{
  const char* v = std::getenv("HXCAD_GEOMETRY_ROWS");
  return v != nullptr ? v : "";
}

bool AllRows()
{
  return Rows() == "all";
}

std::vector<TAt> SizesOf(const TPart& part)
{
  std::vector<TAt> v;
  if (part.Table == 0) {
    for (double k : {0.5, 1.0, 2.0})
      v.push_back({0, k, std::string("x").append(std::to_string(k))});
    return v;
  }
  const int rows = ABaseDetail.SocketCount(part.Table) - 1; // rows 1 .. rows
  std::vector<int> taken;
  if (AllRows()) {
    for (int r = 1; r <= rows; ++r)
      taken.push_back(r);
  } else {
    taken = {1, (rows + 1) / 2, rows};
    taken.erase(std::unique(taken.begin(), taken.end()), taken.end());
  }
  for (int r : taken)
    v.push_back({r, 1, std::string("row ").append(std::to_string(r))});
  return v;
}

// --- What the sheet gives -----------------------------------------------------------------------

using stdtest::sheetdims::TDim;
using stdtest::sheetdims::TDimTap;

// --- What the model has ---------------------------------------------------------------------------

// A plane (point, normal) or a circle (centre, axis, radius: a circular edge or a cylinder's axis).
struct TPlane
{
  TVec3 P, N;
  std::vector<TVec3> Corners; // the face's vertices
};
struct TCircle
{
  TVec3 C, A;
  double R = 0;
};

// A straight edge: a point of it and its direction (a hexagon's corner along the axis).
struct TEdge
{
  TVec3 P, D;
};

// A cylindrical face: its axis, radius and extent along its axis (from its vertices).
struct TCylinder
{
  TVec3 C, A;
  double R = 0, Lo = 0, Hi = 0;
};

// A conical face: its axis, where along it its reference radius lies, that radius and the slope.
struct TCone
{
  TVec3 C, A;
  double R = 0, Tan = 0, Lo = 0, Hi = 0;
};

struct TGeometry
{
  std::vector<TPlane> Planes;
  std::vector<TCylinder> Cylinders;
  std::vector<TCone> Cones;
  std::vector<TEdge> Edges;
  std::vector<TCircle> Circles;
  // Sketch stations where the part makes no solid: positions along the sketch's two axes.
  std::vector<double> SketchX, SketchY, SketchDiameters;
  bool Solid = false;
};

double Dot(const TVec3& a, const TVec3& b)
{
  return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

TVec3 Vec(const gp_XYZ& v)
{
  return {v.X(), v.Y(), v.Z()};
}

void Collect(const TopoDS_Shape& shape, TGeometry& g)
{
  for (TopExp_Explorer e(shape, TopAbs_FACE); e.More(); e.Next()) {
    const BRepAdaptor_Surface s(TopoDS::Face(e.Current()));
    if (s.GetType() == GeomAbs_Plane) {
      const gp_Pln p = s.Plane();
      g.Planes.push_back({Vec(p.Location().XYZ()), Vec(p.Axis().Direction().XYZ()), {}});
      for (TopExp_Explorer v(e.Current(), TopAbs_VERTEX); v.More(); v.Next())
        g.Planes.back().Corners.push_back(Vec(BRep_Tool::Pnt(TopoDS::Vertex(v.Current())).XYZ()));
    } else if (s.GetType() == GeomAbs_Cylinder) {
      const gp_Cylinder c = s.Cylinder();
      g.Circles.push_back({Vec(c.Location().XYZ()), Vec(c.Axis().Direction().XYZ()), c.Radius()});
      TCylinder k{g.Circles.back().C, g.Circles.back().A, c.Radius(), HUGE_VAL, -HUGE_VAL};
      for (TopExp_Explorer v(e.Current(), TopAbs_VERTEX); v.More(); v.Next()) {
        const double t = Dot(Vec(BRep_Tool::Pnt(TopoDS::Vertex(v.Current())).XYZ()), k.A);
        k.Lo = std::min(k.Lo, t), k.Hi = std::max(k.Hi, t);
      }
      if (k.Lo <= k.Hi) g.Cylinders.push_back(k);
    } else if (s.GetType() == GeomAbs_Cone) {
      const gp_Cone c = s.Cone();
      TCone k{Vec(c.Location().XYZ()),
              Vec(c.Axis().Direction().XYZ()),
              c.RefRadius(),
              std::tan(c.SemiAngle()),
              HUGE_VAL,
              -HUGE_VAL};
      for (TopExp_Explorer v(e.Current(), TopAbs_VERTEX); v.More(); v.Next()) {
        const double t = Dot(Vec(BRep_Tool::Pnt(TopoDS::Vertex(v.Current())).XYZ()), k.A);
        k.Lo = std::min(k.Lo, t), k.Hi = std::max(k.Hi, t);
      }
      if (k.Lo <= k.Hi) g.Cones.push_back(k);
    }
  }
  for (TopExp_Explorer e(shape, TopAbs_EDGE); e.More(); e.Next()) {
    const BRepAdaptor_Curve c(TopoDS::Edge(e.Current()));
    if (c.GetType() == GeomAbs_Line) {
      const gp_Lin l = c.Line();
      g.Edges.push_back({Vec(l.Location().XYZ()), Vec(l.Direction().XYZ())});
    }
    if (c.GetType() != GeomAbs_Circle) continue;
    const gp_Circ k = c.Circle();
    g.Circles.push_back({Vec(k.Location().XYZ()), Vec(k.Axis().Direction().XYZ()), k.Radius()});
  }
}

// The model's sketches, as the recording modeller took them: where no solid is made they are the model.
void CollectSketches(const TRecordingModeler& m, TGeometry& g)
{
  for (const auto& c : m.Curves) {
    if (c.Sketch < 0 || c.Style == 3) continue;
    if (c.Kind == TRecordingModeler::TCurve::Line || c.Kind == TRecordingModeler::TCurve::Arc) {
      g.SketchX.insert(g.SketchX.end(), {c.x1, c.x2});
      g.SketchY.insert(g.SketchY.end(), {c.y1, c.y2, -c.y1, -c.y2});
      g.SketchDiameters.insert(g.SketchDiameters.end(), {2 * std::fabs(c.y1), 2 * std::fabs(c.y2)});
    }
    if (c.Kind != TRecordingModeler::TCurve::Line) {
      g.SketchX.insert(g.SketchX.end(), {c.cx - c.r, c.cx + c.r});
      g.SketchY.insert(g.SketchY.end(), {c.cy - c.r, c.cy + c.r});
      g.SketchDiameters.push_back(2 * c.r);
    }
  }
}

constexpr double Tol = 2e-3;

bool Parallel(const TVec3& a, const TVec3& b)
{
  return std::fabs(std::fabs(Dot(a, b)) - 1) < 1e-9;
}

// Whether two of the positions lie v apart.
bool Apart(std::vector<double> s, double v)
{
  std::sort(s.begin(), s.end());
  for (double a : s) {
    const auto it = std::lower_bound(s.begin(), s.end(), a + v - Tol);
    if (it != s.end() && *it <= a + v + Tol) return true;
  }
  return false;
}

// The directions the model is measured along: the planes' normals, the circles' axes and a direction
// across each axis.
std::vector<TVec3> Directions(const TGeometry& g)
{
  std::vector<TVec3> d;
  auto add = [&d](TVec3 v) {
    const double n = std::sqrt(Dot(v, v));
    if (!(n > 0)) return;
    for (double& x : v)
      x /= n;
    if (std::none_of(d.begin(), d.end(), [&v](const TVec3& u) { return Parallel(u, v); })) d.push_back(v);
  };
  for (const TPlane& p : g.Planes)
    add(p.N);
  for (const TCircle& c : g.Circles) {
    add(c.A);
    // Across the axis: its cross product with the base axis least along it.
    const auto& a = c.A;
    const int k = std::fabs(a[0]) <= std::fabs(a[1]) && std::fabs(a[0]) <= std::fabs(a[2]) ? 0
                  : std::fabs(a[1]) <= std::fabs(a[2])                                     ? 1
                                                                                           : 2;
    TVec3 e{0, 0, 0};
    e[std::size_t(k)] = 1;
    add({a[1] * e[2] - a[2] * e[1], a[2] * e[0] - a[0] * e[2], a[0] * e[1] - a[1] * e[0]});
  }
  return d;
}

// Whether some two faces of the model lie v apart along one direction.
bool Measures(const TGeometry& g, double v)
{
  if (!g.Solid) return Apart(g.SketchX, v) || Apart(g.SketchY, v);
  for (const TVec3& d : Directions(g)) {
    std::vector<double> s;
    for (const TPlane& p : g.Planes)
      if (Parallel(p.N, d)) s.push_back(Dot(p.P, d));
    for (const TEdge& e : g.Edges)
      if (std::fabs(Dot(e.D, d)) < 1e-9) s.push_back(Dot(e.P, d));
    for (const TCircle& c : g.Circles) {
      if (Parallel(c.A, d)) {
        s.push_back(Dot(c.C, d));
      } else if (std::fabs(Dot(c.A, d)) < 1e-9) {
        s.push_back(Dot(c.C, d) - c.R);
        s.push_back(Dot(c.C, d) + c.R);
      }
    }
    if (Apart(s, v)) return true;
  }
  return false;
}

bool HasDiameter(const TGeometry& g, double v)
{
  if (!g.Solid)
    return std::any_of(g.SketchDiameters.begin(), g.SketchDiameters.end(),
                       [v](double d) { return std::fabs(d - v) <= Tol; });
  return std::any_of(g.Circles.begin(), g.Circles.end(),
                     [v](const TCircle& c) { return std::fabs(2 * c.R - v) <= Tol; });
}

// --- Where on the model: the main view's axis mapped onto the model's ---------------------------------

// The model's main axis (its largest cylinder's) and the stations along it: the planes across it, the
// circular edges around it, the straight edges across it.
struct TAxis
{
  TVec3 D{0, 0, 0}, O{0, 0, 0};
  std::vector<double> Stations;
  bool Found = false;
};

double DistanceFromAxis(const TAxis& a, const TVec3& p)
{
  const TVec3 q{p[0] - a.O[0], p[1] - a.O[1], p[2] - a.O[2]};
  const double t = Dot(q, a.D);
  return std::sqrt(std::max(0.0, Dot(q, q) - t * t));
}

TAxis AxisOf(const TGeometry& g)
{
  TAxis a;
  const TCylinder* big = nullptr;
  for (const TCylinder& c : g.Cylinders)
    if (!big || c.R > big->R) big = &c;
  if (!big) return a;
  a.D = big->A, a.O = big->C, a.Found = true;
  for (const TPlane& p : g.Planes)
    if (Parallel(p.N, a.D)) a.Stations.push_back(Dot(p.P, a.D));
  for (const TEdge& e : g.Edges)
    if (std::fabs(Dot(e.D, a.D)) < 1e-9) a.Stations.push_back(Dot(e.P, a.D));
  for (const TCircle& c : g.Circles)
    if (Parallel(c.A, a.D) && DistanceFromAxis(a, c.C) < Tol) a.Stations.push_back(Dot(c.C, a.D));
  // Where a cone rounded into a cylinder would meet it: the sharp corner a sheet measures to.
  for (const TCone& k : g.Cones) {
    if (!Parallel(k.A, a.D) || DistanceFromAxis(a, k.C) > Tol || std::fabs(k.Tan) < 1e-9) continue;
    // Rounded over a short way: within 2 mm of the cone's ends.
    for (const TCylinder& c : g.Cylinders) {
      const double t = Dot(k.C, k.A) + (c.R - k.R) / k.Tan;
      if (Parallel(c.A, a.D) && DistanceFromAxis(a, c.C) < Tol && t > k.Lo - 2 && t < k.Hi + 2)
        a.Stations.push_back(t * Dot(k.A, a.D));
    }
  }
  std::sort(a.Stations.begin(), a.Stations.end());
  return a;
}

bool IsStation(const TAxis& a, double s)
{
  const auto it = std::lower_bound(a.Stations.begin(), a.Stations.end(), s - Tol);
  return it != a.Stations.end() && *it <= s + Tol;
}

// --- Flats and grades on their rounds, grooves between their shoulders ----------------------------------

// A span along the main axis.
struct TSpan
{
  double Lo = 0, Hi = 0;
};

// The spans along the axis of the rounds of radius r about it (cylinders), each carried on through a chamfer
// that ends it (a cone about the axis steeper than 20 degrees, narrowing away from the round to a face
// square to the axis): a flat or a slot runs out through such a chamfer at the face, where a grade run
// onto a taper cuts into the taper.
std::vector<TSpan> RoundsOf(const TGeometry& g, const TAxis& a, double r)
{
  std::vector<TSpan> spans;
  std::vector<double> faces; // the stations of the planes square to the axis
  for (const TPlane& p : g.Planes)
    if (Parallel(p.N, a.D)) faces.push_back(Dot(p.P, a.D));
  const auto face = [&faces](double s) {
    return std::any_of(faces.begin(), faces.end(), [s](double f) { return std::fabs(f - s) < Tol; });
  };
  for (const TCylinder& c : g.Cylinders) {
    if (!Parallel(c.A, a.D) || DistanceFromAxis(a, c.C) > Tol || std::fabs(c.R - r) > Tol) continue;
    const double sign = Dot(c.A, a.D) > 0 ? 1 : -1;
    TSpan s{std::min(sign * c.Lo, sign * c.Hi), std::max(sign * c.Lo, sign * c.Hi)};
    for (const TCone& k : g.Cones) {
      if (!Parallel(k.A, a.D) || DistanceFromAxis(a, k.C) > Tol ||
          std::fabs(k.Tan) < std::tan(20 * 3.141592653589793 / 180))
        continue;
      const double ks = Dot(k.A, a.D) > 0 ? 1 : -1;
      const double lo = std::min(ks * k.Lo, ks * k.Hi), hi = std::max(ks * k.Lo, ks * k.Hi);
      const auto radius = [&k, ks](double at) { return std::fabs(k.R + k.Tan * (ks * at - Dot(k.C, k.A))); };
      if (std::fabs(lo - s.Hi) < Tol && radius(hi) < r - Tol && face(hi)) s.Hi = hi;
      if (std::fabs(hi - s.Lo) < Tol && radius(lo) < r - Tol && face(lo)) s.Lo = lo;
    }
    spans.push_back(s);
  }
  // Rounds that meet make one.
  std::sort(spans.begin(), spans.end(), [](const TSpan& p, const TSpan& q) { return p.Lo < q.Lo; });
  std::vector<TSpan> merged;
  for (const TSpan& s : spans)
    if (!merged.empty() && s.Lo <= merged.back().Hi + Tol)
      merged.back().Hi = std::max(merged.back().Hi, s.Hi);
    else
      merged.push_back(s);
  return merged;
}

// Every flat (a key flat, a slot's wall, a grade: a plane face off square to the axis) cut into a round of
// the part lies within that round's length, and every groove (a cylinder about the axis, at most 5 long, the
// part wider on both sides of it) lies between its shoulders on a round at most 2 deeper: a flat or grade run
// past the end of its round cuts into the step or taper beyond, where the sheet draws the round.
std::vector<std::string> FeaturesOffTheirSurfaces(const TGeometry& g, const TAxis& a)
{
  std::vector<std::string> faults;
  if (!a.Found) return faults;
  const auto at = [&a](const TVec3& p) { return Dot(p, a.D); };
  for (const TPlane& p : g.Planes) {
    if (Parallel(p.N, a.D) || p.Corners.empty()) continue;
    double lo = HUGE_VAL, hi = -HUGE_VAL, r = 0;
    for (const TVec3& v : p.Corners)
      lo = std::min(lo, at(v)), hi = std::max(hi, at(v)), r = std::max(r, DistanceFromAxis(a, v));
    const std::vector<TSpan> rounds = RoundsOf(g, a, r);
    if (rounds.empty()) continue; // not cut into a round (a hexagon's side, a socket's wall)
    if (std::none_of(rounds.begin(), rounds.end(),
                     [&](const TSpan& s) { return lo >= s.Lo - Tol && hi <= s.Hi + Tol; }))
      faults.push_back("a flat from " + std::to_string(lo) + " to " + std::to_string(hi) +
                       " along the axis runs past the round of radius " + std::to_string(r) +
                       " it is cut in");
  }
  // The part's radius just beyond a station: the largest round or cone about the axis over it.
  const double steep = std::tan(20 * 3.141592653589793 / 180);
  const auto outside = [&](double s, bool ramps) {
    double r = 0;
    for (const TCylinder& c : g.Cylinders) {
      const double sign = Dot(c.A, a.D) > 0 ? 1 : -1;
      if (Parallel(c.A, a.D) && DistanceFromAxis(a, c.C) < Tol && s > std::min(sign * c.Lo, sign * c.Hi) &&
          s < std::max(sign * c.Lo, sign * c.Hi))
        r = std::max(r, c.R);
    }
    for (const TCone& k : g.Cones) {
      const double ks = Dot(k.A, a.D) > 0 ? 1 : -1;
      if (Parallel(k.A, a.D) && DistanceFromAxis(a, k.C) < Tol && s > std::min(ks * k.Lo, ks * k.Hi) &&
          s < std::max(ks * k.Lo, ks * k.Hi) && (ramps || std::fabs(k.Tan) < steep))
        r = std::max(r, std::fabs(k.R + k.Tan * (ks * s - Dot(k.C, k.A))));
    }
    return r;
  };
  for (const TCylinder& c : g.Cylinders) {
    if (!Parallel(c.A, a.D) || DistanceFromAxis(a, c.C) > Tol) continue;
    const double sign = Dot(c.A, a.D) > 0 ? 1 : -1;
    const double lo = std::min(sign * c.Lo, sign * c.Hi), hi = std::max(sign * c.Lo, sign * c.Hi);
    // The round the part has there: none narrower than it over its length (a bore's wall is not a groove).
    if (hi - lo > 5 || outside((lo + hi) / 2, true) > c.R + Tol) continue;
    // Beside it past its corners' roundings and run-outs (tori, not read, and steep cones): the nearest round
    // or taper at least 0.1 wider than it within 2 mm (past a rounding only a bore is read; a shank running
    // into a shallow taper is no groove).
    const auto beside = [&outside, &c](double s, double dir) {
      for (double d = 0.05; d <= 2; d += 0.05)
        if (const double r = outside(s + dir * d, false); r > c.R + 0.1) return r;
      return 0.0;
    };
    const double left = beside(lo, -1), right = beside(hi, 1);
    if (!(left > c.R + Tol && right > c.R + Tol)) continue; // a step or an end, not a groove
    const double surface = std::min(left, right);
    if (surface - c.R > 2 + Tol) continue; // a neck between two shoulders, not a groove in a round
    // The round it is cut in goes on past it on its side, beyond its run-out.
    const std::vector<TSpan> rounds = RoundsOf(g, a, surface);
    if (std::none_of(rounds.begin(), rounds.end(), [&](const TSpan& s) {
          return (s.Lo > hi - Tol && s.Lo < hi + 2 && s.Hi > s.Lo + Tol) ||
                 (s.Hi < lo + Tol && s.Hi > lo - 2 && s.Lo < s.Hi - Tol);
        }))
      faults.push_back("a groove from " + std::to_string(lo) + " to " + std::to_string(hi) +
                       " along the axis is on no round of radius " + std::to_string(surface));
  }
  return faults;
}

// The main view's x mapped onto the model's axis: s = Sign * x + Offset.
struct TMapping
{
  double Sign = 1, Offset = 0;
  double At(double x) const { return Sign * x + Offset; }
};

// The main view's dimensions: those drawn upright in the placement most of them share (the first of
// the sheet's views, the others moved off its axis, turned or scaled).
std::vector<TDim> MainView(const std::vector<TDim>& dims)
{
  std::vector<TDim> best;
  for (const TDim& d : dims) {
    if (!d.Upright()) continue;
    std::vector<TDim> same;
    for (const TDim& e : dims)
      if (e.Upright() && std::fabs(e.Ox - d.Ox) < 1e-9) same.push_back(e);
    if (same.size() > best.size()) best = same;
  }
  return best;
}

// A main view's dimension along its axis: one whose places are checked on the model.
bool Axial(const TDim& d)
{
  return d.AlongX && !d.Diameter;
}

// A main view's diameter across its axis, drawn about it (whole, or half from the axis).
bool AcrossAxis(const TDim& d)
{
  return d.AlongY && d.Diameter &&
         (std::fabs(d.Y1 + d.Y2) < Tol || std::fabs(d.Y1) < Tol || std::fabs(d.Y2) < Tol);
}

// The mappings that put the most of the axial dimensions' points on stations of the model, every one
// as good as the best (a part the same both ways round, a step repeated). None when no more than half
// the points land: the view is not mapped, and its values are checked wherever on the model.
std::vector<TMapping> Mappings(const TAxis& a, const std::vector<TDim>& dims)
{
  std::vector<double> xs;
  for (const TDim& d : dims)
    if (Axial(d)) xs.insert(xs.end(), {d.X1, d.X2});
  std::sort(xs.begin(), xs.end());
  xs.erase(std::unique(xs.begin(), xs.end(), [](double p, double q) { return std::fabs(p - q) < Tol; }),
           xs.end());
  std::vector<TMapping> r;
  if (!a.Found || xs.size() < 2 || a.Stations.empty()) return r;
  // Every offset that puts one point on one station.
  int most = 0;
  for (double sign : {1.0, -1.0})
    for (double x : xs)
      for (double st : a.Stations) {
        const TMapping m{sign, st - sign * x};
        if (std::any_of(r.begin(), r.end(), [&](const TMapping& k) {
              return k.Sign == m.Sign && std::fabs(k.Offset - m.Offset) < Tol;
            }))
          continue;
        const int n =
            int(std::count_if(xs.begin(), xs.end(), [&](double v) { return IsStation(a, m.At(v)); }));
        if (n > most) most = n, r.clear();
        if (n == most) r.push_back(m);
      }
  // Most of the points, or the view is another part than the model's.
  if (2 * most <= int(xs.size())) r.clear();
  return r;
}

// Whether the axial dimension's two points are stations of the model where the mapping puts them.
bool PlacedAlongAxis(const TAxis& a, const TMapping& m, const TDim& d)
{
  return IsStation(a, m.At(d.X1)) && IsStation(a, m.At(d.X2));
}

// Whether the model has the diameter about its axis where the sheet draws it: a cylinder over the
// points' places (or ending in a chamfer at them), or a circular edge at them (a cone's end).
bool PlacedDiameter(const TGeometry& g, const TAxis& a, const TMapping& m, const TDim& d)
{
  for (double x : {d.X1, d.X2}) {
    const double s = m.At(x);
    bool found = false;
    for (const TCylinder& c : g.Cylinders) {
      // A thread is its core where the model has no thread: a bore or shaft within the thread's depth, or
      // the 1 deep the mould parts cut every thread (which leaves a fine thread's core under half of it).
      const bool size = d.S1 == "M" ? (2 * c.R <= d.Value + Tol && 4 * c.R >= d.Value) ||
                                          std::fabs(2 * c.R - (d.Value - 2)) <= Tol
                                    : std::fabs(2 * c.R - d.Value) <= Tol;
      if (!Parallel(c.A, a.D) || DistanceFromAxis(a, c.C) > Tol || !size) continue;
      const double sign = Dot(c.A, a.D) > 0 ? 1 : -1;
      const double lo = std::min(sign * c.Lo, sign * c.Hi), hi = std::max(sign * c.Lo, sign * c.Hi);
      if (s >= lo - Tol && s <= hi + Tol) found = true;
      // Drawn across a chamfer (at most 45 degrees) that ends the cylinder: between the cylinder's end
      // and the chamfer's outer edge.
      const double end = s < lo ? lo : hi;
      for (const TCircle& e : g.Circles) {
        const double at = Dot(e.C, a.D), past = std::fabs(at - end);
        if (Parallel(e.A, a.D) && DistanceFromAxis(a, e.C) < Tol && std::fabs(e.R - c.R) <= past + Tol &&
            std::min(at, end) - Tol <= s && s <= std::max(at, end) + Tol)
          found = true;
      }
    }
    for (const TCircle& c : g.Circles)
      if (Parallel(c.A, a.D) && DistanceFromAxis(a, c.C) < Tol && std::fabs(2 * c.R - d.Value) <= Tol &&
          std::fabs(Dot(c.C, a.D) - s) <= Tol)
        found = true;
    if (!found) return false;
  }
  return true;
}

// Whether (x, y) lies on the curve (a line, or a circle or arc by its radius).
bool OnCurve(const TRecordingModeler::TCurve& c, double x, double y)
{
  if (c.Kind != TRecordingModeler::TCurve::Line)
    return std::fabs(std::hypot(x - c.cx, y - c.cy) - c.r) < 1e-6;
  const double dx = c.x2 - c.x1, dy = c.y2 - c.y1, l = std::hypot(dx, dy);
  if (!(l > 0)) return false;
  const double t = ((x - c.x1) * dx + (y - c.y1) * dy) / (l * l);
  return t > -1e-9 && t < 1 + 1e-9 && std::fabs((x - c.x1) * dy - (y - c.y1) * dx) / l < 1e-6;
}

// Whether the value measures a zone the sheet marks with a chain line (a hardened length): one of its
// points lies on a chain line and on nothing else drawn. A zone has no faces to measure.
bool OfAZone(const TDim& v, const std::vector<TRecordingModeler::TCurve>& drawn)
{
  for (const auto& [x, y] : {std::pair(v.X1, v.Y1), std::pair(v.X2, v.Y2)}) {
    bool chain = false, other = false;
    for (const auto& c : drawn)
      if (OnCurve(c, x, y)) (c.Style == 3 ? chain : other) = true;
    if (chain && !other) return true;
  }
  return false;
}

// --- Angles: each ray of an angle in the main view on a face of the model through its vertex ------------

// Whether a ray through the main view's point (x, y) at a degrees (the view's x along the model's axis, y
// away from it) lies on a face of the model there: a ray along the axis or across it is the part's own
// direction; a slanted one lies on a cone about the axis or on a plane flat cut along it, as steep.
bool RayOnTheModel(const TGeometry& g, const TAxis& axis, const TMapping& m, double x, double y, double a)
{
  constexpr double AngleTol = 0.05 * 3.141592653589793 / 180;
  const double t = a * 3.141592653589793 / 180;
  const double along = std::fabs(std::cos(t)), across = std::fabs(std::sin(t));
  if (along < 1e-9 || across < 1e-9) return true;
  const double slope = std::atan2(across, along); // from the axis, 0 to 90 degrees
  const double s = m.At(x), r = std::fabs(y);
  for (const TCone& k : g.Cones) {
    if (!Parallel(k.A, axis.D) || DistanceFromAxis(axis, k.C) > Tol) continue;
    const double at = s * Dot(k.A, axis.D); // the station along the cone's own axis
    if (std::fabs(std::atan(std::fabs(k.Tan)) - slope) <= AngleTol &&
        std::fabs(std::fabs(k.R + k.Tan * (at - Dot(k.C, k.A))) - r) <= 10 * Tol)
      return true;
  }
  for (const TPlane& p : g.Planes) {
    const double n = std::fabs(Dot(p.N, axis.D));
    if (std::fabs(std::asin(std::min(1.0, n)) - slope) > AngleTol) continue;
    const TVec3 at{axis.O[0] + s * axis.D[0], axis.O[1] + s * axis.D[1], axis.O[2] + s * axis.D[2]};
    const double dist = std::fabs(Dot({at[0] - p.P[0], at[1] - p.P[1], at[2] - p.P[2]}, p.N));
    if (std::fabs(dist - r * std::sqrt(std::max(0.0, 1 - n * n))) <= 10 * Tol) return true;
  }
  return false;
}

// --- The sheet as the host shows it ----------------------------------------------------------------

// The third texts the part hands its linear, diameter and radius dimensions (a tolerance, a deviation, a
// mark or a word), in the order it hands them.
std::vector<std::string> ThirdTexts(const TRecordingModeler& m)
{
  std::vector<std::string> texts;
  for (const auto& c : m.Calls)
    if ((c.Op == "drDimL" || c.Op == "drDimD" || c.Op == "drDimR") && c.S.size() == 4 && !c.S[3].Empty() &&
        std::all_of(c.A.begin(), c.A.end(), [](double v) { return std::isfinite(v); }))
      texts.push_back(c.S[3].Utf8Text());
  return texts;
}

// The host's kind of each dimension call a sheet makes.
const std::pair<const char*, std::string_view> DimensionKinds[] = {
    {"drDimL", txhost::model2d::LineDimension},
    {"drDimD", txhost::model2d::DiametralDimension},
    {"drDimR", txhost::model2d::RadialDimension},
    {"drDimA", txhost::model2d::AngleDimension}};

// The dimensions handed over, counted by call; one with a coordinate that is no number is refused.
std::map<std::string, int> DimensionsHanded(const TRecordingModeler& m)
{
  std::map<std::string, int> count;
  for (const auto& [op, kind] : DimensionKinds)
    count[op] = 0;
  for (const auto& c : m.Calls)
    if (count.count(c.Op) != 0 &&
        std::all_of(c.A.begin(), c.A.end(), [](double v) { return std::isfinite(v); }))
      ++count[c.Op];
  return count;
}

// The dimensions of one kind on the sheet, those deleted left out.
std::vector<const txhost::Object*> DimensionsOf(const txhost::Host& host, const txhost::Object& sheet,
                                                std::string_view kind)
{
  std::vector<const txhost::Object*> dims;
  for (const txhost::Object* o : host.ObjectsOf(sheet))
    if (o->Kind() == kind && !txhost::model::Deleted(*o)) dims.push_back(o);
  return dims;
}

// The texts after the values of the sheet's dimensions (linear, diameter and radius).
std::vector<std::string> TextsAfter(const txhost::Host& host, const txhost::Object& sheet)
{
  namespace m2 = txhost::model2d;
  std::vector<std::string> after;
  for (const auto kind : {m2::LineDimension, m2::DiametralDimension, m2::RadialDimension})
    for (const txhost::Object* d : DimensionsOf(host, sheet, kind))
      for (const txhost::Object* l : txhost::model::LiveMembers(*d, m2::TextLine))
        if (l->Prop("place") == "after") after.push_back(txhost::ToUtf8(m2::TextOf(*l)));
  return after;
}

// --- The sweep ------------------------------------------------------------------------------------

// The sweep's checks of one part at one size, on the stand-in host.
class TMeasuring : public adaptertest::HostedModeller
{
protected:
  TMeasuring() { stdtest::LoadShipped(); }

  // Evaluates the part or assembly file: its solids into g, its faults (the evaluator's check) returned.
  std::vector<std::string> Evaluate(const std::filesystem::path& file, TGeometry& g)
  {
    txhost::Object* doc = H.OpenDocument(file, false);
    if (doc == nullptr) return {"cannot be opened"};
    txhost::solid::TEvaluator evaluator(H);
    txhost::solid::TDocumentResult r;
    std::string error;
    std::vector<std::string> faults;
    if (!evaluator.Evaluate(*doc, r, error, true)) {
      faults.push_back(error);
    } else {
      faults = txhost::solid::TEvaluator::Faults(r);
      for (const txhost::solid::TPlaced& p : r.Placed)
        if (p.Shape) {
          Collect(txhost::solid::PlacedShape(p), g);
          g.Solid = true;
        }
    }
    H.CloseDocument(*doc);
    return faults;
  }

  // The part's sheet drawn on the recording modeller, its model built on the host and evaluated: every
  // file passes the check, every linear value of the sheet is measured on the model, in the main view
  // where the sheet puts it. A part without a body is refused, with its message and no file; its
  // sketches stand in for it.
  void MeasureAt(const TPart& part, const TAt& at, const std::function<void(TMade&)>& edit = {})
  {
    SCOPED_TRACE(std::string(part.Name) + " " + at.Name);
    stdtest::TMouldDocuments link(adaptertest::T(Dir.path()) + TString("/"));
    TDimTap tap;
    TMade recorded;
    part.Make(recorded, &tap, at.Row, at.K);
    if (edit) edit(recorded);
    recorded.Part().dr2D();
    std::vector<TDim> values;
    for (const TDim& d : tap.Dims)
      if (std::isfinite(d.Value)) values.push_back(d);
    const std::vector<stdtest::sheetdims::TAngle> angles = tap.Angles;
    const std::vector<std::string> handed = ThirdTexts(tap);
    const std::map<std::string, int> handedDims = DimensionsHanded(tap);
    const std::vector<TRecordingModeler::TCurve> drawn = tap.Drawn();
    tap.Reset();
    recorded.Part().dr3D(1);

    TMade hosted;
    part.Make(hosted, &MA, at.Row, at.K);
    if (edit) edit(hosted);
    // The sheets as the host has them, every one the part draws: each dimension handed over is there, every
    // third text a dimension was handed shows after its value, and no extension line runs along the part.
    const std::size_t before = link.AllSheets.size();
    hosted.Part().dr2D();
    std::vector<std::string> after;
    std::map<std::string, int> kept;
    for (std::size_t i = before; i < link.AllSheets.size(); ++i) {
      txhost::Object* sheet = H.OpenDocument(std::filesystem::path(link.AllSheets[i].toWideChar()), false);
      if (sheet == nullptr) {
        ADD_FAILURE() << "sheet " << i << " cannot be opened";
        continue;
      }
      const std::vector<std::string> more = TextsAfter(H, *sheet);
      after.insert(after.end(), more.begin(), more.end());
      for (const auto& [op, kind] : DimensionKinds)
        kept[op] += int(DimensionsOf(H, *sheet, kind).size());
      for (const std::string& f : stdtest::sheetlines::ExtensionLinesAlongTheirViews(txhost::LayOut(*sheet)))
        ADD_FAILURE() << f;
      H.CloseDocument(*sheet);
    }
    if (link.AllSheets.size() > before) {
      EXPECT_EQ(kept, handedDims) << "dimensions on the host's sheets and those handed over, by kind";
      for (const std::string& t : handed) {
        const auto it = std::find_if(after.begin(), after.end(), [&t](const std::string& a) {
          return a.size() >= t.size() && a.compare(a.size() - t.size(), t.size(), t) == 0;
        });
        if (it == after.end())
          ADD_FAILURE() << "\"" << t << "\" handed to a dimension is not shown";
        else
          after.erase(it);
      }
    }
    tbtest::TMessageLog log;
    hosted.Part().dr3D(1);
    TGeometry model;
    bool refused = false;
    for (const TString& name : link.AllParts) {
      const std::filesystem::path file = name.toWideChar();
      if (!std::filesystem::exists(file)) {
        refused = true;
        continue;
      }
      for (const std::string& f : Evaluate(file, model))
        ADD_FAILURE() << file.filename() << ": " << f;
    }
    if (refused) {
      EXPECT_FALSE(log.Texts.empty()) << "a part not written says why";
    }
    if (!model.Solid) CollectSketches(tap, model);

    const TAxis axis = model.Solid ? AxisOf(model) : TAxis{};
    const std::vector<TDim> main = MainView(values);
    const std::vector<TMapping> maps = Mappings(axis, main);
    // Under each mapping as good as the best, what lies where the sheet puts it: the one that places
    // the most holds (a part the same both ways round maps either way).
    std::vector<std::string> misplaced;
    for (std::size_t i = 0; i < maps.size(); ++i) {
      std::vector<std::string> m;
      for (const TDim& v : main) {
        if (Axial(v) && !OfAZone(v, drawn) && !PlacedAlongAxis(axis, maps[i], v))
          m.push_back(std::string("\"")
                          .append(v.Text())
                          .append("\" has no faces at ")
                          .append(std::to_string(maps[i].At(v.X1)))
                          .append(" and ")
                          .append(std::to_string(maps[i].At(v.X2)))
                          .append(" along the model's axis"));
        if (AcrossAxis(v) && !PlacedDiameter(model, axis, maps[i], v))
          m.push_back(std::string("\"")
                          .append(v.Text())
                          .append("\" is no diameter of the model at ")
                          .append(std::to_string(maps[i].At(v.X1)))
                          .append(" along its axis"));
      }
      // Each angle of the main view between faces of the model, or the part's own directions, at its
      // vertex: its value is then the model's.
      for (const auto& a : angles) {
        if (!a.Upright() || main.empty() || std::fabs(a.Ox - main.front().Ox) > 1e-9) continue;
        for (double ray : {a.A1, a.A2})
          if (!RayOnTheModel(model, axis, maps[i], a.X, a.Y, ray))
            m.push_back(std::string("the angle of ")
                            .append(std::to_string(a.Value))
                            .append(" degrees at ")
                            .append(std::to_string(maps[i].At(a.X)))
                            .append(" along the axis has a ray at ")
                            .append(std::to_string(ray))
                            .append(" degrees on no face of the model"));
      }
      if (i == 0 || m.size() < misplaced.size()) misplaced = m;
    }
    for (const std::string& m : misplaced)
      ADD_FAILURE() << m;
    if (model.Solid)
      for (const std::string& f : FeaturesOffTheirSurfaces(model, axis))
        ADD_FAILURE() << f;

    for (const TDim& v : values) {
      if (v.Diameter) {
        EXPECT_TRUE(HasDiameter(model, v.Value)) << "\"" << v.Text() << "\" is no diameter of the model";
      } else if (!OfAZone(v, drawn)) {
        EXPECT_TRUE(Measures(model, v.Value)) << "\"" << v.Text() << "\" is no distance on the model";
      }
    }
  }

  // Case i of the draw from seed for part (BetweenSizes.h), measured as above.
  void MeasureDrawn(const TPart& part, unsigned long long seed, unsigned long long i)
  {
    namespace between = stdtest::between;
    between::TDraw draw(seed, part.Name, i);
    const between::TCase c = between::Drawn(part, draw);
    MeasureAt(part, {c.Row, c.K, between::Named(seed, i, c)},
              [&](TMade& m) { between::Apply(part, c, *m.Parts.back()); });
  }

  static const TPart& Kind(const std::string& name)
  {
    return stdtest::mouldparts::PartNamed(name);
  }
};

class SheetMeasure : public ::testing::TestWithParam<TPart>, public TMeasuring
{
};

TEST_P(SheetMeasure, EveryValueOnTheSheetIsMeasuredOnTheModel)
{
  for (const TAt& at : SizesOf(GetParam()))
    MeasureAt(GetParam(), at);
}

INSTANTIATE_TEST_SUITE_P(Mould, SheetMeasure, ::testing::ValuesIn(stdtest::mouldparts::Parts),
                         hxcad::test::CaseNames());

// --- Faults once found, each on the parts and sizes it was found at ---------------------------------

class SheetMeasureNamed : public ::testing::Test, public TMeasuring
{
protected:
  // The part made at a row or size on the host: its one part or assembly document evaluated.
  txhost::solid::TDocumentResult Built(const std::string& name, int row, double k,
                                       std::vector<std::string>& faults)
  {
    stdtest::TMouldDocuments link(adaptertest::T(Dir.path()) + TString("/"));
    TMade made;
    Kind(name).Make(made, &MA, row, k);
    made.Part().dr3D(1);
    txhost::solid::TDocumentResult r;
    if (link.AllParts.empty()) return r;
    txhost::Object* doc = H.OpenDocument(std::filesystem::path(link.AllParts.back().toWideChar()), false);
    if (doc == nullptr) return r;
    txhost::solid::TEvaluator evaluator(H);
    std::string error;
    if (!evaluator.Evaluate(*doc, r, error, true)) faults.push_back(error);
    const auto more = txhost::solid::TEvaluator::Faults(r);
    faults.insert(faults.end(), more.begin(), more.end());
    H.CloseDocument(*doc);
    return r;
  }

  // The linear values of the part's sheet, drawn on the recording modeller.
  std::vector<TDim> Sheet(const std::string& name, int row, double k)
  {
    TDimTap tap;
    TMade made;
    Kind(name).Make(made, &tap, row, k);
    made.Part().dr2D();
    return tap.Dims;
  }
};

// A right size in the wrong place is found: every axial size of the bush's main view, moved along the
// axis by less than any step of the bush, still measures a distance of the bush but stands on no faces
// there; unmoved, each stands on its faces.
TEST_F(SheetMeasureNamed, ASizeInTheWrongPlaceIsFound)
{
  std::vector<std::string> faults;
  const auto r = Built("guide_bush_4", 1, 1, faults);
  ASSERT_EQ(r.Placed.size(), 1u);
  TGeometry g;
  Collect(txhost::solid::PlacedShape(r.Placed[0]), g);
  g.Solid = true;
  const TAxis axis = AxisOf(g);
  const std::vector<TDim> main = MainView(Sheet("guide_bush_4", 1, 1));
  const std::vector<TMapping> maps = Mappings(axis, main);
  ASSERT_EQ(maps.size(), 1u);
  int axial = 0;
  for (TDim d : main) {
    if (!Axial(d)) continue;
    ++axial;
    SCOPED_TRACE(d.Text());
    EXPECT_TRUE(PlacedAlongAxis(axis, maps[0], d));
    d.X1 += 0.15, d.X2 += 0.15;
    EXPECT_FALSE(PlacedAlongAxis(axis, maps[0], d));
    EXPECT_TRUE(Measures(g, d.Value));
  }
  EXPECT_GE(axial, 3);
}

// An angle stands between faces of the model: each of the fitting's angles does, and the same angle
// turned by a few degrees about its vertex (the barb's 75 degrees the fitting once gave its 70-degree
// barb) does not.
TEST_F(SheetMeasureNamed, AnAngleThatIsNotTheModelsIsFound)
{
  for (const char* name : {"fitting"}) {
    SCOPED_TRACE(name);
    std::vector<std::string> faults;
    const auto r = Built(name, 0, 1, faults);
    ASSERT_EQ(r.Placed.size(), 1u);
    TGeometry g;
    Collect(txhost::solid::PlacedShape(r.Placed[0]), g);
    g.Solid = true;
    const TAxis axis = AxisOf(g);
    TDimTap tap;
    TMade made;
    Kind(name).Make(made, &tap, 0, 1);
    made.Part().dr2D();
    const std::vector<TDim> main = MainView(tap.Dims);
    const std::vector<TMapping> maps = Mappings(axis, main);
    ASSERT_FALSE(maps.empty());
    int slanted = 0;
    for (const auto& a : tap.Angles) {
      if (!a.Upright() || std::fabs(a.Ox - main.front().Ox) > 1e-9) continue;
      for (const double ray : {a.A1, a.A2}) {
        if (std::fabs(std::sin(2 * ray * 3.141592653589793 / 180)) < 1e-9) continue; // along or across
        ++slanted;
        EXPECT_TRUE(RayOnTheModel(g, axis, maps[0], a.X, a.Y, ray)) << a.Value << " at " << ray;
        EXPECT_FALSE(RayOnTheModel(g, axis, maps[0], a.X, a.Y, ray + 5)) << a.Value << " at " << ray + 5;
      }
    }
    EXPECT_GE(slanted, 1);
  }
}

// The one-piece spacer's slot is as wide as its sheet gives it ("2,5H14"): the slot's walls are planes
// across the screw, 2.5 apart, at every row.
TEST_F(SheetMeasureNamed, TheSpacersSlotIsAsWideAsItsSheetSays)
{
  for (int row : {1, 13, 37}) {
    SCOPED_TRACE(row);
    std::vector<std::string> faults;
    const auto r = Built("spacer_one_piece", row, 1, faults);
    EXPECT_TRUE(faults.empty()) << faults.front();
    ASSERT_EQ(r.Placed.size(), 1u);
    TGeometry g;
    Collect(txhost::solid::PlacedShape(r.Placed[0]), g);
    std::vector<double> walls; // the planes along y: the slot's walls
    for (const TPlane& p : g.Planes)
      if (Parallel(p.N, {0, 1, 0})) walls.push_back(p.P[1]);
    std::sort(walls.begin(), walls.end());
    ASSERT_EQ(walls.size(), 2u);
    double sheet = 0;
    for (const TDim& v : Sheet("spacer_one_piece", row, 1))
      if (v.Text() == "2.5H14") sheet = v.Value;
    EXPECT_EQ(sheet, 2.5);
    EXPECT_NEAR(walls[1] - walls[0], sheet, 1e-9);
  }
}

// The assembled spacer fits: the washer and the bush take the screw (rows of every thread), and the
// assembly's check finds no clash.
TEST_F(SheetMeasureNamed, TheAssembledSpacerFits)
{
  for (int row : {1, 13}) {
    SCOPED_TRACE(row);
    std::vector<std::string> faults;
    const auto r = Built("spacer_assembled", row, 1, faults);
    ASSERT_EQ(r.Placed.size(), 3u);
    ASSERT_TRUE(r.Checked);
    EXPECT_TRUE(r.Checked->Clashes.empty())
        << r.Checked->Clashes.size() << " clashes, the first " << r.Checked->Clashes.front().Volume << " mm3";
    for (const std::string& f : faults)
      ADD_FAILURE() << f;
  }
}

// The assembled spacer's sheet shows the parts it is built of (the cap screw's head, the washer, the bush,
// the screw's thread), every value as its solids have it; the one-piece's as its solid has it.
TEST_F(SheetMeasureNamed, EachSpacersSheetIsItsModel)
{
  for (const auto& [name, row] : {std::pair("spacer_one_piece", 1), std::pair("spacer_one_piece", 37),
                                  std::pair("spacer_assembled", 20)})
    MeasureAt(Kind(name), {row, 1, "row " + std::to_string(row)});
}

// The protect support's flats lie on the part: the flats the sheet draws and dimensions run no farther
// than the part, and their length on the sheet is the length of the flat faces of the model (at half
// and once the sizes the flats, centred nearer the end than half their 22 mm, run out at the end face).
TEST_F(SheetMeasureNamed, TheProtectSupportsFlatsAreAsLongAsTheSheetSays)
{
  for (double k : {0.5, 1.0, 2.0}) {
    SCOPED_TRACE(k);
    std::vector<std::string> faults;
    const auto r = Built("protect_support", 0, k, faults);
    for (const std::string& f : faults)
      ADD_FAILURE() << f;
    ASSERT_EQ(r.Placed.size(), 1u);
    // The flats: planes at x = +-Key / 2; their extent along the axis (z).
    const double key = 18 * k;
    std::vector<double> lengths;
    const TopoDS_Shape shape = txhost::solid::PlacedShape(r.Placed[0]);
    Bnd_Box whole;
    BRepBndLib::AddOptimal(shape, whole, false, false);
    const double end = whole.CornerMax().Z(); // the body's free end face
    for (TopExp_Explorer e(shape, TopAbs_FACE); e.More(); e.Next()) {
      const BRepAdaptor_Surface s(TopoDS::Face(e.Current()));
      if (s.GetType() != GeomAbs_Plane) continue;
      const gp_Pln p = s.Plane();
      if (!Parallel(Vec(p.Axis().Direction().XYZ()), {1, 0, 0}) ||
          std::fabs(std::fabs(p.Location().X()) - key / 2) > 1e-6)
        continue;
      Bnd_Box box;
      BRepBndLib::AddOptimal(e.Current(), box, false, false);
      double x0, y0, z0, x1, y1, z1;
      box.Get(x0, y0, z0, x1, y1, z1);
      // A flat that runs out at the end face (its chamfer may clip the face's corner) is as long as
      // from that face.
      lengths.push_back((end - z1 < 2 ? end : z1) - z0);
    }
    ASSERT_EQ(lengths.size(), 2u) << "two flats";
    EXPECT_NEAR(lengths[0], lengths[1], 1e-6);
    std::vector<double> sheet; // the flats' sizes within +-0,2: their position and length
    for (const TDim& v : Sheet("protect_support", 0, k))
      if (v.Text().find("&03~0,2") != std::string::npos) sheet.push_back(v.Value);
    ASSERT_FALSE(sheet.empty());
    EXPECT_TRUE(
        std::any_of(sheet.begin(), sheet.end(), [&](double v) { return std::fabs(v - lengths[0]) < 1e-6; }))
        << "the flats are " << lengths[0] << " long, the sheet gives " << ::testing::PrintToString(sheet);
    for (double v : sheet)
      EXPECT_LE(v, 60 * k) << "a flat's size beyond the part";
  }
}

// The ejector channel's grade lies inside the fit at every size, as the sheet draws it: on the solid its
// tilted flat runs no farther along the axis than the fit's cylinder it is cut in, and the sheet's grade
// length (the length ending at the working end shorter than the fit) is the flat's. At twice the sizes
// the grade once ran 5 mm past the fit into the taper.
TEST_F(SheetMeasureNamed, TheEjectorChannelsGradeLiesInsideItsFit)
{
  for (double k : {0.5, 1.0, 1.5, 2.0, 3.0}) {
    SCOPED_TRACE(k);
    std::vector<std::string> faults;
    const auto r = Built("ejector_channel", 0, k, faults);
    for (const std::string& f : faults)
      ADD_FAILURE() << f;
    ASSERT_EQ(r.Placed.size(), 1u);
    const TopoDS_Shape shape = txhost::solid::PlacedShape(r.Placed[0]);
    // Along the axis (z): the fit's cylinder (the working radius, 4 k) nearest the working end, and the
    // grade's flat (a plane tilted off the axis and off square to it).
    double fit[2] = {1e300, -1e300}, grade[2] = {1e300, -1e300};
    for (TopExp_Explorer e(shape, TopAbs_FACE); e.More(); e.Next()) {
      const BRepAdaptor_Surface f(TopoDS::Face(e.Current()));
      Bnd_Box box;
      BRepBndLib::AddOptimal(e.Current(), box, false, false);
      double x0, y0, z0, x1, y1, z1;
      box.Get(x0, y0, z0, x1, y1, z1);
      if (f.GetType() == GeomAbs_Cylinder && std::fabs(f.Cylinder().Radius() - 4 * k) < 1e-6 && z1 > fit[1])
        fit[0] = z0, fit[1] = z1;
      if (f.GetType() == GeomAbs_Plane) {
        const TVec3 n = Vec(f.Plane().Axis().Direction().XYZ());
        if (!Parallel(n, {0, 0, 1}) && std::fabs(n[2]) > 1e-6)
          grade[0] = std::min(grade[0], z0), grade[1] = std::max(grade[1], z1);
      }
    }
    ASSERT_LT(fit[0], fit[1]) << "the fit's cylinder";
    ASSERT_LT(grade[0], grade[1]) << "the grade's flat";
    EXPECT_GE(grade[0], fit[0] - 1e-6) << "the grade off the fit";
    EXPECT_LE(grade[1], fit[1] + 1e-6) << "the grade past the fit, into the taper";
    EXPECT_LT(grade[1] - grade[0], fit[1] - fit[0] - 1e-6) << "the grade's step on the fit's start";
    const std::vector<TDim> sheet = Sheet("ejector_channel", 0, k);
    EXPECT_TRUE(std::any_of(sheet.begin(), sheet.end(),
                            [&](const TDim& v) { return std::fabs(v.Value - (grade[1] - grade[0])) < 1e-6; }))
        << "the sheet gives the grade's length " << grade[1] - grade[0];
  }
}

// The measure of flats, grades and grooves on a pusher's working end drawn by hand (along z, the end face at
// 100): the fit's round of radius 4 over its last 15, a taper 16 long down to 3.5 before it, a collar of 8
// at the far end with a groove 3 long and 0.3 deep beside it, a 1 mm chamfer at the end face. A grade 10
// long lies on the fit, and so does a flat running out through the chamfer; a grade 20 long (the channel's
// at twice its sizes once) runs into the taper; a groove with the taper beside it is on no round.
TEST(SheetMeasureFeatures, AFlatOrGradePastItsRoundAndAGrooveOffItsRoundAreFound)
{
  const TVec3 z{0, 0, 1}, o{0, 0, 0};
  const auto round = [&](double r, double lo, double hi) { return TCylinder{o, z, r, lo, hi}; };
  TGeometry g;
  g.Solid = true;
  g.Cylinders = {round(8, 0, 5), round(7.7, 5, 8), round(8, 8, 9), round(3.5, 9, 69), round(4, 85, 99)};
  g.Cones = {{{0, 0, 69}, z, 3.5, 0.5 / 16, 69, 85}, {{0, 0, 99}, z, 4, -1, 99, 100}};
  for (double at : {0.0, 5.0, 8.0, 9.0, 100.0})
    g.Planes.push_back({{0, 0, at}, z, {}});
  const auto flat = [](double from, double depth) {
    // A plane from (0, -4 + depth, from) to the end face's edge (0, -4, 100), across the round.
    return TPlane{{0, -4, 100},
                  {0, 1, 0},
                  {{-1, -4 + depth, from}, {1, -4 + depth, from}, {-2, -std::sqrt(12.0), 100}}};
  };
  for (const TCylinder& c : g.Cylinders)
    g.Circles.push_back({c.C, c.A, c.R});
  const TAxis axis = AxisOf(g);
  ASSERT_TRUE(axis.Found);
  g.Planes.push_back(flat(90, 0.5));
  g.Planes.push_back(flat(96, 0.0));
  EXPECT_TRUE(FeaturesOffTheirSurfaces(g, axis).empty()) << FeaturesOffTheirSurfaces(g, axis).front();
  g.Planes.push_back(flat(80, 0.5));
  EXPECT_EQ(FeaturesOffTheirSurfaces(g, axis).size(), 1u);
  g.Planes.pop_back();
  // The collar's groove turned on the taper's side: between the collar and the taper, on no round.
  g.Cylinders.push_back(round(3.3, 66, 69));
  g.Cylinders[3].Hi = 66;
  g.Cylinders.push_back(round(8, 60, 66));
  g.Cylinders[3].Hi = 60;
  EXPECT_EQ(FeaturesOffTheirSurfaces(g, axis).size(), 1u);
}

// The cuts that once removed nothing (the protect support's flats from the plane at its surface outward,
// the ring's counterbores from its face outward, the shank's flats beyond its collar) cut the part: every
// part file of these passes the evaluator's check (the sweep takes every size).
TEST_F(SheetMeasureNamed, EveryCutOfTheSupportTheRingAndTheShankRemovesMaterial)
{
  for (const auto& [name, k] : {std::pair("protect_support", 0.5), std::pair("protect_support", 1.0),
                                std::pair("locating_ring", 1.0), std::pair("shank", 1.0)}) {
    SCOPED_TRACE(std::string(name) + " x" + std::to_string(k));
    stdtest::TMouldDocuments link(adaptertest::T(Dir.path()) + TString("/"));
    TMade made;
    Kind(name).Make(made, &MA, 0, k);
    made.Part().dr3D(1);
    ASSERT_FALSE(link.AllParts.empty());
    for (const TString& file : link.AllParts) {
      TGeometry g;
      for (const std::string& f : Evaluate(std::filesystem::path(file.toWideChar()), g))
        ADD_FAILURE() << f;
    }
  }
}

// The standard part built by code answers false for every refusal and says why: an element refused
// for its sizes (the ejector rod of code 20 with one size far too large), a code no part has, a list
// of sizes too short for its code (a row of table 4 has a size fewer than code 4's layout).
TEST_F(SheetMeasureNamed, TheBuilderByCodeSaysWhyItRefuses)
{
  const TString folder = adaptertest::T(Dir.path()) + TString("/");
  struct TCase
  {
    int Code;
    std::vector<double> Sizes;
  };
  std::vector<TCase> cases;
  for (std::size_t at : {1u, 2u, 3u, 4u, 5u, 6u, 7u}) {
    std::vector<double> rod{0, 14, 10, 12, 15, 10, 8, 100};
    rod[at] = 1e300;
    cases.push_back({20, rod});
  }
  for (int code : {0, 1, 9, 39, 40, 41, 42, 44, 45, 46, 47, 48, 49, 53})
    cases.push_back({code, std::vector<double>(20, 10.0)});
  // The rod itself is sound.
  {
    std::vector<double> rod{0, 14, 10, 12, 15, 10, 8, 100};
    EXPECT_TRUE(drBaseDetail(MA, folder, TString("rod"), TString("m"), 20, 0, rod, false));
  }
  TArrayOf<double> a;
  ASSERT_TRUE(ABaseDetail.Params(4, 1, a));
  std::vector<double> bush;
  for (int i = 0; i < a.Count; ++i)
    bush.push_back(a[i]);
  cases.push_back({4, bush});
  int n = 0;
  for (const TCase& c : cases) {
    SCOPED_TRACE("code " + std::to_string(c.Code) + " with " + ::testing::PrintToString(c.Sizes));
    tbtest::TMessageLog log;
    const std::string name = "refused" + std::to_string(++n);
    EXPECT_FALSE(drBaseDetail(MA, folder, TString(name.c_str()), TString("m"), c.Code, 0, c.Sizes, false));
    EXPECT_FALSE(std::filesystem::exists(Dir / (name + ".tpt")));
    EXPECT_TRUE(H.Documents().empty());
    EXPECT_GE(log.Texts.size(), 1u) << "a message says why";
  }
}

// The parts made with a size pushed past the others (those not refused) show the sizes asked: their sheets
// measured on their models as above. Run by scripts/sheets.sh (HXCAD_GEOMETRY_ROWS set).
TEST_F(SheetMeasureNamed, EveryPushedSizeMadeIsMeasuredOnTheModel)
{
  if (Rows().empty()) GTEST_SKIP() << "scripts/sheets.sh measures the pushed sizes";
  for (const TPart& part : stdtest::mouldparts::Parts)
    for (const TAt& at : SizesOf(part)) {
      TMade probe;
      part.Make(probe, nullptr, at.Row, at.K);
      for (const stdtest::pushed::TPush& push :
           stdtest::pushed::Pushes(stdtest::pushed::SizesOf(*probe.Parts.back())))
        MeasureAt(part, {at.Row, at.K, at.Name + ", " + push.Name}, [&push](TMade& m) {
          *stdtest::pushed::SizesOf(*m.Parts.back())[push.Size].second = push.Value;
        });
    }
}

// Parts too large for the larger sheet at 1:1, drawn reduced: the title block names the scale, every length
// and diameter handed over shows its own value, not the reduced one, every title as high as at 1:1, and the
// model measures them as above.
TEST_F(SheetMeasureNamed, APartDrawnReducedShowsItsOwnSizes)
{
  struct TCase
  {
    const char *Part, *Size;
    int Row;
    double K, Times;
  };
  for (const TCase& c : {TCase{"shank", "Len", 0, 2.0, 3.0}, TCase{"ejector_channel", "Len", 0, 2.0, 3.0},
                         TCase{"guide_pillar_threaded", "Len", 18, 1.0, 4.0},
                         TCase{"sprue_bush", "Len", 0, 1.0, 4.0}}) {
    const std::string what = std::string(c.Part) + " " + c.Size + " x" + std::to_string(c.Times);
    SCOPED_TRACE(what);
    const auto edit = [&c](TDetail& d) {
      for (const auto& [named, value] : stdtest::pushed::SizesOf(d))
        if (named == std::string(c.Size)) *value *= c.Times;
    };
    TDimTap tap;
    TMade recorded;
    Kind(c.Part).Make(recorded, &tap, c.Row, c.K);
    edit(*recorded.Parts.back());
    recorded.Part().dr2D();
    const auto sheets = stdtest::MouldSheetLayouts(H, Dir.path(), c.Part, c.Row, c.K, edit);
    ASSERT_EQ(sheets.size(), 1u);
    std::vector<std::string> values;
    bool reduced = false;
    for (const txhost::SvgLabel& l : sheets[0].Labels) {
      if (l.Role == "dimension") values.push_back(l.Text);
      reduced = reduced || l.Text == "1:2";
    }
    EXPECT_TRUE(reduced) << "the title block names the scale 1:2";
    // Its titles and signs keep their height on paper: each text the sheet at 1:1 shows as well stands as
    // high as there.
    std::map<std::string, double> whole;
    for (const auto& sheet : stdtest::MouldSheetLayouts(H, Dir.path(), c.Part, c.Row, c.K))
      for (const txhost::SvgLabel& l : sheet.Labels)
        if (l.Role != "dimension") whole.emplace(l.Text, l.Height);
    for (const txhost::SvgLabel& l : sheets[0].Labels)
      if (const auto it = whole.find(l.Text); l.Role != "dimension" && it != whole.end()) {
        EXPECT_NEAR(l.Height, it->second, 1e-6) << "\"" << l.Text << "\" drawn reduced";
      }
    for (const TDim& d : tap.Dims) {
      if (!std::isfinite(d.Value)) continue;
      // The value alone, with the decimal comma the sheet writes.
      TDim bare = d;
      bare.S1 = bare.S2 = bare.S3 = "";
      std::string value = bare.Text();
      std::replace(value.begin(), value.end(), '.', ',');
      EXPECT_TRUE(std::any_of(values.begin(), values.end(),
                              [&value](const std::string& v) { return v.find(value) != std::string::npos; }))
          << value << " is not shown";
    }
    MeasureAt(Kind(c.Part), {c.Row, c.K, what}, [&edit](TMade& m) { edit(*m.Parts.back()); });
  }
}

// Cases the draws between the sampled sizes found, by seed and case: the shank just under its sweep's size,
// whose cross hole's edge runs hundredths of a millimetre from the collar chamfer's, a cut the solid modeller
// once missed; the pillars between a row without a fixed part and one with, whose fixed part of 3 to 4 took
// the whole relief groove, the chamfer beginning before the groove's end; the protect support's flats,
// shallower than the end's chamfer and beginning on it, sized from where no face is; a fine thread, whose
// core the 1 deep thread leaves under half its diameter.
TEST_F(SheetMeasureNamed, CasesTheDrawsFoundAreMeasuredOnTheModel)
{
  const std::tuple<const char*, unsigned long long, unsigned long long> found[] = {
      {"shank", 602, 75},
      {"guide_pillar", 607, 36},
      {"guide_pillar", 601, 83},
      {"guide_pillar_threaded", 602, 44},
      {"guide_pillar_threaded", 608, 33},
      {"guide_pillar_threaded", 620, 17},
      // A fixed part and seat narrower than the collar by a ten-thousandth: no step the model can cut.
      {"guide_pillar", 652, 46},
      {"protect_support", 603, 38}};
  for (const auto& [name, seed, i] : found)
    MeasureDrawn(Kind(name), seed, i);
}

// Every value a sheet shows at sizes drawn between the sampled ones, some with a size pushed past its
// neighbours, measured on the model as above: CI draws a case a part, scripts/sheets.sh --between any
// seed and count.
TEST_F(SheetMeasureNamed, EveryValueAtSizesDrawnBetweenIsMeasuredOnTheModel)
{
  using namespace stdtest::between;
  const unsigned long long seed = FromEnv("HXCAD_SHEET_SEED", 86), count = FromEnv("HXCAD_SHEET_COUNT", 1);
  for (const TPart& part : stdtest::mouldparts::Parts)
    for (unsigned long long i = 0; i < count && Asked(part.Name); ++i)
      MeasureDrawn(part, seed, i);
}

} // namespace sheetmeasure
