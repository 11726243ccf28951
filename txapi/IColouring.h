#pragma once

#include "txapi/IAPIObject.h"

namespace txapi {

// A filled region of a drawing.
// Its operations come with the operations that make it.
class IColouring : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"09f54948-58b5-4c7f-8fcb-119493864bad"};

protected:
  ~IColouring() = default;
};

} // namespace txapi
