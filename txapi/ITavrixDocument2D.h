#pragma once

#include "txapi/IAPIObject.h"

namespace txapi {

// The 2D view of a drawing or fragment document.
class ITavrixDocument2D : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"7e3b5d12-94af-4c06-b8e1-2f6a0d4c9b53"};

protected:
  ~ITavrixDocument2D() = default;
};

} // namespace txapi
