#pragma once

#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

class IDistanceAngleMeasurement3D;

// The distance and angle measurements of a part.
class IDistanceAngleMeasurements3D : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"149b7566-0990-44ee-8fbf-dd49dd138337"};

  virtual int GetCount() = 0;
  // Empty for an index out of range.
  virtual SmartPtr<IDistanceAngleMeasurement3D> GetItem(int index) = 0;
  // A new measurement; empty when the host makes none.
  virtual SmartPtr<IDistanceAngleMeasurement3D> Add() = 0;

protected:
  ~IDistanceAngleMeasurements3D() = default;
};

} // namespace txapi
