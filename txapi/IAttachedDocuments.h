#pragma once

#include <string>

#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

class IAttachedDocument;

// The documents attached to a specification entry.
class IAttachedDocuments : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"0e4dcaf6-87e1-44f0-9177-d86d30c47d8a"};

  virtual SmartPtr<IAttachedDocument> Add(const std::wstring& path, int flag) = 0;

protected:
  ~IAttachedDocuments() = default;
};

} // namespace txapi
