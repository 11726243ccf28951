#pragma once

#include "txapi/IAPIObject.h"

namespace txapi {

// The generic view of a host object, offered by every object; libraries keep mixed lists of objects in it.
class ITavrixAPIObject : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"c79b844e-c3c4-4437-86b8-32bb4a0aa819"};

  // The host's type code of the object.
  virtual int GetTypeCode() = 0;

protected:
  ~ITavrixAPIObject() = default;
};

} // namespace txapi
