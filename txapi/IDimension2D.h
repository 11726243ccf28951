#pragma once

#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

// What every dimension of a 2D document or sketch has in common.
class IDimension2D : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"2b1ec1b5-b6c5-4533-8774-20ea5e56cd22"};

  // The value the dimension measures (what a driving constraint on it sets).
  virtual double GetValue() = 0;

protected:
  ~IDimension2D() = default;
};

} // namespace txapi
