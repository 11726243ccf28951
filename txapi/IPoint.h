#pragma once

#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

// A point of a drawing, drawn in a style of its own.
class IPoint : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"43786aeb-ac54-471f-b0c2-084003365888"};

  virtual void SetPoint(double x, double y) = 0;
  virtual void SetStyle(int style) = 0;
  // Applies what was set; false when the host refuses.
  virtual bool Update() = 0;

protected:
  ~IPoint() = default;
};

} // namespace txapi
