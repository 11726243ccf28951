#pragma once
// The modeller's shape behind TShape, for the evaluator's own sources only.
#include "txhost/solid/Solid.h"

#include <Bnd_Box.hxx>
#include <Message_ProgressIndicator.hxx>
#include <Message_ProgressRange.hxx>
#include <TopoDS_Shape.hxx>
#include <gp_Ax1.hxx>
#include <gp_Pnt.hxx>
#include <gp_Trsf.hxx>

#include <chrono>
#include <iosfwd>
#include <string>
#include <vector>

class Standard_Failure;

namespace txhost::solid {

class TShape
{
public:
  explicit TShape(TopoDS_Shape s) : S(std::move(s)) {}
  TopoDS_Shape S;
};

// How many sectors a shape that repeats so many times about an axis is worked in: a divisor of the repeats,
// 4 or more so that a sector spans at most a right angle; 0 when there is none.
int SectorsOf(int repeats);
// How far a box reaches from an axis, and its span along it (from the axis's point, along its direction).
struct TReach
{
  double Reach = 0, From = 0, To = 0;
};
TReach AxialReach(const gp_Ax1& axis, const Bnd_Box& box);
// The wedge between the half-planes at angles from and to (at most a right angle apart) about an axis,
// turning about its direction from u (normal to it), beyond the box on every side.
TopoDS_Shape Wedge(const gp_Ax1& axis, const gp_Dir& u, double from, double to, const Bnd_Box& box);

// How far a long evaluation has come, said every few seconds once it has run for a few ("solids: WHAT
// DONE of TOTAL, SECONDS s"); nothing without a stream. Within one long operation of the modeller the last
// step is said again, so that a boolean of minutes is seen working.
class TProgress
{
public:
  explicit TProgress(std::ostream* out);
  void Step(const std::string& what, std::size_t done, std::size_t total);
  // Says the last step again when it is time to.
  void Tick();

private:
  bool Due();
  void Say();
  std::ostream* Out;
  std::chrono::steady_clock::time_point Start, Last;
  std::string What;
  std::size_t Done = 0, Total = 0;
};

// A limit on this thread's processor time that the modeller's long operations keep to: handed their
// range, they stop (and fail) once it has passed, and meanwhile tick the progress they were given.
class TDeadline
{
public:
  explicit TDeadline(const TLimits& limits, TProgress* progress = nullptr);
  bool Passed() const;
  // The range one operation reports its progress in and is stopped through.
  Message_ProgressRange Range() const;

private:
  class TIndicator;
  Handle(Message_ProgressIndicator) Indicator;
  double End = 0; // the thread's processor time it stops at; none at 0
};

// The modeller's exception as text: its type and message.
std::string FailureText(const Standard_Failure& e);
// The component's matrix as a modeller transformation (rows X, Y, Z, origin).
gp_Trsf Transformation(const std::array<double, 12>& m);
// What two shapes share, or a null shape when the modeller fails.
TopoDS_Shape SharedPart(const TopoDS_Shape& a, const TopoDS_Shape& b,
                        const Message_ProgressRange& range = Message_ProgressRange());
// The shape moved to where the component stands.
TopoDS_Shape PlacedShape(const TPlaced& p);

// A solid's surface as triangles (three points each), a point on each of its shells, and how far the true
// surface may stand off each triangle and off any; a negative slack when some face could not be meshed.
struct TMesh
{
  std::vector<gp_Pnt> Points, ShellPoints;
  std::vector<double> Slacks;
  double Slack = -1;
};
// Meshed to stray from the surface by up to that share of the part's box diagonal (about); a mesh stopped
// through its range has bare faces.
TMesh MeshOf(const TopoDS_Shape& part, double share = 8e-5, const Message_ProgressRange& range = {});
TMesh Moved(const TMesh& m, const gp_Trsf& t);
// True when the two solids, meshed so, certainly share no volume: their surfaces stay apart by more than
// the meshes' slack and neither lies inside the other. False says nothing.
bool Clear(const TMesh& a, const TopoDS_Shape& solidA, const TMesh& b, const TopoDS_Shape& solidB);

// Which points lie inside a meshed solid, by the parity of the crossings of a ray from each with its
// triangles: thousands of points cost less than one classification by the modeller on a part of many faces.
// Within the mesh's slack of the surface it may err either way; it says nothing of a mesh with a bare face.
class TMeshInside
{
public:
  explicit TMeshInside(const TMesh& mesh);
  bool Usable() const { return !Nodes.empty(); }
  bool Inside(const gp_Pnt& p) const;

private:
  struct TNode
  {
    double Lo[3], Hi[3];
    bool Leaf;
    std::size_t First, Last; // a leaf's range of triangles (in Order), or an inner node's two children
  };
  std::size_t Build(std::size_t first, std::size_t last);
  std::vector<gp_Pnt> Points;
  std::vector<std::size_t> Order;
  std::vector<TNode> Nodes;
};

} // namespace txhost::solid
