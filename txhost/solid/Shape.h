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
// DONE of TOTAL, SECONDS s"); nothing without a stream.
class TProgress
{
public:
  explicit TProgress(std::ostream* out);
  void Step(const char* what, std::size_t done, std::size_t total);

private:
  std::ostream* Out;
  std::chrono::steady_clock::time_point Start, Last;
};

// A limit on this thread's processor time that the modeller's long operations keep to: handed their
// range, they stop (and fail) once it has passed. No limit for 0 seconds.
class TDeadline
{
public:
  explicit TDeadline(double seconds);
  bool Passed() const;
  // The range one operation reports its progress in and is stopped through.
  Message_ProgressRange Range() const;

private:
  class TIndicator;
  Handle(Message_ProgressIndicator) Indicator;
  double End = 0; // the thread's processor time it stops at
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
TMesh MeshOf(const TopoDS_Shape& part);
TMesh Moved(const TMesh& m, const gp_Trsf& t);
// True when the two solids, meshed so, certainly share no volume: their surfaces stay apart by more than
// the meshes' slack and neither lies inside the other. False says nothing.
bool Clear(const TMesh& a, const TopoDS_Shape& solidA, const TMesh& b, const TopoDS_Shape& solidB);

} // namespace txhost::solid
