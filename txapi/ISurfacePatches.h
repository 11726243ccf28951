#pragma once

#include "txapi/Enums.h"
#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

class ISurfacePatch;

// The surface patches of a container.
class ISurfacePatches : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"9a68fc54-6173-46a7-9cce-f8c62d487595"};

  virtual SmartPtr<ISurfacePatch> Add() = 0;

protected:
  ~ISurfacePatches() = default;
};

} // namespace txapi
