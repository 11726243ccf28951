#pragma once

#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

// The drawing settings of a dimension, numbered; their meaning is the host's.
class IDimensionParams : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"fa00be82-eb84-4029-abc5-0864c4a2206c"};

  virtual void SetParameter(int index, double value) = 0;

protected:
  ~IDimensionParams() = default;
};

} // namespace txapi
