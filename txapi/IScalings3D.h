#pragma once

#include "txapi/Enums.h"
#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

class IScaling3D;

// The scalings of a part.
class IScalings3D : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"295ac8b0-391d-43e5-8174-8133e4bd1596"};

  virtual SmartPtr<IScaling3D> Add() = 0;

protected:
  ~IScalings3D() = default;
};

} // namespace txapi
