#pragma once

#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

class IHatch;

// The hatches of a drawing container.
class IHatches : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"c31c6fdd-0d4d-4308-b61e-1de8d7203022"};

  // A new hatch, created and not yet applied; empty when the host makes none.
  virtual SmartPtr<IHatch> Add() = 0;

protected:
  ~IHatches() = default;
};

} // namespace txapi
