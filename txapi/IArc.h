#pragma once

#include "txapi/Enums.h"
#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

// A circular arc of a drawing or sketch.
class IArc : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"7fd13c9f-3418-4303-87bb-82e6f05a4b6f"};

  // Centre, first and second end, radius, and the sense from the first end to the second (true: clockwise).
  virtual void SetArc(double xc, double yc, double x1, double y1, double x2, double y2, double radius,
                      bool clockwise) = 0;
  virtual void SetStyle(txCurveStyleEnum style) = 0;
  // Applies what was set; false when the host refuses.
  virtual bool Update() = 0;

protected:
  ~IArc() = default;
};

} // namespace txapi
