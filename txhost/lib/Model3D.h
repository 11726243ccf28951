#pragma once

#include "txhost/lib/Facet.h"
#include "txhost/lib/Object.h"

#include <iosfwd>
#include <string_view>
#include <vector>

namespace txhost {

class KindTable;

// The features of a part beyond sketches, extrusions and rotations: sweeps, billets, booleans, 3D macro
// objects, the surface operations, library objects and 3D dimensions, and the bodies and faces that solid
// features make.
//
// Every feature is a member of its part, created by the part's collection of its kind and applied by its
// update, and keeps what was set on it in properties (lists of model objects as lists of references). An
// applied extrusion, rotation or sweep gets a body (a member of kind "body") whose faces and edges are
// derived from the placed profile: a line of an extrusion's profile gives a planar side face, an arc a
// cylindrical one, and two planar caps close it; a rotation gives for each profile curve a cylindrical,
// planar or conical face by the curve's lie to the axis, and planar caps when it turns less than a full
// circle. Faces that meet share an edge. A billet takes the bodies of the part file it was made from. An
// extrusion's depths are its variables "Расстояние 1" and "Расстояние 2".
namespace model {

inline constexpr std::string_view Evolution = "evolution";
inline constexpr std::string_view Billet = "billet";
inline constexpr std::string_view Boolean = "boolean";
inline constexpr std::string_view Macro3D = "macro-3d";
inline constexpr std::string_view CopyGeometry = "copy-geometry";
inline constexpr std::string_view Thickening = "thickening";
inline constexpr std::string_view Scaling = "scaling";
inline constexpr std::string_view UserObject = "user-object";
inline constexpr std::string_view SurfacePatch = "surface-patch";
inline constexpr std::string_view RuledSurface = "ruled-surface";
inline constexpr std::string_view Equidistant = "equidistant-surface";
inline constexpr std::string_view Trimmed = "trimmed-surface";
inline constexpr std::string_view FaceRemover = "face-remover";
inline constexpr std::string_view Sewer = "surface-sewer";
inline constexpr std::string_view CurveOutLine = "curve-outline";
inline constexpr std::string_view Contour3D = "contour-3d";
inline constexpr std::string_view Dimension3D = "dimension-3d";
inline constexpr std::string_view Parameters = "parameters"; // a feature's parameter object
inline constexpr std::string_view Body = "body";

// What applying a feature derives beyond its profile: bodies, faces, edges, depth variables.
void Derive3D(Object& feature);

// How far from the origin (mm, along each axis) the modeller makes solids: a part a kilometre wide is no
// part it is asked for, and its millimetre details are lost in its size.
inline constexpr double ModelSpace = 1e6;

// Whether the modeller makes an applied extrusion or rotation as it is placed: all of it finite and within
// ModelSpace and, with a solid modeller attached to the host (Host::SetSolidModeller), a solid feature that
// builds, changes its part and leaves it one solid. Other objects and features failed already are made.
bool Makes(Object& feature);

// The bodies of a part (of its features, in order), not deleted.
std::vector<Object*> Bodies(const Object& part);

// The part's members that belong to no 3D macro object, and the live members of a macro, in order.
std::vector<Object*> TreeMembers(const Object& part);
std::vector<Object*> MacroMembers(const Object& macro);

// The feature's parameters (with parameters true) and its bodies, for the model's description.
void DescribeFeature(const Object& feature, bool parameters, std::ostream& out);

} // namespace model

namespace facets {
// A container that is the part itself: it hands itself out as the collection asked for.
template <class I> class SelfFacet : public Facet<I>
{
public:
  using Facet<I>::Facet;

protected:
  template <class C> txapi::SmartPtr<C> Self(std::string_view op)
  {
    this->Log(op);
    if (this->HandOutRefused(op)) return {};
    return this->template HandOut<C>(&this->Model());
  }
};

// The kinds of the features above, and the containers and collections a part offers for them
// (FeatureFacets.cpp).
void AddModel3DKinds(KindTable& t);
std::vector<FacetEntry> PartFeatureFacets();
} // namespace facets

} // namespace txhost
