#pragma once

#include <string>

#include "txapi/Enums.h"
#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

// An object of a library in a part's model tree; its library through IUserParameters.
class IUserObject3D : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"9cd40015-acec-4985-a37b-ea6717d3b74e"};

  // The identifier of the library's object type.
  virtual void SetObjectTypeId(const std::wstring& id) = 0;
  virtual std::wstring GetObjectTypeId() = 0;

protected:
  ~IUserObject3D() = default;
};

} // namespace txapi
