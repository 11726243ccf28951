#pragma once

#include "txhost/lib/Value.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace txhost {

// Where the host puts things in space: the one place that holds the host's 3D conventions, used by the
// stand-in's features, faces and checks, and by anything that turns a part into solids.
//
// Conventions (every coordinate in millimetres, angles in degrees):
//   standard plane (txObj3dTypeEnum)   sketch u   sketch v   normal n
//   XOY (o3d_planeXOY = 1)             +x         +y         +z
//   XOZ (o3d_planeXOZ = 2)             +x         -z         +y
//   YOZ (o3d_planeYOZ = 3)             -z         +y         +x
// - A plane offset by d from a standard plane lies at origin + d·n (XOY: z = d, XOZ: y = d, YOZ: x = d)
//   and keeps its base's u, v and n.
// - A sketch angle a turns u and v about n (right-handed): u' = cos a·u + sin a·v, v' = cos a·v - sin a·u.
// - A sketch point (u, v) lies at origin + u·U + v·V; w measures along n.
// - An extrusion sweeps its profile along n over a range of w (txDirectionTypeEnum with the feature's side
//   depths: side 0 on the normal side, side 1 on the reverse side):
//     dtNormal [0, depth0], dtReverse [-depth1, 0], dtBoth [-depth1, depth0],
//     dtMiddlePlane [-depth0/2, depth0/2].
// - A taper given as an angle with "outward" true widens the section along the sweep (the adapter passes
//   outward for a negative angle), otherwise narrows it: every edge moves |w|·tan(angle) out (or in).
// - A component's matrix holds 16 numbers as the adapter writes them: rows X, Y, Z (each followed by 0) and
//   the origin (followed by 1); a point (u, v, w) of the component's part lies at origin + u·X + v·Y + w·Z.
// - A profile's regions are its closed loops by even-odd nesting: a loop inside an odd number of others is a
//   hole of the region around it. Curves that close no loop are ignored (and counted).
// - An arc keeps its sense in space: mapped through a mirroring frame or matrix, its turning axis follows.
namespace place {

using Vec2 = std::array<double, 2>;
using Vec3 = std::array<double, 3>;

Vec3 Add(const Vec3& a, const Vec3& b);
Vec3 Sub(const Vec3& a, const Vec3& b);
Vec3 Mul(const Vec3& a, double k);
double Dot(const Vec3& a, const Vec3& b);
Vec3 Cross(const Vec3& a, const Vec3& b);
double Length(const Vec3& a);
// a scaled to length 1; a itself when it has no length.
Vec3 Unit(const Vec3& a);

// A frame in space: the point (u, v, w) lies at O + u·U + v·V + w·N.
struct Frame
{
  Vec3 O{0, 0, 0}, U{1, 0, 0}, V{0, 1, 0}, N{0, 0, 1};

  Vec3 At(double u, double v, double w = 0.0) const;
  // A direction given in the frame's axes (no origin).
  Vec3 Along(double u, double v, double w = 0.0) const;
  // True when (U x V) points against N: the frame reflects.
  bool Mirrored() const;
};

// The frame of a standard plane by its txObj3dTypeEnum value (1 XOY, 2 XOZ, 3 YOZ); nullopt for others.
std::optional<Frame> StandardPlane(int planeType);
// The plane offset by d along its normal.
Frame Offset(const Frame& plane, double d);
// The sketch frame on a plane, turned by the sketch angle about the normal.
Frame Turned(const Frame& plane, double angleDeg);

// A range of w along a frame's normal, From <= To.
struct Range
{
  double From = 0.0, To = 0.0;
  double Length() const { return To - From; }
};
// What an extrusion sweeps along the normal from its direction code and side depths (negative depths count
// by their size); an unknown code sweeps nothing.
Range Sweep(int direction, double depth0, double depth1);

// How far each edge of a tapered section has moved outward at distance w from the sketch plane (negative:
// moved in).
double TaperShift(double taperDeg, bool outward, double w);

// A component's placement.
struct Matrix
{
  Vec3 X{1, 0, 0}, Y{0, 1, 0}, Z{0, 0, 1}, O{0, 0, 0};

  Vec3 Point(const Vec3& p) const;
  Vec3 Direction(const Vec3& d) const;
  bool Mirrored() const;
};
// The matrix of 16 numbers (rows X, Y, Z, origin); nullopt for another count or a value that is not finite.
std::optional<Matrix> MatrixOf(const std::vector<double>& sixteen);
// The frame f of a component's part, in the assembly.
Frame Apply(const Matrix& m, const Frame& f);

// An axis-aligned box; empty until a point is added.
struct Box
{
  Vec3 Lo{1e300, 1e300, 1e300}, Hi{-1e300, -1e300, -1e300};

  bool Empty() const;
  void Add(const Vec3& p);
  void Add(const Box& b);
  // The sizes of the common part along each axis (negative where they miss); all negative when either is
  // empty.
  Vec3 Overlap(const Box& b) const;
  // Whether b lies inside, each face allowed out by tolerance.
  bool Contains(const Box& b, double tolerance) const;
};
// The box of the eight corners of b placed by m.
Box Apply(const Matrix& m, const Box& b);

// A curve of a profile in sketch coordinates. A circle starts and ends at its point of angle 0.
struct Curve
{
  enum class Kind { Line, Arc, Circle };
  Kind K = Kind::Line;
  Vec2 A{0, 0}, B{0, 0}; // start and end
  Vec2 C{0, 0};          // centre (arcs and circles)
  double R = 0.0;
  bool Clockwise = false; // arcs: from A to B clockwise in (u, v)
};

// The signed turn of an arc or circle from A to B in radians: positive counterclockwise in (u, v); an arc
// whose ends meet turns fully.
double ArcTurn(const Curve& c);

// A placed arc or circle: it runs counterclockwise about Axis from Start to End (the same point for a
// circle).
struct Arc3D
{
  Vec3 C{}, Start{}, End{}, Axis{0, 0, 1};
  double R = 0.0;
};
Arc3D PlaceArc(const Frame& f, const Curve& arc);
Arc3D Apply(const Matrix& m, const Arc3D& a);

// The closed loops of a profile, each with its nesting depth (the loops it lies inside), and the number of
// curves that close no loop.
struct Loop
{
  std::vector<Curve> Curves; // in order, each starting where the one before ends
  int Depth = 0;             // even: material of a region; odd: a hole in one
};
struct Loops
{
  std::vector<Loop> Closed;
  int Open = 0;
};
Loops FindLoops(const std::vector<Curve>& curves);
// Whether p lies inside the loop (even-odd); a point on its boundary may count either way.
bool Inside(const Loop& loop, const Vec2& p);
// The box of a loop in space, arcs by their extreme points.
Box LoopBox(const Frame& f, const Loop& loop);

// A circular hole or boss through a part: the circle of radius R about the line through Centre along Axis
// (a unit vector), from Along.From to Along.To measured along Axis from Centre.
struct Circle3D
{
  Vec3 Centre{}, Axis{0, 0, 1};
  double R = 0.0;
  Range Along;
};
Circle3D Apply(const Matrix& m, const Circle3D& c);

// What a feature puts in space, in its part's coordinates. Kept on an applied extrusion or rotation as
// its property "placed" (PlacedToJson's form), so that a saved part carries it; features it cannot place
// (no plane the host knows, no profile) have none.
struct Placed
{
  std::string Kind; // "extrusion" or "rotated"
  int Type = 0;     // txObj3dTypeEnum: boss, cut or surface
  bool Cut = false;
  Frame Sketch;             // the sketch frame (with its angle)
  Range Sweep;              // extrusions: along Sketch.N
  double Taper = 0.0;       // extrusions: degrees
  bool TaperOutward = false;
  Vec3 AxisPoint{}, AxisDir{}; // rotations: the revolve axis (AxisDir a unit vector)
  double Angle = 0.0;          // rotations: the turn in degrees
  Box Tool;                    // the box of what the feature adds or removes
  std::vector<Loop> Loops;     // the profile's closed loops (sketch coordinates, in Sketch)
  int OpenCurves = 0;          // curves of the profile that close no loop
  std::vector<Circle3D> Circles; // circular loops swept straight, and a rotation's axis as a cylinder
};

// The placement of an extrusion or a rotation from its sketch frame, parameters and profile; nullopt when it
// has no closed loop (a rotation: also no axis line).
std::optional<Placed> PlaceExtrusion(int type, const Frame& sketch, int direction, double depth0, double depth1,
                                     double taperDeg, bool taperOutward, const std::vector<Curve>& profile);
std::optional<Placed> PlaceRotation(int type, const Frame& sketch, double angleDeg, const Vec2& axisA,
                                    const Vec2& axisB, const std::vector<Curve>& profile);

// The curves of a feature's "profile" property (as the stand-in records it) and, when axis is given, its first
// axis line (style txCSAxial), which is no curve of the profile.
std::vector<Curve> ProfileCurves(const Value& profile, std::optional<std::array<Vec2, 2>>* axis = nullptr);

// The stand-in's objects: the frame of a plane object (standard, or offset from a standard one), of a sketch
// (its plane turned by its angle); nullopt for a plane the host does not place.
std::optional<Frame> PlaneFrame(const Object& plane);
std::optional<Frame> SketchFrame(const Object& sketch);
// A component's matrix (its property "placement"); the identity when it has none.
Matrix ComponentMatrix(const Object& component);

// The placed form of a feature, as its "placed" property holds it, and back (nullopt for anything else,
// such as a damaged file's value). The property leaves the loops out: they are the feature's profile, which
// it keeps beside; PlacedOf finds them again.
Value PlacedToJson(const Placed& p);
std::optional<Placed> PlacedFromJson(const Value& v);
std::optional<Placed> PlacedOf(const Object& feature);
// One line for a person: frame, sweep or axis, box, loops, circles.
std::string Describe(const Placed& p);
// The placed features of a part in order (its own members; a component's are in its source part).
std::vector<Placed> PlacedFeatures(const Object& part);

} // namespace place

} // namespace txhost
