#pragma once

#include "txapi/Enums.h"
#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

#include <string>

namespace txapi {

// An object of a 3D model: a standard plane or axis, a feature, a sketch, auxiliary geometry, a component.
// It exists in its document from its first update.
class IModelObject : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"6f2e4131-ab5a-4def-b31b-457c6d388383"};

  virtual txObj3dTypeEnum GetType() = 0;
  virtual std::wstring GetName() = 0;
  virtual void SetName(const std::wstring& name) = 0;
  virtual bool GetHidden() = 0;
  // Takes effect at the next update.
  virtual void SetHidden(bool hidden) = 0;
  // Applies what was set; false when the host refuses.
  virtual bool Update() = 0;
  // Drops what was set since the last update.
  virtual void Reset() = 0;

protected:
  ~IModelObject() = default;
};

} // namespace txapi
