#pragma once

#include "txapi/Enums.h"
#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

class ITrimmedSurface;

// The trimmed surfaces of a container.
class ITrimmedSurfaces : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"7533f2e5-9ebb-43cf-b922-4350705e1a53"};

  virtual SmartPtr<ITrimmedSurface> Add() = 0;

protected:
  ~ITrimmedSurfaces() = default;
};

} // namespace txapi
