#pragma once

#include "txapi/Enums.h"
#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

// An ellipse of a drawing: centre, the two semi-axes, the angle of the first (degrees).
class IEllipse : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"dd824497-9bc6-4412-a1a9-88da5ae2f0de"};

  virtual void SetEllipse(double xc, double yc, double a, double b, double angle) = 0;
  virtual void SetStyle(txCurveStyleEnum style) = 0;
  // Applies what was set; false when the host refuses.
  virtual bool Update() = 0;

protected:
  ~IEllipse() = default;
};

} // namespace txapi
