#pragma once

#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

// A diameter dimension of a circle; the host measures the value.
class IDiametralDimension : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"84d8f461-2d1f-41f0-bfe3-540f5662262f"};

  virtual void SetCentre(double x, double y) = 0;
  virtual void SetRadius(double radius) = 0;
  // The host's drawing style of the dimension: 1 its line across the circle through the centre, an arrow
  // at each end; 2 its line coming to the circle from outside, one arrow on the circle.
  virtual void SetStyle(int style) = 0;
  // The direction of the dimension line, in degrees.
  virtual void SetAngle(double angle) = 0;
  // Applies what was set; false when the host refuses.
  virtual bool Update() = 0;

protected:
  ~IDiametralDimension() = default;
};

} // namespace txapi
