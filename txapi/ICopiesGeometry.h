#pragma once

#include "txapi/Enums.h"
#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

class ICopyGeometry;

// The geometry copies of a part.
class ICopiesGeometry : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"551234da-5cab-4ba1-b7bf-65aa9e2ae14f"};

  virtual SmartPtr<ICopyGeometry> Add() = 0;

protected:
  ~ICopiesGeometry() = default;
};

} // namespace txapi
