#pragma once

#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

class ISketch;

// The sketches of a part.
class ISketches : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"3a46d585-4c2c-4d7e-bc8d-b84e98fc8a31"};

  // A new sketch, created and not yet applied; empty when the host makes none.
  virtual SmartPtr<ISketch> Add() = 0;
  virtual int GetCount() = 0;
  virtual SmartPtr<ISketch> GetItem(int index) = 0;

protected:
  ~ISketches() = default;
};

} // namespace txapi
