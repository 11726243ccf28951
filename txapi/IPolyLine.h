#pragma once

#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

// A 3D polyline.
class IPolyLine : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"959d9cf3-3596-417c-8991-1a16338e738e"};

  virtual void SetClosed(bool closed) = 0;

protected:
  ~IPolyLine() = default;
};

} // namespace txapi
