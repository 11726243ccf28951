#pragma once

#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

#include <vector>

namespace txapi {

class IModelObject;

// The summed length of the edges of some objects.
class IEdgeLengthMeasurement3D : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"816e7ac5-1065-406b-8e11-2adb731ffab1"};

  virtual void SetObjects(const std::vector<SmartPtr<IModelObject>>& objects) = 0;
  virtual double GetResult() = 0;

protected:
  ~IEdgeLengthMeasurement3D() = default;
};

} // namespace txapi
