#pragma once

#include "txapi/Enums.h"
#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

// A linear dimension between two points; the host measures the value.
class ILineDimension : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"5f951f49-394f-4525-a88a-7bf7a875792e"};

  virtual void SetPoint1(double x, double y) = 0;
  virtual void SetPoint2(double x, double y) = 0;
  // A point the dimension line passes through.
  virtual void SetLinePoint(double x, double y) = 0;
  virtual double GetLineX() = 0;
  virtual double GetLineY() = 0;
  virtual void SetTextX(double x) = 0;
  virtual void SetTextY(double y) = 0;
  virtual void SetOrientation(txLineDimensionOrientationEnum orientation) = 0;
  // The direction of a parallel dimension, in radians.
  virtual void SetAngle(double angle) = 0;
  // Applies what was set; false when the host refuses.
  virtual bool Update() = 0;

protected:
  ~ILineDimension() = default;
};

} // namespace txapi
