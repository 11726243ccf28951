// Whether two placed solids stand clear of each other, from their surfaces' triangles: when every triangle
// of one stays further from every triangle of the other than the two meshes may stray from their true
// surfaces, the surfaces cannot meet, and a point of each shell classified against the other solid tells
// apart and nested. Meshing a part once costs a fraction of one boolean of two toothed parts that mesh
// with a backlash, where the boolean spends seconds on face pairs that come near and never meet.
#include "txhost/solid/Shape.h"

#include <BRepBndLib.hxx>
#include <BRepBuilderAPI_Copy.hxx>
#include <BRepClass3d_SolidClassifier.hxx>
#include <BRepMesh_IncrementalMesh.hxx>
#include <BRep_Tool.hxx>
#include <Bnd_Box.hxx>
#include <Poly_Triangulation.hxx>
#include <ShapeAnalysis_ShapeTolerance.hxx>
#include <TopExp_Explorer.hxx>
#include <TopoDS.hxx>

#include <algorithm>
#include <cmath>
#include <numeric>

namespace txhost::solid {

namespace {

// The mesher measures its deflection at samples; the true surface is taken to stray up to this many
// times as far.
constexpr double MeshSafety = 2;

using TBox3 = std::array<double, 6>; // x0, y0, z0, x1, y1, z1

constexpr TBox3 NoBox{1e300, 1e300, 1e300, -1e300, -1e300, -1e300};

void Include(TBox3& b, const gp_Pnt& p)
{
  const double c[3] = {p.X(), p.Y(), p.Z()};
  for (int a = 0; a < 3; ++a) {
    b[a] = std::min(b[a], c[a]);
    b[a + 3] = std::max(b[a + 3], c[a]);
  }
}

TBox3 Grown(TBox3 b, double grow)
{
  for (int a = 0; a < 3; ++a) {
    b[a] -= grow;
    b[a + 3] += grow;
  }
  return b;
}

TBox3 TriangleBox(const gp_Pnt* p, double grow)
{
  TBox3 b = NoBox;
  for (int k = 0; k < 3; ++k)
    Include(b, p[k]);
  return Grown(b, grow);
}

bool BoxesMeet(const TBox3& a, const TBox3& b)
{
  for (int k = 0; k < 3; ++k)
    if (a[k] > b[k + 3] || b[k] > a[k + 3]) return false;
  return true;
}

gp_Vec Span(const gp_Pnt& a, const gp_Pnt& b) { return gp_Vec(a, b); }

// The point of triangle abc nearest to p.
gp_Pnt NearestOnTriangle(const gp_Pnt& p, const gp_Pnt& a, const gp_Pnt& b, const gp_Pnt& c)
{
  const gp_Vec ab = Span(a, b), ac = Span(a, c), ap = Span(a, p);
  const double d1 = ab.Dot(ap), d2 = ac.Dot(ap);
  if (d1 <= 0 && d2 <= 0) return a;
  const gp_Vec bp = Span(b, p);
  const double d3 = ab.Dot(bp), d4 = ac.Dot(bp);
  if (d3 >= 0 && d4 <= d3) return b;
  const double vc = d1 * d4 - d3 * d2;
  if (vc <= 0 && d1 >= 0 && d3 <= 0) return a.Translated(ab * (d1 / (d1 - d3)));
  const gp_Vec cp = Span(c, p);
  const double d5 = ab.Dot(cp), d6 = ac.Dot(cp);
  if (d6 >= 0 && d5 <= d6) return c;
  const double vb = d5 * d2 - d1 * d6;
  if (vb <= 0 && d2 >= 0 && d6 <= 0) return a.Translated(ac * (d2 / (d2 - d6)));
  const double va = d3 * d6 - d5 * d4;
  if (va <= 0 && (d4 - d3) >= 0 && (d5 - d6) >= 0)
    return b.Translated(Span(b, c) * ((d4 - d3) / ((d4 - d3) + (d5 - d6))));
  const double denom = va + vb + vc;
  if (!(std::abs(denom) > 0)) return a; // a triangle of no area: its corners and edges decide
  return a.Translated(ab * (vb / denom) + ac * (vc / denom));
}

double SegmentsSquareDistance(const gp_Pnt& p1, const gp_Pnt& q1, const gp_Pnt& p2, const gp_Pnt& q2)
{
  const gp_Vec d1 = Span(p1, q1), d2 = Span(p2, q2), r = Span(p2, p1);
  const double a = d1.SquareMagnitude(), e = d2.SquareMagnitude(), f = d2.Dot(r);
  double s = 0, t = 0;
  if (a <= 0 && e <= 0) return p1.SquareDistance(p2);
  if (a <= 0) {
    t = std::clamp(f / e, 0.0, 1.0);
  } else {
    const double c = d1.Dot(r);
    if (e <= 0) {
      s = std::clamp(-c / a, 0.0, 1.0);
    } else {
      const double b = d1.Dot(d2), denom = a * e - b * b;
      s = denom > 0 ? std::clamp((b * f - c * e) / denom, 0.0, 1.0) : 0.0;
      t = (b * s + f) / e;
      if (t < 0) {
        t = 0;
        s = std::clamp(-c / a, 0.0, 1.0);
      } else if (t > 1) {
        t = 1;
        s = std::clamp((b - c) / a, 0.0, 1.0);
      }
    }
  }
  return p1.Translated(d1 * s).SquareDistance(p2.Translated(d2 * t));
}

// Whether segment pq passes through triangle abc; on the edge counts as through.
bool Pierces(const gp_Pnt& p, const gp_Pnt& q, const gp_Pnt& a, const gp_Pnt& b, const gp_Pnt& c)
{
  const gp_Vec n = Span(a, b).Crossed(Span(a, c));
  const double dp = n.Dot(Span(a, p)), dq = n.Dot(Span(a, q));
  if ((dp > 0 && dq > 0) || (dp < 0 && dq < 0) || dp == dq) return false; // one side, or in the plane
  const gp_Pnt x = p.Translated(Span(p, q) * (dp / (dp - dq)));
  const double slack = -1e-9 * n.SquareMagnitude();
  return n.Dot(Span(a, b).Crossed(Span(a, x))) >= slack && n.Dot(Span(b, c).Crossed(Span(b, x))) >= slack &&
         n.Dot(Span(c, a).Crossed(Span(c, x))) >= slack;
}

// Whether two triangles come within d of each other. Apart, the nearest points are a corner and the
// other triangle or two edges; touching or crossing, an edge meets the other triangle.
bool TrianglesWithin(const gp_Pnt* s, const gp_Pnt* t, double d)
{
  const double d2 = d * d;
  for (int i = 0; i < 3; ++i) {
    if (s[i].SquareDistance(NearestOnTriangle(s[i], t[0], t[1], t[2])) <= d2) return true;
    if (t[i].SquareDistance(NearestOnTriangle(t[i], s[0], s[1], s[2])) <= d2) return true;
  }
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j)
      if (SegmentsSquareDistance(s[i], s[(i + 1) % 3], t[j], t[(j + 1) % 3]) <= d2) return true;
  for (int i = 0; i < 3; ++i)
    if (Pierces(s[i], s[(i + 1) % 3], t[0], t[1], t[2]) || Pierces(t[i], t[(i + 1) % 3], s[0], s[1], s[2]))
      return true;
  return false;
}

// A tree of boxes over the triangles of a mesh, for finding those near a given box.
class TTriangleTree
{
public:
  TTriangleTree(const TMesh& mesh, const TBox3& within, double grow) : M(mesh)
  {
    for (std::size_t i = 0; i < mesh.Points.size() / 3; ++i) {
      const TBox3 b = TriangleBox(&mesh.Points[3 * i], grow);
      if (BoxesMeet(b, within)) {
        Order.push_back(i);
        Boxes.push_back(b);
      }
    }
    std::vector<std::size_t> at(Order.size());
    std::iota(at.begin(), at.end(), 0);
    if (!at.empty()) Build(at, 0, at.size());
    std::vector<TBox3> boxes(at.size());
    std::vector<std::size_t> order(at.size());
    for (std::size_t k = 0; k < at.size(); ++k) {
      boxes[k] = Boxes[at[k]];
      order[k] = Order[at[k]];
    }
    Boxes.swap(boxes);
    Order.swap(order);
  }

  // Whether a triangle of the tree comes within the two triangles' slack of triangle t, whose box grown by
  // its own slack and the largest of the tree's is given.
  bool Near(const gp_Pnt* t, double slack, const TBox3& box) const
  {
    if (Nodes.empty()) return false;
    std::size_t stack[64];
    int top = 0;
    stack[top++] = 0;
    while (top > 0) {
      const TNode& n = Nodes[stack[--top]];
      if (!BoxesMeet(n.Box, box)) continue;
      if (n.Leaf) {
        for (std::size_t k = n.First; k < n.Last; ++k)
          if (BoxesMeet(Boxes[k], box) && TrianglesWithin(t, &M.Points[3 * Order[k]], slack + M.Slacks[Order[k]]))
            return true;
        continue;
      }
      if (top + 2 > 64) return true; // deeper than any tree built here: take it as near
      stack[top++] = n.First;
      stack[top++] = n.Last;
    }
    return false;
  }

private:
  struct TNode
  {
    TBox3 Box;
    bool Leaf;
    std::size_t First, Last; // a leaf's range of triangles, or an inner node's two children
  };
  const TMesh& M;
  std::vector<std::size_t> Order;
  std::vector<TBox3> Boxes;
  std::vector<TNode> Nodes;

  std::size_t Build(std::vector<std::size_t>& at, std::size_t first, std::size_t last)
  {
    TBox3 box = Boxes[at[first]];
    for (std::size_t k = first + 1; k < last; ++k)
      for (int a = 0; a < 3; ++a) {
        box[a] = std::min(box[a], Boxes[at[k]][a]);
        box[a + 3] = std::max(box[a + 3], Boxes[at[k]][a + 3]);
      }
    const std::size_t self = Nodes.size();
    Nodes.push_back({box, true, first, last});
    if (last - first <= 4) return self;
    int axis = 0;
    for (int a = 1; a < 3; ++a)
      if (box[a + 3] - box[a] > box[axis + 3] - box[axis]) axis = a;
    const std::size_t mid = first + (last - first) / 2;
    std::nth_element(at.begin() + std::ptrdiff_t(first), at.begin() + std::ptrdiff_t(mid),
                     at.begin() + std::ptrdiff_t(last), [&](std::size_t i, std::size_t j) {
                       return Boxes[i][axis] + Boxes[i][axis + 3] < Boxes[j][axis] + Boxes[j][axis + 3];
                     });
    const std::size_t left = Build(at, first, mid);
    const std::size_t right = Build(at, mid, last);
    Nodes[self] = {box, false, left, right};
    return self;
  }
};

TBox3 MeshBox(const TMesh& m, double grow)
{
  TBox3 b = NoBox;
  for (const gp_Pnt& p : m.Points)
    Include(b, p);
  return Grown(b, grow);
}

bool InsideOrOn(const TopoDS_Shape& solid, const gp_Pnt& p)
{
  BRepClass3d_SolidClassifier c(solid, p, 1e-7);
  return c.State() != TopAbs_OUT;
}

} // namespace

TMesh MeshOf(const TopoDS_Shape& part, double share, const Message_ProgressRange& range)
{
  TMesh m;
  Bnd_Box box;
  BRepBndLib::Add(part, box);
  if (box.IsVoid()) return m;
  // A copy, so that the part's own faces keep no triangles of this mesh.
  const TopoDS_Shape copy = BRepBuilderAPI_Copy(part, true, false).Shape();
  const double deflection = std::max(1e-3, share * std::sqrt(box.SquareExtent()));
  IMeshTools_Parameters parameters;
  parameters.Deflection = deflection;
  parameters.Angle = 0.5;
  parameters.Relative = false;
  parameters.InParallel = false;
  BRepMesh_IncrementalMesh mesh(copy, parameters, range);
  const double tolerance = ShapeAnalysis_ShapeTolerance().Tolerance(part, 1);
  for (TopExp_Explorer shell(copy, TopAbs_SHELL); shell.More(); shell.Next()) {
    bool first = true;
    for (TopExp_Explorer e(shell.Current(), TopAbs_FACE); e.More(); e.Next()) {
      const TopoDS_Face& face = TopoDS::Face(e.Current());
      TopLoc_Location loc;
      const Handle(Poly_Triangulation) t = BRep_Tool::Triangulation(face, loc);
      if (t.IsNull() || t->NbTriangles() == 0) return {}; // a face left bare: no certain clearance
      // The face's own deflection as the mesher measured it, and at least the requested one, which its
      // edges' polygons keep.
      const double slack = MeshSafety * std::max(deflection, t->Deflection()) + tolerance;
      m.Slack = std::max(m.Slack, slack);
      for (int i = 1; i <= t->NbTriangles(); ++i) {
        m.Slacks.push_back(slack);
        int a, b, c;
        t->Triangle(i).Get(a, b, c);
        for (int k : {a, b, c})
          m.Points.push_back(t->Node(k).Transformed(loc));
      }
      if (first) m.ShellPoints.push_back(t->Node(1).Transformed(loc));
      first = false;
    }
  }
  if (m.Points.empty()) return {};
  return m;
}

TMesh Moved(const TMesh& m, const gp_Trsf& t)
{
  TMesh out = m;
  for (gp_Pnt& p : out.Points)
    p.Transform(t);
  for (gp_Pnt& p : out.ShellPoints)
    p.Transform(t);
  return out;
}

bool Clear(const TMesh& a, const TopoDS_Shape& solidA, const TMesh& b, const TopoDS_Shape& solidB)
{
  if (a.Slack < 0 || b.Slack < 0) return false;
  const double d = a.Slack + b.Slack;
  // Only triangles near the other mesh's box can come near it; the tree holds b's, a's are asked.
  const TTriangleTree tree(b, MeshBox(a, d), 0);
  const TBox3 near = MeshBox(b, d);
  for (std::size_t i = 0; i < a.Points.size() / 3; ++i) {
    const TBox3 box = TriangleBox(&a.Points[3 * i], a.Slacks[i] + b.Slack);
    if (BoxesMeet(box, near) && tree.Near(&a.Points[3 * i], a.Slacks[i], box)) return false;
  }
  // The surfaces do not meet: each shell lies wholly inside or outside the other solid.
  for (const gp_Pnt& p : a.ShellPoints)
    if (InsideOrOn(solidB, p)) return false;
  for (const gp_Pnt& p : b.ShellPoints)
    if (InsideOrOn(solidA, p)) return false;
  return true;
}

TMeshInside::TMeshInside(const TMesh& mesh)
{
  if (mesh.Slack < 0 || mesh.Points.size() < 3) return;
  Points = mesh.Points;
  Order.resize(Points.size() / 3);
  std::iota(Order.begin(), Order.end(), 0);
  Build(0, Order.size());
}

std::size_t TMeshInside::Build(std::size_t first, std::size_t last)
{
  TNode n{{1e300, 1e300, 1e300}, {-1e300, -1e300, -1e300}, true, first, last};
  for (std::size_t k = first; k < last; ++k)
    for (int c = 0; c < 3; ++c) {
      const gp_Pnt& p = Points[3 * Order[k] + std::size_t(c)];
      for (int a = 0; a < 3; ++a) {
        n.Lo[a] = std::min(n.Lo[a], p.Coord(a + 1));
        n.Hi[a] = std::max(n.Hi[a], p.Coord(a + 1));
      }
    }
  const std::size_t self = Nodes.size();
  Nodes.push_back(n);
  if (last - first <= 4) return self;
  int axis = 0;
  for (int a = 1; a < 3; ++a)
    if (n.Hi[a] - n.Lo[a] > n.Hi[axis] - n.Lo[axis]) axis = a;
  const std::size_t mid = first + (last - first) / 2;
  auto centre = [&](std::size_t t) {
    return Points[3 * t].Coord(axis + 1) + Points[3 * t + 1].Coord(axis + 1) +
           Points[3 * t + 2].Coord(axis + 1);
  };
  std::nth_element(Order.begin() + std::ptrdiff_t(first), Order.begin() + std::ptrdiff_t(mid),
                   Order.begin() + std::ptrdiff_t(last),
                   [&](std::size_t a, std::size_t b) { return centre(a) < centre(b); });
  const std::size_t left = Build(first, mid), right = Build(mid, last);
  Nodes[self].Leaf = false;
  Nodes[self].First = left;
  Nodes[self].Last = right;
  return self;
}

bool TMeshInside::Inside(const gp_Pnt& p) const
{
  if (Nodes.empty()) return false;
  const TNode& all = Nodes[0];
  const double o[3] = {p.X(), p.Y(), p.Z()};
  // The ray leaves by the nearest side of the mesh's box, to meet few of its boxes, and a little askew, so
  // that it runs along no plane or edge a part is drawn by and meets a triangle's edge only by chance.
  int side = 0;
  double nearest = 1e300;
  for (int a = 0; a < 3; ++a) {
    if (o[a] < all.Lo[a] || o[a] > all.Hi[a]) return false;
    for (int end = 0; end < 2; ++end) {
      const double d = end == 0 ? o[a] - all.Lo[a] : all.Hi[a] - o[a];
      if (d < nearest) nearest = d, side = 2 * a + end;
    }
  }
  double d[3] = {0.0137, -0.0291, 0.0071};
  d[side / 2] = side % 2 == 0 ? -1 : 1;
  const gp_Vec ray(d[0], d[1], d[2]);
  std::size_t crossings = 0;
  std::size_t stack[128]; // the tree is split at medians: far shallower
  int top = 0;
  stack[top++] = 0;
  while (top > 0) {
    const TNode& n = Nodes[stack[--top]];
    // The half-line against the node's box, slab by slab.
    double t0 = 0, t1 = 1e300;
    for (int a = 0; a < 3 && t0 <= t1; ++a) {
      const double ta = (n.Lo[a] - o[a]) / d[a], tb = (n.Hi[a] - o[a]) / d[a];
      t0 = std::max(t0, std::min(ta, tb));
      t1 = std::min(t1, std::max(ta, tb));
    }
    if (t0 > t1) continue;
    if (!n.Leaf) {
      stack[top++] = n.First;
      stack[top++] = n.Last;
      continue;
    }
    for (std::size_t k = n.First; k < n.Last; ++k) {
      const gp_Pnt* t = &Points[3 * Order[k]];
      const gp_Vec e1(t[0], t[1]), e2(t[0], t[2]);
      const gp_Vec h = ray.Crossed(e2);
      const double det = e1.Dot(h);
      if (std::abs(det) < 1e-300) continue; // the ray along the triangle's plane
      const gp_Vec s(t[0], p);
      const double u = s.Dot(h) / det;
      if (u < 0 || u > 1) continue;
      const gp_Vec q = s.Crossed(e1);
      const double v = ray.Dot(q) / det;
      if (v < 0 || u + v > 1) continue;
      if (e2.Dot(q) / det > 0) ++crossings;
    }
  }
  return crossings % 2 == 1;
}

} // namespace txhost::solid
