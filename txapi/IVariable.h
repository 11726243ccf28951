#pragma once

#include "txapi/IAPIObject.h"

namespace txapi {

// A named variable of a part or a sketch.
class IVariable : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"1bb12ab8-83ef-47d8-9fe8-cd72ce354d47"};

protected:
  ~IVariable() = default;
};

} // namespace txapi
