#pragma once

#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

class IEdgeLengthMeasurement3D;

// The edge-length measurements of a part.
class IEdgeLengthMeasurements3D : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"cb19b1c8-9954-406e-9192-e82a47c5d5c6"};

  virtual int GetCount() = 0;
  // Empty for an index out of range.
  virtual SmartPtr<IEdgeLengthMeasurement3D> GetItem(int index) = 0;
  // A new measurement; empty when the host makes none.
  virtual SmartPtr<IEdgeLengthMeasurement3D> Add() = 0;

protected:
  ~IEdgeLengthMeasurements3D() = default;
};

} // namespace txapi
