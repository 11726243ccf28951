#pragma once

#include "txapi/Enums.h"
#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

class IEquidistantSurface;

// The equidistant surfaces of a container.
class IEquidistantSurfaces : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"8527db92-1f20-451d-9356-3b73e1d7c896"};

  virtual SmartPtr<IEquidistantSurface> Add() = 0;

protected:
  ~IEquidistantSurfaces() = default;
};

} // namespace txapi
