#pragma once

#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

class IEllipse;

// The ellipses of a drawing container.
class IEllipses : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"4ce8824f-3575-44eb-8c93-484efb773b12"};

  // A new ellipse, created and not yet applied; empty when the host makes none.
  virtual SmartPtr<IEllipse> Add() = 0;

protected:
  ~IEllipses() = default;
};

} // namespace txapi
