#pragma once

#include "txapi/IAPIObject.h"

namespace txapi {

// The title block of a sheet.
// Its operations come with the operations that make it.
class IStamp : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"655f4561-4fb8-4389-80e8-cd0bfb105a56"};

protected:
  ~IStamp() = default;
};

} // namespace txapi
