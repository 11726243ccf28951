#pragma once

#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

class ICutLine;

// The cut lines of a symbols container.
class ICutLines : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"ecea43b5-fdbf-41d4-8cbd-3fa0b443a3c7"};

  // A new cut line, created and not yet applied; empty when the host makes none.
  virtual SmartPtr<ICutLine> Add() = 0;

protected:
  ~ICutLines() = default;
};

} // namespace txapi
