#pragma once

#include "txapi/Enums.h"
#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

class ICurveOutLine;

// The outline curves of a container.
class ICurveOutLines : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"bb1bc3a6-7e72-4291-bd78-493ffd1726a3"};

  virtual SmartPtr<ICurveOutLine> Add() = 0;

protected:
  ~ICurveOutLines() = default;
};

} // namespace txapi
