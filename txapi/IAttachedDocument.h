#pragma once

#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {


// A document attached to a specification entry.
class IAttachedDocument : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"f79be5cf-7fde-46cd-9ff3-5a66f13969c6"};

protected:
  ~IAttachedDocument() = default;
};

} // namespace txapi
