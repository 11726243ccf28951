#pragma once

#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

class IModelObject;

// A cylindrical spiral of auxiliary geometry, built up from a plane.
class ICylindricalSpiral : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"c2741acc-d645-4da0-9735-f7c11086d679"};

  virtual void SetPlane(const SmartPtr<IModelObject>& plane) = 0;
  virtual void SetTurnsNumber(double turns) = 0;
  // true: along the plane's normal.
  virtual void SetBuildingDirection(bool forward) = 0;
  virtual void SetHeight(double height) = 0;
  virtual void SetStep(double step) = 0;
  virtual void SetDiameter(double diameter) = 0;

protected:
  ~ICylindricalSpiral() = default;
};

} // namespace txapi
