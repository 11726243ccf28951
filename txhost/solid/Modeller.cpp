// Features into solids: profiles into faces, faces swept or turned into tools, tools fused into or cut from
// the part one feature at a time, each measured by what it changed.
#include "txhost/solid/Shape.h"

#include <BRepAlgoAPI_Common.hxx>
#include <BRepAlgoAPI_Cut.hxx>
#include <BRepAlgoAPI_Fuse.hxx>
#include <BRepAdaptor_Surface.hxx>
#include <BRepBndLib.hxx>
#include <BRepBuilderAPI_MakeSolid.hxx>
#include <BRepBuilderAPI_Sewing.hxx>
#include <BRepLib.hxx>
#include <BRepTools.hxx>
#include <Geom_ToroidalSurface.hxx>
#include <TopoDS_Shell.hxx>
#include <BRepBuilderAPI_MakeEdge.hxx>
#include <Bnd_Box.hxx>
#include <BRepBuilderAPI_MakeFace.hxx>
#include <BRepBuilderAPI_MakeWire.hxx>
#include <BRepBuilderAPI_Transform.hxx>
#include <BRepGProp.hxx>
#include <BRepOffsetAPI_MakeOffset.hxx>
#include <BRepOffsetAPI_ThruSections.hxx>
#include <BRepPrimAPI_MakePrism.hxx>
#include <BRepPrimAPI_MakeRevol.hxx>
#include <GC_MakeArcOfCircle.hxx>
#include <GProp_GProps.hxx>
#include <ShapeUpgrade_ShapeDivideAngle.hxx>
#include <ShapeUpgrade_UnifySameDomain.hxx>
#include <Standard_Failure.hxx>
#include <TopExp_Explorer.hxx>
#include <TopoDS.hxx>
#include <TopoDS_Compound.hxx>
#include <TopTools_ListOfShape.hxx>
#include <TopoDS_Wire.hxx>
#include <BRep_Builder.hxx>
#include <BRep_Tool.hxx>
#include <gp_Ax1.hxx>
#include <gp_Ax2.hxx>
#include <gp_Circ.hxx>
#include <gp_Pln.hxx>

#include <algorithm>
#include <cmath>
#include <numbers>
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
template <class TOperation> TopoDS_Shape Boolean(const TopoDS_Shape& a, const TopoDS_Shape& b, bool orientedBoxes = false)
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
  op.Build();
  if (!op.IsDone() || op.HasErrors()) return {};
  return op.Shape();
}

TopoDS_Shape Fused(const TopoDS_Shape& a, const TopoDS_Shape& b)
{
  if (a.IsNull()) return b;
  TopoDS_Shape s = Boolean<BRepAlgoAPI_Fuse>(a, b);
  if (s.IsNull()) throw std::runtime_error("the modeller failed to fuse");
  return s;
}

TopoDS_Shape Cut(const TopoDS_Shape& a, const TopoDS_Shape& b, bool orientedBoxes = false)
{
  TopoDS_Shape s = Boolean<BRepAlgoAPI_Cut>(a, b, orientedBoxes);
  if (s.IsNull()) throw std::runtime_error("the modeller failed to cut");
  return s;
}

TopoDS_Shape Common(const TopoDS_Shape& a, const TopoDS_Shape& b)
{
  TopoDS_Shape s = SharedPart(a, b);
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
TopoDS_Shape Loft(const TFrame& frame, const TLoop& loop, double w0, double g0, double w1, double g1)
{
  BRepOffsetAPI_ThruSections t(true, true);
  t.AddWire(GrownWire(PlaneAt(frame, w0), loop, g0));
  t.AddWire(GrownWire(PlaneAt(frame, w1), loop, g1));
  t.Build();
  if (!t.IsDone()) throw std::runtime_error("a tapered extrusion failed");
  return t.Shape();
}

TopoDS_Shape Extrusion(const TFeature& f)
{
  if (!(f.To > f.From)) throw std::runtime_error("an extrusion of no depth");
  const std::vector<TRegion> regions = Regions(f.Loops);
  TopoDS_Shape tool;
  if (std::abs(f.Grow) < 1e-12) {
    const TSketchPlane p = PlaneAt(f.Frame, f.From);
    const gp_Vec sweep(p.N.X() * (f.To - f.From), p.N.Y() * (f.To - f.From), p.N.Z() * (f.To - f.From));
    for (const TRegion& r : regions)
      tool = Fused(tool, BRepPrimAPI_MakePrism(RegionFace(p, f.Loops, r), sweep).Shape());
    return tool;
  }
  // Holes shrink as their region grows; a sweep across the plane tapers away from it on each side.
  const double k = f.Grow;
  std::vector<std::pair<double, double>> spans;
  if (f.From < 0 && f.To > 0) spans = {{f.From, 0}, {0, f.To}};
  else spans = {{f.From, f.To}};
  for (auto [w0, w1] : spans) {
    for (const TRegion& r : regions) {
      TopoDS_Shape piece = Loft(f.Frame, f.Loops[r.Outer], w0, k * std::abs(w0), w1, k * std::abs(w1));
      for (std::size_t h : r.Holes)
        piece = Cut(piece, Loft(f.Frame, f.Loops[h], w0, -k * std::abs(w0), w1, -k * std::abs(w1)));
      tool = Fused(tool, piece);
    }
  }
  return tool;
}

// The turned arcs of a rotation as tori instead of the modeller's general surfaces of revolution, whose
// every point costs a rotation to evaluate: the booleans of a crowned gear hub spent a quarter of their
// time there. The solid sewn anew from the same faces replaces the turned one only when it is one closed
// solid of the same volume.
TopoDS_Shape WithTori(const TopoDS_Shape& turned)
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
  sewing.Perform();
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

TopoDS_Shape Rotation(const TFeature& f)
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
    const TopoDS_Shape turned = whole ? BRepPrimAPI_MakeRevol(face, axis).Shape()
                                      : BRepPrimAPI_MakeRevol(face, axis, std::clamp(turn, -2 * std::numbers::pi, 2 * std::numbers::pi)).Shape();
    tool = Fused(tool, WithTori(turned));
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

TopoDS_Shape SectorCut(const TopoDS_Shape& body, const TopoDS_Shape& tool)
{
  if (FaceCount(tool) < SectorFaces) return Cut(body, tool);
  ShapeUpgrade_ShapeDivideAngle divide(2 * std::numbers::pi / Sectors, body);
  if (!divide.Perform() || divide.Result().IsNull()) return Cut(body, tool);
  // Oriented boxes about the sectors and the teeth's faces pair fewer of them than boxes along the axes.
  const TopoDS_Shape cut = Cut(divide.Result(), tool, true);
  try {
    ShapeUpgrade_UnifySameDomain unify(cut, true, true, false);
    unify.Build();
    const TopoDS_Shape merged = unify.Shape();
    const double v = Volume(TShape(cut)), w = Volume(TShape(merged));
    if (!merged.IsNull() && SolidCount(TShape(merged)) == SolidCount(TShape(cut)) && std::abs(v - w) <= 1e-9 * v)
      return merged;
  } catch (const Standard_Failure&) {
  }
  return cut;
}

// Volumes below this share of the larger solid are the modeller's rounding, not material.
constexpr double Touching = 1e-9;

// Whether the boxes of two shapes overlap with thickness along every axis: tools that only touch the body
// need no boolean at all.
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

std::string FailureText(const Standard_Failure& e)
{
  const char* m = e.GetMessageString();
  std::string s = m != nullptr && *m != 0 ? m : "";
  return std::string(e.DynamicType()->Name()) + (s.empty() ? "" : ": " + s);
}

TopoDS_Shape SharedPart(const TopoDS_Shape& a, const TopoDS_Shape& b) { return Boolean<BRepAlgoAPI_Common>(a, b); }

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

TPartResult BuildPart(const std::vector<TFeature>& features)
{
  TPartResult out;
  TopoDS_Shape body;
  double volume = 0;
  for (const TFeature& f : features) {
    TFeatureResult r;
    r.Kind = f.Kind;
    r.Cut = f.Cut;
    try {
      if (f.Loops.empty()) throw std::runtime_error("an empty profile");
      const TopoDS_Shape tool = f.Shape == TFeature::Extrusion ? Extrusion(f) : Rotation(f);
      r.Tool = Volume(TShape(tool));
      if (!(r.Tool > 0)) throw std::runtime_error("a tool of no volume");
      if (!f.Cut) {
        const TopoDS_Shape next = Fused(body, tool);
        const double v = Volume(TShape(next));
        r.Changed = std::max(0.0, v - volume);
        body = next;
        volume = v;
      } else if (!body.IsNull() && Overlap(body, tool)) {
        const TopoDS_Shape next = SectorCut(body, tool);
        const double v = Volume(TShape(next));
        double removed = volume - v;
        // A tool that only touches the body (along a face or a line) shares no volume, yet the modeller's
        // cut may take material away there: a cut that removed more than its tool holds is measured
        // against what the two share, and one that shares nothing changes nothing.
        if (removed > r.Tool * (1 + 1e-6) + 1e-9) {
          const double shared = Volume(TShape(Common(body, tool)));
          if (shared <= Touching * std::max(volume, r.Tool)) removed = 0;
          else
            throw std::runtime_error("the cut removed " + std::to_string(removed) + " where its tool shares " +
                                     std::to_string(shared));
        }
        if (removed > Touching * std::max(volume, r.Tool)) {
          r.Changed = removed;
          body = next;
          volume = v;
        }
      }
    } catch (const Standard_Failure& e) {
      r.Error = FailureText(e);
    } catch (const std::exception& e) {
      r.Error = e.what();
    }
    out.Features.push_back(r);
  }
  if (!body.IsNull()) {
    out.Shape = std::make_shared<TShape>(body);
    out.Volume = volume;
    out.Solids = SolidCount(*out.Shape);
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
