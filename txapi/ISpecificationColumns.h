#pragma once

#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

class ISpecificationColumn;

// The columns of a specification entry.
class ISpecificationColumns : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"cdf54e6a-697f-4ca3-97f0-a89c9d045b7b"};

  virtual SmartPtr<ISpecificationColumn> GetColumn(int type, int block, int number) = 0;

protected:
  ~ISpecificationColumns() = default;
};

} // namespace txapi
