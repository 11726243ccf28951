#pragma once

#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

class ITolerance;

// The form tolerances of a symbols container (asked of the container itself).
class ITolerances : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"5a8f7d14-122c-489c-9120-87077ee5bb04"};

  // A new form tolerance, created and not yet applied; empty when the host makes none.
  virtual SmartPtr<ITolerance> Add() = 0;

protected:
  ~ITolerances() = default;
};

} // namespace txapi
