#pragma once

#include <vector>

#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

// A projection of a 3D document's window.
class IViewProjection : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"1f250887-1117-4580-97cf-d91835784a3b"};

  // Sixteen doubles, row by row.
  virtual void SetMatrix(const std::vector<double>& matrix) = 0;
  // Shows the window in this projection.
  virtual bool Apply(bool redraw) = 0;

protected:
  ~IViewProjection() = default;
};

} // namespace txapi
