#pragma once

#include <string>

#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

class IUserDataStorage;

// The user-data storages of a document or of one of its objects.
class IUserDataStorages : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"4069cff9-8aee-4760-ac50-73d8c563b954"};

  // The named storage, made when there is none.
  virtual SmartPtr<IUserDataStorage> Open(const std::wstring& name) = 0;
  // The named storage; empty when there is none.
  virtual SmartPtr<IUserDataStorage> Find(const std::wstring& name) = 0;

protected:
  ~IUserDataStorages() = default;
};

} // namespace txapi
