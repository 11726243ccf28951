#pragma once

#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

class IColouring;

// The colourings of a drawing container.
class IColourings : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"71c4820e-5515-4373-b2e5-0d42e6863951"};

  // A new colouring, created and not yet applied; empty when the host makes none.
  virtual SmartPtr<IColouring> Add() = 0;

protected:
  ~IColourings() = default;
};

} // namespace txapi
