#pragma once
// The modeller's shape behind TShape, for the evaluator's own sources only.
#include "txhost/solid/Solid.h"

#include <TopoDS_Shape.hxx>
#include <gp_Trsf.hxx>

namespace txhost::solid {

class TShape
{
public:
  explicit TShape(TopoDS_Shape s) : S(std::move(s)) {}
  TopoDS_Shape S;
};

// The component's matrix as a modeller transformation (rows X, Y, Z, origin).
gp_Trsf Transformation(const std::array<double, 12>& m);
// What two shapes share, or a null shape when the modeller fails.
TopoDS_Shape SharedPart(const TopoDS_Shape& a, const TopoDS_Shape& b);
// The shape moved to where the component stands.
TopoDS_Shape PlacedShape(const TPlaced& p);

} // namespace txhost::solid
