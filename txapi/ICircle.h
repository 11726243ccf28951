#pragma once

#include "txapi/Enums.h"
#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

// A circle of a drawing or sketch.
class ICircle : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"c7c315b3-2436-4f50-b880-e08678f52601"};

  virtual void SetCircle(double xc, double yc, double radius) = 0;
  virtual void SetStyle(txCurveStyleEnum style) = 0;
  // Applies what was set; false when the host refuses.
  virtual bool Update() = 0;

protected:
  ~ICircle() = default;
};

} // namespace txapi
