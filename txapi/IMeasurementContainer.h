#pragma once

#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

class IDistanceAngleMeasurements3D;
class IEdgeLengthMeasurements3D;

// The measurements of a part.
class IMeasurementContainer : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"2b6ed5e5-e406-4ec6-95a4-0fe5ed5a6028"};

  virtual SmartPtr<IEdgeLengthMeasurements3D> GetEdgeLengthMeasurements() = 0;
  virtual SmartPtr<IDistanceAngleMeasurements3D> GetDistanceAngleMeasurements() = 0;

protected:
  ~IMeasurementContainer() = default;
};

} // namespace txapi
