#pragma once
// Parametric constraints of drawing objects and what sketches add for them (ConstraintFacets.cpp): the
// constraint objects, the point objects of a sketch being edited, model objects projected into it, and
// the variables its driving dimensions make.
#include <string_view>
#include <vector>

#include "txapi/IDrawingObject.h"
#include "txapi/IModelObject.h"
#include "txapi/IParametricConstraint.h"
#include "txhost/lib/Facet.h"

namespace txhost {
class KindTable;
}

namespace txhost::constraints {

// Kind names. A constraint is a member of the drawing object that handed it out, created (applied) by
// Create; a sketch variable is a member of its sketch, with its value, expression and "switch".
inline constexpr std::string_view Constraint = "parametric-constraint";
inline constexpr std::string_view SketchVariable = "sketch-variable";

// A new constraint owned by the drawing object; empty when a fault refuses it.
txapi::SmartPtr<txapi::IParametricConstraint> NewConstraint(Object& owner, bool refused);
// The point of the sketch that editor edits at (x, y): a live one within tolerance (not except), else a
// new one; nullptr when editor edits no sketch.
Object* PointAt(Host& host, Object& editor, double x, double y, double tolerance, const Object* except);
// The drawing objects made by projecting o into the sketch being edited: a control point gives a point;
// nothing else is projected.
std::vector<Object*> Project(Host& host, Object& sketch, const Object* o);

} // namespace txhost::constraints

namespace txhost::facets {

// Offered by 3D segments.
FacetEntry ModelCurve3D();
// Offered by dimensions.
FacetEntry Dimension2D();
void AddConstraintKinds(KindTable& t);

} // namespace txhost::facets
