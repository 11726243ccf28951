#pragma once

#include "txapi/Enums.h"
#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

class ISplitLine;

// The split lines of a container.
class ISplitLines : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"203a03a6-35bf-4083-bb6e-af17ab66333f"};

  virtual SmartPtr<ISplitLine> Add() = 0;

protected:
  ~ISplitLines() = default;
};

} // namespace txapi
