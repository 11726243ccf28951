#pragma once

#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

// A radius dimension of an arc; the host measures the value.
class IRadialDimension : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"8e7dedad-2c15-4743-afef-9054f1c2228c"};

  virtual void SetCentre(double x, double y) = 0;
  virtual void SetRadius(double radius) = 0;
  // The host's drawing style of the dimension.
  virtual void SetStyle(int style) = 0;
  // The direction of the dimension line, in degrees.
  virtual void SetAngle(double angle) = 0;
  // Applies what was set; false when the host refuses.
  virtual bool Update() = 0;

protected:
  ~IRadialDimension() = default;
};

} // namespace txapi
