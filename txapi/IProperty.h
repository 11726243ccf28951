#pragma once

#include <string>
#include <vector>

#include "txapi/IAPIObject.h"

namespace txapi {

// One property of the application's property manager, written into the active document on Update.
class IProperty : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"5d089742-e305-4034-a0ff-25c2ff5281ff"};

  virtual void SetTexts(const std::vector<std::wstring>& texts) = 0;
  virtual void SetLocation(const std::wstring& location) = 0;
  virtual void SetNumbers(const std::vector<double>& numbers) = 0;
  // False when there is no active document keeping properties.
  virtual bool Update() = 0;

protected:
  ~IProperty() = default;
};

} // namespace txapi
