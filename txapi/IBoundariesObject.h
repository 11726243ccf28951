#pragma once

#include "txapi/IAPIObject.h"

namespace txapi {

// The boundary set of a hatch or colouring.
// Its operations come with the operations that make it.
class IBoundariesObject : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"201f24d0-2331-4971-9ff4-c7b417b18da2"};

protected:
  ~IBoundariesObject() = default;
};

} // namespace txapi
