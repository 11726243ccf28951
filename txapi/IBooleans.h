#pragma once

#include "txapi/Enums.h"
#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

class IBoolean;

// The boolean operations of a part.
class IBooleans : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"c04b6fce-4364-454f-96cc-37819f015578"};

  virtual SmartPtr<IBoolean> Add() = 0;

protected:
  ~IBooleans() = default;
};

} // namespace txapi
