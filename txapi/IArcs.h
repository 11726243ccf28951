#pragma once

#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

class IArc;

// The arcs of a drawing container.
class IArcs : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"8f21ca29-6e8a-4cb0-84e0-20539a85ecb7"};

  // A new arc, created and not yet applied; empty when the host makes none.
  virtual SmartPtr<IArc> Add() = 0;

protected:
  ~IArcs() = default;
};

} // namespace txapi
