#pragma once

#include <string>

#include "txapi/Enums.h"
#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

// A body taken over from a part file.
class IBilletObsolete : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"3b02a158-8479-4b62-9795-bcc65224f678"};

  virtual std::wstring GetFileName() = 0;
  virtual bool GetMirror() = 0;

protected:
  ~IBilletObsolete() = default;
};

} // namespace txapi
