#pragma once

#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

class IModelObject;

// A feature made by turning a sketch about its axis line (the sketch curve of style 3).
class IRotated : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"bdce7d66-6df0-49ba-b9cb-0e07ac3d9218"};

  virtual void SetProfile(const SmartPtr<IModelObject>& sketch) = 0;
  // 0: one way, 1: the other.
  virtual void SetDirection(int direction) = 0;
  // The angle of side 0 or 1, in degrees.
  virtual void SetSideAngle(int side, double angle) = 0;

protected:
  ~IRotated() = default;
};

} // namespace txapi
