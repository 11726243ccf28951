#pragma once

#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

#include <vector>

namespace txapi {

// A straight segment of auxiliary geometry.
class ILineSegment3D : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"f29dc41d-48c1-48cf-87a6-1dbd4aec54ea"};

  virtual void SetPoints(double x1, double y1, double z1, double x2, double y2, double z2) = 0;
  // x1, y1, z1, x2, y2, z2.
  virtual std::vector<double> GetPoints() = 0;

protected:
  ~ILineSegment3D() = default;
};

} // namespace txapi
