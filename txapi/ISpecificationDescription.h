#pragma once

#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

class ISpecificationBaseObjects;

// One specification (bill of materials) of a document.
class ISpecificationDescription : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"888af772-9c4e-4a56-a75d-130f7e3a4adc"};

  virtual SmartPtr<ISpecificationBaseObjects> GetBaseObjects() = 0;

protected:
  ~ISpecificationDescription() = default;
};

} // namespace txapi
