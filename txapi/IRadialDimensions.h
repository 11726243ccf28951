#pragma once

#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

class IRadialDimension;

// The radius dimensions of a symbols container (asked of the container itself).
class IRadialDimensions : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"c9d22b4c-8c88-4945-9a31-d63a5da63e21"};

  // A new radius dimension, created and not yet applied; empty when the host makes none.
  virtual SmartPtr<IRadialDimension> Add() = 0;

protected:
  ~IRadialDimensions() = default;
};

} // namespace txapi
