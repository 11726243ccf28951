#pragma once

#include <vector>

#include "txapi/Enums.h"
#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

class IModelObject;

// A boolean operation between bodies.
class IBoolean : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"f412d7b6-a7e4-44c9-b8b3-4477ae8683f7"};

  virtual void SetOperands(const std::vector<SmartPtr<IModelObject>>& bodies) = 0;
  virtual void SetBooleanType(txBooleanType type) = 0;

protected:
  ~IBoolean() = default;
};

} // namespace txapi
