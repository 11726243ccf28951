#pragma once

#include "txapi/Enums.h"
#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

class IContour3D;

// The 3D contours of a container.
class IContours3D : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"32cfad05-0924-4a47-a2d1-400cce8f6798"};

  virtual SmartPtr<IContour3D> Add() = 0;

protected:
  ~IContours3D() = default;
};

} // namespace txapi
