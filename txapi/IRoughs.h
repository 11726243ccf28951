#pragma once

#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

class IRough;

// The roughness signs of a symbols container (asked of the container itself).
class IRoughs : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"44afd457-0056-4ff4-934f-8475df3d42f8"};

  // A new roughness sign, created and not yet applied; empty when the host makes none.
  virtual SmartPtr<IRough> Add() = 0;

protected:
  ~IRoughs() = default;
};

} // namespace txapi
