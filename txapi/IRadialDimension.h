#pragma once

#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

// How far before its arc a radius of style 2 starts, in mm on the sheet.
inline constexpr double txRadiusLineShort = 6.0;

// A radius dimension of an arc; the host measures the value.
class IRadialDimension : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"8e7dedad-2c15-4743-afef-9054f1c2228c"};

  virtual void SetCentre(double x, double y) = 0;
  virtual void SetRadius(double radius) = 0;
  // The host's drawing style of the dimension: 1 its line from the centre through the arc, the arrow on the
  // arc; 2 the same line starting txRadiusLineShort mm on the sheet short of the arc, for a centre that
  // need not be shown (one lying off the part, behind lines it would cross).
  virtual void SetStyle(int style) = 0;
  // The direction of the dimension line, in degrees.
  virtual void SetAngle(double angle) = 0;
  // Applies what was set; false when the host refuses.
  virtual bool Update() = 0;

protected:
  ~IRadialDimension() = default;
};

} // namespace txapi
