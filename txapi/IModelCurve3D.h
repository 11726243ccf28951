#pragma once

#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

// A curve of a part's model as it is shown.
class IModelCurve3D : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"816cb2f0-5b72-4aa0-b79f-a4c6e708d75d"};

  // The line style (a txCurveStyleEnum code: 1 main, 2 thin, 3 axis).
  virtual void SetStyle(int style) = 0;
  virtual int GetStyle() = 0;

protected:
  ~IModelCurve3D() = default;
};

} // namespace txapi
