#pragma once

#include "txapi/Enums.h"
#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

class IModelObject;

// A linear dimension between two model objects of a part.
class IBaseLineDimension3D : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"bbd54c6e-10eb-4420-b0e8-bea0b02b21a0"};

  virtual void SetObject1(const SmartPtr<IModelObject>& object) = 0;
  virtual void SetObject2(const SmartPtr<IModelObject>& object) = 0;
  // Applies what was set; false when the host refuses.
  virtual bool Update() = 0;

protected:
  ~IBaseLineDimension3D() = default;
};

} // namespace txapi
