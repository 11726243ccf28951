#pragma once

#include <string>
#include <vector>

#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"
#include "txapi/StorageValue.h"

namespace txapi {

class ITavrixAPIObject;

// One named storage of user data: values by key under a parent path.
class IUserDataStorage : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"c1b89c46-d385-47b5-b8f1-6fc7b2035f8e"};

  // The value's index; -1 when it is not added (the key is taken).
  virtual int AddValue(const std::wstring& parent, const std::wstring& key, const StorageValue& value,
                       const std::wstring& name) = 0;
  // Non-zero when the key's value was replaced.
  virtual int SetValue(const std::wstring& parent, const StorageValue& value, const std::wstring& key) = 0;
  // -1 when the list is not stored (no such key).
  virtual int SetObjects(const std::wstring& parent, const std::vector<SmartPtr<ITavrixAPIObject>>& objects,
                         const std::wstring& key) = 0;
  // Non-zero when the list was added.
  virtual int AddObjects(const std::wstring& parent, const std::wstring& key,
                         const std::vector<SmartPtr<ITavrixAPIObject>>& objects, const std::wstring& name) = 0;
  virtual bool GetValue(const std::wstring& key, StorageValue& value) = 0;
  virtual bool GetObjects(const std::wstring& key, std::vector<SmartPtr<ITavrixAPIObject>>& objects) = 0;

protected:
  ~IUserDataStorage() = default;
};

} // namespace txapi
