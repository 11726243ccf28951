#pragma once

#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

class ICircle;

// The circles of a drawing container.
class ICircles : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"bff98063-0be8-4ea4-ae48-4b4f0752e484"};

  // A new circle, created and not yet applied; empty when the host makes none.
  virtual SmartPtr<ICircle> Add() = 0;

protected:
  ~ICircles() = default;
};

} // namespace txapi
