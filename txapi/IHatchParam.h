#pragma once

#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

// The pattern of a hatch.
class IHatchParam : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"ef70f247-1d67-4d40-829f-1c19fad5da7d"};

  virtual void SetStyle(int style) = 0;
  // Distance between the hatch lines, millimetres.
  virtual void SetStep(double step) = 0;
  // Angle of the hatch lines, degrees.
  virtual void SetAngle(double angle) = 0;

protected:
  ~IHatchParam() = default;
};

} // namespace txapi
