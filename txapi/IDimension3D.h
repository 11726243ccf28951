#pragma once

#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

// A 3D dimension of a part: the distance it measures, shown or hidden.
class IDimension3D : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"137f2f88-62dd-4e98-9197-410c8507ccb2"};

  virtual double GetDistance() = 0;
  virtual void SetDistance(double distance) = 0;
  virtual void SetHidden(bool hidden) = 0;
  virtual bool Update() = 0;

protected:
  ~IDimension3D() = default;
};

} // namespace txapi
