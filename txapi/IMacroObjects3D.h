#pragma once

#include "txapi/Enums.h"
#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

class IMacroObject3D;

// The 3D macro objects of a part.
class IMacroObjects3D : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"18ac93c3-cd75-4604-a710-b0afb7520fd1"};

  virtual SmartPtr<IMacroObject3D> Add() = 0;

protected:
  ~IMacroObjects3D() = default;
};

} // namespace txapi
