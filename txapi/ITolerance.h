#pragma once

#include "txapi/IAPIObject.h"

namespace txapi {

// A form tolerance frame.
// Its operations come with the operations that make it.
class ITolerance : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"a7345262-187f-4e03-809e-bb5bb2e969d9"};

protected:
  ~ITolerance() = default;
};

} // namespace txapi
