#pragma once

#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

class IText;

// One column of a specification entry.
class ISpecificationColumn : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"3d5a6fac-4f08-48c8-afcc-4c35b0d97f94"};

  virtual SmartPtr<IText> GetText() = 0;

protected:
  ~ISpecificationColumn() = default;
};

} // namespace txapi
