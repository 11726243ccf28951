#pragma once

#include "txapi/Enums.h"
#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

class IModelObject;

// A body scaled about a point.
class IScaling3D : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"2b5e7ad4-5718-40ad-bac8-fd3269084313"};

  virtual void SetObject(const SmartPtr<IModelObject>& object) = 0;
  virtual void SetScale(double scale) = 0;
  virtual void SetBasePoint(const SmartPtr<IModelObject>& point) = 0;

protected:
  ~IScaling3D() = default;
};

} // namespace txapi
