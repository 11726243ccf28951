#pragma once

#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

class IModelObject;

// The distance and the angle between two objects.
class IDistanceAngleMeasurement3D : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"fda967e1-a518-4665-930a-ea93fa24fd63"};

  virtual void SetFirstObject(const SmartPtr<IModelObject>& object) = 0;
  virtual void SetSecondObject(const SmartPtr<IModelObject>& object) = 0;
  // In degrees; 0 while either object is missing.
  virtual double GetAngle() = 0;

protected:
  ~IDistanceAngleMeasurement3D() = default;
};

} // namespace txapi
