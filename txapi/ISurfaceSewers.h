#pragma once

#include "txapi/Enums.h"
#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

class ISurfaceSewer;

// The surface sewers of a container.
class ISurfaceSewers : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"4de9b9c0-5eab-4584-b8c7-a29efd035451"};

  virtual SmartPtr<ISurfaceSewer> Add() = 0;

protected:
  ~ISurfaceSewers() = default;
};

} // namespace txapi
