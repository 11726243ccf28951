#pragma once

#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

#include <vector>

namespace txapi {

// A placement in space: a 4x4 matrix of 16 doubles, row by row, with the origin in the last row (the
// library's TMtr3D exchange form).
class IPlacement3D : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"fe98a4b5-323f-4061-87c1-291c03f568b9"};

  virtual std::vector<double> GetMatrix() = 0;
  // False, and nothing changed, unless matrix holds 16 values.
  virtual bool SetMatrix(const std::vector<double>& matrix) = 0;

protected:
  ~IPlacement3D() = default;
};

} // namespace txapi
