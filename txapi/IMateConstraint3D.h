#pragma once

#include "txapi/Enums.h"
#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

class IModelObject;

// A mate of an assembly between two model objects. Its variables (IFeature) include "Расстояние".
class IMateConstraint3D : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"ea3c8188-9193-4408-8c8e-858bbb87d4bd"};

  virtual MateConstraintType GetKind() = 0;
  virtual void SetFirstObject(const SmartPtr<IModelObject>& object) = 0;
  virtual SmartPtr<IModelObject> GetFirstObject() = 0;
  virtual void SetSecondObject(const SmartPtr<IModelObject>& object) = 0;
  virtual SmartPtr<IModelObject> GetSecondObject() = 0;
  // 1: free, 2: fixed.
  virtual void SetFixing(int fixing) = 0;
  virtual int GetFixing() = 0;
  // Orientation or alignment.
  virtual void SetDirection(int direction) = 0;
  virtual int GetDirection() = 0;
  virtual void SetValue(double value) = 0;
  virtual double GetValue() = 0;
  // Applies what was set; false when the host refuses.
  virtual bool Update() = 0;

protected:
  ~IMateConstraint3D() = default;
};

} // namespace txapi
