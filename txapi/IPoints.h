#pragma once

#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

class IPoint;

// The points of a drawing container.
class IPoints : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"90a2c0cc-9b18-4ba6-afc0-3c4bc0735247"};

  // A new point, created and not yet applied; empty when the host makes none.
  virtual SmartPtr<IPoint> Add() = 0;

protected:
  ~IPoints() = default;
};

} // namespace txapi
