#pragma once

#include "txhost/lib/Object.h"
#include "txhost/lib/Value.h"

#include <array>
#include <iosfwd>
#include <string_view>
#include <vector>

namespace txhost {

class Host;

// The 3D and sketch side of the host's object model, shared by the facets of parts, sketches, features,
// mates and drawing containers.
//
// A part's model objects are its members: standard planes and axes (made on first request), sketches,
// features, auxiliary geometry and components (parts inserted from files). Each carries its txObj3dTypeEnum
// in the property "type". A deleted object stays in the host with "deleted": true and is skipped by every
// query; its file holds nothing of it. A sketch is edited through an editor object (the 2D document) whose
// view 0 makes the sketch's curves; curves are members of the sketch. A feature, when applied, records the
// placed curves of its profile in "profile", so that a saved part carries its shape. Mates belong to the
// assembly document; their variables are their members.
namespace model {

// Kind names.
inline constexpr std::string_view Plane = "plane";
inline constexpr std::string_view Datum = "datum"; // standard axes and the origin
inline constexpr std::string_view Sketch = "sketch";
inline constexpr std::string_view SketchEditor = "sketch-editor";
inline constexpr std::string_view SketchView = "sketch-view";
inline constexpr std::string_view View = "view";
inline constexpr std::string_view LineSegment = "line-segment";
inline constexpr std::string_view Arc = "arc";
inline constexpr std::string_view Rotated = "rotated";
inline constexpr std::string_view Extrusion = "extrusion";
inline constexpr std::string_view AuxLine = "aux-line";
inline constexpr std::string_view AuxPoint = "aux-point";
inline constexpr std::string_view Spiral = "spiral";
inline constexpr std::string_view SplitLine = "split-line";
// Faces and edges of a part's bodies: "edges" and "faces" list their neighbours by reference. Solid
// features build them when applied (Model3D.h).
inline constexpr std::string_view Face = "face";
inline constexpr std::string_view Edge = "edge";
inline constexpr std::string_view Placement = "placement";
inline constexpr std::string_view Mate = "mate";
inline constexpr std::string_view Variable = "variable";

// A number property's value; otherwise when it is no number.
double Number(const Value& v, double otherwise = 0.0);
// A number that may come from a file as an int, saturating: NaN gives 0, values beyond int's range its
// nearest end.
int SaturatedInt(double v);
int TypeOf(const Object& o);
bool Deleted(const Object& o);
// Deletes o with everything under it (its members, theirs, ...): nothing of a deleted object stays live.
void DeleteWithMembers(Object& o);
// o's members that are not deleted, of the kind (any kind when empty).
std::vector<Object*> LiveMembers(const Object& o, std::string_view kind = {});
// A new object of the kind in the document, as a member of parent, with its type property.
Object& NewObject(Host& host, std::string_view kind, Object& parent, int type);
// The part's standard object of the type, made on first request; nullptr for a type that is none.
Object* StandardObject(Host& host, Object& part, int type);
// The model objects of the part of the types (all for o3d_unknown): itself excluded, members in order.
std::vector<Object*> ModelObjects(const Object& part, const std::vector<int>& types);

// A 2D affine frame (a00, a01, a10, a11, tx, ty): (x, y) -> (a00 x + a10 y + tx, a01 x + a11 y + ty).
using Frame = std::array<double, 6>;
// The frame of a placement stack [[x, y, angle, scale], ...], the last entry acting first.
Frame StackFrame(const Value& stack);
void Apply(const Frame& f, double x, double y, double& X, double& Y);

// The part a sketch or feature belongs to (its parent chain's first part); nullptr when none.
Object* OwningPart(const Object& o);
// The placed curves of a sketch, as a feature records them.
Value ProfileOf(const Object& sketch);

// The mates of a 3D document that are not deleted, in creation order.
std::vector<Object*> Mates(const Host& host, const Object& document);

// The model of a 3D document, indented under its document line: the part tree, features, components
// and mates.
void DescribeModel(const Host& host, const Object& document, std::ostream& out);

} // namespace model

} // namespace txhost
