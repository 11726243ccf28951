#pragma once

#include "txapi/IAPIObject.h"

namespace txapi {

// A hatched region of a drawing.
// Its operations come with the operations that make it.
class IHatch : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"8f59e902-c904-4ffe-943d-bf083bf45865"};

protected:
  ~IHatch() = default;
};

} // namespace txapi
