#pragma once

#include "txapi/IAPIObject.h"

namespace txapi {

// A 2D macro object: a block of drawing objects that moves and is edited as one.
// Its operations come with the operations that make it.
class IMacroObject : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"16f84580-103b-416e-8ae9-eae4d7697208"};

protected:
  ~IMacroObject() = default;
};

} // namespace txapi
