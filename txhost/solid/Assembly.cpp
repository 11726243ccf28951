// Components against each other: the volume every pair shares, and which fasteners stand in holes.
#include "txhost/solid/Shape.h"

#include <BOPAlgo_Builder.hxx>
#include <BRepAdaptor_Surface.hxx>
#include <BRepBndLib.hxx>
#include <BRepClass3d_SolidClassifier.hxx>
#include <BRepGProp_Face.hxx>
#include <BRepTools.hxx>
#include <Bnd_Box.hxx>
#include <GProp_GProps.hxx>
#include <Standard_Failure.hxx>
#include <TopExp_Explorer.hxx>
#include <TopTools_ListOfShape.hxx>
#include <TopoDS.hxx>
#include <gp_Cone.hxx>
#include <gp_Cylinder.hxx>
#include <gp_Lin.hxx>
#include <gp_Quaternion.hxx>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <functional>
#include <map>
#include <numbers>
#include <numeric>
#include <optional>
#include <ostream>
#include <tuple>

namespace txhost::solid {

namespace {

// How far a shank must reach into a hole along its axis to stand in it (mm): faces that only meet end to end
// do not.
constexpr double SeatOverlap = 0.01;
// Parts with fewer faces are not meshed to be shown clear of others.
constexpr int MeshedFaces = 100;
// A large part is split with the small ones close to it together from this many on, and up to so many: a
// split of hundreds of copies of one piece stacked over each other ran for minutes where each pair's own
// boolean is cheap.
constexpr std::size_t GroupedSmall = 3, MostGrouped = 64;
// How far apart two placements of one part may put any point of it and still be one place: what the
// modeller tells apart (its confusion distance, mm).
constexpr double OnePlace = 1e-7;

// Whether box a is so much smaller than box b that b is worth splitting with several like it at once.
bool Smaller(const Bnd_Box& a, const Bnd_Box& b)
{
  auto volume = [](const Bnd_Box& x) {
    double x0, y0, z0, x1, y1, z1;
    x.Get(x0, y0, z0, x1, y1, z1);
    return (x1 - x0) * (y1 - y0) * (z1 - z0);
  };
  return volume(a) * 8 < volume(b);
}

// The volume each pair of the shapes shares (by their indices, the smaller first; pairs that share
// nothing left out), from one split of all of them together: a piece of the split that belongs to two
// shapes is what they share. False when the modeller fails.
bool SharedAmong(const std::vector<TopoDS_Shape>& shapes,
                 std::map<std::pair<std::size_t, std::size_t>, double>& out, const TDeadline& deadline)
{
  try {
    BOPAlgo_Builder split;
    for (const TopoDS_Shape& s : shapes)
      split.AddArgument(s);
    split.SetRunParallel(false);
    split.SetCheckInverted(false);
    split.SetToFillHistory(false);
    split.Perform(deadline.Range());
    if (split.HasErrors()) return false;
    std::map<const TopoDS_TShape*, std::pair<TopoDS_Shape, std::vector<std::size_t>>> owners;
    for (std::size_t i = 0; i < shapes.size(); ++i)
      for (TopExp_Explorer e(shapes[i], TopAbs_SOLID); e.More(); e.Next()) {
        const TopoDS_Shape& solid = e.Current();
        const TopTools_ListOfShape* images = split.Images().Seek(solid);
        TopTools_ListOfShape single;
        single.Append(solid);
        for (const TopoDS_Shape& piece : images != nullptr ? *images : single) {
          auto& [shape, who] = owners[piece.TShape().get()];
          shape = piece;
          if (who.empty() || who.back() != i) who.push_back(i);
        }
      }
    for (const auto& [key, owned] : owners) {
      const auto& [piece, who] = owned;
      if (who.size() < 2) continue;
      const double v = Volume(TShape(piece));
      for (std::size_t a = 0; a < who.size(); ++a)
        for (std::size_t b = a + 1; b < who.size(); ++b)
          out[{who[a], who[b]}] += v;
    }
    return true;
  } catch (const Standard_Failure&) {
    return false;
  }
}

struct TPlacedSolid
{
  TopoDS_Shape S;
  Bnd_Box Box;
  double V = 0;
  int Faces = 0;
  TMesh Mesh; // in world space; meshed on first need
  bool Meshed = false;
};

// A round face of a solid (a cylinder or a cone) in world space: its axis, whether the solid lies outside it
// (a hole) or inside it (a shank), and its ends along the axis.
struct TRoundFace
{
  gp_Ax1 Axis;
  bool Hole = false;
  gp_Pnt End0, End1;
};

std::vector<TRoundFace> RoundFaces(const TopoDS_Shape& s)
{
  std::vector<TRoundFace> faces;
  for (TopExp_Explorer e(s, TopAbs_FACE); e.More(); e.Next()) {
    const TopoDS_Face& face = TopoDS::Face(e.Current());
    BRepAdaptor_Surface surface(face);
    TRoundFace f;
    if (surface.GetType() == GeomAbs_Cylinder)
      f.Axis = surface.Cylinder().Axis();
    else if (surface.GetType() == GeomAbs_Cone)
      f.Axis = surface.Cone().Axis();
    else
      continue;
    double u0, u1, v0, v1;
    BRepTools::UVBounds(face, u0, u1, v0, v1);
    const double u = (u0 + u1) / 2;
    // The face's outward normal points to the axis where the material lies around it.
    gp_Pnt at;
    gp_Vec normal;
    BRepGProp_Face(face).Normal(u, (v0 + v1) / 2, at, normal);
    const gp_Vec along(f.Axis.Direction());
    gp_Vec out(f.Axis.Location(), at);
    out -= along * out.Dot(along);
    f.Hole = normal.Dot(out) < 0;
    f.End0 = surface.Value(u, v0);
    f.End1 = surface.Value(u, v1);
    faces.push_back(f);
  }
  return faces;
}

bool Coaxial(const gp_Ax1& a, const gp_Ax1& b)
{
  constexpr double Distance = 0.01, Angle = 1e-4; // mm, rad: what a placed pin and its drilled hole keep
  return a.IsParallel(b, Angle) && gp_Lin(a).Distance(b.Location()) < Distance;
}

// How far two coaxial round faces overlap along their axis (negative: the gap between them).
double AxialOverlap(const TRoundFace& a, const TRoundFace& b)
{
  const gp_Vec along(b.Axis.Direction());
  auto at = [&](const gp_Pnt& p) { return gp_Vec(b.Axis.Location(), p).Dot(along); };
  const auto [a0, a1] = std::minmax({at(a.End0), at(a.End1)});
  const auto [b0, b1] = std::minmax({at(b.End0), at(b.End1)});
  return std::min(a1, b1) - std::max(a0, b0);
}

// The small components about a large one in clusters that touch or overlap among themselves, and for each
// cluster the cluster it is a turned copy of (itself when none before it), with the components the copy's
// take the places of, in the original's order.
struct TClusters
{
  std::vector<std::vector<std::size_t>> Parts;
  std::vector<std::pair<std::size_t, std::vector<std::size_t>>> CopyOf;
};

// The axis a placed part turns onto itself about, in world space.
gp_Ax1 WorldAxis(const TPlaced& p)
{
  const gp_Trsf toWorld = Transformation(p.Matrix);
  const TSymmetry& s = p.Symmetry;
  return gp_Ax1(gp_Pnt(s.Point[0], s.Point[1], s.Point[2]).Transformed(toWorld),
                gp_Dir(gp_Vec(s.Dir[0], s.Dir[1], s.Dir[2]).Transformed(toWorld)));
}

// What two parts that turn onto themselves about one axis share, from one sector of each: every sector of
// what they share holds the same. None when they have no turns in common, or the modeller fails.
std::optional<double> SharedBySectors(const TPlaced& a, const TopoDS_Shape& sa, const Bnd_Box& ba,
                                      const TPlaced& b, const TopoDS_Shape& sb, const Bnd_Box& bb,
                                      const TDeadline& deadline)
{
  const int ka = a.Symmetry.Order, kb = b.Symmetry.Order;
  if (ka == 1 || kb == 1) return std::nullopt;
  const gp_Ax1 axis = WorldAxis(a), other = WorldAxis(b);
  Bnd_Box box = ba;
  box.Add(bb);
  const double scale = 1 + std::sqrt(box.SquareExtent());
  if (!axis.IsParallel(other, 1e-9) || gp_Lin(axis).Distance(other.Location()) > 1e-9 * scale) return std::nullopt;
  const int common = ka == 0 ? (kb == 0 ? 12 : kb) : kb == 0 ? ka : std::gcd(ka, kb);
  const int sectors = SectorsOf(common);
  if (sectors == 0) return std::nullopt;
  const gp_Dir& d = axis.Direction();
  const gp_Dir u = std::abs(d.X()) < 0.9 ? d.Crossed(gp_Dir(1, 0, 0)) : d.Crossed(gp_Dir(0, 1, 0));
  // The seam a little off any round angle, where the parts' own edges are likeliest.
  const double from = 0.37 * 2 * std::numbers::pi / sectors;
  const TopoDS_Shape wedge = Wedge(axis, u, from, from + 2 * std::numbers::pi / sectors, box);
  const TopoDS_Shape pa = SharedPart(sa, wedge, deadline.Range());
  const TopoDS_Shape pb = pa.IsNull() ? TopoDS_Shape() : SharedPart(sb, wedge, deadline.Range());
  const TopoDS_Shape shared = pb.IsNull() ? TopoDS_Shape() : SharedPart(pa, pb, deadline.Range());
  if (shared.IsNull()) return std::nullopt;
  return sectors * Volume(TShape(shared));
}

// The component's matrix turned about the axis by the angle.
std::array<double, 12> TurnedMatrix(const std::array<double, 12>& m, const gp_Ax1& axis, double angle)
{
  gp_Trsf t;
  t.SetRotation(axis, angle);
  std::array<double, 12> out;
  for (int row = 0; row < 3; ++row) {
    const gp_XYZ v = gp_Vec(m[3 * row], m[3 * row + 1], m[3 * row + 2]).Transformed(t).XYZ();
    out[3 * row] = v.X(), out[3 * row + 1] = v.Y(), out[3 * row + 2] = v.Z();
  }
  const gp_Pnt o = gp_Pnt(m[9], m[10], m[11]).Transformed(t);
  out[9] = o.X(), out[10] = o.Y(), out[11] = o.Z();
  return out;
}

// Whether a part placed by a stands where it does placed by b: the same place, or one that differs by a
// turn of the part onto itself.
bool SamePlace(const std::array<double, 12>& a, const std::array<double, 12>& b, const TSymmetry& own, double scale)
{
  const gp_Trsf q = Transformation(a).Inverted().Multiplied(Transformation(b)); // b in a's part space
  const gp_Pnt p(own.Point[0], own.Point[1], own.Point[2]);
  const gp_Dir d(own.Dir[0], own.Dir[1], own.Dir[2]);
  if (q.IsNegative()) return false;
  const double tolerance = 1e-9 * scale;
  if (own.Order == 1) return q.TranslationPart().Modulus() <= tolerance && q.GetRotation().GetRotationAngle() <= 1e-9;
  // A turn about the part's own axis keeps a point of the axis and a point one unit along it where they are.
  if (p.Transformed(q).Distance(p) > tolerance || p.Translated(gp_Vec(d)).Transformed(q).Distance(p.Translated(gp_Vec(d))) > 1e-9)
    return false;
  if (own.Order == 0) return true;
  const gp_Dir u = std::abs(d.X()) < 0.9 ? d.Crossed(gp_Dir(1, 0, 0)) : d.Crossed(gp_Dir(0, 1, 0));
  const double angle = gp_Vec(u).AngleWithRef(gp_Vec(u).Transformed(q), gp_Vec(d));
  const double step = 2 * std::numbers::pi / own.Order;
  return std::abs(angle - step * std::round(angle / step)) <= 1e-9;
}

TClusters Clusters(const std::vector<TPlaced>& placed, std::size_t large, const std::vector<std::size_t>& small,
                   const std::vector<std::pair<std::size_t, std::size_t>>& close)
{
  TClusters out;
  // Clusters: joined by the pairs close among the small ones.
  std::map<std::size_t, std::size_t> cluster; // component -> cluster
  for (std::size_t k : small)
    cluster[k] = out.Parts.size(), out.Parts.push_back({k});
  for (const auto& [i, j] : close) {
    const auto a = cluster.find(i), b = cluster.find(j);
    if (a == cluster.end() || b == cluster.end() || a->second == b->second) continue;
    const std::size_t keep = std::min(a->second, b->second), gone = std::max(a->second, b->second);
    for (std::size_t k : out.Parts[gone])
      cluster[k] = keep;
    out.Parts[keep].insert(out.Parts[keep].end(), out.Parts[gone].begin(), out.Parts[gone].end());
    out.Parts[gone].clear();
  }
  std::erase_if(out.Parts, [](const auto& c) { return c.empty(); });
  for (std::size_t c = 0; c < out.Parts.size(); ++c)
    out.CopyOf.push_back({c, out.Parts[c]});
  const TSymmetry& s = placed[large].Symmetry;
  if (s.Order == 1) return out;
  const gp_Ax1 axis = WorldAxis(placed[large]);
  double scale = 1;
  for (std::size_t k : small)
    for (int c = 9; c < 12; ++c)
      scale = std::max(scale, std::abs(placed[k].Matrix[c]));
  // The turn that takes component a where component b stands, when one of the part's turns can.
  auto turnBetween = [&](std::size_t a, std::size_t b) -> std::optional<double> {
    if (placed[a].Shape != placed[b].Shape) return std::nullopt;
    const gp_Pnt pa(placed[a].Matrix[9], placed[a].Matrix[10], placed[a].Matrix[11]);
    const gp_Pnt pb(placed[b].Matrix[9], placed[b].Matrix[10], placed[b].Matrix[11]);
    const gp_Vec d(axis.Direction());
    gp_Vec ra(axis.Location(), pa), rb(axis.Location(), pb);
    ra -= d * ra.Dot(d), rb -= d * rb.Dot(d);
    if (ra.Magnitude() < 1e-6 * scale || rb.Magnitude() < 1e-6 * scale) return std::nullopt;
    double angle = ra.AngleWithRef(rb, d);
    if (s.Order > 1) {
      const double step = 2 * std::numbers::pi / s.Order;
      const double steps = std::round(angle / step);
      if (std::abs(angle - steps * step) > 1e-6) return std::nullopt;
      angle = steps * step; // the part's own turn, not the placements' rounding
    }
    return angle;
  };
  for (std::size_t c = 0; c < out.Parts.size(); ++c) {
    const std::vector<std::size_t>& copy = out.Parts[c];
    for (std::size_t o = 0; o < c && out.CopyOf[c].first == c; ++o) {
      const std::vector<std::size_t>& original = out.Parts[o];
      if (out.CopyOf[o].first != o || original.size() != copy.size()) continue;
      for (std::size_t b : copy) {
        const std::optional<double> angle = turnBetween(original.front(), b);
        if (!angle) continue;
        // Each of the original's components turned stands where one of the copy's does.
        std::vector<std::size_t> image;
        for (std::size_t a : original) {
          const auto turned = TurnedMatrix(placed[a].Matrix, axis, *angle);
          const auto at = std::find_if(copy.begin(), copy.end(), [&](std::size_t k) {
            return placed[k].Shape == placed[a].Shape && SamePlace(turned, placed[k].Matrix, placed[k].Symmetry, scale) &&
                   std::find(image.begin(), image.end(), k) == image.end();
          });
          if (at == copy.end()) break;
          image.push_back(*at);
        }
        if (image.size() == original.size()) {
          out.CopyOf[c] = {o, image};
          break;
        }
      }
    }
  }
  return out;
}

// A component as the memo knows it: the part itself, its matrix bit for bit and its turns onto itself.
struct TMemoPlace
{
  const TShape* Part = nullptr;
  std::array<std::uint64_t, 19> Bits{};
  auto operator<=>(const TMemoPlace&) const = default;
};

// What the modeller said of a pair: what they share, that it failed (and how), or that the time ran out.
struct TMemoShare
{
  double Volume = 0;
  std::string Error; // failed when not empty
  bool Late = false;
};

// Whether the boxes of two solids overlap deeply: along every axis by a good share of the smaller one's
// span. Parts that touch at a face, or meet only at their ends, overlap thinly; a bolt in its hole, a hub in
// its sleeve and two copies of a part turned a little against each other deeply.
constexpr double DeepShare = 0.1;
bool DeepOverlap(const Bnd_Box& a, const Bnd_Box& b)
{
  if (a.IsVoid() || b.IsVoid()) return false;
  double a0[3], a1[3], b0[3], b1[3];
  a.Get(a0[0], a0[1], a0[2], a1[0], a1[1], a1[2]);
  b.Get(b0[0], b0[1], b0[2], b1[0], b1[1], b1[2]);
  for (int k = 0; k < 3; ++k)
    if (!(std::min(a1[k], b1[k]) - std::max(a0[k], b0[k]) >
          DeepShare * std::min(a1[k] - a0[k], b1[k] - b0[k])))
      return false;
  return true;
}

// What two solids share as points tell it, where the modeller's boolean found nothing though their boxes
// overlap deeply: it answers empty, without an error, for some pairs of near copies of a part turned a little
// against each other. Points spread evenly over where the boxes meet (a Halton sequence: the same points
// every time) are classified against both solids' meshes, and those inside both again, up to a number of
// them, against the solids themselves: the meshes are fast, the solids exact.
struct TSampled
{
  std::size_t Inside = 0, Points = 0;
  double Volume = 0; // the share of the points inside both, of the box they were spread over
  bool Late = false;
};
constexpr std::size_t SamplePoints = 4096, ExactlyClassified = 64;
constexpr double SampleMesh = 2e-3; // how far a mesh to sample by strays, as a share of its part's diagonal
// Fewer points inside both than this say that the two may share something, not how much.
constexpr std::size_t SampledClash = 8;

double RadicalInverse(std::size_t n, std::size_t base)
{
  double v = 0, f = 1.0 / double(base);
  for (; n > 0; n /= base, f /= double(base))
    v += double(n % base) * f;
  return v;
}

// One of the two solids to sample: where it stands, its mesh's test in its own space (unusable when it has
// none), and the solid where it stands.
struct TSampledSolid
{
  const TopoDS_Shape& Placed;
  const TMeshInside& Mesh;
  gp_Trsf ToOwn;
  Bnd_Box Box;
};

TSampled SampledShare(const TSampledSolid& a, const TSampledSolid& b, const TDeadline& deadline)
{
  double a0[3], a1[3], b0[3], b1[3], lo[3], span[3];
  a.Box.Get(a0[0], a0[1], a0[2], a1[0], a1[1], a1[2]);
  b.Box.Get(b0[0], b0[1], b0[2], b1[0], b1[1], b1[2]);
  double box = 1;
  for (int k = 0; k < 3; ++k) {
    lo[k] = std::max(a0[k], b0[k]);
    span[k] = std::min(a1[k], b1[k]) - lo[k];
    box *= span[k];
  }
  // A solid without a usable mesh is classified exactly throughout: one classifier for all its points.
  std::optional<BRepClass3d_SolidClassifier> exactA, exactB;
  const auto inside = [](const TSampledSolid& s, std::optional<BRepClass3d_SolidClassifier>& exact,
                         const gp_Pnt& p) {
    if (s.Mesh.Usable()) return s.Mesh.Inside(p.Transformed(s.ToOwn));
    if (!exact) exact.emplace(s.Placed);
    exact->Perform(p, 1e-7);
    return exact->State() == TopAbs_IN;
  };
  TSampled out;
  std::vector<gp_Pnt> both;
  for (std::size_t n = 1; n <= SamplePoints; ++n) {
    if (n % 256 == 0 && deadline.Passed()) return {0, 0, 0, true};
    const gp_Pnt p(lo[0] + span[0] * RadicalInverse(n, 2), lo[1] + span[1] * RadicalInverse(n, 3),
                   lo[2] + span[2] * RadicalInverse(n, 5));
    ++out.Points;
    if (inside(a, exactA, p) && inside(b, exactB, p)) both.push_back(p);
  }
  // The meshes stray from the surfaces where parts touch: of the points inside both meshes, as many as the
  // solids confirm count, from an even choice of them.
  std::size_t tried = 0, confirmed = 0;
  if (!both.empty()) {
    BRepClass3d_SolidClassifier inA(a.Placed), inB(b.Placed);
    const std::size_t step = (both.size() + ExactlyClassified - 1) / ExactlyClassified;
    for (std::size_t k = 0; k < both.size(); k += step) {
      if (deadline.Passed()) return {0, 0, 0, true};
      ++tried;
      inA.Perform(both[k], 1e-7);
      if (inA.State() != TopAbs_IN) continue;
      inB.Perform(both[k], 1e-7);
      if (inB.State() == TopAbs_IN) ++confirmed;
    }
  }
  out.Inside =
      tried == 0 ? 0 : std::size_t(std::llround(double(both.size()) * double(confirmed) / double(tried)));
  out.Volume = box * double(out.Inside) / double(out.Points);
  return out;
}

} // namespace

struct TCheckMemo::TState
{
  std::map<const TShape*, TShapePtr> Held; // what the keys point at, kept alive so no other part reuses it
  std::map<const TShape*, TMesh> Meshes;   // each part's, in its own space
  std::map<std::pair<TMemoPlace, TMemoPlace>, bool> Clear;
  std::map<std::pair<TMemoPlace, TMemoPlace>, TMemoShare> Shared;
  std::map<std::pair<TMemoPlace, TMemoPlace>, TSampled> Sampled; // where the boolean found nothing
  // A large part's split with the small ones about it (the large one first): what each pair shares, or
  // nothing when the modeller failed.
  std::map<std::vector<TMemoPlace>, std::optional<std::map<std::pair<std::size_t, std::size_t>, double>>>
      Split;
  std::size_t Reused = 0;

  TMemoPlace Of(const TPlaced& p)
  {
    TMemoPlace k;
    k.Part = p.Shape.get();
    if (p.Shape) Held.emplace(k.Part, p.Shape);
    const TSymmetry& s = p.Symmetry;
    const double values[18] = {p.Matrix[0], p.Matrix[1], p.Matrix[2], p.Matrix[3], p.Matrix[4],  p.Matrix[5],
                               p.Matrix[6], p.Matrix[7], p.Matrix[8], p.Matrix[9], p.Matrix[10], p.Matrix[11],
                               s.Point[0],  s.Point[1],  s.Point[2],  s.Dir[0],    s.Dir[1],     s.Dir[2]};
    std::memcpy(k.Bits.data(), values, sizeof values);
    k.Bits[18] = std::uint64_t(std::int64_t(s.Order));
    return k;
  }
};

namespace {

// The result kept for the key, or the one worked out now; kept unless the time ran out meanwhile (a result
// cut short is no answer of the modeller's). Without a memo, always worked out.
template <class TMap, class TWork>
typename TMap::mapped_type Recall(TCheckMemo::TState* memo, TMap TCheckMemo::TState::*kept,
                                  const std::function<typename TMap::key_type()>& key, TWork work,
                                  const TDeadline& deadline)
{
  if (memo == nullptr) return work();
  TMap& map = memo->*kept;
  const typename TMap::key_type k = key();
  if (const auto at = map.find(k); at != map.end()) {
    ++memo->Reused;
    return at->second;
  }
  typename TMap::mapped_type value = work();
  if (!deadline.Passed()) map.emplace(k, value);
  return value;
}

} // namespace

TCheckMemo::TCheckMemo() : S(std::make_unique<TState>()) {}
TCheckMemo::~TCheckMemo() = default;

std::size_t TCheckMemo::Kept() const
{
  return S->Clear.size() + S->Shared.size() + S->Split.size() + S->Sampled.size();
}
std::size_t TCheckMemo::Reused() const
{
  return S->Reused;
}

namespace {

// The check of components that each stand at a place of their own (see CheckAssembly).
// Copies gives how many components stand at each place, for the pairs left over.
TAssemblyResult CheckPlaces(const std::vector<TPlaced>& placed, const std::vector<std::size_t>& copies,
                            const TCheckOptions& options, TProgress& progress);

} // namespace

std::array<double, 6> Bounds(const TPlaced& placed, bool tight)
{
  // The quick box takes a revolved arc's control points and reports a toroidal surface up to 8 % wider than
  // it is.
  Bnd_Box box;
  const TopoDS_Shape s = PlacedShape(placed);
  if (!s.IsNull()) {
    if (tight)
      BRepBndLib::AddOptimal(s, box, false, false);
    else
      BRepBndLib::Add(s, box);
  }
  if (box.IsVoid()) return {0, 0, 0, 0, 0, 0};
  std::array<double, 6> b;
  box.Get(b[0], b[1], b[2], b[3], b[4], b[5]);
  return b;
}

bool Contains(const TPlaced& placed, const TVec3& point)
{
  return TContains(placed)(point);
}

std::vector<bool> Contains(const TPlaced& placed, const std::vector<TVec3>& points)
{
  return TContains(placed)(points);
}

struct TContains::TState
{
  gp_Trsf Back; // world to the part's own space, where the solid is
  std::optional<BRepClass3d_SolidClassifier> Classifier;
};

TContains::TContains(const TPlaced& placed) : S(std::make_unique<TState>())
{
  if (!placed.Shape) return;
  S->Back = Transformation(placed.Matrix).Inverted();
  S->Classifier.emplace(placed.Shape->S);
}

TContains::~TContains() = default;

bool TContains::operator()(const TVec3& point)
{
  if (!S->Classifier) return false;
  S->Classifier->Perform(gp_Pnt(point[0], point[1], point[2]).Transformed(S->Back), 1e-7);
  return S->Classifier->State() == TopAbs_IN;
}

std::vector<bool> TContains::operator()(const std::vector<TVec3>& points)
{
  std::vector<bool> in(points.size(), false);
  for (std::size_t k = 0; k < points.size(); ++k)
    in[k] = (*this)(points[k]);
  return in;
}

TProgress::TProgress(std::ostream* out) : Out(out), Start(std::chrono::steady_clock::now()), Last(Start) {}

bool TProgress::Due()
{
  if (Out == nullptr) return false;
  const auto now = std::chrono::steady_clock::now();
  if (now - Last < std::chrono::seconds(3)) return false;
  Last = now;
  return true;
}

void TProgress::Say()
{
  *Out << "solids: " << What << " " << Done << " of " << Total << ", "
       << std::chrono::duration_cast<std::chrono::seconds>(Last - Start).count() << " s" << std::endl;
}

void TProgress::Step(const std::string& what, std::size_t done, std::size_t total)
{
  if (Out == nullptr) return;
  What = what, Done = done, Total = total;
  if (Due()) Say();
}

void TProgress::Tick()
{
  if (!What.empty() && Due()) Say();
}

double ClashTolerance(double smaller)
{
  return std::max(0.1, 1e-6 * smaller);
}

std::size_t TAssemblyResult::ClashingPairs() const
{
  std::size_t n = 0;
  for (const TClash& c : Clashes)
    n += c.Copies;
  for (const TCoincident& c : Coincident)
    n += c.Members.size() * (c.Members.size() - 1) / 2;
  return n;
}

TAssemblyResult CheckAssembly(const std::vector<TPlaced>& placed, const TCheckOptions& options)
{
  // The places: components of one part at one matrix, all fasteners or none (nested assemblies placed over
  // each other give thousands), are one place, checked once. A component without a solid is a place of its
  // own.
  std::map<std::tuple<const TShape*, int, std::array<double, 12>>, std::size_t> placeOf;
  std::vector<std::vector<std::size_t>> places;
  std::vector<TPlaced> first;
  for (std::size_t i = 0; i < placed.size(); ++i) {
    std::array<double, 12> m = placed[i].Matrix;
    for (double& v : m)
      v += 0.0; // -0 and 0 are one place
    const auto [at, added] = placeOf.try_emplace(
        {placed[i].Shape.get(), int(placed[i].Fastener) + 2 * int(placed[i].Piece), m}, places.size());
    if (added || !placed[i].Shape) {
      places.push_back({i});
      first.push_back(placed[i]);
    } else {
      places[at->second].push_back(i);
    }
  }
  // Places of one part that differ by less than the modeller tells apart (a matrix written out and read
  // back, placements 1e-9 mm apart) are one place too.
  std::map<std::tuple<const TShape*, int>, std::vector<std::size_t>> ofPart; // places by part
  for (std::size_t p = 0; p < places.size(); ++p)
    if (first[p].Shape)
      ofPart[{first[p].Shape.get(), int(first[p].Fastener) + 2 * int(first[p].Piece)}].push_back(p);
  std::vector<bool> gone(places.size(), false);
  for (const auto& [part, at] : ofPart) {
    if (at.size() < 2) continue;
    // How far the part reaches from its own origin: a turn of the matrix moves its points by that much.
    Bnd_Box box;
    BRepBndLib::Add(first[at.front()].Shape->S, box);
    double reach = 0;
    if (!box.IsVoid()) {
      double b[6];
      box.Get(b[0], b[1], b[2], b[3], b[4], b[5]);
      for (int k = 0; k < 3; ++k)
        reach = std::max({reach, std::abs(b[k]), std::abs(b[k + 3])});
      reach *= std::sqrt(3.0);
    }
    for (std::size_t a = 0; a < at.size(); ++a) {
      if (gone[at[a]]) continue;
      const std::array<double, 12>& m = first[at[a]].Matrix;
      for (std::size_t b = a + 1; b < at.size(); ++b) {
        if (gone[at[b]]) continue;
        const std::array<double, 12>& n = first[at[b]].Matrix;
        double turn = 0, shift = 0;
        for (int k = 0; k < 9; ++k)
          turn += (m[k] - n[k]) * (m[k] - n[k]);
        for (int k = 9; k < 12; ++k)
          shift += (m[k] - n[k]) * (m[k] - n[k]);
        if (std::sqrt(shift) + std::sqrt(turn) * reach > OnePlace) continue;
        places[at[a]].insert(places[at[a]].end(), places[at[b]].begin(), places[at[b]].end());
        gone[at[b]] = true;
      }
    }
  }
  if (std::find(gone.begin(), gone.end(), true) != gone.end()) {
    std::vector<std::vector<std::size_t>> kept;
    std::vector<TPlaced> keptFirst;
    for (std::size_t p = 0; p < places.size(); ++p)
      if (!gone[p]) {
        std::sort(places[p].begin(), places[p].end());
        kept.push_back(std::move(places[p]));
        keptFirst.push_back(placed[kept.back().front()]);
      }
    places.swap(kept);
    first.swap(keptFirst);
  }
  TProgress progress(options.Progress);
  std::vector<std::size_t> copies(places.size());
  for (std::size_t p = 0; p < places.size(); ++p)
    copies[p] = places[p].size();
  TAssemblyResult each = CheckPlaces(first, copies, options, progress);
  if (places.size() == placed.size()) return each;
  // Back from places to components: what a place shares with another, each of its copies does with each
  // of the other's.
  TAssemblyResult out;
  auto at = [&](std::size_t place) { return places[place].front(); };
  for (const TClash& c : each.Clashes)
    out.Clashes.push_back({at(c.A), at(c.B), c.Volume, copies[c.A] * copies[c.B], c.Inside, c.Sampled});
  for (const TUnchecked& u : each.Unchecked)
    out.Unchecked.push_back({at(u.A), at(u.B), u.Error});
  out.LeftOver = each.LeftOver;
  out.FirstLeftOver = {at(each.FirstLeftOver.A), at(each.FirstLeftOver.B), {}};
  out.Bound = each.Bound;
  out.TimedOut = each.TimedOut;
  out.Seconds = each.Seconds;
  out.Worked = each.Worked;
  for (std::size_t p = 0; p < places.size(); ++p) {
    if (places[p].size() < 2 || !first[p].Shape) continue;
    const double v = first[p].Volume >= 0 ? first[p].Volume : Volume(*first[p].Shape);
    if (v > ClashTolerance(v)) out.Coincident.push_back({places[p], v});
  }
  // Each copy of a fastener stands where its first does.
  std::vector<std::vector<std::size_t>> seats(places.size());
  for (const TSeat& s : each.Seats)
    seats[s.Fastener].push_back(at(s.Part));
  for (std::size_t p = 0; p < places.size(); ++p)
    for (std::size_t f : places[p])
      for (std::size_t part : seats[p])
        out.Seats.push_back({f, part});
  std::sort(out.Seats.begin(), out.Seats.end(), [](const TSeat& a, const TSeat& b) {
    return std::tie(a.Fastener, a.Part) < std::tie(b.Fastener, b.Part);
  });
  for (std::size_t f : each.Unseated)
    out.Unseated.insert(out.Unseated.end(), places[f].begin(), places[f].end());
  std::sort(out.Unseated.begin(), out.Unseated.end());
  return out;
}

namespace {

TAssemblyResult CheckPlaces(const std::vector<TPlaced>& placed, const std::vector<std::size_t>& copies,
                            const TCheckOptions& options, TProgress& progress)
{
  std::vector<TPlacedSolid> solids(placed.size());
  std::map<const TShape*, std::pair<double, int>> measured; // a part's volume and faces, wherever it stands
  for (std::size_t i = 0; i < placed.size(); ++i) {
    solids[i].S = PlacedShape(placed[i]);
    if (solids[i].S.IsNull()) continue;
    BRepBndLib::Add(solids[i].S, solids[i].Box);
    auto [at, added] = measured.try_emplace(placed[i].Shape.get());
    if (added) {
      at->second.first = placed[i].Volume >= 0 ? placed[i].Volume : Volume(*placed[i].Shape);
      for (TopExp_Explorer e(placed[i].Shape->S, TopAbs_FACE); e.More(); e.Next())
        ++at->second.second;
    }
    std::tie(solids[i].V, solids[i].Faces) = at->second;
  }
  // Each part is meshed once in its own space, however many times it is placed.
  TCheckMemo::TState* const memo = options.Memo != nullptr ? options.Memo->S.get() : nullptr;
  std::map<const TShape*, TMesh> own;
  std::map<const TShape*, TMesh>& meshes = memo != nullptr ? memo->Meshes : own;
  const TDeadline deadline(options, options.Progress != nullptr ? &progress : nullptr);
  // A mesh the time cut short is no mesh of the part: it is not kept.
  std::map<const TShape*, TMesh> cutShort;
  auto ownMesh = [&](std::size_t i) -> const TMesh& {
    auto at = meshes.find(placed[i].Shape.get());
    if (at != meshes.end()) return at->second;
    TMesh m = MeshOf(placed[i].Shape->S, 8e-5, deadline.Range());
    if (deadline.Passed()) return cutShort[placed[i].Shape.get()] = std::move(m);
    if (memo != nullptr) memo->Held.emplace(placed[i].Shape.get(), placed[i].Shape);
    return meshes.emplace(placed[i].Shape.get(), std::move(m)).first->second;
  };
  auto mesh = [&](std::size_t i) -> const TMesh& {
    TPlacedSolid& s = solids[i];
    if (!s.Meshed) {
      s.Mesh = Moved(ownMesh(i), Transformation(placed[i].Matrix));
      s.Meshed = true;
    }
    return s.Mesh;
  };
  // Each part's mesh as a test of which points lie inside it, in its own space.
  std::map<const TShape*, TMeshInside> insides;
  auto meshInside = [&](std::size_t i) -> const TMeshInside& {
    auto at = insides.find(placed[i].Shape.get());
    if (at == insides.end()) {
      // A part not meshed finely already is meshed coarsely: where points stray near the surface, the
      // solids decide.
      const auto fine = meshes.find(placed[i].Shape.get());
      at = insides
               .emplace(placed[i].Shape.get(),
                        TMeshInside(fine != meshes.end()
                                        ? fine->second
                                        : MeshOf(placed[i].Shape->S, SampleMesh, deadline.Range())))
               .first;
    }
    return at->second;
  };
  // The pairs whose boxes meet and that are not shown clear. Only two parts of many faces each are worth
  // meshing: a boolean of smaller ones costs less.
  std::vector<std::pair<std::size_t, std::size_t>> close;
  TAssemblyResult out;
  out.Bound = options.MaxPairs;
  out.Seconds = options.Seconds;
  const auto pairKey = [&](std::size_t i, std::size_t j) {
    return [&placed, memo, i, j] { return std::pair{memo->Of(placed[i]), memo->Of(placed[j])}; };
  };
  // A pair the bound or the time leaves is counted, with its copies, not worked out.
  // The pairs are left in two passes (the boxes compared, then the close pairs worked out), so the first
  // one left in order is the least of them, not the first one met.
  auto leave = [&](std::size_t i, std::size_t j) {
    if (out.LeftOver == 0 || std::pair{i, j} < std::pair{out.FirstLeftOver.A, out.FirstLeftOver.B})
      out.FirstLeftOver = {i, j, {}};
    if (deadline.Passed()) out.TimedOut = true;
    out.LeftOver += copies[i] * copies[j];
  };
  for (std::size_t i = 0; i < solids.size(); ++i) {
    progress.Step("components whose boxes were compared with the others':", i, solids.size());
    for (std::size_t j = i + 1; j < solids.size(); ++j) {
      if (solids[i].S.IsNull() || solids[j].S.IsNull() || solids[i].Box.IsOut(solids[j].Box)) continue;
      if (out.Worked == options.MaxPairs || deadline.Passed()) {
        leave(i, j);
        continue;
      }
      ++out.Worked;
      const bool large = std::min(solids[i].Faces, solids[j].Faces) >= MeshedFaces;
      const auto clear = [&] {
        try {
          return Clear(mesh(i), solids[i].S, mesh(j), solids[j].S);
        } catch (const Standard_Failure&) {
          return false; // the boolean decides
        }
      };
      if (large && Recall(memo, &TCheckMemo::TState::Clear, pairKey(i, j), clear, deadline)) continue;
      close.emplace_back(i, j);
    }
  }
  // A large part with several small ones close to it (a flange with its bolts, washers and nuts) is split
  // with all of them at once: each boolean of one small piece against it went through all the large part's
  // faces again.
  std::map<std::pair<std::size_t, std::size_t>, double> known;
  std::vector<std::vector<std::size_t>> small(solids.size());
  for (const auto& [i, j] : close) {
    if (Smaller(solids[i].Box, solids[j].Box)) small[j].push_back(i);
    else if (Smaller(solids[j].Box, solids[i].Box)) small[i].push_back(j);
  }
  for (std::size_t p = 0; p < solids.size(); ++p) {
    if (small[p].size() < GroupedSmall || deadline.Passed()) continue;
    // Of the clusters of small ones that are turned copies of each other about the large part's axis of
    // symmetry (a bolt with its washer and nut in each hole of a flange), only the first is split.
    const TClusters clusters = Clusters(placed, p, small[p], close);
    std::vector<std::size_t> members;
    for (std::size_t c = 0; c < clusters.Parts.size(); ++c)
      if (clusters.CopyOf[c].first == c) members.insert(members.end(), clusters.Parts[c].begin(), clusters.Parts[c].end());
    if (members.size() > MostGrouped) continue;
    std::vector<TopoDS_Shape> group{solids[p].S};
    for (std::size_t k : members)
      group.push_back(solids[k].S);
    using TShares = std::map<std::pair<std::size_t, std::size_t>, double>;
    const auto split = [&]() -> std::optional<TShares> {
      TShares shares;
      if (!SharedAmong(group, shares, deadline)) return std::nullopt;
      return shares;
    };
    const auto groupKey = [&] {
      std::vector<TMemoPlace> key{memo->Of(placed[p])};
      for (std::size_t k : members)
        key.push_back(memo->Of(placed[k]));
      return key;
    };
    const std::optional<TShares> got = Recall(memo, &TCheckMemo::TState::Split, groupKey, split, deadline);
    if (!got) continue; // each pair's own boolean decides
    const TShares& shared = *got;
    // Every pair of the group that is close is known from it, the small ones among themselves too.
    for (std::size_t a = 0; a < group.size(); ++a)
      for (std::size_t b = a + 1; b < group.size(); ++b) {
        const std::size_t i = a == 0 ? p : members[a - 1], j = members[b - 1];
        const auto at = shared.find({a, b});
        known.emplace(std::minmax(i, j), at == shared.end() ? 0.0 : at->second);
      }
    // A copy shares with the large part, and its members among themselves, what its original does.
    for (std::size_t c = 0; c < clusters.Parts.size(); ++c) {
      const auto& [original, image] = clusters.CopyOf[c];
      if (original == c) continue;
      const std::vector<std::size_t>& from = clusters.Parts[original];
      for (std::size_t a = 0; a < from.size(); ++a) {
        known.emplace(std::minmax(p, image[a]), known.at(std::minmax(p, from[a])));
        for (std::size_t b = a + 1; b < from.size(); ++b)
          known.emplace(std::minmax(image[a], image[b]), known.at(std::minmax(from[a], from[b])));
      }
    }
  }
  // A pair the modeller cannot intersect is a fault of its own: it may clash.
  for (std::size_t k = 0; k < close.size(); ++k) {
    progress.Step("pairs of components worked out:", k, close.size());
    const auto [i, j] = close[k];
    double shared = 0;
    if (const auto at = known.find({i, j}); at != known.end()) {
      shared = at->second;
    } else if (deadline.Passed()) {
      leave(i, j);
      continue;
    } else {
      const auto work = [&]() -> TMemoShare {
        try {
          if (const auto v = SharedBySectors(placed[i], solids[i].S, solids[i].Box, placed[j], solids[j].S,
                                             solids[j].Box, deadline))
            return {*v, {}, false};
          const TopoDS_Shape common = SharedPart(solids[i].S, solids[j].S, deadline.Range());
          if (common.IsNull() && deadline.Passed()) return {0, {}, true};
          if (common.IsNull()) return {0, "the modeller failed to intersect them", false};
          return {Volume(TShape(common)), {}, false};
        } catch (const Standard_Failure& e) {
          return {0, "the modeller failed: " + FailureText(e), false};
        }
      };
      const TMemoShare got = Recall(memo, &TCheckMemo::TState::Shared, pairKey(i, j), work, deadline);
      if (got.Late) {
        leave(i, j);
        continue;
      }
      if (!got.Error.empty()) {
        out.Unchecked.push_back({i, j, got.Error});
        continue;
      }
      shared = got.Volume;
    }
    const double tolerance = ClashTolerance(std::min(solids[i].V, solids[j].V));
    if (shared > tolerance) {
      out.Clashes.push_back({i, j, shared});
      continue;
    }
    // Nothing shared where the boxes overlap deeply: points decide, the modeller's answer alone does not.
    if (!DeepOverlap(solids[i].Box, solids[j].Box)) continue;
    const auto sample = [&] {
      try {
        const auto side = [&](std::size_t k) {
          return TSampledSolid{solids[k].S, meshInside(k), Transformation(placed[k].Matrix).Inverted(),
                               solids[k].Box};
        };
        return SampledShare(side(i), side(j), deadline);
      } catch (const Standard_Failure&) {
        return TSampled{0, 0, 0, false};
      }
    };
    const TSampled got = Recall(memo, &TCheckMemo::TState::Sampled, pairKey(i, j), sample, deadline);
    if (got.Late) {
      leave(i, j);
    } else if (got.Points == 0) {
      out.Unchecked.push_back(
          {i, j,
           "the modeller found nothing shared, and its classifier failed on the points that would tell"});
    } else if (got.Volume > tolerance && got.Inside >= SampledClash) {
      out.Clashes.push_back({i, j, got.Volume, 1, got.Inside, got.Points});
    } else if (got.Volume > tolerance) {
      out.Unchecked.push_back({i, j,
                               "the modeller found nothing shared, yet " + std::to_string(got.Inside) +
                                   " of " + std::to_string(got.Points) +
                                   " points spread over where they meet lie inside both"});
    }
  }
  // A fastener is seated in a component when its shank lies in a hole of that component: a round face of
  // the fastener with the fastener inside it and one of the component with the component outside it, on one
  // axis, overlapping along it. Its own cross holes and the component's outer faces seat nothing, nor do the
  // holes of other fasteners and of the pieces that travel with one: a pin slid out of its half stood in its
  // own bushes, and one carried away with its nut and washer in those.
  std::map<std::size_t, std::vector<TRoundFace>> round; // by component, found on first need
  auto roundFaces = [&](std::size_t i) -> const std::vector<TRoundFace>& {
    auto at = round.find(i);
    if (at == round.end()) at = round.emplace(i, RoundFaces(solids[i].S)).first;
    return at->second;
  };
  for (std::size_t f = 0; f < placed.size(); ++f) {
    progress.Step("components looked at for seated fasteners:", f, placed.size());
    if (!placed[f].Fastener || solids[f].S.IsNull()) continue;
    bool seated = false;
    for (std::size_t p = 0; p < placed.size(); ++p) {
      if (p == f || placed[p].Fastener || placed[p].Piece || solids[p].S.IsNull() ||
          solids[f].Box.IsOut(solids[p].Box))
        continue;
      const std::vector<TRoundFace>& holes = roundFaces(p);
      const bool in = std::any_of(roundFaces(f).begin(), roundFaces(f).end(), [&](const TRoundFace& shank) {
        return !shank.Hole && std::any_of(holes.begin(), holes.end(), [&](const TRoundFace& hole) {
          return hole.Hole && Coaxial(shank.Axis, hole.Axis) && AxialOverlap(shank, hole) > SeatOverlap;
        });
      });
      if (in) {
        out.Seats.push_back({f, p});
        seated = true;
      }
    }
    if (!seated) out.Unseated.push_back(f);
  }
  return out;
}

} // namespace

} // namespace txhost::solid
