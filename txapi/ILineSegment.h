#pragma once

#include "txapi/Enums.h"
#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

// A straight segment of a drawing or sketch.
class ILineSegment : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"ceda02a8-0a98-4118-999e-2902616e1caf"};

  virtual void SetPoints(double x1, double y1, double x2, double y2) = 0;
  virtual void SetStyle(txCurveStyleEnum style) = 0;
  // Applies what was set; false when the host refuses.
  virtual bool Update() = 0;

protected:
  ~ILineSegment() = default;
};

} // namespace txapi
