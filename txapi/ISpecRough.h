#pragma once

#include <string>
#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

// The roughness sign a drawing keeps in the corner of its sheet.
class ISpecRough : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"880e0b93-91ac-4da2-9626-0733a35b6ece"};

  virtual void SetCode(int code) = 0;
  virtual void SetText(const std::wstring& text) = 0;
  virtual void SetFirstSwitch(bool on) = 0;
  virtual void SetSecondSwitch(bool on) = 0;
  // Applies what was set; false when the host refuses.
  virtual bool Update() = 0;

protected:
  ~ISpecRough() = default;
};

} // namespace txapi
