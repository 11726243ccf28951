#pragma once

#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

class IDiametralDimension;

// The diameter dimensions of a symbols container (asked of the container itself).
class IDiametralDimensions : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"3bf79791-7ae0-4a92-b0ea-793c70999b8c"};

  // A new diameter dimension, created and not yet applied; empty when the host makes none.
  virtual SmartPtr<IDiametralDimension> Add() = 0;

protected:
  ~IDiametralDimensions() = default;
};

} // namespace txapi
