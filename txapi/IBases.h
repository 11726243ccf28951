#pragma once

#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

class IBase;

// The datum signs of a symbols container (asked of the container itself).
class IBases : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"6d725862-3d0a-4145-aef0-f916ac9961cb"};

  // A new datum sign, created and not yet applied; empty when the host makes none.
  virtual SmartPtr<IBase> Add() = 0;

protected:
  ~IBases() = default;
};

} // namespace txapi
