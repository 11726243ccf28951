#pragma once

#include "txapi/IAPIObject.h"

namespace txapi {

// The technical requirements of a sheet.
// Its operations come with the operations that make it.
class ITechnicalDemand : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"7e98207b-aae6-46a1-86b2-ff061328e081"};

protected:
  ~ITechnicalDemand() = default;
};

} // namespace txapi
