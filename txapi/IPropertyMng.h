#pragma once

#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

class IProperty;

// The application's property manager (its application object of kind 1).
class IPropertyMng : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"b1ee67e3-2981-48b8-86e0-791495bf8325"};

  // Empty for a number the host does not know (9: material, 10: density).
  virtual SmartPtr<IProperty> GetProperty(int number) = 0;

protected:
  ~IPropertyMng() = default;
};

} // namespace txapi
