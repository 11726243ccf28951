#pragma once

#include <string>
#include <vector>

#include "txapi/Enums.h"
#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

class IModelObject;

// A named group of features of a part's model tree.
class IMacroObject3D : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"1220068b-59e0-4690-9f8c-7814d8a5a7d8"};

  virtual void SetStaffVisible(bool visible) = 0;
  virtual void SetName(const std::wstring& name) = 0;
  virtual void SetMembers(const std::vector<SmartPtr<IModelObject>>& members) = 0;

protected:
  ~IMacroObject3D() = default;
};

} // namespace txapi
