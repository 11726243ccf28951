#pragma once

#include <string>

#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

class ITextLine;

// A text made of lines, each line of items.
class IText : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"8b439a83-c709-47a8-8df9-500b534edd6a"};

  // A new last line; empty when the host makes none.
  virtual SmartPtr<ITextLine> AddLine() = 0;
  // Replaces the whole text by one line holding text.
  virtual void SetString(const std::wstring& text) = 0;

protected:
  ~IText() = default;
};

} // namespace txapi
