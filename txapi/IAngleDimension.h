#pragma once

#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

// An angle dimension about a vertex; angles in degrees.
class IAngleDimension : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"131c8464-11d0-41c9-a1bd-b3ed683daae1"};

  virtual void SetVertex(double x, double y) = 0;
  // The radius of the dimension arc.
  virtual void SetRadius(double radius) = 0;
  virtual void SetAngle1(double angle) = 0;
  virtual void SetAngle2(double angle) = 0;
  // A point on the first side and one on the second.
  virtual void SetPoint1(double x, double y) = 0;
  virtual void SetPoint2(double x, double y) = 0;
  virtual void SetDirection(bool on) = 0;
  // Applies what was set; false when the host refuses.
  virtual bool Update() = 0;

protected:
  ~IAngleDimension() = default;
};

} // namespace txapi
