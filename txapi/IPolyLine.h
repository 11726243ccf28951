#pragma once

#include "txapi/IAPIObject.h"

namespace txapi {

// A 3D polyline of auxiliary geometry.
// Its operations come with the operations that make it.
class IPolyLine : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"a38fb2a0-26f1-4f1a-8b09-68cf61639a9b"};

protected:
  ~IPolyLine() = default;
};

} // namespace txapi
