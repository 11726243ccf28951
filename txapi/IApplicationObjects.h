#pragma once

#include <string>

#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

class IAttrTypeMng;

// The application's service objects.
class IApplicationObjects : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"a0e28431-e796-462d-a0d1-c4d66d787cb9"};

  // The attribute types seen from a library (empty name: every library's).
  virtual SmartPtr<IAttrTypeMng> GetAttrTypeMng(const std::wstring& library) = 0;
  // The application's object of a kind (1: the property manager); empty for an unknown kind.
  virtual SmartPtr<IAPIObject> GetApplicationObject(int kind) = 0;

protected:
  ~IApplicationObjects() = default;
};

} // namespace txapi
