#pragma once

#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

class ILineDimension;

// The linear dimensions of a symbols container (asked of the container itself).
class ILineDimensions : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"73e0753c-c80e-4bca-8b05-40f7fc54249d"};

  // A new linear dimension, created and not yet applied; empty when the host makes none.
  virtual SmartPtr<ILineDimension> Add() = 0;

protected:
  ~ILineDimensions() = default;
};

} // namespace txapi
