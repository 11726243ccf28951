#pragma once

#include "txapi/IAPIObject.h"

namespace txapi {

// A cut line of a drawing, with its designation.
// Its operations come with the operations that make it.
class ICutLine : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"fde8dd09-f8bf-4dbe-a4e0-da0e9c3cae41"};

protected:
  ~ICutLine() = default;
};

} // namespace txapi
