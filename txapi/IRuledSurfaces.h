#pragma once

#include "txapi/Enums.h"
#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

class IRuledSurface;

// The ruled surfaces of a container.
class IRuledSurfaces : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"869f2456-6b78-4570-b8d4-c30406d65566"};

  virtual SmartPtr<IRuledSurface> Add() = 0;

protected:
  ~IRuledSurfaces() = default;
};

} // namespace txapi
