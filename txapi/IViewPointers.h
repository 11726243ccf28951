#pragma once

#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

class IViewPointer;

// The view arrows of a symbols container (asked of the container itself).
class IViewPointers : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"0883d0fd-5831-4351-81f2-5b25bcbaa6a5"};

  // A new view arrow, created and not yet applied; empty when the host makes none.
  virtual SmartPtr<IViewPointer> Add() = 0;

protected:
  ~IViewPointers() = default;
};

} // namespace txapi
