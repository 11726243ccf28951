#pragma once

#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

// A surface roughness sign.
class IRough : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"9915f7d5-797e-45c6-a552-b5544bfa86f9"};

  virtual void SetPoint(double x, double y) = 0;
  // Applies what was set; false when the host refuses.
  virtual bool Update() = 0;

protected:
  ~IRough() = default;
};

} // namespace txapi
