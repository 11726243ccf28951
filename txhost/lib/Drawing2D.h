#pragma once

#include "txhost/lib/Object.h"

#include <string_view>

namespace txhost {

class Host;

// The 2D side of the host's object model: what views and macro objects hold.
//
// A drawing object is a member of the container that made it: a view, a macro object (which is a
// container itself and is placed as a whole by its "x", "y" and "angle"), or, for a sketch's
// editing view, the sketch being edited. It records the document's placement stack in force as its
// "frame" (txhost/lib/Model.h). An object made straight in a view while the document has an open
// drawing group names that group in "group"; what a macro object holds belongs to the macro. A group is
// a member of its document; the document lists its open groups, innermost last, in "open-groups".
// Texts are members of their owner ("text-line" objects holding "text-item" objects); hatches and
// colourings list their boundary objects in "boundaries".
namespace model2d {

// Kind names.
inline constexpr std::string_view Circle = "circle";
inline constexpr std::string_view Ellipse = "ellipse";
inline constexpr std::string_view Point = "point";
inline constexpr std::string_view DrawingText = "drawing-text";
inline constexpr std::string_view TextLine = "text-line";
inline constexpr std::string_view TextItem = "text-item";
inline constexpr std::string_view Macro = "macro";
inline constexpr std::string_view Group = "drawing-group";
inline constexpr std::string_view Hatch = "hatch";
inline constexpr std::string_view Colouring = "colouring";
inline constexpr std::string_view CutLine = "cut-line";
inline constexpr std::string_view Leader = "leader";
inline constexpr std::string_view Layer = "layer";
// A dimension as far as its text goes (the host's dimensions of every kind offer this much).
inline constexpr std::string_view Dimension = "dimension";
// A 3D polyline of a part's auxiliary geometry.
inline constexpr std::string_view PolyLine3D = "polyline-3d";

// A new drawing object of the kind made through container (a view or a macro object); nullptr when a
// sketch view's sketch is no longer being edited.
Object* NewDrawingObject(Host& host, Object& container, std::string_view kind);
int DrawingTypeOfKind(std::string_view kind);
// The DrawingObjectTypeEnum of an object's kind; txDrUnknown for a kind that is no drawing object.
int DrawingType(const Object& o);
// The document's innermost open drawing group; nullptr when none is open.
Object* OpenGroup(const Object& document);
// Opens the group of its document (the innermost open group takes the objects made), or closes it,
// which finishes it.
void OpenGroup(Object& group, bool open);
// Drops the objects of the group.
void ResetGroup(Object& group);
// The live objects the group holds, in the order made.
std::vector<Object*> GroupMembers(const Object& group);
// The text an object holds: its lines' items joined, lines separated by '\n' (a line's own items); else its
// "string".
std::wstring TextOf(const Object& o);

} // namespace model2d

} // namespace txhost
