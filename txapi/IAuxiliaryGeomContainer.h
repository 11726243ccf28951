#pragma once

#include "txapi/Enums.h"
#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

class IModelObject;
class ICurveOutLines;
class IContours3D;

// The container of a part's auxiliary geometry: planes, 3D lines and points.
class IAuxiliaryGeomContainer : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"e5ded67e-6cd4-4329-bf02-f99e49e32d56"};

  // A new object of kind (o3d_planeOffset, o3d_planePerpendicular, o3d_lineSegment3D, o3d_point3D,
  // o3d_cylindricalSpiral, o3d_splitLine), created and not yet applied; its parameters are set through
  // IPlane3D, ILineSegment3D, IPoint3D, ICylindricalSpiral or ISplitLine. Empty for a kind
  // this container does not make.
  virtual SmartPtr<IModelObject> Add(txObj3dTypeEnum kind) = 0;
  virtual SmartPtr<ICurveOutLines> GetCurveOutLines() = 0;
  virtual SmartPtr<IContours3D> GetContours3D() = 0;

protected:
  ~IAuxiliaryGeomContainer() = default;
};

} // namespace txapi
