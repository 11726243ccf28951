#pragma once

#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

// How a document is opened: the host's defaults unless changed.
class IOpenDocumentParam : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"e4c53802-c37d-4de6-8124-618aa656a5cc"};

  virtual bool GetVisible() = 0;

protected:
  ~IOpenDocumentParam() = default;
};

} // namespace txapi
