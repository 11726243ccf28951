#pragma once

#include "txapi/IAPIObject.h"

namespace txapi {

// The facet of a document that keeps property values.
class IPropertyKeeper : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"7ab89831-da8c-4878-9ab7-29e689fd1fe8"};

protected:
  ~IPropertyKeeper() = default;
};

} // namespace txapi
