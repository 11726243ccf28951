// Features into solids: profiles into faces, faces swept or turned into tools, tools fused into or cut from
// the part one feature at a time, each measured by what it changed.
#include "txhost/solid/Shape.h"

#include "txhost/lib/Model3D.h"

#include <BRepAdaptor_Curve.hxx>
#include <BRepAdaptor_Surface.hxx>
#include <BRepAlgoAPI_Common.hxx>
#include <BRepAlgoAPI_Cut.hxx>
#include <BRepAlgoAPI_Fuse.hxx>
#include <BRepBndLib.hxx>
#include <BRepBuilderAPI_MakeEdge.hxx>
#include <BRepBuilderAPI_MakeFace.hxx>
#include <BRepBuilderAPI_MakePolygon.hxx>
#include <BRepBuilderAPI_MakeSolid.hxx>
#include <BRepBuilderAPI_MakeWire.hxx>
#include <BRepBuilderAPI_Sewing.hxx>
#include <BRepBuilderAPI_Transform.hxx>
#include <BRepGProp.hxx>
#include <BRepLib.hxx>
#include <BRepOffsetAPI_MakeOffset.hxx>
#include <BRepOffsetAPI_ThruSections.hxx>
#include <BRepPrimAPI_MakePrism.hxx>
#include <BRepPrimAPI_MakeRevol.hxx>
#include <BRepTools.hxx>
#include <BRep_Builder.hxx>
#include <BRep_Tool.hxx>
#include <Bnd_Box.hxx>
#include <GC_MakeArcOfCircle.hxx>
#include <GProp_GProps.hxx>
#include <Geom_ToroidalSurface.hxx>
#include <ShapeUpgrade_ShapeDivideAngle.hxx>
#include <ShapeUpgrade_UnifySameDomain.hxx>
#include <Standard_Failure.hxx>
#include <TopExp_Explorer.hxx>
#include <TopTools_ListOfShape.hxx>
#include <TopoDS.hxx>
#include <TopoDS_Compound.hxx>
#include <TopoDS_Shell.hxx>
#include <TopoDS_Wire.hxx>
#include <gp_Ax1.hxx>
#include <gp_Ax2.hxx>
#include <gp_Circ.hxx>
#include <gp_Lin.hxx>
#include <gp_Pln.hxx>

#include <time.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <optional>
#include <stdexcept>

namespace txhost::solid {

namespace {

struct TSketchPlane
{
  gp_Pnt O;
  gp_Dir U, V, N;
  gp_Dir Turn() const { return U.Crossed(V); } // counter-clockwise in (u, v) is positive about it
  gp_Pnt At(double u, double v) const
  {
    return gp_Pnt(O.X() + u * U.X() + v * V.X(), O.Y() + u * U.Y() + v * V.Y(), O.Z() + u * U.Z() + v * V.Z());
  }
};

TSketchPlane PlaneAt(const TFrame& f, double w)
{
  TSketchPlane p;
  p.U = gp_Dir(f.U[0], f.U[1], f.U[2]);
  p.V = gp_Dir(f.V[0], f.V[1], f.V[2]);
  p.N = gp_Dir(f.N[0], f.N[1], f.N[2]);
  p.O = gp_Pnt(f.Origin[0] + w * f.N[0], f.Origin[1] + w * f.N[1], f.Origin[2] + w * f.N[2]);
  return p;
}

bool IsCircle(const TLoop& loop) { return loop.size() == 1 && loop[0].Kind == TCurve2::Circle; }

// The loop as a polygon in sketch coordinates (arcs and circles in short chords), for nesting and sense.
std::vector<std::array<double, 2>> Polygon(const TLoop& loop)
{
  std::vector<std::array<double, 2>> pts;
  for (const TCurve2& c : loop) {
    if (c.Kind == TCurve2::Line) {
      pts.push_back({c.X1, c.Y1});
      continue;
    }
    double a0 = 0, sweep = 2 * std::numbers::pi;
    if (c.Kind == TCurve2::Arc) {
      a0 = std::atan2(c.Y1 - c.Yc, c.X1 - c.Xc);
      const double a1 = std::atan2(c.Y2 - c.Yc, c.X2 - c.Xc);
      sweep = a1 - a0;
      if (c.Clockwise) {
        while (sweep >= 0) sweep -= 2 * std::numbers::pi;
      } else {
        while (sweep <= 0) sweep += 2 * std::numbers::pi;
      }
    }
    const int n = 24;
    for (int i = 0; i < n; ++i) {
      const double a = a0 + sweep * i / n;
      pts.push_back({c.Xc + c.R * std::cos(a), c.Yc + c.R * std::sin(a)});
    }
  }
  return pts;
}

double SignedArea(const std::vector<std::array<double, 2>>& p)
{
  double a = 0;
  for (std::size_t i = 0; i < p.size(); ++i) {
    const auto& q = p[i];
    const auto& r = p[(i + 1) % p.size()];
    a += q[0] * r[1] - r[0] * q[1];
  }
  return a / 2;
}

bool Inside(const std::vector<std::array<double, 2>>& poly, double x, double y)
{
  bool in = false;
  for (std::size_t i = 0, j = poly.size() - 1; i < poly.size(); j = i++) {
    const auto& a = poly[i];
    const auto& b = poly[j];
    if ((a[1] > y) != (b[1] > y) && x < (b[0] - a[0]) * (y - a[1]) / (b[1] - a[1]) + a[0]) in = !in;
  }
  return in;
}

TopoDS_Edge Edge(const TSketchPlane& p, const TCurve2& c, double grow)
{
  if (c.Kind == TCurve2::Line) return BRepBuilderAPI_MakeEdge(p.At(c.X1, c.Y1), p.At(c.X2, c.Y2));
  if (c.Kind == TCurve2::Circle) return BRepBuilderAPI_MakeEdge(gp_Circ(gp_Ax2(p.At(c.Xc, c.Yc), p.Turn(), p.U), c.R + grow));
  // The arc's circle starts where the arc does: an arc across its circle's start left the modeller's cut
  // of a swept profile without the face that arc sweeps.
  const gp_Pnt a = p.At(c.X1, c.Y1), b = p.At(c.X2, c.Y2), centre = p.At(c.Xc, c.Yc);
  const gp_Pnt from = c.Clockwise ? b : a;
  const gp_Dir start = from.Distance(centre) > 1e-12 ? gp_Dir(gp_Vec(centre, from)) : p.U;
  const gp_Circ circle(gp_Ax2(centre, p.Turn(), start), c.R + grow);
  Handle(Geom_TrimmedCurve) arc = c.Clockwise ? GC_MakeArcOfCircle(circle, b, a, true).Value()
                                               : GC_MakeArcOfCircle(circle, a, b, true).Value();
  return BRepBuilderAPI_MakeEdge(arc);
}

// The loop as a wire on the plane, turning counter-clockwise (outward = true) or clockwise.
TopoDS_Wire Wire(const TSketchPlane& p, const TLoop& loop, bool counterClockwise)
{
  BRepBuilderAPI_MakeWire w;
  for (const TCurve2& c : loop) {
    w.Add(Edge(p, c, 0));
    if (!w.IsDone()) throw std::runtime_error("a profile loop does not close");
  }
  TopoDS_Wire wire = w.Wire();
  if (!BRep_Tool::IsClosed(wire)) throw std::runtime_error("a profile loop does not close");
  const bool ccw = IsCircle(loop) || SignedArea(Polygon(loop)) > 0;
  if (ccw != counterClockwise) wire.Reverse();
  return wire;
}

// The loop grown outward by d in its plane (shrunk for d < 0), as a counter-clockwise wire.
TopoDS_Wire GrownWire(const TSketchPlane& p, const TLoop& loop, double d)
{
  if (IsCircle(loop)) {
    if (loop[0].R + d <= 0) throw std::runtime_error("a taper closes a circle");
    return BRepBuilderAPI_MakeWire(Edge(p, loop[0], d));
  }
  const TopoDS_Wire w = Wire(p, loop, true);
  if (std::abs(d) < 1e-12) return w;
  const TopoDS_Face f = BRepBuilderAPI_MakeFace(gp_Pln(gp_Ax3(p.O, p.Turn(), p.U)), w, true);
  BRepOffsetAPI_MakeOffset offset(f, GeomAbs_Intersection);
  offset.Perform(d);
  if (!offset.IsDone()) throw std::runtime_error("a tapered loop cannot be offset");
  TopExp_Explorer e(offset.Shape(), TopAbs_WIRE);
  if (!e.More()) throw std::runtime_error("a tapered loop vanished");
  return TopoDS::Wire(e.Current());
}

// The regions of a profile: each loop at even nesting depth with the loops directly inside it.
struct TRegion
{
  std::size_t Outer;
  std::vector<std::size_t> Holes;
};
std::vector<TRegion> Regions(const std::vector<TLoop>& loops)
{
  std::vector<std::vector<std::array<double, 2>>> polys;
  for (const TLoop& l : loops)
    polys.push_back(Polygon(l));
  std::vector<int> depth(loops.size(), 0);
  std::vector<std::vector<std::size_t>> inside(loops.size()); // the loops that contain loop i
  for (std::size_t i = 0; i < loops.size(); ++i) {
    if (polys[i].size() < 2) throw std::runtime_error("a profile loop has no area");
    // A point between the first two polygon points: on the loop, off any vertex it may share.
    const double x = (polys[i][0][0] + polys[i][1][0]) / 2, y = (polys[i][0][1] + polys[i][1][1]) / 2;
    for (std::size_t j = 0; j < loops.size(); ++j)
      if (j != i && Inside(polys[j], x, y)) inside[i].push_back(j);
    depth[i] = int(inside[i].size());
  }
  std::vector<TRegion> regions;
  for (std::size_t i = 0; i < loops.size(); ++i) {
    if (depth[i] % 2 != 0) continue;
    TRegion r{i, {}};
    for (std::size_t j = 0; j < loops.size(); ++j)
      if (depth[j] == depth[i] + 1 && std::count(inside[j].begin(), inside[j].end(), i)) r.Holes.push_back(j);
    regions.push_back(r);
  }
  return regions;
}

// A boolean of two solids, or a null shape when the modeller fails. The solids come from sweeps and
// booleans and are never inside out, so the modeller's test of that, which classifies a point against
// every solid of every boolean and cost a large toothed part a good share of each, is left out.
template <class TOperation>
TopoDS_Shape Boolean(const TopoDS_Shape& a, const TopoDS_Shape& b, bool orientedBoxes = false,
                     const Message_ProgressRange& range = Message_ProgressRange(), double fuzz = 0)
{
  TopTools_ListOfShape arguments, tools;
  arguments.Append(a);
  tools.Append(b);
  TOperation op;
  op.SetArguments(arguments);
  op.SetTools(tools);
  op.SetCheckInverted(false);
  op.SetRunParallel(false);
  op.SetUseOBB(orientedBoxes);
  op.SetToFillHistory(false);
  if (fuzz > 0) op.SetFuzzyValue(fuzz);
  op.Build(range);
  if (!op.IsDone() || op.HasErrors()) return {};
  return op.Shape();
}

TopoDS_Shape Fused(const TopoDS_Shape& a, const TopoDS_Shape& b, const TDeadline& d)
{
  if (a.IsNull()) return b;
  TopoDS_Shape s = Boolean<BRepAlgoAPI_Fuse>(a, b, false, d.Range());
  if (s.IsNull()) throw std::runtime_error("the modeller failed to fuse");
  return s;
}

TopoDS_Shape Cut(const TopoDS_Shape& a, const TopoDS_Shape& b, const TDeadline& d, bool orientedBoxes = false,
                 double fuzz = 0)
{
  TopoDS_Shape s = Boolean<BRepAlgoAPI_Cut>(a, b, orientedBoxes, d.Range(), fuzz);
  if (s.IsNull()) throw std::runtime_error("the modeller failed to cut");
  return s;
}

TopoDS_Shape Common(const TopoDS_Shape& a, const TopoDS_Shape& b, const TDeadline& d)
{
  TopoDS_Shape s = SharedPart(a, b, d.Range());
  if (s.IsNull()) throw std::runtime_error("the modeller failed to intersect");
  return s;
}

TopoDS_Face RegionFace(const TSketchPlane& p, const std::vector<TLoop>& loops, const TRegion& r)
{
  BRepBuilderAPI_MakeFace f(gp_Pln(gp_Ax3(p.O, p.Turn(), p.U)), Wire(p, loops[r.Outer], true), true);
  for (std::size_t h : r.Holes)
    f.Add(Wire(p, loops[h], false));
  if (!f.IsDone()) throw std::runtime_error("a profile region gives no face");
  return f.Face();
}

// A loop swept from w0 to w1 along the normal, grown by g0 and g1 at the two ends.
TopoDS_Shape Loft(const TFrame& frame, const TLoop& loop, double w0, double g0, double w1, double g1,
                  const TDeadline& d)
{
  BRepOffsetAPI_ThruSections t(true, true);
  t.AddWire(GrownWire(PlaneAt(frame, w0), loop, g0));
  t.AddWire(GrownWire(PlaneAt(frame, w1), loop, g1));
  t.Build(d.Range());
  if (!t.IsDone()) throw std::runtime_error("a tapered extrusion failed");
  return t.Shape();
}

TopoDS_Shape Extrusion(const TFeature& f, const TDeadline& d)
{
  if (!(f.To > f.From)) throw std::runtime_error("an extrusion of no depth");
  const std::vector<TRegion> regions = Regions(f.Loops);
  TopoDS_Shape tool;
  if (std::abs(f.Grow) < 1e-12) {
    const TSketchPlane p = PlaneAt(f.Frame, f.From);
    const gp_Vec sweep(p.N.X() * (f.To - f.From), p.N.Y() * (f.To - f.From), p.N.Z() * (f.To - f.From));
    for (const TRegion& r : regions)
      tool = Fused(tool, BRepPrimAPI_MakePrism(RegionFace(p, f.Loops, r), sweep).Shape(), d);
    return tool;
  }
  // Holes shrink as their region grows; a sweep across the plane tapers away from it on each side.
  const double k = f.Grow;
  std::vector<std::pair<double, double>> spans;
  if (f.From < 0 && f.To > 0) spans = {{f.From, 0}, {0, f.To}};
  else spans = {{f.From, f.To}};
  for (auto [w0, w1] : spans) {
    for (const TRegion& r : regions) {
      TopoDS_Shape piece = Loft(f.Frame, f.Loops[r.Outer], w0, k * std::abs(w0), w1, k * std::abs(w1), d);
      for (std::size_t h : r.Holes)
        piece = Cut(piece, Loft(f.Frame, f.Loops[h], w0, -k * std::abs(w0), w1, -k * std::abs(w1), d), d);
      tool = Fused(tool, piece, d);
    }
  }
  return tool;
}

// The turned arcs of a rotation as tori instead of the modeller's general surfaces of revolution, whose
// every point costs a rotation to evaluate: the booleans of a crowned gear hub spent a quarter of their
// time there. The solid sewn anew from the same faces replaces the turned one only when it is one closed
// solid of the same volume.
TopoDS_Shape WithTori(const TopoDS_Shape& turned, const TDeadline& d)
{
  BRepBuilderAPI_Sewing sewing(1e-6);
  bool replaced = false;
  for (TopExp_Explorer e(turned, TopAbs_FACE); e.More(); e.Next()) {
    const TopoDS_Face face = TopoDS::Face(e.Current());
    const BRepAdaptor_Surface s(face);
    if (s.GetType() != GeomAbs_SurfaceOfRevolution || s.BasisCurve()->GetType() != GeomAbs_Circle) {
      sewing.Add(face);
      continue;
    }
    const gp_Circ c = s.BasisCurve()->Circle();
    const gp_Ax1 axis = s.AxeOfRevolution();
    const gp_Dir Z = axis.Direction();
    const gp_Vec toCentre(axis.Location(), c.Location());
    const gp_Vec radial = toCentre - gp_Vec(Z) * toCentre.Dot(gp_Vec(Z));
    if (!c.Axis().IsNormal(axis, 1e-9) || std::abs(toCentre.Dot(gp_Vec(c.Axis().Direction()))) > 1e-9 ||
        radial.Magnitude() <= c.Radius() + 1e-6) {
      sewing.Add(face);
      continue;
    }
    const gp_Dir X(radial);
    const gp_Pnt origin = axis.Location().Translated(gp_Vec(Z) * toCentre.Dot(gp_Vec(Z)));
    const gp_Dir xc = c.XAxis().Direction(), yc = c.YAxis().Direction();
    const double alpha = std::atan2(gp_Vec(xc).Dot(gp_Vec(Z)), gp_Vec(xc).Dot(gp_Vec(X)));
    const double sense = gp_Vec(yc).Dot(gp_Vec(-std::sin(alpha) * gp_Vec(X) + std::cos(alpha) * gp_Vec(Z))) > 0 ? 1 : -1;
    double u0, u1, v0, v1;
    BRepTools::UVBounds(face, u0, u1, v0, v1);
    const double a = sense > 0 ? alpha + v0 : alpha - v1, b = sense > 0 ? alpha + v1 : alpha - v0;
    Handle(Geom_ToroidalSurface) torus = new Geom_ToroidalSurface(gp_Ax3(origin, Z, X), radial.Magnitude(), c.Radius());
    BRepBuilderAPI_MakeFace made(torus, u0, u1, a, b, 1e-7);
    if (!made.IsDone()) return turned;
    sewing.Add(made.Face());
    replaced = true;
  }
  if (!replaced) return turned;
  sewing.Perform(d.Range());
  TopExp_Explorer shells(sewing.SewedShape(), TopAbs_SHELL);
  if (!shells.More()) return turned;
  const TopoDS_Shell shell = TopoDS::Shell(shells.Current());
  shells.Next();
  if (shells.More() || !BRep_Tool::IsClosed(shell)) return turned;
  BRepBuilderAPI_MakeSolid solid(shell);
  if (!solid.IsDone()) return turned;
  TopoDS_Solid out = solid.Solid();
  if (!BRepLib::OrientClosedSolid(out)) return turned;
  const double v = Volume(TShape(turned)), w = Volume(TShape(out));
  if (std::abs(v - w) > 1e-7 * v) return turned;
  return out;
}

TopoDS_Shape Rotation(const TFeature& f, const TDeadline& deadline)
{
  const TSketchPlane p = PlaneAt(f.Frame, 0);
  const gp_Vec d(f.AxisDir[0], f.AxisDir[1], f.AxisDir[2]);
  if (d.Magnitude() < 1e-12) throw std::runtime_error("a rotation without an axis");
  const gp_Ax1 axis(gp_Pnt(f.AxisPoint[0], f.AxisPoint[1], f.AxisPoint[2]), gp_Dir(d));
  const double turn = f.Angle * std::numbers::pi / 180;
  if (!(std::abs(turn) > 1e-9)) throw std::runtime_error("a rotation of no angle");
  TopoDS_Shape tool;
  for (const TRegion& r : Regions(f.Loops)) {
    const TopoDS_Shape face = RegionFace(p, f.Loops, r);
    const bool whole = std::abs(std::abs(turn) - 2 * std::numbers::pi) < 1e-9;
    const TopoDS_Shape turned =
        whole
            ? BRepPrimAPI_MakeRevol(face, axis).Shape()
            : BRepPrimAPI_MakeRevol(face, axis, std::clamp(turn, -2 * std::numbers::pi, 2 * std::numbers::pi))
                  .Shape();
    tool = Fused(tool, WithTori(turned, deadline), deadline);
  }
  return tool;
}

// A cut of many faces from a body turned about an axis goes through the body's faces of revolution split
// into sectors, and the sectors are merged again afterwards: the modeller looks for where a tooth's flank
// meets a whole ring (a crown, a fillet) along the ring's whole turn, which cost a toothed cut two thirds of
// its time, mostly finding nothing. The merged result is kept only as one shape of the same solids and
// volume.
constexpr int SectorFaces = 50; // tools with fewer faces are cut directly
constexpr int Sectors = 16;

int FaceCount(const TopoDS_Shape& s)
{
  int n = 0;
  for (TopExp_Explorer e(s, TopAbs_FACE); e.More(); e.Next())
    ++n;
  return n;
}

struct TCutShape
{
  TopoDS_Shape Shape;
  double Volume = 0;
};

// The shape with the faces its seams split merged again, so that later booleans meet each of them once;
// as it was when merging changes its solids or its volume.
TCutShape Merged(const TopoDS_Shape& s)
{
  const double v = Volume(TShape(s));
  try {
    ShapeUpgrade_UnifySameDomain unify(s, true, true, false);
    unify.Build();
    const TopoDS_Shape merged = unify.Shape();
    if (!merged.IsNull() && SolidCount(TShape(merged)) == SolidCount(TShape(s))) {
      const double w = Volume(TShape(merged));
      if (std::abs(v - w) <= 1e-9 * v) return {merged, w};
    }
  } catch (const Standard_Failure&) {
  }
  return {s, v};
}

TCutShape SectorCut(const TopoDS_Shape& body, const TopoDS_Shape& tool, const TDeadline& d)
{
  auto plain = [&] {
    const TopoDS_Shape cut = Cut(body, tool, d);
    return TCutShape{cut, Volume(TShape(cut))};
  };
  if (FaceCount(tool) < SectorFaces) return plain();
  ShapeUpgrade_ShapeDivideAngle divide(2 * std::numbers::pi / Sectors, body);
  if (!divide.Perform() || divide.Result().IsNull()) return plain();
  // Oriented boxes about the sectors and the teeth's faces pair fewer of them than boxes along the axes.
  return Merged(Cut(divide.Result(), tool, d, true));
}

// A prism whose profile repeats K times about the axis of a body turned whole about that axis (the spaces
// of a gear's teeth, a circle of holes) is cut from one sector of the body, and the sector's result turned
// round to fill the others and sewn up: one sector meets only its own share of the prism's faces, where
// the whole body met them all, each flank against each whole crown and fillet. The result is kept only
// when every sector accounts for its share of the body's volume, the sewn sectors close into one shell,
// and the whole holds what the sectors do.

struct TPoint2
{
  double X, Y;
};

TPoint2 Turned2(TPoint2 p, TPoint2 c, double cs, double sn)
{
  const double x = p.X - c.X, y = p.Y - c.Y;
  return {c.X + cs * x - sn * y, c.Y + sn * x + cs * y};
}

// The curve turned by the angle (cosine, sine) about c.
TCurve2 Turned2(const TCurve2& k, TPoint2 c, double cs, double sn)
{
  TCurve2 t = k;
  auto turn = [&](double& x, double& y) {
    const TPoint2 q = Turned2(TPoint2{x, y}, c, cs, sn);
    x = q.X, y = q.Y;
  };
  turn(t.X1, t.Y1);
  turn(t.X2, t.Y2);
  turn(t.Xc, t.Yc);
  return t;
}

bool SameCurve(const TCurve2& a, const TCurve2& b, double eps)
{
  auto near = [eps](double x0, double y0, double x1, double y1) { return std::hypot(x0 - x1, y0 - y1) <= eps; };
  if (a.Kind != b.Kind) return false;
  if (a.Kind == TCurve2::Line) return near(a.X1, a.Y1, b.X1, b.Y1) && near(a.X2, a.Y2, b.X2, b.Y2);
  if (std::abs(a.R - b.R) > eps || !near(a.Xc, a.Yc, b.Xc, b.Yc)) return false;
  return a.Kind == TCurve2::Circle ||
         (a.Clockwise == b.Clockwise && near(a.X1, a.Y1, b.X1, b.Y1) && near(a.X2, a.Y2, b.X2, b.Y2));
}

// The point of a curve its turned copies are found by: a circle's centre, another curve's start.
TPoint2 KeyPoint(const TCurve2& k) { return k.Kind == TCurve2::Circle ? TPoint2{k.Xc, k.Yc} : TPoint2{k.X1, k.Y1}; }

// How many times the curves repeat about c: the largest K for which a turn of 2 pi / K takes each of them
// onto one of them; 1 when none.
int Repeats(const std::vector<TCurve2>& curves, TPoint2 c, double eps)
{
  auto radius = [&](const TCurve2& k) { return std::hypot(KeyPoint(k).X - c.X, KeyPoint(k).Y - c.Y); };
  auto angle = [&](const TCurve2& k) { return std::atan2(KeyPoint(k).Y - c.Y, KeyPoint(k).X - c.X); };
  // The curve whose key point stands farthest from c: the turns that can work take it onto a curve like it.
  const auto first = std::max_element(curves.begin(), curves.end(),
                                      [&](const TCurve2& a, const TCurve2& b) { return radius(a) < radius(b); });
  if (first == curves.end() || radius(*first) <= eps) return 1;
  std::vector<int> orders;
  for (const TCurve2& k : curves) {
    if (&k == &*first || k.Kind != first->Kind || std::abs(k.R - first->R) > eps ||
        std::abs(radius(k) - radius(*first)) > eps)
      continue;
    const double turn = std::remainder(angle(k) - angle(*first), 2 * std::numbers::pi);
    if (std::abs(turn) < 1e-9) continue;
    const double order = 2 * std::numbers::pi / std::abs(turn);
    const int n = int(std::lround(order));
    if (n >= 2 && std::abs(order - n) < 1e-6 * n) orders.push_back(n);
  }
  std::sort(orders.rbegin(), orders.rend());
  orders.erase(std::unique(orders.begin(), orders.end()), orders.end());
  for (int n : orders) {
    const double cs = std::cos(2 * std::numbers::pi / n), sn = std::sin(2 * std::numbers::pi / n);
    const bool all = std::all_of(curves.begin(), curves.end(), [&](const TCurve2& k) {
      const TCurve2 t = Turned2(k, c, cs, sn);
      return std::any_of(curves.begin(), curves.end(), [&](const TCurve2& o) { return SameCurve(t, o, eps); });
    });
    if (all) return n;
  }
  return 1;
}

// The seam's angle within a sector of the given angle: halfway across the widest span free of the
// curves' ends, so that no seam runs through a corner of the profile.
double SeamAngle(const std::vector<TCurve2>& curves, TPoint2 c, double sector, double eps)
{
  std::vector<double> at;
  for (const TCurve2& k : curves) {
    if (k.Kind == TCurve2::Circle) {
      const double d = std::hypot(k.Xc - c.X, k.Yc - c.Y);
      if (d <= k.R) continue; // about the axis: any seam crosses it alike
      // A circle beside the axis: keep the seam off the angles it spans.
      const double mid = std::atan2(k.Yc - c.Y, k.Xc - c.X), half = std::asin(std::min(1.0, (k.R + eps) / d));
      for (double a : {mid - half, mid, mid + half})
        at.push_back(a);
      continue;
    }
    for (TPoint2 p : {TPoint2{k.X1, k.Y1}, TPoint2{k.X2, k.Y2}})
      if (std::hypot(p.X - c.X, p.Y - c.Y) > eps) at.push_back(std::atan2(p.Y - c.Y, p.X - c.X));
  }
  if (at.empty()) return 0;
  for (double& a : at)
    a = a - sector * std::floor(a / sector);
  std::sort(at.begin(), at.end());
  double best = 0, seam = 0;
  for (std::size_t i = 0; i < at.size(); ++i) {
    const double from = at[i], to = i + 1 < at.size() ? at[i + 1] : at[0] + sector;
    if (to - from > best) best = to - from, seam = (from + to) / 2;
  }
  return seam;
}

// The line a feature turns its profile a whole turn about; none for any other feature.
std::optional<gp_Ax1> WholeTurnAxis(const TFeature& f)
{
  const gp_Vec d(f.AxisDir[0], f.AxisDir[1], f.AxisDir[2]);
  if (f.Shape != TFeature::Rotation || std::abs(std::abs(f.Angle) - 360) > 1e-9 || d.Magnitude() < 1e-12)
    return std::nullopt;
  return gp_Ax1(gp_Pnt(f.AxisPoint[0], f.AxisPoint[1], f.AxisPoint[2]), gp_Dir(d));
}

bool SameLine(const gp_Ax1& a, const gp_Ax1& b)
{
  return a.IsParallel(b, 1e-12) && gp_Lin(a).Distance(b.Location()) < 1e-9;
}

// How a cut's profile repeats about the axis of a body turned whole about it, and what a cut by sectors
// needs to know of the two.
struct TRepeat
{
  int Repeats = 1;
  TSketchPlane Plane;
  TPoint2 C{0, 0};          // where the axis meets the sketch
  gp_Pnt Centre;            // the same point in space
  Bnd_Box Box;              // the body's
  double Reach = 0;         // how far the body reaches from the axis
  std::vector<TCurve2> Curves; // the curves the body reaches
  double Scale = 1, Eps = 0;
};

std::optional<TRepeat> RepeatOf(const TopoDS_Shape& body, const gp_Ax1& axis, const TFeature& f)
{
  if (f.Shape != TFeature::Extrusion || std::abs(f.Grow) >= 1e-12) return std::nullopt;
  TRepeat r;
  const TSketchPlane& p = r.Plane = PlaneAt(f.Frame, 0);
  if (std::abs(gp_Vec(p.U).Dot(gp_Vec(p.V))) > 1e-9 || !p.N.IsParallel(axis.Direction(), 1e-9)) return std::nullopt;
  const gp_Vec toAxis(p.O, axis.Location());
  const TPoint2 c = r.C = {toAxis.Dot(gp_Vec(p.U)), toAxis.Dot(gp_Vec(p.V))};
  r.Centre = p.At(c.X, c.Y);

  // How far the body reaches from the axis.
  Bnd_Box box;
  BRepBndLib::Add(body, box);
  r.Box = box;
  r.Reach = AxialReach(gp_Ax1(r.Centre, p.N), box).Reach;

  // Only the curves the body reaches must repeat: those beyond it (the outline that closes the spaces of
  // external teeth) bound the region alike in every sector, as long as a ring free of curves parts them
  // from the rest.
  double nearOut = 0, farIn = std::numeric_limits<double>::infinity();
  for (const TLoop& l : f.Loops)
    for (const TCurve2& k : l) {
      double in, out;
      if (k.Kind == TCurve2::Line) {
        const double dx = k.X2 - k.X1, dy = k.Y2 - k.Y1, length2 = dx * dx + dy * dy;
        const double t = length2 > 0 ? std::clamp(((c.X - k.X1) * dx + (c.Y - k.Y1) * dy) / length2, 0.0, 1.0) : 0;
        in = std::hypot(k.X1 + t * dx - c.X, k.Y1 + t * dy - c.Y);
        out = std::max(std::hypot(k.X1 - c.X, k.Y1 - c.Y), std::hypot(k.X2 - c.X, k.Y2 - c.Y));
      } else {
        const double d = std::hypot(k.Xc - c.X, k.Yc - c.Y);
        in = std::max(0.0, d - k.R), out = d + k.R;
      }
      r.Scale = std::max(
          {r.Scale, out, std::hypot(k.X1, k.Y1), std::hypot(k.X2, k.Y2), std::hypot(k.Xc, k.Yc) + k.R});
      if (in > r.Reach) {
        farIn = std::min(farIn, in);
        continue;
      }
      nearOut = std::max(nearOut, out);
      r.Curves.push_back(k);
    }
  if (r.Curves.empty() || nearOut >= farIn) return std::nullopt;
  r.Eps = 1e-8 * (r.Scale + std::hypot(c.X, c.Y));
  r.Repeats = Repeats(r.Curves, c, r.Eps);
  return r;
}

// The start of a sector, from the seam's angle turned by whole sectors, that holds none of the lines along
// which the body's own faces of revolution close: a sector holding one has those faces split there too, and
// merging its turned copies again then ran for hours (five bolts in a sleeve of thirty teeth, where three and
// seven took two seconds). Every sector is cut alike, so any of them may be the one cut. The seam's own
// angle when every sector holds one.
double FreeOfClosings(const TopoDS_Shape& body, const TRepeat& r, double seam, double sector, int sectors)
{
  const TSketchPlane& p = r.Plane;
  std::vector<double> closings; // their angles in the sketch about the axis
  for (TopExp_Explorer f(body, TopAbs_FACE); f.More(); f.Next())
    for (TopExp_Explorer e(f.Current(), TopAbs_EDGE); e.More(); e.Next()) {
      const TopoDS_Edge& edge = TopoDS::Edge(e.Current());
      if (!BRep_Tool::IsClosed(edge, TopoDS::Face(f.Current()))) continue;
      const BRepAdaptor_Curve curve(edge);
      const gp_Vec w(r.Centre, curve.Value((curve.FirstParameter() + curve.LastParameter()) / 2));
      closings.push_back(std::atan2(w.Dot(gp_Vec(p.V)), w.Dot(gp_Vec(p.U))));
    }
  for (int k = 0; k < sectors; ++k) {
    const double from = seam + k * sector;
    if (std::none_of(closings.begin(), closings.end(), [&](double a) {
          return std::abs(std::remainder(a - from - sector / 2, 2 * std::numbers::pi)) < sector / 2;
        }))
      return from;
  }
  return seam;
}

std::optional<TCutShape> SymmetricCut(const TopoDS_Shape& body, double bodyVolume, const TRepeat& r,
                                      const TopoDS_Shape& tool, const TDeadline& d)
{
  if (FaceCount(tool) < SectorFaces) return std::nullopt;
  const int sectors = SectorsOf(r.Repeats);
  if (sectors == 0) return std::nullopt;
  const TSketchPlane& p = r.Plane;
  const TPoint2 c = r.C;
  const gp_Pnt& centre = r.Centre;
  const double sector = 2 * std::numbers::pi / sectors;
  const double seam = FreeOfClosings(body, r, SeamAngle(r.Curves, c, sector, r.Eps), sector, sectors);

  const TopoDS_Shape wedge = Wedge(gp_Ax1(centre, p.Turn()), p.U, seam, seam + sector, r.Box);

  const TopoDS_Shape piece = Common(body, wedge, d);
  const double pieceVolume = Volume(TShape(piece));
  if (std::abs(pieceVolume * sectors - bodyVolume) > 1e-7 * bodyVolume) return std::nullopt;
  const TopoDS_Shape cut = Cut(piece, tool, d, true);
  const double cutVolume = Volume(TShape(cut));

  // The seam faces of the cut sector lie on the wedge's sides; its other faces, turned round, make the whole.
  const gp_Dir turn = p.Turn();
  std::vector<gp_Dir> sides;
  for (double a : {seam, seam + sector})
    sides.push_back(turn.Crossed(gp_Dir(std::cos(a) * gp_Vec(p.U) + std::sin(a) * gp_Vec(p.V))));
  auto onSide = [&](const TopoDS_Face& face) {
    const BRepAdaptor_Surface s(face);
    if (s.GetType() != GeomAbs_Plane) return false;
    const gp_Pln plane = s.Plane();
    return plane.Distance(centre) < 1e-7 * (r.Scale + 1) && std::any_of(sides.begin(), sides.end(), [&](const gp_Dir& n) {
             return plane.Axis().Direction().IsParallel(n, 1e-9);
           });
  };
  std::vector<TopoDS_Face> kept;
  for (TopExp_Explorer e(cut, TopAbs_FACE); e.More(); e.Next())
    if (!onSide(TopoDS::Face(e.Current()))) kept.push_back(TopoDS::Face(e.Current()));
  BRepBuilderAPI_Sewing sewing(1e-6);
  // Each copy made anew: faces that only carry a turn as their location cost every later algorithm dearly.
  for (int k = 0; k < sectors; ++k) {
    gp_Trsf t;
    t.SetRotation(gp_Ax1(centre, turn), k * sector);
    for (const TopoDS_Face& face : kept)
      sewing.Add(k == 0 ? face : BRepBuilderAPI_Transform(face, t, true).Shape());
  }
  sewing.Perform(d.Range());
  if (sewing.NbFreeEdges() != 0 || sewing.NbMultipleEdges() != 0) return std::nullopt;
  TopExp_Explorer shells(sewing.SewedShape(), TopAbs_SHELL);
  if (!shells.More()) return std::nullopt;
  const TopoDS_Shell shell = TopoDS::Shell(shells.Current());
  shells.Next();
  if (shells.More() || !BRep_Tool::IsClosed(shell)) return std::nullopt;
  BRepBuilderAPI_MakeSolid made(shell);
  if (!made.IsDone()) return std::nullopt;
  TopoDS_Solid solid = made.Solid();
  if (!BRepLib::OrientClosedSolid(solid)) return std::nullopt;
  // The seams split the body's faces of revolution once a sector.
  const TCutShape whole = Merged(solid);
  const double want = cutVolume * sectors;
  if (SolidCount(TShape(whole.Shape)) != 1 || std::abs(whole.Volume - want) > 1e-7 * want) return std::nullopt;
  return whole;
}

// Volumes below this share of the larger solid are the modeller's rounding, not material.
constexpr double Touching = 1e-9;
// The play a cut the modeller missed is tried again with, in millimetres.
constexpr double NearMiss = 0.01;

// Whether the boxes of two shapes overlap with thickness along every axis: tools that only touch the body
// need no boolean at all.
// Whether the shape lies within the space the host makes solids in. Booleans of a part kilometres wide with
// its millimetre details run for hours, if they end at all, so such a feature fails at once, as it does when
// the host is asked for it.
bool WithinModelSpace(const TopoDS_Shape& s)
{
  Bnd_Box box;
  BRepBndLib::Add(s, box);
  if (box.IsVoid()) return true;
  double lo[3], hi[3];
  box.Get(lo[0], lo[1], lo[2], hi[0], hi[1], hi[2]);
  const double limit = txhost::model::ModelSpace + box.GetGap();
  for (int k = 0; k < 3; ++k)
    if (!(std::abs(lo[k]) <= limit && std::abs(hi[k]) <= limit)) return false;
  return true;
}

bool Overlap(const TopoDS_Shape& a, const TopoDS_Shape& b)
{
  Bnd_Box ba, bb;
  BRepBndLib::Add(a, ba);
  BRepBndLib::Add(b, bb);
  if (ba.IsVoid() || bb.IsVoid()) return false;
  double a0[3], a1[3], b0[3], b1[3];
  ba.Get(a0[0], a0[1], a0[2], a1[0], a1[1], a1[2]);
  bb.Get(b0[0], b0[1], b0[2], b1[0], b1[1], b1[2]);
  // The boxes carry the shapes' tolerance on every side.
  const double gap = 2 * std::max(ba.GetGap(), bb.GetGap()) + 1e-9;
  for (int k = 0; k < 3; ++k)
    if (std::min(a1[k], b1[k]) - std::max(a0[k], b0[k]) <= gap) return false;
  return true;
}

} // namespace

int SectorsOf(int repeats)
{
  constexpr int Wanted = 10; // more sectors cut faster, but each seam costs sewing and merging
  int sectors = 0;
  for (int n = 4; n <= repeats; ++n)
    if (repeats % n == 0 && (sectors == 0 || std::abs(n - Wanted) < std::abs(sectors - Wanted))) sectors = n;
  return sectors;
}

TReach AxialReach(const gp_Ax1& axis, const Bnd_Box& box)
{
  TReach r;
  double x0, y0, z0, x1, y1, z1;
  box.Get(x0, y0, z0, x1, y1, z1);
  const gp_Vec d(axis.Direction());
  bool first = true;
  for (double x : {x0, x1})
    for (double y : {y0, y1})
      for (double z : {z0, z1}) {
        const gp_Vec v(axis.Location(), gp_Pnt(x, y, z));
        const double w = v.Dot(d);
        r.Reach = std::max(r.Reach, (v - d * w).Magnitude());
        r.From = first ? w : std::min(r.From, w), r.To = first ? w : std::max(r.To, w);
        first = false;
      }
  return r;
}

TopoDS_Shape Wedge(const gp_Ax1& axis, const gp_Dir& u, double from, double to, const Bnd_Box& box)
{
  const TReach r = AxialReach(axis, box);
  const gp_Dir& d = axis.Direction();
  const gp_Dir v = d.Crossed(u);
  const double reach = 2 * r.Reach + 1; // a triangle of a sector up to a right angle covers the ring inside
  const gp_Pnt base = axis.Location().Translated(gp_Vec(d) * (r.From - 1));
  auto ray = [&](double a) { return base.Translated(reach * (std::cos(a) * gp_Vec(u) + std::sin(a) * gp_Vec(v))); };
  const TopoDS_Face triangle = BRepBuilderAPI_MakeFace(BRepBuilderAPI_MakePolygon(base, ray(from), ray(to), true).Wire());
  return BRepPrimAPI_MakePrism(triangle, gp_Vec(d) * (r.To - r.From + 2)).Shape();
}

std::string FailureText(const Standard_Failure& e)
{
  const char* m = e.GetMessageString();
  std::string s = m != nullptr && *m != 0 ? m : "";
  return std::string(e.DynamicType()->Name()) + (s.empty() ? "" : ": " + s);
}

TopoDS_Shape SharedPart(const TopoDS_Shape& a, const TopoDS_Shape& b, const Message_ProgressRange& range)
{
  return Boolean<BRepAlgoAPI_Common>(a, b, false, range);
}

double ProcessorSeconds()
{
  timespec t{};
  ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return double(t.tv_sec) + 1e-9 * double(t.tv_nsec);
}

// The modeller asks whether to stop many times a second in its long loops: the progress is ticked there.
class TDeadline::TIndicator : public Message_ProgressIndicator
{
public:
  TIndicator(double end, TProgress* progress) : End(end), Progress(progress) {}
  Standard_Boolean UserBreak() override
  {
    if (Progress != nullptr) Progress->Tick();
    return End > 0 && ProcessorSeconds() > End;
  }
  void Show(const Message_ProgressScope&, const Standard_Boolean) override {}
  double End;
  TProgress* Progress;
};

TDeadline::TDeadline(const TLimits& limits, TProgress* progress)
{
  if (limits.Seconds > 0) End = limits.Started.value_or(ProcessorSeconds()) + limits.Seconds;
  if (End > 0 || progress != nullptr) Indicator = new TIndicator(End, progress);
}

bool TDeadline::Passed() const
{
  return End > 0 && ProcessorSeconds() > End;
}

Message_ProgressRange TDeadline::Range() const
{
  return Indicator.IsNull() ? Message_ProgressRange() : Indicator->Start();
}

double Volume(const TShape& shape)
{
  if (shape.S.IsNull()) return 0;
  GProp_GProps props;
  BRepGProp::VolumeProperties(shape.S, props);
  return std::abs(props.Mass());
}

int SolidCount(const TShape& shape)
{
  int n = 0;
  for (TopExp_Explorer e(shape.S, TopAbs_SOLID); e.More(); e.Next())
    ++n;
  return n;
}

TPartResult BuildPart(const std::vector<TFeature>& features, const TLimits& limits, const std::string& what)
{
  TPartResult out;
  out.Seconds = limits.Seconds;
  TProgress progress(limits.Progress);
  const TDeadline deadline(limits, limits.Progress != nullptr ? &progress : nullptr);
  TopoDS_Shape body;
  double volume = 0;
  // The line the body is turned about, while every feature that made it turned its profile a whole turn
  // about that line; and the turns that take the body onto itself.
  std::optional<gp_Ax1> turnedAbout;
  TSymmetry symmetry;
  auto symmetric = [&symmetry](const gp_Ax1& axis, int order) {
    const gp_Pnt& o = axis.Location();
    const gp_Dir& d = axis.Direction();
    symmetry = {{o.X(), o.Y(), o.Z()}, {d.X(), d.Y(), d.Z()}, order};
  };
  for (const TFeature& f : features) {
    progress.Step(what, out.Features.size(), features.size());
    TFeatureResult r;
    r.Kind = f.Kind;
    r.Cut = f.Cut;
    // A feature after one the time stopped is not started: the part it would change is not known.
    if (out.Late > 0 || deadline.Passed()) {
      if (out.Late++ == 0) out.FirstLate = out.Features.size();
      r.Late = true;
      out.Features.push_back(r);
      continue;
    }
    try {
      if (f.Loops.empty()) throw std::runtime_error("an empty profile");
      const TopoDS_Shape tool =
          f.Shape == TFeature::Extrusion ? Extrusion(f, deadline) : Rotation(f, deadline);
      if (!WithinModelSpace(tool)) throw std::runtime_error("a feature beyond the modeller's space");
      r.Tool = Volume(TShape(tool));
      if (!(r.Tool > 0)) throw std::runtime_error("a tool of no volume");
      const std::optional<gp_Ax1> turn = WholeTurnAxis(f);
      const bool alongTheTurn = turn && (body.IsNull() ? !f.Cut : turnedAbout && SameLine(*turn, *turnedAbout));
      if (!f.Cut) {
        const TopoDS_Shape next = Fused(body, tool, deadline);
        const double v = Volume(TShape(next));
        r.Changed = std::max(0.0, v - volume);
        body = next;
        volume = v;
        turnedAbout = alongTheTurn ? turn : std::nullopt;
        symmetry = {};
        if (turnedAbout) symmetric(*turnedAbout, 0);
      } else if (!body.IsNull() && Overlap(body, tool)) {
        // A profile that repeats about the turned body's axis leaves a body that repeats so, and one of many
        // faces is cut by sectors.
        std::optional<TRepeat> repeat;
        std::optional<TCutShape> repeated;
        if (turnedAbout) {
          try {
            repeat = RepeatOf(body, *turnedAbout, f);
            if (repeat) repeated = SymmetricCut(body, volume, *repeat, tool, deadline);
          } catch (const std::exception&) {
          } catch (const Standard_Failure&) {
          }
        }
        auto [next, v] = repeated ? *repeated : SectorCut(body, tool, deadline);
        // The modeller misses a cut whose tool has an edge within hundredths of a millimetre of one of the
        // body's (a cross hole by a chamfer's edge), and leaves the body as it was: such a cut is tried again
        // with that much play. A tool that shares nothing with the body still removes nothing.
        if (volume - v <= Touching * std::max(volume, r.Tool)) {
          next = Cut(body, tool, deadline, false, NearMiss);
          v = Volume(TShape(next));
        }
        double removed = volume - v;
        // A tool that only touches the body (along a face or a line) shares no volume, yet the modeller's
        // cut may take material away there: a cut that removed more than its tool holds is measured
        // against what the two share, and one that shares nothing changes nothing.
        if (removed > r.Tool * (1 + 1e-6) + 1e-9) {
          const double shared = Volume(TShape(Common(body, tool, deadline)));
          if (shared <= Touching * std::max(volume, r.Tool))
            removed = 0;
          else
            throw std::runtime_error("the cut removed " + std::to_string(removed) + " where its tool shares " +
                                     std::to_string(shared));
        }
        if (removed > Touching * std::max(volume, r.Tool)) {
          r.Changed = removed;
          body = next;
          volume = v;
          if (!alongTheTurn) {
            symmetry = {};
            if (repeat) symmetric(*turnedAbout, repeat->Repeats);
            turnedAbout.reset();
          }
        }
      }
    } catch (const Standard_Failure& e) {
      r.Error = FailureText(e);
    } catch (const std::exception& e) {
      r.Error = e.what();
    }
    // A failure once the time has run out is the modeller stopped, not a feature it cannot make.
    if (!r.Error.empty() && deadline.Passed()) {
      r.Error.clear();
      r.Tool = r.Changed = 0;
      r.Late = true;
      out.Late = 1;
      out.FirstLate = out.Features.size();
    }
    out.Features.push_back(r);
  }
  if (!body.IsNull()) {
    out.Shape = std::make_shared<TShape>(body);
    out.Volume = volume;
    out.Solids = SolidCount(*out.Shape);
    out.Symmetry = symmetry;
  }
  return out;
}

gp_Trsf Transformation(const std::array<double, 12>& m)
{
  gp_Trsf t;
  t.SetValues(m[0], m[3], m[6], m[9], m[1], m[4], m[7], m[10], m[2], m[5], m[8], m[11]);
  return t;
}

TopoDS_Shape PlacedShape(const TPlaced& p)
{
  if (!p.Shape) return {};
  return BRepBuilderAPI_Transform(p.Shape->S, Transformation(p.Matrix), true).Shape();
}

} // namespace txhost::solid
