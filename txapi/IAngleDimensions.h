#pragma once

#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

class IAngleDimension;

// The angle dimensions of a symbols container (asked of the container itself).
class IAngleDimensions : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"bf4f4f99-a143-447d-bf1c-3418b8996d67"};

  // A new angle dimension of the type (DrawingObjectTypeEnum), created and not yet applied; empty when the host
  // makes none.
  virtual SmartPtr<IAngleDimension> Add(int type) = 0;

protected:
  ~IAngleDimensions() = default;
};

} // namespace txapi
