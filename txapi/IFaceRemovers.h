#pragma once

#include "txapi/Enums.h"
#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

class IFaceRemover;

// The face removers of a container.
class IFaceRemovers : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"795c070d-54c6-49e3-a075-08f3138afc37"};

  virtual SmartPtr<IFaceRemover> Add() = 0;

protected:
  ~IFaceRemovers() = default;
};

} // namespace txapi
