#pragma once

#include <cstdint>

#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

class IAttributeType;

// The application's attribute types.
class IAttrTypeMng : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"203610e5-6f97-4292-9df8-19156862d668"};

  // Empty when there is no type of that number.
  virtual SmartPtr<IAttributeType> GetAttrType(std::uint64_t number) = 0;
  // A new numbered type holding one text; empty when the host makes none.
  virtual SmartPtr<IAttributeType> NewAttrType() = 0;

protected:
  ~IAttrTypeMng() = default;
};

} // namespace txapi
