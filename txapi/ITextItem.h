#pragma once

#include <string>

#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

// A run of characters of a text line; its font is its ITextFont view.
class ITextItem : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"a031ab0c-eac4-4151-8e64-15bb52390b87"};

  virtual void SetText(const std::wstring& text) = 0;
  // Applies what was set; false when the host refuses.
  virtual bool Update() = 0;

protected:
  ~ITextItem() = default;
};

} // namespace txapi
