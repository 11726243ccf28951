#pragma once

#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

class ITavrixAPIObject;
class IUserDataStorages;

// The user-data storages of a document and its objects.
class IUserDataStoragesMng : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"44c833a6-560a-4445-bd9c-b46e34724c82"};

  // The storages of the object; the document's own for an empty one.
  virtual SmartPtr<IUserDataStorages> GetStorages(const SmartPtr<ITavrixAPIObject>& object) = 0;
  // With the flag false the document's own storages; with true the host's choice of an object's.
  virtual SmartPtr<IUserDataStorages> GetStorages(bool ofObject) = 0;

protected:
  ~IUserDataStoragesMng() = default;
};

} // namespace txapi
