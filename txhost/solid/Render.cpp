// Placed solids as a shaded picture: each component meshed, drawn lit in its own colour from a fixed
// isometric view (the eye towards +x +y +z, z up) into the project's offscreen OpenGL context, and written
// as PNG.
#include "txhost/solid/Shape.h"

#include "txhost/gl/OffscreenContext.h"
#include "txhost/lib/FileOutput.h"

#include <BRepAlgoAPI_Cut.hxx>
#include <BRepBndLib.hxx>
#include <BRepMesh_IncrementalMesh.hxx>
#include <BRepPrimAPI_MakeBox.hxx>
#include <BRep_Tool.hxx>
#include <Bnd_Box.hxx>
#include <Poly_Triangulation.hxx>
#include <Standard_Failure.hxx>
#include <TopExp_Explorer.hxx>
#include <TopoDS.hxx>

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <limits>

namespace txhost::solid {

namespace {

struct TTriangle
{
  gp_Pnt P[3];
  int Colour;
};

constexpr float Palette[][3] = {{0.55f, 0.62f, 0.75f}, {0.80f, 0.58f, 0.40f}, {0.50f, 0.72f, 0.50f},
                                {0.78f, 0.50f, 0.55f}, {0.70f, 0.68f, 0.45f}, {0.55f, 0.50f, 0.75f},
                                {0.45f, 0.70f, 0.72f}, {0.72f, 0.72f, 0.72f}};

void Triangles(const TopoDS_Shape& s, int colour, std::vector<TTriangle>& out)
{
  Bnd_Box box;
  BRepBndLib::Add(s, box);
  if (box.IsVoid()) return;
  const double size = std::sqrt(box.SquareExtent());
  BRepMesh_IncrementalMesh mesh(s, std::max(1e-3, size * 0.002), false, 0.3, false);
  for (TopExp_Explorer e(s, TopAbs_FACE); e.More(); e.Next()) {
    const TopoDS_Face& face = TopoDS::Face(e.Current());
    TopLoc_Location loc;
    const Handle(Poly_Triangulation) t = BRep_Tool::Triangulation(face, loc);
    if (t.IsNull()) continue;
    const bool reversed = face.Orientation() == TopAbs_REVERSED;
    for (int i = 1; i <= t->NbTriangles(); ++i) {
      int a, b, c;
      t->Triangle(i).Get(a, b, c);
      if (reversed) std::swap(b, c);
      TTriangle tri{{t->Node(a).Transformed(loc), t->Node(b).Transformed(loc), t->Node(c).Transformed(loc)}, colour};
      out.push_back(tri);
    }
  }
}

// The view: screen right, screen up and towards the eye.
const gp_Dir Eye(1, 1, 1);
const gp_Dir Right = gp_Dir(0, 0, 1).Crossed(Eye);
const gp_Dir Up = Eye.Crossed(Right);

} // namespace

bool RenderPng(const std::vector<TPlaced>& placed, bool section, int width, int height, const std::string& file,
               std::string& error)
{
  std::vector<TTriangle> triangles;
  try {
    Bnd_Box all;
    std::vector<TopoDS_Shape> shapes;
    for (const TPlaced& p : placed) {
      shapes.push_back(PlacedShape(p));
      if (!shapes.back().IsNull()) BRepBndLib::Add(shapes.back(), all);
    }
    if (all.IsVoid()) {
      error = "nothing to draw: no solid";
      return false;
    }
    double x0, y0, z0, x1, y1, z1;
    all.Get(x0, y0, z0, x1, y1, z1);
    for (std::size_t i = 0; i < shapes.size(); ++i) {
      if (shapes[i].IsNull()) continue;
      TopoDS_Shape s = shapes[i];
      if (section && z1 > 0) {
        const double m = 1 + (x1 - x0) + (y1 - y0);
        s = BRepAlgoAPI_Cut(s, BRepPrimAPI_MakeBox(gp_Pnt(x0 - m, y0 - m, 0), gp_Pnt(x1 + m, y1 + m, z1 + m)).Shape())
                .Shape();
      }
      Triangles(s, int(i % std::size(Palette)), triangles);
    }
  } catch (const Standard_Failure& e) {
    error = std::string("the modeller failed to mesh: ") + e.DynamicType()->Name();
    return false;
  }
  if (triangles.empty()) {
    error = "nothing to draw: no surface";
    return false;
  }
  // The projected extent, so that the picture is filled with a margin of a twentieth.
  double lo[3] = {1e300, 1e300, 1e300}, hi[3] = {-1e300, -1e300, -1e300};
  for (const TTriangle& t : triangles)
    for (const gp_Pnt& p : t.P) {
      const double q[3] = {p.XYZ().Dot(Right.XYZ()), p.XYZ().Dot(Up.XYZ()), p.XYZ().Dot(Eye.XYZ())};
      for (int k = 0; k < 3; ++k) {
        lo[k] = std::min(lo[k], q[k]);
        hi[k] = std::max(hi[k], q[k]);
      }
    }
  hxgl::TOffscreenContext gl(width, height);
  if (!gl.Ok()) {
    error = "no offscreen OpenGL: " + gl.Error();
    return false;
  }
  const double aspect = double(width) / height;
  double w = (hi[0] - lo[0]) * 1.1 + 1e-6, h = (hi[1] - lo[1]) * 1.1 + 1e-6;
  if (w / h > aspect) h = w / aspect;
  else w = h * aspect;
  const double cx = (hi[0] + lo[0]) / 2, cy = (hi[1] + lo[1]) / 2, depth = hi[2] - lo[2] + 1;
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(cx - w / 2, cx + w / 2, cy - h / 2, cy + h / 2, -hi[2] - depth, -lo[2] + depth);
  glMatrixMode(GL_MODELVIEW);
  const double view[16] = {Right.X(), Up.X(), Eye.X(), 0, Right.Y(), Up.Y(), Eye.Y(), 0,
                           Right.Z(), Up.Z(), Eye.Z(), 0, 0,         0,    0,       1};
  glLoadIdentity();
  const float light[4] = {0.4f, 0.7f, 1.0f, 0}; // in eye space: from above, right and the viewer
  glLightfv(GL_LIGHT0, GL_POSITION, light);
  const float ambient[4] = {0.35f, 0.35f, 0.35f, 1}, diffuse[4] = {0.75f, 0.75f, 0.75f, 1};
  glLightfv(GL_LIGHT0, GL_AMBIENT, ambient);
  glLightfv(GL_LIGHT0, GL_DIFFUSE, diffuse);
  glLoadMatrixd(view);
  glClearColor(1, 1, 1, 1);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glEnable(GL_DEPTH_TEST);
  glEnable(GL_LIGHTING);
  glEnable(GL_LIGHT0);
  glEnable(GL_NORMALIZE);
  glEnable(GL_COLOR_MATERIAL);
  glColorMaterial(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE);
  glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, GL_TRUE);
  glBegin(GL_TRIANGLES);
  for (const TTriangle& t : triangles) {
    const gp_Vec n = gp_Vec(t.P[0], t.P[1]).Crossed(gp_Vec(t.P[0], t.P[2]));
    if (n.Magnitude() < 1e-300) continue;
    glColor3fv(Palette[t.Colour]);
    glNormal3d(n.X(), n.Y(), n.Z());
    for (const gp_Pnt& p : t.P)
      glVertex3d(p.X(), p.Y(), p.Z());
  }
  glEnd();
  glFinish();
  std::string png;
  if (!hxgl::EncodePng(gl.Read(), png)) {
    error = "cannot write " + file + ": the picture could not be made";
    return false;
  }
  return WriteOutputFile(file, png, error);
}

} // namespace txhost::solid
