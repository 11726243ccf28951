#pragma once

#include <string_view>

// Views of drawings. A view is a member of its document and keeps its placement in "x", "y", "angle",
// "scale", its "color", "name", "number" and "type" (LtViewType). A view built from a model (types 2, 3
// and 7, kind "association-view") also keeps its "source" file, its "projection" name, its
// "orientation" (16 doubles), its "cut-line" and its element switches ("elements": six booleans). Each
// update, and each change of what it shows, builds its elements anew: line segments of its own (style
// 1, in the view's coordinates, which are the model's millimetres) that are the wireframe of the model's
// solid features seen from the view's side. A rotation shows its profile at four quarter turns and the
// circle of each profile vertex, an extrusion its profile at both ends and the edges between them; a
// section view shows what lies behind its cut plane, seen square on.
namespace txhost {

class KindTable;

namespace model {
inline constexpr std::string_view AssociationView = "association-view";
} // namespace model

namespace facets {
// The kind of views built from a model.
void AddViewKinds(KindTable& t);
} // namespace facets

} // namespace txhost
