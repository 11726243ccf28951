#pragma once

#include "txapi/IAPIObject.h"

namespace txapi {

// The common view of every object of a 2D document or sketch.
class IDrawingObject : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"1d719243-642c-46c1-9dd7-a55ba4398ddb"};

protected:
  ~IDrawingObject() = default;
};

} // namespace txapi
