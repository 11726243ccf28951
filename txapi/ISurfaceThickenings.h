#pragma once

#include "txapi/Enums.h"
#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

class ISurfaceThickening;

// The surface thickenings of a part.
class ISurfaceThickenings : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"874491cc-87a0-4718-8991-ed7a6968d7da"};

  virtual SmartPtr<ISurfaceThickening> Add() = 0;

protected:
  ~ISurfaceThickenings() = default;
};

} // namespace txapi
