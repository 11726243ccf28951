// Components against each other: the volume every pair shares, and which fasteners stand in holes.
#include "txhost/solid/Shape.h"

#include <BRepAdaptor_Surface.hxx>
#include <BRepBndLib.hxx>
#include <BRepClass3d_SolidClassifier.hxx>
#include <Bnd_Box.hxx>
#include <GProp_GProps.hxx>
#include <Standard_Failure.hxx>
#include <TopExp_Explorer.hxx>
#include <TopoDS.hxx>
#include <gp_Cylinder.hxx>
#include <gp_Lin.hxx>

#include <algorithm>
#include <map>

namespace txhost::solid {

namespace {

// Parts with fewer faces are not meshed to be shown clear of others.
constexpr int MeshedFaces = 100;

struct TPlacedSolid
{
  TopoDS_Shape S;
  Bnd_Box Box;
  double V = 0;
  int Faces = 0;
  TMesh Mesh; // in world space; meshed on first need
  bool Meshed = false;
};

// The axes of the cylindrical faces of a shape, with their radii.
std::vector<std::pair<gp_Ax1, double>> CylinderAxes(const TopoDS_Shape& s)
{
  std::vector<std::pair<gp_Ax1, double>> axes;
  for (TopExp_Explorer e(s, TopAbs_FACE); e.More(); e.Next()) {
    BRepAdaptor_Surface surface(TopoDS::Face(e.Current()));
    if (surface.GetType() == GeomAbs_Cylinder) axes.emplace_back(surface.Cylinder().Axis(), surface.Cylinder().Radius());
  }
  return axes;
}

bool Coaxial(const gp_Ax1& a, const gp_Ax1& b)
{
  constexpr double Distance = 0.01, Angle = 1e-4; // mm, rad: what a placed pin and its drilled hole keep
  return a.IsParallel(b, Angle) && gp_Lin(a).Distance(b.Location()) < Distance;
}

} // namespace

std::array<double, 6> Bounds(const TPlaced& placed)
{
  Bnd_Box box;
  const TopoDS_Shape s = PlacedShape(placed);
  if (!s.IsNull()) BRepBndLib::Add(s, box);
  if (box.IsVoid()) return {0, 0, 0, 0, 0, 0};
  std::array<double, 6> b;
  box.Get(b[0], b[1], b[2], b[3], b[4], b[5]);
  return b;
}

bool Contains(const TPlaced& placed, const TVec3& point)
{
  if (!placed.Shape) return false;
  // The point taken into the part's own space, where the solid is.
  const gp_Pnt p = gp_Pnt(point[0], point[1], point[2]).Transformed(Transformation(placed.Matrix).Inverted());
  BRepClass3d_SolidClassifier c(placed.Shape->S, p, 1e-7);
  return c.State() == TopAbs_IN;
}

double ClashTolerance(double smaller) { return std::max(0.1, 1e-6 * smaller); }

TAssemblyResult CheckAssembly(const std::vector<TPlaced>& placed)
{
  std::vector<TPlacedSolid> solids(placed.size());
  for (std::size_t i = 0; i < placed.size(); ++i) {
    solids[i].S = PlacedShape(placed[i]);
    if (solids[i].S.IsNull()) continue;
    BRepBndLib::Add(solids[i].S, solids[i].Box);
    solids[i].V = Volume(TShape(solids[i].S));
    for (TopExp_Explorer e(solids[i].S, TopAbs_FACE); e.More(); e.Next())
      ++solids[i].Faces;
  }
  // Each part is meshed once in its own space, however many times it is placed.
  std::map<const TShape*, TMesh> meshes;
  auto mesh = [&](std::size_t i) -> const TMesh& {
    TPlacedSolid& s = solids[i];
    if (!s.Meshed) {
      auto at = meshes.find(placed[i].Shape.get());
      if (at == meshes.end()) at = meshes.emplace(placed[i].Shape.get(), MeshOf(placed[i].Shape->S)).first;
      s.Mesh = Moved(at->second, Transformation(placed[i].Matrix));
      s.Meshed = true;
    }
    return s.Mesh;
  };
  TAssemblyResult out;
  for (std::size_t i = 0; i < solids.size(); ++i) {
    for (std::size_t j = i + 1; j < solids.size(); ++j) {
      if (solids[i].S.IsNull() || solids[j].S.IsNull() || solids[i].Box.IsOut(solids[j].Box)) continue;
      // Only two parts of many faces each are worth meshing: a boolean of smaller ones costs less.
      try {
        const bool large = std::min(solids[i].Faces, solids[j].Faces) >= MeshedFaces;
        if (large && Clear(mesh(i), solids[i].S, mesh(j), solids[j].S)) continue;
      } catch (const Standard_Failure&) {
        // the boolean decides
      }
      // A pair the modeller cannot intersect is a fault of its own: it may clash.
      try {
        const TopoDS_Shape common = SharedPart(solids[i].S, solids[j].S);
        if (common.IsNull()) {
          out.Unchecked.push_back({i, j, "the modeller failed to intersect them"});
          continue;
        }
        const double shared = Volume(TShape(common));
        if (shared > ClashTolerance(std::min(solids[i].V, solids[j].V))) out.Clashes.push_back({i, j, shared});
      } catch (const Standard_Failure& e) {
        out.Unchecked.push_back({i, j, "the modeller failed: " + FailureText(e)});
      }
    }
  }
  // A fastener is seated in a component that has a hole coaxial with one of its own cylinders and that its
  // box meets.
  for (std::size_t f = 0; f < placed.size(); ++f) {
    if (!placed[f].Fastener || solids[f].S.IsNull()) continue;
    const auto own = CylinderAxes(solids[f].S);
    bool seated = false;
    for (std::size_t p = 0; p < placed.size(); ++p) {
      if (p == f || placed[p].Fastener || solids[p].S.IsNull() || solids[f].Box.IsOut(solids[p].Box)) continue;
      const auto holes = CylinderAxes(solids[p].S);
      const bool meets = std::any_of(own.begin(), own.end(), [&](const auto& a) {
        return std::any_of(holes.begin(), holes.end(), [&](const auto& h) { return Coaxial(a.first, h.first); });
      });
      if (meets) {
        out.Seats.push_back({f, p});
        seated = true;
      }
    }
    if (!seated) out.Unseated.push_back(f);
  }
  return out;
}

} // namespace txhost::solid
