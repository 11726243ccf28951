#pragma once

#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

class IModelObject;

// A plane of a part. Auxiliary planes take their defining objects and values here.
class IPlane3D : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"fd738129-87ce-4ea9-9d48-0650d272cee6"};

  // An offset plane: its base plane and the signed distance along the base plane's normal.
  virtual void SetBasePlane(const SmartPtr<IModelObject>& plane) = 0;
  virtual SmartPtr<IModelObject> GetBasePlane() = 0;
  virtual void SetOffset(double offset) = 0;
  virtual double GetOffset() = 0;
  // A perpendicular plane: through the point, perpendicular to the edge.
  virtual void SetEdgeAndPoint(const SmartPtr<IModelObject>& edge, const SmartPtr<IModelObject>& point) = 0;

protected:
  ~IPlane3D() = default;
};

} // namespace txapi
