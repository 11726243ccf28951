#pragma once

#include <vector>

#include "txapi/Enums.h"
#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

// A local coordinate system of a part.
class ILocalCoordinateSystem : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"8363e566-4b45-416b-845b-ad699bebda8e"};

  virtual std::vector<double> GetMatrix() = 0;

protected:
  ~ILocalCoordinateSystem() = default;
};

} // namespace txapi
